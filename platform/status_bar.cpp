#include "platform/status_bar.h"

#include <utility>

namespace wv {

void CStatusBar::SetIndicators(std::vector<StatusPane> panes) {
    m_panes = std::move(panes);
    if (!m_panes.empty()) m_idle = m_panes.front().text;
}

int CStatusBar::CommandToIndex(int id) const {
    for (std::size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == id) return static_cast<int>(i);
    return -1;
}

bool CStatusBar::SetPaneText(int index, const std::string& text) {
    if (index < 0 || index >= GetCount()) return false;
    StatusPane& pane = m_panes[static_cast<std::size_t>(index)];
    if (pane.text == text) return true;
    pane.text = text;
    if (m_onChanged) m_onChanged(index);
    return true;
}

std::string CStatusBar::GetPaneText(int index) const {
    if (index < 0 || index >= GetCount()) return {};
    return m_panes[static_cast<std::size_t>(index)].text;
}

}  // namespace wv
