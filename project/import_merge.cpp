// Merging imported points and segments into the terrain tables.
//
// The survey points in use are kept in an array sorted by x; each imported point, taken in
// ascending x, is looked up within 0.1 m and, when new, its slot is inserted where the
// lookup says. Done on one flat array, every insertion shifts everything after it, which
// is quadratic on large drawings. The fast merge keeps the same sequence in blocks, so an
// insertion moves one block, and walks it with cursors that mirror the flat array's
// indices exactly: the slots chosen are the same as the flat merge's, slot for slot.
#include "project/import_geometry.h"

#include "calc/grid_interp.h"
#include "core/line.h"
#include "core/sokuten.h"

#include <cmath>
#include <numeric>

namespace wv {

namespace {

// Imported points closer than this in y, and in distance, are one survey point.
constexpr double kSamePoint = 0.1;
constexpr double kSamePointSquared = 0.01;
// The x window of the sorted search, a little wider than the distance so that points at
// exactly 0.1 m are still examined.
constexpr double kWindow = 0.1001;

// The survey points in use as a sequence sorted by x, in blocks.
class BlockedSlotIndex {
public:
    struct Pos {
        std::size_t block = 0;
        std::size_t offset = 0;
        bool operator==(const Pos&) const = default;
    };

    BlockedSlotIndex(const CSokuten& points, const std::vector<int>& sortedLive)
        : m_points(points) {
        for (std::size_t i = 0; i < sortedLive.size(); i += kBlock) {
            const std::size_t end = std::min(sortedLive.size(), i + kBlock);
            m_blocks.emplace_back(sortedLive.begin() + static_cast<std::ptrdiff_t>(i),
                                  sortedLive.begin() + static_cast<std::ptrdiff_t>(end));
        }
    }

    // The same search as CSokuten::FindNearSorted over the flat array, with the running
    // start kept inside the index.
    int FindNear(double x, double y, Pos& insert) {
        while (!AtEnd(m_start) && x - kWindow > XOf(m_start)) Advance(m_start);
        insert = m_start;
        double best = 1e300;
        int found = -1;
        for (Pos p = m_start; !AtEnd(p); Advance(p)) {
            const CPointD q = PosOf(p);
            if (x + kWindow < q.m_dX) break;
            if (x > q.m_dX) {
                insert = p;
                Advance(insert);
            }
            if (std::fabs(q.m_dY - y) <= kSamePoint) {
                const double d2 = (q.m_dX - x) * (q.m_dX - x) + (q.m_dY - y) * (q.m_dY - y);
                if (d2 <= kSamePointSquared && d2 < best) {
                    best = d2;
                    found = SlotAt(p);
                }
            }
        }
        return found;
    }

    // Inserts before the element at `pos` (normalised), as vector::insert at that index
    // would: the running start keeps its index, so it names the new slot when it stood at
    // `pos`.
    void Insert(Pos pos, int slot) {
        if (m_blocks.empty()) {
            m_blocks.push_back({slot});
            m_start = {0, 0};
            return;
        }
        const bool startHere = (m_start == pos);
        if (pos.block == m_blocks.size()) {
            // At the end: append to the last block.
            pos = {m_blocks.size() - 1, m_blocks.back().size()};
        }
        auto& b = m_blocks[pos.block];
        b.insert(b.begin() + static_cast<std::ptrdiff_t>(pos.offset), slot);
        if (startHere) {
            m_start = pos;
        } else if (m_start.block == pos.block && m_start.offset >= pos.offset) {
            ++m_start.offset;
        }
        if (b.size() > 2 * kBlock) Split(pos.block);
        Normalise(m_start);
    }

private:
    static constexpr std::size_t kBlock = 512;

    bool AtEnd(const Pos& p) const { return p.block >= m_blocks.size(); }
    int SlotAt(const Pos& p) const { return m_blocks[p.block][p.offset]; }
    CPointD PosOf(const Pos& p) const {
        const int slot = SlotAt(p);
        return (slot >= 0 && slot < m_points.GetSlotCount()) ? m_points.GetAt(slot).GetPos()
                                                             : CPointD::Unset();
    }
    double XOf(const Pos& p) const { return PosOf(p).m_dX; }
    void Advance(Pos& p) const {
        ++p.offset;
        Normalise(p);
    }
    void Normalise(Pos& p) const {
        while (p.block < m_blocks.size() && p.offset >= m_blocks[p.block].size()) {
            p.offset -= m_blocks[p.block].size();
            ++p.block;
        }
        if (p.block >= m_blocks.size()) p = {m_blocks.size(), 0};
    }
    void Split(std::size_t bi) {
        auto& b = m_blocks[bi];
        const std::size_t mid = b.size() / 2;
        std::vector<int> tail(b.begin() + static_cast<std::ptrdiff_t>(mid), b.end());
        b.resize(mid);
        m_blocks.insert(m_blocks.begin() + static_cast<std::ptrdiff_t>(bi) + 1, std::move(tail));
        if (m_start.block == bi && m_start.offset >= mid) {
            m_start = {bi + 1, m_start.offset - mid};
        } else if (m_start.block > bi) {
            ++m_start.block;
        }
    }

    const CSokuten& m_points;
    std::vector<std::vector<int>> m_blocks;
    Pos m_start;
};

// Order in which the new points are looked up: ascending x, as the importers always did.
std::vector<int> NewPointOrder(const ImportGeometry& g) {
    std::vector<int> order(g.x.size());
    std::iota(order.begin(), order.end(), 0);
    if (!order.empty()) {
        CombSortIndexByValue(g.x.data(), 0, order.data(), static_cast<int>(order.size()));
    }
    return order;
}

// The slot numbers of the table sorted by x: the points in use come first.
std::vector<int> SortedSlots(const CSokuten& points, std::size_t room) {
    std::vector<int> a(static_cast<std::size_t>(points.GetSlotCount()) + room);
    std::iota(a.begin(), a.end(), 0);
    points.SortByX(a);
    return a;
}

int AddNewPoint(CSokuten& points, int& lastSlot, const ImportGeometry& g, int i, bool withHeight) {
    lastSlot = points.AddFromWithDepth(lastSlot + 1, g.x[i], g.y[i], withHeight ? g.height[i] : 0.0,
                                       0);
    return lastSlot;
}

MergeResult AddLines(CSokuten& points, CLine& lines, const ImportGeometry& g,
                     const std::vector<int>& slotOf, int pointsAdded) {
    MergeResult result;
    result.pointsAdded = pointsAdded;
    const int before = lines.GetCount();
    int lastLine = -1;
    for (const ImportSegment& s : g.segments) {
        const int a = slotOf[static_cast<std::size_t>(s.start)];
        const int b = slotOf[static_cast<std::size_t>(s.end)];
        // Both ends fell onto one survey point: no line.
        if (a == b) continue;
        const CSokutenZokusei pa = points.GetAt(a);
        const CSokutenZokusei pb = points.GetAt(b);
        // The line's height is that of the point where the segment starts as read,
        // before AddFrom puts the smaller slot first.
        lastLine = lines.AddFrom(lastLine + 1, pa.GetPos().m_dX, pa.GetPos().m_dY, pb.GetPos().m_dX,
                                 pb.GetPos().m_dY, 1, kHeightFromPoints, pa.GetDepth(), s.kind, a, b);
        if (lastLine < 0) {
            result.full = MergeFull::Lines;
            return result;
        }
    }
    std::vector<int> lineSlots(static_cast<std::size_t>(lines.GetSlotCount()));
    std::iota(lineSlots.begin(), lineSlots.end(), 0);
    lines.SortSlots(lineSlots);
    lines.RemoveDuplicates(lineSlots);
    result.linesAdded = lines.GetCount() - before;
    return result;
}

MergeResult PointsFull(int added) {
    MergeResult r;
    r.pointsAdded = added;
    r.full = MergeFull::Points;
    return r;
}

}  // namespace

bool ImportFits(const CSokuten& points, const CLine& lines, const ImportGeometry& g) {
    return points.HasRoomFor(g.PointCount()) &&
           lines.HasRoomFor(static_cast<long long>(g.segments.size()));
}

MergeResult MergeImport(CSokuten& points, CLine& lines, const ImportGeometry& g, bool withHeight) {
    const std::vector<int> order = NewPointOrder(g);
    std::vector<int> sorted = SortedSlots(points, 0);
    sorted.resize(static_cast<std::size_t>(points.GetCount()));
    BlockedSlotIndex index(points, sorted);

    std::vector<int> slotOf(g.x.size(), -1);
    int lastSlot = -1;
    int added = 0;
    for (int i : order) {
        BlockedSlotIndex::Pos insert;
        int slot = index.FindNear(g.x[i], g.y[i], insert);
        if (slot < 0) {
            slot = AddNewPoint(points, lastSlot, g, i, withHeight);
            if (slot < 0) return PointsFull(added);
            index.Insert(insert, slot);
            ++added;
        }
        slotOf[static_cast<std::size_t>(i)] = slot;
    }
    return AddLines(points, lines, g, slotOf, added);
}

MergeResult MergeImportReference(CSokuten& points, CLine& lines, const ImportGeometry& g,
                                 bool withHeight) {
    const std::vector<int> order = NewPointOrder(g);
    std::vector<int> a = SortedSlots(points, g.x.size());
    std::vector<int> slotOf(g.x.size(), -1);
    int start = 0;
    int lastSlot = -1;
    int added = 0;
    for (int i : order) {
        int insert = 0;
        int slot = points.FindNearSorted(start, insert, g.x[i], g.y[i], a);
        if (slot < 0) {
            slot = AddNewPoint(points, lastSlot, g, i, withHeight);
            if (slot < 0) return PointsFull(added);
            a.insert(a.begin() + insert, slot);
            a.pop_back();
            ++added;
        }
        slotOf[static_cast<std::size_t>(i)] = slot;
    }
    return AddLines(points, lines, g, slotOf, added);
}

}  // namespace wv
