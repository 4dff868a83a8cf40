// The program's wiring, shared by Wavora and its scripted screenshot tool: the UI
// service, the waits, the progress windows, the posted-message delivery, the application
// object and the event loop.
#pragma once

#include <functional>

namespace wv {

class CWavoraApp;
class QtAppHost;

// Runs the program; `started` (when given) runs once start-up has succeeded, before the
// event loop. Returns the exit code.
int RunWavora(int argc, char** argv, const std::function<void(CWavoraApp&, QtAppHost&)>& started = {});

}  // namespace wv
