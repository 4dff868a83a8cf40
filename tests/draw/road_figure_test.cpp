// The main job's figure: wave_road on the bundled bay leaves a one-page A3 landscape PDF
// and the plot file of the significant wave height; the figure printed again through
// PrintFigure on a 100 dpi image has the map's colours inside the frame and white paper
// around it.
#include "calcdoc/tyd_doc.h"
#include "draw/plot_store.h"
#include "draw/print_figure.h"
#include "platform/files.h"
#include "platform/qt/qt_dc.h"
#include "platform/text.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

using namespace wv;

namespace {

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

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool Coloured(QRgb p) { return !(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)); }

class RoadFigure : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char arg0[] = "road_figure_test";
        static char* argv[] = {arg0, nullptr};
        if (QApplication::instance() == nullptr) new QApplication(argc, argv);
        // The whole road once for every case: the start folder is this scratch folder.
        const std::string cmd = std::string("\"") + WAVE_ROAD + "\" --out . > road.log 2>&1";
        s_exit = std::system(cmd.c_str());
        s_folder = std::filesystem::current_path().string();
    }
    // Every case looks at the one road's files, not at a folder of its own.
    void SetUp() override { std::filesystem::current_path(s_folder); }
    static int s_exit;
    static std::string s_folder;
};
int RoadFigure::s_exit = -1;
std::string RoadFigure::s_folder;

TEST_F(RoadFigure, LeavesAOnePageA3LandscapePdf) {
    ASSERT_EQ(s_exit, 0);
    std::string log;
    ASSERT_TRUE(ReadWholeFile("road.log", log, nullptr));
    EXPECT_NE(log.find("ROAD.pdf"), std::string::npos) << log;
    std::string pdf;
    ASSERT_TRUE(ReadWholeFile("ROAD.pdf", pdf, nullptr));
    const std::regex page(R"(/Type\s*/Page[^s])");
    EXPECT_EQ(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()), 1);
    std::smatch m;
    const std::regex box(R"(/MediaBox\s*\[\s*0\s+0\s+([0-9.]+)\s+([0-9.]+)\s*\])");
    ASSERT_TRUE(std::regex_search(pdf, m, box));
    EXPECT_NEAR(std::stod(m[1]), 420.0 / 25.4 * 72.0, 1.0);  // 420 x 297 mm, long side across
    EXPECT_NEAR(std::stod(m[2]), 297.0 / 25.4 * 72.0, 1.0);
}

TEST_F(RoadFigure, PlotFileHoldsTheWaveHeightFigure) {
    ASSERT_EQ(s_exit, 0);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(StartFolderFile("pdata000.plt"), text, nullptr));
    const std::vector<std::string> lines = Lines(text);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], Utf8ToCp932("有義波高"));
    const std::string label = Utf8ToCp932("算出－");
    int labels = 0, contourVertices = 0, contourStarts = 0, arrows = 0;
    for (const std::string& l : lines) {
        if (l.rfind("VJ", 0) == 0 && l.find("," + label) != std::string::npos) ++labels;
        if (l.rfind("LL", 0) == 0 && EndsWith(l, ",9")) {
            ++contourVertices;
            if (l.find(",0,0,9") != std::string::npos || l.find(",0,1,9") != std::string::npos) ++contourStarts;
        }
        if (l.rfind("AH", 0) == 0 && EndsWith(l, ",10,11")) ++arrows;
    }
    EXPECT_EQ(labels, 3);
    EXPECT_GT(contourStarts, 5);
    EXPECT_GT(contourVertices, 10 * contourStarts / 2);
    EXPECT_GT(arrows, 50);
}

TEST_F(RoadFigure, PrintedMapLiesInsideTheFrame) {
    ASSERT_EQ(s_exit, 0);
    CTydDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(StartFolderFile("ROAD.TYD")));
    ASSERT_EQ(doc.m_info.m_nCalcState, 3);
    ASSERT_EQ(doc.m_zmn.m_bColorContour, 1);
    CPlotStore store;
    ASSERT_EQ(store.ReadPlotFile(0, StartFolderFile("pdata000.plt")), 0);
    // A3 landscape at 100 dpi; sheet mm m lands on (m + 10) x 100 / 25.4 across and
    // 1169 - (m + 10) x 100 / 25.4 down.
    QImage image(1654, 1169, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        CQtDC dc(&image);
        dc.SetDeviceCaps(LOGPIXELSX, 100);
        dc.SetDeviceCaps(LOGPIXELSY, 100);
        dc.SetDeviceCaps(NUMCOLORS, 256);
        dc.SetDeviceCaps(TECHNOLOGY, DT_RASPRINTER);
        ASSERT_EQ(PrintFigure(dc, PrintFigureRequest{doc, store, doc.m_zmn.m_dRotation, 10.0, 10.0}), 0);
    }
    const double px = 100.0 / 25.4;
    const int left = static_cast<int>(10 * px), right = static_cast<int>(410 * px);
    const int top = 1169 - static_cast<int>(277 * px), bottom = 1169 - static_cast<int>(10 * px);
    int inside = 0, outside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (!Coloured(image.pixel(x, y))) continue;
            if (x > left + 1 && x < right - 1 && y > top + 1 && y < bottom - 1) ++inside;
            // Below the frame stands the colour bar of the legend (4 to 7 mm down).
            else if (!(y > bottom && y < 1169 - static_cast<int>(2 * px)))
                ++outside;
        }
    EXPECT_GT(inside, 20000);
    EXPECT_EQ(outside, 0);
    if (const char* keep = std::getenv("WAVORA_ROAD_PNG")) image.save(keep);
}

}  // namespace
