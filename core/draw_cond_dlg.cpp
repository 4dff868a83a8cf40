#include "draw_cond_dlg.h"

#include "frame_size.h"
#include "zmn_inf.h"
#include "platform/data_exchange.h"

namespace wv {

namespace {

// The default-able members, in one place for both directions.
template <class Dlg, class Zmn> void CopyDefaultable(Dlg& to, const Zmn& from) {
    to.m_nPaperSize = from.m_nPaperSize;
    to.m_nPaperOrient = from.m_nPaperOrient;
    to.m_nMarginTop = from.m_nMarginTop;
    to.m_nMarginBottom = from.m_nMarginBottom;
    to.m_nMarginRight = from.m_nMarginRight;
    to.m_nMarginLeft = from.m_nMarginLeft;
    to.m_bDrawFileName = from.m_bDrawFileName;
    to.m_nScaleStyle = from.m_nScaleStyle;
    to.m_bDrawContour = from.m_bDrawContour;
    to.m_bDrawContourValue = from.m_bDrawContourValue;
    to.m_bDrawLandGrid = from.m_bDrawLandGrid;
    to.m_bFillLand = from.m_bFillLand;
    to.m_nLandColor = from.m_nLandColor;
    to.m_dContTextSize = from.m_dContTextSize;
    to.m_dMapTextSize = from.m_dMapTextSize;
    to.m_dDirTextSize = from.m_dDirTextSize;
    to.m_dVectorMin = from.m_dVectorMin;
    to.m_dVectorMax = from.m_dVectorMax;
    to.m_nDecimals = from.m_nDecimals;
}

}  // namespace

CDrawCondDlg::CDrawCondDlg() : CDialogModel(154, "図面条件", 367, 337) {
    AddLabel("備　考", {7, 9, 28, 8});
    AddEdit(kRemark, {38, 7, 322, 12});

    // Left column: the sheet, then what the depth figures show.
    AddGroup("図面枠", {7, 24, 118, 168});
    AddLabel("枠ｻｲｽﾞ", {14, 38, 32, 8});
    AddList(kPaperSize, {"Ａ０", "Ａ１", "Ａ２", "Ａ３", "Ａ４", "Ａ５", "Ｂ１", "Ｂ２", "Ｂ３", "Ｂ４", "Ｂ５"},
            {50, 36, 68, 120});
    AddList(kPaperOrient, {"よこ", "たて"}, {50, 53, 68, 40});
    AddLabel("余白(mm)", {14, 72, 50, 8});
    AddLabel("上", {18, 85, 10, 8});
    AddEdit(kMarginTop, {30, 83, 30, 12});
    AddLabel("下", {70, 85, 10, 8});
    AddEdit(kMarginBottom, {82, 83, 30, 12});
    AddLabel("右", {18, 101, 10, 8});
    AddEdit(kMarginRight, {30, 99, 30, 12});
    AddLabel("左", {70, 101, 10, 8});
    AddEdit(kMarginLeft, {82, 99, 30, 12});
    AddLabel("作図ｽｹｰﾙ", {14, 119, 50, 8});
    AddLabel("１／", {18, 133, 16, 8});
    AddEdit(kScale, {36, 131, 76, 12});
    AddLabel("中心座標", {14, 149, 50, 8});
    AddLabel("Ｘ", {18, 162, 10, 8});
    AddEdit(kCenterX, {30, 160, 88, 12});
    AddLabel("Ｙ", {18, 176, 10, 8});
    AddEdit(kCenterY, {30, 174, 88, 12});

    AddGroup("等深線作図", {7, 196, 118, 62});
    AddRadio(kContourOff, "しない", {14, 208, 44, 10}, true);
    AddRadio(kContourOn, "する", {62, 208, 44, 10}, false);
    AddGroup("等深線値作図", {12, 221, 108, 31}, kContValueGroup);
    AddRadio(kContValueOff, "しない", {18, 235, 44, 10}, true);
    AddRadio(kContValueOn, "する", {66, 235, 44, 10}, false);

    AddGroup("陸域格子作図", {7, 262, 118, 26});
    AddRadio(kLandGridOff, "しない", {14, 274, 44, 10}, true);
    AddRadio(kLandGridOn, "する", {62, 274, 44, 10}, false);

    AddGroup("陸域塗り潰し", {7, 292, 118, 40});
    AddRadio(kFillOff, "しない", {14, 304, 44, 10}, true);
    AddRadio(kFillOn, "する", {62, 304, 44, 10}, false);
    AddList(kLandColor, {"赤色", "黄色", "緑色", "水色", "青色", "紫色", "黒色"}, {14, 316, 60, 100});

    // Middle column: the value and the result figures, the file name and the scale.
    AddGroup("作図する値", {131, 24, 118, 62});
    AddRadio(kValueHeight, "有義波高", {138, 36, 104, 10}, true);
    AddRadio(kValueRatio, "有義波高比", {138, 48, 104, 10}, false);
    AddRadio(kValueEquiv, "換算沖波波高", {138, 60, 104, 10}, false);
    AddRadio(kValueEquivRatio, "換算沖波波高比", {138, 72, 104, 10}, false);

    AddGroup("作図図面", {131, 90, 118, 132});
    AddCheck(kFigContour, "ｺﾝﾀｰ図", {138, 102, 104, 10});
    AddCheck(kFigMap, "ﾃﾞｼﾞﾀﾙﾏｯﾌﾟ図", {138, 114, 104, 10});
    AddCheck(kFigColorContour, "ｶﾗｰｺﾝﾀｰ図", {138, 126, 104, 10});
    AddGroup("ｺﾝﾀｰ線表示色", {144, 138, 98, 27}, kColorGroup);
    AddRadio(kColorBlack, "黒色", {150, 150, 40, 10}, true);
    AddRadio(kColorWhite, "白色", {196, 150, 40, 10}, false);
    AddCheck(kFigVector, "ﾍﾞｸﾄﾙ図", {138, 169, 104, 10});
    AddCheck(kFigDirMap, "波向(ﾃﾞｼﾞﾀﾙﾏｯﾌﾟ図)", {138, 181, 108, 10});
    AddCheck(kFigCheckContour, "水深ﾁｪｯｸ図(ｺﾝﾀｰ図)", {138, 193, 108, 10});
    AddCheck(kFigCheckMap, "水深ﾁｪｯｸ図(ﾃﾞｼﾞﾀﾙﾏｯﾌﾟ図)", {138, 205, 108, 10});

    AddGroup("ﾃﾞｰﾀﾌｧｲﾙ名作図", {131, 226, 118, 26});
    AddRadio(kFileNameOff, "しない", {138, 238, 44, 10}, true);
    AddRadio(kFileNameOn, "する", {186, 238, 44, 10}, false);

    AddGroup("ｽｹｰﾙ作図", {131, 256, 118, 26});
    AddRadio(kScaleText, "文字", {138, 268, 44, 10}, true);
    AddRadio(kScaleBar, "目盛", {186, 268, 44, 10}, false);

    // Right column: sizes, decimals, the buttons and the note on the defaults.
    AddGroup("各種ｻｲｽﾞ(mm)", {255, 24, 105, 112});
    AddLabel("ｺﾝﾀｰ文字ｻｲｽﾞ", {262, 38, 62, 8});
    AddEdit(kContTextSize, {326, 36, 28, 12});
    AddLabel("ﾃﾞｼﾞﾀﾙﾏｯﾌﾟ文字ｻｲｽﾞ", {262, 54, 92, 8});
    AddLabel("波高（比）・水深", {266, 68, 60, 8});
    AddEdit(kMapTextSize, {326, 66, 28, 12});
    AddLabel("波向", {266, 84, 40, 8});
    AddEdit(kDirTextSize, {326, 82, 28, 12});
    AddLabel("ﾍﾞｸﾄﾙｻｲｽﾞ", {262, 100, 60, 8});
    AddEdit(kVectorMin, {266, 112, 36, 12});
    AddLabel("～", {304, 114, 10, 8});
    AddEdit(kVectorMax, {316, 112, 36, 12});

    AddGroup("算出点での波高（比）", {255, 140, 105, 30});
    AddLabel("小数点以下桁数", {262, 155, 62, 8});
    AddEdit(kDecimals, {326, 153, 28, 12});

    AddButton(IDOK, "OK", {255, 178, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {310, 178, 50, 14});
    AddButton(kSetDefaults, "初期値に設定", {255, 198, 105, 14});
    AddButton(kRestoreDefaults, "初期値に戻す", {255, 216, 105, 14});
    AddLabel("※但し、[備考]、[図面枠]の作図ｽｹｰﾙ・中心座標、[作図する値]、[作図図面]は初期値設定項目に含まれません。",
             {255, 238, 105, 60});
}

void CDrawCondDlg::LoadFrom(const CZmn_Inf& zmn) {
    m_strRemark = zmn.m_strRemark;
    CopyDefaultable(*this, zmn);
    m_nScale = zmn.m_nScale;
    m_dCenterX = zmn.m_dCenterX;
    m_dCenterY = zmn.m_dCenterY;
    m_nValueType = zmn.m_nValueType;
    m_nContourColor = zmn.m_nContourColor;
    m_bFigContour = (zmn.m_nFigureMask & 2) ? 1 : 0;
    m_bFigMap = (zmn.m_nFigureMask & 1) ? 1 : 0;
    m_bColorContour = zmn.m_bColorContour;
    m_bVectorFigure = zmn.m_bVectorFigure;
    m_bCheckContour = zmn.m_bCheckContour;
    m_bCheckMap = zmn.m_bCheckMap;
    m_bDirMapFigure = zmn.m_bDirMapFigure;
}

void CDrawCondDlg::StoreTo(CZmn_Inf& zmn) const {
    zmn.m_strRemark = m_strRemark;
    CopyDefaultable(zmn, *this);
    zmn.m_nScale = m_nScale;
    zmn.m_dCenterX = m_dCenterX;
    zmn.m_dCenterY = m_dCenterY;
    zmn.m_nValueType = m_nValueType;
    zmn.m_nContourColor = m_nContourColor;
    zmn.m_nFigureMask = (zmn.m_nFigureMask & ~3) | (m_bFigContour ? 2 : 0) | (m_bFigMap ? 1 : 0);
    zmn.m_bColorContour = m_bColorContour;
    zmn.m_bVectorFigure = m_bVectorFigure;
    zmn.m_bCheckContour = m_bCheckContour;
    zmn.m_bCheckMap = m_bCheckMap;
    zmn.m_bDirMapFigure = m_bDirMapFigure;
}

void CDrawCondDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeText(dx, kRemark, m_strRemark);
    ExchangeList(dx, kPaperSize, m_nPaperSize);
    ExchangeList(dx, kPaperOrient, m_nPaperOrient);
    ExchangeInt(dx, kMarginTop, m_nMarginTop);
    ExchangeInt(dx, kMarginBottom, m_nMarginBottom);
    ExchangeInt(dx, kMarginRight, m_nMarginRight);
    ExchangeInt(dx, kMarginLeft, m_nMarginLeft);
    ExchangeInt(dx, kScale, m_nScale);
    ExchangeDouble(dx, kCenterX, m_dCenterX, "%.3f");
    ExchangeDouble(dx, kCenterY, m_dCenterY, "%.3f");
    ExchangeRadio(dx, kFileNameOff, m_bDrawFileName);
    ExchangeRadio(dx, kScaleText, m_nScaleStyle);
    ExchangeRadio(dx, kContourOff, m_bDrawContour);
    ExchangeRadio(dx, kFillOff, m_bFillLand);
    ExchangeList(dx, kLandColor, m_nLandColor);
    ExchangeRadio(dx, kValueHeight, m_nValueType);
    ExchangeRadio(dx, kColorBlack, m_nContourColor);
    ExchangeCheck(dx, kFigContour, m_bFigContour);
    ExchangeCheck(dx, kFigMap, m_bFigMap);
    ExchangeCheck(dx, kFigColorContour, m_bColorContour);
    ExchangeCheck(dx, kFigVector, m_bVectorFigure);
    ExchangeCheck(dx, kFigCheckContour, m_bCheckContour);
    ExchangeDouble(dx, kContTextSize, m_dContTextSize, "%.1f");
    ExchangeDouble(dx, kMapTextSize, m_dMapTextSize, "%.1f");
    ExchangeCheck(dx, kFigCheckMap, m_bCheckMap);
    ExchangeRadio(dx, kLandGridOff, m_bDrawLandGrid);
    ExchangeCheck(dx, kFigDirMap, m_bDirMapFigure);
    ExchangeDouble(dx, kDirTextSize, m_dDirTextSize, "%.1f");
    ExchangeRadio(dx, kContValueOff, m_bDrawContourValue);
    ExchangeDouble(dx, kVectorMin, m_dVectorMin, "%.1f");
    ExchangeDouble(dx, kVectorMax, m_dVectorMax, "%.1f");
    ExchangeInt(dx, kDecimals, m_nDecimals);
}

void CDrawCondDlg::OnInitDialog() {
    UpdateData(false);
    UpdateControls();
}

void CDrawCondDlg::EnableContourValues(bool on) {
    for (int id : {kContValueGroup, kContValueOff, kContValueOn}) Enable(id, on);
}

void CDrawCondDlg::EnableColorGroup(bool on) {
    for (int id : {kColorGroup, kColorBlack, kColorWhite}) Enable(id, on);
}

void CDrawCondDlg::UpdateControls() {
    Reformat(kCenterX, "%.3f");
    Reformat(kCenterY, "%.3f");
    EnableContourValues(m_bDrawContour != 0);
    Enable(kLandColor, m_bFillLand != 0);
    // The equivalent deep-water values are not offered for a calculation with breaking.
    Enable(kValueEquiv, m_bDocBreaking == 0);
    Enable(kValueEquivRatio, m_bDocBreaking == 0);
    EnableColorGroup(GetCheck(kFigColorContour) != 0);
    for (int id : {kContTextSize, kMapTextSize, kDirTextSize, kVectorMin, kVectorMax}) Reformat(id, "%.1f");
}

void CDrawCondDlg::OnFocusOut(int id) {
    switch (id) {
    case kCenterX:
    case kCenterY: Reformat(id, "%.3f"); break;
    case kContTextSize:
    case kMapTextSize:
    case kDirTextSize:
    case kVectorMin:
    case kVectorMax: Reformat(id, "%.1f"); break;
    default: break;
    }
}

void CDrawCondDlg::OnClicked(int id) {
    switch (id) {
    case kContourOff: EnableContourValues(false); break;
    case kContourOn: EnableContourValues(true); break;
    case kFillOff: Enable(kLandColor, false); break;
    case kFillOn: Enable(kLandColor, true); break;
    case kFigColorContour: EnableColorGroup(GetCheck(kFigColorContour) != 0); break;
    case kSetDefaults: SetDefaults(); break;
    case kRestoreDefaults: RestoreDefaults(); break;
    default: break;
    }
}

void CDrawCondDlg::SetDefaults() {
    if (!UpdateData(true)) return;
    CopyDefaultable(g_zmnInfDefault, *this);
    ApplyFrameSizeRule(g_zmnInfDefault);
}

void CDrawCondDlg::RestoreDefaults() {
    if (!UpdateData(true)) return;
    CopyDefaultable(*this, g_zmnInfDefault);
    UpdateData(false);
    UpdateControls();
}

}  // namespace wv
