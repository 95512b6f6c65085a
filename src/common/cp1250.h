#pragma once
// Windows-1250, the encoding of every text the program stores (room names, build settings).
#include <string>
#include <string_view>

namespace cw {

// Converts Windows-1250 bytes to UTF-8. The five byte values that Windows-1250 leaves
// undefined become U+FFFD.
std::string cp1250ToUtf8(std::string_view bytes);

// Converts UTF-8 to Windows-1250 bytes. Characters that Windows-1250 cannot hold, and bytes
// that are not valid UTF-8, become '?'.
std::string utf8ToCp1250(std::string_view utf8);

// True when utf8ToCp1250 keeps every character of the text, so that the bytes name the same
// text again (a path that cannot be written in Windows-1250 gives false).
bool fitsCp1250(std::string_view utf8);

}  // namespace cw
