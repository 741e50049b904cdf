#include "framework/text/RtfReader.h"

#include "framework/text/TextEncoding.h"

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

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

namespace {

// Groups nested deeper than this share the state of the deepest kept group.
// Real documents stay below a few dozen levels; the cap bounds memory for
// hostile input.
constexpr std::size_t kMaxGroupDepth = 4096;

// Numeric parameters are clamped to this magnitude.
constexpr std::int64_t kMaxParameter = 2147483647;

// Font sizes in half-points are capped where RTF writers cap them, at the
// largest signed 16-bit value, so that every size read can be written back.
constexpr int kMaxFontSizeHalfPoints = 32767;

// A \ucN larger than this would only make the reader skip real text.
constexpr int kMaxUnicodeSkip = 1000;

// Code page pseudo-numbers: the Symbol charset maps byte b to U+F000 + b.
constexpr int kSymbolCodePage = -2;
constexpr int kWindows1252 = 1252;
constexpr int kMacRoman = 10000;
constexpr int kUtf8 = 65001;

constexpr char32_t kReplacement = 0xFFFD;

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

// ---------------------------------------------------------------------------
// Control words

enum class Word : std::uint8_t {
    Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Uc, U, Bin,
    FontTable, ColorTable, Upr, Ud, Object, Result, SkipDestination,
    Font, FontCharset, CodePage, Red, Green, Blue,
    Par, Pard, Plain, AlignLeft, AlignCenter, AlignRight, AlignJustify,
    Sect, Cell, Row,
    Bold, Italic, Underline, UnderlineNone, FontSize, ColorFore,
    DoubleByteRun, OtherRun, AssocBold, AssocItalic, AssocFontSize,
    Character,  // inserts the fixed character in WordInfo::character
};

struct WordInfo {
    std::string_view name;
    Word word;
    char32_t character = 0;
};

constexpr WordInfo kWords[] = {
    {"ansi", Word::Ansi}, {"mac", Word::Mac}, {"pc", Word::Pc}, {"pca", Word::Pca},
    {"ansicpg", Word::AnsiCpg}, {"deff", Word::Deff}, {"uc", Word::Uc}, {"u", Word::U},
    {"bin", Word::Bin},
    {"fonttbl", Word::FontTable}, {"colortbl", Word::ColorTable}, {"upr", Word::Upr},
    {"ud", Word::Ud}, {"object", Word::Object}, {"result", Word::Result},
    {"f", Word::Font}, {"fcharset", Word::FontCharset}, {"cpg", Word::CodePage},
    {"red", Word::Red}, {"green", Word::Green}, {"blue", Word::Blue},
    {"par", Word::Par}, {"pard", Word::Pard}, {"plain", Word::Plain},
    {"ql", Word::AlignLeft}, {"qc", Word::AlignCenter}, {"qr", Word::AlignRight},
    {"qj", Word::AlignJustify},
    {"sect", Word::Sect}, {"page", Word::Sect}, {"column", Word::Sect},
    {"cell", Word::Cell}, {"nestcell", Word::Cell}, {"row", Word::Row}, {"nestrow", Word::Row},
    {"b", Word::Bold}, {"i", Word::Italic}, {"fs", Word::FontSize}, {"cf", Word::ColorFore},
    {"dbch", Word::DoubleByteRun}, {"loch", Word::OtherRun}, {"hich", Word::OtherRun},
    {"rtlch", Word::OtherRun}, {"ltrch", Word::OtherRun},
    {"ab", Word::AssocBold}, {"ai", Word::AssocItalic}, {"afs", Word::AssocFontSize},
    {"ul", Word::Underline}, {"uld", Word::Underline}, {"uldash", Word::Underline},
    {"uldashd", Word::Underline}, {"uldashdd", Word::Underline}, {"uldb", Word::Underline},
    {"ulhwave", Word::Underline}, {"ulldash", Word::Underline}, {"ulth", Word::Underline},
    {"ulthd", Word::Underline}, {"ulthdash", Word::Underline}, {"ulthdashd", Word::Underline},
    {"ulthdashdd", Word::Underline}, {"ulthldash", Word::Underline},
    {"ululdbwave", Word::Underline}, {"ulw", Word::Underline}, {"ulwave", Word::Underline},
    {"ulnone", Word::UnderlineNone},
    {"line", Word::Character, 0x2028}, {"tab", Word::Character, '\t'},
    {"emdash", Word::Character, 0x2014}, {"endash", Word::Character, 0x2013},
    {"bullet", Word::Character, 0x2022}, {"lquote", Word::Character, 0x2018},
    {"rquote", Word::Character, 0x2019}, {"ldblquote", Word::Character, 0x201C},
    {"rdblquote", Word::Character, 0x201D}, {"enspace", Word::Character, 0x2002},
    {"emspace", Word::Character, 0x2003}, {"qmspace", Word::Character, 0x2005},
    {"zwj", Word::Character, 0x200D}, {"zwnj", Word::Character, 0x200C},
    {"zwbo", Word::Character, 0x200B}, {"ltrmark", Word::Character, 0x200E},
    {"rtlmark", Word::Character, 0x200F},
    // Groups whose content is not document text.
    {"stylesheet", Word::SkipDestination}, {"info", Word::SkipDestination},
    {"header", Word::SkipDestination}, {"headerl", Word::SkipDestination},
    {"headerr", Word::SkipDestination}, {"headerf", Word::SkipDestination},
    {"footer", Word::SkipDestination}, {"footerl", Word::SkipDestination},
    {"footerr", Word::SkipDestination}, {"footerf", Word::SkipDestination},
    {"footnote", Word::SkipDestination}, {"annotation", Word::SkipDestination},
    {"ftnsep", Word::SkipDestination}, {"ftnsepc", Word::SkipDestination},
    {"aftnsep", Word::SkipDestination}, {"aftnsepc", Word::SkipDestination},
    {"ftncn", Word::SkipDestination}, {"aftncn", Word::SkipDestination},
    {"pict", Word::SkipDestination}, {"shp", Word::SkipDestination},
    {"nonshppict", Word::SkipDestination}, {"shppict", Word::SkipDestination},
    {"objdata", Word::SkipDestination}, {"objclass", Word::SkipDestination},
    {"fldinst", Word::SkipDestination}, {"listtable", Word::SkipDestination},
    {"listoverridetable", Word::SkipDestination}, {"revtbl", Word::SkipDestination},
    {"rsidtbl", Word::SkipDestination}, {"xmlnstbl", Word::SkipDestination},
    {"themedata", Word::SkipDestination}, {"colorschememapping", Word::SkipDestination},
    {"latentstyles", Word::SkipDestination}, {"datastore", Word::SkipDestination},
    {"generator", Word::SkipDestination}, {"pgdsctbl", Word::SkipDestination},
    {"mmathPr", Word::SkipDestination}, {"expandedcolortbl", Word::SkipDestination},
    {"bkmkstart", Word::SkipDestination}, {"bkmkend", Word::SkipDestination},
    {"userprops", Word::SkipDestination}, {"filetbl", Word::SkipDestination},
    {"listpicture", Word::SkipDestination}, {"nonesttables", Word::SkipDestination},
    {"pn", Word::SkipDestination}, {"pntxta", Word::SkipDestination},
    {"pntxtb", Word::SkipDestination}, {"template", Word::SkipDestination},
    {"docvar", Word::SkipDestination}, {"xe", Word::SkipDestination},
    {"tc", Word::SkipDestination}, {"tcn", Word::SkipDestination},
    {"txe", Word::SkipDestination}, {"falt", Word::SkipDestination},
    {"panose", Word::SkipDestination}, {"fontemb", Word::SkipDestination},
    {"fontfile", Word::SkipDestination}, {"title", Word::SkipDestination},
    {"subject", Word::SkipDestination}, {"author", Word::SkipDestination},
    {"operator", Word::SkipDestination}, {"keywords", Word::SkipDestination},
    {"comment", Word::SkipDestination}, {"doccomm", Word::SkipDestination},
    {"company", Word::SkipDestination}, {"manager", Word::SkipDestination},
    {"category", Word::SkipDestination}, {"background", Word::SkipDestination},
    {"sp", Word::SkipDestination}, {"sn", Word::SkipDestination},
    {"sv", Word::SkipDestination}, {"do", Word::SkipDestination},
};

std::uint32_t HashWord(const char* s, std::size_t n) {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char>(s[i])) * 16777619u;
    return h;
}

// Open-addressing table over kWords; control words are looked up hundreds of
// thousands of times in a large document.
class WordTable {
public:
    WordTable() {
        for (const WordInfo& info : kWords) {
            std::uint32_t slot = HashWord(info.name.data(), info.name.size()) & kMask;
            while (slots_[slot]) slot = (slot + 1) & kMask;
            slots_[slot] = &info;
        }
    }

    const WordInfo* Find(const char* s, std::size_t n) const {
        std::uint32_t slot = HashWord(s, n) & kMask;
        while (const WordInfo* info = slots_[slot]) {
            if (info->name.size() == n && std::memcmp(info->name.data(), s, n) == 0) return info;
            slot = (slot + 1) & kMask;
        }
        return nullptr;
    }

private:
    static constexpr std::uint32_t kSlots = 1024;
    static constexpr std::uint32_t kMask = kSlots - 1;
    std::array<const WordInfo*, kSlots> slots_{};
};

const WordTable& Words() {
    static const WordTable table;
    return table;
}

// ---------------------------------------------------------------------------
// Code pages

int CharsetCodePage(int charset) {
    switch (charset) {
    case 2: return kSymbolCodePage;
    case 77: return kMacRoman;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254:
    case 255: return 437;
    default: return 0;  // the document's code page
    }
}

bool IsLeadByte(int codePage, unsigned char b) {
    switch (codePage) {
    case 932: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950: return b >= 0x81 && b <= 0xFE;
    case 1361: return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xF9);
    default: return false;
    }
}

// Converters for the code pages the built-in tables do not cover, opened on
// first use. Qt reaches them through ICU.
class Decoders {
public:
    // The converter for a code page, or null when none is available.
    QStringDecoder* Find(int codePage) {
        auto it = decoders_.find(codePage);
        if (it == decoders_.end()) it = decoders_.emplace(codePage, Open(codePage)).first;
        return it->second.get();
    }

private:
    static std::unique_ptr<QStringDecoder> Open(int codePage) {
        std::vector<QByteArray> names;
        switch (codePage) {
        case 437: names.push_back("IBM437"); break;
        case 850: names.push_back("IBM850"); break;
        case 932: names.push_back("windows-932"); names.push_back("Shift_JIS"); break;
        case 936: names.push_back("GBK"); break;
        case 949: names.push_back("windows-949"); names.push_back("EUC-KR"); break;
        case 950: names.push_back("windows-950"); names.push_back("Big5"); break;
        case kUtf8: names.push_back("UTF-8"); break;
        default: break;
        }
        const QByteArray number = QByteArray::number(codePage);
        names.push_back("windows-" + number);
        names.push_back("cp" + number);
        names.push_back("ibm-" + number);
        for (const QByteArray& name : names) {
            auto decoder = std::make_unique<QStringDecoder>(name.constData(),
                                                            QStringDecoder::Flag::Stateless);
            if (decoder->isValid()) return decoder;
        }
        return nullptr;
    }

    std::unordered_map<int, std::unique_ptr<QStringDecoder>> decoders_;
};

// ---------------------------------------------------------------------------
// Parser state

enum class Destination : std::uint8_t {
    Text,        // document text
    FontTable,   // font names
    ColorTable,  // colour entries
    Drop,        // text discarded until \ud or \result names a branch to read
};

struct GroupState {
    int font = -1;  // -1: the default font
    int fontSizeHalfPoints = 24;
    int color = -1;  // -1: automatic
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // After \dbch (until \loch, \hich, \rtlch or \ltrch) the associated
    // \ab, \ai and \afs give the weight, slant and size of the text, the
    // way LibreOffice writes them for Chinese, Japanese and Korean.
    bool doubleByteRun = false;
    Alignment alignment = Alignment::Default;
    int unicodeSkip = 1;
    Destination destination = Destination::Text;
    Destination revived = Destination::Text;  // where a Drop branch's \ud or \result leads
};

struct FontEntry {
    std::string name;
    int charset = -1;
    int codePage = 0;
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
    void FlushHighSurrogate();
    void EnsureRun();
    void EndParagraph();

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
    Decoders decoders_;

    StyledText document_;
    StyledParagraph paragraph_;
    bool styleDirty_ = true;
};

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
    const WordInfo* info = Words().Find(control.name, control.length);
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

void Parser::Execute(const WordInfo& info, const Control& control) {
    GroupState& state = State();
    const int param = control.parameter;
    const bool on = !control.hasParameter || param != 0;

    if (state.destination == Destination::Drop) {
        switch (info.word) {
        case Word::Ud:
        case Word::Result: state.destination = state.revived; break;
        case Word::SkipDestination: SkipGroup(); break;
        case Word::Bin: SkipBinary(param); break;
        case Word::Uc: state.unicodeSkip = std::clamp(control.hasParameter ? param : 1, 0, kMaxUnicodeSkip); break;
        default: break;
        }
        return;
    }

    switch (info.word) {
    case Word::Ansi: documentCodePage_ = kWindows1252; break;
    case Word::Mac: documentCodePage_ = kMacRoman; break;
    case Word::Pc: documentCodePage_ = 437; break;
    case Word::Pca: documentCodePage_ = 850; break;
    case Word::AnsiCpg:
        if (param > 0) documentCodePage_ = param;
        break;
    case Word::Deff: defaultFont_ = param; break;
    case Word::Uc:
        state.unicodeSkip = std::clamp(control.hasParameter ? param : 1, 0, kMaxUnicodeSkip);
        break;
    case Word::U:
        if (!control.hasParameter) break;
        if (param < -32768 || param > 65535) {
            EmitCodePoint(kReplacement);
        } else {
            EmitCodePoint(static_cast<char32_t>(param < 0 ? param + 65536 : param));
        }
        skipUnits_ = state.unicodeSkip;
        break;
    case Word::Bin: SkipBinary(param); break;

    case Word::FontTable:
        state.destination = Destination::FontTable;
        break;
    case Word::ColorTable:
        if (colorTableRead_) {
            SkipGroup();
        } else {
            colorTableRead_ = true;
            state.destination = Destination::ColorTable;
            colorGiven_ = false;
            red_ = green_ = blue_ = 0;
        }
        break;
    case Word::Upr:
    case Word::Object:
        state.revived = state.destination;
        state.destination = Destination::Drop;
        break;
    case Word::Ud:
    case Word::Result: break;
    case Word::SkipDestination: SkipGroup(); break;

    case Word::Font:
        if (state.destination == Destination::FontTable) {
            StartFontEntry(param);
        } else {
            state.font = std::max(param, 0);
            styleDirty_ = true;
        }
        break;
    case Word::FontCharset:
        if (state.destination == Destination::FontTable) fontEntry_.charset = param;
        break;
    case Word::CodePage:
        if (state.destination == Destination::FontTable) fontEntry_.codePage = param;
        break;
    case Word::Red:
    case Word::Green:
    case Word::Blue:
        if (state.destination == Destination::ColorTable) {
            const int value = std::clamp(param, 0, 255);
            (info.word == Word::Red ? red_ : info.word == Word::Green ? green_ : blue_) = value;
            colorGiven_ = true;
        }
        break;

    case Word::Par:
    case Word::Row:
        if (state.destination == Destination::Text) EndParagraph();
        break;
    case Word::Sect:
        if (state.destination == Destination::Text && !paragraph_.runs.empty()) EndParagraph();
        break;
    case Word::Cell: EmitCodePoint('\t'); break;
    case Word::Pard: state.alignment = Alignment::Default; break;
    case Word::AlignLeft: state.alignment = Alignment::Left; break;
    case Word::AlignJustify: state.alignment = Alignment::Justify; break;
    case Word::AlignCenter: state.alignment = Alignment::Center; break;
    case Word::AlignRight: state.alignment = Alignment::Right; break;

    case Word::Plain:
        state.font = -1;
        state.fontSizeHalfPoints = 24;
        state.bold = state.italic = state.underline = false;
        state.color = -1;
        state.doubleByteRun = false;
        styleDirty_ = true;
        break;
    case Word::Bold: state.bold = on; styleDirty_ = true; break;
    case Word::Italic: state.italic = on; styleDirty_ = true; break;
    case Word::DoubleByteRun: state.doubleByteRun = true; break;
    case Word::OtherRun: state.doubleByteRun = false; break;
    case Word::AssocBold:
        if (state.doubleByteRun) {
            state.bold = on;
            styleDirty_ = true;
        }
        break;
    case Word::AssocItalic:
        if (state.doubleByteRun) {
            state.italic = on;
            styleDirty_ = true;
        }
        break;
    case Word::Underline: state.underline = on; styleDirty_ = true; break;
    case Word::UnderlineNone: state.underline = false; styleDirty_ = true; break;
    case Word::AssocFontSize:
        if (!state.doubleByteRun) break;
        [[fallthrough]];
    case Word::FontSize:
        state.fontSizeHalfPoints = control.hasParameter && param > 0 ? std::min(param, kMaxFontSizeHalfPoints) : 24;
        styleDirty_ = true;
        break;
    case Word::ColorFore:
        state.color = std::max(control.hasParameter ? param : 0, 0);
        styleDirty_ = true;
        break;
    case Word::Character: EmitCodePoint(info.character); break;
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
    if (codePage == kSymbolCodePage) {
        for (const char b : bytes) EmitCodePoint(0xF000 + static_cast<unsigned char>(b));
    } else if (codePage == kMacRoman) {
        for (const char b : bytes) EmitCodePoint(encoding::MacRomanToUnicode(static_cast<unsigned char>(b)));
    } else if (QStringDecoder* decoder = codePage == kWindows1252 ? nullptr : decoders_.Find(codePage)) {
        decoder->resetState();
        const QString text = decoder->decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
        const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
        const qsizetype count = text.size();
        for (qsizetype i = 0; i < count; ++i) {
            char32_t cp = units[i];
            // ICU marks an unconvertible byte with SUB rather than U+FFFD.
            if (cp == 0x1A) cp = kReplacement;
            EmitCodePoint(cp);
        }
    } else {
        // Windows-1252, also the stand-in for a code page no converter knows.
        for (const char b : bytes) EmitCodePoint(encoding::Windows1252ToUnicode(static_cast<unsigned char>(b)));
    }
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
        encoding::AppendUtf8(paragraph_.runs.back().text, cp);
        break;
    case Destination::FontTable:
        if (fontEntryActive_ && cp >= 0x20) encoding::AppendUtf8(fontEntry_.name, cp);
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

}  // namespace

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
    return Parser(bytes).Parse();
}

}  // namespace fw
