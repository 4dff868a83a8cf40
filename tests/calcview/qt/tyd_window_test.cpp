// The calculation view's window on the offscreen platform: the bay opens in its MDI
// window with the coast where the view puts it, a zoom click, the condition dialogs open
// and close, the preview renders and the direct print writes a PDF without a printer.
// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "calcview/qt/tyd_scroll_view.h"
#include "core/command_ids.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_app_host.h"
#include "app/wavora_app.h"
#include "app/qt/install_views.h"
#include "calcview/qt/tyd_frame.h"
#include "calcview/qt/result_list_provider.h"
#include "calc/cal_threads.h"
#include "platform/qt/scroll_view_widget.h"
#include "platform/ui_service.h"
#include "tests/app/app_test_util.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrintPreviewDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace wv {
namespace {

// Closes the next modal dialog once it shows; counts the dialogs it closed.
struct DialogCloser {
    int closed = 0;
    void Arm() {
        QTimer::singleShot(50, qApp, [this] {
            QWidget* m = QApplication::activeModalWidget();
            if (auto* d = qobject_cast<QDialog*>(m)) {
                ++closed;
                d->reject();
            } else {
                Arm();
            }
        });
    }
};

bool NearColour(const QImage& img, QPoint p, int radius) {
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint q = p + QPoint(dx, dy);
            if (img.rect().contains(q) && (img.pixel(q) & 0xFFFFFF) != 0) return true;
        }
    return false;
}

TEST(TydWindow, BayOpensZoomsDialogsPreviewAndDirectPrint) {
    const std::string here = apptest::Here();
    const std::string bay = apptest::StartInScratch();

    int argc = 1;
    char name[] = "tyd_window_test";
    char* argv[] = {name, nullptr};
    QApplication qapp(argc, argv);
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    {
        QtAppHost host;
        CWavoraApp app(host);
        host.SetApp(&app);
        ASSERT_TRUE(app.InitInstance());
        MainWindow* w = host.Window();
        InstallViews(app, host);
        w->resize(1200, 900);
        w->show();
        ASSERT_TRUE(app.OpenProject(bay + "/BAY.TIK"));
        ASSERT_NE(app.OpenDocumentFile(bay + "/BAY1.TYD"), nullptr);
        QMdiSubWindow* sub = w->MdiArea()->activeSubWindow();
        ASSERT_NE(sub, nullptr);
        sub->showMaximized();
        QApplication::processEvents();
        auto* frame = dynamic_cast<CTydFrame*>(sub->widget());
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->Rows(), 1);
        EXPECT_EQ(frame->Cols(), 1);
        ScrollViewWidget* widget = frame->Pane(0, 0);
        ASSERT_NE(widget, nullptr);
        auto* sv = dynamic_cast<TydScrollView*>(widget->View());
        ASSERT_NE(sv, nullptr);
        CTydView* view = sv->Controller();
        ASSERT_NE(view, nullptr);
        app.ExecuteCommand(ids::ID_ZOOM_ALL);
        QApplication::processEvents();

        // The coast: every live survey point of the bay shows on a coloured pixel.
        const QImage img = sv->WindowImage();
        ASSERT_FALSE(img.isNull());
        int shown = 0, coloured = 0;
        for (int i = 0; i < g_surveyPoints.GetSlotCount(); ++i) {
            const CSokutenZokusei p = g_surveyPoints.GetAt(i);
            if (p.GetId() < 0) continue;
            int vx = 0, vy = 0;
            view->State().coord.WorldToViewPoint(p.GetPos().m_dX, p.GetPos().m_dY, &vx, &vy);
            const QPoint c(vx - view->State().scrollX, vy - view->State().scrollY);
            if (!img.rect().contains(c)) continue;
            ++shown;
            coloured += NearColour(img, c, 2) ? 1 : 0;
        }
        EXPECT_GT(shown, 10);
        EXPECT_EQ(coloured, shown);
        EXPECT_EQ(w->menuBar()->actions().size(), 8);

        // A zoom-in click at the window centre.
        const double scale = view->State().coord.GetScale();
        app.ExecuteCommand(ids::ID_ZOOM_IN);
        EXPECT_EQ(view->Mode(), 10);
        QWidget* port = widget->viewport();
        EXPECT_EQ(port->cursor().shape(), Qt::BitmapCursor) << "the magnifier while zooming";
        const QPointF mid(port->width() / 2, port->height() / 2);
        QMouseEvent press(QEvent::MouseButtonPress, mid, port->mapToGlobal(mid), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(port, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, mid, port->mapToGlobal(mid), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(port, &release);
        EXPECT_NEAR(view->State().coord.GetScale(), scale * 1.2, 1e-9);
        EXPECT_EQ(view->Mode(), 10);

        // The condition dialogs open and close (cancelled: nothing changes).
        DialogCloser closer;
        for (int id : {ids::ID_WAVE_COND, ids::ID_DRAW_COND}) {
            closer.Arm();
            app.ExecuteCommand(id);
        }
        EXPECT_EQ(closer.closed, 2);
        EXPECT_FALSE(view->Doc().IsModified());

        // The preview renders the figure and closes.
        closer.Arm();
        EXPECT_TRUE(sv->Preview());
        EXPECT_EQ(closer.closed, 3);
        EXPECT_FALSE(view->PlotStore().HasData()) << "freed after the preview";

        // Direct print without a printer: a PDF of the conditions' paper.
        const std::string pdf = here + "/BAY1.pdf";
        std::filesystem::remove(pdf);
        ui.PushFileAnswer(pdf);
        app.ExecuteCommand(ids::ID_FILE_PRINT_DIRECT);
        ASSERT_TRUE(std::filesystem::exists(pdf));
        EXPECT_EQ(apptest::Bytes(pdf).substr(0, 4), "%PDF");
        EXPECT_FALSE(view->PlotStore().HasData());
        const auto dialogs = ui.FileDialogs();
        ASSERT_FALSE(dialogs.empty());
        EXPECT_EQ(dialogs.back().fileDialog.initialName, "BAY1.pdf");

        // The result list belongs to this view; Escape in the view closes it.
        auto* list = dynamic_cast<CalcResultListProvider*>(app.GetMainFrame()->GetResultListProvider());
        ASSERT_NE(list, nullptr);
        app.ExecuteCommand(ids::ID_RESULT_LIST);
        EXPECT_TRUE(list->HasWindow());
        EXPECT_EQ(view->m_bResultListOpen, 1);
        EXPECT_EQ(app.GetMainFrame()->m_pResultView, sv);
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(widget, &esc);
        PostedMessages().DeliverPending();
        EXPECT_FALSE(list->HasWindow());
        EXPECT_EQ(view->m_bResultListOpen, 0);

        // Split into 2 x 2: each pane its own zoom, all at the document's angle; a click
        // makes a pane the active view.
        frame->SetSplit(2, 2);
        QApplication::processEvents();
        EXPECT_EQ(frame->Rows(), 2);
        EXPECT_EQ(frame->Cols(), 2);
        ScrollViewWidget* other = frame->Pane(1, 1);
        auto* otherView = dynamic_cast<TydScrollView*>(other->View());
        ASSERT_NE(otherView, nullptr);
        ASSERT_NE(otherView->Controller(), nullptr);
        QWidget* port2 = other->viewport();
        const QPointF mid2(port2->width() / 2, port2->height() / 2);
        QMouseEvent press2(QEvent::MouseButtonPress, mid2, port2->mapToGlobal(mid2), Qt::LeftButton, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(port2, &press2);
        EXPECT_EQ(w->MdiArea()->activeSubWindow(), sub);
        CMDIChildWnd* child = app.GetMainFrame()->MDIGetActive();
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->GetActiveView(), otherView);
        EXPECT_EQ(child->Views().size(), 4u);
        const double firstScale = view->State().coord.GetScale();
        app.ExecuteCommand(ids::ID_ZOOM_IN);
        EXPECT_EQ(otherView->Controller()->Mode(), 10);
        EXPECT_EQ(view->Mode(), 10) << "the first pane kept its own mode from before";
        QMouseEvent release2(QEvent::MouseButtonRelease, mid2, port2->mapToGlobal(mid2), Qt::LeftButton,
                             Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(port2, &press2);
        QApplication::sendEvent(port2, &release2);
        EXPECT_DOUBLE_EQ(view->State().coord.GetScale(), firstScale);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c) {
                auto* pane = dynamic_cast<TydScrollView*>(frame->Pane(r, c)->View());
                pane->WindowImage();
                EXPECT_DOUBLE_EQ(pane->Controller()->Angle(), view->Doc().m_zmn.m_dRotation);
            }

        // The list follows activation: another pane without a list of its own closes it.
        app.ExecuteCommand(ids::ID_RESULT_LIST);
        EXPECT_TRUE(list->HasWindow());
        EXPECT_EQ(app.GetMainFrame()->m_pResultView, otherView);
        QWidget* port0 = frame->Pane(0, 0)->viewport();
        QMouseEvent press0(QEvent::MouseButtonPress, QPointF(5, 5), port0->mapToGlobal(QPointF(5, 5)), Qt::RightButton,
                           Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(port0, &press0);
        PostedMessages().DeliverPending();
        EXPECT_EQ(child->GetActiveView(), sv);
        EXPECT_EQ(app.GetMainFrame()->m_pResultView, sv);
        EXPECT_FALSE(list->HasWindow());
        otherView->Controller()->m_bResultListOpen = 0;

        // A wave calculation from the menu: the solver's own window shows while it runs.
        // The run belongs to the active pane.
        child->SetActiveView(otherView);
        CTydView* runner = otherView->Controller();
        CTydDoc& doc = view->Doc();
        doc.m_calcArea.SetOrigin(0.0, 200.0);
        doc.m_calcArea.SetMeshSize(100.0);
        doc.m_calcArea.SetMeshCountX(25);
        doc.m_calcArea.SetMeshCountY(25);
        app.ExecuteCommand(ids::ID_DEPTH_CALC);
        ASSERT_EQ(doc.m_info.m_nCalcState, 1);
        const QWidgetList before = QApplication::topLevelWidgets();
        app.ExecuteCommand(ids::ID_WAVE_CALC);
        ASSERT_EQ(doc.m_info.m_nCalcState, 2);
        bool sawSolverWindow = false;
        // The solver's end message runs its own event loop: a timer answers it, as a user
        // would with OK.
        QTimer okClicker;
        QObject::connect(&okClicker, &QTimer::timeout, [&] {
            for (QWidget* t : QApplication::topLevelWidgets())
                if (t->isVisible() && !before.contains(t) && !qobject_cast<QMessageBox*>(t)) sawSolverWindow = true;
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
        });
        okClicker.start(20);
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 60000) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            if (runner->CalcSlot().GetExitCode() != CCalThreads::kStillActive && !QApplication::activeModalWidget())
                break;
        }
        okClicker.stop();
        EXPECT_TRUE(sawSolverWindow);
        EXPECT_EQ(runner->CalcSlot().GetExitCode(), 0);

        view->Doc().SetModifiedFlag(false);
        app.ExitInstance();
    }
}

}  // namespace
}  // namespace wv
