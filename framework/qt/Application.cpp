#include "framework/ui/Application.h"

#include "framework/menus/MenuItem.h"

namespace fw {

Application::~Application() = default;

void Application::MenuBar(std::shared_ptr<fw::MenuBar> bar) { menuBar_ = std::move(bar); }

}  // namespace fw
