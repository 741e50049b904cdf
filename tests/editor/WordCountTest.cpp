#include "editor/WordCount.h"

#include "framework/text/Strings.h"

#include <gtest/gtest.h>

#include <string_view>

// The case tables are laid out by hand, a row or a few to a line.
// clang-format off

namespace {

// A word is a maximal run of characters that are not Unicode White_Space.
TEST(CountWordsTest, CountsMaximalRunsOfNonWhiteSpace) {
    const std::pair<std::string_view, long> cases[]{
        {"", 0}, {" \t\r\n \x0B\x0C ", 0}, {"\t\r\n  both ends  \r\n\t", 2},
        // Characters that look like gaps but are not white space join their neighbours.
        {"a\xEF\xBB\xBF" "b", 1}, {std::string_view("a\0b", 3), 1}, {"well-known", 1}, {"a - b", 3},
        {"\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C", 1}, {"e\xCC\x81t\xCC\x81 x", 2},
        {"I \xE2\x9D\xA4\xEF\xB8\x8F Plumora \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", 4},
        // A malformed byte is a character of its own, never white space: not
        // even when its bits would spell a blank, a no-break space or a next line.
        {"a\xA0" "b", 1}, {"a\xC0\xA0" "b", 1}, {"a\xE2\x85" "b", 1},
        {"word \xE2", 2}, {"a \xFF b", 3}, {"a\xED\xA0\x80" "b", 1},
    };
    for (const auto& [text, words] : cases) EXPECT_EQ(CountWords(text), words) << text;
    // Every White_Space character of Unicode separates; its neighbours outside the set do not.
    for (const char32_t c : {0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x20, 0x85, 0xA0, 0x1680, 0x2000, 0x2001, 0x2002, 0x2003,
                             0x2004, 0x2005, 0x2006, 0x2007, 0x2008, 0x2009, 0x200A, 0x2028, 0x2029, 0x202F, 0x205F,
                             0x3000})
        EXPECT_EQ(CountWords("x" + fw::Chr(c) + "y"), 2) << "U+" << std::hex << static_cast<unsigned>(c);
    for (const char32_t c : {0x08, 0x0E, 0x21, 0x84, 0x86, 0x9F, 0xA1, 0x167F, 0x1681, 0x1FFF, 0x200B, 0x2027, 0x202A,
                             0x2030, 0x205E, 0x2060, 0x2FFF, 0x3001})
        EXPECT_EQ(CountWords("x" + fw::Chr(c) + "y"), 1) << "U+" << std::hex << static_cast<unsigned>(c);
}

}  // namespace
// clang-format on
