// How the mesh is turned for the solver. The solver marches along its first index from
// the side where the waves enter; the orientation code says which side of the mesh that
// is, and with it the order of the depths in the solver input, the order of the two node
// counts, and the order of the records in the result file.
//
//   code  waves enter through   march (I, first count)   across (J, second count)
//    0    top row               rows R-1 down to 0       columns 0 up to C-1
//    1    left column           columns 0 up to C-1      rows 0 up to R-1
//    2    bottom row            rows 0 up to R-1         columns C-1 down to 0
//    3    right column          columns C-1 down to 0    rows R-1 down to 0
//
// Each order is a rotation of the grid, so the solver's lateral axis always lies to the
// left of its march direction.
#pragma once

namespace wv {

// Brings an angle in degrees into [0, 360) the way the program always has: 360 is added
// while it is below -0.000001 and taken off while it is above 359.99999. A value that is
// not a number gives 0.
double NormalizeDegrees(double angle);

struct WaveOrientation {
    int code = 0;          // 0 to 3, as in the table above
    double residual = 0.0; // direction of travel from the march axis, degrees (-45 .. 45)
};

// The orientation of a principal incident direction `incidentAngle` (a mathematical
// angle in degrees) seen in a view turned by `viewAngle` degrees.
WaveOrientation OrientationOf(double incidentAngle, double viewAngle);

// Node counts along the march axis (NX) and across it (NY) for a mesh of `rows` x `cols`.
struct SolverGrid {
    int nx = 0;
    int ny = 0;
};
SolverGrid SolverGridOf(int code, int rows, int cols);

// Mesh position (row, column) of the solver's node (i, j), both counted from 0: i along
// the march axis, j across it.
void SolverNodeToMesh(int code, int rows, int cols, int i, int j, int* row, int* col);

// What the result loader subtracts the solver's direction from to turn it back into the
// mesh frame: 360, 270, 180 or 90.
double DirectionOffset(int code);

}  // namespace wv
