#include "tests/support/ApplicationTest.h"
#include "editor/Plumora.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace {

using fw::Color;
using fw::testing::ShownMenuItem;

constexpr Color kWindowBackground = Color::FromRGB(0x6E6E6E);

using PlumoraWindowTest = ApplicationTest;

TEST_F(PlumoraWindowTest, ANewWindowIsShownWithItsStartValues) {
    auto* window = NewWindow();
    EXPECT_EQ(window->Title(), " Plumora");
    EXPECT_TRUE(fw::testing::IsShown(*window));
    const auto shown = fw::testing::ShownContentSize(*window);
    EXPECT_EQ(shown.width, 672);
    EXPECT_EQ(shown.height, 384);
    // Opening replaces the record's background colour.
    EXPECT_TRUE(window->HasBackColor());
    EXPECT_EQ(window->BackColor(), kWindowBackground);
    EXPECT_FALSE(window->CloseButton());
    EXPECT_TRUE(window->MinimizeButton());
    EXPECT_TRUE(window->MaximizeButton());
    EXPECT_EQ(window->MaxWidth(), 32000);
    EXPECT_EQ(window->MaxHeight(), 32000);
    EXPECT_FALSE(window->FullScreen());
    EXPECT_TRUE(window->MenuBarVisible());
    EXPECT_EQ(window->Document, nullptr);
    EXPECT_FALSE(window->TextHasChanged);
}

TEST_F(PlumoraWindowTest, TheDesktopsCloseRequestLeavesTheWindowOpen) {
    auto* window = NewWindow();
    EXPECT_FALSE(fw::testing::CloseLikeUser(*window));
    EXPECT_TRUE(window->IsOpen());
    EXPECT_TRUE(fw::testing::IsShown(*window));
}

TEST_F(PlumoraWindowTest, AUserResizeMovesTheControlsEnablesMaximizeAndStopsAtTheSmallestSize) {
    auto* window = NewWindow();
    window->Canvas2()->Enabled(false);
    fw::testing::ResizeContent(*window, 672 + 100, 384 + 50);
    EXPECT_EQ(fw::testing::ShownContentSize(*window).width, 772);
    EXPECT_TRUE(window->Canvas2()->Enabled()) << "the maximize button";

    struct Expected {
        fw::RectControl* control;
        int left, top, width, height;
    };
    const Expected expected[]{
        {window->EditField1(), -1, 26, 674 + 100, 338 + 50},  // locked on all four edges: grows
        {window->sizemenu(), 532 + 100, 364 + 50, 54, 21},     // locked right and bottom: moves
        {window->cmnu(), -1, 364 + 50, 80, 22},                // locked left and bottom: moves down only
        {window->StaticText5(), 155 + 100, 2, 508, 20},        // locked top and right: moves right
        {window->Rectangle1(), -1, -1, 673 + 100, 28},         // locked left, top and right: widens
        {window->Canvas8(), 5, 3, 21, 21},                     // locked left only: stays
    };
    for (const auto& [control, left, top, width, height] : expected) {
        SCOPED_TRACE(control->Name());
        EXPECT_EQ(control->Left(), left);
        EXPECT_EQ(control->Top(), top);
        EXPECT_EQ(control->Width(), width);
        EXPECT_EQ(control->Height(), height);
    }

    fw::testing::ResizeContent(*window, 20, 30);
    const auto shown = fw::testing::ShownContentSize(*window);
    EXPECT_EQ(shown.width, 64);
    EXPECT_EQ(shown.height, 64);
}

TEST_F(PlumoraWindowTest, TheSharedAccessorMakesOneBuiltWindowAndForgetsItWhenItCloses) {
    auto* independent = NewWindow();
    EXPECT_EQ(fw::GetImplicitWindow(Plumora::kClassName), nullptr);

    auto* shared = Plumora();
    ASSERT_NE(shared, nullptr);
    EXPECT_NE(shared, independent);
    EXPECT_EQ(fw::WindowCount(), 2);
    EXPECT_EQ(fw::GetImplicitWindow(Plumora::kClassName), shared);
    // It is built, not merely made: its controls and its Open have run.
    EXPECT_NE(shared->EditField1(), nullptr);
    EXPECT_EQ(shared->BackColor(), kWindowBackground);
    // It stays the one it was, whatever other windows are made.
    NewWindow();
    EXPECT_EQ(Plumora(), shared);
    EXPECT_EQ(fw::WindowCount(), 3);

    shared->Close();
    fw::testing::ProcessEvents();
    EXPECT_EQ(fw::GetImplicitWindow(Plumora::kClassName), nullptr);
    auto* next = Plumora();
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(next->IsOpen());
    EXPECT_EQ(fw::WindowCount(), 3);
    EXPECT_EQ(fw::GetImplicitWindow(Plumora::kClassName), next);
}

// Page Setup, Print, Find and Replace are enabled by the document window in
// front, whatever it holds; a plain window leaves them disabled.
TEST_F(PlumoraWindowTest, TheMenusAreEnabledByTheWindowInFront) {
    NewWindow();
    ASSERT_EQ(Front()->EditField1()->Text(), "");
    const std::pair<const char*, bool> items[]{
        {"FilePageSetup", true},        {"FilePrint", true},           {"EditFind", true},
        {"editreplace", true},          {"newwindow", true},           {"FileOpen", true},
        {"ChangeCaselowercase", false}, {"ChangeCaseTitleCase", false}, {"InsertDate", false},
        {"ViewMinimize", false},        {"Formattest", true},
    };
    for (const auto& [name, enabled] : items) {
        const auto shown = ShownMenuItem(name);
        ASSERT_TRUE(shown.present) << name;
        EXPECT_TRUE(shown.visible) << name;
        EXPECT_EQ(shown.enabled, enabled) << name;
    }

    fw::MakeWindow<fw::Window>()->Show();
    fw::testing::ProcessEvents();
    for (const char* name : {"FilePageSetup", "FilePrint", "EditFind", "editreplace"})
        EXPECT_FALSE(ShownMenuItem(name).enabled) << name << " in a plain window";
}

TEST_F(PlumoraWindowTest, ScreenshotShowsFieldToolbarAndCloseButton) {
    auto* window = NewWindow();
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "build" / "editor_tests";
    std::filesystem::create_directories(folder);
    const std::string png = (folder / "plumora-window.png").string();
    std::filesystem::remove(png);
    ASSERT_TRUE(fw::testing::Grab(*window, png));

    // The picture is the content area: the corner pixel exists, one further does not.
    EXPECT_TRUE(fw::testing::PixelOf(png, 671, 383).has_value());
    EXPECT_FALSE(fw::testing::PixelOf(png, 672, 383).has_value());
    // Inside the document field, well away from its text and scroll bar.
    EXPECT_EQ(fw::testing::PixelOf(png, 300, 200), std::optional(Color::FromRGB(0xB6B3FF)));
    // The toolbar between the colour menu and the "Text Color:" label.
    EXPECT_EQ(fw::testing::PixelOf(png, 95, 375), std::optional(kWindowBackground));
    // The close button at the top left shows its own picture.
    const auto closeButton = fw::testing::PixelOf(png, 5 + 10, 3 + 10);
    ASSERT_TRUE(closeButton.has_value());
    EXPECT_NE(*closeButton, kWindowBackground);
    EXPECT_EQ(closeButton, fw::testing::PixelOf(std::string(PLUMORA_TEST_RESOURCES_DIR) + "/buttonexit2.bmp", 10, 10));
}

}  // namespace
