// The viewer's document: what a file holds once opened, what a refused file leaves.

#include "viewer/reliefscope_doc.h"
#include "viewer_test_support.h"

namespace wv {
namespace {

using test::Join;
using test::OpenText;
using test::Rec;

TEST(ReliefscopeDoc, KeepsEveryLineAsBytesWithItsColumns)
{
    ScriptedUi ui;
    ScopedUi scope(&ui);
    const std::vector<std::string> lines = {
        "HEADER: a comment line with nothing in the number columns",
        Rec('L', "00001", 35.1, 139.6, 1),
        "",
        Rec('X', "00000", 10.0, 120.0, 7),
        Rec('N', "00002", 35.3, 139.9, 42),
        "N short line",
    };
    CReliefscopeDoc doc;
    ASSERT_TRUE(OpenText(doc, Join(lines)));
    ASSERT_EQ(doc.Count(), 6);
    for (int i = 0; i < doc.Count(); ++i) {
        EXPECT_EQ(doc.Line(i), lines[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(doc.PointType(0), 0);
    EXPECT_EQ(doc.PointType(1), 'L');
    EXPECT_EQ(doc.PointType(2), 0);
    EXPECT_EQ(doc.PointType(3), 0);  // kept, but not a point of a line
    EXPECT_EQ(doc.PointType(4), 'N');
    EXPECT_EQ(doc.PointType(5), 0);  // ends before the datum column
    EXPECT_DOUBLE_EQ(doc.Latitude(4), 35.3);
    EXPECT_DOUBLE_EQ(doc.Longitude(4), 139.9);
    EXPECT_EQ(doc.LineNumber(4), 42);
    EXPECT_EQ(doc.LineNumber(3), 7);  // every line is parsed, whatever its type
    EXPECT_TRUE(doc.HasZeroPointNumber(3));
    EXPECT_FALSE(doc.HasZeroPointNumber(4));
    EXPECT_EQ(doc.FirstPointRecord(), 1);

    // Only point records make the box: neither the header (0, 0) nor the 'X' record.
    EXPECT_DOUBLE_EQ(doc.DataBox().latMin, 35.1);
    EXPECT_DOUBLE_EQ(doc.DataBox().latMax, 35.3);
    EXPECT_DOUBLE_EQ(doc.DataBox().lonMin, 139.6);
    EXPECT_DOUBLE_EQ(doc.DataBox().lonMax, 139.9);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(ReliefscopeDoc, LineEndsCrLfOrLfAndALastLineWithoutOneReadTheSame)
{
    const std::vector<std::string> lines = {Rec('N', "00001", 35.0, 139.0, 1), Rec('N', "00002", 35.5, 139.5, 1)};
    CReliefscopeDoc crlf;
    CReliefscopeDoc lf;
    CReliefscopeDoc open;
    ASSERT_TRUE(OpenText(crlf, Join(lines, "\r\n"), "a"));
    ASSERT_TRUE(OpenText(lf, Join(lines, "\n"), "b"));
    ASSERT_TRUE(OpenText(open, lines[0] + "\r\n" + lines[1], "c"));
    for (const CReliefscopeDoc* d : {&crlf, &lf, &open}) {
        ASSERT_EQ(d->Count(), 2);
        EXPECT_EQ(d->Line(0), lines[0]);
        EXPECT_EQ(d->Line(1), lines[1]);
        EXPECT_DOUBLE_EQ(d->DataBox().lonMax, 139.5);
    }
}

TEST(ReliefscopeDoc, AFileRefusedLeavesThePreviousDataAndSaysWhy)
{
    ScriptedUi ui;
    ScopedUi scope(&ui);
    CReliefscopeDoc doc;
    ASSERT_TRUE(OpenText(doc, Join({Rec('N', "00001", 35.0, 139.0, 1), Rec('N', "00002", 35.5, 139.5, 1)}), "good"));
    doc.SetArea({35.1, 139.1, 35.2, 139.2});

    const struct {
        const char* name;
        std::string bytes;
    } bad[] = {
        {"one_line", Rec('N', "00001", 1.0, 1.0, 1) + "\r\n"},
        {"one_line_open", Rec('N', "00001", 1.0, 1.0, 1)},
        {"empty", ""},
    };
    for (const auto& b : bad) {
        ui.Clear();
        EXPECT_FALSE(OpenText(doc, b.bytes, b.name)) << b.name;
        ASSERT_EQ(ui.Messages().size(), 1u) << b.name;
        EXPECT_NE(ui.Messages()[0].text.find(b.name), std::string::npos);
        EXPECT_EQ(doc.Count(), 2);
        EXPECT_EQ(doc.GetPathName(), "good");
        EXPECT_DOUBLE_EQ(doc.DataBox().lonMax, 139.5);
        EXPECT_DOUBLE_EQ(doc.Area().latMin, 35.1);
    }
    ui.Clear();
    EXPECT_FALSE(doc.OnOpenDocument("no/such/file"));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(ui.Messages()[0].text.find("no/such/file"), std::string::npos);
    EXPECT_EQ(doc.Count(), 2);
}

TEST(ReliefscopeDoc, ReopeningKeepsTheAreaAndTheLowTideSwitch)
{
    CReliefscopeDoc doc;
    ASSERT_TRUE(OpenText(doc, Join({Rec('N', "00001", 35.0, 139.0, 1), Rec('N', "00002", 35.5, 139.5, 1)}), "a"));
    doc.SetArea({35.1, 139.1, 35.2, 139.2});
    doc.SetLowTide(true);
    ASSERT_TRUE(OpenText(doc, Join({Rec('L', "00001", 30.0, 130.0, 1), Rec('L', "00002", 30.5, 130.5, 1)}), "b"));
    EXPECT_TRUE(doc.LowTide());
    EXPECT_DOUBLE_EQ(doc.Area().lonMax, 139.2);
    EXPECT_DOUBLE_EQ(doc.DataBox().latMin, 30.0);
}

TEST(ReliefscopeDoc, AFileWithoutPointsHasAnEmptyBox)
{
    CReliefscopeDoc doc;
    ASSERT_TRUE(OpenText(doc, "header one\r\nheader two\r\n"));
    EXPECT_EQ(doc.FirstPointRecord(), -1);
    EXPECT_EQ(doc.DataBox().latMin, 0.0);
    EXPECT_EQ(doc.DataBox().lonMax, 0.0);
}

TEST(ReliefscopeDoc, TheExampleBayOpens)
{
    CReliefscopeDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(test::SourceFile("examples/smallbay/SMALLBAY.DAT")));
    EXPECT_GT(doc.Count(), 500);
    EXPECT_EQ(doc.PointType(0), 0);  // the header
    EXPECT_EQ(doc.PointType(1), 'L');
    EXPECT_NEAR(doc.DataBox().latMin, 34.96, 0.02);
    EXPECT_NEAR(doc.DataBox().lonMax, 139.883, 0.01);
}

}  // namespace
}  // namespace wv
