#pragma once
// Temporary files that a save, an open or an import writes before it puts
// them in place (a "Zapisz jako" writes "<name>.sqtvk.zapis-tmp" in the
// folder the user chose): each is recorded in the data folder before it is
// made, and the record is held by the process that works on it. A killed
// process leaves its record unheld, and the next start removes the
// temporary it names; a temporary whose process still runs is never
// touched. Paths are the system's own (UTF-8).
#include <string>

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
int iFunRemoveLeftTemporaries(const std::string& dataFolder);
