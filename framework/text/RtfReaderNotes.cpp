// Footnotes, endnotes and SYMBOL fields: text that RTF keeps apart from the
// flow of the document.
#include "framework/text/RtfParser.h"

#include "framework/text/SymbolFont.h"
#include "framework/text/TextEncoding.h"

#include <cctype>
#include <cstdlib>
#include <utility>

namespace fw::rtf {

namespace {

std::string Roman(int n) {
    static constexpr std::pair<int, const char*> kNumerals[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"},
    };
    if (n <= 0 || n >= 4000) return std::to_string(n);
    std::string out;
    for (const auto& [value, numeral] : kNumerals) {
        for (; n >= value; n -= value) out += numeral;
    }
    return out;
}

}  // namespace

// The note's paragraphs go to the notes kept for the end of the document;
// the paragraph that cites it waits until the note's group closes.
void Parser::BeginNote() {
    FlushHighSurrogate();
    noteDepth_ = stack_.size();
    noteCitedIn_ = std::move(paragraph_);
    paragraph_ = StyledParagraph{};
    citedTabs_ = std::exchange(pendingTabs_, 0);
    citedLineBreak_ = std::exchange(pendingLineBreak_, false);
    target_ = &footnotes_;
    endnote_ = false;
    ++footnoteCount_;
    styleDirty_ = true;
}

// \ftnalt: the note just begun is an endnote, numbered apart in lower-case
// Roman numerals (or Arabic after \aftnnar), and so is its anchor.
void Parser::MakeEndnote() {
    if (noteDepth_ == 0 || endnote_) return;
    endnote_ = true;
    --footnoteCount_;
    ++endnoteCount_;
    target_ = &endnotes_;
    if (!anchor_.valid || anchor_.run >= noteCitedIn_.runs.size()) return;
    std::string& text = noteCitedIn_.runs[anchor_.run].text;
    if (anchor_.offset + anchor_.length > text.size()) return;
    text.replace(anchor_.offset, anchor_.length,
                 endnotesArabic_ ? std::to_string(endnoteCount_) : Roman(endnoteCount_));
    anchor_.valid = false;
}

void Parser::EndNote() {
    if (!paragraph_.runs.empty()) EndParagraph();
    paragraph_ = std::move(noteCitedIn_);
    noteCitedIn_ = StyledParagraph{};
    pendingTabs_ = citedTabs_;
    pendingLineBreak_ = citedLineBreak_;
    target_ = &document_.paragraphs;
    noteDepth_ = 0;
    styleDirty_ = true;
}

// \chftn: the number of the note, in the note itself or at its anchor, which
// comes before the note and so is numbered as the next footnote until a
// \ftnalt says otherwise.
void Parser::NoteNumber() {
    if (State().destination != Destination::Text) return;
    std::string number;
    if (noteDepth_ != 0) {
        number = endnote_ ? (endnotesArabic_ ? std::to_string(endnoteCount_) : Roman(endnoteCount_))
                          : std::to_string(footnoteCount_);
    } else {
        number = std::to_string(footnoteCount_ + 1);
    }
    const auto* digits = reinterpret_cast<const unsigned char*>(number.data());
    EmitAscii(digits, number.size());
    if (noteDepth_ != 0 || paragraph_.runs.empty()) return;
    const std::string& text = paragraph_.runs.back().text;
    if (text.size() < number.size() || text.compare(text.size() - number.size(), number.size(), number) != 0) return;
    anchor_ = {paragraph_.runs.size() - 1, text.size() - number.size(), number.size(), true};
}

void Parser::BeginField() {
    fieldDepth_ = stack_.size();
    fieldInstruction_.clear();
    fieldEmittedBefore_ = emitted_;
}

// A field whose result gave no text but whose instruction is SYMBOL n
// [\f "Font"] [\u] gives the character it names, as that font shows it.
void Parser::EndField() {
    fieldDepth_ = 0;
    if (emitted_ != fieldEmittedBefore_) return;
    const std::string& in = fieldInstruction_;
    std::size_t i = in.find_first_not_of(' ');
    if (i == std::string::npos || in.size() - i < 6) return;
    for (std::size_t k = 0; k < 6; ++k) {
        if (std::toupper(static_cast<unsigned char>(in[i + k])) != "SYMBOL"[k]) return;
    }
    const char* start = in.c_str() + i + 6;
    char* end = nullptr;
    const long code = std::strtol(start, &end, 0);
    if (end == start || code <= 0 || code > 0x10FFFF) return;
    std::string font;
    bool unicode = false;
    for (std::size_t at = static_cast<std::size_t>(end - in.c_str()); at + 1 < in.size(); ++at) {
        if (in[at] != '\\') continue;
        const char option = static_cast<char>(std::tolower(static_cast<unsigned char>(in[at + 1])));
        if (option == 'u') unicode = true;
        if (option != 'f') continue;
        std::size_t from = in.find_first_not_of(' ', at + 2);
        if (from == std::string::npos) break;
        const bool quoted = in[from] == '"';
        const std::size_t to = in.find(quoted ? '"' : ' ', from + quoted);
        font = in.substr(from + quoted, (to == std::string::npos ? in.size() : to) - from - quoted);
    }
    const SymbolFont symbol = SymbolFontOf(font, -1);
    char32_t cp = static_cast<char32_t>(code);
    if (symbol != SymbolFont::None && code < 0x100) {
        cp = SymbolFontCharacter(symbol, static_cast<unsigned char>(code));
    } else if (!unicode && code < 0x100) {
        cp = encoding::Windows1252ToUnicode(static_cast<std::uint8_t>(code));
    }
    if (cp != 0) EmitCodePoint(cp);
}

}  // namespace fw::rtf
