// Making the program's 33 windows with all their components, timed beside
// the floor (FloorPair.h): bare Qt widgets of the same kinds and number, one
// plain widget per window with the components of each made on it, each combo
// box with its items and editable where the program's is. The program's
// budget: at most 1.5 times the bare widgets.
#include "FloorPair.h"
#include "app/Startup.h"
#include "toolkit/Form.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// How many components of each kind a window has.
struct Census {
  int edits = 0, labels = 0, memos = 0, buttons = 0, others = 0;
  std::vector<std::pair<QStringList, bool>> combos;  // each combo box's items, and whether it is editable
};

std::vector<Census> takeCensus() {
  std::vector<Census> windows;
  vFunUtworzOkna();
  for (QWidget* top : QApplication::topLevelWidgets()) {
    auto* form = dynamic_cast<TComponentRegistry*>(top);
    if (!form) continue;
    Census c;
    for (int i = 0; i < form->ComponentCount(); ++i) {
      QObject* o = form->Components(i);
      if (qobject_cast<QLineEdit*>(o)) ++c.edits;
      else if (auto* combo = qobject_cast<QComboBox*>(o)) {
        QStringList items;
        for (int k = 0; k < combo->count(); ++k) items << combo->itemText(k);
        c.combos.emplace_back(items, combo->isEditable());
      } else if (qobject_cast<QLabel*>(o)) ++c.labels;
      else if (qobject_cast<QPlainTextEdit*>(o)) ++c.memos;
      else if (qobject_cast<QPushButton*>(o)) ++c.buttons;
      else ++c.others;
    }
    windows.push_back(c);
  }
  vFunZwolnijOkna();
  return windows;
}

const std::vector<Census>& census() {
  static const std::vector<Census> windows = takeCensus();
  return windows;
}

void bareWidgets(const std::vector<Census>& windows) {
  std::vector<std::unique_ptr<QWidget>> made;
  made.reserve(windows.size());
  for (const Census& c : windows) {
    auto window = std::make_unique<QWidget>();
    QWidget* parent = window.get();
    int y = 0;
    auto place = [&y](QWidget* w) { w->setGeometry(10, y += 3, 100, 20); };
    for (int i = 0; i < c.edits; ++i) place(new QLineEdit(parent));
    for (const auto& [items, editable] : c.combos) {
      auto* combo = new QComboBox(parent);
      combo->setEditable(editable);
      combo->addItems(items);
      place(combo);
    }
    for (int i = 0; i < c.labels; ++i) place(new QLabel(QStringLiteral("tekst"), parent));
    for (int i = 0; i < c.memos; ++i) place(new QPlainTextEdit(parent));
    for (int i = 0; i < c.buttons; ++i) place(new QPushButton(QStringLiteral("OK"), parent));
    for (int i = 0; i < c.others; ++i) place(new QWidget(parent));
    made.push_back(std::move(window));
  }
  // Each widget made asks to be polished when events are next handled; one
  // sweep takes back all of those requests, where each widget's own end
  // would search the whole queue for its own.
  QCoreApplication::removePostedEvents(nullptr, QEvent::PolishRequest);
}

void BM_ProgramWindows(benchmark::State& state) {
  const std::vector<Census>& windows = census();
  bench::timePair(
      state, "windows",
      [] {
        vFunUtworzOkna();
        vFunZwolnijOkna();
      },
      [&windows] { bareWidgets(windows); });
  int total = 0;
  for (const Census& c : windows) total += c.edits + static_cast<int>(c.combos.size()) + c.labels + c.memos + c.buttons + c.others;
  state.counters["windows"] = static_cast<double>(windows.size());
  state.counters["components"] = total;
}
BENCHMARK(BM_ProgramWindows)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  census();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
