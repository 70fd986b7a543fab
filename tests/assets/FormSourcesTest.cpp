// The generator of the document forms' tables: good descriptions give tables,
// faulty ones stop the build with their file and line.
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class FormSourcesTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  std::string root() const { return dirs.root(); }
  std::string tables() const { return root() + "/FormTables.cpp"; }

  // The main window, a form and its twin.
  std::string registry =
      "# class; global; unit; tag; kind; document name; tree; created; cancel; line rows; caption; description\n"
      "TFGlowna; FGlowna; 1\n"
      "TFX; FX; XUnit; X TARVEK; dkKlasaI; dokument X; -; 2; CancelButton; no; Okno X; a test form\n"
      "TFY; FY; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 3; CancelButton; no; Okno Y; its twin\n";
  std::map<std::string, std::string> moreForms;  // file name -> text

  // The registry, its lists and layouts, then the given description (and a
  // twin of it when given).
  int generate(const std::string& form, const std::string& layout, const std::string& twin = {}) const {
    fs::create_directories(root() + "/forms");
    fs::create_directories(root() + "/layouts");
    writeText(root() + "/forms/registry.csv", registry);
    for (const auto& [name, text] : moreForms) writeText(root() + "/forms/" + name, text);
    writeText(root() + "/forms/lists.txt", "list grades \"celujący\" \"dobry\"\nlist more grades \"zwolniony\"\n");
    writeText(root() + "/forms/X.form", form);
    if (!twin.empty()) writeText(root() + "/forms/Y.form", twin);
    writeText(root() + "/layouts/tarvek_klasa_I.csv", layout);
    writeText(root() + "/layouts/tarvek_klasa_II.csv", "@base tarvek_klasa_I.csv\n");
    writeText(root() + "/layouts/tarvek_klasa_I_wyr.csv", "@base tarvek_klasa_I.csv\n");
    writeText(root() + "/layouts/tarvek_klasa_II_wyr.csv", "@base tarvek_klasa_I.csv\n");
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
      // A layout not there is told where it is named.
      {"form TFX\nlayout tarvek_klasa_I_nowyX\n" + kHead.substr(kHead.find("side")) + kFields, kLayout, "",
       "X.form:2: error: no layout file tarvek_klasa_I_nowyX.csv in " + root() + "/layouts\n"},
      {kHead + kFields, kLayout, "form TFY\nbase X.form\n# its own\nlayout tarvek_klasa_IIx\n",
       "Y.form:4: error: no layout file tarvek_klasa_IIx.csv in " + root() + "/layouts\n"},
      {kHead + kFields, "@base tarvek_klasa_0.csv\n" + kLayout, "",
       "tarvek_klasa_I.csv:1: error: no layout file tarvek_klasa_0.csv in " + root() + "/layouts\n"},
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

// The registry is checked whole: every row that takes what another has, or a
// place outside the windows, is refused at its own line, all in one run; every
// fault of a row is told, and a refused row leaves its form no stranger (the
// run tells its faults, no more).
TEST_F(FormSourcesTest, AFaultyRegistryRowIsRefusedAtItsLine) {
  const std::string head =
      "TFGlowna; FGlowna; 1\n"
      "TFX; FX; XUnit; X TARVEK; dkKlasaI; dokument X; -; 2; CancelButton; no; Okno X; a test form\n";
  struct Case {
    std::string row;
    std::vector<std::string> errors;  // every fault of the run
  };
  const std::string notRegistered = "Y.form:1: error: \"TFY\" is not in registry.csv";
  const Case cases[] = {
      {"TFY; FY; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 2; CancelButton; no; Y; y\n",
       {"registry.csv:3: error: created: the place 2 among the windows is taken ("}},
      {"TFY; FY; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 4; CancelButton; no; Y; y\n",
       {"registry.csv:3: error: created: the place 4 is outside 1 to 3"}},
      {"TFY; FY; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 0; CancelButton; no; Y; y\n",
       {"registry.csv:3: error: created: the place 0 is outside 1 to 3"}},
      {"TFY; FY; YUnit; Y TARVEK; dkKlasaII; dokument X; 1; 3; CancelButton; no; Y; y\n",
       {"registry.csv:3: error: the document name \"dokument X\" is taken ("}},
      {"TFY; FY; YUnit; X TARVEK; dkKlasaII; dokument Y; 1; 3; CancelButton; no; Y; y\n",
       {"registry.csv:3: error: the tag \"X TARVEK\" is taken ("}},
      // The description of TFY names a class the registry has not.
      {"TFX; FY; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 3; CancelButton; no; Y; y\n",
       {"registry.csv:3: error: the class \"TFX\" is taken (", notRegistered}},
      {"TFY; FX; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 3; CancelButton; no; Y; y\n",
       {"registry.csv:3: error: the global \"FX\" is taken ("}},
      {"TFY; FGlowna; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 3; CancelButton; no; Y; y\n",
       {"registry.csv:3: error: the global \"FGlowna\" is taken ("}},
      {"TFY; FY; YUnit; Y TARVEK; dkKlasaI; dokument Y; 1; 3; CancelButton; no; Y; y\n",
       {"registry.csv:3: error: the kind \"dkKlasaI\" is taken ("}},
      {"TF-Y; FY; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 3; CancelButton; no; Y; y\n",
       {"registry.csv:3: error: \"TF-Y\" is not a C++ name", notRegistered}},
      {"TFY; F Y; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 3; CancelButton; no; Y; y\n",
       {"registry.csv:3: error: \"F Y\" is not a C++ name"}},
      {"TFY; 1FY; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 3; CancelButton; no; Y; y\n",
       {"registry.csv:3: error: \"1FY\" is not a C++ name"}},
      {"TFY; FY; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 3; CancelButton; no; Y; y\n"
       "TFZ; FZ; ZUnit; Z TARVEK; dkKlasaIIWyr; dokument Z; 1; 4; CancelButton; no; Z; z\n",
       {"registry.csv:4: error: the tree position \"1\" is taken ("}},
      {"TFY; FY; 2\n", {"registry.csv:3: error: created: the place 2 among the windows is taken"}},
      // Several faults of one row.
      {"TFY; FY; YUnit; X TARVEK; dkKlasaII; dokument Y; 1; 2; CancelButton; no; Y; y\n",
       {"registry.csv:3: error: the tag \"X TARVEK\" is taken (",
        "registry.csv:3: error: created: the place 2 among the windows is taken ("}},
      {"TFY; F Y; YUnit; Y TARVEK; dkKlasaI; dokument X; 1; 9; CancelButton; maybe; Y; y\n",
       {"registry.csv:3: error: \"F Y\" is not a C++ name", "registry.csv:3: error: line rows: \"yes\" or \"no\" expected",
        "registry.csv:3: error: the kind \"dkKlasaI\" is taken (", "registry.csv:3: error: the document name \"dokument X\" is taken (",
        "registry.csv:3: error: created: the place 9 is outside 1 to 3"}},
      // The tree positions run 1, 2, ... without a gap.
      {"TFY; FY; YUnit; Y TARVEK; dkKlasaII; dokument Y; 3; 3; CancelButton; no; Y; y\n",
       {"registry.csv:3: error: tree: the position 3 leaves a gap: 1 and 2 are unused (the positions run 1, 2, ... without a gap)"}},
      {"TFY; FY; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 3; CancelButton; no; Y; y\n"
       "TFZ; FZ; ZUnit; Z TARVEK; dkKlasaIIWyr; dokument Z; 5; 4; CancelButton; no; Z; z\n",
       {"registry.csv:4: error: tree: the position 5 leaves a gap: 2 to 4 are unused"}},
      {"TFY; FY; YUnit; Y TARVEK; dkKlasaII; dokument Y; 2; 3; CancelButton; no; Y; y\n"
       "TFZ; FZ; ZUnit; Z TARVEK; dkKlasaIIWyr; dokument Z; 4; 4; CancelButton; no; Z; z\n",
       {"registry.csv:3: error: tree: the position 2 leaves a gap: 1 is unused",
        "registry.csv:4: error: tree: the position 4 leaves a gap: 3 is unused"}},
  };
  for (const Case& c : cases) {
    registry = head + c.row;
    // A second form's row comes with its description.
    moreForms.clear();
    fs::remove(root() + "/forms/Z.form");
    if (c.row.find("\nTFZ;") != std::string::npos) moreForms["Z.form"] = "form TFZ\nbase X.form\nlayout tarvek_klasa_II_wyr\n";
    EXPECT_EQ(generate(kHead + kFields, kLayout, "form TFY\nbase X.form\nlayout tarvek_klasa_II\n"), 1) << c.errors[0];
    for (const std::string& error : c.errors)
      EXPECT_NE(errors().find(root() + "/forms/" + error), std::string::npos) << error << "\n" << errors();
    EXPECT_NE(errors().find("\n" + std::to_string(c.errors.size()) + " fault(s) in the descriptions"), std::string::npos)
        << c.errors[0] << "\n" << errors();
  }
  moreForms.clear();
  fs::remove(root() + "/forms/Z.form");
  // The form of a refused row is still checked on its own.
  registry = head + "TFY; FY; YUnit; X TARVEK; dkKlasaII; dokument Y; 1; 3; CancelButton; no; Y; y\n";
  EXPECT_EQ(generate(kHead + kFields, kLayout, "form TFY\nbase X.form\nlayout tarvek_klasa_IIx\n"), 1);
  for (const std::string error : {"registry.csv:3: error: the tag \"X TARVEK\" is taken (",
                                  "Y.form:3: error: no layout file tarvek_klasa_IIx.csv in ", "\n2 fault(s)"})
    EXPECT_NE(errors().find(error), std::string::npos) << error << "\n" << errors();
  fs::remove(root() + "/forms/Y.form");
  // A row without a description: no form would be made of it.
  registry = head + "TFY; FY; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 3; CancelButton; no; Y; y\n";
  EXPECT_EQ(generate(kHead + kFields, kLayout), 1);
  EXPECT_NE(errors().find(root() + "/forms/registry.csv:3: error: TFY has no description: no \".form\" file in "),
            std::string::npos)
      << errors();
  // A document form in the main window's place.
  registry = "TFX; FX; XUnit; X TARVEK; dkKlasaI; dokument X; -; 1; CancelButton; no; Okno X; a test form\n"
             "TFGlowna; FGlowna; 2\n";
  EXPECT_EQ(generate(kHead + kFields, kLayout), 1);
  EXPECT_NE(errors().find("registry.csv:1: error: created: the first window made is the main window"), std::string::npos)
      << errors();
  // Every fault of a run is told, each with its file and line.
  registry = head + "TFY; FX; YUnit; X TARVEK; dkKlasaII; dokument Y; 1; 9; CancelButton; no; Y; y\n";
  EXPECT_EQ(generate(kHead + kFields + "frame X\n", kLayout), 1);
  for (const char* error : {"registry.csv:3: error: the global \"FX\" is taken", "X.form:7: error: unknown statement"})
    EXPECT_NE(errors().find(root() + "/forms/" + error), std::string::npos) << error << "\n" << errors();
}

// What start-up makes comes from the registry: the count and the order of
// every window, the program's own among them.
TEST_F(FormSourcesTest, TheWindowOrderIsWrittenFromTheRegistry) {
  registry =
      "TFGlowna; FGlowna; 1\n"
      "TFY; FY; YUnit; Y TARVEK; dkKlasaII; dokument Y; 1; 2; CancelButton; no; Okno Y; its twin\n"
      "TFDaneUcznia; FDaneUcznia; 4\n"
      "TFX; FX; XUnit; X TARVEK; dkKlasaI; dokument X; -; 3; CancelButton; no; Okno X; a test form\n";
  ASSERT_EQ(generate(kHead + kFields, kLayout, "form TFY\nbase X.form\nlayout tarvek_klasa_II\n"), 0) << errors();
  const std::string units = readText(root() + "/FormUnits.cpp");
  EXPECT_NE(units.find("kWindowOrder[] = {\n    {\"FGlowna\", -1},  // 1\n    {\"FY\", 0},  // 2\n"
                       "    {\"FX\", 1},  // 3\n    {\"FDaneUcznia\", -1},  // 4\n};\nconst int kWindowCount = 4;"),
            std::string::npos)
      << units;
}

// Faults of the generator itself: a token without its ")", a long chain of
// twins, and the certificate lists of the class pages.
TEST_F(FormSourcesTest, TokensChainsOfTwinsAndCertificateItems) {
  struct Case {
    std::string form, twin, error;
  };
  const std::string copy = "sheet page TFY 1=\"\"\nsheet cell ZMIENNA_A_STR1_DATA_EDIT ZMIENNA_A_STR1_DATA_EDIT\n";
  const std::string page = "form TFY\nbase X.form\nlayout tarvek_klasa_II\n";
  const Case cases[] = {
      {kHead + kFields + "personal ZMIENNA_A_STR1_DATA_EDIT \"a\" @ending(,a\n", "",
       "X.form:7: error: \"@ending(,a\" lacks its closing \")\""},
      {kHead + kFields + "personal ZMIENNA_A_STR1_DATA_EDIT @ending(a)\n", "", "X.form:7: error: @ending(male,female) expected"},
      {kHead + kFields + "personal ZMIENNA_A_STR1_DATA_EDIT @plec\n", "", "X.form:7: error: unknown \"@plec\""},
      {kHead + kFields + "edit ZMIENNA_C_STR1_DATA_EDIT noprint bold at=1,1,5,5\n", "", "X.form:7: error: a edit takes no \"bold\""},
      // A certificate that fills a page says which item of its list it is.
      {kHead + kFields + copy, page, "X.form:1: error: TFX fills TFY but says not which item of its certificate list"},
      {kHead + kFields + copy + "sheet item 2 \"druga\"\n", page,
       "X.form:9: error: the item 1 of the certificate list of TFY names no certificate"},
      {kHead + kFields + copy + "sheet page TFY number=3 1=\"\"\nsheet item 1 \"pierwsza\"\n", page,
       "X.form:9: error: the page TFY is named twice"},
      {kHead + kFields + "sheet item 1 \"pierwsza\"\n", "", "X.form:7: error: TFX fills no class page"},
      {kHead + kFields + copy + "sheet item 1 \"pierwsza\"\n", page + "sheet item 1 \"druga\"\n",
       "Y.form:4: error: the item 1 of the certificate list of TFY is taken by TFX ("},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(generate(c.form, kLayout, c.twin), 1) << c.error;
    EXPECT_NE(errors().find(c.error), std::string::npos) << c.error << "\n" << errors();
    fs::remove(root() + "/forms/Y.form");
  }
  // Twins five deep are no circle; a base that leads back is.
  for (int i = 1; i <= 5; ++i)
    moreForms["T" + std::to_string(i) + ".form"] =
        "form TFT" + std::to_string(i) + "\nbase " + (i == 1 ? "X" : "T" + std::to_string(i - 1)) + ".form\n";
  registry += "TFT1; FT1; T1Unit; T1; dkKlasaIWyr; t1; -; 4; CancelButton; no; T1; t\n"
              "TFT2; FT2; T2Unit; T2; dkKlasaIIWyr; t2; -; 5; CancelButton; no; T2; t\n"
              "TFT3; FT3; T3Unit; T3; dkKoniec; t3; -; 6; CancelButton; no; T3; t\n"
              "TFT4; FT4; T4Unit; T4; dkKoniecWyr; t4; -; 7; CancelButton; no; T4; t\n"
              "TFT5; FT5; T5Unit; T5; dkKlasaIa; t5; -; 8; CancelButton; no; T5; t\n";
  for (const char* kind : {"I_wyr", "II_wyr", "koniec", "koniec_wyr", "Ia"})
    writeText(root() + "/layouts/tarvek_" + (std::string(kind) == "koniec" || std::string(kind) == "koniec_wyr" ? "" : "klasa_") + kind + ".csv",
              "@base tarvek_klasa_I.csv\n");
  for (int i = 1; i <= 5; ++i) {
    const char* layouts[] = {"tarvek_klasa_I_wyr", "tarvek_klasa_II_wyr", "tarvek_koniec", "tarvek_koniec_wyr", "tarvek_klasa_Ia"};
    moreForms["T" + std::to_string(i) + ".form"] += std::string("layout ") + layouts[i - 1] + "\n";
  }
  EXPECT_EQ(generate(kHead + kFields, kLayout, page), 0) << errors();
  moreForms["T1.form"] = "form TFT1\nbase T5.form\n";
  EXPECT_EQ(generate(kHead + kFields, kLayout, page), 1);
  EXPECT_NE(errors().find("T1.form:2: error: \"base\" goes round in a circle"), std::string::npos) << errors();
}

// A twin added as the README tells (its description, its row, its layout),
// with its row before its base's: the tables list it with its own kind, tree
// position, place among the windows made at start-up and item in the
// certificate list of its base's class page, and they compile.
TEST_F(FormSourcesTest, ATwinAddedAsTheReadmeTellsIsListedAsItsRowSays) {
  registry =
      "TFGlowna; FGlowna; 1\n"
      "TFZ; FZ; ZUnit; Z TARVEK; dkKlasaIa; dokument Z; 2; 4; CancelButton; no; Okno Z; the twin, before its base\n"
      "TFX; FX; XUnit; X TARVEK; dkKlasaI; dokument X; -; 2; CancelButton; no; Okno X; a test form\n"
      "TFP; FP; PUnit; P TARVEK; dkArkuszStr2b; dokument P; 1; 3; AnulujButton; no; Okno P; a class page\n";
  moreForms["Z.form"] = "form TFZ\nbase X.form\nlayout tarvek_klasa_Ia\nsheet label \"z\"\nsheet item 2 \"świadectwo Z\"\n";
  moreForms["P.form"] =
      "form TFP\nlayout tarvek_arkusz_str2b\npanel height=51\n"
      "pick CertTypeComboBox list=@certificates at=8,14,140,22\n"
      "button BitBtn1 \"Wczytaj dane ze świadectwa\" at=154,12,190,25\n"
      "side 1 scroll=ScrollBox1 image=Image1 picture=blanki/p.jpg size=841x1200\n"
      "edit ZMIENNA_A_DATA_EDIT\n";
  fs::create_directories(root() + "/layouts");
  writeText(root() + "/layouts/tarvek_klasa_Ia.csv", "@base tarvek_klasa_I.csv\n");
  writeText(root() + "/layouts/tarvek_arkusz_str2b.csv",
            "ZMIENNA_A_DATA_EDIT; 100; 200; 100; 130; Arial; 12; 0; 0; 0; 0; 0\n");
  const std::string copy = "sheet page TFP 1=\"\"\nsheet label \"x\"\nsheet item 1 \"świadectwo X\"\n"
                           "sheet cell ZMIENNA_A_DATA_EDIT ZMIENNA_A_STR1_DATA_EDIT\n";
  ASSERT_EQ(generate(kHead + kFields + copy, kLayout), 0) << errors();

  const std::string text = readText(tables());
  const std::size_t twin = text.find(
      "{.identity = {.className = \"TFZ\", .global = \"FZ\", .unit = \"ZUnit\", .tag = \"Z TARVEK\", .kind = dkKlasaIa,");
  ASSERT_NE(twin, std::string::npos) << text;
  // In protocol order, as its row stands: before its base.
  EXPECT_LT(twin, text.find("{.identity = {.className = \"TFX\""));
  EXPECT_NE(text.find(".documentName = \"dokument Z\", .treePosition = 2, .created = 4,", twin), std::string::npos);
  EXPECT_NE(text.find(".sheetLabel = \"z\", .sheetItem = 2, .sheetPages = kSheetPages_TFZ, .sheetPageCount = 1", twin),
            std::string::npos);
  EXPECT_NE(text.find("kSheetPages_TFZ[] = {\n    {\"TFP\", "), std::string::npos);
  // The page's list: the base's item, then the twin's.
  EXPECT_NE(text.find("kList__certificates_TFP[] = {\"\\305\\233wiadectwo X\", \"\\305\\233wiadectwo Z\", };"),
            std::string::npos);
  EXPECT_NE(text.find(".name = \"CertTypeComboBox\", .side = 0, .at = {8, 14, 140, 22}, .maxLength = 0, "
                      ".items = kList__certificates_TFP, .itemCount = 2,"),
            std::string::npos);
  // Start-up makes it in its place.
  EXPECT_NE(readText(root() + "/FormUnits.cpp")
                .find("kWindowOrder[] = {\n    {\"FGlowna\", -1},  // 1\n    {\"FX\", 1},  // 2\n    {\"FP\", 2},  // 3\n"
                      "    {\"FZ\", 0},  // 4\n};\nconst int kWindowCount = 4;"),
            std::string::npos)
      << readText(root() + "/FormUnits.cpp");
  EXPECT_NE(readText(root() + "/FormUnits.h").find("class TFZ : public TDocumentForm {"), std::string::npos);
  // The tables compile against the program's headers.
  const std::string command = std::string(TARVEK_CXX) + " -std=c++20 -fsyntax-only -I'" + TARVEK_SOURCE_DIR + "' '" +
                              tables() + "' 2>'" + root() + "/compile.txt'";
  EXPECT_EQ(std::system(command.c_str()), 0) << readText(root() + "/compile.txt");
}

}  // namespace
