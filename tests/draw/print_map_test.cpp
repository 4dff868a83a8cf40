// The printed colour map, land fill and the printer branch on a recording surface.
// Sheet: scale 1:1000 (1 m of the world is 1 mm), frame 100 x 80 mm centred on world
// (50, 40), so world and sheet coordinates agree; 10 device units per mm, offsets 20 mm,
// printable area 1500 x 1500: sheet (X, Y) is device (10 (X + 20), 1500 - 10 (Y + 20)).
#include "draw/print_color_map.h"
#include "draw/print_figure.h"
#include "platform/recording_dc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace wv;

namespace {

// The engine's part of a calculation document; the archives are not needed here.
class TestDoc : public CTydDocData {
public:
    void Serialize(CArchive&) override {}
};

// A mesh of rows x cols nodes at `spacing` m from the world origin; every node a sea node
// with height ratio `value` unless listed as land.
void MakeMesh(CTydDocData& doc, int rows, int cols, double spacing, double value,
              const std::vector<std::pair<int, int>>& land = {}) {
    CDigitalMap& m = doc.m_mesh;
    m.SetMeshCountX(cols);
    m.SetMeshCountY(rows);
    m.SetMeshSize(spacing);
    m.AllocNodeIndex();
    int n = 0;
    std::vector<std::pair<int, int>> sea;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            bool isLand = false;
            for (auto [lr, lc] : land) isLand |= (lr == r && lc == c);
            if (!isLand) sea.emplace_back(r, c);
        }
    m.SetCount(static_cast<int>(sea.size()));
    m.AllocValues();
    for (auto [r, c] : sea) {
        CCalValue v;
        v.SetPos(static_cast<float>(c * spacing), static_cast<float>(r * spacing));
        v.SetDepth(10.0f);
        v.SetHeightRatio(static_cast<float>(value));
        m.SetAt(n, v);
        m.SetNodeIndex(r, c, n++);
    }
    m.SetWaveHeight(1.0);
    m.SetMinHeightRatio(0.0f);
    m.SetMaxHeightRatio(4.0f);
    doc.m_info.m_nCalcState = 3;
}

void SetSheet(CTydDocData& doc, int scale = 1000) {
    CZmn_Inf& z = doc.m_zmn;
    z.m_nScale = scale;
    z.m_nFrameWidth = 100;
    z.m_nFrameHeight = 80;
    z.m_dCenterX = 50.0;
    z.m_dCenterY = 40.0;
    z.m_nValueType = 1;
    z.m_bColorContour = 1;
    z.m_bFillLand = 0;
    z.m_nLandColor = 4;
    z.m_bDrawLandGrid = 0;
    doc.m_calcArea.SetOrigin(0.0, 0.0);
}

PrintMapping Mapping(double offset = 20.0) {
    PrintMapping m;
    m.m_dDevPerMmX = m.m_dDevPerMmY = 10.0;
    m.m_rcPrintClip = CRect{0, 0, 1500, 1500};
    m.m_dSheetOffsetX = m.m_dSheetOffsetY = offset;
    return m;
}

struct Fill {
    long long x, y, w, h;
    COLORREF color;
};

std::vector<Fill> Fills(const CRecordingDC& dc, long long size = -1) {
    std::vector<Fill> out;
    for (const DcCall& c : dc.Calls())
        if (c.op == "FillSolidRect" && (size < 0 || (c.args[2] == size && c.args[3] == size)))
            out.push_back({c.args[0], c.args[1], c.args[2], c.args[3], static_cast<COLORREF>(c.args[4])});
    return out;
}

std::vector<const DcCall*> Calls(const CRecordingDC& dc, const std::string& op) {
    std::vector<const DcCall*> out;
    for (const DcCall& c : dc.Calls())
        if (c.op == op) out.push_back(&c);
    return out;
}

std::string Texts(const CRecordingDC& dc) {
    std::string s;
    for (const DcCall* c : Calls(dc, "TextOut")) s += c->text;
    return s;
}

}  // namespace

TEST(PrintedColorMap, SubdivisionAndColourBarTable) {
    const std::pair<double, int> k[] = {{0.4, 1}, {1.0, 1}, {1.4, 1}, {1.5, 2}, {3.6, 4}, {500.0, 500}, {-2.0, 1}};
    for (auto [s, n] : k) EXPECT_EQ(ColorMapSubdivision(s), n) << s;
    const std::pair<int, COLORREF> slices[] = {
        {0, RGB(0, 0, 255)},     {1, RGB(0, 25, 255)},    {5, RGB(0, 127, 255)},  {10, RGB(0, 255, 255)},
        {11, RGB(0, 255, 230)},  {15, RGB(0, 255, 127)},  {20, RGB(0, 255, 0)},   {25, RGB(127, 255, 0)},
        {29, RGB(230, 255, 0)},  {30, RGB(255, 255, 0)},  {31, RGB(255, 230, 0)}, {35, RGB(255, 127, 0)},
        {39, RGB(255, 25, 0)},   {40, RGB(255, 0, 0)},
    };
    for (auto [slice, color] : slices) EXPECT_EQ(ColorBarSlice(slice), color) << slice;
    const COLORREF land[] = {RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 255, 0), RGB(0, 255, 255),
                             RGB(0, 0, 255), RGB(255, 0, 255), RGB(0, 0, 0)};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(PrintLandColor(i), land[i]) << i;
}

TEST(PrintedColorMap, LegendLabelsAndSlicesInPlaceWithRangeFallbackAndSwap) {
    // Unset range (both below 0.01): the mesh's own 0..4. Reversed 4..0: swapped.
    for (auto [from, to] : {std::pair{0.0, 0.0}, std::pair{4.0, 0.0}, std::pair{0.0, 4.0}}) {
        TestDoc doc;
        SetSheet(doc);
        MakeMesh(doc, 2, 2, 10.0, 2.0);
        doc.m_contParaFig[1].SetColorFrom(from);
        doc.m_contParaFig[1].SetColorTo(to);
        PlotRenderer r(Mapping());
        CRecordingDC dc(1500, 1500);
        const DcState before = dc.GetState();
        PrintColorMap(r, PrintView{doc, 0.0}, dc);
        EXPECT_EQ(Texts(dc), "0.002.004.00") << from << ".." << to;
        // First label at x = W - 58.5 mm, baseline y = -4 mm, 3 mm high: top-left of its
        // first cell at (10 (41.5 + 20), 1500 - 10 (-4 + 20) - 30).
        const auto texts = Calls(dc, "TextOut");
        ASSERT_EQ(texts.size(), 12u);
        EXPECT_EQ(texts[0]->args, (std::vector<long long>{615, 1310}));
        EXPECT_EQ(texts[4]->args[0], 822);   // W - 37.75 mm: 822.5 truncated
        EXPECT_EQ(texts[8]->args[0], 1030);  // W - 17 mm
        EXPECT_EQ(texts[0]->state.bkColor, RGB(255, 255, 255));
        // 41 slices of 1 mm (13 units filled) from W - 55.5 mm over y -4 .. -7 mm.
        const auto slices = Fills(dc, -1);
        std::vector<Fill> bar;
        for (const Fill& f : slices)
            if (f.w == 13 && f.h == 30) bar.push_back(f);
        ASSERT_EQ(bar.size(), 41u);
        for (int j = 0; j < 41; ++j) {
            EXPECT_EQ(bar[j].x, 645 + 10 * j) << j;
            EXPECT_EQ(bar[j].y, 1340) << j;
            EXPECT_EQ(bar[j].color, ColorBarSlice(j)) << j;
        }
        DcState after = dc.GetState();
        after.position = before.position;
        EXPECT_EQ(after, before);
    }
}

TEST(PrintedColorMap, BarOffThePrintableAreaIsLeftOutButLabelsStay) {
    TestDoc doc;
    SetSheet(doc);
    MakeMesh(doc, 2, 2, 10.0, 2.0);
    PlotRenderer r(Mapping(0.0));  // the band -4 .. -7 mm lies below the sheet
    CRecordingDC dc(1500, 1500);
    PrintColorMap(r, PrintView{doc, 0.0}, dc);
    EXPECT_EQ(Texts(dc), "0.002.004.00");
    for (const Fill& f : Fills(dc)) EXPECT_FALSE(f.w == 13 && f.h == 30);
}

TEST(PrintedColorMap, CellsBySubSquaresAndThreeCornerTriangles) {
    // One cell of 3.6 m: 3.6 mm on the sheet, k = 4 squares of 0.9 mm (9 + 3 units).
    struct Case {
        std::vector<std::pair<int, int>> land;
        int squares;
        int triangles;
    };
    const Case cases[] = {
        {{}, 16, 0},
        {{{1, 1}}, 6, 4},  // corner 3 missing
        {{{0, 0}}, 6, 4},  // corner 0
        {{{1, 0}}, 6, 4},  // corner 1
        {{{0, 1}}, 6, 4},  // corner 2
        {{{0, 0}, {1, 1}}, 0, 0},
    };
    for (const Case& c : cases) {
        TestDoc doc;
        SetSheet(doc);
        MakeMesh(doc, 2, 2, 3.6, 2.0, c.land);
        PlotRenderer r(Mapping());
        CRecordingDC dc(1500, 1500);
        PrintColorMap(r, PrintView{doc, 0.0}, dc);
        const auto squares = Fills(dc, 12);
        EXPECT_EQ(static_cast<int>(squares.size()), c.squares);
        for (const Fill& f : squares) EXPECT_EQ(f.color, RGB(0, 255, 0));  // 2 on 0..4: green
        const auto polys = Calls(dc, "Polygon");
        ASSERT_EQ(static_cast<int>(polys.size()), c.triangles);
        if (c.land.size() != 1) continue;
        const int mr = c.land[0].first, mc = c.land[0].second;
        for (const DcCall* p : polys) {
            ASSERT_EQ(p->args.size(), 6u);
            EXPECT_EQ(p->state.brush.m_color, RGB(0, 255, 0));
            EXPECT_EQ(p->state.pen.m_nWidth, 1);
            // Every vertex on the valid side of the diagonal that cuts off the missing
            // corner (cell units a up, b right, 0..1).
            for (int v = 0; v < 3; ++v) {
                const double b = (p->args[2 * v] / 10.0 - 20.0) / 3.6;
                const double a = ((1500 - p->args[2 * v + 1]) / 10.0 - 20.0) / 3.6;
                const double ca = mr, cb = mc;  // the missing corner
                const double near = std::fabs(a - ca) + std::fabs(b - cb);
                EXPECT_GE(near, 1.0 - 0.06) << a << "," << b;
            }
        }
    }
}

TEST(PrintedColorMap, FlatColourRangeTakesTheRampsTopColour) {
    // A range of 2..2: every breakpoint 2, the one value in range is red, others white.
    for (auto [value, color] : {std::pair{2.0, RGB(255, 0, 0)}, std::pair{1.0, RGB(255, 255, 255)}}) {
        TestDoc doc;
        SetSheet(doc);
        MakeMesh(doc, 2, 2, 3.6, value);
        doc.m_contParaFig[1].SetColorFrom(2.0);
        doc.m_contParaFig[1].SetColorTo(2.0);
        PlotRenderer r(Mapping());
        CRecordingDC dc(1500, 1500);
        PrintColorMap(r, PrintView{doc, 0.0}, dc);
        const auto squares = Fills(dc, 12);
        ASSERT_EQ(squares.size(), 16u);
        for (const Fill& f : squares) EXPECT_EQ(f.color, color) << value;
        EXPECT_EQ(Texts(dc), "2.002.002.00");
    }
}

TEST(PrintedColorMap, FineMeshOneSquarePerNodeCellAndNoValueNodes) {
    // 0.4 mm cells: k = 1, one square of 0.4 mm (4 + 3 units) per cell.
    TestDoc doc;
    SetSheet(doc);
    MakeMesh(doc, 3, 3, 0.4, 1.0);
    CCalValue v = doc.m_mesh.GetAt(4);  // the middle node has no value
    v.SetHeightRatio(-1.0f);
    doc.m_mesh.SetAt(4, v);
    PlotRenderer r(Mapping());
    CRecordingDC dc(1500, 1500);
    PrintColorMap(r, PrintView{doc, 0.0}, dc);
    // Every cell has the middle node as a corner: three valid corners, one triangle each.
    EXPECT_EQ(Fills(dc, 7).size(), 0u);
    EXPECT_EQ(Calls(dc, "Polygon").size(), 4u);
    // The no-value node: twice the spacing plus 3 units, centred on it.
    std::vector<Fill> brown;
    for (const Fill& f : Fills(dc))
        if (f.color == RGB(160, 82, 45)) brown.push_back(f);
    ASSERT_EQ(brown.size(), 1u);
    EXPECT_EQ(brown[0].w, 11);
    EXPECT_EQ(brown[0].x, static_cast<long long>((0.4 + 20) * 10 - 5.5));
}

TEST(PrintedColorMap, LargeScaleVisitsOnlyTheFramesSquares) {
    // 1:100 with a 50 m mesh: 500 mm cells, k = 500 (250,000 squares a cell). The frame
    // (100 x 80 mm) lies inside cell (0, 0) on whole-millimetre square edges, so exactly
    // the 100 x 80 squares it covers are printed, as the full walk would print them.
    TestDoc doc;
    SetSheet(doc, 100);
    doc.m_zmn.m_dCenterX = 25.0;
    doc.m_zmn.m_dCenterY = 20.0;
    MakeMesh(doc, 3, 3, 50.0, 2.0);
    PlotRenderer r(Mapping());
    CRecordingDC dc(1500, 1500);
    PrintColorMap(r, PrintView{doc, 0.0}, dc);
    const auto squares = Fills(dc, 13);
    std::size_t inFrame = 0;
    for (const Fill& f : squares)
        if (f.x >= 200 - 7 && f.x < 1200 && f.y >= 300 - 7 && f.y < 1300) ++inFrame;
    EXPECT_EQ(squares.size(), 8000u);
    EXPECT_EQ(inFrame, 8000u);
}

TEST(PrintedColorMap, NothingForAnEmptyMeshOrAScaleOfZero) {
    for (int scale : {1000, 0, -5}) {
        TestDoc doc;
        SetSheet(doc, scale);
        if (scale > 0) doc.m_mesh = CDigitalMap();
        else MakeMesh(doc, 2, 2, 10.0, 1.0);
        PlotRenderer r(Mapping());
        CRecordingDC dc(1500, 1500);
        PrintColorMap(r, PrintView{doc, 0.0}, dc);
        EXPECT_TRUE(dc.Calls().empty()) << scale;
    }
}

TEST(PrintedColorMap, BeforeTheResultsOnlyTheLandFill) {
    // A depth mesh (state 1) or a run whose results are not read in (state 2): ratios 0,
    // colour range unset. No map and no legend; the land prints as it does without a map.
    for (int state : {1, 2})
        for (int fillLand : {0, 1}) {
            TestDoc doc;
            SetSheet(doc);
            MakeMesh(doc, 3, 3, 10.0, 0.0, {{0, 0}});
            doc.m_mesh.SetMaxHeightRatio(0.0f);
            doc.m_info.m_nCalcState = state;
            doc.m_zmn.m_bFillLand = fillLand;
            doc.m_zmn.m_bDrawLandGrid = 1;
            PlotRenderer r(Mapping());
            CRecordingDC map(1500, 1500), land(1500, 1500);
            PrintColorMap(r, PrintView{doc, 0.0}, map);
            PrintLandFill(r, PrintView{doc, 0.0}, land, fillLand);
            EXPECT_EQ(map.Log(), land.Log()) << "state " << state << ", land fill " << fillLand;
            EXPECT_EQ(Texts(map), "");
        }
}

TEST(PrintedLandFill, ByLandCellsThenWhiteOutsideTheFrame) {
    TestDoc doc;
    SetSheet(doc);
    MakeMesh(doc, 3, 3, 10.0, 1.0, {{0, 0}, {2, 2}});  // (2, 2) is in the last row: never filled
    CCalValue dry = doc.m_mesh.GetAt(doc.m_mesh.GetNodeIndex(1, 1));
    dry.SetDepth(0.0f);
    doc.m_mesh.SetAt(doc.m_mesh.GetNodeIndex(1, 1), dry);
    doc.m_zmn.m_bDrawLandGrid = 1;
    PlotRenderer r(Mapping());
    {
        CRecordingDC dc(1500, 1500);
        PrintLandFill(r, PrintView{doc, 0.0}, dc, 1);
        const auto fills = Fills(dc);
        ASSERT_EQ(fills.size(), 2u + 4u);
        // Node (0, 0): a square of one spacing (100 + 3 units) up and right of it.
        EXPECT_EQ(fills[0].x, 200);
        EXPECT_EQ(fills[0].y, 1500 - 300);
        EXPECT_EQ(fills[0].w, 103);
        EXPECT_EQ(fills[0].color, RGB(0, 0, 255));
        EXPECT_EQ(fills[1].x, 300);
        EXPECT_EQ(fills[1].y, 1500 - 400);
        for (int i = 2; i < 6; ++i) EXPECT_EQ(fills[i].color, RGB(255, 255, 255));
        // The white strips reach 100 units beyond the printable area.
        EXPECT_EQ(fills[2].x, -100);
        EXPECT_EQ(fills[2].y, -100);
    }
    {
        CRecordingDC dc(1500, 1500);
        PrintLandFill(r, PrintView{doc, 0.0}, dc, 0);  // fill 0: white land
        EXPECT_EQ(Fills(dc)[0].color, RGB(255, 255, 255));
    }
    doc.m_info.m_nCalcState = 0;
    CRecordingDC none(1500, 1500);
    PrintLandFill(r, PrintView{doc, 0.0}, none, 1);
    EXPECT_TRUE(none.Calls().empty());
}

TEST(PrintedLandFill, ByBlockOutlines) {
    TestDoc doc;
    SetSheet(doc);
    CBlkXY& b = doc.m_blkXY;
    b.SetCount(3);
    b.AllocOutlines();
    const CPointD square[5] = {{10, 10}, {30, 10}, {30, 30}, {10, 30}, {10, 10}};
    const CPointD triangle[3] = {{10, 10}, {30, 10}, {10, 30}};
    const CPointD far[5] = {{1e4, 1e4}, {1e4 + 5, 1e4}, {1e4 + 5, 1e4 + 5}, {1e4, 1e4 + 5}, {1e4, 1e4}};
    b.SetPointCount(0, 5), b.AllocPoints(0), b.SetPoints(0, square);
    b.SetPointCount(1, 3), b.AllocPoints(1), b.SetPoints(1, triangle);
    b.SetPointCount(2, 5), b.AllocPoints(2), b.SetPoints(2, far);
    PlotRenderer r(Mapping());
    CRecordingDC dc(1500, 1500);
    PrintLandFill(r, PrintView{doc, 0.0}, dc, 1);
    const auto polys = Calls(dc, "Polygon");
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0]->args, (std::vector<long long>{300, 1200, 500, 1200, 500, 1000, 300, 1000, 300, 1200}));
    EXPECT_EQ(polys[0]->state.brush.m_color, RGB(0, 0, 255));
    EXPECT_EQ(polys[0]->state.pen, CPen(PS_SOLID, 1, RGB(0, 0, 255)));
    EXPECT_EQ(dc.GetCurrentBrush(), CBrush());
}

TEST(PrintFigureBranch, FillsOnlyOnColourRasterDevices) {
    TestDoc doc;
    SetSheet(doc);
    MakeMesh(doc, 2, 2, 10.0, 2.0);
    CPlotStore store;
    ASSERT_EQ(store.ReadPlotText(0, "LY0,25,1,1,1\r\nDL0,0,1000000,0,1\r\n"), 0);
    struct Case {
        int numColors, tech;
        bool fills;
        COLORREF line;
    };
    const Case cases[] = {
        {256, DT_RASPRINTER, true, RGB(255, 0, 0)},
        {2, DT_RASPRINTER, false, RGB(0, 0, 0)},  // two colours: no fills, all black
        {256, DT_PLOTTER, false, RGB(255, 0, 0)},
        {2, DT_PLOTTER, false, RGB(255, 0, 0)},   // a plotter keeps its colours
    };
    for (const Case& c : cases) {
        CRecordingDC dc(1500, 1500);
        dc.SetDeviceCaps(LOGPIXELSX, 254);
        dc.SetDeviceCaps(LOGPIXELSY, 254);
        dc.SetDeviceCaps(NUMCOLORS, c.numColors);
        dc.SetDeviceCaps(TECHNOLOGY, c.tech);
        ASSERT_EQ(PrintFigure(dc, PrintFigureRequest{doc, store, 0.0, 20.0, 20.0}), 0);
        EXPECT_EQ(!Fills(dc).empty(), c.fills) << c.numColors << "/" << c.tech;
        const auto lines = Calls(dc, "LineTo");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0]->state.pen.m_color, c.line);
        EXPECT_EQ(lines[0]->args, (std::vector<long long>{300, 1300}));
    }
    // Land fill instead of the colour map when the map is off.
    doc.m_zmn.m_bColorContour = 0;
    doc.m_zmn.m_bFillLand = 1;
    CRecordingDC dc(1500, 1500);
    dc.SetDeviceCaps(NUMCOLORS, 256);
    dc.SetDeviceCaps(TECHNOLOGY, DT_RASPRINTER);
    ASSERT_EQ(PrintFigure(dc, PrintFigureRequest{doc, store, 0.0, 20.0, 20.0}), 0);
    EXPECT_TRUE(Calls(dc, "TextOut").empty());  // no legend
    EXPECT_EQ(Fills(dc).size(), 4u);             // the white strips, no blocks to fill
    CPlotStore empty;
    EXPECT_EQ(PrintFigure(dc, PrintFigureRequest{doc, empty}), -1);
}
