#include "framework/text/PlainTextReader.h"

#include "tests/support/StyledTextSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The case tables are laid out by hand, a row or a few to a line.
// clang-format off

namespace fw {
namespace {

using namespace std::string_literals;

// Each line end ends a paragraph, but the last adds none.
TEST(PlainTextReader, ReadsParagraphsOfUtf8OrWindows1252) {
    struct Case { std::string bytes; Texts expected; };
    const std::vector<Case> cases = {
        {"", {}}, {"a\n", {"a"}}, {"\n\n", {"", ""}}, {"a\rb\nc\r\nd", {"a", "b", "c", "d"}}, {"\r\r\n", {"", ""}},
        {"\n\r", {"", ""}}, {"a\u2029b\u2029", {"a", "b"}}, {"a\u2028b\tc", {"a\u2028b\tc"}},
        // UTF-8 with its byte order mark dropped, only the first.
        {"\xEF\xBB\xBF" "abc", {"abc"}}, {"\xEF\xBB\xBF\xEF\xBB\xBF" "a", {"\uFEFF" "a"}},
        {"caf\u00E9 \u4E2D \U0001F600", {"caf\u00E9 \u4E2D \U0001F600"}},
        // Windows-1252 where the bytes are not UTF-8: one invalid byte decides for the whole file.
        {"\x93q\x94\r\n\x85 \x80", {"\u201Cq\u201D", "\u2026 \u20AC"}}, {"\xC3\xA9\xE9", {"\u00C3\u00A9\u00E9"}},
        {"\xC0\xAF", {"\u00C0\u00AF"}}, {"\xED\xA0\x80", {"\u00ED\u00A0\u20AC"}}, {"abc\xE2\x82", {"abc\u00E2\u201A"}},
        // NUL bytes carry no text and would cut it short wherever it is handed on as a C string.
        {"a\0b\0\nc\0"s, {"ab", "c"}}, {"\0\n"s, {""}},
    };
    for (const Case& c : cases) EXPECT_EQ(TextsOf(ReadPlainText(c.bytes)), c.expected) << c.bytes;
}

TEST(PlainTextReader, RunsHaveTheDefaultStyleAndEmptyParagraphsNoRuns) {
    using P = StyledParagraph;
    EXPECT_EQ(ReadPlainText("one\n\ntwo three\n"),
              (StyledText{{P{Alignment::Default, {{"one", {}}}}, P{}, P{Alignment::Default, {{"two three", {}}}}}}));
}

// Text holds no control character but white space, escape and the DOS end mark.
TEST(PlainTextReader, TellsTextFromBinaryData) {
    for (const std::string text : {"", "tab\tline\nfeed\vform\fcr\r", "\x1B[1mbold\x1B[0m", "dos\x1A", "caf\xE9 \xC3\xA9"})
        EXPECT_TRUE(IsPlainText(text)) << text;
    for (const std::string& binary : {"a\0b"s, "\x01"s, "bell\x07"s, "\x7F" "ELF\x02"s})
        EXPECT_FALSE(IsPlainText(binary)) << binary;
}

}  // namespace
}  // namespace fw
// clang-format on
