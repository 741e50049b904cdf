#include "framework/text/RtfWriter.h"

#include "framework/text/RtfReader.h"
#include "tests/support/StyledTextSupport.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

// The case tables are laid out by hand, a row or a few to a line.
// clang-format off

namespace fw {
namespace {

// Documents that must read back exactly as they were written, run for run.
std::vector<StyledText> RoundTripDocuments() {
    std::vector<StyledText> docs{StyledText{}, StyledText{{{Alignment::Default, {}}}}};
    const auto arial = Style("Arial", 12);
    docs.push_back({{
        {Alignment::Default,
         {{"Times ", Style("Times New Roman", 12)}, {"all three", Style("Courier New", 9, "biu")},
          {"10.5 ", Style("Arial", 10.5)}, {"field font ", Style("", 12)},
          {"field bold", Style("", 12, "b")}}},
        {Alignment::Left, {{"a", Style("Odd;Name", 12)}, {"b", Style("{Braced}\\Font", 12)}, {"c", Style("微软雅黑", 12)}}},
        {Alignment::Center, {{"red ", Style("Arial", 12, "", Color{255, 0, 0})}, {"automatic ", arial},
                             {"odd", Style("Arial", 12, "b", Color::FromRGB(0x12AB7F))}}},
        {Alignment::Right, {}},
        {Alignment::Default, {{"\tname\tvalue\t", arial}, {"one\u2028two\u2028", Style("Arial", 12, "b")},
                              {"back\\slash {braces} }{ \\par \\u233? text  ", arial}}},
    }});
    // Scripts other programs format through associated words: right to left, East Asian, emoji, combining.
    docs.push_back({{{Alignment::Right,
                      {{"שלום ", Style("DejaVu Sans", 16, "bi")}, {"سلام", Style("", 20, "iu", Color{0, 0, 128})},
                       {"नमस्ते 日本語、", Style("", 11, "b")}, {"한국어😀👍🏽 ", Style("Noto Sans CJK KR", 9, "i")},
                       {"e\u0301 a\u030A\u0323 Crème Łódź Ελληνικά Русский", Style("Arial", 12, "u")}}}}});
    // Formats that change and change back across runs and paragraphs, to and from the reader's own font.
    const auto big = Style("Arial", 20, "b", Color{255, 0, 0}), small = Style("Courier New", 9, "i");
    docs.push_back({{
        {Alignment::Default, {{"big ", big}, {"own ", Style("", 12)}, {"9", Style("", 12, "u")}}},
        {Alignment::Default, {{"0 big again ", big}, {"no colour", Style("Arial", 20, "bi")}}},
        {Alignment::Center, {}},
        {Alignment::Default, {{"big after nothing", big}}},
        {Alignment::Right, {{"שלום ", big}, {"עולם ", Style("", 12)}, {"日本", small}}},
        {Alignment::Right, {{" 7 same as before", small}, {"12", Style("Courier New", 12, "u")}}},
        {Alignment::Default, {{"한국어 ", Style("", 12)}, {"big", big}}},
    }});
    return docs;
}

TEST(RtfWriter, WhatItWritesReadsBackRunForRun) {
    for (const StyledText& doc : RoundTripDocuments()) EXPECT_EQ(ReadRtf(WriteRtf(doc)), doc) << WriteRtf(doc);
}

// What the model holds but RTF cannot carry as it is comes back in its nearest
// form, after a run in another size.
TEST(RtfWriter, ReadsBackTheNearestFormOfWhatRtfCannotCarry) {
    struct Case { std::string text; double size; std::string readText; double readSize; };
    const Case cases[]{
        {"a\nb\r\nc\rd", 12, "a\u2028b\u2028c\u2028d", 12},  // stray line ends become line breaks
        {"a\xFF" "b\xE4\xB8" "c\xED\xA0\x80" "d", 12, "a\uFFFDb\uFFFD\uFFFDc\uFFFD\uFFFD\uFFFDd", 12},
        {"x", 10.3, "x", 10.5}, {"x", 10.2, "x", 10}, {"x", 0.1, "x", 0.5}, {"x", 100000, "x", 32767 / 2.0},
        {"x", 0, "x", 12}, {"שלום 日本", 0, "שלום 日本", 12},  // the reader's default size, not the size of the run before
    };
    const auto doc = [](const std::string& text, double size) {
        return StyledText{{{Alignment::Left, {{"big", Style("F", 30)}, {text, Style("F", size)}}}}};
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadRtf(WriteRtf(doc(c.text, c.size))), doc(c.readText, c.readSize)) << c.text << " at " << c.size;
}

// Seven-bit output whose lines never break inside a control word, before an
// escape's fallback or between the halves of a surrogate pair.
TEST(RtfWriter, WritesSevenBitLinesThatBreakOnlyBetweenTokens) {
    std::string text;
    for (int i = 0; i < 400; ++i) text += "ab\\{\té漢😀 ";
    const std::string rtf = WriteRtf({{{Alignment::Default, {{text, Style("宋体", 12, "", Color{1, 2, 3})}}}}});
    for (const char c : rtf) ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80 && c != 0);
    std::istringstream in(rtf);
    std::getline(in, text);  // the header line
    int lines = 0;
    for (std::string line; std::getline(in, line); ++lines) {
        EXPECT_LE(line.size(), 200u) << line;
        EXPECT_EQ((line.size() - line.find_last_not_of('\\') - 1) % 2, 0u) << line;
        EXPECT_TRUE(line.ends_with("\\par") || !std::regex_search(line, std::regex(R"(\\[a-z]+-?\d*$)"))) << line;
        EXPECT_FALSE(std::regex_search(line, std::regex(R"(\\u-10179\?$)"))) << line;
    }
    EXPECT_GT(lines, 20);
}

}  // namespace
}  // namespace fw
// clang-format on
