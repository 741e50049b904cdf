#include "framework/text/RtfWriter.h"

#include "framework/text/Utf8.h"

#include <charconv>
#include <cmath>
#include <cstdint>
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

    void NewLine() {
        out_ += '\n';
        column_ = 0;
    }

    std::string Take() { return std::move(out_); }

private:
    std::string out_;
    std::size_t column_ = 0;
};

// Writes run text. Paragraph breaks should not occur inside a run; if one
// does, it becomes a line break rather than vanishing, because readers skip
// bare line ends.
void WriteText(RtfOutput& out, std::string_view text, std::string& scratch) {
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c >= 0x20 && c < 0x7F) {
            ++i;
            if (c == '\\' || c == '{' || c == '}') {
                const char escaped[2] = {'\\', c};
                out.Token(std::string_view(escaped, 2));
            } else {
                out.Char(c);
            }
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

// LibreOffice and Word give right-to-left and other complex-script text
// (Hebrew, Arabic, Devanagari, ...) the font, size, weight and slant of the
// associated words after \rtlch, and Chinese, Japanese and Korean text the
// font of \af after \dbch; \f alone reaches only Latin text. Every run states
// them, not only runs holding such characters, because spaces, digits and
// punctuation take the script of the text around them. What \plain already
// gives is left out: the reader's own font (font < 0 for a run without one),
// the reader's own size, upright and regular. \ltrch and \loch close the
// prefix, so that LibreOffice reads the \f, \fs, \b and \i after it as the
// Latin ones; ReadRtf ignores all these words outside \dbch.
void AppendAssociatedFormat(std::string& token, long font, long half, const CharStyle& style) {
    const std::size_t start = token.size();
    token += "\\rtlch";
    const std::size_t emptyLength = token.size();
    if (font >= 0) {
        token += "\\af";
        AppendNumber(token, font);
    }
    if (half) {
        token += "\\afs";
        AppendNumber(token, half);
    }
    if (style.bold) token += "\\ab";
    if (style.italic) token += "\\ai";
    if (token.size() == emptyLength) {
        token.resize(start);
    } else {
        token += "\\ltrch";
    }
    if (font >= 0) {
        token += "\\dbch\\af";
        AppendNumber(token, font);
        token += "\\loch";
    }
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

// The words that state a run's whole format.
void AppendRunFormat(std::string& token, const CharStyle& style, const Tables& tables) {
    const long font = tables.fontIndex.find(style.font)->second;
    const long half = HalfPoints(style.size);
    AppendAssociatedFormat(token, style.font.empty() ? -1 : font, half, style);
    token += "\\f";
    AppendNumber(token, font);
    if (half) {
        token += "\\fs";
        AppendNumber(token, half);
    }
    token += style.bold ? "\\b" : "\\b0";
    token += style.italic ? "\\i" : "\\i0";
    token += style.underline ? "\\ul" : "\\ulnone";
    token += "\\cf";
    AppendNumber(token, style.color ? tables.colorIndex.find(style.color->ToRGB())->second : 0);
    token += ' ';
}

void WriteParagraph(RtfOutput& out, const StyledParagraph& paragraph, const Tables& tables, std::string& token,
                    std::string& scratch) {
    token = "\\pard\\plain";
    switch (paragraph.alignment) {
    case Alignment::Left: token += "\\ql"; break;
    case Alignment::Center: token += "\\qc"; break;
    case Alignment::Right: token += "\\qr"; break;
    case Alignment::Justify: token += "\\qj"; break;
    default: break;
    }
    out.Token(token);
    bool firstRun = true;
    for (const auto& run : paragraph.runs) {
        if (run.text.empty()) continue;
        // \plain between runs returns a run without a size to the reader's
        // default instead of leaving it the previous run's size.
        token = firstRun ? "" : "\\plain";
        firstRun = false;
        AppendRunFormat(token, run.style, tables);
        out.Token(token);
        WriteText(out, run.text, scratch);
    }
    out.Token("\\par");
    out.NewLine();
}

}  // namespace

std::string WriteRtf(const StyledText& text) {
    const Tables tables = CollectTables(text);
    RtfOutput out(tables.textBytes + tables.textBytes / 8 + 256 + text.paragraphs.size() * 48);
    std::string scratch;
    std::string token;
    WriteHeader(out, tables, scratch);
    for (const auto& paragraph : text.paragraphs) WriteParagraph(out, paragraph, tables, token, scratch);
    out.Token("}");
    out.NewLine();
    return out.Take();
}

}  // namespace fw
