#include "platform/doc_template.h"

#include "platform/files.h"
#include "platform/frame.h"
#include "platform/ui_service.h"
#include "platform/view.h"

#include <algorithm>
#include <filesystem>

namespace wv {

namespace {
constexpr char kNoTemplate[] = "このファイルの種類は開けません。";
constexpr char kCaption[] = "Wavora";
}  // namespace

std::string CanonicalPath(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(path), ec);
    if (ec) return path;
    const fs::path c = fs::weakly_canonical(p, ec);
    return (ec ? p.lexically_normal() : c).string();
}

CDocTemplate::CDocTemplate(int resourceId, std::string docString, DocumentFactory makeDocument, ViewFactory makeView)
    : m_resourceId(resourceId), m_makeDocument(std::move(makeDocument)), m_makeView(std::move(makeView)) {
    std::size_t pos = 0;
    for (;;) {
        const std::size_t nl = docString.find('\n', pos);
        m_fields.push_back(docString.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos));
        if (nl == std::string::npos) break;
        pos = nl + 1;
    }
}

CDocTemplate::~CDocTemplate() = default;

std::string CDocTemplate::GetDocString(DocStringIndex index) const {
    const auto i = static_cast<std::size_t>(index);
    return i < m_fields.size() ? m_fields[i] : std::string();
}

bool CDocTemplate::MatchesExtension(const std::string& path) const {
    const std::string ext = GetDocString(filterExt);
    return !ext.empty() && HasExtensionNoCase(FileNameOf(path), ext);
}

CDocument* CDocTemplate::FindOpen(const std::string& path) const {
    const std::string canonical = CanonicalPath(path);
    for (const auto& d : m_docs)
        if (!d->GetPathName().empty() && CanonicalPath(d->GetPathName()) == canonical) return d.get();
    return nullptr;
}

CDocument* CDocTemplate::OpenDocumentFile(const std::string& path, CMDIFrameWnd& frame) {
    std::unique_ptr<CDocument> doc = m_makeDocument();
    if (!doc) return nullptr;
    doc->SetDocTemplate(this);
    if (path.empty()) {
        if (!doc->OnNewDocument()) return nullptr;
    } else if (!doc->OnOpenDocument(CanonicalPath(path))) {
        return nullptr;
    }
    CDocument* raw = doc.get();
    m_docs.push_back(std::move(doc));
    CreateNewFrame(*raw, frame);
    return raw;
}

CMDIChildWnd* CDocTemplate::CreateNewFrame(CDocument& doc, CMDIFrameWnd& frame) {
    return frame.CreateChild(doc, m_makeView ? m_makeView() : nullptr);
}

void CDocTemplate::CloseDocument(CDocument* doc, CMDIFrameWnd& frame) {
    auto it = std::find_if(m_docs.begin(), m_docs.end(), [doc](const auto& d) { return d.get() == doc; });
    if (it == m_docs.end()) return;
    for (CMDIChildWnd* child : frame.ChildrenOf(doc)) frame.DestroyChild(child);
    doc->OnCloseDocument();
    std::unique_ptr<CDocument> gone = std::move(*it);
    m_docs.erase(it);
}

CDocManager::~CDocManager() { CloseAllDocuments(); }

CDocTemplate* CDocManager::AddDocTemplate(std::unique_ptr<CDocTemplate> t) {
    m_templates.push_back(std::move(t));
    return m_templates.back().get();
}

CDocTemplate* CDocManager::FindTemplate(const std::string& docName) const {
    for (const auto& t : m_templates)
        if (t->GetDocString(CDocTemplate::docName) == docName) return t.get();
    return nullptr;
}

CDocTemplate* CDocManager::TemplateFor(const std::string& path) const {
    for (const auto& t : m_templates)
        if (t->MatchesExtension(path)) return t.get();
    return nullptr;
}

CDocument* CDocManager::FindOpen(const std::string& path) const {
    for (const auto& t : m_templates)
        if (CDocument* d = t->FindOpen(path)) return d;
    return nullptr;
}

CDocument* CDocManager::OpenDocumentFile(const std::string& path) {
    if (CDocument* open = FindOpen(path)) {
        const auto children = m_frame.ChildrenOf(open);
        if (!children.empty()) m_frame.MDIActivate(children.front());
        return open;
    }
    CDocTemplate* t = TemplateFor(path);
    if (!t) {
        Ui().MessageBox(path + "\n" + kNoTemplate, kCaption, MbButtons::Ok, MbIcon::Error);
        return nullptr;
    }
    return t->OpenDocumentFile(path, m_frame);
}

std::vector<CDocument*> CDocManager::Documents() const {
    std::vector<CDocument*> out;
    for (const auto& t : m_templates)
        for (const auto& d : t->Documents()) out.push_back(d.get());
    return out;
}

bool CDocManager::SaveAllModified() {
    for (CDocument* d : Documents())
        if (!d->SaveModified()) return false;
    return true;
}

void CDocManager::CloseAllDocuments() {
    for (const auto& t : m_templates)
        while (!t->Documents().empty()) t->CloseDocument(t->Documents().back().get(), m_frame);
}

void CDocManager::CloseDocument(CDocument* doc) {
    if (doc && doc->GetDocTemplate()) doc->GetDocTemplate()->CloseDocument(doc, m_frame);
}

}  // namespace wv
