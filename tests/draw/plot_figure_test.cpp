// The calculation figure as a plot file: header and layers, title, element order, world
// box, and every element writer against records worked out by hand. Most cases use a
// sheet at 1:1000 centred on (200, 133.5) with the view unturned, so a world point in
// metres lands on the same numbers in sheet millimetres; a record's reals are those
// millimetres x 100000.
#include "draw/plot_figure.h"
#include "core/geometry.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui_service.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace wv;

namespace {

std::string CurrentFolder() { return std::filesystem::current_path().string() + "/"; }

class TestDoc : public CTydDocData {
public:
    void Serialize(CArchive&) override {}
};

// Keeps the output-point values a test has set instead of computing them from a mesh.
class KeepValues : public CPlotComposer {
public:
    using CPlotComposer::CPlotComposer;
    void UpdateCalcPointValues() override {}
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return out;
}

std::string Sj(const char* utf8) { return Utf8ToCp932(utf8); }

class PlotFigure : public testing::Test {
protected:
    void SetUp() override {
        SetStartFolder(CurrentFolder());
        CZmn_Inf& z = doc.m_zmn;
        z.m_nScale = 1000;
        z.m_dCenterX = 200.0;
        z.m_dCenterY = 133.5;
        z.m_bDrawFileName = 0;
        tik.m_dNorth = 90.0;
    }

    PlotSources Sources() {
        PlotSources s;
        s.tikInf = &tik;
        s.lines = &lines;
        s.calcPoints = &points;
        return s;
    }

    // The records one element writes (the title line left out).
    std::vector<std::string> Records(const std::function<void(CPlotComposer&)>& element, double angle = 0.0) {
        KeepValues c(view, angle, Sources());
        EXPECT_EQ(c.Writer().OpenPlotFile("element.plt", "t"), 0);
        element(c);
        EXPECT_EQ(c.Writer().ClosePlotFile(), 0);
        std::string text;
        EXPECT_TRUE(ReadWholeFile("element.plt", text, nullptr));
        std::vector<std::string> lines = Lines(text);
        lines.erase(lines.begin());
        return lines;
    }
    std::vector<std::string> Element(void (CPlotComposer::*f)(const WorldBox&), double angle = 0.0) {
        return Records([&](CPlotComposer& c) { (c.*f)(c.Sheet().Box()); }, angle);
    }

    // A mesh of rows x cols nodes at `size` metres, every node a sea node with the given
    // height ratio and direction.
    void SeaMesh(int rows, int cols, double size, float ratio = 0.5f, float dir = 0.0f) {
        CDigitalMap& m = doc.m_mesh;
        m.SetMeshCountX(cols), m.SetMeshCountY(rows), m.SetMeshSize(size), m.SetCount(rows * cols);
        m.AllocValues(), m.AllocNodeIndex();
        m.AllocDepthFlag(), m.AllocHeightFlag(), m.AllocDirFlag(), m.AllocVectorFlag();
        for (int n = 0; n < rows * cols; ++n) {
            CCalValue v;
            v.SetPos(static_cast<float>(n % cols * size), static_cast<float>(n / cols * size));
            v.SetDepth(5.0f);
            v.SetHeightRatio(ratio);
            v.SetDirection(dir);
            m.SetAt(n, v);
            m.SetNodeIndex(n / cols, n % cols, n);
        }
        doc.m_calcArea.SetMeshSize(size);
    }

    void DepthLine(int p1, double x1, double y1, int p2, double x2, double y2, double depth, int kind = kLineDepth) {
        lines.Add(x1, y1, x2, y2, 0, 0, depth, kind, p1, p2);
    }

    ScriptedUi ui;
    ScopedUi scoped{&ui};
    TestDoc doc;
    CTydViewData view{doc};
    CTik_Inf tik;
    CLine lines;
    CSansyutu points;
};

// ---- Header, title, order, sheet ----

TEST_F(PlotFigure, DefaultSheetHeaderAndLayers) {
    doc.m_zmn = CZmn_Inf();  // 400 x 267 frame, margins 10, 1:50000
    CPlotStore store;
    SheetOffsets offsets;
    ASSERT_EQ(MakePlotFile(view, 0.0, store, &offsets, Sources()), 0);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(StartFolderFile("pdata000.plt"), text, nullptr));
    const std::vector<std::string> got = Lines(text);
    const std::vector<std::string> want = {
        Sj("地形図"),     "SC1,0,0,0",        "EM0,0,40000000,27700000", "SZ42000000,29700000",
        "LY0,25,7,1,1",   "LY0,13,7,2,2",     "LY0,13,7,3,3",            "LY0,25,7,4,4",
        "LY0,0,7,5,5",    "LY0,0,7,6,6",      "LY0,13,7,7,7",            "LY0,13,7,8,8",
        "LY0,13,7,9,9",   "LY0,13,255,10,10", "LY0,13,7,11,11",          "LY0,13,7,12,12",
        "LY0,13,7,13,13", "LY0,13,7,14,14"};
    ASSERT_GE(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(got[i], want[i]) << i;
    EXPECT_EQ(offsets.x, 10.0);
    EXPECT_EQ(offsets.y, 10.0);
    ASSERT_NE(store.GetPage(0), nullptr);
    EXPECT_EQ(store.GetPage(0)->m_layers.GetCount(), 15);  // the reader's own layer 0 first
}

TEST_F(PlotFigure, TitleTruthTable) {
    struct Row {
        int mask, color, vector, dirMap, check, checkMap, valueType;
        const char* title;
    };
    const Row rows[] = {
        {0, 0, 0, 0, 0, 0, 0, "地形図"},         {0, 1, 0, 0, 0, 0, 0, "有義波高"},
        {2, 0, 0, 0, 0, 0, 1, "有義波高比"},     {0, 0, 1, 0, 0, 0, 2, "換算沖波波高"},
        {1, 0, 0, 0, 0, 0, 3, "換算沖波波高比"}, {3, 0, 0, 0, 0, 0, 9, "換算沖波波高比"},
        {0, 0, 0, 1, 1, 1, 0, "波向"},           {0, 0, 0, 0, 1, 0, 0, "水深チェック図"},
        {0, 0, 0, 0, 0, 1, 0, "水深チェック図"}, {2, 0, 0, 0, 1, 0, 0, "有義波高"},
        {0, 2, 0, 0, 0, 0, 0, "地形図"},  // a switch counts only when it is 1
    };
    for (const Row& r : rows) {
        CZmn_Inf z;
        z.m_nFigureMask = r.mask, z.m_bColorContour = r.color, z.m_bVectorFigure = r.vector;
        z.m_bDirMapFigure = r.dirMap, z.m_bCheckContour = r.check, z.m_bCheckMap = r.checkMap;
        z.m_nValueType = r.valueType;
        EXPECT_EQ(PlotFigureTitle(z), r.title) << r.title;
    }
}

class OrderLog : public CPlotComposer {
public:
    using CPlotComposer::CPlotComposer;
    std::vector<std::string> log;
    void PlotTitleBlock() override { log.push_back("Title"); }
    void PlotNorthMark(const WorldBox&) override { log.push_back("North"); }
    void PlotWaveMark(const WorldBox&) override { log.push_back("Wave"); }
    void PlotTerrainLines(const WorldBox&) override { log.push_back("Terrain"); }
    void PlotLandCells() override { log.push_back("Land"); }
    void PlotDepthCheck(const WorldBox&) override { log.push_back("Check"); }
    void PlotDepthMap(const WorldBox&) override { log.push_back("DepthMap"); }
    void PlotDirectionMap(const WorldBox&) override { log.push_back("DirMap"); }
    void PlotResultMap(const WorldBox&) override { log.push_back("ResultMap"); }
    void PlotResultContours(const WorldBox&) override { log.push_back("Contours"); }
    void PlotDirectionArrows(const WorldBox&) override { log.push_back("Arrows"); }
    void PlotCalcPoints(const WorldBox&) override { log.push_back("Points"); }
};

TEST_F(PlotFigure, ElementOrder) {
    CPlotStore store;
    {
        OrderLog none(view, 0.0, Sources());
        ASSERT_EQ(none.MakePlotFile(store), 0);
        EXPECT_EQ(none.log, (std::vector<std::string>{"Title", "North", "Wave", "Terrain", "Points"}));
    }
    CZmn_Inf& z = doc.m_zmn;
    z.m_bDrawLandGrid = z.m_bCheckContour = z.m_bCheckMap = z.m_bDirMapFigure = z.m_bVectorFigure = 1;
    z.m_nFigureMask = 3;
    OrderLog all(view, 0.0, Sources());
    ASSERT_EQ(all.MakePlotFile(store), 0);
    EXPECT_EQ(all.log, (std::vector<std::string>{"Title", "North", "Wave", "Terrain", "Land", "Check", "DepthMap",
                                                 "DirMap", "ResultMap", "Contours", "Arrows", "Points"}));
    std::string text;
    ASSERT_TRUE(ReadWholeFile(StartFolderFile("pdata000.plt"), text, nullptr));
    EXPECT_EQ(Lines(text)[0], Sj("有義波高"));
}

TEST_F(PlotFigure, WorldBoxAndSheetMapping) {
    CZmn_Inf& z = doc.m_zmn;
    z.m_nScale = 50000;
    z.m_dCenterX = 1000.0;
    z.m_dCenterY = 2000.0;
    const PlotSheet flat(doc, 0.0);
    EXPECT_EQ(flat.Box().xmin, 1000.0 - 10000.0);
    EXPECT_EQ(flat.Box().xmax, 1000.0 + 10000.0);
    EXPECT_EQ(flat.Box().ymin, 2000.0 - 6675.0);
    EXPECT_EQ(flat.Box().ymax, 2000.0 + 6675.0);
    // 30 degrees: half widths 10000 cos 30 + 6675 sin 30 and 10000 sin 30 + 6675 cos 30.
    const PlotSheet turned(doc, 30.0);
    EXPECT_NEAR(turned.Box().xmin, 1000.0 - 11997.754037844386, 1e-7);
    EXPECT_NEAR(turned.Box().xmax, 1000.0 + 11997.754037844386, 1e-7);
    EXPECT_NEAR(turned.Box().ymin, 2000.0 - 10780.719570261128, 1e-7);
    EXPECT_NEAR(turned.Box().ymax, 2000.0 + 10780.719570261128, 1e-7);
    // The centre lands in the middle of the odd frame height; a point 1000 m along the
    // turned x axis lands 20 mm to its right.
    double X = 0, Y = 0;
    turned.WorldToSheet(1000.0, 2000.0, &X, &Y);
    EXPECT_DOUBLE_EQ(X, 200.0);
    EXPECT_DOUBLE_EQ(Y, 133.5);
    turned.WorldToSheet(1000.0 + 1000.0 * std::cos(kPi / 6), 2000.0 + 1000.0 * std::sin(kPi / 6), &X, &Y);
    EXPECT_NEAR(X, 220.0, 1e-9);
    EXPECT_NEAR(Y, 133.5, 1e-9);
    double x = 0, y = 0;
    turned.SheetToWorld(220.0, 133.5, &x, &y);
    EXPECT_NEAR(x, 1000.0 + 1000.0 * std::cos(kPi / 6), 1e-9);
    EXPECT_NEAR(y, 2000.0 + 1000.0 * std::sin(kPi / 6), 1e-9);
    // The mesh frame turns with the view: mesh x runs along the sheet's x.
    doc.m_calcArea.SetOrigin(1000.0, 2000.0);
    const PlotSheet mesh(doc, 30.0);
    mesh.MeshToSheet(500.0, 0.0, &X, &Y);
    EXPECT_NEAR(X, 210.0, 1e-9);
    EXPECT_NEAR(Y, 133.5, 1e-9);
}

// ---- Title block, frame and scale ----

TEST_F(PlotFigure, TitleBlockFrameAndScaleBar) {
    doc.m_zmn.m_nScaleStyle = 1;
    struct Row {
        int scale;
        const char* left;  // W - bar - 10, x 100000
        const char* textX;
        const char* text;
    };
    const Row rows[] = {
        {50000, "35000000", "36775000", "2km"}, {30000, "35666667", "37108333", "1km"},
        {45000, "34555556", "36552778", "2km"}, {1500, "35000000", "36775000", "60m"},
        {10, "35000000", "36625000", "400mm"},  {24000, "34833333", "36691667", "1km"},
    };
    for (const Row& r : rows) {
        doc.m_zmn.m_nScale = r.scale;
        const std::vector<std::string> got = Records([](CPlotComposer& c) { c.PlotTitleBlock(); });
        const std::string L = r.left;
        const std::vector<std::string> want = {
            "VJ571429,26800000,800000,800000,0,1," + Sj("地形図"),
            "LL0,0,0,1,1",
            "LL40000000,0,1,1,1",
            "LL40000000,27700000,1,1,1",
            "LL0,27700000,2,1,1",
            "DL0,26700000,40000000,26700000,1",
            "LL" + L + ",1100000,0,0,1",
            "LL" + L + ",700000,1,0,1",
            "LL39000000,700000,1,0,1",
            "LL39000000,1100000,2,0,1",
            std::string("VJ") + r.textX + ",800000,300000,300000,0,1," + r.text};
        EXPECT_EQ(got, want) << r.scale;
    }
}

TEST_F(PlotFigure, ScaleTextIsCountedInShiftJisBytes) {
    doc.m_zmn.m_nScale = 50000;
    doc.m_zmn.m_nScaleStyle = 0;
    const std::vector<std::string> got = Records([](CPlotComposer& c) { c.PlotTitleBlock(); });
    // Ｓｃａｌｅ　１：５００００, 13 double-byte characters: 26 bytes, so it starts at
    // 400 - (2.5 x 26 + 5) = 330 mm.
    const std::string text = "\x82\x72\x82\x83\x82\x81\x82\x8C\x82\x85\x81\x40\x82\x50\x81\x46"
                             "\x82\x54\x82\x4F\x82\x4F\x82\x4F\x82\x4F";
    ASSERT_EQ(text.size(), 26u);
    EXPECT_EQ(got.back(), "VJ33000000,650000,500000,500000,0,1," + text);
}

TEST_F(PlotFigure, ConditionCellsAndDirectionTexts) {
    doc.m_info.m_dT0 = 8.0;
    doc.m_info.m_dSmax = 10.0;
    doc.m_zmn.m_nScaleStyle = 0;
    // Terrain and depth-check figures carry no cells.
    for (int check : {0, 1}) {
        doc.m_zmn.m_bCheckContour = check;
        const std::vector<std::string> got = Records([](CPlotComposer& c) { c.PlotTitleBlock(); });
        EXPECT_EQ(got.size(), 7u) << check;
    }
    doc.m_zmn.m_bCheckContour = 0;
    doc.m_zmn.m_nFigureMask = 2;
    struct Row {
        int mode, dir16;
        double angle;
        const char* text;
    };
    const Row rows[] = {{0, 1, 0, "波向：NNE"}, {0, 3, 0, "波向：ENE"}, {0, 4, 0, "波向：E"},
                        {0, 15, 0, "波向：NNW"}, {0, 0, 0, "波向：N"},   {0, 16, 0, "波向：N"},
                        {1, 0, 30.0, "波向：N30.0ﾟ"}, {2, 5, 7.25, "波向：N7.2ﾟ"}};
    for (const Row& r : rows) {
        doc.m_info.m_nDirMode = r.mode, doc.m_info.m_nDir16 = r.dir16, doc.m_info.m_dDirAngle = r.angle;
        const std::vector<std::string> got = Records([](CPlotComposer& c) { c.PlotTitleBlock(); });
        ASSERT_EQ(got.size(), 13u);
        EXPECT_EQ(got[0], "VJ571429,26800000,800000,800000,0,1," + Sj("有義波高"));
        EXPECT_EQ(got[6], "DL36200000,27700000,36200000,26700000,1");
        EXPECT_EQ(got[7], "DL32400000,27700000,32400000,26700000,1");
        EXPECT_EQ(got[8], "DL28600000,27700000,28600000,26700000,1");
        EXPECT_EQ(got[9], "VJ28800000,27000000,400000,400000,0,1," + Sj(r.text)) << r.text;
        EXPECT_EQ(got[10], "VJ32600000,27000000,400000,400000,0,1," + Sj("周期Ｔ\\d０＝  8.00秒"));
        EXPECT_EQ(got[11], "VJ36400000,27000000,400000,400000,0,1," + Sj("Ｓmax ＝ 10.0"));
    }
}

TEST_F(PlotFigure, FileLabelTakesTheFileNameOnly) {
    doc.m_zmn.m_bDrawFileName = 1;
    struct Row {
        const char* path;
        const char* version;
        std::string label;
    };
    // "－" is 0x81 0x7C in Shift-JIS.
    const Row rows[] = {{"/work/y.v2/calc.TYD", "1.2", "V1.2\x81\x7C[calc]"},
                        {"/work/y.v2/calc.TYD", "", "[calc]"},
                        {"/work/y.v2/calc", "1.2", "V1.2\x81\x7C[]"},
                        {"/work/湾.2/湾α.TYD", "", "[" + Sj("湾α") + "]"},
                        {"/work/ẞ.TYD", "", "[?]"}};
    for (const Row& r : rows) {
        doc.SetPathName(r.path);
        PlotSources s = Sources();
        s.versionCp932 = r.version;
        KeepValues c(view, 0.0, s);
        ASSERT_EQ(c.Writer().OpenPlotFile("label.plt", "t"), 0);
        c.PlotTitleBlock();
        ASSERT_EQ(c.Writer().ClosePlotFile(), 0);
        std::string text;
        ASSERT_TRUE(ReadWholeFile("label.plt", text, nullptr));
        EXPECT_EQ(Lines(text)[7], "VJ571429,27800000,300000,300000,0,1," + r.label) << r.path;
    }
}

// ---- Marks ----

TEST_F(PlotFigure, NorthMark) {
    doc.m_zmn.m_ptNorthMark = CPointD(100.0, 100.0);
    const std::vector<std::string> up = Element(&CPlotComposer::PlotNorthMark);
    EXPECT_EQ(up, (std::vector<std::string>{
                      "GC9400000,10000000,10000000,10000000,9400000,10000000,1,2",
                      "DL8800000,10000000,11200000,10000000,2",   // cross bar
                      "DL10000000,7800000,10000000,12600000,2",   // axis, tip at 126
                      "DL10000000,12600000,9700000,11900000,2",   // half head
                      "DL9700000,11900000,10300000,11500000,2",
                      "VJ9900000,12600000,400000,400000,36000000,2,N"}));
    // North along +x: the axis runs right, "N" turned to 270 degrees above the tip.
    tik.m_dNorth = 0.0;
    const std::vector<std::string> right = Element(&CPlotComposer::PlotNorthMark);
    ASSERT_EQ(right.size(), 6u);
    EXPECT_EQ(right[2], "DL7800000,10000000,12600000,10000000,2");
    EXPECT_EQ(right[5], "VJ12600000,10100000,400000,400000,27000000,2,N");
}

TEST_F(PlotFigure, WaveMarkAndVisibility) {
    doc.m_info.m_nDirMode = 0;
    doc.m_info.m_nDir16 = 4;  // E, with north up the sheet: the arrow comes in from the right
    doc.m_info.m_dH0 = 2.0;
    doc.m_zmn.m_ptWaveMark = CPointD(100.0, 100.0);
    EXPECT_EQ(Element(&CPlotComposer::PlotWaveMark),
              (std::vector<std::string>{"AH12100000,10000000,10000000,10000000,300000,200000,10,3",
                                        "VJ10300000,10150000,300000,300000,0,3,H\\d0=2.00m"}));
    struct Row {
        double x, y;
        std::size_t records;
    };
    const Row rows[] = {{0.0, 100.0, 2}, {400.0, 267.0, 2}, {-0.001, 100.0, 0}, {100.0, 267.001, 0},
                        {100.0, kUnsetCoord, 0}, {kUnsetCoord, kUnsetCoord, 0}};
    for (const Row& r : rows) {
        doc.m_zmn.m_ptWaveMark = CPointD(r.x, r.y);
        EXPECT_EQ(Element(&CPlotComposer::PlotWaveMark).size(), r.records) << r.x << " " << r.y;
        doc.m_zmn.m_ptNorthMark = CPointD(r.x, r.y);
        EXPECT_EQ(Element(&CPlotComposer::PlotNorthMark).size(), r.records * 3) << r.x << " " << r.y;
    }
}

// ---- Terrain, depth lines, land cells ----

TEST_F(PlotFigure, TerrainKindTruthTable) {
    doc.m_zmn.m_bDrawContourValue = 0;
    for (int kind : {0, 1, 2, 3}) DepthLine(2 * kind, 10.0, 10.0 * kind, 2 * kind + 1, 20.0, 10.0 * kind, 1.0, kind);
    struct Row {
        int showOther, landCells;
        std::vector<std::string> want;
    };
    const std::string terrain = "DL1000000,1000000,2000000,1000000,4";
    const std::string depth = "DL1000000,2000000,2000000,2000000,5";
    const Row rows[] = {{1, 0, {terrain, depth}}, {0, 0, {terrain}}, {1, 1, {depth}}, {0, 1, {}}};
    for (const Row& r : rows) {
        doc.m_zmn.m_bDrawContour = r.showOther;
        doc.m_zmn.m_bDrawLandGrid = r.landCells;
        EXPECT_EQ(Element(&CPlotComposer::PlotTerrainLines), r.want) << r.showOther << r.landCells;
    }
}

TEST_F(PlotFigure, DepthLineChainsAndTheirLabels) {
    struct Case {
        const char* name;
        std::function<void()> build;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {"two lines sharing a point",
         [&] {
             DepthLine(1, 100, 100, 2, 150, 100, 5.0);
             DepthLine(2, 150, 100, 3, 200, 100, 5.0);
         },
         {"VJ10100000,9900000,200000,200000,0,5,5.0", "VJ19600000,9900000,200000,200000,0,5,5.0"}},
        {"a ring, labelled once at its lowest segment's start",
         [&] {
             DepthLine(1, 100, 100, 2, 150, 100, 5.0);
             DepthLine(2, 150, 100, 3, 150, 150, 5.0);
             DepthLine(3, 150, 150, 4, 100, 150, 5.0);
             DepthLine(1, 100, 100, 4, 100, 150, 5.0);
         },
         {"VJ10100000,9900000,200000,200000,0,5,5.0"}},
        {"a line clipped at both ends",
         [&] { DepthLine(1, -50, 100, 2, 450, 100, 12.5); },
         {"VJ100000,9900000,200000,200000,0,5,12.5", "VJ39500000,9900000,200000,200000,0,5,12.5"}},
        {"three lines at a point",
         [&] {
             DepthLine(1, 200, 100, 2, 250, 100, 5.0);
             DepthLine(1, 200, 100, 3, 200, 150, 5.0);
             DepthLine(1, 200, 100, 4, 150, 100, 5.0);
         },
         {"VJ24600000,9900000,200000,200000,0,5,5.0", "VJ20100000,14600000,200000,200000,9000000,5,5.0",
          "VJ15100000,9900000,200000,200000,0,5,5.0"}},
        {"a 45 degree line",
         [&] { DepthLine(1, 100, 100, 2, 150, 150, 5.0); },
         {"VJ10141421,10000000,200000,200000,4500000,5,5.0", "VJ14787868,14646447,200000,200000,4500000,5,5.0"}},
    };
    for (const Case& c : cases) {
        lines.RemoveAll();
        c.build();
        const std::vector<std::string> got = Element(&CPlotComposer::PlotTerrainLines);
        std::vector<std::string> labels;
        for (const std::string& r : got)
            if (r.rfind("VJ", 0) == 0) labels.push_back(r);
        EXPECT_EQ(labels, c.labels) << c.name;
        EXPECT_EQ(got.size(), labels.size() + static_cast<std::size_t>(lines.GetCount())) << c.name;
    }
    // Without depth labels only the lines.
    doc.m_zmn.m_bDrawContourValue = 0;
    EXPECT_EQ(Element(&CPlotComposer::PlotTerrainLines),
              (std::vector<std::string>{"DL10000000,10000000,15000000,15000000,5"}));
}

TEST_F(PlotFigure, LandCellsByTheLowerLeftNode) {
    auto cell = [](const char* x0, const char* y0, const char* x1, const char* y1) {
        const std::string a = x0, b = y0, c = x1, d = y1;
        return std::vector<std::string>{"DL" + a + "," + b + "," + c + "," + d + ",6",
                                        "DL" + a + "," + d + "," + c + "," + b + ",6",
                                        "LL" + a + "," + d + ",0,1,6",
                                        "LL" + a + "," + b + ",1,1,6",
                                        "LL" + c + "," + b + ",1,1,6",
                                        "LL" + c + "," + d + ",2,1,6"};
    };
    SeaMesh(3, 3, 10.0);
    doc.m_mesh.SetNodeIndex(0, 0, -1);  // land
    CCalValue dry = doc.m_mesh.GetAt(4);
    dry.SetDepth(0.0f);  // a node at 0 m counts as land too
    doc.m_mesh.SetAt(4, dry);
    doc.m_calcArea.SetOrigin(100.0, 100.0);
    doc.m_info.m_nCalcState = 0;
    EXPECT_TRUE(Records([](CPlotComposer& c) { c.PlotLandCells(); }).empty());
    doc.m_info.m_nCalcState = 1;
    std::vector<std::string> want = cell("10000000", "10000000", "11000000", "11000000");
    const std::vector<std::string> second = cell("11000000", "11000000", "12000000", "12000000");
    want.insert(want.end(), second.begin(), second.end());
    EXPECT_EQ(Records([](CPlotComposer& c) { c.PlotLandCells(); }), want);

    // Rows below the sheet are skipped; the first row reaching above the frame ends it all.
    SeaMesh(4, 2, 10.0);
    for (int r = 0; r < 4; ++r) doc.m_mesh.SetNodeIndex(r, 0, -1);
    doc.m_calcArea.SetOrigin(100.0, -15.0);
    EXPECT_EQ(Records([](CPlotComposer& c) { c.PlotLandCells(); }), cell("10000000", "500000", "11000000", "1500000"));
    doc.m_calcArea.SetOrigin(100.0, 250.0);
    EXPECT_EQ(Records([](CPlotComposer& c) { c.PlotLandCells(); }),
              cell("10000000", "25000000", "11000000", "26000000"));
    doc.m_calcArea.SetOrigin(395.0, 100.0);  // the first cell of each row crosses the right edge
    EXPECT_TRUE(Records([](CPlotComposer& c) { c.PlotLandCells(); }).empty());
}

// ---- Depth check ----

void SetCheck(CTydDocData& doc, const std::vector<CPointF>& pts, const std::vector<std::pair<int, int>>& segs) {
    doc.m_hcheckPoints.SetCount(static_cast<int>(pts.size()));
    doc.m_hcheckPoints.Alloc();
    for (std::size_t i = 0; i < pts.size(); ++i) {
        doc.m_hcheckPoints.SetPoint(static_cast<int>(i), pts[i]);
        doc.m_hcheckPoints.SetValue(static_cast<int>(i), 5.0f);
    }
    doc.m_hcheckLines.SetCount(static_cast<int>(segs.size()));
    doc.m_hcheckLines.Alloc();
    for (std::size_t i = 0; i < segs.size(); ++i) {
        doc.m_hcheckLines.SetStart(static_cast<int>(i), segs[i].first);
        doc.m_hcheckLines.SetEnd(static_cast<int>(i), segs[i].second);
    }
}

std::vector<std::string> Texts(const std::vector<std::string>& records) {
    std::vector<std::string> out;
    for (const std::string& r : records)
        if (r.rfind("VJ", 0) == 0) out.push_back(r);
    return out;
}

TEST_F(PlotFigure, DepthCheckChains) {
    // A junction: coming from (100,100) the walk takes the branch of least turn, to
    // (200,70); the branch to (200,130) is a chain of its own and ends, unlabelled, on
    // the used first segment.
    SetCheck(doc, {{100, 100}, {150, 100}, {200, 130}, {200, 70}}, {{0, 1}, {1, 2}, {1, 3}});
    const std::vector<std::string> junction = Element(&CPlotComposer::PlotDepthCheck);
    EXPECT_EQ(junction.size(), 6u);
    EXPECT_EQ(Texts(junction), (std::vector<std::string>{"VJ10100000,9900000,200000,200000,0,7,5.0",
                                                         "VJ19605553,7120049,200000,200000,-3096376,7,5.0",
                                                         "VJ19708452,12708452,200000,200000,3096376,7,5.0"}));
    // A ring inside the frame: one label where its walk started.
    SetCheck(doc, {{100, 100}, {150, 100}, {150, 150}, {100, 150}}, {{0, 1}, {1, 2}, {2, 3}, {3, 0}});
    EXPECT_EQ(Texts(Element(&CPlotComposer::PlotDepthCheck)),
              (std::vector<std::string>{"VJ10100000,9900000,200000,200000,0,7,5.0"}));
    // Far more clipped ends than points: every line across the frame, labelled at both
    // border points.
    std::vector<CPointF> pts;
    std::vector<std::pair<int, int>> segs;
    for (int k = 0; k < 120; ++k) {
        pts.emplace_back(-10.0f, static_cast<float>(k + 1));
        pts.emplace_back(410.0f, static_cast<float>(k + 1));
        segs.emplace_back(2 * k, 2 * k + 1);
    }
    SetCheck(doc, pts, segs);
    const std::vector<std::string> many = Element(&CPlotComposer::PlotDepthCheck);
    EXPECT_EQ(many.size(), 120u + 240u);
    EXPECT_EQ(many[0], "DL0,100000,40000000,100000,7");
    EXPECT_EQ(Texts(many)[2], "VJ100000,100000,200000,200000,0,7,5.0");
    EXPECT_EQ(Texts(many)[3], "VJ39600000,100000,200000,200000,0,7,5.0");
}

// ---- Digital maps ----

TEST_F(PlotFigure, DigitalMaps) {
    SeaMesh(1, 3, 100.0);
    CDigitalMap& m = doc.m_mesh;
    doc.m_calcArea.SetOrigin(100.0, 100.0);
    CCalValue v = m.GetAt(0);
    v.SetDepth(12.34f);
    v.SetHeightRatio(0.428f);
    m.SetAt(0, v);
    v = m.GetAt(1);
    v.SetHeightRatio(-1.0f);  // no result
    m.SetAt(1, v);
    for (int i = 0; i < 3; ++i) m.SetDepthFlag(i, 1), m.SetHeightFlag(i, 2), m.SetDirFlag(i, 1);
    // Node 2 at x 300; node 1 at 200.
    m.SetWaveHeight(2.0);
    const std::vector<std::string> depth = Element(&CPlotComposer::PlotDepthMap);
    ASSERT_EQ(depth.size(), 6u);
    EXPECT_EQ(depth[0], "AP10000000,10000000,30000,21,13");
    EXPECT_EQ(depth[1], "VJ9718750,10050000,250000,250000,0,13,12.3");
    // Result map: the node without a result writes nothing even when shown.
    EXPECT_EQ(Element(&CPlotComposer::PlotResultMap),
              (std::vector<std::string>{"AP10000000,10000000,30000,21,8",
                                        "VJ9843750,10050000,250000,250000,0,8,0.86",
                                        "AP30000000,10000000,30000,21,8",
                                        "VJ29843750,10050000,250000,250000,0,8,1.00"}));
    // A node outside the frame writes nothing; one on its edge is written.
    doc.m_calcArea.SetOrigin(300.0, 0.0);  // nodes at x 300, 400 (the edge) and 500
    EXPECT_EQ(Element(&CPlotComposer::PlotDepthMap).size(), 4u);
}

TEST_F(PlotFigure, DirectionMapTexts) {
    SeaMesh(1, 1, 10.0);
    doc.m_calcArea.SetOrigin(100.0, 100.0);
    doc.m_mesh.SetDirFlag(0, 1);
    struct Row {
        float stored;
        int mode, sense;
        const char* text;
    };
    const Row rows[] = {{0.0f, 0, 0, "0.0"},   {90.0f, 0, 0, "270.0"},  {90.0f, 2, 0, "90.0"},
                        {90.0f, 0, 1, "90.0"}, {0.04f, 0, 0, "0.0"},    // would print 360.0
                        {0.0000005f, 0, 0, "0.0"}};                      // would print -0.0
    for (const Row& r : rows) {
        CCalValue v = doc.m_mesh.GetAt(0);
        v.SetDirection(r.stored);
        doc.m_mesh.SetAt(0, v);
        doc.m_info.m_nDirMode = r.mode;
        doc.m_info.m_nOutDirSense = r.sense;
        const std::vector<std::string> got = Element(&CPlotComposer::PlotDirectionMap);
        ASSERT_EQ(got.size(), 2u);
        const std::string t = r.text;
        // Each byte advances h/2 = 1.25 mm; the text ends 1.75 x 1.25 mm right of the node.
        const double x = 100.0 - (static_cast<double>(t.size()) - 1.75) * 1.25;
        EXPECT_EQ(got[1], "VJ" + std::to_string(static_cast<long long>(x * 100000.0 + 0.5)) +
                              ",10050000,250000,250000,0,14," + t)
            << r.stored;
    }
}

// ---- Result contours ----

void SetContour(CTydDocData& doc, const std::vector<CPointF>& pts, double level, int labelAt = -1) {
    CContGroup& g = doc.m_contGroup;
    g.SetCapacity(1);
    g.SetCount(1);
    g.AllocLines();
    g.SetPointCount(0, static_cast<int>(pts.size()));
    g.SetLevel(0, level);
    g.AllocPoints(0);
    for (std::size_t j = 0; j < pts.size(); ++j) {
        CContPoint p(pts[j]);
        if (static_cast<int>(j) == labelAt) p.m_nLabel = 1;
        g.SetPoint(0, static_cast<int>(j), p);
    }
}

TEST_F(PlotFigure, ResultContours) {
    const std::vector<CPointF> square = {{100, 100}, {150, 100}, {150, 150}, {100, 150}, {100, 100}};
    SetContour(doc, square, 1.5);
    EXPECT_EQ(Element(&CPlotComposer::PlotResultContours),
              (std::vector<std::string>{"LL10000000,10000000,0,1,9", "LL15000000,10000000,1,1,9",
                                        "LL15000000,15000000,1,1,9", "LL10000000,15000000,2,1,9"}));
    // A label gap: one open line round the ring from one side of the gap to the other,
    // and the level in the gap, centred on it.
    SetContour(doc, square, 1.5, 1);
    EXPECT_EQ(Element(&CPlotComposer::PlotResultContours),
              (std::vector<std::string>{"LL15000000,10000000,0,0,9", "LL10000000,10000000,1,0,9",
                                        "LL10000000,15000000,1,0,9", "LL15000000,15000000,2,0,9",
                                        "VJ15125000,12250000,250000,250000,9000000,9,1.50"}));
    // Leaving the frame and coming back: two lines, each ending on the border.
    SetContour(doc, {{350, 100}, {450, 100}, {450, 150}, {350, 150}}, 1.5);
    EXPECT_EQ(Element(&CPlotComposer::PlotResultContours),
              (std::vector<std::string>{"LL35000000,10000000,0,0,9", "LL40000000,10000000,2,0,9",
                                        "LL40000000,15000000,0,0,9", "LL35000000,15000000,2,0,9"}));
    // Points closer than 0.001 mm give one vertex.
    SetContour(doc, {{100, 100}, {150, 100}, {150.0005f, 100.0005f}, {200, 100}}, 1.5);
    EXPECT_EQ(Element(&CPlotComposer::PlotResultContours),
              (std::vector<std::string>{"LL10000000,10000000,0,0,9", "LL15000000,10000000,1,0,9",
                                        "LL20000000,10000000,2,0,9"}));
    // White contours only over a colour map.
    struct Row {
        int color, white;
        char layer;
    };
    for (Row r : {Row{1, 1, 'A'}, Row{1, 0, '9'}, Row{0, 1, '9'}}) {
        doc.m_zmn.m_bColorContour = r.color;
        doc.m_zmn.m_nContourColor = r.white;
        const std::vector<std::string> got = Element(&CPlotComposer::PlotResultContours);
        ASSERT_EQ(got.size(), 3u);
        EXPECT_EQ(got[0], r.layer == 'A' ? "LL10000000,10000000,0,0,10" : "LL10000000,10000000,0,0,9");
    }
}

// ---- Arrows and output points ----

TEST_F(PlotFigure, DirectionArrows) {
    SeaMesh(1, 1, 10.0);
    doc.m_calcArea.SetOrigin(100.0, 100.0);
    doc.m_mesh.SetVectorFlag(0, 1);
    CZmn_Inf& z = doc.m_zmn;
    z.m_nValueType = 0;
    struct Row {
        const char* name;
        double h0;  // the value is h0 x the node's ratio 0.5
        double low, high, lmin, lmax;
        float dir;
        std::vector<std::string> want;
    };
    const Row rows[] = {
        {"at vmin with lmin 0: too short", 0.0, 0.0, 2.0, 0.0, 10.0, 0.0f, {}},
        {"half way, pointing down the sheet", 2.0, 0.0, 2.0, 0.0, 10.0, 0.0f,
         {"AH10000000,10250000,10000000,9750000,166667,166667,10,11"}},
        {"at vmin with lmin 1", 0.0, 0.0, 2.0, 10.0, 1.0, 90.0f,  // swapped lengths
         {"AH10050000,10000000,9950000,10000000,33333,33333,10,11"}},
        {"a hair above vmax", 4.0000001, 0.0, 2.0, 0.0, 10.0, 0.0f,
         {"AH10000000,10500000,10000000,9500000,333333,333333,10,11"}},
        {"above vmax", 4.000001, 0.0, 2.0, 0.0, 10.0, 0.0f, {}},
        {"an empty range takes lmin", 2.0, 1.0, 1.0, 2.0, 10.0, 0.0f,
         {"AH10000000,10100000,10000000,9900000,66667,66667,10,11"}},
    };
    for (const Row& r : rows) {
        doc.m_mesh.SetWaveHeight(r.h0);
        z.m_dVectorLow[0] = r.low, z.m_dVectorHigh[0] = r.high;
        z.m_dVectorMin = r.lmin, z.m_dVectorMax = r.lmax;
        CCalValue v = doc.m_mesh.GetAt(0);
        v.SetDirection(r.dir);
        doc.m_mesh.SetAt(0, v);
        EXPECT_EQ(Element(&CPlotComposer::PlotDirectionArrows), r.want) << r.name;
    }
}

TEST_F(PlotFigure, OutputPointsAndTheirLabels) {
    CSansyutuZokusei p = points.GetAt(0);
    p.SetPos(100.0, 100.0);
    p.SetUse(1);
    points.SetAt(0, p);
    doc.m_pCalcPoints.assign(10, CPointD::Unset());
    doc.m_pCalcPoints[0] = CPointD(120.0, 130.0);
    const std::string mark = "AP10000000,10000000,300000,21,12";
    const std::string name = "VJ10200000,9850000,300000,300000,0,12,1";
    const std::string head = "VJ12000000,13500000,400000,400000,0,12," + Sj("算出－") + "1";
    const std::string at = "VJ12000000,13000000,400000,400000,0,12,";
    struct Row {
        int type, decimals;
        double value;
        float dir;
        std::string line;
    };
    const Row rows[] = {
        {1, 2, 0.856, 45.0f, "H\\d1\\d/\\d3/H\\d0= 0.86,N45.0\xDF"},
        {0, 0, 1.97, 45.0f, "H\\d1\\d/\\d3= 1m,N45.0\xDF"},
        {2, 2, 1.5, 999.0f, "H\\d0'= 1.50m,N0.0\xDF"},  // a value without a direction
        {3, 1, kNoValue, 12.5f, "H\\d0'/H\\d0= 0.0,N12.5\xDF"},  // a direction without a value
        {0, 2, 1.0, 359.96f, "H\\d1\\d/\\d3= 1.00m,N0.0\xDF"},  // never 360.0
    };
    for (const Row& r : rows) {
        doc.m_zmn.m_nValueType = r.type;
        doc.m_zmn.m_nDecimals = r.decimals;
        view.m_pCalcPtValue[0] = r.value;
        view.m_pCalcPtDir[0] = r.dir;
        EXPECT_EQ(Element(&CPlotComposer::PlotCalcPoints), (std::vector<std::string>{mark, name, head, at + r.line}))
            << r.line;
    }
    // Neither value nor direction, or a label not placed: the mark and the name only.
    view.m_pCalcPtValue[0] = kNoValue;
    view.m_pCalcPtDir[0] = 999.0f;
    EXPECT_EQ(Element(&CPlotComposer::PlotCalcPoints).size(), 2u);
    view.m_pCalcPtValue[0] = 1.0;
    doc.m_pCalcPoints[0] = CPointD::Unset();
    EXPECT_EQ(Element(&CPlotComposer::PlotCalcPoints).size(), 2u);
    // A point outside the frame writes nothing, though its label would stand inside.
    doc.m_pCalcPoints[0] = CPointD(120.0, 130.0);
    p.SetPos(-5.0, 100.0);
    points.SetAt(0, p);
    EXPECT_TRUE(Element(&CPlotComposer::PlotCalcPoints).empty());
}

// ---- Failures ----

TEST_F(PlotFigure, ScaleOfZeroWritesNothing) {
    std::filesystem::remove(StartFolderFile("pdata000.plt"));
    for (int scale : {0, -50000}) {
        doc.m_zmn.m_nScale = scale;
        CPlotStore store;
        ui.Clear();
        EXPECT_EQ(MakePlotFile(view, 0.0, store, nullptr, Sources()), -1);
        EXPECT_FALSE(FileExists(StartFolderFile("pdata000.plt")));
        EXPECT_FALSE(store.HasData());
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].caption, "PDATA000");
    }
}

TEST_F(PlotFigure, StartFolderThatCannotBeWritten) {
    // A file where the start folder should be: no one, root included, can create in it.
    ASSERT_TRUE(AtomicWriteFile("blocked", std::string("x"), nullptr));
    SetStartFolder(CurrentFolder() + "blocked/");
    CPlotStore store;
    ASSERT_EQ(store.ReadPlotText(0, "t\nDL0,0,100000,100000,1\n"), 0);
    EXPECT_EQ(MakePlotFile(view, 0.0, store, nullptr, Sources()), -1);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "pdata000.plt作成に失敗しました。");
    EXPECT_EQ(ui.Messages()[0].caption, "PDATA000");
    EXPECT_EQ(store.GetPage(0)->m_lines.GetCount(), 1);  // the earlier figure stays
}

}  // namespace
