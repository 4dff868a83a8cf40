// The text-file importers of the project editor: CSV points, CSV polylines and Q-SONA
// records, each over the same lines. Every segment joins two points that were read,
// every point is a number, a point file gives no segments, and no reader makes more
// points than the file has lines.
#include "fuzz_support.h"

#include "project/text_import.h"

#include <cmath>
#include <string>

namespace {

using namespace wv;

void CheckGeometry(const ImportGeometry& g, std::size_t lines) {
    fuzz::Check(g.y.size() == g.x.size() && g.height.size() == g.x.size(), "every point has x, y and height");
    fuzz::Check(g.x.size() <= lines, "no more points than lines");
    for (std::size_t i = 0; i < g.x.size(); ++i)
        fuzz::Check(std::isfinite(g.x[i]) && std::isfinite(g.y[i]) && std::isfinite(g.height[i]),
                    "an imported point is a number");
    for (const ImportSegment& s : g.segments)
        fuzz::Check(s.start >= 0 && s.start < g.PointCount() && s.end >= 0 && s.end < g.PointCount() &&
                        s.start != s.end,
                    "a segment joins two points that were read");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = SplitTextLines(text);
    for (const std::string& l : lines)
        fuzz::Check(l.find('\n') == std::string::npos, "a line holds no line end");

    for (const bool survey : {false, true}) {
        const ImportGeometry points = ReadCsvPoints(lines, survey);
        CheckGeometry(points, lines.size());
        fuzz::Check(points.segments.empty(), "a point file gives no segments");
        CheckGeometry(ReadCsvLines(lines, 10.0, survey), lines.size());
    }
    QsonaImportOptions options;
    options.reference = 2.5;
    options.zone = 1 + static_cast<int>(size % 19);
    const QsonaImportResult q = ReadQsonaLines(lines, options);
    CheckGeometry(q.geometry, lines.size());
    return 0;
}
