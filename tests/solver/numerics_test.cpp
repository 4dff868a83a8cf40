// The numerical building blocks: the linear solver against a dense solve, the
// dispersion and shoaling routines against linear wave theory, the quadrature, and the
// incident spectrum.
#include "solver/dispersion.h"
#include "solver/gauss_legendre.h"
#include "solver/ilucgs.h"
#include "solver/solver_constants.h"
#include "solver/incident_waves.h"
#include "solver_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace wv::solv {
namespace {

// A seven-diagonal system in the layout ILUCGS takes, with a dense copy to check against.
struct SevenDiagonalSystem {
    int n, M, S, lb, N;
    std::vector<double> storage;
    std::vector<double> dense;  // n x n
    std::vector<double> b;      // 1..n

    SevenDiagonalSystem(int n_, int M_, int S_, unsigned seed, bool withM = true) : n(n_), M(M_), S(S_) {
        lb = -S;
        N = n + 2 * S;
        storage.assign(static_cast<std::size_t>(7) * (N - lb + 1), 0.0);
        dense.assign(static_cast<std::size_t>(n) * n, 0.0);
        b.assign(static_cast<std::size_t>(n) + 1, 0.0);
        DiagonalMatrixView A = View();
        std::mt19937 rng(seed);
        std::uniform_real_distribution<double> off(-1.0, 0.0);
        const int offsets[7] = {-S, -M, -1, 0, 1, M, S};
        for (int i = 1; i <= n; ++i) {
            double sum = 0.0;
            for (int c = 1; c <= 7; ++c) {
                if (c == 4) continue;
                if (!withM && (c == 2 || c == 6)) continue;
                const int col = i + offsets[c - 1];
                if (col < 1 || col > n) continue;
                const double a = off(rng);
                A(i, c) = a;
                dense[static_cast<std::size_t>(i - 1) * n + (col - 1)] = a;
                sum += std::fabs(a);
            }
            // An M-matrix like the march's: outflow on the diagonal exceeds the inflows.
            A(i, 4) = sum + 0.2 + 0.5 * (-off(rng));
            dense[static_cast<std::size_t>(i - 1) * n + (i - 1)] = A(i, 4);
            b[static_cast<std::size_t>(i)] = 1.0 + off(rng);
        }
    }
    DiagonalMatrixView View() { return DiagonalMatrixView(storage.data(), lb, N); }

    std::vector<double> DenseSolve() const {
        std::vector<double> a = dense;
        std::vector<double> x(b.begin() + 1, b.end());
        for (int k = 0; k < n; ++k) {
            int piv = k;
            for (int r = k + 1; r < n; ++r)
                if (std::fabs(a[r * n + k]) > std::fabs(a[piv * n + k])) piv = r;
            for (int c = 0; c < n; ++c) std::swap(a[k * n + c], a[piv * n + c]);
            std::swap(x[k], x[piv]);
            for (int r = k + 1; r < n; ++r) {
                const double f = a[r * n + k] / a[k * n + k];
                for (int c = k; c < n; ++c) a[r * n + c] -= f * a[k * n + c];
                x[r] -= f * x[k];
            }
        }
        for (int k = n - 1; k >= 0; --k) {
            for (int c = k + 1; c < n; ++c) x[k] -= a[k * n + c] * x[c];
            x[k] /= a[k * n + k];
        }
        return x;
    }
};

struct SolverVectors {
    std::vector<double> x, p, v, r, d, uq, rt, u, q;
    SolverVectors(int n, int S) {
        for (auto* w : {&x, &p, &v, &r, &d, &uq}) w->assign(static_cast<std::size_t>(n + 2 * S + 1), 0.0);
        for (auto* w : {&rt, &u, &q}) w->assign(static_cast<std::size_t>(n + 1), 0.0);
    }
    double* Halo(std::vector<double>& w, int S) { return w.data() + S - 1; }
};

int Solve(SevenDiagonalSystem& sys, SolverVectors& w, double& eps, int& itmax, double& alpha,
          const double* b = nullptr) {
    int ierr = -1;
    ILUCGS(sys.View(), sys.n, sys.N, sys.lb, sys.M, sys.S, b ? b : sys.b.data(), w.Halo(w.x, sys.S),
           w.Halo(w.p, sys.S), w.Halo(w.v, sys.S), w.Halo(w.r, sys.S), w.Halo(w.d, sys.S), w.rt.data(), w.u.data(),
           w.q.data(), eps, w.Halo(w.uq, sys.S), itmax, ierr, alpha);
    return ierr;
}

// Every factorisation (alpha 0 is the plain incomplete one) on systems with and without
// the +-M diagonals; the caller's alpha reads the same again after the call.
TEST(SolverIlucgs, MatchesDenseSolveForSevenDiagonals) {
    struct Shape {
        int n, M, S;
        unsigned seed;
    };
    for (const Shape& k : {Shape{72, 5, 6, 1}, Shape{72, 5, 6, 2}, Shape{72, 5, 6, 3}, Shape{40, 3, 5, 9}})
        for (bool withM : {true, false})
            for (double alpha0 : {0.0, 0.5, 1.0, 1.03}) {
                SCOPED_TRACE(::testing::Message() << k.n << " " << k.seed << " " << withM << " " << alpha0);
                SevenDiagonalSystem sys(k.n, k.M, k.S, k.seed, withM);
                SolverVectors w(sys.n, sys.S);
                double eps = 1e-10, alpha = alpha0;
                int itmax = 1000;
                ASSERT_EQ(Solve(sys, w, eps, itmax, alpha), 0);
                EXPECT_LE(eps, 1e-10);
                EXPECT_GE(itmax, 2);  // a zero start cannot converge at the first iteration
                EXPECT_EQ(alpha, alpha0);
                const std::vector<double> ref = sys.DenseSolve();
                for (int i = 1; i <= sys.n; ++i)
                    EXPECT_NEAR(w.Halo(w.x, sys.S)[i], ref[i - 1], 1e-8 * std::fabs(ref[i - 1]) + 1e-12);
            }
}

TEST(SolverIlucgs, DiagonalSystemAndArgumentChecks) {
    SevenDiagonalSystem sys(20, 2, 4, 4);
    DiagonalMatrixView A = sys.View();
    for (int i = 1; i <= sys.n; ++i)
        for (int c : {1, 2, 3, 5, 6, 7}) A(i, c) = 0.0;
    SolverVectors w(sys.n, sys.S);
    double eps = 1e-12, alpha = 1.0;
    int itmax = 100;
    ASSERT_EQ(Solve(sys, w, eps, itmax, alpha), 0);
    for (int i = 1; i <= sys.n; ++i) EXPECT_NEAR(w.Halo(w.x, sys.S)[i], sys.b[i] / A(i, 4), 1e-12);
    EXPECT_EQ(w.d[static_cast<std::size_t>(sys.S)], 1.0 / A(1, 4));  // d(1) = 1 / (a A(1,4))

    // Two direction bins make M = ND - 1 = 1: refused before anything is written.
    auto refused = [&](int M, int S, int lb, int N, int n, double a) {
        SolverVectors ww(sys.n, sys.S);
        ww.x.assign(ww.x.size(), 7.0);
        double e = 1e-7;
        int it = 10, ierr = 0;
        ILUCGS(sys.View(), n, N, lb, M, S, sys.b.data(), ww.Halo(ww.x, sys.S), ww.Halo(ww.p, sys.S),
               ww.Halo(ww.v, sys.S), ww.Halo(ww.r, sys.S), ww.Halo(ww.d, sys.S), ww.rt.data(), ww.u.data(),
               ww.q.data(), e, ww.Halo(ww.uq, sys.S), it, ierr, a);
        return ierr == 2 && ww.x[static_cast<std::size_t>(sys.S)] == 7.0;
    };
    EXPECT_TRUE(refused(1, 4, -4, sys.N, sys.n, 1.03));      // M < 2
    EXPECT_TRUE(refused(4, 4, -4, sys.N, sys.n, 1.03));      // M >= S
    EXPECT_TRUE(refused(2, 4, -4, sys.n + 7, sys.n, 1.03));  // N < 2S + n
    EXPECT_TRUE(refused(2, 4, -3, sys.N, sys.n, 1.03));      // lb > -S
    EXPECT_TRUE(refused(2, 4, -4, sys.N, sys.n, -0.1));      // alpha < 0
    EXPECT_TRUE(refused(2, 4, -4, sys.N, 3, 1.03));          // n < S
}

// Energy that has decayed to 1e-300 must still be solved: the inner products of the
// iteration would underflow and stall it until the iteration limit. So must an absurdly
// large right-hand side, whose inner products would overflow; an all-zero one is solved
// by x = 0 without a breakdown.
TEST(SolverIlucgs, TinyHugeAndZeroRightHandSidesConverge) {
    SevenDiagonalSystem sys(72, 5, 6, 5, false);
    const std::vector<double> ref = sys.DenseSolve();
    for (double scale : {1e-300, 1e300, 0.0}) {
        SCOPED_TRACE(scale);
        std::vector<double> b(sys.b.size());
        for (std::size_t i = 0; i < b.size(); ++i) b[i] = sys.b[i] * scale;
        SolverVectors w(sys.n, sys.S);
        double eps = 1e-7, alpha = 1.03;
        int itmax = 1000;
        ASSERT_EQ(Solve(sys, w, eps, itmax, alpha, b.data()), 0);
        EXPECT_LT(itmax, 100);
        for (int i = 1; i <= sys.n; ++i) {
            const double x = w.Halo(w.x, sys.S)[i];
            if (scale == 0.0) EXPECT_EQ(x, 0.0);
            else EXPECT_NEAR(x / scale, ref[i - 1], 1e-5 * std::fabs(ref[i - 1]));
        }
    }
}

TEST(SolverDispersion, AgreesWithLinearTheory) {
    double L = 0.0;
    EXPECT_EQ(DISPERSION(10.0, 8.0, L), 0);
    EXPECT_NEAR(L, 70.8537, 5e-5);
    EXPECT_NEAR(WAVELENGTH(9.8, 8.0, 10.0), 70.8537, 5e-5);
    for (double h : {0.5, 3.0, 12.0, 40.0}) {
        for (double T : {4.0, 9.0, 15.0}) {
            ASSERT_GE(DISPERSION(h, T, L), 0);
            // The solver's pi is 3.14159; the relation holds to that and to the Newton stop.
            EXPECT_NEAR(L, solvtest::TheoryWavelength(h, T), 2e-5 * L) << h << " " << T;
            EXPECT_NEAR(WAVELENGTH(9.8, T, h), solvtest::TheoryWavelength(h, T), 1e-5 * L);
        }
    }
    // Deep water: no iteration, L = g T^2 / 2 pi with the solver's pi.
    EXPECT_EQ(DISPERSION(200.0, 5.0, L), 1);
    EXPECT_DOUBLE_EQ(L, 2.0 * kPi * 200.0 / ((2.0 * kPi / 5.0) * (2.0 * kPi / 5.0) * 200.0 / 9.8));
    // x = w^2 h / g = 10 exactly is still solved by Newton's method.
    const double w = 2.0 * kPi / 6.0;
    EXPECT_EQ(DISPERSION(10.0 * 9.8 / (w * w), 6.0, L), 0);
}

TEST(SolverDispersion, LandAndExtremeDepths) {
    double L = 123.0;
    DispersionFault fault = DispersionFault::None;
    EXPECT_EQ(DISPERSION(0.0, 8.0, L, &fault), -1);
    EXPECT_EQ(fault, DispersionFault::Land);
    EXPECT_EQ(L, 123.0);
    EXPECT_EQ(DISPERSION(-3.0, 8.0, L, &fault), -1);
    // A depth so small that w^2 h / g underflows ends with a failure, not an endless loop.
    EXPECT_EQ(DISPERSION(4.9e-324, 8.0, L, &fault), -1);
    EXPECT_EQ(fault, DispersionFault::NoSolution);
    EXPECT_GE(DISPERSION(1e-6, 8.0, L), 0);
    EXPECT_NEAR(L, 8.0 * std::sqrt(9.8e-6), 1e-3 * L);  // shallow water: L = T sqrt(g h)
}

TEST(SolverShoaling, CoefficientsAndLargeKh) {
    EXPECT_EQ(REFRCOEF(8.0, 10.0, 0.0), 0.0);
    // Ks from energy flux: sqrt(Cg0 / Cg), Cg0 = g T / 4 pi.
    for (double h : {2.0, 8.0, 30.0}) {
        const double T = 10.0;
        const double ks = std::sqrt((9.8 * T / (4 * M_PI)) / solvtest::TheoryGroupVelocity(h, T));
        EXPECT_NEAR(SHOALCOEF(h, WAVELENGTH(9.8, T, h)), ks, 1e-4) << h;
        EXPECT_NEAR(REFRCOEF(T, h, 2.0), 2.0 / ks, 1e-3);
    }
    // kh of a thousand: the exponentials overflow, the coefficient is the deep-water 1.
    EXPECT_EQ(TANHF(1000.0), 1.0);
    EXPECT_EQ(TANHF(-1000.0), -1.0);
    EXPECT_NEAR(TANHF(0.5), std::tanh(0.5), 1e-15);
    EXPECT_NEAR(REFRCOEF(2.0, 1000.0, 1.5), 1.5, 1e-9);
}

TEST(SolverQuadrature, ExactForPolynomialsOfDegreeTwoNMinusOne) {
    for (int n = 1; n <= 16; ++n) {
        const int degree = 2 * n - 1;
        double result = 0.0;
        GAUSSLEGENDRE([&](double x) { return std::pow(x, degree - 1) * (degree) + 1.0; }, -0.5, 1.5, n, result);
        // integral of (d x^(d-1) + 1) over [-0.5, 1.5] = 1.5^d - (-0.5)^d + 2
        EXPECT_NEAR(result, std::pow(1.5, degree) - std::pow(-0.5, degree) + 2.0, 1e-12 * std::pow(1.5, degree)) << n;
    }
    double untouched = 42.0;
    GAUSSLEGENDRE([](double) { return 1.0; }, 0.0, 1.0, 17, untouched);
    GAUSSLEGENDRE([](double) { return 1.0; }, 0.0, 1.0, 0, untouched);
    EXPECT_EQ(untouched, 42.0);
}

SpectrumInput DefaultSpectrum() {
    const double half = 90.0 * (kPi / 180.0);
    return {.period = 8.0, .height = 2.0, .theta0 = 0.0, .rangeBelow = half, .rangeAbove = half, .smax = 10.0,
            .nd = 45, .nf = 7, .binWidth = kPi / 45};
}

double TotalEnergy(const IncidentSpectrum& sp) {
    double e = 0.0;
    for (int k = 0; k < sp.nf; ++k)
        for (int m = 0; m < sp.nd; ++m) e += sp.BinEnergy(m, k);
    return e;
}

TEST(SolverSpectrum, FrequenciesAndEnergies) {
    SpectrumInput in = DefaultSpectrum();
    in.nf = 1;
    IncidentSpectrum sp;
    ASSERT_TRUE(BuildIncidentSpectrum(in, sp));
    EXPECT_NEAR(sp.freq[0], (1.0071 / 8.0) * std::pow(std::log(2.0), -0.25), 1e-15);
    EXPECT_NEAR(sp.energy[0], 0.257 * 4.0 / 4.12, 1e-15);
    // Mitsuyasu's spreading: Smax (f/fp)^5 below the peak, Smax (f/fp)^-2.5 above it.
    in = DefaultSpectrum();
    ASSERT_TRUE(BuildIncidentSpectrum(in, sp));
    const double fp = 1.0 / (1.05 * 8.0);
    ASSERT_LT(sp.freq[0], fp);
    ASSERT_GT(sp.freq[6], fp);
    EXPECT_NEAR(sp.spread[0], 10.0 * std::pow(sp.freq[0] / fp, 5.0), 1e-12);
    EXPECT_NEAR(sp.spread[6], 10.0 * std::pow(sp.freq[6] / fp, -2.5), 1e-12);
    // Equal-energy components, ascending frequencies.
    for (int k = 1; k < 7; ++k) {
        EXPECT_GT(sp.freq[k], sp.freq[k - 1]);
        EXPECT_EQ(sp.energy[k], sp.energy[0]);
    }
}

TEST(SolverSpectrum, BinsAndMovedEvaluationPoints) {
    SpectrumInput in = DefaultSpectrum();
    in.nd = 36;
    in.binWidth = kPi / 36;
    IncidentSpectrum sp;
    ASSERT_TRUE(BuildIncidentSpectrum(in, sp));
    for (int m = 0; m < 36; ++m) {
        EXPECT_EQ(sp.evalPoint[m], sp.binCentre[m]);  // nothing moved over the full half plane
        EXPECT_TRUE(sp.contributes[m]);
    }
    // A range of -22 .. +31 degrees: the last centre below moves up to the lower edge,
    // the first centre above moves down to the upper edge; the rest carry nothing.
    in.rangeBelow = 22.0 * (kPi / 180.0);
    in.rangeAbove = 31.0 * (kPi / 180.0);
    ASSERT_TRUE(BuildIncidentSpectrum(in, sp));
    int first = -1, last = -1;
    for (int m = 0; m < 36; ++m)
        if (sp.contributes[m]) {
            if (first < 0) first = m;
            last = m;
        }
    EXPECT_DOUBLE_EQ(sp.evalPoint[first], -22.0 * (kPi / 180.0));
    EXPECT_LT(sp.binCentre[first], sp.evalPoint[first]);
    EXPECT_DOUBLE_EQ(sp.evalPoint[last], 31.0 * (kPi / 180.0));
    EXPECT_GT(sp.binCentre[last], sp.evalPoint[last]);
    // A range wider than the half plane is clamped to it.
    in.rangeBelow = in.rangeAbove = 120.0 * (kPi / 180.0);
    ASSERT_TRUE(BuildIncidentSpectrum(in, sp));
    EXPECT_EQ(sp.thetaMin, -kHalfPlane);
    EXPECT_EQ(sp.thetaMax, kHalfPlane);
    // No range at all, or a range beyond the half plane, leaves no bin with energy.
    in.rangeBelow = in.rangeAbove = 0.0;
    EXPECT_FALSE(BuildIncidentSpectrum(in, sp));
    in.theta0 = 100.0 * (kPi / 180.0);
    in.rangeBelow = in.rangeAbove = 5.0 * (kPi / 180.0);
    EXPECT_FALSE(BuildIncidentSpectrum(in, sp));
}

// The bins must carry the whole incident energy for any direction range: the edge bins
// of a narrow range used to keep their full width and over-count it.
TEST(SolverSpectrum, BinsCarryTheIncidentEnergyForAnyRange) {
    const double total = 0.257 * 4.0 / 4.12;  // 0.257 H^2 / (4 * 1.03), H = 2
    struct Range {
        double theta0, below, above, smax;
    };
    for (const Range& r : {Range{0, 90, 90, 10}, Range{0, 45, 45, 10}, Range{0, 10, 10, 25}, Range{20, 35, 60, 75},
                           Range{-30, 90, 90, 10}, Range{5, 3, 4, 10}}) {
        SpectrumInput in = DefaultSpectrum();
        in.theta0 = r.theta0 * (kPi / 180.0);
        in.rangeBelow = r.below * (kPi / 180.0);
        in.rangeAbove = r.above * (kPi / 180.0);
        in.smax = r.smax;
        IncidentSpectrum sp;
        ASSERT_TRUE(BuildIncidentSpectrum(in, sp));
        EXPECT_NEAR(TotalEnergy(sp) / total, 1.0, 1e-12) << r.theta0 << " " << r.below << " " << r.above;
    }
}

// Over the default half plane the discrete bins already held the integral's energy to
// better than 0.1 %, so the normalisation changes the default results by less than that.
TEST(SolverSpectrum, FullHalfPlaneNeedsOnlyATinyCorrection) {
    for (double smax : {10.0, 25.0, 75.0}) {
        SpectrumInput in = DefaultSpectrum();
        in.smax = smax;
        IncidentSpectrum sp;
        ASSERT_TRUE(BuildIncidentSpectrum(in, sp));
        for (int k = 0; k < sp.nf; ++k) {
            const double s = sp.spread[k];
            auto f = [&](double t) { return std::pow(std::cos(0.5 * t), 2.0 * s); };
            double integral = 0.0;  // Simpson on a fine grid
            const int steps = 20000;
            const double h = 2 * kHalfPlane / steps;
            for (int q = 0; q <= steps; ++q) {
                const double t = -kHalfPlane + q * h;
                integral += f(t) * (q == 0 || q == steps ? 1 : (q % 2 ? 4 : 2));
            }
            integral *= h / 3;
            double discrete = 0.0;
            for (int m = 0; m < sp.nd; ++m) discrete += f(sp.binCentre[m]) * sp.binWidth;
            EXPECT_NEAR(discrete / integral, 1.0, 1e-3) << smax << " " << k;
        }
    }
}

TEST(SolverSpectrum, IncidentMeans) {
    SpectrumInput in = DefaultSpectrum();
    IncidentSpectrum sp;
    ASSERT_TRUE(BuildIncidentSpectrum(in, sp));
    EXPECT_NEAR(sp.meanDirection, 0.0, 1e-12);  // symmetric about the march direction
    double m0 = 0.0, m2 = 0.0;
    for (int k = 0; k < sp.nf; ++k) {
        m0 += sp.energy[k];
        m2 += sp.energy[k] * sp.freq[k] * sp.freq[k];
    }
    EXPECT_NEAR(sp.meanPeriod, std::sqrt(m0 / m2), 1e-12);
    // No waves: the means come from the shape of the spectrum.
    in.height = 0.0;
    ASSERT_TRUE(BuildIncidentSpectrum(in, sp));
    EXPECT_NEAR(sp.meanPeriod, std::sqrt(m0 / m2), 1e-12);
}

}  // namespace
}  // namespace wv::solv
