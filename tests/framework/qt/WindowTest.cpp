#include "ScriptedWindow.h"

#include "framework/ui/Application.h"
#include "framework/ui/BevelButton.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/EditField.h"
#include "framework/model/Exceptions.h"
#include "framework/menus/MenuItem.h"
#include "framework/ui/PushButton.h"
#include "framework/ui/Rectangle.h"
#include "framework/ui/Runtime.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using widgettests::ScriptedWindow;
namespace drive = fw::testing;
using Size = std::pair<int, int>;

// Every window gets a menu bar with a menu in it, so that the content area
// really sits below a bar of some height.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive::InstallScriptedDialogs();
        auto bar = std::make_shared<fw::MenuBar>();
        bar->Append(std::make_shared<fw::MenuItem>("&File"));
        bar->Item(0)->Append(std::make_shared<fw::MenuItem>("Close"));
        auto app = std::make_shared<fw::Application>();
        app->MenuBar(bar);
        fw::RuntimeRegisterAppObject(app);
    }
    void TearDown() override {
        drive::ReleaseAllWindows();
        fw::RuntimeRegisterAppObject(nullptr);
    }

    static ScriptedWindow* Sized(int width, int height, bool visible = true, ScriptedWindow::Script script = {}) {
        auto layout = script.layout;
        script.layout = [=](ScriptedWindow& w) {
            w.Width(width);
            w.Height(height);
            w.Visible(visible);
            if (layout) layout(w);
        };
        return ScriptedWindow::Make(std::move(script));
    }

    static Size Shown(fw::Window& window) {
        drive::ProcessEvents();
        const auto size = drive::ShownContentSize(window);
        return {size.width, size.height};
    }
    static bool IsShown(ScriptedWindow* window) { return drive::IsShown(*static_cast<fw::Window*>(window)); }
};

TEST_F(WindowTest, ConstructorRaisesSetUpEventsOnceEachInOrder) {
    std::vector<std::string> log;
    bool firstSawSecond = false;
    ScriptedWindow::Script script;
    script.log = &log;
    script.createControls = [&](ScriptedWindow& w) {
        auto& first = w.Add<fw::EditField>("EditField", "First", 10, 10, 100, 22);
        auto& second = w.Add<fw::EditField>("EditField", "Second", 10, 40, 100, 22);
        first.InstallEventHandler("Open", fw::PlainHandler([&log, self = &w, &firstSawSecond] {
            log.push_back("Open First");
            firstSawSecond = self->ControlByName("Second") != nullptr;
        }));
        second.InstallEventHandler("Open", fw::PlainHandler([&log] { log.push_back("Open Second"); }));
    };
    ScriptedWindow::Make(script);
    drive::ProcessEvents();

    EXPECT_EQ(log, (std::vector<std::string>{"Layout", "CreateControls", "AddMenuHandlers", "Open First", "Open Second", "Open"}));
    EXPECT_TRUE(firstSawSecond) << "a control's Open ran before every control of the window existed";
}

TEST_F(WindowTest, ExceptionInConstructorClosesTheWindowAndPropagates) {
    bool destroyed = false;
    ScriptedWindow::Script script{.layout = [](ScriptedWindow& w) { w.Visible(true); },
                                  .open = [](ScriptedWindow&) { throw std::runtime_error("open failed"); },
                                  .className = "Tests.Failing",
                                  .destroyed = &destroyed};
    try {
        ScriptedWindow::Make(script, true);
        FAIL() << "the exception thrown in Open did not leave the constructor";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "open failed");
    }
    EXPECT_EQ(fw::WindowCount(), 0);
    EXPECT_EQ(fw::GetImplicitWindow("Tests.Failing"), nullptr);
    drive::ProcessEvents();
    EXPECT_TRUE(destroyed);

    // One that fails while creating its controls raises no later event.
    std::vector<std::string> log;
    EXPECT_THROW(ScriptedWindow::Make({.createControls = [](ScriptedWindow&) { throw fw::NilObjectException("no control"); },
                                       .log = &log}),
                 fw::NilObjectException);
    EXPECT_EQ(log, (std::vector<std::string>{"Layout", "CreateControls"}));
    EXPECT_EQ(fw::WindowCount(), 0);
}

// The window leaves the window list at once, but is released only once the
// event that closed it has finished with it.
TEST_F(WindowTest, ClosedWindowLivesUntilTheEventThatClosedItHasFinished) {
    bool destroyed = false;
    bool destroyedInsideHandler = true;
    fw::Window* frontAfterClose = nullptr;
    std::string titleAfterClose;
    ScriptedWindow::Script script;
    script.destroyed = &destroyed;
    script.createControls = [&](ScriptedWindow& w) {
        auto& button = w.Add<fw::PushButton>("PushButton", "CloseButton", 10, 10, 100, 30);
        button.InstallEventHandler("Action", fw::PlainHandler([&, self = &w] {
            self->Close();
            self->Close();  // a second close does nothing
            frontAfterClose = fw::WindowAt(0);
            // The handler goes on with its window after closing it.
            self->Title("closing");
            titleAfterClose = self->Title();
            destroyedInsideHandler = destroyed;
            self->ControlByName("CloseButton")->Enabled(false);
        }));
    };
    auto* window = Sized(300, 200, true, script);

    drive::Click(*window->ControlByName("CloseButton"));  // processes the waiting events afterwards
    EXPECT_EQ(frontAfterClose, nullptr);
    EXPECT_FALSE(destroyedInsideHandler);
    EXPECT_EQ(titleAfterClose, "closing");
    EXPECT_TRUE(destroyed) << "the closed window was never released";
    EXPECT_EQ(fw::WindowCount(), 0);
}

// Showing the window is no resize by the user: locked controls stay where
// they were put until the user drags the frame.
TEST_F(WindowTest, EdgeLocksFollowTheUsersResize) {
    std::vector<std::string> log;
    ScriptedWindow::Script script;
    script.log = &log;
    script.createControls = [](ScriptedWindow& w) {
        auto& stretch = w.Add<fw::Rectangle>("Rectangle", "Stretch", 10, 10, 100, 20);
        stretch.LockLeft(true);
        stretch.LockRight(true);
        auto& mover = w.Add<fw::Rectangle>("Rectangle", "Mover", 250, 40, 40, 20);
        mover.LockRight(true);
        w.Add<fw::Rectangle>("Rectangle", "Still", 50, 70, 40, 20);
        w.Add<fw::Rectangle>("Rectangle", "LeftOnly", 100, 70, 40, 20).LockLeft(true);
        auto& tall = w.Add<fw::Rectangle>("Rectangle", "Tall", 150, 100, 40, 50);
        tall.LockTop(true);
        tall.LockBottom(true);
        w.Add<fw::Rectangle>("Rectangle", "Sinker", 200, 170, 40, 20).LockBottom(true);
    };
    auto* window = Sized(300, 200, true, script);
    const auto frame = [window](const char* name) {
        auto* control = window->ControlByName(name);
        return std::vector<int>{control->Left(), control->Top(), control->Width(), control->Height()};
    };
    drive::ProcessEvents();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Resizing"), 0);
    EXPECT_EQ(frame("Mover"), (std::vector<int>{250, 40, 40, 20}));
    EXPECT_EQ(frame("Sinker"), (std::vector<int>{200, 170, 40, 20}));

    drive::ResizeContent(*window, 400, 260);
    ASSERT_EQ(Shown(*window), Size(400, 260));
    EXPECT_EQ(Size(window->Width(), window->Height()), Size(400, 260));
    EXPECT_EQ(frame("Stretch"), (std::vector<int>{10, 10, 200, 20}));
    EXPECT_EQ(frame("Mover"), (std::vector<int>{350, 40, 40, 20}));
    EXPECT_EQ(frame("Still"), (std::vector<int>{50, 70, 40, 20}));
    EXPECT_EQ(frame("LeftOnly"), (std::vector<int>{100, 70, 40, 20}));
    EXPECT_EQ(frame("Tall"), (std::vector<int>{150, 100, 40, 110}));
    EXPECT_EQ(frame("Sinker"), (std::vector<int>{200, 230, 40, 20}));
    EXPECT_GT(std::count(log.begin(), log.end(), "Resizing"), 0);
}

TEST_F(WindowTest, InstallEventHandlerRejectsUnknownEventsAndWrongShapes) {
    auto* window = Sized(400, 300);
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

    EXPECT_NO_THROW(button.InstallEventHandler("Open", plain));
    field.InstallEventHandler("MouseDown", mouse);
    EXPECT_TRUE(field.HasEventHandler("MouseDown"));
}

}  // namespace
