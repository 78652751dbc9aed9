#include "board/widget/board_look.h"

namespace zendra {

LookChange BoardLook::SetBoardColor(uint32_t v) {
  if (v == 0 || v == 0xFFFFFF || v == boardColor) return LookChange::kNone;
  boardColor = v;
  return LookChange::kRepaint;
}

LookChange BoardLook::SetColorNum(int v) {
  if (v < 0 || v > 6 || v == colorNum) return LookChange::kNone;
  const bool stones = (v < 2) != (colorNum < 2);
  colorNum = v;
  return stones ? LookChange::kStones : LookChange::kRepaint;
}

LookChange BoardLook::SetPal256(bool v) {
  pal256 = v;
  if (!v || colorNum != 1) return LookChange::kNone;
  dim3 = false;
  colorNum = 6;
  boardColor = kButtonFace;
  painting = false;
  return LookChange::kStones;
}

}  // namespace zendra
