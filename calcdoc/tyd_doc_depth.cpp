#include "calc/calc_state.h"
#include "calc/depth_mesh.h"
#include "calcdoc/calcdoc_messages.h"
#include "calcdoc/tyd_doc.h"
#include "core/line_chain.h"
#include "platform/large_memory.h"
#include "platform/text.h"
#include "platform/ui_service.h"

#include <climits>
#include <cstdint>
#include <new>

namespace wv {

namespace {

// Tells the user which blocks the calculation had to leave as sea.
void ReportSkippedBlocks(const std::vector<BlockIssue>& issues) {
    if (issues.empty()) return;
    std::string text = docmsg::kBlocksSkippedHead;
    for (const BlockIssue& issue : issues) {
        const char* line = issue.status == OutlineStatus::EndInside ? docmsg::kBlockEndInside
                                                                    : docmsg::kBlockWalkLoops;
        text += "\n";
        text += Sprintf(line, issue.block + 1);
    }
    Ui().MessageBox(text, docmsg::kDepthCaption, MbButtons::Ok, MbIcon::Warning);
}

}  // namespace

int CTydDoc::OnCalcDepth(CTydViewData& view, const CalcViewFrame& frame,
                         const DepthMeshOptions& options) {
    const int cols = m_calcArea.GetMeshCountX(), rows = m_calcArea.GetMeshCountY();
    if (cols <= 1 || rows <= 1) {
        Ui().MessageBox(docmsg::kSetAreaFirst, docmsg::kDepthCaption, MbButtons::Ok, MbIcon::None);
        return -1;
    }
    // The area is the user's to make as large as they like, but a mesh the memory cannot
    // hold would take the machine's memory and then end the program half way, with the
    // old mesh already gone: it is refused before anything changes. Sea nodes are
    // numbered with ints, whatever the machine holds.
    if (static_cast<std::uint64_t>(cols) * static_cast<std::uint64_t>(rows) > INT_MAX ||
        DepthMeshBytes(cols, rows, options) > MemoryRoom()) {
        Ui().MessageBox(docmsg::kAreaTooLargeForMemory, docmsg::kDepthCaption, MbButtons::Ok, MbIcon::Warning);
        return -1;
    }
    if (Ui().MessageBox(docmsg::kDepthStartQuestion, docmsg::kStartCaption, MbButtons::OkCancel,
                        MbIcon::None) != IDOK)
        return -1;

    view.SetMouseMode(0);
    // The block outlines walk terrain lines only.
    UpdatePointLineLinks(kLinksTerrain);

    DepthMeshReport report;
    int result = -1;
    {
        // Memory the measure above could not foresee (the crossings with the terrain,
        // another program's growth) ends the command as if it had been refused.
        DerivedDataAside old(view);
        try {
            result = CalcMeshDepth(view, frame, options, &report);
        } catch (const std::bad_alloc&) {
            old.PutBack();
            view.RedrawAll();
            Ui().MessageBox(docmsg::kAreaTooLargeForMemory, docmsg::kDepthCaption, MbButtons::Ok, MbIcon::Warning);
            return -1;
        }
    }
    if (result == 0) {
        m_info.m_nCalcState = kCalcDepths;
        DeleteDecFile();
        ReportSkippedBlocks(report.blockIssues);
    }
    SetModifiedFlag(true);
    view.RedrawAll();
    return result;
}

}  // namespace wv
