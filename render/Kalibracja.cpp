#include "render/Kalibracja.h"

#include "forms/DocumentForms.h"
#include "platform/Cp1250.h"
#include "store/Calibration.h"
#include "store/Folders.h"
#include "toolkit/Components.h"
#include "toolkit/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <cerrno>
#include <climits>
#include <cstdlib>

TFKalibracja* FKalibracja = nullptr;

namespace {

QString qt(const char* utf8) { return QString::fromUtf8(utf8); }
QString qtCp(const std::string& text) { return QString::fromStdString(cp1250ToUtf8(text)); }

// A font name fits the 99 bytes of a calibration row.
constexpr std::size_t kFontNameLimit = 99;

// The whole number an edit holds, as the toolkit converts it: blanks
// around it and one sign are allowed, nothing else.
bool bFunToInt(const std::string& text, int& value) {
  std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return false;
  const std::size_t end = text.find_last_not_of(" \t");
  const std::string number = text.substr(begin, end - begin + 1);
  std::size_t digits = (number[0] == '+' || number[0] == '-') ? 1 : 0;
  if (digits == number.size()) return false;
  for (std::size_t i = digits; i < number.size(); ++i)
    if (number[i] < '0' || number[i] > '9') return false;
  errno = 0;
  const long long parsed = std::strtoll(number.c_str(), nullptr, 10);
  if (errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
  value = static_cast<int>(parsed);
  return true;
}

// The edit's number, or the toolkit's error box and false.
bool bFunEditInt(const QLineEdit* edit, int& value) {
  const std::string text = strFunGetText(edit);
  if (bFunToInt(text, value)) return true;
  MessageBox("'" + text + "' is not a valid integer value", "Kestal - Tarvek", MB_OK | MB_ICONSTOP);
  return false;
}

QToolButton* arrowButton(QToolButton* button, Qt::ArrowType arrow, const char* hint) {
  button->setArrowType(arrow);
  button->setFixedSize(30, 26);
  button->setToolTip(qt(hint));
  button->setFocusPolicy(Qt::NoFocus);  // a nudge leaves the focus where it was, as a speed button does
  return button;
}

}  // namespace

const std::vector<std::string>& TFKalibracja::vFunDesignLayouts() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v;
    for (const char* name :
         {"MEN-I/9/2 Świadectwo dla klasy I", "MEN-I/9/2 Świadectwo dla klasy I bez kropek",
          "MEN-I/9-w/2 Świadectwo dla klasy I z wyr", "MEN-I/9-w/2 Świadectwo dla klasy I z wyr bez kropek",
          "MEN-I/9-w/2 Świadectwo dla klasy II", "MEN-I/9-w/2 Świadectwo dla klasy II bez kropek",
          "MEN-I/9-w/2 Świadectwo dla klasy II z wyr", "MEN-I/9-w/2 Świadectwo dla klasy II z wyr bez kropek",
          "MEN-I/13a/2 Świadectwo ukończenia", "MEN-I/13a/2 Świadectwo ukończenia bez kropek",
          "MEN-I/13a-w/2 Świadectwo ukończenia z wyr.", "MEN-I/13a-w/2 Świadectwo ukończenia z wyr. bez kropek",
          "Wywiadówka", "MEN-I/39/2 Arkusz ocen str 1", "MEN-I/39b/2 Arkusz ocen str 1b",
          "MEN-I/39/2 Arkusz ocen str 2", "MEN-I/39b/2 Arkusz ocen str 2b", "MEN-I/39/2 Arkusz ocen str 3",
          "MEN-I/39b/2 Arkusz ocen str 3b", "MEN-I/39/2 Arkusz ocen str 4", "MEN-I/39b/2 Arkusz ocen str 4b",
          "MEN-I/39/2 Arkusz ocen str 5", "MEN-I/39/2 Arkusz ocen str 6"})
      v.push_back(cp1250(name));
    return v;
  }();
  return names;
}

TFKalibracja::TFKalibracja(QWidget* parent) : TDialogForm("FKalibracja", parent) {
  // Its opener puts it at the left edge of the screen.
  setPosition(TPosition::poDesigned);
  setFixedBorder(true);
  setWindowTitle(qt("Formatowanie"));
  // A fixed border and no buttons in the title bar: "Zamknij" closes it.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  vFunBuild();
}

void TFKalibracja::vFunBuild() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(10, 10, 10, 10);
  column->setSpacing(4);

  Label1 = Make<QLabel>("Label1", qt("Typ świadectwa:"), this);
  TypSwiadectwaComboBox = Make<QComboBox>("TypSwiadectwaComboBox", this);
  for (const std::string& name : vFunDesignLayouts()) TypSwiadectwaComboBox->addItem(qtCp(name));
  TypSwiadectwaComboBox->setCurrentIndex(-1);
  TypSwiadectwaComboBox->setMaxVisibleItems(24);
  Label2 = Make<QLabel>("Label2", qt("Obiekt na świadectwie:"), this);
  VariableComboBox = Make<QComboBox>("VariableComboBox", this);
  VariableComboBox->setMaxVisibleItems(24);
  // Long object names must not widen the window.
  for (QComboBox* box : {TypSwiadectwaComboBox, VariableComboBox}) {
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(20);
  }
  column->addWidget(Label1);
  column->addWidget(TypSwiadectwaComboBox);
  column->addSpacing(4);
  column->addWidget(Label2);
  column->addWidget(VariableComboBox);
  column->addSpacing(8);

  // Position.
  GroupBox1 = Make<QGroupBox>("GroupBox1", qt(" Współrzędne położenia obiektu "), this);
  auto* position = new QGridLayout(GroupBox1);
  position->setHorizontalSpacing(8);
  QLineEdit** edits[] = {&X1Edit, &Y1Edit, &X2Edit, &Y2Edit};
  QLabel** labels[] = {&X1Label, &Y1Label, &X2Label, &Y2Label};
  const char* names[] = {"X1", "Y1", "X2", "Y2"};
  for (int i = 0; i < 4; ++i) {
    *labels[i] = Make<QLabel>(QString(names[i]) + "Label", names[i], GroupBox1);
    *edits[i] = Make<QLineEdit>(QString(names[i]) + "Edit", "0", GroupBox1);
    (*edits[i])->setFixedWidth(70);
    (*labels[i])->setBuddy(*edits[i]);
    position->addWidget(*labels[i], i / 2, (i % 2) * 2, Qt::AlignRight);
    position->addWidget(*edits[i], i / 2, (i % 2) * 2 + 1, Qt::AlignLeft);
  }
  Label3 = Make<QLabel>("Label3", qt("Pozycja ( prawo/lewo )"), GroupBox1);
  LeftSpeedButton = arrowButton(Make<QToolButton>("LeftSpeedButton", GroupBox1), Qt::LeftArrow, "W lewo");
  RightSpeedButton = arrowButton(Make<QToolButton>("RightSpeedButton", GroupBox1), Qt::RightArrow, "W prawo");
  Label4 = Make<QLabel>("Label4", qt("Pozycja ( góra/dół )"), GroupBox1);
  UpSpeedButton = arrowButton(Make<QToolButton>("UpSpeedButton", GroupBox1), Qt::UpArrow, "W górę");
  DownSpeedButton = arrowButton(Make<QToolButton>("DownSpeedButton", GroupBox1), Qt::DownArrow, "W dół");
  auto pair = [](QToolButton* a, QToolButton* b) {
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(a);
    row->addWidget(b);
    row->addStretch(1);
    return row;
  };
  position->addWidget(Label3, 2, 0, 1, 3);
  position->addLayout(pair(LeftSpeedButton, RightSpeedButton), 2, 3);
  position->addWidget(Label4, 3, 0, 1, 3);
  position->addLayout(pair(UpSpeedButton, DownSpeedButton), 3, 3);
  position->setColumnStretch(4, 1);
  column->addWidget(GroupBox1);
  column->addSpacing(4);

  // Font.
  GroupBox2 = Make<QGroupBox>("GroupBox2", qt(" Ustawienia czcionki "), this);
  auto* font = new QGridLayout(GroupBox2);
  Label5 = Make<QLabel>("Label5", qt("Rozmiar czcionki:"), GroupBox2);
  DownFontSizeSpeedButton =
      arrowButton(Make<QToolButton>("DownFontSizeSpeedButton", GroupBox2), Qt::DownArrow, "Mniejsza czcionka");
  FontSizeEdit = Make<QLineEdit>("FontSizeEdit", GroupBox2);
  FontSizeEdit->setReadOnly(true);
  FontSizeEdit->setFixedWidth(50);
  FontSizeEdit->setAlignment(Qt::AlignCenter);
  UpFontSizeSpeedButton =
      arrowButton(Make<QToolButton>("UpFontSizeSpeedButton", GroupBox2), Qt::UpArrow, "Większa czcionka");
  auto* size = new QHBoxLayout;
  size->setSpacing(2);
  size->addWidget(DownFontSizeSpeedButton);
  size->addWidget(FontSizeEdit);
  size->addWidget(UpFontSizeSpeedButton);
  size->addStretch(1);
  font->addWidget(Label5, 0, 0);
  font->addLayout(size, 0, 1);
  Label6 = Make<QLabel>("Label6", qt("Nazwa czcionki:"), GroupBox2);
  FontsNameComboBox = Make<QComboBox>("FontsNameComboBox", GroupBox2);
  FontsNameComboBox->setEditable(true);
  FontsNameComboBox->setInsertPolicy(QComboBox::NoInsert);
  FontsNameComboBox->setMaxVisibleItems(20);
  FontsNameComboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  FontsNameComboBox->setMinimumContentsLength(16);
  font->addWidget(Label6, 1, 0);
  font->addWidget(FontsNameComboBox, 1, 1);
  Label7 = Make<QLabel>("Label7", qt("Wyrównanie:"), GroupBox2);
  AdjustmentComboBox = Make<QComboBox>("AdjustmentComboBox", GroupBox2);
  for (const char* item : {"DO LEWEJ", "DO ŚRODKA", "DO PRAWEJ", "JUSTYFIKACJA"}) AdjustmentComboBox->addItem(qt(item));
  AdjustmentComboBox->setCurrentIndex(-1);
  font->addWidget(Label7, 2, 0);
  font->addWidget(AdjustmentComboBox, 2, 1);
  PogrubienieCheckBox = Make<QCheckBox>("PogrubienieCheckBox", qt("Pogrubienie"), GroupBox2);
  KursywaCheckBox = Make<QCheckBox>("KursywaCheckBox", qt("Kursywa"), GroupBox2);
  PodkreslenieCheckBox = Make<QCheckBox>("PodkreslenieCheckBox", qt("Podkreślenie"), GroupBox2);
  PrzekreslenieCheckBox = Make<QCheckBox>("PrzekreslenieCheckBox", qt("Przekreślenie"), GroupBox2);
  auto* styles = new QGridLayout;
  styles->addWidget(PogrubienieCheckBox, 0, 0);
  styles->addWidget(KursywaCheckBox, 0, 1);
  styles->addWidget(PodkreslenieCheckBox, 1, 0);
  styles->addWidget(PrzekreslenieCheckBox, 1, 1);
  font->addLayout(styles, 3, 0, 1, 2);
  font->setColumnStretch(1, 1);
  column->addWidget(GroupBox2);
  column->addSpacing(8);

  PrzywrocUstawieniaButton =
      Make<QPushButton>("PrzywrocUstawieniaButton", qt("Przywróć oryginalne ustawienia fomatowania"), this);
  QFont bold = PrzywrocUstawieniaButton->font();
  bold.setBold(true);
  PrzywrocUstawieniaButton->setFont(bold);
  column->addWidget(PrzywrocUstawieniaButton);
  column->addSpacing(4);

  SaveButton = Make<QPushButton>("SaveButton", qt("Zastosuj"), this);
  CloseButton = Make<QPushButton>("CloseButton", qt("Zamknij"), this);
  setDefaultButton(SaveButton);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(SaveButton);
  buttons->addWidget(CloseButton);
  column->addLayout(buttons);
  column->addStretch(1);

  layout()->setSizeConstraint(QLayout::SetFixedSize);

  // The lists run their handlers on the user's choice only; the program
  // calls them itself where it changes a selection.
  connect(TypSwiadectwaComboBox, &QComboBox::activated, this, [this] { TypSwiadectwaComboBoxChange(); });
  connect(VariableComboBox, &QComboBox::activated, this, [this] { VariableComboBoxChange(); });
  vFunOnClick(LeftSpeedButton, [this] { LeftSpeedButtonClick(); });
  vFunOnClick(RightSpeedButton, [this] { RightSpeedButtonClick(); });
  vFunOnClick(UpSpeedButton, [this] { UpSpeedButtonClick(); });
  vFunOnClick(DownSpeedButton, [this] { DownSpeedButtonClick(); });
  vFunOnClick(UpFontSizeSpeedButton, [this] { UpFontSizeSpeedButtonClick(); });
  vFunOnClick(DownFontSizeSpeedButton, [this] { DownFontSizeSpeedButtnClick(); });
  vFunOnClick(SaveButton, [this] { SaveButtonClick(); });
  vFunOnClick(PrzywrocUstawieniaButton, [this] { PrzywrocUstawieniaButtonClick(); });
  vFunOnClick(CloseButton, [this] { CloseButtonClick(); });
  X1Edit->installEventFilter(this);
}

TSystemPath TFKalibracja::strFunCalibFile() { return strFunGetCalibFilePath(Host->DataStore(), false); }

bool TFKalibracja::bFunLoadCalibSet() {
  if (!Host) return false;
  return bFunCalibLoadData(Host->DataStore(), strFunCalibFile(), strFunGetText(TypSwiadectwaComboBox),
                           Host->CalibDataList());
}

void TFKalibracja::vFunLoadFontList() {
  FontsNameComboBox->clear();
  // Only the names a calibration row can hold (Windows-1250) are offered.
  for (const QString& family : QFontDatabase::families()) {
    const std::string name = cp1250FromUtf8(family.toStdString());
    if (name.size() <= kFontNameLimit && qtCp(name) == family) FontsNameComboBox->addItem(family);
  }
}

void TFKalibracja::FormShow() {
  // The samples go in before anything is drawn: every preview of the
  // showing, the first one included, shows them and nothing of a student.
  vFunFillAllSampleData();
  bFunLoadCalibSet();
  vFunLoadFontList();
  if (TypSwiadectwaComboBox->count() > 0) TypSwiadectwaComboBox->setCurrentIndex(0);
  TypSwiadectwaComboBoxChange();
  if (VariableComboBox->count() > 0) VariableComboBox->setCurrentIndex(0);
  VariableComboBoxChange();
  std::vector<std::string> tables;
  if (Host) bFunCalibLoadCertList(Host->DataStore(), tables);
  TypSwiadectwaComboBox->clear();
  for (const std::string& table : tables) TypSwiadectwaComboBox->addItem(qtCp(table));
  if (TypSwiadectwaComboBox->count() > 0) TypSwiadectwaComboBox->setCurrentIndex(0);
  TypSwiadectwaComboBoxChange();
}

void TFKalibracja::TypSwiadectwaComboBoxChange() {
  bFunLoadCalibSet();
  VariableComboBox->clear();
  if (Host)
    for (const TCalibRecord& row : Host->CalibDataList())
      if (bAllObjects || row.name.str().find("ZMIENNA") != std::string::npos)
        VariableComboBox->addItem(qtCp(row.name));
  if (VariableComboBox->count() > 0) VariableComboBox->setCurrentIndex(0);
  VariableComboBoxChange();
}

void TFKalibracja::VariableComboBoxChange() {
  const std::string name = strFunGetText(VariableComboBox);
  if (Host) {
    for (const TCalibRecord& row : Host->CalibDataList()) {
      if (row.name != name) continue;
      X1Edit->setText(QString::number(row.x1));
      Y1Edit->setText(QString::number(row.y1));
      X2Edit->setText(QString::number(row.x2));
      Y2Edit->setText(QString::number(row.y2));
      FontSizeEdit->setText(QString::number(row.font_size));
      FontsNameComboBox->setEditText(qtCp(row.font_name));
      AdjustmentComboBox->setCurrentIndex(row.font_align >= 0 && row.font_align <= 3 ? row.font_align : -1);
      PogrubienieCheckBox->setChecked(row.font_style_bold != 0);
      KursywaCheckBox->setChecked(row.font_style_italic != 0);
      PodkreslenieCheckBox->setChecked(row.font_style_underline != 0);
      PrzekreslenieCheckBox->setChecked(row.font_style_strike != 0);
      break;
    }
  }
  vFunCalibPreview(strFunGetText(TypSwiadectwaComboBox));
}

void TFKalibracja::vFunCalibPreview(const std::string& layout) {
  if (!Host) return;
  for (const TDocKindInfo& info : kDocKinds) {
    const bool certificate = (info.flags & kfCertificate) != 0;
    bool withoutDots = false;
    if (layout == info.table)
      withoutDots = false;
    else if (certificate && info.tableNoDots && layout == info.tableNoDots)
      withoutDots = true;
    else
      continue;
    // The renderer reads the table without dots exactly while the box is
    // ticked: the box follows the layout being edited.
    if (certificate)
      Host->vFunUstawBezKropek(withoutDots);
    else if (info.kind == dkWywiadowka)
      Host->vFunUstawBezKropek(false);
    // The calibration preview hands two pages to the certificates and the
    // meeting sheet, one to the record-sheet pages.
    Host->vFunRysujSwiadectwo(frmFunFormOfKind(info.kind), info.kind,
                              certificate || info.kind == dkWywiadowka ? 2 : 1);
    return;
  }
}

bool TFKalibracja::bFunNudge(QLineEdit* edit, int delta) {
  int value = 0;
  if (!bFunEditInt(edit, value)) return false;
  edit->setText(QString::number(static_cast<long long>(value) + delta));
  return true;
}

bool TFKalibracja::bFunMove(QLineEdit* first, QLineEdit* second, int delta) {
  return bFunNudge(first, delta) && bFunNudge(second, delta);
}

void TFKalibracja::LeftSpeedButtonClick() { bFunMove(X1Edit, X2Edit, -1); }
void TFKalibracja::RightSpeedButtonClick() { bFunMove(X1Edit, X2Edit, 1); }
void TFKalibracja::UpSpeedButtonClick() { bFunMove(Y1Edit, Y2Edit, -1); }
void TFKalibracja::DownSpeedButtonClick() { bFunMove(Y1Edit, Y2Edit, 1); }
void TFKalibracja::UpFontSizeSpeedButtonClick() { bFunNudge(FontSizeEdit, 1); }
void TFKalibracja::DownFontSizeSpeedButtnClick() { bFunNudge(FontSizeEdit, -1); }

void TFKalibracja::X1EditKeyDown(int key) {
  bool moved = false;
  switch (key) {
    case 37: moved = bFunMove(X1Edit, X2Edit, -1); break;
    case 38: moved = bFunMove(Y1Edit, Y2Edit, -1); break;
    case 39: moved = bFunMove(X1Edit, X2Edit, 1); break;
    case 40: moved = bFunMove(Y1Edit, Y2Edit, 1); break;
    default: return;
  }
  // An edge that is not a number stops the key after its error box.
  if (!moved) return;
  SaveButtonClick();
  X1Edit->setFocus();
}

bool TFKalibracja::eventFilter(QObject* watched, QEvent* event) {
  if (watched == X1Edit && event->type() == QEvent::KeyPress) {
    // The key also goes on to the edit as usual.
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Left: X1EditKeyDown(37); break;
      case Qt::Key_Up: X1EditKeyDown(38); break;
      case Qt::Key_Right: X1EditKeyDown(39); break;
      case Qt::Key_Down: X1EditKeyDown(40); break;
      default: break;
    }
  }
  return TDialogForm::eventFilter(watched, event);
}

void TFKalibracja::SaveButtonClick() {
  if (!Host) return;
  TCalibRecord row;
  const std::string name = strFunGetText(VariableComboBox);
  row.name = name;
  if (!bFunEditInt(X1Edit, row.x1) || !bFunEditInt(Y1Edit, row.y1) || !bFunEditInt(X2Edit, row.x2) ||
      !bFunEditInt(Y2Edit, row.y2) || !bFunEditInt(FontSizeEdit, row.font_size))
    return;
  // A font name is stored in 99 bytes of Windows-1250 text: a longer one,
  // or one with characters that text cannot hold, is refused here.
  const QString typed = FontsNameComboBox->currentText();
  const std::string fontName = cp1250FromUtf8(typed.toStdString());
  if (fontName.size() > kFontNameLimit) {
    MessageBox(cp1250("Nazwa czcionki jest za długa (najwyżej 99 znaków).\n\nZmiany nie zostały zapisane."),
               cp1250("Błąd"), MB_OK | MB_ICONWARNING);
    return;
  }
  if (qtCp(fontName) != typed) {
    MessageBox(cp1250("Nazwa czcionki zawiera znaki, których nie można zapisać.\n\nZmiany nie zostały zapisane."),
               cp1250("Błąd"), MB_OK | MB_ICONWARNING);
    return;
  }
  row.font_name = fontName;
  row.font_align = AdjustmentComboBox->currentIndex();
  row.font_style_bold = PogrubienieCheckBox->isChecked() ? 1 : 0;
  row.font_style_italic = KursywaCheckBox->isChecked() ? 1 : 0;
  row.font_style_underline = PodkreslenieCheckBox->isChecked() ? 1 : 0;
  row.font_style_strike = PrzekreslenieCheckBox->isChecked() ? 1 : 0;

  TDataStore* store = Host->DataStore();
  if (!bFunSqlCalibUpdateValue(store, strFunCalibFile(), strFunGetText(TypSwiadectwaComboBox), row))
    MessageBox(cp1250("Błąd podczas próby zapisania danych kalibracji.\n\n") + store->ErrorStream.str(),
               cp1250("Błąd"), MB_OK | MB_ICONSTOP);
  bFunLoadCalibSet();
  VariableComboBox->setCurrentIndex(VariableComboBox->findText(qtCp(name), Qt::MatchExactly));
  VariableComboBoxChange();
}

void TFKalibracja::PrzywrocUstawieniaButtonClick() {
  if (!Host) return;
  if (MessageBox(cp1250("Czy na pewno chcesz przywrócić oryginalne ustawienia ?"), "Przywracanie", MB_YESNO) ==
      IDYES) {
    TDataStore* store = Host->DataStore();
    if (!bFunPrzywrocPlikKalibracji(store))
      MessageBox(store->ErrorStream.str(), cp1250("Błąd"), MB_OK | MB_ICONSTOP);
  }
  TypSwiadectwaComboBoxChange();
}

void TFKalibracja::CloseButtonClick() {
  if (Host) Host->vFunWczytajListeUczniow();
  setModalResult(mrOk);
}

void TFKalibracja::reject() { CloseButtonClick(); }

void TFKalibracja::FormClose(TCloseAction&) {
  if (Host) Host->vFunWyczyscPodglad();
}

void TFKalibracja::vFunFillAllSampleData() {
  for (TDocumentForm* form : vFunDocumentForms())
    if (form) form->vFunFillSampleData();
}
