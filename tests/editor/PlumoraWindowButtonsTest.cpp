#include "tests/support/ApplicationTest.h"
#include "editor/Plumora.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace drive = fw::testing;

class PlumoraWindowButtonsTest : public ApplicationTest {
protected:
    void TearDown() override {
        drive::ClearMainScreenArea();
        ApplicationTest::TearDown();
    }

    static class Plumora* ShownWindow() {
        auto* window = NewWindow();
        window->Show();
        drive::ProcessEvents();
        return window;
    }
};

TEST_F(PlumoraWindowButtonsTest, CentringPlacesTheContentAreaOnTheMainScreensWorkAreaWithoutResizing) {
    const struct {
        int left, top, width, height;  // the work area
        int wantLeft, wantTop;
    } cases[]{
        {0, 22, 1280, 778, 304, 219},
        {0, 0, 1281, 1025, 305, 321},      // half pixels go away from zero
        {100, 100, 600, 300, 64, 58},      // smaller than the window: it hangs over the edges
    };
    auto* window = ShownWindow();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        drive::SetMainScreenArea(c.left, c.top, c.width, c.height);
        EXPECT_FALSE(window->Canvas4_MouseDown(0, 0));
        drive::ProcessEvents();
        EXPECT_EQ(window->Left(), c.wantLeft);
        EXPECT_EQ(window->Top(), c.wantTop);
        EXPECT_EQ(window->Width(), 672);
        EXPECT_EQ(window->Height(), 384);
    }
}

struct WindowState {
    bool fullScreen, menuBar, resizeable;
    int left, top, width, height;
    bool operator==(const WindowState&) const = default;
};

WindowState StateOf(class Plumora& window) {
    return {window.FullScreen(), window.MenuBarVisible(), window.Resizeable(), window.Left(),
            window.Top(),        window.Width(),          window.Height()};
}

TEST_F(PlumoraWindowButtonsTest, FullScreenPictureTogglesAndTheSecondPressReturnsEveryProperty) {
    auto* window = ShownWindow();
    window->Left(100);
    window->Top(80);
    drive::ProcessEvents();
    const auto before = StateOf(*window);
    drive::Click(*window->BevelButton2());
    const auto full = StateOf(*window);
    EXPECT_TRUE(full.fullScreen);
    EXPECT_FALSE(full.menuBar);
    EXPECT_FALSE(full.resizeable);
    drive::Click(*window->BevelButton2());
    EXPECT_EQ(StateOf(*window), before);
}

TEST_F(PlumoraWindowButtonsTest, ButtonsReturnFalseAndViewCommandsTrue) {
    auto* window = ShownWindow();
    EXPECT_FALSE(window->Canvas2_MouseDown(0, 0));
    EXPECT_FALSE(window->Canvas2_MouseDown(0, 0));
    EXPECT_FALSE(window->Canvas3_MouseDown(0, 0));
    EXPECT_FALSE(window->BevelButton2_MouseDown(0, 0));
    EXPECT_FALSE(window->BevelButton2_MouseDown(0, 0));
    EXPECT_TRUE(window->ViewMaximize_Action());
    EXPECT_TRUE(window->ViewMaximize_Action());
    EXPECT_TRUE(window->ViewMinimize_Action());
}

}  // namespace
