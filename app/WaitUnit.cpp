#include "app/WaitUnit.h"

#include "assets/WaitPicture.h"
#include "render/jpeg/JpegImage.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>

TFWait* FWait = nullptr;

TFWait::TFWait(QWidget* parent) : TDialogForm("FWait", parent) {
  // It takes no input, so it never takes the keyboard either: the window
  // the user works in stays the active one while it shows. Taking and
  // giving back the activation would repaint every window of the program
  // twice in each save.
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFixedBorder(true);
  setFixedSize(186, 51);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::blue);
  setPalette(palette);
  setAutoFillBackground(true);

  Image1 = Make<TImage>("Image1", this);
  Image1->setGeometry(0, 0, 186, 51);
  Image1->setStretch(true);
  Image1->setPicture(jpeg::decodeJpeg(QByteArray::fromRawData(reinterpret_cast<const char*>(kWaitPictureJpeg),
                                                          static_cast<qsizetype>(kWaitPictureJpegSize))));

  ProgressBar = Make<QProgressBar>("ProgressBar", this);
  ProgressBar->setGeometry(0, 51 - 17, 186, 17);
  ProgressBar->setRange(0, 100);
  ProgressBar->setValue(0);
  ProgressBar->setTextVisible(false);
}

void TFWait::FormShow() {
  Image1->repaint();
}
