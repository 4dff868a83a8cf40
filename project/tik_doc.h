// The project document: it owns no data of its own but clears, loads and saves the
// application-wide tables of the open project (g_tikInf, g_surveyPoints, g_lines,
// g_blocks, g_calcPoints) through the project file.
#pragma once

#include "platform/document.h"

namespace wv {

// Resets the tables of the open project to an empty project: default conditions, no
// points, lines or blocks, ten free output points named "1" to "10".
void ResetTikData();

class CTikDoc : public CDocument {
public:
    // A project document starts from an empty project.
    CTikDoc();

    // Stores the tables of the open project as version 8, or replaces them from the file.
    // A damaged file throws ArchiveError and leaves the open project exactly as it was.
    void Serialize(CArchive& ar) override;
    // A new project, or an empty project file opened: the tables are reset.
    void DeleteContents() override;
};

}  // namespace wv
