// The option boxes of the tool bar, the export and import of the
// calibration file, and the help.
#include "StudentFixture.h"

#include "app/DaneSzkoly.h"
#include "platform/Desktop.h"
#include "render/Drukowanie.h"
#include "render/Pomoc.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

class OptionsTest : public StudentTest {
 protected:
  std::string calib() const { return dirs.data() + "/tvk_kalibracja.sqset"; }
  int setting(const std::string& name) const {
    return std::stoi(sqlRows(settingsFile(), "select int_value from `settings` where name='" + name + "'")[0][0]);
  }
  Rows layout(const std::string& file, const std::string& table = "tarvek_wywiadowka") const {
    return sqlRows(file, "select * from `" + table + "` order by rowid");
  }
};

TEST_F(OptionsTest, EachOptionBoxStoresItsSettingRedrawsTheSelectionAndComesBackAtTheNextStart) {
  struct Case {
    QCheckBox* TFGlowna::*box;
    const char* setting;
  };
  const Case cases[] = {{&TFGlowna::WykreskujPusteCheckBox, "strike_empty_fields"},
                        {&TFGlowna::PrintNoDotsCheckBox, "print_without_dots"},
                        {&TFGlowna::cbWordWrap, "word_wrap"}};
  const std::string document = makeDocumentFile({{"90010112345", personalRows("Nowak", "Anna", "90010112345")}});
  open(document);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    QCheckBox* box = FGlowna->*c.box;
    const bool was = box->isChecked();

    // With nothing selected only the setting changes.
    FGlowna->TreeView->setCurrentItem(nullptr);
    FGlowna->CalibDataList.clear();
    box->setChecked(!was);
    EXPECT_EQ(setting(c.setting), was ? 0 : 1);
    EXPECT_TRUE(FGlowna->CalibDataList.empty());

    // With a document selected it is drawn again at once.
    select(0, 10);
    FGlowna->CalibDataList.clear();
    box->setChecked(was);
    EXPECT_EQ(setting(c.setting), was ? 1 : 0);
    EXPECT_FALSE(FGlowna->CalibDataList.empty());

    box->setChecked(!was);
    start();
    EXPECT_EQ((FGlowna->*c.box)->isChecked(), !was);
    open(document);
  }
}

TEST_F(OptionsTest, TheNoDotsOptionRedrawsACertificateFromItsTableWithoutDots) {
  open(makeDocumentFile({{"90010112345", personalRows("Nowak", "Anna", "90010112345")}}));
  select(0, 0);  // the certificate after class I
  auto dotted = [] {
    int n = 0;
    for (const TCalibRecord& row : FGlowna->CalibDataList) n += row.name.str().find("_LINIA_Z_KROPEK") != std::string::npos;
    return n;
  };
  ASSERT_GT(dotted(), 0);
  FGlowna->PrintNoDotsCheckBox->setChecked(true);
  EXPECT_FALSE(FGlowna->CalibDataList.empty());
  EXPECT_EQ(dotted(), 0);
}

TEST_F(OptionsTest, ExportThenImportRoundTripsTheCalibration) {
  const std::string exported = cp1250FromUtf8(dirs.root()) + "/kopia";
  script.fileNames = {chosenName(exported)};
  FGlowna->Eksportujustawieniakalibracji1Click();
  ASSERT_EQ(script.fileDialogs.size(), 1u);
  EXPECT_EQ(script.fileDialogs[0].title, "Zapisz plik kalibracji");
  EXPECT_EQ(script.fileDialogs[0].filter, "Kalibracja(*.sqset)|*.sqset");
  EXPECT_EQ(script.fileDialogs[0].fileName, "tvk_kalibracja");
  EXPECT_TRUE(script.boxes.empty());
  const Rows original = layout(calib());
  ASSERT_EQ(layout(exported + ".sqset"), original);

  sqlExec(calib(), "update `tarvek_wywiadowka` set x1=x1+7");
  ASSERT_NE(layout(calib()), original);
  script.fileNames = {chosenName(exported + ".sqset")};
  FGlowna->Importujustawieniakalibracji1Click();
  EXPECT_EQ(script.fileDialogs[1].title, "Wczytaj plik kalibracji");
  EXPECT_EQ(script.fileDialogs[1].filter, "Kalibracja(*.sqset)|*.sqset");
  EXPECT_EQ(script.fileDialogs[1].fileName, "");
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(layout(calib()), original);

  // Cancelled dialogs do nothing.
  FGlowna->Eksportujustawieniakalibracji1Click();
  FGlowna->Importujustawieniakalibracji1Click();
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(OptionsTest, ImportingAFileThatIsNoCalibrationIsRefusedAndChangesNothing) {
  const std::string root = cp1250FromUtf8(dirs.root());
  writeText(dirs.root() + "/tekst.sqset", "to nie jest baza danych\n");
  sqlExec(root + "/inna.sqset", "create table `uczniowie` (name TEXT, x1 INT)");
  sqlExec(root + "/pusta.sqset", "create table x(a); drop table x;");
  const std::string before = readText(utf8(calib()));
  for (const char* name : {"tekst.sqset", "inna.sqset", "pusta.sqset", "brak.sqset"}) {
    SCOPED_TRACE(name);
    script.boxes.clear();
    script.fileNames = {chosenName(root + "/" + name)};
    FGlowna->Importujustawieniakalibracji1Click();
    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_EQ(script.boxes[0].caption, "Atrybuty");
    EXPECT_EQ(script.boxes[0].flags, MB_OK | MB_ICONWARNING);
    EXPECT_EQ(script.boxes[0].text.rfind("Funkcja: ImportujPlikKalibracji()\n\n", 0), 0u);
    EXPECT_NE(script.boxes[0].text.find(root + "/" + name), std::string::npos);
    EXPECT_EQ(readText(utf8(calib())), before);
  }
  // The refused files are left as they were.
  EXPECT_EQ(readText(dirs.root() + "/tekst.sqset"), "to nie jest baza danych\n");
}

TEST_F(OptionsTest, AFailedExportShowsTheCopyMessageAndLogsIt) {
  const std::string target = cp1250FromUtf8(dirs.root()) + "/brak/kalibracja.sqset";
  script.fileNames = {chosenName(target)};
  FGlowna->Eksportujustawieniakalibracji1Click();
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].text, "Funkcja: EksportujPlikKalibracji()\n\n" +
                                      cp1250("Błąd podczas próby kopiowania pliku\nz\n") + calib() + "\ndo\n" +
                                      target +
                                      cp1250("\nWybrany plik lub jego katalog już nie istnieje (został usunięty "
                                             "albo przeniesiony).\nKod błędu: 2\n\nDane nie zostały zapisane."));
  EXPECT_EQ(script.boxes[0].caption, "Atrybuty");
  EXPECT_EQ(sqlRows(dirs.data() + "/logs.sqdb",
                    "select count(*) from `error` where fun='EksportujPlikKalibracji()'")[0][0],
            "1");
}

TEST_F(OptionsTest, TheSchoolTemplateCommandsShowTheTemplateDialog) {
  std::vector<QDialog*> shown;
  script.onShowModal = [&](QDialog* dialog) {
    shown.push_back(dialog);
    return 2;
  };
  FGlowna->findComponentAs<QAction>("Szablondanychszkoy1")->trigger();
  FGlowna->ToolButton11->click();
  EXPECT_EQ(shown, (std::vector<QDialog*> {FDaneSzkoly, FDaneSzkoly}));
}

class HelpTest : public OptionsTest {
 protected:
  std::vector<std::string> opened;
  bool openerWorks = true;
  void SetUp() override {
    OptionsTest::SetUp();
    platform::setDesktopOpener([this](const std::string& target) {
      opened.push_back(target);
      return openerWorks;
    });
  }
  void TearDown() override {
    platform::setDesktopOpener(nullptr);
    OptionsTest::TearDown();
  }
  std::string help() const { return cp1250FromUtf8(dirs.program()) + "/pomoc/index.html"; }
};

TEST_F(HelpTest, TheHelpCommandsOpenTheHelpWithTheDesktop) {
  FGlowna->findComponentAs<QAction>("Instrukcjaobsugi1")->trigger();
  FGlowna->PomocToolButton->click();
  FDrukuj->PomocButton->click();
  EXPECT_EQ(opened, (std::vector<std::string> {help(), help(), help()}));
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(HelpTest, AHelpThatCannotBeOpenedSaysSo) {
  openerWorks = false;
  FGlowna->Instrukcjaobsugi1Click();
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_NE(script.boxes[0].text.find(help()), std::string::npos);
  EXPECT_EQ(script.boxes[0].caption, "Pomoc");

  // A missing help is not handed to the desktop at all.
  fs::remove(utf8(help()));
  opened.clear();
  openerWorks = true;
  FGlowna->Instrukcjaobsugi1Click();
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(script.boxes.size(), 2u);
}

TEST(HelpPages, EveryPageTheHelpLinksToIsShippedAndNamesRealCommands) {
  const fs::path folder = fs::path(TARVEK_BUILT_PROGRAM_DIR) / "pomoc";
  ASSERT_TRUE(fs::exists(folder / "index.html"));
  std::string all;
  int pages = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".html") continue;
    ++pages;
    const QString page = QString::fromStdString(readText(entry.path().string()));
    all += page.toStdString();
    EXPECT_TRUE(page.contains("<meta charset=\"utf-8\">")) << entry.path();
    EXPECT_FALSE(page.contains("@")) << entry.path();  // every placeholder was filled
    const QRegularExpression link("(?:href|src)=\"([^\"#:]+)");
    for (auto it = link.globalMatch(page); it.hasNext();) {
      const std::string target = it.next().captured(1).toStdString();
      EXPECT_TRUE(fs::exists(folder / target)) << entry.path() << " -> " << target;
    }
  }
  EXPECT_GE(pages, 6);
  // The commands it explains are the program's own.
  for (const char* command :
       {"Szablon danych szkoły", "Dodaj nowego ucznia", "Edytuj wybrane świadectwo", "Drukuj wybrane świadectwo",
        "Formatowanie podstawowe ( tylko zmienne )", "Formatowanie zaawansowane ( wszystkie obiekty )",
        "Eksportuj ustawienia kalibracji", "Importuj ustawienia kalibracji", "Zapisz jako", "Otwórz plik",
        "Wykresuj puste pola", "Wyłącz kropki", "Ograniczenia pól tekstowych", "Zastosuj", "Logi programu"})
    EXPECT_NE(all.find(command), std::string::npos) << command;
}
