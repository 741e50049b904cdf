#pragma once

#include "StyledText.h"

#include <string>

namespace fw {

// The document as RTF in 7-bit ASCII. Every run states its font, size,
// bold, italic, underline and colour, because programs disagree on the
// defaults. A run with no font uses font 0, a font-table entry with an empty
// name that other programs show in their own default font and ReadRtf reads
// back as "no font". A run with size 0 writes no size, which readers take as
// 12 pt. Sizes round to whole half-points.
std::string WriteRtf(const StyledText& text);

}  // namespace fw
