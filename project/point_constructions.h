// Setting out new survey points from a base line: an extension along the line (380), the
// foot of a perpendicular (381, 382) and a point at a distance and angle (383).
#pragma once

#include "project/tik_edit_support.h"

namespace wv {

class CPointConstructions : public TikEditBase {
public:
    using TikEditBase::TikEditBase;
    static bool Owns(int mode) { return mode >= 380 && mode <= 383; }
    void LeftClick(double x, double y);

    void AddExtensionPoint(double x, double y);
    void PickPerpendicularBase(double x, double y);
    void AddPerpendicularPoint(double x, double y);
    void AddAngleDistancePoint(double x, double y);

private:
    // Picks the nearest line and its nearer end; false when there is no line.
    bool PickBase(double x, double y);
    // Direction from the far end to the nearer end, from the line's stored ends.
    double OutwardAngle() const;
    void ClearPicks();
};

}  // namespace wv
