#include "calcdoc/tyd_doc.h"

#include "calc/calc_state.h"
#include "core/sansyutu.h"

#include <algorithm>

namespace wv {

CTydDoc::CTydDoc() {
    m_pCalcPoints.assign(static_cast<std::size_t>(std::max(0, g_calcPoints.GetSize())), CPointD::Unset());

    // A new calculation starts from the current defaults, but with no mesh yet.
    m_info = g_tydInfDefault;
    m_info.m_nCalcState = kCalcNoMesh;
    m_calcArea = g_calcAreaDefault;

    // Of the drawing conditions only the sheet, frame and display settings are defaults;
    // the remark, centre, scale, figures, marks and intervals belong to each document.
    const CZmn_Inf& d = g_zmnInfDefault;
    m_zmn.m_nPaperSize = d.m_nPaperSize;
    m_zmn.m_nPaperOrient = d.m_nPaperOrient;
    m_zmn.m_nMarginTop = d.m_nMarginTop;
    m_zmn.m_nMarginBottom = d.m_nMarginBottom;
    m_zmn.m_nMarginRight = d.m_nMarginRight;
    m_zmn.m_nMarginLeft = d.m_nMarginLeft;
    m_zmn.m_nFrameHeight = d.m_nFrameHeight;
    m_zmn.m_nFrameWidth = d.m_nFrameWidth;
    m_zmn.m_dRotation = d.m_dRotation;
    m_zmn.m_bDrawFileName = d.m_bDrawFileName;
    m_zmn.m_nScaleStyle = d.m_nScaleStyle;
    m_zmn.m_bDrawContour = d.m_bDrawContour;
    m_zmn.m_bDrawContourValue = d.m_bDrawContourValue;
    m_zmn.m_bDrawLandGrid = d.m_bDrawLandGrid;
    m_zmn.m_bFillLand = d.m_bFillLand;
    m_zmn.m_nLandColor = d.m_nLandColor;
    m_zmn.m_dContTextSize = d.m_dContTextSize;
    m_zmn.m_dMapTextSize = d.m_dMapTextSize;
    m_zmn.m_dDirTextSize = d.m_dDirTextSize;
    m_zmn.m_dVectorMin = d.m_dVectorMin;
    m_zmn.m_dVectorMax = d.m_dVectorMax;
    m_zmn.m_nDecimals = d.m_nDecimals;
}

void CTydDoc::DeleteDecFile() { wv::DeleteDecFile(*this); }

void CTydDoc::ClearMeshData(int keepBlocks) { wv::ClearMeshData(*this, keepBlocks); }

void CTydDoc::ClearWaveResults(CTydViewData& view) { wv::ClearWaveResults(view); }

}  // namespace wv
