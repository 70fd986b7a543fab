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

#include <algorithm>

#include <QAction>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QScrollBar>
#include <QToolButton>
#include <QTreeWidget>

namespace {

QString qt(const std::string& text) { return QString::fromStdString(cp1250ToUtf8(text)); }
std::string cp(const QString& text) { return cp1250FromUtf8(text.toStdString()); }

constexpr int kTableRole = Qt::UserRole;

// A frame of a 60 Hz screen, in milliseconds, rounded down.
constexpr qint64 kFrameMs = 16;

// The 23 holders in the order in which rows are collected and handed out.
std::vector<THolder*> holders() {
  std::vector<THolder*> list {FDaneUcznia};
  for (TDocumentForm* form : vFunDocumentForms()) list.push_back(form);
  return list;
}

// A student's node: its display name, its table, and under it the
// documents the tree offers, then a child with no document that selects the
// student alone.
QTreeWidgetItem* studentNode(const std::string& name, const std::string& table) {
  auto* student = new QTreeWidgetItem(QStringList {qt(name)});
  // The node knows its own student: two students of one name stay two.
  student->setData(0, kTableRole, QByteArray::fromStdString(table));
  static const QList<QString> documents = [] {
    QList<QString> texts;
    for (const TFormSpec* document : vFunTreeDocuments()) texts.append(QString::fromUtf8(document->documentName));
    texts.append(QString());
    return texts;
  }();
  QList<QTreeWidgetItem*> children;
  children.reserve(documents.size());
  for (const QString& text : documents) children.append(new QTreeWidgetItem(QStringList {text}));
  student->addChildren(children);
  return student;
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
  TDocumentForm::TemplateReload = [](bool emptyFirst) {
    if (!FDaneSzkoly) return false;
    if (emptyFirst) FDaneSzkoly->vFunClearFormData();
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
  // A double click opens the node as Enter does (a student's documents
  // unfold by the arrow beside him, the keys Right and Left, or + and -).
  TreeView->setExpandsOnDoubleClick(false);
  connect(TreeView, &QTreeWidget::itemDoubleClicked, this, [this] { vFunOtworzWybranyWezel(); });
}

void TFGlowna::vFunOtworzWybranyWezel() {
  const QTreeWidgetItem* node = TreeView->currentItem();
  if (!node) return;
  if (!node->parent())
    EdytujDaneUczniaToolButtonClick();
  else if (!strFunNazwaZDrzewa(0).empty())
    EdytujSwiadectwoToolButtonClick();
}

bool TFGlowna::bFunKlawiszDrzewa(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      vFunOtworzWybranyWezel();
      return true;
    case Qt::Key_Delete:
      // Only a student's own node deletes him: on one of his documents the
      // key does nothing.
      if (const QTreeWidgetItem* node = TreeView->currentItem(); node && !node->parent()) UsunUczniaToolButtonClick();
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------- save, load

bool TFGlowna::bFunZapiszDaneUcznia(const std::string& formerTable) {
  FWait->Show();  // shown, on the screen and painted
  const TSystemPath file = strFunGetTmpFilePath(&DataStore);
  CertDataList.clear();
  for (THolder* holder : holders()) holder->vFunFormDataToList(CertDataList);

  QProgressBar* bar = FWait->ProgressBar;
  bar->setRange(0, static_cast<int>(CertDataList.size()));
  bar->setValue(0);
  FWait->repaint();
  // The bar follows the rows as often as a screen can show it: at most once
  // a frame, and at the last row (QProgressBar draws itself at once when its
  // value moves it visibly). Moving it on every row would cost more than
  // writing the rows, and a screen shows no step between two frames.
  QElapsedTimer shown;
  shown.start();
  const TProgress progress = [bar, &shown](std::size_t done, std::size_t total) {
    if (done != total && !shown.hasExpired(kFrameMs)) return;
    bar->setValue(static_cast<int>(done));
    shown.restart();
  };

  const std::string table = "PESEL" + strFunGetText(FDaneUcznia->NrPesel_DATA_EDIT);
  TStudentListRecord entry;
  bool listed = false;
  if (!bFunReplaceStudent(&DataStore, file, formerTable, table, CertDataList, progress, entry, listed)) {
    FWait->Close();
    MessageBox(cp1250("Błąd zapisu danych.\n\n") + DataStore.ErrorStream.str(), cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    return false;
  }
  FWait->Close();
  vFunPokazZapisanegoUcznia(formerTable, table, listed ? &entry : nullptr);
  return true;
}

void TFGlowna::vFunPokazZapisanegoUcznia(const std::string& formerTable, const std::string& table,
                                         const TStudentListRecord* entry) {
  // Only the saved student changes: its entry and node take the places a
  // reload of the whole list would give them. The working copy lists its
  // tables in the order they were made, so the table made anew comes last,
  // after every namesake.
  const bool listed = entry != nullptr;
  auto replaced = [&](const std::string& name) { return name == table || (!formerTable.empty() && name == formerTable); };
  std::erase_if(StudentsList, [&](const TStudentListRecord& s) { return replaced(s.TableName.str()); });
  if (listed) StudentsList.push_back(*entry);

  bTreeChanging_ = true;
  for (int i = TreeView->topLevelItemCount() - 1; i >= 0; --i)
    if (replaced(TreeView->topLevelItem(i)->data(0, kTableRole).toByteArray().toStdString()))
      delete TreeView->takeTopLevelItem(i);
  if (listed) {
    // After every node whose key is not greater: equal keys keep the list's order.
    const std::string name = entry->DisplayName.str();
    const std::string key = strFunStudentSortKey(name);
    int low = 0, high = TreeView->topLevelItemCount();
    while (low < high) {
      const int middle = (low + high) / 2;
      if (bFunKeyGreater(strFunStudentSortKey(cp(TreeView->topLevelItem(middle)->text(0))), key))
        high = middle;
      else
        low = middle + 1;
    }
    TreeView->insertTopLevelItem(low, studentNode(name, entry->TableName.str()));
  }
  // As after a rebuild: nothing selected, nothing expanded, at the top.
  for (int i = 0; i < TreeView->topLevelItemCount(); ++i)
    if (QTreeWidgetItem* node = TreeView->topLevelItem(i); node->isExpanded()) node->setExpanded(false);
  TreeView->setCurrentItem(nullptr);
  TreeView->clearSelection();
  TreeView->verticalScrollBar()->setValue(0);
  TreeView->horizontalScrollBar()->setValue(0);
  bTreeChanging_ = false;
  // With nothing selected the previews show nothing.
  vFunWyczyscPodglad();
}

bool TFGlowna::bFunWczytajDaneUcznia(const std::string& table) {
  const TSystemPath file = strFunGetTmpFilePath(&DataStore);
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
  const TSystemPath file = strFunGetTmpFilePath(&DataStore);
  if (!platform::fileExists(file)) return false;
  StudentsList.clear();
  if (!bFunGetStudentsList(&DataStore, file, StudentsList)) {
    MessageBox(cp1250("Błąd podczas próby wczytania listy uczniów"), cp1250("Błąd"), MB_OK | MB_ICONSTOP);
    return false;
  }
  vFunBudujDrzewoUczniow();
  return true;
}

void TFGlowna::vFunBudujDrzewoUczniow() { vFunPokazWezlyUczniow(lstFunWezlyUczniow(StudentsList)); }

QList<QTreeWidgetItem*> TFGlowna::lstFunWezlyUczniow(const std::vector<TStudentListRecord>& list) {
  std::vector<std::string> names;
  names.reserve(list.size());
  for (const TStudentListRecord& s : list) names.push_back(s.DisplayName.str());
  QList<QTreeWidgetItem*> students;
  students.reserve(static_cast<qsizetype>(names.size()));
  for (std::size_t index : vFunStudentOrder(names)) students.append(studentNode(names[index], list[index].TableName.str()));
  return students;
}

void TFGlowna::vFunPokazWezlyUczniow(const QList<QTreeWidgetItem*>& students) {
  vFunWyczyscDrzewo();
  bTreeChanging_ = true;
  TreeView->addTopLevelItems(students);
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

std::string TFGlowna::strFunKtoryUczen(const std::string& name, const std::string& table) const {
  const auto namesakes = std::count_if(StudentsList.begin(), StudentsList.end(),
                                       [&](const TStudentListRecord& s) { return s.DisplayName.str() == name; });
  if (namesakes < 2) return name;
  const std::string pesel = table.substr(std::min<std::size_t>(table.size(), 5));  // after "PESEL"
  return name + (pesel.empty() ? cp1250(" (bez numeru PESEL)") : " (PESEL: " + pesel + ")");
}

void TFGlowna::UsunUczniaToolButtonClick() {
  bDataModified = true;
  const std::string student = strFunNazwaZDrzewa(1);
  if (student.empty()) {
    MessageBox("Nie wybrano ucznia z listy", cp1250("Brak wyboru"), MB_OK | MB_ICONWARNING);
    return;
  }
  const std::string table = strFunTabelaZDrzewa();
  if (MessageBox(cp1250("Czy na pewno chcesz skasować dane ucznia: \n") + strFunKtoryUczen(student, table),
                 cp1250("Usuń"), MB_YESNO | MB_ICONWARNING) == IDYES)
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
