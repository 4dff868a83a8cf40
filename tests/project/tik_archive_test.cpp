// Loading the hand-built golden project files of every version.
#include "project/tik_doc.h"
#include "tik_test_util.h"

#include "platform/text.h"
#include "platform/ui_service.h"

namespace wv {
namespace {

using test::OpenProjectBytes;
using test::ProjectData;
using test::ReadBytes;

class TikVersions : public ::testing::Test {
protected:
    void SetUp() override { ResetTikData(); }
    void TearDown() override { ResetTikData(); }

    void Open(const std::string& name) {
        CTikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(ProjectData(name))) << doc.GetLastError();
    }
    ScriptedUi ui;
    ScopedUi scope{&ui};
};

TEST_F(TikVersions, EmptyProjectIs573Bytes) {
    const auto golden = ReadBytes(ProjectData("empty_v8.TIK"));
    ASSERT_EQ(golden.size(), 573u);
    EXPECT_EQ(OpenProjectBytes(), golden);
    Open("small_v8.TIK");
    Open("empty_v8.TIK");
    for (int i = 0; i < 10; ++i) EXPECT_EQ(g_calcPoints.GetAt(i).GetName(), std::to_string(i + 1));
    EXPECT_EQ(g_surveyPoints.GetSlotCount(), 5000);
    EXPECT_EQ(OpenProjectBytes(), golden);
}

TEST_F(TikVersions, Version8LoadsEveryField) {
    Open("small_v8.TIK");
    EXPECT_EQ(g_tikInf.m_nTolMouse, 7);
    EXPECT_EQ(g_tikInf.m_nReserved[16], -3);
    EXPECT_EQ(g_tikInf.m_dReserved[5], 1.25);
    EXPECT_EQ(g_tikInf.m_nCoordSystem, 1);
    EXPECT_EQ(g_tikInf.m_dRotation, -30.0);

    EXPECT_EQ(g_surveyPoints.GetCount(), 6);
    EXPECT_LT(g_surveyPoints.GetAt(4).GetId(), 0);
    EXPECT_EQ(g_surveyPoints.GetAt(7).GetDepth(), -4.5);
    EXPECT_EQ(g_surveyPoints.GetAt(7).GetLineCount(), 1);  // links stay as saved
    EXPECT_EQ(g_surveyPoints.GetAt(2).GetLine(2), 8);

    EXPECT_EQ(g_lines.GetCount(), 6);
    EXPECT_EQ(g_lines.GetAt(1).GetHeightType(), kBoundaryValid);
    EXPECT_EQ(g_lines.GetAt(2).GetKind(), kLineUndefined);  // stored as 4
    EXPECT_EQ(g_lines.GetAt(4).GetDepth(), -5.0);
    // Line coordinates come from the points.
    EXPECT_EQ(g_lines.GetAt(4).GetStartPos(), CPointD(50.0, 200.0));
    EXPECT_EQ(g_lines.GetAt(4).GetEndPos(), CPointD(150.0, 200.125));
    EXPECT_EQ(g_lines.FindNearest(100, 199), 4);

    EXPECT_EQ(g_blocks.GetCount(), 2);
    EXPECT_EQ(g_blocks.GetAt(1).GetPos(), CPointD(20.0, 30.5));

    EXPECT_EQ(g_calcPoints.GetCount(), 2);
    EXPECT_EQ(g_calcPoints.GetAt(1).GetName(), Utf8ToCp932("港口"));
    EXPECT_EQ(g_calcPoints.GetAt(4).GetPos(), CPointD(55.0, 66.0));
    EXPECT_EQ(g_calcPoints.GetAt(4).GetUse(), 0);
}

TEST_F(TikVersions, Version7HasNoHeightTypesAndNoRepair) {
    Open("small_v7.TIK");
    EXPECT_EQ(g_lines.GetAt(1).GetHeightType(), 0);
    EXPECT_EQ(g_surveyPoints.GetAt(5).GetDepth(), -4.0);
    EXPECT_EQ(g_surveyPoints.GetAt(7).GetLineCount(), 1);
    EXPECT_EQ(OpenProjectBytes(), ReadBytes(ProjectData("small_v7_saved.TIK")));
}

TEST_F(TikVersions, Version6RepairsHeightsFromTheFirstDefinedLine) {
    Open("small_v6.TIK");
    EXPECT_EQ(g_tikInf.m_dRotation, -30.0);
    EXPECT_EQ(g_calcPoints.GetCount(), 2);
    // Point 5: its first line is undefined (a stored kind 4), its second a depth line.
    EXPECT_EQ(g_surveyPoints.GetAt(5).GetDepth(), -5.0);
    EXPECT_EQ(g_surveyPoints.GetAt(2).GetDepth(), 2.5);
    // Point 3 has only undefined lines and keeps its own height.
    EXPECT_EQ(g_surveyPoints.GetAt(3).GetDepth(), 1.25);
    EXPECT_EQ(g_surveyPoints.GetAt(7).GetLineCount(), 2);  // links rebuilt
    EXPECT_EQ(OpenProjectBytes(), ReadBytes(ProjectData("small_v6_saved.TIK")));
}

TEST_F(TikVersions, Version5HasNoPointHeightsRotationOrOutputPoints) {
    Open("small_v8.TIK");
    Open("small_v5.TIK");
    EXPECT_EQ(g_tikInf.m_dRotation, 0.0);
    EXPECT_EQ(g_calcPoints.GetCount(), 0);
    EXPECT_EQ(g_calcPoints.GetAt(1).GetName(), "2");
    EXPECT_EQ(g_surveyPoints.GetAt(3).GetDepth(), 0.0);
    EXPECT_EQ(g_surveyPoints.GetAt(0).GetDepth(), 3.0);
    EXPECT_EQ(OpenProjectBytes(), ReadBytes(ProjectData("small_v5_saved.TIK")));
}

TEST_F(TikVersions, DroppedItemsNeverReachTheProject) {
    Open("small_v8_extra_items.TIK");
    EXPECT_EQ(OpenProjectBytes(), ReadBytes(ProjectData("small_v8_saved.TIK")));
}

}  // namespace
}  // namespace wv
