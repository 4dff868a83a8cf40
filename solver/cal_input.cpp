#include "solver/cal_input.h"

#include "platform/fixed_format.h"
#include "platform/large_memory.h"
#include "platform/text.h"
#include "solver/solver_constants.h"
#include "solver/solver_messages.h"
#include "solver/incident_waves.h"

#include <cmath>

namespace wv::solv {

namespace {

constexpr int kHeaderRecords = 13;

// True when the value can be written as F10.3 without asterisks.
bool FitsF103(double v) {
    if (v > -99999.0 && v < 999999.0) return true;
    return FormatF(v, 10, 3).front() != '*';
}

class RecordSource {
public:
    explicit RecordSource(std::string_view text) : m_text(text) {}

    // The next record without its line end; false at the end of the text.
    bool Next(std::string_view& line) {
        if (m_pos >= m_text.size()) return false;
        std::size_t nl = m_text.find('\n', m_pos);
        std::size_t end = nl == std::string_view::npos ? m_text.size() : nl;
        line = m_text.substr(m_pos, end - m_pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        m_pos = nl == std::string_view::npos ? m_text.size() : nl + 1;
        ++m_number;
        return true;
    }
    int Number() const { return m_number; }
    // Records left, counted up to `limit` (what the caller needs to know), without
    // reading them.
    long long Remaining(long long limit) const {
        long long n = 0;
        std::size_t pos = m_pos;
        while (n < limit && pos < m_text.size()) {
            const std::size_t nl = m_text.find('\n', pos);
            ++n;
            if (nl == std::string_view::npos) break;
            pos = nl + 1;
        }
        return n;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_number = 0;
};

}  // namespace

bool ReadCalInput(std::string_view text, const RequestDims& dims, CalInput& in, std::string& detail) {
    in = CalInput{};
    RecordSource src(text);
    std::string_view line;
    bool ok = true;
    const char* badField = nullptr;
    int badRecord = 0;

    // Header records, each with its field list.
    for (int rec = 1; rec <= kHeaderRecords; ++rec) {
        if (!src.Next(line)) {
            detail = Sprintf(msg::kDetailMissingRecord, rec);
            return false;
        }
        FixedReader r(line);
        const char* field = nullptr;
        switch (rec) {
        case 1: ok = r.ReadInt(5, in.outputSelection); field = msg::kFieldOutput; break;
        case 2: ok = r.ReadInt(5, in.breaking); field = msg::kFieldBreaking; break;
        case 3: ok = r.ReadInt(5, in.lateralOption); field = msg::kFieldLateral; break;
        case 4: ok = r.ReadInt(5, in.dumpSwitch); field = msg::kFieldDump; break;
        case 5: ok = r.ReadInt(5, in.nd); field = msg::kFieldDirDiv; break;
        case 6: ok = r.ReadReal(5, in.smax); field = msg::kFieldSmax; break;
        case 7:
            ok = r.ReadReal(10, in.rangeBelowDeg);
            ok = r.ReadReal(10, in.rangeAboveDeg) && ok;
            field = msg::kFieldDirRange;
            break;
        case 8: ok = r.ReadInt(5, in.nf); field = msg::kFieldFreqDiv; break;
        case 9:
            ok = r.ReadInt(5, in.nx);
            ok = r.ReadInt(5, in.ny) && ok;
            field = msg::kFieldMeshCount;
            break;
        case 10:
            ok = r.ReadReal(10, in.dx);
            ok = r.ReadReal(10, in.dy) && ok;
            field = msg::kFieldSpacing;
            break;
        case 11:
            ok = r.ReadReal(10, in.x0);
            ok = r.ReadReal(10, in.y0) && ok;
            field = msg::kFieldOrigin;
            break;
        case 12:
            ok = r.ReadReal(10, in.period);
            ok = r.ReadReal(10, in.height) && ok;
            field = msg::kFieldWave;
            break;
        case 13:
            ok = r.ReadReal(10, in.theta0Deg);
            ok = r.ReadReal(10, in.secondDirection) && ok;
            field = msg::kFieldDirection;
            break;
        }
        if (!ok) {
            badField = field;
            badRecord = rec;
            break;
        }
    }
    if (badField) {
        detail = Sprintf(msg::kDetailNotNumeric, badRecord, badField);
        return false;
    }

    // The header against the request and against itself, before any depth is read.
    if (in.nd != dims.nd) {
        detail = Sprintf(msg::kDetailDirMismatch, in.nd, dims.nd);
        return false;
    }
    if (in.nf != dims.nf) {
        detail = Sprintf(msg::kDetailFreqMismatch, in.nf, dims.nf);
        return false;
    }
    if (in.nx < 0 || in.ny < 1) {
        detail = Sprintf(msg::kDetailMeshNegative, in.nx, in.ny);
        return false;
    }
    // A column's system needs one spare row of storage beyond NY (the solver's halo).
    if (in.nx > dims.nxp || in.ny > dims.nyp - 1) {
        detail = Sprintf(msg::kDetailMeshTooLarge, in.nx, in.ny, dims.nxp, dims.nyp - 1);
        return false;
    }
    if (in.nd < 3) {
        detail = Sprintf(msg::kDetailFewDirections, in.nd);
        return false;
    }
    if (in.nf < 1) {
        detail = Sprintf(msg::kDetailFewFrequencies, in.nf);
        return false;
    }
    if (!(in.period > 0.0)) {
        detail = Sprintf(msg::kDetailPeriod, in.period);
        return false;
    }
    if (!(in.height >= 0.0)) {
        detail = Sprintf(msg::kDetailHeight, in.height);
        return false;
    }
    if (!std::isfinite(0.257 * in.height * in.height)) {
        detail = Sprintf(msg::kDetailHeightTooLarge, in.height);
        return false;
    }
    if (!(in.dx > 0.0) || !(in.dy > 0.0)) {
        detail = Sprintf(msg::kDetailSpacing, in.dx, in.dy);
        return false;
    }
    // The depth records are counted before anything is built or stored for them: a
    // header alone can announce billions of nodes.
    const long long count = static_cast<long long>(in.nx) * in.ny;
    if (const long long present = src.Remaining(count); present < count) {
        detail = Sprintf(msg::kDetailMissingDepths, count, present);
        return false;
    }
    {
        const SpectrumInput s = SpectrumInputOf(in);
        IncidentSpectrum spectrum;
        if (!BuildIncidentSpectrum(s, spectrum)) {
            detail = Sprintf(msg::kDetailDirectionRange, in.theta0Deg, in.rangeBelowDeg, in.rangeAboveDeg);
            return false;
        }
    }
    const double xLast = (in.nx > 0 ? in.nx - 1 : 0) * in.dx + in.x0;
    const double yLast = (in.ny - 1) * in.dy + in.y0;
    if (!FitsF103(in.x0) || !FitsF103(in.y0) || !FitsF103(xLast) || !FitsF103(yLast)) {
        detail = msg::kDetailCoordinates;
        return false;
    }

    AssignLarge(in.depth, static_cast<std::size_t>(count));
    for (long long n = 0; n < count; ++n) {
        if (!src.Next(line)) {
            detail = Sprintf(msg::kDetailMissingDepths, count, n);
            in.depth.clear();
            return false;
        }
        FixedReader r(line);
        double v = 0.0;
        if (!r.ReadReal(10, v)) {
            detail = Sprintf(msg::kDetailNotNumeric, src.Number(), msg::kFieldDepth);
            in.depth.clear();
            return false;
        }
        if (!FitsF103(v)) {
            detail = Sprintf(msg::kDetailDepthField, src.Number(), v);
            in.depth.clear();
            return false;
        }
        in.depth[static_cast<std::size_t>(n)] = v;
    }
    return true;
}

SpectrumInput SpectrumInputOf(const CalInput& in) {
    SpectrumInput s;
    s.period = in.period;
    s.height = in.height;
    s.theta0 = in.theta0Deg * (kPi / 180.0);
    s.rangeBelow = in.rangeBelowDeg * (kPi / 180.0);
    s.rangeAbove = in.rangeAboveDeg * (kPi / 180.0);
    s.smax = in.smax;
    s.nd = in.nd;
    s.nf = in.nf;
    s.binWidth = kPi / in.nd;
    return s;
}

}  // namespace wv::solv
