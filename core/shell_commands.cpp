#include "core/shell_commands.h"

#include "core/command_ids.h"

namespace wv {

void RegisterDisplayCommands(CommandTable& t) {
    using namespace ids;
    const CommandInfo rows[] = {
        {ID_ZOOM_IN, "拡大", "図を拡大して表示します", "", "zoomin", false},
        {ID_ZOOM_OUT, "縮小", "図を縮小して表示します", "", "zoomout", false},
        {ID_ZOOM_ALL, "全体", "図の全体を表示します", "", "zoomall", false},
        {ID_REDRAW, "再表示", "図を描き直します", "", "redraw", false},
        {ID_BASE_VIEW, "基準画面", "基準の画面に戻します", "", "home", false},
    };
    for (const CommandInfo& r : rows) t.Add(r);
    // The menus say it short; the toolbar's tips keep the longer words.
    t.SetToolTip(ID_ZOOM_IN, "拡大表示");
    t.SetToolTip(ID_ZOOM_OUT, "縮小表示");
    t.SetToolTip(ID_ZOOM_ALL, "全表示");
}

}  // namespace wv
