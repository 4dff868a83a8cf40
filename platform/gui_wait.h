// Waiting for a worker thread without shutting out its questions.
//
// A worker (the solver thread) asks the user and closes its windows through the GUI
// thread, and waits for that. When the GUI thread in turn waits for the worker (a view
// closed mid-run, the program quitting), neither could go on. So the GUI thread never
// blocks outright: while it waits it lets the calls that workers queued for it run.
#pragma once

#include <functional>

namespace wv {

// The program's way to run what workers queued for the GUI thread; it does nothing when
// called on another thread. Installed by the Qt layer; none: waits simply block.
using GuiWaitPump = void (*)();
void SetGuiWaitPump(GuiWaitPump pump);

// Returns once `done` is true, running the pump between looks.
void WaitPumping(const std::function<bool()>& done);

}  // namespace wv
