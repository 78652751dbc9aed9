// The commands' icons: one set drawn in code in one style (dark strokes on a 24 x 24 grid, a
// single accent colour), each meaning its command. An icon paints itself at the size and mode
// Qt asks for the first time it is drawn, so making them reads nothing and costs nothing on the
// way to the first window.
#pragma once

#include <QIcon>

namespace zendra {

enum class CommandIcon {
  kOpen,           // a folder
  kIndex,          // a grid of small boards
  kSolveIt,        // a board with a stone being placed
  kFirstProblem,   // a bar and one triangle pointing left
  kPriorProblem,   // one triangle pointing left
  kNextProblem,    // one triangle pointing right
  kLastProblem,    // one triangle pointing right and a bar
  kFirstPage,      // a bar and two triangles pointing left
  kPriorPage,      // two triangles pointing left
  kNextPage,       // two triangles pointing right
  kLastPage,       // two triangles pointing right and a bar
  kSolveAgain,     // a circular arrow
  kBack,           // an arrow bending back to the left
  kNextVariation,  // an arrow that forks
  kResult,         // a question mark in a circle
  kHint,           // a light bulb
  kTry,            // a magnifying glass over a stone
  kStopTry,        // a stop square
  kZoomIn,         // a magnifying glass with a plus
  kZoomOut,        // a magnifying glass with a minus
  kSoundOn,        // a speaker with sound waves
  kSoundOff,       // a speaker struck through
};

// The icon of `which`; its pictures are painted when first wanted.
QIcon MakeCommandIcon(CommandIcon which);

}  // namespace zendra
