// Document templates and the document manager: which document class, view and menu go
// with which file type, and the list of open documents. Opening picks the template by
// the file's extension (ignoring case) and only activates a document already open.
#pragma once

#include "platform/document.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace wv {

class CMDIChildWnd;
class CMDIFrameWnd;
class CView;

class CDocTemplate {
public:
    // Fields of the document string, separated by '\n'.
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    using ViewFactory = std::function<std::unique_ptr<CView>()>;

    // resourceId names the template's menu (and icon).
    CDocTemplate(int resourceId, std::string docString, DocumentFactory makeDocument, ViewFactory makeView);
    ~CDocTemplate();
    CDocTemplate(const CDocTemplate&) = delete;
    CDocTemplate& operator=(const CDocTemplate&) = delete;

    int GetResourceId() const { return m_resourceId; }
    std::string GetDocString(DocStringIndex index) const;
    // Whether a path has this template's extension, in any case.
    bool MatchesExtension(const std::string& path) const;
    // A later part replaces the view class (the calculation view, the project view).
    void SetViewFactory(ViewFactory makeView) { m_makeView = std::move(makeView); }

    const std::vector<std::unique_ptr<CDocument>>& Documents() const { return m_docs; }
    // Null when `path` is not open here (compared as canonical full paths).
    CDocument* FindOpen(const std::string& path) const;

    // Opens the file as a new document in a new window of `frame` (an empty file opens as
    // a new, empty document). Null when it fails: nothing else changed.
    CDocument* OpenDocumentFile(const std::string& path, CMDIFrameWnd& frame);
    // Closes the document's windows and the document. Nothing is asked.
    void CloseDocument(CDocument* doc, CMDIFrameWnd& frame);
    // Another window on a document that is open here.
    CMDIChildWnd* CreateNewFrame(CDocument& doc, CMDIFrameWnd& frame);

private:
    int m_resourceId;
    std::vector<std::string> m_fields;
    DocumentFactory m_makeDocument;
    ViewFactory m_makeView;
    std::vector<std::unique_ptr<CDocument>> m_docs;
};

// A path as compared between documents: absolute, with "." and ".." and symbolic links
// resolved as far as the file exists.
std::string CanonicalPath(const std::string& path);

class CDocManager {
public:
    explicit CDocManager(CMDIFrameWnd& frame) : m_frame(frame) {}
    ~CDocManager();  // closes every document without asking

    CDocTemplate* AddDocTemplate(std::unique_ptr<CDocTemplate> t);
    const std::vector<std::unique_ptr<CDocTemplate>>& Templates() const { return m_templates; }
    // By document name ("Tyd", "Tik").
    CDocTemplate* FindTemplate(const std::string& docName) const;
    CDocTemplate* TemplateFor(const std::string& path) const;

    // An open document of this path is activated and returned. Otherwise the template of
    // the extension opens it. Null when no template takes it (reported) or it fails.
    CDocument* OpenDocumentFile(const std::string& path);
    CDocument* FindOpen(const std::string& path) const;
    std::vector<CDocument*> Documents() const;

    // Asks for every modified document in turn; false as soon as one is cancelled.
    bool SaveAllModified();
    // Closes every document without asking.
    void CloseAllDocuments();
    void CloseDocument(CDocument* doc);

private:
    CMDIFrameWnd& m_frame;
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
};

}  // namespace wv
