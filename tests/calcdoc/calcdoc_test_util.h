// Scratch files, tiny meshes and a quiet UI for the tests of the calculation document and
// of the wave-calculation road.
#pragma once

#include "calc/cal_threads.h"
#include "calc/calc_doc_data.h"
#include "calc/calc_state.h"
#include "calc/mesh_orientation.h"
#include "calc/mesh_triangles.h"
#include "calc/result_loader.h"
#include "calcdoc/tyd_doc.h"
#include "core/calc_progress.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui_service.h"
#include "project/tik_doc.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <string>
#include <vector>

namespace wv::roadtest {

// A calculation document without archives.
class TestDoc : public CTydDocData {
public:
    void Serialize(CArchive&) override {}
};

// The test's scratch folder (the current folder), ending in '/'.
inline std::string Scratch() { return std::filesystem::current_path().string() + "/"; }

// Moves into a folder named after the running test inside its scratch folder: each run
// of the solver rewrites "CALC.DAT" in its start folder.
inline void EnterOwnFolder() {
    const std::filesystem::path base = std::filesystem::current_path();
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path folder = base;
    if (info) folder /= std::string(info->test_suite_name()) + "." + info->name();
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
}

inline std::string Golden(const std::string& name) { return std::string(WAVORA_TEST_DATA) + "/calcdoc/" + name; }

inline std::string ReadAll(const std::string& path) {
    std::string s;
    ReadWholeFile(path, s, nullptr);
    return s;
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(AtomicWriteFile(path, bytes, nullptr)) << path;
}

inline void CopyGolden(const std::string& name, const std::string& to) { WriteAll(to, ReadAll(Golden(name))); }

// The start folder is the test's own scratch folder, with no calculation running.
inline void UseScratchStartFolder() {
    EnterOwnFolder();
    SetStartFolder(Scratch());
    WriteAll(StartFolderFile("CALC.DAT"), "0\r\n");
}

// A new calculation as the program makes one: an empty file, opened. Side files left in
// the scratch folder by an earlier test go first.
inline void OpenNew(CTydDoc& doc, const std::string& name) {
    const std::string path = Scratch() + name;
    for (const char* ext : {"DPT", "CAL", "DEC", "KKA", "YNO"}) DeleteFileSilently(SideFileName(path, ext));
    WriteAll(path, "");
    ASSERT_TRUE(doc.OnOpenDocument(path));
}

// A mesh given row by row from the bottom row (y = 0): one depth per node, NaN for land.
// Sea nodes are numbered row by row and placed at (column, row) x spacing, as the depth
// calculation leaves them; the calculation area matches and the state is 1.
inline void SetMesh(CTydDocData& doc, int rows, int cols, const std::vector<double>& depths,
                    double spacing = 10.0) {
    CDigitalMap& mesh = doc.m_mesh;
    int sea = 0;
    for (double d : depths) sea += std::isnan(d) ? 0 : 1;
    mesh.SetCount(sea);
    mesh.SetMeshCountX(cols);
    mesh.SetMeshCountY(rows);
    mesh.SetMeshSize(spacing);
    mesh.AllocValues();
    mesh.AllocDepthFlag();
    mesh.AllocHeightFlag();
    mesh.AllocDirFlag();
    mesh.AllocVectorFlag();
    mesh.AllocNodeIndex();
    int next = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const double d = depths[static_cast<std::size_t>(r) * cols + c];
            if (std::isnan(d)) {
                mesh.SetNodeIndex(r, c, -1);
                continue;
            }
            CCalValue v;
            v.SetPos(static_cast<float>(c * spacing), static_cast<float>(r * spacing));
            v.SetDepth(static_cast<float>(d));
            mesh.SetAt(next, v);
            mesh.SetNodeIndex(r, c, next++);
        }
    mesh.CalcDepthRange();
    doc.m_calcArea.SetMeshSize(spacing);
    doc.m_calcArea.SetMeshCountX(cols);
    doc.m_calcArea.SetMeshCountY(rows);
    doc.m_info.m_nCalcState = kCalcDepths;
}

// Triangulates the view's mesh behind a progress window nobody sees.
inline void Triangulate(CTydViewData& view) {
    SetCalcProgressFactory([] { return std::unique_ptr<CCalcProgressDlg>(new CTestCalcProgressDlg()); });
    ASSERT_EQ(BuildMeshTriangles(view, 1), 0);
    SetCalcProgressFactory(nullptr);
}

// The mesh of the hand-written solver inputs: 3 columns, 2 rows, the upper middle node
// land.
inline const std::vector<double>& TinyDepths() {
    static const std::vector<double> d{5.5, 4.25, 3.0, 2.75, std::nan(""), 1.5};
    return d;
}

// One result record in the solver's layout: ten fields, each followed by a blank.
inline std::string KkaRecord(double x, double y, double depth, double ratio, double equiv, double dir) {
    return Sprintf("%10.3f %10.3f %10.3f %9.4f %9.4f %9.4f %9.4f %9.4f %9.4f %9.4f ", x, y, depth, ratio,
                   equiv, ratio, 1.0, dir, ratio, 0.0);
}

// The result file of a run of the tiny mesh (TinyDepths, spacing 10) in orientation
// `code`: the record of solver node (i, j) carries the ratio 0.1 x (record number + 1)
// and the direction dirStep x (record number + 1), so every node can tell which record it
// got. `count` records (all of them by default); x shifted by `xShift`.
inline std::string TinyKka(int code, int count = -1, double xShift = 0.0, double dirStep = 10.0) {
    const SolverGrid g = SolverGridOf(code, 2, 3);
    std::string text;
    int n = 0;
    for (int i = 0; i < g.nx; ++i)
        for (int j = 0; j < g.ny; ++j, ++n) {
            if (count >= 0 && n >= count) break;
            int r = 0, c = 0;
            SolverNodeToMesh(code, 2, 3, i, j, &r, &c);
            const double depth = (r == 1 && c == 1) ? -9999.0 : TinyDepths()[r * 3 + c];
            text += KkaRecord(i * 10.0 + xShift, j * 10.0, depth, 0.1 * (n + 1), 0.05 * (n + 1), dirStep * (n + 1));
            text += "\r\n";
        }
    return text;
}

// For the life of the scope the process may map at most `bytes` more than it maps now:
// work that should hold next to nothing fails with std::bad_alloc at once instead of
// taking the machine's memory for minutes.
struct AddressSpaceRoom {
    explicit AddressSpaceRoom(std::uint64_t bytes) {
        getrlimit(RLIMIT_AS, &saved);
        std::uint64_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        rlimit room{std::min<std::uint64_t>(pages * sysconf(_SC_PAGE_SIZE) + bytes, saved.rlim_max), saved.rlim_max};
        EXPECT_EQ(setrlimit(RLIMIT_AS, &room), 0);
    }
    ~AddressSpaceRoom() { setrlimit(RLIMIT_AS, &saved); }
    rlimit saved{};
};

// Runs `work` in a forked child that may map at most `room` bytes more than it maps then:
// the child's exit code is what `work` returns, or minus the signal that ended it.
inline int InChildWithAddressRoom(std::uint64_t room, const std::function<int()>& work) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code;
        {
            AddressSpaceRoom limit(room);
            code = work();
        }
        std::_Exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

// What the document would save, its view's output-point values, its batch marker and
// whether it is modified: all that a command that fails must leave as it was.
inline std::string Fingerprint(CTydDoc& doc, const CTydViewData& view) {
    const std::string path = doc.GetPathName();
    const bool modified = doc.IsModified();
    std::string out = modified ? "modified\n" : "saved\n";
    const std::string copy = FolderOf(path) + "print.TYD";
    EXPECT_TRUE(doc.OnSaveDocument(copy));
    doc.SetPathName(path);
    doc.SetModifiedFlag(modified);
    for (const char* ext : {"TYD", "DPT"}) {
        std::string bytes;
        ReadWholeFile(SideFileName(copy, ext), bytes, nullptr);
        out += bytes;
    }
    for (double v : view.m_pCalcPtValue) out += std::to_string(v) + ",";
    out += FileExists(doc.SideFile("YNO")) ? "marker" : "no marker";
    return out;
}

// A progress window whose n-th pump (counted over the whole command) finds no memory, as
// anything the command allocates there could.
class MemoryRunsOut : public CTestCalcProgressDlg {
public:
    static inline int pumpsLeft = -1;
    void PumpMessages() override {
        if (pumpsLeft >= 0 && pumpsLeft-- == 0) throw std::bad_alloc();
    }
    static void Install() {
        SetCalcProgressFactory([] { return std::unique_ptr<CCalcProgressDlg>(new MemoryRunsOut()); });
    }
};

// Messages of a scripted UI whose text contains `part`.
inline int CountMessages(const ScriptedUi& ui, const std::string& part) {
    int n = 0;
    for (const MessageRecord& m : ui.Messages()) n += m.text.find(part) != std::string::npos ? 1 : 0;
    return n;
}

// Waves of 2 m and 8 s from the north, in 36 directions and 5 frequencies.
inline void WavesFromTheNorth(CTyd_Inf& info) {
    info.m_nDirMode = 0;
    info.m_nDir16 = 0;
    info.m_dH0 = 2.0;
    info.m_dT0 = 8.0;
    info.m_nDirDiv = 36;
    info.m_nFreqDiv = 5;
}

// Tests on the example bay (link wavora_project): its project open, a quiet UI, and what
// the calculations on it leave behind (solver threads, the terrain tables) gone at the end.
class BayTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseScratchStartFolder();
        SetCalcProgressFactory([] { return std::unique_ptr<CCalcProgressDlg>(new CTestCalcProgressDlg()); });
        ASSERT_TRUE(project.OnOpenDocument(std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY/BAY.TIK"));
    }
    void TearDown() override {
        SetCalcProgressFactory(nullptr);
        CCalThreads::CancelAndJoinAll();
        ResetTikData();
    }

    // A new calculation NAME over the bay: `nodes` x `nodes` nodes `spacing` apart from
    // (0, 200), waves from the north, its depths computed.
    void DepthsOnBay(CTydDoc& doc, CTydViewData& view, const std::string& name, int nodes, double spacing) {
        OpenNew(doc, name);
        doc.m_calcArea.SetOrigin(0.0, 200.0);
        doc.m_calcArea.SetMeshSize(spacing);
        doc.m_calcArea.SetMeshCountX(nodes);
        doc.m_calcArea.SetMeshCountY(nodes);
        WavesFromTheNorth(doc.m_info);
        ComputeDepths(doc, view);
    }

    // The depth calculation command on the document's area, in the view's `frame` (the
    // angle the document's conditions give, the area's origin at the view's).
    void ComputeDepths(CTydDoc& doc, CTydViewData& view) {
        frame = CalcViewFrame();
        frame.angle = CalcViewAngle(doc);
        frame.originX = doc.m_calcArea.GetOrigin().m_dX;
        frame.originY = doc.m_calcArea.GetOrigin().m_dY;
        ASSERT_EQ(doc.OnCalcDepth(view, frame), 0);
        ASSERT_EQ(doc.m_info.m_nCalcState, kCalcDepths);
    }

    ScriptedUi ui;
    ScopedUi scoped{&ui};
    CTikDoc project;
    CalcViewFrame frame;
};

}  // namespace wv::roadtest
