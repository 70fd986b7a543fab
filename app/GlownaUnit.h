#pragma once
// The main window: tool bar, menus, the student tree, the two-page preview,
// and the state every other window works with. Closing it ends the program.
#include "render/DocumentKinds.h"
#include "store/SQLImportUnit.h"
#include "toolkit/Components.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"

#include <QList>
#include <QPoint>
#include <QPointF>

#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QMenu;
class QScrollArea;
class QTabWidget;
class QTreeWidgetItem;
class QToolBar;
class QToolButton;
class QTreeWidget;

// The program's version: in the caption, and compared by the update check.
constexpr int kVersionMajor = TARVEK_VERSION_MAJOR;
constexpr int kVersionMinor = TARVEK_VERSION_MINOR;
constexpr int kVersionBuild = TARVEK_VERSION_BUILD;

class TFGlowna : public TForm {
  Q_OBJECT
 public:
  explicit TFGlowna(QWidget* parent = nullptr);
  ~TFGlowna() override;

  // The file dialogs' filter of document files, their kind of file.
  static constexpr char kDocumentFilter[] = "Tarvek(*.sqtvk)|*.sqtvk";

  // ---- Components ---------------------------------------------------------
  QToolBar* ToolBar1;
  QToolButton* NowyPlikToolButton;
  QToolButton* OtworzPlikToolButton;
  QToolButton* SaveButton;
  QToolButton* ToolButton11;
  QToolButton* DodajUczniaToolButton;
  QToolButton* EdytujDaneUczniaToolButton;
  QToolButton* UsunUczniaToolButton;
  QToolButton* EdytujSwiadectwoToolButton;
  QToolButton* DrukujToolButton;
  QToolButton* PomocToolButton;
  QToolButton* KontaktButton;
  QToolButton* ImportButton;
  TToolBarGroup* OptionsGroup;  // the three option boxes below
  QCheckBox* WykreskujPusteCheckBox;
  QCheckBox* PrintNoDotsCheckBox;
  QCheckBox* cbWordWrap;
  TStatusBar* StatusBar;
  QTreeWidget* TreeView;
  QMenu* TreeViewPopupMenu;
  QTabWidget* PageControl;
  QWidget* TabSheet1;
  QWidget* TabSheet2;
  QScrollArea* ScrollBox1;
  QScrollArea* ScrollBox2;
  TImage* Image1;
  TImage* Image2;
  TFileDialog* OpenDialog;
  TFileDialog* SaveDialog;
  TTimer* AktualizacjaTimer;
  // The menu items are found by name (findComponent), e.g. "Koniec1".

  // ---- State shared with the other windows --------------------------------
  std::vector<TStudentListRecord> StudentsList;  // the students of the working copy, as listed
  std::vector<TDataRecord> CertDataList;         // the current student's rows between store and holders
  bool bPrintMode = false;     // the renderer is drawing for the printer
  bool bCloseNoAsk = false;    // closing asks nothing
  bool bDataModified = false;  // the working copy may hold unsaved changes
  TDataStore DataStore;
  std::string strStudentName;   // display name of the student whose document is open
  std::string strDocumentName;  // tree name of the document open for editing
  std::vector<TCalibRecord> CalibDataList;  // the rows of the layout drawn or calibrated last

  // ---- Start-up and closing ------------------------------------------------
  // Runs once after every window exists: shipped files, caption, settings,
  // option boxes, page pictures, leftover working copy, the silent update check.
  void vFunInicjalizacja();
  void vFunUstawTytulOkna();
  // Enables the tree's pop-up items by what is selected.
  void vFunUstawMenuDrzewa();
  void Koniec1Click();
  // "Szablon danych szkoły": the school-template dialog.
  void Szablondanychszkoy1Click();
  // Scrolls both preview pages by the wheel's delta.
  void FormMouseWheel(int wheelDelta);

  // ---- Drawing and printing of documents (GlownaRysowanie.cpp) -------------
  // Draws the form's values by the calibration table of the kind onto the two
  // page pictures, for the preview (shown over the pictures of the blank) or
  // for the printer. Reports its own failures and returns false after one;
  // the print flag, the print dialog's page count and the preview then stay
  // as they were.
  bool vFunRysujSwiadectwo(TFormBase* form, bool print, TDocKind kind, int pages);
  // "Drukuj wybrane świadectwo": draws the document selected in the tree for
  // the printer and then shows the print dialog.
  void DrukujToolButtonClick();
  // Draws the form by the kind's layout for the printer and, when that
  // succeeded, shows the print dialog for that many pages; true when drawn.
  // The record-sheet pages print a single column through this.
  bool bFunDrukujDokument(TFormBase* form, TDocKind kind, int pages);
  // What the print jobs of the form's document are named after: the
  // document and the student selected in the tree, as the tree names them
  // ("MEN-I/21a/2 świad. klasa I – Kowalska Anna"; a namesake with the
  // PESEL number), in Windows-1250.
  std::string strFunTytulWydruku(const TFormBase* form) const;

  // ---- The current student (GlownaUczniowie.cpp) ------------------------
  // Collects the rows of all holders and replaces the student's table in the
  // working copy in one step; formerTable is the student's table under an
  // earlier PESEL number, dropped in the same step. Rebuilds the tree.
  bool bFunZapiszDaneUcznia(const std::string& formerTable = {});
  // Reads the student's rows and hands them to every holder.
  bool bFunWczytajDaneUcznia(const std::string& table);
  bool bFunWczytajListeUczniow();
  // After a save: the saved student's entry and node (and those of its
  // earlier table, when the PESEL number changed) replaced by its stored
  // entry (nullptr: it has none), as a reload of the whole list shows them.
  void vFunPokazZapisanegoUcznia(const std::string& formerTable, const std::string& table,
                                 const TStudentListRecord* entry);
  void vFunBudujDrzewoUczniow();
  // The tree's nodes of `students`, in the tree's order, not yet shown; and
  // those nodes shown as the whole tree (the tree takes them).
  static QList<QTreeWidgetItem*> lstFunWezlyUczniow(const std::vector<TStudentListRecord>& students);
  void vFunPokazWezlyUczniow(const QList<QTreeWidgetItem*>& students);
  // Empties the tree: nothing is selected, so the previews show nothing.
  void vFunWyczyscDrzewo();
  // The preview pages show nothing but their grey backgrounds.
  void vFunWyczyscPodglad();
  // 1: the selected student's name; 0: the selected document's name.
  std::string strFunNazwaZDrzewa(int student) const;
  // The table of the student the selected node belongs to.
  std::string strFunTabelaZDrzewa() const;
  void TreeViewClick();
  void DodajUczniaToolButtonClick();
  void EdytujDaneUczniaToolButtonClick();
  void UsunUczniaToolButtonClick();
  // The student's name as a question shows it: with the PESEL number when
  // another student has the same name.
  std::string strFunKtoryUczen(const std::string& name, const std::string& table) const;
  void EdytujSwiadectwoToolButtonClick();
  // Enter or a double click on a node: a document's form opens as
  // "Edytuj wybrane świadectwo" opens it, a student's data as "Edytuj dane
  // wybranego ucznia" does; the child without a document opens nothing.
  void vFunOtworzWybranyWezel();
  // A key typed into the tree without modifiers: Enter opens the node,
  // Delete on a student asks as "Usuń" does. True when the key was the tree's.
  bool bFunKlawiszDrzewa(int key);

  // ---- Document files (GlownaPliki.cpp) ---------------------------------
  bool bFunWczytajPlikSwiadectw(const TSystemPath& path);
  bool bFunZapiszIstniejacyPlikSwiadectw();
  bool bFunZapiszNowyPlikSwiadectw();
  void vFunNowyPlikSwiadectw();
  // Start-up: a working copy that a run which did not end normally left
  // behind is offered back as an unsaved document; refused (or unreadable),
  // it is deleted.
  void vFunPrzywrocDaneSesji();
  // A save into a document itself that did not finish (killed, full disk):
  // the document's kept old state goes back and the user is told.
  void vFunDokonczPrzerwanyZapis();
  // Start-up: a data disk with less than kMinFreeBytes free is said to be
  // full, with what the user can still do.
  void vFunSprawdzMiejsceNaDysku();
  static constexpr long long kMinFreeBytes = 1LL << 20;
  // The open document file as the system names it (the status bar's text).
  TSystemPath strFunOtwartyPlik() const;
  void NowyPlikToolButtonClick();
  void OtworzPlikToolButtonClick();
  // "Zapisz": true when the document is in its file.
  bool Zapisz1Click();
  void Zapiszjako1Click();

  // ---- Import of the old text files (GlownaImport.cpp) ---------------------
  // "Importuj": the students of a chosen "*.tvk" file replace those of the
  // working copy; a failed import changes nothing and says why.
  void Importuj1Click();
  // ---- Update, about, contact, log, the hidden import (GlownaPomoc.cpp) ----
  // Opens the update window that a check has asked for, and ends the program
  // when the window has started the installer.
  void AktualizacjaTimerTimer();
  void Sprawdczyjestnowawersja1Click();
  void Oprogramie1Click();
  void KontaktButtonClick();
  void Logiprogramu1Click();
  void ImportButtonClick();
  // ---- Option boxes and other commands (GlownaOpcje.cpp) -----------------
  // Each option box stores its setting and runs the tree selection again.
  void WykreskujPusteCheckBoxClick();
  void PrintNoDotsCheckBoxClick();
  void cbWordWrapClick();
  // The calibration editor, for the value objects or for every object.
  void Formatowaniewiadectwapodstawowe1Click();
  void Ustawieniaczcionki1Click();
  void Eksportujustawieniakalibracji1Click();
  void Importujustawieniakalibracji1Click();
  void Instrukcjaobsugi1Click();

 protected:
  // The keyboard starts in the list of students, never on a tool button
  // that Enter or the space bar would press.
  void FormShow() override;
  void FormClose(TCloseAction& Action) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void vFunBuildToolBar();
  void vFunBuildMenus();
  void vFunBuildClientArea();
  void vFunConnectCommands();
  QAction* actionNamed(const char* name) const;
  void vFunConnectStudentCommands();
  void vFunConnectFileCommands();
  void vFunConnectImportCommand();
  void vFunConnectHelpCommands();
  void vFunConnectOtherCommands();
  void vFunZmianaOpcji(const char* setting, const QCheckBox* box);
  void vFunPokazKalibracje(bool allObjects, const char* caption);
  // The preview of a document after its student was loaded.
  void vFunPodgladDokumentu(TDocKind kind);
  bool bTreeChanging_ = false;     // the program itself moves the tree's selection
  std::string strPodgladTabela_;   // the student whose document the previews show
  bool bClickSelected_ = false;    // a press has just made a node current
  // The wheel turn handled last: one turn reaches the filter again for every
  // widget it is handed on to, and must scroll once.
  struct TWheelTurn {
    unsigned long long timestamp = 0;
    QPointF globalPosition;
    QPoint delta;
    bool operator==(const TWheelTurn&) const = default;
  } lastWheel_;
};

extern TFGlowna* FGlowna;
