#include "platform/frame.h"

#include "platform/document.h"
#include "platform/view.h"

#include <algorithm>

namespace wv {

CDocument* CFrameWnd::GetActiveDocument() { return m_pActiveView ? m_pActiveView->GetDocument() : nullptr; }

void CFrameWnd::SetActiveView(CView* view) {
    if (m_pActiveView == view) return;
    if (m_pActiveView) m_pActiveView->OnActivateView(false);
    m_pActiveView = view;
    if (m_pActiveView) m_pActiveView->OnActivateView(true);
}

void CFrameWnd::AttachView(CView* view) { view->m_pFrame = this; }

CMDIChildWnd::CMDIChildWnd(CMDIFrameWnd& mdiFrame, CDocument& doc) : m_mdiFrame(mdiFrame), m_pDocument(&doc) {
    m_modifiedHook = doc.AddModifiedHook([this](CDocument&) {
        if (FrameHost* host = m_mdiFrame.GetHost()) host->ChildTitleChanged(*this);
    });
}

CMDIChildWnd::~CMDIChildWnd() {
    m_pActiveView = nullptr;
    if (m_pDocument) m_pDocument->RemoveModifiedHook(m_modifiedHook);
    // Views leave their document before they go.
    for (auto& v : m_views)
        if (m_pDocument) m_pDocument->RemoveView(v.get());
    m_views.clear();
}

CView* CMDIChildWnd::AddView(std::unique_ptr<CView> view) {
    CView* raw = view.get();
    AttachView(raw);
    if (m_pDocument) m_pDocument->AddView(raw);
    m_views.push_back(std::move(view));
    if (!m_pActiveView) SetActiveView(raw);
    return raw;
}

std::string CMDIChildWnd::GetTitle() const { return m_pDocument ? m_pDocument->GetTitle() : std::string(); }

CMDIFrameWnd::~CMDIFrameWnd() {
    m_pActiveChild = nullptr;
    m_children.clear();
}

CDocument* CMDIFrameWnd::GetActiveDocument() {
    return m_pActiveChild ? m_pActiveChild->GetActiveDocument() : nullptr;
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    return m_pActiveChild ? static_cast<CFrameWnd*>(m_pActiveChild) : this;
}

std::vector<CMDIChildWnd*> CMDIFrameWnd::ChildrenOf(const CDocument* doc) const {
    std::vector<CMDIChildWnd*> out;
    for (const auto& c : m_children)
        if (c->GetDocument() == doc) out.push_back(c.get());
    return out;
}

CMDIChildWnd* CMDIFrameWnd::CreateChild(CDocument& doc, std::unique_ptr<CView> view) {
    auto child = std::make_unique<CMDIChildWnd>(*this, doc);
    CMDIChildWnd* raw = child.get();
    m_children.push_back(std::move(child));
    CView* first = view ? raw->AddView(std::move(view)) : nullptr;
    m_pCreating = raw;
    if (m_host) m_host->ChildCreated(*raw);
    if (first) first->OnInitialUpdate();
    m_pCreating = nullptr;
    // The host may have activated the new window while making it: its view hears of that
    // only now that it shows its document.
    const bool activeAlready = m_pActiveChild == raw;
    MDIActivate(raw);
    if (CView* v = activeAlready ? raw->GetActiveView() : nullptr) v->OnActivateView(true);
    return raw;
}

void CMDIFrameWnd::DestroyChild(CMDIChildWnd* child) {
    auto it = std::find_if(m_children.begin(), m_children.end(), [child](const auto& c) { return c.get() == child; });
    if (it == m_children.end()) return;
    if (m_host) m_host->ChildDestroying(*child);
    std::unique_ptr<CMDIChildWnd> gone = std::move(*it);
    m_children.erase(it);
    if (m_pActiveChild == child) {
        // The most recently created of the others takes over, as the MDI client did.
        SetActiveChild(m_children.empty() ? nullptr : m_children.back().get());
        if (m_host) m_host->ActivateChild(m_pActiveChild);
    }
}

void CMDIFrameWnd::MDIActivate(CMDIChildWnd* child) {
    SetActiveChild(child);
    if (m_host) m_host->ActivateChild(child);
}

void CMDIFrameWnd::OnChildActivatedByHost(CMDIChildWnd* child) {
    if (child && std::none_of(m_children.begin(), m_children.end(), [child](const auto& c) { return c.get() == child; }))
        return;
    SetActiveChild(child);
}

void CMDIFrameWnd::SetActiveChild(CMDIChildWnd* child) {
    if (m_pActiveChild == child) return;
    CMDIChildWnd* old = m_pActiveChild;
    m_pActiveChild = child;
    // As in an MDI client, the active views of the two windows hear of it: a view
    // becomes the active one also when its window is activated, not only when another
    // pane of its own window was.
    if (CView* v = old ? old->GetActiveView() : nullptr) v->OnActivateView(false);
    if (CView* v = child && child != m_pCreating ? child->GetActiveView() : nullptr) v->OnActivateView(true);
    OnActiveChildChanged();
}

}  // namespace wv
