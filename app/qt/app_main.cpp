#include "app/qt/app_main.h"

#include "app/main_frame.h"
#include "app/qt/install_views.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_app_host.h"
#include "app/qt/shell_dialogs.h"
#include "app/wavora_app.h"
#include "core/qt/calc_progress_qt.h"
#include "platform/files.h"
#include "platform/gui_wait.h"
#include "platform/qt/gui_call.h"
#include "platform/qt/qt_translations.h"
#include "platform/qt/qt_ui.h"
#include "platform/window_messages.h"

#include <QApplication>
#include <QTimer>

#include <clocale>
#include <memory>

namespace wv {

namespace {

// Posted window messages are delivered from the event loop, after the sender's work.
class MessagePump {
public:
    MessagePump() {
        PostedMessages().SetWakeUp([this] { Schedule(0); });
    }
    ~MessagePump() {
        PostedMessages().SetWakeUp(nullptr);
        PostedMessages().SetAfterEach(nullptr);
    }

private:
    void Schedule(int ms) {
        if (m_scheduled) return;
        m_scheduled = true;
        QTimer::singleShot(ms, qApp, [this] {
            m_scheduled = false;
            PostedMessages().DeliverPending();
            // Held back while a progress window is open: look again shortly.
            if (!PostedMessages().Empty()) Schedule(50);
        });
    }
    bool m_scheduled = false;
};

}  // namespace

int RunWavora(int argc, char** argv, const std::function<void(CWavoraApp&, QtAppHost&)>& started) {
    QApplication qapp(argc, argv);
    // Qt took the locale from the environment; numbers are read and written the C way.
    std::setlocale(LC_NUMERIC, "C");
    InstallQtTranslations();
    // The command line opens nothing, but the recent projects are named from there too.
    TakeCallerFolder();

    QtUi ui;
    SetUi(&ui);
    InstallGuiWaitPump();
    InstallQtCalcProgressFactory();
    InstallShellDialogs();
    int code = 0;
    {
        MessagePump pump;
        QtAppHost host;
        CWavoraApp app(host);
        host.SetApp(&app);
        if (app.InitInstance()) {
            InstallViews(app, host);
            if (MainWindow* w = host.Window()) {
                ui.SetOwnerWindow(w);
                PostedMessages().SetAfterEach([w] { w->RefreshCommandStates(); });
            }
            if (started) started(app, host);
            code = host.QuitRequested() ? host.ExitCode() : qapp.exec();
            PostedMessages().SetAfterEach(nullptr);
        }
        app.ExitInstance();
    }
    SetGuiWaitPump(nullptr);
    SetUi(nullptr);
    return code;
}

}  // namespace wv
