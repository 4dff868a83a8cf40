// The editing commands on terrain tables at their bound: each refuses with the table's
// message and changes nothing, and what still fits goes in.
#include "full_tables.h"
#include "tik_edit_test_util.h"

#include "project/tik_dialogs.h"

namespace wv::test {
namespace {

const std::string kPointsFull = "測点の登録数は上限値(4195000)に達しています。";
const std::string kLinesFull = "線分の登録数は上限値(4195000)に達しています。";
const std::string kBlocksFull = "地形ﾌﾞﾛｯｸの登録数は上限値(4195000)に達しています。";

class FullTables : public TikEditFixture {
protected:
    void ExpectAsked(const std::string& text) {
        ASSERT_EQ(host.asked.size(), 1u);
        EXPECT_EQ(host.asked[0].text, text);
        EXPECT_EQ(host.asked[0].caption, "ｴﾗｰ");
        EXPECT_EQ(host.asked[0].buttons, MbButtons::Ok);
    }
};

TEST_F(FullTables, MessagesNameTheTableAndTheBound) {
    EXPECT_EQ(TableFullMessage(wv::kSurveyPointsFull), kPointsFull);
    EXPECT_EQ(TableFullMessage(wv::kLinesFull), kLinesFull);
    EXPECT_EQ(TableFullMessage(wv::kBlocksFull), kBlocksFull);
}

TEST_F(FullTables, PointAndLineInputMakeNoPointWithoutRoom) {
    const int a = Point(0, 0), b = Point(50, 0);
    FillPoints(g_surveyPoints);

    // A point of its own: refused.
    editor.OnCommand(32783);
    Click(20, 20);
    ExpectAsked(kPointsFull);
    EXPECT_EQ(g_surveyPoints.GetCount(), kMaxTableSlots);
    EXPECT_EQ(g_surveyPoints.HitTest(20, 20, 1.0), -1);
    EXPECT_EQ(host.modified, 0);

    // A chain cannot start on a new point, but on an existing one it can, and it joins
    // existing points as long as the line table has room.
    host.Reset();
    editor.OnCommand(32784);
    Click(20, 20);
    EXPECT_EQ(S().m_nMode, 200);
    EXPECT_EQ(S().m_nPoint1, -1);
    ExpectAsked(kPointsFull);
    Click(0, 0);
    EXPECT_EQ(S().m_nMode, 201);
    EXPECT_EQ(S().m_nPoint1, a);
    host.Reset();
    Click(30, 30);
    ExpectAsked(kPointsFull);
    EXPECT_EQ(g_lines.GetCount(), 0);
    EXPECT_EQ(S().m_nPoint1, a);
    Click(50, 0);
    EXPECT_EQ(g_lines.Exists(a, b), -1);
    EXPECT_EQ(S().m_nPoint1, b);
}

TEST_F(FullTables, LineInputMakesNeitherLineNorPointWithoutRoomForTheLine) {
    const int a = Point(0, 0), b = Point(50, 0);
    FillLines(g_lines);
    editor.OnCommand(32784);
    Click(0, 0);
    ASSERT_EQ(S().m_nPoint1, a);
    // To a new point: the point would be left without its line, so neither is made.
    Click(20, 20);
    ExpectAsked(kLinesFull);
    EXPECT_EQ(g_surveyPoints.GetCount(), 2);
    EXPECT_EQ(g_lines.GetCount(), kMaxTableSlots);
    EXPECT_EQ(S().m_nPoint1, a);
    // Connecting two existing points.
    host.Reset();
    editor.OnCommand(32797);
    ASSERT_EQ(S().m_nMode, 2);
    Click(1, 1);
    Click(49, 1);
    ExpectAsked(kLinesFull);
    EXPECT_EQ(g_lines.Exists(a, b), 0);
    EXPECT_EQ(host.modified, 0);
}

TEST_F(FullTables, SplitNeedsTwoSlotsAndMergeOne) {
    const int a = Point(0, 0, 2.0), b = Point(40, 0, 4.0), x = Point(10, 3, 0.0);
    const int l = Line(a, b, kLineTerrain, 0, 0.0);
    FillLines(g_lines, 1);
    editor.OnCommand(32798);
    Click(20, 0);
    ASSERT_EQ(S().m_nMode, 301);
    Click(10, 3);
    ExpectAsked(kLinesFull);
    EXPECT_EQ(S().m_nMode, 300);
    EXPECT_EQ(g_lines.GetAt(l).GetState(), 0);
    EXPECT_EQ(g_lines.GetCount(), kMaxTableSlots - 1);
    EXPECT_EQ(Height(x), 0.0) << "the split point keeps its height";
    EXPECT_EQ(host.modified, 0);

    // With the one free slot the merge of two lines into one goes through.
    SetUp();
    const int A = Point(0, 0), M = Point(10, 0), B = Point(20, 5);
    const int P = Line(A, M), T = Line(M, B);
    FillLines(g_lines, 1);
    editor.OnCommand(32799);
    Click(3, 0);
    Click(17, 3.5);
    EXPECT_TRUE(host.asked.empty());
    EXPECT_LT(g_lines.GetAt(P).GetState(), 0);
    EXPECT_LT(g_lines.GetAt(T).GetState(), 0);
    EXPECT_EQ(g_lines.Exists(A, B), -1);

    // Without it, the merge is refused and both lines stay.
    SetUp();
    const int A2 = Point(0, 0), M2 = Point(10, 0), B2 = Point(20, 5);
    const int P2 = Line(A2, M2), T2 = Line(M2, B2);
    FillLines(g_lines);
    editor.OnCommand(32799);
    Click(3, 0);
    Click(17, 3.5);
    ExpectAsked(kLinesFull);
    EXPECT_EQ(S().m_nMode, 310);
    EXPECT_EQ(g_lines.GetAt(P2).GetState(), 0);
    EXPECT_EQ(g_lines.GetAt(T2).GetState(), 0);
    EXPECT_EQ(g_lines.Exists(A2, B2), 0);
}

TEST_F(FullTables, ConstructedPointIsNotOfferedAndTheDialogLoopEnds) {
    Line(Point(0, 0), Point(10, 0));
    const int p = Point(3, 4);
    FillPoints(g_surveyPoints);
    editor.OnCommand(32795);
    Click(5, -1);
    ASSERT_EQ(S().m_nMode, 382);
    Click(3, 4);
    ExpectAsked(kPointsFull);  // and no "垂直点を追加します"
    EXPECT_EQ(g_surveyPoints.HitTest(3, 0, 0.001), -1);
    (void)p;

    // The extension point: one dialog, then the message ends the command.
    SetUp();
    const int a = Point(0, 0), b = Point(10, 0);
    Line(a, b);
    FillPoints(g_surveyPoints);
    editor.OnCommand(32794);
    host.dialogs.push_back(ScriptHost::Ok({{CValueInputDlg::kValue, "5"}}));
    host.dialogs.push_back(ScriptHost::Ok({{CValueInputDlg::kValue, "6"}}));
    Click(9, 1);
    ExpectAsked(kPointsFull);
    EXPECT_EQ(host.dialogCaptions.size(), 1u);
    EXPECT_EQ(g_surveyPoints.GetCount(), kMaxTableSlots);
}

TEST_F(FullTables, CoordinateDialogRegistersNothing) {
    FillPoints(g_surveyPoints);
    int registered = 0;
    CPointCoordDlg dlg(&S());
    dlg.m_onRegistered = [&] { ++registered; };
    dlg.InitDialog();
    dlg.SetText(CPointCoordDlg::kX, "12");
    dlg.SetText(CPointCoordDlg::kY, "34");
    dlg.Click(IDOK);
    EXPECT_EQ(registered, 0);
    EXPECT_EQ(g_surveyPoints.HitTest(12, 34, 0.001), -1);
    ASSERT_EQ(dlg.Messages().size(), 1u);
    EXPECT_EQ(dlg.Messages()[0].text, kPointsFull);
    EXPECT_EQ(dlg.Messages()[0].caption, "ｴﾗｰ");
    EXPECT_EQ(dlg.Result(), 0) << "stays open";
}

TEST_F(FullTables, BlockSetRefused) {
    FillBlocks(g_blocks);
    editor.OnCommand(32817);
    Click(100, 100);
    ExpectAsked(kBlocksFull);
    EXPECT_EQ(g_blocks.GetCount(), kMaxTableSlots);
    EXPECT_EQ(host.modified, 0);
    // A block released makes room for one.
    editor.OnCommand(32818);
    Click(0, 0);
    editor.OnCommand(32817);
    Click(100, 100);
    EXPECT_EQ(g_blocks.GetCount(), kMaxTableSlots);
    EXPECT_EQ(g_blocks.GetAt(kMaxTableSlots - 1).GetPos(), (CPointD{100, 100}));
    EXPECT_EQ(host.asked.size(), 1u);
}

}  // namespace
}  // namespace wv::test
