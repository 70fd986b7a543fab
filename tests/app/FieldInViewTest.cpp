// The field that has the keyboard is always in the visible part of its
// scroll box, so what the user types lands where she sees it: walked to with
// Tab and Shift+Tab, put there by the program, in a side brought forward and
// in a window shown again after it was left scrolled away.
#include "StudentFixture.h"

#include "app/DaneSzkoly.h"
#include "app/Startup.h"
#include "forms/DocumentForm.h"
#include "forms/DocumentForms.h"
#include "forms/FormUnits.h"

#include <QApplication>
#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <functional>

namespace {

QScrollArea* boxOf(const QWidget* widget) {
  for (QWidget* up = widget->parentWidget(); up; up = up->parentWidget())
    if (auto* box = qobject_cast<QScrollArea*>(up)) return box;
  return nullptr;
}

// The scroll boxes of a window that hold fields the keyboard goes to.
std::vector<QScrollArea*> boxesWithFields(const QWidget* window) {
  std::vector<QScrollArea*> boxes;
  for (QScrollArea* box : window->findChildren<QScrollArea*>()) {
    if (box->window() != window || !box->widget()) continue;
    for (QWidget* w : box->widget()->findChildren<QWidget*>())
      if (w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
        boxes.push_back(box);
        break;
      }
  }
  return boxes;
}

// Empty while the field with the keyboard lies wholly inside the visible
// part of its scroll box (or in no scroll box); else where it lies.
std::string outOfView(const QWidget* window) {
  QWidget* field = window->focusWidget();
  if (!field) return "no field has the keyboard";
  if (qobject_cast<QComboBox*>(field->parentWidget())) field = field->parentWidget();
  QScrollArea* box = boxOf(field);
  if (!box) return {};
  const QRect place(field->mapTo(box->viewport(), QPoint(0, 0)), field->size());
  if (box->viewport()->rect().contains(place)) return {};
  return window->objectName().toStdString() + " / " + field->objectName().toStdString() + " at " +
         std::to_string(place.x()) + "," + std::to_string(place.y()) + " " + std::to_string(place.width()) + "x" +
         std::to_string(place.height()) + ", seen " + std::to_string(box->viewport()->width()) + "x" +
         std::to_string(box->viewport()->height());
}

void scrollToEnd(QScrollArea* box) {
  box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
  box->horizontalScrollBar()->setValue(box->horizontalScrollBar()->maximum());
}

// The windows with a scroll box of fields: every document form that has one
// and the school-template dialog.
std::vector<QWidget*> windowsWithScrollBoxes() {
  std::vector<QWidget*> windows;
  for (QWidget* window : vFunOkna())
    if (!boxesWithFields(window).empty()) windows.push_back(window);
  return windows;
}

int expectedWindows() {
  int count = 1;  // the school-template dialog
  for (int f = 0; f < kFormSpecCount; ++f) {
    const TFormSpec& desc = kFormSpecs[f];
    bool scrolls = false;
    for (int s = 0; s < desc.sideCount; ++s) scrolls |= desc.sides[s].scroll != nullptr;
    count += scrolls;
  }
  return count;
}

}  // namespace

class FieldInViewTest : public StudentTest {};

TEST_F(FieldInViewTest, EveryFieldReachedByTabShiftTabOrTheProgramIsInView) {
  const std::vector<QWidget*> windows = windowsWithScrollBoxes();
  EXPECT_EQ(static_cast<int>(windows.size()), expectedWindows());
  int checked = 0;
  for (QWidget* window : windows) {
    std::vector<std::string> faults;
    auto check = [&](const char* how) {
      ++checked;
      if (std::string fault = outOfView(window); !fault.empty() && faults.size() < 5)
        faults.push_back(std::string(how) + ": " + fault);
    };
    auto* tabs = window->findChild<QTabWidget*>();
    const int pages = tabs ? tabs->count() : 1;
    for (int page = 0; page < pages; ++page) {
      if (tabs) tabs->setCurrentIndex(page);
      showActive(window);
      if (tabs) tabs->setCurrentIndex(page);
      int stops = 2;  // the panel's buttons are passed on the way round
      for (QWidget* w : window->findChildren<QWidget*>())
        stops += w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
      std::vector<QWidget*> reached;
      for (int i = 0; i < stops; ++i) {
        press(window, Qt::Key_Tab);
        check("Tab");
        reached.push_back(window->focusWidget());
      }
      for (int i = 0; i < stops; ++i) {
        press(window, Qt::Key_Backtab, Qt::ShiftModifier);
        check("Shift+Tab");
      }
      // Fields the program puts the keyboard into, far from where the box
      // stands.
      for (auto it = reached.rbegin(); it != reached.rend() && it - reached.rbegin() < 6; ++it) {
        if (!*it || !boxOf(*it)) continue;
        boxOf(*it)->verticalScrollBar()->setValue(0);
        scrollToEnd(boxOf(*it));
        (*it)->setFocus(Qt::OtherFocusReason);
        check("set by the program");
      }
      window->hide();
    }
    EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);
  }
  EXPECT_GT(checked, 3000);
}

// Left scrolled to the far end of a side, each window shown again starts
// with the keyboard in its first field, in view; a key typed after the user
// scrolled away brings the field back first; a side brought forward while
// its box is scrolled away shows its first field.
TEST_F(FieldInViewTest, AWindowShownAgainAfterItWasScrolledAwayShowsItsFirstField) {
  for (QWidget* window : windowsWithScrollBoxes()) {
    auto* tabs = window->findChild<QTabWidget*>();
    const int pages = tabs ? tabs->count() : 1;
    for (int page = 0; page < pages; ++page) {
      if (tabs) tabs->setCurrentIndex(page);
      showActive(window);
      for (QScrollArea* box : boxesWithFields(window)) scrollToEnd(box);
      window->hide();
      showActive(window);
      EXPECT_EQ(outOfView(window), "") << "page " << page;
      // Scrolled away with the keyboard left in that field: the next key
      // typed brings it back before it lands.
      for (QScrollArea* box : boxesWithFields(window)) scrollToEnd(box);
      QTest::keyClick(window->windowHandle(), Qt::Key_Right);
      EXPECT_EQ(outOfView(window), "") << "page " << page << ", typed after scrolling away";
      if (tabs) {
        // The other side, scrolled away while hidden, brought forward.
        const int other = (page + 1) % pages;
        for (QScrollArea* box : boxesWithFields(window))
          if (tabs->widget(other)->isAncestorOf(box)) scrollToEnd(box);
        press(window, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(tabs->currentIndex(), other);
        EXPECT_EQ(outOfView(window), "") << "page " << other << " brought forward";
      }
      window->hide();
    }
  }
}

// The secretary's road: one student's certificate edited down to the end of
// "Strona2" and closed with OK; the same certificate of the next student
// opens on "Strona2" with the keyboard in "zachowanie", and she sees it
// and what she types into it.
TEST_F(FieldInViewTest, TheNextStudentsCertificateOpensWithItsFirstFieldInView) {
  open(makeDocumentFile({{"05210112345", personalRows(cp1250("Żółkiewska"), "Anna", "05210112345")},
                         {"05210154321", personalRows(cp1250("Wiśniewski"), "Jan", "05210154321", cp1250("mężczyzna"))}}));
  auto* tabs = FKlasa1a->findComponentAs<QTabWidget>("PageControl1");
  auto* side2 = FKlasa1a->findComponentAs<QScrollArea>("ScrollBox2");
  ASSERT_TRUE(tabs && side2);
  auto edit = [&](int student, const std::function<void(QDialog*)>& act) {
    select(student, 0);  // "MEN-I/21a/2 świad. klasa I"
    runShown([] { FGlowna->EdytujSwiadectwoToolButtonClick(); }, act);
  };
  edit(0, [&](QDialog* d) {
    ASSERT_EQ(d, FKlasa1a);
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(1).center());
    // Down to the bottom with the scroll bar, as with the mouse.
    QScrollBar* scroll = side2->verticalScrollBar();
    while (scroll->value() < scroll->maximum()) QTest::keyClick(scroll, Qt::Key_PageDown);
    ASSERT_GT(scroll->value(), 0);
    QTest::mouseClick(FKlasa1a->OKButton, Qt::LeftButton);
  });
  edit(1, [&](QDialog* d) {
    EXPECT_EQ(tabs->currentIndex(), 1);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_TRUE(focused);
    if (qobject_cast<QComboBox*>(focused->parentWidget())) focused = focused->parentWidget();
    EXPECT_EQ(focused->objectName().toStdString(), "ZMIENNA_ZachowanieOcn_STR2_DATA_COMBOBOX");
    EXPECT_EQ(outOfView(d), "");
    for (const QChar c : QString::fromUtf8("wzorowe"))
      QTest::sendKeyEvent(QTest::Click, d->windowHandle(), Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    EXPECT_EQ(text(focused), "wzorowe");
    EXPECT_EQ(outOfView(d), "");
    press(d, Qt::Key_Escape);
  });
}
