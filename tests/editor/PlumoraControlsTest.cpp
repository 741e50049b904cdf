#include "tests/support/ApplicationTest.h"
#include "editor/Plumora.h"
#include "editor/PlumoraLayout.h"

#include "framework/PropertyRecord.h"
#include "framework/Runtime.h"
#include "framework/testing/ScriptedDialogs.h"
#include "framework/testing/TestDriver.h"
#include "shell/MenuBar1.h"
#include "shell/Pictures.h"
#include "shell/StartValues.h"
#include "shell/Startup.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
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

class PlumoraControlsTest : public ApplicationTest {
protected:

    static class Plumora* NewWindow() {
        auto* window = fw::MakeWindow<class Plumora>();
        fw::testing::ProcessEvents();
        return window;
    }
};

bool IsOfClass(fw::RectControl& control, std::string_view className) {
    if (className == "EditField") return dynamic_cast<fw::EditField*>(&control) != nullptr;
    if (className == "BevelButton") return dynamic_cast<fw::BevelButton*>(&control) != nullptr;
    if (className == "StaticText") return dynamic_cast<fw::StaticText*>(&control) != nullptr;
    if (className == "Canvas") return dynamic_cast<fw::Canvas*>(&control) != nullptr;
    if (className == "Rectangle") return dynamic_cast<fw::Rectangle*>(&control) != nullptr;
    ADD_FAILURE() << "the control table names an unknown class " << className;
    return false;
}

std::string Describe(const fw::PropertyValue& value) {
    switch (fw::TypeOf(value)) {
        case fw::PropertyType::Int32: return std::to_string(std::get<std::int32_t>(value));
        case fw::PropertyType::Boolean: return std::get<bool>(value) ? "true" : "false";
        case fw::PropertyType::Color: {
            char text[16];
            std::snprintf(text, sizeof text, "&h%06X", static_cast<unsigned>(std::get<Color>(value).ToRGB()));
            return text;
        }
        case fw::PropertyType::String: return '"' + std::get<std::string>(value) + '"';
    }
    return "?";
}

// The events each class raises; none of them has a handler yet.
std::vector<std::string_view> EventsOf(std::string_view className) {
    if (className == "EditField")
        return {"TextChange", "SelChange", "EnableMenuItems", "MouseDown", "ConstructContextualMenu", "Open"};
    if (className == "BevelButton") return {"Action", "Open", "MouseDown", "MouseExit"};
    if (className == "Canvas") return {"Paint", "MouseDown", "Open"};
    return {"Open"};
}

// --- The controls against their table ---------------------------------------

TEST_F(PlumoraControlsTest, WindowHoldsExactlyTwentyFiveControls) {
    auto* window = NewWindow();

    EXPECT_EQ(window->ControlCount(), 25);
    EXPECT_EQ(PlumoraControls().size(), 25u);
}

TEST_F(PlumoraControlsTest, EveryControlOfTheTableIsBuiltWithItsRecord) {
    auto* window = NewWindow();
    const auto table = PlumoraControls();
    ASSERT_EQ(static_cast<std::size_t>(window->ControlCount()), table.size());

    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& start = table[i].start;
        const std::string name(start.name);
        SCOPED_TRACE(name);
        // Built in the order of the table.
        EXPECT_EQ(window->ControlAt(static_cast<int>(i)).Name(), name);

        auto* control = fw::RuntimeWindowControlByName(*window, name);
        ASSERT_NE(control, nullptr) << "no control of this name in the window";
        EXPECT_TRUE(IsOfClass(*control, start.className)) << "expected a " << start.className;

        EXPECT_EQ(control->Left(), start.left);
        EXPECT_EQ(control->Top(), start.top);
        EXPECT_EQ(control->Width(), start.width);
        EXPECT_EQ(control->Height(), start.height);
        EXPECT_EQ(control->LockLeft(), start.locks.find('L') != std::string_view::npos);
        EXPECT_EQ(control->LockTop(), start.locks.find('T') != std::string_view::npos);
        EXPECT_EQ(control->LockRight(), start.locks.find('R') != std::string_view::npos);
        EXPECT_EQ(control->LockBottom(), start.locks.find('B') != std::string_view::npos);
        if (start.tabIndex) {
            EXPECT_EQ(control->TabIndex(), *start.tabIndex);
        }

        // Every key of the record the control was built from, class values
        // included, reads back as the record gave it.
        const auto record = fw::DecodeRecord(ControlRecord(start), [&](std::string_view key) -> std::optional<fw::PropertyType> {
            if (const auto* property = control->Properties().Find(key)) return property->type;
            return std::nullopt;
        });
        ASSERT_EQ(record.size(), ClassStartValues(start.className).size());
        for (const auto& entry : record) {
            SCOPED_TRACE(entry.key);
            EXPECT_EQ(Describe(control->Property(entry.key)), Describe(entry.value));
        }
        // And the control's own values in particular, by their keys as written.
        for (const auto& entry : start.values) {
            SCOPED_TRACE("own value " + entry.key);
            EXPECT_EQ(Describe(control->Property(entry.key)), Describe(entry.value));
        }
    }
}

TEST_F(PlumoraControlsTest, ExactlyTheBoundEventsHaveHandlers) {
    auto* window = NewWindow();
    const auto bound = [](std::string_view control, std::string_view event) {
        for (const auto& binding : PlumoraEventBindings())
            if (binding.control == control && binding.event == event) return true;
        return false;
    };

    for (const auto& entry : PlumoraControls()) {
        auto* control = window->ControlByName(entry.start.name);
        ASSERT_NE(control, nullptr) << entry.start.name;
        for (const auto event : EventsOf(entry.start.className))
            EXPECT_EQ(control->HasEventHandler(event), bound(entry.start.name, event)) << entry.start.name << "." << event;
    }
    // Every binding names a control of the window and an event of its class.
    for (const auto& binding : PlumoraEventBindings()) {
        auto* control = window->ControlByName(binding.control);
        ASSERT_NE(control, nullptr) << binding.control;
        EXPECT_TRUE(control->HasEventHandler(binding.event)) << binding.control << "." << binding.event;
    }
}

// --- Pictures ---------------------------------------------------------------

TEST_F(PlumoraControlsTest, ToolbarButtonsShowTheSharedPictures) {
    auto* window = NewWindow();
    const auto face = Picture2();
    const auto colors = colorbutton2();
    ASSERT_NE(face, nullptr);
    ASSERT_NE(colors, nullptr);

    for (auto* button : {window->sizemenu(), window->underlinebutton(), window->italicbutton(), window->BoldButton(),
                         window->fontmenu()}) {
        ASSERT_NE(button, nullptr);
        SCOPED_TRACE(button->Name());
        EXPECT_EQ(button->Icon().get(), face.get());
    }
    ASSERT_NE(window->cmnu(), nullptr);
    EXPECT_EQ(window->cmnu()->Icon().get(), colors.get());
}

TEST_F(PlumoraControlsTest, CanvasesShowTheirSharedBackdrops) {
    auto* window = NewWindow();
    const std::vector<std::pair<fw::Canvas*, PictureAccessor>> expected{
        {window->BevelButton2(), buttonfullscreen}, {window->Canvas4(), buttoncen1},
        {window->Canvas2(), buttonmax1},           {window->Canvas3(), buttonmin2},
        {window->Canvas8(), buttonexit2},          {window->Canvas5(), buttonyes6},
        {window->Canvas6(), buttonno4},            {window->Canvas7(), buttoncancel3},
    };

    for (const auto& [canvas, picture] : expected) {
        ASSERT_NE(canvas, nullptr);
        SCOPED_TRACE(canvas->Name());
        const auto shared = picture();
        ASSERT_NE(shared, nullptr);
        EXPECT_EQ(canvas->Backdrop().get(), shared.get());
    }
    // The colour swatch draws itself and has no picture.
    ASSERT_NE(window->Colorbutton(), nullptr);
    EXPECT_EQ(window->Colorbutton()->Backdrop(), nullptr);
}

// --- The document field -------------------------------------------------------

TEST_F(PlumoraControlsTest, DocumentFieldStartsEmptyInItsColours) {
    auto* field = NewWindow()->EditField1();
    ASSERT_NE(field, nullptr);

    EXPECT_EQ(field->Text(), "");
    EXPECT_EQ(field->TextColor(), Color::FromRGB(0x242424));
    EXPECT_EQ(field->BackColor(), Color::FromRGB(0xB6B3FF));
    EXPECT_TRUE(field->Multiline());
    EXPECT_TRUE(field->Styled());
    EXPECT_FALSE(field->Border());
    EXPECT_TRUE(field->AcceptTabs());
    EXPECT_TRUE(IsShown(*field));
}

TEST_F(PlumoraControlsTest, TabKeyTypesATabIntoTheDocument) {
    auto* field = NewWindow()->EditField1();
    ASSERT_NE(field, nullptr);

    fw::testing::TypeText(*field, "a\tb");

    EXPECT_EQ(field->Text(), "a\tb");
}

TEST_F(PlumoraControlsTest, TabKeyTypesNothingIntoAFieldThatDoesNotAcceptTabs) {
    auto* window = NewWindow();
    auto* snapshot = window->EditField4();
    ASSERT_NE(snapshot, nullptr);

    fw::testing::TypeText(*snapshot, "a\tb");

    EXPECT_EQ(snapshot->Text().find('\t'), std::string::npos);
}

// --- Templates and snapshots ----------------------------------------------------

TEST_F(PlumoraControlsTest, TemplateFieldsHoldTheirTextsWithCarriageReturns) {
    auto* window = NewWindow();
    auto* webPage = window->EditField2();
    auto* letter = window->EditField3();
    ASSERT_NE(webPage, nullptr);
    ASSERT_NE(letter, nullptr);

    EXPECT_EQ(webPage->Text(), kExpectedWebPage);
    EXPECT_EQ(webPage->Text().size(), 77u);
    EXPECT_EQ(webPage->Text().back(), '\r');
    EXPECT_EQ(letter->Text(), kExpectedLetter);
    EXPECT_EQ(letter->Text().size(), 89u);
    EXPECT_NE(letter->Text().back(), '\r');
    for (const std::string& text : {webPage->Text(), letter->Text()}) EXPECT_EQ(text.find('\n'), std::string::npos);
}

TEST_F(PlumoraControlsTest, TemplateFieldsAreHidden) {
    auto* window = NewWindow();

    for (auto* field : {window->EditField2(), window->EditField3()}) {
        ASSERT_NE(field, nullptr);
        SCOPED_TRACE(field->Name());
        EXPECT_FALSE(field->Visible());
        EXPECT_FALSE(IsShown(*field));
        EXPECT_LT(field->Left() + field->Width(), 0);
    }
}

TEST_F(PlumoraControlsTest, SnapshotFieldsStartEmptyLeftOfTheContentArea) {
    auto* window = NewWindow();

    for (auto* field : {window->EditField4(), window->EditField5()}) {
        ASSERT_NE(field, nullptr);
        SCOPED_TRACE(field->Name());
        EXPECT_EQ(field->Text(), "");
        EXPECT_TRUE(field->Visible());
        EXPECT_FALSE(field->Styled());
        EXPECT_LT(field->Left() + field->Width(), 0);
    }
}

// --- The save-changes bar -----------------------------------------------------

TEST_F(PlumoraControlsTest, SaveChangesBarAndItsPartsAreHiddenAtStart) {
    auto* window = NewWindow();
    const std::vector<fw::RectControl*> bar{window->Rectangle1(), window->Canvas5(), window->Canvas6(),
                                            window->Canvas7(), window->StaticText1()};

    for (auto* part : bar) {
        ASSERT_NE(part, nullptr);
        SCOPED_TRACE(part->Name());
        EXPECT_FALSE(IsShown(*part));
    }
    // The parts are visible themselves: only their container hides them.
    for (std::size_t i = 1; i < bar.size(); ++i) EXPECT_TRUE(bar[i]->Visible()) << bar[i]->Name();
}

TEST_F(PlumoraControlsTest, ShowingTheBarShowsAllFiveOverTheTopStrip) {
    auto* window = NewWindow();
    auto* bar = window->Rectangle1();
    ASSERT_NE(bar, nullptr);

    bar->Visible(true);
    fw::testing::ProcessEvents();

    for (fw::RectControl* part : {static_cast<fw::RectControl*>(bar), static_cast<fw::RectControl*>(window->Canvas5()),
                                  static_cast<fw::RectControl*>(window->Canvas6()),
                                  static_cast<fw::RectControl*>(window->Canvas7()),
                                  static_cast<fw::RectControl*>(window->StaticText1())}) {
        SCOPED_TRACE(part->Name());
        EXPECT_TRUE(IsShown(*part));
        // Each part lies inside the bar.
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
}

TEST_F(PlumoraControlsTest, HidingTheBarAgainHidesItsParts) {
    auto* window = NewWindow();
    auto* bar = window->Rectangle1();
    ASSERT_NE(bar, nullptr);

    bar->Visible(true);
    bar->Visible(false);

    for (fw::RectControl* part : {static_cast<fw::RectControl*>(window->Canvas5()),
                                  static_cast<fw::RectControl*>(window->Canvas6()),
                                  static_cast<fw::RectControl*>(window->Canvas7()),
                                  static_cast<fw::RectControl*>(window->StaticText1())})
        EXPECT_FALSE(IsShown(*part)) << part->Name();
}

// --- The toolbar buttons ----------------------------------------------------------

TEST_F(PlumoraControlsTest, StyleButtonsShowTheirLetterInTheirStyle) {
    auto* window = NewWindow();
    struct Expected {
        fw::BevelButton* button;
        const char* letter;
        fw::testing::FontStyle style;
    };
    const Expected expected[] = {
        {window->BoldButton(), "B", {true, false, false}},
        {window->italicbutton(), "I", {false, true, false}},
        {window->underlinebutton(), "U", {false, false, true}},
    };

    for (const auto& [button, letter, style] : expected) {
        ASSERT_NE(button, nullptr);
        SCOPED_TRACE(button->Name());
        EXPECT_EQ(fw::testing::ShownText(*button), letter);
        const auto shown = fw::testing::ShownFontStyle(*button);
        EXPECT_EQ(shown.bold, style.bold);
        EXPECT_EQ(shown.italic, style.italic);
        EXPECT_EQ(shown.underline, style.underline);
        EXPECT_FALSE(button->Value());
        EXPECT_EQ(button->ButtonType(), 1);
    }
}

TEST_F(PlumoraControlsTest, StyleButtonsAreToggles) {
    auto* window = NewWindow();
    auto* bold = window->BoldButton();
    ASSERT_NE(bold, nullptr);

    fw::testing::Click(*bold);
    EXPECT_TRUE(bold->Value());
    fw::testing::Click(*bold);
    EXPECT_FALSE(bold->Value());
}

TEST_F(PlumoraControlsTest, ColourMenuStartsAtRowFiveOfItsRecord) {
    auto* menu = NewWindow()->cmnu();
    ASSERT_NE(menu, nullptr);

    EXPECT_EQ(menu->MenuValue(), 5);
    EXPECT_EQ(menu->HasMenu(), 2);
    EXPECT_EQ(fw::testing::ShownText(*menu), "Colors");
}

TEST_F(PlumoraControlsTest, FullScreenButtonIsACanvas) {
    auto* window = NewWindow();
    auto* control = window->ControlByName("BevelButton2");
    ASSERT_NE(control, nullptr);

    EXPECT_NE(dynamic_cast<fw::Canvas*>(control), nullptr);
    EXPECT_EQ(dynamic_cast<fw::BevelButton*>(control), nullptr);
}

// --- Resizing by the user -------------------------------------------------------

TEST_F(PlumoraControlsTest, ControlsFollowTheirLocksWhenTheUserResizes) {
    auto* window = NewWindow();

    fw::testing::ResizeContent(*window, 672 + 100, 384 + 50);

    auto* document = window->EditField1();  // locked on all four edges: grows
    EXPECT_EQ(document->Left(), -1);
    EXPECT_EQ(document->Top(), 26);
    EXPECT_EQ(document->Width(), 674 + 100);
    EXPECT_EQ(document->Height(), 338 + 50);
    auto* size = window->sizemenu();  // locked right and bottom: moves
    EXPECT_EQ(size->Left(), 532 + 100);
    EXPECT_EQ(size->Top(), 364 + 50);
    EXPECT_EQ(size->Width(), 54);
    auto* colors = window->cmnu();  // locked left and bottom: moves down only
    EXPECT_EQ(colors->Left(), -1);
    EXPECT_EQ(colors->Top(), 364 + 50);
    auto* words = window->StaticText5();  // locked top and right: moves right
    EXPECT_EQ(words->Left(), 155 + 100);
    EXPECT_EQ(words->Top(), 2);
    auto* bar = window->Rectangle1();  // locked left, top and right: widens
    EXPECT_EQ(bar->Width(), 673 + 100);
    EXPECT_EQ(bar->Height(), 28);
    auto* close = window->Canvas8();  // locked left only: stays
    EXPECT_EQ(close->Left(), 5);
    EXPECT_EQ(close->Top(), 3);
}

// --- Two windows -------------------------------------------------------------------

TEST_F(PlumoraControlsTest, EachWindowHasItsOwnControlsAndTemplates) {
    auto* first = NewWindow();
    auto* second = NewWindow();
    ASSERT_NE(first, second);
    EXPECT_EQ(second->ControlCount(), 25);

    for (const auto& entry : PlumoraControls()) {
        auto* mine = first->ControlByName(entry.start.name);
        auto* theirs = second->ControlByName(entry.start.name);
        ASSERT_NE(mine, nullptr);
        ASSERT_NE(theirs, nullptr);
        EXPECT_NE(mine, theirs) << entry.start.name;
        EXPECT_EQ(&theirs->OwnerWindow(), second);
    }

    fw::testing::TypeText(*first->EditField1(), "first only");
    first->EditField2()->Text("changed");
    EXPECT_EQ(second->EditField1()->Text(), "");
    EXPECT_EQ(second->EditField2()->Text(), kExpectedWebPage);
    EXPECT_EQ(second->EditField3()->Text(), kExpectedLetter);
}

TEST_F(PlumoraControlsTest, SecondWindowGetsTheVerySamePictureObjects) {
    auto* first = NewWindow();
    auto* second = NewWindow();

    ASSERT_NE(first->Backdrop(), nullptr);
    EXPECT_EQ(second->Backdrop().get(), first->Backdrop().get());
    for (const auto& entry : PlumoraControls()) {
        if (!entry.picture) continue;
        SCOPED_TRACE(std::string(entry.start.name));
        auto* mine = first->ControlByName(entry.start.name);
        auto* theirs = second->ControlByName(entry.start.name);
        if (auto* button = dynamic_cast<fw::BevelButton*>(mine)) {
            ASSERT_NE(button->Icon(), nullptr);
            EXPECT_EQ(dynamic_cast<fw::BevelButton&>(*theirs).Icon().get(), button->Icon().get());
        } else {
            auto& canvas = dynamic_cast<fw::Canvas&>(*mine);
            ASSERT_NE(canvas.Backdrop(), nullptr);
            EXPECT_EQ(dynamic_cast<fw::Canvas&>(*theirs).Backdrop().get(), canvas.Backdrop().get());
        }
    }
}

}  // namespace
