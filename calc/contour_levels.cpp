#include "calc/contour_levels.h"

#include "core/contour.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace wv {

namespace {

constexpr double kTol = 0.0001;
// Steps of the ladder walked below the value range, bounded so that a far-off "from"
// cannot keep the program counting for hours.
constexpr long long kMaxLadderSteps = 1000 * kMaxContourLevels;

}  // namespace

ContourLevelList BuildContourLevels(const CContPara& para, double lo, double hi) {
    ContourLevelList out;
    double from = para.GetFrom();
    double to = para.GetTo();
    const double interval = para.GetInterval();
    if (from > to) std::swap(from, to);

    out.ladderUsable = std::isfinite(from) && std::isfinite(to) && std::isfinite(interval) && interval > 0.0;
    if (out.ladderUsable) {
        long long steps = 0;
        // The ladder is built by repeated addition, as the levels have always been: the
        // last bits of a level depend on it, and so do the files that store them.
        for (double v = from; v < to + kTol;) {
            if (v < lo - kTol) {
                // below the values: skipped
            } else if (v > hi + kTol) {
                break;
            } else {
                out.levels.push_back(v);
                if (static_cast<long long>(out.levels.size()) > kMaxContourLevels) {
                    out.tooMany = true;
                    return out;
                }
            }
            const double next = v + interval;
            if (next == v) {
                // The interval no longer moves the level: the ladder would never end.
                out.ladderUsable = false;
                out.levels.clear();
                break;
            }
            v = next;
            if (++steps > kMaxLadderSteps) {
                out.tooMany = true;
                return out;
            }
        }
    }

    const double* extra = para.GetLevels();
    const long long held = static_cast<long long>(para.GetLevelsHeld());
    const long long n = std::min<long long>(para.GetLevelCount(), extra ? held : 0);
    for (long long i = 0; i < n; ++i) {
        const double level = extra[i];
        if (!std::isfinite(level)) continue;
        if (level < lo - kTol || level > hi + kTol) continue;
        bool use = true;
        if (out.ladderUsable && level > from - kTol && level < to + kTol)
            use = std::fmod(level - from + 0.000001, interval) >= kTol;  // not on the ladder
        if (!use) continue;
        out.levels.push_back(level);
        if (static_cast<long long>(out.levels.size()) > kMaxContourLevels) {
            out.tooMany = true;
            return out;
        }
    }
    return out;
}

}  // namespace wv
