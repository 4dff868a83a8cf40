#include "wave_cond_dlg.h"

#include "cal_area.h"
#include "messages.h"
#include "tyd_inf.h"
#include "zmn_inf.h"
#include "platform/data_exchange.h"
#include "platform/text.h"

#include <climits>
#include <cmath>

namespace wv {

int RescaleMeshCount(int previousCount, double previousPitch, double newPitch) {
    // An unset area stays unset: rescaling it must not invent a 1 x 1 mesh.
    if (previousCount <= 0 || newPitch == 0.0) return 0;
    const double v = (previousCount - 1) * previousPitch / newPitch + 0.9;
    if (!std::isfinite(v) || v >= static_cast<double>(INT_MAX) || v <= -2.0) return 0;
    const int n = static_cast<int>(v) + 1;  // truncated toward zero
    return n < 0 ? 0 : n;
}

CWaveCondDlg::CWaveCondDlg() : CDialogModel(152, "波条件", 338, 271) {
    // Left column: how the principal direction is given, then the wave and spectrum.
    AddGroup("主波向きの方向", {7, 4, 180, 74});
    AddRadio(kDirMode16, "１６方位指定", {14, 18, 80, 10}, true);
    AddRadio(kDirModeLeft, "北からの角度(左回り：正)", {14, 36, 114, 10}, false);
    AddRadio(kDirModeRight, "北からの角度(右回り：正)", {14, 56, 114, 10}, false);
    AddList(kDir16List,
            {"Ｎ", "ＮＮＥ", "ＮＥ", "ＥＮＥ", "Ｅ", "ＥＳＥ", "ＳＥ", "ＳＳＥ", "Ｓ", "ＳＳＷ", "ＳＷ",
             "ＷＳＷ", "Ｗ", "ＷＮＷ", "ＮＷ", "ＮＮＷ"},
            {108, 16, 72, 120});
    AddEdit(kDirAngle, {132, 44, 48, 12});

    AddGroup("主波向きの諸元", {7, 82, 180, 162});
    struct Row { const char* label; int id; };
    const Row rows[] = {
        {"H0：沖波波高(m)", kH0},
        {"T0：沖波周期(sec)", kT0},
        {"潮位(m)", kTide},
        {"方向分布関数の分割数(方向分割)", kDirDiv},
        {"方向集中度ﾊﾟﾗﾒｰﾀ(Smax)", kSmax},
        {"入射方向より右方向の成分波の広がり（度）", kSpreadRight},
        {"入射方向より左方向の成分波の広がり（度）", kSpreadLeft},
        {"周波数ｽﾍﾟｸﾄﾙの分割数(周期分割)", kFreqDiv},
    };
    int y = 94;
    for (const Row& r : rows) {
        AddLabel(r.label, {14, y, 120, 17});
        AddEdit(r.id, {136, y + 1, 44, 12});
        y += 18;
    }

    // Right column: the area, the output direction, the screen rotation, breaking.
    AddGroup("計算領域", {194, 4, 137, 88});
    AddLabel("原点位置", {201, 16, 60, 8});
    AddLabel("Ｘmin", {207, 29, 24, 8});
    AddEdit(kOriginX, {234, 27, 90, 12});
    AddLabel("Ｙmin", {207, 43, 24, 8});
    AddEdit(kOriginY, {234, 41, 90, 12});
    AddLabel("ﾒｯｼｭ数", {201, 59, 30, 8});
    AddLabel("縦", {234, 59, 10, 8});
    AddEdit(kCountY, {245, 57, 30, 12});
    AddLabel("横", {280, 59, 10, 8});
    AddEdit(kCountX, {291, 57, 33, 12});
    AddLabel("ﾒｯｼｭﾋﾟｯﾁ(m)", {201, 75, 50, 8});
    AddEdit(kPitch, {256, 73, 68, 12});

    AddGroup("屈折後の波向き", {194, 96, 137, 40}, kOutSenseGroup);
    AddRadio(kOutSenseLeft, "北からの角度(左回り：正)", {201, 108, 124, 10}, true);
    AddRadio(kOutSenseRight, "北からの角度(右回り：正)", {201, 121, 124, 10}, false);

    AddGroup("画面回転角度の任意指定", {194, 140, 137, 58});
    AddRadio(kFreeRotOff, "しない(推奨)", {201, 152, 70, 10}, true);
    AddLabel("画面上方から波が入射するように自動回転", {211, 163, 114, 17});
    AddRadio(kFreeRotOn, "する", {201, 182, 34, 10}, false);
    AddEdit(kRotation, {240, 181, 40, 12});

    AddGroup("砕波の影響の考慮", {194, 202, 137, 42});
    AddRadio(kBreakingOff, "しない", {201, 213, 44, 10}, true);
    AddRadio(kBreakingOn, "する", {250, 213, 40, 10}, false);
    AddLabel("換算沖波算定時は「しない」に設定します。", {201, 225, 126, 17});

    AddButton(IDOK, "OK", {222, 250, 52, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {279, 250, 52, 14});
    AddButton(kSetDefaults, "初期値に設定", {7, 250, 62, 14});
    AddButton(kRestoreDefaults, "初期値に戻す", {73, 250, 62, 14});
}

void CWaveCondDlg::LoadFrom(const CTyd_Inf& tyd, const CCalArea& area) {
    m_nDirMode = tyd.m_nDirMode;
    m_nDir16 = tyd.m_nDir16;
    m_dDirAngle = tyd.m_dDirAngle;
    m_dH0 = tyd.m_dH0;
    m_dT0 = tyd.m_dT0;
    m_dTide = tyd.m_dTide;
    m_nDirDiv = tyd.m_nDirDiv;
    m_nSmax = DoubleToInt(tyd.m_dSmax);
    m_dSpreadRight = tyd.m_dSpreadRight;
    m_dSpreadLeft = tyd.m_dSpreadLeft;
    m_nFreqDiv = tyd.m_nFreqDiv;
    m_nOutDirSense = tyd.m_nOutDirSense;
    m_bBreaking = tyd.m_bBreaking;
    m_bFreeRotation = tyd.m_bFreeRotation;
    m_dOriginX = area.GetOrigin().m_dX;
    m_dOriginY = area.GetOrigin().m_dY;
    m_nMeshCountY = area.GetMeshCountY();
    m_nMeshCountX = area.GetMeshCountX();
    m_dMeshPitch = area.GetMeshSize();
}

void CWaveCondDlg::StoreTo(CTyd_Inf& tyd, CCalArea& area) const {
    tyd.m_nDirMode = m_nDirMode;
    tyd.m_nDir16 = m_nDir16;
    tyd.m_dDirAngle = m_dDirAngle;
    tyd.m_dH0 = m_dH0;
    tyd.m_dT0 = m_dT0;
    tyd.m_dTide = m_dTide;
    tyd.m_nDirDiv = m_nDirDiv;
    tyd.m_dSmax = m_nSmax;
    tyd.m_dSpreadRight = m_dSpreadRight;
    tyd.m_dSpreadLeft = m_dSpreadLeft;
    tyd.m_nFreqDiv = m_nFreqDiv;
    tyd.m_nOutDirSense = m_nOutDirSense;
    tyd.m_bBreaking = m_bBreaking;
    tyd.m_bFreeRotation = m_bFreeRotation;
    area.SetOrigin(m_dOriginX, m_dOriginY);
    area.SetMeshCountY(m_nMeshCountY);
    area.SetMeshCountX(m_nMeshCountX);
    area.SetMeshSize(m_dMeshPitch);
}

void CWaveCondDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeDouble(dx, kOriginX, m_dOriginX, "%.3f");
    ExchangeDouble(dx, kOriginY, m_dOriginY, "%.3f");
    ExchangeDouble(dx, kPitch, m_dMeshPitch, "%.1f");
    ExchangeInt(dx, kCountY, m_nMeshCountY);
    ExchangeInt(dx, kCountX, m_nMeshCountX);
    ExchangeRadio(dx, kOutSenseLeft, m_nOutDirSense);
    ExchangeList(dx, kDir16List, m_nDir16);
    ExchangeDouble(dx, kDirAngle, m_dDirAngle, "%.1f");
    ExchangeRadio(dx, kDirMode16, m_nDirMode);
    ExchangeDouble(dx, kH0, m_dH0, "%.2f");
    ExchangeDouble(dx, kT0, m_dT0, "%.2f");
    ExchangeDouble(dx, kTide, m_dTide, "%.2f");
    ExchangeInt(dx, kDirDiv, m_nDirDiv);
    ExchangeInt(dx, kSmax, m_nSmax);
    ExchangeInt(dx, kFreqDiv, m_nFreqDiv);
    ExchangeDouble(dx, kSpreadLeft, m_dSpreadLeft, "%.1f");
    ExchangeDouble(dx, kSpreadRight, m_dSpreadRight, "%.1f");
    ExchangeRadio(dx, kFreeRotOff, m_bFreeRotation);
    ExchangeInt(dx, kRotation, m_nRotation, 0, 359);
    ExchangeRadio(dx, kBreakingOff, m_bBreaking);
}

void CWaveCondDlg::OnInitDialog() {
    UpdateData(false);
    UpdateControls();
}

void CWaveCondDlg::ShowDirectionState(bool sixteenPoint) {
    Enable(kDir16List, sixteenPoint);
    Enable(kDirAngle, !sixteenPoint);
    // The output sense only has a meaning for a sixteen-point direction.
    for (int id : {kOutSenseGroup, kOutSenseLeft, kOutSenseRight}) Enable(id, sixteenPoint);
}

void CWaveCondDlg::UpdateControls() {
    Reformat(kDirAngle, "%.1f");
    Reformat(kH0, "%.2f");
    Reformat(kT0, "%.2f");
    Reformat(kTide, "%.2f");
    Reformat(kSpreadRight, "%.1f");
    Reformat(kSpreadLeft, "%.1f");
    m_dPrevPitch = m_dMeshPitch;
    m_nPrevCountX = m_nMeshCountX;
    m_nPrevCountY = m_nMeshCountY;
    Reformat(kOriginX, "%.3f");
    Reformat(kOriginY, "%.3f");
    Reformat(kPitch, "%.1f");
    ShowDirectionState(!(m_nDirMode == 1 || m_nDirMode == 2));
    Show(kRotation, m_bFreeRotation == 1);
}

void CWaveCondDlg::OnFocusOut(int id) {
    switch (id) {
    case kOriginX:
    case kOriginY: Reformat(id, "%.3f"); break;
    case kDirAngle:
    case kSpreadRight:
    case kSpreadLeft: Reformat(id, "%.1f"); break;
    case kH0:
    case kT0:
    case kTide: Reformat(id, "%.2f"); break;
    case kCountY:
    case kCountX:
        if (UpdateData(true)) {
            if (id == kCountY) m_nPrevCountY = m_nMeshCountY;
            else m_nPrevCountX = m_nMeshCountX;
        }
        break;
    case kPitch: {
        Reformat(kPitch, "%.1f");
        if (!UpdateData(true)) return;
        m_nMeshCountX = RescaleMeshCount(m_nPrevCountX, m_dPrevPitch, m_dMeshPitch);
        m_nMeshCountY = RescaleMeshCount(m_nPrevCountY, m_dPrevPitch, m_dMeshPitch);
        SetText(kCountX, Sprintf("%d", m_nMeshCountX));
        SetText(kCountY, Sprintf("%d", m_nMeshCountY));
        m_dPrevPitch = m_dMeshPitch;
        m_nPrevCountX = m_nMeshCountX;
        m_nPrevCountY = m_nMeshCountY;
        break;
    }
    default: break;
    }
}

void CWaveCondDlg::OnClicked(int id) {
    switch (id) {
    case kDirMode16: ShowDirectionState(true); break;
    case kDirModeLeft:
    case kDirModeRight: ShowDirectionState(false); break;
    case kFreeRotOff: Show(kRotation, false); break;
    case kFreeRotOn: Show(kRotation, true); break;
    case kSetDefaults: SetDefaults(); break;
    case kRestoreDefaults: RestoreDefaults(); break;
    default: break;
    }
}

void CWaveCondDlg::OnOK() {
    if (!UpdateData(true)) return;
    // The solver divides by both division counts: none may be below 1. Node counts of 0
    // stay valid, they mean an area not set yet.
    const struct {
        bool fails;
        const char* text;
        const char* caption;
    } checks[] = {
        {m_nDirDiv < 1, msg::kDirDivPositive, msg::kWaveSpecCaption},
        {m_nFreqDiv < 1, msg::kFreqDivPositive, msg::kWaveSpecCaption},
        {m_dMeshPitch < 0.0001, msg::kPitchPositive, msg::kAreaCaption},
        {m_nMeshCountX < 0 || m_nMeshCountY < 0, msg::kCountPositive, msg::kAreaCaption},
        // An area the calculation file cannot hold would be saved and never open again.
        {!MeshCountsFit(m_nMeshCountX, m_nMeshCountY), msg::kCountTooLarge, msg::kAreaCaption},
    };
    for (const auto& c : checks) {
        if (c.fails) {
            ShowMessage({c.text, c.caption, MbIcon::Warning});
            return;
        }
    }
    EndDialog(IDOK);
}

void CWaveCondDlg::SetDefaults() {
    if (!UpdateData(true)) return;
    const int calcState = g_tydInfDefault.m_nCalcState;
    StoreTo(g_tydInfDefault, g_calcAreaDefault);
    g_tydInfDefault.m_nCalcState = calcState;
    if (m_bFreeRotation == 1) g_zmnInfDefault.m_dRotation = -static_cast<double>(m_nRotation);
}

void CWaveCondDlg::RestoreDefaults() {
    if (!UpdateData(true)) return;
    LoadFrom(g_tydInfDefault, g_calcAreaDefault);
    if (m_bFreeRotation == 1) m_nRotation = DoubleToInt(-g_zmnInfDefault.m_dRotation);
    UpdateData(false);
    UpdateControls();
}

}  // namespace wv
