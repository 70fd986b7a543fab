// The main window's document-file commands. A document file is never edited
// in place: opening copies it into the working copy, every change goes
// there, and saving copies the working copy back over the file (written
// beside it and renamed into place, so a failed save leaves the file whole).
#include <QAction>
#include <QToolButton>
#include <QTreeWidget>

#include "app/DaneUczniaUnit.h"
#include "app/GlownaUnit.h"
#include "forms/DocumentForms.h"
#include "platform/Cp1250.h"
#include "platform/Platform.h"

namespace {

const char kFilter[] = "Tarvek(*.sqtvk)|*.sqtvk";

std::string code() { return std::to_string(platform::lastError()); }

// A file command's failure: the message goes into the error text and the
// log under the command's name, and the user sees it.
void report(TDataStore& DataStore, const std::string& fun, const std::string& message, const std::string& caption,
            int flags) {
  vFunReportError(&DataStore, message, fun);
  MessageBox(DataStore.ErrorStream.str(), caption, flags);
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

bool TFGlowna::bFunWczytajPlikSwiadectw(const std::string& path) {
  const std::string fun = "bFunWczytajPlikSwiadectw()";
  if (!bFunDeleteTmpFile(&DataStore)) {
    MessageBox(DataStore.ErrorStream.str(), cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    return false;
  }
  const std::string tmp = strFunGetTmpFilePath(&DataStore);
  if (!platform::copyFile(path, tmp, false)) {
    report(DataStore, fun,
           cp1250("Błąd kopiowania pliku\nz :") + path + "\ndo :" + tmp + cp1250("\nKod błędu: ") + code() +
               cp1250("\nDane świadectw nie zostały wczytane."),
           cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    return false;
  }
  if (!bFunClearFileAttributes(&DataStore, path)) {
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
  const std::string file = StatusBar->SimpleText();
  const std::string tmp = strFunGetTmpFilePath(&DataStore);
  if (!bFunClearFileAttributes(&DataStore, file)) {
    report(DataStore, fun,
           cp1250("Błąd podczas próby sprawdzenia atrybutów pliku\n") + file +
               cp1250("\nJeśli plik ma atrybut \"tylko do odczytu\"\nzapis danych nie będzie możliwy.\nKod "
                      "błędu: ") +
               code(),
           "Atrybuty", MB_OK | MB_ICONWARNING);
  }
  if (platform::copyFile(tmp, file, false)) return true;
  report(DataStore, fun,
         cp1250("Błąd kopiowania pliku z\n") + tmp + "\ndo:\n" + file + cp1250("\nKod błędu: ") + code() +
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
  if (!SaveDialog->Execute()) return false;
  const std::string file = SaveDialog->FileName;
  const bool exists = platform::fileExists(file);
  if (exists && MessageBox(cp1250("Wybrany plik już istnieje.\nCzy chcesz zastąpić istniejący plik ?"), "Zapisz",
                           MB_YESNO | MB_ICONQUESTION) != IDYES)
    return false;
  if (exists && !bFunClearFileAttributes(&DataStore, file)) {
    report(DataStore, fun,
           header + cp1250("Błąd podczas próby sprawdzenia atrybutów pliku\n") + file +
               cp1250("\nJeśli plik ma atrybut \"tylko do odczytu\"\nzapis danych nie będzie możliwy.\nKod "
                      "błędu: ") +
               code(),
           "Atrybuty", MB_OK | MB_ICONWARNING);
  }
  const std::string tmp = strFunGetTmpFilePath(&DataStore);
  // A new document that has no student yet is saved as an empty database.
  if (!platform::fileExists(tmp)) platform::createEmptyFile(tmp);
  if (platform::copyFile(tmp, file, false)) {
    StatusBar->setSimpleText(file);
    return true;
  }
  report(DataStore, fun,
         header + cp1250("Błąd podczas próby kopiowania pliku\nz\n") + tmp + "\ndo\n" + file + cp1250("\nKod błędu: ") +
             code() + cp1250("\n\nDane nie zostały zapisane."),
         "Atrybuty", MB_OK | MB_ICONWARNING);
  return false;
}

void TFGlowna::vFunNowyPlikSwiadectw() {
  bTreeChanging_ = true;
  TreeView->clear();
  bTreeChanging_ = false;
  StatusBar->setSimpleText("");
  StatusBar->repaint();
  bFunDeleteTmpFile(&DataStore);
  for (TDocumentForm* form : vFunDocumentForms()) form->vFunClearFormData();
  FDaneUcznia->vFunClearFormData();
  vFunPodgladDokumentu(dkKlasaI);
}

void TFGlowna::NowyPlikToolButtonClick() {
  if (bDataModified &&
      MessageBox(cp1250("Czy chcesz zapisać zmiany ?"), "Edycja", MB_YESNO | MB_ICONQUESTION) == IDYES) {
    const bool saved = platform::fileExists(StatusBar->SimpleText()) ? bFunZapiszIstniejacyPlikSwiadectw()
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
  const std::string path = OpenDialog->FileName;
  if (bFunWczytajPlikSwiadectw(path)) {
    StatusBar->setSimpleText(path);
    StatusBar->repaint();
    return;
  }
  StatusBar->setSimpleText("");
  StatusBar->repaint();
  bFunDeleteTmpFile(&DataStore);
  bTreeChanging_ = true;
  TreeView->clear();
  bTreeChanging_ = false;
}

bool TFGlowna::Zapisz1Click() {
  const bool saved = platform::fileExists(StatusBar->SimpleText()) ? bFunZapiszIstniejacyPlikSwiadectw()
                                                                   : bFunZapiszNowyPlikSwiadectw();
  if (saved) bDataModified = false;
  return saved;
}

void TFGlowna::Zapiszjako1Click() { bFunZapiszNowyPlikSwiadectw(); }
