#pragma once
// Temporary files that a save, an open or an import writes before it puts
// them in place (a "Zapisz jako" writes "<name>.sqtvk.zapis-tmp.<process>.<random>"
// in the folder the user chose): each is recorded in the data folder before
// it is made, and the record is held by the process that works on it. A
// killed process leaves its record unheld, and the next start removes the
// temporary it names; a temporary whose process still runs is never
// touched. Paths are the system's own (UTF-8).
#include "platform/SystemPath.h"

#include <optional>
#include <string>
#include <sys/types.h>

class TTemporaryRecord {
 public:
  // Records `temporary` in the records folder of the data folder (the
  // folder of the working copy); when that cannot be done (a full data
  // disk), the work goes on unrecorded.
  TTemporaryRecord(const std::string& dataFolder, const std::string& temporary);
  // The temporary is in place or gone: its record goes.
  ~TTemporaryRecord();
  TTemporaryRecord(const TTemporaryRecord&) = delete;
  TTemporaryRecord& operator=(const TTemporaryRecord&) = delete;
  bool recorded() const { return fd_ >= 0; }

 private:
  std::string record_;
  int fd_ = -1;
};

// The folder of the records in the data folder.
std::string strFunTemporaryRecordsFolder(const std::string& dataFolder);

// Removes every temporary whose record no running process holds (a
// regular file of this user's, with SQLite's companions of it) and those
// records. Gives the number of temporaries removed.
int iFunRemoveLeftTemporaries(const TSystemPath& dataFolder);

// Removes what a kill left of the program's own records in the data folder
// that are written aside as "<name>.nowy" and renamed over "<name>" (the
// file the working copy belongs to, the shipped files installed): every
// such file of this user's there, with SQLite's companions of it. For the
// start only, before anything of the program writes there. Gives the
// number removed.
int iFunRemoveUnfinishedRecords(const TSystemPath& dataFolder);

// A temporary of this process's own in a folder others may write too (a
// save beside a document): made exclusively (never through a symbolic link)
// under a name no other process uses, "<stem>.<process id>.<random part>",
// private to this user from the moment it exists (the document's own mode
// comes only when it is complete), recorded before it is made, and held by
// this process (a write lock of its open file description on the file's
// first byte, which SQLite never locks) until the object goes. Another save of the same document makes its own,
// and a cleanup of any user or process that can read it sees the hold and
// leaves it alone. made() is false when no such file could be made; error()
// then gives the system's reason.
class TOwnTemporary {
 public:
  TOwnTemporary(const std::string& dataFolder, const std::string& stem);
  ~TOwnTemporary();
  TOwnTemporary(const TOwnTemporary&) = delete;
  TOwnTemporary& operator=(const TOwnTemporary&) = delete;
  bool made() const { return fd_ >= 0; }
  int error() const { return error_; }
  const std::string& path() const { return path_; }
  // Its descriptor, open for reading and writing.
  int fd() const { return fd_; }

 private:
  std::optional<TTemporaryRecord> record_;
  std::string path_;
  int fd_ = -1;
  int error_ = 0;
};

// True for a name TOwnTemporary makes from `stem` (the same folder).
bool bFunIsOwnTemporaryOf(const std::string& stem, const std::string& path);

// Removes the temporary at `path` with SQLite's companions of it while
// holding it, when it is a regular file this process can read (never
// through a link) and no process holds it. Gives whether it went.
bool bFunRemoveUnheldTemporary(const std::string& path);

// bFunRemoveUnheldTemporary on every temporary TOwnTemporary made from
// `stem`; gives how many went.
int iFunRemoveUnheldTemporaries(const std::string& stem);
