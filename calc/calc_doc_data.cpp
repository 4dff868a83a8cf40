#include "calc/calc_doc_data.h"

#include "core/sansyutu.h"
#include "platform/files.h"

#include <algorithm>

namespace wv {

std::string CTydDocData::SideFile(const char* ext) const {
    return SideFileName(GetPathName(), ext);
}

CTydViewData::CTydViewData(CTydDocData& doc)
    : m_pCalcPtValue(static_cast<std::size_t>(CSansyutu::kCapacity), kNoValue),
      m_pCalcPtDir(static_cast<std::size_t>(CSansyutu::kCapacity), static_cast<float>(kNoDirection)),
      m_doc(doc) {}

void CTydViewData::ResetCalcPointValues() {
    const std::size_t slots = static_cast<std::size_t>(std::max(0, g_calcPoints.GetSize()));
    if (m_pCalcPtValue.size() < slots) m_pCalcPtValue.resize(slots);
    if (m_pCalcPtDir.size() < slots) m_pCalcPtDir.resize(slots);
    for (std::size_t i = 0; i < slots; ++i) {
        m_pCalcPtValue[i] = kNoValue;
        m_pCalcPtDir[i] = static_cast<float>(kNoDirection);
    }
}

}  // namespace wv
