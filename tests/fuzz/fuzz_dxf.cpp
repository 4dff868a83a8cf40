// The DXF reader of the terrain importers. A refused drawing says why; one that parses
// gives its layers, and in both modes the reading pass never yields more segments than
// the counting pass sized the work arrays for, nor a segment whose ends are not points
// it read, nor a point that is not a number. On small drawings the fast merge into fresh
// tables equals the plain reference merge slot for slot.
#include "fuzz_support.h"

#include "core/line.h"
#include "core/sokuten.h"
#include "project/dxf_import.h"

#include <cmath>
#include <string>

namespace {

using namespace wv;

void CheckGeometry(const ImportGeometry& g, int limit) {
    fuzz::Check(static_cast<int>(g.segments.size()) <= limit, "the reading pass stays within the counted segments");
    fuzz::Check(g.PointCount() <= 2 * limit + 5, "the reading pass stays within the counted points");
    fuzz::Check(g.y.size() == g.x.size() && g.height.size() == g.x.size(), "every point has x, y and height");
    for (int i = 0; i < g.PointCount(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        fuzz::Check(std::isfinite(g.x[at]) && std::isfinite(g.y[at]) && std::isfinite(g.height[at]),
                    "an imported point is a number");
    }
    for (const ImportSegment& s : g.segments)
        fuzz::Check(s.start >= 0 && s.start < g.PointCount() && s.end >= 0 && s.end < g.PointCount(),
                    "a segment joins points that were read");
}

void CheckMerge(const ImportGeometry& g) {
    if (g.PointCount() > 400) return;  // the reference merge is quadratic
    CSokuten pointsA, pointsB;
    CLine linesA, linesB;
    const MergeResult fast = MergeImport(pointsA, linesA, g, true);
    const MergeResult ref = MergeImportReference(pointsB, linesB, g, true);
    fuzz::Check(fast.pointsAdded == ref.pointsAdded && fast.linesAdded == ref.linesAdded,
                "the fast merge adds what the reference adds");
    fuzz::Check(pointsA.GetSlotCount() == pointsB.GetSlotCount() && linesA.GetSlotCount() == linesB.GetSlotCount(),
                "the fast merge fills the slots the reference fills");
    for (int s = 0; s < pointsA.GetSlotCount(); ++s)
        fuzz::Check(pointsA.GetAt(s) == pointsB.GetAt(s), "the fast merge matches the reference's points slot for slot");
    for (int s = 0; s < linesA.GetSlotCount(); ++s)
        fuzz::Check(linesA.GetAt(s) == linesB.GetAt(s), "the fast merge matches the reference's lines slot for slot");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<DxfFile> file = DxfFile::Parse(text, "IN.DXF", error);
    if (!file) {
        fuzz::Check(!error.empty(), "a refused drawing says why");
        return 0;
    }
    const std::vector<DxfLayer> layers = ReadDxfLayers(*file);
    for (const DxfLayer& l : layers) {
        fuzz::Check(l.attribute == kLayerUndefined || l.attribute == kLayerTerrain || l.attribute == kLayerDepth,
                    "a layer is of a known kind");
        fuzz::Check(std::isfinite(l.value), "a layer's value is a number");
    }
    // Options chosen by the input's length, so both scales and references are reached.
    DxfImportOptions options;
    options.millimetres = size % 2 == 1;
    options.reference = static_cast<double>(size % 7);
    for (const DxfMode mode : {DxfMode::Plane, DxfMode::ThreeD}) {
        const int count = CountDxfSegments(*file, mode);
        fuzz::Check(count >= 0, "a drawing counts no fewer than no segments");
        const ImportGeometry g = ReadDxfGeometry(*file, mode, layers, options, count);
        CheckGeometry(g, count);
        // Work arrays sized below the count cut the reading short, never past them.
        if (count > 1) CheckGeometry(ReadDxfGeometry(*file, mode, layers, options, count / 2), count / 2);
        CheckMerge(g);
    }
    return 0;
}
