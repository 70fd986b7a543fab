#pragma once
// A program folder with the shipped files, an empty data folder, scripted
// message boxes, and every window of the program made as start-up makes them.
#include "app/GlownaUnit.h"
#include "app/Startup.h"
#include "platform/Cp1250.h"
#include "support/TempFolders.h"
#include "toolkit/Dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>

// A file name as the real file dialog returns it: a QString of the file's
// own name, here from the Windows-1250 text a test keeps it in.
inline QString chosenName(const std::string& cp1250Path) { return QString::fromStdString(cp1250ToUtf8(cp1250Path)); }
// The same from the file's own (UTF-8) name.
inline QString chosenSystemName(const std::string& utf8Path) { return QString::fromStdString(utf8Path); }

// The common data folder of a user whose home folder has Polish letters in
// its name, as the data folders of many users here have.
inline constexpr char kPolishHomeData[] = "home/józef/.local/share";

class AppTest : public ::testing::Test {
 protected:
  // The common data folder below the test's root (UTF-8).
  explicit AppTest(const std::string& common = "common") : dirs("nauczyciel", common) {}
  TempFolders dirs;
  TScriptedDialogs script;

  void SetUp() override {
    dirs.shipProgramFolder();
  }
  void TearDown() override { vFunZwolnijOkna(); }

  void start() {
    vFunZwolnijOkna();
    vFunUtworzOkna();
    FGlowna->vFunInicjalizacja();
  }
  std::string settingsFile() const { return dirs.data() + "/ustawienia.sqset"; }
  std::string utf8(const std::string& path) const { return cp1250ToUtf8(path); }
};
