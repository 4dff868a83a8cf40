// The edge table of the triangulated mesh: one record per edge, holding the sea-node
// numbers at its two ends. The contour tracers walk it.
#pragma once

#include "platform/archive.h"

#include <vector>

namespace wv {

class CTriLineZokusei {
public:
    CTriLineZokusei() = default;
    CTriLineZokusei(int node1, int node2) : m_nNode1(node1), m_nNode2(node2) {}

    int GetNode1() const { return m_nNode1; }
    void SetNode1(int n) { m_nNode1 = n; }
    int GetNode2() const { return m_nNode2; }
    void SetNode2(int n) { m_nNode2 = n; }

    bool operator==(const CTriLineZokusei&) const = default;

    int m_nNode1 = 0;
    int m_nNode2 = 0;
};

class CTriLine {
public:
    CTriLine() = default;

    int GetCount() const { return m_nCount; }
    // Does not reallocate.
    void SetCount(int n) { m_nCount = n; }
    // Count default edges (nothing for a count <= 0).
    void Alloc();
    void Free() { std::vector<CTriLineZokusei>().swap(m_edges); }
    // Edge i; an edge with both nodes 0 outside 0 .. count - 1.
    CTriLineZokusei GetAt(int i) const { return InRange(i) ? m_edges[i] : CTriLineZokusei(); }
    void SetAt(int i, const CTriLineZokusei& e) { if (InRange(i)) m_edges[i] = e; }

    void Serialize(CArchive& ar, unsigned nVersion);
    // The edges refer to the mesh's sea nodes by number, and the mesh is a record of its
    // own: after loading both, the reader calls this to refuse a file whose edges name
    // nodes the mesh does not have. Throws ArchiveError.
    void CheckNodeIndices(int nodeCount) const;

    bool operator==(const CTriLine&) const = default;

private:
    bool InRange(int i) const {
        return i >= 0 && i < m_nCount && static_cast<std::size_t>(i) < m_edges.size();
    }

    int m_nCount = 0;
    std::vector<CTriLineZokusei> m_edges;
};

}  // namespace wv
