#pragma once
// Every word of every page of a PDF with its box in millimetres from the
// sheet's top-left corner, as poppler's pdftotext reads them.
#include <QProcess>
#include <QRegularExpression>
#include <QString>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

struct TPdfWordBox {
  double left, top, right, bottom;  // millimetres from the sheet's top-left corner
};

// A page of the blanks (page units) printed over a whole A4 sheet.
inline constexpr double kPdfPageUnitsWide = 885.0, kPdfPageUnitsHigh = 1314.0;
inline constexpr double kPdfSheetWidthMm = 210.0, kPdfSheetHeightMm = 297.0;

// Whether a word printed over the whole sheet lies within a layout
// rectangle (page units), give or take half a millimetre.
inline ::testing::AssertionResult bFunWordInsideRectangle(const TPdfWordBox& box, int x1, int x2, int y1, int y2) {
  const double left = x1 * kPdfSheetWidthMm / kPdfPageUnitsWide, right = x2 * kPdfSheetWidthMm / kPdfPageUnitsWide;
  const double top = y1 * kPdfSheetHeightMm / kPdfPageUnitsHigh, bottom = y2 * kPdfSheetHeightMm / kPdfPageUnitsHigh;
  if (box.left >= left - 0.5 && box.right <= right + 0.5 && box.top >= top - 0.5 && box.bottom <= bottom + 0.5)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the word at (" << box.left << ", " << box.top << ")-(" << box.right << ", "
                                       << box.bottom << ") mm is outside (" << left << ", " << top << ")-(" << right
                                       << ", " << bottom << ") mm";
}

inline std::vector<std::multimap<std::string, TPdfWordBox>> vFunPdfWords(const std::string& pdf,
                                                                       double sheetWidthMm = kPdfSheetWidthMm,
                                                                       double sheetHeightMm = kPdfSheetHeightMm) {
  QProcess run;
  run.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QString::fromStdString(pdf), QStringLiteral("-")});
  run.waitForFinished(30000);
  const QString html = QString::fromUtf8(run.readAllStandardOutput());
  std::vector<std::multimap<std::string, TPdfWordBox>> pages;
  double toMmX = 1.0, toMmY = 1.0;
  static const QRegularExpression page(QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\">"));
  static const QRegularExpression word(QStringLiteral(
      "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
  for (const QString& line : html.split('\n')) {
    if (const auto p = page.match(line); p.hasMatch()) {
      pages.emplace_back();
      toMmX = sheetWidthMm / p.captured(1).toDouble();
      toMmY = sheetHeightMm / p.captured(2).toDouble();
    } else if (const auto w = word.match(line); w.hasMatch() && !pages.empty()) {
      pages.back().insert({w.captured(5).toStdString(),
                           {w.captured(1).toDouble() * toMmX, w.captured(2).toDouble() * toMmY,
                            w.captured(3).toDouble() * toMmX, w.captured(4).toDouble() * toMmY}});
    }
  }
  return pages;
}
