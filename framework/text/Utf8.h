#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reading and writing UTF-8, the framework's one text encoding.
//
// Well-formed UTF-8 has no overlong forms, no encoded surrogates and nothing
// above U+10FFFF. Every byte that does not begin a well-formed sequence is
// one character of its own, U+FFFD REPLACEMENT CHARACTER, and the reading
// goes on at the next byte; such a character is never white space. Readers
// that copy text (the string functions) may keep the damaged byte itself in
// place of U+FFFD, so that damaged text is never altered further.
namespace fw::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

struct Character {
    char32_t codePoint;  // U+FFFD for a damaged byte
    int length;          // bytes taken, 1 for a damaged byte
    bool damaged;
};

inline constexpr bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

inline constexpr bool IsScalar(char32_t cp) { return cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF); }

// The character that begins at p; p < end.
inline Character DecodeAt(const unsigned char* p, const unsigned char* end) {
    const unsigned char b0 = p[0];
    if (b0 < 0x80) return {b0, 1, false};
    const std::ptrdiff_t avail = end - p;
    constexpr Character damaged{kReplacement, 1, true};
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (avail < 2 || !IsContinuation(p[1])) return damaged;
        return {char32_t((b0 & 0x1F) << 6 | (p[1] & 0x3F)), 2, false};
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (avail < 3) return damaged;
        const unsigned char low = b0 == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = b0 == 0xED ? 0x9F : 0xBF;
        if (p[1] < low || p[1] > high || !IsContinuation(p[2])) return damaged;
        return {char32_t((b0 & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F)), 3, false};
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (avail < 4) return damaged;
        const unsigned char low = b0 == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = b0 == 0xF4 ? 0x8F : 0xBF;
        if (p[1] < low || p[1] > high || !IsContinuation(p[2]) || !IsContinuation(p[3])) return damaged;
        return {char32_t((b0 & 0x07) << 18 | (p[1] & 0x3F) << 12 | (p[2] & 0x3F) << 6 | (p[3] & 0x3F)), 4, false};
    }
    return damaged;
}

// The code point at s[i], i < s.size(); i moves past it.
inline char32_t Next(std::string_view s, std::size_t& i) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const Character c = DecodeAt(p + i, p + s.size());
    i += static_cast<std::size_t>(c.length);
    return c.codePoint;
}

// Appends the UTF-8 form of a code point; a value that is no Unicode scalar
// value (a surrogate, or above U+10FFFF) becomes U+FFFD.
inline void Append(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
        return;
    }
    if (!IsScalar(cp)) cp = kReplacement;
    char bytes[4];
    std::size_t n;
    if (cp < 0x800) {
        bytes[0] = static_cast<char>(0xC0 | cp >> 6);
        n = 2;
    } else if (cp < 0x10000) {
        bytes[0] = static_cast<char>(0xE0 | cp >> 12);
        bytes[1] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        n = 3;
    } else {
        bytes[0] = static_cast<char>(0xF0 | cp >> 18);
        bytes[1] = static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        bytes[2] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        n = 4;
    }
    bytes[n - 1] = static_cast<char>(0x80 | (cp & 0x3F));
    out.append(bytes, n);
}

// True when every byte belongs to a well-formed sequence.
bool IsValid(std::string_view s);

// The number of UTF-16 units the text reads as.
std::size_t Utf16Length(std::string_view s);

// Writes the text as UTF-16 to out, which must hold s.size() units (no text
// needs more); returns the number of units written.
std::size_t ToUtf16(std::string_view s, char16_t* out);

}  // namespace fw::utf8
