// The calculation view's drawing: the screen layers in their fixed order, and the printer
// branch that renders the plot records of the last MakePlotFile.
#include "calcview/tyd_view.h"

#include "calc/result_loader.h"
#include "draw/color_map.h"
#include "draw/contour_draw.h"
#include "draw/digital_map_draw.h"
#include "draw/marks_draw.h"
#include "draw/print_figure.h"
#include "draw/terrain_draw.h"
#include "platform/files.h"

namespace wv {

namespace {

// Mesh-node marks of the reference-point and show/hide modes: which switch each needs,
// the last argument of DrawMeshNodeMarks, and whether the chosen node is drawn.
struct NodeMarkRow {
    int mode;
    bool (*on)(const CZmn_Inf& z);
    int includeNegative;
    bool selected;
};

bool HeightShown(const CZmn_Inf& z) { return z.m_nFigureMask == 1 || z.m_nFigureMask == 3; }

const NodeMarkRow kNodeMarks[] = {
    {111, [](const CZmn_Inf& z) { return z.m_bCheckMap == 1; }, 1, true},
    {120, HeightShown, 0, true},
    {104, HeightShown, 0, false},
    {115, [](const CZmn_Inf& z) { return z.m_bVectorFigure == 1; }, 0, true},
    {116, [](const CZmn_Inf& z) { return z.m_bVectorFigure == 1; }, 0, false},
    {112, [](const CZmn_Inf& z) { return z.m_bDirMapFigure == 1; }, 1, true},
    {118, [](const CZmn_Inf& z) { return z.m_bDirMapFigure == 1; }, 1, false},
};

}  // namespace

void CTydView::OnDraw(CDC& dc) {
    CTydDoc& doc = Doc();
    if (doc.m_info.m_bFreeRotation == 0) {
        const double a = GetWaveDirAngle(doc);
        m_view.coord.SetAngle(-a);
        doc.m_zmn.m_dRotation = -a;
    } else {
        // Every pane of the document shows it at the document's angle, so that no pane
        // draws or plots the mesh turned otherwise than the others.
        m_view.coord.SetAngle(doc.m_zmn.m_dRotation);
    }
    const DrawContext ctx = Context();
    const CZmn_Inf& z = doc.m_zmn;
    const int sx = m_view.scrollX, sy = m_view.scrollY;
    CDC* p = &dc;
    const int w = m_view.clientW, h = m_view.clientH;

    if (z.m_bColorContour == 1) DrawColorMap(ctx, p, sx, sy);
    if (m_bLandFill)
        DrawLandFill(ctx, p, sx, sy, 1);
    else if (z.m_bColorContour == 1)
        DrawLandFill(ctx, p, sx, sy, 0);
    DrawBlocks(p, m_view.coord, w, h, sx, sy);
    DrawCalcAreaOutline(ctx, p, sx, sy);
    DrawSurveyPointMarksCalc(ctx, p, sx, sy);
    DrawTerrainLinesCalc(ctx, p, sx, sy);
    if (ctx.InMode(31) && m_view.point1 >= 0 && m_ptRotGuide.m_dX > -999999999.0 &&
        m_ptRotGuide.m_dY > -999999999.0)
        DrawRotateGuide(p, m_view.coord, sx, sy, m_view.point1, m_ptRotGuide);
    DrawDrawingFrame(ctx, p, sx, sy);
    DrawNorthMark(ctx, p, sx, sy, 1);
    DrawIncidentMark(ctx, p, sx, sy, 1);
    if (z.m_bDrawLandGrid == 1) DrawLandCells(ctx, p, sx, sy);
    if (z.m_bCheckContour == 1) DrawHCheck(ctx, p, sx, sy);
    if (z.m_bCheckMap == 1) DrawDepthDigitalMap(ctx, p, sx, sy);
    if (z.m_bDirMapFigure == 1) DrawWaveDirDigitalMap(ctx, p, sx, sy, -1);
    if (z.m_nFigureMask == 1 || z.m_nFigureMask == 3) DrawWaveHeightDigitalMap(ctx, p, sx, sy, -1);
    if (z.m_nFigureMask == 2 || z.m_nFigureMask == 3) DrawContours(ctx, p, sx, sy, -1);
    if (z.m_bVectorFigure == 1) DrawVectorMap(ctx, p, sx, sy, -1);
    if (z.m_nValueType == 2 || z.m_nValueType == 3) DrawNoResultMarks(ctx, p, sx, sy);
    const bool areaMode = ctx.InMode(108) || ctx.InMode(113) || ctx.InMode(117) || ctx.InMode(119);
    if (areaMode && g_pAreaPolygon && g_pAreaPolygon->GetCount() >= 1)
        DrawAreaPolygon(p, m_view.coord, w, h, sx, sy, g_pAreaPolygon.get(), m_ptRubberEnd.m_dX,
                        m_ptRubberEnd.m_dY, 0);
    for (const NodeMarkRow& row : kNodeMarks) {
        if (!ctx.InMode(row.mode) || !row.on(z)) continue;
        DrawMeshNodeMarks(ctx, p, sx, sy, -1, 1, row.includeNegative);
        if (row.selected && m_nSelNode >= 0) DrawMeshNodeMarks(ctx, p, sx, sy, m_nSelNode, 0, row.includeNegative);
        break;
    }
    for (int i = 0; i < g_calcPoints.GetSize(); ++i) {
        const int style = i == m_view.selIndex ? 0 : 2;
        DrawCalcPoints(p, m_view.coord, w, h, sx, sy, i, style);
        DrawCalcPointFrames(ctx, p, sx, sy, i, style);
    }
}

PrintFigureRequest CTydView::PrintRequest() const {
    PrintFigureRequest r{Doc(), m_plotStore};
    r.viewAngle = Angle();
    r.sheetOffsetX = m_sheet.x;
    r.sheetOffsetY = m_sheet.y;
    r.printFactor = m_dPrintFactor;
    return r;
}

int CTydView::OnPrint(CDC& dc) { return PrintFigure(dc, PrintRequest()); }

bool CTydView::PreparePrinting() {
    if (m_host) m_host->WaitCursor(true);
    const int r = MakePlotFile(*this, Angle(), m_plotStore, &m_sheet);
    if (m_host) m_host->WaitCursor(false);
    return r >= 0;
}

void CTydView::EndPrinting() { m_plotStore.FreePlotData(); }

}  // namespace wv
