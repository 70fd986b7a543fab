// Costs of the data store's everyday operations: each opens and closes its
// file, so these are the numbers a check-box click, a log entry or the save
// and load of a student pays. The student's save and load and the held
// document are each timed beside their floor of raw SQLite (FloorPair.h).
#include "FloorPair.h"
#include "store/DocumentFiles.h"
#include "store/DocumentLocks.h"
#include "store/SQLImportUnit.h"
#include "platform/Cp1250.h"
#include "platform/Platform.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct BenchFolders {
  std::string root;
  BenchFolders() {
    root = (std::filesystem::temp_directory_path() / "tarvek-bench").string();
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root + "/program");
    ::setenv("TARVEK_COMMON_DATA_DIR", (root + "/common").c_str(), 1);
    platform::setProgramFolder(root + "/program");
  }
  ~BenchFolders() { std::filesystem::remove_all(root); }
};

void BM_SettingWriteRead(benchmark::State& state) {
  BenchFolders f;
  TDataStore ds;
  CppSQLite3DB db;
  db.openFile(strFunGetSettingsFilePath(&ds, false));
  db.runStatement("create table `settings`( name TEXT, text_value TEXT, int_value INTEGER )");
  db.closeFile();
  int v = 0;
  for (auto _ : state) {
    bFunSqlSettingWriteValue(&ds, "word_wrap", v ^= 1);
    int out = 0;
    bFunSqlGetSettingsValue(&ds, "word_wrap", out);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_SettingWriteRead);

void BM_LogWrite(benchmark::State& state) {
  BenchFolders f;
  TDataStore ds;
  ds.ErrorStream << "Sql exception: SQLITE_ERROR";
  for (auto _ : state) vFunSqlLogWrite(&ds, "bFunBench()", 0);
}
BENCHMARK(BM_LogWrite);

// One student as the forms hand it over: about 1800 rows.
std::vector<TDataRecord> benchStudent() {
  std::vector<TDataRecord> rows(1800);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    rows[k].id = k < 40 ? "DANE UCZNIA" : "ARKUSZ OCEN STR 2b TARVEK";
    rows[k].comp_name = "ZMIENNA_Pole" + std::to_string(k) + "_DATA_EDIT";
    rows[k].value = k % 4 == 0 ? std::string() : cp1250("bardzo dobry, O'Brien, źdźbło");
  }
  return rows;
}

void check(int rc, sqlite3* db, const char* what) {
  if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return;
  std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
  std::abort();
}

// The save and load's floor, raw SQLite on a connection of its own as the
// program opens one for each: the student's table dropped and made again,
// the rows inserted in one transaction through one prepared statement, and
// read back in their order.
void floorSaveLoad(const std::string& file, const std::string& table, const std::vector<TDataRecord>& rows,
                   std::vector<TDataRecord>& back) {
  sqlite3* db = nullptr;
  check(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), db, "open");
  check(sqlite3_exec(db, ("begin; drop table if exists `" + table + "`; create table `" + table +
                          "`( id TEXT, comp_name TEXT, value TEXT )").c_str(),
                     nullptr, nullptr, nullptr),
        db, "create");
  sqlite3_stmt* insert = nullptr;
  check(sqlite3_prepare_v2(db, ("insert into `" + table + "` values(?, ?, ?)").c_str(), -1, &insert, nullptr), db,
        "prepare");
  for (const TDataRecord& r : rows) {
    sqlite3_bind_text(insert, 1, r.id.str().data(), static_cast<int>(r.id.str().size()), SQLITE_STATIC);
    sqlite3_bind_text(insert, 2, r.comp_name.str().data(), static_cast<int>(r.comp_name.str().size()), SQLITE_STATIC);
    sqlite3_bind_text(insert, 3, r.value.c_str(), static_cast<int>(r.value.size()), SQLITE_STATIC);
    check(sqlite3_step(insert), db, "insert");
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  check(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), db, "commit");
  sqlite3_close(db);

  check(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), db, "open");
  sqlite3_stmt* select = nullptr;
  check(sqlite3_prepare_v2(db, ("select id, comp_name, value from `" + table + "` order by rowid").c_str(), -1,
                           &select, nullptr),
        db, "select");
  while (sqlite3_step(select) == SQLITE_ROW) {
    TDataRecord r;
    auto text = [select](int c) {
      const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(select, c));
      return std::string(t ? t : "", static_cast<std::size_t>(sqlite3_column_bytes(select, c)));
    };
    r.id = text(0);
    r.comp_name = text(1);
    r.value = text(2);
    back.push_back(std::move(r));
  }
  sqlite3_finalize(select);
  sqlite3_close(db);
}

void BM_StudentSaveLoad(benchmark::State& state) {
  BenchFolders f;
  TDataStore ds;
  const TSystemPath file = strFunGetTmpFilePath(&ds);
  const std::string floorFile = f.root + "/floor.sqtvk";
  for (const TSystemPath& path : {file, TSystemPath(floorFile)}) {
    CppSQLite3DB db;
    db.openFile(path);
    db.closeFile();
  }
  const std::vector<TDataRecord> rows = benchStudent();
  bench::timePair(
      state, "student save and load",
      [&] {
        bFunReplaceStudent(&ds, file, "", "PESEL90010112345", rows);
        std::vector<TDataRecord> back;
        bFunLoadCertData(&ds, file, "PESEL90010112345", back);
        if (back.size() != rows.size()) state.SkipWithError("the student came back otherwise");
      },
      [&] {
        std::vector<TDataRecord> back;
        floorSaveLoad(floorFile, "PESEL90010112345", rows, back);
        benchmark::DoNotOptimize(back.data());
      });
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(rows.size()));
}
BENCHMARK(BM_StudentSaveLoad)->Iterations(30)->UseManualTime()->Unit(benchmark::kMillisecond);

// A document a colleague's program holds: its hold is taken in a process of
// its own, as a colleague's is (the locks of one process never keep out
// that process's other opens of the file), and kept while the open and the
// save are timed. Both give up instead of waiting for it. The program gives
// the holder kDocumentBusyWaitMs to let go, each time, on purpose (a holder
// that lets go within a moment costs the user nothing); the floor is the
// least work that finds the file held: one connection and one write lock
// refused at once, for the open and for the save. So the ratio shows what
// the patience costs.
struct HeldDocument {
  BenchFolders f;
  std::string doc = f.root + "/klasa.sqtvk", wc = f.root + "/data_tmp.tmp";
  pid_t holder = -1;
  int release = -1;  // closed, it lets the holder go
  bool held = false;
  HeldDocument() {
    // The working copy is a document too, so the save fails for the hold
    // alone.
    for (const std::string& path : {doc, wc}) {
      CppSQLite3DB db;
      db.openFile(TSystemPath(path));
      db.runStatement("create table PESEL1 (id TEXT, comp_name TEXT, value TEXT)");
      db.closeFile();
    }
    int taken[2], kept[2];
    if (::pipe(taken) != 0) return;
    if (::pipe(kept) != 0) {
      ::close(taken[0]);
      ::close(taken[1]);
      return;
    }
    holder = ::fork();
    if (holder == 0) {
      ::close(taken[0]);
      ::close(kept[1]);
      docfiles::TDocumentHold hold;
      TFileFailure why;
      const char answer = hold.take(doc, 0, why) ? 1 : 0;
      // Held until the parent closes its end of the pipe (or ends).
      char end = 0;
      if (::write(taken[1], &answer, 1) == 1 && answer)
        while (::read(kept[0], &end, 1) < 0 && errno == EINTR) {
        }
      ::_exit(0);
    }
    ::close(taken[1]);
    ::close(kept[0]);
    release = kept[1];
    char answer = 0;
    held = holder > 0 && ::read(taken[0], &answer, 1) == 1 && answer == 1;
    ::close(taken[0]);
  }
  ~HeldDocument() {
    if (release >= 0) ::close(release);
    if (holder > 0) ::waitpid(holder, nullptr, 0);
  }
};

void BM_HeldDocumentOpenAndSave(benchmark::State& state) {
  HeldDocument held;
  if (!held.held) {
    state.SkipWithError("the colleague's process could not hold the document");
    return;
  }
  bench::timePair(
      state, "held document open and save",
      [&] {
        TFileFailure opening, saving;
        benchmark::DoNotOptimize(bFunLoadDocument(TSystemPath(held.doc), TSystemPath(held.wc), opening));
        benchmark::DoNotOptimize(bFunSaveDocument(TSystemPath(held.wc), TSystemPath(held.doc), saving));
        if (!opening.inUse || !saving.inUse) state.SkipWithError("the held document was not refused as in use");
      },
      [&] {
        for (int k = 0; k < 2; ++k) {  // as the open and the save
          sqlite3* db = nullptr;
          sqlite3_open_v2(held.doc.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
          if (sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr) != SQLITE_BUSY)
            state.SkipWithError("the floor found the document free");
          sqlite3_close(db);
        }
      });
  state.counters["busy_wait_ms"] = kDocumentBusyWaitMs;
}
BENCHMARK(BM_HeldDocumentOpenAndSave)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Cp1250RoundTrip(benchmark::State& state) {
  const std::string text = cp1250("Zażółć gęślą jaźń, Świadectwo ukończenia szkoły. ") + std::string(2000, 'a');
  for (auto _ : state) benchmark::DoNotOptimize(cp1250FromUtf8(cp1250ToUtf8(text)));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Cp1250RoundTrip);

}  // namespace

BENCHMARK_MAIN();
