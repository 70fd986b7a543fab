#pragma once
// A paint device of page size (885 x 1314 at 96 dpi) that keeps what is
// drawn on it instead of pixels: texts with their baseline point, font and
// width, lines, rectangle outlines, pictures, paths. Coordinates are those
// of the device, every transform applied.
#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTransform>

#include <vector>

class QPicture;

struct TDrawnText {
  QString text;
  QPointF baseline;  // left end of the baseline
  qreal width = 0;
  QFont font;
  QColor colour;
  qreal top() const;     // top of the character cell
  qreal bottom() const;  // bottom of the character cell
  qreal right() const { return baseline.x() + width; }
};
struct TDrawnLine {
  QLineF line;
  QColor colour;
};
struct TDrawnRect {
  QRectF rect;
  QColor colour;
};

// What was drawn, in order.
struct TRecording {
  std::vector<TDrawnText> texts;
  std::vector<TDrawnLine> lines;
  std::vector<TDrawnRect> rects;
  std::vector<QRectF> pictures;  // bitmaps, where they were stretched to
  int paths = 0;                 // vector shapes (the eagle draws as paths)
  QStringList textsDrawn() const;
};

class TRecordingEngine : public QPaintEngine, public TRecording {
 public:
  TRecordingEngine();
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState& changed) override;
  void drawTextItem(const QPointF& p, const QTextItem& item) override;
  void drawLines(const QLineF* lines, int count) override;
  void drawRects(const QRectF* rects, int count) override;
  void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override { pictures.push_back(map(r)); }
  void drawImage(const QRectF& r, const QImage&, const QRectF&, Qt::ImageConversionFlags) override;
  void drawPath(const QPainterPath& path) override;
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
  Type type() const override { return User; }

 private:
  QRectF map(const QRectF& r) const { return transform_.mapRect(r); }
  QTransform transform_;
  QColor pen_ = Qt::black;
};

class TRecordingDevice : public QPaintDevice {
 public:
  TRecordingEngine engine;
  QPaintEngine* paintEngine() const override { return const_cast<TRecordingEngine*>(&engine); }

  // Plays a page picture onto the device at its own scale.
  void play(const QPicture& picture);
  QStringList textsDrawn() const { return engine.textsDrawn(); }

 protected:
  int metric(PaintDeviceMetric metric) const override;
};
