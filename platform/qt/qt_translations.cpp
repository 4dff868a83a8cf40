#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace wv {

bool InstallQtTranslations() {
    if (!QCoreApplication::instance()) return false;
    // The application owns the translator: it lives as long as the texts are shown.
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (!qt->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    return QCoreApplication::installTranslator(qt);
}

}  // namespace wv
