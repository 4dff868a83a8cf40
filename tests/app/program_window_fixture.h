// The real program's main window for the window tests: started in the test's scratch
// folder (settings, locks and working files there), both views installed, the window
// shown, and helpers that use its menus as a user does.
#pragma once

// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "calcview/qt/tyd_scroll_view.h"
#include "calcview/qt/tyd_frame.h"
#include "app/qt/install_views.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_app_host.h"
#include "app/wavora_app.h"
#include "app_test_util.h"
#include "core/command_ids.h"
#include "platform/qt/printer_setup.h"
#include "platform/qt/qt_translations.h"
#include "platform/qt/scroll_view_widget.h"
#include "platform/ui_service.h"
#include "platform/window_messages.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

// Texts in failure messages as text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << s.toStdString(); }
inline void PrintTo(const QPoint& p, std::ostream* os) { *os << p.x() << "," << p.y(); }

namespace wv {

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "program_window_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        // Qt's own texts in Japanese, as the program has them.
        InstallQtTranslations();
        return a;
    }();
    return *app;
}

// The program started in the test's scratch folder with both views installed, its window
// shown; helpers that work its menu bar and popups with QTest's mouse and keyboard.
class ProgramWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        bay = apptest::StartInScratch();
        App();
        // Qt finds the settings folder once a process: the settings of an earlier case
        // (its recent projects) must not reach this one.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(apptest::Here() + "/config"));
        host = std::make_unique<QtAppHost>();
        app = std::make_unique<CWavoraApp>(*host);
        host->SetApp(app.get());
        ASSERT_TRUE(app->InitInstance());
        w = host->Window();
        ASSERT_NE(w, nullptr);
        InstallViews(*app, *host);
        w->resize(1000, 700);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        // The keys go to the active window (on a display without a window manager too).
        w->activateWindow();
        (void)QTest::qWaitForWindowActive(w);
    }
    void TearDown() override {
        if (w) w->close();
        app.reset();
        host.reset();
        ::unsetenv("XDG_RUNTIME_DIR");
        ::unsetenv("XDG_CONFIG_HOME");
    }

    QAction* TopMenu(const QString& title) const {
        for (QAction* a : w->menuBar()->actions())
            if (a->text() == title) return a;
        return nullptr;
    }

    // Clicks a menu title of the menu bar; the popup that opens, or null.
    QMenu* Open(const QString& title) {
        QAction* top = TopMenu(title);
        if (!top) return nullptr;
        QTest::mouseClick(w->menuBar(), Qt::LeftButton, {}, w->menuBar()->actionGeometry(top).center());
        QMenu* popup = nullptr;
        (void)QTest::qWaitFor([&popup] {
            popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            return popup && popup->isVisible();
        }, 1000);
        return popup && popup->isVisible() ? popup : nullptr;
    }

    static void Close(QMenu* popup) {
        QTest::keyClick(popup, Qt::Key_Escape);
        QTest::qWait(20);
        // Escape leaves the menu bar in keyboard navigation; a second one leaves it.
        if (QWidget* active = QApplication::activePopupWidget()) QTest::keyClick(active, Qt::Key_Escape);
        QTest::qWait(20);
    }

    // The texts of a popup's entries, separators as "-".
    static QStringList Texts(QMenu* popup) {
        QStringList t;
        for (QAction* a : popup->actions()) t << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return t;
    }

    // Every top-level menu opened and closed twice; returns the File menu's texts of the
    // last opening.
    // With a name, each menu's first opening is pictured (see Shot).
    QStringList OpenEveryMenuTwice(const QString& shots = {}) {
        QStringList file;
        QStringList titles;
        for (QAction* a : w->menuBar()->actions()) titles << a->text();
        for (int round = 0; round < 2; ++round)
            for (int i = 0; i < titles.size(); ++i) {
                const QString& title = titles[i];
                QMenu* popup = Open(title);
                EXPECT_NE(popup, nullptr) << title.toStdString() << " round " << round;
                if (!popup) continue;
                if (title == QStringLiteral("ファイル(&F)")) file = Texts(popup);
                if (round == 0 && !shots.isEmpty()) Shot(shots + QStringLiteral("_menu%1").arg(i + 1));
                Close(popup);
            }
        return file;
    }

    // With WAVORA_SHOT_DIR set: a picture of the whole screen as NAME.png there, for
    // looking at the windows as a user sees them (under a virtual display).
    static void Shot(const QString& name) {
        const char* dir = std::getenv("WAVORA_SHOT_DIR");
        if (!dir) return;
        QTest::qWait(80);
        if (QScreen* screen = QGuiApplication::primaryScreen())
            screen->grabWindow(0).save(QString::fromUtf8(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

    // Chooses a command from a top-level menu with the mouse.
    void Choose(const QString& title, int id) {
        QMenu* popup = Open(title);
        ASSERT_NE(popup, nullptr) << title.toStdString();
        QAction* action = w->Action(id);
        ASSERT_TRUE(popup->actions().contains(action)) << id;
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(action).center());
        QTest::qWait(20);
        PostedMessages().DeliverPending();
    }

    // The bay's project and calculation windows, the calculation active.
    void OpenTwoWindows() {
        ASSERT_TRUE(app->OpenProject(bay + "/BAY.TIK"));
        ASSERT_NE(app->OpenDocumentFile(bay + "/BAY1.TYD"), nullptr);
        ASSERT_EQ(w->MdiArea()->subWindowList().size(), 2);
        QTest::qWait(20);
    }

    // Answers the next modal dialog with `answer` once it shows.
    static void WhenModal(std::function<void(QDialog*)> answer) {
        QTimer::singleShot(100, qApp, [answer] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                answer(d);
            } else {
                WhenModal(answer);
            }
        });
    }

    std::string bay;
    std::unique_ptr<QtAppHost> host;
    std::unique_ptr<CWavoraApp> app;
    MainWindow* w = nullptr;
};

}  // namespace wv
