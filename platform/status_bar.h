// The status bar's panes: what each shows, independent of the widget that draws them.
// Pane 0 shows the idle text, or the prompt of the command under the pointer in a menu.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace wv {

struct StatusPane {
    int id = 0;
    std::string text;       // UTF-8
    std::string widthText;  // sets the pane's width (empty: as wide as its text)
    bool stretch = false;   // takes the free width
};

class CStatusBar {
public:
    void SetIndicators(std::vector<StatusPane> panes);
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    const StatusPane& Pane(int index) const { return m_panes.at(static_cast<std::size_t>(index)); }
    // Index of the pane with this id, or -1.
    int CommandToIndex(int id) const;
    // False for an index out of range.
    bool SetPaneText(int index, const std::string& text);
    std::string GetPaneText(int index) const;

    // The text pane 0 returns to (set from its indicator's text).
    void SetIdleText(const std::string& text) { m_idle = text; }
    const std::string& IdleText() const { return m_idle; }
    // A command's prompt while its menu item is highlighted, then the idle text again.
    void ShowPrompt(const std::string& text) { SetPaneText(0, text); }
    void ShowIdle() { SetPaneText(0, m_idle); }

    // Told the index of every pane whose text changed.
    void SetOnChanged(std::function<void(int)> onChanged) { m_onChanged = std::move(onChanged); }

private:
    std::vector<StatusPane> m_panes;
    std::string m_idle;
    std::function<void(int)> m_onChanged;
};

}  // namespace wv
