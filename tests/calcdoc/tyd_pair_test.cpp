// A calculation is two files, NAME.TYD and NAME.DPT, and they must be of one calculation:
// the mesh in the .DPT is laid out by the area in the .TYD. A .TYD beside the .DPT of
// another calculation is named when it is opened; every pair the program writes opens
// without a word; and a save that fails or is killed at any moment leaves the old pair or
// the new one, never a mixture and never a temporary file after the next open.
#include "calc/calc_state.h"
#include "calcdoc/mesh_csv.h"
#include "calcdoc/wave_calc_command.h"
#include "calcdoc_test_util.h"
#include "platform/atomic_file.h"
#include "support/file_faults.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <dirent.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace wv {
namespace {

using roadtest::ReadAll;
using roadtest::Scratch;
using roadtest::WriteAll;

// One calculation's mesh over the example bay: the square x 0 .. 2400, y 200 .. 2600.
struct Mesh {
    int nodes;
    double spacing;
};
// Two meshes of the bay, and one with the first one's counts at another spacing.
constexpr Mesh kFine{25, 100.0};
constexpr Mesh kCoarse{21, 120.0};
constexpr Mesh kStretched{25, 90.0};

// Both files of a pair, as they lie on disk.
struct PairBytes {
    std::string tyd, dpt;
    bool operator==(const PairBytes&) const = default;
};

PairBytes BytesOf(const std::string& tyd) { return {ReadAll(tyd), ReadAll(SideFileName(tyd, "DPT"))}; }

void PutPair(const std::string& tyd, const PairBytes& p) {
    WriteAll(tyd, p.tyd);
    WriteAll(SideFileName(tyd, "DPT"), p.dpt);
}

// Names in a folder other than the ones given: what a save left behind.
std::vector<std::string> Extra(const std::string& folder, const std::vector<std::string>& expected) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        const std::string n = e.path().filename().string();
        bool known = false;
        for (const std::string& x : expected) known = known || n == x;
        if (!known) out.push_back(n);
    }
    return out;
}

// The main archive as the document would write it: its conditions, area, outlines and
// label positions.
std::string MainArchiveOf(CTydDoc& doc) {
    CArchive ar;
    doc.Serialize(ar);
    return std::string(ar.Bytes().begin(), ar.Bytes().end());
}

class TydPairTest : public roadtest::BayTest {
protected:
    void TearDown() override {
        faults::Clear();
        BayTest::TearDown();
    }

    void MakeCalc(CTydDoc& doc, CTydViewData& view, const std::string& name, Mesh mesh) {
        DepthsOnBay(doc, view, name, mesh.nodes, mesh.spacing);
    }

    // A calculation with its depths, saved as NAME; the bytes of its pair.
    PairBytes SavedCalc(const std::string& name, Mesh mesh) {
        CTydDoc doc;
        CTydViewData view(doc);
        MakeCalc(doc, view, name, mesh);
        EXPECT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
        return BytesOf(doc.GetPathName());
    }

    // Opens a pair the program wrote: no message, and the state and mesh it was saved with.
    void ExpectOpensSilently(const std::string& path, int state, int nodes, const char* what) {
        SCOPED_TRACE(what);
        ui.Clear();
        CTydDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(path));
        EXPECT_TRUE(ui.Messages().empty()) << ui.Messages()[0].text;
        EXPECT_EQ(doc.m_info.m_nCalcState, state);
        EXPECT_EQ(doc.m_mesh.GetCount(), nodes);
        EXPECT_FALSE(doc.IsModified());
    }
};

// The .TYD of one calculation beside the .DPT of another, in both directions, and with
// the counts alike but the spacing not: the user hears of both files and may open the
// calculation's conditions before the mesh (the mesh to be made again) or not at all.
TEST_F(TydPairTest, AMixedPairIsNamedAndOpensBeforeItsMesh) {
    const PairBytes fine = SavedCalc("FINE.TYD", kFine);
    const PairBytes coarse = SavedCalc("COARSE.TYD", kCoarse);
    const PairBytes stretched = SavedCalc("STRETCH.TYD", kStretched);
    struct Mix {
        const char* what;
        const PairBytes& tydOf;
        const PairBytes& dptOf;
        const char* tydName;
        const char* area;
        const char* mesh;
    } mixes[] = {
        {"fine conditions, coarse mesh", fine, coarse, "FINE.TYD", "25×25", "21×21"},
        {"coarse conditions, fine mesh", coarse, fine, "COARSE.TYD", "21×21", "25×25"},
        {"same counts, other spacing", fine, stretched, "FINE.TYD", "間隔 100m", "間隔 90m"},
        {"same counts, other spacing, the other way", stretched, fine, "STRETCH.TYD", "間隔 90m", "間隔 100m"},
    };
    const std::string path = Scratch() + "MIX.TYD";
    const std::string side = Scratch() + "MIX.DPT";
    for (const Mix& m : mixes) {
        SCOPED_TRACE(m.what);
        PutPair(path, {m.tydOf.tyd, m.dptOf.dpt});

        // Declined: the open is refused and the document is the one it was.
        CTydDoc doc;
        const std::string untouched = MainArchiveOf(doc);
        ui.Clear();
        ui.PushAnswer(IDCANCEL);
        EXPECT_FALSE(doc.OnOpenDocument(path));
        ASSERT_EQ(ui.Messages().size(), 1u);
        const MessageRecord said = ui.Messages()[0];
        EXPECT_NE(said.text.find(path), std::string::npos) << said.text;
        EXPECT_NE(said.text.find(side), std::string::npos) << said.text;
        EXPECT_NE(said.text.find(m.area), std::string::npos) << said.text;
        EXPECT_NE(said.text.find(m.mesh), std::string::npos) << said.text;
        EXPECT_EQ(said.buttons, MbButtons::OkCancel);
        EXPECT_EQ(MainArchiveOf(doc), untouched);
        EXPECT_EQ(doc.GetPathName(), "");
        EXPECT_EQ(doc.m_mesh.GetCount(), 0);

        // Accepted: the .TYD's conditions, area, outlines and label positions, in the
        // state before any mesh; the document differs from its files until saved.
        ui.Clear();
        ASSERT_TRUE(doc.OnOpenDocument(path));
        EXPECT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(doc.m_info.m_nCalcState, kCalcNoMesh);
        EXPECT_EQ(doc.m_mesh.GetCount(), 0);
        EXPECT_EQ(doc.m_mesh.GetMeshCountX(), 0);
        EXPECT_EQ(doc.m_nTriNodes, 0);
        EXPECT_TRUE(doc.IsModified());
        CTydDoc original;
        ASSERT_TRUE(original.OnOpenDocument(Scratch() + m.tydName));
        original.m_info.m_nCalcState = kCalcNoMesh;
        EXPECT_EQ(MainArchiveOf(doc), MainArchiveOf(original));
        // Nothing on disk has changed yet; saved, the pair is one calculation again.
        EXPECT_EQ(BytesOf(path), (PairBytes{m.tydOf.tyd, m.dptOf.dpt}));
        ASSERT_TRUE(doc.OnSaveDocument(path));
        ExpectOpensSilently(path, kCalcNoMesh, 0, "saved after the question");
    }
}

// Every pair the program writes goes together: new, with an area, with depths, with a
// run started and with results, opened without its .DPT and saved again, with a mesh
// from a mesh file, after the area changed, and with the spacing moved within what the
// wave conditions keep a mesh for.
TEST_F(TydPairTest, EveryPairTheProgramWritesOpensSilently) {
    CTydDoc doc;
    CTydViewData view(doc);
    roadtest::OpenNew(doc, "NEW.TYD");
    doc.m_calcArea.SetMeshCountX(30);
    doc.m_calcArea.SetMeshCountY(12);
    ASSERT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
    ExpectOpensSilently(doc.GetPathName(), kCalcNoMesh, 0, "an area, no depths");

    MakeCalc(doc, view, "BAY.TYD", kFine);
    const int nodes = doc.m_mesh.GetCount();
    ASSERT_GT(nodes, 100);
    ASSERT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
    ExpectOpensSilently(doc.GetPathName(), kCalcDepths, nodes, "depths");

    CWaveCalcSlot slot;
    ASSERT_EQ(OnWaveCalc(doc, view, frame, slot), 0);
    slot.Wait();
    ASSERT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
    ExpectOpensSilently(doc.GetPathName(), kCalcStarted, nodes, "a run started");
    ASSERT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);  // saves
    ExpectOpensSilently(doc.GetPathName(), kCalcResults, nodes, "results");

    // The mesh files written from it, read into a calculation of another area: the area
    // takes the file's counts and spacing.
    ASSERT_EQ(OnMeshFileOut(doc), 1);
    const std::string fromCsv = Scratch() + "CSV.TYD";
    int csvNodes = 0;
    {
        CTydDoc other;
        CTydViewData otherView(other);
        roadtest::OpenNew(other, "CSV.TYD");
        other.m_calcArea.SetMeshCountX(7);
        other.m_calcArea.SetMeshCountY(9);
        other.m_calcArea.SetMeshSize(12.5);
        WriteAll(MeshCsvFileName(fromCsv, 1), ReadAll(MeshCsvFileName(doc.GetPathName(), 1)));
        ASSERT_EQ(OnMeshFileIn(otherView), 0);
        EXPECT_EQ(other.m_calcArea.GetMeshCountX(), kFine.nodes);
        EXPECT_EQ(other.m_calcArea.GetMeshSize(), kFine.spacing);
        csvNodes = other.m_mesh.GetCount();
        ASSERT_TRUE(other.OnSaveDocument(fromCsv));
    }
    ExpectOpensSilently(fromCsv, kCalcDepths, csvNodes, "a mesh from its mesh file");
    // A hand-made mesh file with a spacing of its own.
    {
        CTydDoc other;
        CTydViewData otherView(other);
        roadtest::OpenNew(other, "HAND.TYD");
        WriteAll(MeshCsvFileName(other.GetPathName(), 1),
                 "3,2,12.34,0.00\r\n2.000,3.000,4.000\r\n1.000,2.000,3.000\r\n");
        ASSERT_EQ(OnMeshFileIn(otherView), 0);
        ASSERT_TRUE(other.OnSaveDocument(other.GetPathName()));
        ExpectOpensSilently(other.GetPathName(), kCalcDepths, 6, "a hand-made mesh file");
    }

    // The .DPT lost: opened before its mesh (after a question) and saved so; without
    // depths no .DPT is missed.
    const std::string lone = Scratch() + "LONE.TYD";
    WriteAll(lone, ReadAll(doc.GetPathName()));
    {
        CTydDoc reopened;
        ASSERT_TRUE(reopened.OnOpenDocument(lone));
        ASSERT_TRUE(reopened.OnSaveDocument(lone));
    }
    ExpectOpensSilently(lone, kCalcNoMesh, 0, "saved before its mesh");
    ASSERT_TRUE(DeleteFileSilently(SideFileName(lone, "DPT")));
    ExpectOpensSilently(lone, kCalcNoMesh, 0, "no depths, no .DPT");

    // The wave conditions keep the mesh when the spacing moves by 0.0001 or less.
    doc.m_calcArea.SetMeshSize(kFine.spacing + 0.00009);
    ASSERT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
    ExpectOpensSilently(doc.GetPathName(), kCalcResults, nodes, "spacing moved a little");

    // An area changed clears the mesh.
    doc.m_calcArea.SetMeshCountX(kFine.nodes + 3);
    doc.ClearMeshData(0);
    doc.ClearWaveResults(view);
    ASSERT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
    ExpectOpensSilently(doc.GetPathName(), kCalcNoMesh, 0, "area changed");
}

// A save that fails at any step of either file, or is refused, keeps the old pair byte
// for byte and says which file could not be saved; the document stays modified under its
// own name. A rename that fails once the .DPT is in place is finished at once.
TEST_F(TydPairTest, AFailedSaveKeepsTheOldPair) {
    const std::string path = Scratch() + "P.TYD";
    const PairBytes old = SavedCalc("P.TYD", kFine);
    int oldNodes = 0;
    {
        CTydDoc d;
        ASSERT_TRUE(d.OnOpenDocument(path));
        oldNodes = d.m_mesh.GetCount();
    }
    CTydDoc doc;
    CTydViewData view(doc);
    MakeCalc(doc, view, "Q.TYD", kCoarse);
    const std::string own = doc.GetPathName();
    struct Case {
        faults::Op op;
        int err;
        const char* file;
    } cases[] = {
        {faults::Op::Create, EACCES, ".DPT"}, {faults::Op::Create, EMFILE, ".TYD"},
        {faults::Op::Write, ENOSPC, ".DPT"},  {faults::Op::Write, EDQUOT, ".TYD"},
        {faults::Op::Fsync, EIO, ".DPT"},     {faults::Op::Fsync, EIO, ".TYD"},
        {faults::Op::Rename, EIO, ".DPT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " op " + std::to_string(static_cast<int>(c.op)));
        ui.Clear();
        doc.SetModifiedFlag(true);
        faults::FailAt(c.op, 1, c.err, c.file);
        EXPECT_FALSE(doc.OnSaveDocument(path));
        faults::Clear();
        EXPECT_EQ(BytesOf(path), old);
        EXPECT_TRUE(Extra(Scratch(), {"P.TYD", "P.DPT", "Q.TYD", "Q.DPT", "CALC.DAT", "timecheck"}).empty());
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(doc.GetPathName(), own);
        ASSERT_EQ(ui.Messages().size(), 1u);
        const std::string failed = SideFileName(path, c.file + 1);
        EXPECT_EQ(ui.Messages()[0].text,
                  failed + "\nファイルに保存できません。\n(" + failed + ": " + SystemErrorText(c.err) + ")");
        ExpectOpensSilently(path, kCalcDepths, oldNodes, "the old pair");
    }

    // Refused before anything is written: a read-only .TYD.
    ::chmod(path.c_str(), 0444);
    ui.Clear();
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_EQ(BytesOf(path), old);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text.rfind(path + "\n", 0), 0u) << ui.Messages()[0].text;
    ::chmod(path.c_str(), 0644);

    // The .TYD's rename failing after the .DPT went into place: tried again, and saved.
    ui.Clear();
    faults::FailAt(faults::Op::Rename, 1, EIO, ".TYD");
    EXPECT_TRUE(doc.OnSaveDocument(path));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_FALSE(doc.IsModified());
    ExpectOpensSilently(path, kCalcDepths, doc.m_mesh.GetCount(), "the new pair");
    EXPECT_TRUE(Extra(Scratch(), {"P.TYD", "P.DPT", "Q.TYD", "Q.DPT", "CALC.DAT", "timecheck"}).empty());
}

}  // namespace
}  // namespace wv
