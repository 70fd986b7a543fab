#include "toolkit/DesktopOpen.h"

#include "platform/Desktop.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <unistd.h>

namespace {

// Waits for one opener's end on the descriptor it was given, and closes it.
class TOpenerEnd : public QObject {
 public:
  TOpenerEnd(int fd, std::function<void()> onFailure)
      : QObject(QCoreApplication::instance()), fd_(fd), onFailure_(std::move(onFailure)),
        notifier_(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
    setObjectName("TOpenerEnd");
    connect(notifier_, &QSocketNotifier::activated, this, [this] { vFunEnded(); });
  }
  ~TOpenerEnd() override {
    delete notifier_;
    ::close(fd_);
  }

 private:
  void vFunEnded() {
    unsigned char end = 0;
    ssize_t got;
    while ((got = ::read(fd_, &end, 1)) < 0 && errno == EINTR) {
    }
    if (got < 0 && errno == EAGAIN) return;  // woken early: wait on
    notifier_->setEnabled(false);
    // No byte: how the opener ended is not known, so nothing is said.
    if (got == 1 && end != 0 && onFailure_) onFailure_();
    deleteLater();
  }
  int fd_;
  std::function<void()> onFailure_;
  QSocketNotifier* notifier_;
};

}  // namespace

QObject* objFunOpenWithDesktop(const std::string& target, std::function<void()> onFailure) {
  int fd = -1;
  if (!platform::openWithDesktop(target, &fd)) {
    if (onFailure) onFailure();
    return nullptr;
  }
  if (fd < 0) return nullptr;
  return new TOpenerEnd(fd, std::move(onFailure));
}
