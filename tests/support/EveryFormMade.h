#pragma once
// A test suite with every document form of the registry made once (as
// start-up makes them, without the shell's windows) and forgotten at its end.
#include "forms/DocumentForms.h"
#include "forms/FormMakers.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class EveryFormMade : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (int i = 0; i < kFormSpecCount; ++i)
      if (!frmFunLiveForm(i)) made().push_back(std::unique_ptr<TDocumentForm>(kFormMakers[i].make(nullptr)));
  }
  static void TearDownTestSuite() {
    made().clear();
    for (int i = 0; i < kFormSpecCount; ++i) kFormMakers[i].forget();
  }
  static std::vector<std::unique_ptr<TDocumentForm>>& made() {
    static std::vector<std::unique_ptr<TDocumentForm>> forms;
    return forms;
  }
  static TDocumentForm& form(const char* className) { return *frmFunFormOfClass(className); }
};
