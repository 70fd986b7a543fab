// A folder on a file system that offers no file locks (a network share
// without its lock service): this test program stands in for such a file
// system by answering every lock of a file or folder below one folder with
// ENOLCK, as such a file system does, for the program's own calls and for
// SQLite's. Every file command works there, unlocked.
#include "StudentFixture.h"

#include "platform/NativeFiles.h"

#include <QAction>
#include <QToolButton>

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string gNoLocksUnder;  // "" while every file system has its locks

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

// A lock below the folder is refused as such a file system refuses it; any
// other call goes on to the C library's `name`.
int answered(const char* name, int fd, int command, void* argument) {
  if (isLock(command) && refusedHere(fd)) {
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
