// A fresh installation started as a user starts it: `cmake --install` into a prefix with
// a blank in its name, each launcher run with a scratch data, settings and runtime
// folder, and each program's start-up in the work folder the launcher made.
#include "../app/app_test_util.h"
#include "core/command_ids.h"
#include "batch/batch_queue.h"
#include "batch/version_text.h"
#include "platform/process.h"
#include "platform/sysver.h"
#include "platform/ui_service.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace wv {
namespace {

using apptest::Bytes;
using apptest::Here;
using apptest::WriteFile;
namespace fs = std::filesystem;

const std::string kVersionLine = std::string(WAVORA_VERSION) + "\r\n";

// What the launched program looked like once the launcher had handed over to it.
struct Launched {
    bool running = false;     // this installation's program was seen running
    std::string exe;          // the executable the process ran
    std::string cwd;          // its current folder
    std::vector<std::string> argv;
    int exitCode = -1;        // when it ended before: the launcher's exit code
    std::string log;          // what the launcher and the program wrote
};

std::string ReadLink(const std::string& path) {
    std::error_code ec;
    const fs::path target = fs::read_symlink(path, ec);
    return ec ? std::string() : target.string();
}

class FirstStart : public ::testing::Test {
protected:
    void SetUp() override {
        prefix = Here() + "/pre fix";
        runtime = Here() + "/run time";
        fs::create_directories(runtime);
        ::chmod(runtime.c_str(), 0700);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (Here() + "/con fig").c_str(), 1);
        ::setenv("HOME", (Here() + "/ho me").c_str(), 1);
        UseDataHome(Here() + "/da ta");
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        std::string err;
        const int code = RunProgramAndWait(
            WAVORA_CMAKE, {"cmake", "--install", WAVORA_BINARY_DIR, "--prefix", prefix}, "", &err);
        ASSERT_EQ(code, 0) << "cmake --install failed " << err;
    }
    void UseDataHome(const std::string& folder) {
        ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
        work = folder + "/wavora";
    }

    // Runs the installed launcher `name` with `args` and waits until the program it starts
    // runs (or the launcher ends); then stops the program.
    Launched Launch(const std::string& name, const std::string& program, std::vector<std::string> args = {}) {
        Launched out;
        const std::string launcher = prefix + "/bin/" + name;
        const std::string logPath = Here() + "/" + name + ".log";
        std::vector<std::string> argv = {launcher};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> cargv;
        for (std::string& a : argv) cargv.push_back(a.data());
        cargv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        pid_t pid = -1;
        const int rc = ::posix_spawn(&pid, launcher.c_str(), &actions, nullptr, cargv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) {
            out.log = "cannot start " + launcher + ": " + std::strerror(rc);
            return out;
        }

        std::error_code ec;
        const fs::path wanted = fs::weakly_canonical(prefix + "/bin/" + program, ec);
        const std::string proc = "/proc/" + std::to_string(pid);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                out.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                out.log = Bytes(logPath);
                std::fprintf(stderr, "%s ended with %d: %s\n", name.c_str(), out.exitCode, out.log.c_str());
                return out;
            }
            // The kernel names the new executable a moment before the new arguments are
            // in place: both are looked for.
            const std::string exe = ReadLink(proc + "/exe");
            const std::string cmdline = Bytes(proc + "/cmdline");
            if (fs::path(exe).filename() == program && !cmdline.empty() && cmdline != "<missing>") {
                // This installation's program, not one of the same name elsewhere.
                out.running = exe == wanted.string();
                out.exe = exe;
                if (!out.running) out.log = "started " + exe + " in place of " + wanted.string();
                out.cwd = ReadLink(proc + "/cwd");
                std::size_t from = 0;
                for (std::size_t i = 0; i < cmdline.size(); ++i)
                    if (cmdline[i] == '\0') {
                        out.argv.push_back(cmdline.substr(from, i - from));
                        from = i + 1;
                    }
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        out.log += Bytes(logPath);
        if (!out.running) std::fprintf(stderr, "%s: %s\n", name.c_str(), out.log.c_str());
        return out;
    }

    std::string prefix, runtime, work;
};

TEST_F(FirstStart, EachLauncherMakesTheWorkFolderAndStartsItsProgramThere) {
    const struct {
        const char* launcher;
        const char* program;
    } programs[] = {{"wavora", "Wavora"}, {"tydchain", "Tydchain"}, {"reliefscope", "Reliefscope"}};
    int n = 0;
    for (const auto& p : programs) {
        SCOPED_TRACE(p.launcher);
        // Each its own first start.
        UseDataHome(Here() + "/da ta " + std::to_string(++n));
        ASSERT_FALSE(fs::exists(work));
        const Launched l = Launch(p.launcher, p.program);
        ASSERT_TRUE(l.running) << "exit " << l.exitCode << "\n" << l.log;
        EXPECT_EQ(l.cwd, fs::canonical(work).string());
        EXPECT_EQ(Bytes(work + "/SYSVER.DAT"), kVersionLine);
        EXPECT_EQ(Bytes(work + "/CALC.DAT"), "0\r\n");
    }
}

TEST_F(FirstStart, ArgumentsReachTheProgramAsGiven) {
    const std::vector<std::string> args = {"two words", "", "*", "$HOME", "it's"};
    const Launched l = Launch("wavora", "Wavora", args);
    ASSERT_TRUE(l.running) << l.log;
    ASSERT_EQ(l.argv.size(), args.size() + 1);
    EXPECT_EQ(l.argv[0], l.exe);
    for (std::size_t i = 0; i < args.size(); ++i) EXPECT_EQ(l.argv[i + 1], args[i]);
}

TEST_F(FirstStart, ALaterStartKeepsTheUsersFilesAndRestoresAMissingOne) {
    ASSERT_TRUE(Launch("tydchain", "Tydchain").running);
    // An older suite's version line, a file of the user's, and the busy flag gone.
    WriteFile(work + "/SYSVER.DAT", "2.4.0\r\n");
    WriteFile(work + "/BAY.TIK", "mine");
    fs::remove(work + "/CALC.DAT");
    ASSERT_TRUE(Launch("reliefscope", "Reliefscope").running);
    EXPECT_EQ(Bytes(work + "/SYSVER.DAT"), kVersionLine) << "the version follows the installed suite";
    EXPECT_EQ(Bytes(work + "/BAY.TIK"), "mine");
    EXPECT_EQ(Bytes(work + "/CALC.DAT"), "0\r\n");
}

TEST_F(FirstStart, WorkFolderFollowsTheDataFolderRules) {
    // No data folder set, or a relative one (which the rules say to ignore): under HOME.
    ::unsetenv("XDG_DATA_HOME");
    const std::string home = Here() + "/ho me/.local/share/wavora";
    ASSERT_TRUE(Launch("wavora", "Wavora").running);
    EXPECT_EQ(Bytes(home + "/SYSVER.DAT"), kVersionLine);
    fs::remove_all(Here() + "/ho me");
    ::setenv("XDG_DATA_HOME", "relative", 1);
    const Launched l = Launch("wavora", "Wavora");
    ASSERT_TRUE(l.running);
    EXPECT_EQ(l.cwd, fs::canonical(home).string());
    EXPECT_FALSE(fs::exists(Here() + "/relative"));
}

TEST_F(FirstStart, WorkFolderThatCannotBeMadeIsAClearErrorAndStartsNothing) {
    WriteFile(Here() + "/da ta/wavora", "a file, not a folder");
    const Launched l = Launch("wavora", "Wavora");
    EXPECT_FALSE(l.running);
    EXPECT_NE(l.exitCode, 0);
    EXPECT_NE(l.log.find("wavora"), std::string::npos) << l.log;
    EXPECT_EQ(Bytes(Here() + "/da ta/wavora"), "a file, not a folder");
}

// The start-up of the main program in the folder the launcher made: no message, the
// version in the About box.
TEST_F(FirstStart, WavoraStartsInTheWorkFolderWithoutAMessage) {
    ASSERT_TRUE(Launch("wavora", "Wavora").running);
    ASSERT_EQ(::chdir(work.c_str()), 0);
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    apptest::FakeHost host;
    {
        CWavoraApp app(host);
        ASSERT_TRUE(app.InitInstance());
        for (const MessageRecord& m : ui.Messages()) ADD_FAILURE() << "[" << m.caption << "] " << m.text;
        app.ExecuteCommand(ids::ID_APP_ABOUT);
        EXPECT_EQ(host.about, std::string("ﾊﾞｰｼﾞｮﾝ ") + WAVORA_VERSION);
        EXPECT_EQ(g_strVersion, WAVORA_VERSION);
        app.ExitInstance();
    }
}

class NoRows : public BatchRowSink {
public:
    void InsertRow(int, const std::string&, const std::string&, const std::string&) override {}
    void SetRowState(int, const std::string&) override {}
    void DeleteRow(int) override {}
    void DeleteAllRows() override {}
};

// The batch program in the folder its launcher made: no message at start-up, and Start
// finds the busy flag idle.
TEST_F(FirstStart, TydchainStartsAndStartsABatchWithoutAMessage) {
    ASSERT_TRUE(Launch("tydchain", "Tydchain").running);
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    SetStartFolder(work);
    EXPECT_EQ(LoadVersionText(work), WAVORA_VERSION);
    NoRows rows;
    CBatchQueue queue(rows, [](CalcRequest*) { return 0; });
    queue.OnBatchStart();
    EXPECT_TRUE(queue.IsBatchRunning());
    EXPECT_EQ(queue.RunNextBatchEntry(), BatchStep::Off);
    for (const MessageRecord& m : ui.Messages()) ADD_FAILURE() << "[" << m.caption << "] " << m.text;
}

// The variables by which the fault suite makes its own driver fail its saves or kill
// itself are nothing to an installed program: the main program, started with them in a
// folder whose busy flag a dead run left, resets the flag and runs on, and no installed
// file so much as holds their names.
TEST_F(FirstStart, TheTestsFaultVariablesSwitchNothingThatIsInstalled) {
    const std::string folder = Here() + "/faults work";
    fs::create_directories(folder);
    WriteFile(folder + "/SYSVER.DAT", kVersionLine);
    WriteFile(folder + "/CALC.DAT", "1 DEAD\r\n");
    const std::string exe = prefix + "/bin/Wavora";
    std::vector<std::string> env = {"WAVORA_TEST_KILL_AT=save.created:1;save.written:1;save.renamed:1",
                                    "WAVORA_TEST_FAULTS=create:1:EACCES;write:1:ENOSPC;rename:1:EIO"};
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> cenv;
    for (std::string& e : env) cenv.push_back(e.data());
    cenv.push_back(nullptr);
    std::string arg0 = exe;
    char* argv[] = {arg0.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = -1;
    ASSERT_EQ(::posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, cenv.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    bool ended = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline && Bytes(folder + "/CALC.DAT") != "0\r\n")
        if ((ended = ::waitpid(pid, &status, WNOHANG) == pid)) break;
        else std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(ended) << "the program ended at start with status " << status;
    EXPECT_EQ(Bytes(folder + "/CALC.DAT"), "0\r\n");
    if (!ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    for (const auto& e : fs::directory_iterator(folder))
        EXPECT_EQ(e.path().filename().string().find(".wvtmp-"), std::string::npos) << e.path();

    for (const auto& e : fs::recursive_directory_iterator(prefix)) {
        if (!e.is_regular_file()) continue;
        EXPECT_EQ(Bytes(e.path().string()).find("WAVORA_TEST_"), std::string::npos) << e.path();
    }
}

}  // namespace
}  // namespace wv
