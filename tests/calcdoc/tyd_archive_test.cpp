// The calculation document's two archives against files built by hand from their byte
// layouts (tests/data/calcdoc/make_golden_tyd.py): every field in place, byte-identical
// round trips, older versions, and damaged files that must change nothing.
#include "calcdoc/calcdoc_messages.h"
#include "calcdoc_test_util.h"
#include "core/cal_area.h"
#include "core/param_file.h"
#include "core/sansyutu.h"
#include "core/tyd_inf.h"
#include "core/zmn_inf.h"
#include "platform/text.h"

#include "support/english_words.h"
#include <gtest/gtest.h>

#include <tuple>

namespace wv {
namespace {

using roadtest::CopyGolden;
using roadtest::ReadAll;
using roadtest::Scratch;

class TydArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calcPoints.Reset();
        roadtest::UseScratchStartFolder();
    }

    // Copies a golden pair to NAME.TYD / NAME.DPT in the scratch folder; returns the path.
    std::string Pair(const std::string& name, const std::string& tyd, const std::string& dpt) {
        const std::string path = Scratch() + name + ".TYD";
        CopyGolden(tyd, path);
        DeleteFileSilently(Scratch() + name + ".DPT");
        if (!dpt.empty()) CopyGolden(dpt, Scratch() + name + ".DPT");
        return path;
    }

    ScriptedUi ui;
    ScopedUi scoped{&ui};
};

TEST_F(TydArchiveTest, Version12LoadsEveryField) {
    CTydDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Pair("A", "small_v12.TYD", "small_v12.DPT")));
    EXPECT_FALSE(doc.IsModified());

    // The first and last fields of each record, and those around the version-dependent
    // ones, in their places.
    const CTyd_Inf& w = doc.m_info;
    EXPECT_EQ(w.m_nDirMode, 1);
    EXPECT_EQ(w.m_nDir16, 3);
    EXPECT_EQ(w.m_dSpreadLeft, 70.0);
    EXPECT_EQ(w.m_nOutDirSense, 1);
    EXPECT_EQ(w.m_bFreeRotation, 1);
    EXPECT_EQ(w.m_nCalcState, 3);
    const CZmn_Inf& z = doc.m_zmn;
    EXPECT_EQ(Cp932ToUtf8(z.m_strRemark), "湾の試算");
    EXPECT_EQ(z.m_dCenterY, -678.25);
    EXPECT_EQ(z.m_dRotation, -30.0);
    EXPECT_EQ(z.m_nScaleStyle, 1);
    EXPECT_EQ(z.m_nValueType, 1);
    EXPECT_EQ(z.m_bCheckMap, 1);
    EXPECT_EQ(z.m_dDirTextSize, 1.5);
    EXPECT_EQ(z.m_nDecimals, 3);
    EXPECT_EQ(z.m_ptWaveMark, CPointD::Unset());
    EXPECT_EQ(z.m_interval[0].m_dStepAcross, 30.0);
    EXPECT_EQ(z.m_interval[2].m_dStepDown, -1.0);
    EXPECT_EQ(z.m_dVectorLow[3], 0.4);
    EXPECT_EQ(z.m_dVectorHigh[3], 4.5);
    EXPECT_EQ(doc.m_contPara.GetLevels()[1], 1.5);
    EXPECT_EQ(doc.m_contParaFig[0].GetTo(), 3.0);
    EXPECT_EQ(doc.m_calcArea.GetMeshCountX(), 3);
    EXPECT_EQ(doc.m_blkXY.GetPoints(0)[2], CPointD(1015.0, 2010.0));
    ASSERT_EQ(doc.m_pCalcPoints.size(), 10u);
    EXPECT_EQ(doc.m_pCalcPoints[0], CPointD(1005.0, 2003.0));

    // The side archive, and what the reader rebuilds from it.
    const CDigitalMap& mesh = doc.m_mesh;
    ASSERT_EQ(mesh.GetCount(), 5);
    EXPECT_EQ(mesh.GetNodeIndex(1, 1), -1);
    EXPECT_EQ(mesh.GetNodeIndex(1, 2), 4);
    EXPECT_EQ(mesh.GetAt(4).GetPos(), CPointF(20.0f, 10.0f));
    EXPECT_EQ(mesh.GetAt(3).GetDirection(), 355.0f);
    EXPECT_EQ(mesh.GetDirFlag(1), 1);
    EXPECT_EQ(mesh.GetWaveHeight(), 2.5);
    EXPECT_EQ(mesh.GetMaxDepth(), 5.0f);
    EXPECT_FLOAT_EQ(mesh.GetMaxHeightRatio(), 0.9f);
    EXPECT_EQ(doc.m_hcheckLines.GetEnd(1), 2);
    EXPECT_EQ(doc.m_contGroup.GetCapacity(), 300);
    EXPECT_EQ(doc.m_labelPos2[1].GetLineNo(0), 1);
    ASSERT_EQ(doc.m_nTriNodes, 2);
    EXPECT_EQ(doc.m_pTriNodeB, (std::vector<int>{0, 3, 1, 1, 4, 2}));
    EXPECT_EQ(doc.m_pEdgePairs[6], -1);
    EXPECT_EQ(doc.m_pEdgePairs[7], 1);
    // Triangle (0, 3, 1) holds depths 5, 2, 4; triangle (1, 4, 2) depths 4, 1, 3.
    EXPECT_EQ(doc.m_pTriMinDepth, (std::vector<float>{2.0f, 1.0f}));
    EXPECT_EQ(doc.m_pTriMaxDepth, (std::vector<float>{5.0f, 4.0f}));
    EXPECT_EQ(doc.m_hcheckLines.GetMinDepth(), 1.0f);
    EXPECT_EQ(doc.m_hcheckLines.GetMaxDepth(), 5.0f);
    EXPECT_FLOAT_EQ(doc.m_pTriMinValue[0][0], 0.6f);
    EXPECT_FLOAT_EQ(doc.m_pTriMaxValue[1][1], 0.85f);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(TydArchiveTest, OpeningPutsTheSavedMarksOnTheContours) {
    CTydDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Pair("M", "small_v12.TYD", "small_v12.DPT")));
    // Value type 1: label on segment 1 of the first 0.75 line, segment 0 of the second
    // 0.75 line erased.
    const CContGroup& g = doc.m_contGroup;
    ASSERT_EQ(g.GetCount(), 2);
    EXPECT_EQ(g.GetPoint(0, 1).m_nLabel, 1);
    EXPECT_EQ(g.GetPoint(0, 0).m_nLabel, 0);
    EXPECT_EQ(g.GetPoint(1, 0).m_nLine, 0);
    EXPECT_EQ(g.GetPoint(0, 1).m_nLine, 1);
    // Saving under another value type collects the marks into that type's sets.
    doc.m_zmn.m_nValueType = 2;
    ASSERT_TRUE(doc.OnSaveDocument(Scratch() + "N.TYD"));
    EXPECT_EQ(doc.m_labelPos[2].GetCount(), 1);
    EXPECT_EQ(doc.m_labelPos[2].GetPointNo(0), 1);
    EXPECT_EQ(doc.m_labelPos2[2].GetLineNo(0), 1);
    CTydDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(Scratch() + "N.TYD"));
    EXPECT_EQ(reopened.m_contGroup.GetPoint(0, 1).m_nLabel, 1);
    EXPECT_EQ(reopened.m_contGroup.GetPoint(1, 0).m_nLine, 0);
}

TEST_F(TydArchiveTest, MarksOnALevelBesideAnotherStayOnTheirOwnLine) {
    CTydDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Pair("NEAR", "small_v12.TYD", "labels_near_level.DPT")));
    // Polylines of 2, 3, 4 and 2.99995: the label belongs to the line of 3, the erased
    // segment to the line of 2.99995.
    const CContGroup& g = doc.m_contGroup;
    ASSERT_EQ(g.GetCount(), 4);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(g.GetPoint(i, j).m_nLabel, i == 1 && j == 0 ? 1 : 0) << i << "," << j;
            EXPECT_EQ(g.GetPoint(i, j).m_nLine, i == 3 && j == 1 ? 0 : 1) << i << "," << j;
        }
    // Saved again, the marks are the ones read: the side archive comes out as it went in.
    ASSERT_TRUE(doc.OnSaveDocument(Scratch() + "NEAR2.TYD"));
    EXPECT_EQ(ReadAll(Scratch() + "NEAR2.DPT"), ReadAll(roadtest::Golden("labels_near_level.DPT")));
}

TEST_F(TydArchiveTest, SavingWritesBothFilesByteForByte) {
    CTydDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Pair("A", "small_v12.TYD", "small_v12.DPT")));
    const std::string path = Scratch() + "B.TYD";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(ReadAll(path), ReadAll(roadtest::Golden("small_v12.TYD")));
    EXPECT_EQ(ReadAll(Scratch() + "B.DPT"), ReadAll(roadtest::Golden("small_v12.DPT")));
}

TEST_F(TydArchiveTest, Version7LeavesTheNewerFieldsAtTheirDefaults) {
    CTydDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Pair("OLD", "small_v7.TYD", "small_v7.DPT")));
    const CZmn_Inf fresh;
    EXPECT_EQ(doc.m_info.m_bFreeRotation, 0);
    EXPECT_EQ(doc.m_info.m_nDirDiv, 9);
    EXPECT_EQ(doc.m_zmn.m_nScaleStyle, fresh.m_nScaleStyle);
    EXPECT_EQ(doc.m_zmn.m_bDrawContourValue, fresh.m_bDrawContourValue);
    EXPECT_EQ(doc.m_zmn.m_bDrawLandGrid, fresh.m_bDrawLandGrid);
    EXPECT_EQ(doc.m_zmn.m_bCheckMap, fresh.m_bCheckMap);
    EXPECT_EQ(doc.m_zmn.m_dVectorMin, 0.0);
    EXPECT_EQ(doc.m_zmn.m_dVectorMax, 10.0);
    EXPECT_EQ(doc.m_zmn.m_dDirTextSize, fresh.m_dDirTextSize);
    EXPECT_EQ(doc.m_zmn.m_interval[0], fresh.m_interval[0]);
    EXPECT_EQ(doc.m_zmn.m_interval[2], fresh.m_interval[2]);
    EXPECT_EQ(doc.m_zmn.m_interval[3].m_dStepDown, 20.0);
    EXPECT_EQ(doc.m_zmn.m_dVectorHigh[1], 2.5);
    EXPECT_EQ(doc.m_contPara.GetLevelCount(), 2);
    // The side archive's depth-map and direction-map flags are not in a version-7 file.
    EXPECT_EQ(doc.m_mesh.GetDepthFlag(0), 0);
    EXPECT_EQ(doc.m_mesh.GetDirFlag(1), 0);
    EXPECT_EQ(doc.m_mesh.GetHeightFlag(4), 2);
    EXPECT_EQ(doc.m_nTriNodes, 2);
}

// The framework opens an empty file as a new document; a side archive left from an
// earlier calculation of the same name is not taken for its mesh.
TEST_F(TydArchiveTest, EmptyFileOpensAsANewCalculation) {
    const std::string path = Scratch() + "NEW.TYD";
    roadtest::WriteAll(path, "");
    CopyGolden("small_v12.DPT", Scratch() + "NEW.DPT");
    CTydDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.m_info.m_nCalcState, 0);
    EXPECT_EQ(doc.m_mesh.GetCount(), 0);
    EXPECT_EQ(doc.m_pCalcPoints, std::vector<CPointD>(10, CPointD::Unset()));
    EXPECT_TRUE(ui.Messages().empty());
}

// With results but without its side archive: the question of tyd_pair_test.cpp, then
// the state before the mesh.
TEST_F(TydArchiveTest, MissingSideArchiveGivesAnEmptyMesh) {
    CTydDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Pair("LONE", "small_v12.TYD", "")));
    EXPECT_EQ(doc.m_info.m_nCalcState, 0);
    EXPECT_EQ(doc.m_mesh.GetCount(), 0);
    EXPECT_EQ(doc.m_nTriNodes, 0);
    EXPECT_EQ(ui.Messages().size(), 1u);
}

// A document that a damaged file was refused for is exactly the one it was before.
class RefusedOpenTest : public TydArchiveTest {
protected:
    void SetUp() override {
        TydArchiveTest::SetUp();
        ASSERT_TRUE(doc.OnOpenDocument(Pair("GOOD", "small_v12.TYD", "small_v12.DPT")));
        doc.SetModifiedFlag(true);
        before = Snapshot();
        ui.Clear();
    }

    // Both archives as the document would write them, plus path and flag.
    std::string Snapshot() {
        CArchive ar;
        doc.Serialize(ar);
        std::string s(ar.Bytes().begin(), ar.Bytes().end());
        EXPECT_TRUE(doc.OnSaveDocument(Scratch() + "SNAP.TYD"));
        s += ReadAll(Scratch() + "SNAP.DPT");
        doc.SetPathName(path);
        doc.SetModifiedFlag(true);
        return s + "|" + doc.GetPathName();
    }

    // `field`: what the message must name, when given.
    void ExpectRefused(const std::string& file, const char* what, const char* field = "") {
        SCOPED_TRACE(what);
        ui.Clear();
        EXPECT_FALSE(doc.OnOpenDocument(file));
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_NE(ui.Messages()[0].text.find(Scratch()), std::string::npos) << ui.Messages()[0].text;
        EXPECT_NE(ui.Messages()[0].text.find(field), std::string::npos) << ui.Messages()[0].text;
        // The reason under the message is Japanese, as the message is.
        EXPECT_EQ(testsupport::EnglishWords(ui.Messages()[0].text), std::vector<std::string>()) << ui.Messages()[0].text;
        EXPECT_TRUE(doc.IsModified());
        ui.Clear();
        EXPECT_EQ(Snapshot(), before);
    }

    CTydDoc doc;
    std::string path = Scratch() + "GOOD.TYD";
    std::string before;
};

TEST_F(RefusedOpenTest, DamagedCountsAndIndicesChangeNothing) {
    ExpectRefused(Pair("X1", "bad_label_count.TYD", "small_v12.DPT"), "eleven label positions");
    ExpectRefused(Pair("X2", "bad_version.TYD", "small_v12.DPT"), "main archive of a later version");
    const char* badSides[] = {"bad_version.DPT",   "bad_node_index.DPT", "bad_tri_node.DPT",
                              "bad_tri_edge.DPT",  "bad_edge_pair.DPT",  "bad_tri_count.DPT",
                              "bad_edge_node.DPT", "bad_rows_no_columns.DPT", "bad_columns_no_rows.DPT"};
    for (const char* side : badSides) ExpectRefused(Pair("X3", "small_v12.TYD", side), side);
}

// Conditions no program writes (a state beyond the four, division counts below 1) are
// refused naming their field; every value the programs write opens as written.
TEST_F(RefusedOpenTest, ConditionsNoProgramWritesAreRefusedNamingTheirField) {
    struct Case {
        int state, dirDiv, freqDiv;
        const char* field;  // nullptr: opens
    };
    const Case cases[] = {
        {7, 45, 7, "計算状態"},   {2147483647, 45, 7, "計算状態"}, {-7, 45, 7, "計算状態"},
        {1, -7, 7, "方向分割数"}, {1, 0, 7, "方向分割数"},         {1, 45, 0, "周期分割数"},
        {0, 1, 1, nullptr},       {1, 45, 7, nullptr},             {2, 2147483647, 2147483647, nullptr},
        {3, 45, 7, nullptr},
    };
    const std::string written = Scratch() + "COND.TYD";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.state << " " << c.dirDiv << " " << c.freqDiv);
        CTydDoc w;
        ASSERT_TRUE(w.OnOpenDocument(Pair("W", "small_v12.TYD", "small_v12.DPT"))) << w.GetLastError();
        w.m_info.m_nCalcState = c.state;
        w.m_info.m_nDirDiv = c.dirDiv;
        w.m_info.m_nFreqDiv = c.freqDiv;
        ASSERT_TRUE(w.OnSaveDocument(written));
        if (c.field) {
            ExpectRefused(written, c.field, c.field);
            continue;
        }
        ui.Clear();
        CTydDoc r;
        ASSERT_TRUE(r.OnOpenDocument(written));
        EXPECT_TRUE(ui.Messages().empty());
        EXPECT_EQ(std::tie(r.m_info.m_nCalcState, r.m_info.m_nDirDiv, r.m_info.m_nFreqDiv),
                  std::tie(c.state, c.dirDiv, c.freqDiv));
    }
}

TEST_F(RefusedOpenTest, EveryTruncationIsRefused) {
    const std::string tyd = ReadAll(roadtest::Golden("small_v12.TYD"));
    const std::string dpt = ReadAll(roadtest::Golden("small_v12.DPT"));
    const std::string cut = Scratch() + "CUT.TYD";
    // An empty main archive is a new calculation, not a damaged one: lengths from 1 up.
    for (std::size_t n = 1; n < tyd.size(); n += 7) {
        roadtest::WriteAll(cut, tyd.substr(0, n));
        roadtest::WriteAll(Scratch() + "CUT.DPT", dpt);
        ExpectRefused(cut, "main archive cut short");
    }
    for (std::size_t n = 0; n < dpt.size(); n += 5) {
        roadtest::WriteAll(cut, tyd);
        roadtest::WriteAll(Scratch() + "CUT.DPT", dpt.substr(0, n));
        ExpectRefused(cut, "side archive cut short");
    }
}

// A defaults file with values out of range still gives new calculations that open again
// once saved.
TEST_F(TydArchiveTest, NewCalculationFromOddDefaultsReopens) {
    TextWriter w;
    for (const char* line : {"12", "1,92,45.0", "3.5,9.0", "1.25,36", "25.0,5", "80.0,70.0", "0.0,0.0",
                             "100000,100000", "25.0", "1,1", "1,-15.0", "11,1", "15,12,11,-1", "180,270",
                             "0,1", "0,1,7", "3.0,2.0,1.75", "1", "0,1.5,12.0,3"})
        w.Line(line);
    ASSERT_TRUE(w.Save(Scratch() + "PARAINI.DAT", nullptr));
    const CTyd_Inf tyd = g_tydInfDefault;
    const CZmn_Inf zmn = g_zmnInfDefault;
    const CCalArea area = g_calcAreaDefault;
    ASSERT_EQ(ReadParamFile(Scratch() + "PARAINI.DAT", g_tydInfDefault, g_zmnInfDefault, g_calcAreaDefault),
              ParamFileStatus::Read);
    {
        CTydDoc made;
        ASSERT_TRUE(made.OnNewDocument());
        ASSERT_TRUE(made.OnSaveDocument(Scratch() + "NEW.TYD"));
    }
    g_tydInfDefault = tyd;
    g_zmnInfDefault = zmn;
    g_calcAreaDefault = area;
    CTydDoc reopened;
    EXPECT_TRUE(reopened.OnOpenDocument(Scratch() + "NEW.TYD")) << (ui.Messages().empty() ? "" : ui.Messages()[0].text);
}

// A save that cannot write the side archive writes nothing and says so.
TEST_F(TydArchiveTest, FailedSideArchiveSavesNothing) {
    CTydDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Pair("A", "small_v12.TYD", "small_v12.DPT")));
    std::filesystem::create_directories(Scratch() + "LOCKED.DPT/inside");
    const std::string path = Scratch() + "LOCKED.TYD";
    DeleteFileSilently(path);
    doc.SetModifiedFlag(true);
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_FALSE(FileExists(path));
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(ui.Messages()[0].text.find("LOCKED.DPT"), std::string::npos);
}

}  // namespace
}  // namespace wv
