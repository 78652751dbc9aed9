#include "app/qt_ports.h"

#include <chrono>

#include "app/library_session.h"

namespace zendra {

QtSolvingTimer::QtSolvingTimer(std::function<void()> onFire) {
  QObject::connect(&timer_, &QTimer::timeout, [fire = std::move(onFire)] { fire(); });
}

void QtSolvingTimer::SetInterval(int ms) { timer_.setInterval(ms); }

int64_t SteadyMillisecondClock::NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::optional<ProblemRecord> SessionProblemSource::ProblemAt(int position) {
  return session_.ProblemAt(position);
}

void SessionHistoryCounters::PlaceOnProblem(int number) { session_.PlaceOnProblem(number); }
void SessionHistoryCounters::ShowCounters(int position) { session_.ShowCounters(position); }
void SessionHistoryCounters::CountSolved() { session_.Counter().CountSolved(); }
void SessionHistoryCounters::CountFailure() { session_.Counter().CountFailure(); }
void SessionHistoryCounters::CountTakeback() { session_.Counter().CountTakeback(); }
void SessionHistoryCounters::CountTryMove() { session_.Counter().CountTryMove(); }
void SessionHistoryCounters::CountHint(int kind) { session_.Counter().CountHint(kind); }

}  // namespace zendra
