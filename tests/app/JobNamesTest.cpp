// A print job is named after the document and the student as the tree names
// them, so the jobs in a printer's queue are told apart: the side follows
// when a document's two sides go as two jobs, a namesake gets the PESEL
// number, and a record-sheet page printing one column goes under its page.
// Printed to PDF files here, whose title is the job's name.
#include "StudentFixture.h"

#include "../print/PrintSupport.h"
#include "forms/ComponentNames.h"
#include "forms/FormUnits.h"
#include "render/Drukowanie.h"

#include <QPushButton>

#include <filesystem>
#include <sstream>

namespace {

// The title a PDF file carries; empty when it has none.
std::string pdfTitle(const std::string& pdf) {
  const auto info = optFunRun("pdfinfo", {QString::fromStdString(pdf)});
  std::istringstream lines(info.value_or(""));
  for (std::string line; std::getline(lines, line);)
    if (line.starts_with("Title:")) return line.substr(std::min(line.size(), line.find_first_not_of(' ', 6)));
  return {};
}

}  // namespace

class JobNamesTest : public StudentTest {
 protected:
  void SetUp() override {
    StudentTest::SetUp();
    open(makeDocumentFile({{"05210112345", personalRows("Kowalska", "Anna", "05210112345")},
                           {"05210154321", personalRows("Kowalska", "Anna", "05210154321")},
                           {"06300111111", personalRows(cp1250("Żółkiewska"), "Zofia", "06300111111")}}));
  }

  // Runs a print command into PDF files, one a job, with that entry of the
  // duplex list; gives the files' titles in job order.
  std::vector<std::string> printTitles(const std::function<void()>& command, int duplex, int jobs) {
    std::vector<std::string> files;
    for (int job = 1; job <= jobs; ++job) {
      files.push_back(dirs.root() + "/wydruk " + std::to_string(job) + ".pdf");
      std::filesystem::remove(files.back());
    }
    for (const std::string& file : files) script.fileNames.push_back(QString::fromStdString(file));
    script.onShowModal = [duplex](QDialog* shown) {
      if (shown == FDrukuj) {
        FDrukuj->DrukarkiComboBox->setCurrentIndex(
            FDrukuj->DrukarkiComboBox->findText(QString::fromUtf8(TFDrukuj::kPdfEntry)));
        FDrukuj->DuplexComboBox->setCurrentIndex(duplex);
        FDrukuj->DrukujButton->click();
        return FDrukuj->result();
      }
      // A record-sheet page opened for editing prints its column.
      if (auto* page = qobject_cast<TDocumentForm*>(shown))
        if (auto* column = page->findComponentAs<QPushButton>(names::kColumnPrintButton)) column->click();
      return int(mrCancel);
    };
    command();
    script.onShowModal = nullptr;
    std::vector<std::string> titles;
    for (const std::string& file : files) titles.push_back(pdfTitle(file));
    return titles;
  }
  // The student's place in the tree.
  int student(const std::string& pesel) {
    for (int i = 0; i < FGlowna->TreeView->topLevelItemCount(); ++i) {
      select(i);
      if (FGlowna->strFunTabelaZDrzewa() == "PESEL" + pesel) return i;
    }
    return -1;
  }
};

TEST_F(JobNamesTest, EachJobIsNamedAfterTheDocumentAndTheStudentAsTheTreeNamesThem) {
  const auto print = [] { FGlowna->DrukujToolButtonClick(); };
  const std::string certificate = "MEN-I/21a/2 świad. klasa I";
  const int zofia = student("06300111111");
  ASSERT_GE(zofia, 0);

  // Both sides in one job, and as two jobs.
  select(zofia, 0);
  EXPECT_EQ(printTitles(print, 1, 1), (std::vector<std::string> {certificate + " – Żółkiewska Zofia"}));
  EXPECT_EQ(printTitles(print, 0, 2), (std::vector<std::string> {certificate + " – Żółkiewska Zofia (strona 1)",
                                                                 certificate + " – Żółkiewska Zofia (strona 2)"}));
  // Another document of hers.
  select(zofia, 4);
  EXPECT_EQ(printTitles(print, 1, 1), (std::vector<std::string> {"MEN-I/23a/2 świad. ukończenia – Żółkiewska Zofia"}));

  // Of two students of one name, each with the number that tells them apart.
  for (const char* pesel : {"05210112345", "05210154321"}) {
    select(student(pesel), 0);
    EXPECT_EQ(printTitles(print, 1, 1),
              (std::vector<std::string> {certificate + " – Kowalska Anna (PESEL: " + pesel + ")"}));
  }

  // A column of a record-sheet class page, printed from the page opened for
  // editing, goes under the page's name.
  select(zofia, 8);
  ASSERT_EQ(FGlowna->strFunNazwaZDrzewa(0), cp1250("MEN-I/42b/2 arkusz klasa druga"));
  EXPECT_EQ(printTitles([] { FGlowna->EdytujSwiadectwoToolButtonClick(); }, 0, 1),
            (std::vector<std::string> {"MEN-I/42b/2 arkusz klasa druga – Żółkiewska Zofia"}));
}
