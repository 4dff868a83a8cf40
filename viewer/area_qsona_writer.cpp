#include "viewer/area_qsona_writer.h"

#include "geoconv/qsona_record.h"
#include "platform/text.h"

namespace wv {

namespace {

void WritePoint(TextWriter& out, const CReliefscopeDoc& doc, int index, QsonaNumbering& numbering)
{
    const QsonaLine line = ReadQsonaLine(doc.Line(index));
    WriteQsonaPoint(out, *line.record, numbering);
}

}  // namespace

std::string BuildAreaQsona(const CReliefscopeDoc& doc, AreaLines* lines)
{
    TextWriter out;
    QsonaNumbering numbering;
    const GeoBox& area = doc.Area();
    if (lines) {
        lines->clear();
    }

    // The previous point record, inside the area or not: a point joins, continues or
    // starts a line by the point before it in the file, as readers see it, and not by
    // the last point that happened to lie inside.
    int prevLine = -1;
    char prevType = 0;
    bool inArea = true;  // the previous point lay inside, or none came yet
    bool started = false;
    int prevIndex = -1;  // the point a run starts from, written once a second one joins it
    // The type of the last line written. Numbering starts again when a line of another
    // type is written, not where the records change type: a lone point of another type
    // writes nothing, and restarting there would give the next piece of the same type the
    // line number of the piece before it, and readers would join the two.
    char writtenType = 0;

    auto write = [&](int index) {
        WritePoint(out, doc, index, numbering);
        if (lines) {
            lines->back().push_back(index);
        }
    };

    for (int i = 0; i < doc.Count(); ++i) {
        const char type = doc.PointType(i);
        // Other records (and low-tide points while they are hidden) neither join nor split
        // the lines around them.
        if (!doc.IsShownType(type)) {
            continue;
        }
        const int lineNo = doc.LineNumber(i);
        const bool sameLine = lineNo == prevLine && type == prevType;
        // A continuation record repeats the point before it under the next line number.
        const bool continuation = !sameLine && type == prevType && doc.HasZeroPointNumber(i);
        prevLine = lineNo;
        prevType = type;
        if (!area.Contains(doc.Latitude(i), doc.Longitude(i))) {
            inArea = false;
            continue;
        }
        if (sameLine && inArea) {
            if (!started) {
                if (type != writtenType) {
                    numbering.Restart();
                    writtenType = type;
                }
                numbering.StartLine();
                if (lines) {
                    lines->emplace_back();
                }
                write(prevIndex);
                started = true;
            }
            write(i);
        } else if (continuation && inArea) {
            // The line goes on, and the repeated point is not written again.
        } else {
            // A new line, a line that comes back into the area (a continuation included,
            // whose repeated point lay outside): a new piece begins here, numbered on.
            inArea = true;
            started = false;
        }
        prevIndex = i;
    }
    return out.Text();
}

}  // namespace wv
