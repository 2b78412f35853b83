#pragma once
// Blanks and control characters (every byte up to 0x20) around a text, which the program's
// files and settings never count as part of a value.

#include <string_view>

namespace quendal {

constexpr bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// The text without blanks and control characters at either end.
constexpr std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlankOrControl(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlankOrControl(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

} // namespace quendal
