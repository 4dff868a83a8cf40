#include "platform/document.h"

#include "platform/atomic_file.h"
#include "platform/doc_template.h"
#include "platform/files.h"
#include "platform/ui_service.h"
#include "platform/view.h"

#include <algorithm>

#include <cstdint>
#include <exception>
#include <new>
#include <stdexcept>
#include <vector>

namespace wv {

namespace {

// Texts of the failure messages (UTF-8). The file name comes first, as the user needs
// to know which file is meant before why.
constexpr char kCannotOpen[] = "ファイルを開けません。";
constexpr char kCannotRead[] = "ファイルを読み込めません。ファイルが壊れているか、形式が違います。";
constexpr char kCannotSave[] = "ファイルに保存できません。";
constexpr char kNoMemory[] = "メモリーが足りないため、ファイルを読み込めません。";
constexpr char kDefaultCaption[] = "Wavora";
// The save question before a modified document is closed, after the document's name.
constexpr char kSaveChangesSuffix[] = " への変更を保存しますか?";

// Writes the files of one save together. On failure *failed is the file the error text
// names (the file layer puts the file's path first).
bool WriteTogether(const std::vector<CDocument::SavedFile>& files, std::string* failed, std::string* err) {
    if (files.size() == 1) {
        *failed = files[0].path;
        return AtomicWriteFile(files[0].path, files[0].bytes.data(), files[0].bytes.size(), err);
    }
    std::vector<std::string> paths;
    for (const CDocument::SavedFile& f : files) paths.push_back(f.path);
    AtomicFileSet set(paths);
    const bool opened = set.Open(err);
    bool ok = opened;
    for (std::size_t i = 0; ok && i < files.size(); ++i)
        set.Member(i).Write(files[i].bytes.data(), files[i].bytes.size());  // Commit reports a failed write
    ok = ok && set.Commit(err);
    // A rename that failed once the first file was in place left the rest complete
    // beside it: putting them in place now finishes this save rather than the next open.
    // (A set refused at its open has put nothing of this save anywhere.)
    if (!ok && opened && RecoverInterruptedSet(paths).completed > 0) ok = true;
    if (ok) return true;
    *failed = paths.back();
    for (const std::string& p : paths)
        if (err->compare(0, p.size() + 1, p + ":") == 0) *failed = p;
    return false;
}

}  // namespace

CDocument::~CDocument() {
    // Views outlive nothing of their document: they forget it.
    for (CView* v : m_views) v->m_pDocument = nullptr;
}

std::string CDocument::GetTitle() const { return FileNameOf(m_strPathName); }

void CDocument::SetModifiedFlag(bool modified) {
    if (m_bModified == modified) return;
    m_bModified = modified;
    // A copy: a hook may remove itself.
    const auto hooks = m_modifiedHooks;
    for (const auto& [handle, hook] : hooks) hook(*this);
}

int CDocument::AddModifiedHook(ModifiedHook hook) {
    const int handle = m_nextHook++;
    m_modifiedHooks.emplace_back(handle, std::move(hook));
    return handle;
}

void CDocument::RemoveModifiedHook(int handle) {
    m_modifiedHooks.erase(std::remove_if(m_modifiedHooks.begin(), m_modifiedHooks.end(),
                                         [handle](const auto& h) { return h.first == handle; }),
                          m_modifiedHooks.end());
}

void CDocument::AddView(CView* view) {
    if (!view || std::find(m_views.begin(), m_views.end(), view) != m_views.end()) return;
    if (view->m_pDocument && view->m_pDocument != this) view->m_pDocument->RemoveView(view);
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view) {
    auto it = std::find(m_views.begin(), m_views.end(), view);
    if (it == m_views.end()) return;
    m_views.erase(it);
    view->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, long hint) {
    // A copy: a view may close while it updates.
    const std::vector<CView*> views = m_views;
    for (CView* v : views)
        if (v != sender && std::find(m_views.begin(), m_views.end(), v) != m_views.end()) v->OnUpdate(sender, hint);
}

bool CDocument::SaveModified() {
    if (!IsModified()) return true;
    std::string name = GetTitle();
    if (name.empty() && m_pDocTemplate) name = m_pDocTemplate->GetDocString(CDocTemplate::docName);
    const int answer = Ui().MessageBox(name + kSaveChangesSuffix, MessageCaption(),
                                       MbButtons::YesNoCancel, MbIcon::Warning);
    if (answer == IDCANCEL) return false;
    if (answer == IDNO) return true;
    return DoFileSave();
}

bool CDocument::DoFileSave() {
    if (m_strPathName.empty()) return DoSaveAs();
    return OnSaveDocument(m_strPathName);
}

bool CDocument::DoSaveAs() {
    FileDialogOptions fileDialog;
    fileDialog.mode = FileDialogOptions::Mode::Save;
    fileDialog.overwritePrompt = true;
    fileDialog.initialFolder = FolderOf(m_strPathName);
    fileDialog.initialName = FileNameOf(m_strPathName);
    if (m_pDocTemplate) {
        const std::string ext = m_pDocTemplate->GetDocString(CDocTemplate::filterExt);
        fileDialog.filters.push_back({m_pDocTemplate->GetDocString(CDocTemplate::filterName), "*" + ext});
        fileDialog.defaultExt = ext.empty() ? ext : ext.substr(1);
    }
    std::string path;
    if (!Ui().FileDialog(fileDialog, path)) return false;
    return OnSaveDocument(path);
}

std::string CDocument::MessageCaption() const { return kDefaultCaption; }

void CDocument::ReportFailure(const std::string& text) {
    m_strLastError = text;
    Ui().MessageBox(text, MessageCaption(), MbButtons::Ok, MbIcon::Error);
}

bool CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(false);
    m_strLastError.clear();
    return true;
}

bool CDocument::OnOpenDocument(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string err;
    if (!ReadWholeFile(path, bytes, &err)) {
        ReportFailure(path + "\n" + kCannotOpen + "\n(" + err + ")");
        return false;
    }
    if (bytes.empty()) {
        // A new document is created as an empty file and then opened.
        DeleteContents();
    } else {
        CArchive ar(std::move(bytes));
        try {
            Serialize(ar);
        } catch (const ArchiveError& e) {
            ReportFailure(path + "\n" + kCannotRead + "\n(" + e.what() + ")");
            return false;
        } catch (const std::bad_alloc&) {
            // Serialize loads into fresh objects and swaps them in last, so the document
            // is still whole: refuse the file instead of ending the program.
            ReportFailure(path + "\n" + kNoMemory);
            return false;
        } catch (const std::length_error&) {
            ReportFailure(path + "\n" + kNoMemory);
            return false;
        }
    }
    m_strPathName = path;
    SetModifiedFlag(false);
    m_strLastError.clear();
    return true;
}

std::vector<CDocument::SavedFile> CDocument::FilesToSave(const std::string& path) {
    CArchive ar;
    Serialize(ar);
    return {{path, ar.Bytes()}};
}

bool CDocument::OnSaveDocument(const std::string& path) {
    std::vector<SavedFile> files;
    try {
        files = FilesToSave(path);
    } catch (const std::exception& e) {
        ReportFailure(path + "\n" + kCannotSave + "\n(" + e.what() + ")");
        return false;
    }
    std::string failed, err;
    if (!WriteTogether(files, &failed, &err)) {
        ReportFailure(failed + "\n" + kCannotSave + "\n(" + err + ")");
        return false;
    }
    m_strPathName = path;
    SetModifiedFlag(false);
    m_strLastError.clear();
    return true;
}

void CDocument::OnCloseDocument() {
    m_strPathName.clear();
    SetModifiedFlag(false);
}

}  // namespace wv
