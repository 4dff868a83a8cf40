#include "project/digitizer_calib.h"

#include "core/numeric.h"
#include "platform/text.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace wv {

CDigi_Inf g_digiCalib;

void CDigi_Inf::Get(CPointD& world, CPointD& tablet, double& angle, int& scale) const {
    world = m_ptWorld;
    tablet = m_ptTablet;
    angle = m_dAngle;
    scale = m_nScale;
}

void CDigi_Inf::Set(CPointD world, CPointD tablet, double angle, int scale) {
    m_ptWorld = world;
    m_ptTablet = tablet;
    m_dAngle = angle;
    m_nScale = scale < 1 ? 1 : scale;
}

CPointD TabletToWorld(const CDigi_Inf& calib, double x, double y) {
    const double scale = calib.m_nScale < 1 ? 1.0 : calib.m_nScale;
    const double dx = (x - calib.m_ptTablet.m_dX) * 0.1 * 0.001 * scale;
    const double dy = (y - calib.m_ptTablet.m_dY) * 0.1 * 0.001 * scale;
    const double a = calib.m_dAngle * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double wx = calib.m_ptWorld.m_dX + dx * c - dy * s;
    const double wy = calib.m_ptWorld.m_dY + dx * s + dy * c;
    return CPointD(RoundDecimal(wx, 3), RoundDecimal(wy, 3));
}

double TabletTolerance(const CDigi_Inf& calib, double tolTabletMm) {
    const double scale = calib.m_nScale < 1 ? 1.0 : calib.m_nScale;
    return tolTabletMm * 0.001 * scale;
}

double ReferenceAngle(CPointD left, CPointD right) {
    return std::atan2(left.m_dX - right.m_dX, left.m_dY - right.m_dY) * 180.0 / std::numbers::pi + 90.0;
}

namespace {

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// A whole field as a number, in the Windows runtime's reading (no "inf", "nan", hex).
bool WholeDouble(const std::string& field, double& out) {
    const std::string t = Trim(field);
    if (t.empty()) return false;
    std::size_t used = 0;
    out = WinAtof(t, &used);
    return used == t.size() && std::isfinite(out);
}

bool WholeInt(const std::string& field, int& out) {
    const std::string t = Trim(field);
    std::size_t i = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
    if (i == t.size() || t.size() > 11) return false;
    for (std::size_t k = i; k < t.size(); ++k)
        if (t[k] < '0' || t[k] > '9') return false;
    const long long v = std::strtoll(t.c_str(), nullptr, 10);
    if (v < INT32_MIN || v > INT32_MAX) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

bool ParseDigitizerRecord(const std::string& line, DigitizerRecord& out) {
    if (line.find('\0') != std::string::npos) return false;
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    DigitizerRecord r;
    if (fields.size() != 3 || !WholeDouble(fields[0], r.x) || !WholeDouble(fields[1], r.y) ||
        !WholeInt(fields[2], r.button))
        return false;
    out = r;
    return true;
}

std::vector<DigitizerRecord> DigitizerFramer::Feed(const std::string& bytes) {
    std::vector<DigitizerRecord> records;
    m_buffer += bytes;
    if (m_buffer.size() < kMinBytes) return records;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = m_buffer.find_first_of("\r\n", start);
        if (end == std::string::npos) break;
        // A line too long for a record is noise whether it came in one read or in many;
        // otherwise how the port split the bytes would decide what becomes a point.
        if (!m_discarding && end > start && end - start <= kMaxLine) {
            DigitizerRecord r;
            if (ParseDigitizerRecord(m_buffer.substr(start, end - start), r)) records.push_back(r);
        }
        m_discarding = false;
        start = end + 1;
    }
    m_buffer.erase(0, start);
    if (m_buffer.size() > kMaxLine) {
        m_buffer.clear();
        m_discarding = true;
    }
    return records;
}

void DigitizerFramer::Clear() {
    m_buffer.clear();
    m_discarding = false;
}

}  // namespace wv
