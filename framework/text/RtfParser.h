#pragma once

#include "framework/text/RtfCodePages.h"
#include "framework/text/RtfControlWords.h"
#include "framework/text/StyledText.h"
#include "framework/text/SymbolFont.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The RTF reader's parser: one pass over the bytes, a stack of group states,
// and the styled text it builds.
namespace fw::rtf {

// Groups nested deeper than this share the state of the deepest kept group.
// Real documents stay below a few dozen levels; the cap bounds memory for
// hostile input.
inline constexpr std::size_t kMaxGroupDepth = 4096;

// Numeric parameters are clamped to this magnitude.
inline constexpr std::int64_t kMaxParameter = 2147483647;

// Font sizes in half-points are capped where RTF writers cap them, at the
// largest signed 16-bit value, so that every size read can be written back.
inline constexpr int kMaxFontSizeHalfPoints = 32767;

// A \ucN larger than this would only make the reader skip real text.
inline constexpr int kMaxUnicodeSkip = 1000;

inline constexpr char32_t kReplacement = 0xFFFD;

enum class Destination : std::uint8_t {
    Text,              // document text
    FontTable,         // font names
    ColorTable,        // colour entries
    Drop,              // text discarded until \ud or \result names a branch to read
    FieldInstruction,  // a field's instruction, kept to read SYMBOL fields
};

// Which of a run's two sets of character properties its text takes: after
// \rtlch the associated ones (\af \afs \ab \ai), which LibreOffice and Word
// write for Hebrew and Arabic; after \dbch the associated weight, slant and
// size with the run's own font, the way LibreOffice writes Chinese, Japanese
// and Korean; otherwise the run's own.
enum class RunKind : std::uint8_t { Latin, DoubleByte, RightToLeft };

struct AssociatedFormat {
    int font = -1;  // -1: the run's own font
    std::int16_t fontSizeHalfPoints = 24;
    bool bold = false;
    bool italic = false;
};

// Every group copies its parent's state, so the state is kept small.
struct GroupState {
    int font = -1;   // -1: the default font
    int color = -1;  // -1: automatic
    AssociatedFormat rightToLeft;
    Alignment alignment = Alignment::Default;
    std::int16_t fontSizeHalfPoints = 24;
    std::int16_t unicodeSkip = 1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool inTable = false;    // \intbl: a paragraph break is a line break in its cell
    bool listLabel = false;  // \listtext, \pntext: a private-use character is the bullet
    RunKind runKind = RunKind::Latin;
    Destination destination = Destination::Text;
    Destination revived = Destination::Text;  // where a Drop branch's \ud or \result leads
};

struct FontEntry {
    std::string name;
    int charset = -1;
    int codePage = 0;
    SymbolFont symbol = SymbolFont::None;
};

struct Control {
    const char* name = nullptr;  // null for a control symbol
    std::size_t length = 0;
    bool hasParameter = false;
    int parameter = 0;
    unsigned char symbol = 0;
};

class Parser {
public:
    explicit Parser(std::string_view bytes)
        : data_(reinterpret_cast<const unsigned char*>(bytes.data())), size_(bytes.size()) {}

    StyledText Parse();

private:
    GroupState& State() { return stack_.back(); }

    void ReadControl(Control& control);
    bool ReadHexByte(int& value);
    void ControlSequence();
    void Symbol(unsigned char symbol);
    void Execute(const WordInfo& info, const Control& control);
    void DocumentWord(const WordInfo& info, const Control& control);
    void DestinationWord(const WordInfo& info, const Control& control);
    void TableWord(const WordInfo& info);
    void ParagraphWord(const WordInfo& info);
    void CharacterWord(const WordInfo& info, const Control& control);
    void Text();
    void SkipFallbackUnit();
    void SkipGroup();
    void SkipBinary(int count);
    void OpenGroup();
    void CloseGroup();

    void GatherByte(unsigned char byte);
    void FlushBytes();
    int CurrentCodePage();
    void Decode(int codePage, const std::string& bytes, bool truncated);

    void EmitAscii(const unsigned char* text, std::size_t length);
    void EmitCodePoint(char32_t cp);
    void EmitScalar(char32_t cp);
    void EmitEscapedUnit(char32_t unit);
    void FlushHighSurrogate();
    bool LowSurrogateFollows() const;
    static int SymbolCodePage(const FontEntry* font);
    void FlushSeparators();
    void EnsureRun();
    void EndParagraph();

    void BeginNote();
    void MakeEndnote();
    void EndNote();
    void NoteNumber();
    void BeginField();
    void EndField();

    void StartFontEntry(int index);
    void FinishFontEntry();
    const FontEntry* FindFont(int index) const;
    const FontEntry* ResolveFont(int index) const;

    const unsigned char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool done_ = false;

    std::vector<GroupState> stack_;
    std::size_t flattenedGroups_ = 0;
    bool pendingStar_ = false;
    int skipUnits_ = 0;
    char32_t pendingHigh_ = 0;

    int documentCodePage_ = kWindows1252;
    int defaultFont_ = 0;
    std::unordered_map<int, FontEntry> fonts_;
    mutable bool lastFoundValid_ = false;  // FindFont's last answer, for repeated lookups
    mutable int lastFoundIndex_ = 0;
    mutable const FontEntry* lastFound_ = nullptr;
    bool fontEntryActive_ = false;
    int fontEntryIndex_ = 0;
    std::size_t fontEntryDepth_ = 0;
    FontEntry fontEntry_;
    bool colorTableRead_ = false;
    std::vector<std::optional<Color>> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorGiven_ = false;

    std::string gathered_;
    int gatherCodePage_ = 0;
    bool expectTrail_ = false;
    CodePageDecoder decoders_;
    std::u16string decoded_;

    StyledText document_;
    StyledParagraph paragraph_;
    std::vector<StyledParagraph>* target_ = &document_.paragraphs;  // where finished paragraphs go
    bool styleDirty_ = true;
    int symbolPage_ = 0;  // the last run's font's, when it is a symbol font
    bool atGroupStart_ = false;
    std::size_t emitted_ = 0;  // characters of document text so far

    // Table cells end in a tab and rows in a paragraph break, but only once
    // text follows in the same row: a row never ends in a tab, nor a cell in
    // a line break.
    int pendingTabs_ = 0;
    bool pendingLineBreak_ = false;

    // Footnotes and endnotes become numbered paragraphs after the text; the
    // anchor's number is written where the text cites it.
    std::vector<StyledParagraph> footnotes_;
    std::vector<StyledParagraph> endnotes_;
    std::size_t noteDepth_ = 0;    // the note's group depth while one is read, else 0
    StyledParagraph noteCitedIn_;  // with the separators it was waiting for
    int citedTabs_ = 0;
    bool citedLineBreak_ = false;
    int footnoteCount_ = 0;
    int endnoteCount_ = 0;
    bool endnote_ = false;
    bool endnotesArabic_ = false;
    struct Anchor {
        std::size_t run = 0, offset = 0, length = 0;
        bool valid = false;
    } anchor_;

    // A field's instruction and how much text its result gave.
    std::size_t fieldDepth_ = 0;
    std::string fieldInstruction_;
    std::size_t fieldEmittedBefore_ = 0;
};

}  // namespace fw::rtf
