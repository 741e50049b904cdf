#pragma once

#include "framework/ui/FolderItem.h"
#include "framework/ui/Picture.h"
#include "framework/ui/RectControl.h"
#include "framework/ui/Window.h"
#include "framework/qt/testing/TestDriver.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
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

// A picture of one colour, read from a file written for it.
inline std::shared_ptr<fw::Picture> SolidPicture(const std::string& name, int width, int height, QColor colour) {
    const std::string path = ::testing::TempDir() + name;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(QString::fromStdString(path), "PNG")) return nullptr;
    return fw::FolderItem(path).OpenAsPicture();
}

// The colour the window shows at a point of its content area.
inline std::optional<fw::Color> PixelAt(fw::Window& window, int x, int y) {
    const std::string path = ::testing::TempDir() + "widget-test-grab.png";
    if (!fw::testing::Grab(window, path)) return std::nullopt;
    return fw::testing::PixelOf(path, x, y);
}

// Prints colours as #RRGGBB in failure messages.
inline std::string Hex(std::optional<fw::Color> color) {
    if (!color) return "none";
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", color->ToRGB());
    return text;
}

// Expects the window to show each colour, as #RRGGBB, at its point (x, y) of the content area.
inline void ExpectColours(fw::Window& window, const std::vector<std::tuple<int, int, std::string>>& points) {
    const std::string path = ::testing::TempDir() + "widget-test-grab.png";
    ASSERT_TRUE(fw::testing::Grab(window, path));
    for (const auto& [x, y, colour] : points) EXPECT_EQ(Hex(fw::testing::PixelOf(path, x, y)), colour) << "at " << x << ", " << y;
}

}  // namespace widgettests
