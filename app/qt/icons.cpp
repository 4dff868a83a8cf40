#include "app/qt/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace wv {

namespace {

constexpr int kW = 16;
constexpr int kH = 15;

QPixmap Blank(int scale) {
    QPixmap p(kW * scale, kH * scale);
    p.fill(Qt::transparent);
    return p;
}

void Page(QPainter& g) {
    QPolygonF sheet({{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}});
    g.setBrush(Qt::white);
    g.setPen(QPen(Qt::black, 1));
    g.drawPolygon(sheet);
    g.drawLine(QPointF(10, 1), QPointF(10, 4));
    g.drawLine(QPointF(10, 4), QPointF(13, 4));
}

void Magnifier(QPainter& g, bool plus, bool minus) {
    g.setPen(QPen(Qt::black, 1.2));
    g.setBrush(QColor(200, 230, 255));
    g.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    g.setPen(QPen(Qt::black, 2.2));
    g.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 13.5));
    g.setPen(QPen(Qt::black, 1.2));
    if (plus || minus) g.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
    if (plus) g.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
}

void Draw(QPainter& g, const std::string& name) {
    if (name == "new") {
        Page(g);
    } else if (name == "open") {
        g.setPen(QPen(Qt::black, 1));
        g.setBrush(QColor(240, 200, 80));
        g.drawPolygon(QPolygonF({{1, 4}, {5, 4}, {6, 5}, {12, 5}, {12, 13}, {1, 13}}));
        g.setBrush(QColor(255, 225, 120));
        g.drawPolygon(QPolygonF({{3, 8}, {15, 8}, {12, 13}, {1, 13}}));
    } else if (name == "save") {
        g.setPen(QPen(Qt::black, 1));
        g.setBrush(QColor(40, 70, 160));
        g.drawRect(QRectF(1.5, 1.5, 12, 12));
        g.setBrush(Qt::white);
        g.drawRect(QRectF(4, 1.5, 7, 5));
        g.setBrush(QColor(200, 200, 200));
        g.drawRect(QRectF(4, 9, 7, 4.5));
    } else if (name == "print") {
        g.setPen(QPen(Qt::black, 1));
        g.setBrush(Qt::white);
        g.drawRect(QRectF(4.5, 1.5, 7, 5));
        g.setBrush(QColor(190, 190, 190));
        g.drawRect(QRectF(1.5, 6.5, 13, 5));
        g.setBrush(Qt::white);
        g.drawRect(QRectF(4.5, 10.5, 7, 3));
    } else if (name == "help") {
        g.setPen(QPen(QColor(0, 0, 160), 1));
        g.setBrush(QColor(255, 255, 200));
        g.drawEllipse(QRectF(1.5, 1, 12.5, 12.5));
        QFont f = g.font();
        f.setPixelSize(11);
        f.setBold(true);
        g.setFont(f);
        g.drawText(QRectF(1.5, 1, 12.5, 12.5), Qt::AlignCenter, QStringLiteral("?"));
    } else if (name == "zoomin") {
        Magnifier(g, true, false);
    } else if (name == "zoomout") {
        Magnifier(g, false, true);
    } else if (name == "zoomall") {
        g.setPen(QPen(Qt::black, 1));
        g.setBrush(Qt::NoBrush);
        g.drawRect(QRectF(1.5, 1.5, 13, 12));
        g.setPen(QPen(QColor(0, 120, 0), 1.2));
        for (QLineF l : {QLineF(4, 4, 7, 7), QLineF(12, 4, 9, 7), QLineF(4, 11, 7, 8), QLineF(12, 11, 9, 8)})
            g.drawLine(l);
    } else if (name == "redraw") {
        g.setPen(QPen(QColor(0, 110, 0), 1.8));
        g.setBrush(Qt::NoBrush);
        g.drawArc(QRectF(2.5, 2.5, 11, 10), 30 * 16, 300 * 16);
        g.setBrush(QColor(0, 110, 0));
        g.setPen(Qt::NoPen);
        g.drawPolygon(QPolygonF({{12, 1}, {15, 5}, {10, 6}}));
    } else if (name == "home") {
        g.setPen(QPen(Qt::black, 1));
        g.setBrush(QColor(200, 60, 40));
        g.drawPolygon(QPolygonF({{8, 1}, {15, 7}, {1, 7}}));
        g.setBrush(QColor(240, 230, 200));
        g.drawRect(QRectF(3.5, 7, 9, 7));
        g.setBrush(QColor(120, 80, 40));
        g.drawRect(QRectF(7, 10, 3, 4));
    }
}

}  // namespace

QIcon ToolbarIcon(const std::string& name) {
    static const char* const known[] = {"new", "open", "save", "print", "help", "zoomin", "zoomout", "zoomall", "redraw", "home"};
    bool ok = false;
    for (const char* k : known) ok = ok || name == k;
    if (!ok) return QIcon();
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pix = Blank(scale);
        QPainter g(&pix);
        g.setRenderHint(QPainter::Antialiasing);
        g.scale(scale, scale);
        Draw(g, name);
        g.end();
        pix.setDevicePixelRatio(scale);
        icon.addPixmap(pix);
    }
    return icon;
}

QIcon AppIcon() {
    QPixmap pix(32, 32);
    pix.fill(Qt::transparent);
    QPainter g(&pix);
    g.setRenderHint(QPainter::Antialiasing);
    g.setBrush(QColor(20, 60, 140));
    g.setPen(Qt::NoPen);
    g.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
    g.setPen(QPen(QColor(140, 210, 255), 2.5));
    g.setBrush(Qt::NoBrush);
    for (int k = 0; k < 3; ++k) {
        QPainterPath wave;
        const double y = 10 + 7 * k;
        wave.moveTo(4, y);
        wave.cubicTo(9, y - 5, 13, y + 5, 18, y);
        wave.cubicTo(22, y - 5, 25, y + 4, 28, y);
        g.drawPath(wave);
    }
    g.end();
    return QIcon(pix);
}

}  // namespace wv
