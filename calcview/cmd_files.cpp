// File commands: Save As with the side files, the depth calculation, the wave calculation
// and the batch input.
#include "calcview/tyd_view.h"

#include "calcdoc/calc_data_writer.h"
#include "calcdoc/mesh_csv.h"
#include "platform/doc_template.h"
#include "platform/files.h"
#include "platform/ui_service.h"

namespace wv {

namespace {

std::function<void()>& SaveAsHook() {
    static std::function<void()> hook;
    return hook;
}

std::function<bool(const std::string& folder, const std::string& name, std::string& path)>& SaveDialog() {
    static std::function<bool(const std::string&, const std::string&, std::string&)> dialog;
    return dialog;
}

// The side file's base: the path up to and including its last '.'.
std::string BaseOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ".";
    return path.substr(0, dot + 1);
}

// Copies one side file through a temporary name, so a failed copy never leaves half a
// file in place of a good one. A missing source is not copied.
bool CopySideFile(const std::string& from, const std::string& to, std::string* err) {
    if (!FileExists(from)) return true;
    std::string bytes;
    if (!ReadWholeFile(from, bytes, err)) return false;
    return AtomicWriteFile(to, bytes, err);
}

}  // namespace

void SetTydSaveAsHook(std::function<void()> hook) { SaveAsHook() = std::move(hook); }

void SetTydSaveDialog(std::function<bool(const std::string&, const std::string&, std::string&)> dialog) {
    SaveDialog() = std::move(dialog);
}

bool TydSaveAs(CTydDoc& doc, const std::string& newPath) {
    const std::string oldPath = doc.GetPathName();
    // A failed save has told the user why; the document keeps its name, since the new
    // one holds nothing of it.
    if (!doc.OnSaveDocument(newPath)) return false;
    doc.SetPathName(newPath);
    // The windows take their caption from the modified hooks: passing through "modified"
    // shows them the new name.
    doc.SetModifiedFlag(true);
    doc.SetModifiedFlag(false);
    const std::string b0 = BaseOf(oldPath), b1 = BaseOf(newPath);
    // Onto its own name nothing is copied: a file copied onto itself would be emptied.
    if (!oldPath.empty() && CanonicalPath(b0 + "CAL") != CanonicalPath(b1 + "CAL")) {
        std::string failed;
        for (const char* ext : {"CAL", "DEC", "KKA", "YNO"}) {
            std::string err;
            if (!CopySideFile(b0 + ext, b1 + ext, &err)) failed += "\n" + b1 + ext + " " + err;
        }
        if (!failed.empty())
            Ui().MessageBox("計算ファイルをコピーできませんでした。" + failed, "名前を付けて保存", MbButtons::Ok,
                            MbIcon::Warning);
    }
    if (SaveAsHook()) SaveAsHook()();
    return true;
}

void AddFileCommands(CommandMap& m) {
    m[57604] = {[](CTydView& v) {
                    CTydDoc& doc = v.Doc();
                    const std::string folder = FolderOf(doc.GetPathName());
                    const std::string name = FileNameOf(doc.GetPathName());
                    std::string path;
                    bool ok = false;
                    if (SaveDialog()) {
                        ok = SaveDialog()(folder, name, path);
                    } else {
                        FileDialogOptions fileDialog;
                        fileDialog.mode = FileDialogOptions::Mode::Save;
                        fileDialog.title = "名前を付けて保存";
                        fileDialog.filters = {{"Tyd Files (*.tyd)", "*.TYD"}};
                        fileDialog.defaultExt = "TYD";
                        fileDialog.initialFolder = folder;
                        fileDialog.initialName = name;
                        fileDialog.overwritePrompt = true;
                        ok = Ui().FileDialog(fileDialog, path);
                    }
                    if (ok && !path.empty()) TydSaveAs(doc, path);
                },
                {}};
    m[32830] = {[](CTydView& v) {
                    CTydDoc& doc = v.Doc();
                    doc.OnCalcDepth(v, v.Frame());
                    if (doc.m_info.m_nCalcState == 1) v.m_bLandFill = 1;
                    v.RedrawAll();
                },
                {}};
    m[32832] = {[](CTydView& v) {
                    OnWaveCalc(v.Doc(), v, v.Frame(), v.CalcSlot());
                    v.RedrawAll();
                },
                {}};
    m[32892] = {[](CTydView& v) {
                    if (OnMeshFileIn(v) >= 0) v.OnViewWhole();
                    v.RedrawAll();
                },
                {}};
    m[32893] = {[](CTydView& v) {
                    if (v.Host()) v.Host()->WaitCursor(true);
                    OnMeshFileOut(v.Doc());
                    if (v.Host()) v.Host()->WaitCursor(false);
                },
                {}};
    m[32889] = {[](CTydView& v) {
                    if (v.Host()) v.Host()->WaitCursor(true);
                    OnResultFileOut(v.Doc(), v, v.Frame());
                    if (v.Host()) v.Host()->WaitCursor(false);
                    v.RedrawAll();
                },
                {}};
    m[32888] = {[](CTydView& v) {
                    OnMakeContinuousData(v.Doc(), v, v.Frame());
                    v.RedrawAll();
                },
                {}};
}

}  // namespace wv
