#include "calcdoc/result_list_dlg.h"

#include "calc/calc_doc_data.h"
#include "calcdoc/calc_dialog_texts.h"
#include "core/sansyutu.h"
#include "platform/text.h"

#include <algorithm>
#include <cstring>

namespace wv {

namespace {

constexpr double kNoValueFrom = 99999999.9;
constexpr double kNoDirectionFrom = 990.0;

}  // namespace

CCalcPointResultDlg::CCalcPointResultDlg(CMsgTarget* owner, CProfile& profile)
    : CDialogModel(136, dlgtext::kResultListCaption, 240, 140), m_pOwner(owner), m_profile(profile) {
    AddListView(kList, {}, {7, 7, 226, 98});
    AddLabel(dlgtext::kResultListNote, {7, 110, 170, 20}, kNote);
    AddButton(IDCANCEL, dlgtext::kClose, {183, 119, 50, 14});
}

std::string CCalcPointResultDlg::ValueColumnTitle(int kind) {
    return dlgtext::kValueColumns[kind >= 0 && kind <= 2 ? kind : 3];
}

std::string CCalcPointResultDlg::FormatValue(double value, int decimals) {
    if (value >= kNoValueFrom) return dlgtext::kNoValueText;
    if (decimals > 0) return Sprintf("%*.*f", decimals + 3, decimals, value);
    return Sprintf("%2d", static_cast<int>(value + 0.5));
}

std::string CCalcPointResultDlg::FormatDirection(double direction) {
    if (direction >= kNoDirectionFrom) return dlgtext::kNoDirectionText;
    std::string text = Sprintf("%5.1f", direction);
    // A direction just below 360 or just below 0 rounds onto the same bearing as 0.0.
    if (text == "360.0" || text == " -0.0") text = "  0.0";
    return "N" + text + "°";
}

void CCalcPointResultDlg::Create() {
    if (m_bWindow) return;
    EndDialog(0);
    m_bWindow = true;
    if (m_host) m_host->CreateWindow();
    else InitDialog();
}

void CCalcPointResultDlg::OnInitDialog() {
    int top = m_profile.GetProfileInt("Position", "RefPosDlgTop", -1);
    int left = m_profile.GetProfileInt("Position", "RefPosDlgLeft", -1);
    if ((top < 0 || left < 0) && m_host) m_host->OwnerTopLeft(left, top);
    if (m_host) m_host->MoveTo(left, top);
    Fill();
}

void CCalcPointResultDlg::Fill() {
    ResultListView* view = m_viewSource ? m_viewSource() : nullptr;
    const CTydViewData* data = view ? &view->ResultListData() : nullptr;
    const int kind = data ? data->GetDocument().m_zmn.m_nValueType : 0;
    SetColumns(kList, {{dlgtext::kPointNameColumn, ListPixelsToDlu(130)},
                       {ValueColumnTitle(kind), ListPixelsToDlu(110)},
                       {dlgtext::kDirectionColumn, ListPixelsToDlu(80)}});
    DeleteAllRows(kList);
    if (!data) return;
    const int decimals = data->GetDocument().m_zmn.m_nDecimals;
    const int slots = std::min({g_calcPoints.GetSize(), static_cast<int>(data->m_pCalcPtValue.size()),
                                static_cast<int>(data->m_pCalcPtDir.size())});
    for (int i = 0; i < slots; ++i) {
        const CSansyutuZokusei point = g_calcPoints.GetAt(i);
        if (point.GetUse() == 0) continue;
        AddRow(kList, {Cp932ToUtf8(point.GetName()), FormatValue(data->m_pCalcPtValue[static_cast<std::size_t>(i)], decimals),
                       FormatDirection(data->m_pCalcPtDir[static_cast<std::size_t>(i)])});
    }
}

void CCalcPointResultDlg::Close() {
    if (!m_bWindow) return;
    if (m_host) {
        int left = 0, top = 0;
        m_host->GetPosition(left, top);
        m_profile.WriteProfileInt("Position", "RefPosDlgTop", top);
        m_profile.WriteProfileInt("Position", "RefPosDlgLeft", left);
    }
    PostMessage(m_pOwner, WM_RESULTLIST_CLOSED, 0, 0);
    m_bWindow = false;
    EndDialog(IDCANCEL);
    if (m_host) m_host->DestroyWindow();
}

void CCalcPointResultDlg::OnCancel() {
    if (!m_bWindow) return;
    // The list belongs to the frame's result view, which need not be the active one.
    if (ResultListView* view = m_viewSource ? m_viewSource() : nullptr) view->OnResultListClosed();
    Close();
}

long CCalcPointResultDlg::WindowProc(unsigned message, std::uintptr_t, std::intptr_t) {
    switch (message) {
    case WM_RESULTLIST_REFRESH:
        if (m_bWindow) {
            Fill();
            if (m_host) m_host->Refresh();
        }
        return 0;
    case WM_RESULTLIST_CLOSE: Close(); return 0;
    case WM_RESULTLIST_ESCAPE:
        if (m_bWindow) OnCancel();
        return 0;
    default: return 0;
    }
}

}  // namespace wv
