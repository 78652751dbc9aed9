// The GB-to-Big5 converter: Simplified Chinese text stored in GB bytes (GBK) turned, character
// by character, into Big5 bytes of the traditional forms, and Big5 back to GB. No Qt.
//
// Both directions follow one byte rule, each with its own lead-byte range and table: going
// through the text from its first byte, a lead byte (GB 0x81..0xFE, Big5 0xA1..0xF9) followed by
// a byte 0x40..0xFE is replaced by the two bytes of its table cell; any other byte, and the last
// byte of the text, is copied as it is. English text and digits therefore pass unchanged and a
// result is always exactly as long as its input.
#pragma once

#include <string>
#include <string_view>

namespace zendra {

// The worker: the two conversions over the generated tables, and the two cached texts.
class TGB_Big5 {
 public:
  static std::string GBToBig5(std::string_view gb);
  static std::string Big5ToGB(std::string_view big5);

  std::string sGB;  // the cached GB text
  std::string sTW;  // the cached Big5 text
  int conversions = 0;
};

// The converter component: the cached pair of texts as two properties, and the direct
// conversion the interface uses.
class TGB2Big5 {
 public:
  const std::string& sGB() const { return worker_.sGB; }
  // A text other than the cached GB text becomes the GB text, its Big5 form the Big5 text; the
  // cached text again changes nothing and converts nothing.
  void SetsGB(std::string_view gb);
  const std::string& sTW() const { return worker_.sTW; }
  // The same the other way: a new Big5 text, and its GB form as the GB text.
  void SetsTW(std::string_view big5);

  // The Big5 form of `gb`, without touching the cache.
  std::string GB2Big5(std::string_view gb) const { return TGB_Big5::GBToBig5(gb); }

  // How many texts the two properties have converted so far.
  int Conversions() const { return worker_.conversions; }

 private:
  TGB_Big5 worker_;
};

}  // namespace zendra
