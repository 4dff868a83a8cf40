// The incident directional spectrum: NF components of equal energy of the
// Bretschneider-Mitsuyasu spectrum, each spread over ND direction bins that tile the half
// plane -90..+90 degrees about the march direction with the Mitsuyasu cos^2s(theta/2)
// spreading.
#pragma once

#include <vector>

namespace wv::solv {

struct SpectrumInput {
    double period = 0.0;     // T1/3 (s)
    double height = 0.0;     // H1/3 (m)
    double theta0 = 0.0;     // principal direction (rad, pi = 3.14159)
    double rangeBelow = 0.0; // direction range below and above theta0 (rad)
    double rangeAbove = 0.0;
    double smax = 0.0;       // peak spreading parameter
    int nd = 0;
    int nf = 0;
    double binWidth = 0.0;   // pi / ND from the request
};

struct IncidentSpectrum {
    int nd = 0;
    int nf = 0;
    double binWidth = 0.0;
    double theta0 = 0.0;
    double thetaMin = 0.0;
    double thetaMax = 0.0;
    std::vector<double> freq;    // f_k (Hz), ascending
    std::vector<double> energy;  // E_k (m^2), equal for all k
    std::vector<double> spread;  // s_k
    std::vector<double> norm;    // G_k
    std::vector<double> binCentre;          // theta_m
    std::vector<double> evalPoint;          // phi_m
    std::vector<unsigned char> contributes; // bin m carries energy
    double meanDirection = 0.0;  // incident mean direction (rad)
    double meanPeriod = 0.0;     // sqrt(m0 / m2) of the incident spectrum (s)

    // Energy of bin m (0-based) of component k (0-based) in every row at the west edge.
    double BinEnergy(int m, int k) const;
};

// cos(0.5 (theta - theta0))^(2 s).
double SPREADFUNC(double theta, double theta0, double s);

// Builds the spectrum. False when the direction range leaves no bin with energy (or a
// normalisation that is not a positive finite number).
bool BuildIncidentSpectrum(const SpectrumInput& in, IncidentSpectrum& out);

}  // namespace wv::solv
