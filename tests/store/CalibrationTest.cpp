#include "store/Calibration.h"

#include "StoreTestSupport.h"
#include "support/CalibRecords.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const char kColumns[] =
    "( name TEXT, x1 INTEGER, y1 INTEGER, x2 INTEGER, y2 INTEGER, font_name TEXT, font_size INTEGER, "
    "font_align INTEGER, font_style_bold INTEGER, font_style_italic INTEGER, font_style_underline INTEGER, "
    "font_style_strike INTEGER )";

class CalibrationTest : public StoreTest {
 protected:
  TSystemPath file;
  void SetUp() override {
    file = strFunGetCalibFilePath(&ds, false);
    sqlExec(file, std::string("create table `tarvek_klasa_I`") + kColumns + ";" +
                      "insert into `tarvek_klasa_I` values( 'ZMIENNA_Imie_STR1_DATA_EDIT', 10, 20, 30, 40, "
                      "'Times New Roman', 12, 1, 1, 0, 1, 0 );"
                      "insert into `tarvek_klasa_I` values( 'GRAFIKA: ORZELEK', NULL, 5, 6, 7, NULL, 8, 9, 1, 1, "
                      "1, 1 );"
                      "insert into `tarvek_klasa_I` values( 'A_LINIA_Z_KROPEK', 1, 2, 3, 4, 'Arial', 0, 0, 0, 0, "
                      "0, 0 );");
  }
  Rows table() const {
    return sqlRows(file, "select name, x1, y1, x2, y2, font_name, font_size, font_align, font_style_bold, "
                         "font_style_italic, font_style_underline, font_style_strike from `tarvek_klasa_I` "
                         "order by rowid");
  }
};

std::vector<std::string> fields(const TCalibRecord& r) {
  std::vector<std::string> f = {r.name};
  for (int n : {r.x1, r.y1, r.x2, r.y2}) f.push_back(std::to_string(n));
  f.push_back(r.font_name);
  for (int n : {r.font_size, r.font_align, r.font_style_bold, r.font_style_italic, r.font_style_underline,
                r.font_style_strike})
    f.push_back(std::to_string(n));
  return f;
}

}  // namespace

TEST_F(CalibrationTest, LoadReplacesTheListWithTheRowsInStoredOrder) {
  std::vector<TCalibRecord> list(5);
  ASSERT_TRUE(bFunCalibLoadData(&ds, file, "tarvek_klasa_I", list));
  Rows got;
  for (const TCalibRecord& r : list) got.push_back(fields(r));
  // The second row's NULL x1 and NULL font name read as 0 and "".
  EXPECT_EQ(got, (Rows {{"ZMIENNA_Imie_STR1_DATA_EDIT", "10", "20", "30", "40", "Times New Roman", "12", "1", "1",
                         "0", "1", "0"},
                        {"GRAFIKA: ORZELEK", "0", "5", "6", "7", "", "8", "9", "1", "1", "1", "1"},
                        {"A_LINIA_Z_KROPEK", "1", "2", "3", "4", "Arial", "0", "0", "0", "0", "0", "0"}}));
}

TEST_F(CalibrationTest, LoadKeepsStoredOrderWhateverIndexTheTableHas) {
  // With an index over every column that the statistics call cheap, a plain
  // scan follows the index (by name: A_, GRAFIKA, ZMIENNA_); the load still
  // gives the rows in stored order.
  sqlExec(file, "create index `by_name` on `tarvek_klasa_I`( name, x1, y1, x2, y2, font_name, font_size, "
                "font_align, font_style_bold, font_style_italic, font_style_underline, font_style_strike ); analyze;"
                "update sqlite_stat1 set stat = stat || ' sz=1' where idx = 'by_name';");
  std::vector<TCalibRecord> list;
  ASSERT_TRUE(bFunCalibLoadData(&ds, file, "tarvek_klasa_I", list));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].name.str(), "ZMIENNA_Imie_STR1_DATA_EDIT");
  EXPECT_EQ(list[2].name.str(), "A_LINIA_Z_KROPEK");
}

TEST_F(CalibrationTest, LoadCutsLongTextsToTheirFields) {
  sqlExec(file, "update `tarvek_klasa_I` set name = '" + std::string(300, 'n') + "', font_name = '" +
                    std::string(150, 'f') + "' where x1 = 1");
  std::vector<TCalibRecord> list;
  ASSERT_TRUE(bFunCalibLoadData(&ds, file, "tarvek_klasa_I", list));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[2].name, std::string(255, 'n'));
  EXPECT_EQ(list[2].font_name, std::string(99, 'f'));
}

TEST_F(CalibrationTest, LoadFailures) {
  std::vector<TCalibRecord> list(2);
  EXPECT_FALSE(bFunCalibLoadData(&ds, file, "tarvek_klasa_II", list));
  expectFailure("Tablica nie istnieje: \ntarvek_klasa_II", "bFunCalibLoadData()");
  EXPECT_EQ(list.size(), 2u);

  const std::string missing = data + "/brak.sqset";
  EXPECT_FALSE(bFunCalibLoadData(&ds, TSystemPath::fromText(missing), "tarvek_klasa_I", list));
  expectFailure("Plik nie istnieje: \n" + missing, "bFunCalibLoadData()");
  EXPECT_FALSE(exists(missing));
  EXPECT_EQ(list.size(), 2u);

  // A table without rows loads whatever its columns; with rows, a missing column fails.
  sqlExec(file, "create table `bez_kolumn`( name TEXT )");
  EXPECT_TRUE(bFunCalibLoadData(&ds, file, "bez_kolumn", list));
  EXPECT_TRUE(list.empty());
  sqlExec(file, "insert into `bez_kolumn` values( 'x' )");
  EXPECT_FALSE(bFunCalibLoadData(&ds, file, "bez_kolumn", list));
  expectFailure("SQLite exception: \nCPPSQLITE_ERROR", "bFunCalibLoadData()");
}

TEST_F(CalibrationTest, UpdateWritesEachEdgeIntoItsColumn) {
  TCalibRecord r = calibRecord("A_LINIA_Z_KROPEK", 120, 400, 300, 330, "Arial Narrow", 14, 3);
  r.font_style_bold = 1;
  r.font_style_strike = 1;
  ASSERT_TRUE(bFunSqlCalibUpdateValue(&ds, file, "tarvek_klasa_I", r));
  const Rows rows = table();
  EXPECT_EQ(rows[2], (std::vector<std::string> {"A_LINIA_Z_KROPEK", "120", "300", "400", "330", "Arial Narrow", "14",
                                                "3", "1", "0", "0", "1"}));
  EXPECT_EQ(rows[0][1], "10");  // other rows untouched
}

TEST_F(CalibrationTest, UpdateChangesEveryRowOfTheNameAndOnlyThose) {
  sqlExec(file, "insert into `tarvek_klasa_I` select * from `tarvek_klasa_I` where x1 = 1");
  TCalibRecord r;
  r.name = "A_LINIA_Z_KROPEK";
  r.font_name = "O'Font";  // a quote stays inside its value
  ASSERT_TRUE(bFunSqlCalibUpdateValue(&ds, file, "tarvek_klasa_I", r));
  const Rows rows = table();
  EXPECT_EQ(rows[2][5], "O'Font");
  EXPECT_EQ(rows[3][5], "O'Font");
  EXPECT_EQ(rows[0][5], "Times New Roman");
}

TEST_F(CalibrationTest, UpdateOfANameNoRowCarriesShowsTheStatement) {
  const TCalibRecord r = calibRecord("nikt", 1, 2, 3, 4, "Arial", 10, 2);
  EXPECT_FALSE(bFunSqlCalibUpdateValue(&ds, file, "tarvek_klasa_I", r));
  expectFailure(cp1250("Błąd aktualizacji wpisu kalibracji.\n\n") +
                    "update `tarvek_klasa_I` set `x1`='1', `y1`='3', `x2`='2', `y2`='4', `font_name`='Arial', "
                    "`font_size`='10', `font_align`='2', `font_style_bold`='0', `font_style_italic`='0', "
                    "`font_style_underline`='0', `font_style_strike`='0' where `name`='nikt'",
                "bFunSqlCalibUpdateValue()");
}

TEST_F(CalibrationTest, UpdateFailures) {
  TCalibRecord r;
  r.name = "A_LINIA_Z_KROPEK";
  const std::string missing = data + "/brak.sqset";
  EXPECT_FALSE(bFunSqlCalibUpdateValue(&ds, TSystemPath::fromText(missing), "tarvek_klasa_I", r));
  expectFailure("Plik nie istnieje.\n" + missing, "bFunSqlCalibUpdateValue()");
  EXPECT_FALSE(bFunSqlCalibUpdateValue(&ds, file, "brak_tablicy", r));
  expectFailure("SqlException\nSQLITE_ERROR", "bFunSqlCalibUpdateValue()");
}

TEST_F(CalibrationTest, CertListNamesEveryTableInOrderOfMaking) {
  sqlExec(file, std::string("create table `tarvek_klasa_I_bk`") + kColumns +
                    "; create table `notatki`( a TEXT ); create index `i` on `notatki`( a );");
  std::vector<std::string> items = {"stare"};
  ASSERT_TRUE(bFunCalibLoadCertList(&ds, items));
  EXPECT_EQ(items, (std::vector<std::string> {"tarvek_klasa_I", "tarvek_klasa_I_bk", "notatki"}));
}

TEST_F(CalibrationTest, CertListWithoutACalibrationFileMakesNone) {
  fs::remove(file.bytes());
  std::vector<std::string> items = {"stare"};
  EXPECT_FALSE(bFunCalibLoadCertList(&ds, items));
  expectFailure("Plik nie istnieje: \n" + file.text(), "bFunCalibLoadCertList()");
  EXPECT_TRUE(items.empty());
  EXPECT_FALSE(exists(file.text()));

  fs::create_directory(file.bytes());  // something there that is no database
  items = {"stare"};
  EXPECT_FALSE(bFunCalibLoadCertList(&ds, items));
  expectFailure("Sql exception: SQLITE_CANTOPEN", "bFunCalibLoadCertList()");
  EXPECT_TRUE(items.empty());
}
