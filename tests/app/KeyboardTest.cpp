// The keyboard as a secretary uses it: typed into the window (the window
// hands each key to its focused control), windows opened by the program's
// own commands and shown again and again. Every window starts in its first
// field (of the side in front), Tab leaves a memo as it leaves any field, and
// Escape closes a window as its "Anuluj" does, saving nothing.
#include "StudentFixture.h"
#include "support/FormReference.h"

#include "app/AktualizacjaUnit.h"
#include "app/DaneSzkoly.h"
#include "app/OProgramieUnit.h"
#include "app/Startup.h"
#include "forms/DocumentForm.h"
#include "forms/DocumentForms.h"
#include "forms/FormUnits.h"
#include "platform/Desktop.h"
#include "render/Drukowanie.h"
#include "render/Kalibracja.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <functional>

namespace {

// Keys typed into the window, as the keyboard gives them (Polish letters too).
void type(QWidget* window, const QString& text) {
  for (const QChar c : text) {
    const char16_t u = c.toUpper().unicode();
    const auto key = u < 128 ? Qt::Key(u) : Qt::Key_unknown;
    QTest::sendKeyEvent(QTest::Click, window->windowHandle(), key, QString(c), Qt::NoModifier);
  }
}

std::string focusName() {
  QWidget* focused = QApplication::focusWidget();
  return focused ? focused->objectName().toStdString() : std::string("(nothing)");
}

bool isField(const QWidget* w) {
  return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QCheckBox*>(w);
}

}  // namespace

class KeyboardTest : public StudentTest {
 protected:
  // The stored value of that document's component.
  std::string stored(const std::string& table, const std::string& tag, const std::string& name) const {
    for (const auto& row : StudentTest::stored(table))
      if (row[0] == tag && row[1] == name) return row[2];
    return "(no row)";
  }
};

// Three students typed with the keyboard alone: each time the dialog opens,
// the keyboard is in "nazwisko", wherever it was when the dialog closed.
TEST_F(KeyboardTest, TheStudentDialogOpensWithTheKeyboardInTheSurnameEveryTime) {
  auto addStudent = [&](const QString& surname, const QString& name, const char* sex, const char* pesel) {
    runShown([] { FGlowna->DodajUczniaToolButtonClick(); }, [&](QDialog* d) {
      EXPECT_EQ(focusName(), "Nazwisko_DATA_EDIT");
      type(d, surname);
      press(d, Qt::Key_Tab);
      type(d, name);
      press(d, Qt::Key_Tab);
      type(d, sex);  // the list takes the item of that first letter
      press(d, Qt::Key_Tab, Qt::NoModifier, 6);
      type(d, pesel);
      press(d, Qt::Key_Tab);  // to OK, which Enter presses
      EXPECT_EQ(focusName(), "OKButton");
      press(d, Qt::Key_Return);
    });
  };
  addStudent(QString::fromUtf8("Żółkiewska"), "Anna", "k", "05210112345");
  addStudent(QString::fromUtf8("Wiśniewski"), "Jan", "m", "05210154321");
  EXPECT_EQ(roots(), (std::vector<std::string> {cp1250("Wiśniewski Jan"), cp1250("Żółkiewska Anna")}));

  // Editing: the surname takes what is typed; the dialog is left from the
  // birth day with Escape.
  select(0);
  runShown([] { FGlowna->EdytujDaneUczniaToolButtonClick(); }, [&](QDialog* d) {
    EXPECT_EQ(focusName(), "Nazwisko_DATA_EDIT");
    type(d, QString::fromUtf8("Wiśniewski-Łęcki"));
    EXPECT_EQ(text(FDaneUcznia->Nazwisko_DATA_EDIT), cp1250("Wiśniewski-Łęcki"));
    press(d, Qt::Key_Tab, Qt::NoModifier, 3);
    EXPECT_EQ(focusName(), "UrodzonyDnia_DATA_EDIT");
    press(d, Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
  });
  EXPECT_EQ(roots(), (std::vector<std::string> {cp1250("Wiśniewski Jan"), cp1250("Żółkiewska Anna")}));

  addStudent(QString::fromUtf8("Łukasiewicz"), "Ewa", "k", "06230198765");
  EXPECT_EQ(roots(), (std::vector<std::string> {cp1250("Łukasiewicz Ewa"), cp1250("Wiśniewski Jan"),
                                                cp1250("Żółkiewska Anna")}));
}

// The main window starts with the keyboard in the list of students and has
// it there again when a student's dialog closes: Enter or the space bar
// typed next press no tool button ("Nowy plik" first of them, whose "Nie"
// would drop every student typed so far).
TEST_F(KeyboardTest, TheMainWindowKeepsTheKeyboardInTheListOfStudents) {
  FGlowna->hide();
  showActive(FGlowna);
  EXPECT_EQ(focusName(), "TreeView");
  runShown([] { FGlowna->DodajUczniaToolButtonClick(); }, [&](QDialog* d) {
    type(d, QString::fromUtf8("Żółkiewska"));
    press(d, Qt::Key_Tab);
    type(d, QString::fromUtf8("Łucja"));
    press(d, Qt::Key_Tab);
    type(d, "k");
    press(d, Qt::Key_Tab, Qt::NoModifier, 6);
    type(d, "05210112345");
    press(d, Qt::Key_Tab);
    press(d, Qt::Key_Return);
  });
  showActive(FGlowna);
  EXPECT_EQ(focusName(), "TreeView");
  script.boxes.clear();
  press(FGlowna, Qt::Key_Space);
  press(FGlowna, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(roots(), (std::vector<std::string> {cp1250("Żółkiewska Łucja")}));
}

// A certificate keeps its side from one show to the next: it opens with the
// keyboard in the first field of the side in front, and each side brought
// forward (Ctrl+Tab, a click on its tab) takes the keyboard into its first
// field, so grades never land in fields of a hidden side.
TEST_F(KeyboardTest, ACertificateTakesTheKeyboardIntoTheFirstFieldOfTheSideInFront) {
  open(makeDocumentFile({{"05210112345", personalRows(cp1250("Żółkiewska"), "Anna", "05210112345")}}));
  const std::string table = "PESEL05210112345";
  const char side1[] = "ZMIENNA_RokSzkolny1_STR1_DATA_EDIT";
  const char side2[] = "ZMIENNA_ZachowanieOcn_STR2_DATA_COMBOBOX";
  const std::string tag = "KLASA Ia TARVEK";
  select(0, 0);  // MEN-I/21a/2 after class I
  auto* tabs = FKlasa1a->findComponentAs<QTabWidget>("PageControl1");
  ASSERT_TRUE(tabs);
  runShown([] { FGlowna->EdytujSwiadectwoToolButtonClick(); }, [&](QDialog* d) {
    ASSERT_EQ(d, FKlasa1a);
    EXPECT_EQ(focusName(), side1);
    type(d, "2024");
    press(d, Qt::Key_Tab, Qt::NoModifier, 3);  // further down side 1
    press(d, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(focusName(), side2);
    type(d, "dobre");
    press(d, Qt::Key_Tab);  // further down side 2
    press(d, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(focusName(), side1);
    press(d, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(focusName(), side2);
    type(d, "dobre");  // in place of what the field held
    QTest::mouseClick(FKlasa1a->OKButton, Qt::LeftButton);  // closed on side 2
  });
  EXPECT_EQ(stored(table, tag, "ZMIENNA_RokSzkolny1_STR1_DATA_EDIT"), "2024");
  EXPECT_EQ(stored(table, tag, side2), "dobre");

  // Opened again on side 2: the keyboard is in its first field.
  runShown([] { FGlowna->EdytujSwiadectwoToolButtonClick(); }, [&](QDialog* d) {
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(focusName(), side2);
    type(d, "wzorowe");
    EXPECT_EQ(text(FKlasa1a->findComponentAs<QWidget>(side2)), "wzorowe");
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(0).center());
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(focusName(), side1);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(1).center());
    EXPECT_EQ(focusName(), side2);
    press(d, Qt::Key_Escape);  // as "Anuluj": nothing typed is saved
    EXPECT_FALSE(d->isVisible());
  });
  EXPECT_EQ(stored(table, tag, side2), "dobre");
  EXPECT_EQ(text(FKlasa1a->findComponentAs<QWidget>(side2)), "dobre");
}

// Every window shown again starts where it started the first time: in its
// first field, never on a tab, on the button that closed it, or wherever the
// keyboard was left.
TEST_F(KeyboardTest, EveryWindowShownAgainStartsInItsFirstField) {
  int windows = 0;
  for (QWidget* window : vFunOkna()) {
    if (window == FGlowna || window == FAktualizacja) continue;  // the update window starts a download
    const std::string name = window->objectName().toStdString();
    if (auto* tabs = window->findChild<QTabWidget*>()) tabs->setCurrentIndex(tabs->count() - 1);
    showActive(window);
    QWidget* first = QApplication::focusWidget();
    const bool hasField = [&] {
      for (QWidget* w : window->findChildren<QWidget*>())
        if (isField(w) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) return true;
      return false;
    }();
    if (hasField) {
      EXPECT_TRUE(isField(first)) << name << " starts in " << focusName();
    }
    press(window, Qt::Key_Tab, Qt::NoModifier, 3);
    window->hide();
    showActive(window);
    EXPECT_EQ(QApplication::focusWidget(), first) << name << " starts in " << focusName();
    window->hide();
    ++windows;
  }
  // Every window start-up makes, the two left aside above apart.
  EXPECT_EQ(windows, static_cast<int>(referenceWindowOrder().size()) - 2);
}

// Tab and Shift+Tab leave a memo for the next and the previous field; Enter
// still makes a new line; a TAB the stored text holds stays in it.
TEST_F(KeyboardTest, TabLeavesAMemoOfARecordSheetAsItLeavesAnyField) {
  const std::string tag = "ARKUSZ OCEN STR 2b TARVEK";
  Rows rows = personalRows(cp1250("Żółkiewska"), "Anna", "05210112345");
  rows.push_back({tag, "ZMIENNA_InfoOEgzaminach_DATA_MEMO01", "egzamin\tpoprawkowy"});
  open(makeDocumentFile({{"05210112345", rows}}));
  const std::string table = "PESEL05210112345";
  select(0, 7);  // MEN-I/42b/2 class one
  runShown([] { FGlowna->EdytujSwiadectwoToolButtonClick(); }, [&](QDialog* d) {
    auto* form = dynamic_cast<TDocumentForm*>(d);
    ASSERT_TRUE(form);
    auto* memo = form->findComponentAs<QPlainTextEdit>("ZMIENNA_Szczegolne_DATA_MEMO");
    ASSERT_TRUE(memo);
    memo->setFocus(Qt::MouseFocusReason);  // clicked into
    type(d, "laureat");
    press(d, Qt::Key_Return);
    type(d, "olimpiady");
    press(d, Qt::Key_Tab);
    QWidget* next = QApplication::focusWidget();
    ASSERT_NE(next, memo);
    EXPECT_TRUE(isField(next)) << focusName();
    type(d, "12");
    EXPECT_EQ(text(next), "12");
    press(d, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), memo) << focusName();
    press(d, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_NE(QApplication::focusWidget(), memo) << focusName();
    EXPECT_EQ(vFunGetLines(memo), (std::vector<std::string> {"laureat", "olimpiady"}));
    QTest::mouseClick(form->OKButton, Qt::LeftButton);
  });
  EXPECT_EQ(stored(table, tag, "ZMIENNA_Szczegolne_DATA_MEMO01"), "laureat");
  EXPECT_EQ(stored(table, tag, "ZMIENNA_Szczegolne_DATA_MEMO02"), "olimpiady");
  EXPECT_EQ(stored(table, tag, "ZMIENNA_InfoOEgzaminach_DATA_MEMO01"), "egzamin\tpoprawkowy");
  for (const auto& row : StudentTest::stored(table)) {
    if (row[1].find("InfoOEgzaminach") == std::string::npos) {
      EXPECT_EQ(row[2].find('\t'), std::string::npos) << row[1];
    }
  }

  // Every memo of every window: Tab goes on to another control.
  int memos = 0;
  for (QWidget* window : vFunOkna()) {
    for (auto* memo : window->findChildren<QPlainTextEdit*>()) {
      if (window != FGlowna) showActive(window);
      bringToFront(memo);
      if (!memo->isVisible() || !memo->isEnabled()) continue;
      memo->setFocus(Qt::MouseFocusReason);
      memo->moveCursor(QTextCursor::End);
      const QString before = memo->toPlainText();
      press(window, Qt::Key_Tab);
      EXPECT_NE(QApplication::focusWidget(), memo) << memo->objectName().toStdString();
      EXPECT_EQ(memo->toPlainText(), before) << memo->objectName().toStdString();
      ++memos;
    }
    if (window != FGlowna) window->hide();
  }
  EXPECT_GT(memos, 40);
}

// Escape from any control of any window that has a cancel or close button
// closes it as that button does.
TEST_F(KeyboardTest, EscapeFromAnyControlClosesEveryWindowAsItsCancelButtonDoes) {
  int windows = 0, forms = 0;
  for (QWidget* window : vFunOkna()) {
    if (window == FGlowna || window == FAktualizacja) continue;
    auto* dialog = qobject_cast<QDialog*>(window);
    ASSERT_TRUE(dialog);
    bool cancels = false;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
      for (const char* caption : {"Anuluj", "Zamknij", "OK"})
        cancels |= b->text() == QString::fromUtf8(caption) && b->window() == window;
    if (!cancels) continue;
    ++windows;
    forms += qobject_cast<TDocumentForm*>(window) != nullptr;
    const std::string name = window->objectName().toStdString();
    for (QWidget* control : window->findChildren<QWidget*>()) {
      if (control->window() != window || !(control->focusPolicy() & Qt::TabFocus)) continue;
      if (!window->isVisible()) showActive(window);
      bringToFront(control);
      if (!control->isVisible() || !control->isEnabled()) continue;
      control->setFocus(Qt::TabFocusReason);
      dialog->setResult(mrNone);
      press(window, Qt::Key_Escape);
      EXPECT_FALSE(window->isVisible()) << name << " stays open on Escape in " << control->objectName().toStdString();
      if (window != FKalibracja) {
        EXPECT_EQ(dialog->result(), mrCancel) << name;
      }
    }
    window->hide();
  }
  // Every document form and seven dialogs of the shell.
  EXPECT_EQ(forms, kFormReferenceCount);
  EXPECT_EQ(windows - forms, 7);
}

// Escape in the school-template dialog and in the print dialog saves and
// prints nothing, as "Anuluj".
TEST_F(KeyboardTest, EscapeSavesNoTemplateAndPrintsNothing) {
  const std::string templateFile = dirs.data() + "/szablony.sqset";
  auto templateValues = [&] {
    std::string all;
    if (std::filesystem::exists(templateFile) &&
        !sqlRows(templateFile, "select name from sqlite_master where name = 'school_data'").empty())
      for (const auto& row : sqlRows(templateFile, "select value from school_data")) all += row[0] + "|";
    return all;
  };
  const std::string before = templateValues();
  runShown([] { FGlowna->Szablondanychszkoy1Click(); }, [&](QDialog* d) {
    ASSERT_EQ(d, FDaneSzkoly);
    EXPECT_TRUE(isField(QApplication::focusWidget())) << focusName();
    type(d, QString::fromUtf8("Zespół Szkół"));
    EXPECT_EQ(text(QApplication::focusWidget()), cp1250("Zespół Szkół"));
    press(d, Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
  });
  EXPECT_EQ(templateValues(), before);

  open(makeDocumentFile({{"05210112345", personalRows(cp1250("Żółkiewska"), "Anna", "05210112345")}}));
  select(0, 0);
  script.boxes.clear();
  runShown([] { FGlowna->DrukujToolButtonClick(); }, [&](QDialog* d) {
    EXPECT_TRUE(isField(QApplication::focusWidget())) << focusName();
    press(d, Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), mrCancel);
  });
  EXPECT_TRUE(script.fileDialogs.empty());  // no PDF asked for
  EXPECT_TRUE(script.boxes.empty());
}

// ------------------------------------------------------- the usual keys

namespace {

// The desktop's opener replaced for a test: what it was handed.
struct TOpened {
  std::vector<std::string> targets;
  TOpened() {
    platform::setDesktopOpener([this](const std::string& target) {
      targets.push_back(target);
      return true;
    });
  }
  ~TOpened() { platform::setDesktopOpener(nullptr); }
};

QKeySequence keys(Qt::Key key, Qt::KeyboardModifiers modifiers) { return QKeySequence(key | modifiers); }

}  // namespace

// Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+Shift+S, Ctrl+P and F1 typed into the main
// window run "Nowy plik", "Otwórz plik", "Zapisz", "Zapisz jako", "Drukuj"
// and the help, each shown beside its menu item; Alt with the underlined
// letter opens each menu.
TEST_F(KeyboardTest, TheUsualKeysRunTheirCommandsAndAltOpensTheMenus) {
  const std::string path = makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}});
  open(path);
  showActive(FGlowna);
  select(0, 0);
  TOpened opened;
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* item;
    std::function<void()> before;
    std::function<bool()> ran;
  };
  const Case cases[] = {
      {Qt::Key_O, Qt::ControlModifier, "Otwrzplik1", nullptr,
       [&] { return !script.fileDialogs.empty() && script.fileDialogs.back().title == "Wczytaj plik"; }},
      {Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, "Zapiszjako1", nullptr,
       [&] { return !script.fileDialogs.empty() && script.fileDialogs.back().title == "Zapisz"; }},
      {Qt::Key_S, Qt::ControlModifier, "Zapisz1", [] { FGlowna->bDataModified = true; },
       [&] { return script.fileDialogs.empty() && !FGlowna->bDataModified; }},  // into the open file
      {Qt::Key_P, Qt::ControlModifier, "Drukujwybranewiadectwo1", nullptr,
       [&] { return script.modalRuns == std::vector<QDialog*> {FDrukuj}; }},
      {Qt::Key_F1, Qt::NoModifier, "Instrukcjaobsugi1", nullptr, [&] { return opened.targets.size() == 1; }},
      {Qt::Key_N, Qt::ControlModifier, "Nowyplik1", [] { FGlowna->bDataModified = true; },
       [&] {
         return script.boxes.size() == 1 && script.boxes[0].caption == "Edycja" && roots().empty();
       }},  // "Nie" to saving: the document is closed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    script.boxes.clear();
    script.fileDialogs.clear();
    script.modalRuns.clear();
    opened.targets.clear();
    if (c.before) c.before();
    FGlowna->TreeView->setFocus();
    press(FGlowna, c.key, c.modifiers);
    EXPECT_TRUE(c.ran());
    EXPECT_EQ(FGlowna->findComponentAs<QAction>(c.item)->shortcut(), keys(c.key, c.modifiers));
  }

  const std::pair<Qt::Key, const char*> menus[] = {{Qt::Key_P, "Plik1"},
                                                   {Qt::Key_U, "Uczniowie1"},
                                                   {Qt::Key_W, "wiadectwa1"},
                                                   {Qt::Key_S, "Ustawienia1"},
                                                   {Qt::Key_C, "Pomoc1"}};
  for (const auto& [key, menu] : menus) {
    SCOPED_TRACE(menu);
    FGlowna->TreeView->setFocus();
    press(FGlowna, key, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    EXPECT_EQ(popup, FGlowna->findComponentAs<QMenu>(menu));
    if (popup) popup->close();
  }
}

// In the student tree Enter or a double click opens a document's form as
// "Edytuj wybrane świadectwo" does and a student's data as "Edytuj dane
// wybranego ucznia" does; Delete on a student asks as "Usuń" does, naming
// the PESEL number of a student whose name another one has too.
TEST_F(KeyboardTest, TheTreeOpensANodeByEnterOrADoubleClickAndDeletesAStudentByDelete) {
  open(makeDocumentFile({{"111", personalRows("Nowak", "Anna", "111")},
                         {"222", personalRows("Nowak", "Anna", "222")},
                         {"333", personalRows("Lis", "Ewa", "333")}}));
  ASSERT_EQ(roots(), (std::vector<std::string> {"Lis Ewa", "Nowak Anna", "Nowak Anna"}));
  showActive(FGlowna);
  QTreeWidget* tree = FGlowna->TreeView;
  tree->setFocus();
  // The meeting sheet's place among a student's documents, from its row (a
  // form added later may stand after it).
  const int meeting = referenceOf("TFWywiadowka")->tree - 1;
  auto doubleClick = [&](int student, int child) {
    select(student, child);
    QTreeWidgetItem* node = tree->currentItem();
    if (node->parent()) node->parent()->setExpanded(true);
    tree->scrollToItem(node);
    // Through the window, as the system gives it: press, release, press, release.
    QTest::mouseDClick(FGlowna->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                       tree->viewport()->mapTo(FGlowna, tree->visualItemRect(node).center()));
  };
  struct Case {
    const char* what;
    std::function<void()> act;
    QDialog* opens;
  };
  const Case cases[] = {
      {"Enter on a document", [&] { select(1, 0); press(FGlowna, Qt::Key_Return); }, FKlasa1a},
      {"Enter of the keypad on a student", [&] { select(2); press(FGlowna, Qt::Key_Enter, Qt::KeypadModifier); },
       FDaneUcznia},
      {"a double click on a document", [&] { doubleClick(0, meeting); }, FWywiadowka},
      {"a double click on a student", [&] { doubleClick(1, -1); }, FDaneUcznia},
      {"Enter on the node without a document", [&] { select(0, documentlessChild()); press(FGlowna, Qt::Key_Return); },
       nullptr},
      {"Delete on a document", [&] { select(0, 0); press(FGlowna, Qt::Key_Delete); }, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    script.modalRuns.clear();
    c.act();
    EXPECT_EQ(script.modalRuns, c.opens ? std::vector<QDialog*> {c.opens} : std::vector<QDialog*> {});
    if (c.opens == FDaneUcznia) {
      EXPECT_TRUE(FDaneUcznia->bEditMode);
    }
  }
  // Asked only about the students, never about a document's node.
  const auto deleteQuestions = [&] {
    return std::count_if(script.boxes.begin(), script.boxes.end(),
                         [](const TShownBox& b) { return b.caption == cp1250("Usuń"); });
  };
  EXPECT_EQ(deleteQuestions(), 0);

  const std::string question = cp1250("Czy na pewno chcesz skasować dane ucznia: \n");
  script.boxes.clear();
  select(2);
  script.answers = {IDYES};
  press(FGlowna, Qt::Key_Delete);
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0], (TShownBox {question + "Nowak Anna (PESEL: 222)", cp1250("Usuń"), MB_YESNO | MB_ICONWARNING}));
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL111", "PESEL333"}));

  // Without a namesake the question stands as it always did.
  script.boxes.clear();
  select(1);
  script.answers = {IDNO};
  press(FGlowna, Qt::Key_Delete);
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].text, question + "Nowak Anna");
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL111", "PESEL333"}));
}

// While a modal window is open (here a certificate's form), none of the main
// window's keys does anything, typed into the form or into the main window.
TEST_F(KeyboardTest, NoKeyOfTheMainWindowWorksWhileAModalWindowIsOpen) {
  open(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}}));
  select(0, 0);
  FGlowna->bDataModified = true;
  showActive(FGlowna);
  TOpened opened;
  const std::pair<Qt::Key, Qt::KeyboardModifiers> typed[] = {
      {Qt::Key_N, Qt::ControlModifier}, {Qt::Key_O, Qt::ControlModifier},
      {Qt::Key_S, Qt::ControlModifier}, {Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier},
      {Qt::Key_P, Qt::ControlModifier}, {Qt::Key_F1, Qt::NoModifier},
      {Qt::Key_P, Qt::AltModifier},     {Qt::Key_U, Qt::AltModifier}};
  runShown([] { FGlowna->EdytujSwiadectwoToolButtonClick(); }, [&](QDialog* d) {
    ASSERT_EQ(d, FKlasa1a);
    d->hide();
    d->setWindowModality(Qt::ApplicationModal);  // as its real modal run has it
    showActive(d);
    script.boxes.clear();
    for (QWidget* window : {static_cast<QWidget*>(d), static_cast<QWidget*>(FGlowna)})
      for (const auto& [key, modifiers] : typed) press(window, key, modifiers);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Delete}) press(FGlowna, key);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    d->setWindowModality(Qt::NonModal);
  });
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_TRUE(script.fileDialogs.empty());
  EXPECT_EQ(script.modalRuns, std::vector<QDialog*> {FKlasa1a});
  EXPECT_TRUE(opened.targets.empty());
  EXPECT_TRUE(FGlowna->bDataModified);
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL1"}));
}

// When a window closes, the keyboard goes back to the window that opened it,
// with or without a window manager to hand it back: the keys of the main
// window work at once after a student's dialog or a message closes.
TEST_F(KeyboardTest, TheKeyboardGoesBackToTheOpenerWhenAWindowCloses) {
  open(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}}));
  showActive(FGlowna);
  FGlowna->TreeView->setFocus();
  select(0);
  runShown([] { FGlowna->vFunOtworzWybranyWezel(); }, [&](QDialog* d) {
    ASSERT_EQ(d, FDaneUcznia);
    press(d, Qt::Key_Escape);
  });
  QCoreApplication::processEvents();
  EXPECT_EQ(QApplication::activeWindow(), FGlowna);
  script.fileDialogs.clear();
  press(FGlowna, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(script.fileDialogs.size(), 1u);
}
