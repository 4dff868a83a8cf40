// Reliefscope: shows a Q-SONA bathymetry file and writes an area of it as Q-SONA or as a
// 3D DXF drawing.

#include "platform/files.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/single_instance.h"
#include "platform/ui_service.h"
#include "viewer/qt/main_frame.h"

#include <QApplication>

#include <clocale>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    wv::SetStartFolder(std::string());

    // One instance per user; a second start ends at once, without a message.
    wv::SingleInstanceLock lock;
    if (!lock.TryLock("Reliefscope")) {
        return 0;
    }
    wv::QtUi ui;
    wv::SetUi(&ui);

    wv::CMainFrame frame;
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && !frame.OpenFile(args.at(1).toStdString())) {
        return 1;
    }
    frame.show();

    frame.SetVersion(wv::LoadVersionText(wv::StartFolder()));
    // The splash window of the original is made and destroyed before it is ever seen;
    // it is left out.
    return app.exec();
}
