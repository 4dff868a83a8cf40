// Split, merge, crossing point, line attributes, constructions and point moves on
// hand-built terrain, each checked against the numbers worked out by hand.
#include "tik_edit_test_util.h"

#include "project/line_attributes.h"
#include "project/line_topology.h"
#include "project/point_constructions.h"
#include "project/point_moves.h"
#include "project/tik_dialogs.h"

#include <cmath>
#include <cstdlib>

namespace wv::test {
namespace {

using EditorOps = TikEditFixture;

// ---- split, merge, crossing ----

TEST_F(EditorOps, SplitAtAQuarterInterpolatesTheHeight) {
    const int a = Point(0, 0, 2.0), b = Point(40, 0, 4.0), x = Point(10, 3, 0.0);
    const int l = Line(a, b, kLineTerrain, 0, 0.0);
    editor.OnCommand(32798);
    Click(20, 0);
    EXPECT_EQ(S().m_nMode, 301);
    Click(10, 3);
    EXPECT_EQ(S().m_nMode, 300);
    EXPECT_NEAR(Height(x), 2.0 + 2.0 * 10.44030650891055 / (10.44030650891055 + 30.14962686336267), 1e-12);
    EXPECT_LT(g_lines.GetAt(l).GetState(), 0);
    EXPECT_EQ(g_lines.GetCount(), 2);
    for (int i = 0; i < g_lines.GetSlotCount(); ++i) {
        const CLineZokusei n = g_lines.GetAt(i);
        if (n.GetState() < 0) continue;
        EXPECT_EQ(n.GetKind(), kLineTerrain);
        EXPECT_TRUE(n.GetStartIndex() == x || n.GetEndIndex() == x);
    }
    // On the line itself the quarter gives 2.5.
    SetUp();
    const int a2 = Point(0, 0, 2.0), b2 = Point(40, 0, 4.0), x2 = Point(10, 0, 0.0);
    Line(a2, b2, kLineDepth, 0, 9.0);
    editor.OnCommand(32798);
    Click(30, 0);
    Click(10, 0);
    EXPECT_DOUBLE_EQ(Height(x2), 2.5);
    for (int i = 0; i < g_lines.GetSlotCount(); ++i)
        if (g_lines.GetAt(i).GetState() >= 0) {
            EXPECT_DOUBLE_EQ(g_lines.GetAt(i).GetDepth(), 9.0);
        }
}

TEST_F(EditorOps, SplitRefusalsLeaveTheTables) {
    // X carries 3.0 from a depth line; the split line is a depth line of 5.0.
    const int a = Point(0, 0, 5.0), b = Point(40, 0, 5.0), x = Point(20, 0, 3.0), y = Point(20, 30, 3.0);
    Line(a, b, kLineDepth, 0, 5.0);
    Line(x, y, kLineDepth, 0, 3.0);
    editor.OnCommand(32798);
    const Tables before = Snapshot();
    Click(5, 0);
    Click(20, 0);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(S().m_nMode, 300);
    // At the line's own end: ignored, the mode stays 301.
    Click(5, 0);
    Click(40, 0);
    EXPECT_EQ(S().m_nMode, 301);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(EditorOps, SplitKeepsAHeightAPointAlreadyCarries) {
    const int a = Point(0, 0, 2.0), b = Point(40, 0, 4.0), x = Point(20, 0, 7.0), y = Point(20, 30, 7.0);
    Line(a, b, kLineTerrain, 0, 0.0);
    Line(x, y, kLineTerrain, 0, 0.0);
    editor.OnCommand(32798);
    Click(5, 0);
    Click(20, 0);
    EXPECT_DOUBLE_EQ(Height(x), 7.0);
    EXPECT_EQ(g_lines.GetCount(), 3);
}

TEST_F(EditorOps, MergeKinds) {
    struct Case { int kp, htp, kt, htt; double hA, hB; int kind, type; bool merged; } cases[] = {
        {kLineUndefined, 0, kLineUndefined, 0, 0, 0, kLineUndefined, 0, true},
        {kLineTerrain, 1, kLineAuxiliary, 0, 0, 0, kLineAuxiliary, 1, true},
        {kLineDepth, 0, kLineTerrain, 2, 0, 0, kLineTerrain, 2, true},
        {kLineDepth, 0, kLineUndefined, 0, 0, 0, kLineUndefined, 0, true},
        {kLineDepth, 0, kLineDepth, 0, 5.0, 5.00005, kLineDepth, 0, true},
        {kLineDepth, 0, kLineDepth, 0, 5.0, 5.0002, 0, 0, false},
    };
    for (const Case& c : cases) {
        SetUp();
        const int A = Point(0, 0, c.hA), M = Point(10, 0), B = Point(20, 5, c.hB);
        const int P = Line(A, M, c.kp, c.htp, 1.5), T = Line(M, B, c.kt, c.htt, 2.5);
        editor.OnCommand(32799);
        const Tables before = Snapshot();
        Click(3, 0);
        Click(17, 3.5);
        EXPECT_EQ(S().m_nMode, 310);
        if (!c.merged) {
            EXPECT_EQ(Snapshot(), before);
            continue;
        }
        EXPECT_LT(g_lines.GetAt(P).GetState(), 0);
        EXPECT_LT(g_lines.GetAt(T).GetState(), 0);
        ASSERT_EQ(g_lines.GetCount(), 1);
        ASSERT_EQ(g_lines.Exists(std::min(A, B), std::max(A, B)), -1);
        const CLineZokusei m = g_lines.GetAt(2);
        EXPECT_EQ(m.GetKind(), c.kind);
        EXPECT_EQ(m.GetHeightType(), c.type);
        EXPECT_EQ(m.GetStartIndex(), A);
        EXPECT_EQ(m.GetEndIndex(), B);
        EXPECT_DOUBLE_EQ(m.GetDepth(), 1.5);
        EXPECT_GE(g_surveyPoints.GetAt(M).GetId(), 0) << "the middle point stays";
    }
}

TEST_F(EditorOps, CrossingPoint) {
    struct Case { double x1, y1, x2, y2; bool offered; double ex, ey; } cases[] = {
        {30, -10, 30, -5, true, 30, 0},     // beyond both segments
        {0, 10, 20, 10, false, 0, 0},       // parallel
        {5, -5, 5, 5, false, 0, 0},         // onto an existing point (5, 0)
    };
    for (const Case& c : cases) {
        for (int answer : {IDOK, IDCANCEL}) {
            SetUp();
            const int a = Point(0, 0), b = Point(20, 0);
            Point(5, 0.0004);
            Line(a, b);
            const int p = Point(c.x1, c.y1), q = Point(c.x2, c.y2);
            const int second = Line(p, q);
            editor.OnCommand(32793);
            CLineTopology topo(S(), host);
            topo.AddIntersectionPoint(10, 1);
            const Tables before = Snapshot();
            host.answers.push_back(answer);
            topo.AddIntersectionPoint(c.x1, (c.y1 + c.y2) / 2);
            EXPECT_EQ(host.asked.size(), c.offered ? 1u : 0u);
            if (c.offered && answer == IDOK) {
                EXPECT_EQ(g_surveyPoints.GetCount(), 6);
                EXPECT_GE(g_surveyPoints.HitTest(c.ex, c.ey, 0.001), 0);
                EXPECT_EQ(S().m_nPoint1, -1);
            } else {
                EXPECT_EQ(Snapshot(), before);
            }
            if (!c.offered) {
                EXPECT_FALSE(S().m_lineSel.Get(second)) << "the second line's mark is cleared";
                EXPECT_EQ(S().m_nPoint1, a) << "the first line stays picked";
            }
            EXPECT_EQ(g_lines.GetCount(), 2) << "the lines are not split";
        }
    }
}

// ---- attributes ----

struct ChainFixture : TikEditFixture {
    // 0 -10- 1 -20- 2 -10- 3, a straight chain of three undefined lines.
    void Build(int kind = kLineUndefined) {
        for (double x : {0.0, 10.0, 30.0, 40.0}) p.push_back(Point(x, 0));
        for (int i = 0; i < 3; ++i) l.push_back(Line(p[i], p[i + 1], kind));
    }
    std::vector<int> p, l;
};

TEST_F(ChainFixture, ChainSetInterpolatesAlongTheChain) {
    Build();
    editor.OnCommand(32905);
    Click(2, 0);
    EXPECT_EQ(S().m_nMode, 55);
    host.dialogs.push_back(ScriptHost::Ok({{CGroundHeightDlg::kStart, "1.0"}, {CGroundHeightDlg::kEnd, "5.0"}}));
    Click(38, 0);
    EXPECT_EQ(S().m_nMode, 54);
    const double expect[] = {1.0, 2.0, 4.0, 5.0};
    for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(Height(p[i]), expect[i]);
    for (int line : l) {
        EXPECT_EQ(Kind(line), kLineTerrain);
        EXPECT_EQ(g_lines.GetAt(line).GetHeightType(), 0);
    }
    EXPECT_FALSE(S().m_lineSel.Any());
}

TEST_F(ChainFixture, ChainSetEqualEndsAndCancel) {
    Build();
    editor.OnCommand(32905);
    Click(2, 0);
    host.dialogs.push_back(ScriptHost::Ok({{CGroundHeightDlg::kStart, "3.0"}, {CGroundHeightDlg::kEnd, "3.00001"}}));
    Click(38, 0);
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(Height(p[i]), 3.0);

    const Tables before = Snapshot();
    Click(2, 0);
    host.dialogs.push_back(ScriptHost::Cancel());
    Click(38, 0);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(S().m_nMode, 54);
}

TEST_F(ChainFixture, WalkStopsAtAJunctionAndARingChangesNothing) {
    Build();
    const int branch = Point(30, 10);
    Line(p[2], branch);  // three lines meet at point 2
    editor.OnCommand(32905);
    Click(2, 0);
    host.dialogs.push_back(ScriptHost::Ok({{CGroundHeightDlg::kStart, "1.0"}, {CGroundHeightDlg::kEnd, "3.0"}}));
    Click(38, 0);
    EXPECT_EQ(Kind(l[0]), kLineTerrain);
    EXPECT_EQ(Kind(l[1]), kLineTerrain);
    EXPECT_EQ(Kind(l[2]), kLineUndefined) << "beyond the junction";
    EXPECT_DOUBLE_EQ(Height(p[2]), 3.0);

    SetUp();
    const int a = Point(0, 0), b = Point(10, 0), c = Point(5, 10);
    Line(a, b);
    Line(b, c);
    Line(c, a);
    // The walk goes round the ring back to its first line without meeting the last pick.
    Line(Point(100, 100), Point(110, 100));
    editor.OnCommand(32905);
    const Tables before = Snapshot();
    Click(5, -0.5);
    Click(105, 100);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(S().m_nMode, 55) << "a ring leaves the second step and its pick";
    EXPECT_TRUE(host.dialogCaptions.empty());
}

TEST_F(ChainFixture, ChainModesFollowDepthLinesToo) {
    for (int cmd : {32905, 32907}) {
        SetUp();
        p.clear();
        l.clear();
        Build();
        CLineZokusei mid = g_lines.GetAt(l[1]);
        mid.SetKind(kLineDepth);
        g_lines.SetAt(l[1], mid);
        editor.OnCommand(cmd);
        Click(2, 0);
        host.dialogs.push_back(ScriptHost::Ok());
        Click(38, 0);
        EXPECT_EQ(Kind(l[1]), cmd == 32905 ? kLineTerrain : kLineAuxiliary);
    }
}

TEST_F(ChainFixture, SingleSetReleaseAndChainRelease) {
    Build(kLineTerrain);
    // Release of a single line keeps its end heights.
    CSokutenZokusei q = g_surveyPoints.GetAt(p[0]);
    q.SetDepth(4.5);
    g_surveyPoints.SetAt(p[0], q);
    editor.OnCommand(32902);
    Click(3, 0);
    EXPECT_EQ(Kind(l[0]), kLineUndefined);
    EXPECT_DOUBLE_EQ(Height(p[0]), 4.5);

    // Chain release from the second line on, answered No then Yes.
    for (int answer : {IDNO, IDYES}) {
        editor.OnCommand(32903);
        Click(12, 0);
        EXPECT_EQ(S().m_nMode, 57);
        host.answers.push_back(answer);
        Click(39, 0);
        EXPECT_EQ(S().m_nMode, 56);
        EXPECT_EQ(Kind(l[1]), answer == IDYES ? kLineUndefined : kLineTerrain);
        EXPECT_EQ(Kind(l[2]), answer == IDYES ? kLineUndefined : kLineTerrain);
    }
    EXPECT_EQ(host.asked.back().text, "選択したﾃﾞｰﾀを解除します。");

    // Single set as a boundary: heights untouched.
    editor.OnCommand(32904);
    host.dialogs.push_back([](CDialogModel& d) {
        d.Click(CGroundHeightDlg::kTypeValid);
        d.Click(IDOK);
    });
    Click(25, 0);
    EXPECT_EQ(Kind(l[1]), kLineTerrain);
    EXPECT_EQ(g_lines.GetAt(l[1]).GetHeightType(), 1);
}

// ---- constructions ----

TEST_F(EditorOps, ExtensionAndAngleDistancePoints) {
    struct Case { int command; const char* distance; const char* angle; double ex, ey; } cases[] = {
        {32794, "5", nullptr, 15, 0}, {32794, "-5", nullptr, 5, 0},
        {32796, "5", "90", 10, -5}, {32796, "5", "-90", 10, 5}, {32796, "5", "0", 15, 0},
    };
    for (const Case& c : cases) {
        SetUp();
        Line(Point(0, 0), Point(10, 0));
        editor.OnCommand(c.command);
        if (c.angle)
            host.dialogs.push_back(ScriptHost::Ok({{CAngleDistDlg::kDistance, c.distance}, {CAngleDistDlg::kAngle, c.angle}}));
        else
            host.dialogs.push_back(ScriptHost::Ok({{CValueInputDlg::kValue, c.distance}}));
        Click(9, 1);
        EXPECT_GE(g_surveyPoints.HitTest(c.ex, c.ey, 0.001), 0) << c.ex << "," << c.ey << " got "
            << g_surveyPoints.GetAt(2).GetPos().m_dX << "," << g_surveyPoints.GetAt(2).GetPos().m_dY;
        EXPECT_EQ(g_surveyPoints.GetCount(), 3);
        EXPECT_EQ(S().m_nSelIndex, -1);
    }
    // Cancel at the question brings the dialog back; Cancel there leaves the table.
    SetUp();
    Line(Point(0, 0), Point(10, 0));
    editor.OnCommand(32794);
    host.dialogs.push_back(ScriptHost::Ok({{CValueInputDlg::kValue, "5"}}));
    host.answers.push_back(IDCANCEL);
    const Tables before = Snapshot();
    Click(9, 1);
    EXPECT_EQ(host.dialogCaptions.size(), 2u);
    EXPECT_EQ(host.dialogCaptions[0], "伸縮計算");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(EditorOps, ExtensionOntoAnExistingPointComesBack) {
    Line(Point(0, 0), Point(10, 0));
    Point(15, 0);
    editor.OnCommand(32794);
    host.dialogs.push_back(ScriptHost::Ok({{CValueInputDlg::kValue, "5"}}));
    Click(9, 1);
    EXPECT_EQ(host.dialogCaptions.size(), 2u);
    EXPECT_TRUE(host.asked.empty());
    EXPECT_EQ(g_surveyPoints.GetCount(), 3);
}

TEST_F(EditorOps, NearerEndTieGoesToTheEnd) {
    const int a = Point(0, 0), b = Point(10, 0);
    Line(a, b);
    CPointConstructions c(S(), host);
    S().m_nMode = 380;
    host.dialogs.push_back(ScriptHost::Cancel());
    // Picked without a dialog answer: check the picks while the dialog is up.
    host.dialogs.front() = [&](CDialogModel& d) {
        EXPECT_EQ(S().m_nPoint1, b);
        EXPECT_EQ(S().m_nPoint2, a);
        d.Click(IDCANCEL);
    };
    c.LeftClick(5, 3);
    // The stretch move's pick gives a tie to the start.
    CPointMoves m(S(), host);
    S().m_nMode = 350;
    m.LeftClick(5, 3);
    EXPECT_EQ(S().m_nPoint1, a);
}

TEST_F(EditorOps, PerpendicularPoints) {
    struct Case { double px, py; double ex, ey; } cases[] = {{3, 4, 3, 0}, {12, 4, 12, 0}};
    for (const Case& c : cases) {
        SetUp();
        Line(Point(0, 0), Point(10, 0));
        Point(c.px, c.py);
        editor.OnCommand(32795);
        Click(5, -1);
        EXPECT_EQ(S().m_nMode, 382);
        Click(c.px, c.py);
        EXPECT_GE(g_surveyPoints.HitTest(c.ex, c.ey, 0.001), 0);
        EXPECT_EQ(host.asked.at(0).text, "垂直点を追加します");
        EXPECT_EQ(S().m_nMode, 382);
    }
    // A base line of no length offers nothing.
    SetUp();
    const int a = Point(0, 0);
    const int b = Point(20, 20);
    const int l = g_lines.Add(0, 0, 0, 0, 0, 0, 0.0, 0, a, a);
    (void)b;
    S().m_nMode = 382;
    S().m_nSelIndex = l;
    const Tables before = Snapshot();
    Click(20, 20);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(host.asked.empty());
}

// ---- moves and end-point change ----

TEST_F(EditorOps, MoveByCoordinates) {
    const int a = Point(0, 0), b = Point(50, 0), c = Point(0, 50);
    const int l = Line(a, b);
    (void)c;
    struct Case { const char* x; const char* y; bool moves; } cases[] = {
        {"0", "50", false},              // onto another point
        {"0.0004", "0", false},          // unchanged: its own place
        {"7.12345", "-3", true},
    };
    for (const Case& k : cases) {
        editor.OnCommand(32803);
        const int before = host.modified;
        host.dialogs.push_back(ScriptHost::Ok({{CPointCoordDlg::kX, k.x}, {CPointCoordDlg::kY, k.y}}));
        Click(1, 1);
        EXPECT_EQ(host.dialogCaptions.back(), "点座標編集");
        EXPECT_EQ(host.modified - before, k.moves ? 1 : 0) << k.x;
        EXPECT_EQ(S().m_nMode, 101);
        EXPECT_EQ(S().m_nSelPoint, -1);
    }
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(a).GetPos().m_dX, 7.123);
    EXPECT_DOUBLE_EQ(g_lines.GetAt(l).GetStartPos().m_dX, 7.123);
    EXPECT_DOUBLE_EQ(g_lines.GetAt(l).GetStartPos().m_dY, -3.0);
}

TEST_F(EditorOps, MouseMoveKeepsThePointUntilTheRightButton) {
    const int a = Point(0, 0), b = Point(50, 0);
    const int l = Line(a, b);
    editor.OnCommand(32804);
    Click(1, 1);
    EXPECT_EQ(S().m_nMode, 103);
    Click(20, 20);
    Click(30, 25);
    EXPECT_EQ(g_surveyPoints.GetAt(a).GetPos(), (CPointD{30, 25}));
    EXPECT_EQ(g_lines.GetAt(l).GetStartPos(), (CPointD{30, 25}));
    RightClick();
    EXPECT_EQ(S().m_nMode, 102);
}

TEST_F(EditorOps, EndPointChange) {
    // P with two lines; moved onto the far end of one of them.
    const int P = Point(0, 0), A = Point(10, 0), B = Point(0, 10);
    const int la = Line(P, A), lb = Line(P, B);
    editor.OnCommand(32800);
    Click(0, 0);
    EXPECT_EQ(S().m_nMode, 321);
    Click(10, 0);
    EXPECT_EQ(S().m_nMode, 320);
    EXPECT_LT(g_lines.GetAt(la).GetState(), 0);
    EXPECT_EQ(g_lines.GetAt(lb).GetStartIndex(), A);
    EXPECT_EQ(g_lines.GetAt(lb).GetEndIndex(), B);
    EXPECT_GE(g_surveyPoints.GetAt(P).GetId(), 0);
    // P has no lines now: it cannot be picked.
    Click(0, 0);
    EXPECT_NE(S().m_nSelPoint, P);
}

TEST_F(EditorOps, EndPointChangeRefusals) {
    // A duplicate of one of several lines refuses the whole change.
    const int P = Point(0, 0), A = Point(10, 0), B = Point(0, 10), N = Point(20, 20);
    Line(P, A);
    Line(P, B);
    Line(A, N);
    editor.OnCommand(32800);
    const Tables before = Snapshot();
    Click(0, 0);
    Click(20, 20);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(S().m_nMode, 320);

    // Depth 3.0 onto a determined 4.0: refused; onto a point without a height: 3.0 passes.
    SetUp();
    const int D = Point(0, 0, 3.0), E = Point(10, 0, 3.0), F = Point(30, 30, 4.0), G = Point(40, 30, 4.0);
    const int H = Point(-30, -30, 0.0);
    Line(D, E, kLineDepth, 0, 3.0);
    Line(F, G, kLineTerrain, 0, 0.0);
    editor.OnCommand(32800);
    const Tables before2 = Snapshot();
    Click(0, 0);
    Click(30, 30);
    EXPECT_EQ(Snapshot(), before2);
    CSokutenZokusei h = g_surveyPoints.GetAt(H);
    h.SetDepth(kUndeterminedHeight);
    g_surveyPoints.SetAt(H, h);
    Click(0, 0);
    Click(-30, -30);
    EXPECT_DOUBLE_EQ(Height(H), 3.0);
    EXPECT_EQ(g_lines.Exists(E, H), -1);
}

TEST_F(EditorOps, EndPointChangeMovesEveryLineOfABusyPoint) {
    const int P = Point(0, 0);
    std::vector<int> lines;
    for (int i = 0; i < 10; ++i) lines.push_back(Line(P, Point(100 + 10.0 * i, 100)));
    const int N = Point(-50, -50);
    editor.OnCommand(32800);
    Click(0, 0);
    Click(-50, -50);
    for (int l : lines) {
        const CLineZokusei z = g_lines.GetAt(l);
        EXPECT_TRUE(z.GetStartIndex() != P && z.GetEndIndex() != P);
        EXPECT_TRUE(z.GetStartIndex() == N || z.GetEndIndex() == N);
    }
}

TEST_F(EditorOps, StretchMove) {
    const int a = Point(0, 0), b = Point(10, 0);
    Line(a, b);
    const int m1 = Point(50, 50), m2 = Point(60, 50), blocker = Point(55, 50);
    (void)blocker;
    editor.OnCommand(32805);
    Click(9, 0.5);  // nearer end b: direction from a to b
    Click(50, 50);
    Click(60, 50);
    host.dialogs.push_back(ScriptHost::Ok({{CValueInputDlg::kValue, "5"}}));
    host.answers.push_back(IDYES);
    RightClick();
    EXPECT_EQ(host.dialogCaptions.back(), "測点移動");
    EXPECT_EQ(g_surveyPoints.GetAt(m1).GetPos(), (CPointD{50, 50})) << "its target is taken";
    EXPECT_EQ(g_surveyPoints.GetAt(m2).GetPos(), (CPointD{65, 50}));
    EXPECT_EQ(S().m_nMode, 350);

    // No puts them back and asks again; Cancel then ends.
    editor.OnCommand(32805);
    Click(9, 0.5);
    Click(65, 50);
    host.dialogs.push_back(ScriptHost::Ok({{CValueInputDlg::kValue, "5"}}));
    host.answers.push_back(IDNO);
    RightClick();
    EXPECT_EQ(g_surveyPoints.GetAt(m2).GetPos(), (CPointD{65, 50}));
}

}  // namespace
}  // namespace wv::test

namespace wv::test {
namespace {

using EditorMonkey = TikEditFixture;

// Random commands, clicks, drags and right clicks with random answers: nothing crashes,
// and no line is ever left ending at a free point slot.
TEST_F(EditorMonkey, RandomSessionsKeepTheTablesSound) {
    std::uint32_t seed = 12345;
    if (const char* e = std::getenv("WAVORA_MONKEY_SEED")) seed = static_cast<std::uint32_t>(std::atoi(e));
    auto next = [&](int n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    for (int i = 0; i < 12; ++i) Point(next(200) - 100, next(200) - 100, next(10));
    for (int i = 0; i < 10; ++i) {
        const int a = next(12), b = next(12);
        if (a != b && !g_lines.Exists(std::min(a, b), std::max(a, b))) Line(a, b, next(4), next(3), -next(20));
    }
    const std::vector<int>& ids = CTikEditor::CommandIds();
    for (int step = 0; step < 3000; ++step) {
        host.answers.push_back(next(2) ? IDYES : IDNO);
        host.answers.push_back(next(2) ? IDOK : IDCANCEL);
        if (host.dialogs.size() < 4)
            host.dialogs.push_back(next(3) ? ScriptHost::Ok({{1010, std::to_string(next(40) - 20)},
                                                             {1011, std::to_string(next(40) - 20)}})
                                           : ScriptHost::Cancel());
        const int what = next(10);
        const double x = next(240) - 120, y = next(240) - 120;
        if (what == 0) {
            const int id = ids[next(static_cast<int>(ids.size()))];
            if (id == 32779 || id == 32777 || id == 32778) continue;  // keep one pixel per metre
            editor.OnCommand(id);
        } else if (what == 1) {
            RightClick();
        } else if (what == 2) {
            auto [cx, cy] = Client(x, y);
            editor.OnLButtonDown(0, cx, cy);
            editor.OnMouseMove(0, cx + next(30), cy + next(30));
            editor.OnLButtonUp(0, cx + next(30), cy + next(30));
        } else {
            Click(x, y, next(8) == 0 ? kKeyControl : 0);
        }
        S().m_coord.SetScale(1.0);
        S().m_coord.SetAngle(0.0);
        for (int l = 0; l < g_lines.GetSlotCount(); ++l) {
            const CLineZokusei z = g_lines.GetAt(l);
            if (z.GetState() < 0) continue;
            ASSERT_GE(g_surveyPoints.GetAt(z.GetStartIndex()).GetId(), 0) << "step " << step;
            ASSERT_GE(g_surveyPoints.GetAt(z.GetEndIndex()).GetId(), 0) << "step " << step;
            ASSERT_NE(z.GetStartIndex(), z.GetEndIndex()) << "step " << step;
        }
    }
}

}  // namespace
}  // namespace wv::test
