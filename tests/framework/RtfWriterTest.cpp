#include "framework/text/RtfWriter.h"

#include "framework/text/RtfReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fw {
namespace {

CharStyle Style(std::string font, double size, bool bold = false, bool italic = false,
                bool underline = false, std::optional<Color> color = std::nullopt) {
    CharStyle s;
    s.font = std::move(font);
    s.size = size;
    s.bold = bold;
    s.italic = italic;
    s.underline = underline;
    s.color = color;
    return s;
}

StyledText OneRun(std::string text, CharStyle style = Style("Arial", 12)) {
    StyledText doc;
    doc.paragraphs.push_back({Alignment::Default, {{std::move(text), std::move(style)}}});
    return doc;
}

std::vector<std::string> Lines(const std::string& rtf) {
    std::vector<std::string> lines;
    std::istringstream in(rtf);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::size_t Count(const std::string& haystack, const std::string& needle) {
    std::size_t n = 0;
    for (auto pos = haystack.find(needle); pos != std::string::npos;
         pos = haystack.find(needle, pos + needle.size())) {
        ++n;
    }
    return n;
}

// The part of the output after the colour table, where the paragraphs are.
std::string Body(const std::string& rtf) {
    const auto colortbl = rtf.find("{\\colortbl");
    return rtf.substr(rtf.find('}', colortbl) + 1);
}

// ---------------------------------------------------------------------------
// The text of the output itself.

TEST(RtfWriterOutput, EmptyDocumentIsCompleteRtfWithoutParagraphs) {
    const std::string rtf = WriteRtf(StyledText{});
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1", 0), 0u) << rtf;
    EXPECT_EQ(rtf.find("\\par"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("{\\colortbl;}"), std::string::npos) << rtf;
    EXPECT_EQ(Count(rtf, "{"), Count(rtf, "}"));
    EXPECT_EQ(rtf.substr(rtf.find_last_not_of('\n')), "}\n");
}

TEST(RtfWriterOutput, FontTableListsEachUsedFontOnceInOrderOfUse) {
    StyledText doc;
    doc.paragraphs.push_back({Alignment::Default,
                              {{"a", Style("Times", 12)}, {"b", Style("Courier", 12, true)}}});
    doc.paragraphs.push_back({Alignment::Default,
                              {{"c", Style("Times", 14)}, {"", Style("Unused", 12)}}});
    const std::string rtf = WriteRtf(doc);
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fnil\\fcharset0 Times;}{\\f1\\fnil\\fcharset0 Courier;}}"),
              std::string::npos)
        << rtf;
    EXPECT_EQ(rtf.find("Unused"), std::string::npos);
    EXPECT_EQ(Count(Body(rtf), "\\f1"), 1u);
}

TEST(RtfWriterOutput, RunWithoutFontUsesUnnamedFontZero) {
    StyledText doc;
    doc.paragraphs.push_back(
        {Alignment::Default, {{"x", Style("Times", 12)}, {"y", Style("", 12, true)}}});
    const std::string rtf = WriteRtf(doc);
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fnil\\fcharset0 ;}{\\f1\\fnil\\fcharset0 Times;}}"),
              std::string::npos)
        << rtf;
    // The nameless font is not named as the associated font either, so that
    // other programs keep their own font for every script.
    EXPECT_NE(Body(rtf).find("\\plain\\rtlch\\afs24\\ab\\ltrch\\f0\\fs24\\b\\i0\\ulnone\\cf0 y"),
              std::string::npos)
        << rtf;
}

TEST(RtfWriterOutput, FontNamesEscapeTerminatorBracesBackslashAndNonAscii) {
    const std::string rtf = WriteRtf(OneRun("x", Style("A;B{C}\\D \xC3\xA9\xE5\xAE\x8B", 12)));
    EXPECT_NE(rtf.find("{\\f0\\fnil\\fcharset0 A\\'3bB\\'7bC\\'7d\\'5cD \\u233e\\u23435?;}"),
              std::string::npos)
        << rtf;
}

TEST(RtfWriterOutput, ColourTableHasEmptyFirstEntryAndEachColourOnce) {
    const Color red{255, 0, 0};
    const Color black{0, 0, 0};
    StyledText doc;
    doc.paragraphs.push_back({Alignment::Default,
                              {{"r", Style("F", 12, false, false, false, red)},
                               {"k", Style("F", 12, false, false, false, black)},
                               {"a", Style("F", 12)},
                               {"R", Style("F", 12, true, false, false, red)}}});
    const std::string rtf = WriteRtf(doc);
    EXPECT_NE(rtf.find("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue0;}"),
              std::string::npos)
        << rtf;
    const std::string body = Body(rtf);
    EXPECT_NE(body.find("\\cf1 r"), std::string::npos) << body;
    EXPECT_NE(body.find("\\cf2 k"), std::string::npos) << body;
    EXPECT_NE(body.find("\\cf0 a"), std::string::npos) << body;
    EXPECT_NE(body.find("\\cf1 R"), std::string::npos) << body;
}

TEST(RtfWriterOutput, EveryRunStatesItsWholeFormat) {
    StyledText doc;
    doc.paragraphs.push_back({Alignment::Default,
                              {{"one", Style("F", 12, true, true, true)},
                               {"two", Style("F", 12)}}});
    const std::string body = Body(WriteRtf(doc));
    EXPECT_NE(body.find("\\rtlch\\af0\\afs24\\ab\\ai\\ltrch\\dbch\\af0\\loch\\f0\\fs24\\b\\i\\ul\\cf0 one"),
              std::string::npos)
        << body;
    EXPECT_NE(body.find("\\plain\\rtlch\\af0\\afs24\\ltrch\\dbch\\af0\\loch\\f0\\fs24\\b0\\i0\\ulnone\\cf0 two"),
              std::string::npos)
        << body;
}

// Other programs apply \f, \fs, \b and \i to Latin text only (\f) or not
// to right-to-left text, so each run says them again as associated words:
// after \rtlch for complex scripts and after \dbch for East Asian fonts.
TEST(RtfWriterOutput, RunsRepeatTheirFormatAsAssociatedWordsForOtherScripts) {
    StyledText doc;
    doc.paragraphs.push_back(
        {Alignment::Default,
         {{"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", Style("Times", 14, true, true)},  // Hebrew
          {", ", Style("Arial", 10.5)},
          {"\xE6\xBC\xA2\xE5\xAD\x97", Style("Times", 9, false, true, true)}}});  // Chinese
    const std::string body = Body(WriteRtf(doc));
    EXPECT_NE(body.find("\\pard\\plain\\rtlch\\af0\\afs28\\ab\\ai\\ltrch\\dbch\\af0\\loch"
                        "\\f0\\fs28\\b\\i\\ulnone\\cf0 \\u1513?"),
              std::string::npos)
        << body;
    // Punctuation between other scripts takes their script, so a run
    // without such characters states the associated words as well.
    EXPECT_NE(body.find("\\plain\\rtlch\\af1\\afs21\\ltrch\\dbch\\af1\\loch\\f1\\fs21\\b0\\i0\\ulnone\\cf0 , "),
              std::string::npos)
        << body;
    EXPECT_NE(body.find("\\plain\\rtlch\\af0\\afs18\\ai\\ltrch\\dbch\\af0\\loch\\f0\\fs18\\b0\\i\\ul\\cf0 \\u28450?"),
              std::string::npos)
        << body;
}

// Off, the reader's own font and the reader's own size are what \plain
// gives, so a run in the field's own format states no associated word.
TEST(RtfWriterOutput, RunInTheFieldsOwnFormatStatesNoAssociatedWords) {
    StyledText doc;
    doc.paragraphs.push_back({Alignment::Default, {{"x", Style("", 0)}, {"y", Style("", 0, false, true)}}});
    const std::vector<std::string> lines = Lines(Body(WriteRtf(doc)));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "\\pard\\plain\\f0\\b0\\i0\\ulnone\\cf0 x\\plain\\rtlch\\ai\\ltrch\\f0\\b0\\i\\ulnone\\cf0 y\\par");
}

TEST(RtfWriterOutput, SizesAreWholeHalfPoints) {
    // The size as \fs, after making sure the associated \afs says the same.
    auto sizeWord = [](double size) {
        const std::string body = Body(WriteRtf(OneRun("x", Style("F", size))));
        std::smatch m;
        const std::string fs = std::regex_search(body, m, std::regex(R"(\\fs(\d+))")) ? m.str(1) : std::string();
        const std::string afs = std::regex_search(body, m, std::regex(R"(\\afs(\d+))")) ? m.str(1) : std::string();
        EXPECT_EQ(afs, fs) << body;
        return fs.empty() ? fs : "\\fs" + fs;
    };
    EXPECT_EQ(sizeWord(12), "\\fs24");
    EXPECT_EQ(sizeWord(10.5), "\\fs21");
    EXPECT_EQ(sizeWord(10.3), "\\fs21");
    EXPECT_EQ(sizeWord(10.2), "\\fs20");
    EXPECT_EQ(sizeWord(0.1), "\\fs1");
    EXPECT_EQ(sizeWord(100000), "\\fs32767");
    // A run without a size of its own leaves the size to the reader.
    EXPECT_EQ(sizeWord(0), "");
}

TEST(RtfWriterOutput, RunWithoutSizeDoesNotInheritThePreviousRunsSize) {
    StyledText doc;
    doc.paragraphs.push_back(
        {Alignment::Default, {{"big", Style("F", 30)}, {"default", Style("F", 0)}}});
    const std::string body = Body(WriteRtf(doc));
    const auto big = body.find("big");
    const auto plain = body.find("\\plain", big);
    ASSERT_NE(plain, std::string::npos) << body;
    EXPECT_LT(plain, body.find("default"));
}

TEST(RtfWriterOutput, EscapesBackslashAndBraces) {
    const std::string body = Body(WriteRtf(OneRun("a\\b{c}d")));
    EXPECT_NE(body.find(" a\\\\b\\{c\\}d\\par"), std::string::npos) << body;
}

TEST(RtfWriterOutput, TabsAndLineBreaksAreControlWords) {
    const std::string body = Body(WriteRtf(OneRun("a\tb\xE2\x80\xA8" "c")));
    EXPECT_NE(body.find("a\\tab b\\line c"), std::string::npos) << body;
}

TEST(RtfWriterOutput, StrayLineEndsInRunTextBecomeLineBreaks) {
    const std::string body = Body(WriteRtf(OneRun("a\nb\r\nc\rd")));
    EXPECT_NE(body.find("a\\line b\\line c\\line d"), std::string::npos) << body;
}

TEST(RtfWriterOutput, NonAsciiIsSignedUnicodeEscapeWithFallback) {
    const std::string body =
        Body(WriteRtf(OneRun("\xC3\xA9\xC5\xA1\xCE\xB1\xE4\xB8\xAD\xEF\xBF\xBD\xE8\x80\x80\xE2\x80\x9C")));
    // é, š, α, 中, U+FFFD, U+8000, left double quote.
    EXPECT_NE(body.find("\\u233e\\u353s\\u945?\\u20013?\\u-3?\\u-32768?\\u8220\""),
              std::string::npos)
        << body;
}

TEST(RtfWriterOutput, CharactersBeyondBmpAreSurrogatePairs) {
    const std::string body = Body(WriteRtf(OneRun("\xF0\x9F\x98\x80")));  // U+1F600
    EXPECT_NE(body.find("\\u-10179?\\u-8704?"), std::string::npos) << body;
}

TEST(RtfWriterOutput, MalformedUtf8BecomesReplacementCharacters) {
    const std::string body = Body(WriteRtf(OneRun("a\xFF" "b\xE4\xB8" "c\xED\xA0\x80" "d")));
    EXPECT_NE(body.find("a\\u-3?b\\u-3?\\u-3?c\\u-3?\\u-3?\\u-3?d"), std::string::npos) << body;
}

TEST(RtfWriterOutput, OutputIsSevenBitAscii) {
    StyledText doc = OneRun("caf\xC3\xA9 \xCE\xB1\xCE\xB2 \xD0\x96 \xE6\xBC\xA2 \xF0\x9F\x98\x80",
                            Style("\xE5\xAE\x8B\xE4\xBD\x93", 12));
    const std::string rtf = WriteRtf(doc);
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80 && c != 0; }))
        << rtf;
}

TEST(RtfWriterOutput, ParagraphsStartWithResetsAndAlignmentAndEndWithParAndNewline) {
    StyledText doc;
    doc.paragraphs.push_back({Alignment::Default, {{"d", Style("F", 12)}}});
    doc.paragraphs.push_back({Alignment::Left, {{"l", Style("F", 12)}}});
    doc.paragraphs.push_back({Alignment::Center, {{"c", Style("F", 12)}}});
    doc.paragraphs.push_back({Alignment::Right, {}});
    const std::vector<std::string> lines = Lines(Body(WriteRtf(doc)));
    ASSERT_EQ(lines.size(), 6u);  // The rest of the colour-table line, four paragraphs, "}".
    const std::string run = "\\rtlch\\af0\\afs24\\ltrch\\dbch\\af0\\loch\\f0\\fs24\\b0\\i0\\ulnone\\cf0 ";
    EXPECT_EQ(lines[1], "\\pard\\plain" + run + "d\\par");
    EXPECT_EQ(lines[2], "\\pard\\plain\\ql" + run + "l\\par");
    EXPECT_EQ(lines[3], "\\pard\\plain\\qc" + run + "c\\par");
    EXPECT_EQ(lines[4], "\\pard\\plain\\qr\\par");
    EXPECT_EQ(lines[5], "}");
}

TEST(RtfWriterOutput, LongLinesBreakOnlyBetweenTokens) {
    std::string text;
    for (int i = 0; i < 400; ++i) {
        text += "ab\\{\t\xC3\xA9\xE6\xBC\xA2\xF0\x9F\x98\x80 ";
    }
    const std::string rtf = WriteRtf(OneRun(text, Style("F", 12, false, false, false, Color{1, 2, 3})));
    const std::vector<std::string> lines = Lines(rtf);
    EXPECT_GT(lines.size(), 20u);
    const std::regex escapeWithoutFallback(R"(\\u-?\d+$)");
    const std::regex lastEscape(R"(\\u(-?\d+)\?$)");
    const std::regex unfinishedWord(R"(\\[a-z]+-?\d*$)");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        EXPECT_LE(line.size(), 200u) << line;
        // After the header line, a line never ends inside a control word or symbol, before an
        // escape's fallback, or between the two halves of a surrogate pair.
        const auto backslashes = line.size() - line.find_last_not_of('\\') - 1;
        EXPECT_EQ(backslashes % 2, 0u) << line;
        EXPECT_FALSE(std::regex_search(line, escapeWithoutFallback)) << line;
        if (!line.ends_with("\\par")) {
            EXPECT_FALSE(std::regex_search(line, unfinishedWord)) << line;
        }
        std::smatch m;
        if (std::regex_search(line, m, lastEscape)) {
            const int unit = std::stoi(m.str(1));
            EXPECT_FALSE(unit >= -10240 && unit <= -9217) << line;
        }
    }
    std::string joined;
    for (const auto& line : lines) joined += line;
    EXPECT_EQ(Count(joined, "\\u-10179?\\u-8704?"), 400u);
    EXPECT_EQ(Count(joined, "\\tab "), 400u);
}

// ---------------------------------------------------------------------------
// Reading the output back gives the document run for run.

class RtfWriterRoundTrip : public ::testing::Test {
protected:
    static void ExpectRoundTrip(const StyledText& doc) {
        const std::string rtf = WriteRtf(doc);
        const StyledText back = ReadRtf(rtf);
        ASSERT_EQ(back.paragraphs.size(), doc.paragraphs.size()) << rtf;
        for (std::size_t p = 0; p < doc.paragraphs.size(); ++p) {
            const auto& want = doc.paragraphs[p];
            const auto& got = back.paragraphs[p];
            EXPECT_EQ(got.alignment, want.alignment) << "paragraph " << p << "\n" << rtf;
            ASSERT_EQ(got.runs.size(), want.runs.size()) << "paragraph " << p << "\n" << rtf;
            for (std::size_t r = 0; r < want.runs.size(); ++r) {
                EXPECT_EQ(got.runs[r].text, want.runs[r].text) << "paragraph " << p << " run " << r;
                EXPECT_EQ(got.runs[r].style.font, want.runs[r].style.font)
                    << "paragraph " << p << " run " << r;
                EXPECT_EQ(got.runs[r].style.size, want.runs[r].style.size)
                    << "paragraph " << p << " run " << r;
                EXPECT_EQ(got.runs[r].style.bold, want.runs[r].style.bold);
                EXPECT_EQ(got.runs[r].style.italic, want.runs[r].style.italic);
                EXPECT_EQ(got.runs[r].style.underline, want.runs[r].style.underline);
                EXPECT_EQ(got.runs[r].style.color, want.runs[r].style.color)
                    << "paragraph " << p << " run " << r;
            }
        }
        EXPECT_TRUE(back == doc);
    }
};

TEST_F(RtfWriterRoundTrip, EmptyDocument) {
    ExpectRoundTrip(StyledText{});
}

TEST_F(RtfWriterRoundTrip, MixedFontsSizesAndStyles) {
    StyledText doc;
    doc.paragraphs.push_back({Alignment::Default,
                              {{"Times ", Style("Times New Roman", 12)},
                               {"bold ", Style("Times New Roman", 12, true)},
                               {"italic ", Style("Times New Roman", 12, false, true)},
                               {"underlined ", Style("Times New Roman", 12, false, false, true)},
                               {"all three", Style("Courier New", 9, true, true, true)}}});
    doc.paragraphs.push_back({Alignment::Default,
                              {{"10.5 pt ", Style("Arial", 10.5)},
                               {"72 pt ", Style("Arial", 72)},
                               {"7.5 pt", Style("DejaVu Sans Mono", 7.5, false, true)}}});
    ExpectRoundTrip(doc);
}

TEST_F(RtfWriterRoundTrip, RunWithoutFontComesBackWithoutFont) {
    StyledText doc;
    doc.paragraphs.push_back({Alignment::Default,
                              {{"field font ", Style("", 12)},
                               {"Arial ", Style("Arial", 12)},
                               {"field font bold", Style("", 12, true)}}});
    ExpectRoundTrip(doc);
}

TEST_F(RtfWriterRoundTrip, FontNamesWithSpecialCharacters) {
    StyledText doc;
    doc.paragraphs.push_back({Alignment::Default,
                              {{"a", Style("Odd;Name", 12)},
                               {"b", Style("{Braced}\\Font", 12)},
                               {"c", Style("\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91", 12)},
                               {"d", Style("Caf\xC3\xA9 Sans", 12)}}});
    ExpectRoundTrip(doc);
}

TEST_F(RtfWriterRoundTrip, Colours) {
    StyledText doc;
    doc.paragraphs.push_back(
        {Alignment::Default,
         {{"red ", Style("Arial", 12, false, false, false, Color{255, 0, 0})},
          {"automatic ", Style("Arial", 12)},
          {"black ", Style("Arial", 12, false, false, false, Color{0, 0, 0})},
          {"white ", Style("Arial", 12, false, false, false, Color{255, 255, 255})},
          {"odd", Style("Arial", 12, true, false, false, Color::FromRGB(0x12AB7F))}}});
    doc.paragraphs.push_back(
        {Alignment::Default,
         {{"red again", Style("Arial", 14, false, false, false, Color{255, 0, 0})}}});
    ExpectRoundTrip(doc);
}

TEST_F(RtfWriterRoundTrip, Alignments) {
    StyledText doc;
    doc.paragraphs.push_back({Alignment::Default, {{"default", Style("Arial", 12)}}});
    doc.paragraphs.push_back({Alignment::Left, {{"left", Style("Arial", 12)}}});
    doc.paragraphs.push_back({Alignment::Center, {{"centre", Style("Arial", 12)}}});
    doc.paragraphs.push_back({Alignment::Right, {{"right", Style("Arial", 12)}}});
    doc.paragraphs.push_back({Alignment::Center, {}});
    ExpectRoundTrip(doc);
}

TEST_F(RtfWriterRoundTrip, TabsLineBreaksAndEscapedCharacters) {
    StyledText doc;
    doc.paragraphs.push_back(
        {Alignment::Default,
         {{"\tname\tvalue\t", Style("Arial", 12)},
          {"line one\xE2\x80\xA8line two\xE2\x80\xA8", Style("Arial", 12, true)},
          {"back\\slash {braces} }{ \\par \\u233? text", Style("Arial", 12)}}});
    doc.paragraphs.push_back({Alignment::Default, {{"  leading and trailing  ", Style("Arial", 12)}}});
    ExpectRoundTrip(doc);
}

TEST_F(RtfWriterRoundTrip, EmptyParagraphs) {
    StyledText doc;
    doc.paragraphs.push_back({Alignment::Default, {}});
    doc.paragraphs.push_back({Alignment::Default, {{"between", Style("Arial", 12)}}});
    doc.paragraphs.push_back({Alignment::Default, {}});
    doc.paragraphs.push_back({Alignment::Default, {}});
    doc.paragraphs.push_back({Alignment::Default, {{"before last", Style("Arial", 12)}}});
    doc.paragraphs.push_back({Alignment::Default, {}});
    ExpectRoundTrip(doc);

    StyledText single;
    single.paragraphs.push_back({Alignment::Default, {}});
    ExpectRoundTrip(single);
}

TEST_F(RtfWriterRoundTrip, TextInManyScripts) {
    StyledText doc;
    doc.paragraphs.push_back(
        {Alignment::Default,
         {{"Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e, \xC5\x81\xC3\xB3" "d\xC5\xBA, \xC3\x86gir ", Style("Arial", 12)},
          {"\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC ", Style("Arial", 12, true)},
          {"\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9 ", Style("Arial", 12, false, true)}}});
    doc.paragraphs.push_back(
        {Alignment::Right,
         {{"\xE6\xBC\xA2\xE5\xAD\x97\xE3\x81\x8B\xE3\x81\xAA\xED\x95\x9C\xEA\xB8\x80 ",
           Style("Noto Sans CJK JP", 10.5)},
          {"\xF0\x9F\x98\x80\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD ", Style("Noto Color Emoji", 12)},
          {"e\xCC\x81 a\xCC\x8A\xCC\xA3 ", Style("Arial", 12, false, false, true)},
          {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD8\xB3\xD9\x84\xD8\xA7\xD9\x85 \xE0\xA4\xA8\xE0\xA4\xAE\xE0\xA4\xB8\xE0\xA5\x8D\xE0\xA4\xA4\xE0\xA5\x87",
           Style("Arial", 12, false, false, false, Color{0, 0, 255})}}});
    ExpectRoundTrip(doc);
}

// The associated words that carry the format of right-to-left and East
// Asian text change nothing when the document is read back.
TEST_F(RtfWriterRoundTrip, RightToLeftAndEastAsianRunsWithFullFormat) {
    StyledText doc;
    doc.paragraphs.push_back(
        {Alignment::Right,
         {{"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D ", Style("DejaVu Sans", 16, true, true)},
          {"\xD8\xB3\xD9\x84\xD8\xA7\xD9\x85", Style("DejaVu Sans", 20, false, true, true, Color{0, 0, 128})},
          {" 123 ", Style("", 12)},
          {"\xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA", Style("", 11, true)}}});
    doc.paragraphs.push_back(
        {Alignment::Default,
         {{"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", Style("Droid Sans Fallback", 14, true)},
          {"\xE3\x80\x81", Style("Droid Sans Fallback", 14)},
          {"\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4", Style("Noto Sans CJK KR", 9, false, true)},
          {" Latin after", Style("Arial", 12)},
          {" default font", Style("", 12, false, false, true)}}});
    ExpectRoundTrip(doc);
}

TEST_F(RtfWriterRoundTrip, LongDocumentWithWrappedLines) {
    StyledText doc;
    for (int p = 0; p < 200; ++p) {
        StyledParagraph para;
        para.alignment = static_cast<Alignment>(p % 4);
        for (int r = 0; r < 5; ++r) {
            std::string text;
            for (int k = 0; k < 30; ++k) text += "w\xC3\xB6rd \xE6\xBC\xA2 ";
            para.runs.push_back({text + std::to_string(p * 5 + r),
                                 Style("Font" + std::to_string(r), 8 + r * 1.5, r % 2 == 1,
                                       r % 3 == 1, r == 4,
                                       r == 2 ? std::optional<Color>(Color{0, 128, 0})
                                              : std::nullopt)});
        }
        doc.paragraphs.push_back(std::move(para));
    }
    ExpectRoundTrip(doc);
}

}  // namespace
}  // namespace fw
