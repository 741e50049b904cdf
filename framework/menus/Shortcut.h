#pragma once

#include <optional>
#include <string_view>

namespace fw {

// A parsed shortcut string. "Cmd" is the platform's command key (Ctrl here).
// A shortcut with Shift and no Cmd takes the command key as well, so that
// typing a capital letter or a shifted digit into a text is never taken by a
// menu. The key is kept upper case: the case of the letter in the string does
// not ask for Shift.
struct Shortcut {
    bool command = false;
    bool shift = false;
    char32_t key = 0;

    bool operator==(const Shortcut&) const = default;
};

// Parses strings such as "Cmd+s", "Shift+P" and "Cmd+Shift+l"; nothing for an
// empty or malformed string.
std::optional<Shortcut> ParseShortcut(std::string_view text);

}  // namespace fw
