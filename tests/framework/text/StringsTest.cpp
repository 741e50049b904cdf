#include "framework/text/Strings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;

const std::string kAcute = "\u0301";
const std::string kDecomposedE = "e" + kAcute;
const std::string kFamily = "\U0001F468\u200D\U0001F469\u200D\U0001F467";  // man ZWJ woman ZWJ girl
const std::string kFlagDE = "\U0001F1E9\U0001F1EA";
const std::string kGrin = "\U0001F600";
const std::string kFinalSigma = "\u03C2";

// Positions count code points; each byte that is not part of a well-formed
// character counts as one character of its own.
TEST(Strings, LenAndMidCountCodePointsAndEachDamagedByte) {
    const std::vector<std::pair<std::string, long>> lengths{
        {"", 0}, {"日本語", 3}, {kDecomposedE, 2}, {kFamily, 5}, {std::string("a\0b", 3), 3},
        {"abcdefgh\u00E9", 9}, {"a\xE2\x82", 3}, {"\xC0\x80", 2}, {"\xED\xA0\x80", 3}, {"\xF4\x90\x80\x80", 4},
        {"\xE2\x82\xAC\x82", 2}, {"abcdefg\xFF" "abcdefgh", 16},
    };
    for (const auto& [s, n] : lengths) EXPECT_EQ(fw::Len(s), n) << s;
    struct Case { std::string s; long start, length; std::string expected; };
    const std::vector<Case> mids{
        {"abcdef", 3, 2, "cd"}, {"abcdef", 6, 5, "f"}, {"abcdef", 7, -1, ""}, {"abcdef", -4, 2, "ab"},
        {"日本語", 2, -1, "本語"}, {"a" + kGrin + "b", 2, 1, kGrin}, {kDecomposedE + "x", 2, 1, kAcute},
        {"a\xFF" "b\xE2\x82" "c", 3, 2, "b\xE2"}, {"a\xFF" "b\xE2\x82" "c", 5, -1, "\x82" "c"},
    };
    for (const auto& c : mids) EXPECT_EQ(fw::Mid(c.s, c.start, c.length), c.expected) << c.s << " from " << c.start;
}

TEST(Strings, InStrFindsCodePointPositionsIgnoringCaseBySimpleFolding) {
    struct Case { long start; std::string s, find; long expected; };
    const std::vector<Case> cases{
        {1, "abcabc", "c", 3}, {4, "abcabc", "c", 6}, {7, "abcabc", "c", 0}, {-5, "abc", "c", 3}, {1, "abc", "", 1},
        {4, "abc", "", 0}, {1, "x" + kFamily + "y", "y", 7}, {1, "abababac", "ababac", 3}, {1, "HeLLo", "llO", 3},
        {1, "Stra\u00DFe", "SSE", 0}, {1, "STRA\u1E9EE", "stra\u00DFe", 1}, {1, "\u03A3\u0391\u03A3", "\u03C3\u03B1" + kFinalSigma, 1},
        {1, "kelvin", "\u212A", 1}, {1, "x\U00010400y", "\U00010428", 2}, {1, "ab\u0130c", "i", 0},
        {1, "a\xFF" "b", "b", 3}, {1, "a\xFF" "b", "\uFFFD", 0}, {1, "\u20AC", "\x82", 0}, {1, "\xE2\x82\xAC\x82", "\x82", 2},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::InStr(c.start, c.s, c.find), c.expected) << c.s << " / " << c.find;
    std::string big;
    for (int i = 0; i < 1000000; ++i) big += "\u00E9";
    EXPECT_EQ(fw::InStr(big + "\u03A9", "\u00E9\u03C9"), 1000000);
}

TEST(Strings, CaseMappingIsFullUnicodeAndPassesDamagedBytesThrough) {
    struct Case { std::string (*map)(std::string_view); std::string in, expected; };
    const std::vector<Case> cases{
        {fw::Uppercase, "stra\u00DFe \uFB01ne", "STRASSE FINE"}, {fw::Uppercase, "\u01C6\u1FB3", "\u01C4\u0391\u0399"},
        {fw::Uppercase, "\xEF\xBB\xBF" "a\xFF" "b", "\xEF\xBB\xBF" "A\xFF" "B"},
        {fw::Lowercase, "\u0130\U00010400", "i\u0307\U00010428"},
        {fw::Lowercase, "\u039F\u0394\u039F\u03A3 \u03A3\u0391\u03A3.", "\u03BF\u03B4\u03BF" + kFinalSigma + " \u03C3\u03B1" + kFinalSigma + "."},
        {fw::Lowercase, "\u0391\u03A3\u0301\u0392 \u03A3", "\u03B1\u03C3\u0301\u03B2 \u03C3"},
        {fw::Titlecase, "hello-world don't 'n' 1st PLACE", "Hello-World Don't 'N' 1st Place"},
        {fw::Titlecase, kDecomposedE + "COLE \u00DFa \u01C6ungla \u0130STANBUL", "E" + kAcute + "cole Ssa \u01C5ungla \u0130stanbul"},
        {fw::Titlecase, "aB\xFF" "cD\xC0\x80" "eF", "Ab\xFF" "Cd\xC0\x80" "Ef"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.map(c.in), c.expected) << c.in;
}

// Split never cuts inside a character; with an empty delimiter it gives the
// characters a reader sees (grapheme clusters), each damaged byte apart.
TEST(Strings, SplitCutsAtDelimitersOrIntoWhatReadersSeeAsCharacters) {
    struct Case { std::string s, delimiter; Pieces expected; };
    const std::vector<Case> cases{
        {"a  b", " ", {"a", "", "b"}}, {"", " ", {""}}, {"a::b::", "::", {"a", "b", ""}}, {"aaa", "aa", {"", "a"}},
        {"a\u20ACb", "\x82", {"a\u20ACb"}}, {"\u20AC\x82\u20AC", "\x82", {"\u20AC", "\u20AC"}},
        {kDecomposedE + "x", "", {kDecomposedE, "x"}}, {"a" + kFamily + "b", "", {"a", kFamily, "b"}},
        {kFlagDE + kFlagDE + "\U0001F1EB", "", {kFlagDE, kFlagDE, "\U0001F1EB"}},
        {"\U0001F44D\U0001F3FD1\uFE0F\u20E3", "", {"\U0001F44D\U0001F3FD", "1\uFE0F\u20E3"}},
        {"a\r\nb", "", {"a", "\r\n", "b"}}, {"\uD55C\u1100\u1161\u11A8", "", {"\uD55C", "\u1100\u1161\u11A8"}},
        {"\xE2\x82" + kAcute, "", {"\xE2", "\x82", kAcute}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::Split(c.s, c.delimiter), c.expected) << c.s;
        EXPECT_EQ(fw::Join(c.expected, c.delimiter), c.s);
    }
}

}  // namespace
