// TEMPORARY: the colour ramp of the colour maps belongs with the screen colour map, which
// is being built beside this code. Until both meet, the printed colour map uses this copy
// of the same rule; it is to be removed in favour of the shared one when they are joined.
#pragma once

#include "platform/dc.h"

namespace wv {

// The colour of `value` on the blue-cyan-green-yellow-red ramp over five ascending
// breakpoints; outside them (and for a value that is no number) white when `outWhite`
// is nonzero, else black.
COLORREF GetRampColor(double value, const double breaks[5], int outWhite);

}  // namespace wv
