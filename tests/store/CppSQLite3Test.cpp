#include "store/CppSQLite3.h"

#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Runs f and returns the exception it threw (code -1 when none).
template <class F>
CppSQLite3Exception thrownBy(F&& f) {
  try {
    f();
  } catch (const CppSQLite3Exception& e) {
    return e;
  }
  return CppSQLite3Exception(-1, "nothing thrown");
}

class SqliteTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  std::string path = dirs.root() + "/t.db";
  CppSQLite3DB db;
  void SetUp() override {
    db.openFile(TSystemPath::fromText(path));
    db.runStatement("create table `t`( a TEXT, b INTEGER );"
                    "insert into `t` values( 'x', 1 ); insert into `t` values( NULL, NULL );");
  }
};

}  // namespace

TEST(CppSQLite3Exception, CodeNames) {
  const std::pair<int, const char*> cases[] = {
      {0, "SQLITE_OK"},         {1, "SQLITE_ERROR"},      {5, "SQLITE_BUSY"},   {8, "SQLITE_READONLY"},
      {14, "SQLITE_CANTOPEN"},  {19, "SQLITE_CONSTRAINT"}, {25, "SQLITE_RANGE"}, {26, "UNKNOWN_ERROR"},
      {100, "SQLITE_ROW"},      {101, "SQLITE_DONE"},     {1000, "CPPSQLITE_ERROR"}, {-1, "UNKNOWN_ERROR"},
      {SQLITE_BUSY_SNAPSHOT, "UNKNOWN_ERROR"}, {99, "UNKNOWN_ERROR"},
  };
  for (const auto& [code, name] : cases) EXPECT_STREQ(CppSQLite3Exception::codeName(code), name) << code;
}

TEST(CppSQLite3Exception, MessageFormatAndCopies) {
  CppSQLite3Exception e(5, "database is locked");
  EXPECT_EQ(e.code(), 5);
  EXPECT_STREQ(e.message(), "SQLITE_BUSY[5]: database is locked");
  CppSQLite3Exception copy(e);
  EXPECT_STREQ(copy.message(), e.message());
  EXPECT_NE(copy.message(), e.message());  // its own text
  CppSQLite3Exception none(1000, nullptr);
  EXPECT_STREQ(none.message(), "CPPSQLITE_ERROR[1000]: ");
  char* owned = sqlite3_mprintf("from exec");
  CppSQLite3Exception freed(1, owned, true);  // freed here; a leak checker would see otherwise
  EXPECT_STREQ(freed.message(), "SQLITE_ERROR[1]: from exec");
}

TEST(CppSQLite3, OwnFailuresCarryCode1000AndTheirMessages) {
  CppSQLite3DB closed;
  const auto notOpen = thrownBy([&] { closed.runStatement("select 1"); });
  EXPECT_EQ(notOpen.code(), CPPSQLITE_ERROR);
  EXPECT_STREQ(notOpen.message(), "CPPSQLITE_ERROR[1000]: Database not open");
  EXPECT_STREQ(thrownBy([&] { closed.runQuery("select 1"); }).message(), "CPPSQLITE_ERROR[1000]: Database not open");

  CppSQLite3Query empty;
  EXPECT_STREQ(thrownBy([&] { empty.atEnd(); }).message(), "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer");
  EXPECT_STREQ(thrownBy([&] { empty.textByName("a"); }).message(),
               "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer");
  EXPECT_NO_THROW(closed.closeFile());
}

TEST_F(SqliteTest, ScalarQueries) {
  EXPECT_EQ(db.runIntQuery("select count(*) from t"), 2);
  EXPECT_EQ(db.runIntQuery("select b from t where a is null", 42), 42);
  const auto noRow = thrownBy([&] { db.runIntQuery("select b from t where 0"); });
  EXPECT_EQ(noRow.code(), CPPSQLITE_ERROR);
  EXPECT_STREQ(noRow.message(), "CPPSQLITE_ERROR[1000]: Invalid scalar query");
}

TEST_F(SqliteTest, HasTableIsExactAndSafe) {
  EXPECT_TRUE(db.hasTable("t"));
  EXPECT_FALSE(db.hasTable("T"));
  EXPECT_FALSE(db.hasTable("x' or '1'='1"));
  db.runStatement("create table `it's` ( a )");
  EXPECT_TRUE(db.hasTable("it's"));
  EXPECT_FALSE(db.hasTable(std::string(5000, 'n')));  // no buffer to overrun
}

TEST_F(SqliteTest, StatementsReportChangesAndSqliteFailures) {
  EXPECT_EQ(db.runStatement("update t set b = 7"), 2);
  const auto bad = thrownBy([&] { db.runStatement("select * from nowhere"); });
  EXPECT_EQ(bad.code(), SQLITE_ERROR);
  EXPECT_STREQ(bad.message(), "SQLITE_ERROR[1]: no such table: nowhere");
  EXPECT_EQ(thrownBy([&] { db.runQuery("select from"); }).code(), SQLITE_ERROR);
}

TEST_F(SqliteTest, QueryReadsRowsColumnsAndNulls) {
  CppSQLite3Query q = db.runQuery("select a, b from t order by rowid");
  ASSERT_FALSE(q.atEnd());
  EXPECT_EQ(q.columnCount(), 2);
  EXPECT_EQ(q.columnIndex("b"), 1);
  EXPECT_EQ(q.textByName("a"), "x");
  EXPECT_EQ(q.intByName("b"), 1);
  q.step();
  ASSERT_FALSE(q.atEnd());
  EXPECT_EQ(q.columnType(0), SQLITE_NULL);
  EXPECT_EQ(q.textByName("a"), "");
  EXPECT_EQ(q.textOrDefaultByName("a", "dflt"), "dflt");
  EXPECT_EQ(q.intByName("b", -3), -3);
  EXPECT_EQ(q.textAt(1, "n"), "n");
  EXPECT_STREQ(thrownBy([&] { q.columnIndex("A"); }).message(), "CPPSQLITE_ERROR[1000]: Invalid field name requested");
  EXPECT_STREQ(thrownBy([&] { q.intAt(2); }).message(), "CPPSQLITE_ERROR[1000]: Invalid field index requested");
  EXPECT_STREQ(thrownBy([&] { q.intAt(-1); }).message(), "CPPSQLITE_ERROR[1000]: Invalid field index requested");
  q.step();
  EXPECT_TRUE(q.atEnd());
  q.release();
  EXPECT_STREQ(thrownBy([&] { q.atEnd(); }).message(), "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer");
  db.closeFile();  // every statement was finalized, so the close succeeds
  EXPECT_FALSE(db.isOpen());
}

TEST_F(SqliteTest, AssignmentMovesTheStatement) {
  CppSQLite3Query a = db.runQuery("select a from t");
  CppSQLite3Query b = db.runQuery("select b from t");
  b = std::move(a);
  EXPECT_EQ(b.textByName("a"), "x");
  EXPECT_STREQ(thrownBy([&] { a.atEnd(); }).message(), "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer");
  b.release();
  db.closeFile();  // the replaced statement of b was finalized too
}

TEST_F(SqliteTest, CloseWithAnOpenStatementFailsAndKeepsTheConnection) {
  CppSQLite3Query q = db.runQuery("select a from t");
  const auto e = thrownBy([&] { db.closeFile(); });
  EXPECT_STREQ(e.message(), "CPPSQLITE_ERROR[1000]: Unable to close database");
  EXPECT_TRUE(db.isOpen());
  q.release();
  db.closeFile();
}

TEST_F(SqliteTest, BusyTimeoutWaitsForAnotherWriter) {
  CppSQLite3DB other;
  other.openFile(TSystemPath::fromText(path));
  other.runStatement("begin exclusive transaction;");
  db.setBusyWait(50);
  EXPECT_EQ(thrownBy([&] { db.runStatement("insert into t values('y', 2)"); }).code(), SQLITE_BUSY);
  other.runStatement("commit transaction;");
  EXPECT_EQ(db.runStatement("insert into t values('y', 2)"), 1);
}
