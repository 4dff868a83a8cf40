// Commands by number, as the menus, the toolbar and the accelerators send them, and the
// update of their state. A command goes along a chain of targets (the active view, its
// document, the active frame, the main frame, the application); the first target with a
// handler for it takes it. A command nobody handles is disabled.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace wv {

// The state a target gives a command's menu item and toolbar button. Qt-free: the widget
// layer reads the result and applies it.
class CCmdUI {
public:
    explicit CCmdUI(int id) : m_nID(id) {}
    virtual ~CCmdUI() = default;

    virtual void Enable(bool on = true) {
        m_bEnabled = on;
        m_bEnableChanged = true;
    }
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int check = 1) { m_nCheck = check; }
    // Replaces the item's text (UTF-8).
    virtual void SetText(const std::string& text) {
        m_strText = text;
        m_bTextSet = true;
    }

    int m_nID;
    bool m_bEnabled = true;
    bool m_bEnableChanged = false;
    int m_nCheck = 0;
    bool m_bTextSet = false;
    std::string m_strText;
};

class CCmdTarget {
public:
    using CommandHandler = std::function<void()>;
    using RangeHandler = std::function<void(int id)>;
    using UpdateHandler = std::function<void(CCmdUI&)>;

    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // With pCmdUI: the update of the command's state; without: the command itself. False
    // when this target has no handler for the command. A command with a handler but no
    // update handler is enabled.
    virtual bool OnCmdMsg(int id, CCmdUI* pCmdUI);

    bool HasHandler(int id) const;

protected:
    // Handler tables, filled by the derived class's constructor; a later entry for the
    // same command replaces the earlier one.
    void OnCommand(int id, CommandHandler handler);
    void OnCommandRange(int first, int last, RangeHandler handler);
    void OnUpdateCommandUI(int id, UpdateHandler handler);
    void OnUpdateCommandUIRange(int first, int last, UpdateHandler handler);

private:
    struct Range {
        int first, last;
        RangeHandler command;
        UpdateHandler update;
    };
    const Range* FindRange(int id, bool wantCommand) const;

    std::map<int, CommandHandler> m_commands;
    std::map<int, UpdateHandler> m_updates;
    std::vector<Range> m_ranges;
};

// Routes a command along `chain` (null entries skipped). With pCmdUI: its state; a
// command no target handles is disabled. Without: runs it, unless its state says
// disabled; false when nobody ran it.
bool RouteCommand(const std::vector<CCmdTarget*>& chain, int id, CCmdUI* pCmdUI);
// The state of a command along a chain.
CCmdUI QueryCommandState(const std::vector<CCmdTarget*>& chain, int id);

}  // namespace wv
