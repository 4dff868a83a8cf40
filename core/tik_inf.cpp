#include "core/tik_inf.h"

namespace wv {

CTik_Inf g_tikInf;

void CTik_Inf::Init() {
    m_nTolMouse = 5;
    m_dTolTablet = 1.0;
    m_nCoordSystem = 0;
    m_dNorth = 0.0;
    m_dRotation = 0.0;
    for (int i = 0; i < kReservedCount; ++i) {
        m_nReserved[i] = 0;
        m_dReserved[i] = 0.0;
    }
}

void CTik_Inf::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        ar << m_nTolMouse << m_dTolTablet;
        for (int v : m_nReserved) ar << v;
        for (double v : m_dReserved) ar << v;
        ar << m_nCoordSystem << m_dNorth << m_dRotation;
        return;
    }
    CTik_Inf r(*this);
    ar >> r.m_nTolMouse >> r.m_dTolTablet;
    for (int& v : r.m_nReserved) ar >> v;
    for (double& v : r.m_dReserved) ar >> v;
    ar >> r.m_nCoordSystem >> r.m_dNorth;
    // The rotated project view came with version 6.
    if (nVersion > 5) ar >> r.m_dRotation;
    *this = r;
}

}  // namespace wv
