// The seam between the solver and a graphical front end. When the process runs a
// QApplication, the Qt front end (solver/qt) shows the progress window and the message
// boxes on the GUI thread, whichever thread the solver runs on. Without one the solver
// is headless (progress_box.cpp).
#pragma once

#include "platform/ui_service.h"
#include "solver/tydsolv.h"

#include <memory>
#include <string>

namespace wv::solv {

// One progress window. Every call comes from the thread that runs the solver.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    virtual void SetControlValue(int controlId, int value) = 0;
    // Works off pending events of the window (and, on the GUI thread, of the program).
    virtual void PumpEvents() = 0;
    // "処理を中断しますか？" owned by the window; IDYES or IDNO.
    virtual int AskAbort() = 0;
    // "処理は正常終了しました." owned by the window; returns after OK.
    virtual void ShowNormalEnd() = 0;
    // Closes the window and enables the owner again when the window disabled it.
    virtual void Close() = 0;
};

struct ProgressWindowSetup {
    PBContext* context = nullptr;  // Cancel clicks set context->m_nCancel to -1
    void* parent = nullptr;
    std::string caption;       // UTF-8
    std::string memoryText;    // kilobytes, F9.1
    std::string nodeText;      // I7
    bool showCancel = true;
};

class GuiFrontEnd {
public:
    virtual ~GuiFrontEnd() = default;
    // The front end of the running program, or nullptr when no QApplication runs.
    static GuiFrontEnd* Active();
    // nullptr when the window cannot be made. parentDisabled tells whether the owner was
    // enabled and has been disabled.
    virtual std::unique_ptr<ProgressWindow> CreateProgressWindow(const ProgressWindowSetup& setup,
                                                                 bool& parentDisabled) = 0;
    // A message box without owner.
    virtual int MessageBox(const std::string& text, const std::string& caption, MbButtons buttons,
                           MbIcon icon) = 0;
};

}  // namespace wv::solv
