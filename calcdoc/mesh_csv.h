// The mesh and result CSV files beside a calculation document: <base>_M<n>.CSV carries
// the node depths (so depths prepared elsewhere can replace the depth calculation),
// <base>_H<n>.CSV one result value per node. A mesh wider than 250 columns may be cut
// into files of 250 columns each; every file holds all rows, top row first.
//
// The three commands of the calculation view:
//   OnMeshFileOut(doc)              mesh file output (does nothing without a mesh)
//   OnResultFileOut(doc, view, frm) result file output (loads the results first)
//   OnMeshFileIn(view)              mesh file input; on a result >= 0 the view fits the
//                                   whole drawing into its window
//
// A set of files is written under temporary names and takes the place of the old one
// only when every file of it is complete, so a failed output leaves the files that were
// there. The input reads whole lines, however long, and refuses counts above
// kCsvMaxCount or a mesh the memory cannot hold before it changes anything.
#pragma once

#include "calc/calc_view_frame.h"

#include <cstdint>
#include <string>

namespace wv {

class CTydDoc;
class CTydDocData;
class CTydViewData;

inline constexpr int kCsvColumnsPerFile = 250;
inline constexpr int kCsvMaxCount = 99999;

// <base> + "_M%d.CSV" / "_H%d.CSV", <base> being the document path before the last '.'
// of its name. Empty for a path whose name has no '.' (such a document has no side files).
std::string MeshCsvFileName(const std::string& docPath, int number);
std::string ResultCsvFileName(const std::string& docPath, int number);

// The number of files a set of `columns` columns is cut into.
int CsvFileCount(int columns);

// Writes the mesh files of the document: split into CsvFileCount files, or one file of
// every column. The old mesh files beyond the new set are deleted once the new set is in
// place. Shows the failure message itself. Result: the number of files written, -1 when
// nothing was written.
int WriteMeshCsvFiles(const CTydDocData& doc, bool split);
// The same for the result files of the document's value kind with the offshore height
// h0; no other files are touched.
int WriteResultCsvFiles(const CTydDocData& doc, double h0, bool split);

// The commands. Both outputs ask whether to split a mesh wider than 250 columns (Cancel
// ends the command). Results as the writers', -1 when the command ended early.
int OnMeshFileOut(CTydDocData& doc);
int OnResultFileOut(CTydDoc& doc, CTydViewData& view, const CalcViewFrame& frame);

// Mesh input from <base>_M1.CSV (and the rest of a split set) under a progress window
// titled "水深入力中". Results:
//    0 the mesh was replaced: calculation state 1, results cleared, <base>.DEC deleted;
//    1 the mesh was dropped (cancelled while it was built, or no triangulation): state 0;
//   -1 nothing changed (no file, bad header, refused size, cancelled while reading,
//      nothing but land).
// The document is marked modified whenever it changed.
int OnMeshFileIn(CTydViewData& view);

}  // namespace wv
