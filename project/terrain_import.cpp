#include "project/terrain_import.h"

#include "core/line.h"
#include "core/sokuten.h"
#include "core/table_limits.h"
#include "core/tik_inf.h"
#include "platform/files.h"
#include "platform/text.h"
#include "project/import_messages.h"
#include "project/tik_archive.h"

#include <memory>

namespace wv {

namespace {

// The wait cursor comes off on every way out of a command.
class WaitCursor {
public:
    explicit WaitCursor(ImportUi& ui) : m_ui(ui) { m_ui.SetWaitCursor(true); }
    ~WaitCursor() { m_ui.SetWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    ImportUi& m_ui;
};

// The coordinate-system setting is the dialog's choice only while an import runs; the
// project is always saved in mathematical coordinates.
class CoordSystemScope {
public:
    explicit CoordSystemScope(int system) { g_tikInf.m_nCoordSystem = system; }
    ~CoordSystemScope() { g_tikInf.m_nCoordSystem = 0; }
    CoordSystemScope(const CoordSystemScope&) = delete;
    CoordSystemScope& operator=(const CoordSystemScope&) = delete;
};

ImportReport Refuse(ImportUi& ui, const std::string& text, const char* caption,
                    ImportIcon icon = ImportIcon::None) {
    ui.Message(text, caption, icon);
    return {ImportStatus::Refused, {}};
}

ImportReport Merge(ImportUi& ui, const ImportGeometry& g, bool withHeight) {
    ImportReport r;
    r.status = ImportStatus::Imported;
    if (ImportFits(g_surveyPoints, g_lines, g)) {
        r.merged = MergeImport(g_surveyPoints, g_lines, g, withHeight);
        return r;
    }
    // Near the tables' bound the import may or may not fit, depending on how many of its
    // points fall onto existing ones: merge into copies, and keep them only when all of it
    // went in.
    auto points = std::make_unique<CSokuten>(g_surveyPoints);
    auto lines = std::make_unique<CLine>(g_lines);
    r.merged = MergeImport(*points, *lines, g, withHeight);
    if (r.merged.full != MergeFull::None) {
        const char* text = r.merged.full == MergeFull::Points ? kSurveyPointsFull : kLinesFull;
        ImportReport refused = Refuse(ui, TableFullMessage(text), kTableFullCaption);
        refused.merged.full = r.merged.full;
        return refused;
    }
    g_surveyPoints = std::move(*points);
    g_lines = std::move(*lines);
    return r;
}

std::optional<std::vector<std::string>> ReadLines(const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, text, nullptr)) return std::nullopt;
    return SplitTextLines(text);
}

const OpenFileRequest kCsvRequest{"CSVファイル読み込み", "CSV ﾌｧｲﾙ (*.csv)", "*.csv", "Csv"};

}  // namespace

ImportReport ImportDxf(ImportUi& ui, DxfMode mode) {
    const std::optional<std::string> path =
        ui.ChooseFile({"DXFファイル読み込み", "DXF ﾌｧｲﾙ (*.dxf)", "*.dxf", "Dxf"});
    if (!path) return {};
    std::string error;
    const std::optional<DxfFile> file = DxfFile::Load(*path, error);
    if (!file) return Refuse(ui, error, importmsg::kCaptionDxf);

    std::vector<DxfLayer> layers;
    if (mode == DxfMode::Plane) {
        layers = ReadDxfLayers(*file);
        if (layers.empty()) {
            return Refuse(ui, importmsg::kNoLayers, importmsg::kCaptionDxf, ImportIcon::Exclamation);
        }
    }
    // DXF coordinates are always taken as mathematical ones.
    g_tikInf.m_nCoordSystem = 0;
    DxfImportOptions options;
    const bool ok = mode == DxfMode::Plane ? ui.EditDxf2D(*file, layers, options)
                                           : ui.EditDxf3D(options);
    if (!ok) return {};

    WaitCursor wait(ui);
    const int segments = CountDxfSegments(*file, mode);
    if (segments == 0) {
        return Refuse(ui, importmsg::kNoLines, importmsg::kCaptionDxf, ImportIcon::Exclamation);
    }
    const ImportGeometry g = ReadDxfGeometry(*file, mode, layers, options, segments);
    return Merge(ui, g, true);
}

ImportReport ImportCsvPoints(ImportUi& ui) {
    const std::optional<std::string> path = ui.ChooseFile(kCsvRequest);
    if (!path) return {};
    const std::optional<std::vector<std::string>> lines = ReadLines(*path);
    if (!lines) return Refuse(ui, importmsg::kFileOpenError, importmsg::kCaptionCsv);
    const std::optional<bool> survey = ui.ChooseCoordinateAxes();
    if (!survey) return {};
    CoordSystemScope scope(*survey ? 1 : 0);
    WaitCursor wait(ui);
    if (lines->empty()) return {};
    const ImportGeometry g = ReadCsvPoints(*lines, *survey);
    return Merge(ui, g, false);
}

ImportReport ImportCsvLines(ImportUi& ui) {
    const std::optional<std::string> path = ui.ChooseFile(kCsvRequest);
    if (!path) return {};
    const std::optional<std::vector<std::string>> lines = ReadLines(*path);
    if (!lines) return Refuse(ui, importmsg::kFileOpenError, importmsg::kCaptionCsv);
    double reference = 0.0;
    bool survey = false;
    if (!ui.EditCsvLines(reference, survey)) return {};
    CoordSystemScope scope(survey ? 1 : 0);
    WaitCursor wait(ui);
    if (lines->size() <= 1) {
        return Refuse(ui, importmsg::kNoLines, importmsg::kCaptionCsv, ImportIcon::Exclamation);
    }
    const ImportGeometry g = ReadCsvLines(*lines, reference, survey);
    return Merge(ui, g, true);
}

ImportReport ImportQsona(ImportUi& ui) {
    const std::optional<std::string> path = ui.ChooseFile({"Q-SONAファイル読み込み", "", "", ""});
    if (!path) return {};
    const std::optional<std::vector<std::string>> lines = ReadLines(*path);
    if (!lines) return Refuse(ui, importmsg::kFileOpenError, importmsg::kCaptionQsona);
    QsonaImportOptions options;
    bool lowTide = false;
    if (!ui.EditQsona(options, lowTide)) return {};
    WaitCursor wait(ui);
    if (lines->size() <= 1) {
        return Refuse(ui, importmsg::kNoLines, importmsg::kCaptionQsona, ImportIcon::Exclamation);
    }
    const QsonaImportResult r = ReadQsonaLines(*lines, options);
    if (!r.datumFound) {
        return Refuse(ui, Sprintf(importmsg::kQsonaNoDatum, path->c_str()), importmsg::kCaptionQsona,
                      ImportIcon::Exclamation);
    }
    return Merge(ui, r.geometry, true);
}

ImportReport ImportTik(ImportUi& ui) {
    const std::optional<std::string> path =
        ui.ChooseFile({"TIKファイル読み込み", "TIK ﾌｧｲﾙ (*.tik)", "*.tik", "Tik"});
    if (!path) return {};
    std::vector<std::uint8_t> bytes;
    std::string err;
    if (!ReadWholeFile(*path, bytes, &err)) {
        return Refuse(ui, *path + "\n" + importmsg::kTikCannotOpen + "\n(" + err + ")",
                      importmsg::kCaptionTik);
    }
    // Read into fresh tables; the open project's are replaced only when all went well.
    auto tables = std::make_unique<TikTables>();
    if (!bytes.empty()) {
        try {
            CArchive ar(std::move(bytes));
            ReadTikArchive(ar, *tables);
        } catch (const ArchiveError& e) {
            return Refuse(ui, *path + "\n" + importmsg::kTikCannotRead + "\n(" + e.what() + ")",
                          importmsg::kCaptionTik);
        }
    }
    SwapWithOpenProject(*tables);
    ImportReport r;
    r.status = ImportStatus::Imported;
    r.merged.pointsAdded = g_surveyPoints.GetCount();
    r.merged.linesAdded = g_lines.GetCount();
    return r;
}

}  // namespace wv
