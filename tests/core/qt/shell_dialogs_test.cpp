// The program's new-project and New commands through their dialogs: the whole Wavora
// start-up offscreen, in the test's scratch folder (settings, lock and working files
// there), a user filling each dialog, and the created files opened as documents.
#include "core/command_ids.h"
#include "app/qt/app_main.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_app_host.h"
#include "app/wavora_app.h"
#include "platform/doc_template.h"
#include "platform/files.h"
#include "platform/qt/dialog_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QGuiApplication>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace wv {
namespace {

namespace fs = std::filesystem;

// Fills the modal dialog that the next command opens, as a user would, and presses OK.
void AnswerNextDialog(std::map<int, QString> texts, std::string* caption) {
    QTimer::singleShot(0, [texts, caption] {
        auto* host = qobject_cast<DialogHost*>(QApplication::activeModalWidget());
        if (!host) return;
        *caption = host->windowTitle().toStdString();
        for (const auto& [id, text] : texts) qobject_cast<QLineEdit*>(host->Control(id))->setText(text);
        // With WAVORA_SHOT_DIR set: a picture of the screen with the dialog over the program.
        if (const char* dir = std::getenv("WAVORA_SHOT_DIR")) {
            QApplication::processEvents();
            if (QScreen* screen = QGuiApplication::primaryScreen())
                screen->grabWindow(0).save(QString::fromUtf8(dir) + "/shell_" + QString::number(host->Model().TemplateId()) + ".png");
        }
        qobject_cast<QPushButton*>(host->Control(IDOK))->click();
    });
}

TEST(ShellDialogs, NewProjectThenNewCalculationCreateAndOpenTheirFiles) {
    const fs::path scratch = fs::current_path();
    setenv("XDG_RUNTIME_DIR", scratch.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
    { std::ofstream(scratch / "SYSVER.DAT") << "Wavora test\r\n"; }
    fs::remove_all(scratch / "Bay");
    static int argc = 1;
    static char name[] = "core_shell_dialogs_test";
    static char* argv[] = {name, nullptr};

    std::string projectCaption, calcCaption;
    std::vector<std::string> opened;
    RunWavora(argc, argv, [&](CWavoraApp& app, QtAppHost& host) {
        AnswerNextDialog({{1005, "Bay"}, {1006, QString::fromStdString(scratch.string())}}, &projectCaption);
        app.ExecuteCommand(ids::ID_NEW_PROJECT);
        AnswerNextDialog({{1009, "run1.tyd"}}, &calcCaption);
        app.ExecuteCommand(ids::ID_FILE_NEW);
        for (CDocument* d : app.GetDocManager()->Documents()) opened.push_back(FileNameOf(d->GetPathName()));
        host.Quit(0);
    });
    EXPECT_EQ(projectCaption, "ﾌﾟﾛｼﾞｪｸﾄの新規作成");
    EXPECT_EQ(calcCaption, "新規作成");
    EXPECT_TRUE(fs::is_regular_file(scratch / "Bay" / "Bay.TIK"));
    EXPECT_TRUE(fs::is_regular_file(scratch / "Bay" / "run1.TYD"));
    std::sort(opened.begin(), opened.end());
    EXPECT_EQ(opened, (std::vector<std::string>{"Bay.TIK", "run1.TYD"}));
}

}  // namespace
}  // namespace wv
