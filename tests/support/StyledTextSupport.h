#pragma once

#include "framework/text/StyledText.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// Readable failure messages for the styled-text model, which GoogleTest finds
// beside the types they print, the text of a document paragraph by paragraph,
// and styles written short.
namespace fw {

// A style from its font, its size and the letters of its faces: b bold, i italic, u underlined.
inline CharStyle Style(std::string font, double size, std::string_view faces = "", std::optional<Color> color = {}) {
    const auto has = [faces](char face) { return faces.find(face) != std::string_view::npos; };
    return {std::move(font), size, has('b'), has('i'), has('u'), color};
}

inline std::string TextOf(const StyledParagraph& paragraph) {
    std::string text;
    for (const StyledRun& run : paragraph.runs) text += run.text;
    return text;
}

// The text of each paragraph.
using Texts = std::vector<std::string>;
inline Texts TextsOf(const StyledText& doc) {
    Texts texts;
    for (const StyledParagraph& paragraph : doc.paragraphs) texts.push_back(TextOf(paragraph));
    return texts;
}

// The alignment of each paragraph by its initial: Default, Left, Center, Right, Justify.
inline std::string AlignmentsOf(const StyledText& doc) {
    std::string initials;
    for (const StyledParagraph& paragraph : doc.paragraphs) initials += "dlcrj"[static_cast<int>(paragraph.alignment)];
    return initials;
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
