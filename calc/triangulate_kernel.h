// Triangulation of the sea nodes of a rectangular mesh, on plain arrays.
//
// Every cell whose corners are at sea is split by one diagonal: LL-UR when those two
// corners are at sea, else UL-LR. Edges are numbered in the order the edge pass creates
// them, which is the order the side archive stores them in; triangles list their nodes
// clockwise (y up) and their edges so that edge u joins node u and node (u + 1) mod 3.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace wv {

struct MeshTriangulation {
    std::vector<int> edgeNode1;  // per edge, the smaller sea-node number
    std::vector<int> edgeNode2;  // per edge, the larger
    std::vector<int> triEdges;   // 3 per triangle
    std::vector<int> triNodes;   // 3 per triangle, clockwise
    // 2 per edge: slot 0 the triangle that runs along the edge from node 1 to node 2,
    // slot 1 the other; -1 for none.
    std::vector<int> edgePairs;

    int EdgeCount() const { return static_cast<int>(edgeNode1.size()); }
    int TriangleCount() const { return static_cast<int>(triNodes.size() / 3); }
};

class ParallelRunner;

// `nodeIndex` holds rows x cols entries, row 0 (y = 0) first: the sea-node number or -1
// for land. `rowPairsDone(n)` reports n more row pairs done in either of the two passes
// (the progress steps); when it returns false the triangulation stops and the result is
// false. With a runner the row pairs of each pass are counted, numbered in order and
// written on its threads; the tables come out the same.
bool TriangulateNodeTable(int rows, int cols, const std::vector<int>& nodeIndex,
                          const std::function<bool(int)>& rowPairsDone, MeshTriangulation& out,
                          ParallelRunner* runner = nullptr);

// The most TriangulateNodeTable holds at once for a rows x cols table, at worst every
// node a sea node: its record per node and the edge and triangle tables.
std::uint64_t TriangulationKernelBytes(int rows, int cols);

}  // namespace wv
