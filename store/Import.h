#pragma once
// The import of the old tagged text files ("*.tvk"): Windows-1250 text, one
// student after the other:
//
//   <DANE SWIADECTW DLA: ...>            a student begins
//   <DANE UCZNIA TARVEK>                 personal data, one row a line:
//   <Nazwisko_DATA_EDIT>Kowalski         "<" component name ">" value
//   </DANE UCZNIA TARVEK>
//   <KLASA Ia TARVEK>                    a document: its tag between "<" and ">"
//   <ZMIENNA_Szczegolne_DATA_MEMO>line   a multi-line field: one row a line
//   </KLASA Ia TARVEK>
//   </KONIEC DANYCH SWIADECTW>           the student ends
//
// Every student becomes a student table "PESEL<number>" of a new document
// file written beside the target; only when every student went in does that
// file replace the target. A failure leaves the target as it was and says
// which student, which line and why.
#include "store/CppSQLite3.h"
#include "store/DataRows.h"
#include "store/DataStore.h"
#include "store/DocumentFiles.h"
#include "store/Records.h"
#include "platform/SystemPath.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// What a progress window shows: each writing step with its text and the
// number of rows it will write, then every row written.
struct TImportProgress {
  std::function<void(const std::string& step, std::size_t total)> step;
  TProgress row;
};

// One student of the text as it was read.
struct TImportStudent {
  std::size_t number = 0;         // its place in the file, from 1
  std::size_t line = 0;           // the line of its "<DANE SWIADECTW DLA:"
  std::string heading;            // the rest of that line
  std::string table;              // "PESEL" + number; empty while none was read
  std::size_t peselLine = 0;      // the line that gave the number
  std::vector<TDataRecord> personal;   // personal-data rows, as read (memo lines apart)
  std::vector<TDataRecord> documents;  // document rows, memo lines numbered
  // How messages name the student: "nr <n> (<surname> <first name>)".
  std::string strFunName() const;
};

// The lines of a text file, numbered from 1; a carriage return before a
// line break is dropped.
class TImportSource {
 public:
  explicit TImportSource(std::string text) : text_(std::move(text)) {}
  bool next(std::string& line);
  std::size_t lineNumber() const { return line_; }

 private:
  std::string text_;
  std::size_t pos_ = 0;
  std::size_t line_ = 0;
};

// Why an import stops: the line, the reason, and the step that met it.
// A failure to write the new file (a full disk) is no fault of the student
// being written: it is kept in `file` instead, with `writing` set.
struct TImportFailure {
  std::size_t line = 0;
  std::string reason;
  std::string fun;
  bool writing = false;
  TFileFailure file;
};

// Imports the text file `source` (e.g. from the file dialog) into the
// document file `target` (the working copy), which it replaces (or makes).
// False with the failure in ErrorStream (and logged); the target is then
// untouched.
bool bFunImportDataFromFile(TDataStore* DataStore, const TSystemPath& target, const TSystemPath& source,
                            const TImportProgress& progress = {});

// The steps, each usable alone. The readers go on from the source's current
// line; "<DANE SWIADECTW DLA:" has been read. False with `failure` set.
bool bFunImportReadStudentData(TImportSource& source, TImportStudent& student, TImportFailure& failure);
bool bFunImportReadCertData(TImportSource& source, TImportStudent& student, TImportFailure& failure);

// Writes one student as one transaction on an open connection: its table,
// the personal data (a memo's lines joined by line breaks into one row),
// then the document rows. Any failure rolls the whole student back.
bool bFunImportWriteStudent(CppSQLite3DB& target, const TImportStudent& student, const TImportProgress& progress,
                            TImportFailure& failure);
// Its two halves, inside the caller's transaction.
bool bFunWriteStudentDataToDB(CppSQLite3DB& target, const std::string& table,
                              const std::vector<TDataRecord>& records, const TImportProgress& progress,
                              TImportFailure& failure);
bool bFunSqlImportWriteCertDataToDB(CppSQLite3DB& target, const std::string& table,
                                    const std::vector<TDataRecord>& records, const TImportProgress& progress,
                                    TImportFailure& failure);

// Puts the document file `source` in the place of `target` as one step
// (SQLite's backup, so the target is never half written), then deletes
// `source`. False with the message in ErrorStream, logged under `fun`; the
// target is then as it was.
bool bFunReplaceDocumentFile(TDataStore* DataStore, const TSystemPath& source, const TSystemPath& target,
                             const std::string& fun);
