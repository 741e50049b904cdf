#include "tests/support/ApplicationTest.h"
#include "shell/StartValues.h"

#include "editor/Plumora.h"
#include "editor/PlumoraLayout.h"
#include "shell/App.h"
#include "shell/MenuBar1.h"
#include "shell/Startup.h"
#include "framework/Exceptions.h"
#include "framework/Object.h"
#include "framework/RectControl.h"
#include "framework/Runtime.h"
#include "framework/testing/ScriptedDialogs.h"
#include "framework/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

using fw::PropertyType;
using fw::RecordEntry;

using namespace std::string_literals;

const std::vector<std::string> kClasses{"EditField", "BevelButton", "StaticText", "Canvas", "Rectangle"};

// Reads a record with the key types of the class's start values.
std::vector<RecordEntry> DecodeAs(std::string_view record, std::string_view className) {
    const auto& keys = ClassStartValues(className);
    return fw::DecodeRecord(record, [&keys](std::string_view key) -> std::optional<PropertyType> {
        for (const auto& entry : keys)
            if (entry.key == key) return fw::TypeOf(entry.value);
        return std::nullopt;
    });
}

std::vector<std::string> Keys(const std::vector<RecordEntry>& entries) {
    std::vector<std::string> keys;
    for (const auto& entry : entries) keys.push_back(entry.key);
    return keys;
}

const fw::PropertyValue* ValueOf(const std::vector<RecordEntry>& entries, std::string_view key) {
    for (const auto& entry : entries)
        if (entry.key == key) return &entry.value;
    return nullptr;
}

class StartValuesTest : public ApplicationTest {
};

TEST_F(StartValuesTest, WindowRecordBeginsWithCentredPlacement) {
    const auto& record = PlumoraWindowRecord();
    EXPECT_EQ(record.substr(0, 14), "Placement \x00\x00\x00\x03"s);
}

TEST_F(StartValuesTest, WindowRecordAppliesToAWindowEntryByEntry) {
    auto* window = fw::MakeWindow<fw::Window>();
    const auto& table = window->Properties();
    std::vector<RecordEntry> entries;
    ASSERT_NO_THROW(entries = fw::DecodeRecord(PlumoraWindowRecord(), [&table](std::string_view key) -> std::optional<PropertyType> {
        if (const auto* spec = table.Find(key)) return spec->type;
        return std::nullopt;
    }));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front().key, "Placement");
    ASSERT_NO_THROW(fw::SetProperties(*window, PlumoraWindowRecord()));
    // What the record says is what the window then holds.
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.key);
        EXPECT_EQ(window->Property(entry.key), entry.value);
    }
}

TEST_F(StartValuesTest, EveryClassBeginsWithThePlaceAndLockKeysAndRepeatsNoKey) {
    const std::vector<std::string> head{"Name",     "Index",   "Left",      "Top",        "Width",        "Height",
                                        "LockLeft", "LockTop", "LockRight", "LockBottom", "TabPanelIndex"};
    for (const auto& className : kClasses) {
        SCOPED_TRACE(className);
        const auto keys = Keys(ClassStartValues(className));
        ASSERT_GT(keys.size(), head.size());
        EXPECT_EQ(std::vector<std::string>(keys.begin(), keys.begin() + static_cast<long>(head.size())), head);
        std::set<std::string> folded;
        for (auto key : keys) {
            std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
            folded.insert(key);
        }
        EXPECT_EQ(folded.size(), keys.size());
        const auto* index = ValueOf(ClassStartValues(className), "Index");
        ASSERT_NE(index, nullptr);
        EXPECT_EQ(*index, fw::PropertyValue{std::int32_t{-2147483647 - 1}});
    }
}

TEST_F(StartValuesTest, EveryClassKeyIsAPropertyOfTheFrameworksControlOfThatTypeAndKind) {
    auto* window = fw::MakeWindow<fw::Window>();
    for (const auto& className : kClasses) {
        SCOPED_TRACE(className);
        const auto control = window->New(className);
        ASSERT_NE(control, nullptr);
        const auto& table = control->Properties();
        for (const auto& entry : ClassStartValues(className)) {
            SCOPED_TRACE(entry.key);
            const auto* spec = table.Find(entry.key);
            ASSERT_NE(spec, nullptr);
            EXPECT_EQ(spec->type, fw::TypeOf(entry.value));
        }
    }
}

TEST_F(StartValuesTest, EveryControlRecordOfTheDocumentWindowHoldsExactlyItsClassesKeysInOrder) {
    ASSERT_FALSE(PlumoraControls().empty());
    for (const auto& control : PlumoraControls()) {
        const auto& start = control.start;
        SCOPED_TRACE(std::string(start.name));
        std::vector<RecordEntry> entries;
        ASSERT_NO_THROW(entries = DecodeAs(ControlRecord(start), start.className));
        EXPECT_EQ(Keys(entries), Keys(ClassStartValues(start.className)));

        // The control's own place, locks, tab index and values override the class's.
        EXPECT_EQ(*ValueOf(entries, "Name"), fw::PropertyValue{std::string(start.name)});
        EXPECT_EQ(*ValueOf(entries, "Left"), fw::PropertyValue{std::int32_t{start.left}});
        EXPECT_EQ(*ValueOf(entries, "Top"), fw::PropertyValue{std::int32_t{start.top}});
        EXPECT_EQ(*ValueOf(entries, "Width"), fw::PropertyValue{std::int32_t{start.width}});
        EXPECT_EQ(*ValueOf(entries, "Height"), fw::PropertyValue{std::int32_t{start.height}});
        const std::pair<const char*, char> locks[]{{"LockLeft", 'L'}, {"LockTop", 'T'}, {"LockRight", 'R'}, {"LockBottom", 'B'}};
        for (const auto& [key, letter] : locks)
            EXPECT_EQ(*ValueOf(entries, key), fw::PropertyValue{start.locks.find(letter) != std::string_view::npos}) << key;
        if (start.tabIndex) {
            EXPECT_EQ(*ValueOf(entries, "TabIndex"), fw::PropertyValue{std::int32_t{*start.tabIndex}});
        }
        for (const auto& value : start.values) EXPECT_EQ(*ValueOf(entries, value.key), value.value) << value.key;
        // What the control leaves alone keeps the class's start value.
        EXPECT_EQ(*ValueOf(entries, "Index"), *ValueOf(ClassStartValues(start.className), "Index"));
    }
}

TEST_F(StartValuesTest, ControlRecordsAreCompleteWhateverTheControlGives) {
    const ControlStartValues bare{"Bare", "Canvas", 1, 2, 3, 4, "", std::nullopt, {}};
    const auto entries = DecodeAs(ControlRecord(bare), "Canvas");
    EXPECT_EQ(Keys(entries), Keys(ClassStartValues("Canvas")));
    EXPECT_EQ(*ValueOf(entries, "TabIndex"), *ValueOf(ClassStartValues("Canvas"), "TabIndex"));
    for (const char* key : {"LockLeft", "LockTop", "LockRight", "LockBottom"})
        EXPECT_EQ(*ValueOf(entries, key), fw::PropertyValue{false}) << key;
}

TEST_F(StartValuesTest, AValueWhoseKeyTheClassLacksThrowsNamingIt) {
    struct Case {
        const char* what;
        ControlStartValues control;
        std::string key;
    };
    const std::vector<Case> cases{
        {"a bevel button's caption on a text field",
         {"Field", "EditField", 0, 0, 10, 10, "", 1, {{"Caption", "x"s}}}, "Caption"},
        {"a rectangle's fill on a canvas",
         {"Picture", "Canvas", 0, 0, 10, 10, "", 1, {{"FillColor", fw::Color{1, 2, 3}}}}, "FillColor"},
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
    const ControlStartValues control{"Slider1", "Slider", 0, 0, 10, 10, "", 1, {}};
    EXPECT_THROW(ControlRecord(control), fw::UnknownNameException);
}

}  // namespace
