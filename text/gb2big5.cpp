#include "text/gb2big5.h"

#include "text/gb_big5_tables.h"

namespace zendra {
namespace {

using namespace gb_big5;

// The byte rule shared by both directions; `table` has one row per lead byte from `leadFirst`.
template <unsigned leadFirst, unsigned leadLast>
std::string Convert(std::string_view in, const uint16_t (*table)[kCells]) {
  std::string out(in);
  if (in.size() < 2) return out;
  for (std::size_t i = 0; i + 1 < in.size(); ++i) {
    const unsigned x = static_cast<unsigned char>(in[i]);
    const unsigned y = static_cast<unsigned char>(in[i + 1]);
    if (x < leadFirst || x > leadLast || y < kTrailFirst || y > kTrailLast) continue;
    const uint16_t cell = table[x - leadFirst][y - kTrailFirst];
    out[i] = static_cast<char>(cell >> 8);
    out[i + 1] = static_cast<char>(cell & 0xFF);
    ++i;
  }
  return out;
}

}  // namespace

std::string TGB_Big5::GBToBig5(std::string_view gb) {
  return Convert<kGbLeadFirst, kGbLeadLast>(gb, kGbToBig5);
}

std::string TGB_Big5::Big5ToGB(std::string_view big5) {
  return Convert<kBig5LeadFirst, kBig5LeadLast>(big5, kBig5ToGb);
}

void TGB2Big5::SetsGB(std::string_view gb) {
  if (gb == worker_.sGB) return;
  worker_.sGB = gb;
  worker_.sTW = TGB_Big5::GBToBig5(gb);
  ++worker_.conversions;
}

void TGB2Big5::SetsTW(std::string_view big5) {
  if (big5 == worker_.sTW) return;
  worker_.sTW = big5;
  worker_.sGB = TGB_Big5::Big5ToGB(big5);
  ++worker_.conversions;
}

}  // namespace zendra
