#pragma once
// Which document file the working copy belongs to, and that file as it was
// when this program read it into the working copy or last wrote it: which
// file it was (device, inode) and what it held (size, modification time,
// checksum of its bytes). The record lies beside the working copy, so it
// outlives a crash or a killed session with the working copy it belongs to.
// "Zapisz" into the open file writes only while the file is still the one
// recorded (bFunSameFile); anything else (a colleague's save, another file
// under the name) is asked about first. Paths are the system's own (UTF-8).
#include "platform/SystemPath.h"

#include <cstddef>
#include <sys/stat.h>
#include <cstdint>
#include <string>

struct TOpenedFile {
  std::string path;  // the document's name as the user chose it (the system's bytes)
  std::uint64_t device = 0, inode = 0;
  long long size = 0, seconds = 0, nanoseconds = 0;
  std::uint64_t sum = 0;
  // The time of the file's last change of any kind (content, name, mode),
  // which nobody can set back, and its permission bits; 0 where unknown (a
  // record of an earlier version).
  long long changeSeconds = 0, changeNanoseconds = 0;
  unsigned mode = 0;
};

// How the content of a document file is summed up: four lanes, each
// folding in every fourth 8-byte word (multiply, rotate, multiply), so that
// a file is summed at the speed the bytes are read; the end, the length and
// the bytes that fill no whole stripe of 32 are folded in by value(). The
// sum is the same however the bytes are cut into calls of add(). A record
// that an earlier version summed otherwise never matches: what it recorded
// is asked about before "Zapisz" or kept aside after an interrupted save,
// never trusted.
class TChecksum {
 public:
  void add(const char* data, std::size_t size);
  std::uint64_t value() const;

 private:
  static constexpr std::size_t kStripe = 32;
  std::uint64_t lanes_[4] = {0x60ea27eeadc0b5d6ull, 0xc2b2ae3d27d4eb4full, 0, 0x61c8864e7a143579ull};
  unsigned char pending_[kStripe] = {};
  std::size_t pendingSize_ = 0;
  std::uint64_t total_ = 0;
  void stripe(const unsigned char* data);
};

// The size of the file open at `fd` and the checksum of its bytes,
// read from its start; false when it cannot be read whole (errno says why:
// EIO where it ends before its size).
bool bFunChecksumOf(int fd, long long& size, std::uint64_t& sum);

// The file open at `fd` as it stands now; false when it cannot be read.
bool bFunFileNow(int fd, TOpenedFile& file);

// Which file `st` is and its times and mode, into `file` (its content
// untouched).
void vFunTakeIdentity(const struct stat& st, TOpenedFile& file);

// The one check of "is this still the file I opened": the file open at
// `fd` is the recorded file (device and inode) with the recorded content
// (size, modification time and checksum). The checksum is taken only where
// the file's identity cannot tell a change: where its last change time is
// not the recorded one to the nanosecond, or the file system keeps times
// too coarse for that (no part of a second).
bool bFunSameFile(int fd, const TOpenedFile& recorded);

// Records `file` as the file the working copy belongs to (the record names
// the working copy too, so a working copy made anew by an import is never
// taken for it). False when it could not be written.
bool bFunRecordOpenedFile(const TSystemPath& workingCopy, const TOpenedFile& file);

// The file the working copy belongs to; false when none is recorded for
// this very working copy.
bool bFunOpenedFileOf(const TSystemPath& workingCopy, TOpenedFile& file);

// The working copy belongs to no file any more (a new document, the end of
// the program).
void vFunForgetOpenedFile(const TSystemPath& workingCopy);

// Where the record lies.
TSystemPath strFunOpenedFileRecordPath(const TSystemPath& workingCopy);
