// The digitizer's dialogs on widgets: what the user reads, and the tablet's readings
// reaching the open dialog through the GUI thread's queue.
// With WAVORA_SHOT_DIR set, each dialog is also saved there as a PNG to look at.
#include "digitizer_test_util.h"

#include "platform/qt/dialog_host.h"
#include "project/digi_read_set_dlg.h"
#include "project/qt/digitizer_dialogs_qt.h"
#include "project/serial_port_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace wv {
namespace {

using test::PtyTablet;

class DigitizerDialogsQt : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "digitizer_dialogs_qt_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }
    void TearDown() override {
        g_digitizerPort.Close();
        SetDigitizerProfile(nullptr);
    }
    static void Shot(DialogHost& host, const char* name) {
        const char* dir = std::getenv("WAVORA_SHOT_DIR");
        if (!dir) return;
        host.show();
        QApplication::processEvents();
        host.grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
    }
    static void ExpectInside(const DialogHost& host) {
        for (QWidget* w : host.findChildren<QWidget*>()) {
            if (w->parentWidget() != &host || w->objectName().startsWith("qt_")) continue;
            EXPECT_TRUE(host.rect().contains(w->geometry())) << w->objectName().toStdString();
        }
    }
    // Runs the GUI thread's queue until `done` (5 s at most: a failure, not a speed limit).
    static bool PumpUntil(const std::function<bool()>& done) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    MemoryProfile profile;
    ScriptedUi ui;
    ScopedUi scoped{&ui};
};

TEST_F(DigitizerDialogsQt, ReadSetDialogFollowsTheTablet) {
    PtyTablet tablet;
    ASSERT_TRUE(tablet.Ok());
    SerialSettings s;
    s.device = tablet.Path();
    StoreDigitizerSettings(profile, s);
    SetDigitizerProfile(&profile);

    CDigi_Inf calib;
    calib.Set({-1234.5, 98765.4321}, {0, 0}, 0.0, 2500);
    CDigiReadSetDlg dlg(GuiDigitizerPoster());
    dlg.LoadFrom(calib);
    DialogHost host(dlg);
    QPointer<DialogHost> guard(&host);
    dlg.SetChangedCallback([guard] { if (guard) guard->Sync(); });
    EXPECT_EQ(host.windowTitle().toStdString(), "読取設定");
    auto* scale = qobject_cast<QLineEdit*>(host.Control(CDigiReadSetDlg::kScale));
    auto* x = qobject_cast<QLineEdit*>(host.Control(CDigiReadSetDlg::kWorldX));
    auto* status = qobject_cast<QLabel*>(host.Control(CDigiReadSetDlg::kStatus));
    auto* line = qobject_cast<QPushButton*>(host.Control(CDigiReadSetDlg::kReadLine));
    ASSERT_TRUE(scale && x && status && line);
    EXPECT_EQ(scale->text().toStdString(), "2500");
    EXPECT_EQ(x->text().toStdString(), "-1234.500");
    EXPECT_EQ(status->text().toStdString(), "アイドル中・・・");
    EXPECT_EQ(line->text().toStdString(), "水平基準線をデジタイザで指定\n左→右");
    ExpectInside(host);
    Shot(host, "digi_read_set");

    line->click();
    EXPECT_EQ(status->text().toStdString(), "水平基準左端点指定－デジタイザ入力待ち・・・");
    tablet.Send("900.0,500.0,1\r\n");
    ASSERT_TRUE(PumpUntil([&] { return dlg.Step() == CDigiReadSetDlg::kStepRight; }));
    EXPECT_EQ(status->text().toStdString(), "水平基準右端点指定－デジタイザ入力待ち・・・");
    Shot(host, "digi_read_set_reading");
    tablet.Send("100.0,500.0,1\r\n");
    ASSERT_TRUE(PumpUntil([&] { return !dlg.ReadingRuns(); }));
    EXPECT_EQ(status->text().toStdString(), "アイドル中・・・");
    EXPECT_NEAR(dlg.m_dAngle, 180.0, 1e-12);
    host.accept();
    EXPECT_EQ(dlg.Result(), IDOK);
}

TEST_F(DigitizerDialogsQt, PortDialogStoresTheChoice) {
    SerialSettings s;
    s.device = "/dev/ttyUSB3";
    StoreDigitizerSettings(profile, s);
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* host = qobject_cast<DialogHost*>(w);
            if (!host || !host->isVisible()) continue;
            EXPECT_EQ(host->windowTitle().toStdString(), "ｼﾘｱﾙﾎﾟｰﾄ設定");
            ExpectInside(*host);
            Shot(*host, "serial_port");
            auto* baud = qobject_cast<QComboBox*>(host->Control(CSerialPortDlg::kBaud));
            auto* path = qobject_cast<QLineEdit*>(host->Control(CSerialPortDlg::kPath));
            ASSERT_TRUE(baud && path);
            EXPECT_EQ(baud->currentText().toStdString(), "9600");
            EXPECT_EQ(path->text().toStdString(), "/dev/ttyUSB3");
            baud->setCurrentIndex(baud->findText("4800"));
            emit baud->activated(baud->currentIndex());
            path->setText("/dev/serial/by-id/usb-Tablet-if00");
            qobject_cast<QPushButton*>(host->Control(IDOK))->click();
        }
    });
    ASSERT_TRUE(RunSerialPortDialog(profile));
    const SerialSettings stored = LoadDigitizerSettings(&profile);
    EXPECT_EQ(stored.device, "/dev/serial/by-id/usb-Tablet-if00");
    EXPECT_EQ(stored.baudRate, 4800);
    EXPECT_EQ(stored.dataBits, 8);
}

}  // namespace
}  // namespace wv
