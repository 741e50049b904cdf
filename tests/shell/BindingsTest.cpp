#include "tests/support/ApplicationTest.h"
#include "editor/PlumoraLayout.h"
#include "shell/App.h"

#include "framework/model/Exceptions.h"
#include "framework/ui/WindowBuilder.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

namespace {

using BindingsTest = ApplicationTest;

// Every binding of every table resolves in a built window and in the menu bar.
TEST_F(BindingsTest, EveryBindingNamesAControlAnEventAndAMenuItemThatExist) {
    auto* window = NewWindow();
    for (const auto& binding : PlumoraEventBindings()) {
        auto* control = window->ControlByName(binding.control);
        ASSERT_NE(control, nullptr) << binding.control;
        EXPECT_TRUE(control->HasEventHandler(binding.event)) << binding.control << "." << binding.event;
    }
    std::vector<std::string_view> items;
    for (const auto& binding : PlumoraMenuBindings()) items.push_back(binding.item);
    for (const auto& binding : kAppMenuBindings) items.push_back(binding.item);
    for (const auto item : items) EXPECT_NE(MenuBar1()->Lookup(item), nullptr) << item;
}

// A window of one canvas whose event bindings come from the test.
class OneCanvasWindow : public fw::Window {
public:
    static inline std::span<const fw::EventBinding<OneCanvasWindow>> bindings;
    void CreateControls() override {
        static const fw::ControlDesign controls[]{{{"Canvas1", "Canvas", 0, 0, 10, 10, "", 0, {}}}};
        fw::BuildControls(*this, controls, bindings);
    }
    bool Canvas1_MouseDown(int, int) { return false; }
};

TEST_F(BindingsTest, BuildingRefusesABindingToAMissingControlOrEvent) {
    const fw::EventBinding<OneCanvasWindow> good[]{{"Canvas1", "MouseDown", &OneCanvasWindow::Canvas1_MouseDown}};
    const fw::EventBinding<OneCanvasWindow> noControl[]{{"Canvas2", "MouseDown", &OneCanvasWindow::Canvas1_MouseDown}};
    const fw::EventBinding<OneCanvasWindow> noEvent[]{{"Canvas1", "TextChange", &OneCanvasWindow::Canvas1_MouseDown}};
    OneCanvasWindow::bindings = good;
    EXPECT_TRUE(fw::MakeWindow<OneCanvasWindow>()->ControlByName("Canvas1")->HasEventHandler("MouseDown"));
    for (const auto bad : {std::span<const fw::EventBinding<OneCanvasWindow>>(noControl),
                           std::span<const fw::EventBinding<OneCanvasWindow>>(noEvent)}) {
        OneCanvasWindow::bindings = bad;
        EXPECT_THROW(fw::MakeWindow<OneCanvasWindow>(), fw::UnknownNameException) << bad.front().control;
    }
}

}  // namespace
