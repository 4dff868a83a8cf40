#include "core/cal_area.h"
#include "core/messages.h"
#include "platform/dialog_texts.h"
#include "platform/text.h"

#include <climits>
#include <cstdint>

namespace wv {

CCalArea g_calcAreaDefault;

void CCalArea::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        m_ptOrigin.Serialize(ar, nVersion);
        ar << m_dMeshSize << m_nMeshCountX << m_nMeshCountY;
        return;
    }
    CCalArea r;
    r.m_ptOrigin.Serialize(ar, nVersion);
    ar >> r.m_dMeshSize >> r.m_nMeshCountX >> r.m_nMeshCountY;
    CArchive::CheckRange(r.m_nMeshCountX, 0, INT_MAX, msg::kWhatAreaCountX);
    CArchive::CheckRange(r.m_nMeshCountY, 0, INT_MAX, msg::kWhatAreaCountY);
    // Every node is numbered with an int in the mesh built from this area: the limit the
    // dialog and the area drag keep too.
    if (!MeshCountsFit(r.m_nMeshCountX, r.m_nMeshCountY))
        throw ArchiveError(Sprintf(msg::kArchiveBadValue, msg::kWhatAreaCount,
                                   static_cast<long long>(r.m_nMeshCountX) * r.m_nMeshCountY));
    *this = r;
}

}  // namespace wv
