#include "ScriptedWindow.h"

#include "framework/model/Exceptions.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"
#include "framework/ui/BevelButton.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/EditField.h"
#include "framework/ui/PushButton.h"
#include "framework/ui/Rectangle.h"
#include "framework/ui/Runtime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using widgettests::ScriptedWindow;
namespace drive = fw::testing;

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { drive::InstallScriptedDialogs(); }
    void TearDown() override { drive::ReleaseAllWindows(); }
};

TEST_F(WindowTest, ConstructorRaisesSetUpEventsOnceEachInOrderAndControlsOpenOnceAllExist) {
    std::vector<std::string> log;
    ScriptedWindow::Make({.createControls = [&log](ScriptedWindow& w) {
                              auto& first = w.Add<fw::EditField>("EditField", "First", 10, 10, 100, 22);
                              w.Add<fw::EditField>("EditField", "Second", 10, 40, 100, 22);
                              first.InstallEventHandler("Open", fw::PlainHandler([&log, self = &w] {
                                  log.push_back(self->ControlByName("Second") ? "Open First" : "Open First alone");
                              }));
                          },
                          .log = &log});
    drive::ProcessEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"Layout", "CreateControls", "AddMenuHandlers", "Open First", "Open"}));
}

TEST_F(WindowTest, AnExceptionInTheConstructorClosesTheWindowAndRaisesNoLaterEvent) {
    bool destroyed = false;
    std::vector<std::string> log;
    EXPECT_THROW(ScriptedWindow::Make({.createControls = [](ScriptedWindow&) { throw fw::NilObjectException("none"); },
                                       .className = "Tests.Failing",
                                       .log = &log,
                                       .destroyed = &destroyed},
                                      true),
                 fw::NilObjectException);
    EXPECT_EQ(log, (std::vector<std::string>{"Layout", "CreateControls"}));
    EXPECT_EQ(fw::WindowCount(), 0);
    EXPECT_EQ(fw::GetImplicitWindow("Tests.Failing"), nullptr);
    drive::ProcessEvents();
    EXPECT_TRUE(destroyed);
}

// Showing the window is no resize by the user: locked controls stay where
// they were put until the user drags the frame.
TEST_F(WindowTest, EdgeLocksFollowTheUsersResize) {
    std::vector<std::string> log;
    auto* window = ScriptedWindow::Make({.layout = [](ScriptedWindow& w) { w.Width(300), w.Height(200), w.Visible(true); },
                                         .createControls = [](ScriptedWindow& w) {
                                             const auto add = [&w](const char* name, int l, int t, int wi, int h,
                                                                   bool left, bool top, bool right, bool bottom) {
                                                 auto& r = w.Add<fw::Rectangle>("Rectangle", name, l, t, wi, h);
                                                 r.LockLeft(left), r.LockTop(top), r.LockRight(right), r.LockBottom(bottom);
                                             };
                                             add("Stretch", 10, 10, 100, 20, true, false, true, false);
                                             add("Mover", 250, 40, 40, 20, false, false, true, false);
                                             add("Still", 50, 70, 40, 20, false, false, false, false);
                                             add("Tall", 150, 100, 40, 50, false, true, false, true);
                                             add("Sinker", 200, 170, 40, 20, false, false, false, true);
                                         },
                                         .log = &log});
    const auto frame = [window](const char* name) {
        auto* control = window->ControlByName(name);
        return std::vector<int>{control->Left(), control->Top(), control->Width(), control->Height()};
    };
    drive::ProcessEvents();
    EXPECT_EQ(frame("Mover"), (std::vector<int>{250, 40, 40, 20}));
    EXPECT_EQ(std::count(log.begin(), log.end(), "Resizing"), 0);
    drive::ResizeContent(*window, 400, 260);
    EXPECT_EQ(frame("Stretch"), (std::vector<int>{10, 10, 200, 20}));
    EXPECT_EQ(frame("Mover"), (std::vector<int>{350, 40, 40, 20}));
    EXPECT_EQ(frame("Still"), (std::vector<int>{50, 70, 40, 20}));
    EXPECT_EQ(frame("Tall"), (std::vector<int>{150, 100, 40, 110}));
    EXPECT_EQ(frame("Sinker"), (std::vector<int>{200, 230, 40, 20}));
    EXPECT_GT(std::count(log.begin(), log.end(), "Resizing"), 0);
}

}  // namespace
