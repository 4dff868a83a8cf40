// The project view's editing model driven headless: point and line input, the right
// button, selections by click, rectangle and area, and the view's own operations.
#include "tik_edit_test_util.h"

#include "project/point_line_input.h"
#include "project/tik_dialogs.h"
#include "project/view_selection.h"

#include <cmath>
#include <functional>

namespace wv::test {
namespace {

using EditorInput = TikEditFixture;

TEST_F(EditorInput, ClickedPositionIsRoundedToTheMillimetre) {
    CPointLineInput in(S(), host);
    struct Case { double x, y, ex, ey; } cases[] = {
        {12.3454, 7.0, 12.345, 7.0},
        {12.3455, -7.0004, 12.346, -7.0},
        {100.0004, 0.9996, 100.0, 1.0},
    };
    for (const Case& c : cases) {
        g_surveyPoints.RemoveAll();
        S().m_nMode = 1;
        in.LeftClick(c.x, c.y);
        const CPointD p = g_surveyPoints.GetAt(0).GetPos();
        EXPECT_DOUBLE_EQ(p.m_dX, c.ex) << c.x;
        EXPECT_DOUBLE_EQ(p.m_dY, c.ey) << c.y;
    }
}

TEST_F(EditorInput, MouseToleranceIsPixelsOverScale) {
    S().m_coord.SetScale(2.0);  // 5 pixels -> 2.5 m
    CPointLineInput in(S(), host);
    struct Case { double x, y; bool adds; } cases[] = {
        {2.4, 0.0, false}, {0.0, -2.4, false}, {2.6, 0.0, true},
        // The pick is a circle (as the table's hit test has it), so a corner of the square
        // is no longer the same point.
        {2.0, 2.0, true},
    };
    for (const Case& c : cases) {
        g_surveyPoints.RemoveAll();
        Point(0.0, 0.0);
        S().m_nMode = 1;
        const int before = host.modified;
        in.LeftClick(c.x, c.y);
        EXPECT_EQ(g_surveyPoints.GetCount(), c.adds ? 2 : 1) << c.x << "," << c.y;
        EXPECT_EQ(host.modified - before, c.adds ? 1 : 0);
    }
}

TEST_F(EditorInput, ChainOfClicksMakesPointsAndUndefinedLines) {
    for (int n : {1, 2, 5}) {
        SetUp();
        editor.OnCommand(32784);
        for (int k = 0; k <= n; ++k) Click(10.0 * k, 20.0 * (k % 2));
        EXPECT_EQ(S().m_nMode, 201);
        EXPECT_EQ(g_surveyPoints.GetCount(), n + 1);
        EXPECT_EQ(g_lines.GetCount(), n);
        for (int l = 0; l < n; ++l) {
            EXPECT_EQ(Kind(l), kLineUndefined);
            EXPECT_LT(g_lines.GetAt(l).GetStartIndex(), g_lines.GetAt(l).GetEndIndex());
        }
        RightClick();
        EXPECT_EQ(S().m_nMode, 200);
        EXPECT_EQ(S().m_nPoint1, -1);
    }
}

TEST_F(EditorInput, NoSecondLineBetweenTwoPointsInEitherOrder) {
    const int a = Point(0, 0), b = Point(50, 0);
    Line(a, b);
    CPointLineInput in(S(), host);
    struct Case { int mode; int first, second; } cases[] = {
        {201, a, b}, {201, b, a}, {3, a, b}, {3, b, a}};
    for (const Case& c : cases) {
        S().m_nMode = c.mode;
        S().m_nPoint1 = c.first;
        const CPointD to = g_surveyPoints.GetAt(c.second).GetPos();
        in.LeftClick(to.m_dX, to.m_dY);
        EXPECT_EQ(g_lines.GetCount(), 1);
        EXPECT_EQ(S().m_nPoint1, c.first) << "the chain keeps its start";
    }
    // Clicking the chain's own start adds nothing either.
    S().m_nMode = 201;
    S().m_nPoint1 = a;
    in.LeftClick(0.0, 0.0);
    EXPECT_EQ(g_lines.GetCount(), 1);
}

TEST_F(EditorInput, ConnectTakesTheNearestPointAndNeverCreatesOne) {
    CPointLineInput in(S(), host);
    S().m_nMode = 2;
    in.LeftClick(5, 5);  // no points: nothing
    EXPECT_EQ(S().m_nMode, 2);
    const int a = Point(0, 0), b = Point(1000, 0);
    in.LeftClick(3, 3);
    EXPECT_EQ(S().m_nPoint1, a);
    EXPECT_EQ(S().m_nMode, 3);
    in.LeftClick(5000, 900);
    EXPECT_EQ(g_surveyPoints.GetCount(), 2);
    ASSERT_EQ(g_lines.GetCount(), 1);
    EXPECT_EQ(g_lines.GetAt(0).GetEndIndex(), b);
    EXPECT_EQ(S().m_nPoint1, b);
}

TEST_F(EditorInput, NewLineErasesTheRubberBandAndDrawsGreen) {
    Point(0, 0);
    Point(100, 0);
    editor.OnCommand(32797);
    Click(0, 0);
    auto [cx, cy] = Client(60, 30);
    editor.OnMouseMove(0, cx, cy);
    host.marks.Clear();
    Click(100, 0);
    bool erased = false, green = false;
    for (const std::string& l : host.marks.Log()) {
        if (l.find("LineTo") != 0) continue;
        if (l.find("0xC0C0C0 xor") != std::string::npos) erased = true;
        if (l.find("0x008000") != std::string::npos && l.find("xor") == std::string::npos) green = true;
    }
    EXPECT_TRUE(erased);
    EXPECT_TRUE(green);
}

TEST_F(EditorInput, RightButtonOfEveryTwoStepMode) {
    struct Case { int mode; int after; } cases[] = {
        {201, 200}, {3, 2}, {57, 56}, {135, 134}, {58, 53}, {55, 54}, {130, 129}, {103, 102},
        {142, 141}, {301, 0}, {311, 0}, {321, 0}, {351, 0}, {5, 0}, {44, 0}, {40, 0}, {382, 0},
        {360, 0}, {370, 0}, {42, 0}};
    for (const Case& c : cases) {
        S().m_nMode = c.mode;
        S().m_nSavedMode = 0;
        S().m_nPoint1 = 3;
        S().m_nSelIndex = 2;
        RightClick();
        EXPECT_EQ(S().m_nMode, c.after) << c.mode;
        EXPECT_TRUE(host.asked.empty()) << c.mode << ": no selection, no question";
    }
    // The zoom modes go back to the interrupted mode.
    S().m_nMode = 201;
    editor.OnCommand(32777);
    EXPECT_EQ(S().m_nMode, 10);
    editor.OnCommand(32778);
    EXPECT_EQ(S().m_nSavedMode, 201);
    RightClick();
    EXPECT_EQ(S().m_nMode, 201);
    EXPECT_EQ(S().m_nSavedMode, 0);
}

TEST_F(EditorInput, PointDeletionAnsweredYesAndNo) {
    for (int answer : {IDYES, IDNO}) {
        SetUp();
        const int free1 = Point(0, 0), free2 = Point(40, 0);
        editor.OnCommand(32806);
        Click(0, 0);
        EXPECT_TRUE(S().m_pointSel.Get(free1));
        host.answers.push_back(answer);
        RightClick();
        ASSERT_EQ(host.asked.size(), 1u);
        EXPECT_EQ(host.asked[0].text, "選択した要素を削除します。");
        EXPECT_EQ(host.asked[0].caption, "要素削除");
        EXPECT_EQ(g_surveyPoints.GetAt(free1).GetId() < 0, answer == IDYES);
        EXPECT_GE(g_surveyPoints.GetAt(free2).GetId(), 0);
        EXPECT_EQ(S().m_nMode, answer == IDYES ? 5 : 0);
        EXPECT_FALSE(S().m_pointSel.Any());
        host.asked.clear();
    }
}

TEST_F(EditorInput, PointWithALiveLineIsNeverDeletedThoughItsLinksAreStale) {
    const int a = Point(0, 0), b = Point(40, 0);
    editor.OnCommand(32806);  // links built: none yet
    Line(a, b);               // a line arrives afterwards (an import, the digitizer)
    S().m_pointSel.Set(a, 1);
    S().m_pointSel.Set(b, 1);
    const int c = Point(80, 0);
    (void)c;
    RightClick();
    EXPECT_GE(g_surveyPoints.GetAt(a).GetId(), 0);
    EXPECT_GE(g_surveyPoints.GetAt(b).GetId(), 0);
    EXPECT_EQ(g_lines.GetCount(), 1);
}

TEST_F(EditorInput, FlagsClearedOnlyWhileTheyCoverTheTable) {
    editor.OnCommand(32806);
    S().m_pointSel.Set(7, 1);
    RightClick();  // No is the script's answer? none asked: Yes deletes nothing live
    EXPECT_FALSE(S().m_pointSel.Any());

    editor.OnCommand(32806);
    S().m_pointSel.Set(7, 1);
    for (int i = 0; i <= CSokuten::kInitialSlots; ++i) g_surveyPoints.Add(i, 0, 0);  // grows
    ASSERT_NE(g_surveyPoints.GetSlotCount(), S().m_pointSel.Count());
    host.answers.push_back(IDNO);
    RightClick();
    EXPECT_TRUE(S().m_pointSel.Get(7)) << "slots added since were never part of it";
}

TEST_F(EditorInput, DragOfNineAndTenPixels) {
    // Free points at client (501, 401) and (506, 406); a line from (500, 400) to (503, 403)
    // and one far away.
    struct Case { int mode, dx, dy; std::vector<int> marked; } cases[] = {
        // Under ten pixels either way: a click at the release point, which toggles the
        // nearest element there.
        {5, 9, 30, {3}}, {5, 30, 9, {3}},
        // Ten by ten: the rectangle.
        {5, 10, 10, {2, 3}},
        {44, 9, 30, {0}}, {44, 10, 10, {0}},
    };
    for (const Case& c : cases) {
        SetUp();
        const int p = Point(0, 0), q = Point(3, -3);
        Point(1, -1);
        Point(6, -6);
        Line(p, q);
        Line(Point(200, 0), Point(200, 3));
        editor.OnCommand(c.mode == 5 ? 32806 : 32801);
        editor.OnLButtonDown(0, 498, 398);
        editor.OnMouseMove(0, 498 + c.dx / 2, 398 + c.dy / 2);
        editor.OnMouseMove(0, 498 + c.dx, 398 + c.dy);
        editor.OnLButtonUp(0, 498 + c.dx, 398 + c.dy);
        EXPECT_EQ(S().m_nMode, c.mode);
        const SlotFlags& f = c.mode == 5 ? S().m_pointSel : S().m_lineSel;
        std::vector<int> marked;
        for (int i = 0; i < f.Count(); ++i)
            if (f.flags[i]) marked.push_back(i);
        EXPECT_EQ(marked, c.marked) << c.mode << ": " << c.dx << "x" << c.dy;
    }
}

TEST_F(EditorInput, RectangleMarksFreePointsOnly) {
    const int a = Point(0, 0), b = Point(5, -5), c = Point(10, -10), d = Point(100, 0);
    Line(c, d);
    editor.OnCommand(32806);
    editor.OnLButtonDown(0, 495, 395);
    editor.OnMouseMove(0, 520, 420);
    editor.OnLButtonUp(0, 520, 420);
    EXPECT_TRUE(S().m_pointSel.Get(a));
    EXPECT_TRUE(S().m_pointSel.Get(b));
    EXPECT_FALSE(S().m_pointSel.Get(c));
    EXPECT_FALSE(S().m_pointSel.Get(d));
    // Nine pixels one way only: the point under the release toggles instead.
    editor.OnLButtonDown(0, 495, 395);
    editor.OnMouseMove(0, 504, 440);
    editor.OnLButtonUp(0, 504, 440);
    EXPECT_TRUE(S().m_pointSel.Get(a));
}

TEST_F(EditorInput, AreaOperations) {
    struct Case { int command; int mode; int kindAffected; };
    const Case cases[] = {{32810, 42, kLineDepth}, {32813, 52, kLineTerrain},
                          {32816, 132, kLineAuxiliary}, {32802, 48, -1}};
    for (const Case& c : cases) {
        for (int kind : {kLineDepth, kLineTerrain, kLineAuxiliary}) {
            SetUp();
            const int a = Point(0, 0, 3.0), b = Point(10, 0, 3.0);
            const int l = Line(a, b, kind, 0, 3.0);
            editor.OnCommand(c.command);
            EXPECT_EQ(S().m_nMode, c.mode);
            for (auto [x, y] : {std::pair{-20.0, -20.0}, {30.0, -20.0}, {30.0, 20.0}, {-20.0, 20.0}})
                Click(x, y);
            RightClick();
            const bool hit = c.kindAffected < 0 || c.kindAffected == kind;
            EXPECT_EQ(host.asked.size(), hit ? 1u : 0u) << c.mode << " kind " << kind;
            if (c.mode == 48)
                EXPECT_LT(g_lines.GetAt(l).GetState(), 0);
            else
                EXPECT_EQ(Kind(l), hit ? kLineUndefined : kind);
            if (hit && c.mode != 48) {
                EXPECT_DOUBLE_EQ(g_lines.GetAt(l).GetDepth(), 3.0);
            }
            EXPECT_EQ(g_pAreaPolygon, nullptr);
            host.asked.clear();
        }
    }
}

TEST_F(EditorInput, AreaWithTwoVerticesOrACrossingCloseAsksNothing) {
    Point(0, 0);
    Point(5, 0);
    Point(5, 5);
    editor.OnCommand(32807);
    Click(-10, -10);
    Click(20, 20);
    RightClick();
    EXPECT_TRUE(host.asked.empty());
    EXPECT_EQ(g_pAreaPolygon, nullptr);
    EXPECT_EQ(g_surveyPoints.GetCount(), 3);

    // A bow tie: the closing edge crosses the first.
    editor.OnCommand(32807);
    Click(-10, -10);
    Click(20, -10);
    Click(-10, 20);
    Click(20, 20);
    RightClick();
    EXPECT_TRUE(host.asked.empty());
    EXPECT_EQ(g_surveyPoints.GetCount(), 3);

    // Drawn the other way round it still finds what lies inside.
    editor.OnCommand(32807);
    for (auto [x, y] : {std::pair{-10.0, -10.0}, {-10.0, 20.0}, {20.0, 20.0}, {20.0, -10.0}}) Click(x, y);
    host.answers.push_back(IDYES);
    RightClick();
    ASSERT_EQ(host.asked.size(), 1u);
    EXPECT_EQ(host.asked[0].text, "選択したﾃﾞｰﾀを削除します。");
    EXPECT_EQ(g_surveyPoints.GetCount(), 0);
}

TEST_F(EditorInput, DepthSettingOffersTheLastDepthAndSetsTheChain) {
    const int a = Point(0, 0), b = Point(10, 0), c = Point(20, 0);
    const int l1 = Line(a, b), l2 = Line(b, c);
    editor.OnCommand(32808);
    Click(5, 0);
    EXPECT_TRUE(S().m_lineSel.Get(l1));
    EXPECT_TRUE(S().m_lineSel.Get(l2));
    double offered = -1;
    host.dialogs.push_back([&](CDialogModel& d) {
        offered = static_cast<CHeightValueDlg&>(d).m_dHeight;
        d.SetText(CHeightValueDlg::kHeight, "-12.34");
        d.FocusOut(CHeightValueDlg::kHeight);
        d.Click(IDOK);
    });
    RightClick();
    EXPECT_EQ(host.dialogCaptions.back(), "地盤高設定");
    EXPECT_DOUBLE_EQ(offered, 0.0);
    for (int l : {l1, l2}) {
        EXPECT_EQ(Kind(l), kLineDepth);
        EXPECT_DOUBLE_EQ(g_lines.GetAt(l).GetDepth(), -12.3);
    }
    for (int p : {a, b, c}) EXPECT_DOUBLE_EQ(Height(p), -12.3);
    EXPECT_DOUBLE_EQ(S().m_dLastDepth, -12.3);
    EXPECT_FALSE(S().m_lineSel.Any());
    // Released again along the chain.
    editor.OnCommand(32809);
    Click(15, 0);
    EXPECT_EQ(Kind(l1), kLineUndefined);
    EXPECT_EQ(Kind(l2), kLineUndefined);
}

TEST_F(EditorInput, CtrlClickDescribesTheNearestLine) {
    const int a = Point(0, 0, 1.0), b = Point(10, 0, 2.55), c = Point(0, 10, 1.0);
    const int d = Point(10, 10, 1.004);
    struct Case { int p, q, kind, type; double depth; const char* text; } cases[] = {
        {a, b, kLineUndefined, 0, 0.0, "未定義"},
        {a, b, kLineDepth, 0, -7.25, "-7.2m"},
        {a, b, kLineTerrain, 1, 0.0, "境界有効"},
        {a, b, kLineAuxiliary, 2, 0.0, "境界無効"},
        {b, a, kLineTerrain, 0, 0.0, "1.0m～2.5m"},
        {c, d, kLineAuxiliary, 0, 0.0, "1.0m"},
    };
    for (const Case& k : cases) {
        g_lines.RemoveAll();
        Line(k.p, k.q, k.kind, k.type, k.depth);
        const CPointD pa = g_surveyPoints.GetAt(k.p).GetPos();
        host.popups.clear();
        Click(pa.m_dX + 1, pa.m_dY, kKeyControl);
        ASSERT_EQ(host.popups.size(), 1u);
        EXPECT_EQ(host.popups[0], k.text);
    }
    // No line: no popup at all.
    g_lines.RemoveAll();
    host.popups.clear();
    Click(3, 3, kKeyControl);
    EXPECT_TRUE(host.popups.empty());
}

TEST_F(EditorInput, BlocksAndOutputPoints) {
    editor.OnCommand(32817);
    Click(100, 100);
    EXPECT_EQ(g_blocks.GetCount(), 1);
    editor.OnCommand(32818);
    Click(0, 0);
    EXPECT_EQ(g_blocks.GetCount(), 0);
    Click(0, 0);  // none left: nothing
    EXPECT_EQ(g_blocks.GetCount(), 0);

    // Modes 143 and 144 with no output point in use do nothing.
    for (int cmd : {32823, 32824}) {
        editor.OnCommand(cmd);
        Click(0, 0);
        EXPECT_TRUE(host.dialogCaptions.empty());
        EXPECT_EQ(S().m_nCalcPointSel, -1);
    }
    editor.OnCommand(32820);
    for (int i = 0; i < 11; ++i) Click(30.0 * i, 0);
    EXPECT_EQ(g_calcPoints.GetCount(), 10);
    ASSERT_EQ(host.asked.size(), 1u);
    EXPECT_EQ(host.asked[0].text, "算出点の登録数は上限値(10)に達しています。");
    EXPECT_EQ(host.asked[0].caption, "ｴﾗｰ");
    editor.OnCommand(32864);
    EXPECT_EQ(g_calcPoints.GetCount(), 0);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(g_calcPoints.GetAt(i).GetName(), std::to_string(i + 1));
}

TEST_F(EditorInput, StatusPanes) {
    editor.OnCommand(32783);
    auto [cx, cy] = Client(123.4567, -8.5);
    editor.OnMouseMove(0, cx, cy);
    EXPECT_EQ(editor.PositionText(), "     123.000/-8.000");
    EXPECT_STRNE(editor.PromptText(), "");
}

}  // namespace
}  // namespace wv::test

namespace wv::test {
namespace {

using EditorView = TikEditFixture;

TEST_F(EditorView, MouseMoveDrawsOnlyOverlays) {
    Point(0, 0);
    editor.OnCommand(32784);
    Click(0, 0);
    const int redraws = host.redraws;
    for (int k = 0; k < 3; ++k) {
        host.marks.Clear();
        auto [cx, cy] = Client(20.0 + k, 10.0);
        editor.OnMouseMove(0, cx, cy);
        const auto log = host.marks.Log();
        ASSERT_FALSE(log.empty());
        for (const std::string& l : log) EXPECT_NE(l.find("xor"), std::string::npos) << l;
        // The first move draws the band; every later one erases the last and draws anew.
        EXPECT_EQ(host.marks.Count("LineTo"), k == 0 ? 1 : 2);
    }
    EXPECT_EQ(host.redraws, redraws);
}

TEST_F(EditorView, XorMarksEraseExactly) {
    host.UsePixels(1000, 800);
    const int a = Point(0, 0), b = Point(80, 40);
    Line(a, b, kLineDepth, 0, -5.0);
    editor.Draw(host.pixelMarks.get());
    auto move = [&](double x, double y) {
        auto [cx, cy] = Client(x, y);
        editor.OnMouseMove(0, cx, cy);
    };
    struct Case { const char* what; std::function<void()> start; } cases[] = {
        {"chain band", [&] { editor.OnCommand(32784); Click(0, 0); }},
        {"measuring line", [&] { editor.OnCommand(32868); Click(10, 10); }},
        {"area band", [&] { editor.OnCommand(32807); Click(-50, -50); Click(50, -50); }},
        {"drag frame", [&] {
             editor.OnCommand(32801);
             auto [cx, cy] = Client(-30, 30);
             editor.OnLButtonDown(0, cx, cy);
         }},
    };
    for (const Case& c : cases) {
        c.start();
        move(40, -20);
        const std::vector<std::uint32_t> once = host.image->Pixels();
        move(-60, 70);
        EXPECT_NE(host.image->Pixels(), once) << c.what << " moved";
        move(15, 90);
        move(40, -20);
        EXPECT_EQ(host.image->Pixels(), once) << c.what;
        RightClick();
        editor.State().m_rcDrag = CRect{};
        editor.State().m_rcDragLast = CRect{};
        editor.State().m_nMode = 0;
        editor.Draw(host.pixelMarks.get());
        std::fill(host.image->Pixels().begin(), host.image->Pixels().end(), 0xFF000000u);
        editor.Draw(host.pixelMarks.get());
    }
}

TEST_F(EditorView, ReleaseZoomsOnlyInTheZoomModes) {
    for (int cmd : {32783, 32784, 32806, 32820}) {
        editor.OnCommand(cmd);
        const double before = S().m_coord.GetScale();
        editor.OnLButtonUp(0, 300, 300);
        EXPECT_DOUBLE_EQ(S().m_coord.GetScale(), before) << cmd;
    }
    editor.OnCommand(32777);
    editor.OnLButtonDown(0, 300, 300);
    editor.OnLButtonUp(0, 300, 300);
    EXPECT_DOUBLE_EQ(S().m_coord.GetScale(), 1.2);
    EXPECT_EQ(S().m_nMode, 10);
}

TEST_F(EditorView, RotationIsStoredInTheProject) {
    Point(0, 0);
    editor.OnCommand(32781);
    Click(0, 0);
    EXPECT_EQ(S().m_nMode, 31);
    Click(0, 50);  // straight above the centre on screen
    EXPECT_EQ(S().m_nMode, 30);
    double angle = 0.0;
    S().m_coord.GetAngle(&angle);
    EXPECT_DOUBLE_EQ(g_tikInf.m_dRotation, angle);
    EXPECT_NE(angle, 0.0);
    EXPECT_EQ(host.modified, 1);
}

TEST_F(EditorView, TerrainConditionsCommand) {
    S().m_coord.SetAngle(-30.0);
    int shown = -1;
    host.dialogs.push_back([&](CDialogModel& d) {
        shown = std::atoi(d.GetText(1013).c_str());
        d.SetText(1013, "45");
        d.Click(IDOK);
    });
    editor.OnCommand(32782);
    EXPECT_EQ(shown, 30);
    double angle = 0.0;
    S().m_coord.GetAngle(&angle);
    EXPECT_DOUBLE_EQ(angle, -45.0);
    EXPECT_DOUBLE_EQ(g_tikInf.m_dRotation, -45.0);
    EXPECT_EQ(host.modified, 1);
    host.dialogs.push_back(ScriptHost::Cancel());
    editor.OnCommand(32782);
    EXPECT_EQ(host.modified, 1);
}

TEST_F(EditorView, OutputPointRegisteredByCoordinatesMarksModified) {
    host.dialogs.push_back([](CDialogModel& d) {
        d.SetText(1065, "100");
        d.SetText(1066, "200");
        d.Click(IDOK);
        d.Click(IDCANCEL);
    });
    editor.OnCommand(32822);
    EXPECT_EQ(g_calcPoints.GetCount(), 1);
    EXPECT_EQ(host.modified, 1);
    // Moved with the mouse, then edited by coordinates onto another point: unchanged.
    g_calcPoints.Add(300, 300);
    editor.OnCommand(32821);
    Click(101, 199);
    EXPECT_EQ(S().m_nMode, 142);
    Click(150, 150);
    EXPECT_EQ(g_calcPoints.GetAt(0).GetPos(), (CPointD{150, 150}));
    RightClick();
    EXPECT_EQ(S().m_nMode, 141);
    editor.OnCommand(32823);
    host.dialogs.push_back(ScriptHost::Ok({{1065, "300"}, {1066, "300"}}));
    Click(150, 150);
    EXPECT_EQ(g_calcPoints.GetAt(0).GetPos(), (CPointD{150, 150}));
    host.dialogs.push_back(ScriptHost::Ok({{1065, "10"}, {1066, "20"}}));
    Click(150, 150);
    EXPECT_EQ(g_calcPoints.GetAt(0).GetPos(), (CPointD{10, 20}));
    editor.OnCommand(32824);
    Click(10, 20);
    EXPECT_EQ(g_calcPoints.GetAt(0).GetUse(), 0);
}

TEST_F(EditorView, DigitizerModesIgnoreClicks) {
    for (int mode : {360, 370}) {
        S().m_nMode = mode;
        const Tables before = Snapshot();
        Click(10, 10);
        EXPECT_EQ(Snapshot(), before);
        EXPECT_EQ(S().m_nMode, mode);
    }
    bool ended = false;
    editor.m_onReset = [&] { ended = true; };
    RightClick();
    EXPECT_TRUE(ended);
    EXPECT_EQ(S().m_nMode, 0);
}

}  // namespace
}  // namespace wv::test
