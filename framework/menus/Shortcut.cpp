#include "framework/menus/Shortcut.h"

#include <string>

namespace fw {

std::optional<Shortcut> ParseShortcut(std::string_view text) {
    Shortcut shortcut;
    while (true) {
        const auto plus = text.find('+', 1);
        if (plus == std::string_view::npos) break;
        const auto modifier = text.substr(0, plus);
        if (modifier == "Cmd" || modifier == "Ctrl") shortcut.command = true;
        else if (modifier == "Shift") shortcut.shift = true;
        else return std::nullopt;
        text.remove_prefix(plus + 1);
    }
    if (text.size() != 1 || static_cast<unsigned char>(text[0]) < 0x21 || static_cast<unsigned char>(text[0]) > 0x7E)
        return std::nullopt;
    char key = text[0];
    if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
    shortcut.key = static_cast<char32_t>(key);
    if (shortcut.shift) shortcut.command = true;
    if (!shortcut.command) return std::nullopt;
    return shortcut;
}

}  // namespace fw
