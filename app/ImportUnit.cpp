#include "app/ImportUnit.h"

#include "app/DaneUczniaUnit.h"
#include "forms/FormUnits.h"
#include "platform/Cp1250.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"
#include "store/DocumentFiles.h"
#include "toolkit/Components.h"
#include "toolkit/Dialogs.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include <sstream>

TFImport* FImport = nullptr;

namespace {

QString qt(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr char kMarker[] = "<DANE SWIADECTW DLA:";
constexpr char kNamedMarker[] = "<DANE SWIADECTW DLA: ";  // 21 characters before the name

// Only the letters a to z become capitals; Polish letters stay as they are.
std::string upperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// One line of the file, without the line end of either system.
bool readLine(std::istream& file, std::string& line) {
  if (!std::getline(file, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace

std::vector<std::string> vFunListaUczniowZPliku(std::istream& file) {
  std::vector<std::string> names;
  const std::size_t head = sizeof kNamedMarker - 1;
  for (std::string line; readLine(file, line);) {
    if (line.find(kMarker) == std::string::npos) continue;
    // The name lies between the marker with its blank and the closing ">";
    // a line too short to hold a name lists nothing.
    if (line.size() <= head + 1) continue;
    names.push_back(line.substr(head, line.size() - head - 1));
  }
  return names;
}

bool bFunPrzejdzDoUcznia(std::istream& file, const std::string& name) {
  const std::string wanted = kNamedMarker + upperAscii(name) + ">";
  for (std::string line; readLine(file, line);)
    if (upperAscii(line).find(wanted) != std::string::npos) return true;
  return false;
}

TFImport::TFImport(QWidget* parent) : TDialogForm("FImport", parent) {
  setWindowTitle(qt("Importuj dane uczniów"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedBorder(true);
  setFixedSize(283, 346);

  ListaUczniowListBox = Make<QListWidget>("ListaUczniowListBox", this);
  ListaUczniowListBox->setGeometry(8, 8, 267, 290);
  WczytajPlikButton = Make<QPushButton>("WczytajPlikButton", qt("Wczytaj plik"), this);
  WczytajPlikButton->setGeometry(8, 310, 85, 27);
  AddButton = Make<QPushButton>("AddButton", qt("Importuj dane"), this);
  AddButton->setGeometry(99, 310, 85, 27);
  Button3 = Make<QPushButton>("Button3", qt("Zamknij"), this);
  Button3->setGeometry(190, 310, 85, 27);

  OpenDialog = Make<TFileDialog>("OpenDialog", TFileDialog::TKind::Open, this);
  OpenDialog->Filter = "Dorvantum|*.dvt";
  OpenDialog->DefaultExt = "dvt";

  vFunOnClick(WczytajPlikButton, [this] { WczytajPlikButtonClick(); });
  vFunOnClick(AddButton, [this] { AddButtonClick(); });
  vFunOnClick(Button3, [this] { Button3Click(); });
}

namespace {

// The content of the chosen file, read as it is checked (a folder, a pipe
// or a device is never waited on); false with why it cannot be read.
bool readChosen(const TSystemPath& path, std::string& text, TFileFailure& why) {
  const platform::native::TPickedFile picked(path.bytes());
  why = TFileFailure::ofPickedFile(picked.error());
  if (picked.error() != 0) return false;
  if (picked.readAll(text)) return true;
  why = TFileFailure::ofPickedFile(platform::lastError());
  return false;
}

}  // namespace

void TFImport::WczytajPlikButtonClick() {
  ListaUczniowListBox->clear();
  if (!OpenDialog->Execute()) return;
  strImportFileName = OpenDialog->FileName;
  pathImportFile = OpenDialog->Path;
  std::string text;
  TFileFailure why;
  if (!readChosen(pathImportFile, text, why)) {
    MessageBox(cp1250("Nie można odczytać wybranego pliku:\n") + pathImportFile.text() + "\n" +
                   strFunFailureLines(why),
               cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    return;
  }
  std::istringstream file(text);
  for (const std::string& name : vFunListaUczniowZPliku(file))
    ListaUczniowListBox->addItem(QString::fromStdString(cp1250ToUtf8(name)));
}

void TFImport::AddButtonClick() {
  const QListWidgetItem* chosen = ListaUczniowListBox->currentItem();
  if (!chosen || ListaUczniowListBox->currentRow() < 0) {
    MessageBox(cp1250("Zaznacz ucznia którego dane mają zostać importowane"), "Brak wyboru", MB_OK);
    return;
  }
  const std::string name = upperAscii(cp1250FromUtf8(chosen->text().toStdString()));

  THolder* const cleared[] = {FDaneUcznia,  FKlasa1,      FKlasa1wyr,   FKlasa2,      FKlasa2wyr,
                              FKoniec,      FKoniecwyr,   FWywiadowka,  FArkuszStr1,  FArkuszStr2,
                              FArkuszStr3,  FArkuszStr4,  FArkuszStr5};
  for (THolder* holder : cleared) holder->vFunClearFormData();

  std::string text;
  TFileFailure why;
  std::istringstream file(readChosen(pathImportFile, text, why) ? text : std::string());
  if (bFunPrzejdzDoUcznia(file, name)) FDaneUcznia->vFunImportFromStream(file);
  FDaneUcznia->Show();
}

void TFImport::Button3Click() { setModalResult(mrCancel); }
