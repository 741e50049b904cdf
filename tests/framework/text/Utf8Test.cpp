#include "framework/text/Utf8.h"

#include "framework/qt/QtConvert.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The case tables are laid out by hand, a row or a few to a line.
// clang-format off

namespace {

// Each byte that begins no well-formed sequence reads as one U+FFFD; what
// follows it is read afresh.
TEST(Utf8, EachDamagedByteIsOneReplacementCharacter) {
    const std::vector<std::pair<std::string, std::u16string>> cases{
        {"plain ASCII, longer than eight", u"plain ASCII, longer than eight"},
        {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", u"\u00E9\u20AC\U0001F600"}, {"a\xFF" "b", u"a\uFFFDb"},
        {"\xC0\xA0", u"\uFFFD\uFFFD"} /* overlong blank */, {"\xE2\x82" "x", u"\uFFFD\uFFFDx"} /* cut short */,
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"} /* encoded surrogate */,
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"} /* above U+10FFFF */,
        {"abcdefg\x80\xE2\x80\xA8", u"abcdefg\uFFFD\u2028"}, {"\xF0\x9F\x98", u"\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& [bytes, read] : cases) {
        std::u16string units(bytes.size(), u'\0');
        units.resize(fw::utf8::ToUtf16(bytes, units.data()));
        EXPECT_EQ(units, read) << bytes;
        EXPECT_EQ(fw::utf8::Utf16Length(bytes), read.size()) << bytes;
        EXPECT_EQ(fw::utf8::IsValid(bytes), read.find(u'\uFFFD') == std::u16string::npos) << bytes;
        // The widgets read text by the same rule.
        EXPECT_EQ(fw::ToQt(bytes), QString::fromStdU16String(read)) << bytes;
    }
}

TEST(Utf8, WritesScalarValuesAndReplacesTheRest) {
    std::string out;
    for (const char32_t cp : {U'a', U'\u00E9', U'\u20AC', U'\U0010FFFF', char32_t(0xD800), char32_t(0x110000)})
        fw::utf8::Append(out, cp);
    EXPECT_EQ(out, "a\u00E9\u20AC\U0010FFFF\uFFFD\uFFFD");
}

}  // namespace
// clang-format on
