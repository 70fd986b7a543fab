#include "render/PrintJob.h"

#include "render/Pages.h"

#include <QPainter>
#include <QPicture>
#include <QPrinterInfo>

TDeviceMetrics metricsFunOfPrinter(const QPrinter& printer) {
  const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
  return {printable.left(), printable.top(), printer.logicalDpiX(), printer.logicalDpiY()};
}

int iFunMmToDevice(int mm, int dpi, int offset) {
  // Integer arithmetic gives the exact quotient, truncated toward zero.
  return static_cast<int>(static_cast<long long>(mm) * 10 * dpi / 254) - offset;
}

TEdges edgesFunMmToDevice(const TEdges& mm, const TDeviceMetrics& m) {
  return {iFunMmToDevice(mm.left, m.dpiX, m.offsetX), iFunMmToDevice(mm.top, m.dpiY, m.offsetY),
          iFunMmToDevice(mm.right, m.dpiX, m.offsetX), iFunMmToDevice(mm.bottom, m.dpiY, m.offsetY)};
}

void vFunStretchPicture(QPainter& painter, const QPicture& picture, const TEdges& rect) {
  const QPaintDevice* device = painter.device();
  // The replay multiplies by device dpi / picture dpi; divide it out again.
  const double replayX = static_cast<double>(picture.logicalDpiX()) / device->logicalDpiX();
  const double replayY = static_cast<double>(picture.logicalDpiY()) / device->logicalDpiY();
  painter.save();
  painter.translate(rect.left, rect.top);
  painter.scale(static_cast<double>(rect.right - rect.left) / kPageWidth * replayX,
                static_cast<double>(rect.bottom - rect.top) / kPageHeight * replayY);
  painter.drawPicture(0, 0, picture);
  painter.restore();
}

void vFunRotatePicture180(QPicture& picture) {
  // The turn about the page's centre, moved by the blanks' offset of side 2:
  // (x, y) -> (w/2 + h/2 - 220 - x, w/2 + h/2 + 200 - y), halves truncated.
  const int diagonal = kPageWidth / 2 + kPageHeight / 2;
  const int x0 = diagonal - 220, y0 = diagonal + 200;
  QPicture turned;
  {
    QPainter canvas(&turned);
    vFunStretchPicture(canvas, picture, {x0, y0, x0 - kPageWidth, y0 - kPageHeight});
  }
  turned.setBoundingRect(QRect(0, 0, kPageWidth, kPageHeight));
  picture = turned;
}

TPrintPath pathFunPrintPath(int pageCount, bool duplexEnabled, int duplexIndex) {
  if (pageCount == 2 && duplexEnabled && duplexIndex > 0) return TPrintPath::Duplex;
  if (pageCount == 1) return TPrintPath::OneSide;
  if (pageCount == 2) return TPrintPath::TwoJobs;
  return TPrintPath::Nothing;
}

QPrinter::DuplexMode duplexFunOfIndex(bool duplexEnabled, int duplexIndex) {
  if (!duplexEnabled) return QPrinter::DuplexNone;
  switch (duplexIndex) {
    case 1: return QPrinter::DuplexLongSide;
    case 2: return QPrinter::DuplexShortSide;
    default: return QPrinter::DuplexNone;
  }
}

bool bFunPrinterCanDuplex(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) return true;
  const QPrinterInfo info(printer);
  // A printer whose driver describes nothing of it (a raw queue: not even its
  // paper sizes) leaves its duplex unknown: the choice stays with the user.
  if (info.isNull() || info.supportedPageSizes().isEmpty()) return true;
  const QList<QPrinter::DuplexMode> modes = info.supportedDuplexModes();
  return modes.contains(QPrinter::DuplexLongSide) || modes.contains(QPrinter::DuplexShortSide) ||
         modes.contains(QPrinter::DuplexAuto);
}

QPageLayout layoutFunStandardSheet() {
  // As small margins as the printer takes: the offset that the conversion
  // subtracts is read from the printable area the printer really has.
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                     QPageLayout::Millimeter);
}

void vFunApplyJobSettings(QPrinter& printer, const QPageLayout& sheet, QPrinter::DuplexMode duplex) {
  printer.setFullPage(false);
  printer.setPageSize(sheet.pageSize());
  printer.setPageOrientation(sheet.orientation());
  printer.setPageMargins(sheet.margins(), sheet.units());
  printer.setDuplex(duplex);
  // Every job prints its pages once, all of them, in order.
  printer.setCopyCount(1);
  printer.setPrintRange(QPrinter::AllPages);
  printer.setFromTo(0, 0);
  printer.setPageOrder(QPrinter::FirstPageFirst);
}

QString strFunJobName(const QString& title, int side) {
  const QString name = title.trimmed().isEmpty() ? QStringLiteral("Kestal - Tarvek") : title;
  return side > 0 ? name + QStringLiteral(" (strona %1)").arg(side) : name;
}

bool bFunPrintJob(QPrinter& printer, const std::vector<TPrintedPage>& pages) {
  const TDeviceMetrics metrics = metricsFunOfPrinter(printer);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  bool first = true;
  for (const TPrintedPage& page : pages) {
    if (!first) printer.newPage();
    first = false;
    if (page.picture) vFunStretchPicture(painter, *page.picture, edgesFunMmToDevice(page.mm, metrics));
  }
  return painter.end();
}
