// The GB-to-Big5 converter and the decoding of GB and Big5 text: the cells the program's texts
// rely on, the byte rule at its edges, the cached pair of the component, and both tables over
// every character they hold.
#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <random>
#include <string>

#include "text/code_page.h"
#include "text/gb2big5.h"
#include "text/gb_big5_tables.h"

namespace zendra {
namespace {

using namespace gb_big5;

std::string Bytes(uint16_t code) {
  return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

uint16_t Code(const std::string& two) {
  return static_cast<uint16_t>((static_cast<unsigned char>(two[0]) << 8) |
                               static_cast<unsigned char>(two[1]));
}

struct ConversionCase {
  const char* what;
  std::string in;
  std::string out;
};

TEST(GbToBig5, TellingCellsAndTheTextsTheyMake) {
  const ConversionCase cases[] = {
      // 题号: the traditional forms of both characters, then the colon and space unchanged.
      {"problem number", "\xCC\xE2\xBA\xC5: ", "\xC3\x44\xB8\xB9: "},
      // 失败次数: 失 and 次 are the same in both scripts, 败 and 数 change.
      {"failure count", "\xCA\xA7\xB0\xDC\xB4\xCE\xCA\xFD: ", "\xA5\xA2\xB1\xD1\xA6\xB8\xBC\xC6: "},
      {"same form in both scripts", "\xCA\xA4", "\xD0\x60"},
      {"ideographic space", "\xA1\xA1", "  "},
      {"extension character without a Big5 counterpart", "\x81\x40", "\xA1\x40"},
      {"ASCII and digits", "Data error(2): 1001", "Data error(2): 1001"},
  };
  for (const ConversionCase& c : cases) EXPECT_EQ(TGB_Big5::GBToBig5(c.in), c.out) << c.what;
}

TEST(Big5ToGb, TellingCellsKeepTheTraditionalCharacter) {
  const ConversionCase cases[] = {
      {"題 and 號 in GBK", "\xC3\x44\xB8\xB9", "\xEE\x7D\xCC\x96"},
      {"ASCII", "No. 12", "No. 12"},
  };
  for (const ConversionCase& c : cases) EXPECT_EQ(TGB_Big5::Big5ToGB(c.in), c.out) << c.what;
}

TEST(GbBig5ByteRule, EdgesOfTheRule) {
  const ConversionCase gbToBig5[] = {
      {"empty", "", ""},
      {"one lead byte alone", "\xCC", "\xCC"},
      {"one ASCII byte", "A", "A"},
      {"a lone lead byte at the end is kept", "\xCC\xE2\xCC", "\xC3\x44\xCC"},
      {"lead before a byte below 0x40: copied alone, the next read afresh", "\xCC\x31\xCC\xE2",
       "\xCC\x31\xC3\x44"},
      {"lead before 0xFF: both copied", "\xCC\xFF", "\xCC\xFF"},
      {"0x80 is no lead byte", "\x80\xCC\xE2", "\x80\xC3\x44"},
      {"0xFF is no lead byte", "\xFF\x81\x40", "\xFF\xA1\x40"},
      {"trail byte 0x40 is consulted", "\x81\x40", "\xA1\x40"},
  };
  for (const ConversionCase& c : gbToBig5) EXPECT_EQ(TGB_Big5::GBToBig5(c.in), c.out) << c.what;
  // The trail byte of a pair is never read as a lead byte, even when it could be one.
  EXPECT_EQ(TGB_Big5::GBToBig5("\x81\xCC\xE2"), TGB_Big5::GBToBig5("\x81\xCC") + "\xE2");
  const ConversionCase big5ToGb[] = {
      {"bytes below 0xA1 are copied", "\x81\x40\xA0\xA1", "\x81\x40\xA0\xA1"},
      {"0xFA and up are no lead bytes", "\xFA\x40\xFE\xFE", "\xFA\x40\xFE\xFE"},
      {"a lone lead byte at the end is kept", "\xC3\x44\xC3", "\xEE\x7D\xC3"},
  };
  for (const ConversionCase& c : big5ToGb) EXPECT_EQ(TGB_Big5::Big5ToGB(c.in), c.out) << c.what;
}

TEST(GbBig5ByteRule, ResultIsAsLongAsItsInput) {
  std::mt19937 random(15);
  for (int n = 0; n < 2000; ++n) {
    std::string in(random() % 40, '\0');
    for (char& c : in) c = static_cast<char>(random() & 0xFF);
    EXPECT_EQ(TGB_Big5::GBToBig5(in).size(), in.size());
    EXPECT_EQ(TGB_Big5::Big5ToGB(in).size(), in.size());
  }
}

TEST(TGB2Big5, SettingTheCachedTextAgainConvertsNothing) {
  TGB2Big5 converter;
  const std::string number = "\xCC\xE2\xBA\xC5: ";
  converter.SetsGB(number);
  converter.SetsGB(number);
  EXPECT_EQ(converter.Conversions(), 1);
  EXPECT_EQ(converter.sGB(), number);
  EXPECT_EQ(converter.sTW(), "\xC3\x44\xB8\xB9: ");
  // Setting the Big5 text it already holds changes nothing either.
  converter.SetsTW("\xC3\x44\xB8\xB9: ");
  EXPECT_EQ(converter.Conversions(), 1);
  EXPECT_EQ(converter.sGB(), number);
  // A new Big5 text brings its GB form, which keeps the traditional characters.
  converter.SetsTW("\xC3\x44");
  EXPECT_EQ(converter.Conversions(), 2);
  EXPECT_EQ(converter.sGB(), "\xEE\x7D");
  // The direct conversion leaves the cache alone.
  EXPECT_EQ(converter.GB2Big5("\xBA\xC5"), "\xB8\xB9");
  EXPECT_EQ(converter.sTW(), "\xC3\x44");
  EXPECT_EQ(converter.Conversions(), 2);
  // An empty text is a text like any other.
  converter.SetsGB("");
  EXPECT_EQ(converter.sTW(), "");
  EXPECT_EQ(converter.Conversions(), 3);
}

bool IsFiller(uint16_t cell) { return cell == 0x2020 || cell == 0xA140; }

// Every GBK character with a Big5 counterpart: going to Big5 and back to GB gives the GBK code of
// the very character the Big5 code names, and a character Big5 writes as GB does (no simplified
// form) comes back to its own code.
TEST(GbBig5Tables, FullRoundTripOverEveryGbkCharacterWithABig5Counterpart) {
  int characters = 0, counterparts = 0, changed = 0;
  for (unsigned lead = kGbLeadFirst; lead <= kGbLeadLast; ++lead) {
    for (unsigned trail = kTrailFirst; trail <= kTrailLast; ++trail) {
      const auto gb = static_cast<uint16_t>(lead << 8 | trail);
      if (kGbkUnicode[lead - kGbLeadFirst][trail - kTrailFirst] == 0) continue;
      ++characters;
      const std::string big5 = TGB_Big5::GBToBig5(Bytes(gb));
      if (IsFiller(Code(big5))) continue;
      ++counterparts;
      SCOPED_TRACE(testing::Message() << std::hex << "GB " << gb << " Big5 " << Code(big5));
      const std::string back = TGB_Big5::Big5ToGB(big5);
      ASSERT_FALSE(IsFiller(Code(back)));
      EXPECT_EQ(Big5ToUtf8(big5), GbkToUtf8(back));
      if (Big5ToUtf8(big5) == GbkToUtf8(Bytes(gb))) {
        EXPECT_EQ(back, Bytes(gb));
      } else {
        ++changed;
      }
    }
  }
  std::cout << "GBK characters: " << characters << ", with a Big5 counterpart: " << counterparts
            << " (" << changed << " come back as the GBK code of their traditional form)\n";
  EXPECT_GT(counterparts, 13000);  // Big5 holds about 13,000 characters
  EXPECT_GT(changed, 2000);        // simplified forms really change
}

// Every Big5 character comes back from GB as itself: GBK holds every traditional form Big5 has,
// and the Big5-to-GB table keeps the character (but for the four marks GBK lacks).
TEST(GbBig5Tables, EveryBig5CharacterKeepsItselfThroughGb) {
  int characters = 0, same = 0;
  for (unsigned lead = kBig5LeadFirst; lead <= kBig5LeadLast; ++lead) {
    for (unsigned trail = kTrailFirst; trail <= kTrailLast; ++trail) {
      if (kBig5Unicode[lead - kBig5LeadFirst][trail - kTrailFirst] == 0) continue;
      ++characters;
      const auto big5 = static_cast<uint16_t>(lead << 8 | trail);
      const std::string gb = TGB_Big5::Big5ToGB(Bytes(big5));
      if (GbkToUtf8(gb) == Big5ToUtf8(Bytes(big5))) ++same;
    }
  }
  EXPECT_GT(characters, 13000);
  EXPECT_GE(same, characters - 5);  // the near equivalents, and the euro sign GBK lacks
}

struct DecodeCase {
  const char* what;
  std::string in;
  std::string utf8;
};

TEST(CodePage, GbkAndBig5DecodeToUnicode) {
  const DecodeCase gbk[] = {
      {"problem number", "\xCC\xE2\xBA\xC5: 7", "题号: 7"},
      {"extension character", "\x81\x40", "丂"},
      {"ideographic space", "\xA1\xA1", "\u3000"},
      {"lone lead byte at the end", "A\xCC", "A\uFFFD"},
      {"lead before an ASCII byte out of the trail range", "\xCC\x31",
       "\uFFFD"
       "1"},
      {"pair naming no character keeps its ASCII trail", "\xA2\x41", "\uFFFDA"},
      {"0x80 and 0xFF", "\x80\xFF", "\uFFFD\uFFFD"},
      {"empty", "", ""},
  };
  for (const DecodeCase& c : gbk) EXPECT_EQ(GbkToUtf8(c.in), c.utf8) << c.what;
  const DecodeCase big5[] = {
      {"traditional forms", "\xC3\x44\xB8\xB9: 7", "題號: 7"},
      {"ideographic space filler", "\xA1\x40", "\u3000"},
      {"lead out of range", "\xFA\x40", "\uFFFD@"},
  };
  for (const DecodeCase& c : big5) EXPECT_EQ(Big5ToUtf8(c.in), c.utf8) << c.what;
  // The whole road of a text: GB, Big5, the screen.
  EXPECT_EQ(Big5ToUtf8(TGB_Big5::GBToBig5("\xCA\xA7\xB0\xDC\xB4\xCE\xCA\xFD: 3")), "失敗次數: 3");
}

}  // namespace
}  // namespace zendra
