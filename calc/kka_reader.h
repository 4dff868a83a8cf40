// Reading the solver's result file <base>.KKA back onto the mesh grid. The file holds one
// record per solver node, in the solver's march order; the orientation code of the run
// says which mesh node each record belongs to. The reader checks the whole file against
// the run before anything is handed to the mesh: a file that is short, long, whose
// records do not sit where the run put them, or that holds a record no run can write
// (not ten numbers, a value too wide for its field, a negative height or period ratio,
// a direction outside the bins) is refused with a reason naming the line.
#pragma once

#include <string>
#include <vector>

namespace wv {

// What the run was: the mesh grid, the side the waves entered through, and the spacing
// and depths as the solver input gave them.
struct KkaExpectation {
    int rows = 0;          // mesh rows (along y)
    int cols = 0;          // mesh columns (along x)
    int code = 0;          // orientation code 0 to 3
    double spacing = 0.0;  // node spacing as written into the solver input
    // Per mesh position, row by row: the depth written into the solver input, or any
    // value at or below -9990 for land.
    std::vector<double> depths;
};

// The values of one mesh position taken from its record.
struct KkaCell {
    bool sea = false;           // the record's depth was above -9990
    float heightRatio = 0.0f;   // H/H0
    float equivRatio = 0.0f;    // the fifth field
    float direction = 0.0f;     // already turned into the mesh frame
};

struct KkaResult {
    bool ok = false;
    std::string error;          // why the file was refused (UTF-8, the user's language), when !ok
    std::vector<KkaCell> cells; // rows x cols, row by row
};

// Reads the text of a result file (CR LF or LF). Blank lines after the last record are
// allowed; anything else that is not exactly one record per node is refused.
KkaResult ReadKkaText(const std::string& text, const KkaExpectation& run);

}  // namespace wv
