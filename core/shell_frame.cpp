#include "core/shell_frame.h"

#include "platform/view.h"

namespace wv {

CShellFrame* CShellFrame::Of(const CView* view) {
    auto* child = view ? dynamic_cast<CMDIChildWnd*>(view->GetParentFrame()) : nullptr;
    return child ? dynamic_cast<CShellFrame*>(&child->GetMDIFrame()) : nullptr;
}

}  // namespace wv
