#include "editor/WordCount.h"

#include "framework/text/Strings.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

namespace {

struct WordCase {
    const char* name;
    std::string_view text;
    long words;
};

// Prints the case's name, so that a failure says which text it was.
void PrintTo(const WordCase& c, std::ostream* out) { *out << c.name; }

// Texts with embedded NUL bytes need their length spelled out.
constexpr std::string_view kNul("a\0b", 3);

constexpr WordCase kCases[] = {
    {"Empty", "", 0},
    {"TabsLineBreaksAndBlanksOnly", " \t\r\n \x0B\x0C ", 0},
    {"TwoWordsOneBlank", "two words", 2},
    {"LeadingAndTrailingWhiteSpace", "\t\r\n  both ends  \r\n\t", 2},
    // Characters that look like gaps but are not white space join their neighbours
    // (more of them, and every white space, in the test of the separators below).
    {"ByteOrderMarkJoins", "a\xEF\xBB\xBF" "b", 1},
    {"NulJoins", kNul, 1},
    {"HyphenJoins", "well-known", 1},
    {"PunctuationAlone", "a - b", 3},
    {"ChineseWithoutSpacesIsOneRun", "\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C", 1},
    {"EmojiBetweenWords", "I \xE2\x9D\xA4\xEF\xB8\x8F Plumora \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", 4},
    {"CombiningMarks", "e\xCC\x81t\xCC\x81 x", 2},
    // A malformed byte is a character of its own, never white space: not
    // even when its bits would spell a blank or a no-break space.
    {"StrayContinuationByte", "a\x80" "b", 1},
    {"StrayByteWithTheBitsOfABlank", "a\xA0" "b", 1},
    {"OverlongBlank", "a\xC0\xA0" "b", 1},
    {"TruncatedSequenceWithTheBitsOfNextLine", "a\xE2\x85" "b", 1},
    {"LeadByteAtTheEnd", "word \xE2", 2},
    {"MalformedByteAloneBetweenBlanks", "a \xFF b", 3},
    {"TruncatedSequenceBeforeABlank", "a\xE3\x80 b", 2},
    {"EncodedSurrogateIsNoWhiteSpace", "a\xED\xA0\x80" "b", 1},
};

class CountWordsTest : public ::testing::TestWithParam<WordCase> {};

TEST_P(CountWordsTest, CountsMaximalRunsOfNonWhiteSpace) {
    const auto& c = GetParam();
    EXPECT_EQ(CountWords(c.text), c.words) << "text of " << c.text.size() << " bytes";
}

INSTANTIATE_TEST_SUITE_P(Texts, CountWordsTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<WordCase>& info) { return std::string(info.param.name); });

// Every White_Space character of Unicode separates two words; the characters
// beside that set, which are not white space, do not.
TEST(CountWordsSeparators, EveryUnicodeWhiteSpaceSeparatesAndItsNeighboursDoNot) {
    const auto utf8 = [](char32_t c) { return fw::Chr(static_cast<long>(c)); };
    const char32_t white[] = {0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x20, 0x85, 0xA0, 0x1680, 0x2000, 0x2001,
                              0x2002, 0x2003, 0x2004, 0x2005, 0x2006, 0x2007, 0x2008, 0x2009, 0x200A,
                              0x2028, 0x2029, 0x202F, 0x205F, 0x3000};
    for (const char32_t c : white)
        EXPECT_EQ(CountWords("x" + utf8(c) + "y"), 2) << "U+" << std::hex << static_cast<unsigned>(c);
    const char32_t notWhite[] = {0x08, 0x0E, 0x1F, 0x21, 0x84, 0x86, 0x9F, 0xA1, 0x167F, 0x1681, 0x1FFF,
                                 0x200B, 0x2027, 0x202A, 0x202E, 0x2030, 0x205E, 0x2060, 0x2FFF, 0x3001};
    for (const char32_t c : notWhite)
        EXPECT_EQ(CountWords("x" + utf8(c) + "y"), 1) << "U+" << std::hex << static_cast<unsigned>(c);
}

}  // namespace
