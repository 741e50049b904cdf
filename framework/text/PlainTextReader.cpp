#include "framework/text/PlainTextReader.h"

#include "framework/text/TextEncoding.h"
#include "framework/text/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>

namespace fw {

namespace {

std::string FromWindows1252(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (const char c : s) utf8::Append(out, encoding::Windows1252ToUnicode(static_cast<std::uint8_t>(c)));
    return out;
}

// The byte order marks of the wide encodings: UTF-32 first, as its
// little-endian mark begins with UTF-16's.
struct WideEncoding {
    std::string_view mark;
    std::size_t width;
    bool bigEndian;
};
constexpr WideEncoding kWideEncodings[] = {
    {{"\xFF\xFE\0\0", 4}, 4, false}, {{"\0\0\xFE\xFF", 4}, 4, true}, {"\xFF\xFE", 2, false}, {"\xFE\xFF", 2, true}};

// UTF-16 or UTF-32 text as UTF-8, by its byte order mark, which is dropped;
// nothing when the bytes begin with no such mark.
std::optional<std::string> FromWideEncoding(std::string_view bytes) {
    const auto* encoding = std::find_if(std::begin(kWideEncodings), std::end(kWideEncodings),
                                        [bytes](const WideEncoding& e) { return bytes.starts_with(e.mark); });
    if (encoding == std::end(kWideEncodings)) return std::nullopt;
    const std::size_t width = encoding->width;
    bytes.remove_prefix(encoding->mark.size());
    const auto unit = [&](std::size_t at) {
        char32_t value = 0;
        for (std::size_t k = 0; k < width; ++k)
            value = value << 8 | static_cast<std::uint8_t>(bytes[at + (encoding->bigEndian ? k : width - 1 - k)]);
        return value;
    };
    std::string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    for (; i + width <= bytes.size(); i += width) {
        char32_t c = unit(i);
        if (width == 2 && c >= 0xD800 && c < 0xDC00 && i + 4 <= bytes.size()) {
            if (const char32_t low = unit(i + 2); low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        utf8::Append(text, c);  // a surrogate left alone or a value beyond Unicode becomes U+FFFD
    }
    if (i < bytes.size()) utf8::Append(text, utf8::kReplacement);
    return text;
}

bool IsTextByte(unsigned char c) { return c >= 0x20 || (c >= '\t' && c <= '\r') || c == 0x1A || c == 0x1B; }

}  // namespace

bool IsPlainText(std::string_view bytes) {
    const auto wide = FromWideEncoding(bytes);
    return std::ranges::all_of(wide ? std::string_view(*wide) : bytes,
                               [](char c) { return IsTextByte(static_cast<unsigned char>(c)); });
}

StyledText ReadPlainText(std::string_view bytes) {
    std::string converted;
    std::string_view text = bytes;
    if (auto wide = FromWideEncoding(bytes)) {
        converted = std::move(*wide);
        text = converted;
    } else {
        if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
        if (!utf8::IsValid(text)) {
            converted = FromWindows1252(text);
            text = converted;
        }
    }

    StyledText result;
    std::string line;
    const auto endParagraph = [&] {
        StyledParagraph& paragraph = result.paragraphs.emplace_back();
        if (!line.empty()) paragraph.runs.push_back(StyledRun{std::move(line), CharStyle{}});
        line = std::string();
    };

    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        // Copy everything up to the next byte that needs attention at once.
        std::size_t j = i;
        while (j < n && text[j] != '\r' && text[j] != '\n' && text[j] != '\0' &&
               !(text[j] == '\xE2' && j + 2 < n && text[j + 1] == '\x80' && text[j + 2] == '\xA9')) {
            ++j;
        }
        line.append(text, i, j - i);
        if (j == n) break;
        const char c = text[j];
        if (c == '\0') {
            i = j + 1;
        } else if (c == '\r') {
            endParagraph();
            i = j + 1 < n && text[j + 1] == '\n' ? j + 2 : j + 1;
        } else if (c == '\n') {
            endParagraph();
            i = j + 1;
        } else {  // U+2029 PARAGRAPH SEPARATOR
            endParagraph();
            i = j + 3;
        }
    }
    if (!line.empty()) endParagraph();
    return result;
}

}  // namespace fw
