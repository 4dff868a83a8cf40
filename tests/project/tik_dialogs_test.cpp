// The project view's input dialogs as models: their forms by mode, the rounding and
// reformatting of the edits, and the two dialogs that register points themselves.
#include "tik_edit_test_util.h"

#include "project/tik_dialogs.h"

namespace wv::test {
namespace {

using TikDialogs = TikEditFixture;

TEST_F(TikDialogs, PointDialogRoundsAndRegistersOnce) {
    int registered = 0;
    CPointCoordDlg dlg(&S());
    dlg.m_onRegistered = [&] { ++registered; };
    dlg.InitDialog();
    EXPECT_EQ(dlg.Caption(), "点追加");
    EXPECT_EQ(dlg.GetText(IDOK), "登録");
    dlg.SetText(CPointCoordDlg::kX, "12.34567");
    dlg.FocusOut(CPointCoordDlg::kX);
    EXPECT_EQ(dlg.GetText(CPointCoordDlg::kX), "12.346");
    dlg.SetText(CPointCoordDlg::kY, "1");
    dlg.Click(IDOK);
    dlg.Click(IDOK);
    EXPECT_EQ(g_surveyPoints.GetCount(), 1);
    EXPECT_EQ(registered, 1);
    EXPECT_EQ(g_surveyPoints.GetAt(0).GetPos(), (CPointD{12.346, 1.0}));
    EXPECT_EQ(dlg.Result(), 0) << "stays open";
    // Enter in an edit that was never left registers what it shows, rounded.
    dlg.SetText(CPointCoordDlg::kY, "-2.00049");
    dlg.Enter(CPointCoordDlg::kY);
    EXPECT_EQ(dlg.GetText(CPointCoordDlg::kY), "-2.000");
    EXPECT_EQ(g_surveyPoints.GetAt(1).GetPos(), (CPointD{12.346, -2.0}));
}

TEST_F(TikDialogs, DefaultButtonTakesAnEditNotLeft) {
    CPointCoordDlg dlg(&S());
    dlg.InitDialog();
    dlg.SetText(CPointCoordDlg::kX, "5.55555");
    dlg.SetText(CPointCoordDlg::kY, "6.66666");
    dlg.Click(IDOK);
    EXPECT_EQ(g_surveyPoints.GetAt(0).GetPos(), (CPointD{5.556, 6.667}));
    EXPECT_EQ(dlg.GetText(CPointCoordDlg::kX), "5.556");
}

TEST_F(TikDialogs, PointRegisteredFromTheCommandMarksModified) {
    host.dialogs.push_back([](CDialogModel& d) {
        d.SetText(CPointCoordDlg::kX, "10");
        d.SetText(CPointCoordDlg::kY, "20");
        d.Click(IDOK);
        d.Click(IDCANCEL);
    });
    editor.OnCommand(32792);
    EXPECT_EQ(g_surveyPoints.GetCount(), 1);
    EXPECT_EQ(host.modified, 1);
    EXPECT_EQ(S().m_nMode, 0);
}

TEST_F(TikDialogs, EleventhOutputPointGivesTheLimitMessage) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    CSansyutuCoordDlg dlg(&S());
    dlg.InitDialog();
    EXPECT_EQ(dlg.Caption(), "算出点追加");
    for (int i = 0; i < 11; ++i) {
        dlg.SetText(CSansyutuCoordDlg::kX, std::to_string(10 * i));
        dlg.SetText(CSansyutuCoordDlg::kY, "0");
        dlg.Click(IDOK);
    }
    EXPECT_EQ(g_calcPoints.GetCount(), 10);
    ASSERT_EQ(dlg.Messages().size(), 1u);
    EXPECT_EQ(dlg.Messages()[0].text, "算出点の登録数は上限値(10)に達しています。");
    EXPECT_EQ(dlg.Messages()[0].caption, "ｴﾗｰ");
    // Edit form in mode 143.
    S().m_nMode = 143;
    CSansyutuCoordDlg edit(&S());
    edit.InitDialog();
    EXPECT_EQ(edit.Caption(), "算出点座標編集");
    EXPECT_EQ(edit.GetText(IDOK), "OK");
}

TEST_F(TikDialogs, HeightEditsShowOneDecimal) {
    CHeightValueDlg dlg;
    dlg.m_dHeight = 2.0;
    dlg.InitDialog();
    EXPECT_EQ(dlg.GetText(CHeightValueDlg::kHeight), "2.0");
    dlg.SetText(CHeightValueDlg::kHeight, "1.26");
    dlg.FocusOut(CHeightValueDlg::kHeight);
    EXPECT_EQ(dlg.GetText(CHeightValueDlg::kHeight), "1.3");
    dlg.Click(IDOK);
    EXPECT_DOUBLE_EQ(dlg.m_dHeight, 1.3);
}

TEST_F(TikDialogs, ValueDialogByMode) {
    struct Case { int mode; const char* caption; const char* label; bool readOnly; } cases[] = {
        {380, "伸縮計算", "伸縮距離（ｍ）", false},
        {351, "測点移動", "移動量（ｍ）", false},
        {33, "計測", "距離（ｍ）", true},
    };
    for (const Case& c : cases) {
        S().m_nMode = c.mode;
        CValueInputDlg dlg(&S());
        dlg.m_dValue = 12.3456;
        dlg.InitDialog();
        EXPECT_EQ(dlg.Caption(), c.caption);
        EXPECT_EQ(dlg.GetText(CValueInputDlg::kLabel), c.label);
        EXPECT_EQ(dlg.GetText(CValueInputDlg::kValue), "12.346");
        EXPECT_EQ(dlg.Find(CValueInputDlg::kValue)->readOnly, c.readOnly);
        bool sel = false;
        EXPECT_EQ(dlg.TakeFocusRequest(&sel), c.readOnly ? IDOK : -1);
    }
}

TEST_F(TikDialogs, GroundHeightLocksAndTypes) {
    // Terrain line a-b; b also ends a depth line.
    const int a = Point(0, 0, 1.25), b = Point(10, 0, -3.0), c = Point(20, 0, -3.0);
    const int l = Line(a, b, kLineTerrain, 0, 0.0);
    Line(b, c, kLineDepth, 0, -3.0);
    UpdatePointLineLinks(kLinksAll);
    struct Case { int mode; int kind, type; int startType; bool lockEnd; bool heightOn, validOn, invalidOn; } cases[] = {
        {50, kLineTerrain, 2, 2, true, true, true, true},
        {58, kLineTerrain, 0, 1, false, false, true, true},
        {55, kLineTerrain, 1, 0, true, true, false, false},
        {133, kLineAuxiliary, 2, 1, true, true, true, false},
        {133, kLineTerrain, 1, 0, true, true, true, false},
    };
    for (const Case& k : cases) {
        CLineZokusei z = g_lines.GetAt(l);
        z.SetKind(k.kind);
        z.SetHeightType(k.type);
        g_lines.SetAt(l, z);
        S().m_nMode = k.mode;
        S().m_nSelIndex = l;
        S().m_nPoint1 = a;
        S().m_nPoint2 = b;
        CGroundHeightDlg dlg(&S());
        dlg.InitDialog();
        EXPECT_EQ(dlg.m_nType, k.startType) << k.mode;
        EXPECT_EQ(dlg.IsEnabled(CGroundHeightDlg::kTypeHeight), k.heightOn) << k.mode;
        EXPECT_EQ(dlg.IsEnabled(CGroundHeightDlg::kTypeValid), k.validOn) << k.mode;
        EXPECT_EQ(dlg.IsEnabled(CGroundHeightDlg::kTypeInvalid), k.invalidOn) << k.mode;
        EXPECT_EQ(dlg.GetText(CGroundHeightDlg::kStart), "1.2");
        if (k.heightOn) {
            dlg.Click(CGroundHeightDlg::kTypeHeight);
            EXPECT_TRUE(dlg.IsEnabled(CGroundHeightDlg::kStart));
            EXPECT_EQ(dlg.IsEnabled(CGroundHeightDlg::kEnd), !k.lockEnd) << k.mode;
        }
        if (k.validOn) {
            dlg.Click(CGroundHeightDlg::kTypeValid);
            EXPECT_FALSE(dlg.IsEnabled(CGroundHeightDlg::kStart));
            EXPECT_FALSE(dlg.IsEnabled(CGroundHeightDlg::kEnd));
        }
    }
}

}  // namespace
}  // namespace wv::test
