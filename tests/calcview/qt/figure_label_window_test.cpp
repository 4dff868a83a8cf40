// The printed and exported figure of the real calculation window carries the version text
// of "SYSVER.DAT" in its file label, byte for byte as the file holds it.
#include "tests/calcview/qt/bay_window.h"

#include "core/command_ids.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace wv {
namespace {

namespace fs = std::filesystem;

// The bay's calculation copied as ROAD.TYD (with its side archive) beside it.
void CopyAsRoad(const std::string& bay) {
    fs::copy_file(bay + "/BAY1.TYD", bay + "/ROAD.TYD", fs::copy_options::overwrite_existing);
    fs::copy_file(bay + "/BAY1.DPT", bay + "/ROAD.DPT", fs::copy_options::overwrite_existing);
}

// The text of the file label's VJ record (layer 1, the one that ends in "[ROAD]").
std::string FileLabel(const std::string& plot) {
    std::string line, found = "<no label>";
    std::size_t start = 0;
    while (start < plot.size()) {
        std::size_t end = plot.find('\n', start);
        if (end == std::string::npos) end = plot.size();
        line = plot.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        const std::string tail = "[ROAD]";
        if (line.rfind("VJ", 0) == 0 && line.size() >= tail.size() &&
            line.compare(line.size() - tail.size(), tail.size(), tail) == 0) {
            // Six fields before the text.
            std::size_t p = 2;
            for (int i = 0; i < 6 && p != std::string::npos; ++i) p = line.find(',', p) + 1;
            found = line.substr(p);
        }
    }
    return found;
}

struct Case {
    const char* what;
    std::string sysver;  // bytes of SYSVER.DAT
    std::string label;   // bytes of the label in the plot file
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class FigureLabel : public ::testing::TestWithParam<Case> {};

TEST_P(FigureLabel, PrintAndExportCarryTheVersion) {
    const Case& c = GetParam();
    test::BayWindow bw(c.sysver);
    ASSERT_TRUE(bw.started);
    CopyAsRoad(bw.bay);
    TydScrollView* sv = bw.OpenCalc("ROAD.TYD");
    ASSERT_NE(sv, nullptr);
    ASSERT_EQ(sv->Controller()->Doc().m_zmn.m_bDrawFileName, 1);
    const std::string plot = apptest::Here() + "/pdata000.plt";

    // Direct print without a printer: the page goes to a PDF, the figure through the plot file.
    fs::remove(plot);
    const std::string pdf = bw.bay + "/ROAD.pdf";
    bw.ui.PushFileAnswer(pdf);
    bw.app->ExecuteCommand(ids::ID_FILE_PRINT_DIRECT);
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_EQ(FileLabel(apptest::Bytes(plot)), c.label) << c.what << ": printed";

    // The BFO export writes the same figure before it asks for the file (cancelled here).
    fs::remove(plot);
    bw.app->ExecuteCommand(ids::ID_BFO_OUT);
    EXPECT_EQ(FileLabel(apptest::Bytes(plot)), c.label) << c.what << ": exported";
}

// "－" is 0x81 0x7C in CP932.
INSTANTIATE_TEST_SUITE_P(
    Versions, FigureLabel,
    ::testing::Values(Case{"plain", "2.5.1\r\n", "V2.5.1\x81\x7C[ROAD]"},
                      Case{"LF only", "2.5.1\n", "V2.5.1\x81\x7C[ROAD]"},
                      // Half-width katakana "ﾍﾞｰﾀ" and a byte that is no CP932 character:
                      // the label keeps the file's bytes.
                      Case{"bytes", "2.5.1\xCD\xDE\xB0\xC0\x80\r\n", "V2.5.1\xCD\xDE\xB0\xC0\x80\x81\x7C[ROAD]"},
                      Case{"empty line", "\r\n", "[ROAD]"}));

}  // namespace
}  // namespace wv
