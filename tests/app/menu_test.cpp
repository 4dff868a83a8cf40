// The main window's menus on the offscreen platform: the File menu around the commands
// that rebuild it (a project opened from the recent list, Close All), the printer set-up
// kept for the next print, and the views' menus installed once. The menus of every window
// kind, the Window menu and the keys are worked on the real program in tests/gui.
#include "program_window_fixture.h"

namespace wv {
namespace {

using Menus = ProgramWindowTest;

TEST_F(Menus, FileMenuOpensAgainAndAgainWithOneRecentEntryEachTime) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    // No project yet: the File menu holds the placeholder of the recent list.
    QStringList file = OpenEveryMenuTwice(QStringLiteral("nodoc"));
    EXPECT_EQ(file.count(QStringLiteral("最近使ったﾌｧｲﾙ")), 1);

    ASSERT_TRUE(app->OpenProject(bay + "/BAY.TIK"));
    ASSERT_TRUE(app->OpenProject(bay + "/BAY.TIK"));
    file = OpenEveryMenuTwice(QStringLiteral("project"));
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

TEST_F(Menus, PrinterSetupIsKeptForTheNextPrint) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    const QString file = QStringLiteral("ファイル(&F)");
    // Without a document, and with the calculation open.
    for (int round = 0; round < 2; ++round) {
        if (round == 1) OpenTwoWindows();
        QString caption;
        WhenModal([&caption, round](QDialog* d) {
            caption = d->windowTitle();
            if (round == 1) Shot(QStringLiteral("printer_setup"));
            if (auto* copies = d->findChild<QSpinBox*>(QStringLiteral("copies"))) copies->setValue(3 + round);
            d->accept();
        });
        Choose(file, ids::ID_FILE_PRINT_SETUP);
        EXPECT_EQ(caption, QStringLiteral("ﾌﾟﾘﾝﾀの設定"));
        EXPECT_EQ(ProgramPrinter().copyCount(), 3 + round);
    }

    // The print dialog of the next print starts from that choice.
    int copies = 0;
    WhenModal([&copies](QDialog* d) {
        if (auto* spin = d->findChild<QSpinBox*>(QStringLiteral("copies"))) copies = spin->value();
        d->reject();
    });
    Choose(file, ids::ID_FILE_PRINT);
    EXPECT_EQ(copies, 4);

    // With no printer set up here, the direct print still asks for a PDF file.
    if (!HasRealPrinter(ProgramPrinter())) {
        const std::size_t before = ui.FileDialogs().size();
        app->ExecuteCommand(ids::ID_FILE_PRINT_DIRECT);
        ASSERT_EQ(ui.FileDialogs().size(), before + 1);
        EXPECT_EQ(ui.FileDialogs().back().fileDialog.defaultExt, "pdf");
    }
}

TEST_F(Menus, ASecondInstallOfTheViewsAddsNoMenuTwice) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    InstallViews(*app, *host);
    OpenTwoWindows();
    QStringList titles;
    for (QAction* a : w->menuBar()->actions()) titles << a->text();
    EXPECT_EQ(titles.size(), 8) << titles.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(titles.count(QStringLiteral("計算(&C)")), 1);
    QMenu* file = Open(QStringLiteral("ファイル(&F)"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->actions().count(w->Action(ids::ID_DXF_OUT)), 1);
    Close(file);
}

}  // namespace
}  // namespace wv
