// Replacing files when things go wrong: a failed write, fsync or rename, a file the user
// may not write, a link, a killed save. Each case ends with the old file or the new one,
// complete, and no temporary file beside it.
#include "platform/atomic_file.h"
#include "support/file_faults.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace wv;

namespace {

std::string Read(const std::string& path) {
    std::string s;
    ReadWholeFile(path, s, nullptr);
    return s;
}

void Put(const std::string& path, const std::string& text) {
    std::string err;
    ASSERT_TRUE(AtomicWriteFile(path, text, &err)) << err;
}

// Names in a folder other than the ones given: what a save left behind.
std::vector<std::string> Extra(const std::string& folder, const std::vector<std::string>& expected) {
    std::vector<std::string> out;
    DIR* d = ::opendir(folder.c_str());
    while (const dirent* e = d ? ::readdir(d) : nullptr) {
        const std::string n = e->d_name;
        if (n == "." || n == "..") continue;
        bool known = false;
        for (const std::string& x : expected) known = known || n == x;
        if (!known) out.push_back(n);
    }
    if (d) ::closedir(d);
    return out;
}

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

std::string Folder(const char* name) {
    const std::string f = CurrentFolder() + name + "/";
    ::mkdir(f.c_str(), 0755);
    return f;
}

// A process id that no process has now: a child that has ended and been reaped.
int DeadPid() {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return pid;
}

// Whether the bytes are whole UTF-8 characters.
bool IsUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

class AtomicFileTest : public ::testing::Test {
protected:
    void TearDown() override { faults::Clear(); }
};

}  // namespace

TEST_F(AtomicFileTest, EveryFailedStepKeepsTheOldFileAndLeavesNothing) {
    const std::string dir = Folder("steps");
    const std::string path = dir + "BAY.TIK";
    Put(path, "old project");
    struct Case {
        faults::Op op;
        int nth;
        int err;
    } cases[] = {
        {faults::Op::Create, 1, EACCES}, {faults::Op::Write, 1, ENOSPC}, {faults::Op::Write, 2, EDQUOT},
        {faults::Op::Fsync, 1, EIO},     {faults::Op::Rename, 1, EXDEV},
    };
    for (const Case& c : cases) {
        faults::FailAt(c.op, c.nth, c.err);
        AtomicFile f;
        std::string err;
        bool ok = f.Open(path, &err);
        if (ok) {
            const std::string big(100000, 'n');
            f.Write(big.data(), 50000);
            f.Write(big.data(), 50000);
            ok = f.Commit(&err);
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(err, path + ": " + SystemErrorText(c.err));
        EXPECT_EQ(Read(path), "old project");
        EXPECT_TRUE(Extra(dir, {"BAY.TIK"}).empty());
        faults::Clear();
    }
    EXPECT_EQ(SystemErrorText(ENOSPC), "ディスクの空き容量が足りません");
}

TEST_F(AtomicFileTest, ASavedFileKeepsTheModeOfTheFileItReplaces) {
    const std::string dir = Folder("modes");
    Put(dir + "private.TIK", "v1");
    ::chmod((dir + "private.TIK").c_str(), 0600);
    Put(dir + "private.TIK", "v2");
    EXPECT_EQ(ModeOf(dir + "private.TIK"), 0600u);
    Put(dir + "group.TIK", "v1");
    ::chmod((dir + "group.TIK").c_str(), 0664);
    Put(dir + "group.TIK", "v2");
    EXPECT_EQ(ModeOf(dir + "group.TIK"), 0664u);
    EXPECT_EQ(Read(dir + "group.TIK"), "v2");
    // A new file gets what the umask gives, not the temporary file's 0600.
    const mode_t mask = ::umask(022);
    Put(dir + "new.TIK", "x");
    ::umask(mask);
    EXPECT_EQ(ModeOf(dir + "new.TIK") & 0444, 0444u);
}

TEST_F(AtomicFileTest, AReadOnlyFileIsRefusedAndLeftAsItIs) {
    const std::string dir = Folder("readonly");
    Put(dir + "BAY.TIK", "kept");
    ::chmod((dir + "BAY.TIK").c_str(), 0444);
    std::string err;
    EXPECT_FALSE(AtomicWriteFile(dir + "BAY.TIK", std::string("new"), &err));
    EXPECT_EQ(err, dir + "BAY.TIK: 読み取り専用のファイルです");
    EXPECT_EQ(Read(dir + "BAY.TIK"), "kept");
    EXPECT_EQ(ModeOf(dir + "BAY.TIK"), 0444u);
    EXPECT_FALSE(MayReplaceFile(dir + "BAY.TIK", nullptr));
    EXPECT_TRUE(Extra(dir, {"BAY.TIK"}).empty());

    // A set with one read-only member changes none of them.
    Put(dir + "R.DPT", "old dpt");
    AtomicFileSet set({dir + "R.DPT", dir + "BAY.TIK"});
    EXPECT_FALSE(set.Open(&err));
    EXPECT_EQ(Read(dir + "R.DPT"), "old dpt");
    EXPECT_TRUE(Extra(dir, {"BAY.TIK", "R.DPT"}).empty());
}

// Another user's file in a folder everyone may write: renaming over it would succeed, but
// it is not this user's to replace.
TEST_F(AtomicFileTest, AFileOfAnotherUserIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs a second user: runs where the tests run as root";
    // In the system's temporary folder: the scratch folder's parents need not be open to
    // the second user.
    char pattern[] = "/tmp/wavora-shared-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string dir = std::string(pattern) + "/";
    ::chmod(dir.c_str(), 0777);
    Put(dir + "ROOT.TIK", "root's");
    ::chmod((dir + "ROOT.TIK").c_str(), 0644);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
        std::string err;
        const bool saved = AtomicWriteFile(dir + "ROOT.TIK", std::string("nobody's"), &err);
        ::_exit(saved ? 1 : err == dir + "ROOT.TIK: 読み取り専用のファイルです" ? 0 : 2);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Read(dir + "ROOT.TIK"), "root's");
    EXPECT_TRUE(Extra(dir, {"ROOT.TIK"}).empty());
    ::unlink((dir + "ROOT.TIK").c_str());
    ::rmdir(dir.c_str());
}

TEST_F(AtomicFileTest, ALinkIsFollowedAndItsTargetReplacedInItsOwnFolder) {
    const std::string data = Folder("data");
    const std::string work = Folder("work");
    Put(data + "BAY.TIK", "old");
    ASSERT_EQ(::symlink("../data/BAY.TIK", (work + "BAY.TIK").c_str()), 0);
    ASSERT_EQ(::symlink("BAY.TIK", (work + "again.TIK").c_str()), 0);  // a link to the link
    Put(work + "again.TIK", "new");
    struct stat st {};
    ASSERT_EQ(::lstat((work + "BAY.TIK").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::lstat((work + "again.TIK").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(Read(data + "BAY.TIK"), "new");
    EXPECT_TRUE(Extra(data, {"BAY.TIK"}).empty());
    EXPECT_TRUE(Extra(work, {"BAY.TIK", "again.TIK"}).empty());
    // A link whose target is not there yet makes the target.
    ASSERT_EQ(::symlink("../data/NEW.TIK", (work + "NEW.TIK").c_str()), 0);
    Put(work + "NEW.TIK", "made");
    EXPECT_EQ(Read(data + "NEW.TIK"), "made");
    // A loop of links is refused.
    ASSERT_EQ(::symlink("loop2", (work + "loop1").c_str()), 0);
    ASSERT_EQ(::symlink("loop1", (work + "loop2").c_str()), 0);
    std::string err;
    EXPECT_FALSE(AtomicWriteFile(work + "loop1", std::string("x"), &err));
}

TEST_F(AtomicFileTest, TemporaryFilesOfDeadSavesGoAndLiveOnesStay) {
    const std::string dir = Folder("leftover");
    Put(dir + "BAY.TIK", "old");
    // A live writer of another save of the same name: this process, holding the file.
    AtomicFile live;
    ASSERT_TRUE(live.Open(dir + "BAY.TIK", nullptr));
    const std::string liveTemp = live.TempPath();
    const std::string dead = dir + ".BAY.TIK.wvtmp-" + std::to_string(DeadPid()) + "-0000abcd";
    Put(dead, std::string(1000, 'x'));
    // Names like the old ones, or another file's, are not ours to remove.
    Put(dir + "BAY.TIK.a8G2kq", "user's");
    const std::string other = dir + ".OTHER.TIK.wvtmp-" + std::to_string(DeadPid()) + "-0000abcd";
    Put(other, "other");

    Put(dir + "BAY.TIK", "new");
    EXPECT_FALSE(FileExists(dead));
    EXPECT_TRUE(FileExists(liveTemp));
    EXPECT_TRUE(FileExists(dir + "BAY.TIK.a8G2kq"));
    EXPECT_TRUE(FileExists(other));
    live.Abandon();
    EXPECT_FALSE(FileExists(liveTemp));
    EXPECT_EQ(Read(dir + "BAY.TIK"), "new");
}

// A child saves a set and is killed at the nth pass of a moment; the files on disk, after
// the recovery the next open runs, are the old set or the new one.
TEST_F(AtomicFileTest, AKilledSetSaveLeavesTheOldSetOrTheNewOne) {
    const char* moments[] = {"save.created", "save.written", "save.synced", "save.renamed", "set.first-in-place"};
    int killed = 0, oldSets = 0, newSets = 0, completed = 0;
    for (const char* moment : moments)
        for (int nth = 1; nth <= 2; ++nth) {
            const std::string dir = Folder(("kill-" + std::string(moment) + std::to_string(nth)).c_str());
            const std::string a = dir + "R.DPT", b = dir + "R.TYD";
            Put(a, "old dpt");
            Put(b, "old tyd");
            const pid_t pid = ::fork();
            if (pid == 0) {
                faults::KillAt(moment, nth);
                AtomicFileSet set({a, b});
                bool ok = set.Open(nullptr);
                ok = ok && set.Member(0).Write(std::string(300000, 'd')) && set.Member(1).Write(std::string("new tyd"));
                ::_exit(ok && set.Commit(nullptr) ? 0 : 1);
            }
            int status = 0;
            ::waitpid(pid, &status, 0);
            if (WIFSIGNALED(status)) ++killed;
            completed += RecoverInterruptedSet({a, b}).completed;
            const std::string da = Read(a), db = Read(b);
            if (da == "old dpt" && db == "old tyd") ++oldSets;
            else if (da == std::string(300000, 'd') && db == "new tyd") ++newSets;
            else ADD_FAILURE() << moment << " " << nth << ": a mixed set";
            EXPECT_TRUE(Extra(dir, {"R.DPT", "R.TYD"}).empty()) << moment << " " << nth;
        }
    // Each moment but the one between the renames is passed twice per save.
    EXPECT_EQ(killed, 9);
    EXPECT_GE(completed, 2) << "kills between the renames are finished by the next open";
    EXPECT_EQ(oldSets + newSets, 10);
    EXPECT_GE(newSets, 3);
    EXPECT_GE(oldSets, 6);
}

TEST_F(AtomicFileTest, ARenameThatFailsHalfWayThroughASetIsFinishedLater) {
    const std::string dir = Folder("halfway");
    const std::string a = dir + "R.DPT", b = dir + "R.TYD";
    Put(a, "old dpt");
    Put(b, "old tyd");
    faults::FailAt(faults::Op::Rename, 2, EIO);
    AtomicFileSet set({a, b});
    ASSERT_TRUE(set.Open(nullptr));
    set.Member(0).Write(std::string("new dpt"));
    set.Member(1).Write(std::string("new tyd"));
    std::string err;
    EXPECT_FALSE(set.Commit(&err));
    EXPECT_EQ(err, b + ": " + SystemErrorText(EIO));
    EXPECT_EQ(RecoverInterruptedSet({a, b}).completed, 1);
    EXPECT_EQ(Read(a), "new dpt");
    EXPECT_EQ(Read(b), "new tyd");
    EXPECT_TRUE(Extra(dir, {"R.DPT", "R.TYD"}).empty());
}

TEST_F(AtomicFileTest, AFaultPicksItsFileByName) {
    const std::string dir = Folder("filter");
    Put(dir + "A.TYD", "old");
    Put(dir + "A.DPT", "old");
    faults::FailAt(faults::Op::Write, 1, ENOSPC, ".TYD");
    std::string err;
    EXPECT_TRUE(AtomicWriteFile(dir + "A.DPT", std::string("new"), &err)) << err;
    EXPECT_FALSE(AtomicWriteFile(dir + "A.TYD", std::string("new"), &err));
    EXPECT_EQ(Read(dir + "A.TYD"), "old");
    EXPECT_EQ(Read(dir + "A.DPT"), "new");
}

// A name too long to go whole into a temporary name is cut where a character begins,
// wherever its three-byte characters fall (after one or two ASCII letters, or none): a
// name cut inside a character is no UTF-8 name, and tools and file systems that take
// names as UTF-8 refuse or mangle it. The save goes and leaves nothing beside its file.
TEST_F(AtomicFileTest, ALongNameIsCutWhereACharacterBegins) {
    const std::string folder = Folder("long");
    for (const std::string lead : {"", "A", "AB"}) {
        std::string name = lead;
        while (name.size() < 240) name += "\xE6\xB9\xBE";  // 湾
        name += ".TYD";
        SCOPED_TRACE(lead + " before the characters");
        const std::string prefix = TempNamePrefix(folder + name);
        EXPECT_TRUE(IsUtf8(prefix)) << prefix;
        EXPECT_LT(prefix.size(), 230u);
        Put(folder + name, "whole");
        EXPECT_EQ(Read(folder + name), "whole");
        EXPECT_TRUE(Extra(folder, {name}).empty());
        ::unlink((folder + name).c_str());
    }
}
