#include "ScriptedWindow.h"

#include "framework/ui/BevelButton.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/EditField.h"
#include "framework/model/Exceptions.h"
#include "framework/ui/Graphics.h"
#include "framework/ui/PushButton.h"
#include "framework/ui/Rectangle.h"
#include "framework/ui/Runtime.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/TabPanel.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"

#include "framework/qt/QtDialogs.h"

#include <QApplication>
#include <QColor>
#include <QColorDialog>
#include <QImage>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using widgettests::ExpectColours;
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

    // Counts the points of a rectangle of the content area that pass the test.
    int Count(int left, int top, int width, int height, const std::function<bool(const QColor&)>& test) {
        const std::string path = ::testing::TempDir() + "controls-test-count.png";
        if (!drive::Grab(*window, path)) return -1;
        QImage image(QString::fromStdString(path));
        int count = 0;
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x) count += image.valid(x, y) && test(image.pixelColor(x, y));
        return count;
    }
    // Counts the points that are clearly darker than white.
    int CountInk(int left, int top, int width, int height) {
        return Count(left, top, width, height, [](const QColor& c) { return c.lightness() < 160; });
    }

    ScriptedWindow* window = nullptr;
};

// ---- BevelButton -----------------------------------------------------------

// A toggle button flips its value before Action runs; a plain one keeps it;
// a disabled one does not act.
TEST_F(ControlsTest, BevelButtonActsOnClickAndAToggleFlipsItsValue) {
    auto& toggle = window->Add<fw::BevelButton>("BevelButton", "Toggle", 10, 10, 60, 30);
    toggle.ButtonType(1);
    std::vector<bool> valueAtAction;
    toggle.InstallEventHandler("Action", fw::PlainHandler([&] { valueAtAction.push_back(toggle.Value()); }));
    drive::Click(toggle);
    drive::Click(toggle);
    toggle.Press();
    EXPECT_EQ(valueAtAction, (std::vector<bool>{true, false, true}));

    auto& plain = window->Add<fw::BevelButton>("BevelButton", "Plain", 100, 10, 60, 30);
    int actions = 0;
    plain.InstallEventHandler("Action", fw::PlainHandler([&] { ++actions; }));
    drive::Click(plain);
    EXPECT_FALSE(plain.Value());
    EXPECT_EQ(actions, 1);
    plain.Enabled(false);
    drive::Click(plain);
    plain.Press();
    EXPECT_EQ(actions, 1) << "a disabled button acted";
}

TEST_F(ControlsTest, BevelButtonMouseDownReturningTrueStopsTheClick) {
    auto& button = window->Add<fw::BevelButton>("BevelButton", "Guarded", 10, 10, 60, 30);
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
    auto& button = window->Add<fw::BevelButton>("BevelButton", "Menu", 10, 10, 80, 30);
    button.HasMenu(2);
    button.AddRow("Red");
    button.AddRow("Green");
    button.AddSeparator();
    button.AddRow("Blue");
    std::vector<std::string> rows;
    for (int i = -1; i <= button.ListCount(); ++i) rows.push_back(button.List(i));
    EXPECT_EQ(rows, (std::vector<std::string>{"", "Red", "Green", "", "Blue", ""}));

    std::vector<int> chosen;
    button.InstallEventHandler("Action", fw::PlainHandler([&] { chosen.push_back(button.MenuValue()); }));
    button.ChooseRow(3);
    button.ChooseRow(2);  // the separator
    button.ChooseRow(9);
    button.ChooseRow(-1);
    EXPECT_EQ(button.MenuValue(), 3);
    EXPECT_EQ(chosen, std::vector<int>{3});

    button.DeleteAllRows();
    EXPECT_EQ(button.ListCount(), 0);
}

TEST_F(ControlsTest, ClickingAMenuBevelButtonOffersItsRowsAndLeavingRaisesMouseExit) {
    auto& button = window->Add<fw::BevelButton>("BevelButton", "Menu", 100, 100, 80, 30);
    button.HasMenu(1);
    button.AddRow("Small");
    button.AddSeparator();
    button.AddRow("Large");
    std::vector<int> chosen;
    int exits = 0;
    button.InstallEventHandler("Action", fw::PlainHandler([&] { chosen.push_back(button.MenuValue()); }));
    button.InstallEventHandler("MouseExit", fw::PlainHandler([&] { ++exits; }));

    drive::MoveMouse(button, 40, 15);
    EXPECT_EQ(exits, 0);
    drive::MoveMouse(button, 300, 300);  // the pointer rests outside the button
    EXPECT_EQ(exits, 1);
    EXPECT_TRUE(drive::ClickAndChoose(button, "Large"));
    EXPECT_EQ(chosen, std::vector<int>{2});
    EXPECT_EQ(button.MenuValue(), 2);
    EXPECT_GE(exits, 2) << "the menu closed with the pointer outside, yet MouseExit was not raised";

    EXPECT_FALSE(drive::ClickAndChoose(button, "Medium"));
    EXPECT_EQ(chosen.size(), 1u);
    EXPECT_EQ(button.MenuValue(), 2);

    // The marked row is shown checked; marking one from the program raises no Action.
    button.MenuValue(0);
    button.Caption("Caption");
    const auto shown = drive::ShownPopupMenu(button);
    EXPECT_EQ(shown.entries, (std::vector<std::string>{"Small", "-", "Large"}));
    EXPECT_EQ(shown.checked, 0);
    button.DeleteAllRows();
    drive::Click(button);
    EXPECT_EQ(chosen.size(), 1u) << "a menu without rows acted";
}

// ---- Canvas ----------------------------------------------------------------

TEST_F(ControlsTest, CanvasPaintGetsGraphicsOfTheCanvasSize) {
    auto& canvas = window->Add<fw::Canvas>("Canvas", "Canvas", 20, 30, 120, 70);
    std::vector<std::pair<int, int>> sizes;
    canvas.InstallEventHandler("Paint", fw::PaintHandler([&](fw::Graphics& g) {
        sizes.emplace_back(g.Width(), g.Height());
        g.ForeColor(fw::Color::FromRGB(0x0000FF));
        g.FillRect(0, 0, 10, 10);
    }));
    // Paint draws inside the canvas only.
    ExpectColours(*window, {{25, 35, "#0000FF"}, {15, 35, "#FFFFFF"}});
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back(), std::make_pair(120, 70));
}

// The canvas's one drawing context keeps the colour set on it, inside Paint
// too; what is drawn on it outside Paint stays over the backdrop until Refresh.
TEST_F(ControlsTest, TheCanvasDrawingContextLastsAndItsDrawingStaysUntilRefresh) {
    auto picture = widgettests::SolidPicture("canvas-backdrop.png", 50, 40, QColor(0x12, 0x34, 0x56));
    ASSERT_NE(picture, nullptr);
    auto& canvas = window->Add<fw::Canvas>("Canvas", "Canvas", 20, 30, 120, 70);
    canvas.Backdrop(picture);
    canvas.InstallEventHandler("Paint", fw::PaintHandler([](fw::Graphics& g) { g.ForeColor(fw::Color::FromRGB(0x0A0B0C)); }));
    ExpectColours(*window, {{20, 30, "#123456"}, {69, 69, "#123456"}, {71, 71, "#FFFFFF"}});
    EXPECT_EQ(canvas.Graphics().ForeColor(), fw::Color::FromRGB(0x0A0B0C));

    auto& g = canvas.Graphics();
    EXPECT_EQ(std::make_pair(g.Width(), g.Height()), std::make_pair(120, 70));
    g.ForeColor(fw::Color::FromRGB(0xE01010));
    g.FillRect(10, 10, 20, 20);
    g.ForeColor(fw::Color::FromRGB(0x000000));
    g.DrawRect(0, 0, 120, 70);
    drive::ProcessEvents();
    ExpectColours(*window, {{35, 45, "#E01010"}, {20, 30, "#000000"}, {139, 99, "#000000"}, {21, 31, "#123456"},
                            {75, 45, "#FFFFFF"}});
    canvas.Refresh();
    ExpectColours(*window, {{35, 45, "#123456"}, {20, 30, "#123456"}, {139, 99, "#FFFFFF"}});
}

// The colour picker is the toolkit's colour dialog, titled with the prompt
// and opened on the colour given; a cancelled one leaves the colour alone.
TEST_F(ControlsTest, SelectColorAsksTheToolkitsColourDialog) {
    fw::QtDialogs dialogs;
    for (const bool confirm : {true, false}) {
        QString title;
        QColor opened;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            title = dialog->windowTitle();
            opened = dialog->currentColor();
            dialog->setCurrentColor(QColor(0x20, 0x40, 0x60));
            confirm ? dialog->accept() : dialog->reject();
        });
        auto colour = fw::Color::FromRGB(0xF0F0F0);
        EXPECT_EQ(dialogs.SelectColor(colour, "Pick one"), confirm);
        EXPECT_EQ(title, QStringLiteral("Pick one"));
        EXPECT_EQ(opened, QColor(0xF0, 0xF0, 0xF0));
        EXPECT_EQ(colour, fw::Color::FromRGB(confirm ? 0x204060 : 0xF0F0F0));
    }
}

TEST_F(ControlsTest, CanvasMouseDownGetsThePosition) {
    auto& canvas = window->Add<fw::Canvas>("Canvas", "Canvas", 20, 30, 120, 70);
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
    auto& box = window->Add<fw::Rectangle>("Rectangle", "Box", 50, 50, 100, 60);
    box.FillColor(fw::Color::FromRGB(0xC0C0FF));
    box.TopLeftColor(fw::Color::FromRGB(0xFF0000));
    box.BottomRightColor(fw::Color::FromRGB(0x00A000));
    box.BorderWidth(2);
    ExpectColours(*window, {{100, 80, "#C0C0FF"}, {80, 50, "#FF0000"}, {80, 51, "#FF0000"}, {50, 80, "#FF0000"},
                            {80, 109, "#00A000"}, {149, 80, "#00A000"}, {148, 80, "#00A000"}, {80, 52, "#C0C0FF"},
                            {150, 80, "#FFFFFF"}});
    box.FillColor(fw::Color::FromRGB(0x202020));
    ExpectColours(*window, {{100, 80, "#202020"}});
}

// ---- StaticText ------------------------------------------------------------

TEST_F(ControlsTest, StaticTextShowsItsTextInItsColourAndAlignment) {
    auto& label = window->Add<fw::StaticText>("StaticText", "Label", 10, 10, 300, 40);
    label.Text("first\rsecond");
    EXPECT_EQ(drive::ShownText(label), "first\nsecond");
    label.Text("<b>not markup</b>");
    EXPECT_EQ(drive::ShownText(label), "<b>not markup</b>");

    label.TextSize(14);
    label.Text("MMMM");
    label.TextColor(fw::Color::FromRGB(0xD00000));
    EXPECT_GT(CountInk(10, 10, 100, 30), 0) << "left-aligned text is not at the left";
    EXPECT_EQ(CountInk(210, 10, 100, 30), 0);
    EXPECT_GT(Count(10, 10, 300, 30, [](const QColor& c) { return c == QColor(0xD0, 0, 0); }), 0)
        << "the text is not drawn in its colour";

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
    auto& button = window->Add<fw::PushButton>("PushButton", "OK", 10, 10, 80, 30);
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
    auto& tabs = window->Add<fw::TabPanel>("TabPanel", "Tabs", 10, 10, 380, 250);
    tabs.TabDefinition("General\rFonts\rColours");
    EXPECT_EQ(drive::ShownText(tabs), "General\rFonts\rColours");
    auto& first = window->Add<fw::EditField>("EditField", "OnFirst", 20, 50, 100, 22);
    first.InitialParent("Tabs");
    first.TabPanelIndex(0);
    auto& second = window->Add<fw::EditField>("EditField", "OnSecond", 20, 50, 100, 22);
    second.InitialParent("Tabs");
    second.TabPanelIndex(1);
    auto& third = window->Add<fw::StaticText>("StaticText", "OnThird", 20, 80, 100, 22);
    third.InitialParent("Tabs");
    third.TabPanelIndex(2);

    std::vector<int> valueAtChange;
    tabs.InstallEventHandler("Change", fw::PlainHandler([&] { valueAtChange.push_back(tabs.Value()); }));
    const auto shown = [&] {
        return std::string{drive::IsShown(first) ? '1' : '0', drive::IsShown(second) ? '1' : '0', drive::IsShown(third) ? '1' : '0'};
    };
    EXPECT_EQ(tabs.Value(), 0);
    EXPECT_EQ(shown(), "100");
    tabs.Value(1);
    EXPECT_EQ(shown(), "010");
    tabs.Value(2);
    EXPECT_EQ(shown(), "001");
    tabs.Value(7);  // no such page
    EXPECT_EQ(tabs.Value(), 2);
    EXPECT_EQ(valueAtChange, (std::vector<int>{1, 2}));

    // Hiding the panel hides every page's controls; showing it brings back the current page's.
    tabs.Visible(false);
    EXPECT_EQ(shown(), "000");
    tabs.Visible(true);
    EXPECT_EQ(shown(), "001");

    window->Close();
    drive::ProcessEvents();
    EXPECT_EQ(fw::WindowCount(), 0);
    EXPECT_EQ(valueAtChange.size(), 2u) << "tearing the window down raised Change";
}

// ---- Events by name --------------------------------------------------------

TEST_F(ControlsTest, InstallEventHandlerRejectsUnknownEventsAndWrongShapes) {
    auto& field = window->Add<fw::EditField>("EditField", "Field", 10, 10, 100, 22);
    auto& button = window->Add<fw::PushButton>("PushButton", "Button", 10, 40, 100, 30);
    auto& canvas = window->Add<fw::Canvas>("Canvas", "Canvas", 10, 80, 100, 50);
    auto& bevel = window->Add<fw::BevelButton>("BevelButton", "Bevel", 150, 10, 60, 30);

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

    // Every control has Open; the events of the right shape are used throughout these tests.
    EXPECT_NO_THROW(button.InstallEventHandler("Open", plain));
    field.InstallEventHandler("MouseDown", mouse);
    EXPECT_TRUE(field.HasEventHandler("MouseDown"));
}

}  // namespace
