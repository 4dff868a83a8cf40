#include "core/line.h"
#include "core/messages.h"

#include "core/geometry.h"

#include <algorithm>
#include <utility>

namespace wv {

CLine g_lines;

namespace {

// Squared distance that the nearest-line searches start from (1,000,000 m).
constexpr double kFarSquared = 999999999999.999;

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

struct CLine::SlotRules {
    static bool InUse(const CLineZokusei& r) { return r.GetState() >= 0; }
    static void Free(CLineZokusei& r) { r = CLineZokusei(); }
    // Smallest stored pair: slot, two point slots, state, (height type from 8 on),
    // height, kind.
    static std::size_t MinStoredPair(unsigned nVersion) {
        return 4 + 4 + 4 + 4 + (nVersion > 7 ? 4 : 0) + 8 + 4;
    }
    static constexpr const char* kName = msg::kWhatLine;
    static constexpr const char* kNames = msg::kWhatLine;
};

CLine::CLine() = default;

void CLine::RemoveAll() { m_table.RemoveAll(); }

CLineZokusei CLine::GetAt(int slot) const { return m_table.GetAt(slot); }

bool CLine::SetAt(int slot, CLineZokusei record) { return m_table.SetAt(slot, record); }

int CLine::Add(double startX, double startY, double endX, double endY, int state, int heightType,
               double height, int kind, int pointSlot1, int pointSlot2) {
    return AddFrom(0, startX, startY, endX, endY, state, heightType, height, kind, pointSlot1,
                   pointSlot2);
}

int CLine::AddFrom(int startSlot, double startX, double startY, double endX, double endY,
                   int state, int heightType, double height, int kind, int pointSlot1,
                   int pointSlot2) {
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
    return m_table.Insert(startSlot, r);
}

bool CLine::RemoveAt(int slot) { return m_table.RemoveAt(slot); }

bool CLine::Grow() { return m_table.Grow(); }

bool CLine::HasRoomFor(long long n) const { return m_table.HasRoomFor(n); }

int CLine::Exists(int pointSlot1, int pointSlot2) const {
    for (const CLineZokusei& r : m_table.Records()) {
        if (r.GetState() >= 0 && r.GetStartIndex() == pointSlot1 && r.GetEndIndex() == pointSlot2)
            return -1;
    }
    return 0;
}

int CLine::FindNearestAdmitted(double x, double y, int filter) const {
    double best = kFarSquared;
    int found = -1;
    for (int i = 0; i < m_table.GetSlotCount(); ++i) {
        const CLineZokusei& r = m_table[i];
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
    const int slotCount = m_table.GetSlotCount();
    auto ends = [&](int slot) {
        if (slot < 0 || slot >= slotCount) return std::pair<int, int>(-1, -1);
        return std::pair<int, int>(m_table[slot].GetStartIndex(), m_table[slot].GetEndIndex());
    };
    CombSortSlots(a, slotCount, [&](int p, int q) {
        const auto [s1, e1] = ends(p);
        const auto [s2, e2] = ends(q);
        return s1 < s2 || (s1 == s2 && e1 < e2);
    });
}

void CLine::RemoveDuplicates(const std::vector<int>& a) {
    const int n = std::min<long long>(m_table.GetCount(), static_cast<long long>(a.size()));
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
    for (int i = 0; i < m_table.GetSlotCount(); ++i) {
        if (m_table[i].GetState() != 1) continue;
        CLineZokusei r = m_table[i];
        r.SetState(0);
        m_table.SetAt(i, r);
    }
}

void CLine::Serialize(CArchive& ar, unsigned nVersion) { m_table.Serialize(ar, nVersion); }

}  // namespace wv
