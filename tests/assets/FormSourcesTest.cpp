// The generator of the document forms' tables: good descriptions give tables,
// faulty ones stop the build with their file and line.
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

class FormSourcesTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  std::string root() const { return dirs.root(); }
  std::string tables() const { return root() + "/FormTables.cpp"; }

  // A registry of two forms, their lists and layouts, then the given
  // description (and a twin of it when given).
  int generate(const std::string& form, const std::string& layout, const std::string& twin = {}) const {
    fs::create_directories(root() + "/forms");
    fs::create_directories(root() + "/layouts");
    writeText(root() + "/forms/registry.csv",
              "# class; global; unit; tag; kind; document name; tree; created; cancel; line rows; caption; description\n"
              "TFGlowna; FGlowna; 1\n"
              "TFX; FX; XUnit; X TARVEK; dkKlasaI; dokument X; -; 2; CancelButton; no; Okno X; a test form\n"
              "TFY; FY; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 3; CancelButton; no; Okno Y; its twin\n");
    writeText(root() + "/forms/lists.txt", "list grades \"celujący\" \"dobry\"\nlist more grades \"zwolniony\"\n");
    writeText(root() + "/forms/X.form", form);
    if (!twin.empty()) writeText(root() + "/forms/Y.form", twin);
    writeText(root() + "/layouts/tarvek_klasa_I.csv", layout);
    writeText(root() + "/layouts/tarvek_klasa_II.csv", "@base tarvek_klasa_I.csv\n");
    writeText(root() + "/layouts/tarvek_klasa_I_wyr.csv", "@base tarvek_klasa_I.csv\n");
    const std::string command = std::string(TARVEK_MKFORMS) + " '" + root() + "/forms' '" + root() + "/layouts' '" +
                                tables() + "' '" + root() + "/FormUnits.h' '" + root() + "/FormUnits.cpp' 2>'" +
                                root() + "/errors.txt'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string errors() const { return readText(root() + "/errors.txt"); }
};

const std::string kHead =
    "form TFX\n"
    "layout tarvek_klasa_I\n"
    "side 1 tab=TabSheet1 \"Strona 1\" scroll=ScrollBox1 image=ImageSide1 picture=blanki/x.jpg size=885x1314\n";
const std::string kLayout =
    "ZMIENNA_A_STR1_DATA_EDIT; 100; 200; 100; 130; Arial; 12; 0; 0; 0; 0; 0\n"
    "ZMIENNA_B_STR1_DATA_COMBOBOX; 100; 200; 200; 230; Arial; 12; 0; 0; 0; 0; 0\n"
    "A_STR1_LINIA_Z_KROPEK; 100; 200; 120; 130; Arial; 12; 0; 0; 0; 0; 0\n";
const std::string kFields =
    "edit ZMIENNA_A_STR1_DATA_EDIT max=4 sample=\"próbka\"\n"
    "combo ZMIENNA_B_STR1_DATA_COMBOBOX list=more\n"
    "label STALY_T_STR1_DATA_LABEL \"Tytuł\" size=20 bold at=10,10,100,30\n";

TEST_F(FormSourcesTest, ADescriptionBecomesTablesWithPlacesFromTheLayout) {
  ASSERT_EQ(generate(kHead + kFields, kLayout,
                     "form TFY\nbase X.form\nlayout tarvek_klasa_II\nreword STALY_T_STR1_DATA_LABEL \"Inny\"\n"
                     "after ZMIENNA_A_STR1_DATA_EDIT : edit ZMIENNA_C_STR1_DATA_EDIT noprint at=1,2,3,4\n"),
            0)
      << errors();
  const std::string text = readText(tables());
  // The edit takes its layout rectangle (x, y, width, height); the list its
  // items, the inner list's first; texts are written byte for byte.
  EXPECT_NE(text.find(".name = \"ZMIENNA_A_STR1_DATA_EDIT\", .side = 1, .at = {100, 100, 100, 30}, .maxLength = 4"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("kList_more[] = {\"celuj\\304\\205cy\", \"dobry\", \"zwolniony\", }"), std::string::npos) << text;
  EXPECT_NE(text.find("\"Inny\""), std::string::npos);
  EXPECT_NE(text.find(".name = \"ZMIENNA_C_STR1_DATA_EDIT\", .side = 1, .at = {1, 2, 3, 4}"), std::string::npos);
  // Each registered form gets its class and its global instance.
  const std::string units = readText(root() + "/FormUnits.h");
  EXPECT_NE(units.find("class TFX : public TDocumentForm {"), std::string::npos) << units;
  EXPECT_NE(units.find("extern TFY* FY;"), std::string::npos) << units;
  EXPECT_NE(readText(root() + "/FormUnits.cpp").find("TFY* FY = nullptr;"), std::string::npos);
}

TEST_F(FormSourcesTest, AFaultyDescriptionStopsTheBuildWithItsFileAndLine) {
  struct Case {
    std::string form, layout, twin, error;
  };
  const Case cases[] = {
      {kHead + kFields + "edit zmienna_a_str1_data_edit at=1,1,5,5 noprint\n", kLayout, "",
       "X.form:7: error: \"zmienna_a_str1_data_edit\" is named twice"},
      {kHead + "combo ZMIENNA_A_STR1_DATA_EDIT list=grades\n" + "combo ZMIENNA_B_STR1_DATA_COMBOBOX list=grades\n",
       kLayout, "", "X.form:4: error: the name \"ZMIENNA_A_STR1_DATA_EDIT\" does not fit a combo"},
      {kHead + "edit ZMIENNA_A_STR1_DATA_EDIT\ncombo ZMIENNA_B_STR1_DATA_COMBOBOX list=marks\n", kLayout, "",
       "X.form:5: error: no list \"marks\""},
      {kHead + kFields, kLayout, "form TFY\nbase X.form\nchange ZMIENNA_Z_STR1_DATA_EDIT max=3\n",
       "Y.form:3: error: the base has no component \"ZMIENNA_Z_STR1_DATA_EDIT\""},
      {kHead + kFields, kLayout + "ZMIENNA_Q_STR1_DATA_EDIT; 1; 2; 3; 4; Arial; 12; 0; 0; 0; 0; 0\n", "",
       "tarvek_klasa_I.csv:4: error: the row \"ZMIENNA_Q_STR1_DATA_EDIT\" names no component of TFX"},
      {kHead + kFields + "edit ZMIENNA_D_STR1_DATA_EDIT\n", kLayout, "",
       "X.form:7: error: \"ZMIENNA_D_STR1_DATA_EDIT\" has no row in the layout tarvek_klasa_I"},
      {kHead + "edit ZMIENNA_A_STR1_DATA_EDIT at=500,500,10,10\ncombo ZMIENNA_B_STR1_DATA_COMBOBOX list=grades\n",
       kLayout, "", "X.form:4: error: \"ZMIENNA_A_STR1_DATA_EDIT\" lies on screen away from its place"},
      {kHead + kFields + "label STALY_U_STR1_DATA_LABEL \"bez miejsca\"\n", kLayout, "",
       "X.form:7: error: \"STALY_U_STR1_DATA_LABEL\" needs a place"},
      {kHead + kFields + "frame X\n", kLayout, "", "X.form:7: error: unknown statement \"frame\""},
      {"form TFZ\n", kLayout, "", "\"TFZ\" is not in registry.csv"},
      // Numbers of a component.
      {kHead + "edit ZMIENNA_A_STR1_DATA_EDIT max=-3\ncombo ZMIENNA_B_STR1_DATA_COMBOBOX list=grades\n", kLayout, "",
       "X.form:4: error: max= takes 0 or more"},
      // Names of the dialogs the form copies from.
      {kHead + kFields + "template ZMIENNA_Brak_DATA_EDIT ZMIENNA_A_STR1_DATA_EDIT take\n", kLayout, "",
       "X.form:7: error: the school-template dialog has no edit \"ZMIENNA_Brak_DATA_EDIT\""},
      {kHead + kFields + "template ZMIENNA_SzkolaWE_DATA_EDIT ZMIENNA_A_STR1_DATA_EDIT\n", kLayout, "",
       "X.form:7: error: a template pair is copied by the fill, the take or both"},
      {kHead + kFields + "template ZMIENNA_SzkolaWE_DATA_EDIT ZMIENNA_Brak_STR1_DATA_EDIT take\n", kLayout, "",
       "X.form:7: error: \"ZMIENNA_Brak_STR1_DATA_EDIT\" is no value field of the form"},
      {kHead + kFields + "personal ZMIENNA_A_STR1_DATA_EDIT Wiek_DATA_EDIT\n", kLayout, "",
       "X.form:7: error: the student-data dialog has no \"Wiek_DATA_EDIT\""},
      {kHead + kFields + "personal ZMIENNA_A_STR1_DATA_EDIT\n", kLayout, "",
       "X.form:7: error: personal FIELD needs what it is made of"},
      {kHead + kFields + "personal ZMIENNA_A_STR1_DATA_EDIT @pesel(0)\n", kLayout, "", "@pesel(N) counts from 1"},
      // Panel components the code looks up by name.
      {kHead + kFields + "template ZMIENNA_SzkolaWE_DATA_EDIT ZMIENNA_A_STR1_DATA_EDIT fill\n", kLayout, "",
       "X.form:1: error: TFX fills fields from the school template: it needs the button LoadSchoolDataButton"},
      {kHead + "layout tarvek_klasa_I_wyr\n" + kFields, kLayout, "",
       "X.form:1: error: TFX has layouts of single columns: it needs the pick KolumnaDrukComboBox"},
      {kHead + kFields + "button DrukujWybranaKolumneButton \"Drukuj\" at=1,1,9,9\n", kLayout, "",
       "X.form:1: error: TFX has the column print's button: it needs the pick KolumnaDrukComboBox"},
      {kHead + kFields + "sheet page TFY 1=\"\"\nsheet cell ZMIENNA_A_STR1_DATA_EDIT ZMIENNA_A_STR1_DATA_EDIT\n", kLayout,
       "form TFY\nbase X.form\n",
       "Y.form:1: error: TFY is filled from certificates: it needs the pick SwiadectwoComboBox or CertTypeComboBox"},
      // A column print of more columns than the page has layouts of one
      // column: the second item would print the kind after them.
      {kHead + "layout tarvek_klasa_I_wyr\n" + kFields + "pick KolumnaDrukComboBox list=grades at=1,1,9,9\n" +
           "button DrukujWybranaKolumneButton \"Drukuj\" at=1,1,9,9\n",
       kLayout, "", "X.form:8: error: the column print's item 2 (\"dobry\") has no layout of one column"},
      // The copy into a record-sheet class page.
      {kHead + kFields + "sheet page TFY 1=\"\"\n", kLayout, "",
       "X.form:1: error: the copy into a class page needs both its pages and its table"},
      {kHead + kFields + "sheet label dobry\n", kLayout, "", "X.form:7: error: sheet label \"text\" expected"},
      {kHead + kFields + "sheet page TFY\n", kLayout, "", "X.form:7: error: a page needs its columns"},
      {kHead + kFields + "sheet cell ZMIENNA_A_STR1_DATA_EDIT \"%s/%s\" ZMIENNA_A_STR1_DATA_EDIT\n", kLayout, "",
       "X.form:7: error: the text has 2 \"%s\" for 1 components"},
      {kHead + kFields + "sheet page TFY 1=\"\"\nsheet cell ZMIENNA_Q_STR1_DATA_EDIT ZMIENNA_A_STR1_DATA_EDIT\n", kLayout,
       "form TFY\nbase X.form\n", "X.form:8: error: TFY has no edit or list \"ZMIENNA_Q_STR1_DATA_EDIT\""},
      // The registry's kind and the first layout agree.
      {kHead + kFields, kLayout, "form TFY\nbase X.form\n",
       "registry.csv:4: error: TFY is of the kind dkKlasaII printed by tarvek_klasa_II, but its first layout is tarvek_klasa_I"},
      // A twin's order.
      {kHead + kFields, kLayout, "form TFY\nbase X.form\norder ZMIENNA_A_STR1_DATA_EDIT\n",
       "Y.form:3: error: order NAME NAME... expected"},
      {kHead + kFields, kLayout,
       "form TFY\nbase X.form\norder ZMIENNA_A_STR1_DATA_EDIT ZMIENNA_B_STR1_DATA_COMBOBOX ZMIENNA_A_STR1_DATA_EDIT\n",
       "Y.form:3: error: \"ZMIENNA_A_STR1_DATA_EDIT\" is named twice"},
      {kHead + kFields + "order ZMIENNA_A_STR1_DATA_EDIT ZMIENNA_B_STR1_DATA_COMBOBOX\n", kLayout, "",
       "X.form:7: error: only a twin orders"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(generate(c.form, c.layout, c.twin), 1) << c.error;
    EXPECT_NE(errors().find(c.error), std::string::npos) << c.error << "\n" << errors();
    fs::remove(root() + "/forms/Y.form");
  }
}

}  // namespace
