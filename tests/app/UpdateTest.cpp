#include "AppFixture.h"

#include "app/AktualizacjaUnit.h"
#include "support/LoopbackHttpServer.h"
#include "support/StartedPrograms.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

namespace fs = std::filesystem;

// Shown boxes read as text when a check fails (inline: other suites may print them too).
inline void PrintTo(const TShownBox& box, std::ostream* os) {
  *os << "{" << box.flags << ", \"" << cp1250ToUtf8(box.caption) << "\", \"" << cp1250ToUtf8(box.text) << "\"}";
}

namespace {

const std::string kVersionPath = "/kestal/tarvek/program/2014/tvk_wersja.bin";
const std::string kInstallerPath = "/kestal/tarvek/program/2014/tvksetup.exe";

const TShownBox kNoConnection {cp1250("Błąd podczas próby połączenia z internetem"), "Aktualizacja",
                               MB_OK | MB_ICONWARNING};

std::string versionsText(const std::string& server) {
  return cp1250("Aktualna wersja programu to: 1.6.8\nWersja dostępna na serwerze to: ") + server + "\n\n";
}
TShownBox question(const std::string& server) {
  return {versionsText(server) + cp1250("Czy chcesz pobrać nową wersje programu ?"), "Nowa wersja",
          MB_YESNO | MB_ICONQUESTION};
}
TShownBox nothingNew(const std::string& server) {
  return {versionsText(server) + cp1250("Brak nowej wersji do pobrania."), "", MB_OK};
}
const TShownBox kSaveFirst {cp1250("Przed aktualizacją programu zapisz dane\x07 a następnie uruchom aktualizację.\n"
                                   "Pomoc->Sprawdź czy jest nowa wersja"),
                            "Zapisz dane", MB_OK};

std::string q(const QString& text) { return text.toStdString(); }

std::string randomBytes(std::size_t size) {
  std::mt19937 generator(17);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(generator() & 0xFF);
  return bytes;
}

std::string awaitFile(const std::string& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!fs::exists(path) && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  return fs::exists(path) ? readText(path) : std::string("<not written>");
}

class UpdateTest : public AppTest {
 protected:
  TLoopbackHttpServer server;

  // Start-up with its silent check answered by the loopback server.
  void startServed() {
    ::setenv("TARVEK_UPDATE_URL", server.url().c_str(), 1);
    start();
    finish();
    // The notice of the first start is not the update's.
    std::erase_if(script.boxes, [](const TShownBox& box) { return box.text.rfind("UWAGA !!!", 0) == 0; });
  }
  // Waits for the checks and downloads to end and runs what they handed over.
  static void finish() { FAktualizacja->vFunCzekajNaWatki(); }
  // One check asked for, to its end.
  static void check(bool silent) {
    vFunSprawdzAktualizacje(silent);
    finish();
  }
  std::string installer() const { return utf8(dirs.data()) + "/aktualizacja/nowy.exe"; }

  // Runs the update window as the main window's timer does; `inside` sees the
  // window after its download has ended, and presses its buttons.
  void runWindow(const std::function<void()>& inside) {
    script.onShowModal = [&](QDialog* dialog) {
      EXPECT_EQ(dialog, FAktualizacja);
      finish();
      inside();
      return mrOk;
    };
    FGlowna->AktualizacjaTimerTimer();
    script.onShowModal = nullptr;
  }
};

}  // namespace

TEST_F(UpdateTest, OnlyALaterVersionIsOffered) {
  startServed();
  struct Case {
    int major, minor, build;
    bool newer;
    const char* shown;
  } cases[] = {
      {1, 6, 9, true, "1.6.9"},   {1, 7, 0, true, "1.7.0"},     {2, 0, 0, true, "2.0.0"},
      {1, 6, 8, false, "1.6.8"},  {1, 5, 99, false, "1.5.99"},  {0, 9, 9, false, "0.9.9"},
      {-2, 7, 9, false, "-2.7.9"}, {1, -7, 9, false, "1.-7.9"}, {1, 6, -9, false, "1.6.-9"},
      {1, 7, -1, true, "1.7.-1"},
  };
  for (const Case& c : cases) {
    server.serve(kVersionPath, {.body = strVersionFile(c.major, c.minor, c.build)});
    TScriptedDialogs answering;
    answering.answers = {IDNO};
    check(false);
    const std::vector<TShownBox> expected = {c.newer ? question(c.shown) : nothingNew(c.shown)};
    EXPECT_EQ(answering.boxes, expected) << c.shown;
    // Answering No ends it: no window is asked for.
    EXPECT_FALSE(FGlowna->AktualizacjaTimer->Enabled()) << c.shown;

    TScriptedDialogs silently;
    silently.answers = {IDNO};
    check(true);
    EXPECT_EQ(silently.boxes.size(), c.newer ? 1u : 0u) << c.shown;
  }
  // Every request asks for the version file and names itself.
  for (const TServedRequest& request : server.requests()) {
    EXPECT_EQ(request.path, kVersionPath);
    EXPECT_EQ(request.userAgent, "UPDATE CHECK");
  }
}

TEST_F(UpdateTest, AnythingButAWholeVersionFileIsNoAnswer) {
  startServed();
  struct Case {
    const char* what;
    TServedAnswer answer;
  } cases[] = {
      {"404", {.status = 404, .body = "Not found"}},
      {"500", {.status = 500, .body = strVersionFile(9, 9, 9)}},
      {"403 with a page", {.status = 403, .body = "<html>Forbidden page of text</html>"}},
      {"403 of twelve bytes", {.status = 403, .body = strVersionFile(1, 7, 0)}},
      {"a short body", {.body = strVersionFile(1, 7, 0).substr(0, 8)}},
      {"an empty body", {.body = ""}},
      {"a longer body", {.body = strVersionFile(1, 7, 0) + "x"}},
      {"a page of text", {.body = "<html><body>Nowa wersja programu 1.7.0</body></html>"}},
      {"a cut body", {.body = strVersionFile(1, 7, 0), .cutAfter = 6}},
      {"a closed connection", {.closeAtOnce = true}},
  };
  for (const Case& c : cases) {
    server.serve(kVersionPath, c.answer);
    TScriptedDialogs asked;
    check(false);
    EXPECT_EQ(asked.boxes, std::vector<TShownBox> {kNoConnection}) << c.what;
    TScriptedDialogs silent;
    check(true);
    EXPECT_TRUE(silent.boxes.empty()) << c.what;
    EXPECT_FALSE(FGlowna->AktualizacjaTimer->Enabled()) << c.what;
  }
}

TEST_F(UpdateTest, NoServerAtAllShowsOneBoxWhenAskedAndNothingAtStartUp) {
  startServed();
  ::setenv("TARVEK_UPDATE_URL", kNoUpdateServer, 1);
  start();  // the check of start-up asks a closed port
  finish();
  EXPECT_TRUE(script.boxes.empty());
  check(false);
  EXPECT_EQ(script.boxes, std::vector<TShownBox> {kNoConnection});
}

TEST_F(UpdateTest, StartUpChecksSilentlyAndOffersALaterVersion) {
  server.serve(kVersionPath, {.body = strVersionFile(1, 7, 0)});
  script.answers = {IDNO};
  startServed();
  EXPECT_EQ(script.boxes, std::vector<TShownBox> {question("1.7.0")});
  ASSERT_EQ(server.requests().size(), 1u);
}

TEST_F(UpdateTest, YesOpensTheWindowThroughTheTimerUnlessThereAreUnsavedChanges) {
  startServed();
  server.serve(kVersionPath, {.body = strVersionFile(1, 6, 10)});

  FGlowna->bDataModified = true;
  script.answers = {IDYES};
  check(false);
  EXPECT_EQ(script.boxes, (std::vector<TShownBox> {question("1.6.10"), kSaveFirst}));
  EXPECT_EQ(q(FAktualizacja->AWersjaLabel->text()), "1.6.8");
  EXPECT_EQ(q(FAktualizacja->NWersjaLabel->text()), "1.6.10");
  EXPECT_FALSE(FGlowna->AktualizacjaTimer->Enabled());

  FGlowna->bDataModified = false;
  script.boxes.clear();
  script.answers = {IDYES};
  check(false);
  EXPECT_EQ(script.boxes, std::vector<TShownBox> {question("1.6.10")});
  EXPECT_TRUE(FGlowna->AktualizacjaTimer->Enabled());
  EXPECT_EQ(FGlowna->AktualizacjaTimer->Interval(), 1000);
}

TEST_F(UpdateTest, TwoChecksAtOnceOfferOneWindow) {
  startServed();
  server.serve(kVersionPath, {.body = strVersionFile(2, 0, 0)});
  script.answers = {IDYES, IDYES};
  vFunSprawdzAktualizacje(true);
  vFunSprawdzAktualizacje(false);
  finish();
  EXPECT_EQ(script.boxes, std::vector<TShownBox> {question("2.0.0")});
  EXPECT_TRUE(FGlowna->AktualizacjaTimer->Enabled());

  // Once the window has been shown and closed, a later check offers again.
  int shown = 0;
  script.onShowModal = [&](QDialog*) {
    ++shown;
    finish();
    return mrOk;
  };
  FGlowna->AktualizacjaTimerTimer();
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(FGlowna->AktualizacjaTimer->Enabled());
  script.answers = {IDNO};
  check(false);
  EXPECT_EQ(script.boxes.size(), 2u);
}

TEST_F(UpdateTest, AWholeDownloadIsOfferedForInstallationAndRuns) {
  startServed();
  // The installer writes where it ran from, so the test sees that it started.
  const std::string marker = utf8(dirs.root()) + "/installer-ran";
  std::string body = "#!/bin/sh\necho \"$0\" > '" + marker + ".tmp' && /bin/mv '" + marker + ".tmp' '" + marker +
                     "'\nexit 0\n# ";
  body += randomBytes(100037 - body.size());
  server.serve(kInstallerPath, {.body = body, .piece = 4096});
  writeText(installer(), "an earlier download");

  runWindow([&] {
    EXPECT_EQ(q(FAktualizacja->editDownloadLink->text()), server.url() + kInstallerPath);
    EXPECT_EQ(q(FAktualizacja->editStatus->text()), "Pobieranie nowej wersji programu");
    EXPECT_EQ(FAktualizacja->Postep->maximum(), 100037);
    EXPECT_EQ(FAktualizacja->Postep->value(), 100037);
    EXPECT_EQ(q(FAktualizacja->btnClose->text()), "Zainstaluj");
    EXPECT_TRUE(FAktualizacja->btnClose->isEnabled());
    EXPECT_TRUE(FAktualizacja->bDownloadDone);
    EXPECT_EQ(readText(installer()), body);
    EXPECT_TRUE((fs::status(installer()).permissions() & fs::perms::owner_exec) != fs::perms::none);
    EXPECT_FALSE(fs::exists(installer() + ".part"));
    FAktualizacja->btnClose->click();
  });
  EXPECT_EQ(awaitFile(marker), installer() + "\n");
  // The program ends without any question.
  EXPECT_TRUE(FGlowna->bCloseNoAsk);
  EXPECT_TRUE(FGlowna->bFunClosed());
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(server.requests().back().userAgent, "UPDATE CHECK");
}

TEST_F(UpdateTest, AFailedDownloadLeavesNoFileAndOnlyClosesTheWindow) {
  startServed();
  const std::string body = randomBytes(5000);
  struct Case {
    const char* what;
    TServedAnswer answer;
    const char* status;
    bool folder = true;
  } cases[] = {
      {"cut in the middle", {.body = body, .cutAfter = 2500, .piece = 500}, "Błąd połączenia..."},
      {"not found", {.status = 404, .body = "Not found"}, "Błąd połączenia..."},
      {"server error", {.status = 500, .body = body}, "Błąd połączenia..."},
      {"no length", {.body = body, .contentLength = false}, "Błąd podczas próby czytania pliku..."},
      {"a length of 0", {.body = ""}, "Błąd podczas próby czytania pliku..."},
      {"closed at once", {.closeAtOnce = true}, "Błąd połączenia..."},
      {"no folder to write to", {.body = body}, "Błąd zapisu do pliku", false},
  };
  for (const Case& c : cases) {
    server.serve(kInstallerPath, c.answer);
    if (c.folder) {
      fs::create_directories(fs::path(installer()).parent_path());
      writeText(installer(), "an earlier download");
    } else {
      fs::remove_all(fs::path(installer()).parent_path());
    }
    runWindow([&] {
      EXPECT_EQ(q(FAktualizacja->editStatus->text()), c.status) << c.what;
      EXPECT_EQ(q(FAktualizacja->btnClose->text()), "Zamknij") << c.what;
      EXPECT_TRUE(FAktualizacja->btnClose->isEnabled()) << c.what;
      EXPECT_FALSE(FAktualizacja->bDownloadDone) << c.what;
      EXPECT_FALSE(fs::exists(installer())) << c.what;
      EXPECT_FALSE(fs::exists(installer() + ".part")) << c.what;
      FAktualizacja->btnClose->click();
    });
    EXPECT_FALSE(FGlowna->bCloseNoAsk) << c.what;
    EXPECT_FALSE(FGlowna->bFunClosed()) << c.what;
  }
  EXPECT_TRUE(script.boxes.empty());
}

// A whole download that is no program of this system (a text of shell
// commands without a "#!" line, say) is never handed to a shell: it is not
// started, the user is told, and the program goes on.
TEST_F(UpdateTest, ADownloadThatIsNoProgramIsNotStartedThroughAShell) {
  startServed();
  TStartedPrograms started;
  const std::string marker = utf8(dirs.root()) + "/shell-ran";
  const std::string body = "echo ran > '" + marker + "'\n";
  server.serve(kInstallerPath, {.body = body});
  fs::create_directories(fs::path(installer()).parent_path());
  runWindow([&] {
    EXPECT_TRUE(FAktualizacja->bDownloadDone);
    EXPECT_EQ(readText(installer()), body);
    FAktualizacja->btnClose->click();
  });
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].text, cp1250("Nie można uruchomić pobranego pliku instalacyjnego:\n") + dirs.data() +
                                      "/aktualizacja/nowy.exe" + cp1250("\nKod błędu: ") + std::to_string(ENOEXEC));
  EXPECT_EQ(script.boxes[0].flags, MB_OK | MB_ICONWARNING);
  EXPECT_FALSE(FGlowna->bCloseNoAsk);
  EXPECT_FALSE(FGlowna->bFunClosed());
  // A shell that ran the download would have written the marker before it ended.
  ASSERT_TRUE(started.bFunAwaitAllEnded());
  EXPECT_FALSE(fs::exists(marker));
}

TEST_F(UpdateTest, TheWindowStaysOpenWhileItDownloads) {
  startServed();
  server.serve(kInstallerPath, {.hang = true});
  FAktualizacja->show();
  EXPECT_FALSE(FAktualizacja->btnClose->isEnabled());
  static_cast<QDialog*>(FAktualizacja)->reject();  // Escape
  EXPECT_TRUE(FAktualizacja->isVisible());
  // The program's end stops the download at once.
  vFunZwolnijOkna();
}

// Shown, the window offers its address to copy from the address's start,
// not selected (a key pressed by chance replaces nothing, and the reader
// sees the server first).
TEST_F(UpdateTest, TheAddressShowsFromItsStartUnselected) {
  startServed();
  server.serve(kInstallerPath, {.body = "#!/bin/sh\n"});
  bool shown = false;
  script.onShowModal = [&](QDialog* d) {
    d->show();
    QApplication::setActiveWindow(d);
    QCoreApplication::processEvents();
    finish();
    QLineEdit* link = FAktualizacja->editDownloadLink;
    EXPECT_EQ(q(link->text()), server.url() + kInstallerPath);
    EXPECT_EQ(link->selectedText(), QString());
    EXPECT_EQ(link->cursorPosition(), 0);
    EXPECT_LT(link->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), 8);  // the text is not scrolled on
    shown = true;
    d->hide();
    return mrCancel;
  };
  FGlowna->AktualizacjaTimerTimer();
  script.onShowModal = nullptr;
  EXPECT_TRUE(shown);
}

// The update window has no minimise or maximise button; a window manager
// that minimises it all the same (openbox offers the button on every
// dialog) gets it back at once, downloading or not, so the main window is
// never left blocked behind a window nobody sees. So are all the dialogs.
TEST_F(UpdateTest, NoDialogStaysMinimisedAndTheUpdateWindowHasNoSuchButtons) {
  startServed();
  server.serve(kInstallerPath, {.hang = true});
  EXPECT_FALSE(FAktualizacja->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  int dialogs = 0;
  for (QWidget* window : vFunOkna()) {
    if (window == FGlowna) continue;
    window->show();
    QCoreApplication::processEvents();
    window->setWindowState(window->windowState() | Qt::WindowMinimized);  // as the window manager's button
    EXPECT_TRUE(QTest::qWaitFor([window] { return !window->isMinimized(); }, 2000))
        << window->objectName().toStdString();
    EXPECT_TRUE(window->isVisible()) << window->objectName().toStdString();
    if (window != FAktualizacja) window->hide();
    ++dialogs;
  }
  EXPECT_EQ(dialogs, static_cast<int>(vFunOkna().size()) - 1);
  vFunZwolnijOkna();  // ends the download that hangs
}

TEST_F(UpdateTest, AServerThatNeverAnswersBlocksNothing) {
  startServed();
  server.serve(kVersionPath, {.hang = true});
  vFunSprawdzAktualizacje(false);
  vFunSprawdzAktualizacje(true);
  QCoreApplication::processEvents();
  EXPECT_TRUE(script.boxes.empty());
  // The windows go while both checks wait: they are stopped and say nothing.
  vFunZwolnijOkna();
  QCoreApplication::processEvents();
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(UpdateTest, TheMenuCommandChecksAsked) {
  startServed();
  server.serve(kVersionPath, {.body = strVersionFile(1, 6, 8)});
  FGlowna->findComponentAs<QAction>("Sprawdczyjestnowawersja1")->trigger();
  finish();
  EXPECT_EQ(script.boxes, std::vector<TShownBox> {nothingNew("1.6.8")});
}
