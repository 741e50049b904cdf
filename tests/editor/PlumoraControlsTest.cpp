#include "tests/support/ApplicationTest.h"
#include "editor/Plumora.h"
#include "editor/PlumoraLayout.h"

#include "framework/model/PropertyRecord.h"
#include "framework/model/StartValues.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using fw::Color;
using fw::testing::IsShown;

// Written out here on purpose, character for character, so that a change of
// the program's own copies shows up as a failure.
const std::string kExpectedWebPage =
    "<html>\r\r<head>\r<title> New Page 1 </title>\r</head>\r\r<body>\r\r</body>\r\r</html>\r";
const std::string kExpectedLetter =
    "Dear <Chose Name>,\r\r< Your message goes here.>\r\r\r\r\r\rKing Regards,\r\r<Your name goes here.>";

using PlumoraControlsTest = ApplicationTest;

bool IsOfClass(fw::RectControl& control, std::string_view className) {
    if (className == "EditField") return dynamic_cast<fw::EditField*>(&control) != nullptr;
    if (className == "BevelButton") return dynamic_cast<fw::BevelButton*>(&control) != nullptr;
    if (className == "StaticText") return dynamic_cast<fw::StaticText*>(&control) != nullptr;
    if (className == "Canvas") return dynamic_cast<fw::Canvas*>(&control) != nullptr;
    if (className == "Rectangle") return dynamic_cast<fw::Rectangle*>(&control) != nullptr;
    return false;
}

// The values that the controls' Open events set after the records: the
// size menu's also hides the redo snapshot.
bool SetAgainWhenOpened(std::string_view control, std::string_view key) {
    return (key == "Caption" && (control == "sizemenu" || control == "fontmenu")) ||
           (key == "MenuValue" && control == "cmnu") || (key == "Visible" && control == "EditField5");
}

const std::pair<char, const char*> kLocks[]{{'L', "LockLeft"}, {'T', "LockTop"}, {'R', "LockRight"}, {'B', "LockBottom"}};

TEST_F(PlumoraControlsTest, EveryControlOfTheTableIsBuiltInOrderWithItsRecordAndItsHandlers) {
    auto* window = NewWindow();
    const auto table = PlumoraControls();
    ASSERT_EQ(table.size(), 25u);
    ASSERT_EQ(window->ControlCount(), 25);

    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& start = table[i].start;
        const std::string name(start.name);
        SCOPED_TRACE(name);
        EXPECT_EQ(window->ControlAt(static_cast<int>(i)).Name(), name);
        auto* control = fw::RuntimeWindowControlByName(*window, name);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(IsOfClass(*control, start.className)) << "expected a " << start.className;

        // The control's own place, locks, tab index and values, by their keys as written.
        std::vector<fw::RecordEntry> own{{"Left", start.left}, {"Top", start.top}, {"Width", start.width},
                                         {"Height", start.height}};
        for (const auto& [letter, key] : kLocks) own.push_back({key, start.locks.find(letter) != std::string_view::npos});
        if (start.tabIndex) own.push_back({"TabIndex", *start.tabIndex});
        own.insert(own.end(), start.values.begin(), start.values.end());
        // And every key of the record it was built from, the class's values included.
        const auto record = fw::DecodeRecord(ControlRecord(start), [&](std::string_view key) -> std::optional<fw::PropertyType> {
            if (const auto* property = control->Properties().Find(key)) return property->type;
            return std::nullopt;
        });
        ASSERT_EQ(record.size(), ClassStartValues(start.className).size());
        own.insert(own.end(), record.begin(), record.end());
        for (const auto& entry : own) {
            if (SetAgainWhenOpened(name, entry.key)) continue;
            EXPECT_EQ(control->Property(entry.key), entry.value) << entry.key;
        }
    }
    // Every binding names a control of the window and an event it handles.
    for (const auto& binding : PlumoraEventBindings()) {
        auto* control = window->ControlByName(binding.control);
        ASSERT_NE(control, nullptr) << binding.control;
        EXPECT_TRUE(control->HasEventHandler(binding.event)) << binding.control << "." << binding.event;
    }
}

TEST_F(PlumoraControlsTest, TemplateFieldsHoldTheirTextsCharacterForCharacter) {
    auto* window = NewWindow();
    EXPECT_EQ(window->EditField2()->Text(), kExpectedWebPage);
    EXPECT_EQ(window->EditField3()->Text(), kExpectedLetter);
}

TEST_F(PlumoraControlsTest, TheSaveChangesBarHoldsItsPartsAndShowsAndHidesThemTogether) {
    auto* window = NewWindow();
    auto* bar = window->Rectangle1();
    const std::vector<fw::RectControl*> parts{window->Canvas5(), window->Canvas6(), window->Canvas7(),
                                              window->StaticText1()};
    // Hidden at start, though the parts are visible themselves: only their container hides them.
    EXPECT_FALSE(IsShown(*bar));
    for (auto* part : parts) {
        EXPECT_FALSE(IsShown(*part)) << part->Name();
        EXPECT_TRUE(part->Visible()) << part->Name();
    }

    bar->Visible(true);
    fw::testing::ProcessEvents();
    for (auto* part : parts) {
        SCOPED_TRACE(part->Name());
        EXPECT_TRUE(IsShown(*part));
        EXPECT_GE(part->Left(), bar->Left());
        EXPECT_GE(part->Top(), bar->Top());
        EXPECT_LE(part->Left() + part->Width(), bar->Left() + bar->Width());
        EXPECT_LE(part->Top() + part->Height(), bar->Top() + bar->Height());
    }
    // The bar spans the window and the strip of window buttons above the document.
    EXPECT_LE(bar->Left(), 0);
    EXPECT_GE(bar->Left() + bar->Width(), window->Width());
    EXPECT_LE(bar->Top(), 0);
    EXPECT_GE(bar->Top() + bar->Height(), window->EditField1()->Top());
    // On screen it covers the word count that lies under it.
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "build" / "editor_tests";
    std::filesystem::create_directories(folder);
    const std::string png = (folder / "plumora-save-bar.png").string();
    ASSERT_TRUE(fw::testing::Grab(*window, png));
    EXPECT_EQ(fw::testing::PixelOf(png, 300, 12), std::optional(Color::FromRGB(0xFFF3C1)));

    bar->Visible(false);
    for (auto* part : parts) EXPECT_FALSE(IsShown(*part)) << part->Name();
}

TEST_F(PlumoraControlsTest, ButtonsShowTheirCaptionInTheirStyle) {
    auto* window = NewWindow();
    struct Expected {
        fw::BevelButton* button;
        const char* caption;
        bool bold, italic, underline;
    };
    const Expected expected[]{
        {window->BoldButton(), "B", true, false, false},
        {window->italicbutton(), "I", false, true, false},
        {window->underlinebutton(), "U", false, false, true},
        {window->cmnu(), "Colors", false, false, false},
    };
    for (const auto& [button, caption, bold, italic, underline] : expected) {
        SCOPED_TRACE(button->Name());
        EXPECT_EQ(fw::testing::ShownText(*button), caption);
        const auto shown = fw::testing::ShownFontStyle(*button);
        EXPECT_EQ(shown.bold, bold);
        EXPECT_EQ(shown.italic, italic);
        EXPECT_EQ(shown.underline, underline);
    }
}

TEST_F(PlumoraControlsTest, EachWindowHasItsOwnControlsAndTemplates) {
    auto* first = NewWindow();
    auto* second = NewWindow();
    for (const auto& entry : PlumoraControls()) {
        auto* theirs = second->ControlByName(entry.start.name);
        ASSERT_NE(theirs, nullptr) << entry.start.name;
        EXPECT_NE(first->ControlByName(entry.start.name), theirs) << entry.start.name;
        EXPECT_EQ(&theirs->OwnerWindow(), second);
    }
    fw::testing::TypeText(*first->EditField1(), "first only");
    first->EditField2()->Text("changed");
    EXPECT_EQ(second->EditField1()->Text(), "");
    EXPECT_EQ(second->EditField2()->Text(), kExpectedWebPage);
}

}  // namespace
