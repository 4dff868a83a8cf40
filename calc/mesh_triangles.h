// Triangulation of a calculation's mesh: the edge table CTriLine and the triangle
// tables of the document, which the contour tracers, the contour picker and the result
// loader work on.
#pragma once

#include <cstdint>

namespace wv {

class CTydViewData;
class ParallelRunner;

// Triangulates the sea nodes of the document's mesh under its own progress window
// (caption "水深計算中" for flag 0, the depth calculation; "水深入力中" for flag 1, the
// mesh-file input). The caller has emptied the tables (ClearMeshData). Result 0 when
// there is at least one edge and one triangle; -1 when there is none or the user
// cancelled, and the caller clears the mesh again. With a runner the work is spread over
// its threads, with the same result.
int BuildMeshTriangles(CTydViewData& view, int flag, ParallelRunner* runner = nullptr);

// The most BuildMeshTriangles holds at once beyond the mesh for a cols x rows mesh, at
// worst every node a sea node: the kernel's tables, then the document's edge and
// triangle tables beside them.
std::uint64_t MeshTriangleBytes(int cols, int rows);

}  // namespace wv
