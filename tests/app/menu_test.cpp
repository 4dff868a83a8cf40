// The main window's menus under a user's hand (offscreen platform): the real menu bar
// clicked with QTest, each popup opened, looked at and closed with Escape, again and again,
// and around the commands that rebuild the menus (a project opened from the recent list,
// Close All).
#include "app/qt/install_views.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_app_host.h"
#include "app/wavora_app.h"
#include "app_test_util.h"
#include "core/command_ids.h"
#include "platform/ui_service.h"
#include "platform/window_messages.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace wv {
namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "menu_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// The program started in the test's scratch folder, its window shown.
class Menus : public ::testing::Test {
protected:
    void SetUp() override {
        bay = apptest::StartInScratch();
        App();
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
        QTest::qWait(20);
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
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
    QStringList OpenEveryMenuTwice() {
        QStringList file;
        QStringList titles;
        for (QAction* a : w->menuBar()->actions()) titles << a->text();
        for (int round = 0; round < 2; ++round)
            for (const QString& title : titles) {
                QMenu* popup = Open(title);
                EXPECT_NE(popup, nullptr) << title.toStdString() << " round " << round;
                if (!popup) continue;
                if (title == QStringLiteral("ファイル(&F)")) file = Texts(popup);
                Close(popup);
            }
        return file;
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

    std::string bay;
    std::unique_ptr<QtAppHost> host;
    std::unique_ptr<CWavoraApp> app;
    MainWindow* w = nullptr;
};

TEST_F(Menus, FileMenuOpensAgainAndAgainWithOneRecentEntryEachTime) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    // No project yet: the File menu holds the placeholder of the recent list.
    QStringList file = OpenEveryMenuTwice();
    EXPECT_EQ(file.count(QStringLiteral("最近使ったﾌｧｲﾙ")), 1);

    ASSERT_TRUE(app->OpenProject(bay + "/BAY.TIK"));
    ASSERT_TRUE(app->OpenProject(bay + "/BAY.TIK"));
    file = OpenEveryMenuTwice();
    int recent = 0;
    for (const QString& t : file) recent += t.contains(QStringLiteral("BAY.TIK")) ? 1 : 0;
    EXPECT_EQ(recent, 1) << file.join(QLatin1Char('|')).toStdString();

    // The recent entry chosen from the menu itself: the menus are rebuilt meanwhile.
    QMenu* popup = Open(QStringLiteral("ファイル(&F)"));
    ASSERT_NE(popup, nullptr);
    QAction* entry = nullptr;
    for (QAction* a : popup->actions())
        if (a->text().contains(QStringLiteral("BAY.TIK"))) entry = a;
    ASSERT_NE(entry, nullptr);
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(entry).center());
    QTest::qWait(20);
    PostedMessages().DeliverPending();
    EXPECT_EQ(app->m_strProjectName, "BAY");
    file = OpenEveryMenuTwice();
    EXPECT_FALSE(file.isEmpty());

    // Close All from the menu, then every menu again.
    popup = Open(QStringLiteral("ファイル(&F)"));
    ASSERT_NE(popup, nullptr);
    QAction* closeAll = w->Action(ids::ID_CLOSE_ALL);
    ASSERT_TRUE(popup->actions().contains(closeAll));
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(closeAll).center());
    QTest::qWait(20);
    EXPECT_TRUE(app->GetDocManager()->Documents().empty());
    file = OpenEveryMenuTwice();
    EXPECT_EQ(file.count(QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄの新規作成(&M)")), 1);
}

TEST_F(Menus, EveryMenuOpensTwiceAfterAPrintPreviewAndAfterClosingTheProject) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    ASSERT_TRUE(app->OpenProject(bay + "/BAY.TIK"));
    ASSERT_NE(app->OpenDocumentFile(bay + "/BAY1.TYD"), nullptr);
    EXPECT_FALSE(OpenEveryMenuTwice().isEmpty());

    // The preview is modal: closed as soon as it shows.
    int previews = 0;
    QTimer::singleShot(200, qApp, [&previews] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++previews;
            d->reject();
        }
    });
    Choose(QStringLiteral("ファイル(&F)"), ids::ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(previews, 1);
    EXPECT_FALSE(OpenEveryMenuTwice().isEmpty());

    // The calculation closed from its File menu, then the project from its own.
    Choose(QStringLiteral("ファイル(&F)"), ids::ID_FILE_CLOSE);
    EXPECT_EQ(app->GetDocManager()->Documents().size(), 1u);
    EXPECT_FALSE(OpenEveryMenuTwice().isEmpty());
    Choose(QStringLiteral("ファイル(&F)"), ids::ID_FILE_CLOSE);
    EXPECT_TRUE(app->GetDocManager()->Documents().empty());
    EXPECT_EQ(OpenEveryMenuTwice().count(QStringLiteral("最近使ったﾌｧｲﾙ")), 0) << "the project's entry";
}

}  // namespace
}  // namespace wv
