#include "tests/support/ApplicationTest.h"
#include "shell/MenuBar1.h"

#include "shell/App.h"
#include "shell/MenuLookups.h"
#include "shell/Startup.h"
#include "framework/Runtime.h"
#include "framework/Window.h"
#include "framework/testing/ScriptedDialogs.h"
#include "framework/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using fw::MenuItem;
using Item = std::shared_ptr<MenuItem>;

// Every node below the bar, depth first, in appending order.
std::vector<Item> AllNodes(const MenuItem& parent) {
    std::vector<Item> nodes;
    for (int i = 0; i < parent.Count(); ++i) {
        nodes.push_back(parent.Item(i));
        const auto below = AllNodes(*parent.Item(i));
        nodes.insert(nodes.end(), below.begin(), below.end());
    }
    return nodes;
}

std::vector<std::string> Captions(const MenuItem& parent) {
    std::vector<std::string> captions;
    for (int i = 0; i < parent.Count(); ++i) captions.push_back(parent.Item(i)->Text());
    return captions;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

int IndexIn(const MenuItem& parent, const std::string& name) {
    for (int i = 0; i < parent.Count(); ++i)
        if (parent.Item(i)->Name() == name) return i;
    return -1;
}

class MenuBar1Test : public ApplicationTest {
protected:
    void SetUp() override {
        ApplicationTest::SetUp();
        ApplicationAddMenuHandlers();
        bar = App()->MenuBar();
        ASSERT_NE(bar, nullptr);
    }

    Item Node(const std::string& name) const { return bar->Lookup(name); }

    std::shared_ptr<fw::MenuBar> bar;
};

TEST_F(MenuBar1Test, FiveMenusInOrderWithTheirEntryCounts) {
    EXPECT_EQ(Captions(*bar), (std::vector<std::string>{"&File", "&Edit", "View", "Insert", "Format"}));
    std::vector<int> counts;
    for (int i = 0; i < bar->Count(); ++i) counts.push_back(bar->Item(i)->Count());
    EXPECT_EQ(counts, (std::vector<int>{8, 14, 2, 3, 4}));
    EXPECT_EQ(AllNodes(*bar).size(), 43u);
}

TEST_F(MenuBar1Test, TheTwoSubmenusOfFormatHoldTheirItemsInOrder) {
    const auto format = bar->Child("formatmenu");
    ASSERT_NE(format, nullptr);
    const auto changeCase = format->Child("FormatChangeCase");
    const auto alignText = format->Child("UntitledItem1");
    ASSERT_TRUE(changeCase && alignText);
    EXPECT_EQ(changeCase->Text(), "Change Case");
    EXPECT_EQ(Captions(*changeCase),
              (std::vector<std::string>{"UPPER CASE", "lower case", "esreveR Reverse", "Title Case"}));
    EXPECT_EQ(alignText->Text(), "Align Text");
    EXPECT_EQ(Captions(*alignText), (std::vector<std::string>{"Left", "Center", "Right"}));
    // Only these two items of the whole bar hold items of their own.
    int submenus = 0;
    for (int i = 0; i < bar->Count(); ++i)
        for (const auto& node : AllNodes(*bar->Item(i)))
            if (node->Count() > 0) ++submenus;
    EXPECT_EQ(submenus, 2);
}

TEST_F(MenuBar1Test, EditMenuPutsCutAfterCopyAndPaste) {
    const auto edit = bar->Child("EditMenu");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(IndexIn(*edit, "EditUndo"), 0);
    EXPECT_LT(IndexIn(*edit, "EditCopy"), IndexIn(*edit, "EditPaste"));
    EXPECT_LT(IndexIn(*edit, "EditPaste"), IndexIn(*edit, "EditCut"));
    EXPECT_LT(IndexIn(*edit, "EditCut"), IndexIn(*edit, "EditClear"));
    EXPECT_EQ(IndexIn(*edit, "editreplace"), edit->Count() - 1);
}

TEST_F(MenuBar1Test, NamesAreDistinctAlsoIgnoringCase) {
    std::set<std::string> exact, folded;
    for (const auto& node : AllNodes(*bar)) {
        EXPECT_FALSE(node->Name().empty()) << node->Text();
        exact.insert(node->Name());
        folded.insert(Lower(node->Name()));
    }
    EXPECT_EQ(exact.size(), 43u);
    EXPECT_EQ(folded.size(), 43u);
}

TEST_F(MenuBar1Test, OddSpellingsStandExactlyAsWritten) {
    ASSERT_NE(Node("ViewMaximize"), nullptr);
    EXPECT_EQ(Node("ViewMaximize")->Text(), "Mazimize/Restore");
    ASSERT_NE(Node("ChangeCasesreveRReverse"), nullptr);
    EXPECT_EQ(Node("ChangeCasesreveRReverse")->Text(), "esreveR Reverse");
    for (const char* name : {"newwindow", "editreplace", "Insertmenu", "formatmenu", "FileSaveas", "EditWriteletter",
                             "Formattest", "ChangeCaselowercase", "InsertDateandTime", "UntitledItem1"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(Node(name), nullptr);
    }
    EXPECT_EQ(Node("Formattest")->Text(), "Font Color...");
    EXPECT_EQ(Node("FileOpen")->Text(), "&Open...");
    EXPECT_EQ(Node("EditWriteletter")->KeyboardShortcut(), "Cmd+Shift+l");
}

TEST_F(MenuBar1Test, FileQuitIsTheOnlyQuitItem) {
    std::vector<std::string> quitItems;
    for (const auto& node : AllNodes(*bar))
        if (std::dynamic_pointer_cast<fw::QuitMenuItem>(node)) quitItems.push_back(node->Name());
    EXPECT_EQ(quitItems, (std::vector<std::string>{"FileQuit"}));
    EXPECT_NE(std::dynamic_pointer_cast<class MenuBar1>(bar), nullptr);
}

TEST_F(MenuBar1Test, AutoEnableIsOffOnExactlyThreeItems) {
    std::set<std::string> off;
    for (const auto& node : AllNodes(*bar))
        if (!node->AutoEnable()) off.insert(node->Name());
    EXPECT_EQ(off, (std::set<std::string>{"FilePageSetup", "EditFind", "editreplace"}));
}

TEST_F(MenuBar1Test, NewEntriesKeepTheItemDefaults) {
    for (const auto& node : AllNodes(*bar)) {
        SCOPED_TRACE(node->Name());
        EXPECT_FALSE(node->Checked());
        EXPECT_TRUE(node->Visible());
    }
}

TEST_F(MenuBar1Test, ShortcutsSetEmptyDifferFromShortcutsNeverSet) {
    std::set<std::string> setEmpty, notSet;
    for (const auto& node : AllNodes(*bar)) {
        if (!node->KeyboardShortcut()) notSet.insert(node->Name());
        else if (node->KeyboardShortcut()->empty()) setEmpty.insert(node->Name());
    }
    // The five menus and Delete carry "", the separators and the two submenu items nothing.
    std::set<std::string> menus;
    for (int i = 0; i < bar->Count(); ++i) menus.insert(bar->Item(i)->Name());
    auto expectedEmpty = menus;
    expectedEmpty.insert("EditClear");
    EXPECT_EQ(setEmpty, expectedEmpty);

    std::set<std::string> separatorsAndSubmenus;
    for (const auto& node : AllNodes(*bar))
        if (node->IsSeparator() || (node->Count() > 0 && !menus.contains(node->Name())))
            separatorsAndSubmenus.insert(node->Name());
    EXPECT_EQ(separatorsAndSubmenus.size(), 6u);
    EXPECT_EQ(notSet, separatorsAndSubmenus);
}

TEST_F(MenuBar1Test, SeparatorsAreOrdinaryNamedItems) {
    int separators = 0;
    for (const auto& node : AllNodes(*bar)) {
        if (!node->IsSeparator()) continue;
        ++separators;
        EXPECT_FALSE(node->Name().empty());
        EXPECT_TRUE(node->AutoEnable());
        EXPECT_EQ(std::dynamic_pointer_cast<fw::QuitMenuItem>(node), nullptr);
    }
    EXPECT_EQ(separators, 4);
}

TEST_F(MenuBar1Test, SaveAndSaveAsShareOneShortcutAndShiftOnlyShortcutsStaySo) {
    ASSERT_TRUE(Node("FileSave") && Node("FileSaveas"));
    EXPECT_EQ(Node("FileSave")->KeyboardShortcut(), "Cmd+s");
    EXPECT_EQ(Node("FileSaveas")->KeyboardShortcut(), "Cmd+s");
    EXPECT_EQ(Node("FilePrint")->KeyboardShortcut(), "Cmd+P");
    EXPECT_EQ(Node("FilePageSetup")->KeyboardShortcut(), "Shift+P");
    EXPECT_EQ(Node("ViewMinimize")->KeyboardShortcut(), "Cmd+m");
    EXPECT_EQ(Node("ViewMaximize")->KeyboardShortcut(), "Shift+m");
    int shiftOnly = 0;
    for (const auto& node : AllNodes(*bar))
        if (node->KeyboardShortcut() && node->KeyboardShortcut()->starts_with("Shift+")) ++shiftOnly;
    EXPECT_EQ(shiftOnly, 8);
}

TEST_F(MenuBar1Test, TheAccessorReturnsOneInstanceBuiltOnce) {
    const auto first = MenuBar1();
    const auto second = MenuBar1();
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, bar);
    EXPECT_EQ(first->Count(), 5);
    EXPECT_EQ(AllNodes(*first).size(), 43u);
}

TEST_F(MenuBar1Test, ReleasingTheInstanceLetsTheNextCallBuildANewOne) {
    const auto before = MenuBar1();
    ReleaseMenuBar1();
    const auto after = MenuBar1();
    EXPECT_NE(after, before);
    EXPECT_EQ(AllNodes(*after).size(), 43u);
    // The old bar is untouched by the new build.
    EXPECT_EQ(AllNodes(*before).size(), 43u);
}

using Lookup = std::shared_ptr<MenuItem> (*)();

const std::vector<std::pair<const char*, Lookup>>& Lookups() {
    static const std::vector<std::pair<const char*, Lookup>> lookups{
        {"FormatLocked", FormatLocked}, {"editreplace", editreplace},     {"EditFind", EditFind},
        {"EditSelectAll", EditSelectAll}, {"EditClear", EditClear},       {"EditCut", EditCut},
        {"EditPaste", EditPaste},       {"EditCopy", EditCopy},           {"EditRedo", EditRedo},
        {"EditUndo", EditUndo},         {"FilePrint", FilePrint},         {"FilePageSetup", FilePageSetup},
        {"FileSave", FileSave},
    };
    return lookups;
}

TEST_F(MenuBar1Test, EachLookupReturnsTheBarsOwnItem) {
    ASSERT_EQ(Lookups().size(), 13u);
    for (const auto& [name, lookup] : Lookups()) {
        SCOPED_TRACE(name);
        const auto found = lookup();
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->Name(), name);
        EXPECT_EQ(found, bar->Lookup(name));
    }
}

TEST_F(MenuBar1Test, AChangeThroughOneLookupIsSeenThroughTheNext) {
    FormatLocked()->Checked(true);
    EXPECT_TRUE(FormatLocked()->Checked());
    EXPECT_TRUE(bar->Child("formatmenu")->Child("FormatLocked")->Checked());
    for (const auto& [name, lookup] : Lookups()) {
        SCOPED_TRACE(name);
        const bool visible = lookup()->Visible();
        lookup()->Visible(!visible);
        EXPECT_EQ(lookup()->Visible(), !visible);
        EXPECT_EQ(bar->Lookup(name)->Visible(), !visible);
    }
}

TEST_F(MenuBar1Test, LookupsSearchTheInstalledBarAtEveryCall) {
    const auto oldSave = FileSave();
    ReleaseMenuBar1();
    App()->MenuBar(MenuBar1());
    const auto newSave = FileSave();
    ASSERT_NE(newSave, nullptr);
    EXPECT_NE(newSave, oldSave);
    EXPECT_EQ(newSave, App()->MenuBar()->Lookup("FileSave"));

    // A bar without the items gives nothing rather than a stale item.
    App()->MenuBar(std::make_shared<fw::MenuBar>());
    for (const auto& [name, lookup] : Lookups()) {
        SCOPED_TRACE(name);
        EXPECT_EQ(lookup(), nullptr);
    }
}

TEST_F(MenuBar1Test, AnUnknownNameFindsNothing) {
    EXPECT_EQ(bar->Lookup("NoSuchItem"), nullptr);
    EXPECT_EQ(bar->Lookup(""), nullptr);
    EXPECT_EQ(bar->Child("FileSave"), nullptr);
}

TEST_F(MenuBar1Test, TheShownBarShowsCaptionsWithTheirShortcuts) {
    fw::MakeWindow<fw::Window>()->Show();
    struct Case {
        const char* name;
        const char* caption;
    };
    const std::vector<Case> cases{
        {"FilePageSetup", "Page Setup...\tCtrl+Shift+P"},
        {"FilePrint", "Print...\tCtrl+P"},
        {"FileSave", "&Save\tCtrl+S"},
        {"FileSaveas", "Save &as...\tCtrl+S"},
        {"EditWriteletter", "Write Letter\tCtrl+Shift+L"},
        {"AlignTextLeft", "Left\tCtrl+Shift+1"},
        {"ViewMaximize", "Mazimize/Restore\tCtrl+Shift+M"},
        {"EditClear", "&Delete"},
        {"FormatChangeCase", "Change Case"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto shown = fw::testing::ShownMenuItem(c.name);
        ASSERT_TRUE(shown.present);
        EXPECT_EQ(shown.caption, c.caption);
    }
    EXPECT_FALSE(fw::testing::ShownMenuItem("NoSuchItem").present);
}

}  // namespace
