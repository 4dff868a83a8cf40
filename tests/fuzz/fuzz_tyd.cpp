// The main archive .TYD of a calculation, beside a good side archive.
#include "tyd_pair.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wv;
    const std::string& dir = fuzz::Scratch();
    fuzz::SilentUi();
    fuzz::WriteFile(dir + "IN.TYD", data, size);
    fuzz::WriteFile(dir + "IN.DPT", fuzz::ReadFile(fuzz::TestData("calcdoc/small_v12.DPT")));
    fuzz::CheckCalculationOpen();
    return 0;
}
