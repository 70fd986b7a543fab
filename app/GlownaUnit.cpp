#include "app/GlownaUnit.h"
#include "app/DaneSzkoly.h"

#include "app/AktualizacjaUnit.h"
#include "app/ToolbarPictures.h"
#include "forms/DocumentForms.h"
#include "forms/record_sheets/ClassPage.h"
#include "platform/Cp1250.h"
#include "render/Pages.h"
#include "toolkit/Paper.h"

#include <QPointer>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

TFGlowna* FGlowna = nullptr;

namespace {

QString qt(const char* utf8) { return QString::fromUtf8(utf8); }

// The tool bar, left to right (separators between the items).
struct TToolButtonEntry {
  QToolButton* TFGlowna::*member;
  const char* name;
  const char* hint;
  TToolbarPicture picture;
};
const TToolButtonEntry kToolButtons[] = {
    {&TFGlowna::NowyPlikToolButton, "NowyPlikToolButton", "Nowy plik świadectw", TToolbarPicture::NewFile},
    {&TFGlowna::OtworzPlikToolButton, "OtworzPlikToolButton", "Otwórz plik z świadectwami",
     TToolbarPicture::OpenFile},
    {&TFGlowna::SaveButton, "SaveButton", "Zapisz", TToolbarPicture::Save},
    {&TFGlowna::ToolButton11, "ToolButton11", "Szablon danych szkoły", TToolbarPicture::SchoolTemplate},
    {&TFGlowna::DodajUczniaToolButton, "DodajUczniaToolButton", "Dodaj nowego ucznia", TToolbarPicture::AddStudent},
    {&TFGlowna::EdytujDaneUczniaToolButton, "EdytujDaneUczniaToolButton", "Edytuj dane wybranego ucznia",
     TToolbarPicture::EditStudent},
    {&TFGlowna::UsunUczniaToolButton, "UsunUczniaToolButton", "Usuń dane wybranego ucznia",
     TToolbarPicture::DeleteStudent},
    {&TFGlowna::EdytujSwiadectwoToolButton, "EdytujSwiadectwoToolButton", "Edytuj wybrane świadectwo / dokument",
     TToolbarPicture::EditDocument},
    {&TFGlowna::DrukujToolButton, "DrukujToolButton", "Drukuj świadectwo / dokument", TToolbarPicture::Print},
    {&TFGlowna::PomocToolButton, "PomocToolButton", "Pomoc", TToolbarPicture::Help},
    {&TFGlowna::KontaktButton, "KontaktButton", "Wyślij wiadomość", TToolbarPicture::Contact},
    {&TFGlowna::ImportButton, "ImportButton", "Importuj dane", TToolbarPicture::Import},
};

// The option check boxes on the tool bar, with the state the window is
// designed with (start-up then sets them from the settings).
struct TOptionEntry {
  QCheckBox* TFGlowna::*member;
  const char* name;
  const char* caption;
  const char* setting;
  bool designChecked;
};
const TOptionEntry kOptions[] = {
    {&TFGlowna::WykreskujPusteCheckBox, "WykreskujPusteCheckBox", "Wykresuj puste pola", "strike_empty_fields", true},
    {&TFGlowna::PrintNoDotsCheckBox, "PrintNoDotsCheckBox", "Wyłącz kropki", "print_without_dots", false},
    {&TFGlowna::cbWordWrap, "cbWordWrap", "Ograniczenia pól tekstowych", "word_wrap", false},
};

// Menu items: a caption of nullptr is a separator; hidden items are made
// but never shown. An item's keys work while the main window is the active
// window (so never while one of its modal windows is open) and are shown
// beside it. A menu's caption marks with "&" the letter that Alt opens it by.
struct TMenuItemEntry {
  const char* name;
  const char* caption;
  bool hidden = false;
  const char* keys = nullptr;
};
struct TMenuEntry {
  const char* name;
  const char* caption;
  std::vector<TMenuItemEntry> items;
};
const std::vector<TMenuEntry>& menus() {
  static const std::vector<TMenuEntry> kMenus = {
      {"Plik1", "&Plik",
       {{"Nowyplik1", "Nowy plik", false, "Ctrl+N"},
        {"Otwrzplik1", "Otwórz plik", false, "Ctrl+O"},
        {"Importuj1", "Importuj"},
        {"N1", nullptr},
        {"Zapisz1", "Zapisz", false, "Ctrl+S"},
        {"Zapiszjako1", "Zapisz jako", false, "Ctrl+Shift+S"},
        {"N2", nullptr},
        {"Szablondanychszkoy1", "Szablon danych szkoły"},
        {"N3", nullptr},
        {"Koniec1", "Koniec"}}},
      {"Uczniowie1", "&Uczniowie",
       {{"Dodajnowegoucznia1", "Dodaj nowego ucznia"},
        {"Edytujdanewybranegoucznia1", "Edytuj dane wybranego ucznia"},
        {"Usuwybranegoucznia1", "Usuń wybranego ucznia"},
        {"Importujdane1", "Importuj dane", true}}},
      {"wiadectwa1", "Ś&wiadectwa",
       {{"Edytujwybranewiadectwodokument1", "Edytuj wybrane świadectwo / dokument"},
        {"Drukujwybranewiadectwo1", "Drukuj wybrane świadectwo", false, "Ctrl+P"}}},
      {"Ustawienia1", "U&stawienia",
       {{"Formatowaniewiadectwapodstawowe1", "Formatowanie podstawowe ( tylko zmienne )"},
        {"Ustawieniaczcionki1", "Formatowanie zaawansowane ( wszystkie obiekty )"},
        {"N4", nullptr},
        {"Eksportujustawieniakalibracji1", "Eksportuj ustawienia kalibracji"},
        {"Importujustawieniakalibracji1", "Importuj ustawienia kalibracji"}}},
      {"Pomoc1", "Pomo&c",
       {{"Oprogramie1", "O programie"},
        {"Sprawdczyjestnowawersja1", "Sprawdź czy jest nowa wersja"},
        {"N5", nullptr},
        {"Instrukcjaobsugi1", "Instrukcja obsługi", false, "F1"},
        {"N6", nullptr},
        {"Wylijwiadomo1", "Wyślij wiadomość"},
        {"N7", nullptr},
        {"Logiprogramu1", "Logi programu"}}},
  };
  return kMenus;
}

const TMenuItemEntry kPopupItems[] = {
    {"Dodajucznia1", "Dodaj ucznia"},
    {"Edytujdaneucznia1", "Edytuj dane ucznia"},
    {"Usudaneucznia1", "Usuń dane ucznia"},
    {"N8", nullptr},
    {"Edytujwybranewiadectwo1", "Edytuj wybrane świadectwo"},
    {"N9", nullptr},
    {"Drukujwybranewiadectwo2", "Drukuj wybrane świadectwo"},
};

}  // namespace

TFGlowna::TFGlowna(QWidget* parent) : TForm("FGlowna", parent) {
  resize(1024, 740);
  vFunBuildToolBar();
  vFunBuildMenus();
  vFunBuildClientArea();

  OpenDialog = Make<TFileDialog>("OpenDialog", TFileDialog::TKind::Open, this);
  SaveDialog = Make<TFileDialog>("SaveDialog", TFileDialog::TKind::Save, this);
  SaveDialog->FileName = "nowy";
  // The file dialogs of every window know the open document: those for
  // documents start in its folder, the others where their kind was chosen
  // last, else there too.
  vFunSetOpenDocumentSource(
      [window = QPointer<TFGlowna>(this)] { return window ? window->strFunOtwartyPlik() : TSystemPath(); },
      kDocumentFilter);
  AktualizacjaTimer = Make<TTimer>("AktualizacjaTimer", this);
  AktualizacjaTimer->setEnabled(false);

  vFunConnectCommands();
  qApp->installEventFilter(this);

  // Start with no error text, no open document, empty lists.
  DataStore.ErrorStream.clear();
  strStudentName.clear();
  strDocumentName.clear();
}

TFGlowna::~TFGlowna() {
  qApp->removeEventFilter(this);
  vFunDeletePages(&DataStore);
}

void TFGlowna::vFunBuildToolBar() {
  ToolBar1 = Make<QToolBar>("ToolBar1", this);
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(32, 32));
  ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, ToolBar1);

  for (const auto& entry : kToolButtons) {
    QToolButton* button = Make<QToolButton>(entry.name, ToolBar1);
    button->setIcon(icoFunToolbarPicture(entry.picture));
    button->setIconSize(QSize(32, 32));
    button->setFixedSize(46, 38);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    button->setToolTip(qt(entry.hint));
    this->*entry.member = button;
    QAction* placed = ToolBar1->addWidget(button);
    if (button != ImportButton)
      ToolBar1->addSeparator();
    else
      placed->setVisible(false);  // the import dialog is not offered to the user
  }
  // The option boxes stand together after the buttons, in as many rows as
  // the window's width needs, so a narrow screen never hides one of them.
  OptionsGroup = Make<TToolBarGroup>("OptionsGroup", ToolBar1);
  ToolBar1->addWidget(OptionsGroup);
  for (const auto& entry : kOptions) {
    QCheckBox* box = Make<QCheckBox>(entry.name, qt(entry.caption), OptionsGroup);
    box->setChecked(entry.designChecked);
    this->*entry.member = box;
    OptionsGroup->addWidget(box);
  }
}

void TFGlowna::vFunBuildMenus() {
  QMenuBar* bar = Make<QMenuBar>("MainMenu1", this);
  setMenuBar(bar);
  auto addItems = [this](QMenu* menu, const auto& items) {
    for (const TMenuItemEntry& item : items) {
      QAction* action = item.caption ? Make<QAction>(item.name, qt(item.caption), menu) : Make<QAction>(item.name, menu);
      if (!item.caption) action->setSeparator(true);
      if (item.keys) action->setShortcut(QKeySequence(QString::fromLatin1(item.keys), QKeySequence::PortableText));
      action->setVisible(!item.hidden);
      menu->addAction(action);
    }
  };
  for (const TMenuEntry& entry : menus()) {
    QMenu* menu = Make<QMenu>(entry.name, qt(entry.caption), bar);
    bar->addMenu(menu);
    addItems(menu, entry.items);
  }
  TreeViewPopupMenu = Make<QMenu>("TreeViewPopupMenu", this);
  addItems(TreeViewPopupMenu, kPopupItems);
}

void TFGlowna::vFunBuildClientArea() {
  auto* client = new QWidget(this);
  auto* row = new QHBoxLayout(client);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(3);
  setCentralWidget(client);

  TreeView = Make<QTreeWidget>("TreeView", client);
  TreeView->setFixedWidth(265);
  TreeView->setHeaderHidden(true);
  TreeView->setColumnCount(1);
  TreeView->setSortingEnabled(false);
  TreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TreeView->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(TreeView, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { TreeViewPopupMenu->popup(TreeView->viewport()->mapToGlobal(at)); });
  row->addWidget(TreeView);

  PageControl = Make<QTabWidget>("PageControl", client);
  row->addWidget(PageControl, 1);
  QWidget** sheets[] = {&TabSheet1, &TabSheet2};
  QScrollArea** boxes[] = {&ScrollBox1, &ScrollBox2};
  TImage** images[] = {&Image1, &Image2};
  for (int i = 0; i < 2; ++i) {
    const QString n = QString::number(i + 1);
    QWidget* sheet = Make<QWidget>("TabSheet" + n);
    auto* column = new QVBoxLayout(sheet);
    column->setContentsMargins(0, 0, 0, 0);
    QScrollArea* box = Make<QScrollArea>("ScrollBox" + n, sheet);
    box->setWidgetResizable(false);
    box->setBackgroundRole(QPalette::Dark);
    TImage* image = Make<TImage>("Image" + n);
    // A page of the preview is paper, whatever the desktop's theme.
    vFunPaperSurface(image);
    image->setAutoSize(true);
    image->resize(0, 0);
    box->setWidget(image);
    column->addWidget(box);
    PageControl->addTab(sheet, "Strona " + n);
    // Qt lays out a hidden page only when it is shown: the page coming into
    // view takes the position the wheel has given both pages.
    connect(PageControl, &QTabWidget::currentChanged, box, [this, box](int index) {
      QScrollArea* other = box == ScrollBox1 ? ScrollBox2 : ScrollBox1;
      if (PageControl->widget(index)->isAncestorOf(box))
        box->verticalScrollBar()->setValue(other->verticalScrollBar()->value());
    });
    *sheets[i] = sheet;
    *boxes[i] = box;
    *images[i] = image;
  }

  StatusBar = Make<TStatusBar>("StatusBar", this);
  setStatusBar(StatusBar);
}

QAction* TFGlowna::actionNamed(const char* name) const { return findComponentAs<QAction>(name); }

void TFGlowna::vFunConnectCommands() {
  // The commands of the other windows' work are connected where that work
  // is built; start-up and closing are here.
  vFunOnClick(actionNamed("Koniec1"), [this] { Koniec1Click(); });
  vFunConnectStudentCommands();
  vFunConnectFileCommands();
  vFunConnectImportCommand();
  vFunConnectHelpCommands();
  vFunConnectOtherCommands();
  vFunOnClick(DrukujToolButton, [this] { DrukujToolButtonClick(); });
  TClassPage::PrintColumn = [this](TFormBase& page, TDocKind kind) { bFunDrukujDokument(&page, kind, 1); };
  vFunOnClick(actionNamed("Szablondanychszkoy1"), [this] { Szablondanychszkoy1Click(); });
  vFunOnClick(ToolButton11, [this] { Szablondanychszkoy1Click(); });
  for (const char* print : {"Drukujwybranewiadectwo1", "Drukujwybranewiadectwo2"})
    vFunOnClick(actionNamed(print), [this] { DrukujToolButtonClick(); });
}

void TFGlowna::Szablondanychszkoy1Click() { FDaneSzkoly->ShowModal(); }

void TFGlowna::vFunUstawTytulOkna() {
  setWindowTitle(qt("Drukowanie świadectw dla Tarvek, wersja: ") + QString::number(kVersionMajor) + "." +
                 QString::number(kVersionMinor) + "." + QString::number(kVersionBuild));
}

void TFGlowna::vFunInicjalizacja() {
  auto fatal = [this](const char* sentence) {
    MessageBox(cp1250(sentence) + "\n\n" + DataStore.ErrorStream.str(), cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    bCloseNoAsk = true;
    close();
  };

  // 1. The shipped files in the data folder.
  if (!bFunCheckFilesDir(&DataStore)) {
    fatal("Błąd podczas próby sprawdzenia wymaganych plików / katalogów.");
    return;
  }
  // 2. Caption.
  vFunUstawTytulOkna();
  // 3. The settings file must be readable: a name that no row carries reads
  // as 0, so only an unreadable file or table fails here.
  int probe = 0;
  if (!bFunSqlGetSettingsValue(&DataStore, "", probe)) {
    fatal("Błąd podczas próby odczytania ustawień.");
    return;
  }
  // 4. The notice about the changed data files, shown at one start only.
  int importAlert = 0;
  if (bFunSqlGetSettingsValue(&DataStore, "import_alert", importAlert) && importAlert != 0) {
    MessageBox(cp1250("UWAGA !!!\n\nNastąpiła zmiana w plikach przechowujących dane. Stare pliki można wczytać "
                      "poprzez funkcję import w menu plik."),
               "", MB_OK | MB_ICONWARNING);
    bFunSqlSettingWriteValue(&DataStore, "import_alert", 0);
  }
  // 5. The option check boxes; a failed read leaves the design state.
  for (const auto& entry : kOptions) {
    int value = 0;
    if (bFunSqlGetSettingsValue(&DataStore, entry.setting, value)) (this->*entry.member)->setChecked(value != 0);
  }
  // 6. The page pictures.
  vFunCreatePages(&DataStore);
  // 7.
  bCloseNoAsk = false;
  bDataModified = false;
  // 8.
  vFunUstawMenuDrzewa();
  // 9. A full data disk is said; a document whose save was interrupted is
  // put back as it was; a working copy left behind by an earlier run is
  // offered back or goes.
  vFunSprawdzMiejsceNaDysku();
  vFunDokonczPrzerwanyZapis();
  vFunPrzywrocDaneSesji();
  // 10. A silent look for a newer version, on a worker thread.
  vFunSprawdzAktualizacje(true);
}

void TFGlowna::vFunUstawMenuDrzewa() {
  actionNamed("Dodajucznia1")->setEnabled(true);
  for (const char* name : {"Edytujdaneucznia1", "Usudaneucznia1"})
    actionNamed(name)->setEnabled(!strFunNazwaZDrzewa(1).empty());
  for (const char* name : {"Edytujwybranewiadectwo1", "Drukujwybranewiadectwo2"})
    actionNamed(name)->setEnabled(!strFunNazwaZDrzewa(0).empty());
}

void TFGlowna::FormShow() { TreeView->setFocus(Qt::OtherFocusReason); }

void TFGlowna::FormClose(TCloseAction& Action) {
  if (bCloseNoAsk) {
    Action = TCloseAction::caFree;
    return;
  }
  // Work the user wants kept is saved before the program ends; a save that
  // fails or is cancelled keeps the program open with the work, so that it
  // can still be saved elsewhere ("Zapisz jako").
  if (bDataModified && MessageBox(cp1250("Czy chcesz zapisać zmiany ?"), "", MB_YESNO) == IDYES && !Zapisz1Click()) {
    Action = TCloseAction::caNone;
    return;
  }
  if (MessageBox(cp1250("Czy na pewno chcesz zakończyć pracę ?"), "Koniec", MB_YESNO | MB_ICONQUESTION) == IDYES)
    Action = TCloseAction::caFree;
  else
    Action = TCloseAction::caNone;
}

void TFGlowna::vFunPodgladDokumentu(TDocKind kind) {
  vFunRysujSwiadectwo(frmFunFormOfKind(kind), false, kind, kDocKinds[static_cast<std::size_t>(kind)].pages);
}

void TFGlowna::Koniec1Click() {
  bCloseNoAsk = false;
  close();
}

void TFGlowna::FormMouseWheel(int wheelDelta) {
  for (QScrollArea* box : {ScrollBox1, ScrollBox2}) {
    QScrollBar* bar = box->verticalScrollBar();
    bar->setValue(bar->value() - wheelDelta);
  }
}

bool TFGlowna::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched == TreeView) {
    const auto* key = static_cast<QKeyEvent*>(event);
    return (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && bFunKlawiszDrzewa(key->key());
  }
  if (event->type() != QEvent::Wheel || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget->window() != this) return false;
  const auto* wheel = static_cast<QWheelEvent*>(event);

  const TWheelTurn turn {wheel->timestamp(), wheel->globalPosition(), wheel->angleDelta()};
  if (turn == lastWheel_) return false;
  lastWheel_ = turn;

  FormMouseWheel(wheel->angleDelta().y());
  // The preview pages have scrolled already; elsewhere the wheel goes on to
  // the control under the mouse as usual.
  return ScrollBox1->isAncestorOf(widget) || ScrollBox2->isAncestorOf(widget) || widget == ScrollBox1 ||
         widget == ScrollBox2;
}
