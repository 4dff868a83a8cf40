// The wave conditions of one calculation and its area ("波条件"). The calculation view
// fills the members from the document's CTyd_Inf and CCalArea and its own rotation
// angle, runs the dialog and takes the members back on OK. "初期値に設定" and
// "初期値に戻す" work on the application-wide defaults at once.
#pragma once

#include "platform/dialog_model.h"

namespace wv {

class CCalArea;
class CTyd_Inf;

// The node count that keeps an axis about as long after the pitch changes:
// (count − 1) × old pitch ÷ new pitch + 0.9, truncated, plus 1. An unset axis (a count
// of 0 or less) stays 0; a new pitch of 0, a negative result or one beyond int gives 0.
int RescaleMeshCount(int previousCount, double previousPitch, double newPitch);

class CWaveCondDlg : public CDialogModel {
public:
    enum : int {
        kDirMode16 = 1017, kDirModeLeft = 1019, kDirModeRight = 1020, kDir16List = 1018,
        kDirAngle = 1034, kH0 = 1028, kT0 = 1029, kTide = 1030, kDirDiv = 1031, kSmax = 1032,
        kSpreadRight = 1036, kSpreadLeft = 1037, kFreqDiv = 1033, kOriginX = 1025,
        kOriginY = 1026, kCountY = 1027, kCountX = 1014, kPitch = 1015, kOutSenseLeft = 1021,
        kOutSenseRight = 1022, kOutSenseGroup = 1035, kFreeRotOff = 1023, kFreeRotOn = 1024,
        kRotation = 1090, kBreakingOff = 1040, kBreakingOn = 1041,
        kSetDefaults = 3, kRestoreDefaults = 4,
    };

    CWaveCondDlg();

    // The caller's copies: the document's records in, and back after OK. The rotation
    // angle (0-359, the view's angle negated) is the caller's to fill and take.
    void LoadFrom(const CTyd_Inf& tyd, const CCalArea& area);
    void StoreTo(CTyd_Inf& tyd, CCalArea& area) const;

    int m_nDirMode = -1;        // 0 sixteen-point, 1 / 2 angle from north (left / right positive)
    int m_nDir16 = -1;
    double m_dDirAngle = 0.0;
    double m_dH0 = 0.0;
    double m_dT0 = 0.0;
    double m_dTide = 0.0;
    int m_nDirDiv = 0;
    int m_nSmax = 0;            // the record holds a double; the dialog a whole number
    double m_dSpreadRight = 0.0;
    double m_dSpreadLeft = 0.0;
    int m_nFreqDiv = 0;
    double m_dOriginX = 0.0;
    double m_dOriginY = 0.0;
    int m_nMeshCountY = 0;
    int m_nMeshCountX = 0;
    double m_dMeshPitch = 0.0;
    int m_nOutDirSense = -1;
    int m_bFreeRotation = -1;
    int m_nRotation = 0;
    int m_bBreaking = -1;

    // The base of the rescale rule: the pitch and counts last taken or computed.
    double m_dPrevPitch = 0.0;
    int m_nPrevCountY = 0;
    int m_nPrevCountX = 0;

    void UpdateControls();
    void SetDefaults();
    void RestoreDefaults();

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnFocusOut(int id) override;
    void OnClicked(int id) override;
    void OnOK() override;

private:
    void ShowDirectionState(bool sixteenPoint);
};

}  // namespace wv
