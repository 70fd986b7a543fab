// Costs of the data store's everyday operations: each opens and closes its
// file, so these are the numbers a check-box click or a log entry pays.
#include "store/SQLImportUnit.h"
#include "platform/Cp1250.h"
#include "platform/Platform.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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

void BM_Cp1250RoundTrip(benchmark::State& state) {
  const std::string text = cp1250("Zażółć gęślą jaźń, Świadectwo ukończenia szkoły. ") + std::string(2000, 'a');
  for (auto _ : state) benchmark::DoNotOptimize(cp1250FromUtf8(cp1250ToUtf8(text)));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Cp1250RoundTrip);

}  // namespace

BENCHMARK_MAIN();
