#include "solver/march.h"

#include "platform/large_memory.h"
#include "solver/segment_kernels.h"
#include "solver/segment_solver.h"
#include "solver/solver_hooks.h"
#include "solver/solver_constants.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
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

// Below this many unknowns per thread a team spends more on waiting than it saves.
constexpr int kMinUnknownsPerMember = 1500;
// Each member of a team sweeps at least this many bins.
constexpr int kMinBinsPerMember = 3;
// Rows per task of the wave quantities.
constexpr int kWaveRowsPerTask = 64;

std::atomic<int> g_teamSizeOverride{0};

// The wave quantities of rows j0..j1 of column i for component k: the dispersion
// relation at the faces and the node, the upwave slope, the breaking height (kept for the
// statistics from the last component) and the dissipation rate. The first failure is
// the one met in the order south face of j0, then west, east, north and node of each row.
ColumnStatus ComputeRowWaves(RunState& st, int i, int k, int j0, int j1) {
    const int ny = st.ny;
    const double T = 1.0 / st.spectrum.freq[static_cast<std::size_t>(k)];
    const double dx = st.dx;
    const double dy = st.dy;
    const double cellSize = std::sqrt(dx * dy);
    const bool lastComponent = k == st.nf - 1;

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

    // The same, or what a thread found for it ahead (the same values: DISPERSION depends
    // on the depth and the period alone).
    const AheadWave none;
    auto found = [&](const AheadWave& a, double h, Wave& w) {
        if (a.column != i) return wave(h, w);
        w.L = a.L;
        w.c = a.c;
        w.cg = a.cg;
        return true;
    };
    const bool ahead = !st.aheadFace.empty();
    const std::size_t faces =
        (ahead ? st.AheadOffset(i, true) : 0) + static_cast<std::size_t>(k) * static_cast<std::size_t>(st.rows + 1);
    const std::size_t aheadRows = ahead ? st.AheadOffset(i, false) : 0;

    // A face between two rows is the north face of the one and the south face of the
    // other; the east face of a row is its west face in the next column.
    Wave south;
    if (!found(ahead ? st.aheadFace[faces + (j0 - 1)] : none, st.Hy(i, j0), south)) return failure;
    for (int j = j0; j <= j1; ++j) {
        const std::size_t slot = static_cast<std::size_t>(k) * static_cast<std::size_t>(st.rows) + (j - 1);
        FaceWave& kept = st.eastFaces[slot];
        Wave west, east, north, node;
        if (kept.column == i - 1) {
            west.c = kept.c;
            west.cg = kept.cg;
        } else if (!wave(st.Hx(i, j), west)) {
            return failure;
        }
        if (!found(ahead ? st.aheadEast[aheadRows + slot] : none, st.Hx(i + 1, j), east) ||
            !found(ahead ? st.aheadFace[faces + j] : none, st.Hy(i, j + 1), north) ||
            !found(ahead ? st.aheadNode[aheadRows + slot] : none, st.in.Depth(i, j), node))
            return failure;
        kept = FaceWave{east.c, east.cg, i};
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
        st.rowWaves[slot] = RowWave{west.cg, east.cg, south.cg, north.cg, ratio, dcx, dcy, db};
        south = north;
    }
    return ColumnStatus::Ok;
}

// Writes the coefficients and right-hand sides of bins ma..mb of the system of segment
// jS..jE, component k: the upwind balance of every bin with its neighbours in y and in
// direction, and the inflow through the west face from the previous column.
void AssembleBins(const RunState& st, int k, int jS, int jE, SegmentSystem& sys, int ma, int mb) {
    const int nd = st.nd;
    const int ny = st.ny;
    const int segRows = jE - jS + 1;
    const double dx = st.dx;
    const double dy = st.dy;
    const double dtheta = st.binWidth;
    const bool breaking = st.in.breaking == 1;
    const bool mirrorEdges = st.in.lateralOption == 0;
    const RowWave* waves = &st.rowWaves[static_cast<std::size_t>(k) * static_cast<std::size_t>(st.rows) + (jS - 1)];
    const double* prev = &st.energy[st.EnergyIndex(k, jS, 1)];

    // Row by row: each row's bins are worked out side by side into a row of their own
    // (the previous column's spectrum is stored by rows), then spread over the diagonals
    // of the system, where a row's bins lie one diagonal apart.
    const SweepKernels& kern = ActiveSweepKernels();
    const int n = mb - ma + 1;
    if (n <= 0) return;
    std::vector<double> rowValues(6 * static_cast<std::size_t>(n));
    double* const rs = rowValues.data();
    double* const rl = rs + n;
    double* const rd = rl + n;
    double* const rh = rd + n;
    double* const rn = rh + n;
    double* const rb = rn + n;
    const std::size_t m0 = static_cast<std::size_t>(ma - 1);
    RowSetup r{};
    r.sinT = &st.sinBin[m0];
    r.cosT = &st.cosBin[m0];
    r.sinLo = &st.sinLo[m0];
    r.cosLo = &st.cosLo[m0];
    r.sinHi = &st.sinHi[m0];
    r.cosHi = &st.cosHi[m0];
    r.dx = dx;
    r.dy = dy;
    r.dtheta = dtheta;
    r.breaking = breaking;
    r.firstBin = ma;
    r.nd = nd;
    const std::size_t step = static_cast<std::size_t>(sys.BinStepAt(ma));
    for (int row = 1; row <= segRows; ++row) {
        const RowWave& w = waves[row - 1];
        const int j = jS + row - 1;
        const bool firstRow = j == jS;
        const bool lastRowOfSegment = j == jE;
        r.inflow = prev + static_cast<std::size_t>(row - 1) * nd + m0;
        r.westCg = w.westCg;
        r.eastCg = w.eastCg;
        r.southCg = w.southCg;
        r.northCg = w.northCg;
        r.ratio = w.ratio;
        r.dcx = w.dcx;
        r.dcy = w.dcy;
        r.db = w.db;
        // Energy refracted past +-90 degrees leaves the system; rows that border land
        // exchange nothing with it. The row outside the mesh holds the edge row's energy;
        // its inflow is limited to what the edge row passes on inwards: where the depth
        // falls inwards along the edge the outside face carries the larger group
        // velocity, and the edge row would feed itself without bound.
        r.rowBelow = segRows >= 2 && !firstRow;
        r.rowAbove = segRows >= 2 && !lastRowOfSegment;
        r.edgeBelow = segRows >= 2 && mirrorEdges && firstRow && j == 1;
        r.edgeAbove = segRows >= 2 && mirrorEdges && lastRowOfSegment && j == ny;
        kern.assembleRow(r, rs, rl, rd, rh, rn, rb, n);
        std::size_t e = sys.At(ma, row);
        for (int k = 0; k < n; ++k, e += step) {
            sys.south[e] = rs[k];
            sys.low[e] = rl[k];
            sys.diag[e] = rd[k];
            sys.high[e] = rh[k];
            sys.north[e] = rn[k];
            sys.b[e] = rb[k];
        }
    }
}

// A block of rows of one segment, for the wave quantities.
struct RowBlock {
    int seg, j0, j1;
};

// The wave quantities of a column taken on by the threads of its solves, so that a job
// starts as soon as its own component and segment are done instead of waiting for every
// component's: the blocks are taken in the order of the jobs, the costliest first.
struct ColumnWaves {
    RunState* st = nullptr;
    int column = 0;
    int segCount = 0;
    const std::vector<RowBlock>* blocks = nullptr;
    std::vector<int> taskSlot;                 // in the order they are taken
    std::vector<int> jobOf;                    // by slot: the place of its job
    std::vector<ColumnStatus> status;          // by slot: component, then block
    std::unique_ptr<std::atomic<int>[]> left;  // by place: its blocks not yet done
    std::atomic<int> next{0};

    int Count() const { return static_cast<int>(taskSlot.size()); }
    std::size_t Slot(int k, int b) const {
        return static_cast<std::size_t>(k) * blocks->size() + static_cast<std::size_t>(b);
    }

    // The blocks of every job: a job's place is its index in `order` (indices into
    // `jobs`), and the jobs' blocks are taken in the order of `places`.
    void Arrange(const std::vector<int>& jobs, const std::vector<int>& order, const std::vector<int>& places) {
        const int blockCount = static_cast<int>(blocks->size());
        status.assign(static_cast<std::size_t>(st->nf) * static_cast<std::size_t>(blockCount), ColumnStatus::Ok);
        jobOf.assign(status.size(), 0);
        left = std::make_unique<std::atomic<int>[]>(order.size());
        taskSlot.clear();
        for (const int at : places) {
            const std::size_t place = static_cast<std::size_t>(at);
            const int job = jobs[static_cast<std::size_t>(order[place])];
            int count = 0;
            for (int b = 0; b < blockCount; ++b)
                if ((*blocks)[static_cast<std::size_t>(b)].seg == job % segCount) {
                    const std::size_t slot = Slot(job / segCount, b);
                    taskSlot.push_back(static_cast<int>(slot));
                    jobOf[slot] = static_cast<int>(place);
                    ++count;
                }
            left[place].store(count, std::memory_order_relaxed);
        }
    }

    // Takes and computes the next block; false when every block is taken.
    bool RunOne() {
        const int t = next.fetch_add(1, std::memory_order_relaxed);
        if (t >= Count()) return false;
        const std::size_t slot = static_cast<std::size_t>(taskSlot[static_cast<std::size_t>(t)]);
        const RowBlock& block = (*blocks)[slot % blocks->size()];
        status[slot] = ComputeRowWaves(*st, column, static_cast<int>(slot / blocks->size()), block.j0, block.j1);
        std::atomic<int>& mine = left[static_cast<std::size_t>(jobOf[slot])];
        if (mine.fetch_sub(1, std::memory_order_acq_rel) == 1) mine.notify_all();
        return true;
    }
    // Until the blocks of the job at `place` are done, helping with any block.
    void AwaitJob(int place) {
        std::atomic<int>& mine = left[static_cast<std::size_t>(place)];
        while (mine.load(std::memory_order_acquire) != 0 && RunOne()) {
        }
        WaitUntil(mine, [](int v) { return v == 0; });
    }
    // Until every block is taken.
    void HelpAll() {
        while (RunOne()) {
        }
    }
    // The first failure of a job's wave quantities, in the order of its blocks.
    ColumnStatus Failure(int job) const {
        const int blockCount = static_cast<int>(blocks->size());
        for (int b = 0; b < blockCount; ++b)
            if ((*blocks)[static_cast<std::size_t>(b)].seg == job % segCount) {
                const ColumnStatus w = status[Slot(job / segCount, b)];
                if (w != ColumnStatus::Ok) return w;
            }
        return ColumnStatus::Ok;
    }
};

// One member's part of solving segment jS..jE for component k: its bins of the system,
// the solve, and its rows of the new spectrum.
ColumnStatus SolveSegmentMember(RunState& st, int k, int jS, int jE, SegmentSystem& sys, SegmentTeam& team,
                                int member, int* iterations = nullptr) {
    const int nd = st.nd;
    const int segRows = jE - jS + 1;
    int ma, mb;
    MemberBins(nd, team.Members(), member, ma, mb);
    AssembleBins(st, k, jS, jE, sys, ma, mb);
    const SolveOutcome out = SolveSegment(sys, team, member, kSolverTolerance, kSolverIterations, kSolverAlpha);
    if (iterations) *iterations = out.iterations;
    if (out.solved && out.ierr != 0) return ColumnStatus::SolverFailed;
    // A segment without inflow keeps zero energy: energy cannot enter it from the y
    // direction or from land.
    int ja, jb;
    MemberRows(segRows, team.Members(), member, ja, jb);
    for (int row = ja; row <= jb; ++row) {
        double* e = &st.energyNext[st.EnergyIndex(k, jS + row - 1, 1)];
        if (!out.solved) {
            std::fill(e, e + nd, 0.0);
            continue;
        }
        for (int m = 1; m <= nd; ++m) {
            const double x = sys.x[sys.At(m, row)];
            e[m - 1] = out.shift != 0 ? std::ldexp(x, -out.shift) : x;
        }
    }
    return ColumnStatus::Ok;
}

// Rows j0..j1 of a column, the last rows of its segment ending at jE, for component k.
struct AheadTask {
    int k, j0, j1, jE;
};

// The dispersion at the east faces, the nodes and the faces between rows of a task of
// column i, found ahead of the column's own pass by a thread that has nothing else to
// do. A failure is not kept: the column's pass meets it again and reports it in its
// place.
void FindAhead(RunState& st, int i, const AheadTask& task) {
    const double T = 1.0 / st.spectrum.freq[static_cast<std::size_t>(task.k)];
    auto keep = [&](double h, AheadWave& a) {
        double L = 0.0;
        const int flag = DISPERSION(h, T, L, nullptr);
        if (flag < 0) return;
        a.L = L;
        a.c = L / T;
        a.cg = GroupVelocity(h, L, a.c, flag);
        a.column = i;
    };
    const std::size_t rows = static_cast<std::size_t>(st.rows);
    const std::size_t faces = st.AheadOffset(i, true) + static_cast<std::size_t>(task.k) * (rows + 1);
    for (int j = task.j0; j <= task.j1; ++j) {
        const std::size_t slot = st.AheadOffset(i, false) + static_cast<std::size_t>(task.k) * rows + (j - 1);
        keep(st.Hy(i, j), st.aheadFace[faces + (j - 1)]);
        if (j == task.jE) keep(st.Hy(i, j + 1), st.aheadFace[faces + j]);
        keep(st.Hx(i + 1, j), st.aheadEast[slot]);
        keep(st.in.Depth(i, j), st.aheadNode[slot]);
    }
}

// Rows per look-ahead task: small, as a column ends only when every task taken is done.
constexpr int kAheadRowsPerTask = 32;

// The next column's work that threads without a job take on (none where `column` is 0).
struct Ahead {
    int column = 0;
    std::vector<AheadTask> tasks;
    std::atomic<int> next{0};

    Ahead(const RunState& st, int c) {
        if (st.aheadFace.empty() || c > st.nx) return;
        column = c;
        for (int k = 0; k < st.nf; ++k)
            for (int j = 1; j <= st.ny; ++j) {
                if (!st.Wet(c, j)) continue;
                int jE = j;
                while (jE < st.ny && st.Wet(c, jE + 1)) ++jE;
                for (int j0 = j; j0 <= jE; j0 += kAheadRowsPerTask)
                    tasks.push_back({k, j0, std::min(jE, j0 + kAheadRowsPerTask - 1), jE});
                j = jE;
            }
    }
    void Work(RunState& st) {
        for (int t; (t = next.fetch_add(1, std::memory_order_relaxed)) < static_cast<int>(tasks.size());)
            FindAhead(st, column, tasks[static_cast<std::size_t>(t)]);
    }
};

// Solves the long segments of a column, one job per segment and component. With at
// least as many jobs as threads, each thread takes the next job in turn, the costliest
// first. With fewer, every job has a thread of its own, and spare threads join the
// costliest job's team where the run's measures say a team finishes it sooner
// (TeamPlan). The cost of a job is its rows times (1.5 + the iterations its component
// needed in the last column). With `waves`, the threads compute the column's wave
// quantities first, and each job waits for its own. Threads left without a job take on
// `idle`, then the next column's dispersion results. None of this enters the results.
void SolveLongSegments(RunState& st, const std::vector<std::pair<int, int>>& segments, const std::vector<int>& jobs,
                       std::vector<ColumnStatus>& status, WorkerPool& pool, IdleWork* idle, Ahead& ahead,
                       ColumnWaves* waves) {
    const int nd = st.nd;
    const int segCount = static_cast<int>(segments.size());
    const int jobCount = static_cast<int>(jobs.size());
    const int threads = std::max(1, std::min<int>(pool.Size(), static_cast<int>(st.teams.size())));
    auto rowsOf = [&](int job) {
        const auto& seg = segments[static_cast<std::size_t>(job % segCount)];
        return seg.second - seg.first + 1;
    };
    // The one cost model of the plan, the places and the order of the jobs.
    auto costOf = [&](int job, double iterations) { return static_cast<double>(rowsOf(job)) * (1.5 + iterations); };
    std::vector<double> cost(static_cast<std::size_t>(jobCount));
    for (int n = 0; n < jobCount; ++n)
        cost[static_cast<std::size_t>(n)] = costOf(jobs[n], st.lastIterations[static_cast<std::size_t>(jobs[n] / segCount)]);
    std::vector<int> order(static_cast<std::size_t>(jobCount));
    for (int n = 0; n < jobCount; ++n) order[static_cast<std::size_t>(n)] = n;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return cost[static_cast<std::size_t>(a)] > cost[static_cast<std::size_t>(b)]; });
    // Threads without a job help with the wave quantities first, which the jobs wait
    // for, and with the records of the column before; then they find the next column's
    // dispersion results (kept apart from those this column reads).
    auto lookAhead = [&]() {
        if (waves) waves->HelpAll();
        if (idle) idle->Work();
        ahead.Work(st);
    };

    // Team sizes: one thread each, then spare threads to the job the column waits for,
    // where this run's measures say that a larger team finishes it sooner.
    const int forced = g_teamSizeOverride.load();
    std::vector<int> size;
    if (forced > 0) {
        const int members = std::min(forced, threads);
        size.assign(static_cast<std::size_t>(std::max(1, std::min(jobCount, threads / members))), members);
        // No team outgrows what its system is laid out for (at most one member per bin).
        for (std::size_t t = 0; t < size.size(); ++t) size[t] = std::min(size[t], st.teamSystems[t].MaxMembers());
    } else if (jobCount < threads) {
        std::vector<double> sortedCost(static_cast<std::size_t>(jobCount));
        std::vector<int> cap(static_cast<std::size_t>(jobCount));
        for (int t = 0; t < jobCount; ++t) {
            const int n = order[static_cast<std::size_t>(t)];
            const long long unknowns = static_cast<long long>(rowsOf(jobs[static_cast<std::size_t>(n)])) * nd;
            sortedCost[static_cast<std::size_t>(t)] = cost[static_cast<std::size_t>(n)];
            cap[static_cast<std::size_t>(t)] = std::min(
                st.teamSystems[static_cast<std::size_t>(t)].MaxMembers(),
                static_cast<int>(std::max(1LL, std::min<long long>(nd / kMinBinsPerMember, unknowns / kMinUnknownsPerMember))));
        }
        size = st.teamPlan.Sizes(sortedCost, cap, threads);
    } else {
        size.assign(static_cast<std::size_t>(threads), 1);
    }
    const int teams = static_cast<int>(size.size());
    std::vector<int> first(static_cast<std::size_t>(teams) + 1, 0);
    for (int t = 0; t < teams; ++t) {
        first[static_cast<std::size_t>(t) + 1] = first[static_cast<std::size_t>(t)] + size[static_cast<std::size_t>(t)];
        st.teams[static_cast<std::size_t>(t)].Start(size[static_cast<std::size_t>(t)]);
    }
    std::vector<int> iterations(static_cast<std::size_t>(jobCount), 0);
    std::vector<int> members(static_cast<std::size_t>(jobCount), 0);
    std::vector<double> seconds(static_cast<std::size_t>(jobCount), 0.0);
    // Team t starts with the t-th costliest job, the one its size was planned for; then
    // every team takes the next job left.
    std::atomic<int> next{teams};
    // The fastest threads lately take the costliest teams, the slowest the spare places
    // (ThreadPlaces).
    if (st.threadPlaces.Threads() != threads) st.threadPlaces.Reset(threads);
    const std::vector<int>& byPace = st.threadPlaces.Order(std::min(first.back(), threads));
    std::vector<int> place(static_cast<std::size_t>(threads));
    for (int p = 0; p < threads; ++p) place[static_cast<std::size_t>(byPace[static_cast<std::size_t>(p)])] = p;
    if (waves) {
        // The blocks of the teams' first jobs are taken in the order in which those jobs
        // are expected to end, the last first; then those of the jobs taken later.
        const int firstJobs = std::min(teams, jobCount);
        std::vector<double> firstCost(static_cast<std::size_t>(firstJobs));
        std::vector<int> threadOf(static_cast<std::size_t>(firstJobs));
        for (int t = 0; t < firstJobs; ++t) {
            firstCost[static_cast<std::size_t>(t)] = cost[static_cast<std::size_t>(order[static_cast<std::size_t>(t)])];
            threadOf[static_cast<std::size_t>(t)] = byPace[static_cast<std::size_t>(first[static_cast<std::size_t>(t)])];
        }
        std::vector<int> places = st.threadPlaces.StartOrder(firstCost, threadOf);
        for (int p = firstJobs; p < jobCount; ++p) places.push_back(p);
        waves->Arrange(jobs, order, places);
    }
    pool.RunTeam(threads, [&](int worker) {
        const int at = place[static_cast<std::size_t>(worker)];
        if (at >= first.back()) {
            lookAhead();
            return;
        }
        const int t = static_cast<int>(std::upper_bound(first.begin(), first.end(), at) - first.begin()) - 1;
        const int member = at - first[static_cast<std::size_t>(t)];
        SegmentTeam& team = st.teams[static_cast<std::size_t>(t)];
        SegmentSystem& sys = st.teamSystems[static_cast<std::size_t>(t)];
        for (bool firstJob = true;; firstJob = false) {
            if (member == 0) {
                team.shared = firstJob ? t : next.fetch_add(1);
                if (team.shared < jobCount) {
                    sys.Shape(rowsOf(jobs[static_cast<std::size_t>(order[static_cast<std::size_t>(team.shared)])]),
                              team.Members());
                    team.ResetProgress();
                }
            }
            team.Barrier();
            const int slot = team.shared;
            if (slot >= jobCount) {
                lookAhead();
                break;
            }
            const int n = order[static_cast<std::size_t>(slot)];
            const int job = jobs[static_cast<std::size_t>(n)];
            const auto [jS, jE] = segments[static_cast<std::size_t>(job % segCount)];
            int used = 0;
            ColumnStatus s = ColumnStatus::Ok;
            if (waves) {
                waves->AwaitJob(slot);
                s = waves->Failure(job);
            }
            const auto begun = std::chrono::steady_clock::now();
            // A segment whose wave quantities failed is not solved, as in a single pass.
            if (s == ColumnStatus::Ok) s = SolveSegmentMember(st, job / segCount, jS, jE, sys, team, member, &used);
            if (member == 0) {
                status[static_cast<std::size_t>(job)] = s;
                iterations[static_cast<std::size_t>(n)] = used;
                seconds[static_cast<std::size_t>(n)] = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
                members[static_cast<std::size_t>(n)] = team.Members();
                // A solve alone, in the place the thread held before, is its pace.
                if (team.Members() == 1 && used > 0 && st.threadPlaces.Settled(worker))
                    st.threadPlaces.Measured(worker, seconds[static_cast<std::size_t>(n)] / costOf(job, used));
            }
            // Every member is done with the system before the next segment reshapes it.
            team.Barrier();
        }
    });
    // The plan weighs a team against one thread on the job the column waits for, so only
    // that job is measured, alone or in a team: the cheaper jobs run on the slower threads
    // and pay more per unit for their fixed work, and with them one thread alone looked
    // slower than it is (a team of two then ran a quarter of the columns, 7 % slower).
    // A job without inflow was not solved and says nothing of the solver's speed.
    if (jobCount > 0) {
        const std::size_t n = static_cast<std::size_t>(order[0]);
        if (iterations[n] > 0)
            st.teamPlan.Measured(members[n], costOf(jobs[n], iterations[n]), seconds[n]);
    }
    st.teamPlan.EndColumn();
    // The longest segment of each component speaks for it in the next column's plan.
    std::vector<int> longest(static_cast<std::size_t>(st.nf), -1);
    for (int n = 0; n < jobCount; ++n) {
        const int k = jobs[static_cast<std::size_t>(n)] / segCount;
        if (rowsOf(jobs[static_cast<std::size_t>(n)]) > longest[static_cast<std::size_t>(k)]) {
            longest[static_cast<std::size_t>(k)] = rowsOf(jobs[static_cast<std::size_t>(n)]);
            st.lastIterations[static_cast<std::size_t>(k)] = iterations[static_cast<std::size_t>(n)];
        }
    }
}

}  // namespace

void SetTeamSizeOverride(int n) { g_teamSizeOverride.store(n > 0 ? n : 0); }

void AllocateMarch(RunState& st, int threads) {
    const std::size_t nx = static_cast<std::size_t>(st.nx);
    const std::size_t ny = static_cast<std::size_t>(st.ny);
    AssignLarge(st.land, nx * ny);
    AssignLarge(st.faceX, (nx + 1) * ny);
    AssignLarge(st.faceY, nx * (ny + 1));
    AssignLarge(st.slopeSumX, (nx + 1) * (ny + 1));
    AssignLarge(st.slopeSumY, (nx + 1) * (ny + 1));
    AssignLarge(st.wetSum, (nx + 1) * (ny + 1));
    const std::size_t nd = static_cast<std::size_t>(st.nd);
    for (auto* v : {&st.cosBin, &st.sinBin, &st.cosLo, &st.sinLo, &st.cosHi, &st.sinHi, &st.thetaBin}) v->assign(nd, 0.0);
    const std::size_t spectrum = nd * static_cast<std::size_t>(st.rows) * static_cast<std::size_t>(st.nf);
    AssignLarge(st.energy, spectrum);
    AssignLarge(st.energyNext, spectrum);
    for (auto* v : {&st.rowHeight, &st.rowPeriod, &st.rowDirection, &st.rowBreakHeight})
        v->assign(static_cast<std::size_t>(st.rows), 0.0);
    if (st.in.dumpSwitch == 0) {
        AssignLarge(st.sxx, nx * ny);
        AssignLarge(st.syy, nx * ny);
        AssignLarge(st.sxy, nx * ny);
    }
    const std::size_t slots = static_cast<std::size_t>(st.nf) * static_cast<std::size_t>(st.rows);
    AssignLarge(st.rowWaves, slots);
    AssignLarge(st.eastFaces, slots);
    // With one thread nobody is free to look ahead.
    st.aheadEast.clear();
    st.aheadNode.clear();
    st.aheadFace.clear();
    if (threads > 1) {
        AssignLarge(st.aheadEast, kAheadSlots * slots);
        AssignLarge(st.aheadNode, kAheadSlots * slots);
        AssignLarge(st.aheadFace, kAheadSlots * static_cast<std::size_t>(st.nf) * static_cast<std::size_t>(st.rows + 1));
    }
    // Until a column has been solved, the higher frequencies are taken as the costlier.
    st.lastIterations.assign(static_cast<std::size_t>(st.nf), 0.0);
    for (int k = 0; k < st.nf; ++k) st.lastIterations[static_cast<std::size_t>(k)] = 3.0 + 0.1 * k;
    st.threadPlaces.Reset(threads);
    st.teamSystems.resize(static_cast<std::size_t>(threads));
    st.teams.resize(static_cast<std::size_t>(threads));
    for (int t = 0; t < threads; ++t) {
        st.teamSystems[static_cast<std::size_t>(t)].Reserve(st.nd, st.ny, TeamMembersReserved(t, threads, st.nd));
        st.teams[static_cast<std::size_t>(t)].Reserve(threads, st.nd);
    }
    st.smallSystems.clear();
    st.smallTeams.clear();
    if (threads > 1) {
        st.smallSystems.resize(static_cast<std::size_t>(threads));
        st.smallTeams.resize(static_cast<std::size_t>(threads));
        for (int t = 0; t < threads; ++t) {
            st.smallSystems[static_cast<std::size_t>(t)].Reserve(st.nd, std::min(st.ny, kSmallSegmentRows));
            st.smallTeams[static_cast<std::size_t>(t)].Reserve(1, st.nd);
        }
    }
}

void PrepareMarch(RunState& st, WorkerPool& pool) {
    const int nx = st.nx;
    const int ny = st.ny;
    // The tables of a large mesh are built by blocks of columns side by side; each value
    // is computed as a single pass would, so nothing depends on the blocks.
    constexpr int kColumnsPerTask = 16;
    const int columnTasks = (nx + kColumnsPerTask - 1) / kColumnsPerTask;
    auto byColumns = [&](auto body) {
        pool.Run(columnTasks, [&](int task, int) {
            const int i0 = task * kColumnsPerTask + 1;
            const int i1 = std::min(nx, i0 + kColumnsPerTask - 1);
            for (int i = i0; i <= i1; ++i) body(i);
        });
    };
    byColumns([&](int i) {
        for (int j = 1; j <= ny; ++j) st.land[st.Node(i, j)] = st.in.Depth(i, j) <= 0.0 ? 1 : 0;
    });

    // Face depths: a face beside land takes the wet node's depth, so that waves see no
    // depth below the sea bed at a shoreline.
    auto faceDepth = [](double before, bool landBefore, double after, bool landAfter) {
        if (landBefore && !landAfter) return after;
        if (landAfter && !landBefore) return before;
        return (before + after) * 0.5;
    };
    byColumns([&](int i) {
        for (int j = 1; j <= ny; ++j) {
            const double h = i == 1 ? st.in.Depth(1, j)
                                    : faceDepth(st.in.Depth(i - 1, j), !st.Wet(i - 1, j), st.in.Depth(i, j), !st.Wet(i, j));
            st.faceX[static_cast<std::size_t>(i - 1) * ny + (j - 1)] = h;
            if (i == nx) st.faceX[static_cast<std::size_t>(nx) * ny + (j - 1)] = st.in.Depth(nx, j);
        }
        for (int j = 1; j <= ny + 1; ++j) {
            double h;
            if (j == 1) h = st.in.Depth(i, 1);
            else if (j == ny + 1) h = st.in.Depth(i, ny);
            else h = faceDepth(st.in.Depth(i, j - 1), !st.Wet(i, j - 1), st.in.Depth(i, j), !st.Wet(i, j));
            st.faceY[static_cast<std::size_t>(i - 1) * (ny + 1) + (j - 1)] = h;
        }
    });
    // Bottom slopes of the wet nodes, positive where the depth decreases towards +x or
    // +y, summed over rectangles so that the upwave mean costs the same for any reach:
    // first each column's running sums along y, then the sums over the columns before,
    // by blocks of rows.
    const std::size_t w = static_cast<std::size_t>(ny) + 1;
    byColumns([&](int i) {
        double rowX = 0.0, rowY = 0.0;
        int rowWet = 0;
        for (int j = 1; j <= ny; ++j) {
            if (st.Wet(i, j)) {
                rowX += (st.Hx(i, j) - st.Hx(i + 1, j)) / st.dx;
                rowY += (st.Hy(i, j) - st.Hy(i, j + 1)) / st.dy;
                ++rowWet;
            }
            const std::size_t at = static_cast<std::size_t>(i) * w + j;
            st.slopeSumX[at] = rowX;
            st.slopeSumY[at] = rowY;
            st.wetSum[at] = rowWet;
        }
    });
    constexpr int kRowsPerTask = 128;
    pool.Run((ny + kRowsPerTask - 1) / kRowsPerTask, [&](int task, int) {
        const std::size_t j0 = static_cast<std::size_t>(task) * kRowsPerTask + 1;
        const std::size_t j1 = std::min(static_cast<std::size_t>(ny), j0 + kRowsPerTask - 1);
        for (int i = 1; i <= nx; ++i) {
            const std::size_t at = static_cast<std::size_t>(i) * w, left = at - w;
            for (std::size_t j = j0; j <= j1; ++j) {
                st.slopeSumX[at + j] = st.slopeSumX[left + j] + st.slopeSumX[at + j];
                st.slopeSumY[at + j] = st.slopeSumY[left + j] + st.slopeSumY[at + j];
                st.wetSum[at + j] = st.wetSum[left + j] + st.wetSum[at + j];
            }
        }
    });

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
    std::vector<double> incident(static_cast<std::size_t>(st.nd));
    for (int k = 0; k < st.nf; ++k) {
        for (int m = 0; m < st.nd; ++m) incident[static_cast<std::size_t>(m)] = st.spectrum.BinEnergy(m, k);
        for (int j = 1; j <= ny; ++j) std::copy(incident.begin(), incident.end(), &st.energy[st.EnergyIndex(k, j, 1)]);
    }
    for (int j = 0; j < ny; ++j) {
        st.rowHeight[static_cast<std::size_t>(j)] = st.in.height;
        st.rowPeriod[static_cast<std::size_t>(j)] = st.in.period;
        st.rowDirection[static_cast<std::size_t>(j)] = st.spectrum.meanDirection;
    }
}

ColumnStatus MarchColumn(RunState& st, int i, WorkerPool& pool, IdleWork* idle) {
    const int nd = st.nd;
    const int nf = st.nf;
    std::vector<std::pair<int, int>> segments;
    for (int j = 1; j <= st.ny; ++j) {
        if (!st.Wet(i, j)) continue;
        const int start = j;
        while (j < st.ny && st.Wet(i, j + 1)) ++j;
        segments.emplace_back(start, j);
    }
    const int segCount = static_cast<int>(segments.size());

    // The wave quantities of every component and wet row, in blocks of rows.
    std::vector<RowBlock> blocks;
    for (int s = 0; s < segCount; ++s)
        for (int j0 = segments[s].first; j0 <= segments[s].second; j0 += kWaveRowsPerTask)
            blocks.push_back({s, j0, std::min(segments[s].second, j0 + kWaveRowsPerTask - 1)});
    const int blockCount = static_cast<int>(blocks.size());

    // Land rows carry no energy into the next column.
    for (int k = 0; k < nf; ++k)
        for (int j = 1; j <= st.ny; ++j)
            if (!st.Wet(i, j)) {
                double* e = &st.energyNext[st.EnergyIndex(k, j, 1)];
                std::fill(e, e + nd, 0.0);
            }

    // Short segments are solved one per thread, side by side; longer ones each by a team.
    // Every solve writes only its own rows of the new spectrum, and no solve depends on
    // which thread or how many threads did it.
    auto isSmall = [&](int s) {
        return pool.Size() > 1 &&
               segments[static_cast<std::size_t>(s)].second - segments[static_cast<std::size_t>(s)].first + 1 <=
                   kSmallSegmentRows;
    };
    bool anySmall = false, anyLong = false;
    for (int s = 0; s < segCount; ++s) (isSmall(s) ? anySmall : anyLong) = true;

    // Threads that run out of long jobs find the next column's dispersion results.
    Ahead ahead(st, anyLong ? i + 1 : st.nx + 1);

    // Each component and segment: its first failure. A failure of the wave quantities
    // comes before its solve, as a single pass through the segment would meet them.
    std::vector<ColumnStatus> status(static_cast<std::size_t>(nf) * segments.size(), ColumnStatus::Ok);
    if (segCount > 0 && !anySmall) {
        // Only long segments: the solves' threads compute the wave quantities first, and
        // each job starts when its own are done.
        std::vector<int> jobs;
        for (int k = 0; k < nf; ++k)
            for (int s = 0; s < segCount; ++s) jobs.push_back(k * segCount + s);
        ColumnWaves waves;
        waves.st = &st;
        waves.column = i;
        waves.segCount = segCount;
        waves.blocks = &blocks;
        SolveLongSegments(st, segments, jobs, status, pool, idle, ahead, &waves);
    } else if (segCount > 0) {
        std::vector<ColumnStatus> waveStatus(static_cast<std::size_t>(nf) * blocks.size(), ColumnStatus::Ok);
        pool.Run(nf * blockCount, [&](int task, int) {
            const RowBlock& b = blocks[static_cast<std::size_t>(task % blockCount)];
            waveStatus[static_cast<std::size_t>(task)] = ComputeRowWaves(st, i, task / blockCount, b.j0, b.j1);
        });
        for (int k = 0; k < nf; ++k)
            for (int b = 0; b < blockCount; ++b) {
                ColumnStatus& s = status[static_cast<std::size_t>(k) * segments.size() + blocks[b].seg];
                const ColumnStatus w = waveStatus[static_cast<std::size_t>(k) * blocks.size() + b];
                if (s == ColumnStatus::Ok) s = w;
            }
        std::vector<int> small, large;
        for (int k = 0; k < nf; ++k)
            for (int s = 0; s < segCount; ++s) {
                const int job = k * segCount + s;
                if (status[static_cast<std::size_t>(job)] != ColumnStatus::Ok) continue;
                if (isSmall(s)) small.push_back(job);
                else large.push_back(job);
            }
        pool.Run(static_cast<int>(small.size()), [&](int task, int worker) {
            const int job = small[static_cast<std::size_t>(task)];
            const auto [jS, jE] = segments[static_cast<std::size_t>(job % segCount)];
            SegmentSystem& sys = st.smallSystems[static_cast<std::size_t>(worker)];
            SegmentTeam& team = st.smallTeams[static_cast<std::size_t>(worker)];
            sys.Shape(jE - jS + 1);
            team.Start(1);
            status[static_cast<std::size_t>(job)] = SolveSegmentMember(st, job / segCount, jS, jE, sys, team, 0);
        });
        if (!large.empty()) SolveLongSegments(st, segments, large, status, pool, idle, ahead, nullptr);
    }

    // The first failure in component order is the one a single thread would have met.
    for (ColumnStatus s : status)
        if (s != ColumnStatus::Ok) return s;
    std::swap(st.energy, st.energyNext);
    return ColumnStatus::Ok;
}

}  // namespace wv::solv
