#include "solving/solving_controller.h"

#include <string_view>
#include <utility>

namespace zendra {

namespace {

constexpr int kTimer2IntervalMs = 5000;
constexpr int kShortestTakebackMs = 50;

}  // namespace

SolvingController::SolvingController(LattixEngine& board, SolvingUi& ui, SolvingSounds& sounds,
                                     HistoryCounters& history, ProblemSource& problems,
                                     SolvingTimer& timer1, SolvingTimer& timer2,
                                     MillisecondClock& clock)
    : board_(board),
      ui_(ui),
      sounds_(sounds),
      history_(history),
      problems_(problems),
      timer1_(timer1),
      timer2_(timer2),
      clock_(clock) {
  timer1_.SetInterval(delay_ * 1000);
  timer2_.SetInterval(kTimer2IntervalMs);
  timer2_.Start();
}

// ---- Small helpers ----------------------------------------------------------------------------

void SolvingController::PlaySound(int number) {
  if (silent_) return;
  if (!sounds_.Play(number, number != kSoundClick)) ui_.Beep();
}

void SolvingController::ShowWeakMove(Text warning) {
  ui_.SetLabelStdResult(text_.Say(warning), kRedText);
  timer2_.Stop();
  timer2_.Start();
  PlaySound(kSoundWeakMove);
}

void SolvingController::ShowDataError(int which) {
  ui_.SetLabelStdResult(
      text_.Say(Text::kDataError, {std::to_string(which), std::to_string(problemNumber_)}),
      kRedText);
}

void SolvingController::ClearPending() {
  retryPoint_ = kNoNode;
  alternativeReply_ = kNoNode;
}

Colour SolvingController::UserColour() const {
  const Colour first = firstPlayer_ == 'W' ? kWhite : kBlack;
  return PointCount(initial_) % 2 == 0 ? first : Opponent(first);
}

int SolvingController::MovesPlayed() const {
  const auto played =
      static_cast<long>(board_.Process().size()) - static_cast<long>(initial_.size());
  return static_cast<int>(played / 2);
}

void SolvingController::FollowTakeBack() {
  const NodeId current = tree_.Current();
  // Back on the tree once the moves beyond it are taken back.
  if (offTree_ && current != kNoNode && MovesPlayed() <= tree_.Level(current)) offTree_ = false;
  if (current != kNoNode && tree_.Level(current) > 0 && tree_.Level(current) - MovesPlayed() == 1) {
    tree_.SetCurrent(tree_.Parent(current));
  }
}

// ---- Opening ----------------------------------------------------------------------------------

void SolvingController::OpenProblem(int position) {
  const std::optional<ProblemRecord> problem = problems_.ProblemAt(position);
  if (!problem) return;

  history_.PlaceOnProblem(problem->number);
  if (tree_.LoadSolution(problem->solution) == SolutionTree::LoadResult::kCorrupted) {
    ui_.Beep();
    ui_.SetStatusRight(text_.Say(Text::kDataCorrupted));
  }
  problemOpen_ = true;
  ++openings_;
  problemNumber_ = problem->number;
  arrangedBlack_ = problem->arrangedBlack;
  arrangedWhite_ = problem->arrangedWhite;
  initial_ = problem->initial;
  firstPlayer_ = problem->firstToPlay.empty() ? 'B' : problem->firstToPlay[0];
  answerText_ = problem->result2 ? AnswerText(*problem->result2, text_) : std::string();
  problemRemarks_ = problem->remarks;
  result2_ = problem->result2;
  treePoints_.clear();
  for (NodeId n = tree_.FirstRoot(); n != kNoNode; n = tree_.Successor(n)) {
    const std::string_view point = tree_.NodePoint(n);
    if (point.size() == 2 && !IsPassString(point)) treePoints_ += point;
  }
  history_.ShowCounters(position);
  StartProblem();
  if (!ui_.ProblemPageShowing()) ui_.ShowProblemPage();
}

void SolvingController::StartProblem() {
  ClearPending();
  offTree_ = false;
  ui_.SetNextVariationEnabled(false);
  timer1_.Stop();
  ui_.SetLabelResult("");
  if (tree_.FirstRoot() != kNoNode) tree_.SetCurrent(tree_.FirstRoot());

  board_.SetFirstToPlay(firstPlayer_ == 'W' ? kWhite : kBlack);
  board_.SetArrangedSideP("");
  board_.SetArrangedSideN("");
  board_.NewGame(true);
  board_.SetArrangedSideP(arrangedBlack_);
  board_.SetArrangedSideN(arrangedWhite_);
  board_.SetProcess(initial_);
  board_.SetSelfSide(board_.Turn() < 0 ? 1 : 0);
  if (displayNumbers_) board_.NumberStones(initial_, 1);
}

// ---- Judging ----------------------------------------------------------------------------------

bool SolvingController::PlayReply(NodeId r) {
  const std::string_view point = tree_.NodePoint(r);
  if (point.size() < 2) return false;
  int x = board_.LetterToCoord(point[0]);
  int y = board_.LetterToCoord(point[1]);
  const bool elsewhere = IsPassString(point);
  if (!elsewhere && !board_.IsOnBoard(x, y)) return false;
  if (elsewhere) {
    // A move elsewhere goes to the first empty point of the far corner.
    x = y = 19;
    bool found = false;
    for (int px = 16; px <= 19 && !found; ++px) {
      for (int py = 16; py <= 19 && !found; ++py) {
        if ((board_.GetPoint(px, py) & kStoneBit) == 0) {
          x = px;
          y = py;
          found = true;
        }
      }
    }
  }
  board_.PlayMove(x, y, true);
  tree_.SetCurrent(r);
  return true;
}

NodeId SolvingController::ChooseReply(NodeId u) {
  if (tree_.ChildCount(u) == 1) return tree_.FirstChild(u);
  for (NodeId c = tree_.FirstChild(u); c != kNoNode; c = tree_.NextSibling(c)) {
    if (!tree_.IsMarked(c) && !tree_.IsBarredFromReply(c, replyMask_)) return c;
  }
  tree_.UnmarkChildren(u);
  for (NodeId c = tree_.FirstChild(u); c != kNoNode; c = tree_.NextSibling(c)) {
    if (!tree_.IsBarredFromReply(c, replyMask_)) return c;
  }
  return kNoNode;
}

NodeId SolvingController::RetryAfterFailure(NodeId x) {
  for (NodeId n = x; n != kNoNode; n = tree_.Parent(n)) {
    if (tree_.Level(n) % 2 == 0 && tree_.HasCleanSuccess(n)) return n;
  }
  PlaySound(kSoundWeakMove);
  return kNoNode;
}

NodeId SolvingController::RetryBefore(NodeId node, int level) const {
  NodeId a = tree_.Parent(node);
  while (a != kNoNode && tree_.Level(a) != level - 1) a = tree_.Parent(a);
  if (a == kNoNode) return kNoNode;
  if (tree_.ChildCount(a) >= 2) return a;
  for (; a != kNoNode; a = tree_.Parent(a)) {
    if (tree_.HasCleanSuccess(a)) return a;
  }
  return kNoNode;
}

void SolvingController::Lattix1LegalMove(int p, int q) {
  PlaySound(kSoundClick);
  if (tryMode_) {
    ui_.EnableUndo();
    history_.CountTryMove();
    return;
  }
  ClearPending();
  timer1_.Stop();
  ui_.SetNextVariationEnabled(false);

  const NodeId n = tree_.Current();
  if (n == kNoNode) return;
  board_.ClearMarks();

  if (offTree_) {
    if (judge_ == nullptr || !JudgeOffTree(p, q)) {
      // The judge cannot tell: a move the tree does not know, judged as without the option.
      offTree_ = false;
      ui_.SetLabelResult(text_.Say(Text::kFailure));
      JudgedFailure(n);
    }
    Finish();
    return;
  }
  const std::string m{board_.CoordToLetter(p), board_.CoordToLetter(q)};
  NodeId u = kNoNode;
  for (NodeId c = tree_.FirstChild(n); c != kNoNode && u == kNoNode; c = tree_.NextSibling(c)) {
    if (tree_.NodePoint(c) == m) u = c;
  }
  for (NodeId c = tree_.FirstChild(n); c != kNoNode && u == kNoNode; c = tree_.NextSibling(c)) {
    if (IsPassString(tree_.NodePoint(c))) u = c;
  }
  if (u == kNoNode && checkOffTreeMoves_ && judge_ && JudgeOffTree(p, q)) {
    Finish();
    return;
  }
  if (u == kNoNode) {
    ui_.SetLabelResult(text_.Say(Text::kFailure));
    JudgedFailure(n);
    Finish();
    return;
  }

  // The deepest flagged computer reply, flagged user move and "sometimes" user move on the path.
  int cf = -1, uf = -1, us = -1;
  for (NodeId a = u; a != kNoNode; a = tree_.Parent(a)) {
    const int level = tree_.Level(a);
    if (level % 2 == 0) {
      if (cf < 0 && tree_.IsFlagged(a)) cf = level;
    } else {
      if (uf < 0 && tree_.IsFlagged(a)) uf = level;
      if (us < 0 && tree_.IsSometimes(a)) us = level;
    }
  }

  bool ended = !tree_.HasChildren(u);
  tree_.SetCurrent(u);
  ui_.SetStatusLeft("");
  ui_.SetStatusRight(Comment(u));
  const std::string code = tree_.NodeCode(u);
  std::string replyCode = "  ";

  if (tree_.IsBadMove(u)) ShowWeakMove(Text::kBadMove);
  if (tree_.IsNotBest(u)) ShowWeakMove(Text::kNotBest);
  if (tree_.IsSometimes(u)) ShowWeakMove(Text::kSometimes);

  if (!ended) {
    const NodeId r = ChooseReply(u);
    if (r != kNoNode && PlayReply(r)) {
      replyCode = tree_.NodeCode(r);
      ui_.SetStatusRight(Comment(r));
      ended = !tree_.HasChildren(r);
      PlaySound(kSoundClick);
    }
  }

  const std::string verdict = replyCode != "  " ? replyCode : code;
  ui_.SetLabelResult(ResultText(verdict, text_));
  ui_.ProcessPendingRepaints();

  if (IsSuccess(verdict)) {
    Succeeded(cf, uf, us);
  } else if (static_cast<unsigned char>(verdict[0]) >= '0' || ended) {
    JudgedFailure(tree_.Current());
  }
  Finish();
}

bool SolvingController::JudgeOffTree(int p, int q) {
  const std::string move{board_.CoordToLetter(p), board_.CoordToLetter(q)};
  const OffTreeJudgement judgement =
      judge_->Judge(board_, UserColour(), result2_, move + treePoints_);
  if (judgement.verdict == OffTreeVerdict::kUnknown) return false;
  const NodeId n = tree_.Current();
  bool replied = false;
  if (judgement.reply.size() == 2) {
    const int x = board_.LetterToCoord(judgement.reply[0]);
    const int y = board_.LetterToCoord(judgement.reply[1]);
    if (board_.IsOnBoard(x, y) && (board_.GetPoint(x, y) & kStoneBit) == 0) {
      board_.PlayMove(x, y, true);
      replied = true;
    }
  }
  if (replied) PlaySound(kSoundClick);
  if (judgement.verdict == OffTreeVerdict::kFails) {
    offTree_ = false;
    ui_.SetLabelResult(text_.Say(Text::kFailure));
    ui_.SetStatusRight(text_.Say(Text::kSolverRefutes));
    JudgedFailure(n);
    return true;
  }
  const bool first = !offTree_;
  offTree_ = true;
  if (first) ui_.SetStatusRight(text_.Say(Text::kSolverAlsoCorrect));
  if (replied) {
    ui_.SetLabelResult("");
    return true;
  }
  // Nothing left to defend: the problem is decided for the user.
  ui_.SetLabelResult(text_.Say(Text::kSuccess));
  PlaySound(kSoundSuccess);
  history_.CountSolved();
  PlaySound(kSoundSolved);
  if (nextProblemAutomatically_) ui_.RunNextProblem();
  return true;
}

void SolvingController::JudgedFailure(NodeId from) {
  PlaySound(kSoundFailure);
  history_.CountFailure();
  retryPoint_ = RetryAfterFailure(from);
  alternativeReply_ = kNoNode;
}

void SolvingController::Succeeded(int cf, int uf, int us) {
  PlaySound(cf < 0 && uf < 0 && us < 0 ? kSoundSuccess : kSoundSuccessFlagged);
  const NodeId current = tree_.Current();
  tree_.Mark(current);

  // Walk up marking what has been shown, until a branching with an unshown allowed reply.
  bool reachedRoot = false;
  for (NodeId w = tree_.Parent(current); w != kNoNode; w = tree_.Parent(w)) {
    if (tree_.Level(w) % 2 == 0 || tree_.ChildCount(w) < 2) {
      tree_.Mark(w);
    } else {
      NodeId v = kNoNode;
      for (NodeId c = tree_.FirstChild(w); c != kNoNode && v == kNoNode; c = tree_.NextSibling(c)) {
        if (!tree_.IsMarked(c) && !tree_.IsBarredFromReply(c, replyMask_)) v = c;
      }
      if (v != kNoNode) {
        retryPoint_ = w;
        alternativeReply_ = v;
        break;
      }
      tree_.Mark(w);
      tree_.UnmarkChildren(w);
    }
    if (tree_.Level(w) == 0) {
      reachedRoot = true;
      break;
    }
  }

  if (uf >= 0) {
    if (cf < uf) {
      retryPoint_ = RetryBefore(current, uf);
      alternativeReply_ = kNoNode;
    } else {
      PlaySound(kSoundDataError);
      ShowDataError(1);
    }
  } else if (us >= 0) {
    retryPoint_ = RetryBefore(current, us);
    alternativeReply_ = kNoNode;
  } else if (reachedRoot) {
    history_.CountSolved();
    PlaySound(kSoundSolved);
    if (nextProblemAutomatically_) ui_.RunNextProblem();
  }
}

std::string SolvingController::Comment(NodeId id) const {
  return tree_.NodeComment(id, text_, problemRemarks_ ? *problemRemarks_ : remarks_);
}

void SolvingController::Finish() {
  const bool pending = retryPoint_ != kNoNode;
  ui_.SetNextVariationEnabled(pending);
  if (pending) ui_.ShowTip(alternativeReply_ != kNoNode ? 1 : 2);
  if (takebackAutomatically_ && pending) timer1_.Start();
}

// ---- Commands ---------------------------------------------------------------------------------

void SolvingController::SolveAgain() {
  if (!ui_.ProblemPageShowing() || !problemOpen_) return;
  const NodeId current = tree_.Current();
  const bool insideLine =
      current != kNoNode && tree_.Level(current) > 0 && tree_.HasChildren(current);
  StartProblem();
  if (insideLine) history_.CountTakeback();
}

void SolvingController::Back() {
  if (!ui_.ProblemPageShowing()) return;
  ClearPending();
  ui_.SetNextVariationEnabled(false);
  timer1_.Stop();
  if (board_.NextMove() <= 1 || board_.Process().size() <= initial_.size()) return;
  const NodeId current = tree_.Current();
  const bool insideLine =
      current != kNoNode && tree_.Level(current) > 0 && tree_.HasChildren(current);
  ui_.SetLabelResult("");
  board_.TakeBack();
  FollowTakeBack();
  if (!SameSide(board_.Turn(), UserColour())) {
    board_.TakeBack();
    FollowTakeBack();
  }
  if (insideLine) history_.CountTakeback();
}

void SolvingController::NextVariationOrRetry() {
  timer1_.Stop();
  ui_.SetNextVariationEnabled(false);
  ui_.HideTips();
  if (retryPoint_ == kNoNode) {
    PlaySound(kSoundDataError);
    SolveAgain();
    return;
  }
  ui_.SetLabelResult("");
  const int64_t start = clock_.NowMs();
  if (tree_.Current() != kNoNode) {
    for (;;) {
      int64_t elapsed = clock_.NowMs() - start;
      if (elapsed < 0) elapsed = 0;
      if (elapsed > kRetryTimeLimitMs) {
        ui_.SetLabelStdResult(text_.Say(Text::kError), kRedText);
        break;
      }
      const NodeId before = tree_.Current();
      const std::size_t movesBefore = board_.Process().size();
      const int16_t nextMoveBefore = board_.NextMove();
      board_.TakeBack();
      FollowTakeBack();
      if (tree_.Current() == retryPoint_) {
        if (alternativeReply_ != kNoNode && tree_.NodePoint(alternativeReply_).size() == 2 &&
            PlayReply(alternativeReply_)) {
          PlaySound(kSoundClick);
        }
        break;
      }
      if (tree_.Parent(tree_.Current()) == kNoNode) break;
      // When the tree is deeper than the moves on the board (a reply the board refused),
      // taking back stops changing anything: that is the same error as running out of time.
      if (tree_.Current() == before && board_.Process().size() == movesBefore &&
          board_.NextMove() == nextMoveBefore) {
        ui_.SetLabelStdResult(text_.Say(Text::kError), kRedText);
        break;
      }
    }
  }
  if (!SameSide(board_.Turn(), UserColour())) {
    PlaySound(kSoundDataError);
    ShowDataError(2);
    SolveAgain();
    return;
  }
  if (!tree_.HasChildren(tree_.Current())) {
    PlaySound(kSoundDataError);
    ShowDataError(3);
    SolveAgain();
  }
}

void SolvingController::Result() {
  if (!ui_.ProblemPageShowing() || !ui_.ProblemSelected()) return;
  ui_.SetLabelStdResult(answerText_, kNormalText);
  history_.CountHint(0);
}

void SolvingController::Hint() {
  if (!ui_.ProblemPageShowing() || !ui_.ProblemSelected()) return;
  if (!hintAllowed_) {
    ui_.Beep();
    return;
  }
  if (tree_.Current() == kNoNode) return;
  if (MovesPlayed() != tree_.Level(tree_.Current()) && backEnabled_) Back();
  if (!SameSide(board_.Turn(), UserColour()) && backEnabled_) Back();
  if (!SameSide(board_.Turn(), UserColour())) return;

  std::string good;
  std::string bad;
  const NodeId current = tree_.Current();
  for (NodeId v = tree_.FirstChild(current); v != kNoNode; v = tree_.NextSibling(v)) {
    const std::string_view point = tree_.NodePoint(v);
    // A point shorter than two letters would shift every later point of its list.
    if (point.size() < 2) continue;
    if (IsSuccess(tree_.NodeCode(v)) || tree_.HasCleanSuccess(v)) {
      if (IsPassString(point) ||
          board_.IsOnBoard(board_.LetterToCoord(point[0]), board_.LetterToCoord(point[1]))) {
        good += point;
      }
    } else {
      bad += point;
    }
  }
  board_.MarkPoints(good, kGreenDot);
  board_.MarkPoints(bad, kYellowDot);
  history_.CountHint(1);
}

void SolvingController::DelayDialog() {
  const std::optional<std::string> answer = ui_.InputQuery(
      text_.Say(Text::kPleaseInput), text_.Say(Text::kDelayPrompt), std::to_string(delay_));
  if (!answer) return;
  int value = 0;
  bool valid = !answer->empty() && answer->size() <= 4;
  for (char c : *answer) {
    if (c < '0' || c > '9') {
      valid = false;
      break;
    }
    value = value * 10 + (c - '0');
  }
  if (!valid || value > 30) {
    ui_.Beep();
    return;
  }
  SetDelay(value);
}

// ---- Try mode ---------------------------------------------------------------------------------

void SolvingController::EnterTryMode() {
  ui_.SetNextVariationEnabled(false);
  timer1_.Stop();
  tryOpening_ = openings_;
  tryCurrent_ = tree_.Current();
  tryRetryPoint_ = retryPoint_;
  tryAlternativeReply_ = alternativeReply_;
  backEnabled_ = false;
  tryMode_ = true;
}

void SolvingController::LeaveTryMode() {
  tryMode_ = false;
  backEnabled_ = true;
  if (tryOpening_ != openings_) return;
  if (tryCurrent_ != kNoNode) tree_.SetCurrent(tryCurrent_);
  retryPoint_ = tryRetryPoint_;
  alternativeReply_ = tryAlternativeReply_;
}

// ---- Timers and options -----------------------------------------------------------------------

void SolvingController::Timer1Timer() {
  timer1_.Stop();
  NextVariationOrRetry();
}

void SolvingController::Timer2Timer() {
  timer2_.Stop();
  ui_.SetLabelStdResult("", kNormalText);
}

void SolvingController::SetDelay(int seconds) {
  if (seconds < 0 || seconds > 30) return;
  delay_ = seconds;
  timer1_.SetInterval(seconds == 0 ? kShortestTakebackMs : seconds * 1000);
}

void SolvingController::SetComputerDoNotPlayBadMove(bool on) {
  replyMask_ = on ? kReplyMaskAvoidBadMoves : kReplyMaskDefault;
}

void SolvingController::ToggleDisplayNumbers() {
  displayNumbers_ = !displayNumbers_;
  SolveAgain();
}

}  // namespace zendra
