#include "solver/ilucgs.h"

#include <cmath>

namespace wv::solv {

namespace {

struct Diagonals {
    const double* a1;
    const double* a2;
    const double* a3;
    const double* a4;
    const double* a5;
    const double* a6;
    const double* a7;
};

// y = A x over rows 1..n. kFull: the M diagonals hold nonzeros; the march leaves them
// empty, and skipping them only saves the multiplications by zero.
template <bool kFull>
void MatVec(const Diagonals& a, int n, int M, int S, const double* x, double* y) {
    for (int i = 1; i <= n; ++i) {
        double s = a.a1[i] * x[i - S];
        if constexpr (kFull) s += a.a2[i] * x[i - M];
        s += a.a3[i] * x[i - 1];
        s += a.a4[i] * x[i];
        s += a.a5[i] * x[i + 1];
        if constexpr (kFull) s += a.a6[i] * x[i + M];
        s += a.a7[i] * x[i + S];
        y[i] = s;
    }
}

// w = K^-1 w in place: forward substitution with (D~ + L) D~^-1, then backward with
// (D~ + U). Halo entries are zero. The value just computed is carried in a register:
// the sweeps are chains of dependent operations, and a reload through memory would
// lengthen every link.
template <bool kFull>
void ApplyPreconditioner(const Diagonals& a, const double* d, int n, int M, int S, double* w) {
    double prev = w[0];
    for (int i = 1; i <= n; ++i) {
        double t = w[i] - a.a1[i] * w[i - S];
        if constexpr (kFull) t -= a.a2[i] * w[i - M];
        t -= a.a3[i] * prev;
        prev = t * d[i];
        w[i] = prev;
    }
    double next = w[n + 1];
    for (int i = n; i >= 1; --i) {
        double t = a.a5[i] * next;
        if constexpr (kFull) t += a.a6[i] * w[i + M];
        t += a.a7[i] * w[i + S];
        next = w[i] - d[i] * t;
        w[i] = next;
    }
}

template <bool kFull>
void Iterate(const Diagonals& a, int n, int M, int S, const double* b, double bScale, double* x,
             double* p, double* v, double* r, const double* d, double* rt, double* u, double* q,
             double& eps, double* uq, int& itmax, int& ierr) {
    // r = K^-1 (b - A x)
    MatVec<kFull>(a, n, M, S, x, v);
    for (int i = 1; i <= n; ++i) r[i] = b[i] * bScale - v[i];
    ApplyPreconditioner<kFull>(a, d, n, M, S, r);
    double rho = 0.0;
    for (int i = 1; i <= n; ++i) {
        rt[i] = r[i];
        p[i] = r[i];
        u[i] = r[i];
        rho += r[i] * r[i];
    }
    const double tolerance = eps;
    double measure = 0.0;
    for (int k = 1;; ++k) {
        if (k > itmax) {
            ierr = 1;
            eps = measure;
            return;
        }
        MatVec<kFull>(a, n, M, S, p, v);
        ApplyPreconditioner<kFull>(a, d, n, M, S, v);
        double sigma = 0.0;
        for (int i = 1; i <= n; ++i) sigma += rt[i] * v[i];
        const double alphaK = sigma == 0.0 ? 0.0 : rho / sigma;
        for (int i = 1; i <= n; ++i) {
            q[i] = u[i] - alphaK * v[i];
            uq[i] = u[i] + q[i];
        }
        MatVec<kFull>(a, n, M, S, uq, v);
        ApplyPreconditioner<kFull>(a, d, n, M, S, v);
        double rhoNew = 0.0;
        double x2 = 0.0;
        double y2 = 0.0;
        for (int i = 1; i <= n; ++i) {
            r[i] = r[i] - alphaK * v[i];
            const double xOld = x[i];
            x[i] = xOld + alphaK * uq[i];
            rhoNew += rt[i] * r[i];
            const double dx = x[i] - xOld;
            x2 += dx * dx;
            y2 += xOld * xOld;
        }
        if (!std::isfinite(rhoNew) || !std::isfinite(x2)) {
            // Nothing sound can come of further steps.
            ierr = 1;
            eps = measure;
            return;
        }
        if (y2 != 0.0) {
            measure = std::sqrt(x2 / y2);
            if (measure <= tolerance) {
                eps = measure;
                itmax = k;
                ierr = 0;
                return;
            }
        }
        if (rho == 0.0) {
            // The shadow residual is orthogonal to the residual. When the residual itself
            // is zero the iterate is exact; otherwise the method has broken down.
            double rr = 0.0;
            for (int i = 1; i <= n; ++i) rr += r[i] * r[i];
            ierr = rr == 0.0 ? 0 : 1;
            eps = measure;
            itmax = k;
            return;
        }
        const double betaK = rhoNew / rho;
        rho = rhoNew;
        for (int i = 1; i <= n; ++i) {
            u[i] = r[i] + betaK * q[i];
            p[i] = u[i] + betaK * (q[i] + betaK * p[i]);
        }
    }
}

}  // namespace

void ILUCGS(const DiagonalMatrixView& A, int n, int N, int lb, int M, int S, const double* b,
            double* x, double* p, double* v, double* r, double* d, double* rt, double* u,
            double* q, double& eps, double* uq, int& itmax, int& ierr, double& alpha) {
    if (M < 2 || M >= S || N < 2 * S + n || lb > -S || alpha < 0.0 || n < S) {
        ierr = 2;
        return;
    }
    const double alphaIn = alpha;
    double beta = 1.0;
    if (alpha > 0.0 && alpha < 1.0) {
        beta = alpha;
        alpha = 1.0;
    }
    const double a = alpha;

    for (int i = 1 - S; i <= 0; ++i) x[i] = p[i] = v[i] = r[i] = d[i] = uq[i] = 0.0;
    for (int i = n + 1; i <= n + S; ++i) x[i] = p[i] = v[i] = r[i] = d[i] = uq[i] = 0.0;
    for (int i = 1; i <= n; ++i) d[i] = 0.0;

    for (int i = 1; i <= n; ++i) {
        if (a == 0.0) {
            d[i] = 1.0 / (A(i, 4) - A(i, 3) * A(i - 1, 5) * d[i - 1] -
                          A(i, 2) * A(i - M, 6) * d[i - M] - A(i, 1) * A(i - S, 7) * d[i - S]);
        } else {
            const double t1 = A(i, 3) * d[i - 1] * (A(i - 1, 5) + beta * (A(i - 1, 6) + A(i - 1, 7)));
            const double t2 = A(i, 2) * d[i - M] * (A(i - M, 6) + beta * (A(i - M, 5) + A(i - M, 7)));
            const double t3 = A(i, 1) * d[i - S] * (A(i - S, 7) + beta * (A(i - S, 6) + A(i - S, 5)));
            d[i] = 1.0 / (a * A(i, 4) - t1 - t2 - t3);
        }
    }

    const Diagonals diag{A.Column(1), A.Column(2), A.Column(3), A.Column(4),
                         A.Column(5), A.Column(6), A.Column(7)};
    bool full = false;
    for (int i = 1; i <= n && !full; ++i) full = diag.a2[i] != 0.0 || diag.a6[i] != 0.0;

    double bMax = 0.0;
    for (int i = 1; i <= n; ++i) bMax = std::fmax(bMax, std::fabs(b[i]));
    int shift = 0;
    if (bMax > 0.0 && std::isfinite(bMax) &&
        (std::ilogb(bMax) < kIlucgsScaleBelowExponent || std::ilogb(bMax) > kIlucgsScaleAboveExponent))
        shift = -std::ilogb(bMax);
    const double bScale = std::ldexp(1.0, shift);
    if (shift != 0)
        for (int i = 1; i <= n; ++i) x[i] = std::ldexp(x[i], shift);

    if (full)
        Iterate<true>(diag, n, M, S, b, bScale, x, p, v, r, d, rt, u, q, eps, uq, itmax, ierr);
    else
        Iterate<false>(diag, n, M, S, b, bScale, x, p, v, r, d, rt, u, q, eps, uq, itmax, ierr);

    if (shift != 0)
        for (int i = 1; i <= n; ++i) x[i] = std::ldexp(x[i], -shift);
    if (beta != 1.0) alpha = alphaIn;
}

}  // namespace wv::solv
