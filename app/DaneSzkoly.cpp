#include "app/DaneSzkoly.h"

#include "app/GlownaUnit.h"
#include "assets/tools/pictures/BlankArt.h"
#include "forms/ComponentNames.h"
#include "forms/DocumentForms.h"
#include "forms/FormSpec.h"
#include "platform/Cp1250.h"
#include "platform/Platform.h"
#include "render/jpeg/JpegImage.h"
#include "store/SQLImportUnit.h"
#include "toolkit/Components.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Paper.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

TFDaneSzkoly* FDaneSzkoly = nullptr;

namespace {

const char kTag[] = "DANE SZKOLY";
const char kTable[] = "school_data";

QString qt(const char* utf8) { return QString::fromUtf8(utf8); }

// A picture of a blank with components laid over it at places given in the
// units of the blank's page; they follow the picture when it is resized.
// It is paper, and so is all that lies on it, whatever the desktop's theme.
class TBlankPicture : public TImage {
 public:
  TBlankPicture(QSizeF units, QWidget* parent) : TImage(parent), units_(units) {
    setStretch(true);
    vFunPaperSurface(this);
  }
  void place(QWidget* component, const QRectF& where) {
    places_.emplace_back(component, where);
    component->setParent(this);
    component->setGeometry(pixels(where));
  }
  QSizeF units() const { return units_; }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    TImage::resizeEvent(event);
    for (const auto& [component, where] : places_) component->setGeometry(pixels(where));
  }

 private:
  QRect pixels(const QRectF& r) const {
    const double sx = width() / units_.width(), sy = height() / units_.height();
    const int left = static_cast<int>(std::lround(r.left() * sx));
    const int top = static_cast<int>(std::lround(r.top() * sy));
    return QRect(left, top, static_cast<int>(std::lround(r.right() * sx)) - left,
                 static_cast<int>(std::lround(r.bottom() * sy)) - top);
  }
  QSizeF units_;
  std::vector<std::pair<QWidget*, QRectF>> places_;
};

// A scroll box whose picture is stretched to its width, keeping the
// picture's proportions; the rest is scrolled.
class TWidthScrollBox : public TScrollBox {
 public:
  explicit TWidthScrollBox(QWidget* parent) : TScrollBox(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    // The picture first: the fields move with it, and the box then keeps
    // the one with the keyboard in view.
    if (auto* picture = static_cast<TBlankPicture*>(widget())) {
      const int w = viewport()->width();
      picture->resize(w, static_cast<int>(std::lround(w * picture->units().height() / picture->units().width())));
    }
    TScrollBox::resizeEvent(event);
  }
};

// The 39 edits, their limits and places: forms/ComponentNames.h, which the
// build also reads to check the forms' template pairs against them.
using names::kSchoolEdits;
using names::Tab1;
using names::Tab2;
using TTab = names::TSchoolTab;

// The blank's printed words beside the edits, in the same units.
enum TFont { Normal, Small, Heading };
struct TLabelPlace {
  const char* text;
  TTab tab;
  double x1, x2, y1, y2;
  Qt::Alignment align;
  TFont font;
};
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignCenter;
const TLabelPlace kLabels[] = {
    {"( nazwa tarvek ogólnokształcącego )", Tab1, 110, 775, 281, 299, kCentre, Small},
    {"nr", Tab1, 672, 702, 302, 332, kRight, Normal},
    {"im.", Tab1, 70, 107, 345, 375, kRight, Normal},
    {"w", Tab1, 80, 107, 420, 450, kRight, Normal},
    {"woj.", Tab1, 472, 527, 420, 450, kRight, Normal},
    {"Obowiązkowe zajęcia edukacyjne:", Tab1, 110, 775, 468, 492, kLeft, Heading},
    {"Dodatkowe zajęcia edukacyjne:", Tab1, 110, 775, 528, 552, kLeft, Heading},
    {"Przedmioty uzupełniające:", Tab1, 110, 775, 588, 612, kLeft, Heading},
    {"język", Tab1, 110, 152, 675, 705, kLeft, Normal},
    {"język", Tab1, 445, 497, 675, 705, kRight, Normal},
    {"uczęszczała/uczęszczał w roku szkolnym", Tab1, 200, 605, 752, 782, kRight, Normal},
    {"/", Tab1, 670, 683, 752, 782, kCentre, Normal},
    {"do klasy", Tab1, 110, 195, 790, 820, kLeft, Normal},
    {"i realizował(a) przedmioty:", Tab1, 110, 775, 828, 852, kLeft, Normal},
    {"ujęte w podstawie programowej w zakresie rozszerzonym", Tab1, 110, 775, 920, 940, kLeft, Small},
    {"otrzymała/otrzymał promocję do klasy", Tab1, 110, 385, 948, 978, kLeft, Normal},
    {"dnia", Tab1, 347, 397, 1010, 1040, kLeft, Normal},
    {"r", Tab1, 645, 675, 1010, 1040, kLeft, Normal},
    {"(miejscowość)", Tab1, 110, 345, 1041, 1059, kCentre, Small},
    {"(nazwa szkoły)", Tab2, 70, 690, 290, 320, kCentre, Small},
    {"Szkoła jest wpisana do ewidencji szkół niepublicznych prowadzonej przez", Tab2, 40, 720, 460, 500, kLeft,
     Normal},
    {"pod nr", Tab2, 40, 120, 565, 605, kLeft, Normal},
    {"Uprawnienia szkoły publicznej nadane przez", Tab2, 40, 720, 650, 690, kLeft, Normal},
    {"decyzją nr", Tab2, 40, 160, 810, 850, kLeft, Normal},
    {"z dnia", Tab2, 430, 510, 810, 850, kRight, Normal},
};

// The list of documents whose school data the dialog takes, by item index:
// the forms whose descriptions take fields back into the template, in
// protocol order, under their document names.
std::vector<const TFormSpec*> templateSources() {
  std::vector<const TFormSpec*> sources;
  for (int i = 0; i < kFormSpecCount; ++i) {
    const TFormSpec& desc = kFormSpecs[i];
    if (std::any_of(desc.templatePairs, desc.templatePairs + desc.templateCount,
                    [](const TTemplatePair& p) { return p.take; }))
      sources.push_back(&desc);
  }
  return sources;
}

QImage blankPicture(const char* name) {
  return jpeg::readJpegFile(platform::programFolder() + "/blanki/" + name);
}

TDataStore* dataStore() { return &FGlowna->DataStore; }

}  // namespace

TFDaneSzkoly::TFDaneSzkoly(QWidget* parent) : TDialogForm("FDaneSzkoly", parent) {
  setWindowTitle(qt("Szablon danych"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedBorder(true);
  setFixedSize(672, 685);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  PageControl1 = Make<QTabWidget>("PageControl1", this);
  column->addWidget(PageControl1, 1);
  Panel1 = Make<QWidget>("Panel1", this);
  Panel1->setFixedHeight(41);
  column->addWidget(Panel1);

  // First tab: a certificate's side 1 in a scroll box, stretched to its width.
  TabSheet1 = Make<QWidget>("TabSheet1");
  PageControl1->addTab(TabSheet1, qt("Szablon danych szkoły"));
  auto* fill1 = new QVBoxLayout(TabSheet1);
  fill1->setContentsMargins(0, 0, 0, 0);
  ScrollBox1 = Make<TWidthScrollBox>("ScrollBox1", TabSheet1);
  fill1->addWidget(ScrollBox1);
  auto* side1 = new TBlankPicture(art::kPageUnits, nullptr);
  Image1 = side1;
  registerComponent(Image1, "Image1");
  Image1->setPicture(blankPicture("swiadectwo_a_str1.jpg"));
  ScrollBox1->setWidget(Image1);

  // Second tab: the record sheet's title page, stretched over the tab.
  TabSheet2 = Make<QWidget>("TabSheet2");
  PageControl1->addTab(TabSheet2, qt("Szablon strony głównej arkusza ocen"));
  auto* fill2 = new QVBoxLayout(TabSheet2);
  fill2->setContentsMargins(0, 0, 0, 0);
  auto* titlePage = new TBlankPicture(art::kTitlePageUnits, TabSheet2);
  Image2 = titlePage;
  registerComponent(Image2, "Image2");
  Image2->setPicture(blankPicture("arkusz_str1.jpg"));
  fill2->addWidget(Image2);

  TBlankPicture* pictures[] = {side1, titlePage};
  std::vector<std::pair<QRectF, QWidget*>> order[2];  // each tab's edits in reading order
  for (const names::TSchoolEdit& e : kSchoolEdits) {
    auto* edit = Make<QLineEdit>(e.name);
    vFunSetTypingLimit(edit, e.limit);
    const QRectF where(QPointF(e.x1, e.y1), QPointF(e.x2, e.y2));
    pictures[e.tab]->place(edit, where);
    order[e.tab].emplace_back(where, edit);
  }
  QFont serif(QStringLiteral("Times New Roman"));
  serif.setStyleHint(QFont::Serif);
  int n = 1;
  for (const TLabelPlace& l : kLabels) {
    auto* label = Make<QLabel>("Label" + QString::number(n++), qt(l.text));
    QFont font = serif;
    font.setPixelSize(l.font == Small ? 10 : 13);
    font.setBold(l.font == Heading);
    label->setFont(font);
    label->setAlignment(l.align);
    pictures[l.tab]->place(label, QRectF(QPointF(l.x1, l.y1), QPointF(l.x2, l.y2)));
  }
  // The focus moves through each tab's edits top to bottom, left to right.
  for (auto& edits : order) {
    std::stable_sort(edits.begin(), edits.end(), [](const auto& a, const auto& b) {
      return a.first.top() != b.first.top() ? a.first.top() < b.first.top() : a.first.left() < b.first.left();
    });
    for (std::size_t i = 1; i < edits.size(); ++i) setTabOrder(edits[i - 1].second, edits[i].second);
  }

  auto* buttons = new QHBoxLayout(Panel1);
  buttons->setContentsMargins(8, 8, 8, 8);
  LoadTemplateButton = Make<QPushButton>("LoadTemplateButton", qt("Wczytaj dane ze świadectwa / arkusza"), Panel1);
  DocTypeComboBox = Make<QComboBox>("DocTypeComboBox", Panel1);
  for (const TFormSpec* source : templateSources()) DocTypeComboBox->addItem(qt(source->documentName));
  DocTypeComboBox->setCurrentIndex(0);
  OKButton = Make<QPushButton>("OKButton", qt("OK"), Panel1);
  AnulujButton = Make<QPushButton>("AnulujButton", qt("Anuluj"), Panel1);
  // The list gives way to the buttons where the panel is narrow.
  LoadTemplateButton->setMinimumWidth(LoadTemplateButton->sizeHint().width() + 12);
  DocTypeComboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  DocTypeComboBox->setMinimumContentsLength(16);
  DocTypeComboBox->view()->setMinimumWidth(DocTypeComboBox->view()->sizeHintForColumn(0) + 24);
  OKButton->setFixedWidth(75);
  AnulujButton->setFixedWidth(75);
  buttons->addWidget(LoadTemplateButton);
  buttons->addWidget(DocTypeComboBox, 1);
  buttons->addSpacing(8);
  buttons->addWidget(OKButton);
  buttons->addWidget(AnulujButton);
  vFunOnClick(OKButton, [this] { OKButtonClick(); });
  vFunOnClick(AnulujButton, [this] { AnulujButtonClick(); });
  vFunOnClick(LoadTemplateButton, [this] { LoadTemplateButtonClick(); });
  // Enter in any field confirms the dialog, as in every desktop dialog.
  setDefaultButton(OKButton);

  PageControl1->setCurrentWidget(TabSheet2);
}

void TFDaneSzkoly::FormShow() {
  const int year = platform::utcNow().year;
  vFunClearFormData();
  vFunLoadTemplate();
  auto defaultYear = [this](const char* name, int value) {
    QObject* edit = findComponent(name);
    if (strFunGetText(edit).empty()) bFunSetText(edit, std::to_string(value));
  };
  defaultYear(names::kRokSzkolny1, year - 1);
  defaultYear(names::kRokSzkolny2, year);
  // The offer before editing a document ends once the dialog has been seen.
  bFunSqlSettingWriteValue(dataStore(), "create_school_data_template", 0);
  DocTypeComboBox->setCurrentIndex(0);
}

void TFDaneSzkoly::vFunClearFormData() { vFunProtocolClear(*this); }

bool TFDaneSzkoly::bFunLoadTemplate() {
  TDataStore* ds = dataStore();
  std::vector<TDataRecord> rows;
  if (!bFunSqlTemplateReadData(ds, strFunGetTemplatesFilePath(ds), kTable, rows)) {
    MessageBox(cp1250("Błąd podczas odczytu danych.\n\n") + ds->ErrorStream.str(), cp1250("Błąd"),
               MB_OK | MB_ICONSTOP);
    return false;
  }
  // Any tag: the rows are matched by the edit's name alone.
  for (const TDataRecord& r : rows)
    if (QObject* component = findComponent(r.comp_name.str())) bFunSetText(component, r.value.str());
  return true;
}

void TFDaneSzkoly::vFunSaveTemplate() {
  TDataStore* ds = dataStore();
  std::vector<TDataRecord> rows;
  vFunProtocolToList(*this, kTag, false, rows);
  if (!bFunSqlTemplateWriteData(ds, strFunGetTemplatesFilePath(ds), kTable, rows)) {
    MessageBox(cp1250("Błąd podczas próby zapisania danych do pliku.\n\n") + ds->ErrorStream.str(), cp1250("Błąd"),
               MB_OK | MB_ICONSTOP);
    return;
  }
  setModalResult(mrOk);
}

void TFDaneSzkoly::OKButtonClick() { vFunSaveTemplate(); }

void TFDaneSzkoly::AnulujButtonClick() { setModalResult(mrCancel); }

void TFDaneSzkoly::LoadTemplateButtonClick() {
  if (TDocumentForm* form = frmFunTemplateSource(DocTypeComboBox->currentIndex())) form->vFunSchoolDataToTemplate();
}

TDocumentForm* TFDaneSzkoly::frmFunTemplateSource(int index) {
  static const std::vector<const TFormSpec*> sources = templateSources();
  if (index < 0 || index >= static_cast<int>(sources.size())) return nullptr;
  return frmFunFormOfClass(sources[static_cast<std::size_t>(index)]->identity.className);
}
