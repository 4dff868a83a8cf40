#include "calcdoc/contour_cond_dlg.h"

#include "calcdoc/calc_dialog_texts.h"
#include "platform/data_exchange.h"
#include "platform/text.h"

namespace wv {

namespace {

constexpr const char* kFmt = "%.2f";

void ExchangeLabel(CDataExchange& dx, int id, std::string& text) {
    if (dx.IsSaving()) text = dx.Dialog().GetText(id);
    else dx.Dialog().SetText(id, text);
}

}  // namespace

CContourCondDlg::CContourCondDlg()
    : CDialogModel(159, dlgtext::kContourCondCaption, 262, 176),
      m_strDispLabel(dlgtext::kDispRange),
      m_strContLabel(dlgtext::kContRange),
      m_strCalcLabel(dlgtext::kCalcRange),
      m_strColorLabel(dlgtext::kColorRange),
      m_strIntervalLabel(dlgtext::kInterval),
      m_strLevelLabel(dlgtext::kExtraLevel) {
    AddLabel(dlgtext::kLower, {62, 7, 50, 8});
    AddLabel(dlgtext::kUpper, {132, 7, 50, 8});
    AddLabel(dlgtext::kDispRange, {7, 20, 52, 8}, kDispLabel);
    AddEdit(kDispFrom, {62, 18, 56, 12});
    AddLabel(dlgtext::kTilde, {121, 20, 10, 8});
    AddEdit(kDispTo, {132, 18, 56, 12});
    AddLabel(dlgtext::kCalcRange, {7, 36, 52, 8}, kCalcLabel);
    AddEdit(kCalcFrom, {62, 34, 56, 12});
    AddLabel(dlgtext::kTilde, {121, 36, 10, 8});
    AddEdit(kCalcTo, {132, 34, 56, 12});
    AddLabel(dlgtext::kContRange, {7, 52, 52, 8}, kContLabel);
    AddEdit(kContFrom, {62, 50, 56, 12});
    AddLabel(dlgtext::kTilde, {121, 52, 10, 8}, kContTilde);
    AddEdit(kContTo, {132, 50, 56, 12});
    AddLabel(dlgtext::kColorRange, {7, 68, 52, 8}, kColorLabel);
    AddEdit(kColorFrom, {62, 66, 56, 12});
    AddLabel(dlgtext::kTilde, {121, 68, 10, 8}, kColorTilde);
    AddEdit(kColorTo, {132, 66, 56, 12});
    AddLabel("", {7, 82, 181, 1}, kRangeRule);
    AddLabel(dlgtext::kInterval, {7, 90, 52, 8}, kIntervalLabel);
    AddEdit(kInterval, {62, 88, 56, 12});
    AddLabel(dlgtext::kExtraLevel, {7, 106, 52, 8}, kLevelLabel);
    AddEdit(kLevel, {62, 104, 56, 12});
    AddButton(kRegister, dlgtext::kRegister, {62, 120, 56, 14});
    AddListBox(kLevelList, {132, 104, 56, 54});
    AddLabel(dlgtext::kDoubleClickDeletes, {132, 160, 90, 8});
    AddButton(kDeleteAll, dlgtext::kDeleteAll, {62, 138, 56, 14});
    AddButton(IDOK, dlgtext::kOk, {200, 7, 55, 14});
    AddButton(IDCANCEL, dlgtext::kCancel, {200, 25, 55, 14});
}

void CContourCondDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeDouble(dx, kDispFrom, m_dDispFrom, kFmt);
    ExchangeDouble(dx, kCalcFrom, m_dCalcFrom, kFmt);
    ExchangeDouble(dx, kContFrom, m_dContFrom, kFmt);
    ExchangeDouble(dx, kContTo, m_dContTo, kFmt);
    ExchangeDouble(dx, kDispTo, m_dDispTo, kFmt);
    ExchangeDouble(dx, kInterval, m_dInterval, kFmt);
    ExchangeDouble(dx, kLevel, m_dLevel, kFmt);
    ExchangeDouble(dx, kColorFrom, m_dColorFrom, kFmt);
    ExchangeDouble(dx, kColorTo, m_dColorTo, kFmt);
    ExchangeDouble(dx, kCalcTo, m_dCalcTo, kFmt);
    ExchangeLabel(dx, kDispLabel, m_strDispLabel);
    ExchangeLabel(dx, kContLabel, m_strContLabel);
    ExchangeLabel(dx, kCalcLabel, m_strCalcLabel);
    ExchangeLabel(dx, kColorLabel, m_strColorLabel);
    ExchangeLabel(dx, kIntervalLabel, m_strIntervalLabel);
    ExchangeLabel(dx, kLevelLabel, m_strLevelLabel);
}

void CContourCondDlg::OnInitDialog() {
    CDialogModel::OnInitDialog();
    DeleteAllRows(kLevelList);
    for (double v : m_levels) AddRow(kLevelList, {Sprintf(kFmt, v)});
    const bool rows = m_bContRangeRows != 0;
    for (int id : {kColorLabel, kContLabel, kContTilde, kColorTilde, kRangeRule, kContFrom, kContTo, kColorFrom,
                   kColorTo})
        Show(id, rows);
    if (rows)
        for (int id : {kContFrom, kContTo, kColorFrom, kColorTo}) Reformat(id, kFmt);
    for (int id : {kDispFrom, kDispTo, kCalcTo, kCalcFrom, kInterval, kLevel}) Reformat(id, kFmt);
}

void CContourCondDlg::OnFocusOut(int id) {
    switch (id) {
    case kDispFrom:
    case kDispTo:
    case kInterval:
    case kLevel:
    case kColorFrom:
    case kColorTo: Reformat(id, kFmt); break;
    default: break;
    }
}

void CContourCondDlg::OnClicked(int id) {
    if (id == kRegister) Register();
    else if (id == kDeleteAll) DeleteAllRows(kLevelList);
}

void CContourCondDlg::Register() {
    const double v = ParseDialogDouble(GetText(kLevel));
    const int n = RowCount(kLevelList);
    int at = n;
    for (int i = 0; i < n; ++i)
        if (ParseDialogDouble(GetCell(kLevelList, i, 0)) > v) {
            at = i;
            break;
        }
    InsertRow(kLevelList, at, {Sprintf(kFmt, v)});
}

void CContourCondDlg::OnRowDoubleClicked(int id) {
    if (id == kLevelList) DeleteRow(kLevelList, GetIndex(kLevelList));
}

void CContourCondDlg::OnOK() {
    if (!UpdateData(true)) return;
    if (m_dInterval < 1e-10) {
        ShowMessage({dlgtext::kIntervalNotPositive, dlgtext::kContourCaption, MbIcon::Warning});
        return;
    }
    std::vector<double> kept;
    for (int i = 0; i < RowCount(kLevelList); ++i) {
        const double v = ParseDialogDouble(GetCell(kLevelList, i, 0));
        if (kept.empty() || v - kept.back() >= 0.001) kept.push_back(v);
    }
    m_levels = std::move(kept);
    EndDialog(IDOK);
}

}  // namespace wv
