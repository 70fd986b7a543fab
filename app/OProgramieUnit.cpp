#include "app/OProgramieUnit.h"

#include "app/GlownaUnit.h"
#include "app/ToolbarPictures.h"
#include "toolkit/Components.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

TFOProgramie* FOProgramie = nullptr;

namespace {

QString qt(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

TFOProgramie::TFOProgramie(QWidget* parent) : TDialogForm("FOProgramie", parent) {
  setWindowTitle(qt("O programie"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedBorder(true);
  setFixedSize(316, 282);

  Image1 = Make<TImage>("Image1", this);
  Image1->setGeometry(316 - 16 - 48, 16, 48, 48);
  Image1->setStretch(true);
  Image1->setPicture(icoFunToolbarPicture(TToolbarPicture::EditDocument).pixmap(48, 48).toImage());

  const QString version =
      QString::number(kVersionMajor) + "." + QString::number(kVersionMinor) + "." + QString::number(kVersionBuild);
  Label1 = Make<QLabel>("Label1", this);
  Label1->setGeometry(16, 16, 316 - 16 - 48 - 16 - 8, 210);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label1->setWordWrap(true);
  Label1->setTextFormat(Qt::RichText);
  Label1->setText(qt("<p style='margin:0'><b style='font-size:14pt'>Kestal - Tarvek</b></p>"
                     "<p style='margin-top:4px'>Drukowanie świadectw szkolnych, arkuszy ocen "
                     "i dokumentów szkoły na drukach ścisłych.</p>"
                     "<p>Wersja: ") +
                  version +
                  qt("</p><p>Producent:<br>Kestal<br>www.kestal.pl<br>pomoc@kestal.pl</p>"
                     "<p>Wszelkie prawa zastrzeżone.</p>"));

  ZamknijButton = Make<QPushButton>("ZamknijButton", qt("Zamknij"), this);
  ZamknijButton->setGeometry((316 - 90) / 2, 282 - 16 - 27, 90, 27);
  vFunOnClick(ZamknijButton, [this] { ZamknijButtonClick(); });
}

void TFOProgramie::FormShow() {
}

void TFOProgramie::ZamknijButtonClick() { setModalResult(mrOk); }
