// The state of one run: the input, the incident spectrum, the geometry of the march, the
// spectrum of the current column and the per-row values that carry from one column to
// the next. One run owns one RunState; nothing of it is static.
#pragma once

#include "solver/cal_input.h"
#include "solver/dispersion.h"
#include "solver/incident_waves.h"
#include "solver/segment_solver.h"
#include "solver/team_plan.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace wv::solv {

// Segments of up to this many rows are solved each by one thread, side by side; longer
// ones by a team of threads.
inline constexpr int kSmallSegmentRows = 48;

// The most members the system of team t (the t-th costliest job's) is laid out for, with
// `threads` threads and nd bins: a column's teams share the threads, the costliest
// first, so team t never has more than threads / (t + 1).
inline int TeamMembersReserved(int team, int threads, int nd) {
    const int share = threads / (team + 1);
    return std::max(1, std::min(share, nd));
}

// The wave quantities of one row (node and faces) for one component, as the
// coefficients of its bins need them.
struct RowWave {
    double westCg = 0.0;
    double eastCg = 0.0;
    double southCg = 0.0;
    double northCg = 0.0;
    double ratio = 0.0;  // Cg / c at the node
    double dcx = 0.0;    // phase-speed gradients
    double dcy = 0.0;
    double db = 0.0;     // breaking dissipation rate
};

// A dispersion result that a thread with nothing else to do found ahead, for a face or
// node of the next column: wavelength, phase speed and group velocity.
struct AheadWave {
    double L = 0.0;
    double c = 0.0;
    double cg = 0.0;
    int column = -1;  // the column it belongs to
};

// The dispersion results found ahead for the next column and those the column itself
// reads lie in separate slots (the column's number modulo this count), so that threads
// may look ahead while others still compute the column's wave quantities.
inline constexpr int kAheadSlots = 2;

// The east face of a row in the last column: the west face of the same row in the next.
struct FaceWave {
    double c = 0.0;
    double cg = 0.0;
    int column = -1;  // the column whose east face it is
};

// How one column's work ended. Failures carry what the message needs.
enum class ColumnStatus { Ok, DispersionLand, DispersionFailed, SolverFailed, NonFinite };

struct RunState {
    CalInput in;
    IncidentSpectrum spectrum;
    int nd = 0;
    int nf = 0;
    int nx = 0;
    int ny = 0;
    long long rows = 0;  // row capacity: the request's second mesh count + 10
    double dx = 0.0;
    double dy = 0.0;
    double binWidth = 0.0;
    double waveLength0 = 0.0;  // L0 = 1.56 T1/3^2
    int centreRow = 1;

    // Geometry, built once.
    std::vector<unsigned char> land;  // (i - 1) * ny + (j - 1)
    std::vector<double> faceX;        // HX(i, j), i = 1..nx+1: (i - 1) * ny + (j - 1)
    std::vector<double> faceY;        // HY(i, j), j = 1..ny+1: (i - 1) * (ny + 1) + (j - 1)
    // Summed tables of the wet nodes' slopes SX, SY and of the wet count over
    // columns 1..i and rows 1..j, with a zero border: (i) * (ny + 1) + j.
    std::vector<double> slopeSumX;
    std::vector<double> slopeSumY;
    std::vector<int> wetSum;

    // Per-bin constants of the march.
    std::vector<double> cosBin, sinBin, cosLo, sinLo, cosHi, sinHi, thetaBin;

    // Spectrum of the previous column (E) and of the column being computed (E'):
    // component k, row j, bin m at k * nd * rows + (j - 1) * nd + (m - 1).
    std::vector<double> energy;
    std::vector<double> energyNext;

    // Per-row values of the last finished column (index j - 1).
    std::vector<double> rowHeight, rowPeriod, rowDirection, rowBreakHeight;

    // Radiation stresses per node, only when the dump is asked for: (i - 1) * ny + (j - 1).
    std::vector<double> sxx, syy, sxy;

    // The march's work space: the wave quantities of every component and row of the
    // column (k * rows + j - 1), the east faces kept for the next column, a system for
    // each team (as many as threads, for teams of one), and one small system per thread
    // for the short segments.
    std::vector<RowWave> rowWaves;
    std::vector<FaceWave> eastFaces;
    // Found ahead for the next columns, in the slot of each column: each row's east face
    // and node (k * rows + j - 1) and each face between rows, the south face of row j
    // (k * (rows + 1) + j - 1), after the slot's offset (AheadOffset).
    std::vector<AheadWave> aheadEast, aheadNode, aheadFace;
    ThreadPlaces threadPlaces;
    std::vector<SegmentSystem> teamSystems;
    std::vector<SegmentTeam> teams;
    std::vector<SegmentSystem> smallSystems;
    // CGS iterations of each component in the last column: how the threads are shared
    // out (never what they compute).
    std::vector<double> lastIterations;
    TeamPlan teamPlan;
    std::vector<SegmentTeam> smallTeams;

    bool Wet(int i, int j) const { return land[Node(i, j)] == 0; }
    std::size_t Node(int i, int j) const {
        return static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(ny) + static_cast<std::size_t>(j - 1);
    }
    std::size_t EnergyIndex(int k, int j, int m) const {
        return (static_cast<std::size_t>(k) * static_cast<std::size_t>(nd) * static_cast<std::size_t>(rows)) +
               static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(nd) + static_cast<std::size_t>(m - 1);
    }
    double Hx(int i, int j) const { return faceX[static_cast<std::size_t>(i - 1) * ny + (j - 1)]; }
    double Hy(int i, int j) const { return faceY[static_cast<std::size_t>(i - 1) * (ny + 1) + (j - 1)]; }
    // Where column i's look-ahead results start in aheadEast and aheadNode (per row) or
    // in aheadFace (per face between rows).
    std::size_t AheadOffset(int i, bool faces) const {
        return static_cast<std::size_t>(i % kAheadSlots) * static_cast<std::size_t>(nf) *
               static_cast<std::size_t>(faces ? rows + 1 : rows);
    }
};

// The figure the progress window shows: the bytes of the original's 38 work arrays for
// the request's counts (two of them counted one element short, as it always showed).
double MemoryEstimate(int nd, int nf, long long nxp, long long nyp);

// Bytes this implementation will allocate for a run, or -1 when the count overflows.
double PlannedBytes(int nd, int nf, long long rows, int nx, int ny, bool dump, int threads);

}  // namespace wv::solv
