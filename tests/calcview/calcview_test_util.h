// A calculation view on a window stand-in: marks go into a pixel image of the client
// size, redraws and scrolls are counted, the popup's text is kept.
#pragma once

#include "calcview/tyd_view.h"
#include "platform/pixel_dc.h"

#include <memory>
#include <string>
#include <vector>

namespace wv::viewtest {

class FakeHost : public TydViewHost {
public:
    FakeHost(int w, int h) : img(w, h), dc(img.Surface()) {}
    void Redraw() override { ++redraws; }
    void ScrollTo(int x, int y) override { scrollX = x; scrollY = y; ++scrolls; }
    CDC* BeginMarks() override { ++marks; return &dc; }
    void EndMarks() override {}
    void ShowPopup(const std::string& text, int, int) override { popup = text; ++popups; }
    void ModeChanged(int mode) override { lastMode = mode; }
    void ResultsLoading(bool on) override {
        if (events) events->push_back(on ? "box shown" : "box closed");
    }

    PixelImage img;
    CPixelDC dc;
    int redraws = 0, scrolls = 0, marks = 0, popups = 0, lastMode = -1;
    int scrollX = 0, scrollY = 0;
    std::string popup;
    // Where the wait box's showing and closing are told, when set.
    std::vector<std::string>* events = nullptr;
};

// A view of `doc` in an 800 x 600 window, laid out as when it opens.
struct ViewOnHost {
    explicit ViewOnHost(CTydDoc& doc, int w = 800, int h = 600) : host(w, h), view(doc) {
        view.SetHost(&host);
        view.OnSize(w, h);
        view.OnInitialUpdate();
        view.OnScroll(host.scrollX, host.scrollY);
    }
    // The client point of a world point.
    CPoint ClientOf(double x, double y) const {
        int vx = 0, vy = 0;
        view.State().coord.WorldToViewPoint(x, y, &vx, &vy);
        return CPoint{vx - view.State().scrollX, vy - view.State().scrollY};
    }
    FakeHost host;
    CTydView view;
};

}  // namespace wv::viewtest
