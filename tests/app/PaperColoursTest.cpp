// Under a dark desktop theme the pictures of the blanks stay paper: the
// blank's words laid over them are drawn dark on the blank's cream, its
// fields are light boxes with dark text, and a page looks the same whatever
// the theme, also when the theme changes while the program runs; menus,
// tree and dialogs keep following the theme.
#include "StudentFixture.h"

#include "app/DaneSzkoly.h"
#include "forms/DocumentForms.h"
#include "forms/FormUnits.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeWidget>

#include <cmath>
#include <map>

namespace {

// A desktop's palette of the main roles, as a theme gives it.
QPalette themePalette(QRgb window, QRgb text, QRgb base, QRgb button, QRgb disabledText) {
  const QColor face(button);
  QPalette p {QColor(text), face, face.lighter(130), face.darker(160), face.darker(120),
              QColor(text), QColor(0xffffff), QColor(base), QColor(window)};
  p.setColor(QPalette::ButtonText, QColor(text));
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, QColor(disabledText));
  return p;
}
// A dark theme (GTK's Adwaita dark) and a light one.
QPalette darkPalette() { return themePalette(0x353535, 0xeeeeec, 0x2d2d2d, 0x383838, 0x919190); }
QPalette lightPalette() { return themePalette(0xf6f5f4, 0x2e3436, 0xffffff, 0xeeeeee, 0x929595); }

// Relative luminance and contrast ratio as the accessibility guidelines
// define them (1 : 1 to 21 : 1).
double luminance(QRgb c) {
  auto channel = [](int v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}
double contrast(QRgb a, QRgb b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What a widget's drawing adds to what lies under it, grabbed from the
// surface with the widget shown and hidden: the greatest contrast between
// a pixel it changes and the pixel under it (0 when it changes nothing).
double drawnContrast(QWidget* surface, QWidget* widget) {
  const QRect place(widget->mapTo(surface, QPoint(0, 0)), widget->size());
  const QImage shown = surface->grab(place).toImage().convertToFormat(QImage::Format_RGB32);
  widget->hide();
  const QImage under = surface->grab(place).toImage().convertToFormat(QImage::Format_RGB32);
  widget->show();
  double best = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      if (shown.pixel(x, y) != under.pixel(x, y)) best = std::max(best, contrast(shown.pixel(x, y), under.pixel(x, y)));
  return best;
}

// The text of a field as drawn: what a text adds to the field's own box.
// The colour the box is filled with: the most frequent one inside its frame.
struct TFieldLook {
  QRgb fill = 0;
  double text = 0;
};
TFieldLook fieldLook(QWidget* field) {
  const std::string kept = strFunGetText(field);
  bFunSetText(field, "");
  const QImage empty = field->grab().toImage().convertToFormat(QImage::Format_RGB32);
  bFunSetText(field, "WYDZ 123");
  const QImage typed = field->grab().toImage().convertToFormat(QImage::Format_RGB32);
  bFunSetText(field, kept);
  TFieldLook look;
  std::map<QRgb, int> counts;
  for (int y = 3; y < empty.height() - 3; ++y)
    for (int x = 3; x < empty.width() - 3; ++x) ++counts[empty.pixel(x, y)];
  int most = 0;
  for (const auto& [rgb, n] : counts)
    if (n > most) {
      most = n;
      look.fill = rgb;
    }
  for (int y = 0; y < typed.height(); ++y)
    for (int x = 0; x < typed.width(); ++x)
      if (typed.pixel(x, y) != empty.pixel(x, y))
        look.text = std::max(look.text, contrast(typed.pixel(x, y), empty.pixel(x, y)));
  return look;
}

struct TSurface {
  std::string name;
  QWidget* window;
  QWidget* surface;  // the picture of the blank and what lies on it
};

// Every surface that shows a blank: each side of every document form and
// the two blanks of the school-template dialog. A side's picture is read
// when its form is first shown.
std::vector<TSurface> blanks() {
  std::vector<TSurface> surfaces;
  for (TDocumentForm* form : vFunDocumentForms()) {
    form->show();
    form->hide();
    for (int i = 0; i < form->Spec->sideCount; ++i) {
      auto* picture = form->findComponentAs<TImage>(form->Spec->sides[i].image);
      surfaces.push_back({std::string(form->Identity.className) + " side " + std::to_string(i + 1), form,
                          picture->parentWidget()});
    }
  }
  surfaces.push_back({"FDaneSzkoly Image1", FDaneSzkoly, FDaneSzkoly->Image1});
  surfaces.push_back({"FDaneSzkoly Image2", FDaneSzkoly, FDaneSzkoly->Image2});
  return surfaces;
}

bool isField(QWidget* w) {
  if (qobject_cast<QComboBox*>(w->parentWidget())) return false;  // a combo box's own edit
  const TComponentKind kind = kindOf(w);
  if (kind == TComponentKind::ComboBox) return static_cast<QComboBox*>(w)->isEditable();
  return kind == TComponentKind::Edit || kind == TComponentKind::Memo;
}

}  // namespace

class PaperColoursTest : public StudentTest {
 protected:
  // The windows are made under the dark theme, as at a start on a dark desktop.
  PaperColoursTest() : theme(QApplication::palette()) { QApplication::setPalette(darkPalette()); }
  ~PaperColoursTest() override { QApplication::setPalette(theme); }
  const QPalette theme;  // the desktop's light palette of the tests
};

// Each word of a blank laid over its picture reads at least 4.5 : 1 against
// the picture behind it; each field is a light box whose text reads 4.5 : 1.
TEST_F(PaperColoursTest, UnderADarkThemeTheBlanksWordsAndFieldsReadOnTheirPaper) {
  int words = 0, fields = 0;
  for (const TSurface& blank : blanks()) {
    std::vector<std::string> faults;
    for (QWidget* w : blank.surface->findChildren<QWidget*>()) {
      if (!w->isVisibleTo(blank.surface)) continue;
      if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().trimmed().isEmpty()) {
        ++words;
        const double ratio = drawnContrast(blank.surface, label);
        if (ratio < 4.5)
          faults.push_back(label->objectName().toStdString() + " \"" + label->text().toStdString() + "\" " +
                           std::to_string(ratio));
      } else if (isField(w)) {
        ++fields;
        const TFieldLook look = fieldLook(w);
        if (luminance(look.fill) < 0.7 || look.text < 4.5)
          faults.push_back(w->objectName().toStdString() + " filled " + QColor(look.fill).name().toStdString() +
                           ", text " + std::to_string(look.text));
      }
    }
    EXPECT_TRUE(faults.empty()) << blank.name << ": " << faults.size() << " faults, "
                                << ::testing::PrintToString(std::vector(faults.begin(), faults.begin() +
                                                                        std::min<std::size_t>(faults.size(), 6)));
  }
  // Every form's words and fields were seen (the holders' fields and the
  // template's 39 edits).
  EXPECT_GT(words, 1300);
  EXPECT_GT(fields, 1750);
}

// A page of a blank looks the same under a dark and a light theme, also
// when the theme changes while the windows are open: a document form's side,
// the school-template dialog's blank and the preview of a document; the
// tree, the windows' own parts and the dialogs take the theme's colours.
TEST_F(PaperColoursTest, ThePagesLookTheSameUnderEitherThemeAndTheRestFollowsIt) {
  open(makeDocumentFile({{"05210112345", personalRows(cp1250("Żółkiewska"), "Anna", "05210112345")}}));
  select(0, 0);  // "MEN-I/21a/2 świad. klasa I", drawn on the preview
  showActive(FKlasa1a);
  // No field has the keyboard: a blinking cursor is no colour of a theme.
  if (QWidget* field = QApplication::focusWidget()) field->clearFocus();
  auto* side1 = FKlasa1a->findComponentAs<TImage>("ImageSide1")->parentWidget();
  QWidget* pages[] = {side1, FDaneSzkoly->Image1, FGlowna->Image1};
  std::vector<QImage> dark;
  for (QWidget* page : pages) dark.push_back(page->grab().toImage());
  ASSERT_FALSE(dark[2].isNull());

  const QPalette night = darkPalette();
  auto followsTheme = [](const QWidget* w, const QPalette& p, QPalette::ColorRole role) {
    return w->palette().color(QPalette::Active, role) == p.color(QPalette::Active, role);
  };
  EXPECT_TRUE(followsTheme(FGlowna->TreeView, night, QPalette::Base));
  EXPECT_TRUE(followsTheme(FKlasa1a, night, QPalette::Window));
  EXPECT_TRUE(followsTheme(FKlasa1a->OKButton, night, QPalette::Button));
  EXPECT_TRUE(followsTheme(FDaneSzkoly->Panel1, night, QPalette::Window));
  EXPECT_TRUE(followsTheme(FDaneUcznia, night, QPalette::Base));

  const QPalette day = lightPalette();
  QApplication::setPalette(day);
  QCoreApplication::processEvents();  // the theme's change reaches the windows
  for (std::size_t i = 0; i < std::size(pages); ++i)
    EXPECT_TRUE(pages[i]->grab().toImage() == dark[i]) << pages[i]->objectName().toStdString();
  EXPECT_TRUE(followsTheme(FGlowna->TreeView, day, QPalette::Base));
  EXPECT_TRUE(followsTheme(FKlasa1a, day, QPalette::Window));
  FKlasa1a->hide();
}
