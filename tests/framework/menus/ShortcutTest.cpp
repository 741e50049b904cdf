#include "framework/menus/Shortcut.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using fw::ParseShortcut;
using fw::Shortcut;

TEST(ShortcutParse, TheThreeFormsGiveCommandShiftAndKey) {
    struct Case { const char* text; Shortcut expected; };
    const std::vector<Case> cases{
        {"Cmd+s", {true, false, U'S'}},
        {"Cmd+P", {true, false, U'P'}},
        {"Cmd+1", {true, false, U'1'}},
        {"Cmd+Shift+l", {true, true, U'L'}},
        // Shift alone takes the command key too, so typing never reaches a menu.
        {"Shift+P", {true, true, U'P'}},
        {"Shift+m", {true, true, U'M'}},
        {"Shift+1", {true, true, U'1'}},
        {"Shift+3", {true, true, U'3'}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseShortcut(c.text), c.expected) << c.text;
}

TEST(ShortcutParse, EmptyOrMalformedGivesNothing) {
    for (const char* text : {"", "s", "Shift", "Cmd", "Cmd+", "Shift+", "Cmd+Shift+", "+s", "Cmd+ss", "Cmd+Shift+ll",
                             "Alt+s", "Cmd+Alt+s", "Cmd+ ", "Cmd+\t", "Cmd+\xC3\xA9", "Cmd s"}) {
        EXPECT_FALSE(ParseShortcut(text).has_value()) << text;
    }
}

}  // namespace
