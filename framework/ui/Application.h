#pragma once

#include "framework/menus/MenuHandlers.h"

#include <memory>

namespace fw {

class MenuBar;

// The application object: the menu bar and the application-wide menu
// handlers, which take a command when the front window does not.
class Application {
public:
    virtual ~Application();

    const std::shared_ptr<fw::MenuBar>& MenuBar() const { return menuBar_; }
    void MenuBar(std::shared_ptr<fw::MenuBar> bar);

    void AddMenuHandler(std::string name, MenuHandlers::Handler handler) {
        handlers_.Add(std::move(name), std::move(handler));
    }
    const MenuHandlers& Handlers() const { return handlers_; }

private:
    std::shared_ptr<fw::MenuBar> menuBar_;
    MenuHandlers handlers_;
};

}  // namespace fw
