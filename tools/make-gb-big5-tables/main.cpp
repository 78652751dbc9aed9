// make-gb-big5-tables: writes text/gb_big5_tables.cpp, the GB-to-Big5 and Big5-to-GB
// conversion tables and the Unicode value of every GBK and Big5 code, from real character data:
// glibc's iconv (GBK, BIG5) and OpenCC's simplified-to-traditional character dictionaries.
//
//   make-gb-big5-tables OUTPUT.cpp
//
// GB to Big5, for every lead byte 0x81..0xFE and trail byte 0x40..0xFE:
//   1. decode the two bytes as GBK; a code that is no character gets two ASCII spaces;
//   2. map the character alone (never a word) to traditional: OpenCC's Taiwan forms (s2tw),
//      else its standard traditional forms (s2t), else the character itself, taking the first
//      of these that Big5 can encode;
//   3. a character Big5 cannot encode in any of these forms gets the Big5 ideographic space
//      0xA1 0x40, a blank as wide as the character it stands for.
// Big5 to GB, for every lead byte 0xA1..0xF9: the GBK code of the same character (GBK holds the
// traditional forms); a character GBK lacks gets its near equivalent from kNearEquivalents, or
// two ASCII spaces.
// kOverrides then replaces single cells where the program's texts want another cell than the
// character data gives; the generator checks every cell of kTellingCells after that and fails
// when one does not hold.
#include <iconv.h>
#include <opencc.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kGbLeadFirst = 0x81, kGbLeadLast = 0xFE;
constexpr int kBig5LeadFirst = 0xA1, kBig5LeadLast = 0xF9;
constexpr int kTrailFirst = 0x40, kCells = 192;  // trail bytes 0x40..0xFF
constexpr uint16_t kSpaces = 0x2020;             // filler: two ASCII spaces
constexpr uint16_t kBig5IdeographicSpace = 0xA140;

// Cells the data gives otherwise: GB code -> Big5 code, and why.
struct Override {
  uint16_t gb;
  uint16_t big5;
  const char* why;
};
constexpr Override kOverrides[] = {
    {0xA1A1, kSpaces, "the ideographic space: two ASCII spaces (the data gives A1 40)"},
    {0xCAA4, 0xD060, "\u80dc stays \u80dc, a character of both scripts (OpenCC gives \u52dd)"},
};

// Cells the conversion must give: direction, code, expected cell.
struct TellingCell {
  bool gbToBig5;
  uint16_t from;
  uint16_t to;
};
constexpr TellingCell kTellingCells[] = {
    {true, 0xCCE2, 0xC344},  {true, 0xBAC5, 0xB8B9},  {true, 0xCAA7, 0xA5A2},
    {true, 0xB0DC, 0xB1D1},  {true, 0xB4CE, 0xA6B8},  {true, 0xCAFD, 0xBCC6},
    {true, 0xCAA4, 0xD060},  {true, 0xA1A1, 0x2020},  {true, 0x8140, 0xA140},
    {false, 0xC344, 0xEE7D}, {false, 0xB8B9, 0xCC96},
};

// Big5 punctuation GBK has no code for, by Unicode value -> the near equivalent GBK has.
const std::map<char32_t, char32_t> kNearEquivalents = {
    {0x00AF, 0xFFE3},  // macron -> fullwidth macron
    {0x02CD, 0xFF3F},  // modifier letter low macron -> fullwidth low line
    {0x2027, 0x00B7},  // hyphenation point -> middle dot
    {0x2574, 0x2500},  // box drawings light left -> light horizontal
};

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      std::cerr << "iconv cannot convert " << from << " to " << to << "\n";
      std::exit(1);
    }
  }
  ~Iconv() { iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // The whole of `in` converted, or nothing when any of it does not convert.
  std::optional<std::string> operator()(const std::string& in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string src = in, out(in.size() * 8 + 16, '\0');
    char* s = src.data();
    char* d = out.data();
    std::size_t sLeft = src.size(), dLeft = out.size();
    if (iconv(cd_, &s, &sLeft, &d, &dLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    if (iconv(cd_, nullptr, nullptr, &d, &dLeft) == static_cast<std::size_t>(-1))
      return std::nullopt;
    out.resize(out.size() - dLeft);
    return out;
  }

 private:
  iconv_t cd_;
};

// The code point of `utf8` when it is exactly one character outside the private use area
// (which iconv gives for codes that name no standard character).
std::optional<char32_t> OneCharacter(const std::string& utf8) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
  if (utf8.empty()) return std::nullopt;
  std::size_t n = b(0) < 0x80 ? 1 : b(0) < 0xE0 ? 2 : b(0) < 0xF0 ? 3 : 4;
  if (utf8.size() != n) return std::nullopt;
  if (n == 1) return b(0);
  char32_t c = b(0) & (0xFF >> (n + 1));
  for (std::size_t i = 1; i < n; ++i) c = (c << 6) | (b(i) & 0x3F);
  if ((c >= 0xE000 && c <= 0xF8FF) || c >= 0xF0000) return std::nullopt;
  return c;
}

std::string Utf8(char32_t c) {
  std::string s;
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (c >> 18));
    s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
  return s;
}

std::string Bytes(uint16_t code) {
  return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

// The two-byte code `bytes` holds, if it is one.
std::optional<uint16_t> TwoBytes(const std::optional<std::string>& bytes) {
  if (!bytes || bytes->size() != 2) return std::nullopt;
  return static_cast<uint16_t>((static_cast<unsigned char>((*bytes)[0]) << 8) |
                               static_cast<unsigned char>((*bytes)[1]));
}

class OpenCc {
 public:
  explicit OpenCc(const char* config) : cc_(opencc_open(config)) {
    if (cc_ == reinterpret_cast<opencc_t>(-1)) {
      std::cerr << "OpenCC cannot open " << config << " (package libopencc-data)\n";
      std::exit(1);
    }
  }
  ~OpenCc() { opencc_close(cc_); }
  OpenCc(const OpenCc&) = delete;
  OpenCc& operator=(const OpenCc&) = delete;

  std::string operator()(const std::string& utf8) {
    char* out = opencc_convert_utf8(cc_, utf8.data(), utf8.size());
    if (out == nullptr) return utf8;
    std::string s(out);
    opencc_convert_utf8_free(out);
    return s;
  }

 private:
  opencc_t cc_;
};

using Table = std::vector<std::vector<uint16_t>>;

void WriteTable(std::ostream& out, const char* name, const Table& table, int firstLead,
                const char* what) {
  out << "// " << what << "\nconst uint16_t " << name << "[" << table.size() << "][" << kCells
      << "] = {\n";
  char buf[16];
  for (std::size_t row = 0; row < table.size(); ++row) {
    std::snprintf(buf, sizeof buf, "%02X", firstLead + static_cast<int>(row));
    out << "    {  // lead 0x" << buf << "\n";
    for (int cell = 0; cell < kCells; ++cell) {
      if (cell % 16 == 0) out << "        ";
      std::snprintf(buf, sizeof buf, "0x%04X,", table[row][static_cast<std::size_t>(cell)]);
      out << buf << (cell % 16 == 15 ? "\n" : "");
    }
    out << "    },\n";
  }
  out << "};\n\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make-gb-big5-tables OUTPUT.cpp\n";
    return 2;
  }
  Iconv gbkToUtf8("UTF-8", "GBK"), big5ToUtf8("UTF-8", "BIG5");
  Iconv utf8ToBig5("BIG5", "UTF-8"), utf8ToGbk("GBK", "UTF-8");
  OpenCc s2tw("s2tw.json"), s2t("s2t.json");

  const auto gbRows = static_cast<std::size_t>(kGbLeadLast - kGbLeadFirst + 1);
  const auto big5Rows = static_cast<std::size_t>(kBig5LeadLast - kBig5LeadFirst + 1);
  Table gbToBig5(gbRows, std::vector<uint16_t>(kCells, kSpaces));
  Table big5ToGb(big5Rows, std::vector<uint16_t>(kCells, kSpaces));
  Table gbkUnicode(gbRows, std::vector<uint16_t>(kCells, 0));
  Table big5Unicode(big5Rows, std::vector<uint16_t>(kCells, 0));
  int gbCharacters = 0, gbMapped = 0, gbChanged = 0, gbFillers = 0;
  int big5Characters = 0, big5Mapped = 0, big5Near = 0;
  std::vector<std::string> nearUsed;

  for (std::size_t row = 0; row < gbRows; ++row) {
    for (int cell = 0; cell < kCells - 1; ++cell) {  // the cell of trail 0xFF stays a filler
      const auto code = static_cast<uint16_t>(((kGbLeadFirst + row) << 8) | (kTrailFirst + cell));
      const auto utf8 = gbkToUtf8(Bytes(code));
      const auto c = utf8 ? OneCharacter(*utf8) : std::nullopt;
      if (!c || *c > 0xFFFF) continue;
      ++gbCharacters;
      gbkUnicode[row][static_cast<std::size_t>(cell)] = static_cast<uint16_t>(*c);
      std::optional<uint16_t> big5;
      for (const std::string& form : {s2tw(*utf8), s2t(*utf8), *utf8}) {
        if (OneCharacter(form) && (big5 = TwoBytes(utf8ToBig5(form)))) break;
      }
      gbToBig5[row][static_cast<std::size_t>(cell)] = big5.value_or(kBig5IdeographicSpace);
    }
  }
  for (std::size_t row = 0; row < big5Rows; ++row) {
    for (int cell = 0; cell < kCells - 1; ++cell) {
      const auto code = static_cast<uint16_t>(((kBig5LeadFirst + row) << 8) | (kTrailFirst + cell));
      const auto utf8 = big5ToUtf8(Bytes(code));
      const auto c = utf8 ? OneCharacter(*utf8) : std::nullopt;
      if (!c || *c > 0xFFFF) continue;
      ++big5Characters;
      big5Unicode[row][static_cast<std::size_t>(cell)] = static_cast<uint16_t>(*c);
      std::optional<uint16_t> gb = TwoBytes(utf8ToGbk(*utf8));
      if (!gb) {
        const auto near = kNearEquivalents.find(*c);
        if (near != kNearEquivalents.end()) {
          gb = TwoBytes(utf8ToGbk(Utf8(near->second)));
          if (gb) {
            ++big5Near;
            nearUsed.push_back(*utf8 + " -> " + Utf8(near->second));
          }
        }
      }
      if (gb) {
        ++big5Mapped;
        big5ToGb[row][static_cast<std::size_t>(cell)] = *gb;
      } else {
        std::cerr << "no GBK counterpart for Big5 " << std::hex << code << std::dec << " " << *utf8
                  << "\n";
      }
    }
  }

  for (const Override& o : kOverrides) {
    gbToBig5[static_cast<std::size_t>((o.gb >> 8) - kGbLeadFirst)]
            [static_cast<std::size_t>((o.gb & 0xFF) - kTrailFirst)] = o.big5;
  }
  // The figures of the note, over the final table.
  for (std::size_t row = 0; row < gbRows; ++row) {
    for (std::size_t cell = 0; cell + 1 < kCells; ++cell) {
      if (gbkUnicode[row][cell] == 0) continue;
      const uint16_t big5 = gbToBig5[row][cell];
      if (big5 == kSpaces || big5 == kBig5IdeographicSpace) {
        ++gbFillers;
        continue;
      }
      ++gbMapped;
      const auto gb = static_cast<uint16_t>(((kGbLeadFirst + row) << 8) | (kTrailFirst + cell));
      if (big5ToUtf8(Bytes(big5)) != gbkToUtf8(Bytes(gb))) ++gbChanged;
    }
  }
  bool telling = true;
  for (const TellingCell& t : kTellingCells) {
    const Table& table = t.gbToBig5 ? gbToBig5 : big5ToGb;
    const int first = t.gbToBig5 ? kGbLeadFirst : kBig5LeadFirst;
    const uint16_t got = table[static_cast<std::size_t>((t.from >> 8) - first)]
                              [static_cast<std::size_t>((t.from & 0xFF) - kTrailFirst)];
    if (got != t.to) {
      std::cerr << std::hex << "telling cell " << t.from << " gives " << got << ", not " << t.to
                << std::dec << "\n";
      telling = false;
    }
  }
  if (!telling) return 1;

  std::ostringstream out;
  out << "// Generated by tools/make-gb-big5-tables from glibc iconv (GBK, BIG5) and OpenCC's\n"
         "// simplified-to-traditional character data (s2tw, s2t); do not edit, run the "
         "generator.\n//\n";
  out << "// GBK codes with a character: " << gbCharacters
      << "; with a Big5 counterpart: " << gbMapped << "\n// (" << gbChanged
      << " of them a different, traditional character); "
      << "a filler for the other " << gbFillers << ".\n";
  out << "// Big5 codes with a character: " << big5Characters
      << "; with a GBK counterpart: " << big5Mapped << "\n// (" << big5Near
      << " by near equivalent";
  for (const std::string& n : nearUsed) out << ", " << n;
  out << ").\n// Cells set against the data:\n";
  for (const Override& o : kOverrides) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "//   GB %02X %02X -> Big5 %02X %02X: ", o.gb >> 8, o.gb & 0xFF,
                  o.big5 >> 8, o.big5 & 0xFF);
    out << buf << o.why << "\n";
  }
  out << "// clang-format off\n#include \"text/gb_big5_tables.h\"\n\nnamespace zendra::gb_big5 "
         "{\n\n";
  WriteTable(out, "kGbToBig5", gbToBig5, kGbLeadFirst,
             "GB to Big5: row lead - 0x81, cell trail - 0x40; the Big5 code, high byte first.");
  WriteTable(out, "kBig5ToGb", big5ToGb, kBig5LeadFirst,
             "Big5 to GB: row lead - 0xA1, cell trail - 0x40; the GBK code, high byte first.");
  WriteTable(out, "kGbkUnicode", gbkUnicode, kGbLeadFirst,
             "The Unicode value of each GBK code (0: no character).");
  WriteTable(out, "kBig5Unicode", big5Unicode, kBig5LeadFirst,
             "The Unicode value of each Big5 code (0: no character).");
  out << "}  // namespace zendra::gb_big5\n";

  std::ofstream file(argv[1], std::ios::binary);
  file << out.str();
  if (!file) {
    std::cerr << "cannot write " << argv[1] << "\n";
    return 1;
  }
  std::cerr << "GBK characters " << gbCharacters << ", with Big5 counterpart " << gbMapped
            << ", fillers " << gbFillers << "; Big5 characters " << big5Characters
            << ", with GBK counterpart " << big5Mapped << " (" << big5Near << " near)\n";
  return 0;
}
