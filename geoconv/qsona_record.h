// Q-SONA bathymetry records: one fixed-column text line per point of a coastline, a
// depth line or a low-tide line. The bathymetry importer of the project editor and the
// viewer read them; the viewer writes them back renumbered.
//
// Columns are byte columns counted from 0. A record is kept as the bytes that came from
// the file (code page 932 included) so that a record written back unchanged is
// byte-identical; only the point number and the line number are ever rewritten.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace wv {

class TextWriter;

namespace qsona {

// Field positions (first column, width) of the fields the system reads or rewrites.
inline constexpr std::size_t kTypeColumn = 0;
inline constexpr std::size_t kPointNumberColumn = 5;
inline constexpr std::size_t kPointNumberWidth = 5;
inline constexpr std::size_t kDepthColumn = 10;
inline constexpr std::size_t kDepthWidth = 7;
inline constexpr std::size_t kLatitudeColumn = 17;
inline constexpr std::size_t kLatitudeWidth = 9;
inline constexpr std::size_t kLongitudeColumn = 26;
inline constexpr std::size_t kLongitudeWidth = 10;
inline constexpr std::size_t kDepthUnitColumn = 47;
inline constexpr std::size_t kLineNumberColumn = 50;
inline constexpr std::size_t kLineNumberWidth = 8;
inline constexpr std::size_t kDatumColumn = 59;

// A record reaches at least the datum column; anything shorter is not a record.
inline constexpr std::size_t kMinRecordLength = kDatumColumn + 1;

// Depths whose unit column is not 'M' are in fathoms.
inline constexpr double kMetresPerFathom = 1.8288;

// Largest point number that fits the five-digit field.
inline constexpr int kMaxPointNumber = 99999;

}  // namespace qsona

// Record type in column 0.
enum class QsonaType : char {
    Coastline = 'L',
    DepthLine = 'N',
    LowTideLine = 'M',
};

// What one line of a Q-SONA file is.
enum class QsonaLineKind {
    Point,      // a point of a coastline, depth line or low-tide line
    Blank,      // empty, or blanks and tabs only
    TooShort,   // text that ends before the datum column: not a record
    NotAPoint,  // full length, but column 0 holds no line type: a header, comment or
                // record of another kind; it carries no position and never ends a line
};

struct QsonaLine;

// One point record as read from a file.
class QsonaRecord {
public:
    // The line as read, without its line end.
    const std::string& Text() const { return m_text; }

    QsonaType Type() const { return m_type; }

    // Columns 5-9 hold exactly "00000". Only this form of the point number matters:
    // it marks a continuation record when the line number changes (see LinkBetween).
    bool HasZeroPointNumber() const { return m_zeroPointNumber; }

    // Depth as written (columns 10-16), in the unit of column 47.
    double Depth() const { return m_depth; }
    char DepthUnit() const { return m_depthUnit; }
    // Depth in metres: as written when the unit is 'M', otherwise fathoms x 1.8288.
    double DepthMetres() const;

    // Decimal degrees north (columns 17-25) and east (columns 26-35).
    double Latitude() const { return m_latitude; }
    double Longitude() const { return m_longitude; }

    // Columns 50-57.
    int LineNumber() const { return m_lineNumber; }

    // Column 59: '1' GRS80, '2' Bessel.
    char Datum() const { return m_datum; }
    // The Meshgate ellipsoid code of the datum: 1 for '1', 2 for '2', none for any other
    // character (a file whose first record has none cannot be converted).
    std::optional<int> EllipsoidCode() const;

private:
    friend QsonaLine ReadQsonaLine(std::string_view line);
    QsonaRecord() = default;

    std::string m_text;
    QsonaType m_type = QsonaType::Coastline;
    bool m_zeroPointNumber = false;
    double m_depth = 0.0;
    char m_depthUnit = ' ';
    double m_latitude = 0.0;
    double m_longitude = 0.0;
    int m_lineNumber = 0;
    char m_datum = ' ';
};

// The result of reading one line: a record exactly when kind is Point.
struct QsonaLine {
    QsonaLineKind kind = QsonaLineKind::Blank;
    std::optional<QsonaRecord> record;

    bool IsPoint() const { return kind == QsonaLineKind::Point; }
};

// What a line is, without reading its fields (for readers that keep the bytes and parse
// only some columns, such as the viewer's document of a million records).
QsonaLineKind ClassifyQsonaLine(std::string_view line);

// Reads one line of a Q-SONA file (a trailing CR or LF is dropped). Numeric fields are
// read from exactly their columns as the C runtime's atof/atoi would: leading blanks
// skipped, the number ends where it cannot go on, a field without a number reads 0.
QsonaLine ReadQsonaLine(std::string_view line);

// How a point relates to the point before it in the file (lines that are not points are
// passed over by the caller; they neither join nor split lines).
enum class QsonaLink {
    SameLine,      // same type and line number: the two points are joined
    Continuation,  // same type, another line number, point number "00000": the record
                   // repeats the previous point under the next line number, and the
                   // polyline goes on through it
    NewLine,       // a change of type, or another line number: a new polyline begins
};

QsonaLink LinkBetween(const QsonaRecord& previous, const QsonaRecord& current);

// A copy of the record's text with columns 5-9 replaced by the point number ("%05d")
// and columns 50-57 by the line number ("%8d"); every other byte is kept. Throws
// std::out_of_range when a number does not fit its field (point 0 to 99999, line
// -9999999 to 99999999), rather than shifting the columns after it.
std::string RenumberQsonaRecord(const QsonaRecord& record, int pointNumber, int lineNumber);

// The point and line number under which one record is written.
struct QsonaNumbers {
    int point = 0;
    int line = 0;
};

// The numbers under which the next point is written: usually one pair. When the point
// number reaches 99999, the same point is written a second time as point 0 of the next
// line (a continuation record), and numbering goes on from 1 on that line.
struct QsonaPointNumbers {
    QsonaNumbers numbers;
    std::optional<QsonaNumbers> repeat;
};

// Numbering of the records a writer emits. Line numbers run 1, 2, 3 ... and point numbers
// run on from line to line; both start again only at a change of record type.
class QsonaNumbering {
public:
    // A change of record type: the next line is line 1 and its first point is point 1.
    void Restart();
    // The next point begins a new line.
    void StartLine();
    // Numbers for the next point.
    QsonaPointNumbers NextPoint();

private:
    int m_point = 0;
    int m_line = 0;
};

// Writes the record as the next point: once, or twice when its point number reaches
// 99999 (see QsonaPointNumbers). Each line ends in CR LF.
void WriteQsonaPoint(TextWriter& out, const QsonaRecord& record, QsonaNumbering& numbering);

}  // namespace wv
