// The generator of the calibration file from the layout sources.
#include "platform/Cp1250.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class LayoutSourcesTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  std::string out() const { return dirs.root() + "/kalibracja.sqset"; }
  // Runs the generator on sources of these names and texts; its exit code.
  int generate(const std::vector<std::pair<std::string, std::string>>& sources) const {
    std::string command = std::string(TARVEK_MKLAYOUTS) + " '" + out() + "'";
    for (const auto& [name, text] : sources) {
      const std::string path = dirs.root() + "/" + name;
      writeText(path, text);
      command += " '" + path + "'";
    }
    command += " 2>'" + dirs.root() + "/errors.txt'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string errors() const { return readText(dirs.root() + "/errors.txt"); }
};

TEST_F(LayoutSourcesTest, ACertificateLayoutGivesItsTableAndTheTwinWithoutDottedLines) {
  ASSERT_EQ(generate({{"tarvek_klasa_IIa.csv",
                       "# head\n\n"
                       "ZMIENNA_Klasa_STR1_DATA_EDIT; 200; 440; 790; 820; Times New Roman; 12; 1; 1; 0; 0; 0\n"
                       "Klasa_STR1_LINIA_Z_KROPEK; 200; 440; 810; 820; Times New Roman; 12; 0; 0; 0; 0; 0\n"
                       "ZMIENNA_Imię_STR1_DATA_EDIT; 1; 2; 3; 4; Arial; 10; 3; 0; 1; 1; 1\n"},
                      {"tarvek_wywiadowka.csv", "ZMIENNA_Klasa_DATA_EDIT; 1; 2; 3; 4; Arial; 10; 0; 0; 0; 0; 0\n"}}),
            0)
      << errors();
  const std::string columns = "select name, x1, y1, x2, y2, font_name, font_size, font_align, font_style_bold, "
                              "font_style_italic, font_style_underline, font_style_strike from ";
  const std::vector<std::vector<std::string>> plain = {
      {"ZMIENNA_Klasa_STR1_DATA_EDIT", "200", "790", "440", "820", "Times New Roman", "12", "1", "1", "0", "0", "0"},
      {"Klasa_STR1_LINIA_Z_KROPEK", "200", "810", "440", "820", "Times New Roman", "12", "0", "0", "0", "0", "0"},
      {cp1250("ZMIENNA_Imię_STR1_DATA_EDIT"), "1", "3", "2", "4", "Arial", "10", "3", "0", "1", "1", "1"}};
  EXPECT_EQ(sqlRows(out(), columns + "tarvek_klasa_IIa order by rowid"), plain);
  EXPECT_EQ(sqlRows(out(), columns + "tarvek_klasa_IIa_bk order by rowid"),
            (std::vector<std::vector<std::string>> {plain[0], plain[2]}));
  EXPECT_EQ(sqlRows(out(), "select name from sqlite_master where type='table' order by name"),
            (std::vector<std::vector<std::string>> {{"tarvek_klasa_IIa"}, {"tarvek_klasa_IIa_bk"},
                                                    {"tarvek_wywiadowka"}}));
}

TEST_F(LayoutSourcesTest, AFaultySourceStopsTheBuildWithItsLineAndWritesNoFile) {
  const std::string good = "A_STR1_DATA_EDIT; 1; 2; 3; 4; Arial; 10; 0; 0; 0; 0; 0\n";
  struct Case {
    std::string name, text, error;
  };
  const Case cases[] = {
      {"tarvek_klasa_Ib.csv", good, "no document kind is drawn by the layout \"tarvek_klasa_Ib\""},
      {"tarvek_klasa_Ia.csv", good + "B; 1; 2; 3\n", "tarvek_klasa_Ia.csv:2: error: 12 columns expected, found 4"},
      {"tarvek_klasa_Ia.csv", "# x\nB; 1; 2x; 3; 4; Arial; 10; 0; 0; 0; 0; 0\n",
       "tarvek_klasa_Ia.csv:2: error: not a whole number: \"2x\""},
      {"tarvek_klasa_Ia.csv", good + good, "tarvek_klasa_Ia.csv:2: error: \"A_STR1_DATA_EDIT\" is named twice"},
      {"tarvek_klasa_Ia.csv", "; 1; 2; 3; 4; Arial; 10; 0; 0; 0; 0; 0\n", "tarvek_klasa_Ia.csv:1: error: a name of 1 to 255"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(generate({{c.name, c.text}}), 1) << c.error;
    EXPECT_NE(errors().find(c.error), std::string::npos) << errors();
    EXPECT_FALSE(std::filesystem::exists(out()));
  }
}

TEST_F(LayoutSourcesTest, ATwinLayoutIsItsBaseWithWhatItRemovesReplacesAndAdds) {
  const std::string base =
      "A_STR1_DATA_EDIT; 1; 2; 3; 4; Arial; 10; 0; 0; 0; 0; 0\n"
      "B_STR1_DATA_EDIT; 5; 6; 7; 8; Arial; 10; 0; 0; 0; 0; 0\n"
      "C_STR1_DATA_EDIT; 9; 10; 11; 12; Arial; 10; 0; 0; 0; 0; 0\n";
  ASSERT_EQ(generate({{"tarvek_klasa_Ia.csv", base},
                      {"tarvek_klasa_IIa.csv",
                       "# the twin\n@base tarvek_klasa_Ia.csv\n@remove A_STR1_DATA_EDIT\n"
                       "D_STR1_DATA_EDIT; 1; 1; 1; 1; Arial; 10; 0; 0; 0; 0; 0\n"
                       "B_STR1_DATA_EDIT; 50; 60; 70; 80; Arial; 12; 1; 0; 0; 0; 0\n"}}),
            0)
      << errors();
  EXPECT_EQ(sqlRows(out(), "select name, x1, font_size from tarvek_klasa_IIa order by rowid"),
            (std::vector<std::vector<std::string>> {
                {"B_STR1_DATA_EDIT", "50", "12"}, {"C_STR1_DATA_EDIT", "9", "10"}, {"D_STR1_DATA_EDIT", "1", "10"}}));
  EXPECT_EQ(sqlRows(out(), "select count(*) from tarvek_klasa_Ia"), (std::vector<std::vector<std::string>> {{"3"}}));

  struct Case {
    std::string text, error;
  };
  const Case cases[] = {
      {"@base tarvek_klasa_Ia.csv\n@remove X_STR1_DATA_EDIT\n", "tarvek_klasa_IIa.csv:2: error: \"X_STR1_DATA_EDIT\" is not in the base"},
      {"@base nowhere.csv\n", "cannot read"},
      {"@base tarvek_klasa_IIa.csv\n", "goes round in a circle"},
      {"A_STR1_DATA_EDIT; 1; 2; 3; 4; Arial; 10; 0; 0; 0; 0; 0\n@base tarvek_klasa_Ia.csv\n",
       "tarvek_klasa_IIa.csv:2: error: \"@base\" must come before every row"},
      {"@frame x\n", "tarvek_klasa_IIa.csv:1: error: unknown statement \"@frame\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(generate({{"tarvek_klasa_Ia.csv", base}, {"tarvek_klasa_IIa.csv", c.text}}), 1) << c.error;
    EXPECT_NE(errors().find(c.error), std::string::npos) << errors();
  }
}

}  // namespace
