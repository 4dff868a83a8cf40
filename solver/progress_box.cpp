#include "solver/progress_box.h"

#include "platform/fixed_format.h"
#include "solver/gui_front_end.h"
#include "solver/solver_constants.h"
#include "solver/solver_hooks.h"
#include "solver/solver_messages.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace wv::solv {

namespace {

std::atomic<bool> g_cancelRequested{false};
std::atomic<bool> g_failNextWindow{false};
std::mutex g_observerMutex;
std::function<void(int)> g_observer;

std::string Trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b);
}

// Progress on stderr, one line for every tenth of the run; questions through the UI
// service, which answers with the default when nothing else is installed.
class HeadlessProgressWindow : public ProgressWindow {
public:
    explicit HeadlessProgressWindow(const ProgressWindowSetup& setup) : m_caption(setup.caption) {
        std::fprintf(stderr, "%s: %s %s%s, %s%s %s\n", m_caption.c_str(), msg::kLabelNodes,
                     Trimmed(setup.nodeText).c_str(), msg::kLabelNodesUnit, msg::kLabelMemory,
                     Trimmed(setup.memoryText).c_str(), msg::kLabelMemoryUnit);
    }
    void SetControlValue(int controlId, int value) override {
        if (controlId != kProgressBarId || value == m_lastShown) return;
        if (value / 10 != m_lastShown / 10 || value == 100) {
            std::fprintf(stderr, "%s: %3d%%\n", m_caption.c_str(), value);
            m_lastShown = value;
        }
    }
    void PumpEvents() override {}
    int AskAbort() override {
        return Ui().MessageBox(msg::kAskAbort, msg::kCaptionAbort, MbButtons::YesNo, MbIcon::Warning);
    }
    void ShowNormalEnd() override {
        Ui().MessageBox(msg::kNormalEnd, msg::kCaptionEnd, MbButtons::Ok, MbIcon::Information);
    }
    void Close() override {}

private:
    std::string m_caption;
    int m_lastShown = 0;
};

ProgressWindow* WindowOf(PBContext* ctx) { return static_cast<ProgressWindow*>(ctx->m_pDialog); }

}  // namespace

void RequestCancel() { g_cancelRequested.store(true); }

void SetProgressObserver(std::function<void(int)> observer) {
    std::lock_guard<std::mutex> lock(g_observerMutex);
    g_observer = std::move(observer);
}

void SetProgressWindowFailure(bool fail) { g_failNextWindow.store(fail); }

int SolverMessageBox(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) {
    if (GuiFrontEnd* gui = GuiFrontEnd::Active()) return gui->MessageBox(text, caption, buttons, icon);
    return Ui().MessageBox(text, caption, buttons, icon);
}

int DisplayProgressBox(PBContext* ctx, void* parent, const std::string& caption, double memoryBytes,
                       int nodeCount, int mode, int showCancel) {
    if (!ctx) return -1;
    ctx->m_pDialog = nullptr;
    ctx->m_pParent = parent;
    ctx->m_nShowCancel = showCancel;
    ctx->m_nMode = mode;
    ctx->m_nCancel = 0;
    ctx->m_nProgress = 0;
    ctx->m_nParentDisabled = 0;
    if (g_failNextWindow.exchange(false)) return -1;
    // A click meant for an earlier window must not cancel this run.
    g_cancelRequested.store(false);

    ProgressWindowSetup setup;
    setup.context = ctx;
    setup.parent = parent;
    setup.caption = caption;
    setup.memoryText = FormatF(memoryBytes / 1024.0, 9, 1);
    setup.nodeText = FormatI(nodeCount, 7);
    setup.showCancel = (showCancel & 1) != 0;

    std::unique_ptr<ProgressWindow> window;
    bool parentDisabled = false;
    if (GuiFrontEnd* gui = GuiFrontEnd::Active())
        window = gui->CreateProgressWindow(setup, parentDisabled);
    else
        window = std::make_unique<HeadlessProgressWindow>(setup);
    if (!window) return -1;
    ctx->m_nParentDisabled = parentDisabled ? -1 : 0;
    ctx->m_pDialog = window.release();
    return 1;
}

int SetProgress(PBContext* ctx, int controlId, int value) {
    if (!ctx || !ctx->m_pDialog) return 1;
    ProgressWindow* window = WindowOf(ctx);
    window->SetControlValue(controlId, value);
    ctx->m_nProgress = value;
    {
        std::function<void(int)> observer;
        {
            std::lock_guard<std::mutex> lock(g_observerMutex);
            observer = g_observer;
        }
        if (observer) observer(value);
    }
    window->PumpEvents();
    std::atomic_ref<int32_t> cancel(ctx->m_nCancel);
    if (g_cancelRequested.exchange(false)) cancel.store(-1);
    // Several clicks before this report count as one.
    if (cancel.exchange(0) != 0) return -2;
    return 1;
}

int DestroyProgressBox(PBContext* ctx, int status) {
    if (!ctx || !ctx->m_pDialog) return 1;
    ProgressWindow* window = WindowOf(ctx);
    if (status == -1) {
        if (window->AskAbort() != IDYES) return -1;
    } else if (ctx->m_nMode == 0) {
        window->ShowNormalEnd();
    }
    CloseProgressBoxSilently(ctx);
    return 1;
}

void CloseProgressBoxSilently(PBContext* ctx) {
    if (!ctx || !ctx->m_pDialog) return;
    ProgressWindow* window = WindowOf(ctx);
    window->Close();
    delete window;
    ctx->m_pDialog = nullptr;
    ctx->m_nParentDisabled = 0;
}

}  // namespace wv::solv
