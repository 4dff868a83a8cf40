// The screen model of a scroll view, and the GUI thread's waits for a worker that asks
// for the GUI thread meanwhile.
#include "platform/gui_wait.h"
#include "platform/qt/gui_call.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/scroll_view.h"
#include "platform/qt/scroll_view_widget.h"

#include <QApplication>
#include <QPainter>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace wv {
namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "scroll_view_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Draws a white square at logical (10, 10) and XOR marks from the "mouse".
class MarkView : public CScrollView {
public:
    void OnDraw(QImage& image) override {
        QPainter p(&image);
        p.fillRect(QRect(ViewportOrigin() + QPoint(10, 10), QSize(5, 5)), Qt::white);
    }
    void XorMark(CPointI client) {
        QImage& img = CurrentWindowImage();
        const QRect r(client.x, client.y, 4, 4);
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (img.rect().contains(x, y)) img.setPixel(x, y, img.pixel(x, y) ^ 0x00FFFFFF);
        InvalidateClientRect(r);
    }
};

class RecordingHost : public ScrollViewHost {
public:
    void UpdateRect(const QRect& r) override { rects.push_back(r); }
    void UpdateAll() override { ++all; }
    void ScrollSizesChanged() override { ++sizes; }
    std::vector<QRect> rects;
    int all = 0, sizes = 0;
};

TEST(ScrollView, WindowImageIsRenderedFreshAndMarksEraseExactly) {
    MarkView view;
    RecordingHost host;
    view.SetHost(&host);
    view.SetScrollSizes({400, 300});
    view.OnSize({100, 80});
    const QImage& first = view.WindowImage();
    EXPECT_EQ(first.format(), QImage::Format_RGB32);
    EXPECT_EQ(first.size(), QSize(100, 80));
    EXPECT_EQ(first.pixel(0, 0), qRgb(0, 0, 0)) << "a fresh image starts black";
    EXPECT_EQ(first.pixel(12, 12), qRgb(255, 255, 255));
    EXPECT_EQ(view.RenderCount(), 1);
    view.WindowImage();
    EXPECT_EQ(view.RenderCount(), 1) << "paint only copies the image";

    const QImage before = view.WindowImage().copy();
    view.XorMark({20, 20});
    EXPECT_NE(view.WindowImage(), before);
    ASSERT_FALSE(host.rects.empty());
    EXPECT_EQ(host.rects.back(), QRect(20, 20, 4, 4)) << "only the mark's rectangle is repainted";
    // A stale image (scrolled meanwhile) is rendered before the second mark goes in: the
    // pair still cancels out on what is shown.
    view.ScrollToPosition({5, 5});
    EXPECT_TRUE(view.IsImageStale());
    const QImage scrolled = [&] {
        MarkView fresh;
        fresh.SetScrollSizes({400, 300});
        fresh.OnSize({100, 80});
        fresh.ScrollToPosition({5, 5});
        return fresh.WindowImage().copy();
    }();
    view.XorMark({30, 30});
    view.XorMark({30, 30});
    EXPECT_EQ(view.WindowImage(), scrolled);
    EXPECT_EQ(view.WindowImage().pixel(7, 7), qRgb(255, 255, 255)) << "drawn with the scroll as origin";
    EXPECT_EQ(view.ViewportOrigin(), QPoint(-5, -5));
    EXPECT_EQ(view.ClientToLogical({1, 2}), (CPointI{6, 7}));

    const int renders = view.RenderCount();
    view.RedrawAll();
    EXPECT_TRUE(view.IsImageStale());
    view.OnSize({120, 90});
    view.WindowImage();
    EXPECT_EQ(view.RenderCount(), renders + 1) << "stale marks add up to one render";
    EXPECT_EQ(view.WindowImage().size(), QSize(120, 90));
}

TEST(ScrollView, WidgetPaintsTheImageAndFollowsTheScrollBars) {
    App();
    MarkView view;
    {
        ScrollViewWidget w(&view);
        w.resize(160, 120);
        view.SetScrollSizes({1000, 1000});
        w.show();
        QApplication::processEvents();
        EXPECT_EQ(view.GetClientSize().cx, w.viewport()->width());
        const QImage shot = w.viewport()->grab().toImage();
        EXPECT_EQ(QColor(shot.pixel(12, 12)), QColor(Qt::white));
        EXPECT_EQ(QColor(shot.pixel(2, 2)), QColor(Qt::black));
    }
    EXPECT_EQ(view.GetHost(), nullptr) << "the widget lets go of the view";
}

TEST(GuiCalls, AWaitOfTheGuiThreadLetsTheWorkersCallsThrough) {
    App();
    InstallGuiWaitPump();
    std::atomic<bool> done{false};
    int answer = 0;
    std::thread worker([&] {
        // Carried to the GUI thread and waited for, like a question of the solver.
        answer = CallOnGui<int>([] { return OnGuiThread() ? 42 : -1; }, 0);
        CallOnGui<int>([] { return 0; }, 0);
        done = true;
    });
    WaitPumping([&] { return done.load(); });
    worker.join();
    EXPECT_EQ(answer, 42);
    SetGuiWaitPump(nullptr);

    EXPECT_EQ(CaseBlindPattern(QStringLiteral("*.TIK")), QStringLiteral("*.[Tt][Ii][Kk]"));
    EXPECT_EQ(CaseBlindPattern(QStringLiteral("BAY?.tyd")), QStringLiteral("[Bb][Aa][Yy]?.[Tt][Yy][Dd]"));
}

}  // namespace
}  // namespace wv
