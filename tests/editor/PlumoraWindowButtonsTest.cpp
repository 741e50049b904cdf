#include "tests/support/ApplicationTest.h"
#include "editor/Plumora.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

namespace drive = fw::testing;

class PlumoraWindowButtonsTest : public ApplicationTest {
protected:
    void SetUp() override {
        ApplicationTest::SetUp();
        window = NewWindow();
        window->Show();
        drive::ProcessEvents();
    }
    void TearDown() override {
        drive::ClearMainScreenArea();
        ApplicationTest::TearDown();
    }
    auto State() const {
        auto& w = *window;
        return std::tuple(w.FullScreen(), w.MenuBarVisible(), w.Resizeable(), w.Left(), w.Top(), w.Width(), w.Height());
    }
    class Plumora* window = nullptr;
};

TEST_F(PlumoraWindowButtonsTest, CentringPlacesTheContentOnTheMainScreensWorkAreaWithoutResizing) {
    const int cases[][6]{
        // work area left, top, width, height; the window's Left and Top
        {0, 22, 1280, 778, 304, 219},
        {0, 0, 1281, 1025, 305, 321},  // half pixels go away from zero
        {100, 100, 600, 300, 64, 58},  // smaller than the window: it hangs over the edges
    };
    for (const auto& c : cases) {
        drive::SetMainScreenArea(c[0], c[1], c[2], c[3]);
        EXPECT_FALSE(window->Canvas4_MouseDown(0, 0));
        drive::ProcessEvents();
        EXPECT_EQ(std::tuple(window->Left(), window->Top(), window->Width(), window->Height()),
                  std::tuple(c[4], c[5], 672, 384));
    }
}

// The pictures let the event go on (false); the View commands report it handled.
TEST_F(PlumoraWindowButtonsTest, FullScreenPictureTogglesAndTheSecondPressReturnsEveryProperty) {
    window->Left(100);
    window->Top(80);
    drive::ProcessEvents();
    const auto before = State();
    EXPECT_FALSE(window->BevelButton2_MouseDown(0, 0));
    EXPECT_EQ(std::tuple(window->FullScreen(), window->MenuBarVisible(), window->Resizeable()),
              std::tuple(true, false, false));
    drive::Click(*window->BevelButton2());
    EXPECT_EQ(State(), before);
    for (auto button : {&Plumora::Canvas2_MouseDown, &Plumora::Canvas2_MouseDown, &Plumora::Canvas3_MouseDown})
        EXPECT_FALSE((window->*button)(0, 0));
    for (auto command : {&Plumora::ViewMaximize_Action, &Plumora::ViewMaximize_Action, &Plumora::ViewMinimize_Action})
        EXPECT_TRUE((window->*command)());
}

}  // namespace
