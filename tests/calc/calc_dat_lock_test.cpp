// The busy flag between programs: a run's lock outweighs what "CALC.DAT" says, a starting
// program resets the flag only when no run holds the lock, readers only read, and a flag
// that no run holds (its run was killed, the file damaged) is written idle where the next
// run starts.
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
using testsupport::RunStarted;

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
        {"half written", "", BusyFlag::Idle},
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
        EXPECT_EQ(title, "");
        run.Release();
        EXPECT_EQ(ReadBusyFlag(nullptr), c.unlocked);
    }
}

// A run killed in its course leaves "1" and its title, and no one holds the lock; a
// damaged file says nothing at all. Readers take either as no run and leave the file
// alone; the next run's claim writes its own busy flag over it, holds the lock until it
// is let go, and leaves the flag idle. While another run holds the lock its flag is left
// as it is, also in the moment between taking the lock and writing the flag; a flag file
// that is a folder cannot be opened.
TEST_F(CalcDatLock, AClaimWritesItsFlagUnderTheLockItHoldsUntilLetGo) {
    const std::string flag = folder + "CALC.DAT";
    const std::string lock = folder + "CALC.DAT.lock";
    const std::string busy = "1\r\nROAD\r\n";
    {
        LockHolder run(RunStarted(folder, "ROAD"));
        ASSERT_TRUE(run.Held());
        std::string title;
        EXPECT_EQ(ReadBusyFlag(&title), BusyFlag::Busy);
        EXPECT_EQ(title, "ROAD");
        EXPECT_TRUE(IsCalcRunGoingOn(folder + "ROAD.TYD"));
        RunClaim claim;
        EXPECT_EQ(claim.Take("BAY", &title, nullptr), BusyFlag::Busy);
        EXPECT_EQ(title, "ROAD");
        EXPECT_FALSE(claim.IsTaken());
        EXPECT_EQ(Text(flag), busy) << "a running run's flag is not touched";
        run.Kill();
    }
    ASSERT_EQ(Text(flag), busy) << "the killed run's flag is left behind";
    for (const std::string& left : {busy, std::string(), std::string("hello")}) {
        SCOPED_TRACE(left);
        ASSERT_TRUE(AtomicWriteFile(flag, left, nullptr));
        ASSERT_FALSE(FileLock::IsHeld(lock));
        std::string title = "x";
        EXPECT_EQ(ReadBusyFlag(&title), BusyFlag::Idle);
        EXPECT_EQ(title, "");
        EXPECT_FALSE(IsCalcRunGoingOn(folder + "ROAD.TYD"));
        EXPECT_EQ(Text(flag), left) << "a reader writes nothing";
        {
            RunClaim claim;
            EXPECT_EQ(claim.Take("BAY", &title, nullptr), BusyFlag::Idle);
            EXPECT_EQ(Text(flag), "1\r\nBAY\r\n");
            // Held for the run, against another process and against a second claim here.
            EXPECT_TRUE(FileLock::IsHeld(lock));
            LockHolder other(FlockOn(lock));
            EXPECT_FALSE(other.Held());
            RunClaim second;
            EXPECT_EQ(second.Take("ROAD", &title, nullptr), BusyFlag::Busy);
            EXPECT_EQ(title, "BAY");
            // The batch's next entry under the same claim.
            EXPECT_EQ(claim.Take("BAY2", nullptr, nullptr), BusyFlag::Idle);
            EXPECT_EQ(Text(flag), "1\r\nBAY2\r\n");
        }
        EXPECT_EQ(Text(flag), "0\r\n") << "a claim given up before its run leaves the flag idle";
        EXPECT_FALSE(FileLock::IsHeld(lock));
    }

    // A run that has taken the lock and not yet written its flag, in another process and
    // in this one (the solver thread's lock): the flag an earlier run left stays.
    ASSERT_TRUE(AtomicWriteFile(flag, std::string("1\r\nOLD\r\n"), nullptr));
    std::string title;
    {
        LockHolder starting(FlockOn(lock));
        ASSERT_TRUE(starting.Held());
        EXPECT_EQ(RunClaim().Take("BAY", &title, nullptr), BusyFlag::Busy);
        EXPECT_EQ(title, "OLD");
    }
    {
        FileLock own(lock);
        ASSERT_TRUE(own.TryLock());
        EXPECT_EQ(ReadBusyFlag(nullptr), BusyFlag::Busy);
        EXPECT_EQ(RunClaim().Take("BAY", nullptr, nullptr), BusyFlag::Busy);
    }
    EXPECT_EQ(Text(flag), "1\r\nOLD\r\n");

    DeleteFileSilently(flag);
    std::filesystem::create_directory(flag);
    EXPECT_EQ(ReadBusyFlag(nullptr), BusyFlag::Missing);
    EXPECT_EQ(RunClaim().Take("BAY", nullptr, nullptr), BusyFlag::Missing);
    EXPECT_TRUE(std::filesystem::is_directory(flag));
}

// Where nobody can hold the lock (here a folder in its place; another user's lock file
// or a file system without locks alike) the flag's text decides, as it did before there
// was a lock: a live run's "1" is busy, and a run may still start over "0".
TEST_F(CalcDatLock, WithoutAUsableLockTheFlagsTextDecides) {
    const std::string flag = folder + "CALC.DAT";
    std::filesystem::create_directory(folder + "CALC.DAT.lock");
    ASSERT_EQ(FileLock::Probe(folder + "CALC.DAT.lock"), LockState::Unusable);
    ASSERT_TRUE(AtomicWriteFile(flag, std::string("1\r\nROAD\r\n"), nullptr));
    std::string title;
    EXPECT_EQ(ReadBusyFlag(&title), BusyFlag::Busy);
    EXPECT_EQ(title, "ROAD");
    EXPECT_EQ(RunClaim().Take("BAY", &title, nullptr), BusyFlag::Busy);
    EXPECT_EQ(title, "ROAD");
    EXPECT_EQ(Text(flag), "1\r\nROAD\r\n");

    ASSERT_TRUE(AtomicWriteFile(flag, std::string("0\r\n"), nullptr));
    EXPECT_EQ(ReadBusyFlag(nullptr), BusyFlag::Idle);
    {
        RunClaim claim;
        EXPECT_EQ(claim.Take("BAY", nullptr, nullptr), BusyFlag::Idle);
        EXPECT_EQ(Text(flag), "1\r\nBAY\r\n");
        EXPECT_EQ(ReadBusyFlag(&title), BusyFlag::Busy);
        EXPECT_EQ(title, "BAY");
    }
    EXPECT_EQ(Text(flag), "0\r\n");
}

}  // namespace
}  // namespace wv
