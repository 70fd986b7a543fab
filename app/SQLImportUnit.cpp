#include "app/SQLImportUnit.h"

#include "toolkit/Components.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include <algorithm>

TFSQLImport* FSQLImport = nullptr;

TFSQLImport::TFSQLImport(QWidget* parent) : TDialogForm("FSQLImport", parent) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setWindowTitle(QStringLiteral("Import danych"));
  setFixedBorder(true);
  setFixedSize(504, 60);

  Label1 = Make<QLabel>("Label1", QStringLiteral("Operacja:"), this);
  Label1->move(8, 8);
  Label1->adjustSize();
  InfoLabel = Make<QLabel>("InfoLabel", this);
  // The step's text starts where the window's design has it, or behind
  // "Operacja:" where the font makes that caption wider.
  InfoLabel->setGeometry(std::max(56, Label1->geometry().right() + 5), 8, 440, Label1->height());
  ProgressBar = Make<QProgressBar>("ProgressBar", this);
  ProgressBar->setGeometry(8, 32, 489, 17);
  ProgressBar->setRange(0, 100);
  ProgressBar->setValue(0);
  ProgressBar->setTextVisible(false);
}

void TFSQLImport::FormShow() {
}

TImportProgress TFSQLImport::progress() {
  return {[this](const std::string& step, std::size_t total) {
            bFunSetText(InfoLabel, step);
            // An empty range would make the bar a busy indicator.
            ProgressBar->setRange(0, static_cast<int>(std::max<std::size_t>(total, 1)));
            ProgressBar->setValue(0);
            InfoLabel->repaint();
            Label1->repaint();
            ProgressBar->repaint();
          },
          [this](std::size_t done, std::size_t total) {
            ProgressBar->setValue(static_cast<int>(done));
            if (done % 64 == 0 || done == total) ProgressBar->repaint();
          }};
}
