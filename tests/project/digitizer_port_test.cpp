// The tablet's port: opening it from the settings, what goes out, exclusivity, the
// watcher on a live and on a dead port.
#include "digitizer_test_util.h"

#include "platform/serial_port.h"
#include "platform/serial_watcher.h"
#include "project/digitizer_port.h"

#include <filesystem>
#include <fstream>

namespace wv {
namespace {

using test::PtyTablet;
using test::TestLoop;

class DigitizerPort : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tablet.Ok());
        SerialSettings s;
        s.device = tablet.Path();
        StoreDigitizerSettings(profile, s);
        SetDigitizerProfile(&profile);
    }
    void TearDown() override {
        g_digitizerPort.Close();
        SetDigitizerProfile(nullptr);
    }
    std::vector<std::string> Messages() {
        std::vector<std::string> out;
        for (const auto& m : ui.Messages()) out.push_back(m.caption + "|" + m.text);
        return out;
    }

    PtyTablet tablet;
    MemoryProfile profile;
    ScriptedUi ui;
    ScopedUi scoped{&ui};
};

TEST_F(DigitizerPort, OpenSendsColonThenPAndTheLineIsRaw) {
    ASSERT_EQ(OpenDigitizerPort(), 1);
    EXPECT_EQ(tablet.Received(), ":P");
    // An empty line is "nothing yet", never mistaken for a hang-up.
    std::string none;
    EXPECT_EQ(g_digitizerPort.ReadAvailable(none), SerialReadResult::Nothing);
    // Nothing the tablet sends comes back to it: no echo, no translation.
    tablet.Send("1000.0,2000.0,1\r\n");
    EXPECT_EQ(tablet.Received(200), "");
    std::string got;
    for (int i = 0; i < 50 && got.size() < 17; ++i) {
        g_digitizerPort.ReadAvailable(got);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(got, "1000.0,2000.0,1\r\n");
    EXPECT_TRUE(Messages().empty());
    tablet.CloseMaster();
    EXPECT_EQ(g_digitizerPort.ReadAvailable(none), SerialReadResult::Lost);
}

TEST_F(DigitizerPort, OpenFailuresAreReportedAndLeaveNoPort) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        const char* message;
    };
    SerialPort holder;
    const Case cases[] = {
        {"missing path",
         [&] {
             SerialSettings s;
             s.device = "/dev/no-such-tablet";
             StoreDigitizerSettings(profile, s);
         },
         "通信エラー|ポートオープンエラー"},
        {"not a terminal",
         [&] {
             std::ofstream("plain.txt") << "x";
             SerialSettings s;
             s.device = std::filesystem::absolute("plain.txt").string();
             StoreDigitizerSettings(profile, s);
         },
         "通信エラー|ポートオープンエラー"},
        {"held by another open",
         [&] {
             SerialSettings s;
             s.device = tablet.Path();
             ASSERT_EQ(holder.Open(s), SerialOpenResult::Ok);
         },
         "通信エラー|ポートオープンエラー"},
        {"line settings the driver cannot take",
         [&] {
             holder.Close();
             SerialSettings s;
             s.device = tablet.Path();
             s.baudRate = 12345;
             StoreDigitizerSettings(profile, s);
         },
         "通信エラー|ポート設定更新失敗.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.Clear();
        c.arrange();
        EXPECT_EQ(OpenDigitizerPort(), 0);
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
    }
    // Nothing was written to the tablet by any of them.
    EXPECT_EQ(tablet.Received(100), "");
}

TEST_F(DigitizerPort, SettingsKeepTheirDefaultsAndRoundTrip) {
    const SerialSettings defaults = LoadDigitizerSettings(nullptr);
    EXPECT_EQ(defaults.device, "/dev/ttyS0");
    EXPECT_EQ(defaults.baudRate, 9600);
    EXPECT_EQ(defaults.dataBits, 8);
    EXPECT_EQ(defaults.parity, 'N');
    EXPECT_EQ(defaults.stopBits, 1);
    EXPECT_EQ(defaults.flowControl, 0);
    MemoryProfile empty;
    EXPECT_EQ(LoadDigitizerSettings(&empty), defaults);
    SerialSettings s{"/dev/serial/by-id/usb-Tablet-if00", 19200, 7, 'E', 2, 2};
    StoreDigitizerSettings(empty, s);
    EXPECT_EQ(LoadDigitizerSettings(&empty), s);
    EXPECT_EQ(empty.GetProfileString("Digitizer", "Port"), "/dev/serial/by-id/usb-Tablet-if00");
}

TEST_F(DigitizerPort, EveryLineSettingOfTheDialogIsAccepted) {
    for (int bits = 5; bits <= 8; ++bits)
        for (char parity : {'N', 'O', 'E'})
            for (int stop : {1, 2})
                for (int flow : {0, 1, 2}) {
                    SerialSettings s{tablet.Path(), 4800, bits, parity, stop, flow};
                    SerialPort port;
                    EXPECT_EQ(port.Open(s), SerialOpenResult::Ok) << bits << parity << stop << flow;
                }
}

TEST(SerialDevices, StableNamesFirstThenKernelNamesInNaturalOrder) {
    namespace fs = std::filesystem;
    const fs::path root = fs::absolute("fakedev");
    fs::create_directories(root / "serial/by-id");
    for (const char* n : {"ttyS10", "ttyS2", "ttyUSB0", "ttyACM1", "tty", "ttyX1", "tty1", "null"})
        std::ofstream(root / n);
    for (const char* n : {"usb-Wacom-if00", "usb-Calcomp-if00"}) std::ofstream(root / "serial/by-id" / n);
    const std::vector<std::string> expect = {
        (root / "serial/by-id/usb-Calcomp-if00").string(), (root / "serial/by-id/usb-Wacom-if00").string(),
        (root / "ttyACM1").string(), (root / "ttyS2").string(), (root / "ttyS10").string(),
        (root / "ttyUSB0").string()};
    EXPECT_EQ(ListSerialDevices(root.string()), expect);
    EXPECT_TRUE(ListSerialDevices((root / "none").string()).empty());
}

TEST_F(DigitizerPort, WatcherEndsOnceWhenThePortDies) {
    ASSERT_EQ(OpenDigitizerPort(), 1);
    SerialInbox inbox;
    SerialWatcher watcher;
    TestLoop loop;
    int posts = 0;
    ASSERT_TRUE(watcher.Start(g_digitizerPort, inbox, [&, post = loop.Poster()] { post([&] { ++posts; }); }));
    tablet.Send("1.0,2.0,1\r\n");
    tablet.CloseMaster();
    ASSERT_TRUE(loop.RunUntil([&] { return watcher.Ended(); }));
    loop.RunFor(300);
    std::string bytes;
    bool lost = false;
    inbox.Take(bytes, lost);
    EXPECT_TRUE(lost);
    // A hang-up may take unread input with it; whatever did arrive is handed over whole.
    EXPECT_TRUE(bytes.empty() || bytes == "1.0,2.0,1\r\n");
    EXPECT_LE(posts, 2);
    watcher.Stop();
    // No watcher starts on a closed port.
    g_digitizerPort.Close();
    EXPECT_FALSE(watcher.Start(g_digitizerPort, inbox, [] {}));
    EXPECT_FALSE(watcher.Exists());
}

}  // namespace
}  // namespace wv
