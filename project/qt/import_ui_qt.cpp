#include "project/qt/import_ui_qt.h"

#include <QCursor>
#include <QGuiApplication>

namespace wv {

std::unique_ptr<ImportUi> MakeImportUi(DialogImportUi::DialogRunner runDialog) {
    return std::make_unique<DialogImportUi>(std::move(runDialog), [](bool on) {
        if (on) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        } else {
            QGuiApplication::restoreOverrideCursor();
        }
    });
}

}  // namespace wv
