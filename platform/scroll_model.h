// The scrolling of a view: the size of what it shows (its total size), the part of it in
// the window (client size) and where that part starts (scroll position). Mouse positions
// in the window become positions in the view's logical space by adding the scroll.
#pragma once

namespace wv {

struct CPointI {
    int x = 0;
    int y = 0;
    bool operator==(const CPointI&) const = default;
};

struct CSizeI {
    int cx = 0;
    int cy = 0;
    bool operator==(const CSizeI&) const = default;
};

class CScrollModel {
public:
    // Total size, and the amounts a page and a line scroll (0: a tenth of the total for a
    // page and a tenth of a page for a line, as the framework did; at least 1).
    void SetScrollSizes(CSizeI total, CSizeI page = {}, CSizeI line = {});
    CSizeI GetTotalSize() const { return m_total; }
    CSizeI GetPageSize() const;
    CSizeI GetLineSize() const;

    void SetClientSize(CSizeI client);
    CSizeI GetClientSize() const { return m_client; }

    // The scroll position always lies between 0 and total − client (0 when the total fits).
    void ScrollToPosition(CPointI pos);
    CPointI GetScrollPosition() const { return m_pos; }
    CPointI GetMaxPosition() const;
    // Scroll by lines or pages in either direction (negative: up or left).
    void ScrollByLines(int dx, int dy);
    void ScrollByPages(int dx, int dy);

    // A point in the window's client area as a point of the logical space, and back.
    CPointI ClientToLogical(CPointI client) const { return {client.x + m_pos.x, client.y + m_pos.y}; }
    CPointI LogicalToClient(CPointI logical) const { return {logical.x - m_pos.x, logical.y - m_pos.y}; }

private:
    void Clamp();

    CSizeI m_total;
    CSizeI m_page;
    CSizeI m_line;
    CSizeI m_client;
    CPointI m_pos;
};

}  // namespace wv
