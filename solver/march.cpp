#include "solver/march.h"

#include "solver/ilucgs.h"
#include "solver/solver_constants.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace wv::solv {

namespace {

// Wave properties at one depth for the current component.
struct Wave {
    double L = 0.0;
    double c = 0.0;
    double cg = 0.0;
};

// Share of the energy of a Rayleigh sea (mean height H/1.6) in waves lower than the
// height that gives `a` = (pi/4)(1.6 H_b/H)^2. An infinite `a` (H underflowed) is the
// limit 1, where the expression itself would give 0 * inf.
double ShareBelow(double a) {
    if (std::isinf(a)) return 1.0;
    return 1.0 - std::exp(-a) * (1.0 + a);
}

// Mean of the wet nodes' slope over columns c0..c1 and rows r0..r1 from the summed tables.
void WindowSlope(const RunState& st, int c0, int c1, int r0, int r1, double& sx, double& sy) {
    const std::size_t w = static_cast<std::size_t>(st.ny) + 1;
    auto at = [&](int i, int j) { return static_cast<std::size_t>(i) * w + static_cast<std::size_t>(j); };
    const std::size_t a = at(c1, r1), b = at(c0 - 1, r1), c = at(c1, r0 - 1), d = at(c0 - 1, r0 - 1);
    const double count = static_cast<double>(st.wetSum[a] - st.wetSum[b] - st.wetSum[c] + st.wetSum[d]);
    sx = (st.slopeSumX[a] - st.slopeSumX[b] - st.slopeSumX[c] + st.slopeSumX[d]) / count;
    sy = (st.slopeSumY[a] - st.slopeSumY[b] - st.slopeSumY[c] + st.slopeSumY[d]) / count;
}

// Truncated L / spacing, limited to the mesh so that huge ratios stay integers.
int WindowReach(double L, double spacing, int limit) {
    const double n = std::floor(L / spacing);
    if (!(n < static_cast<double>(limit))) return limit;
    return n < 0.0 ? 0 : static_cast<int>(n);
}

// Solves one frequency component of column i over all wet segments.
ColumnStatus MarchComponent(RunState& st, int i, int k, SegmentWorkspace& ws,
                            const std::vector<std::pair<int, int>>& segments) {
    const int nd = st.nd;
    const int ny = st.ny;
    const double T = 1.0 / st.spectrum.freq[static_cast<std::size_t>(k)];
    const double dx = st.dx;
    const double dy = st.dy;
    const double dtheta = st.binWidth;
    const double cellSize = std::sqrt(dx * dy);
    const bool lastComponent = k == st.nf - 1;
    const bool breaking = st.in.breaking == 1;
    const bool mirrorEdges = st.in.lateralOption == 0;

    double* next = &st.energyNext[st.EnergyIndex(k, 1, 1)];
    std::fill(next, next + static_cast<std::size_t>(nd) * ny, 0.0);
    const double* prev = &st.energy[st.EnergyIndex(k, 1, 1)];

    const int lb = -nd;
    const int lastRow = nd * static_cast<int>(st.rows + 1);
    DiagonalMatrixView A(ws.matrix.data(), lb, lastRow);
    double* b = ws.b.data();
    double* rt = ws.rt.data();
    double* u = ws.u.data();
    double* q = ws.q.data();
    // Vectors with a halo: element i at data()[i + nd - 1].
    double* x = ws.x.data() + nd - 1;
    double* p = ws.p.data() + nd - 1;
    double* v = ws.v.data() + nd - 1;
    double* r = ws.r.data() + nd - 1;
    double* d = ws.d.data() + nd - 1;
    double* uq = ws.uq.data() + nd - 1;

    ColumnStatus failure = ColumnStatus::Ok;
    auto wave = [&](double h, Wave& w) {
        DispersionFault fault = DispersionFault::None;
        const int flag = DISPERSION(h, T, w.L, &fault);
        if (flag < 0) {
            failure = fault == DispersionFault::Land ? ColumnStatus::DispersionLand : ColumnStatus::DispersionFailed;
            return false;
        }
        w.c = w.L / T;
        w.cg = GroupVelocity(h, w.L, w.c, flag);
        return true;
    };

    for (const auto& [jS, jE] : segments) {
        const int segRows = jE - jS + 1;
        const int n = nd * segRows;
        // Only the rows this segment's system reads are cleared.
        for (int c = 1; c <= 7; ++c) {
            double* col = A.Column(c);
            std::fill(col + lb, col + n + nd + 1, 0.0);
        }
        std::fill(x + 1 - nd, x + n + nd + 1, 0.0);
        std::fill(b + 1, b + n + 1, 0.0);

        Wave south;
        if (!wave(st.Hy(i, jS), south)) return failure;
        bool anyInflow = false;
        for (int j = jS; j <= jE; ++j) {
            Wave west, east, north, node;
            if (!wave(st.Hx(i, j), west) || !wave(st.Hx(i + 1, j), east) || !wave(st.Hy(i, j + 1), north) ||
                !wave(st.in.Depth(i, j), node))
                return failure;
            const double hP = st.in.Depth(i, j);
            const double dcx = (east.c - west.c) / dx;
            const double dcy = (north.c - south.c) / dy;
            const double ratio = node.cg / node.c;

            // Slope seen by the waves: the mean over the wet nodes up to one wavelength
            // upwave, turned into the previous column's mean direction of the row.
            const double theta = st.rowDirection[static_cast<std::size_t>(j - 1)];
            const int reachX = WindowReach(node.L, dx, st.nx);
            const int reachY = WindowReach(node.L, dy, ny);
            const int c0 = std::max(1, i - reachX);
            const int r0 = theta >= 0.0 ? std::max(1, j - reachY) : j;
            const int r1 = theta >= 0.0 ? j : std::min(ny, j + reachY);
            double meanSx, meanSy;
            WindowSlope(st, c0, i, r0, r1, meanSx, meanSy);
            const double tanBeta = std::cos(theta) * meanSx + std::sin(theta) * meanSy;

            // Goda's breaker height (coefficient 0.17) and its change across the cell.
            const double xb = 1.5 * kPi * hP / st.waveLength0;
            double hb, g;
            if (tanBeta >= 0.0) {
                const double f = 15.0 * std::pow(tanBeta, 1.3333333333333333) + 1.0;
                const double e = std::exp(-xb * f);
                hb = 0.17 * st.waveLength0 * (1.0 - e);
                const double dH = tanBeta * 1.5 * kPi * 0.17 * f * e;
                g = -cellSize * dH;
            } else {
                const double e = std::exp(-xb);
                hb = 0.17 * st.waveLength0 * (1.0 - e);
                g = 0.0;
            }
            if (lastComponent) st.rowBreakHeight[static_cast<std::size_t>(j - 1)] = hb;
            const double hUp = hb - g / 2.0;
            const double hDown = hb + g / 2.0;

            // Dissipation: the energy of the waves that exceed the breaking height
            // between the upwave and the downwave half cell.
            double db = 0.0;
            const double hRow = st.rowHeight[static_cast<std::size_t>(j - 1)];
            if (hRow > 0.0) {
                const double ta = 1.6 * hUp / hRow;
                const double tb = 1.6 * hDown / hRow;
                const double a = (kPi / 4.0) * (ta * ta);
                const double bb = (kPi / 4.0) * (tb * tb);
                const double pUp = ShareBelow(a);
                const double pDown = ShareBelow(bb);
                double kept;
                if (pUp > 0.0) {
                    kept = pDown / pUp;
                } else {
                    // Both shares vanish in double precision (H far above a tiny breaker
                    // height); their ratio tends to (b/a)^2, as P(a) ~ a^2/2.
                    kept = a > 0.0 ? (bb / a) * (bb / a) : 1.0;
                }
                db = node.c * (1.0 - kept) / cellSize;
            }

            const bool firstRow = j == jS;
            const bool lastRowOfSegment = j == jE;
            const int base = (j - jS) * nd;
            for (int m = 1; m <= nd; ++m) {
                const std::size_t mi = static_cast<std::size_t>(m - 1);
                const double sinT = st.sinBin[mi];
                const double cosT = st.cosBin[mi];
                const double omegaLo = ratio * (st.sinLo[mi] * dcx - st.cosLo[mi] * dcy);
                const double omegaHi = ratio * (st.sinHi[mi] * dcx - st.cosHi[mi] * dcy);
                const bool northward = sinT * south.cg >= 0.0;

                double diag = east.cg * cosT / dx;
                if (breaking) diag += db;
                diag += northward ? sinT * north.cg / dy : -sinT * south.cg / dy;
                diag += std::max(omegaHi, 0.0) / dtheta - std::min(omegaLo, 0.0) / dtheta;
                const double sc = northward ? -sinT * south.cg / dy : 0.0;
                const double nc = northward ? 0.0 : sinT * north.cg / dy;
                const double lc = omegaLo >= 0.0 ? -omegaLo / dtheta : 0.0;
                const double uc = omegaHi < 0.0 ? omegaHi / dtheta : 0.0;

                const int row = base + m;
                if (m > 1) A(row, 3) = lc;
                if (m < nd) A(row, 5) = uc;
                if (segRows >= 2) {
                    if (!firstRow) A(row, 1) = sc;
                    if (!lastRowOfSegment) A(row, 7) = nc;
                    // The row outside the mesh holds the edge row's energy. Its inflow
                    // is limited to what the edge row passes on inwards: where the depth
                    // falls inwards along the edge the outside face carries the larger
                    // group velocity, and the edge row would feed itself without bound.
                    if (mirrorEdges && firstRow && j == 1)
                        diag += northward ? -sinT * std::min(south.cg, north.cg) / dy : 0.0;
                    if (mirrorEdges && lastRowOfSegment && j == ny)
                        diag += northward ? 0.0 : sinT * std::min(north.cg, south.cg) / dy;
                }
                A(row, 4) = diag;
                const double inflow = west.cg * cosT * prev[static_cast<std::size_t>(j - 1) * nd + mi] / dx;
                b[row] = inflow;
                if (inflow != 0.0) anyInflow = true;
            }
            south = north;
        }

        if (anyInflow) {
            double eps = kSolverTolerance;
            int itmax = kSolverIterations;
            int ierr = 0;
            double alpha = kSolverAlpha;
            ILUCGS(A, n, lastRow, lb, nd - 1, nd, b, x, p, v, r, d, rt, u, q, eps, uq, itmax, ierr, alpha);
            if (ierr != 0) return ColumnStatus::SolverFailed;
            for (int row = 1; row <= n; ++row)
                next[static_cast<std::size_t>(jS - 1) * nd + static_cast<std::size_t>(row - 1)] = x[row];
        }
    }
    return ColumnStatus::Ok;
}

}  // namespace

void AllocateMarch(RunState& st, int threads) {
    const std::size_t nx = static_cast<std::size_t>(st.nx);
    const std::size_t ny = static_cast<std::size_t>(st.ny);
    st.land.assign(nx * ny, 0);
    st.faceX.assign((nx + 1) * ny, 0.0);
    st.faceY.assign(nx * (ny + 1), 0.0);
    st.slopeSumX.assign((nx + 1) * (ny + 1), 0.0);
    st.slopeSumY.assign((nx + 1) * (ny + 1), 0.0);
    st.wetSum.assign((nx + 1) * (ny + 1), 0);
    const std::size_t nd = static_cast<std::size_t>(st.nd);
    for (auto* v : {&st.cosBin, &st.sinBin, &st.cosLo, &st.sinLo, &st.cosHi, &st.sinHi, &st.thetaBin}) v->assign(nd, 0.0);
    const std::size_t spectrum = nd * static_cast<std::size_t>(st.rows) * static_cast<std::size_t>(st.nf);
    st.energy.assign(spectrum, 0.0);
    st.energyNext.assign(spectrum, 0.0);
    for (auto* v : {&st.rowHeight, &st.rowPeriod, &st.rowDirection, &st.rowBreakHeight})
        v->assign(static_cast<std::size_t>(st.rows), 0.0);
    if (st.in.dumpSwitch == 0) {
        st.sxx.assign(nx * ny, 0.0);
        st.syy.assign(nx * ny, 0.0);
        st.sxy.assign(nx * ny, 0.0);
    }
    st.workspaces.resize(static_cast<std::size_t>(threads));
    for (auto& ws : st.workspaces) ws.Allocate(st.nd, st.rows);
}

void PrepareMarch(RunState& st) {
    const int nx = st.nx;
    const int ny = st.ny;
    for (int i = 1; i <= nx; ++i)
        for (int j = 1; j <= ny; ++j) st.land[st.Node(i, j)] = st.in.Depth(i, j) <= 0.0 ? 1 : 0;

    // Face depths: a face beside land takes the wet node's depth, so that waves see no
    // depth below the sea bed at a shoreline.
    auto faceDepth = [](double before, bool landBefore, double after, bool landAfter) {
        if (landBefore && !landAfter) return after;
        if (landAfter && !landBefore) return before;
        return (before + after) * 0.5;
    };
    for (int j = 1; j <= ny && nx >= 1; ++j) {
        for (int i = 1; i <= nx + 1; ++i) {
            double h;
            if (i == 1) h = st.in.Depth(1, j);
            else if (i == nx + 1) h = st.in.Depth(nx, j);
            else h = faceDepth(st.in.Depth(i - 1, j), !st.Wet(i - 1, j), st.in.Depth(i, j), !st.Wet(i, j));
            st.faceX[static_cast<std::size_t>(i - 1) * ny + (j - 1)] = h;
        }
    }
    for (int i = 1; i <= nx; ++i) {
        for (int j = 1; j <= ny + 1; ++j) {
            double h;
            if (j == 1) h = st.in.Depth(i, 1);
            else if (j == ny + 1) h = st.in.Depth(i, ny);
            else h = faceDepth(st.in.Depth(i, j - 1), !st.Wet(i, j - 1), st.in.Depth(i, j), !st.Wet(i, j));
            st.faceY[static_cast<std::size_t>(i - 1) * (ny + 1) + (j - 1)] = h;
        }
    }
    // Bottom slopes of the wet nodes, positive where the depth decreases towards +x or
    // +y, summed over rectangles so that the upwave mean costs the same for any reach.
    const std::size_t w = static_cast<std::size_t>(ny) + 1;
    for (int i = 1; i <= nx; ++i) {
        double rowX = 0.0, rowY = 0.0;
        int rowWet = 0;
        for (int j = 1; j <= ny; ++j) {
            if (st.Wet(i, j)) {
                rowX += (st.Hx(i, j) - st.Hx(i + 1, j)) / st.dx;
                rowY += (st.Hy(i, j) - st.Hy(i, j + 1)) / st.dy;
                ++rowWet;
            }
            const std::size_t at = static_cast<std::size_t>(i) * w + j;
            const std::size_t left = static_cast<std::size_t>(i - 1) * w + j;
            st.slopeSumX[at] = st.slopeSumX[left] + rowX;
            st.slopeSumY[at] = st.slopeSumY[left] + rowY;
            st.wetSum[at] = st.wetSum[left] + rowWet;
        }
    }

    for (int m = 1; m <= st.nd; ++m) {
        const std::size_t mi = static_cast<std::size_t>(m - 1);
        const double theta = (m - 0.5) * st.binWidth - kHalfPlane;
        const double lo = (m - 1) * st.binWidth - kHalfPlane;
        const double hi = m * st.binWidth - kHalfPlane;
        st.thetaBin[mi] = theta;
        st.cosBin[mi] = std::cos(theta);
        st.sinBin[mi] = std::sin(theta);
        st.cosLo[mi] = std::cos(lo);
        st.sinLo[mi] = std::sin(lo);
        st.cosHi[mi] = std::cos(hi);
        st.sinHi[mi] = std::sin(hi);
    }

    // Every row, land rows included, starts from the same incident spectrum.
    for (int k = 0; k < st.nf; ++k)
        for (int j = 1; j <= ny; ++j)
            for (int m = 0; m < st.nd; ++m) st.energy[st.EnergyIndex(k, j, m + 1)] = st.spectrum.BinEnergy(m, k);
    for (int j = 0; j < ny; ++j) {
        st.rowHeight[static_cast<std::size_t>(j)] = st.in.height;
        st.rowPeriod[static_cast<std::size_t>(j)] = st.in.period;
        st.rowDirection[static_cast<std::size_t>(j)] = st.spectrum.meanDirection;
    }
}

ColumnStatus MarchColumn(RunState& st, int i, WorkerPool& pool) {
    std::vector<std::pair<int, int>> segments;
    for (int j = 1; j <= st.ny; ++j) {
        if (!st.Wet(i, j)) continue;
        const int start = j;
        while (j < st.ny && st.Wet(i, j + 1)) ++j;
        segments.emplace_back(start, j);
    }
    std::vector<ColumnStatus> status(static_cast<std::size_t>(st.nf), ColumnStatus::Ok);
    pool.Run(st.nf, [&](int k, int worker) {
        status[static_cast<std::size_t>(k)] =
            MarchComponent(st, i, k, st.workspaces[static_cast<std::size_t>(worker)], segments);
    });
    // The first failure in component order is the one a single thread would have met.
    for (ColumnStatus s : status)
        if (s != ColumnStatus::Ok) return s;
    std::swap(st.energy, st.energyNext);
    return ColumnStatus::Ok;
}

}  // namespace wv::solv
