#pragma once
// The network side of the update: the version file and the installer,
// fetched over HTTP(S) with libcurl on the caller's (worker) thread. Nothing
// here touches a window; the caller hands the results to the GUI thread.
// The system's proxy settings (the proxy environment) apply.
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace update {

// The maker's update server. TARVEK_UPDATE_URL replaces it (tests serve
// from 127.0.0.1); a trailing "/" is dropped.
std::string strFunServerAddress();
// The two fixed paths on the server.
inline constexpr char kVersionFilePath[] = "/kestal/tarvek/program/2014/tvk_wersja.bin";
inline constexpr char kInstallerFilePath[] = "/kestal/tarvek/program/2014/tvksetup.exe";
// Every request names itself so.
inline constexpr char kUserAgent[] = "UPDATE CHECK";

struct TVersion {
  std::int32_t major = 0, minor = 0, build = 0;
  friend bool operator==(const TVersion&, const TVersion&) = default;
};
// "1.6.8"
std::string strFunVersionText(const TVersion& version);
// True when `offered` is a later version than `running` (signed comparison,
// major first, then minor, then build).
bool bFunNewerVersion(const TVersion& offered, const TVersion& running);
// The version file: exactly 12 bytes, major, minor, build as signed 32-bit
// little-endian numbers. Anything else is no version.
std::optional<TVersion> optFunParseVersionFile(const std::string& body);

// Fetches the version file. No version when the server cannot be reached or
// answers with anything but status 200 and a body of exactly 12 bytes.
// `stop` turning true abandons the request.
std::optional<TVersion> optFunFetchVersion(const std::string& url, const std::atomic<bool>& stop);

enum class TDownloadOutcome {
  Complete,           // status 200 and as many bytes as the content length says, at least one
  ConnectionFailed,   // no connection, or an answer other than status 200
  NoContentLength,    // the answer does not say how long the file is, or says 0
  CannotCreateFile,   // the file cannot be written
  Cut,                // the body stopped short (or the download was stopped)
};

// What the download reports as it goes, in this order: the length once the
// answer has been accepted, the file being written, then the bytes
// received so far after every piece.
struct TDownloadProgress {
  std::function<void(long long length)> onLength;
  std::function<void()> onWriting;
  std::function<void(long long received)> onReceived;
};

// Downloads `url` into `target` (Windows-1250 path). A file already at the
// target is deleted first. The body is written beside the target and
// renamed into it, executable by its owner, only when it is whole; after any
// other outcome no file is left at the target or beside it.
TDownloadOutcome vFunDownload(const std::string& url, const std::string& target, const TDownloadProgress& progress,
                              const std::atomic<bool>& stop);

}  // namespace update
