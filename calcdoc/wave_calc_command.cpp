#include "calcdoc/wave_calc_command.h"

#include "calc/calc_messages.h"
#include "calc/calc_run_files.h"
#include "calc/calc_state.h"
#include "calc/result_loader.h"
#include "calcdoc/calc_data_writer.h"
#include "calcdoc/calcdoc_messages.h"
#include "calcdoc/tyd_doc.h"
#include "platform/files.h"
#include "platform/ui_service.h"

namespace wv {

namespace {

void RefuseRunning(const std::string& title) {
    Ui().MessageBox(std::string(docmsg::kRunningHead) + title + docmsg::kRunningTail,
                    docmsg::kWaveCalcCaption, MbButtons::Ok, MbIcon::None);
}

// The working folder of the solver: the start folder without its closing '/'.
std::string WorkFolder() {
    std::string folder = StartFolder();
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

CWaveCalcSlot::~CWaveCalcSlot() {
    if (m_pCalcThreads && m_pCalcThreads->IsRunning())
        CCalThreads::KeepUntilFinished(std::move(m_pCalcThreads));
}

int OnWaveCalc(CTydDoc& doc, CTydViewData& view, const CalcViewFrame& frame, CWaveCalcSlot& slot) {
    // The solver keeps its run in static storage: while it runs, nothing of a new run
    // is written, whatever "CALC.DAT" says at this moment.
    std::string running;
    if (CCalThreads::IsAnyRunning(nullptr, &running)) {
        RefuseRunning(running);
        return -1;
    }

    const int code = WriteCalcData(doc, view, frame, 0);
    if (code < 0) return -1;
    if (Ui().MessageBox(docmsg::kWaveStartQuestion, docmsg::kStartCaption, MbButtons::OkCancel,
                        MbIcon::None) != IDOK)
        return -1;

    // The check and the run it allows happen under one held lock: a program that starts
    // a run at the same moment is refused here, before anything of this run is changed.
    const CalcRunName name = CalcRunNameOf(doc.GetPathName());
    RunClaim claim;
    std::string why;
    switch (claim.Take(name.title, &running, &why)) {
        case BusyFlag::Idle: break;
        case BusyFlag::Busy: RefuseRunning(running); return -1;
        case BusyFlag::Missing:
            Ui().MessageBox(docmsg::kCannotOpenCalcDat, docmsg::kWaveCalcCaption, MbButtons::Ok, MbIcon::None);
            return -1;
        case BusyFlag::Unwritable:
            Ui().MessageBox(std::string(calcmsg::kCalcDatWriteFailed) + "\n(" + why + ")", docmsg::kWaveCalcCaption,
                            MbButtons::Ok, MbIcon::None);
            return -1;
    }

    ClearWaveResults(view);
    view.RedrawAll();
    doc.m_mesh.SetWaveHeight(doc.m_info.m_dH0);
    doc.m_info.m_nCalcState = kCalcStarted;
    doc.SetModifiedFlag(true);

    // The previous holder has ended (no run of this process goes on).
    slot.m_pCalcThreads.reset();

    const SolverGrid grid = SolverGridOf(code, doc.m_mesh.GetMeshCountY(), doc.m_mesh.GetMeshCountX());
    slot.m_pCalcThreads = std::make_unique<CCalThreads>(name.folder, name.title, WorkFolder(),
                                                        doc.m_info.m_nDirDiv, doc.m_info.m_nFreqDiv,
                                                        grid.nx, grid.ny, slot.m_entry);
    slot.m_pCalcThreads->HoldClaim(std::move(claim));
    // A result file of an earlier run must not pass for this run's.
    DeleteFileSilently(name.folder + name.title + ".KKA");

    if (slot.m_pCalcThreads->StartCalc() != 0) {
        std::string other;
        CCalThreads::IsAnyRunning(nullptr, &other);
        RefuseRunning(other);
        return -1;
    }
    return 0;
}

int LoadCalcResults(CTydDoc& doc, CTydViewData& view, const CalcViewFrame& frame) {
    ResultLoadRun run;
    run.orientation = doc.m_nRunOrientation;
    run.viewAngle = frame.angle;
    return LoadCalcResults(view, run);
}

}  // namespace wv
