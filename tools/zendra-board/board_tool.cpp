#include "tools/zendra-board/board_tool.h"

#include <iconv.h>

#include <charconv>
#include <iostream>
#include <optional>
#include <string>

#include "board/engine/lattix_engine.h"

namespace zendra::board_tool {
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
void PrintDiagram(const zendra::LattixEngine& board, std::ostream& out_stream) {
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
  out_stream << out;
}

}  // namespace

int RunZendraBoard(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string setup, moves, dead, first = "B";
  int handicap = 0, komi = 15, language = 2;
  bool count = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::optional<std::string> v;
    auto value = [&]() -> bool {
      if (i + 1 >= args.size()) {
        err << "zendra-board: " << a << " needs a value\n" << kUsage;
        return false;
      }
      v = args[++i];
      return true;
    };
    // The option's value as a whole number from lo to hi, or nothing after saying so.
    auto number = [&](int lo, int hi) -> std::optional<int> {
      if (!value()) return std::nullopt;
      int n = 0;
      const char* end = v->data() + v->size();
      const auto [stop, ec] = std::from_chars(v->data(), end, n);
      if (!v->empty() && ec == std::errc() && stop == end && n >= lo && n <= hi) return n;
      err << "zendra-board: " << a << " takes a number from " << lo << " to " << hi << ", not '"
          << *v << "'\n";
      return std::nullopt;
    };
    auto text = [&](std::string* to) {
      if (!value()) return false;
      *to = *v;
      return true;
    };
    bool ok = true;
    if (a == "--setup") {
      ok = text(&setup);
    } else if (a == "--first") {
      ok = text(&first);
    } else if (a == "--moves") {
      ok = text(&moves);
    } else if (a == "--dead") {
      ok = text(&dead);
    } else if (a == "--handicap" || a == "--komi" || a == "--language") {
      const bool h = a == "--handicap";
      const bool k = a == "--komi";
      const std::optional<int> n = h ? number(0, 9) : k ? number(-9999, 9999) : number(0, 2);
      ok = n.has_value();
      if (ok) (h ? handicap : k ? komi : language) = *n;
    } else if (a == "--count") {
      count = true;
    } else if (a == "--help" || a == "-h") {
      out << kUsage;
      return 0;
    } else {
      err << "zendra-board: unknown argument '" << a << "'\n" << kUsage;
      return 2;
    }
    if (!ok) return 2;
  }
  if (first != "B" && first != "W") {
    err << "zendra-board: --first takes B or W, not '" << first << "'\n";
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
  if (board.Process() != moves) out << "note: illegal moves were dropped from the move list\n";

  PrintDiagram(board, out);
  out << "Process: " << board.Process() << '\n'
      << "NextMove: " << board.NextMove() << '\n'
      << "Turn: " << (board.Turn() > 0 ? "black" : "white") << '\n'
      << "LastCaptures: " << board.LastCaptures() << '\n';
  if (count) {
    board.SetGameOver(true);
    for (std::size_t i = 0; i + 1 < dead.size(); i += 2)
      board.ToggleDead(zendra::LetterToCoord(dead[i]), zendra::LetterToCoord(dead[i + 1]));
    board.CountResult();
    out << "AreaB: " << board.AreaB() << '\n'
        << "AreaW: " << board.AreaW() << '\n'
        << "Result: " << GbToUtf8(board.sResult()) << '\n';
  }
  return 0;
}

}  // namespace zendra::board_tool
