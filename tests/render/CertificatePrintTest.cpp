// A filled certificate of the current blanks printed to a PDF with the
// shipped layouts: every value lands inside its layout rectangle.
#include "MainWindowFixture.h"
#include "forms/DocumentForms.h"
#include "render/PrintJob.h"
#include "store/Calibration.h"
#include "store/Folders.h"
#include "support/FormReference.h"
#include "support/PdfWords.h"
#include "support/TempFolders.h"
#include "toolkit/Components.h"
#include "toolkit/Dialogs.h"

#include <QCheckBox>
#include <QPrinter>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

using Box = TPdfWordBox;

class CertificatePrintTest : public TMainWindowTest {
 protected:
  // The form printed as the print dialog prints it, both sides on one sheet
  // each, into a PDF; its words by page.
  std::vector<std::multimap<std::string, Box>> printed(TDocumentForm* form, TDocKind kind) {
    EXPECT_TRUE(FGlowna->vFunRysujSwiadectwo(form, true, kind, 2));
    const std::string pdf = dirs.root() + "/swiadectwo.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    vFunApplyJobSettings(printer, layoutFunStandardSheet(), QPrinter::DuplexNone);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    const TEdges sheet {0, 0, 210, 297};
    EXPECT_TRUE(bFunPrintJob(printer, {{FGlowna->DataStore.Page1Metafile, sheet}, {FGlowna->DataStore.Page2Metafile, sheet}}));
    return vFunPdfWords(pdf);
  }
};

TEST_F(CertificatePrintTest, EveryValueLandsInsideItsLayoutRectangle) {
  // The current certificates: offered in the tree, and filling class pages.
  for (const TFormReference& reference : kFormReference) {
    if (reference.tree == 0 || reference.listItem == 0) continue;
    const TDocKind kind = reference.kind;
    TDocumentForm* form = frmFunFormOfKind(kind);
    ASSERT_NE(form, nullptr);
    SCOPED_TRACE(form->Identity.className);
    // A word of its own in every value field: a capital letter in the
    // narrow fields (the gender endings, the letter after "w").
    std::map<std::string, std::string> wordOf;
    char letter = 'A';
    for (int c = 0; c < form->Spec->componentCount; ++c) {
      const TComponentSpec& field = form->Spec->components[c];
      const std::string name = field.name;
      if (name.find("_DATA_EDIT") == std::string::npos && name.find("_DATA_COMBOBOX") == std::string::npos) continue;
      wordOf[name] = field.at.w < 40 ? std::string(1, letter++) : "w" + std::to_string(c);
      bFunSetText(form->findComponent(name), wordOf[name]);
    }
    ASSERT_GE(wordOf.size(), 85u);

    const auto pages = printed(form, kind);
    ASSERT_EQ(pages.size(), 2u);

    std::vector<TCalibRecord> rows;
    ASSERT_TRUE(bFunCalibLoadData(&FGlowna->DataStore, strFunGetCalibFilePath(&FGlowna->DataStore, false),
                                  kDocKinds[kind].table, rows));
    int checked = 0;
    for (const TCalibRecord& row : rows) {
      const std::string name = row.name.str();
      const auto word = wordOf.find(name);
      if (word == wordOf.end()) continue;
      const auto& page = pages[name.find("_STR2_") != std::string::npos ? 1 : 0];
      const auto found = page.find(word->second);
      ASSERT_NE(found, page.end()) << name << " was not printed";
      EXPECT_TRUE(bFunWordInsideRectangle(found->second, row.x1, row.x2, row.y1, row.y2)) << name << " " << word->second;
      ++checked;
    }
    // Every value field has its row and was found.
    EXPECT_EQ(checked, static_cast<int>(wordOf.size()));
  }
}

// A short line of special achievements prints as typed, from the left edge
// of its line, its words one blank apart: never stretched over the line.
TEST_F(CertificatePrintTest, SpecialAchievementsPrintLeftAligned) {
  const TDocKind kinds[] = {dkKlasaI, dkKlasaIWyr, dkKoniec, dkKlasaIa, dkKlasaIIaWyr, dkKonieca};
  const std::vector<std::string> line = {"Laureatka", "I", "miejsca", "w", "Olimpiadzie", "Matematycznej"};
  for (TDocKind kind : kinds) {
    TDocumentForm* form = frmFunFormOfKind(kind);
    ASSERT_NE(form, nullptr);
    SCOPED_TRACE(form->Identity.className);
    form->vFunClearFormData();
    std::string text;
    for (const std::string& word : line) text += (text.empty() ? "" : " ") + word;
    bFunSetText(form->findComponent("ZMIENNA_Szczegolne1_STR2_DATA_EDIT"), text);
    const auto pages = printed(form, kind);
    ASSERT_EQ(pages.size(), 2u);
    std::vector<TCalibRecord> rows;
    ASSERT_TRUE(bFunCalibLoadData(&FGlowna->DataStore, strFunGetCalibFilePath(&FGlowna->DataStore, false),
                                  kDocKinds[kind].table, rows));
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [](const TCalibRecord& r) { return r.name.str() == "ZMIENNA_Szczegolne1_STR2_DATA_EDIT"; });
    ASSERT_NE(row, rows.end());
    const auto first = pages[1].find(line.front()), last = pages[1].find(line.back());
    ASSERT_NE(first, pages[1].end());
    ASSERT_NE(last, pages[1].end());
    EXPECT_NEAR(first->second.left, row->x1 * kPdfSheetWidthMm / kPdfPageUnitsWide, 1.0);
    // Six words at 12 points take about 70 mm of the line's 150.
    EXPECT_LT(last->second.right - first->second.left, 90.0);
  }
}

}  // namespace
