#pragma once

#include "framework/ui/RectControl.h"
#include "framework/ui/Window.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace widgettests {

// A window for framework tests whose set-up and enabling events run the steps the test gives it.
class ScriptedWindow : public fw::Window {
public:
    using Step = std::function<void(ScriptedWindow&)>;
    struct Script {
        Step layout{}, createControls{}, enableMenuItems{};
    };

    ScriptedWindow() : script_(std::exchange(Pending(), Script{})) {}

    // Makes, registers and builds a window that follows the script.
    static ScriptedWindow* Make(Script script) {
        Pending() = std::move(script);
        return fw::MakeWindow<ScriptedWindow>();
    }

    std::string ClassName() const override { return "Tests.ScriptedWindow"; }
    void Layout() override { Run(script_.layout); }
    void CreateControls() override { Run(script_.createControls); }
    void Event_EnableMenuItems() override { Run(script_.enableMenuItems); }

    // Creates a control of the registered class, places it and registers it under the name.
    template <class T>
    T& Add(std::string_view className, const std::string& name, int left, int top, int width, int height) {
        auto made = New(className);
        auto& typed = dynamic_cast<T&>(*made);  // throws when the class is not of the expected type
        made->Left(left), made->Top(top), made->Width(width), made->Height(height);
        AddControl(name, std::move(made));
        return typed;
    }

private:
    static Script& Pending() {
        static Script pending;
        return pending;
    }
    void Run(const Step& step) {
        if (step) step(*this);
    }

    Script script_;
};

}  // namespace widgettests
