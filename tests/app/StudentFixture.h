#pragma once
// A started program with a document file of students made outside it.
#include "AppFixture.h"
#include "support/FormReference.h"

#include "app/DaneUczniaUnit.h"
#include "store/SqlText.h"
#include "toolkit/Components.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <functional>

using Rows = std::vector<std::vector<std::string>>;

// Shows a window as the window manager would: on screen and active.
inline void showActive(QWidget* window) {
  window->show();
  QApplication::setActiveWindow(window);
  QCoreApplication::processEvents();
}

// A key pressed into the window (which hands it to its focused control).
inline void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1) {
  for (int i = 0; i < times; ++i) QTest::keyClick(window->windowHandle(), key, modifiers);
}

// Brings the pages holding a control to the front, so it can take the focus.
inline void bringToFront(QWidget* control) {
  for (QWidget* page = control; page && !page->isWindow(); page = page->parentWidget()) {
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    if (!stack) continue;
    if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
      tabs->setCurrentWidget(page);
    else
      stack->setCurrentWidget(page);
  }
}

struct TStudentFile {
  std::string pesel;
  Rows rows;  // id, comp_name, value (Windows-1250)
};

// The nine personal rows, as the student-data dialog stores them.
inline Rows personalRows(const std::string& surname, const std::string& name, const std::string& pesel,
                         const std::string& sex = "kobieta") {
  const std::string tag = "DANE UCZNIA";
  return {{tag, "Imie_DATA_EDIT", name},         {tag, "UrodzonyDnia_DATA_EDIT", "1 maja 2001"},
          {tag, "Plec_DATA_COMBOBOX", sex},      {tag, "UrodzonyRok_DATA_COMBOBOX", "2001 r."},
          {tag, "UrodzonyMiasto_DATA_COMBOBOX", cp1250("Kraków")},
          {tag, "UrodzonyWoj_DATA_COMBOBOX", cp1250("małopolskie")},
          {tag, "NrDziennika_DATA_EDIT", "12"},   {tag, "Nazwisko_DATA_EDIT", surname},
          {tag, "NrPesel_DATA_EDIT", pesel}};
}

class StudentTest : public AppTest {
 protected:
  using AppTest::AppTest;
  // The program's errors logged so far: (fun, info), oldest first.
  Rows loggedErrors() const {
    const std::string log = dirs.data() + "/logs.sqdb";
    return std::filesystem::exists(cp1250ToUtf8(log)) ? sqlRows(log, "select fun, info from `error`") : Rows {};
  }
  void SetUp() override {
    AppTest::SetUp();
    start();
    script.boxes.clear();
  }

  std::string documentPath(const std::string& name = "klasa.sqtvk") const {
    return cp1250FromUtf8(dirs.root()) + "/" + name;
  }
  std::string tmp() const { return dirs.data() + "/data_tmp.tmp"; }

  // A document file as another copy of the program leaves it.
  std::string makeDocumentFile(const std::vector<TStudentFile>& students, const std::string& name = "klasa.sqtvk") {
    const std::string path = documentPath(name);
    std::string sql;
    for (const TStudentFile& s : students) {
      sql += "create table `PESEL" + s.pesel + "`( id TEXT, comp_name TEXT, value TEXT );";
      for (const auto& r : s.rows)
        sql += "insert into `PESEL" + s.pesel + "` values('" + sqlQuoted(r[0]) + "', '" + sqlQuoted(r[1]) + "', '" +
               sqlQuoted(r[2]) + "');";
    }
    sqlExec(path, "begin;" + (sql.empty() ? "create table x(a); drop table x;" : sql) + "commit;");
    return path;
  }
  void open(const std::string& path) { vFunOtworzPlikZLiniiPolecen(TSystemPath::fromText(path)); }
  // The texts of the message boxes shown so far, readable in a failure.
  std::string shownBoxes() const {
    std::string all;
    for (const TShownBox& box : script.boxes) all += cp1250ToUtf8(box.text) + "\n";
    return all;
  }
  // A student (first name Jan) added through the dialog, as a user does it.
  void addStudent(const std::string& surname, const std::string& pesel) {
    script.onShowModal = [surname, pesel](QDialog*) {
      bFunSetText(FDaneUcznia->Nazwisko_DATA_EDIT, surname);
      bFunSetText(FDaneUcznia->Imie_DATA_EDIT, "Jan");
      FDaneUcznia->Plec_DATA_COMBOBOX->setCurrentIndex(1);
      bFunSetText(FDaneUcznia->NrPesel_DATA_EDIT, pesel);
      FDaneUcznia->OKButtonClick();
      return FDaneUcznia->result();
    };
    FGlowna->DodajUczniaToolButtonClick();
    script.onShowModal = nullptr;
  }

  Rows stored(const std::string& table) const {
    return sqlRows(tmp(), "select id, comp_name, value from `" + table + "` order by rowid");
  }
  std::vector<std::string> tables() const {
    std::vector<std::string> names;
    for (const auto& r : sqlRows(tmp(), "select name from sqlite_master where type='table' order by name"))
      names.push_back(r[0]);
    return names;
  }

  std::vector<std::string> roots() const {
    std::vector<std::string> names;
    for (int i = 0; i < FGlowna->TreeView->topLevelItemCount(); ++i)
      names.push_back(cp1250FromUtf8(FGlowna->TreeView->topLevelItem(i)->text(0).toStdString()));
    return names;
  }
  // Selects a node as a click would: child -1 is the student node itself.
  // The child of a student's node that has no document: the last, after
  // the documents the tree offers.
  static int documentlessChild() { return static_cast<int>(referenceTreeDocuments().size()); }
  void select(int student, int child = -1) {
    QTreeWidgetItem* node = FGlowna->TreeView->topLevelItem(student);
    if (child >= 0) node = node->child(child);
    FGlowna->TreeView->setCurrentItem(node);
  }
  std::string text(QWidget* field) const { return strFunGetText(field); }
  // Runs a command whose modal window is really shown, active, and handled
  // by `act` as the user would; the window's result is the command's.
  void runShown(const std::function<void()>& command, const std::function<void(QDialog*)>& act) {
    script.onShowModal = [&](QDialog* d) {
      d->setResult(0);
      showActive(d);
      act(d);
      const int result = d->result();
      d->hide();
      return result;
    };
    command();
    script.onShowModal = nullptr;
  }
};

// The program of a user whose data folder lies under a home folder with
// Polish letters in its name.
class PolishHomeTest : public StudentTest {
 protected:
  PolishHomeTest() : StudentTest(kPolishHomeData) {}
};
