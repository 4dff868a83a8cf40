// The drawing-conditions dialog without widgets, and the frame-size rule it shares with
// the calculation view.
#include "core/draw_cond_dlg.h"
#include "core/frame_size.h"
#include "core/zmn_inf.h"

#include <gtest/gtest.h>

#include <climits>

namespace wv {
namespace {

using D = CDrawCondDlg;

TEST(FrameSize, PaperLessMarginsNeverNegative) {
    struct Case { int paper, orient, top, bottom, right, left, h0, w0, h, w; };
    const Case cases[] = {
        {3, 0, 10, 10, 10, 10, -1, -1, 267, 400},   // A3 よこ: the record's defaults
        {3, 1, 10, 10, 10, 10, -1, -1, 390, 277},   // A3 たて
        {0, 0, 0, 0, 0, 0, 0, 0, 831, 1189},
        {10, 1, 5, 5, 5, 5, 0, 0, 237, 172},        // B5 たて
        {4, 0, 500, 10, 10, 10, 7, 7, 0, 277},      // too-wide margins give 0
        {4, 0, 10, 10, 300, 10, 7, 7, 180, 0},
        {4, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 7, 7, 0, 0},  // no wrap round
        {4, 0, -100, 0, 0, 0, 7, 7, 300, 297},      // negative margins widen the frame
        {11, 0, 10, 10, 10, 10, 50, -3, 50, 0},     // no such paper: kept, negatives raised
        {-1, 0, 10, 10, 10, 10, -8, 60, 0, 60},
        {3, 2, 10, 10, 10, 10, 12, 34, 12, 34},     // no such orientation: kept
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "paper " << k.paper << " orient " << k.orient);
        int h = k.h0, w = k.w0;
        ComputeFrameSize(k.paper, k.orient, k.top, k.bottom, k.right, k.left, h, w);
        EXPECT_EQ(h, k.h);
        EXPECT_EQ(w, k.w);
    }
    CZmn_Inf z;
    z.m_nFrameHeight = z.m_nFrameWidth = 0;
    ApplyFrameSizeRule(z);
    EXPECT_EQ(z.m_nFrameHeight, 267);
    EXPECT_EQ(z.m_nFrameWidth, 400);
}

class DrawCond : public ::testing::Test {
protected:
    void SetUp() override { m_saved = g_zmnInfDefault; }
    void TearDown() override { g_zmnInfDefault = m_saved; }
    ScriptedUi m_ui;
    ScopedUi m_scope{&m_ui};
    CZmn_Inf m_saved;
};

TEST_F(DrawCond, BreakingDisablesTheEquivalentValuesAtOpeningAndAfterRestore) {
    for (int breaking : {0, 1}) {
        SCOPED_TRACE(breaking);
        D d;
        d.LoadFrom(CZmn_Inf());
        d.m_bDocBreaking = breaking;
        d.InitDialog();
        EXPECT_EQ(d.IsEnabled(D::kValueEquiv), breaking == 0);
        EXPECT_EQ(d.IsEnabled(D::kValueEquivRatio), breaking == 0);
        EXPECT_TRUE(d.IsEnabled(D::kValueRatio));
        d.Enable(D::kValueEquiv, true);
        d.Click(D::kRestoreDefaults);
        EXPECT_EQ(d.IsEnabled(D::kValueEquiv), breaking == 0);
    }
}

TEST_F(DrawCond, SwitchesEnableTheirControlsAndKeepValues) {
    CZmn_Inf z;
    z.m_bDrawContour = 0;
    z.m_bFillLand = 1;
    z.m_bColorContour = 1;
    z.m_nContourColor = 1;
    D d;
    d.LoadFrom(z);
    d.InitDialog();
    for (int id : {D::kContValueGroup, D::kContValueOff, D::kContValueOn}) EXPECT_FALSE(d.IsEnabled(id));
    EXPECT_TRUE(d.IsEnabled(D::kLandColor));
    EXPECT_TRUE(d.IsEnabled(D::kColorWhite));
    d.Click(D::kContourOn);
    EXPECT_TRUE(d.IsEnabled(D::kContValueOn));
    d.Click(D::kFillOff);
    EXPECT_FALSE(d.IsEnabled(D::kLandColor));
    // Clearing the colour contour disables the line colour, whose value stays.
    d.Click(D::kFigColorContour);
    for (int id : {D::kColorGroup, D::kColorBlack, D::kColorWhite}) EXPECT_FALSE(d.IsEnabled(id));
    d.Click(IDOK);
    ASSERT_EQ(d.Result(), IDOK);
    EXPECT_EQ(d.m_bColorContour, 0);
    EXPECT_EQ(d.m_nContourColor, 1);
    EXPECT_EQ(d.m_bDrawContour, 1);
    EXPECT_EQ(d.m_bFillLand, 0);
}

TEST_F(DrawCond, CentreReformatsAndTheReformattedValueComesBack) {
    D d;
    d.LoadFrom(CZmn_Inf());
    d.InitDialog();
    EXPECT_EQ(d.GetText(D::kCenterX), "0.000");
    EXPECT_EQ(d.GetText(D::kContTextSize), "2.5");
    d.SetText(D::kCenterX, "12.34567");
    d.FocusOut(D::kCenterX);
    EXPECT_EQ(d.GetText(D::kCenterX), "12.346");
    d.SetText(D::kVectorMax, "inf");
    d.FocusOut(D::kVectorMax);
    EXPECT_EQ(d.GetText(D::kVectorMax), "0.0");
    d.Click(IDOK);
    ASSERT_EQ(d.Result(), IDOK);
    EXPECT_EQ(d.m_dCenterX, 12.346);
    EXPECT_EQ(d.m_dVectorMax, 0.0);
}

TEST_F(DrawCond, RoundTripKeepsEveryFieldAndTheOtherMaskBits) {
    CZmn_Inf z;
    z.m_strRemark = "\x94\xf5\x8d\x6c";  // 備考
    z.m_nPaperSize = 8;
    z.m_nPaperOrient = 1;
    z.m_nMarginLeft = 15;
    z.m_nScale = 2500;
    z.m_nValueType = 2;
    z.m_nFigureMask = 4 | 2;
    z.m_bVectorFigure = 1;
    z.m_bCheckMap = 1;
    z.m_dDirTextSize = 3.5;
    z.m_nDecimals = 3;
    z.m_nLandColor = 6;
    D d;
    d.LoadFrom(z);
    d.InitDialog();
    EXPECT_EQ(d.GetText(D::kRemark), "備考");
    EXPECT_EQ(d.GetIndex(D::kPaperSize), 8);
    EXPECT_EQ(d.GetIndex(D::kPaperOrient), 1);
    EXPECT_EQ(d.GetCheck(D::kFigContour), 1);
    EXPECT_EQ(d.GetCheck(D::kFigMap), 0);
    EXPECT_EQ(d.GetCheck(D::kValueEquiv), 1);
    d.Click(IDOK);
    ASSERT_EQ(d.Result(), IDOK);
    CZmn_Inf back = z;
    back.m_nFrameHeight = 1;  // the rule is the caller's; the dialog leaves the frame alone
    d.StoreTo(back);
    back.m_nFrameHeight = z.m_nFrameHeight;
    EXPECT_EQ(back, z);
}

TEST_F(DrawCond, DefaultButtonsCarryOnlyTheDefaultablePart) {
    CZmn_Inf z;
    z.m_strRemark = "abc";
    z.m_nScale = 1000;
    D d;
    d.LoadFrom(z);
    d.InitDialog();
    d.SetIndex(D::kPaperSize, 3);
    d.SetIndex(D::kPaperOrient, 1);
    d.SetText(D::kMarginTop, "20");
    d.SetText(D::kScale, "7777");
    d.SetText(D::kDecimals, "4");
    d.Click(D::kSetDefaults);
    EXPECT_EQ(g_zmnInfDefault.m_nPaperOrient, 1);
    EXPECT_EQ(g_zmnInfDefault.m_nMarginTop, 20);
    EXPECT_EQ(g_zmnInfDefault.m_nDecimals, 4);
    EXPECT_EQ(g_zmnInfDefault.m_nScale, m_saved.m_nScale);
    EXPECT_EQ(g_zmnInfDefault.m_nFrameHeight, 420 - 40);  // the rule ran on the defaults
    EXPECT_EQ(g_zmnInfDefault.m_nFrameWidth, 297 - 20);

    // Restore leaves the remark, scale, centre, value and figures as the user left them.
    g_zmnInfDefault.m_nDecimals = 1;
    g_zmnInfDefault.m_dContTextSize = 4.0;
    d.SetText(D::kRemark, "新しい");
    d.SetText(D::kCenterX, "5");
    d.Click(D::kValueRatio);
    d.Click(D::kFigVector);
    d.Click(D::kRestoreDefaults);
    EXPECT_EQ(d.GetText(D::kDecimals), "1");
    EXPECT_EQ(d.GetText(D::kContTextSize), "4.0");
    EXPECT_EQ(d.GetText(D::kRemark), "新しい");
    EXPECT_EQ(d.GetText(D::kScale), "7777");
    EXPECT_EQ(d.GetText(D::kCenterX), "5.000");
    EXPECT_EQ(d.GetCheck(D::kValueRatio), 1);
    EXPECT_EQ(d.GetCheck(D::kFigVector), 1);

    // A margin that is no integer: OK stays, the default buttons do nothing.
    const CZmn_Inf before = g_zmnInfDefault;
    d.SetText(D::kMarginLeft, "1O");
    d.SetText(D::kDecimals, "9");
    d.Click(D::kSetDefaults);
    EXPECT_EQ(g_zmnInfDefault, before);
    d.Click(IDOK);
    EXPECT_EQ(d.Result(), 0);
    EXPECT_EQ(m_ui.Messages().size(), 2u);
}

}  // namespace
}  // namespace wv
