#include "calc/calc_doc_data.h"

#include "core/sansyutu.h"
#include "platform/files.h"

namespace wv {

std::string CTydDocData::SideFile(const char* ext) const {
    return SideFileName(GetPathName(), ext);
}

CTydViewData::CTydViewData(CTydDocData& doc)
    : m_pCalcPtValue(static_cast<std::size_t>(CSansyutu::kCapacity), kNoValue),
      m_pCalcPtDir(static_cast<std::size_t>(CSansyutu::kCapacity), static_cast<float>(kNoDirection)),
      m_doc(doc) {}

}  // namespace wv
