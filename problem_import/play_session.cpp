#include "problem_import/play_session.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <optional>

#include "board/engine/lattix_engine.h"
#include "solving/headless_ports.h"
#include "solving/solving_controller.h"

namespace zendra {

namespace {

// Recording ports: everything the window would show is kept for the step report.
class RecordingUi : public SolvingUi {
 public:
  std::string labelResult;
  std::string labelStd;
  std::vector<std::string> messages;
  std::string statusRight;
  bool nextEnabled = false;
  std::vector<int> tips;
  int beeps = 0;
  bool page = false;

  void SetLabelResult(const std::string& text) override { labelResult = text; }
  void SetLabelStdResult(const std::string& text, uint32_t) override {
    labelStd = text;
    messages.push_back(text);
  }
  void SetStatusLeft(const std::string&) override {}
  void SetStatusRight(const std::string& text) override { statusRight = text; }
  void SetNextVariationEnabled(bool enabled) override { nextEnabled = enabled; }
  void ShowTip(int which) override { tips.push_back(which); }
  void HideTips() override {}
  void Beep() override { ++beeps; }
  bool ProblemPageShowing() const override { return page; }
  void ShowProblemPage() override { page = true; }
  bool ProblemSelected() const override { return true; }
  void RunNextProblem() override {}
  std::optional<std::string> InputQuery(const std::string&, const std::string&,
                                        const std::string&) override {
    return std::nullopt;
  }
};

class RecordingSounds : public SolvingSounds {
 public:
  std::vector<int> played;
  bool Play(int number, bool) override {
    played.push_back(number);
    return true;
  }
};

class RecordingHistory : public NullHistory {
 public:
  int solved = 0;
  int failures = 0;
  void CountSolved() override { ++solved; }
  void CountFailure() override { ++failures; }
};

}  // namespace

struct PlaySession::Impl {
  explicit Impl(const DataProblem& p)
      : problems(static_cast<const ProblemRecord&>(p)),
        controller(board, ui, sounds, history, problems, timer1, timer2, clock) {}
  LattixEngine board;
  RecordingUi ui;
  RecordingSounds sounds;
  RecordingHistory history;
  OneProblemSource problems;
  ManualTimer timer1;
  ManualTimer timer2;
  SteadyClock clock;
  SolvingController controller;
  std::string initial;
};

PlaySession::PlaySession(const DataProblem& problem, std::vector<std::string> remarks)
    : impl_(std::make_unique<Impl>(problem)) {
  impl_->controller.SetRemarks(std::move(remarks));
  impl_->controller.SetDisplayNumbers(false);
  impl_->initial = problem.initial;
  impl_->controller.OpenProblem(0);
}

PlaySession::~PlaySession() = default;

bool ParseMoveStep(const std::string& step, int* p, int* q) {
  if (step.size() == 2 && step[0] >= 'A' && step[0] <= 'S' && step[1] >= 'A' && step[1] <= 'S') {
    *p = LetterToCoord(step[0]);
    *q = LetterToCoord(step[1]);
    return true;
  }
  if (step.size() < 2 || step.size() > 3) return false;
  char column = static_cast<char>(std::toupper(static_cast<unsigned char>(step[0])));
  if (column < 'A' || column > 'T' || column == 'I') return false;
  int row = 0;
  for (std::size_t i = 1; i < step.size(); ++i) {
    if (step[i] < '0' || step[i] > '9') return false;
    row = row * 10 + (step[i] - '0');
  }
  if (row < 1 || row > 19) return false;
  *p = column - 'A' + 1 - (column > 'I' ? 1 : 0);
  *q = 20 - row;
  return true;
}

PlayStepReport PlaySession::Step(const std::string& step) {
  Impl& s = *impl_;
  PlayStepReport report;
  report.step = step;
  s.ui.messages.clear();
  s.ui.tips.clear();
  s.ui.beeps = 0;
  s.sounds.played.clear();
  const int solvedBefore = s.history.solved;
  const int failuresBefore = s.history.failures;
  int p = 0;
  int q = 0;
  if (step == "again") {
    s.controller.SolveAgain();
  } else if (step == "back") {
    s.controller.Back();
  } else if (step == "next") {
    s.controller.NextVariationOrRetry();
  } else if (step == "result") {
    s.controller.Result();
  } else if (step == "hint") {
    s.controller.Hint();
  } else if (ParseMoveStep(step, &p, &q)) {
    if (!s.board.IsSelfSideToMove()) {
      report.accepted = false;
      report.error = "the user is not to move";
    } else if (!s.board.PlayMove(p, q, true)) {
      report.accepted = false;
      report.error = "the board refuses " + PointLetters(p, q);
    } else {
      const std::size_t before = s.board.Process().size();
      s.controller.Lattix1LegalMove(p, q);
      if (s.board.Process().size() > before) report.reply = s.board.Process().substr(before, 2);
    }
  } else {
    report.accepted = false;
    report.error = "unknown step '" + step + "'";
  }
  const std::string& process = s.board.Process();
  for (std::size_t i = s.initial.size(); i + 1 < process.size(); i += 2) {
    if (!report.moves.empty()) report.moves += ' ';
    report.moves += process.substr(i, 2);
  }
  report.labelResult = s.ui.labelResult;
  report.labelStdResult = s.ui.labelStd;
  report.messages = s.ui.messages;
  report.statusRight = s.ui.statusRight;
  report.sounds = s.sounds.played;
  report.beeps = s.ui.beeps;
  report.retryPending = s.controller.RetryPoint() != kNoNode;
  if (s.controller.AlternativeReply() != kNoNode) {
    report.alternative =
        std::string(s.controller.Tree().NodePoint(s.controller.AlternativeReply()));
  }
  report.solved = s.history.solved > solvedBefore;
  report.failure = s.history.failures > failuresBefore;
  report.tips = s.ui.tips;
  for (int y = 1; y <= 19; ++y) {
    for (int x = 1; x <= 19; ++x) {
      const uint32_t colour = s.board.MarkColor(x, y);
      if (colour == kGreenDot) report.greenDots += PointLetters(x, y);
      if (colour == kYellowDot) report.yellowDots += PointLetters(x, y);
    }
  }
  return report;
}

std::string BoardDiagram(const LattixEngine& board) {
  static constexpr const char* kColumns = "ABCDEFGHJKLMNOPQRST";
  std::string out = "   ";
  for (int p = 1; p <= 19; ++p) {
    out += ' ';
    out += kColumns[p - 1];
  }
  out += '\n';
  for (int q = 1; q <= 19; ++q) {
    char row[8];
    std::snprintf(row, sizeof row, "%2d ", 20 - q);
    out += row;
    for (int p = 1; p <= 19; ++p) {
      const Colour c = board.GetPoint(p, q);
      out += ' ';
      out += (c & kStoneBit) == 0 ? '.' : (c > 0 ? 'X' : 'O');
    }
    out += '\n';
  }
  return out;
}

std::string PlaySession::Diagram() const { return BoardDiagram(impl_->board); }

bool PlaySession::IsEmpty(int p, int q) const {
  return (impl_->board.GetPoint(p, q) & kStoneBit) == 0;
}

}  // namespace zendra
