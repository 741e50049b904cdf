#pragma once

#include "framework/text/StyledText.h"

#include <string>

namespace fw {

// The document as RTF in 7-bit ASCII. Each run states the font, size, bold,
// italic, underline and colour that differ from the run before it, in the
// paragraph or the one before, since \par and \pard keep the character
// format; the first run is stated against \plain. Other programs take the
// font, size, bold and italic of right-to-left and other complex-script text
// only from the associated words after \rtlch (\af \afs \ab \ai), and the
// font of East Asian text only from \af after \dbch, so the runs of a
// paragraph that holds such text state those as well. A run with no font
// uses font 0, a font-table entry with an empty name that other programs
// show in their own default font and ReadRtf reads back as "no font". A run
// with size 0 has no size stated, which readers take as 12 pt. Sizes round
// to whole half-points.
std::string WriteRtf(const StyledText& text);

}  // namespace fw
