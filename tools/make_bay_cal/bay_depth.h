// The bathymetry of the bundled example: a bay whose bed slopes from 20 m offshore to a
// curved shoreline between two headlands, with a shoal in front of it.
#pragma once

#include <cmath>

namespace wv::tools {

struct BayShape {
    int nx = 240;
    int ny = 200;
    double spacing = 10.0;
};

// Depth at node (i, j), 1-based; land is written as -1.
inline double BayDepth(const BayShape& b, int i, int j) {
    const double pi = 3.14159265358979;
    const double x = (i - 1) * b.spacing;
    const double y = (j - 1) * b.spacing;
    const double width = (b.ny - 1) * b.spacing;
    const double length = (b.nx - 1) * b.spacing;
    // Shoreline: headlands at both sides, the bay head 35 % further in at the centre.
    const double u = (y - 0.5 * width) / (0.5 * width);
    const double shore = length * (0.62 + 0.35 * std::cos(0.5 * pi * u) * std::cos(0.5 * pi * u));
    double h = 20.0 * (1.0 - x / shore);
    // A shoal of 9 m height a third of the way in, a little off the centre line.
    const double sx = x - 0.3 * length;
    const double sy = y - 0.42 * width;
    const double r = 0.12 * length;
    h -= 9.0 * std::exp(-(sx * sx + sy * sy) / (2.0 * r * r));
    return h > 0.05 ? h : -1.0;
}

}  // namespace wv::tools
