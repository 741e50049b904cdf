#include "ScriptedWindow.h"

#include "framework/ui/Application.h"
#include "framework/ui/EditField.h"
#include "framework/menus/MenuItem.h"
#include "framework/ui/Runtime.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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
        struct Row { const char* menu; const char* name; const char* caption; const char* shortcut; };
        const Row rows[]{
            {"FileMenu", "FileNew", "New", "Cmd+N"},           {"FileMenu", "FileSave", "Save", "Cmd+s"},
            {"FileMenu", "FileSaveCopy", "Save a Copy", "Cmd+s"}, {"FileMenu", "FileHidden", "Hidden", "Cmd+H"},
            {"FileMenu", "FileManual", "Manual", "Cmd+M"},     {"EditMenu", "EditUndo", "Undo", "Cmd+Z"},
            {"EditMenu", "EditCut", "Cut", "Cmd+X"},           {"EditMenu", "EditCopy", "Copy", "Cmd+C"},
            {"EditMenu", "EditPaste", "Paste", "Cmd+V"},       {"EditMenu", "EditClear", "Delete", ""},
            {"EditMenu", "EditSelectAll", "Select All", "Cmd+A"}, {"FormatMenu", "FormatPlain", "Plain", "Shift+P"},
            {"FormatMenu", "FormatOne", "Heading 1", "Shift+1"},
        };
        for (const Row& row : rows) {
            if (!bar->Child(row.menu)) {
                auto menu = std::make_shared<fw::MenuItem>(row.menu);
                menu->Name(row.menu);
                bar->Append(menu);
            }
            auto item = std::make_shared<CountingItem>(row.caption);
            item->Name(row.name);
            if (*row.shortcut) item->KeyboardShortcut(row.shortcut);
            bar->Child(row.menu)->Append(item);
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
        QGuiApplication::clipboard()->clear();
    }

    CountingItem& Counting(const std::string& name) { return dynamic_cast<CountingItem&>(*bar->Lookup(name)); }

    // A visible window with a multi-line text field, which then is `field`, or with none.
    ScriptedWindow* MakeWindow(bool withField = true, ScriptedWindow::Script script = {}) {
        script.layout = [](ScriptedWindow& w) {
            w.Width(400);
            w.Height(300);
            w.Visible(true);
        };
        if (withField)
            script.createControls = [](ScriptedWindow& w) {
                w.Add<fw::EditField>("EditField", "Field", 10, 10, 300, 200).Multiline(true);
            };
        auto* window = ScriptedWindow::Make(std::move(script));
        if (withField) field = window->Control<fw::EditField>("Field");
        return window;
    }
    void Select(long start, long length) {
        field->SelStart(start);
        field->SelLength(length);
    }

    // A handler that writes its name to the log and answers as told.
    fw::MenuHandlers::Handler Logging(const std::string& entry, bool result = true) {
        return [this, entry, result] {
            log.push_back(entry);
            return result;
        };
    }

    static void SetClipboard(const std::string& text) { QGuiApplication::clipboard()->setText(QString::fromStdString(text)); }

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

TEST_F(MenuRoutingTest, EnablingPassEnablesItemsThatHaveAHandler) {
    int frontPasses = 0, backPasses = 0;
    auto* back = MakeWindow(false, {.enableMenuItems = [&](ScriptedWindow&) { ++backPasses; }});
    auto* front = MakeWindow(false, {.enableMenuItems = [&](ScriptedWindow&) { ++frontPasses; }});
    back->AddMenuHandler("FileSaveCopy", Logging("back"));
    front->AddMenuHandler("FileSave", Logging("front"));
    front->AddMenuHandler("FileManual", Logging("manual"));
    app->AddMenuHandler("FileNew", Logging("app"));
    // Whatever the items were before, the pass starts from disabled.
    for (const char* name : {"FileNew", "FileSave", "FileSaveCopy", "FileManual", "FormatPlain"})
        bar->Lookup(name)->Enabled(true);

    EXPECT_TRUE(drive::ShownMenuItem("FileSave").enabled);
    EXPECT_TRUE(drive::ShownMenuItem("FileNew").enabled);
    EXPECT_FALSE(drive::ShownMenuItem("FileSaveCopy").enabled) << "a window behind enabled an item";
    EXPECT_FALSE(drive::ShownMenuItem("FileManual").enabled) << "an item without AutoEnable was enabled by its handler";
    EXPECT_FALSE(drive::ShownMenuItem("FormatPlain").enabled);
    EXPECT_GT(frontPasses, 0);
    EXPECT_EQ(backPasses, 0);
    EXPECT_FALSE(drive::ChooseMenu("FileManual"));
    EXPECT_TRUE(log.empty());
}

TEST_F(MenuRoutingTest, FocusedFieldEnablesTheEditingItemsItCanCarryOut) {
    auto editing = [] {
        std::string shown;
        for (const char* name : {"EditCut", "EditCopy", "EditPaste", "EditClear", "EditSelectAll"})
            shown += drive::ShownMenuItem(name).enabled ? '1' : '0';
        return shown;
    };
    MakeWindow(false);
    SetClipboard("clip");
    EXPECT_EQ(editing(), "00000") << "editing items enabled with no text field";

    MakeWindow(true);
    field->Text("hello");
    drive::Focus(*field);
    field->SelStart(5);
    EXPECT_EQ(editing(), "00101");

    Select(0, 5);
    EXPECT_EQ(editing(), "11111");

    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(editing(), "11011");

    SetClipboard("clip");
    field->ReadOnly(true);
    EXPECT_EQ(editing(), "01001");
    EXPECT_EQ(drive::ShownMenuItem("EditUndo").enabled, false);
}

TEST_F(MenuRoutingTest, FieldCarriesOutEditingCommandsAfterTheWindowsHandler) {
    auto* window = MakeWindow(true);
    std::vector<std::string> textAtHandler;
    bool answer = true;
    window->AddMenuHandler("EditPaste", [&] {
        textAtHandler.push_back(field->Text());
        return answer;
    });
    field->Text("hello ");
    drive::Focus(*field);
    field->SelStart(6);
    SetClipboard("world");

    ASSERT_TRUE(drive::ChooseMenu("EditPaste"));
    EXPECT_EQ(textAtHandler, std::vector<std::string>{"hello "});
    EXPECT_EQ(field->Text(), "hello world");

    answer = false;
    app->AddMenuHandler("EditPaste", Logging("app", true));
    ASSERT_TRUE(drive::ChooseMenu("EditPaste"));
    EXPECT_EQ(textAtHandler.back(), "hello world");
    EXPECT_EQ(field->Text(), "hello worldworld");
    EXPECT_EQ(Counting("EditPaste").defaults, 0);
}

TEST_F(MenuRoutingTest, ShortcutGoesToTheFirstVisibleEnabledItemThatHasIt) {
    auto* window = MakeWindow(true);
    window->AddMenuHandler("FileSave", Logging("save"));
    window->AddMenuHandler("FileSaveCopy", Logging("copy"));
    drive::Focus(*field);

    drive::PressKeys(*window, "Ctrl+S");
    EXPECT_EQ(log, std::vector<std::string>{"save"});

    bar->Lookup("FileSave")->Visible(false);
    drive::PressKeys(*window, "Ctrl+S");
    EXPECT_EQ(log, (std::vector<std::string>{"save", "copy"}));

    bar->Lookup("FileSave")->Visible(true);
    bar->Lookup("FileSave")->AutoEnable(false);
    drive::PressKeys(*window, "Ctrl+S");
    EXPECT_EQ(log, (std::vector<std::string>{"save", "copy", "copy"}));

    drive::PressKeys(*window, "Ctrl+Shift+S");
    EXPECT_EQ(log.size(), 3u) << "Shift made no difference to the shortcut";

    // The shortcut of an item that is disabled or hidden, and that no other has, does nothing.
    window->AddMenuHandler("FileManual", Logging("manual"));
    window->AddMenuHandler("FileHidden", Logging("hidden"));
    drive::PressKeys(*window, "Ctrl+M");
    drive::PressKeys(*window, "Ctrl+H");
    EXPECT_EQ(log.size(), 3u);
    EXPECT_EQ(Counting("FileManual").defaults + Counting("FileHidden").defaults, 0);
    EXPECT_EQ(field->Text(), "");
}

// Typing a capital or a shifted digit never runs a command; with the command
// key the shifted digit does, whichever key the keyboard reports for it.
TEST_F(MenuRoutingTest, ShiftShortcutsNeedTheCommandKey) {
    auto* window = MakeWindow(true);
    window->AddMenuHandler("FormatPlain", Logging("plain"));
    window->AddMenuHandler("FormatOne", Logging("one"));

    drive::TypeText(*field, "P!");
    EXPECT_EQ(field->Text(), "P!");
    drive::PressKeys(*window, "Shift+P");
    drive::PressKeys(*window, "Shift+1");
    EXPECT_TRUE(log.empty()) << "typing a capital or a shifted digit ran a command";

    const std::string typed = field->Text();
    drive::PressKeys(*window, "Ctrl+Shift+P");
    drive::PressKeys(*window, "Ctrl+P");
    drive::PressKeys(*window, "Ctrl+Shift+1");
    drive::PressKeys(*window, "Ctrl+Shift+!");  // many keyboards report the shifted 1 so
    drive::PressKeys(*window, "Ctrl+1");
    EXPECT_EQ(log, (std::vector<std::string>{"plain", "one", "one"}));
    EXPECT_EQ(field->Text(), typed) << "a key with the command key was typed";
}

TEST_F(MenuRoutingTest, OtherKeyboardLayoutsReachShortcutsByTheKeysPlace) {
    auto* window = MakeWindow(true);
    window->AddMenuHandler("FormatPlain", Logging("plain"));
    window->AddMenuHandler("FormatOne", Logging("one"));
    drive::Focus(*field);
    // X keyboard codes of the keys that carry P and 1 on a US keyboard.
    constexpr quint32 kKeyP = 33, kKey1 = 10;
    const auto press = [&](int key, Qt::KeyboardModifiers modifiers, quint32 scanCode) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0);
        QApplication::sendEvent(QApplication::focusWidget(), &event);
    };

    // A Russian layout gives the Cyrillic Ze (its code point) where a US one gives P.
    press(0x0417, Qt::ControlModifier | Qt::ShiftModifier, kKeyP);
    EXPECT_EQ(log, std::vector<std::string>{"plain"});
    // A German layout gives '"' for the shifted 2; a French one gives '&' for the 1 key.
    press(Qt::Key_Ampersand, Qt::ControlModifier | Qt::ShiftModifier, kKey1);
    EXPECT_EQ(log, (std::vector<std::string>{"plain", "one"}));
    // Alt or Meta make another key, which no menu takes.
    press(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier, kKeyP);
    EXPECT_EQ(log.size(), 2u);
}

}  // namespace
