// A large generated project for the depth calculation benchmark: a wiggling coastline of
// terrain lines across a 10 km square with the land north of it as one block, depth
// contours offshore that follow the coast, and scattered soundings.
#pragma once

#include "core/point.h"

namespace wv::bench {

struct BenchProject {
    // The calculation area: the mesh frame is the world turned by `angle` degrees about
    // the origin.
    double x0 = 40000.0, y0 = -25000.0;
    double angle = 12.0;
    double extent = 10000.0;  // metres along x and y

    int coastSegments = 20000;
    int contours = 60;
    int contourSegments = 500;  // per contour
    int surveyPoints = 100000;  // in all, soundings included

    CPointD World(double mx, double my) const;
};

// Fills the open project's tables (g_surveyPoints, g_lines, g_blocks) and rebuilds the
// terrain-line links. Deterministic.
void GenerateBenchProject(const BenchProject& p);

}  // namespace wv::bench
