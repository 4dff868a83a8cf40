// The terrain importers: DXF (2D by layers, 3D by z), CSV points and polylines, Q-SONA
// and another project, through their commands with scripted dialogs.
#include "core/geometry.h"
#include "core/line.h"
#include "core/sokuten.h"
#include "core/tik_inf.h"
#include "geoconv/meshgate.h"
#include "platform/text.h"
#include "geoconv/qsona_record.h"
#include "project/import_messages.h"
#include "project/terrain_import.h"
#include "project/tik_doc.h"
#include "full_tables.h"
#include "tik_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <set>

namespace wv {
namespace {

using test::OpenProjectBytes;

std::string DxfData(const std::string& name) { return test::ProjectData("dxf/" + name); }

void WriteText(const std::string& path, const std::string& text) {
    std::string err;
    ASSERT_TRUE(AtomicWriteFile(path, text, &err)) << err;
}

// Answers every dialog from its fields and records the messages and the cursor.
struct ScriptedImportUi : ImportUi {
    std::optional<std::string> file;
    bool accept = true;
    DxfImportOptions dxf;
    std::vector<DxfLayer> editedLayers;  // when not empty, replaces the list
    std::vector<DxfLayer> shownLayers;
    std::vector<std::string> shownLayerNames;
    bool survey = false;
    double reference = 0.0;
    QsonaImportOptions qsona;
    std::vector<std::string> messages;
    std::vector<std::string> captions;
    int waitDepth = 0;
    int waitShown = 0;

    std::optional<std::string> ChooseFile(const OpenFileRequest&) override { return file; }
    bool EditDxf2D(const DxfFile& f, std::vector<DxfLayer>& layers, DxfImportOptions& o) override {
        shownLayers = layers;
        for (const DxfLayer& l : layers) shownLayerNames.push_back(LayerDisplayName(f, l.name));
        if (!editedLayers.empty()) layers = editedLayers;
        o = dxf;
        return accept;
    }
    bool EditDxf3D(DxfImportOptions& o) override {
        o = dxf;
        return accept;
    }
    std::optional<bool> ChooseCoordinateAxes() override {
        if (!accept) return std::nullopt;
        // The setting holds the choice while the import runs.
        return survey;
    }
    bool EditCsvLines(double& ref, bool& s) override {
        ref = reference;
        s = survey;
        return accept;
    }
    bool EditQsona(QsonaImportOptions& o, bool&) override {
        o = qsona;
        return accept;
    }
    void Message(const std::string& text, const std::string& caption, ImportIcon) override {
        messages.push_back(text);
        captions.push_back(caption);
    }
    void SetWaitCursor(bool on) override {
        waitDepth += on ? 1 : -1;
        if (on) ++waitShown;
    }
};

class ImportTest : public ::testing::Test {
protected:
    void SetUp() override { ResetTikData(); }
    void TearDown() override {
        EXPECT_EQ(ui.waitDepth, 0) << "the wait cursor must come off on every way out";
        EXPECT_EQ(g_tikInf.m_nCoordSystem, 0);
        ResetTikData();
    }

    // Points in use as (x, y, height), and lines in use as sorted position pairs with kind.
    struct Line {
        double x1, y1, x2, y2;
        int kind;
        double height;
        bool operator<(const Line& o) const {
            return std::tie(x1, y1, x2, y2, kind) < std::tie(o.x1, o.y1, o.x2, o.y2, o.kind);
        }
    };
    static std::vector<Line> Lines() {
        std::vector<Line> out;
        for (int i = 0; i < g_lines.GetSlotCount(); ++i) {
            const CLineZokusei l = g_lines.GetAt(i);
            if (l.GetState() < 0) continue;
            CPointD a = g_surveyPoints.GetAt(l.GetStartIndex()).GetPos();
            CPointD b = g_surveyPoints.GetAt(l.GetEndIndex()).GetPos();
            if (std::tie(b.m_dX, b.m_dY) < std::tie(a.m_dX, a.m_dY)) std::swap(a, b);
            out.push_back({a.m_dX, a.m_dY, b.m_dX, b.m_dY, l.GetKind(), l.GetDepth()});
        }
        std::sort(out.begin(), out.end());
        return out;
    }
    static const Line* FindLine(const std::vector<Line>& lines, double x1, double y1, double x2,
                                double y2) {
        for (const Line& l : lines) {
            if ((l.x1 == x1 && l.y1 == y1 && l.x2 == x2 && l.y2 == y2) ||
                (l.x1 == x2 && l.y1 == y2 && l.x2 == x1 && l.y2 == y1))
                return &l;
        }
        return nullptr;
    }
    static int PointAt(double x, double y) {
        for (int i = 0; i < g_surveyPoints.GetSlotCount(); ++i) {
            const CSokutenZokusei p = g_surveyPoints.GetAt(i);
            if (p.GetId() >= 0 && p.GetPos().m_dX == x && p.GetPos().m_dY == y) return i;
        }
        return -1;
    }

    ScriptedImportUi ui;
};

// ---------------------------------------------------------------------------------------
// DXF

TEST(DxfLayers, AttributeAndValueComeFromTheName) {
    const struct {
        const char* name;
        int attribute;
        double value;
    } cases[] = {
        {"T12_5", kLayerTerrain, 12.5}, {"H3", kLayerDepth, 3.0},   {"TA1", kLayerUndefined, 0.0},
        {"X12", kLayerUndefined, 0.0},  {"T", kLayerUndefined, 0.0}, {"H0_25", kLayerDepth, 0.3},
        {"T1E999", kLayerUndefined, 0.0},  // beyond a double's range: no depth
    };
    for (const auto& c : cases) {
        const DxfLayer l = LayerFromName(c.name);
        EXPECT_EQ(l.attribute, c.attribute) << c.name;
        EXPECT_DOUBLE_EQ(l.value, c.value) << c.name;
    }
}

TEST(DxfReader, CountingAndReadingAgreeOnEveryDrawing) {
    for (const char* name : {"r12_lines.dxf", "r12_lines_crlf.dxf", "r12_3d.dxf", "r2000.dxf",
                             "r2018_japanese.dxf", "edge_dialect.dxf", "edge_long_value.dxf",
                             "edge_no_layer_table.dxf"}) {
        std::string error;
        const auto f = DxfFile::Load(DxfData(name), error);
        ASSERT_TRUE(f) << name << ": " << error;
        for (DxfMode mode : {DxfMode::Plane, DxfMode::ThreeD}) {
            const int s = CountDxfSegments(*f, mode);
            const ImportGeometry g = ReadDxfGeometry(*f, mode, ReadDxfLayers(*f), {}, s);
            // A closed chain whose vertices fell short of their count gives one fewer; none
            // of these drawings has one except the dialect file's over-full polyline.
            EXPECT_EQ(static_cast<int>(g.segments.size()), s) << name;
            EXPECT_LE(g.PointCount(), 2 * s + 5) << name;
        }
    }
}

TEST(DxfReader, CrLfAndLfReadTheSame) {
    std::string e1, e2;
    const auto a = DxfFile::Load(DxfData("r12_lines.dxf"), e1);
    const auto b = DxfFile::Load(DxfData("r12_lines_crlf.dxf"), e2);
    ASSERT_TRUE(a && b);
    ASSERT_EQ(a->Pairs().size(), b->Pairs().size());
    for (std::size_t i = 0; i < a->Pairs().size(); ++i) {
        EXPECT_EQ(a->Pairs()[i].code, b->Pairs()[i].code);
        EXPECT_EQ(a->Pairs()[i].value, b->Pairs()[i].value);
    }
}

TEST(DxfReader, BrokenFilesAreRefusedNamingTheFile) {
    const struct {
        const char* name;
        const char* says;
    } cases[] = {
        {"edge_truncated.dxf", "途中でファイルが終わって"},
        {"edge_bad_code.dxf", "9 行目のグループコードが整数ではありません"},
        {"edge_binary.dxf", "バイナリ形式"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(DxfFile::Load(DxfData(c.name), error)) << c.name;
        EXPECT_NE(error.find(c.name), std::string::npos) << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
    std::string error;
    const auto empty = DxfFile::Load(DxfData("edge_empty.dxf"), error);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->Pairs().empty());
}

TEST(DxfReader, DialectEdges) {
    std::string error;
    const auto f = DxfFile::Load(DxfData("edge_dialect.dxf"), error);
    ASSERT_TRUE(f) << error;
    // The table header announces one layer; all three entries are taken.
    const std::vector<DxfLayer> layers = ReadDxfLayers(*f);
    ASSERT_EQ(layers.size(), 3u);
    EXPECT_EQ(layers[1].name, "T1_5");
    // A POLYLINE without group 70 keeps its first vertex (2 segments); an LWPOLYLINE that
    // announces 2 vertices but has 3 stores 2, and closes on them.
    const ImportGeometry g = ReadDxfGeometry(*f, DxfMode::Plane, layers, {}, CountDxfSegments(*f, DxfMode::Plane));
    ASSERT_EQ(g.segments.size(), 4u);
    EXPECT_EQ(g.PointCount(), 5);
    EXPECT_DOUBLE_EQ(g.x[0], 0.0);
    EXPECT_DOUBLE_EQ(g.x[4], 110.0);
    // The vertex on layer X12 still takes the polyline's layer.
    EXPECT_EQ(g.segments[1].kind, kLayerDepth);
    EXPECT_DOUBLE_EQ(g.height[1], -3.0);

    // A value longer than 255 bytes is one line: the pairs after it stay in step.
    const auto lv = DxfFile::Load(DxfData("edge_long_value.dxf"), error);
    ASSERT_TRUE(lv);
    const ImportGeometry g2 = ReadDxfGeometry(*lv, DxfMode::Plane, ReadDxfLayers(*lv), {}, 1);
    ASSERT_EQ(g2.segments.size(), 1u);
    EXPECT_DOUBLE_EQ(g2.x[1], 3.0);
    EXPECT_DOUBLE_EQ(g2.height[0], -2.0);
}

TEST_F(ImportTest, Dxf2DTakesKindAndDepthFromTheLayers) {
    ui.file = DxfData("r12_lines.dxf");
    ui.dxf.reference = 10.0;
    const ImportReport r = ImportDxf(ui, DxfMode::Plane);
    ASSERT_EQ(r.status, ImportStatus::Imported) << (ui.messages.empty() ? "" : ui.messages[0]);
    std::set<std::string> names(ui.shownLayerNames.begin(), ui.shownLayerNames.end());
    for (const char* n : {"T12_5", "H3", "TA1", "X12", "T"}) EXPECT_TRUE(names.count(n)) << n;

    const auto lines = Lines();
    const Line* h3 = FindLine(lines, 10, 0, 10, 10);
    ASSERT_TRUE(h3);
    EXPECT_EQ(h3->kind, kLineDepth);
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(PointAt(10, 10)).GetDepth(), 7.0);
    // The shared point (10, 0) was read first on T12_5: it keeps 10 - 12.5.
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(PointAt(10, 0)).GetDepth(), -2.5);
    const Line* unlisted = FindLine(lines, 30, 0, 40, 0);
    ASSERT_TRUE(unlisted);
    EXPECT_EQ(unlisted->kind, kLineUndefined);
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(PointAt(30, 0)).GetDepth(), 10.0);
    // A line whose ends lie within 0.1 of each other merges into one point: no line.
    EXPECT_GE(PointAt(20, 20), 0);
    EXPECT_EQ(PointAt(20.05, 20.05), -1);
    // The arc from 350 to 10 degrees runs through 0: its middle point is at 360.
    EXPECT_GE(PointAt(110, 100), 0);
    EXPECT_TRUE(FindLine(lines, RoundDecimal(100 + 10 * std::cos(350 * M_PI / 180), 3),
                         RoundDecimal(100 + 10 * std::sin(350 * M_PI / 180), 3), 110, 100));
    // The closed 2D polyline has its closing side.
    EXPECT_TRUE(FindLine(lines, 50, 10, 50, 0));
    // Every line is new and ordinary now.
    for (int i = 0; i < g_lines.GetSlotCount(); ++i) EXPECT_LE(g_lines.GetAt(i).GetState(), 0);
    EXPECT_EQ(ui.waitShown, 1);
}

TEST_F(ImportTest, Dxf2DEditedLayerAndMillimetres) {
    ui.file = DxfData("r2018_japanese.dxf");
    ui.dxf.millimetres = true;
    ui.dxf.reference = 1.0;
    // The user turns 道路 into a depth line at 2.0 (it carries no line, nothing changes).
    ASSERT_EQ(ImportDxf(ui, DxfMode::Plane).status, ImportStatus::Imported);
    std::set<std::string> names(ui.shownLayerNames.begin(), ui.shownLayerNames.end());
    EXPECT_TRUE(names.count("H12水深線"));
    EXPECT_TRUE(names.count("T5_0地形"));
    EXPECT_TRUE(names.count("道路"));
    // "ミリ": 12345.0 becomes 12.345.
    EXPECT_GE(PointAt(12.345, 0), 0);
    EXPECT_GE(PointAt(0, 5), 0);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(FindLine(lines, 0, 0, 12.345, 0)->kind, kLineDepth);
    EXPECT_EQ(FindLine(lines, 0, 0, 0, 5)->kind, kLineTerrain);
}

TEST_F(ImportTest, Dxf3DKindsAndDepthsFromZ) {
    ui.file = DxfData("r12_3d.dxf");
    ui.dxf.reference = 10.0;
    ASSERT_EQ(ImportDxf(ui, DxfMode::ThreeD).status, ImportStatus::Imported);
    const auto lines = Lines();
    EXPECT_EQ(FindLine(lines, 0, 0, 10, 0)->kind, kLineDepth);     // layer HLINE, z 0
    EXPECT_EQ(FindLine(lines, 0, 10, 10, 10)->kind, kLineDepth);   // layer A, z 5
    EXPECT_EQ(FindLine(lines, 0, 20, 10, 20)->kind, kLineTerrain); // layer A, z 0
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(PointAt(0, 10)).GetDepth(), 5.0);
    // A 3D polyline takes its first vertex's z for every point.
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(PointAt(60, 10)).GetDepth(), 2.5);
    EXPECT_TRUE(FindLine(lines, 60, 10, 50, 0));
    // An arc takes its centre's z.
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(PointAt(110, 100)).GetDepth(), 8.0);
}

TEST_F(ImportTest, Dxf3DZNotGivenIsZero) {
    ui.file = DxfData("edge_no_layer_table.dxf");
    ui.dxf.reference = 4.0;
    ASSERT_EQ(ImportDxf(ui, DxfMode::ThreeD).status, ImportStatus::Imported);
    // The LINE gives z 3.0 at its start only: both ends take it.
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(PointAt(4, 5)).GetDepth(), 1.0);

    ResetTikData();
    WriteText("noz.dxf", "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\nA\n90\n2\n10\n0\n20\n0\n10\n5\n20\n0\n"
                         "0\nPOLYLINE\n8\nA\n0\nVERTEX\n10\n9\n20\n9\n0\nVERTEX\n10\n8\n20\n9\n0\nSEQEND\n"
                         "0\nENDSEC\n0\nEOF\n");
    ui.file = "noz.dxf";
    ASSERT_EQ(ImportDxf(ui, DxfMode::ThreeD).status, ImportStatus::Imported);
    for (int i = 0; i < g_surveyPoints.GetSlotCount(); ++i) {
        const CSokutenZokusei p = g_surveyPoints.GetAt(i);
        if (p.GetId() >= 0) {
            EXPECT_DOUBLE_EQ(p.GetDepth(), 4.0);
        }
    }
    for (const Line& l : Lines()) EXPECT_EQ(l.kind, kLineTerrain);
}

TEST_F(ImportTest, Dxf2000BlocksPolyfacesAndControlPointSplinesGiveNoLines) {
    ui.file = DxfData("r2000.dxf");
    ASSERT_EQ(ImportDxf(ui, DxfMode::Plane).status, ImportStatus::Imported);
    const auto lines = Lines();
    // 2 + 3 (closed) LWPOLYLINE sides and 3 spline fit-point segments.
    EXPECT_EQ(lines.size(), 8u);
    EXPECT_EQ(PointAt(500, 500), -1);
    EXPECT_EQ(PointAt(1, 1), -1);
    EXPECT_EQ(PointAt(10, 90), -1);
    EXPECT_GE(PointAt(30, 55), 0);
}

TEST_F(ImportTest, RefusedOrCancelledDxfChangesNothing) {
    ui.file = DxfData("r12_lines.dxf");
    ASSERT_EQ(ImportDxf(ui, DxfMode::Plane).status, ImportStatus::Imported);
    const auto before = OpenProjectBytes();

    const struct {
        const char* file;
        DxfMode mode;
        bool accept;
        const char* message;
    } cases[] = {
        {"edge_truncated.dxf", DxfMode::Plane, true, "途中でファイルが終わって"},
        {"edge_bad_code.dxf", DxfMode::ThreeD, true, "整数ではありません"},
        {"edge_binary.dxf", DxfMode::Plane, true, "バイナリ形式"},
        {"edge_empty.dxf", DxfMode::Plane, true, importmsg::kNoLayers},
        {"edge_no_layer_table.dxf", DxfMode::Plane, true, importmsg::kNoLayers},
        {"edge_empty.dxf", DxfMode::ThreeD, true, importmsg::kNoLines},
        {"missing.dxf", DxfMode::Plane, true, importmsg::kFileOpenError},
        {"r12_lines.dxf", DxfMode::Plane, false, nullptr},
        {"r12_3d.dxf", DxfMode::ThreeD, false, nullptr},
    };
    for (const auto& c : cases) {
        ui.messages.clear();
        ui.file = DxfData(c.file);
        ui.accept = c.accept;
        const ImportReport r = ImportDxf(ui, c.mode);
        EXPECT_NE(r.status, ImportStatus::Imported) << c.file;
        SCOPED_TRACE(c.file);
        if (c.message) {
            ASSERT_EQ(ui.messages.size(), 1u) << c.file;
            EXPECT_NE(ui.messages[0].find(c.message), std::string::npos) << ui.messages[0];
            EXPECT_EQ(ui.captions[0], "DXF");
        } else {
            EXPECT_TRUE(ui.messages.empty());
        }
        EXPECT_EQ(OpenProjectBytes(), before) << c.file;
    }
    ui.file.reset();
    EXPECT_EQ(ImportDxf(ui, DxfMode::Plane).status, ImportStatus::Cancelled);
}

// Imported terrain is saved by the project document and read back as it was imported.
TEST_F(ImportTest, ImportedTerrainReopensFromTheSavedProject) {
    CTikDoc doc;
    ui.file = DxfData("r12_lines.dxf");
    ui.dxf.reference = 10.0;
    ASSERT_EQ(ImportDxf(ui, DxfMode::Plane).status, ImportStatus::Imported);
    ui.file = DxfData("r12_3d.dxf");
    ASSERT_EQ(ImportDxf(ui, DxfMode::ThreeD).status, ImportStatus::Imported);
    const auto imported = OpenProjectBytes();
    ASSERT_TRUE(doc.OnSaveDocument("IMPORTED.TIK"));
    ResetTikData();
    CTikDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument("IMPORTED.TIK"));
    EXPECT_EQ(OpenProjectBytes(), imported);
    EXPECT_GT(g_lines.GetCount(), 10);
}

TEST_F(ImportTest, SecondImportReusesSharedEndsAndAddsNoDuplicateLine) {
    WriteText("a.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nH1\n10\n0\n20\n0\n11\n10\n21\n0\n0\nENDSEC\n0\nEOF\n");
    WriteText("b.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nH1\n10\n10.05\n20\n0.05\n11\n20\n21\n0\n"
                       "0\nLINE\n8\nH1\n10\n10\n20\n0\n11\n0.02\n21\n0\n0\nENDSEC\n0\nEOF\n");
    for (const char* f : {"a.dxf", "b.dxf"}) {
        ui.file = f;
        ASSERT_EQ(ImportDxf(ui, DxfMode::ThreeD).status, ImportStatus::Imported) << f;
    }
    EXPECT_EQ(g_surveyPoints.GetCount(), 3);
    EXPECT_EQ(g_lines.GetCount(), 2);
    EXPECT_EQ(PointAt(10.05, 0.05), -1);
}

// ---------------------------------------------------------------------------------------
// The merge

TEST(ImportMerge, FastMergeMatchesTheReferenceSlotForSlot) {
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        std::uniform_real_distribution<double> coord(0.0, round % 2 ? 3.0 : 50.0);
        std::uniform_int_distribution<int> kind(0, 2);
        // An existing terrain with some free slots, and new points that often fall within
        // 0.1 of old ones or of each other.
        CSokuten pointsA;
        CLine linesA;
        for (int i = 0; i < 300; ++i) {
            pointsA.Add(RoundDecimal(coord(rng), 3), RoundDecimal(coord(rng), 3), 0);
        }
        for (int i = 0; i < 60; ++i) pointsA.RemoveAt(static_cast<int>(rng() % 300));
        CSokuten pointsB = pointsA;
        CLine linesB = linesA;

        ImportGeometry g;
        const int n = 200 + round * 37;
        for (int i = 0; i < n; ++i) {
            double x = RoundDecimal(coord(rng), 3);
            double y = RoundDecimal(coord(rng), 3);
            if (i % 5 == 0 && i > 0) {
                x = g.x[i - 1] + 0.05;  // near the last one
                y = g.y[i - 1];
            }
            g.AddPoint(x, y, coord(rng));
            if (i > 0 && i % 3 != 0) g.segments.push_back({i - 1, i, kind(rng)});
        }
        const MergeResult fast = MergeImport(pointsA, linesA, g, true);
        const MergeResult ref = MergeImportReference(pointsB, linesB, g, true);
        EXPECT_EQ(fast.pointsAdded, ref.pointsAdded);
        EXPECT_EQ(fast.linesAdded, ref.linesAdded);
        ASSERT_EQ(pointsA.GetSlotCount(), pointsB.GetSlotCount());
        ASSERT_EQ(linesA.GetSlotCount(), linesB.GetSlotCount());
        for (int s = 0; s < pointsA.GetSlotCount(); ++s) ASSERT_EQ(pointsA.GetAt(s), pointsB.GetAt(s)) << s;
        for (int s = 0; s < linesA.GetSlotCount(); ++s) ASSERT_EQ(linesA.GetAt(s), linesB.GetAt(s)) << s;
    }
}

// ---------------------------------------------------------------------------------------
// CSV

TEST(TextImport, NumbersBeyondADoublesRangeMakeNoPoints) {
    const std::vector<std::string> points = {"1.E500,2", "3,-1e999", "4,5"};
    const ImportGeometry p = ReadCsvPoints(points, false);
    ASSERT_EQ(p.PointCount(), 1);
    EXPECT_EQ(p.x[0], 4.0);
    const std::string huge(400, '9');
    const std::vector<std::string> rows = {"1,2.5,0,0,1", "1,2.5," + huge + ",0,1", "1," + huge + ",5,5,2", "1,2.5,9,9,1"};
    const ImportGeometry l = ReadCsvLines(rows, 10.0, false);
    ASSERT_EQ(l.PointCount(), 2);
    EXPECT_EQ(l.x[1], 9.0);
    ASSERT_EQ(l.segments.size(), 1u);
}

TEST(DxfReader, AnEntityBeyondADoublesRangeIsPassedOver) {
    const std::string text =
        "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nH1\n10\n1e999\n20\n0\n11\n10\n21\n0\n"
        "0\nLINE\n8\nH1\n10\n0\n20\n0\n11\n10\n21\n0\n31\n-1e999\n0\nLINE\n8\nH1\n10\n1\n20\n2\n11\n3\n21\n4\n"
        "0\nENDSEC\n0\nEOF\n";
    std::string error;
    const auto f = DxfFile::Parse(text, "inf.dxf", error);
    ASSERT_TRUE(f) << error;
    for (DxfMode mode : {DxfMode::Plane, DxfMode::ThreeD}) {
        const ImportGeometry g = ReadDxfGeometry(*f, mode, ReadDxfLayers(*f), {}, CountDxfSegments(*f, mode));
        for (int i = 0; i < g.PointCount(); ++i) {
            EXPECT_TRUE(std::isfinite(g.x[i]) && std::isfinite(g.y[i]) && std::isfinite(g.height[i]));
        }
        EXPECT_GE(g.PointCount(), 2);  // the good line is kept
    }
}

TEST_F(ImportTest, CsvPointsInBothCoordinateSystems) {
    WriteText("p.csv", "X,Y\r\n100.0,200.0\r\nno comma here\r\n300.12345,400\r\n,\r\n");
    ui.file = "p.csv";
    ui.survey = true;
    ASSERT_EQ(ImportCsvPoints(ui).status, ImportStatus::Imported);
    EXPECT_EQ(g_surveyPoints.GetCount(), 2);
    EXPECT_GE(PointAt(200.0, 100.0), 0);
    EXPECT_GE(PointAt(400.0, 300.123), 0);

    ResetTikData();
    ui.survey = false;
    ASSERT_EQ(ImportCsvPoints(ui).status, ImportStatus::Imported);
    EXPECT_GE(PointAt(100.0, 200.0), 0);
    EXPECT_EQ(PointAt(0, 0), -1);

    // A point within 0.1 of an existing one adds nothing.
    WriteText("q.csv", "100.05,200.05\n");
    ui.file = "q.csv";
    ASSERT_EQ(ImportCsvPoints(ui).status, ImportStatus::Imported);
    EXPECT_EQ(g_surveyPoints.GetCount(), 2);
}

TEST_F(ImportTest, TablesNearTheirBoundTakeAnImportWholeOrNotAtAll) {
    const int existing = g_surveyPoints.Add(100.0, 200.0, 0);
    test::FillPoints(g_surveyPoints, 2);
    // Three points, one of them on the existing point: the two new ones fit.
    WriteText("p.csv", "100.05,200.05\n300,400\n500,600\n");
    ui.file = "p.csv";
    ASSERT_EQ(ImportCsvPoints(ui).status, ImportStatus::Imported);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(g_surveyPoints.GetCount(), kMaxTableSlots);
    EXPECT_EQ(PointAt(100.0, 200.0), existing);
    EXPECT_GE(PointAt(300.0, 400.0), 0);
    EXPECT_GE(PointAt(500.0, 600.0), 0);

    // Three new points into room for two: none of them goes in.
    ASSERT_TRUE(g_surveyPoints.RemoveAt(PointAt(500.0, 600.0)));
    ASSERT_TRUE(g_surveyPoints.RemoveAt(PointAt(300.0, 400.0)));
    WriteText("q.csv", "1,1\n2,2\n3,3\n");
    ui.file = "q.csv";
    EXPECT_EQ(ImportCsvPoints(ui).status, ImportStatus::Refused);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "測点の登録数は上限値(4195000)に達しています。");
    EXPECT_EQ(ui.captions[0], "ｴﾗｰ");
    EXPECT_EQ(g_surveyPoints.GetCount(), kMaxTableSlots - 2);
    EXPECT_EQ(g_surveyPoints.GetSlotCount(), kMaxTableSlots);
    for (double v : {1.0, 2.0, 3.0}) EXPECT_EQ(PointAt(v, v), -1);

    // Room for the points of a polyline but not for its lines: no point goes in either.
    ResetTikData();
    test::FillLines(g_lines, 1);
    WriteText("l.csv", "1,5.0,0,0,7\n1,6.0,10,0,7\n1,6.0,20,0,7\n");
    ui.file = "l.csv";
    ui.messages.clear();
    ui.captions.clear();
    EXPECT_EQ(ImportCsvLines(ui).status, ImportStatus::Refused);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "線分の登録数は上限値(4195000)に達しています。");
    EXPECT_EQ(g_surveyPoints.GetCount(), 0);
    EXPECT_EQ(g_lines.GetCount(), kMaxTableSlots - 1);
}

TEST_F(ImportTest, CsvLinesFormPolylinesOfAtLeastTwoRows) {
    WriteText("l.csv",
              "1,5.0,0,0,7\n"
              "1, 6.0, 10, 0, 7\n"
              "2 4.0 10 10 7\n"
              "1,5.0,0,0\n"          // four numbers
              "1,5.0,0,0,8,9\n"      // six numbers
              "3,5.0,0,0,8\n"        // kind 3
              "2,1.0,0,50,9\n"
              "2,1.0,99,99\n"        // skipped: does not end line 9
              "2,3.0,10,50,9\n");
    ui.file = "l.csv";
    ui.reference = 10.0;
    ASSERT_EQ(ImportCsvLines(ui).status, ImportStatus::Imported);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(FindLine(lines, 0, 0, 10, 0)->kind, kLineTerrain);
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(PointAt(0, 0)).GetDepth(), 5.0);
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(PointAt(10, 0)).GetDepth(), 5.0);
    EXPECT_EQ(PointAt(10, 10), -1);
    EXPECT_EQ(FindLine(lines, 0, 50, 10, 50)->kind, kLineDepth);
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(PointAt(10, 50)).GetDepth(), 9.0);

    // Survey coordinates swap the two columns.
    ResetTikData();
    ui.survey = true;
    ASSERT_EQ(ImportCsvLines(ui).status, ImportStatus::Imported);
    EXPECT_GE(PointAt(50, 10), 0);
}

TEST_F(ImportTest, CsvRefusalsChangeNothing) {
    WriteText("one.csv", "1,5.0,0,0,7\n");
    WriteText("empty.csv", "");
    const auto before = OpenProjectBytes();
    ui.file = "one.csv";
    EXPECT_EQ(ImportCsvLines(ui).status, ImportStatus::Refused);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], importmsg::kNoLines);
    EXPECT_EQ(ui.captions[0], "CSV");
    ui.file = "empty.csv";
    EXPECT_NE(ImportCsvPoints(ui).status, ImportStatus::Imported);
    ui.file = "missing.csv";
    EXPECT_EQ(ImportCsvPoints(ui).status, ImportStatus::Refused);
    EXPECT_EQ(ui.messages.back(), importmsg::kFileOpenError);
    ui.file = "one.csv";
    ui.accept = false;
    EXPECT_EQ(ImportCsvPoints(ui).status, ImportStatus::Cancelled);
    EXPECT_EQ(ImportCsvLines(ui).status, ImportStatus::Cancelled);
    EXPECT_EQ(OpenProjectBytes(), before);
}

// ---------------------------------------------------------------------------------------
// Q-SONA

// One record in the fixed columns of the bathymetry format.
std::string Qsona(char type, int point, double depth, double lat, double lon, char unit, int line,
                  char datum = '1') {
    std::string s = Sprintf("%c    %05d%7.1f%9.5f%10.5f", type, point, depth, lat, lon);
    s.resize(47, ' ');
    s += unit;
    s += "  ";
    s += Sprintf("%8d", line);
    s += ' ';
    s += datum;
    return s;
}

TEST_F(ImportTest, QsonaRecordsBecomePlaneCoordinateLines) {
    const std::string file = "HEADER of the survey, no datum here\r\n" +
                             Qsona('L', 1, 0.0, 35.0, 139.8, 'M', 1) + "\r\n" +
                             Qsona('L', 2, 0.0, 35.001, 139.801, 'M', 1) + "\r\n" +
                             Qsona('N', 3, 12.0, 35.002, 139.8, 'M', 2) + "\r\n" +
                             Qsona('N', 4, 12.0, 35.002, 139.802, 'M', 2) + "\r\n" +
                             // A continuation under line 3 repeats the last point.
                             Qsona('N', 0, 12.0, 35.002, 139.802, 'M', 3) + "\r\n" +
                             Qsona('N', 5, 12.0, 35.003, 139.803, 'M', 3) + "\r\n" +
                             // Same line number, other type: a new polyline.
                             Qsona('M', 6, 12.0, 35.004, 139.804, 'F', 3) + "\r\n" +
                             Qsona('M', 7, 12.0, 35.005, 139.805, 'F', 3) + "\n";
    WriteText("bay.dat", file);
    ui.file = "bay.dat";
    ui.qsona.reference = 30.0;
    ui.qsona.zone = 9;
    ASSERT_EQ(ImportQsona(ui).status, ImportStatus::Imported) << (ui.messages.empty() ? "" : ui.messages[0]);

    auto plane = [](double lat, double lon) {
        double x = 0, y = 0;
        Meshgate(1, 9, lat, lon, &x, &y);
        return CPointD(RoundDecimal(y, 3), RoundDecimal(x, 3));
    };
    const CPointD c1 = plane(35.0, 139.8);
    const CPointD c2 = plane(35.001, 139.801);
    const CPointD n1 = plane(35.002, 139.8);
    const CPointD n2 = plane(35.002, 139.802);
    const CPointD n3 = plane(35.003, 139.803);
    const CPointD m1 = plane(35.004, 139.804);
    const CPointD m2 = plane(35.005, 139.805);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(FindLine(lines, c1.m_dX, c1.m_dY, c2.m_dX, c2.m_dY)->kind, kLineTerrain);
    EXPECT_EQ(FindLine(lines, n1.m_dX, n1.m_dY, n2.m_dX, n2.m_dY)->kind, kLineDepth);
    // The continuation joins the two polylines at one survey point.
    EXPECT_TRUE(FindLine(lines, n2.m_dX, n2.m_dY, n3.m_dX, n3.m_dY));
    EXPECT_FALSE(FindLine(lines, n3.m_dX, n3.m_dY, m1.m_dX, m1.m_dY));
    EXPECT_EQ(FindLine(lines, m1.m_dX, m1.m_dY, m2.m_dX, m2.m_dY)->kind, kLineDepth);
    EXPECT_EQ(g_surveyPoints.GetCount(), 7);
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(PointAt(c1.m_dX, c1.m_dY)).GetDepth(), 30.0);
    EXPECT_DOUBLE_EQ(g_surveyPoints.GetAt(PointAt(n1.m_dX, n1.m_dY)).GetDepth(), 18.0);
    // Fathoms: 12.0 x 1.8288 = 21.9456.
    EXPECT_NEAR(g_surveyPoints.GetAt(PointAt(m1.m_dX, m1.m_dY)).GetDepth(), 30.0 - 21.9456, 1e-12);
}

TEST_F(ImportTest, QsonaWithoutDatumOrLinesIsRefused) {
    const auto before = OpenProjectBytes();
    WriteText("nodatum.dat", Qsona('L', 1, 0, 35, 139, 'M', 1, '3') + "\n" +
                                 Qsona('L', 2, 0, 35.1, 139, 'M', 1, '1') + "\n");
    WriteText("headers.dat", "header\nanother header\n");
    WriteText("one.dat", Qsona('L', 1, 0, 35, 139, 'M', 1) + "\n");
    const struct {
        const char* file;
        std::string says;
    } cases[] = {
        {"nodatum.dat", "測地系"},
        {"headers.dat", "測地系"},
        {"one.dat", importmsg::kNoLines},
        {"missing.dat", importmsg::kFileOpenError},
    };
    for (const auto& c : cases) {
        ui.messages.clear();
        ui.file = c.file;
        EXPECT_EQ(ImportQsona(ui).status, ImportStatus::Refused) << c.file;
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].find(c.says), std::string::npos) << ui.messages[0];
        EXPECT_EQ(ui.captions[0], "Q-SONA");
    }
    EXPECT_EQ(OpenProjectBytes(), before);
}

// ---------------------------------------------------------------------------------------
// Another project

TEST_F(ImportTest, TikImportReplacesTheTablesOnlyWhenTheFileReads) {
    ui.file = DxfData("r12_lines.dxf");
    ASSERT_EQ(ImportDxf(ui, DxfMode::Plane).status, ImportStatus::Imported);
    const auto mine = OpenProjectBytes();

    const std::string bay = std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY/BAY.TIK";
    std::vector<std::uint8_t> truncated = test::ReadBytes(bay);
    truncated.resize(truncated.size() / 2);
    test::WriteBytes("half.TIK", truncated);
    ui.file = "half.TIK";
    EXPECT_EQ(ImportTik(ui).status, ImportStatus::Refused);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("half.TIK"), std::string::npos);
    EXPECT_EQ(OpenProjectBytes(), mine);

    ui.file = bay;
    ASSERT_EQ(ImportTik(ui).status, ImportStatus::Imported);
    EXPECT_EQ(OpenProjectBytes(), test::ReadBytes(bay));
}

}  // namespace
}  // namespace wv

namespace wv {
namespace {

// The bundled bathymetry example, imported in zone IX, lands where PROJ puts it.
TEST(QsonaImport, ExampleBayAgreesWithProj) {
    if (std::system("command -v cs2cs > /dev/null 2>&1") != 0) GTEST_SKIP() << "cs2cs (proj-bin) is not installed";
    std::string text;
    ASSERT_TRUE(ReadWholeFile(std::string(WAVORA_SOURCE_DIR) + "/examples/smallbay/SMALLBAY.DAT", text, nullptr));
    const std::vector<std::string> lines = SplitTextLines(text);
    const QsonaImportResult r = ReadQsonaLines(lines, {20.0, 9});
    ASSERT_TRUE(r.datumFound);
    ASSERT_GT(r.geometry.PointCount(), 100);

    // Every point record in file order; the geometry holds them in the same order, less
    // the single-record polylines, which give no point.
    std::ofstream in("points.txt");
    int written = 0;
    for (const std::string& line : lines) {
        const QsonaLine q = ReadQsonaLine(line);
        if (!q.IsPoint()) continue;
        in << Sprintf("%.9f %.9f\n", q.record->Latitude(), q.record->Longitude());
        if (++written == 40) break;
    }
    in.close();
    ASSERT_EQ(std::system("cs2cs -f %.4f EPSG:6668 EPSG:6677 < points.txt > plane.txt"), 0);
    std::ifstream out("plane.txt");
    std::vector<CPointD> proj;
    std::string row;
    while (std::getline(out, row)) {
        double north = 0, east = 0;
        ASSERT_EQ(std::sscanf(row.c_str(), "%lf %lf", &north, &east), 2) << row;
        proj.push_back(CPointD(east, north));
    }
    ASSERT_EQ(proj.size(), 40u);
    // The first polyline's points are the first points of the geometry.
    for (int i = 0; i < 20; ++i) {
        EXPECT_NEAR(r.geometry.x[i], proj[static_cast<std::size_t>(i)].m_dX, 0.001) << i;
        EXPECT_NEAR(r.geometry.y[i], proj[static_cast<std::size_t>(i)].m_dY, 0.001) << i;
    }
}

}  // namespace
}  // namespace wv
