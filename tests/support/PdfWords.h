#pragma once
// Every word of every page of a PDF with its box in millimetres from the
// sheet's top-left corner, as poppler's pdftotext reads them.
#include <QProcess>
#include <QRegularExpression>
#include <QString>

#include <map>
#include <string>
#include <vector>

struct TPdfWordBox {
  double left, top, right, bottom;  // millimetres from the sheet's top-left corner
};

inline std::vector<std::multimap<std::string, TPdfWordBox>> vFunPdfWords(const std::string& pdf, double sheetWidthMm,
                                                                       double sheetHeightMm) {
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
