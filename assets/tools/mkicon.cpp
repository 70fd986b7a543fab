// Draws the program's icon, the one the desktop shows for the menu entry
// and for document files, and writes it as a scalable SVG, or as a C++
// source holding that SVG, which the program is built with (its windows'
// icon where the desktop's icon theme lacks the installed one):
//   tarvek_mkicon <file.svg>
//   tarvek_mkicon --source <file.cpp>
// A certificate: a sheet with the state eagle at its head (the same eagle
// the blanks show), lines of text, a row of grades and the white-and-red
// band of a certificate with distinction across its corner.
#include "pictures/Eagle.h"

#include <QSaveFile>
#include <QString>

#include <cstdio>

namespace {

// The icon's own units: a square of 128, the sheet upright in its middle.
constexpr double kSize = 128.0;
constexpr double kSheetX = 22.0, kSheetY = 6.0, kSheetW = 84.0, kSheetH = 116.0;
constexpr double kEagleWidth = 30.0;

// The eagle's shapes without their document around them, placed and scaled
// to the head of the sheet.
QString eagle() {
  const QString whole = QString::fromUtf8(art::eagleSvg());
  const qsizetype from = whole.indexOf(QStringLiteral("<g "));
  const qsizetype to = whole.lastIndexOf(QStringLiteral("</g>"));
  if (from < 0 || to < from) return {};
  const double scale = kEagleWidth / art::kEagleBox.width();
  const double x = kSheetX + (kSheetW - kEagleWidth) / 2.0, y = kSheetY + 7.0;
  return QStringLiteral("<g transform=\"translate(%1 %2) scale(%3)\">\n").arg(x).arg(y).arg(scale) +
         whole.mid(from, to + 4 - from) + QStringLiteral("\n</g>\n");
}

QString line(double x1, double x2, double y, double width) {
  return QStringLiteral("<line x1=\"%1\" y1=\"%3\" x2=\"%2\" y2=\"%3\" stroke-width=\"%4\"/>\n")
      .arg(x1)
      .arg(x2)
      .arg(y)
      .arg(width);
}

QByteArray icon() {
  const QString eagleShapes = eagle();
  if (eagleShapes.isEmpty()) return {};
  QString svg = QStringLiteral(
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"%1\" height=\"%1\" "
                    "viewBox=\"0 0 %1 %1\">\n"
                    "<title>Kestal - Tarvek</title>\n")
                    .arg(kSize);
  // The sheet, with a shadow below it.
  svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"4\" fill=\"#000000\" "
                        "fill-opacity=\"0.25\"/>\n")
             .arg(kSheetX + 2.0)
             .arg(kSheetY + 2.5)
             .arg(kSheetW)
             .arg(kSheetH);
  svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"4\" fill=\"#fdfaf0\" "
                        "stroke=\"#6b6659\" stroke-width=\"1.5\"/>\n")
             .arg(kSheetX)
             .arg(kSheetY)
             .arg(kSheetW)
             .arg(kSheetH);
  // The band of a distinction across the lower left corner, a white and a
  // red stripe at 45 degrees from the left edge to the bottom edge (short of
  // the rounded corner).
  const double left = kSheetX, bottom = kSheetY + kSheetH;
  auto stripe = [&](double from, double to, const char* colour) {
    return QStringLiteral("<polygon points=\"%1,%2 %3,%4 %5,%4 %1,%6\" fill=\"%7\"/>\n")
        .arg(left)
        .arg(bottom - from)
        .arg(left + from)
        .arg(bottom)
        .arg(left + to)
        .arg(bottom - to)
        .arg(QLatin1String(colour));
  };
  svg += stripe(42.0, 28.0, "#ffffff");
  svg += stripe(28.0, 13.0, "#dc143c");
  svg += eagleShapes;
  // The title and the lines of the student's data.
  svg += QStringLiteral("<g stroke=\"#2b3f73\" stroke-linecap=\"round\">\n");
  svg += line(44.0, 84.0, 50.0, 3.5);
  svg += line(32.0, 96.0, 60.0, 2.0);
  svg += line(32.0, 96.0, 67.0, 2.0);
  svg += line(32.0, 80.0, 74.0, 2.0);
  svg += QStringLiteral("</g>\n");
  // A row of grades in their boxes.
  svg += QStringLiteral("<g fill=\"none\" stroke=\"#6b6659\" stroke-width=\"1\">\n");
  for (int i = 0; i < 4; ++i)
    svg += QStringLiteral("<rect x=\"%1\" y=\"82\" width=\"12\" height=\"10\"/>\n").arg(40.0 + i * 13.0);
  svg += QStringLiteral("</g>\n<g fill=\"#2b3f73\" font-family=\"Liberation Sans, sans-serif\" "
                        "font-size=\"8\" font-weight=\"bold\" text-anchor=\"middle\">\n");
  const char* const grades[] = {"5", "6", "4", "5"};
  for (int i = 0; i < 4; ++i)
    svg += QStringLiteral("<text x=\"%1\" y=\"90\">%2</text>\n").arg(46.0 + i * 13.0).arg(QLatin1String(grades[i]));
  svg += QStringLiteral("</g>\n</svg>\n");
  return svg.toUtf8();
}

}  // namespace

int main(int argc, char** argv) {
  const bool source = argc == 3 && QByteArray(argv[1]) == "--source";
  if (argc != 2 && !source) {
    std::fprintf(stderr, "usage: %s <file.svg>\n       %s --source <file.cpp>\n", argv[0], argv[0]);
    return 2;
  }
  const char* path = argv[argc - 1];
  QByteArray bytes = icon();
  if (bytes.isEmpty()) {
    std::fprintf(stderr, "the eagle's drawing has no shapes\n");
    return 1;
  }
  if (source) {
    QByteArray text = "// Written by tarvek_mkicon: the program's icon as SVG.\n"
                      "#include \"assets/ProgramIcon.h\"\n\n"
                      "const unsigned char kProgramIconSvg[] = {";
    for (qsizetype i = 0; i < bytes.size(); ++i)
      text += (i % 16 == 0 ? "\n  " : " ") + QByteArray::number(static_cast<unsigned char>(bytes[i])) + ",";
    text += "\n};\nconst std::size_t kProgramIconSvgSize = sizeof(kProgramIconSvg);\n";
    bytes = text;
  }
  QSaveFile file(QString::fromLocal8Bit(path));
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    std::fprintf(stderr, "cannot write %s\n", path);
    return 1;
  }
  return 0;
}
