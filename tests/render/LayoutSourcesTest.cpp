// The generator of the calibration file from the layout sources.
#include "platform/Cp1250.h"
#include "render/DocumentKinds.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

class LayoutSourcesTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  std::string out() const { return dirs.root() + "/kalibracja.sqset"; }
  // Runs the generator on sources of these names and texts, and an empty
  // layout of every other kind but those left out; its exit code.
  int generate(const std::vector<std::pair<std::string, std::string>>& sources,
               const std::set<std::string>& leftOut = {}) const {
    std::vector<std::pair<std::string, std::string>> all = sources;
    for (const TDocKindInfo& info : kDocKinds) {
      const std::string name = std::string(info.table) + ".csv";
      if (!leftOut.count(info.table) &&
          std::none_of(sources.begin(), sources.end(), [&](const auto& source) { return source.first == name; }))
        all.emplace_back(name, "");
    }
    std::string command = std::string(TARVEK_MKLAYOUTS) + " '" + out() + "'";
    for (const auto& [name, text] : all) {
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
  // The certificate's twin without dotted lines; none of the other layout.
  EXPECT_EQ(sqlRows(out(), "select name from sqlite_master where name in ('tarvek_klasa_IIa', 'tarvek_klasa_IIa_bk', "
                           "'tarvek_wywiadowka', 'tarvek_wywiadowka_bk') order by name"),
            (std::vector<std::vector<std::string>> {{"tarvek_klasa_IIa"}, {"tarvek_klasa_IIa_bk"},
                                                    {"tarvek_wywiadowka"}}));
  // A table of every kind and a twin of every certificate's, no more.
  const auto twins = std::count_if(kDocKinds.begin(), kDocKinds.end(), [](const TDocKindInfo& info) { return info.tableNoDots; });
  EXPECT_EQ(sqlRows(out(), "select count(*) from sqlite_master where type='table'"),
            (std::vector<std::vector<std::string>> {{std::to_string(kDocKindCount + twins)}}));
}

TEST_F(LayoutSourcesTest, AFaultySourceStopsTheBuildWithItsLineAndWritesNoFile) {
  const std::string good = "A_STR1_DATA_EDIT; 1; 2; 3; 4; Arial; 10; 0; 0; 0; 0; 0\n";
  struct Case {
    std::string name, text, error;
  };
  const Case cases[] = {
      {"tarvek_klasa_Ib.csv", good, "tarvek_klasa_Ib.csv:1: error: no document kind is drawn by the layout \"tarvek_klasa_Ib\""},
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
      {"# a base mistyped\n@base nowhere.csv\n",
       "tarvek_klasa_IIa.csv:2: error: no layout file nowhere.csv in " + dirs.root() + "\n"},
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

// A kind whose layout is missing would print nothing: every one missing is
// refused at its line in the kinds' header, naming the file it expected,
// all in one run, and no file is written.
TEST_F(LayoutSourcesTest, AKindWithoutItsLayoutIsRefused) {
  EXPECT_EQ(generate({{"tarvek_klasa_Ia.csv", "A_STR1_DATA_EDIT; 1; 2; 3; 4; Arial; 10; 0; 0; 0; 0; 0\n"}},
                     {"tarvek_wywiadowka", "tarvek_arkusz_str4b_kol2"}),
            1);
  EXPECT_FALSE(std::filesystem::exists(out()));
  std::vector<std::string> refused;
  std::istringstream lines(errors());
  for (std::string line; std::getline(lines, line);)
    if (line.find(": error: ") != std::string::npos) refused.push_back(line);
  ASSERT_EQ(refused.size(), 2u) << errors();
  const std::pair<const char*, const char*> kinds[] = {{"dkWywiadowka", "tarvek_wywiadowka"},
                                                        {"dkArkuszStr4bKol2", "tarvek_arkusz_str4b_kol2"}};
  for (std::size_t k = 0; k < refused.size(); ++k) {
    const std::string said = std::string(": error: the document kind ") + kinds[k].first + " has no layout: " +
                             dirs.root() + "/" + kinds[k].second + ".csv is missing";
    const std::size_t at = refused[k].find(said);
    ASSERT_NE(at, std::string::npos) << refused[k];
    // The kind's own line of the header.
    const std::string where = refused[k].substr(0, at);
    const std::string header = "render/DocumentKinds.h:";
    ASSERT_NE(where.find(header), std::string::npos) << where;
    const std::string lineNo = where.substr(where.find(header) + header.size());
    EXPECT_TRUE(!lineNo.empty() && lineNo.find_first_not_of("0123456789") == std::string::npos && lineNo != "1") << where;
  }
}

}  // namespace
