#include "framework/menus/MenuItem.h"

#include <utility>

namespace fw {

namespace {

std::function<void()>& QuitAction() {
    static std::function<void()> quit;
    return quit;
}

std::shared_ptr<MenuItem> Find(const MenuItem& parent, std::string_view name) {
    for (int i = 0; i < parent.Count(); ++i) {
        const auto& item = parent.Item(i);
        if (item->Name() == name) return item;
        if (auto below = Find(*item, name)) return below;
    }
    return nullptr;
}

}  // namespace

std::shared_ptr<MenuItem> MenuItem::Child(std::string_view name) const {
    for (const auto& child : children_)
        if (child->Name() == name) return child;
    return nullptr;
}

void QuitMenuItem::DefaultAction() {
    if (QuitAction()) QuitAction()();
}

void QuitMenuItem::SetQuitAction(std::function<void()> quit) { QuitAction() = std::move(quit); }

std::shared_ptr<MenuItem> MenuBar::Lookup(std::string_view name) const { return Find(*this, name); }

}  // namespace fw
