// The document base shared by the project and the calculation documents: the path of
// the file, the modified flag, and opening, saving and closing through the document's
// archive. No windows here; a failure is reported through the UI service and kept for
// the caller.
#pragma once

#include "platform/archive.h"

#include <string>

namespace wv {

class CDocument {
public:
    CDocument() = default;
    virtual ~CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    // Full path of the document's file; empty for a document never saved or opened.
    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(const std::string& path) { m_strPathName = path; }
    // The file name without its folder.
    std::string GetTitle() const;

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    // A new, empty document: contents deleted, no path, not modified.
    virtual bool OnNewDocument();
    // Reads the file through Serialize. A file of length 0 opens as a new, empty
    // document. On failure the document (contents, path and flag) stays as it was, the
    // failure is reported with the file's name, and the result is false.
    virtual bool OnOpenDocument(const std::string& path);
    // Writes the file through Serialize, atomically: a failed save leaves the old file in
    // place and the document modified. On success the path is the one saved to.
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

protected:
    // Caption of the failure messages.
    virtual std::string MessageCaption() const;

private:
    void ReportFailure(const std::string& text);

    std::string m_strPathName;
    bool m_bModified = false;
    std::string m_strLastError;
};

}  // namespace wv
