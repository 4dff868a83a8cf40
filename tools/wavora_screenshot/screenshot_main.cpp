// wavora_screenshot PROJECT.TIK CALC.TYD OUT.PNG: starts Wavora, opens the project with
// the open-project command (its file dialog answered with PROJECT.TIK), shows the data
// tree, chooses CALC.TYD in it as a user would, opens the File menu and saves a picture
// of the screen. For looking at the program under a virtual display (scripts/screenshot.sh).
#include "core/command_ids.h"
#include "app/qt/app_main.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_app_host.h"
#include "app/qt/tree_dialog.h"
#include "app/wavora_app.h"
#include "platform/files.h"
#include "platform/ui_service.h"
#include "tools/tool_args.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <string>

namespace {

// Answers the open-project dialog with the project, everything else as the Qt service does.
class ScriptUi : public wv::UiService {
public:
    ScriptUi(wv::UiService& real, std::string project) : m_real(real), m_project(std::move(project)) {}
    int MessageBox(const std::string& text, const std::string& caption, wv::MbButtons b, wv::MbIcon i) override {
        std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
        return wv::DefaultAnswer(b);
    }
    bool FileDialog(const wv::FileDialogOptions& fileDialog, std::string& path) override {
        path = m_project;
        return true;
    }

private:
    wv::UiService& m_real;
    std::string m_project;
};

}  // namespace

int main(int argc, char** argv) {
    static const char kUsage[] = "usage: wavora_screenshot PROJECT.TIK CALC.TYD OUT.PNG\n";
    if (const int code = wv::tools::CheckToolArgs(argc, argv, kUsage); code >= 0) return code;
    if (argc < 4) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string project = argv[1];
    const std::string calc = wv::FileNameOf(argv[2]);
    const QString out = QString::fromLocal8Bit(argv[3]);
    int result = 1;
    const int code = wv::RunWavora(argc, argv, [&](wv::CWavoraApp& app, wv::QtAppHost& host) {
        static ScriptUi* script = nullptr;
        script = new ScriptUi(wv::Ui(), project);
        wv::SetUi(script);
        wv::MainWindow* w = host.Window();
        QTimer::singleShot(300, qApp, [&app] { app.ExecuteCommand(wv::ids::ID_OPEN_PROJECT); });
        QTimer::singleShot(700, qApp, [&app] { app.ExecuteCommand(wv::ids::ID_FILE_OPEN); });
        QTimer::singleShot(1100, qApp, [w, calc] {
            QTreeWidget* tree = w->Tree()->Tree();
            QTreeWidgetItem* root = tree->topLevelItem(0);
            for (int i = 0; root && i < root->childCount(); ++i)
                if (root->child(i)->text(0).endsWith(QString::fromStdString(calc))) tree->setCurrentItem(root->child(i));
        });
        QTimer::singleShot(1700, qApp, [w] {
            w->MdiArea()->tileSubWindows();
            if (QMenu* file = w->menuBar()->actions().isEmpty() ? nullptr : w->menuBar()->actions().first()->menu())
                file->popup(w->mapToGlobal(w->menuBar()->geometry().bottomLeft()));
        });
        QTimer::singleShot(2500, qApp, [out, &result] {
            QScreen* screen = QGuiApplication::primaryScreen();
            const QPixmap shot = screen ? screen->grabWindow(0) : QPixmap();
            result = !shot.isNull() && shot.save(out) ? 0 : 1;
            QApplication::closeAllWindows();
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        });
    });
    wv::SetUi(nullptr);
    return code != 0 ? code : result;
}
