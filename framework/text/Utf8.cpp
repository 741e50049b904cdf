#include "framework/text/Utf8.h"

#include <cstring>

namespace fw::utf8 {

namespace {

// Plain ASCII is by far the most common text; these walks take it eight
// bytes at a time and decode only what lies beyond it.
bool AsciiWord(const unsigned char* p, std::uint64_t& word) {
    std::memcpy(&word, p, 8);
    return (word & 0x8080808080808080ull) == 0;
}

}  // namespace

bool IsValid(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
    std::uint64_t word;
    while (p < end) {
        if (end - p >= 8 && AsciiWord(p, word)) {
            p += 8;
            continue;
        }
        const Character c = DecodeAt(p, end);
        if (c.damaged) return false;
        p += c.length;
    }
    return true;
}

std::size_t Utf16Length(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
    std::size_t units = 0;
    std::uint64_t word;
    while (p < end) {
        if (end - p >= 8 && AsciiWord(p, word)) {
            p += 8;
            units += 8;
            continue;
        }
        const Character c = DecodeAt(p, end);
        p += c.length;
        units += c.codePoint > 0xFFFF ? 2 : 1;
    }
    return units;
}

std::size_t ToUtf16(std::string_view s, char16_t* out) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
    char16_t* const start = out;
    std::uint64_t word;
    while (p < end) {
        if (end - p >= 8 && AsciiWord(p, word)) {
            for (int k = 0; k < 8; ++k) *out++ = p[k];
            p += 8;
            continue;
        }
        const Character c = DecodeAt(p, end);
        p += c.length;
        if (c.codePoint > 0xFFFF) {
            *out++ = static_cast<char16_t>(0xD800 + ((c.codePoint - 0x10000) >> 10));
            *out++ = static_cast<char16_t>(0xDC00 + (c.codePoint & 0x3FF));
        } else {
            *out++ = static_cast<char16_t>(c.codePoint);
        }
    }
    return static_cast<std::size_t>(out - start);
}

}  // namespace fw::utf8
