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
StyledText ReadRtf(std::string_view bytes);

}  // namespace fw
