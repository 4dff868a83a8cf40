// The wave-conditions dialog without widgets: the mesh rescale, the count rule, the OK
// checks in order, the rotation range, Smax as a whole number, and the default buttons.
#include "core/cal_area.h"
#include "core/tyd_inf.h"
#include "core/wave_cond_dlg.h"
#include "core/zmn_inf.h"

#include <gtest/gtest.h>

#include <climits>

namespace wv {
namespace {

using D = CWaveCondDlg;

// The application-wide defaults are shared by every test of the process: each test that
// touches them puts them back.
class WaveCond : public ::testing::Test {
protected:
    void SetUp() override {
        m_tyd = g_tydInfDefault;
        m_zmn = g_zmnInfDefault;
        m_area = g_calcAreaDefault;
        m_ui.Clear();
    }
    void TearDown() override {
        g_tydInfDefault = m_tyd;
        g_zmnInfDefault = m_zmn;
        g_calcAreaDefault = m_area;
    }
    // A dialog on a 101 x 101 area at 10 m and the records' defaults otherwise.
    static void Fill(D& d, int countX = 101, int countY = 101, double pitch = 10.0) {
        CTyd_Inf tyd;
        CCalArea area;
        area.SetMeshCountX(countX);
        area.SetMeshCountY(countY);
        area.SetMeshSize(pitch);
        d.LoadFrom(tyd, area);
        d.m_nRotation = 0;
    }
    std::vector<MessageRecord> Messages() const { return m_ui.Messages(); }

    ScriptedUi m_ui;
    ScopedUi m_scope{&m_ui};
    CTyd_Inf m_tyd;
    CZmn_Inf m_zmn;
    CCalArea m_area;
};

TEST(MeshRescale, KeepsTheExtentAndLeavesUnsetAreasUnset) {
    struct Case { int count; double from, to; int expect; };
    const Case cases[] = {
        {101, 10.0, 20.0, 51},   // 100 x 10 / 20 + 0.9 = 50.9
        {101, 20.0, 10.0, 201},
        {101, 10.0, 10.0, 101},
        {11, 10.0, 3.0, 35},     // 33.33 + 0.9 = 34.23
        {1, 10.0, 20.0, 1},
        {0, 10.0, 20.0, 0},      // an unset area stays unset
        {-5, 10.0, 20.0, 0},
        {101, 10.0, 0.0, 0},
        {101, 10.0, -10.0, 0},   // -100 + 0.9, truncated -99, plus 1: negative
        {2, 10.0, 1e-300, 0},    // beyond int
        {INT_MAX, 10.0, 1.0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.count << " at " << k.from << " -> " << k.to);
        EXPECT_EQ(RescaleMeshCount(k.count, k.from, k.to), k.expect);
    }
}

TEST_F(WaveCond, PitchFocusOutRescalesBothAxes) {
    D d;
    Fill(d, 101, 61);
    d.InitDialog();
    EXPECT_EQ(d.GetText(D::kPitch), "10.0");
    d.SetText(D::kPitch, "20");
    d.FocusOut(D::kPitch);
    EXPECT_EQ(d.GetText(D::kPitch), "20.0");
    EXPECT_EQ(d.GetText(D::kCountX), "51");
    EXPECT_EQ(d.GetText(D::kCountY), "31");
    EXPECT_EQ(d.m_nMeshCountX, 51);
    EXPECT_EQ(d.m_dPrevPitch, 20.0);
    // Back to 10 from the new base.
    d.SetText(D::kPitch, "10");
    d.FocusOut(D::kPitch);
    EXPECT_EQ(d.GetText(D::kCountX), "101");
    // A typed count becomes the base of its axis.
    d.SetText(D::kCountX, "81");
    d.FocusOut(D::kCountX);
    EXPECT_EQ(d.m_nPrevCountX, 81);
    d.SetText(D::kPitch, "20");
    d.FocusOut(D::kPitch);
    EXPECT_EQ(d.GetText(D::kCountX), "41");
    // A pitch that reads 0.0 sets both counts to 0.
    d.SetText(D::kPitch, "abc");
    d.FocusOut(D::kPitch);
    EXPECT_EQ(d.GetText(D::kPitch), "0.0");
    EXPECT_EQ(d.GetText(D::kCountX), "0");
    EXPECT_EQ(d.GetText(D::kCountY), "0");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(WaveCond, TabbingThroughThePitchKeepsAnUnsetAreaUnset) {
    D d;
    Fill(d, 0, 0, 10.0);
    d.InitDialog();
    d.FocusOut(D::kPitch);
    d.SetText(D::kPitch, "5");
    d.FocusOut(D::kPitch);
    EXPECT_EQ(d.GetText(D::kCountX), "0");
    EXPECT_EQ(d.GetText(D::kCountY), "0");
}

TEST_F(WaveCond, AFailedExchangeStopsTheRescale) {
    D d;
    Fill(d);
    d.InitDialog();
    d.SetText(D::kSmax, "1.5");
    d.SetText(D::kPitch, "20");
    d.FocusOut(D::kPitch);
    EXPECT_EQ(d.GetText(D::kPitch), "20.0");  // reformatted before the exchange
    EXPECT_EQ(d.GetText(D::kCountX), "101");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "整数を入力してください。");
    EXPECT_EQ(d.TakeFocusRequest(nullptr), D::kSmax);
}

TEST_F(WaveCond, OkChecksRunInOrderAndRefuseDivisionsBelowOne) {
    struct Case {
        int dirDiv, freqDiv;
        const char* pitch;
        int countX;
        const char* text;     // nullptr: accepted
        const char* caption;
    };
    const Case cases[] = {
        {0, 0, "0.0", -1, "方向分割数は正数を指定して下さい。", "主波向きの諸元"},
        {-1, 7, "10.0", 0, "方向分割数は正数を指定して下さい。", "主波向きの諸元"},
        {45, 0, "0.0", -1, "周期分割数は正数を指定して下さい。", "主波向きの諸元"},
        {45, 7, "0.00009", -1, "ﾒｯｼｭﾋﾟｯﾁは正数を指定して下さい。", "計算領域"},
        {45, 7, "10.0", -1, "ﾒｯｼｭ数は正数を指定して下さい。", "計算領域"},
        {1, 1, "0.0001", 0, nullptr, nullptr},   // node counts of 0: an unset area
        {45, 7, "10.0", 101, nullptr, nullptr},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.dirDiv << " " << k.freqDiv << " " << k.pitch << " " << k.countX);
        m_ui.Clear();
        D d;
        Fill(d);
        d.InitDialog();
        d.SetText(D::kDirDiv, std::to_string(k.dirDiv));
        d.SetText(D::kFreqDiv, std::to_string(k.freqDiv));
        d.SetText(D::kPitch, k.pitch);
        d.SetText(D::kCountX, std::to_string(k.countX));
        d.Click(IDOK);
        if (!k.text) {
            EXPECT_EQ(d.Result(), IDOK);
            EXPECT_TRUE(Messages().empty());
            continue;
        }
        EXPECT_EQ(d.Result(), 0);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].text, k.text);
        EXPECT_EQ(Messages()[0].caption, k.caption);
        EXPECT_EQ(Messages()[0].icon, MbIcon::Warning);
    }
}

// Node counts whose product no calculation file holds are refused with the same limit
// the file's reader keeps; the largest area that fits goes.
TEST_F(WaveCond, OkRefusesNodeCountsNoCalculationFileHolds) {
    const struct {
        int x, y;
        bool fits;
    } cases[] = {{65536, 65536, false}, {46341, 46341, false}, {2147483647, 2, false}, {46341, 46340, true},
                 {2147483647, 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " x " << c.y);
        m_ui.Clear();
        D d;
        Fill(d, c.x, c.y);
        d.InitDialog();
        d.Click(IDOK);
        EXPECT_EQ(d.Result(), c.fits ? IDOK : 0);
        ASSERT_EQ(Messages().size(), c.fits ? 0u : 1u);
        if (!c.fits) {
            EXPECT_EQ(Messages()[0].text, "ﾒｯｼｭ数が多すぎます。縦×横が2147483647以下になるように指定して下さい。");
        }
    }
}

TEST_F(WaveCond, RotationRangeHoldsAlsoWhileTheEditIsHidden) {
    for (int freeRotation : {0, 1}) {
        SCOPED_TRACE(freeRotation);
        m_ui.Clear();
        D d;
        Fill(d);
        d.m_bFreeRotation = freeRotation;
        d.InitDialog();
        EXPECT_EQ(d.IsVisible(D::kRotation), freeRotation == 1);
        d.SetText(D::kRotation, "360");
        d.Click(IDOK);
        EXPECT_EQ(d.Result(), 0);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].text, "0 から 359 までの整数を入力してください。");
        d.SetText(D::kRotation, "359");
        d.Click(IDOK);
        EXPECT_EQ(d.Result(), IDOK);
        EXPECT_EQ(d.m_nRotation, 359);
    }
}

TEST_F(WaveCond, SmaxIsAWholeNumber) {
    CTyd_Inf tyd;
    tyd.m_dSmax = 10.7;
    CCalArea area;
    D d;
    d.LoadFrom(tyd, area);
    d.InitDialog();
    EXPECT_EQ(d.GetText(D::kSmax), "10");
    d.Click(IDOK);
    ASSERT_EQ(d.Result(), IDOK);
    d.StoreTo(tyd, area);
    EXPECT_EQ(tyd.m_dSmax, 10.0);
}

TEST_F(WaveCond, LoadFormatsAndStoreGivesTheRecordsBack) {
    CTyd_Inf tyd;
    tyd.m_nDirMode = 1;
    tyd.m_dDirAngle = 15.04;
    tyd.m_dH0 = 2.0;
    tyd.m_dT0 = 8.0;
    tyd.m_dTide = 1.234;
    tyd.m_bBreaking = 1;
    tyd.m_nCalcState = 3;
    CCalArea area;
    area.SetOrigin(1234.56789, -5.0);
    area.SetMeshCountX(240);
    area.SetMeshCountY(200);
    D d;
    d.LoadFrom(tyd, area);
    d.InitDialog();
    EXPECT_EQ(d.GetText(D::kDirAngle), "15.0");
    EXPECT_EQ(d.GetText(D::kH0), "2.00");
    EXPECT_EQ(d.GetText(D::kTide), "1.23");
    EXPECT_EQ(d.GetText(D::kOriginX), "1234.568");
    EXPECT_EQ(d.GetText(D::kSpreadLeft), "90.0");
    EXPECT_EQ(d.GetCheck(D::kBreakingOn), 1);
    // An angle direction: the list and the output sense are off, their values kept.
    EXPECT_FALSE(d.IsEnabled(D::kDir16List));
    EXPECT_TRUE(d.IsEnabled(D::kDirAngle));
    for (int id : {D::kOutSenseGroup, D::kOutSenseLeft, D::kOutSenseRight}) EXPECT_FALSE(d.IsEnabled(id));
    EXPECT_EQ(d.GetCheck(D::kOutSenseLeft), 1);
    d.Click(D::kDirMode16);
    EXPECT_TRUE(d.IsEnabled(D::kDir16List));
    EXPECT_TRUE(d.IsEnabled(D::kOutSenseRight));
    d.Click(D::kDirModeRight);
    EXPECT_FALSE(d.IsEnabled(D::kOutSenseRight));
    d.Click(IDOK);
    ASSERT_EQ(d.Result(), IDOK);
    CTyd_Inf back = tyd;
    CCalArea areaBack;
    d.StoreTo(back, areaBack);
    EXPECT_EQ(back.m_nDirMode, 2);
    EXPECT_EQ(back.m_dDirAngle, 15.0);   // what the edit showed, not the stored 15.04
    EXPECT_EQ(back.m_dTide, 1.23);
    EXPECT_EQ(back.m_nCalcState, 3);     // not the dialog's
    EXPECT_EQ(areaBack.GetOrigin(), CPointD(1234.568, -5.0));
    EXPECT_EQ(areaBack.GetMeshCountX(), 240);
    EXPECT_EQ(areaBack.GetMeshCountY(), 200);
}

TEST_F(WaveCond, SetDefaultsThenCancelKeepsTheNewDefaults) {
    D d;
    Fill(d, 50, 40, 25.0);
    d.m_bFreeRotation = 1;
    d.InitDialog();
    d.SetText(D::kH0, "3.5");
    d.SetText(D::kSmax, "25");
    d.SetText(D::kRotation, "30");
    d.Click(D::kSetDefaults);
    d.Escape();
    EXPECT_EQ(d.Result(), IDCANCEL);
    EXPECT_EQ(g_tydInfDefault.m_dH0, 3.5);
    EXPECT_EQ(g_tydInfDefault.m_dSmax, 25.0);
    EXPECT_EQ(g_tydInfDefault.m_bFreeRotation, 1);
    EXPECT_EQ(g_tydInfDefault.m_nCalcState, m_tyd.m_nCalcState);
    EXPECT_EQ(g_calcAreaDefault.GetMeshCountX(), 50);
    EXPECT_EQ(g_calcAreaDefault.GetMeshCountY(), 40);
    EXPECT_EQ(g_calcAreaDefault.GetMeshSize(), 25.0);
    EXPECT_EQ(g_zmnInfDefault.m_dRotation, -30.0);

    // A failing exchange sets nothing.
    D e;
    Fill(e);
    e.InitDialog();
    e.SetText(D::kH0, "9.0");
    e.SetText(D::kCountX, "x");
    e.Click(D::kSetDefaults);
    EXPECT_EQ(g_tydInfDefault.m_dH0, 3.5);
}

TEST_F(WaveCond, RestoreDefaultsTakesTheRotationOnlyWithFreeRotation) {
    g_tydInfDefault.Init();
    g_tydInfDefault.m_dSmax = 10.7;
    g_tydInfDefault.m_dH0 = 1.5;
    g_tydInfDefault.m_bFreeRotation = 0;
    g_zmnInfDefault.m_dRotation = -45.0;
    g_calcAreaDefault.SetMeshCountX(7);
    D d;
    Fill(d);
    d.m_bFreeRotation = 1;
    d.m_nRotation = 20;
    d.InitDialog();
    d.Click(D::kRestoreDefaults);
    EXPECT_EQ(d.GetText(D::kH0), "1.50");
    EXPECT_EQ(d.GetText(D::kSmax), "10");
    EXPECT_EQ(d.GetText(D::kCountX), "7");
    EXPECT_EQ(d.m_nPrevCountX, 7);
    EXPECT_EQ(d.GetText(D::kRotation), "20");  // as it was, and now hidden
    EXPECT_FALSE(d.IsVisible(D::kRotation));

    g_tydInfDefault.m_bFreeRotation = 1;
    d.Click(D::kRestoreDefaults);
    EXPECT_EQ(d.GetText(D::kRotation), "45");
    EXPECT_TRUE(d.IsVisible(D::kRotation));
}

}  // namespace
}  // namespace wv
