// The solver input and batch input of a tiny calculation, against lines written by hand
// from the record formats (tests/data/calcdoc/make_golden_cal.py), and the refusals of
// the writer.
#include "calc/result_loader.h"
#include "calcdoc/calc_data_writer.h"
#include "calcdoc/calcdoc_messages.h"
#include "calcdoc_test_util.h"
#include "core/tik_inf.h"
#include "platform/text.h"

#include <gtest/gtest.h>
#include "support/lock_holder.h"

namespace wv {
namespace {

using roadtest::ReadAll;

class CalcDataWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        roadtest::UseScratchStartFolder();
        g_tikInf.Init();
        roadtest::OpenNew(doc, "TINY.TYD");
        roadtest::SetMesh(doc, 2, 3, roadtest::TinyDepths());
        CTyd_Inf& w = doc.m_info;
        w.m_bBreaking = 1;
        w.m_nDirDiv = 9;
        w.m_dSmax = 10.9;
        w.m_dSpreadRight = 80.0;
        w.m_dSpreadLeft = 70.0;
        w.m_nFreqDiv = 3;
        w.m_dT0 = 8.0;
        w.m_dH0 = 2.5;
        w.m_dTide = 1.25;
        w.m_nDirMode = 1;
        w.m_bFreeRotation = 1;
        doc.m_zmn.m_strRemark = Utf8ToCp932("湾の試算");
        doc.m_zmn.m_dRotation = 0.0;
    }

    std::string Path(const char* ext) const { return doc.SideFile(ext); }
    // Nothing of a refused write reaches the disk, and the document is not saved.
    static void ExpectNothingWritten(const CTydDoc& d) {
        EXPECT_FALSE(FileExists(d.SideFile("CAL")));
        EXPECT_FALSE(FileExists(d.SideFile("DEC")));
        EXPECT_EQ(FileSize(d.GetPathName()), 0);
    }

    ScriptedUi ui;
    ScopedUi scoped{&ui};
    CTydDoc doc;
    CTydViewData view{doc};
    CalcViewFrame frame;  // angle 0
};

// The direction angle alone picks the side the waves enter through; the depths come in
// that side's march order and the node counts in its order.
TEST_F(CalcDataWriterTest, EachOrientationMatchesTheHandWrittenFiles) {
    const double angles[4] = {100.0, 190.0, 280.0, 350.0};
    for (int code = 0; code < 4; ++code) {
        SCOPED_TRACE(code);
        doc.m_info.m_dDirAngle = angles[code];
        view.SetMouseMode(7);
        ASSERT_EQ(WriteCalcData(doc, view, frame, 0), code);
        const std::string n = std::to_string(code);
        EXPECT_EQ(ReadAll(Path("CAL")), ReadAll(roadtest::Golden("tiny_code" + n + ".CAL")));
        EXPECT_EQ(ReadAll(Path("DEC")), ReadAll(roadtest::Golden("tiny_code" + n + "_batch0.DEC")));
        EXPECT_EQ(doc.m_nRunOrientation, code);
        EXPECT_EQ(view.GetMouseMode(), 0);
        // The offshore height is in the mesh and the document is saved with its side archive.
        EXPECT_EQ(doc.m_mesh.GetWaveHeight(), 2.5);
        EXPECT_GT(FileSize(doc.GetPathName()), 0);
        EXPECT_TRUE(FileExists(Path("DPT")));
        // The state is the writer's to require, not to change.
        EXPECT_EQ(doc.m_info.m_nCalcState, kCalcDepths);
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CalcDataWriterTest, BatchDataCommandWritesTheBatchFlag) {
    doc.m_info.m_dDirAngle = 190.0;
    ASSERT_EQ(OnMakeContinuousData(doc, view, frame), 1);
    EXPECT_EQ(ReadAll(Path("CAL")), ReadAll(roadtest::Golden("tiny_code1.CAL")));
    EXPECT_EQ(ReadAll(Path("DEC")), ReadAll(roadtest::Golden("tiny_code1_batch1.DEC")));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, docmsg::kDecWritten);
    EXPECT_EQ(ui.Messages()[0].caption, docmsg::kCalCaption);
}

// With automatic rotation the view turns the waves to the top, whatever their direction.
TEST_F(CalcDataWriterTest, AutomaticRotationAlwaysMarchesFromTheTop) {
    doc.m_info.m_bFreeRotation = 0;
    for (double angle : {0.0, 77.5, 190.0, 300.0}) {
        doc.m_info.m_dDirAngle = angle;
        CalcViewFrame turned;
        turned.angle = CalcViewAngle(doc);
        EXPECT_EQ(WriteCalcData(doc, view, turned, 0), 0) << angle;
        LineReader cal(ReadAll(Path("CAL")));
        std::string line;
        for (int i = 0; i < 13; ++i) cal.Next(line);
        EXPECT_EQ(line, "       0.0     1.250") << angle;
    }
}

struct Refusal {
    const char* name;
    void (*spoil)(CTydDoc&);
    const char* text;
    const char* caption;
};

TEST_F(CalcDataWriterTest, RefusesWhatTheSolverCannotTakeBeforeWritingAnything) {
    const Refusal cases[] = {
        {"no depths", [](CTydDoc& d) { d.m_info.m_nCalcState = kCalcNoMesh; }, docmsg::kNeedDepths,
         docmsg::kDepthCaption},
        {"state without a mesh", [](CTydDoc& d) { ClearMeshData(d, 0); d.m_info.m_nCalcState = kCalcResults; },
         docmsg::kNeedDepths, docmsg::kDepthCaption},
        {"no height", [](CTydDoc& d) { d.m_info.m_dH0 = 0.00009; }, docmsg::kNeedWaveConditions,
         docmsg::kWaveCaption},
        {"no period", [](CTydDoc& d) { d.m_info.m_dT0 = 0.0; }, docmsg::kNeedWaveConditions,
         docmsg::kWaveCaption},
        {"two direction bins", [](CTydDoc& d) { d.m_info.m_nDirDiv = 2; }, docmsg::kFewDirections,
         docmsg::kWaveCaption},
        {"no frequency component", [](CTydDoc& d) { d.m_info.m_nFreqDiv = 0; }, docmsg::kNoFrequencies,
         docmsg::kWaveCaption},
        {"depth too wide", [](CTydDoc& d) {
             CCalValue v = d.m_mesh.GetAt(2);
             v.SetDepth(12345678.0f);
             d.m_mesh.SetAt(2, v);
         }, docmsg::kValueTooWide, docmsg::kCalCaption},
        {"period too wide", [](CTydDoc& d) { d.m_info.m_dT0 = 1e9; }, docmsg::kValueTooWide,
         docmsg::kCalCaption},
        {"spread not a number", [](CTydDoc& d) { d.m_info.m_dSpreadLeft = std::nan(""); },
         docmsg::kValueTooWide, docmsg::kCalCaption},
    };
    for (const Refusal& r : cases) {
        SCOPED_TRACE(r.name);
        CTydDoc spoilt;
        roadtest::OpenNew(spoilt, "SPOILT.TYD");
        roadtest::SetMesh(spoilt, 2, 3, roadtest::TinyDepths());
        spoilt.m_info = doc.m_info;
        spoilt.m_info.m_dDirAngle = 100.0;
        r.spoil(spoilt);
        CTydViewData v(spoilt);
        ui.Clear();
        EXPECT_EQ(WriteCalcData(spoilt, v, frame, 0), -1);
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text.rfind(r.text, 0), 0u) << ui.Messages()[0].text;
        EXPECT_EQ(ui.Messages()[0].caption, r.caption);
        ExpectNothingWritten(spoilt);
        EXPECT_EQ(spoilt.m_nRunOrientation, -1);
    }
}

// The input of a calculation that is running stays as the solver read it.
TEST_F(CalcDataWriterTest, InputOfARunningCalculationIsKept) {
    {
        testsupport::LockHolder run(testsupport::RunStarted(StartFolder(), "TINY"));
        ASSERT_TRUE(run.Held());
        doc.m_info.m_dDirAngle = 100.0;
        EXPECT_EQ(WriteCalcData(doc, view, frame, 0), -1);
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, docmsg::kCannotCreateCal);
        ExpectNothingWritten(doc);
    }

    // Another calculation's run does not hold this one's input.
    testsupport::LockHolder other(testsupport::RunStarted(StartFolder(), "OTHER"));
    ASSERT_TRUE(other.Held());
    EXPECT_EQ(WriteCalcData(doc, view, frame, 0), 0);
    EXPECT_TRUE(FileExists(Path("CAL")));
}

}  // namespace
}  // namespace wv
