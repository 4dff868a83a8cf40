// Calculations prepared the way the main program prepares them for the batch program
// (the batch-data command on a calculation document with depths), and what a run of the
// main program makes of the results afterwards.
#pragma once

#include "batch/cal_counts.h"
#include "calc/calc_doc_data.h"
#include "calc/cal_threads.h"
#include "calc/digital_lattice.h"
#include "calc/result_loader.h"
#include "calcdoc/calc_data_writer.h"
#include "calcdoc/wave_calc_command.h"
#include "core/sansyutu.h"
#include "core/tik_inf.h"
#include "platform/text.h"
#include "project/tik_doc.h"
#include "solver/tydsolv.h"
#include "tests/calcdoc/calcdoc_test_util.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace wv::batchtest {

// Small enough for quick runs, with every part of the march.
inline void SmallWaves(CTydDoc& doc, int dirDiv = 16, int freqDiv = 3) {
    doc.m_info.m_nDirMode = 0;
    doc.m_info.m_nDir16 = 0;  // from the north
    doc.m_info.m_dH0 = 1.5;
    doc.m_info.m_dT0 = 7.0;
    doc.m_info.m_nDirDiv = dirDiv;
    doc.m_info.m_nFreqDiv = freqDiv;
    doc.m_info.m_bBreaking = 1;
    doc.m_info.m_bFreeRotation = 0;
}

inline CalcViewFrame FrameOf(const CTydDoc& doc) {
    CalcViewFrame frame;
    frame.angle = CalcViewAngle(doc);
    frame.originX = doc.m_calcArea.GetOrigin().m_dX;
    frame.originY = doc.m_calcArea.GetOrigin().m_dY;
    return frame;
}

// A plane beach, `rows` x `cols` nodes 10 m apart: the bed rises from 12 m at the top row
// to a dry strip along the bottom row; waves from the north. Written by the batch-data
// command. `remarkUtf8` becomes the title of the batch input.
inline void PreparePlaneBeach(const std::string& name, int cols, int rows, const std::string& remarkUtf8,
                              int dirDiv = 16) {
    g_tikInf.Init();
    CTydDoc doc;
    roadtest::OpenNew(doc, name);
    std::vector<double> depths;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            depths.push_back(r == 0 ? std::nan("") : 12.0 * r / (rows - 1));
    roadtest::SetMesh(doc, rows, cols, depths);
    CTydViewData view(doc);
    roadtest::Triangulate(view);
    SmallWaves(doc, dirDiv);
    doc.m_zmn.m_strRemark = Utf8ToCp932(remarkUtf8);
    ASSERT_GE(OnMakeContinuousData(doc, view, FrameOf(doc)), 0);
}

// The square over the example bay, 100 m apart (as the road test takes it), with its
// depths computed from the project's terrain. The project stays open (output points).
inline void MakeBayCalc(CTydDoc& doc, const std::string& name, const std::string& remarkUtf8) {
    roadtest::OpenNew(doc, name);
    doc.m_calcArea.SetOrigin(0.0, 200.0);
    doc.m_calcArea.SetMeshSize(100.0);
    doc.m_calcArea.SetMeshCountX(25);
    doc.m_calcArea.SetMeshCountY(25);
    SmallWaves(doc, 18, 3);
    doc.m_zmn.m_strRemark = Utf8ToCp932(remarkUtf8);
    CTydViewData view(doc);
    SetCalcProgressFactory([] { return std::unique_ptr<CCalcProgressDlg>(new CTestCalcProgressDlg()); });
    ASSERT_EQ(doc.OnCalcDepth(view, FrameOf(doc)), 0);
    SetCalcProgressFactory(nullptr);
}

inline void PrepareBay(const std::string& name, const std::string& remarkUtf8) {
    CTydDoc doc;
    MakeBayCalc(doc, name, remarkUtf8);
    CTydViewData view(doc);
    ASSERT_GE(OnMakeContinuousData(doc, view, FrameOf(doc)), 0);
}

// The solver run directly on a copy of a solver input, in a folder of its own: its
// result file.
inline std::string DirectRun(const std::string& calPath) {
    const std::string folder = roadtest::Scratch() + "direct/";
    std::filesystem::create_directories(folder);
    const std::string title = FileTitleOf(calPath);
    roadtest::WriteAll(folder + title + ".CAL", roadtest::ReadAll(calPath));
    CalCounts n;
    EXPECT_TRUE(ReadCalCounts(calPath, n));
    std::string work = folder;
    work.pop_back();
    CalcRequest request{folder.c_str(), static_cast<int32_t>(folder.size()), title.c_str(),
                        static_cast<int32_t>(title.size()), work.c_str(), static_cast<int32_t>(work.size()),
                        n.dirDiv, n.freqDiv, n.meshX, n.meshY, 1};
    EXPECT_EQ(TYDSOLV(&request), 0);
    return roadtest::ReadAll(folder + title + ".KKA");
}

// The calculation opened again as the main program opens it, its results loaded, and the
// significant wave height and direction at the project's output points.
struct LoadedPoints {
    int state = -1;
    std::vector<double> height;
    std::vector<float> direction;
};

inline LoadedPoints PointsOf(CTydDoc& doc, CTydViewData& view, const CalcViewFrame& frame) {
    LoadedPoints out;
    out.state = doc.m_info.m_nCalcState;
    doc.m_zmn.m_nValueType = 0;
    UpdateCalcPointResults(view, frame.angle);
    out.height = view.m_pCalcPtValue;
    out.direction = view.m_pCalcPtDir;
    return out;
}

inline LoadedPoints LoadAndPoints(const std::string& tydPath) {
    CTydDoc doc;
    EXPECT_TRUE(doc.OnOpenDocument(tydPath));
    CTydViewData view(doc);
    const CalcViewFrame frame = FrameOf(doc);
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
    return PointsOf(doc, view, frame);
}

// The same bay calculated interactively: the calculate command, its thread, the results.
// With a GUI running, the solver thread's window goes through the GUI thread: `pump`
// works off its events while the test waits.
inline LoadedPoints InteractiveBay(const std::string& name, const std::function<void()>& pump) {
    CTydDoc doc;
    MakeBayCalc(doc, name, "interactive");
    CTydViewData view(doc);
    const CalcViewFrame frame = FrameOf(doc);
    CWaveCalcSlot slot;
    EXPECT_EQ(OnWaveCalc(doc, view, frame, slot), 0);
    while (slot.GetExitCode() == CCalThreads::kStillActive) pump();
    EXPECT_EQ(slot.GetExitCode(), 0);
    EXPECT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
    return PointsOf(doc, view, frame);
}

inline int PointsInUse() {
    int n = 0;
    for (int i = 0; i < g_calcPoints.GetSize(); ++i) n += g_calcPoints.GetAt(i).GetUse() != 0;
    return n;
}

}  // namespace wv::batchtest
