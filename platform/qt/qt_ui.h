// Message boxes as Qt dialogs. Callable from any thread: a call from a worker thread is
// carried to the GUI thread and the worker waits for the answer.
#pragma once

#include "platform/ui_service.h"

#include <functional>

namespace wv {

class QtUi : public UiService {
public:
    int MessageBox(const std::string& text, const std::string& caption, MbButtons buttons,
                   MbIcon icon) override;
};

// Runs `fn` on the GUI thread and waits for it (directly when already there).
void RunOnGuiThread(const std::function<void()>& fn);

}  // namespace wv
