// The calculation view driven headless: modes, the area drag, status texts, the screen
// layers, command states and the mended faults.
#include "calcview/tyd_view.h"

#include "calc/calc_state.h"
#include "calc/calc_messages.h"
#include "calc/result_loader.h"
#include "calcdoc/calcdoc_messages.h"
#include "core/draw_cond_dlg.h"
#include "core/tik_inf.h"
#include "core/wave_cond_dlg.h"
#include "draw/mode_prompt.h"
#include "platform/files.h"
#include "platform/recording_dc.h"
#include "tests/calcdoc/calcdoc_test_util.h"
#include "tests/calcview/calcview_test_util.h"

#include "support/english_words.h"
#include "support/lock_holder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace wv {
namespace {

using viewtest::ViewOnHost;

class TydViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        roadtest::UseScratchStartFolder();
        roadtest::OpenNew(doc, "VIEW.TYD");
        g_pAreaPolygon.reset();
    }
    void TearDown() override { g_pAreaPolygon.reset(); }
    ScriptedUi ui;
    ScopedUi scoped{&ui};
    CTydDoc doc;
};

TEST_F(TydViewTest, ZoomModeSavesTheInterruptedModeAndRightButtonReturnsToIt) {
    ViewOnHost w(doc);
    CTydView& v = w.view;
    ASSERT_TRUE(v.Execute(32829));
    EXPECT_EQ(v.Mode(), 80);
    ASSERT_TRUE(v.Execute(32777));
    EXPECT_EQ(v.Mode(), 10);
    EXPECT_EQ(v.SavedMode(), 80);
    ASSERT_TRUE(v.Execute(32778));  // zoom to zoom keeps the first saved mode
    EXPECT_EQ(v.SavedMode(), 80);
    const double scale = v.State().coord.GetScale();
    v.OnLButtonDown(kMouseLeft, CPoint{400, 300});
    EXPECT_EQ(v.Mode(), 21);
    v.OnLButtonUp(0, CPoint{400, 300});
    EXPECT_EQ(v.Mode(), 20);
    EXPECT_NEAR(v.State().coord.GetScale(), scale * 0.8, 1e-12);
    EXPECT_EQ(w.host.scrollX, 15000 - 400);
    v.OnRButtonDown(kMouseRight, CPoint{1, 1});
    EXPECT_EQ(v.Mode(), 80);
    EXPECT_EQ(v.SavedMode(), 0);
    EXPECT_EQ(v.GetMouseMode(), 80);
    EXPECT_EQ(w.host.lastMode, 80);
    v.OnRButtonDown(kMouseRight, CPoint{1, 1});
    EXPECT_EQ(v.Mode(), 0);
}

TEST_F(TydViewTest, AreaDragSnapsToWholeMeshesAndCountsNodes) {
    doc.m_calcArea.SetMeshSize(100.0);
    ViewOnHost w(doc);
    CTydView& v = w.view;
    v.State().coord.SetScale(0.5);  // 50 pixels a mesh
    v.Execute(32829);
    v.OnLButtonDown(kMouseLeft, CPoint{100, 100});
    EXPECT_EQ(v.Mode(), 81);
    v.OnMouseMove(kMouseLeft, CPoint{120, 130});
    EXPECT_EQ(v.Mode(), 82);
    v.OnMouseMove(kMouseLeft, CPoint{174, 176});  // 1.48 x 1.52 meshes: one whole each
    EXPECT_EQ(v.State().rcDrag.right, 150);
    EXPECT_EQ(v.State().rcDrag.bottom, 150);
    EXPECT_EQ(v.PromptText(), "メッシュ数：4");
    v.OnMouseMove(kMouseLeft, CPoint{360, 260});
    EXPECT_EQ(v.PromptText(), "メッシュ数：24");  // 6 x 4 nodes
    doc.m_info.m_nCalcState = 1;
    v.OnLButtonUp(0, CPoint{360, 260});
    EXPECT_EQ(v.Mode(), 80);
    EXPECT_EQ(doc.m_calcArea.GetMeshCountX(), 6);
    EXPECT_EQ(doc.m_calcArea.GetMeshCountY(), 4);
    EXPECT_EQ(doc.m_info.m_nCalcState, 0);
    EXPECT_TRUE(doc.IsModified());
    // The origin is the lower-left corner, rounded to millimetres.
    double x = 0.0, y = 0.0;
    v.State().coord.ViewPointToWorld(100 + v.State().scrollX, 250 + v.State().scrollY, &x, &y);
    EXPECT_NEAR(doc.m_calcArea.GetOrigin().m_dX, x, 0.0006);
    EXPECT_NEAR(doc.m_calcArea.GetOrigin().m_dY, y, 0.0006);
}

TEST_F(TydViewTest, SmallAndHugeAreaDragsLeaveTheAreaAlone) {
    doc.m_calcArea.SetMeshSize(10.0);
    doc.m_calcArea.SetMeshCountX(7);
    doc.m_calcArea.SetMeshCountY(7);
    ViewOnHost w(doc);
    CTydView& v = w.view;
    v.State().coord.SetScale(0.2);
    const CPoint ends[] = {{109, 300}, {300, 109}};
    for (const CPoint& e : ends) {
        v.Execute(32829);
        v.OnLButtonDown(kMouseLeft, CPoint{100, 100});
        v.OnMouseMove(kMouseLeft, CPoint{101, 101});
        v.OnMouseMove(kMouseLeft, e);
        v.OnLButtonUp(0, e);
        EXPECT_EQ(v.Mode(), 80);
        EXPECT_EQ(doc.m_calcArea.GetMeshCountX(), 7);
    }
    // A press and release without a move.
    v.OnLButtonDown(kMouseLeft, CPoint{100, 100});
    v.OnLButtonUp(0, CPoint{100, 100});
    EXPECT_EQ(v.Mode(), 80);
    EXPECT_FALSE(doc.IsModified());

    // Zoomed far out, a drag spans more nodes than a calculation file holds (a thousandth
    // of a pixel a mesh: 260000 x 160000): refused, and the area stays as it was.
    doc.m_calcArea.SetMeshSize(1.0);
    v.State().coord.SetScale(0.001);
    const CPointD origin = doc.m_calcArea.GetOrigin();
    v.OnLButtonDown(kMouseLeft, CPoint{100, 100});
    v.OnMouseMove(kMouseLeft, CPoint{101, 101});
    v.OnMouseMove(kMouseLeft, CPoint{360, 260});
    ui.Clear();
    v.OnLButtonUp(0, CPoint{360, 260});
    EXPECT_EQ(v.Mode(), 80);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "ﾒｯｼｭ数が多すぎます。縦×横が2147483647以下になるように指定して下さい。");
    EXPECT_EQ(doc.m_calcArea.GetMeshCountX(), 7);
    EXPECT_EQ(doc.m_calcArea.GetMeshCountY(), 7);
    EXPECT_EQ(doc.m_calcArea.GetOrigin().m_dX, origin.m_dX);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(TydViewTest, MeshSizeZeroGivesNoCountAndNoDivision) {
    doc.m_calcArea.SetMeshSize(0.0);
    ViewOnHost w(doc);
    CTydView& v = w.view;
    v.Execute(32829);
    v.OnLButtonDown(kMouseLeft, CPoint{100, 100});
    v.OnMouseMove(kMouseLeft, CPoint{101, 101});
    v.OnMouseMove(kMouseLeft, CPoint{300, 300});
    EXPECT_EQ(v.PromptText(), "メッシュ数：0");
    v.OnLButtonUp(0, CPoint{300, 300});
    EXPECT_EQ(doc.m_calcArea.GetMeshCountX(), 0);
    EXPECT_TRUE(std::isfinite(v.State().coord.GetScale()));
}

TEST_F(TydViewTest, EmptyWindowKeepsTheScale) {
    ViewOnHost w(doc, 0, 0);
    CTydView& v = w.view;
    v.State().coord.SetScale(0.25);
    doc.m_zmn.m_nFrameWidth = 400;
    doc.m_zmn.m_nFrameHeight = 267;
    v.Execute(32827);
    EXPECT_DOUBLE_EQ(v.State().coord.GetScale(), 0.25);
    g_surveyPoints.Add(0.0, 0.0, 0);
    g_surveyPoints.Add(100.0, 100.0, 0);
    v.Execute(32779);
    EXPECT_DOUBLE_EQ(v.State().coord.GetScale(), 0.25);
    g_surveyPoints.RemoveAll();
}

TEST_F(TydViewTest, WholeDrawingOfAnEmptyCalculationCentresOn15000) {
    ViewOnHost w(doc);
    CTydView& v = w.view;
    v.Execute(32779);
    EXPECT_DOUBLE_EQ(v.State().coord.GetScale(), 1.0);
    double x = 0.0, y = 0.0;
    v.State().coord.GetOrigin(&x, &y);
    EXPECT_EQ(x, 15000.0);
    EXPECT_EQ(y, 15000.0);
    EXPECT_EQ(w.host.scrollX, 14600);
    EXPECT_EQ(w.host.scrollY, 14700);
    // One row of nodes is not an area.
    doc.m_calcArea.SetMeshCountX(20);
    doc.m_calcArea.SetMeshCountY(1);
    v.Execute(32779);
    EXPECT_DOUBLE_EQ(v.State().coord.GetScale(), 1.0);
}

TEST_F(TydViewTest, PositionTextAndPrompts) {
    ViewOnHost w(doc);
    CTydView& v = w.view;
    v.OnMouseMove(0, CPoint{400, 300});
    EXPECT_EQ(v.PositionText(), "   15000.000/15000.000");
    EXPECT_EQ(v.PromptText(), ModePromptText(0));
    CCmdUI pane(59143);
    ASSERT_TRUE(v.Update(pane));
    EXPECT_EQ(pane.m_strText, v.PositionText());
    roadtest::SetMesh(doc, 2, 2, {1.0, 2.0, 3.0, 4.0}, 10.0);
    doc.m_calcArea.SetOrigin(15000.0, 15000.0);
    doc.m_mesh.SetBaseLevel(1.5);
    EXPECT_EQ(v.PositionText(), "15000.000/15000.000/0.5");
}

TEST_F(TydViewTest, HeightPopupOnlyForExactlyCtrlAndLeft) {
    ViewOnHost w(doc);
    CTydView& v = w.view;
    g_surveyPoints.AddFromWithDepth(0, 15000.0, 15000.0, 2.0, 0);
    g_surveyPoints.AddFromWithDepth(0, 15010.0, 15000.0, 2.005, 0);
    // A terrain line (kind 1, height type 0) whose ends differ by 0.005: one height.
    ASSERT_GE(g_lines.Add(15000.0, 15000.0, 15010.0, 15000.0, 0, 0, 0.0, 1, 0, 1), 0);
    v.OnLButtonDown(kMouseLeft | kMouseCtrl | kMouseShift, CPoint{400, 300});
    v.OnLButtonDown(kMouseLeft | kMouseCtrl | kMouseRight, CPoint{400, 300});
    EXPECT_EQ(w.host.popups, 0);
    v.OnLButtonDown(kMouseLeft | kMouseCtrl, CPoint{400, 300});
    EXPECT_EQ(w.host.popups, 1);
    EXPECT_EQ(w.host.popup, "2.0m");
    CSokutenZokusei p = g_surveyPoints.GetAt(1);
    CSokutenZokusei q = g_surveyPoints.GetAt(0);
    q.SetDepth(0.5);
    g_surveyPoints.SetAt(0, q);
    p.SetDepth(0.51);
    g_surveyPoints.SetAt(1, p);
    v.OnLButtonDown(kMouseLeft | kMouseCtrl, CPoint{400, 300});
    EXPECT_EQ(w.host.popup, "0.5m～0.5m");
    p.SetDepth(1.0);
    g_surveyPoints.SetAt(1, p);
    v.OnLButtonDown(kMouseLeft | kMouseCtrl, CPoint{400, 300});
    EXPECT_EQ(w.host.popup, "0.5m～1.0m");  // the smaller first
    g_lines.RemoveAll();
    g_surveyPoints.RemoveAll();
}

TEST_F(TydViewTest, RotateCommandOnlyWithFreeRotationAndAutoRotationDrawsAtZero) {
    ViewOnHost w(doc);
    CTydView& v = w.view;
    CCmdUI rot(32781);
    doc.m_info.m_bFreeRotation = 0;
    ASSERT_TRUE(v.Update(rot));
    EXPECT_FALSE(rot.m_bEnabled);
    doc.m_info.m_bFreeRotation = 1;
    CCmdUI rot2(32781);
    v.Update(rot2);
    EXPECT_TRUE(rot2.m_bEnabled);
    // Waves from the east, automatic rotation: the repaint turns them to the top.
    doc.m_info.m_bFreeRotation = 0;
    doc.m_info.m_nDirMode = 0;
    doc.m_info.m_nDir16 = 4;
    CRecordingDC dc(800, 600);
    v.OnDraw(dc);
    EXPECT_NEAR(v.Angle(), -GetWaveDirAngle(doc), 1e-12);
    EXPECT_NEAR(doc.m_zmn.m_dRotation, v.Angle(), 1e-12);
    int code = -1;
    GetWaveDirQuadrant(doc, v.Angle(), &code);
    EXPECT_EQ(code, 0);
}

TEST_F(TydViewTest, LandFillCommandStateAndCheck) {
    ViewOnHost w(doc);
    CTydView& v = w.view;
    struct Case { int landCells, state; bool enabled; };
    for (const Case c : {Case{1, 0, false}, Case{1, 1, true}, Case{0, 1, false}}) {
        doc.m_zmn.m_bDrawLandGrid = c.landCells;
        doc.m_info.m_nCalcState = c.state;
        CCmdUI ui(32833);
        ASSERT_TRUE(v.Update(ui));
        EXPECT_EQ(ui.m_bEnabled, c.enabled) << c.landCells << c.state;
        EXPECT_EQ(ui.m_nCheck, 1);
    }
    v.Execute(32833);
    CCmdUI ui(32833);
    v.Update(ui);
    EXPECT_EQ(ui.m_nCheck, 0);
}

TEST_F(TydViewTest, ScreenLayersFollowTheSwitches) {
    roadtest::SetMesh(doc, 3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 50.0);
    doc.m_calcArea.SetOrigin(15000.0, 15000.0);
    ViewOnHost w(doc);
    CTydView& v = w.view;
    v.State().coord.SetScale(2.0);
    auto drawn = [&] {
        CRecordingDC dc(800, 600);
        v.OnDraw(dc);
        return dc.Log().size();
    };
    doc.m_zmn.m_bCheckMap = 0;
    const std::size_t base = drawn();
    doc.m_mesh.AllocDepthFlag();
    for (int i = 0; i < doc.m_mesh.GetCount(); ++i) doc.m_mesh.SetDepthFlag(i, 1);
    doc.m_zmn.m_bCheckMap = 1;  // depth map: one label per node
    EXPECT_GT(drawn(), base);
    doc.m_zmn.m_bCheckMap = 0;
    v.m_bLandFill = 0;
    doc.m_zmn.m_bColorContour = 1;  // colour map (and the black land fill over it)
    doc.m_info.m_nCalcState = 3;    // the map needs results
    EXPECT_GT(drawn(), base);
}

TEST_F(TydViewTest, XorMarksDrawnTwiceRestoreTheImage) {
    doc.m_calcArea.SetMeshSize(100.0);
    ViewOnHost w(doc);
    CTydView& v = w.view;
    v.State().coord.SetScale(0.5);
    const auto before = w.host.img.Pixels();
    v.Execute(32829);
    v.OnLButtonDown(kMouseLeft, CPoint{100, 100});
    v.OnMouseMove(kMouseLeft, CPoint{140, 140});
    v.OnMouseMove(kMouseLeft, CPoint{300, 260});
    EXPECT_NE(w.host.img.Pixels(), before);
    // The frame drawn last is drawn again: the window is as it was.
    const CRect last = v.State().rcDragLast;
    w.host.dc.DrawDragRect(last, CSize{1, 1}, nullptr, CSize{1, 1});
    EXPECT_EQ(w.host.img.Pixels(), before);
}

TEST_F(TydViewTest, RemovingAMarkMarksTheDocumentModified) {
    ViewOnHost w(doc);
    CTydView& v = w.view;
    doc.m_zmn.m_ptNorthMark = CPointD(15000.0, 15000.0);
    doc.m_zmn.m_ptWaveMark = CPointD(15000.0, 15000.0);
    v.Execute(32838);
    EXPECT_EQ(doc.m_zmn.m_ptNorthMark, CPointD::Unset());
    EXPECT_TRUE(doc.IsModified());
    doc.SetModifiedFlag(false);
    v.Execute(32840);
    EXPECT_EQ(doc.m_zmn.m_ptWaveMark, CPointD::Unset());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(v.Mode(), 0);
}

TEST_F(TydViewTest, MarksAndFramePlacedByClicks) {
    ViewOnHost w(doc);
    CTydView& v = w.view;
    v.Execute(32837);
    EXPECT_EQ(v.Mode(), 109);
    v.OnLButtonDown(kMouseLeft, CPoint{400, 300});
    EXPECT_EQ(doc.m_zmn.m_ptNorthMark, CPointD(15000.0, 15000.0));
    v.Execute(32836);
    v.OnLButtonDown(kMouseLeft, CPoint{410, 300});
    EXPECT_NEAR(doc.m_zmn.m_dCenterX, 15010.0, 1e-9);
    v.Execute(32865);
    for (const CPointD& p : doc.m_pCalcPoints) EXPECT_EQ(p, CPointD::Unset());
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(TydViewTest, ActivationDiscardsTheSharedAreaPolygon) {
    ViewOnHost a(doc);
    g_pAreaPolygon = std::make_unique<CPointList>(CPointD(1.0, 2.0));
    a.view.OnActivateView(true);
    EXPECT_EQ(g_pAreaPolygon, nullptr);
}

TEST_F(TydViewTest, EscapeGoesToTheResultListOnlyWhileItIsOpen) {
    ViewOnHost w(doc);
    EXPECT_FALSE(w.view.OnKeyUp(27));
    w.view.m_bResultListOpen = 1;
    EXPECT_TRUE(w.view.OnKeyUp(27));
    EXPECT_FALSE(w.view.OnKeyUp(13));
}

TEST_F(TydViewTest, ContourEditingIgnoredWithoutContours) {
    ViewOnHost w(doc);
    CTydView& v = w.view;
    doc.m_zmn.m_nFigureMask = 1;
    for (int id : {32843, 32844, 32845, 32846}) {
        ASSERT_TRUE(v.Execute(id));
        EXPECT_EQ(v.Mode(), 0) << id;
    }
}

TEST_F(TydViewTest, EveryCommandIsEnabledButTheTwoConditionalOnes) {
    ViewOnHost w(doc);
    for (int id : CTydView::CommandIds()) {
        CCmdUI ui(id);
        ASSERT_TRUE(w.view.Update(ui)) << id;
        if (id != 32781 && id != 32833) {
            EXPECT_TRUE(ui.m_bEnabled) << id;
        }
    }
    CCmdUI none(1);
    EXPECT_FALSE(w.view.Update(none));
    EXPECT_FALSE(w.view.Execute(1));
}

TEST_F(TydViewTest, WaveConditionsChangeTheMeshOnlyWhenTheyMoveIt) {
    roadtest::SetMesh(doc, 2, 2, {1.0, 2.0, 3.0, 4.0}, 10.0);
    doc.m_info.m_bFreeRotation = 1;
    doc.m_info.m_dSmax = 10.7;
    doc.m_zmn.m_dRotation = -45.5;
    ViewOnHost w(doc);
    CTydView& v = w.view;
    ASSERT_NEAR(v.Angle(), -45.5, 1e-12);
    struct Edit { const char* what; std::function<void(CWaveCondDlg&)> edit; bool clears; };
    const Edit edits[] = {
        {"plain OK (the field shows 45 for 45.5)", [](CWaveCondDlg&) {}, false},
        {"wave height", [](CWaveCondDlg& d) { d.m_dH0 = 3.0; }, false},
        {"tide by 0.00002", [](CWaveCondDlg& d) { d.m_dTide += 0.00002; }, true},
        {"angle 90", [](CWaveCondDlg& d) { d.m_nRotation = 90; }, true},
    };
    for (const Edit& e : edits) {
        doc.m_info.m_nCalcState = 1;
        CTydView::SetDialogRunner([&](CDialogModel& dlg) {
            auto& d = dynamic_cast<CWaveCondDlg&>(dlg);
            e.edit(d);
            return IDOK;
        });
        ASSERT_TRUE(v.Execute(32834));
        EXPECT_EQ(doc.m_info.m_nCalcState == 0, e.clears) << e.what;
        EXPECT_TRUE(doc.IsModified());
    }
    EXPECT_NEAR(v.Angle(), -90.0, 1e-12);
    EXPECT_NEAR(doc.m_zmn.m_dRotation, -90.0, 1e-12);
    EXPECT_EQ(doc.m_info.m_dSmax, 10.0);
    // Cancel changes nothing.
    doc.SetModifiedFlag(false);
    CTydView::SetDialogRunner([](CDialogModel& dlg) {
        dynamic_cast<CWaveCondDlg&>(dlg).m_dTide = 5.0;
        return IDCANCEL;
    });
    v.Execute(32834);
    EXPECT_FALSE(doc.IsModified());
    CTydView::SetDialogRunner(nullptr);
}

TEST_F(TydViewTest, DrawingConditionsFrameAndValueTypeWithBreaking) {
    ViewOnHost w(doc);
    CTydView& v = w.view;
    doc.m_info.m_bBreaking = 1;
    doc.m_zmn.m_nValueType = 3;
    int shown = -1;
    CTydView::SetDialogRunner([&](CDialogModel& dlg) {
        auto& d = dynamic_cast<CDrawCondDlg&>(dlg);
        shown = d.m_nValueType;
        d.m_nPaperSize = 3;
        d.m_nPaperOrient = 0;
        d.m_nMarginTop = d.m_nMarginBottom = d.m_nMarginLeft = d.m_nMarginRight = 10;
        return IDOK;
    });
    ASSERT_TRUE(v.Execute(32835));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(doc.m_zmn.m_nValueType, 1);
    EXPECT_EQ(doc.m_zmn.m_nFrameWidth, 400);
    EXPECT_EQ(doc.m_zmn.m_nFrameHeight, 267);
    CTydView::SetDialogRunner([&](CDialogModel& dlg) {
        auto& d = dynamic_cast<CDrawCondDlg&>(dlg);
        d.m_nMarginTop = d.m_nMarginBottom = d.m_nMarginLeft = d.m_nMarginRight = 900;
        return IDOK;
    });
    v.Execute(32835);
    EXPECT_EQ(doc.m_zmn.m_nFrameWidth, 0);
    EXPECT_EQ(doc.m_zmn.m_nFrameHeight, 0);
    CTydView::SetDialogRunner(nullptr);
}

// With results, but its .DPT not there, unreadable or without a mesh, and an area of
// 2^31 - 1 nodes in a row: the user hears which file and may decline; accepted, it opens
// before its mesh, and every command, the screen and the printed figure return at once.
TEST_F(TydViewTest, WithoutItsMeshACalculationOpensBeforeItAndEveryCommandReturnsAtOnce) {
    std::string tyd = roadtest::ReadAll(roadtest::Golden("small_v12.TYD"));
    const std::int32_t counts[2] = {2147483647, 1};  // bytes 737 to 744: the area's node counts
    tyd.replace(737, sizeof counts, reinterpret_cast<const char*>(counts), sizeof counts);
    const std::string path = roadtest::Scratch() + "HUGE.TYD", side = SideFileName(path, "DPT");
    ASSERT_TRUE(CTydDoc().OnSaveDocument(roadtest::Scratch() + "EMPTY.TYD"));
    const std::string noMesh = roadtest::ReadAll(roadtest::Scratch() + "EMPTY.DPT");
    CTydView::SetDialogRunner([](CDialogModel&) { return IDOK; });
    for (const char* reason : {docmsg::kMeshFileMissing, docmsg::kCannotOpen, docmsg::kMeshFileEmpty}) {
        std::filesystem::remove(side);
        if (reason == docmsg::kCannotOpen) std::filesystem::create_directory(side);
        if (reason == docmsg::kMeshFileEmpty) roadtest::WriteAll(side, noMesh);
        roadtest::WriteAll(path, tyd);
        CTydDoc huge;
        ui.Clear();
        ui.PushAnswer(IDCANCEL);
        EXPECT_FALSE(huge.OnOpenDocument(path));
        ASSERT_TRUE(huge.OnOpenDocument(path));
        const std::string said = ui.Messages().empty() ? "" : ui.Messages()[0].text;
        EXPECT_EQ(said.rfind(path + "\n" + side + "\n" + reason, 0), 0u) << said;
        EXPECT_EQ(testsupport::EnglishWords(said), std::vector<std::string>()) << said;
        EXPECT_EQ(huge.m_info.m_nCalcState, kCalcNoMesh);
        ViewOnHost w(huge);
        roadtest::AddressSpaceRoom room(std::uint64_t{1} << 30);
        for (int id : CTydView::CommandIds()) EXPECT_NO_THROW(w.view.Execute(id)) << id;
        CRecordingDC dc(800, 600);
        EXPECT_NO_THROW({
            w.view.OnDraw(dc);
            if (w.view.PreparePrinting()) w.view.EndPrinting();
        });
    }
    CTydView::SetDialogRunner(nullptr);
}

// A message box logged among the wait box's events.
class EventUi : public ScriptedUi {
public:
    explicit EventUi(std::vector<std::string>& events) : m_events(events) {}
    int MessageBox(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) override {
        m_events.push_back("message " + text.substr(0, text.find('\n')));
        return ScriptedUi::MessageBox(text, caption, buttons, icon);
    }

private:
    std::vector<std::string>& m_events;
};

// The wait box stands around the reading of the result file only: it shows once the file
// is open and closes before any message of the loader (the load's own, the refusal of a
// file that does not fit); a refusal before the file is read, or no file, shows none. A
// loaded document reading the results of a batch run shows it too.
TEST_F(TydViewTest, ResultWaitBoxStandsOnlyAroundReadingTheResultFile) {
    g_tikInf.Init();
    roadtest::SetMesh(doc, 2, 3, roadtest::TinyDepths());
    doc.m_info.m_dH0 = 2.0;
    doc.m_info.m_nDirMode = 1;
    doc.m_info.m_dDirAngle = 100.0;  // code 0 in an unturned view
    doc.m_info.m_bFreeRotation = 1;
    doc.m_mesh.SetWaveHeight(2.0);
    doc.m_nRunOrientation = 0;
    ViewOnHost w(doc);
    roadtest::Triangulate(w.view);
    std::vector<std::string> events;
    w.host.events = &events;
    EventUi eventUi(events);
    ScopedUi scopedEvents(&eventUi);

    const std::string kka = doc.SideFile("KKA");
    const std::string loaded = std::string("message ") + calcmsg::kLoadedSaving;
    const std::string bad = std::string("message ") + calcmsg::kBadResultFile;
    struct Case {
        const char* name;
        int state;
        std::string file;  // the result file; empty: none
        bool marker;
        bool running;
        int command;
        std::vector<std::string> expected;
    } cases[] = {
        {"no result file yet", kCalcStarted, "", false, false, 32842, {}},
        {"the run still going on", kCalcStarted, roadtest::TinyKka(0), false, true, 32842,
         {"message 現在【VIEW】を計算中です"}},
        {"no depths", kCalcNoMesh, roadtest::TinyKka(0), false, false, 32842,
         {std::string("message ") + calcmsg::kNeedDepths}},
        {"a file that does not fit", kCalcStarted, roadtest::TinyKka(0, 5), false, false, 32842,
         {"box shown", "box closed", bad}},
        {"the results loaded by the result contours", kCalcStarted, roadtest::TinyKka(0), false, false, 32842,
         {"box shown", "box closed", loaded}},
        {"already loaded", kCalcResults, roadtest::TinyKka(0), false, false, 32842, {}},
        {"a batch run of a loaded document", kCalcResults, roadtest::TinyKka(0, -1, 0.0, 5.0), true, false, 32842,
         {"box shown", "box closed", loaded}},
        {"the results loaded by the result file output", kCalcStarted, roadtest::TinyKka(0), false, false, 32889,
         {"box shown", "box closed", loaded}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        events.clear();
        doc.m_info.m_nCalcState = c.state;
        DeleteFileSilently(kka);
        if (!c.file.empty()) roadtest::WriteAll(kka, c.file);
        DeleteFileSilently(doc.SideFile("YNO"));
        if (c.marker) roadtest::WriteAll(doc.SideFile("YNO"), "2\r\n");
        roadtest::WriteAll(StartFolderFile("CALC.DAT"), "0\r\n");
        std::unique_ptr<testsupport::LockHolder> run;
        if (c.running)
            run = std::make_unique<testsupport::LockHolder>(testsupport::RunStarted(StartFolder(), "VIEW"));
        ASSERT_TRUE(w.view.Execute(c.command));
        EXPECT_EQ(events, c.expected);
    }
}

}  // namespace
}  // namespace wv
