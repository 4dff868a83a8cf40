// The output area as a 3D DXF drawing (release AC1009): one 3D polyline per run of
// points inside the area, in plane rectangular coordinates of one zone, depth lines on a
// layer per depth, coastlines on "T0_0" at height 0.
#pragma once

#include "viewer/reliefscope_doc.h"

#include <string>
#include <vector>

namespace wv {

enum class DxfUnit {
    Millimetres = 0,
    Metres = 1,
};

// Rounds to n decimals, half away from zero, after adding one unit in the fifteenth
// significant digit (so 9.95, held as 9.9499999..., rounds to 10.0). A result of zero is
// always +0.0: a depth that rounds to -0.0 would name a layer "H-0_0" that the layer
// table, which lists it as 0.0, does not hold.
double RoundTo(double value, int decimals);

// Sorts `index` (count entries) so that the values it points to ascend; values closer
// than 1e-10 count as equal. The comb sort of the original, kept for its gap rule.
void CombSortIndex(const std::vector<double>& values, std::vector<int>& index);

// Layer of a depth: "H%2.1f" with the decimal point replaced by '_' (12.5 -> "H12_5").
std::string DepthLayerName(double depth);

// The file's bytes (CR LF line ends). `ellipsoid` is the Meshgate code (1 GRS80,
// 2 Bessel), `zone` 1 to 19. Uses the document's area, box and low-tide switch.
std::string BuildDxf3d(const CReliefscopeDoc& doc, int ellipsoid, int zone, DxfUnit unit);

}  // namespace wv
