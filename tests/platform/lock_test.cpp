// The lock that keeps programs off each other's busy flag, and the version text.
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/sysver.h"
#include "support/lock_holder.h"

#include <gtest/gtest.h>

#include <string>

namespace wv {
namespace {

using testsupport::FlockOn;
using testsupport::LockHolder;

TEST(FileLock, OneHolderAtATimeWithinAndAcrossProcesses) {
    const std::string path = "run.lock";
    {
        FileLock a(path);
        ASSERT_TRUE(a.TryLock());
        EXPECT_TRUE(a.TryLock()) << "taking a held lock again is a no-op";
        EXPECT_TRUE(FileLock::IsHeld(path));
        FileLock b(path);
        EXPECT_FALSE(b.TryLock()) << "a second holder in the same process";
        {
            // The forked child shares this process's descriptors until it ends.
            LockHolder child(FlockOn(path));
            EXPECT_FALSE(child.Held());
        }
        a.Unlock();
        EXPECT_FALSE(a.IsLocked());
        EXPECT_FALSE(FileLock::IsHeld(path));
        EXPECT_TRUE(b.TryLock());
    }
    // Released by the destructor.
    EXPECT_FALSE(FileLock::IsHeld(path));

    LockHolder child(FlockOn(path));
    ASSERT_TRUE(child.Held());
    FileLock c(path);
    EXPECT_TRUE(FileLock::IsHeld(path));
    EXPECT_FALSE(c.TryLock());
    // The kernel lets go of a lock whose holder has ended.
    child.Release();
    EXPECT_FALSE(FileLock::IsHeld(path));
    EXPECT_TRUE(c.TryLock());
}

TEST(FileLock, AFolderThatIsNotThereLocksNothing) {
    FileLock lock("no/such/folder/run.lock");
    EXPECT_FALSE(lock.TryLock());
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_FALSE(FileLock::IsHeld("no/such/folder/run.lock"));
}

TEST(SysVer, FirstLineWithoutItsLineEnd) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string expect;
    };
    const Case cases[] = {
        {"windows line end", "V1.2\r\n", "V1.2"},
        {"unix line end", "V1.2\n", "V1.2"},
        {"no line end", "V1.2", "V1.2"},
        {"more lines", "V3.0 2026/12/01\r\nsecond line\r\n", "V3.0 2026/12/01"},
        {"lone carriage return", "V1.2\rrest", "V1.2"},
        {"empty file", "", ""},
        {"empty first line", "\r\nV9\r\n", ""},
        {"cp932 bytes kept", "\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93 1\r\n",
         "\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93 1"},
        {"long line", std::string(2000, 'x') + "\r\n", std::string(1023, 'x')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(AtomicWriteFile("SYSVER.DAT", c.bytes, nullptr));
        bool opened = false;
        EXPECT_EQ(ReadSysVer("./", &opened), c.expect);
        EXPECT_TRUE(opened);
        EXPECT_EQ(ReadSysVer("."), c.expect) << "folder without a trailing slash";
    }
    DeleteFileSilently("SYSVER.DAT");
    bool opened = true;
    EXPECT_EQ(ReadSysVer("./", &opened), "");
    EXPECT_FALSE(opened);
}

}  // namespace
}  // namespace wv
