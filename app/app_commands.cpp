#include "app/app_commands.h"

#include "core/command_ids.h"
#include "core/shell_commands.h"

namespace wv {

namespace {

using Item = MenuItem;

void AddRows(CommandTable& t) {
    using namespace ids;
    const CommandInfo rows[] = {
        {ID_NEW_PROJECT, "ﾌﾟﾛｼﾞｪｸﾄの新規作成(&M)", "新しいﾌﾟﾛｼﾞｪｸﾄを作成します", "", "", false},
        {ID_OPEN_PROJECT, "ﾌﾟﾛｼﾞｪｸﾄを開く(&W)...", "既存のﾌﾟﾛｼﾞｪｸﾄを開きます", "", "", false},
        {ID_DUMMY, "Dummy", "", "", "", false},
        {ID_SAVE_ALL, "すべて保存(&Z)", "開いているすべてのﾌｧｲﾙを保存します", "", "", false},
        {ID_CLOSE_ALL, "すべて閉じる(&K)", "開いているすべてのﾌｧｲﾙを閉じます", "", "", false},
        {ID_FILE_NEW, "新規作成(&N)\tCtrl+N", "新しい計算ﾌｧｲﾙを作成します", "Ctrl+N", "new", false},
        {ID_FILE_OPEN, "開く(&O)...\tCtrl+O", "ﾌﾟﾛｼﾞｪｸﾄのﾌｧｲﾙを選んで開きます", "Ctrl+O", "open", false},
        {ID_FILE_CLOSE, "閉じる(&C)", "作業中のﾌｧｲﾙを閉じます", "", "", false},
        {ID_FILE_SAVE, "上書き保存(&S)\tCtrl+S", "作業中のﾌｧｲﾙを保存します", "Ctrl+S", "save", false},
        {ID_FILE_SAVE_AS, "名前を付けて保存(&A)...", "作業中のﾌｧｲﾙを別の名前で保存します", "", "", false},
        {ID_FILE_PRINT, "印刷(&P)...\tCtrl+P", "作業中のﾌｧｲﾙを印刷します", "Ctrl+P", "print", false},
        {ID_FILE_PRINT_SETUP, "ﾌﾟﾘﾝﾀの設定(&R)...", "ﾌﾟﾘﾝﾀと印刷ｵﾌﾟｼｮﾝを変更します", "", "", false},
        {ID_APP_EXIT, "アプリケーションの終了(&X)", "ﾌｧｲﾙの保存を確認し、ｱﾌﾟﾘｹｰｼｮﾝを終了します", "", "", false},
        {ID_VIEW_TOOLBAR, "ツール バー(&T)", "ﾂｰﾙ ﾊﾞｰの表示/非表示を切り替えます", "", "", true},
        {ID_VIEW_STATUS_BAR, "ステータス バー(&S)", "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示を切り替えます", "", "", true},
        {ID_RESULT_LIST, "一覧表示", "出力点の計算結果を一覧表示します", "", "", false},
        {ID_WINDOW_CASCADE, "重ねて表示(&C)", "ｳｨﾝﾄﾞｳを重ねて表示します", "", "", false},
        {ID_WINDOW_TILE_HORZ, "並べて表示(&T)", "ｳｨﾝﾄﾞｳを並べて表示します", "", "", false},
        {ID_WINDOW_ARRANGE, "アイコンの整列(&A)", "ｳｨﾝﾄﾞｳの下にｱｲｺﾝを整列します", "", "", false},
        {ID_HELP_FINDER, "操作説明(&H)", "操作説明書を開きます", "", "help", false},
        {ID_HELP_OVERVIEW, "商品概説(&G)", "商品概説を開きます", "", "", false},
        {ID_UPDATE_HISTORY, "更新履歴の確認(&R)", "更新履歴を表示します", "", "", false},
        {ID_CHECK_UPDATE, "最新ﾊﾞｰｼﾞｮﾝの確認(&U)", "最新ﾊﾞｰｼﾞｮﾝを確認します", "", "", false},
        {ID_UPDATE_AT_START, "起動時に最新ﾊﾞｰｼﾞｮﾝをﾁｪｯｸ(&C)", "起動時に最新ﾊﾞｰｼﾞｮﾝを確認するかを切り替えます", "", "", true},
        {ID_APP_ABOUT, "ﾊﾞｰｼﾞｮﾝ情報(&A)...", "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝを表示します", "", "", false},
    };
    for (const CommandInfo& r : rows) t.Add(r);
    RegisterDisplayCommands(t);
    for (int i = 0; i < 4; ++i)
        t.Add({ID_FILE_MRU_FILE1 + i, "最近使ったﾌｧｲﾙ", "このﾌﾟﾛｼﾞｪｸﾄを開きます", "", "", false});
}

// The project-level File items shared by every menu.
std::vector<Item> ProjectFileItems() {
    using namespace ids;
    return {Item::Command(ID_NEW_PROJECT), Item::Command(ID_OPEN_PROJECT), Item::Separator(),
            Item::Command(ID_FILE_NEW), Item::Command(ID_FILE_OPEN)};
}

std::vector<Item> HelpItems() {
    using namespace ids;
    return {Item::Command(ID_HELP_FINDER),   Item::Command(ID_HELP_OVERVIEW), Item::Separator(),
            Item::Command(ID_UPDATE_HISTORY), Item::Command(ID_CHECK_UPDATE), Item::Command(ID_UPDATE_AT_START),
            Item::Separator(),                Item::Command(ID_APP_ABOUT)};
}

void AddMainMenu(CommandTable& t) {
    using namespace ids;
    std::vector<Item> file = ProjectFileItems();
    for (const Item& i : {Item::Separator(), Item::Command(ID_SAVE_ALL), Item::Command(ID_CLOSE_ALL),
                          Item::Separator(), Item::Command(ID_FILE_PRINT_SETUP), Item::Separator(),
                          Item::RecentFiles(ID_FILE_MRU_FILE1), Item::Separator(), Item::Command(ID_APP_EXIT)})
        file.push_back(i);
    t.Popup(IDR_MAINFRAME, kMenuFile).items = file;
    t.Popup(IDR_MAINFRAME, kMenuView).items = {Item::Command(ID_VIEW_TOOLBAR), Item::Command(ID_VIEW_STATUS_BAR)};
    std::vector<Item> help = HelpItems();
    // The placeholder that start-up removes again.
    help.push_back(Item::Command(ID_DUMMY));
    t.Popup(IDR_MAINFRAME, kMenuHelp).items = help;
}

void AddDocumentMenu(CommandTable& t, int menuId, bool calculation) {
    using namespace ids;
    std::vector<Item> file = ProjectFileItems();
    for (const Item& i :
         {Item::Command(ID_FILE_CLOSE), Item::Command(ID_FILE_SAVE), Item::Command(ID_FILE_SAVE_AS),
          Item::Separator(), Item::Command(ID_SAVE_ALL), Item::Command(ID_CLOSE_ALL), Item::Separator(),
          Item::Command(ID_FILE_PRINT), Item::Command(ID_FILE_PRINT_SETUP), Item::Separator(),
          Item::RecentFiles(ID_FILE_MRU_FILE1), Item::Separator(), Item::Command(ID_APP_EXIT)})
        file.push_back(i);
    t.Popup(menuId, kMenuFile).items = file;
    std::vector<Item> view = {Item::Command(ID_VIEW_TOOLBAR), Item::Command(ID_VIEW_STATUS_BAR)};
    if (calculation) {
        view.push_back(Item::Separator());
        view.push_back(Item::Command(ID_RESULT_LIST));
    }
    t.Popup(menuId, kMenuView).items = view;
    t.Popup(menuId, kMenuWindow).items = {Item::Command(ID_WINDOW_CASCADE), Item::Command(ID_WINDOW_TILE_HORZ),
                                          Item::Command(ID_WINDOW_ARRANGE), Item::WindowList()};
    t.Popup(menuId, kMenuHelp).items = HelpItems();
}

}  // namespace

void RegisterAppCommands(CommandTable& t) {
    using namespace ids;
    AddRows(t);
    AddMainMenu(t);
    AddDocumentMenu(t, IDR_TYDTYPE, true);
    AddDocumentMenu(t, IDR_TIKTYPE, false);
    t.Toolbar(IDR_MAINFRAME) = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0,          ID_FILE_PRINT, 0,
                                ID_HELP_FINDER, 0, ID_ZOOM_IN, ID_ZOOM_OUT, ID_ZOOM_ALL, ID_REDRAW,
                                ID_BASE_VIEW};
}

}  // namespace wv
