// Writes a solver input (.CAL) in the fixed columns the solver reads: the 13 header
// records and one depth record per node, column after column along x. Used by the
// example generator, the tests and the benchmarks.
#pragma once

#include "platform/text.h"

#include <functional>
#include <string>

namespace wv::tools {

struct CalCase {
    int outputSelection = 0;
    int breaking = 1;
    int lateralOption = 0;
    int dumpSwitch = 1;
    int nd = 45;
    double smax = 10.0;
    double rangeBelowDeg = 90.0;
    double rangeAboveDeg = 90.0;
    int nf = 7;
    int nx = 0;
    int ny = 0;
    double dx = 10.0;
    double dy = 10.0;
    double x0 = 0.0;
    double y0 = 0.0;
    double period = 8.0;
    double height = 1.0;
    double theta0Deg = 0.0;
    double secondDirection = 0.0;
};

// depth(i, j), 1-based, positive in water.
inline std::string MakeCalText(const CalCase& s, const std::function<double(int, int)>& depth) {
    std::string t;
    auto line = [&](const std::string& l) {
        t += l;
        t += "\r\n";
    };
    line(Sprintf("%5d", s.outputSelection));
    line(Sprintf("%5d", s.breaking));
    line(Sprintf("%5d", s.lateralOption));
    line(Sprintf("%5d", s.dumpSwitch));
    line(Sprintf("%5d", s.nd));
    line(Sprintf("%5.1f", s.smax));
    line(Sprintf("%10.3f%10.3f", s.rangeBelowDeg, s.rangeAboveDeg));
    line(Sprintf("%5d", s.nf));
    line(Sprintf("%5d%5d", s.nx, s.ny));
    line(Sprintf("%10.3f%10.3f", s.dx, s.dy));
    line(Sprintf("%10.3f%10.3f", s.x0, s.y0));
    line(Sprintf("%10.3f%10.3f", s.period, s.height));
    line(Sprintf("%10.3f%10.3f", s.theta0Deg, s.secondDirection));
    t.reserve(t.size() + static_cast<std::size_t>(s.nx) * static_cast<std::size_t>(s.ny) * 12);
    for (int i = 1; i <= s.nx; ++i)
        for (int j = 1; j <= s.ny; ++j) line(Sprintf("%10.4f", depth(i, j)));
    return t;
}

}  // namespace wv::tools
