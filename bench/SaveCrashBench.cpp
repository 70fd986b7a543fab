// Fault injection: a save of a document is killed at a random moment, again
// and again. After each kill the document must be whole and either as it was
// or as saved (never a mix), and once the document is opened again no file
// of the interrupted save may be left beside it.
// The second benchmark saves into a folder that takes no new file (the save
// goes into the document itself, run as an ordinary user when started as
// root); kills fall at random moments and at the save's steps, after it
// wrote all of the new state too; after each kill the program's next start
// deals with what a killed save left, and only then is the document looked at.
//   build/bench/save_crash_bench            (200 + 150 kills; not part of ctest)
#include "store/DocumentFiles.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

void exec(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  char* err = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
  sqlite3_free(err);
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw std::runtime_error("cannot make " + path);
}

// Runs `work` in a child process and kills it after `micros` (when not
// negative: the child kills itself); true when the kill came while the
// child was still at work.
bool killedDuring(const std::function<void()>& work, long micros) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    work();
    ::_exit(0);
  }
  if (micros >= 0) {
    ::usleep(static_cast<useconds_t>(micros));
    ::kill(pid, SIGKILL);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFSIGNALED(status);
}

// A working copy of `students` students whose tables start with `prefix`.
void makeCopy(const std::string& path, const std::string& prefix, int students) {
  std::string sql = "begin;";
  for (int s = 0; s < students; ++s) {
    const std::string table = "`PESEL" + prefix + std::to_string(s) + "`";
    sql += "create table " + table + "( id TEXT, comp_name TEXT, value TEXT );";
    for (int r = 0; r < 60; ++r)
      sql += "insert into " + table + " values('DANE UCZNIA', 'Pole" + std::to_string(r) + "', '" +
             std::string(300, static_cast<char>('a' + r % 26)) + "');";
  }
  exec(path, sql + "commit;");
}

// "A" or "B" when the file is whole and holds exactly one of the two
// documents; "unreadable" when SQLite cannot read all of it; "mixed"
// otherwise.
std::string stateOf(const std::string& path, int students) {
  sqlite3* db = nullptr;
  std::string state = "unreadable";
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    int a = 0, b = 0, other = 0;
    bool whole = false;
    if (sqlite3_prepare_v2(db, "pragma integrity_check", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
      whole = std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) == "ok";
    sqlite3_finalize(st);
    if (whole && sqlite3_prepare_v2(db, "select name, (select 1) from sqlite_master where type='table'", -1, &st,
                                    nullptr) == SQLITE_OK) {
      state = "mixed";
      while (sqlite3_step(st) == SQLITE_ROW) {
        const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        (name.rfind("PESELA", 0) == 0 ? a : name.rfind("PESELB", 0) == 0 ? b : other)++;
      }
      sqlite3_finalize(st);
      if (other == 0 && a == students && b == 0) state = "A";
      if (other == 0 && b == students && a == 0) state = "B";
    }
  }
  sqlite3_close(db);
  return state;
}

void BM_KilledSave(benchmark::State& state) {
  const int students = 40;
  const fs::path root = fs::temp_directory_path() / ("tarvek-crash-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "dane");
  fs::create_directories(root / "dokumenty");
  const std::string copyA = (root / "dane" / "a.tmp").string(), copyB = (root / "dane" / "b.tmp").string();
  const std::string scratch = (root / "dane" / "data_tmp.tmp").string();
  const std::string doc = (root / "dokumenty" / "klasa.sqtvk").string();
  makeCopy(copyA, "A", students);
  makeCopy(copyB, "B", students);
  TFileFailure why;
  if (!bFunSaveDocument(copyA, doc, why)) throw std::runtime_error("first save failed");

  // How long one save takes: the kills fall within 1.5 times that.
  const auto t0 = std::chrono::steady_clock::now();
  bFunSaveDocument(copyA, doc, why);
  const auto saveMicros =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0).count();

  std::mt19937 random(20240611);
  std::uniform_int_distribution<long> delay(0, saveMicros * 3 / 2 + 1);
  long runs = 0, killedMidway = 0, asBefore = 0, asSaved = 0, mixed = 0, leftAfterKill = 0, stray = 0;
  std::string current = "A";

  for (auto _ : state) {
    const std::string& source = current == "A" ? copyB : copyA;
    const bool killed = killedDuring(
        [&] {
          TFileFailure failure;
          bFunSaveDocument(source, doc, failure);
        },
        delay(random));
    ++runs;
    if (killed) ++killedMidway;

    const std::string now = stateOf(doc, students);
    if (now == "mixed" || now == "unreadable") {
      ++mixed;
    } else if (now == current) {
      ++asBefore;
    } else {
      ++asSaved;
      current = now;
    }
    if (fs::exists(strFunSaveInProgressPath(doc))) ++leftAfterKill;
    // Opening the document again clears what the interrupted save left.
    bFunLoadDocument(doc, scratch, why);
    for (const auto& entry : fs::directory_iterator(root / "dokumenty"))
      if (entry.path().string() != doc) ++stray;
  }
  state.counters["runs"] = static_cast<double>(runs);
  state.counters["killed_midway"] = static_cast<double>(killedMidway);
  state.counters["old"] = static_cast<double>(asBefore);
  state.counters["new"] = static_cast<double>(asSaved);
  state.counters["mixed"] = static_cast<double>(mixed);
  state.counters["left_after_kill"] = static_cast<double>(leftAfterKill);
  state.counters["stray_after_open"] = static_cast<double>(stray);
  state.counters["save_us"] = static_cast<double>(saveMicros);
  state.counters["doc_kB"] = static_cast<double>(fs::file_size(doc)) / 1024.0;
  fs::remove_all(root);
}
BENCHMARK(BM_KilledSave)->Iterations(200)->Unit(benchmark::kMillisecond);

void BM_KilledSaveIntoTheDocumentItself(benchmark::State& state) {
  const int students = 300;  // about 5.5 MB
  const fs::path root = fs::temp_directory_path() / ("tarvek-crash-inplace-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "dane");
  fs::create_directories(root / "wspólny");
  const std::string copyA = (root / "dane" / "a.tmp").string(), copyB = (root / "dane" / "b.tmp").string();
  const std::string doc = (root / "wspólny" / "klasa 3a.sqtvk").string();
  makeCopy(copyA, "A", students);
  makeCopy(copyB, "B", students);
  TFileFailure why;
  if (!bFunSaveDocument(copyA, doc, why)) throw std::runtime_error("first save failed");
  // The folder takes no new file; the document and the data folder may be
  // written. Root writes anywhere, so the saves run as nobody then.
  const bool asNobody = ::geteuid() == 0;
  ::chmod(root.c_str(), 0755);
  ::chmod((root / "dane").c_str(), 0777);
  for (const std::string& f : {copyA, copyB, doc}) ::chmod(f.c_str(), 0666);
  ::chmod((root / "wspólny").c_str(), 0555);
  // A save that kills itself at one of its steps when `step` names one.
  auto save = [&](const std::string& source, const char* step = nullptr) {
    if (asNobody && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    if (step)
      vFunSetSaveStepHook([step](const std::string& now) {
        if (now == step) ::kill(::getpid(), SIGKILL);
      });
    TFileFailure failure;
    ::_exit(bFunSaveDocument(source, doc, failure) ? 0 : 1);
  };

  // How long one save takes: the kills fall within 1.5 times that.
  const auto t0 = std::chrono::steady_clock::now();
  if (const pid_t pid = ::fork(); pid == 0) {
    save(copyA);
  } else {
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("a save in place failed");
  }
  const auto saveMicros =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0).count();

  // Two runs in five are killed at a random moment of the save, the other
  // three at its steps: with the old state kept and nothing written, with
  // part of the new state written, and with all of it written and flushed.
  std::mt19937 random(20240612);
  std::uniform_int_distribution<long> delay(0, saveMicros / 2 + 1);
  const char* const steps[] = {nullptr, "kept", nullptr, "writing", "written"};
  long runs = 0, killedMidway = 0, killedAfterWriting = 0, asBefore = 0, asSaved = 0, mixed = 0, unreadable = 0,
       putBack = 0, brokenBeforeStart = 0, failedPutBack = 0, keptAside = 0, stray = 0;
  std::string current = "A";

  for (auto _ : state) {
    const std::string& source = current == "A" ? copyB : copyA;
    const char* step = steps[runs % 5];
    const bool killed = killedDuring([&] { save(source, step); }, step ? -1 : delay(random));
    ++runs;
    if (killed) ++killedMidway;
    if (killed && step && std::string(step) == "written") ++killedAfterWriting;
    {
      const std::string raw = stateOf(doc, students);
      if (raw == "mixed" || raw == "unreadable") ++brokenBeforeStart;
    }
    // The next start of the program, whose working copy the save was made from.
    std::string named, kept;
    const int restored = iFunRestoreInterruptedSave(source, named, kept, why);
    if (restored > 0) ++putBack;
    if (restored < 0) ++failedPutBack;
    if (restored > 1) ++keptAside;

    const std::string now = stateOf(doc, students);
    if (now == "mixed") {
      ++mixed;
    } else if (now == "unreadable") {
      ++unreadable;
    } else if (now == current) {
      ++asBefore;
    } else {
      ++asSaved;
      current = now;
    }
    for (const auto& entry : fs::directory_iterator(root / "wspólny"))
      if (entry.path().string() != doc) ++stray;
    for (const auto& entry : fs::directory_iterator(root / "dane"))
      if (entry.path().string() != copyA && entry.path().string() != copyB) ++stray;
  }
  state.counters["runs"] = static_cast<double>(runs);
  state.counters["killed_midway"] = static_cast<double>(killedMidway);
  state.counters["old"] = static_cast<double>(asBefore);
  state.counters["new"] = static_cast<double>(asSaved);
  state.counters["mixed"] = static_cast<double>(mixed);
  state.counters["unreadable"] = static_cast<double>(unreadable);
  state.counters["broken_before_start"] = static_cast<double>(brokenBeforeStart);
  state.counters["put_back_at_start"] = static_cast<double>(putBack);
  state.counters["put_back_failed"] = static_cast<double>(failedPutBack);
  state.counters["kept_aside"] = static_cast<double>(keptAside);
  state.counters["killed_after_writing"] = static_cast<double>(killedAfterWriting);
  state.counters["stray_after_start"] = static_cast<double>(stray);
  state.counters["save_us"] = static_cast<double>(saveMicros);
  state.counters["doc_kB"] = static_cast<double>(fs::file_size(doc)) / 1024.0;
  ::chmod((root / "wspólny").c_str(), 0755);
  fs::remove_all(root);
}
BENCHMARK(BM_KilledSaveIntoTheDocumentItself)->Iterations(150)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
