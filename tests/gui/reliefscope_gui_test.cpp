// Reliefscope through its own start-up, in a scratch start folder: its menus opened
// twice; a Q-SONA file chosen in the real file dialog; zooms by click, the low-tide lines
// and the bars from the View menu; an output area dragged with the mouse; both outputs
// written through their real dialogs; the file opened again from the recent list; the
// About box; ｱﾌﾟﾘｹｰｼｮﾝの終了.
#include "viewer/messages.h"
#include "viewer/qt/main_frame.h"
#include "viewer/qt/reliefscope_app.h"

#include "gui/gui_driver.h"

#include "platform/files.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <gtest/gtest.h>

#include <filesystem>

namespace wv::gui {
namespace {

namespace fs = std::filesystem;

QString U(const char* s) { return QString::fromUtf8(s); }
std::string Here() { return fs::current_path().string(); }

void PrepareStart() {
    PrepareScratchStart();
    fs::copy_file(fs::path(WAVORA_SOURCE_DIR) / "examples/smallbay/SMALLBAY.DAT", Here() + "/SMALLBAY.DAT",
                  fs::copy_options::overwrite_existing);
}

int RunReliefscope(const std::function<void(CMainFrame&, ModalAnswerer&)>& script) {
    static char name[] = "Reliefscope";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<ModalAnswerer> modals;
    return ReliefscopeMain(1, argv, [&](CMainFrame& f) {
        ScriptWhenShown(f, modals, [&](ModalAnswerer& m) { script(f, m); });
    });
}

QWidget* Port(CMainFrame& f) { return f.View().viewport(); }

TEST(ReliefscopeGui, MenusOpenTwice) {
    PrepareStart();
    RunReliefscope([](CMainFrame& f, ModalAnswerer&) {
        EXPECT_EQ(MenuTitles(f.menuBar()),
                  (QStringList{U(viewer_text::kMenuFile), U(viewer_text::kMenuView), U(viewer_text::kMenuSettings),
                               U(viewer_text::kMenuHelp)}));
        QString failed;
        EXPECT_TRUE(OpenEveryMenu(f.menuBar(), 2, &failed)) << failed.toStdString();
        EXPECT_TRUE(ShootEveryMenu(f.menuBar(), QStringLiteral("reliefscope"), &failed)) << failed.toStdString();
    });
}

TEST(ReliefscopeGui, OpenZoomAreaOutputsRecentAboutAndExit) {
    PrepareStart();
    const QString data = QString::fromStdString(Here() + "/SMALLBAY.DAT");
    const std::string qsona = Here() + "/AREA.DAT";
    const std::string dxf = Here() + "/AREA.dxf";
    const int code = RunReliefscope([&](CMainFrame& f, ModalAnswerer& modals) {
        const QString file = U(viewer_text::kMenuFile);
        const QString view = U(viewer_text::kMenuView);
        modals.OnTitle(QString(), [data](QWidget* d) { ModalAnswerer::AnswerFileDialog(d, data); }, 1);
        ASSERT_EQ(Choose(f.menuBar(), {file, U(viewer_text::kMenuOpen)}), ChooseResult::Chosen);
        ASSERT_TRUE(WaitFor([&] { return f.Document().Count() > 0; })) << "the file is open";
        EXPECT_TRUE(f.windowTitle().contains(QStringLiteral("SMALLBAY"))) << f.windowTitle().toStdString();
        Pump(50);
        Shot(QStringLiteral("reliefscope-open"));

        // A zoom-in click at the centre, a zoom-out click, the whole again.
        const double fitted = f.View().Logic().Geometry().Scale();
        ASSERT_GT(fitted, 0.0);
        QWidget* port = Port(f);
        ASSERT_EQ(Choose(f.menuBar(), {view, U(viewer_text::kMenuZoomIn)}), ChooseResult::Chosen);
        Click(port, port->rect().center());
        EXPECT_NEAR(f.View().Logic().Geometry().Scale(), fitted * 1.2, fitted * 1e-9);
        EXPECT_EQ(f.PromptPaneText(), U(viewer_text::kMenuZoomIn));
        ASSERT_EQ(Choose(f.menuBar(), {view, U(viewer_text::kMenuZoomOut)}), ChooseResult::Chosen);
        Click(port, port->rect().center());
        EXPECT_NEAR(f.View().Logic().Geometry().Scale(), fitted * 1.2 * 0.8, fitted * 1e-9);
        Click(port, port->rect().center(), Qt::RightButton);
        ASSERT_EQ(Choose(f.menuBar(), {view, U(viewer_text::kMenuZoomAll)}), ChooseResult::Chosen);
        EXPECT_DOUBLE_EQ(f.View().Logic().Geometry().Scale(), fitted);

        // The low-tide lines on and off, the check mark following.
        for (bool on : {true, false}) {
            ASSERT_EQ(Choose(f.menuBar(), {view, U(viewer_text::kMenuLowTide)}), ChooseResult::Chosen);
            EXPECT_EQ(f.Document().LowTide(), on);
            QMenu* m = OpenMenu(f.menuBar(), view);
            ASSERT_NE(m, nullptr);
            EXPECT_EQ(FindItem(m, U(viewer_text::kMenuLowTide))->isChecked(), on);
            EscapeMenu(m);
        }
        // Toolbar and status bar hide and show.
        QToolBar* bar = f.findChild<QToolBar*>();
        ASSERT_NE(bar, nullptr);
        for (const char* item : {viewer_text::kMenuToolBar, viewer_text::kMenuStatusBar}) {
            QWidget* w = item == viewer_text::kMenuToolBar ? static_cast<QWidget*>(bar) : f.statusBar();
            ASSERT_EQ(Choose(f.menuBar(), {view, U(item)}), ChooseResult::Chosen);
            EXPECT_TRUE(w->isHidden()) << item;
            ASSERT_EQ(Choose(f.menuBar(), {view, U(item)}), ChooseResult::Chosen);
            EXPECT_FALSE(w->isHidden()) << item;
        }

        // An output area dragged over the middle of the data.
        ASSERT_EQ(Choose(f.menuBar(), {U(viewer_text::kMenuSettings), U(viewer_text::kMenuSetArea)}),
                  ChooseResult::Chosen);
        const QPoint c = port->rect().center();
        Drag(port, c - QPoint(120, 90), c + QPoint(120, 90));
        ASSERT_GT(f.Document().Area().LonSpan(), 0.0) << "the area is set";
        ASSERT_GT(f.Document().Area().LatSpan(), 0.0);
        Shot(QStringLiteral("reliefscope-area"));

        // Both outputs, each through its save dialog (the DXF's options dialog first).
        modals.OnTitle(QString(), [q = QString::fromStdString(qsona)](QWidget* d) { ModalAnswerer::AnswerFileDialog(d, q); },
                       1);
        ASSERT_EQ(Choose(f.menuBar(), {file, U(viewer_text::kMenuAreaOutput), U(viewer_text::kMenuOutputQsona)}),
                  ChooseResult::Chosen);
        ASSERT_TRUE(WaitFor([&] { return fs::exists(qsona); }, 10000));
        const std::size_t before = modals.Log().size();
        modals.On({[](QWidget* w) { return w->inherits("QFileDialog"); },
                   [q = QString::fromStdString(dxf)](QWidget* d) { ModalAnswerer::AnswerFileDialog(d, q); }, 1,
                   "the DXF file"});
        ASSERT_EQ(Choose(f.menuBar(), {file, U(viewer_text::kMenuAreaOutput), U(viewer_text::kMenuOutputDxf)}),
                  ChooseResult::Chosen);
        ASSERT_TRUE(WaitFor([&] { return fs::exists(dxf); }, 20000)) << modals.LogLines(before).join('\n').toStdString();
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(dxf, bytes, nullptr));
        EXPECT_NE(bytes.find("POLYLINE"), std::string::npos) << "3D polylines";

        // Opened again from the recent list.
        QMenu* fm = OpenMenu(f.menuBar(), file);
        ASSERT_NE(fm, nullptr);
        QAction* recent = nullptr;
        for (QAction* a : fm->actions())
            if (a->text().endsWith(data)) recent = a;
        ASSERT_NE(recent, nullptr) << "the file is in the recent list";
        ClickItem(fm, recent);
        Pump(50);
        EXPECT_GT(f.Document().Count(), 0);

        // The About box shows the version; its OK closes it.
        QString shown;
        modals.OnTitle(QString(), [&shown](QWidget* d) {
            for (QLabel* l : d->findChildren<QLabel*>())
                if (l->text().startsWith(QStringLiteral("ﾊﾞｰｼﾞｮﾝ"))) shown = l->text();
            ModalAnswerer::PressDialogButton(d, 1);
        }, 1);
        ASSERT_EQ(Choose(f.menuBar(), {U(viewer_text::kMenuHelp), U(viewer_text::kMenuAbout)}), ChooseResult::Chosen);
        EXPECT_EQ(shown, QStringLiteral("ﾊﾞｰｼﾞｮﾝ 2.5.1"));

        ASSERT_EQ(Choose(f.menuBar(), {file, U(viewer_text::kMenuExit)}), ChooseResult::Chosen);
        EXPECT_TRUE(WaitFor([&] { return !f.isVisible(); })) << "the program ends";
    });
    EXPECT_EQ(code, 0);
    std::string area;
    ASSERT_TRUE(ReadWholeFile(qsona, area, nullptr));
    EXPECT_GT(area.size(), 60u) << "records of the area";
    EXPECT_FALSE(fs::exists(Here() + "/runtime/Reliefscope.lock")) << "the instance lock released";
}

}  // namespace
}  // namespace wv::gui
