#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the update tests: each path gets
// a scripted answer, and the requests are recorded. It runs on threads of
// its own (one per connection) until it is destroyed.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

struct TServedAnswer {
  int status = 200;
  std::string body {};
  // Send a Content-Length header of the whole body (else the end of the
  // connection ends the body).
  bool contentLength = true;
  // Close the connection after this many bytes of the body.
  std::size_t cutAfter = std::string::npos;
  // Close the connection at once, without any answer.
  bool closeAtOnce = false;
  // Send nothing until the server is destroyed.
  bool hang = false;
  // Send the body in pieces of this size with a pause after each.
  std::size_t piece = std::string::npos;
  std::chrono::milliseconds pause {0};
};

struct TServedRequest {
  std::string path;
  std::string userAgent;
};

class TLoopbackHttpServer {
 public:
  TLoopbackHttpServer();
  ~TLoopbackHttpServer();
  TLoopbackHttpServer(const TLoopbackHttpServer&) = delete;
  TLoopbackHttpServer& operator=(const TLoopbackHttpServer&) = delete;

  // Paths without an answer get 404 with a short page.
  void serve(const std::string& path, TServedAnswer answer);
  // "http://127.0.0.1:<port>"
  std::string url() const;
  std::vector<TServedRequest> requests() const;

 private:
  void acceptLoop();
  void answer(int connection);
  // Waits up to `time` for the server to stop; true when it stops.
  bool stopped(std::chrono::milliseconds time) const;

  int listener_ = -1;
  int stopPipe_[2] = {-1, -1};
  int port_ = 0;
  std::atomic<bool> stop_ {false};
  mutable std::mutex mutex_;
  std::unordered_map<std::string, TServedAnswer> answers_;
  std::vector<TServedRequest> requests_;
  std::vector<std::thread> connections_;
  std::thread acceptor_;
};

// The 12 bytes of a version file: three signed 32-bit little-endian numbers.
std::string strVersionFile(int major, int minor, int build);
