// libtydsolv.so as a program loads it: its C exports and nothing else, and a complete
// headless run through them.
#include "platform/files.h"
#include "solver/tydsolv.h"
#include "tools/make_bay_cal/cal_writer.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class SolverLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        handle = dlopen(TYDSOLV_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        ASSERT_NE(handle, nullptr) << dlerror();
    }
    void TearDown() override {
        if (handle) dlclose(handle);
    }
    template <class F>
    F Symbol(const char* name) {
        return reinterpret_cast<F>(dlsym(handle, name));
    }
    void* handle = nullptr;
};

TEST_F(SolverLibrary, ExportsTheEntriesOnly) {
    EXPECT_NE(Symbol<void*>("TYDSOLV"), nullptr);
    EXPECT_NE(Symbol<void*>("TYDSOLVSTOP"), nullptr);
    EXPECT_NE(Symbol<void*>("DISPLAYPROGRESSBOX"), nullptr);
    EXPECT_NE(Symbol<void*>("SETPROGRESS"), nullptr);
    EXPECT_NE(Symbol<void*>("DESTROYPROGRESSBOX"), nullptr);
    // Neither the solver's internals nor the platform layer linked into it are visible.
    EXPECT_EQ(Symbol<void*>("_ZN2wv4solv14RunCalculationEPK11CalcRequest"), nullptr);
    EXPECT_EQ(Symbol<void*>("_ZN2wv2UiEv"), nullptr);
    EXPECT_EQ(Symbol<void*>("_ZN2wv7FormatFEdii"), nullptr);
}

TEST_F(SolverLibrary, RunsACalculationHeadless) {
    namespace fs = std::filesystem;
    const std::string folder = (fs::current_path() / "lib_run").string() + "/";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const wv::tools::CalCase s{.nd = 7, .nf = 2, .nx = 6, .ny = 5};
    ASSERT_TRUE(wv::AtomicWriteFile(folder + "LIB.CAL", wv::tools::MakeCalText(s, [](int i, int) { return 9.0 - i; }),
                                    nullptr));
    const std::string title = "LIB";
    // The working folder without its trailing '/'; mode 0 headless: the end message goes
    // to stderr with its default answer.
    CalcRequest req{folder.c_str(), static_cast<int32_t>(folder.size()), title.c_str(), 3,
                    folder.c_str(), static_cast<int32_t>(folder.size() - 1), s.nd, s.nf, s.nx, s.ny, 0};
    auto tydsolv = Symbol<int32_t (*)(CalcRequest*)>("TYDSOLV");
    ASSERT_NE(tydsolv, nullptr);
    EXPECT_EQ(tydsolv(&req), 0);
    EXPECT_EQ(wv::FileSize(folder + "LIB.KKA"), 6 * 5 * 104);
    std::string calc;
    ASSERT_TRUE(wv::ReadWholeFile(folder + "CALC.DAT", calc, nullptr));
    EXPECT_EQ(calc, "0\r\n");
    EXPECT_TRUE(wv::FileExists(folder + "TIME.TMP"));
    // A missing input: result 1, the flag idle again.
    req.m_nTitleLen = 2;
    EXPECT_EQ(tydsolv(&req), 1);
}

TEST_F(SolverLibrary, ProgressWindowRoutines) {
    auto display = Symbol<int32_t (*)(PBContext*, void**, const char*, int32_t, double*, int32_t*, int32_t*, int32_t*)>(
        "DISPLAYPROGRESSBOX");
    auto set = Symbol<int32_t (*)(PBContext*, int32_t*, int32_t*)>("SETPROGRESS");
    auto destroy = Symbol<int32_t (*)(PBContext*, int32_t*)>("DESTROYPROGRESSBOX");
    PBContext ctx{};
    void* parent = nullptr;
    const char caption[] = "計算中 - X";
    double memory = 0.0;
    int32_t nodes = 10000, mode = 1, showCancel = 1;
    ASSERT_EQ(display(&ctx, &parent, caption, static_cast<int32_t>(sizeof caption - 1), &memory, &nodes, &mode, &showCancel), 1);
    EXPECT_NE(ctx.m_pDialog, nullptr);
    EXPECT_EQ(ctx.m_nParentDisabled, 0);  // a null parent is left alone
    int32_t bar = 1000, value = 37;
    EXPECT_EQ(set(&ctx, &bar, &value), 1);
    EXPECT_EQ(ctx.m_nProgress, 37);
    ctx.m_nCancel = -1;  // a click not yet reported
    EXPECT_EQ(set(&ctx, &bar, &value), -2);
    EXPECT_EQ(set(&ctx, &bar, &value), 1);
    int32_t status = 0;
    EXPECT_EQ(destroy(&ctx, &status), 1);  // mode 1: closes without a message
    EXPECT_EQ(ctx.m_pDialog, nullptr);
}

}  // namespace
