// The contour levels of one run: the ladder from..to by the interval, then the extra
// levels, each kept only where the figure's values can reach it.
#pragma once

#include <vector>

namespace wv {

class CContPara;

// A run of more levels than this is refused before the earlier contours are touched:
// each level costs a pass over the mesh and the group reserves 100 polylines per level.
inline constexpr long long kMaxContourLevels = 100000;

struct ContourLevelList {
    // Levels in tracing order: the ladder ascending, then the extras in stored order.
    std::vector<double> levels;
    // False when the ladder cannot be walked (interval 0 or below, an interval too small
    // to move the level, a bound or interval that is no number): only extras are used.
    bool ladderUsable = true;
    // More than kMaxContourLevels levels (or ladder steps to walk); `levels` is then
    // incomplete and the run must be refused.
    bool tooMany = false;
};

// Levels of the parameters within the value range [lo, hi], with the tolerance 0.0001 of
// the range and ladder tests. A level that is no number is never used.
ContourLevelList BuildContourLevels(const CContPara& para, double lo, double hi);

}  // namespace wv
