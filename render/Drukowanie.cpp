#include "render/Drukowanie.h"

#include "render/Pomoc.h"

#include "platform/Cp1250.h"
#include "toolkit/Components.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

TFDrukuj* FDrukuj = nullptr;
const char* const TFDrukuj::kPdfEntry = "Zapis do pliku PDF";

namespace {

QString qt(const char* utf8) { return QString::fromUtf8(utf8); }
QString qtCp(const std::string& text) { return QString::fromStdString(cp1250ToUtf8(text)); }

// A nudge: the side whose edits it moves and its steps, in order. "!X" ends
// the handler when edge X reads exactly 1; "-X" and "+X" move edge X by 1 mm.
// Edges: L left, T top, R right, B bottom.
struct TNudge {
  int side;
  const char* steps;
};
const TNudge kNudges[17] = {
    {0, ""},
    {1, "!T -T -B"},     // 1: page 1 up
    {1, "!L -L !R -R"},  // 2: page 1 left
    {1, "+T +B"},        // 3: page 1 down
    {1, "+L +R"},        // 4: page 1 right
    {2, "!T -T -B"},     // 5: page 2 up
    {2, "!L -L -R"},     // 6: page 2 left
    {2, "+T +B"},        // 7: page 2 down
    {2, "+L +R"},        // 8: page 2 right
    {1, "!L -L +R"},     // 9: page 1 wider
    {1, "!R -R +L"},     // 10: page 1 narrower
    {1, "!T -T +B"},     // 11: page 1 taller
    {1, "+T !B -B"},     // 12: page 1 shorter
    {2, "!L -L +R"},     // 13: page 2 wider
    {2, "+L -R"},        // 14: page 2 narrower
    {2, "+T -B"},        // 15: page 2 shorter
    {2, "!T -T +B"},     // 16: page 2 taller
};

int edgeIndex(char edge) {
  switch (edge) {
    case 'L': return 0;
    case 'T': return 1;
    case 'R': return 2;
    default: return 3;
  }
}

int readEdit(const QLineEdit* edit) { return edit->text().toInt(); }

// The glyph, hint and place of each nudge button in its group: the four
// arrows stand as a cross between the edits, the size buttons in two rows.
struct TButtonPlace {
  Qt::ArrowType arrow;
  const char* glyph;
  const char* hint;
  int x, y;
};
const TButtonPlace kButtonPlaces[17] = {
    {Qt::NoArrow, "", "", 0, 0},
    {Qt::UpArrow, "", "Wydruk 1 mm wyżej", 131, 50},
    {Qt::LeftArrow, "", "Wydruk 1 mm w lewo", 105, 72},
    {Qt::DownArrow, "", "Wydruk 1 mm niżej", 131, 94},
    {Qt::RightArrow, "", "Wydruk 1 mm w prawo", 157, 72},
    {Qt::UpArrow, "", "Wydruk 1 mm wyżej", 131, 50},
    {Qt::LeftArrow, "", "Wydruk 1 mm w lewo", 105, 72},
    {Qt::DownArrow, "", "Wydruk 1 mm niżej", 131, 94},
    {Qt::RightArrow, "", "Wydruk 1 mm w prawo", 157, 72},
    {Qt::NoArrow, "+", "Wydruk 1 mm szerszy", 110, 22},
    {Qt::NoArrow, "-", "Wydruk 1 mm węższy", 138, 22},
    {Qt::NoArrow, "+", "Wydruk 1 mm wyższy", 110, 52},
    {Qt::NoArrow, "-", "Wydruk 1 mm niższy", 138, 52},
    {Qt::NoArrow, "+", "Wydruk 1 mm szerszy", 110, 22},
    {Qt::NoArrow, "-", "Wydruk 1 mm węższy", 138, 22},
    {Qt::NoArrow, "-", "Wydruk 1 mm niższy", 138, 52},
    {Qt::NoArrow, "+", "Wydruk 1 mm wyższy", 110, 52},
};

// Places of the four edge edits in a position group: left, top, right, bottom.
const QPoint kEditPlaces[4] = {{30, 72}, {121, 22}, {212, 72}, {121, 122}};
const char* const kEditHints[4] = {"Lewy brzeg wydruku [mm]", "Górny brzeg wydruku [mm]",
                                   "Prawy brzeg wydruku [mm]", "Dolny brzeg wydruku [mm]"};

constexpr int kFormWidth = 600, kFormHeight = 512;
constexpr std::size_t kMarginNameLimit = 255;  // characters of a margin set's name

// "swiadectwo.pdf" -> "swiadectwo_strona2.pdf".
std::string strFunSecondSideFileName(const std::string& first) {
  const std::size_t slash = first.find_last_of('/');
  const std::size_t dot = first.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return first + "_strona2";
  return first.substr(0, dot) + "_strona2" + first.substr(dot);
}

}  // namespace

bool TPrinterSetupDialog::Execute(QPrinter& printer) {
  // The system's own settings of the printer chosen: for a queue the print
  // system's dialog of that printer (paper, orientation, two-sided printing,
  // colour and the driver's options under "Właściwości"), for a PDF file the
  // page set-up (paper and orientation). Either writes what the user chose
  // into the printer object only when confirmed. Which pages, how many
  // copies and the output file stay the print dialog's own, so the dialog
  // offers none of them.
  QWidget* owner = qobject_cast<QWidget*>(parent());
  std::unique_ptr<QDialog> dialog;
  if (printer.outputFormat() == QPrinter::NativeFormat) {
    auto print = std::make_unique<QPrintDialog>(&printer, owner);
    print->setOptions(QAbstractPrintDialog::PrintShowPageSize);
    // It sets the printer up; the print itself is "Drukuj" of our dialog.
    if (auto* buttons = print->findChild<QDialogButtonBox*>())
      if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(qt("OK"));
    dialog = std::move(print);
  } else {
    dialog = std::make_unique<QPageSetupDialog>(&printer, owner);
  }
  dialog->setWindowTitle(qt("Ustawienia drukarki"));
  const int result = vFunScriptedShowModal(dialog.get()).value_or(-1);
  return (result == -1 ? dialog->exec() : result) == QDialog::Accepted;
}

TFDrukuj::TFDrukuj(QWidget* parent) : TDialogForm("FDrukuj", parent) {
  setWindowTitle(qt("Drukowanie"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedBorder(true);
  setFixedSize(kFormWidth, kFormHeight);

  // Labels and frames first: the components below sit in them.
  auto label = [this](const char* name, const char* caption, QWidget* owner, int x, int y) {
    QLabel* l = Make<QLabel>(name, qt(caption), owner);
    l->move(x, y);
    l->adjustSize();
  };
  label("Label1", "Nazwa drukarki:", this, 12, 10);
  label("Label2", "Tryb druku ( duplex )", this, 12, 62);
  label("Label3", "Ustawienia wydruku", this, 12, 114);
  auto group = [this](const char* name, const char* caption, int x, int y, int w, int h) {
    QGroupBox* g = Make<QGroupBox>(name, qt(caption), this);
    g->setGeometry(x, y, w, h);
    return g;
  };
  QGroupBox* position[3] = {nullptr, group("GroupBox1", " Pozycjonowanie wydruku str 1 ", 10, 170, 285, 158),
                            group("GroupBox2", " Pozycjonowanie wydruku str 2 ", 305, 170, 285, 158)};
  QGroupBox* size[3] = {nullptr, group("GroupBox3", " Szerokość / wysokość wydruku str 1", 10, 336, 285, 88),
                        group("GroupBox4", " Szerokość / wysokość wydruku str 2", 305, 336, 285, 88)};
  for (int side = 1; side <= 2; ++side) {
    label(("Label" + std::to_string(2 + 2 * side)).c_str(), "Szerokość", size[side], 16, 26);
    label(("Label" + std::to_string(3 + 2 * side)).c_str(), "Wysokość", size[side], 16, 56);
  }

  DrukarkiComboBox = Make<QComboBox>("DrukarkiComboBox", this);
  DrukarkiComboBox->setGeometry(10, 30, 440, 26);
  DuplexComboBox = Make<QComboBox>("DuplexComboBox", this);
  DuplexComboBox->setGeometry(10, 82, 200, 26);
  DuplexComboBox->addItems({qt("Wyłączony"), qt("Duplex pionowo"), qt("Duplex poziomo")});
  DuplexComboBox->setCurrentIndex(-1);
  cbRotateSecondPage = Make<QCheckBox>("cbRotateSecondPage", qt("obróć drugą stronę o 180 stopni"), this);
  cbRotateSecondPage->setGeometry(224, 82, 300, 26);
  MarginesyComboBox = Make<QComboBox>("MarginesyComboBox", this);
  MarginesyComboBox->setGeometry(10, 134, 440, 26);

  QLineEdit** edits[8] = {&Strona1LewyEdit, &Strona1GornyEdit, &Strona1PrawyEdit, &Strona1DolnyEdit,
                          &Strona2LewyEdit, &Strona2GornyEdit, &Strona2PrawyEdit, &Strona2DolnyEdit};
  const char* editNames[8] = {"Strona1LewyEdit", "Strona1GornyEdit", "Strona1PrawyEdit", "Strona1DolnyEdit",
                              "Strona2LewyEdit", "Strona2GornyEdit", "Strona2PrawyEdit", "Strona2DolnyEdit"};
  for (int k = 0; k < 8; ++k) {
    QLineEdit* edit = Make<QLineEdit>(editNames[k], qt("0"), position[1 + k / 4]);
    edit->setGeometry(kEditPlaces[k % 4].x(), kEditPlaces[k % 4].y(), 44, 24);
    edit->setAlignment(Qt::AlignCenter);
    edit->setReadOnly(true);
    edit->setEnabled(false);
    edit->setToolTip(qt(kEditHints[k % 4]));
    *edits[k] = edit;
  }

  SpeedButton[0] = nullptr;
  for (int b = 1; b <= 16; ++b) {
    QWidget* parentGroup = b <= 4 ? position[1] : b <= 8 ? position[2] : b <= 12 ? size[1] : size[2];
    QToolButton* button = Make<QToolButton>(QString("SpeedButton%1").arg(b), parentGroup);
    const TButtonPlace& place = kButtonPlaces[b];
    button->setGeometry(place.x, place.y, 24, 22);
    if (place.arrow != Qt::NoArrow) button->setArrowType(place.arrow);
    else button->setText(qt(place.glyph));
    button->setToolTip(qt(place.hint));
    button->setAutoRaise(false);
    vFunOnClick(button, [this, b] { vFunNudge(b); });
    SpeedButton[b] = button;
  }

  auto button = [this](const char* name, const char* caption, int x, int y, int w) {
    QPushButton* pushButton = Make<QPushButton>(name, qt(caption), this);
    pushButton->setGeometry(x, y, w, 28);
    return pushButton;
  };
  DrukujButton = button("DrukujButton", "Drukuj", 290, 474, 96);
  AnulujButton = button("AnulujButton", "Anuluj", 392, 474, 96);
  PomocButton = button("PomocButton", "Pomoc", 494, 474, 96);
  BitBtn1 = button("BitBtn1", "Ustawienia", 460, 29, 130);
  SaveNewButton = button("SaveNewButton", "Zapisz jako nowe ustawienia", 10, 432, 200);
  DeleteButton = button("DeleteButton", "Usuń ustawienia", 216, 432, 140);
  ResetButton = button("ResetButton", "Przywróć oryginalne ustawienia", 362, 432, 228);
  PrinterSetupDialog = Make<TPrinterSetupDialog>("PrinterSetupDialog", this);
  PdfSaveDialog = Make<TFileDialog>("PdfSaveDialog", TFileDialog::TKind::Save, this);
  PdfSaveDialog->Title = cp1250("Zapis wydruku do pliku PDF");
  PdfSaveDialog->Filter = "Dokument PDF (*.pdf)|*.pdf";
  PdfSaveDialog->DefaultExt = "pdf";
  PdfSaveDialog->ConfirmOverwrite = true;

  // The lists' change handlers run on the user's choice only.
  connect(DrukarkiComboBox, &QComboBox::activated, this, [this] { DrukarkiComboBoxChange(); });
  connect(MarginesyComboBox, &QComboBox::activated, this, [this] { MarginesyComboBoxChange(); });
  vFunOnClick(DrukujButton, [this] { DrukujButtonClick(); });
  vFunOnClick(AnulujButton, [this] { AnulujButtonClick(); });
  vFunOnClick(PomocButton, [this] { PomocButtonClick(); });
  vFunOnClick(BitBtn1, [this] { BitBtn1Click(); });
  vFunOnClick(SaveNewButton, [this] { SaveNewButtonClick(); });
  vFunOnClick(DeleteButton, [this] { DeleteButtonClick(); });
  vFunOnClick(ResetButton, [this] { ResetButtonClick(); });
}

TFDrukuj::~TFDrukuj() = default;

QPrinter& TFDrukuj::Printer() {
  // Made on first use, so start-up does not wait for the print system.
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

// ---- Showing and the printer ----------------------------------------------

void TFDrukuj::FormShow() {
  DrukarkiComboBox->clear();
  const QStringList printers = QPrinterInfo::availablePrinterNames();
  pdfOnly_ = printers.isEmpty();
  if (pdfOnly_)
    DrukarkiComboBox->addItem(qt(kPdfEntry));
  else
    DrukarkiComboBox->addItems(printers);
  vFunSelectCurrentPrinter();
  vFunUstawDrukarke();
  bFunLoadMarginList();
}

void TFDrukuj::vFunSelectCurrentPrinter() {
  if (pdfOnly_) {
    Printer().setOutputFormat(QPrinter::PdfFormat);
    DrukarkiComboBox->setCurrentIndex(0);
    return;
  }
  // The printer chosen before, else the system's default, else the first.
  int index = Printer().outputFormat() == QPrinter::NativeFormat ? DrukarkiComboBox->findText(Printer().printerName())
                                                                  : -1;
  if (index < 0) index = DrukarkiComboBox->findText(QPrinterInfo::defaultPrinterName());
  if (index < 0) index = 0;
  DrukarkiComboBox->setCurrentIndex(index);
  if (Printer().outputFormat() != QPrinter::NativeFormat || Printer().printerName() != DrukarkiComboBox->currentText()) {
    Printer().setOutputFileName(QString());  // a queue prints on paper, never into a file left from before
    Printer().setPrinterName(DrukarkiComboBox->currentText());
  }
}

void TFDrukuj::DrukarkiComboBoxChange() {
  if (pdfOnly_) {
    Printer().setOutputFormat(QPrinter::PdfFormat);
  } else {
    Printer().setOutputFileName(QString());
    Printer().setPrinterName(DrukarkiComboBox->currentText());
  }
  vFunUstawDrukarke();
}

QString TFDrukuj::strFunPrinterKey() {
  return Printer().outputFormat() == QPrinter::NativeFormat ? Printer().printerName() : QString();
}

void TFDrukuj::vFunUstawDrukarke() {
  // The duplex controls follow what the printer says it can do.
  const bool canDuplex = bFunPrinterCanDuplex(Printer());
  if (!canDuplex) DuplexComboBox->setCurrentIndex(0);
  DuplexComboBox->setEnabled(canDuplex);
  cbRotateSecondPage->setEnabled(canDuplex);
  // The sheet the user set in this printer's settings, else A4 portrait.
  const bool setUp = setUpSheet_ && setUpPrinter_ == strFunPrinterKey();
  vFunApplyJobSettings(Printer(), setUp ? *setUpSheet_ : layoutFunStandardSheet(),
                       duplexFunOfIndex(DuplexComboBox->isEnabled(), DuplexComboBox->currentIndex()));
}

void TFDrukuj::BitBtn1Click() {
  if (!PrinterSetupDialog->Execute(Printer())) return;
  // What the user set is what the next prints of this printer use: the
  // sheet as it is, two-sided printing through the duplex list, which the
  // print reads.
  setUpSheet_ = Printer().pageLayout();
  setUpPrinter_ = strFunPrinterKey();
  const bool canDuplex = bFunPrinterCanDuplex(Printer());
  DuplexComboBox->setEnabled(canDuplex);
  cbRotateSecondPage->setEnabled(canDuplex);
  if (canDuplex) {
    switch (Printer().duplex()) {
      case QPrinter::DuplexNone: DuplexComboBox->setCurrentIndex(0); break;
      case QPrinter::DuplexLongSide:
      case QPrinter::DuplexAuto: DuplexComboBox->setCurrentIndex(1); break;
      case QPrinter::DuplexShortSide: DuplexComboBox->setCurrentIndex(2); break;
    }
  }
  const int index = DrukarkiComboBox->findText(Printer().printerName());
  if (Printer().outputFormat() == QPrinter::NativeFormat && index >= 0) DrukarkiComboBox->setCurrentIndex(index);
}

// ---- Printing ---------------------------------------------------------------

TEdges TFDrukuj::edgesFunOfSide(int side) const {
  if (side == 1)
    return {readEdit(Strona1LewyEdit), readEdit(Strona1GornyEdit), readEdit(Strona1PrawyEdit),
            readEdit(Strona1DolnyEdit)};
  return {readEdit(Strona2LewyEdit), readEdit(Strona2GornyEdit), readEdit(Strona2PrawyEdit),
          readEdit(Strona2DolnyEdit)};
}

bool TFDrukuj::bFunChooseOutput() {
  if (Printer().outputFormat() != QPrinter::PdfFormat) return true;
  if (!PdfSaveDialog->Execute()) return false;
  Printer().setOutputFileName(QFile::decodeName(PdfSaveDialog->Path.c_str()));
  return true;
}

bool TFDrukuj::bFunPrintSides(std::initializer_list<int> sides, int jobSide) {
  Printer().setDocName(strFunJobName(qtCp(strJobTitle), jobSide));
  std::vector<TPrintedPage> pages;
  for (int side : sides)
    pages.push_back({DataStore ? (side == 1 ? DataStore->Page1Metafile : DataStore->Page2Metafile) : nullptr,
                     edgesFunOfSide(side)});
  if (bFunPrintJob(Printer(), pages)) return true;
  MessageBox(cp1250("Błąd podczas próby rozpoczęcia wydruku."), cp1250("Błąd"), MB_OK | MB_ICONSTOP);
  return false;
}

void TFDrukuj::DrukujButtonClick() {
  vFunUstawDrukarke();
  const bool toFile = Printer().outputFormat() == QPrinter::PdfFormat;
  switch (pathFunPrintPath(iPageCount, DuplexComboBox->isEnabled(), DuplexComboBox->currentIndex())) {
    case TPrintPath::Duplex:
      if (!bFunChooseOutput()) return;
      if (cbRotateSecondPage->isEnabled() && cbRotateSecondPage->isChecked() && DataStore)
        vFunRotatePage180(DataStore->Page2Metafile);
      bFunPrintSides({1, 2});
      break;
    case TPrintPath::OneSide:
      if (!bFunChooseOutput()) return;
      bFunPrintSides({1});
      break;
    case TPrintPath::TwoJobs:
      if (!bFunChooseOutput()) return;
      if (!bFunPrintSides({1}, 1)) break;
      // A file has no sheet to turn over: the second side goes to a file of
      // its own, offered under another name than the first.
      if (toFile) {
        // Offered beside the first, under its name.
        PdfSaveDialog->InitialDir = PdfSaveDialog->Path.folder();
        PdfSaveDialog->Path = TSystemPath(strFunSecondSideFileName(PdfSaveDialog->Path.bytes()));
        PdfSaveDialog->FileName = PdfSaveDialog->Path.text();
        const bool chosen = bFunChooseOutput();
        PdfSaveDialog->InitialDir = TSystemPath();
        if (!chosen) break;
      } else {
        MessageBox(cp1250("Gdy zakończy się drukowanie pierwszej strony, proszę odwrócić \n świadectwo i nacisnąć OK"),
                   "Alert", MB_OK | MB_ICONWARNING);
      }
      bFunPrintSides({2}, 2);
      break;
    case TPrintPath::Nothing:
      break;
  }
  setModalResult(mrOk);
}

void TFDrukuj::vFunRotatePage180(QPicture* picture) {
  if (picture) vFunRotatePicture180(*picture);
}

void TFDrukuj::AnulujButtonClick() { setModalResult(mrCancel); }

void TFDrukuj::PomocButtonClick() {
  vFunPokazPomoc(DataStore);
}

// ---- Margin sets --------------------------------------------------------------

bool TFDrukuj::bFunLoadMarginList() {
  MarginList.clear();
  if (!bFunMarginReadData(DataStore, strFunGetSettingsFilePath(DataStore, false), MarginList)) {
    MessageBox(cp1250("Błąd podczas próby uzyskania listy ustawień.\n\n") + DataStore->ErrorStream.str(),
               cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    return false;
  }
  MarginesyComboBox->clear();
  for (const TMarginRecord& set : MarginList) MarginesyComboBox->addItem(qtCp(set.name));
  if (!MarginList.empty()) {
    MarginesyComboBox->setCurrentIndex(0);
    MarginesyComboBoxChange();
  }
  return true;
}

void TFDrukuj::MarginesyComboBoxChange() {
  const std::string name = strFunGetText(MarginesyComboBox);
  for (const TMarginRecord& set : MarginList) {
    if (set.name != name) continue;
    const int values[8] = {set.Page1X1, set.Page1Y1, set.Page1X2, set.Page1Y2,
                           set.Page2X1, set.Page2Y1, set.Page2X2, set.Page2Y2};
    QLineEdit* edits[8] = {Strona1LewyEdit, Strona1GornyEdit, Strona1PrawyEdit, Strona1DolnyEdit,
                           Strona2LewyEdit, Strona2GornyEdit, Strona2PrawyEdit, Strona2DolnyEdit};
    for (int k = 0; k < 8; ++k) edits[k]->setText(QString::number(values[k]));
  }
}

void TFDrukuj::SaveNewButtonClick() {
  std::string typed = "nowa nazwa";
  if (!InputQuery("Nazwa", cp1250("Proszę podać nazwę ustawień"), typed)) return;
  // A set's name holds at most 255 characters: a longer one is refused, never cut.
  if (typed.size() > kMarginNameLimit) {
    MessageBox(cp1250("Nazwa ustawień może mieć najwyżej 255 znaków."), "Nazwa", MB_OK | MB_ICONWARNING);
    return;
  }
  TMarginRecord record;
  record.name = typed;
  for (const TMarginRecord& set : MarginList) {
    if (set.name == record.name) {
      MessageBox(cp1250("Ustawienia pod tą nazwą już istnieją"), "Duplikat", MB_OK | MB_ICONWARNING);
      return;
    }
  }
  const TEdges page1 = edgesFunOfSide(1), page2 = edgesFunOfSide(2);
  record.Page1X1 = page1.left;
  record.Page1Y1 = page1.top;
  record.Page1X2 = page1.right;
  record.Page1Y2 = page1.bottom;
  record.Page2X1 = page2.left;
  record.Page2Y1 = page2.top;
  record.Page2X2 = page2.right;
  record.Page2Y2 = page2.bottom;
  if (bFunMarginWriteNewSettings(DataStore, strFunGetSettingsFilePath(DataStore, false), record)) {
    bFunLoadMarginList();
    return;
  }
  MessageBox(cp1250("Błąd podczas próby zapisania nowych ustawień marginesów.\n\n") + DataStore->ErrorStream.str(),
             cp1250("Błąd"), MB_OK | MB_ICONSTOP);
}

void TFDrukuj::DeleteButtonClick() {
  const std::string name = strFunGetText(MarginesyComboBox);
  if (MessageBox(cp1250("Czy na pewno chcesz skasować ustawienia: ") + name + " ?", "Kasowanie",
                 MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  if (!bFunMarginDeleteSettings(DataStore, strFunGetSettingsFilePath(DataStore, false), name))
    MessageBox(cp1250("Błąd podczas próby kasowania ustawień marginesów."), cp1250("Błąd"), MB_OK | MB_ICONSTOP);
  bFunLoadMarginList();
}

void TFDrukuj::ResetButtonClick() {
  if (MessageBox(cp1250("Czy na pewno chcesz przywrócić oryginalne ustawienia ?"), "Przywracanie",
                 MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  if (bFunMarginRestoreOriginal(DataStore, strFunGetSettingsFilePath(DataStore, true),
                                strFunGetSettingsFilePath(DataStore, false))) {
    bFunLoadMarginList();
    return;
  }
  MessageBox(cp1250("Błąd podczas próby przywrócenia ustawień dmyślnych.\n\n") + DataStore->ErrorStream.str(),
             cp1250("Błąd"), MB_OK | MB_ICONSTOP);
}

// ---- Nudges -------------------------------------------------------------------

void TFDrukuj::vFunNudge(int button) {
  if (button < 1 || button > 16) return;
  const TNudge& nudge = kNudges[button];
  QLineEdit* side1[4] = {Strona1LewyEdit, Strona1GornyEdit, Strona1PrawyEdit, Strona1DolnyEdit};
  QLineEdit* side2[4] = {Strona2LewyEdit, Strona2GornyEdit, Strona2PrawyEdit, Strona2DolnyEdit};
  QLineEdit** edits = nudge.side == 1 ? side1 : side2;
  for (const char* step = nudge.steps; *step; ++step) {
    if (*step == ' ') continue;
    QLineEdit* edit = edits[edgeIndex(step[1])];
    if (*step == '!') {
      if (readEdit(edit) == 1) return;
    } else {
      edit->setText(QString::number(readEdit(edit) + (*step == '+' ? 1 : -1)));
    }
    ++step;
  }
}
