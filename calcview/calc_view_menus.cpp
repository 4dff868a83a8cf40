// The calculation view's rows of the program's command table and its menus.
#include "calcview/calc_view_menus.h"

#include "core/command_ids.h"
#include "core/shell_commands.h"

namespace wv {

namespace {

using Item = MenuItem;

constexpr char kMenuCalc[] = "計算(&C)";

Item Sub(const char* title, std::vector<Item> items) { return Item{Item::Kind::Popup, 0, title, std::move(items)}; }

std::vector<Item> Commands(std::initializer_list<int> ids) {
    std::vector<Item> v;
    for (int id : ids) v.push_back(id == 0 ? Item::Separator() : Item::Command(id));
    return v;
}

}  // namespace

void RegisterCalcViewCommands(CommandTable& t) {
    using namespace ids;
    const CommandInfo rows[] = {
        {ID_ROTATE, "回転", "表示を回転します", "", "", false},
        {ID_CALC_AREA, "設定", "計算領域を設定します", "", "", false},
        {ID_DEPTH_CALC, "水深計算", "計算領域内の水深を計算します", "", "", false},
        {ID_WAVE_CALC, "計算", "計算領域内の波高を計算", "", "", false},
        {ID_CONTINUOUS_DATA, "連続計算用ﾃﾞｰﾀ作成", "連続計算用に計算ﾃﾞｰﾀを作成して保存", "", "", false},
        {ID_MESH_FILE_IN, "入力", "計算領域内各ﾒｯｼｭ位置の水深を入力", "", "", false},
        {ID_MESH_FILE_OUT, "出力", "計算領域内各ﾒｯｼｭ位置の水深を出力", "", "", false},
        {ID_RESULT_FILE_OUT, "計算結果ﾌｧｲﾙ出力", "計算領域内各ﾒｯｼｭ位置の波高を出力", "", "", false},
        {ID_WAVE_COND, "波条件", "波の条件を設定します", "", "", false},
        {ID_DRAW_COND, "図面条件", "図面の条件を設定します", "", "", false},
        {ID_FRAME_PLACE, "図面枠配置", "図面枠の位置を指定します", "", "", false},
        {ID_NORTH_SET, "設定", "方位記号の位置を指定します", "", "", false},
        {ID_NORTH_CLEAR, "消去", "方位記号を消去します", "", "", false},
        {ID_WAVEMARK_SET, "設定", "入射方向記号の位置を指定します", "", "", false},
        {ID_WAVEMARK_CLEAR, "消去", "入射方向記号を消去します", "", "", false},
        {ID_DATAFRAME_SET, "設定", "出力点のﾃﾞｰﾀ枠を移動します", "", "", false},
        {ID_DATAFRAME_RESET, "解除", "出力点のﾃﾞｰﾀ枠を解除します", "", "", false},
        {ID_DATAFRAME_RESET_ALL, "全解除", "すべてのﾃﾞｰﾀ枠を解除します", "", "", false},
        {ID_DEPTH_CONTOUR, "ｺﾝﾀｰ図", "水深のｺﾝﾀｰ図を作成します", "", "", false},
        {ID_RESULT_CONTOUR, "ｺﾝﾀｰ発生", "計算結果のｺﾝﾀｰを発生します", "", "", false},
        {ID_CONTOUR_INSERT, "ﾏｳｽ指定", "指定した位置を通るｺﾝﾀｰを追加します", "", "", false},
        {ID_CONTOUR_LABEL, "数値記入", "ｺﾝﾀｰの数値を記入/消去します", "", "", false},
        {ID_CONTOUR_DELETE, "連続線削除", "ｺﾝﾀｰの連続線を削除します", "", "", false},
        {ID_CONTOUR_AREA_DELETE, "領域内削除", "領域内のｺﾝﾀｰを削除します", "", "", false},
        {ID_HEIGHT_CHECK, "高さ確認", "ｺﾝﾀｰの高さを確認します", "", "", false},
        {ID_DEPTH_MAP, "ﾃﾞｼﾞﾀﾙﾏｯﾌﾟ図", "水深のﾃﾞｼﾞﾀﾙﾏｯﾌﾟを表示します", "", "", false},
        {ID_HEIGHT_MAP_MOUSE, "ﾏｳｽ指定", "基準点をﾏｳｽで指定します", "", "", false},
        {ID_HEIGHT_MAP_COORD, "座標入力", "基準点を座標で指定します", "", "", false},
        {ID_HEIGHT_MAP_TOGGLE, "記入/消去", "1点ずつ記入/消去します", "", "", false},
        {ID_HEIGHT_MAP_AREA, "領域内削除", "領域内の値を削除します", "", "", false},
        {ID_DIR_MAP_MOUSE, "ﾏｳｽ指定", "基準点をﾏｳｽで指定します", "", "", false},
        {ID_DIR_MAP_COORD, "座標入力", "基準点を座標で指定します", "", "", false},
        {ID_DIR_MAP_TOGGLE, "記入/消去", "1点ずつ記入/消去します", "", "", false},
        {ID_DIR_MAP_AREA, "領域内削除", "領域内の値を削除します", "", "", false},
        {ID_VECTOR_MOUSE, "ﾏｳｽ指定", "基準点をﾏｳｽで指定します", "", "", false},
        {ID_VECTOR_COORD, "座標入力", "基準点を座標で指定します", "", "", false},
        {ID_VECTOR_TOGGLE, "記入/消去", "1点ずつ記入/消去します", "", "", false},
        {ID_VECTOR_AREA, "領域内削除", "領域内のﾍﾞｸﾄﾙを削除します", "", "", false},
        {ID_LAND_FILL, "陸域確認", "陸域の塗りつぶしを切り替えます", "", "", true},
        {ID_DXF_OUT, "DXFﾌｧｲﾙ出力(&D)", "図面をDXFﾌｧｲﾙに出力します", "", "", false},
        {ID_BFO_OUT, "BFOﾌｧｲﾙ出力(&B)", "図面をBFOﾌｧｲﾙに出力します", "", "", false},
        {ID_FILE_PRINT_DIRECT, "直接印刷", "作業中のﾌｧｲﾙを既定のﾌﾟﾘﾝﾀで印刷します", "", "", false},
        {ID_FILE_PRINT_PREVIEW, "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", "印刷ｲﾒｰｼﾞを表示します", "", "", false},
    };
    for (const CommandInfo& r : rows) t.Add(r);

    const int menu = IDR_TYDTYPE;
    // Installed once more (a second start in one process): the menus have the items.
    for (const MenuPopup& p : t.Menu(menu).popups)
        if (p.title == kMenuCalc) return;
    for (int id : {ID_DXF_OUT, ID_BFO_OUT}) t.InsertItem(menu, kMenuFile, Item::Command(id), ID_FILE_PRINT);
    t.InsertItem(menu, kMenuFile, Item::Separator(), ID_FILE_PRINT);
    for (int id : {ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW})
        t.InsertItem(menu, kMenuFile, Item::Command(id), ID_FILE_PRINT_SETUP);

    MenuPopup& view = t.Popup(menu, kMenuView);
    std::vector<Item> display = Commands({ID_ZOOM_IN, ID_ZOOM_OUT, ID_ZOOM_ALL, ID_REDRAW, ID_BASE_VIEW, ID_ROTATE, 0,
                                          ID_LAND_FILL, 0});
    view.items.insert(view.items.begin(), display.begin(), display.end());

    // The calculation's own menus go before the Window menu.
    MenuDef& def = t.Menu(menu);
    auto at = def.popups.end();
    for (auto it = def.popups.begin(); it != def.popups.end(); ++it)
        if (it->title == kMenuWindow) at = it;
    const std::vector<MenuPopup> popups = {
        {kMenuCalc,
         {Sub("計算領域", Commands({ID_CALC_AREA})), Item::Command(ID_DEPTH_CALC), Item::Command(ID_WAVE_COND),
          Item::Separator(), Item::Command(ID_WAVE_CALC), Item::Command(ID_CONTINUOUS_DATA), Item::Separator(),
          Sub("ﾒｯｼｭﾌｧｲﾙ", Commands({ID_MESH_FILE_IN, ID_MESH_FILE_OUT})), Item::Command(ID_RESULT_FILE_OUT)}},
        {"図面(&Z)",
         {Item::Command(ID_DRAW_COND), Item::Command(ID_FRAME_PLACE),
          Sub("方位記号", Commands({ID_NORTH_SET, ID_NORTH_CLEAR})),
          Sub("入射方向", Commands({ID_WAVEMARK_SET, ID_WAVEMARK_CLEAR})),
          Sub("ﾃﾞｰﾀ枠", Commands({ID_DATAFRAME_SET, ID_DATAFRAME_RESET, ID_DATAFRAME_RESET_ALL}))}},
        {"ｺﾝﾀｰ(&K)",
         Commands({ID_DEPTH_CONTOUR, ID_RESULT_CONTOUR, 0, ID_CONTOUR_INSERT, ID_CONTOUR_LABEL, ID_CONTOUR_DELETE,
                   ID_CONTOUR_AREA_DELETE, 0, ID_HEIGHT_CHECK})},
        {"ﾃﾞｼﾞﾀﾙﾏｯﾌﾟ(&M)",
         {Item::Command(ID_DEPTH_MAP),
          Sub("波高", Commands({ID_HEIGHT_MAP_MOUSE, ID_HEIGHT_MAP_COORD, ID_HEIGHT_MAP_TOGGLE, ID_HEIGHT_MAP_AREA})),
          Sub("波向", Commands({ID_DIR_MAP_MOUSE, ID_DIR_MAP_COORD, ID_DIR_MAP_TOGGLE, ID_DIR_MAP_AREA})),
          Sub("ﾍﾞｸﾄﾙ", Commands({ID_VECTOR_MOUSE, ID_VECTOR_COORD, ID_VECTOR_TOGGLE, ID_VECTOR_AREA}))}},
    };
    def.popups.insert(at, popups.begin(), popups.end());
}

}  // namespace wv
