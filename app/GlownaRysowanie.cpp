// The main window's renderer and print command.
#include "forms/DocumentForms.h"
#include "app/GlownaUnit.h"
#include "platform/Cp1250.h"
#include "render/Drukowanie.h"
#include "render/FieldDrawing.h"
#include "render/Kalibracja.h"
#include "render/PageRenderer.h"
#include "render/Pages.h"

#include <QCheckBox>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>

#include <algorithm>

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

// The blank's own printed words on a preview: the fixed texts and rows of
// dots of the form's side, where the form shows them over the blank, so the
// values are read in their places. What the layout prints itself is left to
// the layout.
void vFunDrawBlankTexts(const TFormBase* form, int side, const std::vector<TCalibRecord>& rows, TImage* image) {
  const auto* document = dynamic_cast<const TDocumentForm*>(form);
  if (!document || !document->Spec || side > document->Spec->sideCount || image->Picture().isNull()) return;
  const TFormSpec& desc = *document->Spec;
  const double sx = (kPreviewRight - kPreviewLeft) / static_cast<double>(kPageWidth);
  const double sy = (kPreviewBottom - kPreviewTop) / static_cast<double>(kPageHeight);
  auto printed = [&rows](const TComponentSpec& c) {
    return std::any_of(rows.begin(), rows.end(), [&](const TCalibRecord& r) { return r.name.str() == c.name; });
  };
  // A side whose layout prints every fixed text is printed on plain paper:
  // its preview shows what the layout prints and nothing of the form's own
  // rows of dots, which are the screen's alone.
  bool plainPaper = false;
  for (int i = 0; i < desc.componentCount; ++i) {
    const TComponentSpec& c = desc.components[i];
    if (c.side != side || c.kind != TSpecKind::Label) continue;
    plainPaper = printed(c);
    if (!plainPaper) break;
  }
  if (plainPaper) return;
  QPainter painter(&image->Picture());
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setPen(QColor(70, 70, 70));
  for (int i = 0; i < desc.componentCount; ++i) {
    const TComponentSpec& c = desc.components[i];
    if (c.side != side || (c.kind != TSpecKind::Label && c.kind != TSpecKind::Dots)) continue;
    if (printed(c)) continue;
    // Set like a value of its line: the bottom of the text a quarter of a
    // 16-unit font above the bottom of its place.
    const QRectF place(kPreviewLeft + c.at.x * sx, kPreviewTop + c.at.y * sy, c.at.w * sx, c.at.h * sy - 4.0);
    const bool dots = c.kind == TSpecKind::Dots;
    QFont font(QString::fromUtf8(dots ? "Times New Roman" : (c.font ? c.font : desc.labelFont)));
    font.setPixelSize(dots ? 11 : c.fontHeight > 0 ? c.fontHeight : desc.labelFontHeight);
    font.setBold((c.flags & sfBold) != 0);
    painter.setFont(font);
    QString text = QString::fromUtf8(c.text ? c.text : "");
    if (dots) text = QString(std::max(1, static_cast<int>(place.width() / std::max(1, painter.fontMetrics().horizontalAdvance(QLatin1Char('.'))))), QLatin1Char('.'));
    painter.drawText(place, Qt::AlignLeft | Qt::AlignBottom | Qt::TextDontClip, text);
  }
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
  vFunDrawBlankTexts(form, 1, CalibDataList, Image1);
  vFunDrawBlankTexts(form, 2, CalibDataList, Image2);
  // Only when it changes: QTabWidget lays itself out and repaints whole,
  // scroll boxes and all, at every call.
  if (const int side2 = PageControl->indexOf(TabSheet2); PageControl->isTabVisible(side2) != bFunIsCertificate(kind))
    PageControl->setTabVisible(side2, bFunIsCertificate(kind));
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
  if (drawn && FDrukuj) {
    FDrukuj->strJobTitle = strFunTytulWydruku(form);
    FDrukuj->ShowModal();
  }
  bPrintMode = false;
  return drawn;
}

std::string TFGlowna::strFunTytulWydruku(const TFormBase* form) const {
  // A record-sheet page printing one column is still its page's document.
  const auto* document = dynamic_cast<const TDocumentForm*>(form);
  const std::string name = document && document->Spec ? cp1250FromUtf8(document->Spec->documentName)
                                                      : strFunNazwaZDrzewa(0);
  const std::string student = strFunKtoryUczen(strFunNazwaZDrzewa(1), strFunTabelaZDrzewa());
  if (name.empty() || student.empty()) return name + student;
  return name + cp1250(" – ") + student;
}
