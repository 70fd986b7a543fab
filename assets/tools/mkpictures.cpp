// Draws every picture the program ships and writes it into the program
// folder:
//   tarvek_mkpictures <program folder>
// grafika/  the preview backgrounds, the stamp mark and the eagle; the
//           program installs these into the data folder ("pliki_kat.sql").
// blanki/   the blank pictures the certificate and record-sheet forms and the
//           school-template dialog show behind their fields, read in place
//           from the program folder.
// Needs no display: only QImage, QPainter and QSvgRenderer are used.
#include "pictures/BlankArt.h"
#include "pictures/Eagle.h"
#include "render/jpeg/JpegImage.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>

namespace {

using Draw = std::function<void(QPainter&, const QRectF& sheet)>;

// The preview draws the page picture at (74, 74) to (957, 1388) of its
// background; the background is that page on a desk with the same margin
// all round.
constexpr QRect kPreviewPage(QPoint(74, 74), QPoint(956, 1387));
constexpr QSize kPreviewSize(kPreviewPage.right() + 1 + 74, kPreviewPage.bottom() + 1 + 74);

constexpr QSize kBlankSide1(717, 1053);
constexpr QSize kTitlePage(760, 1169);  // the record sheet's title page
constexpr QSize kMeetingSheet(448, 622);  // the meeting sheet, a plain page
// Side 2 of the current blanks is stored at 589 x 1150 and shown stretched
// to 716 x 1150; it is drawn at the size it is shown at, so that its frame
// looks even on screen.
constexpr QSize kBlankSide2Stored(589, 1150);
constexpr QSize kBlankSide2Shown(716, 1150);
constexpr int kJpegQuality = 90;

enum class Format { Bmp, Jpeg };

struct Picture {
  const char* name;  // relative to the program folder
  Format format;
  QSize size;        // of the file
  QSize drawnAt;     // the sheet is drawn at this size and scaled to size
  bool onDesk;       // a preview background: the sheet at kPreviewPage on a desk
  Draw draw;
};

Draw certificate(int side, art::Band band, const art::FrameStyle& frame, QPointF stamp = art::kStampCentre) {
  const art::CertificateSide s{side, band, stamp, &frame};
  return [s](QPainter& p, const QRectF& sheet) { art::drawCertificateSide(p, sheet, s); };
}

Draw plainSheet() {
  return [](QPainter& p, const QRectF& sheet) { art::drawPlainSheet(p, sheet); };
}

Draw sheetPage(art::SheetPage page) {
  return [page](QPainter& p, const QRectF& sheet) { art::drawSheetPage(p, sheet, page); };
}

Draw titlePage(QRectF box = art::kTitleBoxRect) {
  return [box](QPainter& p, const QRectF& sheet) { art::drawTitlePage(p, sheet, box); };
}

// The stamp mark: the dotted circle alone; the program writes "m.p." over it.
Draw stampMark() {
  return [](QPainter& p, const QRectF& sheet) {
    p.fillRect(sheet, Qt::white);
    const double unit = sheet.width() / (2.0 * art::kStampRadius + 4.0);
    art::drawStampCircle(p, sheet.center(), art::kStampRadius * unit, unit, false);
  };
}

QImage render(const Picture& pic) {
  QImage image(pic.size, QImage::Format_RGB32);
  QPainter p(&image);
  if (pic.onDesk) {
    art::drawDesk(p, QRectF(QPointF(0, 0), QSizeF(pic.size)), QRectF(kPreviewPage));
    pic.draw(p, QRectF(kPreviewPage));
  } else {
    p.scale(static_cast<double>(pic.size.width()) / pic.drawnAt.width(),
            static_cast<double>(pic.size.height()) / pic.drawnAt.height());
    pic.draw(p, QRectF(QPointF(0, 0), QSizeF(pic.drawnAt)));
  }
  p.end();
  return image;
}

bool save(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

bool write(const QString& folder, const Picture& pic) {
  const QImage image = render(pic);
  QByteArray bytes;
  if (pic.format == Format::Jpeg) {
    std::string error;
    if (!jpeg::encodeJpeg(image, kJpegQuality, bytes, &error)) {
      std::fprintf(stderr, "%s: %s\n", pic.name, error.c_str());
      return false;
    }
  } else {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP")) {
      std::fprintf(stderr, "%s: cannot encode BMP\n", pic.name);
      return false;
    }
  }
  return save(folder + "/" + pic.name, bytes);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <program folder>\n", argv[0]);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  for (const char* sub : {"grafika", "blanki"}) {
    if (!QDir(folder).mkpath(sub)) {
      std::fprintf(stderr, "cannot make %s/%s\n", argv[1], sub);
      return 1;
    }
  }

  using art::Band;
  const auto& now = art::kCurrentEdition;
  const auto& before = art::kEarlierEdition;
  auto preview = [](const char* name, Draw draw) {
    return Picture{name, Format::Bmp, kPreviewSize, kPreviewPage.size(), true, std::move(draw)};
  };
  auto blank = [](const char* name, Draw draw, QSize stored = kBlankSide1, QSize shown = kBlankSide1) {
    return Picture{name, Format::Jpeg, stored, shown, false, std::move(draw)};
  };
  const Picture pictures[] = {
      preview("grafika/sw_str1_prw.bmp", certificate(1, Band::None, now)),
      preview("grafika/sw_str1_prw_wyr.bmp", certificate(1, Band::Wide, now)),
      preview("grafika/sw_str2_prw.bmp", certificate(2, Band::None, now)),
      preview("grafika/wywiadowka_prw.bmp", plainSheet()),
      preview("grafika/arkusz_prw.bmp", plainSheet()),
      {"grafika/m_p.bmp", Format::Bmp, {300, 300}, {300, 300}, false, stampMark()},
      // The current editions: MEN-I/21a/2 and MEN-I/23a/2 share side 1.
      blank("blanki/swiadectwo_a_str1.jpg", certificate(1, Band::None, now)),
      blank("blanki/swiadectwo_a_str1_wyr.jpg", certificate(1, Band::Wide, now)),
      blank("blanki/swiadectwo_a_koniec_str1_wyr.jpg", certificate(1, Band::Narrow, now, art::kStampCentreLow)),
      blank("blanki/swiadectwo_a_str2.jpg", certificate(2, Band::None, now), kBlankSide2Stored,
            kBlankSide2Shown),
      // The earlier editions.
      blank("blanki/swiadectwo_str1.jpg", certificate(1, Band::None, before)),
      blank("blanki/swiadectwo_str1_wyr.jpg", certificate(1, Band::Wide, before)),
      blank("blanki/swiadectwo_str2.jpg", certificate(2, Band::None, before)),
      // The record sheet's title page, behind the school-template dialog's second tab.
      blank("blanki/arkusz_str1.jpg", titlePage(), kTitlePage, kTitlePage),
      // The same page behind the record sheet's title-page forms.
      blank("blanki/arkusz_str1_strona.jpg", titlePage(art::kTitleSchoolBlockRect), kTitlePage, kTitlePage),
      // The meeting sheet prints on plain paper: its form shows a plain page.
      blank("blanki/wywiadowka.jpg", plainSheet(), kMeetingSheet, kMeetingSheet),
      // The ruled tables of the class pages, behind the fields of their forms.
      blank("blanki/arkusz_str2.jpg", sheetPage(art::SheetPage::Left), art::kSheetPageSize, art::kSheetPageSize),
      blank("blanki/arkusz_str3.jpg", sheetPage(art::SheetPage::Right), art::kSheetPageSize, art::kSheetPageSize),
      blank("blanki/arkusz_str2b.jpg", sheetPage(art::SheetPage::ClassOne), art::kSheetPageSizeB, art::kSheetPageSizeB),
      blank("blanki/arkusz_str3b.jpg", sheetPage(art::SheetPage::ClassTwo), art::kSheetPageSizeB, art::kSheetPageSizeB),
  };
  for (const Picture& pic : pictures)
    if (!write(folder, pic)) return 1;
  return save(folder + "/grafika/orzel.svg", art::eagleSvg()) ? 0 : 1;
}
