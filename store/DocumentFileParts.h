#pragma once
// What the loading, the locking and the saving of documents share: the files
// SQLite keeps beside a database, and how a failure is recorded. Only for
// the files of store/ that handle documents.
#include "store/FileFailures.h"

#include <string>

namespace docfiles {

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

// Deletes a database file and its companions, whatever fails.
void removeQuietly(const std::string& path);

}  // namespace docfiles
