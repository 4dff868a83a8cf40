// The terrain-conditions dialog without widgets: output-point rows, the tolerances, the
// rotation range and the exchange order of the rows.
#include "core/sansyutu.h"
#include "core/terrain_cond_dlg.h"
#include "core/tik_inf.h"

#include <gtest/gtest.h>

namespace wv {
namespace {

using D = CTerrainCondDlg;

class TerrainCond : public ::testing::Test {
protected:
    void SetUp() override {
        m_points.Reset();
        m_points.Add(100.0, 200.0);  // slot 0 in use
        m_points.Add(300.0, 400.0);  // slot 1 in use
        m_points.RemoveAt(1);        // slot 1 free, name and position kept
        m_tik.m_dTolTablet = 1.5;
        m_tik.m_dNorth = 7.26;
        m_tik.m_dRotation = -30.0;
    }
    ScriptedUi m_ui;
    ScopedUi m_scope{&m_ui};
    CTik_Inf m_tik;
    CSansyutu m_points;
};

TEST_F(TerrainCond, RowsShowTheTableAndTheRowRuleEnablesThem) {
    D d;
    d.LoadFrom(m_tik, m_points);
    d.InitDialog();
    EXPECT_EQ(d.GetText(D::kNorth), "7.3");
    EXPECT_EQ(d.GetText(D::kRotation), "30");
    EXPECT_EQ(d.GetText(D::NameId(1)), "1");
    EXPECT_EQ(d.GetText(D::XId(1)), "100.000");
    EXPECT_EQ(d.GetText(D::YId(2)), "400.000");
    EXPECT_EQ(d.GetCheck(D::CheckId(1)), 1);
    EXPECT_EQ(d.GetCheck(D::CheckId(2)), 0);
    EXPECT_EQ(d.Find(D::NameId(10))->byteLimit, 15);
    for (int id : {D::NameId(1), D::XId(1), D::YId(1)}) EXPECT_TRUE(d.IsEnabled(id));
    for (int id : {D::NameId(2), D::XId(2), D::YId(2), D::NameId(10)}) EXPECT_FALSE(d.IsEnabled(id));
    d.Click(D::CheckId(2));
    EXPECT_TRUE(d.IsEnabled(D::YId(2)));
    d.Click(D::CheckId(1));
    EXPECT_FALSE(d.IsEnabled(D::XId(1)));
    EXPECT_EQ(d.GetText(D::XId(1)), "100.000");  // contents stay
}

TEST_F(TerrainCond, AnUntickedRowKeepsItsNameAndPosition) {
    D d;
    d.LoadFrom(m_tik, m_points);
    d.InitDialog();
    d.Click(D::CheckId(1));
    d.Click(IDOK);
    ASSERT_EQ(d.Result(), IDOK);
    CTik_Inf tik;
    CSansyutu points;
    d.StoreTo(tik, points);
    EXPECT_EQ(points.GetAt(0).GetUse(), 0);
    EXPECT_EQ(points.GetAt(0).GetName(), "1");
    EXPECT_EQ(points.GetAt(0).GetPos(), CPointD(100.0, 200.0));
    EXPECT_EQ(points.GetAt(1).GetPos(), CPointD(300.0, 400.0));
    EXPECT_EQ(points.GetCount(), 0);
    // The tablet tolerance of 1.5 mm showed as 1 and comes back as 1.0.
    EXPECT_EQ(d.GetText(D::kTolTablet), "1");
    EXPECT_EQ(tik.m_dTolTablet, 1.0);
    EXPECT_EQ(tik.m_dNorth, 7.3);
    EXPECT_EQ(tik.m_dRotation, -30.0);
}

TEST_F(TerrainCond, RotationRangeAndNorthReformat) {
    struct Case { const char* rotation; bool ok; };
    for (const Case& k : {Case{"360", false}, Case{"-1", false}, Case{"0", true}, Case{"359", true}}) {
        SCOPED_TRACE(k.rotation);
        m_ui.Clear();
        D d;
        d.LoadFrom(m_tik, m_points);
        d.InitDialog();
        d.SetText(D::kRotation, k.rotation);
        d.SetText(D::kNorth, "12.34");
        d.FocusOut(D::kNorth);
        EXPECT_EQ(d.GetText(D::kNorth), "12.3");
        d.Click(IDOK);
        EXPECT_EQ(d.Result(), k.ok ? IDOK : 0);
        if (k.ok) EXPECT_EQ(d.m_dNorth, 12.3);
        else EXPECT_EQ(m_ui.Messages().at(0).text, "0 から 359 までの整数を入力してください。");
    }
}

TEST_F(TerrainCond, RowsAreExchangedOneTenTwoToNine) {
    D d;
    d.LoadFrom(m_tik, m_points);
    d.InitDialog();
    for (int r = 1; r <= 10; ++r) d.SetText(D::NameId(r), "n" + std::to_string(r));
    d.SetText(D::XId(1), "5");
    d.SetText(D::NameId(3), "あいうえおかきく");  // 16 bytes
    d.Click(IDOK);
    EXPECT_EQ(d.Result(), 0);
    EXPECT_EQ(d.TakeFocusRequest(nullptr), D::NameId(3));
    EXPECT_EQ(m_ui.Messages().at(0).text, "15 バイト（全角は 2 バイト）以内で入力してください。");
    // Before the failure: row 1, the check boxes, row 10 and row 2; after it: the rest.
    EXPECT_EQ(d.m_strName[0], "n1");
    EXPECT_EQ(d.m_strName[9], "n10");
    EXPECT_EQ(d.m_strName[1], "n2");
    EXPECT_EQ(d.m_strName[3], "4");
    EXPECT_EQ(d.m_dX[0], 100.0);
    EXPECT_EQ(d.m_dNorth, 7.3);
}

}  // namespace
}  // namespace wv
