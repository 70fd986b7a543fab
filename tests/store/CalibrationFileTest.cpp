// Which files count as a calibration file, and the import that refuses
// the others.
#include "store/Calibration.h"

#include "StoreTestSupport.h"

#include <filesystem>

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
  const std::string calib = strFunGetCalibFilePath(&ds, false);
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

  sqlExec(path("nowa.sqset"), std::string("create table `tarvek_klasa_Ia`") + kLayout);
  EXPECT_TRUE(bFunImportujPlikKalibracji(&ds, TSystemPath(path("nowa.sqset"))));
  EXPECT_EQ(readText(calib), readText(path("nowa.sqset")));
  // Nothing is left beside the calibration file.
  int entries = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(calib).parent_path()))
    entries += entry.path().filename().string().rfind("tvk_kalibracja", 0) == 0;
  EXPECT_EQ(entries, 1);
}

TEST_F(CalibrationFileTest, ExportCopiesTheCalibrationOverTheTarget) {
  const std::string calib = strFunGetCalibFilePath(&ds, false);
  sqlExec(calib, std::string("create table `t`") + kLayout);
  writeText(path("stara.sqset"), "stara");
  EXPECT_TRUE(bFunEksportujPlikKalibracji(&ds, TSystemPath(path("stara.sqset"))));
  EXPECT_EQ(readText(path("stara.sqset")), readText(calib));
}

}  // namespace
