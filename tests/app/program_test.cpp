// The Wavora program itself, started as a user starts it: one instance, the updater at
// start-up, and its files under a locale that writes decimal commas.
#include "app_test_util.h"
#include "platform/process.h"
#include "platform/qt/single_instance.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sys/stat.h>

namespace wv {
namespace {

using apptest::Bytes;
using apptest::Here;
using apptest::WriteFile;
namespace fs = std::filesystem;

class Program : public ::testing::Test {
protected:
    void SetUp() override {
        // Settings, locks and working files of the program stay in the scratch folder.
        runtime = Here() + "/runtime";
        config = Here() + "/config";
        start = Here() + "/start";
        fs::create_directories(runtime);
        ::chmod(runtime.c_str(), 0700);
        fs::create_directories(config);
        fs::create_directories(start);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        WriteFile(start + "/SYSVER.DAT", "V1.2\r\n");
    }
    void TearDown() override {
        ::unsetenv("XDG_RUNTIME_DIR");
        ::unsetenv("XDG_CONFIG_HOME");
    }
    // Runs a program of the build in the start folder; a program that does not end in
    // time is stopped and gives 124.
    int Run(const std::string& program, std::vector<std::string> args = {}) {
        std::vector<std::string> argv = {"timeout", "60", std::string(WAVORA_BIN_DIR) + "/" + program};
        argv.insert(argv.end(), args.begin(), args.end());
        std::string err;
        return RunProgramAndWait("/usr/bin/timeout", argv, start, &err);
    }
    std::string runtime, config, start;
};

TEST_F(Program, SecondInstanceExitsAtOnce) {
    SingleInstanceLock running;
    ASSERT_TRUE(running.TryLock("Wavora"));
    EXPECT_EQ(Run("Wavora"), 0);
    EXPECT_FALSE(fs::exists(start + "/CALC.DAT")) << "it ended before doing anything";
}

TEST_F(Program, UpdaterExitCodeThreeEndsStartUpBeforeTheWindow) {
    WriteFile(config + "/KTR Applications/Wavora.ini", "[Settings]\nVerCheckFlag=1\n");
    WriteFile(start + "/Selfpatch", "#!/bin/sh\ntouch updater-ran\nexit 3\n");
    ::chmod((start + "/Selfpatch").c_str(), 0755);
    EXPECT_EQ(Run("Wavora"), 0);
    EXPECT_TRUE(fs::exists(start + "/updater-ran"));
    EXPECT_FALSE(fs::exists(start + "/PARAINI.DAT")) << "no main frame was made";
    EXPECT_FALSE(fs::exists(start + "/CALC.DAT"));
}

TEST_F(Program, DefaultsFileKeepsDecimalPointsUnderAGermanLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the locale de_DE.UTF-8 is missing: scripts/install-deps.sh generates it";
    std::setlocale(LC_ALL, "C");
    const std::string bay = apptest::CopyBay(Here() + "/BAY");
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    const int code = Run("wavora_screenshot", {bay + "/BAY.TIK", "BAY1.TYD", Here() + "/shot.png"});
    ::unsetenv("LC_ALL");
    EXPECT_NE(code, 124) << "the scripted run ended";
    const std::string defaults = Bytes(start + "/PARAINI.DAT");
    ASSERT_NE(defaults, "<missing>");
    // Fields are separated by commas; a real number has six decimals after a point,
    // never after a comma.
    EXPECT_TRUE(std::regex_search(defaults, std::regex("[0-9]\\.[0-9]{6}"))) << defaults;
    EXPECT_FALSE(std::regex_search(defaults, std::regex(",[0-9]{6}(,|\r)"))) << defaults;
    // The settings file: the recent project under the registry's section and key.
    const std::string ini = Bytes(config + "/KTR Applications/Wavora.ini");
    EXPECT_NE(ini.find("[Recent%20File%20List]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("BAY.TIK"), std::string::npos) << ini;
}

}  // namespace
}  // namespace wv
