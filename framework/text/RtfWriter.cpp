#include "framework/text/RtfWriter.h"

#include "framework/text/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace fw {
namespace {

// Lines are broken before they would pass this column, so that the file
// stays readable in editors and mail; readers ignore the line ends.
constexpr std::size_t kLineLimit = 200;

// Readers that do not know \u show the character after it instead. For
// Latin letters with marks that is the bare letter, for common punctuation
// its ASCII look-alike, and otherwise a question mark.
char Fallback(char32_t cp) {
    static constexpr std::string_view kLatin1 =  // U+00C0 to U+00FF
        "AAAAAAACEEEEIIIIDNOOOOOxOUUUUY?s"
        "aaaaaaaceeeeiiiidnooooo?ouuuuy?y";
    static constexpr std::string_view kLatinA =  // U+0100 to U+017F
        "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGg"
        "GgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlL"
        "lLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSs"
        "SsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
    static_assert(kLatin1.size() == 0x40 && kLatinA.size() == 0x80);
    if (cp >= 0xC0 && cp <= 0xFF) return kLatin1[cp - 0xC0];
    if (cp >= 0x100 && cp <= 0x17F) return kLatinA[cp - 0x100];
    switch (cp) {
    case 0x2018:
    case 0x2019:
    case 0x201A:
    case 0x2032: return '\'';
    case 0x00AB:
    case 0x00BB:
    case 0x201C:
    case 0x201D:
    case 0x201E:
    case 0x2033: return '"';
    case 0x00AD:
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2013:
    case 0x2014:
    case 0x2212: return '-';
    case 0x2022:
    case 0x00B7: return '*';
    case 0x2026: return '.';
    default: return '?';
    }
}

// Appends "\uN" plus its fallback for one UTF-16 unit; N is signed 16-bit.
void AppendUnicodeEscape(std::string& token, char32_t unit, char fallback) {
    const int n = unit >= 0x8000 ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
    char buffer[16];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, n).ptr;
    token += "\\u";
    token.append(buffer, end);
    token += fallback;
}

// A character beyond ASCII (or an ASCII control character) as one token, so
// that no line break separates an escape from its fallback or the two halves
// of a surrogate pair.
std::string_view UnicodeToken(char32_t cp, std::string& scratch) {
    scratch.clear();
    const char fallback = Fallback(cp);
    if (cp > 0xFFFF) {
        const char32_t v = cp - 0x10000;
        AppendUnicodeEscape(scratch, 0xD800 + (v >> 10), fallback);
        AppendUnicodeEscape(scratch, 0xDC00 + (v & 0x3FF), fallback);
    } else {
        AppendUnicodeEscape(scratch, cp, fallback);
    }
    return scratch;
}

class RtfOutput {
public:
    explicit RtfOutput(std::size_t expectedSize) { out_.reserve(expectedSize); }

    // Text that must not be split by a line break.
    void Token(std::string_view token) {
        if (column_ > 0 && column_ + token.size() > kLineLimit) NewLine();
        out_ += token;
        column_ += token.size();
    }

    void Char(char c) {
        if (column_ >= kLineLimit) NewLine();
        out_ += c;
        ++column_;
    }

    // Characters that may be split anywhere, as Char writes them one by one.
    void Chars(std::string_view chars) {
        while (!chars.empty()) {
            if (column_ >= kLineLimit) NewLine();
            const std::size_t take = std::min(chars.size(), kLineLimit - column_);
            out_.append(chars.data(), take);
            column_ += take;
            chars.remove_prefix(take);
        }
    }

    void NewLine() {
        out_ += '\n';
        column_ = 0;
    }

    std::string Take() { return std::move(out_); }

private:
    std::string out_;
    std::size_t column_ = 0;
};

// Printable ASCII that stands for itself in RTF.
bool IsPlainText(char c) { return c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}'; }

// Writes run text. Paragraph breaks should not occur inside a run; if one
// does, it becomes a line break rather than vanishing, because readers skip
// bare line ends.
void WriteText(RtfOutput& out, std::string_view text, std::string& scratch) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t plain = i;
        while (i < text.size() && IsPlainText(text[i])) ++i;
        out.Chars(text.substr(plain, i - plain));
        if (i == text.size()) break;
        const char c = text[i];
        if (c == '\\' || c == '{' || c == '}') {
            ++i;
            const char escaped[2] = {'\\', c};
            out.Token(std::string_view(escaped, 2));
            continue;
        }
        if (c == '\t') {
            ++i;
            out.Token("\\tab ");
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++i;
            if (c == '\r' && i < text.size() && text[i] == '\n') ++i;
            out.Token("\\line ");
            continue;
        }
        const char32_t cp = utf8::Next(text, i);
        if (cp == 0x2028 || cp == 0x2029) {
            out.Token("\\line ");
        } else {
            out.Token(UnicodeToken(cp, scratch));
        }
    }
}

// Font names end at ';' and live inside a group, so those characters and
// the backslash are written as hex bytes, which every reader decodes as
// part of the name.
void WriteFontName(RtfOutput& out, std::string_view name, std::string& scratch) {
    std::size_t i = 0;
    while (i < name.size()) {
        const char c = name[i];
        if (c >= 0x20 && c < 0x7F) {
            ++i;
            switch (c) {
            case '\\': out.Token("\\'5c"); break;
            case '{': out.Token("\\'7b"); break;
            case '}': out.Token("\\'7d"); break;
            case ';': out.Token("\\'3b"); break;
            default: out.Char(c); break;
            }
            continue;
        }
        out.Token(UnicodeToken(utf8::Next(name, i), scratch));
    }
}

void AppendNumber(std::string& s, long n) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, n).ptr;
    s.append(buffer, end);
}

// Half-points for \fs, or 0 when the run keeps the reader's own size.
long HalfPoints(double size) {
    if (!(size > 0)) return 0;
    const double half = std::round(size * 2);
    if (half < 1) return 1;
    if (half > 32767) return 32767;
    return static_cast<long>(half);
}

// The fonts and colours the runs use, each numbered once.
struct Tables {
    std::vector<std::string_view> fonts;
    std::unordered_map<std::string_view, long> fontIndex;
    std::vector<Color> colors;
    std::unordered_map<std::uint32_t, long> colorIndex;
    std::size_t textBytes = 0;
};

// Font 0 is the document default that \plain returns to. When a run has no
// font of its own, font 0 is an entry with an empty name, so readers fall
// back to their own default font and ReadRtf gives "" back.
Tables CollectTables(const StyledText& text) {
    Tables tables;
    bool anyNamedFont = false;
    bool anyUnnamedFont = false;
    for (const auto& paragraph : text.paragraphs) {
        for (const auto& run : paragraph.runs) {
            if (run.text.empty()) continue;
            tables.textBytes += run.text.size();
            (run.style.font.empty() ? anyUnnamedFont : anyNamedFont) = true;
        }
    }
    // \deff0 must name an entry, so a document without fonts gets one too.
    if (anyUnnamedFont || !anyNamedFont) {
        tables.fonts.emplace_back();
        tables.fontIndex.emplace(std::string_view(), 0);
    }
    for (const auto& paragraph : text.paragraphs) {
        for (const auto& run : paragraph.runs) {
            if (run.text.empty()) continue;
            if (tables.fontIndex.emplace(run.style.font, static_cast<long>(tables.fonts.size())).second) {
                tables.fonts.push_back(run.style.font);
            }
            if (run.style.color) {
                const std::uint32_t rgb = run.style.color->ToRGB();
                // Index 0 is the empty entry that stands for automatic colour.
                if (tables.colorIndex.emplace(rgb, static_cast<long>(tables.colors.size()) + 1).second) {
                    tables.colors.push_back(*run.style.color);
                }
            }
        }
    }
    return tables;
}

void WriteHeader(RtfOutput& out, const Tables& tables, std::string& scratch) {
    std::string token;
    out.Token("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1");
    out.NewLine();
    out.Token("{\\fonttbl");
    for (std::size_t f = 0; f < tables.fonts.size(); ++f) {
        token = "{\\f";
        AppendNumber(token, static_cast<long>(f));
        token += "\\fnil\\fcharset0 ";
        out.Token(token);
        WriteFontName(out, tables.fonts[f], scratch);
        out.Token(";}");
    }
    out.Token("}");
    out.NewLine();
    out.Token("{\\colortbl;");
    for (const Color& color : tables.colors) {
        token = "\\red";
        AppendNumber(token, color.red);
        token += "\\green";
        AppendNumber(token, color.green);
        token += "\\blue";
        AppendNumber(token, color.blue);
        token += ';';
        out.Token(token);
    }
    out.Token("}");
    out.NewLine();
}

// The associated words, which LibreOffice and Word take for right-to-left
// and other complex-script text (Hebrew, Arabic, Devanagari, ...): the font,
// size, weight and slant of \af \afs \ab \ai after \rtlch; and for Chinese,
// Japanese and Korean text the font of \af after \dbch. A font of -1 or a
// size of 0 is what \plain gives, the reader's own, which no word restores.
struct AssociatedFormat {
    long complexFont = -1;
    long complexHalf = 0;
    bool complexBold = false;
    bool complexItalic = false;
    long eastAsianFont = -1;

    bool operator==(const AssociatedFormat&) const = default;
};

// The character format that the words written so far leave in force in a
// reader. \par and \pard keep it, so each run writes only what differs from
// the run before it, across paragraphs too. The default is what \plain
// gives: font 0, the document default, and no size of its own.
struct Format {
    long font = 0;
    long half = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    long color = 0;
    AssociatedFormat associated;

    bool operator==(const Format&) const = default;
};

// Complex-script and East Asian text, and the spaces, digits and punctuation
// that take the script of the text around them, show in the associated
// format, so a paragraph holding any such text states it for every run. A
// paragraph of Latin, accented and punctuation characters only needs none.
bool NeedsAssociatedFormat(const StyledParagraph& paragraph) {
    for (const auto& run : paragraph.runs) {
        const std::string_view text = run.text;
        for (std::size_t i = 0; i < text.size();) {
            // Mostly ASCII: eight bytes at a time while none has its top bit.
            std::uint64_t eight;
            if (i + 8 <= text.size() && (std::memcpy(&eight, text.data() + i, 8), eight & 0x8080808080808080u) == 0) {
                i += 8;
                continue;
            }
            if (static_cast<unsigned char>(text[i]) < 0xCC) {
                ++i;
                continue;
            }
            const char32_t cp = utf8::Next(text, i);
            if (cp >= 0x300 && (cp < 0x2000 || cp > 0x20CF)) return true;
        }
    }
    return false;
}

Format FormatOf(const CharStyle& style, const Tables& tables) {
    Format format;
    format.font = tables.fontIndex.find(style.font)->second;
    format.half = HalfPoints(style.size);
    format.bold = style.bold;
    format.italic = style.italic;
    format.underline = style.underline;
    format.color = style.color ? tables.colorIndex.find(style.color->ToRGB())->second : 0;
    const long font = style.font.empty() ? -1 : format.font;
    format.associated = {font, format.half, style.bold, style.italic, font};
    return format;
}

// Whether words can change `from` into `to` without \plain.
bool Reachable(const Format& from, const Format& to) {
    const AssociatedFormat &a = from.associated, &b = to.associated;
    return (to.half != 0 || from.half == 0) && (b.complexFont >= 0 || a.complexFont < 0) &&
        (b.complexHalf != 0 || a.complexHalf == 0) && (b.eastAsianFont >= 0 || a.eastAsianFont < 0);
}

void AppendWord(std::string& token, const char* word, long value) {
    token += word;
    AppendNumber(token, value);
}

void AppendSwitch(std::string& token, const char* word, bool on, bool was) {
    if (on == was) return;
    token += word;
    if (!on) token += '0';
}

// \ltrch and \loch close the associated words, so that LibreOffice reads the
// \f, \fs, \b and \i after them as the Latin ones; ReadRtf ignores all of
// them outside \rtlch.
void AppendAssociatedChanges(std::string& token, const AssociatedFormat& from, const AssociatedFormat& to) {
    if (to.complexFont != from.complexFont || to.complexHalf != from.complexHalf ||
        to.complexBold != from.complexBold || to.complexItalic != from.complexItalic) {
        token += "\\rtlch";
        if (to.complexFont != from.complexFont) AppendWord(token, "\\af", to.complexFont);
        if (to.complexHalf != from.complexHalf) AppendWord(token, "\\afs", to.complexHalf);
        AppendSwitch(token, "\\ab", to.complexBold, from.complexBold);
        AppendSwitch(token, "\\ai", to.complexItalic, from.complexItalic);
        token += "\\ltrch";
    }
    if (to.eastAsianFont != from.eastAsianFont) {
        AppendWord(token, "\\dbch\\af", to.eastAsianFont);
        token += "\\loch";
    }
}

// The words that change `from` into `to`, which Reachable allows.
void AppendChanges(std::string& token, const Format& from, const Format& to) {
    AppendAssociatedChanges(token, from.associated, to.associated);
    if (to.font != from.font) AppendWord(token, "\\f", to.font);
    if (to.half != from.half) AppendWord(token, "\\fs", to.half);
    AppendSwitch(token, "\\b", to.bold, from.bold);
    AppendSwitch(token, "\\i", to.italic, from.italic);
    if (to.underline != from.underline) token += to.underline ? "\\ul" : "\\ulnone";
    if (to.color != from.color) AppendWord(token, "\\cf", to.color);
}

// Appends the shorter of the changes from `from` to the run's format and
// \plain with the words from there (built in `words`), the latter where only
// \plain leads to it, and returns the format then in force. Without
// `associated` the associated words stay as they are, or as \plain leaves them.
Format AppendTransition(std::string& token, std::string& words, const Format& from, const Format& run,
                        bool associated) {
    Format changed = run;
    if (!associated) changed.associated = from.associated;
    const std::size_t start = token.size();
    const bool reachable = Reachable(from, changed);
    if (reachable) AppendChanges(token, from, changed);
    constexpr std::string_view kPlain = "\\plain";
    if (reachable && token.size() - start <= kPlain.size()) return changed;
    Format reset = run;
    if (!associated) reset.associated = {};
    words = kPlain;
    AppendChanges(words, Format{}, reset);
    if (reachable && words.size() >= token.size() - start) return changed;
    token.replace(start, std::string::npos, words);
    return reset;
}

void AppendAlignment(std::string& token, Alignment alignment) {
    switch (alignment) {
    case Alignment::Left: token += "\\ql"; break;
    case Alignment::Center: token += "\\qc"; break;
    case Alignment::Right: token += "\\qr"; break;
    case Alignment::Justify: token += "\\qj"; break;
    default: break;
    }
}

// A paragraph without text returns to \plain, so that other programs give
// its empty line the default height rather than that of the run before.
void WriteParagraph(RtfOutput& out, const StyledParagraph& paragraph, const Tables& tables, Format& format,
                    std::string& token, std::string& scratch) {
    token = "\\pard";
    AppendAlignment(token, paragraph.alignment);
    const bool associated = NeedsAssociatedFormat(paragraph);
    bool empty = true;
    for (const auto& run : paragraph.runs) {
        if (run.text.empty()) continue;
        empty = false;
        format = AppendTransition(token, scratch, format, FormatOf(run.style, tables), associated);
        if (!token.empty()) {
            token += ' ';
            out.Token(token);
            token.clear();
        }
        WriteText(out, run.text, scratch);
    }
    if (empty && format != Format{}) {
        token += "\\plain";
        format = Format{};
    }
    token += "\\par";
    out.Token(token);
    out.NewLine();
}

}  // namespace

std::string WriteRtf(const StyledText& text) {
    const Tables tables = CollectTables(text);
    RtfOutput out(tables.textBytes + tables.textBytes / 8 + 256 + text.paragraphs.size() * 48);
    std::string scratch;
    std::string token;
    WriteHeader(out, tables, scratch);
    Format format;
    for (const auto& paragraph : text.paragraphs) WriteParagraph(out, paragraph, tables, format, token, scratch);
    out.Token("}");
    out.NewLine();
    return out.Take();
}

}  // namespace fw
