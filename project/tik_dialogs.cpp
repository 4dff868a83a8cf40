#include "project/tik_dialogs.h"

#include "core/line.h"
#include "core/numeric.h"
#include "core/sansyutu.h"
#include "core/sokuten.h"
#include "core/table_limits.h"
#include "platform/data_exchange.h"
#include "project/tik_edit_state.h"

#include <cstdio>

namespace wv {

namespace {

int ModeOf(const TikEditState* v) { return v ? v->m_nMode : 0; }

// The edit rule of the one-value and point dialogs: exchange, round to the millimetre,
// show the rounded value.
bool RoundEdit(CDialogModel& dlg, int id, double& member) {
    if (!dlg.UpdateData(true)) return false;
    member = RoundDecimal(member, 3);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3lf", member);
    dlg.SetText(id, buf);
    return true;
}

}  // namespace

// ---- 地盤高設定 (167) ----

CGroundHeightDlg::CGroundHeightDlg(const TikEditState* view)
    : CDialogModel(167, "地盤高設定", 180, 110), m_pView(view) {
    AddRadio(kTypeHeight, "地盤高", {12, 8, 50, 10}, true);
    AddRadio(kTypeValid, "境界有効", {66, 8, 50, 10}, false);
    AddRadio(kTypeInvalid, "境界無効", {120, 8, 50, 10}, false);
    AddPicture(165, {12, 28, 16, 16});
    AddLabel("START", {32, 32, 30, 8});
    AddEdit(kStart, {66, 30, 60, 12});
    AddLabel("ｍ", {130, 32, 12, 8});
    AddPicture(166, {12, 52, 16, 16});
    AddLabel("END", {32, 56, 30, 8});
    AddEdit(kEnd, {66, 54, 60, 12});
    AddLabel("ｍ", {130, 56, 12, 8});
    AddButton(IDOK, "OK", {66, 88, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {122, 88, 50, 14});
}

void CGroundHeightDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeRadio(dx, kTypeHeight, m_nType);
    ExchangeDouble(dx, kStart, m_dHeightStart, "%.1f");
    ExchangeDouble(dx, kEnd, m_dHeightEnd, "%.1f");
}

void CGroundHeightDlg::OnInitDialog() {
    const int mode = ModeOf(m_pView);
    const CLineZokusei line = g_lines.GetAt(m_pView ? m_pView->m_nSelIndex : -1);
    const bool auxiliary = mode == 133 || mode == 130;
    int type = 0;
    if (auxiliary) {
        type = line.GetKind() == kLineAuxiliary ? line.GetHeightType() : 0;
        if (type == kBoundaryInvalid) type = kBoundaryValid;
        Enable(kTypeInvalid, false);
    } else {
        type = line.GetKind() == kLineTerrain ? line.GetHeightType() : 0;
        if (mode == 58) {
            if (type == 0) type = kBoundaryValid;
            Enable(kTypeHeight, false);
        } else if (mode == 55) {
            type = 0;
            Enable(kTypeValid, false);
            Enable(kTypeInvalid, false);
        }
    }
    m_nType = type;
    const int p1 = m_pView ? m_pView->m_nPoint1 : -1;
    const int p2 = m_pView ? m_pView->m_nPoint2 : -1;
    m_dHeightStart = g_surveyPoints.GetAt(p1).GetDepth();
    m_dHeightEnd = g_surveyPoints.GetAt(p2).GetDepth();

    // A height that another kind of line fixes at the point cannot be typed here.
    auto locked = [&](int pointSlot) {
        if (mode == 58) return false;
        const CSokutenZokusei p = g_surveyPoints.GetAt(pointSlot);
        for (int i = 0; i < p.GetLineCount(); ++i) {
            const CLineZokusei l = g_lines.GetAt(p.GetLine(i));
            if (l.GetState() < 0) continue;
            if (l.GetKind() == kLineDepth) return true;
            const bool ground = l.GetHeightType() == kHeightFromPoints;
            if ((mode == 50 || mode == 55) && l.GetKind() == kLineAuxiliary && ground) return true;
            if (auxiliary && l.GetKind() == kLineTerrain && ground) return true;
        }
        return false;
    };
    m_bLockStart = locked(p1);
    m_bLockEnd = locked(p2);
    UpdateData(false);
    EnableHeights(type == 0);
    Reformat(kStart, "%.1f");
    Reformat(kEnd, "%.1f");
}

void CGroundHeightDlg::EnableHeights(bool on) {
    Enable(kStart, on && !m_bLockStart);
    Enable(kEnd, on && !m_bLockEnd);
}

void CGroundHeightDlg::OnFocusOut(int id) {
    if (id == kStart || id == kEnd) Reformat(id, "%.1f");
}

void CGroundHeightDlg::OnClicked(int id) {
    if (id == kTypeHeight) EnableHeights(true);
    if (id == kTypeValid || id == kTypeInvalid) EnableHeights(false);
}

// ---- 角度・距離指定 (148) ----

CAngleDistDlg::CAngleDistDlg(const TikEditState* view)
    : CDialogModel(148, "角度・距離指定", 170, 90), m_pView(view) {
    AddLabel("距離（ｍ）", {10, 10, 50, 8});
    AddEdit(kDistance, {64, 8, 60, 12});
    AddLabel("角度（度）", {10, 28, 50, 8});
    AddEdit(kAngle, {64, 26, 60, 12});
    AddLabel("線分要素の方向を基準に右回りの角度を指定", {10, 46, 150, 16});
    AddButton(IDOK, "OK", {56, 68, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {112, 68, 50, 14});
}

void CAngleDistDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeDouble(dx, kDistance, m_dDistance, "%.3f");
    ExchangeDouble(dx, kAngle, m_dAngle, "%.3f");
}

void CAngleDistDlg::OnFocusOut(int id) {
    if (id == kDistance || id == kAngle) Reformat(id, "%.3f");
}

// ---- 測点移動 / 伸縮計算 / 計測 (147) ----

namespace {
const char* ValueCaption(int mode) {
    switch (mode) {
    case 380: return "伸縮計算";
    case 33: return "計測";
    default: return "測点移動";
    }
}
const char* ValueLabel(int mode) {
    switch (mode) {
    case 380: return "伸縮距離（ｍ）";
    case 33: return "距離（ｍ）";
    default: return "移動量（ｍ）";
    }
}
}  // namespace

CValueInputDlg::CValueInputDlg(const TikEditState* view)
    : CDialogModel(147, ValueCaption(ModeOf(view)), 150, 60), m_pView(view) {
    AddLabel(ValueLabel(ModeOf(view)), {10, 10, 60, 8}, kLabel);
    AddEdit(kValue, {74, 8, 64, 12});
    AddButton(IDOK, "OK", {32, 36, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {88, 36, 50, 14});
}

void CValueInputDlg::DoDataExchange(CDataExchange& dx) { ExchangeDouble(dx, kValue, m_dValue, "%.3lf"); }

void CValueInputDlg::OnInitDialog() {
    UpdateData(false);
    if (ModeOf(m_pView) == 33) {
        // A measured distance is only read: the value cannot be typed over, and OK (or
        // Escape) closes it.
        Find(kValue)->readOnly = true;
        Show(IDCANCEL, false);
        GotoControl(IDOK, false);
    }
}

void CValueInputDlg::OnFocusOut(int id) {
    if (id == kValue) RoundEdit(*this, kValue, m_dValue);
}

// ---- 点追加 / 点座標編集 (149) ----

CCoordPairDlg::CCoordPairDlg(int templateId, const char* caption, int idX, int idY,
                             const TikEditState* view, bool editForm)
    : CDialogModel(templateId, caption, 150, 70), m_pView(view), m_bEdit(editForm) {
    AddLabel("X", {10, 10, 12, 8});
    AddEdit(idX, {26, 8, 70, 12});
    AddLabel("Y", {10, 28, 12, 8});
    AddEdit(idY, {26, 26, 70, 12});
    AddButton(IDOK, m_bEdit ? "OK" : "登録", {100, 8, 44, 14});
    AddButton(IDCANCEL, m_bEdit ? "ｷｬﾝｾﾙ" : "閉じる", {100, 26, 44, 14});
}

CPointCoordDlg::CPointCoordDlg(const TikEditState* view)
    : CCoordPairDlg(149, ModeOf(view) == 101 ? "点座標編集" : "点追加", kX, kY, view, ModeOf(view) == 101) {}

void CPointCoordDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeDouble(dx, kX, m_dX, "%.3lf");
    ExchangeDouble(dx, kY, m_dY, "%.3lf");
}

void CPointCoordDlg::OnInitDialog() { UpdateData(false); }

void CPointCoordDlg::OnFocusOut(int id) {
    if (id == kX) RoundEdit(*this, kX, m_dX);
    if (id == kY) RoundEdit(*this, kY, m_dY);
}

bool CPointCoordDlg::TakeEdits() {
    // The default button takes what the edits show, exactly as leaving them would.
    return RoundEdit(*this, kX, m_dX) && RoundEdit(*this, kY, m_dY);
}

void CPointCoordDlg::OnOK() {
    if (!TakeEdits()) return;
    if (m_bEdit) {
        EndDialog(IDOK);
        return;
    }
    if (g_surveyPoints.HitTest(m_dX, m_dY, 0.001) >= 0) return;
    if (g_surveyPoints.Add(m_dX, m_dY, 0) < 0) {
        ShowMessage({TableFullMessage(kSurveyPointsFull), kTableFullCaption, MbIcon::None});
        return;
    }
    if (m_onRegistered) m_onRegistered();
}

// ---- 算出点追加 / 算出点座標編集 (156) ----

CSansyutuCoordDlg::CSansyutuCoordDlg(const TikEditState* view)
    : CCoordPairDlg(156, ModeOf(view) == 143 ? "算出点座標編集" : "算出点追加", kX, kY, view,
                    ModeOf(view) == 143) {}

void CSansyutuCoordDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeDouble(dx, kX, m_dX, "%.3f");
    ExchangeDouble(dx, kY, m_dY, "%.3f");
}

void CSansyutuCoordDlg::OnInitDialog() {
    UpdateData(false);
    Reformat(kX, "%.3f");
    Reformat(kY, "%.3f");
}

void CSansyutuCoordDlg::OnFocusOut(int id) {
    if (id == kX || id == kY) Reformat(id, "%.3f");
}

void CSansyutuCoordDlg::OnOK() {
    Reformat(kX, "%.3f");
    Reformat(kY, "%.3f");
    if (!UpdateData(true)) return;
    if (m_bEdit) {
        EndDialog(IDOK);
        return;
    }
    if (g_calcPoints.HitTest(m_dX, m_dY, 0.001) >= 0) return;
    if (g_calcPoints.Add(m_dX, m_dY) < 0) {
        char text[160];
        std::snprintf(text, sizeof text, "算出点の登録数は上限値(%d)に達しています。",
                      g_calcPoints.GetSize());
        ShowMessage({text, "ｴﾗｰ", MbIcon::None});
        return;
    }
    if (m_onRegistered) m_onRegistered();
}

// ---- 地盤高設定 (146) ----

CHeightValueDlg::CHeightValueDlg() : CDialogModel(146, "地盤高設定", 130, 50) {
    AddEdit(kHeight, {10, 8, 70, 12});
    AddLabel("ｍ", {84, 10, 12, 8});
    AddButton(IDOK, "OK", {14, 30, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {70, 30, 50, 14});
}

void CHeightValueDlg::DoDataExchange(CDataExchange& dx) { ExchangeDouble(dx, kHeight, m_dHeight, "%.1f"); }

void CHeightValueDlg::OnInitDialog() {
    UpdateData(false);
    Reformat(kHeight, "%.1f");
}

void CHeightValueDlg::OnFocusOut(int id) {
    if (id == kHeight) Reformat(id, "%.1f");
}

}  // namespace wv
