// The preview pages show only what belongs to the selected node of the open
// file's tree: whatever replaces the document (another file, an import) or
// rebuilds the tree leaves them showing nothing; a new document shows the
// empty first certificate on its blank.
#include "StudentFixture.h"

#include "forms/DocumentForms.h"
#include "support/TvkText.h"

#include <QAction>
#include <QTabWidget>

#include <fstream>
#include <functional>

namespace {

class PreviewsTest : public StudentTest {
 protected:
  // Both pages show nothing but the grey of their boxes.
  static void expectNothingShown(const std::string& after) {
    for (TImage* image : {FGlowna->Image1, FGlowna->Image2}) {
      EXPECT_TRUE(image->Picture().isNull()) << after;
      EXPECT_EQ(image->size(), QSize(0, 0)) << after;
    }
  }
  // Nowak's class I certificate (the first document of the tree) in the preview.
  void previewNowak(const std::string& file) {
    open(makeDocumentFile({{"90010112345", personalRows("Nowak", "Anna", "90010112345")}}, file));
    select(0, 0);
    ASSERT_FALSE(FGlowna->Image1->Picture().isNull());
    ASSERT_GT(FGlowna->Image1->width(), 0);
    FGlowna->bDataModified = false;
    script.boxes.clear();
  }
};

}  // namespace

TEST_F(PreviewsTest, ReplacingTheDocumentLeavesNothingOfThePreviousStudentInThePreview) {
  const std::string other =
      makeDocumentFile({{"2", personalRows(cp1250("Żółć"), cp1250("Łucja"), "2")}}, cp1250("inna klasa ąę.sqtvk"));
  const std::string source = documentPath(cp1250("uczniowie ślązacy.tvk"));
  {
    std::ofstream out(cp1250ToUtf8(source), std::ios::binary);
    out << tvkText(tvkStudent("Adamski", "Jan", "6"));
  }
  const struct {
    const char* command;
    std::function<void()> run;
    bool emptyCertificate;  // the empty first certificate in place of nothing
  } cases[] = {
      {"Otwórz plik",
       [&] {
         script.fileNames.push_back(chosenName(other));
         FGlowna->OtworzPlikToolButtonClick();
       },
       false},
      {"Nowy plik", [&] { FGlowna->NowyPlikToolButtonClick(); }, true},
      {"Importuj",
       [&] {
         script.fileNames.push_back(chosenName(source));
         FGlowna->findComponentAs<QAction>("Importuj1")->trigger();
       },
       false},
  };
  int n = 0;
  for (const auto& c : cases) {
    previewNowak("klasa" + std::to_string(++n) + ".sqtvk");
    c.run();
    EXPECT_TRUE(script.boxes.empty()) << c.command;
    EXPECT_EQ(FGlowna->TreeView->currentItem(), nullptr) << c.command;
    if (!c.emptyCertificate) {
      expectNothingShown(c.command);
      continue;
    }
    // Both sides of the empty "MEN-I/21/2" certificate: what its own render
    // of the cleared form shows, nothing of Nowak's.
    const QImage side1 = FGlowna->Image1->Picture(), side2 = FGlowna->Image2->Picture();
    ASSERT_FALSE(side1.isNull()) << c.command;
    ASSERT_FALSE(side2.isNull()) << c.command;
    EXPECT_TRUE(FGlowna->PageControl->isTabVisible(FGlowna->PageControl->indexOf(FGlowna->TabSheet2)));
    TDocumentForm* first = frmFunFormOfKind(dkKlasaI);
    first->vFunClearFormData();
    ASSERT_TRUE(FGlowna->vFunRysujSwiadectwo(first, false, dkKlasaI, 2));
    EXPECT_EQ(FGlowna->Image1->Picture(), side1) << c.command;
    EXPECT_EQ(FGlowna->Image2->Picture(), side2) << c.command;
  }
}

TEST_F(PreviewsTest, AStudentNodeShowsNoOtherStudentsDocument) {
  open(makeDocumentFile({{"1", personalRows("Adamska", "Ewa", "1")}, {"2", personalRows("Bielska", "Ola", "2")}}));
  select(0, 0);
  const QImage adamska = FGlowna->Image1->Picture();
  ASSERT_FALSE(adamska.isNull());
  select(0);  // her own node: her certificate stays in view
  EXPECT_EQ(FGlowna->Image1->Picture(), adamska);
  select(1, 11);  // the other student's child without a document
  expectNothingShown("another student's node");
  select(1, 0);
  EXPECT_FALSE(FGlowna->Image1->Picture().isNull());
}
