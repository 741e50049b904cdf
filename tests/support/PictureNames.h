#pragma once

#include "resources/Pictures.h"

#include <string_view>

// The case tables are laid out by hand, a row or a few to a line.
// clang-format off

// The picture accessors by their names, for tests that read picture names from a transcription.
inline PictureAccessor PictureNamed(std::string_view name) {
    static constexpr std::pair<std::string_view, PictureAccessor> kAccessors[]{
        {"buttoncen1", buttoncen1},       {"buttonmax1", buttonmax1},           {"buttonmin2", buttonmin2},
        {"buttonyes6", buttonyes6},       {"buttonno4", buttonno4},             {"buttonexit2", buttonexit2},
        {"buttoncancel3", buttoncancel3}, {"Picture2", Picture2},               {"bannerplumora51", bannerplumora51},
        {"colorbutton2", colorbutton2},   {"bannerplumora4", bannerplumora4}, {"buttonfullscreen", buttonfullscreen},
    };
    for (const auto& [named, accessor] : kAccessors)
        if (named == name) return accessor;
    return nullptr;
}
// clang-format on
