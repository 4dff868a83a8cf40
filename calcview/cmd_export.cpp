// Export commands: the current figure as DXF or BFO through the plot file and a
// converter. The plot data is freed once after every successful MakePlotFile, whether a
// file was chosen or not.
#include "calcview/tyd_view.h"

#include "calcdoc/calc_small_dlgs.h"
#include "draw/plot_export.h"
#include "platform/files.h"
#include "platform/ui_service.h"

namespace wv {

namespace {

void Export(CTydView& v, const char* label, const char* pattern, const char* ext, const char* title,
            const std::function<void(const std::string&)>& run) {
    if (!v.PreparePrinting()) return;
    if (v.Host()) v.Host()->WaitCursor(true);
    FileDialogOptions fileDialog;
    fileDialog.mode = FileDialogOptions::Mode::Save;
    fileDialog.title = title;
    fileDialog.filters = {{label, pattern}};
    fileDialog.defaultExt = ext;
    fileDialog.initialFolder = FolderOf(v.Doc().GetPathName());
    fileDialog.initialName = FileTitleOf(v.Doc().GetPathName()) + "." + ext;
    fileDialog.overwritePrompt = true;
    std::string path;
    if (Ui().FileDialog(fileDialog, path) && !path.empty()) run(path);
    v.EndPrinting();
    if (v.Host()) v.Host()->WaitCursor(false);
}

}  // namespace

void OnExportBfo(CTydView& v) {
    Export(v, "Bfo Files (*.bfo)", "*.bfo", "bfo", "BFOﾌｧｲﾙ出力",
           [&](const std::string& p) { ExportBfo(v.m_sheet.x, v.m_sheet.y, p); });
}

void OnExportDxf(CTydView& v) {
    CAcadVersionDlg dlg;
    dlg.m_nVersion = v.m_nDxfConverter;
    if (CTydView::RunDialog(dlg) != IDOK) return;
    v.m_nDxfConverter = dlg.m_nVersion;
    Export(v, "Dxf Files (*.dxf)", "*.dxf", "dxf", "DXFﾌｧｲﾙ出力",
           [&](const std::string& p) { ExportDxf(v.m_sheet.x, v.m_sheet.y, v.m_nDxfConverter, p); });
}

void AddExportCommands(CommandMap& m) {
    m[32825] = {OnExportDxf, {}};
    m[32826] = {OnExportBfo, {}};
}

}  // namespace wv
