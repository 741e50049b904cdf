#pragma once

#include <cstdint>

namespace fw {

// A 24-bit RGB colour, 8 bits each of red, green and blue.
struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    // From a value written as &hRRGGBB.
    static constexpr Color FromRGB(std::uint32_t rgb) {
        return Color{static_cast<std::uint8_t>(rgb >> 16 & 0xFF), static_cast<std::uint8_t>(rgb >> 8 & 0xFF),
                     static_cast<std::uint8_t>(rgb & 0xFF)};
    }
    constexpr std::uint32_t ToRGB() const { return std::uint32_t{red} << 16 | std::uint32_t{green} << 8 | blue; }

    bool operator==(const Color&) const = default;
};

}  // namespace fw
