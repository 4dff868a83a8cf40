// Calls carried to the GUI thread. Every Qt window of the program lives there; a worker
// thread that needs one (a question, a progress window) queues the call and waits for
// its result. Those calls are queued to the application object, so the GUI thread can
// run them while it waits for a worker itself (see platform/gui_wait.h), and nothing
// deadlocks.
#pragma once

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <chrono>
#include <functional>
#include <future>
#include <memory>

namespace wv {

inline bool OnGuiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// Runs fn on the GUI thread and gives its result: directly on the GUI thread (or when no
// application runs), else queued and waited for. If the program shuts down before the
// call has run, `fallback` is the answer.
template <class R>
R CallOnGui(std::function<R()> fn, R fallback) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) return fn();
    auto promise = std::make_shared<std::promise<R>>();
    std::future<R> future = promise->get_future();
    const bool posted = QMetaObject::invokeMethod(
        app, [promise, fn]() { promise->set_value(fn()); }, Qt::QueuedConnection);
    if (!posted) return fallback;
    using namespace std::chrono_literals;
    while (future.wait_for(50ms) != std::future_status::ready) {
        if (!QCoreApplication::instance() || QCoreApplication::closingDown()) return fallback;
    }
    try {
        return future.get();
    } catch (const std::future_error&) {
        return fallback;
    }
}

// Queues fn for the GUI thread without waiting (runs it at once on the GUI thread).
inline void PostToGui(std::function<void()> fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

// Lets the GUI thread's waits for workers run the calls the workers queued meanwhile.
// The program calls it once its QApplication exists.
void InstallGuiWaitPump();

}  // namespace wv
