#include "calcdoc/height_check_dlg.h"

#include "calc/calc_doc_data.h"
#include "calcdoc/calc_dialog_texts.h"
#include "core/numeric.h"
#include "platform/data_exchange.h"
#include "platform/text.h"

#include <cmath>

namespace wv {

namespace {

constexpr double kSameLevel = 0.0001;

// Sets every vertex's m_nSelect of the polylines from `first` on whose level is `level`
// (or, with first = -1, clears every mark). Only vertices that change are written.
void SetMarks(CContGroup& group, int first, double level) {
    for (int i = 0; i < group.GetCount(); ++i) {
        const bool mark = first >= 0 && i >= first && std::fabs(group.GetLevel(i) - level) < kSameLevel;
        for (int j = 0; j < group.GetPointCount(i); ++j) {
            CContPoint p = group.GetPoint(i, j);
            const std::int16_t want = mark ? 1 : 0;
            if (p.m_nSelect == want) continue;
            p.m_nSelect = want;
            group.SetPoint(i, j, p);
        }
    }
}

}  // namespace

CHeightCheckDlg::CHeightCheckDlg(CTydViewData& view)
    : CDialogModel(161, dlgtext::kHeightCheckCaption, 150, 50), m_view(view) {
    AddLabel(dlgtext::kHeightCheckLabel, {7, 9, 50, 8});
    AddList(kLevelList, {}, {60, 7, 80, 120});
    AddButton(IDCANCEL, dlgtext::kClose, {90, 29, 50, 14});
}

bool CHeightCheckDlg::IsPresent(const CContGroup& group, int i) {
    const int n = group.GetPointCount(i);
    for (int j = 0; j + 1 < n; ++j)
        if (group.GetPoint(i, j).m_nLine != 0) return true;
    return false;
}

std::vector<double> CHeightCheckDlg::PresentLevels(const CContGroup& group) {
    std::vector<double> a;
    for (int i = 0; i < group.GetCount(); ++i)
        if (IsPresent(group, i)) a.push_back(group.GetLevel(i));
    // Comb sort that leaves levels closer than 0.0001 in their order, so the first of
    // such a pair is the one kept below.
    const int n = static_cast<int>(a.size());
    int gap = n;
    for (;;) {
        gap = static_cast<int>(gap / 1.3);
        if (gap <= 0) gap = 1;
        if (gap == 9 || gap == 10) gap = 11;
        bool swapped = false;
        for (int i = 0; i + gap < n; ++i) {
            double& x = a[static_cast<std::size_t>(i)];
            double& y = a[static_cast<std::size_t>(i + gap)];
            if (x >= y && std::fabs(x - y) >= kSameLevel) {
                std::swap(x, y);
                swapped = true;
            }
        }
        if (gap == 1 && !swapped) break;
    }
    std::vector<double> kept;
    for (double v : a)
        if (kept.empty() || std::fabs(v - kept.back()) >= kSameLevel) kept.push_back(v);
    return kept;
}

void CHeightCheckDlg::OnInitDialog() {
    const std::vector<double> levels = PresentLevels(m_view.GetDocument().m_contGroup);
    if (levels.empty()) {
        EndDialog(IDOK);
        return;
    }
    std::vector<std::string> items;
    for (double v : levels) items.push_back(Sprintf("%.2f", v));
    SetItems(kLevelList, std::move(items));
    SetIndex(kLevelList, 0);
    MarkSelected();
}

void CHeightCheckDlg::OnListChanged(int id) {
    if (id == kLevelList) MarkSelected();
}

bool CHeightCheckDlg::MarkSelected() {
    const DialogControl* list = Find(kLevelList);
    const int index = GetIndex(kLevelList);
    if (!list || index < 0) return false;
    const double level = RoundDecimal(ParseDialogDouble(list->items[static_cast<std::size_t>(index)]), 2);
    CContGroup& group = m_view.GetDocument().m_contGroup;
    int first = -1;
    for (int i = 0; i < group.GetCount() && first < 0; ++i)
        if (IsPresent(group, i) && std::fabs(group.GetLevel(i) - level) < kSameLevel) first = i;
    if (first < 0) {
        ShowMessage({dlgtext::kNoSuchContour, dlgtext::kContourCaption, MbIcon::Warning});
        return false;
    }
    SetMarks(group, first, level);
    m_view.RedrawAll();
    return true;
}

void CHeightCheckDlg::OnCancel() {
    SetMarks(m_view.GetDocument().m_contGroup, -1, 0.0);
    m_view.RedrawAll();
    EndDialog(IDCANCEL);
}

}  // namespace wv
