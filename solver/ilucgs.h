// ILUCGS: conjugate gradient squared (Sonneveld) for a matrix of at most seven diagonals,
// left-preconditioned with a modified incomplete LU factorisation.
#pragma once

namespace wv::solv {

// Right-hand sides whose largest entry lies outside 2^-400 .. 2^400 are scaled by a
// power of two before the iteration and the solution scaled back after it. Without it
// the inner products of the CGS recurrences underflow (energy that has decayed behind a
// surf zone reaches 1e-300) and the iteration stagnates until its limit, or overflow and
// the convergence test is fooled. A power of two keeps the solution exact, and ordinary
// right-hand sides are left untouched.
inline constexpr int kIlucgsScaleBelowExponent = -400;
inline constexpr int kIlucgsScaleAboveExponent = 400;

// The matrix by diagonals: A(i, c) for rows i = lb..N and columns c = 1..7 with offsets
// -S, -M, -1, 0, +1, +M, +S. Each column is a contiguous run of N - lb + 1 doubles.
class DiagonalMatrixView {
public:
    DiagonalMatrixView(double* storage, int lb, int N) : m_data(storage), m_lb(lb), m_ld(N - lb + 1) {}
    double& operator()(int i, int c) const { return m_data[(c - 1) * static_cast<long>(m_ld) + (i - m_lb)]; }
    // Pointer p with p[i] == A(i, c).
    double* Column(int c) const { return m_data + (c - 1) * static_cast<long>(m_ld) - m_lb; }
    int Lb() const { return m_lb; }
    int Ld() const { return m_ld; }

private:
    double* m_data;
    int m_lb;
    int m_ld;
};

// Solves A x = b. The vectors x, p, v, r, d and uq carry a halo of S entries on each
// side: the pointer given is element 0, and indices 1-S .. n+S must be addressable. b,
// rt, u and q are addressed 1..n (the pointer given is element 0 as well).
// On entry eps is the tolerance and itmax the iteration limit; on return they hold the
// final convergence measure and the iterations used. ierr: 0 converged, 1 not converged
// (or broken down), 2 argument error (nothing computed, x untouched). alpha is restored.
void ILUCGS(const DiagonalMatrixView& A, int n, int N, int lb, int M, int S, const double* b,
            double* x, double* p, double* v, double* r, double* d, double* rt, double* u,
            double* q, double& eps, double* uq, int& itmax, int& ierr, double& alpha);

}  // namespace wv::solv
