// The project view on screen (offscreen platform): it opens the example bay, QTest clicks
// draw and end a chain, the status panes follow the mouse, a Ctrl+click describes a depth
// line; a scripted run of clicks edits the terrain, the project is saved and read back,
// and a depth line entered through a mesh node reaches the node's depth.
#include "project/qt/tik_view.h"
#include "digitizer_test_util.h"
#include "project/import_dlgs.h"
#include "project/tik_dialogs.h"
#include "project/tik_doc.h"
#include "project/tik_archive.h"
#include "calc/calc_test_util.h"
#include "calcdoc/tyd_doc.h"
#include "draw/mode_prompt.h"
#include "draw/terrain_draw.h"
#include "platform/command_table.h"
#include "platform/files.h"
#include "platform/frame.h"
#include "platform/status_bar.h"
#include "platform/qt/scroll_view_widget.h"

#include <QApplication>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>

namespace wv {
namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "tik_view_qt_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// The real view with its dialogs answered by script (a modal dialog cannot be clicked
// from a test); everything else is the view's own.
class ScriptedTikView : public CTikView {
public:
    using CTikView::CTikView;
    std::deque<std::function<void(CDialogModel&)>> dialogs;
    int RunDialog(CDialogModel& dlg) override {
        dlg.InitDialog();
        if (dialogs.empty()) return IDCANCEL;
        auto script = std::move(dialogs.front());
        dialogs.pop_front();
        script(dlg);
        return dlg.Result() == IDOK ? IDOK : IDCANCEL;
    }
};

std::vector<std::uint8_t> TableBytes() {
    CArchive ar;
    WriteTikArchive(ar, g_tikInf, g_surveyPoints, g_lines, g_blocks, g_calcPoints);
    return ar.Bytes();
}

class TikViewQt : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        CTikView::SetPopupsShown(false);
        SetUi(&ui);
        std::filesystem::copy_file(std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY/BAY.TIK", path,
                                   std::filesystem::copy_options::overwrite_existing);
        ASSERT_TRUE(doc.OnOpenDocument(path));
        bar.SetIndicators({{kModePromptPaneId, "", "", true}, {59143, "", "", false}});
        auto v = std::make_unique<ScriptedTikView>(&bar);
        view = v.get();
        widget = std::make_unique<ScrollViewWidget>(view);
        widget->resize(900, 700);
        widget->show();
        QApplication::processEvents();
        frame.CreateChild(doc, std::move(v));
        view->OnCmdMsg(32779, nullptr);  // fit at the window's size
        QApplication::processEvents();
    }
    void TearDown() override {
        widget.reset();
        SetUi(nullptr);
    }
    QPoint ClientOf(double x, double y) {
        int vx, vy;
        view->Editor().State().m_coord.WorldToViewPoint(x, y, &vx, &vy);
        return QPoint(vx - view->ScrollX(), vy - view->ScrollY());
    }
    QWidget* Port() { return widget->viewport(); }
    void Command(int id) { ASSERT_TRUE(view->OnCmdMsg(id, nullptr)) << id; }

    std::string path = "BAYEDIT.TIK";
    ScriptedUi ui;
    CTikDoc doc;
    CStatusBar bar;
    CMDIFrameWnd frame;
    ScriptedTikView* view = nullptr;
    std::unique_ptr<ScrollViewWidget> widget;
};

TEST_F(TikViewQt, OpensTheBayWithLinesInTheColoursOfTheirKinds) {
    const QImage& img = view->WindowImage();
    ASSERT_FALSE(img.isNull());
    // One line of each kind in the example, sampled at its midpoint.
    for (int kind : {kLineTerrain, kLineDepth, kLineAuxiliary}) {
        int found = -1;
        for (int i = 0; i < g_lines.GetSlotCount() && found < 0; ++i) {
            const CLineZokusei l = g_lines.GetAt(i);
            if (l.GetState() >= 0 && l.GetKind() == kind && l.GetHeightType() == 0) found = i;
        }
        ASSERT_GE(found, 0) << kind;
        const CLineZokusei l = g_lines.GetAt(found);
        const COLORREF c = LineKindColor(kind, l.GetDepth());
        const QRgb want = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
        const QPoint a = ClientOf(l.GetStartPos().m_dX, l.GetStartPos().m_dY);
        const QPoint b = ClientOf(l.GetEndPos().m_dX, l.GetEndPos().m_dY);
        const QPoint m = (a + b) / 2;
        int hits = 0;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (img.rect().contains(m + QPoint(dx, dy)) && (img.pixel(m + QPoint(dx, dy)) & 0xFFFFFF) == (want & 0xFFFFFF))
                    ++hits;
        EXPECT_GT(hits, 0) << "kind " << kind;
    }
    // WAVORA_SHOT_DIR=<folder>: a picture of the view for looking at it, with a depth-line
    // chain picked (highlighted) and a line being drawn.
    if (const char* dir = std::getenv("WAVORA_SHOT_DIR")) {
        Command(32808);
        int depth = -1;
        for (int i = 0; i < g_lines.GetSlotCount() && depth < 0; ++i)
            if (g_lines.GetAt(i).GetState() >= 0 && g_lines.GetAt(i).GetKind() == kLineDepth) depth = i;
        const CLineZokusei l = g_lines.GetAt(depth);
        QTest::mouseClick(Port(), Qt::LeftButton, {}, ClientOf(l.GetStartPos().m_dX, l.GetStartPos().m_dY));
        widget->grab().save(QString::fromUtf8(dir) + "/tik_view.png");
    }
}

TEST_F(TikViewQt, ClicksAddAChainAndTheRightButtonEndsIt) {
    const int points = g_surveyPoints.GetCount(), lines = g_lines.GetCount();
    Command(32784);
    // On land, well away from the survey points.
    for (auto [x, y] : {std::pair{200.0, 0.0}, {300.0, 20.0}, {400.0, 0.0}})
        QTest::mouseClick(Port(), Qt::LeftButton, {}, ClientOf(x, y));
    EXPECT_EQ(view->Editor().State().m_nMode, 201);
    QTest::mouseClick(Port(), Qt::RightButton, {}, ClientOf(500, 0));
    EXPECT_EQ(view->Editor().State().m_nMode, 200);
    EXPECT_EQ(g_surveyPoints.GetCount(), points + 3);
    EXPECT_EQ(g_lines.GetCount(), lines + 2);
    EXPECT_TRUE(doc.IsModified());
    // Both panes: the world position under the mouse and the mode's prompt.
    QTest::mouseMove(Port(), ClientOf(1000, 1000));
    QApplication::processEvents();
    EXPECT_EQ(bar.GetPaneText(bar.CommandToIndex(59143)), view->PositionPaneText());
    EXPECT_NE(view->PositionPaneText().find('/'), std::string::npos);
    EXPECT_EQ(bar.GetPaneText(bar.CommandToIndex(kModePromptPaneId)), ModePromptText(200));
}

TEST_F(TikViewQt, CtrlClickDescribesADepthLine) {
    int found = -1;
    for (int i = 0; i < g_lines.GetSlotCount() && found < 0; ++i)
        if (g_lines.GetAt(i).GetState() >= 0 && g_lines.GetAt(i).GetKind() == kLineDepth) found = i;
    ASSERT_GE(found, 0);
    const CLineZokusei l = g_lines.GetAt(found);
    const double mx = (l.GetStartPos().m_dX + l.GetEndPos().m_dX) / 2;
    const double my = (l.GetStartPos().m_dY + l.GetEndPos().m_dY) / 2;
    QTest::mouseClick(Port(), Qt::LeftButton, Qt::ControlModifier, ClientOf(mx, my));
    const int near = g_lines.FindNearest(mx, my);
    char text[32];
    std::snprintf(text, sizeof text, "%.1fm", g_lines.GetAt(near).GetDepth());
    EXPECT_EQ(view->LastPopupText(), text);
    EXPECT_EQ(view->Editor().State().m_nMode, 0);
}

TEST_F(TikViewQt, ScriptedEditSavesExactlyAndADepthLineReachesTheMesh) {
    // Two points typed in (the register form, twice, then closed), connected with two
    // clicks, made a depth line of -12 m through the mesh node at (1200, 1400).
    view->dialogs.push_back([](CDialogModel& d) {
        for (auto [x, y] : {std::pair{"1100", "1400"}, {"1300", "1400"}}) {
            d.SetText(CPointCoordDlg::kX, x);
            d.SetText(CPointCoordDlg::kY, y);
            d.Click(IDOK);
        }
        d.Click(IDCANCEL);
    });
    Command(32792);
    const int a = g_surveyPoints.HitTest(1100, 1400, 0.001), b = g_surveyPoints.HitTest(1300, 1400, 0.001);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    Command(32797);
    QTest::mouseClick(Port(), Qt::LeftButton, {}, ClientOf(1100, 1400));
    QTest::mouseClick(Port(), Qt::LeftButton, {}, ClientOf(1300, 1400));
    QTest::mouseClick(Port(), Qt::RightButton, {}, ClientOf(1300, 1400));
    ASSERT_EQ(g_lines.Exists(std::min(a, b), std::max(a, b)), -1);

    Command(32808);
    QTest::mouseClick(Port(), Qt::LeftButton, {}, ClientOf(1200, 1400));
    view->dialogs.push_back([](CDialogModel& d) {
        d.SetText(CHeightValueDlg::kHeight, "-12");
        d.Click(IDOK);
    });
    QTest::mouseClick(Port(), Qt::RightButton, {}, ClientOf(1200, 1400));
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(a).GetDepth(), -12.0);
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(b).GetDepth(), -12.0);

    const std::vector<std::uint8_t> edited = TableBytes();
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_FALSE(doc.IsModified());
    g_surveyPoints.RemoveAll();
    g_lines.RemoveAll();
    CTikDoc again;
    ASSERT_TRUE(again.OnOpenDocument(path));
    EXPECT_EQ(TableBytes(), edited);

    test::ScriptedProgress progress;
    CTydDoc calc;
    calc.m_calcArea.SetOrigin(0.0, 200.0);
    calc.m_calcArea.SetMeshSize(20.0);
    calc.m_calcArea.SetMeshCountX(121);
    calc.m_calcArea.SetMeshCountY(121);
    CTydViewData cv(calc);
    CalcViewFrame f;
    f.originX = 1200.0;
    f.originY = 1400.0;
    f.scale = 0.5;
    ASSERT_EQ(calc.OnCalcDepth(cv, f), 0);
    EXPECT_DOUBLE_EQ(test::NodeDepth(calc, 60, 60), 12.0);
}

TEST(TikViewMenus, ProjectPopupsGoBeforeTheWindowMenuOnce) {
    CommandTable t;
    for (const char* title : {"ファイル(&F)", "表示(&V)", "ウィンドウ(&W)", "ヘルプ(&H)"}) t.Popup(137, title);
    RegisterProjectViewCommands(t, 137, "ウィンドウ(&W)");
    RegisterProjectViewCommands(t, 137, "ウィンドウ(&W)");
    std::vector<std::string> titles;
    for (const MenuPopup& p : t.FindMenu(137)->popups) titles.push_back(p.title);
    const std::vector<std::string> want = {"ファイル(&F)", "表示(&V)", "入力(&I)", "編集(&E)", "属性(&A)",
                                           "算出点(&O)", "地形(&T)", "ウィンドウ(&W)", "ヘルプ(&H)"};
    EXPECT_EQ(titles, want);
    for (int id : CTikEditor::CommandIds()) EXPECT_NE(t.Find(id), nullptr) << id;
    for (int id : {32785, 32896, 32786, 32895, 32787, 32891, 32788, 32789, 32790, 32791})
        EXPECT_NE(t.Find(id), nullptr) << id;
}

TEST_F(TikViewQt, ImportOfAnotherProjectResetsThePicksAndFits) {
    Command(32793);  // crossing mode: line marks made, a first line picked
    view->Editor().State().m_nPoint1 = 3;
    const std::vector<std::uint8_t> before = TableBytes();
    ui.PushFileAnswer(std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY/BAY.TIK");
    Command(32787);
    EXPECT_EQ(TableBytes(), before);
    EXPECT_TRUE(doc.IsModified());
    const TikEditState& s = view->Editor().State();
    EXPECT_EQ(s.m_nMode, 0);
    EXPECT_EQ(s.m_nPoint1, -1);
    EXPECT_FALSE(s.m_lineSel.exists);
    // Cancelled: nothing happens.
    doc.SetModifiedFlag(false);
    Command(32787);
    EXPECT_FALSE(doc.IsModified());
}

// "2D DXF" in the view: the layer list shows each layer's kind, and the lines come in.
TEST_F(TikViewQt, Dxf2DImportShowsTheLayerListAndImportsTheLines) {
    ResetTikData();
    std::vector<std::vector<std::string>> rows;
    view->dialogs.push_back([&](CDialogModel& dlg) {
        ASSERT_EQ(dlg.TemplateId(), 172);
        for (int r = 0; r < dlg.RowCount(kIdcLayerList); ++r) {
            rows.push_back({dlg.GetCell(kIdcLayerList, r, 0), dlg.GetCell(kIdcLayerList, r, 1),
                            dlg.GetCell(kIdcLayerList, r, 2)});
        }
        dlg.SetText(kIdcReference, "10");
        dlg.Enter(kIdcReference);
    });
    ui.PushFileAnswer(std::string(WAVORA_TEST_DATA) + "/project/dxf/r12_lines.dxf");
    Command(32785);
    const std::vector<std::vector<std::string>> want = {
        {"T12_5", "地形線", "12.5"}, {"H3", "水深線", "3.0"}, {"TA1", "未定義", "0.0"}};
    for (const auto& w : want) {
        EXPECT_NE(std::find(rows.begin(), rows.end(), w), rows.end()) << w[0];
    }
    EXPECT_GT(g_lines.GetCount(), 8);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view->Editor().State().m_nMode, 0);
}

// The digitizer in the real view, the test playing the tablet on a pseudo-terminal.
TEST_F(TikViewQt, DigitizerReadsASquareACalibratedPointAndSurvivesALostPort) {
    test::PtyTablet tablet;
    ASSERT_TRUE(tablet.Ok());
    MemoryProfile profile;
    SerialSettings settings;
    settings.device = tablet.Path();
    StoreDigitizerSettings(profile, settings);
    SetDigitizerProfile(&profile);
    ResetTikData();
    g_digiCalib = CDigi_Inf();
    auto pumpUntil = [](const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i) QTest::qWait(10);
        return done();
    };

    // Line reading: a closed square is four points and four lines.
    Command(32790);
    EXPECT_EQ(tablet.Received(), ":P");
    tablet.Send("0,0,1\r\n1000,0,1\r\n1000,1000,1\r\n0,1000,1\r\n5,3,1\r\n");
    ASSERT_TRUE(pumpUntil([] { return g_lines.GetCount() == 4; }));
    EXPECT_EQ(g_surveyPoints.GetCount(), 4);
    EXPECT_TRUE(doc.IsModified());

    // Point reading after a calibration: the reference reading lands on its world point.
    g_digiCalib.Set({1000, 2000}, {500, 700}, 90.0, 500);
    Command(32789);
    tablet.Send("500.0,700.0,1\r\n");
    ASSERT_TRUE(pumpUntil([] { return g_surveyPoints.GetCount() == 5; }));
    bool found = false;
    for (int i = 0; i < g_surveyPoints.GetSlotCount(); ++i) {
        const CSokutenZokusei p = g_surveyPoints.GetAt(i);
        found = found || (p.GetId() >= 0 && p.GetPos() == CPointD(1000.0, 2000.0));
    }
    EXPECT_TRUE(found);

    // The tablet goes away: one message, the reading stops, the points stay.
    ui.Clear();
    tablet.CloseMaster();
    ASSERT_TRUE(pumpUntil([&] { return !ui.Messages().empty(); }));
    QTest::qWait(200);
    EXPECT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].caption, "通信エラー");
    EXPECT_EQ(g_surveyPoints.GetCount(), 5);
    g_digitizerPort.Close();
    SetDigitizerProfile(nullptr);
}

}  // namespace
}  // namespace wv
