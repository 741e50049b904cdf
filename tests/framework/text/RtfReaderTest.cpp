#include "framework/text/RtfReader.h"
#include "tests/support/StyledTextSupport.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <gtest/gtest.h>

#include <cstdio>

// The case tables are laid out by hand, a row or a few to a line.
// clang-format off

namespace fw {
namespace {

const std::string kHeader = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                            "{\\f1\\fcharset128 MS Mincho;}{\\f2\\fcharset204 Cyr;}{\\f3\\fcharset2 Symbol;}}"
                            "{\\colortbl;\\red255\\green0\\blue0;}";

struct Case { std::string body; Texts expected; };

// Each body read inside the header above, or as the whole document when it starts as one.
void ExpectTexts(const std::vector<Case>& cases, bool whole = false) {
    for (const Case& c : cases) {
        const std::string rtf = whole || c.body.starts_with("{\\rtf") ? c.body : kHeader + c.body + "}";
        EXPECT_EQ(TextsOf(ReadRtf(rtf)), c.expected) << c.body;
    }
}

TEST(RtfReader, RecognisesOnlyAnRtfGroupAtTheStart) {
    for (const char* rtf : {"{\\rtf1\\ansi}", "{\\rtf", "\xEF\xBB\xBF{\\rtf1}", " \t\r\n{\\rtf1}"})
        EXPECT_TRUE(LooksLikeRtf(rtf)) << rtf;
    for (const char* other : {"", "{\\rt", "{\\RTF1}", "{ \\rtf1}", "x{\\rtf1}", "\xEF\xBB{\\rtf1}", "Hello {\\rtf1}"})
        EXPECT_FALSE(LooksLikeRtf(other)) << other;
}

TEST(RtfReader, SplitsParagraphsKeepsBreaksAndSymbolsAndSkipsDestinations) {
    ExpectTexts({
        {"", {}}, {"a\\par b", {"a", "b"}}, {"a\\par\\par", {"a", ""}}, {"a\\line b\\tab c", {"a\u2028b\tc"}},
        {"a\\cell b\\cell\\row c", {"a\tb", "c"}}, {"a\\sect b\\page c", {"a", "b", "c"}}, {"a\r\nb\rc", {"abc"}},
        {"Hello\\\nWorld", {"Hello", "World"}}, {"\\{\\}\\\\", {"{}\\"}}, {"\\b  two", {" two"}},
        {"\\~\\-\\_\\emdash\\endash\\bullet\\lquote\\rdblquote", {"\u00A0\u00AD\u2011\u2014\u2013\u2022\u2018\u201D"}},
        {"{\\unknownword kept}\\:\\|x", {"keptx"}}, {"a\\par}b", {"a"}},
        // Destinations and binary data are skipped, but not the results they hold.
        {"{\\info{\\title T}}{\\stylesheet{\\s1 Heading;}}{\\header H\\par}ab", {"ab"}},
        {"{\\*\\unknowndestination x{y}z}{\\*\\generator R;}{\\pict\\pngblip 89504e47}a", {"a"}},
        {"{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}", {"link"}},
        {"{\\object{\\*\\objdata 0102}{\\result shown}}{\\upr{ansi}{\\*\\ud{ unicode}}}", {"shown unicode"}},
        {"{\\pict\\bin4 }}}}}a\\bin3 {{{b", {"ab"}}, {"a\\binfsxn1 b", {"ab"}},
    });
}

TEST(RtfReader, ReadsUnicodeEscapesSkippingTheirFallbackAndBytesByFontCharsetOrCodePage) {
    const std::string grin = "\U0001F600";
    ExpectTexts({
        {"\\u8364?10", {"\u20AC10"}}, {"\\u-10916?", {"\uD55C"}}, {"\\uc0\\u8364 10", {"\u20AC10"}},
        {"\\uc2\\u8364\\'80\\'80x", {"\u20ACx"}}, {"\\u8364\r\n?x", {"\u20ACx"}}, {"{\\uc3\\u8364?}x", {"\u20ACx"}},
        {"\\u8364\\par x", {"\u20ACx"}}, {"\\u0?x", {"x"}}, {"\\u99999999999999?x", {"\uFFFDx"}}, {"\\u?x", {"?x"}},
        {"\\u55357?\\u56832?", {grin}}, {"\\uc0 \\u55357\\uc1 \\u56832\\'3f", {grin}}, {"a\\u55357?x", {"a\uFFFDx"}},
        {"a\\u56832?x", {"a\uFFFDx"}}, {"\\u55357?\\par\\u56832?", {"\uFFFD", "\uFFFD"}},
        {"\\u65536?\\u-32769?\\u2147483647?\\u-2147483648?\\u1114111?\\u65?\\u65535?\\u-1?.",
         {"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDA\xEF\xBF\xBF\xEF\xBF\xBF."}},
        {"\\uc2147483647 \\u65?bcd{e}\\uc-9 \\u66?f", {"AeB?f"}},  // counts beyond range
        // Escaped bytes decode by the font's charset or code page, else the document's (each byte of
        // Windows-1252 and Mac Roman below).
        {"{\\rtf1\\ansi caf\xE9}", {"caf\u00E9"}}, {"{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'e1}", {"\u0410\u0431"}},
        {"{\\rtf1\\pc \\'82\\'b0}", {"\u00E9\u2591"}},
        {"\\f2\\'c0{\\f0\\'c0}\\f7\\'c0", {"\u0410\u00C0\u00C0"}},  // a group restores the font; \f7 is unknown
        {"{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}\\'c0}", {"\u0410"}},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset238\\cpg1251 A;}}\\f0\\'c0}", {"\u0410"}},
        // Shift_JIS: pairs split by line ends or written as a plain trail byte, lone leads, half-width kana.
        {"\\f1\\'82\\'a0\\'82\r\n\\'a2", {"\u3042\u3044"}}, {"\\f1\\'82 x\\'b1", {"\uFFFD x\uFF71"}},
    });
}

// The built-in tables of the two code pages that must always work, byte for
// byte against the system's converters.
TEST(RtfReader, Windows1252AndMacRomanMatchTheSystemConverters) {
    for (const auto& [header, converter] : {std::pair{"{\\rtf1\\ansi ", "windows-1252"}, {"{\\rtf1\\mac ", "macintosh"}}) {
        QStringDecoder decoder(converter);
        ASSERT_TRUE(decoder.isValid()) << converter;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\'%02x", byte);
            const QString expected = decoder.decode(QByteArray(1, static_cast<char>(byte)));
            ASSERT_EQ(TextsOf(ReadRtf(std::string(header) + hex + "}")), Texts{expected.toStdString()}) << byte;
        }
    }
}

TEST(RtfReader, ReadsSizeBoldItalicUnderlineAndColourOfTheLastRun) {
    const auto arial = [](double size, std::string_view faces = "", std::optional<Color> color = {}) {
        return Style("Arial", size, faces, color);
    };
    const Color red{255, 0, 0};
    const std::vector<std::pair<std::string, CharStyle>> cases{
        {"x", arial(12)}, {"\\fs21 x", arial(10.5)}, {"\\fs0 x", arial(12)}, {"\\b\\b0\\b1 x", arial(12, "b")},
        {"\\i x", arial(12, "i")}, {"\\uldb x", arial(12, "u")}, {"\\ulwave\\ulnone\\ulc1 x", arial(12)},
        {"\\cf1 x", arial(12, "", red)}, {"\\cf1\\cf0\\cf9 x", arial(12)},
        {"\\b\\i\\ul\\fs40\\cf1\\plain x", arial(12)}, {"\\rtlch\\afs40\\ab\\ai\\ltrch x", arial(12)},
        {"\\b\\u8364\\b0 x", arial(12, "b")},  // \b0 was the fallback
    };
    for (const auto& [body, style] : cases) {
        const StyledText doc = ReadRtf(kHeader + body + "}");
        ASSERT_FALSE(doc.paragraphs.empty() || doc.paragraphs.back().runs.empty()) << body;
        EXPECT_EQ(doc.paragraphs.back().runs.back().style, style) << body;
    }
    // Groups restore the format, and neighbouring runs of one format merge.
    EXPECT_EQ(ReadRtf(kHeader + "a {\\b b {\\i c}} {\\b d}{\\b e}}").paragraphs.at(0).runs,
              (std::vector<StyledRun>{{"a ", arial(12)}, {"b ", arial(12, "b")}, {"c", arial(12, "bi")},
                                      {" ", arial(12)}, {"de", arial(12, "b")}}));
}

TEST(RtfReader, ReadsTheAlignmentInForceAtEachParagraphEnd) {
    const StyledText doc = ReadRtf(kHeader + "\\qc a\\par b\\par\\pard c\\par\\qr d\\par\\qj e\\par{\\qr f}\\par\\ql g\\par}");
    EXPECT_EQ(AlignmentsOf(doc), "ccdrjjl");
}

TEST(RtfReader, MalformedInputGivesTheTextThatIsThere) {
    using namespace std::string_literals;
    ExpectTexts({
        {"{", {}}, {"{\\", {}}, {"}}{\\rtf1 a}", {"a"}}, {"{\\rtf1 a}b{c}", {"a"}},
        {"{\\rtf1 a\\par\\bin999999999 xyz}", {"a"}}, {"{\\rtf1 a\\bin-5 b}", {"ab"}},
        {"{\\rtf1 a\\bin2147483647 b\\bin99999999999999999999 c}", {"a"}},
        {"{\\rtf1 a\0b\x01\x1f" "c\\'00d}"s, {"abcd"}}, {"{\\rtf1\0 a}"s, {" a"}},
    }, true);
}

}  // namespace
}  // namespace fw
// clang-format on
