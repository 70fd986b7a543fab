#include "DocumentFiles.h"

#include "store/CppSQLite3.h"
#include "store/SqlText.h"
#include "platform/Cp1250.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"

#include <cerrno>
#include <vector>

namespace native = platform::native;

namespace {

// Files SQLite may keep beside a database.
const char* const kCompanions[] = {"-journal", "-wal", "-shm"};

bool fromSystem(TFileFailure& why) {
  why.systemError = platform::lastError();
  return false;
}

bool fromSqlite(TFileFailure& why, const CppSQLite3Exception& e, const CppSQLite3DB* db = nullptr) {
  why.sqliteCode = e.code();
  why.systemError = db ? db->systemError() : 0;
  const int primary = e.code() & 0xFF;
  why.notDocument = primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_FORMAT ||
                    primary == SQLITE_ERROR;
  return false;
}

void removeQuietly(const std::string& path) {
  TFileFailure ignored;
  bFunDeleteDatabaseFiles(path, ignored);
}

// Every row of the table read through its three columns.
void readStudentTable(CppSQLite3DB& db, const std::string& table) {
  CppSQLite3Query rows = db.runQuery("select `id`, `comp_name`, `value` from " + sqlTable(table));
  while (!rows.atEnd()) rows.step();
  rows.release();
}

}  // namespace

std::string TFileFailure::strFunCode() const {
  if (systemError != 0) return std::to_string(systemError);
  return sqliteCode != 0 ? std::to_string(sqliteCode) : std::string();
}

std::string strFunSystemErrorAdvice(int systemError) {
  switch (systemError) {
    case ENOSPC:
    case EDQUOT: return cp1250("Na dysku zabrakło miejsca. Zwolnij miejsce na dysku i spróbuj ponownie.\n");
    case EACCES:
    case EPERM:
    case EROFS:
      return cp1250("Brak uprawnień do tego pliku lub katalogu. Wybierz inny katalog albo poproś administratora o "
                    "uprawnienia.\n");
    default: return {};
  }
}

std::string TFileFailure::strFunAdvice() const {
  if (const std::string advice = strFunSystemErrorAdvice(systemError); !advice.empty()) return advice;
  switch (sqliteCode & 0xFF) {
    case SQLITE_FULL: return strFunSystemErrorAdvice(ENOSPC);
    case SQLITE_READONLY:
    case SQLITE_PERM: return strFunSystemErrorAdvice(EACCES);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: return cp1250("Wybrany plik nie jest plikiem świadectw tego programu.\n");
    default: return {};
  }
}

std::string strFunSaveInProgressPath(const std::string& document) { return document + ".zapis-tmp"; }

bool bFunDeleteDatabaseFiles(const std::string& path, TFileFailure& why) {
  if (!native::removeFile(path)) return fromSystem(why);
  for (const char* companion : kCompanions)
    if (!native::removeFile(path + companion)) return fromSystem(why);
  return true;
}

bool bFunCheckDocument(const std::string& path, int& tables, TFileFailure& why) {
  if (const int e = native::readableFileError(path)) {
    why.systemError = e;
    return false;
  }
  CppSQLite3DB db;
  try {
    // Read-write where it can be, so a hot journal of its own is rolled back.
    db.openSystemPath(path, native::fileWritable(path) ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY);
    CppSQLite3Query check = db.runQuery("pragma quick_check");
    const bool whole = !check.atEnd() && check.textAt(0) == "ok";
    check.release();
    if (!whole) {
      why.notDocument = true;
      why.sqliteCode = SQLITE_CORRUPT;
      return false;
    }
    std::vector<std::string> names;
    CppSQLite3Query objects = db.runQuery("select type, name from sqlite_master where name not like 'sqlite\\_%' escape '\\'");
    bool onlyTables = true;
    while (!objects.atEnd()) {
      if (objects.textAt(0) == "table")
        names.push_back(objects.textAt(1));
      else
        onlyTables = false;
      objects.step();
    }
    objects.release();
    if (!onlyTables) {
      why.notDocument = true;
      return false;
    }
    for (const std::string& name : names) readStudentTable(db, name);
    db.closeFile();
    tables = static_cast<int>(names.size());
    return true;
  } catch (const CppSQLite3Exception& e) {
    return fromSqlite(why, e, &db);
  }
}

bool bFunLoadDocument(const std::string& document, const std::string& workingCopy, TFileFailure& why) {
  if (const int e = native::readableFileError(document)) {
    why.systemError = e;
    return false;
  }
  const std::string next = workingCopy + ".wczytywany";
  removeQuietly(next);
  {
    CppSQLite3DB source, copy;
    try {
      source.openSystemPath(document, native::fileWritable(document) ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY);
      copy.openSystemPath(next, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
      copy.runStatement("pragma journal_mode=OFF");
      copy.copyDatabaseFrom(source);
      copy.closeFile();
      source.closeFile();
    } catch (const CppSQLite3Exception& e) {
      fromSqlite(why, e, copy.systemError() != 0 ? &copy : &source);
      removeQuietly(next);
      return false;
    }
  }
  int tables = 0;
  if (!bFunCheckDocument(next, tables, why)) {
    // What SQLite could copy but not read is no document.
    why.notDocument = why.notDocument || why.systemError == 0;
    removeQuietly(next);
    return false;
  }
  // The old working copy's journal goes before the new copy takes its name,
  // so no journal of the old one is ever rolled back into the new one.
  for (const char* companion : kCompanions)
    if (!native::removeFile(workingCopy + companion)) {
      removeQuietly(next);
      return fromSystem(why);
    }
  if (!native::syncFile(next) || !native::replaceFile(next, workingCopy)) {
    fromSystem(why);
    removeQuietly(next);
    return false;
  }
  removeQuietly(strFunSaveInProgressPath(native::linkTarget(document)));
  return true;
}

bool bFunSaveDocument(const std::string& workingCopy, const std::string& document, TFileFailure& why) {
  const std::string target = native::linkTarget(document);
  if (native::isDirectory(target)) {
    why.systemError = EISDIR;
    return false;
  }
  const std::string temp = strFunSaveInProgressPath(target);
  removeQuietly(temp);

  CppSQLite3DB source, copy;
  // A file put in its place is this user's: where the document is someone
  // else's (a shared folder), or in a group the user is not in, it is written
  // where it is, so its owner and the group's access stay.
  const bool beside = native::folderTakesNewFiles(target) &&
                      (!native::exists(target) || native::ownershipCopyable(target));
  if (!beside && !(native::exists(target) && native::fileWritable(target))) {
    why.systemError = EACCES;
    return false;
  }
  try {
    // Read-write, so a hot journal of the working copy is rolled back and
    // only its committed state is copied.
    source.openSystemPath(workingCopy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (beside) {
      copy.openSystemPath(temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
      copy.runStatement("pragma journal_mode=OFF");
    } else {
      // No journal can be made beside it: SQLite keeps it in memory, so a
      // failure still rolls the document back.
      copy.openSystemPath(target, SQLITE_OPEN_READWRITE);
      copy.runStatement("pragma journal_mode=MEMORY");
    }
    copy.copyDatabaseFrom(source);
    copy.closeFile();
    source.closeFile();
  } catch (const CppSQLite3Exception& e) {
    fromSqlite(why, e, copy.systemError() != 0 ? &copy : &source);
    why.notDocument = false;
    if (beside) removeQuietly(temp);
    return false;
  }
  if (!beside) return true;

  const bool placed = native::syncFile(temp) && (!native::exists(target) || native::copyOwnership(target, temp)) &&
                      native::replaceFile(temp, target);
  if (placed) return true;
  fromSystem(why);
  removeQuietly(temp);
  return false;
}
