#include "project/depth_blocks.h"

#include "core/block.h"
#include "core/line.h"
#include "core/line_chain.h"
#include "core/sokuten.h"
#include "core/table_limits.h"
#include "draw/view_helpers.h"
#include "project/tik_dialogs.h"

namespace wv {

void CDepthBlocks::LeftClick(double x, double y) {
    switch (s.m_nMode) {
    case 40: PickLineChain(x, y, 0); break;
    case 41: PickLineChain(x, y, 1); break;
    case 60: AddBlock(x, y); break;
    case 90: RemoveBlock(x, y); break;
    default: break;
    }
}

void CDepthBlocks::PickLineChain(double x, double y, int flag) {
    ViewState v;
    v.coord = s.m_coord;
    v.selIndex = s.m_nSelIndex;
    wv::PickLineChain(v, &m_chainView, x, y, flag);
    s.m_nSelIndex = v.selIndex;
}

void CDepthBlocks::SetDepthLines() {
    double offered = kUndeterminedHeight;
    bool first = true;
    for (int i = 0; i < s.m_lineSel.Count(); ++i) {
        if (!s.m_lineSel.flags[i]) continue;
        if (first) offered = s.m_dLastDepth;
        first = false;
        const CLineZokusei l = g_lines.GetAt(i);
        if (l.GetState() >= 0 && l.GetKind() == kLineDepth) {
            offered = l.GetDepth();
            break;
        }
    }
    if (!(offered < 99999.0)) return;
    CHeightValueDlg dlg;
    dlg.m_dHeight = offered;
    if (h.RunDialog(dlg) != IDOK) return;
    const double v = dlg.m_dHeight;
    for (int i = 0; i < s.m_lineSel.Count(); ++i) {
        if (!s.m_lineSel.flags[i]) continue;
        CLineZokusei l = g_lines.GetAt(i);
        if (l.GetState() < 0) continue;
        l.SetDepth(v);
        l.SetKind(kLineDepth);
        g_lines.SetAt(i, l);
        for (int p : {l.GetStartIndex(), l.GetEndIndex()}) {
            CSokutenZokusei pt = g_surveyPoints.GetAt(p);
            if (pt.GetId() < 0) continue;
            pt.SetDepth(v);
            g_surveyPoints.SetAt(p, pt);
        }
    }
    s.m_dLastDepth = v;
    Modified();
}

void CDepthBlocks::AddBlock(double x, double y) {
    if (g_blocks.Add(x, y) < 0) {
        h.Ask(TableFullMessage(kBlocksFull), kTableFullCaption, MbButtons::Ok, MbIcon::None);
        return;
    }
    Modified();
    h.RedrawAll();
}

void CDepthBlocks::RemoveBlock(double x, double y) {
    const int b = g_blocks.FindNearest(x, y);
    if (b < 0) return;
    g_blocks.RemoveAt(b);
    Modified();
    h.RedrawAll();
}

}  // namespace wv
