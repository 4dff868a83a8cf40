// The calculation view's dialogs without widgets: the result list's rows, position and
// close paths, the height check's levels and marks, the contour conditions' level list,
// the interval dialog's checks and where it stores, the AutoCAD version and the Save As
// dialog's names.
#include "calc/calc_doc_data.h"
#include "calcdoc/calc_dialog_texts.h"
#include "calcdoc/calc_small_dlgs.h"
#include "calcdoc/contour_cond_dlg.h"
#include "calcdoc/digital_map_interval_dlg.h"
#include "calcdoc/height_check_dlg.h"
#include "calcdoc/result_list_dlg.h"
#include "calcdoc_test_util.h"
#include "core/geometry.h"
#include "core/sansyutu.h"
#include "platform/files.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace wv {
namespace {

using roadtest::TestDoc;

// A view that counts its repaints and answers for the result list.
class CountingView : public CTydViewData, public ResultListView {
public:
    explicit CountingView(CTydDocData& doc) : CTydViewData(doc) {}
    void RedrawAll() override { ++redraws; }
    const CTydViewData& ResultListData() const override { return *this; }
    void OnResultListClosed() override { m_bResultListOpen = 0; }
    int redraws = 0;
};

// ---------------------------------------------------------------- result list

class FakeListHost : public ResultListHost {
public:
    explicit FakeListHost(CCalcPointResultDlg& dlg) : m_dlg(dlg) {}
    void CreateWindow() override {
        ++created;
        m_dlg.InitDialog();
    }
    void DestroyWindow() override { ++destroyed; }
    void ActivateWindow() override {}
    void MoveTo(int l, int t) override { left = l, top = t; }
    void GetPosition(int& l, int& t) const override { l = left, t = top; }
    void OwnerTopLeft(int& l, int& t) const override { l = 40, t = 30; }
    int created = 0, destroyed = 0, left = -1, top = -1;

private:
    CCalcPointResultDlg& m_dlg;
};

class Owner : public CMsgTarget {
public:
    long WindowProc(unsigned message, std::uintptr_t, std::intptr_t) override {
        received.push_back(message);
        return 0;
    }
    std::vector<unsigned> received;
};

TEST(ResultListFormats, ValuesDirectionsAndTitles) {
    const struct {
        double value;
        int decimals;
        const char* text;
    } values[] = {{1.234, 2, " 1.23"}, {2.5, 0, " 3"},        {2.49, 0, " 2"},   {12.5, -1, "13"},
                  {0.5, 1, " 0.5"},   {99999999.9, 2, "――――――"}, {1e12, 0, "――――――"}, {99999999.8, 3, "99999999.800"}};
    for (const auto& v : values) EXPECT_EQ(CCalcPointResultDlg::FormatValue(v.value, v.decimals), v.text) << v.value;
    const struct {
        double dir;
        const char* text;
    } dirs[] = {{45.0, "N 45.0°"}, {359.94, "N359.9°"}, {359.96, "N  0.0°"}, {-0.04, "N  0.0°"},
                {0.0, "N  0.0°"},  {990.0, "―――"},    {999.0, "―――"},     {989.9, "N989.9°"}};
    for (const auto& d : dirs) EXPECT_EQ(CCalcPointResultDlg::FormatDirection(d.dir), d.text) << d.dir;
    EXPECT_EQ(CCalcPointResultDlg::ValueColumnTitle(0), "有義波高(m)");
    EXPECT_EQ(CCalcPointResultDlg::ValueColumnTitle(1), "有義波高比");
    EXPECT_EQ(CCalcPointResultDlg::ValueColumnTitle(2), "換算沖波波高(m)");
    EXPECT_EQ(CCalcPointResultDlg::ValueColumnTitle(3), "換算沖波波高比");
    EXPECT_EQ(CCalcPointResultDlg::ValueColumnTitle(9), "換算沖波波高比");
}

class ResultListTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calcPoints.Reset();
        PostedMessages().DeliverPending();
        doc.m_zmn.m_nValueType = 2;
        doc.m_zmn.m_nDecimals = 2;
        dlg.SetHost(&host);
        dlg.SetViewSource([this] { return resultView; });
    }
    void TearDown() override { g_calcPoints.Reset(); }
    void Use(int slot, const std::string& name, double value, float dir) {
        CSansyutuZokusei p = g_calcPoints.GetAt(slot);
        p.SetName(Utf8ToCp932(name));
        p.SetUse(1);
        g_calcPoints.SetAt(slot, p);
        view.m_pCalcPtValue[static_cast<std::size_t>(slot)] = value;
        view.m_pCalcPtDir[static_cast<std::size_t>(slot)] = dir;
    }

    TestDoc doc;
    CountingView view{doc};
    TestDoc otherDoc;
    CountingView other{otherDoc};
    ResultListView* resultView = &view;
    Owner owner;
    MemoryProfile profile;
    CCalcPointResultDlg dlg{&owner, profile};
    FakeListHost host{dlg};
};

TEST_F(ResultListTest, RowsForThePointsInUseOnly) {
    Use(0, "港口", 1.234, 45.0f);
    Use(3, "岬", kNoValue, static_cast<float>(kNoDirection));
    dlg.Create();
    EXPECT_TRUE(dlg.HasWindow());
    const DialogControl* list = dlg.Find(CCalcPointResultDlg::kList);
    ASSERT_EQ(list->columns.size(), 3u);
    EXPECT_EQ(list->columns[0].title, "算出点名称");
    EXPECT_EQ(list->columns[1].title, "換算沖波波高(m)");
    EXPECT_EQ(list->columns[2].title, "屈折後波向");
    ASSERT_EQ(dlg.RowCount(CCalcPointResultDlg::kList), 2);
    EXPECT_EQ(dlg.GetCell(CCalcPointResultDlg::kList, 0, 0), "港口");
    EXPECT_EQ(dlg.GetCell(CCalcPointResultDlg::kList, 0, 1), " 1.23");
    EXPECT_EQ(dlg.GetCell(CCalcPointResultDlg::kList, 0, 2), "N 45.0°");
    EXPECT_EQ(dlg.GetCell(CCalcPointResultDlg::kList, 1, 0), "岬");
    EXPECT_EQ(dlg.GetCell(CCalcPointResultDlg::kList, 1, 1), "――――――");
    EXPECT_EQ(dlg.GetCell(CCalcPointResultDlg::kList, 1, 2), "―――");
    EXPECT_EQ(dlg.GetText(CCalcPointResultDlg::kNote), "算出方法は、算出点を囲むメッシュ４点の平均値です。");

    // A refresh takes the new values; with no point in use the list is empty but open.
    view.m_pCalcPtValue[0] = 0.5;
    dlg.WindowProc(WM_RESULTLIST_REFRESH, 0, 0);
    EXPECT_EQ(dlg.GetCell(CCalcPointResultDlg::kList, 0, 1), " 0.50");
    g_calcPoints.Reset();
    dlg.WindowProc(WM_RESULTLIST_REFRESH, 0, 0);
    EXPECT_EQ(dlg.RowCount(CCalcPointResultDlg::kList), 0);
    EXPECT_TRUE(dlg.HasWindow());
}

TEST_F(ResultListTest, PositionAndTheThreeWaysToClose) {
    // First use: the owner's top-left corner.
    dlg.Create();
    EXPECT_EQ(host.left, 40);
    EXPECT_EQ(host.top, 30);
    host.left = 300, host.top = 200;

    // Cancel clears the flag of the list's own view, even when another view is active.
    view.m_bResultListOpen = 1;
    other.m_bResultListOpen = 1;
    dlg.Escape();
    EXPECT_FALSE(dlg.HasWindow());
    EXPECT_EQ(host.destroyed, 1);
    EXPECT_EQ(view.m_bResultListOpen, 0);
    EXPECT_EQ(other.m_bResultListOpen, 1);
    EXPECT_EQ(profile.GetProfileInt("Position", "RefPosDlgTop", -1), 200);
    EXPECT_EQ(profile.GetProfileInt("Position", "RefPosDlgLeft", -1), 300);
    PostedMessages().DeliverPending();
    EXPECT_EQ(owner.received, std::vector<unsigned>{WM_RESULTLIST_CLOSED});

    // The same object shows again, at the saved place.
    dlg.Create();
    EXPECT_EQ(host.created, 2);
    EXPECT_EQ(host.left, 300);
    EXPECT_EQ(dlg.Result(), 0);

    // The frame's close: position saved and the owner told; the view's flag is the frame's.
    view.m_bResultListOpen = 1;
    host.left = 10;
    dlg.WindowProc(WM_RESULTLIST_CLOSE, 0, 0);
    EXPECT_FALSE(dlg.HasWindow());
    EXPECT_EQ(view.m_bResultListOpen, 1);
    EXPECT_EQ(profile.GetProfileInt("Position", "RefPosDlgLeft", -1), 10);
    PostedMessages().DeliverPending();
    EXPECT_EQ(owner.received.size(), 2u);
    // Nothing happens to a list that is not shown.
    dlg.WindowProc(WM_RESULTLIST_CLOSE, 0, 0);
    dlg.WindowProc(WM_RESULTLIST_ESCAPE, 0, 0);
    PostedMessages().DeliverPending();
    EXPECT_EQ(owner.received.size(), 2u);

    // Escape in the view: the list's Cancel, on the view the list belongs to.
    resultView = &other;
    dlg.Create();
    dlg.WindowProc(WM_RESULTLIST_ESCAPE, 0, 0);
    EXPECT_EQ(other.m_bResultListOpen, 0);
    EXPECT_FALSE(dlg.HasWindow());
    // No result view: the list fills empty and closes without touching any view.
    resultView = nullptr;
    dlg.Create();
    EXPECT_EQ(dlg.RowCount(CCalcPointResultDlg::kList), 0);
    dlg.Escape();
    EXPECT_FALSE(dlg.HasWindow());
}

// ---------------------------------------------------------------- height check

// A contour group of polylines (level, points, whether its segments are drawn).
struct Poly {
    double level;
    int points;
    bool drawn;
};

void MakeGroup(CContGroup& g, const std::vector<Poly>& polys) {
    g.SetCapacity(static_cast<int>(polys.size()));
    g.AllocLines();
    g.SetCount(static_cast<int>(polys.size()));
    for (int i = 0; i < static_cast<int>(polys.size()); ++i) {
        g.SetPointCount(i, polys[static_cast<std::size_t>(i)].points);
        g.AllocPoints(i);
        g.SetLevel(i, polys[static_cast<std::size_t>(i)].level);
        for (int j = 0; j < polys[static_cast<std::size_t>(i)].points; ++j) {
            CContPoint p(static_cast<float>(j), static_cast<float>(i));
            // Only the last vertex drawn does not make a line present.
            p.m_nLine = polys[static_cast<std::size_t>(i)].drawn ? 1 : (j + 1 == polys[static_cast<std::size_t>(i)].points);
            g.SetPoint(i, j, p);
        }
    }
}

std::vector<int> Marked(const CContGroup& g) {
    std::vector<int> lines;
    for (int i = 0; i < g.GetCount(); ++i) {
        int marked = 0;
        for (int j = 0; j < g.GetPointCount(i); ++j) marked += g.GetPoint(i, j).m_nSelect;
        if (marked) {
            EXPECT_EQ(marked, g.GetPointCount(i)) << i;
            lines.push_back(i);
        }
    }
    return lines;
}

TEST(HeightCheck, LevelsAreSortedAndCloseOnesMerged) {
    CContGroup g;
    MakeGroup(g, {{3.0, 3, true}, {1.00004, 2, true}, {1.0, 2, true}, {-2.5, 2, true}, {7.0, 3, false},
                  {2.004, 2, true}, {2.0, 2, true}});
    const std::vector<double> levels = CHeightCheckDlg::PresentLevels(g);
    ASSERT_EQ(levels.size(), 5u);
    EXPECT_EQ(levels[0], -2.5);
    EXPECT_EQ(levels[1], 1.00004);  // the first of the close pair after sorting
    EXPECT_EQ(levels[2], 2.0);
    EXPECT_EQ(levels[3], 2.004);
    EXPECT_EQ(levels[4], 3.0);
    // Many levels, in reverse: every gap of the comb sort is used.
    CContGroup many;
    std::vector<Poly> polys;
    for (int i = 40; i > 0; --i) polys.push_back({i * 0.5, 2, true});
    MakeGroup(many, polys);
    const std::vector<double> sorted = CHeightCheckDlg::PresentLevels(many);
    ASSERT_EQ(sorted.size(), 40u);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(sorted[static_cast<std::size_t>(i)], (i + 1) * 0.5);
}

TEST(HeightCheck, MarksTheChosenLevelAndCancelClearsEveryMark) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    TestDoc doc;
    CountingView view(doc);
    // Line 0 is at 2.0 but erased (before the first drawn one: not marked); line 3 is
    // erased too but after it (marked).
    MakeGroup(doc.m_contGroup, {{2.0, 2, false}, {2.0, 3, true}, {2.004, 2, true}, {2.00001, 2, false}, {1.5, 2, true}});
    CHeightCheckDlg dlg(view);
    dlg.InitDialog();
    EXPECT_EQ(dlg.Result(), 0);
    const DialogControl* list = dlg.Find(CHeightCheckDlg::kLevelList);
    ASSERT_EQ(list->items, (std::vector<std::string>{"1.50", "2.00", "2.00"}));
    EXPECT_EQ(dlg.GetIndex(CHeightCheckDlg::kLevelList), 0);
    EXPECT_EQ(Marked(doc.m_contGroup), std::vector<int>{4});
    EXPECT_EQ(view.redraws, 1);

    // Either "2.00" means 2.0: the lines within 0.0001 of it from the first drawn one on.
    for (int item : {1, 2}) {
        dlg.ListChanged(CHeightCheckDlg::kLevelList, item);
        EXPECT_EQ(Marked(doc.m_contGroup), (std::vector<int>{1, 3})) << item;
    }
    EXPECT_TRUE(ui.Messages().empty());
    dlg.Escape();
    EXPECT_EQ(dlg.Result(), IDCANCEL);
    EXPECT_TRUE(Marked(doc.m_contGroup).empty());
    EXPECT_EQ(view.redraws, 4);
}

TEST(HeightCheck, NoContoursEndsAtOnceAndAnUnmatchedLevelSaysSo) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    TestDoc doc;
    CountingView view(doc);
    MakeGroup(doc.m_contGroup, {{4.0, 3, false}});
    CHeightCheckDlg none(view);
    none.InitDialog();
    EXPECT_EQ(none.Result(), IDOK);
    EXPECT_TRUE(ui.Messages().empty());

    // 2.004 shows as "2.00", which no drawn line has: the message, and the marks stay.
    MakeGroup(doc.m_contGroup, {{2.004, 2, true}});
    CContPoint p = doc.m_contGroup.GetPoint(0, 1);
    p.m_nSelect = 1;
    doc.m_contGroup.SetPoint(0, 1, p);
    CHeightCheckDlg dlg(view);
    dlg.InitDialog();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "指定数値のｺﾝﾀｰは存在しません。");
    EXPECT_EQ(ui.Messages()[0].caption, "コンター指定");
    EXPECT_EQ(ui.Messages()[0].icon, MbIcon::Warning);
    EXPECT_EQ(doc.m_contGroup.GetPoint(0, 1).m_nSelect, 1);
    EXPECT_EQ(view.redraws, 0);
}

// ---------------------------------------------------------------- contour conditions

std::vector<std::string> Rows(const CDialogModel& d, int id) {
    std::vector<std::string> rows;
    for (int i = 0; i < d.RowCount(id); ++i) rows.push_back(d.GetCell(id, i, 0));
    return rows;
}

TEST(ContourCond, RegisterKeepsOrderAndOkDropsRepeats) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    CContourCondDlg dlg;
    dlg.m_levels = {1.0, 3.0};
    dlg.m_dInterval = 0.5;
    dlg.InitDialog();
    EXPECT_EQ(Rows(dlg, CContourCondDlg::kLevelList), (std::vector<std::string>{"1.00", "3.00"}));
    dlg.SetText(CContourCondDlg::kLevel, "2.5");
    dlg.Click(CContourCondDlg::kRegister);
    dlg.SetText(CContourCondDlg::kLevel, "3.0");
    dlg.Click(CContourCondDlg::kRegister);
    dlg.SetText(CContourCondDlg::kLevel, "-1");
    dlg.Click(CContourCondDlg::kRegister);
    dlg.SetText(CContourCondDlg::kLevel, "9");
    dlg.Click(CContourCondDlg::kRegister);
    EXPECT_EQ(Rows(dlg, CContourCondDlg::kLevelList),
              (std::vector<std::string>{"-1.00", "1.00", "2.50", "3.00", "3.00", "9.00"}));
    // A double click deletes its row.
    dlg.RowDoubleClicked(CContourCondDlg::kLevelList, 0);
    dlg.RowDoubleClicked(CContourCondDlg::kLevelList, 4);
    EXPECT_EQ(Rows(dlg, CContourCondDlg::kLevelList), (std::vector<std::string>{"1.00", "2.50", "3.00", "3.00"}));
    dlg.Click(IDOK);
    EXPECT_EQ(dlg.Result(), IDOK);
    EXPECT_EQ(dlg.m_levels, (std::vector<double>{1.0, 2.5, 3.0}));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(ContourCond, IntervalMustBePositiveAndAnEmptyListGivesNoLevels) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    for (const char* interval : {"0", "-0.5", "0.000000000001"}) {
        CContourCondDlg dlg;
        dlg.m_levels = {2.0};
        dlg.InitDialog();
        dlg.SetText(CContourCondDlg::kInterval, interval);
        dlg.SetText(CContourCondDlg::kDispTo, "12.345");
        dlg.Click(IDOK);
        EXPECT_EQ(dlg.Result(), 0) << interval;
        EXPECT_EQ(dlg.m_levels, std::vector<double>{2.0});
        EXPECT_EQ(dlg.m_dDispTo, 12.345);  // taken from the controls before the check
        EXPECT_EQ(Rows(dlg, CContourCondDlg::kLevelList), std::vector<std::string>{"2.00"});
    }
    ASSERT_EQ(ui.Messages().size(), 3u);
    EXPECT_EQ(ui.Messages()[0].text, "ｺﾝﾀｰ間隔は正数を指定して下さい。");
    EXPECT_EQ(ui.Messages()[0].caption, "コンター指定");

    CContourCondDlg dlg;
    dlg.m_levels = {1.0, 2.0};
    dlg.m_dInterval = 1.0;
    dlg.InitDialog();
    dlg.Click(CContourCondDlg::kDeleteAll);
    dlg.Click(IDOK);
    EXPECT_EQ(dlg.Result(), IDOK);
    EXPECT_TRUE(dlg.m_levels.empty());
}

TEST(ContourCond, RangeRowsFormatsAndLabels) {
    for (int rows : {0, 1}) {
        CContourCondDlg dlg;
        dlg.m_bContRangeRows = rows;
        dlg.m_strDispLabel = "表示範囲";
        dlg.m_strIntervalLabel = "表示間隔";
        dlg.m_dDispFrom = 1.0;
        dlg.m_dContTo = 2.345;
        dlg.m_dCalcTo = 7.891;
        dlg.InitDialog();
        for (int id : {CContourCondDlg::kContFrom, CContourCondDlg::kContTo, CContourCondDlg::kColorFrom,
                       CContourCondDlg::kColorTo, CContourCondDlg::kContLabel, CContourCondDlg::kColorLabel,
                       CContourCondDlg::kContTilde, CContourCondDlg::kColorTilde})
            EXPECT_EQ(dlg.IsVisible(id), rows == 1) << id;
        EXPECT_TRUE(dlg.IsVisible(CContourCondDlg::kCalcTo));
        EXPECT_EQ(dlg.GetText(CContourCondDlg::kDispFrom), "1.00");
        EXPECT_EQ(dlg.GetText(CContourCondDlg::kCalcTo), "7.89");
        EXPECT_EQ(dlg.GetText(CContourCondDlg::kContTo), "2.35");
        EXPECT_EQ(dlg.GetText(CContourCondDlg::kDispLabel), "表示範囲");
        EXPECT_EQ(dlg.GetText(CContourCondDlg::kIntervalLabel), "表示間隔");
        EXPECT_EQ(dlg.GetText(CContourCondDlg::kCalcLabel), "計算範囲(m)");
        // Text that is no number reads 0.00 once the edit loses the focus.
        dlg.SetText(CContourCondDlg::kColorTo, "abc");
        dlg.FocusOut(CContourCondDlg::kColorTo);
        EXPECT_EQ(dlg.GetText(CContourCondDlg::kColorTo), "0.00");
    }
}

// ---------------------------------------------------------------- display interval

class IntervalTest : public ::testing::Test {
protected:
    void SetUp() override {
        roadtest::SetMesh(doc, 3, 4, std::vector<double>(12, 5.0), 10.0);
        doc.m_calcArea.SetOrigin(1000.0, 2000.0);
    }
    // A dialog of kind k on interval set `set`, at view angle `angle`, steps typed.
    std::unique_ptr<CDigitalMapIntervalDlg> Open(int k, int set, double angle = 0.0) {
        auto dlg = std::make_unique<CDigitalMapIntervalDlg>();
        dlg->LoadFrom(doc, set, k, angle);
        dlg->SetAreaExtent(doc);
        dlg->m_pZmn = &doc.m_zmn;
        dlg->InitDialog();
        return dlg;
    }
    ScriptedUi ui;
    ScopedUi scope{&ui};
    TestDoc doc;
};

TEST_F(IntervalTest, StepsMustBeMultiplesOfThePitch) {
    const struct {
        const char* across;
        const char* down;
        const char* message;  // nullptr: accepted
    } cases[] = {
        {"30", "10", nullptr},
        {"29.99999999999", "10", nullptr},
        {"25", "10", "数値間隔はﾒｯｼｭﾋﾟｯﾁの整数倍で指定して下さい。"},
        {"10", "5", "数値間隔はﾒｯｼｭﾋﾟｯﾁの整数倍で指定して下さい。"},
        {"0", "10", "数値間隔は正数を指定して下さい。"},
        {"10", "-10", "数値間隔は正数を指定して下さい。"},
    };
    for (const auto& c : cases) {
        ui.Clear();
        auto dlg = Open(0, 0);
        dlg->SetText(CDigitalMapIntervalDlg::kStepAcross, c.across);
        dlg->SetText(CDigitalMapIntervalDlg::kStepDown, c.down);
        // The pitch shown cannot be edited into another one.
        dlg->SetText(CDigitalMapIntervalDlg::kPitch, "5");
        dlg->Click(IDOK);
        if (!c.message) {
            EXPECT_EQ(dlg->Result(), IDOK) << c.across;
            EXPECT_TRUE(ui.Messages().empty());
            continue;
        }
        EXPECT_EQ(dlg->Result(), 0) << c.across << " " << c.down;
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, c.message);
        EXPECT_EQ(ui.Messages()[0].caption, "間隔指定");
    }
    EXPECT_TRUE(Open(0, 0)->Find(CDigitalMapIntervalDlg::kPitch)->readOnly);
}

TEST_F(IntervalTest, CaptionRowsAndBaseEditsByKind) {
    for (int k = 0; k <= 6; ++k) {
        auto dlg = Open(k, 1);
        const bool vector = k == 2 || k == 3;
        EXPECT_EQ(dlg->Caption(), vector ? "ベクトルの表示間隔" : "デジタルマップの表示間隔") << k;
        for (int id : {CDigitalMapIntervalDlg::kRangeLow, CDigitalMapIntervalDlg::kRangeHigh,
                       CDigitalMapIntervalDlg::kCalcLow, CDigitalMapIntervalDlg::kCalcHigh,
                       CDigitalMapIntervalDlg::kRangeLabel, CDigitalMapIntervalDlg::kCalcLabel})
            EXPECT_EQ(dlg->IsVisible(id), vector) << k << " " << id;
        const bool base = k == 1 || k == 3 || k == 5;
        EXPECT_EQ(dlg->IsEnabled(CDigitalMapIntervalDlg::kBaseX), base) << k;
        EXPECT_EQ(dlg->IsEnabled(CDigitalMapIntervalDlg::kBaseY), base) << k;
    }
}

TEST_F(IntervalTest, VectorRangeMustDifferAndGoesToTheValueType) {
    doc.m_zmn.m_nValueType = 1;
    doc.m_zmn.m_dVectorLow[1] = 0.25;
    doc.m_zmn.m_dVectorHigh[1] = 1.5;
    auto dlg = Open(2, 3);
    EXPECT_EQ(dlg->GetText(CDigitalMapIntervalDlg::kRangeLow), "0.25");
    EXPECT_TRUE(dlg->Find(CDigitalMapIntervalDlg::kCalcLow)->readOnly);
    dlg->SetText(CDigitalMapIntervalDlg::kStepAcross, "10");
    dlg->SetText(CDigitalMapIntervalDlg::kStepDown, "20");
    dlg->SetText(CDigitalMapIntervalDlg::kRangeHigh, "0.25");
    dlg->Click(IDOK);
    EXPECT_EQ(dlg->Result(), 0);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "表示範囲は同じ数値を指定しないで下さい。");
    EXPECT_EQ(ui.Messages()[0].caption, "範囲指定");
    dlg->SetText(CDigitalMapIntervalDlg::kRangeHigh, "2");
    dlg->Click(IDOK);
    ASSERT_EQ(dlg->Result(), IDOK);
    dlg->StoreTo(doc, 3);
    EXPECT_EQ(doc.m_zmn.m_dVectorHigh[1], 2.0);
    EXPECT_EQ(doc.m_zmn.m_dVectorHigh[0], CZmn_Inf().m_dVectorHigh[0]);
    EXPECT_EQ(doc.m_zmn.m_interval[3].m_dStepAcross, 10.0);
    EXPECT_EQ(doc.m_zmn.m_interval[3].m_dStepDown, 20.0);
    // The same range on a digital map is no matter.
    auto map = Open(0, 1);
    map->SetText(CDigitalMapIntervalDlg::kStepAcross, "10");
    map->SetText(CDigitalMapIntervalDlg::kStepDown, "10");
    map->Click(IDOK);
    EXPECT_EQ(map->Result(), IDOK);
}

TEST_F(IntervalTest, BasePointsInsideTheAreaGoToTheirSets) {
    // The area runs 0..30 x 0..20 in the mesh frame, from (1000, 2000).
    const struct {
        int kind;
        int set;
        double x, y;
        bool accepted;
    } cases[] = {
        {1, 1, 1030.0005, 2000.0, true},   {1, 1, 1030.002, 2000.0, false}, {5, 2, 999.9995, 2020.0, true},
        {5, 2, 1000.0, 1999.998, false},   {3, 3, 1015.0, 2010.0, true},    {0, 1, 5000.0, 5000.0, true},
        {2, 3, 5000.0, 5000.0, true},      {4, 2, 5000.0, 5000.0, true},
    };
    for (const auto& c : cases) {
        ui.Clear();
        doc.m_zmn.m_interval[c.set].m_ptRef = CPointF(kUnsetCoordF, kUnsetCoordF);
        auto dlg = Open(c.kind, c.set);
        dlg->SetText(CDigitalMapIntervalDlg::kStepAcross, "10");
        dlg->SetText(CDigitalMapIntervalDlg::kStepDown, "10");
        dlg->SetText(CDigitalMapIntervalDlg::kRangeLow, "0");
        dlg->SetText(CDigitalMapIntervalDlg::kRangeHigh, "1");
        dlg->SetText(CDigitalMapIntervalDlg::kBaseX, Sprintf("%.4f", c.x));
        dlg->SetText(CDigitalMapIntervalDlg::kBaseY, Sprintf("%.4f", c.y));
        dlg->Click(IDOK);
        const CPointF ref = doc.m_zmn.m_interval[c.set].m_ptRef;
        if (!c.accepted) {
            EXPECT_EQ(dlg->Result(), 0) << c.kind << " " << c.x;
            ASSERT_EQ(ui.Messages().size(), 1u);
            EXPECT_EQ(ui.Messages()[0].text, "基準座標は計算領域内で指定して下さい。");
            EXPECT_EQ(ui.Messages()[0].caption, "基準指定");
            EXPECT_EQ(ref.m_fX, kUnsetCoordF);
            continue;
        }
        EXPECT_EQ(dlg->Result(), IDOK) << c.kind << " " << c.x;
        if (CDigitalMapIntervalDlg::BaseSetOfKind(c.kind) < 0) {
            EXPECT_EQ(ref.m_fX, kUnsetCoordF) << c.kind;  // mouse kinds store no base point
            continue;
        }
        EXPECT_FLOAT_EQ(ref.m_fX, static_cast<float>(c.x - 1000.0));
        EXPECT_FLOAT_EQ(ref.m_fY, static_cast<float>(c.y - 2000.0));
    }
}

TEST_F(IntervalTest, TurnedViewRoundTripAndDefaults) {
    // Unset steps: the mouse kinds start from 0, the coordinate kinds from the pitch.
    EXPECT_EQ(Open(0, 1)->m_dStepAcross, 0.0);
    EXPECT_EQ(Open(1, 1)->m_dStepDown, 10.0);
    EXPECT_EQ(Open(1, 1)->GetText(CDigitalMapIntervalDlg::kBaseX), "0.000");  // unset: (0, 0)
    EXPECT_EQ(Open(1, 1)->GetText(CDigitalMapIntervalDlg::kPitch), "10.0");

    // At 90 degrees the mesh node (10, 0) lies at world (1000, 2010)... or (1000, 1990):
    // whichever, the typed world point comes back as typed.
    auto dlg = Open(1, 1, 90.0);
    double wx = 0, wy = 0;
    const double a = -90.0 * kPi / 180.0;
    WorldToScreen(10.0, 5.0, 0.0, 0.0, std::cos(a), std::sin(a), 1.0, 1000.0, 2000.0, &wx, &wy);
    dlg->SetText(CDigitalMapIntervalDlg::kStepAcross, "10");
    dlg->SetText(CDigitalMapIntervalDlg::kStepDown, "10");
    dlg->SetText(CDigitalMapIntervalDlg::kBaseX, Sprintf("%.3f", wx));
    dlg->SetText(CDigitalMapIntervalDlg::kBaseY, Sprintf("%.3f", wy));
    dlg->Click(IDOK);
    ASSERT_EQ(dlg->Result(), IDOK);
    EXPECT_NEAR(doc.m_zmn.m_interval[1].m_ptRef.m_fX, 10.0, 1e-3);
    EXPECT_NEAR(doc.m_zmn.m_interval[1].m_ptRef.m_fY, 5.0, 1e-3);
    auto again = Open(1, 1, 90.0);
    EXPECT_EQ(again->GetText(CDigitalMapIntervalDlg::kBaseX), Sprintf("%.3f", wx));
    EXPECT_EQ(again->GetText(CDigitalMapIntervalDlg::kBaseY), Sprintf("%.3f", wy));
}

// ---------------------------------------------------------------- AutoCAD version

TEST(AcadVersion, NoneAtFirstThenTheChoice) {
    CAcadVersionDlg dlg;
    EXPECT_EQ(dlg.Caption(), "AutoCADのﾊﾞｰｼﾞｮﾝ");
    dlg.InitDialog();
    EXPECT_EQ(dlg.GetCheck(CAcadVersionDlg::kR12) + dlg.GetCheck(CAcadVersionDlg::k2000), 0);
    dlg.Click(CAcadVersionDlg::k2000);
    dlg.Click(IDOK);
    EXPECT_EQ(dlg.m_nVersion, 1);
    CAcadVersionDlg again;
    again.m_nVersion = 1;
    again.InitDialog();
    EXPECT_EQ(again.GetCheck(CAcadVersionDlg::k2000), 1);
    again.Click(CAcadVersionDlg::kR12);
    again.Escape();
    EXPECT_EQ(again.m_nVersion, 1);
}

// ---------------------------------------------------------------- Save As

class FileSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        roadtest::EnterOwnFolder();
        folder = roadtest::Scratch() + "proj/";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder + "D.TYD");
        for (const char* name : {"A.TYD", "b.tyd", "c.txt", "BAY.TIK"}) roadtest::WriteAll(folder + name, "x");
    }
    std::unique_ptr<CFileSaveDlg> Open(const std::string& name = "A.TYD") {
        auto dlg = std::make_unique<CFileSaveDlg>(folder, name);
        dlg->InitDialog();
        return dlg;
    }
    // Types a name and presses the save button.
    static void Save(CFileSaveDlg& dlg, const std::string& name) {
        dlg.SetText(CFileSaveDlg::kFileName, name);
        dlg.Click(IDOK);
    }
    ScriptedUi ui;
    ScopedUi scope{&ui};
    std::string folder;
};

TEST_F(FileSaveTest, ListsTheFoldersTydFilesOnly) {
    auto dlg = Open();
    EXPECT_EQ(dlg->Caption(), "名前を付けて保存");
    EXPECT_EQ(Rows(*dlg, CFileSaveDlg::kFileList), (std::vector<std::string>{"A.TYD", "b.tyd"}));
    EXPECT_EQ(dlg->GetText(CFileSaveDlg::kFileName), "A.TYD");
    EXPECT_EQ(dlg->GetText(CFileSaveDlg::kFolder), folder);
    EXPECT_EQ(dlg->GetIndex(CFileSaveDlg::kFileType), 0);
    dlg->RowSelected(CFileSaveDlg::kFileList, 1);
    EXPECT_EQ(dlg->GetText(CFileSaveDlg::kFileName), "b.tyd");
    EXPECT_EQ(CFileSaveDlg(folder.substr(0, folder.size() - 1), "x").GetFolder(), folder);
}

TEST_F(FileSaveTest, NewNamesGetTheExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"NEW", "NEW.TYD"}, {" new.tyd ", "new.tyd"}, {"data.txt", "data.txt.TYD"}, {"湾.TYD", "湾.TYD"}};
    for (const auto& [typed, chosen] : cases) {
        auto dlg = Open();
        Save(*dlg, typed);
        EXPECT_EQ(dlg->Result(), IDOK) << typed;
        EXPECT_EQ(dlg->GetFileName(), chosen);
        EXPECT_EQ(dlg->GetPathName(), folder + chosen);
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(FileSaveTest, ReplacingAFileIsAskedInEitherCase) {
    auto dlg = Open();
    ui.PushAnswer(IDNO);
    Save(*dlg, "B.TYD");
    EXPECT_EQ(dlg->Result(), 0);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "b.tyd は既に存在します。\n上書きしますか?");
    EXPECT_EQ(ui.Messages()[0].buttons, MbButtons::YesNo);
    ui.PushAnswer(IDYES);
    Save(*dlg, "B");
    EXPECT_EQ(dlg->Result(), IDOK);
    EXPECT_EQ(dlg->GetPathName(), folder + "b.tyd");
    // A double click chooses the row, with the same question.
    auto twice = Open("x");
    ui.PushAnswer(IDYES);
    twice->RowDoubleClicked(CFileSaveDlg::kFileList, 0);
    EXPECT_EQ(twice->Result(), IDOK);
    EXPECT_EQ(twice->GetFileName(), "A.TYD");
    EXPECT_EQ(ui.Messages().size(), 3u);
}

TEST_F(FileSaveTest, NamesThatLeaveTheFolderAreRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"../A.TYD", "名前に「\\」や「/」は使えません。"},
        {"/tmp/x.TYD", "名前に「\\」や「/」は使えません。"},
        {"..\\x", "名前に「\\」や「/」は使えません。"},
        {"..", "このファイル名は使えません。"},
        {".", "このファイル名は使えません。"},
        {"a:b", "このファイル名は使えません。"},
        {"D.TYD", "同じ名前のフォルダがあります。別の名前を指定してください。"},
        {"D", "同じ名前のフォルダがあります。別の名前を指定してください。"},
    };
    for (const auto& [typed, message] : cases) {
        ui.Clear();
        auto dlg = Open();
        Save(*dlg, typed);
        EXPECT_EQ(dlg->Result(), 0) << typed;
        ASSERT_EQ(ui.Messages().size(), 1u) << typed;
        EXPECT_EQ(ui.Messages()[0].text, message);
        EXPECT_EQ(ui.Messages()[0].caption, "名前を付けて保存");
    }
    // An empty name does nothing at all.
    ui.Clear();
    auto dlg = Open();
    Save(*dlg, "  ");
    EXPECT_EQ(dlg->Result(), 0);
    EXPECT_TRUE(ui.Messages().empty());
}

}  // namespace
}  // namespace wv
