#include "framework/qt/KeyboardOrder.h"

#include "framework/qt/WindowFrame.h"
#include "framework/ui/EditField.h"

#include <algorithm>
#include <set>
#include <string_view>

namespace fw {

namespace {

bool OnWindowItself(const Window& window, const RectControl& control) {
    return control.InitialParent().empty() || !window.ControlByName(control.InitialParent());
}

// Appends the controls that the parent holds (the window's own for no
// parent), each followed by its own; a control is taken once, which also
// ends a circle of containers that name each other.
void AppendHeldBy(const Window& window, const RectControl* parent, std::vector<RectControl*>& order,
                  std::set<const RectControl*>& taken) {
    std::vector<RectControl*> held;
    for (int i = 0; i < window.ControlCount(); ++i) {
        auto& control = window.ControlAt(i);
        const bool inside =
            parent ? control.InitialParent() == parent->Name() && &control != parent : OnWindowItself(window, control);
        if (inside && !taken.contains(&control)) held.push_back(&control);
    }
    std::stable_sort(held.begin(), held.end(), [](const RectControl* a, const RectControl* b) {
        return std::pair(a->TabPanelIndex(), a->TabIndex()) < std::pair(b->TabPanelIndex(), b->TabIndex());
    });
    for (auto* control : held) {
        if (!taken.insert(control).second) continue;
        order.push_back(control);
        AppendHeldBy(window, control, order, taken);
    }
}

}  // namespace

std::vector<RectControl*> KeyboardOrder(const Window& window) {
    std::vector<RectControl*> order;
    std::set<const RectControl*> taken;
    AppendHeldBy(window, nullptr, order, taken);
    return order;
}

void ApplyKeyboardOrder(const Window& window) {
    QWidget* previous = nullptr;
    for (auto* control : KeyboardOrder(window)) {
        auto* view = ViewOf(*control);
        if (view->focusPolicy() == Qt::NoFocus) continue;
        if (previous) QWidget::setTabOrder(previous, view);
        previous = view;
    }
}

bool FocusFirstField(const Window& window, const RectControl* container) {
    std::vector<RectControl*> order;
    std::set<const RectControl*> taken;
    AppendHeldBy(window, container, order, taken);
    for (auto* control : order) {
        auto* view = ViewOf(*control);
        if (dynamic_cast<EditField*>(control) && view->isVisibleTo(ContentOf(window)) && view->isEnabled() &&
            view->focusPolicy() != Qt::NoFocus) {
            view->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return false;
}

}  // namespace fw
