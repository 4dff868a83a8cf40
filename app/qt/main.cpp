// Wavora: the desktop program. main() only wires the pieces together.
#include "app/qt/main_window.h"
#include "app/qt/qt_app_host.h"
#include "app/wavora_app.h"
#include "core/qt/calc_progress_qt.h"
#include "platform/qt/gui_call.h"
#include "platform/qt/qt_ui.h"
#include "platform/window_messages.h"

#include <QApplication>
#include <QTimer>

#include <clocale>

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    // Qt took the locale from the environment; numbers are read and written the C way.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setOrganizationName(QStringLiteral("KTR Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("Wavora"));

    wv::QtUi ui;
    wv::SetUi(&ui);
    wv::InstallGuiWaitPump();
    wv::InstallQtCalcProgressFactory();

    // Posted window messages are delivered from the event loop, after the sender's work.
    wv::MessageQueue& queue = wv::PostedMessages();
    auto deliver = std::make_shared<std::function<void()>>();
    bool scheduled = false;
    *deliver = [&queue, deliver, &scheduled] {
        scheduled = false;
        queue.DeliverPending();
        // Held back (a progress window is open): look again shortly.
        if (!queue.Empty() && !scheduled) {
            scheduled = true;
            QTimer::singleShot(50, qApp, [deliver] { (*deliver)(); });
        }
    };
    queue.SetWakeUp([deliver, &scheduled] {
        if (scheduled) return;
        scheduled = true;
        QTimer::singleShot(0, qApp, [deliver] { (*deliver)(); });
    });

    wv::QtAppHost host;
    wv::CWavoraApp app(host);
    host.SetApp(&app);
    if (!app.InitInstance()) {
        wv::SetUi(nullptr);
        return 0;
    }
    if (wv::MainWindow* w = host.Window()) {
        ui.SetOwnerWindow(w);
        queue.SetAfterEach([w] { w->RefreshCommandStates(); });
    }
    const int code = host.QuitRequested() ? host.ExitCode() : qapp.exec();
    app.ExitInstance();
    queue.SetAfterEach(nullptr);
    queue.SetWakeUp(nullptr);
    wv::SetUi(nullptr);
    return code;
}
