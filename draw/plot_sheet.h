// The sheet of a plotted calculation figure: how world metres and mesh metres land on
// sheet millimetres, and which world rectangle the frame covers. The figure writers and
// the printed colour map share this one mapping, so the fills printed under the plot
// records meet them to the last bit.
#pragma once

#include "calc/calc_doc_data.h"
#include "core/zmn_inf.h"

#include <string>

namespace wv {

// The axis-parallel world rectangle around the frame: a cheap first visibility test
// before a point is mapped; the final test is always against the frame on the sheet.
struct WorldBox {
    double xmin = 0.0, xmax = 0.0, ymin = 0.0, ymax = 0.0;
    bool Contains(double x, double y) const { return xmin <= x && x <= xmax && ymin <= y && y <= ymax; }
    // Whether the x and y ranges of a segment's two ends reach into the box.
    bool Reaches(double x1, double y1, double x2, double y2) const {
        return (xmin <= x1 || xmin <= x2) && (x1 <= xmax || x2 <= xmax) && (ymin <= y1 || ymin <= y2) &&
               (y1 <= ymax || y2 <= ymax);
    }
};

// Sheet millimetres from the frame's lower-left corner, y up. The view angle turns the
// mesh frame into the world, so the mesh axes run along the sheet's.
class PlotSheet {
public:
    // The drawing conditions' frame, scale and centre, the calculation area's origin and
    // the view's angle in degrees. A scale of 0 or below gives no usable mapping (see
    // Usable); the figure refuses such a sheet before it maps anything.
    PlotSheet(const CTydDocData& doc, double viewAngleDeg);

    bool Usable() const { return m_nScale > 0; }
    double Width() const { return m_dWidth; }
    double Height() const { return m_dHeight; }
    int Scale() const { return m_nScale; }
    double AngleDeg() const { return m_dAngleDeg; }
    // Paper millimetres per world metre.
    double Factor() const { return m_dFactor; }

    void WorldToSheet(double x, double y, double* X, double* Y) const;
    void SheetToWorld(double X, double Y, double* x, double* y) const;
    void MeshToWorld(double u, double v, double* x, double* y) const;
    void MeshToSheet(double u, double v, double* X, double* Y) const;
    // Inside the frame, border included.
    bool InFrame(double X, double Y) const { return 0.0 <= X && X <= m_dWidth && 0.0 <= Y && Y <= m_dHeight; }

    const WorldBox& Box() const { return m_box; }

private:
    double m_dWidth = 0.0, m_dHeight = 0.0;
    int m_nScale = 0;
    double m_dAngleDeg = 0.0;
    double m_dCos = 1.0, m_dSin = 0.0;
    double m_dFactor = 0.0;
    double m_dCenterX = 0.0, m_dCenterY = 0.0;
    double m_dOriginX = 0.0, m_dOriginY = 0.0;
    WorldBox m_box;
};

// The figure's title (UTF-8): the result kind's name on any result figure, else the
// direction map, the depth check or the plain terrain figure.
std::string PlotFigureTitle(const CZmn_Inf& zmn);
// Whether the figure shows waves (a result kind or the direction map): its title block
// then carries the wave conditions. Depth-check and terrain figures do not.
bool ShowsWaveConditions(const CZmn_Inf& zmn);

}  // namespace wv
