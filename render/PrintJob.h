#pragma once
// The printing core: millimetres to printer units, a page picture stretched
// into a rectangle of the sheet, the half turn of side 2, which jobs a
// document prints as, and one print job on a QPrinter. The print dialog
// works through these; they need no window, so a test prints through them
// into a PDF file.
#include <QPrinter>

#include <vector>

class QPainter;
class QPicture;

// Edges of a rectangle, left, top, right and bottom, in whatever unit the
// caller names (millimetres on the sheet, or device units). They are used as
// they are, without ordering: a right edge left of the left edge mirrors.
struct TEdges {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const TEdges&, const TEdges&) = default;
};

// What millimetres are converted with: the printer's resolution and the
// offset of its printable area from the physical corner of the sheet, both
// in device units.
struct TDeviceMetrics {
  int offsetX = 0;
  int offsetY = 0;
  int dpiX = 0;
  int dpiY = 0;
};

// The metrics of a printer as its job will paint: origin at the printable
// area, at the printer's resolution.
TDeviceMetrics metricsFunOfPrinter(const QPrinter& printer);

// mm millimetres from the sheet's edge as device units from the printable
// area's edge: trunc(mm * 10 * dpi / 254) - offset, truncated toward zero
// (210 mm at 600 dpi with offset 50 gives 4910).
int iFunMmToDevice(int mm, int dpi, int offset);
TEdges edgesFunMmToDevice(const TEdges& mm, const TDeviceMetrics& metrics);

// Draws a page picture (885 x 1314 page units) into the rectangle, each axis
// by its own factor. QPicture scales its replay by the target's dpi over its
// own; the stretch takes that back out, so one page unit is exactly
// (right - left) / 885 device units across and (bottom - top) / 1314 down.
void vFunStretchPicture(QPainter& painter, const QPicture& picture, const TEdges& rect);

// Replaces a page picture by its copy turned by half a turn, shifted as the
// blanks' second side needs it: a point (x, y) lands at (879 - x, 1299 - y),
// the corner (885, 1314) at (-6, -15).
void vFunRotatePicture180(QPicture& picture);

// How a document prints.
enum class TPrintPath {
  Nothing,  // a page count other than 1 or 2
  OneSide,  // page 1 alone
  Duplex,   // both sides in one two-sided job
  TwoJobs,  // side 1, then the sheet is turned over, then side 2
};
// Two sides go in one job only when the duplex list is enabled and one of
// its two-sided modes (index 1 or 2) is chosen.
TPrintPath pathFunPrintPath(int pageCount, bool duplexEnabled, int duplexIndex);

// The duplex mode of the duplex list's entry: 1 long edge ("Duplex
// pionowo"), 2 short edge ("Duplex poziomo"); anything else, or the list
// disabled, is one-sided.
QPrinter::DuplexMode duplexFunOfIndex(bool duplexEnabled, int duplexIndex);

// Whether the printer can print both sides (a PDF file can: it holds the
// sides as pages). A printer whose capability cannot be learnt (its driver
// describes nothing of it) is taken to be able to.
bool bFunPrinterCanDuplex(const QPrinter& printer);

// The sheet a document prints on unless the user set another in the
// printer's settings: A4, portrait, as small margins as the printer allows.
QPageLayout layoutFunStandardSheet();

// The sheet (size, orientation, margins) and the duplex mode on this printer
// object and so for its next job only; the queue's own settings are never
// touched. What else the printer's settings hold (colour, resolution, paper
// source, the driver's options) stays as they were set.
void vFunApplyJobSettings(QPrinter& printer, const QPageLayout& sheet, QPrinter::DuplexMode duplex);

// The name a job goes under in the printer's queue (and a PDF file's
// title): the title of what it prints, the document and the student
// ("MEN-I/21a/2 świad. klasa I – Kowalska Anna"), followed by the side when
// a document's two sides go as two jobs (side 1 or 2; 0 for a job of the
// whole document): "... – Kowalska Anna (strona 2)". Without a title, the
// program's name.
QString strFunJobName(const QString& title, int side);

// One page of a job: the picture and its rectangle in millimetres.
struct TPrintedPage {
  const QPicture* picture = nullptr;
  TEdges mm;
};
// Prints the pages as one job, a new sheet side for each. False when the job
// cannot be started (no printer, a file that cannot be written).
bool bFunPrintJob(QPrinter& printer, const std::vector<TPrintedPage>& pages);
