// Loading the solver's result file: the orientation table, the walk of the records over
// the mesh in each orientation, and the loader's refusals, which must leave the mesh,
// the state and the result file as they were.
#include "calc/calc_state.h"
#include "calc/mesh_orientation.h"
#include "calc/result_loader.h"
#include "calc/calc_messages.h"
#include "calcdoc/wave_calc_command.h"
#include "core/sansyutu.h"
#include "core/tik_inf.h"
#include "support/file_faults.h"
#include "platform/text.h"
#include "tests/calcdoc/calcdoc_test_util.h"

#include <gtest/gtest.h>

#include <memory>
#include "support/lock_holder.h"

#include <cerrno>
#include <cmath>
#include <sstream>
#include <vector>

namespace wv {
namespace {

using roadtest::ReadAll;
using roadtest::TestDoc;

TEST(Orientation, SidesOfTheIncidentDirection) {
    struct Case {
        double angle;
        int code;
        double residual;
    } cases[] = {
        {90.0, 0, 0.0},   {45.0, 0, -45.0},  {135.0, 0, 45.0},  {135.5, 1, -44.5}, {225.0, 1, 45.0},
        {225.5, 2, -44.5}, {315.0, 2, 45.0}, {316.0, 3, -44.0}, {10.0, 3, 10.0},   {-10.0, 3, -10.0},
        {44.9, 3, 44.9},  {370.0, 3, 10.0},  {800.0, 0, -10.0},
    };
    for (const Case& c : cases) {
        const WaveOrientation o = OrientationOf(c.angle, 0.0);
        EXPECT_EQ(o.code, c.code) << c.angle;
        EXPECT_NEAR(o.residual, c.residual, 1e-9) << c.angle;
    }
    // The view's rotation is taken off the incident angle first.
    EXPECT_EQ(OrientationOf(100.0, 90.0).code, 3);
    // Angles from a damaged file end in range instead of looping for ever.
    EXPECT_LE(std::fabs(OrientationOf(1e300, 0.0).residual), 45.000001);
    EXPECT_EQ(OrientationOf(std::nan(""), 0.0).code, 3);
}

TEST(Orientation, WaveDirectionFromTheConditions) {
    g_tikInf.Init();
    g_tikInf.m_dNorth = 90.0;
    TestDoc doc;
    doc.m_info.m_nDirMode = 0;
    doc.m_info.m_nDir16 = 4;  // E: 90 - 4 x 22.5 = 0
    EXPECT_DOUBLE_EQ(GetWaveIncidentAngle(doc), 0.0);
    EXPECT_DOUBLE_EQ(GetWaveDirAngle(doc), 90.0);
    g_tikInf.m_dNorth = 0.0;
    doc.m_info.m_nDirMode = 1;
    doc.m_info.m_dDirAngle = 30.0;
    EXPECT_DOUBLE_EQ(GetWaveDirAngle(doc), 60.0);
    doc.m_info.m_nDirMode = 2;
    EXPECT_DOUBLE_EQ(GetWaveDirAngle(doc), 120.0);
    int code = -1;
    EXPECT_DOUBLE_EQ(GetWaveDirQuadrant(doc, -60.0, &code), 30.0);  // -30 + 60 = 30
    EXPECT_EQ(code, 3);
    g_tikInf.Init();
}

// The text with field `field` (from 1) of line `line` (from 1) replaced by `token`: an
// empty token takes the field out, field 11 adds one after the tenth.
std::string WithField(const std::string& text, int line, int field, const std::string& token) {
    std::vector<std::string> lines;
    LineReader reader(text);
    std::string l;
    while (reader.Next(l)) lines.push_back(l);
    std::vector<std::string> fields;
    std::istringstream in(lines.at(static_cast<std::size_t>(line - 1)));
    for (std::string f; in >> f;) fields.push_back(f);
    if (field > static_cast<int>(fields.size()))
        fields.push_back(token);
    else if (token.empty())
        fields.erase(fields.begin() + (field - 1));
    else
        fields[static_cast<std::size_t>(field - 1)] = token;
    std::string record;
    for (const std::string& f : fields) record += f + " ";
    lines[static_cast<std::size_t>(line - 1)] = record;
    std::string out;
    for (const std::string& x : lines) out += x + "\r\n";
    return out;
}

// The reason a refusal of a result file gives: what follows the file's path, in brackets.
std::string ReasonOf(const std::string& message) {
    const std::size_t open = message.rfind("\n(");
    if (open == std::string::npos || message.empty() || message.back() != ')') return std::string();
    return message.substr(open + 2, message.size() - open - 3);
}

// The user reads Japanese: no word of English in a reason (a single letter, as in
// "X座標", is no word).
bool HasEnglishWord(const std::string& text) {
    int run = 0;
    for (char ch : text) {
        run = ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z')) ? run + 1 : 0;
        if (run >= 2) return true;
    }
    return false;
}

// The tiny mesh (3 columns, 2 rows, the upper middle node land) as calculation TINY,
// started in a given orientation and waiting for its results.
class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        roadtest::UseScratchStartFolder();
        g_calcPoints.Reset();
        g_tikInf.Init();
        roadtest::OpenNew(doc, "TINY.TYD");
        roadtest::SetMesh(doc, 2, 3, roadtest::TinyDepths());
        roadtest::Triangulate(view);
        doc.m_info.m_dH0 = 2.0;
        doc.m_info.m_nDirMode = 1;
        doc.m_info.m_dDirAngle = 100.0;  // code 0 in an unturned view
        doc.m_info.m_bFreeRotation = 1;
        doc.m_info.m_nCalcState = kCalcStarted;
        doc.m_mesh.SetWaveHeight(2.0);
        doc.m_nRunOrientation = 0;
        ASSERT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
    }

    // The result file of a run in `code` (roadtest::TinyKka).
    void WriteKka(int code, int count = -1, double xShift = 0.0, double dirStep = 10.0) {
        roadtest::WriteAll(doc.SideFile("KKA"), roadtest::TinyKka(code, count, xShift, dirStep));
    }

    // The record number (from 1) a sea node got, read back from its ratio; 0 for none.
    int RecordAt(int row, int col) const {
        const int node = doc.m_mesh.GetNodeIndex(row, col);
        return static_cast<int>(std::lround(doc.m_mesh.GetAt(node).GetHeightRatio() * 10.0));
    }

    // Every node value, for comparing before and after.
    std::vector<CCalValue> Nodes() const {
        std::vector<CCalValue> out;
        for (int i = 0; i < doc.m_mesh.GetCount(); ++i) out.push_back(doc.m_mesh.GetAt(i));
        return out;
    }

    // The mesh untouched: no node has a result.
    void ExpectNoResults() const {
        for (int i = 0; i < doc.m_mesh.GetCount(); ++i) EXPECT_EQ(doc.m_mesh.GetAt(i).GetHeightRatio(), 0.0f);
        EXPECT_EQ(doc.m_info.m_nCalcState, kCalcStarted);
    }

    void TearDown() override { faults::Clear(); }

    CalcViewFrame frame;
    ScriptedUi ui;
    ScopedUi scoped{&ui};
    CTydDoc doc;
    CTydViewData view{doc};
};

// The walk of each orientation, written out from its table: where the first record goes,
// where the next one goes, and where a line of the walk continues.
TEST_F(LoaderTest, RecordsWalkTheMeshFromTheSideTheWavesEnter) {
    // Mesh positions (row, column) of records 1..6 for each code.
    const int walk[4][6][2] = {
        {{1, 0}, {1, 1}, {1, 2}, {0, 0}, {0, 1}, {0, 2}},  // top row first, left to right
        {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}},  // left column first, bottom to top
        {{0, 2}, {0, 1}, {0, 0}, {1, 2}, {1, 1}, {1, 0}},  // bottom row first, right to left
        {{1, 2}, {0, 2}, {1, 1}, {0, 1}, {1, 0}, {0, 0}},  // right column first, top to bottom
    };
    for (int code = 0; code < 4; ++code) {
        SCOPED_TRACE(code);
        doc.m_info.m_nCalcState = kCalcStarted;
        doc.m_nRunOrientation = code;
        WriteKka(code);
        ASSERT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
        for (int k = 0; k < 6; ++k) {
            const int r = walk[code][k][0], c = walk[code][k][1];
            if (r == 1 && c == 1) continue;  // land
            EXPECT_EQ(RecordAt(r, c), k + 1) << "record " << k + 1;
        }
        // Directions come back into the mesh frame: 360, 270, 180 or 90 less the solver's.
        const double offset[4] = {360.0, 270.0, 180.0, 90.0};
        const int r0 = walk[code][0][0], c0 = walk[code][0][1];
        double expected = offset[code] - 10.0;
        if (expected > 359.99999) expected -= 360.0;
        EXPECT_FLOAT_EQ(doc.m_mesh.GetAt(doc.m_mesh.GetNodeIndex(r0, c0)).GetDirection(), expected);
        EXPECT_EQ(doc.m_info.m_nCalcState, kCalcResults);
        EXPECT_FALSE(FileExists(doc.SideFile("KKA")));
    }
}

// The solver's direction is a mean of its bins, all within 90 degrees of the march axis:
// 100 degrees (which would be stored as 90 - 100 = -10 with code 3) comes from no run.
TEST_F(LoaderTest, DirectionOfAHundredDegreesIsRefused) {
    doc.m_nRunOrientation = 3;
    WriteKka(3, -1, 0.0, 100.0);
    const std::string text = ReadAll(doc.SideFile("KKA"));
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsNotLoaded);
    ExpectNoResults();
    EXPECT_EQ(ReadAll(doc.SideFile("KKA")), text);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(ui.Messages()[0].text.find("1行目"), std::string::npos) << ui.Messages()[0].text;
}

// A wave straight along the march axis from the top row: 360 - 0 is above 359.99999 and
// comes out as 0.
TEST_F(LoaderTest, DirectionOfAFullTurnComesBackAsZero) {
    doc.m_nRunOrientation = 0;
    WriteKka(0, -1, 0.0, 0.0);
    ASSERT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
    for (int i = 0; i < doc.m_mesh.GetCount(); ++i) EXPECT_EQ(doc.m_mesh.GetAt(i).GetDirection(), 0.0f) << i;
}

TEST_F(LoaderTest, LoadedResultsAreSavedBeforeTheResultFileGoes) {
    roadtest::WriteAll(doc.SideFile("DEC"), "\"\"\r\n");
    view.m_bResultListOpen = 1;
    g_calcPoints.Add(5.0, 5.0);
    WriteKka(0);
    ASSERT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
    EXPECT_FALSE(FileExists(doc.SideFile("KKA")));
    EXPECT_FALSE(FileExists(doc.SideFile("DEC")));
    // The list's values were refreshed: the mean of the cell's three sea nodes, which got
    // records 1, 4 and 5.
    EXPECT_NEAR(view.m_pCalcPtValue[0], 2.0 * (0.4 + 0.5 + 0.1) / 3.0, 1e-6);
    // Ranges, per triangle and over the mesh.
    EXPECT_FLOAT_EQ(doc.m_mesh.GetMaxHeightRatio(), 0.6f);
    ASSERT_EQ(doc.m_nTriNodes, 2);
    EXPECT_GT(doc.m_pTriMaxValue[0][0], 0.0f);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, calcmsg::kLoadedSaving);
    EXPECT_EQ(ui.Messages()[0].caption, calcmsg::kLoadedCaption);

    CTydDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(doc.GetPathName()));
    EXPECT_EQ(reopened.m_info.m_nCalcState, kCalcResults);
    for (int i = 0; i < doc.m_mesh.GetCount(); ++i) EXPECT_EQ(reopened.m_mesh.GetAt(i), doc.m_mesh.GetAt(i));
    // Asked again: already loaded.
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsAlreadyLoaded);
}

// The results are in only once the document holds them on disk. A save that fails after
// loading leaves the document marked modified and keeps every file that still carries
// the results: the result file, the batch input and the batch marker. The results in
// memory are not read in again over what the user did since.
TEST_F(LoaderTest, AFailedSaveAfterLoadingKeepsEveryFileAndMarksTheDocument) {
    const std::string kka = doc.SideFile("KKA"), dec = doc.SideFile("DEC"), yno = doc.SideFile("YNO");
    // Loads with the disk full at the save: loaded in memory, modified, the files kept.
    const auto loadWithFullDisk = [&] {
        roadtest::WriteAll(dec, "\"\"\r\n");
        WriteKka(0);
        ui.Clear();
        faults::FailAt(faults::Op::Create, 1, ENOSPC);
        EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
        faults::Clear();
        EXPECT_EQ(doc.m_info.m_nCalcState, kCalcResults);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(FileExists(kka));
        EXPECT_TRUE(FileExists(dec));
    };
    // A run of this program: no marker.
    loadWithFullDisk();
    ASSERT_GE(ui.Messages().size(), 2u) << "the load, then the failed save";
    EXPECT_EQ(ui.Messages()[0].text, calcmsg::kLoadedSaving);
    {
        CTydDoc disk;
        ASSERT_TRUE(disk.OnOpenDocument(doc.GetPathName()));
        EXPECT_EQ(disk.m_info.m_nCalcState, kCalcStarted) << "the old document stays on disk";
    }

    // The batch road: saved in state 1 by the batch-data command, run by the batch program.
    ClearWaveResults(view);
    doc.m_mesh.SetWaveHeight(2.0);
    doc.m_info.m_nCalcState = kCalcDepths;
    ASSERT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
    roadtest::WriteAll(yno, "2\r\n");
    loadWithFullDisk();
    EXPECT_TRUE(FileExists(yno));
    const std::vector<CCalValue> loaded = Nodes();

    // Asked again while unsaved: the document has these results; nothing is read over them.
    ui.Clear();
    doc.m_contParaFig[1].SetDefined(1);
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsAlreadyLoaded);
    EXPECT_EQ(doc.m_contParaFig[1].GetDefined(), 1);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(FileExists(kka));
    EXPECT_TRUE(FileExists(yno));

    // Saved by the user: the next request finds them on disk, and the files go.
    ASSERT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsAlreadyLoaded);
    EXPECT_FALSE(FileExists(kka));
    EXPECT_FALSE(FileExists(yno));
    EXPECT_FALSE(FileExists(dec));
    EXPECT_EQ(Nodes(), loaded);
    CTydDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(doc.GetPathName()));
    EXPECT_EQ(reopened.m_info.m_nCalcState, kCalcResults);
    for (int i = 0; i < doc.m_mesh.GetCount(); ++i) EXPECT_EQ(reopened.m_mesh.GetAt(i), loaded[i]);
}

TEST_F(LoaderTest, FilesThatDoNotFitTheRunChangeNothing) {
    struct Bad {
        const char* name;
        int code, count;
        double xShift;
        std::string tail;
    } cases[] = {
        {"short", 0, 5, 0.0, ""},
        {"long", 0, -1, 0.0, roadtest::KkaRecord(20.0, 0.0, 1.0, 0.1, 0.1, 0.0) + "\r\n"},
        {"garbled", 0, 5, 0.0, "x y z\r\n"},
        {"shifted", 0, -1, 5.0, ""},
        {"other orientation", 2, -1, 0.0, ""},
        {"empty", 0, 0, 0.0, ""},
    };
    for (const Bad& b : cases) {
        SCOPED_TRACE(b.name);
        ui.Clear();
        WriteKka(b.code, b.count, b.xShift);
        const std::string text = ReadAll(doc.SideFile("KKA")) + b.tail;
        roadtest::WriteAll(doc.SideFile("KKA"), text);
        EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsNotLoaded);
        ExpectNoResults();
        EXPECT_EQ(ReadAll(doc.SideFile("KKA")), text);
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text.rfind(calcmsg::kBadResultFile, 0), 0u);
        const std::string reason = ReasonOf(ui.Messages()[0].text);
        EXPECT_FALSE(reason.empty()) << ui.Messages()[0].text;
        EXPECT_FALSE(HasEnglishWord(reason)) << ui.Messages()[0].text;
    }
    // Blank lines after the last record are no records.
    ui.Clear();
    WriteKka(0);
    roadtest::WriteAll(doc.SideFile("KKA"), ReadAll(doc.SideFile("KKA")) + "\r\n  \r\n");
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
}

// A document opened since its run does not know the run's orientation: the file shows it.
TEST_F(LoaderTest, ReopenedDocumentFindsTheOrientationOfItsRun) {
    doc.m_nRunOrientation = -1;
    WriteKka(2);
    ASSERT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
    EXPECT_EQ(RecordAt(0, 2), 1);
    EXPECT_EQ(RecordAt(1, 0), 6);
}

// The orientation recorded for the run counts, not one worked out from conditions changed
// since.
TEST_F(LoaderTest, ConditionsChangedAfterTheStartDoNotTurnTheResults) {
    doc.m_nRunOrientation = 0;
    doc.m_info.m_dDirAngle = 190.0;  // would be code 1 now
    WriteKka(0);
    ASSERT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
    EXPECT_EQ(RecordAt(1, 0), 1);
}

TEST_F(LoaderTest, StatesWithoutResultsToLoad) {
    WriteKka(0);
    doc.m_info.m_nCalcState = kCalcNoMesh;
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsNotLoaded);
    doc.m_info.m_nCalcState = kCalcDepths;
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsNotLoaded);
    doc.m_info.m_nCalcState = kCalcResults;
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsAlreadyLoaded);
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[0].text, calcmsg::kNeedDepths);
    EXPECT_EQ(ui.Messages()[1].text, calcmsg::kNeedWaveCalc);
    EXPECT_EQ(ui.Messages()[1].caption, "CAL");
    EXPECT_TRUE(FileExists(doc.SideFile("KKA")));

    // No result file yet: nothing, silently.
    ui.Clear();
    doc.m_info.m_nCalcState = kCalcStarted;
    DeleteFileSilently(doc.SideFile("KKA"));
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsNotLoaded);
    EXPECT_TRUE(ui.Messages().empty());
}

// A result file that the batch program is still writing is not read.
TEST_F(LoaderTest, RunStillGoingOnIsWaitedFor) {
    WriteKka(0);
    {
        testsupport::LockHolder run(testsupport::RunStarted(StartFolder(), "TINY"));
        ASSERT_TRUE(run.Held());
        EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsNotLoaded);
        ExpectNoResults();
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, "現在【TINY】を計算中です");
        EXPECT_TRUE(FileExists(doc.SideFile("KKA")));
    }
    // Another calculation's run is no reason to wait.
    testsupport::LockHolder other(testsupport::RunStarted(StartFolder(), "OTHER"));
    ASSERT_TRUE(other.Held());
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
}

// The road of the fault: the batch program runs TINY while the user opens it and asks for
// its results. The refusal must leave the marker, so that the results can be loaded once
// the batch has ended, also after the document was closed unsaved.
TEST_F(LoaderTest, ARefusedRequestDuringABatchRunLeavesItsResultsLoadable) {
    // Saved in state 1 by the batch-data command; the batch program has deleted the old
    // result file and written its marker.
    doc.m_info.m_nCalcState = kCalcDepths;
    ASSERT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
    roadtest::WriteAll(doc.SideFile("YNO"), "2\r\n");
    auto batch = std::make_unique<testsupport::LockHolder>(testsupport::RunStarted(StartFolder(), "TINY"),
                                                           testsupport::RunEnd(StartFolder()));
    ASSERT_TRUE(batch->Held());
    {
        CTydDoc opened;
        ASSERT_TRUE(opened.OnOpenDocument(doc.GetPathName()));
        CTydViewData openedView{opened};
        EXPECT_EQ(LoadCalcResults(opened, openedView, frame), kResultsNotLoaded);
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, "現在【TINY】を計算中です");
        EXPECT_EQ(opened.m_info.m_nCalcState, kCalcDepths);
        EXPECT_FALSE(opened.IsModified());
    }  // closed without saving: nothing had changed
    EXPECT_TRUE(FileExists(doc.SideFile("YNO")));

    // The batch ends.
    WriteKka(0);
    batch.reset();
    ui.Clear();
    CTydDoc again;
    ASSERT_TRUE(again.OnOpenDocument(doc.GetPathName()));
    CTydViewData againView{again};
    EXPECT_EQ(LoadCalcResults(again, againView, frame), kResultsLoaded);
    EXPECT_EQ(again.m_info.m_nCalcState, kCalcResults);
    EXPECT_FALSE(FileExists(doc.SideFile("YNO")));
    EXPECT_FALSE(FileExists(doc.SideFile("KKA")));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, calcmsg::kLoadedSaving);
}

// Every refusal beside a batch marker leaves the marker, the result file, the batch input,
// the state, the results and the modified flag as they were. A loaded document goes on
// showing its results until the batch's result file is there.
TEST_F(LoaderTest, RefusalsBesideABatchMarkerChangeNothing) {
    enum Kka { None, Good, Bad };
    const std::string running = "現在【TINY】を計算中です";
    struct Case {
        int state;
        Kka kka;
        bool running;
        int result;
        std::string message;  // the start of the one message; empty: none
    } cases[] = {
        {kCalcNoMesh, Good, false, kResultsNotLoaded, calcmsg::kNeedDepths},
        {kCalcDepths, None, false, kResultsNotLoaded, ""},
        {kCalcDepths, Good, true, kResultsNotLoaded, running},
        {kCalcDepths, Bad, false, kResultsNotLoaded, calcmsg::kBadResultFile},
        {kCalcStarted, None, false, kResultsNotLoaded, ""},
        {kCalcStarted, Good, true, kResultsNotLoaded, running},
        {kCalcStarted, Bad, false, kResultsNotLoaded, calcmsg::kBadResultFile},
        {kCalcResults, None, false, kResultsAlreadyLoaded, ""},
        {kCalcResults, Good, true, kResultsNotLoaded, running},
        {kCalcResults, Bad, false, kResultsNotLoaded, calcmsg::kBadResultFile},
    };
    // Results in the mesh and a result figure's contours, to see that nothing touches them.
    WriteKka(0);
    ASSERT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
    doc.m_contParaFig[1].SetDefined(1);
    const std::vector<CCalValue> before = Nodes();
    const std::string kka = doc.SideFile("KKA"), dec = doc.SideFile("DEC"), yno = doc.SideFile("YNO");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << ", result file " << c.kka
                                        << (c.running ? ", running" : ""));
        ui.Clear();
        doc.m_info.m_nCalcState = c.state;
        doc.SetModifiedFlag(false);
        roadtest::WriteAll(yno, "2\r\n");
        roadtest::WriteAll(dec, "\"\"\r\n");
        DeleteFileSilently(kka);
        // The batch's results differ from the loaded ones (another direction step).
        if (c.kka != None) WriteKka(0, c.kka == Bad ? 5 : -1, 0.0, 5.0);
        const std::string text = c.kka != None ? ReadAll(kka) : std::string();
        roadtest::WriteAll(StartFolderFile("CALC.DAT"), "0\r\n");
        std::unique_ptr<testsupport::LockHolder> run;
        if (c.running)
            run = std::make_unique<testsupport::LockHolder>(testsupport::RunStarted(StartFolder(), "TINY"));

        EXPECT_EQ(LoadCalcResults(doc, view, frame), c.result);
        EXPECT_TRUE(FileExists(yno));
        EXPECT_TRUE(FileExists(dec));
        if (c.kka != None)
            EXPECT_EQ(ReadAll(kka), text);
        else
            EXPECT_FALSE(FileExists(kka));
        EXPECT_EQ(doc.m_info.m_nCalcState, c.state);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_TRUE(Nodes() == before);
        EXPECT_EQ(doc.m_contParaFig[1].GetDefined(), 1);
        if (c.message.empty()) {
            EXPECT_TRUE(ui.Messages().empty());
        } else {
            ASSERT_EQ(ui.Messages().size(), 1u);
            EXPECT_EQ(ui.Messages()[0].text.rfind(c.message, 0), 0u) << ui.Messages()[0].text;
        }
    }
}

// The batch's results are loaded whatever state the document was saved in by then (state 1
// by the batch-data command, 2 by a run of its own, 3 with earlier results), and the
// marker goes with the result file once the document holds them on disk.
TEST_F(LoaderTest, BatchResultsAreLoadedAndTheMarkerGoesWithTheResultFile) {
    for (int state : {kCalcDepths, kCalcStarted, kCalcResults}) {
        SCOPED_TRACE(state);
        if (state == kCalcResults) {
            doc.m_info.m_nCalcState = kCalcStarted;
            WriteKka(0);
            ASSERT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
        } else {
            ClearWaveResults(view);
            doc.m_mesh.SetWaveHeight(2.0);
            doc.m_info.m_nCalcState = state;
        }
        ASSERT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
        doc.m_contParaFig[1].SetDefined(1);
        roadtest::WriteAll(doc.SideFile("YNO"), "2\r\n");
        roadtest::WriteAll(doc.SideFile("DEC"), "\"\"\r\n");
        WriteKka(0, -1, 0.0, 5.0);
        ui.Clear();

        EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
        EXPECT_EQ(doc.m_info.m_nCalcState, kCalcResults);
        EXPECT_FLOAT_EQ(doc.m_mesh.GetAt(doc.m_mesh.GetNodeIndex(1, 0)).GetDirection(), 355.0f);
        EXPECT_EQ(doc.m_contParaFig[1].GetDefined(), 0) << "the contours of the old results went";
        EXPECT_EQ(doc.m_mesh.GetWaveHeight(), 2.0);
        EXPECT_FALSE(FileExists(doc.SideFile("YNO")));
        EXPECT_FALSE(FileExists(doc.SideFile("KKA")));
        EXPECT_FALSE(FileExists(doc.SideFile("DEC")));
        EXPECT_FALSE(doc.IsModified());
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, calcmsg::kLoadedSaving);
        CTydDoc reopened;
        ASSERT_TRUE(reopened.OnOpenDocument(doc.GetPathName()));
        EXPECT_EQ(reopened.m_info.m_nCalcState, kCalcResults);
        for (int i = 0; i < doc.m_mesh.GetCount(); ++i) EXPECT_EQ(reopened.m_mesh.GetAt(i), doc.m_mesh.GetAt(i));
    }
}

// A record the solver cannot have written: it writes ten fields, each a number of fixed
// width, with values a run can produce. The refusal names the line and says why in the
// user's language, and nothing changes.
TEST_F(LoaderTest, DamagedRecordsAreRefusedNamingTheirLine) {
    struct Damage {
        const char* name;
        int field;
        std::string token;
    } cases[] = {
        {"letters for a number", 5, "abc"},
        {"a field left blank", 5, ""},
        {"an eleventh field", 11, "1.0000"},
        {"an overflowed field", 4, "*********"},
        {"two numbers run together", 6, "0.3000-1.0000"},
        {"a number with a letter after it", 7, "1.0000x"},
        {"an exponent", 4, "0.3E+00"},
        {"not a number", 8, "nan"},
        {"infinite", 6, "inf"},
        {"too large to be finite", 6, "1" + std::string(400, '0')},
        {"a negative height ratio", 4, "-0.7700"},
        {"a height ratio wider than its field", 4, "100000.0000"},
        {"a negative refraction coefficient", 5, "-5.0000"},
        {"a refraction coefficient just off its no-value mark", 5, "-99.0001"},
        {"a negative maximum height ratio", 6, "-0.1000"},
        {"a negative period ratio", 7, "-0.1000"},
        {"a direction beyond the last bin", 8, "90.5000"},
        {"a direction beyond the first bin", 8, "-90.5000"},
        {"a vector component wider than its field", 9, "10000.0000"},
        {"a depth wider than its field", 3, "-100000.000"},
    };
    WriteKka(0);
    const std::string good = ReadAll(doc.SideFile("KKA"));
    for (const Damage& d : cases) {
        SCOPED_TRACE(d.name);
        ui.Clear();
        const std::string text = WithField(good, 3, d.field, d.token);
        roadtest::WriteAll(doc.SideFile("KKA"), text);
        EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsNotLoaded);
        ExpectNoResults();
        EXPECT_EQ(ReadAll(doc.SideFile("KKA")), text);
        ASSERT_EQ(ui.Messages().size(), 1u);
        const std::string m = ui.Messages()[0].text;
        EXPECT_EQ(m.rfind(calcmsg::kBadResultFile, 0), 0u) << m;
        EXPECT_NE(m.find(doc.SideFile("KKA")), std::string::npos) << m;
        EXPECT_EQ(ui.Messages()[0].caption, calcmsg::kLoaderCaption);
        const std::string reason = ReasonOf(m);
        EXPECT_EQ(reason.rfind("3行目", 0), 0u) << m;
        EXPECT_FALSE(HasEnglishWord(reason)) << m;
    }
}

// Values at the edges of what a run gives load like any other.
TEST_F(LoaderTest, ValuesAtTheEdgesOfARunAreLoaded) {
    WriteKka(0);
    std::string text = ReadAll(doc.SideFile("KKA"));
    text = WithField(text, 1, 5, "-99.0000");   // no refraction coefficient
    text = WithField(text, 3, 8, "90.0000");    // the edges of the bins
    text = WithField(text, 4, 8, "-90.0000");
    text = WithField(text, 5, 4, "9999.9999");  // the widest ratio the field holds
    text = WithField(text, 6, 4, "0.0000");     // a row the waves did not reach
    text = WithField(text, 6, 8, "0.0000");
    roadtest::WriteAll(doc.SideFile("KKA"), text);
    ASSERT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
    EXPECT_FLOAT_EQ(doc.m_mesh.GetAt(doc.m_mesh.GetNodeIndex(1, 2)).GetDirection(), 270.0f);
    EXPECT_FLOAT_EQ(doc.m_mesh.GetAt(doc.m_mesh.GetNodeIndex(0, 0)).GetDirection(), 90.0f);
    EXPECT_FLOAT_EQ(doc.m_mesh.GetAt(doc.m_mesh.GetNodeIndex(0, 1)).GetHeightRatio(), 9999.9999f);
    EXPECT_EQ(doc.m_mesh.GetAt(doc.m_mesh.GetNodeIndex(0, 2)).GetHeightRatio(), 0.0f);
    EXPECT_EQ(doc.m_mesh.GetAt(doc.m_mesh.GetNodeIndex(0, 2)).GetDirection(), 0.0f);
}

TEST_F(LoaderTest, BreakingKeepsTheEquivalentRatiosAtZero) {
    doc.m_info.m_bBreaking = 1;
    doc.m_zmn.m_nValueType = 3;
    WriteKka(0);
    ASSERT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
    for (int i = 0; i < doc.m_mesh.GetCount(); ++i) {
        EXPECT_EQ(doc.m_mesh.GetAt(i).GetEquivRatio(), 0.0f);
        EXPECT_GT(doc.m_mesh.GetAt(i).GetHeightRatio(), 0.0f);
    }
    EXPECT_EQ(doc.m_zmn.m_nValueType, 1);
}

}  // namespace
}  // namespace wv
