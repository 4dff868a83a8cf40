// What an importer hands to the merge: new points with the height each carries and
// segments between them. Readers fill it completely from the file before any table is
// touched, so a refused file changes nothing.
#pragma once

#include <vector>

namespace wv {

class CSokuten;
class CLine;

struct ImportSegment {
    int start = 0;  // index into ImportGeometry's points, in the order read
    int end = 0;
    int kind = 0;   // CLineZokusei kind
};

struct ImportGeometry {
    // Coordinates already final (swapped, scaled, rounded to 3 decimals) and the height
    // that a new survey point gets (reference height - value).
    std::vector<double> x;
    std::vector<double> y;
    std::vector<double> height;
    std::vector<ImportSegment> segments;

    int PointCount() const { return static_cast<int>(x.size()); }
    int AddPoint(double px, double py, double h) {
        x.push_back(px);
        y.push_back(py);
        height.push_back(h);
        return PointCount() - 1;
    }
};

// Which table had no room left for the merge.
enum class MergeFull { None, Points, Lines };

struct MergeResult {
    int pointsAdded = 0;
    int linesAdded = 0;  // after duplicates are removed
    MergeFull full = MergeFull::None;
};

// Merges the points into the survey-point table (an existing point within 0.1 m is
// reused), adds a line for every segment whose ends fell onto two different points, and
// removes lines that duplicate an existing one. `withHeight` false adds new points with
// height 0.0 (the CSV points import carries none).
// When a table fills up (kMaxTableSlots) the merge stops there and says which one: the
// tables are then merged in part, so a caller that must lose nothing merges into copies
// unless the tables have room for every point and segment (ImportFits).
MergeResult MergeImport(CSokuten& points, CLine& lines, const ImportGeometry& g, bool withHeight);

// Whether the tables have room for the whole import, every point new and every segment a
// line: the merge can then not run out of slots.
bool ImportFits(const CSokuten& points, const CLine& lines, const ImportGeometry& g);

// The same merge, written the plain way (each new slot shifts the whole sorted array).
// Kept as the reference that the fast merge must match slot for slot.
MergeResult MergeImportReference(CSokuten& points, CLine& lines, const ImportGeometry& g,
                                 bool withHeight);

}  // namespace wv
