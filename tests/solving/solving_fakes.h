// Recording fakes for the solving controller's ports, and a fixture that opens problems whose
// trees are built in code, on the real board engine.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "board/engine/lattix_engine.h"
#include "solving/solving_controller.h"
#include "solving/tree/solution_tree.h"

namespace zendra::test {

class FakeUi : public SolvingUi {
 public:
  std::string labelResult;
  std::string labelStd;
  uint32_t stdColour = kNormalText;
  std::vector<std::string> stdHistory;  // every LabelStdResult write, in order
  std::string statusLeft = "?";
  std::string statusRight;
  bool nextEnabled = false;
  std::vector<int> tips;
  int hides = 0;
  int beeps = 0;
  bool page = false;
  bool selected = true;
  int pageShows = 0;
  int undoEnabled = 0;
  int nextProblems = 0;
  std::optional<std::string> inputAnswer;
  std::vector<std::string> inputQueries;  // caption | prompt | text

  void SetLabelResult(const std::string& text) override { labelResult = text; }
  void SetLabelStdResult(const std::string& text, uint32_t colour) override {
    labelStd = text;
    stdColour = colour;
    stdHistory.push_back(text);
  }
  void SetStatusLeft(const std::string& text) override { statusLeft = text; }
  void SetStatusRight(const std::string& text) override { statusRight = text; }
  void SetNextVariationEnabled(bool enabled) override { nextEnabled = enabled; }
  void ShowTip(int which) override { tips.push_back(which); }
  void HideTips() override { ++hides; }
  void Beep() override { ++beeps; }
  bool ProblemPageShowing() const override { return page; }
  void ShowProblemPage() override {
    page = true;
    ++pageShows;
  }
  bool ProblemSelected() const override { return selected; }
  void EnableUndo() override { ++undoEnabled; }
  void RunNextProblem() override { ++nextProblems; }
  std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                        const std::string& text) override {
    inputQueries.push_back(caption + "|" + prompt + "|" + text);
    return inputAnswer;
  }
};

class FakeSounds : public SolvingSounds {
 public:
  std::vector<int> played;
  std::vector<bool> waited;
  bool working = true;
  bool Play(int number, bool wait) override {
    played.push_back(number);
    waited.push_back(wait);
    return working;
  }
};

class FakeHistory : public HistoryCounters {
 public:
  std::vector<std::string> calls;
  int Count(const std::string& name) const {
    int n = 0;
    for (const std::string& c : calls) n += c == name ? 1 : 0;
    return n;
  }
  void PlaceOnProblem(int number) override { calls.push_back("place " + std::to_string(number)); }
  void ShowCounters(int position) override { calls.push_back("show " + std::to_string(position)); }
  void CountSolved() override { calls.push_back("solved"); }
  void CountFailure() override { calls.push_back("failure"); }
  void CountTakeback() override { calls.push_back("takeback"); }
  void CountTryMove() override { calls.push_back("try"); }
  void CountHint(int kind) override { calls.push_back("hint " + std::to_string(kind)); }
};

// The problem list as the problem number of each position, and the problem table.
class FakeProblems : public ProblemSource {
 public:
  std::vector<int> numbers;
  std::map<int, ProblemRecord> table;
  std::optional<ProblemRecord> ProblemAt(int position) override {
    if (position < 0 || position >= static_cast<int>(numbers.size())) return std::nullopt;
    auto it = table.find(numbers[static_cast<std::size_t>(position)]);
    if (it == table.end()) return std::nullopt;
    return it->second;
  }
};

// A clock the test moves; each reading can also add a fixed step, to model time passing
// inside a loop.
class FakeClock : public MillisecondClock {
 public:
  int64_t now = 1000;
  int64_t stepPerRead = 0;
  int reads = 0;
  int64_t NowMs() override {
    ++reads;
    const int64_t t = now;
    now += stepPerRead;
    return t;
  }
};

class FakeTimer : public SolvingTimer {
 public:
  explicit FakeTimer(FakeClock& clock) : clock_(clock) {}
  void SetInterval(int ms) override {
    interval_ = ms;
    if (active_) due_ = clock_.now + interval_;
  }
  int Interval() const override { return interval_; }
  void Start() override {
    active_ = true;
    due_ = clock_.now + interval_;
  }
  void Stop() override { active_ = false; }
  bool Active() const override { return active_; }
  int64_t Due() const { return due_; }

 private:
  FakeClock& clock_;
  int interval_ = 0;
  bool active_ = false;
  int64_t due_ = 0;
};

// Opens problems on a real board with the controller and the fakes.
class SolvingFixture : public ::testing::Test {
 protected:
  SolvingFixture()
      : timer1(clock),
        timer2(clock),
        controller(board, ui, sounds, history, problems, timer1, timer2, clock) {}

  // Registers problem `number` (at the next list position) with the tree's stream.
  int AddProblem(int number, const SolutionTree& tree, const std::string& initial = "",
                 const std::string& first = "B", std::optional<int> result2 = 1,
                 const std::string& black = "", const std::string& white = "") {
    return AddProblemBytes(number, tree.Save(), initial, first, result2, black, white);
  }
  int AddProblemBytes(int number, const std::string& solution, const std::string& initial = "",
                      const std::string& first = "B", std::optional<int> result2 = 1,
                      const std::string& black = "", const std::string& white = "") {
    problems.numbers.push_back(number);
    ProblemRecord record;
    record.number = number;
    record.arrangedBlack = black;
    record.arrangedWhite = white;
    record.initial = initial;
    record.firstToPlay = first;
    record.result2 = result2;
    record.solution = solution;
    problems.table[number] = record;
    return static_cast<int>(problems.numbers.size()) - 1;
  }
  // Opens the problem and forgets what opening reported.
  void Open(int position) {
    controller.OpenProblem(position);
    ClearRecords();
  }
  void ClearRecords() {
    sounds.played.clear();
    sounds.waited.clear();
    history.calls.clear();
    ui.stdHistory.clear();
    ui.tips.clear();
  }
  // The user clicks a point given in letters: the board plays it, then the judge runs.
  void Click(const std::string& point) {
    const int p = LetterToCoord(point[0]);
    const int q = LetterToCoord(point[1]);
    ASSERT_TRUE(board.PlayMove(p, q, true)) << "board refused " << point;
    controller.Lattix1LegalMove(p, q);
  }
  // Moves the clock on, firing every timer that falls due, in order.
  void Advance(int64_t ms) {
    const int64_t end = clock.now + ms;
    for (;;) {
      FakeTimer* next = nullptr;
      for (FakeTimer* t : {&timer1, &timer2}) {
        if (t->Active() && t->Due() <= end && (next == nullptr || t->Due() < next->Due())) {
          next = t;
        }
      }
      if (next == nullptr) break;
      clock.now = next->Due();
      if (next == &timer1) {
        controller.Timer1Timer();
      } else {
        controller.Timer2Timer();
      }
    }
    clock.now = end;
  }
  // The stone on a point: 'X' black, 'O' white, '.' empty.
  char At(const std::string& point) const {
    const Colour c = board.GetPoint(LetterToCoord(point[0]), LetterToCoord(point[1]));
    return (c & kStoneBit) == 0 ? '.' : (c > 0 ? 'X' : 'O');
  }
  const std::string& Text(NodeId id) const { return controller.Tree().Node(id).text; }

  LattixEngine board;
  FakeUi ui;
  FakeSounds sounds;
  FakeHistory history;
  FakeProblems problems;
  FakeClock clock;
  FakeTimer timer1;
  FakeTimer timer2;
  SolvingController controller;
};

}  // namespace zendra::test
