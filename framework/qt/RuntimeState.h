#pragma once

// The framework's process-wide state; private to the framework.

#include "framework/ui/Application.h"
#include "framework/ui/Dialogs.h"
#include "framework/ui/RectControl.h"
#include "framework/ui/Runtime.h"
#include "framework/ui/Window.h"

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QApplication;

namespace fw {

using ControlFactory = std::function<std::unique_ptr<RectControl>(Window&)>;

struct RuntimeState {
    std::unique_ptr<QApplication> qt;
    std::shared_ptr<Application> app;
    std::unique_ptr<Dialogs> dialogs;
    std::map<std::string, ControlFactory, std::less<>> controlClasses;
    std::map<std::string, WindowFactory, std::less<>> programClasses;
    // Every open window, and the same windows from the front backwards.
    std::vector<std::unique_ptr<Window>> windows;
    std::vector<Window*> frontToBack;
    std::map<std::string, Window*, std::less<>> implicitInstances;
    std::function<void(std::string_view)> trace;
    std::exception_ptr escaped;
    bool running = false;
    bool quitting = false;
    bool reportedException = false;
};

RuntimeState& State();

// Runs a handler of the program; an exception it lets out ends the event loop
// and is thrown again by RuntimeRun, so that it never crosses the toolkit.
void Guarded(const std::function<void()>& handler);

// Window bookkeeping for the window classes. A forgotten window is destroyed
// once control is back in the event loop that was running when it closed, so
// that its own handler, and any dialog that handler opens, finish first.
void BringToFront(Window& window);
void Forget(Window& window);
// Destroys the forgotten windows now, outside any of their handlers.
void DestroyForgottenWindows();

}  // namespace fw
