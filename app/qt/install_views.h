// What the program installs for its two views once start-up has made the main window: the
// project view and the calculation view with their command rows and menus, the views of
// the "Tik" and "Tyd" templates, the calculation window's split body, its dialogs' runner
// and Save As, and the output-point result list. Kept apart from the views' headers so
// that Qt's keywords never meet the engine's headers.
#pragma once

class QWidget;

namespace wv {

class CWavoraApp;
class QtAppHost;

// The project view: its commands in the project menu, the view of every project window,
// the digitizer's settings in the program's profile.
void InstallProjectView(CWavoraApp& app);
// The calculation view; its dialogs open over `dialogParent`.
void InstallCalcView(CWavoraApp& app, QWidget* dialogParent);
// Both, as the program does it, and the menus shown again with their rows.
void InstallViews(CWavoraApp& app, QtAppHost& host);

}  // namespace wv
