#pragma once
// Drawing of one calibrated object onto the canvas of a page picture: a text
// field (left, centred, right or justified), a dotted line, a frame, the state
// eagle and the stamp mark. Coordinates are page units (render/Pages.h).
//
// What carries over on the canvas from one object to the next: the font a
// text field sets, the empty style a dotted line leaves, size 12 after the
// stamp, the solid pen after an empty-field line.
#include "store/DataStore.h"
#include "store/Records.h"

#include <QRect>

#include <string>

class QPainter;

// What the drawing reads of the main window: the three option boxes of its
// tool bar, its print flag, the name selected in the calibration editor, and
// the preview it shows and scrolls while the calibration editor is open.
class TDrawingHost {
 public:
  virtual ~TDrawingHost() = default;
  virtual bool bStrikeEmptyFields() const = 0;  // "Wykresuj puste pola"
  virtual bool bPrintWithoutDots() const = 0;   // "Wyłącz kropki"
  virtual bool bClipTexts() const = 0;          // "Ograniczenia pól tekstowych"
  virtual bool bPrintMode() const = 0;          // the render draws for the printer
  virtual std::string strCalibSelection() const = 0;  // Windows-1250
  virtual void vFunShowPreviewPage(int page) = 0;     // 1 or 2
  // Vertical position of the preview: of both pages, or of page 1 only.
  virtual void vFunScrollPreview(int position, bool bothPages) = 0;
};

// The host the routines ask; without one every option is off, nothing is
// printed and nothing is outlined.
void vFunSetDrawingHost(TDrawingHost* host);
TDrawingHost* hostFunDrawing();

// number * numerator / denominator, rounded half away from zero.
int iFunMulDiv(int number, int numerator, int denominator);
// A font size in points as page units (96 of them to the inch).
inline int iFunFontPixels(int points) { return iFunMulDiv(points, 96, 72); }

// The rectangle from (left, top) to (right, bottom), right and bottom
// outside it, as the layouts give their edges.
inline QRect rectFunEdges(int left, int top, int right, int bottom) {
  return QRect(left, top, right - left, bottom - top);
}

// Bold, italic, underline and strike-out of the canvas font from the row.
void vFunSetFontStyle(TDataStore* DataStore, QPainter* canvas, const TCalibRecord& row);

// Spreads a text of five or more blanks over the rectangle, the first word
// at its left edge and the last ending at its right edge, in the canvas's
// font; fewer blanks are drawn left-aligned.
void vFunDrawJustifiedText(TDataStore* DataStore, QPainter* canvas, const QRectF& rect, const std::string& text);

// A value (Windows-1250) into the row's field on the page's canvas; an empty
// value draws the empty-field line when that option is on. fieldName is the
// name the calibration editor's selection is compared with.
void vFunDrawDataField(TDataStore* DataStore, const std::string& text, const TCalibRecord& row, QPainter* canvas,
                       int page, const std::string& fieldName);

// Dots every 6 units from x1 while left of x2, their cells 14 units above y2.
void vFunDrawDottedLine(TDataStore* DataStore, const TCalibRecord& row, QPainter* canvas, int page,
                        const std::string& fieldName);

// The outline of the row's rectangle, one unit wide.
void vFunDrawFrame(TDataStore* DataStore, QPainter* canvas, const TCalibRecord& row);

// Mark 0 the eagle ("grafika/orzel.svg"), mark 1 the stamp ("grafika/m_p.bmp"
// with "m.p." in its middle), stretched into the row's rectangle; drawn only
// in a print render. A missing picture is reported and not drawn.
void vFunGraphicDrawMark(TDataStore* DataStore, int mark, const TCalibRecord& row, QPainter* canvas,
                         const std::string& fieldName);
