// Character conversions at the edge of the window system: the window title from
// Windows-1252 to UTF-8, typed text from UTF-8 to code page 437.
#pragma once

#include <string>
#include <string_view>

namespace fogloom::platform {

// Windows-1252 bytes to UTF-8; the five unassigned bytes become U+FFFD.
std::string windows1252ToUtf8(std::string_view text);
// The code points of UTF-8 text; a malformed sequence gives U+FFFD and skips one byte.
std::u32string decodeUtf8(std::string_view text);
// The code page 437 code of a typed character: controls and ASCII as they are, the
// accented letters, symbols and box-drawing characters of the upper half by their codes,
// anything else '?'. U+0000 gives 0.
int cp437FromUnicode(char32_t c);

}  // namespace fogloom::platform
