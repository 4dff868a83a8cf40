// The solver's result file <base>.KKA read back onto the mesh. The first three bytes
// choose the run (rows, columns, orientation); the rest is the file. A file either is
// refused with a reason, or gives one cell per mesh position whose land and sea are the
// run's.
#include "fuzz_support.h"

#include "calc/kka_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wv;
    if (size < 3) return 0;
    KkaExpectation run;
    run.rows = 1 + data[0] % 6;
    run.cols = 1 + data[1] % 6;
    run.code = data[2] % 4;
    run.spacing = 10.0;
    for (int r = 0; r < run.rows; ++r)
        for (int c = 0; c < run.cols; ++c) run.depths.push_back((r * 7 + c * 3) % 5 == 4 ? -9999.0 : 2.0 + r + 0.5 * c);
    const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);
    const KkaResult result = ReadKkaText(text, run);
    if (!result.ok) {
        fuzz::Check(!result.error.empty(), "a refused result file says why");
        return 0;
    }
    fuzz::Check(result.cells.size() == run.depths.size(), "a result file gives one cell per mesh position");
    for (std::size_t i = 0; i < run.depths.size(); ++i)
        fuzz::Check(result.cells[i].sea == (run.depths[i] > -9990.0), "land and sea of the results are the run's");
    return 0;
}
