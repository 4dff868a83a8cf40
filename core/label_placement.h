// Where a text written along a line segment starts, and at which angle. One placement
// rule serves the screen labels (view coordinates, y down) and the sheet labels of the
// figure composition (millimetres, y up): the start is reached from a base point by going
// a distance along the segment's direction and a distance across it, to its left.
#pragma once

namespace wv {

// Screen labels: a text of n characters of width w centred on P1-P2 and shifted h across
// it (positive to the left of P1 -> P2 as seen on the screen). Outputs the text's start
// and its angle in degrees, counter-clockwise on the screen. A segment shorter than its
// text gives a start before P1.
void GetLabelPosition(double x1, double y1, double x2, double y2, int n, double w, double h,
                      double* outX, double* outY, double* outAngle);

// Sheet labels (y up): a text centred on p1-p2, `offset` across it. With mode 1 the
// character count is widened from `count` decimals to the width of `value` formatted with
// them; with any other mode it is `count`. Returns 0.
int CalcLabelPos(double x1, double y1, double x2, double y2, double value, int mode, int count,
                 double charWidth, double offset, double* outX, double* outY, double* outAngle);

// Sheet labels (y up) at one end of p1-p2: `along` from p1, or with atEnd set
// along x (count + 1) back from p2; `across` to the left. Returns 0.
int CalcLabelOffset(double x1, double y1, double x2, double y2, int atEnd, int count, double along,
                    double across, double* outX, double* outY, double* outAngle);

}  // namespace wv
