#include "platform/cmd_target.h"

#include <utility>

namespace wv {

void CCmdTarget::OnCommand(int id, CommandHandler handler) { m_commands[id] = std::move(handler); }

void CCmdTarget::OnCommandRange(int first, int last, RangeHandler handler) {
    m_ranges.push_back({first, last, std::move(handler), nullptr});
}

void CCmdTarget::OnUpdateCommandUI(int id, UpdateHandler handler) { m_updates[id] = std::move(handler); }

void CCmdTarget::OnUpdateCommandUIRange(int first, int last, UpdateHandler handler) {
    m_ranges.push_back({first, last, nullptr, std::move(handler)});
}

const CCmdTarget::Range* CCmdTarget::FindRange(int id, bool wantCommand) const {
    // The latest registration wins, as for single commands.
    for (auto it = m_ranges.rbegin(); it != m_ranges.rend(); ++it) {
        if (id < it->first || id > it->last) continue;
        if (wantCommand ? static_cast<bool>(it->command) : static_cast<bool>(it->update)) return &*it;
    }
    return nullptr;
}

bool CCmdTarget::HasHandler(int id) const {
    return m_commands.count(id) != 0 || m_updates.count(id) != 0 || FindRange(id, true) || FindRange(id, false);
}

bool CCmdTarget::OnCmdMsg(int id, CCmdUI* pCmdUI) {
    if (pCmdUI) {
        if (auto it = m_updates.find(id); it != m_updates.end()) {
            it->second(*pCmdUI);
            return true;
        }
        if (const Range* r = FindRange(id, false)) {
            r->update(*pCmdUI);
            return true;
        }
        if (m_commands.count(id) || FindRange(id, true)) {
            pCmdUI->Enable(true);
            return true;
        }
        return false;
    }
    if (auto it = m_commands.find(id); it != m_commands.end()) {
        // A copy: the handler may replace its own table entry or destroy this target.
        CommandHandler handler = it->second;
        handler();
        return true;
    }
    if (const Range* r = FindRange(id, true)) {
        RangeHandler handler = r->command;
        handler(id);
        return true;
    }
    return false;
}

bool RouteCommand(const std::vector<CCmdTarget*>& chain, int id, CCmdUI* pCmdUI) {
    if (pCmdUI) {
        for (CCmdTarget* t : chain)
            if (t && t->OnCmdMsg(id, pCmdUI)) return true;
        pCmdUI->Enable(false);
        return false;
    }
    // A disabled command does not run, however it was sent (an accelerator, a stale
    // toolbar state).
    const CCmdUI state = QueryCommandState(chain, id);
    if (!state.m_bEnabled) return false;
    for (CCmdTarget* t : chain)
        if (t && t->OnCmdMsg(id, nullptr)) return true;
    return false;
}

CCmdUI QueryCommandState(const std::vector<CCmdTarget*>& chain, int id) {
    CCmdUI ui(id);
    RouteCommand(chain, id, &ui);
    return ui;
}

}  // namespace wv
