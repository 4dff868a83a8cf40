#include "point.h"

namespace wv {

void CPointD::Serialize(CArchive& ar, unsigned) {
    ar.Exchange(m_dX);
    ar.Exchange(m_dY);
}

void CPointF::Serialize(CArchive& ar, unsigned) {
    ar.Exchange(m_fX);
    ar.Exchange(m_fY);
}

CPointD CPointList::GetAt(int index) const {
    if (index < 0 || index >= GetCount()) return CPointD();
    auto it = m_points.begin();
    std::advance(it, index);
    return *it;
}

}  // namespace wv
