// wavora_calc_shots PROJECT.TIK OUTDIR: Wavora on the example bay as a new user takes it
// through a calculation, a picture of the screen at each step: a new calculation opened,
// the wave conditions, the area dragged with the mouse, the depths, the solver running,
// the results as colour map and contours, the wave-height map, and the figure printed to
// OUTDIR/ROAD.pdf. The dialogs are answered by a script; everything else is the program's
// own. For looking at the program under a virtual display.
#include "calcview/qt/tyd_scroll_view.h"
#include "calcview/qt/tyd_frame.h"
// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "core/command_ids.h"
#include "app/qt/app_main.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_app_host.h"
#include "app/wavora_app.h"
#include "calc/cal_threads.h"
#include "calcdoc/contour_cond_dlg.h"
#include "calcdoc/digital_map_interval_dlg.h"
#include "calcdoc/qt/calc_dialogs_qt.h"
#include "core/draw_cond_dlg.h"
#include "core/wave_cond_dlg.h"
#include "platform/files.h"
#include "platform/qt/scroll_view_widget.h"
#include "platform/ui_service.h"
#include "tools/tool_args.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

class ScriptUi : public wv::UiService {
public:
    ScriptUi(std::string project, std::string pdf) : m_project(std::move(project)), m_pdf(std::move(pdf)) {}
    int MessageBox(const std::string& text, const std::string& caption, wv::MbButtons b, wv::MbIcon) override {
        std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
        return wv::DefaultAnswer(b);
    }
    bool FileDialog(const wv::FileDialogOptions& fileDialog, std::string& path) override {
        path = fileDialog.defaultExt == "pdf" ? m_pdf : m_project;
        return true;
    }

private:
    std::string m_project, m_pdf;
};

void Shot(const QString& path) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPixmap shot = screen ? screen->grabWindow(0) : QPixmap();
    std::fprintf(stderr, "%s %s\n", shot.save(path) ? "saved" : "FAILED", path.toLocal8Bit().constData());
}

void Mouse(QWidget* port, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(p), QPointF(port->mapToGlobal(p)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(port, &e);
}

}  // namespace

int main(int argc, char** argv) {
    static const char kUsage[] = "usage: wavora_calc_shots PROJECT.TIK OUTDIR\n";
    if (const int code = wv::tools::CheckToolArgs(argc, argv, kUsage); code >= 0) return code;
    if (argc < 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string project = argv[1];
    const QString out = QString::fromLocal8Bit(argv[2]) + "/";
    const std::string pdf = std::string(argv[2]) + "/ROAD.pdf";
    const std::string calc = wv::FolderOf(project) + "ROAD.TYD";
    wv::AtomicWriteFile(calc, std::string(), nullptr);
    return wv::RunWavora(argc, argv, [&](wv::CWavoraApp& app, wv::QtAppHost& host) {
        static ScriptUi* script = new ScriptUi(project, pdf);
        wv::SetUi(script);
        wv::MainWindow* w = host.Window();
        w->setGeometry(0, 0, 1600, 1000);
        // The dialogs as a user fills them in.
        wv::CTydView::SetDialogRunner([w](wv::CDialogModel& dlg) {
            if (auto* d = dynamic_cast<wv::CWaveCondDlg*>(&dlg)) {
                d->m_nDirMode = 0;
                d->m_nDir16 = 0;
                d->m_dH0 = 2.0;
                d->m_dT0 = 8.0;
                d->m_nDirDiv = 36;
                d->m_nFreqDiv = 5;
                d->m_dMeshPitch = 50.0;
                return static_cast<int>(wv::IDOK);
            }
            if (auto* d = dynamic_cast<wv::CDrawCondDlg*>(&dlg)) {
                d->m_bColorContour = 1;
                d->m_bFigContour = 1;
                // The bay is 2.4 km across: 1:5000 on the sheet, the frame on the bay.
                d->m_nScale = 5000;
                d->m_dCenterX = 1200.0;
                d->m_dCenterY = 1350.0;
                return static_cast<int>(wv::IDOK);
            }
            if (auto* c = dynamic_cast<wv::CContourCondDlg*>(&dlg)) {
                c->m_dInterval = 0.1;
                return static_cast<int>(wv::IDOK);
            }
            if (auto* m = dynamic_cast<wv::CDigitalMapIntervalDlg*>(&dlg)) {
                m->m_dStepAcross = 200.0;
                m->m_dStepDown = 200.0;
                return static_cast<int>(wv::IDOK);
            }
            return wv::RunCalcDialog(dlg, w);
        });
        auto view = [w]() -> wv::CTydView* {
            QMdiSubWindow* sub = w->MdiArea()->activeSubWindow();
            auto* frame = sub ? dynamic_cast<wv::CTydFrame*>(sub->widget()) : nullptr;
            auto* sw = frame ? frame->Pane(0, 0) : nullptr;
            auto* tv = sw ? dynamic_cast<wv::TydScrollView*>(sw->View()) : nullptr;
            return tv ? tv->Controller() : nullptr;
        };
        auto port = [w]() -> QWidget* {
            QMdiSubWindow* sub = w->MdiArea()->activeSubWindow();
            auto* frame = sub ? dynamic_cast<wv::CTydFrame*>(sub->widget()) : nullptr;
            auto* sw = frame ? frame->Pane(0, 0) : nullptr;
            return sw ? sw->viewport() : nullptr;
        };
        auto client = [view](double x, double y) {
            int vx = 0, vy = 0;
            view()->State().coord.WorldToViewPoint(x, y, &vx, &vy);
            return QPoint(vx - view()->State().scrollX, vy - view()->State().scrollY);
        };
        struct Step {
            int delay;
            std::function<void()> run;
            bool afterRun = false;  // waits until the solver's run has ended
        };
        static std::vector<Step> steps;
        steps = {
            {300, [&app] { app.ExecuteCommand(wv::ids::ID_OPEN_PROJECT); }},
            {500, [&app, calc, w] {
                 app.OpenDocumentFile(calc);
                 if (QMdiSubWindow* s = w->MdiArea()->activeSubWindow()) s->showMaximized();
             }},
            {700, [&app] { app.ExecuteCommand(wv::ids::ID_ZOOM_ALL); }},
            {500, [out] { Shot(out + "01_open.png"); }},
            {300, [&app] { app.ExecuteCommand(wv::ids::ID_WAVE_COND); }},
            {300, [&app, port, client] {
                 app.ExecuteCommand(wv::ids::ID_CALC_AREA);
                 QWidget* p = port();
                 const QPoint a = client(0.0, 2600.0), b = client(2400.0, 200.0);
                 Mouse(p, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
                 Mouse(p, QEvent::MouseMove, a + QPoint(2, 2), Qt::NoButton, Qt::LeftButton);
                 Mouse(p, QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
             }},
            {400, [w, out] {
                 w->RefreshCommandStates();
                 Shot(out + "02_area_drag.png");
             }},
            {100, [port, client] {
                 Mouse(port(), QEvent::MouseButtonRelease, client(2400.0, 200.0), Qt::LeftButton, Qt::NoButton);
             }},
            {300, [&app] { app.ExecuteCommand(wv::ids::ID_DEPTH_CALC); }},
            {700, [out] { Shot(out + "03_depth.png"); }},
            {300, [&app] { app.ExecuteCommand(wv::ids::ID_WAVE_CALC); }},
            {400, [out] { Shot(out + "04_running.png"); }},
            {500, [&app] { app.ExecuteCommand(wv::ids::ID_RESULT_CONTOUR); }, true},
            {300, [&app] { app.ExecuteCommand(wv::ids::ID_DRAW_COND); }},
            {700, [out] { Shot(out + "05_colour_contours.png"); }},
            {300, [&app, port, client] {
                 app.ExecuteCommand(wv::ids::ID_HEIGHT_MAP_MOUSE);
                 const QPoint p = client(1200.0, 1400.0);
                 Mouse(port(), QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
                 Mouse(port(), QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
             }},
            {700, [out] { Shot(out + "06_height_map.png"); }},
            {300, [&app] { app.ExecuteCommand(wv::ids::ID_FILE_PRINT_DIRECT); }},
            {500, [view] {
                 view()->Doc().SetModifiedFlag(false);
                 QApplication::closeAllWindows();
                 QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
             }},
        };
        static std::size_t next = 0;
        static std::function<void()> runNext;
        static std::function<bool()> busy = [view] {
            wv::CTydView* v = view();
            return v && v->CalcSlot().GetExitCode() == wv::CCalThreads::kStillActive;
        };
        runNext = [] {
            if (next >= steps.size()) return;
            // The solver's run is waited for with the event loop going: its window and its
            // questions live on this thread.
            static int waited = 0;
            if (steps[next].afterRun && busy()) {
                // The solver's window ends with its own message: OK, as a user would.
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    if (++waited > 3) box->accept();
                }
                QTimer::singleShot(200, qApp, [] { runNext(); });
                return;
            }
            const Step& s = steps[next++];
            QTimer::singleShot(s.delay, qApp, [&s] {
                s.run();
                runNext();
            });
        };
        runNext();
    });
}
