// The document base shared by the project and the calculation documents: the path of
// the file, the modified flag, and opening, saving and closing through the document's
// archive. No windows here; a failure is reported through the UI service and kept for
// the caller.
#pragma once

#include "platform/archive.h"
#include "platform/cmd_target.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace wv {

class CDocTemplate;
class CView;

class CDocument : public CCmdTarget {
public:
    CDocument() = default;
    ~CDocument() override;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    // Full path of the document's file; empty for a document never saved or opened.
    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(const std::string& path) { m_strPathName = path; }
    // The file name without its folder.
    std::string GetTitle() const;

    bool IsModified() const { return m_bModified; }
    // Calls the modified hooks when the flag changes (the frames mark their titles).
    void SetModifiedFlag(bool modified = true);
    using ModifiedHook = std::function<void(CDocument&)>;
    // Returns a number that RemoveModifiedHook takes.
    int AddModifiedHook(ModifiedHook hook);
    void RemoveModifiedHook(int handle);

    // The views showing this document (one calculation shows several panes and the
    // result list); the views add and remove themselves.
    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }
    // Tells every view but `sender` that the document changed (OnUpdate with the hint).
    void UpdateAllViews(CView* sender, long hint = 0);

    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    void SetDocTemplate(CDocTemplate* t) { m_pDocTemplate = t; }

    // Before the document is closed: a modified document asks "<name> への変更を保存しますか?"
    // (Yes, No, Cancel). Yes saves to its path (or asks for one). False on Cancel or a
    // failed save: the document stays open and unchanged.
    virtual bool SaveModified();
    // Saves to its path; a document without one asks where (Save As). False when
    // cancelled or failed.
    bool DoFileSave();
    // Asks for a new path and saves there. False when cancelled or failed.
    virtual bool DoSaveAs();

    // A new, empty document: contents deleted, no path, not modified.
    virtual bool OnNewDocument();
    // Reads the file through Serialize. A file of length 0 opens as a new, empty
    // document. On failure the document (contents, path and flag) stays as it was, the
    // failure is reported with the file's name, and the result is false.
    virtual bool OnOpenDocument(const std::string& path);
    // Writes the files of FilesToSave, atomically and together: a failed save leaves the
    // old files in place and the document modified, and names the file that failed. On
    // success the path is the one saved to.
    virtual bool OnSaveDocument(const std::string& path);
    // Forgets the file. The contents are the derived document's to release.
    virtual void OnCloseDocument();
    // Empties the contents (a new document, or an empty file opened).
    virtual void DeleteContents() {}

    // Stores the contents, or loads them. A load must be all-or-nothing: it either
    // completes or throws ArchiveError with the contents unchanged.
    virtual void Serialize(CArchive& ar) = 0;

    // Text of the last failure reported (UTF-8), empty after a success.
    const std::string& GetLastError() const { return m_strLastError; }

    // One file of a save: where it goes and what it holds.
    struct SavedFile {
        std::string path;
        std::vector<std::uint8_t> bytes;
    };

protected:
    // Caption of the failure messages.
    virtual std::string MessageCaption() const;
    // The files a save to `path` writes, in the order they are put in place. Every one is
    // complete on the disk before the first replaces its old file, so a save that fails
    // or dies leaves the old set or the new one. By default the document's archive alone.
    virtual std::vector<SavedFile> FilesToSave(const std::string& path);

private:
    void ReportFailure(const std::string& text);

    std::string m_strPathName;
    bool m_bModified = false;
    std::string m_strLastError;
    std::vector<CView*> m_views;
    CDocTemplate* m_pDocTemplate = nullptr;
    std::vector<std::pair<int, ModifiedHook>> m_modifiedHooks;
    int m_nextHook = 1;
};

}  // namespace wv
