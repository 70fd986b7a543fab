#pragma once
// The printed look of the blanks, drawn with QPainter: the ornamental frame,
// the state eagle, the dotted stamp circle, the white-and-red band of the
// certificates with distinction. The preview backgrounds and the blank
// pictures of the forms are all drawn from these routines.
//
// Positions are given in page units (885 x 1314, the page picture) and
// mapped onto whatever rectangle a sheet is drawn into; ornaments keep
// their proportions (one "unit" is the smaller of the two scales).
#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSize>

#include <vector>

class QPainter;

namespace art {

inline constexpr QSizeF kPageUnits{885.0, 1314.0};

// Where the marks of side 1 of a certificate lie, in page units; the
// layouts put their rows "GRAFIKA: ORZELEK" and "GRAFIKA: PIECZATKA" there.
inline constexpr QRectF kEagleRect{392.5, 84.0, 100.0, 110.0};
inline constexpr double kStampRadius = 52.0;
inline constexpr QPointF kStampCentre{442.5, 1128.0};
inline constexpr QPointF kStampCentreLow{442.5, 1168.0};  // school-leaving certificate with distinction

struct FrameStyle {
  QColor ink;
  int strands;    // interlaced waves of the frame's band
  double period;  // length of one wave, page units
};
extern const FrameStyle kCurrentEdition;  // the "a" editions of the blanks
extern const FrameStyle kEarlierEdition;

enum class Band { None, Wide, Narrow };

struct CertificateSide {
  int side = 1;  // 1: frame, medallion, eagle, stamp circle; 2: frame alone
  Band band = Band::None;
  QPointF stampCentre = kStampCentre;
  const FrameStyle* frame = &kCurrentEdition;
};

inline constexpr QColor kCertificatePaper{250, 248, 237};
inline constexpr QColor kPlainPaper{255, 255, 255};

// A whole side of a certificate blank, paper included, into sheet.
void drawCertificateSide(QPainter& p, const QRectF& sheet, const CertificateSide& side);
// A sheet of plain paper.
void drawPlainSheet(QPainter& p, const QRectF& sheet);

// The title page of the record sheet: plain paper with one ruled rectangle,
// the box of the school's name. Its picture is kTitlePageUnits large, and
// the school-template dialog lays its edits out in these units.
inline constexpr QSizeF kTitlePageUnits{760.0, 1169.0};
inline constexpr QRectF kTitleBoxRect{40.0, 60.0, 680.0, 340.0};
// The title page as the record sheet's own forms show it: the rectangle
// frames the entry of a non-public school, under the school's long stamp.
inline constexpr QRectF kTitleSchoolBlockRect{26.0, 113.0, 378.0, 124.0};
void drawTitlePage(QPainter& p, const QRectF& sheet, const QRectF& box = kTitleBoxRect);

// The class pages of the record sheet: a ruled table on paper, no text. The
// layouts of these pages (assets/layouts/tarvek_arkusz_str*.csv) put their
// values into its cells, and the forms their fixed texts; all in page units.
enum class SheetPage {
  Left,       // pages 2 and 4 of "MEN-I/42/2": row texts and two grade columns
  Right,      // pages 3 and 5: three grade columns
  ClassOne,   // the class-one page of "MEN-I/42b/2": row texts and one wide column
  ClassTwo,   // its class-two and class-three pages: row texts and two columns
};
struct SheetGrid {
  std::vector<double> columns;      // x of the vertical rules, outer edges included
  double headerBottom;              // the head: the first column is one cell down to here
  std::vector<double> rules;        // y of the horizontal rules, outer edges included
  double splitTop, splitBottom;     // the absence row: its value cells are halved at splitMid,
  double splitMid, splitX;          // and its text cell (when the page has one) split at splitX
};
SheetGrid sheetGrid(SheetPage page);
// Picture sizes of the pages: 841 x 1050 for "MEN-I/42/2", 841 x 1200 for "MEN-I/42b/2".
inline constexpr QSize kSheetPageSize{841, 1050};
inline constexpr QSize kSheetPageSizeB{841, 1200};
inline constexpr QColor kSheetPaper{252, 250, 242};
void drawSheetPage(QPainter& p, const QRectF& sheet, SheetPage page);

// The pieces, in pixels of the painter; unit is the size of one page unit.
void drawFrame(QPainter& p, const QRectF& outer, double unit, const FrameStyle& style);
void drawBand(QPainter& p, const QRectF& band);
void drawEagle(QPainter& p, const QRectF& box);
// A circle of dots; with label, "m.p." in its middle.
void drawStampCircle(QPainter& p, QPointF centre, double radius, double unit, bool label);

// The grey desk of a preview with the shadow a sheet casts at page.
void drawDesk(QPainter& p, const QRectF& canvas, const QRectF& page);

}  // namespace art
