#include "core/line.h"

#include "core/geometry.h"
#include "core/table_limits.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <string>

namespace wv {

CLine g_lines;

namespace {

// Squared distance that the nearest-line searches start from (1,000,000 m).
constexpr double kFarSquared = 999999999999.999;

int NextGap(int gap) {
    gap = static_cast<int>(gap / 1.3);
    if (gap < 1) gap = 1;
    if (gap == 9 || gap == 10) gap = 11;
    return gap;
}

bool KindAdmitted(int kind, int filter) {
    switch (filter) {
    case 0: return kind == kLineUndefined || kind == kLineDepth;
    case 1: return kind == kLineDepth;
    case 2: return kind == kLineUndefined || kind == kLineTerrain;
    case 3: return kind == kLineTerrain;
    case 4: return kind == kLineUndefined || kind == kLineAuxiliary;
    case 5: return kind == kLineAuxiliary;
    default: return true;
    }
}

double Dist2(const CPointD& a, double x, double y) {
    return (a.m_dX - x) * (a.m_dX - x) + (a.m_dY - y) * (a.m_dY - y);
}

// Squared distance from (x, y) to the segment: to the foot of the perpendicular when it
// falls on the segment, else to the nearer end (the end point on a tie).
double SegmentDist2(const CLineZokusei& line, double x, double y) {
    const CPointD s = line.GetStartPos();
    const CPointD e = line.GetEndPos();
    double fx = 0.0, fy = 0.0;
    if (ProjectPointOnSegment(s.m_dX, s.m_dY, e.m_dX, e.m_dY, x, y, &fx, &fy, 0) == 0)
        return (fx - x) * (fx - x) + (fy - y) * (fy - y);
    const double ds = Dist2(s, x, y);
    const double de = Dist2(e, x, y);
    return de > ds ? ds : de;
}

}  // namespace

// --- CLineZokusei ---

void CLineZokusei::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        ar << m_nStartIdx << m_nEndIdx << m_nState << m_nHeightType << m_dDepth << m_nKind;
        return;
    }
    CLineZokusei r(*this);
    ar >> r.m_nStartIdx >> r.m_nEndIdx >> r.m_nState;
    // Boundary lines came with version 8; earlier lines took their heights from their
    // end points.
    if (nVersion > 7) ar >> r.m_nHeightType;
    ar >> r.m_dDepth >> r.m_nKind;
    // Kind 4 belonged to an early program version and is no longer a kind of its own.
    if (r.m_nKind == 4) r.m_nKind = kLineUndefined;
    *this = r;
}

// --- CLine ---

CLine::CLine() { Reset(); }

void CLine::Reset() {
    m_nCount = 0;
    m_nSlotCount = kInitialSlots;
    m_nGrow = kInitialGrow;
    m_slots.assign(kInitialSlots, CLineZokusei());
}

void CLine::RemoveAll() {
    std::vector<CLineZokusei>().swap(m_slots);
    Reset();
}

CLineZokusei CLine::GetAt(int slot) const {
    if (slot < 0 || slot >= m_nSlotCount) return CLineZokusei();
    return m_slots[slot];
}

bool CLine::SetAt(int slot, CLineZokusei record) {
    if (slot < 0 || slot >= m_nSlotCount) return false;
    const bool wasInUse = m_slots[slot].GetState() >= 0;
    const bool nowInUse = record.GetState() >= 0;
    m_nCount += static_cast<int>(nowInUse) - static_cast<int>(wasInUse);
    m_slots[slot] = record;
    return true;
}

int CLine::Add(double startX, double startY, double endX, double endY, int state, int heightType,
               double height, int kind, int pointSlot1, int pointSlot2) {
    return AddFrom(0, startX, startY, endX, endY, state, heightType, height, kind, pointSlot1,
                   pointSlot2);
}

int CLine::AddFrom(int startSlot, double startX, double startY, double endX, double endY,
                   int state, int heightType, double height, int kind, int pointSlot1,
                   int pointSlot2) {
    int slot = startSlot < 0 ? 0 : startSlot;
    while (slot < m_nSlotCount && m_slots[slot].GetState() >= 0) ++slot;
    if (slot >= m_nSlotCount) {
        slot = m_nSlotCount;
        if (!Grow()) throw std::bad_alloc();
    }
    CLineZokusei r;
    r.SetState(state);
    r.SetHeightType(heightType);
    r.SetDepth(height);
    r.SetKind(kind);
    // The smaller point slot is always the start, so a pair of points has one spelling
    // and duplicates sort next to each other.
    if (pointSlot1 < pointSlot2) {
        r.SetStartPos(startX, startY);
        r.SetStartIndex(pointSlot1);
        r.SetEndPos(endX, endY);
        r.SetEndIndex(pointSlot2);
    } else {
        r.SetStartPos(endX, endY);
        r.SetStartIndex(pointSlot2);
        r.SetEndPos(startX, startY);
        r.SetEndIndex(pointSlot1);
    }
    m_slots[slot] = r;
    // A line stored free does not count, so the count never runs ahead of the records.
    if (state >= 0) ++m_nCount;
    return slot;
}

bool CLine::RemoveAt(int slot) {
    if (slot < 0 || slot >= m_nSlotCount) return false;
    if (m_slots[slot].GetState() < 0) return false;
    m_slots[slot] = CLineZokusei();
    --m_nCount;
    return true;
}

bool CLine::Grow() {
    const long long newCount = static_cast<long long>(m_nSlotCount) + m_nGrow;
    if (newCount < 1 || newCount <= m_nSlotCount || newCount > INT32_MAX) return false;
    m_slots.resize(static_cast<std::size_t>(newCount));
    m_nSlotCount = static_cast<int>(newCount);
    return true;
}

int CLine::Exists(int pointSlot1, int pointSlot2) const {
    for (const CLineZokusei& r : m_slots) {
        if (r.GetState() >= 0 && r.GetStartIndex() == pointSlot1 && r.GetEndIndex() == pointSlot2)
            return -1;
    }
    return 0;
}

int CLine::FindNearestAdmitted(double x, double y, int filter) const {
    double best = kFarSquared;
    int found = -1;
    for (int i = 0; i < m_nSlotCount; ++i) {
        const CLineZokusei& r = m_slots[i];
        if (r.GetState() < 0 || !KindAdmitted(r.GetKind(), filter)) continue;
        const double d2 = SegmentDist2(r, x, y);
        if (best >= d2) {  // the later slot wins a tie
            best = d2;
            found = i;
        }
    }
    return found;
}

int CLine::FindNearest(double x, double y) const { return FindNearestAdmitted(x, y, -1); }

int CLine::FindNearestOfKind(double x, double y, int filter) const {
    return FindNearestAdmitted(x, y, filter);
}

void CLine::SortSlots(std::vector<int>& a) const {
    const int n = std::min<long long>(m_nSlotCount, static_cast<long long>(a.size()));
    auto ends = [&](int slot) {
        if (slot < 0 || slot >= m_nSlotCount) return std::pair<int, int>(-1, -1);
        return std::pair<int, int>(m_slots[slot].GetStartIndex(), m_slots[slot].GetEndIndex());
    };
    int gap = n;
    for (;;) {
        gap = NextGap(gap);
        int swaps = 0;
        for (int j = 0; j < n - gap; ++j) {
            const auto [s1, e1] = ends(a[j]);
            const auto [s2, e2] = ends(a[j + gap]);
            if (s1 < s2 || (s1 == s2 && e1 < e2)) {
                std::swap(a[j], a[j + gap]);
                ++swaps;
            }
        }
        if (gap == 1 && swaps == 0) break;
    }
}

void CLine::RemoveDuplicates(const std::vector<int>& a) {
    const int n = std::min<long long>(m_nCount, static_cast<long long>(a.size()));
    if (n > 0) {
        int k = 0;
        CLineZokusei kept = GetAt(a[0]);
        for (int i = 1; i < n; ++i) {
            const CLineZokusei cur = GetAt(a[i]);
            if (cur.GetStartIndex() == kept.GetStartIndex() &&
                cur.GetEndIndex() == kept.GetEndIndex()) {
                // Of two lines joining the same points the larger state goes: an imported
                // line (1) never replaces one that was there (0).
                if (cur.GetState() < kept.GetState()) {
                    RemoveAt(a[k]);
                    k = i;
                    kept = cur;
                } else {
                    RemoveAt(a[i]);
                }
            } else {
                k = i;
                kept = cur;
            }
        }
    }
    for (CLineZokusei& r : m_slots)
        if (r.GetState() == 1) r.SetState(0);
}

int CLine::CountInUse() const {
    int n = 0;
    for (const CLineZokusei& r : m_slots)
        if (r.GetState() >= 0) ++n;
    return n;
}

void CLine::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        ar << static_cast<std::int32_t>(CountInUse()) << m_nSlotCount << m_nGrow;
        for (int i = 0; i < m_nSlotCount; ++i) {
            if (m_slots[i].GetState() < 0) continue;
            ar << static_cast<std::int32_t>(i);
            m_slots[i].Serialize(ar, nVersion);
        }
        return;
    }
    std::int32_t count, slotCount, grow;
    ar >> count >> slotCount >> grow;
    CArchive::CheckRange(slotCount, 0, kMaxTableSlots, "slot count of the lines");
    CArchive::CheckRange(grow, 1, kMaxTableSlots, "growth step of the lines");
    // Smallest stored pair: slot, two point slots, state, (height type from 8 on),
    // height, kind.
    const std::size_t minPair = 4 + 4 + 4 + 4 + (nVersion > 7 ? 4 : 0) + 8 + 4;
    ar.CheckCount(count, slotCount, minPair, "lines");

    std::vector<CLineZokusei> slots(static_cast<std::size_t>(slotCount));
    for (int k = 0; k < count; ++k) {
        std::int32_t slot;
        ar >> slot;
        CArchive::CheckRange(slot, 0, slotCount - 1, "line slot");
        if (slots[slot].GetState() >= 0)
            throw ArchiveError("line slot " + std::to_string(slot) + " is stored twice");
        CLineZokusei r;
        r.Serialize(ar, nVersion);
        if (r.GetState() < 0)
            throw ArchiveError("line in slot " + std::to_string(slot) +
                               " is stored with a free state");
        slots[slot] = r;
    }
    m_nCount = count;
    m_nSlotCount = slotCount;
    m_nGrow = grow;
    m_slots.swap(slots);
}

}  // namespace wv
