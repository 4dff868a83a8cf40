#include "solver/incident_waves.h"

#include "solver/gauss_legendre.h"
#include "solver/solver_constants.h"

#include <cmath>

namespace wv::solv {

double SPREADFUNC(double theta, double theta0, double s) {
    return std::pow(std::cos(0.5 * (theta - theta0)), 2.0 * s);
}

double IncidentSpectrum::BinEnergy(int m, int k) const {
    if (!contributes[static_cast<std::size_t>(m)]) return 0.0;
    return SPREADFUNC(evalPoint[static_cast<std::size_t>(m)], theta0, spread[static_cast<std::size_t>(k)]) *
           (energy[static_cast<std::size_t>(k)] * norm[static_cast<std::size_t>(k)]) * binWidth;
}

bool BuildIncidentSpectrum(const SpectrumInput& in, IncidentSpectrum& out) {
    const int nd = in.nd;
    const int nf = in.nf;
    out = IncidentSpectrum{};
    out.nd = nd;
    out.nf = nf;
    out.binWidth = in.binWidth;
    out.theta0 = in.theta0;
    const double T = in.period;
    const double H = in.height;
    const double dtheta = in.binWidth;

    // Equal-energy representative frequencies: component k stands at the cumulative
    // energy fraction (2k - 1) / 2NF of the spectrum.
    out.freq.resize(static_cast<std::size_t>(nf));
    out.energy.resize(static_cast<std::size_t>(nf));
    for (int k = 1; k <= nf; ++k) {
        out.freq[k - 1] = (1.0071 / T) * std::pow(std::log(2.0 * nf / (2 * k - 1)), -0.25);
        out.energy[k - 1] = 0.257 * H * H / (4.0 * 1.03 * nf);
    }

    double thetaMin = in.theta0 - in.rangeBelow;
    double thetaMax = in.theta0 + in.rangeAbove;
    if (thetaMin < -kHalfPlane) thetaMin = -kHalfPlane;
    if (thetaMax > kHalfPlane) thetaMax = kHalfPlane;
    out.thetaMin = thetaMin;
    out.thetaMax = thetaMax;
    if (!(thetaMax > thetaMin)) return false;

    // Mitsuyasu: the spreading is sharpest at the peak frequency.
    const double fPeak = 0.9523809523809523 / T;
    out.spread.resize(static_cast<std::size_t>(nf));
    for (int k = 0; k < nf; ++k) {
        const double x = out.freq[k] * 1.05 * T;
        if (out.freq[k] > fPeak) {
            out.spread[k] = in.smax * std::pow(x, -2.5);
        } else {
            const double x2 = x * x;
            out.spread[k] = in.smax * (x * (x2 * x2));
        }
    }

    // Direction points: bins whose centre lies just outside the range are evaluated at
    // its edge.
    out.binCentre.resize(static_cast<std::size_t>(nd));
    out.evalPoint.resize(static_cast<std::size_t>(nd));
    out.contributes.assign(static_cast<std::size_t>(nd), 0);
    bool pending = false;
    for (int m = 1; m <= nd; ++m) {
        const double centre = (m - 0.5) * dtheta - kHalfPlane;
        double phi = centre;
        if (centre + dtheta > thetaMin && centre < thetaMin) phi = thetaMin;
        if (pending) {
            phi = thetaMax;
            pending = false;
        } else if (centre + dtheta > thetaMax && centre < thetaMax) {
            pending = true;
        }
        out.binCentre[m - 1] = centre;
        out.evalPoint[m - 1] = phi;
        out.contributes[m - 1] = (thetaMin <= phi && phi <= thetaMax) ? 1 : 0;
    }

    // Normalisation. The integral of the spreading over the range gives G_k; but the
    // bins at the edges of a range narrower than the half plane keep their full width,
    // so the bins would carry more than E_k. The discrete sum is therefore brought to
    // exactly one. Over the full half plane the correction is a few parts in 10^5.
    out.norm.resize(static_cast<std::size_t>(nf));
    const double mid1 = (thetaMin + in.theta0) * 0.5;
    const double mid2 = (thetaMax + in.theta0) * 0.5;
    for (int k = 0; k < nf; ++k) {
        const double s = out.spread[k];
        auto f = [&](double theta) { return SPREADFUNC(theta, in.theta0, s); };
        double i1 = 0.0, i2 = 0.0, i3 = 0.0, i4 = 0.0;
        GAUSSLEGENDRE(f, thetaMin, mid1, 16, i1);
        GAUSSLEGENDRE(f, mid1, in.theta0, 16, i2);
        GAUSSLEGENDRE(f, in.theta0, mid2, 16, i3);
        GAUSSLEGENDRE(f, mid2, thetaMax, 16, i4);
        const double g = 1.0 / (i1 + i2 + i3 + i4);
        double discrete = 0.0;
        for (int m = 0; m < nd; ++m)
            if (out.contributes[m]) discrete += SPREADFUNC(out.evalPoint[m], in.theta0, s) * g * dtheta;
        const double gk = g / discrete;
        if (!std::isfinite(gk) || !(gk > 0.0)) return false;
        out.norm[k] = gk;
    }

    // Incident means, with the bin centres as directions.
    auto means = [&](bool weighByEnergy, double& sa, double& stheta, double& sb) {
        sa = stheta = sb = 0.0;
        for (int m = 0; m < nd; ++m) {
            double am = 0.0;
            double bm = 0.0;
            if (out.contributes[m]) {
                for (int k = 0; k < nf; ++k) {
                    const double d =
                        SPREADFUNC(out.evalPoint[m], in.theta0, out.spread[k]) * out.norm[k] * dtheta;
                    const double e = weighByEnergy ? out.energy[k] : 1.0;
                    am += e * d;
                    bm += (e * d) * (out.freq[k] * out.freq[k]);
                }
            }
            sa += am;
            stheta += am * out.binCentre[m];
            sb += bm;
        }
    };
    double sa, stheta, sb;
    means(true, sa, stheta, sb);
    if (sa == 0.0) {
        // No incident waves (H1/3 = 0): the components carry equal energy, so the shape
        // of the spectrum still gives the means.
        means(false, sa, stheta, sb);
    }
    out.meanDirection = stheta / sa;
    out.meanPeriod = std::sqrt(sa / sb);
    return std::isfinite(out.meanDirection) && std::isfinite(out.meanPeriod) && out.meanPeriod > 0.0;
}

}  // namespace wv::solv
