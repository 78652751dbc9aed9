// Ports for running the solving controller without a window: command-line play, benchmarks and
// fuzzing. Nothing here waits, plays or stores anything.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "solving/history_port.h"
#include "solving/solving_ports.h"

namespace zendra {

// A window that shows nothing: the labels and the status bar go nowhere, the problem page is
// always showing with a problem selected, and an input box is always cancelled.
class NullUi : public SolvingUi {
 public:
  void SetLabelResult(const std::string&) override {}
  void SetLabelStdResult(const std::string&, uint32_t) override {}
  void SetStatusLeft(const std::string&) override {}
  void SetStatusRight(const std::string&) override {}
  void SetNextVariationEnabled(bool) override {}
  void ShowTip(int) override {}
  void HideTips() override {}
  void Beep() override {}
  bool ProblemPageShowing() const override { return true; }
  void ShowProblemPage() override {}
  bool ProblemSelected() const override { return true; }
  void RunNextProblem() override {}
  std::optional<std::string> InputQuery(const std::string&, const std::string&,
                                        const std::string&) override {
    return std::nullopt;
  }
};

// Sounds that are never heard; every one counts as played, so nothing beeps.
class SilentSounds : public SolvingSounds {
 public:
  bool Play(int, bool) override { return true; }
};

// History counters that keep nothing; derive to count what a caller wants to see.
class NullHistory : public HistoryCounters {
 public:
  void PlaceOnProblem(int) override {}
  void ShowCounters(int) override {}
  void CountSolved() override {}
  void CountFailure() override {}
  void CountTakeback() override {}
  void CountTryMove() override {}
  void CountHint(int) override {}
};

// A collection of one problem, at position 0.
class OneProblemSource : public ProblemSource {
 public:
  explicit OneProblemSource(ProblemRecord record) : record_(std::move(record)) {}
  std::optional<ProblemRecord> ProblemAt(int position) override {
    if (position != 0) return std::nullopt;
    return record_;
  }

 private:
  ProblemRecord record_;
};

// A timer that keeps its interval and its running state but never fires on its own.
class ManualTimer : public SolvingTimer {
 public:
  void SetInterval(int ms) override { interval_ = ms; }
  int Interval() const override { return interval_; }
  void Start() override { active_ = true; }
  void Stop() override { active_ = false; }
  bool Active() const override { return active_; }

 private:
  int interval_ = 0;
  bool active_ = false;
};

// std::chrono::steady_clock in milliseconds.
class SteadyClock : public MillisecondClock {
 public:
  int64_t NowMs() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
};

}  // namespace zendra
