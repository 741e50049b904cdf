#include "tests/support/ApplicationTest.h"
#include "editor/PlumoraLayout.h"
#include "shell/App.h"

#include <gtest/gtest.h>

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

}  // namespace
