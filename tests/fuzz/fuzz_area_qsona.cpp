// The viewer's area output. What it writes reads back as the lines it wrote: read by the
// record rules (type, line number, continuation records) the file gives the same lines,
// record for record, and the project editor's importer makes one segment per joined pair
// of the points it can place.
// Every line written is a run of two or more points of one input line inside the area,
// and no segment of the input with both ends inside is left out.
//
// The area and the low-tide switch come from the input's size, so that a seed is a plain
// Q-SONA file: the whole data box or a part of it, the switch on for odd sizes.
#include "fuzz_support.h"

#include "geoconv/meshgate.h"
#include "geoconv/qsona_record.h"
#include "platform/ui_service.h"
#include "project/text_import.h"
#include "viewer/area_qsona_writer.h"
#include "viewer/reliefscope_doc.h"

#include <cmath>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace wv;

// A record with its point and line numbers blanked: what the writer keeps of it.
std::string Unnumbered(std::string_view text) {
    std::string t(text);
    if (t.size() >= qsona::kMinRecordLength) {
        t.replace(qsona::kPointNumberColumn, qsona::kPointNumberWidth, qsona::kPointNumberWidth, '#');
        t.replace(qsona::kLineNumberColumn, qsona::kLineNumberWidth, qsona::kLineNumberWidth, '#');
    }
    return t;
}

GeoBox AreaFor(const GeoBox& box, std::size_t size) {
    static const double kParts[4][4] = {{0, 0, 1, 1}, {0, 0, 0.5, 0.5}, {0.25, 0.25, 0.75, 0.75}, {0.5, 0, 1, 0.6}};
    const double* f = kParts[(size / 2) % 4];
    const double lat = box.LatSpan(), lon = box.LonSpan();
    return {box.latMin + f[0] * lat, box.lonMin + f[1] * lon, box.latMin + f[2] * lat, box.lonMin + f[3] * lon};
}

enum class Link { Same, Continuation, New };

// How record i relates to the shown point record before it (-1: none), as readers take it.
Link LinkOf(const CReliefscopeDoc& doc, int before, int i) {
    if (before < 0 || doc.PointType(before) != doc.PointType(i)) return Link::New;
    if (doc.LineNumber(before) == doc.LineNumber(i)) return Link::Same;
    return doc.HasZeroPointNumber(i) ? Link::Continuation : Link::New;
}

bool Inside(const CReliefscopeDoc& doc, int i) { return doc.Area().Contains(doc.Latitude(i), doc.Longitude(i)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::SilentUi().Clear();
    const std::string path = fuzz::Scratch() + "IN.QSONA";
    fuzz::WriteFile(path, data, size);
    CReliefscopeDoc doc;
    if (!doc.OnOpenDocument(path)) return 0;
    doc.SetLowTide(size % 2 == 1);
    doc.SetArea(AreaFor(doc.DataBox(), size));

    AreaLines lines;
    std::string out;
    try {
        out = BuildAreaQsona(doc, &lines);
    } catch (const std::out_of_range&) {
        fuzz::Check(false, "the numbers of a small file fit their fields");
    }

    // The lines meant: runs of one input line, inside the area, two points or more.
    std::set<int> joined;  // every point written as the end of a segment
    for (const std::vector<int>& line : lines) {
        fuzz::Check(line.size() >= 2, "a line written has two points at least");
        const char type = doc.PointType(line.front());
        for (std::size_t k = 0; k < line.size(); ++k) {
            const int i = line[k];
            fuzz::Check(doc.IsShownType(type) && doc.PointType(i) == type, "a line written keeps one shown type");
            fuzz::Check(Inside(doc, i), "every point written lies inside the area");
            if (k == 0) continue;
            joined.insert(i);
            // Between two points of a line only continuation records, all inside.
            int before = line[k - 1];
            fuzz::Check(i > before, "a line written keeps the file's order");
            for (int j = before + 1; j < i; ++j) {
                if (!doc.IsShownType(doc.PointType(j))) continue;
                fuzz::Check(LinkOf(doc, before, j) == Link::Continuation && Inside(doc, j),
                            "a line written never jumps over a point of its own");
                before = j;
            }
            fuzz::Check(LinkOf(doc, before, i) == Link::Same, "a line written joins points of one line");
        }
    }
    // Nothing left out: a point joined to the point before it, both inside, is written so.
    int before = -1;
    for (int i = 0; i < doc.Count(); ++i) {
        if (!doc.IsShownType(doc.PointType(i))) continue;
        if (LinkOf(doc, before, i) == Link::Same && Inside(doc, before) && Inside(doc, i))
            fuzz::Check(joined.count(i) == 1, "a segment inside the area is written");
        before = i;
    }

    // Read back by the record rules: the same lines, record for record.
    std::vector<std::vector<std::string>> read;
    std::optional<QsonaRecord> previous;
    std::size_t pos = 0;
    while (pos < out.size()) {
        const std::size_t end = out.find("\r\n", pos);
        fuzz::Check(end != std::string::npos, "every line written ends in CR LF");
        const QsonaLine ql = ReadQsonaLine(std::string_view(out).substr(pos, end - pos));
        fuzz::Check(ql.IsPoint(), "every line written is a point record");
        const QsonaRecord& rec = *ql.record;
        const QsonaLink link = previous ? LinkBetween(*previous, rec) : QsonaLink::NewLine;
        if (link == QsonaLink::NewLine) read.emplace_back();
        if (link == QsonaLink::Continuation)
            fuzz::Check(Unnumbered(rec.Text()) == read.back().back(), "a continuation repeats the point before it");
        else
            read.back().push_back(Unnumbered(rec.Text()));
        previous = rec;
        pos = end + 2;
    }
    fuzz::Check(read.size() == lines.size(), "the file reads back as as many lines as were written");
    // The importer of the project editor joins the same pairs, of the points it can place:
    // a position the zone's projection sends to no finite plane point, or a depth beyond a
    // double, is left out and its neighbours are joined across it.
    QsonaImportOptions options;
    options.reference = 1.0;
    options.zone = 1 + static_cast<int>(size % 19);
    std::optional<int> ellipsoid;
    if (!lines.empty()) ellipsoid = ReadQsonaLine(doc.Line(lines.front().front())).record->EllipsoidCode();
    std::size_t segments = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        fuzz::Check(read[n].size() == lines[n].size(), "each line reads back with its own points");
        std::size_t placed = 0;
        for (std::size_t k = 0; k < lines[n].size(); ++k) {
            const QsonaRecord rec = *ReadQsonaLine(doc.Line(lines[n][k])).record;
            fuzz::Check(read[n][k] == Unnumbered(rec.Text()), "each point reads back as written");
            double north = 0.0, east = 0.0;
            if (ellipsoid) Meshgate(*ellipsoid, options.zone, rec.Latitude(), rec.Longitude(), &north, &east);
            if (std::isfinite(north) && std::isfinite(east) && std::isfinite(rec.DepthMetres())) ++placed;
        }
        if (placed >= 2) segments += placed - 1;
    }

    const QsonaImportResult imported = ReadQsonaLines(SplitTextLines(out), options);
    if (imported.datumFound)
        fuzz::Check(imported.geometry.segments.size() == segments, "the importer makes a segment per joined pair");
    return 0;
}
