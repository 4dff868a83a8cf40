// The dialogs of the terrain importers, as dialog-kit models: the coordinate system of a
// CSV point file, the options of a CSV polyline file, of a Q-SONA file and of a 3D DXF,
// the 2D DXF options with its layer list, and the one-layer editor.
#pragma once

#include "platform/dialog_model.h"
#include "project/dxf_import.h"

#include <functional>
#include <string>
#include <vector>

namespace wv {

// Ids shared by the importers' dialogs.
enum : int {
    kIdcMathematical = 1002,  // 数学座標系 / ミリ
    kIdcSurvey = 1003,        // 測量座標系 / メートル
    kIdcLayerList = 1004,
    kIdcReference = 1015,     // 変換基準高(m) / 水深
    kIdcLowTide = 1091,
    kIdcZone = 1092,
    kIdcAttribute = 1094,
    kIdcLayerName = 1095,
};

// 150 "座標軸設定": mathematical (0) or survey (1) coordinates.
class CCoordAxisDlg : public CDialogModel {
public:
    CCoordAxisDlg();
    int m_nAxis = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

// 170 "CSV読込みﾀﾞｲｱﾛｸﾞ": reference height and coordinate system.
class CCsvReadDlg : public CDialogModel {
public:
    CCsvReadDlg();
    double m_dReference = 0.0;
    int m_nAxis = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnFocusOut(int id) override;
};

// 168 "Q-SONA読込みﾀﾞｲｱﾛｸﾞ": reference height, zone (index + 1) and the low-tide switch,
// which the dialog keeps though no import step reads it.
class CBathyReadDlg : public CDialogModel {
public:
    CBathyReadDlg();
    double m_dReference = 0.0;
    int m_nZoneIndex = 0;
    int m_bLowTide = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnFocusOut(int id) override;
};

// 171 "3D DXF読込みﾀﾞｲｱﾛｸﾞ": unit (-1 none, 0 ミリ, 1 メートル; only ミリ scales) and the
// reference height.
class CDxf3DReadDlg : public CDialogModel {
public:
    CDxf3DReadDlg();
    double m_dReference = 0.0;
    int m_nUnit = -1;

    DxfImportOptions Options() const { return {m_nUnit == 0, m_dReference}; }

protected:
    CDxf3DReadDlg(int templateId, const char* caption, int w, int h);
    void AddUnitAndReference();
    void DoDataExchange(CDataExchange& dx) override;
    void OnFocusOut(int id) override;
};

// 173 "ﾚｲﾔﾀﾞｲｱﾛｸﾞ": one layer's attribute and depth; the depth can be edited only for
// 地形線 and 水深線.
class CLayerDlg : public CDialogModel {
public:
    explicit CLayerDlg(const std::string& displayName);
    int m_nAttribute = 0;
    double m_dValue = 0.0;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnFocusOut(int id) override;
    void OnListChanged(int id) override;

private:
    void ApplyAttributeRule();
};

// 172 "2D DXF読込みﾀﾞｲｱﾛｸﾞ": as 171, with the layer list; a double click on a row opens
// CLayerDlg through `editLayer`, which shows it and returns its result.
class CDxf2DReadDlg : public CDxf3DReadDlg {
public:
    using LayerEditor = std::function<int(CLayerDlg&)>;
    CDxf2DReadDlg(std::vector<DxfLayer> layers, std::vector<std::string> displayNames,
                  LayerEditor editLayer);

    const std::vector<DxfLayer>& Layers() const { return m_layers; }
    // The three column texts of a row, as the list shows them.
    static std::vector<std::string> RowTexts(const std::string& displayName, const DxfLayer& layer);
    // Edits row `row` as a double click does.
    void EditRow(int row);

protected:
    void OnInitDialog() override;
    void OnRowDoubleClicked(int id) override;

private:
    void FillList();

    std::vector<DxfLayer> m_layers;
    std::vector<std::string> m_names;
    LayerEditor m_editLayer;
};

// The attribute names, index = attribute: "未定義", "地形線", "水深線".
const std::vector<std::string>& LayerAttributeNames();

}  // namespace wv
