// The march's solver by teams against ILUCGS on the same systems: the same solution, and
// the same bits for any number of team members.
#include "solver/ilucgs.h"
#include "solver/segment_kernels.h"
#include "solver/segment_solver.h"
#include "solver/solver_constants.h"
#include "solver/worker_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace wv::solv {
namespace {

// A system shaped like the march's: nd bins by rows rows, each unknown coupled to the
// bins below and above in its row and to the same bin in the rows below and above, the
// couplings negative (inflow) and the diagonal above their sum (outflow).
struct MarchShapedSystem {
    int nd, rows;
    std::vector<double> south, low, diag, high, north, b;  // (m - 1) * rows + (j - 1)

    MarchShapedSystem(int nd_, int rows_, unsigned seed, double scale = 1.0) : nd(nd_), rows(rows_) {
        const std::size_t n = static_cast<std::size_t>(nd) * rows;
        for (auto* v : {&south, &low, &diag, &high, &north, &b}) v->assign(n, 0.0);
        std::mt19937 rng(seed);
        std::uniform_real_distribution<double> off(-1.0, 0.0);
        for (int m = 1; m <= nd; ++m)
            for (int j = 1; j <= rows; ++j) {
                const std::size_t e = At(m, j);
                if (j > 1) south[e] = off(rng);
                if (m > 1) low[e] = off(rng);
                if (m < nd) high[e] = off(rng);
                if (j < rows) north[e] = off(rng);
                diag[e] = -(south[e] + low[e] + high[e] + north[e]) + 0.05 + 0.3 * -off(rng);
                // Some rows without inflow, as behind a headland.
                b[e] = (j % 7 == 3) ? 0.0 : scale * (1.0 + off(rng));
            }
    }
    std::size_t At(int m, int j) const { return static_cast<std::size_t>(m - 1) * rows + (j - 1); }
};

struct IlucgsResult {
    std::vector<double> x;  // (m - 1) * rows + (j - 1)
    int ierr = -1;
    int iterations = 0;
};

// The system in ILUCGS's layout, unknown p = (j - 1) nd + m, as the march would call it.
IlucgsResult SolveWithIlucgs(const MarchShapedSystem& s) {
    const int nd = s.nd, n = nd * s.rows, S = nd, M = nd - 1, lb = -nd, N = n + 2 * S;
    std::vector<double> storage(static_cast<std::size_t>(7) * (N - lb + 1), 0.0);
    DiagonalMatrixView A(storage.data(), lb, N);
    std::vector<double> b(static_cast<std::size_t>(n) + 1, 0.0);
    for (int m = 1; m <= nd; ++m)
        for (int j = 1; j <= s.rows; ++j) {
            const int p = (j - 1) * nd + m;
            A(p, 1) = s.south[s.At(m, j)];
            A(p, 3) = s.low[s.At(m, j)];
            A(p, 4) = s.diag[s.At(m, j)];
            A(p, 5) = s.high[s.At(m, j)];
            A(p, 7) = s.north[s.At(m, j)];
            b[static_cast<std::size_t>(p)] = s.b[s.At(m, j)];
        }
    const std::size_t halo = static_cast<std::size_t>(n + 2 * S + 1);
    std::vector<double> x(halo), p(halo), v(halo), r(halo), d(halo), uq(halo), rt(n + 1), u(n + 1), q(n + 1);
    auto h = [&](std::vector<double>& w) { return w.data() + S - 1; };
    IlucgsResult out;
    double eps = kSolverTolerance, alpha = kSolverAlpha;
    int itmax = kSolverIterations;
    ILUCGS(A, n, N, lb, M, S, b.data(), h(x), h(p), h(v), h(r), h(d), rt.data(), u.data(), q.data(), eps, h(uq),
           itmax, out.ierr, alpha);
    out.iterations = itmax;
    out.x.assign(static_cast<std::size_t>(n), 0.0);
    for (int m = 1; m <= nd; ++m)
        for (int j = 1; j <= s.rows; ++j) out.x[s.At(m, j)] = h(x)[(j - 1) * nd + m];
    return out;
}

struct TeamResult {
    std::vector<double> x;
    SolveOutcome outcome;
};

// With `reused`, in that system's storage, as a run's team solves one system after
// another with the sizes its plan gives it.
TeamResult SolveWithTeam(const MarchShapedSystem& s, int members, WorkerPool& pool, double alpha = kSolverAlpha,
                         SegmentSystem* reused = nullptr) {
    SegmentSystem own;
    if (!reused) own.Reserve(s.nd, s.rows + 5, members);  // a larger reservation than the segment, as in a run
    SegmentSystem& sys = reused ? *reused : own;
    sys.Shape(s.rows, members);
    SegmentTeam team;
    team.Reserve(members, s.nd);
    team.Start(members);
    std::vector<SolveOutcome> outcomes(static_cast<std::size_t>(members));
    pool.RunTeam(members, [&](int member) {
        int ma, mb;
        MemberBins(s.nd, members, member, ma, mb);
        for (int m = ma; m <= mb; ++m)
            for (int j = 1; j <= s.rows; ++j) {
                const std::size_t e = s.At(m, j), i = sys.At(m, j);
                sys.south[i] = s.south[e];
                sys.low[i] = s.low[e];
                sys.diag[i] = s.diag[e];
                sys.high[i] = s.high[e];
                sys.north[i] = s.north[e];
                sys.b[i] = s.b[e];
            }
        outcomes[static_cast<std::size_t>(member)] =
            SolveSegment(sys, team, member, kSolverTolerance, kSolverIterations, alpha);
    });
    TeamResult out;
    out.outcome = outcomes[0];
    for (const SolveOutcome& o : outcomes) {
        EXPECT_EQ(o.solved, out.outcome.solved);
        EXPECT_EQ(o.ierr, out.outcome.ierr);
        EXPECT_EQ(o.iterations, out.outcome.iterations);
    }
    out.x.assign(static_cast<std::size_t>(s.nd) * s.rows, 0.0);
    for (int m = 1; m <= s.nd; ++m)
        for (int j = 1; j <= s.rows; ++j)
            out.x[s.At(m, j)] = std::ldexp(sys.x[sys.At(m, j)], -out.outcome.shift);
    return out;
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// The same systems as ILUCGS solves them: the sweeps and recurrences are ILUCGS's, only
// the inner products are summed in another fixed order, which moves the solution by far
// less than the tolerance; and every team size gives the same bits.
TEST(SolverSegmentTeams, AgreeWithIlucgsAndWithEachOther) {
    WorkerPool pool(5);
    struct Case {
        int nd, rows;
        unsigned seed;
        double scale;
    };
    // Odd and even bin counts, one row, more rows than bins, and right-hand sides that
    // need the power-of-two scaling.
    for (const Case c : {Case{9, 40, 1, 1.0}, Case{16, 25, 2, 1.0}, Case{45, 60, 3, 1.0}, Case{5, 1, 4, 1.0},
                         Case{12, 30, 5, 1e-300}, Case{7, 33, 6, 1e200}}) {
        SCOPED_TRACE(::testing::Message() << "nd " << c.nd << " rows " << c.rows << " scale " << c.scale);
        const MarchShapedSystem s(c.nd, c.rows, c.seed, c.scale);
        const IlucgsResult ref = SolveWithIlucgs(s);
        ASSERT_EQ(ref.ierr, 0);
        const TeamResult one = SolveWithTeam(s, 1, pool);
        ASSERT_TRUE(one.outcome.solved);
        ASSERT_EQ(one.outcome.ierr, 0);
        EXPECT_NEAR(one.outcome.iterations, ref.iterations, 1);
        double worst = 0.0, largest = 0.0;
        for (std::size_t e = 0; e < ref.x.size(); ++e) {
            worst = std::fmax(worst, std::fabs(one.x[e] - ref.x[e]));
            largest = std::fmax(largest, std::fabs(ref.x[e]));
        }
        EXPECT_LE(worst, 1e-9 * largest);
        for (int members = 2; members <= std::min(5, c.nd); ++members) {
            SCOPED_TRACE(::testing::Message() << members << " members");
            const TeamResult team = SolveWithTeam(s, members, pool);
            EXPECT_EQ(team.outcome.iterations, one.outcome.iterations);
            EXPECT_TRUE(SameBits(team.x, one.x));
        }
    }
}

// One system's storage laid out for one team size after another, with segments of other
// lengths between: what an earlier layout left behind (unknowns where a halo now lies,
// halo copies where unknowns now lie) never reaches a result.
TEST(SolverSegmentTeams, OneStorageServesEveryTeamSizeInTurn) {
    WorkerPool pool(5);
    SegmentSystem sys;
    sys.Reserve(45, 64, 5);
    const MarchShapedSystem longer(45, 60, 21), shorter(45, 23, 22);
    const TeamResult longOne = SolveWithTeam(longer, 1, pool);
    const TeamResult shortOne = SolveWithTeam(shorter, 1, pool);
    ASSERT_TRUE(longOne.outcome.solved);
    ASSERT_TRUE(shortOne.outcome.solved);
    const std::pair<int, bool> turns[] = {{3, true}, {1, false}, {2, true}, {5, false}, {5, true}, {1, true}, {4, false}, {1, false}};
    for (const auto& [members, isLong] : turns) {
        SCOPED_TRACE(::testing::Message() << members << " members, " << (isLong ? "60" : "23") << " rows");
        const TeamResult r = SolveWithTeam(isLong ? longer : shorter, members, pool, kSolverAlpha, &sys);
        const TeamResult& fresh = isLong ? longOne : shortOne;
        EXPECT_EQ(r.outcome.iterations, fresh.outcome.iterations);
        EXPECT_TRUE(SameBits(r.x, fresh.x));
    }
}

// A zero right-hand side is not solved (the march keeps zero energy there), and two bins
// are refused as ILUCGS refuses them.
TEST(SolverSegmentTeams, ZeroInflowAndTooFewBins) {
    WorkerPool pool(3);
    MarchShapedSystem zero(8, 20, 7);
    std::fill(zero.b.begin(), zero.b.end(), 0.0);
    for (int members : {1, 3}) {
        const TeamResult r = SolveWithTeam(zero, members, pool);
        EXPECT_FALSE(r.outcome.solved);
    }
    const MarchShapedSystem two(2, 10, 8);
    const TeamResult r = SolveWithTeam(two, 1, pool);
    EXPECT_TRUE(r.outcome.solved);
    EXPECT_EQ(r.outcome.ierr, 2);
}


// The kernels for the baseline processor and for AVX2 give the same bits, on whole solves
// (with the modified factorisation and with the plain one) and for every team size.
TEST(SolverSegmentTeams, KernelsOfEveryProcessorAgree) {
    if (!Avx2SweepKernels()) GTEST_SKIP() << "no AVX2 kernels in this build";
    __builtin_cpu_init();
    if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "the processor has no AVX2";
    WorkerPool pool(4);
    struct Case {
        int nd, rows;
        unsigned seed;
        double alpha;
    };
    for (const Case c : {Case{45, 70, 11, kSolverAlpha}, Case{13, 5, 12, kSolverAlpha}, Case{30, 41, 13, 0.0},
                         Case{7, 90, 14, 0.0}}) {
        SCOPED_TRACE(::testing::Message() << "nd " << c.nd << " rows " << c.rows << " alpha " << c.alpha);
        const MarchShapedSystem s(c.nd, c.rows, c.seed);
        for (int members : {1, 3}) {
            SetBaselineKernelsOverride(true);
            ASSERT_STREQ(ActiveSweepKernels().name, "baseline");
            const TeamResult baseline = SolveWithTeam(s, members, pool, c.alpha);
            SetBaselineKernelsOverride(false);
            ASSERT_STREQ(ActiveSweepKernels().name, std::getenv("WAVORA_BASELINE_KERNELS") ? "baseline" : "avx2");
            const TeamResult avx2 = SolveWithTeam(s, members, pool, c.alpha);
            ASSERT_TRUE(baseline.outcome.solved);
            EXPECT_EQ(baseline.outcome.ierr, 0);
            EXPECT_EQ(avx2.outcome.iterations, baseline.outcome.iterations);
            EXPECT_TRUE(SameBits(avx2.x, baseline.x));
        }
    }
}

// Kernel by kernel, on runs of every length up to 19 and on values that round, vanish,
// overflow or are not numbers: the same bits from both kernel sets.
TEST(SolverSegmentTeams, KernelsAgreeOnAwkwardValues) {
    const SweepKernels* avx2 = Avx2SweepKernels();
    if (!avx2) GTEST_SKIP() << "no AVX2 kernels in this build";
    __builtin_cpu_init();
    if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "the processor has no AVX2";
    const SweepKernels& base = BaselineSweepKernels();
    const SweepSteps st{24, 25};
    constexpr int kSize = 200, kAt = 80;
    constexpr int kArrays = 16;
    std::mt19937 rng(21);
    std::uniform_real_distribution<double> u(-2.0, 2.0);
    const double specials[] = {0.0, -0.0, 1e-310, -1e-310, 1e308, -1e308, std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN(), 1.0 / 3.0, -7.5e-17};
    auto fill = [&](std::vector<double>& a) {
        a.resize(kSize);
        for (double& v : a) v = rng() % 5 == 0 ? specials[rng() % 10] : u(rng);
    };
    // Bit for bit, except that a not-a-number may carry either operand's payload: which
    // one the processor passes on depends on the order the compiler gives the operands
    // of an addition or a multiplication, and no result of the march is ever one.
    auto same = [](const std::vector<std::vector<double>>& a, const std::vector<std::vector<double>>& b) {
        for (std::size_t k = 0; k < a.size(); ++k)
            for (std::size_t e = 0; e < a[k].size(); ++e) {
                if (std::isnan(a[k][e]) && std::isnan(b[k][e])) continue;
                if (std::memcmp(&a[k][e], &b[k][e], sizeof(double)) != 0) return false;
            }
        return true;
    };
    for (int n = 1; n <= 19; ++n) {
        for (int trial = 0; trial < 20; ++trial) {
            std::vector<std::vector<double>> a(kArrays);
            for (auto& v : a) fill(v);
            auto b = a;
            const double s1 = u(rng), s2 = trial % 3 == 0 ? specials[rng() % 10] : u(rng);
            for (int kernel = 0; kernel < 9; ++kernel) {
                for (auto* set : {&a, &b}) {
                    const SweepKernels& ks = set == &a ? base : *avx2;
                    std::vector<std::vector<double>>& v = *set;
                    auto p = [&](int k) { return v[static_cast<std::size_t>(k)].data() + kAt; };
                    switch (kernel) {
                        case 0: ks.factorPlain(p(0), p(1), p(2), p(3), p(4), p(5), st, n); break;
                        case 1: ks.factorModified(p(0), p(1), p(2), p(3), p(4), p(5), s1, s2, st, n); break;
                        case 2: ks.forwardFromRhs(p(0), p(1), p(2), p(3), p(4), s2, st, n); break;
                        case 3: ks.forwardProduct(p(0), p(1), p(2), p(3), p(4), p(5), p(6), p(7), st, n); break;
                        case 4: ks.backwardStart(p(0), p(1), p(2), p(3), p(4), p(5), p(6), p(7), st, n); break;
                        case 5: ks.backwardSigma(p(0), p(1), p(2), p(3), p(4), p(5), st, n); break;
                        case 6:
                            ks.backwardUpdate(p(0), p(1), p(2), p(3), p(4), p(5), p(6), p(7), s2, p(8), p(9), p(10), st,
                                              n);
                            break;
                        case 7: ks.halfStep(p(0), p(1), p(2), s2, n); break;
                        case 8: ks.direction(p(0), p(1), p(2), p(3), s2, n); break;
                    }
                }
                EXPECT_TRUE(same(a, b)) << "kernel " << kernel << " run of " << n;
            }
        }
    }
}

// One row of the march's coefficients as the branching form sets them up, bin by bin.
void BranchingRow(const RowSetup& r, std::vector<std::vector<double>>& out, int n) {
    for (int k = 0; k < n; ++k) {
        const int m = r.firstBin + k;
        const double sinT = r.sinT[k], cosT = r.cosT[k];
        const double omegaLo = r.ratio * (r.sinLo[k] * r.dcx - r.cosLo[k] * r.dcy);
        const double omegaHi = r.ratio * (r.sinHi[k] * r.dcx - r.cosHi[k] * r.dcy);
        const bool northward = sinT * r.southCg >= 0.0;
        double diag = r.eastCg * cosT / r.dx;
        if (r.breaking) diag += r.db;
        diag += northward ? sinT * r.northCg / r.dy : -sinT * r.southCg / r.dy;
        diag += std::max(omegaHi, 0.0) / r.dtheta - std::min(omegaLo, 0.0) / r.dtheta;
        const double sc = northward ? -sinT * r.southCg / r.dy : 0.0;
        const double nc = northward ? 0.0 : sinT * r.northCg / r.dy;
        const double lc = omegaLo >= 0.0 ? -omegaLo / r.dtheta : 0.0;
        const double uc = omegaHi < 0.0 ? omegaHi / r.dtheta : 0.0;
        out[0][k] = r.rowBelow ? sc : 0.0;
        out[1][k] = m > 1 ? lc : 0.0;
        out[3][k] = m < r.nd ? uc : 0.0;
        out[4][k] = r.rowAbove ? nc : 0.0;
        if (r.edgeBelow) diag += northward ? -sinT * std::min(r.southCg, r.northCg) / r.dy : 0.0;
        if (r.edgeAbove) diag += northward ? 0.0 : sinT * std::min(r.northCg, r.southCg) / r.dy;
        out[2][k] = diag;
        out[5][k] = r.westCg * cosT * r.inflow[k] / r.dx;
    }
}

// The coefficients of a row, worked out several bins at a time, are those of the
// branching form in every bit (but a not-a-number's payload), on rows of every length
// to 19, every combination of the row's flags, either end of the bins, and values that
// vanish, overflow or are not numbers.
TEST(SolverSegmentTeams, RowCoefficientsAreThoseOfTheBranchingForm) {
    std::vector<const SweepKernels*> sets{&BaselineSweepKernels()};
    __builtin_cpu_init();
    if (Avx2SweepKernels() && __builtin_cpu_supports("avx2")) sets.push_back(Avx2SweepKernels());
    std::mt19937 rng(31);
    std::uniform_real_distribution<double> u(-2.0, 2.0);
    const double specials[] = {0.0, -0.0, 1e-310, -1e-310, 1e308, -1e308, std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN(), 1.0 / 3.0, -7.5e-17};
    auto value = [&](int awkward) { return static_cast<int>(rng() % 10) < awkward ? specials[rng() % 10] : u(rng); };
    auto same = [](double a, double b) { return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0; };
    for (int n = 1; n <= 19; ++n) {
        for (int trial = 0; trial < 64; ++trial) {
            const int awkward = trial % 4;  // a quarter of the trials plain, the rest ever more awkward
            std::vector<std::vector<double>> tables(7, std::vector<double>(static_cast<std::size_t>(n)));
            for (auto& t : tables)
                for (double& v : t) v = value(awkward);
            RowSetup r{};
            r.sinT = tables[0].data();
            r.cosT = tables[1].data();
            r.sinLo = tables[2].data();
            r.cosLo = tables[3].data();
            r.sinHi = tables[4].data();
            r.cosHi = tables[5].data();
            r.inflow = tables[6].data();
            for (double* v : {&r.westCg, &r.eastCg, &r.southCg, &r.northCg, &r.ratio, &r.dcx, &r.dcy, &r.db})
                *v = value(awkward);
            r.dx = 10.0;
            r.dy = trial % 5 == 0 ? 1e-300 : 7.5;
            r.dtheta = 3.14159265 / 45;
            r.breaking = trial & 1;
            r.rowBelow = trial & 2;
            r.rowAbove = trial & 4;
            r.edgeBelow = trial & 8;
            r.edgeAbove = trial & 16;
            r.nd = n + static_cast<int>(trial % 3);
            r.firstBin = 1 + static_cast<int>(rng() % 3) % (r.nd - n + 1);
            std::vector<std::vector<double>> want(6, std::vector<double>(static_cast<std::size_t>(n)));
            BranchingRow(r, want, n);
            for (const SweepKernels* ks : sets) {
                std::vector<std::vector<double>> got(6, std::vector<double>(static_cast<std::size_t>(n), 99.0));
                ks->assembleRow(r, got[0].data(), got[1].data(), got[2].data(), got[3].data(), got[4].data(),
                                got[5].data(), n);
                for (std::size_t a = 0; a < 6; ++a)
                    for (std::size_t e = 0; e < static_cast<std::size_t>(n); ++e)
                        EXPECT_TRUE(same(got[a][e], want[a][e]))
                            << ks->name << " array " << a << " bin " << r.firstBin + static_cast<int>(e) << " of " << n
                            << " trial " << trial << ": " << got[a][e] << " against " << want[a][e];
            }
        }
    }
}

}  // namespace
}  // namespace wv::solv
