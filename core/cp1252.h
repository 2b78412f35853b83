#pragma once
// Conversion between the UTF-8 texts held in memory and the Windows-1252 bytes of the files.

#include <string>
#include <string_view>

namespace quendal::cp1252 {

// Every byte maps to one character; the five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same number.
std::string toUtf8(std::string_view bytes);

// Characters that Windows-1252 cannot hold become '?'; invalid UTF-8 bytes likewise.
std::string fromUtf8(std::string_view utf8);

// True when every character of the UTF-8 text has a Windows-1252 byte.
bool representable(std::string_view utf8);

// The number of characters (code points) of a UTF-8 text.
std::size_t length(std::string_view utf8);

// The first n characters of a UTF-8 text.
std::string left(std::string_view utf8, std::size_t n);

} // namespace quendal::cp1252
