#pragma once
// What the loading, the locking and the saving of documents share: the files
// SQLite keeps beside a database, and how a failure is recorded. Only for
// the files of store/ that handle documents.
#include "store/FileFailures.h"
#include "store/OpenedFile.h"

#include <functional>
#include <future>
#include <string>
#include <system_error>
#include <type_traits>
#include <utility>

namespace docfiles {

// The operations of DocumentFiles.h and OpenedFile.h as these files call
// them among themselves: on the system's bytes of a path, which is all a
// path is to the file calls they make.
using TWhileChecked = std::function<void(const std::string& path)>;
bool bFunCheckDocument(const std::string& path, int& tables, TFileFailure& why,
                       const TWhileChecked& whileChecked = {});
bool bFunLoadDocument(const std::string& document, const std::string& workingCopy, TFileFailure& why,
                      TOpenedFile* read = nullptr, const TWhileChecked& whileChecked = {});
bool bFunSaveDocument(const std::string& workingCopy, const std::string& document, TFileFailure& why,
                      const TOpenedFile* expected = nullptr, TOpenedFile* written = nullptr);
int iFunRestoreInterruptedSave(const std::string& workingCopy, std::string& document, std::string& keptCopy,
                               TFileFailure& why);
std::string strFunOldStatePath(const std::string& workingCopy);
std::string strFunOldStateMarkerPath(const std::string& workingCopy);
std::string strFunNewStatePath(const std::string& workingCopy);
std::string strFunSaveInProgressPath(const std::string& document);
bool bFunRecordOpenedFile(const std::string& workingCopy, const TOpenedFile& file);
bool bFunOpenedFileOf(const std::string& workingCopy, TOpenedFile& file);

// Starts `work` on a thread of its own, for the caller to take its result
// when it needs it. Where no thread can be started (the user's limit of
// processes is reached, memory is short), the work is done on the calling
// thread instead, when its result is taken: the work goes on, only without
// the overlap.
template <class Work>
std::future<std::invoke_result_t<Work&>> runAside(Work work) {
  try {
    return std::async(std::launch::async, work);
  } catch (const std::system_error&) {
    return std::async(std::launch::deferred, std::move(work));
  }
}

// Files SQLite may keep beside a database.
inline constexpr const char* kCompanions[] = {"-journal", "-wal", "-shm"};

// The failure of the system call just made; always false.
bool fromSystem(TFileFailure& why);

bool fromSqlite(TFileFailure& why, const CppSQLite3Exception& e, const CppSQLite3DB* db = nullptr);

bool fromErrno(TFileFailure& why, int error);

// The data folder, where the working copy lies and temporaries are recorded.
std::string dataFolderOf(const std::string& workingCopy);

// What lies beside a document: a companion (journal, WAL) counts only when
// it is a regular file of the document's own owner; any other (someone
// else's file in a shared folder, a link, a pipe) is never applied. Opens
// the companion for reading and gives its descriptor, or -1 when there is
// none that counts. The shared memory ("-shm") never counts: SQLite makes
// it anew from the WAL.
int openOwnCompanion(const std::string& document, const char* companion);

// Removes the companions that count beside a document (its owner's own
// regular files: journal, WAL, shared memory) once nothing of them belongs
// to what the document now holds; any other file is left where it lies.
// False, with the system's reason, when one that counts cannot go.
bool removeOwnCompanions(const std::string& document, TFileFailure& why);

// Writes every byte that can be read from `from` (from its start) into
// `to` (a new file, from where it stands): by the kernel where it copies
// between the two file systems, else through a buffer.
bool copyAllBytes(int from, int to, TFileFailure& why);

// Deletes a database file and its companions, whatever fails.
void removeQuietly(const std::string& path);

// A file of the data folder opened as a descriptor that closes itself
// (never through a symbolic link; made 0600 where O_CREAT makes it).
struct TFile {
  int fd = -1;
  TFile(const std::string& path, int flags);
  explicit TFile(int descriptor) : fd(descriptor) {}  // one opened otherwise, closed here
  ~TFile();
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;
};

// Writes a small file of the data folder in one step: written aside,
// flushed, renamed into place (0600). One that is not `durable` is not
// flushed: after a crash of the machine it may be gone or empty, which its
// reader takes for none.
bool writeMarker(const std::string& marker, const std::string& text, TFileFailure& why, bool durable = true);

// The header of a document while a save into it writes it: SQLite's
// signature (its first 16 bytes) replaced, so SQLite refuses the file and
// this program's open recognises it. The save writes it first and the
// document's own header last.
inline constexpr char kSaveMark[] = "Tarvek zapis 3\0";
static_assert(sizeof kSaveMark == 16);

// True when the document open at `fd` carries the mark: `why` says a save
// into it was interrupted, or that the save still holds it (`inUse`).
bool refusedAsMarked(int fd, TFileFailure& why);

}  // namespace docfiles
