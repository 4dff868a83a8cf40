// What the terrain tables of slots have in common. In the survey-point and line tables a
// record's slot number is its identity (lines name their end points by slot, points list
// their lines by slot), so records never move: a removed record leaves a free slot, an
// added one takes the first free slot, and the table grows at the end when none is free.
#pragma once

#include "core/messages.h"
#include "core/point.h"
#include "core/table_limits.h"
#include "platform/archive.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace wv {

// A growable table of slots holding `Record`s. `Rules` says what differs between kinds
// of record:
//   static bool InUse(const Record&)            false for the record of a free slot
//   static void Free(Record&)                   turns a record in use into a free one
//   static std::size_t MinStoredPair(unsigned)  fewest bytes a stored (slot, record) pair
//                                               takes in a file of that version
//   static constexpr const char* kName, kNames  the record in error messages (core/messages.h), singular
//                                               and plural
// A default-constructed Record is free.
template <class Record, class Rules>
class SlotTable {
public:
    static constexpr int kInitialSlots = 5000;
    static constexpr int kInitialGrow = 1000;
    static_assert((kMaxTableSlots - kInitialSlots) % kInitialGrow == 0,
                  "a table that grows all it may must end exactly at the bound");

    SlotTable() { Reset(); }

    // Back to the state of a new table. The old array goes before the fresh one is made,
    // as a reset after a big project should not need both at once.
    void RemoveAll() {
        std::vector<Record>().swap(m_slots);
        Reset();
    }

    int GetCount() const { return m_nCount; }
    int GetSlotCount() const { return m_nSlotCount; }
    int GetGrow() const { return m_nGrow; }

    // Every slot, free or not, in slot order.
    std::span<const Record> Records() const { return {m_slots.data(), m_slots.size()}; }
    // The record of a slot that exists (0 to GetSlotCount() - 1), unchecked.
    const Record& operator[](int slot) const { return m_slots[slot]; }

    Record GetAt(int slot) const {
        if (slot < 0 || slot >= m_nSlotCount) return Record();
        return m_slots[slot];
    }

    // The live count follows the record's state, so that it always equals the number of
    // slots in use.
    bool SetAt(int slot, const Record& record) {
        if (slot < 0 || slot >= m_nSlotCount) return false;
        const bool wasInUse = Rules::InUse(m_slots[slot]);
        const bool nowInUse = Rules::InUse(record);
        m_nCount += static_cast<int>(nowInUse) - static_cast<int>(wasInUse);
        m_slots[slot] = record;
        return true;
    }

    // Puts the record into the first free slot from `startSlot` (from 0 when negative),
    // growing the table when none is free. Returns the slot, or -1 with nothing changed
    // when the table is full and may not grow (kMaxTableSlots).
    int Insert(int startSlot, const Record& record) {
        int slot = startSlot < 0 ? 0 : startSlot;
        while (slot < m_nSlotCount && Rules::InUse(m_slots[slot])) ++slot;
        if (slot >= m_nSlotCount) {
            slot = m_nSlotCount;
            if (!Grow()) return -1;
        }
        m_slots[slot] = record;
        // A record stored free does not count, so the count never runs ahead of the records.
        if (Rules::InUse(record)) ++m_nCount;
        return slot;
    }

    // Whether `n` more records fit, in free slots or in the growth the bound still
    // allows. The adding operations take the free slots from the start slot they are
    // given, so this holds for adds from slot 0 or from the slot after the last one added.
    bool HasRoomFor(long long n) const {
        const long long free = static_cast<long long>(m_nSlotCount) - m_nCount;
        return n <= free + GrowthRoom(m_nSlotCount, m_nGrow);
    }

    bool RemoveAt(int slot) {
        if (slot < 0 || slot >= m_nSlotCount) return false;
        // Freeing a free slot again must not lower the count, or the file written next
        // would announce fewer records than it holds.
        if (!Rules::InUse(m_slots[slot])) return false;
        Rules::Free(m_slots[slot]);
        --m_nCount;
        return true;
    }

    // Adds the growth step to the slot count. False, with nothing changed, when that
    // would not enlarge the table or would take it past the slot count that a project
    // file may hold.
    bool Grow() {
        const long long newCount = static_cast<long long>(m_nSlotCount) + m_nGrow;
        if (newCount < 1 || newCount <= m_nSlotCount || newCount > kMaxTableSlots) return false;
        // The array doubles as it fills, so that adding a point stays cheap however many
        // there are, but never holds more than the bound.
        const std::size_t wanted = static_cast<std::size_t>(newCount);
        if (wanted > m_slots.capacity())
            m_slots.reserve(std::min<std::size_t>(std::max(wanted, 2 * m_slots.capacity()),
                                                  static_cast<std::size_t>(kMaxTableSlots)));
        m_slots.resize(wanted);
        m_nSlotCount = static_cast<int>(newCount);
        return true;
    }

    // The count, the slot count and the growth step, then the records in use as (slot,
    // record) pairs. Loading checks every count and slot against what the table and the
    // rest of the file can hold and throws ArchiveError for a damaged file; the records
    // go into a fresh array, so the table is unchanged until all of them have been read.
    void Serialize(CArchive& ar, unsigned nVersion) {
        if (ar.IsStoring()) {
            // The count written is the number of records that follow, whatever a caller
            // did to the live count, so that the file always reads back.
            ar << static_cast<std::int32_t>(CountInUse()) << m_nSlotCount << m_nGrow;
            for (int i = 0; i < m_nSlotCount; ++i) {
                if (!Rules::InUse(m_slots[i])) continue;
                ar << static_cast<std::int32_t>(i);
                m_slots[i].Serialize(ar, nVersion);
            }
            return;
        }
        const std::string name = Rules::kName;
        const std::string names = Rules::kNames;
        std::int32_t count, slotCount, grow;
        ar >> count >> slotCount >> grow;
        CArchive::CheckRange(slotCount, 0, kMaxTableSlots, Sprintf(msg::kWhatTableSize, names.c_str()).c_str());
        CArchive::CheckRange(grow, 1, kMaxTableSlots, Sprintf(msg::kWhatTableGrowth, names.c_str()).c_str());
        ar.CheckCount(count, slotCount, Rules::MinStoredPair(nVersion), Rules::kNames);

        const std::string slotWhat = Sprintf(msg::kWhatSlot, name.c_str());
        std::vector<Record> slots(static_cast<std::size_t>(slotCount));
        for (int k = 0; k < count; ++k) {
            std::int32_t slot;
            ar >> slot;
            CArchive::CheckRange(slot, 0, slotCount - 1, slotWhat.c_str());
            if (Rules::InUse(slots[slot]))
                throw ArchiveError(Sprintf(msg::kSlotStoredTwice, name.c_str(), static_cast<int>(slot)));
            Record r;
            r.Serialize(ar, nVersion);
            // Only records in use are written; a free state here would make the count lie.
            if (!Rules::InUse(r))
                throw ArchiveError(Sprintf(msg::kSlotStoredFree, static_cast<int>(slot), name.c_str()));
            slots[slot] = r;
        }
        m_nCount = count;
        m_nSlotCount = slotCount;
        m_nGrow = grow;
        m_slots.swap(slots);
    }

private:
    void Reset() {
        m_nCount = 0;
        m_nSlotCount = kInitialSlots;
        m_nGrow = kInitialGrow;
        m_slots.assign(kInitialSlots, Record());
    }

    int CountInUse() const {
        int n = 0;
        for (const Record& r : m_slots)
            if (Rules::InUse(r)) ++n;
        return n;
    }

    int m_nCount;
    int m_nSlotCount;
    int m_nGrow;
    std::vector<Record> m_slots;
};

// Comb-sorts the first `slotCount` entries of an array of slot numbers (all of them when
// the array is shorter). `mustSwap(p, q)` says whether slot p, standing before slot q,
// belongs behind it.
template <class MustSwap>
void CombSortSlots(std::vector<int>& a, int slotCount, MustSwap mustSwap) {
    const int n = std::min<long long>(slotCount, static_cast<long long>(a.size()));
    int gap = n;
    for (;;) {
        // Shrink by 1.3, never below 1, and skip 9 and 10, which sort noticeably worse
        // than 11.
        gap = static_cast<int>(gap / 1.3);
        if (gap < 1) gap = 1;
        if (gap == 9 || gap == 10) gap = 11;
        int swaps = 0;
        for (int j = 0; j < n - gap; ++j) {
            if (mustSwap(a[j], a[j + gap])) {
                std::swap(a[j], a[j + gap]);
                ++swaps;
            }
        }
        if (gap == 1 && swaps == 0) break;
    }
}

// Squared distance that every nearest-point search starts from: a point 31622.78 m or
// more away is never found.
inline constexpr double kFarPointSquared = 999999999.999;

struct PointPick {
    int slot = -1;
    double dist2 = kFarPointSquared;
};

// The nearest of the records (each with a GetPos()) that `inUse` admits, lowest slot on
// ties, passing over those farther than `box` along x or y.
template <class Records, class InUse>
PointPick NearestPointInBox(const Records& records, InUse inUse, double x, double y,
                            double box) {
    PointPick best;
    for (int i = 0; i < static_cast<int>(records.size()); ++i) {
        const auto& r = records[i];
        if (!inUse(r)) continue;
        const CPointD p = r.GetPos();
        if (std::fabs(p.m_dX - x) > box || std::fabs(p.m_dY - y) > box) continue;
        const double d2 = (p.m_dX - x) * (p.m_dX - x) + (p.m_dY - y) * (p.m_dY - y);
        if (d2 < best.dist2) {
            best.dist2 = d2;
            best.slot = i;
        }
    }
    return best;
}

// The point picked at (x, y): strictly nearer than `tolerance`, the nearest of those, the
// lowest slot on ties. -1 when none.
template <class Records, class InUse>
int HitTestPoints(const Records& records, InUse inUse, double x, double y,
                  double tolerance) {
    // The square box is only a cheap pre-filter; the pick itself is by distance.
    const PointPick pick = NearestPointInBox(records, inUse, x, y, tolerance);
    if (std::sqrt(pick.dist2) >= tolerance) return -1;
    return pick.slot;
}

// The nearest point in use, lowest slot on ties; -1 when none lies within 31622.78 m.
template <class Records, class InUse>
int FindNearestPoint(const Records& records, InUse inUse, double x, double y) {
    return NearestPointInBox(records, inUse, x, y, std::numeric_limits<double>::infinity())
        .slot;
}

}  // namespace wv
