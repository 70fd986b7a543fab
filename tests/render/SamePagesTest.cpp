// The faster drawing draws the very same pages: dotted lines drawn as one
// text and the stamp kept decoded give the pixels that a dot drawn at a time
// and the stamp read from its file gave, on the preview and on the printed
// PDF (read back with poppler); the pictures of the blank are read again
// when their files change.
#include "app/GlownaUnit.h"
#include "forms/DocumentForms.h"
#include "MainWindowFixture.h"
#include "platform/Cp1250.h"
#include "render/FieldDrawing.h"
#include "render/PageRenderer.h"
#include "render/Pages.h"
#include "render/PrintJob.h"
#include "store/SQLImportUnit.h"
#include "support/CalibRecords.h"
#include "toolkit/Components.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// The way dotted lines were drawn before: "." at every sixth unit, each a
// text of its own, in the canvas's face at 14 points with the style empty.
void dotsOneByOne(QPainter* canvas, const TCalibRecord& row) {
  QFont plain = canvas->font();
  plain.setBold(false);
  plain.setItalic(false);
  plain.setUnderline(false);
  plain.setStrikeOut(false);
  QFont dots = plain;
  dots.setPixelSize(iFunFontPixels(14));
  canvas->setFont(dots);
  const qreal ascent = QFontMetricsF(canvas->font(), canvas->device()).ascent();
  for (int x = row.x1; x < row.x2; x += 6) canvas->drawText(QPointF(x, row.y2 - 14 + ascent), QStringLiteral("."));
  canvas->setFont(plain);
}

// The way the stamp was drawn before: read from its file at every render.
void stampFromFile(QPainter* canvas, const TCalibRecord& row, const QString& file) {
  const QRect rect = rectFunEdges(row.x1, row.y1, row.x2, row.y2);
  canvas->drawImage(rect, QImage(file));
  QFont font = canvas->font();
  font.setPixelSize(iFunFontPixels(12));
  canvas->setFont(font);
  canvas->drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("m.p."));
}

// Rows of dots of every kind of length (a whole number of steps, a part,
// one dot, none) after texts in two faces, bold and underlined.
std::vector<TCalibRecord> dottedRows() {
  std::vector<TCalibRecord> rows;
  const int lengths[] = {665, 220, 50, 31, 5, 1, 0, -10};
  int y = 120;
  for (const char* face : {"Times New Roman", "Arial"})
    for (int length : lengths) {
      TCalibRecord text = calibRecord("ZMIENNA_Pole_STR1_DATA_EDIT", 110, 330, y - 30, y, face, 12);
      text.font_style_bold = text.font_style_underline = 1;
      rows.push_back(text);
      rows.push_back(calibRecord("Pole_STR1_LINIA_Z_KROPEK", 110 + y % 7, 110 + y % 7 + length, y + 10, y + 20, face, 12));
      y += 70;
    }
  return rows;
}

// A page drawn by the rows: each text field with its text, each dotted line
// by the given routine.
template <class Dots>
QPicture page(TDataStore& ds, const std::vector<TCalibRecord>& rows, Dots dots) {
  QPicture picture;
  picture.setBoundingRect(QRect(0, 0, kPageWidth, kPageHeight));
  QPainter canvas(&picture);
  canvas.setBrush(Qt::NoBrush);
  for (const TCalibRecord& row : rows) {
    if (row.name.str().find("LINIA_Z_KROPEK") != std::string::npos)
      dots(&canvas, row);
    else
      vFunDrawDataField(&ds, cp1250("Wartość pola"), row, &canvas, 1, row.name);
  }
  return picture;
}

// The page over a white picture as the preview stretches it.
QImage preview(const QPicture& page, double scale = 1.0) {
  QImage image(int((kPreviewRight + kPreviewLeft) * scale), int((kPreviewBottom + kPreviewTop) * scale),
               QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  vFunStretchPicture(painter, page,
                     QRectF(kPreviewLeft * scale, kPreviewTop * scale, (kPreviewRight - kPreviewLeft) * scale,
                            (kPreviewBottom - kPreviewTop) * scale));
  return image;
}

// The page printed into a PDF file on A4 and read back by poppler at that
// resolution.
QImage printed(const QPicture& page, const QString& folder, const QString& name, int dpi = 100) {
  const QString pdf = folder + "/" + name + ".pdf";
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    vFunApplyJobSettings(printer, layoutFunStandardSheet(), QPrinter::DuplexNone);
    EXPECT_TRUE(bFunPrintJob(printer, {{&page, {5, 4, 205, 292}}}));
  }
  QProcess poppler;
  poppler.start("pdftoppm", {"-r", QString::number(dpi), "-png", "-singlefile", pdf, folder + "/" + name});
  EXPECT_TRUE(poppler.waitForFinished(60000));
  EXPECT_EQ(poppler.exitCode(), 0);
  return QImage(folder + "/" + name + ".png");
}

int differentPixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return -1;
  int count = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
  return count;
}

class NoOptionsHost : public TDrawingHost {
 public:
  bool print = false;
  bool bStrikeEmptyFields() const override { return false; }
  bool bPrintWithoutDots() const override { return false; }
  bool bClipTexts() const override { return false; }
  bool bPrintMode() const override { return print; }
  std::string strCalibSelection() const override { return {}; }
  void vFunShowPreviewPage(int) override {}
  void vFunScrollPreview(int, bool) override {}
};

class SamePagesTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  TScriptedDialogs script;
  TDataStore ds;
  NoOptionsHost host;
  QTemporaryDir out;
  void SetUp() override {
    dirs.shipProgramFolder();
    ASSERT_TRUE(bFunCheckFilesDir(&ds));
    vFunSetDrawingHost(&host);
  }
  void TearDown() override { vFunSetDrawingHost(nullptr); }
};

TEST_F(SamePagesTest, DottedLinesDrawnAsOneTextGiveTheDotsDrawnOneByOne) {
  const std::vector<TCalibRecord> rows = dottedRows();
  const QPicture before = page(ds, rows, [](QPainter* canvas, const TCalibRecord& row) { dotsOneByOne(canvas, row); });
  const QPicture now = page(ds, rows, [this](QPainter* canvas, const TCalibRecord& row) {
    vFunDrawDottedLine(&ds, row, canvas, 1, row.name);
  });
  for (double scale : {1.0, 0.5, 2.0}) EXPECT_EQ(differentPixels(preview(before, scale), preview(now, scale)), 0) << scale;
  for (int dpi : {100, 300})
    EXPECT_EQ(differentPixels(printed(before, out.path(), "before" + QString::number(dpi), dpi),
                              printed(now, out.path(), "now" + QString::number(dpi), dpi)),
              0)
        << dpi;
}

TEST_F(SamePagesTest, TheStampKeptDecodedPrintsAsTheStampReadFromItsFile) {
  host.print = true;
  const TCalibRecord stamp = calibRecord("GRAFIKA: PIECZATKA", 391, 495, 1076, 1180, "Times New Roman", 12);
  const QString file = QString::fromStdString(strFunGetMainDirPath(&ds).bytes()) + "/grafika/m_p.bmp";
  auto drawn = [&](auto draw) {
    QPicture picture;
    picture.setBoundingRect(QRect(0, 0, kPageWidth, kPageHeight));
    QPainter canvas(&picture);
    draw(&canvas);
    return picture;
  };
  const QPicture before = drawn([&](QPainter* canvas) { stampFromFile(canvas, stamp, file); });
  // Twice: the second render takes the picture kept from the first.
  for (int render = 0; render < 2; ++render) {
    const QPicture now = drawn([&](QPainter* canvas) { vFunGraphicDrawMark(&ds, 1, stamp, canvas, stamp.name); });
    EXPECT_EQ(differentPixels(printed(before, out.path(), "before"), printed(now, out.path(), "now")), 0) << render;
  }

  // Another stamp in the data folder is read again.
  QImage other(120, 90, QImage::Format_RGB32);
  other.fill(QColor(40, 40, 40));
  fs::remove(file.toStdString());
  ASSERT_TRUE(other.save(file, "BMP"));
  const QPicture changed = drawn([&](QPainter* canvas) { vFunGraphicDrawMark(&ds, 1, stamp, canvas, stamp.name); });
  const QPicture expected = drawn([&](QPainter* canvas) { stampFromFile(canvas, stamp, file); });
  EXPECT_EQ(differentPixels(printed(expected, out.path(), "expected"), printed(changed, out.path(), "changed")), 0);
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(SamePagesTest, APictureOfTheBlankIsReadAgainWhenItsFileChangesOrGoes) {
  const QString path = QString::fromStdString((strFunGetMainDirPath(&ds) / "grafika/sw_str2_prw.bmp").bytes());
  TImage image;
  vFunLoadPreviewBackground(&ds, dkKlasaIa, 2, &image);
  EXPECT_EQ(image.Picture(), QImage(path).convertToFormat(QImage::Format_RGB32));

  QImage other(1031, 1462, QImage::Format_RGB32);
  other.fill(QColor(10, 200, 30));
  fs::remove(path.toStdString());
  ASSERT_TRUE(other.save(path, "BMP"));
  vFunLoadPreviewBackground(&ds, dkKlasaIa, 2, &image);
  EXPECT_EQ(image.Picture(), other);

  fs::remove(path.toStdString());
  vFunLoadPreviewBackground(&ds, dkKlasaIa, 2, &image);
  EXPECT_EQ(image.Picture(), imgFunCleanPreviewPicture());
}

// A whole certificate, previewed twice and printed twice: the pictures
// kept from the first render give the second the same pages.
class SameCertificateTest : public TMainWindowTest {};

TEST_F(SameCertificateTest, ASecondRenderDrawsTheSamePagesAsTheFirst) {
  QTemporaryDir out;
  script.boxes.clear();  // what start-up showed
  TDocumentForm* form = frmFunFormOfKind(dkKlasaIa);
  form->vFunFillSampleData();
  QImage previews[2][2];
  QImage prints[2][2];
  for (int render = 0; render < 2; ++render) {
    ASSERT_TRUE(FGlowna->vFunRysujSwiadectwo(form, false, dkKlasaIa, 2));
    previews[render][0] = FGlowna->Image1->Picture();
    previews[render][1] = FGlowna->Image2->Picture();
    ASSERT_TRUE(FGlowna->vFunRysujSwiadectwo(form, true, dkKlasaIa, 2));
    for (int side = 0; side < 2; ++side)
      prints[render][side] =
          printed(side == 0 ? *FGlowna->DataStore.Page1Metafile : *FGlowna->DataStore.Page2Metafile, out.path(),
                  QString("r%1s%2").arg(render).arg(side));
  }
  for (int side = 0; side < 2; ++side) {
    EXPECT_EQ(differentPixels(previews[0][side], previews[1][side]), 0) << side;
    EXPECT_EQ(differentPixels(prints[0][side], prints[1][side]), 0) << side;
  }
  for (const auto& box : script.boxes) ADD_FAILURE() << box.text;
}

}  // namespace
