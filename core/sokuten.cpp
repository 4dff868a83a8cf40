#include "core/sokuten.h"
#include "core/messages.h"

#include <algorithm>
#include <cmath>

namespace wv {

CSokuten g_surveyPoints;

// --- CSokutenZokusei ---

bool CSokutenZokusei::ClearLines() {
    m_nLineCount = 0;
    m_nLine.fill(-1);
    return true;
}

bool CSokutenZokusei::AddLine(int lineSlot) {
    if (m_nLineCount >= kMaxLines) return false;
    m_nLine[m_nLineCount++] = lineSlot;
    return true;
}

void CSokutenZokusei::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        m_ptPos.Serialize(ar, nVersion);
        ar << m_nState << m_nLineCount;
        for (int i = 0; i < m_nLineCount; ++i) ar << m_nLine[i];
        ar << m_dDepth;
        return;
    }
    CSokutenZokusei r(*this);
    r.m_ptPos.Serialize(ar, nVersion);
    ar >> r.m_nState >> r.m_nLineCount;
    CArchive::CheckRange(r.m_nLineCount, 0, kMaxLines, msg::kWhatPointLinks);
    for (int i = 0; i < r.m_nLineCount; ++i) ar >> r.m_nLine[i];
    // Heights of the points themselves came with version 6; older files kept them on
    // the lines only, and the project load copies them over.
    if (nVersion > 5) ar >> r.m_dDepth;
    *this = r;
}

// --- CSokuten ---

struct CSokuten::SlotRules {
    static bool InUse(const CSokutenZokusei& r) { return r.GetId() >= 0; }
    static void Free(CSokutenZokusei& r) {
        r.SetId(-1);
        r.SetPos(kUnsetCoord, kUnsetCoord);
        r.ClearLines();
    }
    // Smallest stored pair: slot, position, state, link count (and the height from 6 on).
    static std::size_t MinStoredPair(unsigned nVersion) {
        return 4 + 16 + 4 + 4 + (nVersion > 5 ? 8 : 0);
    }
    static constexpr const char* kName = msg::kWhatPoint;
    static constexpr const char* kNames = msg::kWhatPoint;
};

CSokuten::CSokuten() { ResetExtent(); }

void CSokuten::ResetExtent() {
    m_ptExtent1 = CPointD(-999999.999, -999999.999);
    m_ptExtent2 = CPointD(999999.999, 999999.999);
}

void CSokuten::RemoveAll() {
    m_table.RemoveAll();
    ResetExtent();
}

CSokutenZokusei CSokuten::GetAt(int slot) const { return m_table.GetAt(slot); }

bool CSokuten::SetAt(int slot, CSokutenZokusei record) { return m_table.SetAt(slot, record); }

int CSokuten::Add(double x, double y, int state) { return AddFromWithDepth(0, x, y, 0.0, state); }

int CSokuten::AddFrom(int startSlot, double x, double y, int state) {
    return AddFromWithDepth(startSlot, x, y, 0.0, state);
}

int CSokuten::AddFromWithDepth(int startSlot, double x, double y, double height, int state) {
    CSokutenZokusei r;
    r.SetPos(x, y);
    r.SetId(state);
    r.SetDepth(height);
    return m_table.Insert(startSlot, r);
}

bool CSokuten::RemoveAt(int slot) { return m_table.RemoveAt(slot); }

bool CSokuten::Grow() { return m_table.Grow(); }

bool CSokuten::HasRoomFor(long long n) const { return m_table.HasRoomFor(n); }

int CSokuten::HitTest(double x, double y, double tolerance) const {
    return HitTestPoints(m_table.Records(), SlotRules::InUse, x, y, tolerance);
}

int CSokuten::FindNearest(double x, double y) const {
    return FindNearestPoint(m_table.Records(), SlotRules::InUse, x, y);
}

void CSokuten::SortByX(std::vector<int>& a) const {
    const int slotCount = m_table.GetSlotCount();
    auto xOf = [&](int slot) {
        return (slot >= 0 && slot < slotCount) ? m_table[slot].GetPos().m_dX : kUnsetCoord;
    };
    CombSortSlots(a, slotCount, [&](int p, int q) {
        const double px = xOf(p);
        const double qx = xOf(q);
        return px >= qx && px - qx >= 1e-10;
    });
}

int CSokuten::FindNearSorted(int& start, int& insert, double x, double y,
                             const std::vector<int>& a) const {
    const int n = std::min<long long>(m_table.GetCount(), static_cast<long long>(a.size()));
    if (start < 0) start = 0;
    auto posOf = [&](int slot) {
        return (slot >= 0 && slot < m_table.GetSlotCount()) ? m_table[slot].GetPos()
                                                            : CPointD::Unset();
    };
    while (start < n && x - 0.1001 > posOf(a[start]).m_dX) ++start;
    insert = start;
    double best = kFarPointSquared;
    int found = -1;
    for (int i = start; i < n; ++i) {
        const CPointD p = posOf(a[i]);
        if (x + 0.1001 < p.m_dX) break;
        if (x > p.m_dX) insert = i + 1;
        if (std::fabs(p.m_dY - y) <= 0.1) {
            const double d2 = (p.m_dX - x) * (p.m_dX - x) + (p.m_dY - y) * (p.m_dY - y);
            // Imported points closer than 0.1 m are the same survey point.
            if (d2 <= 0.01 && d2 < best) {
                best = d2;
                found = a[i];
            }
        }
    }
    return found;
}

void CSokuten::Serialize(CArchive& ar, unsigned nVersion) { m_table.Serialize(ar, nVersion); }

}  // namespace wv
