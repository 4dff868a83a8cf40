#include "road_figure.h"

#include "calc/contour_run.h"
#include "calc/digital_lattice.h"
#include "core/sansyutu.h"
#include "draw/paper.h"
#include "draw/plot_sheet.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace wv {

namespace {

// A contour step of a round size that gives about ten levels over the range.
double ContourStep(double range) {
    for (const double step : {0.05, 0.1, 0.2, 0.25, 0.5, 1.0, 2.0, 5.0, 10.0})
        if (range / step <= 12.0) return step;
    return 20.0;
}

}  // namespace

bool SetUpRoadFigure(CTydViewData& view, double viewAngle, std::string* err) {
    CTydDocData& doc = view.GetDocument();
    if (doc.m_info.m_nCalcState != 3 || doc.m_mesh.GetCount() <= 0) {
        if (err) *err = "the calculation has no results to draw";
        return false;
    }
    CZmn_Inf& z = doc.m_zmn;
    z.m_nPaperSize = 3;  // A3
    z.m_nPaperOrient = 0;
    z.m_nMarginTop = z.m_nMarginBottom = z.m_nMarginLeft = z.m_nMarginRight = 10;
    const SheetMm frame = FrameFromPaper(z.m_nPaperSize, z.m_nPaperOrient, z.m_nMarginTop, z.m_nMarginBottom,
                                         z.m_nMarginLeft, z.m_nMarginRight);
    z.m_nFrameWidth = frame.width;
    z.m_nFrameHeight = frame.height;

    // The mesh axes run along the sheet's, so the area's extent on the sheet is its node
    // spans at the scale.
    const CCalArea& area = doc.m_calcArea;
    const double spanX = (area.GetMeshCountX() - 1) * area.GetMeshSize();
    const double spanY = (area.GetMeshCountY() - 1) * area.GetMeshSize();
    z.m_nScale = kRoadScales[std::size(kRoadScales) - 1];
    for (const int s : kRoadScales)
        if (spanX * 1000.0 / s <= frame.width && spanY * 1000.0 / s <= frame.height) {
            z.m_nScale = s;
            break;
        }
    {
        const PlotSheet sheet(doc, viewAngle);
        sheet.MeshToWorld(spanX / 2.0, spanY / 2.0, &z.m_dCenterX, &z.m_dCenterY);
    }

    // The significant wave height: a colour map with its legend and contours over it.
    const int kind = 0;
    z.m_nValueType = kind;
    z.m_nFigureMask = 2;
    z.m_bColorContour = 1;
    z.m_nContourColor = 0;
    // The range of the nodes that have a result (a negative value has none).
    double low = 0.0, high = 0.0;
    bool any = false;
    for (int i = 0; i < doc.m_mesh.GetCount(); ++i) {
        const double v = doc.m_mesh.GetAt(i).GetValue(kind, doc.m_mesh.GetWaveHeight());
        if (!(v >= 0.0)) continue;
        low = any ? std::min(low, v) : v;
        high = any ? std::max(high, v) : v;
        any = true;
    }
    if (!any) {
        if (err) *err = "the calculation has no results to draw";
        return false;
    }
    const double step = ContourStep(high - low);
    CContPara& para = doc.m_contParaFig[kind];
    para.SetDefined(1);
    para.SetFrom(std::floor(low / step) * step);
    para.SetTo(std::ceil(high / step) * step);
    para.SetInterval(step);
    para.SetLevelCount(0);
    para.SetColorFrom(para.GetFrom());
    para.SetColorTo(para.GetTo());
    if (MakeResultContours(view, kind) != 0) {
        if (err) *err = "the wave-height contours could not be traced";
        return false;
    }

    // Arrows at every second node, their lengths spread over the result's range; short
    // enough not to run into each other.
    z.m_bVectorFigure = 1;
    z.m_dVectorLow[kind] = low;
    z.m_dVectorHigh[kind] = high;
    z.m_dVectorMin = 1.0;
    z.m_dVectorMax = std::max(1.0, std::min(10.0, 2.0 * area.GetMeshSize() * 1000.0 / z.m_nScale * 0.9));
    CZmnInterval& every2 = z.m_interval[CZmn_Inf::kIntervalVector];
    every2.m_ptRef = CPointF(0.0f, 0.0f);
    every2.m_dStepDown = every2.m_dStepAcross = 2.0 * area.GetMeshSize();
    SetDigitalMapNodes(doc, kLatticeVector);

    // The marks in the frame's upper corners, each clear of the title band.
    const PlotSheet sheet(doc, viewAngle);
    const double W = frame.width, H = frame.height;
    sheet.SheetToWorld(25.0, H - 35.0, &z.m_ptNorthMark.m_dX, &z.m_ptNorthMark.m_dY);
    sheet.SheetToWorld(W - 30.0, H - 30.0, &z.m_ptWaveMark.m_dX, &z.m_ptWaveMark.m_dY);

    // A result label up and to the right of each output point.
    if (doc.m_pCalcPoints.size() < static_cast<std::size_t>(g_calcPoints.GetSize()))
        doc.m_pCalcPoints.resize(static_cast<std::size_t>(g_calcPoints.GetSize()), CPointD::Unset());
    for (int slot = 0; slot < g_calcPoints.GetSize(); ++slot) {
        const CSansyutuZokusei p = g_calcPoints.GetAt(slot);
        if (p.GetUse() == 0) continue;
        double X = 0.0, Y = 0.0;
        sheet.WorldToSheet(p.GetPos().m_dX, p.GetPos().m_dY, &X, &Y);
        CPointD& q = doc.m_pCalcPoints[static_cast<std::size_t>(slot)];
        sheet.SheetToWorld(X + 4.0, Y + 3.0, &q.m_dX, &q.m_dY);
    }
    return true;
}

}  // namespace wv
