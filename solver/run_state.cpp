#include "solver/run_state.h"

#include <algorithm>

namespace wv::solv {

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
    bytes += NF * R * (sizeof(RowWave) + sizeof(FaceWave));
    if (threads > 1) bytes += kAheadSlots * NF * (3 * R + 1) * sizeof(AheadWave);
    for (int t = 0; t < threads; ++t) bytes += SegmentSystem::Bytes(nd, ny, TeamMembersReserved(t, threads, nd));
    if (threads > 1) bytes += threads * SegmentSystem::Bytes(nd, std::min(ny, kSmallSegmentRows));
    bytes += 2.0 * threads * (6.0 * (ND + 2) * 8 + 256.0 * threads);  // the teams' sums and counters
    return bytes;
}

}  // namespace wv::solv
