// Class files on a USB stick: a FAT image mounted through FUSE (fusefat),
// where the file system keeps no Unix modes or owners (changing them gives
// "Function not implemented"), the same stick mounted read-only, and
// mounted for every account of the machine, where a colleague on another
// account saves a teacher's class in a program of his own. Every
// file command is driven through the main window with the names a file
// dialog gives. This FUSE module refuses names with letters beyond ASCII
// ("Operation not permitted"), so the names here have blanks but no Polish
// letters.
#include "StudentFixture.h"

#include "forms/DocumentForms.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"
#include "support/OtherUsers.h"
#include "support/TvkText.h"

#include <QAction>
#include <QToolButton>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string shellWord(const std::string& path) { return "'" + path + "'"; }

bool run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

class UsbStickTest : public StudentTest {
 protected:
  std::string image, stick, document;
  bool mounted = false;

  void SetUp() override {
    StudentTest::SetUp();
    image = dirs.root() + "/pendrive.img";
    stick = dirs.root() + "/pendrive";
    document = stick + "/klasa 2b swiadectwa.sqtvk";
    fs::create_directories(stick);
    const std::string why = makeStick();
    if (why.empty()) return;
    // CI has FUSE and the packages (scripts/deps.sh): there a stick that
    // cannot be made is a failure, not a test left out.
    if (std::getenv("CI")) GTEST_FAIL() << "no FAT stick can be mounted here: " << why;
    GTEST_SKIP() << "no FAT stick can be mounted here: " << why;
  }
  void TearDown() override {
    StudentTest::TearDown();
    unmount();
  }

  // A fresh 32 MB FAT image mounted writable, with a class file on it; ""
  // or what is missing.
  std::string makeStick() {
    if (!fs::exists("/dev/fuse")) return "/dev/fuse is missing";
    if (!run("command -v fusefat") || !run("command -v mkfs.vfat")) return "fusefat or mkfs.vfat is missing";
    if (!run("truncate -s 32M " + shellWord(image)) || !run("mkfs.vfat " + shellWord(image)))
      return "mkfs.vfat failed";
    if (!mount("rw+")) return "fusefat could not mount the image";
    const std::string model = cp1250ToUtf8(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}}));
    writeText(document, readText(model));
    return readText(document) == readText(model) ? std::string() : "the stick does not keep what is written";
  }
  bool mount(const std::string& mode) {
    mounted = run("fusefat -o " + mode + " " + shellWord(image) + " " + shellWord(stick));
    return mounted;
  }
  void unmount() {
    if (mounted) run("fusermount -u " + shellWord(stick));
    mounted = false;
  }

  Rows tablesIn(const std::string& path) const {
    return sqlRowsAt(path, "select name from sqlite_master where type='table' order by name", false);
  }
  void openFromMenu(const std::string& path) {
    script.fileNames = {chosenSystemName(path)};
    FGlowna->OtworzPlikToolButtonClick();
  }
  std::vector<std::string> namesOnTheStick() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(stick)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

// The grade a colleague changes on the stick: biology on the first
// certificate of the first student of the tree.
const char kGradeTag[] = "KLASA Ia TARVEK", kGrade[] = "ZMIENNA_BiologiaOcn_STR2_DATA_COMBOBOX";

// The colleague of UsbStickTest.AColleaguesSaveOnTheStickLeavesAWholeDocumentWithTheChange,
// on an account of his own, in a program of his own: opens the class file
// on the stick (TARVEK_STICK_DOCUMENT) from the menu, changes the grade in
// the certificate's form and presses "Zapisz". Run by that test only.
class ColleagueOnTheStick : public StudentTest {
 protected:
  void SetUp() override {
    if (!std::getenv("TARVEK_STICK_DOCUMENT")) GTEST_SKIP() << "run by UsbStickTest as another user";
    StudentTest::SetUp();
  }
};

}  // namespace

// Open, "Zapisz", "Zapisz jako" (a new name, then over an existing file),
// "Importuj" and the calibration export (a new file, then over it), all on
// the stick: each works without a word, and each file holds what it should.
TEST_F(UsbStickTest, EveryFileCommandWorksOnAFatStick) {
  openFromMenu(document);
  EXPECT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(document));
  EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));
  EXPECT_TRUE(script.boxes.empty()) << shownBoxes();

  addStudent("Kot", "2");
  script.boxes.clear();
  FGlowna->SaveButton->click();
  EXPECT_TRUE(script.boxes.empty()) << shownBoxes();
  EXPECT_FALSE(FGlowna->bDataModified);
  EXPECT_EQ(tablesIn(document), (Rows {{"PESEL1"}, {"PESEL2"}}));

  // Saved again: the file of the last save is the one "Zapisz" expects.
  addStudent("Sowa", "3");
  FGlowna->SaveButton->click();
  EXPECT_TRUE(script.boxes.empty()) << shownBoxes();
  EXPECT_EQ(tablesIn(document), (Rows {{"PESEL1"}, {"PESEL2"}, {"PESEL3"}}));

  const std::string copy = stick + "/klasa 2b kopia";
  script.fileNames = {chosenSystemName(copy)};
  FGlowna->findComponentAs<QAction>("Zapiszjako1")->trigger();
  EXPECT_TRUE(script.boxes.empty()) << shownBoxes();
  EXPECT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(copy + ".sqtvk"));
  EXPECT_EQ(tablesIn(copy + ".sqtvk"), (Rows {{"PESEL1"}, {"PESEL2"}, {"PESEL3"}}));

  const std::string source = stick + "/stary plik klasy.tvk";
  writeText(source, tvkText(tvkStudent("Żak", "Łucja", "5")));
  script.fileNames = {chosenSystemName(source)};
  FGlowna->findComponentAs<QAction>("Importuj1")->trigger();
  EXPECT_TRUE(script.boxes.empty()) << shownBoxes();
  EXPECT_EQ(roots(), (std::vector<std::string> {cp1250("Żak Łucja")}));

  script.fileNames = {chosenSystemName(document)};
  script.answers = {IDYES};  // "Wybrany plik już istnieje."
  FGlowna->findComponentAs<QAction>("Zapiszjako1")->trigger();
  ASSERT_EQ(script.boxes.size(), 1u) << shownBoxes();
  EXPECT_EQ(script.boxes[0].text, cp1250("Wybrany plik już istnieje.\nCzy chcesz zastąpić istniejący plik ?"));
  EXPECT_EQ(tablesIn(document), (Rows {{"PESEL5"}}));
  EXPECT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(document));

  const std::string calibration = cp1250ToUtf8(dirs.data()) + "/tvk_kalibracja.sqset";
  const std::string exported = stick + "/kalibracja szkoly";
  script.boxes.clear();
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    script.fileNames = {chosenSystemName(exported)};
    FGlowna->findComponentAs<QAction>("Eksportujustawieniakalibracji1")->trigger();
    EXPECT_TRUE(script.boxes.empty()) << shownBoxes();
    EXPECT_EQ(readText(exported + ".sqset"), readText(calibration));
  }

  // What the stick holds in the end: the files the commands made, nothing
  // left beside them.
  EXPECT_EQ(namesOnTheStick(), (std::vector<std::string> {"kalibracja szkoly.sqset", "klasa 2b kopia.sqtvk",
                                              "klasa 2b swiadectwa.sqtvk", "stary plik klasy.tvk"}));
}

// The stick mounted read-only (its lock switch): "Zapisz" and "Zapisz jako"
// say that the disk is read-only, with the system's own code, not that a
// permission is missing; the file stays as it was and the work stays.
TEST_F(UsbStickTest, ASaveOntoAReadOnlyStickSaysTheDiskIsReadOnly) {
  const std::string before = readText(document);
  unmount();
  ASSERT_TRUE(mount("ro"));
  openFromMenu(document);
  ASSERT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(document));
  addStudent("Kot", "2");
  const std::string readOnly =
      cp1250("Ten dysk lub katalog jest tylko do odczytu (na przykład pendrive z włączoną blokadą zapisu). Zapisz "
             "dane na innym dysku albo w innym katalogu.\nKod błędu: 30\n\nDane nie zostały zapisane.");
  const std::string path = cp1250FromUtf8(document);

  script.boxes.clear();
  FGlowna->SaveButton->click();
  ASSERT_FALSE(script.boxes.empty());
  EXPECT_EQ(script.boxes.back().text, cp1250("Błąd kopiowania pliku z\n") + tmp() + "\ndo:\n" + path + "\n" + readOnly);
  EXPECT_EQ(script.boxes.back().caption, cp1250("Błąd"));

  const std::string copy = cp1250FromUtf8(stick) + "/klasa 2b kopia.sqtvk";
  script.boxes.clear();
  script.fileNames = {chosenName(copy)};
  FGlowna->findComponentAs<QAction>("Zapiszjako1")->trigger();
  ASSERT_FALSE(script.boxes.empty());
  EXPECT_EQ(script.boxes.back().text, "Funkcja: vFunZapiszNowyPlikSwiadectw()\n\n" +
                                          cp1250("Błąd podczas próby kopiowania pliku\nz\n") + tmp() + "\ndo\n" +
                                          copy + "\n" + readOnly);
  EXPECT_TRUE(FGlowna->bDataModified);
  EXPECT_EQ(readText(document), before);
  EXPECT_FALSE(fs::exists(cp1250ToUtf8(copy)));
}

// The rule for modes that cannot be set: on the stick a file of the
// program's own takes none and that is no failure; on a Unix file system
// the same calls, refused for another reason (someone else's file, a folder
// closed to the user), still fail, so nothing meant to be private is left
// open because of the rule.
TEST_F(UsbStickTest, OnlyAFileSystemWithoutModesLetsAModeGoUnset) {
  namespace native = platform::native;
  const std::string own = stick + "/zapis.tmp";
  const int fd = native::createPrivateFile(own, O_RDWR);
  ASSERT_GE(fd, 0);
  EXPECT_TRUE(native::setModeOf(fd, 0600));
  ::close(fd);
  EXPECT_TRUE(native::setMode(own, 0644));
  EXPECT_TRUE(native::copyOwnership(cp1250ToUtf8(documentPath()), own));
  EXPECT_TRUE(native::giveNewFileMode(own));
  EXPECT_TRUE(native::resetAttributes(own));

  if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
  ::chmod(dirs.root().c_str(), 0755);
  const std::string closed = dirs.root() + "/zamknięty", others = dirs.root() + "/cudzy plik.tmp";
  fs::create_directories(closed);
  ::chmod(closed.c_str(), 0700);
  writeText(closed + "/plik.tmp", "");
  writeText(others, "");
  const struct {
    std::string path;
    int error;
  } cases[] = {{others, EPERM}, {closed + "/plik.tmp", EACCES}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const pid_t pid = ::fork();
    if (pid == 0) {
      const struct passwd* colleague = ::getpwnam("daemon");
      if (!colleague || ::setgid(colleague->pw_gid) != 0 || ::setuid(colleague->pw_uid) != 0) ::_exit(3);
      const bool set = native::setMode(c.path, 0644);
      ::_exit(set ? 1 : platform::lastError() == c.error ? 0 : 2);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
}

// A class of a few megabytes on the stick, where this FUSE module gives back
// only the first 1.8 MB of a file SQLite wrote beside the document: the
// document is never replaced by a file the stick does not hold whole.
// "Zapisz" either leaves a whole document with the new student, or says the
// data were not saved and leaves the document as it was, still open and
// still changed.
TEST_F(UsbStickTest, ASaveNeverPutsAFileTheStickLostPartOfInTheDocumentsPlace) {
  std::vector<TStudentFile> students;
  for (int i = 1; i <= 30; ++i) {
    Rows rows = personalRows("Uczen" + std::to_string(i), "Jan", std::to_string(i));
    for (int k = 0; k < 1000; ++k) rows.push_back({"SWIADECTWO", "Pole" + std::to_string(k), std::string(60, 'x')});
    students.push_back({std::to_string(i), rows});
  }
  const std::string large = stick + "/klasa 3a cala.sqtvk";
  writeText(large, readText(cp1250ToUtf8(makeDocumentFile(students, "klasa 3a cala.sqtvk"))));
  const std::string before = readText(large);
  ASSERT_GT(before.size(), 2u << 20);
  openFromMenu(large);
  ASSERT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(large));
  addStudent("Kot", "99");
  FGlowna->SaveButton->click();

  const std::string after = readText(large);
  EXPECT_EQ(after.size(), fs::file_size(large)) << "the document is not there whole";
  if (!FGlowna->bDataModified) {
    EXPECT_TRUE(script.boxes.empty()) << shownBoxes();
    EXPECT_EQ(sqlRowsAt(large, "pragma quick_check", false), (Rows {{"ok"}}));
    EXPECT_EQ(sqlRowsAt(large, "select count(*) from sqlite_master", false), (Rows {{"31"}}));
    FGlowna->SaveButton->click();
    EXPECT_TRUE(script.boxes.empty()) << "asked after its own save: " << shownBoxes();
  } else {
    EXPECT_TRUE(after == before) << "the document changed";
    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_NE(cp1250ToUtf8(script.boxes[0].text).find("Dane nie zostały zapisane."), std::string::npos)
        << shownBoxes();
    EXPECT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(large));
  }
}

TEST_F(ColleagueOnTheStick, ChangesAGradeAndSaves) {
  const std::string document = std::getenv("TARVEK_STICK_DOCUMENT");
  script.fileNames = {chosenSystemName(document)};
  FGlowna->OtworzPlikToolButtonClick();
  ASSERT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(document)) << shownBoxes();
  select(0, 0);
  TDocumentForm* certificate = frmFunFormOfClass("TFKlasa1a");
  ASSERT_EQ(strFunGetText(certificate->findComponent(kGrade)), "dobry");
  script.answers = {IDNO};  // no school template now
  script.onShowModal = [certificate](QDialog*) {
    bFunSetText(certificate->findComponent(kGrade), "bardzo dobry");
    certificate->OKButtonClick();
    return certificate->result();
  };
  FGlowna->EdytujSwiadectwoToolButtonClick();
  script.onShowModal = nullptr;
  ASSERT_TRUE(FGlowna->bDataModified);
  script.boxes.clear();
  FGlowna->SaveButton->click();
  EXPECT_TRUE(script.boxes.empty()) << shownBoxes();
  EXPECT_FALSE(FGlowna->bDataModified);
}

// A teacher's class of a few megabytes on a stick that every account may
// use (every file the mount's, umask 000), which refuses to resize a file:
// a colleague on another account opens it, changes a grade, "Zapisz". The
// file is not the colleague's, yet where no file has an owner there is none
// to keep: the save goes beside it and renames, as the owner's would. The
// save says nothing, and the stick holds a whole document with the new
// grade and nothing beside it.
TEST_F(UsbStickTest, AColleaguesSaveOnTheStickLeavesAWholeDocumentWithTheChange) {
  if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
  unmount();
  ASSERT_TRUE(mount("rw+,allow_other,umask=000"));
  ::chmod(dirs.root().c_str(), 0755);
  std::vector<TStudentFile> students;
  for (int i = 1; i <= 45; ++i) {
    Rows rows = personalRows(i == 1 ? "Adamska" : "Uczen" + std::to_string(i), "Ola", std::to_string(i));
    if (i == 1) rows.push_back({kGradeTag, kGrade, "dobry"});
    for (int k = 0; k < 700; ++k) rows.push_back({kGradeTag, "Pole" + std::to_string(k), std::string(60, 'x')});
    students.push_back({std::to_string(i), rows});
  }
  // Written anew: the stick refuses to cut the file there to nothing first.
  fs::remove(document);
  writeText(document, readText(cp1250ToUtf8(makeDocumentFile(students, "klasa 2b.sqtvk"))));
  ASSERT_GT(fs::file_size(document), 2u << 20);

  const std::string colleague = dirs.root() + "/kolega", said = colleague + "/przebieg.txt";
  fs::create_directories(colleague);
  ::chmod(colleague.c_str(), 0777);
  const std::string program = fs::read_symlink("/proc/self/exe").string();
  EXPECT_TRUE(runAs("daemon",
                    {"env", "TARVEK_STICK_DOCUMENT=" + document, "TMPDIR=" + colleague, program,
                     "--gtest_filter=ColleagueOnTheStick.ChangesAGradeAndSaves"},
                    said));
  EXPECT_NE(readText(said).find("[       OK ] ColleagueOnTheStick.ChangesAGradeAndSaves"), std::string::npos)
      << readText(said);

  EXPECT_EQ(sqlRowsAt(document, "pragma quick_check", false), (Rows {{"ok"}}));
  EXPECT_EQ(sqlRowsAt(document,
                      "select value from `PESEL1` where id = '" + std::string(kGradeTag) + "' and comp_name = '" +
                          kGrade + "'",
                      false),
            (Rows {{"bardzo dobry"}}));
  EXPECT_EQ(sqlRowsAt(document, "select count(*) from sqlite_master", false), (Rows {{"45"}}));
  EXPECT_EQ(namesOnTheStick(), (std::vector<std::string> {"klasa 2b swiadectwa.sqtvk"}));
}
