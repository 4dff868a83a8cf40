// Two small steps that prepare the mesh values for display: the lattice of nodes that
// print their value in a digital map, and the result values at the project's output
// points. Drawing happens elsewhere; these only fill the show flags and the two
// output-point arrays of a calculation view.
#pragma once

namespace wv {

class CTydDocData;
class CTydViewData;

// Map types of the lattice: 0 wave height, 1 vectors, 2 depth, 3 (and any other)
// direction. Each uses its own display-interval set of the drawing conditions.
enum { kLatticeHeight = 0, kLatticeVector = 1, kLatticeDepth = 2, kLatticeDir = 3 };

// Rebuilds the show flags of one map type: every sea node hidden, then the nodes on the
// lattice through the set's reference node, with its row and column steps, shown. A step
// that rounds to 0 or below shows only the reference row (or column). The lattice covers
// the mesh's rows and columns; without a mesh there is nothing to flag.
void SetDigitalMapNodes(CTydDocData& doc, int type);

// Fills the view's output-point values from the loaded results: for each output point in
// use, the value of the figure's value type and the wave direction in the sense the wave
// conditions ask for; "no value" for every slot before the results are loaded (state 3).
// `viewAngle` is the view's rotation in degrees.
void UpdateCalcPointResults(CTydViewData& view, double viewAngle);

}  // namespace wv
