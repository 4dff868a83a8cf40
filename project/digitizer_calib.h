// What a digitizer reading means: the calibration of the paper drawing on the tablet, and
// the text records the tablet sends.
#pragma once

#include "core/point.h"

#include <string>
#include <vector>

namespace wv {

// The calibration of the drawing on the tablet. Application-wide and never stored: the
// user reads it off the drawing each session.
class CDigi_Inf {
public:
    // World position of the reference point (metres), its tablet reading (0.1 mm), the
    // angle of the drawing's horizontal reference line (degrees) and the drawing's scale
    // denominator.
    void Get(CPointD& world, CPointD& tablet, double& angle, int& scale) const;
    // A scale below 1 is taken as 1: 0 would map every reading onto the reference point.
    void Set(CPointD world, CPointD tablet, double angle, int scale);

    CPointD m_ptWorld{0.0, 0.0};
    CPointD m_ptTablet{0.0, 0.0};
    double m_dAngle = 0.0;
    int m_nScale = 1000;
};

extern CDigi_Inf g_digiCalib;

// The world position of a tablet reading, rounded to millimetres. Tablet units are 0.1 mm
// of paper, so one unit is 0.1 × 0.001 × S metres on the ground. The offset from the
// reference reading is turned by the angle about the reference point itself, so the
// reference reading always lands on its world position.
CPointD TabletToWorld(const CDigi_Inf& calib, double x, double y);

// The tablet's same-point tolerance in metres: `tolTabletMm` of paper at scale 1:S.
double TabletTolerance(const CDigi_Inf& calib, double tolTabletMm);

// The angle of the reference line from its left and right end readings: 0 for a line read
// left to right along the tablet's x axis, 180 for one read right to left.
double ReferenceAngle(CPointD left, CPointD right);

// One record of the tablet: X, Y in 0.1 mm and the button code (1: take this point).
struct DigitizerRecord {
    double x = 0.0;
    double y = 0.0;
    int button = 0;
    bool operator==(const DigitizerRecord&) const = default;
};

// Reads one line: exactly three comma-separated fields, two decimal numbers and an
// integer, blanks allowed around each. False for anything else.
bool ParseDigitizerRecord(const std::string& line, DigitizerRecord& out);

// Gathers the bytes of a port into records. Each line ended by CR or LF is parsed once;
// a record split over two reads is taken once, two in one read are both taken. Until 9
// bytes wait nothing is parsed (a record is never shorter). A line that grows past 1024
// bytes without an end is dropped up to its end, so the noise never turns into a point.
class DigitizerFramer {
public:
    static constexpr std::size_t kMinBytes = 9;
    static constexpr std::size_t kMaxLine = 1024;

    // Appends bytes and returns the records completed by them, in order.
    std::vector<DigitizerRecord> Feed(const std::string& bytes);
    void Clear();
    std::size_t Pending() const { return m_buffer.size(); }

private:
    std::string m_buffer;
    bool m_discarding = false;  // inside an over-long line, until its end
};

}  // namespace wv
