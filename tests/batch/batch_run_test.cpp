// The queue with the real solver on calculations the batch-data command prepared (the
// two-calculation run to the end is the window's test): a calculation prepared again
// after it was queued, and one whose solver input has gone.
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
    // The solver's own words, which name no file.
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "計算用データファイル(.CAL)が見つかりません.");
    EXPECT_EQ(ui.Messages()[0].caption, "Error");
    EXPECT_EQ(ReadBusyFlag(nullptr), BusyFlag::Idle);
}

}  // namespace
}  // namespace wv
