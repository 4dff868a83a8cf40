// World <-> view coordinate conversion of one view. Each view (calculation and project)
// holds one and converts every drawing, hit test and mouse position through it.
//
// World coordinates are metres with y up. View (logical) coordinates have y down: a world
// point is rotated by the view angle about the world origin, scaled, placed on the view
// offset, and its y is turned as 30000 - y.
#pragma once

#include "core/point.h"

namespace wv {

class CCoordWnd {
public:
    // The logical y axis is turned about this value.
    static constexpr double kTurnY = 30000.0;
    static constexpr int kDefaultOffset = 15000;

    int GetAngle(double* angle) const { *angle = m_dAngle; return 0; }
    int SetAngle(double angle) { m_dAngle = angle; return 0; }
    double GetScale() const { return m_dScale; }
    int SetScale(double scale) { m_dScale = scale; return 0; }
    int SetOrigin(double x, double y) { m_dOriginX = x; m_dOriginY = y; return 0; }
    int GetOrigin(double* x, double* y) const { *x = m_dOriginX; *y = m_dOriginY; return 0; }
    int SetOffset(int x, int y) { m_nOffsetX = x; m_nOffsetY = y; return 0; }
    int GetOffset(int* x, int* y) const { *x = m_nOffsetX; *y = m_nOffsetY; return 0; }

    // Sets and returns the scale that fits the world box worldA-worldB into the view box
    // viewA-viewB: the smaller ratio less a tenth for margin, or with bLarger the larger
    // ratio without margin. A world extent below 0.001 counts as 1.0.
    double FitScale(CPointD worldA, CPointD worldB, CPointD viewA, CPointD viewB, bool bLarger);

    // In place, world -> view and back; each is the exact inverse of the other.
    int WorldToView(double* x, double* y) const;
    int ViewToWorld(double* x, double* y) const;
    // World -> view truncated toward zero (INT_MIN when out of int range).
    int WorldToViewPoint(double x, double y, int* vx, int* vy) const;
    int ViewPointToWorld(int vx, int vy, double* x, double* y) const;

    // The same conversions with every parameter passed in. ViewToWorldEx takes the cosine
    // and sine of the negated angle and applies 1 / scale itself.
    static int WorldToViewEx(double originX, double originY, int offsetX, int offsetY,
                             double cosA, double sinA, double scale, double* x, double* y);
    static int ViewToWorldEx(double originX, double originY, int offsetX, int offsetY,
                             double cosA, double sinA, double scale, double* x, double* y);

private:
    double AngleRadians() const;

    double m_dOriginX = 0.0;
    double m_dOriginY = 0.0;
    int m_nOffsetX = kDefaultOffset;
    int m_nOffsetY = kDefaultOffset;
    double m_dAngle = 0.0;  // degrees
    double m_dScale = 1.0;  // view units per world metre
};

}  // namespace wv
