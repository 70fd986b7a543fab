#include "forms/DocumentForm.h"

#include "forms/DocumentForms.h"
#include "platform/Cp1250.h"
#include "toolkit/Components.h"
#include "toolkit/Dialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows rowsOf(const std::vector<TDataRecord>& list) {
  Rows rows;
  for (const TDataRecord& r : list) rows.push_back({r.id.str(), r.comp_name.str(), r.value.str()});
  return rows;
}

std::vector<TDataRecord> recordsOf(const Rows& rows) {
  std::vector<TDataRecord> list;
  for (const auto& r : rows) {
    TDataRecord record;
    record.id = r[0];
    record.comp_name = r[1];
    record.value = r[2];
    list.push_back(record);
  }
  return list;
}

const TDocumentIdentity kPlain {"TFTest", "FTest", "TestUnit", "TEST TARVEK", dkKlasaIa, "Test", false, "CancelButton"};
const TDocumentIdentity kLines {"TFTestLines", "FTestLines", "TestUnit", "LINES TARVEK", dkArkuszStr2, "Test", true,
                                "AnulujButton"};

// A form with a few fields of each kind, in a known creation order.
struct TestForm {
  TDocumentForm form;
  QLineEdit* name;
  QComboBox* grade;
  QComboBox* fixedList;
  QPlainTextEdit* notes;
  QLabel* caption;
  QLineEdit* unmarked;
  explicit TestForm(const TDocumentIdentity& identity) : form(identity, nullptr) {
    name = form.Make<QLineEdit>("ZMIENNA_Nazwa_STR1_DATA_EDIT", &form);
    caption = form.Make<QLabel>("STALY_Tytul_STR1_DATA_LABEL", "Tytul", &form);
    grade = form.Make<QComboBox>("ZMIENNA_Ocena_STR2_DATA_COMBOBOX", &form);
    grade->setEditable(true);
    grade->addItems({"bardzo dobry", "dobry"});
    fixedList = form.Make<QComboBox>("ZMIENNA_Lista_STR2_DATA_COMBOBOX", &form);
    fixedList->addItems({"tak", "nie"});
    notes = form.Make<QPlainTextEdit>("ZMIENNA_Uwagi_DATA_MEMO", &form);
    unmarked = form.Make<QLineEdit>("ZwyklePole", &form);
  }
};

}  // namespace

TEST(DocumentForm, CollectsValueFieldsInCreationOrderWithItsTag) {
  TestForm t(kPlain);
  bFunSetText(t.name, cp1250("Zażółć 'gęślą'"));
  bFunSetText(t.grade, "dobry");
  t.fixedList->setCurrentIndex(1);
  vFunSetLines(t.notes, {"a", "b"});
  bFunSetText(t.unmarked, "never saved");
  std::vector<TDataRecord> list(1);  // rows are appended to what the list holds
  EXPECT_TRUE(t.form.vFunFormDataToList(list));
  const Rows expected = {{"", "", ""},
                         {"TEST TARVEK", "ZMIENNA_Nazwa_STR1_DATA_EDIT", cp1250("Zażółć 'gęślą'")},
                         {"TEST TARVEK", "ZMIENNA_Ocena_STR2_DATA_COMBOBOX", "dobry"},
                         {"TEST TARVEK", "ZMIENNA_Lista_STR2_DATA_COMBOBOX", "nie"},
                         {"TEST TARVEK", "ZMIENNA_Uwagi_DATA_MEMO", "a\r\nb"}};
  EXPECT_EQ(rowsOf(list), expected);
}

TEST(DocumentForm, MultiLineFieldsTravelAsNumberedLineRowsOnLinePages) {
  TestForm t(kLines);
  vFunSetLines(t.notes, {"pierwsza", "", "trzecia"});
  std::vector<TDataRecord> list;
  t.form.vFunFormDataToList(list);
  ASSERT_EQ(list.size(), 6u);
  EXPECT_EQ(rowsOf({list.begin() + 3, list.end()}),
            (Rows {{"LINES TARVEK", "ZMIENNA_Uwagi_DATA_MEMO01", "pierwsza"},
                   {"LINES TARVEK", "ZMIENNA_Uwagi_DATA_MEMO02", ""},
                   {"LINES TARVEK", "ZMIENNA_Uwagi_DATA_MEMO03", "trzecia"}}));

  vFunSetLines(t.notes, {});
  list.clear();
  t.form.vFunFormDataToList(list);
  EXPECT_EQ(list.size(), 3u);  // an empty field gives no row
}

TEST(DocumentForm, TakesOnlyItsOwnRowsAndClearsWhatTheyLack) {
  TestForm t(kLines);
  bFunSetText(t.name, "previous student");
  vFunSetLines(t.notes, {"old line"});
  bFunSetText(t.caption, "Tytul");
  t.form.vFunFormDataFromList(recordsOf({
      {"OTHER TARVEK", "ZMIENNA_Nazwa_STR1_DATA_EDIT", "not mine"},
      {"LINES TARVEK", "ZMIENNA_Uwagi_DATA_MEMO07", "first"},  // the number is not read
      {"LINES TARVEK", "ZMIENNA_Brak_DATA_EDIT", "no such field"},
      {"LINES TARVEK", "ZMIENNA_OCENA_STR2_DATA_COMBOBOX", "bardzo dobry"},  // found ignoring case
      {"LINES TARVEK", "ZMIENNA_Nazwa_STR1_data_edit", "markers are matched with case"},
      {"LINES TARVEK", "ZMIENNA_Uwagi_DATA_MEMO01", "second"},
      {"lines tarvek", "ZMIENNA_Nazwa_STR1_DATA_EDIT", "tag differs in case"},
  }));
  EXPECT_EQ(strFunGetText(t.name), "");
  EXPECT_EQ(strFunGetText(t.grade), "bardzo dobry");
  EXPECT_EQ(vFunGetLines(t.notes), (std::vector<std::string> {"first", "second"}));
  EXPECT_EQ(strFunGetText(t.caption), "Tytul");  // labels are not values
}

TEST(DocumentForm, ClearEmptiesValuesAndKeepsListItems) {
  TestForm t(kPlain);
  bFunSetText(t.name, "x");
  bFunSetText(t.grade, "dobry");
  t.fixedList->setCurrentIndex(0);
  vFunSetLines(t.notes, {"a"});
  bFunSetText(t.unmarked, "kept");
  t.form.vFunClearFormData();
  EXPECT_EQ(strFunGetText(t.name), "");
  EXPECT_EQ(strFunGetText(t.grade), "");
  EXPECT_EQ(t.grade->count(), 2);
  EXPECT_EQ(t.fixedList->currentIndex(), -1);
  EXPECT_TRUE(vFunGetLines(t.notes).empty());
  EXPECT_EQ(strFunGetText(t.unmarked), "kept");
}

TEST(DocumentForm, LongValuesAreCutToTheRowAndLoadedValuesStayWhole) {
  TestForm t(kPlain);
  vFunSetTypingLimit(t.name, 10);
  t.form.vFunFormDataFromList(recordsOf({{"TEST TARVEK", "ZMIENNA_Nazwa_STR1_DATA_EDIT", std::string(40, 'x')}}));
  EXPECT_EQ(strFunGetText(t.name).size(), 40u);  // the typing limit binds typing only
  bFunSetText(t.name, std::string(3000, 'y'));
  std::vector<TDataRecord> list;
  t.form.vFunFormDataToList(list);
  EXPECT_EQ(list[0].value.size(), 2047u);
}

TEST(DocumentForm, OkSavesThroughTheMainWindowAndClosesOnlyOnSuccess) {
  TestForm t(kPlain);
  int saves = 0;
  bool succeed = false;
  TDocumentForm::StudentSave = [&] {
    ++saves;
    return succeed;
  };
  t.form.setResult(mrNone);
  t.form.OKButtonClick();
  EXPECT_EQ(t.form.result(), mrNone);
  succeed = true;
  t.form.OKButtonClick();
  EXPECT_EQ(t.form.result(), mrOk);
  EXPECT_EQ(saves, 2);
  t.form.CancelButtonClick();
  EXPECT_EQ(t.form.result(), mrCancel);
  EXPECT_EQ(saves, 2);
  TDocumentForm::StudentSave = nullptr;
}

TEST(DocumentForm, TheButtonsCarryTheirFormsNames) {
  TestForm plain(kPlain), lines(kLines);
  EXPECT_NE(plain.form.findComponent("OKButton"), nullptr);
  EXPECT_NE(plain.form.findComponent("CancelButton"), nullptr);
  EXPECT_NE(lines.form.findComponent("AnulujButton"), nullptr);
  EXPECT_EQ(plain.form.windowTitle(), "Test");
}

TEST(DocumentForm, LinesComeBackWholeAndInOrderEvenWhenTheFirstIsEmpty) {
  TestForm t(kLines);
  const std::vector<std::string> lines = {"", "b", "", "d"};
  vFunSetLines(t.notes, lines);
  std::vector<TDataRecord> list;
  t.form.vFunFormDataToList(list);
  vFunSetLines(t.notes, {"other student"});
  t.form.vFunFormDataFromList(list);
  EXPECT_EQ(vFunGetLines(t.notes), lines);
}

TEST(DocumentForm, LoadingClearsThroughTheFormsOwnClear) {
  // A form that keeps a field for the next student does so on loads too.
  struct KeepingForm : TDocumentForm {
    QLineEdit* kept;
    KeepingForm() : TDocumentForm(kPlain, nullptr) { kept = Make<QLineEdit>("ZMIENNA_Rok_DATA_EDIT", this); }
    void vFunClearFormData() override {
      const std::string year = strFunGetText(kept);
      TDocumentForm::vFunClearFormData();
      bFunSetText(kept, year);
    }
  } form;
  bFunSetText(form.kept, "2026");
  form.vFunFormDataFromList({});
  EXPECT_EQ(strFunGetText(form.kept), "2026");
}
