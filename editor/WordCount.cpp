#include "WordCount.h"

namespace {

// The characters with Unicode's White_Space property.
bool IsWhiteSpace(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// The code point starting at i, which moves past it. A malformed byte counts
// as a character of its own: it is not white space.
char32_t Next(std::string_view s, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(s[i++]);
    if (lead < 0x80) return lead;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t c = lead & (0x3F >> extra);
    for (int k = 0; k < extra && i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80; ++k)
        c = c << 6 | (static_cast<unsigned char>(s[i++]) & 0x3F);
    return c;
}

}  // namespace

long CountWords(std::string_view utf8) {
    long words = 0;
    bool inWord = false;
    for (std::size_t i = 0; i < utf8.size();) {
        const bool blank = IsWhiteSpace(Next(utf8, i));
        if (!blank && !inWord) ++words;
        inWord = !blank;
    }
    return words;
}
