#include "solver/dispersion.h"

#include "solver/solver_constants.h"

#include <cmath>

namespace wv::solv {

namespace {
// Newton's method converges quadratically from both starting points for every x > 0;
// the limit only stops an iterate that went wrong (NaN from an underflowed x), which
// would otherwise loop for ever.
constexpr int kNewtonGuard = 200;
}  // namespace

int DISPERSION(double h, double T, double& L, DispersionFault* fault) {
    if (fault) *fault = DispersionFault::None;
    if (h <= 0.0) {
        if (fault) *fault = DispersionFault::Land;
        return -1;
    }
    int flag = 1;
    const double omega = 2.0 * kPi / T;
    const double x = omega * omega * h / kGravity;
    double y;
    if (x - 10.0 > 0.0) {
        y = x;
    } else {
        flag = 0;
        y = x < 1.0 ? std::sqrt(x) : x;
        for (int it = 0;; ++it) {
            const double sh = std::sinh(y);
            const double yNew = y - (y - x / std::tanh(y)) / (1.0 + x / (sh * sh));
            const bool done = std::fabs(1.0 - yNew / y) < 0.00001;
            y = yNew;
            if (done) break;
            if (!(y > 0.0) || !std::isfinite(y) || it >= kNewtonGuard) {
                y = 0.0;
                break;
            }
        }
    }
    L = 2.0 * kPi * h / y;
    if (!(y > 0.0)) {
        if (fault) *fault = DispersionFault::NoSolution;
        return -1;
    }
    return flag;
}

double GroupVelocity(double h, double L, double c, int flag) {
    if (flag != 0) return 0.5 * c;
    const double k2h = 4.0 * kPi * h / L;
    return 0.5 * c * (1.0 + k2h / std::sinh(k2h));
}

double TANHF(double x) {
    // Past |x| = 709 both exponentials overflow and the quotient would be inf/inf; the
    // quotient is exactly +-1 long before that.
    if (x > 709.0) return 1.0;
    if (x < -709.0) return -1.0;
    const double ep = std::exp(x);
    const double em = std::exp(-x);
    return (ep - em) / (em + ep);
}

double WAVELENGTH(double g, double T, double h) {
    const double l0 = g * T * T / (2.0 * kPiShoaling);
    double L = l0;
    for (int step = 0; step < 21; ++step) {
        const double kh = 2.0 * kPiShoaling * h / L;
        const double f = L / l0 - TANHF(kh);
        const double ch = (std::exp(kh) + std::exp(-kh)) / 2.0;
        const double fp = 1.0 / l0 + kh / (L * ch * ch);
        const double dL = f / fp;
        L -= dL;
        if (std::fabs(dL / L) < 1e-6) break;
    }
    return L;
}

double SHOALCOEF(double h, double L) {
    const double kh = 2.0 * kPiShoaling * h / L;
    const double sh2 = (std::exp(2.0 * kh) - std::exp(-2.0 * kh)) / 2.0;
    return 1.0 / std::sqrt(TANHF(kh) * (1.0 + 2.0 * kh / sh2));
}

double REFRCOEF(double T, double h, double H) { return H / SHOALCOEF(h, WAVELENGTH(9.8, T, h)); }

}  // namespace wv::solv
