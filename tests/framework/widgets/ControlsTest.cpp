#include "ScriptedWindow.h"

#include "framework/BevelButton.h"
#include "framework/Canvas.h"
#include "framework/EditField.h"
#include "framework/Exceptions.h"
#include "framework/FolderItem.h"
#include "framework/Graphics.h"
#include "framework/Picture.h"
#include "framework/PushButton.h"
#include "framework/Rectangle.h"
#include "framework/Runtime.h"
#include "framework/StaticText.h"
#include "framework/TabPanel.h"
#include "framework/testing/ScriptedDialogs.h"
#include "framework/testing/TestDriver.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using widgettests::Hex;
using widgettests::PixelAt;
using widgettests::ScriptedWindow;
namespace drive = fw::testing;

// An empty visible window of 400 x 300 on a white background; each test adds
// the controls it needs.
class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive::InstallScriptedDialogs();
        window = ScriptedWindow::Make({.layout = [](ScriptedWindow& w) {
            w.Width(400);
            w.Height(300);
            w.BackColor(fw::Color::FromRGB(0xFFFFFF));
            w.HasBackColor(true);
            w.Visible(true);
        }});
    }
    void TearDown() override { drive::ReleaseAllWindows(); }

    template <class T>
    T& Add(std::string_view className, const std::string& name, int left, int top, int width, int height) {
        return window->Add<T>(className, name, left, top, width, height);
    }

    // Counts the points of a rectangle of the content area shown in a colour.
    int CountColour(int left, int top, int width, int height, fw::Color colour) {
        const std::string path = ::testing::TempDir() + "controls-test-count.png";
        if (!drive::Grab(*window, path)) return -1;
        QImage image(QString::fromStdString(path));
        int count = 0;
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                if (image.valid(x, y) && image.pixelColor(x, y) == QColor(colour.red, colour.green, colour.blue)) ++count;
        return count;
    }

    // Counts the points of a rectangle that are clearly darker than white.
    int CountInk(int left, int top, int width, int height) {
        const std::string path = ::testing::TempDir() + "controls-test-ink.png";
        if (!drive::Grab(*window, path)) return -1;
        QImage image(QString::fromStdString(path));
        int count = 0;
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                if (image.valid(x, y) && image.pixelColor(x, y).lightness() < 160) ++count;
        return count;
    }

    static std::shared_ptr<fw::Picture> SolidPicture(const std::string& name, int width, int height, QColor colour) {
        const std::string path = ::testing::TempDir() + name;
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        if (!image.save(QString::fromStdString(path), "PNG")) return nullptr;
        return fw::FolderItem(path).OpenAsPicture();
    }

    ScriptedWindow* window = nullptr;
};

// ---- BevelButton -----------------------------------------------------------

TEST_F(ControlsTest, ToggleBevelButtonFlipsItsValueAtEachClick) {
    auto& button = Add<fw::BevelButton>("BevelButton", "Toggle", 10, 10, 60, 30);
    button.ButtonType(1);
    std::vector<bool> valueAtAction;
    button.InstallEventHandler("Action", fw::PlainHandler([&] { valueAtAction.push_back(button.Value()); }));

    drive::Click(button);
    EXPECT_TRUE(button.Value());
    drive::Click(button);
    EXPECT_FALSE(button.Value());
    EXPECT_EQ(valueAtAction, (std::vector<bool>{true, false})) << "Action ran before the value flipped";

    button.Press();
    EXPECT_TRUE(button.Value());
    EXPECT_EQ(valueAtAction.size(), 3u);
}

TEST_F(ControlsTest, PlainBevelButtonKeepsItsValue) {
    auto& button = Add<fw::BevelButton>("BevelButton", "Plain", 10, 10, 60, 30);
    int actions = 0;
    button.InstallEventHandler("Action", fw::PlainHandler([&] { ++actions; }));
    drive::Click(button);
    EXPECT_FALSE(button.Value());
    EXPECT_EQ(actions, 1);

    button.Enabled(false);
    drive::Click(button);
    button.Press();
    EXPECT_EQ(actions, 1) << "a disabled button acted";
}

TEST_F(ControlsTest, BevelButtonMouseDownReturningTrueStopsTheClick) {
    auto& button = Add<fw::BevelButton>("BevelButton", "Guarded", 10, 10, 60, 30);
    button.ButtonType(1);
    int actions = 0, presses = 0;
    bool take = true;
    button.InstallEventHandler("Action", fw::PlainHandler([&] { ++actions; }));
    button.InstallEventHandler("MouseDown", fw::MouseHandler([&](int, int) {
        ++presses;
        return take;
    }));
    drive::Click(button);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(actions, 0);
    EXPECT_FALSE(button.Value());

    take = false;
    drive::Click(button);
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(actions, 1);
    EXPECT_TRUE(button.Value());
}

TEST_F(ControlsTest, BevelButtonRowsAndChoosingOne) {
    auto& button = Add<fw::BevelButton>("BevelButton", "Menu", 10, 10, 80, 30);
    button.HasMenu(2);
    button.AddRow("Red");
    button.AddRow("Green");
    button.AddSeparator();
    button.AddRow("Blue");
    EXPECT_EQ(button.ListCount(), 4);
    EXPECT_EQ(button.List(0), "Red");
    EXPECT_EQ(button.List(2), "");
    EXPECT_EQ(button.List(3), "Blue");
    EXPECT_EQ(button.List(4), "");
    EXPECT_EQ(button.List(-1), "");

    std::vector<int> chosen;
    button.InstallEventHandler("Action", fw::PlainHandler([&] { chosen.push_back(button.MenuValue()); }));
    button.ChooseRow(3);
    EXPECT_EQ(button.MenuValue(), 3);
    button.ChooseRow(2);  // the separator
    button.ChooseRow(9);
    button.ChooseRow(-1);
    EXPECT_EQ(button.MenuValue(), 3);
    EXPECT_EQ(chosen, std::vector<int>{3});

    button.DeleteAllRows();
    EXPECT_EQ(button.ListCount(), 0);
}

TEST_F(ControlsTest, ClickingAMenuBevelButtonOffersItsRows) {
    auto& button = Add<fw::BevelButton>("BevelButton", "Menu", 100, 100, 80, 30);
    button.HasMenu(1);
    button.AddRow("Small");
    button.AddSeparator();
    button.AddRow("Large");
    std::vector<int> chosen;
    int exits = 0;
    button.InstallEventHandler("Action", fw::PlainHandler([&] { chosen.push_back(button.MenuValue()); }));
    button.InstallEventHandler("MouseExit", fw::PlainHandler([&] { ++exits; }));

    drive::MoveMouse(button, 300, 300);  // the pointer rests outside the button
    EXPECT_TRUE(drive::ClickAndChoose(button, "Large"));
    EXPECT_EQ(chosen, std::vector<int>{2});
    EXPECT_EQ(button.MenuValue(), 2);
    EXPECT_GE(exits, 1) << "the menu closed with the pointer outside, yet MouseExit was not raised";

    EXPECT_FALSE(drive::ClickAndChoose(button, "Medium"));
    EXPECT_EQ(chosen.size(), 1u);
    EXPECT_EQ(button.MenuValue(), 2);
}

TEST_F(ControlsTest, BevelButtonRaisesMouseExitWhenThePointerLeaves) {
    auto& button = Add<fw::BevelButton>("BevelButton", "Hover", 100, 100, 80, 30);
    int exits = 0;
    button.InstallEventHandler("MouseExit", fw::PlainHandler([&] { ++exits; }));
    drive::MoveMouse(button, 40, 15);
    EXPECT_EQ(exits, 0);
    drive::MoveMouse(button, 200, 150);
    EXPECT_EQ(exits, 1);
}

// ---- Canvas ----------------------------------------------------------------

TEST_F(ControlsTest, CanvasPaintGetsGraphicsOfTheCanvasSize) {
    auto& canvas = Add<fw::Canvas>("Canvas", "Canvas", 20, 30, 120, 70);
    std::vector<std::pair<int, int>> sizes;
    canvas.InstallEventHandler("Paint", fw::PaintHandler([&](fw::Graphics& g) {
        sizes.emplace_back(g.Width(), g.Height());
        g.ForeColor(fw::Color::FromRGB(0x0000FF));
        g.FillRect(0, 0, 10, 10);
    }));
    EXPECT_EQ(Hex(PixelAt(*window, 25, 35)), "#0000FF");
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back(), std::make_pair(120, 70));
    // Paint draws inside the canvas only.
    EXPECT_EQ(Hex(PixelAt(*window, 15, 35)), "#FFFFFF");
}

TEST_F(ControlsTest, PersistentDrawingStaysUntilDrawnOver) {
    auto& canvas = Add<fw::Canvas>("Canvas", "Canvas", 20, 30, 120, 70);
    auto& g = canvas.PersistentGraphics();
    EXPECT_EQ(g.Width(), 120);
    EXPECT_EQ(g.Height(), 70);
    g.ForeColor(fw::Color::FromRGB(0xE01010));
    g.FillRect(10, 10, 20, 20);
    EXPECT_EQ(Hex(PixelAt(*window, 35, 45)), "#E01010");
    // Further repaints show it still.
    drive::ProcessEvents();
    EXPECT_EQ(Hex(PixelAt(*window, 35, 45)), "#E01010");
    EXPECT_EQ(Hex(PixelAt(*window, 25, 35)), "#FFFFFF") << "the kept drawing covered more than was drawn";

    auto& again = canvas.PersistentGraphics();
    again.ForeColor(fw::Color::FromRGB(0x10E010));
    again.FillRect(15, 15, 5, 5);
    EXPECT_EQ(Hex(PixelAt(*window, 37, 47)), "#10E010");
    EXPECT_EQ(Hex(PixelAt(*window, 45, 55)), "#E01010");

    again.ForeColor(fw::Color::FromRGB(0x000000));
    again.DrawRect(0, 0, 120, 70);
    EXPECT_EQ(Hex(PixelAt(*window, 20, 30)), "#000000");
    EXPECT_EQ(Hex(PixelAt(*window, 139, 99)), "#000000");
    EXPECT_EQ(Hex(PixelAt(*window, 21, 31)), "#FFFFFF");
}

TEST_F(ControlsTest, CanvasShowsItsBackdropUnderItsDrawing) {
    auto picture = SolidPicture("canvas-backdrop.png", 50, 40, QColor(0x12, 0x34, 0x56));
    ASSERT_NE(picture, nullptr);
    auto& canvas = Add<fw::Canvas>("Canvas", "Canvas", 20, 30, 120, 70);
    canvas.Backdrop(picture);
    EXPECT_EQ(Hex(PixelAt(*window, 20, 30)), "#123456");
    EXPECT_EQ(Hex(PixelAt(*window, 69, 69)), "#123456");
    EXPECT_EQ(Hex(PixelAt(*window, 71, 71)), "#FFFFFF");

    auto& g = canvas.PersistentGraphics();
    g.ForeColor(fw::Color::FromRGB(0xFFFF00));
    g.FillRect(0, 0, 5, 5);
    EXPECT_EQ(Hex(PixelAt(*window, 22, 32)), "#FFFF00");
    EXPECT_EQ(Hex(PixelAt(*window, 30, 40)), "#123456");
}

TEST_F(ControlsTest, CanvasMouseDownGetsThePosition) {
    auto& canvas = Add<fw::Canvas>("Canvas", "Canvas", 20, 30, 120, 70);
    std::vector<std::pair<int, int>> presses;
    canvas.InstallEventHandler("MouseDown", fw::MouseHandler([&](int x, int y) {
        presses.emplace_back(x, y);
        return true;
    }));
    drive::Click(canvas, 7, 9);
    drive::Click(canvas, 100, 60);
    EXPECT_EQ(presses, (std::vector<std::pair<int, int>>{{7, 9}, {100, 60}}));
}

// ---- Rectangle -------------------------------------------------------------

TEST_F(ControlsTest, RectangleDrawsItsFillAndBevelledBorder) {
    auto& box = Add<fw::Rectangle>("Rectangle", "Box", 50, 50, 100, 60);
    box.FillColor(fw::Color::FromRGB(0xC0C0FF));
    box.TopLeftColor(fw::Color::FromRGB(0xFF0000));
    box.BottomRightColor(fw::Color::FromRGB(0x00A000));
    box.BorderWidth(2);
    EXPECT_EQ(Hex(PixelAt(*window, 100, 80)), "#C0C0FF");
    EXPECT_EQ(Hex(PixelAt(*window, 80, 50)), "#FF0000");
    EXPECT_EQ(Hex(PixelAt(*window, 80, 51)), "#FF0000");
    EXPECT_EQ(Hex(PixelAt(*window, 50, 80)), "#FF0000");
    EXPECT_EQ(Hex(PixelAt(*window, 80, 109)), "#00A000");
    EXPECT_EQ(Hex(PixelAt(*window, 149, 80)), "#00A000");
    EXPECT_EQ(Hex(PixelAt(*window, 148, 80)), "#00A000");
    EXPECT_EQ(Hex(PixelAt(*window, 80, 52)), "#C0C0FF");
    EXPECT_EQ(Hex(PixelAt(*window, 150, 80)), "#FFFFFF");

    box.FillColor(fw::Color::FromRGB(0x202020));
    EXPECT_EQ(Hex(PixelAt(*window, 100, 80)), "#202020");
}

// ---- StaticText ------------------------------------------------------------

TEST_F(ControlsTest, StaticTextShowsItsTextWithCrAsLineBreak) {
    auto& label = Add<fw::StaticText>("StaticText", "Label", 10, 10, 200, 40);
    label.Text("first\rsecond");
    EXPECT_EQ(label.Text(), "first\rsecond");
    EXPECT_EQ(drive::ShownText(label), "first\nsecond");
    label.Text("<b>not markup</b>");
    EXPECT_EQ(drive::ShownText(label), "<b>not markup</b>");
}

TEST_F(ControlsTest, StaticTextColourAndAlignmentAreDrawn) {
    auto& label = Add<fw::StaticText>("StaticText", "Label", 10, 10, 300, 30);
    label.TextSize(14);
    label.Text("MMMM");
    label.TextColor(fw::Color::FromRGB(0xD00000));
    const int leftInk = CountInk(10, 10, 100, 30);
    EXPECT_GT(leftInk, 0) << "left-aligned text is not at the left";
    EXPECT_EQ(CountInk(210, 10, 100, 30), 0);
    EXPECT_GT(CountColour(10, 10, 300, 30, fw::Color::FromRGB(0xD00000)), 0) << "the text is not drawn in its colour";

    label.TextAlign(2);
    EXPECT_EQ(CountInk(10, 10, 100, 30), 0);
    EXPECT_GT(CountInk(210, 10, 100, 30), 0) << "right-aligned text is not at the right";

    label.TextAlign(1);
    EXPECT_EQ(CountInk(10, 10, 60, 30), 0);
    EXPECT_EQ(CountInk(250, 10, 60, 30), 0);
    EXPECT_GT(CountInk(110, 10, 100, 30), 0) << "centred text is not in the middle";
}

// ---- PushButton ------------------------------------------------------------

TEST_F(ControlsTest, PushButtonActsOnClickUnlessDisabled) {
    auto& button = Add<fw::PushButton>("PushButton", "OK", 10, 10, 80, 30);
    button.Caption("OK");
    EXPECT_EQ(drive::ShownText(button), "OK");
    int actions = 0;
    button.InstallEventHandler("Action", fw::PlainHandler([&] { ++actions; }));
    drive::Click(button);
    EXPECT_EQ(actions, 1);
    button.Push();
    EXPECT_EQ(actions, 2);

    button.Enabled(false);
    drive::Click(button);
    button.Push();
    EXPECT_EQ(actions, 2);
}

// ---- TabPanel --------------------------------------------------------------

TEST_F(ControlsTest, TabPanelPagesFollowItsDefinitionAndValue) {
    auto& tabs = Add<fw::TabPanel>("TabPanel", "Tabs", 10, 10, 380, 250);
    tabs.TabDefinition("General\rFonts\rColours");
    EXPECT_EQ(drive::ShownText(tabs), "General\rFonts\rColours");
    auto& first = Add<fw::EditField>("EditField", "OnFirst", 20, 50, 100, 22);
    first.InitialParent("Tabs");
    first.TabPanelIndex(0);
    auto& second = Add<fw::EditField>("EditField", "OnSecond", 20, 50, 100, 22);
    second.InitialParent("Tabs");
    second.TabPanelIndex(1);
    auto& third = Add<fw::StaticText>("StaticText", "OnThird", 20, 80, 100, 22);
    third.InitialParent("Tabs");
    third.TabPanelIndex(2);

    int changes = 0;
    std::vector<int> valueAtChange;
    tabs.InstallEventHandler("Change", fw::PlainHandler([&] {
        ++changes;
        valueAtChange.push_back(tabs.Value());
    }));
    EXPECT_EQ(tabs.Value(), 0);
    EXPECT_TRUE(drive::IsShown(first));
    EXPECT_FALSE(drive::IsShown(second));
    EXPECT_FALSE(drive::IsShown(third));

    tabs.Value(1);
    EXPECT_EQ(tabs.Value(), 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(valueAtChange, std::vector<int>{1});
    EXPECT_FALSE(drive::IsShown(first));
    EXPECT_TRUE(drive::IsShown(second));
    EXPECT_FALSE(drive::IsShown(third));

    tabs.Value(2);
    EXPECT_TRUE(drive::IsShown(third));
    EXPECT_FALSE(drive::IsShown(second));

    tabs.Value(7);  // no such page
    EXPECT_EQ(tabs.Value(), 2);
    EXPECT_EQ(changes, 2);

    // Hiding the panel hides every page's controls; showing it brings back the current page's.
    tabs.Visible(false);
    EXPECT_FALSE(drive::IsShown(third));
    tabs.Visible(true);
    EXPECT_TRUE(drive::IsShown(third));
    EXPECT_FALSE(drive::IsShown(first));
}

TEST_F(ControlsTest, ClosingAWindowWithATabPanelIsSafe) {
    auto& tabs = Add<fw::TabPanel>("TabPanel", "Tabs", 10, 10, 380, 250);
    tabs.TabDefinition("One\rTwo");
    Add<fw::EditField>("EditField", "Field", 20, 50, 100, 22).InitialParent("Tabs");
    int changes = 0;
    tabs.InstallEventHandler("Change", fw::PlainHandler([&] { ++changes; }));
    tabs.Value(1);
    window->Close();
    drive::ProcessEvents();
    EXPECT_EQ(fw::WindowCount(), 0);
    EXPECT_EQ(changes, 1) << "tearing the window down raised Change";
}

// ---- Events by name --------------------------------------------------------

TEST_F(ControlsTest, InstallEventHandlerRejectsUnknownEventsAndWrongShapes) {
    auto& field = Add<fw::EditField>("EditField", "Field", 10, 10, 100, 22);
    auto& button = Add<fw::PushButton>("PushButton", "Button", 10, 40, 100, 30);
    auto& canvas = Add<fw::Canvas>("Canvas", "Canvas", 10, 80, 100, 50);
    auto& bevel = Add<fw::BevelButton>("BevelButton", "Bevel", 150, 10, 60, 30);

    const fw::PlainHandler plain = [] {};
    const fw::MouseHandler mouse = [](int, int) { return false; };
    const fw::PaintHandler paint = [](fw::Graphics&) {};

    EXPECT_THROW(button.InstallEventHandler("TextChange", plain), fw::UnknownNameException);
    EXPECT_THROW(button.InstallEventHandler("Action", mouse), fw::UnknownNameException);
    EXPECT_THROW(field.InstallEventHandler("MouseDown", plain), fw::UnknownNameException);
    EXPECT_THROW(field.InstallEventHandler("Paint", paint), fw::UnknownNameException);
    EXPECT_THROW(canvas.InstallEventHandler("Paint", plain), fw::UnknownNameException);
    EXPECT_THROW(bevel.InstallEventHandler("Change", plain), fw::UnknownNameException);
    EXPECT_THROW(bevel.InstallEventHandler("Open", mouse), fw::UnknownNameException);
    EXPECT_FALSE(button.HasEventHandler("TextChange"));

    try {
        button.InstallEventHandler("Activate", plain);
        FAIL();
    } catch (const fw::UnknownNameException& error) {
        EXPECT_NE(std::string(error.what()).find("Activate"), std::string::npos) << error.what();
    }

    EXPECT_NO_THROW(field.InstallEventHandler("TextChange", plain));
    EXPECT_NO_THROW(field.InstallEventHandler("MouseDown", mouse));
    EXPECT_NO_THROW(canvas.InstallEventHandler("Paint", paint));
    EXPECT_NO_THROW(bevel.InstallEventHandler("MouseExit", plain));
    EXPECT_NO_THROW(button.InstallEventHandler("Open", plain));
    EXPECT_TRUE(field.HasEventHandler("MouseDown"));
}

}  // namespace
