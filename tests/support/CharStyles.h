#pragma once

#include "framework/text/Color.h"
#include "framework/text/StyledText.h"

#include <optional>
#include <string>
#include <utility>

namespace testsupport {

// A run's style, written in one line.
inline fw::CharStyle Style(std::string font, double size, bool bold = false, bool italic = false,
                           bool underline = false, std::optional<fw::Color> color = std::nullopt) {
    fw::CharStyle style;
    style.font = std::move(font);
    style.size = size;
    style.bold = bold;
    style.italic = italic;
    style.underline = underline;
    style.color = color;
    return style;
}

}  // namespace testsupport
