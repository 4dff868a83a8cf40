// The six import commands of the project view, without windows: file choice, dialogs,
// messages and the wait cursor go through ImportUi, which the view implements with real
// dialogs and tests with scripted answers. Every command reads and checks its whole file
// before the terrain tables change, so a refused file or a cancelled dialog changes
// nothing.
#pragma once

#include "project/dxf_import.h"
#include "project/text_import.h"

#include <optional>
#include <string>
#include <vector>

namespace wv {

struct OpenFileRequest {
    std::string title;         // "DXFファイル読み込み"
    std::string filterName;    // "DXF ﾌｧｲﾙ (*.dxf)"; empty: all files
    std::string pattern;       // "*.dxf" (upper-case names match too)
    std::string defaultExt;    // "Dxf"
};

enum class ImportIcon { None, Exclamation };

class ImportUi {
public:
    virtual ~ImportUi() = default;
    // The chosen file, or nothing when the user cancels.
    virtual std::optional<std::string> ChooseFile(const OpenFileRequest& request) = 0;
    // 2D DXF (the layer list may be edited); false on Cancel.
    virtual bool EditDxf2D(const DxfFile& file, std::vector<DxfLayer>& layers,
                           DxfImportOptions& options) = 0;
    // 3D DXF; false on Cancel.
    virtual bool EditDxf3D(DxfImportOptions& options) = 0;
    // CSV points: the coordinate system (true: survey), nothing on Cancel.
    virtual std::optional<bool> ChooseCoordinateAxes() = 0;
    // CSV lines: reference height and coordinate system; false on Cancel.
    virtual bool EditCsvLines(double& reference, bool& surveyCoordinates) = 0;
    // Q-SONA: reference height, zone and the low-tide switch (kept, not used); false on Cancel.
    virtual bool EditQsona(QsonaImportOptions& options, bool& lowTideLines) = 0;
    virtual void Message(const std::string& text, const std::string& caption, ImportIcon icon) = 0;
    virtual void SetWaitCursor(bool on) = 0;
};

// What became of a command.
enum class ImportStatus {
    Imported,   // tables changed: the view fits and redraws, the document is modified
    Cancelled,  // the user cancelled; nothing changed
    Refused,    // a message was shown; nothing changed
};

struct ImportReport {
    ImportStatus status = ImportStatus::Cancelled;
    MergeResult merged;
};

ImportReport ImportDxf(ImportUi& ui, DxfMode mode);
ImportReport ImportCsvPoints(ImportUi& ui);
ImportReport ImportCsvLines(ImportUi& ui);
ImportReport ImportQsona(ImportUi& ui);
// Another project's .TIK replaces the five tables of the open project; refused with the
// document's message when it cannot be read, the tables unchanged.
ImportReport ImportTik(ImportUi& ui);

}  // namespace wv
