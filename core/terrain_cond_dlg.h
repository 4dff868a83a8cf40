// The conditions of the open project ("地形条件"): magnetic north, the ten output points,
// the same-point tolerances and the project view's rotation. The project view fills the
// members from g_tikInf, g_calcPoints and its rotation, runs the dialog and stores the
// members back on OK.
#pragma once

#include "platform/dialog_model.h"

#include <string>

namespace wv {

class CSansyutu;
class CTik_Inf;

class CTerrainCondDlg : public CDialogModel {
public:
    static constexpr int kRows = 10;
    static constexpr int kNameBytes = 15;
    enum : int { kNorth = 1058, kTolMouse = 1059, kTolTablet = 1060, kRotation = 1013 };
    // Control ids of row r = 1 to 10.
    static int CheckId(int r) { return 1060 + 3 * r; }
    static int NameId(int r) { return 1013 + r; }
    static int XId(int r) { return 1058 + 3 * r; }
    static int YId(int r) { return 1059 + 3 * r; }

    CTerrainCondDlg();

    // The caller's copies: conditions, output points and the rotation (the record holds
    // the angle negated). Storing gives every row its name and position back and sets
    // each point's in-use flag from its check box; the table's count is the points in use.
    void LoadFrom(const CTik_Inf& tik, const CSansyutu& points);
    void StoreTo(CTik_Inf& tik, CSansyutu& points) const;

    double m_dNorth = 0.0;
    int m_nUse[kRows] = {};
    std::string m_strName[kRows];  // CP932 bytes, at most 15
    double m_dX[kRows] = {};
    double m_dY[kRows] = {};
    int m_nTolMouse = 0;
    int m_nTolTablet = 0;  // the record holds a double; the dialog a whole number of mm
    int m_nRotation = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnFocusOut(int id) override;
    void OnClicked(int id) override;

private:
    void ApplyRowRule(int r);
};

}  // namespace wv
