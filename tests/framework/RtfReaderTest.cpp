#include "tests/support/StyledTextPrinting.h"
#include "framework/text/RtfReader.h"
#include "framework/text/RtfWriter.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace fw {

namespace {

using Texts = std::vector<std::string>;

constexpr Color kRed{255, 0, 0};
constexpr Color kBlack{0, 0, 0};

CharStyle Arial(double size = 12, bool bold = false, bool italic = false, bool underline = false,
               std::optional<Color> color = std::nullopt) {
    return {"Arial", size, bold, italic, underline, color};
}

std::string TextOf(const StyledParagraph& paragraph) {
    std::string text;
    for (const StyledRun& run : paragraph.runs) text += run.text;
    return text;
}

Texts TextsOf(const StyledText& doc) {
    Texts texts;
    for (const StyledParagraph& paragraph : doc.paragraphs) texts.push_back(TextOf(paragraph));
    return texts;
}

// A document with the usual header around the body.
std::string Rtf(const std::string& body) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}" + body + "}";
}

Texts ReadTexts(const std::string& body) { return TextsOf(ReadRtf(Rtf(body))); }

// The single run of a one-paragraph document that must hold exactly one run.
StyledRun OnlyRun(const StyledText& doc) {
    EXPECT_EQ(doc.paragraphs.size(), 1u);
    if (doc.paragraphs.size() != 1) return {};
    EXPECT_EQ(doc.paragraphs[0].runs.size(), 1u);
    if (doc.paragraphs[0].runs.empty()) return {};
    return doc.paragraphs[0].runs[0];
}

// A string of every byte of the literal, NULs included.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

bool IsValidUtf8(const std::string& s) {
    const QByteArray bytes(s.data(), static_cast<qsizetype>(s.size()));
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

// What every result must satisfy whatever the input: valid UTF-8 without
// paragraph breaks or NULs in runs, no empty runs, and adjacent runs of
// different style.
void ExpectWellFormed(const StyledText& doc) {
    for (const StyledParagraph& paragraph : doc.paragraphs) {
        for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
            const StyledRun& run = paragraph.runs[i];
            EXPECT_FALSE(run.text.empty());
            EXPECT_TRUE(IsValidUtf8(run.text)) << run.text;
            EXPECT_EQ(run.text.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
            EXPECT_EQ(run.text.find("\xE2\x80\xA9"), std::string::npos);
            EXPECT_GT(run.style.size, 0);
            EXPECT_TRUE(std::isfinite(run.style.size));
            if (i > 0) {
                EXPECT_NE(paragraph.runs[i - 1].style, run.style);
            }
        }
    }
}

// ---------------------------------------------------------------------------

TEST(RtfDetection, RecognisesOnlyAnRtfGroupAtTheStart) {
    struct Case { std::string bytes; bool rtf; };
    const std::vector<Case> cases = {
        {"{\\rtf1\\ansi}", true}, {"{\\rtf", true}, {"\xEF\xBB\xBF{\\rtf1}", true}, {" \t\r\n{\\rtf1}", true},
        {"\xEF\xBB\xBF \n{\\rtf1}", true},
        {"", false}, {"{\\rt", false}, {"{\\RTF1}", false}, {"{ \\rtf1}", false}, {"x{\\rtf1}", false},
        {"\xEF\xBB{\\rtf1}", false}, {"\xEF\xBB\xBF\xEF\xBB\xBF{\\rtf1}", false}, {"Hello {\\rtf1}", false},
    };
    for (const Case& c : cases) EXPECT_EQ(LooksLikeRtf(c.bytes), c.rtf) << c.bytes;
}

// ---------------------------------------------------------------------------

TEST(RtfText, SplitsParagraphsAndKeepsBreaksAndSymbols) {
    struct Case { std::string body; Texts expected; };
    const std::vector<Case> cases = {
        {"", {}}, {"Hello", {"Hello"}}, {"a\\par b", {"a", "b"}}, {"a\\par", {"a"}}, {"a\\par\\par", {"a", ""}},
        {"\\par", {""}}, {"a\\par\\par b", {"a", "", "b"}}, {"a\\line b", {"a\u2028b"}}, {"a\\tab b", {"a\tb"}},
        {"a\tb", {"a\tb"}}, {"a\\cell b\\cell\\row c", {"a\tb", "c"}},
        {"a\\sect b\\page\\page c", {"a", "b", "c"}}, {"\\page a", {"a"}}, {"a\r\nb\rc\nd", {"abcd"}},
        {"Hello\\\nWorld", {"Hello", "World"}}, {"Hello\\\r\nWorld\\\r\n", {"Hello", "World"}},
        {"\\{\\}\\\\", {"{}\\"}}, {"\\b bold", {"bold"}}, {"\\b  two", {" two"}},
        {"\\~\\-\\_", {"\u00A0\u00AD\u2011"}},
        {"\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote",
         {"\u2014\u2013\u2022\u2018\u2019\u201C\u201D"}},
        {"\\enspace\\emspace\\zwj\\zwnj", {"\u2002\u2003\u200D\u200C"}}, {"{\\unknownword kept}", {"kept"}},
        {"\\:\\|x", {"x"}},
        {"a\\par}b", {"a"}},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadTexts(c.body), c.expected) << c.body;
}

TEST(RtfText, SkipsDestinationsButKeepsResultsAndListText) {
    struct Case { std::string body; Texts expected; };
    const std::vector<Case> cases = {
        {"{\\info{\\title T}{\\author A}}a", {"a"}}, {"{\\stylesheet{\\s0 Normal;}{\\s1 Heading;}}a", {"a"}},
        {"{\\header H\\par}{\\footerr F}a", {"a"}}, {"a{\\footnote\\pard F\\par}b", {"ab", "F"}},
        {"{\\*\\generator Riched20 10.0;}a", {"a"}}, {"{\\*\\unknowndestination x{y}z}a", {"a"}},
        {"{\\mmathPr\\mmathFont34\\mbrkBin0}a", {"a"}}, {"{\\*\\expandedcolortbl;;}a", {"a"}},
        {"{\\*\\themedata 504b0304}{\\*\\colorschememapping 3c3f}{\\*\\latentstyles\\lsdstimax376 "
         "{\\lsdlockedexcept Normal;}}a",
         {"a"}},
        {"{\\*\\listtable{\\list{\\listlevel{\\leveltext \\'01\\u-3913 ?;}}}}a", {"a"}},
        {"{\\*\\pgdsctbl{\\pgdsc0 Default Page Style;}}a", {"a"}},
        {"{\\*\\rsidtbl \\rsid123}{\\*\\xmlnstbl {\\xmlns1 http://x}}a", {"a"}},
        {"{\\pict\\pngblip\\picw10 89504e470d0a1a0a}a", {"a"}},
        {"{\\*\\shppict{\\pict\\pngblip 0000}}{\\nonshppict{\\pict\\wmetafile8 0101}}a", {"a"}},
        {"{\\shp{\\*\\shpinst{\\sp{\\sn x}{\\sv y}}{\\shptxt box}}}a", {"a"}},
        {"{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}", {"link"}},
        {"{\\field{\\fldinst PAGE}{\\fldrslt 1}}", {"1"}},
        {"{\\object\\objemb{\\*\\objclass Paint}{\\*\\objdata 0102}{\\result shown}}", {"shown"}},
        {"{\\upr{ansi text}{\\*\\ud{unicode text}}}", {"unicode text"}},
        {"{\\listtext\\pard\\plain 1.\\tab}item", {"1.\titem"}},
        {"{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}item", {"\u00B7\titem"}},
        {"{\\*\\bkmkstart b1}a{\\*\\bkmkend b1}", {"a"}},
        {"{\\*\\userprops {\\propname x}}{\\*\\datastore 0105}a", {"a"}},
        {"{\\*\\annotation note}{\\*\\atnid x}a", {"a"}},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadTexts(c.body), c.expected) << c.body;
}

TEST(RtfText, SkipsBinaryDataExactlyEvenWhenItHoldsBraces) {
    struct Case { std::string body; Texts expected; };
    const std::vector<Case> cases = {
        {"{\\pict\\bin4 }}}}}a", {"a"}},
        {"{\\pict\\bin4 {{{{}a", {"a"}},
        {"{\\*\\blob\\bin6 \\}{\\{x}a", {"a"}},
        {"a\\bin3 xyzb", {"ab"}},
        {"a\\bin3 }}}b", {"ab"}},
        {"{\\pict{\\*\\picprop\\bin2 }}}\\bin1 {}a", {"a"}},
        {"a\\binfsxn1 b", {"ab"}},  // a paper-bin word, not binary data
    };
    for (const Case& c : cases) EXPECT_EQ(ReadTexts(c.body), c.expected) << c.body;
}

// ---------------------------------------------------------------------------

TEST(RtfUnicode, ReadsUnicodeEscapesAndSkipsTheirFallback) {
    struct Case { std::string body; Texts expected; };
    const std::vector<Case> cases = {
        {"\\u8364?10", {"\u20AC10"}}, {"\\u8364 ?10", {"\u20AC10"}},
        {"\\u-10916?", {"\uD55C"}},          // negative: add 65536
        {"\\u54620?", {"\uD55C"}},           // the same character as written by LibreOffice
        {"\\u65533?", {"\uFFFD"}}, {"\\uc0\\u8364 10", {"\u20AC10"}}, {"\\uc0 \\u8364\\u8364x", {"\u20AC\u20ACx"}},
        {"\\uc2\\u8364??x", {"\u20ACx"}}, {"\\uc2\\u8364\\'80\\'80x", {"\u20ACx"}}, {"\\u8364\\'80x", {"\u20ACx"}},
        {"\\u8364\r\n?x", {"\u20ACx"}},      // line ends do not count as fallback
        {"{\\uc2\\u8364??}\\u8364?x", {"\u20AC\u20ACx"}},
        {"{\\uc3\\u8364?}x", {"\u20ACx"}},   // a brace ends the fallback
        {"\\uc3\\u8364?{\\b x}", {"\u20ACx"}},
        {"\\u8364\\par x", {"\u20ACx"}},     // a control word is one unit of fallback
        {"\\u0?x", {"x"}}, {"\\u99999999999999?x", {"\uFFFDx"}}, {"\\u-99999999999999?x", {"\uFFFDx"}},
        {"\\u?x", {"?x"}},                  // no number: nothing to insert or skip
    };
    for (const Case& c : cases) EXPECT_EQ(ReadTexts(c.body), c.expected) << c.body;
}

TEST(RtfUnicode, JoinsSurrogatePairsAndReplacesLoneSurrogates) {
    const std::string grin = "\U0001F600";
    struct Case { std::string body; Texts expected; };
    const std::vector<Case> cases = {
        {"\\u55357?\\u56832?", {grin}}, {"\\u-10179?\\u-8704?", {grin}},
        {"\\uc0 \\u55357\\uc1 \\u56832\\'3f", {grin}}, {"\\uc2 \\u55357??\\u56832??", {grin}},
        {"a\\u55357?x", {"a\uFFFDx"}}, {"a\\u56832?x", {"a\uFFFDx"}}, {"a\\u55357?", {"a\uFFFD"}},
        {"\\u55357?\\u55357?\\u56832?", {"\uFFFD" + grin}}, {"\\u55357?\\par\\u56832?", {"\uFFFD", "\uFFFD"}},
        {"\\u55357?\\tab\\u56832?", {"\uFFFD\t\uFFFD"}},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadTexts(c.body), c.expected) << c.body;
}

// ---------------------------------------------------------------------------

TEST(RtfCodePages, DecodesEscapedBytesByFontCharsetCodePageOrDocument) {
    struct Case { std::string rtf; Texts expected; };
    const std::vector<Case> cases = {
        {"{\\rtf1\\ansi caf\\'e9 \\'80 \\'93q\\'94}", {"caf\u00E9 \u20AC \u201Cq\u201D"}},
        {"{\\rtf1\\ansi caf\xE9}", {"caf\u00E9"}},  // raw bytes too
        {"{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'e1}", {"\u0410\u0431"}},
        {"{\\rtf1\\ansi\\ansicpg1253 \\'e1}", {"\u03B1"}},
        {"{\\rtf1\\mac \\'8e\\'a5\\'db}", {"\u00E9\u2022\u20AC"}}, {"{\\rtf1\\pc \\'82\\'b0}", {"\u00E9\u2591"}},
        {"{\\rtf1\\pca \\'82\\'d5}", {"\u00E9\u0131"}},
        // WordPad: an ANSI document whose font is Central European.
        {"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 Calibri;}}\\f0 \\'c8esk\\'fd}",
         {"\u010Cesk\u00FD"}},
        // The default font's charset applies where no \f is given.
        {"{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}\\'c0}", {"\u0410"}},
        // An unknown font number means the default font, and its charset.
        {"{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}\\f7\\'c0}", {"\u0410"}},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0\\cpg1251 A;}}\\f0\\'c0}", {"\u0410"}},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset238\\cpg1251 A;}}\\f0\\'c0}", {"\u0410"}},
        {"{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset0 A;}}\\f0\\'c0}", {"\u00C0"}},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset77 A;}}\\f0\\'8e}", {"\u00E9"}},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0\\'b7}", {"\u2022"}},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset161 A;}{\\f1\\fcharset162 B;}}\\f0\\'e1\\f1\\'fd}",
         {"\u03B1\u0131"}},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset177 A;}{\\f1\\fcharset178 B;}}\\f0\\'e0\\f1\\'c7}",
         {"\u05D0\u0627"}},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset186 A;}{\\f1\\fcharset222 B;}}\\f0\\'c0\\f1\\'a1}",
         {"\u0104\u0E01"}},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset163 A;}}\\f0\\'d0}", {"\u0110"}},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset255 A;}}\\f0\\'82}", {"\u00E9"}},
        // A group restores the font and with it the code page.
        {"{\\rtf1\\ansi{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}{\\f1\\'c0}\\'c0}", {"\u0410\u00C0"}},
        // Malformed hex is dropped with the two characters it takes.
        {"{\\rtf1\\ansi a\\'3?b\\'g1c}", {"abc"}},
    };
    for (const Case& c : cases) EXPECT_EQ(TextsOf(ReadRtf(c.rtf)), c.expected) << c.rtf;
}

TEST(RtfCodePages, JoinsDoubleByteCharactersAcrossEscapesAndLineBreaks) {
    const std::string header =
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 A;}{\\f1\\fcharset128 MS Mincho;}"
        "{\\f2\\fcharset134 SimSun;}{\\f3\\fcharset136 MingLiU;}{\\f4\\fcharset129 Batang;}}";
    struct Case { std::string body; Texts expected; };
    const std::vector<Case> cases = {
        {"\\f1\\'82\\'a0\\'82\\'a2", {"\u3042\u3044"}},
        {"\\f1\\'82\r\n\\'a0", {"\u3042"}},       // split by Word's line wrapping
        {"\\f1\\'81f", {"\u2019"}},               // trail byte written as a plain character
        {"\\f1\\'95\\'5c", {"\u8868"}},           // trail byte that is a backslash
        {"\\f1\\'87\\'40", {"\u2460"}},           // a Windows-only extension of Shift_JIS
        {"\\f1\\'82 x", {"\uFFFD x"}},            // lead byte without trail
        {"\\f1\\'82", {"\uFFFD"}}, {"\\f1 a\\'82\\'a0b", {"a\u3042b"}},
        {"\\f1\\'b1", {"\uFF71"}},                // single-byte katakana
        {"\\f2\\'c4\\'e3\\'ba\\'c3", {"\u4F60\u597D"}}, {"\\f3\\'a4\\'a4\\'a4\\'e5", {"\u4E2D\u6587"}},
        {"\\f4\\'b0\\'a1", {"\uAC00"}},
        {"{\\f1\\'82}\\'a0", {"\uFFFD\u00A0"}},   // a group boundary ends the character
    };
    for (const Case& c : cases) EXPECT_EQ(TextsOf(ReadRtf(header + c.body + "}")), c.expected) << c.body;
}

// The built-in tables for the two code pages that must always work are
// checked byte for byte against the system's converters.
TEST(RtfCodePages, Windows1252AndMacRomanMatchTheSystemConverters) {
    struct Case { const char* header; const char* converter; };
    for (const Case& c : {Case{"{\\rtf1\\ansi ", "windows-1252"}, Case{"{\\rtf1\\mac ", "macintosh"}}) {
        QStringDecoder decoder(c.converter);
        ASSERT_TRUE(decoder.isValid()) << c.converter;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\'%02x", byte);
            const StyledText doc = ReadRtf(std::string(c.header) + hex + "}");
            const QString expected = decoder.decode(QByteArray(1, static_cast<char>(byte)));
            ASSERT_EQ(TextsOf(doc), Texts{expected.toStdString()}) << c.converter << " byte " << byte;
        }
    }
}

// ---------------------------------------------------------------------------

TEST(RtfFonts, ReadsFontNamesFromEveryTableShape) {
    struct Case { std::string rtf; std::string font; };
    const std::vector<Case> cases = {
        {"{\\rtf1{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}}\\f1 x}", "Arial"},
        {"{\\rtf1{\\fonttbl\\f0\\fswiss\\fcharset0 Helvetica;\\f1\\fnil\\fcharset0 Menlo-Regular;}\\f1 x}",
         "Menlo-Regular"},
        {"{\\rtf1{\\fonttbl{\\f0\\froman\\fprq2{\\*\\panose 02020603050405020304}Times New Roman"
         "{\\*\\falt Times};}}\\f0 x}",
         "Times New Roman"},
        {"{\\rtf1{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2 Cambria Math;}}\\f0 x}", "Cambria Math"},
        {"{\\rtf1{\\fonttbl{\\f0 A;}{\\f0 B;}}\\f0 x}", "A"},             // the first definition wins
        {"{\\rtf1{\\fonttbl{\\f0 Arial}}\\f0 x}", "Arial"},               // no semicolon
        {"{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1 B;}} x}", "B"},           // \deff without \f
        {"{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1 B;}}\\f9 x}", "B"},       // unknown \f
        {"{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}} x}", "A"},                  // no \deff: font 0
        {"{\\rtf1\\deff5{\\fonttbl{\\f0 A;}} x}", ""},                     // \deff not in the table
        {"{\\rtf1 x}", ""},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Schrift M\\'fcller;}}\\f0 x}", "Schrift M\u00FCller"},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 \\'82\\'6c\\'82\\'72 Mincho;}}\\f0 x}",
         "\uFF2D\uFF33 Mincho"},
        {"{\\rtf1{\\fonttbl{\\f0 \\u20013?\\u25991? Font;}}\\f0 x}", "\u4E2D\u6587 Font"},
        {"{\\rtf1{\\upr{\\fonttbl{\\f0 Ansi Name;}}{\\*\\ud{\\fonttbl{\\f0 Unicode Name;}}}}\\f0 x}",
         "Unicode Name"},
    };
    for (const Case& c : cases) EXPECT_EQ(OnlyRun(ReadRtf(c.rtf)).style.font, c.font) << c.rtf;
}

// ---------------------------------------------------------------------------

TEST(RtfCharacterFormat, ReadsSizeBoldItalicUnderlineAndColour) {
    const std::string header =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";
    struct Case { std::string body; CharStyle style; };
    const std::vector<Case> cases = {
        {"x", Arial()}, {"\\fs21 x", Arial(10.5)}, {"\\fs48 x", Arial(24)}, {"\\fs0 x", Arial()},
        {"\\b x", Arial(12, true)}, {"\\b1 x", Arial(12, true)}, {"\\b\\b0 x", Arial()},
        {"\\i x", Arial(12, false, true)}, {"\\i\\i0 x", Arial()}, {"\\ul x", Arial(12, false, false, true)},
        {"\\uld x", Arial(12, false, false, true)}, {"\\uldb x", Arial(12, false, false, true)},
        {"\\ulwave x", Arial(12, false, false, true)}, {"\\ulw x", Arial(12, false, false, true)},
        {"\\ulthdashdd x", Arial(12, false, false, true)}, {"\\ul\\ul0 x", Arial()},
        {"\\ulwave\\ulnone x", Arial()},
        {"\\ulc1 x", Arial()},  // underline colour only
        {"\\cf1 x", Arial(12, false, false, false, kRed)},
        {"\\cf2 x", Arial(12, false, false, false, Color{0, 0, 255})}, {"\\cf1\\cf0 x", Arial()},
        {"\\cf9 x", Arial()}, {"\\cf1\\highlight2\\cb2\\chcbpat2 x", Arial(12, false, false, false, kRed)},
        {"\\b\\i\\ul\\fs40\\cf1\\plain x", Arial()},
        {"\\rtlch\\af1\\afs40\\ab\\ai\\ltrch\\loch\\hich\\dbch x", Arial()},
        {"\\b\\u8364\\b0 x", Arial(12, true)},  // \b0 was fallback
    };
    for (const Case& c : cases) {
        const StyledText doc = ReadRtf(header + c.body + "}");
        ASSERT_FALSE(doc.paragraphs.empty()) << c.body;
        ASSERT_FALSE(doc.paragraphs.back().runs.empty()) << c.body;
        EXPECT_EQ(doc.paragraphs.back().runs.back().style, c.style) << c.body;
    }
}

TEST(RtfCharacterFormat, ColourZeroIsBlackWhenTheTableHasNoAutomaticEntry) {
    // AbiWord's colour table starts with a real colour.
    const StyledText doc = ReadRtf(
        "{\\rtf1{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\\cf0 a\\cf1 b\\cf2 c}");
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    const auto& runs = doc.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].style.color, kBlack);
    EXPECT_EQ(runs[1].style.color, kRed);
    EXPECT_EQ(runs[2].style.color, std::nullopt);
}

TEST(RtfCharacterFormat, GroupsRestoreTheFormatAndEqualRunsMerge) {
    const StyledText doc = ReadRtf(Rtf("plain {\\b bold {\\i both}} {\\b more}{\\b  bold}\\f7 x\\f0 y"));
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    // Two groups of the same format make one run; \f7 is unknown, so the default font.
    EXPECT_EQ(doc.paragraphs[0].runs, (std::vector<StyledRun>{{"plain ", Arial()}, {"bold ", Arial(12, true)},
                                                              {"both", Arial(12, true, true)}, {" ", Arial()},
                                                              {"more bold", Arial(12, true)}, {"xy", Arial()}}));
}

TEST(RtfCharacterFormat, EscapesAndUnicodeJoinTheRunAroundThem) {
    const StyledText doc = ReadRtf(Rtf("a\\'e9\\u8364?\\tab\\line b"));
    EXPECT_EQ(OnlyRun(doc).text, "a\u00E9\u20AC\t\u2028b");
}

// LibreOffice writes the size and weight of Chinese, Japanese and Korean
// text as associated properties after \dbch; elsewhere those words belong to
// right-to-left text, which keeps the regular ones.
TEST(RtfCharacterFormat, TakesDoubleByteSizeAndWeightFromAssociatedWords) {
    const std::string rtf = R"rtf({\rtf1\ansi\deff3\adeflang1025
{\fonttbl{\f3\froman\fprq2\fcharset0 DejaVu Serif;}{\f6\fnil\fprq2\fcharset0 Droid Sans Fallback;}{\f7\fnil\fprq2\fcharset0 DejaVu Sans;}}
{\colortbl;\red0\green0\blue128;}
\pard\plain \s0\rtlch\af7\afs40\ab\alang1081 \ltrch\lang1033\langfe2052\hich\af3\loch\nowidctlpar\cf0\f3\fs24\lang1033\kerning1\dbch\af7\langfe2052\qc\ltrpar{\hich\af6\loch\cf1\f6\ul\ulc0\dbch\afs28\i\ab\dbch
\u26085\'3f\u26412\'3f}{\hich\af6\loch\cf1\fs28\i0\ulnone\ulc0\b\f6\loch
, }{\hich\af6\loch\cf1\f6\ulnone\ulc0\dbch\afs18\i0\ab0\dbch
\u54620\'3f}{\loch latin\dbch\afs50\ab\loch\afs60\ai  after}{\dbch\afs50\plain\afs60\ab  plain}{\dbch\ab{\afs44 inner}\afs44  outer}
\par })rtf";
    const StyledText doc = ReadRtf(rtf);
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    const Color navy{0, 0, 128};
    const auto fallback = [&](double size, bool bold, bool italic = false, bool underline = false) {
        return CharStyle{"Droid Sans Fallback", size, bold, italic, underline, navy};
    };
    const auto serif = [](double size, bool bold = false) {
        return CharStyle{"DejaVu Serif", size, bold, false, false, std::nullopt};
    };
    EXPECT_EQ(doc.paragraphs[0].runs,
              (std::vector<StyledRun>{{"\u65E5\u672C", fallback(14, true, true, true)}, {", ", fallback(14, true)},
                                      {"\uD55C", fallback(9, false)},
                                      // The paragraph's \rtlch\afs40\ab do not apply; of the words after
                                      // "latin", those that follow \dbch do, those that follow \loch do not.
                                      {"latin", serif(12)}, {" after", serif(25, true)},
                                      // \plain ends the double-byte run along with the rest of the format.
                                      {" plain", serif(12)},
                                      // A group inherits the double-byte run of the group around it.
                                      {"inner outer", serif(22, true)}}));
}

// ---------------------------------------------------------------------------

TEST(RtfParagraphFormat, ReadsAlignmentInForceAtEachParagraphEnd) {
    const StyledText doc = ReadRtf(Rtf(
        "\\qc a\\par b\\par\\pard c\\par\\qr d\\par\\ql e\\par\\qj f\\par{\\qr g}\\par\\pard\\qc h"));
    ASSERT_EQ(TextsOf(doc), (Texts{"a", "b", "c", "d", "e", "f", "g", "h"}));
    const std::vector<Alignment> expected = {Alignment::Center, Alignment::Center, Alignment::Default,
                                             Alignment::Right,  Alignment::Left,   Alignment::Left,
                                             Alignment::Left,   Alignment::Center};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(doc.paragraphs[i].alignment, expected[i]) << TextOf(doc.paragraphs[i]);
    }
}

TEST(RtfParagraphFormat, ParagraphResetKeepsTheCharacterFormatAndEmptyParagraphsHaveNoRuns) {
    const StyledText doc = ReadRtf(Rtf("\\b a\\par\\pard b\\par\\plain c\\par\\b\\par d"));
    ASSERT_EQ(doc.paragraphs.size(), 5u);
    EXPECT_TRUE(doc.paragraphs[1].runs.at(0).style.bold);
    EXPECT_FALSE(doc.paragraphs[2].runs.at(0).style.bold);
    EXPECT_TRUE(doc.paragraphs[3].runs.empty());
}

// ---------------------------------------------------------------------------

TEST(RtfRobustness, MalformedInputGivesTheTextThatIsThere) {
    struct Case { std::string rtf; Texts expected; };
    const std::vector<Case> cases = {
        {"", {}}, {"{\\rtf1}", {}}, {"plain words", {}},
        {"{", {}},
        {"{\\", {}},
        {"}}{\\rtf1 a}", {"a"}},  // stray braces, and text after the document
        {"{\\rtf1 a}b{c}", {"a"}}, {"\xEF\xBB\xBF{\\rtf1 a}", {"a"}},
        {"{\\rtf1 a\\par\\bin999999999 xyz}", {"a"}},  // binary counts past the end
        {"{\\rtf1 a\\par{\\pict\\bin99999999999999999999 xyz}}", {"a"}}, {"{\\rtf1 a\\bin-5 b}", {"ab"}},
        {Bytes("{\\rtf1 a\0b\x01\x1f" "c}"), {"abc"}},  // NUL and control bytes
        {Bytes("{\\rtf1 a\\'00b\\u0?c}"), {"abc"}},
        {Bytes("{\\rtf1\0 a}"), {" a"}},  // the NUL ends the control word; the blank is then text
    };
    for (const Case& c : cases) EXPECT_EQ(TextsOf(ReadRtf(c.rtf)), c.expected) << c.rtf;
}

TEST(RtfRobustness, ReadsOneHundredThousandNestedGroups) {
    const std::string open(100000, '{');
    const std::string close(100000, '}');
    EXPECT_EQ(TextsOf(ReadRtf("{\\rtf1 " + open + "deep" + close + " after}")), Texts{"deep after"});
    EXPECT_EQ(TextsOf(ReadRtf("{\\rtf1 " + open + "deep")), Texts{"deep"});

    std::string formatted = "{\\rtf1 ";
    for (int i = 0; i < 100000; ++i) formatted += "{\\b ";
    formatted += "x";
    for (int i = 0; i < 100000; ++i) formatted += "}";
    formatted += "y}";
    const StyledText doc = ReadRtf(formatted);
    ASSERT_EQ(TextsOf(doc), Texts{"xy"});
    ASSERT_EQ(doc.paragraphs[0].runs.size(), 2u);
    EXPECT_TRUE(doc.paragraphs[0].runs[0].style.bold);
    EXPECT_FALSE(doc.paragraphs[0].runs[1].style.bold);

    EXPECT_EQ(TextsOf(ReadRtf("{\\rtf1 a{\\*\\skipped " + open + "x" + close + "}b}")), Texts{"ab"});
}

// A whole document in one paragraph of one format: every character arrives,
// escapes and Unicode included, as one run.
TEST(RtfRobustness, ReadsFiftyMegabytesOfOneParagraph) {
    const std::string unit = "Fifty megabytes caf\\'e9 \\u954?\\tab\\{x\\} ";
    const std::string unitText = "Fifty megabytes caf\u00E9 \u03BA\t{x} ";
    const std::size_t units = 50'000'000 / unit.size() + 1;
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    rtf.reserve(rtf.size() + units * unit.size() + 8);
    for (std::size_t i = 0; i < units; ++i) rtf += unit;
    rtf += "\\par}";
    ASSERT_GE(rtf.size(), 50'000'000u);

    const StyledText doc = ReadRtf(rtf);
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    ASSERT_EQ(doc.paragraphs[0].runs.size(), 1u);
    const StyledRun& run = doc.paragraphs[0].runs[0];
    EXPECT_EQ(run.style, (CharStyle{"Arial", 10, false, false, false, std::nullopt}));
    ASSERT_EQ(run.text.size(), units * unitText.size());
    for (std::size_t i = 0; i < units; ++i) {
        if (run.text.compare(i * unitText.size(), unitText.size(), unitText) != 0) {
            FAIL() << "text differs in repetition " << i;
        }
    }
}

TEST(RtfRobustness, ClampsOverflowingNumbers) {
    const StyledText big = ReadRtf("{\\rtf1\\fs99999999999999999999999 x}");
    ASSERT_EQ(big.paragraphs.size(), 1u);
    EXPECT_GT(big.paragraphs[0].runs.at(0).style.size, 12);
    EXPECT_TRUE(std::isfinite(big.paragraphs[0].runs[0].style.size));
    // The cap is the writer's, so that the largest size read is written back as it was.
    EXPECT_EQ(big.paragraphs[0].runs[0].style.size, 32767 / 2.0);
    EXPECT_EQ(ReadRtf(WriteRtf(big)), big);
    EXPECT_EQ(TextsOf(ReadRtf("{\\rtf1\\uc99999999999999 \\u65?x{y}}")), Texts{"Ay"});
    EXPECT_EQ(TextsOf(ReadRtf("{\\rtf1\\uc-5 \\u65?x}")), Texts{"A?x"});
    EXPECT_EQ(OnlyRun(ReadRtf("{\\rtf1{\\colortbl;\\red255;}\\cf-99999999999999 x}")).style.color, std::nullopt);
    EXPECT_EQ(OnlyRun(ReadRtf("{\\rtf1{\\colortbl;\\red99999999999\\green-7;}\\cf1 x}")).style.color,
              (Color{255, 0, 0}));
}

// Every prefix of a document reads as the document's first paragraphs, the
// last one possibly cut short.
TEST(RtfRobustness, TruncatedDocumentsYieldTheTextBeforeTheCut) {
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fcharset238 B;}}"
        "{\\colortbl;\\red255\\green0\\blue0;}{\\*\\generator x;}{\\info{\\title t}}"
        "\\pard\\plain\\qc{\\b Bold} caf\\'e9 \\u233? {\\f1\\'c8}\\tab end\\par"
        "\\pard{\\pict\\bin3 }}}}\\i second\\cf1  red\\line x\\par "
        "third {\\field{\\*\\fldinst X}{\\fldrslt link}}\\par}";
    const StyledText full = ReadRtf(rtf);
    const Texts fullTexts = TextsOf(full);
    ASSERT_EQ(fullTexts, (Texts{"Bold caf\u00E9 \u00E9 \u010C\tend", "second red\u2028x", "third link"}));
    for (std::size_t cut = 0; cut <= rtf.size(); ++cut) {
        const StyledText doc = ReadRtf(rtf.substr(0, cut));
        ExpectWellFormed(doc);
        const Texts texts = TextsOf(doc);
        ASSERT_LE(texts.size(), fullTexts.size()) << "cut at " << cut;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (i + 1 < texts.size()) {
                EXPECT_EQ(texts[i], fullTexts[i]) << "cut at " << cut;
            } else {
                EXPECT_EQ(fullTexts[i].compare(0, texts[i].size(), texts[i]), 0)
                    << "cut at " << cut << ": \"" << texts[i] << '"';
            }
        }
    }
}

// Random token soup: whatever comes in, the reader returns well-formed
// styled text and does not hang.
TEST(RtfRobustness, RandomTokenSoupGivesWellFormedText) {
    const std::vector<std::string> tokens = {
        "{", "}", "{\\*", "\\par ", "\\pard", "\\plain ", "\\b", "\\b0 ", "\\i ", "\\ul ", "\\ulnone ",
        "\\fs", "\\fs0 ", "\\f1 ", "\\f2", "\\cf1 ", "\\cf7", "\\u", "\\u-", "\\u55357", "\\u56832",
        "\\uc0 ", "\\uc2 ", "\\'", "\\'8", "\\'82", "\\'a0", "\\bin", "\\bin2 ", "\\fonttbl",
        "\\colortbl", "\\red9", ";", "\\pict ", "\\upr", "\\ud ", "\\object", "\\result ", "\\line",
        "\\tab", "\\cell", "\\row", "\\\n", "\\", "\r\n", "text ", "x", "\xE9", "\xFF", std::string(1, '\0'),
        "99999999999", "-", "\\qc", "\\qr", "\\~", "\\{", "\\}", "\\\\", "\\fcharset128 ", "\\fcharset2 ",
        "\\cpg65001 ", "\\ansicpg932 ", "\\mac ", "\\deff1 ", "\\stylesheet", "\\*\\ud",
    };
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::size_t> pick(0, tokens.size() - 1);
    std::uniform_int_distribution<int> length(1, 400);
    for (int round = 0; round < 3000; ++round) {
        std::string rtf = "{\\rtf1 ";
        const int count = length(random);
        for (int i = 0; i < count; ++i) rtf += tokens[pick(random)];
        ExpectWellFormed(ReadRtf(rtf));
        if (HasFailure()) {
            ADD_FAILURE() << "input: " << rtf;
            return;
        }
    }
}

}  // namespace
}  // namespace fw
