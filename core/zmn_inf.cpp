#include "core/zmn_inf.h"

namespace wv {

CZmn_Inf g_zmnInfDefault;

void CZmn_Inf::Init() {
    m_strRemark.clear();
    m_nPaperSize = 3;
    m_nPaperOrient = 0;
    m_nMarginTop = 10;
    m_nMarginBottom = 10;
    m_nMarginRight = 10;
    m_nMarginLeft = 10;
    m_nFrameHeight = 267;
    m_nFrameWidth = 400;
    m_dCenterX = 0.0;
    m_dCenterY = 0.0;
    m_nScale = 50000;
    m_dRotation = 0.0;
    m_bDrawFileName = 1;
    m_nScaleStyle = 0;
    m_bDrawContour = 1;
    m_bDrawContourValue = 1;
    m_bDrawLandGrid = 0;
    m_bFillLand = 0;
    m_nLandColor = 2;
    m_nValueType = 0;
    m_nFigureMask = 0;
    m_bColorContour = 0;
    m_nContourColor = 0;
    m_bVectorFigure = 0;
    m_bDirMapFigure = 0;
    m_bCheckContour = 0;
    m_bCheckMap = 0;
    m_dContTextSize = 2.5;
    m_dMapTextSize = 2.5;
    m_dDirTextSize = 2.5;
    m_dVectorMin = 0.0;
    m_dVectorMax = 10.0;
    m_nDecimals = 2;
    m_ptNorthMark = CPointD::Unset();
    m_ptWaveMark = CPointD::Unset();
    for (CZmnInterval& iv : m_interval) iv = CZmnInterval();
    for (int i = 0; i < 4; ++i) {
        m_dVectorLow[i] = 0.0;
        m_dVectorHigh[i] = 0.0;
    }
}

namespace {

// One field of the layout: always stored, loaded only when the file has it.
template <class T>
void Field(CArchive& ar, T& v, bool present) {
    if (ar.IsStoring() || present) ar.Exchange(v);
}

void Interval(CArchive& ar, CZmnInterval& iv, unsigned nVersion, bool present) {
    if (!ar.IsStoring() && !present) return;
    iv.m_ptRef.Serialize(ar, nVersion);
    ar.Exchange(iv.m_dStepDown);
    ar.Exchange(iv.m_dStepAcross);
}

}  // namespace

void CZmn_Inf::Serialize(CArchive& ar, unsigned nVersion) {
    // Loading works on a copy so that a file that ends early changes nothing.
    CZmn_Inf copy;
    CZmn_Inf& r = ar.IsStoring() ? *this : (copy = *this);
    const unsigned v = nVersion;

    ar.ExchangeString(r.m_strRemark);
    ar.Exchange(r.m_nPaperSize);
    ar.Exchange(r.m_nPaperOrient);
    ar.Exchange(r.m_nMarginTop);
    ar.Exchange(r.m_nMarginBottom);
    ar.Exchange(r.m_nMarginRight);
    ar.Exchange(r.m_nMarginLeft);
    ar.Exchange(r.m_nFrameHeight);
    ar.Exchange(r.m_nFrameWidth);
    ar.Exchange(r.m_dCenterX);
    ar.Exchange(r.m_dCenterY);
    ar.Exchange(r.m_nScale);
    ar.Exchange(r.m_dRotation);
    ar.Exchange(r.m_bDrawFileName);
    Field(ar, r.m_nScaleStyle, v > 11);
    ar.Exchange(r.m_bDrawContour);
    Field(ar, r.m_bDrawContourValue, v > 10);
    Field(ar, r.m_bDrawLandGrid, v > 7);
    ar.Exchange(r.m_bFillLand);
    ar.Exchange(r.m_nLandColor);
    ar.Exchange(r.m_nValueType);
    ar.Exchange(r.m_nFigureMask);
    ar.Exchange(r.m_bColorContour);
    ar.Exchange(r.m_nContourColor);
    ar.Exchange(r.m_bVectorFigure);
    Field(ar, r.m_bDirMapFigure, v > 8);
    ar.Exchange(r.m_bCheckContour);
    Field(ar, r.m_bCheckMap, v > 7);
    ar.Exchange(r.m_dContTextSize);
    ar.Exchange(r.m_dMapTextSize);
    Field(ar, r.m_dDirTextSize, v > 8);
    // Before version 11 the vector lengths were fixed at 0 to 10 mm.
    if (ar.IsStoring() || v > 10) {
        ar.Exchange(r.m_dVectorMin);
        ar.Exchange(r.m_dVectorMax);
    } else {
        r.m_dVectorMin = 0.0;
        r.m_dVectorMax = 10.0;
    }
    Field(ar, r.m_nDecimals, v > 10);
    r.m_ptNorthMark.Serialize(ar, nVersion);
    r.m_ptWaveMark.Serialize(ar, nVersion);
    Interval(ar, r.m_interval[kIntervalDepth], nVersion, v > 7);
    Interval(ar, r.m_interval[kIntervalHeight], nVersion, true);
    Interval(ar, r.m_interval[kIntervalDir], nVersion, v > 8);
    Interval(ar, r.m_interval[kIntervalVector], nVersion, true);
    for (int i = 0; i < 4; ++i) {
        ar.Exchange(r.m_dVectorLow[i]);
        ar.Exchange(r.m_dVectorHigh[i]);
    }

    if (ar.IsLoading()) *this = copy;
}

}  // namespace wv
