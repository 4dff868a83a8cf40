// The whole wave-calculation road on the example bay, as the main program runs it: a new
// calculation with an area and mesh over the bay, the depths, the wave conditions, the
// solver input, the solver on its worker thread, the results loaded, saved and opened
// again. Then the same bay turned so that the waves enter through each side of the mesh.
#include "calc/cal_threads.h"
#include "calc/calc_state.h"
#include "calc/digital_lattice.h"
#include "calc/result_loader.h"
#include "calcdoc/wave_calc_command.h"
#include "core/sansyutu.h"
#include "core/tik_inf.h"
#include "platform/text.h"
#include "project/tik_doc.h"
#include "solver/solver_hooks.h"
#include "solver/tydsolv.h"
#include "tests/calcdoc/calcdoc_test_util.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>
#include <tuple>

namespace wv {
namespace {

using roadtest::ReadAll;
using roadtest::Scratch;

// The square over the bay: 25 x 25 nodes 100 m apart, x 0 .. 2400, y 200 .. 2600. Small
// enough for a quick test, large enough for the bay's head, arms and mouth.
constexpr int kNodes = 25;
constexpr double kSpacing = 100.0;
constexpr double kLeft = 0.0, kBottom = 200.0;

// One node's values as the result file gave them.
struct KkaNode {
    double depth, ratio, equiv, direction;
};

// The records of a result file, split at blanks with the C library (not the loader's
// splitter).
std::vector<KkaNode> ParseKka(const std::string& text) {
    std::vector<KkaNode> nodes;
    LineReader reader(text);
    std::string line;
    while (reader.Next(line)) {
        double f[10];
        const char* p = line.c_str();
        for (double& v : f) {
            char* end = nullptr;
            v = std::strtod(p, &end);
            p = end;
        }
        nodes.push_back({f[2], f[3], f[4], f[7]});
    }
    return nodes;
}

double Circular(double a, double b) {
    double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

class RoadTest : public roadtest::BayTest {
protected:
    // A new calculation over the square, its mesh turned by `angle` degrees (free
    // rotation) about the square's centre, with waves from the north; depths computed.
    void MakeCalc(CTydDoc& doc, CTydViewData& view, const std::string& name, double angle, CPointD origin) {
        roadtest::OpenNew(doc, name);
        doc.m_calcArea.SetOrigin(origin.m_dX, origin.m_dY);
        doc.m_calcArea.SetMeshSize(kSpacing);
        doc.m_calcArea.SetMeshCountX(kNodes);
        doc.m_calcArea.SetMeshCountY(kNodes);
        roadtest::WavesFromTheNorth(doc.m_info);
        doc.m_info.m_bFreeRotation = 1;
        doc.m_zmn.m_dRotation = angle;
        ComputeDepths(doc, view);
    }

    // The calculate command, the wait for the solver thread, and the results loaded.
    // Returns the result file as the solver left it.
    std::string RunAndLoad(CTydDoc& doc, CTydViewData& view) {
        CWaveCalcSlot slot;
        EXPECT_EQ(OnWaveCalc(doc, view, frame, slot), 0);
        EXPECT_EQ(doc.m_info.m_nCalcState, kCalcStarted);
        slot.Wait();
        EXPECT_EQ(slot.GetExitCode(), 0);
        const std::string kka = ReadAll(doc.SideFile("KKA"));
        EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
        return kka;
    }
};

TEST_F(RoadTest, FromTerrainToLoadedResults) {
    CTydDoc doc;
    CTydViewData view(doc);
    MakeCalc(doc, view, "BAYROAD.TYD", 0.0, CPointD(kLeft, kBottom));
    // The view turns the waves (from the north, up the y axis) to the top: no turn.
    doc.m_info.m_bFreeRotation = 0;
    frame.angle = CalcViewAngle(doc);
    EXPECT_NEAR(frame.angle, 0.0, 1e-12);
    const int seaNodes = doc.m_mesh.GetCount();
    ASSERT_GT(seaNodes, 200);
    ASSERT_LT(seaNodes, kNodes * kNodes);

    const std::string kka = RunAndLoad(doc, view);
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcResults);
    EXPECT_EQ(doc.m_nRunOrientation, 0);
    EXPECT_FALSE(FileExists(doc.SideFile("KKA")));
    EXPECT_FALSE(FileExists(doc.SideFile("DEC")));
    EXPECT_EQ(roadtest::CountMessages(ui, "波浪計算を開始します。"), 1);
    EXPECT_EQ(roadtest::CountMessages(ui, "計算結果を読み込みました。"), 1);

    // The solver run directly on the same input, in a folder of its own, writes the same
    // result file; and every sea node holds what that file says for it. The waves came
    // through the top row: record (i, j) belongs to row 24 - i, column j.
    const std::string direct = Scratch() + "direct/";
    std::filesystem::create_directories(direct);
    roadtest::WriteAll(direct + "BAYROAD.CAL", ReadAll(doc.SideFile("CAL")));
    std::string work = Scratch();
    work.pop_back();
    CalcRequest request{direct.c_str(), static_cast<int32_t>(direct.size()), "BAYROAD", 7, work.c_str(),
                        static_cast<int32_t>(work.size()), 36, 5, kNodes, kNodes, 1};
    ASSERT_EQ(TYDSOLV(&request), 0);
    const std::string directKka = ReadAll(direct + "BAYROAD.KKA");
    EXPECT_EQ(directKka, kka);
    const std::vector<KkaNode> records = ParseKka(directKka);
    ASSERT_EQ(records.size(), static_cast<std::size_t>(kNodes * kNodes));
    int checked = 0;
    for (int i = 0; i < kNodes; ++i)
        for (int j = 0; j < kNodes; ++j) {
            const KkaNode& rec = records[static_cast<std::size_t>(i) * kNodes + j];
            const int node = doc.m_mesh.GetNodeIndex(kNodes - 1 - i, j);
            ASSERT_EQ(node >= 0, rec.depth > -9990.0) << i << "," << j;
            if (node < 0) continue;
            const CCalValue v = doc.m_mesh.GetAt(node);
            EXPECT_FLOAT_EQ(v.GetHeightRatio(), static_cast<float>(rec.ratio));
            EXPECT_FLOAT_EQ(v.GetEquivRatio(), static_cast<float>(rec.equiv));
            EXPECT_NEAR(v.GetDirection(), std::fmod(360.0 - rec.direction, 360.0), 2e-4);
            ++checked;
        }
    EXPECT_EQ(checked, seaNodes);

    // Values at the project's three output points: inside the bay the waves are lower
    // than offshore, at the mouth close to it; all come roughly from the north.
    doc.m_zmn.m_nValueType = 0;
    UpdateCalcPointResults(view, frame.angle);
    int points = 0;
    for (int slot = 0; slot < g_calcPoints.GetSize(); ++slot) {
        if (g_calcPoints.GetAt(slot).GetUse() == 0) {
            EXPECT_EQ(view.m_pCalcPtValue[slot], kNoValue);
            continue;
        }
        ++points;
        EXPECT_GT(view.m_pCalcPtValue[slot], 0.2) << slot;
        EXPECT_LT(view.m_pCalcPtValue[slot], 2.2) << slot;
        EXPECT_LT(Circular(view.m_pCalcPtDir[slot], 0.0), 20.0) << slot;
    }
    EXPECT_EQ(points, 3);
    EXPECT_LT(view.m_pCalcPtValue[0], view.m_pCalcPtValue[2]);

    // Saved by the loader; opened again, the same calculation: saved once more, both
    // archives come out byte for byte, and what the reader rebuilds matches too.
    CTydDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(doc.GetPathName()));
    ASSERT_TRUE(reopened.OnSaveDocument(Scratch() + "AGAIN.TYD"));
    EXPECT_EQ(ReadAll(Scratch() + "AGAIN.TYD"), ReadAll(doc.GetPathName()));
    EXPECT_EQ(ReadAll(Scratch() + "AGAIN.DPT"), ReadAll(doc.SideFile("DPT")));
    for (int r = 0; r < kNodes; ++r)
        for (int c = 0; c < kNodes; ++c) ASSERT_EQ(reopened.m_mesh.GetNodeIndex(r, c), doc.m_mesh.GetNodeIndex(r, c));
    EXPECT_EQ(std::tie(reopened.m_pTriMinDepth, reopened.m_pTriMaxValue[0]),
              std::tie(doc.m_pTriMinDepth, doc.m_pTriMaxValue[0]));
    EXPECT_EQ(reopened.m_hcheckLines.GetMaxDepth(), doc.m_hcheckLines.GetMaxDepth());
    EXPECT_EQ(reopened.m_mesh.GetMaxHeightRatio(), doc.m_mesh.GetMaxHeightRatio());
}

// A second calculate command while the solver runs is refused at once, and closing the
// view mid-run leaves the run its request block.
TEST_F(RoadTest, OneRunAtATime) {
    CTydDoc doc;
    CTydViewData view(doc);
    MakeCalc(doc, view, "ONCE.TYD", 0.0, CPointD(kLeft, kBottom));
    CTydDoc other;
    CTydViewData otherView(other);
    MakeCalc(other, otherView, "TWICE.TYD", 0.0, CPointD(kLeft, kBottom));

    // The solver waits at its first column until both commands below have been given.
    bool release = false;
    std::mutex m;
    std::condition_variable cv;
    solv::SetProgressObserver([&](int) {
        std::unique_lock<std::mutex> lock(m);
        cv.wait_for(lock, std::chrono::seconds(10), [&] { return release; });
    });
    {
        CWaveCalcSlot slot;
        ASSERT_EQ(OnWaveCalc(doc, view, frame, slot), 0);
        EXPECT_EQ(slot.GetExitCode(), CCalThreads::kStillActive);
        ui.Clear();
        CWaveCalcSlot otherSlot;
        EXPECT_EQ(OnWaveCalc(other, otherView, frame, otherSlot), -1);
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, "現在【ONCE】を計算中です");
        EXPECT_FALSE(FileExists(other.SideFile("CAL")));
        EXPECT_EQ(other.m_info.m_nCalcState, kCalcDepths);
        // Nor are the results of the running calculation read half-written.
        EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsNotLoaded);
        // The view goes away (the slot with it) while the run goes on.
    }
    EXPECT_TRUE(CCalThreads::IsRunningFor(Scratch(), "ONCE"));
    {
        std::lock_guard<std::mutex> lock(m);
        release = true;
    }
    cv.notify_all();
    while (CCalThreads::IsAnyRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    solv::SetProgressObserver(nullptr);
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
}

// The same bay and the same waves, the mesh turned so that they enter through each of its
// sides in turn: every world node gets the same values, and so does every output point.
TEST_F(RoadTest, FourOrientationsGiveTheSameWaves) {
    // The square's lower-left node seen from each turn, so that the four meshes cover
    // the same nodes; waves from the north enter through the top row, the left column,
    // the bottom row and the right column.
    struct Turn {
        double angle;
        CPointD origin;
        int cosA, sinA;
    } turns[4] = {
        {0.0, {0.0, 200.0}, 1, 0},
        {-90.0, {0.0, 2600.0}, 0, -1},
        {-180.0, {2400.0, 2600.0}, -1, 0},
        {90.0, {2400.0, 200.0}, 0, 1},
    };
    // Output points off the grid lines of every turn.
    g_calcPoints.Reset();
    g_calcPoints.Add(1234.5, 987.6);
    g_calcPoints.Add(777.7, 1711.1);
    g_calcPoints.Add(1555.5, 2222.2);

    struct Result {
        std::vector<double> depth, ratio, equiv, direction;  // per world node, NaN land
        std::vector<double> pointValue, pointDir;
        std::string cal;
    } results[4];
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        const Turn& t = turns[k];
        CTydDoc doc;
        CTydViewData view(doc);
        MakeCalc(doc, view, "TURN" + std::to_string(k) + ".TYD", t.angle, t.origin);
        RunAndLoad(doc, view);
        EXPECT_EQ(doc.m_nRunOrientation, k);
        Result& res = results[k];
        res.cal = ReadAll(doc.SideFile("CAL"));
        const double nan = std::nan("");
        for (auto* v : {&res.depth, &res.ratio, &res.equiv, &res.direction}) v->assign(kNodes * kNodes, nan);
        for (int r = 0; r < kNodes; ++r)
            for (int c = 0; c < kNodes; ++c) {
                // World node of mesh node (r, c): origin + the turn applied to (c, r).
                const int gx = static_cast<int>(std::lround(t.origin.m_dX / kSpacing)) + c * t.cosA - r * t.sinA;
                const int gy = static_cast<int>(std::lround((t.origin.m_dY - kBottom) / kSpacing)) + c * t.sinA +
                               r * t.cosA;
                ASSERT_TRUE(gx >= 0 && gx < kNodes && gy >= 0 && gy < kNodes);
                const int node = doc.m_mesh.GetNodeIndex(r, c);
                if (node < 0) continue;
                const CCalValue v = doc.m_mesh.GetAt(node);
                const std::size_t w = static_cast<std::size_t>(gy) * kNodes + gx;
                res.depth[w] = v.GetDepth();
                res.ratio[w] = v.GetHeightRatio();
                res.equiv[w] = v.GetEquivRatio();
                // The mesh frame's direction turned back into the world's.
                res.direction[w] = NormalizeDegrees(v.GetDirection() - t.angle);
            }
        doc.m_zmn.m_nValueType = 0;
        UpdateCalcPointResults(view, frame.angle);
        res.pointValue.assign(view.m_pCalcPtValue.begin(), view.m_pCalcPtValue.begin() + 3);
        res.pointDir.assign(view.m_pCalcPtDir.begin(), view.m_pCalcPtDir.begin() + 3);
    }

    // The solver saw the same calculation four times.
    for (int k = 1; k < 4; ++k) EXPECT_EQ(results[k].cal, results[0].cal) << k;
    const double kKka = 0.0001;  // the result file's four decimals
    for (int k = 1; k < 4; ++k) {
        SCOPED_TRACE(k);
        int differing = 0;
        for (std::size_t w = 0; w < results[0].depth.size(); ++w) {
            const Result& a = results[0];
            const Result& b = results[k];
            ASSERT_EQ(std::isnan(a.depth[w]), std::isnan(b.depth[w])) << w;
            if (std::isnan(a.depth[w])) continue;
            differing += std::fabs(a.depth[w] - b.depth[w]) > 0.0005;
            EXPECT_NEAR(a.ratio[w], b.ratio[w], kKka) << w;
            EXPECT_NEAR(a.equiv[w], b.equiv[w], kKka) << w;
            EXPECT_LT(Circular(a.direction[w], b.direction[w]), 0.001) << w;
        }
        EXPECT_EQ(differing, 0);
        for (int p = 0; p < 3; ++p) {
            EXPECT_NEAR(results[k].pointValue[p], results[0].pointValue[p], 2.0 * kKka) << p;
            EXPECT_LT(Circular(results[k].pointDir[p], results[0].pointDir[p]), 0.01) << p;
            EXPECT_LT(results[0].pointValue[p], kNoValue);
        }
    }
}

}  // namespace
}  // namespace wv
