// The values a window keeps for its board (`Lattix1`) and applies, in their stored order, when
// it makes the board: the problem board of the main window and the study window's board differ
// only in the komi of their record, the width kept for the information column and the play flags.
#pragma once

#include <cstdint>

namespace zendra {

class TLattix;

struct StoredBoardValues {
  const char* record;    // the game record (no moves)
  int16_t displayWidth;  // the width kept for the information column
  bool singleMode;       // clicks play both colours
  bool study;            // the host's try-mode flag
};

// The main window's board: komi 15; the column is only as wide as the turn circles; it plays
// the user's side.
inline constexpr StoredBoardValues kProblemBoardValues{
    "02VexGame0 2010/09/12-23:32:26 0   15 0 0 0 0 0 0 0 0 9 ", 32, false, false};
// The study window's board: komi 11; clicks play both colours.
inline constexpr StoredBoardValues kStudyBoardValues{
    "02VexGame0 2010/09/12-23:32:26 0   11 0 0 0 0 0 0 0 0 9 ", 125, true, true};

// Applies the record, then the display values, then the play flags. The information column
// starts hidden on both boards.
void ApplyStoredBoardValues(TLattix& board, const StoredBoardValues& values);

}  // namespace zendra
