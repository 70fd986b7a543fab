#include "Folders.h"

#include "store/DocumentFiles.h"
#include "store/Operation.h"
#include "store/SqlText.h"
#include "platform/Cp1250.h"
#include "platform/Platform.h"

#include <utility>
#include <vector>

namespace {

const std::string kAppFolder = "Kestal-Tarvek";

std::string errorCode() { return std::to_string(platform::lastError()); }

std::string createDirMessage(const std::string& path) {
  return cp1250("Błąd podczas tworzenia katalogu:\n") + path + cp1250("\nKod błędu: ") + errorCode();
}

// One folder level: true when it is there or was made.
bool makeLevel(const std::string& path, std::string& message) {
  if (platform::directoryExists(path)) return true;
  if (platform::createDirectory(path)) return true;
  message = createDirMessage(path);
  return false;
}

std::string inFolder(const std::string& folder, const std::string& name) {
  return folder.empty() ? std::string() : folder + "/" + name;
}

// Shipped lists may name sub-folders Windows-style.
std::string slashed(std::string name) {
  vFunReplaceAll(name, "\\", "/");
  return name;
}

}  // namespace

void vFunReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) return;
  std::size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
  }
}

std::string strFunFoldPolishLetters(std::string name) {
  static const std::pair<const char*, const char*> kFold[] = {
      {"\xA5", "A"}, {"\xB9", "a"}, {"\xC6", "C"}, {"\xE6", "c"}, {"\xCA", "E"}, {"\xEA", "e"},
      {"\xA3", "L"}, {"\xB3", "l"}, {"\xD1", "N"}, {"\xF1", "n"}, {"\xD3", "O"}, {"\xF3", "o"},
      {"\x8C", "S"}, {"\x9C", "s"}, {"\x8F", "Z"}, {"\x9F", "z"}, {"\xAF", "Z"}, {"\xBF", "z"},
  };
  for (const auto& [from, to] : kFold) vFunReplaceAll(name, from, to);
  return name;
}

bool bFunFindMainDir(std::string& folder, std::string& message) {
  std::string common;
  if (!platform::commonDataFolder(common)) {
    message = cp1250("Błąd uzyskania ścieżki głównego katalagu.\nKod błędu: ") + errorCode();
    return false;
  }
  std::string path = common + "/" + kAppFolder;
  if (!makeLevel(path, message)) return false;
  path += "/" + strFunFoldPolishLetters(platform::userName());
  if (!makeLevel(path, message)) return false;
  folder = std::move(path);
  return true;
}

std::string strFunGetMainDirPath(TDataStore* DataStore) {
  std::string folder, message;
  if (bFunFindMainDir(folder, message)) return folder;
  vFunReportError(DataStore, message, "strFunGetMainDirPath()");
  return {};
}

bool bFunCreateDir(TDataStore* DataStore, const std::string& path) {
  std::string message;
  if (makeLevel(path, message)) return true;
  vFunReportError(DataStore, message, "strFunGetMainDirPath()");
  return false;
}

std::string strFunGetProgramDirPath(TDataStore*) { return platform::programFolder(); }

std::string strFunGetTmpFilePath(TDataStore* DataStore) {
  return inFolder(strFunGetMainDirPath(DataStore), "data_tmp.tmp");
}

std::string strFunGetSettingsFilePath(TDataStore* DataStore, bool inProgramDir) {
  return inFolder(inProgramDir ? strFunGetProgramDirPath(DataStore) : strFunGetMainDirPath(DataStore),
                  "ustawienia.sqset");
}

std::string strFunGetCalibFilePath(TDataStore* DataStore, bool inProgramDir) {
  return inFolder(inProgramDir ? strFunGetProgramDirPath(DataStore) : strFunGetMainDirPath(DataStore),
                  "tvk_kalibracja.sqset");
}

bool bFunDeleteTmpFile(TDataStore* DataStore) {
  const std::string path = strFunGetTmpFilePath(DataStore);
  if (path.empty()) return true;
  // The journal goes with the working copy: one left alone would be rolled
  // back into the next working copy of that name.
  TFileFailure why;
  if (bFunDeleteDatabaseFiles(cp1250ToUtf8(path), why)) return true;
  vFunReportError(DataStore,
                  cp1250("Błąd podczas próby kasowania pliku\n") + path + cp1250("\nKod błędu: ") + why.strFunCode(),
                  "bFunDeleteTmpFile()");
  return false;
}

bool bFunClearFileAttributes(TDataStore*, const std::string& path) {
  return platform::fileExists(path) && platform::resetAttributes(path);
}

bool bFunCopyFile(TDataStore* DataStore, const std::string& source, const std::string& target, bool failIfExists) {
  if (platform::copyFile(source, target, failIfExists)) return true;
  vFunReportError(DataStore,
                  cp1250("Błąd podczas kopiowania pliku.\n\nZ: ") + source + "\ndo: " + target +
                      cp1250("\n\n Kod błędu: ") + errorCode(),
                  "bFunCopyFile()");
  return false;
}

bool bFunCheckFilesDir(TDataStore* DataStore) {
  const std::string program = strFunGetProgramDirPath(DataStore);
  const std::string list = inFolder(program, "pliki_kat.sqset");
  if (!bFunRequireFile(DataStore, list,
                       cp1250("Błąd podczas próby sprawdzenia wymaganych plików / katalogów.\nPlik nie istnieje: "),
                       "bFunCheckFilesDir()"))
    return false;

  // The data folder's own message stands when it cannot be had.
  const std::string data = strFunGetMainDirPath(DataStore);
  if (data.empty()) return false;

  return bFunRunOnDatabase(DataStore, list, "Sql exception: ", "bFunCheckFilesDir()", [&](CppSQLite3DB& db) {
    CppSQLite3Query dirs = db.runQuery("select * from `dir`");
    while (!dirs.atEnd()) {
      if (!bFunCreateDir(DataStore, data + "/" + slashed(dirs.textByName("name")))) return false;
      dirs.step();
    }
    dirs.release();

    // The rows are read first and then worked through, so the flag reset
    // below never changes the table under an open cursor.
    std::vector<std::pair<std::string, int>> rows;
    CppSQLite3Query files = db.runQuery("select * from `files`");
    while (!files.atEnd()) {
      rows.emplace_back(files.textByName("name"), files.intByName("update", 0));
      files.step();
    }
    files.release();

    for (const auto& [name, update] : rows) {
      const std::string target = data + "/" + slashed(name);
      const std::string source = inFolder(program, slashed(name));
      if (update != 0) {
        if (!bFunCopyFile(DataStore, source, target, false)) return false;
      } else if (!platform::fileExists(target)) {
        if (!bFunCopyFile(DataStore, source, target, true)) return false;
      }
      db.runStatement("update `files` set `update`='0' where `name`='" + sqlQuoted(name) + "'");
    }
    return true;
  });
}
