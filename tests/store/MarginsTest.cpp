#include "store/Margins.h"

#include "StoreTestSupport.h"

#include <array>

namespace {

const char kMarginTable[] =
    "create table `margin`( `name` TEXT, `Page1X1` INTEGER, `Page1Y1` INTEGER, `Page1X2` INTEGER, "
    "`Page1Y2` INTEGER, `Page2X1` INTEGER, `Page2Y1` INTEGER, `Page2X2` INTEGER, `Page2Y2` INTEGER );";

TMarginRecord set(const std::string& name, std::array<int, 8> e) {
  TMarginRecord r;
  r.name = name;
  r.Page1X1 = e[0];
  r.Page1Y1 = e[1];
  r.Page1X2 = e[2];
  r.Page1Y2 = e[3];
  r.Page2X1 = e[4];
  r.Page2Y1 = e[5];
  r.Page2X2 = e[6];
  r.Page2Y2 = e[7];
  return r;
}

std::vector<std::string> fields(const TMarginRecord& r) {
  std::vector<std::string> f = {r.name};
  for (int edge : {r.Page1X1, r.Page1Y1, r.Page1X2, r.Page1Y2, r.Page2X1, r.Page2Y1, r.Page2X2, r.Page2Y2})
    f.push_back(std::to_string(edge));
  return f;
}

class MarginsTest : public StoreTest {
 protected:
  TSystemPath file;
  void SetUp() override {
    file = strFunGetSettingsFilePath(&ds, false);
    sqlExec(file, kMarginTable);
  }
  Rows sets(const TSystemPath& path) const {
    return sqlRows(path, "select name, Page1X1, Page1Y1, Page1X2, Page1Y2, Page2X1, Page2Y1, Page2X2, Page2Y2 "
                         "from `margin` order by rowid");
  }
  Rows read() {
    std::vector<TMarginRecord> list(3);
    EXPECT_TRUE(bFunMarginReadData(&ds, file, list)) << ds.ErrorStream.str();
    Rows rows;
    for (const TMarginRecord& r : list) rows.push_back(fields(r));
    return rows;
  }
};

}  // namespace

TEST_F(MarginsTest, WrittenSetsReadBackIntoTheSameFields) {
  EXPECT_TRUE(read().empty());
  ASSERT_TRUE(bFunMarginWriteNewSettings(&ds, file, set("HP", {10, 15, 200, 287, 11, 16, 201, 288})));
  ASSERT_TRUE(bFunMarginWriteNewSettings(&ds, file, set("HP", {1, 2, 3, 4, 5, 6, 7, 8})));  // a second of that name
  EXPECT_EQ(sets(file), (Rows {{"HP", "10", "15", "200", "287", "11", "16", "201", "288"},
                               {"HP", "1", "2", "3", "4", "5", "6", "7", "8"}}));
  EXPECT_EQ(read(), sets(file));
}

TEST_F(MarginsTest, NullsReadAsZeroAndEmpty) {
  sqlExec(file, "insert into `margin`( `Page1X1` ) values( 5 )");
  EXPECT_EQ(read(), (Rows {{"", "5", "0", "0", "0", "0", "0", "0", "0"}}));
}

TEST_F(MarginsTest, DeleteRemovesEveryRowOfTheNameAndOnlyThose) {
  for (const char* name : {"A", "x' or '1'='1", "A", "B"})
    ASSERT_TRUE(bFunMarginWriteNewSettings(&ds, file, set(name, {})));
  ASSERT_TRUE(bFunMarginDeleteSettings(&ds, file, "x' or '1'='1"));
  EXPECT_EQ(sets(file).size(), 3u);
  ASSERT_TRUE(bFunMarginDeleteSettings(&ds, file, "A"));
  EXPECT_EQ(sets(file), (Rows {{"B", "0", "0", "0", "0", "0", "0", "0", "0"}}));

  EXPECT_FALSE(bFunMarginDeleteSettings(&ds, file, "A"));
  expectFailure(cp1250("Błąd podczas próby skasowania ustawień A"), "bFunMarginDeleteSettings()");
}

TEST_F(MarginsTest, WriteThatStoresNoRowFails) {
  sqlExec(file, "create trigger `ignore` before insert on `margin` begin select raise(ignore); end;");
  EXPECT_FALSE(bFunMarginWriteNewSettings(&ds, file, set("A", {})));
  expectFailure(cp1250("Bład podczas próby dodania wpisu."), "bFunMarginWriteNewSettings()");
}

TEST_F(MarginsTest, FailuresOfEachOperation) {
  const std::string missing = data + "/brak.sqset";
  std::vector<TMarginRecord> list(2);
  struct Case {
    bool result;
    std::string message, fun;
  };
  const auto run = [&](bool result, const std::string& fun) {
    return Case {result, ds.ErrorStream.str(), fun};
  };
  const Case missingFile[] = {
      run(bFunMarginReadData(&ds, TSystemPath::fromText(missing), list), "bFunMarginReadData()"),
      run(bFunMarginDeleteSettings(&ds, TSystemPath::fromText(missing), "A"), "bFunMarginDeleteSettings()"),
      run(bFunMarginWriteNewSettings(&ds, TSystemPath::fromText(missing), set("A", {})),
          "bFunMarginWriteNewSettings()"),
      run(bFunMarginRestoreOriginal(&ds, TSystemPath::fromText(missing), file), "bFunMarginRestoreOriginal()"),
      run(bFunMarginRestoreOriginal(&ds, file, TSystemPath::fromText(missing)), "bFunMarginRestoreOriginal()"),
  };
  const Rows log = logged();
  ASSERT_EQ(log.size(), std::size(missingFile));
  for (std::size_t k = 0; k < std::size(missingFile); ++k) {
    EXPECT_FALSE(missingFile[k].result) << k;
    EXPECT_EQ(missingFile[k].message, "Plik nie istnieje.\n" + missing) << k;
    EXPECT_EQ(log[k], (std::vector<std::string> {missingFile[k].fun, missingFile[k].message})) << k;
  }
  EXPECT_EQ(list.size(), 2u);
  EXPECT_FALSE(exists(missing));

  sqlExec(file, "drop table `margin`");
  const std::pair<bool, std::string> noTable[] = {
      {bFunMarginReadData(&ds, file, list), "SqlException\nSQLITE_ERROR"},
      {bFunMarginDeleteSettings(&ds, file, "A"), "SqlException\nSQLITE_ERROR"},
      {bFunMarginWriteNewSettings(&ds, file, set("A", {})), "Sql exception: SQLITE_ERROR"},
  };
  const Rows after = logged();
  for (std::size_t k = 0; k < std::size(noTable); ++k) {
    EXPECT_FALSE(noTable[k].first) << k;
    EXPECT_EQ(after[log.size() + k][1], noTable[k].second) << k;
  }
}

TEST_F(MarginsTest, RestoreLeavesExactlyTheShippedSets) {
  dirs.shipFromBuild("ustawienia.sqset");
  const TSystemPath shipped = strFunGetSettingsFilePath(&ds, true);
  sqlExec(shipped, "insert into `margin` values( 'Druga', 1, 2, 3, 4, 5, 6, 7, 8 );"
                   "insert into `margin`( `name` ) values( NULL );");
  ASSERT_TRUE(bFunMarginWriteNewSettings(&ds, file, set("moje", {9, 9, 9, 9, 9, 9, 9, 9})));
  ASSERT_TRUE(bFunMarginRestoreOriginal(&ds, shipped, file));
  Rows expected = sets(shipped);
  expected.back() = {"", "0", "0", "0", "0", "0", "0", "0", "0"};  // NULLs come over as "" and 0
  EXPECT_EQ(sets(file), expected);
  EXPECT_EQ(expected.front(), (std::vector<std::string> {cp1250("Domyślne A4"), "0", "0", "210", "297", "0", "0",
                                                         "210", "297"}));
}

TEST_F(MarginsTest, FailedRestoreLeavesTheUsersSets) {
  dirs.shipFromBuild("ustawienia.sqset");
  const TSystemPath shipped = strFunGetSettingsFilePath(&ds, true);
  ASSERT_TRUE(bFunMarginWriteNewSettings(&ds, file, set("moje", {9, 9, 9, 9, 9, 9, 9, 9})));
  const Rows before = sets(file);
  sqlExec(file, "create trigger `refuse` before insert on `margin` begin select raise(abort, 'no'); end;");
  EXPECT_FALSE(bFunMarginRestoreOriginal(&ds, shipped, file));
  expectFailure("Sql exception: SQLITE_CONSTRAINT", "bFunMarginRestoreOriginal()");
  EXPECT_EQ(sets(file), before);

  sqlExec(shipped, "drop table `margin`");
  EXPECT_FALSE(bFunMarginRestoreOriginal(&ds, shipped, file));
  expectFailure("Sql exception: SQLITE_ERROR", "bFunMarginRestoreOriginal()");
  EXPECT_EQ(sets(file), before);
}
