// The incident wave direction of a calculation, the orientation of the mesh for the
// solver that follows from it, and the loading of the solver's results back into the
// mesh.
#pragma once

#include "calc/mesh_orientation.h"

namespace wv {

class CTydDocData;
class CTydViewData;

// The principal incident direction as a mathematical angle in degrees, from north and
// the wave conditions: north - 22.5 x the 16-point index (mode 0), north + the angle
// (mode 1), north - the angle (mode 2).
double GetWaveIncidentAngle(const CTydDocData& doc);

// The angle the calculation view turns the map by so that the waves come from the top:
// 90 - the incident angle, in [0, 360).
double GetWaveDirAngle(const CTydDocData& doc);

// The rotation, in degrees, a calculation view shows the document at: the user's angle
// with free rotation, otherwise the turn that brings the waves in from the top
// (-GetWaveDirAngle), which puts them through the mesh's top row (code 0).
double CalcViewAngle(const CTydDocData& doc);

// The orientation code of the document's waves seen in a view turned by `viewAngle`
// degrees, and the principal direction relative to the solver's march axis.
double GetWaveDirQuadrant(const CTydDocData& doc, double viewAngle, int* code);

// Result codes of LoadCalcResults.
enum { kResultsLoaded = 0, kResultsNotLoaded = -2, kResultsAlreadyLoaded = -3 };

struct ResultLoadRun {
    // Orientation code of the run whose results are expected, as recorded when its solver
    // input was written; -1 when the document does not know it (opened since), and the
    // file is then matched against the codes itself.
    int orientation = -1;
    // The calculation view's rotation, degrees (for the output-point values).
    double viewAngle = 0.0;
};

// Makes the solver's results available in the mesh. In state 2 it reads <base>.KKA,
// checks that it holds exactly one record per node of the run, each one a run can write,
// stores the ratios and directions in the sea nodes, sets state 3, tells the user and
// saves the document. A batch marker <base>.YNO says that the batch program has run the
// document since: its results are loaded also in state 1 (saved by the batch-data
// command) and in state 3 (replacing the loaded ones). Nothing changes before every
// refusal has been decided, and the result file, the batch input and the marker are
// deleted only once the document has been saved with the results; a failed save leaves
// them and marks the document modified. The view's wait box (ResultsReading) stands
// around reading the result file only.
//   kResultsLoaded         loaded now
//   kResultsAlreadyLoaded  state 3, nothing to do: no marker, or the batch's result file
//                          not there yet, or its results already in the mesh
//   kResultsNotLoaded      no depths or no wave calculation (with a message), the run is
//                          still going (with a message), no result file yet (silent), or
//                          the result file does not fit the run (with a message naming the
//                          file and the reason)
int LoadCalcResults(CTydViewData& view, const ResultLoadRun& run);

}  // namespace wv
