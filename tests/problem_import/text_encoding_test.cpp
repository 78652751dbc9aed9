// Problem files decoded to UTF-8: the charset CA names, else UTF-8 when the bytes are, else
// GB18030; what was assumed is said. The GB and Big5 fixtures are made here from UTF-8 text.
#include "problem_import/text_encoding.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "problem_import/problem_import.h"

namespace zendra {
namespace {

// `utf8` in the charset `to` (through iconv, as the files were written by their editors).
std::string Encode(const std::string& utf8, const char* to) {
  iconv_t cd = iconv_open(to, "UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << to;
  std::string out(utf8.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* dst = out.data();
  std::size_t outLeft = out.size();
  EXPECT_NE(iconv(cd, &in, &inLeft, &dst, &outLeft), static_cast<std::size_t>(-1)) << to;
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

TEST(TextEncoding, TheDeclaredCharsetElseUtf8ElseGb18030) {
  const std::string chinese = "(;C[黑先活]AB[aa];B[bb]C[正解，白死])";
  const std::string traditional = "(;C[黑先活]AB[aa];B[bb]C[正解，白死了嗎])";
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;  // expected UTF-8
    const char* encoding;
    const char* guess;
  };
  const std::vector<Case> cases = {
      {"plain ASCII whatever CA says", "(;CA[big5]C[Correct])", "(;CA[big5]C[Correct])", "ASCII",
       ""},
      {"UTF-8 as declared", "(;CA[UTF-8]C[正解])", "(;CA[UTF-8]C[正解])", "UTF-8", ""},
      {"UTF-8 without CA is a guess", "(;C[正解])", "(;C[正解])", "UTF-8", "no CA, read as UTF-8"},
      {"GB bytes without CA", Encode(chinese, "GB18030"), chinese, "GB18030",
       "no CA, not valid UTF-8: read as GB18030"},
      {"CA[gb2312] read as GB18030", "(;CA[gb2312]" + Encode(chinese, "GB2312").substr(2),
       "(;CA[gb2312]" + chinese.substr(2), "GB18030", ""},
      {"CA[GBK]", "(;CA[GBK]" + Encode(chinese, "GBK").substr(2), "(;CA[GBK]" + chinese.substr(2),
       "GB18030", ""},
      {"CA[Big5]", "(;CA[Big5]" + Encode(traditional, "BIG5").substr(2),
       "(;CA[Big5]" + traditional.substr(2), "CP950", ""},
      {"CA[UTF-8] on GB bytes", "(;CA[UTF-8]" + Encode(chinese, "GB18030").substr(2),
       "(;CA[UTF-8]" + chinese.substr(2), "GB18030",
       "CA[UTF-8] but not valid UTF-8: read as GB18030"},
      {"CA[big5] on UTF-8 bytes", "(;CA[big5]C[正解，白死])", "(;CA[big5]C[正解，白死])", "UTF-8",
       "CA[big5] does not fit the bytes, read as UTF-8"},
      {"an unknown charset", "(;CA[klingon]C[é])", "(;CA[klingon]C[é])", "UTF-8",
       "CA[klingon] is not a known charset, read as UTF-8"},
      // 乚 is 81 5D in GB18030: its second byte is ']', which ends an SGF value when the bytes
      // are read before they are decoded.
      {"a GB character whose second byte is ']'", Encode("(;C[乚乗];B[aa])", "GB18030"),
       "(;C[乚乗];B[aa])", "GB18030", "no CA, not valid UTF-8: read as GB18030"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DecodedText d = DecodeSgfText(c.bytes);
    EXPECT_EQ(d.text, c.text);
    EXPECT_EQ(d.encoding, c.encoding);
    EXPECT_EQ(d.guess, c.guess);
    EXPECT_EQ(d.replaced, 0);
    EXPECT_TRUE(IsValidUtf8(d.text));
  }
}

TEST(TextEncoding, BytesThatFitNothingBecomeReplacementCharacters) {
  // 0xFF starts no sequence in UTF-8 or GB18030.
  const DecodedText d =
      DecodeSgfText(std::string("(;C[a\xFF"
                                "b])"));
  EXPECT_EQ(d.text,
            "(;C[a\xEF\xBF\xBD"
            "b])");
  EXPECT_EQ(d.replaced, 1);
  EXPECT_TRUE(IsValidUtf8(d.text));
  // A lead byte cut off by the end of the file.
  const DecodedText cut = DecodeSgfText(std::string("(;C[x])\xD5"));
  EXPECT_EQ(cut.replaced, 1);
  EXPECT_TRUE(IsValidUtf8(cut.text));
}

TEST(TextEncoding, WellFormedUtf8) {
  const struct {
    const char* bytes;
    bool valid;
  } cases[] = {
      {"plain", true},
      {"\xE6\xAD\xA3\xE8\xA7\xA3", true},  // 正解
      {"\xF0\x9F\x98\x80", true},          // U+1F600
      {"\xC0\x80", false},                 // overlong NUL
      {"\xE0\x80\x80", false},             // overlong
      {"\xED\xA0\x80", false},             // a surrogate
      {"\xF4\x90\x80\x80", false},         // above U+10FFFF
      {"\xE6\xAD", false},                 // cut off
      {"\x80", false},                     // a lone continuation
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(TextEncoding, MarkersAndRemarksOfAGbFileAreReadAsChinese) {
  const std::string bytes =
      Encode("(;AB[aa]C[黑先活](;B[cc]C[正解];W[dd]C[妙手])(;B[ee];W[ff]C[黑失败]))", "GB18030");
  std::vector<ImportOutcome> out = ImportSgf(bytes);
  ASSERT_EQ(out.size(), 1u);
  ASSERT_TRUE(out[0].problem.has_value()) << out[0].refusal.reason;
  EXPECT_EQ(TreeOutline(out[0].problem->tree), "((CC(DD 1))(EE(FF 0)))");
  RemarkList remarks;
  ApplyRemarks(*out[0].problem, remarks);
  EXPECT_EQ(remarks.Lines(), (std::vector<std::string>{"", "妙手", "黑失败"}));
}

}  // namespace
}  // namespace zendra
