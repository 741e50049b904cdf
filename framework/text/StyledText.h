#pragma once

#include "framework/text/Color.h"

#include <optional>
#include <string>
#include <vector>

namespace fw {

// How a paragraph's lines sit between the margins.
enum class Alignment { Default = 0, Left = 1, Center = 2, Right = 3, Justify = 4 };

// The character format of one run. An empty font name or a size of 0 means
// the field's own font or size; no colour means the field's text colour.
struct CharStyle {
    std::string font;
    double size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<Color> color;

    bool operator==(const CharStyle&) const = default;
};

// A stretch of text in one format. The text is UTF-8 and holds no paragraph
// break; a tab is '\t' and a line break inside the paragraph is U+2028.
struct StyledRun {
    std::string text;
    CharStyle style;

    bool operator==(const StyledRun&) const = default;
};

struct StyledParagraph {
    Alignment alignment = Alignment::Default;
    std::vector<StyledRun> runs;

    bool operator==(const StyledParagraph&) const = default;
};

// A whole styled document: its paragraphs in order. An empty document has
// no paragraphs; a document whose text is "" but that was read from a file
// may hold one empty paragraph.
struct StyledText {
    std::vector<StyledParagraph> paragraphs;

    bool operator==(const StyledText&) const = default;
};

}  // namespace fw
