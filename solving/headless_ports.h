// Ports for running the solving controller without a window: command-line play, benchmarks and
// fuzzing. Nothing here waits, plays or stores anything.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
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

// A collection of one problem: its entry at position 0 is built from the record as the
// collection load builds entries (unsolved).
class OneProblemSource : public ProblemSource {
 public:
  explicit OneProblemSource(ProblemRecord record) : record_(std::move(record)) {
    char header[8];
    std::snprintf(header, sizeof header, "%04X0", static_cast<unsigned>(record_.number) & 0xFFFF);
    entry_ = std::string(header) + " " +
             (record_.result2 ? std::to_string(*record_.result2) : std::string()) + " " +
             record_.arrangedBlack + " " + record_.arrangedWhite + " " + record_.initial + " " +
             record_.firstToPlay;
  }
  std::optional<std::string> Entry(int position) const override {
    if (position != 0) return std::nullopt;
    return entry_;
  }
  std::optional<ProblemRecord> Find(int number) override {
    if (number != record_.number) return std::nullopt;
    return record_;
  }

 private:
  ProblemRecord record_;
  std::string entry_;
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
