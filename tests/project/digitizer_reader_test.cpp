// The project view's reading, end to end: the test plays the tablet on a pty, the reader
// opens the slave from the settings and changes the terrain tables through a double of
// the view.
#include "digitizer_test_util.h"
#include "full_tables.h"

#include "core/line.h"
#include "core/sokuten.h"
#include "core/tik_inf.h"
#include "project/digi_read_set_dlg.h"

namespace wv {
namespace {

using test::PtyTablet;
using test::TestLoop;
using test::ViewDouble;
using namespace std::string_literals;

class DigitizerReading : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tablet.Ok());
        SerialSettings s;
        s.device = tablet.Path();
        StoreDigitizerSettings(profile, s);
        SetDigitizerProfile(&profile);
        g_surveyPoints.RemoveAll();
        g_lines.RemoveAll();
        g_tikInf.Init();
        g_digiCalib = CDigi_Inf();
    }
    void TearDown() override {
        reader.reset();
        g_digitizerPort.Close();
        SetDigitizerProfile(nullptr);
    }
    // Sends records and runs the view's thread until the tables hold what is expected.
    bool Read(const std::string& bytes, int points, int lines) {
        tablet.Send(bytes);
        return loop.RunUntil(
            [&] { return g_surveyPoints.GetCount() == points && g_lines.GetCount() == lines; });
    }
    bool ReadUntilStopped(const std::string& bytes) {
        tablet.Send(bytes);
        return loop.RunUntil([&] { return !reader->IsRunning(); });
    }
    CPointD Pos(int slot) { return g_surveyPoints.GetAt(slot).GetPos(); }

    PtyTablet tablet;
    MemoryProfile profile;
    ScriptedUi ui;
    ScopedUi scoped{&ui};
    TestLoop loop;
    ViewDouble view;
    std::unique_ptr<CDigitizerReader> reader = std::make_unique<CDigitizerReader>(view, loop.Poster());
};

TEST_F(DigitizerReading, PointReadingWithDefaultCalibration) {
    reader->OnReadPoints();
    EXPECT_EQ(view.mode, CDigitizerReader::kModePointReading);
    ASSERT_TRUE(reader->IsRunning());
    EXPECT_EQ(tablet.Received(), ":P");
    ASSERT_TRUE(Read("1000.0,2000.0,1\r\n", 1, 0));
    EXPECT_EQ(Pos(0).m_dX, 100.0);
    EXPECT_EQ(Pos(0).m_dY, 200.0);
    EXPECT_EQ(g_surveyPoints.GetAt(0).GetId(), 0);
    EXPECT_GE(view.modified, 1);
    EXPECT_GE(view.redraws, 1);
    // Within the tablet tolerance (1 mm of paper = 1 m here) the point is reused.
    ASSERT_TRUE(Read("1005.0,2005.0,1\r\n3000.0,2000.0,1\r\n", 2, 0));
    // Any other button ends a point reading.
    ASSERT_TRUE(ReadUntilStopped("0.0,0.0,2\r\n"));
    EXPECT_EQ(view.mode, 0);
    EXPECT_FALSE(reader->WatcherExists());
    EXPECT_EQ(g_surveyPoints.GetCount(), 2);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(DigitizerReading, CalibratedReadingLandsOnItsWorldPoint) {
    g_digiCalib.Set({1000, 2000}, {500, 700}, 90.0, 500);
    reader->OnReadPoints();
    ASSERT_TRUE(Read("500.0,700.0,1\r\n1500.0,700.0,1\r\n", 2, 0));
    EXPECT_EQ(Pos(0).m_dX, 1000.0);
    EXPECT_EQ(Pos(0).m_dY, 2000.0);
    // 1000 units of 0.1 mm at 1:500 are 50 m, turned from the tablet's x onto the world's y.
    EXPECT_NEAR(Pos(1).m_dX, 1000.0, 1e-9);
    EXPECT_NEAR(Pos(1).m_dY, 2050.0, 1e-9);
}

TEST_F(DigitizerReading, ClosedSquareGivesFourPointsAndFourLines) {
    reader->OnReadLines();
    EXPECT_EQ(view.mode, CDigitizerReader::kModeLineReading);
    // The closing reading is 0.5 mm of paper from the first corner: within the tolerance.
    ASSERT_TRUE(Read("0,0,1\r\n1000,0,1\r\n1000,1000,1\r\n0,1000,1\r\n5,3,1\r\n", 4, 4));
    for (int i = 0; i < 4; ++i) {
        const CLineZokusei l = g_lines.GetAt(i);
        EXPECT_EQ(l.GetKind(), kLineUndefined);
        EXPECT_EQ(l.GetState(), 0);
        EXPECT_LT(l.GetStartIndex(), l.GetEndIndex());
    }
    EXPECT_EQ(g_lines.GetAt(3).GetStartIndex(), 0);
    EXPECT_EQ(g_lines.GetAt(3).GetEndIndex(), 3);
    EXPECT_EQ(Pos(0).m_dX, 0.0);
    EXPECT_EQ(reader->PrevPoint(), 0);
    // Going round again adds nothing: every side exists.
    ASSERT_TRUE(Read("1000,0,1\r\n1000,1000,1\r\n", 4, 4));
    loop.RunFor(250);
    EXPECT_EQ(g_lines.GetCount(), 4);
}

TEST_F(DigitizerReading, LineReadingRules) {
    reader->OnReadLines();
    // The same place twice: one point, no line.
    ASSERT_TRUE(Read("100,100,1\r\n100,100,1\r\n", 1, 0));
    loop.RunFor(250);
    EXPECT_EQ(g_lines.GetCount(), 0);
    ASSERT_TRUE(Read("2000,100,1\r\n", 2, 1));
    // A button other than 1 ends the chain; the reading goes on.
    tablet.Send("0.0,0.0,3\r\n");
    ASSERT_TRUE(loop.RunUntil([&] { return reader->PrevPoint() == -1; }));
    EXPECT_TRUE(reader->IsRunning());
    // The next reading starts a new chain instead of joining the old end.
    ASSERT_TRUE(Read("5000,5000,1\r\n", 3, 1));
    ASSERT_TRUE(Read("9000,5000,1\r\n", 4, 2));
    // The view's right click ends the chain too.
    reader->EndChain();
    ASSERT_TRUE(Read("9000,9000,1\r\n", 5, 2));
    // "点読取" during line reading only switches the mode: the port is not opened again.
    tablet.Received(100);
    reader->OnReadPoints();
    EXPECT_EQ(reader->Mode(), CDigitizerReader::kReadPoints);
    EXPECT_EQ(view.mode, CDigitizerReader::kModePointReading);
    EXPECT_EQ(tablet.Received(200), "");
    ASSERT_TRUE(Read("1000,9000,1\r\n", 6, 2));
    // Without a chain, another button stops the reading.
    reader->OnReadLines();
    ASSERT_TRUE(ReadUntilStopped("0.0,0.0,0\r\n"));
    EXPECT_EQ(view.mode, 0);
    EXPECT_FALSE(reader->WatcherExists());
    EXPECT_EQ(g_surveyPoints.GetCount(), 6);
}

TEST_F(DigitizerReading, FullTablesDropTheReadingWhole) {
    reader->OnReadLines();
    // Default calibration: a tenth of the tablet's units, in metres.
    reader->TakeRecord({100, 100, 1});
    ASSERT_EQ(g_surveyPoints.GetCount(), 1);
    test::FillLines(g_lines);
    // A reading that would end a line: neither the point nor the line.
    reader->TakeRecord({2000, 100, 1});
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "線分の登録数は上限値(4195000)に達しています。");
    EXPECT_EQ(ui.Messages()[0].caption, "ｴﾗｰ");
    EXPECT_EQ(g_surveyPoints.GetCount(), 1);
    EXPECT_EQ(reader->PrevPoint(), 0);

    // Points full: a new place is refused, an existing point still starts a chain.
    g_lines.RemoveAll();
    test::FillPoints(g_surveyPoints);
    reader->EndChain();
    reader->TakeRecord({3000, 3000, 1});
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[1].text, "測点の登録数は上限値(4195000)に達しています。");
    EXPECT_EQ(reader->PrevPoint(), -1);
    EXPECT_EQ(g_surveyPoints.HitTest(300, 300, 1.0), -1);
    reader->TakeRecord({100, 100, 1});
    EXPECT_EQ(reader->PrevPoint(), 0);
    EXPECT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(g_surveyPoints.GetCount(), kMaxTableSlots);
}

TEST_F(DigitizerReading, FramingThroughThePort) {
    reader->OnReadPoints();
    // A record written in two parts with a pause longer than the watcher's settling time.
    tablet.Send("1000.0,20");
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    ASSERT_TRUE(Read("00.0,1\r\n", 1, 0));
    // Two records in one write.
    ASSERT_TRUE(Read("3000.0,2000.0,1\r\n5000.0,2000.0,1\r\n", 3, 0));
    // Noise: no point, and the next good record is taken.
    const std::string noise = "abc\r\n1000.0,2000.0\r\n\0\0\0\0\0\0\0\0\0\0\r\n"s + std::string(1500, '9') + "\r\n";
    ASSERT_TRUE(Read(noise + "7000.0,2000.0,1\r\n", 4, 0));
    EXPECT_EQ(Pos(3).m_dX, 700.0);
}

TEST_F(DigitizerReading, LostPortEndsTheReadingOnceAndKeepsThePoints) {
    reader->OnReadLines();
    ASSERT_TRUE(Read("0,0,1\r\n1000,0,1\r\n", 2, 1));
    tablet.CloseMaster();
    ASSERT_TRUE(loop.RunUntil([&] { return !reader->IsRunning(); }));
    loop.RunFor(300);
    const auto messages = ui.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "通信エラー");
    EXPECT_EQ(messages[0].text, "デジタイザとの接続が切れました。");
    EXPECT_FALSE(reader->WatcherExists());
    EXPECT_EQ(view.mode, 0);
    EXPECT_EQ(g_surveyPoints.GetCount(), 2);
    EXPECT_EQ(g_lines.GetCount(), 1);
}

TEST_F(DigitizerReading, FailedOpenStartsNoWatcherAndTheNextCommandRetries) {
    SerialSettings s;
    s.device = "/dev/no-such-tablet";
    StoreDigitizerSettings(profile, s);
    reader->OnReadPoints();
    EXPECT_FALSE(reader->IsRunning());
    EXPECT_FALSE(reader->WatcherExists());
    EXPECT_EQ(view.mode, 0);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "ポートオープンエラー");
    s.device = tablet.Path();
    StoreDigitizerSettings(profile, s);
    reader->OnReadLines();
    EXPECT_TRUE(reader->IsRunning());
    EXPECT_EQ(tablet.Received(), ":P");
}

TEST_F(DigitizerReading, DataQueuedBeforeAStopIsDropped) {
    reader->OnReadPoints();
    tablet.Send("1000.0,2000.0,1\r\n");
    ASSERT_TRUE(loop.WaitPosted());
    reader->StopDigitizer();
    loop.RunFor(300);
    EXPECT_EQ(g_surveyPoints.GetCount(), 0);
    // A stop with nothing running is harmless, and the reader can start again.
    reader->StopDigitizer();
    reader->OnReadPoints();
    ASSERT_TRUE(Read("1000.0,2000.0,1\r\n", 1, 0));
}

TEST_F(DigitizerReading, SetupStopsTheReadingAndStoresTheDialogOnOk) {
    g_digiCalib.Set({1, 2}, {3, 4}, 5.0, 600);
    reader->OnReadLines();
    ASSERT_TRUE(reader->IsRunning());
    view.runDialog = [&](CDigiReadSetDlg& dlg) {
        EXPECT_FALSE(reader->IsRunning());
        EXPECT_EQ(dlg.m_nScale, 600);
        EXPECT_EQ(dlg.m_dWorldX, 1.0);
        dlg.InitDialog();
        dlg.SetText(CDigiReadSetDlg::kWorldX, "10.5");
        dlg.SetText(CDigiReadSetDlg::kScale, "2500");
        dlg.Enter(CDigiReadSetDlg::kWorldX);
        return dlg.Result() == IDOK;
    };
    reader->OnDigitizerSetup();
    EXPECT_EQ(view.dialogs, 1);
    EXPECT_EQ(view.mode, 0);
    EXPECT_EQ(g_digiCalib.m_ptWorld.m_dX, 10.5);
    EXPECT_EQ(g_digiCalib.m_ptWorld.m_dY, 2.0);
    EXPECT_EQ(g_digiCalib.m_nScale, 2500);
    // Cancel keeps the calibration.
    view.runDialog = [](CDigiReadSetDlg& dlg) { return false; };
    view.mode = 1;  // the view's own point input; no reading runs
    reader->OnDigitizerSetup();
    EXPECT_EQ(g_digiCalib.m_nScale, 2500);
    EXPECT_EQ(view.mode, 1);
    reader->OnPortSettings();
    EXPECT_EQ(view.portDialogs, 1);
}

TEST_F(DigitizerReading, DestroyingTheViewStopsAWatcherThatRuns) {
    reader->OnReadPoints();
    tablet.Send("1000.0,2000.0,1\r\n");
    ASSERT_TRUE(loop.WaitPosted());
    reader.reset();
    // The call the watcher posted finds the reader gone and does nothing.
    loop.RunFor(200);
    EXPECT_EQ(g_surveyPoints.GetCount(), 0);
}

}  // namespace
}  // namespace wv
