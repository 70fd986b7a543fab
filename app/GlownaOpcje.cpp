// The main window's option boxes and its smaller commands: the calibration
// editor, the school template, the export and import of the calibration
// file, and the help.
#include "app/DaneSzkoly.h"
#include "app/GlownaUnit.h"
#include "forms/DocumentForms.h"
#include "platform/Cp1250.h"
#include "render/Kalibracja.h"
#include "render/Pomoc.h"
#include "store/Calibration.h"
#include "store/Settings.h"

#include <QAction>
#include <QCheckBox>
#include <QPainter>
#include <QToolButton>

#include <algorithm>

namespace {

// The calibration editor reaches the main window through this.
class TMainWindowCalibrationHost : public TCalibrationHost {
 public:
  // The main window the editor works for (tests make more than one in turn).
  void vFunSetWindow(TFGlowna* window) { window_ = window; }
  TDataStore* DataStore() override { return &window_->DataStore; }
  std::vector<TCalibRecord>& CalibDataList() override { return window_->CalibDataList; }
  void vFunRysujSwiadectwo(TFormBase* form, TDocKind kind, int pages) override {
    window_->vFunRysujSwiadectwo(form, false, kind, pages);
  }
  void vFunUstawBezKropek(bool checked) override { window_->PrintNoDotsCheckBox->setChecked(checked); }
  void vFunWyczyscPodglad() override { window_->vFunWyczyscPodglad(); }
  void vFunWczytajListeUczniow() override { window_->bFunWczytajListeUczniow(); }

 private:
  TFGlowna* window_ = nullptr;
};

}  // namespace

void TFGlowna::vFunConnectOtherCommands() {
  vFunOnClick(WykreskujPusteCheckBox, [this] { WykreskujPusteCheckBoxClick(); });
  vFunOnClick(PrintNoDotsCheckBox, [this] { PrintNoDotsCheckBoxClick(); });
  vFunOnClick(cbWordWrap, [this] { cbWordWrapClick(); });
  vFunOnClick(actionNamed("Formatowaniewiadectwapodstawowe1"), [this] { Formatowaniewiadectwapodstawowe1Click(); });
  vFunOnClick(actionNamed("Ustawieniaczcionki1"), [this] { Ustawieniaczcionki1Click(); });
  vFunOnClick(actionNamed("Eksportujustawieniakalibracji1"), [this] { Eksportujustawieniakalibracji1Click(); });
  vFunOnClick(actionNamed("Importujustawieniakalibracji1"), [this] { Importujustawieniakalibracji1Click(); });
  for (QObject* control : {static_cast<QObject*>(actionNamed("Instrukcjaobsugi1")),
                           static_cast<QObject*>(PomocToolButton)})
    vFunOnClick(control, [this] { Instrukcjaobsugi1Click(); });
}

// ---------------------------------------------------------------- options

void TFGlowna::vFunZmianaOpcji(const char* setting, const QCheckBox* box) {
  // A setting that cannot be written only loses the state at the next start.
  bFunSqlSettingWriteValue(&DataStore, setting, box->isChecked() ? 1 : 0);
  // While the calibration editor is shown (it sets "Wyłącz kropki" to the
  // layout it draws) the forms hold its samples and it draws its own
  // preview: no student is loaded over them.
  if (!DataStore.bCalibMode) TreeViewClick();
}

void TFGlowna::WykreskujPusteCheckBoxClick() { vFunZmianaOpcji("strike_empty_fields", WykreskujPusteCheckBox); }
void TFGlowna::PrintNoDotsCheckBoxClick() { vFunZmianaOpcji("print_without_dots", PrintNoDotsCheckBox); }
void TFGlowna::cbWordWrapClick() { vFunZmianaOpcji("word_wrap", cbWordWrap); }

// ---------------------------------------------------------------- calibration

void TFGlowna::vFunPokazKalibracje(bool allObjects, const char* caption) {
  static TMainWindowCalibrationHost host;
  host.vFunSetWindow(this);
  FKalibracja->Host = &host;
  DataStore.bCalibMode = true;
  FKalibracja->bAllObjects = allObjects;
  FKalibracja->move(5, std::max(FKalibracja->y(), geometry().top() + 90));
  FKalibracja->setWindowTitle(QString::fromUtf8(caption));
  // The editor fills every form with samples: what the forms held, the
  // student's values, goes back into them when it closes.
  std::vector<TDataRecord> held;
  for (TDocumentForm* form : vFunDocumentForms()) form->vFunFormDataToList(held);
  FKalibracja->ShowModal();
  DataStore.bCalibMode = false;
  for (TDocumentForm* form : vFunDocumentForms()) form->vFunFormDataFromList(held);
  bFunWczytajListeUczniow();
}

void TFGlowna::Formatowaniewiadectwapodstawowe1Click() { vFunPokazKalibracje(false, "Formatowanie podstawowe"); }
void TFGlowna::Ustawieniaczcionki1Click() { vFunPokazKalibracje(true, "Formatowanie zaawansowane"); }

void TFGlowna::Eksportujustawieniakalibracji1Click() {
  SaveDialog->Title = "Zapisz plik kalibracji";
  SaveDialog->Filter = "Kalibracja(*.sqset)|*.sqset";
  SaveDialog->ProposeOwnKind("tvk_kalibracja");
  SaveDialog->DefaultExt = "sqset";
  SaveDialog->ConfirmOverwrite = false;
  if (!SaveDialog->Execute()) return;
  if (!bFunEksportujPlikKalibracji(&DataStore, SaveDialog->Path))
    MessageBox(DataStore.ErrorStream.str(), "Atrybuty", MB_OK | MB_ICONWARNING);
}

void TFGlowna::Importujustawieniakalibracji1Click() {
  OpenDialog->Title = "Wczytaj plik kalibracji";
  OpenDialog->Filter = "Kalibracja(*.sqset)|*.sqset";
  OpenDialog->FileName.clear();
  if (!OpenDialog->Execute()) return;
  if (!bFunImportujPlikKalibracji(&DataStore, OpenDialog->Path))
    MessageBox(DataStore.ErrorStream.str(), "Atrybuty", MB_OK | MB_ICONWARNING);
}

// ---------------------------------------------------------------- the rest

void TFGlowna::Instrukcjaobsugi1Click() { vFunPokazPomoc(&DataStore); }
