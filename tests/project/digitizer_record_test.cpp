// What a tablet reading means: calibration, the reference-line angle and record framing.
#include "project/digitizer_calib.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wv {
namespace {

using namespace std::string_literals;

struct CalibCase {
    const char* name;
    CPointD world, tablet;
    double angle;
    int scale;
    double x, y;
    CPointD expect;
};

TEST(DigitizerCalibration, TabletReadingsLandOnTheirWorldPoints) {
    const CalibCase cases[] = {
        {"defaults", {0, 0}, {0, 0}, 0.0, 1000, 1000.0, 2000.0, {100.0, 200.0}},
        {"scale 500 halves", {0, 0}, {0, 0}, 0.0, 500, 1000.0, 2000.0, {50.0, 100.0}},
        {"reference reading gives W, turned", {1000, 2000}, {300, 400}, 90.0, 1000, 300.0, 400.0, {1000, 2000}},
        {"reference reading gives W, odd angle", {-12.5, 77.25}, {5, 6}, 37.0, 2500, 5.0, 6.0, {-12.5, 77.25}},
        // An offset along the tablet's x turned by 90 degrees runs along the world's y,
        // measured from the reference point, not from the world origin.
        {"offset turned about the reference", {1000, 2000}, {0, 0}, 90.0, 1000, 1000.0, 0.0, {1000.0, 2100.0}},
        {"offset turned by 180", {10, 20}, {100, 100}, 180.0, 1000, 200.0, 300.0, {0.0, 0.0}},
        {"rounded to millimetres", {0, 0}, {0, 0}, 0.0, 1000, 1000.04, 0.0, {100.004, 0.0}},
        // A scale of 0 cannot be stored: it is taken as 1.
        {"scale 0 taken as 1", {0, 0}, {0, 0}, 0.0, 0, 10000.0, 0.0, {1.0, 0.0}},
    };
    for (const CalibCase& c : cases) {
        SCOPED_TRACE(c.name);
        CDigi_Inf calib;
        calib.Set(c.world, c.tablet, c.angle, c.scale);
        const CPointD p = TabletToWorld(calib, c.x, c.y);
        EXPECT_NEAR(p.m_dX, c.expect.m_dX, 1e-9);
        EXPECT_NEAR(p.m_dY, c.expect.m_dY, 1e-9);
    }
}

TEST(DigitizerCalibration, DefaultsScaleAndTolerance) {
    CDigi_Inf calib;
    CPointD w, t;
    double a;
    int s;
    calib.Get(w, t, a, s);
    EXPECT_EQ(s, 1000);
    EXPECT_EQ(a, 0.0);
    EXPECT_EQ(w.m_dX, 0.0);
    EXPECT_EQ(t.m_dY, 0.0);
    // 1 mm of paper at 1:1000 is a metre on the ground.
    EXPECT_DOUBLE_EQ(TabletTolerance(calib, 1.0), 1.0);
    calib.Set(w, t, a, -5);
    EXPECT_EQ(calib.m_nScale, 1);
}

TEST(DigitizerCalibration, ReferenceLineAngle) {
    EXPECT_DOUBLE_EQ(ReferenceAngle({100, 50}, {900, 50}), 0.0);    // left to right
    EXPECT_DOUBLE_EQ(ReferenceAngle({900, 50}, {100, 50}), 180.0);  // right to left
    // The angle turns a reading along the reference line back onto the world's x axis.
    CDigi_Inf calib;
    calib.Set({0, 0}, {0, 0}, ReferenceAngle({0, 0}, {0, 1000}), 1000);
    const CPointD p = TabletToWorld(calib, 0.0, 1000.0);
    EXPECT_NEAR(p.m_dX, 100.0, 1e-9);
    EXPECT_NEAR(p.m_dY, 0.0, 1e-9);
}

TEST(DigitizerRecords, OnlyThreeWellFormedFieldsMakeARecord) {
    struct Case {
        std::string line;
        bool ok;
        DigitizerRecord r;
    };
    const Case cases[] = {
        {"1000.0,2000.0,1", true, {1000.0, 2000.0, 1}},
        {" 12.5 , -3 , 2 ", true, {12.5, -3.0, 2}},
        {"1e3,2E1,0", true, {1000.0, 20.0, 0}},
        {"abc", false, {}},
        {"1000.0,2000.0", false, {}},
        {"1000.0,2000.0,1,5", false, {}},
        {"1000.0,,1", false, {}},
        {"1000.0x,2000.0,1", false, {}},
        {"1000.0,2000.0,1.5", false, {}},
        {"inf,2000.0,1", false, {}},
        {"1000.0,2000.0,99999999999", false, {}},
        {"1000.0,2\0" "000.0,1"s, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        DigitizerRecord r{-1, -1, -1};
        EXPECT_EQ(ParseDigitizerRecord(c.line, r), c.ok);
        if (c.ok) {
            EXPECT_EQ(r, c.r);
        }
    }
}

TEST(DigitizerRecords, FramingAcrossReads) {
    struct Case {
        const char* name;
        std::vector<std::string> reads;
        std::vector<std::size_t> countsAfterEachRead;
    };
    const std::string over(1100, '7');
    const Case cases[] = {
        {"split record taken once", {"1000.0,20", "00.0,1\r\n"}, {0, 1}},
        {"two in one read", {"1.0,2.0,1\r\n3.0,4.0,1\r\n"}, {2}},
        {"LF only and CR only", {"1.0,2.0,1\n3.0,4.0,1\r"}, {2}},
        {"CR LF is one end", {"1.0,2.0,1\r\n\r\n\n"}, {1}},
        {"short record waits for 9 bytes", {"1,2,1\r\n", "3,4,1\r\n"}, {0, 2}},
        {"garbage then good", {"abc\r\n1,2\r\n\0\0\0\r\n5.0,6.0,1\r\n"s}, {1}},
        {"over-long line dropped up to its end", {over, "8,9,1\r\n", "1.0,2.0,1\r\n"}, {0, 0, 1}},
        {"over-long line in one read dropped too", {std::string(1100, ' ') + "8,9,1\r\n1.0,2.0,1\r\n"}, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DigitizerFramer f;
        for (std::size_t i = 0; i < c.reads.size(); ++i)
            EXPECT_EQ(f.Feed(c.reads[i]).size(), c.countsAfterEachRead[i]) << "read " << i;
        EXPECT_LE(f.Pending(), DigitizerFramer::kMaxLine);
    }
}

TEST(DigitizerRecords, NulBytesInsideALineRejectIt) {
    DigitizerFramer f;
    const std::string bytes = "1000.0,\0" "2000.0,1\r\n3000.0,4000.0,1\r\n"s;
    const auto records = f.Feed(bytes);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], (DigitizerRecord{3000.0, 4000.0, 1}));
}

}  // namespace
}  // namespace wv
