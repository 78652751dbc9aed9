#include "app/board_values.h"

#include "board/widget/lattix.h"

namespace zendra {

void ApplyStoredBoardValues(TLattix& board, const StoredBoardValues& values) {
  board.SetNoBoard(false);
  board.SetPal256(false);
  board.SetManualString(values.record);
  board.SetBaseNum(1);
  board.SetRadius(7);
  board.SetCoordinate(16);
  board.SetsgfCoordinate(true);
  board.SetBoardColor(2724550);
  board.SetBoardColorNum(2);
  board.SetDim3(true);
  board.SetWood(false);
  board.SetPainting(false);
  board.SetDisplayTurn(true);
  board.SetDisplayInfo(0);
  board.SetDisplayWidth(values.displayWidth);
  board.SetDrawLastPass(false);
  board.SetFirstToPlayByRule(true);
  board.SetFirstToPlay(kBlack);
  board.SetTurn(kBlack);
  board.SetWinner(kNoWinner);
  board.SetSingleMode(values.singleMode);
  board.SetStudy(values.study);
}

}  // namespace zendra
