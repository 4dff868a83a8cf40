#include "project/import_ui.h"

#include "platform/ui_service.h"
#include "project/import_dlgs.h"

namespace wv {

DialogImportUi::DialogImportUi(DialogRunner run, CursorSetter cursor)
    : m_run(std::move(run)), m_cursor(std::move(cursor)) {}

std::optional<std::string> DialogImportUi::ChooseFile(const OpenFileRequest& request) {
    FileDialogOptions fileDialog;
    fileDialog.mode = FileDialogOptions::Mode::Open;
    fileDialog.title = request.title;
    if (!request.filterName.empty()) {
        // Files written on Windows often carry upper-case extensions.
        std::string upper = request.pattern;
        for (char& c : upper) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        fileDialog.filters.push_back({request.filterName, request.pattern + " " + upper});
    }
    fileDialog.filters.push_back({"すべてのﾌｧｲﾙ (*.*)", "*"});
    fileDialog.defaultExt = request.defaultExt;
    std::string path;
    if (!Ui().FileDialog(fileDialog, path) || path.empty()) return std::nullopt;
    return path;
}

bool DialogImportUi::EditDxf2D(const DxfFile& file, std::vector<DxfLayer>& layers,
                               DxfImportOptions& options) {
    std::vector<std::string> names;
    for (const DxfLayer& l : layers) names.push_back(LayerDisplayName(file, l.name));
    CDxf2DReadDlg dlg(layers, names, [this](CLayerDlg& d) { return m_run(d); });
    if (m_run(dlg) != IDOK) return false;
    layers = dlg.Layers();
    options = dlg.Options();
    return true;
}

bool DialogImportUi::EditDxf3D(DxfImportOptions& options) {
    CDxf3DReadDlg dlg;
    if (m_run(dlg) != IDOK) return false;
    options = dlg.Options();
    return true;
}

std::optional<bool> DialogImportUi::ChooseCoordinateAxes() {
    CCoordAxisDlg dlg;
    if (m_run(dlg) != IDOK) return std::nullopt;
    return dlg.m_nAxis == 1;
}

bool DialogImportUi::EditCsvLines(double& reference, bool& surveyCoordinates) {
    CCsvReadDlg dlg;
    if (m_run(dlg) != IDOK) return false;
    reference = dlg.m_dReference;
    surveyCoordinates = dlg.m_nAxis == 1;
    return true;
}

bool DialogImportUi::EditQsona(QsonaImportOptions& options, bool& lowTideLines) {
    CBathyReadDlg dlg;
    if (m_run(dlg) != IDOK) return false;
    options.reference = dlg.m_dReference;
    options.zone = (dlg.m_nZoneIndex < 0 ? 0 : dlg.m_nZoneIndex) + 1;
    lowTideLines = dlg.m_bLowTide != 0;
    return true;
}

void DialogImportUi::Message(const std::string& text, const std::string& caption, ImportIcon icon) {
    Ui().MessageBox(text, caption, MbButtons::Ok,
                    icon == ImportIcon::Exclamation ? MbIcon::Warning : MbIcon::None);
}

void DialogImportUi::SetWaitCursor(bool on) {
    if (m_cursor) m_cursor(on);
}

}  // namespace wv
