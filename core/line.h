// Line segments of the terrain (terrain lines, depth lines, auxiliary lines), each
// joining two survey points, in a growable table of slots. A line's slot number is its
// identity: survey points list the slots of the lines that end at them.
#pragma once

#include "core/point.h"
#include "core/slot_table.h"
#include "platform/archive.h"

#include <vector>

namespace wv {

// Line kinds.
inline constexpr int kLineUndefined = 0;
inline constexpr int kLineTerrain = 1;   // 地形線: shore and other ground lines
inline constexpr int kLineDepth = 2;     // 水深線: carries a depth of its own
inline constexpr int kLineAuxiliary = 3; // 補助線

// Height types of terrain and auxiliary lines.
inline constexpr int kHeightFromPoints = 0;    // 地盤高: heights of the end points
inline constexpr int kBoundaryValid = 1;       // 境界有効: stops interpolation across it
inline constexpr int kBoundaryInvalid = 2;     // 境界無効

class CLineZokusei {
public:
    bool SetStartPos(double x, double y) { m_ptStart = CPointD(x, y); return true; }
    bool SetEndPos(double x, double y) { m_ptEnd = CPointD(x, y); return true; }
    CPointD GetStartPos() const { return m_ptStart; }
    CPointD GetEndPos() const { return m_ptEnd; }
    bool SetStartIndex(int slot) { m_nStartIdx = slot; return true; }
    bool SetEndIndex(int slot) { m_nEndIdx = slot; return true; }
    int GetStartIndex() const { return m_nStartIdx; }
    int GetEndIndex() const { return m_nEndIdx; }
    // -1 free slot; 0 in use; 1 in use and freshly imported (see CLine::RemoveDuplicates).
    bool SetState(int state) { m_nState = state; return true; }
    int GetState() const { return m_nState; }
    bool SetHeightType(int type) { m_nHeightType = type; return true; }
    int GetHeightType() const { return m_nHeightType; }
    // The line's own height, in the sense of a survey point's height.
    bool SetDepth(double height) { m_dDepth = height; return true; }
    double GetDepth() const { return m_dDepth; }
    bool SetKind(int kind) { m_nKind = kind; return true; }
    int GetKind() const { return m_nKind; }

    // The end coordinates are copies of the points' positions and are not stored.
    void Serialize(CArchive& ar, unsigned nVersion);

    bool operator==(const CLineZokusei&) const = default;

private:
    CPointD m_ptStart;
    CPointD m_ptEnd;
    int m_nStartIdx = -1;
    int m_nEndIdx = -1;
    int m_nState = -1;
    int m_nHeightType = kHeightFromPoints;
    double m_dDepth = 0.0;
    int m_nKind = kLineUndefined;
};

class CLine {
    struct SlotRules;
    using Table = SlotTable<CLineZokusei, SlotRules>;

public:
    static constexpr int kInitialSlots = Table::kInitialSlots;
    static constexpr int kInitialGrow = Table::kInitialGrow;

    CLine();

    // Back to the state of a new table: no lines, 5000 free slots.
    void RemoveAll();

    int GetCount() const { return m_table.GetCount(); }
    int GetSlotCount() const { return m_table.GetSlotCount(); }
    int GetGrow() const { return m_table.GetGrow(); }

    // Copy of the record in a slot; a default (free) record for a slot that does not exist.
    CLineZokusei GetAt(int slot) const;
    // Stores a whole record; the live count follows the record's state. False for a slot
    // that does not exist.
    bool SetAt(int slot, CLineZokusei record);

    // Puts a line into the first free slot from slot 0 (or from `startSlot`), growing the
    // table when none is free. The end with the smaller point slot becomes the start.
    // Returns the slot, or -1 with nothing changed when the table is full at its bound
    // (kMaxTableSlots).
    int Add(double startX, double startY, double endX, double endY, int state, int heightType,
            double height, int kind, int pointSlot1, int pointSlot2);
    int AddFrom(int startSlot, double startX, double startY, double endX, double endY, int state,
                int heightType, double height, int kind, int pointSlot1, int pointSlot2);

    // Frees the slot (every field back to its default). A slot that is already free or
    // does not exist is left alone and gives false.
    bool RemoveAt(int slot);

    // Adds the growth step to the slot count; false, nothing changed, when that would not
    // enlarge the table or would take it past kMaxTableSlots.
    bool Grow();
    // Whether n more lines can be added (from slot 0 on) without the table refusing.
    bool HasRoomFor(long long n) const;

    // -1 when a line in use runs from exactly this start slot to this end slot, else 0.
    int Exists(int pointSlot1, int pointSlot2) const;

    // The line nearest to (x, y), measured to the foot of the perpendicular or to the
    // nearer end; the highest slot on ties; -1 when none lies within 1,000,000 m.
    int FindNearest(double x, double y) const;
    // As FindNearest over the kinds the filter admits: 0 undefined and depth lines,
    // 1 depth lines, 2 undefined and terrain lines, 3 terrain lines, 4 undefined and
    // auxiliary lines, 5 auxiliary lines, any other value all lines.
    int FindNearestOfKind(double x, double y, int filter) const;

    // Sorts the first GetSlotCount() entries of an array of line slots by (start slot,
    // end slot), descending, so free slots come last and lines joining the same two
    // points lie next to each other.
    void SortSlots(std::vector<int>& slots) const;
    // After an import: of the lines that join the same two points, keeps the one with
    // the smallest state (an existing line beats a freshly imported one) and deletes the
    // others; then every imported line becomes an ordinary one (state 0).
    void RemoveDuplicates(const std::vector<int>& sortedSlots);

    // Stores the lines in use as (slot, record) pairs. Loading checks the counts, the
    // slot numbers and the states and throws ArchiveError for a damaged file, leaving the
    // table unchanged; the end coordinates come back as (0, 0) and the point slots are
    // left for the owner to check against its point table.
    void Serialize(CArchive& ar, unsigned nVersion);

private:
    int FindNearestAdmitted(double x, double y, int filter) const;

    Table m_table;
};

// The lines of the open project.
extern CLine g_lines;

}  // namespace wv
