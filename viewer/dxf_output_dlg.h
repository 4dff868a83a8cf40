// The 3D DXF dialog (template 134): the coordinate unit and the plane zone, exchanged by
// index. The model is Qt-free; the dialog kit's host shows it.
#pragma once

#include "platform/dialog_model.h"
#include "viewer/dxf3d_writer.h"

#include <string>
#include <vector>

namespace wv {

class CDxfOutputDlg : public CDialogModel {
public:
    enum { IDD = 134, IDC_UNIT_MM = 1002, IDC_UNIT_M = 1003, IDC_ZONE = 1004 };

    CDxfOutputDlg();

    // "Ⅰ" ... "ⅩⅨ", the zone list's items.
    static const std::vector<std::string>& ZoneItems();

    int m_nUnit = -1;       // 0 millimetres, 1 metres
    int m_nZoneIndex = -1;  // zone number - 1

    // The values can be written with: a unit and a zone of the list.
    bool IsValid() const;
    DxfUnit Unit() const { return m_nUnit == 1 ? DxfUnit::Metres : DxfUnit::Millimetres; }
    int Zone() const { return m_nZoneIndex + 1; }

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

}  // namespace wv
