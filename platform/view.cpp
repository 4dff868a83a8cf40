#include "platform/view.h"

#include "platform/document.h"

namespace wv {

CView::~CView() {
    if (m_pDocument) m_pDocument->RemoveView(this);
}

}  // namespace wv
