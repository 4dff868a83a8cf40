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
#include "platform/text.h"
#include "tests/calcdoc/calcdoc_test_util.h"

#include <gtest/gtest.h>
#include "support/lock_holder.h"

#include <cmath>

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

// One result record in the solver's layout: ten fields, each followed by a blank.
std::string Record(double x, double y, double depth, double ratio, double equiv, double dir) {
    return Sprintf("%10.3f %10.3f %10.3f %9.4f %9.4f %9.4f %9.4f %9.4f %9.4f %9.4f ", x, y, depth, ratio,
                   equiv, ratio, 1.0, dir, ratio, 0.0);
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

    // The result file of a run in `code`: the record of solver node (i, j) carries the
    // ratio 0.1 x (record number + 1) and the direction 10 x (record number + 1), so every
    // node can tell which record it got. `count` records (all of them by default).
    void WriteKka(int code, int count = -1, double xShift = 0.0, double dirStep = 10.0) {
        const SolverGrid g = SolverGridOf(code, 2, 3);
        std::string text;
        int n = 0;
        for (int i = 0; i < g.nx; ++i)
            for (int j = 0; j < g.ny; ++j, ++n) {
                if (count >= 0 && n >= count) break;
                int r = 0, c = 0;
                SolverNodeToMesh(code, 2, 3, i, j, &r, &c);
                const double depth = (r == 1 && c == 1) ? -9999.0 : roadtest::TinyDepths()[r * 3 + c];
                text += Record(i * 10.0 + xShift, j * 10.0, depth, 0.1 * (n + 1), 0.05 * (n + 1), dirStep * (n + 1));
                text += "\r\n";
            }
        roadtest::WriteAll(doc.SideFile("KKA"), text);
    }

    // The record number (from 1) a sea node got, read back from its ratio; 0 for none.
    int RecordAt(int row, int col) const {
        const int node = doc.m_mesh.GetNodeIndex(row, col);
        return static_cast<int>(std::lround(doc.m_mesh.GetAt(node).GetHeightRatio() * 10.0));
    }

    // The mesh untouched: no node has a result.
    void ExpectNoResults() const {
        for (int i = 0; i < doc.m_mesh.GetCount(); ++i) EXPECT_EQ(doc.m_mesh.GetAt(i).GetHeightRatio(), 0.0f);
        EXPECT_EQ(doc.m_info.m_nCalcState, kCalcStarted);
    }

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

TEST_F(LoaderTest, DirectionIsNotBroughtAboveZero) {
    doc.m_nRunOrientation = 3;
    WriteKka(3, -1, 0.0, 100.0);
    ASSERT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
    // Record 1 (100 degrees from the march axis) at the top-right node: 90 - 100.
    EXPECT_FLOAT_EQ(doc.m_mesh.GetAt(doc.m_mesh.GetNodeIndex(1, 2)).GetDirection(), -10.0f);
    // Record 6 (600 degrees) at the bottom-left node.
    EXPECT_FLOAT_EQ(doc.m_mesh.GetAt(doc.m_mesh.GetNodeIndex(0, 0)).GetDirection(), -510.0f);
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

TEST_F(LoaderTest, FailedSaveKeepsTheResultFile) {
    WriteKka(0);
    DeleteFileSilently(doc.SideFile("DPT"));
    std::filesystem::create_directories(doc.SideFile("DPT") + "/blocked");
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcResults);
    EXPECT_TRUE(FileExists(doc.SideFile("KKA")));
    std::filesystem::remove_all(doc.SideFile("DPT"));
}

TEST_F(LoaderTest, FilesThatDoNotFitTheRunChangeNothing) {
    struct Bad {
        const char* name;
        int code, count;
        double xShift;
        std::string tail;
    } cases[] = {
        {"short", 0, 5, 0.0, ""},
        {"long", 0, -1, 0.0, Record(20.0, 0.0, 1.0, 0.1, 0.1, 0.0) + "\r\n"},
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

// A batch run replaced the results of a loaded document: they are cleared, and the new
// file is loaded when it is there.
TEST_F(LoaderTest, BatchMarkerSendsLoadedResultsBack) {
    WriteKka(0);
    ASSERT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
    roadtest::WriteAll(doc.SideFile("YNO"), "");
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsNotLoaded);
    EXPECT_FALSE(FileExists(doc.SideFile("YNO")));
    ExpectNoResults();
    EXPECT_EQ(doc.m_mesh.GetWaveHeight(), 2.0);

    roadtest::WriteAll(doc.SideFile("YNO"), "");
    WriteKka(0);
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
    EXPECT_FALSE(FileExists(doc.SideFile("YNO")));
    EXPECT_EQ(RecordAt(1, 0), 1);
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
