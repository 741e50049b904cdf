#pragma once

#include "framework/text/Color.h"

#include <span>
#include <string_view>

// The rows of the size menu, in order; kSeparatorRow stands for a separator,
// which takes an index like a text row.
inline constexpr std::string_view kSeparatorRow = "-";
std::span<const std::string_view> SizeMenuRows();

// A row of the background-colour menu and the colour it gives the page.
struct BackgroundColor {
    std::string_view name;
    fw::Color color;
};
std::span<const BackgroundColor> BackgroundColors();
