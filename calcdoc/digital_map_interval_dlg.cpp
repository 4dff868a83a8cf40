#include "calcdoc/digital_map_interval_dlg.h"

#include "calc/calc_doc_data.h"
#include "calcdoc/calc_dialog_texts.h"
#include "core/geometry.h"
#include "core/numeric.h"
#include "platform/data_exchange.h"

#include <cmath>

namespace wv {

namespace {

void ExchangeLabel(CDataExchange& dx, int id, std::string& text) {
    if (dx.IsSaving()) text = dx.Dialog().GetText(id);
    else dx.Dialog().SetText(id, text);
}

bool Unset(float v) { return v > 9.999e7f; }

}  // namespace

CDigitalMapIntervalDlg::CDigitalMapIntervalDlg()
    : CDialogModel(163, dlgtext::kMapIntervalCaption, 240, 120),
      m_strRangeLabel(dlgtext::kDisplayRangeM),
      m_strCalcLabel(dlgtext::kCalcRangeM) {
    AddLabel(dlgtext::kInterval, {7, 20, 56, 8});
    AddLabel(dlgtext::kAcross, {66, 7, 50, 8});
    AddLabel(dlgtext::kDown, {126, 7, 50, 8});
    AddEdit(kStepAcross, {66, 18, 50, 12});
    AddEdit(kStepDown, {126, 18, 50, 12});
    AddLabel(dlgtext::kMeshPitch, {7, 36, 56, 8});
    AddEdit(kPitch, {66, 34, 50, 12}).readOnly = true;
    AddLabel(dlgtext::kBaseX, {66, 50, 50, 8});
    AddLabel(dlgtext::kBaseY, {126, 50, 50, 8});
    AddLabel(dlgtext::kBasePoint, {7, 63, 56, 8});
    AddEdit(kBaseX, {66, 61, 50, 12});
    AddEdit(kBaseY, {126, 61, 50, 12});
    AddLabel(dlgtext::kDisplayRangeM, {7, 82, 56, 8}, kRangeLabel);
    AddEdit(kRangeLow, {66, 80, 50, 12});
    AddLabel(dlgtext::kTilde, {117, 82, 8, 8}, kRangeTilde);
    AddEdit(kRangeHigh, {126, 80, 50, 12});
    AddLabel(dlgtext::kCalcRangeM, {7, 98, 56, 8}, kCalcLabel);
    AddEdit(kCalcLow, {66, 96, 50, 12}).readOnly = true;
    AddLabel(dlgtext::kTilde, {117, 98, 8, 8}, kCalcTilde);
    AddEdit(kCalcHigh, {126, 96, 50, 12}).readOnly = true;
    AddButton(IDOK, dlgtext::kOk, {186, 7, 47, 14});
    AddButton(IDCANCEL, dlgtext::kCancel, {186, 25, 47, 14});
}

int CDigitalMapIntervalDlg::BaseSetOfKind(int kind) {
    switch (kind) {
    case 1: return 1;
    case 5: return 2;
    case 3: return 3;
    default: return -1;
    }
}

void CDigitalMapIntervalDlg::LoadFrom(const CTydDocData& doc, int set, int kind, double viewAngle) {
    m_nMapKind = kind;
    m_dViewAngle = viewAngle;
    m_areaOrigin = doc.m_calcArea.GetOrigin();
    const double pitch = doc.m_mesh.GetMeshSize();
    m_dPitch = pitch;
    const bool byCoordinates = kind == 1 || kind == 3 || kind == 5;
    if (set >= 0 && set < 4) {
        const CZmnInterval& iv = doc.m_zmn.m_interval[set];
        m_dStepDown = iv.m_dStepDown >= 0.0 ? iv.m_dStepDown : (byCoordinates ? pitch : 0.0);
        m_dStepAcross = iv.m_dStepAcross >= 0.0 ? iv.m_dStepAcross : (byCoordinates ? pitch : 0.0);
        m_dBaseX = m_dBaseY = 0.0;
        if (!Unset(iv.m_ptRef.m_fX) || !Unset(iv.m_ptRef.m_fY)) {
            // The base point is kept in the mesh frame; the user types world coordinates.
            const double a = -viewAngle * kPi / 180.0;
            double x = 0.0, y = 0.0;
            WorldToScreen(iv.m_ptRef.m_fX, iv.m_ptRef.m_fY, 0.0, 0.0, std::cos(a), std::sin(a), 1.0, m_areaOrigin.m_dX,
                          m_areaOrigin.m_dY, &x, &y);
            m_dBaseX = RoundDecimal(x, 3);
            m_dBaseY = RoundDecimal(y, 3);
        }
    }
    if (IsVectorKind(kind)) {
        const int t = doc.m_zmn.m_nValueType;
        const int ti = t >= 0 && t < 4 ? t : 0;
        m_dRangeLow = doc.m_zmn.m_dVectorLow[ti];
        m_dRangeHigh = doc.m_zmn.m_dVectorHigh[ti];
        m_dCalcLow = doc.m_mesh.GetMinValue(ti);
        m_dCalcHigh = doc.m_mesh.GetMaxValue(ti);
    }
}

void CDigitalMapIntervalDlg::SetAreaExtent(const CTydDocData& doc) {
    const double pitch = doc.m_calcArea.GetMeshSize();
    m_dAreaMinX = 0.0;
    m_dAreaMinY = 0.0;
    m_dAreaMaxX = (doc.m_calcArea.GetMeshCountX() - 1) * pitch;
    m_dAreaMaxY = (doc.m_calcArea.GetMeshCountY() - 1) * pitch;
}

void CDigitalMapIntervalDlg::StoreTo(CTydDocData& doc, int set) const {
    if (set >= 0 && set < 4) {
        doc.m_zmn.m_interval[set].m_dStepDown = m_dStepDown;
        doc.m_zmn.m_interval[set].m_dStepAcross = m_dStepAcross;
    }
    const int t = doc.m_zmn.m_nValueType;
    if (IsVectorKind(m_nMapKind) && t >= 0 && t < 4) {
        doc.m_zmn.m_dVectorLow[t] = m_dRangeLow;
        doc.m_zmn.m_dVectorHigh[t] = m_dRangeHigh;
    }
}

void CDigitalMapIntervalDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeDouble(dx, kStepAcross, m_dStepAcross, "%.1f");
    ExchangeDouble(dx, kStepDown, m_dStepDown, "%.1f");
    // The pitch is the mesh's: shown, never taken back (the multiple check relies on it).
    double pitch = m_dPitch;
    ExchangeDouble(dx, kPitch, pitch, "%.1f");
    ExchangeDouble(dx, kBaseX, m_dBaseX, "%.3f");
    ExchangeDouble(dx, kBaseY, m_dBaseY, "%.3f");
    ExchangeDouble(dx, kRangeLow, m_dRangeLow, "%.2f");
    ExchangeDouble(dx, kRangeHigh, m_dRangeHigh, "%.2f");
    double calcLow = m_dCalcLow, calcHigh = m_dCalcHigh;
    ExchangeDouble(dx, kCalcLow, calcLow, "%.2f");
    ExchangeDouble(dx, kCalcHigh, calcHigh, "%.2f");
    ExchangeLabel(dx, kRangeLabel, m_strRangeLabel);
    ExchangeLabel(dx, kCalcLabel, m_strCalcLabel);
}

void CDigitalMapIntervalDlg::OnInitDialog() {
    CDialogModel::OnInitDialog();
    const int k = m_nMapKind;
    const bool base = BaseSetOfKind(k) >= 0;
    Enable(kBaseX, base);
    Enable(kBaseY, base);
    const bool vector = IsVectorKind(k);
    SetCaption(vector ? dlgtext::kVectorIntervalCaption : dlgtext::kMapIntervalCaption);
    for (int id : {kRangeLabel, kCalcLabel, kRangeTilde, kCalcTilde, kRangeLow, kRangeHigh, kCalcLow, kCalcHigh})
        Show(id, vector);
}

void CDigitalMapIntervalDlg::OnFocusOut(int id) {
    switch (id) {
    case kStepAcross:
    case kStepDown: Reformat(id, "%.1f"); break;
    case kBaseX:
    case kBaseY: Reformat(id, "%.3f"); break;
    case kRangeLow:
    case kRangeHigh: Reformat(id, "%.2f"); break;
    default: break;
    }
}

void CDigitalMapIntervalDlg::OnOK() {
    if (!UpdateData(true)) return;
    const auto fail = [this](const char* text, const char* caption) {
        ShowMessage({text, caption, MbIcon::Warning});
    };
    if (m_dStepAcross < 1e-10 || m_dStepDown < 1e-10) {
        fail(dlgtext::kStepNotPositive, dlgtext::kStepCaption);
        return;
    }
    const double p = m_dPitch;
    const auto multiple = [p](double s) {
        double r = std::floor(s / p + 1e-10) * p;
        if (r < p) r = p;
        return r;
    };
    // A pitch of 0 (no mesh) makes no step a multiple of it.
    if (!(p > 0.0) || std::fabs(m_dStepAcross - multiple(m_dStepAcross)) > 1e-10 ||
        std::fabs(m_dStepDown - multiple(m_dStepDown)) > 1e-10) {
        fail(dlgtext::kStepNotMultiple, dlgtext::kStepCaption);
        return;
    }
    if (IsVectorKind(m_nMapKind) && std::fabs(m_dRangeLow - m_dRangeHigh) < 1e-10) {
        fail(dlgtext::kRangeEqual, dlgtext::kRangeCaption);
        return;
    }
    const int set = BaseSetOfKind(m_nMapKind);
    if (set >= 0) {
        const double a = m_dViewAngle * kPi / 180.0;
        double x = 0.0, y = 0.0;
        WorldToScreen(m_dBaseX, m_dBaseY, m_areaOrigin.m_dX, m_areaOrigin.m_dY, std::cos(a), std::sin(a), 1.0, 0.0, 0.0, &x,
                      &y);
        if (x < m_dAreaMinX - 0.001 || x > m_dAreaMaxX + 0.001 || y < m_dAreaMinY - 0.001 ||
            y > m_dAreaMaxY + 0.001) {
            fail(dlgtext::kBaseOutside, dlgtext::kBaseCaption);
            return;
        }
        if (m_pZmn) m_pZmn->m_interval[set].m_ptRef = CPointF(static_cast<float>(x), static_cast<float>(y));
    }
    EndDialog(IDOK);
}

}  // namespace wv
