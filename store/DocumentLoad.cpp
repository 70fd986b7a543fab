#include "DocumentFiles.h"

#include "store/CppSQLite3.h"
#include "store/DocumentFileParts.h"
#include "store/DocumentLocks.h"
#include "store/SqlText.h"
#include "store/Temporaries.h"
#include "platform/NativeFiles.h"

#include <fcntl.h>
#include <strings.h>
#include <vector>

namespace native = platform::native;
using namespace docfiles;

namespace {

// A student table exactly as this program makes it: the columns `id`,
// `comp_name`, `value` in this order, each declared TEXT, none generated,
// hidden, a key, NOT NULL or with a default. Without a key column the table
// has its rowid (a table without one must have a key). A virtual table
// fails here too: its module is not there, or it shows other columns.
bool plainStudentTable(CppSQLite3DB& db, const std::string& table) {
  static const char* const kColumns[] = {"id", "comp_name", "value"};
  CppSQLite3Query columns = db.runQuery("pragma table_xinfo(" + sqlTable(table) + ")");
  int count = 0;
  bool plain = true;
  for (; !columns.atEnd(); columns.step(), ++count) {
    plain = plain && count < 3 && columns.textByName("name") == kColumns[count] &&
            strcasecmp(columns.textByName("type").c_str(), "TEXT") == 0 && columns.intByName("notnull") == 0 &&
            columns.columnType(columns.columnIndex("dflt_value")) == SQLITE_NULL && columns.intByName("pk") == 0 &&
            columns.intByName("hidden") == 0;
  }
  columns.release();
  return plain && count == 3;
}

}  // namespace

bool bFunCheckDocument(const std::string& path, int& tables, TFileFailure& why) {
  if (const int e = native::readableFileError(path)) {
    why = TFileFailure::ofPickedFile(e);
    why.notDocument = why.notRegular;
    return false;
  }
  CppSQLite3DB db;
  try {
    // Read-write where it can be, so a hot journal of its own is rolled back.
    db.openSystemPath(path, native::fileWritable(path) ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY);
    // What the file holds is looked at first, before any row is read: a
    // generated column, an index or a check would run the file's own
    // expressions in every read below.
    db.runStatement("pragma ignore_check_constraints=ON");
    std::vector<std::string> names;
    CppSQLite3Query objects = db.runQuery("select type, name from sqlite_master");
    bool onlyTables = true;
    while (!objects.atEnd()) {
      const std::string name = objects.textAt(1);
      // SQLite's own tables (sqlite_sequence, sqlite_stat1) hold no student.
      if (objects.textAt(0) != "table")
        onlyTables = false;
      else if (name.compare(0, 7, "sqlite_") != 0)
        names.push_back(name);
      objects.step();
    }
    objects.release();
    for (std::size_t i = 0; onlyTables && i < names.size(); ++i) onlyTables = plainStudentTable(db, names[i]);
    if (!onlyTables) {
      why.notDocument = true;
      return false;
    }
    // One pass over the whole file reads every page and every row's record
    // (its header against its content, overflow pages and all), so no row
    // needs reading again.
    CppSQLite3Query check = db.runQuery("pragma quick_check");
    const bool whole = !check.atEnd() && check.textAt(0) == "ok";
    check.release();
    if (!whole) {
      why.notDocument = true;
      why.sqliteCode = SQLITE_CORRUPT;
      return false;
    }
    db.closeFile();
    tables = static_cast<int>(names.size());
    return true;
  } catch (const CppSQLite3Exception& e) {
    return fromSqlite(why, e, &db);
  }
}

bool bFunLoadDocument(const std::string& document, const std::string& workingCopy, TFileFailure& why,
                      TOpenedFile* read) {
  const native::TPickedFile picked(document);
  if (picked.error() != 0) {
    // A named pipe or a device is no document; it is never read.
    why = TFileFailure::ofPickedFile(picked.error());
    why.notDocument = why.notRegular;
    return false;
  }
  // The file as it stands before it is read, for "Zapisz" to check later;
  // one that a save into it left half-written is not read at all.
  const TFile file(native::linkTarget(document), O_RDONLY | O_NONBLOCK | O_NOCTTY);
  TOpenedFile before;
  const bool known = file.fd >= 0 && bFunFileNow(file.fd, before);
  if (file.fd >= 0 && refusedAsMarked(file.fd, why)) return false;
  const std::string next = workingCopy + ".wczytywany";
  removeQuietly(next);
  const TTemporaryRecord record(dataFolderOf(workingCopy), next);
  {
    CppSQLite3DB source, copy;
    try {
      // Read-write where it can be, so a hot journal of the document is
      // rolled back (opening a pipe for writing never waits); else the very
      // file that was checked is read, never its name again.
      std::string bytes;
      if (native::fileWritable(document))
        openDocument(source, document, SQLITE_OPEN_READWRITE);
      else if (picked.readAll(bytes))
        source.openBytes(bytes);
      else
        return fromSystem(why);  // nothing is made yet
      native::makePrivateFile(next);  // the working copy is the user's alone
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
  removeUnheldLeftover(native::linkTarget(document));
  if (read) {
    // Changed while it was read: no identity, so "Zapisz" asks first.
    *read = known && bFunSameFile(file.fd, before) ? before : TOpenedFile();
    read->path = document;
  }
  return true;
}
