// Scratch files, tiny meshes and a quiet UI for the tests of the calculation document and
// of the wave-calculation road.
#pragma once

#include "calc/calc_doc_data.h"
#include "calc/calc_state.h"
#include "calc/mesh_triangles.h"
#include "calcdoc/tyd_doc.h"
#include "core/calc_progress.h"
#include "platform/files.h"
#include "platform/ui_service.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
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

// Messages of a scripted UI whose text contains `part`.
inline int CountMessages(const ScriptedUi& ui, const std::string& part) {
    int n = 0;
    for (const MessageRecord& m : ui.Messages()) n += m.text.find(part) != std::string::npos ? 1 : 0;
    return n;
}

}  // namespace wv::roadtest
