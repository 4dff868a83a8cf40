#include "geoconv/qsona_record.h"
#include "geoconv/geoconv_messages.h"

#include <stdexcept>

#include "platform/text.h"

namespace wv {

namespace {

std::string_view Field(std::string_view text, std::size_t column, std::size_t width)
{
    return text.substr(column, width);
}

bool IsBlankLine(std::string_view text)
{
    for (char ch : text) {
        if (ch != ' ' && ch != '\t') {
            return false;
        }
    }
    return true;
}

bool IsLineType(char ch)
{
    return ch == static_cast<char>(QsonaType::Coastline) || ch == static_cast<char>(QsonaType::DepthLine) ||
           ch == static_cast<char>(QsonaType::LowTideLine);
}

void Replace(std::string& text, std::size_t column, std::size_t width, const std::string& value)
{
    // Callers format exactly `width` characters; a wider value would move later columns.
    if (value.size() != width) {
        throw std::out_of_range(geomsg::kQsonaFieldOverflow);
    }
    text.replace(column, width, value);
}

}  // namespace

double QsonaRecord::DepthMetres() const
{
    return m_depthUnit == 'M' ? m_depth : m_depth * qsona::kMetresPerFathom;
}

std::optional<int> QsonaRecord::EllipsoidCode() const
{
    switch (m_datum) {
    case '1':
        return 1;
    case '2':
        return 2;
    default:
        return std::nullopt;
    }
}

QsonaLineKind ClassifyQsonaLine(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    if (IsBlankLine(line)) {
        return QsonaLineKind::Blank;
    }
    if (line.size() < qsona::kMinRecordLength) {
        return QsonaLineKind::TooShort;
    }
    if (!IsLineType(line[qsona::kTypeColumn])) {
        return QsonaLineKind::NotAPoint;
    }
    return QsonaLineKind::Point;
}

QsonaLine ReadQsonaLine(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }

    QsonaLine result;
    result.kind = ClassifyQsonaLine(line);
    if (result.kind != QsonaLineKind::Point) {
        return result;
    }

    using namespace qsona;
    QsonaRecord rec;
    rec.m_text.assign(line);
    rec.m_type = static_cast<QsonaType>(line[kTypeColumn]);
    rec.m_zeroPointNumber = Field(line, kPointNumberColumn, kPointNumberWidth) == "00000";
    rec.m_depth = WinAtof(Field(line, kDepthColumn, kDepthWidth));
    rec.m_depthUnit = line[kDepthUnitColumn];
    rec.m_latitude = WinAtof(Field(line, kLatitudeColumn, kLatitudeWidth));
    rec.m_longitude = WinAtof(Field(line, kLongitudeColumn, kLongitudeWidth));
    rec.m_lineNumber = WinAtoi(Field(line, kLineNumberColumn, kLineNumberWidth));
    rec.m_datum = line[kDatumColumn];

    result.kind = QsonaLineKind::Point;
    result.record = std::move(rec);
    return result;
}

QsonaLink LinkBetween(const QsonaRecord& previous, const QsonaRecord& current)
{
    if (current.Type() != previous.Type()) {
        return QsonaLink::NewLine;
    }
    if (current.LineNumber() == previous.LineNumber()) {
        return QsonaLink::SameLine;
    }
    return current.HasZeroPointNumber() ? QsonaLink::Continuation : QsonaLink::NewLine;
}

std::string RenumberQsonaRecord(const QsonaRecord& record, int pointNumber, int lineNumber)
{
    using namespace qsona;
    if (pointNumber < 0 || pointNumber > kMaxPointNumber) {
        throw std::out_of_range(geomsg::kQsonaPointNumberRange);
    }
    std::string text = record.Text();
    Replace(text, kPointNumberColumn, kPointNumberWidth, Sprintf("%05d", pointNumber));
    Replace(text, kLineNumberColumn, kLineNumberWidth, Sprintf("%8d", lineNumber));
    return text;
}

void QsonaNumbering::Restart()
{
    m_point = 0;
    m_line = 0;
}

void QsonaNumbering::StartLine()
{
    ++m_line;
}

QsonaPointNumbers QsonaNumbering::NextPoint()
{
    QsonaPointNumbers out;
    ++m_point;
    out.numbers = {m_point, m_line};
    if (m_point == qsona::kMaxPointNumber) {
        m_point = 0;
        ++m_line;
        out.repeat = QsonaNumbers{m_point, m_line};
    }
    return out;
}

void WriteQsonaPoint(TextWriter& out, const QsonaRecord& record, QsonaNumbering& numbering)
{
    const QsonaPointNumbers n = numbering.NextPoint();
    // Both texts are made before either is written, so a number that does not fit
    // leaves the output as it was.
    const std::string first = RenumberQsonaRecord(record, n.numbers.point, n.numbers.line);
    const std::string repeat = n.repeat ? RenumberQsonaRecord(record, n.repeat->point, n.repeat->line)
                                        : std::string();
    out.Line(first);
    if (n.repeat) {
        out.Line(repeat);
    }
}

}  // namespace wv
