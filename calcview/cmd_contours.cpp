// Contour commands: the depth and result contour figures through the contour conditions
// dialog, the editing modes of the result contours (insertion, labels, run and area
// deletion) and the height check.
#include "calcview/tyd_view.h"

#include "calc/contour_run.h"
#include "calcdoc/contour_cond_dlg.h"
#include "calcdoc/height_check_dlg.h"

#include <cmath>
#include <vector>

namespace wv {

namespace {

std::vector<double> LevelsOf(const CContPara& p) {
    std::vector<double> v;
    const double* l = p.GetLevels();
    for (int i = 0; l && i < p.GetLevelCount() && static_cast<std::size_t>(i) < p.GetLevelsHeld(); ++i)
        v.push_back(l[i]);
    return v;
}

void StoreLevels(CContPara& p, const CContourCondDlg& dlg) {
    p.SetFrom(dlg.m_dDispFrom);
    p.SetTo(dlg.m_dDispTo);
    p.SetInterval(dlg.m_dInterval);
    p.SetLevelCount(static_cast<int>(dlg.m_levels.size()));
    p.SetLevels(dlg.m_levels.data());
}

double Down2(double v) { return std::floor(v * 100.0) / 100.0; }
double Up2(double v) { return std::ceil(v * 100.0) / 100.0; }

void OnDepthContours(CTydView& v) {
    CTydDoc& doc = v.Doc();
    if (doc.m_info.m_nCalcState == 0) return;
    CContourCondDlg dlg;
    dlg.m_bContRangeRows = 0;
    dlg.m_strDispLabel = "表示範囲(m)";
    dlg.m_strCalcLabel = "計算範囲(m)";
    dlg.m_strIntervalLabel = "表示間隔(m)";
    dlg.m_strLevelLabel = "任意表示(m)";
    const double hi = Up2(doc.m_mesh.GetMaxDepth());
    dlg.m_dCalcFrom = Down2(doc.m_mesh.GetMinDepth());
    dlg.m_dCalcTo = hi;
    const CContPara& para = doc.m_contPara;
    const bool stored = para.GetFrom() >= 0.01 || para.GetTo() >= 0.01;
    dlg.m_dDispFrom = stored ? para.GetFrom() : 0.0;
    dlg.m_dDispTo = stored ? para.GetTo() : hi;
    dlg.m_dInterval = para.GetInterval();
    dlg.m_levels = LevelsOf(para);
    if (CTydView::RunDialog(dlg) != IDOK) return;
    StoreLevels(doc.m_contPara, dlg);
    if (v.Host()) v.Host()->WaitCursor(true);
    const int r = MakeDepthContours(v);
    if (v.Host()) v.Host()->WaitCursor(false);
    if (r >= 0) {
        v.SetModified();
        doc.m_zmn.m_bCheckContour = 1;
        v.RedrawAll();
    }
}

void OnResultContours(CTydView& v) {
    if (!v.ResultsLoadable()) return;
    CTydDoc& doc = v.Doc();
    const int t = doc.m_zmn.m_nValueType;
    CContourCondDlg dlg;
    dlg.m_bContRangeRows = 1;
    const char* unit = (t == 1 || t == 3) ? "" : "(m)";
    dlg.m_strDispLabel = std::string("表示範囲") + unit;
    dlg.m_strCalcLabel = std::string("計算範囲") + unit;
    dlg.m_strContLabel = std::string("ｺﾝﾀｰ範囲") + unit;
    dlg.m_strColorLabel = std::string("色の範囲") + unit;
    dlg.m_strIntervalLabel = std::string("表示間隔") + unit;
    dlg.m_strLevelLabel = std::string("任意表示") + unit;
    const double lo = Down2(doc.m_mesh.GetMinValue(t));
    const double hi = Up2(doc.m_mesh.GetMaxValue(t));
    dlg.m_dCalcFrom = lo;
    dlg.m_dCalcTo = hi;
    CContPara& para = doc.m_contParaFig[static_cast<std::size_t>(t)];
    const bool stored = para.GetFrom() >= 0.01 || para.GetTo() >= 0.01;
    dlg.m_dDispFrom = stored ? para.GetFrom() : 0.0;
    dlg.m_dDispTo = stored ? para.GetTo() : hi;
    const std::vector<double> present = CHeightCheckDlg::PresentLevels(doc.m_contGroup);
    dlg.m_dContFrom = present.empty() ? 0.0 : present.front();
    dlg.m_dContTo = present.empty() ? 0.0 : present.back();
    const bool colour = para.GetColorFrom() >= 0.01 || para.GetColorTo() >= 0.01;
    dlg.m_dColorFrom = colour ? para.GetColorFrom() : lo;
    dlg.m_dColorTo = colour ? para.GetColorTo() : hi;
    dlg.m_dInterval = para.GetInterval();
    dlg.m_levels = LevelsOf(para);
    if (CTydView::RunDialog(dlg) != IDOK) return;
    para.SetDefined(1);
    StoreLevels(para, dlg);
    para.SetColorFrom(dlg.m_dColorFrom);
    para.SetColorTo(dlg.m_dColorTo);
    if (v.Host()) v.Host()->WaitCursor(true);
    doc.CollectContHgtPos(t);
    const int r = MakeResultContours(v, t);
    if (v.Host()) v.Host()->WaitCursor(false);
    if (r >= 0) {
        doc.ApplyContHgtPos(t);
        v.SetModified();
        if (doc.m_zmn.m_nFigureMask < 2) doc.m_zmn.m_nFigureMask += 2;
        v.RedrawAll();
    }
}

// The editing commands act only while contours are shown and there are some.
bool ContoursEditable(const CTydView& v) {
    const CTydDoc& d = v.Doc();
    return d.m_zmn.m_nFigureMask > 1 && d.m_contGroup.GetCount() > 0;
}

}  // namespace

void AddContourCommands(CommandMap& m) {
    m[32831] = {[](CTydView& v) { OnDepthContours(v); }, {}};
    m[32842] = {[](CTydView& v) { OnResultContours(v); }, {}};
    m[32847] = {[](CTydView& v) {
                    if (!ContoursEditable(v)) return;
                    v.SetMouseMode(114);
                    v.RedrawAll();
                    CHeightCheckDlg dlg(v);
                    CTydView::RunDialog(dlg);
                    v.SetMouseMode(0);
                    v.RedrawAll();
                },
                {}};
    m[32843] = {[](CTydView& v) { if (ContoursEditable(v)) v.SetMouseMode(105); }, {}};
    m[32844] = {[](CTydView& v) { if (ContoursEditable(v)) v.SetMouseMode(106); }, {}};
    m[32845] = {[](CTydView& v) { if (ContoursEditable(v)) v.SetMouseMode(107); }, {}};
    m[32846] = {[](CTydView& v) {
                    if (!ContoursEditable(v)) return;
                    v.SetMouseMode(108);
                    g_pAreaPolygon.reset();
                },
                {}};
}

}  // namespace wv
