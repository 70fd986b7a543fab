// Costs of the data store's everyday operations: each opens and closes its
// file, so these are the numbers a check-box click, a log entry or the save
// and load of a student pays.
#include "store/DocumentFiles.h"
#include "store/SQLImportUnit.h"
#include "platform/Cp1250.h"
#include "platform/Platform.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

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

void BM_StudentSaveLoad(benchmark::State& state) {
  BenchFolders f;
  TDataStore ds;
  const std::string file = strFunGetTmpFilePath(&ds);
  CppSQLite3DB db;
  db.openFile(file);
  db.closeFile();
  const std::vector<TDataRecord> rows = benchStudent();
  for (auto _ : state) {
    bFunReplaceStudent(&ds, file, "", "PESEL90010112345", rows);
    std::vector<TDataRecord> back;
    bFunLoadCertData(&ds, file, "PESEL90010112345", back);
    benchmark::DoNotOptimize(back.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(rows.size()));
}
BENCHMARK(BM_StudentSaveLoad)->Unit(benchmark::kMillisecond);

// A document another program holds (here another connection, in an
// exclusive transaction): the open and the save give up instead of waiting
// for it. Floor: raw SQLite given the same busy wait, failing to begin a
// write transaction on the held file.
struct HeldDocument {
  BenchFolders f;
  std::string doc = f.root + "/klasa.sqtvk", wc = f.root + "/data_tmp.tmp";
  sqlite3* other = nullptr;
  HeldDocument() {
    CppSQLite3DB db;
    db.openFile(doc);
    db.runStatement("create table PESEL1 (id TEXT, comp_name TEXT, value TEXT)");
    db.closeFile();
    sqlite3_open(doc.c_str(), &other);
    sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr);
  }
  ~HeldDocument() {
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);
  }
};

void BM_HeldDocumentOpenAndSave(benchmark::State& state) {
  HeldDocument held;
  for (auto _ : state) {
    TFileFailure opening, saving;
    benchmark::DoNotOptimize(bFunLoadDocument(held.doc, held.wc, opening));
    benchmark::DoNotOptimize(bFunSaveDocument(held.wc, held.doc, saving));
    if (!opening.inUse || !saving.inUse) state.SkipWithError("the held document was not refused as in use");
  }
}
BENCHMARK(BM_HeldDocumentOpenAndSave)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_HeldDocumentFloor(benchmark::State& state) {
  HeldDocument held;
  for (auto _ : state) {
    for (int k = 0; k < 2; ++k) {  // as the open and the save
      sqlite3* db = nullptr;
      sqlite3_open_v2(held.doc.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
      sqlite3_busy_timeout(db, kDocumentBusyWaitMs);
      benchmark::DoNotOptimize(sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr));
      sqlite3_close(db);
    }
  }
}
BENCHMARK(BM_HeldDocumentFloor)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Cp1250RoundTrip(benchmark::State& state) {
  const std::string text = cp1250("Zażółć gęślą jaźń, Świadectwo ukończenia szkoły. ") + std::string(2000, 'a');
  for (auto _ : state) benchmark::DoNotOptimize(cp1250FromUtf8(cp1250ToUtf8(text)));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Cp1250RoundTrip);

}  // namespace

BENCHMARK_MAIN();
