// Contour tracing over the triangulated mesh, one level at a time.
//
// A level's crossings are the triangle edges it cuts and the nodes that lie on it; each
// triangle cut by the level gives one segment between two crossings. The depth-check
// figure keeps the segments loose; the result figures chain them into polylines. The
// order of the polylines within a level is part of the file format (the remembered label
// positions count polylines within their level), so the chaining follows fixed phases:
// open ends first, then junctions, then closed loops, each time taking the unused
// segment of lowest number.
//
// Two implementations give the same bits. The straightforward one visits every triangle
// for every level and searches linearly, as the tracing was first written; it stays as
// the reference of the tests and the benchmark. The fast one sorts the triangles once
// into the levels their value range spans, traces the levels on threads and appends them
// in level order.
#pragma once

#include "core/point.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace wv {

class CTydDocData;
class ParallelRunner;

// Which figure a run traces: the depth check, or result value kind 0-3.
inline constexpr int kDepthFigure = -1;

// The figure's node values and triangle ranges, read once from the document.
struct ContourField {
    int triangles = 0;
    int edges = 0;
    const int* triEdges = nullptr;  // 3 per triangle
    const int* triNodes = nullptr;  // 3 per triangle
    std::vector<double> value;      // per sea node
    std::vector<float> x, y;        // per sea node, mesh frame
    // Per triangle: range minimum - 0.0000001 and maximum + 0.0000001, and whether the
    // triangle can never be cut (a result triangle without values, a damaged table).
    std::vector<double> lowTol, highTol;
    std::vector<std::uint8_t> never;
};

// Builds the field of a figure (kDepthFigure or kind 0-3) of the document, on the
// runner's threads when one is given.
void PrepareContourField(const CTydDocData& doc, int figure, ContourField& field,
                         ParallelRunner* runner = nullptr);

// One traced level: the crossing entries sorted by (first node, second node), their
// positions, and the segments as entry pairs (smaller first) in the order the triangles
// gave them. Chained polylines, when asked for, as runs of entry indices.
struct ContourLevel {
    double level = 0.0;
    std::vector<int> entryA, entryB;
    std::vector<CPointF> pos;
    std::vector<int> seg;        // 2 per segment
    std::vector<int> lineStart;  // polyline p holds linePts[lineStart[p] .. lineStart[p + 1])
    std::vector<int> linePts;
    int Segments() const { return static_cast<int>(seg.size() / 2); }
    int Lines() const { return lineStart.empty() ? 0 : static_cast<int>(lineStart.size()) - 1; }
};

// Work arrays of one thread, kept between levels.
struct ContourScratch;
struct ContourScratchDeleter {
    void operator()(ContourScratch* s) const;
};
using ContourScratchPtr = std::unique_ptr<ContourScratch, ContourScratchDeleter>;
ContourScratchPtr MakeContourScratch();

// Traces one level over the triangles listed (ascending numbers; null: all triangles).
// `chain`: also chain the segments into polylines. A level below 0.0001 gives nothing.
void TraceContourLevel(const ContourField& field, double level, const int* triangles, int count,
                       bool chain, ContourScratch& scratch, ContourLevel& out);

// The straightforward tracing of one level straight into the document: the depth-check
// tables, or the contour group (result -1 when nothing was added, as TraceResultContour).
void TraceDepthContourReference(CTydDocData& doc, double level);
int TraceResultContourReference(CTydDocData& doc, int kind, double level);

// Appends a traced level to the document's depth-check tables.
void AppendDepthLevel(CTydDocData& doc, const ContourLevel& lv);
// Appends a traced level's polylines to the contour group; false when it has none.
bool AppendResultLevel(CTydDocData& doc, const ContourLevel& lv);
// Stores one polyline as the group's next, growing the group first when it is full (a
// group left at capacity 0 by a reset or a cancel must not lose it) and after it when it
// has become full.
void StoreContourPolyline(CTydDocData& doc, const std::vector<CPointF>& points, double level);

// Triangles per level: for each of `levels`, the triangles whose range spans it, in
// ascending number. Built once for a whole run.
struct ContourBuckets {
    std::vector<int> levelSlot;   // per level of the run: its bucket
    std::vector<long long> start; // per bucket, into `tris`; one more at the end
    std::vector<int> tris;
};
void BuildContourBuckets(const ContourField& field, const std::vector<double>& levels, ContourBuckets& out,
                         ParallelRunner* runner);

}  // namespace wv
