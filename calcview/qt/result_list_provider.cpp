#include "calcview/qt/tyd_scroll_view.h"
// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "calcview/qt/result_list_provider.h"

#include "calc/digital_lattice.h"
#include "platform/frame.h"

namespace wv {

CalcResultListProvider::CalcResultListProvider(CShellFrame& frame, CProfile& profile, QWidget* owner)
    : m_frame(frame), m_dlg(&frame, profile) {
    m_host = std::make_unique<QtResultListHost>(m_dlg, owner);
    m_dlg.SetHost(m_host.get());
    // The list shows the frame's result view, never simply the active one.
    m_dlg.SetViewSource([this]() -> ResultListView* { return dynamic_cast<TydScrollView*>(m_frame.m_pResultView); });
}

CalcResultListProvider::~CalcResultListProvider() {
    if (m_dlg.HasWindow()) m_host->DestroyWindow();
    m_dlg.SetHost(nullptr);
}

bool CalcResultListProvider::IsCalcView(CView* view) const {
    auto* tv = dynamic_cast<TydScrollView*>(view);
    return tv && tv->Controller();
}

void CalcResultListProvider::Activate() { m_host->ActivateWindow(); }

void CalcResultListProvider::ShowFor(CView* view) {
    auto* tv = dynamic_cast<TydScrollView*>(view);
    if (!tv || !tv->Controller()) return;
    CTydView& v = *tv->Controller();
    v.m_bResultListOpen = 1;
    UpdateCalcPointResults(v, v.Angle());
    m_dlg.Create();
}

void CalcResultListProvider::Reopen() {
    if (!m_dlg.HasWindow()) m_dlg.Create();
}

bool CalcResultListProvider::Post(unsigned message) {
    return m_dlg.HasWindow() && PostMessage(&m_dlg, message, 0, 0);
}

void CalcResultListProvider::ClearAllOwners() {
    for (const auto& child : m_frame.Children())
        for (const auto& view : child->Views())
            if (auto* tv = dynamic_cast<TydScrollView*>(view.get()); tv && tv->Controller())
                tv->Controller()->m_bResultListOpen = 0;
}

}  // namespace wv
