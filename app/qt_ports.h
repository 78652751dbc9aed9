// The solving controller's timer, clock, problem-source and history ports, made with QTimer,
// std::chrono and the window's library session.
#pragma once

#include <QTimer>
#include <functional>

#include "solving/solving_ports.h"

namespace zendra {

class LibrarySession;

// A window timer over QTimer; `onFire` runs on every period while active.
class QtSolvingTimer : public SolvingTimer {
 public:
  explicit QtSolvingTimer(std::function<void()> onFire);
  void SetInterval(int ms) override;
  int Interval() const override { return timer_.interval(); }
  void Start() override { timer_.start(); }
  void Stop() override { timer_.stop(); }
  bool Active() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
};

// std::chrono::steady_clock in milliseconds.
class SteadyMillisecondClock : public MillisecondClock {
 public:
  int64_t NowMs() override;
};

// The open collection's problems, from the library session.
class SessionProblemSource : public ProblemSource {
 public:
  explicit SessionProblemSource(LibrarySession& session) : session_(session) {}
  std::optional<ProblemRecord> ProblemAt(int position) override;

 private:
  LibrarySession& session_;
};

// The history counters of the open problem, from the library session.
class SessionHistoryCounters : public HistoryCounters {
 public:
  explicit SessionHistoryCounters(LibrarySession& session) : session_(session) {}
  void PlaceOnProblem(int number) override;
  void ShowCounters(int position) override;
  void CountSolved() override;
  void CountFailure() override;
  void CountTakeback() override;
  void CountTryMove() override;
  void CountHint(int kind) override;

 private:
  LibrarySession& session_;
};

}  // namespace zendra
