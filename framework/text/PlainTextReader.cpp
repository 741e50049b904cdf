#include "framework/text/PlainTextReader.h"

#include "framework/text/TextEncoding.h"
#include "framework/text/Utf8.h"

#include <cstdint>
#include <string>

namespace fw {

namespace {

std::string FromWindows1252(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (const char c : s) utf8::Append(out, encoding::Windows1252ToUnicode(static_cast<std::uint8_t>(c)));
    return out;
}

bool IsTextByte(unsigned char c) { return c >= 0x20 || (c >= '\t' && c <= '\r') || c == 0x1A || c == 0x1B; }

}  // namespace

bool IsPlainText(std::string_view bytes) {
    for (const char c : bytes)
        if (!IsTextByte(static_cast<unsigned char>(c))) return false;
    return true;
}

StyledText ReadPlainText(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::string converted;
    std::string_view text = bytes;
    if (!utf8::IsValid(bytes)) {
        converted = FromWindows1252(bytes);
        text = converted;
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
