#include "app/Startup.h"

#include "app/AktualizacjaUnit.h"
#include "app/DaneSzkoly.h"
#include "app/DaneUczniaUnit.h"
#include "app/DesktopEntry.h"
#include "app/GlownaUnit.h"
#include "app/ImportUnit.h"
#include "app/LogiUnit.h"
#include "app/OProgramieUnit.h"
#include "app/SQLImportUnit.h"
#include "app/WaitUnit.h"
#include "forms/FormMakers.h"
#include "platform/Cp1250.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"
#include "platform/SingleInstance.h"
#include "render/Drukowanie.h"
#include "render/Kalibracja.h"
#include "store/Folders.h"
#include "toolkit/Dialogs.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

struct TMadeWindow {
  QWidget* window;
  std::function<void()> clear;  // resets the window's global instance
};
std::vector<TMadeWindow> gMade;
std::vector<QWidget*> gWindows;

template <class T>
void make(T*& instance) {
  instance = new T(FGlowna);
  gMade.push_back({instance, [&instance] { instance = nullptr; }});
  gWindows.push_back(instance);
}

// A test runs the whole program in a process of its own and cannot press a
// button there: with TARVEK_DIALOG_LOG set, every message box is written to
// that file (one line: flags, caption, text with line breaks as "\n", UTF-8)
// instead of being shown, and answered from TARVEK_DIALOG_ANSWERS
// ("6,7,...") or else by its default answer.
std::unique_ptr<TScriptedDialogs> dialogsFromEnvironment() {
  const char* log = std::getenv("TARVEK_DIALOG_LOG");
  if (!log || !*log) return nullptr;
  auto script = std::make_unique<TScriptedDialogs>();
  if (const char* answers = std::getenv("TARVEK_DIALOG_ANSWERS")) {
    std::stringstream list(answers);
    for (std::string answer; std::getline(list, answer, ',');)
      if (!answer.empty()) script->answers.push_back(std::atoi(answer.c_str()));
  }
  const std::string path = log;
  script->onBox = [path](const TShownBox& box) {
    std::string text = cp1250ToUtf8(box.text);
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.replace(at, 1, "\\n");
    std::ofstream out(path, std::ios::app);
    out << box.flags << '|' << cp1250ToUtf8(box.caption) << '|' << text << std::endl;
  };
  return script;
}

}  // namespace

bool bFunProgramJuzUruchomiony() {
  // The lock is the data folder's: names that fold alike share one data
  // folder, so they share one lock. A data folder that cannot be had locks
  // nothing; the start-up says why.
  TSystemPath data;
  std::string message;
  if (!bFunFindMainDir(data, message) || platform::takeSingleInstanceLock("KESTAL-TARVEK", data)) return false;
  // Told before the program's own application object exists.
  static int argc = 1;
  static char name[] = "tarvek";
  static char* argv[] = {name, nullptr};
  std::unique_ptr<QApplication> own;
  if (!QCoreApplication::instance()) own = std::make_unique<QApplication>(argc, argv);
  MessageBox(cp1250("Ten program jest już uruchomiony."), "Kopia", MB_OK | MB_ICONSTOP);
  return true;
}

// Every window in the registry's order (kWindowOrder): the document forms by
// their makers, the program's own windows by the name of their global.
void vFunUtworzOkna() {
  // The windows are the menu entry's, and carry its icon.
  vFunUstawWpisPulpitu();
  const std::map<std::string, std::function<void()>> shell = {
      {"FGlowna",
       [] {
         FGlowna = new TFGlowna;
         gMade.push_back({FGlowna, [] { FGlowna = nullptr; }});
         // A folder whose file system keeps no locks gets a line in the log:
         // documents there are read and saved unheld.
         platform::native::setNoLocksNotice([](const std::string& folder) {
           if (FGlowna)
             vFunSqlLogNote(&FGlowna->DataStore, "folderTraits()",
                            cp1250("System plików katalogu ") + TSystemPath(folder).text() +
                                cp1250(" nie obsługuje blokad plików: dokumenty są tam wczytywane i zapisywane bez "
                                       "blokady przed innymi użytkownikami."));
         });
         gWindows.push_back(FGlowna);
       }},
      {"FDaneUcznia", [] { make(FDaneUcznia); }},
      {"FKalibracja", [] { make(FKalibracja); }},
      {"FDaneSzkoly", [] { make(FDaneSzkoly); }},
      {"FDrukuj",
       [] {
         make(FDrukuj);
         FDrukuj->DataStore = &FGlowna->DataStore;
       }},
      {"FWait", [] { make(FWait); }},
      {"FOProgramie", [] { make(FOProgramie); }},
      {"FLogi", [] { make(FLogi); }},
      {"FAktualizacja", [] { make(FAktualizacja); }},
      {"FImport", [] { make(FImport); }},
      {"FSQLImport", [] { make(FSQLImport); }},
  };
  // The registry and this list name the same windows of the program's own.
  std::size_t own = 0;
  for (int position = 0; position < kWindowCount; ++position)
    if (kWindowOrder[position].form < 0) ++own;
  if (own != shell.size()) throw std::logic_error("the registry of windows names other windows than start-up makes");
  for (int position = 0; position < kWindowCount; ++position) {
    const TWindowSlot& slot = kWindowOrder[position];
    if (slot.form >= 0) {
      TDocumentForm* form = kFormMakers[slot.form].make(FGlowna);
      gMade.push_back({form, kFormMakers[slot.form].forget});
      gWindows.push_back(form);
    } else if (const auto maker = shell.find(slot.global); maker != shell.end()) {
      maker->second();
    } else {
      throw std::logic_error(std::string("start-up makes no window ") + slot.global);
    }
  }
}

void vFunZwolnijOkna() {
  while (!gMade.empty()) {
    TMadeWindow last = std::move(gMade.back());
    gMade.pop_back();
    delete last.window;
    last.clear();
  }
  gWindows.clear();
}

const std::vector<QWidget*>& vFunOkna() { return gWindows; }

TSystemPath strFunArgumentyLiniiPolecen(int argc, char** argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return TSystemPath(text);
}

void vFunOtworzPlikZLiniiPolecen(const TSystemPath& arguments) {
  if (arguments.bytes().size() <= 5) return;
  // Whatever is there under the name goes to the open, which refuses a
  // folder, a pipe or a device and says why.
  const int missing = platform::native::readableFileError(arguments.bytes());
  const bool isFile = missing != ENOENT && missing != ENOTDIR;
  // Unsaved data taken back at start-up is offered for saving before the
  // file takes its place; a save that does not happen keeps it open.
  if (isFile && FGlowna->bDataModified &&
      MessageBox(cp1250("Czy chcesz zapisać zmiany ?"), "", MB_YESNO) == IDYES && !FGlowna->Zapisz1Click())
    return;
  // A name relative to the folder the program was started in is kept whole,
  // so the status bar and the file dialogs know the document's folder.
  std::error_code ec;
  const std::filesystem::path whole = std::filesystem::absolute(arguments.bytes(), ec).lexically_normal();
  const TSystemPath document = ec ? arguments : TSystemPath(whole.string());
  const bool opened = isFile && FGlowna->bFunWczytajPlikSwiadectw(document);
  FGlowna->StatusBar->setSimplePath(opened ? document : TSystemPath());
  FGlowna->StatusBar->repaint();
}

namespace {

const char kHelpEnglish[] =
    "Usage: tarvek [CLASS FILE]\n"
    "       tarvek --help | --version\n"
    "\n"
    "Kestal - Tarvek fills in, keeps and prints the certificates, record-sheet\n"
    "pages and parent-meeting sheet of a Polish secondary school onto\n"
    "pre-printed blanks. Without a class file it starts with a new, empty one.\n"
    "\n"
    "Everything after the command name is one path (its words joined by single\n"
    "blanks), so \"tarvek klasa 2b.sqtvk\" opens the file \"klasa 2b.sqtvk\".\n"
    "A path of 5 characters or fewer is ignored; one that names no file starts\n"
    "the program with a new, empty class file.\n"
    "\n"
    "  --help     show this text and exit\n"
    "  --version  show the program's version and exit\n"
    "\n"
    "Either is an option only on its own: a file named \"--help\" opens as\n"
    "./--help. More: man tarvek, and the program's menu \"Pomoc\".\n";

const char kHelpPolish[] =
    "Użycie: tarvek [PLIK KLASY]\n"
    "        tarvek --help | --version\n"
    "\n"
    "Kestal - Tarvek wypełnia, przechowuje i drukuje na drukach szkolnych\n"
    "świadectwa, strony arkusza ocen i arkusz na wywiadówkę szkoły\n"
    "ponadpodstawowej. Bez pliku klasy zaczyna od nowego, pustego.\n"
    "\n"
    "Wszystko po nazwie polecenia to jedna ścieżka (jej słowa łączy pojedyncza\n"
    "spacja), więc \"tarvek klasa 2b.sqtvk\" otwiera plik \"klasa 2b.sqtvk\".\n"
    "Ścieżka o długości do 5 znaków jest pomijana; ścieżka, pod którą nie ma\n"
    "pliku, uruchamia program z nowym, pustym plikiem klasy.\n"
    "\n"
    "  --help     wypisuje ten tekst i kończy pracę\n"
    "  --version  wypisuje wersję programu i kończy pracę\n"
    "\n"
    "Każda z nich jest opcją tylko sama: plik o nazwie \"--help\" otwiera się\n"
    "jako ./--help. Więcej: man tarvek oraz menu \"Pomoc\" programu.\n";

// The language of messages as the locale's variables name it, the first
// one set counting (LC_ALL, then LC_MESSAGES, then LANG).
bool polishMessages() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return std::string_view(value).starts_with("pl");
  }
  return false;
}

}  // namespace

bool bFunOpcjaLiniiPolecen(int argc, char** argv, int& exitCode) {
  if (argc != 2) return false;
  const std::string_view option = argv[1];
  std::string text;
  if (option == "--help")
    text = polishMessages() ? kHelpPolish : kHelpEnglish;
  else if (option == "--version")
    text = "tarvek (Kestal - Tarvek) " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionBuild) + "\n";
  else
    return false;
  // A text that did not reach its reader (a full disk) is a failure, not
  // an answer.
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
  exitCode = written ? 0 : 1;
  if (!written) std::fprintf(stderr, "tarvek: %s: %s\n", argv[1], std::strerror(errno));
  return true;
}

void vFunKoniecPracy() {
  // Only a run that does not end here leaves its working copy behind, to
  // be offered back at the next start.
  if (FGlowna) bFunDeleteTmpFile(&FGlowna->DataStore);
}

int iFunWinMain(int argc, char** argv) {
  // A file-size limit makes a write fail with its error, which the save
  // reports, instead of ending the program in the middle of it.
  platform::ignoreFileSizeSignal();
  if (int exitCode = 0; bFunOpcjaLiniiPolecen(argc, argv, exitCode)) return exitCode;
  const auto scriptedDialogs = dialogsFromEnvironment();
  if (bFunProgramJuzUruchomiony()) return 0;

  // The whole argument text, taken before the toolkit removes its own options.
  const TSystemPath arguments = strFunArgumentyLiniiPolecen(argc, argv);
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kestal - Tarvek"));
  // The toolkit's own dialogs (files, printing) speak Polish too.
  QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
  QTranslator polish;
  if (polish.load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&polish);

  vFunUtworzOkna();
  FGlowna->setMainForm(true);
  FGlowna->vFunInicjalizacja();
  // A failed start-up has closed the main window: the program ends here.
  if (!FGlowna->bFunClosed()) {
    vFunOtworzPlikZLiniiPolecen(arguments);
    // Where no window manager maximises it, the window still fills the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) FGlowna->setGeometry(screen->availableGeometry());
    FGlowna->showMaximized();
    QApplication::exec();
    vFunKoniecPracy();
  }
  vFunZwolnijOkna();
  return 0;
}
