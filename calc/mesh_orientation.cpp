#include "calc/mesh_orientation.h"

#include <cmath>

namespace wv {

double NormalizeDegrees(double angle) {
    if (!std::isfinite(angle)) return 0.0;
    // The loops below add or take off whole turns one at a time; a huge angle (from a
    // damaged file) is brought near first so that they end. Angles a user can type never
    // get here, so their results stay those of the plain loops.
    if (std::fabs(angle) > 1e6) angle = std::fmod(angle, 360.0);
    while (angle < -0.000001) angle += 360.0;
    while (angle > 359.99999) angle -= 360.0;
    return angle;
}

WaveOrientation OrientationOf(double incidentAngle, double viewAngle) {
    const double c = NormalizeDegrees(incidentAngle - viewAngle);
    WaveOrientation o;
    if (44.999999 < c && c < 135.000001) {
        o.code = 0;
        o.residual = c - 90.0;
    } else if (134.999999 < c && c < 225.000001) {
        o.code = 1;
        o.residual = c - 180.0;
    } else if (224.999999 < c && c < 315.000001) {
        o.code = 2;
        o.residual = c - 270.0;
    } else {
        o.code = 3;
        o.residual = (315.0 < c && c < 359.99999) ? c - 360.0 : c;
    }
    return o;
}

SolverGrid SolverGridOf(int code, int rows, int cols) {
    SolverGrid g;
    if (code == 0 || code == 2) {
        g.nx = rows;
        g.ny = cols;
    } else {
        g.nx = cols;
        g.ny = rows;
    }
    return g;
}

void SolverNodeToMesh(int code, int rows, int cols, int i, int j, int* row, int* col) {
    switch (code) {
        case 0:
            *row = rows - 1 - i;
            *col = j;
            break;
        case 1:
            *row = j;
            *col = i;
            break;
        case 2:
            *row = i;
            *col = cols - 1 - j;
            break;
        default:
            *row = rows - 1 - j;
            *col = cols - 1 - i;
            break;
    }
}

double DirectionOffset(int code) {
    switch (code) {
        case 0: return 360.0;
        case 1: return 270.0;
        case 2: return 180.0;
        default: return 90.0;
    }
}

}  // namespace wv
