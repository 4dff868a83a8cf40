#include "project/tik_doc.h"

#include "project/tik_archive.h"

namespace wv {

void ResetTikData() {
    g_tikInf.Init();
    g_surveyPoints.RemoveAll();
    g_lines.RemoveAll();
    g_blocks.RemoveAll();
    g_calcPoints.Reset();
}

CTikDoc::CTikDoc() { ResetTikData(); }

void CTikDoc::DeleteContents() { ResetTikData(); }

void CTikDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        WriteTikArchive(ar, g_tikInf, g_surveyPoints, g_lines, g_blocks, g_calcPoints);
        return;
    }
    // Load into fresh tables and swap them in only when the whole file has been read,
    // so a damaged file leaves the open project as it was.
    TikTables fresh;
    ReadTikArchive(ar, fresh);
    SwapWithOpenProject(fresh);
}

}  // namespace wv
