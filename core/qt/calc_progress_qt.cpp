#include "core/qt/calc_progress_qt.h"

#include "core/messages.h"
#include "platform/qt/window_placement.h"

#include <QCloseEvent>
#include <algorithm>
#include <QCoreApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace wv {

CalcProgressWindow::CalcProgressWindow(CQtCalcProgressDlg* owner)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      m_owner(owner) {
    setWindowTitle(QString::fromUtf8(msg::kProgressCaption));
    setWindowModality(Qt::ApplicationModal);
    // About the 199 x 65 dialog units of the original window.
    setMinimumSize(300, 106);

    m_text = new QLabel(this);
    m_text->setVisible(false);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_cancel = new QPushButton(QString::fromUtf8(msg::kProgressCancelButton), this);
    m_cancel->setAutoDefault(false);
    m_cancel->setDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &CalcProgressWindow::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
}

void CalcProgressWindow::reject() {
    if (m_owner) m_owner->OnCancel();
}

void CalcProgressWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_owner) m_owner->OnCancel();
}

CQtCalcProgressDlg::CQtCalcProgressDlg() : m_window(new CalcProgressWindow(this)) {
    m_window->setWindowTitle(QString::fromUtf8(GetWindowText().c_str()));
    OnBarChanged();
    CentreWhenShown(m_window);
    m_window->show();
}

CQtCalcProgressDlg::~CQtCalcProgressDlg() {
    DestroyWindow();
}

void CQtCalcProgressDlg::PumpMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void CQtCalcProgressDlg::OnCaptionChanged() {
    if (m_window) m_window->setWindowTitle(QString::fromUtf8(GetWindowText().c_str()));
}

void CQtCalcProgressDlg::OnTextChanged() {
    if (!m_window) return;
    m_window->TextLabel()->setText(QString::fromUtf8(GetText().c_str()));
    m_window->TextLabel()->setVisible(!GetText().empty());
}

void CQtCalcProgressDlg::OnBarChanged() {
    if (!m_window) return;
    QProgressBar* bar = m_window->Bar();
    const int lo = std::min(GetLower(), GetUpper());
    const int hi = std::max(GetLower(), GetUpper());
    if (bar->minimum() != lo || bar->maximum() != hi) bar->setRange(lo, hi);
    bar->setValue(GetPos());
}

void CQtCalcProgressDlg::OnClose() {
    if (!m_window) return;
    CalcProgressWindow* w = m_window.data();
    m_window.clear();
    w->Detach();
    w->hide();
    // Only the computation closes the window, never one of the window's own handlers,
    // so it can go at once.
    delete w;
}

void InstallQtCalcProgressFactory() {
    SetCalcProgressFactory([] { return std::make_unique<CQtCalcProgressDlg>(); });
}

}  // namespace wv
