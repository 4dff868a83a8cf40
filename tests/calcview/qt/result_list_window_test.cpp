// The output-point result list of the real program's windows on the bay: while it is open
// it follows everything that changes the values it shows (the drawing and wave
// conditions, results cleared, a new run, results read in, a new area, mesh input), and
// it follows the activation of the windows: the project view closes it, another
// calculation window closes it and the owner's window opens it again.
#include "tests/calcview/qt/bay_window.h"

#include "calc/cal_threads.h"
#include "calcdoc/qt/calc_dialogs_qt.h"
#include "calcdoc/result_list_dlg.h"
#include "calcview/qt/result_list_provider.h"
#include "core/command_ids.h"
#include "core/draw_cond_dlg.h"
#include "core/wave_cond_dlg.h"
#include "platform/qt/dialog_host.h"
#include "platform/window_messages.h"
#include "project/qt/tik_view.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace wv {
namespace {

constexpr char kNoValue[] = "――――――";

// What the list's window shows: the value column's title and the cells, row by row.
struct Shown {
    bool open = false;
    std::string valueTitle;
    std::vector<std::vector<std::string>> rows;

    bool AnyValue() const {
        for (const auto& r : rows)
            if (r.size() > 1 && r[1] != kNoValue) return true;
        return false;
    }
};

class ResultListWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bw.started);
        std::filesystem::copy_file(bw.bay + "/BAY1.TYD", bw.bay + "/BAY2.TYD");
        std::filesystem::copy_file(bw.bay + "/BAY1.DPT", bw.bay + "/BAY2.DPT");
        sv = bw.OpenCalc("BAY1.TYD");
        ASSERT_NE(sv, nullptr);
        view = sv->Controller();
        calcSub = bw.window->MdiArea()->activeSubWindow();
        CTydView::SetDialogRunner([this](CDialogModel& d) { return answer ? answer(d) : static_cast<int>(IDCANCEL); });
        list = dynamic_cast<CalcResultListProvider*>(bw.app->GetMainFrame()->GetResultListProvider());
        ASSERT_NE(list, nullptr);
    }
    void TearDown() override { CTydView::SetDialogRunner({}); }

    // Posted messages are delivered as the program's event loop delivers them.
    void Deliver() {
        for (int i = 0; i < 3; ++i) {
            QApplication::processEvents();
            PostedMessages().DeliverPending();
        }
    }

    void Run(int id) {
        bw.app->ExecuteCommand(id);
        Deliver();
    }

    Shown List() {
        Shown s;
        s.open = list->HasWindow();
        auto* host = dynamic_cast<QtResultListHost*>(list->Dialog().GetHost());
        QWidget* window = host ? host->Window() : nullptr;
        auto* tree = window ? window->findChild<QTreeWidget*>(QStringLiteral("c1004")) : nullptr;
        if (!s.open || !tree) return s;
        s.valueTitle = tree->headerItem()->text(1).toStdString();
        for (int r = 0; r < tree->topLevelItemCount(); ++r) {
            std::vector<std::string> row;
            for (int c = 0; c < tree->columnCount(); ++c) row.push_back(tree->topLevelItem(r)->text(c).toStdString());
            s.rows.push_back(row);
        }
        return s;
    }

    // A wave calculation from the menu, to its end (the solver's message answered).
    void WaveRun() {
        Run(ids::ID_WAVE_CALC);
        ASSERT_EQ(view->Doc().m_info.m_nCalcState, 2);
        QTimer ok;
        QObject::connect(&ok, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
        });
        ok.start(20);
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 60000) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            if (view->CalcSlot().GetExitCode() != CCalThreads::kStillActive && !QApplication::activeModalWidget())
                break;
        }
        ASSERT_EQ(view->CalcSlot().GetExitCode(), 0);
        Deliver();
    }

    // Depths, a run and its results read in (the result-contour command reads them first;
    // its dialog is cancelled).
    void CalculateAndLoad() {
        Run(ids::ID_DEPTH_CALC);
        ASSERT_EQ(view->Doc().m_info.m_nCalcState, 1);
        WaveRun();
        Run(ids::ID_RESULT_CONTOUR);
        ASSERT_EQ(view->Doc().m_info.m_nCalcState, 3);
    }

    void Mouse(QWidget* port, QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::MouseButtons bs) {
        QMouseEvent e(type, QPointF(p), QPointF(port->mapToGlobal(p)), b, bs, Qt::NoModifier);
        QApplication::sendEvent(port, &e);
    }
    QPoint Client(double x, double y) {
        int vx = 0, vy = 0;
        view->State().coord.WorldToViewPoint(x, y, &vx, &vy);
        return QPoint(vx - view->State().scrollX, vy - view->State().scrollY);
    }
    QMdiSubWindow* ProjectSub() {
        for (QMdiSubWindow* s : bw.window->MdiArea()->subWindowList())
            if (!dynamic_cast<CTydFrame*>(s->widget())) return s;
        return nullptr;
    }
    void Activate(QMdiSubWindow* sub) {
        bw.window->MdiArea()->setActiveSubWindow(sub);
        Deliver();
    }

    test::BayWindow bw;
    TydScrollView* sv = nullptr;
    CTydView* view = nullptr;
    QMdiSubWindow* calcSub = nullptr;
    CalcResultListProvider* list = nullptr;
    std::function<int(CDialogModel&)> answer;
};

TEST_F(ResultListWindow, FollowsEveryChangeOfItsValues) {
    CTydDoc& doc = view->Doc();
    doc.m_calcArea.SetOrigin(0.0, 200.0);
    doc.m_calcArea.SetMeshSize(100.0);
    doc.m_calcArea.SetMeshCountX(25);
    doc.m_calcArea.SetMeshCountY(25);
    doc.m_zmn.m_nValueType = 0;
    CalculateAndLoad();

    Run(ids::ID_RESULT_LIST);
    Shown s = List();
    ASSERT_TRUE(s.open);
    ASSERT_FALSE(s.rows.empty()) << "the bay has output points in use";
    EXPECT_EQ(s.valueTitle, CCalcPointResultDlg::ValueColumnTitle(0));
    ASSERT_TRUE(s.AnyValue());
    const Shown heights = s;

    // Drawing conditions: the ratio instead of the height, title and values.
    answer = [](CDialogModel& d) {
        if (auto* c = dynamic_cast<CDrawCondDlg*>(&d)) c->m_nValueType = 1;
        return static_cast<int>(IDOK);
    };
    Run(ids::ID_DRAW_COND);
    s = List();
    EXPECT_EQ(s.valueTitle, CCalcPointResultDlg::ValueColumnTitle(1)) << "drawing conditions";
    EXPECT_NE(s.rows, heights.rows) << "drawing conditions";

    // Wave conditions, the sense of the directions: the direction column.
    const Shown ratios = s;
    answer = [](CDialogModel& d) {
        if (auto* w = dynamic_cast<CWaveCondDlg*>(&d)) w->m_nOutDirSense = w->m_nOutDirSense == 0 ? 1 : 0;
        return static_cast<int>(IDOK);
    };
    Run(ids::ID_WAVE_COND);
    s = List();
    ASSERT_EQ(s.rows.size(), ratios.rows.size());
    for (std::size_t r = 0; r < s.rows.size(); ++r) {
        EXPECT_EQ(s.rows[r][1], ratios.rows[r][1]) << "wave conditions: the values stay";
        EXPECT_NE(s.rows[r][2], ratios.rows[r][2]) << "wave conditions: the directions turn";
    }

    // Wave conditions that move the mesh (the tide): results cleared.
    answer = [](CDialogModel& d) {
        if (auto* w = dynamic_cast<CWaveCondDlg*>(&d)) w->m_dTide += 0.5;
        return static_cast<int>(IDOK);
    };
    Run(ids::ID_WAVE_COND);
    ASSERT_EQ(doc.m_info.m_nCalcState, 0);
    EXPECT_FALSE(List().AnyValue()) << "results cleared";
    answer = nullptr;

    // Results read in again, then a new run clears them.
    CalculateAndLoad();
    EXPECT_TRUE(List().AnyValue()) << "results read in";
    WaveRun();
    EXPECT_FALSE(List().AnyValue()) << "a new run";
    Run(ids::ID_RESULT_CONTOUR);
    EXPECT_TRUE(List().AnyValue()) << "the run's results read in";

    // A new area dragged with the mouse.
    Run(ids::ID_ZOOM_ALL);
    Run(ids::ID_CALC_AREA);
    QWidget* port = dynamic_cast<CTydFrame*>(calcSub->widget())->Pane(0, 0)->viewport();
    const QPoint a = Client(0.0, 2600.0), b = Client(2400.0, 200.0);
    Mouse(port, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    Mouse(port, QEvent::MouseMove, a + QPoint(2, 2), Qt::NoButton, Qt::LeftButton);
    Mouse(port, QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
    Mouse(port, QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
    Deliver();
    ASSERT_EQ(doc.m_info.m_nCalcState, 0) << "the area was set";
    EXPECT_FALSE(List().AnyValue()) << "a new area";

    // Mesh input: the depths written out, results read in, the depths read back.
    CalculateAndLoad();
    Run(ids::ID_MESH_FILE_OUT);
    ASSERT_TRUE(List().AnyValue());
    Run(ids::ID_MESH_FILE_IN);
    ASSERT_EQ(doc.m_info.m_nCalcState, 1) << "the mesh was read";
    EXPECT_FALSE(List().AnyValue()) << "mesh input";
}

TEST_F(ResultListWindow, FollowsTheActivationOfTheWindows) {
    Run(ids::ID_RESULT_LIST);
    ASSERT_TRUE(List().open);
    ASSERT_EQ(view->m_bResultListOpen, 1);

    // Another calculation window closes it; the owner's window opens it again.
    ASSERT_NE(bw.app->OpenDocumentFile(bw.bay + "/BAY2.TYD"), nullptr);
    Deliver();
    QMdiSubWindow* other = bw.window->MdiArea()->activeSubWindow();
    ASSERT_NE(other, calcSub);
    EXPECT_FALSE(List().open) << "another calculation window";
    Activate(calcSub);
    EXPECT_TRUE(List().open) << "the owner's window again";
    EXPECT_EQ(bw.app->GetMainFrame()->m_pResultView, sv);

    // The project view closes it, and every calculation view forgets it.
    QMdiSubWindow* project = ProjectSub();
    ASSERT_NE(project, nullptr);
    Activate(project);
    ASSERT_NE(dynamic_cast<CTikView*>(bw.app->GetMainFrame()->MDIGetActive()->GetActiveView()), nullptr);
    EXPECT_FALSE(List().open) << "the project view";
    EXPECT_EQ(view->m_bResultListOpen, 0);
    Activate(calcSub);
    EXPECT_FALSE(List().open) << "closed for good";
}

}  // namespace
}  // namespace wv
