#include "BlankArt.h"

#include "Eagle.h"

#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace art {

const FrameStyle kCurrentEdition{QColor(70, 118, 92), 4, 22.0};
const FrameStyle kEarlierEdition{QColor(78, 96, 140), 3, 28.0};

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kFrameWidth = 34.0;  // page units, the ornamental band
constexpr double kMargin = 30.0;      // page units, from the sheet's edge to the frame
constexpr QColor kStampInk{74, 74, 74};

double bandWidth(Band band) {
  switch (band) {
    case Band::Wide: return 50.0;
    case Band::Narrow: return 34.0;
    case Band::None: break;
  }
  return 0.0;
}

QPen pen(const QColor& colour, double width) {
  QPen p(colour, width);
  p.setJoinStyle(Qt::MiterJoin);
  p.setCapStyle(Qt::FlatCap);
  return p;
}

// The curve through f(0), f(1/steps), ... f(1).
template <class F>
QPainterPath curve(int steps, F f) {
  QPainterPath path(f(0.0));
  for (int k = 1; k <= steps; ++k) path.lineTo(f(static_cast<double>(k) / steps));
  return path;
}

// A closed curve around centre at radius r(angle).
template <class R>
QPainterPath around(QPointF centre, int steps, R r) {
  return curve(steps, [&](double s) {
    const double t = kTwoPi * s;
    return centre + QPointF(std::cos(t), std::sin(t)) * r(t);
  });
}

// Waves running from a to b, side by side in a band of the given half
// width, shifted in phase so that they interlace like a rope; a whole
// number of waves fits between a and b, so every side ends where it began.
void waveBand(QPainter& p, const QColor& ink, QPointF a, QPointF b, double halfWidth, double period, int strands,
              double lineWidth) {
  const QPointF d = b - a;
  const double length = std::hypot(d.x(), d.y());
  const QPointF along = d / length;
  const QPointF across(-along.y(), along.x());
  const double waves = std::max(1.0, std::round(length / period));
  const int steps = std::max(8, static_cast<int>(std::ceil(length)));
  auto strand = [&](double amplitude, double frequency, double phase) {
    p.drawPath(curve(steps, [&](double s) {
      return a + d * s + across * (amplitude * std::sin(kTwoPi * frequency * s + phase));
    }));
  };
  p.setPen(pen(ink, lineWidth));
  for (int j = 0; j < strands; ++j) strand(halfWidth, waves, kTwoPi * j / strands);
  // A finer counter-wave between the large ones.
  p.setPen(pen(ink, lineWidth * 0.6));
  for (int j = 0; j < 2; ++j) strand(halfWidth * 0.45, waves * 2.0, std::numbers::pi * (j + 0.5));
}

// Rose curves laid over one another at shifted phases: the rosette of the
// frame's corners and of the middle of the medallion.
void rosette(QPainter& p, const QColor& ink, QPointF centre, double radius, int petals, int curves, double lineWidth) {
  p.setPen(pen(ink, lineWidth));
  p.setBrush(Qt::NoBrush);
  const int steps = std::max(180, static_cast<int>(radius * 8.0));
  for (int j = 0; j < curves; ++j) {
    const double phase = kTwoPi * j / curves;
    p.drawPath(around(centre, steps, [&](double t) { return radius * (0.58 + 0.42 * std::cos(petals * t + phase)); }));
  }
}

// The faint medallion in the middle of side 1: rings of interlaced waves
// around a rosette, all of one wave length.
void medallion(QPainter& p, const QColor& ink, QPointF centre, double radius, double unit) {
  constexpr int kRings = 4;
  constexpr int kWaves = 3;
  p.setPen(pen(ink, 0.6 * unit));
  for (int ring = 0; ring < kRings; ++ring) {
    const double rho = radius * (1.0 - 0.19 * ring);
    const double amplitude = radius * 0.075;
    const double lobes = std::round(kTwoPi * rho / (30.0 * unit));
    for (int j = 0; j < kWaves; ++j)
      p.drawPath(around(centre, static_cast<int>(rho * 6.0),
                        [&](double t) { return rho + amplitude * std::sin(lobes * t + kTwoPi * j / kWaves); }));
  }
  rosette(p, ink, centre, radius * 0.3, 12, 3, 0.6 * unit);
}

QRectF inset(const QRectF& r, double by) { return r.adjusted(by, by, -by, -by); }

// "m.p." drawn with strokes, x-height h, centred on c: the blanks carry the
// label in the stamp circle and no font is needed to draw it.
void stampLabel(QPainter& p, QPointF c, double h) {
  const double width = 2.42 * h;
  const QPointF o = c - QPointF(width / 2.0, h / 2.0);  // top left of the x-height box
  auto at = [&](double x, double y) { return o + QPointF(x * h, y * h); };
  QPainterPath letters;
  letters.moveTo(at(0.0, 0.02));  // m
  letters.lineTo(at(0.0, 1.0));
  letters.moveTo(at(0.0, 0.32));
  letters.cubicTo(at(0.08, 0.0), at(0.44, -0.06), at(0.44, 0.34));
  letters.lineTo(at(0.44, 1.0));
  letters.moveTo(at(0.44, 0.32));
  letters.cubicTo(at(0.52, 0.0), at(0.88, -0.06), at(0.88, 0.34));
  letters.lineTo(at(0.88, 1.0));
  letters.moveTo(at(1.46, 0.02));  // p
  letters.lineTo(at(1.46, 1.42));
  letters.addEllipse(QRectF(at(1.46, 0.0), at(2.06, 1.0)));
  p.setPen(QPen(kStampInk, h * 0.13, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(letters);
  p.setPen(Qt::NoPen);
  p.setBrush(kStampInk);
  for (const double x : {1.17, 2.33}) p.drawEllipse(at(x, 0.93), h * 0.09, h * 0.09);
}

}  // namespace

void drawFrame(QPainter& p, const QRectF& outer, double unit, const FrameStyle& style) {
  const double t = kFrameWidth * unit;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(Qt::NoBrush);
  p.setPen(pen(style.ink, 1.6 * unit));
  p.drawRect(inset(outer, 0.8 * unit));
  p.setPen(pen(style.ink, 0.6 * unit));
  p.drawRect(inset(outer, 3.5 * unit));
  p.drawRect(inset(outer, t - 3.5 * unit));
  p.setPen(pen(style.ink, 1.6 * unit));
  p.drawRect(inset(outer, t - 0.8 * unit));
  p.setPen(pen(style.ink, 0.5 * unit));
  p.drawRect(inset(outer, t + 6.0 * unit));

  // The wave band on each side, between the corner squares.
  const QRectF mid = inset(outer, t / 2.0);
  const double half = t / 2.0 - 6.0 * unit;
  const double period = style.period * unit;
  const double line = 0.75 * unit;
  const std::pair<QPointF, QPointF> sides[] = {
      {{outer.left() + t, mid.top()}, {outer.right() - t, mid.top()}},
      {{outer.left() + t, mid.bottom()}, {outer.right() - t, mid.bottom()}},
      {{mid.left(), outer.top() + t}, {mid.left(), outer.bottom() - t}},
      {{mid.right(), outer.top() + t}, {mid.right(), outer.bottom() - t}},
  };
  for (const auto& [from, to] : sides) waveBand(p, style.ink, from, to, half, period, style.strands, line);

  // Corner squares, each with a rosette.
  for (const QPointF corner : {outer.topLeft(), outer.topRight() - QPointF(t, 0.0), outer.bottomLeft() - QPointF(0.0, t),
                               outer.bottomRight() - QPointF(t, t)}) {
    const QRectF square(corner, QSizeF(t, t));
    p.setPen(pen(style.ink, 0.6 * unit));
    p.drawRect(inset(square, 3.5 * unit));
    rosette(p, style.ink, square.center(), t / 2.0 - 6.0 * unit, 6, 3, 0.5 * unit);
  }
  p.restore();
}

void drawBand(QPainter& p, const QRectF& band) {
  const QRectF white(band.topLeft(), QSizeF(band.width() / 2.0, band.height()));
  const QRectF red(white.topRight(), white.size());
  p.fillRect(white, QColor(255, 255, 255));
  p.fillRect(red, QColor(212, 33, 61));
}

void drawEagle(QPainter& p, const QRectF& box) {
  QSvgRenderer eagle(eagleSvg());
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  eagle.render(&p, box);
  p.restore();
}

void drawStampCircle(QPainter& p, QPointF centre, double radius, double unit, bool label) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(kStampInk);
  const int dots = static_cast<int>(std::round(kTwoPi * radius / (7.0 * unit)));
  for (int i = 0; i < dots; ++i) {
    const double a = kTwoPi * i / dots;
    p.drawEllipse(centre + QPointF(std::cos(a), std::sin(a)) * radius, 1.5 * unit, 1.5 * unit);
  }
  if (label) stampLabel(p, centre, 11.0 * unit);
  p.restore();
}

void drawCertificateSide(QPainter& p, const QRectF& sheet, const CertificateSide& side) {
  const double sx = sheet.width() / kPageUnits.width();
  const double sy = sheet.height() / kPageUnits.height();
  const double u = std::min(sx, sy);
  auto toSheet = [&](QPointF pt) { return sheet.topLeft() + QPointF(pt.x() * sx, pt.y() * sy); };

  p.fillRect(sheet, kCertificatePaper);
  const double band = bandWidth(side.band) * u;
  if (band > 0.0) drawBand(p, QRectF(sheet.topLeft(), QSizeF(band, sheet.height())));
  const double left = band > 0.0 ? band + 14.0 * u : kMargin * u;
  const QRectF outer(sheet.left() + left, sheet.top() + kMargin * u, sheet.width() - left - kMargin * u,
                     sheet.height() - 2.0 * kMargin * u);

  if (side.side == 1) {
    // The faint medallion in the middle of the sheet, under everything else.
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QColor faint = side.frame->ink;
    faint.setAlpha(40);
    medallion(p, faint, outer.center(), std::min(outer.width(), outer.height()) * 0.3, u);
    p.restore();
  }
  drawFrame(p, outer, u, *side.frame);
  if (side.side != 1) return;

  // The blank's own state eagle at the top and the dotted circle of the
  // stamp's place near the bottom. Pictures only: the print never draws a
  // picture of the blank, so there the marks come once, from the layout.
  const QPointF eagleCentre = toSheet(kEagleRect.center());
  const QSizeF eagleSize = kEagleRect.size() * u;
  drawEagle(p, QRectF(eagleCentre - QPointF(eagleSize.width(), eagleSize.height()) / 2.0, eagleSize));
  drawStampCircle(p, toSheet(side.stampCentre), kStampRadius * u, u, true);
}

void drawPlainSheet(QPainter& p, const QRectF& sheet) { p.fillRect(sheet, kPlainPaper); }

void drawTitlePage(QPainter& p, const QRectF& sheet, const QRectF& ruled) {
  drawPlainSheet(p, sheet);
  const double sx = sheet.width() / kTitlePageUnits.width();
  const double sy = sheet.height() / kTitlePageUnits.height();
  const QRectF box(sheet.left() + ruled.left() * sx, sheet.top() + ruled.top() * sy, ruled.width() * sx,
                   ruled.height() * sy);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(pen(QColor(40, 40, 40), std::max(1.0, 2.0 * std::min(sx, sy))));
  p.setBrush(Qt::NoBrush);
  p.drawRect(box);
  p.restore();
}

SheetGrid sheetGrid(SheetPage page) {
  SheetGrid g;
  const bool earlier = page == SheetPage::Left || page == SheetPage::Right;
  switch (page) {
    case SheetPage::Left:
    case SheetPage::ClassTwo: g.columns = {40, 75, 475, 665, 855}; break;
    case SheetPage::Right: g.columns = {30, 65, 330, 595, 860}; break;
    case SheetPage::ClassOne: g.columns = {40, 75, 475, 855}; break;
  }
  if (earlier) {
    // Head (year, class, register number, heading), rows 1 and 2, the band
    // of the compulsory subjects, rows 3 to 18, the band of the additional
    // classes, rows 19 to 21, then rows 22 to 26 of their own heights.
    g.rules = {60, 90, 120, 150, 200, 226, 252, 274};
    for (int r = 3; r <= 18; ++r) g.rules.push_back(274 + 26 * (r - 2));
    g.rules.push_back(712);
    for (int r = 19; r <= 21; ++r) g.rules.push_back(712 + 26 * (r - 18));
    for (double y : {886, 956, 1081, 1189, 1229}) g.rules.push_back(y);
    g.headerBottom = 200;
    g.splitTop = 886;
    g.splitMid = 921;
    g.splitBottom = 956;
  } else {
    // The same for the pages of one class: rows 3 to 21, the band of the
    // supplementary subjects with rows 22 to 25, the band of the additional
    // classes with rows 26 to 28, then rows 29 to 33.
    g.rules = {50, 78, 106, 134, 162, 185, 208, 228};
    for (int r = 3; r <= 21; ++r) g.rules.push_back(228 + 23 * (r - 2));
    g.rules.push_back(685);
    for (int r = 22; r <= 25; ++r) g.rules.push_back(685 + 23 * (r - 21));
    g.rules.push_back(797);
    for (int r = 26; r <= 28; ++r) g.rules.push_back(797 + 23 * (r - 25));
    for (double y : {923, 983, 1101, 1203, 1239}) g.rules.push_back(y);
    g.headerBottom = 162;
    g.splitTop = 923;
    g.splitMid = 953;
    g.splitBottom = 983;
  }
  g.splitX = page == SheetPage::Right ? 0 : 175;
  return g;
}

void drawSheetPage(QPainter& p, const QRectF& sheet, SheetPage page) {
  p.fillRect(sheet, kSheetPaper);
  const SheetGrid g = sheetGrid(page);
  const double sx = sheet.width() / kPageUnits.width(), sy = sheet.height() / kPageUnits.height();
  auto at = [&](double x, double y) { return sheet.topLeft() + QPointF(x * sx, y * sy); };
  const double left = g.columns.front(), right = g.columns.back();
  const double top = g.rules.front(), bottom = g.rules.back();
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(pen(QColor(40, 40, 40), 1.0));
  for (double x : g.columns) p.drawLine(at(x, top), at(x, bottom));
  for (double y : g.rules) {
    // The head's rules leave the first column ("Lp.") whole.
    const bool inHead = y > top && y < g.headerBottom;
    p.drawLine(at(inHead ? g.columns[1] : left, y), at(right, y));
  }
  // The absence row: total and unexcused hours, one above the other.
  if (g.splitX > 0) p.drawLine(at(g.splitX, g.splitTop), at(g.splitX, g.splitBottom));
  p.drawLine(at(g.splitX > 0 ? g.splitX : g.columns[1], g.splitMid), at(right, g.splitMid));
  // The outer edge a little heavier.
  p.setPen(pen(QColor(40, 40, 40), 2.0));
  p.drawRect(QRectF(at(left, top), at(right, bottom)));
  p.restore();
}

void drawDesk(QPainter& p, const QRectF& canvas, const QRectF& page) {
  p.fillRect(canvas, QColor(158, 158, 158));
  // A soft shadow down and to the right: stacked translucent rectangles,
  // none reaching beyond the page's top or left edge.
  constexpr double kOffset = 7.0;
  for (int k = 7; k >= 0; --k) {
    const QRectF r = page.translated(kOffset, kOffset).adjusted(-k, -k, k, k);
    p.fillRect(r.intersected(QRectF(page.topLeft(), canvas.bottomRight())), QColor(0, 0, 0, 16));
  }
}

}  // namespace art
