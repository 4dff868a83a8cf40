#include "platform/scroll_model.h"

#include <algorithm>
#include <climits>

namespace wv {

namespace {
int SafeAdd(int a, long long b) {
    return static_cast<int>(std::clamp<long long>(static_cast<long long>(a) + b, INT_MIN, INT_MAX));
}
}  // namespace

void CScrollModel::SetScrollSizes(CSizeI total, CSizeI page, CSizeI line) {
    m_total = {std::max(0, total.cx), std::max(0, total.cy)};
    m_page = page;
    m_line = line;
    Clamp();
}

CSizeI CScrollModel::GetPageSize() const {
    CSizeI p = m_page;
    if (p.cx <= 0) p.cx = std::max(1, m_total.cx / 10);
    if (p.cy <= 0) p.cy = std::max(1, m_total.cy / 10);
    return p;
}

CSizeI CScrollModel::GetLineSize() const {
    CSizeI l = m_line;
    if (l.cx <= 0) l.cx = std::max(1, GetPageSize().cx / 10);
    if (l.cy <= 0) l.cy = std::max(1, GetPageSize().cy / 10);
    return l;
}

void CScrollModel::SetClientSize(CSizeI client) {
    m_client = {std::max(0, client.cx), std::max(0, client.cy)};
    Clamp();
}

CPointI CScrollModel::GetMaxPosition() const {
    return {std::max(0, m_total.cx - m_client.cx), std::max(0, m_total.cy - m_client.cy)};
}

void CScrollModel::ScrollToPosition(CPointI pos) {
    m_pos = pos;
    Clamp();
}

void CScrollModel::ScrollByLines(int dx, int dy) {
    const CSizeI l = GetLineSize();
    ScrollToPosition({SafeAdd(m_pos.x, 1LL * dx * l.cx), SafeAdd(m_pos.y, 1LL * dy * l.cy)});
}

void CScrollModel::ScrollByPages(int dx, int dy) {
    const CSizeI p = GetPageSize();
    ScrollToPosition({SafeAdd(m_pos.x, 1LL * dx * p.cx), SafeAdd(m_pos.y, 1LL * dy * p.cy)});
}

void CScrollModel::Clamp() {
    const CPointI max = GetMaxPosition();
    m_pos.x = std::clamp(m_pos.x, 0, max.x);
    m_pos.y = std::clamp(m_pos.y, 0, max.y);
}

}  // namespace wv
