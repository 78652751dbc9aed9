// What the solving controller talks to besides the board and the solution tree: the problem
// page's labels and buttons, the numbered sounds, the history counters, the problem list and
// table, two timers and a millisecond clock. The application implements them with widgets,
// Qt Multimedia, the history table and QTimer; tests implement them with recording fakes.
//
// Every call happens on the one window thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "library/problem_record.h"
#include "solving/history_port.h"

namespace zendra {

// Colour values (0x00BBGGRR) for LabelStdResult.
inline constexpr uint32_t kRedText = 255;
inline constexpr uint32_t kNormalText = 0xFF000008;  // the window text colour of the system
// Hint dots.
inline constexpr uint32_t kGreenDot = 32768;
inline constexpr uint32_t kYellowDot = 65535;

// The problem page and the window around it.
class SolvingUi {
 public:
  virtual ~SolvingUi() = default;
  // `LabelResult`: the verdict line.
  virtual void SetLabelResult(const std::string& text) = 0;
  // `LabelStdResult`: short messages, in red (kRedText) or the normal colour (kNormalText).
  virtual void SetLabelStdResult(const std::string& text, uint32_t colour) = 0;
  // The left and right panels of the status bar.
  virtual void SetStatusLeft(const std::string& text) = 0;
  virtual void SetStatusRight(const std::string& text) = 0;
  // `btnNextVofComputer`, "Next variation or retry (PgDn)".
  virtual void SetNextVariationEnabled(bool enabled) = 0;
  // Shows tip window 1 (another variation) or 2 (retry), each only while its own display switch
  // is on; HideTips hides both.
  virtual void ShowTip(int which) = 0;
  virtual void HideTips() = 0;
  // The refusal beep (also stands in for a sound that cannot be played).
  virtual void Beep() = 0;
  // True while the problem page (the board) is the current page.
  virtual bool ProblemPageShowing() const = 0;
  virtual void ShowProblemPage() = 0;
  // True while the grid holds at least one problem and one of its entries is selected.
  virtual bool ProblemSelected() const = 0;
  // Lets pending repaints of the window happen before a verdict sound blocks.
  virtual void ProcessPendingRepaints() {}
  // Enables "&Undo" of try mode.
  virtual void EnableUndo() {}
  // Runs the Next problem command of the problem navigation.
  virtual void RunNextProblem() = 0;
  // A modal input box; the text typed, or nothing on Cancel.
  virtual std::optional<std::string> InputQuery(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& text) = 0;
};

// The program's numbered wave sounds ("#1999" is 1999).
class SolvingSounds {
 public:
  virtual ~SolvingSounds() = default;
  // Plays the sound; with wait, returns only when it has ended. False when it cannot be played
  // (the caller then beeps).
  virtual bool Play(int number, bool wait) = 0;
};

// The open collection's problems by their position in the problem list.
class ProblemSource {
 public:
  virtual ~ProblemSource() = default;
  // The problem of the list entry at `position` (0-based), its number included; nothing when
  // the list has no such entry or the problem table does not hold its problem.
  virtual std::optional<ProblemRecord> ProblemAt(int position) = 0;
};

// A window timer: fires its owner's handler every Interval() ms while active. The owner wires
// the firing to the controller's Timer1Timer or Timer2Timer.
class SolvingTimer {
 public:
  virtual ~SolvingTimer() = default;
  // Changing the interval of an active timer restarts its period.
  virtual void SetInterval(int ms) = 0;
  virtual int Interval() const = 0;
  virtual void Start() = 0;
  virtual void Stop() = 0;
  virtual bool Active() const = 0;
};

// A monotonic millisecond tick.
class MillisecondClock {
 public:
  virtual ~MillisecondClock() = default;
  virtual int64_t NowMs() = 0;
};

}  // namespace zendra
