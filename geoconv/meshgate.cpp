// Gauss-Krueger projection of the Japanese plane rectangular coordinate system.
//
// The arithmetic follows the classical series (meridian arc to e^16, x to dlambda^8,
// y to dlambda^7) term by term, with the library's historical constants, so that
// coordinates computed here match the ones already stored in users' projects.

#include "geoconv/meshgate.h"

#include <array>
#include <cmath>

namespace {

// The library has always converted degrees with this ten-digit value rather than the
// full double pi. The difference shifts a position by well under a millimetre, but
// keeping it makes results identical to earlier conversions.
constexpr double kPi = 3.141592654;

// Scale factor on the central meridian: the zone is a secant cylinder, so the
// distortion stays within 1/10000 across its width.
constexpr double kCentralScale = 0.9999;

struct Ellipsoid {
    double semiMajorAxis;  // a, metres
    double flattening;     // f
};

// Flattening stored as f (not 1/f); the series below works with F = 1/f.
constexpr Ellipsoid kGrs80{6378137.0, 1.0 / 298.257222101};
constexpr Ellipsoid kBessel{6377397.155, 1.0 / 299.152813};

struct Angle {
    int degrees;
    int minutes;
    int seconds;
};

struct ZoneOrigin {
    Angle latitude;   // phi0, north
    Angle meridian;   // lambda0, east
};

// Origins of zones 1 to 19 (zone n at index n - 1).
constexpr std::array<ZoneOrigin, MESHGATE_ZONE_COUNT> kZones{{
    {{33, 0, 0}, {129, 30, 0}},  // 1
    {{33, 0, 0}, {131, 0, 0}},   // 2
    {{36, 0, 0}, {132, 10, 0}},  // 3
    {{33, 0, 0}, {133, 30, 0}},  // 4
    {{36, 0, 0}, {134, 20, 0}},  // 5
    {{36, 0, 0}, {136, 0, 0}},   // 6
    {{36, 0, 0}, {137, 10, 0}},  // 7
    {{36, 0, 0}, {138, 30, 0}},  // 8
    {{36, 0, 0}, {139, 50, 0}},  // 9
    {{40, 0, 0}, {140, 50, 0}},  // 10
    {{44, 0, 0}, {140, 15, 0}},  // 11
    {{44, 0, 0}, {142, 15, 0}},  // 12
    {{44, 0, 0}, {144, 15, 0}},  // 13
    {{26, 0, 0}, {142, 0, 0}},   // 14
    {{26, 0, 0}, {127, 30, 0}},  // 15
    {{26, 0, 0}, {124, 0, 0}},   // 16
    {{26, 0, 0}, {131, 0, 0}},   // 17
    {{20, 0, 0}, {136, 0, 0}},   // 18
    {{26, 0, 0}, {154, 0, 0}},   // 19
}};

double DecimalDegrees(const Angle& a)
{
    return a.degrees + a.minutes / 60.0 + a.seconds / 3600.0;
}

// Origin latitude and central meridian of a zone, decimal degrees. False for a zone
// number that has no entry, so that no caller ever indexes past the table.
bool GetZoneOrigin(int zone, double& latitude0, double& longitude0)
{
    if (zone < 1 || zone > MESHGATE_ZONE_COUNT) {
        return false;
    }
    const ZoneOrigin& z = kZones[static_cast<std::size_t>(zone - 1)];
    latitude0 = DecimalDegrees(z.latitude);
    longitude0 = DecimalDegrees(z.meridian);
    return true;
}

// Weights of the meridian-arc coefficients A, B, C, D, E, F', G, H, I: row k holds the
// rational factors of e^0, e^2, ..., e^16 (zero where the coefficient has no such term).
constexpr int kArcTerms = 9;
constexpr double kArcWeights[kArcTerms][kArcTerms] = {
    // A
    {1.0, 3.0 / 4.0, 45.0 / 64.0, 175.0 / 256.0, 11025.0 / 16384.0, 43659.0 / 65536.0,
     693693.0 / 1048576.0, 2760615.0 / 4194304.0, 703956825.0 / 1073741824.0},
    // B
    {0.0, 3.0 / 4.0, 15.0 / 16.0, 525.0 / 512.0, 2205.0 / 2048.0, 72765.0 / 65536.0,
     297297.0 / 262144.0, 19324305.0 / 16777216.0, 78217425.0 / 67108864.0},
    // C
    {0.0, 0.0, 15.0 / 64.0, 105.0 / 256.0, 2205.0 / 4096.0, 10395.0 / 16384.0,
     1486485.0 / 2097152.0, 6441435.0 / 8388608.0, 109504395.0 / 134217728.0},
    // D
    {0.0, 0.0, 0.0, 35.0 / 512.0, 315.0 / 2048.0, 31185.0 / 131072.0, 165165.0 / 524288.0,
     6441435.0 / 16777216.0, 29864835.0 / 67108864.0},
    // E
    {0.0, 0.0, 0.0, 0.0, 315.0 / 16384.0, 3465.0 / 65536.0, 99099.0 / 1048576.0,
     585585.0 / 4194304.0, 49774725.0 / 268435456.0},
    // F'
    {0.0, 0.0, 0.0, 0.0, 0.0, 693.0 / 131072.0, 9009.0 / 524288.0, 585585.0 / 16777216.0,
     3828825.0 / 67108864.0},
    // G
    {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 3003.0 / 2097152.0, 45045.0 / 8388608.0,
     1640925.0 / 134217728.0},
    // H
    {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 6435.0 / 16777216.0, 109395.0 / 67108864.0},
    // I
    {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 109395.0 / 1073741824.0},
};

struct MeridianArc {
    double factor;                 // a (1 - e^2)
    double coefficient[kArcTerms]; // A .. I for this ellipsoid

    MeridianArc(double a, double e2)
        : factor(a * (1.0 - e2))
    {
        double powers[kArcTerms];
        powers[0] = 1.0;
        for (int n = 1; n < kArcTerms; ++n) {
            powers[n] = powers[n - 1] * e2;
        }
        for (int k = 0; k < kArcTerms; ++k) {
            double sum = 0.0;
            for (int n = k; n < kArcTerms; ++n) {
                sum += kArcWeights[k][n] * powers[n];
            }
            coefficient[k] = sum;
        }
    }

    // Length of the meridian from the equator to latitude psi (radians), metres.
    double At(double psi) const
    {
        const double* c = coefficient;
        return factor * (c[0] * psi
                         - c[1] / 2.0 * std::sin(2.0 * psi)
                         + c[2] / 4.0 * std::sin(4.0 * psi)
                         - c[3] / 6.0 * std::sin(6.0 * psi)
                         + c[4] / 8.0 * std::sin(8.0 * psi)
                         - c[5] / 10.0 * std::sin(10.0 * psi)
                         + c[6] / 12.0 * std::sin(12.0 * psi)
                         - c[7] / 14.0 * std::sin(14.0 * psi)
                         + c[8] / 16.0 * std::sin(16.0 * psi));
    }
};

}  // namespace

extern "C" MESHGATE_API int Meshgate(int ellipsoid, int zone, double latitude, double longitude,
                                     double* x, double* y)
{
    double latitude0 = 0.0;
    double longitude0 = 0.0;
    if (x == nullptr || y == nullptr || !GetZoneOrigin(zone, latitude0, longitude0)) {
        return 0;
    }

    const Ellipsoid& ell = (ellipsoid == MESHGATE_GRS80) ? kGrs80 : kBessel;
    const double a = ell.semiMajorAxis;
    const double F = 1.0 / ell.flattening;

    const double phi = latitude * kPi / 180.0;
    const double phi0 = latitude0 * kPi / 180.0;

    const double c = a * F / (F - 1.0);                     // polar radius of curvature
    const double e = std::sqrt(2.0 * F - 1.0) / F;          // first eccentricity
    const double e2 = e * e;
    const double ePrime = std::sqrt(2.0 * F - 1.0) / (F - 1.0);  // second eccentricity
    const double t = std::tan(phi);
    const double cosPhi = std::cos(phi);
    const double eta2 = ePrime * ePrime * cosPhi * cosPhi;
    const double V = std::sqrt(1.0 + eta2);
    const double N = c / V;  // radius of curvature in the prime vertical

    const MeridianArc arc(a, e2);
    const double arcDifference = arc.At(phi) - arc.At(phi0);

    const double dl = (longitude - longitude0) * kPi / 180.0;

    const double t2 = t * t;
    const double t4 = t2 * t2;
    const double t6 = t4 * t2;
    const double eta4 = eta2 * eta2;
    const double cos2 = cosPhi * cosPhi;
    const double cos3 = cos2 * cosPhi;
    const double cos4 = cos2 * cos2;
    const double cos5 = cos4 * cosPhi;
    const double cos6 = cos4 * cos2;
    const double cos7 = cos6 * cosPhi;
    const double cos8 = cos4 * cos4;
    const double dl2 = dl * dl;
    const double dl3 = dl2 * dl;
    const double dl4 = dl2 * dl2;
    const double dl5 = dl4 * dl;
    const double dl6 = dl4 * dl2;
    const double dl7 = dl6 * dl;
    const double dl8 = dl4 * dl4;

    const double northing =
        kCentralScale *
        (arcDifference
         + N / 2.0 * cos2 * t * dl2
         + N / 24.0 * cos4 * t * (5.0 - t2 + 9.0 * eta2 + 4.0 * eta4) * dl4
         - N / 720.0 * cos6 * t * (-61.0 + 58.0 * t2 - t4 - 270.0 * eta2 + 330.0 * t2 * eta2) * dl6
         - N / 40320.0 * cos8 * t * (-1385.0 + 3111.0 * t2 - 543.0 * t4 + t6) * dl8);

    const double easting =
        kCentralScale *
        (N * cosPhi * dl
         - N / 6.0 * cos3 * (-1.0 + t2 - eta2) * dl3
         - N / 120.0 * cos5 * (-5.0 + 18.0 * t2 - t4 - 14.0 * eta2 + 58.0 * t2 * eta2) * dl5
         - N / 5040.0 * cos7 * (-61.0 + 479.0 * t2 - 179.0 * t4 + t6) * dl7);

    *x = northing;
    *y = easting;
    return 1;
}
