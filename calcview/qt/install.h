// What the program installs for the calculation view: the view of the "Tyd" template,
// the dialogs' runner, the Save As hook and the command rows and menus. Kept apart from
// the view's header so that Qt's keywords never meet the engine's headers.
#pragma once

class QWidget;

namespace wv {

class CWavoraApp;
void InstallCalcView(CWavoraApp& app, QWidget* dialogParent);

}  // namespace wv
