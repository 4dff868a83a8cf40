// CTest runs every test case as its own process, several at once, from one folder per
// test program. Tests write working files ("CALC.DAT", side files, documents), so each
// process moves into a scratch folder of its own first, and each case into a folder of
// its own inside it: a case run after others in one process finds the same empty folder
// as one run alone. Folders of passed cases are removed; those of failed ones stay to be
// looked at. A process that dies of a signal prints the signal and a backtrace first.
#include "support/crash_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class CaseFolders : public testing::EmptyTestEventListener {
public:
    explicit CaseFolders(fs::path processFolder) : m_processFolder(std::move(processFolder)) {}

    void OnTestStart(const testing::TestInfo& info) override {
        std::string name = std::string(info.test_suite_name()) + "." + info.name();
        for (char& c : name)
            if (c == '/') c = '_';  // parameterised names
        std::string pattern = (m_processFolder / (name + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr || ::chdir(pattern.c_str()) != 0) {
            std::perror("cannot make a scratch folder for the test case");
            std::exit(2);
        }
        m_caseFolder = pattern;
    }

    void OnTestEnd(const testing::TestInfo& info) override {
        if (::chdir(m_processFolder.c_str()) != 0) return;
        std::error_code ec;
        if (info.result() && info.result()->Passed()) fs::remove_all(m_caseFolder, ec);
    }

private:
    fs::path m_processFolder;
    fs::path m_caseFolder;
};

}  // namespace

int main(int argc, char** argv) {
    wv::testsupport::InstallCrashReport();
    testing::InitGoogleTest(&argc, argv);
    std::error_code ec;
    const fs::path base = fs::current_path(ec);
    std::string pattern = (base / "run-XXXXXX").string();
    const char* scratch = ::mkdtemp(pattern.data());
    if (scratch == nullptr || ::chdir(scratch) != 0) {
        std::perror("cannot make a scratch folder for the test");
        return 2;
    }
    testing::UnitTest::GetInstance()->listeners().Append(new CaseFolders(scratch));
    const int result = RUN_ALL_TESTS();
    if (result == 0) {
        if (::chdir(base.c_str()) == 0) fs::remove_all(scratch, ec);
    }
    return result;
}
