// The viewer's 3D DXF read back by the project editor's 3D importer: depth lines come in
// as depth lines whose height is the reference height - z, the coastline as terrain
// lines, every polyline joined as written.

#include "core/line.h"
#include "core/sokuten.h"
#include "project/dxf_import.h"
#include "project/text_import.h"
#include "project/tik_doc.h"
#include "viewer/area_qsona_writer.h"
#include "viewer/dxf3d_writer.h"
#include "viewer_test_support.h"

#include <algorithm>
#include <fstream>
#include <set>

namespace wv {
namespace {

TEST(ViewerDxfReadBack, DepthLinesAndCoastComeBackAsTerrain)
{
    CReliefscopeDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(test::DataFile("viewer/dxf3d_input.qsona")));
    std::ifstream f(test::DataFile("viewer/dxf3d_area.txt"));
    GeoBox area;
    f >> area.latMin >> area.lonMin >> area.latMax >> area.lonMax;
    doc.SetArea(area);
    const std::string text = BuildDxf3d(doc, 1, 9, DxfUnit::Metres);

    std::string error;
    const auto file = DxfFile::Parse(text, "area.dxf", error);
    ASSERT_TRUE(file) << error;
    const int s = CountDxfSegments(*file, DxfMode::ThreeD);
    const double reference = 10.0;
    const ImportGeometry g = ReadDxfGeometry(*file, DxfMode::ThreeD, {}, {false, reference}, s);
    ASSERT_EQ(static_cast<int>(g.segments.size()), s);
    ASSERT_GT(s, 0);

    // Every vertex's height is the reference minus the z written on its VERTEX, and the
    // layer tells the kind: T0_0 (the coast, z 0) terrain, H* depth.
    std::set<int> kinds;
    for (const ImportSegment& seg : g.segments) kinds.insert(seg.kind);
    EXPECT_TRUE(kinds.count(kLineTerrain));
    EXPECT_TRUE(kinds.count(kLineDepth));
    for (const ImportSegment& seg : g.segments) {
        const double h = g.height[static_cast<std::size_t>(seg.start)];
        if (seg.kind == kLineTerrain) {
            EXPECT_DOUBLE_EQ(h, reference);
        }
    }
    EXPECT_NE(std::find(g.height.begin(), g.height.end(), reference - 5.0), g.height.end());

    ResetTikData();
    const MergeResult r = MergeImport(g_surveyPoints, g_lines, g, true);
    EXPECT_GT(r.pointsAdded, 0);
    EXPECT_GT(r.linesAdded, 0);
    ResetTikData();
}

TEST(ViewerQsonaReadBack, TwoCoastPiecesComeBackAsTwoLines)
{
    // The area output of two coastline pieces around a lone depth point, imported into
    // the project editor: each piece one terrain line, nothing joining them.
    CReliefscopeDoc doc;
    ASSERT_TRUE(test::OpenText(doc, test::TwoCoastPiecesAroundADepthPoint()));
    doc.SetArea(test::kTwoPiecesArea);
    const std::vector<std::string> lines = SplitTextLines(BuildAreaQsona(doc));
    ASSERT_EQ(lines.size(), 4u);

    QsonaImportOptions options;
    options.reference = 5.0;
    options.zone = 9;
    const QsonaImportResult q = ReadQsonaLines(lines, options);
    ASSERT_EQ(q.geometry.PointCount(), 4);
    ASSERT_EQ(q.geometry.segments.size(), 2u);
    // The points come in file order: the first piece is 0-1, the second 2-3.
    EXPECT_EQ(q.geometry.segments[0].start, 0);
    EXPECT_EQ(q.geometry.segments[0].end, 1);
    EXPECT_EQ(q.geometry.segments[1].start, 2);
    EXPECT_EQ(q.geometry.segments[1].end, 3);
    for (const ImportSegment& s : q.geometry.segments) EXPECT_EQ(s.kind, kLineTerrain);

    ResetTikData();
    const MergeResult r = MergeImport(g_surveyPoints, g_lines, q.geometry, true);
    EXPECT_EQ(r.pointsAdded, 4);
    EXPECT_EQ(r.linesAdded, 2);
    ResetTikData();
}

}  // namespace
}  // namespace wv
