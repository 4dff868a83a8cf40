// The calculation view's dialogs on screen. Each model (calcdoc/*_dlg.h) is shown by the
// shared DialogHost; this file adds the runs the view calls, the modeless result list's
// window and the wait box.
#pragma once

#include "calcdoc/result_list_dlg.h"
#include "platform/qt/dialog_host.h"

#include <QPoint>
#include <QPointer>
#include <memory>
#include <string>

namespace wv {

class CResultReadingDlg;

// Runs a model modally (a dialog that ended while it initialised is not shown); returns
// what it ended with (IDOK, IDCANCEL).
int RunCalcDialog(CDialogModel& dlg, QWidget* parent = nullptr);

// Save As of the calculation document at `docPath`: the chosen path in the document's
// folder, or "" when the user cancelled.
std::string RunFileSaveDialog(const std::string& docPath, QWidget* parent = nullptr);

// The AutoCAD version before a DXF output, starting from `current` (0 R12, 1 2000):
// the choice, or -1 when the user cancelled.
int RunAcadVersionDialog(int current, QWidget* parent = nullptr);

// The wait box while the result file is read: shown at once and painted; dropping the
// returned host closes it.
std::unique_ptr<DialogHost> ShowResultReadingBox(CResultReadingDlg& dlg, QWidget* parent = nullptr);

// The result list's window: a modeless DialogHost made when the list is created and
// deleted when it is destroyed. `owner` is the main window (the list stays in front of
// it and starts at its top-left corner).
class QtResultListHost : public ResultListHost {
public:
    QtResultListHost(CCalcPointResultDlg& dlg, QWidget* owner);
    ~QtResultListHost() override;

    void CreateWindow() override;
    void DestroyWindow() override;
    void ActivateWindow() override;
    void MoveTo(int left, int top) override;
    void GetPosition(int& left, int& top) const override;
    void OwnerTopLeft(int& left, int& top) const override;
    void Refresh() override;

    DialogHost* Window() const { return m_window; }

private:
    CCalcPointResultDlg& m_dlg;
    QPointer<QWidget> m_owner;
    QPointer<DialogHost> m_window;
    QPoint m_pos;
    // No place stored: the list docks into the owner's top-right corner below its menus,
    // leaving the top-left one to the data-selection tree.
    mutable bool m_docked = false;
};

}  // namespace wv
