#include "text/code_page.h"

#include "text/gb_big5_tables.h"

namespace zendra {
namespace {

using namespace gb_big5;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {  // the tables hold only the Basic Multilingual Plane
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

constexpr char32_t kReplacement = 0xFFFD;

template <unsigned leadFirst, unsigned leadLast>
std::string Decode(std::string_view in, const uint16_t (*unicode)[kCells]) {
  std::string out;
  out.reserve(in.size() * 3 / 2);
  for (std::size_t i = 0; i < in.size(); ++i) {
    const unsigned x = static_cast<unsigned char>(in[i]);
    if (x < 0x80) {
      out += static_cast<char>(x);
      continue;
    }
    const unsigned y = i + 1 < in.size() ? static_cast<unsigned char>(in[i + 1]) : 0u;
    if (x < leadFirst || x > leadLast || y < kTrailFirst || y > kTrailLast) {
      AppendUtf8(out, kReplacement);
      continue;
    }
    const uint16_t c = unicode[x - leadFirst][y - kTrailFirst];
    AppendUtf8(out, c != 0 ? c : kReplacement);
    if (c != 0 || y >= 0x80) ++i;  // an ASCII byte after a lead byte is never swallowed
  }
  return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  return Decode<kGbLeadFirst, kGbLeadLast>(gbk, kGbkUnicode);
}

std::string Big5ToUtf8(std::string_view big5) {
  return Decode<kBig5LeadFirst, kBig5LeadLast>(big5, kBig5Unicode);
}

}  // namespace zendra
