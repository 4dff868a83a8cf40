// The program's commands in one table: each row gives a command's number, its menu text,
// the status-bar prompt, its accelerator and toolbar icon. Menus and toolbars are lists
// of command numbers built from it, so a later part of the program adds its commands as
// rows and menu entries without touching the windows.
#pragma once

#include <string>
#include <vector>

namespace wv {

struct CommandInfo {
    int id = 0;
    std::string text;         // menu text, UTF-8, with '&' mnemonics and "\t" + key shown
    std::string statusText;   // prompt in status pane 0 while the item is highlighted
    std::string accelerator;  // a key in Qt's portable form ("Ctrl+N"), empty: none
    std::string icon;         // name of the toolbar icon, empty: none
    bool checkable = false;
};

struct MenuItem {
    // RecentFiles: the recent-file entries; WindowList: the open document windows, as a
    // multi-document program's Window menu lists them. Both are filled when the menu opens.
    enum class Kind { Command, Separator, RecentFiles, Popup, WindowList };
    Kind kind = Kind::Command;
    int id = 0;                  // Command: the command; RecentFiles: its first command
    std::string text;            // Popup: the submenu's title
    std::vector<MenuItem> items; // Popup: its entries

    static MenuItem Command(int id) { return {Kind::Command, id, {}, {}}; }
    static MenuItem Separator() { return {Kind::Separator, 0, {}, {}}; }
    static MenuItem RecentFiles(int firstId) { return {Kind::RecentFiles, firstId, {}, {}}; }
    static MenuItem WindowList() { return {Kind::WindowList, 0, {}, {}}; }
};

struct MenuPopup {
    std::string title;  // UTF-8 with '&' mnemonic
    std::vector<MenuItem> items;
};

struct MenuDef {
    int resourceId = 0;
    std::vector<MenuPopup> popups;
};

class CommandTable {
public:
    // Adds a row, or replaces the row of the same number.
    void Add(const CommandInfo& info);
    const CommandInfo* Find(int id) const;
    const std::vector<CommandInfo>& Rows() const { return m_rows; }

    // The menu of a resource number, created empty when new.
    MenuDef& Menu(int resourceId);
    const MenuDef* FindMenu(int resourceId) const;
    // The popup of a menu with this title, appended when new.
    MenuPopup& Popup(int resourceId, const std::string& title);
    // Puts an item into a popup before the command `beforeId` (at the end when that is
    // not in the popup).
    void InsertItem(int resourceId, const std::string& popupTitle, const MenuItem& item, int beforeId = 0);
    // Removes every item of a command from a menu, submenus included. True when one was there.
    bool RemoveItem(int resourceId, int id);

    // A toolbar button's tip where it says more than the menu text (empty: none set).
    void SetToolTip(int id, const std::string& tip);
    std::string ToolTip(int id) const;

    // A toolbar: command numbers in order, 0 for a separator.
    std::vector<int>& Toolbar(int resourceId);
    const std::vector<int>* FindToolbar(int resourceId) const;

private:
    std::vector<CommandInfo> m_rows;
    std::vector<MenuDef> m_menus;
    std::vector<std::pair<int, std::vector<int>>> m_toolbars;
    std::vector<std::pair<int, std::string>> m_toolTips;
};

// The program's table.
CommandTable& Commands();

}  // namespace wv
