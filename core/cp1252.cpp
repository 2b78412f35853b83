#include "core/cp1252.h"

#include <array>
#include <cstdint>

namespace quendal::cp1252 {
namespace {

// Code points of the bytes 0x80..0x9F; the undefined bytes keep their own number.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t decodeByte(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) {
        return kHigh[b - 0x80];
    }
    return b;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 character at i and advances i; returns U+FFFD for a malformed sequence.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i++]);
    if (b0 < 0x80) {
        return b0;
    }
    int extra = 0;
    char32_t c = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        c = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        c = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        c = b0 & 0x07;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        c = (c << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return c;
}

// The Windows-1252 byte of a code point, or -1 when it has none.
int encodeCodePoint(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<int>(c);
    }
    for (std::size_t k = 0; k < kHigh.size(); ++k) {
        if (kHigh[k] == c) {
            return static_cast<int>(0x80 + k);
        }
    }
    return -1;
}

} // namespace

std::string toUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        appendUtf8(out, decodeByte(static_cast<unsigned char>(ch)));
    }
    return out;
}

std::string fromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const int b = encodeCodePoint(nextCodePoint(utf8, i));
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

bool representable(std::string_view utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (encodeCodePoint(nextCodePoint(utf8, i)) < 0) {
            return false;
        }
    }
    return true;
}

std::size_t length(std::string_view utf8) {
    std::size_t n = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        nextCodePoint(utf8, i);
        ++n;
    }
    return n;
}

std::string left(std::string_view utf8, std::size_t n) {
    std::size_t i = 0;
    for (std::size_t k = 0; k < n && i < utf8.size(); ++k) {
        nextCodePoint(utf8, i);
    }
    return std::string(utf8.substr(0, i));
}

} // namespace quendal::cp1252
