#include "tests/support/ApplicationTest.h"
#include "editor/PlumoraLayout.h"
#include "shell/App.h"

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
    for (const auto& binding : PlumoraMenuBindings())
        EXPECT_NE(MenuBar1()->Lookup(binding.item), nullptr) << binding.item;
    for (const auto& binding : kAppMenuBindings) EXPECT_NE(MenuBar1()->Lookup(binding.item), nullptr) << binding.item;
}

}  // namespace
