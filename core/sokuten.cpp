#include "core/sokuten.h"

#include "core/table_limits.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <string>

namespace wv {

CSokuten g_surveyPoints;

namespace {

// Squared distance that every nearest-point search starts from: a point 31622.78 m or
// more away is never found.
constexpr double kFarSquared = 999999999.999;

// Comb-sort gap sequence shared by the slot sorts: shrink by 1.3, never below 1, and skip
// 9 and 10, which sort noticeably worse than 11.
int NextGap(int gap) {
    gap = static_cast<int>(gap / 1.3);
    if (gap < 1) gap = 1;
    if (gap == 9 || gap == 10) gap = 11;
    return gap;
}

}  // namespace

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
    CArchive::CheckRange(r.m_nLineCount, 0, kMaxLines, "link count of a survey point");
    for (int i = 0; i < r.m_nLineCount; ++i) ar >> r.m_nLine[i];
    // Heights of the points themselves came with version 6; older files kept them on
    // the lines only, and the project load copies them over.
    if (nVersion > 5) ar >> r.m_dDepth;
    *this = r;
}

// --- CSokuten ---

CSokuten::CSokuten() { Reset(); }

void CSokuten::Reset() {
    m_nCount = 0;
    m_nSlotCount = kInitialSlots;
    m_nGrow = kInitialGrow;
    m_slots.assign(kInitialSlots, CSokutenZokusei());
    m_ptExtent1 = CPointD(-999999.999, -999999.999);
    m_ptExtent2 = CPointD(999999.999, 999999.999);
}

void CSokuten::RemoveAll() {
    // Release the old array before the fresh one is made, as a reset after a big project
    // should not need both at once.
    std::vector<CSokutenZokusei>().swap(m_slots);
    Reset();
}

CSokutenZokusei CSokuten::GetAt(int slot) const {
    if (slot < 0 || slot >= m_nSlotCount) return CSokutenZokusei();
    return m_slots[slot];
}

bool CSokuten::SetAt(int slot, CSokutenZokusei record) {
    if (slot < 0 || slot >= m_nSlotCount) return false;
    const bool wasInUse = m_slots[slot].GetId() >= 0;
    const bool nowInUse = record.GetId() >= 0;
    m_nCount += static_cast<int>(nowInUse) - static_cast<int>(wasInUse);
    m_slots[slot] = record;
    return true;
}

int CSokuten::Add(double x, double y, int state) { return AddFromWithDepth(0, x, y, 0.0, state); }

int CSokuten::AddFrom(int startSlot, double x, double y, int state) {
    return AddFromWithDepth(startSlot, x, y, 0.0, state);
}

int CSokuten::AddFromWithDepth(int startSlot, double x, double y, double height, int state) {
    int slot = startSlot < 0 ? 0 : startSlot;
    while (slot < m_nSlotCount && m_slots[slot].GetId() >= 0) ++slot;
    if (slot >= m_nSlotCount) {
        slot = m_nSlotCount;
        // Growing fails only when the slot count would overflow, which no memory could
        // hold: treat it as the allocation failure it stands for.
        if (!Grow()) throw std::bad_alloc();
    }
    CSokutenZokusei r;
    r.SetPos(x, y);
    r.SetId(state);
    r.SetDepth(height);
    m_slots[slot] = r;
    if (state >= 0) ++m_nCount;
    return slot;
}

bool CSokuten::RemoveAt(int slot) {
    if (slot < 0 || slot >= m_nSlotCount) return false;
    CSokutenZokusei& r = m_slots[slot];
    // Freeing a free slot again must not lower the count, or the file written next
    // would announce fewer points than it holds.
    if (r.GetId() < 0) return false;
    r.SetId(-1);
    r.SetPos(kUnsetCoord, kUnsetCoord);
    r.ClearLines();
    --m_nCount;
    return true;
}

bool CSokuten::Grow() {
    const long long newCount = static_cast<long long>(m_nSlotCount) + m_nGrow;
    if (newCount < 1 || newCount <= m_nSlotCount || newCount > INT32_MAX) return false;
    m_slots.resize(static_cast<std::size_t>(newCount));
    m_nSlotCount = static_cast<int>(newCount);
    return true;
}

int CSokuten::HitTest(double x, double y, double tolerance) const {
    double best = kFarSquared;
    int found = -1;
    for (int i = 0; i < m_nSlotCount; ++i) {
        const CSokutenZokusei& r = m_slots[i];
        if (r.GetId() < 0) continue;
        const CPointD p = r.GetPos();
        // The square box is only a cheap pre-filter; the pick itself is by distance.
        if (std::fabs(p.m_dX - x) > tolerance || std::fabs(p.m_dY - y) > tolerance) continue;
        const double d2 = (p.m_dX - x) * (p.m_dX - x) + (p.m_dY - y) * (p.m_dY - y);
        if (d2 < best) {
            best = d2;
            found = i;
        }
    }
    if (std::sqrt(best) >= tolerance) return -1;
    return found;
}

int CSokuten::FindNearest(double x, double y) const {
    double best = kFarSquared;
    int found = -1;
    for (int i = 0; i < m_nSlotCount; ++i) {
        const CSokutenZokusei& r = m_slots[i];
        if (r.GetId() < 0) continue;
        const CPointD p = r.GetPos();
        const double d2 = (p.m_dX - x) * (p.m_dX - x) + (p.m_dY - y) * (p.m_dY - y);
        if (d2 < best) {
            best = d2;
            found = i;
        }
    }
    return found;
}

void CSokuten::SortByX(std::vector<int>& a) const {
    const int n = std::min<long long>(m_nSlotCount, static_cast<long long>(a.size()));
    auto xOf = [&](int slot) {
        return (slot >= 0 && slot < m_nSlotCount) ? m_slots[slot].GetPos().m_dX : kUnsetCoord;
    };
    int gap = n;
    for (;;) {
        gap = NextGap(gap);
        int swaps = 0;
        for (int j = 0; j < n - gap; ++j) {
            const double px = xOf(a[j]);
            const double qx = xOf(a[j + gap]);
            if (px >= qx && px - qx >= 1e-10) {
                std::swap(a[j], a[j + gap]);
                ++swaps;
            }
        }
        if (gap == 1 && swaps == 0) break;
    }
}

int CSokuten::FindNearSorted(int& start, int& insert, double x, double y,
                             const std::vector<int>& a) const {
    const int n = std::min<long long>(m_nCount, static_cast<long long>(a.size()));
    if (start < 0) start = 0;
    auto posOf = [&](int slot) {
        return (slot >= 0 && slot < m_nSlotCount) ? m_slots[slot].GetPos() : CPointD::Unset();
    };
    while (start < n && x - 0.1001 > posOf(a[start]).m_dX) ++start;
    insert = start;
    double best = kFarSquared;
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

int CSokuten::CountInUse() const {
    int n = 0;
    for (const CSokutenZokusei& r : m_slots)
        if (r.GetId() >= 0) ++n;
    return n;
}

void CSokuten::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        // The count written is the number of records that follow, whatever a caller did
        // to the live count, so that the file always reads back.
        ar << static_cast<std::int32_t>(CountInUse()) << m_nSlotCount << m_nGrow;
        for (int i = 0; i < m_nSlotCount; ++i) {
            if (m_slots[i].GetId() < 0) continue;
            ar << static_cast<std::int32_t>(i);
            m_slots[i].Serialize(ar, nVersion);
        }
        return;
    }
    std::int32_t count, slotCount, grow;
    ar >> count >> slotCount >> grow;
    CArchive::CheckRange(slotCount, 0, kMaxTableSlots, "slot count of the survey points");
    CArchive::CheckRange(grow, 1, kMaxTableSlots, "growth step of the survey points");
    // Smallest stored pair: slot, position, state, link count (and the height from 6 on).
    const std::size_t minPair = 4 + 16 + 4 + 4 + (nVersion > 5 ? 8 : 0);
    ar.CheckCount(count, slotCount, minPair, "survey points");

    std::vector<CSokutenZokusei> slots(static_cast<std::size_t>(slotCount));
    for (int k = 0; k < count; ++k) {
        std::int32_t slot;
        ar >> slot;
        CArchive::CheckRange(slot, 0, slotCount - 1, "survey point slot");
        if (slots[slot].GetId() >= 0)
            throw ArchiveError("survey point slot " + std::to_string(slot) + " is stored twice");
        CSokutenZokusei r;
        r.Serialize(ar, nVersion);
        // Only points in use are written; a free state here would make the count lie.
        if (r.GetId() < 0)
            throw ArchiveError("survey point in slot " + std::to_string(slot) +
                               " is stored with a free state");
        slots[slot] = r;
    }
    m_nCount = count;
    m_nSlotCount = slotCount;
    m_nGrow = grow;
    m_slots.swap(slots);
}

}  // namespace wv
