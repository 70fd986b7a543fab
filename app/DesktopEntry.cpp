#include "app/DesktopEntry.h"

#include "assets/ProgramIcon.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QIcon icoFunIkonaProgramu() {
  const QString name = QString::fromLatin1(kDesktopEntryName);
  if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
  QSvgRenderer drawing(QByteArray::fromRawData(reinterpret_cast<const char*>(kProgramIconSvg),
                                               static_cast<qsizetype>(kProgramIconSvgSize)));
  QIcon icon;
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawing.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

void vFunUstawWpisPulpitu() {
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopEntryName));
  QApplication::setWindowIcon(icoFunIkonaProgramu());
}
