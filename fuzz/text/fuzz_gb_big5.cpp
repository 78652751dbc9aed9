// GB and Big5 bytes: any input converts to a text exactly as long, whose bytes below the
// direction's lead range are the input's own, and decodes to valid UTF-8; the converter's cached
// pair follows the last text set.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/code_page.h"
#include "text/gb2big5.h"

namespace {

// True when `s` is well-formed UTF-8 of the Basic Multilingual Plane without surrogates.
bool ValidUtf8(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    if (b < 0x80)
      n = 1;
    else if (b >= 0xC2 && b < 0xE0)
      n = 2;
    else if (b >= 0xE0 && b < 0xF0)
      n = 3;
    else
      return false;
    if (i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    if (n == 3) {
      const unsigned c = ((b & 0x0Fu) << 12) |
                         ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6) |
                         (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
      if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF)) return false;
    }
    i += n;
  }
  return true;
}

// The result is as long as the input, and every byte the rule copies (any byte that is not a
// lead byte followed by a trail byte 0x40..0xFE, nor such a trail byte) is at its place.
void CheckConversion(std::string_view in, const std::string& out, unsigned leadFirst,
                     unsigned leadLast) {
  if (out.size() != in.size()) __builtin_trap();
  for (std::size_t i = 0; i < in.size(); ++i) {
    const auto x = static_cast<unsigned char>(in[i]);
    const bool pair = i + 1 < in.size() && x >= leadFirst && x <= leadLast &&
                      static_cast<unsigned char>(in[i + 1]) >= 0x40 &&
                      static_cast<unsigned char>(in[i + 1]) <= 0xFE;
    if (pair) {
      ++i;
      continue;
    }
    if (out[i] != in[i]) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string big5 = zendra::TGB_Big5::GBToBig5(bytes);
  CheckConversion(bytes, big5, 0x81, 0xFE);
  const std::string gb = zendra::TGB_Big5::Big5ToGB(bytes);
  CheckConversion(bytes, gb, 0xA1, 0xF9);
  for (const std::string& text : {zendra::GbkToUtf8(bytes), zendra::Big5ToUtf8(bytes),
                                  zendra::Big5ToUtf8(big5), zendra::GbkToUtf8(gb)}) {
    if (!ValidUtf8(text)) __builtin_trap();
  }
  zendra::TGB2Big5 converter;
  converter.SetsGB(bytes);
  if (converter.sGB() != bytes || converter.sTW() != big5) __builtin_trap();
  converter.SetsTW(bytes);
  if (converter.sTW() != bytes || converter.sGB() != gb) __builtin_trap();
  return 0;
}
