// The pictures the build draws into the program folder: right files, right
// formats and sizes, and their contents where the program relies on them.
#include "pictures/BlankArt.h"
#include "render/jpeg/JpegImage.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdint>
#include <functional>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kProgram = TARVEK_BUILT_PROGRAM_DIR;

std::string path(const std::string& name) { return kProgram + "/" + name; }

uint32_t le(const std::string& bytes, size_t at, int size) {
  uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  return v;
}

// Decoded from the file itself, whatever its format.
QImage load(const std::string& name) {
  if (name.ends_with(".jpg")) return jpeg::readJpegFile(path(name));
  return QImage(QString::fromStdString(path(name)));
}

enum class Look { Paper, Desk, Ink, Red };

bool looks(QRgb c, Look look) {
  const int r = qRed(c), g = qGreen(c), b = qBlue(c);
  const bool neutral = std::abs(r - g) < 12 && std::abs(g - b) < 12;
  switch (look) {
    case Look::Paper: return r > 235 && g > 235 && b > 225;
    case Look::Desk: return neutral && r < 175 && r > 60;
    case Look::Ink: return r < 90 && g < 90 && b < 90;
    case Look::Red: return r > 170 && g < 80 && b < 100;
  }
  return false;
}

const char* name(Look look) {
  switch (look) {
    case Look::Paper: return "paper";
    case Look::Desk: return "desk";
    case Look::Ink: return "ink";
    case Look::Red: return "red";
  }
  return "?";
}

}  // namespace

// ------------------------------------------------------------ files and sizes

enum class Format { Bmp, Jpeg };

struct Shipped {
  const char* name;
  Format format;
  int width, height;
};

void PrintTo(const Shipped& s, std::ostream* os) { *os << s.name; }

class ShippedPicture : public ::testing::TestWithParam<Shipped> {};

// Backgrounds and the stamp are uncompressed 24-bit Windows bitmaps; the
// blanks are JPEG at the size their forms show them at.
TEST_P(ShippedPicture, HasItsFormatAndSize) {
  const Shipped s = GetParam();
  const std::string bytes = readText(path(s.name));
  ASSERT_GE(bytes.size(), 54u);
  if (s.format == Format::Bmp) {
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(le(bytes, 2, 4), bytes.size());
    EXPECT_EQ(le(bytes, 18, 4), static_cast<uint32_t>(s.width));
    EXPECT_EQ(le(bytes, 22, 4), static_cast<uint32_t>(s.height));  // bottom-up rows
    EXPECT_EQ(le(bytes, 28, 2), 24u);
    EXPECT_EQ(le(bytes, 30, 4), 0u);  // BI_RGB
  } else {
    EXPECT_EQ(bytes.substr(0, 3), "\xFF\xD8\xFF");
  }
  EXPECT_EQ(load(s.name).size(), QSize(s.width, s.height));
}

INSTANTIATE_TEST_SUITE_P(
    All, ShippedPicture,
    ::testing::Values(Shipped{"grafika/sw_str1_prw.bmp", Format::Bmp, 1031, 1462},
                      Shipped{"grafika/sw_str1_prw_wyr.bmp", Format::Bmp, 1031, 1462},
                      Shipped{"grafika/sw_str2_prw.bmp", Format::Bmp, 1031, 1462},
                      Shipped{"grafika/wywiadowka_prw.bmp", Format::Bmp, 1031, 1462},
                      Shipped{"grafika/arkusz_prw.bmp", Format::Bmp, 1031, 1462},
                      Shipped{"grafika/m_p.bmp", Format::Bmp, 300, 300},
                      Shipped{"blanki/swiadectwo_a_str1.jpg", Format::Jpeg, 717, 1053},
                      Shipped{"blanki/swiadectwo_a_str1_wyr.jpg", Format::Jpeg, 717, 1053},
                      Shipped{"blanki/swiadectwo_a_koniec_str1_wyr.jpg", Format::Jpeg, 717, 1053},
                      Shipped{"blanki/swiadectwo_a_str2.jpg", Format::Jpeg, 589, 1150},
                      Shipped{"blanki/swiadectwo_str1.jpg", Format::Jpeg, 717, 1053},
                      Shipped{"blanki/swiadectwo_str1_wyr.jpg", Format::Jpeg, 717, 1053},
                      Shipped{"blanki/swiadectwo_str2.jpg", Format::Jpeg, 717, 1053},
                      Shipped{"blanki/arkusz_str1.jpg", Format::Jpeg, 760, 1169},
                      Shipped{"blanki/arkusz_str1_strona.jpg", Format::Jpeg, 760, 1169},
                      Shipped{"blanki/wywiadowka.jpg", Format::Jpeg, 448, 622},
                      Shipped{"blanki/arkusz_str2.jpg", Format::Jpeg, 841, 1050},
                      Shipped{"blanki/arkusz_str3.jpg", Format::Jpeg, 841, 1050},
                      Shipped{"blanki/arkusz_str2b.jpg", Format::Jpeg, 841, 1200},
                      Shipped{"blanki/arkusz_str3b.jpg", Format::Jpeg, 841, 1200}));

TEST(ShippedList, NamesEveryPictureOfTheGraphicsFolder) {
  std::set<std::string> listed;
  for (const auto& row : sqlRows(path("pliki_kat.sqset"), "select `name` from `files` where `name` like 'grafika/%'"))
    listed.insert(row[0]);
  std::set<std::string> drawn;
  for (const auto& entry : fs::directory_iterator(path("grafika"))) drawn.insert("grafika/" + entry.path().filename().string());
  EXPECT_EQ(listed, drawn);
  EXPECT_TRUE(drawn.count("grafika/orzel.svg"));
}

// ------------------------------------------------------------ what they show

struct Probe {
  const char* name;
  int x, y;
  Look look;
};

void PrintTo(const Probe& p, std::ostream* os) { *os << p.name << " (" << p.x << ", " << p.y << ") " << name(p.look); }

class PictureAt : public ::testing::TestWithParam<Probe> {};

TEST_P(PictureAt, ShowsWhatBelongsThere) {
  const Probe p = GetParam();
  const QImage image = load(p.name);
  ASSERT_FALSE(image.isNull()) << p.name;
  const QRgb c = image.pixel(p.x, p.y);
  EXPECT_TRUE(looks(c, p.look)) << "rgb(" << qRed(c) << ", " << qGreen(c) << ", " << qBlue(c) << ")";
}

// A page picture lands on (74, 74) to (957, 1388) of its background: page
// units map onto pixels 74 + x * 883 / 885 and 74 + y.
constexpr int px(double x) { return 74 + static_cast<int>(x * 883.0 / 885.0); }
constexpr int py(double y) { return 74 + static_cast<int>(y); }
constexpr int kEagleX = px(art::kEagleRect.center().x());
constexpr int kEagleY = py(art::kEagleRect.top() + art::kEagleRect.height() * 0.48);  // its breast

INSTANTIATE_TEST_SUITE_P(
    PageArea, PictureAt,
    ::testing::Values(
        // Every background: paper from corner to corner of the page area, desk just outside it.
        Probe{"grafika/sw_str1_prw.bmp", 74, 74, Look::Paper}, Probe{"grafika/sw_str1_prw.bmp", 956, 1387, Look::Paper},
        Probe{"grafika/sw_str1_prw.bmp", 73, 74, Look::Desk}, Probe{"grafika/sw_str1_prw.bmp", 74, 73, Look::Desk},
        Probe{"grafika/sw_str1_prw.bmp", 957, 700, Look::Desk}, Probe{"grafika/sw_str1_prw.bmp", 500, 1388, Look::Desk},
        Probe{"grafika/sw_str1_prw_wyr.bmp", 956, 74, Look::Paper},
        Probe{"grafika/sw_str1_prw_wyr.bmp", 73, 1387, Look::Desk},
        Probe{"grafika/sw_str2_prw.bmp", 74, 1387, Look::Paper}, Probe{"grafika/sw_str2_prw.bmp", 73, 700, Look::Desk},
        Probe{"grafika/wywiadowka_prw.bmp", 74, 74, Look::Paper},
        Probe{"grafika/wywiadowka_prw.bmp", 956, 1387, Look::Paper},
        Probe{"grafika/wywiadowka_prw.bmp", 74, 73, Look::Desk}, Probe{"grafika/arkusz_prw.bmp", 74, 74, Look::Paper},
        Probe{"grafika/arkusz_prw.bmp", 956, 1387, Look::Paper}, Probe{"grafika/arkusz_prw.bmp", 957, 1387, Look::Desk}));

INSTANTIATE_TEST_SUITE_P(
    Marks, PictureAt,
    ::testing::Values(
        // The eagle on side 1 only, at the rectangle the layouts give it.
        Probe{"grafika/sw_str1_prw.bmp", kEagleX, kEagleY, Look::Ink},
        Probe{"grafika/sw_str1_prw_wyr.bmp", kEagleX, kEagleY, Look::Ink},
        Probe{"grafika/sw_str2_prw.bmp", kEagleX, kEagleY, Look::Paper},
        Probe{"grafika/arkusz_prw.bmp", kEagleX, kEagleY, Look::Paper},
        // The band of the certificates with distinction: red beside the white, at the left edge.
        Probe{"grafika/sw_str1_prw_wyr.bmp", 74 + 37, 700, Look::Red},
        Probe{"grafika/sw_str1_prw_wyr.bmp", 74 + 12, 700, Look::Paper},
        Probe{"grafika/sw_str1_prw.bmp", 74 + 20, 700, Look::Paper},
        Probe{"blanki/swiadectwo_a_str1_wyr.jpg", 30, 500, Look::Red},
        Probe{"blanki/swiadectwo_str1_wyr.jpg", 30, 500, Look::Red},
        Probe{"blanki/swiadectwo_a_str1.jpg", 20, 500, Look::Paper},
        // The narrower band of the school-leaving certificate with distinction.
        Probe{"blanki/swiadectwo_a_koniec_str1_wyr.jpg", 20, 500, Look::Red},
        Probe{"blanki/swiadectwo_a_koniec_str1_wyr.jpg", 30, 500, Look::Paper},
        // The stamp mark: a circle of dots, bare between them and in the middle.
        Probe{"grafika/m_p.bmp", 150, 150, Look::Paper}, Probe{"grafika/m_p.bmp", 294, 150, Look::Ink},
        Probe{"grafika/m_p.bmp", 294, 160, Look::Paper},
        // The record sheet's title page: the box of the school's name, ruled on plain paper.
        Probe{"blanki/arkusz_str1.jpg", static_cast<int>(art::kTitleBoxRect.left()), 200, Look::Ink},
        Probe{"blanki/arkusz_str1.jpg", static_cast<int>(art::kTitleBoxRect.right()), 200, Look::Ink},
        Probe{"blanki/arkusz_str1.jpg", 380, static_cast<int>(art::kTitleBoxRect.top()), Look::Ink},
        Probe{"blanki/arkusz_str1.jpg", 380, static_cast<int>(art::kTitleBoxRect.bottom()), Look::Ink},
        Probe{"blanki/arkusz_str1.jpg", 380, 200, Look::Paper},
        Probe{"blanki/arkusz_str1.jpg", 20, 200, Look::Paper},
        Probe{"blanki/arkusz_str1.jpg", 380, 800, Look::Paper},
        // The same page behind the title-page forms: the box of a non-public school's entry.
        Probe{"blanki/arkusz_str1_strona.jpg", static_cast<int>(art::kTitleSchoolBlockRect.left()), 170, Look::Ink},
        Probe{"blanki/arkusz_str1_strona.jpg", static_cast<int>(art::kTitleSchoolBlockRect.right()), 170, Look::Ink},
        Probe{"blanki/arkusz_str1_strona.jpg", 200, static_cast<int>(art::kTitleSchoolBlockRect.top()), Look::Ink},
        Probe{"blanki/arkusz_str1_strona.jpg", 200, static_cast<int>(art::kTitleSchoolBlockRect.bottom()), Look::Ink},
        Probe{"blanki/arkusz_str1_strona.jpg", 200, 170, Look::Paper},
        Probe{"blanki/arkusz_str1_strona.jpg", 600, 300, Look::Paper},
        Probe{"blanki/wywiadowka.jpg", 224, 311, Look::Paper}));

// The ruled tables of the record sheet's class pages, drawn from the page
// units of their grid onto the pictures' pixels.
struct SheetProbe {
  const char* name;
  art::SheetPage page;
  int width, height;
};

void PrintTo(const SheetProbe& s, std::ostream* os) { *os << s.name; }

class SheetPicture : public ::testing::TestWithParam<SheetProbe> {};

TEST_P(SheetPicture, ShowsItsGridOnPaperAndNothingInsideTheCells) {
  const SheetProbe s = GetParam();
  const QImage image = load(s.name);
  ASSERT_EQ(image.size(), QSize(s.width, s.height));
  const art::SheetGrid g = art::sheetGrid(s.page);
  const double sx = s.width / 885.0, sy = s.height / 1314.0;
  auto at = [&](double x, double y) { return image.pixel(static_cast<int>(x * sx), static_cast<int>(y * sy)); };
  const double middleY = (g.rules[10] + g.rules[11]) / 2;  // a subject's row
  for (double x : {g.columns.front(), g.columns.back()}) EXPECT_TRUE(looks(at(x, middleY), Look::Ink)) << x;
  for (std::size_t c = 1; c < g.columns.size(); ++c) {
    const double middleX = (g.columns[c - 1] + g.columns[c]) / 2;
    EXPECT_TRUE(looks(at(middleX, middleY), Look::Paper)) << middleX;
    EXPECT_TRUE(looks(at(middleX, g.rules.back()), Look::Ink)) << middleX;
  }
  EXPECT_TRUE(looks(image.pixel(5, 5), Look::Paper));
  EXPECT_TRUE(looks(image.pixel(s.width / 2, s.height - 5), Look::Paper));
}

INSTANTIATE_TEST_SUITE_P(
    ClassPages, SheetPicture,
    ::testing::Values(SheetProbe{"blanki/arkusz_str2.jpg", art::SheetPage::Left, 841, 1050},
                      SheetProbe{"blanki/arkusz_str3.jpg", art::SheetPage::Right, 841, 1050},
                      SheetProbe{"blanki/arkusz_str2b.jpg", art::SheetPage::ClassOne, 841, 1200},
                      SheetProbe{"blanki/arkusz_str3b.jpg", art::SheetPage::ClassTwo, 841, 1200}));

// Side 1 of every certificate blank, on the forms and behind the previews,
// shows the state eagle at the top and the dotted stamp circle near the
// bottom where the layouts print them; the school-leaving certificate with
// distinction has its circle lower.
TEST(BlankPictures, SideOneCarriesTheEagleAndTheStampCircle) {
  struct Side {
    const char* name;
    bool preview;
    QPointF stamp;
  };
  const Side sides[] = {{"grafika/sw_str1_prw.bmp", true, art::kStampCentre},
                        {"grafika/sw_str1_prw_wyr.bmp", true, art::kStampCentre},
                        {"blanki/swiadectwo_a_str1.jpg", false, art::kStampCentre},
                        {"blanki/swiadectwo_a_str1_wyr.jpg", false, art::kStampCentre},
                        {"blanki/swiadectwo_a_koniec_str1_wyr.jpg", false, art::kStampCentreLow},
                        {"blanki/swiadectwo_str1.jpg", false, art::kStampCentre},
                        {"blanki/swiadectwo_str1_wyr.jpg", false, art::kStampCentre}};
  for (const Side& side : sides) {
    const QImage image = load(side.name);
    ASSERT_FALSE(image.isNull()) << side.name;
    const double sx = image.width() / art::kPageUnits.width(), sy = image.height() / art::kPageUnits.height();
    auto at = [&](QPointF p) {
      return side.preview ? QPointF(px(p.x()), py(p.y())) : QPointF(p.x() * sx, p.y() * sy);
    };
    auto dark = [&](const QRectF& place) {
      const QRect pixels = QRectF(at(place.topLeft()), at(place.bottomRight())).toRect();
      int n = 0;
      for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x) n += qGray(image.pixel(x, y)) < 140;
      return n;
    };
    EXPECT_GT(dark(art::kEagleRect), 0) << side.name << ": the eagle";
    // Dots on the circle's rim left and right of its centre, bare paper inside
    // the ring but for the label "m.p.".
    const double r = art::kStampRadius;
    const QPointF c = side.stamp;
    EXPECT_GT(dark(QRectF(c + QPointF(-r - 4, -4), QSizeF(8, 8))) + dark(QRectF(c + QPointF(r - 4, -4), QSizeF(8, 8))),
              0)
        << side.name << ": the stamp circle";
    EXPECT_GT(dark(QRectF(c - QPointF(14, 8), QSizeF(28, 16))), 0) << side.name << ": m.p.";
  }
}

TEST(Eagle, IsAValidSvgThatDrawsADarkFigureOnAClearGround) {
  QSvgRenderer svg(QString::fromStdString(path("grafika/orzel.svg")));
  ASSERT_TRUE(svg.isValid());
  EXPECT_EQ(svg.viewBoxF(), QRectF(0, 0, 200, 220));

  QImage image(200, 220, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  svg.render(&p);
  p.end();
  int inked = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) inked += qAlpha(image.pixel(x, y)) > 128;
  const double share = static_cast<double>(inked) / (image.width() * image.height());
  EXPECT_GT(share, 0.2);
  EXPECT_LT(share, 0.6);
  EXPECT_EQ(qAlpha(image.pixel(2, 217)), 0);         // a clear corner
  EXPECT_GT(qAlpha(image.pixel(100, 106)), 250);     // the breast
  EXPECT_LT(qGray(image.pixel(100, 106)), 60);
  // Symmetric wings: the same ink on both sides, away from the head.
  for (const QPoint at : {QPoint(170, 40), QPoint(150, 90), QPoint(125, 160)})
    EXPECT_EQ(qAlpha(image.pixel(at)) > 128, qAlpha(image.pixel(199 - at.x(), at.y())) > 128) << at.x() << "," << at.y();
}
