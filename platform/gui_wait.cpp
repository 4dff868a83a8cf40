#include "platform/gui_wait.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace wv {

namespace {
std::atomic<GuiWaitPump> g_pump{nullptr};
}  // namespace

void SetGuiWaitPump(GuiWaitPump pump) { g_pump.store(pump); }

void WaitPumping(const std::function<bool()>& done) {
    using namespace std::chrono_literals;
    while (!done()) {
        if (GuiWaitPump pump = g_pump.load()) pump();
        std::this_thread::sleep_for(5ms);
    }
}

}  // namespace wv
