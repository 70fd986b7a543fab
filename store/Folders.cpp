#include "Folders.h"

#include "store/DocumentFiles.h"
#include "store/OpenedFile.h"
#include "store/Operation.h"
#include "store/SqlText.h"
#include "platform/Cp1250.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
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

// A file of a folder; none while the folder cannot be had.
TSystemPath inFolder(const TSystemPath& folder, std::string_view name) {
  return folder.empty() ? TSystemPath() : folder / name;
}

// A folder or file the shipped list names (as text, and maybe Windows-style
// with "\\") in a folder.
TSystemPath listed(const TSystemPath& folder, std::string name) {
  vFunReplaceAll(name, "\\", "/");
  return inFolder(folder, cp1250ToUtf8(name));
}


// Why the program leaves a folder alone, and what the user can do.
const char kRefusal[] =
    "Program nie będzie go używał: ktoś inny mógłby podłożyć w nim pliki, które program by wczytał, albo "
    "podmienić te, które program w nim zapisuje.\n";

std::string octal(unsigned mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%o", mode);
  return text;
}

// The common level is shared by design: others may make their own folders
// in it, but must not be able to move or replace this user's, so a folder
// that others may write must keep its entries to their owners (the sticky
// bit, as /tmp has it).
bool commonLevelSafe(const std::string& path, std::string& message) {
  platform::FolderAccess access;
  if (!platform::folderAccess(path, access)) {
    message = createDirMessage(path);
    return false;
  }
  if (!access.othersMayWrite() || access.sticky()) return true;
  message = cp1250("Wspólny katalog programu:\n") + path +
            cp1250("\nmogą zmieniać także inni użytkownicy (uprawnienia ") + octal(access.mode) +
            cp1250("), a nie chroni on katalogów użytkowników przed podmianą (brak bitu \"sticky\").\n") +
            cp1250(kRefusal) +
            cp1250("Poproś administratora o ustawienie uprawnień 1777 albo 755 (polecenie: chmod 1777 \"") +
            path + "\").";
  return false;
}

// The user's own folder must be the user's alone: a folder of someone
// else's, or one that others may write, is refused; the user's own is
// closed to everyone else (0700).
bool userLevelSafe(const std::string& path, std::string& message) {
  platform::FolderAccess access;
  if (!platform::folderAccess(path, access) || !access.folder) {
    message = createDirMessage(path);
    return false;
  }
  const bool ownLink = !access.link || access.linkOwnedByUser;
  if (!access.ownedByUser || !ownLink) {
    message = cp1250("Katalog danych programu:\n") + path + cp1250("\nnależy do innego użytkownika (") +
              (ownLink ? access.owner : cp1250("dowiązanie symboliczne innego użytkownika")) + ").\n" +
              cp1250(kRefusal) +
              cp1250("Usuń ten katalog (zostanie utworzony na nowo) albo poproś administratora o pomoc.");
    return false;
  }
  if (access.othersMayWrite()) {
    message = cp1250("Katalog danych programu:\n") + path +
              cp1250("\nmogą zmieniać także inni użytkownicy (uprawnienia ") + octal(access.mode) + ").\n" +
              cp1250(kRefusal) +
              cp1250("Sprawdź, czy nie ma w nim obcych plików, odbierz innym prawo zapisu (polecenie: chmod 700 \"") +
              path + cp1250("\") i uruchom program ponownie.");
    return false;
  }
  if ((access.mode & 0077) != 0 && !platform::restrictToUser(path)) {
    message = createDirMessage(path);
    return false;
  }
  return true;
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

bool bFunFindMainDir(TSystemPath& folder, std::string& message) {
  std::string common;
  if (!platform::commonDataFolder(common)) {
    message = cp1250("Błąd uzyskania ścieżki głównego katalagu.\nKod błędu: ") + errorCode();
    return false;
  }
  std::string path = common + "/" + kAppFolder;
  if (!makeLevel(path, message) || !commonLevelSafe(path, message)) return false;
  path += "/" + strFunFoldPolishLetters(platform::userName());
  if (!platform::directoryExists(path) && !platform::createPrivateDirectory(path) &&
      !platform::directoryExists(path)) {
    message = createDirMessage(path);
    return false;
  }
  if (!userLevelSafe(path, message)) return false;
  folder = TSystemPath::fromText(path);
  return true;
}

TSystemPath strFunGetMainDirPath(TDataStore* DataStore) {
  TSystemPath folder;
  std::string message;
  if (bFunFindMainDir(folder, message)) return folder;
  vFunReportError(DataStore, message, "strFunGetMainDirPath()");
  return {};
}

bool bFunCreateDir(TDataStore* DataStore, const TSystemPath& path) {
  std::string message;
  if (makeLevel(path.text(), message)) return true;
  vFunReportError(DataStore, message, "strFunGetMainDirPath()");
  return false;
}

TSystemPath strFunGetProgramDirPath(TDataStore*) { return TSystemPath::fromText(platform::programFolder()); }

TSystemPath strFunGetTmpFilePath(TDataStore* DataStore) {
  return inFolder(strFunGetMainDirPath(DataStore), "data_tmp.tmp");
}

TSystemPath strFunGetSettingsFilePath(TDataStore* DataStore, bool inProgramDir) {
  return inFolder(inProgramDir ? strFunGetProgramDirPath(DataStore) : strFunGetMainDirPath(DataStore),
                  "ustawienia.sqset");
}

TSystemPath strFunGetCalibFilePath(TDataStore* DataStore, bool inProgramDir) {
  return inFolder(inProgramDir ? strFunGetProgramDirPath(DataStore) : strFunGetMainDirPath(DataStore),
                  "tvk_kalibracja.sqset");
}

bool bFunDeleteTmpFile(TDataStore* DataStore) {
  const TSystemPath path = strFunGetTmpFilePath(DataStore);
  if (path.empty()) return true;
  // The journal goes with the working copy: one left alone would be rolled
  // back into the next working copy of that name.
  TFileFailure why;
  // The file it belonged to goes with it: a later working copy belongs to none.
  vFunForgetOpenedFile(path);
  if (bFunDeleteDatabaseFiles(path, why)) return true;
  vFunReportError(DataStore,
                  cp1250("Błąd podczas próby kasowania pliku\n") + path.text() + cp1250("\nKod błędu: ") +
                      why.strFunCode(),
                  "bFunDeleteTmpFile()");
  return false;
}

bool bFunClearFileAttributes(TDataStore*, const TSystemPath& path) {
  return platform::fileExists(path) && platform::native::resetAttributes(path.bytes());
}

bool bFunCopyFile(TDataStore* DataStore, const TSystemPath& source, const TSystemPath& target, bool failIfExists) {
  if (platform::copyFile(source, target, failIfExists)) return true;
  vFunReportError(DataStore,
                  cp1250("Błąd podczas kopiowania pliku.\n\nZ: ") + source.text() + "\ndo: " + target.text() +
                      cp1250("\n\n Kod błędu: ") + errorCode(),
                  "bFunCopyFile()");
  return false;
}

namespace {

const char kListName[] = "pliki_kat.sqset";

// A number that changes with the contents of a shipped file (FNV-1a, kept
// positive and nonzero so it fits the list's integer flag column).
int shippedFingerprint(const TSystemPath& path) {
  std::uint32_t hash = 2166136261u;
  std::ifstream in(path.bytes(), std::ios::binary);
  char buf[1 << 16];
  while (in) {
    in.read(buf, sizeof buf);
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      hash ^= static_cast<unsigned char>(buf[i]);
      hash *= 16777619u;
    }
  }
  const int value = static_cast<int>(hash & 0x7FFFFFFFu);
  return value == 0 ? 1 : value;
}

// What the user's record says was installed: the list's rows as they were
// written, each flagged file with the fingerprint it was installed with.
struct TInstallRecord {
  bool present = false;   // a record is there
  bool readable = false;  // and it could be read
  std::vector<std::string> dirs;
  std::vector<std::pair<std::string, int>> files;
};

TInstallRecord installedRecord(const TSystemPath& record) {
  TInstallRecord read;
  read.present = platform::fileExists(record);
  if (!read.present) return read;
  try {
    CppSQLite3DB db;
    db.openSystemPath(record.bytes(), SQLITE_OPEN_READONLY);
    CppSQLite3Query dirs = db.runQuery("select * from `dir`");
    while (!dirs.atEnd()) {
      read.dirs.push_back(dirs.textByName("name"));
      dirs.step();
    }
    dirs.release();
    CppSQLite3Query files = db.runQuery("select * from `files`");
    while (!files.atEnd()) {
      read.files.emplace_back(files.textByName("name"), files.intByName("update", 0));
      files.step();
    }
    files.release();
    db.closeFile();
    read.readable = true;
  } catch (const CppSQLite3Exception&) {
    read.dirs.clear();
    read.files.clear();
  }
  return read;
}

// Writes the user's record: the list's rows, each flagged file with the
// fingerprint it was installed with. Written beside and renamed into place.
void writeRecord(const TSystemPath& record, const std::vector<std::string>& dirs,
                 const std::vector<std::pair<std::string, int>>& files) {
  const TSystemPath fresh(record.bytes() + ".nowy");
  platform::native::removeFile(fresh.bytes());
  {
    CppSQLite3DB db;
    db.openFile(fresh);
    TTransaction transaction(db);
    db.runStatement("create table `dir`( name TEXT ); create table `files`( name TEXT, `update` INTEGER );");
    for (const std::string& name : dirs) db.runStatement("insert into `dir` values('" + sqlQuoted(name) + "')");
    for (const auto& [name, installed] : files)
      db.runStatement("insert into `files` values('" + sqlQuoted(name) + "', " + std::to_string(installed) + ")");
    transaction.commit();
    db.closeFile();
  }
  if (!platform::native::replaceFile(fresh.bytes(), record.bytes())) {
    platform::native::removeFile(fresh.bytes());
    throw CppSQLite3Exception(SQLITE_CANTOPEN, "record");
  }
}

}  // namespace

// The program folder is never written (it may belong to another user, or
// lie on read-only media): its list is only read. A flagged file ("update"
// not 0) is installed over the user's copy once per shipped version of the
// file: the data folder keeps the user's own copy of the list as the
// record of what was installed, where a flagged row holds the fingerprint
// of the file it installed. A later start finds it there and keeps the
// user's copy (a calibration made since); a changed shipped file is
// installed once again.
bool bFunCheckFilesDir(TDataStore* DataStore) {
  const TSystemPath program = strFunGetProgramDirPath(DataStore);
  const TSystemPath list = inFolder(program, kListName);
  if (!bFunRequireFile(DataStore, list,
                       cp1250("Błąd podczas próby sprawdzenia wymaganych plików / katalogów.\nPlik nie istnieje: "),
                       "bFunCheckFilesDir()"))
    return false;

  // The data folder's own message stands when it cannot be had.
  const TSystemPath data = strFunGetMainDirPath(DataStore);
  if (data.empty()) return false;
  const TSystemPath record = data / kListName;

  try {
    std::vector<std::string> dirs;
    std::vector<std::pair<std::string, int>> rows;
    {
      CppSQLite3DB db;
      db.openSystemPath(list.bytes(), SQLITE_OPEN_READONLY);
      CppSQLite3Query dirQuery = db.runQuery("select * from `dir`");
      while (!dirQuery.atEnd()) {
        dirs.push_back(dirQuery.textByName("name"));
        dirQuery.step();
      }
      dirQuery.release();
      CppSQLite3Query files = db.runQuery("select * from `files`");
      while (!files.atEnd()) {
        rows.emplace_back(files.textByName("name"), files.intByName("update", 0));
        files.step();
      }
      files.release();
      db.closeFile();
    }

    for (const std::string& name : dirs)
      if (!bFunCreateDir(DataStore, listed(data, name))) return false;

    // A record that is there but cannot be read says nothing of what was
    // installed: the user's copies are kept (only missing files come), and
    // the record is written afresh.
    const TInstallRecord before = installedRecord(record);
    const std::map<std::string, int> installed(before.files.begin(), before.files.end());
    std::vector<std::pair<std::string, int>> done;
    for (const auto& [name, update] : rows) {
      const TSystemPath target = listed(data, name), source = listed(program, name);
      int mark = 0;
      if (update != 0) {
        mark = shippedFingerprint(source);
        const auto earlier = installed.find(name);
        const bool installedAlready =
            (before.present && !before.readable) || (earlier != installed.end() && earlier->second == mark);
        if (!installedAlready) {
          if (!bFunCopyFile(DataStore, source, target, false)) return false;
        } else if (!platform::fileExists(target)) {
          if (!bFunCopyFile(DataStore, source, target, true)) return false;
        }
      } else if (!platform::fileExists(target)) {
        if (!bFunCopyFile(DataStore, source, target, true)) return false;
      }
      done.emplace_back(name, mark);
    }
    // Written only when it changes: a start needs to write nothing (a full
    // data disk does not stop it).
    if (!before.readable || before.dirs != dirs || before.files != done) writeRecord(record, dirs, done);
    return true;
  } catch (const CppSQLite3Exception& e) {
    vFunReportError(DataStore, "Sql exception: " + std::string(CppSQLite3Exception::codeName(e.code())),
                    "bFunCheckFilesDir()");
    return false;
  }
}
