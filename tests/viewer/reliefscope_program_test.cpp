// Reliefscope as a program: one instance at a time, and the version text at start-up.

#include "viewer/about_dlg.h"
#include "viewer_test_support.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <spawn.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace wv {
namespace {

// Waits for a child to end, for at most about `seconds`; -1 when it is still running.
int WaitExit(pid_t pid, int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        int status = 0;
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
}

pid_t Start(const std::string& runtime, const std::string& config)
{
    std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + runtime,
                                    "XDG_CONFIG_HOME=" + config, "HOME=" + config};
    // The sanitizer build's options (the leaks that are not ours) hold for the program too.
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name)) env.push_back(std::string(name) + "=" + value);
    }
    std::vector<char*> envp;
    for (std::string& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    char path[] = RELIEFSCOPE_PATH;
    char* argv[] = {path, nullptr};
    pid_t pid = -1;
    EXPECT_EQ(::posix_spawn(&pid, path, nullptr, nullptr, argv, envp.data()), 0);
    return pid;
}

TEST(ReliefscopeProgram, ASecondStartEndsAtOnceWhileTheFirstRuns)
{
    const std::string here = std::filesystem::current_path().string();
    const std::string runtime = here + "/runtime";
    std::filesystem::create_directories(runtime);
    ::chmod(runtime.c_str(), 0700);
    test::WriteFile("SYSVER.DAT", "1.0\r\n");  // no message box to wait on

    const pid_t first = Start(runtime, here + "/config");
    ASSERT_GT(first, 0);
    const std::string lock = runtime + "/Reliefscope.lock";
    for (int i = 0; i < 400 && !FileExists(lock); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(FileExists(lock)) << "the first instance never took its lock";

    const pid_t second = Start(runtime, here + "/config");
    ASSERT_GT(second, 0);
    const int code = WaitExit(second, 30);
    ::kill(first, SIGTERM);
    WaitExit(first, 30);
    EXPECT_EQ(code, 0);
}

TEST(ReliefscopeProgram, AMissingVersionFileIsSaidOnceAndTheAboutBoxShowsNoVersion)
{
    ScriptedUi ui;
    ScopedUi scope(&ui);
    std::filesystem::create_directories("nover");
    const std::string version = LoadVersionText("nover/");
    EXPECT_EQ(version, "");
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "ﾊﾞｰｼﾞｮﾝが読み込めませんでした。");
    EXPECT_EQ(ui.Messages()[0].caption, "SYSVER");
    CAboutDlg empty(version);
    EXPECT_EQ(empty.GetText(CAboutDlg::IDC_VERSION), "ﾊﾞｰｼﾞｮﾝ ");

    ui.Clear();
    test::WriteFile("SYSVER.DAT", "\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93 2.1\r\nsecond line\r\n");
    CAboutDlg about(LoadVersionText("./"));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(about.GetText(CAboutDlg::IDC_VERSION), "ﾊﾞｰｼﾞｮﾝ バージョン 2.1");
}

TEST(ReliefscopeProgram, FourRecentFilesNewestFirst)
{
    RecentFiles r;
    r.Set({"/d/a", "", "/d/b", "/d/a", "/d/c", "/d/d", "/d/e"});
    EXPECT_EQ(r.Files(), (std::vector<std::string>{"/d/a", "/d/b", "/d/c", "/d/d"}));
    r.Add("/d/c");
    EXPECT_EQ(r.Files(), (std::vector<std::string>{"/d/c", "/d/a", "/d/b", "/d/d"}));
    r.Add("/d/x");
    EXPECT_EQ(r.Files(), (std::vector<std::string>{"/d/x", "/d/c", "/d/a", "/d/b"}));
    r.Remove("/d/a");
    EXPECT_EQ(r.Files(), (std::vector<std::string>{"/d/x", "/d/c", "/d/b"}));
}

TEST(ReliefscopeProgram, TheDxfDialogExchangesUnitAndZoneByIndex)
{
    CDxfOutputDlg dlg;
    EXPECT_EQ(dlg.m_nUnit, -1);
    EXPECT_EQ(dlg.m_nZoneIndex, -1);
    EXPECT_EQ(dlg.Caption(), "DXF出力ﾀﾞｲｱﾛｸﾞ");
    dlg.m_nUnit = 0;
    dlg.m_nZoneIndex = 0;
    dlg.InitDialog();
    EXPECT_EQ(dlg.GetCheck(CDxfOutputDlg::IDC_UNIT_MM), 1);
    EXPECT_EQ(dlg.GetIndex(CDxfOutputDlg::IDC_ZONE), 0);
    EXPECT_EQ(dlg.Find(CDxfOutputDlg::IDC_ZONE)->items, CDxfOutputDlg::ZoneItems());
    dlg.Click(CDxfOutputDlg::IDC_UNIT_M);
    dlg.ListChanged(CDxfOutputDlg::IDC_ZONE, 18);
    dlg.Click(IDOK);
    EXPECT_EQ(dlg.Result(), IDOK);
    EXPECT_EQ(dlg.Unit(), DxfUnit::Metres);
    EXPECT_EQ(dlg.Zone(), 19);
}

}  // namespace
}  // namespace wv
