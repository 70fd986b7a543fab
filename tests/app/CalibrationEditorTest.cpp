// The calibration editor, shown by the main window's formatting commands,
// driven while it is "shown" through the scripted modal run.
#include "StudentFixture.h"

#include "forms/DocumentForms.h"
#include "forms/FormUnits.h"
#include "render/Kalibracja.h"
#include "render/RecordingDevice.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <filesystem>
#include <functional>

namespace {

// Rows of a layout table, in stored order, every column as text.
Rows layoutRows(const std::string& file, const std::string& table) {
  return sqlRows(file, "select name, x1, y1, x2, y2, font_name, font_size, font_align, font_style_bold, "
                       "font_style_italic, font_style_underline, font_style_strike from `" + table +
                       "` order by rowid");
}

std::vector<std::string> items(const QComboBox* box) {
  std::vector<std::string> v;
  for (int i = 0; i < box->count(); ++i) v.push_back(cp1250FromUtf8(box->itemText(i).toStdString()));
  return v;
}

}  // namespace

class CalibrationEditorTest : public StudentTest {
 protected:
  TFKalibracja* K() const { return FKalibracja; }
  std::string calib() const { return dirs.data() + "/tvk_kalibracja.sqset"; }
  std::string shipped() const { return cp1250FromUtf8(dirs.program()) + "/tvk_kalibracja.sqset"; }

  // Opens the editor by a command and runs `work` while it is shown.
  void whileShown(void (TFGlowna::*command)(), const std::function<void()>& work) {
    script.onShowModal = [&](QDialog* dialog) {
      if (dialog != FKalibracja) return 0;
      work();
      return 1;
    };
    (FGlowna->*command)();
    script.onShowModal = nullptr;
  }
  void advanced(const std::function<void()>& work) { whileShown(&TFGlowna::Ustawieniaczcionki1Click, work); }

  void chooseLayout(const std::string& table) {
    K()->TypSwiadectwaComboBox->setCurrentIndex(K()->TypSwiadectwaComboBox->findText(QString::fromStdString(table)));
    K()->TypSwiadectwaComboBoxChange();
  }
  void chooseObject(const std::string& name) {
    K()->VariableComboBox->setCurrentIndex(K()->VariableComboBox->findText(QString::fromStdString(name)));
    K()->VariableComboBoxChange();
  }
  int loadFailures() const {
    if (!std::filesystem::exists(utf8(dirs.data() + "/logs.sqdb"))) return 0;
    return std::stoi(sqlRows(dirs.data() + "/logs.sqdb",
                             "select count(*) from `error` where fun='bFunCalibLoadData()'")[0][0]);
  }
  int setting(const std::string& name) const {
    return std::stoi(sqlRows(settingsFile(), "select int_value from `settings` where name='" + name + "'")[0][0]);
  }
  void key(QWidget* widget, Qt::Key k) {
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
  }
};

TEST_F(CalibrationEditorTest, TheFirstShowingLogsTwoFailedLoadsAndEndsOnTheFirstLayoutAndItsFirstObject) {
  const int before = loadFailures();
  // The layouts of the calibration file in the order they were made.
  std::vector<std::string> tables;
  for (const auto& row : sqlRows(calib(), "select name from sqlite_master where type='table' order by rowid"))
    tables.push_back(row[0]);
  ASSERT_FALSE(tables.empty());
  const Rows first = layoutRows(calib(), tables[0]);
  bool calibMode = false;
  advanced([&] {
    calibMode = FGlowna->DataStore.bCalibMode;
    EXPECT_EQ(loadFailures(), before + 2);
    EXPECT_EQ(items(K()->TypSwiadectwaComboBox), tables);
    EXPECT_EQ(text(K()->TypSwiadectwaComboBox), tables[0]);
    // Advanced formatting lists every object of the layout.
    EXPECT_EQ(K()->VariableComboBox->count(), static_cast<int>(first.size()));
    EXPECT_EQ(text(K()->VariableComboBox), first[0][0]);
    EXPECT_EQ(text(K()->X1Edit), first[0][1]);
    EXPECT_EQ(text(K()->Y1Edit), first[0][2]);
    EXPECT_EQ(text(K()->X2Edit), first[0][3]);
    EXPECT_EQ(text(K()->Y2Edit), first[0][4]);
    EXPECT_EQ(text(K()->FontsNameComboBox), first[0][5]);
    EXPECT_EQ(text(K()->FontSizeEdit), first[0][6]);
    EXPECT_GT(K()->FontsNameComboBox->count(), 0);  // the system's fonts
    EXPECT_EQ(FGlowna->CalibDataList.size(), first.size());
  });
  EXPECT_TRUE(calibMode);
  EXPECT_FALSE(FGlowna->DataStore.bCalibMode);
  EXPECT_EQ(K()->windowTitle(), QString::fromUtf8("Formatowanie zaawansowane"));
  EXPECT_EQ(K()->x(), 5);

  // Basic formatting lists only the value objects.
  whileShown(&TFGlowna::Formatowaniewiadectwapodstawowe1Click, [&] {
    chooseLayout("tarvek_wywiadowka");
    for (const std::string& name : items(K()->VariableComboBox))
      EXPECT_NE(name.find("ZMIENNA"), std::string::npos) << name;
    EXPECT_GT(K()->VariableComboBox->count(), 0);
  });
  EXPECT_EQ(K()->windowTitle(), QString::fromUtf8("Formatowanie podstawowe"));
}

TEST_F(CalibrationEditorTest, ANudgeAndZastosujChangeExactlyThatRowOfTheDataFoldersFile) {
  const Rows before = layoutRows(calib(), "tarvek_wywiadowka");
  const std::string name = before[2][0];
  advanced([&] {
    chooseLayout("tarvek_wywiadowka");
    chooseObject(name);
    K()->RightSpeedButtonClick();
    K()->DownSpeedButtonClick();
    K()->DownSpeedButtonClick();
    K()->UpFontSizeSpeedButtonClick();
    K()->AdjustmentComboBox->setCurrentIndex(2);
    K()->KursywaCheckBox->setChecked(true);
    K()->SaveButtonClick();
    // The object stays selected and shows the row as stored.
    EXPECT_EQ(text(K()->VariableComboBox), name);
    EXPECT_EQ(text(K()->X1Edit), std::to_string(std::stoi(before[2][1]) + 1));
  });
  Rows expected = before;
  Rows& row = expected;
  row[2][1] = std::to_string(std::stoi(before[2][1]) + 1);
  row[2][2] = std::to_string(std::stoi(before[2][2]) + 2);
  row[2][3] = std::to_string(std::stoi(before[2][3]) + 1);
  row[2][4] = std::to_string(std::stoi(before[2][4]) + 2);
  row[2][6] = std::to_string(std::stoi(before[2][6]) + 1);
  row[2][7] = "2";
  row[2][9] = "1";
  EXPECT_EQ(layoutRows(calib(), "tarvek_wywiadowka"), expected);
  // The other layouts and the shipped copy are untouched.
  EXPECT_EQ(layoutRows(calib(), "tarvek_klasa_Ia"), layoutRows(shipped(), "tarvek_klasa_Ia"));
  EXPECT_EQ(layoutRows(shipped(), "tarvek_wywiadowka"), before);
}

TEST_F(CalibrationEditorTest, ArrowKeysInX1EditMoveTheObjectAndApplyAtOnce) {
  const Rows before = layoutRows(calib(), "tarvek_wywiadowka");
  const std::string name = before[0][0];
  const int x1 = std::stoi(before[0][1]), y1 = std::stoi(before[0][2]);
  struct Case {
    Qt::Key key;
    int dx, dy;
  };
  advanced([&] {
    chooseLayout("tarvek_wywiadowka");
    chooseObject(name);
    int ex = x1, ey = y1;
    for (const Case& c : {Case {Qt::Key_Left, -1, 0}, Case {Qt::Key_Up, 0, -1}, Case {Qt::Key_Right, 1, 0},
                          Case {Qt::Key_Down, 0, 1}, Case {Qt::Key_Down, 0, 1}, Case {Qt::Key_A, 0, 0}}) {
      key(K()->X1Edit, c.key);
      ex += c.dx;
      ey += c.dy;
      const Rows now = layoutRows(calib(), "tarvek_wywiadowka");
      EXPECT_EQ(now[0][1], std::to_string(ex)) << c.key;
      EXPECT_EQ(now[0][2], std::to_string(ey)) << c.key;
    }
    // Arrow keys in another edit do nothing of the kind.
    key(K()->Y1Edit, Qt::Key_Down);
    EXPECT_EQ(layoutRows(calib(), "tarvek_wywiadowka")[0][2], std::to_string(y1 + 1));
  });
}

TEST_F(CalibrationEditorTest, ALayoutWithoutDotsTicksTheOptionAndTheMeetingSheetUnticksIt) {
  ASSERT_FALSE(FGlowna->PrintNoDotsCheckBox->isChecked());
  advanced([&] {
    chooseLayout("tarvek_klasa_Ia_bk");
    EXPECT_TRUE(FGlowna->PrintNoDotsCheckBox->isChecked());
    EXPECT_EQ(setting("print_without_dots"), 1);
    // The preview drew the layout being edited: no dotted line in it.
    for (const TCalibRecord& row : FGlowna->CalibDataList)
      EXPECT_EQ(row.name.str().find("_LINIA_Z_KROPEK"), std::string::npos) << row.name.str();
    chooseLayout("tarvek_klasa_Ia");
    EXPECT_FALSE(FGlowna->PrintNoDotsCheckBox->isChecked());
    chooseLayout("tarvek_klasa_Ia_bk");
    chooseLayout("tarvek_wywiadowka");
    EXPECT_FALSE(FGlowna->PrintNoDotsCheckBox->isChecked());
    EXPECT_EQ(setting("print_without_dots"), 0);
  });
}

TEST_F(CalibrationEditorTest, ATextThatIsNoWholeNumberStopsWithTheToolkitsMessage) {
  const Rows before = layoutRows(calib(), "tarvek_wywiadowka");
  advanced([&] {
    chooseLayout("tarvek_wywiadowka");
    chooseObject(before[0][0]);
    script.boxes.clear();
    K()->Y2Edit->setText("12,5");
    K()->SaveButtonClick();
    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_EQ(script.boxes[0].text, "'12,5' is not a valid integer value");
    EXPECT_EQ(script.boxes[0].flags, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(layoutRows(calib(), "tarvek_wywiadowka"), before);

    // A nudge keeps what it did to the first edge of the pair.
    K()->X2Edit->setText("abc");
    K()->LeftSpeedButtonClick();
    EXPECT_EQ(text(K()->X1Edit), std::to_string(std::stoi(before[0][1]) - 1));
    EXPECT_EQ(text(K()->X2Edit), "abc");
    EXPECT_EQ(script.boxes.back().text, "'abc' is not a valid integer value");
    // Signs and blanks around a number are fine; no bounds.
    K()->X2Edit->setText(" -3 ");
    K()->Y2Edit->setText("+0");
    K()->UpSpeedButtonClick();
    EXPECT_EQ(text(K()->Y2Edit), "-1");
  });
  EXPECT_EQ(layoutRows(calib(), "tarvek_wywiadowka"), before);
}

TEST_F(CalibrationEditorTest, AFontNameLongerThan99CharactersIsRefusedBeforeItIsWritten) {
  const Rows before = layoutRows(calib(), "tarvek_wywiadowka");
  advanced([&] {
    chooseLayout("tarvek_wywiadowka");
    chooseObject(before[0][0]);
    script.boxes.clear();
    K()->FontsNameComboBox->setEditText(QString(100, 'A'));
    K()->SaveButtonClick();
    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_NE(script.boxes[0].text.find("99"), std::string::npos);
    EXPECT_EQ(layoutRows(calib(), "tarvek_wywiadowka"), before);
    // A character Windows-1250 lacks is refused too (by the typing filter
    // and by the save).
    K()->FontsNameComboBox->setEditText(QString::fromUtf8("Font \u65e5"));
    K()->SaveButtonClick();
    const std::size_t shown = script.boxes.size();
    EXPECT_GE(shown, 2u);
    EXPECT_EQ(layoutRows(calib(), "tarvek_wywiadowka"), before);
    // 99 characters fit.
    K()->FontsNameComboBox->setEditText(QString(99, 'B'));
    K()->SaveButtonClick();
    EXPECT_EQ(script.boxes.size(), shown);
  });
  EXPECT_EQ(layoutRows(calib(), "tarvek_wywiadowka")[0][5], std::string(99, 'B'));
}

TEST_F(CalibrationEditorTest, AnAlignmentOutsideTheListSelectsNothingAndIsWrittenAsMinusOne) {
  sqlExec(calib(), "update `tarvek_wywiadowka` set font_align=4 where rowid=1");
  const std::string name = layoutRows(calib(), "tarvek_wywiadowka")[0][0];
  advanced([&] {
    chooseLayout("tarvek_wywiadowka");
    chooseObject(name);
    EXPECT_EQ(K()->AdjustmentComboBox->currentIndex(), -1);
    K()->SaveButtonClick();
  });
  EXPECT_EQ(layoutRows(calib(), "tarvek_wywiadowka")[0][7], "-1");
}

TEST_F(CalibrationEditorTest, RestoreAnsweredYesBringsBackTheShippedFileAndNoKeepsTheChange) {
  const Rows shippedRows = layoutRows(shipped(), "tarvek_wywiadowka");
  advanced([&] {
    chooseLayout("tarvek_wywiadowka");
    chooseObject(shippedRows[0][0]);
    K()->RightSpeedButtonClick();
    K()->SaveButtonClick();
    const Rows changed = layoutRows(calib(), "tarvek_wywiadowka");
    ASSERT_NE(changed, shippedRows);

    script.boxes.clear();
    script.answers = {IDNO};
    K()->PrzywrocUstawieniaButtonClick();
    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_EQ(script.boxes[0],
              (TShownBox {cp1250("Czy na pewno chcesz przywrócić oryginalne ustawienia ?"), "Przywracanie", MB_YESNO}));
    EXPECT_EQ(layoutRows(calib(), "tarvek_wywiadowka"), changed);
    // The layout was loaded again: the first object and its values.
    EXPECT_EQ(text(K()->X1Edit), changed[0][1]);

    script.answers = {IDYES};
    K()->PrzywrocUstawieniaButtonClick();
    EXPECT_EQ(layoutRows(calib(), "tarvek_wywiadowka"), shippedRows);
    EXPECT_EQ(text(K()->X1Edit), shippedRows[0][1]);
    EXPECT_EQ(text(K()->TypSwiadectwaComboBox), "tarvek_wywiadowka");
  });
}

TEST_F(CalibrationEditorTest, AFailedRestoreIsShownAndLogged) {
  std::filesystem::remove(utf8(shipped()));
  const Rows before = layoutRows(calib(), "tarvek_wywiadowka");
  advanced([&] {
    script.boxes.clear();
    script.answers = {IDYES};
    K()->PrzywrocUstawieniaButtonClick();
    ASSERT_EQ(script.boxes.size(), 2u);
    EXPECT_EQ(script.boxes[1].text, cp1250("Błąd podczas próby przywrócenia oryginalnego pliku kalibracji.\nŹródło: ") +
                                        shipped() + "\nCel: " + calib());
    EXPECT_EQ(script.boxes[1].flags, MB_OK | MB_ICONSTOP);
  });
  EXPECT_EQ(layoutRows(calib(), "tarvek_wywiadowka"), before);
  EXPECT_EQ(sqlRows(dirs.data() + "/logs.sqdb",
                    "select count(*) from `error` where fun='PrzywrocUstawieniaButtonClick()'")[0][0],
            "1");
}

// Closing leaves no page behind (not even a blank white one): with nothing
// selected the previews show only the grey of their boxes.
TEST_F(CalibrationEditorTest, ClosingEmptiesThePreviewsAndRebuildsTheTreeWithNothingSelected) {
  open(makeDocumentFile({{"90010112345", personalRows("Nowak", "Anna", "90010112345")}}));
  for (int document : {0, 10}) {  // a certificate of two sides, the meeting sheet
    select(0, document);
    ASSERT_FALSE(FGlowna->Image1->Picture().isNull());
    advanced([&] { K()->CloseButtonClick(); });
    EXPECT_EQ(FGlowna->TreeView->currentItem(), nullptr);
    EXPECT_EQ(FGlowna->TreeView->topLevelItemCount(), 1);
    for (TImage* image : {FGlowna->Image1, FGlowna->Image2}) {
      EXPECT_TRUE(image->Picture().isNull()) << document;
      EXPECT_EQ(image->size(), QSize(0, 0)) << document;
    }
    EXPECT_FALSE(FGlowna->DataStore.bCalibMode);
  }
}

// Each showing, opened from the menu with a student selected, previews
// every form filled with its samples from its first preview on, also after a
// "_bk" layout has ticked "Wyłącz kropki"; "Zamknij" gives the forms the
// student's values back.
TEST_F(CalibrationEditorTest, EveryShowingPreviewsTheSamplesAndClosingGivesTheFormsTheStudentBack) {
  Rows student = personalRows("Nowak", "Anna", "90010112345");
  student.push_back({"KLASA Ia TARVEK", "ZMIENNA_Tarvek1_STR1_DATA_EDIT", "Liceum Batorego"});
  student.push_back({"ARKUSZ OCEN STR 1 TARVEK", "ZMIENNA_NazwaSzkoly1_DATA_EDIT", "Liceum Batorego"});
  open(makeDocumentFile({{"90010112345", student}}));
  // Her name, birth, PESEL and school.
  const char* const hers[] = {"Nowak", "Anna", "90010112345", "Krak", "maja", "Batorego"};
  // The rows of every form, as a save would collect them.
  auto formRows = [] {
    std::vector<TDataRecord> all;
    for (TDocumentForm* form : vFunDocumentForms()) form->vFunFormDataToList(all);
    Rows rows;
    for (const TDataRecord& r : all) rows.push_back({r.id.str(), r.comp_name.str(), r.value.str()});
    return rows;
  };
  // The first row that differs, readable in a failure.
  auto difference = [](const Rows& a, const Rows& b) -> std::string {
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
      if (a[i] != b[i]) return a[i][0] + " " + a[i][1] + ": \"" + a[i][2] + "\" / \"" + b[i][2] + "\"";
    return a.size() == b.size() ? std::string() : "row counts differ";
  };
  auto preview = [] {
    TRecordingDevice page;
    page.play(*FGlowna->DataStore.Page1Metafile);
    return page.textsDrawn().join('|').toStdString();
  };
  // The preview of the layout being edited and every form show samples
  // (another fill changes nothing) and nothing of hers.
  auto expectSamples = [&](const std::string& layout, const char* sample) {
    SCOPED_TRACE(layout);
    EXPECT_EQ(text(K()->TypSwiadectwaComboBox), layout);
    const std::string shown = preview();
    EXPECT_NE(shown.find(sample), std::string::npos) << shown;
    const Rows held = formRows();
    K()->vFunFillAllSampleData();
    EXPECT_EQ(difference(held, formRows()), "");
    for (const char* value : hers) {
      EXPECT_EQ(shown.find(value), std::string::npos) << value;
      for (const auto& row : held) EXPECT_EQ(row[2].find(value), std::string::npos) << value << " " << row[1];
    }
  };
  for (int showing = 1; showing <= 2; ++showing) {
    SCOPED_TRACE(showing);
    select(0, 0);
    const Rows before = formRows();
    script.onShowModal = [&](QDialog* dialog) {
      if (dialog != FKalibracja) return 0;
      // The first layout of the file is the title page of "MEN-I/42/2".
      expectSamples("tarvek_arkusz_str1", "imię i nazwisko");
      chooseLayout("tarvek_klasa_Ia_bk");
      EXPECT_TRUE(FGlowna->PrintNoDotsCheckBox->isChecked());
      expectSamples("tarvek_klasa_Ia_bk", "imię nazwisko");
      chooseLayout("tarvek_klasa_Ia");
      K()->CloseButton->click();
      return 1;
    };
    FGlowna->findComponentAs<QAction>("Ustawieniaczcionki1")->trigger();
    script.onShowModal = nullptr;
    EXPECT_EQ(difference(formRows(), before), "");
    EXPECT_EQ(strFunGetText(FArkuszStr1->findComponent("ZMIENNA_ImieNazwisko_DATA_EDIT")), "Anna Nowak");
  }
}

TEST_F(CalibrationEditorTest, ATableThatIsNoLayoutOfADocumentListsItsObjectsButDrawsNothing) {
  sqlExec(calib(), "create table `inna` (name TEXT, x1 INT, y1 INT, x2 INT, y2 INT, font_name TEXT, font_size INT, "
                   "font_align INT, font_style_bold INT, font_style_italic INT, font_style_underline INT, "
                   "font_style_strike INT); insert into `inna` values('ZMIENNA_X_DATA_EDIT',1,2,3,4,'Arial',9,0,0,0,0,0)");
  advanced([&] {
    chooseLayout("tarvek_wywiadowka");
    FGlowna->CalibDataList.clear();
    chooseLayout("inna");
    EXPECT_EQ(items(K()->VariableComboBox), std::vector<std::string> {"ZMIENNA_X_DATA_EDIT"});
    EXPECT_EQ(text(K()->FontsNameComboBox), "Arial");
    // The list holds what the editor loaded, not a drawn layout.
    ASSERT_EQ(FGlowna->CalibDataList.size(), 1u);
  });
}
