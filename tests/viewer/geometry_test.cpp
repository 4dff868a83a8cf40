// The viewer's map, fit, zooms, scroll space and mouse modes, without a window.

#include "viewer/view_geometry.h"
#include "viewer/view_logic.h"
#include "viewer_test_support.h"

#include <cmath>

namespace wv {
namespace {

using test::Join;
using test::OpenText;
using test::Rec;

// Records what the logic asks the view to draw.
struct RecordingSurface : ViewSurface {
    int redraws = 0;
    int areaMarks = 0;
    std::vector<std::pair<DragRect, bool>> bands;
    void RedrawAll() override { ++redraws; }
    void XorArea() override { ++areaMarks; }
    void XorRubberBand(const DragRect& r, bool filled) override { bands.emplace_back(r, filled); }
};

GeoBox Box(double latMin, double lonMin, double latMax, double lonMax) { return {latMin, lonMin, latMax, lonMax}; }

ReliefscopeGeometry Fitted(const GeoBox& box, int w, int h)
{
    ReliefscopeGeometry g;
    g.SetDataBox(box);
    g.SetClientSize(w, h);
    g.Fit();
    return g;
}

TEST(ViewGeometry, FitOneDegreeByHalfInThousandBySixHundred)
{
    const ReliefscopeGeometry g = Fitted(Box(34.0, 135.0, 34.5, 136.0), 1000, 600);
    EXPECT_NEAR(g.Scale(), 909.0909090909, 1e-9);  // min(1000 / 1, 600 / 0.5) / 1.1
    EXPECT_EQ(g.ScrollW(), 1000);                  // 1.1 degrees wide
    EXPECT_EQ(g.ScrollH(), 500);
    EXPECT_EQ(g.CenterX(), 500);
    EXPECT_EQ(g.CenterY(), 300);  // the client is higher than the scroll space
    EXPECT_EQ(g.ScrollX(), 0);
    EXPECT_EQ(g.ScrollY(), 0);
    // The data's corners land 1/22 of the width inside, latitude upward.
    EXPECT_EQ(g.ToPixel(34.0, 135.0), (PixelPoint{45, 527}));
    EXPECT_EQ(g.ToPixel(34.5, 136.0), (PixelPoint{954, 72}));
    const GeoPoint back = g.ToGeo(500, 300);
    EXPECT_NEAR(back.lat, 34.25, 1e-12);
    EXPECT_NEAR(back.lon, 135.5, 1e-12);
}

TEST(ViewGeometry, ARangeOfZeroFitsByTheOtherAndAPointBySmallSpan)
{
    const struct {
        const char* what;
        GeoBox box;
        double scale;
    } cases[] = {
        {"line of constant latitude", Box(35.0, 139.0, 35.0, 139.5), 800 / 0.5 / 1.1},
        {"line of constant longitude", Box(35.0, 139.0, 35.25, 139.0), 600 / 0.25 / 1.1},
        {"a single point", Box(35.0, 139.0, 35.0, 139.0), 600 / 0.01 / 1.1},
    };
    for (const auto& c : cases) {
        ReliefscopeGeometry g = Fitted(c.box, 800, 600);
        EXPECT_NEAR(g.Scale(), c.scale, 1e-6) << c.what;
        // The centre of the data is in the middle of the client.
        const PixelPoint p = g.ToPixel(c.box.latMin, c.box.lonMin);
        EXPECT_NEAR(p.x - g.ScrollX(), c.box.LonSpan() > 0 ? 400 - c.box.LonSpan() / 2 * c.scale : 400, 1.0) << c.what;
        // And the zooms can leave it again.
        g.ZoomAtClientPoint(400, 300, 1.2);
        EXPECT_GT(g.Scale(), c.scale) << c.what;
    }
}

TEST(ViewGeometry, ZoomIsLimitedSoTheScrollSpaceIsAtMost32765)
{
    ReliefscopeGeometry g = Fitted(Box(34.0, 135.0, 34.5, 136.0), 1000, 600);
    for (int i = 0; i < 40; ++i) {
        g.ZoomAtClientPoint(500, 300, 1.2);
        EXPECT_LE(g.ScrollW(), ReliefscopeGeometry::kMaxScrollExtent);
        EXPECT_LE(g.ScrollH(), ReliefscopeGeometry::kMaxScrollExtent);
    }
    EXPECT_EQ(g.ScrollW(), 32765);  // the longitude extent is the larger
    EXPECT_NEAR(g.Scale(), 32765 / 1.1, 1e-6);
    EXPECT_EQ(g.MaxScrollX(), 32765 - 1000);

    // A point far outside (an area kept from another file) stays a clamped int.
    g.SetState(0.0, 0.0, 1e12);
    const PixelPoint far = g.ToPixel(80.0, 170.0);
    EXPECT_EQ(far.x, 1000000000);
    EXPECT_EQ(far.y, -1000000000);
}

struct ViewFixture : ::testing::Test {
    RecordingSurface surface;
    CReliefscopeDoc doc;
    CReliefscopeViewLogic view{doc, surface};

    void SetUp() override
    {
        ASSERT_TRUE(OpenText(doc, Join({Rec('N', "00001", 34.0, 135.0, 1), Rec('N', "00002", 34.5, 136.0, 1)})));
        view.OnInitialUpdate(1000, 600);
    }
    void Drag(int x0, int y0, int x1, int y1)
    {
        view.OnLButtonDown(x0, y0);
        view.OnMouseMove((x0 + x1) / 2, (y0 + y1) / 2);
        view.OnMouseMove(x1, y1);
        view.OnLButtonUp(x1, y1);
    }
};

TEST_F(ViewFixture, DragThresholdsOfZoomAndArea)
{
    const double fit = view.Geometry().Scale();

    view.OnZoomIn();
    Drag(100, 100, 109, 130);  // 9 x 30: a click at the release point
    EXPECT_NEAR(view.Geometry().Scale(), fit * 1.2, 1e-9);
    EXPECT_EQ(view.Mode(), CReliefscopeViewLogic::kZoomIn);

    view.OnZoomAll();
    const GeoPoint centre = view.Geometry().ToGeoFromClient(505, 305);
    Drag(500, 300, 510, 310);  // 10 x 10: a rectangle zoom, here as far as the scroll space allows
    EXPECT_NEAR(view.Geometry().Scale(), std::min(600 / (10 / fit), 32765 / 1.1), 1e-6);
    EXPECT_NEAR(view.Geometry().CenterLon(), centre.lon, 1e-12);
    EXPECT_NEAR(view.Geometry().CenterLat(), centre.lat, 1e-12);
    EXPECT_EQ(view.Mode(), CReliefscopeViewLogic::kZoomIn);

    view.OnZoomAll();
    view.OnSetArea();
    Drag(500, 300, 510, 310);  // 10 x 10 in area mode: no area
    EXPECT_FALSE(doc.Area().IsSet());
    Drag(500, 300, 511, 311);  // 11 x 11: an area
    EXPECT_TRUE(doc.Area().IsSet());
    EXPECT_EQ(view.Mode(), CReliefscopeViewLogic::kArea);
}

TEST_F(ViewFixture, ZoomOutRectangleMirrorsTheCentre)
{
    const double fit = view.Geometry().Scale();
    const GeoPoint viewCentre = view.Geometry().ToGeoFromClient(500, 300);
    const GeoPoint rectCentre = view.Geometry().ToGeoFromClient(300, 200);
    view.OnZoomOut();
    Drag(250, 150, 350, 250);
    EXPECT_NEAR(view.Geometry().Scale(), std::max(100 * fit / 600, 100 * fit / 1000), 1e-9);
    EXPECT_NEAR(view.Geometry().CenterLon(), 2 * viewCentre.lon - rectCentre.lon, 1e-12);
    EXPECT_NEAR(view.Geometry().CenterLat(), 2 * viewCentre.lat - rectCentre.lat, 1e-12);
    EXPECT_EQ(view.Mode(), CReliefscopeViewLogic::kZoomOut);
    EXPECT_EQ(view.StatusPrompt(), "縮小");
}

TEST_F(ViewFixture, AreaCornersAreTakenThroughTheScrollOffset)
{
    view.OnZoomIn();
    view.OnLButtonDown(500, 300);
    view.OnLButtonUp(500, 300);  // zoomed in: the view scrolls
    view.OnLButtonDown(500, 300);
    view.OnLButtonUp(500, 300);
    const ReliefscopeGeometry& g = view.Geometry();
    ASSERT_GT(g.ScrollX(), 0);
    ASSERT_GT(g.ScrollY(), 0);
    view.OnRButtonDown();
    view.OnSetArea();
    Drag(200, 400, 300, 150);  // dragged up and right: normalised first
    const GeoPoint low = g.ToGeo(200 + g.ScrollX(), 400 + g.ScrollY());
    const GeoPoint high = g.ToGeo(300 + g.ScrollX(), 150 + g.ScrollY());
    EXPECT_DOUBLE_EQ(doc.Area().lonMin, low.lon);
    EXPECT_DOUBLE_EQ(doc.Area().latMin, low.lat);
    EXPECT_DOUBLE_EQ(doc.Area().lonMax, high.lon);
    EXPECT_DOUBLE_EQ(doc.Area().latMax, high.lat);
}

TEST_F(ViewFixture, RubberBandsAndTheAreaAreXorMarksDrawnTwiceToErase)
{
    view.OnSetArea();
    surface.bands.clear();
    const int redraws = surface.redraws;
    view.OnLButtonDown(100, 100);
    view.OnMouseMove(150, 140);
    view.OnMouseMove(160, 170);
    EXPECT_EQ(view.StatusPrompt(), "出力領域－ドラッグして領域指定");
    view.OnLButtonUp(160, 170);
    // draw, erase + draw, erase: every band drawn an even number of times, filled.
    ASSERT_EQ(surface.bands.size(), 4u);
    EXPECT_EQ(surface.bands[0], surface.bands[1]);
    EXPECT_EQ(surface.bands[2], surface.bands[3]);
    EXPECT_TRUE(surface.bands[0].second);
    EXPECT_EQ(surface.bands[2].first, (DragRect{100, 100, 160, 170}));
    EXPECT_EQ(surface.areaMarks, 1);  // the new area drawn once
    EXPECT_EQ(surface.redraws, redraws);  // the records are never redrawn for it

    // A new press erases the area's mark; right click goes back to idle, area kept.
    view.OnLButtonDown(10, 10);
    EXPECT_EQ(surface.areaMarks, 2);
    EXPECT_FALSE(doc.Area().IsSet());
    view.OnLButtonUp(10, 10);
    view.OnSetArea();
    view.OnLButtonDown(100, 100);
    view.OnMouseMove(200, 200);
    view.OnLButtonUp(200, 200);
    view.OnRButtonDown();
    EXPECT_EQ(view.Mode(), CReliefscopeViewLogic::kIdle);
    EXPECT_TRUE(doc.Area().IsSet());

    // Zoom bands are outlines.
    surface.bands.clear();
    view.OnZoomIn();
    view.OnLButtonDown(100, 100);
    view.OnMouseMove(200, 200);
    EXPECT_EQ(view.StatusPrompt(), "領域拡大");
    EXPECT_FALSE(surface.bands.back().second);
}

TEST_F(ViewFixture, ZoomModesReturnToTheSavedModeOnRightClick)
{
    view.OnSetArea();
    view.OnZoomIn();
    EXPECT_EQ(view.Cursor(), CursorKind::Zoom);
    EXPECT_EQ(view.StatusPrompt(), "拡大");
    view.OnZoomOut();  // the saved mode stays the area mode
    view.OnRButtonDown();
    EXPECT_EQ(view.Mode(), CReliefscopeViewLogic::kArea);
    EXPECT_EQ(view.Cursor(), CursorKind::Arrow);
    view.OnRButtonDown();
    EXPECT_EQ(view.Mode(), CReliefscopeViewLogic::kIdle);
    EXPECT_EQ(view.StatusPrompt(), "");
}

TEST_F(ViewFixture, ResizeKeepsTheMiddlePoint)
{
    view.OnZoomIn();
    view.OnLButtonDown(700, 200);
    view.OnLButtonUp(700, 200);
    const GeoPoint before = view.Geometry().ToGeoFromClient(500, 300);
    view.OnSize(1200, 800);
    const GeoPoint after = view.Geometry().ToGeoFromClient(600, 400);
    const double pixel = 1.0 / view.Geometry().Scale();
    EXPECT_NEAR(after.lon, before.lon, 1.5 * pixel);
    EXPECT_NEAR(after.lat, before.lat, 1.5 * pixel);
}

TEST(ViewStatus, DegreesMinutesSecondsTruncated)
{
    const struct {
        double lat;
        double lon;
        const char* text;
    } cases[] = {
        {34.5, 135.25, "緯度：34゜30’ 0”　経度：135゜15’ 0”"},
        // 35.05 and 139.7 are not exact in binary; they still show their whole minutes.
        {35.05, 139.7, "緯度：35゜ 3’ 0”　経度：139゜42’ 0”"},
        {35.0 + 59.0 / 60 + 59.9 / 3600, 9.999, "緯度：35゜59’59”　経度：  9゜59’56”"},
        {0.0, 0.0, "緯度： 0゜ 0’ 0”　経度：  0゜ 0’ 0”"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PositionStatusText(c.lat, c.lon), c.text) << c.lat << " " << c.lon;
    }
}

}  // namespace
}  // namespace wv
