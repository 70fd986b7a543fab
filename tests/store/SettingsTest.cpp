#include "store/Settings.h"

#include "platform/Cp1250.h"
#include "store/Folders.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

using Rows = std::vector<std::vector<std::string>>;

class SettingsTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  TDataStore ds;
  std::string file;
  void SetUp() override {
    file = strFunGetSettingsFilePath(&ds, false).text();
    sqlExec(file,
            "create table `settings`( name TEXT, text_value TEXT, int_value INTEGER );"
            "create table `city`( name TEXT ); create table `province`( name TEXT );");
  }
  Rows settings() const { return sqlRows(file, "select name, text_value, int_value from `settings` order by rowid"); }
  Rows logged() const {
    const std::string log = dirs.data() + "/logs.sqdb";
    return fs::exists(cp1250ToUtf8(log)) ? sqlRows(log, "select fun, info from `error`") : Rows {};
  }
};

TEST_F(SettingsTest, MissingNamesReadAsZeroAndEmpty) {
  int i = 7;
  std::string t = "x";
  EXPECT_TRUE(bFunSqlGetSettingsValue(&ds, "nothing", i));
  EXPECT_TRUE(bFunSqlGetSettingsValue(&ds, "nothing", t));
  EXPECT_EQ(i, 0);
  EXPECT_EQ(t, "");
}

TEST_F(SettingsTest, EachWriteFillsItsOwnColumnOfOneRow) {
  EXPECT_TRUE(bFunSqlSettingWriteValue(&ds, "word_wrap", 1));
  EXPECT_EQ(settings(), (Rows {{"word_wrap", "<NULL>", "1"}}));
  EXPECT_TRUE(bFunSqlSettingWriteValue(&ds, "word_wrap", 0));
  EXPECT_TRUE(bFunSqlSettingWriteValue(&ds, "word_wrap", std::string("tekst")));
  EXPECT_EQ(settings(), (Rows {{"word_wrap", "tekst", "0"}}));

  EXPECT_TRUE(bFunSqlSettingWriteValue(&ds, "only_text", std::string("abc")));
  int i = 9;
  EXPECT_TRUE(bFunSqlGetSettingsValue(&ds, "only_text", i));
  EXPECT_EQ(i, 0);
  EXPECT_TRUE(bFunSqlSettingWriteValue(&ds, "only_int", 3));
  std::string t = "x";
  EXPECT_TRUE(bFunSqlGetSettingsValue(&ds, "only_int", t));
  EXPECT_EQ(t, "");
}

TEST_F(SettingsTest, NegativeIntegersAndPolishTextsRoundTrip) {
  EXPECT_TRUE(bFunSqlSettingWriteValue(&ds, "n", -5));
  int i = 0;
  EXPECT_TRUE(bFunSqlGetSettingsValue(&ds, "n", i));
  EXPECT_EQ(i, -5);
  const std::string polish = cp1250("Zespół Szkół nr 1");
  EXPECT_TRUE(bFunSqlSettingWriteValue(&ds, "szkola", polish));
  std::string t;
  EXPECT_TRUE(bFunSqlGetSettingsValue(&ds, "szkola", t));
  EXPECT_EQ(t, polish);
}

TEST_F(SettingsTest, QuotesInNamesAndValuesChangeOnlyTheirOwnRow) {
  EXPECT_TRUE(bFunSqlSettingWriteValue(&ds, "a", std::string("1")));
  EXPECT_TRUE(bFunSqlSettingWriteValue(&ds, "b", std::string("2")));
  EXPECT_TRUE(bFunSqlSettingWriteValue(&ds, "x' or '1'='1", std::string("it's")));
  EXPECT_EQ(settings(), (Rows {{"a", "1", "<NULL>"}, {"b", "2", "<NULL>"}, {"x' or '1'='1", "it's", "<NULL>"}}));
  std::string t;
  EXPECT_TRUE(bFunSqlGetSettingsValue(&ds, "x' or '1'='1", t));
  EXPECT_EQ(t, "it's");
}

TEST_F(SettingsTest, FirstOfSeveralRowsWinsAndEveryRowIsUpdated) {
  sqlExec(file, "insert into `settings` values('d', 'one', 1); insert into `settings` values('d', 'two', 2);");
  int i = 0;
  EXPECT_TRUE(bFunSqlGetSettingsValue(&ds, "d", i));
  EXPECT_EQ(i, 1);
  EXPECT_TRUE(bFunSqlSettingWriteValue(&ds, "d", 5));
  EXPECT_EQ(settings(), (Rows {{"d", "one", "5"}, {"d", "two", "5"}}));
}

TEST_F(SettingsTest, MissingFileFailsEveryOperationWithItsMessage) {
  fs::remove(cp1250ToUtf8(file));
  std::vector<std::string> items = {"kept"};
  int i = 4;
  std::string t = "kept";
  struct Case {
    bool result;
    std::string message, fun;
  };
  const Case cases[] = {
      {bFunSqlSettingWriteValue(&ds, "a", 1), "Plik nie istnieje.\n\n", "bFunSqlSettingWriteValue()"},
      {bFunSqlSettingWriteValue(&ds, "a", std::string("t")), "Plik nie istnieje.\n\n", "bFunSqlSettingWriteValue()"},
      {bFunSqlGetSettingsValue(&ds, "a", i), "Plik nie istnieje:\n", "bFunSqlGetSettingsValue()"},
      {bFunSqlGetSettingsValue(&ds, "a", t), "Plik nie istnieje:\n", "bFunSqlGetSettingsValue()"},
      {bFunStudentDataLoadCityList(&ds, items), "Plik nie istnieje.\n", "bFunStudentDataLoadCityList()"},
      {bFunStudentDataLoadProvinceList(&ds, items), "Plik nie istnieje.\n", "bFunStudentDataLoadProvinceList()"},
      {bFunStudentDataAddCity(&ds, "a"), "Plik nie istnieje.\n", "bFunStudentDataAddCity()"},
      {bFunStudentDataAddProvince(&ds, "a"), "Plik nie istnieje.\n", "bFunStudentDataAddProvince()"},
  };
  // Evaluated in order above; compare each with its log row.
  const Rows log = logged();
  ASSERT_EQ(log.size(), std::size(cases));
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    EXPECT_FALSE(cases[k].result) << k;
    EXPECT_EQ(log[k][0], cases[k].fun);
    EXPECT_EQ(log[k][1], cases[k].message + file);
  }
  EXPECT_EQ(ds.ErrorStream.str(), "Plik nie istnieje.\n" + file);
  EXPECT_EQ(items, std::vector<std::string> {"kept"});
  EXPECT_EQ(i, 4);
  EXPECT_EQ(t, "kept");
}

TEST_F(SettingsTest, MissingSettingsTableFailsWriteUnloggedAndReadLogged) {
  sqlExec(file, "drop table `settings`");
  EXPECT_FALSE(bFunSqlSettingWriteValue(&ds, "word_wrap", 1));
  EXPECT_EQ(ds.ErrorStream.str(), "SQLite exception: SQLITE_ERROR");
  EXPECT_TRUE(logged().empty());
  int i = 3;
  EXPECT_FALSE(bFunSqlGetSettingsValue(&ds, "word_wrap", i));
  EXPECT_EQ(ds.ErrorStream.str(), "SqlException:\n\nSQLITE_ERROR");
  EXPECT_EQ(logged(), (Rows {{"bFunSqlGetSettingsValue()", "SqlException:\n\nSQLITE_ERROR"}}));
  EXPECT_EQ(i, 3);
}

TEST_F(SettingsTest, PlacesAreAddedOnceAndListedByTheirBytes) {
  for (const char* city : {"Zabrze", "Łódź", "opole", "Białystok", "Łódź"})
    EXPECT_TRUE(bFunStudentDataAddCity(&ds, cp1250(city)));
  std::vector<std::string> items = {"old"};
  EXPECT_TRUE(bFunStudentDataLoadCityList(&ds, items));
  EXPECT_EQ(items, (std::vector<std::string> {cp1250("Białystok"), "Zabrze", "opole", cp1250("Łódź")}));

  EXPECT_TRUE(bFunStudentDataAddProvince(&ds, ""));
  EXPECT_TRUE(bFunStudentDataAddProvince(&ds, ""));
  EXPECT_TRUE(bFunStudentDataAddProvince(&ds, cp1250("śląskie")));
  EXPECT_TRUE(bFunStudentDataLoadProvinceList(&ds, items));
  EXPECT_EQ(items, (std::vector<std::string> {"", cp1250("śląskie")}));
}

TEST_F(SettingsTest, AQuoteInATownIsStoredAndMatchesOnlyItself) {
  EXPECT_TRUE(bFunStudentDataAddCity(&ds, cp1250("Kraków")));
  EXPECT_TRUE(bFunStudentDataAddCity(&ds, cp1250("Kraków")));  // found by the update
  EXPECT_TRUE(bFunStudentDataAddCity(&ds, "x' or '1'='1"));
  EXPECT_TRUE(bFunStudentDataAddCity(&ds, "x' or '1'='1"));
  EXPECT_EQ(sqlRows(file, "select name from `city` order by rowid"), (Rows {{cp1250("Kraków")}, {"x' or '1'='1"}}));
}

TEST_F(SettingsTest, FailedListLoadKeepsTheItems) {
  sqlExec(file, "drop table `province`");
  std::vector<std::string> items = {"a", "b"};
  EXPECT_FALSE(bFunStudentDataLoadProvinceList(&ds, items));
  EXPECT_EQ(items, (std::vector<std::string> {"a", "b"}));
  EXPECT_EQ(ds.ErrorStream.str(), "Sql exception: SQLITE_ERROR");
  EXPECT_EQ(logged().back()[0], "bFunStudentDataLoadProvinceList()");
}

TEST_F(SettingsTest, ShippedSettingsHoldWhatTheProgramReads) {
  dirs.shipFromBuild("ustawienia.sqset");
  fs::copy_file(dirs.program() + "/ustawienia.sqset", cp1250ToUtf8(file), fs::copy_options::overwrite_existing);
  const std::pair<const char*, int> expected[] = {
      {"import_alert", 1}, {"create_school_data_template", 1}, {"strike_empty_fields", 1},
      {"print_without_dots", 0}, {"word_wrap", 0}};
  for (const auto& [name, value] : expected) {
    int v = -1;
    EXPECT_TRUE(bFunSqlGetSettingsValue(&ds, name, v));
    EXPECT_EQ(v, value) << name;
  }
  std::vector<std::string> provinces;
  EXPECT_TRUE(bFunStudentDataLoadProvinceList(&ds, provinces));
  EXPECT_EQ(provinces.size(), 16u);
  EXPECT_EQ(provinces.front(), cp1250("dolnośląskie"));
  std::vector<std::string> cities;
  EXPECT_TRUE(bFunStudentDataLoadCityList(&ds, cities));
  EXPECT_GE(cities.size(), 16u);
  EXPECT_EQ(sqlRows(file, "select count(*) from `margin`")[0][0], "3");
}
