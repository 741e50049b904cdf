#pragma once

#include <optional>
#include <span>
#include <string_view>

// One entry of the menu bar as it is built: level 0 a menu, 1 an item of the
// menu above it, 2 a sub-item of the item above it.
struct MenuRow {
    int level;
    std::string_view name;
    std::string_view caption;
    // Nothing: the shortcut is never set; "" sets it empty.
    std::optional<std::string_view> shortcut;
    bool quitItem;
    bool autoEnable;
};

// The rows of each menu, from its menu entry to the next menu's.
std::span<const MenuRow> FileMenuRows();
std::span<const MenuRow> EditMenuRows();
std::span<const MenuRow> ViewMenuRows();
std::span<const MenuRow> InsertMenuRows();
std::span<const MenuRow> FormatMenuRows();
