// The progress window routines behind the three exports, and the solver's owner-less
// message boxes. The window is a Qt window when a QApplication runs (gui_front_end.h);
// otherwise progress and messages go to stderr through the UI service, questions take
// their default answer, and Cancel is a flag (solver_hooks.h).
#pragma once

#include "platform/ui_service.h"
#include "solver/tydsolv.h"

#include <string>

namespace wv::solv {

int DisplayProgressBox(PBContext* ctx, void* parent, const std::string& caption, double memoryBytes,
                       int nodeCount, int mode, int showCancel);
int SetProgress(PBContext* ctx, int controlId, int value);
int DestroyProgressBox(PBContext* ctx, int status);
// Closes the window without any message (the abort paths).
void CloseProgressBoxSilently(PBContext* ctx);

// A message box without owner: Qt when a QApplication runs, else the UI service.
int SolverMessageBox(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon);
inline void ShowSolverError(const std::string& text) {
    SolverMessageBox(text, "Error", MbButtons::Ok, MbIcon::Error);
}

}  // namespace wv::solv
