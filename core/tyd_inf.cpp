#include "core/tyd_inf.h"

#include "core/messages.h"

#include <climits>

namespace wv {

CTyd_Inf g_tydInfDefault;

void CTyd_Inf::Init() {
    m_nDirMode = 0;
    m_nDir16 = 0;
    m_dDirAngle = 0.0;
    m_dTide = 0.0;
    m_dH0 = 0.0;
    m_dT0 = 0.0;
    m_nDirDiv = 45;
    m_dSmax = 10.0;
    m_dSpreadRight = 90.0;
    m_dSpreadLeft = 90.0;
    m_nFreqDiv = 7;
    m_bBreaking = 0;
    m_nOutDirSense = 0;
    m_bFreeRotation = 0;
    m_nCalcState = 0;
}

void CTyd_Inf::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        ar << m_nDirMode << m_nDir16 << m_dDirAngle << m_dTide << m_dH0 << m_dT0 << m_nDirDiv
           << m_dSmax << m_dSpreadRight << m_dSpreadLeft << m_nFreqDiv << m_bBreaking
           << m_nOutDirSense << m_bFreeRotation << m_nCalcState;
        return;
    }
    CTyd_Inf r(*this);
    ar >> r.m_nDirMode >> r.m_nDir16 >> r.m_dDirAngle >> r.m_dTide >> r.m_dH0 >> r.m_dT0 >>
        r.m_nDirDiv >> r.m_dSmax >> r.m_dSpreadRight >> r.m_dSpreadLeft >> r.m_nFreqDiv >>
        r.m_bBreaking >> r.m_nOutDirSense;
    // Files before version 10 had no free rotation: their views always turned themselves.
    if (nVersion >= 10)
        ar >> r.m_bFreeRotation;
    else
        r.m_bFreeRotation = 0;
    ar >> r.m_nCalcState;
    // Only the four states exist, and the solver divides by both division counts, which
    // every program of the suite keeps at 1 or more.
    CArchive::CheckRange(r.m_nCalcState, 0, 3, msg::kWhatCalcState);
    CArchive::CheckRange(r.m_nDirDiv, 1, INT_MAX, msg::kWhatDirDiv);
    CArchive::CheckRange(r.m_nFreqDiv, 1, INT_MAX, msg::kWhatFreqDiv);
    *this = r;
}

}  // namespace wv
