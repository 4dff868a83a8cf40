// Survey points: the vertices of the project's terrain, each with its height and the
// lines that end at it, in a growable table of slots. A point's slot number is its
// identity: lines name their end points by slot, and slots never move.
#pragma once

#include "core/point.h"
#include "core/slot_table.h"
#include "platform/archive.h"

#include <array>
#include <vector>

namespace wv {

class CSokutenZokusei {
public:
    static constexpr int kMaxLines = 8;

    CSokutenZokusei() { m_nLine.fill(-1); }

    CPointD GetPos() const { return m_ptPos; }
    bool SetPos(double x, double y) { m_ptPos = CPointD(x, y); return true; }
    // Slot state: negative = free slot, 0 = point in use.
    int GetId() const { return m_nState; }
    bool SetId(int state) { m_nState = state; return true; }
    // Height of the ground or sea bed, metres on the tide datum (depth = tide - height).
    double GetDepth() const { return m_dDepth; }
    bool SetDepth(double height) { m_dDepth = height; return true; }

    int GetLineCount() const { return m_nLineCount; }
    // Entry i (0 to 7) of the line list; -1 beyond the valid entries.
    int GetLine(int i) const { return (i >= 0 && i < kMaxLines) ? m_nLine[i] : -1; }
    bool ClearLines();
    // False, and nothing stored, when the point already lists eight lines.
    bool AddLine(int lineSlot);

    void Serialize(CArchive& ar, unsigned nVersion);

    bool operator==(const CSokutenZokusei&) const = default;

private:
    CPointD m_ptPos = CPointD::Unset();
    int m_nState = -1;
    // Slots of the lines that end here; derived data, rebuilt by UpdatePointLineLinks.
    std::array<int, kMaxLines> m_nLine;
    int m_nLineCount = 0;
    double m_dDepth = 0.0;
};

class CSokuten {
    struct SlotRules;
    using Table = SlotTable<CSokutenZokusei, SlotRules>;

public:
    static constexpr int kInitialSlots = Table::kInitialSlots;
    static constexpr int kInitialGrow = Table::kInitialGrow;

    CSokuten();

    // Back to the state of a new table: no points, 5000 free slots, extent reset.
    void RemoveAll();

    int GetCount() const { return m_table.GetCount(); }
    int GetSlotCount() const { return m_table.GetSlotCount(); }
    int GetGrow() const { return m_table.GetGrow(); }

    // Copy of the record in a slot; a default (free) record for a slot that does not exist.
    CSokutenZokusei GetAt(int slot) const;
    // Stores a whole record. The live count follows the record's state, so that it always
    // equals the number of slots in use. False for a slot that does not exist.
    bool SetAt(int slot, CSokutenZokusei record);

    // Corners of the extent kept for the views' whole-drawing display; not stored.
    CPointD GetExtentPt1() const { return m_ptExtent1; }
    CPointD GetExtentPt2() const { return m_ptExtent2; }
    bool SetExtentPt1(CPointD p) { m_ptExtent1 = p; return true; }
    bool SetExtentPt2(CPointD p) { m_ptExtent2 = p; return true; }

    // Put a point into the first free slot from slot 0 (or from `startSlot`), growing the
    // table when none is free. The new point has no links and height 0.0 unless given.
    // Returns its slot, or -1 with nothing changed when the table is full at its bound
    // (kMaxTableSlots).
    int Add(double x, double y, int state);
    int AddFrom(int startSlot, double x, double y, int state);
    int AddFromWithDepth(int startSlot, double x, double y, double height, int state);

    // Frees the slot (state -1, position not set, no links; the height stays). A slot that
    // is already free or does not exist is left alone and gives false.
    bool RemoveAt(int slot);

    // Adds the growth step to the slot count. False, with nothing changed, when that
    // would not enlarge the table or would take it past kMaxTableSlots.
    bool Grow();
    // Whether n more points can be added (from slot 0 on) without the table refusing.
    bool HasRoomFor(long long n) const;

    // The point picked at (x, y): strictly nearer than `tolerance`, the nearest of those,
    // the lowest slot on ties. -1 when none.
    int HitTest(double x, double y, double tolerance) const;
    // The nearest point in use, lowest slot on ties; -1 when there is none within
    // 31622.78 m (the search starts from a squared distance of 999999999.999).
    int FindNearest(double x, double y) const;

    // Sorts the first GetSlotCount() entries of an array of slot numbers by the x of their
    // points (comb sort; x values closer than 1e-10 count as equal). Free slots, whose
    // position is not set, end up behind the points in use.
    void SortByX(std::vector<int>& slots) const;
    // Looks for an existing point within 0.1 of (x, y) among the first GetCount()
    // entries of an array sorted by SortByX. `start` only moves forward, so a caller that
    // looks up points in ascending x keeps one start variable; `insert` receives the
    // position at which a new point's slot keeps the array sorted. Returns the slot of the
    // point found, or -1.
    int FindNearSorted(int& start, int& insert, double x, double y,
                       const std::vector<int>& slots) const;

    // Stores the points in use as (slot, record) pairs. Loading checks the counts, the
    // slot numbers, the states and the link counts against what the table can hold and
    // throws ArchiveError for a damaged file, leaving the table unchanged.
    void Serialize(CArchive& ar, unsigned nVersion);

private:
    void ResetExtent();

    Table m_table;
    CPointD m_ptExtent1;
    CPointD m_ptExtent2;
};

// The survey points of the open project.
extern CSokuten g_surveyPoints;

}  // namespace wv
