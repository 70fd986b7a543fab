#include "toolkit/Components.h"

#include "platform/Cp1250.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QGuiApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

const std::string kPolish = cp1250("Zażółć gęślą jaźń ŁÓDŹ");

// Runs the GUI thread's events until done() holds.
template <class Done>
void processUntil(Done done) {
  while (!done()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

// Types text as the keyboard does, one character at a time.
void type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(widget, &press);
  }
}

}  // namespace

TEST(ComponentsTest, TextOfEachKindTravelsAsWindows1250) {
  QLineEdit edit;
  QComboBox editable;
  editable.setEditable(true);
  QLabel label;
  QPlainTextEdit memo;
  for (QObject* component : std::initializer_list<QObject*> {&edit, &editable, &label, &memo}) {
    ASSERT_TRUE(bFunSetText(component, kPolish)) << component->metaObject()->className();
    EXPECT_EQ(strFunGetText(component), kPolish) << component->metaObject()->className();
  }
  EXPECT_EQ(edit.text(), QString::fromUtf8("Zażółć gęślą jaźń ŁÓDŹ"));
  EXPECT_EQ(editable.currentText(), edit.text());
  EXPECT_EQ(label.text(), edit.text());

  QPushButton other;
  EXPECT_FALSE(bFunSetText(&other, "x"));
  EXPECT_EQ(strFunGetText(&other), "");
}

TEST(ComponentsTest, AFixedComboBoxSelectsTheItemOfTheText) {
  QComboBox combo;
  combo.addItems({QString::fromUtf8("bardzo dobry"), QString::fromUtf8("celujący")});
  bFunSetText(&combo, cp1250("celujący"));
  EXPECT_EQ(combo.currentIndex(), 1);
  EXPECT_EQ(strFunGetText(&combo), cp1250("celujący"));
  bFunSetText(&combo, "brak");
  EXPECT_EQ(combo.currentIndex(), -1);
  EXPECT_EQ(strFunGetText(&combo), "");
}

TEST(ComponentsTest, MemoLinesAndText) {
  QPlainTextEdit memo;
  EXPECT_TRUE(vFunGetLines(&memo).empty());
  vFunSetLines(&memo, {cp1250("pierwsza łąka"), "", "trzecia"});
  EXPECT_EQ(vFunGetLines(&memo), (std::vector<std::string> {cp1250("pierwsza łąka"), "", "trzecia"}));
  EXPECT_EQ(strFunGetText(&memo), cp1250("pierwsza łąka\r\n\r\ntrzecia"));
  bFunSetText(&memo, "a\r\nb");
  EXPECT_EQ(vFunGetLines(&memo), (std::vector<std::string> {"a", "b"}));
}

TEST(ComponentsTest, TypingLimitsBindTypingOnly) {
  struct Case {
    const char* loaded;
    const char* typed;  // "\b" is a backspace
    const char* result;
  };
  const Case cases[] = {
      {"", "abcdefgh", "abcde"},        // typing stops at the limit
      {"abcdefgh", "", "abcdefgh"},     // loaded text stays whole
      {"abcdefgh", "x", "abcdefgh"},    // ... and cannot grow
      {"abcdefgh", "\b", "abcdefg"},    // ... but can be shortened
      {"abcdefgh", "\b\bx", "abcdef"},  // ... and stays over the limit no longer than before
      {"abc", "xyz", "abcxy"},
  };
  for (const auto& c : cases) {
    QLineEdit edit;
    vFunSetTypingLimit(&edit, 5);
    edit.setText(QString::fromUtf8(c.loaded));
    for (const char* key = c.typed; *key; ++key) {
      if (*key == '\b')
        QTest::keyClick(&edit, Qt::Key_Backspace);
      else
        type(&edit, QString(QChar(*key)));
    }
    EXPECT_EQ(edit.text().toStdString(), c.result) << c.loaded << " + " << c.typed;
  }
}

TEST(ComponentsTest, APastePastTheLimitKeepsWhatStillFits) {
  struct Case {
    const char* before;
    int selectFrom, selectLength;  // what the paste replaces
    const char* pasted;
    const char* result;
  };
  const Case cases[] = {
      {"abc", 3, 0, "xyz", "abcxy"},
      {"abc", 1, 0, "xyz", "axybc"},
      {"abcde", 1, 2, "wxyz", "awxde"},
      {"abcde", 5, 0, "x", "abcde"},
      {"abcdefgh", 0, 1, "xy", "abcdefgh"},  // over the limit already: no growth
  };
  for (const Case& c : cases) {
    QLineEdit edit;
    vFunSetTypingLimit(&edit, 5);
    edit.setText(QString::fromUtf8(c.before));
    edit.setSelection(c.selectFrom, c.selectLength);
    if (c.selectLength == 0) edit.setCursorPosition(c.selectFrom);
    QGuiApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
    edit.paste();
    EXPECT_EQ(edit.text().toStdString(), c.result) << c.before << " + " << c.pasted;
  }
}

TEST(ComponentsTest, TypingLimitOfAComboBoxAndPolishLettersCountOnce) {
  QComboBox combo;
  combo.setEditable(true);
  vFunSetTypingLimit(&combo, 3);
  type(combo.lineEdit(), QString::fromUtf8("żółw"));
  EXPECT_EQ(strFunGetText(&combo), cp1250("żół"));
  bFunSetText(&combo, cp1250("żółwie"));
  EXPECT_EQ(strFunGetText(&combo), cp1250("żółwie"));
}

TEST(ComponentsTest, CheckBoxHandlersRunOnEveryChangeOfState) {
  QCheckBox box;
  int runs = 0;
  vFunOnClick(&box, [&] { ++runs; });
  box.setChecked(true);   // by the program
  box.setChecked(true);   // no change
  QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, box.height() / 2));  // by the user
  EXPECT_EQ(runs, 2);
  EXPECT_FALSE(box.isChecked());
}

TEST(ComponentsTest, WorkPostedFromAWorkerRunsOnTheGuiThread) {
  std::atomic<bool> ran {false};
  QThread* ranOn = nullptr;
  std::thread worker([&] {
    EXPECT_FALSE(bFunOnGuiThread());
    vFunPostToGui([&] {
      ranOn = QThread::currentThread();
      ran = true;
    });
  });
  worker.join();
  EXPECT_FALSE(ran);  // not before the GUI thread takes its events
  processUntil([&] { return ran.load(); });
  EXPECT_EQ(ranOn, QCoreApplication::instance()->thread());
}

TEST(ComponentsTest, ATimerEnabledFromAWorkerTicksOnTheGuiThread) {
  TTimer timer;
  timer.setInterval(1);
  std::atomic<bool> ticked {false};
  QThread* tickedOn = nullptr;
  timer.OnTimer = [&] {
    tickedOn = QThread::currentThread();
    ticked = true;
    timer.setEnabled(false);
  };
  std::thread worker([&] { timer.setEnabled(true); });
  worker.join();
  EXPECT_TRUE(timer.Enabled());
  processUntil([&] { return ticked.load(); });
  EXPECT_EQ(tickedOn, QCoreApplication::instance()->thread());
  EXPECT_FALSE(timer.Enabled());
}

TEST(ComponentsTest, StatusBarKeepsOneSimpleText) {
  TStatusBar bar;
  bar.setSimpleText(cp1250("/home/nauczyciel/świadectwa 3a.sqtvk"));
  EXPECT_EQ(bar.SimpleText(), cp1250("/home/nauczyciel/świadectwa 3a.sqtvk"));
  const int width = bar.minimumSizeHint().width();
  bar.setSimpleText("/" + std::string(400, 'k') + ".sqtvk");  // a long path never widens the window
  EXPECT_LE(bar.minimumSizeHint().width(), width);
  bar.setSimpleText("<b>Szko&la</b>");
  EXPECT_EQ(bar.SimpleText(), "<b>Szko&la</b>");
}

TEST(ComponentsTest, AnAutoSizedImageTakesTheSizeOfItsPicture) {
  TImage image;
  image.setAutoSize(true);
  image.setPicture(QImage(1031, 1462, QImage::Format_RGB32));
  EXPECT_EQ(image.size(), QSize(1031, 1462));
}


// Every edit, combo box and memo a form makes takes only what the stored
// Windows-1250 text can hold; anything else is refused with a notice.
TEST(ComponentsTest, TypingOrPastingACharacterTheCodePageLacksIsRefused) {
  TScriptedDialogs script;
  TDialogForm form("Forma");
  auto* edit = form.Make<QLineEdit>("Nazwisko_DATA_EDIT", &form);
  vFunSetTypingLimit(edit, 30);
  auto* combo = form.Make<QComboBox>("Miasto_DATA_COMBOBOX", &form);
  combo->setEditable(true);  // made editable after it is made, as forms do
  auto* memo = form.Make<QPlainTextEdit>("Uwagi_DATA_MEMO", &form);

  bFunSetText(edit, cp1250("Żółć"));
  type(edit, QString::fromUtf8("ąИ"));
  EXPECT_EQ(strFunGetText(edit), cp1250("Żółćą"));
  QGuiApplication::clipboard()->setText(QString::fromUtf8("Иван"));
  edit->paste();
  EXPECT_EQ(strFunGetText(edit), cp1250("Żółćą"));

  type(combo->lineEdit(), QString::fromUtf8("Łódź€Я"));
  EXPECT_EQ(strFunGetText(combo), cp1250("Łódź€"));

  memo->setFocus();
  type(memo, QString::fromUtf8("zdanieΩ"));
  EXPECT_EQ(strFunGetText(memo), "zdanie");
  QGuiApplication::clipboard()->setText(QString::fromUtf8("i 日本"));
  memo->paste();
  EXPECT_EQ(strFunGetText(memo), "zdanie");

  const TShownBox notice {cp1250("Wpisany znak nie może zostać zapisany w danych programu."), "Uwaga",
                          MB_OK | MB_ICONWARNING};
  EXPECT_EQ(script.boxes, std::vector<TShownBox>(5, notice));
}
