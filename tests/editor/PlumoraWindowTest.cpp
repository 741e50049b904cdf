#include "tests/support/ApplicationTest.h"
#include "editor/Plumora.h"

#include "framework/Runtime.h"
#include "framework/testing/ScriptedDialogs.h"
#include "framework/testing/TestDriver.h"
#include "shell/MenuBar1.h"
#include "shell/MenuLookups.h"
#include "shell/Pictures.h"
#include "shell/Startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace {

using fw::Color;
using fw::testing::ShownMenuItem;

constexpr Color kWindowBackground = Color::FromRGB(0x6E6E6E);
constexpr Color kRecordBackground = Color::FromRGB(0x565656);
constexpr Color kFieldBackground = Color::FromRGB(0xB6B3FF);

// The toolkit must go before the process's static objects do, or the process
// crashes on its way out after tests that typed or clicked.
class ToolkitShutdown : public ::testing::Environment {
public:
    void TearDown() override { fw::testing::StopHeadlessRuntime(); }
};
const auto* const toolkitShutdown = ::testing::AddGlobalTestEnvironment(new ToolkitShutdown);

// Every test starts with the application object and its menu bar in place and
// no window open, so that the menus and the item lookups work.
class PlumoraWindowTest : public ApplicationTest {
protected:

    static class Plumora* NewWindow() { return fw::MakeWindow<class Plumora>(); }
};

// --- The window as it is built -------------------------------------------

TEST_F(PlumoraWindowTest, NewWindowHasItsContentSizeOnScreen) {
    auto* window = NewWindow();
    fw::testing::ProcessEvents();

    EXPECT_EQ(window->Width(), 672);
    EXPECT_EQ(window->Height(), 384);
    const auto shown = fw::testing::ShownContentSize(*window);
    EXPECT_EQ(shown.width, 672);
    EXPECT_EQ(shown.height, 384);
}

TEST_F(PlumoraWindowTest, TitleBeginsWithABlank) {
    auto* window = NewWindow();

    EXPECT_EQ(window->Title(), " Plumora");
}

TEST_F(PlumoraWindowTest, IsOnScreenAfterConstructionWithoutShow) {
    auto* window = NewWindow();
    fw::testing::ProcessEvents();

    EXPECT_TRUE(window->Visible());
    EXPECT_TRUE(fw::testing::IsShown(*window));
    EXPECT_TRUE(window->IsOpen());
}

TEST_F(PlumoraWindowTest, BackdropIsTheSharedBannerPicture) {
    auto* window = NewWindow();

    const auto banner = bannerplumora51();
    ASSERT_NE(banner, nullptr) << "the banner picture is missing from the test's resources";
    EXPECT_EQ(window->Backdrop().get(), banner.get());
}

TEST_F(PlumoraWindowTest, BackgroundColourIsReplacedWhenTheWindowOpens) {
    auto* window = NewWindow();

    EXPECT_TRUE(window->HasBackColor());
    EXPECT_EQ(window->BackColor(), kWindowBackground);
    EXPECT_NE(window->BackColor(), kRecordBackground);
}

TEST_F(PlumoraWindowTest, HasMinimizeAndMaximizeButtonsButNoCloseBox) {
    auto* window = NewWindow();

    EXPECT_FALSE(window->CloseButton());
    EXPECT_TRUE(window->MinimizeButton());
    EXPECT_TRUE(window->MaximizeButton());
}

TEST_F(PlumoraWindowTest, TheDesktopsCloseRequestLeavesTheWindowOpen) {
    auto* window = NewWindow();
    fw::testing::ProcessEvents();

    EXPECT_FALSE(fw::testing::CloseLikeUser(*window));
    EXPECT_TRUE(window->IsOpen());
    EXPECT_EQ(fw::WindowCount(), 1);
    EXPECT_TRUE(fw::testing::IsShown(*window));
}

TEST_F(PlumoraWindowTest, SizeLimitsAndWindowFlags) {
    auto* window = NewWindow();

    EXPECT_EQ(window->MinWidth(), 64);
    EXPECT_EQ(window->MinHeight(), 64);
    EXPECT_EQ(window->MaxWidth(), 32000);
    EXPECT_EQ(window->MaxHeight(), 32000);
    EXPECT_TRUE(window->Resizeable());
    EXPECT_FALSE(window->FullScreen());
    EXPECT_TRUE(window->MenuBarVisible());
}

TEST_F(PlumoraWindowTest, UserCannotShrinkTheWindowBelowItsSmallestSize) {
    auto* window = NewWindow();
    fw::testing::ProcessEvents();

    fw::testing::ResizeContent(*window, 20, 30);

    const auto shown = fw::testing::ShownContentSize(*window);
    EXPECT_EQ(shown.width, 64);
    EXPECT_EQ(shown.height, 64);
}

TEST_F(PlumoraWindowTest, NewWindowHasNoDocumentAndNoChanges) {
    auto* window = NewWindow();

    EXPECT_EQ(window->Document, nullptr);
    EXPECT_FALSE(window->TextHasChanged);
}

TEST_F(PlumoraWindowTest, IsRegisteredUnderItsModuleQualifiedClassName) {
    auto* window = NewWindow();

    EXPECT_EQ(window->ClassName(), "Plumora.Plumora");
}

// --- The shared default instance -----------------------------------------

TEST_F(PlumoraWindowTest, SharedAccessorMakesExactlyOneWindowWhenNoneIsOpen) {
    ASSERT_EQ(fw::WindowCount(), 0);

    auto* window = Plumora();

    ASSERT_NE(window, nullptr);
    EXPECT_EQ(fw::WindowCount(), 1);
    EXPECT_EQ(fw::WindowAt(0), window);
    EXPECT_EQ(fw::GetImplicitWindow("Plumora.Plumora"), window);
    // It is built, not merely made: its controls and its Open have run.
    EXPECT_NE(window->EditField1(), nullptr);
    EXPECT_EQ(window->BackColor(), kWindowBackground);
}

TEST_F(PlumoraWindowTest, SharedAccessorReturnsTheOpenInstanceAndMakesNothing) {
    auto* first = Plumora();
    ASSERT_EQ(fw::WindowCount(), 1);

    auto* again = Plumora();

    EXPECT_EQ(again, first);
    EXPECT_EQ(fw::WindowCount(), 1);
}

TEST_F(PlumoraWindowTest, IndependentWindowIsNotTheSharedInstance) {
    auto* independent = NewWindow();
    ASSERT_EQ(fw::WindowCount(), 1);
    EXPECT_EQ(fw::GetImplicitWindow("Plumora.Plumora"), nullptr);

    auto* shared = Plumora();

    EXPECT_NE(shared, independent);
    EXPECT_EQ(fw::WindowCount(), 2);
    // The shared instance stays the one it was, whatever other windows are made.
    NewWindow();
    EXPECT_EQ(Plumora(), shared);
    EXPECT_EQ(fw::WindowCount(), 3);
}

TEST_F(PlumoraWindowTest, ClosedSharedInstanceIsForgotten) {
    auto* shared = Plumora();
    shared->Close();
    fw::testing::ProcessEvents();
    ASSERT_EQ(fw::WindowCount(), 0);
    EXPECT_EQ(fw::GetImplicitWindow("Plumora.Plumora"), nullptr);

    auto* next = Plumora();

    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(next->IsOpen());
    EXPECT_EQ(fw::WindowCount(), 1);
    EXPECT_EQ(fw::GetImplicitWindow("Plumora.Plumora"), next);
}

// --- Open: Undo and Redo are switched off for the whole bar ---------------

TEST_F(PlumoraWindowTest, OpeningSwitchesUndoAndRedoAutoEnableOff) {
    ASSERT_NE(EditUndo(), nullptr);
    ASSERT_NE(EditRedo(), nullptr);
    EditUndo()->AutoEnable(true);
    EditRedo()->AutoEnable(true);

    NewWindow();

    EXPECT_FALSE(EditUndo()->AutoEnable());
    EXPECT_FALSE(EditRedo()->AutoEnable());
}

TEST_F(PlumoraWindowTest, OpeningAnotherWindowSwitchesOffUndoThatAnEarlierWindowHadOn) {
    NewWindow();
    // As a text change in the first window would leave them.
    EditUndo()->AutoEnable(true);
    EditRedo()->AutoEnable(true);

    NewWindow();

    EXPECT_FALSE(EditUndo()->AutoEnable());
    EXPECT_FALSE(EditRedo()->AutoEnable());
    EXPECT_EQ(fw::WindowCount(), 2);
}

// --- Before a menu is shown ----------------------------------------------

TEST_F(PlumoraWindowTest, PageSetupPrintFindAndReplaceAreEnabledWithEmptyText) {
    auto* window = NewWindow();
    fw::testing::ProcessEvents();
    ASSERT_EQ(fw::WindowAt(0), window);
    ASSERT_EQ(window->EditField1()->Text(), "");

    for (const char* name : {"FilePageSetup", "FilePrint", "EditFind", "editreplace"}) {
        SCOPED_TRACE(name);
        const auto shown = ShownMenuItem(name);
        ASSERT_TRUE(shown.present);
        EXPECT_TRUE(shown.visible);
        EXPECT_TRUE(shown.enabled);
    }
}

TEST_F(PlumoraWindowTest, PageSetupPrintFindAndReplaceAreNotEnabledByAPlainWindow) {
    // The same items stay disabled while a window of no document is in front,
    // so it is the document window that enables them.
    fw::MakeWindow<fw::Window>()->Show();
    fw::testing::ProcessEvents();

    for (const char* name : {"FilePageSetup", "FilePrint", "EditFind", "editreplace"}) {
        SCOPED_TRACE(name);
        const auto shown = ShownMenuItem(name);
        ASSERT_TRUE(shown.present);
        EXPECT_FALSE(shown.enabled);
    }
}

TEST_F(PlumoraWindowTest, CommandsWithoutAHandlerStayDisabled) {
    ApplicationAddMenuHandlers();
    NewWindow();
    fw::testing::ProcessEvents();

    for (const char* name : {"ChangeCaselowercase", "ChangeCaseTitleCase", "InsertDate", "ViewMinimize", "Formattest"}) {
        SCOPED_TRACE(name);
        const auto shown = ShownMenuItem(name);
        ASSERT_TRUE(shown.present);
        EXPECT_FALSE(shown.enabled);
    }
}

TEST_F(PlumoraWindowTest, ApplicationCommandsAreEnabledWithADocumentWindowInFront) {
    ApplicationAddMenuHandlers();
    NewWindow();
    fw::testing::ProcessEvents();

    for (const char* name : {"newwindow", "FileOpen"}) {
        SCOPED_TRACE(name);
        const auto shown = ShownMenuItem(name);
        ASSERT_TRUE(shown.present);
        EXPECT_TRUE(shown.enabled);
    }
}

// --- Resizing --------------------------------------------------------------

TEST_F(PlumoraWindowTest, UserResizeEnablesTheMaximizeButton) {
    auto* window = NewWindow();
    fw::testing::ProcessEvents();
    auto* maximize = window->Canvas2();
    ASSERT_NE(maximize, nullptr);
    maximize->Enabled(false);

    fw::testing::ResizeContent(*window, 700, 420);

    EXPECT_EQ(fw::testing::ShownContentSize(*window).width, 700);
    EXPECT_TRUE(maximize->Enabled());
}

// --- On screen --------------------------------------------------------------

TEST_F(PlumoraWindowTest, ScreenshotShowsFieldToolbarAndCloseButton) {
    auto* window = NewWindow();
    fw::testing::ProcessEvents();
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "build" / "editor_tests";
    std::filesystem::create_directories(folder);
    const std::string png = (folder / "plumora-window.png").string();
    std::filesystem::remove(png);

    ASSERT_TRUE(fw::testing::Grab(*window, png));

    // The picture is the content area: the corner pixels exist, one further does not.
    EXPECT_TRUE(fw::testing::PixelOf(png, 671, 383).has_value());
    EXPECT_FALSE(fw::testing::PixelOf(png, 672, 383).has_value());
    EXPECT_FALSE(fw::testing::PixelOf(png, 671, 384).has_value());

    // Inside the document field, well away from its text and scroll bar.
    EXPECT_EQ(fw::testing::PixelOf(png, 300, 200), std::optional(kFieldBackground));
    // The toolbar between the colour menu and the "Text Color:" label.
    EXPECT_EQ(fw::testing::PixelOf(png, 95, 375), std::optional(kWindowBackground));

    // The close button at the top left shows its own picture.
    const auto closeButton = fw::testing::PixelOf(png, 5 + 10, 3 + 10);
    ASSERT_TRUE(closeButton.has_value());
    EXPECT_NE(*closeButton, kWindowBackground);
    const auto closePicture = fw::testing::PixelOf(std::string(PLUMORA_TEST_RESOURCES_DIR) + "/buttonexit2.bmp", 10, 10);
    ASSERT_TRUE(closePicture.has_value());
    EXPECT_EQ(*closeButton, *closePicture);
}

}  // namespace
