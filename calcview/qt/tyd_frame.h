// The body of a calculation document's window: a splitter of up to 2 x 2 panes, each a
// calculation view with its own scroll and zoom. Only the first pane shows at first; a
// split bar dragged in from an edge opens another row or column, dragged back to the edge
// closes it again, as the dynamic splitter of the original did. The columns of the two
// rows move together. Clicking a pane, or F6 / Shift+F6, makes a pane's view the frame's
// active view.
#pragma once

#include <QWidget>

#include <array>

class QSplitter;

namespace wv {

class CMDIChildWnd;
class TydScrollView;
class ScrollViewWidget;

class CTydFrame : public QWidget {
public:
    static constexpr int kMaxRows = 2;
    static constexpr int kMaxCols = 2;

    // Adds the three further panes' views to `child` (its first view is the first pane).
    CTydFrame(CMDIChildWnd& child, QWidget* parent);

    ScrollViewWidget* Pane(int row, int col) const { return m_panes[static_cast<std::size_t>(row * kMaxCols + col)]; }
    // Opens (or closes) the second row and column, as dragging the split bars does.
    void SetSplit(int rows, int cols);
    int Rows() const;
    int Cols() const;
    // Makes the next (or the previous) open pane the active view, row by row and round.
    void ActivateNextPane(bool previous);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CMDIChildWnd& m_child;
    QSplitter* m_rows = nullptr;
    std::array<QSplitter*, kMaxRows> m_cols{};
    std::array<ScrollViewWidget*, kMaxRows * kMaxCols> m_panes{};
    bool m_syncing = false;
};

}  // namespace wv
