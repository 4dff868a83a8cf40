// The main window's menus under a user's hand (offscreen platform): the real menu bar
// clicked with QTest, each popup opened, looked at and closed with Escape, again and again,
// and around the commands that rebuild the menus (a project opened from the recent list,
// Close All).
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

TEST_F(Menus, EveryMenuOpensTwiceAfterAPrintPreviewAndAfterClosingTheProject) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    ASSERT_TRUE(app->OpenProject(bay + "/BAY.TIK"));
    ASSERT_NE(app->OpenDocumentFile(bay + "/BAY1.TYD"), nullptr);
    EXPECT_FALSE(OpenEveryMenuTwice(QStringLiteral("calc")).isEmpty());

    // The preview is modal: closed as soon as it shows.
    int previews = 0;
    QTimer::singleShot(200, qApp, [&previews] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++previews;
            Shot(QStringLiteral("print_preview"));
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

TEST_F(Menus, WindowMenuArrangesAndListsTheOpenWindows) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    OpenTwoWindows();
    const QString window = QStringLiteral("ウィンドウ(&W)");
    QMenu* popup = Open(window);
    ASSERT_NE(popup, nullptr);
    Shot(QStringLiteral("window_menu_two_windows"));
    for (int id : {ids::ID_WINDOW_CASCADE, ids::ID_WINDOW_TILE_HORZ, ids::ID_WINDOW_ARRANGE})
        EXPECT_TRUE(w->Action(id)->isEnabled()) << id << " with two windows open, also once the menu is open";
    // The open windows, numbered, the active one checked.
    QStringList listed;
    QAction* project = nullptr;
    for (QAction* a : popup->actions())
        if (a->text().startsWith(QLatin1Char('&')) && a->isCheckable()) {
            listed << a->text() + (a->isChecked() ? QStringLiteral(" *") : QString());
            if (a->text().contains(QStringLiteral("BAY.TIK"))) project = a;
        }
    EXPECT_EQ(listed, (QStringList{QStringLiteral("&1 BAY.TIK"), QStringLiteral("&2 BAY1.TYD *")}));
    ASSERT_NE(project, nullptr);
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(project).center());
    QTest::qWait(20);
    EXPECT_EQ(ActiveTitle(), QStringLiteral("BAY.TIK")) << "choosing a listed window activates it";
    EXPECT_EQ(app->GetMainFrame()->MDIGetActive()->GetTitle(), "BAY.TIK");

    // Tile: side by side, no overlap; cascade: overlapping, each one offset from the other.
    Choose(window, ids::ID_WINDOW_TILE_HORZ);
    const QList<QMdiSubWindow*> subs = w->MdiArea()->subWindowList();
    EXPECT_FALSE(subs[0]->geometry().intersects(subs[1]->geometry()));
    Choose(window, ids::ID_WINDOW_CASCADE);
    const QList<QMdiSubWindow*> stacked = w->MdiArea()->subWindowList(QMdiArea::StackingOrder);
    EXPECT_NE(stacked[0]->geometry().top(), stacked[1]->geometry().top());
    EXPECT_NE(stacked[0]->geometry().left(), stacked[1]->geometry().left());
    EXPECT_TRUE(stacked[0]->geometry().intersects(stacked[1]->geometry()));

    // Arrange icons: the minimised windows in a row along the bottom, apart.
    for (QMdiSubWindow* sub : subs) sub->showMinimized();
    subs[0]->move(300, 40);
    subs[1]->move(310, 50);
    Choose(window, ids::ID_WINDOW_ARRANGE);
    const int bottom = w->MdiArea()->viewport()->height();
    for (QMdiSubWindow* sub : subs) {
        EXPECT_TRUE(sub->isMinimized());
        EXPECT_EQ(sub->geometry().bottom() + 1, bottom);
    }
    EXPECT_FALSE(subs[0]->geometry().intersects(subs[1]->geometry()));
}

TEST_F(Menus, CtrlF6AndCtrlTabMoveBetweenWindows) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    OpenTwoWindows();
    EXPECT_EQ(ActiveTitle(), QStringLiteral("BAY1.TYD"));
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : w;
    QTest::keyClick(focus, Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(ActiveTitle(), QStringLiteral("BAY.TIK"));
    EXPECT_EQ(app->GetMainFrame()->MDIGetActive()->GetTitle(), "BAY.TIK") << "the frame follows";
    focus = QApplication::focusWidget() ? QApplication::focusWidget() : w;
    QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(ActiveTitle(), QStringLiteral("BAY1.TYD"));
    focus = QApplication::focusWidget() ? QApplication::focusWidget() : w;
    QTest::keyClick(focus, Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(ActiveTitle(), QStringLiteral("BAY.TIK"));
}

TEST_F(Menus, ToolBarAndStatusBarHideAndShowFromTheViewMenu) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    const QString view = QStringLiteral("表示(&V)");
    for (int round = 0; round < 2; ++round) {
        if (round == 1) OpenTwoWindows();  // the calculation's View menu
        QMenu* popup = Open(view);
        ASSERT_NE(popup, nullptr);
        QAction* bar = w->Action(ids::ID_VIEW_TOOLBAR);
        QAction* status = w->Action(ids::ID_VIEW_STATUS_BAR);
        EXPECT_TRUE(bar->isEnabled());
        EXPECT_TRUE(status->isEnabled());
        EXPECT_TRUE(bar->isChecked());
        EXPECT_TRUE(status->isChecked());
        Close(popup);
        Choose(view, ids::ID_VIEW_TOOLBAR);
        EXPECT_TRUE(w->ToolBar()->isHidden());
        Choose(view, ids::ID_VIEW_STATUS_BAR);
        EXPECT_TRUE(w->statusBar()->isHidden());
        popup = Open(view);
        ASSERT_NE(popup, nullptr);
        EXPECT_TRUE(bar->isEnabled());
        EXPECT_FALSE(bar->isChecked());
        EXPECT_FALSE(status->isChecked());
        Close(popup);
        Choose(view, ids::ID_VIEW_TOOLBAR);
        Choose(view, ids::ID_VIEW_STATUS_BAR);
        EXPECT_FALSE(w->ToolBar()->isHidden());
        EXPECT_FALSE(w->statusBar()->isHidden());
    }
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

TEST_F(Menus, F6AndShiftF6MoveBetweenThePanesOfASplitCalculationWindow) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    OpenTwoWindows();
    QMdiSubWindow* sub = w->MdiArea()->activeSubWindow();
    auto* frame = dynamic_cast<CTydFrame*>(sub->widget());
    ASSERT_NE(frame, nullptr);
    CMDIChildWnd* child = app->GetMainFrame()->MDIGetActive();
    ASSERT_NE(child, nullptr);
    auto pane = [&](int r, int c) { return frame->Pane(r, c)->View(); };
    auto press = [&](Qt::KeyboardModifiers mods) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key_F6, mods);
    };
    frame->Pane(0, 0)->viewport()->setFocus();
    QTest::qWait(20);
    EXPECT_EQ(child->GetActiveView(), pane(0, 0));
    press(Qt::NoModifier);
    EXPECT_EQ(child->GetActiveView(), pane(0, 0)) << "one pane open: nothing to move to";

    // Two columns: F6 goes across and back.
    frame->SetSplit(1, 2);
    QTest::qWait(20);
    press(Qt::NoModifier);
    EXPECT_EQ(child->GetActiveView(), pane(0, 1));
    EXPECT_TRUE(frame->Pane(0, 1)->viewport()->hasFocus()) << "the keys follow the active pane";
    press(Qt::NoModifier);
    EXPECT_EQ(child->GetActiveView(), pane(0, 0));

    // 2 x 2: row by row, round; Shift+F6 the other way.
    frame->SetSplit(2, 2);
    QTest::qWait(20);
    std::vector<CView*> order;
    for (int i = 0; i < 4; ++i) {
        press(Qt::NoModifier);
        order.push_back(child->GetActiveView());
    }
    EXPECT_EQ(order, (std::vector<CView*>{pane(0, 1), pane(1, 0), pane(1, 1), pane(0, 0)}));
    press(Qt::ShiftModifier);
    EXPECT_EQ(child->GetActiveView(), pane(1, 1));
    press(Qt::ShiftModifier);
    EXPECT_EQ(child->GetActiveView(), pane(1, 0));
    EXPECT_EQ(w->MdiArea()->activeSubWindow(), sub) << "F6 stays in its window";
    sub->showMaximized();
    EXPECT_FALSE(OpenEveryMenuTwice(QStringLiteral("split")).isEmpty()) << "the split window's menus";
}

TEST_F(Menus, ZoomCommandsReadTheSameInBothViewsMenus) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    OpenTwoWindows();
    auto textsOf = [&](const QString& title) {
        QStringList found;
        QMenu* popup = Open(title);
        EXPECT_NE(popup, nullptr) << title.toStdString();
        if (!popup) return found;
        for (int id : {ids::ID_ZOOM_IN, ids::ID_ZOOM_OUT, ids::ID_ZOOM_ALL})
            for (QAction* a : popup->actions())
                if (a == w->Action(id)) found << a->text();
        Close(popup);
        return found;
    };
    const QStringList expected{QStringLiteral("拡大"), QStringLiteral("縮小"), QStringLiteral("全体")};
    EXPECT_EQ(textsOf(QStringLiteral("表示(&V)")), expected) << "the calculation view";
    w->MdiArea()->activateNextSubWindow();
    QTest::qWait(20);
    ASSERT_EQ(ActiveTitle(), QStringLiteral("BAY.TIK"));
    EXPECT_EQ(textsOf(QStringLiteral("地形(&T)")), expected) << "the project view";
    // The toolbar's tips keep their longer words.
    EXPECT_EQ(w->Action(ids::ID_ZOOM_IN)->toolTip(), QStringLiteral("拡大表示"));
    EXPECT_EQ(w->Action(ids::ID_ZOOM_OUT)->toolTip(), QStringLiteral("縮小表示"));
    EXPECT_EQ(w->Action(ids::ID_ZOOM_ALL)->toolTip(), QStringLiteral("全表示"));
}

}  // namespace
}  // namespace wv
