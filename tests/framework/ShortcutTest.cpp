#include "framework/Shortcut.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using fw::ParseShortcut;
using fw::Shortcut;

TEST(ShortcutParse, TheThreeFormsGiveCommandShiftAndKey) {
    struct Case {
        const char* text;
        Shortcut expected;
    };
    const std::vector<Case> cases{
        {"Cmd+s", {true, false, U'S'}},
        {"Cmd+P", {true, false, U'P'}},
        {"Cmd+1", {true, false, U'1'}},
        {"Cmd+Shift+l", {true, true, U'L'}},
        {"Cmd+Shift+w", {true, true, U'W'}},
        // Shift alone takes the command key too, so typing never reaches a menu.
        {"Shift+P", {true, true, U'P'}},
        {"Shift+m", {true, true, U'M'}},
        {"Shift+1", {true, true, U'1'}},
        {"Shift+3", {true, true, U'3'}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = ParseShortcut(c.text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->command, c.expected.command);
        EXPECT_EQ(parsed->shift, c.expected.shift);
        EXPECT_EQ(parsed->key, c.expected.key);
    }
}

TEST(ShortcutParse, TheKeysCaseAsksForNothing) {
    for (char lower = 'a'; lower <= 'z'; ++lower) {
        const char upper = static_cast<char>(lower - 'a' + 'A');
        for (const std::string modifiers : {"Cmd+", "Shift+", "Cmd+Shift+"}) {
            SCOPED_TRACE(modifiers + lower);
            const auto small = ParseShortcut(modifiers + lower);
            const auto capital = ParseShortcut(modifiers + upper);
            ASSERT_TRUE(small && capital);
            EXPECT_EQ(*small, *capital);
            EXPECT_EQ(small->key, static_cast<char32_t>(upper));
        }
    }
    // A capital letter does not add Shift: Print and Page Setup stay apart.
    EXPECT_FALSE(ParseShortcut("Cmd+P")->shift);
    EXPECT_NE(*ParseShortcut("Cmd+P"), *ParseShortcut("Shift+P"));
}

TEST(ShortcutParse, ShiftAloneEqualsCommandWithShift) {
    for (const char* key : {"P", "m", "d", "f", "T", "1", "2", "3"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(ParseShortcut(std::string("Shift+") + key), ParseShortcut(std::string("Cmd+Shift+") + key));
    }
}

TEST(ShortcutParse, EmptyOrMalformedGivesNothing) {
    for (const char* text : {"", "s", "Shift", "Cmd", "Cmd+", "Shift+", "Cmd+Shift+", "+s", "Cmd+ss", "Cmd+Shift+ll",
                             "Alt+s", "Cmd+Alt+s", "Cmd+ ", "Cmd+\t", "Cmd+\xC3\xA9", "Cmd s"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseShortcut(text).has_value());
    }
}

}  // namespace
