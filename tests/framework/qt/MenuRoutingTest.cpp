#include "ScriptedWindow.h"

#include "framework/menus/MenuItem.h"
#include "framework/qt/WindowFrame.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"
#include "framework/ui/Application.h"
#include "framework/ui/EditField.h"
#include "framework/ui/Runtime.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using widgettests::ScriptedWindow;
namespace drive = fw::testing;

// A menu item that counts how often its default action ran.
class CountingItem : public fw::MenuItem {
public:
    using MenuItem::MenuItem;
    void DefaultAction() override { ++defaults; }
    int defaults = 0;
};

// Our own small menu bar, installed with an application object of our own
// before any window is made, so that every window shows it.
class MenuRoutingTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive::InstallScriptedDialogs();
        bar = std::make_shared<fw::MenuBar>();
        const char* const rows[][3]{
            {"FileMenu", "FileNew", "Cmd+N"},         {"FileMenu", "FileSave", "Cmd+s"},
            {"FileMenu", "FileSaveCopy", "Cmd+s"},    {"FileMenu", "FileHidden", "Cmd+H"},
            {"FileMenu", "FileManual", "Cmd+M"},      {"EditMenu", "EditSelectAll", "Cmd+A"},
            {"FormatMenu", "FormatPlain", "Shift+P"}, {"FormatMenu", "FormatOne", "Shift+1"},
        };
        for (const auto& [menuName, name, shortcut] : rows) {
            if (!bar->Child(menuName))
                bar->Append(std::make_shared<fw::MenuItem>(menuName)), bar->Item(bar->Count() - 1)->Name(menuName);
            auto item = std::make_shared<CountingItem>(name);
            item->Name(name), item->KeyboardShortcut(shortcut);
            bar->Child(menuName)->Append(item);
        }
        bar->Lookup("FileHidden")->Visible(false);
        bar->Lookup("FileManual")->AutoEnable(false);
        app = std::make_shared<fw::Application>();
        app->MenuBar(bar);
        fw::RuntimeRegisterAppObject(app);
    }
    void TearDown() override {
        drive::ReleaseAllWindows();
        fw::RuntimeRegisterAppObject(nullptr);
    }

    CountingItem& Counting(const std::string& name) { return dynamic_cast<CountingItem&>(*bar->Lookup(name)); }

    // A visible window with a multi-line text field, which then is `field`, or with none.
    ScriptedWindow* MakeWindow(bool withField = true, ScriptedWindow::Script script = {}) {
        script.layout = [](ScriptedWindow& w) { w.Visible(true); };
        if (withField)
            script.createControls = [](ScriptedWindow& w) {
                w.Add<fw::EditField>("EditField", "Field", 10, 10, 300, 200).Multiline(true);
            };
        auto* window = ScriptedWindow::Make(std::move(script));
        if (withField) field = window->Control<fw::EditField>("Field");
        return window;
    }

    // A handler that writes its name to the log and answers as told.
    fw::MenuHandlers::Handler Logging(const std::string& entry, bool result = true) {
        return [this, entry, result] { return log.push_back(entry), result; };
    }

    std::shared_ptr<fw::MenuBar> bar;
    std::shared_ptr<fw::Application> app;
    std::vector<std::string> log;
    fw::EditField* field = nullptr;
};

// A command goes to the front window's handler, then the application's,
// then the item's default, each passing it on by answering false.
TEST_F(MenuRoutingTest, ACommandGoesToTheFrontWindowThenTheApplicationThenTheItemsDefault) {
    bool frontTakes = true, appTakes = true;
    auto* back = MakeWindow(false);
    auto* front = MakeWindow(false);
    back->AddMenuHandler("FileNew", Logging("back"));
    front->AddMenuHandler("FileNew", [&] { return log.push_back("front"), frontTakes; });
    app->AddMenuHandler("FileNew", [&] { return log.push_back("app"), appTakes; });
    ASSERT_TRUE(drive::ChooseMenu("FileNew"));
    frontTakes = false;
    ASSERT_TRUE(drive::ChooseMenu("FileNew"));
    EXPECT_EQ(Counting("FileNew").defaults, 0);
    appTakes = false;
    ASSERT_TRUE(drive::ChooseMenu("FileNew"));
    EXPECT_EQ(Counting("FileNew").defaults, 1);
    back->Show();
    ASSERT_TRUE(drive::ChooseMenu("FileNew"));
    EXPECT_EQ(log, (std::vector<std::string>{"front", "front", "app", "front", "app", "back"}));
}

// Whatever the items were before, the pass starts from disabled and enables
// an AutoEnable item that the front window or the application handles.
TEST_F(MenuRoutingTest, TheEnablingPassEnablesItemsThatTheFrontWindowOrTheApplicationHandles) {
    int frontPasses = 0, backPasses = 0;
    auto* back = MakeWindow(false, {.enableMenuItems = [&](ScriptedWindow&) { ++backPasses; }});
    auto* front = MakeWindow(false, {.enableMenuItems = [&](ScriptedWindow&) { ++frontPasses; }});
    back->AddMenuHandler("FileSaveCopy", Logging("back"));
    front->AddMenuHandler("FileSave", Logging("front"));
    front->AddMenuHandler("FileManual", Logging("manual"));
    app->AddMenuHandler("FileNew", Logging("app"));
    const char* const names[]{"FileNew", "FileSave", "FileSaveCopy", "FileManual", "FormatPlain"};
    for (const char* name : names) bar->Lookup(name)->Enabled(true);
    std::string shown;
    for (const char* name : names) shown += drive::ShownMenuItem(name).enabled ? '1' : '0';
    EXPECT_EQ(shown, "11000");
    EXPECT_GT(frontPasses, 0);
    EXPECT_EQ(backPasses, 0);
    EXPECT_FALSE(drive::ChooseMenu("FileManual"));
    EXPECT_TRUE(log.empty());
}

// A window the desktop has not activated (the keyboard still in another)
// takes the commands of its own menu: Select All there selects its text.
TEST_F(MenuRoutingTest, TheMenuOfAWindowNotYetActivatedActsOnThatWindowsField) {
    auto* firstWindow = MakeWindow(true);
    auto* first = field;
    first->Text("first");
    auto* second = MakeWindow(true);
    field->Text("second text");
    drive::Focus(*first);
    ASSERT_EQ(fw::WindowAt(0), firstWindow) << "the focus went back to the first window";
    auto* edit = second->Widgets().menuBar()->actions().at(1)->menu();
    emit edit->aboutToShow();
    EXPECT_EQ(fw::WindowAt(0), second);
    for (auto* action : edit->actions())
        if (action->text().startsWith("EditSelectAll")) action->trigger();
    EXPECT_EQ(field->SelLength(), 11);
    EXPECT_EQ(first->SelLength(), 0);
}

// A shortcut goes to the first visible, enabled item that has it, even with
// the keyboard in a text field, and types nothing there. Typing a capital or
// a shifted digit never runs a command; with the command key it does,
// whichever key the keyboard reports for the shifted digit. Other layouts
// reach a shortcut by the place of its key on a US keyboard.
TEST_F(MenuRoutingTest, AShortcutGoesToTheFirstVisibleEnabledItemAndOtherLayoutsReachItByTheKeysPlace) {
    auto* window = MakeWindow(true);
    for (const char* name : {"FileSave", "FileSaveCopy", "FileManual", "FileHidden", "FormatPlain", "FormatOne"})
        window->AddMenuHandler(name, Logging(name));
    drive::Focus(*field);
    drive::PressKeys(*window, "Ctrl+S");
    bar->Lookup("FileSave")->Visible(false);
    for (const char* keys : {"Ctrl+S", "Ctrl+M", "Ctrl+H"}) drive::PressKeys(*window, keys);
    EXPECT_EQ(log, (std::vector<std::string>{"FileSave", "FileSaveCopy"}));
    EXPECT_EQ(Counting("FileManual").defaults + Counting("FileHidden").defaults, 0);
    EXPECT_EQ(field->Text(), "");
    log.clear();
    drive::TypeText(*field, "P!");
    for (const char* keys : {"Shift+P", "Shift+1"}) drive::PressKeys(*window, keys);
    EXPECT_TRUE(log.empty()) << "typing a capital or a shifted digit ran a command";
    const std::string typed = field->Text();
    for (const char* keys : {"Ctrl+Shift+P", "Ctrl+P", "Ctrl+Shift+1", "Ctrl+Shift+!", "Ctrl+1"})
        drive::PressKeys(*window, keys);
    EXPECT_EQ(field->Text(), typed) << "a key with the command key was typed";
    constexpr quint32 kKeyP = 33, kKey1 = 10;  // X keyboard codes of the keys of P and 1
    const auto press = [](int key, Qt::KeyboardModifiers modifiers, quint32 scanCode) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0);
        QApplication::sendEvent(QApplication::focusWidget(), &event);
    };
    press(0x0417, Qt::ControlModifier | Qt::ShiftModifier, kKeyP);                       // Russian: Cyrillic Ze
    press(Qt::Key_Ampersand, Qt::ControlModifier | Qt::ShiftModifier, kKey1);            // French: & on the 1 key
    press(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier, kKeyP);  // Alt makes another key
    EXPECT_EQ(log, (std::vector<std::string>{"FormatPlain", "FormatOne", "FormatOne", "FormatPlain", "FormatOne"}));
}

}  // namespace
