#include "AppFixture.h"

#include "app/AktualizacjaUnit.h"
#include "app/DaneUczniaUnit.h"
#include "app/ImportUnit.h"
#include "app/LogiUnit.h"
#include "app/OProgramieUnit.h"
#include "platform/Platform.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QCoreApplication>
#include <QToolButton>
#include <QTreeWidget>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

// Runs the event loop until the condition holds (true) or a deadline has
// passed (false).
bool eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!condition() && std::chrono::steady_clock::now() < deadline) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return condition();
}

std::string awaitFile(const std::string& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!fs::exists(path) && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  return fs::exists(path) ? readText(path) : std::string("<not written>");
}

// The rows of the log viewer, each as its three cells.
std::vector<QStringList> shownRows() {
  std::vector<QStringList> rows;
  for (int i = 0; i < FLogi->LogsListView->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = FLogi->LogsListView->topLevelItem(i);
    rows.push_back({item->text(0), item->text(1), item->text(2)});
  }
  return rows;
}

class ShellWindowsTest : public AppTest {
 protected:
  std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  std::string bin() const { return utf8(dirs.root()) + "/bin"; }
  void TearDown() override {
    ::setenv("PATH", savedPath.c_str(), 1);
    AppTest::TearDown();
  }
  // The desktop's tools are the test's own: they write their arguments to
  // <name>.txt beside them. A tool not given is missing.
  void desktopTools(std::initializer_list<const char*> names) {
    fs::create_directories(bin());
    for (const char* name : names) {
      const std::string out = bin() + "/" + name + ".txt";
      writeText(bin() + "/" + name, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + out +
                                        ".tmp'\n/bin/mv '" + out + ".tmp' '" + out + "'\n");
      fs::permissions(bin() + "/" + name, fs::perms::owner_all);
    }
    ::setenv("PATH", bin().c_str(), 1);
  }
  std::string toolArguments(const char* name) const { return awaitFile(bin() + "/" + name + ".txt"); }
  std::string logFile() const { return utf8(dirs.data()) + "/logs.sqdb"; }
};

}  // namespace

TEST_F(ShellWindowsTest, TheLogViewerListsTheErrorTableOncePerShow) {
  start();
  fs::remove(logFile());
  platform::setUtcClock([] { return platform::UtcTime {2024, 3, 5, 7, 8, 9}; });
  FGlowna->DataStore.ErrorStream.clear();
  FGlowna->DataStore.ErrorStream << cp1250("Błąd zapisu danych.");
  vFunSqlLogWrite(&FGlowna->DataStore, "bFunPierwsza()", 0);
  FGlowna->DataStore.ErrorStream.clear();
  FGlowna->DataStore.ErrorStream << "informacja";
  vFunSqlLogWrite(&FGlowna->DataStore, "bFunInfo()", 1);  // the info table is never shown
  FGlowna->DataStore.ErrorStream.clear();
  FGlowna->DataStore.ErrorStream << "drugi";
  vFunSqlLogWrite(&FGlowna->DataStore, "bFunDruga()", 0);

  const std::vector<QStringList> expected = {{"2024.3.5 7:8:9", "bFunPierwsza()", q("Błąd zapisu danych.")},
                                             {"2024.3.5 7:8:9", "bFunDruga()", "drugi"}};
  for (int show = 0; show < 2; ++show) {
    FGlowna->findComponentAs<QAction>("Logiprogramu1")->trigger();
    EXPECT_EQ(shownRows(), expected) << "show " << show;
  }
  EXPECT_EQ(script.modalRuns, (std::vector<QDialog*> {FLogi, FLogi}));

  QTreeWidget* list = FLogi->LogsListView;
  const QTreeWidgetItem* header = list->headerItem();
  EXPECT_EQ((QStringList {header->text(0), header->text(1), header->text(2)}),
            (QStringList {"Data / czas", "Funkcja", "Informacja"}));
  // The first two columns are widened to their contents when the font needs it.
  EXPECT_GE(list->columnWidth(0), 100);
  EXPECT_GE(list->columnWidth(1), 120);
  EXPECT_EQ(FLogi->windowTitle(), "Logi programu");
  EXPECT_EQ(FLogi->size(), QSize(799, 450));
  EXPECT_EQ(FLogi->BitBtn1->text(), "OK");
  EXPECT_FALSE(FLogi->BitBtn2->isVisibleTo(FLogi));
  EXPECT_TRUE(script.boxes.empty() || script.boxes.front().text.rfind("UWAGA", 0) == 0);
}

TEST_F(ShellWindowsTest, AMissingOrEmptyLogGivesAnEmptyListWithoutAMessage) {
  start();
  script.boxes.clear();
  struct Case {
    const char* what;
    std::function<void()> prepare;
  } cases[] = {
      {"no log file", [&] { fs::remove(logFile()); }},
      {"an empty error table",
       [&] {
         fs::remove(logFile());
         FGlowna->DataStore.ErrorStream.clear();
         vFunSqlLogWrite(&FGlowna->DataStore, "x()", 1);
       }},
      {"no error table", [&] { sqlExec(dirs.data() + "/logs.sqdb", "drop table if exists `error`"); }},
      {"not a database", [&] { writeText(logFile(), "to nie jest baza danych, tylko tekst w pliku"); }},
  };
  for (const Case& c : cases) {
    c.prepare();
    FLogi->LogsListView->addTopLevelItem(new QTreeWidgetItem(QStringList {"stary", "wiersz", "z wczoraj"}));
    FLogi->ShowModal();
    EXPECT_TRUE(shownRows().empty()) << c.what;
    EXPECT_TRUE(script.boxes.empty()) << c.what;
    EXPECT_EQ(FLogi->LogsListView->columnWidth(0), 100) << c.what;
  }
}

TEST_F(ShellWindowsTest, TheLogMailGoesToTheDesktopsMailProgramOrSaysItCannot) {
  start();
  script.boxes.clear();
  desktopTools({});
  FLogi->BitBtn2Click();
  EXPECT_EQ(script.boxes, (std::vector<TShownBox> {{cp1250("Błąd podczas próby wysłania maila"), cp1250("Błąd"),
                                                    MB_OK | MB_ICONSTOP}}));
  script.boxes.clear();
  desktopTools({"xdg-email"});
  FLogi->BitBtn2Click();
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(toolArguments("xdg-email"), "--subject\nLogi\n--body\nLogi programu Kestal-Dorvantum\n--attach\n" +
                                            logFile() + "\npomoc@kestal.pl\n");
}

TEST_F(ShellWindowsTest, TheAboutWindowNamesTheProgramItsVersionAndItsMaker) {
  start();
  FGlowna->findComponentAs<QAction>("Oprogramie1")->trigger();
  EXPECT_EQ(script.modalRuns, std::vector<QDialog*> {FOProgramie});
  EXPECT_EQ(FOProgramie->windowTitle(), "O programie");
  EXPECT_EQ(FOProgramie->size(), QSize(316, 282));
  const QString text = FOProgramie->Label1->text();
  for (const char* part : {"Kestal - Tarvek", "Wersja: 1.6.8", "Kestal"}) EXPECT_TRUE(text.contains(part)) << part;
  EXPECT_EQ(FOProgramie->ZamknijButton->text(), "Zamknij");
  EXPECT_FALSE(FOProgramie->Image1->Picture().isNull());
  EXPECT_FALSE(FOProgramie->windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(ShellWindowsTest, ContactAndTheInstallersLinkOpenInTheDesktopsBrowser) {
  start();
  desktopTools({"xdg-open"});
  FGlowna->KontaktButton->click();
  EXPECT_EQ(toolArguments("xdg-open"), "https://www.kestal.pl/?strona=/kontakt/kontakt.php\n");
  fs::remove(bin() + "/xdg-open.txt");
  FGlowna->findComponentAs<QAction>("Wylijwiadomo1")->trigger();
  EXPECT_EQ(toolArguments("xdg-open"), "https://www.kestal.pl/?strona=/kontakt/kontakt.php\n");

  fs::remove(bin() + "/xdg-open.txt");
  FAktualizacja->editDownloadLink->setText("http://127.0.0.1:9/kestal/tarvek/program/2014/tvksetup.exe");
  FAktualizacja->btnDownloadViaBrowser->click();
  EXPECT_EQ(toolArguments("xdg-open"), "http://127.0.0.1:9/kestal/tarvek/program/2014/tvksetup.exe\n");
}

// With no program to show them, the help and the contact page are not
// silently lost: the program names what it could not open, as soon as the
// desktop's opener is missing or has given up.
TEST_F(ShellWindowsTest, HelpAndContactWithoutABrowserSaySo) {
  start();
  const std::string help = cp1250FromUtf8(dirs.program()) + "/pomoc/index.html";
  const std::string contact = "https://www.kestal.pl/?strona=/kontakt/kontakt.php";
  const std::string installer = "http://127.0.0.1:9/kestal/tarvek/program/2014/tvksetup.exe";
  FAktualizacja->editDownloadLink->setText(QString::fromStdString(installer));
  auto action = [](const char* name) { return [name] { FGlowna->findComponentAs<QAction>(name)->trigger(); }; };
  const struct {
    const char* action;
    std::function<void()> run;
    std::string named;
    const char* caption;
  } commands[] = {{"Instrukcjaobsugi1", action("Instrukcjaobsugi1"), help, "Pomoc"},
                  {"Wylijwiadomo1", action("Wylijwiadomo1"), contact, "Kontakt"},
                  {"btnDownloadViaBrowser", [] { FAktualizacja->btnDownloadViaBrowser->click(); }, installer,
                   "Aktualizacja"}};
  // The opener as the desktop has it; nullptr: there is none.
  auto opener = [this](const char* body) {
    fs::create_directories(bin());
    fs::remove(bin() + "/xdg-open");
    if (body) {
      writeText(bin() + "/xdg-open", std::string("#!/bin/sh\n") + body + "\n");
      fs::permissions(bin() + "/xdg-open", fs::perms::owner_all);
    }
    ::setenv("PATH", bin().c_str(), 1);
  };
  const struct {
    const char* what;
    const char* body;
  } failing[] = {{"no opener", nullptr},
                 {"no browser", "echo \"xdg-open: no method available for opening '$1'\" >&2\nexit 3"}};
  for (const auto& o : failing) {
    opener(o.body);
    for (const auto& c : commands) {
      script.boxes.clear();
      c.run();
      EXPECT_TRUE(eventually([&] { return !script.boxes.empty(); })) << o.what << " " << c.action;
      ASSERT_EQ(script.boxes.size(), 1u) << o.what << " " << c.action;
      EXPECT_NE(script.boxes[0].text.find(c.named), std::string::npos) << o.what << " " << c.action;
      EXPECT_EQ(script.boxes[0].caption, c.caption) << o.what;
      EXPECT_EQ(script.boxes[0].flags, MB_OK | MB_ICONWARNING) << o.what;
    }
  }
  // An opener that opened the target: nothing is said once it has ended.
  opener("exit 0");
  for (const auto& c : commands) {
    script.boxes.clear();
    c.run();
    const QPointer<QObject> waiting = qApp->findChild<QObject*>("TOpenerEnd", Qt::FindDirectChildrenOnly);
    ASSERT_FALSE(waiting.isNull()) << c.action;
    ASSERT_TRUE(eventually([&] { return waiting.isNull(); })) << c.action;
    EXPECT_TRUE(script.boxes.empty()) << c.action;
  }
}

TEST_F(ShellWindowsTest, TheImportDialogListsTheStudentsOfAFile) {
  start();
  script.boxes.clear();
  const std::string file = utf8(dirs.root()) + "/klasa.dvt";
  writeText(file, cp1250("PLIK DORVANTUM\r\n"
                         "<DANE SWIADECTW DLA: Kowalski Jan>\r\n"
                         "IMIE=Jan\r\n"
                         "<DANE SWIADECTW DLA:>\r\n"
                         "<DANE SWIADECTW DLA: Żurek Łucja>\r\n"
                         "IMIE=Łucja\r\n"));
  // Both controls are hidden; their handler opens the dialog.
  FGlowna->findComponentAs<QAction>("Importujdane1")->trigger();
  FGlowna->ImportButtonClick();
  EXPECT_EQ(script.modalRuns, (std::vector<QDialog*> {FImport, FImport}));
  EXPECT_EQ(FImport->windowTitle(), q("Importuj dane uczniów"));
  EXPECT_EQ(FImport->size(), QSize(283, 346));

  script.fileNames = {chosenSystemName(file)};
  FImport->WczytajPlikButton->click();
  ASSERT_EQ(script.fileDialogs.size(), 1u);
  EXPECT_EQ(script.fileDialogs[0].filter, "Dorvantum|*.dvt");
  EXPECT_EQ(FImport->strImportFileName, cp1250FromUtf8(file));
  QStringList listed;
  for (int i = 0; i < FImport->ListaUczniowListBox->count(); ++i) listed << FImport->ListaUczniowListBox->item(i)->text();
  EXPECT_EQ(listed, (QStringList {"Kowalski Jan", q("Żurek Łucja")}));

  // A cancelled choice empties the list and keeps the file.
  FImport->WczytajPlikButton->click();
  EXPECT_EQ(FImport->ListaUczniowListBox->count(), 0);
  EXPECT_EQ(FImport->strImportFileName, cp1250FromUtf8(file));
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(ShellWindowsTest, TheImportFindsTheStudentWhateverTheLetterCase) {
  std::istringstream file(cp1250("<DANE SWIADECTW DLA: Kowalski Jan>\r\nIMIE=Jan\r\n"
                                 "<dane swiadectw dla: żurek łucja>\nIMIE=Łucja\n"));
  struct Case {
    const char* name;
    bool found;
    const char* next;  // the line the import routine would read first
  } cases[] = {
      {"kowalski JAN", true, "IMIE=Jan\r"},
      {"KOWALSKI JAN", true, "IMIE=Jan\r"},
      {"żurek łucja", true, "IMIE=Łucja"},
      {"Żurek Łucja", false, ""},  // Polish letters are compared as they are
      {"Nowak Anna", false, ""},
  };
  for (const Case& c : cases) {
    file.clear();
    file.seekg(0);
    EXPECT_EQ(bFunPrzejdzDoUcznia(file, cp1250(c.name)), c.found) << c.name;
    std::string next;
    std::getline(file, next);
    EXPECT_EQ(next, cp1250(c.next)) << c.name;
  }
}

TEST_F(ShellWindowsTest, TheImportClearsTheHoldersAndShowsTheStudentDialog) {
  start();
  script.boxes.clear();
  const std::string file = utf8(dirs.root()) + "/klasa.dvt";
  const std::string empty = utf8(dirs.root()) + "/pusty.dvt";
  writeText(file, "<DANE SWIADECTW DLA: Kowalski Jan>\r\nIMIE=Jan\r\n");
  writeText(empty, "PLIK BEZ UCZNIOW\r\n");
  const TShownBox choose {cp1250("Zaznacz ucznia którego dane mają zostać importowane"), "Brak wyboru", MB_OK};

  // No student chosen, also after a file without any.
  bFunSetText(FDaneUcznia->Nazwisko_DATA_EDIT, "Baran");
  for (const std::string& path : {file, empty}) {
    script.fileNames = {chosenSystemName(path)};
    FImport->WczytajPlikButtonClick();
    FImport->AddButton->click();
  }
  EXPECT_EQ(script.boxes, (std::vector<TShownBox> {choose, choose}));
  EXPECT_EQ(strFunGetText(FDaneUcznia->Nazwisko_DATA_EDIT), "Baran");
  EXPECT_FALSE(FDaneUcznia->isVisible());

  script.boxes.clear();
  script.fileNames = {chosenSystemName(file)};
  FImport->WczytajPlikButtonClick();
  FImport->ListaUczniowListBox->setCurrentRow(0);
  FImport->AddButton->click();
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(strFunGetText(FDaneUcznia->Nazwisko_DATA_EDIT), "");
  EXPECT_TRUE(FDaneUcznia->isVisible());
  FDaneUcznia->hide();
}
