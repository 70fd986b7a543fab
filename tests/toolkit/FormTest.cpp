#include "toolkit/Form.h"

#include "toolkit/Dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class TFTestForm : public TForm {
 public:
  TFTestForm() : TForm("FTest") {
    Make<QLabel>("Label1", this);
    Make<QLineEdit>("ZMIENNA_STR1_NAZWISKO_DATA_EDIT", this);
    Make<QLineEdit>("Edit2", this);
  }
  TCloseAction answer = TCloseAction::caFree;
  int closeRequests = 0;

 protected:
  void FormClose(TCloseAction& action) override {
    ++closeRequests;
    action = answer;
  }
};

}  // namespace

TEST(FormTest, EnumeratesComponentsInCreationOrder) {
  TFTestForm form;
  ASSERT_EQ(form.ComponentCount(), 3);
  EXPECT_EQ(form.ComponentName(0), "Label1");
  EXPECT_EQ(form.ComponentName(1), "ZMIENNA_STR1_NAZWISKO_DATA_EDIT");
  EXPECT_EQ(form.ComponentName(2), "Edit2");
  EXPECT_TRUE(qobject_cast<QLabel*>(form.Components(0)));
}

TEST(FormTest, FindsComponentsIgnoringLetterCase) {
  TFTestForm form;
  struct Case {
    const char* name;
    int index;  // -1: none
  };
  const Case cases[] = {
      {"Label1", 0}, {"LABEL1", 0}, {"label1", 0}, {"zmienna_str1_nazwisko_data_edit", 1},
      {"eDiT2", 2},  {"Edit", -1},  {"", -1},      {"Label1 ", -1},
  };
  for (const auto& c : cases) {
    QObject* expected = c.index < 0 ? nullptr : form.Components(c.index);
    EXPECT_EQ(form.findComponent(c.name), expected) << c.name;
  }
  EXPECT_TRUE(form.findComponentAs<QLineEdit>("edit2"));
  EXPECT_FALSE(form.findComponentAs<QLabel>("edit2"));
}

TEST(FormTest, ANameTakenInAnyCaseIsRefused) {
  TFTestForm form;
  EXPECT_THROW(form.Make<QLabel>("EDIT2", &form), std::logic_error);
}

TEST(FormTest, ADeletedComponentIsNoLongerFound) {
  TFTestForm form;
  delete form.findComponent("Edit2");
  EXPECT_EQ(form.findComponent("Edit2"), nullptr);
  EXPECT_EQ(form.Components(2), nullptr);
}

TEST(FormTest, TheCloseHandlerCanVetoClosing) {
  struct Case {
    TCloseAction action;
    bool closes;
  };
  for (const Case c : {Case {TCloseAction::caNone, false}, Case {TCloseAction::caHide, true},
                       Case {TCloseAction::caFree, true}}) {
    TFTestForm form;
    form.show();
    form.answer = c.action;
    EXPECT_EQ(form.close(), c.closes);
    EXPECT_EQ(form.isVisible(), !c.closes);
    EXPECT_EQ(form.bFunClosed(), c.closes);
    EXPECT_EQ(form.closeRequests, 1);
  }
}

TEST(FormTest, EveryEndOfADialogAsksItsCloseHandler) {
  struct TDialog : TDialogForm {
    TCloseAction answer = TCloseAction::caHide;
    int asked = 0;
    TDialog() : TDialogForm("FDialog") {}
    void FormClose(TCloseAction& action) override {
      ++asked;
      action = answer;
    }
  };
  struct Case {
    const char* how;
    std::function<void(TDialog&)> end;
    int result;
  };
  const Case cases[] = {
      {"a button's result", [](TDialog& d) { d.setModalResult(mrOk); }, mrOk},
      {"the close box", [](TDialog& d) { d.close(); }, mrCancel},
      {"Escape", [](TDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, mrCancel},
  };
  for (const Case& c : cases) {
    TDialog dialog;
    dialog.show();
    dialog.answer = TCloseAction::caNone;
    c.end(dialog);
    EXPECT_TRUE(dialog.isVisible()) << c.how;  // kept open
    dialog.answer = TCloseAction::caHide;
    c.end(dialog);
    EXPECT_FALSE(dialog.isVisible()) << c.how;
    EXPECT_EQ(dialog.result(), c.result) << c.how;
    EXPECT_EQ(dialog.asked, 2) << c.how;
  }
}

TEST(FormTest, ShowModalGoesThroughTheSeam) {
  TScriptedDialogs script;
  TDialogForm dialog("FDialog");
  script.onShowModal = [](QDialog* shown) { return shown->objectName() == "FDialog" ? mrOk : mrCancel; };
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  ASSERT_EQ(script.modalRuns.size(), 1u);
  EXPECT_EQ(script.modalRuns[0], &dialog);
}

// Enter in a field presses no push button unless the window names its
// default; a focused button is pressed by Enter; a memo takes it as a line.
TEST(FormTest, EnterPressesOnlyTheNamedDefaultOrTheFocusedButton) {
  for (bool withDefault : {false, true}) {
    TDialogForm dialog("FDialog");
    auto* edit = dialog.Make<QLineEdit>("Edit1", &dialog);
    auto* combo = dialog.Make<QComboBox>("ComboBox1", &dialog);
    combo->setEditable(true);
    auto* memo = dialog.Make<QPlainTextEdit>("Memo1", &dialog);
    auto* check = dialog.Make<QCheckBox>("CheckBox1", &dialog);
    auto* load = dialog.Make<QPushButton>("LoadButton", "Wczytaj", &dialog);
    auto* ok = dialog.Make<QPushButton>("OKButton", "OK", &dialog);
    int loads = 0, oks = 0;
    QObject::connect(load, &QPushButton::clicked, [&] { ++loads; });
    QObject::connect(ok, &QPushButton::clicked, [&] { ++oks; });
    if (withDefault) dialog.setDefaultButton(ok);
    QWidget::setTabOrder(load, edit);  // a button first in the tab order, as Qt picks its default from it
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QCoreApplication::processEvents();
    EXPECT_FALSE(load->isDefault());
    EXPECT_EQ(ok->isDefault(), withDefault);

    for (QWidget* field : std::initializer_list<QWidget*> {edit, combo, check}) {
      field->setFocus();
      QTest::keyClick(field, Qt::Key_Return);
      QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
    }
    EXPECT_EQ(loads, 0);
    EXPECT_EQ(oks, withDefault ? 6 : 0);
    memo->setFocus();
    QTest::keyClicks(memo, "a");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "b");
    EXPECT_EQ(memo->toPlainText(), "a\nb");
    EXPECT_EQ(oks, withDefault ? 6 : 0);
    // Tabbing over a button does not make it the default for later.
    load->setFocus(Qt::TabFocusReason);
    QTest::keyClick(load, Qt::Key_Return);
    EXPECT_EQ(loads, 1);
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(loads, 1);
    EXPECT_TRUE(dialog.isVisible());
  }
}

// The placement routine: a frame centred in (and never outside) the
// available area of screens of the sizes users have, panels included.
TEST(FormTest, AFrameIsCentredWhollyInsideTheAvailableArea) {
  struct Case {
    QRect available;
    QSize frame;
    QRect centred;
  };
  const Case cases[] = {
      {{0, 0, 1366, 728}, {751, 718}, {307, 5, 751, 718}},            // panel below
      {{0, 0, 1366, 728}, {751, 1150}, {307, 0, 751, 728}},           // taller than the screen: cut
      {{0, 30, 1600, 1170}, {751, 1150}, {424, 40, 751, 1150}},       // panel above
      {{1366, 0, 1920, 1040}, {672, 713}, {1990, 163, 672, 713}},     // a second screen
      {{0, 0, 1920, 1080}, {2000, 500}, {0, 290, 1920, 500}},         // wider than the screen: cut
  };
  for (const Case& c : cases) {
    const QRect centred = rectFunCentredFrame(c.frame, c.available);
    EXPECT_EQ(centred, c.centred);
    EXPECT_TRUE(c.available.contains(centred));
  }
  // A frame placed partly off the area is moved (and cut) into it.
  const QRect area(0, 0, 1600, 1160);
  EXPECT_EQ(rectFunFrameInside(QRect(425, 210, 751, 1150), area), QRect(425, 10, 751, 1150));
  EXPECT_EQ(rectFunFrameInside(QRect(-20, -5, 300, 200), area), QRect(0, 0, 300, 200));
  EXPECT_EQ(rectFunFrameInside(QRect(1500, 20, 300, 2000), area), QRect(1300, 0, 300, 1160));
  EXPECT_EQ(rectFunFrameInside(QRect(5, 90, 400, 300), area), QRect(5, 90, 400, 300));
}

// A window whose height is set when it is shown is placed after that, so the
// whole window is on the screen; a fixed border keeps the user from resizing.
TEST(FormTest, AWindowIsPlacedAfterItsShowHandlerHasSetItsSize) {
  struct TDialog : TDialogForm {
    TDialog() : TDialogForm("FDialog") {
      setFixedBorder(true);
      setFixedSize(745, 300);
    }
    void FormShow() override { setFrameHeight(AvailableArea().height() - 10); }
  };
  TDialog dialog;
  dialog.move(100, 400);
  dialog.show();
  QCoreApplication::processEvents();
  const QRect area = dialog.AvailableArea();
  EXPECT_TRUE(area.contains(dialog.frameGeometry()));
  EXPECT_EQ(dialog.frameGeometry().height(), area.height() - 10);
  EXPECT_EQ(dialog.frameGeometry().center(), area.center());
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  dialog.hide();

  // A window of designed position stays where it is put, but inside the area.
  TDialogForm designed("FDesigned");
  designed.setPosition(TPosition::poDesigned);
  designed.resize(300, 200);
  designed.move(5, area.bottom() - 50);
  designed.show();
  QCoreApplication::processEvents();
  EXPECT_TRUE(area.contains(designed.frameGeometry()));
  EXPECT_EQ(designed.frameGeometry().left(), 5);
}
