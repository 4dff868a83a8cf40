#include "project/qt/import_ui_qt.h"

#include "platform/qt/dialog_host.h"
#include "project/import_ui.h"

#include <QGuiApplication>

namespace wv {

std::unique_ptr<ImportUi> MakeImportUi(QWidget* parent) {
    return std::make_unique<DialogImportUi>(
        [parent](CDialogModel& dlg) {
            DialogHost host(dlg, parent);
            if (!dlg.Result()) host.exec();
            return dlg.Result();
        },
        [](bool on) {
            if (on) {
                QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            } else {
                QGuiApplication::restoreOverrideCursor();
            }
        });
}

}  // namespace wv
