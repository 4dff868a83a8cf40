// Meshgate against PROJ: the checked-in reference table for every zone of both
// ellipsoids, and a live comparison with cs2cs when it is installed.

#include "geoconv/meshgate.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// Agreement required with PROJ: one millimetre, the rounding the importers keep.
constexpr double kToleranceMetres = 0.001;
// Within a zone the series is good to a few hundredths of a millimetre; a slipped
// coefficient of the fourth-order terms shows at a tenth.
constexpr double kSeriesAccuracyMetres = 0.0001;

struct ZoneOriginDeg {
    double latitude;
    double longitude;
};

// Origins written out again here (degrees + minutes / 60) so that a wrong entry in the
// library's table shows up as a non-zero origin.
const std::array<ZoneOriginDeg, 19> kOrigins{{
    {33, 129 + 30 / 60.0}, {33, 131}, {36, 132 + 10 / 60.0}, {33, 133 + 30 / 60.0},
    {36, 134 + 20 / 60.0}, {36, 136}, {36, 137 + 10 / 60.0}, {36, 138 + 30 / 60.0},
    {36, 139 + 50 / 60.0}, {40, 140 + 50 / 60.0}, {44, 140 + 15 / 60.0},
    {44, 142 + 15 / 60.0}, {44, 144 + 15 / 60.0}, {26, 142}, {26, 127 + 30 / 60.0},
    {26, 124}, {26, 131}, {20, 136}, {26, 154},
}};

struct Reference {
    int ellipsoid;
    int zone;
    double latitude;
    double longitude;
    double x;
    double y;
};

std::vector<Reference> LoadGolden()
{
    std::ifstream in(std::string(WAVORA_TEST_DATA) + "/geoconv/meshgate_golden.txt");
    std::vector<Reference> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        Reference r{};
        fields >> r.ellipsoid >> r.zone >> r.latitude >> r.longitude >> r.x >> r.y;
        if (fields) {
            rows.push_back(r);
        }
    }
    return rows;
}

// Largest coordinate difference to the reference, metres.
double Deviation(const Reference& r)
{
    double x = NAN;
    double y = NAN;
    EXPECT_EQ(Meshgate(r.ellipsoid, r.zone, r.latitude, r.longitude, &x, &y), 1);
    return std::max(std::fabs(x - r.x), std::fabs(y - r.y));
}

TEST(MeshgateReference, EveryZoneOfBothEllipsoidsAgreesWithProjWithinAMillimetre)
{
    const std::vector<Reference> rows = LoadGolden();
    ASSERT_FALSE(rows.empty()) << "reference table missing";

    std::set<std::pair<int, int>> covered;
    double worst = 0.0;
    for (const Reference& r : rows) {
        const double d = Deviation(r);
        EXPECT_LE(d, kToleranceMetres) << "ellipsoid " << r.ellipsoid << " zone " << r.zone
                                       << " at " << r.latitude << ", " << r.longitude;
        worst = std::max(worst, d);
        covered.insert({r.ellipsoid, r.zone});
    }
    EXPECT_EQ(covered.size(), 2u * 19u) << "the table must cover zones 1..19 of both ellipsoids";
    EXPECT_LE(worst, kSeriesAccuracyMetres);
    std::printf("worst deviation from the PROJ table: %.4f mm over %zu points\n", worst * 1000.0,
                rows.size());
}

TEST(MeshgateZones, EachZoneOriginMapsToZero)
{
    for (int ellipsoid : {MESHGATE_GRS80, MESHGATE_BESSEL}) {
        for (int zone = 1; zone <= 19; ++zone) {
            const ZoneOriginDeg& o = kOrigins[zone - 1];
            double x = NAN;
            double y = NAN;
            ASSERT_EQ(Meshgate(ellipsoid, zone, o.latitude, o.longitude, &x, &y), 1);
            EXPECT_NEAR(x, 0.0, 1e-9) << "zone " << zone;
            EXPECT_NEAR(y, 0.0, 1e-9) << "zone " << zone;
        }
    }
}

TEST(MeshgateArguments, EveryEllipsoidCodeOtherThanOneIsBessel)
{
    double xb = 0, yb = 0, xg = 0, yg = 0;
    Meshgate(MESHGATE_BESSEL, 9, 35.7, 139.7, &xb, &yb);
    Meshgate(MESHGATE_GRS80, 9, 35.7, 139.7, &xg, &yg);
    EXPECT_GT(std::fabs(xb - xg), 1.0);  // the ellipsoids differ by metres here

    for (int code : {0, 3, -1, 99, INT_MIN, INT_MAX}) {
        double x = 0, y = 0;
        EXPECT_EQ(Meshgate(code, 9, 35.7, 139.7, &x, &y), 1);
        EXPECT_EQ(x, xb) << "code " << code;
        EXPECT_EQ(y, yb) << "code " << code;
    }
}

TEST(MeshgateArguments, ZoneOutsideTableOrMissingOutputWritesNothingAndReturnsZero)
{
    for (int zone : {0, 20, -1, 1000, INT_MIN, INT_MAX}) {
        double x = 12345.0;
        double y = -6789.0;
        EXPECT_EQ(Meshgate(MESHGATE_GRS80, zone, 35.0, 139.0, &x, &y), 0) << "zone " << zone;
        EXPECT_EQ(x, 12345.0);
        EXPECT_EQ(y, -6789.0);
    }
    double v = 1.0;
    EXPECT_EQ(Meshgate(MESHGATE_GRS80, 9, 35.0, 139.0, nullptr, &v), 0);
    EXPECT_EQ(Meshgate(MESHGATE_GRS80, 9, 35.0, 139.0, &v, nullptr), 0);
    EXPECT_EQ(v, 1.0);
}

TEST(MeshgateLibrary, ExportsOnlyTheUndecoratedEntryWithCLinkage)
{
    void* handle = dlopen(MESHGATE_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    ASSERT_NE(handle, nullptr) << dlerror();
    using Entry = int (*)(int, int, double, double, double*, double*);
    auto entry = reinterpret_cast<Entry>(dlsym(handle, "Meshgate"));
    ASSERT_NE(entry, nullptr);
    double x = 0, y = 0;
    EXPECT_EQ(entry(MESHGATE_GRS80, 1, 33.0, 129.5, &x, &y), 1);
    dlclose(handle);

    // Everything but the export stays hidden, so callers cannot come to rely on internals.
    const std::string cmd = std::string("nm -D --defined-only '") + MESHGATE_LIBRARY_PATH +
                            "' 2>/dev/null | awk '$2 ~ /^[TDB]$/ { print $3 }'";
    FILE* nm = popen(cmd.c_str(), "r");
    if (nm == nullptr) {
        GTEST_SKIP() << "nm not available to list the exported symbols";
    }
    std::vector<std::string> exported;
    char buf[512];
    while (std::fscanf(nm, "%511s", buf) == 1) {
        exported.push_back(buf);
    }
    pclose(nm);
    // dlsym found the entry above, so an empty list means nm could not read the library.
    if (exported.empty()) {
        GTEST_SKIP() << "nm could not list the exported symbols";
    }
    EXPECT_EQ(exported, std::vector<std::string>{"Meshgate"});
}

// --- Live comparison with PROJ -------------------------------------------------------

TEST(MeshgateProj, PointsAcrossEveryZoneAgreeWithCs2csWithinAMillimetre)
{
    if (std::system("command -v cs2cs > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "cs2cs (PROJ) is not on PATH; the checked-in reference table still "
                        "covers every zone";
    }

    // A 4 x 4 grid over each zone's working area, off the origin's parallel and meridian.
    const double latOffsets[] = {-1.6, -0.55, 0.35, 1.7};
    const double lonOffsets[] = {-1.2, -0.4, 0.25, 1.1};
    struct Datum {
        int ellipsoid;
        const char* geographic;
        int firstPlane;
    };
    const Datum datums[] = {{MESHGATE_GRS80, "EPSG:6668", 6669},
                            {MESHGATE_BESSEL, "EPSG:4301", 30161}};

    double worst = 0.0;
    int compared = 0;
    for (const Datum& d : datums) {
        for (int zone = 1; zone <= 19; ++zone) {
            std::vector<std::pair<double, double>> points;
            {
                std::ofstream in("points.txt");
                char text[64];
                for (double dlat : latOffsets) {
                    for (double dlon : lonOffsets) {
                        // Written with the digits cs2cs reads, then read back, so both
                        // sides convert the same double.
                        std::snprintf(text, sizeof text, "%.9f %.9f",
                                      kOrigins[zone - 1].latitude + dlat,
                                      kOrigins[zone - 1].longitude + dlon);
                        in << text << '\n';
                        double lat = 0, lon = 0;
                        std::sscanf(text, "%lf %lf", &lat, &lon);
                        points.emplace_back(lat, lon);
                    }
                }
            }
            // EPSG geographic CRSs take latitude first; plane CRSs give northing first.
            const std::string cmd = std::string("cs2cs -f %.6f ") + d.geographic + " EPSG:" +
                                    std::to_string(d.firstPlane + zone - 1) +
                                    " < points.txt > projected.txt";
            ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
            std::ifstream out("projected.txt");
            for (const auto& [lat, lon] : points) {
                Reference r{d.ellipsoid, zone, lat, lon, 0, 0};
                ASSERT_TRUE(out >> r.x >> r.y) << "short cs2cs output for zone " << zone;
                std::string rest;
                std::getline(out, rest);
                const double dev = Deviation(r);
                EXPECT_LE(dev, kToleranceMetres) << d.geographic << " zone " << zone << " at "
                                                 << lat << ", " << lon;
                worst = std::max(worst, dev);
                ++compared;
            }
        }
    }
    std::printf("worst deviation from cs2cs: %.4f mm over %d points\n", worst * 1000.0, compared);
}

}  // namespace

namespace {

// The conversion computed from its description with the historical pi = 3.141592654
// (tests/data/geoconv/make_meshgate_pinned.py), far from the zone origins where that pi
// moves results by 10 to 30 micrometres: inside the PROJ tolerance, so only these values
// hold the library to the pi the original used. Agreement to the micrometre.
TEST(Meshgate, HistoricalPiPinnedToTheMicrometre)
{
    std::ifstream in(std::string(WAVORA_TEST_DATA) + "/geoconv/meshgate_pinned.txt");
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        int ellipsoid = 0, zone = 0;
        double lat = 0, lon = 0, xh = 0, yh = 0, xf = 0, yf = 0;
        fields >> ellipsoid >> zone >> lat >> lon >> xh >> yh >> xf >> yf;
        ASSERT_TRUE(fields) << line;
        // The reference itself tells the two values of pi apart.
        ASSERT_GT(std::max(std::fabs(xh - xf), std::fabs(yh - yf)), 5e-6) << line;
        double x = NAN, y = NAN;
        ASSERT_EQ(Meshgate(ellipsoid, zone, lat, lon, &x, &y), 1);
        EXPECT_NEAR(x, xh, 1e-6) << line;
        EXPECT_NEAR(y, yh, 1e-6) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 8);
}

}  // namespace
