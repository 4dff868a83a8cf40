#include "draw/qt/mode_cursor_qt.h"

#include <QBitmap>
#include <QImage>
#include <QWidget>

#include <cstring>

namespace wv {

QCursor MakeModeCursor(ModeCursor cursor) {
    const CursorShape& shape = CursorShapeOf(cursor);
    // Qt's monochrome cursors: bitmap 1 = black, mask 1 = drawn.
    QImage bits(32, 32, QImage::Format_MonoLSB);
    QImage mask(32, 32, QImage::Format_MonoLSB);
    bits.fill(0);
    mask.fill(0);
    for (int y = 0; y < 32; ++y) {
        const char* row = shape.rows[y];
        const int n = static_cast<int>(std::strlen(row));
        for (int x = 0; x < 32 && x < n; ++x) {
            if (row[x] == '#') { bits.setPixel(x, y, 1); mask.setPixel(x, y, 1); }
            if (row[x] == '.') mask.setPixel(x, y, 1);
        }
    }
    return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), shape.hotX, shape.hotY);
}

void SetModeCursor(QWidget* view, int mode) {
    if (view == nullptr) return;
    view->setCursor(MakeModeCursor(ModeCursorFor(mode)));
}

}  // namespace wv
