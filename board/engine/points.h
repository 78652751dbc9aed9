// Board points, point letters and stone colours: the vocabulary every layer shares.
//
// A point is (p, q): p the column counted from 1 at the left, q the row counted from 1 at the
// top. The grid is 21 x 21 for every game kind; rows and columns 0 and 20 are a border that never
// holds a stone, and (20, 20) doubles as the pass point of Go. A point is written as two letters,
// column first; in Go the letter of coordinate n is the character with code 64 + n, so "A" is 1,
// "S" is 19 and the pass is "TT".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zendra {

// Stone colours as the board cells hold them. The sign gives the side; bit 0 set means a stone
// stands on the cell; the bit of value 2 marks a stone dead while a finished game is counted.
using Colour = int8_t;
inline constexpr Colour kEmpty = 0;
inline constexpr Colour kBlack = 1;
inline constexpr Colour kWhite = -127;  // 0x81
inline constexpr Colour kStoneBit = 1;
inline constexpr Colour kDeadBit = 2;

inline constexpr int kGridSize = 21;  // cells 0..20 in each direction, whatever the game kind
inline constexpr int kPassCoord = 20;  // (20, 20) is Go's pass point
inline constexpr const char* kPassLetters = "TT";

// The opposite side of x: white for a positive x, black for a negative one, 0 for 0.
constexpr Colour Opponent(Colour x) { return x > 0 ? kWhite : (x < 0 ? kBlack : kEmpty); }
// True when a and b are non-zero and have the same sign.
constexpr bool SameSide(int a, int b) { return a * b > 0; }
// True when a and b are non-zero and have opposite signs.
constexpr bool OppositeSides(int a, int b) { return a * b < 0; }
// 0 for black (positive), 1 otherwise: indexes per-colour tables and images.
constexpr int ColourIndex(Colour x) { return x > 0 ? 0 : 1; }
// A side number (0 black, anything else white) as a colour.
constexpr Colour SideColour(int s) { return s == 0 ? kBlack : kWhite; }

// Letter offsets of the point strings: Go, five-in-a-row and army chess write coordinate n as
// the character 64 + n, the chess kinds (which count from 0) as 33 + n.
constexpr int LetterOffset(int gameKind) { return (gameKind == 1 || gameKind == 2) ? 33 : 64; }

// The coordinate a letter names: its code minus the kind's offset. Never fails; a character that
// names no point decodes to a value outside the board (lower case gives 33 and more in Go).
constexpr int16_t LetterToCoord(char ch, int gameKind = 0) {
  return static_cast<int16_t>(static_cast<unsigned char>(ch) - LetterOffset(gameKind));
}
// The letter of coordinate n; only meaningful for n on the board or the pass coordinate.
constexpr char CoordToLetter(int n, int gameKind = 0) {
  return static_cast<char>(n + LetterOffset(gameKind));
}
// True exactly when s is the pass, "TT".
inline bool IsPassString(std::string_view s) { return s == kPassLetters; }

// The two letters of (p, q) in Go's convention.
inline std::string PointLetters(int p, int q) {
  return std::string{CoordToLetter(p), CoordToLetter(q)};
}

// Number of points in a point list; a trailing odd character does not count.
inline std::size_t PointCount(std::string_view list) { return list.size() / 2; }
// True when the list is well formed (even length) and holds at least one point.
inline bool IsNonEmptyPointList(std::string_view list) {
  return !list.empty() && list.size() % 2 == 0;
}

}  // namespace zendra
