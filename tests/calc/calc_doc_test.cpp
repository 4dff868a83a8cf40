// The calculation document: its defaults, the state resets and their side files, and the
// depth calculation command.
#include "calc/calc_state.h"
#include "calc_test_util.h"
#include "calcdoc/calcdoc_messages.h"
#include "calcdoc/tyd_doc.h"
#include "platform/ui_service.h"
#include "tests/calcdoc/calcdoc_test_util.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>

namespace wv {
namespace {

using test::Area;
using test::MPt;

void Touch(const std::string& path) { std::ofstream(path) << "x"; }

class CalcDocTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetTerrain();
        test::UseScratchStartFolder();
        folder = std::filesystem::current_path().string() + "/";
        doc.SetPathName(folder + "bay.TYD");
    }
    void TearDown() override { test::ResetTerrain(); }

    // A mesh of a 2 x 2 area with results, triangles, outlines and contours, as a
    // finished calculation leaves it.
    void FillDerivedData() {
        roadtest::SetMesh(doc, 2, 2, {3.0, 4.0, 5.0, 6.0}, 25.0);
        CDigitalMap& m = doc.m_mesh;
        for (int i = 0; i < 4; ++i) {
            CCalValue v = m.GetAt(i);
            v.SetHeightRatio(0.8f);
            v.SetEquivRatio(0.7f);
            v.SetDirection(12.0f);
            m.SetAt(i, v);
            m.SetDepthFlag(i, 1);
            m.SetHeightFlag(i, 1);
            m.SetDirFlag(i, 2);
            m.SetVectorFlag(i, 1);
        }
        m.SetMaxHeightRatio(0.9f);
        m.SetWaveHeight(2.0);
        m.SetBaseLevel(1.5);
        doc.m_blkXY.SetCount(1);
        doc.m_blkXY.AllocOutlines();
        doc.m_blkXY.SetPointCount(0, 3);
        doc.m_blkXY.AllocPoints(0);
        doc.m_triLine.SetCount(5);
        doc.m_triLine.Alloc();
        doc.m_nTriNodes = 2;
        doc.m_pTriNodeA.assign(6, 1);
        doc.m_pTriNodeB.assign(6, 1);
        doc.m_pTriMinDepth.assign(2, 3.0f);
        doc.m_pTriMaxDepth.assign(2, 6.0f);
        for (int k = 0; k < 2; ++k) {
            doc.m_pTriMinValue[k].assign(2, 0.5f);
            doc.m_pTriMaxValue[k].assign(2, 0.9f);
        }
        doc.m_pEdgePairs.assign(10, 0);
        doc.m_hcheckPoints.SetCount(3);
        doc.m_hcheckPoints.Alloc();
        doc.m_hcheckLines.SetCount(1);
        doc.m_hcheckLines.Alloc();
        doc.m_hcheckLines.SetMaxDepth(6.0f);
        doc.m_info.m_nCalcState = kCalcResults;
        for (int k = 0; k < kValueTypes; ++k) {
            doc.m_contParaFig[k].SetDefined(1);
            doc.m_contParaFig[k].SetInterval(0.5);
            doc.m_contParaFig[k].SetLevelCount(2);
            doc.m_contParaFig[k].AllocLevels();
            doc.m_contParaFig[k].SetColorTo(3.0);
            doc.m_labelPos[k].SetCount(2);
            doc.m_labelPos[k].Alloc();
            doc.m_labelPos2[k].SetCount(1);
            doc.m_labelPos2[k].Alloc();
        }
        doc.m_contPara.SetDefined(1);
        doc.m_contGroup.SetCapacity(100);
        doc.m_contGroup.SetGrowBy(100);
        doc.m_contGroup.AllocLines();
        doc.m_contGroup.SetCount(3);
        for (std::size_t i = 0; i < view.m_pCalcPtValue.size(); ++i) {
            view.m_pCalcPtValue[i] = 1.25;
            view.m_pCalcPtDir[i] = 45.0f;
        }
    }

    // Depth lines at y = -5 (height -2) and y = 45 (-12) over the default area, which the
    // document takes.
    Area SlopeArea() {
        Area a;
        test::Ln(MPt(a, -203.7, -5.0, 0.0), MPt(a, 241.3, -5.0, 0.0), kLineDepth, 0, -2.0);
        test::Ln(MPt(a, -203.7, 45.0, 0.0), MPt(a, 241.3, 45.0, 0.0), kLineDepth, 0, -12.0);
        a.ApplyTo(doc);
        return a;
    }

    std::string folder;
    CTydDoc doc;
    class View : public CTydViewData {
    public:
        using CTydViewData::CTydViewData;
        void PostResultListRefresh() override { ++refreshes; }
        void RedrawAll() override { ++redraws; }
        int refreshes = 0;
        int redraws = 0;
    } view{doc};
    ScriptedUi ui;
    ScopedUi scopedUi{&ui};
    test::ScriptedProgress progress;
};

TEST_F(CalcDocTest, NewDocumentTakesTheDefaults) {
    const CTyd_Inf savedTyd = g_tydInfDefault;
    const CZmn_Inf savedZmn = g_zmnInfDefault;
    const CCalArea savedArea = g_calcAreaDefault;
    g_tydInfDefault.m_dTide = 1.7;
    g_tydInfDefault.m_nCalcState = kCalcResults;
    g_zmnInfDefault.m_nPaperSize = 5;
    g_zmnInfDefault.m_nDecimals = 3;
    g_zmnInfDefault.m_nScale = 2500;
    g_zmnInfDefault.m_dCenterX = 99.0;
    g_calcAreaDefault.SetMeshCountX(40);
    g_calcAreaDefault.SetMeshSize(5.0);

    CTydDoc fresh;
    EXPECT_EQ(fresh.m_info.m_nCalcState, kCalcNoMesh);
    EXPECT_EQ(fresh.m_info.m_dTide, 1.7);
    EXPECT_EQ(fresh.m_zmn.m_nPaperSize, 5);
    EXPECT_EQ(fresh.m_zmn.m_nDecimals, 3);
    EXPECT_EQ(fresh.m_zmn.m_nScale, 50000);  // per document, not a default
    EXPECT_EQ(fresh.m_zmn.m_dCenterX, 0.0);
    EXPECT_EQ(fresh.m_calcArea.GetMeshCountX(), 40);
    EXPECT_EQ(fresh.m_calcArea.GetMeshSize(), 5.0);
    ASSERT_EQ(fresh.m_pCalcPoints.size(), 10u);
    for (const CPointD& p : fresh.m_pCalcPoints) EXPECT_EQ(p, CPointD::Unset());
    EXPECT_EQ(fresh.m_nTriNodes, 0);
    EXPECT_TRUE(fresh.m_pTriNodeA.empty());

    g_tydInfDefault = savedTyd;
    g_zmnInfDefault = savedZmn;
    g_calcAreaDefault = savedArea;
}

TEST_F(CalcDocTest, ClearMeshDataKeepsOrDropsTheOutlinesAndDeletesTheBatchMarker) {
    FillDerivedData();
    Touch(folder + "bay.YNO");
    Touch(folder + "bay.DEC");
    doc.ClearMeshData(1);
    EXPECT_EQ(doc.m_blkXY.GetCount(), 1);
    EXPECT_EQ(doc.m_mesh.GetCount(), 0);
    EXPECT_EQ(doc.m_mesh.GetMeshCountX(), 0);
    EXPECT_EQ(doc.m_mesh.GetNodeIndex(0, 0), -1);
    EXPECT_EQ(doc.m_mesh.GetMeshSize(), 10.0);  // back to the default spacing, not 0
    EXPECT_EQ(doc.m_mesh.GetMaxDepth(), 0.0f);
    EXPECT_EQ(doc.m_mesh.GetBaseLevel(), 0.0);
    EXPECT_EQ(doc.m_triLine.GetCount(), 0);
    EXPECT_EQ(doc.m_hcheckPoints.GetCount(), 0);
    EXPECT_EQ(doc.m_hcheckLines.GetCount(), 0);
    EXPECT_EQ(doc.m_hcheckLines.GetMaxDepth(), 0.0f);
    EXPECT_EQ(doc.m_nTriNodes, 0);
    EXPECT_TRUE(doc.m_pTriNodeA.empty() && doc.m_pTriNodeB.empty() && doc.m_pEdgePairs.empty());
    EXPECT_TRUE(doc.m_pTriMinDepth.empty() && doc.m_pTriMaxValue[1].empty());
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcNoMesh);
    EXPECT_FALSE(FileExists(folder + "bay.YNO"));
    EXPECT_TRUE(FileExists(folder + "bay.DEC"));
    // Again, with no marker left and the outlines dropped.
    doc.ClearMeshData(0);
    EXPECT_EQ(doc.m_blkXY.GetCount(), 0);
    EXPECT_EQ(doc.m_blkXY.GetPointCount(0), 0);
}

TEST_F(CalcDocTest, ClearWaveResultsResetsResultsButKeepsDepths) {
    FillDerivedData();
    view.m_bResultListOpen = 1;
    doc.ClearWaveResults(view);
    const CDigitalMap& m = doc.m_mesh;
    for (int i = 0; i < 4; ++i) {
        const CCalValue v = m.GetAt(i);
        EXPECT_EQ(v.GetDepth(), 3.0f + i);
        EXPECT_EQ(v.GetHeightRatio(), 0.0f);
        EXPECT_EQ(v.GetEquivRatio(), 0.0f);
        EXPECT_EQ(v.GetDirection(), 0.0f);
        EXPECT_EQ(m.GetDepthFlag(i), 1);
        EXPECT_EQ(m.GetHeightFlag(i), 0);
        EXPECT_EQ(m.GetDirFlag(i), 0);
        EXPECT_EQ(m.GetVectorFlag(i), 0);
    }
    EXPECT_EQ(m.GetWaveHeight(), 0.0);
    EXPECT_EQ(m.GetMaxHeightRatio(), 0.0f);
    EXPECT_EQ(m.GetMaxDepth(), 6.0f);
    EXPECT_EQ(doc.m_pTriMinValue[0][1], 0.0f);
    EXPECT_EQ(doc.m_pTriMaxValue[1][0], 0.0f);
    EXPECT_EQ(doc.m_pTriMaxDepth[0], 6.0f);
    for (int k = 0; k < kValueTypes; ++k) {
        EXPECT_EQ(doc.m_contParaFig[k].GetDefined(), 0);
        EXPECT_EQ(doc.m_contParaFig[k].GetInterval(), 1.0);
        EXPECT_EQ(doc.m_contParaFig[k].GetLevelCount(), 0);
        EXPECT_EQ(doc.m_contParaFig[k].GetLevels(), nullptr);
        EXPECT_EQ(doc.m_contParaFig[k].GetColorTo(), 0.0);
        EXPECT_EQ(doc.m_labelPos[k].GetCount(), 0);
        EXPECT_EQ(doc.m_labelPos2[k].GetCount(), 0);
    }
    EXPECT_EQ(doc.m_contPara.GetDefined(), 1);  // the depth figure's contours stay
    EXPECT_EQ(doc.m_contGroup.GetCount(), 0);
    EXPECT_EQ(doc.m_contGroup.GetCapacity(), 0);
    EXPECT_EQ(doc.m_contGroup.GetGrowBy(), 0);
    // All ten output points, whether in use or not.
    EXPECT_EQ(view.m_pCalcPtValue, std::vector<double>(10, 99999999.999));
    EXPECT_EQ(view.m_pCalcPtDir, std::vector<float>(10, 999.0f));
    EXPECT_EQ(view.refreshes, 1);
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcResults);  // the state is the caller's
}

TEST_F(CalcDocTest, ResetsRunOnAnEmptyDocument) {
    doc.ClearWaveResults(view);
    doc.ClearMeshData(0);
    doc.ClearWaveResults(view);
    EXPECT_EQ(view.refreshes, 0);  // the list does not belong to this view
    EXPECT_EQ(doc.m_mesh.GetCount(), 0);
    EXPECT_EQ(view.m_pCalcPtValue[9], 99999999.999);
}

TEST_F(CalcDocTest, BatchInputDeletion) {
    Touch(folder + "bay.DEC");
    doc.DeleteDecFile();
    EXPECT_FALSE(FileExists(folder + "bay.DEC"));
    doc.DeleteDecFile();  // missing: silent
    // A document path without an extension has no side files.
    CTydDoc plain;
    plain.SetPathName(folder + "noext");
    Touch(folder + "noext.DEC");
    Touch(folder + "noextDEC");
    plain.DeleteDecFile();
    EXPECT_TRUE(FileExists(folder + "noext.DEC"));
    EXPECT_TRUE(FileExists(folder + "noextDEC"));
    EXPECT_EQ(plain.SideFile("DEC"), "");
    EXPECT_EQ(doc.SideFile("KKA"), folder + "bay.KKA");
}

TEST_F(CalcDocTest, DepthCommandRefusesWithoutAnArea) {
    doc.m_calcArea.SetMeshCountX(5);
    doc.m_calcArea.SetMeshCountY(1);
    EXPECT_EQ(doc.OnCalcDepth(view, CalcViewFrame()), -1);
    const auto msgs = ui.Messages();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].text, "計算領域を設定してください");
    EXPECT_EQ(msgs[0].caption, "水深計算");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(progress.Logs().empty());
}

// An area of nearly 2^31 nodes whose work grid and mesh the memory cannot hold is
// refused before the question; the mesh and results stay.
TEST_F(CalcDocTest, DepthCommandRefusesAnAreaTheMemoryCannotHold) {
    FillDerivedData();
    doc.m_calcArea.SetMeshCountX(46341);
    doc.m_calcArea.SetMeshCountY(46340);
    roadtest::AddressSpaceRoom room(std::uint64_t{1} << 30);
    EXPECT_EQ(doc.OnCalcDepth(view, CalcViewFrame()), -1);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, docmsg::kAreaTooLargeForMemory);
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcResults);
    EXPECT_EQ(doc.m_mesh.GetCount(), 4);
}

// The old mesh and what hangs on it (results, triangulation, labels, the batch marker)
// is kept aside while the new mesh is made: memory that runs out at any moment of the
// command leaves the document as it was, with the memory message.
TEST_F(CalcDocTest, DepthCommandOutOfMemoryAnywhereLeavesTheDocumentAsItWas) {
    const Area a = SlopeArea();
    ASSERT_EQ(doc.OnCalcDepth(view, a.Frame()), 0);
    doc.m_info.m_nCalcState = kCalcResults;
    for (std::size_t i = 0; i < view.m_pCalcPtValue.size(); ++i) view.m_pCalcPtValue[i] = 1.25;
    Touch(folder + "bay.YNO");
    doc.SetModifiedFlag(false);
    const std::string before = roadtest::Fingerprint(doc, view);
    roadtest::MemoryRunsOut::Install();
    int result = -1, pumps = 0;
    for (; pumps < 500 && result != 0; ++pumps) {
        SCOPED_TRACE(pumps);
        ui.Clear();
        roadtest::MemoryRunsOut::pumpsLeft = pumps;
        result = doc.OnCalcDepth(view, a.Frame());
        if (result == 0) break;
        EXPECT_EQ(result, -1);
        ASSERT_EQ(ui.Messages().size(), 2u);  // the start question, then the refusal
        EXPECT_EQ(ui.Messages()[1].text, docmsg::kAreaTooLargeForMemory);
        EXPECT_TRUE(roadtest::Fingerprint(doc, view) == before);
    }
    SetCalcProgressFactory(nullptr);
    EXPECT_EQ(result, 0) << "the command goes once the memory lasts";
    EXPECT_GT(pumps, 20);
}

TEST_F(CalcDocTest, DepthCommandAsksFirst) {
    Area a;
    a.ApplyTo(doc);
    doc.m_info.m_nCalcState = kCalcResults;
    ui.PushAnswer(IDCANCEL);
    EXPECT_EQ(doc.OnCalcDepth(view, a.Frame()), -1);
    const auto msgs = ui.Messages();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].text, "水深計算を開始します。\n\n※波浪計算済みの場合は、波浪再計算の必要があります。");
    EXPECT_EQ(msgs[0].caption, "開始確認");
    EXPECT_EQ(msgs[0].buttons, MbButtons::OkCancel);
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcResults);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(CalcDocTest, DepthCommandComputesAndMovesToStateOne) {
    const Area a = SlopeArea();
    // An auxiliary line ending where a terrain line does: the rebuilt links list only
    // the terrain line.
    const int p = MPt(a, 100, 100, 0), q = MPt(a, 120, 100, 0), r = MPt(a, 100, 130, 0);
    const int terrain = test::Ln(p, q, kLineTerrain);
    test::Ln(p, r, kLineAuxiliary);
    view.SetMouseMode(105);
    Touch(folder + "bay.DEC");
    Touch(folder + "bay.YNO");
    ASSERT_EQ(doc.OnCalcDepth(view, a.Frame()), 0);
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcDepths);
    EXPECT_EQ(doc.m_mesh.GetCount(), 25);
    EXPECT_FALSE(FileExists(folder + "bay.DEC"));
    EXPECT_FALSE(FileExists(folder + "bay.YNO"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.GetMouseMode(), 0);
    EXPECT_EQ(view.redraws, 1);
    const CSokutenZokusei pt = g_surveyPoints.GetAt(p);
    ASSERT_EQ(pt.GetLineCount(), 1);
    EXPECT_EQ(pt.GetLine(0), terrain);
    EXPECT_EQ(ui.Messages().size(), 1u);  // only the question
}

TEST_F(CalcDocTest, CancelledDepthCommandLeavesStateZeroAndTheBatchInput) {
    const Area a = SlopeArea();
    doc.m_info.m_nCalcState = kCalcResults;
    Touch(folder + "bay.DEC");
    test::ScriptedProgress cancelling({10});
    EXPECT_EQ(doc.OnCalcDepth(view, a.Frame()), -1);
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcNoMesh);
    EXPECT_TRUE(FileExists(folder + "bay.DEC"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_mesh.GetCount(), 0);
    // The question, then the cancel question of the progress window.
    const auto msgs = ui.Messages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[1].text, "処理を中断します");
}

TEST_F(CalcDocTest, DepthCommandReportsBlocksLeftAsSea) {
    const Area a = SlopeArea();
    test::Chain({MPt(a, -30, 25, 1), MPt(a, 20, 25, 1)}, kLineTerrain);
    g_blocks.Add(0.0, 35.0);
    ASSERT_EQ(doc.OnCalcDepth(view, a.Frame()), 0);
    const auto msgs = ui.Messages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[1].caption, "水深計算");
    EXPECT_EQ(msgs[1].text, "次の地形ﾌﾞﾛｯｸは陸域にしていません。\n地形ﾌﾞﾛｯｸ1: 地形線が計算領域の中で途切れています");
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcDepths);
}

}  // namespace
}  // namespace wv
