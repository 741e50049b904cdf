#include "framework/text/RtfReader.h"

#include "framework/text/RtfParser.h"
#include "framework/text/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace fw {

namespace rtf {

namespace {

bool IsAsciiLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c |= 0x20;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Bytes that are ordinary text and can be copied to the output as they are.
constexpr std::array<bool, 256> kPlainAscii = [] {
    std::array<bool, 256> table{};
    for (int c = 0x20; c < 0x80; ++c) table[c] = true;
    table['\\'] = table['{'] = table['}'] = false;
    return table;
}();

}  // namespace

StyledText Parser::Parse() {
    // Content begins at the first brace; a byte order mark or blanks before it
    // are not text, and neither is anything after the outermost group closes.
    const void* brace = size_ > 0 ? std::memchr(data_, '{', size_) : nullptr;
    if (!brace) return {};
    pos_ = static_cast<std::size_t>(static_cast<const unsigned char*>(brace) - data_) + 1;
    stack_.reserve(64);
    stack_.emplace_back();
    document_.paragraphs.reserve(size_ / 2048 + 1);

    while (pos_ < size_ && !done_) {
        if (skipUnits_ > 0) {
            SkipFallbackUnit();
            continue;
        }
        switch (data_[pos_]) {
        case '{':
            ++pos_;
            OpenGroup();
            break;
        case '}':
            ++pos_;
            CloseGroup();
            break;
        case '\\': ControlSequence(); break;
        case '\r':
        case '\n': ++pos_; break;
        default: Text(); break;
        }
    }

    FlushBytes();
    FlushHighSurrogate();
    if (State().destination == Destination::FontTable) FinishFontEntry();
    if (noteDepth_ != 0) EndNote();
    if (!paragraph_.runs.empty()) EndParagraph();
    for (auto* notes : {&footnotes_, &endnotes_}) {
        std::move(notes->begin(), notes->end(), std::back_inserter(document_.paragraphs));
    }
    return std::move(document_);
}

void Parser::ReadControl(Control& control) {
    ++pos_;  // the backslash
    control = Control{};
    if (pos_ >= size_) return;
    const unsigned char first = data_[pos_];
    if (!IsAsciiLetter(first)) {
        control.symbol = first;
        ++pos_;
        return;
    }
    const std::size_t start = pos_;
    while (pos_ < size_ && IsAsciiLetter(data_[pos_])) ++pos_;
    control.name = reinterpret_cast<const char*>(data_ + start);
    control.length = pos_ - start;
    bool negative = false;
    if (pos_ + 1 < size_ && data_[pos_] == '-' && IsDigit(data_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < size_ && IsDigit(data_[pos_])) {
        std::int64_t value = 0;
        while (pos_ < size_ && IsDigit(data_[pos_])) {
            if (value <= kMaxParameter) value = value * 10 + (data_[pos_] - '0');
            ++pos_;
        }
        value = std::min(value, kMaxParameter);
        control.hasParameter = true;
        control.parameter = static_cast<int>(negative ? -value : value);
    }
    if (pos_ < size_ && data_[pos_] == ' ') ++pos_;
}

// Reads the two hex digits after \' ; an escape with fewer is dropped.
// An escape whose characters are not hex digits takes them along all the
// same, so that no part of a damaged escape becomes text; it stops short of
// blanks, control characters and what RTF itself means.
bool Parser::ReadHexByte(int& value) {
    value = 0;
    bool valid = true;
    for (int i = 0; i < 2; ++i) {
        if (pos_ >= size_) return false;
        const unsigned char c = data_[pos_];
        if (c <= ' ' || c >= 0x7F || c == '\\' || c == '{' || c == '}') return false;
        const int digit = HexValue(c);
        valid = valid && digit >= 0;
        value = value * 16 + digit;
        ++pos_;
    }
    return valid;
}

void Parser::ControlSequence() {
    if (pos_ + 1 < size_ && data_[pos_ + 1] == '\'') {
        pos_ += 2;
        pendingStar_ = false;
        int value;
        if (ReadHexByte(value)) GatherByte(static_cast<unsigned char>(value));
        return;
    }
    FlushBytes();
    atGroupStart_ = false;
    Control control;
    ReadControl(control);
    const bool starred = pendingStar_;
    pendingStar_ = false;
    if (!control.name) {
        Symbol(control.symbol);
        return;
    }
    const WordInfo* info = FindWord(control.name, control.length);
    if (starred && !info) {
        // An ignorable destination this reader does not know. A star before a
        // word it knows is taken as that word, because some writers star
        // format words inside text (\*\cs7) that must not cost the text.
        SkipGroup();
        return;
    }
    if (info) Execute(*info, control);
}

void Parser::Symbol(unsigned char symbol) {
    switch (symbol) {
    case '\\':
    case '{':
    case '}': EmitAscii(&symbol, 1); break;
    case '~': EmitCodePoint(0x00A0); break;
    case '-': EmitCodePoint(0x00AD); break;
    case '_': EmitCodePoint(0x2011); break;
    case '*': pendingStar_ = true; break;
    case '\r':
    case '\n':
        if (State().destination == Destination::Text) EndParagraph();
        break;
    default: break;  // \: \| and others carry nothing this model keeps
    }
}

void Parser::Text() {
    const unsigned char c = data_[pos_];
    pendingStar_ = false;
    const bool groupStart = atGroupStart_;
    atGroupStart_ = false;
    // A damaged file may lose a destination's backslash: "{*\name".
    if (c == '*' && groupStart && pos_ + 1 < size_ && data_[pos_ + 1] == '\\') {
        ++pos_;
        pendingStar_ = true;
        return;
    }
    if (c >= 0x80) {
        ++pos_;
        GatherByte(c);
        return;
    }
    if (!gathered_.empty()) {
        // A double-byte character's trail byte may follow its escaped lead
        // byte as a plain character.
        if (expectTrail_ && c >= 0x40 && c <= 0x7E) {
            ++pos_;
            GatherByte(c);
            return;
        }
        FlushBytes();
    }
    if (c < 0x20) {
        ++pos_;
        if (c == '\t') EmitCodePoint('\t');
        return;
    }
    const std::size_t start = pos_;
    while (pos_ < size_ && kPlainAscii[data_[pos_]]) ++pos_;
    EmitAscii(data_ + start, pos_ - start);
}

// Skips one unit of the fallback that follows \uN: an escaped byte, a
// control word or symbol, or one character. A brace ends the fallback.
void Parser::SkipFallbackUnit() {
    const unsigned char c = data_[pos_];
    // A high surrogate's low half is never its fallback, whatever \uc says:
    // files trimmed by hand often lose the \uc0 before a pair.
    if (c == '{' || c == '}' || (c == '\\' && pendingHigh_ && LowSurrogateFollows())) {
        skipUnits_ = 0;
        return;
    }
    if (c == '\r' || c == '\n') {
        ++pos_;
        return;
    }
    --skipUnits_;
    if (c != '\\') {
        ++pos_;
        return;
    }
    if (pos_ + 1 < size_ && data_[pos_ + 1] == '\'') {
        pos_ += 2;
        int ignored;
        ReadHexByte(ignored);
        return;
    }
    Control control;
    ReadControl(control);
    if (control.name && control.length == 3 && std::memcmp(control.name, "bin", 3) == 0) {
        SkipBinary(control.parameter);
    }
}

// Skips the rest of the current group, including nested groups and binary
// data, by scanning; then closes it.
void Parser::SkipGroup() {
    FlushBytes();
    std::size_t depth = 1;
    while (pos_ < size_) {
        const unsigned char c = data_[pos_];
        if (c == '{') {
            ++depth;
            ++pos_;
        } else if (c == '}') {
            ++pos_;
            if (--depth == 0) {
                skipUnits_ = 0;
                CloseGroup();
                return;
            }
        } else if (c == '\\') {
            if (pos_ + 3 < size_ && data_[pos_ + 1] == 'b' && data_[pos_ + 2] == 'i' && data_[pos_ + 3] == 'n') {
                Control control;
                ReadControl(control);
                if (control.length == 3) SkipBinary(control.parameter);
            } else {
                pos_ += 2;  // an escaped brace or backslash cannot open or close anything
            }
        } else {
            ++pos_;
        }
    }
    pos_ = size_;
}

void Parser::SkipBinary(int count) {
    if (count <= 0) return;
    pos_ = static_cast<std::size_t>(count) >= size_ - pos_ ? size_ : pos_ + static_cast<std::size_t>(count);
}

// A lone high surrogate becomes U+FFFD in the format of the group it stood
// in, as escaped bytes are decoded in theirs.
void Parser::OpenGroup() {
    FlushBytes();
    FlushHighSurrogate();
    pendingStar_ = false;
    if (stack_.size() >= kMaxGroupDepth) {
        ++flattenedGroups_;
        return;
    }
    stack_.push_back(stack_.back());
    atGroupStart_ = true;
}

void Parser::CloseGroup() {
    FlushBytes();
    FlushHighSurrogate();
    pendingStar_ = false;
    if (flattenedGroups_ > 0) {
        --flattenedGroups_;
        return;
    }
    if (stack_.size() <= 1) {
        done_ = true;
        return;
    }
    if (State().destination == Destination::FontTable && fontEntryActive_ && stack_.size() <= fontEntryDepth_) {
        FinishFontEntry();
    }
    if (fieldDepth_ == stack_.size()) EndField();
    if (noteDepth_ == stack_.size()) EndNote();
    stack_.pop_back();
    styleDirty_ = true;
}

bool Parser::LowSurrogateFollows() const {
    std::size_t i = pos_ + 1;
    if (i >= size_ || data_[i] != 'u') return false;
    ++i;
    const bool negative = i < size_ && data_[i] == '-';
    if (negative) ++i;
    long value = 0;
    std::size_t digits = 0;
    for (; i < size_ && IsDigit(data_[i]) && digits < 6; ++i, ++digits) value = value * 10 + (data_[i] - '0');
    if (digits == 0) return false;
    if (negative) value = 65536 - value;
    return value >= 0xDC00 && value <= 0xDFFF;
}

// ---------------------------------------------------------------------------
// Bytes in a code page

void Parser::GatherByte(unsigned char byte) {
    const Destination destination = State().destination;
    if (destination != Destination::Text && destination != Destination::FontTable) return;
    if (gathered_.empty()) {
        gatherCodePage_ = CurrentCodePage();
        expectTrail_ = false;
    }
    gathered_.push_back(static_cast<char>(byte));
    expectTrail_ = !expectTrail_ && IsLeadByte(gatherCodePage_, byte);
}

void Parser::FlushBytes() {
    if (gathered_.empty()) return;
    const bool truncated = expectTrail_;
    if (truncated) gathered_.pop_back();
    Decode(gatherCodePage_, gathered_, truncated);
    gathered_.clear();
    expectTrail_ = false;
}

int Parser::CurrentCodePage() {
    const bool fontTable = State().destination == Destination::FontTable;
    const FontEntry* font = fontTable ? &fontEntry_ : ResolveFont(State().font);
    if (!font) return documentCodePage_;
    if (!fontTable && font->symbol != SymbolFont::None) return SymbolCodePage(font);
    if (font->codePage > 0) return font->codePage;
    const int codePage = CharsetCodePage(font->charset);
    // A symbol font's own name is written in plain letters.
    if (codePage == kSymbolCodePage) return kWindows1252;
    return codePage != 0 ? codePage : documentCodePage_;
}

// The pseudo code page of a symbol font, else 0.
int Parser::SymbolCodePage(const FontEntry* font) {
    if (!font || font->symbol == SymbolFont::None) return 0;
    return font->symbol == SymbolFont::Symbol ? kSymbolCodePage : kDingbatsCodePage;
}

void Parser::Decode(int codePage, const std::string& bytes, bool truncated) {
    decoded_.clear();
    decoders_.Decode(codePage, bytes, decoded_);
    for (const char16_t unit : decoded_) EmitCodePoint(unit);
    if (truncated) EmitCodePoint(kReplacement);
}

// ---------------------------------------------------------------------------
// Output

void Parser::EmitAscii(const unsigned char* text, std::size_t length) {
    FlushHighSurrogate();
    switch (State().destination) {
    case Destination::Text:
        EnsureRun();
        // A symbol font shows other characters for plain letters too.
        if (symbolPage_ != 0) {
            Decode(symbolPage_, std::string(reinterpret_cast<const char*>(text), length), false);
            // Bytes that the symbol font leaves empty add no run.
            if (paragraph_.runs.back().text.empty()) {
                paragraph_.runs.pop_back();
                styleDirty_ = true;
            }
            break;
        }
        FlushSeparators();
        paragraph_.runs.back().text.append(reinterpret_cast<const char*>(text), length);
        emitted_ += length;
        break;
    case Destination::FieldInstruction:
        if (fieldInstruction_.size() < 256) fieldInstruction_.append(reinterpret_cast<const char*>(text), length);
        break;
    case Destination::FontTable:
        for (std::size_t i = 0; i < length; ++i) {
            if (text[i] == ';') {
                FinishFontEntry();
            } else if (fontEntryActive_) {
                fontEntry_.name.push_back(static_cast<char>(text[i]));
            }
        }
        break;
    case Destination::ColorTable:
        for (std::size_t i = 0; i < length; ++i) {
            if (text[i] != ';') continue;
            colors_.push_back(colorGiven_ ? std::optional<Color>(Color{static_cast<std::uint8_t>(red_),
                                                                       static_cast<std::uint8_t>(green_),
                                                                       static_cast<std::uint8_t>(blue_)})
                                          : std::nullopt);
            colorGiven_ = false;
            red_ = green_ = blue_ = 0;
        }
        break;
    case Destination::Drop: break;
    }
}

// Takes a UTF-16 code unit or a code point, pairing surrogates that arrive
// one at a time from \uN escapes.
void Parser::EmitCodePoint(char32_t cp) {
    if (cp >= 0xD800 && cp <= 0xDBFF) {
        FlushHighSurrogate();
        pendingHigh_ = cp;
        return;
    }
    if (cp >= 0xDC00 && cp <= 0xDFFF) {
        if (pendingHigh_) {
            cp = 0x10000 + ((pendingHigh_ - 0xD800) << 10) + (cp - 0xDC00);
            pendingHigh_ = 0;
        } else {
            cp = kReplacement;
        }
    } else {
        FlushHighSurrogate();
    }
    EmitScalar(cp);
}

// A character from a \uN escape. Symbol fonts are reached through the
// private-use characters U+F020-U+F0FF, one per byte, and a list label's
// private-use character is its bullet; none of these reach the document.
void Parser::EmitEscapedUnit(char32_t unit) {
    if (unit >= 0xE000 && unit <= 0xF8FF && State().destination == Destination::Text) {
        const int symbolPage = SymbolCodePage(ResolveFont(State().font));
        if (symbolPage != 0 && unit >= 0xF020 && unit <= 0xF0FF) {
            Decode(symbolPage, std::string(1, static_cast<char>(unit - 0xF000)), false);
            return;
        }
        if (symbolPage == kDingbatsCodePage || State().listLabel) unit = 0x2022;
    }
    EmitCodePoint(unit);
}

void Parser::FlushHighSurrogate() {
    if (!pendingHigh_) return;
    pendingHigh_ = 0;
    EmitScalar(kReplacement);
}

void Parser::EmitScalar(char32_t cp) {
    // Control characters other than the tab are not text; a paragraph
    // separator is a paragraph break, which runs never hold.
    if (cp < 0x20 && cp != '\t') return;
    switch (State().destination) {
    case Destination::Text:
        if (cp == 0x2029) {
            EndParagraph();
            return;
        }
        FlushSeparators();
        EnsureRun();
        utf8::Append(paragraph_.runs.back().text, cp);
        ++emitted_;
        break;
    case Destination::FontTable:
        if (fontEntryActive_ && cp >= 0x20) utf8::Append(fontEntry_.name, cp);
        break;
    default: break;
    }
}

// Makes the paragraph's last run one whose style is the current one, either
// the run already there (equal styles merge) or a new one.
void Parser::EnsureRun() {
    if (!styleDirty_ && !paragraph_.runs.empty()) return;
    styleDirty_ = false;
    const GroupState& state = State();
    AssociatedFormat format{state.font, state.fontSizeHalfPoints, state.bold, state.italic};
    if (state.runKind == RunKind::RightToLeft) {
        format = state.rightToLeft;
        if (format.font < 0) format.font = state.font;
    }
    static const std::string kNoFont;
    const FontEntry* font = ResolveFont(format.font);
    symbolPage_ = SymbolCodePage(font);
    // What a symbol font shows becomes Unicode characters, which the
    // document's own font shows; the symbol font would show other pictures.
    if (symbolPage_ != 0) {
        font = ResolveFont(-1);
        if (font && font->symbol != SymbolFont::None) font = nullptr;
    }
    const std::string& fontName = font ? font->name : kNoFont;
    const double size = format.fontSizeHalfPoints / 2.0;
    std::optional<Color> color;
    if (state.color >= 0 && static_cast<std::size_t>(state.color) < colors_.size()) color = colors_[state.color];

    if (!paragraph_.runs.empty()) {
        const CharStyle& last = paragraph_.runs.back().style;
        if (last.size == size && last.bold == format.bold && last.italic == format.italic &&
            last.underline == state.underline && last.color == color && last.font == fontName) {
            return;
        }
    }
    StyledRun& run = paragraph_.runs.emplace_back();
    run.style.font = fontName;
    run.style.size = size;
    run.style.bold = format.bold;
    run.style.italic = format.italic;
    run.style.underline = state.underline;
    run.style.color = color;
}

void Parser::FlushSeparators() {
    if (pendingTabs_ == 0 && !pendingLineBreak_) return;
    EnsureRun();
    std::string& text = paragraph_.runs.back().text;
    text.append(static_cast<std::size_t>(pendingTabs_), '\t');
    if (pendingLineBreak_) text += "\u2028";
    emitted_ += static_cast<std::size_t>(pendingTabs_) + pendingLineBreak_;
    pendingTabs_ = 0;
    pendingLineBreak_ = false;
}

void Parser::EndParagraph() {
    FlushHighSurrogate();
    paragraph_.alignment = State().alignment;
    pendingTabs_ = 0;
    pendingLineBreak_ = false;
    anchor_.valid = false;
    const std::size_t runs = paragraph_.runs.size();
    target_->push_back(std::move(paragraph_));
    paragraph_ = StyledParagraph{};
    // Paragraphs of one document tend to hold similar numbers of runs.
    paragraph_.runs.reserve(runs);
    styleDirty_ = true;
}

// ---------------------------------------------------------------------------
// Fonts

void Parser::StartFontEntry(int index) {
    FinishFontEntry();
    fontEntryActive_ = true;
    fontEntryIndex_ = index;
    fontEntryDepth_ = stack_.size();
    fontEntry_ = FontEntry{};
}

void Parser::FinishFontEntry() {
    FlushBytes();
    if (!fontEntryActive_) return;
    fontEntryActive_ = false;
    std::string& name = fontEntry_.name;
    const auto notBlank = [](char c) { return c != ' '; };
    name.erase(std::find_if(name.rbegin(), name.rend(), notBlank).base(), name.end());
    name.erase(name.begin(), std::find_if(name.begin(), name.end(), notBlank));
    fontEntry_.symbol = SymbolFontOf(name, fontEntry_.charset);
    // Windows once named a font's code page in its name ("Arial CE"); the
    // family is the name without it. Every such suffix goes, so that the name
    // read back from a file written here is the same.
    for (bool stripped = true; stripped;) {
        stripped = false;
        for (const std::string_view suffix :
             {" CE", " Cyr", " Greek", " Tur", " Baltic", " (Hebrew)", " (Arabic)", " (Vietnamese)"}) {
            if (name.size() > suffix.size() && name.ends_with(suffix)) {
                name.resize(name.size() - suffix.size());
                name.erase(std::find_if(name.rbegin(), name.rend(), notBlank).base(), name.end());
                stripped = true;
            }
        }
    }
    // The first definition of a font number wins.
    fonts_.try_emplace(fontEntryIndex_, std::move(fontEntry_));
    fontEntry_ = FontEntry{};
    lastFoundValid_ = false;
}

const FontEntry* Parser::FindFont(int index) const {
    if (lastFoundValid_ && index == lastFoundIndex_) return lastFound_;
    const auto it = fonts_.find(index);
    lastFoundValid_ = true;
    lastFoundIndex_ = index;
    lastFound_ = it == fonts_.end() ? nullptr : &it->second;
    return lastFound_;
}

// The font a \fN names; an unknown number means the default font.
const FontEntry* Parser::ResolveFont(int index) const {
    if (index >= 0) {
        if (const FontEntry* font = FindFont(index)) return font;
    }
    return FindFont(defaultFont_);
}

}  // namespace rtf

bool LooksLikeRtf(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::size_t i = 0;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n' || bytes[i] == '\f' ||
            bytes[i] == '\v')) {
        ++i;
    }
    return bytes.substr(i, 5) == "{\\rtf";
}

StyledText ReadRtf(std::string_view bytes) { return rtf::Parser(bytes).Parse(); }

}  // namespace fw
