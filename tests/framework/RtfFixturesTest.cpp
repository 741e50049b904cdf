// Reads RTF written by LibreOffice Writer and AbiWord. The files and their
// sources live in tests/data/rtf; make-fixtures.sh there regenerates them.
#include "framework/RtfReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace fw {
namespace {

constexpr Color kRed{255, 0, 0};
constexpr Color kBlue{0, 0, 255};
constexpr Color kGreen{0, 128, 0};
constexpr Color kBlack{0, 0, 0};

std::string Load(const std::string& name) {
    const std::string path = std::string(PLUMORA_TEST_DATA) + "/rtf/" + name;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot open " << path;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string TextOf(const StyledParagraph& paragraph) {
    std::string text;
    for (const auto& run : paragraph.runs) text += run.text;
    return text;
}

// The style of the words `part` in the paragraph. The words may span several
// runs, as long as those runs agree on the style; otherwise the test fails.
CharStyle StyleOf(const StyledParagraph& paragraph, const std::string& part) {
    const std::string text = TextOf(paragraph);
    const auto start = text.find(part);
    EXPECT_NE(start, std::string::npos) << '"' << part << "\" not in \"" << text << '"';
    if (start == std::string::npos) return {};
    const auto end = start + part.size();
    std::optional<CharStyle> style;
    std::size_t offset = 0;
    for (const auto& run : paragraph.runs) {
        const auto runEnd = offset + run.text.size();
        if (runEnd > start && offset < end) {
            if (!style) {
                style = run.style;
            } else {
                EXPECT_EQ(*style, run.style) << '"' << part << "\" has more than one style";
            }
        }
        offset = runEnd;
    }
    return style.value_or(CharStyle{});
}

bool IsPlain(const CharStyle& style) {
    return !style.bold && !style.italic && !style.underline;
}

// ---------------------------------------------------------------------------

class RtfFixtureLibreOffice : public ::testing::Test {};

TEST_F(RtfFixtureLibreOffice, StylesFileHasItsParagraphsAndAlignments) {
    const StyledText doc = ReadRtf(Load("libreoffice-styles.rtf"));
    ASSERT_EQ(doc.paragraphs.size(), 9u);
    EXPECT_EQ(TextOf(doc.paragraphs[0]), "Plain bold italic underlined red blue end.");
    EXPECT_EQ(TextOf(doc.paragraphs[1]), "mono nine and big eighteen and green all three.");
    EXPECT_EQ(TextOf(doc.paragraphs[2]), "Sans ten and a half.");
    EXPECT_EQ(TextOf(doc.paragraphs[3]), "Centred line");
    EXPECT_EQ(TextOf(doc.paragraphs[4]), "Right line");
    EXPECT_EQ(TextOf(doc.paragraphs[5]), "Name\tValue\tNote");
    EXPECT_EQ(TextOf(doc.paragraphs[6]), "First line\xE2\x80\xA8second line");
    EXPECT_EQ(TextOf(doc.paragraphs[7]), "");
    EXPECT_EQ(TextOf(doc.paragraphs[8]), "Braces {x} and back\\slash.");

    // LibreOffice states \ql for every paragraph that is not centred or right.
    EXPECT_EQ(doc.paragraphs[0].alignment, Alignment::Left);
    EXPECT_EQ(doc.paragraphs[3].alignment, Alignment::Center);
    EXPECT_EQ(doc.paragraphs[4].alignment, Alignment::Right);
    EXPECT_EQ(doc.paragraphs[5].alignment, Alignment::Left);
}

TEST_F(RtfFixtureLibreOffice, StylesFileHasBoldItalicUnderlineAndColours) {
    const StyledText doc = ReadRtf(Load("libreoffice-styles.rtf"));
    ASSERT_GE(doc.paragraphs.size(), 1u);
    const StyledParagraph& p = doc.paragraphs[0];

    const CharStyle plain = StyleOf(p, "Plain ");
    EXPECT_EQ(plain.font, "Liberation Serif");
    EXPECT_EQ(plain.size, 12);
    EXPECT_TRUE(IsPlain(plain));
    EXPECT_FALSE(plain.color.has_value());

    const CharStyle bold = StyleOf(p, "bold");
    EXPECT_TRUE(bold.bold);
    EXPECT_FALSE(bold.italic);
    EXPECT_FALSE(bold.underline);
    EXPECT_EQ(bold.font, "Liberation Serif");

    const CharStyle italic = StyleOf(p, "italic");
    EXPECT_TRUE(italic.italic);
    EXPECT_FALSE(italic.bold);

    const CharStyle underlined = StyleOf(p, "underlined");
    EXPECT_TRUE(underlined.underline);
    EXPECT_FALSE(underlined.italic);

    EXPECT_EQ(StyleOf(p, "red").color, kRed);
    EXPECT_EQ(StyleOf(p, "blue").color, kBlue);
    EXPECT_TRUE(IsPlain(StyleOf(p, " end.")));
    EXPECT_FALSE(StyleOf(p, " end.").color.has_value());
}

TEST_F(RtfFixtureLibreOffice, StylesFileHasFontsAndSizes) {
    const StyledText doc = ReadRtf(Load("libreoffice-styles.rtf"));
    ASSERT_GE(doc.paragraphs.size(), 3u);

    const CharStyle mono = StyleOf(doc.paragraphs[1], "mono nine");
    EXPECT_EQ(mono.font, "Liberation Mono");
    EXPECT_EQ(mono.size, 9);

    const CharStyle big = StyleOf(doc.paragraphs[1], "big eighteen");
    EXPECT_EQ(big.font, "Liberation Serif");
    EXPECT_EQ(big.size, 18);

    const CharStyle all = StyleOf(doc.paragraphs[1], "green all three");
    EXPECT_TRUE(all.bold);
    EXPECT_TRUE(all.italic);
    EXPECT_TRUE(all.underline);
    EXPECT_EQ(all.color, kGreen);
    EXPECT_EQ(all.size, 12);

    const CharStyle sans = StyleOf(doc.paragraphs[2], "Sans ten and a half.");
    EXPECT_EQ(sans.font, "Liberation Sans");
    EXPECT_EQ(sans.size, 10.5);
}

TEST_F(RtfFixtureLibreOffice, ScriptsFileDecodesEveryScript) {
    const StyledText doc = ReadRtf(Load("libreoffice-scripts.rtf"));
    ASSERT_EQ(doc.paragraphs.size(), 6u);
    EXPECT_EQ(TextOf(doc.paragraphs[0]),
              "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e, \xC5\x81\xC3\xB3" "d\xC5\xBA, \xC3\x86sir, "
              "na\xC3\xAFve fa\xC3\xA7" "ade \xE2\x80\x93 \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x82\xAC 5");
    EXPECT_EQ(TextOf(doc.paragraphs[1]),
              "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC: "
              "\xCE\xBA\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1 "
              "\xCE\xBA\xCF\x8C\xCF\x83\xCE\xBC\xCE\xB5");
    EXPECT_EQ(TextOf(doc.paragraphs[2]),
              "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9: "
              "\xD0\xA1\xD1\x8A\xD0\xB5\xD1\x88\xD1\x8C \xD0\xB6\xD0\xB5 "
              "\xD0\xB5\xD1\x89\xD1\x91 \xD1\x8D\xD1\x82\xD0\xB8\xD1\x85 "
              "\xD0\xB1\xD1\x83\xD0\xBB\xD0\xBE\xD0\xBA");
    // Includes Hangul that LibreOffice writes as \u values above 32767.
    EXPECT_EQ(TextOf(doc.paragraphs[3]),
              "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x86\xE3\x82\xAD\xE3\x82\xB9"
              "\xE3\x83\x88\xE3\x81\xA8\xE6\xBC\xA2\xE5\xAD\x97\xE3\x80\x81\xED\x95\x9C\xEA\xB5\xAD"
              "\xEC\x96\xB4, \xE4\xB8\xAD\xE6\x96\x87");
    // Surrogate pairs written as \uc0 \u55357\uc1 \u56832\'3f.
    EXPECT_EQ(TextOf(doc.paragraphs[4]),
              "Emoji \xF0\x9F\x98\x80 and \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD here");
    EXPECT_EQ(TextOf(doc.paragraphs[5]), "Combining: e\xCC\x81 and a\xCC\x8A\xCC\xA3");

    const CharStyle greekBold =
        StyleOf(doc.paragraphs[1], "\xCE\xBA\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1");
    EXPECT_TRUE(greekBold.bold);
    EXPECT_FALSE(StyleOf(doc.paragraphs[1], "\xCE\xBA\xCF\x8C\xCF\x83\xCE\xBC\xCE\xB5").bold);
}

TEST_F(RtfFixtureLibreOffice, FontsFileDecodesFontNamesInTheirCharsets) {
    const StyledText doc = ReadRtf(Load("libreoffice-fonts.rtf"));
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    const StyledParagraph& p = doc.paragraphs[0];
    EXPECT_EQ(TextOf(p), "Serif M\xC3\xBCller font Yahei font");
    EXPECT_EQ(StyleOf(p, "Serif").font, "Liberation Serif");

    // "Schrift M\'fcller" in the document's code page 1252.
    const CharStyle mueller = StyleOf(p, "M\xC3\xBCller font");
    EXPECT_EQ(mueller.font, "Schrift M\xC3\xBCller");
    EXPECT_EQ(mueller.size, 11);

    // \fcharset134: the name's \'hh bytes are GBK.
    const CharStyle yahei = StyleOf(p, "Yahei font");
    EXPECT_EQ(yahei.font, "\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91");
    EXPECT_EQ(yahei.size, 14);
}

// ---------------------------------------------------------------------------

class RtfFixtureAbiWord : public ::testing::Test {};

TEST_F(RtfFixtureAbiWord, StylesFileHasItsParagraphsAndAlignments) {
    const StyledText doc = ReadRtf(Load("abiword-styles.rtf"));
    ASSERT_EQ(doc.paragraphs.size(), 7u);
    EXPECT_EQ(TextOf(doc.paragraphs[0]), "Plain bold italic underlined red black end.");
    EXPECT_EQ(TextOf(doc.paragraphs[1]), "mono nine and ten and a half and green all three.");
    EXPECT_EQ(TextOf(doc.paragraphs[2]), "Centred line");
    EXPECT_EQ(TextOf(doc.paragraphs[3]), "Right line");
    EXPECT_EQ(TextOf(doc.paragraphs[4]), "Name\tValue\tNote");
    EXPECT_EQ(TextOf(doc.paragraphs[5]), "First line\xE2\x80\xA8second line");
    EXPECT_EQ(TextOf(doc.paragraphs[6]), "Braces {x} and back\\slash.");
    EXPECT_EQ(doc.paragraphs[0].alignment, Alignment::Left);
    EXPECT_EQ(doc.paragraphs[2].alignment, Alignment::Center);
    EXPECT_EQ(doc.paragraphs[3].alignment, Alignment::Right);
}

TEST_F(RtfFixtureAbiWord, StylesFileHasStylesFontsAndSizes) {
    const StyledText doc = ReadRtf(Load("abiword-styles.rtf"));
    ASSERT_GE(doc.paragraphs.size(), 2u);
    const StyledParagraph& p = doc.paragraphs[0];

    const CharStyle plain = StyleOf(p, "Plain ");
    EXPECT_EQ(plain.font, "Liberation Serif");
    EXPECT_EQ(plain.size, 12);
    EXPECT_TRUE(IsPlain(plain));
    EXPECT_TRUE(!plain.color || *plain.color == kBlack);

    EXPECT_TRUE(StyleOf(p, "bold").bold);
    EXPECT_FALSE(StyleOf(p, "bold").italic);
    EXPECT_TRUE(StyleOf(p, "italic").italic);
    EXPECT_TRUE(StyleOf(p, "underlined").underline);
    EXPECT_TRUE(IsPlain(StyleOf(p, " end.")));

    const CharStyle mono = StyleOf(doc.paragraphs[1], "mono nine");
    EXPECT_EQ(mono.font, "Liberation Mono");
    EXPECT_EQ(mono.size, 9);
    EXPECT_EQ(StyleOf(doc.paragraphs[1], "ten and a half").size, 10.5);
}

TEST_F(RtfFixtureAbiWord, ColourTableWithoutAutomaticEntryIsIndexedFromZero) {
    // AbiWord's colour table starts with black, not with an empty entry, so
    // \cf3 is its fourth entry.
    const StyledText doc = ReadRtf(Load("abiword-styles.rtf"));
    ASSERT_GE(doc.paragraphs.size(), 2u);
    EXPECT_EQ(StyleOf(doc.paragraphs[0], "red").color, kRed);
    const CharStyle all = StyleOf(doc.paragraphs[1], "green all three");
    EXPECT_EQ(all.color, kGreen);
    EXPECT_TRUE(all.bold);
    EXPECT_TRUE(all.italic);
    EXPECT_TRUE(all.underline);
}

TEST_F(RtfFixtureAbiWord, ScriptsFileDecodesUnicodeAndCodePageEscapes) {
    const StyledText doc = ReadRtf(Load("abiword-scripts.rtf"));
    ASSERT_EQ(doc.paragraphs.size(), 5u);
    // Mixes \'hh in code page 1252 with \uc0\uN and \uc1\uN\'hh.
    EXPECT_EQ(TextOf(doc.paragraphs[0]),
              "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e, \xC5\x81\xC3\xB3" "d\xC5\xBA, "
              "na\xC3\xAFve \xE2\x80\x93 \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x82\xAC 5");
    EXPECT_EQ(TextOf(doc.paragraphs[1]),
              "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC: "
              "\xCE\xBA\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1 "
              "\xCE\xBA\xCF\x8C\xCF\x83\xCE\xBC\xCE\xB5");
    EXPECT_TRUE(
        StyleOf(doc.paragraphs[1], "\xCE\xBA\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1")
            .bold);
    EXPECT_EQ(TextOf(doc.paragraphs[2]),
              "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9: "
              "\xD0\xA1\xD1\x8A\xD0\xB5\xD1\x88\xD1\x8C \xD0\xB6\xD0\xB5 "
              "\xD0\xB5\xD1\x89\xD1\x91 \xD1\x8D\xD1\x82\xD0\xB8\xD1\x85 "
              "\xD0\xB1\xD1\x83\xD0\xBB\xD0\xBE\xD0\xBA");
    // AbiWord writes characters above U+7FFF as negative \u values.
    EXPECT_EQ(TextOf(doc.paragraphs[3]),
              "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xA8\xE6\xBC\xA2\xE5\xAD\x97\xE3\x80\x81"
              "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4");
    // AbiWord 3.0.5 moves the emoji of "Emoji <emoji> here" to the front of
    // its paragraph; the file holds it there as a surrogate pair.
    EXPECT_EQ(TextOf(doc.paragraphs[4]), "\xF0\x9F\x98\x80" "Emoji  here");
}

}  // namespace
}  // namespace fw
