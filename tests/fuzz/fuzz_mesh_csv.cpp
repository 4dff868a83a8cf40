// The mesh file input (<base>_M1.CSV and the rest of a split set, cut from the input at
// lines "=M="). A refused file changes nothing and says why. A file taken gives a mesh of
// finite depths, and that mesh written out reads back as the same mesh: the same counts,
// exactly the same spacing, every depth to the file's millimetre; written again it gives
// the same bytes.
//
// Files whose header claims more than kMaxCells cells are passed over: the input sizes its
// table from the header before it reads a row, and its refusal of meshes beyond the
// machine's memory is tested on its own.
#include "fuzz_support.h"

#include "calc/calc_state.h"
#include "calcdoc/mesh_csv.h"
#include "calcdoc/tyd_doc.h"
#include "core/geometry.h"
#include "platform/files.h"
#include "platform/ui_service.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace wv;

constexpr double kMaxCells = 250000;
constexpr float kLand = -std::numeric_limits<float>::infinity();

struct MeshShot {
    int cols = 0, rows = 0, areaCols = 0, areaRows = 0, state = 0, count = 0, triangles = 0;
    double spacing = 0, areaSpacing = 0;
    bool modified = false;
    std::vector<float> depth;  // row by row, kLand for land

    bool operator==(const MeshShot&) const = default;
};

MeshShot Shot(const CTydDoc& doc) {
    MeshShot s;
    const CDigitalMap& m = doc.m_mesh;
    s.cols = m.GetMeshCountX();
    s.rows = m.GetMeshCountY();
    s.spacing = m.GetMeshSize();
    s.areaCols = doc.m_calcArea.GetMeshCountX();
    s.areaRows = doc.m_calcArea.GetMeshCountY();
    s.areaSpacing = doc.m_calcArea.GetMeshSize();
    s.state = doc.m_info.m_nCalcState;
    s.count = m.GetCount();
    s.triangles = doc.m_nTriNodes;
    s.modified = doc.IsModified();
    if (s.count > 0)
        for (int r = 0; r < s.rows; ++r)
            for (int c = 0; c < s.cols; ++c) {
                const int n = m.GetNodeIndex(r, c);
                s.depth.push_back(n < 0 ? kLand : m.GetAt(n).GetDepth());
            }
    return s;
}

struct Harness {
    CTydDoc doc;
    CTydViewData view{doc};
    Harness() {
        const std::string path = fuzz::Scratch() + "MESH.TYD";
        fuzz::WriteFile(path, "");
        fuzz::Check(doc.OnOpenDocument(path), "a new calculation opens");
    }
    std::string M(int k) const { return MeshCsvFileName(doc.GetPathName(), k); }
    std::string Files(int count) const {
        std::string all;
        for (int k = 1; k <= count; ++k) all += fuzz::ReadFile(M(k)) + "|";
        return all;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Harness h;
    fuzz::SilentUi().Clear();
    for (int k = 1; k <= 6; ++k) DeleteFileSilently(h.M(k));

    // A mesh to replace, so that a refusal can be seen to keep it.
    fuzz::WriteFile(h.M(1), "3,2,10.0\r\n1,2,3\r\n4,5,6\r\n");
    fuzz::Check(OnMeshFileIn(h.view) == 0, "the mesh before the input reads");
    h.doc.SetModifiedFlag(false);

    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> files;
    for (std::size_t pos = 0;;) {
        const std::size_t cut = text.find("\n=M=\n", pos);
        if (cut == std::string::npos || files.size() == 4) {
            files.push_back(text.substr(pos));
            break;
        }
        files.push_back(text.substr(pos, cut + 1 - pos));
        pos = cut + 5;
    }
    {
        const std::string header = files[0].substr(0, files[0].find('\n'));
        double v[5] = {};
        int n[5] = {};
        if (ParseNumberLine(header.c_str(), v, n, 4) >= 2 && std::fabs(v[0] * v[1]) > kMaxCells) return 0;
    }
    for (std::size_t k = 0; k < files.size(); ++k) fuzz::WriteFile(h.M(static_cast<int>(k) + 1), files[k]);

    const MeshShot before = Shot(h.doc);
    const int result = OnMeshFileIn(h.view);
    if (result < 0) {
        fuzz::Check(Shot(h.doc) == before, "a refused mesh file changes nothing");
        fuzz::Check(!fuzz::SilentUi().Messages().empty(), "a refused mesh file says why");
        return 0;
    }
    if (result == 1) {
        // Sea nodes that make no triangle: the mesh goes, as the depth calculation's would.
        fuzz::Check(h.doc.m_info.m_nCalcState == kCalcNoMesh && h.doc.m_mesh.GetCount() == 0 && h.doc.IsModified(),
                    "a mesh without triangles leaves no mesh");
        return 0;
    }
    fuzz::Check(result == 0, "the input ends in one of its three ways");

    const MeshShot first = Shot(h.doc);
    fuzz::Check(first.state == kCalcDepths && first.modified, "a mesh read in is state 1 and modified");
    fuzz::Check(first.cols >= 2 && first.rows >= 2 && first.spacing >= 0.0001 && std::isfinite(first.spacing),
                "a mesh read in has usable counts and spacing");
    fuzz::Check(first.areaCols == first.cols && first.areaRows == first.rows && first.areaSpacing == first.spacing,
                "the calculation area follows the mesh read in");
    int sea = 0;
    bool tiny = false;  // a depth the file's three decimals write as 0.000
    for (float d : first.depth) {
        if (d == kLand) continue;
        ++sea;
        fuzz::Check(std::isfinite(d) && d >= 0.0001f, "every depth read in is a finite depth");
        tiny = tiny || d < 0.0005f;
    }
    fuzz::Check(sea == first.count, "every sea node has its record");
    for (int i = 0; i < first.count; ++i) {
        const CPointF p = h.doc.m_mesh.GetAt(i).GetPos();
        fuzz::Check(std::isfinite(p.m_fX) && std::isfinite(p.m_fY), "every node lies at a finite position");
    }

    // Written out and read back.
    const bool split = first.cols > kCsvColumnsPerFile && size % 2 == 1;
    const int written = WriteMeshCsvFiles(h.doc, split);
    fuzz::Check(written >= 1, "a mesh read in is written out");
    fuzz::Check(!FileExists(h.M(written + 1)), "no older file is left beside the set");
    const std::string bytes = h.Files(written);
    fuzz::SilentUi().Clear();
    const int again = OnMeshFileIn(h.view);
    fuzz::Check(again == 0 || tiny, "a mesh file the program wrote reads back");
    if (again != 0) return 0;
    const MeshShot second = Shot(h.doc);
    fuzz::Check(second.cols == first.cols && second.rows == first.rows, "the counts read back as written");
    fuzz::Check(second.spacing == first.spacing && second.areaSpacing == first.spacing,
                "the spacing reads back as exactly the same value");
    for (std::size_t i = 0; i < first.depth.size(); ++i) {
        const float d1 = first.depth[i], d2 = second.depth[i];
        if (d1 == kLand || d1 < 0.0005f) {
            fuzz::Check(d2 == kLand, "land, and depths below half a millimetre, read back as land");
            continue;
        }
        fuzz::Check(d2 != kLand && std::fabs(static_cast<double>(d2) - d1) <= 0.0005 + std::fabs(d1) * 0x1p-22,
                    "every depth reads back to the file's millimetre");
    }
    fuzz::Check(WriteMeshCsvFiles(h.doc, split) == written && h.Files(written) == bytes,
                "a mesh read back writes the same files");
    return 0;
}
