#include "store/StudentTables.h"

#include "StoreTestSupport.h"
#include "store/CppSQLite3.h"

#include <filesystem>
#include <utility>

namespace fs = std::filesystem;

namespace {

TDataRecord row(const std::string& id, const std::string& name, const std::string& value) {
  TDataRecord r;
  r.id = id;
  r.comp_name = name;
  r.value = value;
  return r;
}

Rows asRows(const std::vector<TDataRecord>& list) {
  Rows rows;
  for (const TDataRecord& r : list) rows.push_back({r.id, r.comp_name, r.value});
  return rows;
}

// A student as the forms hand it over: personal data first, then a
// multi-line field whose lines must come back in this order.
std::vector<TDataRecord> student(const std::string& surname, const std::string& firstName) {
  return {
      row("DANE UCZNIA", "Nazwisko_DATA_EDIT", surname),
      row("DANE UCZNIA", "Imie_DATA_EDIT", firstName),
      row("ARKUSZ OCEN STR 2b TARVEK", "ZMIENNA_Szczegolne_DATA_MEMO01", "zawody"),
      row("ARKUSZ OCEN STR 2b TARVEK", "ZMIENNA_Szczegolne_DATA_MEMO02", "bieg"),
      row("ARKUSZ OCEN STR 2b TARVEK", "ZMIENNA_Szczegolne_DATA_MEMO03", "autor"),
      row("KLASA Ia TARVEK", "ZMIENNA_Uwagi_STR2_DATA_EDIT", ""),
  };
}

class StudentTablesTest : public StoreTest {
 protected:
  TSystemPath file;
  void SetUp() override {
    file = TSystemPath::fromText(data) / "data_tmp.tmp";
    sqlExec(file, "create table `dummy`( a TEXT ); drop table `dummy`;");
  }
  Rows stored(const std::string& table) const {
    return sqlRows(file, "select id, comp_name, value from `" + table + "` order by rowid");
  }
  std::vector<TDataRecord> load(const std::string& table) {
    std::vector<TDataRecord> list;
    EXPECT_TRUE(bFunLoadCertData(&ds, file, table, list)) << ds.ErrorStream.str();
    return list;
  }
};

}  // namespace

TEST(SqlEscapeValue, DoublesEveryQuoteIntoANewText) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"'", "''"}, {"O'Brien", "O''Brien"}, {"''", "''''"}, {"a'b'c", "a''b''c"}, {"bez", "bez"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(bFunSqlEscapeValue(in), out) << in;
}

TEST_F(StudentTablesTest, CheckIsStudentExists) {
  sqlExec(file, "create table `PESEL90010112345`( id TEXT, comp_name TEXT, value TEXT )");
  EXPECT_EQ(iFunCheckIsStudentExists(&ds, file, "PESEL90010112345", false), 1);
  EXPECT_EQ(iFunCheckIsStudentExists(&ds, file, "pesel90010112345", false), 0);

  const std::string missing = data + "/nowy.sqtvk";
  EXPECT_EQ(iFunCheckIsStudentExists(&ds, TSystemPath::fromText(missing), "PESEL1", false), -1);
  expectFailure("Plik nie istnieje: \n" + missing, "iFunCheckIsStudentExists");
  EXPECT_FALSE(exists(missing));

  EXPECT_EQ(iFunCheckIsStudentExists(&ds, TSystemPath::fromText(missing), "PESEL1", true), 0);
  EXPECT_TRUE(exists(missing));
  EXPECT_TRUE(sqlRows(missing, "select * from sqlite_master").empty());
}

TEST_F(StudentTablesTest, CheckIsStudentExistsReportsAFileItCannotOpen) {
  const std::string folder = data + "/folder.sqtvk";
  fs::create_directory(cp1250ToUtf8(folder));
  EXPECT_EQ(iFunCheckIsStudentExists(&ds, TSystemPath::fromText(folder), "PESEL1", true), -1);
  expectFailure("SQLite exception: \nSQLITE_CANTOPEN", "iFunCheckIsStudentExists");
}

TEST_F(StudentTablesTest, TableListHoldsTablesOnlyAndAppends) {
  sqlExec(file,
          "create table `PESEL1`( id TEXT, comp_name TEXT, value TEXT );"
          "create index `i1` on `PESEL1`( id ); create view `v1` as select * from `PESEL1`;"
          "create table `PESEL2`( id TEXT, comp_name TEXT, value TEXT ); analyze;");
  std::vector<std::string> list = {"earlier"};
  EXPECT_TRUE(bFunGetTableList(&ds, file, list));
  EXPECT_EQ(list, (std::vector<std::string> {"earlier", "PESEL1", "PESEL2"}));

  const std::string missing = data + "/brak.sqtvk";
  EXPECT_FALSE(bFunGetTableList(&ds, TSystemPath::fromText(missing), list));
  expectFailure("Plik nie istnieje: \n:" + missing, "bFunGetTableList");
}

TEST_F(StudentTablesTest, StudentsListBuildsDisplayNamesAndSurvivesOddTableNames) {
  const std::string odd = "PESEL`1' or '1'='1";
  ASSERT_TRUE(bFunSaveCertData(&ds, file, "PESEL2", student(cp1250("Żak"), "Ewa")));
  ASSERT_TRUE(bFunSaveCertData(&ds, file, odd, student("O'Hara", "Jan")));
  ASSERT_TRUE(bFunSaveCertData(&ds, file, "PESEL3", {row("DANE UCZNIA", "Imie_DATA_EDIT", "Ola")}));
  sqlExec(file,
          "create table `PESEL4`( id TEXT, comp_name TEXT, value TEXT );"
          "insert into `PESEL4` values( 'DANE UCZNIA', 'Nazwisko_DATA_EDIT', NULL );"
          "create table `PESEL" + std::string(60, '9') + "`( id TEXT, comp_name TEXT, value TEXT );");
  std::vector<TStudentListRecord> list(1);
  ASSERT_TRUE(bFunGetStudentsList(&ds, file, list));
  Rows got;
  for (const TStudentListRecord& s : list) got.push_back({s.DisplayName, s.TableName});
  EXPECT_EQ(got, (Rows {{"", ""}, {cp1250("Żak Ewa"), "PESEL2"}, {"O'Hara Jan", odd}, {" Ola", "PESEL3"},
                        {" ", "PESEL4"}}));
}

// Names as a file made elsewhere may store them read as a text of them
// would: a number, a blob, a text up to a zero byte in it.
TEST_F(StudentTablesTest, StudentsListReadsNamesOfEveryStoredKind) {
  sqlExec(file,
          "create table `PESEL5`( id, comp_name, value );"
          "insert into `PESEL5` values( 'DANE UCZNIA', 'Nazwisko_DATA_EDIT', 12 ),"
          "( 'DANE UCZNIA', 'Imie_DATA_EDIT', 1.5 );"
          "create table `PESEL6`( id TEXT, comp_name TEXT, value TEXT );"
          "insert into `PESEL6` values( 'DANE UCZNIA', 'Nazwisko_DATA_EDIT', x'4B6F74' ),"
          "( 'DANE UCZNIA', 'Imie_DATA_EDIT', 'Ala' || char(0) || 'x' );");
  std::vector<TStudentListRecord> list;
  ASSERT_TRUE(bFunGetStudentsList(&ds, file, list)) << ds.ErrorStream.str();
  Rows got;
  for (const TStudentListRecord& s : list) got.push_back({s.DisplayName, s.TableName});
  EXPECT_EQ(got, (Rows {{"12 1.5", "PESEL5"}, {"Kot Ala", "PESEL6"}}));
}

TEST_F(StudentTablesTest, StudentsListOfAnEmptyFileIsEmpty) {
  std::vector<TStudentListRecord> list;
  EXPECT_TRUE(bFunGetStudentsList(&ds, file, list));
  EXPECT_TRUE(list.empty());
}

TEST_F(StudentTablesTest, StudentsListFailureKeepsTheEntriesBeforeIt) {
  ASSERT_TRUE(bFunSaveCertData(&ds, file, "PESEL1", student("Nowak", "Anna")));
  sqlExec(file, "create table `PESEL2`( a TEXT )");
  std::vector<TStudentListRecord> list;
  EXPECT_FALSE(bFunGetStudentsList(&ds, file, list));
  expectFailure("SQL exception: \nSQLITE_ERROR", "bFunGetStudentsList");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].DisplayName, "Nowak Anna");

  const std::string missing = data + "/brak.sqtvk";
  EXPECT_FALSE(bFunGetStudentsList(&ds, TSystemPath::fromText(missing), list));
  expectFailure("Plik nie istnieje: \n:" + missing, "bFunGetTableList");
}

TEST_F(StudentTablesTest, GetValueReadsAColumnOrKeepsTheText) {
  sqlExec(file, "create table `t`( value TEXT ); insert into `t` values( NULL );");
  CppSQLite3DB db;
  db.openFile(file);
  CppSQLite3Query q = db.runQuery("select * from `t`");
  std::string text = "before";
  EXPECT_TRUE(bFunGetValue(&ds, q, "value", text));
  EXPECT_EQ(text, "");
  text = "kept";
  EXPECT_FALSE(bFunGetValue(&ds, q, "nie_ma", text));
  EXPECT_EQ(text, "kept");
  expectFailure("SQL exception: \nCPPSQLITE_ERROR", "bFunGetValue");
}

TEST_F(StudentTablesTest, SaveAndLoadRoundTripInInsertionOrder) {
  std::vector<TDataRecord> list = student("O'Brien", cp1250("Łucja"));
  list.push_back(row("X", "Apostrof", "'"));
  std::vector<std::pair<std::size_t, std::size_t>> progress;
  ASSERT_TRUE(bFunSaveCertData(&ds, file, "PESEL1", list,
                               [&](std::size_t done, std::size_t total) { progress.emplace_back(done, total); }));
  EXPECT_EQ(progress.size(), list.size());
  EXPECT_EQ(progress.back(), std::make_pair(list.size(), list.size()));
  EXPECT_EQ(list[0].value, "O'Brien");  // the caller's rows are not touched
  EXPECT_EQ(stored("PESEL1"), asRows(list));

  // With an index over every column that the statistics call cheap, a plain
  // scan follows the index; the load still gives the rows in saved order.
  sqlExec(file, "create index `by_value` on `PESEL1`( value, comp_name, id ); analyze;"
                "update sqlite_stat1 set stat = stat || ' sz=1' where idx = 'by_value';");
  EXPECT_EQ(asRows(load("PESEL1")), asRows(list));

  // The same list saved again is stored the same, not doubled again.
  ASSERT_TRUE(bFunSaveCertData(&ds, file, "PESEL2", list));
  EXPECT_EQ(stored("PESEL2"), asRows(list));
}

TEST_F(StudentTablesTest, LoadAppendsAndReadsNullAsEmptyAndCutsLongTexts) {
  sqlExec(file, "create table `PESEL1`( id TEXT, comp_name TEXT, value TEXT );"
                "insert into `PESEL1` values( 'DANE UCZNIA', NULL, '" + std::string(3000, 'v') + "' );"
                "create table `PESEL2`( id TEXT, comp_name TEXT, value TEXT );");
  std::vector<TDataRecord> list = {row("stary", "wiersz", "")};
  ASSERT_TRUE(bFunLoadCertData(&ds, file, "PESEL1", list));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].comp_name, "");
  EXPECT_EQ(list[1].value, std::string(2047, 'v'));

  std::vector<TDataRecord> empty;
  EXPECT_TRUE(bFunLoadCertData(&ds, file, "PESEL2", empty));
  EXPECT_TRUE(empty.empty());
}

TEST_F(StudentTablesTest, LongValueFullOfQuotesIsStoredWhole) {
  const std::string value(2047, '\'');
  ASSERT_TRUE(bFunSaveCertData(&ds, file, "PESEL1", {row("T", "N", value)}));
  const std::vector<TDataRecord> back = load("PESEL1");
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].value, value);
}

TEST_F(StudentTablesTest, LoadFailures) {
  std::vector<TDataRecord> list;
  EXPECT_FALSE(bFunLoadCertData(&ds, file, "PESEL1", list));
  expectFailure("Tablica nie istnieje: \nPESEL1", "bFunLoadCertData");

  const std::string missing = data + "/brak.sqtvk";
  EXPECT_FALSE(bFunLoadCertData(&ds, TSystemPath::fromText(missing), "PESEL1", list));
  expectFailure("Plik nie istnieje: \n" + missing, "bFunLoadCertData");

  // A column missing from the table leaves its field empty; the load goes on.
  sqlExec(file, "create table `PESEL2`( id TEXT, value TEXT ); insert into `PESEL2` values( 'A', 'B' );");
  EXPECT_TRUE(bFunLoadCertData(&ds, file, "PESEL2", list));
  EXPECT_EQ(asRows(list), (Rows {{"A", "", "B"}}));
  EXPECT_EQ(logged().back()[0], "bFunGetValue");
}

TEST_F(StudentTablesTest, LoadReportsAFileItCannotRead) {
  const std::string folder = data + "/folder.sqtvk";
  fs::create_directory(cp1250ToUtf8(folder));
  std::vector<TDataRecord> list;
  EXPECT_FALSE(bFunLoadCertData(&ds, TSystemPath::fromText(folder), "PESEL1", list));
  expectFailure("SQL exception: \nSQLITE_CANTOPEN", "bFunLoadCertData()");
}

TEST_F(StudentTablesTest, DeleteTable) {
  const std::string odd = "PESEL`1'";
  ASSERT_TRUE(bFunSaveCertData(&ds, file, odd, student("A", "B")));
  ASSERT_TRUE(bFunSaveCertData(&ds, file, "PESEL2", student("C", "D")));
  EXPECT_TRUE(bFunDeleteTable(&ds, file, odd));
  EXPECT_TRUE(bFunDeleteTable(&ds, file, odd));  // gone already: no failure
  std::vector<std::string> tables;
  ASSERT_TRUE(bFunGetTableList(&ds, file, tables));
  EXPECT_EQ(tables, std::vector<std::string> {"PESEL2"});

  const std::string missing = data + "/brak.sqtvk";
  EXPECT_FALSE(bFunDeleteTable(&ds, TSystemPath::fromText(missing), "PESEL2"));
  expectFailure("Plik nie istnieje: \n" + missing, "bFunDeleteTable");

  markReadOnly(file.text());
  EXPECT_FALSE(bFunDeleteTable(&ds, file, "PESEL2"));
  expectFailure("SQL exception: \nSQLITE_READONLY", "bFunDeleteTable()");
}

TEST_F(StudentTablesTest, SaveFailures) {
  ASSERT_TRUE(bFunSaveCertData(&ds, file, "PESEL1", student("A", "B")));
  EXPECT_FALSE(bFunSaveCertData(&ds, file, "PESEL1", {row("X", "Y", "Z")}));
  expectFailure(cp1250("Tablica już istnieje: PESEL1"), "bFunSaveCertData()");
  EXPECT_EQ(stored("PESEL1"), asRows(student("A", "B")));

  const std::string missing = data + "/brak.sqtvk";
  EXPECT_FALSE(bFunSaveCertData(&ds, TSystemPath::fromText(missing), "PESEL1", {}));
  expectFailure("Plik nie istnieje: \n" + missing, "bFunSaveCertData()");
  EXPECT_FALSE(exists(missing));

  markReadOnly(file.text());
  EXPECT_FALSE(bFunSaveCertData(&ds, file, "PESEL2", {}));
  expectFailure("SQLite exception: SQLITE_READONLY", "bFunSaveCertData()");
}

TEST_F(StudentTablesTest, ReplaceSwapsTheRowsOfAStudent) {
  ASSERT_TRUE(bFunSaveCertData(&ds, file, "PESEL1", student("Stary", "Wpis")));
  ASSERT_TRUE(bFunSaveCertData(&ds, file, "PESEL9", student("Inny", "Uczen")));
  std::size_t steps = 0;
  ASSERT_TRUE(bFunReplaceStudent(&ds, file, "", "PESEL1", student("Nowy", "Wpis"),
                                 [&](std::size_t, std::size_t) { ++steps; }));
  EXPECT_EQ(stored("PESEL1"), asRows(student("Nowy", "Wpis")));
  EXPECT_EQ(steps, student("", "").size());

  // A changed PESEL number: the former table goes, the new one holds the rows.
  ASSERT_TRUE(bFunReplaceStudent(&ds, file, "PESEL1", "PESEL2", student("Nowy", "Pesel")));
  std::vector<std::string> tables;
  ASSERT_TRUE(bFunGetTableList(&ds, file, tables));
  EXPECT_EQ(tables, (std::vector<std::string> {"PESEL9", "PESEL2"}));
  EXPECT_EQ(stored("PESEL2"), asRows(student("Nowy", "Pesel")));
  EXPECT_EQ(stored("PESEL9"), asRows(student("Inny", "Uczen")));
}

TEST_F(StudentTablesTest, FailedReplaceLeavesTheOldRows) {
  const Rows old = asRows(student("Stary", "Wpis"));
  ASSERT_TRUE(bFunSaveCertData(&ds, file, "PESEL1", student("Stary", "Wpis")));

  // The new table cannot be made (an index holds its name) after the
  // former table was dropped: the drop is undone.
  sqlExec(file, "create table `inna`( a TEXT ); create index `PESEL2` on `inna`( a );");
  EXPECT_FALSE(bFunReplaceStudent(&ds, file, "PESEL1", "PESEL2", student("Nowy", "Wpis")));
  expectFailure(cp1250("Kod błędu: 1"), "bFunReplaceStudent()");
  EXPECT_EQ(stored("PESEL1"), old);

  // A failure halfway through the rows (the disk filling up, here raised
  // from the progress step) leaves the former rows, not half the new ones.
  const auto failHalfway = [](std::size_t done, std::size_t) {
    if (done == 3) throw CppSQLite3Exception(SQLITE_FULL, "database or disk is full");
  };
  EXPECT_FALSE(bFunReplaceStudent(&ds, file, "", "PESEL1", student("Nowy", "Wpis"), failHalfway));
  expectFailure(cp1250("Na dysku zabrakło miejsca. Zwolnij miejsce na dysku i spróbuj ponownie.\nKod błędu: 13"),
                "bFunReplaceStudent()");
  EXPECT_EQ(stored("PESEL1"), old);

  const std::string missing = data + "/brak.sqtvk";
  EXPECT_FALSE(bFunReplaceStudent(&ds, TSystemPath::fromText(missing), "", "PESEL1", {}));
  expectFailure("Plik nie istnieje: \n" + missing, "bFunReplaceStudent()");
}
