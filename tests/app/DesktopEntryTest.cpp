// The running windows are the menu entry's: the application's desktop file
// is the entry the install adds, by which a Wayland compositor matches the
// windows to "Kestal - Tarvek", and every window carries the icon that entry
// names, from the desktop's icon theme, or, where the theme lacks it, the
// program's own copy of the installed icon.
#include "AppFixture.h"

#include "app/DaneSzkoly.h"
#include "assets/ProgramIcon.h"
#include "forms/FormUnits.h"
#include "render/Drukowanie.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

// The menu entry the install puts into share/applications: its file name
// less ".desktop", and a key of it.
struct TMenuEntry {
  std::string name;
  std::map<std::string, std::string> keys;
};
TMenuEntry installedEntry() {
  TMenuEntry entry;
  for (const auto& file : fs::directory_iterator(TARVEK_DESKTOP_SOURCES)) {
    if (file.path().extension() != ".desktop") continue;
    EXPECT_TRUE(entry.name.empty()) << "one menu entry";
    entry.name = file.path().stem().string();
    std::ifstream in(file.path());
    for (std::string line; std::getline(in, line);)
      if (const std::size_t eq = line.find('='); eq != std::string::npos && line[0] != '#')
        entry.keys.emplace(line.substr(0, eq), line.substr(eq + 1));
  }
  return entry;
}

QImage pictureOf(const QIcon& icon) { return icon.pixmap(48, 48).toImage().convertToFormat(QImage::Format_ARGB32); }

}  // namespace

class DesktopEntryTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    QGuiApplication::setDesktopFileName(QString());
    QApplication::setWindowIcon(QIcon());
  }
  void TearDown() override {
    AppTest::TearDown();
    QIcon::setThemeSearchPaths(searchPaths_);
    QIcon::setThemeName(theme_);
  }
  // The desktop's icon theme: a folder of our own, with or without an icon
  // of that name.
  void iconTheme(const std::string& icon, const char* svg) {
    const std::string themes = dirs.root() + "/icons";
    fs::create_directories(themes + "/hicolor/scalable/apps");
    std::ofstream(themes + "/hicolor/index.theme")
        << "[Icon Theme]\nName=Hicolor\nDirectories=scalable/apps\n\n"
           "[scalable/apps]\nSize=48\nMinSize=8\nMaxSize=512\nType=Scalable\n";
    if (svg) std::ofstream(themes + "/hicolor/scalable/apps/" + icon + ".svg") << svg;
    QIcon::setThemeSearchPaths({QString::fromStdString(themes)});
    QIcon::setThemeName(QStringLiteral("hicolor"));
  }
  // Every window the start-up makes, the main window, a document form,
  // the school-template and print dialogs among them.
  std::vector<QWidget*> windows() const { return {FGlowna, FKlasa1a, FArkuszStr2b, FDaneSzkoly, FDrukuj}; }

 private:
  const QStringList searchPaths_ = QIcon::themeSearchPaths();
  const QString theme_ = QIcon::themeName();
};

TEST_F(DesktopEntryTest, TheWindowsAreTheMenuEntrysWithTheIconOfTheDesktopsTheme) {
  const TMenuEntry entry = installedEntry();
  ASSERT_EQ(entry.name, "kestal-tarvek");
  ASSERT_TRUE(entry.keys.count("Icon"));
  // A red square under the entry's icon name: the windows show it.
  iconTheme(entry.keys.at("Icon"),
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\">"
            "<rect width=\"48\" height=\"48\" fill=\"#ff0000\"/></svg>");
  start();
  EXPECT_EQ(QGuiApplication::desktopFileName().toStdString(), entry.name);
  EXPECT_EQ(QApplication::windowIcon().name().toStdString(), entry.keys.at("Icon"));
  for (QWidget* window : windows()) {
    const QImage shown = pictureOf(window->windowIcon());
    ASSERT_FALSE(shown.isNull()) << window->objectName().toStdString();
    EXPECT_EQ(shown.pixel(24, 24), qRgb(255, 0, 0)) << window->objectName().toStdString();
  }
}

TEST_F(DesktopEntryTest, WhereTheThemeHasNoSuchIconTheWindowsShowTheProgramsCopyOfIt) {
  iconTheme(installedEntry().keys["Icon"], nullptr);
  start();
  EXPECT_EQ(QGuiApplication::desktopFileName().toStdString(), installedEntry().name);
  // The copy is the installed icon, byte for byte, drawn as it is.
  QFile installed(QStringLiteral(TARVEK_INSTALLED_ICON));
  ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
  const QByteArray svg = installed.readAll();
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(kProgramIconSvg), static_cast<qsizetype>(kProgramIconSvgSize)),
            svg);
  QImage drawn(48, 48, QImage::Format_ARGB32);
  drawn.fill(Qt::transparent);
  {
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer(svg).render(&painter);
  }
  ASSERT_EQ(qAlpha(drawn.pixel(24, 24)), 255) << "the sheet of the certificate";
  for (QWidget* window : windows()) EXPECT_EQ(pictureOf(window->windowIcon()), drawn) << window->objectName().toStdString();
}
