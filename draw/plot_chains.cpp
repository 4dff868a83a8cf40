#include "draw/plot_chains.h"

#include "core/geometry.h"

namespace wv {

int SheetGraph::NewVertex(double X, double Y) {
    m_vertices.emplace_back(X, Y);
    return VertexCount() - 1;
}

int SheetGraph::FindPointVertex(int point) const {
    if (point < 0 || point >= static_cast<int>(m_pointVertex.size())) return -1;
    return m_pointVertex[point];
}

int SheetGraph::PointVertex(int point, double X, double Y) {
    if (point >= static_cast<int>(m_pointVertex.size())) m_pointVertex.resize(static_cast<std::size_t>(point) + 1, -1);
    int& v = m_pointVertex[point];
    if (v < 0) v = NewVertex(X, Y);
    return v;
}

void SheetGraph::AddSegment(int start, int end, double value) { m_segments.push_back(Segment{start, end, value}); }

void SheetGraph::Link() {
    m_links.assign(m_vertices.size(), {});
    for (int s = 0; s < SegmentCount(); ++s)
        for (const int v : {m_segments[s].start, m_segments[s].end})
            if (static_cast<int>(m_links[v].size()) < m_nMaxLinks) m_links[v].push_back(s);
}

ChainWalker::ChainWalker(const SheetGraph& g, ChainRule rule)
    : m_g(g), m_rule(rule), m_used(static_cast<std::size_t>(g.SegmentCount()), 0) {}

int ChainWalker::NextStep(int current, int from, int at) const {
    const int degree = m_g.Degree(at);
    if (m_rule == ChainRule::Plain || degree == 2) {
        if (degree < 2) return -1;
        return m_g.LinkAt(at, 0) == current ? m_g.LinkAt(at, 1) : m_g.LinkAt(at, 0);
    }
    // The branch whose far end lies the least angle on from the way back, turning
    // counter-clockwise; the first of equal angles wins.
    const CPointD b = m_g.Vertex(at), a = m_g.Vertex(from);
    int best = -1;
    double bestAngle = 99999.999;
    for (int k = 0; k < degree; ++k) {
        const int s = m_g.LinkAt(at, k);
        if (s == current) continue;
        const CPointD c = m_g.Vertex(m_g.Other(s, at));
        const double angle = AngleBetween(b.m_dX, b.m_dY, c.m_dX, c.m_dY, a.m_dX, a.m_dY);
        if (angle < bestAngle) {
            bestAngle = angle;
            best = s;
        }
    }
    return best;
}

bool ChainWalker::Next(SheetChain& chain) {
    chain = SheetChain();
    const int n = m_g.SegmentCount();
    int seg = -1, a = -1;
    for (int& s = m_cursor[0]; s < n; ++s) {
        if (m_used[s]) continue;
        const int ds = m_g.Degree(m_g.Start(s)), de = m_g.Degree(m_g.End(s));
        if (ds == 1 || de == 1) {
            seg = s;
            a = ds == 1 ? m_g.Start(s) : m_g.End(s);
            chain.openStart = true;
            break;
        }
    }
    if (seg < 0) {
        const int wanted = m_rule == ChainRule::Plain ? 0 : 2;  // Plain: any degree above 0
        for (int& s = m_cursor[1]; s < n; ++s) {
            if (m_used[s]) continue;
            const int ds = m_g.Degree(m_g.Start(s)), de = m_g.Degree(m_g.End(s));
            const bool startFits = wanted == 0 ? ds > 0 : ds == 2;
            const bool endFits = wanted == 0 ? de > 0 : de == 2;
            if (startFits || endFits) {
                seg = s;
                a = startFits ? m_g.Start(s) : m_g.End(s);
                break;
            }
        }
    }
    if (seg < 0) return false;

    int b = m_g.Other(seg, a);
    m_used[seg] = 1;
    chain.vertices = {a, b};
    chain.segments = {seg};
    for (;;) {
        const int next = m_g.Degree(b) < 2 ? -1 : NextStep(chain.segments.back(), a, b);
        if (next < 0) {
            chain.openEnd = true;
            return true;
        }
        if (m_used[next]) {
            chain.stopSegment = next;
            return true;
        }
        m_used[next] = 1;
        a = b;
        b = m_g.Other(next, a);
        chain.vertices.push_back(b);
        chain.segments.push_back(next);
    }
}

}  // namespace wv
