// The counts the batch program takes from a solver input .CAL. A refused file leaves the
// caller's counts alone; only the nine header records matter, so whatever follows them
// (millions of depth records in a real file) changes nothing.
#include "fuzz_support.h"

#include "batch/cal_counts.h"

#include <string>

namespace {

bool Same(const wv::CalCounts& a, const wv::CalCounts& b) {
    return a.dirDiv == b.dirDiv && a.freqDiv == b.freqDiv && a.meshX == b.meshX && a.meshY == b.meshY;
}

// The input cut after its ninth line end, or npos when it has fewer.
std::size_t HeaderEnd(const std::string& bytes) {
    std::size_t pos = 0;
    for (int i = 0; i < 9; ++i) {
        pos = bytes.find('\n', pos);
        if (pos == std::string::npos) return pos;
        ++pos;
    }
    return pos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wv;
    const std::string path = fuzz::Scratch() + "IN.CAL";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::WriteFile(path, bytes);

    const CalCounts marker{-1, -2, -3, -4};
    CalCounts counts = marker;
    const bool read = ReadCalCounts(path, counts);
    if (!read) fuzz::Check(Same(counts, marker), "a refused solver input leaves the counts alone");

    const std::size_t end = HeaderEnd(bytes);
    if (end == std::string::npos) return 0;
    fuzz::WriteFile(path, bytes.substr(0, end) + "garbage after the header\r\n\x81\x40\x00 12345\r\n");
    CalCounts other = marker;
    fuzz::Check(ReadCalCounts(path, other) == read, "what follows the header does not decide the read");
    fuzz::Check(Same(other, counts), "what follows the header does not change the counts");
    return 0;
}
