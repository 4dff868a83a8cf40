// The 3D DXF output: golden files laid out from the format's table, the rounding and
// layer rules, the command's checks, and a read-back with ezdxf against PROJ.

#include "viewer/dxf3d_writer.h"
#include "viewer_test_support.h"

#include <clocale>
#include <cmath>
#include <sys/wait.h>
#include <cstdio>
#include <fstream>

namespace wv {
namespace {

using test::DataFile;
using test::Join;
using test::OpenText;
using test::Rec;
using test::CheckWithEzdxf;
using test::Count;

GeoBox ReadArea(const std::string& path)
{
    std::ifstream f(path);
    GeoBox a;
    f >> a.latMin >> a.lonMin >> a.latMax >> a.lonMax;
    EXPECT_TRUE(f) << path;
    return a;
}

struct GoldenDoc : ::testing::Test {
    CReliefscopeDoc doc;
    void SetUp() override
    {
        ASSERT_TRUE(doc.OnOpenDocument(DataFile("viewer/dxf3d_input.qsona")));
        doc.SetArea(ReadArea(DataFile("viewer/dxf3d_area.txt")));
    }
};

TEST_F(GoldenDoc, MetresAndMillimetresMatchTheGoldenFiles)
{
    const struct {
        DxfUnit unit;
        const char* golden;
    } cases[] = {{DxfUnit::Metres, "viewer/dxf3d_m.dxf"}, {DxfUnit::Millimetres, "viewer/dxf3d_mm.dxf"}};
    for (const auto& c : cases) {
        const std::string want = test::ReadFile(DataFile(c.golden));
        const std::string got = BuildDxf3d(doc, 1, 9, c.unit);
        EXPECT_EQ(got, want) << c.golden;
        if (got != want) {
            test::WriteFile(std::string("got_") + (c.unit == DxfUnit::Metres ? "m" : "mm") + ".dxf", got);
        }
    }
}

TEST_F(GoldenDoc, TheBytesDoNotChangeWithAGermanLocale)
{
    const std::string before = BuildDxf3d(doc, 1, 9, DxfUnit::Metres);
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (scripts/install-deps.sh makes it)";
    }
    const std::string german = BuildDxf3d(doc, 1, 9, DxfUnit::Metres);
    CReliefscopeDoc reread;
    const bool opened = reread.OnOpenDocument(DataFile("viewer/dxf3d_input.qsona"));
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(german, before);
    ASSERT_TRUE(opened);
    EXPECT_DOUBLE_EQ(reread.DataBox().lonMax, doc.DataBox().lonMax);
}

TEST_F(GoldenDoc, LowTideLinesJoinWithTheSwitchOn)
{
    doc.SetLowTide(true);
    const std::string text = BuildDxf3d(doc, 1, 9, DxfUnit::Metres);
    EXPECT_NE(text.find("  8\r\nH-1_5\r\n"), std::string::npos);
    EXPECT_NE(text.find("  2\r\nH-1_5\r\n"), std::string::npos);
    EXPECT_NE(text.find(" 30\r\n-1.500000\r\n"), std::string::npos);
}

TEST(Dxf3dRules, RoundingLayersAndSort)
{
    const struct {
        double value;
        double rounded;
        const char* layer;
    } cases[] = {
        {9.95, 10.0, "H10_0"}, {0.05, 0.1, "H0_1"},  {5.04, 5.0, "H5_0"},  {4.96, 5.0, "H5_0"},
        {12.5, 12.5, "H12_5"}, {3.0, 3.0, "H3_0"},   {-0.04, 0.0, "H0_0"}, {-1.25, -1.3, "H-1_3"},
        {0.0, 0.0, "H0_0"},    {1234.56, 1234.6, "H1234_6"},
    };
    for (const auto& c : cases) {
        const double r = RoundTo(c.value, 1);
        EXPECT_EQ(r, c.rounded) << c.value;
        EXPECT_FALSE(std::signbit(r) && r == 0.0) << c.value << " rounds to -0.0";
        EXPECT_EQ(DepthLayerName(r), c.layer) << c.value;
    }

    std::vector<double> values = {5.0, 9999.0, -1.0, 5.0, 3.2, 9999.0, 0.0, 12.5, 3.2, 1.0, 7.0, 2.0, 8.0, 4.0};
    std::vector<int> index(values.size());
    for (std::size_t i = 0; i < index.size(); ++i) {
        index[i] = static_cast<int>(i);
    }
    CombSortIndex(values, index);
    for (std::size_t i = 1; i < index.size(); ++i) {
        EXPECT_LE(values[static_cast<std::size_t>(index[i - 1])], values[static_cast<std::size_t>(index[i])]);
    }
}

TEST(Dxf3dRules, AnAreaThatIsALineAfterClippingWritesAFiniteRatio)
{
    CReliefscopeDoc doc;
    ASSERT_TRUE(OpenText(doc, Join({Rec('N', "00001", 35.00, 139.00, 1), Rec('N', "00002", 35.05, 139.05, 1)})));
    // The area touches the data only at its north-east corner: the clipped extents are
    // a point, and the larger span over the smaller would be 0 / 0.
    doc.SetArea({35.05, 139.05, 35.1, 139.2});
    const std::string text = BuildDxf3d(doc, 1, 9, DxfUnit::Metres);
    EXPECT_NE(text.find(" 41\r\n1.000000\r\n"), std::string::npos);
    EXPECT_EQ(text.find("inf"), std::string::npos);
    EXPECT_EQ(text.find("nan"), std::string::npos);
}

struct DxfCommand : ::testing::Test {
    ScriptedUi ui;
    ScopedUi scope{&ui};
    CReliefscopeDoc doc;
    test::ScriptedPrompts prompts;
};

TEST_F(DxfCommand, NoAreaOrNoKnownDatumGivesAMessageBeforeAnyQuestion)
{
    ASSERT_TRUE(OpenText(doc, Join({"header line, no datum", Rec('N', "00001", 35.0, 139.0, 1, "    1.0", 'M', '3'),
                                    Rec('N', "00002", 35.05, 139.05, 1, "    1.0", 'M', '1')})));
    prompts.file = "cmd.dxf";
    EXPECT_EQ(OnOutput3dDxf(doc, prompts), OutputResult::NoArea);
    doc.SetArea({34.9, 138.9, 35.1, 139.1});
    EXPECT_EQ(OnOutput3dDxf(doc, prompts), OutputResult::UnknownDatum);
    const auto messages = ui.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "領域を設定してください。");
    EXPECT_EQ(messages[0].caption, "3D DXF");
    EXPECT_EQ(messages[1].caption, "3D DXF");
    EXPECT_EQ(prompts.fileQuestions, 0);
    EXPECT_FALSE(FileExists("cmd.dxf"));

    // The datum comes from the first point record, not from the header line.
    ASSERT_TRUE(OpenText(doc, Join({"header line, no datum", Rec('N', "00001", 35.0, 139.0, 1, "    1.0", 'M', '2'),
                                    Rec('N', "00002", 35.05, 139.05, 1, "    1.0", 'M', '1')})));
    EXPECT_EQ(FileEllipsoid(doc), 2);
    prompts.dxfOk = false;
    EXPECT_EQ(OnOutput3dDxf(doc, prompts), OutputResult::Cancelled);
    EXPECT_EQ(prompts.dxfQuestions, 1);
    EXPECT_FALSE(FileExists("cmd.dxf"));
    prompts.dxfOk = true;
    EXPECT_EQ(OnOutput3dDxf(doc, prompts), OutputResult::Written);
    EXPECT_TRUE(FileExists("cmd.dxf"));

    prompts.file = "missing_folder/cmd.dxf";
    ui.Clear();
    EXPECT_EQ(OnOutput3dDxf(doc, prompts), OutputResult::WriteFailed);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].caption, "DXF");
    EXPECT_NE(ui.Messages()[0].text.find("missing_folder/cmd.dxf"), std::string::npos);
}

TEST(DxfZoneItems, NineteenRomanNumeralsAsListed)
{
    const auto& items = CDxfOutputDlg::ZoneItems();
    ASSERT_EQ(items.size(), 19u);
    EXPECT_EQ(items[0], "\u2160");
    EXPECT_EQ(items[9], "\u2169");
    EXPECT_EQ(items[10], "\u2169\u2160");  // two characters: CP932 has no XI
    EXPECT_EQ(items[18], "\u2169\u2168");
    for (const std::string& s : items) {
        EXPECT_EQ(Utf8ToCp932(s).find('?'), std::string::npos) << s;  // all exist in CP932
    }
}

TEST_F(GoldenDoc, GoldenFilesReadBackWithEzdxfAndAgreeWithCs2cs)
{
    CheckWithEzdxf(DataFile("viewer/dxf3d_m.dxf"), DataFile("viewer/dxf3d_input.qsona"), 9, "m", 9, 21);
    CheckWithEzdxf(DataFile("viewer/dxf3d_mm.dxf"), DataFile("viewer/dxf3d_input.qsona"), 9, "mm", 9, 21);
}

TEST(Dxf3dReadBack, TheExampleBayOnBothDatumsAgreesWithCs2cs)
{
    ScriptedUi ui;
    ScopedUi scope(&ui);
    std::string bay = test::ReadFile(test::SourceFile("examples/smallbay/SMALLBAY.DAT"));
    const struct {
        char datum;
        int zoneIndex;
        int unit;
        const char* unitName;
    } cases[] = {{'1', 8, 1, "m"}, {'2', 8, 0, "mm"}, {'2', 9, 1, "m"}};
    for (const auto& c : cases) {
        // The same bay on the given datum: column 59 of every record.
        std::string text = bay;
        for (std::size_t p = 0; p < text.size();) {
            const std::size_t nl = text.find('\n', p);
            if (nl - p > 60 && text[p] != '*') {
                text[p + 59] = c.datum;
            }
            p = nl + 1;
        }
        const std::string input = std::string("bay") + c.datum + ".qsona";
        CReliefscopeDoc doc;
        ASSERT_TRUE(OpenText(doc, text, input));
        const GeoBox& box = doc.DataBox();
        // The middle of the bay: coast, low-tide and depth lines all cross its border.
        doc.SetArea({box.latMin + 0.3 * box.LatSpan(), box.lonMin + 0.2 * box.LonSpan(),
                     box.latMax - 0.1 * box.LatSpan(), box.lonMax - 0.2 * box.LonSpan()});
        doc.SetLowTide(true);
        test::ScriptedPrompts prompts;
        prompts.file = std::string("bay") + c.datum + c.unitName + ".dxf";
        prompts.unit = c.unit;
        prompts.zoneIndex = c.zoneIndex;
        ASSERT_EQ(OnOutput3dDxf(doc, prompts), OutputResult::Written);
        const std::string written = test::ReadFile(*prompts.file);
        const int polylines = Count(written, "\r\nPOLYLINE\r\n");
        const int vertices = Count(written, "\r\nVERTEX\r\n");
        EXPECT_GT(polylines, 8);
        CheckWithEzdxf(*prompts.file, input, c.zoneIndex + 1, c.unitName, polylines, vertices);
    }
}

}  // namespace
}  // namespace wv
