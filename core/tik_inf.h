// The project's conditions: pick tolerances, the coordinate system of imported data,
// magnetic north and the project view's rotation. One application-wide instance holds
// the conditions of the open project; the project file stores it first.
#pragma once

#include "platform/archive.h"

namespace wv {

class CTik_Inf {
public:
    static constexpr int kReservedCount = 17;

    CTik_Inf() { Init(); }

    // Every field back to its default (the state of a new project).
    void Init();

    // Stores the current layout whatever the version; loading skips the rotation in
    // files of version 5 and older, which keep the value held before the call. A failed
    // load leaves the record unchanged.
    void Serialize(CArchive& ar, unsigned nVersion);

    bool operator==(const CTik_Inf&) const = default;

    int m_nTolMouse;        // same-point tolerance for mouse input, pixels
    double m_dTolTablet;    // same-point tolerance for digitizer input, mm
    int m_nCoordSystem;     // imported data: 0 mathematical, 1 survey (X and Y swapped)
    double m_dNorth;        // magnetic north, degrees from the X axis towards Y
    double m_dRotation;     // project view rotation, degrees, negated against what the user types
    // Reserved: initialised, copied and stored, never read by anything else. Keeping
    // them makes a load and save give back the file's bytes.
    int m_nReserved[kReservedCount];
    double m_dReserved[kReservedCount];
};

// The conditions of the open project.
extern CTik_Inf g_tikInf;

}  // namespace wv
