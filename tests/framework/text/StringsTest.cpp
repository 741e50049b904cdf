#include "framework/text/Strings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The case tables are laid out by hand, a row or a few to a line.
// clang-format off

namespace {

const std::string kDecomposedE = "e\u0301";
const std::string kFamily = "\U0001F468\u200D\U0001F469\u200D\U0001F467";  // man ZWJ woman ZWJ girl

// Positions count code points; each byte that is not part of a well-formed
// character counts as one character of its own, found only by itself.
TEST(Strings, PositionsCountCodePointsAndEachDamagedByte) {
    for (const auto& [s, n] : std::vector<std::pair<std::string, long>>{
             {"日本語", 3}, {kFamily, 5}, {"abcdefgh\u00E9", 9}, {"a\xE2\x82", 3}, {"\xC0\x80", 2}, {"\xED\xA0\x80", 3},
             {"\xF4\x90\x80\x80", 4}, {"\xE2\x82\xAC\x82", 2}, {"abcdefg\xFF" "abcdefgh", 16}})
        EXPECT_EQ(fw::Len(s), n) << s;
    EXPECT_EQ(fw::Mid("a😀b", 2, 1), "😀");
    EXPECT_EQ(fw::Mid("a\xFF" "b\xE2\x82" "c", 3, 2), "b\xE2");
    EXPECT_EQ(fw::Mid("abcdef", -4, 2), "ab");
    struct Case { long start; std::string s, find; long expected; };
    for (const Case& c : std::vector<Case>{
             {4, "abcabc", "c", 6}, {7, "abcabc", "c", 0}, {1, "x" + kFamily + "y", "y", 7}, {1, "abababac", "ababac", 3},
             {1, "Stra\u00DFe", "SSE", 0}, {1, "STRA\u1E9EE", "stra\u00DFe", 1}, {1, "kelvin", "\u212A", 1},
             {1, "\u03A3\u0391\u03A3", "\u03C3\u03B1\u03C2", 1}, {1, "ab\u0130c", "i", 0}, {1, "a\xFF" "b", "b", 3},
             {1, "a\xFF" "b", "\uFFFD", 0}, {1, "\u20AC", "\x82", 0}, {1, "\xE2\x82\xAC\x82", "\x82", 2},
             {1, "aB", "ab", 1}, {1, "hello", "ELL", 2}, {1, "\u212A" "a", "KA", 1}, {1, "MA\u017F", "as", 2}}) {
        EXPECT_EQ(fw::InStr(c.start, c.s, c.find), c.expected) << c.s << " / " << c.find;
        // Long runs of ASCII are stepped over eight bytes at a time: the case
        // holds wherever the text falls within those steps.
        if (c.start != 1) continue;
        for (long before = 1; before < 18; ++before)
            EXPECT_EQ(fw::InStr(1, std::string(before, '-') + c.s + std::string(16, '-'), c.find),
                      c.expected == 0 ? 0 : c.expected + before)
                << c.s << " / " << c.find << " after " << before;
    }
}

TEST(Strings, CaseMappingIsFullUnicodeAndPassesDamagedBytesThrough) {
    struct Case { std::string (*map)(std::string_view); std::string in, expected; };
    for (const Case& c : std::vector<Case>{
             {fw::Uppercase, "stra\u00DFe \uFB01ne \u01C6\u1FB3", "STRASSE FINE \u01C4\u0391\u0399"},
             {fw::Lowercase, "\u0130 \u039F\u0394\u039F\u03A3 \u03A3\u0391\u03A3. \u03A3", "i\u0307 \u03BF\u03B4\u03BF\u03C2 \u03C3\u03B1\u03C2. \u03C3"},
             {fw::Titlecase, "hello-world don't 'n' 1st PLACE o'NEILL", "Hello-World Don't 'n' 1st Place O'neill"},
             {fw::Titlecase, kDecomposedE + "COLE \u00DFa \u01C6ungla", "E\u0301cole Ssa \u01C5ungla"},
             {fw::Titlecase, "aB\xFF" "cD\xC0\x80" "eF", "Ab\xFF" "Cd\xC0\x80" "Ef"}})
        EXPECT_EQ(c.map(c.in), c.expected) << c.in;
}

// With an empty delimiter Split gives the characters a reader sees, each damaged byte apart.
TEST(Strings, SplitNeverCutsInsideACharacter) {
    using Pieces = std::vector<std::string>;
    EXPECT_EQ(fw::Split("\u20AC\x82\u20AC", "\x82"), (Pieces{"\u20AC", "\u20AC"}));
    EXPECT_EQ(fw::Split("a" + kFamily + kDecomposedE + "\r\n\U0001F1E9\U0001F1EA\xE2\x82", ""),
              (Pieces{"a", kFamily, kDecomposedE, "\r\n", "\U0001F1E9\U0001F1EA", "\xE2", "\x82"}));
}

}  // namespace
// clang-format on
