#include "core/block.h"
#include "core/messages.h"

#include "core/table_limits.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace wv {

CBlock g_blocks;

// --- CBlockZokusei ---

void CBlockZokusei::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        m_ptPos.Serialize(ar, nVersion);
        return;
    }
    CPointD p = m_ptPos;
    p.Serialize(ar, nVersion);
    m_ptPos = p;
}

// --- CBlock ---

CBlock::CBlock() { Reset(); }

void CBlock::Reset() {
    m_nCount = 0;
    m_nCapacity = kInitialCapacity;
    m_nGrow = kInitialGrow;
    m_items.assign(kInitialCapacity, CBlockZokusei());
}

void CBlock::RemoveAll() {
    std::vector<CBlockZokusei>().swap(m_items);
    Reset();
}

CBlockZokusei CBlock::GetAt(int pos) const {
    if (pos < 0 || pos >= m_nCapacity) return CBlockZokusei();
    return m_items[pos];
}

int CBlock::Add(double x, double y) {
    if (m_nCount >= m_nCapacity && !Grow()) return -1;
    m_items[m_nCount].SetPos(x, y);
    return ++m_nCount;
}

bool CBlock::RemoveAt(int pos) {
    if (pos < 0 || pos >= m_nCount) return false;
    for (int i = pos; i + 1 < m_nCount; ++i) m_items[i] = m_items[i + 1];
    m_items[m_nCount - 1] = CBlockZokusei();
    --m_nCount;
    return true;
}

int CBlock::FindNearest(double x, double y) const {
    int found = -1;
    double best = 0.0;
    for (int i = 0; i < m_nCount; ++i) {
        const CPointD p = m_items[i].GetPos();
        const double d = std::sqrt((p.m_dX - x) * (p.m_dX - x) + (p.m_dY - y) * (p.m_dY - y));
        if (found < 0 || d < best) {
            best = d;
            found = i;
        }
    }
    return found;
}

bool CBlock::HasRoom() const {
    return m_nCount < m_nCapacity || GrowthRoom(m_nCapacity, m_nGrow) > 0;
}

bool CBlock::Grow() {
    const long long newCapacity = static_cast<long long>(m_nCapacity) + m_nGrow;
    if (newCapacity < 1 || newCapacity <= m_nCapacity || newCapacity > kMaxTableSlots) return false;
    m_items.resize(static_cast<std::size_t>(newCapacity));
    m_nCapacity = static_cast<int>(newCapacity);
    return true;
}

void CBlock::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        ar << m_nCount << m_nCapacity << m_nGrow;
        for (int i = 0; i < m_nCount; ++i) m_items[i].Serialize(ar, nVersion);
        return;
    }
    std::int32_t count, capacity, grow;
    ar >> count >> capacity >> grow;
    CArchive::CheckRange(capacity, 0, kMaxTableSlots, msg::kWhatBlockCapacity);
    CArchive::CheckRange(grow, 1, kMaxTableSlots, msg::kWhatBlockGrowth);
    ar.CheckCount(count, capacity, 16, msg::kWhatBlocks);
    std::vector<CBlockZokusei> items(static_cast<std::size_t>(capacity));
    for (int i = 0; i < count; ++i) items[i].Serialize(ar, nVersion);
    m_nCount = count;
    m_nCapacity = capacity;
    m_nGrow = grow;
    m_items.swap(items);
}

// --- CBlkXY ---

void CBlkXY::AllocOutlines() {
    if (m_nCount <= 0) return;
    m_pointCounts.assign(static_cast<std::size_t>(m_nCount), 0);
    m_points.assign(static_cast<std::size_t>(m_nCount), std::vector<CPointD>());
}

int CBlkXY::GetPointCount(int outline) const {
    return HasOutline(outline) ? m_pointCounts[outline] : 0;
}

void CBlkXY::SetPointCount(int outline, int count) {
    if (HasOutline(outline)) m_pointCounts[outline] = count;
}

void CBlkXY::AllocPoints(int outline) {
    if (!HasOutline(outline)) return;
    const int n = m_pointCounts[outline];
    if (n <= 0)
        m_points[outline].clear();
    else
        m_points[outline].assign(static_cast<std::size_t>(n), CPointD());
}

CPointD* CBlkXY::GetPoints(int outline) {
    if (!HasOutline(outline) || m_points[outline].empty()) return nullptr;
    return m_points[outline].data();
}

const CPointD* CBlkXY::GetPoints(int outline) const {
    if (!HasOutline(outline) || m_points[outline].empty()) return nullptr;
    return m_points[outline].data();
}

void CBlkXY::SetPoints(int outline, const CPointD* points) {
    if (!HasOutline(outline) || points == nullptr) return;
    std::vector<CPointD>& v = m_points[outline];
    const std::size_t n = std::min<std::size_t>(
        v.size(), static_cast<std::size_t>(std::max(0, m_pointCounts[outline])));
    for (std::size_t i = 0; i < n; ++i) v[i] = points[i];
}

void CBlkXY::FreeAll() {
    m_pointCounts.clear();
    m_points.clear();
}

void CBlkXY::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        // Outlines without an array are written with no vertices, whatever count they
        // were given, so that the file always reads back.
        ar << m_nCount;
        for (int i = 0; i < m_nCount; ++i) {
            const CPointD* pts = GetPoints(i);
            const std::int32_t n =
                pts ? std::clamp<std::int32_t>(GetPointCount(i), 0,
                                               static_cast<std::int32_t>(m_points[i].size()))
                    : 0;
            ar << n;
            for (int k = 0; k < n; ++k) {
                CPointD p = pts[k];
                p.Serialize(ar, nVersion);
            }
        }
        return;
    }
    std::int32_t count;
    ar >> count;
    ar.CheckCount(count, kMaxTableSlots, 4, msg::kWhatOutlines);
    CBlkXY r;
    r.SetCount(count);
    r.AllocOutlines();
    for (int i = 0; i < count; ++i) {
        std::int32_t n;
        ar >> n;
        ar.CheckCount(n, INT32_MAX, 16, msg::kWhatOutlineVertices);
        r.SetPointCount(i, n);
        r.AllocPoints(i);
        CPointD* pts = r.GetPoints(i);
        for (int k = 0; k < n; ++k) pts[k].Serialize(ar, nVersion);
    }
    *this = std::move(r);
}

}  // namespace wv
