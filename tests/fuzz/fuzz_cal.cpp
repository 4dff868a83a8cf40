// The solver input <base>.CAL through TYDSOLV in a scratch folder, with the request a
// program would send for it (the counts of its header). Every run ends with a result of
// 0 or 1, a message when it failed, and "CALC.DAT" idle; a refused input leaves the
// previous result file alone. The solver plans with 512 MB, so oversized inputs meet the
// refusal a smaller machine gives; larger inputs are read and checked but not marched,
// to keep each input within its time.
#include "fuzz_support.h"

#include "platform/fixed_format.h"
#include "platform/ui_service.h"
#include "solver/solver_hooks.h"
#include "solver/solver_messages.h"
#include "solver/tydsolv.h"

#include <string_view>

namespace {

// Field `index` (0-based) of I5 fields on record `record` (1-based), or `fallback`.
int HeaderInt(std::string_view text, int record, int index, int fallback) {
    std::size_t pos = 0;
    for (int r = 1; r < record; ++r) {
        pos = text.find('\n', pos);
        if (pos == std::string_view::npos) return fallback;
        ++pos;
    }
    const std::size_t end = text.find('\n', pos);
    wv::FixedReader reader(text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
    int v = fallback;
    for (int i = 0; i <= index; ++i)
        if (!reader.ReadInt(5, v)) return fallback;
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wv;
    const std::string& dir = fuzz::Scratch();
    fuzz::SilentUi().Clear();
    static const bool once = [] {
        solv::SetMemoryLimitOverride(512.0 * 1024 * 1024);
        solv::SetThreadCountOverride(1);
        return true;
    }();
    (void)once;

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int nd = HeaderInt(text, 5, 0, 3);
    const int nf = HeaderInt(text, 8, 0, 1);
    const int nx = HeaderInt(text, 9, 0, 0);
    const int ny = HeaderInt(text, 9, 1, 1);
    fuzz::WriteFile(dir + "IN.CAL", data, size);
    fuzz::WriteFile(dir + "IN.KKA", std::string("previous results"));
    fuzz::WriteFile(dir + "CALC.DAT", std::string("1\r\nIN\r\n"));

    // A march over more than this many (direction, component, node) triples would take
    // longer than an input may: such a run stops where the progress window would open.
    const double work = static_cast<double>(nd) * nf * (static_cast<double>(ny) + 10) * (nx > 0 ? nx : 1);
    const bool march = nd > 0 && nf > 0 && nx >= 0 && ny > 0 && work <= 20000.0;
    solv::SetProgressWindowFailure(!march);

    const std::string folder = dir;
    const std::string title = "IN";
    CalcRequest request{folder.c_str(), static_cast<int32_t>(folder.size()), title.c_str(),
                        static_cast<int32_t>(title.size()), folder.c_str(), static_cast<int32_t>(folder.size()),
                        nd, nf, nx, ny, 1};
    const int result = TYDSOLV(&request);
    solv::SetProgressWindowFailure(false);

    fuzz::Check(result == 0 || result == 1, "the solver's result is 0 or 1");
    fuzz::Check(fuzz::ReadFile(dir + "CALC.DAT") == "0\r\n", "every run leaves CALC.DAT idle");
    const auto messages = fuzz::SilentUi().Messages();
    if (result == 1) fuzz::Check(!messages.empty(), "a failed run says why");
    if (result == 0) fuzz::Check(fuzz::ReadFile(dir + "IN.KKA") != "previous results", "a finished run writes its results");
    if (!messages.empty() && messages[0].text.rfind(solv::msg::kBadCalFile, 0) == 0)
        fuzz::Check(fuzz::ReadFile(dir + "IN.KKA") == "previous results", "a refused input leaves the previous results alone");
    return 0;
}
