// The calculation area of one calculation: its lower-left corner, mesh spacing and node
// counts; and the application-wide copy that holds the defaults for new documents.
#pragma once

#include "core/point.h"
#include "platform/archive.h"

namespace wv {

// Node counts a calculation area can have: none negative, and every node of the mesh
// built from it numbered with an int.
inline bool MeshCountsFit(long long nx, long long ny) {
    return nx >= 0 && ny >= 0 && nx <= 2147483647LL && ny <= 2147483647LL && nx * ny <= 2147483647LL;
}

class CCalArea {
public:
    CCalArea() = default;

    CPointD GetOrigin() const { return m_ptOrigin; }
    double GetMeshSize() const { return m_dMeshSize; }
    int GetMeshCountX() const { return m_nMeshCountX; }
    int GetMeshCountY() const { return m_nMeshCountY; }
    // The setters store what they are given; the dialogs check the values.
    bool SetOrigin(double x, double y) { m_ptOrigin = CPointD(x, y); return true; }
    bool SetMeshSize(double size) { m_dMeshSize = size; return true; }
    bool SetMeshCountX(int n) { m_nMeshCountX = n; return true; }
    bool SetMeshCountY(int n) { m_nMeshCountY = n; return true; }
    // No area: origin (0, 0), spacing 10 m, no nodes.
    void SetDefault() { *this = CCalArea(); }

    // Loading refuses negative node counts and a mesh whose node numbers would not fit
    // in an int; a failed load leaves the record unchanged.
    void Serialize(CArchive& ar, unsigned nVersion);

    bool operator==(const CCalArea&) const = default;

    CPointD m_ptOrigin;        // lower-left corner of the mesh, world coordinates
    double m_dMeshSize = 10.0; // node spacing, m
    int m_nMeshCountX = 0;     // nodes along X (columns); 0 = no area set
    int m_nMeshCountY = 0;     // nodes along Y (rows)
};

// Defaults for new calculation documents; filled from the defaults file at start-up.
extern CCalArea g_calcAreaDefault;

}  // namespace wv
