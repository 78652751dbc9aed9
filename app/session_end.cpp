#include "app/session_end.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace zendra {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipe from the signal handler to the event loop: a handler may do little more than
// write(2).
int pipeFds[2] = {-1, -1};
struct sigaction previous[3];

void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  (void)!write(pipeFds[1], &byte, 1);
  errno = saved;
}

}  // namespace

SessionEnd::SessionEnd(std::function<void()> close, QObject* parent)
    : QObject(parent), close_(std::move(close)) {
  if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char bytes[16];
    while (read(pipeFds[0], bytes, sizeof bytes) > 0) {
    }
    if (close_) close_();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous[i]);
}

SessionEnd::~SessionEnd() {
  if (!notifier_) return;
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous[i], nullptr);
  delete notifier_;
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);
  pipeFds[0] = pipeFds[1] = -1;
}

}  // namespace zendra
