#include "calc/depth_crossings.h"

#include "calc/parallel.h"
#include "core/geometry.h"
#include "core/line.h"
#include "core/sokuten.h"

#include <algorithm>
#include <cmath>

namespace wv {

namespace {

constexpr double kTol = 1e-10;
// An end spread along the grid line below this (view units) leaves too little of the
// grid segment to cross a nearly perpendicular line reliably, so the segment is widened.
constexpr double kNarrow = 1.0;

bool GivesCrossings(int kind, int heightType) {
    switch (kind) {
    case kLineTerrain: return heightType != kBoundaryInvalid;
    case kLineDepth:
    case kLineAuxiliary: return true;
    default: return false;
    }
}

bool IsDry(const DepthLine& line) {
    return line.heightType == kBoundaryValid &&
           (line.kind == kLineTerrain || line.kind == kLineAuxiliary);
}

bool Finite(const CPointD& p) { return std::isfinite(p.m_dX) && std::isfinite(p.m_dY); }

// A line's turned ends in one frame.
struct TurnedLine {
    double sx, sy, ex, ey;
};

TurnedLine Turn(const DepthGrid& grid, int frame, const DepthLine& line) {
    TurnedLine t{line.start.m_dX, line.start.m_dY, line.end.m_dX, line.end.m_dY};
    grid.ToFrame(frame, t.sx, t.sy);
    grid.ToFrame(frame, t.ex, t.ey);
    return t;
}

// (along, across) of the turned ends for a family: a vertical family exchanges x' and y'.
struct AlongAcross {
    double sa, sc, ea, ec;
};

AlongAcross Orient(const TurnedLine& t, bool vertical) {
    if (vertical) return {t.sy, t.sx, t.ey, t.ex};
    return {t.sx, t.sy, t.ex, t.ey};
}

}  // namespace

std::vector<DepthLine> CollectDepthLines(const CLine& lines, const CSokuten& points) {
    std::vector<DepthLine> out;
    const int slots = lines.GetSlotCount();
    const int pointSlots = points.GetSlotCount();
    for (int slot = 0; slot < slots; ++slot) {
        const CLineZokusei rec = lines.GetAt(slot);
        if (rec.GetState() < 0) continue;
        if (!GivesCrossings(rec.GetKind(), rec.GetHeightType())) continue;
        const int s = rec.GetStartIndex(), e = rec.GetEndIndex();
        if (s < 0 || s >= pointSlots || e < 0 || e >= pointSlots) continue;
        const CSokutenZokusei ps = points.GetAt(s), pe = points.GetAt(e);
        if (ps.GetId() < 0 || pe.GetId() < 0) continue;
        DepthLine d;
        d.slot = slot;
        d.start = rec.GetStartPos();
        d.end = rec.GetEndPos();
        if (!Finite(d.start) || !Finite(d.end)) continue;
        d.startHeight = ps.GetDepth();
        d.endHeight = pe.GetDepth();
        d.depth = rec.GetDepth();
        d.kind = rec.GetKind();
        d.heightType = rec.GetHeightType();
        out.push_back(d);
    }
    return out;
}

void AddLineCrossings(const DepthLine& line, double sa, double sc, double ea, double ec, double Y,
                      GridLineCrossings& out) {
    const bool startOn = std::fabs(sc - Y) < kTol;
    const bool endOn = std::fabs(ec - Y) < kTol;
    if (startOn || endOn) {
        // An end on the grid line gives its own point's height (also for a depth line);
        // the neighbouring line that starts there gives another crossing at the same place.
        if (startOn) {
            out.pos.push_back(sa);
            out.val.push_back(IsDry(line) ? kDryCrossing : line.startHeight);
        }
        if (endOn) {
            out.pos.push_back(ea);
            out.val.push_back(IsDry(line) ? kDryCrossing : line.endHeight);
        }
        return;
    }

    double g1 = sa, g2 = ea;
    if (std::fabs(sa - ea) < kNarrow) {
        g1 = sa - kNarrow;
        g2 = ea + kNarrow;
    }
    double px, py;
    if (IntersectLines(sa, sc, ea, ec, g1, Y, g2, Y, &px, &py) != 0) return;

    double value;
    if (line.kind == kLineDepth) {
        value = line.depth;
    } else if (IsDry(line)) {
        value = kDryCrossing;
    } else {
        // Heights along a surveyed straight line vary linearly with the distance from
        // its ends.
        const double dPE = (px - ea) * (px - ea) + (py - ec) * (py - ec);
        const double dSE = (sa - ea) * (sa - ea) + (sc - ec) * (sc - ec);
        if (dSE < kTol) {
            value = (line.startHeight + line.endHeight) * 0.5;
        } else {
            value = line.endHeight + (line.startHeight - line.endHeight) * std::sqrt(dPE / dSE);
        }
    }
    out.pos.push_back(px);
    out.val.push_back(value);
}

bool FindCrossingsStraight(const DepthGrid& grid, const std::vector<DepthLine>& lines,
                           const std::function<bool()>& lineDone,
                           std::vector<GridLineCrossings>& out) {
    out.assign(grid.TotalLines(), GridLineCrossings());
    std::vector<int> selected;
    selected.reserve(lines.size());
    for (int fam = 0; fam < DepthGrid::kFamilies; ++fam) {
        const int frame = DepthGrid::FrameOf(fam);
        const bool vertical = DepthGrid::IsVertical(fam);
        for (int k = 0; k < grid.LineCount(fam); ++k) {
            if (!lineDone()) return false;
            const double Y = grid.LineCoord(fam, k);
            selected.clear();
            int extra = 0;
            for (int n = 0; n < static_cast<int>(lines.size()); ++n) {
                const AlongAcross o = Orient(Turn(grid, frame, lines[n]), vertical);
                if (!TouchesGridLine(o.sc, o.ec, Y)) continue;
                selected.push_back(n);
                if (std::fabs(o.sc - Y) < kTol && std::fabs(o.ec - Y) < kTol) ++extra;
            }
            GridLineCrossings& gl = out[grid.FirstLine(fam) + k];
            gl.pos.reserve(selected.size() + extra);
            gl.val.reserve(selected.size() + extra);
            for (int n : selected) {
                const AlongAcross o = Orient(Turn(grid, frame, lines[n]), vertical);
                AddLineCrossings(lines[n], o.sa, o.sc, o.ea, o.ec, Y, gl);
            }
        }
    }
    return true;
}

namespace {

// The grid lines k (0 .. count - 1) of a family that a line with across-coordinates sc,
// ec touches. Line coordinates grow with k, so they form one run; the estimate from the
// spacing is corrected by the exact test at both ends of the run.
void TouchedRange(const DepthGrid& grid, int fam, double sc, double ec, int* first, int* last) {
    const int count = grid.LineCount(fam);
    *first = 0;
    *last = -1;
    if (count <= 0) return;
    const int frame = DepthGrid::FrameOf(fam);
    const double base = DepthGrid::IsVertical(fam) ? grid.BaseX(frame) : grid.BaseY(frame);
    const double step = grid.Step(frame);
    const double lo = std::min(sc, ec), hi = std::max(sc, ec);
    auto touches = [&](int k) { return TouchesGridLine(sc, ec, grid.LineCoord(fam, k)); };

    if (!(step > 0.0 && std::isfinite(step) && std::isfinite(base))) {
        // No usable spacing (a degenerate view): test every line.
        for (int k = 0; k < count; ++k) {
            if (!touches(k)) continue;
            if (*last < 0) *first = k;
            *last = k;
        }
        return;
    }
    const double est = std::floor((lo - base) / step);
    int k0 = est < 0.0 ? 0 : (est > count - 1 ? count - 1 : static_cast<int>(est));
    if (touches(k0)) {
        while (k0 > 0 && touches(k0 - 1)) --k0;
    } else if (k0 > 0 && touches(k0 - 1)) {
        --k0;
        while (k0 > 0 && touches(k0 - 1)) --k0;
    } else {
        // Below the run (or the run is empty): walk up until the lines pass the far end.
        while (k0 < count && !touches(k0) && grid.LineCoord(fam, k0) < hi) ++k0;
        if (k0 >= count || !touches(k0)) return;
    }
    int k1 = k0;
    while (k1 + 1 < count && touches(k1 + 1)) ++k1;
    *first = k0;
    *last = k1;
}

}  // namespace

bool FindCrossingsIndexed(const DepthGrid& grid, const std::vector<DepthLine>& lines,
                          ParallelRunner& runner, const std::function<bool(int)>& linesDone,
                          std::vector<SortedCrossings>& out) {
    out.assign(grid.TotalLines(), SortedCrossings());
    const int lineCount = static_cast<int>(lines.size());
    std::vector<TurnedLine> turned(lines.size());

    for (int frame = 0; frame < DepthGrid::kFrames; ++frame) {
        runner.For(0, lineCount, [&](int n) { turned[n] = Turn(grid, frame, lines[n]); });

        for (int fam = 2 * frame; fam < 2 * frame + 2; ++fam) {
            const bool vertical = DepthGrid::IsVertical(fam);
            const int count = grid.LineCount(fam);
            // Lines per grid line, in slot order, so that the crossings come out in the
            // order of the straightforward scan: contiguous runs of lines are indexed in
            // parallel, then gathered run by run.
            const int runs = std::max(1, std::min(lineCount, 4 * runner.Threads()));
            std::vector<std::vector<std::pair<int, int>>> found(runs);  // (grid line, line)
            runner.For(0, runs, [&](int t) {
                const int n0 = static_cast<int>(1LL * lineCount * t / runs);
                const int n1 = static_cast<int>(1LL * lineCount * (t + 1) / runs);
                for (int n = n0; n < n1; ++n) {
                    const AlongAcross o = Orient(turned[n], vertical);
                    int first, last;
                    TouchedRange(grid, fam, o.sc, o.ec, &first, &last);
                    for (int k = first; k <= last; ++k) found[t].emplace_back(k, n);
                }
            });
            std::vector<int> start(static_cast<std::size_t>(count) + 1, 0);
            for (const auto& run : found)
                for (const auto& kn : run) ++start[kn.first + 1];
            for (int k = 0; k < count; ++k) start[k + 1] += start[k];
            std::vector<int> touching(static_cast<std::size_t>(start[count]));
            {
                std::vector<int> fill(start.begin(), start.end() - 1);
                for (auto& run : found) {
                    for (const auto& kn : run) touching[fill[kn.first]++] = kn.second;
                    std::vector<std::pair<int, int>>().swap(run);
                }
            }

            // Grid lines in batches, so that the progress window hears of every line.
            const int batch = std::max(256, 32 * runner.Threads());
            for (int k0 = 0; k0 < count; k0 += batch) {
                const int k1 = std::min(count, k0 + batch);
                runner.For(k0, k1, [&](int k) {
                    const double Y = grid.LineCoord(fam, k);
                    GridLineCrossings gl;
                    for (int t = start[k]; t < start[k + 1]; ++t) {
                        const int n = touching[t];
                        const AlongAcross o = Orient(turned[n], vertical);
                        AddLineCrossings(lines[n], o.sa, o.sc, o.ea, o.ec, Y, gl);
                    }
                    out[grid.FirstLine(fam) + k].Assign(gl.Count(), gl.pos.data(), gl.val.data());
                });
                if (!linesDone(k1 - k0)) return false;
            }
        }
    }
    return true;
}

}  // namespace wv
