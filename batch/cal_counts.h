// The counts a solver run needs from its own input <folder><title>.CAL: direction bins
// (record 5), frequency components (record 8) and the two node counts (record 9). The
// batch program reads them when the entry runs, so a calculation prepared again after
// it was queued runs with the counts it now has.
#pragma once

#include <string>

namespace wv {

struct CalCounts {
    int dirDiv = 0;
    int freqDiv = 0;
    int meshX = 0;  // along the march axis
    int meshY = 0;  // across it
};

// False when the file cannot be read or those records are not I5 integers.
bool ReadCalCounts(const std::string& calPath, CalCounts& out);

}  // namespace wv
