// Writes that fail for real: the driver saves with WAVORA_TEST_FAULTS failing the first
// write (a full disk), fsync (a disk error) or rename (no permission) of one file. The
// program says so in Japanese, naming the file and the reason; the old file is there byte
// for byte, no temporary file is left, and what is there still opens.
#include "calcdoc/tyd_doc.h"
#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/ui_service.h"
#include "project/tik_doc.h"
#include "tests/faults/fault_suite.h"
#include "tests/faults/prepared_calc.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace wv::faultsuite {
namespace {

struct Fault {
    const char* op;
    const char* errName;
    int err;
};
const Fault kFaults[] = {{"write", "ENOSPC", ENOSPC}, {"fsync", "EIO", EIO}, {"rename", "EACCES", EACCES}};

std::string FaultFor(const Fault& f, const std::string& file) {
    return "WAVORA_TEST_FAULTS=" + std::string(f.op) + ":1:" + f.errName + ":" + FileNameOf(file);
}

// The message of a failed write: Japanese, the file's name and the system's reason.
void ExpectToldOf(const Finished& f, const std::string& file, const Fault& fault, const std::string& what) {
    const std::vector<std::string> messages = f.Messages();
    bool told = false;
    for (const std::string& m : messages)
        told = told || (IsJapanese(m) && m.find(FileNameOf(file)) != std::string::npos &&
                        m.find(SystemErrorText(fault.err)) != std::string::npos);
    EXPECT_TRUE(told) << what << ": no message in Japanese naming " << FileNameOf(file) << " and saying \""
                      << SystemErrorText(fault.err) << "\"\n"
                      << f.Transcript();
}

void ExpectNoTemps(const std::vector<std::string>& files, const std::string& what) {
    for (const std::string& file : files) EXPECT_TRUE(TempsOf(file).empty()) << what << ":\n" << TempList({file});
}

TEST(FailedWrites, AProjectSaveThatFailsKeepsTheOldProject) {
    const std::string tik = Here() + "BIG.TIK";
    const std::string points = "20000";
    Finished f = RunDriver({"project-save", tik, points, "0"});
    ASSERT_EQ(f.exitCode, 0) << f.Transcript();
    const std::string old = ReadFile(tik);
    for (const Fault& fault : kFaults) {
        const std::string what = std::string(fault.op) + " of " + FileNameOf(tik) + " fails with " + fault.errName;
        f = RunDriver({"project-save", tik, points, "1"}, {FaultFor(fault, tik)});
        EXPECT_EQ(f.exitCode, 3) << what << "\n" << f.Transcript();
        ExpectToldOf(f, tik, fault, what);
        EXPECT_TRUE(ReadFile(tik) == old) << what;
        ExpectNoTemps({tik}, what);
        ScriptedUi ui;
        ScopedUi scoped(&ui);
        CTikDoc doc;
        EXPECT_TRUE(doc.OnOpenDocument(tik)) << what;
    }
}

TEST(FailedWrites, ACalculationSaveThatFailsKeepsTheOldPair) {
    const std::string tyd = Here() + "BAYCALC.TYD";
    const std::string dpt = Here() + "BAYCALC.DPT";
    Finished f = RunDriver({"pair-save", tyd, "1", "a"});
    ASSERT_EQ(f.exitCode, 0) << f.Transcript();
    const std::string newTyd = ReadFile(tyd), newDpt = ReadFile(dpt);
    f = RunDriver({"pair-save", tyd, "1", "b"});
    ASSERT_EQ(f.exitCode, 0) << f.Transcript();
    const std::string oldTyd = ReadFile(tyd), oldDpt = ReadFile(dpt);
    for (const std::string& file : {tyd, dpt})
        for (const Fault& fault : kFaults) {
            const std::string what = std::string(fault.op) + " of " + FileNameOf(file) + " fails with " + fault.errName;
            f = RunDriver({"pair-save", tyd, "1", "a"}, {FaultFor(fault, file)});
            const bool oldPair = ReadFile(tyd) == oldTyd && ReadFile(dpt) == oldDpt;
            const bool newPair = ReadFile(tyd) == newTyd && ReadFile(dpt) == newDpt;
            if (f.exitCode == 0 && std::string(fault.op) == "rename") {
                // A rename that fails once the first file is in place: the save puts the
                // rest in place and has then done what was asked.
                EXPECT_TRUE(newPair) << what << ": the save went through, yet the pair is not the new one";
                EXPECT_TRUE(f.MessagesSinceBegin().empty()) << what << "\n" << f.Transcript();
            } else {
                EXPECT_EQ(f.exitCode, 3) << what << "\n" << f.Transcript();
                ExpectToldOf(f, file, fault, what);
                EXPECT_TRUE(oldPair) << what << ": the old pair is not there as it was";
            }
            ExpectNoTemps({tyd, dpt}, what);
            ScriptedUi ui;
            ScopedUi scoped(&ui);
            CTydDoc doc;
            EXPECT_TRUE(doc.OnOpenDocument(tyd) && ui.Messages().empty() && doc.m_info.m_nCalcState == 1)
                << what << ": the calculation does not open as saved";
            // Each case starts from the old pair.
            WriteFile(tyd, oldTyd);
            WriteFile(dpt, oldDpt);
        }
}

// The solver input of the calculate command and the batch program's marker: a run that
// cannot write them does not start, says why, and leaves the old file.
TEST(FailedWrites, ARunWhoseInputOrMarkerCannotBeWrittenDoesNotStart) {
    PreparedCalc c;
    std::string err;
    ASSERT_TRUE(PreparedCalc::Prepare(c, "BAYRUN", "prepare-run", 50.0, &err)) << err;
    for (const Fault& fault : kFaults) {
        c.Restore();
        const std::string cal = c.Side("CAL");
        std::string what = std::string(fault.op) + " of " + FileNameOf(cal) + " fails with " + fault.errName;
        Finished f = RunDriver({"calc", c.Tyd()}, {FaultFor(fault, cal)});
        EXPECT_EQ(f.Last("result "), "result refused") << what << "\n" << f.Transcript();
        ExpectToldOf(f, cal, fault, what);
        EXPECT_TRUE(ReadFile(cal) == c.Prepared("CAL")) << what;
        EXPECT_FALSE(Exists(c.Side("KKA"))) << what << ": a run started";
        ExpectNoTemps({cal}, what);

        c.Restore();
        const std::string yno = c.Side("YNO");
        WriteFile(yno, "2\r\n");
        what = std::string(fault.op) + " of " + FileNameOf(yno) + " fails with " + fault.errName;
        f = RunDriver({"batch", c.Side("DEC")}, {FaultFor(fault, yno)});
        EXPECT_NE(f.exitCode, 0) << what << "\n" << f.Transcript();
        ExpectToldOf(f, yno, fault, what);
        EXPECT_TRUE(ReadFile(yno) == "2\r\n") << what;
        EXPECT_FALSE(Exists(c.Side("KKA"))) << what << ": a run started";
        ExpectNoTemps({yno}, what);
    }
}

// The two calls after the data: the sync of the folder a pair was renamed into, and the
// rename by which an open or a save finishes a pair whose save was killed between its
// renames. A folder not synced is no saved file: the save says so, with the whole new pair
// in place. A pair that cannot be finished is neither opened as a mixed pair nor saved
// over (its pending file would go in over the new save later); the next try finishes it.
TEST(FailedWrites, AFolderSyncOrAPairsFinishingRenameThatFails) {
    const std::string tyd = Here() + "SYNC.TYD";
    const std::string dpt = Here() + "SYNC.DPT";
    ASSERT_EQ(RunDriver({"pair-save", tyd, "1", "a"}).exitCode, 0);
    const std::string newTyd = ReadFile(tyd), newDpt = ReadFile(dpt);
    ASSERT_EQ(RunDriver({"pair-save", tyd, "1", "b"}).exitCode, 0);
    const std::string oldTyd = ReadFile(tyd), oldDpt = ReadFile(dpt);
    auto opensAs = [&](const std::string& tydBytes, const std::string& what) {
        ScriptedUi ui;
        ScopedUi scoped(&ui);
        CTydDoc doc;
        EXPECT_TRUE(doc.OnOpenDocument(tyd) && ui.Messages().empty()) << what;
        EXPECT_TRUE(ReadFile(tyd) == tydBytes) << what;
        ExpectNoTemps({tyd, dpt}, what);
    };

    const Fault eio{"syncfolder", "EIO", EIO};
    Finished f = RunDriver({"pair-save", tyd, "1", "a"}, {"WAVORA_TEST_FAULTS=syncfolder:1:EIO"});
    EXPECT_EQ(f.exitCode, 3) << f.Transcript();
    ExpectToldOf(f, dpt, eio, "the folder sync fails");
    EXPECT_TRUE(ReadFile(dpt) == newDpt) << "the whole new pair goes in";
    opensAs(newTyd, "after the folder sync failed");

    WriteFile(tyd, oldTyd);
    WriteFile(dpt, oldDpt);
    pid_t pid = -1;
    f = RunKilled({"pair-save", tyd, "1", "a"}, std::nullopt, {KillAt("set.first-in-place", 1)}, &pid);
    ASSERT_TRUE(f.killed) << f.Transcript();
    ASSERT_TRUE(ReadFile(dpt) == newDpt && ReadFile(tyd) == oldTyd);
    const Fault eacces{"rename", "EACCES", EACCES};
    const std::string fault = "WAVORA_TEST_FAULTS=rename:1:EACCES:" + FileNameOf(tyd);
    f = RunDriver({"load", tyd}, {fault});
    EXPECT_EQ(f.Last("result "), "result open-refused") << f.Transcript();
    ExpectToldOf(f, tyd, eacces, "finishing the pair fails at its open");
    f = RunDriver({"pair-save", tyd, "1", "b"}, {fault});
    EXPECT_EQ(f.exitCode, 3) << f.Transcript();
    ExpectToldOf(f, tyd, eacces, "finishing the pair fails at a save");
    EXPECT_TRUE(ReadFile(dpt) == newDpt && ReadFile(tyd) == oldTyd) << "the refusals changed nothing";
    EXPECT_EQ(TempsOf(tyd).size(), 1u) << "the killed save's .TYD waits";
    opensAs(newTyd, "the next open finishes the killed save");
}

}  // namespace
}  // namespace wv::faultsuite
