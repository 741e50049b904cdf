#include "framework/text/PlainTextReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fw {
namespace {

using Texts = std::vector<std::string>;

template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

Texts TextsOf(const StyledText& doc) {
    Texts texts;
    for (const StyledParagraph& paragraph : doc.paragraphs) {
        std::string text;
        for (const StyledRun& run : paragraph.runs) text += run.text;
        texts.push_back(text);
    }
    return texts;
}

// Each line end ends a paragraph, but the last adds none.
TEST(PlainTextReader, ReadsParagraphsOfUtf8OrWindows1252) {
    struct Case { std::string bytes; Texts expected; };
    const std::vector<Case> cases = {
        {"", {}}, {"a", {"a"}}, {"a\n", {"a"}}, {"a\r\n", {"a"}}, {"a\r", {"a"}}, {"\n", {""}}, {"\r\n", {""}},
        {"\n\n", {"", ""}}, {"a\n\n", {"a", ""}}, {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"\r\r\n", {"", ""}},      // CR, then CR LF
        {"\n\r", {"", ""}},        // LF, then CR: two ends
        {"a\u2029b\u2029", {"a", "b"}},
        {"a\u2028b", {"a\u2028b"}},  // a line break stays inside the paragraph
        {"a\tb", {"a\tb"}}, {"  spaced  ", {"  spaced  "}},
        // UTF-8, and its byte order mark dropped.
        {"\xEF\xBB\xBF" "abc", {"abc"}}, {"\xEF\xBB\xBF", {}},
        {"\xEF\xBB\xBF\xEF\xBB\xBF" "a", {"\uFEFF" "a"}},  // only the first is a mark
        {"caf\u00E9 \u4E2D\u6587 \U0001F600", {"caf\u00E9 \u4E2D\u6587 \U0001F600"}},
        {"\U0010FFFF", {"\U0010FFFF"}},
        // Windows-1252 where the bytes are not UTF-8.
        {"caf\xE9", {"caf\u00E9"}}, {"\x80 5", {"\u20AC 5"}},
        {"\x93quoted\x94\r\n\x85", {"\u201Cquoted\u201D", "\u2026"}}, {"\x8A\x9A\x9F", {"\u0160\u0161\u0178"}},
        // One invalid byte makes the whole file Windows-1252, valid pairs too.
        {"\xC3\xA9\xE9", {"\u00C3\u00A9\u00E9"}},
        {"\xC0\xAF", {"\u00C0\u00AF"}},              // overlong
        {"\xED\xA0\x80", {"\u00ED\u00A0\u20AC"}},    // an encoded surrogate
        {"\xF4\x90\x80\x80", {"\u00F4\u0090\u20AC\u20AC"}},  // above U+10FFFF
        {"abc\xE2\x82", {"abc\u00E2\u201A"}},       // cut inside a character
        {"\xFF\xFE", {"\u00FF\u00FE"}},
        // NUL bytes carry no text and would cut the text short wherever it is
        // handed on as a C string.
        {Bytes("a\0b\0\nc\0"), {"ab", "c"}}, {Bytes("\0"), {}}, {Bytes("\0\n"), {""}},
        {Bytes("caf\xE9\0"), {"caf\u00E9"}},
    };
    for (const Case& c : cases) EXPECT_EQ(TextsOf(ReadPlainText(c.bytes)), c.expected) << c.bytes;
}

TEST(PlainTextReader, RunsHaveTheDefaultStyleAndEmptyParagraphsNoRuns) {
    using P = StyledParagraph;
    EXPECT_EQ(ReadPlainText("one\n\ntwo three\n"),
              (StyledText{{P{Alignment::Default, {{"one", {}}}}, P{}, P{Alignment::Default, {{"two three", {}}}}}}));
}

}  // namespace
}  // namespace fw
