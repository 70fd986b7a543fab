#include "OpenedFile.h"

#include "store/DocumentFileParts.h"
#include "platform/NativeFiles.h"

#include <cerrno>
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

}  // namespace

bool bFunChecksumOf(int fd, long long& size, std::uint64_t& sum) {
  constexpr size_t kChunk = 1 << 16;
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
  size = at;
  sum = checksum.value;
  return true;
}

bool bFunFileNow(int fd, TOpenedFile& file) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  file.device = st.st_dev;
  file.inode = st.st_ino;
  file.seconds = st.st_mtim.tv_sec;
  file.nanoseconds = st.st_mtim.tv_nsec;
  return bFunChecksumOf(fd, file.size, file.sum);
}

bool bFunSameFile(int fd, const TOpenedFile& recorded) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || static_cast<std::uint64_t>(st.st_dev) != recorded.device ||
      static_cast<std::uint64_t>(st.st_ino) != recorded.inode || st.st_size != recorded.size ||
      st.st_mtim.tv_sec != recorded.seconds || st.st_mtim.tv_nsec != recorded.nanoseconds)
    return false;
  TOpenedFile now;
  return bFunFileNow(fd, now) && now.size == recorded.size && now.sum == recorded.sum;
}

std::string strFunOpenedFileRecordPath(const std::string& workingCopy) { return workingCopy + ".otwarty-plik"; }

bool bFunRecordOpenedFile(const std::string& workingCopy, const TOpenedFile& file) {
  std::uint64_t device = 0, inode = 0;
  if (!workingCopyFile(workingCopy, device, inode)) return false;
  std::ostringstream out;
  out << kHeader << "dokument " << file.path.size() << "\n" << file.path << "\n"
      << "plik " << file.device << " " << file.inode << " " << file.size << " " << file.seconds << " "
      << file.nanoseconds << " " << std::hex << file.sum << std::dec << "\n"
      << "kopia " << device << " " << inode << "\n";
  TFileFailure why;
  return docfiles::writeMarker(strFunOpenedFileRecordPath(workingCopy), out.str(), why);
}

bool bFunOpenedFileOf(const std::string& workingCopy, TOpenedFile& file) {
  std::string text;
  {
    std::ifstream in(strFunOpenedFileRecordPath(workingCopy), std::ios::binary);
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
  if (!workingCopyFile(workingCopy, device, inode) || device != copyDevice || inode != copyInode) return false;
  file = read;
  return true;
}

void vFunForgetOpenedFile(const std::string& workingCopy) {
  platform::native::removeFile(strFunOpenedFileRecordPath(workingCopy));
}
