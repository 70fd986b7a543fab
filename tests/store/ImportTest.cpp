#include "store/Import.h"

#include "StoreTestSupport.h"
#include "store/SqlText.h"
#include "store/StudentTables.h"
#include "support/TvkText.h"

#include <filesystem>
#include <utility>

namespace fs = std::filesystem;

namespace {

const std::string kPersonal = "DANE UCZNIA";

class ImportTest : public StoreTest {
 protected:
  std::string target, source;
  std::vector<std::pair<std::string, std::size_t>> steps;  // text, rows it announced
  std::size_t rows = 0;
  TImportProgress progress {[this](const std::string& step, std::size_t total) { steps.emplace_back(step, total); },
                            [this](std::size_t done, std::size_t) { rows = done; }};

  void SetUp() override {
    target = data + "/data_tmp.tmp";
    source = cp1250FromUtf8(dirs.root()) + cp1250("/stare świadectwa.tvk");
    // The working copy holds a student the import replaces.
    sqlExec(target,
            "create table `PESEL9`( id TEXT, comp_name TEXT, value TEXT );"
            "insert into `PESEL9` values('DANE UCZNIA', 'Nazwisko_DATA_EDIT', 'Stary');");
  }
  void writeSource(const std::string& bytes) const { writeText(cp1250ToUtf8(source), bytes); }
  bool import() {
    return bFunImportDataFromFile(&ds, TSystemPath::fromText(target), TSystemPath::fromText(source), progress);
  }

  Rows stored(const std::string& table) const {
    return sqlRows(target, "select id, comp_name, value from `" + sqlName(table) + "` order by rowid");
  }
  std::vector<std::string> tables() const {
    std::vector<std::string> names;
    for (const auto& r : sqlRows(target, "select name from sqlite_master where type='table' order by rowid"))
      names.push_back(r[0]);
    return names;
  }
  std::string bytes(const std::string& path) const { return readText(cp1250ToUtf8(path)); }
};

// Three students, Polish letters in Windows-1250, CRLF line ends.
const TvkLines kThreeStudents = {
    "Plik z danymi świadectw",  // 1: outside every student
    "<DANE SWIADECTW DLA: Żółć Łucja>",
    "wiersz przed danymi ucznia",
    "<DANE UCZNIA TARVEK>",
    "<Nazwisko_DATA_EDIT>Żółć",  // 5
    "<Imie_DATA_EDIT>Łucja",
    "<UwagiUcznia_DATA_MEMO>pierwsza linia",
    "<UwagiUcznia_DATA_MEMO>druga > linia",
    "<Plec_DATA_COMBOBOX>kobieta",
    "<UwagiUcznia_DATA_MEMO>osobno",  // 10
    "wiersz bez wartości",
    "<NrPesel_DATA_EDIT>01234567890",
    "</DANE UCZNIA TARVEK>",
    "<KLASA Ia TARVEK>",
    "<ZMIENNA_Szczegolne_DATA_MEMO>konkurs \"Kangur\"",  // 15
    "<ZMIENNA_Szczegolne_DATA_MEMO>olimpiada <b>",
    "<ZMIENNA_Szczegolne_DATA_MEMO>zawody",
    "<ZMIENNA_Inne_DATA_MEMO>chór",
    "<ZMIENNA_Ocena_DATA_EDIT>5",
    "<ZMIENNA_Szczegolne_DATA_MEMO>znów",  // 20
    "</KLASA Ia TARVEK>",
    "",
    "<ARKUSZ OCEN STR 2b TARVEK>",
    "<ZMIENNA_Szczegolne_DATA_MEMO>dalej",
    "</ARKUSZ OCEN STR 2b TARVEK>",  // 25
    "</KONIEC DANYCH SWIADECTW>",
    "<DANE SWIADECTW DLA: O'Brien Anna>",
    "<DANE UCZNIA TARVEK>",
    "<Nazwisko_DATA_EDIT>O'Brien",
    "<Imie_DATA_EDIT>Anna",  // 30
    "<NrPesel_DATA_EDIT>77'`7",
    "<Pole`x'_DATA_EDIT>a'b`c",
    "</DANE UCZNIA TARVEK>",
    "<KLASA 'b` TARVEK>",
    "<ZMIENNA_Uwagi_DATA_EDIT>a > b <c> ' d",  // 35
    "</KLASA 'b` TARVEK>",
    "</KONIEC DANYCH SWIADECTW>",
    "<DANE SWIADECTW DLA: Ząb Ewa>",
    "<DANE UCZNIA TARVEK>",
    "<Nazwisko_DATA_EDIT>Ząb",  // 40
    "<NrPesel_DATA_EDIT>3",
    "</DANE UCZNIA TARVEK>",
    "<KLASA Ia TARVEK>",
    "<ZMIENNA_Zachowanie_DATA_COMBOBOX>dobre",
    "</KONIEC DANYCH SWIADECTW>",  // 45: also ends the open document
    "ostatni wiersz",
};

}  // namespace

TEST_F(ImportTest, EveryStudentBecomesATableWithTheRowsOfTheText) {
  writeSource(tvkText(kThreeStudents));
  ASSERT_TRUE(import()) << ds.ErrorStream.str();
  const std::string klasa = "KLASA Ia TARVEK";
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL01234567890", "PESEL77'`7", "PESEL3"}));
  EXPECT_EQ(stored("PESEL01234567890"),
            (Rows {{kPersonal, "Nazwisko_DATA_EDIT", cp1250("Żółć")},
                   {kPersonal, "Imie_DATA_EDIT", cp1250("Łucja")},
                   {kPersonal, "UwagiUcznia_DATA_MEMO", "pierwsza linia\ndruga > linia"},
                   {kPersonal, "Plec_DATA_COMBOBOX", "kobieta"},
                   {kPersonal, "UwagiUcznia_DATA_MEMO", "osobno"},
                   {kPersonal, "NrPesel_DATA_EDIT", "01234567890"},
                   {klasa, "ZMIENNA_Szczegolne_DATA_MEMO01", "konkurs \"Kangur\""},
                   {klasa, "ZMIENNA_Szczegolne_DATA_MEMO02", "olimpiada <b>"},
                   {klasa, "ZMIENNA_Szczegolne_DATA_MEMO03", "zawody"},
                   {klasa, "ZMIENNA_Inne_DATA_MEMO01", cp1250("chór")},
                   {klasa, "ZMIENNA_Ocena_DATA_EDIT", "5"},
                   {klasa, "ZMIENNA_Szczegolne_DATA_MEMO01", cp1250("znów")},
                   // the count goes on across the student's documents
                   {"ARKUSZ OCEN STR 2b TARVEK", "ZMIENNA_Szczegolne_DATA_MEMO02", "dalej"}}));
  // Quotes and backquotes in the number, names, tag and values import as themselves.
  EXPECT_EQ(stored("PESEL77'`7"), (Rows {{kPersonal, "Nazwisko_DATA_EDIT", "O'Brien"},
                                         {kPersonal, "Imie_DATA_EDIT", "Anna"},
                                         {kPersonal, "NrPesel_DATA_EDIT", "77'`7"},
                                         {kPersonal, "Pole`x'_DATA_EDIT", "a'b`c"},
                                         {"KLASA 'b` TARVEK", "ZMIENNA_Uwagi_DATA_EDIT", "a > b <c> ' d"}}));
  EXPECT_EQ(stored("PESEL3"), (Rows {{kPersonal, "Nazwisko_DATA_EDIT", cp1250("Ząb")},
                                     {kPersonal, "NrPesel_DATA_EDIT", "3"},
                                     {klasa, "ZMIENNA_Zachowanie_DATA_COMBOBOX", "dobre"}}));
  EXPECT_FALSE(exists(target + ".import"));

  const std::string certificates = cp1250("importuje świadectwa dla ");
  EXPECT_EQ(steps, (std::vector<std::pair<std::string, std::size_t>> {{"importuje dane ucznia...", 6},
                                                                      {certificates + "PESEL01234567890", 7},
                                                                      {"importuje dane ucznia...", 4},
                                                                      {certificates + "PESEL77'`7", 1},
                                                                      {"importuje dane ucznia...", 2},
                                                                      {certificates + "PESEL3", 1}}));
  EXPECT_EQ(rows, 1u);
  EXPECT_TRUE(logged().empty());
}

TEST_F(ImportTest, AFileThatCannotBeImportedLeavesTheTargetAsItWasAndSaysWhy) {
  const TvkLines lis = tvkStudent("Lis", "Anna", "1");
  TvkLines noPesel = lis;
  noPesel.erase(noPesel.begin() + 4);
  TvkLines unended = lis;
  unended.pop_back();
  const std::string student = cp1250("Błąd importu danych ucznia ");
  const std::string endMarker = "(\"</KONIEC DANYCH SWIADECTW>\").";
  const std::string truncated = cp1250("Plik kończy się przed końcem danych ucznia ") + endMarker;
  const std::string longNumber(45, '7');
  struct Case {
    const char* what;
    std::string text;
    std::string message;
    std::string fun;
  };
  const Case cases[] = {
      {"a PESEL twice", tvkText(tvkJoin({lis, tvkStudent("Kot", "Jan", "1")})),
       student + "nr 2 (Kot Jan), wiersz 15:\n" + cp1250("Numer PESEL 1 ma już inny uczeń tego pliku."),
       "bFunImportWriteStudent"},
      {"a PESEL twice in other letter case", tvkText(tvkJoin({tvkStudent("Lis", "Anna", "ab"), tvkStudent("Kot", "Jan", "AB")})),
       student + "nr 2 (Kot Jan), wiersz 15:\n" + cp1250("Numer PESEL AB ma już inny uczeń tego pliku."),
       "bFunImportWriteStudent"},
      {"no PESEL row", tvkText(noPesel),
       student + "nr 1 (Lis Anna), wiersz 5:\nBrak numeru PESEL ucznia (wiersz \"NrPesel_DATA_EDIT\").",
       "bFunImportReadStudentData"},
      {"no personal data at all", tvkText({"<DANE SWIADECTW DLA: Nowak Piotr>", "</KONIEC DANYCH SWIADECTW>"}),
       student + "nr 1 (Nowak Piotr), wiersz 2:\nBrak numeru PESEL ucznia (wiersz \"NrPesel_DATA_EDIT\").",
       "bFunImportReadStudentData"},
      {"a PESEL too long for a table", tvkText(tvkStudent("Lis", "Anna", longNumber)),
       student + "nr 1 (Lis Anna), wiersz 5:\n" + cp1250("Numer PESEL ucznia jest za długi: ") + longNumber,
       "bFunImportReadStudentData"},
      {"the last student cut in its documents",
       tvkText(tvkJoin({lis, TvkLines(lis.begin(), lis.begin() + 8)})),
       student + "nr 2 (Lis Anna), wiersz 18:\n" + truncated, "bFunImportReadCertData"},
      {"the last student cut in its personal data", tvkText(TvkLines(lis.begin(), lis.begin() + 4)),
       student + "nr 1 (Lis Anna), wiersz 4:\n" + truncated, "bFunImportReadStudentData"},
      {"the next student before the end of this one", tvkText(tvkJoin({unended, tvkStudent("Kot", "Jan", "2")})),
       student + "nr 1 (Lis Anna), wiersz 10:\n" +
           cp1250("Następny uczeń zaczyna się przed końcem danych tego ucznia ") + endMarker,
       "bFunImportReadCertData"},
      {"not text", std::string("SQLite format 3\0\x10\x00\x01\x01", 20) + "<DANE SWIADECTW DLA: x>",
       cp1250("Plik nie jest plikiem tekstowym: \n") + source, "bFunImportDataFromFile"},
      {"no student", tvkText({"Dane uczniów", ""}), cp1250("Plik nie zawiera danych uczniów: \n") + source,
       "bFunImportDataFromFile"},
  };
  const std::string before = bytes(target);
  for (const Case& c : cases) {
    writeSource(c.text);
    EXPECT_FALSE(import()) << c.what;
    expectFailure(c.message, c.fun);
    EXPECT_EQ(bytes(target), before) << c.what;
    EXPECT_FALSE(exists(target + ".import")) << c.what;
  }
}

TEST_F(ImportTest, AMissingSourceOrATargetThatCannotBeWrittenChangesNothing) {
  EXPECT_FALSE(import());
  expectFailure(cp1250("Plik źródłowy nie istnieje: \n") + source, "bFunImportDataFromFile");

  writeSource(tvkText(tvkStudent("Lis", "Anna", "1")));
  markReadOnly(target);
  const std::string before = bytes(target);
  EXPECT_FALSE(import());
  expectFailure(cp1250("Błąd zapisu pliku: \n") + target +
                    cp1250("\nBrak uprawnień do tego pliku lub katalogu. Wybierz inny katalog albo poproś "
                           "administratora o uprawnienia.\nKod błędu: 8"),
                "bFunImportDataFromFile");
  EXPECT_EQ(bytes(target), before);
  EXPECT_FALSE(exists(target + ".import"));

  const std::string nowhere = data + "/brak/data_tmp.tmp";  // no folder for the new file
  EXPECT_FALSE(bFunImportDataFromFile(&ds, TSystemPath::fromText(nowhere), TSystemPath::fromText(source)));
  expectFailure(cp1250("Błąd zapisu pliku: \n") + nowhere + cp1250(".import\nKod błędu: 14"),
                "bFunImportDataFromFile");
}

TEST_F(ImportTest, AMissingTargetIsMadeAndALeftoverNewFileIsReplaced) {
  fs::remove(cp1250ToUtf8(target));
  sqlExec(target + ".import", "create table `PESEL5`( a TEXT );");
  writeSource(tvkText(tvkStudent("Lis", "Anna", "1")));
  ASSERT_TRUE(import()) << ds.ErrorStream.str();
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL1"}));
  std::vector<TStudentListRecord> list;
  ASSERT_TRUE(bFunGetStudentsList(&ds, TSystemPath::fromText(target), list));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].DisplayName, "Lis Anna");
}

TEST_F(ImportTest, OverLongTagsAndNamesAreCutToTheirFieldsAndValuesUpToTheFieldGoInWhole) {
  const std::string tag(300, 'T'), name(300, 'N'), value(2047, 'v'), line(1000, 'm');
  writeSource(tvkText({"<DANE SWIADECTW DLA: x>", "<DANE UCZNIA TARVEK>", "<NrPesel_DATA_EDIT>1",
                       "<Dlugie_DATA_MEMO>" + line, "<Dlugie_DATA_MEMO>" + line, "<Dlugie_DATA_MEMO>" + line.substr(0, 45),
                       "</DANE UCZNIA TARVEK>", "<" + tag + ">", "<" + name + ">" + value, "</" + tag + ">",
                       "</KONIEC DANYCH SWIADECTW>"}));
  ASSERT_TRUE(import()) << ds.ErrorStream.str();
  const Rows got = stored("PESEL1");
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[1][2], line + "\n" + line + "\n" + line.substr(0, 45));  // 2047 characters
  EXPECT_EQ(got[2], (std::vector<std::string> {tag.substr(0, 254), name.substr(0, 254), value}));
}

// A value longer than its field is refused with the student and the line,
// never cut; a memo field counts all its lines joined.
TEST_F(ImportTest, AValueLongerThanItsFieldRefusesTheImportNamingStudentAndLine) {
  const std::string line(1000, 'm');
  const std::string student = cp1250("Błąd importu danych ucznia nr 1 (Lis Anna), wiersz ");
  auto tooLong = [](const std::string& name, std::size_t length) {
    return cp1250("Wartość pola \"") + name + cp1250("\" jest za długa: ") + std::to_string(length) +
           cp1250(" znaków, a pole mieści najwyżej 2047.\nSkróć tę wartość w pliku i zaimportuj go ponownie.");
  };
  TvkLines document = tvkStudent("Lis", "Anna", "1");
  document.insert(document.begin() + 8, "<ZMIENNA_Uwagi_DATA_EDIT>" + std::string(2048, 'v'));
  TvkLines memo = tvkStudent("Lis", "Anna", "1");
  memo.insert(memo.begin() + 5, {"<Uwagi_DATA_MEMO>" + line, "<Uwagi_DATA_MEMO>" + line, "<Uwagi_DATA_MEMO>" + line});
  TvkLines personal = tvkStudent("Lis", "Anna", "1");
  personal.insert(personal.begin() + 4, "<Miasto_DATA_EDIT>" + std::string(3000, 'w'));
  struct Case {
    const char* what;
    TvkLines lines;
    std::string message;
    const char* fun;
  };
  const Case cases[] = {
      {"a document row", document, student + "9:\n" + tooLong("ZMIENNA_Uwagi_DATA_EDIT", 2048), "bFunImportReadCertData"},
      {"three memo lines", memo, student + "8:\n" + tooLong("Uwagi_DATA_MEMO", 3002), "bFunImportReadStudentData"},
      {"a personal row", personal, student + "5:\n" + tooLong("Miasto_DATA_EDIT", 3000), "bFunImportReadStudentData"},
  };
  const std::string before = bytes(target);
  for (const Case& c : cases) {
    writeSource(tvkText(tvkJoin({tvkStudent("Kot", "Jan", "2"), c.lines})));
    EXPECT_FALSE(import()) << c.what;
    const std::string shifted = cp1250("Błąd importu danych ucznia nr 2 (Lis Anna), wiersz ") +
                                std::to_string(std::stoul(c.message.substr(student.size())) + 10) +
                                c.message.substr(c.message.find(':'));
    expectFailure(shifted, c.fun);
    EXPECT_EQ(bytes(target), before) << c.what;
  }
}

// What a message quotes from the file is bounded: a student named by a
// whole line of any length, a line that is the whole file.
TEST_F(ImportTest, MessagesQuoteBoundedNamesAndLinesAndSayWhenLinesEndInCarriageReturnsOnly) {
  std::string crOnly;
  for (int copy = 0; copy < 2000; ++copy)
    for (const std::string& line : tvkStudent("Lis", "Anna", std::to_string(copy))) crOnly += line + "\r";
  writeSource(crOnly);
  const std::string before = bytes(target);
  EXPECT_FALSE(import());
  expectFailure(cp1250("Plik nie ma podziału na wiersze: wiersze kończą się w nim samym znakiem powrotu karetki "
                       "(CR), bez znaku nowego wiersza (LF).\nZapisz plik ponownie z końcami wierszy CR LF albo LF "
                       "(na przykład w Notatniku) i zaimportuj go jeszcze raz: \n") +
                    source,
                "bFunImportDataFromFile");
  EXPECT_EQ(bytes(target), before);

  const std::string heading(5000, 'K');
  writeSource(tvkText({"<DANE SWIADECTW DLA: " + heading + ">", "<DANE UCZNIA TARVEK>",
                       "<NrPesel_DATA_EDIT>" + std::string(1000, '7'), "</DANE UCZNIA TARVEK>",
                       "</KONIEC DANYCH SWIADECTW>"}));
  EXPECT_FALSE(import());
  expectFailure(cp1250("Błąd importu danych ucznia nr 1 (") + heading.substr(0, 60) + "...), wiersz 3:\n" +
                    cp1250("Numer PESEL ucznia jest za długi: ") +
                    std::string(200 - std::string(cp1250("Numer PESEL ucznia jest za długi: ")).size(), '7') + "...",
                "bFunImportReadStudentData");
}

TEST_F(ImportTest, AStudentThatFailsHalfWrittenLeavesNoRowOfIt) {
  const std::string fresh = data + "/nowy.sqtvk";
  TImportStudent first, second;
  first.table = "PESEL1";
  second.table = "PESEL2";
  for (TImportStudent* s : {&first, &second}) {
    TDataRecord r;
    r.comp_name = "Nazwisko_DATA_EDIT";
    r.value = "Lis";
    s->personal = {r, r};
    r.id = "KLASA Ia TARVEK";
    s->documents = {r, r, r};
  }
  CppSQLite3DB db;
  db.openFile(TSystemPath::fromText(fresh));
  TImportFailure failure;
  ASSERT_TRUE(bFunImportWriteStudent(db, first, {}, failure));
  // The second document row of the second student fails as a full disk would.
  bool documents = false;
  const TImportProgress failing {[&](const std::string& step, std::size_t) { documents = step != "importuje dane ucznia..."; },
                                 [&](std::size_t done, std::size_t) {
                                   if (documents && done == 2) throw CppSQLite3Exception(SQLITE_FULL, "full");
                                 }};
  second.line = 7;
  EXPECT_FALSE(bFunImportWriteStudent(db, second, failing, failure));
  EXPECT_EQ(failure.line, 7u);
  EXPECT_EQ(failure.reason, "SQLite exception: \nSQLITE_FULL");
  EXPECT_TRUE(failure.writing);  // the disk's fault, not the student's
  EXPECT_EQ(failure.file.sqliteCode, SQLITE_FULL);
  EXPECT_EQ(failure.fun, "bFunSqlImportWriteCertDataToDB()");
  db.closeFile();
  EXPECT_EQ(sqlRows(fresh, "select name from sqlite_master"), (Rows {{"PESEL1"}}));
  EXPECT_EQ(sqlRows(fresh, "select count(*) from PESEL1"), (Rows {{"5"}}));
}
