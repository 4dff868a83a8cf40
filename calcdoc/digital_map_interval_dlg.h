// The digital-map display interval (template 163): how densely a digital map or the
// vector map is drawn (the steps across and along the mesh, multiples of the mesh
// pitch), the base point the steps count from, and for vectors the display range.
//
//   view: CDigitalMapIntervalDlg dlg; dlg.LoadFrom(doc, set, kind, viewAngle);
//         for the coordinate variants (kinds 1, 3, 5) also the area extent
//         (SetAreaExtent(doc) gives the view's m_dAreaMin/Max members) and
//         dlg.m_pZmn = &doc.m_zmn; run it; on IDOK dlg.StoreTo(doc, set) (the base point
//         of kinds 1, 3, 5 is already stored by the dialog's OK).
//
// Map kinds (the view's m_nMapKind): 0 depth or wave-height map by mouse, 1 wave-height
// map by coordinates, 2 vector map by mouse, 3 by coordinates, 4 direction map by mouse,
// 5 by coordinates. The interval sets of the drawing conditions: 0 depth, 1 wave height,
// 2 direction, 3 vector.
#pragma once

#include "core/point.h"
#include "platform/dialog_model.h"

#include <string>

namespace wv {

class CTydDocData;
class CZmn_Inf;

class CDigitalMapIntervalDlg : public CDialogModel {
public:
    enum : int {
        kStepAcross = 1010, kStepDown = 1011, kPitch = 1012, kBaseX = 1015, kBaseY = 1078, kRangeLow = 1014,
        kRangeHigh = 1021, kCalcLow = 1079, kCalcHigh = 1084, kRangeLabel = 1069, kCalcLabel = 1068,
        kRangeTilde = 1085, kCalcTilde = 1086,
    };

    CDigitalMapIntervalDlg();

    // The interval set whose base point a kind stores: 1 -> wave height, 5 -> direction,
    // 3 -> vector; -1 for the mouse kinds, which have none.
    static int BaseSetOfKind(int kind);
    static bool IsVectorKind(int kind) { return kind == 2 || kind == 3; }

    // Fills the dialog from the document for interval set `set`: the steps (a stored step
    // of 0 or more, else the mesh pitch for the coordinate kinds and the dialog's own 0
    // for the mouse kinds), the set's base point in world coordinates rounded to three
    // decimals ((0, 0) when unset), the mesh pitch, and for vectors the value type's
    // display range and the mesh's range of that type.
    void LoadFrom(const CTydDocData& doc, int set, int kind, double viewAngle);
    // The calculation area's extent in mesh coordinates: 0, 0, (count x - 1) x pitch,
    // (count y - 1) x pitch.
    void SetAreaExtent(const CTydDocData& doc);
    // Takes the steps back into set `set` and, for vectors, the display range into
    // m_dVectorLow/High of the document's value type.
    void StoreTo(CTydDocData& doc, int set) const;

    // Where a base point typed for kinds 1, 3, 5 is stored on OK (the document's drawing
    // conditions), with the area origin and the view angle it is turned by.
    CZmn_Inf* m_pZmn = nullptr;
    CPointD m_areaOrigin;
    double m_dViewAngle = 0.0;
    int m_nMapKind = 0;
    double m_dAreaMinX = 0.0, m_dAreaMinY = 0.0, m_dAreaMaxX = 0.0, m_dAreaMaxY = 0.0;

    double m_dStepAcross = 0.0;
    double m_dStepDown = 0.0;
    double m_dPitch = 0.0;      // shown only: the mesh's pitch
    double m_dBaseX = 0.0;
    double m_dBaseY = 0.0;
    double m_dRangeLow = 0.0;
    double m_dRangeHigh = 0.0;
    double m_dCalcLow = 0.0;    // shown only: the mesh's range of the value type
    double m_dCalcHigh = 0.0;
    std::string m_strRangeLabel;
    std::string m_strCalcLabel;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnFocusOut(int id) override;
    void OnOK() override;
};

}  // namespace wv
