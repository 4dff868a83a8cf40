// The shell's and the conditions' dialogs on screen. Each model (core/*_dlg.h) is shown
// by the shared DialogHost; this file adds what is not generic: the splash picture and
// the two "new" commands' runs.
#pragma once

#include "platform/qt/dialog_host.h"

#include <QPixmap>
#include <memory>
#include <string>

namespace wv {

class CSplashDlg;

// Runs a dialog model modally; returns what it ended with (IDOK, IDCANCEL).
int RunDialog(CDialogModel& dlg, QWidget* parent = nullptr);

// The start-up picture (bitmap 132): our own, drawn here rather than shipped as a file.
QPixmap SplashPicture(const QSize& size);

// The splash window, shown at once, centred and in front; start-up destroys it again.
std::unique_ptr<DialogHost> ShowSplash(CSplashDlg& dlg, QWidget* parent = nullptr);

// New calculation file in the open project's folder: the created empty file's path, or
// "" when the user cancelled.
std::string RunNewTydDialog(const std::string& projectFolder, QWidget* parent = nullptr);

// New project: the created empty project file (folder/name.TIK), or "" when cancelled.
std::string RunNewProjectDialog(QWidget* parent = nullptr);

}  // namespace wv
