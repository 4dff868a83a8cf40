// Every command-line program of the build, started from a scratch folder: --help and -h
// print its usage on standard output and end with 0; an option it does not know ends it
// with a nonzero code and the usage on standard error. Neither writes a file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Programs() {
    std::vector<std::string> out;
    std::stringstream list(WAVORA_PROGRAMS);
    for (std::string p; std::getline(list, p, '|');)
        if (!p.empty()) out.push_back(p);
    return out;
}

struct Outcome {
    int code = -1;
    std::string out, err;
};

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs `program arg` in `work`; its output goes to files beside that folder.
Outcome RunProgram(const std::string& program, const std::string& arg, const fs::path& work) {
    const fs::path out = work.parent_path() / "stdout.txt";
    const fs::path err = work.parent_path() / "stderr.txt";
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = ::open("/dev/null", O_RDONLY);
        if (o < 0 || e < 0 || in < 0 || ::chdir(work.c_str()) != 0) ::_exit(127);
        ::dup2(o, 1);
        ::dup2(e, 2);
        ::dup2(in, 0);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::execl(program.c_str(), program.c_str(), arg.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    Outcome r;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) r.code = WEXITSTATUS(status);
    r.out = ReadAll(out);
    r.err = ReadAll(err);
    return r;
}

std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir)) names.push_back(e.path().filename().string());
    return names;
}

TEST(ToolArgs, HelpAndUnknownOptionsOfEveryProgram) {
    const std::vector<std::string> programs = Programs();
    ASSERT_GE(programs.size(), 6u);
    const fs::path work = fs::current_path() / "work";
    for (const std::string& program : programs) {
        const std::string name = fs::path(program).filename().string();
        for (const char* arg : {"--help", "-h", "--no-such-option", "-x"}) {
            SCOPED_TRACE(name + " " + arg);
            fs::remove_all(work);
            fs::create_directories(work);
            const Outcome r = RunProgram(program, arg, work);
            // The benchmarks take their command line from the benchmark library: its
            // usage for --help, and every other word it does not know refused by name.
            const bool bench = name.rfind("bench_", 0) == 0;
            const bool help = std::string(arg) == "--help" || (!bench && std::string(arg) == "-h");
            if (help) {
                EXPECT_EQ(r.code, 0) << r.err;
                EXPECT_NE(r.out.find(bench ? "--benchmark_filter" : "usage"), std::string::npos) << r.out;
            } else {
                EXPECT_GT(r.code, 0) << r.out;
                EXPECT_NE(r.err.find(arg), std::string::npos) << r.err;
                if (!bench) {
                    EXPECT_NE(r.err.find("usage"), std::string::npos) << r.err;
                }
            }
            EXPECT_TRUE(Entries(work).empty()) << "written: " << testing::PrintToString(Entries(work));
        }
    }
}

}  // namespace
