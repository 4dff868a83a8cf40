// The two text files that drive a wave calculation, written beside the document:
//
//   <base>.CAL  the solver input: switches, spectrum, grid, incident wave, then one depth
//               per node in the solver's march order (fixed columns)
//   <base>.DEC  the batch input: the remark in quotes, the bin and component counts, the
//               two node counts and the batch flag
//
// The orientation code (calc/mesh_orientation.h) decides the order of the two node
// counts and of the depths; the same pair goes into the request block of the run.
#pragma once

#include "calc/calc_view_frame.h"

#include <string>
#include <vector>

namespace wv {

class CTydDoc;
class CTydViewData;

// The lines of the two files (text of the solver input, code page 932), or why they
// cannot be written.
struct CalcDataText {
    int code = -1;                 // orientation code; -1 when refused
    int nx = 0;                    // node count along the march axis
    int ny = 0;                    // across it
    std::vector<std::string> cal;  // lines of <base>.CAL
    std::vector<std::string> dec;  // lines of <base>.DEC
    std::string refusal;           // message (UTF-8) when refused
    std::string caption;           // its caption
};

// Builds both files for a document seen in a view turned by `viewAngle` degrees; the
// batch flag goes into the last line of the .DEC. Refuses what the solver cannot take:
// no depths, no wave height or period, fewer than 3 direction bins, no frequency
// component, or a value too wide for its columns.
CalcDataText BuildCalcData(const CTydDoc& doc, double viewAngle, int forBatch);

// The solver-input writer of the calculation view: writes <base>.CAL and <base>.DEC and
// saves the document. forBatch 0 on the way to a run, 1 for the batch program. Returns
// the orientation code 0 to 3, which the document also keeps for loading the results,
// or -1 after a message. A calculation of this document that is running now keeps its
// input: the writer refuses as it does when the file cannot be created.
int WriteCalcData(CTydDoc& doc, CTydViewData& view, const CalcViewFrame& frame, int forBatch);

// Batch-data command: the files for the batch program, then a confirmation. Returns the
// orientation code or -1.
int OnMakeContinuousData(CTydDoc& doc, CTydViewData& view, const CalcViewFrame& frame);

}  // namespace wv
