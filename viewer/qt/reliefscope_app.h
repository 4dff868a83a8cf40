// Reliefscope's start-up and event loop; main() only calls it.
#pragma once

#include <functional>

namespace wv {

class CMainFrame;

// `started` (when given) runs once start-up has succeeded, before the event loop.
int ReliefscopeMain(int argc, char** argv, const std::function<void(CMainFrame&)>& started = {});

}  // namespace wv
