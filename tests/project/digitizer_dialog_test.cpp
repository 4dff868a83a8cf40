// The reading-settings dialog with the tablet on a pty, and the port-settings dialog.
#include "digitizer_test_util.h"

#include "project/digi_read_set_dlg.h"
#include "project/serial_port_dlg.h"

namespace wv {
namespace {

using test::PtyTablet;
using test::TestLoop;

class ReadSetDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tablet.Ok());
        SerialSettings s;
        s.device = tablet.Path();
        StoreDigitizerSettings(profile, s);
        SetDigitizerProfile(&profile);
        dlg.LoadFrom(calib);
        dlg.InitDialog();
    }
    void TearDown() override {
        g_digitizerPort.Close();
        SetDigitizerProfile(nullptr);
    }
    bool ReadUntilIdle(const std::string& bytes) {
        tablet.Send(bytes);
        return loop.RunUntil([&] { return !dlg.ReadingRuns(); });
    }

    PtyTablet tablet;
    MemoryProfile profile;
    ScriptedUi ui;
    ScopedUi scoped{&ui};
    TestLoop loop;
    CDigi_Inf calib;
    CDigiReadSetDlg dlg{loop.Poster()};
};

TEST_F(ReadSetDialog, StartsIdleWithTheWorldPointInMillimetres) {
    calib.Set({12.34567, -8}, {55, 66}, 33.0, 2000);
    CDigiReadSetDlg d(loop.Poster());
    d.LoadFrom(calib);
    d.InitDialog();
    EXPECT_EQ(d.GetText(CDigiReadSetDlg::kWorldX), "12.346");
    EXPECT_EQ(d.GetText(CDigiReadSetDlg::kWorldY), "-8.000");
    EXPECT_EQ(d.GetText(CDigiReadSetDlg::kScale), "2000");
    EXPECT_EQ(d.GetText(CDigiReadSetDlg::kStatus), "アイドル中・・・");
    // A calibration starts afresh: the old tablet readings are not kept.
    EXPECT_EQ(d.m_ptTablet.m_dX, 0.0);
    EXPECT_EQ(d.m_dAngle, 0.0);
    EXPECT_EQ(d.Step(), CDigiReadSetDlg::kStepNone);
    EXPECT_FALSE(d.ReadingRuns());
}

TEST_F(ReadSetDialog, FocusLossRoundsToMillimetres) {
    const std::pair<const char*, const char*> cases[] = {
        {"1234.56789", "1234.568"}, {"-0.0004", "-0.000"}, {"abc", "0.000"}, {"1e999", "0.000"}, {" 7", "7.000"}};
    for (const auto& [typed, shown] : cases) {
        SCOPED_TRACE(typed);
        dlg.SetText(CDigiReadSetDlg::kWorldY, typed);
        dlg.FocusOut(CDigiReadSetDlg::kWorldY);
        EXPECT_EQ(dlg.GetText(CDigiReadSetDlg::kWorldY), shown);
    }
    dlg.SetText(CDigiReadSetDlg::kWorldX, "0.0015");
    dlg.FocusOut(CDigiReadSetDlg::kWorldX);
    EXPECT_EQ(dlg.m_dWorldX, 0.002);
}

TEST_F(ReadSetDialog, ReferencePointStep) {
    dlg.Click(CDigiReadSetDlg::kReadReference);
    EXPECT_EQ(tablet.Received(), ":P");
    EXPECT_EQ(dlg.Step(), CDigiReadSetDlg::kStepReference);
    EXPECT_EQ(dlg.GetText(CDigiReadSetDlg::kStatus), "原点指定－デジタイザ入力待ち・・・");
    ASSERT_TRUE(ReadUntilIdle("1234.5,678.0,1\r\n"));
    EXPECT_EQ(dlg.m_ptTablet.m_dX, 1234.5);
    EXPECT_EQ(dlg.m_ptTablet.m_dY, 678.0);
    EXPECT_EQ(dlg.Step(), CDigiReadSetDlg::kStepNone);
    EXPECT_EQ(dlg.GetText(CDigiReadSetDlg::kStatus), "アイドル中・・・");
}

TEST_F(ReadSetDialog, ReferenceLineAngles) {
    struct Case {
        const char* records;
        double angle;
    };
    const Case cases[] = {{"100,500,1\r\n900,500,1\r\n", 0.0}, {"900,500,1\r\n100,500,1\r\n", 180.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.records);
        dlg.Click(CDigiReadSetDlg::kReadLine);
        EXPECT_EQ(dlg.Step(), CDigiReadSetDlg::kStepLeft);
        EXPECT_EQ(dlg.GetText(CDigiReadSetDlg::kStatus), "水平基準左端点指定－デジタイザ入力待ち・・・");
        ASSERT_TRUE(ReadUntilIdle(c.records));
        EXPECT_NEAR(dlg.m_dAngle, c.angle, 1e-12);
        EXPECT_EQ(dlg.GetText(CDigiReadSetDlg::kStatus), "アイドル中・・・");
    }
    // Between the two ends the dialog asks for the right one.
    dlg.Click(CDigiReadSetDlg::kReadLine);
    tablet.Send("100,500,1\r\n");
    ASSERT_TRUE(loop.RunUntil([&] { return dlg.Step() == CDigiReadSetDlg::kStepRight; }));
    EXPECT_EQ(dlg.GetText(CDigiReadSetDlg::kStatus), "水平基準右端点指定－デジタイザ入力待ち・・・");
    // Another button gives up.
    ASSERT_TRUE(ReadUntilIdle("0.0,0.0,4\r\n"));
    EXPECT_EQ(dlg.Step(), CDigiReadSetDlg::kStepNone);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ReadSetDialog, ButtonsDuringAReadingOnlyChangeTheStep) {
    dlg.Click(CDigiReadSetDlg::kReadLine);
    EXPECT_EQ(tablet.Received(), ":P");
    dlg.Click(CDigiReadSetDlg::kReadReference);
    EXPECT_EQ(dlg.Step(), CDigiReadSetDlg::kStepReference);
    // The port was not opened again under the running watcher.
    EXPECT_EQ(tablet.Received(200), "");
    ASSERT_TRUE(ReadUntilIdle("11,22,1\r\n"));
    EXPECT_EQ(dlg.m_ptTablet.m_dX, 11.0);
}

TEST_F(ReadSetDialog, OkStoresAndRefusesAScaleBelowOne) {
    dlg.Click(CDigiReadSetDlg::kReadReference);
    ASSERT_TRUE(ReadUntilIdle("40,50,1\r\n"));
    dlg.SetText(CDigiReadSetDlg::kScale, "0");
    dlg.Click(IDOK);
    EXPECT_EQ(dlg.Result(), 0);
    ASSERT_EQ(dlg.Messages().size(), 1u);
    EXPECT_EQ(dlg.Messages()[0].text, "1 から 2147483647 までの整数を入力してください。");
    // The button that reads also takes the values first, and refuses the same way.
    dlg.Click(CDigiReadSetDlg::kReadReference);
    EXPECT_FALSE(dlg.ReadingRuns());
    dlg.SetText(CDigiReadSetDlg::kScale, "250");
    dlg.SetText(CDigiReadSetDlg::kWorldX, "-5");
    dlg.Click(IDOK);
    EXPECT_EQ(dlg.Result(), IDOK);
    CDigi_Inf out;
    dlg.StoreTo(out);
    EXPECT_EQ(out.m_nScale, 250);
    EXPECT_EQ(out.m_ptWorld.m_dX, -5.0);
    EXPECT_EQ(out.m_ptTablet.m_dX, 40.0);
    EXPECT_EQ(out.m_ptTablet.m_dY, 50.0);
}

TEST_F(ReadSetDialog, LostPortAndClosingWhileReading) {
    dlg.Click(CDigiReadSetDlg::kReadLine);
    tablet.CloseMaster();
    ASSERT_TRUE(loop.RunUntil([&] { return !dlg.ReadingRuns(); }));
    loop.RunFor(200);
    ASSERT_EQ(dlg.Messages().size(), 1u);
    EXPECT_EQ(dlg.Messages()[0].caption, "通信エラー");
    EXPECT_EQ(dlg.GetText(CDigiReadSetDlg::kStatus), "アイドル中・・・");
    EXPECT_EQ(dlg.Step(), CDigiReadSetDlg::kStepNone);
}

TEST_F(ReadSetDialog, CancelStopsARunningReading) {
    dlg.Click(CDigiReadSetDlg::kReadReference);
    ASSERT_TRUE(dlg.ReadingRuns());
    dlg.Escape();
    EXPECT_EQ(dlg.Result(), IDCANCEL);
    EXPECT_FALSE(dlg.ReadingRuns());
    tablet.Send("1,2,1\r\n3,4,1\r\n");
    loop.RunFor(250);
    EXPECT_EQ(dlg.m_ptTablet.m_dX, 0.0);
}

TEST(SerialPortDialog, ShowsTheSettingsAndStoresTheChoice) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    const std::vector<std::string> devices = {"/dev/serial/by-id/usb-Tablet-if00", "/dev/ttyS0", "/dev/ttyUSB0"};
    CSerialPortDlg dlg(SerialSettings{}, devices);
    dlg.InitDialog();
    EXPECT_EQ(dlg.GetText(CSerialPortDlg::kPath), "/dev/ttyS0");
    EXPECT_EQ(dlg.GetIndex(CSerialPortDlg::kDevices), 1);
    EXPECT_EQ(dlg.GetIndex(CSerialPortDlg::kBaud), 6);  // 9600
    EXPECT_EQ(dlg.GetIndex(CSerialPortDlg::kDataBits), 3);
    EXPECT_EQ(dlg.GetIndex(CSerialPortDlg::kParity), 0);
    EXPECT_EQ(dlg.GetIndex(CSerialPortDlg::kStopBits), 0);
    EXPECT_EQ(dlg.GetIndex(CSerialPortDlg::kFlow), 0);
    // Picking a device fills the path; the path as typed is what counts.
    dlg.SetIndex(CSerialPortDlg::kDevices, 0);
    dlg.ListChanged(CSerialPortDlg::kDevices, 0);
    EXPECT_EQ(dlg.GetText(CSerialPortDlg::kPath), devices[0]);
    dlg.SetIndex(CSerialPortDlg::kBaud, 7);
    dlg.SetIndex(CSerialPortDlg::kDataBits, 2);
    dlg.SetIndex(CSerialPortDlg::kParity, 2);
    dlg.SetIndex(CSerialPortDlg::kStopBits, 1);
    dlg.SetIndex(CSerialPortDlg::kFlow, 1);
    for (const char* bad : {"", "   ", "ttyS1"}) {
        dlg.SetText(CSerialPortDlg::kPath, bad);
        dlg.Click(IDOK);
        EXPECT_EQ(dlg.Result(), 0) << bad;
    }
    EXPECT_EQ(dlg.Messages().size(), 3u);
    dlg.SetText(CSerialPortDlg::kPath, " /dev/pts/7 ");
    dlg.Click(IDOK);
    ASSERT_EQ(dlg.Result(), IDOK);
    EXPECT_EQ(dlg.Settings(), (SerialSettings{"/dev/pts/7", 19200, 7, 'E', 2, 1}));
}

TEST(SerialPortDialog, UnknownStoredValuesShowAsDefaults) {
    CSerialPortDlg dlg(SerialSettings{"/dev/typed-by-hand", 12345, 9, 'M', 3, 7}, {});
    dlg.InitDialog();
    EXPECT_EQ(dlg.GetText(CSerialPortDlg::kPath), "/dev/typed-by-hand");
    EXPECT_EQ(dlg.GetIndex(CSerialPortDlg::kDevices), -1);
    dlg.Click(IDOK);
    ASSERT_EQ(dlg.Result(), IDOK);
    EXPECT_EQ(dlg.Settings(), (SerialSettings{"/dev/typed-by-hand", 9600, 8, 'N', 1, 0}));
}

}  // namespace
}  // namespace wv
