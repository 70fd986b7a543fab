#include "TempFolders.h"

#include "platform/Cp1250.h"
#include "platform/Platform.h"
#include "store/Folders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

TempFolders::TempFolders(const std::string& userName, const std::string& commonFolder)
    : userName_(userName), common_(commonFolder) {
  std::string tmpl = (fs::temp_directory_path() / "tarvek-test-XXXXXX").string();
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  if (!::mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
  root_ = buf.data();
  fs::create_directories(program());
  fs::create_directories(common());
  ::setenv("TARVEK_COMMON_DATA_DIR", common().c_str(), 1);
  ::setenv("TARVEK_USER_NAME", userName_.c_str(), 1);
  // No test reaches the network: the update check asks a closed port here
  // unless the test serves its own answers.
  ::setenv("TARVEK_UPDATE_URL", kNoUpdateServer, 1);
  platform::setProgramFolder(cp1250FromUtf8(program()));
  platform::setUtcClock({});
}

TempFolders::~TempFolders() {
  platform::setProgramFolder(std::nullopt);
  platform::setUtcClock({});
  ::unsetenv("TARVEK_COMMON_DATA_DIR");
  ::unsetenv("TARVEK_USER_NAME");
  ::unsetenv("TARVEK_UPDATE_URL");
  std::error_code ec;
  // Undo any permission a test took away, so the tree can go.
  for (auto it = fs::recursive_directory_iterator(root_, ec); !ec && it != fs::recursive_directory_iterator(); ++it)
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(root_, ec);
}

std::string TempFolders::data() const {
  return cp1250FromUtf8(common()) + "/Kestal-Tarvek/" + strFunFoldPolishLetters(cp1250FromUtf8(userName_));
}

void TempFolders::shipFromBuild(const std::string& name) const {
  fs::create_directories((fs::path(program()) / name).parent_path());
  fs::copy_file(fs::path(TARVEK_BUILT_PROGRAM_DIR) / name, fs::path(program()) / name,
                fs::copy_options::overwrite_existing);
}

void TempFolders::shipProgramFolder() const {
  const fs::path built(TARVEK_BUILT_PROGRAM_DIR);
  for (const auto& entry : fs::recursive_directory_iterator(built)) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), built);
    const fs::path target = fs::path(program()) / relative;
    fs::create_directories(target.parent_path());
    if (relative.has_parent_path()) {
      fs::remove(target);
      fs::create_symlink(entry.path(), target);
    } else {
      fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
    }
  }
}

void writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

#include <sqlite3.h>

void sqlExec(const std::string& path, const std::string& sql) { sqlExec(TSystemPath::fromText(path), sql); }

void sqlExec(const TSystemPath& path, const std::string& sql) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("open " + path.bytes());
  char* err = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
  const std::string msg = err ? err : "";
  sqlite3_free(err);
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw std::runtime_error(sql + ": " + msg);
}

std::vector<std::vector<std::string>> sqlRowsAt(const std::string& systemPath, const std::string& sql,
                                                bool readWrite) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(systemPath.c_str(), &db, readWrite ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(db);
    throw std::runtime_error("open " + systemPath);
  }
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
    const std::string msg = sqlite3_errmsg(db);
    sqlite3_close(db);
    throw std::runtime_error(sql + ": " + msg);
  }
  std::vector<std::vector<std::string>> rows;
  while (sqlite3_step(st) == SQLITE_ROW) {
    std::vector<std::string> row;
    for (int i = 0; i < sqlite3_column_count(st); ++i) {
      const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
      row.emplace_back(t ? t : "<NULL>");
    }
    rows.push_back(std::move(row));
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return rows;
}

std::vector<std::vector<std::string>> sqlRows(const std::string& path, const std::string& sql) {
  return sqlRowsAt(cp1250ToUtf8(path), sql, false);
}

std::vector<std::vector<std::string>> sqlRows(const TSystemPath& path, const std::string& sql) {
  return sqlRowsAt(path.bytes(), sql, false);
}
