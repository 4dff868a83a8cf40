// The wave and calculation conditions of one calculation, and the application-wide copy
// that holds the defaults for new calculation documents.
#pragma once

#include "platform/archive.h"

namespace wv {

// Entries of the sixteen-point direction table (0 = N ... 15 = NNW).
inline constexpr int kDir16Count = 16;

class CTyd_Inf {
public:
    CTyd_Inf() { Init(); }

    // Every field back to its default.
    void Init();

    // Stores the current layout whatever the version; loading skips the fields that a
    // file of that version does not hold. A failed load leaves the record unchanged.
    void Serialize(CArchive& ar, unsigned nVersion);

    bool operator==(const CTyd_Inf&) const = default;

    // How the principal direction is given: 0 sixteen-point, 1 angle from north
    // counter-clockwise positive, 2 angle from north clockwise positive.
    int m_nDirMode;
    int m_nDir16;            // sixteen-point index, 0 = N, 1 = NNE, ... 15 = NNW
    double m_dDirAngle;      // principal direction, degrees
    double m_dTide;          // tide level, m: the datum the mesh depths are measured from
    double m_dH0;            // deep-water significant wave height, m
    double m_dT0;            // deep-water significant wave period, s
    int m_nDirDiv;           // direction bins of the spreading function
    double m_dSmax;          // directional concentration parameter
    double m_dSpreadRight;   // spread to the right of the incident direction, degrees
    double m_dSpreadLeft;    // spread to the left, degrees
    int m_nFreqDiv;          // frequency components
    int m_bBreaking;         // 1 = wave breaking is considered
    int m_nOutDirSense;      // output direction: 0 counter-clockwise from north, 1 clockwise
    // 0: the calculation view turns itself so that the waves come from the top;
    // 1: it uses the user's angle (CZmn_Inf::m_dRotation).
    int m_bFreeRotation;
    // 0 no mesh depths, 1 depths computed, 2 solver started or finished with the results
    // not loaded, 3 results loaded.
    int m_nCalcState;
};

// Defaults for new calculation documents; filled from the defaults file at start-up.
extern CTyd_Inf g_tydInfDefault;

}  // namespace wv
