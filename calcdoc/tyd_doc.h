// The calculation document: one wave calculation inside a project. Its data (conditions,
// area, block outlines, mesh, triangulation, contours) is CTydDocData; this class adds
// what a document does with it: taking the defaults when it is created, its archives,
// and the commands that drive the calculation engine.
//
// Files of this class: tyd_doc.cpp (construction, resets, project folder),
// tyd_doc_depth.cpp (the depth calculation command), tyd_doc_archive.cpp (the archives).
#pragma once

#include "calc/calc_doc_data.h"
#include "calc/calc_view_frame.h"
#include "calc/depth_mesh.h"

#include <string>
#include <vector>

namespace wv {

class CTydDoc : public CTydDocData {
public:
    // Takes the application-wide defaults of the conditions, the area and the drawing
    // settings; every output point's data frame starts unset.
    CTydDoc();

    void SetProjectFolder(const std::string& folder) { m_strProjectFolder = folder; }
    const std::string& GetProjectFolder() const { return m_strProjectFolder; }

    // The resets of the calculation state (calc/calc_state.h) on this document.
    void DeleteDecFile();
    void ClearMeshData(int keepBlocks);
    void ClearWaveResults(CTydViewData& view);

    // The depth calculation command, driven by `view` (whose document this is) with the
    // view's frame. Refuses without an area of at least 2 x 2 nodes, asks for
    // confirmation, rebuilds the terrain-line links, computes the mesh and, on success,
    // sets calculation state 1 and deletes the batch input file. Marks the document
    // modified whatever happened after the confirmation. Result: that of CalcMeshDepth,
    // or -1 when refused or not confirmed.
    int OnCalcDepth(CTydViewData& view, const CalcViewFrame& frame,
                    const DepthMeshOptions& options = DepthMeshOptions());

    void Serialize(CArchive& ar) override;

    // Archives and the wave-calculation road (tyd_doc_archive.cpp; the commands are in
    // calc_data_writer.h and wave_calc_command.h). Opening finishes a save that died
    // between its two files, then reads <name>.TYD and its side archive <base>.DPT all or
    // nothing; a .DPT whose mesh is not laid out by the .TYD's area is named, and the
    // calculation may open before its mesh (state 0) or not at all. Saving writes both as
    // one set, the side archive first. An empty .TYD opens as a new document.
    bool OnOpenDocument(const std::string& path) override;
    void DeleteContents() override;
    // Orientation code (0 to 3) of the solver input last written for this document
    // (WriteCalcData), which its results come back in; -1 when none was written since the
    // document was opened.
    int m_nRunOrientation = -1;

    std::string m_strProjectFolder;  // folder of the project this calculation belongs to

protected:
    std::vector<SavedFile> FilesToSave(const std::string& path) override;
};

}  // namespace wv
