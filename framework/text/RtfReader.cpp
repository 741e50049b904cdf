#include "framework/text/RtfReader.h"

#include "framework/text/RtfParser.h"
#include "framework/text/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
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
        case '\\':
            ControlSequence();
            break;
        case '\r':
        case '\n':
            ++pos_;
            break;
        default:
            Text();
            break;
        }
    }

    FlushBytes();
    FlushHighSurrogate();
    if (State().destination == Destination::FontTable) FinishFontEntry();
    if (!paragraph_.runs.empty()) EndParagraph();
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
bool Parser::ReadHexByte(int& value) {
    value = 0;
    for (int i = 0; i < 2; ++i) {
        if (pos_ >= size_) return false;
        const int digit = HexValue(data_[pos_]);
        if (digit < 0) return false;
        value = value * 16 + digit;
        ++pos_;
    }
    return true;
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
    Control control;
    ReadControl(control);
    const bool starred = pendingStar_;
    pendingStar_ = false;
    if (!control.name) {
        Symbol(control.symbol);
        return;
    }
    const WordInfo* info = FindWord(control.name, control.length);
    if (starred && (!info || info->word != Word::Ud)) {
        // An ignorable destination this reader does not know.
        if (info && info->word == Word::Bin) SkipBinary(control.parameter);
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
    if (c == '{' || c == '}') {
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
            if (pos_ + 3 < size_ && data_[pos_ + 1] == 'b' && data_[pos_ + 2] == 'i' &&
                data_[pos_ + 3] == 'n') {
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

void Parser::OpenGroup() {
    FlushBytes();
    pendingStar_ = false;
    if (stack_.size() >= kMaxGroupDepth) {
        ++flattenedGroups_;
        return;
    }
    stack_.push_back(stack_.back());
}

void Parser::CloseGroup() {
    FlushBytes();
    pendingStar_ = false;
    if (flattenedGroups_ > 0) {
        --flattenedGroups_;
        return;
    }
    if (stack_.size() <= 1) {
        done_ = true;
        return;
    }
    if (State().destination == Destination::FontTable && fontEntryActive_ &&
        stack_.size() <= fontEntryDepth_) {
        FinishFontEntry();
    }
    stack_.pop_back();
    styleDirty_ = true;
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
    const FontEntry* font = State().destination == Destination::FontTable
                                ? &fontEntry_
                                : ResolveFont(State().font);
    if (font) {
        if (font->codePage > 0) return font->codePage;
        if (const int codePage = CharsetCodePage(font->charset)) return codePage;
    }
    return documentCodePage_;
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
        paragraph_.runs.back().text.append(reinterpret_cast<const char*>(text), length);
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
        EnsureRun();
        utf8::Append(paragraph_.runs.back().text, cp);
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
    static const std::string kNoFont;
    const FontEntry* font = ResolveFont(state.font);
    const std::string& fontName = font ? font->name : kNoFont;
    const double size = state.fontSizeHalfPoints / 2.0;
    std::optional<Color> color;
    if (state.color >= 0 && static_cast<std::size_t>(state.color) < colors_.size()) color = colors_[state.color];

    if (!paragraph_.runs.empty()) {
        const CharStyle& last = paragraph_.runs.back().style;
        if (last.size == size && last.bold == state.bold && last.italic == state.italic &&
            last.underline == state.underline && last.color == color && last.font == fontName) {
            return;
        }
    }
    StyledRun& run = paragraph_.runs.emplace_back();
    run.style.font = fontName;
    run.style.size = size;
    run.style.bold = state.bold;
    run.style.italic = state.italic;
    run.style.underline = state.underline;
    run.style.color = color;
}

void Parser::EndParagraph() {
    FlushHighSurrogate();
    paragraph_.alignment = State().alignment;
    const std::size_t runs = paragraph_.runs.size();
    document_.paragraphs.push_back(std::move(paragraph_));
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
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' ||
                                bytes[i] == '\n' || bytes[i] == '\f' || bytes[i] == '\v')) {
        ++i;
    }
    return bytes.substr(i, 5) == "{\\rtf";
}

StyledText ReadRtf(std::string_view bytes) {
    return rtf::Parser(bytes).Parse();
}

}  // namespace fw
