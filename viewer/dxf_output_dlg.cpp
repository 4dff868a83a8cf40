#include "viewer/dxf_output_dlg.h"

#include "geoconv/meshgate.h"
#include "geoconv/plane_zones.h"
#include "platform/data_exchange.h"
#include "viewer/messages.h"

namespace wv {

CDxfOutputDlg::CDxfOutputDlg() : CDialogModel(IDD, viewer_text::kDxfDialogCaption, 150, 82)
{
    AddGroup(viewer_text::kDxfUnitGroup, {7, 7, 64, 44});
    AddRadio(IDC_UNIT_MM, viewer_text::kDxfUnitMillimetre, {16, 20, 48, 10}, true);
    AddRadio(IDC_UNIT_M, viewer_text::kDxfUnitMetre, {16, 34, 48, 10}, false);
    AddLabel(viewer_text::kDxfZoneLabel, {80, 9, 60, 8});
    AddList(IDC_ZONE, ZoneItems(), {80, 21, 62, 12});
    AddButton(IDOK, "OK", {22, 60, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {80, 60, 50, 14});
}

const std::vector<std::string>& CDxfOutputDlg::ZoneItems()
{
    return PlaneZoneNames();
}

bool CDxfOutputDlg::IsValid() const
{
    return (m_nUnit == 0 || m_nUnit == 1) && m_nZoneIndex >= 0 && m_nZoneIndex < MESHGATE_ZONE_COUNT;
}

void CDxfOutputDlg::DoDataExchange(CDataExchange& dx)
{
    ExchangeRadio(dx, IDC_UNIT_MM, m_nUnit);
    ExchangeList(dx, IDC_ZONE, m_nZoneIndex);
}

}  // namespace wv
