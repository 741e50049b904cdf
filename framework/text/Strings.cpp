#include "framework/text/Strings.h"

#include "framework/text/Utf8.h"

#include <QChar>
#include <QString>
#include <QStringDecoder>
#include <QTextBoundaryFinder>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

namespace fw {

namespace {

// A damaged byte is one character, as everywhere in the framework; here it
// decodes to a value above the code point range so that it never equals a
// real character, matches only the same byte, and is written back unchanged.
constexpr char32_t kInvalidBase = 0x110000;

bool isInvalidUnit(char32_t unit) { return unit >= kInvalidBase; }

struct Unit {
    char32_t value;  // code point, or kInvalidBase + byte
    int length;      // bytes taken from the text
};

bool isContinuation(unsigned char b) { return utf8::IsContinuation(b); }

// The character at p; a damaged byte keeps its own value, one above the code
// point range per byte, rather than U+FFFD.
Unit decodeAt(const unsigned char* p, const unsigned char* end) {
    const utf8::Character c = utf8::DecodeAt(p, end);
    return {c.damaged ? kInvalidBase + p[0] : c.codePoint, c.length};
}

// Walks a UTF-8 text one character at a time.
class Cursor {
public:
    explicit Cursor(std::string_view s)
        : begin_(reinterpret_cast<const unsigned char*>(s.data())), p_(begin_), end_(begin_ + s.size()) {}

    bool atEnd() const { return p_ >= end_; }
    std::size_t offset() const { return std::size_t(p_ - begin_); }

    Unit next() {
        if (*p_ < 0x80) return {*p_++, 1};
        const Unit u = decodeAt(p_, end_);
        p_ += u.length;
        return u;
    }

    // Steps over up to count characters; returns how many it stepped over.
    long skip(long count) {
        long done = 0;
        while (done < count && p_ < end_) {
            // Plain ASCII is by far the most common text; take it eight bytes at a time.
            while (count - done >= 8 && end_ - p_ >= 8) {
                std::uint64_t word;
                std::memcpy(&word, p_, 8);
                if (word & 0x8080808080808080ull) break;
                p_ += 8;
                done += 8;
            }
            if (done >= count || p_ >= end_) break;
            if (*p_ < 0x80) {
                ++p_;
            } else {
                p_ += decodeAt(p_, end_).length;
            }
            ++done;
        }
        return done;
    }

    // Steps over ASCII characters that cannot begin a match of a pattern whose
    // first character is the byte a or b and whose second is c or d (none
    // given for a pattern of one character), and stops before anything else;
    // returns how many it stepped over. A byte of 0x80 or above stands for no
    // ASCII character. Eight bytes at a time where it can: a byte is kept
    // when it may begin a match and the byte after it may continue one.
    long skipAsciiExcept(unsigned char a, unsigned char b, std::optional<std::pair<unsigned char, unsigned char>> cd) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
        // The high bit of every byte that equals one of the two; a byte above an
        // equal one may be marked too, which only costs a closer look.
        const auto equal = [](std::uint64_t word, unsigned char x, unsigned char y) {
            const std::uint64_t dx = word ^ (kOnes * x), dy = word ^ (kOnes * y);
            return (((dx - kOnes) & ~dx) | ((dy - kOnes) & ~dy)) & kHigh;
        };
        const unsigned char* start = p_;
        while (end_ - p_ >= 9) {
            std::uint64_t word, next;
            std::memcpy(&word, p_, 8);
            std::memcpy(&next, p_ + 1, 8);
            if ((word | next) & kHigh) break;
            if (equal(word, a, b) & (cd ? equal(next, cd->first, cd->second) : kHigh)) break;
            p_ += 8;
        }
        while (p_ < end_ && *p_ < 0x80 && *p_ != a && *p_ != b) ++p_;
        return long(p_ - start);
    }

private:
    const unsigned char* begin_;
    const unsigned char* p_;
    const unsigned char* end_;
};

void appendUnit(std::string& out, char32_t unit) {
    if (isInvalidUnit(unit)) {
        out.push_back(char(unit - kInvalidBase));
    } else {
        utf8::Append(out, unit);
    }
}

void appendUtf16(QString& out, char32_t cp) {
    if (QChar::requiresSurrogates(cp)) {
        out.append(QChar(QChar::highSurrogate(cp)));
        out.append(QChar(QChar::lowSurrogate(cp)));
    } else {
        out.append(QChar(char16_t(cp)));
    }
}

QString singleCharacter(char32_t cp) {
    QString s;
    appendUtf16(s, cp);
    return s;
}

char32_t fold(char32_t unit) {
    if (unit < 0x80) return (unit >= 'A' && unit <= 'Z') ? unit + 32 : unit;
    if (isInvalidUnit(unit)) return unit;
    return QChar::toCaseFolded(unit);
}

std::vector<char32_t> foldedUnits(std::string_view s) {
    std::vector<char32_t> units;
    units.reserve(s.size());
    Cursor c(s);
    while (!c.atEnd()) units.push_back(fold(c.next().value));
    return units;
}

bool isCased(char32_t cp) {
    return !isInvalidUnit(cp) && (QChar::isLower(cp) || QChar::isUpper(cp) || QChar::isTitleCase(cp));
}

// Characters that may sit inside a word without affecting how its letters
// are cased: marks, format characters, modifiers and word-inner punctuation.
bool isCaseIgnorable(char32_t cp) {
    if (isInvalidUnit(cp)) return false;
    switch (cp) {
    case 0x0027:
    case 0x002E:
    case 0x003A:
    case 0x00B7:
    case 0x0387:
    case 0x055F:
    case 0x05F4:
    case 0x2018:
    case 0x2019:
    case 0x2024:
    case 0x2027:
    case 0xFE13:
    case 0xFE52:
    case 0xFE55:
    case 0xFF07:
    case 0xFF0E:
    case 0xFF1A: return true;
    default: break;
    }
    switch (QChar::category(cp)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
    case QChar::Letter_Modifier:
    case QChar::Symbol_Modifier: return true;
    default: return false;
    }
}

// Lower-cases text character by character. Capital sigma becomes the final
// form ς at the end of a word, as Greek spelling demands; İ becomes i with a
// combining dot so that the dot is not lost.
class Lowerer {
public:
    explicit Lowerer(std::string_view s) : s_(s) {}

    // Call for every unit of the text in order, so that the word context is known.
    void note(char32_t unit) {
        if (isCased(unit)) {
            afterCased_ = true;
        } else if (!isCaseIgnorable(unit)) {
            afterCased_ = false;
        }
    }

    // Appends the lower case of unit, which ends at byte offset endOffset of
    // the text; call before note(unit).
    void appendLower(std::string& out, char32_t unit, std::size_t endOffset) const {
        if (unit < 0x80) {
            out.push_back(char((unit >= 'A' && unit <= 'Z') ? unit + 32 : unit));
        } else if (isInvalidUnit(unit)) {
            appendUnit(out, unit);
        } else if (unit == 0x0130) {
            appendUnit(out, 'i');
            appendUnit(out, 0x0307);
        } else if (unit == 0x03A3) {
            appendUnit(out, afterCased_ && !casedFollows(endOffset) ? 0x03C2 : 0x03C3);
        } else {
            appendUnit(out, QChar::toLower(unit));
        }
    }

private:
    bool casedFollows(std::size_t offset) const {
        Cursor c(s_.substr(offset));
        while (!c.atEnd()) {
            const char32_t unit = c.next().value;
            if (isCased(unit)) return true;
            if (!isCaseIgnorable(unit)) return false;
        }
        return false;
    }

    std::string_view s_;
    bool afterCased_ = false;
};

// The title case of a word's first letter. Digraphs (ǆ → ǅ) and Greek
// letters with iota subscript have a title case form of their own; letters
// whose capital is several characters (ß, ﬁ, Armenian ligatures) keep only
// the first cased one capital (Ss, Fi).
void appendTitle(std::string& out, char32_t cp) {
    const char32_t simple = QChar::toTitleCase(cp);
    if (simple != cp || QChar::isTitleCase(cp)) {
        appendUnit(out, simple);
        return;
    }
    const QString upper = singleCharacter(cp).toUpper();
    std::vector<char32_t> parts;
    for (qsizetype i = 0; i < upper.size(); ++i) {
        char32_t u = upper.at(i).unicode();
        if (upper.at(i).isHighSurrogate() && i + 1 < upper.size()) {
            u = QChar::surrogateToUcs4(upper.at(i).unicode(), upper.at(i + 1).unicode());
            ++i;
        }
        parts.push_back(u);
    }
    if (parts.size() == 1) {
        appendUnit(out, parts[0]);
        return;
    }
    // A Greek vowel with iota subscript keeps the subscript in title case,
    // where upper case spells it as a capital iota.
    const bool greek = cp >= 0x1F00 && cp <= 0x1FFF;
    bool seenCased = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        char32_t u = parts[i];
        if (greek && i + 1 == parts.size() && u == 0x0399) {
            u = 0x0345;
        } else if (seenCased) {
            u = QChar::toLower(u);
        }
        seenCased = seenCased || isCased(u);
        appendUnit(out, u);
    }
}

bool isWordCharacter(char32_t cp) { return !isInvalidUnit(cp) && (QChar::isLetterOrNumber(cp) || QChar::isMark(cp)); }

bool isApostrophe(char32_t cp) { return cp == 0x0027 || cp == 0x2019; }

bool isRegionalIndicator(char32_t cp) { return cp >= 0x1F1E6 && cp <= 0x1F1FF; }

// True when byte offset pos of s falls between two characters.
bool isBoundary(std::string_view s, std::size_t pos) {
    if (pos == 0 || pos >= s.size()) return true;
    const auto* bytes = reinterpret_cast<const unsigned char*>(s.data());
    if (!isContinuation(bytes[pos])) return true;
    for (std::size_t back = 1; back <= 3 && back <= pos; ++back) {
        const unsigned char b = bytes[pos - back];
        if (isContinuation(b)) continue;
        return decodeAt(bytes + pos - back, bytes + s.size()).length <= int(back);
    }
    return true;
}

// Splits one stretch of well-formed text into grapheme clusters.
void appendGraphemes(std::vector<std::string>& pieces, std::string_view run) {
    QString text;
    text.reserve(qsizetype(run.size()));
    std::vector<char32_t> cps;
    cps.reserve(run.size());
    for (Cursor c(run); !c.atEnd();) {
        const char32_t cp = c.next().value;
        cps.push_back(cp);
        appendUtf16(text, cp);
    }
    std::vector<qsizetype> breaks;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype b = finder.toNextBoundary(); b != -1; b = finder.toNextBoundary()) breaks.push_back(b);
    pieces.reserve(pieces.size() + breaks.size() + 1);

    // Qt loses count of regional indicators after a pictograph and pairs them
    // off by one, cutting flags in two. A flag is every two indicators counted
    // from the start of their run, so the cuts inside a run are made here.
    std::size_t pieceStart = 0, byteOffset = 0, nextBreak = 0;
    qsizetype u16 = 0;
    long indicatorsInRun = 0;
    for (std::size_t i = 0; i < cps.size(); ++i) {
        const char32_t cp = cps[i];
        u16 += QChar::requiresSurrogates(cp) ? 2 : 1;
        byteOffset += cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
        indicatorsInRun = isRegionalIndicator(cp) ? indicatorsInRun + 1 : 0;
        while (nextBreak < breaks.size() && breaks[nextBreak] < u16) ++nextBreak;
        const bool last = i + 1 == cps.size();
        bool cut = last || (nextBreak < breaks.size() && breaks[nextBreak] == u16);
        if (!last && indicatorsInRun > 0 && isRegionalIndicator(cps[i + 1])) cut = indicatorsInRun % 2 == 0;
        if (!cut) continue;
        pieces.emplace_back(run.substr(pieceStart, byteOffset - pieceStart));
        pieceStart = byteOffset;
    }
}

std::vector<std::string> splitGraphemes(std::string_view s) {
    std::vector<std::string> pieces;
    std::size_t runStart = 0;
    for (Cursor c(s); !c.atEnd();) {
        const std::size_t at = c.offset();
        if (isInvalidUnit(c.next().value)) {
            if (at > runStart) appendGraphemes(pieces, s.substr(runStart, at - runStart));
            pieces.emplace_back(s.substr(at, 1));
            runStart = at + 1;
        }
    }
    if (runStart < s.size()) appendGraphemes(pieces, s.substr(runStart));
    if (pieces.empty()) pieces.emplace_back();
    return pieces;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

}  // namespace

long Len(std::string_view s) {
    Cursor c(s);
    return c.skip(long(s.size()));
}

std::string Mid(std::string_view s, long start, long length) {
    if (start < 1) start = 1;
    if (length == 0) return {};
    Cursor c(s);
    if (c.skip(start - 1) < start - 1 || c.atEnd()) return {};
    const std::size_t from = c.offset();
    if (length < 0) return std::string(s.substr(from));
    c.skip(length);
    return std::string(s.substr(from, c.offset() - from));
}

long InStr(std::string_view s, std::string_view find) { return InStr(1, s, find); }

long InStr(long start, std::string_view s, std::string_view find) {
    if (start < 1) start = 1;
    Cursor c(s);
    if (c.skip(start - 1) < start - 1 || c.atEnd()) return 0;
    if (find.empty()) return start;

    // Folding maps each character to exactly one character, so a match spans
    // as many characters as find has; Knuth-Morris-Pratt keeps the search
    // linear in the length of s however the pattern repeats itself.
    const std::vector<char32_t> pattern = foldedUnits(find);
    const std::size_t m = pattern.size();
    std::vector<std::size_t> border(m, 0);
    for (std::size_t i = 1, k = 0; i < m; ++i) {
        while (k > 0 && pattern[i] != pattern[k]) k = border[k - 1];
        if (pattern[i] == pattern[k]) ++k;
        border[i] = k;
    }
    // Where no match is under way, the ASCII characters that do not fold to
    // the pattern's first character are stepped over in bulk.
    const auto bothCases = [](char32_t unit) {
        const auto lower = static_cast<unsigned char>(unit < 0x80 ? unit : 0x80);
        return std::pair(lower, static_cast<unsigned char>(lower >= 'a' && lower <= 'z' ? lower - 32 : lower));
    };
    const auto [first, firstUpper] = bothCases(pattern[0]);
    std::optional<std::pair<unsigned char, unsigned char>> second;
    if (m > 1) second = bothCases(pattern[1]);
    long index = start - 1;
    std::size_t matched = 0;
    while (!c.atEnd()) {
        if (matched == 0) {
            index += c.skipAsciiExcept(first, firstUpper, second);
            if (c.atEnd()) break;
        }
        const char32_t unit = fold(c.next().value);
        ++index;
        while (matched > 0 && pattern[matched] != unit) matched = border[matched - 1];
        if (pattern[matched] == unit) ++matched;
        if (matched == m) return index - long(m) + 1;
    }
    return 0;
}

std::string Chr(long codePoint) {
    if (codePoint < 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return {};
    std::string out;
    appendUnit(out, char32_t(codePoint));
    return out;
}

double Val(std::string_view s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n && isBlank(s[i])) ++i;
    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const double sign = negative ? -1.0 : 1.0;

    if (i + 1 < n && s[i] == '&') {
        int base = 0;
        switch (s[i + 1]) {
        case 'h':
        case 'H': base = 16; break;
        case 'o':
        case 'O': base = 8; break;
        case 'b':
        case 'B': base = 2; break;
        default: break;
        }
        if (base != 0) {
            double value = 0;
            for (i += 2; i < n && digitValue(s[i]) < base; ++i) value = value * base + digitValue(s[i]);
            return value == 0 ? 0.0 : sign * value;
        }
    }

    const std::size_t numberStart = i;
    std::size_t intDigits = 0, leadingZeros = 0, fracDigits = 0, fracLeadingZeros = 0;
    bool nonZeroSeen = false;
    for (; i < n && isDigit(s[i]); ++i, ++intDigits) {
        if (s[i] != '0') nonZeroSeen = true;
        if (!nonZeroSeen) ++leadingZeros;
    }
    if (i < n && s[i] == '.') {
        std::size_t j = i + 1;
        for (; j < n && isDigit(s[j]); ++j, ++fracDigits) {
            if (s[j] != '0') nonZeroSeen = true;
            if (!nonZeroSeen) ++fracLeadingZeros;
        }
        if (intDigits > 0 || fracDigits > 0) i = j;
    }
    if (intDigits == 0 && fracDigits == 0) return 0.0;
    long exponent = 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < n && (s[j] == '+' || s[j] == '-')) {
            expNegative = s[j] == '-';
            ++j;
        }
        if (j < n && isDigit(s[j])) {
            for (; j < n && isDigit(s[j]); ++j) {
                if (exponent < 100000000) exponent = exponent * 10 + (s[j] - '0');
            }
            if (expNegative) exponent = -exponent;
            i = j;
        }
    }

    double value = 0;
    const auto [end, ec] = std::from_chars(s.data() + numberStart, s.data() + i, value, std::chars_format::general);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // The decimal exponent of the leading significant digit tells overflow
        // from underflow.
        const long magnitude =
            intDigits > leadingZeros ? long(intDigits - leadingZeros) + exponent : exponent - long(fracLeadingZeros);
        value = magnitude > 0 ? HUGE_VAL : 0.0;
    } else if (ec != std::errc()) {
        value = 0;
    }
    return value == 0 ? 0.0 : sign * value;
}

std::string Str(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
    if (value == 0) return "0";
    char buffer[64];
    std::to_chars_result result;
    if (std::fabs(value) < 1e15 && std::trunc(value) == value) {
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    } else {
        result = std::to_chars(buffer, buffer + sizeof buffer, value);
    }
    return std::string(buffer, result.ptr);
}

std::string Uppercase(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    // Qt's decoder would drop a byte order mark at the start of the text
    // unless told to keep it.
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
    const auto appendUpper = [&](std::string_view run) {
        if (run.empty()) return;
        const QString text = decoder.decode(QByteArrayView(run.data(), qsizetype(run.size())));
        const QString upper = text.toUpper();
        const QByteArray bytes = upper.toUtf8();
        out.append(bytes.constData(), std::size_t(bytes.size()));
    };
    std::size_t runStart = 0;
    for (Cursor c(s); !c.atEnd();) {
        const std::size_t at = c.offset();
        const char32_t unit = c.next().value;
        if (isInvalidUnit(unit)) {
            appendUpper(s.substr(runStart, at - runStart));
            appendUnit(out, unit);
            runStart = at + 1;
        }
    }
    appendUpper(s.substr(runStart));
    return out;
}

std::string Lowercase(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    Lowerer lowerer(s);
    for (Cursor c(s); !c.atEnd();) {
        const char32_t unit = c.next().value;
        lowerer.appendLower(out, unit, c.offset());
        lowerer.note(unit);
    }
    return out;
}

std::string Titlecase(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    Lowerer lowerer(s);
    bool inWord = false;
    for (Cursor c(s); !c.atEnd();) {
        const char32_t unit = c.next().value;
        if (isWordCharacter(unit) || isApostrophe(unit)) {
            if (!inWord && QChar::isLetter(unit)) {
                appendTitle(out, unit);
            } else {
                lowerer.appendLower(out, unit, c.offset());
            }
            inWord = true;
        } else {
            appendUnit(out, unit);
            inWord = false;
        }
        lowerer.note(unit);
    }
    return out;
}

std::vector<std::string> Split(std::string_view s, std::string_view delimiter) {
    if (delimiter.empty()) return splitGraphemes(s);
    std::vector<std::string> pieces;
    std::size_t pieceStart = 0, searchFrom = 0;
    while (true) {
        const std::size_t at = s.find(delimiter, searchFrom);
        if (at == std::string_view::npos) break;
        // In damaged text a delimiter's bytes may occur inside a character;
        // that is no occurrence of the delimiter.
        if (!isBoundary(s, at) || !isBoundary(s, at + delimiter.size())) {
            searchFrom = at + 1;
            continue;
        }
        pieces.emplace_back(s.substr(pieceStart, at - pieceStart));
        pieceStart = searchFrom = at + delimiter.size();
    }
    pieces.emplace_back(s.substr(pieceStart));
    return pieces;
}

std::string Join(const std::vector<std::string>& pieces, std::string_view delimiter) {
    std::string out;
    std::size_t total = 0;
    for (const auto& piece : pieces) total += piece.size() + delimiter.size();
    out.reserve(total);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) out.append(delimiter);
        out.append(pieces[i]);
    }
    return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) { return CompareIgnoringCase(a, b) == 0; }

int CompareIgnoringCase(std::string_view a, std::string_view b) {
    if (a == b) return 0;
    Cursor ca(a), cb(b);
    while (!ca.atEnd() && !cb.atEnd()) {
        const char32_t x = fold(ca.next().value);
        const char32_t y = fold(cb.next().value);
        if (x != y) return x < y ? -1 : 1;
    }
    if (ca.atEnd() && cb.atEnd()) return 0;
    return ca.atEnd() ? -1 : 1;
}

}  // namespace fw
