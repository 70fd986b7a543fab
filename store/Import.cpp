#include "Import.h"

#include "store/Operation.h"
#include "store/SqlText.h"
#include "store/Temporaries.h"
#include "platform/Cp1250.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"

#include <cerrno>
#include <cstdio>

namespace {

const char kStudentStart[] = "<DANE SWIADECTW DLA:";
const char kStudentEnd[] = "</KONIEC DANYCH SWIADECTW>";
const char kPersonalStart[] = "<DANE UCZNIA TARVEK>";
const char kPersonalEnd[] = "</DANE UCZNIA TARVEK>";
const char kPersonalTag[] = "DANE UCZNIA";
const char kPeselName[] = "NrPesel_DATA_EDIT";
const char kMemo[] = "_DATA_MEMO";
const char kFun[] = "bFunImportDataFromFile";

bool contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

// How much of a file's own text a message quotes: a name, a line.
constexpr std::size_t kQuotedName = 60;
constexpr std::size_t kQuotedLine = 200;
constexpr std::size_t kValueCapacity = decltype(TDataRecord::value)::capacity;

// The text, cut to `limit` characters with "..." to show the cut.
std::string quoted(const std::string& text, std::size_t limit) {
  return text.size() <= limit ? text : text.substr(0, limit) + "...";
}

// Every line of a message cut to what a message box and a log row can hold.
std::string boundedLines(const std::string& text) {
  std::string out;
  std::size_t from = 0;
  for (;;) {
    const std::size_t end = text.find('\n', from);
    out += quoted(text.substr(from, end == std::string::npos ? std::string::npos : end - from), kQuotedLine);
    if (end == std::string::npos) return out;
    out += '\n';
    from = end + 1;
  }
}

// "<name>value": the value is all after the line's first ">", the name lies
// between the first "<" and the next ">" (before the first ">" when the
// line has no "<").
void splitRow(const std::string& line, std::string& name, std::string& value) {
  const std::size_t gt = line.find('>');
  value = line.substr(gt + 1);
  const std::size_t lt = line.find('<');
  if (lt == std::string::npos) {
    name = line.substr(0, gt);
    return;
  }
  const std::size_t close = line.find('>', lt + 1);
  name = line.substr(lt + 1, close == std::string::npos ? std::string::npos : close - lt - 1);
}

TDataRecord record(std::string_view id, std::string_view name, std::string_view value) {
  TDataRecord r;
  r.id = id;
  r.comp_name = name;
  r.value = value;
  return r;
}

bool fail(TImportFailure& failure, std::size_t line, std::string reason, const char* fun) {
  failure = {line, std::move(reason), fun, false, {}};
  return false;
}

// The new file could not be written: the disk's fault, not the student's.
bool writeFailed(TImportFailure& failure, std::size_t line, const CppSQLite3Exception& e, const CppSQLite3DB& db,
                 const char* fun) {
  fail(failure, line, std::string("SQLite exception: \n") + CppSQLite3Exception::codeName(e.code()), fun);
  failure.writing = true;
  return bFunSqliteFailure(failure.file, e, &db);
}

bool truncated(TImportSource& source, TImportFailure& failure, const char* fun) {
  return fail(failure, source.lineNumber(),
              cp1250("Plik kończy się przed końcem danych ucznia (\"") + kStudentEnd + "\").", fun);
}

// A value the document row cannot hold whole is refused, never cut.
bool valueTooLong(TImportSource& source, TImportFailure& failure, const std::string& name, std::size_t length,
                  const char* fun) {
  return fail(failure, source.lineNumber(),
              cp1250("Wartość pola \"") + quoted(name, kQuotedName) + cp1250("\" jest za długa: ") +
                  std::to_string(length) + cp1250(" znaków, a pole mieści najwyżej ") + std::to_string(kValueCapacity) +
                  cp1250(".\nSkróć tę wartość w pliku i zaimportuj go ponownie."),
              fun);
}

bool nextStudentTooEarly(TImportSource& source, TImportFailure& failure, const char* fun) {
  return fail(failure, source.lineNumber(),
              cp1250("Następny uczeń zaczyna się przed końcem danych tego ucznia (\"") + kStudentEnd + "\").", fun);
}

// Consecutive personal rows of one memo field become one row, its lines
// joined by line breaks.
std::vector<TDataRecord> joinedMemoGroups(const std::vector<TDataRecord>& records) {
  std::vector<TDataRecord> rows;
  for (std::size_t i = 0; i < records.size();) {
    const TDataRecord& first = records[i];
    std::string value = first.value.str();
    std::size_t next = i + 1;
    if (contains(first.comp_name, kMemo))
      for (; next < records.size() && records[next].comp_name == first.comp_name; ++next)
        value += "\n" + records[next].value.str();
    rows.push_back(record(kPersonalTag, first.comp_name, value));
    i = next;
  }
  return rows;
}

std::string insertOf(const std::string& table, const TDataRecord& r) {
  return "insert into " + sqlTable(table) + "( id, comp_name, value ) VALUES( '" + sqlQuoted(r.id) + "', '" +
         sqlQuoted(r.comp_name) + "', '" + sqlQuoted(r.value) + "')";
}

bool writeRows(CppSQLite3DB& db, const std::string& table, const std::vector<TDataRecord>& rows,
               const std::string& step, const TImportProgress& progress, std::size_t line, TImportFailure& failure,
               const char* fun) {
  if (progress.step) progress.step(step, rows.size());
  try {
    if (const std::optional<std::string> failed =
            optFunInsertRows(db, rows, [&](const TDataRecord& r) { return insertOf(table, r); }, progress.row))
      return fail(failure, line, cp1250("Błąd wpisu do bazy: \n") + *failed, fun);
  } catch (const CppSQLite3Exception& e) {
    return writeFailed(failure, line, e, db, fun);
  }
  return true;
}

// The table another student already has, ignoring letter case as SQLite
// does with table names.
bool tableTaken(CppSQLite3DB& db, const std::string& table) {
  return db.runIntQuery("select count(*) from sqlite_master where name='" + sqlQuoted(table) + "' collate nocase",
                        0) > 0;
}

// "Błąd importu danych ucznia nr 2 (Kot Jan), wiersz 15:\n" + the reason.
std::string describe(const TImportStudent& student, const TImportFailure& failure) {
  return cp1250("Błąd importu danych ucznia ") + student.strFunName() + ", wiersz " + std::to_string(failure.line) +
         ":\n" + boundedLines(failure.reason);
}

// Deletes a database file together with the journal SQLite may keep for it.
bool deleteDatabase(const TSystemPath& path) {
  TFileFailure ignored;
  return bFunDeleteDatabaseFiles(path, ignored);
}

}  // namespace

// ------------------------------------------------------------------ source

bool TImportSource::next(std::string& line) {
  if (pos_ >= text_.size()) return false;
  std::size_t end = text_.find('\n', pos_);
  if (end == std::string::npos) end = text_.size();
  line.assign(text_, pos_, end - pos_);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  pos_ = end + 1;
  ++line_;
  return true;
}

std::string TImportStudent::strFunName() const {
  std::string surname, first;
  for (const TDataRecord& r : personal) {
    if (r.comp_name == "Nazwisko_DATA_EDIT" && surname.empty()) surname = r.value.str();
    if (r.comp_name == "Imie_DATA_EDIT" && first.empty()) first = r.value.str();
  }
  std::string name = surname.empty() || first.empty() ? surname + first : surname + " " + first;
  if (name.empty()) {
    name = heading;
    if (const std::size_t gt = name.rfind('>'); gt != std::string::npos) name.erase(gt);
    const std::size_t from = name.find_first_not_of(' ');
    name = from == std::string::npos ? std::string() : name.substr(from);
  }
  return "nr " + std::to_string(number) + (name.empty() ? std::string() : " (" + quoted(name, kQuotedName) + ")");
}

// ------------------------------------------------------------------ readers

bool bFunImportReadStudentData(TImportSource& source, TImportStudent& student, TImportFailure& failure) {
  const char* fun = "bFunImportReadStudentData";
  std::string line;
  // 1. Up to the personal data. A student that ends without them has no
  // number and fails below.
  bool personal = false, ended = false;
  while (!personal && !ended) {
    if (!source.next(line)) return truncated(source, failure, fun);
    if (contains(line, kStudentStart)) return nextStudentTooEarly(source, failure, fun);
    if (contains(line, kPersonalEnd)) break;
    ended = contains(line, kStudentEnd);
    personal = contains(line, kPersonalStart);
  }
  // 2. The personal rows; the end of the student ends them as well.
  std::size_t memoLength = 0;
  while (personal) {
    if (!source.next(line)) return truncated(source, failure, fun);
    if (contains(line, kStudentStart)) return nextStudentTooEarly(source, failure, fun);
    if (contains(line, kPersonalEnd)) break;
    if (contains(line, kStudentEnd)) {
      ended = true;
      break;
    }
    if (!contains(line, ">")) continue;
    std::string name, value;
    splitRow(line, name, value);
    // Consecutive lines of one memo field become one value: its length counts.
    const bool continues = contains(name, kMemo) && !student.personal.empty() &&
                           student.personal.back().comp_name == name;
    memoLength = continues ? memoLength + 1 + value.size() : value.size();
    if (memoLength > kValueCapacity) return valueTooLong(source, failure, name, memoLength, fun);
    student.personal.push_back(record(kPersonalTag, name, value));
    if (contains(name, kPeselName)) {
      student.table = "PESEL" + student.personal.back().value.str();
      student.peselLine = source.lineNumber();
    }
  }
  if (student.table.empty() || student.table == "PESEL")
    return fail(failure, source.lineNumber(), cp1250("Brak numeru PESEL ucznia (wiersz \"") + kPeselName + "\").", fun);
  if (student.table.size() > decltype(TStudentListRecord::TableName)::capacity)
    return fail(failure, student.peselLine, cp1250("Numer PESEL ucznia jest za długi: ") + student.table.substr(5),
                fun);
  // 3. The documents.
  return ended || bFunImportReadCertData(source, student, failure);
}

bool bFunImportReadCertData(TImportSource& source, TImportStudent& student, TImportFailure& failure) {
  const char* fun = "bFunImportReadCertData";
  std::string line, lastMemo;
  int memoLine = 0;
  while (source.next(line)) {
    if (contains(line, kStudentEnd)) return true;
    if (contains(line, kStudentStart)) return nextStudentTooEarly(source, failure, fun);
    // A line without "<" between two documents (a blank one) begins none.
    const std::size_t lt = line.find('<');
    if (lt == std::string::npos) continue;
    const std::size_t gt = line.find('>', lt + 1);
    const std::string tag = line.substr(lt + 1, gt == std::string::npos ? std::string::npos : gt - lt - 1);
    const std::string end = "</" + tag + ">";
    for (;;) {
      if (!source.next(line)) return truncated(source, failure, fun);
      if (contains(line, end)) break;
      if (contains(line, kStudentEnd)) return true;  // ends the document as well
      if (contains(line, kStudentStart)) return nextStudentTooEarly(source, failure, fun);
      if (!contains(line, ">")) continue;
      std::string name, value;
      splitRow(line, name, value);
      if (value.size() > kValueCapacity) return valueTooLong(source, failure, name, value.size(), fun);
      if (contains(name, kMemo)) {
        memoLine = name == lastMemo ? memoLine + 1 : 1;
        lastMemo = name;
        char number[16];
        std::snprintf(number, sizeof number, "%02d", memoLine);
        name += number;
      }
      student.documents.push_back(record(tag, name, value));
    }
  }
  return truncated(source, failure, fun);
}

// ------------------------------------------------------------------ writers

bool bFunWriteStudentDataToDB(CppSQLite3DB& target, const std::string& table,
                              const std::vector<TDataRecord>& records, const TImportProgress& progress,
                              TImportFailure& failure) {
  return writeRows(target, table, joinedMemoGroups(records), "importuje dane ucznia...", progress, failure.line,
                   failure, "bFunWriteStudentDataToDB()");
}

bool bFunSqlImportWriteCertDataToDB(CppSQLite3DB& target, const std::string& table,
                                    const std::vector<TDataRecord>& records, const TImportProgress& progress,
                                    TImportFailure& failure) {
  return writeRows(target, table, records, cp1250("importuje świadectwa dla ") + table, progress, failure.line,
                   failure, "bFunSqlImportWriteCertDataToDB()");
}

bool bFunImportWriteStudent(CppSQLite3DB& target, const TImportStudent& student, const TImportProgress& progress,
                            TImportFailure& failure) {
  const char* fun = "bFunImportWriteStudent";
  failure.line = student.line;
  try {
    if (tableTaken(target, student.table))
      return fail(failure, student.peselLine,
                  cp1250("Numer PESEL ") + student.table.substr(5) + cp1250(" ma już inny uczeń tego pliku."), fun);
    TTransaction transaction(target);
    target.runStatement(strFunDataTableCreate(student.table));
    if (!bFunWriteStudentDataToDB(target, student.table, student.personal, progress, failure) ||
        !bFunSqlImportWriteCertDataToDB(target, student.table, student.documents, progress, failure))
      return false;  // rolled back: none of this student's rows stay
    transaction.commit();
    return true;
  } catch (const CppSQLite3Exception& e) {
    return writeFailed(failure, student.line, e, target, fun);
  }
}

// ------------------------------------------------------------------ the import

bool bFunReplaceDocumentFile(TDataStore* DataStore, const TSystemPath& source, const TSystemPath& target,
                             const std::string& fun) {
  sqlite3* from = nullptr;
  sqlite3* to = nullptr;
  int rc = sqlite3_open_v2(source.c_str(), &from, SQLITE_OPEN_READONLY, nullptr);
  // A working copy made here is the user's alone.
  if (rc == SQLITE_OK) platform::native::makePrivateFile(target.bytes());
  if (rc == SQLITE_OK)
    rc = sqlite3_open_v2(target.c_str(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc == SQLITE_OK) {
    if (sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main")) {
      rc = sqlite3_backup_step(backup, -1);
      const int finished = sqlite3_backup_finish(backup);
      rc = rc == SQLITE_DONE ? finished : rc;
    } else {
      rc = sqlite3_errcode(to);
    }
  }
  TFileFailure why;
  why.sqliteCode = rc;
  why.systemError = rc == SQLITE_OK ? 0 : to ? sqlite3SystemErrno(to) : sqlite3SystemErrno(from);
  sqlite3_close(from);
  sqlite3_close(to);
  if (rc != SQLITE_OK) {
    vFunReportError(DataStore, cp1250("Błąd zapisu pliku: \n") + target.text() + "\n" + strFunFailureLines(why), fun);
    return false;
  }
  deleteDatabase(source);
  return true;
}

bool bFunImportDataFromFile(TDataStore* DataStore, const TSystemPath& target, const TSystemPath& source,
                            const TImportProgress& progress) {
  // Read as it is checked: a folder, a pipe or a device is never waited on.
  const platform::native::TPickedFile picked(source.bytes());
  if (picked.error() == ENOENT) {
    vFunReportError(DataStore, cp1250("Plik źródłowy nie istnieje: \n") + source.text(), kFun);
    return false;
  }
  const TFileFailure bad = TFileFailure::ofPickedFile(picked.error());
  if (bad.notRegular || bad.systemError == EISDIR) {
    vFunReportError(DataStore,
                    cp1250("Plik nie jest plikiem tekstowym: \n") + source.text() + "\n" + strFunFailureLines(bad),
                    kFun);
    return false;
  }
  if (target.empty()) {  // no data folder to write into
    vFunReportError(DataStore, cp1250("Błąd zapisu pliku: \n") + target.text(), kFun);
    return false;
  }
  std::string text;
  if (!picked.readAll(text)) {
    vFunReportError(DataStore,
                    cp1250("Błąd odczytu pliku: \n") + source.text() + "\n" +
                        strFunFailureLines(TFileFailure::ofPickedFile(platform::lastError())),
                    kFun);
    return false;
  }
  if (text.find('\0') != std::string::npos) {
    vFunReportError(DataStore, cp1250("Plik nie jest plikiem tekstowym: \n") + source.text(), kFun);
    return false;
  }
  // Lines ended by a carriage return alone (an old Mac text) read as one
  // line: said plainly instead of naming a student by the whole file.
  if (text.find('\n') == std::string::npos && text.find('\r') != std::string::npos) {
    vFunReportError(DataStore,
                    cp1250("Plik nie ma podziału na wiersze: wiersze kończą się w nim samym znakiem powrotu karetki "
                           "(CR), bez znaku nowego wiersza (LF).\nZapisz plik ponownie z końcami wierszy CR LF "
                           "albo LF (na przykład w Notatniku) i zaimportuj go jeszcze raz: \n") +
                        source.text(),
                    kFun);
    return false;
  }
  // The students go into a new file beside the target.
  const TSystemPath fresh(target.bytes() + ".import");
  if (!deleteDatabase(fresh)) {
    vFunReportError(DataStore, cp1250("Błąd kasowania pliku: \n") + fresh.text(), kFun);
    return false;
  }
  // A kill before the end leaves it: the next start removes it by its record.
  const TTemporaryRecord record(fresh.folder().bytes(), fresh.bytes());

  TImportSource lines(std::move(text));
  TImportFailure failure;
  std::size_t count = 0;
  bool ok = true;
  TImportStudent student;
  CppSQLite3DB db;
  try {
    db.openFile(fresh);
    std::string line;
    while (ok && lines.next(line)) {
      if (!contains(line, kStudentStart)) continue;
      student = TImportStudent {};
      student.number = ++count;
      student.line = lines.lineNumber();
      student.heading = line.substr(line.find(kStudentStart) + std::string_view(kStudentStart).size());
      ok = bFunImportReadStudentData(lines, student, failure) && bFunImportWriteStudent(db, student, progress, failure);
    }
    db.closeFile();
  } catch (const CppSQLite3Exception& e) {  // the new file cannot be made or closed
    failure.writing = true;
    bFunSqliteFailure(failure.file, e, &db);
    failure.fun = kFun;
    ok = false;
    try {
      db.closeFile();
    } catch (const CppSQLite3Exception&) {
    }
  }
  if (!ok && failure.writing) {
    // The disk is full or the folder takes no file: no student is to blame.
    deleteDatabase(fresh);
    vFunReportError(DataStore,
                    cp1250("Błąd zapisu pliku: \n") + fresh.text() + "\n" + strFunFailureLines(failure.file),
                    failure.fun);
    return false;
  }
  if (ok && count == 0) {
    deleteDatabase(fresh);
    vFunReportError(DataStore, cp1250("Plik nie zawiera danych uczniów: \n") + source.text(), kFun);
    return false;
  }
  if (!ok) {
    deleteDatabase(fresh);
    vFunReportError(DataStore, describe(student, failure), failure.fun);
    return false;
  }
  if (!bFunReplaceDocumentFile(DataStore, fresh, target, kFun)) {
    deleteDatabase(fresh);
    return false;
  }
  return true;
}
