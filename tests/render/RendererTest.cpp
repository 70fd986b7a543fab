// The main window's renderer and print command, with layouts written into
// the data folder's calibration file and a small form of named fields.
#include "RecordingDevice.h"
#include "forms/DocumentForms.h"
#include "MainWindowFixture.h"
#include "app/GlownaUnit.h"
#include "app/Startup.h"
#include "forms/FormUnits.h"
#include "platform/Cp1250.h"
#include "render/Drukowanie.h"
#include "render/PageRenderer.h"
#include "support/FormReference.h"
#include "support/TempFolders.h"
#include "toolkit/Dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPicture>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <array>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// A document form of a few named fields.
class TTestForm : public TDialogForm {
 public:
  TTestForm() : TDialogForm("FTest") {}
  void field(const std::string& name, const std::string& text) {
    QObject* made = nullptr;
    if (name.find("_DATA_COMBOBOX") != std::string::npos) {
      auto* combo = Make<QComboBox>(QString::fromStdString(name), this);
      combo->setEditable(true);
      made = combo;
    } else if (name.find("_DATA_LABEL") != std::string::npos) {
      made = Make<QLabel>(QString::fromStdString(name), this);
    } else {
      made = Make<QLineEdit>(QString::fromStdString(name), this);
    }
    bFunSetText(made, cp1250(text));
  }
  void memo(const std::string& name, const std::vector<std::string>& lines) {
    std::vector<std::string> text;
    for (const std::string& line : lines) text.push_back(cp1250(line));
    vFunSetLines(Make<QPlainTextEdit>(QString::fromStdString(name), this), text);
  }
};

struct TRow {
  std::string name;
  int x1 = 100, y1 = 200, x2 = 400, y2 = 240;
};

class RendererTest : public TMainWindowTest {
 protected:
  TTestForm form;

  void SetUp() override {
    TMainWindowTest::SetUp();
    ASSERT_EQ(FGlowna->DataStore.Page1Metafile != nullptr, true);
    script.boxes.clear();  // the one-time notice about the data files
  }

  std::string calibFile() const { return dirs.data() + "/tvk_kalibracja.sqset"; }
  void layout(const std::string& table, const std::vector<TRow>& rows) const {
    std::string sql =
        "drop table if exists `" + table + "`; create table `" + table +
        "`( name TEXT, x1 INTEGER, y1 INTEGER, x2 INTEGER, y2 INTEGER, font_name TEXT, font_size INTEGER, "
        "font_align INTEGER, font_style_bold INTEGER, font_style_italic INTEGER, font_style_underline "
        "INTEGER, font_style_strike INTEGER );";
    for (const TRow& r : rows)
      sql += "insert into `" + table + "` values('" + r.name + "', " + std::to_string(r.x1) + ", " +
             std::to_string(r.y1) + ", " + std::to_string(r.x2) + ", " + std::to_string(r.y2) +
             ", 'Times New Roman', 12, 0, 0, 0, 0, 0);";
    sqlExec(calibFile(), sql);
  }
  bool render(TDocKind kind, bool print = false, TFormBase* of = nullptr) {
    return FGlowna->vFunRysujSwiadectwo(of ? of : &form, print, kind, bFunIsCertificate(kind) ? 2 : 1);
  }
  static TRecording played(const QPicture* picture) {
    TRecordingDevice device;
    device.play(*picture);
    return device.engine;
  }
  TRecording page(int n) const {
    return played(n == 1 ? FGlowna->DataStore.Page1Metafile : FGlowna->DataStore.Page2Metafile);
  }
  // A document of a student selected in the tree.
  // A working copy with one student, Kowalski Jan, whose stored rows are
  // the personal ones and `rows`; selects the student's node of that name
  // (a name the tree does not offer is added under the student first).
  void selectInTree(const char* document, const std::vector<std::array<std::string, 3>>& rows = {}) {
    std::string sql = "create table `PESEL1`( id TEXT, comp_name TEXT, value TEXT );"
                      "insert into `PESEL1` values('DANE UCZNIA', 'Nazwisko_DATA_EDIT', 'Kowalski');"
                      "insert into `PESEL1` values('DANE UCZNIA', 'Imie_DATA_EDIT', 'Jan');";
    for (const auto& r : rows)
      sql += "insert into `PESEL1` values('" + r[0] + "', '" + r[1] + "', '" + r[2] + "');";
    sqlExec(strFunGetTmpFilePath(&FGlowna->DataStore), sql);
    ASSERT_TRUE(FGlowna->bFunWczytajListeUczniow());
    QTreeWidgetItem* student = FGlowna->TreeView->topLevelItem(0);
    QTreeWidgetItem* leaf = nullptr;
    for (int i = 0; i < student->childCount() && !leaf; ++i)
      if (student->child(i)->text(0) == QString::fromUtf8(document)) leaf = student->child(i);
    if (!leaf) leaf = new QTreeWidgetItem(student, QStringList {QString::fromUtf8(document)});
    FGlowna->TreeView->setCurrentItem(leaf);
  }
};

// What one row draws, by the group of its kind.
TEST_F(RendererTest, RowsDrawByTheMarkersOfTheirKindsGroup) {
  enum TWhat { Nothing, Text1, Text2, Dots1, Dots2, Frame };
  struct Case {
    TDocKind kind;
    std::string name;
    TWhat what;
  };
  const Case cases[] = {
      {dkKlasaIa, "ZMIENNA_A_STR1_DATA_EDIT", Text1},       {dkKlasaIa, "ZMIENNA_A_STR2_DATA_EDIT", Text2},
      {dkKlasaI, "ZMIENNA_A_STR1_DATA_COMBOBOX", Text1},    {dkKoniecaWyr, "ZMIENNA_A_STR2_DATA_COMBOBOX", Text2},
      {dkKlasaIa, "STALY_A_STR1_DATA_LABEL", Text1},        {dkKlasaIa, "STALY_A_STR2_DATA_LABEL", Text2},
      {dkKlasaIa, "ZMIENNA_A_DATA_EDIT", Nothing},          {dkKlasaIa, "A_STR1_LINIA_Z_KROPEK", Dots1},
      {dkKlasaIa, "A_STR2_LINIA_Z_KROPEK", Dots2},          {dkKlasaIa, "A_LINIA_Z_KROPEK", Nothing},
      {dkKlasaIa, "GRAFIKA: RAMKA", Nothing},               {dkWywiadowka, "ZMIENNA_A_DATA_EDIT", Text1},
      {dkWywiadowka, "ZMIENNA_A_DATA_COMBOBOX", Text1},     {dkWywiadowka, "STALY_A_DATA_LABEL", Text1},
      {dkWywiadowka, "A_LINIA_Z_KROPEK", Dots1},            {dkWywiadowka, "ZMIENNA_A_STR2_DATA_EDIT", Text1},
      {dkWywiadowka, "GRAFIKA: RAMKA", Nothing},            {dkWywiadowka, "ZMIENNA_M_DATA_MEMO01", Nothing},
      {dkArkuszStr2b, "ZMIENNA_A_DATA_EDIT", Text1},        {dkArkuszStr3Kol2, "STALY_A_DATA_LABEL", Text1},
      {dkArkuszStr4b, "GRAFIKA: RAMKA", Frame},             {dkArkuszStr1, "A_LINIA_Z_KROPEK", Dots1},
      {dkArkuszStr1, "ZMIENNA_M_DATA_MEMO01", Text1},       {dkArkuszStr1, "GRAFIKA: ORZELEK", Nothing},
      {dkArkuszStr1, "ZMIENNA_A", Nothing},
      // a row names its component exactly, letter case included
      {dkKlasaIa, "zmienna_a_STR1_DATA_EDIT", Nothing},     {dkArkuszStr1, "zmienna_m_DATA_MEMO01", Nothing},
  };
  for (const Case& c : cases) {
    TTestForm local;
    local.field(c.name[0] == 'z' ? "ZMIENNA_A_STR1_DATA_EDIT" : c.name, "wartość");
    local.memo("ZMIENNA_M_DATA_MEMO", {"wartość"});
    layout(strFunCalibTableName(c.kind, false), {{c.name}});
    ASSERT_TRUE(render(c.kind, true, &local)) << c.name;
    const TRecording one = page(1), two = page(2);
    const QStringList text {QString::fromUtf8("wartość")};
    // The row's 50 dots, however many texts carry them.
    auto dots = [](const TRecording& d) { return d.textsDrawn().join(QString()) == QString(50, QLatin1Char('.')); };
    EXPECT_EQ(one.textsDrawn() == text, c.what == Text1) << c.kind << " " << c.name;
    EXPECT_EQ(two.textsDrawn() == text, c.what == Text2) << c.kind << " " << c.name;
    EXPECT_EQ(dots(one), c.what == Dots1) << c.kind << " " << c.name;
    EXPECT_EQ(dots(two), c.what == Dots2) << c.kind << " " << c.name;
    EXPECT_EQ(one.rects.size(), c.what == Frame ? 1u : 0u) << c.kind << " " << c.name;
    EXPECT_EQ(one.paths + two.paths, 0) << c.kind << " " << c.name;
  }
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(RendererTest, ARowWhoseFieldTheFormLacksIsSkippedAndTheNextDrawn) {
  form.field("ZMIENNA_B_STR1_DATA_EDIT", "drugi");
  layout("tarvek_klasa_Ia", {{"ZMIENNA_Brak_STR1_DATA_EDIT"}, {"ZMIENNA_B_STR1_DATA_EDIT"}});
  FGlowna->WykreskujPusteCheckBox->setChecked(true);
  ASSERT_TRUE(render(dkKlasaIa));
  EXPECT_EQ(page(1).textsDrawn(), QStringList {"drugi"});
  EXPECT_TRUE(page(1).lines.empty());
}

TEST_F(RendererTest, TheBirthAndSchoolEndingsNeverGetTheEmptyFieldLine) {
  std::vector<TRow> rows;
  for (const char* name :
       {"ZMIENNA_SzkolaWE_STR1_DATA_EDIT", "ZMIENNA_UrWE_STR1_DATA_EDIT", "ZMIENNA_Inne_STR1_DATA_EDIT"}) {
    form.field(name, "");
    rows.push_back({name});
  }
  layout("tarvek_klasa_Ia", rows);
  FGlowna->WykreskujPusteCheckBox->setChecked(true);
  ASSERT_TRUE(render(dkKlasaIa));
  EXPECT_EQ(page(1).lines.size(), 1u);
}

TEST_F(RendererTest, CertificatesReadTheirLayoutWithoutDotsWhileThatOptionIsOn) {
  struct Case {
    TDocKind kind;
    bool noDots;
    std::string table;
  };
  const Case cases[] = {
      {dkKlasaIa, false, "tarvek_klasa_Ia"},         {dkKlasaIa, true, "tarvek_klasa_Ia_bk"},
      {dkKlasaI, true, "tarvek_klasa_I_bk"},          {dkWywiadowka, true, "tarvek_wywiadowka"},
      {dkWywiadowka, false, "tarvek_wywiadowka"},     {dkArkuszStr2, true, "tarvek_arkusz_str2"},
      {dkArkuszStr3Kol2, false, "tarvek_arkusz_str3_kol2"},
  };
  for (const Case& c : cases) {
    for (const std::string& table : {std::string(kDocKinds[c.kind].table), c.table})
      layout(table, {{"ZMIENNA_" + table}});
    FGlowna->PrintNoDotsCheckBox->setChecked(c.noDots);
    ASSERT_TRUE(render(c.kind)) << c.table;
    ASSERT_EQ(FGlowna->CalibDataList.size(), 1u);
    EXPECT_EQ(FGlowna->CalibDataList[0].name, "ZMIENNA_" + c.table);
  }
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(RendererTest, EachRowOfAMemoTakesTheNextLineUntilAnotherMemoStartsAgain) {
  form.memo("ZMIENNA_A_DATA_MEMO", {"a1", "a2"});
  form.memo("ZMIENNA_B_DATA_MEMO", {"b1"});
  form.field("ZMIENNA_E_DATA_EDIT", "e");
  struct Case {
    std::vector<std::string> rows;
    QStringList texts;
    std::size_t emptyLines;
  };
  const Case cases[] = {
      {{"ZMIENNA_A_DATA_MEMO01", "ZMIENNA_B_DATA_MEMO01", "ZMIENNA_A_DATA_MEMO02"}, {"a1", "b1", "a1"}, 0},
      {{"ZMIENNA_A_DATA_MEMO01", "ZMIENNA_E_DATA_EDIT", "ZMIENNA_A_DATA_MEMO07"}, {"a1", "e", "a2"}, 0},
      {{"ZMIENNA_A_DATA_MEMO01", "ZMIENNA_A_DATA_MEMO02", "ZMIENNA_A_DATA_MEMO03", "ZMIENNA_A_DATA_MEMO04",
        "ZMIENNA_A_DATA_MEMO05"},
       {"a1", "a2"},
       3},
      {{"ZMIENNA_C_DATA_MEMO01", "ZMIENNA_A_DATA_MEMO01"}, {"a1"}, 0},
  };
  FGlowna->WykreskujPusteCheckBox->setChecked(true);
  for (const Case& c : cases) {
    std::vector<TRow> rows;
    for (const std::string& name : c.rows) rows.push_back({name});
    layout("tarvek_arkusz_str2b", rows);
    ASSERT_TRUE(render(dkArkuszStr2b));
    const TRecording one = page(1);
    EXPECT_EQ(one.textsDrawn(), c.texts) << c.rows.size();
    EXPECT_EQ(one.lines.size(), c.emptyLines);
  }
}

TEST_F(RendererTest, TheEagleAndTheStampAreDrawnInAPrintRenderOnly) {
  form.field("ZMIENNA_A_STR1_DATA_EDIT", "Jan");
  layout("tarvek_klasa_Ia", {{"GRAFIKA: ORZELEK", 393, 84, 493, 194},
                             {"GRAFIKA: PIECZATKA", 391, 1076, 495, 1180},
                             {"ZMIENNA_A_STR1_DATA_EDIT"}});
  for (bool print : {false, true}) {
    ASSERT_TRUE(render(dkKlasaIa, print));
    const TRecording one = page(1);
    EXPECT_EQ(one.paths > 0, print);
    EXPECT_EQ(one.pictures.size(), print ? 1u : 0u);
    EXPECT_EQ(one.textsDrawn(), print ? QStringList({"m.p.", "Jan"}) : QStringList {"Jan"});
    EXPECT_EQ(FGlowna->bPrintMode, print);
    EXPECT_EQ(FGlowna->DataStore.Page1Canvas, nullptr);
    EXPECT_EQ(FGlowna->DataStore.Page2Canvas, nullptr);
    EXPECT_EQ(FGlowna->DataStore.Page1Metafile->boundingRect(), QRect(0, 0, 885, 1314));
    EXPECT_EQ(FGlowna->DataStore.Page2Metafile->boundingRect(), QRect(0, 0, 885, 1314));
  }
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(RendererTest, AFailedRenderSaysWhyAndLeavesEmptyPagesAndTheStateAsItWas) {
  form.field("ZMIENNA_A_STR1_DATA_EDIT", "Jan");
  layout("tarvek_klasa_Ia", {{"ZMIENNA_A_STR1_DATA_EDIT"}});
  struct Case {
    std::function<void()> spoil;
    int kind;
    std::string text;
    int flags;
  };
  const Case cases[] = {
      {[] {}, kDocKindCount, "Niepoprawny typ świadectwa", MB_OK | MB_ICONWARNING},
      {[] {}, -1, "Niepoprawny typ świadectwa", MB_OK | MB_ICONWARNING},
      {[this] { sqlExec(calibFile(), "drop table if exists tarvek_klasa_IIa"); }, dkKlasaIIa,
       "Błąd podczas próby wczytania danych kalibracji.\n\nTablica nie istnieje: \ntarvek_klasa_IIa",
       MB_OK | MB_ICONSTOP},
      {[this] { fs::remove(cp1250ToUtf8(calibFile())); }, dkKlasaIa,
       "Błąd podczas próby wczytania danych kalibracji.\n\nPlik nie istnieje: \n" + cp1250ToUtf8(calibFile()),
       MB_OK | MB_ICONSTOP},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(render(dkKlasaIa));
    const QImage preview = FGlowna->Image1->Picture();
    FGlowna->bPrintMode = true;
    FDrukuj->iPageCount = 7;
    script.boxes.clear();
    c.spoil();
    EXPECT_FALSE(FGlowna->vFunRysujSwiadectwo(&form, false, static_cast<TDocKind>(c.kind), 1));
    EXPECT_EQ(script.boxes, (std::vector<TShownBox> {{cp1250(c.text), cp1250("Błąd"), c.flags}}));
    EXPECT_TRUE(page(1).textsDrawn().isEmpty());
    EXPECT_EQ(FGlowna->DataStore.Page1Canvas, nullptr);
    EXPECT_EQ(FGlowna->DataStore.Page2Canvas, nullptr);
    EXPECT_TRUE(FGlowna->bPrintMode);
    EXPECT_EQ(FDrukuj->iPageCount, 7);
    EXPECT_EQ(FGlowna->Image1->Picture(), preview);
  }
}

TEST_F(RendererTest, ThePreviewShowsThePicturesOfTheBlankAndPageTwoForCertificatesOnly) {
  struct Case {
    TDocKind kind;
    const char* page1;
    bool page2;
  };
  const Case cases[] = {{dkKlasaI, "sw_str1_prw.bmp", true},
                        {dkKlasaIWyr, "sw_str1_prw_wyr.bmp", true},
                        {dkKoniecaWyr, "sw_str1_prw_wyr.bmp", true},
                        {dkWywiadowka, "wywiadowka_prw.bmp", false},
                        {dkArkuszStr3Kol3, "arkusz_prw.bmp", false}};
  const std::string grafika = cp1250ToUtf8(dirs.data()) + "/grafika/";
  for (const Case& c : cases) {
    layout(strFunCalibTableName(c.kind, false), {});
    ASSERT_TRUE(render(c.kind));
    const QImage background = QImage(QString::fromStdString(grafika + c.page1)).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(FGlowna->Image1->Picture(), background) << c.page1;
    EXPECT_EQ(FGlowna->PageControl->isTabVisible(1), c.page2) << c.page1;
    if (c.page2) {
      EXPECT_EQ(FGlowna->Image2->Picture(),
                QImage(QString::fromStdString(grafika + "sw_str2_prw.bmp")).convertToFormat(QImage::Format_RGB32));
    }
  }
}

// Where dark ink lies inside the page area of a preview picture.
QRect inkOnPage(const QImage& picture) {
  QRect ink;
  for (int y = kPreviewTop; y < kPreviewBottom; ++y)
    for (int x = kPreviewLeft; x < kPreviewRight; ++x)
      if (qGray(picture.pixel(x, y)) < 100) ink |= QRect(x, y, 1, 1);
  return ink;
}

// The preview draws neither mark itself: its blank shows the state eagle at
// the top and the stamp's dotted circle near the bottom, where the print
// puts them (the layout's rows), and shows them once.
TEST_F(RendererTest, ACertificatesPreviewShowsTheEagleAndTheStampCircleOfItsBlank) {
  for (const TDocKind kind : {dkKlasaIa, dkKlasaIaWyr}) {
    layout(strFunCalibTableName(kind, false),
           {{"GRAFIKA: ORZELEK", 393, 84, 493, 194}, {"GRAFIKA: PIECZATKA", 391, 1076, 495, 1180}});
    ASSERT_TRUE(render(kind));
    const TRecording one = page(1);
    EXPECT_EQ(one.paths, 0);  // no eagle drawn over the blank's
    EXPECT_TRUE(one.pictures.empty());
    const QImage preview = FGlowna->Image1->Picture();
    auto dark = [&](int left, int top, int right, int bottom) {
      int n = 0;
      for (int y = kPreviewTop + top; y <= kPreviewTop + bottom; ++y)
        for (int x = kPreviewLeft + left; x <= kPreviewLeft + right; ++x) n += qGray(preview.pixel(x, y)) < 140;
      return n;
    };
    EXPECT_GT(dark(393, 84, 493, 194), 200) << kind;  // the eagle
    // The circle's dots at its left and right, bare paper between them and "m.p.".
    EXPECT_GT(dark(387, 1124, 395, 1132), 0) << kind;
    EXPECT_GT(dark(491, 1124, 499, 1132), 0) << kind;
    EXPECT_EQ(dark(432, 1098, 452, 1112), 0) << kind;
  }
}

TEST_F(RendererTest, ThePreviewShowsTheValuesWhereTheRowsPutThemOnThePage) {
  form.field("ZMIENNA_Klasa_DATA_EDIT", "IIIb");
  layout("tarvek_wywiadowka", {{"ZMIENNA_Klasa_DATA_EDIT", 700, 130, 815, 160}});
  ASSERT_TRUE(render(dkWywiadowka));
  const QRect ink = inkOnPage(FGlowna->Image1->Picture());
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_TRUE(QRect(kPreviewLeft + 698, kPreviewTop + 130, 117, 30).contains(ink)) << ink.x() << "," << ink.y();
}

// The meeting sheet prints on plain paper: its layout prints every word and
// dotted line, so its preview shows the layout's dots alone, never the rows
// of dots the form shows on screen beside them.
TEST_F(RendererTest, TheMeetingSheetsPreviewShowsOnlyTheDotsItsLayoutPrints) {
  TFormBase* sheet = frmFunFormOfKind(dkWywiadowka);
  ASSERT_NE(sheet, nullptr);
  static_cast<TDocumentForm*>(sheet)->vFunClearFormData();
  auto inkIn = [](const QImage& picture, const QRect& r) {
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) dark += qGray(picture.pixel(x, y)) < 160;
    return dark;
  };
  for (const bool noDots : {false, true}) {
    FGlowna->PrintNoDotsCheckBox->setChecked(noDots);
    ASSERT_TRUE(render(dkWywiadowka, false, sheet));
    const QImage preview = FGlowna->Image1->Picture();
    // Between "zachowanie" and its grade, and between "fizyka" and its
    // grade: the layout's one dotted line, in one band of a few rows, from
    // its own left end (230 units) on; nothing between the word and there.
    for (const int top : {158, 674}) {
      const QRect leader(kPreviewLeft + 232, kPreviewTop + top, 143, 42);
      EXPECT_GT(inkIn(preview, leader), 0);
      int rowsWithInk = 0;
      for (int y = leader.top(); y <= leader.bottom(); ++y)
        rowsWithInk += inkIn(preview, QRect(leader.left(), y, leader.width(), 1)) > 0;
      EXPECT_LE(rowsWithInk, 4) << "one row of dots at " << top;
      EXPECT_EQ(inkIn(preview, QRect(kPreviewLeft + 165, kPreviewTop + top, 60, 42)), 0) << "dots of the form at " << top;
    }
  }
}

TEST_F(RendererTest, APreviewWithoutItsBackgroundStartsFromACleanPage) {
  auto* name = static_cast<QLineEdit*>(nullptr);
  form.field("ZMIENNA_ImieNazwisko_DATA_EDIT", "Kowalski Jan");
  name = form.findComponentAs<QLineEdit>("ZMIENNA_ImieNazwisko_DATA_EDIT");
  layout("tarvek_wywiadowka", {{"ZMIENNA_ImieNazwisko_DATA_EDIT", 250, 130, 620, 160}});
  ASSERT_TRUE(render(dkWywiadowka));
  ASSERT_FALSE(inkOnPage(FGlowna->Image1->Picture()).isEmpty());

  fs::remove(cp1250ToUtf8(dirs.data()) + "/grafika/wywiadowka_prw.bmp");
  name->clear();
  ASSERT_TRUE(render(dkWywiadowka));
  EXPECT_EQ(FGlowna->Image1->Picture(), imgFunCleanPreviewPicture());
  EXPECT_TRUE(script.boxes.empty());
}

class PrintCommandTest : public RendererTest {
 protected:
  struct Seen {
    bool printMode;
    int pageCount;
    QStringList page1;
  };
  std::vector<Seen> dialogs;
  void SetUp() override {
    RendererTest::SetUp();
    script.onShowModal = [this](QDialog* dialog) {
      if (dialog == FDrukuj) dialogs.push_back({FGlowna->bPrintMode, FDrukuj->iPageCount, page(1).textsDrawn()});
      return mrOk;
    };
  }
};

TEST_F(PrintCommandTest, EveryPrintCommandAsksForADocumentWhenNoneIsSelected) {
  auto* student = new QTreeWidgetItem(FGlowna->TreeView, QStringList {"Kowalski Jan"});
  new QTreeWidgetItem(student, QStringList {QString::fromUtf8("MEN-I/21a/2 świad. klasa I")});
  FGlowna->TreeView->setCurrentItem(student);
  const std::vector<std::function<void()>> commands = {
      [] { FGlowna->DrukujToolButton->click(); },
      [] { FGlowna->findComponentAs<QAction>("Drukujwybranewiadectwo1")->trigger(); },
      [] {  // the tree's item, which is enabled while a document is open
        auto* item = FGlowna->findComponentAs<QAction>("Drukujwybranewiadectwo2");
        item->setEnabled(true);
        item->trigger();
      },
  };
  for (const auto& command : commands) {
    script.boxes.clear();
    command();
    EXPECT_EQ(script.boxes, (std::vector<TShownBox> {{cp1250("Zaznacz świadectwo które chciesz wydrukować"),
                                                       "Brak wyboru", MB_OK | MB_ICONWARNING}}));
  }
  EXPECT_TRUE(dialogs.empty());
  EXPECT_TRUE(script.modalRuns.empty());
}

TEST_F(PrintCommandTest, TheSelectedDocumentIsDrawnForThePrinterFromItsFormAndThenPrinted) {
  layout("tarvek_klasa_Ia", {{"ZMIENNA_Tarvek1_STR1_DATA_EDIT"}});
  selectInTree("MEN-I/21a/2 świad. klasa I", {{"KLASA Ia TARVEK", "ZMIENNA_Tarvek1_STR1_DATA_EDIT", "Zofia & Jan"}});
  script.boxes.clear();
  FGlowna->DrukujToolButtonClick();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_TRUE(dialogs[0].printMode);
  EXPECT_EQ(dialogs[0].pageCount, 2);
  EXPECT_EQ(dialogs[0].page1, QStringList {"Zofia & Jan"});
  EXPECT_FALSE(FGlowna->bPrintMode);
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(PrintCommandTest, AFailedRenderDoesNotOpenThePrintDialog) {
  sqlExec(calibFile(), "drop table if exists tarvek_klasa_IIa");
  selectInTree("MEN-I/21a/2 świad. klasa II");  // its layout is not in the file
  script.boxes.clear();                          // the preview said so already
  FGlowna->bPrintMode = true;
  FGlowna->DrukujToolButtonClick();
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].caption, cp1250("Błąd"));
  EXPECT_TRUE(dialogs.empty());
  EXPECT_FALSE(FGlowna->bPrintMode);
}

TEST_F(PrintCommandTest, ANameOfNoDocumentPrintsNothing) {
  selectInTree("");
  FGlowna->DrukujToolButtonClick();
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].caption, "Brak wyboru");
  script.boxes.clear();
  sqlExec(strFunGetTmpFilePath(&FGlowna->DataStore), "drop table `PESEL1`");
  selectInTree("dokument bez nazwy w tabeli");
  FGlowna->bPrintMode = true;
  FGlowna->DrukujToolButtonClick();
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_TRUE(dialogs.empty());
  EXPECT_FALSE(FGlowna->bPrintMode);
}

TEST_F(RendererTest, EveryKindIsDrawnFromTheInstanceOfItsFormClass) {
  // A form's own kind is drawn from it (the reference table); the single
  // columns of a page ("<page>_kol<n>") from the form of their page.
  auto classOfKind = [](const TDocKindInfo& info) -> std::string {
    for (const TFormReference& r : kFormReference) {
      const std::string page = kDocKinds[r.kind].table;
      if (r.kind == info.kind || std::string(info.table).starts_with(page + "_kol")) return r.className;
    }
    return "no form";
  };
  for (const TDocKindInfo& info : kDocKinds) {
    TFormBase* of = frmFunFormOfKind(info.kind);
    ASSERT_NE(of, nullptr) << info.table;
    EXPECT_EQ(dynamic_cast<QObject*>(of)->metaObject()->className(), classOfKind(info)) << info.table;
  }
  EXPECT_EQ(frmFunFormOfKind(static_cast<TDocKind>(kDocKindCount)), nullptr);
}

TEST_F(RendererTest, TheShippedLayoutsAreInstalledWithTheTwinWithoutDots) {
  auto names = [&](const std::string& table) {
    std::vector<std::string> list;
    for (const auto& r : sqlRows(calibFile(), "select name from `" + table + "`")) list.push_back(r[0]);
    return list;
  };
  const std::vector<std::string> plain = names("tarvek_klasa_Ia");
  std::vector<std::string> withoutDots;
  for (const std::string& name : plain)
    if (name.find("_LINIA_Z_KROPEK") == std::string::npos) withoutDots.push_back(name);
  EXPECT_LT(withoutDots.size(), plain.size());
  EXPECT_EQ(names("tarvek_klasa_Ia_bk"), withoutDots);
  EXPECT_FALSE(names("tarvek_wywiadowka").empty());
  EXPECT_TRUE(sqlRows(calibFile(), "select name from sqlite_master where name='tarvek_wywiadowka_bk'").empty());
  EXPECT_EQ(sqlRows(calibFile(), "select name, x1, y1, x2, y2 from tarvek_klasa_Ia where name like 'GRAFIKA%'"),
            (std::vector<std::vector<std::string>> {{"GRAFIKA: ORZELEK", "393", "84", "493", "194"},
                                                    {"GRAFIKA: PIECZATKA", "391", "1076", "495", "1180"}}));
}

}  // namespace

namespace {

// A page stretched onto devices of other resolutions lands in the target
// rectangle, whatever the resolution.
TEST(StretchPicture, ThePageFillsItsTargetWhateverTheResolutionOfTheDevice) {
  QPicture page;
  {
    QPainter p(&page);
    p.fillRect(QRect(100, 200, 50, 60), Qt::black);
  }
  struct Case {
    int dotsPerMeter;
    QSize size;
    QRectF target;
    QRect ink;
  };
  const Case cases[] = {
      {3780, {885, 1314}, {0, 0, 885, 1314}, {100, 200, 50, 60}},
      {7559, {1770, 2628}, {0, 0, 1770, 2628}, {200, 400, 100, 120}},
      {47244, {1770, 2628}, {0, 0, 1770, 2628}, {200, 400, 100, 120}},
      {7559, {1031, 1462}, {74, 74, 885, 1314}, {174, 274, 50, 60}},
  };
  for (const Case& c : cases) {
    QImage device(c.size, QImage::Format_RGB32);
    device.fill(Qt::white);
    device.setDotsPerMeterX(c.dotsPerMeter);
    device.setDotsPerMeterY(c.dotsPerMeter);
    {
      QPainter painter(&device);
      vFunStretchPicture(painter, page, c.target);
    }
    QRect ink;
    for (int y = 0; y < device.height(); ++y)
      for (int x = 0; x < device.width(); ++x)
        if (qGray(device.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
    EXPECT_EQ(ink, c.ink) << c.dotsPerMeter;
  }
}

}  // namespace
