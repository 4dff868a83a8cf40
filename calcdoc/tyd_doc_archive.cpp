// The archives of the calculation document: the main archive <name>.TYD (conditions,
// contour parameters, area, block outlines, output-point label positions) and the side
// archive <base>.DPT (mesh, triangulation, depth-check contours, contour lines and the
// remembered contour segments).
//
// Both are read whole and checked before the document changes: every count against what
// the file can hold, every index against the table it points into. A file that fails is
// refused with a message naming it, and the document stays as it was, the .TYD and the
// .DPT together.
#include "calc/calc_state.h"
#include "calcdoc/calcdoc_messages.h"
#include "calcdoc/tyd_doc.h"
#include "core/sansyutu.h"
#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui_service.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <new>
#include <optional>
#include <utility>
#include <vector>

namespace wv {

namespace {

// Version written by this program; older files load with the fields their version has.
constexpr std::int32_t kTydVersion = 12;

std::int32_t ReadVersion(CArchive& ar, const char* what) {
    std::int32_t v = 0;
    ar >> v;
    CArchive::CheckRange(v, 1, kTydVersion, what);
    return v;
}

// What the main archive holds, read into copies of the document's records so that a
// field an older file lacks keeps the document's value.
struct MainArchive {
    CTyd_Inf info;
    CZmn_Inf zmn;
    CContPara contPara;
    std::array<CContPara, kValueTypes> contParaFig;
    CCalArea calcArea;
    CBlkXY blkXY;
    std::vector<CPointD> calcPoints;
};

// Reads a main archive into copies of the document's records, so that a field an older
// file lacks keeps the document's value; the document itself is not touched.
MainArchive ReadMainArchive(CArchive& ar, const CTydDoc& doc) {
    MainArchive m{doc.m_info, doc.m_zmn, doc.m_contPara, doc.m_contParaFig, doc.m_calcArea, doc.m_blkXY,
                  doc.m_pCalcPoints};
    const std::int32_t version = ReadVersion(ar, docmsg::kWhatTydVersion);
    const unsigned v = static_cast<unsigned>(version);
    m.info.Serialize(ar, v);
    CArchive::CheckRange(m.info.m_nDir16, 0, kDir16Count - 1, docmsg::kWhatDir16);
    m.zmn.Serialize(ar, v);
    CArchive::CheckRange(m.zmn.m_nPaperSize, 0, kPaperSizeCount - 1, docmsg::kWhatPaperSize);
    CArchive::CheckRange(m.zmn.m_nLandColor, 0, kLandColorCount - 1, docmsg::kWhatLandColour);
    CArchive::CheckRange(m.zmn.m_nValueType, 0, kValueTypes - 1, docmsg::kWhatValueType);
    m.contPara.Serialize(ar, v);
    for (CContPara& para : m.contParaFig) para.Serialize(ar, v);
    m.calcArea.Serialize(ar, v);
    m.blkXY.Serialize(ar, v);
    std::int32_t labels = 0;
    ar >> labels;
    // One position per slot of the output-point table; a file with more has positions
    // for points that cannot exist.
    ar.CheckCount(labels, CSansyutu::kCapacity, 16, docmsg::kWhatLabelPositions);
    m.calcPoints.resize(static_cast<std::size_t>(std::max(0, g_calcPoints.GetSize())), CPointD::Unset());
    if (m.calcPoints.size() < static_cast<std::size_t>(labels)) m.calcPoints.resize(labels, CPointD::Unset());
    for (std::int32_t i = 0; i < labels; ++i) m.calcPoints[i].Serialize(ar, v);
    return m;
}

// What the side archive holds, plus what is rebuilt from it.
struct SideArchive {
    CDigitalMap mesh;
    CTriLine triLine;
    CHCheckPoint hcheckPoints;
    CHCheckLine hcheckLines;
    CContGroup contGroup;
    std::array<CContHgtPos, kValueTypes> labelPos;
    std::array<CContHgtPos, kValueTypes> labelPos2;
    int valueType = 0;  // the figure whose marks the label sets were collected for
    int triCount = 0;
    std::vector<int> triNodeA;
    std::vector<int> triNodeB;
    std::vector<int> edgePairs;
};

void ReadIndexTable(CArchive& ar, std::vector<int>& table, std::int64_t count, int lo, int hi,
                    const char* what) {
    table.resize(static_cast<std::size_t>(count));
    for (int& e : table) {
        ar >> e;
        CArchive::CheckRange(e, lo, hi, what);
    }
}

// Every sea node sits at exactly one grid position: the loader and the mesh files walk
// the grid and take the node each position names.
void CheckNodeTable(const CDigitalMap& mesh) {
    std::vector<char> seen(static_cast<std::size_t>(std::max(0, mesh.GetCount())), 0);
    std::int64_t placed = 0;
    for (int r = 0; r < mesh.GetMeshCountY(); ++r)
        for (int c = 0; c < mesh.GetMeshCountX(); ++c) {
            const int node = mesh.GetNodeIndex(r, c);
            if (node < 0) continue;
            if (seen[static_cast<std::size_t>(node)])
                throw ArchiveError(docmsg::kNodePlacedTwice + std::to_string(node));
            seen[static_cast<std::size_t>(node)] = 1;
            ++placed;
        }
    if (placed != mesh.GetCount())
        throw ArchiveError(docmsg::kNodesOffGrid + std::to_string(mesh.GetCount() - placed));
}

SideArchive ReadSideArchive(CArchive& ar) {
    SideArchive s;
    const std::int32_t v = ReadVersion(ar, docmsg::kWhatSideVersion);
    s.mesh.Serialize(ar, static_cast<unsigned>(v));
    CheckNodeTable(s.mesh);
    s.triLine.Serialize(ar, static_cast<unsigned>(v));
    s.triLine.CheckNodeIndices(s.mesh.GetCount());
    s.hcheckPoints.Serialize(ar, static_cast<unsigned>(v));
    s.hcheckLines.Serialize(ar, static_cast<unsigned>(v));
    s.hcheckLines.CheckPointIndices(s.hcheckPoints.GetCount());
    s.contGroup.Serialize(ar, static_cast<unsigned>(v));
    std::int32_t valueType = 0;
    ar >> valueType;
    CArchive::CheckRange(valueType, 0, kValueTypes - 1, docmsg::kWhatSavedValueType);
    s.valueType = valueType;
    for (CContHgtPos& set : s.labelPos) set.Serialize(ar, static_cast<unsigned>(v));
    for (CContHgtPos& set : s.labelPos2) set.Serialize(ar, static_cast<unsigned>(v));

    std::int32_t triangles = 0;
    ar >> triangles;
    // Each triangle takes three edge numbers and three node numbers: 24 bytes.
    ar.CheckCount(triangles, INT_MAX / 3, 24, docmsg::kWhatTriangles);
    s.triCount = triangles;
    const int edges = s.triLine.GetCount();
    ReadIndexTable(ar, s.triNodeA, 3LL * triangles, 0, edges - 1, docmsg::kWhatTriangleEdge);
    ReadIndexTable(ar, s.triNodeB, 3LL * triangles, 0, s.mesh.GetCount() - 1, docmsg::kWhatTriangleNode);
    ar.CheckCount(2LL * edges, INT_MAX, 4, docmsg::kWhatEdgeSides);
    ReadIndexTable(ar, s.edgePairs, 2LL * edges, -1, triangles - 1, docmsg::kWhatEdgeSide);
    return s;
}

// The side archive of a document: items in file order. The marks on the contours of the
// current figure are collected into its label sets first; the flags themselves are not
// stored.
std::vector<std::uint8_t> WriteSideArchive(CTydDoc& doc) {
    const int figure = doc.m_zmn.m_nValueType;
    doc.CollectContHgtPos(figure);
    doc.CollectContHgtPosB(figure);
    CArchive ar;
    ar << kTydVersion;
    const unsigned v = kTydVersion;
    doc.m_mesh.Serialize(ar, v);
    doc.m_triLine.Serialize(ar, v);
    doc.m_hcheckPoints.Serialize(ar, v);
    doc.m_hcheckLines.Serialize(ar, v);
    doc.m_contGroup.Serialize(ar, v);
    ar << static_cast<std::int32_t>(doc.m_zmn.m_nValueType);
    for (CContHgtPos& set : doc.m_labelPos) set.Serialize(ar, v);
    for (CContHgtPos& set : doc.m_labelPos2) set.Serialize(ar, v);
    const int triangles = std::max(0, doc.m_nTriNodes);
    ar << static_cast<std::int32_t>(triangles);
    const std::size_t n = 3 * static_cast<std::size_t>(triangles);
    for (std::size_t i = 0; i < n; ++i)
        ar << static_cast<std::int32_t>(i < doc.m_pTriNodeA.size() ? doc.m_pTriNodeA[i] : 0);
    for (std::size_t i = 0; i < n; ++i)
        ar << static_cast<std::int32_t>(i < doc.m_pTriNodeB.size() ? doc.m_pTriNodeB[i] : 0);
    const std::size_t pairs = 2 * static_cast<std::size_t>(std::max(0, doc.m_triLine.GetCount()));
    for (std::size_t i = 0; i < pairs; ++i)
        ar << static_cast<std::int32_t>(i < doc.m_pEdgePairs.size() ? doc.m_pEdgePairs[i] : -1);
    return ar.Bytes();
}

// Smallest and largest value of one kind over the three nodes of every triangle.
void TriangleRanges(const CTydDocData& doc, int kind, std::vector<float>& lo, std::vector<float>& hi) {
    const std::size_t count = static_cast<std::size_t>(doc.m_nTriNodes);
    lo.assign(count, 0.0f);
    hi.assign(count, 0.0f);
    const double h0 = doc.m_mesh.GetWaveHeight();
    for (std::size_t t = 0; t < count; ++t) {
        double mn = 0.0, mx = 0.0;
        for (int k = 0; k < 3; ++k) {
            const CCalValue node = doc.m_mesh.GetAt(doc.m_pTriNodeB[3 * t + k]);
            const double value = kind < 0 ? node.GetDepth() : node.GetValue(kind, h0);
            if (k == 0 || value < mn) mn = value;
            if (k == 0 || value > mx) mx = value;
        }
        lo[t] = static_cast<float>(mn);
        hi[t] = static_cast<float>(mx);
    }
}

// Takes over a side archive that has been read, or an empty one, and rebuilds what the
// file does not store: node positions, value ranges and the per-triangle ranges.
void CommitSideArchive(CTydDoc& doc, SideArchive&& s) {
    doc.m_mesh = std::move(s.mesh);
    doc.m_triLine = std::move(s.triLine);
    doc.m_hcheckPoints = std::move(s.hcheckPoints);
    doc.m_hcheckLines = std::move(s.hcheckLines);
    doc.m_contGroup = std::move(s.contGroup);
    doc.m_labelPos = std::move(s.labelPos);
    doc.m_labelPos2 = std::move(s.labelPos2);
    const int figure = s.valueType;
    doc.m_nTriNodes = s.triCount;
    doc.m_pTriNodeA = std::move(s.triNodeA);
    doc.m_pTriNodeB = std::move(s.triNodeB);
    doc.m_pEdgePairs = std::move(s.edgePairs);

    CDigitalMap& mesh = doc.m_mesh;
    const double size = mesh.GetMeshSize();
    for (int r = 0; r < mesh.GetMeshCountY(); ++r)
        for (int c = 0; c < mesh.GetMeshCountX(); ++c) {
            const int node = mesh.GetNodeIndex(r, c);
            if (node < 0) continue;
            CCalValue v = mesh.GetAt(node);
            v.SetPos(static_cast<float>(c * size), static_cast<float>(r * size));
            mesh.SetAt(node, v);
        }
    mesh.CalcDepthRange();
    mesh.CalcResultRange();

    TriangleRanges(doc, -1, doc.m_pTriMinDepth, doc.m_pTriMaxDepth);
    float lo = 999999.0f, hi = -999999.0f;
    for (std::size_t t = 0; t < doc.m_pTriMinDepth.size(); ++t) {
        lo = std::min(lo, doc.m_pTriMinDepth[t]);
        hi = std::max(hi, doc.m_pTriMaxDepth[t]);
    }
    if (hi < lo) lo = hi = 0.0f;
    doc.m_hcheckLines.SetMinDepth(lo);
    doc.m_hcheckLines.SetMaxDepth(hi);
    TriangleRanges(doc, 1, doc.m_pTriMinValue[0], doc.m_pTriMaxValue[0]);
    TriangleRanges(doc, 3, doc.m_pTriMinValue[1], doc.m_pTriMaxValue[1]);

    // The loaded contour points carry no marks: they come from the saved positions.
    doc.ApplyContHgtPos(figure);
    doc.ApplyContHgtPosB(figure);
}

// Whether a mesh has a grid at all: a cleared mesh, and the one a missing side archive
// leaves, have none.
bool HasGrid(const CDigitalMap& mesh) { return mesh.GetMeshCountX() > 0 && mesh.GetMeshCountY() > 0; }

// Spacings of one mesh. The wave conditions keep the mesh when the area's spacing moves
// by 0.0001 or less, so a pair of one calculation may carry an area spacing a little off
// the mesh's, a step at a time; one part in ten thousand (0.0001 m below a metre) leaves
// room for many such steps, while two meshes of a calculation, whose spacings are entered
// to a decimal, lie much further apart.
constexpr double kSameSpacing = 1e-4;

bool SameSpacing(double a, double b) {
    return std::fabs(a - b) <= kSameSpacing * std::max({1.0, std::fabs(a), std::fabs(b)});
}

// Whether a side archive's mesh can be the mesh of the calculation area in the main
// archive beside it. The depth calculation and the mesh-file input leave the mesh with
// the area's node counts and spacing, and every change of the area clears the mesh; a
// mesh without a grid (cleared, or saved after its side archive had gone missing) goes
// with any area; whether the calculation state may go without a mesh is asked apart. The
// side archive does not hold the area's origin: a mesh of the same counts and spacing at
// another place cannot be told apart.
bool MeshFitsArea(const CDigitalMap& mesh, const CCalArea& area) {
    if (!HasGrid(mesh)) return true;
    return mesh.GetMeshCountX() == area.GetMeshCountX() && mesh.GetMeshCountY() == area.GetMeshCountY() &&
           SameSpacing(mesh.GetMeshSize(), area.GetMeshSize());
}

// The main archive at `path` read for the check of its pair; nothing when it cannot be
// read, which the open then reports.
std::optional<MainArchive> PeekMainArchive(const std::string& path, const CTydDoc& doc) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, nullptr)) return std::nullopt;
    try {
        CArchive ar(std::move(bytes));
        return ReadMainArchive(ar, doc);
    } catch (const ArchiveError&) {
    } catch (const std::bad_alloc&) {
    }
    return std::nullopt;
}

std::string SpacingText(double spacing) { return Sprintf("%.10g", spacing); }

std::string PairMismatchText(const std::string& path, const std::string& sidePath, const CCalArea& area,
                             const CDigitalMap& mesh) {
    return path + "\n" + sidePath + "\n" + docmsg::kPairMismatch + "\n" +
           Sprintf(docmsg::kPairAreaAndMesh, area.GetMeshCountX(), area.GetMeshCountY(),
                   SpacingText(area.GetMeshSize()).c_str(), mesh.GetMeshCountX(), mesh.GetMeshCountY(),
                   SpacingText(mesh.GetMeshSize()).c_str()) +
           "\n" + docmsg::kPairOpenBeforeMesh;
}

// What is wrong with the side archive of a calculation past its depths that has no mesh:
// not there, there but not readable (with the system's reason: a folder of its name, no
// permission), or read and empty.
std::string MissingMeshText(const std::string& path, const std::string& sidePath, bool read,
                            const std::string& readError) {
    std::string reason = docmsg::kMeshFileEmpty;
    std::error_code none;
    if (!read && !std::filesystem::exists(sidePath, none)) reason = docmsg::kMeshFileMissing;
    else if (!read) reason = std::string(docmsg::kCannotOpen) + "\n(" + readError + ")";
    return path + "\n" + sidePath + "\n" + reason + "\n" + docmsg::kPairOpenBeforeMesh;
}

}  // namespace

void CTydDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        const unsigned v = kTydVersion;
        ar << kTydVersion;
        m_info.Serialize(ar, v);
        m_zmn.Serialize(ar, v);
        m_contPara.Serialize(ar, v);
        for (CContPara& para : m_contParaFig) para.Serialize(ar, v);
        m_calcArea.Serialize(ar, v);
        m_blkXY.Serialize(ar, v);
        ar << static_cast<std::int32_t>(m_pCalcPoints.size());
        for (CPointD& p : m_pCalcPoints) p.Serialize(ar, v);
        return;
    }

    MainArchive m = ReadMainArchive(ar, *this);
    m_info = m.info;
    m_zmn = m.zmn;
    m_contPara = m.contPara;
    m_contParaFig = m.contParaFig;
    m_calcArea = m.calcArea;
    m_blkXY = m.blkXY;
    m_pCalcPoints = std::move(m.calcPoints);
}

bool CTydDoc::OnOpenDocument(const std::string& path) {
    const std::string sidePath = SideFileName(path, "DPT");
    // A save killed between putting its .DPT and its .TYD in place left the .TYD complete
    // beside them: it goes in first, so that the pair read is the one that save wrote.
    // The temporary files of saves killed earlier go.
    // When that fails the files on disk are a mixed pair until it is done: the open is
    // refused, and the next one tries again.
    if (!sidePath.empty()) {
        if (const SetRecovery r = RecoverInterruptedSet({sidePath, path}); r.failed > 0) {
            Ui().MessageBox(path + "\n" + docmsg::kCannotOpen + "\n(" + r.error + ")", MessageCaption(), MbButtons::Ok,
                            MbIcon::Error);
            return false;
        }
    }

    // The side archive is read and checked first, so that a damaged one refuses the open
    // before the main archive has replaced anything. An empty main archive is a new
    // calculation, whatever an old side archive of the same name holds.
    SideArchive side;
    bool beforeMesh = false;
    if (FileSize(path) > 0) {
        std::vector<std::uint8_t> bytes;
        std::string readError;
        const bool sideRead = ReadWholeFile(sidePath, bytes, &readError);
        if (sideRead) {
            try {
                CArchive ar(std::move(bytes));
                side = ReadSideArchive(ar);
            } catch (const ArchiveError& e) {
                Ui().MessageBox(sidePath + "\n" + docmsg::kCannotRead + "\n(" + e.what() + ")",
                                MessageCaption(), MbButtons::Ok, MbIcon::Error);
                return false;
            } catch (const std::bad_alloc&) {
                // Nothing of the document has changed yet: refuse instead of ending.
                Ui().MessageBox(sidePath + "\n" + docmsg::kNoMemoryToRead, MessageCaption(), MbButtons::Ok,
                                MbIcon::Error);
                return false;
            }
        }
        // A side archive that is not there (or cannot be opened) leaves the calculation
        // without mesh data.

        // A mesh laid out for another area is another calculation's: computing on with
        // it writes a solver input of one mesh's counts at the other's spacing. A
        // calculation past its depths without a mesh (its side archive lost, unreadable,
        // or saved so after such an open) would offer its results commands on nothing,
        // over an area whose counts no file backs. Either way the conditions are kept and
        // the mesh made again; the files stay as they are until the document is saved.
        const std::optional<MainArchive> main = PeekMainArchive(path, *this);
        std::string question;
        if (main && !MeshFitsArea(side.mesh, main->calcArea))
            question = PairMismatchText(path, sidePath, main->calcArea, side.mesh);
        else if (main && main->info.m_nCalcState != kCalcNoMesh && !HasGrid(side.mesh))
            question = MissingMeshText(path, sidePath, sideRead, readError);
        if (!question.empty()) {
            if (Ui().MessageBox(question, MessageCaption(), MbButtons::OkCancel, MbIcon::Warning) != IDOK)
                return false;
            side = SideArchive();
            beforeMesh = true;
        }
    }

    const bool empty = FileSize(path) == 0;
    if (!CDocument::OnOpenDocument(path)) return false;
    if (!empty) CommitSideArchive(*this, std::move(side));
    m_nRunOrientation = -1;
    if (beforeMesh) {
        m_info.m_nCalcState = kCalcNoMesh;
        SetModifiedFlag(true);
    }
    return true;
}

std::vector<CDocument::SavedFile> CTydDoc::FilesToSave(const std::string& path) {
    CArchive main;
    Serialize(main);
    const std::string sidePath = SideFileName(path, "DPT");
    // A path without a '.' names no side files.
    if (sidePath.empty()) return {{path, main.Bytes()}};
    // The .DPT goes into place before the .TYD: a save that dies between the two leaves
    // a complete .TYD beside the new .DPT, which the next open puts in place.
    return {{sidePath, WriteSideArchive(*this)}, {path, main.Bytes()}};
}

void CTydDoc::DeleteContents() {
    // A new calculation: the defaults, no mesh, no results.
    CTydDoc fresh;
    m_info = fresh.m_info;
    m_zmn = fresh.m_zmn;
    m_calcArea = fresh.m_calcArea;
    m_blkXY = fresh.m_blkXY;
    m_contPara = fresh.m_contPara;
    m_contParaFig = fresh.m_contParaFig;
    m_pCalcPoints = fresh.m_pCalcPoints;
    CommitSideArchive(*this, SideArchive());
    m_nRunOrientation = -1;
}

}  // namespace wv
