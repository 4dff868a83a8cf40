// The solver input <base>.CAL as the solver reads it: 13 header records of fixed-column
// fields (Iw, Fw.0) and then one depth record per node, column after column along x.
#pragma once

#include "solver/incident_waves.h"

#include <string>
#include <string_view>
#include <vector>

namespace wv::solv {

struct CalInput {
    int outputSelection = 0;  // 0 every row, else only the centre row
    int breaking = 0;         // 1 wave breaking on
    int lateralOption = 0;    // 0: the rows outside 1 and NY hold the edge rows' energy
    int dumpSwitch = 1;       // 0 appends the radiation-stress dump
    int nd = 0;
    double smax = 0.0;
    double rangeBelowDeg = 0.0;
    double rangeAboveDeg = 0.0;
    int nf = 0;
    int nx = 0;
    int ny = 0;
    double dx = 0.0;
    double dy = 0.0;
    double x0 = 0.0;
    double y0 = 0.0;
    double period = 0.0;
    double height = 0.0;
    double theta0Deg = 0.0;
    double secondDirection = 0.0;  // read and not used
    std::vector<double> depth;     // DEP(i, j) at (i - 1) * ny + (j - 1)

    double Depth(int i, int j) const {
        return depth[static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(ny) +
                     static_cast<std::size_t>(j - 1)];
    }
};

// The spectrum parameters of an input file, in the solver's radians (pi = 3.14159).
SpectrumInput SpectrumInputOf(const CalInput& in);

// What the request block fixes: the counts and the work storage sized from it.
struct RequestDims {
    int nd = 0;
    int nf = 0;
    long long nxp = 0;  // request mesh count + 10
    long long nyp = 0;
};

// Reads and checks the whole input text. On refusal returns false with `detail`, a
// message that names the record and what is wrong (UTF-8). Nothing is refused that a
// run could compute: the checks are the counts against the request and the work
// storage, ND >= 3, NF >= 1, T > 0, H >= 0, dx > 0, dy > 0, a direction range that
// leaves a bin with energy, numeric fields, every depth record present, and coordinates
// and depths that fit the result file's fields.
// A large mesh's depth records are read by up to `threads` threads; the result and the
// record a refusal names do not depend on how many.
bool ReadCalInput(std::string_view text, const RequestDims& dims, CalInput& out, std::string& detail,
                  int threads = 1);

}  // namespace wv::solv
