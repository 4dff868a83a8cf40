// The busy flag between programs: a run's lock outweighs what "CALC.DAT" says, and a
// starting program resets the flag only when no run holds the lock.
#include "calc/calc_run_files.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "support/lock_holder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace wv {
namespace {

using testsupport::FlockOn;
using testsupport::LockHolder;

std::string Text(const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, text, nullptr)) return "<missing>";
    return text;
}

class CalcDatLock : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::current_path().string() + "/";
        SetStartFolder(folder);
    }
    std::string folder;
};

TEST_F(CalcDatLock, ResetWritesIdleOnlyWithoutARun) {
    ASSERT_TRUE(AtomicWriteFile(folder + "CALC.DAT", std::string("1\r\ntitle"), nullptr));
    {
        LockHolder run(FlockOn(folder + "CALC.DAT.lock"));
        ASSERT_TRUE(run.Held());
        EXPECT_FALSE(ResetCalcDatIfIdle(folder));
        EXPECT_EQ(Text(folder + "CALC.DAT"), "1\r\ntitle");
    }
    EXPECT_TRUE(ResetCalcDatIfIdle(folder));
    EXPECT_EQ(Text(folder + "CALC.DAT"), "0\r\n");
    // A start folder given without its slash, and a flag file that is not there yet.
    DeleteFileSilently(folder + "CALC.DAT");
    EXPECT_TRUE(ResetCalcDatIfIdle(folder.substr(0, folder.size() - 1)));
    EXPECT_EQ(Text(folder + "CALC.DAT"), "0\r\n");
    EXPECT_FALSE(FileLock::IsHeld(folder + "CALC.DAT.lock")) << "the reset lets go again";
    EXPECT_FALSE(ResetCalcDatIfIdle(folder + "no/such/folder"));
}

TEST_F(CalcDatLock, HeldLockReadsBusyWhateverTheFileSays) {
    struct Case {
        const char* what;
        const char* bytes;  // nullptr: no file
        BusyFlag unlocked;
    };
    const Case cases[] = {
        {"idle", "0\r\n", BusyFlag::Idle},
        {"missing", nullptr, BusyFlag::Missing},
        {"half written", "", BusyFlag::Unreadable},
        {"busy", "1\r\nBAY1\r\n", BusyFlag::Busy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileSilently(folder + "CALC.DAT");
        if (c.bytes) {
            ASSERT_TRUE(AtomicWriteFile(folder + "CALC.DAT", std::string(c.bytes), nullptr));
        }
        std::string title;
        EXPECT_EQ(ReadBusyFlag(&title), c.unlocked);
        LockHolder run(FlockOn(folder + "CALC.DAT.lock"));
        ASSERT_TRUE(run.Held());
        EXPECT_EQ(ReadBusyFlag(&title), BusyFlag::Busy);
        EXPECT_EQ(title, c.unlocked == BusyFlag::Busy ? "BAY1" : "");
        run.Release();
        EXPECT_EQ(ReadBusyFlag(nullptr), c.unlocked);
    }
}

}  // namespace
}  // namespace wv
