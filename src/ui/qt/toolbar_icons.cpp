#include "ui/qt/toolbar_icons.h"
#include "automation/text_compare.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <cctype>

namespace quillon::ui::qt {

namespace {

// Every picture is drawn on a 32 by 32 canvas and scaled to the size asked for.
constexpr qreal kCanvas = 32.0;

using Painting = void (*)(QPainter&);

QPen outline(const QColor& color, qreal width = 2.0) {
  QPen pen(color, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void paintCheck(QPainter& p) {
  p.setPen(outline(QColor(0x1e, 0x7d, 0x32), 5.0));
  p.drawPolyline(QPolygonF({{5, 17}, {13, 25}, {27, 7}}));
}

void paintExit(QPainter& p) {
  // A door standing open, and an arrow leaving through it.
  p.setPen(outline(QColor(0x5d, 0x40, 0x37)));
  p.setBrush(QColor(0xd7, 0xcc, 0xc8));
  p.drawRect(QRectF(4, 3, 14, 26));
  p.setBrush(QColor(0x8d, 0x6e, 0x63));
  p.drawPolygon(QPolygonF({{4, 3}, {12, 7}, {12, 31}, {4, 29}}));
  p.setPen(outline(QColor(0xc6, 0x28, 0x28), 3.0));
  p.drawLine(QPointF(14, 16), QPointF(28, 16));
  p.drawPolyline(QPolygonF({{23, 11}, {28, 16}, {23, 21}}));
}

void paintLightning(QPainter& p) {
  p.setPen(outline(QColor(0xbf, 0x6f, 0x00), 1.5));
  p.setBrush(QColor(0xff, 0xc1, 0x07));
  p.drawPolygon(QPolygonF({{19, 2}, {6, 18}, {14, 18}, {11, 30}, {26, 12}, {17, 12}, {22, 2}}));
}

void paintHelp(QPainter& p) {
  p.setPen(outline(QColor(0x0d, 0x47, 0xa1), 1.5));
  p.setBrush(QColor(0x19, 0x76, 0xd2));
  p.drawEllipse(QRectF(2, 2, 28, 28));
  QPainterPath mark;
  mark.moveTo(11.5, 12.5);
  mark.cubicTo(11.5, 6.5, 20.5, 6.5, 20.5, 12);
  mark.cubicTo(20.5, 15.5, 16, 16, 16, 20);
  p.setBrush(Qt::NoBrush);
  p.setPen(outline(Qt::white, 3.5));
  p.drawPath(mark);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(16, 25), 2.2, 2.2);
}

void paintFunnel(QPainter& p) {
  p.setPen(outline(QColor(0x00, 0x4d, 0x40), 1.5));
  p.setBrush(QColor(0x26, 0xa6, 0x9a));
  p.drawPolygon(QPolygonF({{3, 4}, {29, 4}, {19, 16}, {19, 27}, {13, 30}, {13, 16}}));
}

void paintRefresh(QPainter& p) {
  p.setPen(outline(QColor(0x2e, 0x7d, 0x32), 3.5));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(5, 5, 22, 22), 60 * 16, 290 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x2e, 0x7d, 0x32));
  p.drawPolygon(QPolygonF({{15, 1}, {24, 6}, {15, 12}}));
}

void paintBox(QPainter& p) {
  p.setPen(outline(QColor(0x37, 0x47, 0x4f)));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 4, 24, 24));
}

void paintSelectAll(QPainter& p) {
  paintBox(p);
  p.setPen(outline(QColor(0x1e, 0x7d, 0x32), 4.0));
  p.drawPolyline(QPolygonF({{9, 16}, {14, 21}, {23, 10}}));
}

void paintSelectNone(QPainter& p) {
  paintBox(p);
  p.setPen(outline(QColor(0xc6, 0x28, 0x28), 3.5));
  p.drawLine(QPointF(10, 10), QPointF(22, 22));
  p.drawLine(QPointF(22, 10), QPointF(10, 22));
}

void paintMagnifier(QPainter& p) {
  p.setPen(outline(QColor(0x45, 0x5a, 0x64), 5.0));
  p.drawLine(QPointF(20, 20), QPointF(28, 28));
  p.setPen(outline(QColor(0x45, 0x5a, 0x64), 3.0));
  p.setBrush(QColor(0xe3, 0xf2, 0xfd));
  p.drawEllipse(QRectF(3, 3, 19, 19));
}

void paintPrinter(QPainter& p) {
  p.setPen(outline(QColor(0x37, 0x47, 0x4f), 1.5));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(9, 3, 14, 10));
  p.setBrush(QColor(0x90, 0xa4, 0xae));
  p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(9, 20, 14, 9));
}

struct Picture {
  std::string_view key;
  Painting paint;
};

constexpr std::array<Picture, 13> kPictures = {{
    {"tlbok", paintCheck},
    {"tlbexit", paintExit},
    {"tlbcancel", paintExit},
    {"tlbauto", paintLightning},
    {"tlbhelp", paintHelp},
    {"tlbfilter", paintFunnel},
    {"tlbrefresh", paintRefresh},
    {"tlbselall", paintSelectAll},
    {"tlbunselall", paintSelectNone},
    {"tlblocate", paintMagnifier},
    {"tlbfind", paintMagnifier},
    {"tlbprint", paintPrinter},
    {"tlbpreview", paintMagnifier},
}};

QPixmap draw(Painting paint, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / kCanvas, size / kCanvas);
  paint(painter);
  return pixmap;
}

}  // namespace

QIcon toolbarIcon(std::string_view imageKey) {
  for (const Picture& picture : kPictures) {
    if (!automation::equalsNoCase(picture.key, imageKey)) continue;
    QIcon icon;
    for (const int size : {16, 24, 32}) icon.addPixmap(draw(picture.paint, size));
    return icon;
  }
  return {};
}

}  // namespace quillon::ui::qt
