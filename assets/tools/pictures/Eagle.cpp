#include "Eagle.h"

#include <QPainterPath>
#include <QPointF>
#include <QRegularExpression>
#include <QString>
#include <QTransform>

#include <cmath>
#include <numbers>
#include <vector>

namespace art {
namespace {

// The eagle is symmetric about this line, apart from its head and crown.
constexpr double kCentreX = 100.0;
constexpr double kDegree = std::numbers::pi / 180.0;

// One feather: a leaf from base to tip, widest a third of the way out,
// with a blunt point.
struct Feather {
  QPointF base;
  double angleDeg, length, width;
};

QPainterPath feather(const Feather& f) {
  const QPointF along(std::cos(f.angleDeg * kDegree), std::sin(f.angleDeg * kDegree));
  const QPointF across(-along.y(), along.x());
  const QPointF tip = f.base + along * f.length;
  const double half = f.width / 2.0;
  QPainterPath p(f.base + across * half * 0.6);
  p.cubicTo(f.base + along * (f.length * 0.35) + across * half * 1.15,
            tip - along * (f.length * 0.18) + across * half * 0.9, tip);
  p.cubicTo(tip - along * (f.length * 0.18) - across * half * 0.9,
            f.base + along * (f.length * 0.35) - across * half * 1.15, f.base - across * half * 0.6);
  p.closeSubpath();
  return p;
}

// The right wing as the viewer sees it, raised: feathers hanging from the
// arm, from the shoulder up to the wrist, turning from downwards near the
// body to outwards and upwards at the wrist. Listed from the wrist in, the
// order they are laid down, so that each lies over the one before.
const Feather kWingFeathers[] = {
    {{161.0, 21.0}, -38.0, 27.0, 12.0}, {{158.0, 27.0}, -20.0, 42.0, 14.0}, {{151.0, 37.0}, 2.0, 44.0, 15.0},
    {{143.0, 48.0}, 24.0, 54.0, 16.0},  {{134.0, 60.0}, 46.0, 57.0, 17.0},  {{125.0, 72.0}, 68.0, 54.0, 17.0},
    {{116.0, 84.0}, 88.0, 46.0, 17.0},
};

// The right half of the tail, from the outside in; the last feather
// points straight down.
const Feather kTailFeathers[] = {
    {{102.0, 132.0}, 64.0, 54.0, 12.0},
    {{101.0, 134.0}, 77.0, 60.0, 13.0},
    {{100.0, 134.0}, 90.0, 65.0, 13.0},
};

// The wing's arm and the coverts over the bases of its feathers, their
// lower edge rounded into small lobes.
QPainterPath wing() {
  QPainterPath p(QPointF(104.0, 80.0));
  p.cubicTo(118.0, 60.0, 138.0, 32.0, 156.0, 16.0);  // upper edge of the arm
  p.quadTo(166.0, 8.0, 167.0, 24.0);                  // the wrist
  const QPointF lobes[] = {{161.0, 42.0}, {153.0, 54.0}, {144.0, 66.0}, {134.0, 79.0}, {123.0, 92.0}, {108.0, 102.0}};
  QPointF from(167.0, 24.0);
  for (const QPointF& to : lobes) {
    const QPointF bulge = QPointF(to.y() - from.y(), from.x() - to.x()) * 0.22;  // away from the arm
    p.quadTo((from + to) / 2.0 - bulge, to);
    from = to;
  }
  p.closeSubpath();
  return p;
}

// One leg on the viewer's right: thigh, three talons forward, one back.
std::vector<QPainterPath> leg() {
  std::vector<QPainterPath> out;
  QPainterPath thigh;
  thigh.moveTo(104.0, 118.0);
  thigh.cubicTo(120.0, 120.0, 130.0, 132.0, 131.0, 146.0);
  thigh.lineTo(122.0, 150.0);
  thigh.cubicTo(118.0, 140.0, 110.0, 134.0, 102.0, 132.0);
  thigh.closeSubpath();
  out.push_back(thigh);
  const QPointF ankle(127.0, 150.0);
  for (const double a : {10.0, 45.0, 82.0}) out.push_back(feather({ankle, a, 20.0, 6.5}));
  out.push_back(feather({ankle, 175.0, 11.0, 5.5}));
  return out;
}

QPainterPath body() {
  QPainterPath p;
  p.addEllipse(QPointF(kCentreX, 106.0), 17.0, 33.0);
  return p;
}

// Neck and head, turned to the eagle's right (the viewer's left), with an
// open eye and a hooked beak.
QPainterPath head() {
  QPainterPath p;
  p.moveTo(113.0, 86.0);
  p.cubicTo(113.0, 66.0, 106.0, 52.0, 103.0, 42.0);
  p.cubicTo(100.0, 31.0, 88.0, 27.0, 81.0, 33.0);
  p.lineTo(72.0, 37.0);  // top of the beak
  p.cubicTo(64.0, 40.0, 61.0, 47.0, 63.0, 54.0);
  p.cubicTo(64.0, 50.0, 67.0, 48.0, 71.0, 47.0);  // the hook
  p.lineTo(78.0, 47.0);
  p.cubicTo(82.0, 52.0, 85.0, 58.0, 86.0, 66.0);
  p.cubicTo(87.0, 74.0, 88.0, 80.0, 88.0, 86.0);
  p.closeSubpath();
  p.addEllipse(QPointF(87.0, 38.0), 2.3, 2.3);
  p.setFillRule(Qt::OddEvenFill);
  return p;
}

// An open crown of three points, each topped with a ball, on the head.
QPainterPath crown() {
  QPainterPath p;
  p.moveTo(80.0, 31.0);
  p.lineTo(78.5, 18.0);
  p.lineTo(85.0, 24.0);
  p.lineTo(90.5, 13.0);
  p.lineTo(96.0, 24.0);
  p.lineTo(102.5, 18.0);
  p.lineTo(101.0, 31.0);
  p.closeSubpath();
  p.addEllipse(QPointF(78.5, 16.0), 2.4, 2.4);
  p.addEllipse(QPointF(90.5, 11.0), 2.6, 2.6);
  p.addEllipse(QPointF(102.5, 16.0), 2.4, 2.4);
  return p;
}

// A piece of the drawing; an outlined piece has a thin paper-white edge that
// parts it from the piece it lies over (the feathers of wings and tail).
struct Piece {
  QPainterPath path;
  bool outlined = false;
};

std::vector<Piece> symmetricHalf() {
  std::vector<Piece> pieces;
  for (const Feather& f : kTailFeathers) pieces.push_back({feather(f), true});
  for (QPainterPath& p : leg()) pieces.push_back({p});
  for (const Feather& f : kWingFeathers) pieces.push_back({feather(f), true});
  pieces.push_back({wing()});
  return pieces;
}

QString number(double v) {
  static const QRegularExpression trailingZeros("\\.?0+$");
  return QString::number(v, 'f', 2).remove(trailingZeros);
}

QString point(double x, double y) { return number(x) + "," + number(y); }

QString svgPathData(const QPainterPath& path) {
  QString d;
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    if (e.type == QPainterPath::MoveToElement) {
      if (i > 0) d += "Z";
      d += "M" + point(e.x, e.y);
    } else if (e.type == QPainterPath::LineToElement) {
      d += "L" + point(e.x, e.y);
    } else if (e.type == QPainterPath::CurveToElement) {
      const QPainterPath::Element c2 = path.elementAt(i + 1);
      const QPainterPath::Element to = path.elementAt(i + 2);
      d += "C" + point(e.x, e.y) + " " + point(c2.x, c2.y) + " " + point(to.x, to.y);
      i += 2;
    }
  }
  return d + "Z";
}

}  // namespace

QByteArray eagleSvg() {
  std::vector<Piece> pieces = symmetricHalf();
  const QTransform mirror = QTransform::fromTranslate(2.0 * kCentreX, 0.0).scale(-1.0, 1.0);
  const size_t half = pieces.size();
  for (size_t i = 0; i < half; ++i) pieces.push_back({mirror.map(pieces[i].path), pieces[i].outlined});
  pieces.push_back({body()});
  pieces.push_back({head()});
  pieces.push_back({crown()});

  QString svg = QString(
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"%1\" height=\"%2\" "
                    "viewBox=\"0 0 %1 %2\">\n"
                    "<title>Orzeł</title>\n"
                    "<g fill=\"#1e1e1e\" stroke=\"none\">\n")
                    .arg(kEagleBox.width())
                    .arg(kEagleBox.height());
  for (const Piece& piece : pieces) {
    svg += "<path d=\"" + svgPathData(piece.path) + "\"";
    if (piece.path.fillRule() == Qt::OddEvenFill) svg += " fill-rule=\"evenodd\"";
    if (piece.outlined) svg += " stroke=\"#ffffff\" stroke-width=\"0.8\"";
    svg += "/>\n";
  }
  svg += "</g>\n</svg>\n";
  return svg.toUtf8();
}

}  // namespace art
