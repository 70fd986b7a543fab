// Making the program's 33 windows with all their components, against bare Qt
// widgets of the same kinds and number (one dialog per window, the
// components of each made plainly on it). The program's budget: at most 1.5
// times the bare widgets.
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
  int edits = 0, combos = 0, labels = 0, memos = 0, buttons = 0, others = 0;
  std::vector<QStringList> items;  // of each combo box
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
        ++c.combos;
        QStringList items;
        for (int k = 0; k < combo->count(); ++k) items << combo->itemText(k);
        c.items.push_back(items);
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

void BM_ProgramWindows(benchmark::State& state) {
  for (auto _ : state) {
    vFunUtworzOkna();
    vFunZwolnijOkna();
  }
}
BENCHMARK(BM_ProgramWindows)->Unit(benchmark::kMillisecond);

void BM_BareWidgets(benchmark::State& state) {
  const std::vector<Census>& windows = census();
  for (auto _ : state) {
    std::vector<std::unique_ptr<QWidget>> made;
    for (const Census& c : windows) {
      auto window = std::make_unique<QWidget>();
      int y = 0;
      auto place = [&y](QWidget* w) { w->setGeometry(10, y += 3, 100, 20); };
      for (int i = 0; i < c.edits; ++i) place(new QLineEdit(window.get()));
      for (const QStringList& items : c.items) {
        auto* combo = new QComboBox(window.get());
        combo->setEditable(true);
        combo->addItems(items);
        place(combo);
      }
      for (int i = 0; i < c.labels; ++i) place(new QLabel(QStringLiteral("tekst"), window.get()));
      for (int i = 0; i < c.memos; ++i) place(new QPlainTextEdit(window.get()));
      for (int i = 0; i < c.buttons; ++i) place(new QPushButton(QStringLiteral("OK"), window.get()));
      for (int i = 0; i < c.others; ++i) place(new QWidget(window.get()));
      made.push_back(std::move(window));
    }
  }
  int total = 0;
  for (const Census& c : windows) total += c.edits + c.combos + c.labels + c.memos + c.buttons + c.others;
  state.counters["windows"] = static_cast<double>(windows.size());
  state.counters["components"] = total;
}
BENCHMARK(BM_BareWidgets)->Unit(benchmark::kMillisecond);

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
