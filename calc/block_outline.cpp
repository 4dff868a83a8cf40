#include "calc/block_outline.h"

#include "calc/parallel.h"
#include "calc/phase_progress.h"
#include "calc/time_check.h"
#include "core/block.h"
#include "core/coord_wnd.h"
#include "core/geometry.h"
#include "core/line.h"
#include "core/sokuten.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace wv {

namespace {

constexpr double kPiValue = 3.141592653589793;
constexpr double kTwoPiValue = 6.283185307179586;
// Terrain lines only (CLine::FindNearestOfKind).
constexpr int kTerrainFilter = 3;
// A point this close to a side of the area lies on it.
constexpr double kOnBorder = 0.0001;
// The border part of an outline runs this far (view units) outside the area, so that
// nodes on the border itself fall inside the outline.
constexpr double kBorderMargin = 1.0;
constexpr double kLand = -9999.0;

double NormalizedAngle(double dy, double dx) {
    double a = std::atan2(dy, dx);
    if (a < 0.0) a += kTwoPiValue;
    return a;
}

enum class WalkEnd { DeadEnd, Closed, Loops };

// Follows terrain lines from point to point through the survey points' line links.
class ChainWalker {
public:
    ChainWalker(const CLine& lines, const CSokuten& points)
        : m_lines(lines), m_points(points),
          m_maxSteps(2LL * std::max(0, lines.GetSlotCount()) + 2) {}

    // Walks on from `cur` (reached from `prev` along `curLine`), appending every point
    // reached to `out`. At a junction it takes the sharpest left turn (`leftmost`) or
    // the sharpest right turn. It stops at a dead end, on reaching `closeAt` (when not
    // -1), or when it would run along a line a second time in the same direction, which
    // means it is going round a circle that does not pass `closeAt`.
    WalkEnd Walk(int prev, int cur, int curLine, bool leftmost, int closeAt, std::vector<int>& out) {
        m_used.assign(static_cast<std::size_t>(std::max(0, m_lines.GetSlotCount())), 0);
        MarkUsed(curLine, prev);
        for (long long steps = 0;; ++steps) {
            if (steps > m_maxSteps) return WalkEnd::Loops;
            const int next = NextLine(prev, cur, curLine, leftmost);
            if (next < 0) return WalkEnd::DeadEnd;
            const CLineZokusei rec = m_lines.GetAt(next);
            const int from = cur;
            const int to = (rec.GetStartIndex() == from) ? rec.GetEndIndex() : rec.GetStartIndex();
            if (!MarkUsed(next, from)) return WalkEnd::Loops;
            prev = from;
            cur = to;
            curLine = next;
            out.push_back(cur);
            if (closeAt >= 0 && cur == closeAt) return WalkEnd::Closed;
        }
    }

    CPointD Pos(int slot) const { return m_points.GetAt(slot).GetPos(); }

private:
    // The line to follow from `cur`, or -1 at a dead end.
    int NextLine(int prev, int cur, int curLine, bool leftmost) const {
        if (cur < 0 || cur >= m_points.GetSlotCount()) return -1;
        const CSokutenZokusei here = m_points.GetAt(cur);
        const int n = std::min(here.GetLineCount(), static_cast<int>(CSokutenZokusei::kMaxLines));
        if (n <= 1) return -1;
        int next = -1;
        if (n == 2) {
            next = (here.GetLine(0) != curLine) ? here.GetLine(0) : here.GetLine(1);
        } else {
            const CPointD c = here.GetPos();
            const CPointD p = Pos(prev);
            double best = leftmost ? -99999.999 : 99999.999;
            for (int i = 0; i < n; ++i) {
                const int cand = here.GetLine(i);
                if (cand == curLine) continue;
                const CLineZokusei rec = m_lines.GetAt(cand);
                const int q = (rec.GetStartIndex() == cur) ? rec.GetEndIndex() : rec.GetStartIndex();
                const CPointD qp = Pos(q);
                // Counter-clockwise from the way back to the candidate's far end: the
                // largest angle is the sharpest left turn, the smallest the sharpest right.
                const double angle = AngleBetween(c.m_dX, c.m_dY, qp.m_dX, qp.m_dY, p.m_dX, p.m_dY);
                if (leftmost ? angle > best : angle < best) {
                    best = angle;
                    next = cand;
                }
            }
        }
        // A stale link (a line freed since, or one that does not end here) ends the walk.
        if (next < 0 || next >= m_lines.GetSlotCount()) return -1;
        const CLineZokusei rec = m_lines.GetAt(next);
        if (rec.GetState() < 0) return -1;
        if (rec.GetStartIndex() != cur && rec.GetEndIndex() != cur) return -1;
        return next;
    }

    // Records that `line` is walked starting at point `from`; false when it was walked
    // that way before.
    bool MarkUsed(int line, int from) {
        if (line < 0 || static_cast<std::size_t>(line) >= m_used.size()) return true;
        const std::uint8_t bit = (m_lines.GetAt(line).GetStartIndex() == from) ? 1 : 2;
        if (m_used[line] & bit) return false;
        m_used[line] |= bit;
        return true;
    }

    const CLine& m_lines;
    const CSokuten& m_points;
    long long m_maxSteps;
    std::vector<std::uint8_t> m_used;
};

CPointD Outward(const CPointD& p, int edge) {
    switch (edge) {
    case 0: return CPointD(p.m_dX - kBorderMargin, p.m_dY);
    case 1: return CPointD(p.m_dX, p.m_dY + kBorderMargin);
    case 2: return CPointD(p.m_dX + kBorderMargin, p.m_dY);
    default: return CPointD(p.m_dX, p.m_dY - kBorderMargin);
    }
}

}  // namespace

int GetBorderEdge(const CPointD& a, const CPointD& b, const CPointD& p, double* distance) {
    const double edges[4][4] = {
        {b.m_dX, b.m_dY, b.m_dX, a.m_dY},
        {b.m_dX, a.m_dY, a.m_dX, a.m_dY},
        {a.m_dX, a.m_dY, a.m_dX, b.m_dY},
        {a.m_dX, b.m_dY, b.m_dX, b.m_dY},
    };
    for (int e = 0; e < 4; ++e) {
        const double* s = edges[e];
        // A side of no length has no foot; its start stands in for it.
        double fx = s[0], fy = s[1];
        ProjectPointOnSegment(s[0], s[1], s[2], s[3], p.m_dX, p.m_dY, &fx, &fy, 0);
        *distance = std::hypot(s[0] - fx, s[1] - fy);
        if (std::hypot(p.m_dX - fx, p.m_dY - fy) < kOnBorder) return e;
    }
    return -1;
}

OutlineBox BoundingBox(const std::vector<CPointD>& v) {
    OutlineBox box;
    if (v.empty()) return box;
    box.minX = box.maxX = v[0].m_dX;
    box.minY = box.maxY = v[0].m_dY;
    for (std::size_t i = 1; i < v.size(); ++i) {
        if (v[i].m_dX < box.minX) box.minX = v[i].m_dX;
        if (v[i].m_dX > box.maxX) box.maxX = v[i].m_dX;
        if (v[i].m_dY < box.minY) box.minY = v[i].m_dY;
        if (v[i].m_dY > box.maxY) box.maxY = v[i].m_dY;
    }
    return box;
}

BlockOutline TraceBlockOutline(const CPointD& ref, const DepthGrid& grid, const CLine& lines,
                               const CSokuten& points) {
    BlockOutline result;
    const int startLine = lines.FindNearestOfKind(ref.m_dX, ref.m_dY, kTerrainFilter);
    if (startLine < 0) {
        result.status = OutlineStatus::NoTerrainLine;
        return result;
    }
    const CLineZokusei L = lines.GetAt(startLine);
    const CPointD S = L.GetStartPos(), E = L.GetEndPos();
    const double a1 = NormalizedAngle(E.m_dY - S.m_dY, E.m_dX - S.m_dX);
    const double a2 = NormalizedAngle(ref.m_dY - S.m_dY, ref.m_dX - S.m_dX);
    const double d = a1 - a2;
    const bool onLeft = (d > 0.0 && d > kPiValue) || (d <= 0.0 && d >= -kPiValue);

    // The chain runs with the reference point on its left.
    std::vector<int> chain;
    chain.push_back(onLeft ? L.GetStartIndex() : L.GetEndIndex());
    chain.push_back(onLeft ? L.GetEndIndex() : L.GetStartIndex());

    ChainWalker walker(lines, points);
    const WalkEnd forward = walker.Walk(chain[0], chain[1], startLine, true, chain[0], chain);
    if (forward == WalkEnd::Loops) {
        result.status = OutlineStatus::WalkLoops;
        return result;
    }
    const bool closed = forward == WalkEnd::Closed;
    if (!closed) {
        std::vector<int> back;
        if (walker.Walk(chain[1], chain[0], startLine, false, -1, back) == WalkEnd::Loops) {
            result.status = OutlineStatus::WalkLoops;
            return result;
        }
        std::vector<int> open(back.rbegin(), back.rend());
        open.insert(open.end(), chain.begin(), chain.end());
        chain.swap(open);
    }

    std::vector<CPointD> pts;
    pts.reserve(chain.size());
    for (int slot : chain) {
        CPointD p = walker.Pos(slot);
        grid.ToFrame(0, p.m_dX, p.m_dY);
        pts.push_back(p);
    }

    if (closed) {
        result.status = OutlineStatus::Traced;
        result.vertices = std::move(pts);
        return result;
    }

    // Open chain: the part inside the area, closed round the border on the reference
    // point's side.
    const double xmin = grid.XMin(), xmax = grid.XMax(), ymin = grid.YMin(), ymax = grid.YMax();
    int first = -1, last = -1;
    CPointD entry, exit;
    for (std::size_t k = 1; k < pts.size(); ++k) {
        double x1 = pts[k - 1].m_dX, y1 = pts[k - 1].m_dY, x2 = pts[k].m_dX, y2 = pts[k].m_dY;
        if (ClipSegmentToRect(&x1, &y1, &x2, &y2, CPointD(xmin, ymin), CPointD(xmax, ymax)) == -1)
            continue;
        if (first < 0) {
            first = static_cast<int>(k);
            entry = CPointD(x1, y1);
        }
        last = static_cast<int>(k);
        exit = CPointD(x2, y2);
    }
    if (first < 0) {
        result.status = OutlineStatus::MissesArea;
        return result;
    }
    const CPointD cornerA(xmax, ymax), cornerB(xmin, ymin);
    double dN = 0.0, dX = 0.0;
    const int eN = GetBorderEdge(cornerA, cornerB, entry, &dN);
    const int eX = GetBorderEdge(cornerA, cornerB, exit, &dX);
    if (eN < 0 || eX < 0) {
        // The chain ends inside the area: there is no border side to close it along.
        result.status = OutlineStatus::EndInside;
        return result;
    }
    int eEnd = eN;
    if (eN == eX && dN < dX) eEnd = eN + 4;
    if (eEnd < eX) eEnd += 4;

    const CPointD corners[8] = {
        {xmin - kBorderMargin, ymax + kBorderMargin}, {xmax + kBorderMargin, ymax + kBorderMargin},
        {xmax + kBorderMargin, ymin - kBorderMargin}, {xmin - kBorderMargin, ymin - kBorderMargin},
        {xmin - kBorderMargin, ymax + kBorderMargin}, {xmax + kBorderMargin, ymax + kBorderMargin},
        {xmax + kBorderMargin, ymin - kBorderMargin}, {xmin - kBorderMargin, ymin - kBorderMargin},
    };
    std::vector<CPointD>& out = result.vertices;
    out.push_back(entry);
    for (int k = first; k <= last - 1; ++k) out.push_back(pts[k]);
    out.push_back(exit);
    out.push_back(Outward(exit, eX));
    for (int e = eX; e < eEnd; ++e) out.push_back(corners[e]);
    out.push_back(Outward(entry, eEnd % 4));
    out.push_back(entry);
    result.status = OutlineStatus::Traced;
    return result;
}

namespace {

std::vector<double> TurnedY(const std::vector<CPointD>& outline) {
    std::vector<double> turned(outline.size());
    for (std::size_t k = 0; k < outline.size(); ++k) turned[k] = CCoordWnd::kTurnY - outline[k].m_dY;
    return turned;
}

bool InBox(double v, double lo, double hi) { return v >= lo && v <= hi; }

}  // namespace

long long MarkLandExact(const std::vector<CPointD>& outline, const OutlineBox& box,
                        const DepthGrid& grid, std::vector<double>& V,
                        const std::function<bool(int)>& rowsDone) {
    const int R = grid.Area().rows, C = grid.Area().cols;
    const int n = static_cast<int>(outline.size());
    const std::vector<double> turned = TurnedY(outline);
    long long tested = 0;
    for (int i = 0; i < R; ++i) {
        if (!rowsDone(1)) return -1;
        const double Y = grid.LineCoord(0, i);
        if (!InBox(Y, box.minY, box.maxY)) continue;
        double* row = V.data() + static_cast<std::size_t>(i) * C;
        for (int j = 0; j < C; ++j) {
            const double X = grid.NodePos(0, i, j);
            if (!InBox(X, box.minX, box.maxX) || !(row[j] > 0.0)) continue;
            ++tested;
            if (!IsOutsidePolygon(X, Y, outline.data(), turned.data(), n - 1, true)) row[j] = kLand;
        }
    }
    return tested;
}

namespace {

struct RowCrossing {
    double x;
    int dir;
};
struct Interval {
    double lo, hi;
};

}  // namespace

long long MarkLandScanline(const std::vector<CPointD>& outline, const OutlineBox& box,
                           const DepthGrid& grid, std::vector<double>& V, ParallelRunner& runner,
                           const std::function<bool(int)>& rowsDone) {
    const int R = grid.Area().rows, C = grid.Area().cols;
    const int n = static_cast<int>(outline.size());
    const std::vector<double> turned = TurnedY(outline);
    const int edges = std::max(0, n - 1);
    for (const CPointD& p : outline) {
        // A vertex that is no number has no side; only the winding angles can judge it.
        if (!std::isfinite(p.m_dX) || !std::isfinite(p.m_dY))
            return MarkLandExact(outline, box, grid, V, rowsDone);
    }

    // Closer to an edge than `near`, a node could be judged differently by the crossing
    // count and by the winding angles: the angles of a node next to an edge approach a
    // half turn, and both methods round. Both errors stay below 1e-14 of the largest
    // coordinate involved (the turned y included), so a band of 1e-8 of it leaves a wide
    // margin; nodes in the band get the winding-angle test itself.
    double magnitude = 1.0;
    auto widen = [&](double x, double y) {
        magnitude = std::max({magnitude, std::fabs(x), std::fabs(y), std::fabs(CCoordWnd::kTurnY - y)});
    };
    for (const CPointD& p : outline) widen(p.m_dX, p.m_dY);
    widen(grid.BaseX(0), grid.BaseY(0));
    widen(grid.NodePos(0, 0, C - 1), grid.LineCoord(0, R - 1));
    const double nearBand = 1e-8 * magnitude;

    // Edges per row whose y' range, widened by the band, reaches the row.
    const double by = grid.BaseY(0), step = grid.Step(0);
    const bool usableStep = step > 0.0 && std::isfinite(step) && std::isfinite(by);
    std::vector<int> rowStart(static_cast<std::size_t>(R) + 1, 0);
    auto rowRange = [&](int e, int* i0, int* i1) {
        const double lo = std::min(outline[e].m_dY, outline[e + 1].m_dY) - nearBand;
        const double hi = std::max(outline[e].m_dY, outline[e + 1].m_dY) + nearBand;
        if (!usableStep || !std::isfinite(lo) || !std::isfinite(hi)) {
            *i0 = 0;
            *i1 = R - 1;
            return;
        }
        const double a = std::floor((lo - by) / step) - 1.0;
        const double b = std::ceil((hi - by) / step) + 1.0;
        *i0 = a < 0.0 ? 0 : (a > R - 1 ? R : static_cast<int>(a));
        *i1 = b < 0.0 ? -1 : (b > R - 1 ? R - 1 : static_cast<int>(b));
    };
    for (int e = 0; e < edges; ++e) {
        int i0, i1;
        rowRange(e, &i0, &i1);
        for (int i = i0; i <= i1; ++i) ++rowStart[i + 1];
    }
    for (int i = 0; i < R; ++i) rowStart[i + 1] += rowStart[i];
    std::vector<int> rowEdges(static_cast<std::size_t>(rowStart[R]));
    {
        std::vector<int> fill(rowStart.begin(), rowStart.end() - 1);
        for (int e = 0; e < edges; ++e) {
            int i0, i1;
            rowRange(e, &i0, &i1);
            for (int i = i0; i <= i1; ++i) rowEdges[fill[i]++] = e;
        }
    }

    std::vector<long long> testedPerRow(static_cast<std::size_t>(R), 0);
    auto markRow = [&](int i) {
        const double Y = grid.LineCoord(0, i);
        if (!InBox(Y, box.minY, box.maxY)) return;
        std::vector<RowCrossing> cross;
        std::vector<Interval> near;
        for (int k = rowStart[i]; k < rowStart[i + 1]; ++k) {
            const int e = rowEdges[k];
            const double x0 = outline[e].m_dX, y0 = outline[e].m_dY;
            const double x1 = outline[e + 1].m_dX, y1 = outline[e + 1].m_dY;
            // Half-open in y', so an outline vertex on the row counts once.
            if ((y0 <= Y && Y < y1) || (y1 <= Y && Y < y0)) {
                const double xc = x0 + (Y - y0) * (x1 - x0) / (y1 - y0);
                cross.push_back({xc, y0 < y1 ? 1 : -1});
            }
            // The part of the edge within the band round the row, widened by the band
            // (twice, to cover the rounding of the clipped ends).
            double xa = x0, xb = x1;
            const double dy = y1 - y0;
            if (std::fabs(dy) > 2.0 * nearBand) {
                double ta = (Y - nearBand - y0) / dy, tb = (Y + nearBand - y0) / dy;
                ta = std::clamp(ta, 0.0, 1.0);
                tb = std::clamp(tb, 0.0, 1.0);
                xa = x0 + ta * (x1 - x0);
                xb = x0 + tb * (x1 - x0);
            }
            if (std::min(y0, y1) - nearBand > Y || std::max(y0, y1) + nearBand < Y) continue;
            near.push_back({std::min(xa, xb) - 2.0 * nearBand, std::max(xa, xb) + 2.0 * nearBand});
        }
        std::sort(cross.begin(), cross.end(), [](const RowCrossing& a, const RowCrossing& b) { return a.x < b.x; });
        std::sort(near.begin(), near.end(), [](const Interval& a, const Interval& b) { return a.lo < b.lo; });
        // Merge overlapping bands, so one pointer walks them.
        std::vector<Interval> merged;
        for (const Interval& iv : near) {
            if (!merged.empty() && iv.lo <= merged.back().hi) merged.back().hi = std::max(merged.back().hi, iv.hi);
            else merged.push_back(iv);
        }
        int total = 0;
        for (const RowCrossing& c : cross) total += c.dir;

        double* row = V.data() + static_cast<std::size_t>(i) * C;
        std::size_t pc = 0, pn = 0;
        int passed = 0;
        long long tested = 0;
        for (int j = 0; j < C; ++j) {
            const double X = grid.NodePos(0, i, j);
            if (!InBox(X, box.minX, box.maxX) || !(row[j] > 0.0)) continue;
            ++tested;
            while (pn < merged.size() && merged[pn].hi < X) ++pn;
            const bool nearEdge = pn < merged.size() && merged[pn].lo <= X;
            bool land;
            if (nearEdge) {
                land = !IsOutsidePolygon(X, Y, outline.data(), turned.data(), n - 1, true);
            } else {
                // Winding number from the crossings to the right of the node.
                while (pc < cross.size() && cross[pc].x <= X) passed += cross[pc++].dir;
                land = (total - passed) != 0;
            }
            if (land) row[j] = kLand;
        }
        testedPerRow[i] = tested;
    };

    const int batch = std::max(16, 4 * runner.Threads());
    for (int i0 = 0; i0 < R; i0 += batch) {
        const int i1 = std::min(R, i0 + batch);
        runner.For(i0, i1, markRow);
        if (!rowsDone(i1 - i0)) return -1;
    }
    long long tested = 0;
    for (long long t : testedPerRow) tested += t;
    return tested;
}

bool RunBlockPhase(const DepthGrid& grid, const CBlock& blocks, const CLine& lines,
                   const CSokuten& points, CBlkXY& blkXY, std::vector<double>& V,
                   PhaseProgress& progress, TimeCheck& timeCheck, ParallelRunner* runner,
                   std::vector<BlockIssue>& issues) {
    const int R = grid.Area().rows;
    const int count = blocks.GetCount();
    blkXY.FreeAll();
    blkXY.SetCount(count);
    blkXY.AllocOutlines();
    auto rowsDone = [&](int n) { return progress.Steps(n); };

    for (int b = 0; b < count; ++b) {
        const BlockOutline outline = TraceBlockOutline(blocks.GetAt(b).GetPos(), grid, lines, points);
        if (outline.status != OutlineStatus::Traced) {
            if (outline.status == OutlineStatus::WalkLoops || outline.status == OutlineStatus::EndInside)
                issues.push_back({b, outline.status});
            if (!progress.Advance(R)) return false;
            continue;
        }
        const std::vector<CPointD>& v = outline.vertices;
        const int n = static_cast<int>(v.size());
        blkXY.SetPointCount(b, n);
        blkXY.AllocPoints(b);
        timeCheck.Mark("[%ld秒],%d", n);

        const OutlineBox box = BoundingBox(v);
        const long long tested = runner ? MarkLandScanline(v, box, grid, V, *runner, rowsDone)
                                        : MarkLandExact(v, box, grid, V, rowsDone);
        if (tested < 0) return false;

        std::vector<CPointD> world(v);
        for (CPointD& p : world) grid.FromFrame0(p.m_dX, p.m_dY);
        blkXY.SetPoints(b, world.data());
        timeCheck.Mark("[%ld秒],%d", static_cast<int>(std::min<long long>(tested, 2147483647LL)));
    }
    return true;
}

}  // namespace wv
