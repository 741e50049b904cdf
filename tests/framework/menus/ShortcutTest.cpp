#include "framework/menus/Shortcut.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using fw::Shortcut;

// Shift alone takes the command key too, so typing never reaches a menu.
TEST(ShortcutParse, TheThreeFormsGiveCommandShiftAndKeyAndAnythingElseNothing) {
    const std::vector<std::pair<const char*, Shortcut>> cases{
        {"Cmd+s", {true, false, U'S'}},  {"Cmd+1", {true, false, U'1'}},  {"Cmd+Shift+l", {true, true, U'L'}},
        {"Shift+P", {true, true, U'P'}}, {"Shift+m", {true, true, U'M'}}, {"Shift+1", {true, true, U'1'}},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(fw::ParseShortcut(text), expected) << text;
    for (const char* text : {"", "s", "Shift", "Cmd", "Cmd+", "Shift+", "Cmd+Shift+", "+s", "Cmd+ss", "Cmd+Shift+ll",
                             "Alt+s", "Cmd+Alt+s", "Cmd+ ", "Cmd+\t", "Cmd+\xC3\xA9", "Cmd s"})
        EXPECT_FALSE(fw::ParseShortcut(text).has_value()) << text;
}

}  // namespace
