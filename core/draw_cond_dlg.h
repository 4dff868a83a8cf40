// The drawing conditions of one calculation ("図面条件"): remark, sheet, what the depth
// figures show, which result figures are drawn, text and vector sizes. The calculation
// view fills the members from the document's CZmn_Inf, runs the dialog and takes them
// back on OK (then applies the frame-size rule). "初期値に設定" / "初期値に戻す" carry the
// default-able part to and from the application-wide defaults at once.
#pragma once

#include "platform/dialog_model.h"

#include <string>

namespace wv {

class CZmn_Inf;

class CDrawCondDlg : public CDialogModel {
public:
    enum : int {
        kRemark = 1039, kPaperSize = 1037, kPaperOrient = 1038, kMarginTop = 1040,
        kMarginBottom = 1041, kMarginRight = 1042, kMarginLeft = 1014, kScale = 1043,
        kCenterX = 1016, kCenterY = 1017, kFileNameOff = 1008, kFileNameOn = 1009,
        kScaleText = 1021, kScaleBar = 1022, kContourOff = 1010, kContourOn = 1011,
        kFillOff = 1012, kFillOn = 1013, kLandColor = 1049, kValueHeight = 1053,
        kValueRatio = 1057, kValueEquiv = 1054, kValueEquivRatio = 1005, kColorBlack = 1006,
        kColorWhite = 1007, kColorGroup = 1056, kFigContour = 1044, kFigMap = 1045,
        kFigColorContour = 1046, kFigVector = 1047, kFigCheckContour = 1048,
        kContTextSize = 1050, kMapTextSize = 1051, kFigCheckMap = 1055, kLandGridOff = 1015,
        kLandGridOn = 1018, kFigDirMap = 1058, kDirTextSize = 1052, kContValueOff = 1019,
        kContValueOn = 1020, kContValueGroup = 1093, kVectorMin = 1059, kVectorMax = 1060,
        kDecimals = 1061, kSetDefaults = 3, kRestoreDefaults = 4,
    };

    CDrawCondDlg();

    // The caller's copies of the document's record, in and back after OK. Storing keeps
    // the record's fields the dialog does not show, and mask bits other than the two
    // figure bits.
    void LoadFrom(const CZmn_Inf& zmn);
    void StoreTo(CZmn_Inf& zmn) const;

    // In place of the calculation view the original reached through: the document's
    // CTyd_Inf::m_bBreaking, set by the caller before the dialog runs.
    int m_bDocBreaking = 0;

    std::string m_strRemark;  // CP932 bytes
    int m_nPaperSize = -1;
    int m_nPaperOrient = -1;
    int m_nMarginTop = 0;
    int m_nMarginBottom = 0;
    int m_nMarginRight = 0;
    int m_nMarginLeft = 0;
    int m_nScale = 0;
    double m_dCenterX = 0.0;
    double m_dCenterY = 0.0;
    int m_bDrawFileName = -1;
    int m_nScaleStyle = -1;
    int m_bDrawContour = -1;
    int m_bFillLand = -1;
    int m_nLandColor = -1;
    int m_nValueType = -1;
    int m_nContourColor = -1;
    int m_bFigContour = 0;   // bit value 2 of the record's figure mask
    int m_bFigMap = 0;       // bit value 1
    int m_bColorContour = 0;
    int m_bVectorFigure = 0;
    int m_bCheckContour = 0;
    double m_dContTextSize = 0.0;
    double m_dMapTextSize = 0.0;
    int m_bCheckMap = 0;
    int m_bDrawLandGrid = -1;
    int m_bDirMapFigure = 0;
    double m_dDirTextSize = 0.0;
    int m_bDrawContourValue = -1;
    double m_dVectorMin = 0.0;
    double m_dVectorMax = 0.0;
    int m_nDecimals = 0;

    void UpdateControls();
    void SetDefaults();
    void RestoreDefaults();

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnFocusOut(int id) override;
    void OnClicked(int id) override;

private:
    void EnableContourValues(bool on);
    void EnableColorGroup(bool on);
};

}  // namespace wv
