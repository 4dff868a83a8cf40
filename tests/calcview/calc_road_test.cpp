// The road a user takes through the calculation view on the example bay: a new
// calculation, the area dragged with the mouse, the depths, the wave calculation, its
// results, the mesh and result files out and in, and Save As.
#include "calcview/tyd_view.h"

#include "calc/cal_threads.h"
#include "calc/calc_state.h"
#include "calc/result_loader.h"
#include "calcdoc/calc_small_dlgs.h"
#include "calcdoc/contour_cond_dlg.h"
#include "calcdoc/digital_map_interval_dlg.h"
#include "calcdoc/mesh_csv.h"
#include "core/draw_cond_dlg.h"
#include "draw/view_geometry.h"
#include "platform/recording_dc.h"
#include "core/calc_progress.h"
#include "platform/files.h"
#include "project/tik_doc.h"
#include "tests/calcdoc/calcdoc_test_util.h"
#include "tests/calcview/calcview_test_util.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace wv {
namespace {

using viewtest::ViewOnHost;

class CalcRoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        roadtest::UseScratchStartFolder();
        SetCalcProgressFactory([] { return std::unique_ptr<CCalcProgressDlg>(new CTestCalcProgressDlg()); });
        ASSERT_TRUE(project.OnOpenDocument(std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY/BAY.TIK"));
        roadtest::OpenNew(doc, "ROAD.TYD");
        roadtest::WavesFromTheNorth(doc.m_info);
        doc.m_info.m_bFreeRotation = 0;
        doc.m_calcArea.SetMeshSize(100.0);
    }
    void TearDown() override {
        SetCalcProgressFactory(nullptr);
        CCalThreads::CancelAndJoinAll();
        ResetTikData();
    }

    // Drags the calculation area from world (x0, y1) (top left) to (x1, y0).
    void DragArea(ViewOnHost& w, double x0, double y0, double x1, double y1) {
        CTydView& v = w.view;
        v.Execute(32829);
        const CPoint a = w.ClientOf(x0, y1);
        const CPoint b = w.ClientOf(x1, y0);
        v.OnLButtonDown(kMouseLeft, a);
        v.OnMouseMove(kMouseLeft, CPoint{a.x + 1, a.y + 1});
        v.OnMouseMove(kMouseLeft, b);
        v.OnLButtonUp(0, b);
    }

    ScriptedUi ui;
    ScopedUi scoped{&ui};
    CTikDoc project;
    CTydDoc doc;
};

TEST_F(CalcRoadTest, AreaDepthRunResultsAndFiles) {
    ViewOnHost w(doc);
    CTydView& v = w.view;
    // The whole bay fits the window on opening.
    EXPECT_GT(v.State().coord.GetScale(), 0.05);
    // A scale of a whole number of pixels per mesh makes the snapped drag exact.
    v.State().coord.SetScale(0.1);
    v.Execute(32780);
    DragArea(w, 0.0, 200.0, 2400.0, 2600.0);
    EXPECT_EQ(doc.m_calcArea.GetMeshCountX(), 25);
    EXPECT_EQ(doc.m_calcArea.GetMeshCountY(), 25);
    EXPECT_NEAR(doc.m_calcArea.GetOrigin().m_dX, 0.0, 10.0);
    EXPECT_NEAR(doc.m_calcArea.GetOrigin().m_dY, 200.0, 10.0);

    ui.PushAnswer(IDOK);
    ASSERT_TRUE(v.Execute(32830));
    ASSERT_EQ(doc.m_info.m_nCalcState, 1);
    EXPECT_EQ(v.m_bLandFill, 1);
    EXPECT_GT(doc.m_mesh.GetCount(), 200);

    ui.PushAnswer(IDOK);
    ASSERT_TRUE(v.Execute(32832));
    ASSERT_EQ(doc.m_info.m_nCalcState, 2);
    v.CalcSlot().Wait();
    EXPECT_EQ(v.CalcSlot().GetExitCode(), 0);

    // The result file output loads the results first.
    ASSERT_TRUE(v.Execute(32889));
    EXPECT_EQ(doc.m_info.m_nCalcState, 3);
    const std::string h1 = ResultCsvFileName(doc.GetPathName(), 1);
    ASSERT_TRUE(FileExists(h1));
    const std::string text = roadtest::ReadAll(h1);
    EXPECT_EQ(text.rfind("25,25,100.0,", 0), 0u) << text.substr(0, 40);

    // The figures through the dialogs as a user fills them in: the colour map, the result
    // contours every 0.1, the wave-height map placed by a click.
    std::vector<std::string> dialogs;
    CTydView::SetDialogRunner([&](CDialogModel& dlg) {
        dialogs.push_back(dlg.Caption());
        if (auto* d = dynamic_cast<CDrawCondDlg*>(&dlg)) {
            d->m_bColorContour = 1;
        } else if (auto* c = dynamic_cast<CContourCondDlg*>(&dlg)) {
            c->m_dInterval = 0.1;
            c->m_levels = {0.55};
        } else if (auto* m = dynamic_cast<CDigitalMapIntervalDlg*>(&dlg)) {
            m->m_dStepAcross = 200.0;
            m->m_dStepDown = 200.0;
        }
        return IDOK;
    });
    ASSERT_TRUE(v.Execute(32835));
    EXPECT_EQ(doc.m_zmn.m_bColorContour, 1);
    ASSERT_TRUE(v.Execute(32842));
    EXPECT_GT(doc.m_contGroup.GetCount(), 3);
    EXPECT_EQ(doc.m_zmn.m_nFigureMask & 2, 2);
    EXPECT_EQ(doc.m_contParaFig[0].GetLevelCount(), 1);
    ASSERT_TRUE(v.Execute(32848));
    EXPECT_EQ(v.Mode(), 120);
    EXPECT_EQ(doc.m_zmn.m_nFigureMask, 3);
    v.OnLButtonDown(kMouseLeft, w.ClientOf(1200.0, 1400.0));
    EXPECT_GE(v.m_nSelNode, 0);
    v.OnRButtonDown(kMouseRight, CPoint{1, 1});
    EXPECT_EQ(v.m_nSelNode, -1);
    EXPECT_EQ(v.Mode(), 0);
    // Values deleted inside a polygon: No keeps them, Yes deletes them; the polygon goes
    // either way and a crossing polygon asks nothing.
    auto shownCount = [&] {
        int n = 0;
        for (int i = 0; i < doc.m_mesh.GetCount(); ++i) n += doc.m_mesh.GetHeightFlag(i) == 1 ? 1 : 0;
        return n;
    };
    const int shown = shownCount();
    ASSERT_GT(shown, 0);
    ASSERT_TRUE(v.Execute(32851));
    EXPECT_EQ(v.Mode(), 113);
    const CPoint square[] = {w.ClientOf(-50.0, 150.0), w.ClientOf(2450.0, 150.0), w.ClientOf(2450.0, 2650.0),
                             w.ClientOf(-50.0, 2650.0)};
    for (int answer : {IDNO, IDYES}) {
        for (const CPoint& p : square) {
            v.OnLButtonDown(kMouseLeft, p);
            v.OnMouseMove(0, CPoint{p.x + 3, p.y + 3});
        }
        ASSERT_NE(g_pAreaPolygon, nullptr);
        ui.PushAnswer(answer);
        v.OnRButtonDown(kMouseRight, CPoint{1, 1});
        EXPECT_EQ(g_pAreaPolygon, nullptr);
        EXPECT_EQ(v.Mode(), 113);
        EXPECT_EQ(shownCount(), answer == IDNO ? shown : 0);
    }
    EXPECT_EQ(roadtest::CountMessages(ui, "選択したﾃﾞｰﾀを削除します。"), 2);
    v.OnRButtonDown(kMouseRight, CPoint{1, 1});
    EXPECT_EQ(v.Mode(), 0);

    // Every layer draws on a recording surface without trouble.
    CRecordingDC rec(800, 600);
    v.OnDraw(rec);
    EXPECT_GT(rec.Log().size(), 100u);
    // The layers in their order: land backdrop, survey points, terrain lines, the drawing
    // frame (XOR), the output points last.
    auto first = [&](const std::string& part) {
        const std::vector<std::string> log = rec.Log();
        for (std::size_t i = 0; i < log.size(); ++i)
            if (log[i].find(part) != std::string::npos) return static_cast<long>(i);
        return -1L;
    };
    const long land = first("0x8CB4D2)");
    const long terrain = first("pen=0/1/0xFFFFFF");
    const long frame = first("pen=0/1/0xFF00FF brush=null xor");
    const long points = first("Ellipse(");
    ASSERT_GE(land, 0);
    EXPECT_LT(land, terrain);
    EXPECT_LT(terrain, frame);
    EXPECT_LT(frame, points);

    // A contour deleted by a run pick and the right button's Yes.
    const int before = doc.m_contGroup.GetCount();
    ASSERT_TRUE(v.Execute(32845));
    EXPECT_EQ(v.Mode(), 107);
    const CContPoint p0 = doc.m_contGroup.GetPoint(0, 0);
    double wx = 0.0, wy = 0.0;
    MeshToWorld(v.Angle(), doc.m_calcArea.GetOrigin(), p0.m_point.m_fX, p0.m_point.m_fY, &wx, &wy);
    v.OnLButtonDown(kMouseLeft, w.ClientOf(wx, wy));
    ui.PushAnswer(IDYES);
    v.OnRButtonDown(kMouseRight, CPoint{1, 1});
    EXPECT_EQ(doc.m_contGroup.GetCount(), before);
    EXPECT_EQ(doc.m_contGroup.GetPoint(0, 0).m_nLine, 0);
    EXPECT_EQ(v.Mode(), 107);

    // A value label on and off again by clicks on a segment.
    ASSERT_TRUE(v.Execute(32844));
    EXPECT_EQ(v.Mode(), 106);
    int line = -1, seg = 0;
    const CContPoint q0 = doc.m_contGroup.GetPoint(1, 1);
    const CContPoint q1 = doc.m_contGroup.GetPoint(1, 2);
    const double mx = (q0.m_point.m_fX + q1.m_point.m_fX) / 2.0, my = (q0.m_point.m_fY + q1.m_point.m_fY) / 2.0;
    doc.m_contGroup.HitTest(mx, my, doc.m_calcArea.GetMeshSize(), &line, &seg);
    ASSERT_GE(line, 0);
    const int label = doc.m_contGroup.GetPoint(line, seg).m_nLabel;
    MeshToWorld(v.Angle(), doc.m_calcArea.GetOrigin(), mx, my, &wx, &wy);
    // The click is turned into pixels and back: near enough for the same segment.
    v.OnLButtonDown(kMouseLeft, w.ClientOf(wx, wy));
    EXPECT_NE(doc.m_contGroup.GetPoint(line, seg).m_nLabel, label);
    v.OnLButtonDown(kMouseLeft, w.ClientOf(wx, wy));
    EXPECT_EQ(doc.m_contGroup.GetPoint(line, seg).m_nLabel, label);

    // A contour through a clicked point: a new level joins the extra levels in order; a
    // level already traced is not traced again.
    ASSERT_TRUE(v.Execute(32843));
    EXPECT_EQ(v.Mode(), 105);
    const int lines = doc.m_contGroup.GetCount();
    v.OnLButtonDown(kMouseLeft, w.ClientOf(1200.0, 1500.0));
    const CContPara& para = doc.m_contParaFig[0];
    const int levels = para.GetLevelCount();
    ASSERT_EQ(levels, 2);
    EXPECT_GT(doc.m_contGroup.GetCount(), lines);
    EXPECT_LT(para.GetLevels()[0], para.GetLevels()[1]);
    const int after = doc.m_contGroup.GetCount();
    v.OnLButtonDown(kMouseLeft, w.ClientOf(1200.0, 1500.0));
    EXPECT_EQ(doc.m_contGroup.GetCount(), after);
    EXPECT_EQ(para.GetLevelCount(), levels);
    CTydView::SetDialogRunner(nullptr);

    // Mesh out and back in: the same depths.
    ASSERT_TRUE(v.Execute(32893));
    const std::string m1 = MeshCsvFileName(doc.GetPathName(), 1);
    ASSERT_TRUE(FileExists(m1));
    const int nodes = doc.m_mesh.GetCount();
    const float d0 = doc.m_mesh.GetAt(0).GetDepth();
    ASSERT_TRUE(v.Execute(32892));
    EXPECT_EQ(doc.m_info.m_nCalcState, 1);
    EXPECT_EQ(doc.m_mesh.GetCount(), nodes);
    EXPECT_NEAR(doc.m_mesh.GetAt(0).GetDepth(), d0, 0.0006);
}

TEST_F(CalcRoadTest, SaveAsCopiesSideFilesOnlyAfterASuccessfulSave) {
    ViewOnHost w(doc);
    const std::string base = roadtest::Scratch();
    roadtest::WriteAll(base + "ROAD.CAL", "cal\r\n");
    roadtest::WriteAll(base + "ROAD.KKA", "kka\r\n");
    roadtest::WriteAll(base + "NEW.DEC", "keep\r\n");

    // Onto its own name: saved, nothing copied, the side files as they were.
    ui.PushFileAnswer(doc.GetPathName());
    ASSERT_TRUE(w.view.Execute(57604));
    EXPECT_EQ(roadtest::ReadAll(base + "ROAD.CAL"), "cal\r\n");
    EXPECT_EQ(roadtest::ReadAll(base + "ROAD.KKA"), "kka\r\n");

    // A new name: the document moves, the side files it has are copied, the others stay.
    ui.PushFileAnswer(base + "NEW.TYD");
    ASSERT_TRUE(w.view.Execute(57604));
    EXPECT_EQ(doc.GetPathName(), base + "NEW.TYD");
    EXPECT_EQ(roadtest::ReadAll(base + "NEW.CAL"), "cal\r\n");
    EXPECT_EQ(roadtest::ReadAll(base + "NEW.KKA"), "kka\r\n");
    EXPECT_EQ(roadtest::ReadAll(base + "NEW.DEC"), "keep\r\n");
    EXPECT_FALSE(FileExists(base + "NEW.YNO"));

    // A save that fails keeps the name and copies nothing.
    ui.Clear();
    ui.PushFileAnswer(base + "missing/OTHER.TYD");
    ASSERT_TRUE(w.view.Execute(57604));
    EXPECT_EQ(doc.GetPathName(), base + "NEW.TYD");
    EXPECT_FALSE(FileExists(base + "missing/OTHER.CAL"));
    EXPECT_EQ(roadtest::CountMessages(ui, ""), 1);

    // Cancel: nothing.
    ASSERT_TRUE(w.view.Execute(57604));
    EXPECT_EQ(doc.GetPathName(), base + "NEW.TYD");
}

TEST_F(CalcRoadTest, DepthRefusedWithoutAnArea) {
    ViewOnHost w(doc);
    doc.m_calcArea.SetMeshCountX(20);
    doc.m_calcArea.SetMeshCountY(1);
    ASSERT_TRUE(w.view.Execute(32830));
    EXPECT_EQ(roadtest::CountMessages(ui, "計算領域を設定してください"), 1);
    EXPECT_EQ(doc.m_info.m_nCalcState, 0);
}

TEST_F(CalcRoadTest, ClosingMidRunKeepsTheRunGoing) {
    ViewOnHost* w = new ViewOnHost(doc);
    w->view.State().coord.SetScale(0.1);
    DragArea(*w, 0.0, 200.0, 2400.0, 2600.0);
    ui.PushAnswer(IDOK);
    w->view.Execute(32830);
    ASSERT_EQ(doc.m_info.m_nCalcState, 1);
    ui.PushAnswer(IDOK);
    w->view.Execute(32832);
    delete w;  // the window goes while the solver may still run
    CCalThreads::CancelAndJoinAll();
    SUCCEED();
}

}  // namespace
}  // namespace wv
