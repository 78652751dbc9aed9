// The look of a board face, shared by the board control and the thumbnail grid: the colour
// scheme, the face colour, flat or pictured stones, the wood and the painting, and the
// reduced-colour mode that switches several of them at once.
//
// The value only keeps the rules of its properties; the widget that holds it repaints, or
// makes its stone pictures again, as the setters answer.
#pragma once

#include <cstdint>

#include "board/widget/colours.h"

namespace zendra {

// What a change of the look asks of the widget that shows it.
enum class LookChange {
  kNone,     // refused or unchanged: nothing to do
  kRepaint,  // repaint with the same stone pictures
  kStones,   // make the stone pictures again, then repaint
};

struct BoardLook {
  // Face colour (0x00BBGGRR or a palette role) where no scheme picture covers the face.
  uint32_t boardColor = kDefaultBoardColour;
  // Scheme 0..6: 1 is the dithered pattern of the colour strip; the others paint the face in
  // boardColor. Schemes 0 and 1 show the stone pictures with their key colour see-through,
  // 2..6 clip the pictures to the stone.
  int colorNum = 1;
  bool dim3 = true;      // stones from pictures, else flat ellipses
  bool wood = false;     // the wood texture on the face (board control only)
  bool painting = true;  // the ink painting behind the board (board control only)
  bool pal256 = false;   // reduced-colour mode

  // 0, 0xFFFFFF and the current value are refused.
  LookChange SetBoardColor(uint32_t v);
  // Out-of-range and unchanged values are refused; crossing between {0, 1} and {2..6} changes
  // the stone pictures.
  LookChange SetColorNum(int v);
  // Stores v. Turning it on while the scheme is 1 also switches to flat stones, scheme 6, the
  // button-face colour and no painting (new stone pictures); otherwise nothing is to be done.
  LookChange SetPal256(bool v);

  // Whether the face shows the pattern of the colour strip.
  bool PatternFace() const { return colorNum == 1; }
  // Whether the stone pictures keep their key colour see-through (see StonePicture).
  bool KeyTransparentStones() const { return colorNum < 2; }
};

}  // namespace zendra
