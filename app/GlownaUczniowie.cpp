// The main window's student side: the holders of the current student, the
// student save and load, the student tree and the student commands.
#include "app/DaneSzkoly.h"
#include "app/DaneUczniaUnit.h"
#include "app/GlownaUnit.h"
#include "app/StudentOrder.h"
#include "app/WaitUnit.h"
#include "forms/DocumentForms.h"
#include "platform/Platform.h"
#include "platform/Cp1250.h"

#include <QAction>
#include <QLineEdit>
#include <QProgressBar>
#include <QToolButton>
#include <QTreeWidget>

namespace {

QString qt(const std::string& text) { return QString::fromStdString(cp1250ToUtf8(text)); }
std::string cp(const QString& text) { return cp1250FromUtf8(text.toStdString()); }

constexpr int kTableRole = Qt::UserRole;

// The 23 holders in the order in which rows are collected and handed out.
std::vector<THolder*> holders() {
  std::vector<THolder*> list {FDaneUcznia};
  for (TDocumentForm* form : vFunDocumentForms()) list.push_back(form);
  return list;
}

QTreeWidgetItem* studentNodeOf(QTreeWidgetItem* node) {
  if (!node) return nullptr;
  return node->parent() ? node->parent() : node;
}

}  // namespace

void TFGlowna::vFunConnectStudentCommands() {
  TDocumentForm::StudentSave = [this] { return bFunZapiszDaneUcznia(); };
  TDocumentForm::StudentData = [] { return static_cast<const TComponentRegistry*>(FDaneUcznia); };
  TDocumentForm::TemplateDialog = [] { return static_cast<const TComponentRegistry*>(FDaneSzkoly); };
  TDocumentForm::TemplateReload = [] {
    if (!FDaneSzkoly) return false;
    FDaneSzkoly->vFunClearFormData();
    return FDaneSzkoly->bFunLoadTemplate();
  };
  const std::pair<std::vector<QObject*>, void (TFGlowna::*)()> commands[] = {
      {{actionNamed("Dodajnowegoucznia1"), actionNamed("Dodajucznia1"), DodajUczniaToolButton},
       &TFGlowna::DodajUczniaToolButtonClick},
      {{actionNamed("Edytujdanewybranegoucznia1"), actionNamed("Edytujdaneucznia1"), EdytujDaneUczniaToolButton},
       &TFGlowna::EdytujDaneUczniaToolButtonClick},
      {{actionNamed("Usuwybranegoucznia1"), actionNamed("Usudaneucznia1"), UsunUczniaToolButton},
       &TFGlowna::UsunUczniaToolButtonClick},
      {{actionNamed("Edytujwybranewiadectwodokument1"), actionNamed("Edytujwybranewiadectwo1"),
        EdytujSwiadectwoToolButton},
       &TFGlowna::EdytujSwiadectwoToolButtonClick},
  };
  for (const auto& [controls, handler] : commands)
    for (QObject* control : controls) vFunOnClick(control, [this, handler = handler] { (this->*handler)(); });

  // A student is loaded whenever the selection moves to one of its nodes, by
  // mouse or keyboard, so the holders always show the selected student; a
  // click on the node already selected loads it again.
  connect(TreeView, &QTreeWidget::currentItemChanged, this, [this] {
    if (bTreeChanging_) return;
    bClickSelected_ = true;
    TreeViewClick();
  });
  connect(TreeView, &QTreeWidget::itemClicked, this, [this] {
    if (std::exchange(bClickSelected_, false)) return;
    TreeViewClick();
  });
}

// ---------------------------------------------------------------- save, load

bool TFGlowna::bFunZapiszDaneUcznia(const std::string& formerTable) {
  FWait->Show();
  FWait->repaint();
  const std::string file = strFunGetTmpFilePath(&DataStore);
  CertDataList.clear();
  for (THolder* holder : holders()) holder->vFunFormDataToList(CertDataList);

  QProgressBar* bar = FWait->ProgressBar;
  bar->setRange(0, static_cast<int>(CertDataList.size()));
  bar->setValue(0);
  FWait->repaint();
  const TProgress progress = [bar](std::size_t done, std::size_t total) {
    bar->setValue(static_cast<int>(done));
    if (done % 64 == 0 || done == total) bar->repaint();
  };

  const std::string table = "PESEL" + strFunGetText(FDaneUcznia->NrPesel_DATA_EDIT);
  if (!bFunReplaceStudent(&DataStore, file, formerTable, table, CertDataList, progress)) {
    FWait->Close();
    MessageBox(cp1250("Błąd zapisu danych.\n\n") + DataStore.ErrorStream.str(), cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    return false;
  }
  FWait->Close();
  bFunWczytajListeUczniow();
  return true;
}

bool TFGlowna::bFunWczytajDaneUcznia(const std::string& table) {
  const std::string file = strFunGetTmpFilePath(&DataStore);
  CertDataList.clear();
  if (!bFunLoadCertData(&DataStore, file, table, CertDataList)) {
    MessageBox(cp1250("Błąd podczas próby wczytania danych.\n\n") + DataStore.ErrorStream.str(), cp1250("Błąd"),
               MB_OK | MB_ICONSTOP);
    return false;
  }
  for (THolder* holder : holders()) holder->vFunFormDataFromList(CertDataList);
  return true;
}

// ---------------------------------------------------------------- the tree

bool TFGlowna::bFunWczytajListeUczniow() {
  const std::string file = strFunGetTmpFilePath(&DataStore);
  if (!platform::fileExists(file)) return false;
  StudentsList.clear();
  if (!bFunGetStudentsList(&DataStore, file, StudentsList)) {
    MessageBox(cp1250("Błąd podczas próby wczytania listy uczniów"), cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    return false;
  }
  vFunBudujDrzewoUczniow();
  return true;
}

void TFGlowna::vFunBudujDrzewoUczniow() {
  std::vector<std::string> names;
  names.reserve(StudentsList.size());
  for (const TStudentListRecord& s : StudentsList) names.push_back(s.DisplayName.str());

  vFunWyczyscDrzewo();
  bTreeChanging_ = true;
  for (std::size_t index : vFunStudentOrder(names)) {
    auto* student = new QTreeWidgetItem(TreeView, QStringList {qt(names[index])});
    // The node knows its own student: two students of one name stay two.
    student->setData(0, kTableRole, QByteArray::fromStdString(StudentsList[index].TableName.str()));
    // The documents the tree offers, then a child with no document that
    // selects the student alone.
    for (const TFormSpec* document : vFunTreeDocuments())
      new QTreeWidgetItem(student, QStringList {QString::fromUtf8(document->documentName)});
    new QTreeWidgetItem(student, QStringList {QString()});
  }
  TreeView->setCurrentItem(nullptr);
  TreeView->clearSelection();
  bTreeChanging_ = false;
}

void TFGlowna::vFunWyczyscDrzewo() {
  bTreeChanging_ = true;
  TreeView->clear();
  bTreeChanging_ = false;
  vFunWyczyscPodglad();
}

void TFGlowna::vFunWyczyscPodglad() {
  strPodgladTabela_.clear();
  for (TImage* image : {Image1, Image2}) image->setPicture(QImage());
}

std::string TFGlowna::strFunNazwaZDrzewa(int student) const {
  QTreeWidgetItem* node = TreeView->currentItem();
  if (!node) return {};
  if (student == 1) return cp(studentNodeOf(node)->text(0));
  return node->parent() ? cp(node->text(0)) : std::string();
}

std::string TFGlowna::strFunTabelaZDrzewa() const {
  QTreeWidgetItem* node = studentNodeOf(TreeView->currentItem());
  return node ? node->data(0, kTableRole).toByteArray().toStdString() : std::string();
}

void TFGlowna::TreeViewClick() {
  if (strFunNazwaZDrzewa(1).empty()) return;
  const std::string table = strFunTabelaZDrzewa();
  if (!bFunWczytajDaneUcznia(table)) return;
  if (const auto kind = optFunKindOfDocumentName(strFunNazwaZDrzewa(0))) {
    vFunPodgladDokumentu(*kind);
    strPodgladTabela_ = table;
  } else if (table != strPodgladTabela_) {
    // A student node shows no document of its own: another student's stays
    // no longer.
    vFunWyczyscPodglad();
  }
  vFunUstawMenuDrzewa();
}

// ---------------------------------------------------------------- commands

void TFGlowna::DodajUczniaToolButtonClick() {
  bDataModified = true;
  FDaneUcznia->bEditMode = false;
  FDaneUcznia->vFunClearFormData();
  // Every value is empty, except what the forms give a new student (the
  // ending "ę" of the promotion sentence on the certificates without
  // distinction after classes I and II).
  for (TDocumentForm* form : vFunDocumentForms()) {
    form->vFunClearFormData();
    form->vFunNewStudentDefaults();
  }
  FDaneUcznia->ShowModal();
  bFunWczytajListeUczniow();
}

void TFGlowna::EdytujDaneUczniaToolButtonClick() {
  bDataModified = true;
  if (strFunNazwaZDrzewa(1).empty()) {
    MessageBox("Nie wybrano ucznia z listy", cp1250("Brak wyboru"), MB_OK | MB_ICONWARNING);
    return;
  }
  // The dialog must show the selected student, whose table its OK replaces:
  // after a failed load the holders would still show another one.
  const std::string table = strFunTabelaZDrzewa();
  if (!bFunWczytajDaneUcznia(table)) return;
  FDaneUcznia->strStudentTable = table;
  FDaneUcznia->bEditMode = true;
  // A save rebuilds the tree. Anything else leaves the selected student
  // stored as it was: the dialog gets its stored data back, so no later save
  // writes what was typed and cancelled.
  if (FDaneUcznia->ShowModal() != mrOk) TreeViewClick();
}

void TFGlowna::UsunUczniaToolButtonClick() {
  bDataModified = true;
  const std::string student = strFunNazwaZDrzewa(1);
  if (student.empty()) {
    MessageBox("Nie wybrano ucznia z listy", cp1250("Brak wyboru"), MB_OK | MB_ICONWARNING);
    return;
  }
  const std::string table = strFunTabelaZDrzewa();
  if (MessageBox(cp1250("Czy na pewno chcesz skasować dane ucznia: \n") + student, cp1250("Usuń"),
                 MB_YESNO | MB_ICONWARNING) == IDYES)
    bFunDeleteTable(&DataStore, strFunGetTmpFilePath(&DataStore), table);
  bFunWczytajListeUczniow();
}

void TFGlowna::EdytujSwiadectwoToolButtonClick() {
  int noTemplate = 0;
  if (!bFunSqlGetSettingsValue(&DataStore, "create_school_data_template", noTemplate)) {
    MessageBox(cp1250("Błąd uzyskania zmiennej z pliku ustawień"), cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    return;
  }
  if (noTemplate != 0 &&
      MessageBox(cp1250("Szablon danych szkoły nie został jeszcze utworzony.\nCzy chcesz utworzyć szablon teraz ?"),
                 "Szablon", MB_YESNO | MB_ICONQUESTION) == IDYES)
    FDaneSzkoly->ShowModal();
  bDataModified = true;
  strStudentName = strFunNazwaZDrzewa(1);
  strDocumentName = strFunNazwaZDrzewa(0);
  const std::string table = strFunTabelaZDrzewa();
  const auto kind = optFunKindOfDocumentName(strDocumentName);
  if (strDocumentName.empty() || !kind) {
    MessageBox(cp1250("Nie wybrano świadectwa z listy"), cp1250("Brak wyboru"), MB_OK | MB_ICONWARNING);
    return;
  }
  if (TDocumentForm* form = frmFunFormOfKind(*kind)) form->ShowModal();

  // Select the document again and load what is stored: what was typed and
  // cancelled is gone, and after a save the holders show what was saved.
  // The student is found by its table, so a namesake is never taken for it.
  QTreeWidgetItem* found = nullptr;
  for (int i = 0; !found && i < TreeView->topLevelItemCount(); ++i) {
    QTreeWidgetItem* student = TreeView->topLevelItem(i);
    if (student->data(0, kTableRole).toByteArray().toStdString() != table) continue;
    for (int c = 0; !found && c < student->childCount(); ++c)
      if (cp(student->child(c)->text(0)) == strDocumentName) found = student->child(c);
  }
  if (!found) return;
  bTreeChanging_ = true;
  TreeView->setCurrentItem(found);
  bTreeChanging_ = false;
  TreeViewClick();
}
