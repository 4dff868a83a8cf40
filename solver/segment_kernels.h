// The elementwise kernels of the team solver (segment_solver.cpp): each works on a run of
// consecutive unknowns of one diagonal of a SegmentSystem, whose unknowns are independent
// of each other, so a run is plain elementwise work over contiguous memory.
//
// Every kernel gives each unknown exactly the operations, in the same order, of the
// plain sweep: one copy is compiled for the baseline processor and one for AVX2, chosen
// at run time, and the two give the same bits (no fused multiply-add on either: the
// engine is built with -ffp-contract=off, and the AVX2 copy does not enable FMA).
#pragma once

#include <cstddef>

namespace wv::solv {

// Offsets of an unknown's neighbours in the diagonal storage: the row below is rowStep
// before it, the bin below binStep before it; the row and the bin above as far after.
struct SweepSteps {
    std::ptrdiff_t rowStep;
    std::ptrdiff_t binStep;
};

// One row of a segment's system as the march sets it up: its bins' angle tables (from
// the row's first bin on), the previous column's spectrum of those bins, the row's wave
// quantities and what its place in the segment and the mesh decide.
struct RowSetup {
    const double* sinT;
    const double* cosT;
    const double* sinLo;
    const double* cosLo;
    const double* sinHi;
    const double* cosHi;
    const double* inflow;
    double westCg, eastCg, southCg, northCg, ratio, dcx, dcy, db;
    double dx, dy, dtheta;  // positive and finite
    bool breaking;
    bool rowBelow;   // the row below is in the segment: S is stored
    bool rowAbove;   // the row above is in the segment: N is stored
    bool edgeBelow;  // the mirrored row outside the mesh lies below
    bool edgeAbove;  // ... above
    int firstBin;    // the bin of element 0 (1-based)
    int nd;
};

// The pointers passed are those of the run's first unknown; n is the run's length. The
// accumulators of the inner products (sum, sum1, sum2) are one per unknown of the run.
struct SweepKernels {
    const char* name;
    // The coefficients and the right-hand side of n bins of one row, bin after bin.
    void (*assembleRow)(const RowSetup& r, double* S, double* L, double* D, double* H, double* N, double* B, int n);
    // The factorisation with alpha 0: d = 1 / (D - L H' d' - S N'' d'').
    void (*factorPlain)(double* d, const double* S, const double* L, const double* D, const double* H,
                        const double* N, SweepSteps st, int n);
    // The modified factorisation.
    void (*factorModified)(double* d, const double* S, const double* L, const double* D, const double* H,
                           const double* N, double a, double beta, SweepSteps st, int n);
    // x = 0 and the forward half of K^-1 on b scaled: w holds b and becomes r.
    void (*forwardFromRhs)(double* w, double* x, const double* S, const double* L, const double* d,
                           double bScale, SweepSteps st, int n);
    // w = A in, then the forward half of K^-1 on w.
    void (*forwardProduct)(double* w, const double* in, const double* S, const double* L, const double* D,
                           const double* H, const double* N, const double* d, SweepSteps st, int n);
    // The backward half of K^-1 on r; then rt, p and u take r, and sum += r r.
    void (*backwardStart)(double* r, double* rt, double* p, double* u, const double* H, const double* N,
                          const double* d, double* sum, SweepSteps st, int n);
    // The backward half of K^-1 on v; then sum += rt v.
    void (*backwardSigma)(double* v, const double* rt, const double* H, const double* N, const double* d,
                          double* sum, SweepSteps st, int n);
    // The backward half of K^-1 on v; then r -= alpha v, x += alpha uq, and the sums of
    // rt r, of the squared change of x and of the squared old x.
    void (*backwardUpdate)(double* v, double* r, double* x, const double* uq, const double* rt, const double* H,
                           const double* N, const double* d, double alphaK, double* sum, double* sum1,
                           double* sum2, SweepSteps st, int n);
    // q = u - alpha v, then u becomes u + q.
    void (*halfStep)(double* u, double* q, const double* v, double alphaK, int n);
    // u = r + beta q, p = u + beta (q + beta p).
    void (*direction)(double* u, double* p, const double* r, const double* q, double betaK, int n);
};

// The kernels of the baseline processor and, where the processor has it, of AVX2.
const SweepKernels& BaselineSweepKernels();
const SweepKernels* Avx2SweepKernels();  // nullptr when not built in

// The kernels the solver uses: AVX2 where the processor has it, unless the environment
// variable WAVORA_BASELINE_KERNELS is set or SetBaselineKernelsOverride(true) was called.
const SweepKernels& ActiveSweepKernels();
// For tests: true forces the baseline kernels, false returns to the processor's choice.
void SetBaselineKernelsOverride(bool baseline);

}  // namespace wv::solv
