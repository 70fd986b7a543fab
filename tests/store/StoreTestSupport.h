#pragma once
// What the data-store tests share: a data folder of their own, the data
// store, and a look at the error log.
#include "platform/Cp1250.h"
#include "store/DataStore.h"
#include "store/Folders.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using Rows = std::vector<std::vector<std::string>>;

class StoreTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  TDataStore ds;
  const std::string data = strFunGetMainDirPath(&ds).text();  // made here

  // (fun, info) of every logged error, oldest first.
  Rows logged() const {
    const std::string log = dirs.data() + "/logs.sqdb";
    return std::filesystem::exists(cp1250ToUtf8(log)) ? sqlRows(log, "select fun, info from `error`") : Rows {};
  }
  // The last failure: its message and the log row written for it.
  void expectFailure(const std::string& message, const std::string& fun) const {
    EXPECT_EQ(ds.ErrorStream.str(), message);
    const Rows log = logged();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), (std::vector<std::string> {fun, message}));
  }
  bool exists(const std::string& path) const { return std::filesystem::exists(cp1250ToUtf8(path)); }
  // A database that SQLite opens read only: its header names a write
  // format newer than SQLite knows.
  static void markReadOnly(const std::string& path) {
    std::fstream f(cp1250ToUtf8(path), std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(18);
    f.put(3);
  }
};
