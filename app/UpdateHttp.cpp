#include "app/UpdateHttp.h"

#include "platform/Cp1250.h"

#include <curl/curl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <unistd.h>

namespace update {
namespace {

namespace fs = std::filesystem;

// HTTPS, so an installer that will be run cannot be altered on the way.
constexpr char kDefaultServer[] = "https://aktualizacje.kestal.pl";

// A request that makes no progress for this long is given up.
constexpr long kConnectTimeoutSeconds = 20;
constexpr long kStalledSeconds = 60;

void globalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct TCurlDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using TCurl = std::unique_ptr<CURL, TCurlDeleter>;

int stopCallback(void* stop, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<const std::atomic<bool>*>(stop)->load() ? 1 : 0;
}

// A handle with the options every request of the update shares.
TCurl openRequest(const std::string& url, const std::atomic<bool>& stop) {
  globalInit();
  TCurl curl(curl_easy_init());
  if (!curl) return curl;
  CURL* h = curl.get();
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  // A redirect never leaves HTTPS for plain HTTP.
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, url.rfind("https:", 0) == 0 ? "https" : "http,https");
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, kStalledSeconds);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &stopCallback);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(&stop));
  return curl;
}

long responseCode(CURL* h) {
  long code = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &code);
  return code;
}

// ---- The version file ------------------------------------------------------

constexpr std::size_t kVersionFileSize = 12;

struct TVersionBody {
  std::string bytes;
};

size_t collectVersion(char* data, size_t, size_t count, void* user) {
  auto* body = static_cast<TVersionBody*>(user);
  body->bytes.append(data, count);
  // A longer body is no version file: no need to read the rest.
  return body->bytes.size() > kVersionFileSize ? 0 : count;
}

// ---- The download ----------------------------------------------------------

struct TDownload {
  CURL* handle = nullptr;
  const TDownloadProgress* progress = nullptr;
  std::string partPath;  // UTF-8
  std::FILE* file = nullptr;
  bool started = false;
  long long length = -1;
  long long received = 0;
  std::optional<TDownloadOutcome> refused;  // our own reason to stop

  // Looks at the answer before its first byte is kept.
  bool start() {
    started = true;
    if (responseCode(handle) != 200) {
      refused = TDownloadOutcome::ConnectionFailed;
      return false;
    }
    curl_off_t announced = -1;
    // An empty answer is no installer: only a file of some length is kept.
    if (curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) != CURLE_OK || announced <= 0) {
      refused = TDownloadOutcome::NoContentLength;
      return false;
    }
    length = announced;
    if (progress->onLength) progress->onLength(length);
    file = std::fopen(partPath.c_str(), "wb");
    if (!file) {
      refused = TDownloadOutcome::CannotCreateFile;
      return false;
    }
    if (progress->onWriting) progress->onWriting();
    return true;
  }

  void discard() {
    if (file) std::fclose(file);
    file = nullptr;
    std::error_code ec;
    fs::remove(partPath, ec);
  }
};

size_t writeDownload(char* data, size_t, size_t count, void* user) {
  auto* d = static_cast<TDownload*>(user);
  if (!d->started && !d->start()) return 0;
  if (std::fwrite(data, 1, count, d->file) != count) {
    d->refused = TDownloadOutcome::CannotCreateFile;
    return 0;
  }
  d->received += static_cast<long long>(count);
  if (d->progress->onReceived) d->progress->onReceived(d->received);
  return count;
}

}  // namespace

std::string strFunServerAddress() {
  const char* set = std::getenv("TARVEK_UPDATE_URL");
  std::string address = set && *set ? set : kDefaultServer;
  while (!address.empty() && address.back() == '/') address.pop_back();
  return address;
}

std::string strFunVersionText(const TVersion& v) {
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build);
}

bool bFunNewerVersion(const TVersion& offered, const TVersion& running) {
  if (offered.major != running.major) return offered.major > running.major;
  if (offered.minor != running.minor) return offered.minor > running.minor;
  return offered.build > running.build;
}

std::optional<TVersion> optFunParseVersionFile(const std::string& body) {
  if (body.size() != kVersionFileSize) return std::nullopt;
  auto number = [&body](std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
      value |= static_cast<std::uint32_t>(static_cast<unsigned char>(body[at + i])) << (8 * i);
    return static_cast<std::int32_t>(value);
  };
  return TVersion {number(0), number(4), number(8)};
}

std::optional<TVersion> optFunFetchVersion(const std::string& url, const std::atomic<bool>& stop) {
  TCurl curl = openRequest(url, stop);
  if (!curl) return std::nullopt;
  TVersionBody body;
  curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &collectVersion);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
  if (curl_easy_perform(curl.get()) != CURLE_OK || responseCode(curl.get()) != 200) return std::nullopt;
  return optFunParseVersionFile(body.bytes);
}

TDownloadOutcome vFunDownload(const std::string& url, const std::string& target, const TDownloadProgress& progress,
                              const std::atomic<bool>& stop) {
  const std::string targetPath = cp1250ToUtf8(target);
  std::error_code ec;
  fs::remove(targetPath, ec);

  TCurl curl = openRequest(url, stop);
  if (!curl) return TDownloadOutcome::ConnectionFailed;
  TDownload d;
  d.handle = curl.get();
  d.progress = &progress;
  d.partPath = targetPath + ".part";
  curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &writeDownload);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &d);
  const CURLcode result = curl_easy_perform(curl.get());

  if (d.refused) {
    d.discard();
    return *d.refused;
  }
  if (result != CURLE_OK) {
    d.discard();
    return d.started ? TDownloadOutcome::Cut : TDownloadOutcome::ConnectionFailed;
  }
  // An empty body calls no writer: the answer is looked at here.
  if (!d.started && !d.start()) {
    d.discard();
    return *d.refused;
  }
  if (d.received != d.length || d.received <= 0) {
    d.discard();
    return TDownloadOutcome::Cut;
  }
  const bool written = std::fflush(d.file) == 0 && ::fsync(fileno(d.file)) == 0;
  const bool closed = std::fclose(d.file) == 0;
  d.file = nullptr;
  if (!written || !closed) {
    d.discard();
    return TDownloadOutcome::CannotCreateFile;
  }
  fs::permissions(d.partPath, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                  fs::perm_options::add, ec);
  fs::rename(d.partPath, targetPath, ec);
  if (ec) {
    d.discard();
    return TDownloadOutcome::CannotCreateFile;
  }
  return TDownloadOutcome::Complete;
}

}  // namespace update
