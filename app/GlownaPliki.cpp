// The main window's document-file commands. A document file is never edited
// in place: opening copies it into a new working copy (and checks it
// there) before the working copy is replaced, every change goes
// to the working copy, and saving copies the working copy's committed state
// into the file through SQLite beside it and renames it into place. Paths
// of document files are the system's own (UTF-8); they become Windows-1250
// only inside a message.
#include <algorithm>
#include <cerrno>

#include <QAction>
#include <QToolButton>
#include <QTreeWidget>

#include "app/DaneUczniaUnit.h"
#include "app/GlownaUnit.h"
#include "forms/DocumentForms.h"
#include "platform/Cp1250.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"
#include "store/DocumentFiles.h"
#include "store/OpenedFile.h"
#include "store/Temporaries.h"

namespace {

const char* const kFilter = TFGlowna::kDocumentFilter;

std::string code() { return std::to_string(platform::lastError()); }

// A path inside a message.
std::string shown(const TSystemPath& path) { return path.text(); }

// "Kod błędu: " and the number, after a sentence that says what to do where
// the cause has a plainer name.
std::string codeLines(const TFileFailure& why) { return "\n" + strFunFailureLines(why); }

// A file command's failure: the message goes into the error text and the
// log under the command's name, and the user sees it.
void report(TDataStore& DataStore, const std::string& fun, const std::string& message, const std::string& caption,
            int flags) {
  vFunReportError(&DataStore, message, fun);
  MessageBox(DataStore.ErrorStream.str(), caption, flags);
}

TSystemPath workingCopy(TDataStore& DataStore) { return strFunGetTmpFilePath(&DataStore); }

// Saves the working copy into the file (with `expected`: only while the
// file is still that one) and records the file as saved, for the next
// "Zapisz" and for the working copy offered back after a crash.
bool saveInto(TDataStore& DataStore, const TSystemPath& file, TFileFailure& why,
              const TOpenedFile* expected = nullptr) {
  TOpenedFile saved;
  if (!bFunSaveDocument(workingCopy(DataStore), file, why, expected, &saved)) return false;
  bFunRecordOpenedFile(workingCopy(DataStore), saved);
  return true;
}

// Another program holds the document: said at once, with what to do.
std::string inUse(const TSystemPath& path) {
  return cp1250("Plik jest używany przez inny program:\n") + shown(path) +
         cp1250("\nZamknij program, który go używa, i spróbuj ponownie.");
}

}  // namespace

void TFGlowna::vFunConnectFileCommands() {
  vFunOnClick(actionNamed("Nowyplik1"), [this] { NowyPlikToolButtonClick(); });
  vFunOnClick(NowyPlikToolButton, [this] { NowyPlikToolButtonClick(); });
  vFunOnClick(actionNamed("Otwrzplik1"), [this] { OtworzPlikToolButtonClick(); });
  vFunOnClick(OtworzPlikToolButton, [this] { OtworzPlikToolButtonClick(); });
  vFunOnClick(actionNamed("Zapisz1"), [this] { Zapisz1Click(); });
  vFunOnClick(SaveButton, [this] { Zapisz1Click(); });
  vFunOnClick(actionNamed("Zapiszjako1"), [this] { Zapiszjako1Click(); });
}

TSystemPath TFGlowna::strFunOtwartyPlik() const { return StatusBar->SimplePath(); }

bool TFGlowna::bFunWczytajPlikSwiadectw(const TSystemPath& path) {
  const std::string fun = "bFunWczytajPlikSwiadectw()";
  const TSystemPath tmp = workingCopy(DataStore);
  // The file is copied and checked beside the working copy; only a good
  // copy takes its place, so a failure leaves the open document as it was.
  vFunDokonczPrzerwanyZapis();
  TFileFailure why;
  TOpenedFile read;
  // The students are listed and their nodes made while SQLite reads the
  // whole copy; they are shown only when the file is a good document.
  std::vector<TStudentListRecord> students;
  QList<QTreeWidgetItem*> nodes;
  bool listed = false;
  const auto listStudents = [&](const TSystemPath& copy) {
    listed = bFunGetStudentsList(&DataStore, copy, students);
    if (listed) nodes = lstFunWezlyUczniow(students);
  };
  if (!bFunLoadDocument(path, tmp, why, &read, listStudents)) {
    qDeleteAll(nodes);
    const std::string codeLine = why.strFunCode().empty() ? "" : codeLines(why);
    if (why.inUse)
      report(DataStore, fun, inUse(path) + cp1250("\nDane świadectw nie zostały wczytane."), cp1250("Błąd"),
             MB_OK | MB_ICONSTOP);
    else if (why.interruptedSave)
      report(DataStore, fun,
             cp1250("Nie można teraz otworzyć pliku:\n") + shown(path) + "\n" + strFunFailureLines(why) +
                 cp1250("\nDane świadectw nie zostały wczytane."),
             "Uwaga", MB_OK | MB_ICONWARNING);
    else if (why.notDocument || why.systemError == EISDIR)
      // The sentence already says what the file is not; what it is instead
      // (a folder, a pipe) is said too.
      report(DataStore, fun,
             cp1250("Wybrany plik nie jest plikiem świadectw albo jest uszkodzony:\n") + shown(path) +
                 (why.notRegular || why.systemError == EISDIR ? codeLines(why)
                  : why.strFunCode().empty()                   ? ""
                                                               : cp1250("\nKod błędu: ") + why.strFunCode()) +
                 cp1250("\nDane świadectw nie zostały wczytane."),
             cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    else
      report(DataStore, fun,
             cp1250("Błąd kopiowania pliku\nz :") + shown(path) + "\ndo :" + shown(tmp) + codeLine +
                 cp1250("\nDane świadectw nie zostały wczytane."),
             cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    return false;
  }
  // The working copy belongs to this file, as it was read.
  bFunRecordOpenedFile(tmp, read);
  if (!platform::native::resetAttributes(path.bytes())) {
    report(DataStore, fun,
           cp1250("Uwaga\nJeśli plik posiada atrybut \"tylko do odczytu\" zapis danych nie będzie możliwy.") +
               "\nKod: " + code(),
           "Uwaga", MB_OK | MB_ICONWARNING);
  }
  if (!bFunClearFileAttributes(&DataStore, tmp)) {
    report(DataStore, fun,
           cp1250("Błąd podczas próby sprawdzenia atrybutów pliku.\n") + shown(tmp) +
               cp1250("\nJeśli plik posiada atrybut \"tylko do odczytu\" zapis danych nie będzie możliwy.") +
               cp1250("\nKod błędu: ") + code(),
           cp1250("Błąd"), MB_OK | MB_ICONSTOP);
  }
  if (listed) {
    StudentsList = std::move(students);
    vFunPokazWezlyUczniow(nodes);
  } else {
    qDeleteAll(nodes);
    bFunWczytajListeUczniow();
  }
  return true;
}

bool TFGlowna::bFunZapiszIstniejacyPlikSwiadectw() {
  const std::string fun = "bFunZapiszIstniejacyPlikSwiadectw()";
  const TSystemPath file = strFunOtwartyPlik();
  const TSystemPath tmp = workingCopy(DataStore);
  if (!platform::native::resetAttributes(file.bytes())) {
    report(DataStore, fun,
           cp1250("Błąd podczas próby sprawdzenia atrybutów pliku\n") + shown(file) +
               cp1250("\nJeśli plik ma atrybut \"tylko do odczytu\"\nzapis danych nie będzie możliwy.\nKod "
                      "błędu: ") +
               code(),
           "Atrybuty", MB_OK | MB_ICONWARNING);
  }
  vFunDokonczPrzerwanyZapis();
  TFileFailure why;
  // Written only while the file is still the one opened or last saved here.
  TOpenedFile opened;
  if (!bFunOpenedFileOf(tmp, opened) || opened.path != file.bytes()) opened = TOpenedFile();
  if (saveInto(DataStore, file, why, &opened)) return true;
  if (why.changedSinceOpened) {
    // Someone else saved it (or another file took its name) since it was
    // opened or saved here: nothing was written, and nothing is overwritten
    // unless the user says so.
    const int answer = MessageBox(
        cp1250("Plik:\n") + shown(file) +
            cp1250("\nzmienił się od chwili, gdy został tu otwarty lub ostatnio zapisany (na przykład zapisał go inny "
                   "użytkownik). Jeśli go zastąpisz, tamte zmiany zostaną utracone.\n\nCzy chcesz zastąpić ten plik "
                   "swoimi danymi ?\n\nTak - zastąp plik.\nNie - zapisz dane w innym pliku (\"Zapisz jako\").\n"
                   "Anuluj - nie zapisuj teraz."),
        "Zapisz", MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON2);
    if (answer == IDNO) return bFunZapiszNowyPlikSwiadectw();
    if (answer != IDYES) return false;
    why = TFileFailure();
    if (saveInto(DataStore, file, why)) return true;
  }
  if (why.inUse) {
    report(DataStore, fun, inUse(file) + cp1250("\nMożesz też zapisać dane w innym pliku (\"Zapisz jako\").") +
                               cp1250("\n\nDane nie zostały zapisane."),
           cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    return false;
  }
  report(DataStore, fun,
         cp1250("Błąd kopiowania pliku z\n") + shown(tmp) + "\ndo:\n" + shown(file) + codeLines(why) +
             cp1250("\n\nDane nie zostały zapisane."),
         cp1250("Błąd"), MB_OK | MB_ICONSTOP);
  return false;
}

bool TFGlowna::bFunZapiszNowyPlikSwiadectw() {
  const std::string fun = "bFunZapiszNowyPlikSwiadectw()";
  const std::string header = "Funkcja: vFunZapiszNowyPlikSwiadectw()\n\n";
  SaveDialog->Title = "Zapisz";
  SaveDialog->Filter = kFilter;
  SaveDialog->DefaultExt = "sqtvk";
  // The open document's own name in its folder; a new one is "nowy" in the
  // folder of the documents chosen last.
  if (const TSystemPath open = strFunOtwartyPlik(); !open.empty())
    SaveDialog->Propose(open);
  else
    SaveDialog->FileName = "nowy";
  if (!SaveDialog->Execute()) return false;
  const TSystemPath file = SaveDialog->Path;
  const bool exists = platform::native::exists(file.bytes());
  if (exists && MessageBox(cp1250("Wybrany plik już istnieje.\nCzy chcesz zastąpić istniejący plik ?"), "Zapisz",
                           MB_YESNO | MB_ICONQUESTION) != IDYES)
    return false;
  if (exists && !platform::native::resetAttributes(file.bytes())) {
    report(DataStore, fun,
           header + cp1250("Błąd podczas próby sprawdzenia atrybutów pliku\n") + shown(file) +
               cp1250("\nJeśli plik ma atrybut \"tylko do odczytu\"\nzapis danych nie będzie możliwy.\nKod "
                      "błędu: ") +
               code(),
           "Atrybuty", MB_OK | MB_ICONWARNING);
  }
  const TSystemPath tmp = workingCopy(DataStore);
  // A new document that has no student yet is saved as an empty database
  // (the save makes the working copy as one).
  vFunDokonczPrzerwanyZapis();
  TFileFailure why;
  if (saveInto(DataStore, file, why)) {
    StatusBar->setSimplePath(file);
    return true;
  }
  if (why.inUse) {
    report(DataStore, fun, header + inUse(file) + cp1250("\n\nDane nie zostały zapisane."), "Atrybuty",
           MB_OK | MB_ICONWARNING);
    return false;
  }
  report(DataStore, fun,
         header + cp1250("Błąd podczas próby kopiowania pliku\nz\n") + shown(tmp) + "\ndo\n" + shown(file) +
             codeLines(why) + cp1250("\n\nDane nie zostały zapisane."),
         "Atrybuty", MB_OK | MB_ICONWARNING);
  return false;
}

void TFGlowna::vFunNowyPlikSwiadectw() {
  vFunWyczyscDrzewo();
  StatusBar->setSimpleText("");
  StatusBar->repaint();
  bFunDeleteTmpFile(&DataStore);
  for (TDocumentForm* form : vFunDocumentForms()) form->vFunClearFormData();
  FDaneUcznia->vFunClearFormData();
  // The preview shows the empty first certificate on its blank.
  vFunRysujSwiadectwo(frmFunFormOfKind(dkKlasaI), false, dkKlasaI, 2);
}

void TFGlowna::vFunDokonczPrzerwanyZapis() {
  const TSystemPath tmp = workingCopy(DataStore);
  if (tmp.empty()) return;
  TSystemPath document, kept;
  TFileFailure why;
  const int restored = iFunRestoreInterruptedSave(tmp, document, kept, why);
  if (restored == 0) return;
  const std::string unfinished =
      cp1250("Zapis pliku:\n") + shown(document) +
      cp1250("\nnie został dokończony (program przerwał pracę w trakcie zapisu albo zabrakło miejsca na dysku).\n");
  const std::string keptIn = cp1250("\nStan pliku sprzed zapisu jest zachowany w pliku:\n") +
                             shown(kept);
  if (restored == 1)
    report(DataStore, "vFunDokonczPrzerwanyZapis()",
           unfinished + cp1250("Plik przywrócono do stanu sprzed tego zapisu. Zmiany, które miały być w nim "
                               "zapisane, trzeba zapisać ponownie."),
           "Uwaga", MB_OK | MB_ICONWARNING);
  else if (restored > 1) {
    // The document is left as it is; its old state is where the user can open it.
    const char* const reason[] = {
        "Od tego czasu plik został zmieniony (na przykład zapisał go inny użytkownik) albo pod jego nazwą jest "
        "teraz inny plik, więc program go nie przywrócił, aby nie utracić tych zmian.",
        "Ten plik już nie istnieje, więc program nie utworzył go ponownie.",
        "Nie wiadomo, czy plik zmienił się od tego czasu, więc program go nie przywrócił. "
        "Sprawdź jego zawartość.",
        "Pliku nie udało się przywrócić do stanu sprzed tego zapisu, bo dysk nie oddaje tego, co program na nim "
        "zapisał.",
    };
    report(DataStore, "vFunDokonczPrzerwanyZapis()",
           unfinished + cp1250(reason[std::min(restored, 5) - 2]) +
               (why.strFunCode().empty() ? "" : codeLines(why)) + keptIn +
               cp1250("\nMożna go otworzyć poleceniem \"Otwórz plik\". Zmiany, które miały być zapisane, "
                      "trzeba zapisać ponownie."),
           "Uwaga", MB_OK | MB_ICONWARNING);
  } else
    report(DataStore, "vFunDokonczPrzerwanyZapis()",
           cp1250("Zapis pliku:\n") + shown(document) +
               cp1250("\nnie został dokończony, a pliku nie udało się przywrócić do stanu sprzed tego zapisu.") +
               codeLines(why) + keptIn +
               cp1250("\nSprawdź, czy plik nie jest używany i czy jest miejsce na dysku; program spróbuje ponownie "
                      "przy następnym uruchomieniu albo otwarciu pliku."),
           cp1250("Błąd"), MB_OK | MB_ICONSTOP);
}

void TFGlowna::vFunPrzywrocDaneSesji() {
  const TSystemPath tmp = workingCopy(DataStore);
  if (tmp.empty()) return;
  // What an import killed half-way wrote is never a document of anyone's,
  // nor is what a killed save, open or calibration import left, wherever
  // it lies, nor half a record of the program's own.
  TFileFailure ignored;
  bFunDeleteDatabaseFiles(TSystemPath(tmp.bytes() + ".import"), ignored);
  const TSystemPath dataFolder = tmp.folder();
  iFunRemoveLeftTemporaries(dataFolder);
  iFunRemoveUnfinishedRecords(dataFolder);
  if (!platform::native::exists(tmp.bytes())) return;
  // Only a readable working copy with students in it is worth offering.
  int tables = 0;
  TFileFailure why;
  if (bFunCheckDocument(tmp, tables, why) && tables > 0 &&
      MessageBox(cp1250("Znaleziono niezapisane dane z poprzedniej sesji programu. Czy chcesz je przywrócić ?"),
                 cp1250("Przywracanie danych"), MB_YESNO | MB_ICONQUESTION) == IDYES) {
    // The data come back with the file they belong to; "Zapisz" writes
    // there only while it is still the file they were read from or saved to.
    TOpenedFile belongs;
    StatusBar->setSimplePath(bFunOpenedFileOf(tmp, belongs) ? TSystemPath(belongs.path) : TSystemPath());
    bDataModified = true;
    bFunWczytajListeUczniow();
    return;
  }
  bFunDeleteTmpFile(&DataStore);
}

void TFGlowna::vFunSprawdzMiejsceNaDysku() {
  const TSystemPath folder = strFunGetMainDirPath(&DataStore);
  if (folder.empty()) return;
  const long long free = platform::native::freeBytes(folder.bytes());
  if (free < 0 || free >= kMinFreeBytes) return;
  // The start writes nothing, so the program comes up; what it cannot do
  // until space is freed is said here, with what it still can.
  report(DataStore, "vFunSprawdzMiejsceNaDysku()",
         cp1250("Na dysku z katalogiem danych programu zabrakło miejsca:\n") + shown(folder) +
             cp1250("\nProgram nie zapisze zmian (danych uczniów, ustawień, kalibracji), dopóki nie zwolnisz miejsca "
                    "na tym dysku.\nOtwarte dane, także niezapisane dane z poprzedniej sesji, możesz zapisać w "
                    "pliku na innym dysku (\"Plik\" / \"Zapisz jako\")."),
         "Uwaga", MB_OK | MB_ICONWARNING);
}

void TFGlowna::NowyPlikToolButtonClick() {
  if (bDataModified &&
      MessageBox(cp1250("Czy chcesz zapisać zmiany ?"), "Edycja", MB_YESNO | MB_ICONQUESTION) == IDYES) {
    const bool saved = platform::native::exists(strFunOtwartyPlik().bytes()) ? bFunZapiszIstniejacyPlikSwiadectw()
                                                                     : bFunZapiszNowyPlikSwiadectw();
    if (!saved) return;
  }
  vFunNowyPlikSwiadectw();
}

void TFGlowna::OtworzPlikToolButtonClick() {
  // Changes that the user wants kept are saved first; when that save fails
  // or is cancelled the open stops and the working copy stays.
  if (bDataModified && MessageBox(cp1250("Czy chcesz zapisać zmiany ?"), "", MB_YESNO) == IDYES && !Zapisz1Click())
    return;
  OpenDialog->Filter = kFilter;
  OpenDialog->Title = "Wczytaj plik";
  if (!OpenDialog->Execute()) return;
  const TSystemPath path = OpenDialog->Path;
  // A file that cannot be opened changes nothing: the document open before
  // stays, with its tree and its name in the status bar.
  if (!bFunWczytajPlikSwiadectw(path)) return;
  StatusBar->setSimplePath(path);
  StatusBar->repaint();
}

bool TFGlowna::Zapisz1Click() {
  const bool saved = platform::native::exists(strFunOtwartyPlik().bytes()) ? bFunZapiszIstniejacyPlikSwiadectw()
                                                                   : bFunZapiszNowyPlikSwiadectw();
  if (saved) bDataModified = false;
  return saved;
}

void TFGlowna::Zapiszjako1Click() { bFunZapiszNowyPlikSwiadectw(); }
