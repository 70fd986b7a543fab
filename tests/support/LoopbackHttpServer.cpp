#include "LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool sendAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

const char* reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

std::string headerValue(const std::string& head, const std::string& name) {
  std::size_t at = 0;
  while ((at = head.find("\r\n", at)) != std::string::npos) {
    at += 2;
    if (head.compare(at, name.size(), name) == 0 && head.compare(at + name.size(), 1, ":") == 0) {
      std::size_t from = at + name.size() + 1;
      while (from < head.size() && head[from] == ' ') ++from;
      return head.substr(from, head.find("\r\n", from) - from);
    }
  }
  return {};
}

}  // namespace

TLoopbackHttpServer::TLoopbackHttpServer() {
  if (::pipe(stopPipe_) != 0) throw std::runtime_error("pipe");
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 16) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("loopback server");
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { acceptLoop(); });
}

TLoopbackHttpServer::~TLoopbackHttpServer() {
  stop_ = true;
  (void)!::write(stopPipe_[1], "x", 1);
  acceptor_.join();
  for (std::thread& connection : connections_) connection.join();
  ::close(listener_);
  ::close(stopPipe_[0]);
  ::close(stopPipe_[1]);
}

void TLoopbackHttpServer::serve(const std::string& path, TServedAnswer answer) {
  std::lock_guard lock(mutex_);
  answers_[path] = std::move(answer);
}

std::string TLoopbackHttpServer::url() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::vector<TServedRequest> TLoopbackHttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

bool TLoopbackHttpServer::stopped(std::chrono::milliseconds time) const {
  pollfd waiting {stopPipe_[0], POLLIN, 0};
  return ::poll(&waiting, 1, static_cast<int>(time.count())) > 0 || stop_;
}

void TLoopbackHttpServer::acceptLoop() {
  for (;;) {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
    if (stop_ || (fds[1].revents & POLLIN)) return;
    if (!(fds[0].revents & POLLIN)) continue;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    connections_.emplace_back([this, connection] {
      answer(connection);
      ::close(connection);
    });
  }
}

void TLoopbackHttpServer::answer(int connection) {
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos) {
    pollfd fds[2] = {{connection, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    if (::poll(fds, 2, 10000) <= 0 || (fds[1].revents & POLLIN)) return;
    const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    head.append(buffer, static_cast<std::size_t>(n));
  }
  const std::size_t pathStart = head.find(' ') + 1;
  const std::string path = head.substr(pathStart, head.find(' ', pathStart) - pathStart);
  TServedAnswer served;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back({path, headerValue(head, "User-Agent")});
    const auto found = answers_.find(path);
    if (found != answers_.end()) {
      served = found->second;
    } else {
      served.status = 404;
      served.body = "<html><body>Not found</body></html>";
    }
  }
  if (served.closeAtOnce) return;
  if (served.hang) {
    stopped(std::chrono::milliseconds(-1));
    return;
  }
  std::string reply = "HTTP/1.1 " + std::to_string(served.status) + " " + reason(served.status) + "\r\n";
  if (served.contentLength) reply += "Content-Length: " + std::to_string(served.body.size()) + "\r\n";
  reply += "Content-Type: application/octet-stream\r\nConnection: close\r\n\r\n";
  if (!sendAll(connection, reply.data(), reply.size())) return;
  const std::size_t end = std::min(served.cutAfter, served.body.size());
  const std::size_t piece = std::max<std::size_t>(1, std::min(served.piece, served.body.size()));
  for (std::size_t at = 0; at < end; at += piece) {
    if (!sendAll(connection, served.body.data() + at, std::min(piece, end - at))) return;
    if (served.pause.count() > 0 && stopped(served.pause)) return;
  }
  ::shutdown(connection, SHUT_WR);
}

std::string strVersionFile(int major, int minor, int build) {
  std::string bytes;
  for (int number : {major, minor, build}) {
    const auto value = static_cast<std::uint32_t>(number);
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  }
  return bytes;
}
