#include "AppFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QWheelEvent>

namespace {

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

// The captions of a menu's items, separators as "-".
QStringList captions(const QMenu* menu) {
  QStringList list;
  for (const QAction* action : menu->actions())
    if (action->isVisible()) list << (action->isSeparator() ? QStringLiteral("-") : action->text());
  return list;
}

}  // namespace

TEST_F(AppTest, TheToolBarHoldsItsButtonsWithHintsAndTheOptionBoxes) {
  vFunUtworzOkna();
  const std::pair<const char*, const char*> buttons[] = {
      {"NowyPlikToolButton", "Nowy plik świadectw"},
      {"OtworzPlikToolButton", "Otwórz plik z świadectwami"},
      {"SaveButton", "Zapisz"},
      {"ToolButton11", "Szablon danych szkoły"},
      {"DodajUczniaToolButton", "Dodaj nowego ucznia"},
      {"EdytujDaneUczniaToolButton", "Edytuj dane wybranego ucznia"},
      {"UsunUczniaToolButton", "Usuń dane wybranego ucznia"},
      {"EdytujSwiadectwoToolButton", "Edytuj wybrane świadectwo / dokument"},
      {"DrukujToolButton", "Drukuj świadectwo / dokument"},
      {"PomocToolButton", "Pomoc"},
      {"KontaktButton", "Wyślij wiadomość"},
      {"ImportButton", "Importuj dane"},
  };
  QStringList placed;
  for (QAction* action : FGlowna->ToolBar1->actions())
    if (QWidget* widget = FGlowna->ToolBar1->widgetForAction(action); widget && !action->isSeparator())
      placed << widget->objectName() + (action->isVisible() ? "" : " (hidden)");
  QStringList expected;
  for (const auto& [name, hint] : buttons) {
    auto* button = FGlowna->findComponentAs<QToolButton>(name);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_EQ(button->toolTip(), q(hint)) << name;
    EXPECT_EQ(button->size(), QSize(46, 38)) << name;
    EXPECT_EQ(button->iconSize(), QSize(32, 32)) << name;
    EXPECT_FALSE(button->icon().isNull()) << name;
    expected << QString(name) + (QString(name) == "ImportButton" ? " (hidden)" : "");
  }
  // The three option boxes come last, together in one group on the bar.
  expected << "OptionsGroup";
  EXPECT_EQ(placed, expected);
  QStringList options;
  for (const QCheckBox* box : FGlowna->OptionsGroup->findChildren<QCheckBox*>()) options << box->objectName();
  EXPECT_EQ(options, (QStringList {"WykreskujPusteCheckBox", "PrintNoDotsCheckBox", "cbWordWrap"}));
  EXPECT_EQ(FGlowna->WykreskujPusteCheckBox->text(), q("Wykresuj puste pola"));
  EXPECT_EQ(FGlowna->PrintNoDotsCheckBox->text(), q("Wyłącz kropki"));
  EXPECT_EQ(FGlowna->cbWordWrap->text(), q("Ograniczenia pól tekstowych"));
  // The design states, before start-up reads the settings.
  EXPECT_TRUE(FGlowna->WykreskujPusteCheckBox->isChecked());
  EXPECT_FALSE(FGlowna->PrintNoDotsCheckBox->isChecked());
  EXPECT_FALSE(FGlowna->cbWordWrap->isChecked());
}

// Each menu's caption marks (underlines) the letter Alt opens it by.
TEST_F(AppTest, TheMenusHoldEveryItemAndSeparatorInOrder) {
  vFunUtworzOkna();
  const std::vector<std::pair<const char*, QStringList>> menus = {
      {"&Plik", {q("Nowy plik"), q("Otwórz plik"), q("Importuj"), "-", q("Zapisz"), q("Zapisz jako"), "-",
                q("Szablon danych szkoły"), "-", q("Koniec")}},
      {"&Uczniowie", {q("Dodaj nowego ucznia"), q("Edytuj dane wybranego ucznia"), q("Usuń wybranego ucznia")}},
      {"Ś&wiadectwa", {q("Edytuj wybrane świadectwo / dokument"), q("Drukuj wybrane świadectwo")}},
      {"U&stawienia", {q("Formatowanie podstawowe ( tylko zmienne )"),
                      q("Formatowanie zaawansowane ( wszystkie obiekty )"), "-", q("Eksportuj ustawienia kalibracji"),
                      q("Importuj ustawienia kalibracji")}},
      {"Pomo&c", {q("O programie"), q("Sprawdź czy jest nowa wersja"), "-", q("Instrukcja obsługi"), "-",
                 q("Wyślij wiadomość"), "-", q("Logi programu")}},
  };
  const QList<QAction*> bar = FGlowna->menuBar()->actions();
  ASSERT_EQ(bar.size(), static_cast<qsizetype>(menus.size()));
  for (std::size_t i = 0; i < menus.size(); ++i) {
    EXPECT_EQ(bar[static_cast<qsizetype>(i)]->text(), q(menus[i].first));
    EXPECT_EQ(captions(bar[static_cast<qsizetype>(i)]->menu()), menus[i].second) << menus[i].first;
  }
  EXPECT_EQ(bar[1]->menu()->actions().size(), 4);  // and the hidden import item
  EXPECT_EQ(captions(FGlowna->TreeViewPopupMenu),
            (QStringList {q("Dodaj ucznia"), q("Edytuj dane ucznia"), q("Usuń dane ucznia"), "-",
                          q("Edytuj wybrane świadectwo"), "-", q("Drukuj wybrane świadectwo")}));
}

TEST_F(AppTest, TheTreeAndTheTwoPreviewPages) {
  vFunUtworzOkna();
  EXPECT_EQ(FGlowna->TreeView->width(), 265);
  EXPECT_FALSE(FGlowna->TreeView->isSortingEnabled());
  EXPECT_EQ(FGlowna->TreeView->contextMenuPolicy(), Qt::CustomContextMenu);
  ASSERT_EQ(FGlowna->PageControl->count(), 2);
  EXPECT_EQ(FGlowna->PageControl->tabText(0), "Strona 1");
  EXPECT_EQ(FGlowna->PageControl->tabText(1), "Strona 2");
  EXPECT_EQ(FGlowna->ScrollBox1->widget(), FGlowna->Image1);
  EXPECT_EQ(FGlowna->ScrollBox2->widget(), FGlowna->Image2);
  EXPECT_FALSE(FGlowna->AktualizacjaTimer->Enabled());
  EXPECT_EQ(FGlowna->SaveDialog->FileName, "nowy");
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), "");
}

TEST_F(AppTest, TheWheelScrollsBothPreviewPagesAlike) {
  vFunUtworzOkna();
  for (TImage* image : {FGlowna->Image1, FGlowna->Image2}) image->setPicture(QImage(1031, 1462, QImage::Format_RGB32));
  FGlowna->resize(1000, 700);
  FGlowna->show();
  QScrollBar* bars[] = {FGlowna->ScrollBox1->verticalScrollBar(), FGlowna->ScrollBox2->verticalScrollBar()};
  ASSERT_GT(bars[0]->maximum(), 500);

  struct Case {
    const char* where;
    QWidget* target;
  };
  const Case cases[] = {
      {"over the tree", FGlowna->TreeView->viewport()},
      {"over page 1", FGlowna->ScrollBox1->viewport()},
      {"over the tool bar", FGlowna->ToolBar1},
  };
  unsigned long long time = 1000;
  for (const auto& c : cases) {
    for (QScrollBar* bar : bars) bar->setValue(500);
    QWheelEvent wheel(QPointF(5, 5), c.target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    wheel.setTimestamp(++time);
    QApplication::sendEvent(c.target, &wheel);
    EXPECT_EQ(bars[0]->value(), 380) << c.where;
    FGlowna->PageControl->setCurrentIndex(1);
    EXPECT_EQ(bars[1]->value(), 380) << c.where;
    FGlowna->PageControl->setCurrentIndex(0);
  }
}
