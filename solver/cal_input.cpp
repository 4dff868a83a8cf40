#include "solver/cal_input.h"

#include "platform/fixed_format.h"
#include "platform/large_memory.h"
#include "platform/text.h"
#include "solver/solver_constants.h"
#include "solver/solver_messages.h"
#include "solver/incident_waves.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

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
    // reading them. With `starts`, the text from the first of every `every` records.
    long long Remaining(long long limit, std::vector<std::string_view>* starts = nullptr,
                        long long every = 1) const {
        long long n = 0;
        std::size_t pos = m_pos;
        while (n < limit && pos < m_text.size()) {
            if (starts && n % every == 0) starts->push_back(m_text.substr(pos));
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

// Depth records first..first+count-1 (0-based) from `text`, which begins with the first:
// their values, or the first refused, as `bad` (its index) and `what`.
struct DepthChunk {
    long long first = 0;
    long long count = 0;
    std::string_view text;
    long long bad = -1;
    enum class What { NotNumeric, DoesNotFit } what = What::NotNumeric;
    double value = 0.0;
};

void ReadDepths(DepthChunk& c, double* depth) {
    RecordSource src(c.text);
    std::string_view line;
    for (long long n = 0; n < c.count; ++n) {
        src.Next(line);  // present: the records were counted
        FixedReader r(line);
        double v = 0.0;
        if (!r.ReadReal(10, v)) {
            c.bad = c.first + n;
            c.what = DepthChunk::What::NotNumeric;
            return;
        }
        if (!FitsF103(v)) {
            c.bad = c.first + n;
            c.what = DepthChunk::What::DoesNotFit;
            c.value = v;
            return;
        }
        depth[n] = v;
    }
}

// Below this many records a second thread costs more than it saves.
constexpr long long kDepthsPerThread = 1 << 16;

bool ReadCalInput(std::string_view text, const RequestDims& dims, CalInput& in, std::string& detail, int threads) {
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
    const long long chunks =
        std::max(1LL, std::min<long long>(std::max(threads, 1), count / kDepthsPerThread));
    const long long perChunk = std::max(1LL, (count + chunks - 1) / chunks);
    std::vector<std::string_view> starts;
    if (const long long present = src.Remaining(count, &starts, perChunk); present < count) {
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
    std::vector<DepthChunk> parts(starts.size());
    for (std::size_t c = 0; c < parts.size(); ++c) {
        parts[c].first = static_cast<long long>(c) * perChunk;
        parts[c].count = std::min(perChunk, count - parts[c].first);
        parts[c].text = starts[c];
    }
    {
        std::vector<std::thread> helpers;
        try {
            for (std::size_t c = 1; c < parts.size(); ++c)
                helpers.emplace_back(ReadDepths, std::ref(parts[c]), &in.depth[static_cast<std::size_t>(parts[c].first)]);
        } catch (const std::system_error&) {
            // Without another thread the rest is read here.
        }
        if (!parts.empty()) ReadDepths(parts[0], in.depth.data());
        for (std::size_t c = helpers.size() + 1; c < parts.size(); ++c)
            ReadDepths(parts[c], &in.depth[static_cast<std::size_t>(parts[c].first)]);
        for (std::thread& t : helpers) t.join();
    }
    // The first refused record in file order, as a single pass meets it.
    for (const DepthChunk& c : parts) {
        if (c.bad < 0) continue;
        const int number = src.Number() + static_cast<int>(c.bad) + 1;
        detail = c.what == DepthChunk::What::NotNumeric ? Sprintf(msg::kDetailNotNumeric, number, msg::kFieldDepth)
                                                        : Sprintf(msg::kDetailDepthField, number, c.value);
        in.depth.clear();
        return false;
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
