// Draws the picture of the wait window and writes it, encoded as JPEG, into
// a C++ source that the program is built with.
//   tarvek_mkwait <output.cpp>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include "render/jpeg/JpegImage.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

// The window is 186 x 51; its progress bar covers the bottom 17 pixels.
QImage drawPicture() {
  QImage image(186, 51, QImage::Format_RGB888);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 51);
  sky.setColorAt(0, QColor(30, 80, 170));
  sky.setColorAt(1, QColor(10, 40, 120));
  p.fillRect(image.rect(), sky);

  // An hourglass on the left.
  p.setPen(QPen(QColor(235, 235, 245), 1.5));
  p.drawLine(QPointF(9, 4), QPointF(23, 4));
  p.drawLine(QPointF(9, 30), QPointF(23, 30));
  const QPointF glass[] = {{11, 5}, {21, 5}, {17, 17}, {21, 29}, {11, 29}, {15, 17}};
  p.setBrush(QColor(255, 255, 255, 40));
  p.drawPolygon(glass, 6);
  p.setBrush(QColor(240, 200, 90));
  p.setPen(Qt::NoPen);
  const QPointF sandTop[] = {{13, 9}, {19, 9}, {16.5, 15}, {15.5, 15}};
  const QPointF sandBottom[] = {{16, 22}, {20, 28.5}, {12, 28.5}};
  p.drawPolygon(sandTop, 4);
  p.drawPolygon(sandBottom, 3);

  p.setPen(Qt::white);
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(13);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRect(30, 2, 152, 16), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("Zapisywanie danych"));
  font.setBold(false);
  font.setPixelSize(11);
  p.setFont(font);
  p.drawText(QRect(30, 17, 152, 15), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("Proszę czekać..."));
  p.end();
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output.cpp>\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QByteArray jpeg;
  std::string error;
  if (!jpeg::encodeJpeg(drawPicture(), 92, jpeg, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }

  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << "// Written by tarvek_mkwait: the wait window's picture as JPEG.\n"
         "#include \"assets/WaitPicture.h\"\n\n"
         "const unsigned char kWaitPictureJpeg[] = {";
  for (qsizetype i = 0; i < jpeg.size(); ++i)
    out << (i % 16 == 0 ? "\n  " : " ") << static_cast<int>(static_cast<unsigned char>(jpeg[i])) << ",";
  out << "\n};\nconst std::size_t kWaitPictureJpegSize = sizeof(kWaitPictureJpeg);\n";
  return out ? 0 : 1;
}
