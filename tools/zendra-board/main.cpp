// zendra-board: sets up a position from the problem strings, plays a move list through the
// board model and prints the result as an ASCII diagram. With --count it also counts the
// position by area (after marking the listed chains dead).
#include <iconv.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "board/engine/lattix_engine.h"

namespace {

const char* kUsage =
    "usage: zendra-board [options]\n"
    "  --setup \"BLACK WHITE\"  set-up stones: black point list, a space, white point list\n"
    "  --first B|W            side that moves first (default B)\n"
    "  --handicap N           handicap stones 2..9\n"
    "  --moves LIST           moves to play, two letters each (TT passes)\n"
    "  --count                count the final position by area\n"
    "  --dead LIST            with --count: mark the chains through these points dead\n"
    "  --komi Q               komi in quarter stones (default 15)\n"
    "  --language 0|2         result text in Chinese (0) or English (2, default)\n"
    "Points are two capital letters, column then row, A = 1 at the left and top.\n";

// GB bytes as UTF-8 for the terminal; the bytes unchanged if the converter is missing.
std::string GbToUtf8(const std::string& gb) {
  iconv_t cd = iconv_open("UTF-8", "GB18030");
  if (cd == reinterpret_cast<iconv_t>(-1)) return gb;
  std::string in = gb, out(gb.size() * 4 + 4, '\0');
  char* src = in.data();
  char* dst = out.data();
  std::size_t srcLeft = in.size(), dstLeft = out.size();
  const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) return gb;
  out.resize(out.size() - dstLeft);
  return out;
}

// The board with the point letters the strings use: columns left to right and rows top to
// bottom, both from A. The last move shows as # (black) or @ (white); dead stones as x and o.
void PrintDiagram(const zendra::LattixEngine& board) {
  std::string out = "   ";
  for (int p = 1; p <= board.N(); ++p) {
    out += zendra::CoordToLetter(p);
    out += ' ';
  }
  out += '\n';
  for (int q = 1; q <= board.M(); ++q) {
    out += ' ';
    out += zendra::CoordToLetter(q);
    out += ' ';
    for (int p = 1; p <= board.N(); ++p) {
      const zendra::Colour c = board.GetPoint(p, q);
      const bool dead = (c & zendra::kDeadBit) != 0;
      char ch = '.';
      if (c > 0) ch = dead ? 'x' : 'X';
      if (c < 0) ch = dead ? 'o' : 'O';
      if (c != 0 && p == board.LastP() && q == board.LastQ()) ch = c > 0 ? '#' : '@';
      out += ch;
      out += ' ';
    }
    out += '\n';
  }
  std::cout << out;
}

}  // namespace

int main(int argc, char** argv) {
  std::string setup, moves, dead, first = "B";
  int handicap = 0, komi = 15, language = 2;
  bool count = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::cerr << "zendra-board: " << a << " needs a value\n" << kUsage;
        std::exit(2);
      }
      return argv[++i];
    };
    auto number = [&](int lo, int hi) {
      const std::string v = value();
      try {
        std::size_t used = 0;
        const int n = std::stoi(v, &used);
        if (used == v.size() && n >= lo && n <= hi) return n;
      } catch (const std::exception&) {
      }
      std::cerr << "zendra-board: " << a << " takes a number from " << lo << " to " << hi << ", not '" << v
                << "'\n";
      std::exit(2);
    };
    if (a == "--setup") setup = value();
    else if (a == "--first") first = value();
    else if (a == "--moves") moves = value();
    else if (a == "--dead") dead = value();
    else if (a == "--handicap") handicap = number(0, 9);
    else if (a == "--komi") komi = number(-9999, 9999);
    else if (a == "--language") language = number(0, 2);
    else if (a == "--count") count = true;
    else if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    } else {
      std::cerr << "zendra-board: unknown argument '" << a << "'\n" << kUsage;
      return 2;
    }
  }
  if (first != "B" && first != "W") {
    std::cerr << "zendra-board: --first takes B or W, not '" << first << "'\n";
    return 2;
  }

  zendra::LattixEngine board;
  board.SetFirstToPlay(first == "B" ? zendra::kBlack : zendra::kWhite);
  board.SetHandicap(static_cast<int8_t>(handicap));
  board.SetInitialProc(setup);
  board.NewGame(false);
  board.SetAtone(komi);
  board.SetLanguage(static_cast<int8_t>(language));
  board.SetProcess(moves);
  if (board.Process() != moves)
    std::cout << "note: illegal moves were dropped from the move list\n";

  PrintDiagram(board);
  std::cout << "Process: " << board.Process() << '\n'
            << "NextMove: " << board.NextMove() << '\n'
            << "Turn: " << (board.Turn() > 0 ? "black" : "white") << '\n'
            << "LastCaptures: " << board.LastCaptures() << '\n';
  if (count) {
    board.SetGameOver(true);
    for (std::size_t i = 0; i + 1 < dead.size(); i += 2)
      board.ToggleDead(zendra::LetterToCoord(dead[i]), zendra::LetterToCoord(dead[i + 1]));
    board.CountResult();
    std::cout << "AreaB: " << board.AreaB() << '\n'
              << "AreaW: " << board.AreaW() << '\n'
              << "Result: " << GbToUtf8(board.sResult()) << '\n';
  }
  return 0;
}
