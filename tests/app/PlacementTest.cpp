// Every window of the program, shown on a screen of the size the run gives
// (TARVEK_TEST_SCREEN, e.g. "1366x768"): the whole window, frame included,
// lies inside the screen's available area, and the windows of fixed border
// cannot be resized; the main window shows every command of its tool bar.
#include "AppFixture.h"

#include "forms/DocumentForm.h"
#include "forms/DocumentForms.h"
#include "render/Kalibracja.h"
#include "support/FormReference.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include <cstdlib>
#include <string_view>

namespace {

QSize screenOfTheRun() {
  const char* given = std::getenv("TARVEK_TEST_SCREEN");
  int width = 0, height = 0;
  if (given && std::sscanf(given, "%dx%d", &width, &height) == 2) return {width, height};
  return {};
}

class PlacementTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    start();
  }
};

std::string rect(const QRect& r) {
  return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
         std::to_string(r.height());
}

}  // namespace

TEST_F(PlacementTest, EveryWindowIsWhollyOnTheScreenAfterItsSizeIsSet) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_TRUE(screen);
  const QSize wanted = screenOfTheRun();
  if (wanted.isValid()) {
    ASSERT_EQ(screen->geometry().size(), wanted) << "the screen of the run";
  }
  const QRect area = screen->availableGeometry();
  // As in the program, the main window fills the screen behind the others.
  FGlowna->setGeometry(area);
  FGlowna->show();

  int dialogs = 0, certificates = 0, sheets = 0;
  for (QWidget* window : vFunOkna()) {
    auto* dialog = qobject_cast<TDialogForm*>(window);
    if (!dialog) continue;  // the main window fills the screen
    ++dialogs;
    const std::string name = window->objectName().toStdString();
    // The calibration editor is put at the left edge by its opener; every
    // other window is centred on the screen.
    const bool centred = dialog != FKalibracja;
    if (!centred) dialog->move(5, 90);
    auto* form = qobject_cast<TDocumentForm*>(dialog);
    for (int showing = 0; showing < 2; ++showing) {  // the same again on every showing
      dialog->show();
      QCoreApplication::processEvents();
      const QRect frame = dialog->frameGeometry();
      EXPECT_TRUE(area.contains(frame)) << name << " frame " << rect(frame) << " screen " << rect(area);
      // Every window of the program but the main one has a fixed border.
      EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << name;
      if (centred) {
        EXPECT_LE(std::abs(frame.center().x() - area.center().x()), 1) << name;
        if (!(form && form->Spec && form->Spec->show == TShowRule::Sheet)) {
          EXPECT_LE(std::abs(frame.center().y() - area.center().y()), 1) << name;
        }
      } else {
        EXPECT_EQ(frame.left(), 5) << name;
      }
      if (form && form->Spec && form->Spec->show == TShowRule::Certificate) {
        // The screen height less 50, title bar and borders included.
        EXPECT_EQ(frame.height(), std::min(screen->geometry().height() - 50, area.height())) << name;
        certificates += showing == 0;
      } else if (form && form->Spec && form->Spec->show == TShowRule::Sheet) {
        // 20 pixels from the top of the screen, the screen height less 100.
        EXPECT_EQ(frame.top(), std::max(area.top(), screen->geometry().top() + 20)) << name;
        EXPECT_EQ(frame.height(), std::min(screen->geometry().height() - 100, area.height())) << name;
        sheets += showing == 0;
      }
      dialog->hide();
    }
  }
  EXPECT_EQ(dialogs, static_cast<int>(referenceWindowOrder().size()) - 1);
  // As many certificates and record-sheet pages as the reference table holds.
  int wantCertificates = 0, wantSheets = 0;
  for (const TFormReference& r : kFormReference) {
    wantCertificates += (kDocKinds[r.kind].flags & kfCertificate) != 0;
    wantSheets += std::string_view(r.tag).starts_with("ARKUSZ OCEN");
  }
  EXPECT_EQ(certificates, wantCertificates);
  EXPECT_EQ(sheets, wantSheets);
}

// Maximised on the screen of the run, from 1024 pixels wide up, the main
// window shows every button of its tool bar and the three option boxes
// whole inside the window: none is cut off into the bar's overflow menu.
TEST_F(PlacementTest, TheToolBarShowsEveryCommandAndOptionInsideTheWindow) {
  FGlowna->showMaximized();
  FGlowna->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
  QCoreApplication::processEvents();
  const QRect window = FGlowna->rect();
  std::vector<QWidget*> shown;
  for (QAction* action : FGlowna->ToolBar1->actions())
    if (QWidget* widget = FGlowna->ToolBar1->widgetForAction(action); widget && action->isVisible() &&
                                                                      !action->isSeparator())
      shown.push_back(widget);
  for (QCheckBox* box : {FGlowna->WykreskujPusteCheckBox, FGlowna->PrintNoDotsCheckBox, FGlowna->cbWordWrap})
    shown.push_back(box);
  EXPECT_EQ(shown.size(), 11u + 1u + 3u);  // the buttons but the hidden import, the group, its boxes
  for (QWidget* widget : shown) {
    const std::string name = widget->objectName().toStdString();
    EXPECT_TRUE(widget->isVisible()) << name;
    const QRect inWindow(widget->mapTo(FGlowna, QPoint(0, 0)), widget->size());
    EXPECT_TRUE(window.contains(inWindow)) << name << " at " << rect(inWindow) << " window " << rect(window);
    EXPECT_GE(widget->width(), widget->sizeHint().width()) << name << " is cut";
  }
  const auto* overflow = FGlowna->ToolBar1->findChild<QToolButton*>("qt_toolbar_ext_button");
  EXPECT_TRUE(!overflow || !overflow->isVisible()) << "the bar's overflow menu is offered";
}
