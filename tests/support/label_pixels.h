// A figure text as its characters show each drawn by itself: the oracle for a text on a
// window image that nothing else may cross, neither a later drawing nor a neighbouring
// character's cell.
#pragma once

#include "draw/primitives.h"
#include "platform/qt/qt_dc.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <string>

namespace wv::test {

// White characters of the screen figures' text (`DrawRotatedText`, colour code 7, opaque,
// angle 0) with the pen point (x, y), each drawn on black by itself and laid together in
// an image of `size`. `cells` gets the rectangle of their cells.
inline QImage TextDrawnAlone(const std::string& cp932, double x, double y, double h, QSize size, QRect* cells) {
    QImage alone(size, QImage::Format_RGB32);
    alone.fill(Qt::black);
    WalkPlotText(cp932, x, y, h, h, 0.0, -1, [&](const TextCell& c) {
        QImage one(size, QImage::Format_RGB32);
        one.fill(Qt::black);
        CQtDC dc(&one);
        DrawRotatedText(c.x, c.y + h, h, h, cp932.substr(c.offset, c.length), 0.0, 7, 1, &dc);
        for (int py = 0; py < one.height(); ++py)
            for (int px = 0; px < one.width(); ++px)
                if ((one.pixel(px, py) & 0xFFFFFF) != 0) alone.setPixel(px, py, one.pixel(px, py));
        const int w = static_cast<int>(c.length == 1 ? h / 2 : h);
        *cells |= QRect(static_cast<int>(c.x), static_cast<int>(c.y), w, static_cast<int>(h));
    });
    return alone;
}

// Pixels inside `r` whose colour differs between the two images.
inline int DifferingPixels(const QImage& a, const QImage& b, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) ++n;
    return n;
}

// The rows of `r`, '#' for a pixel that is not black: what a failure shows.
inline std::string LitRows(const QImage& img, const QRect& r) {
    std::string s;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) s += (img.pixel(x, y) & 0xFFFFFF) != 0 ? '#' : '.';
        s += '\n';
    }
    return s;
}

}  // namespace wv::test
