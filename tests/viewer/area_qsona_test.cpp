// The output area as a Q-SONA file: which points are written, their numbering, the
// bytes kept, and the checks and failures of the command.

#include "platform/recording_dc.h"
#include "viewer/area_qsona_writer.h"
#include "viewer/record_painter.h"
#include "viewer_test_support.h"

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace wv {
namespace {

using test::CrLfLines;
using test::Join;
using test::OpenText;
using test::Rec;

constexpr double kIn = 35.05;    // latitude inside the area
constexpr double kOut = 35.50;   // latitude outside
const GeoBox kArea{35.0, 139.0, 35.1, 139.1};

double Lon(int i) { return 139.001 + 0.001 * i; }

std::string Point(const std::string& line) { return line.substr(5, 5); }
int LineNo(const std::string& line) { return std::stoi(line.substr(50, 8)); }
// The record with its two number fields blanked: every other byte must be the input's.
std::string Unnumbered(std::string line)
{
    line.replace(5, 5, 5, '#');
    line.replace(50, 8, 8, '#');
    return line;
}

TEST(AreaQsona, RunsInsideTheAreaBecomeLinesNumberedOnWithinEachType)
{
    const std::vector<std::string> in = {
        "HEADER",
        Rec('L', "00001", kIn, Lon(0), 1),   // 1: in
        Rec('L', "00002", kIn, Lon(1), 1),   // 2: in
        Rec('L', "00003", kOut, Lon(2), 1),  // 3: out: the line leaves the area
        Rec('L', "00004", kIn, Lon(3), 1),   // 4: back in
        Rec('M', "00001", kIn, Lon(4), 1),   // 5: low tide, hidden: does not split the run
        Rec('L', "00005", kIn, Lon(5), 1),   // 6
        Rec('L', "00006", kIn, Lon(6), 2),   // 7: one point alone in the area
        Rec('L', "00007", kOut, Lon(7), 2),  // 8
        Rec('N', "00001", kIn, Lon(8), 1),   // 9: the first 'N' line is line 1, point 1
        "X a record of another kind, in the middle of a run",
        Rec('N', "00002", kIn, Lon(9), 1),   // 11
        Rec('N', "00000", kIn, Lon(9), 2),   // 12: continuation: not written, line goes on
        Rec('N', "00001", kIn, Lon(10), 2),  // 13
        Rec('N', "00000", kIn, Lon(11), 2),  // 14: "00000" on the same line: an ordinary point
    };
    CReliefscopeDoc doc;
    ASSERT_TRUE(OpenText(doc, Join(in)));
    doc.SetArea(kArea);
    const std::vector<std::string> out = CrLfLines(BuildAreaQsona(doc));

    const struct {
        int input;
        const char* point;
        int line;
    } want[] = {
        {1, "00001", 1}, {2, "00002", 1},                    // first piece
        {4, "00003", 2}, {6, "00004", 2},                    // second piece, points go on
        {9, "00001", 1}, {11, "00002", 1}, {13, "00003", 1}, {14, "00004", 1},
    };
    ASSERT_EQ(out.size(), std::size(want));
    for (std::size_t k = 0; k < out.size(); ++k) {
        EXPECT_EQ(Point(out[k]), want[k].point) << k;
        EXPECT_EQ(LineNo(out[k]), want[k].line) << k;
        EXPECT_EQ(Unnumbered(out[k]), Unnumbered(in[static_cast<std::size_t>(want[k].input)])) << k;
    }

    // With the switch on, the low-tide point is a change of type: it ends the coastline's
    // second piece before it has two points, and is a line of one point itself.
    doc.SetLowTide(true);
    const std::vector<std::string> withLowTide = CrLfLines(BuildAreaQsona(doc));
    ASSERT_EQ(withLowTide.size(), 6u);
    EXPECT_EQ(withLowTide[1], out[1]);
    EXPECT_EQ(withLowTide[2], out[4]);
}

TEST(AreaQsona, APieceOfAnotherTypeThatIsNotWrittenLeavesTheNumberingAlone)
{
    // 316 bytes: a short header line, then five records of exactly 60 columns: a
    // coastline piece of two points, one depth point, another coastline piece of two.
    const std::string text = test::TwoCoastPiecesAroundADepthPoint();
    ASSERT_EQ(text.size(), 316u);
    CReliefscopeDoc doc;
    ASSERT_TRUE(OpenText(doc, text));
    doc.SetArea(test::kTwoPiecesArea);
    const std::string written = BuildAreaQsona(doc);
    const std::vector<std::string> out = CrLfLines(written);

    // The lone depth point writes nothing, so the coastline numbering goes on: the second
    // piece is line 2, its points 3 and 4.
    ASSERT_EQ(out.size(), 4u);
    const std::pair<const char*, int> want[] = {{"00001", 1}, {"00002", 1}, {"00003", 2}, {"00004", 2}};
    for (std::size_t k = 0; k < out.size(); ++k) {
        EXPECT_EQ(Point(out[k]), want[k].first) << k;
        EXPECT_EQ(LineNo(out[k]), want[k].second) << k;
    }

    // Reopened, the viewer draws the two pieces apart: one segment each.
    CReliefscopeDoc again;
    ASSERT_TRUE(OpenText(again, written, "out.qsona"));
    ReliefscopeGeometry geo;
    geo.SetDataBox(again.DataBox());
    geo.SetClientSize(400, 400);
    geo.Fit();
    CRecordingDC dc(400, 400);
    PaintRecords(dc, again, geo);
    int segments = 0;
    for (const DcCall& call : dc.Calls()) segments += call.op == "LineTo" ? 1 : 0;
    EXPECT_EQ(segments, 2);
}

TEST(AreaQsona, EachPointIsJudgedAgainstThePointBeforeItInsideTheAreaOrNot)
{
    const std::vector<std::string> in = {
        Rec('L', "00001", kIn, Lon(0), 1),   // 0: a line of one point inside
        Rec('L', "00001", kOut, Lon(1), 2),  // 1: the next line starts outside
        Rec('L', "00000", kIn, Lon(2), 2),   // 2: "00000" on its own line: an ordinary point
        Rec('L', "00002", kIn, Lon(3), 2),   // 3
        Rec('N', "00001", kIn, Lon(4), 5),   // 4
        Rec('N', "00002", kOut, Lon(5), 5),  // 5: leaves the area
        Rec('N', "00000", kIn, Lon(6), 6),   // 6: a continuation that is inside although the
        Rec('N', "00001", kIn, Lon(7), 6),   // 7: point it repeats is not: drawn from here on
    };
    CReliefscopeDoc doc;
    ASSERT_TRUE(OpenText(doc, Join(in)));
    doc.SetArea(kArea);
    const std::vector<std::string> out = CrLfLines(BuildAreaQsona(doc));
    const struct {
        int input;
        const char* point;
        int line;
    } want[] = {{2, "00001", 1}, {3, "00002", 1}, {6, "00001", 1}, {7, "00002", 1}};
    ASSERT_EQ(out.size(), std::size(want));
    for (std::size_t k = 0; k < out.size(); ++k) {
        EXPECT_EQ(Point(out[k]), want[k].point) << k;
        EXPECT_EQ(LineNo(out[k]), want[k].line) << k;
        EXPECT_EQ(Unnumbered(out[k]), Unnumbered(in[static_cast<std::size_t>(want[k].input)])) << k;
    }
}

TEST(AreaQsona, TheNinetyNineThousandNineHundredNinetyNinthPointIsWrittenTwice)
{
    // One line of 100,001 points inside the area, generated here rather than kept.
    constexpr int kPoints = 100001;
    std::string text;
    text.reserve(static_cast<std::size_t>(kPoints) * 80);
    for (int i = 0; i < kPoints; ++i) {
        text += Rec('N', Sprintf("%05d", i % 100000), kIn, 139.001 + 0.0000009 * i, 7) + "\r\n";
    }
    CReliefscopeDoc doc;
    ASSERT_TRUE(OpenText(doc, text));
    doc.SetArea(kArea);
    const std::vector<std::string> out = CrLfLines(BuildAreaQsona(doc));
    ASSERT_EQ(out.size(), static_cast<std::size_t>(kPoints) + 1);
    const struct {
        std::size_t index;
        const char* point;
        int line;
        int input;
    } want[] = {
        {0, "00001", 1, 0},
        {99997, "99998", 1, 99997},
        {99998, "99999", 1, 99998},
        {99999, "00000", 2, 99998},  // the same point again, a continuation record
        {100000, "00001", 2, 99999},
        {100001, "00002", 2, 100000},
    };
    for (const auto& w : want) {
        EXPECT_EQ(Point(out[w.index]), w.point) << w.index;
        EXPECT_EQ(LineNo(out[w.index]), w.line) << w.index;
        EXPECT_EQ(Unnumbered(out[w.index]), Unnumbered(std::string(doc.Line(w.input))));
    }

    // The written file opens in the viewer again, with the same box.
    test::WriteFile("out.qsona", Join(out));
    CReliefscopeDoc again;
    ASSERT_TRUE(again.OnOpenDocument("out.qsona"));
    EXPECT_EQ(again.Count(), kPoints + 1);
    EXPECT_DOUBLE_EQ(again.DataBox().lonMax, doc.DataBox().lonMax);
}

struct AreaCommand : ::testing::Test {
    ScriptedUi ui;
    ScopedUi scope{&ui};
    CReliefscopeDoc doc;
    test::ScriptedPrompts prompts;
    void SetUp() override
    {
        ASSERT_TRUE(OpenText(doc, Join({Rec('N', "00001", kIn, Lon(0), 1), Rec('N', "00002", kIn, Lon(1), 1)})));
    }
};

TEST_F(AreaCommand, WithoutAnAreaItAsksForOneAndWritesNothing)
{
    prompts.file = "noarea.qsona";
    EXPECT_EQ(OnOutputAreaFile(doc, prompts), OutputResult::NoArea);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "領域を設定してください。");
    EXPECT_EQ(ui.Messages()[0].caption, "Q-SONA");
    EXPECT_EQ(prompts.fileQuestions, 0);
    EXPECT_FALSE(FileExists("noarea.qsona"));
}

TEST_F(AreaCommand, CancelWritesNothingAndAWrittenFileReopens)
{
    doc.SetArea(kArea);
    EXPECT_EQ(OnOutputAreaFile(doc, prompts), OutputResult::Cancelled);
    prompts.file = "out.qsona";
    EXPECT_EQ(OnOutputAreaFile(doc, prompts), OutputResult::Written);
    EXPECT_TRUE(ui.Messages().empty());
    CReliefscopeDoc again;
    ASSERT_TRUE(again.OnOpenDocument("out.qsona"));
    EXPECT_EQ(again.Count(), 2);
}

TEST_F(AreaCommand, AFailedWriteNamesTheFileAndLeavesTheOlderOne)
{
    doc.SetArea(kArea);
    prompts.file = "missing_folder/out.qsona";
    EXPECT_EQ(OnOutputAreaFile(doc, prompts), OutputResult::WriteFailed);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(ui.Messages()[0].text.find("FILE OPEN ERROR"), std::string::npos);
    EXPECT_NE(ui.Messages()[0].text.find("missing_folder/out.qsona"), std::string::npos);

    // A full disk: the process may write no more than a few bytes.
    test::WriteFile("old.qsona", "older contents\r\n");
    prompts.file = "old.qsona";
    ui.Clear();
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 10;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const OutputResult r = OnOutputAreaFile(doc, prompts);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
    EXPECT_EQ(r, OutputResult::WriteFailed);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(ui.Messages()[0].text.find("old.qsona"), std::string::npos);
    EXPECT_EQ(test::ReadFile("old.qsona"), "older contents\r\n");
    // No temporary file is left beside it.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(".")) {
        files += e.path().filename().string().rfind("old.qsona", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace wv
