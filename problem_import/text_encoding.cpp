#include "problem_import/text_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <optional>

namespace zendra {

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    int more = 0;
    unsigned min = 0;
    unsigned code = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      more = 1, min = 0x80, code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      more = 2, min = 0x800, code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      more = 3, min = 0x10000, code = c & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(more) >= s.size()) return false;
    for (int k = 1; k <= more; ++k) {
      const auto t = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      if ((t & 0xC0) != 0x80) return false;
      code = (code << 6) | (t & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(more) + 1;
  }
  return true;
}

namespace {

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The value of the first CA property: "CA" not preceded by another upper-case letter (so "FCA"
// or "PCA" do not count), blanks, then the bracketed value. Charset names are ASCII.
std::optional<std::string> DeclaredCharset(std::string_view bytes) {
  for (std::size_t at = bytes.find("CA"); at != std::string_view::npos;
       at = bytes.find("CA", at + 1)) {
    if (at > 0 && std::isupper(static_cast<unsigned char>(bytes[at - 1]))) continue;
    std::size_t i = at + 2;
    while (i < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[i]))) ++i;
    if (i >= bytes.size() || bytes[i] != '[') continue;
    const std::size_t close = bytes.find(']', i + 1);
    if (close == std::string_view::npos || close - i > 64) return std::nullopt;
    std::string name(bytes.substr(i + 1, close - i - 1));
    name.erase(std::remove_if(name.begin(), name.end(),
                              [](char c) { return std::isspace(static_cast<unsigned char>(c)); }),
               name.end());
    return name;
  }
  return std::nullopt;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The iconv name to read a declared charset with: the Simplified Chinese charsets are read as
// GB18030, which holds them all, and Big5 as CP950, which adds the common vendor characters.
std::string IconvName(const std::string& declared) {
  const std::string u = Upper(declared);
  if (u == "UTF8" || u == "UTF-8") return "UTF-8";
  if (u == "GB2312" || u == "GBK" || u == "GB18030" || u == "CP936" || u == "EUC-CN" ||
      u == "GB_2312-80" || u == "X-GBK") {
    return "GB18030";
  }
  if (u == "BIG5" || u == "BIG-5" || u == "CP950") return "CP950";
  if (u == "SHIFT_JIS" || u == "SJIS" || u == "SHIFT-JIS" || u == "MS_KANJI") return "CP932";
  if (u == "LATIN1" || u == "LATIN-1") return "ISO-8859-1";
  return u;
}

// Converts `bytes` from `charset` to UTF-8. Nothing when iconv does not know the charset.
// Each byte that starts no valid sequence becomes U+FFFD and is counted in `replaced`.
std::optional<std::string> Convert(std::string_view bytes, const std::string& charset,
                                   int* replaced) {
  iconv_t cd = iconv_open("UTF-8", charset.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  out.resize(bytes.size() * 2 + 16);
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  std::size_t used = 0;
  *replaced = 0;
  while (inLeft > 0) {
    char* dst = out.data() + used;
    std::size_t outLeft = out.size() - used;
    const std::size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
    used = out.size() - outLeft;
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    // EILSEQ or EINVAL (a sequence cut off at the end): skip one byte, write U+FFFD.
    if (out.size() - used < 3) out.resize(out.size() * 2);
    out.replace(used, 3, "\xEF\xBF\xBD");
    used += 3;
    ++in;
    --inLeft;
    ++*replaced;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  out.resize(used);
  return out;
}

}  // namespace

DecodedText DecodeSgfText(std::string_view bytes) {
  DecodedText d;
  if (IsAscii(bytes)) {
    d.text = std::string(bytes);
    d.encoding = "ASCII";
    return d;
  }
  const bool utf8 = IsValidUtf8(bytes);
  const std::optional<std::string> declared = DeclaredCharset(bytes);
  std::string why;
  if (declared) {
    const std::string name = IconvName(*declared);
    if (name == "UTF-8" && utf8) {
      d.text = std::string(bytes);
      d.encoding = "UTF-8";
      return d;
    }
    if (name != "UTF-8") {
      int replaced = 0;
      std::optional<std::string> text = Convert(bytes, name, &replaced);
      if (text && replaced == 0) {
        d.text = std::move(*text);
        d.encoding = name;
        return d;
      }
      why = text ? "CA[" + *declared + "] does not fit the bytes"
                 : "CA[" + *declared + "] is not a known charset";
    } else {
      why = "CA[" + *declared + "] but not valid UTF-8";
    }
  } else {
    why = "no CA";
  }
  if (utf8) {
    d.text = std::string(bytes);
    d.encoding = "UTF-8";
    d.guess = why + ", read as UTF-8";
    return d;
  }
  std::optional<std::string> text = Convert(bytes, "GB18030", &d.replaced);
  d.text = text ? std::move(*text) : std::string(bytes);
  d.encoding = "GB18030";
  d.guess = why + (why.find("UTF-8") == std::string::npos ? ", not valid UTF-8" : "") +
            ": read as GB18030";
  return d;
}

}  // namespace zendra
