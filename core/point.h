// The two point records every terrain and calculation record is built from, and the
// point list the views use for polygon input.
#pragma once

#include "platform/archive.h"

#include <list>

namespace wv {

// Marker of a world or mesh position that is not set yet.
inline constexpr double kUnsetCoord = 99999999.999;
// Marker of a drawing-condition point (floats) that is not set yet.
inline constexpr float kUnsetCoordF = 99999000.0f;

class CPointD {
public:
    CPointD() = default;
    CPointD(double x, double y) : m_dX(x), m_dY(y) {}
    static CPointD Unset() { return CPointD(kUnsetCoord, kUnsetCoord); }

    void Serialize(CArchive& ar, unsigned nVersion);
    bool operator==(const CPointD&) const = default;

    double m_dX = 0.0;
    double m_dY = 0.0;
};

class CPointF {
public:
    CPointF() = default;
    CPointF(float x, float y) : m_fX(x), m_fY(y) {}

    void Serialize(CArchive& ar, unsigned nVersion);
    bool operator==(const CPointF&) const = default;

    float m_fX = 0.0f;
    float m_fY = 0.0f;
};

// An ordered list of points; a closed polygon repeats its first point as its last.
// Positions behave like the framework's list positions: an iterator, or "none" past
// either end.
class CPointList {
public:
    using POSITION = std::list<CPointD>::const_iterator;

    explicit CPointList(const CPointD& first) { m_points.push_back(first); }

    int GetCount() const { return static_cast<int>(m_points.size()); }
    bool IsEmpty() const { return m_points.empty(); }
    POSITION AddTail(const CPointD& p) { m_points.push_back(p); return std::prev(m_points.end()); }
    void RemoveAll() { m_points.clear(); }

    // "No position": the end of the list.
    POSITION None() const { return m_points.end(); }
    POSITION GetHeadPosition() const { return m_points.begin(); }
    POSITION GetTailPosition() const { return m_points.empty() ? m_points.end() : std::prev(m_points.end()); }
    CPointD GetHead() const { return m_points.front(); }
    CPointD GetTail() const { return m_points.back(); }
    CPointD GetNext(POSITION& pos) const { CPointD p = *pos; ++pos; return p; }
    CPointD GetPrev(POSITION& pos) const {
        CPointD p = *pos;
        pos = (pos == m_points.begin()) ? m_points.end() : std::prev(pos);
        return p;
    }
    // Copy of the point at a 0-based index; (0, 0) outside the list.
    CPointD GetAt(int index) const;

    const std::list<CPointD>& Points() const { return m_points; }

private:
    std::list<CPointD> m_points;
};

}  // namespace wv
