// The plot file: the writer against hand-made golden bytes, the reader's line rules and
// the store's life (read, replace, free).
#include "draw/paper.h"
#include "draw/plot_store.h"
#include "draw/plot_writer.h"
#include "platform/files.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>

using namespace wv;

namespace {

std::string Golden(const char* name) {
    std::string text;
    EXPECT_TRUE(ReadWholeFile(std::string(WAVORA_TEST_DATA) + "/draw/" + name, text, nullptr)) << name;
    return text;
}

std::string ReadBack(const std::string& path) {
    std::string text;
    EXPECT_TRUE(ReadWholeFile(path, text, nullptr)) << path;
    return text;
}

// The records of writer_records.plt, in order.
void WriteGoldenRecords(CPlotWriter& w) {
    w.WritePlotSC(1, 0, 0, 0);
    w.WritePlotEM(0, 0, 400, 277);
    w.WritePlotSZ(420, 297);
    w.WritePlotLT(2.5, 1.0, 3, 0, "DASHDOT");
    w.WritePlotLY(0, 25, 7, 1, "1");
    w.WritePlotLY(0, 13, 255, 10, "10");
    w.WritePlotDL(12.5, -0.3, 0.000005, -0.000004, 4);
    w.WritePlotLL(1.234567, 2.0, 0, 0, 9);
    w.WritePlotLL(-1.234567, 0.0, 2, 1, 9);
    w.WritePlotAP(10, 20, 3, 21, 12);
    w.WritePlotEL(1, 2, 3, 4, 30, 0, 90, 1);
    w.WritePlotGC(5, 0, 0, 0, 5, 0, 1, 2);
    w.WritePlotAH(0, 0, 10, 0, 2, 1, 10, 11);
    // "水深" is four bytes in CP932; the CR LF inside become two blanks.
    EXPECT_EQ(w.WritePlotVJ(5, 6, 2.5, 2.5, Utf8ToCp932("水深,m\r\nA"), 45, 5), 9);
    EXPECT_EQ(w.WritePlotVJ(0, 0, 3, 3, Utf8ToCp932("ソ表\\d0"), 0, 1), 7);
}

// Switches the process to a locale with a decimal comma, built into the scratch folder
// when the system has none installed. False when none can be had.
bool UseDecimalCommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_ALL, name)) return true;
    const std::string dir = (std::filesystem::current_path() / "loc").string();
    std::filesystem::create_directories(dir);
    const std::string cmd = "localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) == -1) return false;
    ::setenv("LOCPATH", dir.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr &&
           std::strcmp(std::localeconv()->decimal_point, ",") == 0;
}

}  // namespace

TEST(PlotWriter, RecordsMatchTheHandMadeFile) {
    CPlotWriter w;
    ASSERT_EQ(w.OpenPlotFile("out.plt", Utf8ToCp932("有義波高")), 0);
    WriteGoldenRecords(w);
    ASSERT_EQ(w.ClosePlotFile(), 0);
    EXPECT_EQ(ReadBack("out.plt"), Golden("writer_records.plt"));
}

TEST(PlotWriter, DecimalCommaLocaleChangesNothing) {
    const bool haveLocale = UseDecimalCommaLocale();
    CPlotWriter w;
    ASSERT_EQ(w.OpenPlotFile("comma.plt", Utf8ToCp932("有義波高")), 0);
    WriteGoldenRecords(w);
    ASSERT_EQ(w.ClosePlotFile(), 0);
    std::setlocale(LC_ALL, "C");
    if (!haveLocale) GTEST_SKIP() << "no decimal-comma locale could be made";
    EXPECT_EQ(ReadBack("comma.plt"), Golden("writer_records.plt"));
}

TEST(PlotWriter, RealsAreHundredThousandthsRoundedToWholeNumbers) {
    const std::pair<double, const char*> cases[] = {
        {12.5, "1250000"}, {-0.3, "-30000"}, {0.0, "0"},
        {-0.000004, "-0"},      // rounds to zero, keeps its sign as the Windows runtime did
        {0.000005, "1"},        // an exact half goes away from zero
        {-0.000005, "-1"},
        {0.0000049, "0"},
        {0.000015, "2"},        // away from zero, not to even
        {0.000025, "3"},
        {1189.0, "118900000"},
    };
    for (auto [value, text] : cases) EXPECT_EQ(FormatPlotReal(value), text) << value;
}

TEST(PlotWriter, UncreatableFileGivesMinusOneAndAFailedCloseKeepsTheOldFile) {
    CPlotWriter w;
    EXPECT_EQ(w.OpenPlotFile("no/such/folder/pdata000.plt", "t"), -1);
    EXPECT_FALSE(w.IsOpen());
    EXPECT_EQ(w.WritePlotSC(1, 0, 0, 0), 0);  // harmless when nothing is open
    EXPECT_EQ(w.ClosePlotFile(), -1);

    // An abandoned figure leaves the previous plot file exactly as it was.
    ASSERT_TRUE(AtomicWriteFile("pdata000.plt", std::string("old\r\n"), nullptr));
    {
        CPlotWriter half;
        ASSERT_EQ(half.OpenPlotFile("pdata000.plt", "new"), 0);
        half.WritePlotDL(0, 0, 1, 1, 1);
    }
    EXPECT_EQ(ReadBack("pdata000.plt"), "old\r\n");
    int leftovers = 0;
    for (const auto& e : std::filesystem::directory_iterator("."))
        if (e.path().filename().string().rfind("pdata000.plt.", 0) == 0) ++leftovers;
    EXPECT_EQ(leftovers, 0);
}

TEST(PlotReader, InterleavedKindsShortLinesAndTextsInDrawOrder) {
    CPlotStore store;
    ASSERT_EQ(store.ReadPlotText(0, Golden("reader_mixed.plt")), 0);
    const CPlotPage* p = store.GetPage(0);
    ASSERT_NE(p, nullptr);

    const std::pair<int, int> order[] = {{1, 0}, {2, 0}, {1, 1}, {2, 1}, {3, 0}, {4, 0}, {3, 1},
                                         {9, 0}, {4, 1}, {9, 1}, {5, 0}, {6, 0}, {7, 0}, {8, 0}};
    ASSERT_EQ(p->m_order.GetCount(), static_cast<int>(std::size(order)));
    for (int i = 0; i < p->m_order.GetCount(); ++i) {
        EXPECT_EQ(p->m_order[i].m_nKind, order[i].first) << i;
        EXPECT_EQ(p->m_order[i].m_nIndex, order[i].second) << i;
    }

    // The reader's own line type and layer come first.
    EXPECT_EQ(p->m_lineTypes[0].m_strName, "CONTINUOUS");
    EXPECT_DOUBLE_EQ(p->m_lineTypes[0].m_dDash, 1.0);
    EXPECT_EQ(p->m_lineTypes[0].m_nType, 0);
    EXPECT_EQ(p->m_layers[0].m_nColor, 7);
    EXPECT_EQ(p->m_layers[0].m_strName, "0");

    EXPECT_DOUBLE_EQ(p->m_lineTypes[1].m_dDash, 2.0);
    EXPECT_DOUBLE_EQ(p->m_lineTypes[1].m_dGap, 1.0);
    EXPECT_EQ(p->m_lineTypes[1].m_nType, 1);
    EXPECT_EQ(p->m_layers[1].m_nWidth, 50);
    EXPECT_EQ(p->m_layers[1].m_strName, "RED");  // a name is cut at its first comma

    // The short DL takes its last two fields from the LL line before it.
    const CPlotLine& dl = p->m_lines[1];
    EXPECT_DOUBLE_EQ(dl.m_dX1, 3.0);
    EXPECT_DOUBLE_EQ(dl.m_dY1, 4.0);
    EXPECT_DOUBLE_EQ(dl.m_dX2, 5.0);
    EXPECT_DOUBLE_EQ(dl.m_dY2, 0.0);
    EXPECT_EQ(dl.m_nLayer, 1);

    // A bare "LL" empties field 0 and keeps the rest from the VJ line.
    const CPlotVertex& ll = p->m_vertices[1];
    EXPECT_DOUBLE_EQ(ll.m_dX, 0.0);
    EXPECT_DOUBLE_EQ(ll.m_dY, 2.0);
    EXPECT_EQ(ll.m_nPen, 300000);
    EXPECT_EQ(ll.m_nLayer, 9000000);

    const CPlotText& t0 = p->m_texts[0];
    EXPECT_EQ(t0.m_strText, std::string("A,b,\x95\x5c,c"));
    EXPECT_DOUBLE_EQ(t0.m_dHeight, 3.0);
    EXPECT_DOUBLE_EQ(t0.m_dWidth, 2.5);
    EXPECT_DOUBLE_EQ(t0.m_dAngle, 90.0);
    EXPECT_EQ(t0.m_nLayer, 1);
    const CPlotText& t1 = p->m_texts[1];
    EXPECT_EQ(t1.m_strText, "Hello");
    EXPECT_DOUBLE_EQ(t1.m_dX, 7.0);
    EXPECT_DOUBLE_EQ(t1.m_dHeight, 3.0);  // fields 2-5 from the VJ line before
    EXPECT_DOUBLE_EQ(t1.m_dAngle, 90.0);

    EXPECT_EQ(p->m_marks[0].m_nLayer, 99);
    EXPECT_DOUBLE_EQ(p->m_ellipses[0].m_dEnd, 360.0);
    EXPECT_EQ(p->m_arcs[0].m_nDirection, 1);
    EXPECT_EQ(p->m_arrows[0].m_nStyle, 10);  // the last line has no line end
}

TEST(PlotReader, WriterOutputReadsBackWithinHalfAUnit) {
    CPlotWriter w;
    ASSERT_EQ(w.OpenPlotFile("rt.plt", "t"), 0);
    w.WritePlotDL(1.234564, -7.000006, 0.0, 1189.0, 3);
    w.WritePlotVJ(1, 2, 3, 3, "a,b", 12.345678, 7);
    ASSERT_EQ(w.ClosePlotFile(), 0);
    CPlotStore store;
    ASSERT_EQ(store.ReadPlotFile(0, "rt.plt"), 0);
    const CPlotPage* p = store.GetPage(0);
    EXPECT_NEAR(p->m_lines[0].m_dX1, 1.234564, 0.000005);
    EXPECT_NEAR(p->m_lines[0].m_dY1, -7.000006, 0.000005);
    EXPECT_EQ(p->m_texts[0].m_strText, "a,b");
    EXPECT_EQ(p->m_texts[0].m_nLayer, 7);
    EXPECT_NEAR(p->m_texts[0].m_dAngle, 12.345678, 0.000005);
}

TEST(PlotReader, EmptyAndHeaderOnlyFilesHoldOnlyTheReadersDefaults) {
    for (std::string text : {std::string(), Golden("header_only.plt")}) {
        CPlotStore store;
        ASSERT_EQ(store.ReadPlotText(0, text), 0);
        const CPlotPage* p = store.GetPage(0);
        EXPECT_EQ(p->m_lineTypes.GetCount(), 1);
        EXPECT_EQ(p->m_layers.GetCount(), 1);
        ASSERT_EQ(p->m_order.GetCount(), 2);
        EXPECT_EQ(p->m_order[0].m_nKind, 1);
        EXPECT_EQ(p->m_order[0].m_nIndex, 0);
        EXPECT_EQ(p->m_order[1].m_nKind, 2);
        EXPECT_EQ(p->m_order[1].m_nIndex, 0);
    }
}

TEST(PlotReader, ArraysGrowInTheirStepsAndKeepTheirRecords) {
    std::string text;
    for (int i = 0; i < 5000; ++i) text += Sprintf("DL%d,0,0,0,1\n", i * 100000);
    CPlotStore store;
    ASSERT_EQ(store.ReadPlotText(0, text), 0);
    const CPlotPage* p = store.GetPage(0);
    EXPECT_EQ(p->m_lines.GetCount(), 5000);
    EXPECT_EQ(p->m_lines.GetCapacity(), 5000);
    // Two defaults and 5000 records: the 5001st entry took the order to its second step.
    EXPECT_EQ(p->m_order.GetCount(), 5002);
    EXPECT_EQ(p->m_order.GetCapacity(), 10000);
    for (int i : {0, 999, 1000, 4999}) {
        EXPECT_DOUBLE_EQ(p->m_lines[i].m_dX1, i) << i;
        EXPECT_EQ(p->m_order[i + 2].m_nIndex, i) << i;
    }

    CPlotStore small;
    std::string thousand;
    for (int i = 0; i < 1000; ++i) thousand += "DL0,0,0,0,1\r\n";
    ASSERT_EQ(small.ReadPlotText(0, thousand), 0);
    EXPECT_EQ(small.GetPage(0)->m_lines.GetCapacity(), 1000);
    ASSERT_EQ(small.ReadPlotText(0, thousand + "DL0,0,0,0,1\r\n"), 0);
    EXPECT_EQ(small.GetPage(0)->m_lines.GetCapacity(), 2000);
}

TEST(PlotReader, LongTextLineStaysOneRecord) {
    std::string body(100000, 'x');
    body[50000] = ',';
    CPlotStore store;
    ASSERT_EQ(store.ReadPlotText(0, "VJ0,0,300000,300000,0,1," + body + "\r\nDL0,0,1,1,1\r\n"), 0);
    const CPlotPage* p = store.GetPage(0);
    ASSERT_EQ(p->m_texts.GetCount(), 1);
    EXPECT_EQ(p->m_texts[0].m_strText, body);
    EXPECT_EQ(p->m_lines.GetCount(), 1);
}

TEST(PlotStore, MissingFileLeavesTheStoreAsItWas) {
    CPlotStore store;
    EXPECT_EQ(store.ReadPlotFile(0, "nothing.plt"), -1);
    EXPECT_FALSE(store.HasData());
    ASSERT_EQ(store.ReadPlotText(0, "DL0,0,100000,0,1\r\n"), 0);
    EXPECT_EQ(store.ReadPlotFile(0, "nothing.plt"), -1);
    ASSERT_TRUE(store.HasData());
    EXPECT_EQ(store.GetPage(0)->m_lines.GetCount(), 1);
    EXPECT_EQ(store.ReadPlotText(1, ""), -1);  // the figure has one page
    EXPECT_EQ(store.GetPage(1), nullptr);
}

TEST(PlotStore, ReadReplacesAndFreeIsIdempotent) {
    CPlotStore store;
    EXPECT_EQ(store.GetPageCount(), 1);
    store.FreePlotData();  // before any read
    ASSERT_EQ(store.ReadPlotText(0, "DL0,0,1,1,1\nDL0,0,1,1,1\n"), 0);
    ASSERT_EQ(store.ReadPlotText(0, "AP0,0,100000,21,1\n"), 0);
    EXPECT_EQ(store.GetPage(0)->m_lines.GetCount(), 0);
    EXPECT_EQ(store.GetPage(0)->m_marks.GetCount(), 1);
    store.FreePlotData();
    store.FreePlotData();
    EXPECT_FALSE(store.HasData());
    EXPECT_EQ(store.GetPage(0), nullptr);
}

TEST(Paper, SheetsAndFrames) {
    struct Case {
        int size, orient;
        int w, h;
    };
    const Case sheets[] = {
        {0, 0, 1189, 841}, {0, 1, 841, 1189}, {3, 0, 420, 297}, {5, 1, 148, 210},
        {6, 0, 1030, 728}, {9, 1, 257, 364},  {10, 0, 257, 182}, {11, 0, 0, 0}, {-1, 1, 0, 0},
    };
    for (const Case& c : sheets) {
        const SheetMm s = PaperSheet(c.size, c.orient);
        EXPECT_EQ(s.width, c.w) << c.size << "/" << c.orient;
        EXPECT_EQ(s.height, c.h) << c.size << "/" << c.orient;
    }
    const SheetMm a3 = FrameFromPaper(3, 0, 10, 10, 10, 10);
    EXPECT_EQ(a3.width, 400);
    EXPECT_EQ(a3.height, 267);
    const SheetMm tooWide = FrameFromPaper(4, 1, 200, 200, 300, 300);
    EXPECT_EQ(tooWide.width, 0);
    EXPECT_EQ(tooWide.height, 0);
}
