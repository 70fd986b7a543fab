#include "app/ToolbarPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kInk(40, 48, 64);
const QColor kPaper(250, 250, 246);
const QColor kBlue(46, 110, 190);
const QColor kGreen(40, 150, 70);
const QColor kRed(200, 50, 45);
const QColor kGold(230, 170, 40);

void sheet(QPainter& p, const QRectF& r) {
  QPainterPath path;
  const qreal fold = 7;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - fold, r.top());
  path.lineTo(r.right(), r.top() + fold);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kPaper);
  p.drawPath(path);
  p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
  p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void textLines(QPainter& p, qreal x1, qreal x2, qreal y, int count) {
  p.setPen(QPen(QColor(130, 140, 160), 1.2));
  for (int i = 0; i < count; ++i) p.drawLine(QPointF(x1, y + i * 4), QPointF(x2, y + i * 4));
}

void person(QPainter& p, QPointF at) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kBlue);
  p.drawEllipse(QRectF(at.x() - 5, at.y() - 14, 10, 10));
  QPainterPath body;
  body.moveTo(at + QPointF(-9, 10));
  body.cubicTo(at + QPointF(-9, -2), at + QPointF(9, -2), at + QPointF(9, 10));
  body.closeSubpath();
  p.drawPath(body);
}

void badge(QPainter& p, QPointF centre, const QColor& colour) {
  p.setPen(QPen(Qt::white, 1.2));
  p.setBrush(colour);
  p.drawEllipse(centre, 7, 7);
  p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
}

void plus(QPainter& p, QPointF c) {
  badge(p, c, kGreen);
  p.drawLine(c + QPointF(-3.5, 0), c + QPointF(3.5, 0));
  p.drawLine(c + QPointF(0, -3.5), c + QPointF(0, 3.5));
}

void cross(QPainter& p, QPointF c) {
  badge(p, c, kRed);
  p.drawLine(c + QPointF(-3, -3), c + QPointF(3, 3));
  p.drawLine(c + QPointF(-3, 3), c + QPointF(3, -3));
}

void pencil(QPainter& p, QPointF tip) {
  p.save();
  p.translate(tip);
  p.rotate(-45);
  p.setPen(QPen(kInk, 1));
  p.setBrush(kGold);
  p.drawRect(QRectF(4, -2.5, 14, 5));
  p.setBrush(QColor(230, 120, 120));
  p.drawRect(QRectF(18, -2.5, 3, 5));
  const QPointF point[] = {{0, 0}, {4, -2.5}, {4, 2.5}};
  p.setBrush(QColor(240, 220, 180));
  p.drawPolygon(point, 3);
  p.restore();
}

void draw(QPainter& p, TToolbarPicture which) {
  switch (which) {
    case TToolbarPicture::NewFile:
      sheet(p, QRectF(6, 3, 19, 25));
      textLines(p, 9, 21, 12, 3);
      plus(p, QPointF(23, 24));
      break;
    case TToolbarPicture::OpenFile: {
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(220, 170, 60));
      const QPointF back[] = {{3, 8}, {11, 8}, {14, 11}, {27, 11}, {27, 27}, {3, 27}};
      p.drawPolygon(back, 6);
      p.setBrush(kGold);
      const QPointF front[] = {{7, 15}, {30, 15}, {26, 27}, {3, 27}};
      p.drawPolygon(front, 4);
      break;
    }
    case TToolbarPicture::Save:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(kBlue);
      p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
      p.setBrush(kPaper);
      p.drawRect(QRectF(8, 4, 16, 9));
      p.setBrush(QColor(200, 205, 215));
      p.drawRect(QRectF(9, 18, 14, 10));
      p.setBrush(kInk);
      p.drawRect(QRectF(19, 6, 3, 5));
      break;
    case TToolbarPicture::SchoolTemplate: {
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(205, 90, 70));
      const QPointF roof[] = {{3, 12}, {16, 4}, {29, 12}};
      p.drawPolygon(roof, 3);
      p.setBrush(kPaper);
      p.drawRect(QRectF(5, 12, 22, 16));
      p.setBrush(kBlue);
      for (qreal x : {8.0, 14.0, 20.0}) p.drawRect(QRectF(x, 15, 4, 5));
      p.setBrush(QColor(120, 80, 50));
      p.drawRect(QRectF(14, 22, 4, 6));
      break;
    }
    case TToolbarPicture::AddStudent:
      person(p, QPointF(13, 17));
      plus(p, QPointF(24, 23));
      break;
    case TToolbarPicture::EditStudent:
      person(p, QPointF(12, 17));
      pencil(p, QPointF(17, 29));
      break;
    case TToolbarPicture::DeleteStudent:
      person(p, QPointF(13, 17));
      cross(p, QPointF(24, 23));
      break;
    case TToolbarPicture::EditDocument:
      sheet(p, QRectF(4, 3, 19, 25));
      textLines(p, 7, 19, 10, 4);
      pencil(p, QPointF(16, 29));
      break;
    case TToolbarPicture::Print:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(kPaper);
      p.drawRect(QRectF(9, 3, 14, 10));
      p.setBrush(QColor(120, 130, 150));
      p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
      p.setBrush(kPaper);
      p.drawRect(QRectF(8, 19, 16, 10));
      textLines(p, 10, 22, 23, 2);
      p.setPen(Qt::NoPen);
      p.setBrush(kGreen);
      p.drawEllipse(QPointF(25, 16), 1.5, 1.5);
      break;
    case TToolbarPicture::Help: {
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(kBlue);
      p.drawEllipse(QPointF(16, 16), 13, 13);
      QFont font = p.font();
      font.setPixelSize(20);
      font.setBold(true);
      p.setFont(font);
      p.setPen(Qt::white);
      p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case TToolbarPicture::Contact:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(kPaper);
      p.drawRect(QRectF(3, 8, 26, 17));
      p.drawLine(QPointF(3, 8), QPointF(16, 18));
      p.drawLine(QPointF(29, 8), QPointF(16, 18));
      break;
    case TToolbarPicture::Import: {
      sheet(p, QRectF(11, 3, 18, 25));
      p.setPen(QPen(kGreen, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(3, 16), QPointF(17, 16));
      const QPointF head[] = {{12, 11}, {17, 16}, {12, 21}};
      p.drawPolyline(head, 3);
      break;
    }
  }
}

}  // namespace

QIcon icoFunToolbarPicture(TToolbarPicture which) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter, which);
  painter.end();
  return QIcon(pixmap);
}
