// A folder on a file system that offers no file locks (a network share
// without its lock service): this test program stands in for such a file
// system by answering every lock of a file or folder below one folder with
// ENOLCK, as such a file system does, for the program's own calls and for
// SQLite's. Every file command works there, unlocked.
#include "StudentFixture.h"

#include "platform/NativeFiles.h"
#include "store/DocumentFiles.h"

#include <QAction>
#include <QToolButton>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdarg>
#include <dlfcn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string gNoLocksUnder;  // "" while every file system has its locks
// One file whose locks the system refuses with ENOLCK (as a kernel short of
// lock records does) so many more times; -1 for ever.
std::string gRefusedFile;
int gRefusalsLeft = 0;

bool refusedHere(int fd) {
  if (gNoLocksUnder.empty()) return false;
  char target[PATH_MAX];
  const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
  return n > 0 && std::string(target, static_cast<size_t>(n)).rfind(gNoLocksUnder, 0) == 0;
}

bool isLock(int command) {
  // F_GETLK, F_SETLK, F_SETLKW and their open-file-description kinds.
  return (command >= 5 && command <= 7) || (command >= 36 && command <= 38);
}

bool refusedOnce(int fd, int command) {
  if (gRefusedFile.empty() || gRefusalsLeft == 0 || !(command == 6 || command == 7 || command == 37 || command == 38))
    return false;
  char target[PATH_MAX];
  const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
  if (n <= 0 || std::string(target, static_cast<size_t>(n)) != gRefusedFile) return false;
  if (gRefusalsLeft > 0) --gRefusalsLeft;
  return true;
}

// A lock below the folder is refused as such a file system refuses it; any
// other call goes on to the C library's `name`.
int answered(const char* name, int fd, int command, void* argument) {
  if ((isLock(command) && refusedHere(fd)) || refusedOnce(fd, command)) {
    errno = ENOLCK;
    return -1;
  }
  using Call = int (*)(int, int, ...);
  const auto call = reinterpret_cast<Call>(::dlsym(RTLD_NEXT, name));
  return call(fd, command, argument);
}

}  // namespace

// The file calls of this program and of the SQLite library it loads come
// here first (the program exports them).
extern "C" int fcntl(int fd, int command, ...) {
  va_list list;
  va_start(list, command);
  void* argument = va_arg(list, void*);
  va_end(list);
  return answered("fcntl", fd, command, argument);
}

extern "C" int fcntl64(int fd, int command, ...) {
  va_list list;
  va_start(list, command);
  void* argument = va_arg(list, void*);
  va_end(list);
  return answered("fcntl64", fd, command, argument);
}

extern "C" int flock(int fd, int operation) {
  if (refusedHere(fd)) {
    errno = ENOLCK;
    return -1;
  }
  using Call = int (*)(int, int);
  return reinterpret_cast<Call>(::dlsym(RTLD_NEXT, "flock"))(fd, operation);
}

namespace {

class NoLocksTest : public StudentTest {
 protected:
  std::string share;
  void SetUp() override {
    StudentTest::SetUp();
    share = dirs.root() + "/udział bez blokad";
    fs::create_directories(share);
  }
  void TearDown() override {
    gNoLocksUnder.clear();
    gRefusedFile.clear();
    StudentTest::TearDown();
  }
};

}  // namespace

// Open, "Zapisz" (twice), "Zapisz jako" and the calibration export (a new
// file, then over it) in the folder without locks: no "in use", no word at
// all, and every file holds what it should.
TEST_F(NoLocksTest, EveryFileCommandWorksUnlockedWhereTheFileSystemHasNoLocks) {
  const std::string document = share + "/klasa 2b żółć.sqtvk";
  fs::rename(cp1250ToUtf8(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}})), document);
  gNoLocksUnder = share;
  ASSERT_TRUE(platform::native::offersNoLocks(document));
  ASSERT_FALSE(platform::native::offersNoLocks(cp1250ToUtf8(tmp())));

  script.fileNames = {chosenSystemName(document)};
  FGlowna->OtworzPlikToolButtonClick();
  EXPECT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(document));
  EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));
  for (const auto& [surname, pesel] : {std::pair {"Kot", "2"}, std::pair {"Sowa", "3"}}) {
    addStudent(surname, pesel);
    FGlowna->SaveButton->click();
    EXPECT_FALSE(FGlowna->bDataModified);
  }
  const std::string copy = share + "/klasa 2b kopia";
  script.fileNames = {chosenSystemName(copy)};
  FGlowna->findComponentAs<QAction>("Zapiszjako1")->trigger();
  const std::string exported = share + "/kalibracja szkoły";
  for (int round = 0; round < 2; ++round) {
    script.fileNames = {chosenSystemName(exported)};
    FGlowna->findComponentAs<QAction>("Eksportujustawieniakalibracji1")->trigger();
  }
  EXPECT_TRUE(script.boxes.empty()) << shownBoxes();

  gNoLocksUnder.clear();
  const Rows all {{"PESEL1"}, {"PESEL2"}, {"PESEL3"}};
  const std::string tables = "select name from sqlite_master where type='table' order by name";
  EXPECT_EQ(sqlRowsAt(document, tables, false), all);
  EXPECT_EQ(sqlRowsAt(copy + ".sqtvk", tables, false), all);
  EXPECT_EQ(readText(exported + ".sqset"), readText(cp1250ToUtf8(dirs.data()) + "/tvk_kalibracja.sqset"));
}

// A document in a folder whose file system keeps locks, while the system
// refuses its lock with ENOLCK for a moment or for good (a kernel short of
// lock records). "Zapisz" asks again within its wait and never goes on
// unheld: it saves once the lock is granted, is told "in use" while another
// copy of the program (on another machine, say) holds the document, and
// fails with what happened when the lock never comes.
TEST_F(NoLocksTest, ALockTheSystemRefusesIsAskedForAgainNeverDropped) {
  const std::string document = share + "/klasa 2b żółć.sqtvk";
  fs::rename(cp1250ToUtf8(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}})), document);
  ASSERT_FALSE(platform::native::offersNoLocks(document));
  script.fileNames = {chosenSystemName(document)};
  FGlowna->OtworzPlikToolButtonClick();
  ASSERT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));
  const std::string tables = "select name from sqlite_master where type='table' order by name";
  const std::string saveFailed = cp1250("Błąd kopiowania pliku z\n") + tmp() + "\ndo:\n" + TSystemPath(document).text() +
                                 "\n" +
                                 cp1250("System nie zablokował pliku przed innymi użytkownikami (zabrakło mu blokad "
                                        "albo dysk ich nie przyjął). Spróbuj ponownie za chwilę.\nKod błędu: 37") +
                                 cp1250("\n\nDane nie zostały zapisane.");
  const std::string inUse = cp1250("Plik jest używany przez inny program:\n") + TSystemPath(document).text() +
                            cp1250("\nZamknij program, który go używa, i spróbuj ponownie.\nMożesz też zapisać dane w "
                                   "innym pliku (\"Zapisz jako\").\n\nDane nie zostały zapisane.");
  struct Case {
    const char* what;
    int refusals;
    bool heldElsewhere;
    bool inPlace;       // the document has a second name, so it is written where it is
    std::string shown;  // "" for no message: saved
  } cases[] = {
      {"refused once", 1, false, false, ""},
      {"refused once while another copy holds it", 1, true, false, inUse},
      {"refused once while another copy writes into it", 1, true, true, inUse},
      {"refused once, written into", 1, false, true, ""},
      {"refused for good", -1, false, false, saveFailed},
  };
  int pesel = 2;
  const std::string secondName = share + "/klasa 2b – druga nazwa.sqtvk";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(secondName);
    if (c.inPlace) fs::create_hard_link(document, secondName);
    addStudent("Kot", std::to_string(pesel++));
    const Rows before = sqlRowsAt(document, tables, false);
    // The other copy of the program is saving the document: it holds it
    // while its new file is made.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    struct TOtherCopy {
      pid_t pid = -1;
      void end() {
        if (pid <= 0) return;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        pid = -1;
      }
      ~TOtherCopy() { end(); }
    } other;
    pid_t& holder = other.pid;
    if (c.heldElsewhere) {
      const std::string otherCopy = dirs.root() + "/druga kopia programu.tmp";
      fs::copy_file(document, otherCopy, fs::copy_options::overwrite_existing);
      holder = ::fork();
      if (holder == 0) {
        vFunSetSaveStepHook([&](const std::string& step) {
          const char held = 1;
          if (step == (c.inPlace ? "kept" : "made") && ::write(ready[1], &held, 1) == 1) ::pause();
        });
        TFileFailure why;
        ::_exit(bFunSaveDocument(TSystemPath(otherCopy), TSystemPath(document), why) ? 2 : 10 + why.systemError);
      }
    }
    ::close(ready[1]);
    if (holder > 0) {
      char held = 0;
      const bool standing = ::read(ready[0], &held, 1) == 1;
      if (!standing) {
        int status = 0;
        ::waitpid(holder, &status, 0);
        holder = -1;
        FAIL() << "the other copy's save ended with " << status;
      }
    }
    ::close(ready[0]);
    script.boxes.clear();
    gRefusedFile = document;
    gRefusalsLeft = c.refusals;
    FGlowna->SaveButton->click();
    gRefusedFile.clear();
    other.end();
    if (c.shown.empty()) {
      EXPECT_TRUE(script.boxes.empty()) << shownBoxes();
      EXPECT_EQ(sqlRowsAt(document, tables, false).size(), roots().size());  // every student of the window
      EXPECT_FALSE(FGlowna->bDataModified);
    } else {
      ASSERT_EQ(script.boxes.size(), 1u) << shownBoxes();
      EXPECT_EQ(script.boxes[0].text, c.shown);
      EXPECT_EQ(sqlRowsAt(document, tables, false), before);
      EXPECT_TRUE(FGlowna->bDataModified);
    }
  }
}
