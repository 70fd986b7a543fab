#pragma once
// What the print tests share: page pictures with a text field drawn in,
// and poppler's tools reading back a PDF that a print wrote.
#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QPainter;

// The socket of the print system this test process talks to. Set as
// CUPS_SERVER before anything asks for printers, so a test sees only the
// queues of the CUPS daemon it starts itself there (none otherwise).
const std::string& strCupsSocketPath();

// Draws text onto a page's canvas at a calibration rectangle (page units),
// left and top aligned, in a 12-point font as the pages set fonts (16 px).
void vFunDrawField(QPainter& canvas, const QString& text, const QRect& rect);
// A filled square of `size` page units with its top-left corner at `at`.
void vFunDrawMark(QPainter& canvas, QPoint at, int size);

// Runs a program and gives its standard output; nullopt when it cannot be
// started or fails.
std::optional<std::string> optFunRun(const QString& program, const QStringList& arguments);

int iFunPdfPages(const std::string& pdf);
// The size of a page (1-based) in whole millimetres, width by height as the
// page stands (a landscape page is wider than high); empty when unreadable.
QSize sizeFunPdfPageMm(const std::string& pdf, int page);
// The box of a word on a page (1-based) in millimetres from the sheet's
// top-left corner.
std::optional<QRectF> optFunWordBox(const std::string& pdf, int page, const QString& word);
// The box of the dark pixels of a page, in millimetres, rendered at 254 dpi
// (10 pixels a millimetre); an empty box when the page is blank.
QRectF rectFunInkBox(const std::string& pdf, int page);
