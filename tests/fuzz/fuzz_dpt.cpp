// The side archive .DPT of a calculation (mesh, triangulation, contours), beside a good
// main archive.
#include "tyd_pair.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wv;
    const std::string& dir = fuzz::Scratch();
    fuzz::SilentUi();
    fuzz::WriteFile(dir + "IN.TYD", fuzz::ReadFile(fuzz::TestData("calcdoc/small_v12.TYD")));
    fuzz::WriteFile(dir + "IN.DPT", data, size);
    fuzz::CheckCalculationOpen();
    return 0;
}
