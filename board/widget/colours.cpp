#include "board/widget/colours.h"

#include <QGuiApplication>
#include <QPalette>

namespace zendra {

QColor WinColour(uint32_t value) {
  if ((value & 0xFF000000u) != 0) {
    const QPalette palette = QGuiApplication::palette();
    // The low byte names the role, whatever the top byte holds.
    switch (value & 0xFFu) {
      case kWindowColour & 0xFFu:
        return palette.color(QPalette::Base);
      case kWindowTextColour & 0xFFu:
        return palette.color(QPalette::Text);
      case kHighlightColour & 0xFFu:
        return palette.color(QPalette::Highlight);
      case kButtonTextColour & 0xFFu:
        return palette.color(QPalette::ButtonText);
      default:
        return palette.color(QPalette::Button);
    }
  }
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

}  // namespace zendra
