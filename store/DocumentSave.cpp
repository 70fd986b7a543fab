#include "DocumentFiles.h"

#include "store/CppSQLite3.h"
#include "store/DocumentFileParts.h"
#include "store/DocumentLocks.h"
#include "store/Temporaries.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace native = platform::native;
using namespace docfiles;

namespace {

std::function<void(const std::string&)>& saveStepHook() {
  static std::function<void(const std::string&)> hook;
  return hook;
}

void saveStep(const std::string& step) {
  if (saveStepHook()) saveStepHook()(step);
}

// Reads up to `size` bytes at `at`; fewer only at the end of the file.
ssize_t readAt(int fd, char* data, size_t size, off_t at) {
  size_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(fd, data + done, size - done, at + static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<ssize_t>(done);
}

bool writeAt(int fd, const char* data, size_t size, off_t at) {
  for (size_t done = 0; done < size;) {
    const ssize_t put = ::pwrite(fd, data + done, size - done, at + static_cast<off_t>(done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

constexpr size_t kChunk = 1 << 16;

// Writes every byte of `in` over `out` from its start, cuts `out` to their
// length and flushes it; `size` and `sum` tell what was written. `step` is
// told once the first chunk is in.
bool copyBytes(int in, int out, off_t& size, std::uint64_t& sum, TFileFailure& why, const char* step = nullptr) {
  std::vector<char> buffer(kChunk);
  TChecksum checksum;
  off_t at = 0;
  for (;;) {
    const ssize_t got = readAt(in, buffer.data(), buffer.size(), at);
    if (got < 0) return fromErrno(why, errno);
    if (got == 0) break;
    if (!writeAt(out, buffer.data(), static_cast<size_t>(got), at)) return fromErrno(why, errno != 0 ? errno : EIO);
    checksum.add(buffer.data(), static_cast<size_t>(got));
    if (at == 0 && step) saveStep(step);
    at += got;
  }
  if (::ftruncate(out, at) != 0 || ::fsync(out) != 0) return fromErrno(why, errno);
  size = at;
  sum = checksum.value();
  return true;
}

// Writes every byte of `in` over the document `out` as copyBytes does,
// under the mark: the mark goes over the document's header first, then
// all of `in` but its header, and the header last, each step flushed. From
// the first write to the last the document is refused by every reader, so
// a kill or a failure in between never shows anyone a mix.
bool writeUnderMark(int in, int out, off_t& size, std::uint64_t& sum, TFileFailure& why,
                    const char* step = nullptr) {
  constexpr size_t kMarkSize = sizeof kSaveMark;
  if (!writeAt(out, kSaveMark, kMarkSize, 0)) return fromErrno(why, errno != 0 ? errno : EIO);
  if (::fsync(out) != 0) return fromErrno(why, errno);
  std::vector<char> buffer(kChunk);
  TChecksum checksum;
  char header[kMarkSize];
  size_t headerSize = 0;
  off_t at = 0;
  for (;;) {
    const ssize_t got = readAt(in, buffer.data(), buffer.size(), at);
    if (got < 0) return fromErrno(why, errno);
    if (got == 0) break;
    checksum.add(buffer.data(), static_cast<size_t>(got));
    if (at == 0) {
      headerSize = std::min(kMarkSize, static_cast<size_t>(got));
      std::memcpy(header, buffer.data(), headerSize);
      std::memcpy(buffer.data(), kSaveMark, headerSize);
    }
    if (!writeAt(out, buffer.data(), static_cast<size_t>(got), at)) return fromErrno(why, errno != 0 ? errno : EIO);
    if (at == 0 && step) saveStep(step);
    at += got;
  }
  if (::ftruncate(out, at) != 0 || ::fsync(out) != 0) return fromErrno(why, errno);
  if (headerSize > 0 && !writeAt(out, header, headerSize, 0)) return fromErrno(why, errno != 0 ? errno : EIO);
  if (::fsync(out) != 0) return fromErrno(why, errno);
  size = at;
  sum = checksum.value();
  return true;
}

bool carriesMark(int fd) {
  char header[sizeof kSaveMark];
  return readAt(fd, header, sizeof header, 0) == static_cast<ssize_t>(sizeof header) &&
         std::memcmp(header, kSaveMark, sizeof kSaveMark) == 0;
}

bool checksumOf(int fd, off_t& size, std::uint64_t& sum) {
  long long length = 0;
  if (!bFunChecksumOf(fd, length, sum)) return false;
  size = static_cast<off_t>(length);
  return true;
}

// What a save into the document itself records before it writes the first
// byte: which file the document was (device, inode), its state then (size,
// modification time, checksum of the bytes kept) and what the save writes
// (size and checksum). A marker of an earlier version holds the path alone.
struct TSaveRecord {
  std::string document;
  bool complete = false;  // false: a marker of an earlier version
  std::uint64_t device = 0, inode = 0;
  long long oldSize = 0, oldSeconds = 0, oldNanoseconds = 0, newSize = 0;
  std::uint64_t oldSum = 0, newSum = 0;
};

const char kRecordHeader[] = "KESTAL-TARVEK ZAPIS 2\n";

std::string recordText(const TSaveRecord& r) {
  std::ostringstream out;
  out << kRecordHeader << "dokument " << r.document.size() << "\n" << r.document << "\n"
      << "przed " << r.device << " " << r.inode << " " << r.oldSize << " " << r.oldSeconds << " " << r.oldNanoseconds
      << " " << std::hex << r.oldSum << std::dec << "\n"
      << "po " << r.newSize << " " << std::hex << r.newSum << std::dec << "\n";
  return out.str();
}

TSaveRecord recordFrom(const std::string& text) {
  TSaveRecord r;
  if (text.compare(0, sizeof kRecordHeader - 1, kRecordHeader) != 0) {
    r.document = text;  // an earlier version's marker: the document's path alone
    return r;
  }
  std::istringstream in(text.substr(sizeof kRecordHeader - 1));
  std::string word;
  std::size_t length = 0;
  if (!(in >> word >> length) || word != "dokument" || in.get() != '\n') return r;
  r.document.resize(length);
  if (!in.read(r.document.data(), static_cast<std::streamsize>(length)) || in.get() != '\n') {
    r.document.clear();
    return r;
  }
  std::string before, after;
  in >> before >> r.device >> r.inode >> r.oldSize >> r.oldSeconds >> r.oldNanoseconds >> std::hex >> r.oldSum >>
      std::dec >> after >> r.newSize >> std::hex >> r.newSum;
  r.complete = !in.fail() && before == "przed" && after == "po";
  return r;
}

}  // namespace

docfiles::TFile::TFile(const std::string& path, int flags) : fd(::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW, 0600)) {}

docfiles::TFile::~TFile() {
  if (fd >= 0) ::close(fd);
}

bool docfiles::refusedAsMarked(int fd, TFileFailure& why) {
  if (!carriesMark(fd)) return false;
  if (TDocumentHold::heldElsewhere(fd)) {
    why.inUse = true;
    why.sqliteCode = SQLITE_BUSY;
  } else {
    why.interruptedSave = true;
  }
  return true;
}

// The marker names the document whose old state is kept; it appears in one
// step (written aside, flushed, renamed) once the kept state is on the disk.
bool docfiles::writeMarker(const std::string& marker, const std::string& text, TFileFailure& why, bool durable) {
  const std::string next = marker + ".nowy";
  const int fd = ::open(next.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return fromErrno(why, errno);
  int error = 0;
  if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) error = errno != 0 ? errno : EIO;
  if (durable && error == 0 && ::fsync(fd) != 0) error = errno;
  ::close(fd);
  if (error == 0 && !(durable ? native::replaceFile(next, marker) : ::rename(next.c_str(), marker.c_str()) == 0))
    error = durable ? platform::lastError() : errno;
  if (error != 0) native::removeFile(next);
  return error == 0 ? true : fromErrno(why, error);
}

namespace {

// Drops the marker first (durably), then the states it pointed at.
bool forgetOldState(const std::string& workingCopy) {
  const std::string marker = strFunOldStateMarkerPath(workingCopy);
  if (!native::removeFile(marker)) return false;
  const int fd = ::open(marker.substr(0, marker.rfind('/') + 1).append(".").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  return native::removeFile(strFunNewStatePath(workingCopy)) && native::removeFile(strFunOldStatePath(workingCopy));
}

// The file counts as changed for every reader that keeps pages of it: the
// change counter (and the number it is valid for) and the schema cookie of
// the new state go past the old state's.
void markAsChanged(int oldFd, int newFd) {
  unsigned char oldHeader[100], newHeader[100];
  if (readAt(oldFd, reinterpret_cast<char*>(oldHeader), 100, 0) != 100 ||
      readAt(newFd, reinterpret_cast<char*>(newHeader), 100, 0) != 100 ||
      std::memcmp(newHeader, "SQLite format 3", 16) != 0)
    return;
  auto number = [](const unsigned char* at) {
    return (std::uint32_t {at[0]} << 24) | (std::uint32_t {at[1]} << 16) | (std::uint32_t {at[2]} << 8) | at[3];
  };
  auto put = [](unsigned char* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(v >> (24 - 8 * i));
  };
  const bool oldIsDatabase = std::memcmp(oldHeader, "SQLite format 3", 16) == 0;
  const std::uint32_t counter = (oldIsDatabase ? number(oldHeader + 24) : 0) + 1;
  const std::uint32_t cookie = std::max(oldIsDatabase ? number(oldHeader + 40) : 0, number(newHeader + 40)) + 1;
  put(newHeader + 24, counter);
  put(newHeader + 92, counter);
  put(newHeader + 40, cookie);
  writeAt(newFd, reinterpret_cast<const char*>(newHeader), 100, 0);
}

// The committed state of the working copy, byte for byte, into `out` (a new
// file of the save's): read under SQLite's shared lock of a connection of
// this program's own, which first rolls back a journal a killed write left
// and keeps every writer of the working copy off it while its bytes are
// copied. A working copy that keeps a WAL becomes one without first, so
// that all of it is in the file.
bool copyCommittedBytes(const std::string& workingCopy, int out, TFileFailure& why) {
  int in = -1;
  bool copied = false;
  {
    CppSQLite3DB source;
    try {
      native::makePrivateFile(workingCopy);
      source.openSystemPath(workingCopy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
      CppSQLite3Query mode = source.runQuery("pragma journal_mode");
      const bool wal = !mode.atEnd() && mode.textAt(0) == "wal";
      mode.release();
      if (wal) source.runStatement("pragma journal_mode=DELETE");
      source.runStatement("begin");
      CppSQLite3Query read = source.runQuery("select count(*) from sqlite_master");
      read.release();
      in = ::open(workingCopy.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
      copied = in >= 0 ? copyAllBytes(in, out, why) : fromErrno(why, errno);
      source.runStatement("commit");
      source.closeFile();
    } catch (const CppSQLite3Exception& e) {
      fromSqlite(why, e, &source);
      why.notDocument = false;
      why.inUse = false;
      copied = false;
    }
  }
  // Closed only once SQLite let go of the file: closing a descriptor of it
  // lets go of every lock this process has on it.
  if (in >= 0) ::close(in);
  return copied;
}

// The file open at `fd` opened anew by its name `path`, so that what is
// read is what the disk gives back (a stick's cached pages are dropped at an
// open); -1 with errno set when the name is no longer that file (someone who
// may write the folder put another there).
int openedAnew(const std::string& path, int fd) {
  const int again = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  struct stat held {}, named {};
  if (again >= 0 && (::fstat(fd, &held) != 0 || ::fstat(again, &named) != 0 || held.st_dev != named.st_dev ||
                     held.st_ino != named.st_ino)) {
    ::close(again);
    errno = EIO;
    return -1;
  }
  return again;
}

// True when the document the save holds at `fd`, opened anew by its name,
// holds exactly `size` bytes summing to `sum`: what was written is what the
// disk gives back.
bool readsBack(const std::string& path, int fd, off_t size, std::uint64_t sum, TFileFailure& why) {
  saveStep("checking");
  errno = 0;
  const TFile again(openedAnew(path, fd));
  off_t got = -1;
  std::uint64_t gotSum = 0;
  if (again.fd < 0 || !checksumOf(again.fd, got, gotSum)) return fromErrno(why, errno != 0 ? errno : EIO);
  return got == size && gotSum == sum ? true : fromErrno(why, EIO);
}

// The kept state goes to a name the user can find beside the working copy
// ("<document> - stan sprzed przerwanego zapisu.sqtvk", numbered when taken),
// and the marker with it; the document is not touched.
int keepAside(const std::string& workingCopy, const std::string& document, std::string& keptCopy, int result,
              TFileFailure& why) {
  const std::string folder = workingCopy.substr(0, workingCopy.rfind('/') + 1);
  std::string name = document.substr(document.rfind('/') + 1);
  if (name.size() > 6 && name.compare(name.size() - 6, 6, ".sqtvk") == 0) name.resize(name.size() - 6);
  if (name.empty()) name = "dokument";
  for (int n = 1; n < 1000; ++n) {
    const std::string candidate =
        folder + name + " - stan sprzed przerwanego zapisu" + (n > 1 ? " (" + std::to_string(n) + ")" : "") + ".sqtvk";
    if (native::exists(candidate)) continue;
    if (!native::replaceFile(keptCopy, candidate)) {
      fromSystem(why);
      return -1;
    }
    keptCopy = candidate;
    forgetOldState(workingCopy);
    return result;
  }
  why.systemError = EEXIST;
  return -1;
}

// The group's and others' permission bits of a new document never go past
// those of the document the working copy came from (a private class file
// saved under a new name stays private); the owner's own are left.
bool noMoreOpenThanItsSource(const std::string& workingCopy, int made) {
  TOpenedFile source;
  struct stat st {};
  if (!bFunOpenedFileOf(workingCopy, source) || source.mode == 0 || ::fstat(made, &st) != 0) return true;
  const mode_t mode = st.st_mode & 07777, narrowed = mode & (static_cast<mode_t>(source.mode) | S_IRWXU);
  return narrowed == mode || native::setModeOf(made, narrowed);
}

// The old state (`size` bytes summing to `sum`) went back into the
// document, held all the while: it holds that state again, or what the disk
// made of it, and nobody else's change. When the working copy belongs to
// the document as it was before the save, its record follows the document
// as it is now, so "Zapisz" still knows it and never takes the program's
// own writes for someone else's.
void followPutBack(const std::string& workingCopy, int doc, off_t size, std::uint64_t sum) {
  TOpenedFile opened, now;
  if (bFunOpenedFileOf(workingCopy, opened) && bFunFileNow(doc, now) && now.device == opened.device &&
      now.inode == opened.inode && opened.size == size && opened.sum == sum) {
    now.path = opened.path;
    bFunRecordOpenedFile(workingCopy, now);
  }
}

// The old state goes back into the document the save wrote into, still
// held, and is read back: 1 when the document is as before the save again;
// kNotPutBack when the disk does not give back what it was given (the old
// state is then kept aside, `keptCopy` says where); -1 when it could not be
// written now (`why`), everything kept for the next try.
constexpr int kNotPutBack = 5;

int putBack(const std::string& workingCopy, const std::string& document, int doc, std::string& keptCopy,
            TFileFailure& why) {
  TFile old(keptCopy, O_RDONLY);
  off_t size = 0;
  std::uint64_t sum = 0;
  if (old.fd < 0) {
    fromErrno(why, errno);
    return -1;
  }
  if (!writeUnderMark(old.fd, doc, size, sum, why)) return -1;
  TFileFailure reading;
  const bool kept = readsBack(document, doc, size, sum, reading);
  followPutBack(workingCopy, doc, size, sum);
  if (!kept) {
    why = reading;
    return keepAside(workingCopy, document, keptCopy, kNotPutBack, why);
  }
  forgetOldState(workingCopy);
  return 1;
}

// The save into the document itself, for a folder that takes no new file:
// no journal can be made beside the document, so what it becomes is made
// beside the working copy, and its old state is kept there too before the
// first byte of it changes. The document is held from before its old state
// is read until the last byte of the new one (or of the old one, when the
// save fails) is written and flushed.
bool saveInPlace(const std::string& workingCopy, const std::string& target, TFileFailure& why,
                 const TOpenedFile* expected, TOpenedFile* written, const std::string& document) {
  const std::string keep = strFunOldStatePath(workingCopy), marker = strFunOldStateMarkerPath(workingCopy),
                    next = strFunNewStatePath(workingCopy);
  // The old state of an earlier save that did not finish is dealt with
  // first: it must not be lost under this save's.
  std::string earlier, kept;
  if (iFunRestoreInterruptedSave(workingCopy, earlier, kept, why) < 0) return false;

  removeQuietly(next);
  {
    const int made = native::createPrivateFile(next, O_WRONLY);
    if (made < 0) return fromSystem(why);
    bool copied = copyCommittedBytes(workingCopy, made, why);
    if (::close(made) != 0 && copied) copied = fromErrno(why, errno);
    if (!copied) {
      removeQuietly(next);
      return false;
    }
  }

  // Another save or put-back of the document holds it: nothing is touched.
  TDocumentHold held;
  if (!held.take(target, kDocumentBusyWaitMs, why)) {
    removeQuietly(next);
    return false;
  }
  // Another user's save into it that was interrupted waits for that user's
  // put-back; "Zapisz" writes only into the very file it opened or saved.
  // "Zapisz jako" onto it replaces it as the user chose (that user's
  // put-back then finds it changed and keeps the old state aside).
  if (expected && (refusedAsMarked(held.fd(), why) || !bFunSameFile(held.fd(), *expected))) {
    why.changedSinceOpened = !why.interruptedSave && !why.inUse;
    removeQuietly(next);
    return false;
  }
  // A journal or WAL of its owner's beside it belongs to the old state: it
  // would be applied to the new one at the next open.
  if (!removeOwnCompanions(target, why)) {
    removeQuietly(next);
    return false;
  }
  TSaveRecord record;
  record.document = target;
  bool ready = true;
  {
    TFile oldState(keep, O_RDWR | O_CREAT | O_TRUNC), made(next, O_RDWR);
    off_t oldSize = 0, newSize = 0;
    if (oldState.fd < 0 || made.fd < 0) ready = fromErrno(why, errno);
    // The kept state is the user's alone, like the working copy.
    if (ready && !native::setModeOf(oldState.fd, 0600)) ready = fromSystem(why);
    if (ready) ready = copyBytes(held.fd(), oldState.fd, oldSize, record.oldSum, why);
    if (ready) {
      markAsChanged(held.fd(), made.fd);
      ready = ::fsync(made.fd) == 0 ? checksumOf(made.fd, newSize, record.newSum) : fromErrno(why, errno);
    }
    const struct stat& st = held.file();
    record.device = st.st_dev;
    record.inode = st.st_ino;
    record.oldSize = oldSize;
    record.oldSeconds = st.st_mtim.tv_sec;
    record.oldNanoseconds = st.st_mtim.tv_nsec;
    record.newSize = newSize;
  }
  if (!ready || !writeMarker(marker, recordText(record), why)) {
    native::removeFile(keep);
    native::removeFile(next);
    return false;
  }
  saveStep("kept");

  TFile made(next, O_RDONLY);
  off_t size = 0;
  std::uint64_t sum = 0;
  // Every write is checked: what the disk gives back must be what the save
  // wrote (a stick may refuse a resize or put a write elsewhere, and say so
  // only by what it gives back).
  if (made.fd >= 0 && writeUnderMark(made.fd, held.fd(), size, sum, why, "writing") &&
      readsBack(target, held.fd(), size, sum, why)) {
    saveStep("written");
    if (written) {
      if (!bFunFileNow(held.fd(), *written)) *written = TOpenedFile();
      written->path = document;
    }
    forgetOldState(workingCopy);
    return true;
  }
  if (made.fd < 0) fromErrno(why, errno);
  // Whatever went into the document, the kept state goes back now, still
  // under the hold, and is checked the same way. When it cannot be written
  // now, the marker stays for the next start or open; when the disk does
  // not keep it either, the user is told once where the old state is kept.
  std::string keptCopy = keep;
  TFileFailure restoring;
  if (putBack(workingCopy, target, held.fd(), keptCopy, restoring) == kNotPutBack) {
    why.notPutBack = true;
    why.keptCopy = keptCopy;
  }
  return false;
}

// How the document stands against the two states of a save into it that
// did not finish, compared in units of a disk sector: every unit of it is
// either the old state's or the new one's (when the new one is known), and
// its length lies between theirs.
enum class TDocumentState { asBefore, midway, asSaved, other };

TDocumentState stateOf(int doc, off_t docSize, int old, off_t oldSize, int made, off_t newSize) {
  const off_t low = made >= 0 ? std::min(oldSize, newSize) : oldSize;
  const off_t high = made >= 0 ? std::max(oldSize, newSize) : oldSize;
  if (docSize < low || docSize > high) return TDocumentState::other;
  constexpr size_t kUnit = 512;
  std::vector<char> d(kChunk), o(kChunk), n(kChunk);
  // A document under the mark was still being written: its header is
  // neither state's, the rest of it is compared as it stands.
  const bool marked = carriesMark(doc);
  bool allOld = !marked && docSize == oldSize, allNew = !marked && made >= 0 && docSize == newSize;
  for (off_t at = 0; at < docSize; at += static_cast<off_t>(kChunk)) {
    const size_t length = static_cast<size_t>(std::min<off_t>(static_cast<off_t>(kChunk), docSize - at));
    const ssize_t gotD = readAt(doc, d.data(), length, at);
    const ssize_t gotO = at < oldSize ? readAt(old, o.data(), length, at) : 0;
    const ssize_t gotN = made >= 0 && at < newSize ? readAt(made, n.data(), length, at) : 0;
    if (gotD != static_cast<ssize_t>(length) || gotO < 0 || gotN < 0) return TDocumentState::other;
    for (size_t u = 0; u < length; u += kUnit) {
      const size_t part = std::min(kUnit, length - u);
      const size_t from = at == 0 && u == 0 && marked ? std::min(part, sizeof kSaveMark) : 0;
      const bool sameOld = static_cast<ssize_t>(u + part) <= gotO &&
                           std::memcmp(&d[u + from], &o[u + from], part - from) == 0;
      const bool sameNew = static_cast<ssize_t>(u + part) <= gotN &&
                           std::memcmp(&d[u + from], &n[u + from], part - from) == 0;
      if (!sameOld && !sameNew) return TDocumentState::other;
      allOld = allOld && sameOld;
      allNew = allNew && sameNew;
    }
  }
  return allNew ? TDocumentState::asSaved : allOld ? TDocumentState::asBefore : TDocumentState::midway;
}

}  // namespace

std::string docfiles::strFunOldStatePath(const std::string& workingCopy) { return workingCopy + ".przed-zapisem"; }

std::string docfiles::strFunOldStateMarkerPath(const std::string& workingCopy) { return workingCopy + ".przed-zapisem.plik"; }

std::string docfiles::strFunNewStatePath(const std::string& workingCopy) { return workingCopy + ".po-zapisie"; }

void vFunSetSaveStepHook(std::function<void(const std::string& step)> hook) { saveStepHook() = std::move(hook); }

int docfiles::iFunRestoreInterruptedSave(const std::string& workingCopy, std::string& document, std::string& keptCopy,
                                         TFileFailure& why) {
  const std::string marker = strFunOldStateMarkerPath(workingCopy), next = strFunNewStatePath(workingCopy);
  keptCopy = strFunOldStatePath(workingCopy);
  native::removeFile(marker + ".nowy");  // a marker never finished names nothing
  if (!native::exists(marker)) {
    // Kept states without their marker belong to a save that never began.
    native::removeFile(keptCopy);
    native::removeFile(next);
    return 0;
  }
  TSaveRecord record;
  {
    std::ifstream in(marker, std::ios::binary);
    record = recordFrom(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }
  document = record.document;
  if (document.empty() || !native::exists(keptCopy)) {
    forgetOldState(workingCopy);
    return 0;
  }
  // Without a record of what the save found and wrote, nobody can tell
  // whether the document changed since: it is not written blindly.
  if (!record.complete) return keepAside(workingCopy, document, keptCopy, 4, why);

  TDocumentHold held;
  TFileFailure opening;
  if (!held.take(document, kDocumentBusyWaitMs, opening)) {
    if (opening.inUse) {
      why = opening;
      return -1;  // someone works with it now: tried again later
    }
    if (opening.systemError == ENOENT) return keepAside(workingCopy, document, keptCopy, 3, why);
    // A symbolic link, a folder or something else now under its name, or a
    // file this user may no longer write, is left alone.
    if (strFunSystemErrorAdvice(opening.systemError).empty()) opening.systemError = 0;
    why = opening;
    return keepAside(workingCopy, document, keptCopy, 2, why);
  }
  const struct stat& st = held.file();
  if (static_cast<std::uint64_t>(st.st_dev) != record.device || static_cast<std::uint64_t>(st.st_ino) != record.inode)
    return keepAside(workingCopy, document, keptCopy, 2, why);

  TFile old(keptCopy, O_RDONLY), made(next, O_RDONLY);
  off_t oldSize = -1, newSize = -1;
  std::uint64_t oldSum = 0, newSum = 0;
  if (old.fd < 0 || !checksumOf(old.fd, oldSize, oldSum) || oldSize != record.oldSize || oldSum != record.oldSum)
    return keepAside(workingCopy, document, keptCopy, 4, why);
  const bool madeKnown = made.fd >= 0 && checksumOf(made.fd, newSize, newSum) && newSize == record.newSize &&
                         newSum == record.newSum;
  switch (stateOf(held.fd(), st.st_size, old.fd, oldSize, madeKnown ? made.fd : -1, newSize)) {
    case TDocumentState::asSaved:  // the save had written all of it
      forgetOldState(workingCopy);
      return 0;
    case TDocumentState::asBefore:
      forgetOldState(workingCopy);
      return 1;
    case TDocumentState::other:
      // Still under this save's mark, nobody else wrote into it (every
      // other save refuses a marked document): what is neither state's is
      // what the disk made of this save's writes, and it is put back too.
      if (!carriesMark(held.fd())) return keepAside(workingCopy, document, keptCopy, 2, why);
      break;
    case TDocumentState::midway: break;
  }
  return putBack(workingCopy, document, held.fd(), keptCopy, why);
}

bool docfiles::bFunSaveDocument(const std::string& workingCopy, const std::string& document, TFileFailure& why,
                                const TOpenedFile* expected, TOpenedFile* written) {
  const std::string target = native::linkTarget(document);
  if (native::isDirectory(target)) {
    why.systemError = EISDIR;
    return false;
  }
  if (native::exists(target) && native::readableFileError(target) == EINVAL) {
    why.systemError = EINVAL;  // a pipe or a device is never written into
    return false;
  }

  // A file put in its place is this user's: where the document is someone
  // else's (a shared folder), or in a group the user is not in, it is written
  // where it is, so its owner and the group's access stay. Where every file
  // is the mount's (a FAT stick), there is no owner to keep and the new file
  // goes in its place as the owner's would.
  // A document with more than one name (a hard link) is written where it
  // is too, so every name keeps the content.
  struct stat names {};
  const bool there = native::exists(target);
  const bool linked = ::stat(target.c_str(), &names) == 0 && names.st_nlink > 1;
  const bool beside = !linked && native::folderTakesNewFiles(target) &&
                      (!there || native::ownershipCopyable(target) || native::folderTraits(target).noOwners);
  if (!beside && !(there && native::fileWritable(target))) {
    // Why not, as the system says it: no permission, a read-only disk, a
    // folder that is gone (a file that is not there: its folder's answer).
    if (there || !native::folderTakesNewFiles(target)) return fromSystem(why);
    return fromErrno(why, EACCES);
  }
  if (!beside) return saveInPlace(workingCopy, target, why, expected, written, document);

  // What earlier saves that were killed left goes first.
  removeUnheldLeftover(target);
  // The document is held from before it is checked until the new file has
  // taken its name: another save of it (here, by a colleague, from another
  // machine) waits or is refused, and so does any writer through SQLite.
  TDocumentHold held;
  if (there && !held.takeToReplace(target, kDocumentBusyWaitMs, why)) return false;
  if (expected) {
    // Before anything is made: still the very file opened or last saved
    // here (and under its name), and not another user's save left half-way?
    if (!there) {
      why.changedSinceOpened = true;
      return false;
    }
    if (refusedAsMarked(held.fd(), why)) return false;
    if (!bFunSameFile(held.fd(), *expected)) {
      why.changedSinceOpened = true;
      return false;
    }
  }
  // The save's own file, held until it is renamed into place: another save
  // of the same name (another user of a shared folder, another process)
  // writes its own and leaves this one alone, and so does an open of the
  // document. Killed before the rename, the save leaves it in the user's
  // folder: the next start removes it by its record, the next open of the
  // document too. It is the user's alone while the students go into it;
  // complete, it takes the document's mode (a new document the mode SQLite
  // gives a database it makes), never one more open than the document the
  // working copy came from.
  const TOwnTemporary temp(dataFolderOf(workingCopy), strFunSaveInProgressPath(target));
  if (!temp.made()) return fromErrno(why, temp.error());
  if (!copyCommittedBytes(workingCopy, temp.fd(), why)) {
    removeQuietly(temp.path());
    return false;
  }
  saveStep("made");

  if (::fsync(temp.fd()) != 0) {
    fromErrno(why, errno);
    removeQuietly(temp.path());
    return false;
  }
  bool placed = (there ? native::copyOwnership(target, temp.path()) : native::giveNewFileMode(temp.path())) &&
                noMoreOpenThanItsSource(workingCopy, temp.fd());
  if (placed) {
    saveStep("copied");
    // What the document is once renamed: the same file, with the same
    // content. Read back whole first: a disk that does not give back all it
    // took (a stick that lost part of the file) never has it take the
    // document's place.
    TOpenedFile made;
    errno = 0;
    const TFile file(openedAnew(temp.path(), temp.fd()));
    if (file.fd < 0 || !bFunFileNow(file.fd, made)) {
      fromErrno(why, errno != 0 ? errno : EIO);
      removeQuietly(temp.path());
      return false;
    }
    made.path = document;
    placed = native::replaceFile(temp.path(), target);
    // The rename changed the file too: its change time is the one to know.
    struct stat renamed {};
    if (placed && ::fstat(file.fd, &renamed) == 0) vFunTakeIdentity(renamed, made);
    if (placed && written) *written = made;
  }
  if (placed) {
    // What SQLite kept beside the old file (its owner's journal or WAL) now
    // lies beside the new one, which has none of its own: it goes. Anything
    // else there (someone else's file) never counts and is left.
    TFileFailure ignored;
    removeOwnCompanions(target, ignored);
    return true;
  }
  fromSystem(why);
  removeQuietly(temp.path());
  return false;
}
