#include "calc/calc_state.h"
#include "calcdoc/calcdoc_messages.h"
#include "calcdoc/tyd_doc.h"
#include "core/line_chain.h"
#include "platform/text.h"
#include "platform/ui_service.h"

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
    if (m_calcArea.GetMeshCountX() <= 1 || m_calcArea.GetMeshCountY() <= 1) {
        Ui().MessageBox(docmsg::kSetAreaFirst, docmsg::kDepthCaption, MbButtons::Ok, MbIcon::None);
        return -1;
    }
    if (Ui().MessageBox(docmsg::kDepthStartQuestion, docmsg::kStartCaption, MbButtons::OkCancel,
                        MbIcon::None) != IDOK)
        return -1;

    view.SetMouseMode(0);
    // The block outlines walk terrain lines only.
    UpdatePointLineLinks(kLinksTerrain);

    DepthMeshReport report;
    const int result = CalcMeshDepth(view, frame, options, &report);
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
