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

std::string BuildAreaQsona(const CReliefscopeDoc& doc)
{
    TextWriter out;
    QsonaNumbering numbering;
    const GeoBox& area = doc.Area();

    int prevLine = -1;
    char prevType = 0;
    bool inArea = true;
    bool started = false;
    int prevIndex = -1;  // the point a run starts from, written once a second one joins it
    // The type of the last line written. Numbering starts again when a line of another
    // type is written, not where the records change type: a lone point of another type
    // writes nothing, and restarting there would give the next piece of the same type the
    // line number of the piece before it, and readers would join the two.
    char writtenType = 0;

    for (int i = 0; i < doc.Count(); ++i) {
        const char type = doc.PointType(i);
        // Other records (and low-tide points while they are hidden) neither join nor split
        // the lines around them.
        if (!doc.IsShownType(type)) {
            continue;
        }
        if (!area.Contains(doc.Latitude(i), doc.Longitude(i))) {
            inArea = false;
            continue;
        }
        const int lineNo = doc.LineNumber(i);
        if (lineNo == prevLine && type == prevType) {
            if (inArea) {
                if (!started) {
                    if (type != writtenType) {
                        numbering.Restart();
                        writtenType = type;
                    }
                    numbering.StartLine();
                    WritePoint(out, doc, prevIndex, numbering);
                    started = true;
                }
                WritePoint(out, doc, i, numbering);
            } else {
                // The line comes back into the area: a new piece, numbered on.
                inArea = true;
                started = false;
            }
        } else if (type != prevType) {
            prevLine = lineNo;
            prevType = type;
            inArea = true;
            started = false;
        } else if (doc.HasZeroPointNumber(i)) {
            // A continuation record repeats the point before it under the next line
            // number: the line goes on, and the repeated point is not written again.
            prevLine = lineNo;
        } else {
            prevLine = lineNo;
            inArea = true;
            started = false;
        }
        prevIndex = i;
    }
    return out.Text();
}

}  // namespace wv
