// The main window's import of the old tagged text files ("*.tvk"): the
// students of the chosen file replace those of the working copy, which then
// belongs to no file; or, when the import fails, nothing changes and the
// user is told what failed.
#include "app/GlownaUnit.h"
#include "app/SQLImportUnit.h"
#include "platform/Cp1250.h"

void TFGlowna::vFunConnectImportCommand() { vFunOnClick(actionNamed("Importuj1"), [this] { Importuj1Click(); }); }

void TFGlowna::Importuj1Click() {
  // The import replaces the working copy: changes the user wants kept are
  // saved first, and a failed or cancelled save stops the import.
  if (bDataModified && MessageBox(cp1250("Czy chcesz zapisać zmiany ?"), "", MB_YESNO) == IDYES && !Zapisz1Click())
    return;
  OpenDialog->Filter = "Tarvek(*.tvk)|*.tvk";
  OpenDialog->Title = "Import danych";
  if (!OpenDialog->Execute()) return;
  const TSystemPath source = OpenDialog->Path;

  FSQLImport->Show();
  const bool imported =
      bFunImportDataFromFile(&DataStore, strFunGetTmpFilePath(&DataStore), source, FSQLImport->progress());
  FSQLImport->Close();
  if (!imported) {
    MessageBox(cp1250("Dane nie zostały zaimportowane.\n\n") + DataStore.ErrorStream.str(), cp1250("Błąd"),
               MB_OK | MB_ICONSTOP);
    return;
  }
  // The imported students are a document of no file yet, as after "Nowy
  // plik": "Zapisz" asks for a name, and the file that was open stays as
  // it was unless the user chooses it there.
  StatusBar->setSimpleText("");
  StatusBar->repaint();
  bDataModified = true;
  bFunWczytajListeUczniow();
  vFunUstawMenuDrzewa();
}
