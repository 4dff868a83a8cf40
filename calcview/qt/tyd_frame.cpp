#include "calcview/qt/tyd_scroll_view.h"
// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "calcview/qt/tyd_frame.h"

#include "platform/frame.h"
#include "platform/qt/scroll_view_widget.h"

#include <QEvent>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

#include <vector>

namespace wv {

CTydFrame::CTydFrame(CMDIChildWnd& child, QWidget* parent) : QWidget(parent), m_child(child) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_rows = new QSplitter(Qt::Vertical, this);
    layout->addWidget(m_rows);
    for (int r = 0; r < kMaxRows; ++r) {
        m_cols[static_cast<std::size_t>(r)] = new QSplitter(Qt::Horizontal, m_rows);
        m_rows->addWidget(m_cols[static_cast<std::size_t>(r)]);
    }
    for (int i = 0; i < kMaxRows * kMaxCols; ++i) {
        CScrollView* view = nullptr;
        if (i == 0) {
            view = dynamic_cast<CScrollView*>(child.Views().front().get());
        } else {
            auto pane = std::make_unique<TydScrollView>();
            view = pane.get();
            child.AddView(std::move(pane));
        }
        auto* w = new ScrollViewWidget(view, m_cols[static_cast<std::size_t>(i / kMaxCols)]);
        m_cols[static_cast<std::size_t>(i / kMaxCols)]->addWidget(w);
        w->viewport()->installEventFilter(this);
        m_panes[static_cast<std::size_t>(i)] = w;
        // The further panes open with the drawing fitted into the size they will get.
        if (i > 0) view->OnInitialUpdate();
    }
    // The columns of both rows move together.
    for (int r = 0; r < kMaxRows; ++r) {
        QSplitter* self = m_cols[static_cast<std::size_t>(r)];
        QSplitter* other = m_cols[static_cast<std::size_t>(1 - r)];
        QObject::connect(self, &QSplitter::splitterMoved, this, [this, self, other] {
            if (m_syncing) return;
            m_syncing = true;
            other->setSizes(self->sizes());
            m_syncing = false;
        });
    }
    SetSplit(1, 1);
    // F6 / Shift+F6: the next and the previous open pane, as the splitter's keys did.
    auto* next = new QShortcut(QKeySequence(Qt::Key_F6), this);
    next->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(next, &QShortcut::activated, this, [this] { ActivateNextPane(false); });
    auto* prev = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this);
    prev->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(prev, &QShortcut::activated, this, [this] { ActivateNextPane(true); });
}

void CTydFrame::ActivateNextPane(bool previous) {
    // The open panes row by row; the walk goes round.
    std::vector<ScrollViewWidget*> open;
    for (int r = 0; r < Rows(); ++r)
        for (int c = 0; c < Cols(); ++c) open.push_back(Pane(r, c));
    if (open.size() < 2) return;
    std::size_t at = 0;
    for (std::size_t i = 0; i < open.size(); ++i)
        if (open[i]->View() == m_child.GetActiveView()) at = i;
    const std::size_t n = open.size();
    ScrollViewWidget* to = open[previous ? (at + n - 1) % n : (at + 1) % n];
    m_child.SetActiveView(to->View());
    to->viewport()->setFocus(Qt::ShortcutFocusReason);
}

void CTydFrame::SetSplit(int rows, int cols) {
    const int big = 100000;
    m_rows->setSizes({big, rows > 1 ? big : 0});
    for (QSplitter* s : m_cols) s->setSizes({big, cols > 1 ? big : 0});
}

int CTydFrame::Rows() const { return m_rows->sizes().value(1) > 0 ? 2 : 1; }

int CTydFrame::Cols() const { return m_cols[0]->sizes().value(1) > 0 ? 2 : 1; }

bool CTydFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (ScrollViewWidget* w : m_panes)
            if (w && w->viewport() == watched && m_child.GetActiveView() != w->View()) m_child.SetActiveView(w->View());
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace wv
