#include "viewer/qt/reliefscope_app.h"

#include "platform/files.h"
#include "platform/qt/qt_translations.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/single_instance.h"
#include "platform/qt/window_placement.h"
#include "platform/ui_service.h"
#include "viewer/qt/main_frame.h"

#include <QApplication>

#include <clocale>

namespace wv {

int ReliefscopeMain(int argc, char** argv, const std::function<void(CMainFrame&)>& started)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    InstallQtTranslations();
    SetStartFolder(std::string());
    TakeCallerFolder();

    // One instance per user; a second start ends at once, without a message.
    SingleInstanceLock lock;
    if (!lock.TryLock("Reliefscope")) {
        return 0;
    }
    QtUi ui;
    SetUi(&ui);

    int result = 1;
    {
        CMainFrame frame;
        // The program's messages open over its window.
        ui.SetOwnerWindow(&frame);
        // The file named on the command line, from the folder the user named it in. Qt has
        // taken its own options out of argv; the name's bytes are kept as given.
        if (argc <= 1 || frame.OpenFile(AbsoluteFromCaller(argv[1]))) {
            KeepOnScreen(&frame);
            frame.show();
            frame.SetVersion(LoadVersionText(StartFolder()));
            // The splash window of the original is made and destroyed before it is ever
            // seen; it is left out.
            if (started) {
                started(frame);
            }
            result = app.exec();
        }
    }
    // The service goes with this scope; nothing may reach it afterwards.
    SetUi(nullptr);
    return result;
}

}  // namespace wv
