#include "ScriptedWindow.h"

#include "framework/qt/WindowFrame.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace {

using widgettests::ScriptedWindow;

// Centred windows step down and to the right; one that would leave the work
// area starts the steps again at its top left.
TEST(WindowTest, CentredWindowsCascadeWithinTheWorkArea) {
    fw::testing::InstallScriptedDialogs();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    std::vector<QPoint> places;
    for (int i = 0; i < 3 * area.height() / 24; ++i) {
        auto* window = ScriptedWindow::Make({.layout = [&area](ScriptedWindow& w) {
            w.Width(area.width() / 2), w.Height(area.height() / 2), w.Placement(3), w.Visible(true);
        }});
        const QRect frame = window->Widgets().frameGeometry();
        EXPECT_TRUE(area.contains(frame)) << "window " << i << " at " << frame.y() << " of " << area.height();
        places.push_back(frame.topLeft());
    }
    EXPECT_GT(places[1].x(), places[0].x());
    EXPECT_GT(places[1].y(), places[0].y());
    EXPECT_GE(std::count(places.begin(), places.end(), area.topLeft()), 2) << "the cascade started again";
    fw::testing::ReleaseAllWindows();
}

// Maximize and Restore behave the same whether or not the maximized window
// went to full screen and back in between (as the full-screen picture takes
// it there: no menu bar, not resizeable).
TEST(WindowTest, AMaximizedWindowComesBackFromFullScreenMaximizedAndRestoresToItsSize) {
    for (const bool trip : {false, true}) {
        SCOPED_TRACE(trip ? "with the trip" : "without");
        auto* window = ScriptedWindow::Make({.layout = [](ScriptedWindow& w) { w.Width(672), w.Height(384); }});
        const auto state = [&w = *window] {
            fw::testing::ProcessEvents();
            return std::tuple(w.Widgets().isMaximized(), w.Width(), w.Height());
        };
        window->Maximize();
        const auto maximized = state();
        ASSERT_TRUE(std::get<0>(maximized));
        if (trip) {
            window->FullScreen(true), window->MenuBarVisible(false), window->Resizeable(false);
            state();
            window->FullScreen(false), window->MenuBarVisible(true), window->Resizeable(true);
        }
        EXPECT_EQ(state(), maximized);
        window->Maximize();
        EXPECT_EQ(state(), std::tuple(false, 672, 384));
        fw::testing::ReleaseAllWindows();
    }
}

}  // namespace
