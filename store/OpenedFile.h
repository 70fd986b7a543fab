#pragma once
// Which document file the working copy belongs to, and that file as it was
// when this program read it into the working copy or last wrote it: which
// file it was (device, inode) and what it held (size, modification time,
// checksum of its bytes). The record lies beside the working copy, so it
// outlives a crash or a killed session with the working copy it belongs to.
// "Zapisz" into the open file writes only while the file is still the one
// recorded (bFunSameFile); anything else (a colleague's save, another file
// under the name) is asked about first. Paths are the system's own (UTF-8).
#include <cstddef>
#include <cstdint>
#include <string>

struct TOpenedFile {
  std::string path;  // the document's name as the user chose it
  std::uint64_t device = 0, inode = 0;
  long long size = 0, seconds = 0, nanoseconds = 0;
  std::uint64_t sum = 0;
};

// FNV-1a over bytes: how the content of a document file is summed up.
struct TChecksum {
  std::uint64_t value = 1469598103934665603ull;
  void add(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) value = (value ^ static_cast<unsigned char>(data[i])) * 1099511628211ull;
  }
};

// The size of the file open at `fd` and a checksum (FNV-1a) of its bytes,
// read from its start; false when it cannot be read.
bool bFunChecksumOf(int fd, long long& size, std::uint64_t& sum);

// The file open at `fd` as it stands now; false when it cannot be read.
bool bFunFileNow(int fd, TOpenedFile& file);

// The one check of "is this still the file I opened": the file open at
// `fd` is the recorded file (device and inode) with the recorded content
// (size, modification time and checksum).
bool bFunSameFile(int fd, const TOpenedFile& recorded);

// Records `file` as the file the working copy belongs to (the record names
// the working copy too, so a working copy made anew by an import is never
// taken for it). False when it could not be written.
bool bFunRecordOpenedFile(const std::string& workingCopy, const TOpenedFile& file);

// The file the working copy belongs to; false when none is recorded for
// this very working copy.
bool bFunOpenedFileOf(const std::string& workingCopy, TOpenedFile& file);

// The working copy belongs to no file any more (a new document, the end of
// the program).
void vFunForgetOpenedFile(const std::string& workingCopy);

// Where the record lies.
std::string strFunOpenedFileRecordPath(const std::string& workingCopy);
