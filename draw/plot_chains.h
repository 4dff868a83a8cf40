// Chains of plotted line segments: the depth lines, the depth-check contours and the
// result contours are written segment by segment, clipped to the frame, and then walked
// as chains of connected segments to place their labels (or, for the result contours, to
// emit them as polylines). One walker serves all three; each figure element chooses its
// rule of where a chain starts and which way it turns at a junction.
//
// The tables grow as needed: clipping adds vertices beyond the source's point count.
#pragma once

#include "core/point.h"

#include <vector>

namespace wv {

class SheetGraph {
public:
    // A vertex records at most `maxLinks` incident segments; later ones are not linked.
    explicit SheetGraph(int maxLinks) : m_nMaxLinks(maxLinks) {}

    // A fresh vertex (a clipped end on the frame's border).
    int NewVertex(double X, double Y);
    // The vertex of source point `point` (0 or above), made at (X, Y) on first use.
    int PointVertex(int point, double X, double Y);
    // The vertex of a source point, -1 when it has none yet.
    int FindPointVertex(int point) const;
    void AddSegment(int start, int end, double value);

    // Records each vertex's incident segments in segment order.
    void Link();

    int VertexCount() const { return static_cast<int>(m_vertices.size()); }
    int SegmentCount() const { return static_cast<int>(m_segments.size()); }
    CPointD Vertex(int v) const { return m_vertices[v]; }
    int Start(int s) const { return m_segments[s].start; }
    int End(int s) const { return m_segments[s].end; }
    double Value(int s) const { return m_segments[s].value; }
    int Degree(int v) const { return static_cast<int>(m_links[v].size()); }
    int LinkAt(int v, int k) const { return m_links[v][k]; }
    int Other(int s, int v) const { return m_segments[s].start == v ? m_segments[s].end : m_segments[s].start; }

private:
    struct Segment {
        int start, end;
        double value;
    };
    int m_nMaxLinks;
    std::vector<CPointD> m_vertices;
    std::vector<int> m_pointVertex;
    std::vector<Segment> m_segments;
    std::vector<std::vector<int>> m_links;
};

// How chains start and turn.
enum class ChainRule {
    // Depth lines and result contours: an open end first, else any segment from its start;
    // the walk passes vertices of degree 2 only.
    Plain,
    // Depth-check contours: an open end first, else a segment at a vertex of degree
    // exactly 2; at a junction the walk takes the branch of least turn.
    Junction,
};

struct SheetChain {
    std::vector<int> vertices;  // A, then every vertex the walk reached
    std::vector<int> segments;  // the segments walked, one fewer than the vertices
    bool openStart = false;     // began at a vertex of degree 1
    bool openEnd = false;       // stopped at a vertex of degree below 2
    int stopSegment = -1;       // otherwise: the used segment the walk ran into
};

// Walks every chain in turn; `visit` gets each. Segments are used at most once.
template <class Visit>
void WalkChains(const SheetGraph& g, ChainRule rule, Visit visit);

// One chain from the first unused candidate; false when none is left.
class ChainWalker {
public:
    ChainWalker(const SheetGraph& g, ChainRule rule);
    bool Next(SheetChain& chain);

private:
    int NextStep(int current, int from, int at) const;

    const SheetGraph& m_g;
    ChainRule m_rule;
    std::vector<char> m_used;
    // The first unused candidate of each start phase only moves forward: whether a
    // segment qualifies depends on degrees alone, and used segments stay used.
    int m_cursor[2] = {0, 0};
};

template <class Visit>
void WalkChains(const SheetGraph& g, ChainRule rule, Visit visit) {
    ChainWalker walker(g, rule);
    SheetChain chain;
    while (walker.Next(chain)) visit(chain);
}

}  // namespace wv
