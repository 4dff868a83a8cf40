// The contour display conditions (template 159, "ｺﾝﾀｰ表示条件") of one contour figure:
// display, calculation, contour and colour ranges, the interval and a list of extra
// levels registered one by one. The same template serves the depth figure and the result
// figures: the caller sets the six row labels, and the contour-range and colour-range
// rows show only for a result figure (m_bContRangeRows).
//
//   view: CContourCondDlg dlg; dlg.m_bContRangeRows = m_bContRangeRows;
//         dlg.m_strDispLabel = ...; dlg.m_dDispFrom = ...; dlg.m_levels = <levels>;
//         run it; on IDOK take the members and dlg.m_levels back.
#pragma once

#include "platform/dialog_model.h"

#include <string>
#include <vector>

namespace wv {

class CContourCondDlg : public CDialogModel {
public:
    enum : int {
        kDispFrom = 1010, kDispTo = 1011, kCalcFrom = 1019, kCalcTo = 1078, kContFrom = 1013, kContTo = 1020,
        kColorFrom = 1014, kColorTo = 1021, kInterval = 1012, kLevel = 1015,
        kDispLabel = 1069, kContLabel = 1071, kCalcLabel = 1073, kColorLabel = 1070, kIntervalLabel = 1068,
        kLevelLabel = 1072, kContTilde = 1079, kColorTilde = 1080, kRangeRule = 1081,
        kLevelList = 1004, kRegister = 1076, kDeleteAll = 1077,
    };

    CContourCondDlg();

    // 1: a result figure, whose contour-range and colour-range rows show.
    int m_bContRangeRows = 0;

    double m_dDispFrom = 0.0;
    double m_dCalcFrom = 0.0;
    double m_dContFrom = 0.0;
    double m_dContTo = 0.0;
    double m_dDispTo = 0.0;
    double m_dInterval = 0.0;
    double m_dLevel = 0.0;   // the value to register
    double m_dColorFrom = 0.0;
    double m_dColorTo = 0.0;
    double m_dCalcTo = 0.0;

    // Row labels (UTF-8), set by the caller.
    std::string m_strDispLabel;
    std::string m_strContLabel;
    std::string m_strCalcLabel;
    std::string m_strColorLabel;
    std::string m_strIntervalLabel;
    std::string m_strLevelLabel;

    // The extra levels: in, the view's list; out after IDOK, the list ascending with
    // repeated and out-of-order entries (closer than 0.001 to the last kept) dropped.
    std::vector<double> m_levels;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnFocusOut(int id) override;
    void OnClicked(int id) override;
    void OnRowDoubleClicked(int id) override;
    void OnOK() override;

private:
    void Register();
};

}  // namespace wv
