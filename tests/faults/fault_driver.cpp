// The program the fault suite starts, kills and fails: each command does one thing the
// real programs do, through the real engine classes, in a process of its own, so that a
// SIGKILL, WAVORA_TEST_KILL_AT or WAVORA_TEST_FAULTS stops it for real.
//
//   project-save TIK POINTS VARIANT   the bay project with POINTS more soundings (the
//                                     variant sets one of their depths), saved as TIK
//   pair-save TYD ROUNDS FIRST        two calculations of the bay, a 20 m mesh (a) and a
//                                     25 m mesh (b), depths computed, then saved in turn
//                                     under TYD, ROUNDS saves starting with FIRST
//   prepare-run TYD MESH              a calculation of the bay whose wave calculation ran
//                                     to its end (the calculate command), saved in state 2
//   prepare-batch TYD MESH            a calculation of the bay prepared for the batch
//                                     program (the batch-data command), saved in state 1
//   run TYD                           the solver's entry on TYD's solver input, batch mode
//   calc TYD                          the calculate command on TYD, waiting for its run
//   load TYD                          the results of TYD loaded, as any command that needs
//                                     them does
//   batch DEC                         the batch program's queue: Open, Start and its steps
//
// The calculation commands open the bay project first, as the main program has it open.
// Nothing goes through the file layer before the operation a command is started for, so
// the counts of WAVORA_TEST_KILL_AT and WAVORA_TEST_FAULTS are counts within it.
//
// What the suite reads goes to standard output, one line each, written unbuffered so that
// a line is in the pipe before the process can be killed: "begin" just before the
// operation, "save N a|b" and "saved N" around each save of pair-save, "end" after it,
// "message<TAB>caption<TAB>text" for every message (line ends as "\n"), and "result ..."
// lines. Exit 0: done; 3: refused or failed (with a message); 2: bad arguments.
//
// With FAULT_DRIVER_WAIT set, calc and batch say "ready" where their run is decided on
// (calc at the start question, batch before Start) and wait there for a byte on standard
// input, so that the suite can let two of them go at the same moment.
#include "batch/batch_queue.h"
#include "batch/cal_counts.h"
#include "calc/calc_doc_data.h"
#include "calc/calc_run_files.h"
#include "calc/calc_view_frame.h"
#include "calc/result_loader.h"
#include "calcdoc/calc_data_writer.h"
#include "calcdoc/calcdoc_messages.h"
#include "calcdoc/tyd_doc.h"
#include "calcdoc/wave_calc_command.h"
#include "core/calc_progress.h"
#include "core/sokuten.h"
#include "platform/files.h"
#include "platform/ui_service.h"
#include "project/tik_doc.h"
#include "solver/tydsolv.h"
#include "support/file_faults.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace wv::faultdriver {
namespace {

void Say(const std::string& line) {
    const std::string out = line + "\n";
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, out.data() + done, out.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += "\\n";
        else if (c == '\t') out += ' ';
        else out += c;
    }
    return out;
}

bool g_waitForGo = false;

// Says "ready" and waits for the suite's go, when it asked for that.
void ReadyThenWaitForGo() {
    if (!g_waitForGo) return;
    Say("ready");
    char go;
    while (::read(STDIN_FILENO, &go, 1) < 0 && errno == EINTR) {
    }
}

// Every message on standard output; questions take their default answer (OK, Yes), as
// the user who goes on would.
class LoggingUi : public UiService {
public:
    int MessageBox(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon) override {
        Say("message\t" + OneLine(caption) + "\t" + OneLine(text));
        // The calculate command decides on its run right after its start question.
        if (text == docmsg::kWaveStartQuestion) ReadyThenWaitForGo();
        return DefaultAnswer(buttons);
    }
};

// The calculations of the suite: small spectra, so that a run takes a moment, with waves
// from the north.
void SuiteWaves(CTydDoc& doc) {
    CTyd_Inf& info = doc.m_info;
    info.m_nDirMode = 0;
    info.m_nDir16 = 0;
    info.m_dH0 = 2.0;
    info.m_dT0 = 8.0;
    info.m_nDirDiv = 18;
    info.m_nFreqDiv = 3;
    info.m_bBreaking = 0;
    info.m_bFreeRotation = 0;
}

std::string BayProject() { return std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY/BAY.TIK"; }

bool OpenBay(CTikDoc& project) { return project.OnOpenDocument(BayProject()); }

CalcViewFrame FrameOf(const CTydDoc& doc) {
    CalcViewFrame frame;
    frame.angle = CalcViewAngle(doc);
    frame.originX = doc.m_calcArea.GetOrigin().m_dX;
    frame.originY = doc.m_calcArea.GetOrigin().m_dY;
    return frame;
}

// The bay's survey reaches from (-100, -100) to (2500, 2600): a new calculation of it
// gets that extent on whole mesh spacings (131 x 136 nodes at 20 m, 105 x 109 at 25 m).
void AreaOverSurvey(CTydDoc& doc, double mesh) {
    doc.m_calcArea.SetOrigin(-100.0, -100.0);
    doc.m_calcArea.SetMeshSize(mesh);
    doc.m_calcArea.SetMeshCountX(static_cast<int>(std::ceil(2600.0 / mesh)) + 1);
    doc.m_calcArea.SetMeshCountY(static_cast<int>(std::ceil(2700.0 / mesh)) + 1);
}

// A new calculation of the open project over the survey at `mesh` metres, its depths
// computed (state 1). Its path is set, nothing is written.
bool NewBayCalc(CTydDoc& doc, const std::string& path, double mesh) {
    doc.OnNewDocument();
    doc.SetPathName(path);
    doc.SetProjectFolder(FolderOf(BayProject()));
    AreaOverSurvey(doc, mesh);
    SuiteWaves(doc);
    CTydViewData view(doc);
    const CalcViewFrame frame = FrameOf(doc);
    doc.m_zmn.m_dRotation = frame.angle;
    return doc.OnCalcDepth(view, frame) == 0;
}

int Usage() {
    std::fputs("usage: fault_driver project-save TIK POINTS VARIANT | pair-save TYD ROUNDS a|b |\n"
               "       prepare-run TYD MESH | prepare-batch TYD MESH | run TYD | calc TYD |\n"
               "       load TYD | batch DEC\n",
               stderr);
    return 2;
}

int ProjectSave(const std::string& tik, int points, int variant) {
    CTikDoc project;
    if (!OpenBay(project)) return 3;
    // Soundings on a fine grid over the open sea of the bay; each is a survey point of
    // its own, as a bathymetry import leaves them.
    const int columns = 1000;
    int slot = 0, first = -1;
    for (int i = 0; i < points; ++i) {
        const double x = 10.0 + 2.4 * (i % columns);
        const double y = 1000.0 + 1.6 * (i / columns) + 0.001 * (i % 7);
        const double depth = -5.0 - 25.0 * (y - 1000.0) / 1600.0;
        slot = g_surveyPoints.AddFromWithDepth(slot, x, y, depth, 0);
        if (slot < 0) return 3;
        if (first < 0) first = slot;
    }
    if (first >= 0) {
        CSokutenZokusei p = g_surveyPoints.GetAt(first);
        p.SetDepth(-10.0 - 0.5 * variant);
        g_surveyPoints.SetAt(first, p);
    }
    Say("begin");
    const bool ok = project.OnSaveDocument(tik);
    Say("end");
    return ok ? 0 : 3;
}

int PairSave(const std::string& tyd, int rounds, char first) {
    CTikDoc project;
    if (!OpenBay(project)) return 3;
    CTydDoc a, b;
    if (!NewBayCalc(a, tyd, 20.0) || !NewBayCalc(b, tyd, 25.0)) return 3;
    Say("begin");
    for (int r = 0; r < rounds; ++r) {
        const bool isA = ((first == 'a') + r) % 2 == 1;
        Say("save " + std::to_string(r + 1) + (isA ? " a" : " b"));
        if (!(isA ? a : b).OnSaveDocument(tyd)) {
            Say("end");
            return 3;
        }
        Say("saved " + std::to_string(r + 1));
    }
    Say("end");
    return 0;
}

int PrepareRun(const std::string& tyd, double mesh) {
    CTikDoc project;
    if (!OpenBay(project)) return 3;
    CTydDoc doc;
    if (!NewBayCalc(doc, tyd, mesh)) return 3;
    CTydViewData view(doc);
    CWaveCalcSlot slot;
    if (OnWaveCalc(doc, view, FrameOf(doc), slot) != 0) return 3;
    slot.Wait();
    if (slot.GetExitCode() != 0) return 3;
    // The user saves the calculation while its results wait to be loaded.
    return doc.OnSaveDocument(tyd) ? 0 : 3;
}

int PrepareBatch(const std::string& tyd, double mesh) {
    CTikDoc project;
    if (!OpenBay(project)) return 3;
    CTydDoc doc;
    if (!NewBayCalc(doc, tyd, mesh)) return 3;
    CTydViewData view(doc);
    return OnMakeContinuousData(doc, view, FrameOf(doc)) >= 0 ? 0 : 3;
}

int Run(const std::string& tyd) {
    const CalcRunName name = CalcRunNameOf(std::filesystem::absolute(tyd).string());
    CalCounts counts;
    if (!ReadCalCounts(name.folder + name.title + ".CAL", counts)) return 3;
    std::string work = StartFolder();
    if (work.size() > 1 && work.back() == '/') work.pop_back();
    const CalcRequest request{name.folder.c_str(), static_cast<int32_t>(name.folder.size()),
                              name.title.c_str(),  static_cast<int32_t>(name.title.size()),
                              work.c_str(),        static_cast<int32_t>(work.size()),
                              counts.dirDiv,       counts.freqDiv,
                              counts.meshX,        counts.meshY,
                              1};
    Say("begin");
    // Every caller deletes the result file of an earlier run first.
    DeleteFileSilently(name.folder + name.title + ".KKA");
    CalcRequest copy = request;
    const int result = TYDSOLV(&copy);
    Say("end");
    Say("result " + std::to_string(result));
    return result == 0 ? 0 : 3;
}

bool OpenCalc(CTydDoc& doc, const std::string& tyd) {
    if (doc.OnOpenDocument(std::filesystem::absolute(tyd).string())) return true;
    Say("result open-refused");
    return false;
}

int Calc(const std::string& tyd) {
    CTikDoc project;
    if (!OpenBay(project)) return 3;
    CTydDoc doc;
    if (!OpenCalc(doc, tyd)) return 3;
    CTydViewData view(doc);
    CWaveCalcSlot slot;
    Say("begin");
    if (OnWaveCalc(doc, view, FrameOf(doc), slot) != 0) {
        Say("end");
        Say("result refused");
        return 3;
    }
    slot.Wait();
    Say("end");
    Say("result " + std::to_string(slot.GetExitCode()));
    return slot.GetExitCode() == 0 ? 0 : 3;
}

int Load(const std::string& tyd) {
    CTikDoc project;
    if (!OpenBay(project)) return 3;
    CTydDoc doc;
    if (!OpenCalc(doc, tyd)) return 3;
    CTydViewData view(doc);
    Say("begin");
    const int result = LoadCalcResults(doc, view, FrameOf(doc));
    Say("end");
    Say("result " + std::to_string(result) + " state " + std::to_string(doc.m_info.m_nCalcState));
    return 0;
}

class RowLog : public BatchRowSink {
public:
    void InsertRow(int row, const std::string& file, const std::string&, const std::string& state) override {
        Say("row " + std::to_string(row) + " " + file + " " + state);
    }
    void SetRowState(int row, const std::string& state) override {
        Say("row " + std::to_string(row) + " " + state);
        m_last = state;
    }
    void DeleteRow(int) override {}
    void DeleteAllRows() override {}
    std::string m_last;
};

int Batch(const std::string& dec) {
    RowLog rows;
    CBatchQueue queue(rows, [](CalcRequest* r) { return TYDSOLV(r); });
    if (queue.OnBatchOpen({std::filesystem::absolute(dec).string()}) != 1) return 3;
    Say("begin");
    ReadyThenWaitForGo();
    queue.OnBatchStart();
    if (!queue.IsBatchRunning()) {
        Say("end");
        Say("result start-refused");
        return 3;
    }
    // The program steps from a zero-time timer, and after 2 s when another program's
    // run shows; nothing else runs in between.
    int waits = 0;
    for (;;) {
        const BatchStep step = queue.RunNextBatchEntry();
        if (step == BatchStep::Off || step == BatchStep::Refused) break;
        if (step == BatchStep::Retry) {
            if (++waits > 30) break;
            ::usleep(CBatchQueue::kBusyRetryMs * 1000);
        }
    }
    Say("end");
    Say("result " + rows.m_last);
    return queue.GetEntry(0).state == 1 ? 0 : 3;
}

int Main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const std::string command = argv[1];
    const std::string file = argv[2];
    SetStartFolder(std::filesystem::current_path().string());
    faults::ArmFromEnvironment();
    g_waitForGo = std::getenv("FAULT_DRIVER_WAIT") != nullptr;
    LoggingUi ui;
    SetUi(&ui);
    SetCalcProgressFactory([] { return std::unique_ptr<CCalcProgressDlg>(new CTestCalcProgressDlg()); });
    int result = 2;
    if (command == "project-save" && argc == 5) result = ProjectSave(file, std::atoi(argv[3]), std::atoi(argv[4]));
    else if (command == "pair-save" && argc == 5) result = PairSave(file, std::atoi(argv[3]), argv[4][0]);
    else if (command == "prepare-run" && argc == 4) result = PrepareRun(file, std::atof(argv[3]));
    else if (command == "prepare-batch" && argc == 4) result = PrepareBatch(file, std::atof(argv[3]));
    else if (command == "run" && argc == 3) result = Run(file);
    else if (command == "calc" && argc == 3) result = Calc(file);
    else if (command == "load" && argc == 3) result = Load(file);
    else if (command == "batch" && argc == 3) result = Batch(file);
    else return Usage();
    SetUi(nullptr);
    return result;
}

}  // namespace
}  // namespace wv::faultdriver

int main(int argc, char** argv) {
    const int result = wv::faultdriver::Main(argc, argv);
    // The tables of a large project take a while to free; the suite measures the
    // operation, not the exit.
    std::fflush(nullptr);
    std::_Exit(result);
}
