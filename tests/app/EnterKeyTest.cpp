// Enter in a field of any window of the program: it never presses a button
// the window does not name as its default, so nothing typed is overwritten
// and no window closes; in a memo it starts a new line. The small dialogs
// with one confirming button name it: there Enter confirms.
#include "StudentFixture.h"

#include "app/AktualizacjaUnit.h"
#include "app/DaneSzkoly.h"
#include "forms/DocumentForm.h"
#include "forms/DocumentForms.h"
#include "render/Kalibracja.h"
#include "support/FormReference.h"
#include "toolkit/Form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>

#include <map>

namespace {

enum class TFieldKind { Edit, Combo, EditableCombo, Memo, CheckBox };

const char* kindName(TFieldKind kind) {
  switch (kind) {
    case TFieldKind::Edit: return "edit";
    case TFieldKind::Combo: return "drop-down list";
    case TFieldKind::EditableCombo: return "editable combo box";
    case TFieldKind::Memo: return "memo";
    case TFieldKind::CheckBox: return "check box";
  }
  return "";
}

std::optional<TFieldKind> fieldKind(const QObject* component) {
  if (qobject_cast<const QLineEdit*>(component)) return TFieldKind::Edit;
  if (auto* combo = qobject_cast<const QComboBox*>(component))
    return combo->isEditable() ? TFieldKind::EditableCombo : TFieldKind::Combo;
  if (qobject_cast<const QPlainTextEdit*>(component)) return TFieldKind::Memo;
  if (qobject_cast<const QCheckBox*>(component)) return TFieldKind::CheckBox;
  return std::nullopt;
}

// What a field holds, as the user sees it.
std::string state(const QObject* field) {
  if (auto* box = qobject_cast<const QCheckBox*>(field)) return box->isChecked() ? "[x]" : "[ ]";
  // An editable box shows its text (Qt may select the item of that text);
  // a drop-down list its chosen item.
  if (auto* combo = qobject_cast<const QComboBox*>(field); combo && !combo->isEditable())
    return std::to_string(combo->currentIndex()) + ":" + combo->currentText().toStdString();
  return strFunGetText(field);
}

struct TField {
  QWidget* widget;
  std::string name;
  TFieldKind kind;
};

std::vector<TField> fieldsOf(const TFormBase& form) {
  std::vector<TField> fields;
  for (int i = 0; i < form.ComponentCount(); ++i) {
    auto* widget = qobject_cast<QWidget*>(form.Components(i));
    const auto kind = fieldKind(widget);
    if (!widget || !kind || widget->focusPolicy() == Qt::NoFocus) continue;
    fields.push_back({widget, form.ComponentName(i).toStdString(), *kind});
  }
  return fields;
}

// A value in every field the user could type into or choose, so that a
// button that fills or empties fields shows.
void fillIn(const std::vector<TField>& fields) {
  for (const TField& f : fields) {
    if (auto* edit = qobject_cast<QLineEdit*>(f.widget); edit && !edit->isReadOnly() && edit->text().isEmpty())
      bFunSetText(edit, "7");
    if (auto* combo = qobject_cast<QComboBox*>(f.widget)) {
      if (combo->isEditable() && combo->currentText().isEmpty())
        combo->setEditText("7");
      else if (!combo->isEditable() && combo->count() > 1 && combo->currentIndex() < 1)
        combo->setCurrentIndex(1);
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(f.widget); memo && !memo->isReadOnly())
      memo->setPlainText("7");
  }
}

}  // namespace

class EnterKeyTest : public StudentTest {};

TEST_F(EnterKeyTest, EnterInAnyFieldOfAnyWindowPressesNoButtonAndKeepsWhatWasTyped) {
  // Messages that a pressed button would show are answered and counted.
  std::map<TFieldKind, int> tried;
  int windows = 0, memoLines = 0;
  for (QWidget* window : vFunOkna()) {
    auto* form = dynamic_cast<TFormBase*>(window);
    ASSERT_TRUE(form);
    ++windows;
    // The calibration editor names a default button ("Zastosuj"), and so do
    // the student-data and school-template dialogs ("OK"): Enter presses
    // that one there, and nothing anywhere else. The dialogs' OK, which
    // saves and closes, is tried on its own below; here it is only counted.
    QPushButton* named = window == FKalibracja    ? FKalibracja->SaveButton
                         : window == FDaneUcznia  ? FDaneUcznia->OKButton
                         : window == FDaneSzkoly ? FDaneSzkoly->OKButton
                                                  : nullptr;
    if (named && window != FKalibracja) QObject::disconnect(named, &QAbstractButton::clicked, nullptr, nullptr);
    int namedClicks = 0;
    std::vector<QMetaObject::Connection> watching;
    if (named) watching.push_back(QObject::connect(named, &QAbstractButton::clicked, [&] { ++namedClicks; }));
    std::vector<QAbstractButton*> buttons;
    int otherClicks = 0;
    std::string pressed;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
      if (button != named && !qobject_cast<QCheckBox*>(button))
        watching.push_back(QObject::connect(button, &QAbstractButton::clicked, [&, button] {
          ++otherClicks;
          pressed += window->objectName().toStdString() + "/" + button->objectName().toStdString() + " ";
        }));

    if (window != FGlowna) window->show();
    QApplication::setActiveWindow(window);
    QCoreApplication::processEvents();
    // The update window's download (from no server here) ends first.
    if (window == FAktualizacja) {
      ASSERT_TRUE(QTest::qWaitFor([] { return FAktualizacja->btnClose->isEnabled(); }, 10000));
    }
    const std::vector<TField> fields = fieldsOf(*form);
    fillIn(fields);
    for (const TField& field : fields) {
      bringToFront(field.widget);
      if (!field.widget->isVisible() || !field.widget->isEnabled()) continue;
      std::vector<std::string> before;
      for (const TField& f : fields) before.push_back(state(f.widget));
      const int linesBefore =
          field.kind == TFieldKind::Memo ? qobject_cast<QPlainTextEdit*>(field.widget)->blockCount() : 0;

      // Reached by Tab, as a user does: the whole text is selected. A memo
      // takes Enter at the end of its text.
      field.widget->setFocus(Qt::TabFocusReason);
      if (auto* memo = qobject_cast<QPlainTextEdit*>(field.widget)) memo->moveCursor(QTextCursor::End);
      QTest::keyClick(field.widget, Qt::Key_Return);
      QCoreApplication::processEvents();

      const std::string where = window->objectName().toStdString() + " / " + field.name + " (" +
                                kindName(field.kind) + ")";
      ++tried[field.kind];
      EXPECT_EQ(otherClicks, 0) << where << " pressed " << pressed;
      EXPECT_EQ(namedClicks, named ? 1 : 0) << where;
      namedClicks = otherClicks = 0;
      pressed.clear();
      EXPECT_TRUE(window->isVisible()) << where;
      for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].widget == field.widget) continue;
        EXPECT_EQ(state(fields[i].widget), before[i]) << where << " changed " << fields[i].name;
      }
      if (field.kind == TFieldKind::Memo) {
        auto* memo = qobject_cast<QPlainTextEdit*>(field.widget);
        // A new line, unless the memo already holds all the lines it may.
        const int lines = memo->blockCount();
        EXPECT_TRUE(lines == linesBefore + 1 || (lines == linesBefore && !memo->isReadOnly())) << where;
        EXPECT_TRUE(memo->toPlainText().startsWith("7")) << where;
        if (lines == linesBefore + 1) ++memoLines;
        memo->setPlainText("7");
      } else {
        EXPECT_EQ(state(field.widget), before[static_cast<std::size_t>(&field - fields.data())]) << where;
      }
      if (!window->isVisible()) window->show();
    }
    if (window != FGlowna) window->hide();
    for (const auto& connection : watching) QObject::disconnect(connection);
  }
  EXPECT_EQ(windows, static_cast<int>(referenceWindowOrder().size()));
  // Every kind of field the windows have was tried.
  EXPECT_GT(tried[TFieldKind::Edit], 900);
  EXPECT_GT(tried[TFieldKind::Combo], 0);
  EXPECT_GT(tried[TFieldKind::EditableCombo], 0);
  EXPECT_GT(tried[TFieldKind::Memo], 10);
  EXPECT_GT(tried[TFieldKind::CheckBox], 0);
  EXPECT_GT(memoLines, 10);
}

// The user's road through a certificate with a school-template button: the
// number typed (Polish letters too), Enter, and the number and the school
// fields are still as they were typed.
TEST_F(EnterKeyTest, EnterAfterTypingTheNumberOfACertificateKeepsItAndTheSchoolFields) {
  for (TDocumentForm* form : vFunDocumentForms()) {
    if (!form->findComponent("LoadSchoolDataButton")) continue;
    form->vFunFillSampleData();
    form->show();
    QApplication::setActiveWindow(form);
    std::vector<std::pair<QObject*, std::string>> before;
    QLineEdit* first = nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i) {
      auto* edit = qobject_cast<QLineEdit*>(form->Components(i));
      if (!edit || !edit->isEnabled() || edit->isReadOnly()) continue;
      if (!first) first = edit;
      before.emplace_back(edit, strFunGetText(edit));
    }
    ASSERT_TRUE(first) << form->objectName().toStdString();
    first->setFocus(Qt::TabFocusReason);
    first->clear();
    for (const QChar letter : QString::fromUtf8("ąę"))
      QTest::sendKeyEvent(QTest::Click, first, Qt::Key_unknown, QString(letter), Qt::NoModifier);
    QTest::keyClick(first, Qt::Key_Enter);
    EXPECT_EQ(strFunGetText(first), cp1250("ąę")) << form->objectName().toStdString();
    for (const auto& [edit, text] : before) {
      if (edit == first) continue;
      EXPECT_EQ(strFunGetText(edit), text) << edit->objectName().toStdString();
    }
    EXPECT_TRUE(form->isVisible());
    form->hide();
  }
}

// A document form opens with the keyboard in its first field: what the user
// types at once lands there, not on a tab or a button of the panel.
TEST_F(EnterKeyTest, AFormOpensWithTheKeyboardInItsFirstField) {
  for (TDocumentForm* form : vFunDocumentForms()) {
    const std::string name = form->objectName().toStdString();
    showActive(form);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_TRUE(focused) << name;
    EXPECT_TRUE(fieldKind(focused)) << name << " starts in " << focused->metaObject()->className() << " "
                                    << focused->objectName().toStdString();
    // The field is the head of the keyboard's way: no field before it.
    QWidget* before = focused->previousInFocusChain();
    while (before != focused && !(before->isVisible() && before->isEnabled() && (before->focusPolicy() & Qt::TabFocus)))
      before = before->previousInFocusChain();
    EXPECT_FALSE(fieldKind(before) && before->parentWidget() == focused->parentWidget()) << name;
    if (auto* edit = qobject_cast<QLineEdit*>(focused); edit && !edit->isReadOnly()) {
      edit->clear();
      // Typed into the window, as the keyboard does: the window hands it on.
      QTest::keyClick(form->windowHandle(), Qt::Key_1);
      QTest::keyClick(form->windowHandle(), Qt::Key_2);
      EXPECT_EQ(strFunGetText(edit), "12") << name;
    }
    form->hide();
  }
}

// The small dialogs with one confirming button: Enter typed in any field
// presses their OK. A student typed into "Dane ucznia" and confirmed with
// Enter is saved and the dialog closes; one without a first name is told so
// and the dialog stays open with the keyboard in that field.
TEST_F(EnterKeyTest, EnterConfirmsTheStudentDialog) {
  struct Case {
    const char* what;
    QString name;
    int back;  // Shift+Tab from the PESEL number to the field where Enter is pressed
    bool saved;
  };
  const Case cases[] = {
      {"Enter in the PESEL number", "Anna", 0, true},
      {"Enter in the town (editable list)", QString::fromUtf8("Łucja"), 3, true},
      {"Enter in the sex (drop-down list)", "Ewa", 6, true},
      {"Enter with no first name", "", 0, false},
  };
  int pesel = 10;
  for (const Case& c : cases) {
    const std::string number = "052101123" + std::to_string(pesel++);
    script.boxes.clear();
    runShown([] { FGlowna->DodajUczniaToolButtonClick(); }, [&](QDialog* d) {
      auto type = [&](const QString& text) {
        for (const QChar letter : text) {
          const char16_t u = letter.toUpper().unicode();
          QTest::sendKeyEvent(QTest::Click, d->windowHandle(), u < 128 ? Qt::Key(u) : Qt::Key_unknown, QString(letter),
                              Qt::NoModifier);
        }
      };
      auto press = [&](Qt::Key key, int times = 1, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        for (int i = 0; i < times; ++i) QTest::keyClick(d->windowHandle(), key, modifiers);
      };
      type(QString::fromUtf8("Żółkiewska"));
      press(Qt::Key_Tab);
      type(c.name);
      press(Qt::Key_Tab);
      type("k");
      press(Qt::Key_Tab, 6);
      type(QString::fromStdString(number));
      press(Qt::Key_Backtab, c.back, Qt::ShiftModifier);
      press(Qt::Key_Return);
      EXPECT_EQ(d->isVisible(), !c.saved) << c.what;
      if (!c.saved) {
        EXPECT_EQ(QApplication::focusWidget(), FDaneUcznia->Imie_DATA_EDIT) << c.what;
        press(Qt::Key_Escape);
      }
    });
    const std::vector<std::string> names = tables();
    EXPECT_EQ(std::count(names.begin(), names.end(), "PESEL" + number), c.saved ? 1 : 0) << c.what;
    if (!c.saved) {
      ASSERT_EQ(script.boxes.size(), 1u) << c.what;
      EXPECT_EQ(script.boxes[0].text, cp1250("Imię ucznia jest wymagane"));
    }
  }
}

// The school template typed and confirmed with Enter is kept; in the
// template's list of documents, too, Enter confirms.
TEST_F(EnterKeyTest, EnterConfirmsTheSchoolTemplate) {
  const std::string templateFile = dirs.data() + "/szablony.sqset";
  for (const bool inTheList : {false, true}) {
    const QString school = QString::fromUtf8(inTheList ? "Liceum im. Żółkiewskiego" : "Zespół Szkół nr 2");
    runShown([] { FGlowna->Szablondanychszkoy1Click(); }, [&](QDialog* d) {
      ASSERT_EQ(d, FDaneSzkoly);
      QWidget* field = QApplication::focusWidget();
      ASSERT_TRUE(field);
      qobject_cast<QLineEdit*>(field)->clear();
      for (const QChar letter : school)
        QTest::sendKeyEvent(QTest::Click, d->windowHandle(), Qt::Key_unknown, QString(letter), Qt::NoModifier);
      if (inTheList) FDaneSzkoly->DocTypeComboBox->setFocus(Qt::TabFocusReason);
      QTest::keyClick(d->windowHandle(), Qt::Key_Return);
      EXPECT_FALSE(d->isVisible());
      EXPECT_EQ(d->result(), mrOk);
    });
    std::string values;
    for (const auto& row : sqlRows(templateFile, "select value from school_data")) values += row[0] + "|";
    EXPECT_NE(values.find(cp1250FromUtf8(school.toStdString())), std::string::npos) << values;
  }
}
