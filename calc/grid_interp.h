// What one grid line says about the height at one mesh node on it.
//
// Every mesh node lies on eight grid lines (four directions and their perpendiculars).
// Along each line the terrain lines give crossings with a height. A node's height is the
// combination of what its eight lines give: an exact crossing at the node wins outright;
// otherwise the linear interpolations between the crossings that enclose the node are
// averaged, weighted by the inverse distance to the nearer crossing; only when no line
// encloses the node does the nearest one-sided crossing count.
#pragma once

#include <vector>

namespace wv {

// Two crossings (or a node and a crossing) closer than this along a line are the same
// place.
inline constexpr double kCrossingTolerance = 1e-10;

// Adds what one grid line says about the node at position x along it to the running
// sums of the node. k crossings at positions p with heights v, in the order found. The
// value sum goes in by value and comes back as the result; *w is the weight sum and *n
// the count of one-sided values (-1 after an exact hit). L is the tide level: a crossing
// above it (a dry line's 99.0) is not used.
double InterpolateNodeOnLine(int k, const double* p, const double* v, double x, double sum,
                             double* w, int* n, double L);

// Comb sort of an index array by keys[index[i]], ascending. Keys closer than 1e-10 are
// never swapped, so the result is ascending up to that tolerance.
void SortCrossingIndex(int count, const double* keys, int* index);
// The same sort with the importers' argument order; the second argument is not used.
void CombSortIndexByValue(const double* keys, int ignored, int* index, int count);

// The crossings of one grid line, sorted once for all the nodes on it, so that each node
// needs a binary search instead of a sort. Built from the crossings in the order found,
// it sorts them with SortCrossingIndex, which gives exactly the order that
// InterpolateNodeOnLine gives them for every node.
class SortedCrossings {
public:
    void Assign(int k, const double* p, const double* v);
    int Count() const { return static_cast<int>(m_p.size()); }

    // The same result as InterpolateNodeOnLine on the unsorted crossings.
    double Interpolate(double x, double sum, double* w, int* n, double L) const;

private:
    std::vector<double> m_p;  // positions in sorted order
    std::vector<double> m_v;  // heights in the same order
    // m_max[i] = max(m_p[0..i]): the tolerant sort may leave neighbours out of order by
    // less than 1e-10, and the running maximum turns "first index whose position reaches
    // x" into a monotone search without changing which index that is. Empty when the
    // positions are in order: then they are their own maximum.
    std::vector<double> m_max;
};

}  // namespace wv
