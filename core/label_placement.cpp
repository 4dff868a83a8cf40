#include "core/label_placement.h"

#include "core/geometry.h"
#include "platform/text.h"

#include <cmath>

namespace wv {

namespace {

// Screen coordinates are device units: only a truly coincident pair has no direction.
constexpr double kScreenZero = 1e-10;
// Sheet coordinates are millimetres: below a thousandth of one nothing is visible.
constexpr double kSheetZero = 0.001;

struct Placement {
    double x;
    double y;
    double angle;  // degrees
};

// The start of a text reached from (baseX, baseY) by going `along` the direction (dx, dy)
// and `across` to its left, in a frame with y up. `ySense` -1 writes the y move into a
// frame with y down (the direction is then already given with y turned). A direction or
// a shift no larger than `zero` in both parts counts as angle 0.
Placement PlaceFromBase(double baseX, double baseY, double dx, double dy, double along,
                        double across, double zero, double ySense) {
    const double theta =
        (std::fabs(dx) <= zero && std::fabs(dy) <= zero) ? 0.0 : std::atan2(dy, dx);
    const double phi =
        (std::fabs(across) <= zero && std::fabs(along) <= zero) ? 0.0 : std::atan2(across, along);
    const double r = std::sqrt(across * across + along * along);
    return Placement{baseX + r * std::cos(theta + phi), baseY + ySense * (r * std::sin(theta + phi)),
                     theta * 180.0 / kPi};
}

double SegmentLength(double x1, double y1, double x2, double y2) {
    return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
}

// Characters of a number printed with `decimals` decimals: integer digits, the point
// with its decimals and the minus sign, with one character to spare.
int NumberWidth(double value, int decimals) {
    double a = std::fabs(value);
    if (a < 1.0) a = 1.0;
    int d = DoubleToInt(std::floor(std::log10(std::floor(a + 0.5) + 0.1) + 2.0));
    if (decimals < 0) d -= 1;
    const int s = (value < 0.0 || decimals > 0) ? 1 : 0;
    return decimals + d + s;
}

}  // namespace

void GetLabelPosition(double x1, double y1, double x2, double y2, int n, double w, double h,
                      double* outX, double* outY, double* outAngle) {
    const double t = n * w;
    const double along = (SegmentLength(x1, y1, x2, y2) - t) / 2.0;
    // View y points down: the direction is taken with y turned so the angle reads
    // counter-clockwise on the screen, and the move across is turned back.
    const Placement p = PlaceFromBase(x1, y1, x2 - x1, y1 - y2, along, h, kScreenZero, -1.0);
    *outX = p.x;
    *outY = p.y;
    *outAngle = p.angle;
}

int CalcLabelPos(double x1, double y1, double x2, double y2, double value, int mode, int count,
                 double charWidth, double offset, double* outX, double* outY, double* outAngle) {
    const int n = (mode == 1) ? NumberWidth(value, count) : count;
    const double w = n * charWidth;
    const double along = (SegmentLength(x1, y1, x2, y2) - w) / 2.0;
    const Placement p = PlaceFromBase(x1, y1, x2 - x1, y2 - y1, along, offset, kSheetZero, 1.0);
    *outX = p.x;
    *outY = p.y;
    *outAngle = p.angle;
    return 0;
}

int CalcLabelOffset(double x1, double y1, double x2, double y2, int atEnd, int count, double along,
                    double across, double* outX, double* outY, double* outAngle) {
    // At the end the text runs back over its own length plus one character of gap.
    const double a = atEnd ? -along * (count + 1) : along;
    const double baseX = atEnd ? x2 : x1;
    const double baseY = atEnd ? y2 : y1;
    const Placement p = PlaceFromBase(baseX, baseY, x2 - x1, y2 - y1, a, across, kSheetZero, 1.0);
    *outX = p.x;
    *outY = p.y;
    *outAngle = p.angle;
    return 0;
}

}  // namespace wv
