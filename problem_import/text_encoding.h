// The text of an SGF file as Unicode. Problem files come in UTF-8, in the Chinese encodings
// (GB2312, GBK, GB18030, Big5), sometimes in Latin-1 or Shift-JIS, and often without saying
// which: the `CA` property names the charset when it is there. Everything after this step
// (markers in comments, remarks) works on UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace zendra {

struct DecodedText {
  std::string text;      // UTF-8
  std::string encoding;  // what the bytes were read as: "ASCII", "UTF-8", "GB18030", "BIG5", ...
  // How the encoding was chosen when the file did not say it (or said something that did not
  // fit), for the build output: "no CA; not valid UTF-8, read as GB18030". Empty when the file
  // named its charset and the bytes fit it, or when the text is plain ASCII.
  std::string guess;
  int replaced = 0;  // byte sequences that fit no encoding tried, each turned into U+FFFD
};

// Decodes the bytes of an SGF file. The first `CA[...]` names the charset (GB2312 and GBK are
// read as GB18030, their superset); without it, or when the bytes do not fit the charset it
// names, the text is UTF-8 when the bytes are valid UTF-8, else GB18030. Bytes that fit
// nothing become U+FFFD. Plain ASCII is returned unchanged whatever CA says.
DecodedText DecodeSgfText(std::string_view bytes);

// True when `s` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view s);

}  // namespace zendra
