#include "OpenedFile.h"

#include "store/DocumentFileParts.h"
#include "platform/NativeFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char kHeader[] = "KESTAL-TARVEK OTWARTY PLIK 1\n";

// Which working copy a record belongs to: a working copy made anew (an
// import, an open that failed half-way and was made again) is another file.
bool workingCopyFile(const std::string& workingCopy, std::uint64_t& device, std::uint64_t& inode) {
  struct stat st {};
  if (::lstat(workingCopy.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  device = st.st_dev;
  inode = st.st_ino;
  return true;
}

constexpr std::uint64_t kPrime1 = 0x9e3779b185ebca87ull, kPrime2 = 0xc2b2ae3d27d4eb4full,
                        kPrime3 = 0x165667b19e3779f9ull, kPrime4 = 0x85ebca77c2b2ae63ull,
                        kPrime5 = 0x27d4eb2f165667c5ull;

std::uint64_t rotated(std::uint64_t x, int by) { return (x << by) | (x >> (64 - by)); }

std::uint64_t folded(std::uint64_t lane, std::uint64_t word) { return rotated(lane + word * kPrime2, 31) * kPrime1; }

std::uint64_t wordAt(const unsigned char* data) {
  std::uint64_t word;
  std::memcpy(&word, data, sizeof word);
  return word;
}

}  // namespace

void TChecksum::stripe(const unsigned char* data) {
  for (int lane = 0; lane < 4; ++lane) lanes_[lane] = folded(lanes_[lane], wordAt(data + 8 * lane));
}

void TChecksum::add(const char* data, std::size_t size) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(data);
  total_ += size;
  if (pendingSize_ > 0) {
    const std::size_t taken = std::min(size, kStripe - pendingSize_);
    std::memcpy(pending_ + pendingSize_, bytes, taken);
    pendingSize_ += taken;
    bytes += taken;
    size -= taken;
    if (pendingSize_ < kStripe) return;
    stripe(pending_);
    pendingSize_ = 0;
  }
  for (; size >= kStripe; bytes += kStripe, size -= kStripe) stripe(bytes);
  std::memcpy(pending_, bytes, size);
  pendingSize_ = size;
}

std::uint64_t TChecksum::value() const {
  std::uint64_t sum = rotated(lanes_[0], 1) + rotated(lanes_[1], 7) + rotated(lanes_[2], 12) + rotated(lanes_[3], 18);
  for (const std::uint64_t lane : lanes_) sum = (sum ^ folded(0, lane)) * kPrime1 + kPrime4;
  sum += total_;
  std::size_t at = 0;
  for (; at + 8 <= pendingSize_; at += 8) sum = rotated(sum ^ folded(0, wordAt(pending_ + at)), 27) * kPrime1 + kPrime4;
  for (; at < pendingSize_; ++at) sum = rotated(sum ^ (pending_[at] * kPrime5), 11) * kPrime1;
  sum ^= sum >> 33;
  sum *= kPrime2;
  sum ^= sum >> 29;
  sum *= kPrime3;
  return sum ^ (sum >> 32);
}

bool bFunChecksumOf(int fd, long long& size, std::uint64_t& sum) {
  constexpr size_t kChunk = 1 << 20;
  std::vector<char> buffer(kChunk);
  TChecksum checksum;
  off_t at = 0;
  for (;;) {
    const ssize_t got = ::pread(fd, buffer.data(), buffer.size(), at);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    checksum.add(buffer.data(), static_cast<std::size_t>(got));
    at += got;
  }
  // A file that ends before the size it has is not there whole (a stick
  // that lost part of what it said it wrote).
  struct stat st {};
  if (::fstat(fd, &st) != 0) return false;
  if (st.st_size != at) {
    errno = EIO;
    return false;
  }
  size = at;
  sum = checksum.value();
  return true;
}


void vFunTakeIdentity(const struct stat& st, TOpenedFile& file) {
  file.device = st.st_dev;
  file.inode = st.st_ino;
  file.seconds = st.st_mtim.tv_sec;
  file.nanoseconds = st.st_mtim.tv_nsec;
  file.changeSeconds = st.st_ctim.tv_sec;
  file.changeNanoseconds = st.st_ctim.tv_nsec;
  file.mode = st.st_mode & 07777;
}

bool bFunFileNow(int fd, TOpenedFile& file) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  vFunTakeIdentity(st, file);
  return bFunChecksumOf(fd, file.size, file.sum);
}

bool bFunSameFile(int fd, const TOpenedFile& recorded) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || static_cast<std::uint64_t>(st.st_dev) != recorded.device ||
      static_cast<std::uint64_t>(st.st_ino) != recorded.inode || st.st_size != recorded.size ||
      st.st_mtim.tv_sec != recorded.seconds || st.st_mtim.tv_nsec != recorded.nanoseconds)
    return false;
  // Every write, and every setting of its times, moves the change time to
  // the moment it happened: to the nanosecond the same, the file is as it
  // was recorded.
  if (recorded.changeNanoseconds != 0 && st.st_ctim.tv_sec == recorded.changeSeconds &&
      st.st_ctim.tv_nsec == recorded.changeNanoseconds)
    return true;
  TOpenedFile now;
  return bFunFileNow(fd, now) && now.size == recorded.size && now.sum == recorded.sum;
}

namespace {

std::string recordPath(const std::string& workingCopy) { return workingCopy + ".otwarty-plik"; }

}  // namespace

bool docfiles::bFunRecordOpenedFile(const std::string& workingCopy, const TOpenedFile& file) {
  std::uint64_t device = 0, inode = 0;
  if (!workingCopyFile(workingCopy, device, inode)) return false;
  std::ostringstream out;
  out << kHeader << "dokument " << file.path.size() << "\n" << file.path << "\n"
      << "plik " << file.device << " " << file.inode << " " << file.size << " " << file.seconds << " "
      << file.nanoseconds << " " << std::hex << file.sum << std::dec << "\n"
      << "kopia " << device << " " << inode << "\n"
      << "zmiana " << file.changeSeconds << " " << file.changeNanoseconds << " " << std::oct << file.mode << std::dec
      << "\n";
  TFileFailure why;
  // Not flushed: a record lost with a crash of the machine only has the
  // next "Zapisz" ask first.
  return docfiles::writeMarker(recordPath(workingCopy), out.str(), why, false);
}

bool docfiles::bFunOpenedFileOf(const std::string& workingCopy, TOpenedFile& file) {
  std::string text;
  {
    std::ifstream in(recordPath(workingCopy), std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (text.compare(0, sizeof kHeader - 1, kHeader) != 0) return false;
  std::istringstream in(text.substr(sizeof kHeader - 1));
  std::string word;
  std::size_t length = 0;
  if (!(in >> word >> length) || word != "dokument" || in.get() != '\n') return false;
  TOpenedFile read;
  read.path.resize(length);
  if (!in.read(read.path.data(), static_cast<std::streamsize>(length)) || in.get() != '\n') return false;
  std::string fileWord, copyWord;
  std::uint64_t copyDevice = 0, copyInode = 0, device = 0, inode = 0;
  in >> fileWord >> read.device >> read.inode >> read.size >> read.seconds >> read.nanoseconds >> std::hex >>
      read.sum >> std::dec >> copyWord >> copyDevice >> copyInode;
  if (in.fail() || fileWord != "plik" || copyWord != "kopia" || read.path.empty()) return false;
  // The change time and mode, where the record has them (an earlier
  // version's has not: its file is summed up before "Zapisz").
  std::string changeWord;
  long long changeSeconds = 0, changeNanoseconds = 0;
  unsigned mode = 0;
  if (in >> changeWord >> changeSeconds >> changeNanoseconds >> std::oct >> mode && changeWord == "zmiana") {
    read.changeSeconds = changeSeconds;
    read.changeNanoseconds = changeNanoseconds;
    read.mode = mode;
  }
  if (!workingCopyFile(workingCopy, device, inode) || device != copyDevice || inode != copyInode) return false;
  file = read;
  return true;
}

TSystemPath strFunOpenedFileRecordPath(const TSystemPath& workingCopy) {
  return TSystemPath(recordPath(workingCopy.bytes()));
}

bool bFunRecordOpenedFile(const TSystemPath& workingCopy, const TOpenedFile& file) {
  return docfiles::bFunRecordOpenedFile(workingCopy.bytes(), file);
}

bool bFunOpenedFileOf(const TSystemPath& workingCopy, TOpenedFile& file) {
  return docfiles::bFunOpenedFileOf(workingCopy.bytes(), file);
}

void vFunForgetOpenedFile(const TSystemPath& workingCopy) {
  platform::native::removeFile(recordPath(workingCopy.bytes()));
}
