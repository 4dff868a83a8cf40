#include "project/qt/import_ui_qt.h"

#include "platform/ui_service.h"

#include <QApplication>
#include <QCursor>

namespace wv {

namespace {

// The file choice goes through the program's file dialog; every other question takes the
// dialogs' starting values (reference height 0, metres, mathematical coordinates, zone 1).
class BasicImportUi : public ImportUi {
public:
    std::optional<std::string> ChooseFile(const OpenFileRequest& r) override {
        FileDialogSpec spec;
        spec.mode = FileDialogSpec::Mode::Open;
        spec.title = r.title;
        if (!r.filterName.empty()) spec.filters.push_back({r.filterName, r.pattern});
        spec.filters.push_back({"すべてのﾌｧｲﾙ (*.*)", "*.*"});
        spec.defaultExt = r.defaultExt;
        std::string path;
        if (!Ui().FileDialog(spec, path) || path.empty()) return std::nullopt;
        return path;
    }
    bool EditDxf2D(const DxfFile&, std::vector<DxfLayer>&, DxfImportOptions&) override { return true; }
    bool EditDxf3D(DxfImportOptions&) override { return true; }
    std::optional<bool> ChooseCoordinateAxes() override { return false; }
    bool EditCsvLines(double& reference, bool& survey) override {
        reference = 0.0;
        survey = false;
        return true;
    }
    bool EditQsona(QsonaImportOptions& options, bool&) override {
        options.reference = 0.0;
        options.zone = 1;
        return true;
    }
    void Message(const std::string& text, const std::string& caption, ImportIcon icon) override {
        Ui().MessageBox(text, caption, MbButtons::Ok,
                        icon == ImportIcon::Exclamation ? MbIcon::Warning : MbIcon::None);
    }
    void SetWaitCursor(bool on) override {
        if (on)
            QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QApplication::restoreOverrideCursor();
    }
};

}  // namespace

std::unique_ptr<ImportUi> MakeImportUi(QWidget*) { return std::make_unique<BasicImportUi>(); }

}  // namespace wv
