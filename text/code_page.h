// GBK and Big5 text decoded to Unicode (UTF-8) for the screen, over the generated tables. No Qt.
//
// Bytes below 0x80 pass as they are. A lead byte with a trail byte 0x40..0xFE that names a
// character gives that character; a pair that names none gives one U+FFFD (an ASCII trail byte
// is then read afresh, never swallowed); any other byte 0x80 and above (a lone lead byte, one
// before a byte out of the trail range, 0x80, 0xFF) gives U+FFFD alone and the next byte is read
// afresh. The result is always valid UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace zendra {

std::string GbkToUtf8(std::string_view gbk);
std::string Big5ToUtf8(std::string_view big5);

}  // namespace zendra
