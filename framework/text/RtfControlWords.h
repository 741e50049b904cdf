#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The control words the RTF reader acts on, grouped by what they do.
namespace fw::rtf {

// clang-format off
enum class Word : std::uint8_t {
    // Document: character set, defaults, Unicode escapes, binary data.
    Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Uc, U, Bin, EndnotesArabic, Ignored,
    // Destinations: the groups a word makes into tables or skipped text, and
    // the words of the font and colour tables.
    FontTable, ColorTable, Upr, Ud, Object, Result, SkipDestination,
    Note, Endnote, Field, FieldInstruction, ListLabel,
    FontCharset, CodePage, Red, Green, Blue,
    // Tables.
    Cell, NestCell, Row, NestRow, InTable,
    // Paragraphs.
    Par, Pard, AlignLeft, AlignCenter, AlignRight, AlignJustify, Sect,
    // Characters: their format, and the words that stand for one character.
    Font, Plain, Bold, Italic, Underline, UnderlineNone, FontSize, ColorFore,
    DoubleByteRun, LatinRun, RightToLeftRun, AssocFont, AssocBold, AssocItalic, AssocFontSize,
    NoteNumber,
    Character,  // inserts the fixed character in WordInfo::character
};
// clang-format on

enum class WordKind : std::uint8_t { Document, Destination, Table, Paragraph, Character };

constexpr WordKind KindOf(Word word) {
    if (word < Word::FontTable) return WordKind::Document;
    if (word < Word::Cell) return WordKind::Destination;
    if (word < Word::Par) return WordKind::Table;
    if (word < Word::Font) return WordKind::Paragraph;
    return WordKind::Character;
}

struct WordInfo {
    std::string_view name;
    Word word;
    char32_t character = 0;
};

// The entry for a control word's name, or null for a word the reader ignores.
const WordInfo* FindWord(const char* name, std::size_t length);

}  // namespace fw::rtf
