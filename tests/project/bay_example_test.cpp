// The example project that the README and the calculation examples start from.
#include "project/tik_doc.h"
#include "tik_test_util.h"

#include "platform/ui_service.h"

#include <set>

namespace wv {
namespace {

using test::OpenProjectBytes;
using test::ReadBytes;

const std::string kBay = std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY/BAY.TIK";

class BayExample : public ::testing::Test {
protected:
    void TearDown() override { ResetTikData(); }
    ScriptedUi ui;
    ScopedUi scope{&ui};
};

TEST_F(BayExample, LoadsSavesByteIdenticalAndReloads) {
    CTikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(kBay)) << doc.GetLastError();
    const auto loaded = OpenProjectBytes();
    ASSERT_TRUE(doc.OnSaveDocument("BAY.TIK"));
    EXPECT_EQ(ReadBytes("BAY.TIK"), ReadBytes(kBay));
    ResetTikData();
    ASSERT_TRUE(doc.OnOpenDocument("BAY.TIK"));
    EXPECT_EQ(OpenProjectBytes(), loaded);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(BayExample, HoldsABayWithCoastDepthLinesAndOutputPoints) {
    CTikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(kBay));
    EXPECT_GE(g_surveyPoints.GetCount(), 200);
    EXPECT_LE(g_surveyPoints.GetCount(), 600);
    EXPECT_EQ(g_blocks.GetCount(), 1);
    EXPECT_EQ(g_calcPoints.GetCount(), 3);
    EXPECT_EQ(g_tikInf.m_dNorth, 90.0);

    std::set<double> depthLines;
    int terrain = 0, auxiliary = 0;
    for (int i = 0; i < g_lines.GetSlotCount(); ++i) {
        const CLineZokusei line = g_lines.GetAt(i);
        if (line.GetState() < 0) continue;
        EXPECT_EQ(line.GetState(), 0);
        if (line.GetKind() == kLineTerrain) ++terrain;
        if (line.GetKind() == kLineAuxiliary) ++auxiliary;
        if (line.GetKind() == kLineDepth) depthLines.insert(line.GetDepth());
        // The links were rebuilt before saving: both ends list the line.
        for (int end : {line.GetStartIndex(), line.GetEndIndex()}) {
            const CSokutenZokusei p = g_surveyPoints.GetAt(end);
            bool listed = false;
            for (int k = 0; k < p.GetLineCount(); ++k) listed |= p.GetLine(k) == i;
            EXPECT_TRUE(listed) << "line " << i << " point " << end;
        }
    }
    EXPECT_GT(terrain, 20);
    EXPECT_GT(auxiliary, 0);
    EXPECT_EQ(depthLines, (std::set<double>{-30.0, -25.0, -20.0, -15.0, -10.0, -5.0, -2.0}));

    // The land block lies inside the ring of terrain lines: its nearest terrain line is
    // part of the coast, and every point of the survey lies in the local plane extent.
    EXPECT_GE(g_lines.FindNearestOfKind(g_blocks.GetAt(0).GetPos().m_dX,
                                        g_blocks.GetAt(0).GetPos().m_dY, 3), 0);
    for (int i = 0; i < g_surveyPoints.GetSlotCount(); ++i) {
        const CSokutenZokusei p = g_surveyPoints.GetAt(i);
        if (p.GetId() < 0) continue;
        EXPECT_GE(p.GetPos().m_dX, -100.0);
        EXPECT_LE(p.GetPos().m_dX, 2500.0);
        EXPECT_GE(p.GetPos().m_dY, -100.0);
        EXPECT_LE(p.GetPos().m_dY, 2600.0);
        EXPECT_GE(p.GetDepth(), -40.0);
        EXPECT_LE(p.GetDepth(), 10.0);
    }
}

}  // namespace
}  // namespace wv
