// Colour values as the board control and the grid store them, and the palette roles they name.
//
// A colour is 0x00BBGGRR (255 is red). A value with the top byte set names a role of the
// application palette by its low byte instead, so the controls follow the desktop's colours.
#pragma once

#include <QColor>
#include <cstdint>

namespace zendra {

// The palette roles a colour value can name.
inline constexpr uint32_t kWindowColour = 0xFF000005;      // the window background
inline constexpr uint32_t kWindowTextColour = 0xFF000008;  // the window text
inline constexpr uint32_t kHighlightColour = 0xFF00000D;   // the selection
inline constexpr uint32_t kButtonFace = 0xFF00000F;        // the face of a button
inline constexpr uint32_t kButtonTextColour = 0xFF000012;  // the text of a button

// The face colour of a board or thumbnail when no scheme picture covers it: 0x006699, brown.
inline constexpr uint32_t kDefaultBoardColour = 26265;

// A colour value as a QColor. Palette roles other than the ones above read as the button face.
QColor WinColour(uint32_t value);

}  // namespace zendra
