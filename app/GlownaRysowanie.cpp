// The main window's renderer and print command.
#include "forms/DocumentForms.h"
#include "app/GlownaUnit.h"
#include "platform/Cp1250.h"
#include "render/Drukowanie.h"
#include "render/FieldDrawing.h"
#include "render/Kalibracja.h"
#include "render/PageRenderer.h"

#include <QCheckBox>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>

namespace {

// The drawing routines read the main window through this.
class TMainWindowDrawingHost : public TDrawingHost {
 public:
  QPointer<TFGlowna> window;

  bool bStrikeEmptyFields() const override { return window && window->WykreskujPusteCheckBox->isChecked(); }
  bool bPrintWithoutDots() const override { return window && window->PrintNoDotsCheckBox->isChecked(); }
  bool bClipTexts() const override { return window && window->cbWordWrap->isChecked(); }
  bool bPrintMode() const override { return window && window->bPrintMode; }
  std::string strCalibSelection() const override {
    return FKalibracja ? strFunGetText(FKalibracja->findComponent("VariableComboBox")) : std::string();
  }
  void vFunShowPreviewPage(int page) override {
    if (window) window->PageControl->setCurrentIndex(page - 1);
  }
  void vFunScrollPreview(int position, bool bothPages) override {
    if (!window) return;
    window->ScrollBox1->verticalScrollBar()->setValue(position);
    if (bothPages) window->ScrollBox2->verticalScrollBar()->setValue(position);
  }
};

TMainWindowDrawingHost& drawingHost() {
  static TMainWindowDrawingHost host;
  return host;
}

}  // namespace

bool TFGlowna::vFunRysujSwiadectwo(TFormBase* form, bool print, TDocKind kind, int pages) {
  drawingHost().window = this;
  vFunSetDrawingHost(&drawingHost());

  vFunPreparePageCanvases(&DataStore);
  CalibDataList.clear();
  if (!optFunDocKind(kind)) {
    vFunClosePageCanvases(&DataStore);
    MessageBox(cp1250("Niepoprawny typ świadectwa"), cp1250("Błąd"), MB_OK | MB_ICONWARNING);
    return false;
  }
  const std::string table = strFunCalibTableName(kind, PrintNoDotsCheckBox->isChecked());
  if (!bFunCalibLoadData(&DataStore, strFunGetCalibFilePath(&DataStore, false), table, CalibDataList)) {
    vFunClosePageCanvases(&DataStore);
    MessageBox(cp1250("Błąd podczas próby wczytania danych kalibracji.") + "\n\n" + DataStore.ErrorStream.str(),
               cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    return false;
  }
  bPrintMode = print;
  if (FDrukuj) FDrukuj->iPageCount = pages;

  vFunDrawLayoutRows(&DataStore, form, kind, CalibDataList);

  if (print) {
    vFunClosePageCanvases(&DataStore);
    return true;
  }
  vFunLoadPreviewBackground(&DataStore, kind, 1, Image1);
  vFunLoadPreviewBackground(&DataStore, kind, 2, Image2);
  PageControl->setTabVisible(PageControl->indexOf(TabSheet2), kind <= dkKoniecaWyr);
  vFunShowPages(&DataStore, Image1, Image2);
  return true;
}

void TFGlowna::DrukujToolButtonClick() {
  const std::string name = strFunNazwaZDrzewa(0);
  if (name.empty()) {
    MessageBox(cp1250("Zaznacz świadectwo które chciesz wydrukować"), "Brak wyboru", MB_OK | MB_ICONWARNING);
    return;
  }
  if (const auto kind = optFunKindOfDocumentName(name))
    bFunDrukujDokument(frmFunFormOfKind(*kind), *kind, kDocKinds[static_cast<std::size_t>(*kind)].pages);
  bPrintMode = false;
}

bool TFGlowna::bFunDrukujDokument(TFormBase* form, TDocKind kind, int pages) {
  bPrintMode = true;
  // A failed render leaves nothing fit for the blank in the printer.
  const bool drawn = vFunRysujSwiadectwo(form, true, kind, pages);
  if (drawn && FDrukuj) FDrukuj->ShowModal();
  bPrintMode = false;
  return drawn;
}
