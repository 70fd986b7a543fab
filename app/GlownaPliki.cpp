// The main window's document-file commands. A document file is never edited
// in place: opening copies it through SQLite into the working copy (and
// checks it there) before the working copy is replaced, every change goes
// to the working copy, and saving copies the working copy's committed state
// into the file through SQLite beside it and renames it into place. Paths
// of document files are the system's own (UTF-8); they become Windows-1250
// only inside a message.
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

namespace {

const char kFilter[] = "Tarvek(*.sqtvk)|*.sqtvk";

std::string code() { return std::to_string(platform::lastError()); }

// A path inside a message.
std::string shown(const std::string& path) { return cp1250FromUtf8(path); }

// A file command's failure: the message goes into the error text and the
// log under the command's name, and the user sees it.
void report(TDataStore& DataStore, const std::string& fun, const std::string& message, const std::string& caption,
            int flags) {
  vFunReportError(&DataStore, message, fun);
  MessageBox(DataStore.ErrorStream.str(), caption, flags);
}

std::string workingCopy(TDataStore& DataStore) { return cp1250ToUtf8(strFunGetTmpFilePath(&DataStore)); }

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

std::string TFGlowna::strFunOtwartyPlik() const { return StatusBar->SimplePath(); }

bool TFGlowna::bFunWczytajPlikSwiadectw(const std::string& path) {
  const std::string fun = "bFunWczytajPlikSwiadectw()";
  const std::string tmp = strFunGetTmpFilePath(&DataStore);
  // The file is copied and checked beside the working copy; only a good
  // copy takes its place, so a failure leaves the open document as it was.
  TFileFailure why;
  if (!bFunLoadDocument(path, workingCopy(DataStore), why)) {
    const std::string codeLine = why.strFunCode().empty() ? "" : cp1250("\nKod błędu: ") + why.strFunCode();
    if (why.notDocument)
      report(DataStore, fun,
             cp1250("Wybrany plik nie jest plikiem świadectw albo jest uszkodzony:\n") + shown(path) + codeLine +
                 cp1250("\nDane świadectw nie zostały wczytane."),
             cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    else
      report(DataStore, fun,
             cp1250("Błąd kopiowania pliku\nz :") + shown(path) + "\ndo :" + tmp + codeLine +
                 cp1250("\nDane świadectw nie zostały wczytane."),
             cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    return false;
  }
  if (!platform::native::resetAttributes(path)) {
    report(DataStore, fun,
           cp1250("Uwaga\nJeśli plik posiada atrybut \"tylko do odczytu\" zapis danych nie będzie możliwy.") +
               "\nKod: " + code(),
           "Uwaga", MB_OK | MB_ICONWARNING);
  }
  if (!bFunClearFileAttributes(&DataStore, tmp)) {
    report(DataStore, fun,
           cp1250("Błąd podczas próby sprawdzenia atrybutów pliku.\n") + tmp +
               cp1250("\nJeśli plik posiada atrybut \"tylko do odczytu\" zapis danych nie będzie możliwy.") +
               cp1250("\nKod błędu: ") + code(),
           cp1250("Błąd"), MB_OK | MB_ICONSTOP);
  }
  bFunWczytajListeUczniow();
  return true;
}

bool TFGlowna::bFunZapiszIstniejacyPlikSwiadectw() {
  const std::string fun = "bFunZapiszIstniejacyPlikSwiadectw()";
  const std::string file = strFunOtwartyPlik();
  const std::string tmp = strFunGetTmpFilePath(&DataStore);
  if (!platform::native::resetAttributes(file)) {
    report(DataStore, fun,
           cp1250("Błąd podczas próby sprawdzenia atrybutów pliku\n") + shown(file) +
               cp1250("\nJeśli plik ma atrybut \"tylko do odczytu\"\nzapis danych nie będzie możliwy.\nKod "
                      "błędu: ") +
               code(),
           "Atrybuty", MB_OK | MB_ICONWARNING);
  }
  TFileFailure why;
  if (bFunSaveDocument(workingCopy(DataStore), file, why)) return true;
  report(DataStore, fun,
         cp1250("Błąd kopiowania pliku z\n") + tmp + "\ndo:\n" + shown(file) + cp1250("\nKod błędu: ") +
             why.strFunCode() + cp1250("\n\nDane nie zostały zapisane."),
         cp1250("Błąd"), MB_OK | MB_ICONSTOP);
  return false;
}

bool TFGlowna::bFunZapiszNowyPlikSwiadectw() {
  const std::string fun = "bFunZapiszNowyPlikSwiadectw()";
  const std::string header = "Funkcja: vFunZapiszNowyPlikSwiadectw()\n\n";
  SaveDialog->Title = "Zapisz";
  SaveDialog->Filter = kFilter;
  SaveDialog->DefaultExt = "sqtvk";
  if (!SaveDialog->Execute()) return false;
  const std::string file = SaveDialog->Path;
  const bool exists = platform::native::exists(file);
  if (exists && MessageBox(cp1250("Wybrany plik już istnieje.\nCzy chcesz zastąpić istniejący plik ?"), "Zapisz",
                           MB_YESNO | MB_ICONQUESTION) != IDYES)
    return false;
  if (exists && !platform::native::resetAttributes(file)) {
    report(DataStore, fun,
           header + cp1250("Błąd podczas próby sprawdzenia atrybutów pliku\n") + shown(file) +
               cp1250("\nJeśli plik ma atrybut \"tylko do odczytu\"\nzapis danych nie będzie możliwy.\nKod "
                      "błędu: ") +
               code(),
           "Atrybuty", MB_OK | MB_ICONWARNING);
  }
  const std::string tmp = strFunGetTmpFilePath(&DataStore);
  // A new document that has no student yet is saved as an empty database
  // (the save makes the working copy as one).
  TFileFailure why;
  if (bFunSaveDocument(workingCopy(DataStore), file, why)) {
    StatusBar->setSimplePath(file);
    return true;
  }
  report(DataStore, fun,
         header + cp1250("Błąd podczas próby kopiowania pliku\nz\n") + tmp + "\ndo\n" + shown(file) +
             cp1250("\nKod błędu: ") + why.strFunCode() + cp1250("\n\nDane nie zostały zapisane."),
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
}

void TFGlowna::vFunPrzywrocDaneSesji() {
  const std::string tmp = workingCopy(DataStore);
  if (tmp.empty() || !platform::native::exists(tmp)) return;
  // Only a readable working copy with students in it is worth offering.
  int tables = 0;
  TFileFailure why;
  if (bFunCheckDocument(tmp, tables, why) && tables > 0 &&
      MessageBox(cp1250("Znaleziono niezapisane dane z poprzedniej sesji programu. Czy chcesz je przywrócić ?"),
                 cp1250("Przywracanie danych"), MB_YESNO | MB_ICONQUESTION) == IDYES) {
    StatusBar->setSimpleText("");
    bDataModified = true;
    bFunWczytajListeUczniow();
    return;
  }
  bFunDeleteTmpFile(&DataStore);
}

void TFGlowna::NowyPlikToolButtonClick() {
  if (bDataModified &&
      MessageBox(cp1250("Czy chcesz zapisać zmiany ?"), "Edycja", MB_YESNO | MB_ICONQUESTION) == IDYES) {
    const bool saved = platform::native::exists(strFunOtwartyPlik()) ? bFunZapiszIstniejacyPlikSwiadectw()
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
  const std::string path = OpenDialog->Path;
  // A file that cannot be opened changes nothing: the document open before
  // stays, with its tree and its name in the status bar.
  if (!bFunWczytajPlikSwiadectw(path)) return;
  StatusBar->setSimplePath(path);
  StatusBar->repaint();
}

bool TFGlowna::Zapisz1Click() {
  const bool saved = platform::native::exists(strFunOtwartyPlik()) ? bFunZapiszIstniejacyPlikSwiadectw()
                                                                   : bFunZapiszNowyPlikSwiadectw();
  if (saved) bDataModified = false;
  return saved;
}

void TFGlowna::Zapiszjako1Click() { bFunZapiszNowyPlikSwiadectw(); }
