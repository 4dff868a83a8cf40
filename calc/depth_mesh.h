// The depth calculation: water depths at the nodes of a calculation's mesh from the
// terrain of the open project (g_surveyPoints, g_lines, g_blocks), then the
// triangulation of the mesh.
//
// Phases: preparation; land-block outlines and land marking; crossings of the eight
// families of grid lines with the terrain lines; a height per node from the crossings;
// depth = tide level - height (land below 0.0001 m of water); the sea nodes into the
// document's mesh; the triangulation. Each phase reports to the progress window and to
// the timing log "timecheck" in the start folder.
#pragma once

#include "calc/block_outline.h"
#include "calc/calc_view_frame.h"

#include <cstdint>
#include <vector>

namespace wv {

class CTydViewData;

struct DepthMeshOptions {
    enum class Method {
        // Every terrain line scanned for every grid line, every node's crossings sorted
        // anew, every node in a block's box tested with the winding angles: the method as
        // first written, kept as the reference the fast one must match bit for bit.
        Straightforward,
        // Lines indexed by the grid lines they cross, each grid line's crossings sorted
        // once, land marked by scanlines, grid lines and rows spread over threads.
        Fast,
    };
    Method method = Method::Fast;
    int threads = 0;  // for the fast method; 0: one per hardware thread
};

// What the user should hear of, beyond the result code.
struct DepthMeshReport {
    // Blocks that have terrain lines but got no outline because the walk along them went
    // round in a circle or ended inside the area; they are left as sea.
    std::vector<BlockIssue> blockIssues;
};

// Bytes the depth calculation of a cols x rows area holds at the most, at worst every
// node a sea node: each node's index, record and four show flags throughout; the work
// grid of heights until the mesh is made and the triangulation after it; and the worker
// threads of the fast method. (The crossings with the terrain come on top: they grow
// with the terrain lines, not with the area.)
std::uint64_t DepthMeshBytes(int cols, int rows, const DepthMeshOptions& options = DepthMeshOptions());
// The same for a mesh read from a file: the input table (a float a node) in place of the
// work grid, one thread.
std::uint64_t MeshInputBytes(int cols, int rows);

// Computes the mesh depths of the view's document and triangulates the mesh. `frame` is
// the view's coordinate frame, read once at the start. Result 0 when the mesh was
// computed and triangulated; -1 when the user cancelled, when no sea node remains, or
// when the triangulation failed, with the document's mesh and block outlines cleared.
// It shows no message of its own.
int CalcMeshDepth(CTydViewData& view, const CalcViewFrame& frame,
                  const DepthMeshOptions& options = DepthMeshOptions(),
                  DepthMeshReport* report = nullptr);

}  // namespace wv
