// Binary archive with the byte layout of the Windows program's files: little-endian,
// 4-byte int/UINT/BOOL, 2-byte short/WORD, IEEE float and double, and strings with the
// MFC length prefix. Records write their fields in order with no padding; a file is
// read whole into memory first, so a failed load never touches the caller's data and
// a store is written to disk in one atomic step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace wv {

// Raised for reading past the end of the data or for a count or index that the data
// cannot hold. The message is for the user; the owner adds the file name.
class ArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CArchive {
public:
    enum Mode { store, load };

    // A storing archive that collects bytes in memory.
    CArchive();
    // A loading archive over bytes already read from a file.
    explicit CArchive(std::vector<std::uint8_t> bytes);

    static CArchive ForLoadingFile(const std::string& path);  // throws ArchiveError

    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }

    // Storing.
    CArchive& operator<<(std::int32_t v);
    CArchive& operator<<(std::uint32_t v);
    CArchive& operator<<(std::int16_t v);
    CArchive& operator<<(std::uint16_t v);
    CArchive& operator<<(std::uint8_t v);
    CArchive& operator<<(float v);
    CArchive& operator<<(double v);
    // A string of code-page bytes (CP932) with the MFC length prefix.
    void WriteString(const std::string& bytes);
    void WriteBytes(const void* data, std::size_t n);

    // Loading. Each throws ArchiveError past the end.
    CArchive& operator>>(std::int32_t& v);
    CArchive& operator>>(std::uint32_t& v);
    CArchive& operator>>(std::int16_t& v);
    CArchive& operator>>(std::uint16_t& v);
    CArchive& operator>>(std::uint8_t& v);
    CArchive& operator>>(float& v);
    CArchive& operator>>(double& v);
    std::string ReadString();
    void ReadBytes(void* data, std::size_t n);

    // Symmetric helper for records whose Serialize reads and writes the same fields.
    template <class T>
    void Exchange(T& v) {
        if (IsStoring()) *this << v; else *this >> v;
    }
    void ExchangeString(std::string& s) {
        if (IsStoring()) WriteString(s); else s = ReadString();
    }

    // Checks a count read from the file before anything is allocated for it: it must
    // lie in [0, maxCount] and `count` elements of at least `minBytesEach` bytes must
    // still fit in what is left. Throws ArchiveError naming `what` otherwise.
    void CheckCount(std::int64_t count, std::int64_t maxCount, std::size_t minBytesEach,
                    const char* what) const;
    // Throws ArchiveError naming `what` unless lo <= value <= hi.
    static void CheckRange(std::int64_t value, std::int64_t lo, std::int64_t hi, const char* what);

    std::size_t Remaining() const { return m_data.size() - m_pos; }
    std::size_t Position() const { return m_pos; }
    bool AtEnd() const { return m_pos == m_data.size(); }

    // The bytes stored so far (storing archive) or the whole input (loading archive).
    const std::vector<std::uint8_t>& Bytes() const { return m_data; }
    // Writes the stored bytes to `path` atomically. Throws std::runtime_error on failure.
    void SaveToFile(const std::string& path) const;

private:
    void Need(std::size_t n) const;
    template <class T> void Put(T v);
    template <class T> T Get();

    Mode m_mode;
    std::vector<std::uint8_t> m_data;
    std::size_t m_pos = 0;
};

}  // namespace wv
