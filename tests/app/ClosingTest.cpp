#include "StudentFixture.h"
#include "support/OtherUsers.h"

#include <QAction>
#include <QToolButton>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const TShownBox kSaveQuestion {cp1250("Czy chcesz zapisać zmiany ?"), "", MB_YESNO};
const TShownBox kExitQuestion {cp1250("Czy na pewno chcesz zakończyć pracę ?"), "Koniec", MB_YESNO | MB_ICONQUESTION};

}  // namespace

TEST_F(AppTest, ClosingAsksByTheFlags) {
  const QString saved = chosenSystemName(dirs.root() + "/zapis końcowy.sqtvk");
  struct Case {
    const char* what;
    bool noAsk, modified;
    std::vector<int> answers;
    std::vector<std::optional<QString>> fileNames;  // the save dialog's answers
    std::vector<TShownBox> asked;
    bool closes;
    bool modifiedAfter;
  };
  const Case cases[] = {
      {"no questions after a decision to end", true, true, {}, {}, {}, true, true},
      {"exit confirmed", false, false, {IDYES}, {}, {kExitQuestion}, true, false},
      {"exit refused", false, false, {IDNO}, {}, {kExitQuestion}, false, false},
      {"changes not saved, exit confirmed", false, true, {IDNO, IDYES}, {}, {kSaveQuestion, kExitQuestion}, true, true},
      {"changes saved, exit refused", false, true, {IDYES, IDNO}, {saved}, {kSaveQuestion, kExitQuestion}, false,
       false},
      // The save dialog cancelled: the program stays with the work, and
      // asks nothing more.
      {"changes to save, save cancelled", false, true, {IDYES, IDYES}, {std::nullopt}, {kSaveQuestion}, false, true},
  };
  for (const auto& c : cases) {
    start();
    FGlowna->show();
    FGlowna->bCloseNoAsk = c.noAsk;
    FGlowna->bDataModified = c.modified;
    TScriptedDialogs answering;  // a fresh queue for this case
    answering.answers = c.answers;
    answering.fileNames = c.fileNames;
    FGlowna->close();
    EXPECT_EQ(answering.boxes, c.asked) << c.what;
    EXPECT_EQ(FGlowna->bFunClosed(), c.closes) << c.what;
    EXPECT_EQ(FGlowna->isVisible(), !c.closes) << c.what;
    EXPECT_EQ(FGlowna->bDataModified, c.modifiedAfter) << c.what;  // as the save left it
  }
}

TEST_F(AppTest, KoniecAlwaysAsks) {
  start();
  FGlowna->show();
  FGlowna->bCloseNoAsk = true;
  script.boxes.clear();
  script.answers = {IDNO};
  FGlowna->findComponentAs<QAction>("Koniec1")->trigger();
  EXPECT_EQ(script.boxes, (std::vector<TShownBox> {kExitQuestion}));
  EXPECT_FALSE(FGlowna->bCloseNoAsk);
  EXPECT_TRUE(FGlowna->isVisible());
}

namespace {

constexpr uid_t kNobody = 65534;

class ClosingAsUserTest : public StudentTest {
 protected:
  // The program starts only once the test has become the user.
  void SetUp() override { AppTest::SetUp(); }
};

}  // namespace

// A class file in a folder the user may read but not write: the closing
// question's save fails, and the program stays open with the work, which
// "Zapisz jako" then puts elsewhere. No exit question follows the failure,
// so Enter on it cannot end the program and drop the working copy.
TEST_F(ClosingAsUserTest, AFailedSaveInTheClosingQuestionKeepsTheProgramOpenWithTheWork) {
  if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
  namespace fs = std::filesystem;
  // The folder and the file are another user's (root's); the secretary is nobody.
  const std::string folder = dirs.root() + "/klasa 2b żółć";
  const std::string document = folder + "/klasa 2b żółć.sqtvk";
  const std::string elsewhere = dirs.root() + "/pendrive";
  fs::create_directories(folder);
  fs::create_directories(elsewhere);
  fs::copy_file(utf8(makeDocumentFile({{"1", personalRows("Nowak", "Anna", "1")}, {"2", personalRows("Lis", "Ewa", "2")}})),
                document);
  ::chmod(dirs.root().c_str(), 0755);
  ::chmod(document.c_str(), 0644);
  ASSERT_EQ(::chown(dirs.common().c_str(), kNobody, kNobody), 0);
  ASSERT_EQ(::chown(elsewhere.c_str(), kNobody, kNobody), 0);

  TAsUser secretary(kNobody);
  ASSERT_TRUE(secretary.active());
  ASSERT_NE(::access(folder.c_str(), W_OK), 0);  // the folder really refuses her
  start();
  FGlowna->show();
  script.fileNames = {chosenSystemName(document)};
  FGlowna->OtworzPlikToolButton->click();
  ASSERT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(document));
  ASSERT_EQ(roots(), (std::vector<std::string> {"Lis Ewa", "Nowak Anna"}));
  select(0);
  script.answers = {IDYES};
  FGlowna->UsunUczniaToolButton->click();  // the change
  ASSERT_EQ(tables(), (std::vector<std::string> {"PESEL1"}));

  script.boxes.clear();
  script.answers = {IDYES, IDYES, IDYES, IDYES};  // "Tak", or Enter, to whatever is asked
  FGlowna->close();
  ASSERT_FALSE(script.boxes.empty());
  EXPECT_EQ(script.boxes.front(), kSaveQuestion);
  EXPECT_EQ(script.boxes.back().caption, cp1250("Błąd"));  // the save's failure, said
  EXPECT_EQ(std::count(script.boxes.begin(), script.boxes.end(), kExitQuestion), 0);
  EXPECT_FALSE(FGlowna->bFunClosed());
  EXPECT_TRUE(FGlowna->isVisible());
  EXPECT_TRUE(FGlowna->bDataModified);
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL1"}));  // the working copy keeps the work
  EXPECT_EQ(sqlRowsAt(document, "select name from sqlite_master order by name", false),
            (Rows {{"PESEL1"}, {"PESEL2"}}));

  // "Zapisz jako" puts the work where she may write.
  script.fileNames = {chosenSystemName(elsewhere + "/klasa 2b żółć")};
  FGlowna->findComponentAs<QAction>("Zapiszjako1")->trigger();
  EXPECT_EQ(sqlRowsAt(elsewhere + "/klasa 2b żółć.sqtvk", "select name from sqlite_master", false),
            (Rows {{"PESEL1"}}));
}
