// Crossings of the grid lines with the terrain, depth and auxiliary lines of the project.
#pragma once

#include "calc/depth_grid.h"
#include "calc/grid_interp.h"
#include "core/point.h"

#include <functional>
#include <vector>

namespace wv {

class CLine;
class CSokuten;
class ParallelRunner;

// Height of the crossing of a boundary line (terrain or auxiliary line marked "boundary
// valid"): above any tide level in use, so interpolation never reaches across it.
inline constexpr double kDryCrossing = 99.0;

// A line of the project that gives crossings, with what the crossings take from it.
struct DepthLine {
    int slot = -1;
    CPointD start, end;  // world
    double startHeight = 0.0;  // heights of the survey points at its ends
    double endHeight = 0.0;
    double depth = 0.0;  // the line's own height (depth lines)
    int kind = 0;
    int heightType = 0;
};

// The lines in use that the depth calculation uses, in slot order: terrain lines other
// than "boundary invalid", depth lines and auxiliary lines. Lines of another kind, lines
// whose end points are not survey points in use, and lines with a coordinate that is not
// a finite number give no crossings.
std::vector<DepthLine> CollectDepthLines(const CLine& lines, const CSokuten& points);

// The crossings of one grid line, in the order found.
struct GridLineCrossings {
    std::vector<double> pos;
    std::vector<double> val;
    int Count() const { return static_cast<int>(pos.size()); }
};

// Pass 1 of the crossing search: does a line whose turned ends lie at `across`
// coordinates sc and ec touch the grid line at Y?
inline bool TouchesGridLine(double sc, double ec, double Y) {
    constexpr double tol = 1e-10;
    if (sc < Y - tol && ec < Y - tol) return false;
    if (sc > Y + tol && ec > Y + tol) return false;
    return true;
}

// Pass 2 for one line: appends its crossings with the grid line at Y. (sa, sc) and
// (ea, ec) are its turned start and end as (position along the grid line, coordinate
// across it); for a vertical family the caller has exchanged x' and y'.
void AddLineCrossings(const DepthLine& line, double sa, double sc, double ea, double ec, double Y,
                      GridLineCrossings& out);

// Crossings of every grid line of the eight families, as the straightforward search
// finds them: every line scanned and turned for every grid line. `lineDone` is called
// after each grid line (the progress step) and stops the search when it returns false.
// Indexed by DepthGrid::FirstLine(family) + k.
bool FindCrossingsStraight(const DepthGrid& grid, const std::vector<DepthLine>& lines,
                           const std::function<bool()>& lineDone,
                           std::vector<GridLineCrossings>& out);

// The same crossings, in the same order, found by turning each line once per frame and
// indexing it by the grid lines its ends straddle; each grid line's crossings are sorted
// once. `linesDone(n)` reports n more grid lines done and stops the search when it returns
// false.
bool FindCrossingsIndexed(const DepthGrid& grid, const std::vector<DepthLine>& lines,
                          ParallelRunner& runner, const std::function<bool(int)>& linesDone,
                          std::vector<SortedCrossings>& out);

}  // namespace wv
