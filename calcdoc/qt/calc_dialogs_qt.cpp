#include "calcdoc/qt/calc_dialogs_qt.h"

#include "calcdoc/calc_small_dlgs.h"
#include "core/qt/core_dialogs_qt.h"
#include "platform/files.h"
#include "platform/qt/window_placement.h"

#include <QApplication>

namespace wv {

int RunCalcDialog(CDialogModel& dlg, QWidget* parent) { return RunDialog(dlg, parent); }

std::string RunFileSaveDialog(const std::string& docPath, QWidget* parent) {
    CFileSaveDlg dlg(FolderOf(docPath), FileNameOf(docPath));
    return RunDialog(dlg, parent) == IDOK ? dlg.GetPathName() : std::string();
}

int RunAcadVersionDialog(int current, QWidget* parent) {
    CAcadVersionDlg dlg;
    dlg.m_nVersion = current;
    return RunDialog(dlg, parent) == IDOK ? dlg.m_nVersion : -1;
}

std::unique_ptr<DialogHost> ShowResultReadingBox(CResultReadingDlg& dlg, QWidget* parent) {
    auto host = std::make_unique<DialogHost>(dlg, parent);
    host->setWindowModality(Qt::ApplicationModal);
    host->show();
    host->raise();
    // The reading that follows keeps the event loop busy: paint the text now.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return host;
}

QtResultListHost::QtResultListHost(CCalcPointResultDlg& dlg, QWidget* owner) : m_dlg(dlg), m_owner(owner) {
    m_dlg.SetHost(this);
}

QtResultListHost::~QtResultListHost() {
    if (m_dlg.GetHost() == this) m_dlg.SetHost(nullptr);
    delete m_window.data();
}

void QtResultListHost::CreateWindow() {
    if (m_window) return;
    m_docked = false;
    // The host runs the model's initialisation, which places the window through MoveTo.
    m_window = new DialogHost(m_dlg, m_owner);
    m_window->setModal(false);
    // Docked: the frame's right edge on the work area's, known for certain once framed.
    // A place stored over the main window's menus or off this screen is moved into sight.
    const bool docked = m_docked;
    const QPoint stored = m_pos;
    QPointer<QWidget> owner = m_owner;
    const auto where = [docked, stored, owner](QSize frame) {
        QPoint at = stored;
        if (const QRect work = OwnerWorkArea(owner); docked && !work.isEmpty())
            at = QPoint(work.right() + 1 - frame.width(), work.top());
        return KeepInSight(at, frame, owner);
    };
    PlaceFrame(m_window, where);
    m_window->show();
    // Shown, it has its laid-out size.
    PlaceFrame(m_window, where);
}

void QtResultListHost::DestroyWindow() {
    if (!m_window) return;
    m_window->hide();
    // The window may be in the middle of its own event (its Cancel button).
    m_window->deleteLater();
    m_window = nullptr;
}

void QtResultListHost::Refresh() {
    if (m_window) m_window->Sync();
}

void QtResultListHost::ActivateWindow() {
    if (!m_window) return;
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void QtResultListHost::MoveTo(int left, int top) {
    m_docked = m_docked && QPoint(left, top) == OwnerCorner(m_owner);
    m_pos = QPoint(left, top);
    if (m_window) {
        const QPoint wanted = m_pos;
        QPointer<QWidget> owner = m_owner;
        PlaceFrame(m_window, [wanted, owner](QSize frame) { return KeepInSight(wanted, frame, owner); });
    }
}

void QtResultListHost::GetPosition(int& left, int& top) const {
    const QPoint p = m_window ? m_window->pos() : m_pos;
    left = p.x();
    top = p.y();
}

void QtResultListHost::OwnerTopLeft(int& left, int& top) const {
    // The owner's corner below its menus and toolbar, not over them (the window docks
    // to the right of it once its size is known).
    const QPoint p = OwnerCorner(m_owner);
    m_docked = true;
    left = p.x();
    top = p.y();
}

}  // namespace wv
