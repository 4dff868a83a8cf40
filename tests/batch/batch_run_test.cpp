// The queue with the real solver, on calculations the batch-data command prepared: a
// plane beach and the example bay. Each run must leave what a direct solver run on the
// same input leaves, the marker for the main program, and an idle "CALC.DAT"; the main
// program then loads the results as it loads those of its own runs.
#include "batch/batch_messages.h"
#include "batch/batch_queue.h"
#include "calc/calc_run_files.h"
#include "calc/calc_state.h"
#include "tests/batch/batch_calc_util.h"
#include "tests/batch/batch_test_util.h"

#include <gtest/gtest.h>

namespace wv {
namespace {

using batchtest::RecordingRows;

class BatchRunTest : public ::testing::Test {
protected:
    void SetUp() override { dir = batchtest::EnterOwnFolder(); }
    void TearDown() override {
        CCalThreads::CancelAndJoinAll();
        ResetTikData();
    }

    // The solver as the batch program calls it, watched: the result file is gone and
    // the marker is there when it starts.
    CBatchQueue::Solver Solver() {
        return [this](CalcRequest* r) -> int32_t {
            const std::string base = std::string(r->m_pszFolder, static_cast<std::size_t>(r->m_nFolderLen)) +
                                     std::string(r->m_pszTitle, static_cast<std::size_t>(r->m_nTitleLen));
            EXPECT_FALSE(FileExists(base + ".KKA"));
            EXPECT_EQ(batchtest::ReadAll(base + ".YNO"), "2\r\n");
            EXPECT_EQ(r->m_nMode, 1);
            requests.push_back(*r);
            return TYDSOLV(r);
        };
    }

    void Step(BatchStep expected) { EXPECT_EQ(queue.RunNextBatchEntry(), expected); }

    std::string dir;
    ScriptedUi ui;
    ScopedUi scoped{&ui};
    RecordingRows rows;
    std::vector<CalcRequest> requests;
    CBatchQueue queue{rows, Solver()};
};

TEST_F(BatchRunTest, BeachAndBayRunAsTheirDirectRunsAndLoad) {
    batchtest::PreparePlaneBeach("BEACH.TYD", 30, 40, "遠浅の海岸");
    CTikDoc project;
    ASSERT_TRUE(project.OnOpenDocument(std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY/BAY.TIK"));
    batchtest::PrepareBay("BAY.TYD", "Bay A");
    ASSERT_EQ(queue.OnBatchOpen({dir + "BEACH.DEC", dir + "BAY.DEC"}), 2);
    ASSERT_EQ(rows.rows[0].title, "遠浅の海岸");
    ASSERT_EQ(rows.rows[1].title, "Bay A");
    ui.Clear();

    queue.OnBatchStart();
    ASSERT_TRUE(queue.IsBatchRunning());
    Step(BatchStep::Next);
    // The main program starts a run of its own between the two: the bay waits for it.
    batchtest::Write(StartFolderFile("CALC.DAT"), "1\r\nOTHER\r\n");
    Step(BatchStep::Retry);
    Step(BatchStep::Retry);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_EQ(rows.rows[1].state, batchmsg::kStateWaiting);
    batchtest::Write(StartFolderFile("CALC.DAT"), "0\r\n");
    Step(BatchStep::Next);
    Step(BatchStep::Off);
    EXPECT_EQ(rows.States(), (std::vector<std::string>{batchmsg::kStateFinished, batchmsg::kStateFinished}));
    EXPECT_TRUE(ui.Messages().empty());
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].m_nMeshX, 40);  // waves through the top row: rows along the march
    EXPECT_EQ(requests[0].m_nMeshY, 30);
    EXPECT_EQ(ReadBusyFlag(nullptr), BusyFlag::Idle);
    EXPECT_EQ(batchtest::ReadAll(StartFolderFile("CALC.DAT")), "0\r\n");

    for (const char* name : {"BEACH", "BAY"}) {
        SCOPED_TRACE(name);
        const std::string kka = batchtest::ReadAll(dir + name + ".KKA");
        ASSERT_FALSE(kka.empty());
        EXPECT_EQ(kka, batchtest::DirectRun(dir + name + ".CAL"));
    }

    // The main program opens each calculation (saved in state 1 by the batch-data
    // command); the marker sends it to the results of the batch run.
    EXPECT_EQ(batchtest::LoadAndPoints(dir + "BEACH.TYD").state, kCalcResults);
    const batchtest::LoadedPoints bay = batchtest::LoadAndPoints(dir + "BAY.TYD");
    EXPECT_EQ(bay.state, kCalcResults);
    for (const char* name : {"BEACH", "BAY"}) {
        EXPECT_FALSE(FileExists(dir + name + ".YNO")) << name;
        EXPECT_FALSE(FileExists(dir + name + ".KKA")) << name;
    }

    // The same bay calculated interactively gives the same values at the output points.
    const batchtest::LoadedPoints road = batchtest::InteractiveBay("BAYI.TYD");
    ASSERT_EQ(batchtest::PointsInUse(), 3);
    ASSERT_EQ(bay.height.size(), road.height.size());
    for (std::size_t i = 0; i < road.height.size(); ++i) {
        EXPECT_EQ(bay.height[i], road.height[i]) << i;
        EXPECT_EQ(bay.direction[i], road.direction[i]) << i;
    }
    int values = 0;
    for (double h : bay.height) values += h < kNoValue && h > 0.0;
    EXPECT_EQ(values, 3);
}

TEST_F(BatchRunTest, ACalculationMadeAgainAfterQueuingRunsWithItsNewCounts) {
    batchtest::PreparePlaneBeach("BEACH.TYD", 30, 40, "first", 16);
    ASSERT_EQ(queue.OnBatchOpen({dir + "BEACH.DEC"}), 1);
    // A coarser mesh and other bins: the queued counts would be refused by the solver.
    batchtest::PreparePlaneBeach("BEACH.TYD", 12, 15, "second", 10);
    ui.Clear();
    queue.OnBatchStart();
    Step(BatchStep::Next);
    Step(BatchStep::Off);
    EXPECT_TRUE(ui.Messages().empty());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].m_nDirDiv, 10);
    EXPECT_EQ(requests[0].m_nMeshX, 15);
    EXPECT_EQ(requests[0].m_nMeshY, 12);
    EXPECT_EQ(rows.States(), (std::vector<std::string>{batchmsg::kStateFinished}));
    EXPECT_EQ(batchtest::ReadAll(dir + "BEACH.KKA"), batchtest::DirectRun(dir + "BEACH.CAL"));
    EXPECT_EQ(batchtest::LoadAndPoints(dir + "BEACH.TYD").state, kCalcResults);
}

TEST_F(BatchRunTest, AMissingSolverInputIsReportedByTheSolverAndAborts) {
    batchtest::PreparePlaneBeach("BEACH.TYD", 12, 15, "t");
    ASSERT_EQ(queue.OnBatchOpen({dir + "BEACH.DEC"}), 1);
    DeleteFileSilently(dir + "BEACH.CAL");
    ui.Clear();
    queue.OnBatchStart();
    Step(BatchStep::Off);
    EXPECT_EQ(rows.States(), (std::vector<std::string>{batchmsg::kStateAborted}));
    EXPECT_EQ(queue.GetNextEntry(), 0);
    EXPECT_EQ(roadtest::CountMessages(ui, ".CAL"), 1);
    EXPECT_EQ(ReadBusyFlag(nullptr), BusyFlag::Idle);
}

}  // namespace
}  // namespace wv
