#include "toolkit/Form.h"

#include "toolkit/Dialogs.h"

#include <QLabel>
#include <QLineEdit>

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
