// Land blocks in the depth calculation: the closed outline of each block, traced along
// the terrain lines round its reference point and closed along the area border where the
// lines leave the area, and the nodes inside it marked as land before any depth is
// interpolated.
#pragma once

#include "calc/depth_grid.h"
#include "core/point.h"

#include <functional>
#include <string>
#include <vector>

namespace wv {

class CBlkXY;
class CLine;
class CSokuten;
class CBlock;
class ParallelRunner;
class PhaseProgress;
class TimeCheck;

enum class OutlineStatus {
    Traced,         // a closed outline
    NoTerrainLine,  // the project has no terrain line: no outline, no land
    MissesArea,     // the open chain never meets the area: no outline, no land
    WalkLoops,      // the walk ran in a circle without closing: skipped and reported
    EndInside,      // an open chain ends inside the area: skipped and reported
};

// A block that gets no land although it has terrain lines to follow, for the report to
// the user.
struct BlockIssue {
    int block = -1;
    OutlineStatus status = OutlineStatus::Traced;
};

// Vertices in the view frame of the grid, closed (the last repeats the first).
struct BlockOutline {
    OutlineStatus status = OutlineStatus::NoTerrainLine;
    std::vector<CPointD> vertices;
};

// Traces the outline of the block whose reference point is `ref` (world), walking the
// terrain lines through the survey points' line links (rebuilt with the terrain filter
// beforehand). Every walk is bounded: one that would run along a line a second time in
// the same direction, or for more steps than the line table could give, stops.
BlockOutline TraceBlockOutline(const CPointD& ref, const DepthGrid& grid, const CLine& lines,
                               const CSokuten& points);

// The side of the area rectangle (corners a = (xmax, ymax), b = (xmin, ymin)) on which p
// lies, within 0.0001: 0 the xmin side from ymin up, 1 the ymax side from xmin, 2 the
// xmax side from ymax down, 3 the ymin side from xmax; *distance is how far p lies from
// the side's start. -1 when p lies on none (the distance is that of side 3).
int GetBorderEdge(const CPointD& a, const CPointD& b, const CPointD& p, double* distance);

struct OutlineBox {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
};
OutlineBox BoundingBox(const std::vector<CPointD>& vertices);

// Marks as land (-9999.0) every node of the work grid V (rows from the far side) that
// lies in the outline's box, is not land yet, and is not clearly outside the outline.
// `rowsDone(n)` reports n more rows and stops the marking when it returns false. Result:
// the number of nodes tested, or -1 when cancelled.
//
// The exact marking asks the winding-angle test for every such node. The scanline
// marking counts the outline's crossings of each row instead and asks the winding-angle
// test only for nodes so close to an edge that the count could differ from it; it marks
// the same nodes.
long long MarkLandExact(const std::vector<CPointD>& outline, const OutlineBox& box,
                        const DepthGrid& grid, std::vector<double>& V,
                        const std::function<bool(int)>& rowsDone);
long long MarkLandScanline(const std::vector<CPointD>& outline, const OutlineBox& box,
                           const DepthGrid& grid, std::vector<double>& V, ParallelRunner& runner,
                           const std::function<bool(int)>& rowsDone);

// The block phase of the depth calculation: every block's outline into `blkXY` (world
// coordinates) and its nodes marked in V. With `runner` the scanline marking runs on its
// threads; without, the exact marking. Blocks skipped for a bad walk are added to
// `issues`. False when the user cancelled.
bool RunBlockPhase(const DepthGrid& grid, const CBlock& blocks, const CLine& lines,
                   const CSokuten& points, CBlkXY& blkXY, std::vector<double>& V,
                   PhaseProgress& progress, TimeCheck& timeCheck, ParallelRunner* runner,
                   std::vector<BlockIssue>& issues);

}  // namespace wv
