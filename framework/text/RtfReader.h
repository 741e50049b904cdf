#pragma once

#include "framework/text/StyledText.h"

#include <string_view>

namespace fw {

// True when the bytes, after an optional UTF-8 byte order mark and white
// space, begin with "{\rtf".
bool LooksLikeRtf(std::string_view bytes);

// Reads an RTF document into styled text. Any input is accepted: damaged or
// truncated files yield whatever text could be recovered, never an error.
// Justified paragraphs (\qj) read as left aligned, since their lines start at
// the left margin and the model has no justified alignment.
//
// What the model cannot hold is read the way a text field shows it: a table
// row is one paragraph, its cells separated by one tab, a paragraph break
// inside a cell a line break; a list item keeps its label and a tab; each
// footnote and endnote becomes paragraphs after the text, beginning with the
// number its anchor shows. Headers, footers, pictures and objects are left
// out. Text in symbol fonts (Symbol, Wingdings, OpenSymbol) becomes the
// Unicode characters those fonts show.
StyledText ReadRtf(std::string_view bytes);

}  // namespace fw
