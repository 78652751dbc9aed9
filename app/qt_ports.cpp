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

std::optional<std::string> SessionProblemSource::Entry(int position) const {
  const auto& list = session_.ProblemList();
  if (position < 0 || position >= static_cast<int>(list.size())) return std::nullopt;
  return list[static_cast<size_t>(position)];
}

std::optional<ProblemRecord> SessionProblemSource::Find(int number) {
  const std::optional<ProblemFields> f = session_.FindProblem(number);
  if (!f) return std::nullopt;
  ProblemRecord r;
  r.number = f->number;
  r.arrangedBlack = f->arrangedBlack;
  r.arrangedWhite = f->arrangedWhite;
  r.initial = f->initial;
  r.firstToPlay = f->firstToPlay;
  r.result2 = f->result2;
  r.solution = f->solution;
  r.remarks = f->remarks;
  return r;
}

void SessionHistoryCounters::PlaceOnProblem(int number) { session_.PlaceOnProblem(number); }
void SessionHistoryCounters::ShowCounters(int position) { session_.ShowCounters(position); }
void SessionHistoryCounters::CountSolved() { session_.Counter().CountSolved(); }
void SessionHistoryCounters::CountFailure() { session_.Counter().CountFailure(); }
void SessionHistoryCounters::CountTakeback() { session_.Counter().CountTakeback(); }
void SessionHistoryCounters::CountTryMove() { session_.Counter().CountTryMove(); }
void SessionHistoryCounters::CountHint(int kind) { session_.Counter().CountHint(kind); }

}  // namespace zendra
