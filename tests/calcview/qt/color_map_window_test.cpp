// The colour map of the real calculation window on the bay, on screen and on paper,
// through the road of a calculation: after the depth mesh and after a run until its
// results are read in the map shows nothing; once they are read in the sea is coloured.
#include "tests/calcview/qt/bay_window.h"

#include "core/command_ids.h"
#include "calc/cal_threads.h"
#include "draw/print_figure.h"
#include "platform/qt/qt_dc.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace wv {
namespace {

// The window image drawn anew with the colour map switch as given.
QImage Screen(TydScrollView& sv, int colorMap) {
    sv.Controller()->Doc().m_zmn.m_bColorContour = colorMap;
    sv.RedrawAll();
    return sv.WindowImage().copy();
}

// The printed page (the view's printer branch after its print preparation) on a colour
// raster device at 100 dots per inch, with the colour map switch as given.
QImage Paper(CTydView& v, int colorMap) {
    v.Doc().m_zmn.m_bColorContour = colorMap;
    QImage page(1700, 1200, QImage::Format_RGB32);
    page.fill(Qt::white);
    if (!v.PreparePrinting()) return QImage();
    {
        CQtDC dc(&page);
        dc.SetDeviceCaps(LOGPIXELSX, 100);
        dc.SetDeviceCaps(LOGPIXELSY, 100);
        dc.SetDeviceCaps(NUMCOLORS, 256);
        dc.SetDeviceCaps(TECHNOLOGY, DT_RASPRINTER);
        v.OnPrint(dc);
    }
    v.EndPrinting();
    return page;
}

// Pixels in colour (not black, grey or white): on paper only the fills are coloured; the
// plot records are all black.
int Coloured(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            n += qRed(p) != qGreen(p) || qGreen(p) != qBlue(p) ? 1 : 0;
        }
    return n;
}

TEST(ColorMapWindow, NoMapUntilTheResultsAreReadIn) {
    test::BayWindow bw;
    ASSERT_TRUE(bw.started);
    TydScrollView* sv = bw.OpenCalc("BAY1.TYD");
    ASSERT_NE(sv, nullptr);
    CTydView& v = *sv->Controller();
    CTydDoc& doc = v.Doc();
    // Every dialog a command opens counts as cancelled.
    CTydView::SetDialogRunner([](CDialogModel&) { return static_cast<int>(IDCANCEL); });

    doc.m_calcArea.SetOrigin(0.0, 200.0);
    doc.m_calcArea.SetMeshSize(100.0);
    doc.m_calcArea.SetMeshCountX(25);
    doc.m_calcArea.SetMeshCountY(25);
    bw.app->ExecuteCommand(ids::ID_DEPTH_CALC);
    ASSERT_EQ(doc.m_info.m_nCalcState, 1);
    bw.app->ExecuteCommand(ids::ID_ZOOM_ALL);

    // The depth mesh: with the map switched on, the screen is as without it, and the
    // paper has no more colour than the land fill gives it (the map only changes the
    // figure's title then).
    EXPECT_EQ(Screen(*sv, 1), Screen(*sv, 0)) << "state 1 on screen";
    const QImage paper1 = Paper(v, 1);
    ASSERT_FALSE(paper1.isNull());
    EXPECT_EQ(Coloured(paper1), Coloured(Paper(v, 0))) << "state 1 on paper";

    // A run: until its results are read in, the same.
    bw.app->ExecuteCommand(ids::ID_WAVE_CALC);
    ASSERT_EQ(doc.m_info.m_nCalcState, 2);
    QTimer ok;  // the solver's end message, answered as a user would
    QObject::connect(&ok, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    });
    ok.start(20);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        if (v.CalcSlot().GetExitCode() != CCalThreads::kStillActive && !QApplication::activeModalWidget()) break;
    }
    ok.stop();
    ASSERT_EQ(v.CalcSlot().GetExitCode(), 0);
    ASSERT_EQ(doc.m_info.m_nCalcState, 2);
    EXPECT_EQ(Screen(*sv, 1), Screen(*sv, 0)) << "state 2 on screen";
    EXPECT_EQ(Coloured(Paper(v, 1)), Coloured(Paper(v, 0))) << "state 2 on paper";

    // Read in (the wave-height map command loads them first): the map is there.
    bw.app->ExecuteCommand(ids::ID_HEIGHT_MAP_MOUSE);
    ASSERT_EQ(doc.m_info.m_nCalcState, 3);
    const QImage on = Screen(*sv, 1), off = Screen(*sv, 0);
    EXPECT_NE(on, off);
    int changed = 0;
    for (int y = 0; y < on.height(); ++y)
        for (int x = 0; x < on.width(); ++x) changed += on.pixel(x, y) != off.pixel(x, y) ? 1 : 0;
    EXPECT_GT(changed, on.width() * on.height() / 10) << "the sea is coloured";
    EXPECT_GT(Coloured(Paper(v, 1)), Coloured(Paper(v, 0)) + 10000) << "state 3 on paper";
    CTydView::SetDialogRunner({});
}

}  // namespace
}  // namespace wv
