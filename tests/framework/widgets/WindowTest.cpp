#include "ScriptedWindow.h"

#include "framework/Application.h"
#include "framework/EditField.h"
#include "framework/Exceptions.h"
#include "framework/FolderItem.h"
#include "framework/MenuItem.h"
#include "framework/Picture.h"
#include "framework/PushButton.h"
#include "framework/Rectangle.h"
#include "framework/Runtime.h"
#include "framework/testing/ScriptedDialogs.h"
#include "framework/testing/TestDriver.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using widgettests::Hex;
using widgettests::PixelAt;
using widgettests::ScriptedWindow;
namespace drive = fw::testing;

// Every window gets a menu bar with a menu in it, so that the content area
// really sits below a bar of some height.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive::InstallScriptedDialogs();
        auto bar = std::make_shared<fw::MenuBar>();
        auto file = std::make_shared<fw::MenuItem>("&File");
        file->Name("FileMenu");
        auto close = std::make_shared<fw::MenuItem>("Close");
        close->Name("FileClose");
        file->Append(close);
        bar->Append(file);
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
};

// ---- Construction ----------------------------------------------------------

TEST_F(WindowTest, ConstructorRaisesSetUpEventsOnceEachInOrder) {
    std::vector<std::string> log;
    bool firstSawSecond = false;
    ScriptedWindow::Script script;
    script.log = &log;
    script.createControls = [&](ScriptedWindow& w) {
        auto& first = w.Add<fw::EditField>("EditField", "First", 10, 10, 100, 22);
        w.Add<fw::EditField>("EditField", "Second", 10, 40, 100, 22);
        auto* self = &w;
        first.InstallEventHandler("Open", fw::PlainHandler([&log, self, &firstSawSecond] {
            log.push_back("Open First");
            firstSawSecond = self->ControlByName("Second") != nullptr;
        }));
        w.ControlByName("Second")->InstallEventHandler("Open", fw::PlainHandler([&log] { log.push_back("Open Second"); }));
    };
    ScriptedWindow::Make(script);
    drive::ProcessEvents();

    EXPECT_EQ(log, (std::vector<std::string>{"Layout", "CreateControls", "AddMenuHandlers", "Open First", "Open Second", "Open"}));
    EXPECT_TRUE(firstSawSecond) << "a control's Open ran before every control of the window existed";
}

TEST_F(WindowTest, VisibleWindowIsShownOnlyOnceConstructed) {
    std::optional<bool> shownDuringOpen;
    ScriptedWindow::Script script;
    script.open = [&](ScriptedWindow& w) { shownDuringOpen = drive::IsShown(static_cast<fw::Window&>(w)); };
    auto* window = Sized(300, 200, true, script);

    ASSERT_TRUE(shownDuringOpen.has_value());
    EXPECT_FALSE(*shownDuringOpen) << "the window was on screen before its Open event had run";
    EXPECT_TRUE(drive::IsShown(*static_cast<fw::Window*>(window)));
}

TEST_F(WindowTest, InvisibleWindowStaysHiddenUntilShown) {
    auto* window = Sized(300, 200, false);
    drive::ProcessEvents();
    EXPECT_FALSE(drive::IsShown(*static_cast<fw::Window*>(window)));
    EXPECT_EQ(fw::WindowCount(), 1) << "a hidden window is still an open window";

    window->Show();
    EXPECT_TRUE(drive::IsShown(*static_cast<fw::Window*>(window)));
    EXPECT_TRUE(window->Visible());
}

TEST_F(WindowTest, ExceptionInConstructorClosesTheWindowAndPropagates) {
    bool destroyed = false;
    ScriptedWindow::Script script;
    script.className = "Tests.Failing";
    script.destroyed = &destroyed;
    script.layout = [](ScriptedWindow& w) { w.Visible(true); };
    script.open = [](ScriptedWindow&) { throw std::runtime_error("open failed"); };

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
}

TEST_F(WindowTest, ExceptionWhileCreatingControlsSkipsTheLaterEvents) {
    std::vector<std::string> log;
    ScriptedWindow::Script script;
    script.log = &log;
    script.createControls = [](ScriptedWindow&) { throw fw::NilObjectException("no control"); };
    EXPECT_THROW(ScriptedWindow::Make(script), fw::NilObjectException);
    EXPECT_EQ(log, (std::vector<std::string>{"Layout", "CreateControls"}));
    EXPECT_EQ(fw::WindowCount(), 0);
}

// ---- Size and limits -------------------------------------------------------

TEST_F(WindowTest, WidthAndHeightAreTheContentAreaBelowTheMenuBar) {
    auto* window = Sized(672, 384);
    drive::ProcessEvents();
    const auto shown = drive::ShownContentSize(*window);
    EXPECT_EQ(shown.width, 672);
    EXPECT_EQ(shown.height, 384);
    EXPECT_EQ(window->Width(), 672);
    EXPECT_EQ(window->Height(), 384);

    // Changing the size of a window already on screen does the same.
    window->Width(500);
    window->Height(250);
    drive::ProcessEvents();
    EXPECT_EQ(drive::ShownContentSize(*window).width, 500);
    EXPECT_EQ(drive::ShownContentSize(*window).height, 250);
}

TEST_F(WindowTest, ShowingTheWindowDoesNotMoveControlsLockedToTheEdges) {
    ScriptedWindow::Script script;
    script.createControls = [](ScriptedWindow& w) {
        auto& corner = w.Add<fw::Rectangle>("Rectangle", "Corner", 600, 350, 50, 20);
        corner.LockRight(true);
        corner.LockBottom(true);
    };
    auto* window = Sized(672, 384, true, script);
    drive::ProcessEvents();
    auto* corner = window->ControlByName("Corner");
    EXPECT_EQ(corner->Left(), 600);
    EXPECT_EQ(corner->Top(), 350);
}

TEST_F(WindowTest, ProgramResizesAWindowThatTheUserMayNotResize) {
    auto* window = Sized(400, 300, true, {.layout = [](ScriptedWindow& w) { w.Resizeable(false); }});
    drive::ProcessEvents();
    window->Width(520);
    window->Height(330);
    drive::ProcessEvents();
    EXPECT_EQ(window->Width(), 520);
    EXPECT_EQ(drive::ShownContentSize(*window).width, 520);
    EXPECT_EQ(drive::ShownContentSize(*window).height, 330);

    // The user still cannot change it.
    drive::ResizeContent(*window, 700, 500);
    EXPECT_EQ(drive::ShownContentSize(*window).width, 520);
    EXPECT_EQ(drive::ShownContentSize(*window).height, 330);
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
    window->Width(1000);
    EXPECT_EQ(window->Width(), 400);
    window->Height(10);
    EXPECT_EQ(window->Height(), 100);
    window->Height(5000);
    EXPECT_EQ(window->Height(), 300);
    drive::ProcessEvents();
    EXPECT_EQ(drive::ShownContentSize(*window).width, 400);
    EXPECT_EQ(drive::ShownContentSize(*window).height, 300);

    // The user meets the same limits.
    drive::ResizeContent(*window, 900, 900);
    EXPECT_EQ(drive::ShownContentSize(*window).width, 400);
    EXPECT_EQ(drive::ShownContentSize(*window).height, 300);
    drive::ResizeContent(*window, 20, 20);
    EXPECT_EQ(drive::ShownContentSize(*window).width, 200);
    EXPECT_EQ(drive::ShownContentSize(*window).height, 100);
    EXPECT_EQ(window->Width(), 200);
    EXPECT_EQ(window->Height(), 100);
}

// ---- Closing ---------------------------------------------------------------

TEST_F(WindowTest, WithoutCloseButtonTheDesktopCannotCloseTheWindow) {
    auto* window = Sized(300, 200, true, {.layout = [](ScriptedWindow& w) { w.CloseButton(false); }});
    EXPECT_FALSE(drive::CloseLikeUser(*window));
    EXPECT_TRUE(window->IsOpen());
    EXPECT_TRUE(drive::IsShown(*static_cast<fw::Window*>(window)));
    EXPECT_EQ(fw::WindowCount(), 1);

    window->Close();
    EXPECT_FALSE(window->IsOpen());
    EXPECT_EQ(fw::WindowCount(), 0);
}

TEST_F(WindowTest, WithCloseButtonTheDesktopClosesTheWindow) {
    bool destroyed = false;
    auto* window = Sized(300, 200, true, {.destroyed = &destroyed});
    EXPECT_TRUE(drive::CloseLikeUser(*window));
    EXPECT_EQ(fw::WindowCount(), 0);
    EXPECT_TRUE(destroyed);
}

TEST_F(WindowTest, ClosedWindowLivesUntilTheEventThatClosedItHasFinished) {
    bool destroyed = false;
    bool destroyedInsideHandler = true;
    std::string titleAfterClose;
    ScriptedWindow::Script script;
    script.destroyed = &destroyed;
    script.createControls = [&](ScriptedWindow& w) {
        auto& button = w.Add<fw::PushButton>("PushButton", "CloseButton", 10, 10, 100, 30);
        auto* self = &w;
        button.InstallEventHandler("Action", fw::PlainHandler([&, self] {
            self->Close();
            // The handler goes on with its window after closing it.
            self->Title("closing");
            titleAfterClose = self->Title();
            destroyedInsideHandler = destroyed;
            self->ControlByName("CloseButton")->Enabled(false);
        }));
    };
    auto* window = Sized(300, 200, true, script);
    auto* button = window->ControlByName("CloseButton");

    drive::Click(*button);  // processes the waiting events afterwards
    EXPECT_FALSE(destroyedInsideHandler);
    EXPECT_EQ(titleAfterClose, "closing");
    EXPECT_TRUE(destroyed) << "the closed window was never released";
    EXPECT_EQ(fw::WindowCount(), 0);
}

TEST_F(WindowTest, CloseReleasesTheWindowOnlyWhenEventsAreProcessed) {
    bool destroyed = false;
    auto* window = Sized(300, 200, true, {.destroyed = &destroyed});
    window->Close();
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(fw::WindowAt(0), nullptr);
    window->Close();  // a second close does nothing
    drive::ProcessEvents();
    EXPECT_TRUE(destroyed);
}

// ---- Window list -----------------------------------------------------------

TEST_F(WindowTest, WindowAtListsOpenWindowsFromTheFront) {
    auto* a = Sized(300, 200);
    auto* b = Sized(300, 200);
    auto* c = Sized(300, 200);
    drive::ProcessEvents();
    ASSERT_EQ(fw::WindowCount(), 3);
    EXPECT_EQ(fw::WindowAt(0), c);
    EXPECT_EQ(fw::WindowAt(1), b);
    EXPECT_EQ(fw::WindowAt(2), a);
    EXPECT_EQ(fw::WindowAt(3), nullptr);
    EXPECT_EQ(fw::WindowAt(-1), nullptr);

    a->Show();
    drive::ProcessEvents();
    EXPECT_EQ(fw::WindowAt(0), a);
    EXPECT_EQ(fw::WindowAt(1), c);
    EXPECT_EQ(fw::WindowAt(2), b);

    c->Close();
    EXPECT_EQ(fw::WindowCount(), 2);
    EXPECT_EQ(fw::WindowAt(0), a);
    EXPECT_EQ(fw::WindowAt(1), b);
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
    drive::ProcessEvents();
    EXPECT_EQ(fw::GetImplicitWindow("Tests.Shared"), nullptr);
}

// ---- Controls --------------------------------------------------------------

TEST_F(WindowTest, ControlsAreFoundByTheirRegisteredName) {
    ScriptedWindow::Script script;
    script.createControls = [](ScriptedWindow& w) {
        w.Add<fw::EditField>("EditField", "Field1", 10, 10, 100, 22);
        w.Add<fw::PushButton>("PushButton", "Button1", 10, 40, 100, 30);
    };
    auto* window = Sized(300, 200, true, script);

    auto* field = window->ControlByName("Field1");
    ASSERT_NE(field, nullptr);
    EXPECT_NE(dynamic_cast<fw::EditField*>(field), nullptr);
    EXPECT_EQ(field->Name(), "Field1");
    EXPECT_EQ(fw::RuntimeWindowControlByName(*window, "Button1"), window->ControlByName("Button1"));
    EXPECT_NE(window->ControlByName("Button1"), nullptr);
    EXPECT_EQ(fw::RuntimeWindowControlByName(*window, "Button2"), nullptr);
    EXPECT_EQ(window->Control<fw::EditField>("Button1"), nullptr);
    EXPECT_EQ(window->ControlCount(), 2);
}

TEST_F(WindowTest, NewWithAnUnknownClassThrows) {
    auto* window = Sized(300, 200);
    try {
        window->New("NoSuchControl");
        FAIL() << "New made a control of an unknown class";
    } catch (const fw::UnknownNameException& error) {
        EXPECT_NE(std::string(error.what()).find("NoSuchControl"), std::string::npos) << error.what();
    }
    EXPECT_NE(dynamic_cast<fw::EditField*>(window->New("EditField").get()), nullptr);
    EXPECT_THROW(window->AddControl("Nothing", nullptr), fw::NilObjectException);
}

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
        auto& leftOnly = w.Add<fw::Rectangle>("Rectangle", "LeftOnly", 100, 70, 40, 20);
        leftOnly.LockLeft(true);
        auto& tall = w.Add<fw::Rectangle>("Rectangle", "Tall", 150, 100, 40, 50);
        tall.LockTop(true);
        tall.LockBottom(true);
        auto& sinker = w.Add<fw::Rectangle>("Rectangle", "Sinker", 200, 170, 40, 20);
        sinker.LockBottom(true);
    };
    auto* window = Sized(300, 200, true, script);
    drive::ProcessEvents();
    const auto resizingBefore = std::count(log.begin(), log.end(), "Resizing");
    EXPECT_EQ(resizingBefore, 0) << "showing the window is no resize by the user";

    drive::ResizeContent(*window, 400, 260);
    ASSERT_EQ(drive::ShownContentSize(*window).width, 400);
    EXPECT_EQ(window->Width(), 400);
    EXPECT_EQ(window->Height(), 260);

    auto* stretch = window->ControlByName("Stretch");
    EXPECT_EQ(stretch->Left(), 10);
    EXPECT_EQ(stretch->Width(), 200);
    auto* mover = window->ControlByName("Mover");
    EXPECT_EQ(mover->Left(), 350);
    EXPECT_EQ(mover->Width(), 40);
    EXPECT_EQ(window->ControlByName("Still")->Left(), 50);
    EXPECT_EQ(window->ControlByName("LeftOnly")->Left(), 100);
    EXPECT_EQ(window->ControlByName("LeftOnly")->Width(), 40);
    EXPECT_EQ(window->ControlByName("Tall")->Top(), 100);
    EXPECT_EQ(window->ControlByName("Tall")->Height(), 110);
    EXPECT_EQ(window->ControlByName("Sinker")->Top(), 230);
    EXPECT_GT(std::count(log.begin(), log.end(), "Resizing"), 0);

    // The moved control is drawn where it now is.
    EXPECT_EQ(Hex(PixelAt(*window, 370, 50)), "#CC0000");
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
    auto shown = [&](const char* name) { return drive::IsShown(*window->ControlByName(name)); };
    EXPECT_TRUE(shown("Inside"));
    EXPECT_FALSE(shown("HiddenInside"));
    EXPECT_TRUE(shown("Deep"));

    window->ControlByName("Box")->Visible(false);
    EXPECT_FALSE(shown("Box"));
    EXPECT_FALSE(shown("Inside"));
    EXPECT_FALSE(shown("Inner"));
    EXPECT_FALSE(shown("Deep")) << "a control inside a hidden container's container stayed on screen";
    EXPECT_TRUE(shown("Outside"));
    EXPECT_TRUE(window->ControlByName("Inside")->Visible()) << "the control's own flag is its own";

    window->ControlByName("Box")->Visible(true);
    EXPECT_TRUE(shown("Inside"));
    EXPECT_FALSE(shown("HiddenInside"));
    EXPECT_TRUE(shown("Inner"));
    EXPECT_TRUE(shown("Deep"));
}

// ---- Painting --------------------------------------------------------------

TEST_F(WindowTest, BackColorIsPaintedOnlyWhenAsked) {
    auto* window = Sized(200, 120, true, {.layout = [](ScriptedWindow& w) {
                                              w.BackColor(fw::Color::FromRGB(0x336699));
                                              w.HasBackColor(true);
                                          }});
    drive::ProcessEvents();
    EXPECT_EQ(Hex(PixelAt(*window, 5, 5)), "#336699");
    EXPECT_EQ(Hex(PixelAt(*window, 199, 119)), "#336699");

    window->HasBackColor(false);
    EXPECT_NE(Hex(PixelAt(*window, 5, 5)), "#336699");
    window->HasBackColor(true);
    window->BackColor(fw::Color::FromRGB(0x10E020));
    EXPECT_EQ(Hex(PixelAt(*window, 100, 60)), "#10E020");
}

TEST_F(WindowTest, BackdropIsDrawnAtTheTopLeftOverTheBackColor) {
    const std::string path = ::testing::TempDir() + "window-backdrop.png";
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(QColor(0xAA, 0x11, 0x22));
    ASSERT_TRUE(image.save(QString::fromStdString(path), "PNG"));
    auto picture = fw::FolderItem(path).OpenAsPicture();
    ASSERT_NE(picture, nullptr);

    auto* window = Sized(200, 120, true, {.layout = [](ScriptedWindow& w) {
                                              w.BackColor(fw::Color::FromRGB(0x00FF00));
                                              w.HasBackColor(true);
                                          }});
    window->Backdrop(picture);
    EXPECT_EQ(window->Backdrop(), picture);
    EXPECT_EQ(Hex(PixelAt(*window, 0, 0)), "#AA1122");
    EXPECT_EQ(Hex(PixelAt(*window, 19, 9)), "#AA1122");
    EXPECT_EQ(Hex(PixelAt(*window, 20, 9)), "#00FF00");
    EXPECT_EQ(Hex(PixelAt(*window, 5, 10)), "#00FF00");

    window->Backdrop(nullptr);
    EXPECT_EQ(Hex(PixelAt(*window, 0, 0)), "#00FF00");
}

}  // namespace
