#include "batch/cal_counts.h"

#include "platform/fixed_format.h"
#include "platform/text.h"

#include <fstream>

namespace wv {

bool ReadCalCounts(const std::string& calPath, CalCounts& out) {
    // Only the header is needed; the depths that follow may be millions of records.
    std::ifstream in(calPath, std::ios::binary);
    if (!in) return false;
    std::string records[9];
    for (std::string& r : records) {
        if (!std::getline(in, r)) return false;
        r = StripNewlinesCopy(r);
    }
    CalCounts c;
    if (!FixedReader(records[4]).ReadInt(5, c.dirDiv)) return false;
    if (!FixedReader(records[7]).ReadInt(5, c.freqDiv)) return false;
    FixedReader grid(records[8]);
    if (!grid.ReadInt(5, c.meshX) || !grid.ReadInt(5, c.meshY)) return false;
    out = c;
    return true;
}

}  // namespace wv
