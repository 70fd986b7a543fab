// The printing core without the dialog: the conversion, the half turn, and
// text fields landing where the millimetre rectangles put them on paper.
#include "PrintSupport.h"
#include "render/Pages.h"
#include "render/PrintJob.h"
#include "support/TempFolders.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

#include <gtest/gtest.h>

void PrintTo(const TEdges& e, std::ostream* os) {
  *os << "(" << e.left << ", " << e.top << ", " << e.right << ", " << e.bottom << ")";
}

namespace {

struct TConversion {
  int mm, dpi, offset, expected;
};

TEST(MmToDevice, TruncatesTowardZeroAndCountsFromTheSheetsCorner) {
  const TConversion cases[] = {
      {210, 600, 50, 4910},      // 4960 before the offset
      {0, 600, 50, -50},         // the sheet's edge lies before the printable area
      {297, 300, 0, 3507},       // 3507.87
      {1, 72, 0, 2},             // 2.83
      {-3, 600, 0, -70},         // -70.87, toward zero
      {400, 2400, 10, 37785},    // 37795.27
      {254, 1200, 0, 12000},     // exact
  };
  for (const auto& c : cases)
    EXPECT_EQ(iFunMmToDevice(c.mm, c.dpi, c.offset), c.expected) << c.mm << " mm at " << c.dpi << " dpi";
  const TDeviceMetrics metrics {50, 30, 600, 300};
  EXPECT_EQ(edgesFunMmToDevice({210, 210, 10, 10}, metrics), (TEdges {4910, 2450, 186, 88}));
}

TEST(DuplexMode, FollowsTheListOnlyWhileItIsEnabled) {
  EXPECT_EQ(duplexFunOfIndex(true, 1), QPrinter::DuplexLongSide);
  EXPECT_EQ(duplexFunOfIndex(true, 2), QPrinter::DuplexShortSide);
  EXPECT_EQ(duplexFunOfIndex(true, 0), QPrinter::DuplexNone);
  EXPECT_EQ(duplexFunOfIndex(true, -1), QPrinter::DuplexNone);
  EXPECT_EQ(duplexFunOfIndex(false, 1), QPrinter::DuplexNone);
}

// The dark pixels of a page picture replayed onto a 96 dpi image of the
// page's size, in page units.
QRect inkOf(const QPicture& page) {
  QImage image(kPageWidth, kPageHeight, QImage::Format_Grayscale8);
  image.fill(255);
  {
    QPainter painter(&image);
    painter.drawPicture(0, 0, page);
  }
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.constScanLine(y)[x] < 128) box |= QRect(x, y, 1, 1);
  return box;
}

TEST(HalfTurn, MapsThePagesCornerToTheShiftedOpposite) {
  TDataStore ds;
  vFunCreatePages(&ds);
  {
    QPainter canvas(ds.Page2Metafile);
    vFunDrawMark(canvas, {0, 0}, 4);
    vFunDrawMark(canvas, {600, 1000}, 10);
  }
  vFunRotatePicture180(*ds.Page2Metafile);
  // (0, 0)-(4, 4) lands at (875, 1295)-(879, 1299); (600, 1000)-(610, 1010) at (269, 289)-(279, 299).
  EXPECT_EQ(inkOf(*ds.Page2Metafile), QRect(QPoint(269, 289), QPoint(878, 1298)));
  EXPECT_EQ(ds.Page2Metafile->boundingRect(), QRect(0, 0, kPageWidth, kPageHeight));
  vFunDeletePages(&ds);
}

struct TPlacement {
  const char* name;
  int side;
  bool turned;
  TEdges mm;
  QMarginsF printerMargins;  // the printer's printable area, millimetres
};

class Placement : public ::testing::TestWithParam<TPlacement> {};

TEST_P(Placement, TextFieldLandsWithinHalfAMillimetre) {
  const TPlacement& c = GetParam();
  TempFolders dirs;
  TDataStore ds;
  vFunCreatePages(&ds);
  const QRect field(120, 300, 300, 30);  // a calibration rectangle, page units
  QPicture* page = c.side == 1 ? ds.Page1Metafile : ds.Page2Metafile;
  {
    QPainter canvas(page);
    vFunDrawField(canvas, "Kowalski", field);
  }
  if (c.turned) vFunRotatePicture180(*page);

  const std::string pdf = dirs.root() + "/wydruk.pdf";
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdf));
  vFunApplyJobSettings(printer, layoutFunStandardSheet(), QPrinter::DuplexLongSide);
  printer.setPageMargins(c.printerMargins, QPageLayout::Millimeter);
  ASSERT_TRUE(bFunPrintJob(printer, {{ds.Page1Metafile, c.mm}, {ds.Page2Metafile, c.mm}}));
  ASSERT_EQ(iFunPdfPages(pdf), 2);

  const auto word = optFunWordBox(pdf, c.side, "Kowalski");
  ASSERT_TRUE(word) << "no text on side " << c.side;
  const double mmPerUnitX = (c.mm.right - c.mm.left) / static_cast<double>(kPageWidth);
  const double mmPerUnitY = (c.mm.bottom - c.mm.top) / static_cast<double>(kPageHeight);
  if (!c.turned) {
    EXPECT_NEAR(word->left(), c.mm.left + field.left() * mmPerUnitX, 0.5);
    EXPECT_NEAR(word->top(), c.mm.top + field.top() * mmPerUnitY, 0.5);
  } else {
    // Upside down: the field's top-left corner is now the text's bottom-right.
    EXPECT_NEAR(word->right(), c.mm.left + (879 - field.left()) * mmPerUnitX, 0.5);
    EXPECT_NEAR(word->bottom(), c.mm.top + (1299 - field.top()) * mmPerUnitY, 0.5);
  }
  vFunDeletePages(&ds);
}

const QMarginsF kNoMargins(0, 0, 0, 0), kLaserMargins(6.35, 4.23, 6.35, 4.23);
INSTANTIATE_TEST_SUITE_P(
    Sides, Placement,
    ::testing::Values(TPlacement {"Side1WholeSheet", 1, false, {0, 0, 210, 297}, kNoMargins},
                      TPlacement {"Side1InsetOnALaser", 1, false, {10, 15, 200, 287}, kLaserMargins},
                      TPlacement {"Side2Shifted", 2, false, {3, 4, 207, 295}, kLaserMargins},
                      TPlacement {"Side2Turned", 2, true, {0, 0, 210, 297}, kNoMargins},
                      TPlacement {"Side2TurnedInsetOnALaser", 2, true, {10, 15, 200, 287}, kLaserMargins}),
    [](const ::testing::TestParamInfo<TPlacement>& p) { return std::string(p.param.name); });

}  // namespace
