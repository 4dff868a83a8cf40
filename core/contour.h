// The contour records of a calculation: the display conditions of each figure, the
// generated contour lines with the editing operations the calculation view applies to
// them, and the remembered positions of labelled and erased contour segments.
#pragma once

#include "core/point.h"
#include "platform/archive.h"

#include <cstdint>
#include <vector>

namespace wv {

// Contour and colour display conditions of one figure.
class CContPara {
public:
    CContPara() = default;

    int GetDefined() const { return m_nDefined; }
    void SetDefined(int v) { m_nDefined = v; }
    double GetFrom() const { return m_dFrom; }
    void SetFrom(double v) { m_dFrom = v; }
    double GetTo() const { return m_dTo; }
    void SetTo(double v) { m_dTo = v; }
    double GetInterval() const { return m_dInterval; }
    void SetInterval(double v) { m_dInterval = v; }
    // The count of extra levels; setting it does not touch the array.
    int GetLevelCount() const { return m_nLevel; }
    void SetLevelCount(int n) { m_nLevel = n; }
    // The extra levels themselves (null when none are allocated).
    const double* GetLevels() const { return m_pLevel.empty() ? nullptr : m_pLevel.data(); }
    double* GetLevels() { return m_pLevel.empty() ? nullptr : m_pLevel.data(); }
    // Levels actually held: the count may have been set without allocating.
    std::size_t GetLevelsHeld() const { return m_pLevel.size(); }
    // Copies the level count's worth of values from `src` (nothing for a count <= 0).
    void SetLevels(const double* src);
    double GetColorFrom() const { return m_dColorFrom; }
    void SetColorFrom(double v) { m_dColorFrom = v; }
    double GetColorTo() const { return m_dColorTo; }
    void SetColorTo(double v) { m_dColorTo = v; }
    void AllocLevels();
    void FreeLevels() { std::vector<double>().swap(m_pLevel); }

    void Serialize(CArchive& ar, unsigned nVersion);

    bool operator==(const CContPara&) const = default;

private:
    int m_nDefined = 0;  // 1 once confirmed in the contour dialog
    double m_dFrom = 0.0;
    double m_dTo = 0.0;
    double m_dInterval = 1.0;
    int m_nLevel = 0;
    std::vector<double> m_pLevel;
    double m_dColorFrom = 0.0;
    double m_dColorTo = 0.0;
};

// A set of remembered contour segments: per entry the level, the ordinal of the polyline
// among the polylines of that level, and the index of the segment's start point.
class CContHgtPos {
public:
    CContHgtPos() = default;

    int GetCount() const { return m_nCount; }
    void SetCount(int n) { m_nCount = n; }
    void Alloc();
    void Free();
    double GetLevel(int i) const { return InRange(i, m_pLevel.size()) ? m_pLevel[i] : 0.0; }
    void SetLevel(int i, double v) { if (InRange(i, m_pLevel.size())) m_pLevel[i] = v; }
    int GetLineNo(int i) const { return InRange(i, m_pLineNo.size()) ? m_pLineNo[i] : 0; }
    void SetLineNo(int i, int v) { if (InRange(i, m_pLineNo.size())) m_pLineNo[i] = v; }
    int GetPointNo(int i) const { return InRange(i, m_pPointNo.size()) ? m_pPointNo[i] : 0; }
    void SetPointNo(int i, int v) { if (InRange(i, m_pPointNo.size())) m_pPointNo[i] = v; }

    // Loading refuses a negative ordinal or point index; whoever applies the entries to a
    // contour group checks them against that group.
    void Serialize(CArchive& ar, unsigned nVersion);

    bool operator==(const CContHgtPos&) const = default;

private:
    bool InRange(int i, std::size_t n) const {
        return i >= 0 && i < m_nCount && static_cast<std::size_t>(i) < n;
    }

    int m_nCount = 0;
    std::vector<double> m_pLevel;
    std::vector<int> m_pLineNo;
    std::vector<int> m_pPointNo;
};

// One contour vertex. Its flags describe the segment from it to the next vertex.
class CContPoint {
public:
    CContPoint() = default;
    explicit CContPoint(CPointF p) : m_point(p) {}
    CContPoint(float x, float y) : m_point(x, y) {}

    // The position only; a loaded point has no label, no selection and is drawn.
    void Serialize(CArchive& ar, unsigned nVersion);

    bool operator==(const CContPoint&) const = default;

    CPointF m_point;               // mesh frame
    std::int16_t m_nLabel = 0;     // 1: the segment carries the level label
    std::int16_t m_nSelect = 0;    // 1: selected for erasing
    std::int16_t m_nLine = 1;      // 1: the segment is drawn, 0: erased
};

// One contour line at one level.
class CContPolyLine {
public:
    CContPolyLine() = default;

    int GetCount() const { return m_nCount; }
    void SetCount(int n) { m_nCount = n; }
    double GetLevel() const { return m_dLevel; }
    void SetLevel(double v) { m_dLevel = v; }
    // Count default points (nothing for a count <= 0).
    void AllocPoints();
    void FreePoints() { std::vector<CContPoint>().swap(m_points); }
    bool HasPoints() const { return !m_points.empty(); }
    // Point j; a default point outside 0 .. count - 1.
    CContPoint GetPoint(int j) const { return InRange(j) ? m_points[j] : CContPoint(); }
    void SetPoint(int j, const CContPoint& p) { if (InRange(j)) m_points[j] = p; }
    // Direct access to point j for the editing operations; null outside the range.
    CContPoint* PointAt(int j) { return InRange(j) ? &m_points[j] : nullptr; }

    void Serialize(CArchive& ar, unsigned nVersion);

    bool operator==(const CContPolyLine&) const = default;

private:
    bool InRange(int j) const {
        return j >= 0 && j < m_nCount && static_cast<std::size_t>(j) < m_points.size();
    }

    int m_nCount = 0;
    double m_dLevel = 0.0;
    std::vector<CContPoint> m_points;
};

// The contour lines of the current figure: m_nCount lines in use out of m_nCapacity,
// growing by m_nGrowBy when the tracer runs out.
class CContGroup {
public:
    CContGroup() = default;

    int GetCount() const { return m_nCount; }
    void SetCount(int n) { m_nCount = n; }
    int GetCapacity() const { return m_nCapacity; }
    void SetCapacity(int n) { m_nCapacity = n; }
    int GetGrowBy() const { return m_nGrowBy; }
    void SetGrowBy(int n) { m_nGrowBy = n; }
    // Capacity's worth of empty polylines.
    void AllocLines();
    // Adds the growth step to the capacity, keeping the polylines in use.
    void Grow();
    void FreeLines() { std::vector<CContPolyLine>().swap(m_lines); }

    // Per polyline. Getters answer for the polylines in use (0 or a default outside);
    // setters and AllocPoints act on any allocated polyline (nothing outside).
    int GetPointCount(int i) const { return InUse(i) ? m_lines[i].GetCount() : 0; }
    void SetPointCount(int i, int n) { if (CContPolyLine* l = Slot(i)) l->SetCount(n); }
    void AllocPoints(int i) { if (CContPolyLine* l = Slot(i)) l->AllocPoints(); }
    double GetLevel(int i) const { return InUse(i) ? m_lines[i].GetLevel() : 0.0; }
    void SetLevel(int i, double level) { if (CContPolyLine* l = Slot(i)) l->SetLevel(level); }
    CContPoint GetPoint(int i, int j) const { return InUse(i) ? m_lines[i].GetPoint(j) : CContPoint(); }
    void SetPoint(int i, int j, const CContPoint& p) { if (CContPolyLine* l = Slot(i)) l->SetPoint(j, p); }

    // The drawn segment nearest to (x, y) within 2 x tolerance, among the segments whose
    // start point lies within 4 x tolerance in x and y. *line = -1 when none; *segment is
    // written only when one is found. Of equal distances the later segment wins.
    void HitTest(double x, double y, double tolerance, int* line, int* segment) const;
    // Selects, or deselects when point j is selected, the run of drawn segments through
    // point j of polyline i, up to the erased segments on either side.
    void ToggleRunSelect(int i, int j);
    // Selects every point inside a closed polygon in world coordinates, the mesh lying at
    // `origin` turned by `angle` degrees. True when any point was selected.
    bool SelectPointsInArea(CPointD origin, double angle, const CPointList* polygon);
    void ClearSelect();
    // Erases every segment whose start point is selected.
    void EraseSelectedRuns();
    // Erases every segment whose two ends are selected, and clears the selection.
    void EraseSelectedSegments();

    // Loading refuses a count above the capacity and counts the file cannot hold.
    void Serialize(CArchive& ar, unsigned nVersion);

private:
    bool InUse(int i) const {
        return i >= 0 && i < m_nCount && i < m_nCapacity && static_cast<std::size_t>(i) < m_lines.size();
    }
    // The allocated polyline i (created empty on first use), or null outside the capacity.
    CContPolyLine* Slot(int i);
    template <class F> void ForEachLineInUse(F f);

    int m_nCount = 0;
    int m_nCapacity = 0;
    int m_nGrowBy = 0;
    // Polylines beyond the end of this vector are empty; it holds at most m_nCapacity.
    std::vector<CContPolyLine> m_lines;
};

}  // namespace wv
