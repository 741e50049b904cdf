#include "framework/ui/Runtime.h"
#include "framework/menus/MenuItem.h"

#include "framework/ui/BevelButton.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/EditField.h"
#include "framework/model/Exceptions.h"
#include "framework/ui/FolderItem.h"
#include "framework/qt/MenuRouting.h"
#include "framework/ui/PushButton.h"
#include "framework/ui/Rectangle.h"
#include "framework/qt/RuntimeState.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/TabPanel.h"
#include "framework/qt/QtConvert.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>
#include <iostream>

namespace fw {

RuntimeState& State() {
    static RuntimeState state;
    return state;
}

void SetTraceSink(std::function<void(std::string_view)> sink) { State().trace = std::move(sink); }

void Trace(std::string_view step) {
    if (State().trace) State().trace(step);
}

namespace {

template <class T>
void RegisterControlClass(const char* name) {
    State().controlClasses[name] = [](Window& window) -> std::unique_ptr<RectControl> {
        return std::make_unique<T>(window);
    };
}

// Holds a closed window until Qt's deferred deletion, which waits for
// control to come back to the loop that was running when the window closed:
// a nested loop (a modal dialog, a pop-up menu) does not destroy it.
class ClosedWindow : public QObject {
public:
    explicit ClosedWindow(std::unique_ptr<Window> window) : window_(std::move(window)) {}

private:
    std::unique_ptr<Window> window_;
};

}  // namespace

void Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        auto& state = State();
        if (!state.escaped) state.escaped = std::current_exception();
        if (QCoreApplication::instance()) QCoreApplication::exit(1);
    }
}

void RuntimeInit(int& argc, char** argv) {
    auto& state = State();
    if (!state.qt) {
        state.qt = std::make_unique<QApplication>(argc, argv);
        state.qt->setQuitOnLastWindowClosed(false);
        InstallMenuRouting();
    }
    QuitMenuItem::SetQuitAction(Quit);
    Trace("RuntimeInit");
}

void RuntimeInitExternalClasses() {
    RegisterControlClass<EditField>("EditField");
    RegisterControlClass<StaticText>("StaticText");
    RegisterControlClass<PushButton>("PushButton");
    RegisterControlClass<Canvas>("Canvas");
    RegisterControlClass<Rectangle>("Rectangle");
    RegisterControlClass<TabPanel>("TabPanel");
    Trace("RuntimeInitExternalClasses");
}

void InitPluginEntrypoints() {
    RegisterControlClass<BevelButton>("BevelButton");
    Trace("InitPluginEntrypoints");
}

void RuntimeSetUpClass(std::string_view className, WindowFactory makeWindow) {
    if (State().programClasses.emplace(className, std::move(makeWindow)).second)
        Trace("SetUpClass " + std::string(className));
}

bool RuntimeClassIsSetUp(std::string_view className) { return State().programClasses.contains(className); }

void RuntimeRegisterAppObject(std::shared_ptr<Application> app) {
    State().app = std::move(app);
    Trace("RuntimeRegisterAppObject");
}

Application* GetAppObject() { return State().app.get(); }

void RuntimeRun() {
    auto& state = State();
    Trace("RuntimeRun");
    if (!state.escaped && !state.quitting) {
        state.running = true;
        QApplication::exec();
        state.running = false;
    }
    Trace("RuntimeRun ended");
    if (auto escaped = std::exchange(state.escaped, nullptr)) std::rethrow_exception(escaped);
}

void Quit() {
    auto& state = State();
    state.quitting = true;
    while (!state.windows.empty()) state.windows.front()->Close();
    if (QCoreApplication::instance()) QCoreApplication::exit(0);
}

void UnhandledException(const std::exception& error) {
    auto& state = State();
    state.reportedException = true;
    const auto* ours = dynamic_cast<const RuntimeException*>(&error);
    const std::string message = std::string("An exception of class ") + (ours ? ours->ClassName() : "std::exception") +
        " was not handled: " + error.what() + ". The application must shut down.";
    std::cerr << "Plumora: " << message << std::endl;
    Trace("UnhandledException");
    const auto platform = QGuiApplication::platformName();
    if (state.qt && platform != "offscreen" && platform != "minimal")
        QMessageBox::critical(nullptr, QStringLiteral("Unhandled exception"), ToQt(message));
}

void DestroyForgottenWindows() {
    if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void RuntimeReleaseWindows() {
    auto& state = State();
    state.frontToBack.clear();
    state.implicitInstances.clear();
    state.windows.clear();
    DestroyForgottenWindows();
    Trace("RuntimeReleaseWindows");
}

int RuntimeShutdown() {
    auto& state = State();
    RuntimeReleaseWindows();
    state.app.reset();
    state.dialogs.reset();
    Trace("RuntimeShutdown");
    // The toolkit goes before the process's static clean-up, which it relies on.
    state.qt.reset();
    return state.reportedException ? 1 : 0;
}

int WindowCount() { return static_cast<int>(State().frontToBack.size()); }

Window* WindowAt(int index) {
    const auto& list = State().frontToBack;
    if (index < 0 || index >= static_cast<int>(list.size())) return nullptr;
    return list[static_cast<std::size_t>(index)];
}

Window* GetImplicitWindow(std::string_view className) {
    const auto& instances = State().implicitInstances;
    const auto found = instances.find(className);
    return found == instances.end() ? nullptr : found->second;
}

Window* SharedWindow(std::string_view className) {
    if (auto* open = GetImplicitWindow(className)) return open;
    const auto& classes = State().programClasses;
    const auto found = classes.find(className);
    if (found == classes.end() || !found->second) return nullptr;
    auto* window = detail::Adopt(found->second(), true);
    window->Constructor();
    return window;
}

RectControl* RuntimeWindowControlByName(Window& window, std::string_view name) { return window.ControlByName(name); }

std::shared_ptr<FolderItem> GetApplicationBundleResources() {
    const auto exe = QCoreApplication::applicationFilePath();
    if (exe.isEmpty()) return nullptr;
    auto folder = std::make_shared<FolderItem>(exe.toStdString())->Parent();
    auto top = folder ? folder->Parent() : nullptr;
    return top ? top->Child("Resources") : nullptr;
}

void BringToFront(Window& window) {
    auto& list = State().frontToBack;
    const auto found = std::find(list.begin(), list.end(), &window);
    if (found == list.end() || found == list.begin()) return;
    std::rotate(list.begin(), found, found + 1);
}

void Forget(Window& window) {
    auto& state = State();
    std::erase(state.frontToBack, &window);
    std::erase_if(state.implicitInstances, [&](const auto& entry) { return entry.second == &window; });
    const auto owned =
        std::find_if(state.windows.begin(), state.windows.end(), [&](const auto& w) { return w.get() == &window; });
    if (owned != state.windows.end()) {
        (new ClosedWindow(std::move(*owned)))->deleteLater();
        state.windows.erase(owned);
    }
}

namespace detail {

Window* Adopt(std::unique_ptr<Window> window, bool implicitInstance) {
    auto& state = State();
    auto* raw = window.get();
    state.windows.push_back(std::move(window));
    state.frontToBack.insert(state.frontToBack.begin(), raw);
    if (implicitInstance) state.implicitInstances[raw->ClassName()] = raw;
    return raw;
}

}  // namespace detail

}  // namespace fw
