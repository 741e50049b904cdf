#pragma once

#include "framework/ui/RectControl.h"
#include "framework/ui/Window.h"
#include "framework/qt/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace widgettests {

// A window for framework tests: each set-up event runs the step the test
// gives it, and every event it raises is written to the test's log.
class ScriptedWindow : public fw::Window {
public:
    using Step = std::function<void(ScriptedWindow&)>;
    struct Script {
        Step layout{}, createControls{}, addMenuHandlers{}, open{}, enableMenuItems{}, resizing{};
        std::string className = "Tests.ScriptedWindow";
        std::vector<std::string>* log = nullptr;
        bool* destroyed = nullptr;
    };

    ScriptedWindow() : script_(std::exchange(Pending(), Script{})) {}
    ~ScriptedWindow() override {
        if (script_.destroyed) *script_.destroyed = true;
    }

    // Makes, registers and builds a window that follows the script.
    static ScriptedWindow* Make(Script script, bool implicitInstance = false) {
        Pending() = std::move(script);
        return fw::MakeWindow<ScriptedWindow>(implicitInstance);
    }

    std::string ClassName() const override { return script_.className; }

    void Layout() override { Run("Layout", script_.layout); }
    void CreateControls() override { Run("CreateControls", script_.createControls); }
    void AddMenuHandlers(fw::Window&) override { Run("AddMenuHandlers", script_.addMenuHandlers); }
    void Event_Open() override { Run("Open", script_.open); }
    void Event_EnableMenuItems() override { Run("EnableMenuItems", script_.enableMenuItems); }
    void Event_Resizing() override { Run("Resizing", script_.resizing); }

    void Log(const std::string& entry) {
        if (script_.log) script_.log->push_back(entry);
    }

    // Creates a control of the registered class, places it and registers it
    // under the name.
    template <class T>
    T& Add(std::string_view className, const std::string& name, int left, int top, int width, int height) {
        auto made = New(className);
        auto* typed = dynamic_cast<T*>(made.get());
        if (!typed) throw std::logic_error("control class " + std::string(className) + " is not of the expected type");
        made->Left(left);
        made->Top(top);
        made->Width(width);
        made->Height(height);
        AddControl(name, std::move(made));
        return *typed;
    }

private:
    static Script& Pending() {
        static Script pending;
        return pending;
    }

    void Run(const char* event, const Step& step) {
        Log(event);
        if (step) step(*this);
    }

    Script script_;
};

}  // namespace widgettests
