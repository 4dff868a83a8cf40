// One instance per program: a live holder keeps the lock, a dead one loses it.
#include "platform/qt/single_instance.h"
#include "support/lock_holder.h"

#include <QLockFile>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace wv {
namespace {

using testsupport::LockHolder;

class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override {
        runtime = std::filesystem::current_path().string() + "/runtime";
        std::filesystem::create_directories(runtime);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    void TearDown() override { ::unsetenv("XDG_RUNTIME_DIR"); }
    std::string runtime;
};

// A child that takes the program's lock the way a running instance does.
std::function<bool()> InstanceRunning(const std::string& name, bool dieHolding) {
    return [name, dieHolding] {
        static SingleInstanceLock* lock = new SingleInstanceLock;
        const bool ok = lock->TryLock(name);
        // Ends without releasing anything, as a crashed program does.
        if (dieHolding) ::_exit(ok ? 0 : 1);
        return ok;
    };
}

TEST_F(SingleInstance, SecondHolderRefusedUntilTheFirstGoes) {
    {
        SingleInstanceLock first;
        ASSERT_TRUE(first.TryLock("WavoraTest"));
        EXPECT_TRUE(first.IsLocked());
        EXPECT_EQ(first.Path(), runtime + "/WavoraTest.lock");
        EXPECT_TRUE(std::filesystem::exists(first.Path()));
        SingleInstanceLock second;
        EXPECT_FALSE(second.TryLock("WavoraTest"));
        SingleInstanceLock other;
        EXPECT_TRUE(other.TryLock("Tydchain")) << "each program has a lock of its own";
        LockHolder child(InstanceRunning("WavoraTest", false));
        EXPECT_FALSE(child.Held()) << "another process while this one runs";
    }
    SingleInstanceLock again;
    EXPECT_TRUE(again.TryLock("WavoraTest")) << "released with its object";
}

TEST_F(SingleInstance, LiveProcessKeepsItsLock) {
    LockHolder child(InstanceRunning("WavoraTest", false));
    ASSERT_TRUE(child.Held());
    SingleInstanceLock lock;
    EXPECT_FALSE(lock.TryLock("WavoraTest"));
    child.Release();
    EXPECT_TRUE(lock.TryLock("WavoraTest"));
}

TEST_F(SingleInstance, DeadProcessLockIsTaken) {
    {
        LockHolder child(InstanceRunning("WavoraTest", true));
        child.Release();
    }
    ASSERT_TRUE(std::filesystem::exists(runtime + "/WavoraTest.lock")) << "left behind";
    SingleInstanceLock lock;
    EXPECT_TRUE(lock.TryLock("WavoraTest"));
}

TEST_F(SingleInstance, TemporaryFolderWithoutRuntimeFolder) {
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_FALSE(SingleInstanceLock::LockFolder().empty());
    ::setenv("XDG_RUNTIME_DIR", (runtime + "/missing").c_str(), 1);
    EXPECT_NE(SingleInstanceLock::LockFolder(), runtime + "/missing");
}

}  // namespace
}  // namespace wv
