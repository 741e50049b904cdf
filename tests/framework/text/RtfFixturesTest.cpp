// Reads RTF written by LibreOffice Writer and AbiWord. The files and their
// sources live in tests/data/rtf; make-fixtures.sh there regenerates them.
#include "framework/text/RtfReader.h"

#include "tests/support/StyledTextSupport.h"
#include "tests/support/Transcription.h"

// The case tables are laid out by hand, a row or a few to a line.
// clang-format off

namespace fw {
namespace {

// The words `part` of a paragraph and the one style they must have, though
// they may span several runs.
struct Styled { std::size_t paragraph; std::string part; CharStyle style; };

void ExpectStyles(const StyledText& doc, const std::vector<Styled>& expected) {
    for (const auto& e : expected) {
        SCOPED_TRACE(e.part);
        ASSERT_LT(e.paragraph, doc.paragraphs.size());
        const std::string text = TextOf(doc.paragraphs[e.paragraph]);
        const auto start = text.find(e.part);
        ASSERT_NE(start, std::string::npos) << "not in \"" << text << '"';
        std::size_t offset = 0;
        for (const auto& run : doc.paragraphs[e.paragraph].runs) {
            if (offset + run.text.size() > start && offset < start + e.part.size()) {
                EXPECT_EQ(run.style, e.style);
            }
            offset += run.text.size();
        }
    }
}

CharStyle Serif(double size = 12, std::string_view faces = "", std::optional<Color> color = std::nullopt) {
    return Style("Liberation Serif", size, faces, color);
}

// Each file with its paragraphs' texts, their alignments by initial (when checked) and the style of some of their
// words.
TEST(RtfFixtures, ReadWithTheirParagraphsAndStyles) {
    const struct { const char* file; Texts texts; std::string alignments; std::vector<Styled> styles; } fixtures[]{
        {"libreoffice-styles.rtf",
         {"Plain bold italic underlined red blue end.", "mono nine and big eighteen and green all three.",
          "Sans ten and a half.", "Centred line", "Right line", "Name\tValue\tNote", "First line\u2028second line", "",
          "Braces {x} and back\\slash."},
         // LibreOffice states \ql for every paragraph that is not centred or right.
         "lllcrllll",
         {{0, "Plain ", Serif()}, {0, "bold", Serif(12, "b")}, {0, "italic", Serif(12, "i")},
          {0, "underlined", Serif(12, "u")}, {0, "red", Serif(12, "", Color{255, 0, 0})},
          {0, "blue", Serif(12, "", Color{0, 0, 255})}, {1, "mono nine", Style("Liberation Mono", 9)},
          {1, "big eighteen", Serif(18)}, {1, "green all three", Serif(12, "biu", Color{0, 128, 0})},
          {2, "Sans ten and a half.", Style("Liberation Sans", 10.5)}}},
        {"libreoffice-fonts.rtf", {"Serif Müller font Yahei font"}, "",
         {{0, "Serif", Serif()},
          // "Schrift M\'fcller" in the document's code page 1252.
          {0, "Müller font", Style("Schrift Müller", 11)},
          // \fcharset134: the name's \'hh bytes are GBK.
          {0, "Yahei font", Style("微软雅黑", 14)}}},
        // Rows as tab-separated paragraphs, a nested table's rows as lines of its
        // cell, the notes after the text under the numbers their anchors show.
        {"libreoffice-notes.rtf",
         {"Before the note1 and after.", "Endi here.", "עברית מודגש רגיל", "A1\tB1 first\u2028B1 second",
          "A2\u2028n1\tn2\u2028B2", " •\tBullet one", "1\tThe footnote text.", "i\tThe endnote text."}, "",
         // Hebrew takes the associated font, size, weight and slant after \rtlch.
         {{2, "מודגש", Style("DejaVu Sans", 16, "bi")}, {2, " רגיל", Serif()}}},
        // The first paragraph mixes \'hh in code page 1252 with \uc0\uN and
        // \uc1\uN\'hh; characters above U+7FFF are written as negative \u values.
        // AbiWord 3.0.5 moves the emoji of "Emoji <emoji> here" to the front of
        // its paragraph; the file holds it there as a surrogate pair.
        {"abiword-scripts.rtf",
         {"Crème brûlée, Łódź, naïve – “quoted” € 5", "Ελληνικά: καλημέρα κόσμε", "Русский: Съешь же ещё этих булок",
          "日本語と漢字、한국어", "😀Emoji  here"}, "",
         {{1, "καλημέρα", Serif(12, "b")}}},
    };
    for (const auto& f : fixtures) {
        SCOPED_TRACE(f.file);
        const StyledText doc = ReadRtf(FileBytes(std::string(PLUMORA_TEST_DATA) + "/rtf/" + f.file));
        EXPECT_EQ(TextsOf(doc), f.texts);
        if (!f.alignments.empty()) {
            EXPECT_EQ(AlignmentsOf(doc), f.alignments);
        }
        ExpectStyles(doc, f.styles);
    }
}

}  // namespace
}  // namespace fw
// clang-format on
