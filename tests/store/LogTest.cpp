#include "store/DataStore.h"

#include "platform/Cp1250.h"
#include "platform/Platform.h"
#include "store/Folders.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

class LogTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  TDataStore ds;
  std::string log() const { return dirs.data() + "/logs.sqdb"; }
  void SetUp() override { platform::setUtcClock([] { return platform::UtcTime {2011, 3, 7, 9, 5, 0}; }); }
};

TEST_F(LogTest, FirstEntryMakesTheLogWithItsErrorTableOnly) {
  ds.ErrorStream << "pierwszy\ndrugi";
  vFunSqlLogWrite(&ds, "bFunTest()", 0);
  EXPECT_EQ(sqlRows(log(), "select datetime, fun, info from `error`"),
            (std::vector<std::vector<std::string>> {{"2011.3.7 9:5:0", "bFunTest()", "pierwszy\ndrugi"}}));
  EXPECT_TRUE(sqlRows(log(), "select name from sqlite_master where name='info'").empty());
  EXPECT_EQ(ds.ErrorStream.str(), "pierwszy\ndrugi");

  vFunSqlLogWrite(&ds, "inny()", 1);
  EXPECT_EQ(sqlRows(log(), "select fun from `info`").size(), 1u);
  vFunSqlLogWrite(&ds, "nic()", 7);  // no such kind: nothing written
  EXPECT_EQ(sqlRows(log(), "select count(*) from `error`")[0][0], "1");
  EXPECT_EQ(sqlRows(log(), "select count(*) from `info`")[0][0], "1");
}

TEST_F(LogTest, TimesHaveNoLeadingZeros) {
  const std::pair<platform::UtcTime, const char*> cases[] = {
      {{2011, 3, 7, 9, 5, 0}, "2011.3.7 9:5:0"},
      {{2026, 12, 31, 23, 59, 59}, "2026.12.31 23:59:59"},
      {{2020, 1, 1, 0, 0, 0}, "2020.1.1 0:0:0"},
  };
  for (const auto& [t, text] : cases) {
    platform::setUtcClock([t = t] { return t; });
    EXPECT_EQ(strFunLogTime(), text);
  }
}

TEST_F(LogTest, QuotesInTextsAreStoredNotLost) {
  ds.ErrorStream << "update `t` set a='x' where b='y'";
  vFunSqlLogWrite(&ds, "it's()", 0);
  std::vector<TLogRecord> list;
  ASSERT_TRUE(bFunSqlGetLogsData(&ds, list));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].fun, "it's()");
  EXPECT_EQ(list[0].info, "update `t` set a='x' where b='y'");
}

TEST_F(LogTest, ReadAppendsInStoredOrderAndCutsToTheRecord) {
  std::vector<TLogRecord> list(1);
  for (const std::string& text : {std::string("a"), std::string("b"), std::string(3000, 'c')}) {
    ds.ErrorStream.clear();
    ds.ErrorStream << text;
    vFunSqlLogWrite(&ds, std::string(80, 'f'), 0);
  }
  ASSERT_TRUE(bFunSqlGetLogsData(&ds, list));
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[1].info, "a");
  EXPECT_EQ(list[2].info, "b");
  EXPECT_EQ(list[3].info.size(), 1023u);
  EXPECT_EQ(list[3].fun.size(), 49u);
  EXPECT_EQ(list[3].datetime, "2011.3.7 9:5:0");
}

TEST_F(LogTest, MissingLogReadsFalseWithErrorStreamUntouched) {
  ds.ErrorStream << "earlier";
  std::vector<TLogRecord> list;
  EXPECT_FALSE(bFunSqlGetLogsData(&ds, list));
  EXPECT_EQ(ds.ErrorStream.str(), "earlier");
  EXPECT_FALSE(fs::exists(cp1250ToUtf8(log())));
}

TEST_F(LogTest, BrokenLogReadReportsTheCodeName) {
  strFunGetMainDirPath(&ds);
  sqlExec(log(), "create table other( x )");
  std::vector<TLogRecord> list;
  EXPECT_FALSE(bFunSqlGetLogsData(&ds, list));
  EXPECT_EQ(ds.ErrorStream.str(), "Sql exception: SQLITE_ERROR");
}

TEST_F(LogTest, AnUnwritableLogDropsTheEntryQuietly) {
  fs::create_directories(cp1250ToUtf8(log()));  // a folder where the file should be
  ds.ErrorStream << "keep";
  vFunSqlLogWrite(&ds, "x()", 0);
  EXPECT_EQ(ds.ErrorStream.str(), "keep");

  // A failing operation still reports its own message.
  EXPECT_FALSE(bFunCopyFile(&ds, TSystemPath("/nowhere/a"), TSystemPath("/nowhere/b"), false));
  EXPECT_EQ(ds.ErrorStream.str().rfind(cp1250("Błąd podczas kopiowania pliku."), 0), 0u);
}

TEST_F(LogTest, AMissingDataFolderDropsTheEntryWithoutReporting) {
  writeText(dirs.root() + "/file", "x");
  ::setenv("TARVEK_COMMON_DATA_DIR", (dirs.root() + "/file/below").c_str(), 1);
  ds.ErrorStream << "keep";
  vFunSqlLogWrite(&ds, "x()", 0);
  EXPECT_EQ(ds.ErrorStream.str(), "keep");
}

TEST_F(LogTest, ReportsFromTwoThreadsStayWhole) {
  auto worker = [this](char c) {
    for (int i = 0; i < 20; ++i) vFunReportError(&ds, std::string(64, c), "w()");
  };
  std::thread a(worker, 'a'), b(worker, 'b');
  a.join();
  b.join();
  const std::string last = ds.ErrorStream.str();
  EXPECT_TRUE(last == std::string(64, 'a') || last == std::string(64, 'b')) << last;
  for (const auto& row : sqlRows(log(), "select info from `error`"))
    EXPECT_TRUE(row[0] == std::string(64, 'a') || row[0] == std::string(64, 'b'));
  EXPECT_EQ(sqlRows(log(), "select count(*) from `error`")[0][0], "40");
}
