#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Helpers the text readers share. The byte-to-Unicode tables cover the two
// single-byte code pages styled-text files use most, Windows-1252 (the ANSI
// default) and Mac Roman, so that these decode without any converter library.
namespace fw::encoding {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. The five bytes that
// code page leaves undefined map to the C1 controls of the same value, as
// every common converter does.
inline constexpr char16_t kWindows1252From80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Mac Roman 0x80-0xFF, after Apple's current mapping (0xDB is the euro sign,
// 0xF0 the Apple logo in the private use area).
inline constexpr char16_t kMacRomanFrom80[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

inline constexpr char32_t Windows1252ToUnicode(std::uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? kWindows1252From80[byte - 0x80] : byte;
}

inline constexpr char32_t MacRomanToUnicode(std::uint8_t byte) {
    return byte >= 0x80 ? kMacRomanFrom80[byte - 0x80] : byte;
}

// Appends the UTF-8 form of a code point; anything that is not a Unicode
// scalar value becomes U+FFFD.
inline void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
        return;
    }
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
    char bytes[4];
    int n;
    if (cp < 0x800) {
        bytes[0] = static_cast<char>(0xC0 | cp >> 6);
        n = 1;
    } else if (cp < 0x10000) {
        bytes[0] = static_cast<char>(0xE0 | cp >> 12);
        bytes[1] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        n = 2;
    } else {
        bytes[0] = static_cast<char>(0xF0 | cp >> 18);
        bytes[1] = static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        bytes[2] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        n = 3;
    }
    bytes[n] = static_cast<char>(0x80 | (cp & 0x3F));
    out.append(bytes, static_cast<std::size_t>(n) + 1);
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
inline bool IsValidUtf8(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int length;
        unsigned char low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0) low = 0xA0;
            if (c == 0xED) high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (end - p < length) return false;
        if (p[1] < low || p[1] > high) return false;
        for (int i = 2; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
        }
        p += length;
    }
    return true;
}

}  // namespace fw::encoding
