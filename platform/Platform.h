#pragma once
// Thin stand-ins for the operating-system calls the program needs.
// Every path and name here is Windows-1250 text, as the rest of the program
// keeps it; the conversion to the system's UTF-8 happens inside.
// No policy lives here: the data store decides what a failure means.
#include <functional>
#include <optional>
#include <string>

#include "platform/SystemPath.h"

namespace platform {

// Error code of the last failed call of this layer on this thread (errno).
int lastError();

// The machine's common data folder: $TARVEK_COMMON_DATA_DIR when set,
// otherwise the XDG data home ($XDG_DATA_HOME, else ~/.local/share).
// The folder itself is made (with its parents) when missing.
// False with lastError() set when it cannot be had.
bool commonDataFolder(std::string& folder);

// Folder of the running executable, without a trailing "/".
// Tests may point it elsewhere with setProgramFolder().
std::string programFolder();
void setProgramFolder(std::optional<std::string> folder);

// Name of the user running the program ($TARVEK_USER_NAME overrides it).
// Where the system knows no name, the user's number stands for it; a "/"
// (possible only in the override) becomes "_", so the name is one folder.
std::string userName();

bool fileExists(const std::string& path);      // any kind of entry
bool directoryExists(const std::string& path);
// Makes one folder level; its parent must exist.
bool createDirectory(const std::string& path);
// The same, for this user alone (mode 0700).
bool createPrivateDirectory(const std::string& path);

// Who may change what lies in a folder.
struct FolderAccess {
  bool folder = false;        // a folder is there (a symbolic link is followed)
  bool link = false;          // the name is a symbolic link
  bool linkOwnedByUser = false;
  bool ownedByUser = false;   // the folder belongs to the user running the program
  std::string owner;          // the name (or number) of its owner
  unsigned mode = 0;          // its permission bits (07777)
  bool othersMayWrite() const { return (mode & 0022) != 0; }
  bool sticky() const { return (mode & 01000) != 0; }
};
// False with lastError() set when nothing can be learnt about the path.
bool folderAccess(const std::string& path, FolderAccess& access);
// Takes the group's and the others' access to a folder of the user's away.
bool restrictToUser(const std::string& path);
bool deleteFile(const std::string& path);
// Makes the file readable and writable by its owner (the counterpart of
// "normal" attributes). False when the file is missing or cannot be changed.
bool resetAttributes(const std::string& path);
// Copies one file whole. The target is replaced in one step (written beside
// it and renamed into place), so a failed copy never leaves half a file.
// With failIfExists an existing target is an error (EEXIST).
bool copyFile(const std::string& source, const std::string& target, bool failIfExists);
// The same on paths as the system names them (a file the user chose).
bool copyFile(const TSystemPath& source, const TSystemPath& target, bool failIfExists);
bool fileExists(const TSystemPath& path);

// Makes an empty file; false when something is already there or it cannot be made.
bool createEmptyFile(const std::string& path);

// Coordinated universal time, broken down.
struct UtcTime {
  int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
UtcTime utcNow();
// Replaces the clock (tests); an empty function restores the system clock.
void setUtcClock(std::function<UtcTime()> clock);

}  // namespace platform
