#include "batch/batch_messages.h"
#include "batch/qt/tydchain_window.h"
#include "batch/version_text.h"
#include "platform/files.h"
#include "platform/qt/qt_translations.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/single_instance.h"
#include "platform/qt/window_placement.h"
#include "platform/ui_service.h"

#include <QApplication>
#include <QSettings>

#include <clocale>
#include <filesystem>
#include <string>
#include <vector>

namespace wv {

int TydchainMain(int argc, char** argv, CBatchQueue::Solver solver,
                 const std::function<void(CTydchainWindow&)>& started) {
    QApplication app(argc, argv);
    // Numbers in files never follow the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    InstallQtTranslations();
    TakeCallerFolder();

    // One instance only, without a word.
    SingleInstanceLock instance;
    if (!instance.TryLock(batchmsg::kAppTitle)) return 0;

    // The settings key every wizard-made program of the suite shares.
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QString::fromUtf8(batchmsg::kAppTitle));
    QSettings::setDefaultFormat(QSettings::IniFormat);

    QtUi ui;
    SetUi(&ui);

    std::error_code ec;
    SetStartFolder(std::filesystem::current_path(ec).string());

    CTydchainWindow window(std::move(solver));
    // The program's messages open over its window.
    ui.SetOwnerWindow(&window);
    // A .dec named on the command line (the shell's open) is queued as by Open, from the
    // folder the user named it in. Qt has taken its own options out of argv.
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) files.push_back(AbsoluteFromCaller(argv[i]));
    if (!files.empty()) window.OpenFiles(files);
    KeepOnScreen(&window);
    window.show();

    window.SetVersion(LoadVersionText(StartFolder()));
    if (started) started(window);

    const int result = app.exec();
    SetUi(nullptr);
    return result;
}

}  // namespace wv
