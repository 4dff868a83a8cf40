#include "calc/calc_state.h"

#include "calc/calc_doc_data.h"
#include "core/sansyutu.h"
#include "platform/files.h"

#include <algorithm>

namespace wv {

namespace {

void DeleteSideFile(const CTydDocData& doc, const char* ext) {
    const std::string path = doc.SideFile(ext);
    if (!path.empty()) DeleteFileSilently(path);
}

}  // namespace

bool HasWaveResults(const CTydDocData& doc) { return doc.m_info.m_nCalcState == kCalcResults; }

void DeleteDecFile(CTydDocData& doc) { DeleteSideFile(doc, "DEC"); }

void ClearMeshData(CTydDocData& doc, int keepBlocks) {
    CDigitalMap& mesh = doc.m_mesh;
    mesh.SetCount(0);
    mesh.FreeValues();
    mesh.FreeDepthFlag();
    mesh.FreeHeightFlag();
    mesh.FreeDirFlag();
    mesh.FreeVectorFlag();
    mesh.FreeNodeIndex();
    mesh.SetMeshCountX(0);
    mesh.SetMeshCountY(0);
    mesh.SetMeshSize(10.0);
    mesh.SetMinDepth(0.0f);
    mesh.SetMaxDepth(0.0f);
    mesh.SetBaseLevel(0.0);

    if (keepBlocks == 0) {
        // FreeAll visits only the outlines below the count, so it goes first.
        doc.m_blkXY.FreeAll();
        doc.m_blkXY.SetCount(0);
    }

    doc.m_triLine.Free();
    doc.m_triLine.SetCount(0);

    doc.m_hcheckPoints.Free();
    doc.m_hcheckPoints.SetCount(0);
    doc.m_hcheckLines.Free();
    doc.m_hcheckLines.SetCount(0);
    doc.m_hcheckLines.SetMinDepth(0.0f);
    doc.m_hcheckLines.SetMaxDepth(0.0f);

    std::vector<float>().swap(doc.m_pTriMinDepth);
    std::vector<float>().swap(doc.m_pTriMaxDepth);
    for (int k = 0; k < 2; ++k) {
        std::vector<float>().swap(doc.m_pTriMinValue[k]);
        std::vector<float>().swap(doc.m_pTriMaxValue[k]);
    }
    std::vector<int>().swap(doc.m_pEdgePairs);
    std::vector<int>().swap(doc.m_pTriNodeA);
    std::vector<int>().swap(doc.m_pTriNodeB);
    doc.m_nTriNodes = 0;

    doc.m_info.m_nCalcState = kCalcNoMesh;
    DeleteSideFile(doc, "YNO");
}

void ClearWaveResults(CTydViewData& view) {
    CTydDocData& doc = view.GetDocument();
    CDigitalMap& mesh = doc.m_mesh;
    const int nodes = mesh.GetCount();
    for (int i = 0; i < nodes; ++i) {
        mesh.SetHeightFlag(i, kFlagHidden);
        mesh.SetDirFlag(i, kFlagHidden);
        mesh.SetVectorFlag(i, kFlagHidden);
    }
    mesh.SetWaveHeight(0.0);
    for (int i = 0; i < nodes; ++i) {
        CCalValue v = mesh.GetAt(i);
        v.SetHeightRatio(0.0f);
        v.SetEquivRatio(0.0f);
        v.SetDirection(0.0f);
        mesh.SetAt(i, v);
    }
    mesh.SetMinHeightRatio(0.0f);
    mesh.SetMaxHeightRatio(0.0f);
    mesh.SetMinEquivRatio(0.0f);
    mesh.SetMaxEquivRatio(0.0f);

    for (int k = 0; k < 2; ++k) {
        std::fill(doc.m_pTriMinValue[k].begin(), doc.m_pTriMinValue[k].end(), 0.0f);
        std::fill(doc.m_pTriMaxValue[k].begin(), doc.m_pTriMaxValue[k].end(), 0.0f);
    }

    view.ResetCalcPointValues();

    for (int k = 0; k < kValueTypes; ++k) {
        CContPara& para = doc.m_contParaFig[k];
        para.SetDefined(0);
        para.SetFrom(0.0);
        para.SetTo(0.0);
        para.SetInterval(1.0);
        para.FreeLevels();
        para.SetLevelCount(0);
        para.SetColorFrom(0.0);
        para.SetColorTo(0.0);
        doc.m_labelPos[k].Free();
        doc.m_labelPos[k].SetCount(0);
        doc.m_labelPos2[k].Free();
        doc.m_labelPos2[k].SetCount(0);
    }

    doc.m_contGroup.FreeLines();
    doc.m_contGroup.SetCount(0);
    doc.m_contGroup.SetCapacity(0);
    doc.m_contGroup.SetGrowBy(0);

    if (view.m_bResultListOpen == 1) view.PostResultListRefresh();
}

struct DerivedDataAside::Held {
    int calcState = kCalcNoMesh;
    bool hadMarker = false;
    std::string marker;  // its bytes
    CBlkXY blkXY;
    CDigitalMap mesh;
    CTriLine triLine;
    CHCheckPoint hcheckPoints;
    CHCheckLine hcheckLines;
    std::array<CContPara, kValueTypes> contParaFig;
    std::array<CContHgtPos, kValueTypes> labelPos;
    std::array<CContHgtPos, kValueTypes> labelPos2;
    CContGroup contGroup;
    int triNodes = 0;
    std::vector<int> triNodeA, triNodeB, edgePairs;
    std::vector<float> triMinDepth, triMaxDepth;
    std::array<std::vector<float>, 2> triMinValue, triMaxValue;
    std::vector<double> pointValues;
    std::vector<float> pointDirections;
};

void DerivedDataAside::Exchange(CTydViewData& view, Held& h) {
    CTydDocData& doc = view.GetDocument();
    std::swap(doc.m_info.m_nCalcState, h.calcState);
    std::swap(doc.m_mesh, h.mesh);
    std::swap(doc.m_triLine, h.triLine);
    std::swap(doc.m_hcheckPoints, h.hcheckPoints);
    std::swap(doc.m_hcheckLines, h.hcheckLines);
    std::swap(doc.m_contParaFig, h.contParaFig);
    std::swap(doc.m_labelPos, h.labelPos);
    std::swap(doc.m_labelPos2, h.labelPos2);
    std::swap(doc.m_contGroup, h.contGroup);
    std::swap(doc.m_nTriNodes, h.triNodes);
    std::swap(doc.m_pTriNodeA, h.triNodeA);
    std::swap(doc.m_pTriNodeB, h.triNodeB);
    std::swap(doc.m_pEdgePairs, h.edgePairs);
    std::swap(doc.m_pTriMinDepth, h.triMinDepth);
    std::swap(doc.m_pTriMaxDepth, h.triMaxDepth);
    std::swap(doc.m_pTriMinValue, h.triMinValue);
    std::swap(doc.m_pTriMaxValue, h.triMaxValue);
    std::swap(view.m_pCalcPtValue, h.pointValues);
    std::swap(view.m_pCalcPtDir, h.pointDirections);
}

DerivedDataAside::DerivedDataAside(CTydViewData& view) : m_view(view), m_held(std::make_unique<Held>()) {
    CTydDocData& doc = view.GetDocument();
    m_held->blkXY = doc.m_blkXY;
    const std::string marker = doc.SideFile("YNO");
    m_held->hadMarker = !marker.empty() && ReadWholeFile(marker, m_held->marker, nullptr);
    Exchange(view, *m_held);
}

DerivedDataAside::~DerivedDataAside() = default;

void DerivedDataAside::PutBack() {
    if (!m_held) return;
    CTydDocData& doc = m_view.GetDocument();
    Exchange(m_view, *m_held);
    doc.m_blkXY = std::move(m_held->blkXY);
    // The clear that came first deleted the batch marker: a batch's results wait for it.
    const std::string marker = doc.SideFile("YNO");
    if (m_held->hadMarker && !FileExists(marker)) AtomicWriteFile(marker, m_held->marker, nullptr);
    m_held.reset();
    if (m_view.m_bResultListOpen == 1) m_view.PostResultListRefresh();
}

}  // namespace wv
