#include "store/Templates.h"

#include "StoreTestSupport.h"
#include "platform/NativeFiles.h"

#include <cerrno>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The rows of the school-template dialog: 39 edits, some left empty.
std::vector<TDataRecord> dialogRows() {
  std::vector<TDataRecord> rows;
  for (int k = 1; k <= 39; ++k) {
    TDataRecord r;
    r.id = "DANE SZKOLY";
    r.comp_name = "ZMIENNA_Pole" + std::to_string(40 - k) + "_DATA_EDIT";
    r.value = k % 3 == 0 ? std::string() : cp1250("wartość ") + std::to_string(k);
    rows.push_back(r);
  }
  rows[4].value = "O'Brien";
  return rows;
}

Rows asRows(const std::vector<TDataRecord>& list) {
  Rows rows;
  for (const TDataRecord& r : list) rows.push_back({r.id, r.comp_name, r.value});
  return rows;
}

class TemplatesTest : public StoreTest {
 protected:
  TSystemPath file;
  void SetUp() override { file = strFunGetTemplatesFilePath(&ds); }
  Rows stored() const { return sqlRows(file, "select id, comp_name, value from `school_data` order by rowid"); }
  Rows read() {
    std::vector<TDataRecord> list(2);
    EXPECT_TRUE(bFunSqlTemplateReadData(&ds, file, "school_data", list)) << ds.ErrorStream.str();
    return asRows(list);
  }
};

}  // namespace

TEST_F(TemplatesTest, PathMakesAnEmptyTemplateFile) {
  EXPECT_EQ(file.text(), data + "/szablony.sqset");
  EXPECT_TRUE(exists(file.text()));
  EXPECT_TRUE(sqlRows(file, "select * from sqlite_master").empty());
  EXPECT_TRUE(read().empty());
  EXPECT_EQ(strFunGetTemplatesFilePath(&ds), file);
}

TEST_F(TemplatesTest, WrittenRowsReadBackInOrderWithQuotesSingle) {
  const std::vector<TDataRecord> rows = dialogRows();
  ASSERT_TRUE(bFunSqlTemplateWriteData(&ds, file, "school_data", rows));
  EXPECT_EQ(rows[4].value, "O'Brien");  // the caller's rows are not touched
  EXPECT_EQ(stored(), asRows(rows));
  EXPECT_EQ(read(), asRows(rows));

  // A second write replaces the table whole.
  ASSERT_TRUE(bFunSqlTemplateWriteData(&ds, file, "school_data", {rows[4]}));
  EXPECT_EQ(read(), (Rows {{"DANE SZKOLY", rows[4].comp_name, "O'Brien"}}));
  ASSERT_TRUE(bFunSqlTemplateWriteData(&ds, file, "school_data", {}));
  EXPECT_TRUE(stored().empty());
  EXPECT_TRUE(read().empty());
}

TEST_F(TemplatesTest, ReadTakesNullAsEmptyAndToleratesFurtherColumns) {
  sqlExec(file, "create table `school_data`( id TEXT, extra TEXT, comp_name TEXT, value TEXT );"
                "insert into `school_data` values( 'DANE SZKOLY', 'x', NULL, 'v' );");
  EXPECT_EQ(read(), (Rows {{"DANE SZKOLY", "", "v"}}));
}

TEST_F(TemplatesTest, ReadFailures) {
  sqlExec(file, "create table `school_data`( id TEXT, comp_name TEXT ); insert into `school_data` values( 'a', 'b' );");
  std::vector<TDataRecord> list;
  EXPECT_FALSE(bFunSqlTemplateReadData(&ds, file, "school_data", list));
  expectFailure("SqlException\nCPPSQLITE_ERROR", "bFunSqlTemplateReadData()");

  const std::string missing = data + "/brak.sqset";
  list.resize(3);
  EXPECT_FALSE(bFunSqlTemplateReadData(&ds, TSystemPath::fromText(missing), "school_data", list));
  expectFailure("Plik nie istnieje.\n" + missing, "bFunSqlTemplateReadData()");
  EXPECT_EQ(list.size(), 3u);
}

TEST_F(TemplatesTest, WriteToAMissingFileMakesNone) {
  const std::string missing = data + "/brak.sqset";
  EXPECT_FALSE(bFunSqlTemplateWriteData(&ds, TSystemPath::fromText(missing), "school_data", dialogRows()));
  expectFailure("Plik nie istnieje.\n\n" + missing, "bFunSqlTemplateWriteData()");
  EXPECT_FALSE(exists(missing));
}

TEST_F(TemplatesTest, FailedWritesLeaveTheFormerTemplate) {
  const std::vector<TDataRecord> rows = dialogRows();
  ASSERT_TRUE(bFunSqlTemplateWriteData(&ds, file, "school_data", rows));


  // A file that cannot be changed: the drop fails and says which table.
  markReadOnly(file.text());
  EXPECT_FALSE(bFunSqlTemplateWriteData(&ds, file, "school_data", {rows[0]}));
  expectFailure(cp1250("Błąd podczas próby kasowania tablicy \"school_data\"\nPlik jest tylko do odczytu albo program "
                       "nie ma prawa go zmienić. (SQLITE_READONLY)"),
                "bFunSqlTemplateWriteData()");
  EXPECT_EQ(stored(), asRows(rows));
}

// "OK" of the school template on a full disk (a file-size limit here): the
// message names the table and says why, and the former template stays.
TEST_F(TemplatesTest, AWriteOnAFullDiskSaysTheDiskIsFull) {
  const std::vector<TDataRecord> rows = dialogRows();
  ASSERT_TRUE(bFunSqlTemplateWriteData(&ds, file, "school_data", rows));
  const pid_t pid = ::fork();
  if (pid == 0) {
    platform::ignoreFileSizeSignal();
    const rlimit limit {1024, 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    TDataStore child;
    if (bFunSqlTemplateWriteData(&child, file, "school_data", {rows[0]})) ::_exit(1);
    const std::string expected = cp1250("Błąd podczas próby kasowania tablicy \"school_data\"\nBrak miejsca na dysku. "
                                        "Zwolnij miejsce na dysku i spróbuj ponownie. (SQLITE_IOERR, kod błędu ") +
                                 std::to_string(EFBIG) + ")";
    if (child.ErrorStream.str() != expected) {
      std::fprintf(stderr, "%s\n", cp1250ToUtf8(child.ErrorStream.str()).c_str());
      ::_exit(2);
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(stored(), asRows(rows));
}

TEST_F(TemplatesTest, WriteOverAViewOfThatNameFails) {
  sqlExec(file, "create view `school_data` as select 1 as id");
  EXPECT_FALSE(bFunSqlTemplateWriteData(&ds, file, "school_data", dialogRows()));
  expectFailure("SqlException\nSQLITE_ERROR", "bFunSqlTemplateWriteData()");
}

TEST(TemplatesPath, WithoutADataFolderThereIsNoPath) {
  TempFolders dirs;
  writeText(dirs.common() + "/Kestal-Tarvek", "a file in the way");
  TDataStore ds;
  EXPECT_EQ(strFunGetTemplatesFilePath(&ds).text(), "");
  EXPECT_FALSE(ds.ErrorStream.empty());  // the data folder's own message
}
