// Mouse input on the board: which point a pixel selects, what a click does in each play state,
// and the hover coordinate with its hand cursor.
#include <QMouseEvent>
#include <cmath>

#include "board/widget/lattix.h"

namespace zendra {

namespace {

// Press point recorded when a press falls on no board point.
constexpr int kNoPress = 255;
// Cursor of the hover when a click would act.
constexpr Qt::CursorShape kHandCursor = Qt::PointingHandCursor;

int PixelX(const QMouseEvent* e) { return static_cast<int>(std::floor(e->position().x())); }
int PixelY(const QMouseEvent* e) { return static_cast<int>(std::floor(e->position().y())); }

}  // namespace

void TLattix::mousePressEvent(QMouseEvent* event) {
  const int x = PixelX(event), y = PixelY(event);
  if (event->button() == Qt::LeftButton) {
    const GridHit hit = PointAt(x, y);
    pressP_ = hit.onBoard ? hit.p : kNoPress;
    pressQ_ = hit.onBoard ? hit.q : kNoPress;
  }
  if (OnMouseDown) OnMouseDown(this, event->button(), event->modifiers(), x, y);
}

void TLattix::mouseReleaseEvent(QMouseEvent* event) {
  const int x = PixelX(event), y = PixelY(event);
  if (event->button() == Qt::LeftButton) LeftUp(x, y);
  if (event->button() == Qt::RightButton) RightUp(x, y);
  if (OnMouseUp) OnMouseUp(this, event->button(), event->modifiers(), x, y);
}

void TLattix::mouseMoveEvent(QMouseEvent* event) {
  const int x = PixelX(event), y = PixelY(event);
  if (OnMouseMove) OnMouseMove(this, event->modifiers(), x, y);
  Hover(x, y);
}

void TLattix::ClearHover() {
  HintPos_ = -1;
  HintStr_.clear();
  if (DisplayInfo() == 1) DrawInfoLine(InfoLine::Coordinate);
}

void TLattix::LeftUp(int x, int y) {
  const GridHit hit = PointAt(x, y);
  const int p = hit.p, q = hit.q;
  if (!hit.onBoard) {
    // The column of the turn circles repaints the points and the panel.
    const int a = 2 * std::min<int>(Radius(), 7);
    if (BoardWidth() + 15 < x && x < BoardWidth() + 15 + a && 120 < y && y < 180 + a) DrawPoints();
    return;
  }
  const bool samePoint = p == pressP_ && q == pressQ_;
  const bool empty = GetPoint(p, q) == 0;
  if (Mode() == 1) {
    if (samePoint && empty) ArrangeStone(p, q, Turn() > 0 ? kBlack : kWhite);
    return;
  }
  if (Mode() != 0) return;

  if (Review()) {
    // Review-study: a new move, numbered in NumProc.
    if (!Study() || !samePoint || !empty) return;
    ClearHover();
    if (!PlayMove(p, q, true)) return;
    AppendNumberedMove(p, q);
    if (OnLegalMove)
      OnLegalMove(this, static_cast<int16_t>(p), static_cast<int16_t>(q), 0, 0, Review());
    return;
  }

  if (Winner() <= 2 || !samePoint) return;
  if (GameOver()) {
    // Counting: the clicked chain goes dead, or alive again, and the position is counted.
    if (GameKind() != kGo || Label(p, q) <= 0) return;
    ClearHover();
    ToggleDead(p, q);
    return;
  }
  const bool usersTurn = IsSelfSideToMove();
  if (!empty && AwaitingCandidateRemoval()) {
    // Five-in-a-row's opening exchange: white takes one of black's two candidates off.
    if (!NewMoveEnabled() || !(SingleMode() || usersTurn)) return;
    ClearHover();
    if (PlayMove(p, q, true) && OnLegalMove)
      OnLegalMove(this, static_cast<int16_t>(p), static_cast<int16_t>(q), 1, 0, Review());
    return;
  }
  if (!empty) {
    if (!SingleMode() && !usersTurn) {
      // The last move's letters: move NextMove - 1 of Process.
      const std::string& process = Process();
      const std::size_t at = 2 * static_cast<std::size_t>(std::max(NextMove() - 2, 0));
      if (NextMove() > 1 && at + 2 <= process.size() && LetterToCoord(process[at]) == p &&
          LetterToCoord(process[at + 1]) == q) {
        ClearHover();
        if (OnLastMoveClick)
          OnLastMoveClick(this, static_cast<int16_t>(p), static_cast<int16_t>(q));
      }
      return;
    }
    ClearHover();
    if (OnClickAtOpponentsTurn)
      OnClickAtOpponentsTurn(this, static_cast<int16_t>(p), static_cast<int16_t>(q));
    return;
  }
  if (!NewMoveEnabled() || !(SingleMode() || usersTurn)) return;
  ClearHover();
  if (PlayMove(p, q, true) && OnLegalMove)
    OnLegalMove(this, static_cast<int16_t>(p), static_cast<int16_t>(q), 0, 0, Review());
}

void TLattix::RightUp(int x, int y) {
  if (Mode() != 1) return;
  const GridHit hit = PointAt(x, y);
  if (hit.onBoard && GetPoint(hit.p, hit.q) == 0) ArrangeStone(hit.p, hit.q, kWhite);
}

void TLattix::Hover(int x, int y) {
  const GridHit hit = PointAt(x, y);
  bool actionable = false;
  if (hit.onBoard) {
    const bool empty = GetPoint(hit.p, hit.q) == 0;
    if (Mode() != 0) {
      actionable = Mode() == 1 && empty;
    } else {
      if (Review() && Study())
        actionable = empty;
      else if (Winner() < 3)
        actionable = false;
      else if (GameOver())
        actionable = Label(hit.p, hit.q) != 0;
      else if (NewMoveEnabled() && (SingleMode() || IsSelfSideToMove()))
        actionable = empty || IsRemovableCandidate(hit.p, hit.q);
      HintPos_ = static_cast<int16_t>(hit.p * 256 + hit.q);
    }
  } else {
    HintPos_ = -1;
  }
  HintStr_.clear();
  if (HintPos_ >= 0) {
    const int p = HintPos_ / 256, q = HintPos_ % 256;
    if (IsOnBoard(p, q) && p <= 24) {
      static constexpr char kSgfColumns[] = "ABCDEFGHJKLMNOPQRSTUVWXY";
      static constexpr char kPlainColumns[] = "ABCDEFGHJKMNOPQRSTUVWXYZ";
      const char letter = (sgfCoordinate() ? kSgfColumns : kPlainColumns)[p - 1];
      HintStr_ = QChar(letter) + QString::number(sgfCoordinate() ? M() - q + 1 : q);
    }
  }
  if (DisplayInfo() == 1) DrawInfoLine(InfoLine::Coordinate);
  if (Mode() != 9) {
    if (actionable)
      setCursor(kHandCursor);
    else
      unsetCursor();
  }
}

}  // namespace zendra
