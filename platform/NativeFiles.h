#pragma once
// File calls on paths as the operating system names them: the bytes that
// the file dialog or the command line gave (UTF-8), never passed through
// the program's code page, so any name opens and saves as exactly itself.
// Failures leave the system's error code in platform::lastError().
#include <functional>
#include <string>
#include <sys/types.h>

namespace platform::native {

// Something is there under that name (a dangling symbolic link counts).
bool exists(const std::string& path);
bool isDirectory(const std::string& path);
// A file the user picked, opened for reading as it is checked: the open
// never waits (a named pipe without a writer cannot hang it) and the check
// looks at the opened descriptor, so what was checked is what is read,
// whatever takes the name in the meantime. error() is 0 for a regular file
// this process can read; otherwise the error code that says why not
// (ENOENT, EACCES, EISDIR for a folder, EINVAL for a named pipe, a device or
// a socket, ...). Every command that reads a file the user named goes
// through it.
class TPickedFile {
 public:
  explicit TPickedFile(const std::string& path);
  ~TPickedFile();
  TPickedFile(const TPickedFile&) = delete;
  TPickedFile& operator=(const TPickedFile&) = delete;

  int error() const { return error_; }
  // Its size in bytes when it was opened.
  long long size() const { return size_; }
  // The whole content; false with lastError() set when it cannot be read.
  bool readAll(std::string& bytes) const;

 private:
  int fd_ = -1;
  int error_ = 0;
  long long size_ = 0;
};
// TPickedFile(path).error(): the check alone.
int readableFileError(const std::string& path);
// The file a symbolic link (or a chain of them) ends at; any other path
// comes back as it is. A dangling link gives the path it points to.
std::string linkTarget(const std::string& path);
// True when a new file can be made in the folder of the path; false with
// the system's reason in lastError() (EACCES, EROFS, ENOENT, ...).
bool folderTakesNewFiles(const std::string& path);
// True when the existing file can be written by this process; false with
// the reason in lastError(), as folderTakesNewFiles.
bool fileWritable(const std::string& path);
// What the file system of a folder keeps, as the program finds it with a
// file of its own made there (a private one, unnamed at once): whether a
// lock of that file is refused as such a file system refuses one (ENOLCK,
// ENOSYS, EOPNOTSUPP or EINVAL: a network share without its lock service)
// and whether that file is somebody else's than this user's (a FAT stick,
// where every file is the mount's). Where the folder takes no new file the
// folder itself is asked for the locks. Found once per folder for the life
// of the process; a kernel short of lock records, which answers ENOLCK for
// a moment, is asked again before its answer counts.
struct TFolderTraits {
  bool noLocks = false;
  bool noOwners = false;
};
TFolderTraits folderTraits(const std::string& path);  // the folder of `path`
bool offersNoLocks(const std::string& path);
// Told once for each folder found to keep no locks (for the log).
void setNoLocksNotice(std::function<void(const std::string& folder)> notice);
// Removes a file; a file that is not there is no failure.
bool removeFile(const std::string& path);
// Renames in one step over whatever the target was, then makes the rename
// durable (the folder is flushed).
bool replaceFile(const std::string& from, const std::string& to);
// Flushes a written file to the disk.
bool syncFile(const std::string& path);
// The one way the program makes a file: a new one (never an existing
// file, never through a symbolic link) that only this user may read and
// write (0600 whatever the umask) from the moment it exists. Gives the
// descriptor opened with `flags` (O_RDWR, O_WRONLY, ...), or -1 with
// lastError() set.
int createPrivateFile(const std::string& path, int flags);
// createPrivateFile, closed at once, when nothing is there yet, so that a
// database made there keeps that mode; an existing file, or a symbolic
// link, is left as it is.
bool makePrivateFile(const std::string& path);
// Sets the permission bits of a file, by its name or its descriptor. A file
// system that keeps no Unix modes or owners (a FAT stick: ENOSYS,
// EOPNOTSUPP, or EPERM on a file of this user's own, or by its name EPERM in
// a folder whose files are all the mount's: folderTraits) is no failure:
// the file keeps what that file system shows. Any other failure is one
// (EACCES, EROFS, EPERM on someone else's file). Every change of mode or
// owner of the program's goes by this rule.
bool setMode(const std::string& path, mode_t mode);
bool setModeOf(int fd, mode_t mode);
// A private file of the program's that becomes a new document: the mode a
// new file of the user's gets (0644 less the umask), as SQLite gives a
// database it makes (setMode).
bool giveNewFileMode(const std::string& path);
// The bytes this user may still write on the file system of the path; -1
// when that cannot be learnt.
long long freeBytes(const std::string& path);
// True when a new file of this process can be given the owner and the
// group of `from` (it is the user's own, in one of the user's groups, or
// the user is the superuser).
bool ownershipCopyable(const std::string& from);
// Gives `to` the permission bits of `from`, its owner where the system
// allows it, and its group where the system allows it (a group the user is
// not in is silently kept as it was); on a file system that keeps no modes
// or owners, none of them (setMode).
bool copyOwnership(const std::string& from, const std::string& to);
// Makes the file readable and writable by its owner. Someone else's file
// that this process may already read and write is left as it is (true), and
// so is a file on a file system that keeps no modes (setMode).
bool resetAttributes(const std::string& path);

}  // namespace platform::native

namespace platform {

// A write beyond the file-size limit then fails with its error instead of
// ending the process (SIGXFSZ is ignored).
void ignoreFileSizeSignal();

}  // namespace platform
