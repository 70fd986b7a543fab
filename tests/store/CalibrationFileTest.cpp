// Which files count as a calibration file, and the import that refuses
// the others.
#include "store/Calibration.h"

#include "StoreTestSupport.h"

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const char kLayout[] =
    "( name TEXT, x1 INTEGER, y1 INTEGER, x2 INTEGER, y2 INTEGER, font_name TEXT, font_size INTEGER, "
    "font_align INTEGER, font_style_bold INTEGER, font_style_italic INTEGER, font_style_underline INTEGER, "
    "font_style_strike INTEGER )";

class CalibrationFileTest : public StoreTest {
 protected:
  std::string path(const std::string& name) const { return dirs.root() + "/" + name; }
};

TEST_F(CalibrationFileTest, OnlyADatabaseWithALayoutTableIsACalibrationFile) {
  writeText(path("tekst.sqset"), "SQLite format 3 albo nie\n");
  writeText(path("pusty.sqset"), "");
  sqlExec(path("bez_tablic.sqset"), "create table x(a); drop table x;");
  sqlExec(path("inna.sqset"), "create table `uczniowie` (name TEXT, x1 INT, y1 INT)");
  sqlExec(path("dobra.sqset"), std::string("create table `inna` (a); create table `moja warstwa`") + kLayout);
  struct Case {
    const char* name;
    bool layouts;
  };
  for (const Case& c : {Case {"tekst.sqset", false}, Case {"pusty.sqset", false}, Case {"bez_tablic.sqset", false},
                        Case {"inna.sqset", false}, Case {"dobra.sqset", true}, Case {"brak.sqset", false}}) {
    SCOPED_TRACE(c.name);
    const bool existed = fs::exists(path(c.name));
    const std::string before = existed ? readText(path(c.name)) : "";
    EXPECT_EQ(bFunCalibFileHasLayouts(TSystemPath(path(c.name))), c.layouts);
    // Looking never changes or makes a file.
    EXPECT_EQ(fs::exists(path(c.name)), existed);
    if (existed) {
      EXPECT_EQ(readText(path(c.name)), before);
    }
    EXPECT_FALSE(fs::exists(path(c.name) + "-journal"));
  }
}

TEST_F(CalibrationFileTest, ImportReplacesTheCalibrationOrRefusesAndKeepsIt) {
  const std::string calib = strFunGetCalibFilePath(&ds, false).text();
  sqlExec(calib, std::string("create table `tarvek_wywiadowka`") + kLayout +
                     "; insert into `tarvek_wywiadowka` values('A', 1, 2, 3, 4, 'Arial', 9, 0, 0, 0, 0, 0)");
  const std::string before = readText(calib);

  writeText(path("tekst.sqset"), "nie baza\n");
  EXPECT_FALSE(bFunImportujPlikKalibracji(&ds, TSystemPath(path("tekst.sqset"))));
  EXPECT_EQ(readText(calib), before);
  expectFailure("Funkcja: ImportujPlikKalibracji()\n\n" +
                    cp1250("Wybrany plik nie jest plikiem kalibracji (bazą danych z tablicami formatowania):\n") +
                    path("tekst.sqset") + cp1250("\n\nUstawienia kalibracji nie zostały zmienione."),
                "ImportujPlikKalibracji()");

  // Without a shipped file the calibration's own layouts are the program's:
  // the new file holds them all, and one more.
  sqlExec(path("nowa.sqset"), std::string("create table `tarvek_klasa_Ia`") + kLayout +
                                  "; create table `tarvek_wywiadowka`" + kLayout +
                                  "; insert into `tarvek_wywiadowka` values('A', 9, 9, 9, 9, 'Arial', 9, 0, 0, 0, 0, 0)");
  sqlExec(path("nowa.sqset"), "insert into `tarvek_klasa_Ia` values('B', 5, 6, 7, 8, 'Times', 12, 1, 1, 0, 0, 1)");
  EXPECT_TRUE(bFunImportujPlikKalibracji(&ds, TSystemPath(path("nowa.sqset"))));
  EXPECT_EQ(sqlRows(calib, "select name from sqlite_master order by name"),
            (Rows {{"tarvek_klasa_Ia"}, {"tarvek_wywiadowka"}}));
  EXPECT_EQ(sqlRows(calib, "select * from `tarvek_klasa_Ia`"),
            sqlRows(path("nowa.sqset"), "select * from `tarvek_klasa_Ia`"));
  // Nothing is left beside the calibration file.
  int entries = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(calib).parent_path()))
    entries += entry.path().filename().string().rfind("tvk_kalibracja", 0) == 0;
  EXPECT_EQ(entries, 1);
}

TEST_F(CalibrationFileTest, ExportCopiesTheCalibrationOverTheTarget) {
  const std::string calib = strFunGetCalibFilePath(&ds, false).text();
  sqlExec(calib, std::string("create table `t`") + kLayout);
  writeText(path("stara.sqset"), "stara");
  sqlExec(calib, "insert into `t` values('A', 1, 2, 3, 4, 'Arial', 9, 0, 0, 0, 0, 0)");
  EXPECT_TRUE(bFunEksportujPlikKalibracji(&ds, TSystemPath(path("stara.sqset"))));
  EXPECT_EQ(sqlRows(path("stara.sqset"), "select name from sqlite_master"), (Rows {{"t"}}));
  EXPECT_EQ(sqlRows(path("stara.sqset"), "select * from `t`"), sqlRows(calib, "select * from `t`"));
}

// An imported calibration is the user's alone, whatever the mode of the
// file it came from; an exported one is a file like any other of the user's
// (a new one as the umask says, one replaced keeps its mode).
TEST_F(CalibrationFileTest, TheImportedCalibrationIsPrivateAndAnExportedOneAsTheUsersOtherFiles) {
  const std::string calib = strFunGetCalibFilePath(&ds, false).text();
  sqlExec(calib, std::string("create table `tarvek_wywiadowka`") + kLayout);
  sqlExec(path("z pendrive'a.sqset"), std::string("create table `tarvek_wywiadowka`") + kLayout);
  fs::permissions(path("z pendrive'a.sqset"), fs::perms(0644));
  ASSERT_TRUE(bFunImportujPlikKalibracji(&ds, TSystemPath(path("z pendrive'a.sqset")))) << ds.ErrorStream.str();
  auto modeOf = [](const std::string& file) { return static_cast<unsigned>(fs::status(file).permissions()) & 07777; };
  EXPECT_EQ(modeOf(cp1250ToUtf8(calib)), 0600u);

  const mode_t oldMask = ::umask(027);
  writeText(path("kalibracja szkoły.sqset"), "stara");
  fs::permissions(path("kalibracja szkoły.sqset"), fs::perms(0664));
  EXPECT_TRUE(bFunEksportujPlikKalibracji(&ds, TSystemPath(path("kalibracja szkoły.sqset"))));
  EXPECT_TRUE(bFunEksportujPlikKalibracji(&ds, TSystemPath(path("kalibracja przesunięta.sqset"))));
  ::umask(oldMask);
  EXPECT_EQ(modeOf(path("kalibracja szkoły.sqset")), 0664u);
  EXPECT_EQ(modeOf(path("kalibracja przesunięta.sqset")), 0640u);
}

// A trigger in an imported file that would, at the next "Zastosuj", empty
// another layout; a view and an index beside it. Only the layout rows come
// in; the same for a file exported and read back.
TEST_F(CalibrationFileTest, ImportAndExportCarryOnlyTheRowsOfTheLayoutTables) {
  const std::string calib = strFunGetCalibFilePath(&ds, false).text();
  const std::string hostile = path(cp1250("obca kalibracja ąę.sqset"));
  sqlExec(hostile, std::string("create table `tarvek_klasa_I`") + kLayout + "; create table `tarvek_wywiadowka`" +
                       kLayout +
                       "; insert into `tarvek_klasa_I` values('Imie', 10, 20, 30, 40, 'Arial', 9, 0, 0, 0, 0, 0);"
                       "insert into `tarvek_klasa_I` values('Nazwisko', 11, 21, 31, 41, 'Arial', 10, 1, 1, 0, 0, 0);"
                       "insert into `tarvek_wywiadowka` values('Klasa', 1, 2, 3, 4, 'Times', 8, 2, 0, 1, 0, 0);"
                       "create table `notatki`( tekst TEXT ); insert into `notatki` values('obce');"
                       "create trigger `wyczysc` after update on `tarvek_klasa_I` begin "
                       "delete from `tarvek_wywiadowka`; end;"
                       "create view `widok` as select * from `tarvek_klasa_I`;"
                       "create index `indeks` on `tarvek_klasa_I`( name );");
  const Rows meeting = sqlRows(hostile, "select * from `tarvek_wywiadowka`");
  const Rows certificate = sqlRows(hostile, "select * from `tarvek_klasa_I` order by rowid");

  ASSERT_TRUE(bFunImportujPlikKalibracji(&ds, TSystemPath::fromText(hostile)));
  EXPECT_EQ(sqlRows(calib, "select type, name from sqlite_master order by name"),
            (Rows {{"table", "tarvek_klasa_I"}, {"table", "tarvek_wywiadowka"}}));
  EXPECT_EQ(sqlRows(calib, "select * from `tarvek_klasa_I` order by rowid"), certificate);
  // "Zastosuj" in the calibration editor updates one row of one layout.
  TCalibRecord moved;
  moved.name = "Imie";
  moved.x1 = 15;
  moved.y1 = 25;
  moved.x2 = 35;
  moved.y2 = 45;
  moved.font_name = "Arial";
  moved.font_size = 9;
  ASSERT_TRUE(bFunSqlCalibUpdateValue(&ds, TSystemPath::fromText(calib), "tarvek_klasa_I", moved));
  EXPECT_EQ(sqlRows(calib, "select * from `tarvek_wywiadowka`"), meeting);

  // A data folder's file that holds such things is exported without them.
  sqlExec(calib, "create trigger `wyczysc` after update on `tarvek_klasa_I` begin delete from `tarvek_wywiadowka`; "
                 "end;");
  const std::string exported = path(cp1250("eksport ąę.sqset"));
  ASSERT_TRUE(bFunEksportujPlikKalibracji(&ds, TSystemPath::fromText(exported)));
  EXPECT_EQ(sqlRows(exported, "select count(*) from sqlite_master where type <> 'table'"), (Rows {{"0"}}));
  ASSERT_TRUE(bFunImportujPlikKalibracji(&ds, TSystemPath::fromText(exported)));
  ASSERT_TRUE(bFunSqlCalibUpdateValue(&ds, TSystemPath::fromText(calib), "tarvek_klasa_I", moved));
  EXPECT_EQ(sqlRows(calib, "select * from `tarvek_wywiadowka`"), meeting);
  EXPECT_EQ(sqlRows(calib, "select count(*) from sqlite_master where type <> 'table'"), (Rows {{"0"}}));
}

}  // namespace
