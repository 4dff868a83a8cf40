// Reliefscope's window, offscreen: open the example bay, fit it, drag out an area with
// the mouse, write both outputs, reopen the Q-SONA output and read the DXF back.

#include "viewer/qt/main_frame.h"
#include "viewer_test_support.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QSettings>
#include <QStatusBar>

#include <cstdlib>
#include <filesystem>

namespace wv {
namespace {

using test::CheckWithEzdxf;
using test::Count;

QApplication& App()
{
    static int argc = 1;
    static char name[] = "reliefscope_frame_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = nullptr;
    if (app == nullptr) {
        // Settings and lock files live in the test's scratch folder, never the user's.
        const std::string here = std::filesystem::current_path().string();
        ::setenv("XDG_CONFIG_HOME", (here + "/config").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", here.c_str(), 1);
        app = new QApplication(argc, argv);
    }
    return *app;
}

void Mouse(QWidget* w, QEvent::Type type, int x, int y, Qt::MouseButton button)
{
    const QPointF p(x, y);
    QMouseEvent e(type, p, w->mapToGlobal(p), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

struct FrameFixture : ::testing::Test {
    ScriptedUi ui;
    ScopedUi scope{&ui};
    test::ScriptedPrompts prompts;
    std::unique_ptr<CMainFrame> frame;

    void SetUp() override
    {
        App();
        frame = std::make_unique<CMainFrame>();
        frame->SetPrompts(&prompts);
        frame->resize(900, 650);
        frame->show();
        QApplication::processEvents();
    }
    QWidget* Viewport() { return frame->View().viewport(); }
    CReliefscopeDoc& doc() { return frame->Document(); }
};

TEST_F(FrameFixture, OpensTheBayTakesAnAreaAndWritesBothFiles)
{
    const std::string bay = test::SourceFile("examples/smallbay/SMALLBAY.DAT");
    EXPECT_EQ(frame->windowTitle().toStdString(), "Q-SONA領域抽出ﾌﾟﾛｸﾞﾗﾑ - 無題");
    ASSERT_TRUE(frame->OpenFile(bay));
    EXPECT_EQ(frame->windowTitle().toStdString(), "Q-SONA領域抽出ﾌﾟﾛｸﾞﾗﾑ - SMALLBAY.DAT");
    const ReliefscopeGeometry& geo = frame->View().Logic().Geometry();
    EXPECT_EQ(geo.ClientW(), Viewport()->width());
    EXPECT_GT(geo.Scale(), 0.9 * std::min(geo.ClientW() / doc().DataBox().LonSpan(),
                                          geo.ClientH() / doc().DataBox().LatSpan()) / 1.1);

    // The fitted picture shows the coastline (white) and the depth lines (cyan).
    const QImage& img = frame->View().WindowImage();
    int white = 0;
    int cyan = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y) & 0xFFFFFF;
            white += c == 0xFFFFFF;
            cyan += c == 0x00FFFF;
        }
    }
    EXPECT_GT(white, 200);
    EXPECT_GT(cyan, 1000);

    // Area mode from the menu; a drag with the mouse: the records are drawn no more.
    frame->Action(32771)->trigger();
    EXPECT_EQ(frame->PromptPaneText().toStdString(), "出力領域－ドラッグして領域指定");
    const int renders = frame->View().RenderCount();
    const int w = geo.ClientW();
    const int h = geo.ClientH();
    Mouse(Viewport(), QEvent::MouseButtonPress, w * 3 / 10, h / 10, Qt::LeftButton);
    for (int k = 1; k <= 10; ++k) {
        Mouse(Viewport(), QEvent::MouseMove, w * 3 / 10 + k * w / 25, h / 10 + k * h / 14, Qt::NoButton);
    }
    Mouse(Viewport(), QEvent::MouseButtonRelease, w * 7 / 10, h * 8 / 10, Qt::LeftButton);
    EXPECT_EQ(frame->View().RenderCount(), renders);
    ASSERT_TRUE(doc().Area().IsSet());
    EXPECT_NE(frame->PositionPaneText().toStdString().find("経度：139゜"), std::string::npos);
    frame->Action(32780)->trigger();  // low-tide lines on
    EXPECT_TRUE(doc().LowTide());

    prompts.file = "bay_area.qsona";
    frame->Action(32776)->trigger();
    prompts.file = "bay_area.dxf";
    prompts.unit = 1;
    prompts.zoneIndex = 8;
    frame->Action(32777)->trigger();
    EXPECT_TRUE(ui.Messages().empty());

    // The area's Q-SONA file reopens in the viewer.
    ASSERT_TRUE(frame->OpenFile("bay_area.qsona"));
    EXPECT_GT(doc().Count(), 50);
    EXPECT_EQ(frame->windowTitle().toStdString(), "Q-SONA領域抽出ﾌﾟﾛｸﾞﾗﾑ - bay_area.qsona");
    // The recent list names it with its folder.
    const std::string reopened = std::filesystem::current_path().string() + "/bay_area.qsona";
    EXPECT_EQ(frame->Recent().Files().front(), reopened);
    EXPECT_EQ(frame->Recent().Files().at(1), bay);
    QSettings s(QSettings::IniFormat, QSettings::UserScope, "Local AppWizard-Generated Applications",
                "Q-SONA領域抽出ﾌﾟﾛｸﾞﾗﾑ");
    EXPECT_EQ(s.value("Recent File List/File1").toString().toStdString(), reopened);

    // The DXF reads back with ezdxf and agrees with PROJ.
    const std::string dxf = test::ReadFile("bay_area.dxf");
    CheckWithEzdxf("bay_area.dxf", bay, 9, "m", Count(dxf, "\r\nPOLYLINE\r\n"), Count(dxf, "\r\nVERTEX\r\n"));

    // A look at the window for the record.
    frame->grab().save(QString::fromStdString(std::string(WAVORA_BINARY_DIR) + "/reliefscope_frame.png"));
}

TEST_F(FrameFixture, ARefusedFileKeepsThePictureAndLeavesTheRecentList)
{
    const std::string bay = test::SourceFile("examples/smallbay/SMALLBAY.DAT");
    ASSERT_TRUE(frame->OpenFile(bay));
    test::WriteFile("one_line.qsona", "just one line\r\n");
    ASSERT_TRUE(frame->OpenFile("one_line.qsona") == false);
    EXPECT_EQ(frame->windowTitle().toStdString(), "Q-SONA領域抽出ﾌﾟﾛｸﾞﾗﾑ - SMALLBAY.DAT");
    EXPECT_EQ(ui.Messages().size(), 1u);
    for (const std::string& f : frame->Recent().Files()) {
        EXPECT_NE(f, "one_line.qsona");
    }
}

}  // namespace
}  // namespace wv

#include "platform/qt/dialog_host.h"

#include <QComboBox>
#include <QRadioButton>

namespace wv {
namespace {

TEST(ReliefscopeDialogs, TheDxfDialogShowsTheZonesAndTheUnits)
{
    App();
    CDxfOutputDlg dlg;
    dlg.m_nUnit = 0;
    dlg.m_nZoneIndex = 0;
    DialogHost host(dlg);
    host.show();
    QApplication::processEvents();
    auto* zones = qobject_cast<QComboBox*>(host.Control(CDxfOutputDlg::IDC_ZONE));
    ASSERT_NE(zones, nullptr);
    ASSERT_EQ(zones->count(), 19);
    EXPECT_EQ(zones->itemText(13).toStdString(), "ⅩⅣ");
    EXPECT_EQ(zones->currentIndex(), 0);
    auto* mm = qobject_cast<QRadioButton*>(host.Control(CDxfOutputDlg::IDC_UNIT_MM));
    ASSERT_NE(mm, nullptr);
    EXPECT_TRUE(mm->isChecked());
    EXPECT_EQ(host.windowTitle().toStdString(), "DXF出力ﾀﾞｲｱﾛｸﾞ");
    host.grab().save(QString::fromStdString(std::string(WAVORA_BINARY_DIR) + "/reliefscope_dxf_dialog.png"));

    CAboutDlg about("1.0");
    DialogHost aboutHost(about);
    aboutHost.show();
    QApplication::processEvents();
    aboutHost.grab().save(QString::fromStdString(std::string(WAVORA_BINARY_DIR) + "/reliefscope_about.png"));
}

}  // namespace
}  // namespace wv
