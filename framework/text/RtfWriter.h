#pragma once

#include "framework/text/StyledText.h"

#include <string>

namespace fw {

// The document as RTF in 7-bit ASCII. Every run states its font, size,
// bold, italic, underline and colour, because programs disagree on the
// defaults. Other programs take the font, size, bold and italic of
// right-to-left and other complex-script text only from the associated
// words after \rtlch (\af \afs \ab \ai), and the font of East Asian text
// only from \af after \dbch, so every run states those as well. A run with
// no font uses font 0, a font-table entry with an empty name that other
// programs show in their own default font and ReadRtf reads back as "no
// font". A run with size 0 writes no size, which readers take as 12 pt.
// Sizes round to whole half-points.
std::string WriteRtf(const StyledText& text);

}  // namespace fw
