// Fault injection: every way the program writes a user's data into place is
// killed at random moments, again and again, in a process of its own. The
// moments run from the start of the work to well after its end, so kills
// land before, during and after the step that puts the new file in place.
// After each kill the file must be whole and either as it was or as
// written (never a mix), and once the program's next start has run
// (putting back what a killed save into the document itself left, and
// removing the temporaries of killed work) no file of the killed work may
// be left anywhere.
//   normal        a save beside the document, renamed into place
//   in place      a save into the document itself (a folder that takes no
//                 new file; run as nobody when started as root)
//   save as       "Zapisz jako" into a new file of a chosen folder
//   import        "Importuj": an old tagged text file into the working copy
//   calibration   "Importuj ustawienia kalibracji" over the data folder's file
// and, 100 rounds each, a colleague's open of a shared document after a
// killed save into it, and two users' "Zapisz" of one shared document at
// the same moment. Then, 100 rounds each and with no kill, what others do
// beside a document: a colleague who may write the shared folder but not
// the document puts something under the name of its journal before its
// owner saves it (beside, in place, "Zapisz jako" over it); two copies of
// the owner's save it at once beside such a journal; a colleague saves a
// teacher's class file on a FAT stick.
//   build/bench/save_crash_bench            (150 kills each; not part of ctest)
#include "platform/Cp1250.h"
#include "store/Calibration.h"
#include "store/DataStore.h"
#include "store/DocumentFiles.h"
#include "store/Folders.h"
#include "store/Import.h"
#include "store/OpenedFile.h"
#include "store/Temporaries.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kKills = 150;

void exec(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  char* err = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
  sqlite3_free(err);
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw std::runtime_error("cannot make " + path);
}

// A document of `students` students whose tables start with "PESEL" + prefix.
void makeDocument(const std::string& path, const std::string& prefix, int students) {
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

// The same students as an old tagged text file.
void makeTaggedText(const std::string& path, const std::string& prefix, int students) {
  std::ofstream out(path, std::ios::binary);
  for (int s = 0; s < students; ++s) {
    out << "<DANE SWIADECTW DLA: " << prefix << s << ">\n<DANE UCZNIA TARVEK>\n<NrPesel_DATA_EDIT>" << prefix << s
        << "\n";
    for (int r = 0; r < 59; ++r)
      out << "<Pole" << r << ">" << std::string(300, static_cast<char>('a' + r % 26)) << "\n";
    out << "</DANE UCZNIA TARVEK>\n</KONIEC DANYCH SWIADECTW>\n";
  }
}

// A calibration file of `layouts` layout tables named "tarvek_" + n.
void makeCalibration(const std::string& path, const std::string& prefix, int layouts) {
  std::string sql = "begin;";
  for (int l = 0; l < layouts; ++l) {
    // The same layouts in both contents (an import must bring every one of
    // them); the content shows in the font named by their rows.
    const std::string table = "`tarvek_" + std::to_string(l) + "`";
    sql += "create table " + table +
           "( name TEXT, x1 INTEGER, y1 INTEGER, x2 INTEGER, y2 INTEGER, font_name TEXT, font_size INTEGER, "
           "font_align INTEGER, font_style_bold INTEGER, font_style_italic INTEGER, font_style_underline INTEGER, "
           "font_style_strike INTEGER );";
    for (int r = 0; r < 200; ++r)
      sql += "insert into " + table + " values('ZMIENNA_Pole" + std::to_string(r) +
             "_DATA_EDIT', 10, 20, 300, 40, '" + prefix + "', 12, 0, 0, 0, 0, 0);";
  }
  exec(path, sql + "commit;");
}

// "A" or "B" when the file is whole and holds exactly the `count` tables of
// one of the two contents (tables named by `stem` + "A" or "B", or, with an
// empty stem, layout tables whose first row names the font "A" or "B");
// "absent" when there is no file; "unreadable" when SQLite cannot read all
// of it; "mixed" otherwise.
std::string stateOf(const std::string& path, const std::string& stem, int count) {
  if (!fs::exists(path)) return "absent";
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
    if (whole && sqlite3_prepare_v2(db, "select name from sqlite_master where type='table'", -1, &st, nullptr) ==
                     SQLITE_OK) {
      state = "mixed";
      while (sqlite3_step(st) == SQLITE_ROW) {
        const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        std::string content = name.substr(0, stem.size() + 1);
        if (stem.empty()) {
          sqlite3_stmt* font = nullptr;
          content = "?";
          if (sqlite3_prepare_v2(db, ("select font_name from `" + name + "` limit 1").c_str(), -1, &font, nullptr) ==
                  SQLITE_OK &&
              sqlite3_step(font) == SQLITE_ROW)
            content = reinterpret_cast<const char*>(sqlite3_column_text(font, 0));
          sqlite3_finalize(font);
        }
        (content == stem + "A" ? a : content == stem + "B" ? b : other)++;
      }
      sqlite3_finalize(st);
      if (other == 0 && a == count && b == 0) state = "A";
      if (other == 0 && b == count && a == 0) state = "B";
    }
  }
  sqlite3_close(db);
  return state;
}

// Runs `work` in a child process and kills it after `micros`; true when the
// kill came while the child was still at work (false: it had ended).
bool killedDuring(const std::function<void()>& work, long micros) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    work();
    ::_exit(0);
  }
  ::usleep(static_cast<useconds_t>(micros));
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFSIGNALED(status);
}

// How long the work takes in a child process, from the fork to its end.
long childMicros(const std::function<void()>& work) {
  const auto t0 = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    work();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("the work failed without a kill");
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0).count();
}

// One way of writing a user's file, as the kills see it.
struct TWritePath {
  std::string file;                                 // the file whose state is checked
  std::string stem;                                 // the table names of its two contents (see stateOf)
  int count = 0;                                    // how many tables each content has
  std::function<void(bool toB)> work;               // run in the child: write content A or B; exits non-zero on failure
  std::function<void()> nextStart;                  // what the program's next start does
  std::vector<std::string> folders;                 // where no file of the killed work may stay
  std::set<std::string> expected;                   // the files that belong in those folders
  std::function<void(std::string& current)> again;  // before the next kill (may reset the file)
};

void runKills(benchmark::State& state, TWritePath& path, std::uint32_t seed) {
  std::string current = stateOf(path.file, path.stem, path.count);
  // The kills fall from the fork to twice the time the whole work takes.
  const long micros = childMicros([&] { path.work(current != "B"); });
  current = stateOf(path.file, path.stem, path.count);
  std::mt19937 random(seed);
  std::uniform_int_distribution<long> delay(0, micros * 2);
  long runs = 0, killedMidway = 0, finished = 0, asBefore = 0, asWritten = 0, mixed = 0, unreadable = 0,
       leftAfterKill = 0, leftAfterStart = 0;
  std::set<std::string> named;  // what was left after a start, named once
  const auto strays = [&](bool name) {
    long n = 0;
    for (const std::string& folder : path.folders)
      for (const auto& entry : fs::directory_iterator(folder))
        if (!path.expected.count(entry.path().string())) {
          ++n;
          if (name && named.insert(entry.path().filename().string()).second)
            std::fprintf(stderr, "left after the start: %s\n", entry.path().c_str());
        }
    return n;
  };
  for (auto _ : state) {
    path.again(current);
    const bool toB = current != "B";
    (killedDuring([&] { path.work(toB); }, delay(random)) ? killedMidway : finished)++;
    ++runs;
    if (strays(false) > 0) ++leftAfterKill;
    path.nextStart();
    const std::string now = stateOf(path.file, path.stem, path.count);
    if (now == "mixed") {
      ++mixed;
    } else if (now == "unreadable") {
      ++unreadable;
    } else if (now == current) {
      ++asBefore;
    } else {
      ++asWritten;
      current = now;
    }
    leftAfterStart += strays(true);
  }
  state.counters["runs"] = static_cast<double>(runs);
  state.counters["killed_midway"] = static_cast<double>(killedMidway);
  state.counters["ended_first"] = static_cast<double>(finished);
  state.counters["old"] = static_cast<double>(asBefore);
  state.counters["new"] = static_cast<double>(asWritten);
  state.counters["mixed"] = static_cast<double>(mixed);
  state.counters["unreadable"] = static_cast<double>(unreadable);
  state.counters["left_after_kill"] = static_cast<double>(leftAfterKill);
  state.counters["left_after_start"] = static_cast<double>(leftAfterStart);
  state.counters["work_ms"] = static_cast<double>(micros) / 1000.0;
  state.counters["file_kB"] = fs::exists(path.file) ? static_cast<double>(fs::file_size(path.file)) / 1024.0 : 0;
}

// A fresh folder for one path, with a data folder "dane" of the program's
// (the working copy's folder, where temporaries are recorded) and the
// program's own data folder under "common" for the data store.
struct TBenchFolder {
  fs::path root;
  explicit TBenchFolder(const std::string& name) {
    root = fs::temp_directory_path() / ("tarvek-crash-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "dane");
    ::setenv("TARVEK_COMMON_DATA_DIR", (root / "common").c_str(), 1);
    ::setenv("TARVEK_USER_NAME", "nauczyciel", 1);
  }
  ~TBenchFolder() {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(root, ignored))
      ::chmod(entry.path().c_str(), 0755);
    fs::remove_all(root, ignored);
  }
  std::string at(const std::string& name) const { return (root / name).string(); }
};

void exitWith(bool ok) { ::_exit(ok ? 0 : 1); }

// Becomes another local account in a forked child, with that account's own
// group alone (none of root's).
bool becomeAccount(uid_t user, gid_t group) {
  return ::setgroups(0, nullptr) == 0 && ::setgid(group) == 0 && ::setuid(user) == 0;
}

// The user whose document is saved: nobody when the bench runs as root.
bool asOwner() { return ::geteuid() != 0 || becomeAccount(65534, 65534); }

// A second local user of the machine: daemon when the bench runs as root.
bool asColleague() {
  if (::geteuid() != 0) return true;
  const struct passwd* colleague = ::getpwnam("daemon");
  return colleague && becomeAccount(colleague->pw_uid, colleague->pw_gid);
}

int exitCodeOf(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

// What a save's process exits with: 0 saved, else why not.
constexpr int kSaved = 0, kFailed = 1, kInUse = 2, kNoAccount = 3, kAsked = 4, kInterrupted = 5;

int saveCode(bool saved, const TFileFailure& why) {
  if (saved) return kSaved;
  return why.changedSinceOpened ? kAsked : why.inUse ? kInUse : why.interruptedSave ? kInterrupted : kFailed;
}

// Content A or B of a working copy, kept aside.
struct TTwoCopies {
  std::string a, b;
  TTwoCopies(const TBenchFolder& folder, int students)
      : a(folder.at("dane/a.tmp")), b(folder.at("dane/b.tmp")) {
    makeDocument(a, "A", students);
    makeDocument(b, "B", students);
  }
};

// The start of the program whose working copy a save into the document
// itself was made from: its put-back, then the removal of temporaries.
void startAfterSavesIntoTheDocument(const TTwoCopies& copies, const TBenchFolder& folder) {
  for (const std::string& copy : {copies.a, copies.b}) {
    TSystemPath named, kept;
    TFileFailure failure;
    iFunRestoreInterruptedSave(TSystemPath(copy), named, kept, failure);
  }
  iFunRemoveLeftTemporaries(TSystemPath(folder.at("dane")));
}

void BM_KilledSave(benchmark::State& state) {
  const int students = 40;  // about 1 MB
  const TBenchFolder folder("normal");
  fs::create_directories(folder.root / "dokumenty");
  const TTwoCopies copies(folder, students);
  const std::string doc = folder.at("dokumenty/klasa.sqtvk");
  TFileFailure why;
  if (!bFunSaveDocument(TSystemPath(copies.a), TSystemPath(doc), why)) throw std::runtime_error("first save failed");
  TWritePath path;
  path.file = doc;
  path.stem = "PESEL";
  path.count = students;
  path.work = [&](bool toB) {
    TFileFailure failure;
    exitWith(bFunSaveDocument(TSystemPath(toB ? copies.b : copies.a), TSystemPath(doc), failure));
  };
  path.nextStart = [&] { iFunRemoveLeftTemporaries(TSystemPath(folder.at("dane"))); };
  path.folders = {folder.at("dokumenty"), folder.at("dane")};
  path.expected = {doc, copies.a, copies.b};
  path.again = [](std::string&) {};
  runKills(state, path, 20240611);
}
BENCHMARK(BM_KilledSave)->Iterations(kKills)->Unit(benchmark::kMillisecond);

void BM_KilledSaveIntoTheDocumentItself(benchmark::State& state) {
  const int students = 300;  // about 5.5 MB
  const TBenchFolder folder("inplace");
  fs::create_directories(folder.root / "wspólny");
  const TTwoCopies copies(folder, students);
  const std::string doc = folder.at("wspólny/klasa 3a.sqtvk");
  TFileFailure why;
  if (!bFunSaveDocument(TSystemPath(copies.a), TSystemPath(doc), why)) throw std::runtime_error("first save failed");
  // The folder takes no new file; the document and the data folder may be
  // written. Root writes anywhere, so the saves run as nobody then.
  ::chmod(folder.root.c_str(), 0755);
  ::chmod(folder.at("dane").c_str(), 0777);
  for (const std::string& f : {copies.a, copies.b, doc}) ::chmod(f.c_str(), 0666);
  ::chmod(folder.at("wspólny").c_str(), 0555);
  TWritePath path;
  path.file = doc;
  path.stem = "PESEL";
  path.count = students;
  path.work = [&](bool toB) {
    if (!asOwner()) ::_exit(kNoAccount);
    TFileFailure failure;
    exitWith(bFunSaveDocument(TSystemPath(toB ? copies.b : copies.a), TSystemPath(doc), failure));
  };
  path.nextStart = [&] { startAfterSavesIntoTheDocument(copies, folder); };
  path.folders = {folder.at("wspólny"), folder.at("dane")};
  path.expected = {doc, copies.a, copies.b};
  path.again = [](std::string&) {};
  runKills(state, path, 20240612);
}
BENCHMARK(BM_KilledSaveIntoTheDocumentItself)->Iterations(kKills)->Unit(benchmark::kMillisecond);

void BM_KilledSaveAs(benchmark::State& state) {
  const int students = 40;
  const TBenchFolder folder("saveas");
  fs::create_directories(folder.root / "Moje dokumenty");
  const TTwoCopies copies(folder, students);
  const std::string doc = folder.at("Moje dokumenty/klasa 3a – kopia.sqtvk");
  TWritePath path;
  path.file = doc;
  path.stem = "PESEL";
  path.count = students;
  path.work = [&](bool) {
    TFileFailure failure;
    exitWith(bFunSaveDocument(TSystemPath(copies.b), TSystemPath(doc), failure));
  };
  path.nextStart = [&] { iFunRemoveLeftTemporaries(TSystemPath(folder.at("dane"))); };
  path.folders = {folder.at("Moje dokumenty"), folder.at("dane")};
  path.expected = {doc, copies.a, copies.b};
  // Every "Zapisz jako" makes the file anew.
  path.again = [&](std::string& current) {
    fs::remove(doc);
    current = "absent";
  };
  runKills(state, path, 20240613);
}
BENCHMARK(BM_KilledSaveAs)->Iterations(kKills)->Unit(benchmark::kMillisecond);

void BM_KilledImport(benchmark::State& state) {
  const int students = 40;
  const TBenchFolder folder("import");
  const std::string textA = folder.at("klasa A.tvk"), textB = folder.at("klasa B.tvk");
  makeTaggedText(textA, "A", students);
  makeTaggedText(textB, "B", students);
  TDataStore DataStore;
  const TSystemPath data = strFunGetMainDirPath(&DataStore), working = strFunGetTmpFilePath(&DataStore);
  if (!bFunImportDataFromFile(&DataStore, working, TSystemPath(textA), {}))
    throw std::runtime_error("first import failed: " + DataStore.ErrorStream.str());
  TWritePath path;
  path.file = working.bytes();
  path.stem = "PESEL";
  path.count = students;
  path.work = [&](bool toB) {
    TDataStore own;
    exitWith(bFunImportDataFromFile(&own, working, TSystemPath(toB ? textB : textA), {}));
  };
  path.nextStart = [&] { iFunRemoveLeftTemporaries(data); };
  path.folders = {data.bytes()};
  // SQLite's journal of the working copy (rolled back, or never hot) is
  // part of the working copy, offered back or deleted with it at a start.
  path.expected = {path.file, path.file + "-journal", (data / "logs.sqdb").bytes()};
  path.again = [](std::string&) {};
  runKills(state, path, 20240614);
}
BENCHMARK(BM_KilledImport)->Iterations(kKills)->Unit(benchmark::kMillisecond);

void BM_KilledCalibrationImport(benchmark::State& state) {
  const int layouts = 48;
  const TBenchFolder folder("calibration");
  const std::string fileA = folder.at("kalibracja A.sqset"), fileB = folder.at("kalibracja B.sqset");
  makeCalibration(fileA, "A", layouts);
  makeCalibration(fileB, "B", layouts);
  TDataStore DataStore;
  const TSystemPath data = strFunGetMainDirPath(&DataStore);
  if (!bFunImportujPlikKalibracji(&DataStore, TSystemPath(fileA)))
    throw std::runtime_error("first import failed: " + DataStore.ErrorStream.str());
  TWritePath path;
  path.file = strFunGetCalibFilePath(&DataStore, false).bytes();
  path.stem = "";  // told apart by their rows
  path.count = layouts;
  path.work = [&](bool toB) {
    TDataStore own;
    exitWith(bFunImportujPlikKalibracji(&own, TSystemPath(toB ? fileB : fileA)));
  };
  path.nextStart = [&] { iFunRemoveLeftTemporaries(data); };
  path.folders = {data.bytes()};
  path.expected = {path.file, (data / "logs.sqdb").bytes()};
  path.again = [](std::string&) {};
  runKills(state, path, 20240615);
}
BENCHMARK(BM_KilledCalibrationImport)->Iterations(kKills)->Unit(benchmark::kMillisecond);

// A save into the shared document itself is killed at a random moment, as
// in BM_KilledSaveIntoTheDocumentItself; before the user's next start a
// colleague (another account) opens the document: it opens as it was, as
// saved, is refused (the save was interrupted, or a save still holds it), or
// shows a mix. Then the next start puts it back. With the argument 1 every
// save is killed while it writes the document itself (at its "writing"
// step), where random kills rarely land.
void BM_ColleagueOpensAfterAKilledSaveIntoTheDocumentItself(benchmark::State& state) {
  const bool whileWriting = state.range(0) != 0;
  const int students = 100;
  const TBenchFolder folder(whileWriting ? "colleague-writing" : "colleague");
  fs::create_directories(folder.root / "wspólny");
  fs::create_directories(folder.root / "kolega");
  const TTwoCopies copies(folder, students);
  const std::string doc = folder.at("wspólny/klasa 3a.sqtvk"), colleagueCopy = folder.at("kolega/data_tmp.tmp");
  TFileFailure why;
  if (!bFunSaveDocument(TSystemPath(copies.a), TSystemPath(doc), why)) throw std::runtime_error("first save failed");
  ::chmod(folder.root.c_str(), 0755);
  ::chmod(folder.at("dane").c_str(), 0777);
  ::chmod(folder.at("kolega").c_str(), 0777);
  for (const std::string& f : {copies.a, copies.b, doc}) ::chmod(f.c_str(), 0666);
  ::chmod(folder.at("wspólny").c_str(), 0555);
  const auto save = [&](bool toB) {
    if (!asOwner()) ::_exit(kNoAccount);
    TFileFailure failure;
    exitWith(bFunSaveDocument(TSystemPath(toB ? copies.b : copies.a), TSystemPath(doc), failure));
  };
  const long micros = childMicros([&] { save(true); });
  const auto killedSave = [&](bool toB) {
    if (whileWriting)
      vFunSetSaveStepHook([](const std::string& step) {
        if (step == "writing") ::kill(::getpid(), SIGKILL);
      });
    save(toB);
  };
  std::string current = stateOf(doc, "PESEL", students);
  std::mt19937 random(20240616);
  std::uniform_int_distribution<long> delay(0, micros * 2);
  long killedMidway = 0, asBefore = 0, asSaved = 0, refused = 0, inUse = 0, mixed = 0, failed = 0, afterMixed = 0;
  for (auto _ : state) {
    const bool toB = current != "B";
    if (killedDuring([&] { killedSave(toB); }, whileWriting ? micros * 2 : delay(random))) ++killedMidway;
    const pid_t colleague = ::fork();
    if (colleague == 0) {
      if (!asColleague()) ::_exit(3);
      TFileFailure failure;
      if (bFunLoadDocument(TSystemPath(doc), TSystemPath(colleagueCopy), failure)) ::_exit(0);
      ::_exit(failure.interruptedSave ? 1 : failure.inUse ? 2 : 4);
    }
    const int opened = exitCodeOf(colleague);
    const std::string seen = opened == 0 ? stateOf(colleagueCopy, "PESEL", students) : "";
    if (opened == 1)
      ++refused;
    else if (opened == 2)
      ++inUse;
    else if (opened != 0)
      ++failed;
    else if (seen == current)
      ++asBefore;
    else if (seen == "A" || seen == "B")
      ++asSaved;
    else
      ++mixed;
    startAfterSavesIntoTheDocument(copies, folder);
    const std::string now = stateOf(doc, "PESEL", students);
    if (now != "A" && now != "B") ++afterMixed;
    current = now;
  }
  state.counters["killed_midway"] = static_cast<double>(killedMidway);
  state.counters["old"] = static_cast<double>(asBefore);
  state.counters["new"] = static_cast<double>(asSaved);
  state.counters["refused"] = static_cast<double>(refused);
  state.counters["in_use"] = static_cast<double>(inUse);
  state.counters["mixed"] = static_cast<double>(mixed);
  state.counters["failed_otherwise"] = static_cast<double>(failed);
  state.counters["mixed_after_start"] = static_cast<double>(afterMixed);
  state.counters["file_kB"] = static_cast<double>(fs::file_size(doc)) / 1024.0;
}
BENCHMARK(BM_ColleagueOpensAfterAKilledSaveIntoTheDocumentItself)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

// Which content a document holds: "A", "B" or "C" (all its tables of one),
// else "mixed" (or "unreadable").
std::string contentOf(const std::string& path, int count) {
  for (const char* content : {"A", "B"})
    if (stateOf(path, "PESEL", count) == content) return content;
  sqlite3* db = nullptr;
  std::string found = "unreadable";
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "select count(*) from sqlite_master where name like 'PESELC%'", -1, &st, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
      found = sqlite3_column_int(st, 0) == count ? "C" : "mixed";
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return found;
}

// Puts the content of `from` into the working copy in place (the working
// copy stays the same file, so it still belongs to the document it opened).
void fillWorkingCopy(const std::string& workingCopy, const std::string& from) {
  sqlite3 *to = nullptr, *source = nullptr;
  sqlite3_open(workingCopy.c_str(), &to);
  sqlite3_open_v2(from.c_str(), &source, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_backup* backup = sqlite3_backup_init(to, "main", source, "main");
  if (!backup || sqlite3_backup_step(backup, -1) != SQLITE_DONE) throw std::runtime_error("cannot fill " + workingCopy);
  sqlite3_backup_finish(backup);
  sqlite3_close(source);
  sqlite3_close(to);
}

// Two users have the class file of a shared folder open (the owner saves
// beside it and renames, the colleague on another account into the file
// itself) and press "Zapisz" at the same moment. Both told "saved" means one
// save silently lost the other; "asked" means the later one found the file
// changed since it was opened and wrote nothing (the program then asks);
// "in use" means it found the other save holding the file. With the
// argument 0 the saves make no check (how "Zapisz" was before).
void BM_TwoUsersSaveAtOnce(benchmark::State& state) {
  const bool checked = state.range(0) != 0;
  const int students = 40;
  const TBenchFolder folder(checked ? "twousers" : "twousers-unchecked");
  fs::create_directories(folder.root / "wspólny");
  fs::create_directories(folder.root / "kolega");
  const TTwoCopies copies(folder, students);
  const std::string base = folder.at("dane/c.tmp");
  makeDocument(base, "C", students);
  const std::string doc = folder.at("wspólny/klasa 3a.sqtvk");
  const std::string mine = folder.at("dane/data_tmp.tmp"), theirs = folder.at("kolega/data_tmp.tmp");
  ::chmod(folder.root.c_str(), 0755);
  ::chmod(folder.at("wspólny").c_str(), 0777);
  ::chmod(folder.at("kolega").c_str(), 0777);
  for (const std::string& f : {copies.a, copies.b, base}) ::chmod(f.c_str(), 0644);
  long bothSaved = 0, asked = 0, inUse = 0, mixed = 0, noneSaved = 0, lostTold = 0;
  for (auto _ : state) {
    TFileFailure why;
    fs::remove(doc);
    if (!bFunSaveDocument(TSystemPath(base), TSystemPath(doc), why))
      throw std::runtime_error("cannot make the document");
    ::chmod(doc.c_str(), 0666);
    // Both open it: the owner here, the colleague in a process of his own.
    TOpenedFile read;
    if (!bFunLoadDocument(TSystemPath(doc), TSystemPath(mine), why, &read) ||
        !bFunRecordOpenedFile(TSystemPath(mine), read))
      throw std::runtime_error("the owner's open failed");
    const pid_t opening = ::fork();
    if (opening == 0) {
      TFileFailure failure;
      TOpenedFile theirsRead;
      ::_exit(asColleague() && bFunLoadDocument(TSystemPath(doc), TSystemPath(theirs), failure, &theirsRead) &&
                      bFunRecordOpenedFile(TSystemPath(theirs), theirsRead)
                  ? 0
                  : 1);
    }
    if (exitCodeOf(opening) != 0) throw std::runtime_error("the colleague's open failed");
    fillWorkingCopy(mine, copies.a);
    fillWorkingCopy(theirs, copies.b);
    int go[2];
    if (::pipe(go) != 0) throw std::runtime_error("pipe");
    const auto saver = [&](const std::string& copy, bool colleague) {
      const pid_t pid = ::fork();
      if (pid == 0) {
        ::close(go[1]);
        if (colleague && !asColleague()) ::_exit(3);
        char c;
        if (::read(go[0], &c, 1) < 0) ::_exit(3);
        TFileFailure failure;
        TOpenedFile opened;
        bFunOpenedFileOf(TSystemPath(copy), opened);
        if (bFunSaveDocument(TSystemPath(copy), TSystemPath(doc), failure, checked ? &opened : nullptr)) ::_exit(0);
        ::_exit(saveCode(false, failure));
      }
      return pid;
    };
    const pid_t first = saver(mine, false), second = saver(theirs, true);
    ::close(go[0]);
    ::close(go[1]);  // both go at once
    const int a = exitCodeOf(first), b = exitCodeOf(second);
    const std::string now = contentOf(doc, students);
    if (now != "A" && now != "B" && now != "C")
      ++mixed;
    else if (a == 0 && b == 0)
      ++bothSaved;
    else if ((a == 0 && b == 4) || (b == 0 && a == 4))
      ++asked;
    else if ((a == 0 && b == 2) || (b == 0 && a == 2))
      ++inUse;
    else
      ++noneSaved;
    // A save told "saved" whose content is not the file's was lost.
    if ((a == 0 && b != 0 && now != "A") || (b == 0 && a != 0 && now != "B")) ++lostTold;
  }
  state.counters["both_saved_one_lost"] = static_cast<double>(bothSaved);
  state.counters["one_asked"] = static_cast<double>(asked);
  state.counters["one_in_use"] = static_cast<double>(inUse);
  state.counters["mixed"] = static_cast<double>(mixed);
  state.counters["none_saved"] = static_cast<double>(noneSaved);
  state.counters["saved_but_lost"] = static_cast<double>(lostTold);
}
BENCHMARK(BM_TwoUsersSaveAtOnce)->Arg(0)->Arg(1)->Iterations(100)->Unit(benchmark::kMillisecond);

// ------------------------------------------------ what others put beside it

constexpr int kHangSeconds = 10;
constexpr int kHung = 100 + SIGALRM;  // the exit code of a child that did not end in time

// Starts `work` in a child process that is ended by SIGALRM after
// kHangSeconds (so a save that hangs is counted, not waited for); `work`
// gives the child's exit code.
pid_t startChild(const std::function<int()>& work) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(kHangSeconds);
    ::_exit(work());
  }
  return pid;
}

int inChild(const std::function<int()>& work) { return exitCodeOf(startChild(work)); }

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::string> tablesOf(const std::string& path) {
  std::vector<std::string> tables;
  sqlite3* db = nullptr;
  sqlite3_stmt* st = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  if (sqlite3_prepare_v2(db, "select name from sqlite_master where type='table'", -1, &st, nullptr) == SQLITE_OK)
    while (sqlite3_step(st) == SQLITE_ROW) tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  sqlite3_finalize(st);
  sqlite3_close(db);
  return tables;
}

// Every value of every table of `path` set by `expression` (of `value`).
std::string updateAll(const std::string& path, const std::string& expression) {
  std::string sql;
  for (const std::string& table : tablesOf(path)) sql += "update `" + table + "` set value = " + expression + ";";
  return sql;
}

// The values a colleague plants: found in a document's bytes, they were
// written by what was planted beside it.
constexpr char kPlanted[] = "PODMIENIONE";

bool holdsPlanted(const std::string& path) { return bytesOf(path).find(kPlanted) != std::string::npos; }

// A hot journal crafted against `document` by someone who may read it: a
// copy of it whose every value starts with the planted word (the same
// length, so every page lies where the document's does), then a write into
// every page of the copy that dies before its commit. Rolled back into the
// document, as SQLite rolls back a hot journal it finds beside a database,
// it writes the planted values over the document's. Checked once on a
// scratch copy of the document before it is used.
std::string craftedJournal(const std::string& document, const std::string& scratch) {
  fs::copy_file(document, scratch, fs::copy_options::overwrite_existing);
  exec(scratch, "begin;" + updateAll(scratch, "'" + std::string(kPlanted) + "' || substr(value, 12)") + "commit;");
  const std::string dying = "pragma cache_size=2; begin;" + updateAll(scratch, "upper(value)");
  const pid_t pid = ::fork();
  if (pid == 0) {
    sqlite3* db = nullptr;
    sqlite3_open(scratch.c_str(), &db);
    sqlite3_exec(db, dying.c_str(), nullptr, nullptr, nullptr);
    ::_exit(0);  // nothing committed or rolled back: the journal stays hot
  }
  exitCodeOf(pid);
  const std::string journal = bytesOf(scratch + "-journal");
  fs::copy_file(document, scratch, fs::copy_options::overwrite_existing);
  writeBytes(scratch + "-journal", journal);
  sqlite3* db = nullptr;
  sqlite3_open(scratch.c_str(), &db);
  sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);  // rolls the journal back
  sqlite3_close(db);
  const bool falsifies = holdsPlanted(scratch) && !fs::exists(scratch + "-journal");
  fs::remove(scratch);
  if (journal.empty() || !falsifies) throw std::runtime_error("the crafted journal would not falsify the document");
  return journal;
}

// What a colleague plants under the name of the document's journal.
enum TPlant { kJournal, kFifo, kLink };
const char* const kPlantNames[] = {"journal", "FIFO", "link"};

// As the colleague: `plant` beside the document, readable and writable by
// all; a link points to `crafted` (a crafted journal of the colleague's).
void plantBeside(const std::string& document, TPlant plant, const std::string& journal, const std::string& crafted) {
  const std::string name = document + "-journal";
  const int planted = inChild([&] {
    if (!asColleague()) return kNoAccount;
    if (plant == kLink) return ::symlink(crafted.c_str(), name.c_str()) == 0 ? 0 : 1;
    if (plant == kFifo && ::mkfifo(name.c_str(), 0666) != 0) return 1;
    if (plant == kJournal) writeBytes(name, journal);
    return ::chmod(name.c_str(), 0666) == 0 ? 0 : 1;
  });
  if (planted != 0) throw std::runtime_error("the colleague could not plant beside " + document);
}

// A class file of the owner's in a shared folder, its content C kept
// aside, and a journal crafted against it; the owner's data folders.
struct TSharedDocument {
  TBenchFolder folder;
  std::string shared, doc, base, crafted, scratch;
  std::string journal;
  int students;
  TSharedDocument(const std::string& name, int count, const std::vector<std::string>& dataFolders)
      : folder(name),
        shared(folder.at("wspolny")),
        doc(folder.at("wspolny/klasa 3a.sqtvk")),
        base(folder.at("c.sqtvk")),
        crafted(folder.at("zasiew")),
        scratch(folder.at("sprawdzany.sqtvk")),
        students(count) {
    ::chmod(folder.root.c_str(), 0755);
    makeDocument(base, "C", students);
    journal = craftedJournal(base, scratch);
    writeBytes(crafted, journal);
    for (const std::string& data : dataFolders) {
      fs::create_directories(folder.at(data));
      if (::chown(folder.at(data).c_str(), 65534, 65534) != 0) throw std::runtime_error("chown");
      ::chmod(folder.at(data).c_str(), 0700);
    }
    const struct passwd* colleague = ::getpwnam("daemon");
    if (!colleague || ::chown(crafted.c_str(), colleague->pw_uid, colleague->pw_gid) != 0)
      throw std::runtime_error("no colleague's account");
    ::chmod(crafted.c_str(), 0666);
  }
  // Another content, readable by the owner.
  std::string content(const std::string& prefix) const {
    const std::string path = folder.at(prefix + ".sqtvk");
    if (!fs::exists(path)) makeDocument(path, prefix, students);
    ::chmod(path.c_str(), 0644);
    return path;
  }
  // The shared folder holds the document alone again, content C, the
  // owner's with mode 0644; the folder is `folderOwner`'s with `folderMode`;
  // the data folders are empty.
  void reset(mode_t folderMode, uid_t folderOwner, gid_t folderGroup, const std::vector<std::string>& dataFolders) {
    std::vector<std::string> emptied = {shared};
    for (const std::string& data : dataFolders) emptied.push_back(folder.at(data));
    fs::create_directories(shared);
    for (const std::string& each : emptied)
      for (const auto& entry : fs::directory_iterator(each)) fs::remove_all(entry.path());
    fs::copy_file(base, doc);
    if (::chown(doc.c_str(), 65534, 65534) != 0 || ::chown(shared.c_str(), folderOwner, folderGroup) != 0)
      throw std::runtime_error("chown");
    ::chmod(doc.c_str(), 0644);
    ::chmod(shared.c_str(), folderMode);
  }
  // The content of the document's bytes as they stand (no journal beside
  // it applied): "A", "B", "C", "mixed" or "unreadable".
  std::string contentNow() const {
    fs::remove(scratch);
    std::error_code failed;
    fs::copy_file(doc, scratch, failed);
    const std::string content = failed ? "absent" : contentOf(scratch, students);
    fs::remove(scratch);
    return content;
  }
};

// As the owner: opens the document into `workingCopy` (recorded as the file
// opened) and changes all of it into `content`.
void ownerOpensAndChanges(const std::string& document, const std::string& workingCopy, const std::string& content) {
  const int opened = inChild([&] {
    if (!asOwner()) return kNoAccount;
    TFileFailure why;
    TOpenedFile read;
    if (!bFunLoadDocument(TSystemPath(document), TSystemPath(workingCopy), why, &read) ||
        !bFunRecordOpenedFile(TSystemPath(workingCopy), read)) return 1;
    fillWorkingCopy(workingCopy, content);
    return 0;
  });
  if (opened != 0) throw std::runtime_error("the owner's open failed: " + std::to_string(opened));
}

// As the owner, in a child that ends after kHangSeconds: the working copy
// saved into the document, with the file opened as `expected` ("Zapisz")
// or without ("Zapisz jako" over it); with a pipe `go`, once its writing
// end is closed. The child's exit code (saveCode, or kHung).
pid_t startOwnersSave(const std::string& workingCopy, const std::string& document, bool expected,
                      const int* go = nullptr) {
  return startChild([&] {
    if (!asOwner()) return kNoAccount;
    char c;
    if (go && (::close(go[1]) != 0 || ::read(go[0], &c, 1) < 0)) return kNoAccount;
    TFileFailure why;
    TOpenedFile opened;
    if (expected && !bFunOpenedFileOf(TSystemPath(workingCopy), opened)) return kFailed;
    return saveCode(bFunSaveDocument(TSystemPath(workingCopy), TSystemPath(document), why, expected ? &opened : nullptr), why);
  });
}

// The owner's next open of the document: true when what it reads holds
// planted values; `hung` when it did not end in time.
bool reopenedPlanted(const std::string& document, const std::string& workingCopy, bool& hung) {
  const int opened = inChild([&] {
    if (!asOwner()) return kNoAccount;
    TFileFailure why;
    return bFunLoadDocument(TSystemPath(document), TSystemPath(workingCopy), why) ? 0 : 1;
  });
  hung = opened == kHung;
  return opened == 0 && holdsPlanted(workingCopy);
}

enum TSave { kBeside, kInPlace, kSaveAs };
const char* const kSaveNames[] = {"Zapisz beside", "Zapisz in place", "Zapisz jako over it"};

// A shared folder where the owner may make files (beside, "Zapisz jako":
// root's, 0777 and sticky 1777 in turn) or may not (in place: the
// colleague's own folder, 0755, the document writable by its owner).
void resetShared(TSharedDocument& shared, TSave save, int round, const std::vector<std::string>& dataFolders) {
  const struct passwd* colleague = ::getpwnam("daemon");
  if (save == kInPlace)
    shared.reset(0755, colleague->pw_uid, colleague->pw_gid, dataFolders);
  else
    shared.reset(round % 2 ? 01777 : 0777, 0, 0, dataFolders);
}

// A colleague (daemon) who may write the shared folder but not the owner's
// document (nobody's, 0644) puts a crafted hot journal, a FIFO or a link to
// a crafted journal under the name of its journal; then the owner saves:
// "Zapisz" beside (the folder takes new files), "Zapisz" into the document
// itself (it does not), or "Zapisz jako" over it. Falsified: the
// document's bytes, or what the owner's next open reads, hold the planted
// values; hung: the save or that open did not end within 10 s; saved: told
// saved and the document holds the saved content; refused: told not saved
// and the document as it was; other: anything else (named on stderr).
void BM_SaveBesideAPlant(benchmark::State& state) {
  const auto plant = static_cast<TPlant>(state.range(0));
  const auto save = static_cast<TSave>(state.range(1));
  if (::geteuid() != 0) {
    state.SkipWithError("needs root to act as the owner and a colleague");
    return;
  }
  const std::vector<std::string> data = {"dane"};
  TSharedDocument shared("planted-" + std::to_string(plant) + "-" + std::to_string(save), 40, data);
  const std::string workingCopy = shared.folder.at("dane/data_tmp.tmp"), reopened = shared.folder.at("dane/ponownie.tmp");
  const std::string saved = shared.content("B");
  long asSaved = 0, refused = 0, falsified = 0, hung = 0, other = 0, round = 0;
  std::set<std::string> named;
  for (auto _ : state) {
    resetShared(shared, save, static_cast<int>(round++), data);
    ownerOpensAndChanges(shared.doc, workingCopy, saved);
    plantBeside(shared.doc, plant, shared.journal, shared.crafted);
    struct stat before {}, after {};
    ::stat(shared.doc.c_str(), &before);
    const int told = exitCodeOf(startOwnersSave(workingCopy, shared.doc, save != kSaveAs));
    // A save in place keeps the document's file; one beside puts another in its place.
    const bool wayAsMeant = ::stat(shared.doc.c_str(), &after) == 0 && (before.st_ino == after.st_ino) == (save == kInPlace);
    bool reopenHung = false;
    const bool inTheDocument = holdsPlanted(shared.doc);
    const bool planted = reopenedPlanted(shared.doc, reopened, reopenHung) || inTheDocument;
    const std::string now = shared.contentNow();
    if (planted)
      ++falsified;
    else if (told == kHung || reopenHung)
      ++hung;
    else if (told == kSaved && now == "B" && wayAsMeant)
      ++asSaved;
    else if (told != kSaved && now == "C")
      ++refused;
    else
      ++other;
    const std::string outcome = "exit " + std::to_string(told) + ", document " + now + (wayAsMeant ? "" : ", not saved " + std::string(save == kInPlace ? "in place" : "beside"));
    if (!planted && !(told == kSaved && now == "B" && wayAsMeant) && named.insert(outcome).second)
      std::fprintf(stderr, "%s, %s: %s\n", kPlantNames[plant], kSaveNames[save], outcome.c_str());
  }
  state.counters["saved"] = static_cast<double>(asSaved);
  state.counters["refused"] = static_cast<double>(refused);
  state.counters["falsified"] = static_cast<double>(falsified);
  state.counters["hung"] = static_cast<double>(hung);
  state.counters["other"] = static_cast<double>(other);
  std::printf("planted %-8s %-20s saved %3ld refused %3ld falsified %3ld hung %3ld other %3ld\n", kPlantNames[plant],
              kSaveNames[save], asSaved, refused, falsified, hung, other);
  std::fflush(stdout);
}
BENCHMARK(BM_SaveBesideAPlant)
    ->ArgsProduct({{kJournal, kFifo, kLink}, {kBeside, kInPlace, kSaveAs}})
    ->ArgNames({"plant", "save"})
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

// Two copies of the program of the same owner (two sessions, each with its
// data folder) have the document open, with different changes, and press
// "Zapisz" at the same moment, with a crafted journal planted beside the
// document: beside (argument 0) or into the document itself (1). Both told
// saved means one save silently lost the other; asked: the later one found
// the file changed since it was opened; in use: it found the other save
// holding the file; mixed: the document is none of the contents whole; lost:
// a save told saved whose content is not the document's.
void BM_TwoCopiesSaveAtOnceBesideAPlantedJournal(benchmark::State& state) {
  const auto save = static_cast<TSave>(state.range(0));
  if (::geteuid() != 0) {
    state.SkipWithError("needs root to act as the owner and a colleague");
    return;
  }
  const std::vector<std::string> data = {"dane", "dane2"};
  TSharedDocument shared(std::string("twocopies-") + (save == kInPlace ? "inplace" : "beside"), 40, data);
  const std::string first = shared.folder.at("dane/data_tmp.tmp"), second = shared.folder.at("dane2/data_tmp.tmp");
  const std::string contentA = shared.content("A"), contentB = shared.content("B");
  long bothSaved = 0, asked = 0, inUse = 0, refusedOtherwise = 0, noneSaved = 0, mixed = 0, lostTold = 0,
       falsified = 0, hung = 0, round = 0;
  for (auto _ : state) {
    resetShared(shared, save, static_cast<int>(round++), data);
    ownerOpensAndChanges(shared.doc, first, contentA);
    ownerOpensAndChanges(shared.doc, second, contentB);
    plantBeside(shared.doc, kJournal, shared.journal, shared.crafted);
    int go[2];
    if (::pipe(go) != 0) throw std::runtime_error("pipe");
    const pid_t one = startOwnersSave(first, shared.doc, true, go);
    const pid_t two = startOwnersSave(second, shared.doc, true, go);
    ::close(go[0]);
    ::close(go[1]);  // both go at once
    const int a = exitCodeOf(one), b = exitCodeOf(two);
    const std::string now = shared.contentNow();
    const bool oneSaved = (a == kSaved) != (b == kSaved);
    const int other = a == kSaved ? b : a;
    if (holdsPlanted(shared.doc))
      ++falsified;
    else if (a == kHung || b == kHung)
      ++hung;
    else if (now != "A" && now != "B" && now != "C")
      ++mixed;
    else if (a == kSaved && b == kSaved)
      ++bothSaved;
    else if (oneSaved && other == kAsked)
      ++asked;
    else if (oneSaved && other == kInUse)
      ++inUse;
    else if (oneSaved)
      ++refusedOtherwise;
    else
      ++noneSaved;
    if ((a == kSaved && b != kSaved && now != "A") || (b == kSaved && a != kSaved && now != "B")) ++lostTold;
  }
  state.counters["both_saved_one_lost"] = static_cast<double>(bothSaved);
  state.counters["one_asked"] = static_cast<double>(asked);
  state.counters["one_in_use"] = static_cast<double>(inUse);
  state.counters["one_refused_otherwise"] = static_cast<double>(refusedOtherwise);
  state.counters["none_saved"] = static_cast<double>(noneSaved);
  state.counters["mixed"] = static_cast<double>(mixed);
  state.counters["saved_but_lost"] = static_cast<double>(lostTold);
  state.counters["falsified"] = static_cast<double>(falsified);
  state.counters["hung"] = static_cast<double>(hung);
}
BENCHMARK(BM_TwoCopiesSaveAtOnceBesideAPlantedJournal)
    ->Arg(kBeside)
    ->Arg(kInPlace)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

// ------------------------------------------------ a colleague on the stick

bool run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

std::string shellWord(const std::string& path) { return "'" + path + "'"; }

// A FAT stick (a 32 MB image through FUSE, every file the mount's, every
// local user let in), mounted while it lives.
struct TStick {
  std::string image, mountPoint;
  bool mounted = false;
  explicit TStick(const TBenchFolder& folder) : image(folder.at("pendrive.img")), mountPoint(folder.at("pendrive")) {
    fs::create_directories(mountPoint);
    if (run("command -v fusefat") && run("command -v mkfs.vfat") && run("truncate -s 32M " + shellWord(image)) &&
        run("mkfs.vfat " + shellWord(image)))
      mount();
  }
  ~TStick() { unmount(); }
  bool mount() { return mounted = run("fusefat -o rw+,allow_other " + shellWord(image) + " " + shellWord(mountPoint)); }
  void unmount() {
    if (mounted) run("fusermount -u " + shellWord(mountPoint));
    mounted = false;
  }
};

// The one value the colleague changes, as the document holds it; "" when
// the document is not a whole database (quick_check).
std::string changedValue(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_stmt* st = nullptr;
  std::string value;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, "pragma quick_check", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW &&
      std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) == "ok") {
    sqlite3_finalize(st);
    st = nullptr;
    if (sqlite3_prepare_v2(db, "select value from `PESELA0` where rowid = 1", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
      value = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return value;
}

// One teacher's class file on a FAT stick; a colleague (another account)
// opens it, changes one value and saves it ("Zapisz", with the file
// opened); the stick is unmounted and mounted again, and the document on it
// is read: new (the colleague's value, told saved), old (told not saved),
// lost (told saved, the old value), unreadable (not a whole database).
void BM_ColleagueSavesOnTheStick(benchmark::State& state) {
  if (::geteuid() != 0) {
    state.SkipWithError("needs root to mount the stick for every user");
    return;
  }
  const TBenchFolder folder("stick");
  ::chmod(folder.root.c_str(), 0755);
  TStick stick(folder);
  if (!stick.mounted) {
    state.SkipWithError("no FAT stick can be mounted here (fusefat, mkfs.vfat, /dev/fuse)");
    return;
  }
  const std::string doc = stick.mountPoint + "/klasa 3a.sqtvk", made = folder.at("klasa.sqtvk");
  const std::string colleagueData = folder.at("kolega"), workingCopy = colleagueData + "/data_tmp.tmp";
  const std::string checked = folder.at("sprawdzany.sqtvk");
  makeDocument(made, "A", 40);
  writeBytes(doc, bytesOf(made));  // the stick keeps no mode to copy
  fs::create_directories(colleagueData);
  const struct passwd* colleague = ::getpwnam("daemon");
  if (!colleague || ::chown(colleagueData.c_str(), colleague->pw_uid, colleague->pw_gid) != 0)
    throw std::runtime_error("no colleague's account");
  std::string before = changedValue(doc);
  long asSaved = 0, old = 0, lost = 0, unreadable = 0, hung = 0, other = 0, round = 0;
  std::set<int> named;
  for (auto _ : state) {
    const std::string value = "zmiana " + std::to_string(++round);
    const int told = inChild([&] {
      if (!asColleague()) return kNoAccount;
      TFileFailure why;
      TOpenedFile read;
      if (!bFunLoadDocument(TSystemPath(doc), TSystemPath(workingCopy), why, &read) ||
          !bFunRecordOpenedFile(TSystemPath(workingCopy), read)) return 9;
      exec(workingCopy, "update `PESELA0` set value = '" + value + "' where rowid = 1");
      return saveCode(bFunSaveDocument(TSystemPath(workingCopy), TSystemPath(doc), why, &read), why);
    });
    stick.unmount();
    if (!stick.mount()) throw std::runtime_error("the stick could not be mounted again");
    fs::remove(checked);
    fs::copy_file(doc, checked);
    const std::string now = changedValue(checked);
    if (told == kHung)
      ++hung;
    else if (now.empty())
      ++unreadable;
    else if (now == value && told == kSaved)
      ++asSaved;
    else if (now == before && told == kSaved)
      ++lost;
    else if (now == before)
      ++old;
    else
      ++other;
    if (told != kSaved && named.insert(told).second) std::fprintf(stderr, "the colleague's save: exit %d\n", told);
    if (!now.empty()) before = now;
  }
  state.counters["new"] = static_cast<double>(asSaved);
  state.counters["old"] = static_cast<double>(old);
  state.counters["saved_but_lost"] = static_cast<double>(lost);
  state.counters["unreadable"] = static_cast<double>(unreadable);
  state.counters["hung"] = static_cast<double>(hung);
  state.counters["other"] = static_cast<double>(other);
}
BENCHMARK(BM_ColleagueSavesOnTheStick)->Iterations(100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
