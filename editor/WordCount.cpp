#include "WordCount.h"

namespace {

// The characters with Unicode's White_Space property.
bool IsWhiteSpace(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// The code point starting at i, which moves past it. A malformed sequence
// (a stray continuation byte, an overlong or cut-off encoding, a byte that
// never starts one) is a character of its own: it is never white space, even
// where its bits would spell a blank.
char32_t Next(std::string_view s, std::size_t& i) {
    constexpr char32_t kMalformed = 0xFFFD;
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    const auto lead = static_cast<unsigned char>(s[i++]);
    if (lead < 0x80) return lead;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || lead > 0xF4) return kMalformed;
    char32_t c = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return kMalformed;
        c = c << 6 | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return c < kSmallest[extra] || c > 0x10FFFF ? kMalformed : c;
}

// Whether the character starting at i is white space; i moves past it. Every
// white space beyond ASCII begins with one of four lead bytes, so any other
// byte of 0x80 or more (a lead, a continuation, a malformed byte) belongs to a
// character that is no white space and can be passed one byte at a time.
bool WhiteSpaceAt(std::string_view s, std::size_t& i) {
    const auto byte = static_cast<unsigned char>(s[i]);
    if (byte < 0x80) {
        ++i;
        return byte == ' ' || (byte >= 0x09 && byte <= 0x0D);
    }
    if (byte != 0xC2 && byte != 0xE1 && byte != 0xE2 && byte != 0xE3) {
        ++i;
        return false;
    }
    return IsWhiteSpace(Next(s, i));
}

}  // namespace

long CountWords(std::string_view utf8) {
    long words = 0;
    bool inWord = false;
    for (std::size_t i = 0; i < utf8.size();) {
        const bool blank = WhiteSpaceAt(utf8, i);
        words += !blank && !inWord;
        inWord = !blank;
    }
    return words;
}
