// Saves killed for real: the bay project made large and saved, and two calculations of
// the bay (a 20 m and a 25 m mesh) saved in turn under one name, each killed with SIGKILL
// at seeded random moments and at every named moment of the file layer. After each kill
// the real readers open what is there: the old file or the new one, whole; never a .TYD
// beside the .DPT of the other calculation opening as a pair; and the next save leaves no
// temporary file.
#include "calcdoc/tyd_doc.h"
#include "platform/files.h"
#include "platform/ui_service.h"
#include "project/tik_doc.h"
#include "tests/faults/fault_suite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wv::faultsuite {
namespace {

// About 21 MB of project: long enough a write for kills to land inside it.
constexpr int kLargeProject = 600000;
// The named moments do not need the size.
constexpr int kSmallProject = 20000;
constexpr int kProjectKills = 48;
// Saves per killed pair-save process, and kills: the window between the two files of
// the pair is a small part of each save, so it takes many.
constexpr int kPairRounds = 8;
constexpr int kPairKills = 100;
constexpr unsigned kProjectSeed = 4201;
constexpr unsigned kPairSeed = 4202;

const char* const kMoments[] = {"save.created", "save.written", "save.synced", "save.renamed",
                                "set.first-in-place"};

std::vector<std::string> WindowNames(bool pair) {
    std::vector<std::string> out{WindowName(Window::BeforeTemp), WindowName(Window::InWrite),
                                 WindowName(Window::BeforeRename)};
    if (pair) out.push_back(WindowName(Window::BetweenRenames));
    out.push_back(WindowName(Window::After));
    return out;
}

// ---- The project ----

struct Project {
    std::string path;
    std::string variant[2];  // the two saves, one sounding's depth apart
    int points = 0;

    std::vector<std::string> SaveArgs(int v) const {
        return {"project-save", path, std::to_string(points), std::to_string(v)};
    }
};

struct Outcome {
    Window window = Window::BeforeTemp;
    std::string why;  // empty: all well
    int now = -1;     // which variant is in place afterwards
};

// What a killed project save left: the file is one of the two saves byte for byte, it
// opens, and the next save removes what the killed one left.
Outcome CheckProject(const Project& p, int before, int saving, const Finished& f, pid_t pid) {
    Outcome o;
    o.window = WindowOfSave({{p.path, &p.variant[before], &p.variant[saving]}}, pid, f.Has("end"));
    const std::string disk = ReadFile(p.path);
    o.now = disk == p.variant[saving] ? saving : disk == p.variant[before] ? before : -1;
    if (o.now < 0)
        o.why += "the project file is neither the old nor the new save (" + std::to_string(disk.size()) + " bytes)\n";
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    CTikDoc doc;
    if (!doc.OnOpenDocument(p.path)) {
        o.why += "the project does not open: " + doc.GetLastError() + "\n";
    } else if (!TempsOf(p.path).empty()) {
        if (!doc.OnSaveDocument(p.path)) o.why += "the next save failed: " + doc.GetLastError() + "\n";
        else if (ReadFile(p.path) != disk) o.why += "the next save of the opened project changed its bytes\n";
    }
    if (!TempsOf(p.path).empty()) o.why += "temporary files after the next save:\n" + TempList({p.path});
    return o;
}

// The project saved once in each variant, the second save in place.
void MakeProject(Project& p, int points) {
    p.path = Here() + "BIG.TIK";
    p.points = points;
    for (int v = 0; v < 2; ++v) {
        const Finished f = RunDriver(p.SaveArgs(v));
        ASSERT_EQ(f.exitCode, 0) << f.Transcript();
        p.variant[v] = ReadFile(p.path);
    }
    ASSERT_NE(p.variant[0], p.variant[1]);
}

TEST(ProjectSaveKills, AtRandomMomentsTheOldOrTheNewProjectOpens) {
    Project p;
    p.path = Here() + "BIG.TIK";
    p.points = kLargeProject;
    Finished f = RunDriver(p.SaveArgs(0));
    ASSERT_EQ(f.exitCode, 0) << f.Transcript();
    p.variant[0] = ReadFile(p.path);
    const double span = MeasureSpan(p.SaveArgs(1), &f);
    ASSERT_EQ(f.exitCode, 0) << f.Transcript();
    p.variant[1] = ReadFile(p.path);
    ASSERT_NE(p.variant[0], p.variant[1]);
    ASSERT_GT(p.variant[1].size(), 20u << 20);

    Tally tally("project save (" + std::to_string(p.variant[1].size() >> 20) + " MB), random kills",
                WindowNames(false));
    KillClock clock(kProjectSeed, span);
    int current = 1;
    for (int k = 1; k <= kProjectKills; ++k) {
        const int saving = 1 - current;
        pid_t pid = -1;
        const Finished killed = RunKilled(p.SaveArgs(saving), clock.Next(), {}, &pid);
        const Outcome o = CheckProject(p, current, saving, killed, pid);
        tally.Add(WindowName(o.window), o.why.empty());
        EXPECT_TRUE(o.why.empty()) << "kill " << k << " (" << WindowName(o.window) << "):\n"
                                   << o.why << killed.Transcript();
        if (o.now < 0) WriteFile(p.path, p.variant[current]);
        else current = o.now;
    }
    tally.Print();
}

TEST(ProjectSaveKills, AtEveryNamedMomentTheOldOrTheNewProjectOpens) {
    Project p;
    MakeProject(p, kSmallProject);
    if (HasFatalFailure()) return;
    Tally tally("project save, named kills", WindowNames(false));
    int current = 1;
    for (const char* moment : kMoments) {
        for (int nth = 1; nth <= kMaxPasses; ++nth) {
            const int saving = 1 - current;
            pid_t pid = -1;
            const Finished f = RunKilled(p.SaveArgs(saving), std::nullopt, {KillAt(moment, nth)}, &pid);
            if (!f.killed) {
                // The moment is passed fewer times than that: the save went through.
                EXPECT_EQ(f.exitCode, 0) << moment << ":" << nth << "\n" << f.Transcript();
                EXPECT_TRUE(ReadFile(p.path) == p.variant[saving]) << moment << ":" << nth;
                current = saving;
                break;
            }
            const Outcome o = CheckProject(p, current, saving, f, pid);
            tally.Add(WindowName(o.window), o.why.empty());
            EXPECT_TRUE(o.why.empty()) << moment << ":" << nth << " (" << WindowName(o.window) << "):\n" << o.why;
            if (o.now < 0) WriteFile(p.path, p.variant[current]);
            else current = o.now;
        }
    }
    tally.Print();
    EXPECT_GT(tally.Kills(), 0);
}

// ---- The calculation pair ----

struct Pair {
    std::string tyd, dpt;           // where the saves go
    std::string tydOf[2], dptOf[2];  // what the 20 m (0, "a") and 25 m (1, "b") saves write
    std::unique_ptr<CTydDoc> doc[2];  // each opened from its own save, for the next save

    std::vector<std::string> SaveArgs(int rounds, int first) const {
        return {"pair-save", tyd, std::to_string(rounds), first == 0 ? "a" : "b"};
    }
    int Which(const std::string& bytes, const std::string (&of)[2]) const {
        return bytes == of[0] ? 0 : bytes == of[1] ? 1 : -1;
    }
};

// Each calculation saved alone in a folder of its own and opened from there; then the
// 25 m pair put where the tests save, as <base>.TYD and <base>.DPT.
void MakePair(Pair& p, const std::string& base = "BAYCALC") {
    p.tyd = Here() + base + ".TYD";
    p.dpt = Here() + base + ".DPT";
    for (int v = 0; v < 2; ++v) {
        const std::string folder = Here() + (v == 0 ? "ref-20m/" : "ref-25m/");
        std::filesystem::create_directories(folder);
        const Finished f = RunDriver({"pair-save", folder + base + ".TYD", "1", v == 0 ? "a" : "b"});
        ASSERT_EQ(f.exitCode, 0) << f.Transcript();
        p.tydOf[v] = ReadFile(folder + base + ".TYD");
        p.dptOf[v] = ReadFile(folder + base + ".DPT");
        ScriptedUi ui;
        ScopedUi scoped(&ui);
        p.doc[v] = std::make_unique<CTydDoc>();
        ASSERT_TRUE(p.doc[v]->OnOpenDocument(folder + base + ".TYD"));
        ASSERT_EQ(p.doc[v]->m_mesh.GetMeshSize(), v == 0 ? 20.0 : 25.0);
    }
    ASSERT_NE(p.tydOf[0], p.tydOf[1]);
    ASSERT_NE(p.dptOf[0], p.dptOf[1]);
    WriteFile(p.tyd, p.tydOf[1]);
    WriteFile(p.dpt, p.dptOf[1]);
}

// The calculation open in this process from what a kill left: a whole pair opens in
// state 1 with the mesh its area lays out; a .TYD beside the other calculation's .DPT is
// refused or opens without the mesh, with a message naming both files. Then the next
// save: no temporary file stays.
Outcome CheckPair(Pair& p, int before, int saving, bool ended, pid_t pid, Tally& tally) {
    Outcome o;
    o.window = WindowOfSave({{p.tyd, &p.tydOf[before], &p.tydOf[saving]}, {p.dpt, &p.dptOf[before], &p.dptOf[saving]}},
                            pid, ended);
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    CTydDoc doc;
    const bool opened = doc.OnOpenDocument(p.tyd);
    std::string messages;
    for (const MessageRecord& m : ui.Messages()) messages += "  " + m.caption + ": " + m.text + "\n";
    const int t = p.Which(ReadFile(p.tyd), p.tydOf);
    const int d = p.Which(ReadFile(p.dpt), p.dptOf);
    const bool whole = t >= 0 && t == d;
    if (t < 0 || d < 0) {
        o.why += "a file of the pair is neither calculation's (.TYD " + std::to_string(t) + ", .DPT " +
                 std::to_string(d) + ")\n";
    } else if (whole) {
        if (!opened) o.why += "the pair of one calculation does not open:\n" + messages;
        else {
            if (!ui.Messages().empty()) o.why += "the pair opened with a message:\n" + messages;
            if (doc.m_info.m_nCalcState != 1) o.why += "opened in state " + std::to_string(doc.m_info.m_nCalcState) + "\n";
            if (doc.m_mesh.GetMeshCountX() != doc.m_calcArea.GetMeshCountX() ||
                doc.m_mesh.GetMeshCountY() != doc.m_calcArea.GetMeshCountY() ||
                doc.m_mesh.GetMeshSize() != doc.m_calcArea.GetMeshSize())
                o.why += "the mesh opened is not the one the area lays out\n";
        }
    } else {
        tally.Note("mixed pairs found at opening");
        bool named = false;
        for (const MessageRecord& m : ui.Messages())
            named = named || (m.text.find(FileNameOf(p.tyd)) != std::string::npos &&
                              m.text.find(FileNameOf(p.dpt)) != std::string::npos);
        if (opened && doc.m_mesh.GetCount() > 0)
            o.why += std::string("the .TYD of the ") + (t == 0 ? "20" : "25") + " m calculation beside the .DPT of the " +
                     (d == 0 ? "20" : "25") + " m one opened as a pair (state " +
                     std::to_string(doc.m_info.m_nCalcState) + ", area " + std::to_string(doc.m_calcArea.GetMeshCountX()) +
                     " x " + std::to_string(doc.m_calcArea.GetMeshCountY()) + ", mesh " +
                     std::to_string(doc.m_mesh.GetMeshCountX()) + " x " + std::to_string(doc.m_mesh.GetMeshCountY()) +
                     ")" + (named ? "\n" : " without a word\n");
        if (!named) o.why += "no message names both files\n" + messages;
    }
    // The next save: the calculation opened, or else one of the two saved anew.
    const int next = whole && opened ? t : 0;
    CTydDoc& saver = whole && opened ? doc : *p.doc[next];
    if (!saver.OnSaveDocument(p.tyd)) {
        o.why += "the next save failed\n";
    } else if (ReadFile(p.tyd) != p.tydOf[next] || ReadFile(p.dpt) != p.dptOf[next]) {
        o.why += "the next save did not write the calculation's own pair\n";
    }
    if (!TempsOf(p.tyd).empty() || !TempsOf(p.dpt).empty())
        o.why += "temporary files after the next save:\n" + TempList({p.tyd, p.dpt});
    o.now = p.Which(ReadFile(p.tyd), p.tydOf);
    return o;
}

TEST(PairSaveKills, AtRandomMomentsNoMixedPairOpens) {
    Pair p;
    MakePair(p);
    if (HasFatalFailure()) return;
    // Rounds alternate, so the pair being replaced is always the other calculation's.
    Finished f;
    const double span = MeasureSpan(p.SaveArgs(kPairRounds, 0), &f);
    ASSERT_EQ(f.exitCode, 0) << f.Transcript();
    int current = (kPairRounds % 2 == 0) ? 1 : 0;
    ASSERT_TRUE(ReadFile(p.tyd) == p.tydOf[current]);
    ASSERT_TRUE(ReadFile(p.dpt) == p.dptOf[current]);

    Tally tally("pair save (20 m / 25 m), random kills", WindowNames(true));
    KillClock clock(kPairSeed, span);
    for (int k = 1; k <= kPairKills; ++k) {
        const int first = 1 - current;
        pid_t pid = -1;
        const Finished killed = RunKilled(p.SaveArgs(kPairRounds, first), clock.Next(), {}, &pid);
        // The save going on: the last one begun ("save N a|b"), over the other calculation.
        const std::string last = killed.Last("save ");
        const int saving = last.empty() ? first : (last.back() == 'a' ? 0 : 1);
        const bool ended = killed.Has("end") ||
                           (!last.empty() && killed.Last("saved ") == "saved " + last.substr(5, last.size() - 7));
        const Outcome o = CheckPair(p, 1 - saving, saving, ended, pid, tally);
        tally.Add(WindowName(o.window), o.why.empty());
        EXPECT_TRUE(o.why.empty()) << "kill " << k << " (" << WindowName(o.window) << "):\n" << o.why
                                   << killed.Transcript();
        current = o.now >= 0 ? o.now : 0;
    }
    tally.Print("left anything but the old or the new pair");
}

TEST(PairSaveKills, AtEveryNamedMomentNoMixedPairOpens) {
    Pair p;
    MakePair(p);
    if (HasFatalFailure()) return;
    Tally tally("pair save, named kills", WindowNames(true));
    int current = 1;
    for (const char* moment : kMoments) {
        for (int nth = 1; nth <= kMaxPasses; ++nth) {
            const int saving = 1 - current;
            pid_t pid = -1;
            const Finished f = RunKilled(p.SaveArgs(1, saving), std::nullopt, {KillAt(moment, nth)}, &pid);
            if (!f.killed) {
                EXPECT_EQ(f.exitCode, 0) << moment << ":" << nth << "\n" << f.Transcript();
                current = saving;
                break;
            }
            const Outcome o = CheckPair(p, current, saving, false, pid, tally);
            tally.Add(WindowName(o.window), o.why.empty());
            EXPECT_TRUE(o.why.empty()) << moment << ":" << nth << " (" << WindowName(o.window) << "):\n" << o.why;
            current = o.now >= 0 ? o.now : 0;
        }
    }
    tally.Print("left anything but the old or the new pair");
    EXPECT_GT(tally.Kills(), 0);
}

// A base name of `bytes` bytes in UTF-8: Japanese, as a user names a calculation, made up
// to the length with `fill`.
std::string LongBase(std::size_t bytes, char fill) {
    std::string base;
    while (base.size() + 3 < bytes) base += "湾";
    base.append(bytes - base.size(), fill);
    return base;
}

// Names up to the 255 bytes a folder takes: the save killed between its two renames is
// finished by the next open whatever the length (198 and 199 bytes lie either side of
// where the two files' temporary names once came out the same; at 240 no whole name
// leaves room for the rest of a temporary name; 251 makes names of 255), and opening a calculation whose name
// differs from another's only after byte 200 leaves the other's pending file alone.
TEST(PairSaveKills, BetweenTheRenamesLongNamesFinishAsTheNewPair) {
    // The 20 m calculation saved over the 25 m one, killed once its .DPT is in place.
    auto killBetweenRenames = [](Pair& p, const std::string& what) {
        pid_t pid = -1;
        const Finished f = RunKilled(p.SaveArgs(1, 0), std::nullopt, {KillAt("set.first-in-place", 1)}, &pid);
        EXPECT_TRUE(f.killed) << what << "\n" << f.Transcript();
        EXPECT_TRUE(ReadFile(p.dpt) == p.dptOf[0] && ReadFile(p.tyd) == p.tydOf[1]) << what;
    };
    // The next open puts the save's .TYD in place and opens the pair of calculation `v`
    // without a word.
    auto expectPair = [](Pair& p, int v, const std::string& what) {
        ScriptedUi ui;
        ScopedUi scoped(&ui);
        CTydDoc doc;
        EXPECT_TRUE(doc.OnOpenDocument(p.tyd)) << what;
        for (const MessageRecord& m : ui.Messages()) ADD_FAILURE() << what << ": " << m.text;
        EXPECT_TRUE(ReadFile(p.tyd) == p.tydOf[v]) << what << ": the .TYD is not the calculation's own";
        EXPECT_TRUE(ReadFile(p.dpt) == p.dptOf[v]) << what;
        EXPECT_TRUE(TempsOf(p.tyd).empty() && TempsOf(p.dpt).empty()) << what << "\n" << TempList({p.tyd, p.dpt});
    };
    for (const std::size_t bytes : {198u, 199u, 240u, 251u}) {
        const std::string what = std::to_string(bytes) + " bytes";
        Pair p;
        MakePair(p, LongBase(bytes, 'A'));
        if (HasFatalFailure()) return;
        killBetweenRenames(p, what);
        expectPair(p, 0, what);
    }

    Pair a, b;
    MakePair(a, LongBase(240, 'A'));
    MakePair(b, LongBase(240, 'B'));
    if (HasFatalFailure()) return;
    killBetweenRenames(a, "the first of two names");
    expectPair(b, 1, "the other name");
    expectPair(a, 0, "after opening the calculation of the same first 237 bytes");
}

}  // namespace
}  // namespace wv::faultsuite
