// Files the user chooses, as every command that reads one meets them: a
// named pipe or a folder under the chosen name, a document whose student
// tables are not as this program makes them, a calibration file that lacks
// layouts, and the messages of a full disk and of a file-size limit.
#include "StudentFixture.h"

#include "app/ImportUnit.h"
#include "app/SQLImportUnit.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"
#include "render/DocumentKinds.h"
#include "render/Kalibracja.h"
#include "support/TvkText.h"

#include <QAction>
#include <QListWidget>

#include <fstream>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class ChosenFilesTest : public StudentTest {
 protected:
  std::string u(const std::string& path) const { return cp1250ToUtf8(path); }
  std::string calib() const { return dirs.data() + "/tvk_kalibracja.sqset"; }
  std::string student() { return makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}}); }
  // The commands as the menus run them, with the file chosen in the dialog.
  void choose(const std::string& path) { script.fileNames = {chosenName(path)}; }
  void importFromMenu(const std::string& path) {
    choose(path);
    FGlowna->findComponentAs<QAction>("Importuj1")->trigger();
  }
  void importCalibrationFromMenu(const std::string& path) {
    choose(path);
    FGlowna->findComponentAs<QAction>("Importujustawieniakalibracji1")->trigger();
  }
  TShownBox lastBox() const { return script.boxes.empty() ? TShownBox {} : script.boxes.back(); }
};

const std::string kPipe = cp1250("Wybrana nazwa nie jest zwykłym plikiem, tylko potokiem, urządzeniem albo gniazdem. "
                                 "Wybierz plik.");
const std::string kFolder = cp1250("Wybrana nazwa jest nazwą katalogu, a nie pliku. Wybierz plik.\nKod błędu: 21");

}  // namespace

// A named pipe or a folder under the chosen name, in every command that
// reads the file: refused at once (an alarm would end a command that waits
// on the pipe), with the command's own sentence for a file it cannot take
// and what the name is instead; nothing changes.
TEST_F(ChosenFilesTest, APipeOrAFolderChosenInAnyCommandIsRefusedAtOnceAndSaysWhy) {
  const std::string document = student();
  open(document);
  const std::string calibration = readText(u(calib()));
  const std::string workingCopy = readText(u(tmp()));
  const std::string dontImport = cp1250("Dane nie zostały zaimportowane.\n\nPlik nie jest plikiem tekstowym: \n");
  const std::string dontCalibrate = cp1250("Funkcja: ImportujPlikKalibracji()\n\nWybrany plik nie jest plikiem "
                                           "kalibracji (bazą danych z tablicami formatowania):\n");
  const std::string calibrationKept = cp1250("\n\nUstawienia kalibracji nie zostały zmienione.");
  const std::string notDocument = cp1250("Wybrany plik nie jest plikiem świadectw albo jest uszkodzony:\n");
  const std::string documentKept = cp1250("\nDane świadectw nie zostały wczytane.");
  struct Case {
    const char* what;
    std::string name;
    bool pipe;
    std::function<void(const std::string&)> run;
    std::function<TShownBox(const std::string& path, const std::string& why)> box;
  };
  const Case cases[] = {
      {"Importuj", "uczniowie z potoku ąę.tvk", true, [&](const std::string& p) { importFromMenu(p); },
       [&](const std::string& p, const std::string& w) {
         return TShownBox {dontImport + p + "\n" + w, cp1250("Błąd"), MB_OK | MB_ICONSTOP};
       }},
      {"Importuj", "katalog uczniów ąę.tvk", false, [&](const std::string& p) { importFromMenu(p); },
       [&](const std::string& p, const std::string& w) {
         return TShownBox {dontImport + p + "\n" + w, cp1250("Błąd"), MB_OK | MB_ICONSTOP};
       }},
      {"Importuj ustawienia kalibracji", "kalibracja z potoku ść.sqset", true,
       [&](const std::string& p) { importCalibrationFromMenu(p); },
       [&](const std::string& p, const std::string& w) {
         return TShownBox {dontCalibrate + p + "\n" + w + calibrationKept, "Atrybuty", MB_OK | MB_ICONWARNING};
       }},
      {"Importuj ustawienia kalibracji", "katalog kalibracji ść.sqset", false,
       [&](const std::string& p) { importCalibrationFromMenu(p); },
       [&](const std::string& p, const std::string& w) {
         return TShownBox {dontCalibrate + p + "\n" + w + calibrationKept, "Atrybuty", MB_OK | MB_ICONWARNING};
       }},
      {"Otwórz plik", "świadectwa z potoku.sqtvk", true,
       [&](const std::string& p) {
         choose(p);
         FGlowna->OtworzPlikToolButtonClick();
       },
       [&](const std::string& p, const std::string& w) {
         return TShownBox {notDocument + p + "\n" + w + documentKept, cp1250("Błąd"), MB_OK | MB_ICONSTOP};
       }},
      {"Importuj dane uczniów", "uczniowie z potoku.dvt", true,
       [&](const std::string& p) {
         choose(p);
         FImport->WczytajPlikButtonClick();
       },
       [&](const std::string& p, const std::string& w) {
         return TShownBox {cp1250("Nie można odczytać wybranego pliku:\n") + p + "\n" + w, cp1250("Błąd"),
                           MB_OK | MB_ICONSTOP};
       }},
      // Last: a failed open from the command line empties the status bar.
      {"the command line", "katalog świadectw.sqtvk", false,
       [&](const std::string& p) { vFunOtworzPlikZLiniiPolecen(TSystemPath::fromText(p)); },
       [&](const std::string& p, const std::string& w) {
         return TShownBox {notDocument + p + "\n" + w + documentKept, cp1250("Błąd"), MB_OK | MB_ICONSTOP};
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.what) + ": " + c.name);
    const std::string path = documentPath(cp1250(c.name.c_str()));
    if (c.pipe)
      ASSERT_EQ(::mkfifo(u(path).c_str(), 0666), 0);
    else
      fs::create_directory(u(path));
    script.boxes.clear();
    ::alarm(20);  // a command that waits on the pipe ends the test here
    c.run(path);
    ::alarm(0);
    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_EQ(script.boxes[0], c.box(path, c.pipe ? kPipe : kFolder));
    EXPECT_EQ(readText(u(calib())), calibration);
    EXPECT_EQ(readText(u(tmp())), workingCopy);
    EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));
    EXPECT_EQ(FGlowna->StatusBar->SimpleText(), std::string(c.what) == "the command line" ? "" : document);
    EXPECT_FALSE(FSQLImport->isVisible());
  }
  EXPECT_EQ(FImport->ListaUczniowListBox->count(), 0);
}

// A document whose student table has a generated column (here one whose
// expression fails when it runs), has no rowid, or other columns than the
// program's: refused when chosen, before any row is read; the document
// open before stays.
TEST_F(ChosenFilesTest, ADocumentWhoseStudentTablesAreNotAsTheProgramMakesThemIsRefused) {
  const std::string document = student();
  open(document);
  const std::string rows = "insert into `PESEL5`( id, comp_name ) values('DANE UCZNIA', 'Nazwisko_DATA_EDIT');";
  const std::pair<const char*, std::string> cases[] = {
      {"kolumna wyliczana.sqtvk",
       "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT AS ('Kowalski') );" + rows +
           "pragma writable_schema=ON; update sqlite_master set sql=replace(sql, '''Kowalski''', "
           "'zeroblob(2000000000)') where name='PESEL5';"},
      {"kolumna zapisana.sqtvk",
       "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT AS ('Kowalski') STORED );" + rows},
      {"bez rowid.sqtvk",
       "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT, primary key( id, comp_name ) ) without rowid;"
       "insert into `PESEL5` values('DANE UCZNIA', 'Nazwisko_DATA_EDIT', 'Kowalski');"},
      {"cztery kolumny.sqtvk",
       "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT, uwagi TEXT );"
       "insert into `PESEL5` values('DANE UCZNIA', 'Nazwisko_DATA_EDIT', 'Kowalski', '');"},
  };
  for (const auto& [name, sql] : cases) {
    SCOPED_TRACE(name);
    const std::string path = documentPath(cp1250("zły plik ") + name);
    sqlExec(path, sql);
    script.boxes.clear();
    choose(path);
    FGlowna->OtworzPlikToolButtonClick();
    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_EQ(script.boxes[0],
              (TShownBox {cp1250("Wybrany plik nie jest plikiem świadectw albo jest uszkodzony:\n") + path +
                              cp1250("\nDane świadectw nie zostały wczytane."),
                          cp1250("Błąd"), MB_OK | MB_ICONSTOP}));
    EXPECT_EQ(FGlowna->StatusBar->SimpleText(), document);
    EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL1"}));
    EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));
  }
}

// A calibration file that lacks layouts of the program, or rows of one,
// would leave documents without their places: refused, naming what is
// missing, and the calibration stays as it was.
TEST_F(ChosenFilesTest, ACalibrationFileWithoutEveryLayoutAndRowIsRefusedNamingWhatIsMissing) {
  const std::string exported = cp1250FromUtf8(dirs.root()) + cp1250("/kalibracja ze szkoły.sqset");
  script.fileNames = {chosenName(exported)};
  FGlowna->Eksportujustawieniakalibracji1Click();
  ASSERT_TRUE(script.boxes.empty());
  const Rows tables = sqlRows(calib(), "select name from sqlite_master where type='table' order by name");
  // A layout of each document kind, and its twin without dots where it has one.
  std::size_t layouts = 0;
  for (const TDocKindInfo& kind : kDocKinds) layouts += kind.tableNoDots ? 2 : 1;
  ASSERT_EQ(tables.size(), layouts);
  const std::string before = readText(u(calib()));

  const std::string oneTable = cp1250FromUtf8(dirs.root()) + cp1250("/jedna tablica ąę.sqset");
  fs::copy_file(u(exported), u(oneTable));
  std::string drop;
  for (const auto& t : tables)
    if (t[0] != "tarvek_wywiadowka") drop += "drop table `" + t[0] + "`;";
  sqlExec(oneTable, drop);
  const std::string noRow = cp1250FromUtf8(dirs.root()) + cp1250("/bez wiersza ąę.sqset");
  fs::copy_file(u(exported), u(noRow));
  sqlExec(noRow, "delete from `tarvek_klasa_Ia` where name='ZMIENNA_ImieNazwisko_STR1_DATA_EDIT'");

  const std::string head = cp1250("Funkcja: ImportujPlikKalibracji()\n\nWybrany plik kalibracji nie zawiera "
                                  "wszystkich ustawień programu:\n");
  const std::string kept = cp1250("\n\nUstawienia kalibracji nie zostały zmienione.");
  const std::pair<std::string, std::string> cases[] = {
      {oneTable, cp1250("Brak tablic formatowania (" + std::to_string(layouts - 1) + " z " + std::to_string(layouts) +
                        "): tarvek_arkusz_str1, tarvek_arkusz_str1b, tarvek_arkusz_str2, tarvek_arkusz_str2_kol1, "
                        "tarvek_arkusz_str2_kol2 i jeszcze " + std::to_string(layouts - 1 - 5) + ".")},
      {noRow, "Brak wierszy (1) w tablicy tarvek_klasa_Ia: ZMIENNA_ImieNazwisko_STR1_DATA_EDIT."},
  };
  for (const auto& [file, missing] : cases) {
    SCOPED_TRACE(file);
    script.boxes.clear();
    importCalibrationFromMenu(file);
    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_EQ(script.boxes[0], (TShownBox {head + file + "\n" + missing + kept, "Atrybuty", MB_OK | MB_ICONWARNING}));
    EXPECT_EQ(readText(u(calib())), before);
  }
  // The whole file is taken.
  script.boxes.clear();
  importCalibrationFromMenu(exported);
  EXPECT_TRUE(script.boxes.empty());
}

// A save, an export or an import that meets the file-size limit of the
// system says so in a sentence, with the system's number after it; the
// files stay as they were.
TEST_F(ChosenFilesTest, AFileSizeLimitIsToldInASentenceWithItsNumber) {
  const std::string document = student();
  open(document);
  sqlExec(tmp(), "create table `PESEL2`( id TEXT, comp_name TEXT, value TEXT ); insert into `PESEL2` "
                 "select 'DANE UCZNIA', 'Pole', hex(zeroblob(2000)) from (select 1 union select 2 union select 3 "
                 "union select 4 union select 5 union select 6 union select 7 union select 8);");
  const std::string before = readText(u(document));
  const std::string workingCopy = readText(u(tmp()));
  const std::string source = documentPath(cp1250("uczniowie śląscy.tvk"));
  writeText(u(source), tvkText(tvkJoin({tvkStudent("Żak", "Łucja", "5"), tvkStudent("Adamski", "Jan", "6")})));
  const std::string exported = documentPath(cp1250("kalibracja ze szkoły.sqset"));

  platform::ignoreFileSizeSignal();  // as the program's start does
  rlimit old {};
  ::getrlimit(RLIMIT_FSIZE, &old);
  const rlimit limit {8192, old.rlim_max};
  ::setrlimit(RLIMIT_FSIZE, &limit);
  const bool saved = FGlowna->Zapisz1Click();
  choose(exported);
  FGlowna->Eksportujustawieniakalibracji1Click();
  importFromMenu(source);
  ::setrlimit(RLIMIT_FSIZE, &old);

  EXPECT_FALSE(saved);
  const std::string limited = cp1250("\nPlik przekroczył największy rozmiar, na jaki system pozwala. Poproś "
                                     "administratora o zwiększenie tego limitu albo zapisz dane na innym "
                                     "dysku.\nKod błędu: 27");
  const std::string notSaved = cp1250("\n\nDane nie zostały zapisane.");
  ASSERT_EQ(script.boxes.size(), 3u);
  EXPECT_EQ(script.boxes[0].text, cp1250("Błąd kopiowania pliku z\n") + tmp() + "\ndo:\n" + document + limited + notSaved);
  EXPECT_EQ(script.boxes[1].text, "Funkcja: EksportujPlikKalibracji()\n\n" +
                                      cp1250("Błąd podczas próby kopiowania pliku\nz\n") + calib() + "\ndo\n" +
                                      exported + limited + notSaved);
  EXPECT_EQ(script.boxes[2].text, cp1250("Dane nie zostały zaimportowane.\n\nBłąd zapisu pliku: \n") + tmp() +
                                      ".import" + limited);
  EXPECT_EQ(readText(u(document)), before);
  EXPECT_EQ(readText(u(tmp())), workingCopy);
  EXPECT_FALSE(fs::exists(u(exported)));
}

namespace {

// The data folder on a small file system of its own, filled up to the last
// block once the program has started (made only where the test may mount
// one).
class FullDiskTest : public ChosenFilesTest {
 protected:
  bool mounted = false;
  void SetUp() override {
    AppTest::SetUp();
    fs::create_directories(dirs.common());
    if (::geteuid() != 0 || ::mount("tarvek-test", dirs.common().c_str(), "tmpfs", 0, "size=64m") != 0)
      GTEST_SKIP() << "no small file system can be mounted here";
    mounted = true;
    start();
    script.boxes.clear();
  }
  void TearDown() override {
    AppTest::TearDown();
    if (mounted) ::umount2(dirs.common().c_str(), MNT_DETACH);
  }
  void fillUp() const {
    std::ofstream filler(dirs.common() + "/wypełnienie", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), block.size())) {
    }
  }
  const std::string full = cp1250("Na dysku zabrakło miejsca. Zwolnij miejsce na dysku i spróbuj ponownie.\n");
};

}  // namespace

// A student saved on a full disk: the sentence of a full disk and the
// number, not SQLite's name of it; the student's stored rows stay.
TEST_F(FullDiskTest, AStudentSaveOnAFullDiskSaysSoInASentence) {
  open(student());
  select(0);
  fillUp();
  script.onShowModal = [](QDialog*) {
    bFunSetText(FDaneUcznia->Nazwisko_DATA_EDIT, cp1250("Zmieniona Źrebiec"));
    FDaneUcznia->OKButtonClick();
    return FDaneUcznia->result() == mrOk ? mrOk : mrCancel;
  };
  FGlowna->EdytujDaneUczniaToolButtonClick();
  ASSERT_FALSE(script.boxes.empty());
  EXPECT_EQ(script.boxes[0], (TShownBox {cp1250("Błąd zapisu danych.\n\n") + full + cp1250("Kod błędu: 13"), cp1250("Błąd"),
                                         MB_OK | MB_ICONSTOP}));
  EXPECT_EQ(stored("PESEL1"), personalRows("Lis", "Anna", "1"));
}

// An import that fills the disk blames no student and no line of the file.
TEST_F(FullDiskTest, AnImportOnAFullDiskSaysSoAndBlamesNoStudent) {
  open(student());
  const std::string source = documentPath(cp1250("uczniowie śląscy.tvk"));
  writeText(u(source), tvkText(tvkJoin({tvkStudent("Żak", "Łucja", "5"), tvkStudent("Adamski", "Jan", "6")})));
  const std::string before = readText(u(tmp()));
  fillUp();
  importFromMenu(source);
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0], (TShownBox {cp1250("Dane nie zostały zaimportowane.\n\nBłąd zapisu pliku: \n") + tmp() +
                                             ".import\n" + full + cp1250("Kod błędu: 13"),
                                         cp1250("Błąd"), MB_OK | MB_ICONSTOP}));
  EXPECT_EQ(readText(u(tmp())), before);
  EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));
}

// "Zastosuj" in the calibration editor once the disk is full: the sentence
// of a full disk after SQLite's name of the code, and the layout's row as it
// was.
TEST_F(FullDiskTest, ACalibrationChangeOnAFullDiskSaysSoInASentence) {
  const std::string layout = "tarvek_wywiadowka";
  const std::string row = "select x1, y1 from `" + layout + "` order by rowid limit 1";
  const Rows before = sqlRows(calib(), row);
  script.onShowModal = [&](QDialog* dialog) {
    if (dialog != FKalibracja) return 0;
    FKalibracja->TypSwiadectwaComboBox->setCurrentIndex(
        FKalibracja->TypSwiadectwaComboBox->findText(QString::fromStdString(layout)));
    FKalibracja->TypSwiadectwaComboBoxChange();
    FKalibracja->VariableComboBox->setCurrentIndex(0);
    FKalibracja->VariableComboBoxChange();
    fillUp();
    script.boxes.clear();
    FKalibracja->RightSpeedButtonClick();
    FKalibracja->SaveButton->click();
    return 1;
  };
  FGlowna->Ustawieniaczcionki1Click();
  script.onShowModal = nullptr;
  ASSERT_FALSE(script.boxes.empty());
  EXPECT_EQ(script.boxes[0].text, cp1250("Błąd podczas próby zapisania danych kalibracji.\n\nSqlException\nSQLITE_FULL\n") +
                                      full.substr(0, full.size() - 1));
  EXPECT_EQ(sqlRows(calib(), row), before);
}
