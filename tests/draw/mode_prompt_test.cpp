// Mode prompts, cursors and the drag-frame machine.
#include "draw/mode_prompt.h"
#include "platform/recording_dc.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace wv {
namespace {

// The prompts of the mode table, copied by hand.
const struct {
    std::vector<int> modes;
    const char* prompt;
} kTable[] = {
    {{0}, "Ctrl+左ｸﾘｯｸで地形/水深/補助線の高さを表示します"},
    {{1}, "点追加"},
    {{2}, "結線－始点選択"},
    {{3}, "結線－終点選択"},
    {{5, 6, 7}, "測点削除－要素選択、ドラッグして領域指定（決定：右クリック）"},
    {{10, 11}, "拡大"},
    {{12}, "領域拡大"},
    {{17}, "諸元作図位置設定－算出点を指定"},
    {{18}, "諸元作図位置設定－枠左下を指定"},
    {{19}, "諸元作図位置解除－枠左下を指定"},
    {{20, 21}, "縮小"},
    {{22}, "領域縮小"},
    {{30}, "回転－回転の中心となる測点要素を指定"},
    {{31}, "回転－回転後の水平ラインを指定"},
    {{32}, "計測－計測距離の始点を指定"},
    {{33}, "計測－計測距離の終点を指定"},
    {{40}, "水深線設定－線分要素を指定（決定：右クリック）"},
    {{41}, "水深線解除－水深線要素を指定"},
    {{42}, "水深線領域解除－領域を設定"},
    {{44, 45, 46}, "線分削除－要素選択、ドラッグして領域指定（決定：右クリック）"},
    {{48}, "線分領域削除－領域を設定"},
    {{49}, "測点領域削除－領域を設定"},
    {{50}, "地形線設定－線分要素の基準端点側を指定"},
    {{51}, "地形線解除－地形線要素を指定"},
    {{52}, "地形線領域解除－領域を設定"},
    {{53}, "地形線有効/無効設定－連続線分の始点を指定"},
    {{54}, "地形線地盤高設定－連続線分の始点を指定"},
    {{55}, "地形線地盤高設定－連続線分の終点を指定"},
    {{56}, "地形線解除－連続線分の始点を指定"},
    {{57}, "地形線解除－連続線分の終点を指定"},
    {{58}, "地形線有効/無効設定－連続線分の終点を指定"},
    {{60}, "地形認識－陸地側から地形線を指定"},
    {{80}, "計算領域－ドラッグして領域指定"},
    {{90}, "地形解除－地形ブロック基準点を指定"},
    {{100}, "枠配置－枠中心を指定"},
    {{101}, "点座標編集－測点要素を指定"},
    {{102}, "点ﾏｳｽ編集－測点要素を指定"},
    {{103}, "点ﾏｳｽ編集－測点位置を指定（決定：右クリック）"},
    {{104, 118}, "デジタルマップ記入/消去－位置を指定"},
    {{105}, "コンター挿入－挿入位置を指定"},
    {{106}, "コンター数値記入－記入位置を指定"},
    {{107}, "コンター連続削除－コンターを指定"},
    {{108}, "コンター領域削除－領域を設定"},
    {{109}, "磁北配置－配置基準点を指定"},
    {{110}, "入射情報配置－配置基準点を指定"},
    {{111, 112, 120}, "デジタルマップ全記入－配置基準点を指定"},
    {{113, 119}, "デジタルマップ領域削除－領域を設定"},
    {{115}, "ベクトル全記入－配置基準点を指定"},
    {{116}, "ベクトル記入/消去－位置を指定"},
    {{117}, "ベクトル領域削除－領域を設定"},
    {{129}, "補助線設定－連続線分の始点を指定"},
    {{130}, "補助線設定－連続線分の終点を指定"},
    {{131}, "補助線解除－補助線要素を指定"},
    {{132}, "補助線領域解除－領域を設定"},
    {{133}, "補助線設定－線分要素の基準端点側を指定"},
    {{134}, "補助線解除－連続線分の始点を指定"},
    {{135}, "補助線解除－連続線分の終点を指定"},
    {{140}, "算出点追加"},
    {{141}, "算出点ﾏｳｽ編集－算出点を指定"},
    {{142}, "算出点ﾏｳｽ編集－位置を指定（決定：右クリック）"},
    {{143}, "算出点座標編集－算出点を指定"},
    {{200}, "線追加－開始点を指定"},
    {{201}, "線追加－終了点を指定"},
    {{300}, "線分割－線分要素を指定"},
    {{301}, "線分割－端点となる測点要素を指定"},
    {{310}, "線合成－線分要素１を指定"},
    {{311}, "線合成－線分要素２を指定"},
    {{315}, "交点追加－交点計算する２線分を指定"},
    {{320}, "端点変更－線分要素の端点を指定"},
    {{321}, "端点変更－変更先の測点要素を指定"},
    {{350}, "点移動－方向基準線となる線分要素を指定"},
    {{351}, "点移動－測点要素を指定（決定：右クリック）"},
    {{360}, "タブレット－測点読取り"},
    {{370}, "タブレット－連続線分の端点を指定"},
    {{380}, "伸縮点－方向基準線となる線分要素の基準端点側を指定"},
    {{381}, "垂直点－基準線となる線分要素を指定"},
    {{382}, "垂直点－垂直に下ろす測点要素を指定"},
    {{383}, "角度・距離－方向基準線となる線分要素の基準端点側を指定"},
};

TEST(ModePrompt, EveryModeOfTheTableHasItsPromptByteForByte) {
    std::set<int> listed;
    for (const auto& row : kTable)
        for (int m : row.modes) {
            EXPECT_STREQ(ModePromptText(m), row.prompt) << m;
            listed.insert(m);
        }
    // Anything else, 81, 114 and 144 among them, shows the prompt of mode 0.
    for (int m = -5; m < 1000; ++m)
        if (!listed.count(m)) { EXPECT_STREQ(ModePromptText(m), kTable[0].prompt) << m; }
}

struct FakeCmdUI {
    std::string text;
    int enabled = -1;
    void SetText(const char* t) { text = t; }
    void Enable(bool on) { enabled = on ? 1 : 0; }
};

TEST(ModePrompt, FillsThePaneAndEnablesIt) {
    FakeCmdUI ui;
    GetModePrompt(&ui, 12);
    EXPECT_EQ(ui.text, "領域拡大");
    EXPECT_EQ(ui.enabled, 1);
    GetModePrompt(&ui, 81);
    EXPECT_EQ(ui.text, "Ctrl+左ｸﾘｯｸで地形/水深/補助線の高さを表示します");
    EXPECT_EQ(std::string(kModePromptPaneIdle), "準備できてます・・・・・");
    EXPECT_EQ(kModePromptPaneId, 59144);
}

TEST(ModeCursor, OnlyZoomClickModesShowTheMagnifier) {
    for (int m : {10, 20}) EXPECT_EQ(ModeCursorFor(m), ModeCursor::Magnifier) << m;
    for (int m : {0, 11, 12, 21, 22, 80, 100, 360}) EXPECT_EQ(ModeCursorFor(m), ModeCursor::Arrow) << m;
    const CursorShape& mag = CursorShapeOf(ModeCursor::Magnifier);
    const CursorShape& arrow = CursorShapeOf(ModeCursor::Arrow);
    EXPECT_EQ(mag.hotX, 0);
    EXPECT_EQ(mag.hotY, 0);
    EXPECT_EQ(arrow.hotX, 1);
    EXPECT_EQ(arrow.hotY, 1);
    for (const char* row : mag.rows) EXPECT_EQ(std::string(row).size(), 32u);
    for (const char* row : arrow.rows) EXPECT_EQ(std::string(row).size(), 32u);
}

TEST(DragFrame, PressedThenDraggingStates) {
    const struct { int pressed, dragging; } machines[] = {{11, 12}, {21, 22}, {45, 46}, {6, 7}};
    for (const auto& m : machines) {
        CRecordingDC dc;
        int mode = m.pressed;
        CRect drag{50, 40, 50, 40};  // BeginDrag: left/top where the button went down
        CRect last;
        DrawDragFrame(&dc, 20, 70, mode, drag, last);
        EXPECT_EQ(mode, m.dragging);
        DrawDragFrame(&dc, 80, 10, mode, drag, last);
        EXPECT_EQ(mode, m.dragging);
        const std::vector<std::string> expected = {
            "DrawDragRect(20,40,50,70,1,1)",
            "DrawDragRect(50,10,80,40,1,1,20,40,50,70,1,1)",
        };
        EXPECT_EQ(dc.Log(), expected) << m.pressed;
        EXPECT_EQ(last, (CRect{50, 10, 80, 40}));
        EXPECT_EQ(drag, (CRect{50, 40, 80, 10}));
    }
}

TEST(DragFrame, AreaDragAndOtherModes) {
    CRecordingDC dc;
    CRect drag{5, 5, 5, 5}, last;
    int mode = 81;
    DrawDragFrame(&dc, 9, 9, mode, drag, last);
    EXPECT_EQ(mode, 82);
    EXPECT_EQ(dc.Count("DrawDragRect"), 1);
    // The calculation view draws its own area rectangle in 82; idle forms draw nothing,
    // so a press and release without a move leaves no frame.
    for (int m : {82, 10, 20, 80, 44, 5, 0}) {
        int mm = m;
        DrawDragFrame(&dc, 30, 30, mm, drag, last);
        EXPECT_EQ(mm, m);
    }
    EXPECT_EQ(dc.Count("DrawDragRect"), 1);
}

}  // namespace
}  // namespace wv
