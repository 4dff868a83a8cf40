// The mesh and result CSV files: their bytes (written by hand from the record layouts),
// splitting at 250 columns, the round trip, the refusals of the input and its cancel, and
// that an output never leaves a half-replaced set.
#include "calcdoc/calcdoc_messages.h"
#include "calcdoc/mesh_csv.h"
#include "calcdoc_test_util.h"
#include "support/file_faults.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <limits>

namespace wv {
namespace {

using roadtest::ReadAll;
using roadtest::WriteAll;

class MeshCsvTest : public ::testing::Test {
protected:
    void SetUp() override {
        roadtest::EnterOwnFolder();
        roadtest::OpenNew(doc, "BAY.TYD");
        doc.m_info.m_dTide = 1.5;
        SetProgress(-1);
    }
    void TearDown() override { SetCalcProgressFactory(nullptr); }

    // Every progress window presses Cancel at its n-th pump (-1 never).
    static void SetProgress(int cancelAtPump) {
        SetCalcProgressFactory(
            [cancelAtPump] { return std::unique_ptr<CCalcProgressDlg>(new CTestCalcProgressDlg(cancelAtPump)); });
    }
    std::string M(int k) const { return MeshCsvFileName(doc.GetPathName(), k); }
    std::string H(int k) const { return ResultCsvFileName(doc.GetPathName(), k); }

    // A cols x rows mesh whose depth at (r, c) is 1 + c / 1000 + r, land where c == r.
    void SetRampMesh(int cols, int rows, double spacing = 10.0) {
        std::vector<double> d;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) d.push_back(c == r ? std::nan("") : 1.0 + c / 1000.0 + r);
        roadtest::SetMesh(doc, rows, cols, d, spacing);
    }
    // The depth at (r, c) of the document's mesh, NaN for land.
    double DepthAt(int r, int c) const {
        const int n = doc.m_mesh.GetNodeIndex(r, c);
        return n < 0 ? std::nan("") : doc.m_mesh.GetAt(n).GetDepth();
    }
    int MessageCount() const { return static_cast<int>(ui.Messages().size()); }

    ScriptedUi ui;
    ScopedUi scoped{&ui};
    CTydDoc doc;
    CTydViewData view{doc};
    CalcViewFrame frame;
};

TEST(MeshCsvNames, BaseSuffixesAndFileCounts) {
    EXPECT_EQ(MeshCsvFileName("/d/BAY.TYD", 1), "/d/BAY_M1.CSV");
    EXPECT_EQ(ResultCsvFileName("/d/BAY.tyd", 12), "/d/BAY_H12.CSV");
    EXPECT_EQ(MeshCsvFileName("/d.x/BAY", 1), "");  // the dot of a folder is no extension
    EXPECT_EQ(MeshCsvFileName("", 1), "");
    const std::pair<int, int> counts[] = {{1, 1}, {250, 1}, {251, 2}, {500, 2}, {501, 3}, {0, 1}};
    for (const auto& [columns, files] : counts) EXPECT_EQ(CsvFileCount(columns), files) << columns;
}

TEST_F(MeshCsvTest, MeshAndResultBytes) {
    // Depths row by row from the bottom: 5.5 4.25 0.00005 / 2.75 land 1.5; spacing 12.34,
    // written with the decimals it needs.
    roadtest::SetMesh(doc, 2, 3, {5.5, 4.25, 0.00005, 2.75, std::nan(""), 1.5}, 12.34);
    EXPECT_EQ(OnMeshFileOut(doc), 1);
    EXPECT_EQ(ReadAll(M(1)), "3,2,12.34,1.50\r\n2.750,0.000,1.500\r\n5.500,4.250,0.000\r\n");
    EXPECT_FALSE(FileExists(M(2)));

    // Results: kind 1 (the ratio); a negative value is written as 0.
    const float ratios[] = {0.5f, 1.25f, -0.5f, 0.875f, 2.0f};
    for (int i = 0; i < 5; ++i) {
        CCalValue v = doc.m_mesh.GetAt(i);
        v.SetHeightRatio(ratios[i]);
        v.SetEquivRatio(ratios[i] * 2);
        doc.m_mesh.SetAt(i, v);
    }
    doc.m_info.m_nCalcState = kCalcResults;
    doc.m_zmn.m_nValueType = 1;
    EXPECT_EQ(OnResultFileOut(doc, view, frame), 1);
    EXPECT_EQ(ReadAll(H(1)), "3,2,12.34," + Utf8ToCp932("有義波高比") + "\r\n0.875,0.000,2.000\r\n0.500,1.250,0.000\r\n");

    // Kinds 0 and 2 are heights (ratio x H0); any kind beyond 2 is the equivalent ratio.
    doc.m_mesh.SetWaveHeight(2.0);
    const std::pair<int, std::string> kinds[] = {
        {0, "有義波高\r\n1.750,0.000,4.000\r\n1.000,2.500,0.000\r\n"},
        {2, "換算沖波波高\r\n3.500,0.000,8.000\r\n2.000,5.000,0.000\r\n"},
        {7, "換算沖波波高比\r\n1.750,0.000,4.000\r\n1.000,2.500,0.000\r\n"}};
    for (const auto& [kind, rest] : kinds) {
        doc.m_zmn.m_nValueType = kind;
        EXPECT_EQ(OnResultFileOut(doc, view, frame), 1);
        EXPECT_EQ(ReadAll(H(1)), "3,2,12.34," + Utf8ToCp932(rest)) << kind;
    }
    EXPECT_EQ(MessageCount(), 0);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(MeshCsvTest, NothingToWrite) {
    // No mesh: the mesh output does nothing; no results: the loader explains, nothing goes.
    EXPECT_EQ(OnMeshFileOut(doc), -1);
    EXPECT_EQ(OnResultFileOut(doc, view, frame), -1);
    EXPECT_FALSE(FileExists(M(1)));
    EXPECT_FALSE(FileExists(H(1)));
    EXPECT_EQ(MessageCount(), 1);
    // Cancel at the split question writes nothing.
    SetRampMesh(251, 3);
    ui.PushAnswer(IDCANCEL);
    EXPECT_EQ(OnMeshFileOut(doc), -1);
    EXPECT_FALSE(FileExists(M(1)));
}

TEST_F(MeshCsvTest, SplitAndUnsplitRoundTrips) {
    SetRampMesh(251, 10, 12.34);
    ui.PushAnswer(IDYES);
    EXPECT_EQ(OnMeshFileOut(doc), 2);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, docmsg::kSplitQuestion);
    EXPECT_EQ(ui.Messages()[0].caption, "確認");
    const std::string m1 = ReadAll(M(1)), m2 = ReadAll(M(2));
    EXPECT_EQ(m1.substr(0, m1.find('\n') + 1), "251,10,12.34,1.50\r\n");
    EXPECT_EQ(m2.substr(0, m2.find('\n') + 1), "251,10,12.34,1.50\r\n");
    // The top row first; file 2 holds column 250 alone.
    const std::string top1 = m1.substr(m1.find('\n') + 1, m1.find('\n', m1.find('\n') + 1) - m1.find('\n') - 1);
    EXPECT_EQ(std::count(top1.begin(), top1.end(), ','), 249);
    EXPECT_EQ(top1.substr(0, 6), "10.000");
    EXPECT_EQ(m2, "251,10,12.34,1.50\r\n10.250\r\n9.250\r\n8.250\r\n7.250\r\n6.250\r\n5.250\r\n4.250\r\n3.250\r\n"
                  "2.250\r\n1.250\r\n");

    for (int answer : {IDYES, IDNO}) {
        if (answer == IDNO) {
            SetRampMesh(251, 10, 12.34);
            ui.PushAnswer(IDNO);
            EXPECT_EQ(OnMeshFileOut(doc), 1);
            EXPECT_FALSE(FileExists(M(2)));  // the split set's second file went
            const std::string one = ReadAll(M(1));
            const std::string line = one.substr(one.find('\n') + 1, one.find('\n', one.find('\n') + 1) - one.find('\n'));
            EXPECT_EQ(std::count(line.begin(), line.end(), ','), 250);
        }
        doc.m_info.m_dTide = 2.0;  // the base level is the document's, not the file's
        doc.SetModifiedFlag(false);
        ASSERT_EQ(OnMeshFileIn(view), 0) << answer;
        EXPECT_EQ(doc.m_mesh.GetMeshCountX(), 251);
        EXPECT_EQ(doc.m_mesh.GetMeshCountY(), 10);
        EXPECT_EQ(doc.m_mesh.GetMeshSize(), 12.34);
        EXPECT_EQ(doc.m_calcArea.GetMeshSize(), 12.34);
        EXPECT_EQ(doc.m_calcArea.GetMeshCountX(), 251);
        EXPECT_DOUBLE_EQ(doc.m_mesh.GetBaseLevel(), 2.0);
        EXPECT_EQ(doc.m_info.m_nCalcState, kCalcDepths);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(doc.m_mesh.GetCount(), 251 * 10 - 10);
        for (int r = 0; r < 10; ++r)
            for (int c : {0, 1, 249, 250}) {
                if (c == r) {
                    EXPECT_TRUE(std::isnan(DepthAt(r, c))) << r << "," << c;
                    continue;
                }
                EXPECT_NEAR(DepthAt(r, c), 1.0 + c / 1000.0 + r, 1e-5) << r << "," << c;
            }
        const CCalValue last = doc.m_mesh.GetAt(doc.m_mesh.GetNodeIndex(9, 250));
        EXPECT_FLOAT_EQ(last.GetPos().m_fX, static_cast<float>(250 * 12.34));
        EXPECT_FLOAT_EQ(last.GetPos().m_fY, static_cast<float>(9 * 12.34));
        EXPECT_GT(doc.m_nTriNodes, 0);
    }
}

TEST_F(MeshCsvTest, InputReplacesResultsAndTheBatchInput) {
    SetRampMesh(4, 3);
    EXPECT_EQ(OnMeshFileOut(doc), 1);
    doc.m_info.m_nCalcState = kCalcResults;
    doc.m_mesh.SetWaveHeight(3.0);
    WriteAll(doc.SideFile("DEC"), "x");
    EXPECT_EQ(OnMeshFileIn(view), 0);
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcDepths);
    EXPECT_EQ(doc.m_mesh.GetWaveHeight(), 0.0);
    EXPECT_FALSE(FileExists(doc.SideFile("DEC")));
    // A depth below 0.0001 reads as land; a last line without its end still counts.
    WriteAll(M(1), "3,3,5.0\r\n1,2,3\r\n4,0.00005,6\r\n7,8,9");
    EXPECT_EQ(OnMeshFileIn(view), 0);
    EXPECT_TRUE(std::isnan(DepthAt(1, 1)));
    EXPECT_EQ(DepthAt(0, 0), 7.0f);
    EXPECT_EQ(DepthAt(2, 2), 3.0f);
    EXPECT_EQ(doc.m_mesh.GetCount(), 8);
}

TEST_F(MeshCsvTest, BadInputChangesNothing) {
    SetRampMesh(4, 3);
    doc.SetModifiedFlag(false);
    struct Case {
        const char* file;  // nullptr: no file
        const char* message;
    };
    // Every file that cannot be used says why.
    const std::string hugeSpacing = "3,3,1" + std::string(39, '0') + "\r\n1,1,1\r\n1,1,1\r\n1,1,1\r\n";
    const std::string infiniteSpacing = "3,3," + std::string(400, '9') + "\r\n1,1,1\r\n1,1,1\r\n1,1,1\r\n";
    const Case cases[] = {
        {nullptr, docmsg::kCannotOpenMeshFile},
        {"", docmsg::kMeshHeaderMissing},
        {"3,2\r\n1,2,3\r\n", docmsg::kMeshHeaderMissing},
        {"abc\r\n", docmsg::kMeshHeaderMissing},
        {"1,5,10\r\n", docmsg::kMeshCountTooSmall},
        {"5,1,10\r\n", docmsg::kMeshCountTooSmall},
        {"3,3,0.00009\r\n1,1,1\r\n1,1,1\r\n1,1,1\r\n", docmsg::kMeshSpacingTooSmall},
        {"3,3,0.0\r\n1,1,1\r\n1,1,1\r\n1,1,1\r\n", docmsg::kMeshSpacingTooSmall},
        {hugeSpacing.c_str(), docmsg::kMeshSpacingTooLarge},      // the positions pass a float
        {infiniteSpacing.c_str(), docmsg::kMeshSpacingTooLarge},  // reads as infinity
        {"251,3,10\r\n1,2,3\r\n", docmsg::kMeshSplitLineShort},
        {"100000,3,10\r\n", docmsg::kMeshCountTooLarge},
        {"3,99999999999,10\r\n", docmsg::kMeshCountTooLarge},   // beyond int, never read as a small count
        {"99999,99999,10\r\n", docmsg::kMeshTooLargeForMemory},
        {"3,2,10\r\n0,0,0\r\n-1,0,0\r\n", docmsg::kMeshAllLand},
    };
    for (const Case& c : cases) {
        ui.Clear();
        DeleteFileSilently(M(1));
        if (c.file) WriteAll(M(1), c.file);
        const std::string shown = c.file ? std::string(c.file).substr(0, 40) : "(none)";
        EXPECT_EQ(OnMeshFileIn(view), -1) << shown;
        const auto messages = ui.Messages();
        ASSERT_EQ(messages.size(), 1u) << shown;
        EXPECT_EQ(messages[0].text, c.message) << shown;
        EXPECT_EQ(messages[0].caption, "ＣＳＶデータ入力");
        EXPECT_EQ(doc.m_mesh.GetMeshCountX(), 4);
        EXPECT_EQ(doc.m_info.m_nCalcState, kCalcDepths);
        EXPECT_FALSE(doc.IsModified());
    }
}

TEST_F(MeshCsvTest, TheSpacingReadsBackAsItWasWritten) {
    // 23 bytes: a spacing of 0.04, which one decimal would write as "0.0".
    const std::string small = "2,2,0.04,0.00\r\n1,2\r\n3,4";
    ASSERT_EQ(small.size(), 23u);
    WriteAll(M(1), small);
    ASSERT_EQ(OnMeshFileIn(view), 0);
    EXPECT_EQ(doc.m_mesh.GetMeshSize(), 0.04);
    EXPECT_EQ(OnMeshFileOut(doc), 1);
    EXPECT_EQ(ReadAll(M(1)), "2,2,0.04,1.50\r\n1.000,2.000\r\n3.000,4.000\r\n");
    doc.SetModifiedFlag(false);
    ASSERT_EQ(OnMeshFileIn(view), 0);
    EXPECT_EQ(doc.m_mesh.GetMeshSize(), 0.04);
    EXPECT_EQ(doc.m_calcArea.GetMeshSize(), 0.04);
    EXPECT_FLOAT_EQ(doc.m_mesh.GetAt(doc.m_mesh.GetNodeIndex(1, 1)).GetPos().m_fX, 0.04f);

    // Spacings that one decimal holds keep their bytes; the others get the decimals they
    // need, and every one reads back as exactly the same value (0.3 and 1.7 too, which a
    // digit-by-digit sum reads one step off).
    const std::pair<double, const char*> spacings[] = {
        {10.0, "10.0"}, {12.3, "12.3"}, {0.3, "0.3"},   {1.7, "1.7"},   {1250.0, "1250.0"},
        {12.34, "12.34"}, {0.0001, "0.0001"}, {0.1 + 0.2, "0.30000000000000004"}, {1.0 / 3.0, "0.3333333333333333"}};
    for (const auto& [spacing, text] : spacings) {
        SetRampMesh(3, 2, spacing);
        ASSERT_EQ(OnMeshFileOut(doc), 1) << text;
        const std::string written = ReadAll(M(1));
        EXPECT_EQ(written.substr(0, written.find('\r')), std::string("3,2,") + text + ",1.50");
        ASSERT_EQ(OnMeshFileIn(view), 0) << text;
        EXPECT_EQ(doc.m_mesh.GetMeshSize(), spacing) << text;
        EXPECT_EQ(doc.m_calcArea.GetMeshSize(), spacing) << text;
        EXPECT_EQ(OnMeshFileOut(doc), 1) << text;
        EXPECT_EQ(ReadAll(M(1)), written) << text;
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(MeshCsvTest, ADepthThatFitsNoFloatIsRefusedByItsPlace) {
    SetRampMesh(4, 3);
    doc.SetModifiedFlag(false);
    // 58 bytes: 2 columns, 2 rows, and 1e40 in the top row's first column.
    const std::string huge = "1" + std::string(40, '0');
    const std::string file = "2,2,10\r\n" + huge + ",1\r\n1,1\r\n";
    ASSERT_EQ(file.size(), 58u);
    const std::string infinite(400, '9');
    const struct {
        std::string text;
        const char* where;
    } cases[] = {
        {file, "2行目1列目"},
        {"3,2,10\r\n1,2,3\r\n1,2," + infinite + "\r\n", "3行目3列目"},
        {"3,2,10\r\n1,2,3\r\n4,340282366920938463463374607431768211456,6\r\n", "3行目2列目"},  // 2^128
    };
    for (const auto& c : cases) {
        ui.Clear();
        WriteAll(M(1), c.text);
        EXPECT_EQ(OnMeshFileIn(view), -1) << c.where;
        ASSERT_EQ(ui.Messages().size(), 1u) << c.where;
        EXPECT_EQ(ui.Messages()[0].text, "BAY_M1.CSV\n" + std::string(c.where) + "の水深が大きすぎて扱えません。");
        EXPECT_EQ(ui.Messages()[0].caption, "ＣＳＶデータ入力");
        EXPECT_EQ(doc.m_mesh.GetMeshCountX(), 4);
        EXPECT_EQ(doc.m_info.m_nCalcState, kCalcDepths);
        EXPECT_FALSE(doc.IsModified());
    }

    // The second file of a split set names itself; a huge value past the last column is
    // dropped as before.
    SetRampMesh(251, 2);
    ui.PushAnswer(IDYES);
    ASSERT_EQ(OnMeshFileOut(doc), 2);
    WriteAll(M(2), "251,2,10.0,1.50\r\n1.000," + huge + "\r\n2.000\r\n");
    ui.Clear();
    ASSERT_EQ(OnMeshFileIn(view), 0);
    EXPECT_TRUE(ui.Messages().empty());
    WriteAll(M(2), "251,2,10.0,1.50\r\n1.000\r\n" + huge + "\r\n");
    EXPECT_EQ(OnMeshFileIn(view), -1);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "BAY_M2.CSV\n3行目1列目の水深が大きすぎて扱えません。");

    // The largest float still fits, is written out whole and reads back.
    const double largest = std::numeric_limits<float>::max();
    roadtest::SetMesh(doc, 2, 2, {largest, 1.0, 2.0, 3.0});
    ASSERT_EQ(OnMeshFileOut(doc), 1);
    ASSERT_EQ(OnMeshFileIn(view), 0);
    EXPECT_EQ(DepthAt(0, 0), largest);
    EXPECT_EQ(doc.m_mesh.GetCount(), 4);
}

TEST_F(MeshCsvTest, LongLinesAreReadWhole) {
    // 5000 columns of "12.345," make lines of 35000 characters: three rows, not more.
    std::string text = "5000,3,1.0\r\n";
    for (int r = 2; r >= 0; --r) {
        for (int c = 0; c < 5000; ++c) text += Sprintf(c < 4999 ? "%d.345," : "%d.345\r\n", 10 + r);
    }
    // A fourth line is past row 0 and ignored; more numbers than columns are dropped.
    text += "99,99,99\r\n";
    WriteAll(M(1), text);
    ASSERT_EQ(OnMeshFileIn(view), 0);
    EXPECT_EQ(doc.m_mesh.GetCount(), 15000);
    EXPECT_FLOAT_EQ(DepthAt(2, 4999), 12.345f);
    EXPECT_FLOAT_EQ(DepthAt(0, 4999), 10.345f);
    EXPECT_FLOAT_EQ(DepthAt(1, 0), 11.345f);

    WriteAll(M(1), "3,2,1.0\r\n1,2,3,4,5,6\r\n7,8,9\r\n");
    ASSERT_EQ(OnMeshFileIn(view), 0);
    EXPECT_EQ(doc.m_mesh.GetCount(), 6);
    EXPECT_EQ(DepthAt(1, 2), 3.0f);
    EXPECT_EQ(DepthAt(0, 0), 7.0f);
}

TEST_F(MeshCsvTest, MissingLaterFileOfASplitSetLeavesItsColumnsLand) {
    SetRampMesh(251, 4);
    ui.PushAnswer(IDYES);
    ASSERT_EQ(OnMeshFileOut(doc), 2);
    DeleteFileSilently(M(2));
    ui.Clear();
    ASSERT_EQ(OnMeshFileIn(view), 0);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, docmsg::kCannotOpenMeshFile);
    EXPECT_EQ(doc.m_mesh.GetMeshCountX(), 251);
    EXPECT_TRUE(std::isnan(DepthAt(3, 250)));
    EXPECT_NEAR(DepthAt(3, 249), 1.249 + 3, 1e-5);
}

// The old mesh stays until the new one stands: memory that runs out at any moment of the
// input leaves the document as it was, with the memory message. And the measure weighs
// the triangulation: a 518-byte file of a 10000 x 10000 mesh is refused at once under an
// address-space limit, where it used to end the program.
TEST_F(MeshCsvTest, OutOfMemoryLeavesTheDocumentAsItWas) {
    SetRampMesh(4, 3);
    EXPECT_EQ(OnMeshFileOut(doc), 1);
    SetRampMesh(5, 5);
    roadtest::WriteAll(doc.SideFile("YNO"), "2\r\n");
    doc.SetModifiedFlag(false);
    const std::string before = roadtest::Fingerprint(doc, view);
    roadtest::MemoryRunsOut::Install();
    int result = -1, pumps = 0;
    for (; pumps < 100 && result != 0; ++pumps) {
        SCOPED_TRACE(pumps);
        ui.Clear();
        roadtest::MemoryRunsOut::pumpsLeft = pumps;
        if ((result = OnMeshFileIn(view)) == 0) break;
        EXPECT_EQ(result, -1);
        ASSERT_EQ(MessageCount(), 1);
        EXPECT_EQ(ui.Messages()[0].text, docmsg::kMeshTooLargeForMemory);
        EXPECT_TRUE(roadtest::Fingerprint(doc, view) == before);
    }
    EXPECT_EQ(result, 0) << "the input goes once the memory lasts";
    EXPECT_GT(pumps, 5);

    SetRampMesh(5, 5);
    doc.SetModifiedFlag(false);
    std::string file = "10000,10000,1,0\r\n1";
    for (int i = 1; i < 250; ++i) file += ",1";
    WriteAll(M(1), file + "\r\n");
    ASSERT_EQ(file.size() + 2, 518u);
    const std::string old = roadtest::Fingerprint(doc, view);
    SetProgress(-1);
    const int code = roadtest::InChildWithAddressRoom(std::uint64_t{4} << 30, [&] {
        ui.Clear();
        const bool refused = OnMeshFileIn(view) == -1 && MessageCount() == 1 &&
                             ui.Messages()[0].text == docmsg::kMeshTooLargeForMemory;
        return refused && roadtest::Fingerprint(doc, view) == old ? 0 : 1;
    });
    EXPECT_EQ(code, 0);
}

TEST_F(MeshCsvTest, CancelWhileReadingKeepsTheDocumentWhileBuildingDropsTheMesh) {
    SetRampMesh(4, 3);
    EXPECT_EQ(OnMeshFileOut(doc), 1);
    SetRampMesh(5, 5);
    doc.SetModifiedFlag(false);
    // Reading pumps once a line (3 lines), building once a row.
    SetProgress(2);
    ui.PushAnswer(IDOK);
    EXPECT_EQ(OnMeshFileIn(view), -1);
    EXPECT_EQ(doc.m_mesh.GetMeshCountX(), 5);
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcDepths);
    EXPECT_FALSE(doc.IsModified());

    SetProgress(4);
    ui.PushAnswer(IDOK);
    EXPECT_EQ(OnMeshFileIn(view), 1);
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcNoMesh);
    EXPECT_EQ(doc.m_mesh.GetCount(), 0);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(MeshCsvTest, AFailedOutputKeepsTheOldSet) {
    // A set of three files, then one file: the older files go once the new one is there.
    for (int k = 1; k <= 3; ++k) WriteAll(M(k), "old");
    SetRampMesh(4, 3);
    EXPECT_EQ(OnMeshFileOut(doc), 1);
    EXPECT_FALSE(FileExists(M(2)));
    EXPECT_FALSE(FileExists(M(3)));

    // A folder where file 2 of a split set would go: nothing of the new set is put in place.
    SetRampMesh(251, 3);
    WriteAll(M(1), "old");
    std::filesystem::create_directory(M(2));
    ui.PushAnswer(IDYES);
    ui.Clear();
    EXPECT_EQ(OnMeshFileOut(doc), -1);
    EXPECT_EQ(ReadAll(M(1)), "old");
    ASSERT_EQ(ui.Messages().size(), 2u);  // the split question, then the failure
    EXPECT_EQ(ui.Messages()[1].text, docmsg::kCannotOpenMeshFile);
    EXPECT_EQ(ui.Messages()[1].caption, "ＣＳＶデータ作成");
    // No temporary file is left behind.
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(FolderOf(doc.GetPathName())))
        entries += e.path().filename().string().find(".CSV.") != std::string::npos ? 1 : 0;
    EXPECT_EQ(entries, 0);
    std::filesystem::remove(M(2));

    // A disk that fills while the second file is written: the old set stays whole.
    WriteAll(M(1), "old");
    WriteAll(M(2), "old");
    faults::FailAt(faults::Op::Write, 1, ENOSPC, "_M2.CSV");
    ui.PushAnswer(IDYES);
    EXPECT_EQ(OnMeshFileOut(doc), -1);
    faults::Clear();
    EXPECT_EQ(ReadAll(M(1)), "old");
    EXPECT_EQ(ReadAll(M(2)), "old");
    entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(FolderOf(doc.GetPathName())))
        entries += e.path().filename().string().find(".CSV.") != std::string::npos ? 1 : 0;
    EXPECT_EQ(entries, 0);
}

}  // namespace
}  // namespace wv
