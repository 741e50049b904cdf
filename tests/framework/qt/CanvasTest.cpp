#include "ScriptedWindow.h"

#include "framework/ui/Canvas.h"
#include "framework/ui/Graphics.h"
#include "framework/qt/testing/TestDriver.h"

#include <gtest/gtest.h>

namespace {

namespace drive = fw::testing;
using fw::Color;
using widgettests::ScriptedWindow;

// The canvas's one drawing context keeps the colour set on it, inside Paint
// too; what is drawn on it outside Paint stays until Refresh.
TEST(CanvasTest, TheCanvasDrawingContextLastsAndItsDrawingStaysUntilRefresh) {
    auto* window = ScriptedWindow::Make({.layout = [](ScriptedWindow& w) {
        w.Width(400), w.Height(300), w.BackColor(Color::FromRGB(0xFFFFFF)), w.HasBackColor(true), w.Visible(true);
    }});
    // Expects the window to show each colour at its point.
    const auto ExpectColours = [window](const std::vector<std::pair<std::pair<int, int>, std::uint32_t>>& points) {
        for (const auto& [at, rgb] : points)
            EXPECT_EQ(drive::PixelOf(*window, at.first, at.second), std::optional(Color::FromRGB(rgb)))
                << "at " << at.first << ", " << at.second;
    };
    auto& canvas = window->Add<fw::Canvas>("Canvas", "Canvas", 20, 30, 120, 70);
    canvas.InstallEventHandler("Paint",
                               fw::PaintHandler([](fw::Graphics& g) { g.ForeColor(Color::FromRGB(0x0A0B0C)); }));
    ExpectColours({{{20, 30}, 0xFFFFFF}});
    EXPECT_EQ(canvas.Graphics().ForeColor(), Color::FromRGB(0x0A0B0C));
    auto& g = canvas.Graphics();
    g.ForeColor(Color::FromRGB(0xE01010)), g.FillRect(10, 10, 20, 20);
    g.ForeColor(Color::FromRGB(0x000000)), g.DrawRect(0, 0, 120, 70);
    drive::ProcessEvents();
    ExpectColours({{{35, 45}, 0xE01010}, {{20, 30}, 0x000000}, {{139, 99}, 0x000000}, {{75, 45}, 0xFFFFFF}});
    canvas.Refresh();
    ExpectColours({{{35, 45}, 0xFFFFFF}, {{20, 30}, 0xFFFFFF}});
    drive::ReleaseAllWindows();
}

}  // namespace
