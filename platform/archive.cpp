#include "archive.h"

#include "dialog_texts.h"
#include "files.h"
#include "text.h"

#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>

static_assert(std::endian::native == std::endian::little,
              "the archive layout is little-endian and this build assumes a little-endian host");

namespace wv {

CArchive::CArchive() : m_mode(store) {}

CArchive::CArchive(std::vector<std::uint8_t> bytes) : m_mode(load), m_data(std::move(bytes)) {}

CArchive CArchive::ForLoadingFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string err;
    if (!ReadWholeFile(path, bytes, &err)) throw ArchiveError(err);
    return CArchive(std::move(bytes));
}

template <class T>
void CArchive::Put(T v) {
    std::uint8_t raw[sizeof(T)];
    std::memcpy(raw, &v, sizeof(T));
    m_data.insert(m_data.end(), raw, raw + sizeof(T));
}

template <class T>
T CArchive::Get() {
    Need(sizeof(T));
    T v;
    std::memcpy(&v, m_data.data() + m_pos, sizeof(T));
    m_pos += sizeof(T);
    return v;
}

void CArchive::Need(std::size_t n) const {
    if (m_mode != load) throw ArchiveError(msg::kArchiveNotForReading);
    if (n > m_data.size() - m_pos) throw ArchiveError(msg::kArchiveEnd);
}

CArchive& CArchive::operator<<(std::int32_t v) { Put(v); return *this; }
CArchive& CArchive::operator<<(std::uint32_t v) { Put(v); return *this; }
CArchive& CArchive::operator<<(std::int16_t v) { Put(v); return *this; }
CArchive& CArchive::operator<<(std::uint16_t v) { Put(v); return *this; }
CArchive& CArchive::operator<<(std::uint8_t v) { Put(v); return *this; }
CArchive& CArchive::operator<<(float v) { Put(v); return *this; }
CArchive& CArchive::operator<<(double v) { Put(v); return *this; }

CArchive& CArchive::operator>>(std::int32_t& v) { v = Get<std::int32_t>(); return *this; }
CArchive& CArchive::operator>>(std::uint32_t& v) { v = Get<std::uint32_t>(); return *this; }
CArchive& CArchive::operator>>(std::int16_t& v) { v = Get<std::int16_t>(); return *this; }
CArchive& CArchive::operator>>(std::uint16_t& v) { v = Get<std::uint16_t>(); return *this; }
CArchive& CArchive::operator>>(std::uint8_t& v) { v = Get<std::uint8_t>(); return *this; }
CArchive& CArchive::operator>>(float& v) { v = Get<float>(); return *this; }
CArchive& CArchive::operator>>(double& v) { v = Get<double>(); return *this; }

void CArchive::WriteBytes(const void* data, std::size_t n) {
    auto p = static_cast<const std::uint8_t*>(data);
    m_data.insert(m_data.end(), p, p + n);
}

void CArchive::ReadBytes(void* data, std::size_t n) {
    Need(n);
    std::memcpy(data, m_data.data() + m_pos, n);
    m_pos += n;
}

void CArchive::WriteString(const std::string& bytes) {
    const std::size_t n = bytes.size();
    if (n < 0xFF) {
        Put<std::uint8_t>(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
        Put<std::uint8_t>(0xFF);
        Put<std::uint16_t>(static_cast<std::uint16_t>(n));
    } else {
        Put<std::uint8_t>(0xFF);
        Put<std::uint16_t>(0xFFFF);
        Put<std::uint32_t>(static_cast<std::uint32_t>(n));
    }
    WriteBytes(bytes.data(), n);
}

std::string CArchive::ReadString() {
    std::uint32_t n = Get<std::uint8_t>();
    if (n == 0xFF) {
        n = Get<std::uint16_t>();
        // In the MFC layout this value announces a Unicode string, which this system
        // never writes: only a damaged file has it.
        if (n == 0xFFFE) throw ArchiveError(msg::kArchiveBadString);
        if (n == 0xFFFF) n = Get<std::uint32_t>();
    }
    Need(n);
    std::string s(reinterpret_cast<const char*>(m_data.data() + m_pos), n);
    m_pos += n;
    return s;
}

void CArchive::CheckCount(std::int64_t count, std::int64_t maxCount, std::size_t minBytesEach,
                          const char* what) const {
    if (count < 0 || count > maxCount)
        throw ArchiveError(Sprintf(msg::kArchiveBadCount, what, static_cast<long long>(count)));
    if (minBytesEach > 0 &&
        static_cast<std::uint64_t>(count) > (m_data.size() - m_pos) / minBytesEach)
        throw ArchiveError(Sprintf(msg::kArchiveEndIn, what));
}

void CArchive::CheckRange(std::int64_t value, std::int64_t lo, std::int64_t hi, const char* what) {
    if (value < lo || value > hi)
        throw ArchiveError(Sprintf(msg::kArchiveBadValue, what, static_cast<long long>(value)));
}

void CArchive::SaveToFile(const std::string& path) const {
    std::string err;
    if (!AtomicWriteFile(path, m_data.data(), m_data.size(), &err)) throw std::runtime_error(err);
}

}  // namespace wv
