// Every document form of the registry as a user meets it: made at start-up
// in its place, offered in the tree under its name, opened by "Edytuj",
// filled and saved with the student into a file the user names, read back
// from that file, and printed into the boxes its layout gives.
//
// One test per row of the reference table, named after its class, so that a
// form added to the program is tried by name with nothing else changed here.
#include "StudentFixture.h"

#include "app/Startup.h"
#include "forms/DocumentForms.h"
#include "render/Drukowanie.h"
#include "store/Calibration.h"
#include "store/Folders.h"
#include "support/PdfWords.h"

#include <QCheckBox>
#include <QPushButton>

#include <algorithm>
#include <map>

namespace fs = std::filesystem;

namespace {

class EveryDocumentTest : public StudentTest, public ::testing::WithParamInterface<TFormReference> {
 protected:
  // A word of its own for every value field the user types into and the
  // form keeps (not those a load fills from the student's personal data): a
  // capital letter where the box or the limit is narrow, else a word with
  // Polish letters and the field's number.
  static std::map<std::string, std::string> wordsFor(TDocumentForm& form) {
    std::map<std::string, std::string> words;
    char letter = 'A';
    const TFormSpec& desc = *form.Spec;
    const auto personal = [&desc](const std::string& name) {
      for (int p = 0; p < desc.personalCount; ++p)
        if (name == desc.personal[p].field && !desc.personal[p].onlyIntoEmpty) return true;
      return false;
    };
    for (int c = 0; c < desc.componentCount; ++c) {
      const TComponentSpec& field = desc.components[c];
      const std::string name = field.name;
      if (name.find("_DATA_EDIT") == std::string::npos && name.find("_DATA_COMBOBOX") == std::string::npos) continue;
      if ((field.flags & (sfDisabled | sfReadOnly)) != 0 || personal(name)) continue;
      QObject* component = form.findComponent(name);
      if (auto* combo = qobject_cast<QComboBox*>(component); combo && !combo->isEditable()) continue;
      const bool narrow = field.at.w < 40 || (field.maxLength > 0 && field.maxLength < 6);
      if (narrow && letter > 'Z') continue;
      words[name] = narrow ? std::string(1, letter++) : cp1250("żółw") + std::to_string(c);
    }
    return words;
  }
};

TEST_P(EveryDocumentTest, IsMadeOfferedSavedWithTheStudentAndPrinted) {
  const TFormReference& reference = GetParam();

  // Made at start-up, in its place among the windows.
  TDocumentForm* form = frmFunFormOfClass(reference.className);
  ASSERT_NE(form, nullptr) << "not made at start-up";
  const std::vector<QWidget*>& windows = vFunOkna();
  const auto place = std::find(windows.begin(), windows.end(), form);
  ASSERT_NE(place, windows.end());
  EXPECT_EQ(place - windows.begin() + 1, reference.created);
  EXPECT_EQ(frmFunFormOfKind(reference.kind), form);
  EXPECT_EQ(form->strFunTag(), reference.tag);

  const std::string documentName = cp1250(reference.documentName);
  open(makeDocumentFile({{"1", personalRows("Adamska", "Ola", "1")}, {"2", personalRows(cp1250("Żak"), "Jan", "2")}}));
  // Offered under every student at its tree position, or nowhere.
  QTreeWidgetItem* student = FGlowna->TreeView->topLevelItem(1);  // "Żak Jan"
  ASSERT_NE(student, nullptr);
  int offeredAt = 0;
  for (int i = 0; i < student->childCount(); ++i)
    if (student->child(i)->text(0) == QString::fromUtf8(reference.documentName)) offeredAt = i + 1;
  EXPECT_EQ(offeredAt, reference.tree);
  if (reference.tree == 0) return;

  // "Edytuj" on its node opens it; typed values and OK save them.
  select(1, reference.tree - 1);
  EXPECT_EQ(FGlowna->strFunNazwaZDrzewa(0), documentName);
  const std::map<std::string, std::string> words = wordsFor(*form);
  ASSERT_FALSE(words.empty());
  std::vector<QDialog*> shown;
  script.answers = {IDNO};  // no school template now
  script.onShowModal = [&](QDialog* dialog) {
    shown.push_back(dialog);
    for (const auto& [name, word] : words) bFunSetText(form->findComponent(name), word);
    form->OKButtonClick();
    return form->result();
  };
  FGlowna->EdytujSwiadectwoToolButtonClick();
  script.onShowModal = nullptr;
  ASSERT_EQ(shown, std::vector<QDialog*> {form});
  const Rows rows = stored("PESEL2");
  for (const auto& [name, word] : words)
    EXPECT_NE(std::find(rows.begin(), rows.end(), std::vector<std::string> {reference.tag, name, word}), rows.end())
        << name << " not saved";

  // Saved into a file the user names, and read back from it.
  const std::string file = dirs.root() + "/klasa 3c źdźbło.sqtvk";
  script.fileNames = {chosenSystemName(file)};
  FGlowna->Zapiszjako1Click();
  ASSERT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(file));
  FGlowna->bDataModified = false;
  script.fileNames = {chosenSystemName(file)};
  form->vFunClearFormData();
  FGlowna->OtworzPlikToolButtonClick();
  select(0, reference.tree - 1);
  select(1, reference.tree - 1);
  for (const auto& [name, word] : words) EXPECT_EQ(strFunGetText(form->findComponent(name)), word) << name;

  // "Drukuj wybrane świadectwo" into a PDF file over the whole sheet: every
  // value lands inside its layout rectangle, on its side.
  sqlExec(settingsFile(), "update `margin` set `Page1X1`=0, `Page1Y1`=0, `Page1X2`=210, `Page1Y2`=297, "
                          "`Page2X1`=0, `Page2Y1`=0, `Page2X2`=210, `Page2Y2`=297");
  for (QCheckBox* option : {FGlowna->WykreskujPusteCheckBox, FGlowna->PrintNoDotsCheckBox, FGlowna->cbWordWrap})
    option->setChecked(false);
  const std::string pdf = dirs.root() + "/wydruk " + reference.className + ".pdf";
  const std::string side2 = dirs.root() + "/wydruk " + reference.className + "_strona2.pdf";
  script.fileNames = {chosenSystemName(pdf), chosenSystemName(side2)};
  script.onShowModal = [&](QDialog* dialog) {
    if (dialog != FDrukuj) return int(mrCancel);
    FDrukuj->cbRotateSecondPage->setChecked(false);
    FDrukuj->DrukujButton->click();
    return FDrukuj->result();
  };
  FGlowna->DrukujToolButtonClick();
  script.onShowModal = nullptr;
  std::vector<std::multimap<std::string, TPdfWordBox>> pages = vFunPdfWords(pdf);
  if (fs::exists(side2))
    for (auto& page : vFunPdfWords(side2)) pages.push_back(std::move(page));
  ASSERT_EQ(static_cast<int>(pages.size()), kDocKinds[static_cast<std::size_t>(reference.kind)].pages);

  std::vector<TCalibRecord> layout;
  ASSERT_TRUE(bFunCalibLoadData(&FGlowna->DataStore, strFunGetCalibFilePath(&FGlowna->DataStore, false),
                                kDocKinds[static_cast<std::size_t>(reference.kind)].table, layout));
  int checked = 0;
  for (const TCalibRecord& row : layout) {
    const std::string name = row.name.str();
    const auto word = words.find(name);
    if (word == words.end()) continue;
    const std::size_t side = name.find("_STR2_") != std::string::npos ? 1 : 0;
    ASSERT_LT(side, pages.size());
    const auto found = pages[side].find(cp1250ToUtf8(word->second));
    ASSERT_NE(found, pages[side].end()) << name << " was not printed";
    EXPECT_TRUE(bFunWordInsideRectangle(found->second, row.x1, row.x2, row.y1, row.y2)) << name;
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

// On each class page it fills, its item of "Wczytaj dane z..." copies this
// certificate, not the one in its item's place before it came.
TEST_P(EveryDocumentTest, ItsItemOnTheClassPagesCopiesItself) {
  const TFormReference& reference = GetParam();
  TDocumentForm* form = frmFunFormOfClass(reference.className);
  ASSERT_NE(form, nullptr);
  const TFormSpec& desc = *form->Spec;
  EXPECT_EQ(desc.sheetPageCount > 0, reference.listItem > 0);
  const std::string year = "rok-" + std::string(reference.className);
  for (int p = 0; p < desc.sheetPageCount; ++p) {
    TDocumentForm* page = frmFunFormOfClass(desc.sheetPages[p].pageClass);
    ASSERT_NE(page, nullptr);
    SCOPED_TRACE(page->Identity.className);
    // Every certificate tells itself apart by its school years.
    for (TDocumentForm* other : vFunDocumentForms()) {
      if (other->Spec->sheetPageCount == 0) continue;
      bFunSetText(other->findComponent("ZMIENNA_RokSzkolny1_STR1_DATA_EDIT"), other == form ? year : "inny");
      bFunSetText(other->findComponent("ZMIENNA_RokSzkolny2_STR1_DATA_EDIT"), "");
    }
    QComboBox* list = nullptr;
    QPushButton* load = nullptr;
    for (int c = 0; c < page->Spec->componentCount; ++c) {
      const TComponentSpec& component = page->Spec->components[c];
      if (component.kind == TSpecKind::Pick && component.itemCount >= reference.listItem &&
          component.items[reference.listItem - 1] == cp1250(reference.listText))
        list = page->findComponentAs<QComboBox>(component.name);
      if (component.kind == TSpecKind::Button && std::string(component.text).starts_with("Wczytaj dane z"))
        load = page->findComponentAs<QPushButton>(component.name);
    }
    ASSERT_NE(list, nullptr) << "no list offers \"" << reference.listText << "\" as item " << reference.listItem;
    ASSERT_NE(load, nullptr);
    ASSERT_EQ(list->itemText(reference.listItem - 1), QString::fromUtf8(reference.listText));
    list->setCurrentIndex(reference.listItem - 1);
    load->click();
    int copied = 0;
    for (int c = 0; c < page->Spec->componentCount; ++c)
      if (QObject* field = page->findComponent(page->Spec->components[c].name))
        if (strFunGetText(field) == year + "/") ++copied;
    EXPECT_EQ(copied, 1) << "the school years of " << reference.className << " were not copied";
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, EveryDocumentTest, ::testing::ValuesIn(kFormReference),
                         [](const ::testing::TestParamInfo<TFormReference>& row) {
                           return std::string(row.param.className);
                         });

}  // namespace
