// Land blocks: each is one reference point on the land side of a terrain line, from
// which the depth calculation traces the block's outline. The outlines of one
// calculation are kept in a CBlkXY, which the calculation document owns.
#pragma once

#include "core/point.h"
#include "core/table_limits.h"
#include "platform/archive.h"

#include <vector>

namespace wv {

class CBlockZokusei {
public:
    CPointD GetPos() const { return m_ptPos; }
    bool SetPos(double x, double y) { m_ptPos = CPointD(x, y); return true; }

    void Serialize(CArchive& ar, unsigned nVersion);

    bool operator==(const CBlockZokusei&) const = default;

private:
    CPointD m_ptPos;  // reference point on the land side, world coordinates
};

// A dense table: blocks are addressed by position, and removing one moves the later ones
// down.
class CBlock {
public:
    static constexpr int kInitialCapacity = 10;
    static constexpr int kInitialGrow = 10;
    static_assert((kMaxTableSlots - kInitialCapacity) % kInitialGrow == 0,
                  "a table that grows all it may must end exactly at the bound");

    CBlock();

    // Back to the state of a new table: no blocks, room for 10.
    void RemoveAll();

    int GetCount() const { return m_nCount; }
    int GetCapacity() const { return m_nCapacity; }
    int GetGrow() const { return m_nGrow; }

    // Copy of the block at a position; a default record for a position that does not exist.
    CBlockZokusei GetAt(int pos) const;

    // Appends a block, growing first when the table is full. Returns the new count (not
    // the position), or -1 with nothing changed when the capacity is at kMaxTableSlots.
    int Add(double x, double y);
    // Whether one more block can be added.
    bool HasRoom() const;
    // Removes the block at a position and moves the later ones down. False for a position
    // outside 0 to GetCount() - 1.
    bool RemoveAt(int pos);
    // The block whose reference point is nearest (Euclidean); the lowest position on ties;
    // any non-empty table gives a block however far. -1 for an empty table.
    int FindNearest(double x, double y) const;
    // Adds the growth step to the capacity; false, nothing changed, when that would not
    // enlarge the table or would take it past kMaxTableSlots.
    bool Grow();

    // Loading checks the counts and throws ArchiveError for a damaged file, leaving the
    // table unchanged.
    void Serialize(CArchive& ar, unsigned nVersion);

private:
    void Reset();

    int m_nCount;
    int m_nCapacity;
    int m_nGrow;
    std::vector<CBlockZokusei> m_items;
};

// The closed outlines of the land blocks of one calculation, in world coordinates, the
// last vertex of each repeating its first. Filled in the order SetCount, AllocOutlines,
// then per outline SetPointCount, AllocPoints, SetPoints; emptied by FreeAll followed by
// SetCount(0).
class CBlkXY {
public:
    CBlkXY() = default;

    int GetCount() const { return m_nCount; }
    // Changes only the count; the arrays come with AllocOutlines.
    void SetCount(int count) { m_nCount = count; }
    // For a positive count: a vertex count of 0 and no vertex array for every outline.
    void AllocOutlines();

    // Vertex count of an outline; 0 for an outline that does not exist.
    int GetPointCount(int outline) const;
    void SetPointCount(int outline, int count);
    // Makes the outline's array of GetPointCount() default points (none for a count of 0
    // or less).
    void AllocPoints(int outline);
    // The outline's vertices, or null when it has no array.
    CPointD* GetPoints(int outline);
    const CPointD* GetPoints(int outline) const;
    // Copies GetPointCount() vertices into the outline's array.
    void SetPoints(int outline, const CPointD* points);

    // Frees every array; the count stays.
    void FreeAll();

    // Loading checks the counts against the data and throws ArchiveError for a damaged
    // file, leaving the record unchanged.
    void Serialize(CArchive& ar, unsigned nVersion);

private:
    bool HasOutline(int outline) const {
        return outline >= 0 && static_cast<std::size_t>(outline) < m_pointCounts.size();
    }

    int m_nCount = 0;
    std::vector<int> m_pointCounts;
    std::vector<std::vector<CPointD>> m_points;
};

// The land blocks of the open project.
extern CBlock g_blocks;

}  // namespace wv
