#include "tests/support/ApplicationTest.h"
#include "framework/model/StartValues.h"

#include "editor/PlumoraLayout.h"
#include "framework/model/Exceptions.h"
#include "framework/model/Object.h"
#include "framework/ui/RectControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

std::vector<std::string> Keys(const std::vector<fw::RecordEntry>& entries) {
    std::vector<std::string> keys;
    for (const auto& entry : entries) keys.push_back(entry.key);
    return keys;
}

// The keys of a control's record, read with the key types of its class's start values.
std::vector<std::string> RecordKeys(const ControlStartValues& control) {
    const auto& classKeys = ClassStartValues(control.className);
    return Keys(fw::DecodeRecord(ControlRecord(control), [&](std::string_view key) -> std::optional<fw::PropertyType> {
        for (const auto& entry : classKeys)
            if (entry.key == key) return fw::TypeOf(entry.value);
        return std::nullopt;
    }));
}

using StartValuesTest = ApplicationTest;

TEST_F(StartValuesTest, WindowRecordBeginsWithCentredPlacement) {
    EXPECT_EQ(PlumoraWindowRecord().substr(0, 14), "Placement \x00\x00\x00\x03"s);
}

// The setter takes keys whatever the case of their letters, so no two keys of
// a class may differ only in case; each must be a property of the control.
TEST_F(StartValuesTest, EveryClassKeyIsOnePropertyOfTheFrameworksControlOfThatType) {
    auto* window = fw::MakeWindow<fw::Window>();
    for (const char* className : {"EditField", "BevelButton", "StaticText", "Canvas", "Rectangle", "PushButton", "TabPanel"}) {
        SCOPED_TRACE(className);
        const auto control = window->New(className);
        ASSERT_NE(control, nullptr);
        std::set<std::string> folded;
        for (const auto& entry : ClassStartValues(className)) {
            SCOPED_TRACE(entry.key);
            const auto* spec = control->Properties().Find(entry.key);
            ASSERT_NE(spec, nullptr);
            EXPECT_EQ(spec->type, fw::TypeOf(entry.value));
            std::string key = entry.key;
            std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
            EXPECT_TRUE(folded.insert(key).second) << "repeated";
        }
    }
}

TEST_F(StartValuesTest, EveryControlRecordHoldsExactlyItsClassesKeysInOrder) {
    ASSERT_FALSE(PlumoraControls().empty());
    for (const auto& control : PlumoraControls()) {
        SCOPED_TRACE(std::string(control.start.name));
        EXPECT_EQ(RecordKeys(control.start), Keys(ClassStartValues(control.start.className)));
    }
    // Also when the control gives no tab index and no values of its own.
    const ControlStartValues bare{"Bare", "Canvas", 1, 2, 3, 4, "", std::nullopt, {}};
    EXPECT_EQ(RecordKeys(bare), Keys(ClassStartValues("Canvas")));
}

TEST_F(StartValuesTest, AValueWhoseKeyTheClassLacksThrowsNamingIt) {
    struct Case {
        const char* what;
        ControlStartValues control;
        std::string key;
    };
    const Case cases[]{
        {"a bevel button's caption on a text field",
         {"Field", "EditField", 0, 0, 10, 10, "", 1, {{"Caption", "x"s}}}, "Caption"},
        {"a tab index on a rectangle, which has none", {"Box", "Rectangle", 0, 0, 10, 10, "", 3, {}}, "TabIndex"},
        {"a made-up key after good ones",
         {"Label", "StaticText", 0, 0, 10, 10, "", 1, {{"Text", "ok"s}, {"Blink", true}}}, "Blink"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            ControlRecord(c.control);
            ADD_FAILURE() << "no exception";
        } catch (const fw::PropertyRecordException& error) {
            EXPECT_NE(std::string(error.what()).find("\"" + c.key + "\""), std::string::npos) << error.what();
        }
    }
}

TEST_F(StartValuesTest, AnUnknownClassThrows) {
    EXPECT_THROW(ClassStartValues("Slider"), fw::UnknownNameException);
    EXPECT_THROW(ClassStartValues("editfield "), fw::UnknownNameException);
    EXPECT_THROW(ControlRecord({"Slider1", "Slider", 0, 0, 10, 10, "", 1, {}}), fw::UnknownNameException);
}

}  // namespace
