// The geometry of the depth calculation: the calculation area seen in the view frame and
// the eight families of grid lines through the mesh nodes.
//
// Every node lies on one grid line of each family. Families come in four frames (the
// view angle plus 0, 45 degrees, atan 1/2 and atan 2); in its frame a family's lines are
// horizontal (y' = const) or vertical (x' = const), so a terrain line crosses a grid line
// where its turned end points straddle the line's coordinate. All of it is in view units,
// so the thresholds that work on it scale with the view's zoom.
//
// Nodes are addressed as (i, j): i the row counted from the far side of the area (mesh
// row R - 1 - i), j the column.
#pragma once

#include "calc/calc_view_frame.h"
#include "core/point.h"

namespace wv {

struct DepthArea {
    double x0 = 0.0;  // world origin of the mesh (lower-left node)
    double y0 = 0.0;
    double meshSize = 10.0;
    int cols = 0;     // C, nodes along x
    int rows = 0;     // R, nodes along y
};

class DepthGrid {
public:
    static constexpr int kFamilies = 8;
    static constexpr int kFrames = 4;

    DepthGrid(const DepthArea& area, const CalcViewFrame& view);

    const DepthArea& Area() const { return m_area; }
    const CalcViewFrame& View() const { return m_view; }

    // World -> view frame of one of the four frames (0 is the view's own frame).
    void ToFrame(int frame, double& x, double& y) const;
    // View frame 0 -> world.
    void FromFrame0(double& x, double& y) const;
    // A point of the mesh frame (metres from the origin along the columns and rows)
    // turned into the world.
    CPointD MeshToWorld(double dx, double dy) const;

    static int FrameOf(int family) { return family / 2; }
    static bool IsVertical(int family) { return family % 2 == 1; }

    // Lines of a family, and the index of its first line among all grid lines (the
    // families one after the other).
    int LineCount(int family) const { return m_lineCount[family]; }
    int FirstLine(int family) const { return m_firstLine[family]; }
    int TotalLines() const { return m_totalLines; }
    // y' of a horizontal family's line k, x' of a vertical family's.
    double LineCoord(int family, int k) const;
    // The line of a family through node (i, j) and the node's position along it.
    int NodeLine(int family, int i, int j) const;
    double NodePos(int family, int i, int j) const;

    // bx, by and the line spacing of a frame.
    double BaseX(int frame) const { return m_bx[frame]; }
    double BaseY(int frame) const { return m_by[frame]; }
    double Step(int frame) const { return m_step[frame]; }

    // The area rectangle in the view frame: x' of the origin and of the far corner,
    // y' of the far corner and of the origin.
    double XMin() const { return m_xmin; }
    double XMax() const { return m_xmax; }
    double YMin() const { return m_ymin; }
    double YMax() const { return m_ymax; }

private:
    DepthArea m_area;
    CalcViewFrame m_view;
    double m_cosArea = 1.0, m_sinArea = 0.0;  // turning the mesh frame into the world
    double m_cosFrame[kFrames] = {}, m_sinFrame[kFrames] = {};
    double m_cosBack = 1.0, m_sinBack = 0.0;  // view frame 0 back to the world
    double m_bx[kFrames] = {}, m_by[kFrames] = {}, m_step[kFrames] = {};
    int m_lineCount[kFamilies] = {};
    int m_firstLine[kFamilies] = {};
    int m_totalLines = 0;
    double m_xmin = 0.0, m_xmax = 0.0, m_ymin = 0.0, m_ymax = 0.0;
};

}  // namespace wv
