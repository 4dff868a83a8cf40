#include "core/tri_line.h"
#include "core/messages.h"

#include <climits>
#include <cstdint>

namespace wv {

void CTriLine::Alloc() {
    if (m_nCount > 0) m_edges.assign(m_nCount, CTriLineZokusei());
}

void CTriLine::Serialize(CArchive& ar, unsigned) {
    if (ar.IsStoring()) {
        ar << m_nCount;
        for (int i = 0; i < m_nCount; ++i) {
            const CTriLineZokusei e = GetAt(i);
            ar << e.m_nNode1 << e.m_nNode2;
        }
        return;
    }
    int count = 0;
    ar >> count;
    ar.CheckCount(count, INT_MAX, 8, msg::kWhatTriEdges);
    std::vector<CTriLineZokusei> edges(count);
    for (CTriLineZokusei& e : edges) ar >> e.m_nNode1 >> e.m_nNode2;
    m_nCount = count;
    m_edges = std::move(edges);
}

void CTriLine::CheckNodeIndices(int nodeCount) const {
    for (int i = 0; i < m_nCount; ++i) {
        const CTriLineZokusei e = GetAt(i);
        CArchive::CheckRange(e.m_nNode1, 0, std::int64_t(nodeCount) - 1, msg::kWhatTriEdgeNode);
        CArchive::CheckRange(e.m_nNode2, 0, std::int64_t(nodeCount) - 1, msg::kWhatTriEdgeNode);
    }
}

}  // namespace wv
