#pragma once

#include "framework/text/StyledText.h"

#include <ostream>
#include <string>
#include <vector>

// Readable failure messages for the styled-text model, which GoogleTest finds
// beside the types they print, and the text of a document paragraph by paragraph.
namespace fw {

inline std::string TextOf(const StyledParagraph& paragraph) {
    std::string text;
    for (const StyledRun& run : paragraph.runs) text += run.text;
    return text;
}

inline std::vector<std::string> TextsOf(const StyledText& doc) {
    std::vector<std::string> texts;
    for (const StyledParagraph& paragraph : doc.paragraphs) texts.push_back(TextOf(paragraph));
    return texts;
}

inline void PrintTo(const CharStyle& s, std::ostream* os) {
    *os << "{font \"" << s.font << "\" size " << s.size << (s.bold ? " bold" : "") << (s.italic ? " italic" : "")
        << (s.underline ? " underline" : "");
    if (s.color) *os << " colour #" << std::hex << s.color->ToRGB() << std::dec;
    *os << "}";
}

inline void PrintTo(const StyledRun& r, std::ostream* os) {
    *os << '"' << r.text << "\" ";
    PrintTo(r.style, os);
}

inline void PrintTo(const StyledText& text, std::ostream* os) {
    for (const StyledParagraph& paragraph : text.paragraphs) {
        *os << "\n  [align " << static_cast<int>(paragraph.alignment) << "]";
        for (const StyledRun& run : paragraph.runs) {
            *os << ' ';
            PrintTo(run, os);
        }
    }
}

}  // namespace fw
