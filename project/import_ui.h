// The importers' questions answered by their real dialogs: the file through the UI
// service's file dialog, each option dialog as a dialog-kit model run by `run` (the Qt
// host in the program, a script in tests), messages through the UI service.
#pragma once

#include "project/terrain_import.h"

#include <functional>

namespace wv {

class CDialogModel;

class DialogImportUi : public ImportUi {
public:
    using DialogRunner = std::function<int(CDialogModel&)>;
    using CursorSetter = std::function<void(bool)>;
    DialogImportUi(DialogRunner run, CursorSetter cursor);

    std::optional<std::string> ChooseFile(const OpenFileRequest& request) override;
    bool EditDxf2D(const DxfFile& file, std::vector<DxfLayer>& layers, DxfImportOptions& options) override;
    bool EditDxf3D(DxfImportOptions& options) override;
    std::optional<bool> ChooseCoordinateAxes() override;
    bool EditCsvLines(double& reference, bool& surveyCoordinates) override;
    bool EditQsona(QsonaImportOptions& options, bool& lowTideLines) override;
    void Message(const std::string& text, const std::string& caption, ImportIcon icon) override;
    void SetWaitCursor(bool on) override;

private:
    DialogRunner m_run;
    CursorSetter m_cursor;
};

}  // namespace wv
