// The depth contours of the depth-check figure, traced over the triangulated mesh: the
// contour points with their levels, and the segments as pairs of point indices.
#pragma once

#include "core/point.h"
#include "platform/archive.h"

#include <vector>

namespace wv {

class CHCheckPoint {
public:
    CHCheckPoint() = default;

    int GetCount() const { return m_nCount; }
    void SetCount(int n) { m_nCount = n; }
    // Both arrays for the current count (nothing for a count <= 0).
    void Alloc();
    // Appends n entries (points at (0, 0), levels 0) for the next contour level.
    void Extend(int n);
    void Free();
    CPointF GetPoint(int i) const { return InRange(i) ? m_points[i] : CPointF(); }
    void SetPoint(int i, CPointF p) { if (InRange(i)) m_points[i] = p; }
    float GetValue(int i) const { return InRange(i) ? m_values[i] : 0.0f; }
    void SetValue(int i, float level) { if (InRange(i)) m_values[i] = level; }

    void Serialize(CArchive& ar, unsigned nVersion);

    bool operator==(const CHCheckPoint&) const = default;

private:
    bool InRange(int i) const {
        return i >= 0 && i < m_nCount && static_cast<std::size_t>(i) < m_points.size();
    }

    int m_nCount = 0;
    std::vector<CPointF> m_points;  // mesh frame
    std::vector<float> m_values;    // contour level (depth) of each point
};

class CHCheckLine {
public:
    CHCheckLine() = default;

    int GetCount() const { return m_nCount; }
    void SetCount(int n) { m_nCount = n; }
    float GetMinDepth() const { return m_fMinDepth; }
    void SetMinDepth(float v) { m_fMinDepth = v; }
    float GetMaxDepth() const { return m_fMaxDepth; }
    void SetMaxDepth(float v) { m_fMaxDepth = v; }
    void Alloc();
    void Extend(int n);
    void Free();
    int GetStart(int i) const { return InRange(i) ? m_starts[i] : 0; }
    void SetStart(int i, int index) { if (InRange(i)) m_starts[i] = index; }
    int GetEnd(int i) const { return InRange(i) ? m_ends[i] : 0; }
    void SetEnd(int i, int index) { if (InRange(i)) m_ends[i] = index; }

    // The depth range is not stored: the triangulation sets it, and so does the
    // side-archive reader after loading.
    void Serialize(CArchive& ar, unsigned nVersion);
    // The segments refer to the points by index, and the points are a record of their
    // own: after loading both, the reader calls this to refuse a file whose segments
    // point outside the point table. Throws ArchiveError.
    void CheckPointIndices(int pointCount) const;

    bool operator==(const CHCheckLine&) const = default;

private:
    bool InRange(int i) const {
        return i >= 0 && i < m_nCount && static_cast<std::size_t>(i) < m_starts.size();
    }

    int m_nCount = 0;
    float m_fMinDepth = 0.0f;  // smallest node depth of the triangulated mesh
    float m_fMaxDepth = 0.0f;  // largest
    std::vector<int> m_starts;  // the tracer puts the smaller point index here
    std::vector<int> m_ends;
};

}  // namespace wv
