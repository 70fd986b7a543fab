// Drawing of single objects, observed on a recording canvas.
#include "RecordingDevice.h"
#include "platform/Cp1250.h"
#include "render/FieldDrawing.h"
#include "store/SQLImportUnit.h"
#include "support/CalibRecords.h"
#include "support/TempFolders.h"
#include "toolkit/Dialogs.h"

#include <QImage>
#include <QPainter>

#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>

namespace {

TCalibRecord row(const char* name, int x1, int y1, int x2, int y2, int size = 12, int align = 0) {
  return calibRecord(name, x1, x2, y1, y2, "Times New Roman", size, align);
}

// The outline the drawing gives a rectangle of these edges.
QRectF outline(int left, int top, int right, int bottom) { return QRectF(left, top, right - left, bottom - top); }

class FieldDrawingTest : public ::testing::Test, public TDrawingHost {
 protected:
  TDataStore ds;
  TRecordingDevice device;
  std::unique_ptr<QPainter> canvas;

  bool strike = false, noDots = false, clip = false, print = false;
  std::string selection;
  std::vector<int> shownPages;
  std::vector<std::pair<int, bool>> scrolls;

  bool bStrikeEmptyFields() const override { return strike; }
  bool bPrintWithoutDots() const override { return noDots; }
  bool bClipTexts() const override { return clip; }
  bool bPrintMode() const override { return print; }
  std::string strCalibSelection() const override { return selection; }
  void vFunShowPreviewPage(int page) override { shownPages.push_back(page); }
  void vFunScrollPreview(int position, bool bothPages) override { scrolls.emplace_back(position, bothPages); }

  void SetUp() override {
    vFunSetDrawingHost(this);
    canvas = std::make_unique<QPainter>(&device);
  }
  void TearDown() override {
    canvas.reset();
    vFunSetDrawingHost(nullptr);
  }
  void field(const std::string& text, const TCalibRecord& r, int page = 1) {
    vFunDrawDataField(&ds, text, r, canvas.get(), page, r.name);
  }
  const std::vector<TDrawnText>& texts() const { return device.engine.texts; }
  std::vector<TDrawnText> words() const {
    std::vector<TDrawnText> list;
    for (const TDrawnText& t : texts())
      if (t.text.trimmed() != "") list.push_back(t);
    return list;
  }
  std::vector<QRectF> redOutlines() const {
    std::vector<QRectF> list;
    for (const TDrawnRect& r : device.engine.rects)
      if (r.colour == QColor(255, 0, 0)) list.push_back(r.rect);
    return list;
  }
};

TEST(FontPixels, PointsBecomeUnitsAtNinetySixToTheInchRoundedHalfUp) {
  const std::pair<int, int> cases[] = {{12, 16}, {9, 12}, {10, 13}, {11, 15}, {14, 19}, {7, 9}, {0, 0}};
  for (const auto& [points, units] : cases) EXPECT_EQ(iFunFontPixels(points), units) << points;
  EXPECT_EQ(iFunMulDiv(-3, 3, 2), -5);
  EXPECT_EQ(iFunMulDiv(1, 1, 0), -1);
}

TEST_F(FieldDrawingTest, TheCellEndsAQuarterOfTheSizeAboveTheBottomEdgeWhateverTheTop) {
  struct Case {
    int size, y1, quarter;
  };
  for (const Case c : {Case{12, 200, 3}, Case{12, 0, 3}, Case{12, 239, 3}, Case{10, 200, 2}, Case{3, 200, 0}}) {
    device.engine.texts.clear();
    field("Kowalski", row("ZMIENNA_X_STR1_DATA_EDIT", 100, c.y1, 300, 240, c.size));
    ASSERT_EQ(texts().size(), 1u) << c.size;
    EXPECT_NEAR(texts()[0].bottom(), 240 - c.quarter, 0.01) << c.size << " " << c.y1;
    EXPECT_EQ(texts()[0].baseline.x(), 100);
    EXPECT_EQ(texts()[0].font.pixelSize(), iFunFontPixels(c.size));
    EXPECT_EQ(texts()[0].font.family(), "Times New Roman");
  }
}

TEST_F(FieldDrawingTest, AlignmentPlacesTheTextAndUnknownValuesCentre) {
  enum Anchor { Left, Centre, Right };
  const std::pair<int, Anchor> cases[] = {{0, Left}, {1, Centre}, {2, Right}, {7, Centre}, {-1, Centre}};
  for (const auto& [align, anchor] : cases) {
    device.engine.texts.clear();
    field("ocena celująca", row("ZMIENNA_X_STR2_DATA_COMBOBOX", 100, 200, 400, 240, 12, align));
    ASSERT_EQ(texts().size(), 1u);
    const TDrawnText& t = texts()[0];
    const qreal offset[] = {t.baseline.x() - 100, (t.baseline.x() + t.right()) / 2 - 250, t.right() - 400};
    EXPECT_NEAR(offset[anchor], 0, anchor == Centre ? 1 : 0.5) << align;
  }
}

TEST_F(FieldDrawingTest, TextIsDrawnLiterallyWithItsAmpersand) {
  field(cp1250("Zespół Szkół & Syn"), row("ZMIENNA_Tarvek1_STR1_DATA_EDIT", 100, 200, 600, 240));
  EXPECT_EQ(device.textsDrawn(), QStringList {QString::fromUtf8("Zespół Szkół & Syn")});
}

TEST_F(FieldDrawingTest, JustifiedTextOfSixWordsSpansTheFieldWithEqualGaps) {
  field("Ala ma kota a kot ma", row("ZMIENNA_Szczegolne1_STR2_DATA_EDIT", 100, 200, 700, 240, 12, 3));
  const std::vector<TDrawnText> drawn = words();
  ASSERT_EQ(drawn.size(), 6u);
  EXPECT_EQ(drawn.front().text, "Ala");
  EXPECT_EQ(drawn.front().baseline.x(), 100);
  EXPECT_EQ(drawn.back().text, "ma");
  EXPECT_NEAR(drawn.back().right(), 700, 0.5);
  const qreal gap = drawn[1].baseline.x() - drawn[0].right();
  EXPECT_GT(gap, 20);
  for (std::size_t i = 1; i + 2 < drawn.size(); ++i)
    EXPECT_NEAR(drawn[i + 1].baseline.x() - drawn[i].right(), gap, 0.5) << i;
  EXPECT_GE(drawn.back().baseline.x() - drawn[4].right(), gap - 0.5);  // the rounding falls into the last gap
}

TEST_F(FieldDrawingTest, JustifiedTextOfFewerThanFiveBlanksIsDrawnLeftAligned) {
  field("Ala ma", row("ZMIENNA_Szczegolne1_STR2_DATA_EDIT", 100, 200, 700, 240, 12, 3));
  ASSERT_EQ(texts().size(), 1u);
  EXPECT_EQ(texts()[0].text, "Ala ma");
  EXPECT_EQ(texts()[0].baseline.x(), 100);
}

TEST_F(FieldDrawingTest, AnEmptyFieldGetsItsLineOnlyWithStrikingOn) {
  struct Case {
    bool strike, noDots;
    std::optional<int> y;
  };
  for (const Case c : {Case{true, false, 230}, Case{true, true, 225}, Case{false, false, {}}, Case{false, true, {}}}) {
    device.engine.lines.clear();
    device.engine.texts.clear();
    strike = c.strike;
    noDots = c.noDots;
    field("", row("ZMIENNA_X_STR1_DATA_EDIT", 100, 200, 300, 240));
    EXPECT_TRUE(texts().empty());
    if (!c.y) {
      EXPECT_TRUE(device.engine.lines.empty());
      continue;
    }
    ASSERT_EQ(device.engine.lines.size(), 1u);
    EXPECT_EQ(device.engine.lines[0].line, QLineF(100, *c.y, 300, *c.y)) << c.noDots;
  }
}

TEST_F(FieldDrawingTest, DotsEverySixUnitsFromTheLeftEdgeWhileLeftOfTheRightEdge) {
  const std::pair<int, std::vector<qreal>> cases[] = {{130, {100, 106, 112, 118, 124}}, {100, {}}, {90, {}}};
  for (const auto& [x2, xs] : cases) {
    device.engine.texts.clear();
    vFunDrawDottedLine(&ds, row("Kropki_STR1_LINIA_Z_KROPEK", 100, 270, x2, 300), canvas.get(), 1,
                       "Kropki_STR1_LINIA_Z_KROPEK");
    // Where each dot stands: the dots of one text stand apart by the advance
    // of a dot and the font's letter spacing.
    std::vector<qreal> drawn;
    for (const TDrawnText& t : texts()) {
      EXPECT_EQ(t.text, QString(t.text.size(), QLatin1Char('.')));
      EXPECT_NEAR(t.top(), 300 - 14, 0.01);
      EXPECT_EQ(t.font.pixelSize(), iFunFontPixels(14));
      QFont unspaced = t.font;
      unspaced.setLetterSpacing(QFont::AbsoluteSpacing, 0);
      const qreal step = QFontMetricsF(unspaced, &device).horizontalAdvance(QLatin1Char('.')) + t.font.letterSpacing();
      for (qsizetype k = 0; k < t.text.size(); ++k) drawn.push_back(t.baseline.x() + static_cast<qreal>(k) * step);
    }
    ASSERT_EQ(drawn.size(), xs.size()) << x2;
    for (std::size_t k = 0; k < xs.size(); ++k) EXPECT_NEAR(drawn[k], xs[k], 1e-6) << x2;
  }
}

TEST_F(FieldDrawingTest, TheDottedLineLeavesThePlainStyleAndTheSizeItFound) {
  TCalibRecord styled = row("ZMIENNA_X_STR1_DATA_EDIT", 100, 200, 300, 240, 10);
  styled.font_style_bold = styled.font_style_underline = 1;
  field("x", styled);
  vFunDrawDottedLine(&ds, row("K_STR1_LINIA_Z_KROPEK", 100, 270, 130, 300), canvas.get(), 1, "K");
  EXPECT_FALSE(canvas->font().bold());
  EXPECT_FALSE(canvas->font().underline());
  EXPECT_EQ(canvas->font().pixelSize(), iFunFontPixels(10));
  EXPECT_EQ(canvas->font().family(), "Times New Roman");
  EXPECT_EQ(canvas->font().letterSpacing(), 0);
}

TEST_F(FieldDrawingTest, TheFourStyleFlagsSetTheFontAndStayForTheNextField) {
  struct Case {
    int bold, italic, underline, strike;
  };
  for (const Case c : {Case{1, 0, 0, 0}, Case{0, 5, 0, 0}, Case{0, 0, 1, 0}, Case{0, 0, 0, -1}, Case{1, 1, 1, 1},
                       Case{0, 0, 0, 0}}) {
    TCalibRecord r = row("ZMIENNA_X_STR1_DATA_EDIT", 100, 200, 300, 240);
    r.font_style_bold = c.bold;
    r.font_style_italic = c.italic;
    r.font_style_underline = c.underline;
    r.font_style_strike = c.strike;
    vFunSetFontStyle(&ds, canvas.get(), r);
    const QFont f = canvas->font();
    EXPECT_EQ(f.bold(), c.bold != 0);
    EXPECT_EQ(f.italic(), c.italic != 0);
    EXPECT_EQ(f.underline(), c.underline != 0);
    EXPECT_EQ(f.strikeOut(), c.strike != 0);
  }
}

TEST_F(FieldDrawingTest, ASizeOfNoPointsIsTheDefaultHeightAndANegativeOneIsTheCellHeight) {
  field("a", row("ZMIENNA_X_STR1_DATA_EDIT", 100, 200, 300, 240, 18));
  const int eighteen = canvas->font().pixelSize();
  EXPECT_EQ(eighteen, 24);
  // Not the size of the row before: the canvas's default font, 8 points.
  field("b", row("ZMIENNA_X_STR1_DATA_EDIT", 100, 200, 300, 240, 0));
  EXPECT_EQ(canvas->font().pixelSize(), 11);
  ASSERT_EQ(words().size(), 2u);
  EXPECT_EQ(words()[1].font.pixelSize(), 11);
  field("a", row("ZMIENNA_X_STR1_DATA_EDIT", 100, 200, 300, 240, 18));
  field("c", row("ZMIENNA_X_STR1_DATA_EDIT", 100, 200, 300, 240, -18));
  const QFontMetricsF cell(canvas->font(), canvas->device());
  EXPECT_NEAR(cell.ascent() + cell.descent(), 24, 1.5);
  EXPECT_LT(canvas->font().pixelSize(), eighteen);
  EXPECT_EQ(words().size(), 4u);
}

TEST_F(FieldDrawingTest, ClippingCutsBothEndsOfAWideCentredTextOnlyWhenAskedFor) {
  for (bool on : {false, true}) {
    clip = on;
    QImage page(885, 1314, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
      QPainter p(&page);
      vFunDrawDataField(&ds, "WWWWWWWWWWWWWWWWWWWW", row("ZMIENNA_X_STR1_DATA_EDIT", 400, 200, 480, 240, 12, 1), &p,
                        1, "ZMIENNA_X_STR1_DATA_EDIT");
    }
    auto inkBetween = [&](int left, int right) {
      for (int y = 200; y < 240; ++y)
        for (int x = left; x < right; ++x)
          if (qGray(page.pixel(x, y)) < 128) return true;
      return false;
    };
    EXPECT_TRUE(inkBetween(400, 480));
    EXPECT_EQ(inkBetween(300, 400), !on);
    EXPECT_EQ(inkBetween(480, 580), !on);
  }
}

TEST_F(FieldDrawingTest, CalibrationOutlinesEveryFieldWhoseNameTheSelectionContains) {
  ds.bCalibMode = true;
  selection = "ZMIENNA_Szczegolne1_DATA_MEMO02";
  vFunDrawDataField(&ds, "pierwsza", row("ZMIENNA_Szczegolne1_DATA_MEMO01", 100, 200, 500, 240), canvas.get(), 1,
                    "ZMIENNA_Szczegolne1_DATA_MEMO");
  vFunDrawDataField(&ds, "", row("ZMIENNA_Szczegolne1_DATA_MEMO02", 100, 240, 500, 280), canvas.get(), 1,
                    "ZMIENNA_Szczegolne1_DATA_MEMO");
  field("inna", row("ZMIENNA_Inne_DATA_EDIT", 100, 300, 500, 340));
  const std::vector<QRectF> red = redOutlines();
  ASSERT_EQ(red.size(), 2u);
  EXPECT_EQ(red[0].bottom(), 240);
  EXPECT_NEAR(red[0].top(), texts()[0].top(), 0.5);  // a text field: from its cell's top
  EXPECT_EQ(red[1], outline(100, 240, 500, 280));  // an empty field: from its top edge
  EXPECT_EQ(shownPages, (std::vector<int> {1, 1}));
  EXPECT_EQ(scrolls, (std::vector<std::pair<int, bool>> {{160, true}, {186, true}}));
  EXPECT_EQ(canvas->pen().color(), QColor(Qt::black));
}

TEST_F(FieldDrawingTest, ATallSelectedFieldIsOutlinedAlongItsBottomAndScrolledToHalfItsBottom) {
  ds.bCalibMode = true;
  selection = "ZMIENNA_Uwagi_STR2_DATA_EDIT";
  field("", row("ZMIENNA_Uwagi_STR2_DATA_EDIT", 100, 100, 500, 301), 2);
  EXPECT_EQ(redOutlines(), (std::vector<QRectF> {outline(100, 281, 500, 301)}));
  EXPECT_EQ(shownPages, (std::vector<int> {2}));
  EXPECT_EQ(scrolls, (std::vector<std::pair<int, bool>> {{150, true}}));
}

TEST_F(FieldDrawingTest, DottedLinesFramesAndMarksAreOutlinedOnlyWhenSelectedByTheirWholeName) {
  ds.bCalibMode = true;
  const TCalibRecord dots = row("Kropki_STR2_LINIA_Z_KROPEK", 100, 270, 400, 300);
  const TCalibRecord frame = row("GRAFIKA: RAMKA", 50, 60, 800, 900);
  const TCalibRecord eagle = row("GRAFIKA: ORZELEK", 393, 84, 493, 194);
  struct Case {
    std::string selection;
    std::vector<QRectF> red;
  };
  const Case cases[] = {
      {"Kropki_STR2_LINIA_Z_KROPEK", {outline(100, 295, 400, 305)}},
      {"Kropki_STR2_LINIA_Z_KROPEK2", {}},
      {"GRAFIKA: RAMKA", {outline(50, 60, 800, 900)}},
      {"GRAFIKA: ORZELEK", {outline(393, 84, 493, 194)}},
      {"GRAFIKA", {}},
  };
  for (const Case& c : cases) {
    device.engine.rects.clear();
    selection = c.selection;
    vFunDrawDottedLine(&ds, dots, canvas.get(), 2, dots.name);
    vFunDrawFrame(&ds, canvas.get(), frame);
    vFunGraphicDrawMark(&ds, 0, eagle, canvas.get(), eagle.name);
    EXPECT_EQ(redOutlines(), c.red) << c.selection;
  }
}

TEST_F(FieldDrawingTest, NothingIsOutlinedOutsideCalibration) {
  selection = "ZMIENNA_X_STR1_DATA_EDIT";
  field("x", row("ZMIENNA_X_STR1_DATA_EDIT", 100, 200, 300, 240));
  EXPECT_TRUE(redOutlines().empty());
  EXPECT_TRUE(scrolls.empty());
}

TEST_F(FieldDrawingTest, AFrameIsTheOutlineOfItsRectangleInAPenOfOneUnitRestoredAfterwards) {
  QPen wide = canvas->pen();
  wide.setWidth(3);
  canvas->setPen(wide);
  vFunDrawFrame(&ds, canvas.get(), row("GRAFIKA: RAMKA", 50, 60, 800, 900));
  ASSERT_EQ(device.engine.rects.size(), 1u);
  EXPECT_EQ(device.engine.rects[0].rect, outline(50, 60, 800, 900));
  EXPECT_EQ(canvas->pen().width(), 3);
}

// The marks read their pictures from the data folder.
class MarkTest : public FieldDrawingTest {
 protected:
  TempFolders dirs;
  TScriptedDialogs script;
  void SetUp() override {
    FieldDrawingTest::SetUp();
    dirs.shipProgramFolder();
    ASSERT_TRUE(bFunCheckFilesDir(&ds));
  }
};

TEST_F(MarkTest, TheEagleAndTheStampAreDrawnIntoTheirRectanglesOnlyForThePrinter) {
  const TCalibRecord eagle = row("GRAFIKA: ORZELEK", 393, 84, 493, 194);
  const TCalibRecord stamp = row("GRAFIKA: PIECZATKA", 391, 1076, 495, 1180);
  for (bool printing : {false, true}) {
    print = printing;
    vFunGraphicDrawMark(&ds, 0, eagle, canvas.get(), eagle.name);
    vFunGraphicDrawMark(&ds, 1, stamp, canvas.get(), stamp.name);
    if (!printing) {
      EXPECT_EQ(device.engine.paths, 0);
      EXPECT_TRUE(device.engine.pictures.empty());
      EXPECT_TRUE(texts().empty());
      continue;
    }
    EXPECT_GT(device.engine.paths, 10);
    EXPECT_EQ(device.engine.pictures, (std::vector<QRectF> {outline(391, 1076, 495, 1180)}));
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].text, "m.p.");
    EXPECT_EQ(texts()[0].font.pixelSize(), 16);
    EXPECT_NEAR((texts()[0].baseline.x() + texts()[0].right()) / 2, 443, 1);
    EXPECT_NEAR((texts()[0].top() + texts()[0].bottom()) / 2, 1128, 1);
  }
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(MarkTest, AMissingPictureIsReportedLoggedAndNotDrawn) {
  print = true;
  std::filesystem::remove(cp1250ToUtf8(dirs.data()) + "/grafika/m_p.bmp");
  vFunGraphicDrawMark(&ds, 1, row("GRAFIKA: PIECZATKA", 391, 1076, 495, 1180), canvas.get(), "GRAFIKA: PIECZATKA");
  const std::string text = "Plik nie istnieje.\n\n" + dirs.data() + "/grafika/m_p.bmp";
  EXPECT_EQ(script.boxes, (std::vector<TShownBox> {{text, cp1250("Bład"), MB_OK | MB_ICONSTOP}}));
  EXPECT_EQ(ds.ErrorStream.str(), text);
  EXPECT_TRUE(device.engine.pictures.empty());
  EXPECT_TRUE(texts().empty());
  std::vector<TLogRecord> log;
  ASSERT_TRUE(bFunSqlGetLogsData(&ds, log));
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().fun, "vFunGraphicDrawMark()");
}

}  // namespace
