#include "solver/run_state.h"

namespace wv::solv {

void SegmentWorkspace::Allocate(int nd, long long rows) {
    const std::size_t unknowns = static_cast<std::size_t>(nd) * static_cast<std::size_t>(rows);
    const std::size_t matrixRows = static_cast<std::size_t>(nd) * static_cast<std::size_t>(rows + 1) + nd + 1;
    matrix.assign(7 * matrixRows, 0.0);
    for (auto* vec : {&b, &rt, &u, &q}) vec->assign(unknowns + 1, 0.0);
    for (auto* vec : {&x, &p, &v, &r, &d, &uq}) vec->assign(unknowns + 2 * static_cast<std::size_t>(nd) + 1, 0.0);
}

double MemoryEstimate(int nd, int nf, long long nxp, long long nyp) {
    const double ND = nd, NF = nf, NXP = static_cast<double>(nxp), NYP = static_cast<double>(nyp);
    const double S = ND * NYP;
    const double N = ND * (NYP + 1.0);
    double bytes = 0.0;
    bytes += 6 * NF * 8;
    bytes += 2 * ND * 8;
    bytes += 6 * NYP * 8;
    bytes += 2 * NYP * 4;
    bytes += NXP * NYP * 8;                 // depths
    bytes += 2 * (ND * NYP) * NF * 8;       // spectrum of two columns
    bytes += (NXP + 1) * NYP * 8;           // HX
    bytes += NXP * (NYP + 1) * 8;           // HY
    bytes += 5 * NXP * NYP * 8;             // slopes, radiation stresses
    bytes += NXP * NYP * 4;                 // land mask
    bytes += (N + ND) * 7 * 8;              // diagonals (one row short)
    bytes += 4 * S * 8;
    bytes += 6 * (S + 2 * ND) * 8;          // solver vectors (one element short)
    return bytes;
}

double PlannedBytes(int nd, int nf, long long rows, int nx, int ny, bool dump, int threads) {
    const double ND = nd, NF = nf, R = static_cast<double>(rows), NX = nx, NY = ny;
    double bytes = 0.0;
    bytes += NX * NY * 8;                        // depths
    bytes += NX * NY * 1;                        // land
    bytes += (NX + 1) * NY * 8 + NX * (NY + 1) * 8;
    bytes += (NX + 1) * (NY + 1) * (8 + 8 + 4);  // slope tables
    bytes += 2 * ND * R * NF * 8;                // spectrum
    bytes += 4 * R * 8;
    if (dump) bytes += 3 * NX * NY * 8;
    const double perThread = 7 * (ND * (R + 1) + ND + 1) * 8 + 4 * (ND * R + 1) * 8 + 6 * (ND * R + 2 * ND + 1) * 8;
    bytes += perThread * threads;
    return bytes;
}

}  // namespace wv::solv
