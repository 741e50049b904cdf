#include "ScriptedWindow.h"

#include "framework/ui/Application.h"
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

using widgettests::ExpectColours;
using widgettests::Hex;
using widgettests::PixelAt;
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

// ---- Construction ----------------------------------------------------------

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

TEST_F(WindowTest, WindowIsShownOnlyOnceConstructedAndOnlyWhenVisible) {
    std::optional<bool> shownDuringOpen;
    auto* window = Sized(300, 200, true, {.open = [&](ScriptedWindow& w) { shownDuringOpen = IsShown(&w); }});
    EXPECT_EQ(shownDuringOpen, false) << "the window was on screen before its Open event had run";
    EXPECT_TRUE(IsShown(window));

    auto* hidden = Sized(300, 200, false);
    drive::ProcessEvents();
    EXPECT_FALSE(IsShown(hidden));
    EXPECT_EQ(fw::WindowCount(), 2) << "a hidden window is still an open window";
    hidden->Show();
    EXPECT_TRUE(IsShown(hidden));
    EXPECT_TRUE(hidden->Visible());
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

// ---- Size and limits -------------------------------------------------------

TEST_F(WindowTest, WidthAndHeightAreTheContentAreaBelowTheMenuBar) {
    auto* window = Sized(672, 384);
    EXPECT_EQ(Shown(*window), Size(672, 384));
    EXPECT_EQ(window->Width(), 672);
    EXPECT_EQ(window->Height(), 384);

    // Changing the size of a window already on screen does the same.
    window->Width(500);
    window->Height(250);
    EXPECT_EQ(Shown(*window), Size(500, 250));
}

TEST_F(WindowTest, ProgramResizesAWindowThatTheUserMayNotResize) {
    auto* window = Sized(400, 300, true, {.layout = [](ScriptedWindow& w) { w.Resizeable(false); }});
    drive::ProcessEvents();
    window->Width(520);
    window->Height(330);
    EXPECT_EQ(Shown(*window), Size(520, 330));
    drive::ResizeContent(*window, 700, 500);
    EXPECT_EQ(Shown(*window), Size(520, 330)) << "the user resized a window that may not be resized";
}

TEST_F(WindowTest, SizeIsKeptWithinTheMinimumAndMaximum) {
    auto* window = Sized(300, 200, true, {.layout = [](ScriptedWindow& w) {
                                              w.MinWidth(200);
                                              w.MaxWidth(400);
                                              w.MinHeight(100);
                                              w.MaxHeight(300);
                                          }});
    window->Width(50);
    EXPECT_EQ(window->Width(), 200);
    window->Height(10);
    EXPECT_EQ(window->Height(), 100);
    window->Width(1000);
    window->Height(5000);
    EXPECT_EQ(Size(window->Width(), window->Height()), Size(400, 300));
    EXPECT_EQ(Shown(*window), Size(400, 300));

    // The user meets the same limits.
    drive::ResizeContent(*window, 900, 900);
    EXPECT_EQ(Shown(*window), Size(400, 300));
    drive::ResizeContent(*window, 20, 20);
    EXPECT_EQ(Shown(*window), Size(200, 100));
    EXPECT_EQ(Size(window->Width(), window->Height()), Size(200, 100));
}

// ---- Closing ---------------------------------------------------------------

TEST_F(WindowTest, TheDesktopClosesTheWindowOnlyWithACloseButton) {
    auto* fixed = Sized(300, 200, true, {.layout = [](ScriptedWindow& w) { w.CloseButton(false); }});
    EXPECT_FALSE(drive::CloseLikeUser(*fixed));
    EXPECT_TRUE(fixed->IsOpen());
    EXPECT_TRUE(IsShown(fixed));
    fixed->Close();
    EXPECT_FALSE(fixed->IsOpen());
    EXPECT_EQ(fw::WindowCount(), 0);

    bool destroyed = false;
    auto* window = Sized(300, 200, true, {.destroyed = &destroyed});
    EXPECT_TRUE(drive::CloseLikeUser(*window));
    EXPECT_EQ(fw::WindowCount(), 0);
    EXPECT_TRUE(destroyed);
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

// ---- Window list -----------------------------------------------------------

TEST_F(WindowTest, WindowAtListsOpenWindowsFromTheFront) {
    auto* a = Sized(300, 200);
    auto* b = Sized(300, 200);
    auto* c = Sized(300, 200);
    drive::ProcessEvents();
    const auto list = [] {
        std::vector<fw::Window*> windows;
        for (int i = -1; i <= fw::WindowCount(); ++i) windows.push_back(fw::WindowAt(i));
        return windows;
    };
    EXPECT_EQ(list(), (std::vector<fw::Window*>{nullptr, c, b, a, nullptr}));
    a->Show();
    drive::ProcessEvents();
    EXPECT_EQ(list(), (std::vector<fw::Window*>{nullptr, a, c, b, nullptr}));
    c->Close();
    EXPECT_EQ(list(), (std::vector<fw::Window*>{nullptr, a, b, nullptr}));
}

TEST_F(WindowTest, SharedInstanceIsFoundUntilItCloses) {
    auto* shared = ScriptedWindow::Make({.className = "Tests.Shared"}, true);
    auto* other = ScriptedWindow::Make({.className = "Tests.Shared"});
    EXPECT_EQ(fw::GetImplicitWindow("Tests.Shared"), shared);
    EXPECT_EQ(fw::GetImplicitWindow("Tests.Other"), nullptr);

    other->Close();
    EXPECT_EQ(fw::GetImplicitWindow("Tests.Shared"), shared);
    shared->Close();
    EXPECT_EQ(fw::GetImplicitWindow("Tests.Shared"), nullptr);
}

// ---- Controls --------------------------------------------------------------

TEST_F(WindowTest, ControlsAreFoundByTheirRegisteredNameAndMadeByTheirClassName) {
    auto* window = Sized(300, 200, true, {.createControls = [](ScriptedWindow& w) {
                                              w.Add<fw::EditField>("EditField", "Field1", 10, 10, 100, 22);
                                              w.Add<fw::PushButton>("PushButton", "Button1", 10, 40, 100, 30);
                                          }});
    ASSERT_NE(window->Control<fw::EditField>("Field1"), nullptr);
    EXPECT_EQ(window->ControlByName("Field1")->Name(), "Field1");
    EXPECT_NE(window->ControlByName("Button1"), nullptr);
    EXPECT_EQ(fw::RuntimeWindowControlByName(*window, "Button1"), window->ControlByName("Button1"));
    EXPECT_EQ(fw::RuntimeWindowControlByName(*window, "Button2"), nullptr);
    EXPECT_EQ(window->Control<fw::EditField>("Button1"), nullptr);
    EXPECT_EQ(window->ControlCount(), 2);

    try {
        window->New("NoSuchControl");
        FAIL() << "New made a control of an unknown class";
    } catch (const fw::UnknownNameException& error) {
        EXPECT_NE(std::string(error.what()).find("NoSuchControl"), std::string::npos) << error.what();
    }
    EXPECT_NE(dynamic_cast<fw::EditField*>(window->New("EditField").get()), nullptr);
    EXPECT_THROW(window->AddControl("Nothing", nullptr), fw::NilObjectException);
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
        mover.FillColor(fw::Color::FromRGB(0xCC0000));
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

    // The moved control is drawn where it now is.
    ExpectColours(*window, {{370, 50, "#CC0000"}});
    EXPECT_NE(Hex(PixelAt(*window, 270, 50)), "#CC0000");
}

TEST_F(WindowTest, ContainerHidesAndShowsTheControlsInside) {
    ScriptedWindow::Script script;
    script.createControls = [](ScriptedWindow& w) {
        w.Add<fw::Rectangle>("Rectangle", "Box", 10, 10, 200, 150);
        w.Add<fw::EditField>("EditField", "Inside", 20, 20, 100, 22).InitialParent("Box");
        auto& hidden = w.Add<fw::EditField>("EditField", "HiddenInside", 20, 50, 100, 22);
        hidden.InitialParent("Box");
        hidden.Visible(false);
        w.Add<fw::Rectangle>("Rectangle", "Inner", 20, 80, 150, 60).InitialParent("Box");
        w.Add<fw::EditField>("EditField", "Deep", 30, 90, 100, 22).InitialParent("Inner");
        w.Add<fw::EditField>("EditField", "Outside", 220, 20, 70, 22);
    };
    auto* window = Sized(300, 200, true, script);
    const auto shown = [&] {
        std::string flags;
        for (const char* name : {"Box", "Inside", "HiddenInside", "Inner", "Deep", "Outside"})
            flags += drive::IsShown(*window->ControlByName(name)) ? '1' : '0';
        return flags;
    };
    EXPECT_EQ(shown(), "110111");
    window->ControlByName("Box")->Visible(false);
    EXPECT_EQ(shown(), "000001") << "a control inside a hidden container stayed on screen";
    EXPECT_TRUE(window->ControlByName("Inside")->Visible()) << "the control's own flag is its own";
    window->ControlByName("Box")->Visible(true);
    EXPECT_EQ(shown(), "110111");
}

// ---- Painting --------------------------------------------------------------

TEST_F(WindowTest, BackColorIsPaintedOnlyWhenAsked) {
    auto* window = Sized(200, 120, true, {.layout = [](ScriptedWindow& w) {
                                              w.BackColor(fw::Color::FromRGB(0x336699));
                                              w.HasBackColor(true);
                                          }});
    ExpectColours(*window, {{5, 5, "#336699"}, {199, 119, "#336699"}});

    window->HasBackColor(false);
    EXPECT_NE(Hex(PixelAt(*window, 5, 5)), "#336699");
    window->HasBackColor(true);
    window->BackColor(fw::Color::FromRGB(0x10E020));
    ExpectColours(*window, {{100, 60, "#10E020"}});
}

TEST_F(WindowTest, BackdropIsDrawnAtTheTopLeftOverTheBackColor) {
    auto picture = widgettests::SolidPicture("window-backdrop.png", 20, 10, QColor(0xAA, 0x11, 0x22));
    ASSERT_NE(picture, nullptr);
    auto* window = Sized(200, 120, true, {.layout = [](ScriptedWindow& w) {
                                              w.BackColor(fw::Color::FromRGB(0x00FF00));
                                              w.HasBackColor(true);
                                          }});
    window->Backdrop(picture);
    ExpectColours(*window, {{0, 0, "#AA1122"}, {19, 9, "#AA1122"}, {20, 9, "#00FF00"}, {5, 10, "#00FF00"}});
    window->Backdrop(nullptr);
    ExpectColours(*window, {{0, 0, "#00FF00"}});
}

}  // namespace
