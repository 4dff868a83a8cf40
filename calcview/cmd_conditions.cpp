// Condition commands: wave conditions, drawing conditions and the land-fill switch.
#include "calcview/tyd_view.h"

#include "calc/contour_run.h"
#include "calc/digital_lattice.h"
#include "calc/result_loader.h"
#include "core/draw_cond_dlg.h"
#include "core/wave_cond_dlg.h"
#include "draw/paper.h"

#include <cmath>

namespace wv {

namespace {

// The display angle brought into [0, 360) for comparing two angles.
double Turn360(double a) {
    a = std::fmod(a, 360.0);
    if (a < -1e-6) a += 360.0;
    if (a > 359.99999) a -= 360.0;
    return a;
}

void RefreshResultList(CTydView& v) {
    if (v.m_bResultListOpen == 1 && v.Doc().m_info.m_nCalcState == 3) {
        UpdateCalcPointResults(v, v.Angle());
        v.PostResultListRefresh();
    }
}

void OnWaveConditions(CTydView& v) {
    CTydDoc& doc = v.Doc();
    CWaveCondDlg dlg;
    dlg.LoadFrom(doc.m_info, doc.m_calcArea);
    // The old angle is read before anything sets a new one.
    const double oldAngle = v.Angle();
    const int shownAngle = static_cast<int>(-oldAngle);
    dlg.m_nRotation = shownAngle;
    const int oldSense = doc.m_info.m_nOutDirSense;
    if (CTydView::RunDialog(dlg) != IDOK) return;

    const CCalArea& a = doc.m_calcArea;
    bool changed = std::fabs(dlg.m_dTide - doc.m_info.m_dTide) > 0.00001 ||
                   std::fabs(dlg.m_dOriginX - a.GetOrigin().m_dX) > 0.00001 ||
                   std::fabs(dlg.m_dOriginY - a.GetOrigin().m_dY) > 0.00001 ||
                   dlg.m_nMeshCountX != a.GetMeshCountX() || dlg.m_nMeshCountY != a.GetMeshCountY() ||
                   std::fabs(dlg.m_dMeshPitch - a.GetMeshSize()) > 0.0001;
    dlg.StoreTo(doc.m_info, doc.m_calcArea);
    doc.m_info.m_nOutDirSense = oldSense;

    double n = 0.0;
    if (doc.m_info.m_bFreeRotation != 0) {
        // The field shows the angle truncated to whole degrees: left as shown, it means
        // the angle the view has, not its truncation.
        n = dlg.m_nRotation == shownAngle ? oldAngle : -static_cast<double>(dlg.m_nRotation);
        v.State().coord.SetAngle(n);
        doc.m_zmn.m_dRotation = n;
    } else {
        n = -GetWaveDirAngle(doc);
    }
    if (!changed) {
        double d = std::fabs(Turn360(n) - Turn360(oldAngle));
        if (d > 180.0) d = 360.0 - d;
        changed = d > 0.1;
    }
    if (changed) {
        doc.ClearMeshData(0);
        doc.ClearWaveResults(v);
    }
    if (dlg.m_nOutDirSense != oldSense) {
        doc.m_info.m_nOutDirSense = dlg.m_nOutDirSense;
        RefreshResultList(v);
    }
    v.SetModified();
    v.RedrawAll();
}

void OnDrawConditions(CTydView& v) {
    CTydDoc& doc = v.Doc();
    CZmn_Inf& z = doc.m_zmn;
    CDrawCondDlg dlg;
    dlg.m_bDocBreaking = doc.m_info.m_bBreaking;
    dlg.LoadFrom(z);
    if (doc.m_info.m_bBreaking == 1 && z.m_nValueType > 1) dlg.m_nValueType = z.m_nValueType - 2;
    if (CTydView::RunDialog(dlg) != IDOK) return;
    const int oldType = z.m_nValueType;
    dlg.StoreTo(z);
    const int newType = z.m_nValueType;
    if (newType != oldType) {
        z.m_nValueType = oldType;
        doc.CollectContHgtPos(oldType);
        doc.CollectContHgtPosB(oldType);
        doc.m_contGroup.FreeLines();
        doc.m_contGroup.SetCount(0);
        doc.m_contGroup.SetCapacity(0);
        z.m_nValueType = newType;
        if (doc.m_contParaFig[static_cast<std::size_t>(newType)].GetDefined() != 0 &&
            MakeResultContours(v, newType) == 0) {
            doc.ApplyContHgtPos(newType);
            doc.ApplyContHgtPosB(newType);
        }
        RefreshResultList(v);
    }
    const SheetMm frame = FrameFromPaper(z.m_nPaperSize, z.m_nPaperOrient, z.m_nMarginTop, z.m_nMarginBottom,
                                         z.m_nMarginLeft, z.m_nMarginRight);
    z.m_nFrameWidth = frame.width;
    z.m_nFrameHeight = frame.height;
    v.SetModified();
    v.RedrawAll();
}

}  // namespace

void AddConditionCommands(CommandMap& m) {
    m[32834] = {OnWaveConditions, {}};
    m[32835] = {OnDrawConditions, {}};
    m[32833] = {[](CTydView& v) {
                    v.m_bLandFill = v.m_bLandFill ? 0 : 1;
                    v.RedrawAll();
                },
                [](CTydView& v, CCmdUI& ui) {
                    const CTydDoc& d = v.Doc();
                    ui.Enable(d.m_zmn.m_bDrawLandGrid == 1 ? d.m_info.m_nCalcState != 0 : d.m_blkXY.GetCount() > 0);
                    ui.SetCheck(v.m_bLandFill ? 1 : 0);
                }};
}

}  // namespace wv
