#include "WordCount.h"

#include "framework/text/Utf8.h"

namespace {

// The characters with Unicode's White_Space property.
bool IsWhiteSpace(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
        (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// Whether the character starting at i is white space; i moves past it. Every
// white space beyond ASCII begins with one of four lead bytes, so any other
// byte of 0x80 or more (a lead, a continuation, a damaged byte) belongs to a
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
    return IsWhiteSpace(fw::utf8::Next(s, i));
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
