#include "render/FieldDrawing.h"

#include "platform/Cp1250.h"
#include "store/Folders.h"
#include "toolkit/Dialogs.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>

namespace {

TDrawingHost* gHost = nullptr;

bool strikeEmpty() { return gHost && gHost->bStrikeEmptyFields(); }
bool withoutDots() { return gHost && gHost->bPrintWithoutDots(); }
bool clipTexts() { return gHost && gHost->bClipTexts(); }
bool printMode() { return gHost && gHost->bPrintMode(); }

// The calibration editor's selection while calibration is on.
std::optional<std::string> calibSelection(const TDataStore* DataStore) {
  if (!DataStore->bCalibMode || !gHost) return std::nullopt;
  return gHost->strCalibSelection();
}
void showPage(int page) {
  if (gHost) gHost->vFunShowPreviewPage(page);
}
void scrollTo(int position, bool bothPages) {
  if (gHost) gHost->vFunScrollPreview(position, bothPages);
}

// Windows-1250 text as Qt draws it; a line break of either kind starts a line.
QString qtText(const std::string& text) {
  QString s = QString::fromStdString(cp1250ToUtf8(text));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QChar('\r'), QChar('\n'));
  return s;
}

QFontMetricsF metrics(const QPainter* canvas) { return QFontMetricsF(canvas->font(), canvas->device()); }
qreal textWidth(const QPainter* canvas, const std::string& text) {
  return metrics(canvas).horizontalAdvance(qtText(text));
}

// Texts are drawn from the top of their rectangle, literally: "&" is no
// mnemonic prefix. Unclipped text may overflow the rectangle.
void drawText(QPainter* canvas, const QRectF& rect, int alignment, bool clip, const std::string& text) {
  int flags = alignment | Qt::AlignTop;
  if (!clip) flags |= Qt::TextDontClip;
  canvas->drawText(rect, flags, qtText(text));
}

void setPenColour(QPainter* canvas, const QColor& colour) {
  QPen pen = canvas->pen();
  pen.setColor(colour);
  canvas->setPen(pen);
}

// The outline of the rectangle from (left, top) to (right, bottom), right
// and bottom outside it, in the canvas's pen.
void outline(QPainter* canvas, int left, int top, int right, int bottom) {
  canvas->drawRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
}

// The same in red, the pen black afterwards.
void outlineRed(QPainter* canvas, int left, int top, int right, int bottom) {
  setPenColour(canvas, QColor(255, 0, 0));
  outline(canvas, left, top, right, bottom);
  setPenColour(canvas, QColor(0, 0, 0));
}

// The size of the canvas's default font, which a size of 0 stands for.
constexpr int kDefaultFontPoints = 8;

// A size of 0 gives the default height (never the size of the row drawn
// before); a negative one gives the height of the whole character cell, as a
// font height the other way round does.
void setFontPixels(QPainter* canvas, int points) {
  if (points == 0) points = kDefaultFontPoints;
  QFont font = canvas->font();
  const int pixels = iFunFontPixels(points < 0 ? -points : points);
  font.setPixelSize(std::max(1, pixels));
  if (points < 0) {
    const QFontMetricsF metrics(font, canvas->device());
    const double cell = metrics.ascent() + metrics.descent();
    if (cell > 0) font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels * pixels / cell))));
  }
  canvas->setFont(font);
}

int alignmentOf(int fontAlign) {
  switch (fontAlign) {
    case 0: return Qt::AlignLeft;
    case 2: return Qt::AlignRight;
    default: return Qt::AlignHCenter;
  }
}

// A mark's picture, read once per program run (again only when its file
// changes). The grey stamp is kept as 8-bit grey, the same pixels: the page
// picture stores it at a third of the size, so each render encodes it
// quickly.
struct TMarkPicture {
  qint64 size = -1;
  QDateTime modified;
  std::unique_ptr<QSvgRenderer> eagle;
  QImage stamp;
};

const TMarkPicture& cachedMark(const QString& file) {
  static std::map<QString, TMarkPicture> cache;
  const QFileInfo info(file);
  TMarkPicture& mark = cache[file];
  if (mark.size != info.size() || mark.modified != info.lastModified()) {
    mark.size = info.size();
    mark.modified = info.lastModified();
    if (file.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
      mark.eagle = std::make_unique<QSvgRenderer>(file);
    } else {
      mark.stamp = QImage(file);
      if (!mark.stamp.isNull() && !mark.stamp.hasAlphaChannel() && mark.stamp.allGray())
        mark.stamp = mark.stamp.convertToFormat(QImage::Format_Grayscale8);
    }
  }
  return mark;
}

}  // namespace

void vFunSetDrawingHost(TDrawingHost* host) { gHost = host; }
TDrawingHost* hostFunDrawing() { return gHost; }

int iFunMulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const long long product = static_cast<long long>(number) * numerator;
  const long long half = std::llabs(denominator) / 2;
  const bool negative = (product < 0) != (denominator < 0);
  const long long magnitude = (std::llabs(product) + half) / std::llabs(denominator);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

void vFunSetFontStyle(TDataStore*, QPainter* canvas, const TCalibRecord& row) {
  QFont font = canvas->font();
  font.setItalic(row.font_style_italic != 0);
  font.setUnderline(row.font_style_underline != 0);
  font.setBold(row.font_style_bold != 0);
  font.setStrikeOut(row.font_style_strike != 0);
  canvas->setFont(font);
}

void vFunDrawJustifiedText(TDataStore*, QPainter* canvas, const QRectF& rect, const std::string& text) {
  std::size_t blanks = 0;
  for (char c : text) blanks += c == ' ';
  if (blanks < 5) {
    drawText(canvas, rect, Qt::AlignLeft, clipTexts(), text);
    return;
  }
  std::string letters;
  for (char c : text)
    if (c != ' ') letters += c;
  const int gap = static_cast<int>((rect.width() - textWidth(canvas, letters)) / static_cast<qreal>(blanks));

  std::string rest = text;
  qreal left = rect.left();
  qreal right = rect.left();
  auto cell = [&] { return QRectF(left, rect.top(), right - left, rect.height()); };
  for (std::size_t i = 0; i < blanks; ++i) {
    const std::size_t blank = rest.find(' ');
    const std::string word = rest.substr(0, blank);
    rest.erase(0, blank + 1);
    right += textWidth(canvas, word);
    drawText(canvas, cell(), Qt::AlignLeft, false, word);
    left = right;
    right += gap;
    drawText(canvas, cell(), Qt::AlignLeft, false, " ");
    left = right;
  }
  const qreal last = textWidth(canvas, rest);
  drawText(canvas, QRectF(rect.right() - last, rect.top(), last, rect.height()), Qt::AlignLeft, false, rest);
}

void vFunDrawDataField(TDataStore* DataStore, const std::string& text, const TCalibRecord& row, QPainter* canvas,
                       int page, const std::string& fieldName) {
  int top = row.y1;
  if (!text.empty()) {
    vFunSetFontStyle(DataStore, canvas, row);
    setFontPixels(canvas, row.font_size);
    QFont font = canvas->font();
    font.setFamily(QString::fromStdString(cp1250ToUtf8(row.font_name.str())));
    canvas->setFont(font);

    const qreal cellTop = row.y2 - metrics(canvas).height() - row.font_size / 4;
    top = qRound(cellTop);
    const QRectF rect(row.x1, cellTop, row.x2 - row.x1, row.y2 - cellTop);
    if (row.font_align == 3)
      vFunDrawJustifiedText(DataStore, canvas, rect, text);
    else
      drawText(canvas, rect, alignmentOf(row.font_align), clipTexts(), text);
  } else if (strikeEmpty()) {
    QPen pen = canvas->pen();
    pen.setStyle(Qt::SolidLine);
    canvas->setPen(pen);
    const int y = row.y2 - (withoutDots() ? 15 : 10);
    canvas->drawLine(QPoint(row.x1, y), QPoint(row.x2, y));
  }

  const auto selected = calibSelection(DataStore);
  if (!selected || selected->find(fieldName) == std::string::npos) return;
  showPage(page);
  if (row.y2 - top > 100) {
    outlineRed(canvas, row.x1, row.y2 - 20, row.x2, row.y2);
    scrollTo(row.y2 / 2, true);
  } else {
    outlineRed(canvas, row.x1, top, row.x2, row.y2);
    scrollTo(static_cast<int>(row.y2 * 2.0 / 3.0), true);
  }
}

void vFunDrawDottedLine(TDataStore* DataStore, const TCalibRecord& row, QPainter* canvas, int page,
                        const std::string& fieldName) {
  const auto selected = calibSelection(DataStore);
  if (selected && *selected == fieldName) {
    showPage(page);
    outlineRed(canvas, row.x1, row.y2 - 5, row.x2, row.y2 + 5);
    scrollTo(static_cast<int>(row.y2 * 2.0 / 3.0), true);
  }

  QFont plain = canvas->font();
  plain.setBold(false);
  plain.setItalic(false);
  plain.setUnderline(false);
  plain.setStrikeOut(false);
  canvas->setFont(plain);
  setFontPixels(canvas, 14);
  // A dot every 6 units from x1 while left of x2: one text whose letters
  // stand 6 units apart, drawn in one call, puts every dot where a text of
  // its own would stand.
  if (row.x2 > row.x1) {
    const QFont dotFont = canvas->font();
    const QFontMetricsF dotMetrics(dotFont, canvas->device());
    QFont spaced = dotFont;
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, 6 - dotMetrics.horizontalAdvance(QLatin1Char('.')));
    canvas->setFont(spaced);
    const int dots = (row.x2 - row.x1 + 5) / 6;
    canvas->drawText(QPointF(row.x1, row.y2 - 14 + dotMetrics.ascent()), QString(dots, QLatin1Char('.')));
  }
  canvas->setFont(plain);  // the size it found, the style empty
}

void vFunDrawFrame(TDataStore* DataStore, QPainter* canvas, const TCalibRecord& row) {
  QPen pen = canvas->pen();
  const qreal width = pen.widthF();
  pen.setWidth(1);
  canvas->setPen(pen);
  const auto selected = calibSelection(DataStore);
  if (selected && *selected == row.name.str())
    outlineRed(canvas, row.x1, row.y1, row.x2, row.y2);
  else
    outline(canvas, row.x1, row.y1, row.x2, row.y2);
  pen = canvas->pen();
  pen.setWidthF(width);
  canvas->setPen(pen);
}

void vFunGraphicDrawMark(TDataStore* DataStore, int mark, const TCalibRecord& row, QPainter* canvas,
                         const std::string& fieldName) {
  const auto selected = calibSelection(DataStore);
  if (selected && *selected == fieldName) {
    outlineRed(canvas, row.x1, row.y1, row.x2, row.y2);
    showPage(1);
    scrollTo(row.y2 / 2, false);
  }
  if (!printMode()) return;

  const TSystemPath path = strFunGetMainDirPath(DataStore) / (mark == 0 ? "grafika/orzel.svg" : "grafika/m_p.bmp");
  const QString file = QString::fromStdString(path.bytes());
  if (!QFileInfo::exists(file)) {
    vFunReportError(DataStore, "Plik nie istnieje.\n\n" + path.text(), "vFunGraphicDrawMark()");
    MessageBox(DataStore->ErrorStream.str(), cp1250("Bład"), MB_OK | MB_ICONSTOP);
    return;
  }
  const QRect rect = rectFunEdges(row.x1, row.y1, row.x2, row.y2);
  if (mark == 0) {
    cachedMark(file).eagle->render(canvas, QRectF(rect));
    return;
  }
  canvas->drawImage(rect, cachedMark(file).stamp);
  setFontPixels(canvas, 12);
  canvas->drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("m.p."));
}
