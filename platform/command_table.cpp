#include "platform/command_table.h"

#include <algorithm>

namespace wv {

void CommandTable::Add(const CommandInfo& info) {
    for (CommandInfo& row : m_rows)
        if (row.id == info.id) {
            row = info;
            return;
        }
    m_rows.push_back(info);
}

const CommandInfo* CommandTable::Find(int id) const {
    for (const CommandInfo& row : m_rows)
        if (row.id == id) return &row;
    return nullptr;
}

MenuDef& CommandTable::Menu(int resourceId) {
    for (MenuDef& m : m_menus)
        if (m.resourceId == resourceId) return m;
    m_menus.push_back(MenuDef{resourceId, {}});
    return m_menus.back();
}

const MenuDef* CommandTable::FindMenu(int resourceId) const {
    for (const MenuDef& m : m_menus)
        if (m.resourceId == resourceId) return &m;
    return nullptr;
}

MenuPopup& CommandTable::Popup(int resourceId, const std::string& title) {
    MenuDef& menu = Menu(resourceId);
    for (MenuPopup& p : menu.popups)
        if (p.title == title) return p;
    menu.popups.push_back(MenuPopup{title, {}});
    return menu.popups.back();
}

void CommandTable::InsertItem(int resourceId, const std::string& popupTitle, const MenuItem& item, int beforeId) {
    std::vector<MenuItem>& items = Popup(resourceId, popupTitle).items;
    auto at = std::find_if(items.begin(), items.end(), [&](const MenuItem& i) {
        return beforeId != 0 && i.kind == MenuItem::Kind::Command && i.id == beforeId;
    });
    items.insert(at, item);
}

namespace {
bool RemoveFrom(std::vector<MenuItem>& items, int id) {
    bool removed = false;
    for (auto it = items.begin(); it != items.end();) {
        if (it->kind == MenuItem::Kind::Command && it->id == id) {
            it = items.erase(it);
            removed = true;
            continue;
        }
        if (it->kind == MenuItem::Kind::Popup) removed = RemoveFrom(it->items, id) || removed;
        ++it;
    }
    return removed;
}
}  // namespace

bool CommandTable::RemoveItem(int resourceId, int id) {
    bool removed = false;
    for (MenuPopup& p : Menu(resourceId).popups) removed = RemoveFrom(p.items, id) || removed;
    return removed;
}

void CommandTable::SetToolTip(int id, const std::string& tip) {
    for (auto& [key, text] : m_toolTips)
        if (key == id) {
            text = tip;
            return;
        }
    m_toolTips.emplace_back(id, tip);
}

std::string CommandTable::ToolTip(int id) const {
    for (const auto& [key, text] : m_toolTips)
        if (key == id) return text;
    return {};
}

std::vector<int>& CommandTable::Toolbar(int resourceId) {
    for (auto& [id, buttons] : m_toolbars)
        if (id == resourceId) return buttons;
    m_toolbars.emplace_back(resourceId, std::vector<int>{});
    return m_toolbars.back().second;
}

const std::vector<int>* CommandTable::FindToolbar(int resourceId) const {
    for (const auto& [id, buttons] : m_toolbars)
        if (id == resourceId) return &buttons;
    return nullptr;
}

CommandTable& Commands() {
    static CommandTable table;
    return table;
}

}  // namespace wv
