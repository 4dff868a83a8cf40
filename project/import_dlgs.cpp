#include "project/import_dlgs.h"

#include "core/numeric.h"
#include "geoconv/plane_zones.h"
#include "platform/data_exchange.h"
#include "platform/text.h"

namespace wv {

namespace {

constexpr char kAxisGroup[] = "読込み対象の座標系";
constexpr char kAxisNote[] =
    "※測量座標系の場合、X/Yを入れ替えて読込み。\n   読み込み後は数学座標系として保存します。";
constexpr char kReferenceLabel[] = "変換基準高(m)";
constexpr char kDepthFormat[] = "%.1f";

}  // namespace

const std::vector<std::string>& LayerAttributeNames() {
    static const std::vector<std::string> names = {"未定義", "地形線", "水深線"};
    return names;
}

// ---------------------------------------------------------------------------------------

CCoordAxisDlg::CCoordAxisDlg() : CDialogModel(150, "座標軸設定", 200, 92) {
    AddGroup(kAxisGroup, {7, 7, 186, 36});
    AddRadio(kIdcMathematical, "数学座標系", {16, 19, 70, 10}, true);
    AddRadio(kIdcSurvey, "測量座標系", {100, 19, 70, 10}, false);
    AddLabel(kAxisNote, {7, 47, 186, 18});
    AddButton(IDOK, "OK", {88, 72, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {143, 72, 50, 14});
}

void CCoordAxisDlg::DoDataExchange(CDataExchange& dx) { ExchangeRadio(dx, kIdcMathematical, m_nAxis); }

// ---------------------------------------------------------------------------------------

CCsvReadDlg::CCsvReadDlg() : CDialogModel(170, "CSV読込みﾀﾞｲｱﾛｸﾞ", 200, 112) {
    AddLabel(kReferenceLabel, {7, 9, 60, 8});
    AddEdit(kIdcReference, {70, 7, 60, 12});
    AddGroup(kAxisGroup, {7, 27, 186, 36});
    AddRadio(kIdcMathematical, "数学座標系", {16, 39, 70, 10}, true);
    AddRadio(kIdcSurvey, "測量座標系", {100, 39, 70, 10}, false);
    AddLabel(kAxisNote, {7, 67, 186, 18});
    AddButton(IDOK, "OK", {88, 92, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {143, 92, 50, 14});
}

void CCsvReadDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeDouble(dx, kIdcReference, m_dReference, kDepthFormat);
    ExchangeRadio(dx, kIdcMathematical, m_nAxis);
}

void CCsvReadDlg::OnFocusOut(int id) {
    if (id == kIdcReference) Reformat(id, kDepthFormat);
}

// ---------------------------------------------------------------------------------------

CBathyReadDlg::CBathyReadDlg() : CDialogModel(168, "Q-SONA読込みﾀﾞｲｱﾛｸﾞ", 180, 82) {
    AddLabel(kReferenceLabel, {7, 9, 60, 8});
    AddEdit(kIdcReference, {70, 7, 60, 12});
    AddLabel("系番号", {7, 29, 60, 8});
    AddList(kIdcZone, PlaneZoneNames(), {70, 27, 60, 12});
    AddCheck(kIdcLowTide, "低潮線読込み", {7, 46, 100, 10});
    AddButton(IDOK, "OK", {68, 62, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {123, 62, 50, 14});
}

void CBathyReadDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeDouble(dx, kIdcReference, m_dReference, kDepthFormat);
    ExchangeList(dx, kIdcZone, m_nZoneIndex);
    ExchangeCheck(dx, kIdcLowTide, m_bLowTide);
}

void CBathyReadDlg::OnFocusOut(int id) {
    if (id == kIdcReference) Reformat(id, kDepthFormat);
}

// ---------------------------------------------------------------------------------------

CDxf3DReadDlg::CDxf3DReadDlg() : CDxf3DReadDlg(171, "3D DXF読込みﾀﾞｲｱﾛｸﾞ", 180, 78) {
    AddUnitAndReference();
    AddButton(IDOK, "OK", {68, 58, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {123, 58, 50, 14});
}

CDxf3DReadDlg::CDxf3DReadDlg(int templateId, const char* caption, int w, int h)
    : CDialogModel(templateId, caption, w, h) {}

void CDxf3DReadDlg::AddUnitAndReference() {
    AddGroup("座標単位", {7, 7, 166, 26});
    AddRadio(kIdcMathematical, "ミリ", {16, 18, 50, 10}, true);
    AddRadio(kIdcSurvey, "メートル", {80, 18, 60, 10}, false);
    AddLabel(kReferenceLabel, {7, 41, 60, 8});
    AddEdit(kIdcReference, {70, 39, 60, 12});
}

void CDxf3DReadDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeRadio(dx, kIdcMathematical, m_nUnit);
    ExchangeDouble(dx, kIdcReference, m_dReference, kDepthFormat);
}

void CDxf3DReadDlg::OnFocusOut(int id) {
    if (id == kIdcReference) Reformat(id, kDepthFormat);
}

// ---------------------------------------------------------------------------------------

CLayerDlg::CLayerDlg(const std::string& displayName) : CDialogModel(173, "ﾚｲﾔﾀﾞｲｱﾛｸﾞ", 170, 84) {
    AddLabel("ﾚｲﾔ名", {7, 9, 40, 8});
    AddLabel(displayName, {50, 9, 113, 8}, kIdcLayerName);
    AddLabel("属性", {7, 27, 40, 8});
    AddList(kIdcAttribute, LayerAttributeNames(), {50, 25, 60, 12});
    AddLabel("水深", {7, 45, 40, 8});
    AddEdit(kIdcReference, {50, 43, 60, 12});
    AddLabel("ｍ", {113, 45, 12, 8});
    AddButton(IDOK, "OK", {58, 64, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {113, 64, 50, 14});
}

void CLayerDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeList(dx, kIdcAttribute, m_nAttribute);
    ExchangeDouble(dx, kIdcReference, m_dValue, kDepthFormat);
}

void CLayerDlg::OnInitDialog() {
    CDialogModel::OnInitDialog();
    ApplyAttributeRule();
}

void CLayerDlg::OnFocusOut(int id) {
    if (id == kIdcReference) Reformat(id, kDepthFormat);
}

void CLayerDlg::OnListChanged(int id) {
    if (id == kIdcAttribute) ApplyAttributeRule();
}

void CLayerDlg::ApplyAttributeRule() {
    // An undefined layer carries no height.
    Enable(kIdcReference, GetIndex(kIdcAttribute) > 0);
}

// ---------------------------------------------------------------------------------------

CDxf2DReadDlg::CDxf2DReadDlg(std::vector<DxfLayer> layers, std::vector<std::string> displayNames,
                             LayerEditor editLayer)
    : CDxf3DReadDlg(172, "2D DXF読込みﾀﾞｲｱﾛｸﾞ", 310, 190),
      m_layers(std::move(layers)),
      m_names(std::move(displayNames)),
      m_editLayer(std::move(editLayer)) {
    m_names.resize(m_layers.size());
    AddUnitAndReference();
    AddListView(kIdcLayerList, {{"レイヤ名", 175}, {"属性", 55}, {"水深(m)", 55}}, {7, 60, 296, 90});
    AddLabel("各レイヤ情報はダブルクリックで編集可能です。", {7, 154, 296, 8});
    AddButton(IDOK, "OK", {198, 170, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {253, 170, 50, 14});
}

void CDxf2DReadDlg::OnInitDialog() {
    CDxf3DReadDlg::OnInitDialog();
    FillList();
}

void CDxf2DReadDlg::OnRowDoubleClicked(int id) {
    if (id == kIdcLayerList) EditRow(GetIndex(kIdcLayerList));
}

void CDxf2DReadDlg::FillList() {
    const int current = GetIndex(kIdcLayerList);
    DeleteAllRows(kIdcLayerList);
    for (std::size_t i = 0; i < m_layers.size(); ++i) AddRow(kIdcLayerList, RowTexts(m_names[i], m_layers[i]));
    SetIndex(kIdcLayerList, current);
}

std::vector<std::string> CDxf2DReadDlg::RowTexts(const std::string& displayName, const DxfLayer& layer) {
    const int a = layer.attribute;
    const std::string kind = (a >= 0 && a < 3) ? LayerAttributeNames()[static_cast<std::size_t>(a)] : "";
    const std::string value = a == kLayerUndefined ? "0.0" : Sprintf("%2.1f", layer.value);
    return {displayName, kind, value};
}

void CDxf2DReadDlg::EditRow(int row) {
    if (row < 0 || row >= static_cast<int>(m_layers.size()) || !m_editLayer) return;
    DxfLayer& layer = m_layers[static_cast<std::size_t>(row)];
    CLayerDlg dlg(m_names[static_cast<std::size_t>(row)]);
    dlg.m_nAttribute = layer.attribute;
    dlg.m_dValue = layer.value;
    if (m_editLayer(dlg) != IDOK) return;
    layer.attribute = dlg.m_nAttribute < 0 ? kLayerUndefined : dlg.m_nAttribute;
    layer.value = RoundDecimal(dlg.m_dValue, 1);
    FillList();
}

}  // namespace wv
