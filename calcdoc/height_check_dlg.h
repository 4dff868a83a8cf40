// The height check (template 161, "高さ確認"): the user picks one level of the
// document's contours and every contour line of that level is marked (m_nSelect) and
// drawn highlighted in the view; closing removes every mark.
//
//   view: SetMouseMode(114); CHeightCheckDlg dlg(*this); run it modally; SetMouseMode(0);
//   (a document without drawn contours ends the dialog at once with IDOK, unseen)
#pragma once

#include "platform/dialog_model.h"

#include <vector>

namespace wv {

class CContGroup;
class CTydViewData;

class CHeightCheckDlg : public CDialogModel {
public:
    enum : int { kLevelList = 1083 };

    explicit CHeightCheckDlg(CTydViewData& view);

    // The levels of the polylines with a drawn segment, ascending, each differing from
    // the one before by at least 0.0001 (the first of a closer pair kept).
    static std::vector<double> PresentLevels(const CContGroup& group);
    // Whether polyline i has a drawn segment.
    static bool IsPresent(const CContGroup& group, int i);

protected:
    void DoDataExchange(CDataExchange&) override {}
    void OnInitDialog() override;
    void OnListChanged(int id) override;
    void OnOK() override {}
    void OnCancel() override;

private:
    // Marks the level of the selected item; false (with the message) when no drawn
    // contour has it.
    bool MarkSelected();

    CTydViewData& m_view;
};

}  // namespace wv
