#include "tests/board_engine/board_test_util.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zendra::test {

DiagramStones ReadDiagram(const std::string& diagram) {
  DiagramStones stones;
  std::istringstream in(diagram);
  std::string line;
  int q = 0;
  while (std::getline(in, line)) {
    std::string row;
    for (char c : line)
      if (c != ' ') row += c;
    if (row.empty()) continue;
    ++q;
    for (std::size_t i = 0; i < row.size(); ++i) {
      const int p = static_cast<int>(i) + 1;
      if (row[i] == 'X') stones.black += PointLetters(p, q);
      if (row[i] == 'O') stones.white += PointLetters(p, q);
      if (row[i] == '*') stones.p = p, stones.q = q;
    }
  }
  return stones;
}

void SetUpDiagram(LattixEngine& board, const std::string& diagram, Colour first) {
  const DiagramStones stones = ReadDiagram(diagram);
  board.SetFirstToPlay(first);
  board.SetArrangedSideP("");
  board.SetArrangedSideN("");
  board.NewGame(false);
  board.SetArrangedSideP(stones.black);
  board.SetArrangedSideN(stones.white);
  board.NewGame(false);
}

std::string Diagram(const LattixEngine& board, int columns, int rows) {
  std::string out;
  for (int q = 1; q <= rows; ++q) {
    for (int p = 1; p <= columns; ++p) {
      const Colour c = board.GetPoint(p, q);
      const bool dead = (c & kDeadBit) != 0;
      out += c == 0 ? '.' : (c > 0 ? (dead ? 'x' : 'X') : (dead ? 'o' : 'O'));
    }
    out += '\n';
  }
  return out;
}

void PlayAll(LattixEngine& board, const std::string& moves, bool draw) {
  for (std::size_t i = 0; i + 1 < moves.size(); i += 2) {
    const int p = LetterToCoord(moves[i]), q = LetterToCoord(moves[i + 1]);
    ASSERT_TRUE(board.PlayGoMove(p, q, draw)) << "move " << moves.substr(i, 2) << " refused";
  }
}

}  // namespace zendra::test
