// Q-SONA records: fixed columns, the lines that are not records, how points join into
// lines, and renumbering that leaves every other byte alone.

#include "geoconv/qsona_record.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace wv {
namespace {

// A record laid out column by column: type, point number, depth, latitude, longitude,
// depth unit, line number, datum; blanks elsewhere.
std::string MakeRecord(char type, const std::string& point, const std::string& depth,
                       char unit, int line, char datum = '1',
                       const std::string& latitude = " 35.12345",
                       const std::string& longitude = " 139.54321")
{
    std::string r(60, ' ');
    r[0] = type;
    r.replace(5, 5, point);
    r.replace(10, 7, depth);
    r.replace(17, 9, latitude);
    r.replace(26, 10, longitude);
    r[47] = unit;
    r.replace(50, 8, Sprintf("%8d", line));
    r[59] = datum;
    return r;
}

QsonaRecord Point(const std::string& line)
{
    QsonaLine read = ReadQsonaLine(line);
    EXPECT_TRUE(read.IsPoint()) << line;
    return *read.record;
}

TEST(QsonaRead, FieldsComeFromTheirColumnsAndFathomsBecomeMetres)
{
    const std::string text = MakeRecord('N', "00042", "   12.5", 'M', 17, '2');
    const QsonaRecord r = Point(text);
    EXPECT_EQ(r.Text(), text);
    EXPECT_EQ(r.Type(), QsonaType::DepthLine);
    EXPECT_FALSE(r.HasZeroPointNumber());
    EXPECT_DOUBLE_EQ(r.Depth(), 12.5);
    EXPECT_DOUBLE_EQ(r.DepthMetres(), 12.5);
    EXPECT_DOUBLE_EQ(r.Latitude(), 35.12345);
    EXPECT_DOUBLE_EQ(r.Longitude(), 139.54321);
    EXPECT_EQ(r.LineNumber(), 17);
    EXPECT_EQ(r.Datum(), '2');
    EXPECT_EQ(r.EllipsoidCode(), 2);

    EXPECT_EQ(Point(MakeRecord('L', "00001", "    0.0", 'M', 1, '1')).EllipsoidCode(), 1);
    EXPECT_EQ(Point(MakeRecord('L', "00001", "    0.0", 'M', 1, '3')).EllipsoidCode(), std::nullopt);
    EXPECT_EQ(Point(MakeRecord('M', "00001", "    0.0", 'M', 1)).Type(), QsonaType::LowTideLine);
    // Depths not marked as metres are fathoms.
    EXPECT_DOUBLE_EQ(Point(MakeRecord('N', "00001", "   12.5", 'F', 1)).DepthMetres(), 22.86);
    EXPECT_DOUBLE_EQ(Point(MakeRecord('N', "00001", "   12.0", ' ', 1)).DepthMetres(), 21.9456);
    EXPECT_DOUBLE_EQ(Point(MakeRecord('N', "00001", "   12.0", 'M', 1)).DepthMetres(), 12.0);
}

TEST(QsonaRead, NumbersReadLikeTheCRuntimeWithinTheirColumnsOnly)
{
    // The depth field ends at column 16: the 9 in column 17 belongs to the latitude.
    std::string text = MakeRecord('N', "00001", "   -3.5", 'M', 1, '1', "9        ", "  1.5e1   ");
    text.replace(50, 8, " 12ab   ");
    const QsonaRecord r = Point(text);
    EXPECT_DOUBLE_EQ(r.Depth(), -3.5);
    EXPECT_DOUBLE_EQ(r.Latitude(), 9.0);
    EXPECT_DOUBLE_EQ(r.Longitude(), 15.0);
    EXPECT_EQ(r.LineNumber(), 12);

    const QsonaRecord blank = Point(MakeRecord('N', "00001", "       ", 'M', 1));
    EXPECT_EQ(blank.Depth(), 0.0);
}

TEST(QsonaRead, BlankShortAndHeaderLinesAreNotRecords)
{
    struct Case {
        std::string line;
        QsonaLineKind kind;
    };
    std::string header = MakeRecord('N', "00001", "    1.0", 'M', 1);
    header[0] = 'H';
    std::string other = MakeRecord('X', "00001", "    1.0", 'M', 1);
    const std::vector<Case> cases = {
        {"", QsonaLineKind::Blank},
        {"\r\n", QsonaLineKind::Blank},
        {std::string(70, ' '), QsonaLineKind::Blank},
        {" \t  ", QsonaLineKind::Blank},
        {MakeRecord('N', "00001", "    1.0", 'M', 1).substr(0, 59), QsonaLineKind::TooShort},
        {"Q-SONA DATA 2003", QsonaLineKind::TooShort},
        {header, QsonaLineKind::NotAPoint},
        {other, QsonaLineKind::NotAPoint},
        {" " + MakeRecord('N', "00001", "    1.0", 'M', 1), QsonaLineKind::NotAPoint},
    };
    for (const Case& c : cases) {
        const QsonaLine read = ReadQsonaLine(c.line);
        EXPECT_EQ(read.kind, c.kind) << "[" << c.line << "]";
        EXPECT_FALSE(read.record.has_value()) << "[" << c.line << "]";
    }
}

TEST(QsonaRead, LineEndsAreNotKept)
{
    const std::string text = MakeRecord('L', "00001", "    0.0", 'M', 1);
    EXPECT_EQ(Point(text + "\r\n").Text(), text);
    EXPECT_EQ(Point(text + "\n").Text(), text);
    EXPECT_EQ(Point(text + "\r").Text(), text);
}

TEST(QsonaLines, PointsJoinByTypeAndLineNumber)
{
    const QsonaRecord n7 = Point(MakeRecord('N', "00010", "    5.0", 'M', 7));
    EXPECT_EQ(LinkBetween(n7, Point(MakeRecord('N', "00011", "    5.0", 'M', 7))), QsonaLink::SameLine);
    // "00000" on the same line is an ordinary point of that line.
    EXPECT_EQ(LinkBetween(n7, Point(MakeRecord('N', "00000", "    5.0", 'M', 7))), QsonaLink::SameLine);
    // "00000" under the next line number repeats the last point: the line goes on.
    EXPECT_EQ(LinkBetween(n7, Point(MakeRecord('N', "00000", "    5.0", 'M', 8))), QsonaLink::Continuation);
    EXPECT_EQ(LinkBetween(n7, Point(MakeRecord('N', "00012", "    5.0", 'M', 8))), QsonaLink::NewLine);
    // Only the exact text "00000" marks a continuation, not any field that reads as 0.
    EXPECT_EQ(LinkBetween(n7, Point(MakeRecord('N', "    0", "    5.0", 'M', 8))), QsonaLink::NewLine);
    // A change of type ends the line even under the same line number ('N' to 'M'), and a
    // continuation mark does not carry a line across types.
    EXPECT_EQ(LinkBetween(n7, Point(MakeRecord('M', "00011", "    5.0", 'M', 7))), QsonaLink::NewLine);
    EXPECT_EQ(LinkBetween(n7, Point(MakeRecord('L', "00000", "    5.0", 'M', 8))), QsonaLink::NewLine);
}

TEST(QsonaWrite, RenumberingReplacesOnlyTheTwoNumberFields)
{
    std::string text = MakeRecord('N', "00001", "   12.5", 'F', 1) + "\x95\x5C\x8E\xA6 \xB6\xB2";
    text.replace(1, 4, "ABCD");
    text[58] = '\x95';  // a CP932 lead byte right beside the line number
    const std::string out = RenumberQsonaRecord(Point(text), 99999, 12345678);
    std::string expected = text;
    expected.replace(5, 5, "99999");
    expected.replace(50, 8, "12345678");
    EXPECT_EQ(out, expected);
    EXPECT_EQ(RenumberQsonaRecord(Point(text), 0, -1).substr(5, 5), "00000");
    EXPECT_EQ(RenumberQsonaRecord(Point(text), 0, -1).substr(50, 8), "      -1");

    EXPECT_THROW(RenumberQsonaRecord(Point(text), 100000, 1), std::out_of_range);
    EXPECT_THROW(RenumberQsonaRecord(Point(text), -1, 1), std::out_of_range);
    EXPECT_THROW(RenumberQsonaRecord(Point(text), 1, 123456789), std::out_of_range);
}

TEST(QsonaWrite, The99999thPointIsWrittenTwiceAndNumberingGoesOn)
{
    const QsonaRecord r = Point(MakeRecord('N', "00001", "    5.0", 'M', 1));
    QsonaNumbering numbering;
    numbering.Restart();
    numbering.StartLine();
    for (int i = 1; i < 99998; ++i) {
        numbering.NextPoint();
    }
    numbering.StartLine();  // the run is on line 2 when point 99999 comes
    TextWriter out;
    WriteQsonaPoint(out, r, numbering);  // point 99998
    WriteQsonaPoint(out, r, numbering);  // point 99999, twice
    WriteQsonaPoint(out, r, numbering);  // point 1 of line 3
    LineReader reader(out.Text());
    std::vector<std::string> lines;
    for (std::string line; reader.Next(line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 4u);
    const std::pair<const char*, const char*> expected[] = {
        {"99998", "       2"}, {"99999", "       2"}, {"00000", "       3"}, {"00001", "       3"}};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].substr(5, 5), expected[i].first) << i;
        EXPECT_EQ(lines[i].substr(50, 8), expected[i].second) << i;
    }
    // What was written reads back as a continuation of line 2.
    EXPECT_EQ(LinkBetween(Point(lines[1]), Point(lines[2])), QsonaLink::Continuation);

    numbering.Restart();  // a new record type starts again at line 1, point 1
    numbering.StartLine();
    const QsonaPointNumbers first = numbering.NextPoint();
    EXPECT_EQ(first.numbers.point, 1);
    EXPECT_EQ(first.numbers.line, 1);
    EXPECT_FALSE(first.repeat.has_value());
}

// A file as the viewer's area output writes it, built byte by byte from the layout: reading
// it and writing its points again with fresh numbering gives the same bytes.
TEST(QsonaWrite, WrittenFileRoundTripsByteForByte)
{
    std::string original;
    std::string err;
    ASSERT_TRUE(ReadWholeFile(std::string(WAVORA_TEST_DATA) + "/geoconv/renumbered.qsona", original, &err))
        << err;

    LineReader reader(original);
    TextWriter out;
    QsonaNumbering numbering;
    std::optional<QsonaRecord> previous;
    int points = 0;
    for (std::string line; reader.Next(line);) {
        const QsonaLine read = ReadQsonaLine(line);
        ASSERT_TRUE(read.IsPoint()) << line;
        const QsonaRecord& r = *read.record;
        if (!previous || r.Type() != previous->Type()) {
            numbering.Restart();
        }
        if (!previous || LinkBetween(*previous, r) == QsonaLink::NewLine) {
            numbering.StartLine();
        }
        WriteQsonaPoint(out, r, numbering);
        previous = r;
        ++points;
    }
    EXPECT_EQ(points, 12);
    EXPECT_EQ(out.Text(), original);
    // The code page 932 text beyond the fields (a trail byte 0x5C among it) came through.
    EXPECT_NE(out.Text().find("\x95\x5C\x8E\xA6"), std::string::npos);
}

}  // namespace
}  // namespace wv
