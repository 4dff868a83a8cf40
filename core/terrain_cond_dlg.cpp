#include "terrain_cond_dlg.h"

#include "sansyutu.h"
#include "tik_inf.h"
#include "platform/data_exchange.h"
#include "platform/text.h"

namespace wv {

namespace {

// The exchange and initialisation walk the rows in this order (row 10 after row 1 in
// the exchange, last in the initialisation), which decides which members a failed
// exchange has already updated.
constexpr int kExchangeRows[] = {1, 10, 2, 3, 4, 5, 6, 7, 8, 9};

}  // namespace

CTerrainCondDlg::CTerrainCondDlg() : CDialogModel(151, "地形条件", 243, 315) {
    AddGroup("磁北", {7, 4, 229, 32});
    AddLabel("方向(度)", {14, 18, 36, 8});
    AddEdit(kNorth, {52, 16, 46, 12});
    AddLabel("磁北の方向はX軸からY軸方向への角度を入力", {104, 13, 128, 18});
    AddLabel("磁北を変更する場合は、再計算を行ってください。", {10, 39, 226, 8});

    AddGroup("諸元算出位置", {7, 50, 229, 182});
    AddLabel("設定/削除", {12, 62, 40, 8});
    AddLabel("名　称", {58, 62, 60, 8});
    AddLabel("Ｘ", {122, 62, 52, 8});
    AddLabel("Ｙ", {178, 62, 52, 8});
    for (int r = 1; r <= kRows; ++r) {
        const int y = 73 + (r - 1) * 15;
        AddCheck(CheckId(r), "", {26, y + 1, 12, 10});
        AddEdit(NameId(r), {56, y, 62, 12});
        AddEdit(XId(r), {122, y, 52, 12});
        AddEdit(YId(r), {178, y, 52, 12});
    }

    AddGroup("同一点とみなす許容誤差", {7, 236, 146, 48});
    AddLabel("ﾏｳｽ（ﾋﾟｸｾﾙ）", {14, 250, 74, 8});
    AddEdit(kTolMouse, {92, 248, 50, 12});
    AddLabel("ﾀﾌﾞﾚｯﾄ（mm）", {14, 266, 74, 8});
    AddEdit(kTolTablet, {92, 264, 50, 12});

    AddGroup("画面回転角(度)", {158, 236, 78, 48});
    AddEdit(kRotation, {166, 254, 62, 12});

    AddButton(IDOK, "OK", {132, 293, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {186, 293, 50, 14});
}

void CTerrainCondDlg::LoadFrom(const CTik_Inf& tik, const CSansyutu& points) {
    m_dNorth = tik.m_dNorth;
    m_nTolMouse = tik.m_nTolMouse;
    m_nTolTablet = DoubleToInt(tik.m_dTolTablet);
    m_nRotation = DoubleToInt(-tik.m_dRotation);
    for (int i = 0; i < kRows; ++i) {
        const CSansyutuZokusei p = points.GetAt(i);
        m_nUse[i] = p.GetUse() ? 1 : 0;
        m_strName[i] = p.GetName();
        m_dX[i] = p.GetPos().m_dX;
        m_dY[i] = p.GetPos().m_dY;
    }
}

void CTerrainCondDlg::StoreTo(CTik_Inf& tik, CSansyutu& points) const {
    tik.m_dNorth = m_dNorth;
    tik.m_nTolMouse = m_nTolMouse;
    tik.m_dTolTablet = m_nTolTablet;
    tik.m_dRotation = -static_cast<double>(m_nRotation);
    int inUse = 0;
    for (int i = 0; i < kRows; ++i) {
        CSansyutuZokusei p = points.GetAt(i);
        p.SetName(m_strName[i]);
        p.SetPos(m_dX[i], m_dY[i]);
        p.SetUse(m_nUse[i] ? 1 : 0);
        points.SetAt(i, p);
        if (m_nUse[i]) ++inUse;
    }
    points.SetCount(inUse);
}

void CTerrainCondDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeText(dx, NameId(1), m_strName[0], kNameBytes);
    ExchangeInt(dx, kRotation, m_nRotation, 0, 359);
    ExchangeDouble(dx, kNorth, m_dNorth, "%.1f");
    ExchangeInt(dx, kTolMouse, m_nTolMouse);
    ExchangeInt(dx, kTolTablet, m_nTolTablet);
    for (int r : kExchangeRows) ExchangeCheck(dx, CheckId(r), m_nUse[r - 1]);
    for (int r : kExchangeRows)
        if (r != 1) ExchangeText(dx, NameId(r), m_strName[r - 1], kNameBytes);
    for (int r : kExchangeRows) ExchangeDouble(dx, XId(r), m_dX[r - 1], "%.3f");
    for (int r : kExchangeRows) ExchangeDouble(dx, YId(r), m_dY[r - 1], "%.3f");
}

void CTerrainCondDlg::OnInitDialog() {
    UpdateData(false);
    Reformat(kNorth, "%.1f");
    for (int r = 1; r <= kRows; ++r) Reformat(XId(r), "%.3f");
    for (int r = 1; r <= kRows; ++r) Reformat(YId(r), "%.3f");
    for (int r = 1; r <= kRows; ++r) ApplyRowRule(r);
}

void CTerrainCondDlg::ApplyRowRule(int r) {
    const bool on = GetCheck(CheckId(r)) != 0;
    for (int id : {NameId(r), XId(r), YId(r)}) Enable(id, on);
}

void CTerrainCondDlg::OnFocusOut(int id) {
    if (id == kNorth) {
        Reformat(id, "%.1f");
        return;
    }
    for (int r = 1; r <= kRows; ++r)
        if (id == XId(r) || id == YId(r)) Reformat(id, "%.3f");
}

void CTerrainCondDlg::OnClicked(int id) {
    for (int r = 1; r <= kRows; ++r)
        if (id == CheckId(r)) ApplyRowRule(r);
}

}  // namespace wv
