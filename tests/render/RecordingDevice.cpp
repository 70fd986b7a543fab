#include "RecordingDevice.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>
#include <QTextItem>

qreal TDrawnText::top() const { return baseline.y() - QFontMetricsF(font).ascent(); }
qreal TDrawnText::bottom() const { return baseline.y() + QFontMetricsF(font).descent(); }

TRecordingEngine::TRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

void TRecordingEngine::updateState(const QPaintEngineState& changed) {
  if (changed.state() & DirtyTransform) transform_ = changed.transform();
  if (changed.state() & DirtyPen) pen_ = changed.pen().color();
}

void TRecordingEngine::drawTextItem(const QPointF& p, const QTextItem& item) {
  texts.push_back({item.text(), transform_.map(p), item.width() * transform_.m11(), item.font(), pen_});
}

void TRecordingEngine::drawLines(const QLineF* l, int count) {
  for (int i = 0; i < count; ++i) lines.push_back({transform_.map(l[i]), pen_});
}

void TRecordingEngine::drawRects(const QRectF* r, int count) {
  for (int i = 0; i < count; ++i) rects.push_back({map(r[i]), pen_});
}

void TRecordingEngine::drawImage(const QRectF& r, const QImage&, const QRectF&, Qt::ImageConversionFlags) {
  pictures.push_back(map(r));
}



// A picture plays its outlines back as paths and its lines as polylines.
void TRecordingEngine::drawPath(const QPainterPath& path) {
  bool rectangle = path.elementCount() == 5;
  for (int i = 1; rectangle && i < 5; ++i) rectangle = path.elementAt(i).isLineTo();
  if (rectangle && QPointF(path.elementAt(4)) == QPointF(path.elementAt(0)))
    rects.push_back({map(path.boundingRect()), pen_});
  else
    ++paths;
}

void TRecordingEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
  if (mode != PolylineMode) {
    ++paths;
    return;
  }
  for (int i = 0; i + 1 < count; ++i) lines.push_back({transform_.map(QLineF(points[i], points[i + 1])), pen_});
}

void TRecordingDevice::play(const QPicture& picture) {
  QPainter painter(this);
  painter.drawPicture(0, 0, picture);
}

QStringList TRecording::textsDrawn() const {
  QStringList list;
  for (const TDrawnText& t : texts) list << t.text;
  return list;
}

int TRecordingDevice::metric(PaintDeviceMetric metric) const {
  switch (metric) {
    case PdmWidth: return 885;
    case PdmHeight: return 1314;
    case PdmWidthMM: return 234;
    case PdmHeightMM: return 348;
    case PdmNumColors: return 0x7fffffff;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 96;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
    default: return 0;
  }
}
