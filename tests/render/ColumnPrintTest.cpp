// The print of one column of a record-sheet class page, through the main
// window's renderer and print dialog, with the shipped layouts.
#include "RecordingDevice.h"
#include "MainWindowFixture.h"
#include "forms/FormUnits.h"
#include "platform/Cp1250.h"
#include "render/Drukowanie.h"
#include "render/PageRenderer.h"
#include "support/TempFolders.h"
#include "toolkit/Components.h"
#include "toolkit/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPicture>
#include <QPushButton>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

class ColumnPrintTest : public TMainWindowTest {
 protected:
  struct Seen {
    bool printMode;
    int pageCount;
    TRecording page1;
  };
  std::vector<Seen> dialogs;

  void SetUp() override {
    TMainWindowTest::SetUp();
    script.boxes.clear();  // the one-time notice about the data files
    script.onShowModal = [this](QDialog* dialog) {
      if (dialog == FDrukuj) dialogs.push_back({FGlowna->bPrintMode, FDrukuj->iPageCount, page1()});
      return mrOk;
    };
  }

  static TRecording page1() {
    TRecordingDevice device;
    device.play(*FGlowna->DataStore.Page1Metafile);
    return device.engine;
  }
  static std::map<QString, QPointF> placesOf(const TRecording& r) {
    std::map<QString, QPointF> places;
    for (const TDrawnText& t : r.texts) places[t.text] = t.baseline;
    return places;
  }
  // The texts of the value fields whose column suffix (the last digit of the
  // middle part) is `suffix`, with the heading of that column.
  static std::set<QString> columnTexts(TDocumentForm& form, char suffix, const std::string& heading) {
    std::set<QString> texts;
    for (int i = 0; i < form.ComponentCount(); ++i) {
      const std::string name = form.ComponentName(i).toStdString();
      const auto data = name.find("_DATA_");
      if (name.rfind("ZMIENNA_", 0) != 0 || data == std::string::npos) continue;
      const bool heads = name.find("WynikiKlasyfikacji") != std::string::npos;
      if (heads ? name != heading : name[data - 1] != suffix) continue;
      for (const std::string& line : vFunGetLines(form.findComponent(name)).empty()
                                         ? std::vector<std::string> {strFunGetText(form.findComponent(name))}
                                         : vFunGetLines(form.findComponent(name)))
        texts.insert(QString::fromStdString(cp1250ToUtf8(line)));
    }
    return texts;
  }
};

}  // namespace

TEST_F(ColumnPrintTest, AColumnPrintsOnlyItsValuesWhereTheWholePagePutsThem) {
  FArkuszStr3->vFunFillSampleData();
  ASSERT_TRUE(FGlowna->vFunRysujSwiadectwo(FArkuszStr3, true, dkArkuszStr3, 1));
  const std::map<QString, QPointF> whole = placesOf(page1());
  // 78 single values and the 57 lines of the twelve memos, each its own text.
  EXPECT_EQ(whole.size(), 135u);

  FArkuszStr3->findComponentAs<QComboBox>("KolumnaDrukComboBox")->setCurrentIndex(1);
  FGlowna->bPrintMode = false;
  FArkuszStr3->findComponentAs<QPushButton>("DrukujWybranaKolumneButton")->click();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_TRUE(dialogs[0].printMode);
  EXPECT_EQ(dialogs[0].pageCount, 1);
  const std::map<QString, QPointF> column = placesOf(dialogs[0].page1);
  std::set<QString> drawn;
  for (const auto& [text, at] : column) drawn.insert(text);
  // Column 2 of page 3 is suffix 1, headed by the second heading.
  EXPECT_EQ(drawn, columnTexts(*FArkuszStr3, '1', "ZMIENNA_WynikiKlasyfikacji2_DATA_EDIT"));
  EXPECT_TRUE(drawn.count("edu ocn 31") && drawn.count("wyn. klas. 1") && drawn.count("uchwala 1 linia 6"));
  // A page unit is 210 / 885 mm across and 297 / 1314 mm down, on any sheet.
  for (const auto& [text, at] : column) {
    ASSERT_TRUE(whole.count(text)) << text.toStdString();
    const QPointF d = at - whole.at(text);
    EXPECT_LT(std::abs(d.x()) * 210.0 / 885.0, 0.5) << text.toStdString();
    EXPECT_LT(std::abs(d.y()) * 297.0 / 1314.0, 0.5) << text.toStdString();
  }
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(ColumnPrintTest, TheFirstColumnAlsoPrintsTheRowNamesAndTheLastOnlyItsOwn) {
  FArkuszStr4b->vFunFillSampleData();
  auto* list = FArkuszStr4b->findComponentAs<QComboBox>("ColumnPrintComboBox");
  auto* button = FArkuszStr4b->findComponentAs<QPushButton>("DrukujWybranaKolumneButton");
  list->setCurrentIndex(0);
  button->click();
  list->setCurrentIndex(1);
  button->click();
  ASSERT_EQ(dialogs.size(), 2u);
  const QStringList first = dialogs[0].page1.textsDrawn(), second = dialogs[1].page1.textsDrawn();
  EXPECT_TRUE(first.contains("edu opis 3") && first.contains("4") && first.contains("edu ocn 31"));
  EXPECT_FALSE(first.contains("edu ocn 32"));
  EXPECT_TRUE(second.contains("edu ocn 32") && second.contains("Rok 2"));
  EXPECT_FALSE(second.contains("edu opis 3") || second.contains("edu ocn 31") || second.contains("4"));
}

TEST_F(ColumnPrintTest, AMissingColumnLayoutSaysSoAndOpensNoPrintDialog) {
  sqlExec(dirs.data() + "/tvk_kalibracja.sqset", "drop table `tarvek_arkusz_str3_kol3`");
  FArkuszStr3->vFunFillSampleData();
  FArkuszStr3->findComponentAs<QComboBox>("KolumnaDrukComboBox")->setCurrentIndex(2);
  FArkuszStr3->findComponentAs<QPushButton>("DrukujWybranaKolumneButton")->click();
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].caption, cp1250("Błąd"));
  EXPECT_EQ(script.boxes[0].text.rfind(cp1250("Błąd podczas próby wczytania danych kalibracji."), 0), 0u);
  EXPECT_TRUE(dialogs.empty());
  EXPECT_FALSE(FGlowna->bPrintMode);
  // The other columns still print.
  FArkuszStr3->findComponentAs<QComboBox>("KolumnaDrukComboBox")->setCurrentIndex(0);
  FArkuszStr3->findComponentAs<QPushButton>("DrukujWybranaKolumneButton")->click();
  EXPECT_EQ(dialogs.size(), 1u);
}
