// The windows as the user sees them: every value box shows the widest value
// its field takes without scrolling, and no fixed text runs into a box or
// into another text.
#include "AppFixture.h"

#include "forms/DocumentForms.h"
#include "toolkit/Components.h"

#include <QComboBox>
#include <QImage>
#include <QCoreApplication>
#include <QResizeEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include <string>
#include <vector>

namespace {

// The room a line edit gives its text before it scrolls: its contents less
// the text margins and the two pixels the edit keeps free on each side; the
// text fits while its width and the caret's pixel do.
int textRoom(const QLineEdit* edit) {
  QStyleOptionFrame option;
  option.initFrom(edit);
  option.rect = edit->rect();
  option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
  option.state |= QStyle::State_Sunken;
  const QRect contents =
      edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).marginsRemoved(edit->textMargins());
  return contents.width() - 2 * 2;
}

bool fits(const QLineEdit* edit, const QString& value) {
  return qRound(QFontMetricsF(edit->font()).horizontalAdvance(value)) + 1 <= textRoom(edit);
}

QString widestDigits(const QFontMetricsF& metrics, int count) {
  QChar digit = QLatin1Char('0');
  for (char d = '1'; d <= '9'; ++d)
    if (metrics.horizontalAdvance(QLatin1Char(d)) > metrics.horizontalAdvance(digit)) digit = QLatin1Char(d);
  return QString(count, digit);
}

// The widest value a field takes: a list's widest item; a short field (a
// year, a number, one letter) its whole typing limit of the widest digit; a
// field the student's data fills, the widest text the copy puts there (one
// digit of the PESEL number, an ending). A line of free text may scroll as
// any long line does: nothing is asked of it (empty text).
QString widestValue(const TFormSpec& desc, const TComponentSpec& c, const QFont& font) {
  const QFontMetricsF metrics(font);
  QString widest;
  auto consider = [&](const QString& value) {
    if (metrics.horizontalAdvance(value) > metrics.horizontalAdvance(widest)) widest = value;
  };
  for (int i = 0; i < c.itemCount; ++i) consider(QString::fromUtf8(c.items[i]));
  if (c.kind == TSpecKind::Edit && c.maxLength > 0 && c.maxLength <= 4) consider(widestDigits(metrics, c.maxLength));
  for (int p = 0; p < desc.personalCount; ++p) {
    const TPersonalSpec& personal = desc.personal[p];
    if (std::string(personal.field) != c.name || personal.tokenCount != 1) continue;
    const TPersonalToken& token = personal.tokens[0];
    if (token.kind == TPersonalToken::Pesel) consider(widestDigits(metrics, 1));
    if (token.kind == TPersonalToken::Ending) {
      consider(QString::fromUtf8(token.text));
      consider(QString::fromUtf8(token.female));
    }
  }
  return widest;
}

class ScreenLayoutTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    start();
  }
};

TEST_F(ScreenLayoutTest, EveryValueBoxShowsTheWidestValueOfItsField) {
  for (TDocumentForm* form : vFunDocumentForms()) {
    form->show();
    const TFormSpec& desc = *form->Spec;
    for (int i = 0; i < desc.componentCount; ++i) {
      const TComponentSpec& c = desc.components[i];
      if (c.kind != TSpecKind::Edit && c.kind != TSpecKind::Combo) continue;
      auto* widget = qobject_cast<QWidget*>(form->findComponent(c.name));
      ASSERT_NE(widget, nullptr) << c.name;
      auto* edit = qobject_cast<QLineEdit*>(widget);
      if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // A list on a side not in front has not laid out its edit yet.
        QResizeEvent resize(combo->size(), combo->size());
        QCoreApplication::sendEvent(combo, &resize);
        edit = combo->lineEdit();
      }
      ASSERT_NE(edit, nullptr) << c.name;
      const QString widest = widestValue(desc, c, edit->font());
      EXPECT_TRUE(fits(edit, widest)) << desc.identity.className << " " << c.name << ": \"" << widest.toStdString()
                                      << "\" needs " << QFontMetricsF(edit->font()).horizontalAdvance(widest)
                                      << " px, the box has " << textRoom(edit);
    }
    form->hide();
  }
}

// The typed year of a current certificate stays whole in its box: all four
// digits are seen, none scrolled away.
TEST_F(ScreenLayoutTest, AYearTypedIntoTheFirstSchoolYearBoxIsSeenWhole) {
  for (TDocumentForm* form : vFunDocumentForms()) {
    auto* year = qobject_cast<QLineEdit*>(form->findComponent("ZMIENNA_RokSzkolny1_STR1_DATA_EDIT"));
    if (!year) continue;
    form->show();
    year->setFocus();
    year->clear();
    QTest::keyClicks(year, "2025");
    ASSERT_EQ(year->text(), "2025");
    year->grab();  // the edit lays its text out as it paints
    // The first digit is still where a click at the left edge puts the caret.
    EXPECT_EQ(year->cursorPositionAt(QPoint(4, year->height() / 2)), 0)
        << form->Identity.className;
    form->hide();
  }
}

// Where a fixed text is drawn inside its label: the label painted alone on a
// clear image, the box round every pixel its glyphs ink. The font's line box
// (ascent, descent and leading, as QFontMetrics::boundingRect gives it) is
// taller than any letter of the text: small lines stacked at the blank's pitch
// overlap there while their letters stay apart, so that box would find
// touches no one sees.
QRect drawnText(QLabel* label) {
  QImage image(label->size(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  label->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  int left = image.width(), top = image.height(), right = -1, bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(line[x]) == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Texts the blanks set against a box on purpose, with the reason: the box
// of a gender ending (or of the ending of "promocj") stands right after the
// word stem it completes, so that stem and ending read as one word. They may
// meet, never overlap: the box must not hide the stem's last letter.
const std::set<std::string> kIntendedTouches = {
    // "Realizował" + "a"
    "STALY_IRealizowal_STR1_DATA_LABEL / ZMIENNA_RealizowalA_STR1_DATA_EDIT",
    // "i otrzymał" + "a" (the certificates with distinction)
    "STALY_IOtrzymal_STR1_DATA_LABEL / ZMIENNA_OtrzymalA_STR1_DATA_EDIT",
    // "promocj" + "ę"
    "STALY_Promocji_STR1_DATA_LABEL / ZMIENNA_PromocjiE_STR1_DATA_EDIT",
    // "Przyjęt" + "y" (the record sheet's title pages)
    "STALY_Przyjety_DATA_LABEL / ZMIENNA_PrzyjetyA_DATA_EDIT",
};

// A row of dots that runs on under a box lying in front of it (a subject's
// leader on the earlier certificates runs to the grade column, under the
// extended-scope box) shows only up to the box: the box hides the rest, the
// dots meet no letter.
bool leaderUnderBox(const QLabel* label, const QWidget* other) {
  if (qobject_cast<const QLabel*>(other) || label->text().count(QLatin1Char('.')) != label->text().size()) return false;
  const QObjectList& stack = label->parentWidget()->children();
  return stack.indexOf(const_cast<QLabel*>(label)) < stack.indexOf(const_cast<QWidget*>(other));
}

// The fixed texts of a window as it shows now that touch a sibling: a box,
// a button or another text. A text touches what its glyphs meet or overlap:
// at least one clear pixel must stay between them.
void collectTouches(QWidget* window, std::map<std::string, std::string>& found) {
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (label->text().isEmpty() || !label->isVisible() || !label->parentWidget()) continue;
    const QRect text = drawnText(label).translated(label->pos());
    for (QObject* object : label->parentWidget()->children()) {
      auto* other = qobject_cast<QWidget*>(object);
      if (!other || other == label || !other->isVisible() || qobject_cast<TImage*>(other)) continue;
      auto* otherLabel = qobject_cast<QLabel*>(other);
      if (otherLabel && otherLabel->text().isEmpty()) continue;
      const QRect place = otherLabel ? drawnText(otherLabel).translated(other->pos()) : other->geometry();
      if (!text.adjusted(-1, -1, 1, 1).intersects(place) || leaderUnderBox(label, other)) continue;
      // A pair is named once, by its two names in order.
      std::string a = label->objectName().toStdString(), b = other->objectName().toStdString();
      if (otherLabel && b < a) std::swap(a, b);
      const auto where = [](const QRect& r) {
        return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
      };
      found.emplace(window->objectName().toStdString() + ": " + a + " / " + b,
                    "text " + where(text) + ", other " + where(place) + (text.intersects(place) ? ", over it" : ""));
    }
  }
}

TEST_F(ScreenLayoutTest, NoFixedTextTouchesABoxOrAnotherText) {
  std::map<std::string, std::string> found;
  for (QWidget* window : vFunOkna()) {
    // Each window as the user sees it, every page of its tabs in front once.
    window->show();
    collectTouches(window, found);
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
      const int front = tabs->currentIndex();
      for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        collectTouches(window, found);
      }
      tabs->setCurrentIndex(front);
    }
    window->hide();
  }
  for (const auto& [pair, places] : found)
    if (kIntendedTouches.count(pair.substr(pair.find(": ") + 2)) == 0 || places.ends_with("over it"))
      ADD_FAILURE() << pair << ": " << places;
}

}  // namespace
