// The calculation state of a document and the resets that throw derived data away when
// an earlier stage is redone.
//
//   0 no mesh depths                 ClearMeshData
//   1 mesh depths, triangulation     depth calculation, mesh-file input
//   2 solver started, no results     calculate command, result loader on a batch marker
//   3 results loaded                 result loader
#pragma once

#include "calc/calc_doc_data.h"

#include <memory>

namespace wv {

class CTydDocData;
class CTydViewData;

enum CalcState { kCalcNoMesh = 0, kCalcDepths = 1, kCalcStarted = 2, kCalcResults = 3 };

// Whether the document's mesh holds wave results (state 3). Before that every result
// value of a sea node is 0: a depth mesh that no run has reached yet, or a run whose
// results are not read in.
bool HasWaveResults(const CTydDocData& doc);

// Deletes the batch input file <base>.DEC; a missing file (or a document without side
// files) is no error.
void DeleteDecFile(CTydDocData& doc);

// Throws away the mesh and everything derived from it: the mesh, the block outlines
// (unless keepBlocks is nonzero), the triangulation edges and triangle tables, the
// depth-check contours; sets state 0 and deletes the batch marker <base>.YNO. Every
// caller calls ClearWaveResults right after it.
void ClearMeshData(CTydDocData& doc, int keepBlocks);

// Throws away the wave results of the view's document: result show flags, offshore wave
// height, node results and ranges, per-triangle result ranges, the view's output-point
// values, the result contour parameters and label sets, and the contour group. The
// result list is asked to refill when it belongs to this view.
void ClearWaveResults(CTydViewData& view);

// The mesh and everything derived from it (what the two clears above throw away, and the
// batch marker), taken out of a document whole and kept, for a command that builds them
// anew and may find no memory to finish: it puts them back, and the document is as it
// was. The document keeps its block outlines (a copy is taken of them); the mesh and the
// rest are moved, so nothing of them is held twice.
class DerivedDataAside {
public:
    explicit DerivedDataAside(CTydViewData& view);
    ~DerivedDataAside();
    DerivedDataAside(const DerivedDataAside&) = delete;
    DerivedDataAside& operator=(const DerivedDataAside&) = delete;

    // Puts everything back in place of what the document holds now, which goes.
    void PutBack();

private:
    struct Held;
    // The document's derived data and what is held, exchanged.
    static void Exchange(CTydViewData& view, Held& held);
    CTydViewData& m_view;
    std::unique_ptr<Held> m_held;
};

}  // namespace wv
