#include "framework/text/PlainTextReader.h"

#include "tests/support/StyledTextSupport.h"

#include <gtest/gtest.h>

// The case tables are laid out by hand, a row or a few to a line.
// clang-format off

namespace fw {
namespace {

using namespace std::string_literals;

// Each line end ends a paragraph, but the last adds none.
TEST(PlainTextReader, ReadsParagraphsOfUtf8Utf16Utf32OrWindows1252) {
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
        // UTF-16 and UTF-32 by their byte order mark; a unit that is no character reads as U+FFFD.
        {"\xFF\xFE" "a\0\n\0\xE9\0=\xD8\0\xDE"s, {"a", "\u00E9\U0001F600"}},
        {"\xFE\xFF\0a\0\r\0\n\xD8=\0b\xDC\0z"s, {"a", "\uFFFD" "b\uFFFD\uFFFD"}},
        {"\xFF\xFE\0\0" "a\0\0\0\0\0\x11\0\0\xD8\0\0"s, {"a\uFFFD\uFFFD"}},
        {"\0\0\xFE\xFF\0\x01\xF6\0\0\0"s, {"\U0001F600\uFFFD"}},
    };
    for (const Case& c : cases) EXPECT_EQ(TextsOf(ReadPlainText(c.bytes)), c.expected) << c.bytes;
}

// Text holds no control character but white space, escape and the DOS end mark.
TEST(PlainTextReader, TellsTextFromBinaryData) {
    for (const std::string text : {"", "tab\tline\nfeed\vform\fcr\r", "\x1B[1mbold\x1B[0m", "dos\x1A", "caf\xE9 \xC3\xA9"})
        EXPECT_TRUE(IsPlainText(text)) << text;
    EXPECT_TRUE(IsPlainText("\xFE\xFF\0a\0\n"s));
    for (const std::string& binary : {"a\0b"s, "\x01"s, "bell\x07"s, "\x7F" "ELF\x02"s, "\xFF\xFE\x01\0"s})
        EXPECT_FALSE(IsPlainText(binary)) << binary;
}

}  // namespace
}  // namespace fw
// clang-format on
