#pragma once
// The program's windows made and initialised over a shipped program folder
// and a data folder of the test's own, with the three option boxes off, so
// a drawing depends on its layout and form alone.
#include "app/GlownaUnit.h"
#include "app/Startup.h"
#include "support/TempFolders.h"
#include "toolkit/Dialogs.h"

#include <QCheckBox>

#include <gtest/gtest.h>

class TMainWindowTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  TScriptedDialogs script;
  void SetUp() override {
    dirs.shipProgramFolder();
    vFunUtworzOkna();
    FGlowna->vFunInicjalizacja();
    FGlowna->WykreskujPusteCheckBox->setChecked(false);
    FGlowna->PrintNoDotsCheckBox->setChecked(false);
    FGlowna->cbWordWrap->setChecked(false);
  }
  void TearDown() override { vFunZwolnijOkna(); }
};
