#include "tests/support/ApplicationTest.h"
#include "menubar/MenuBar1.h"

#include "shell/App.h"
#include "menubar/MenuLookups.h"
#include "framework/ui/Window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using fw::MenuItem;
using Item = std::shared_ptr<MenuItem>;

// Every node below the parent, depth first, in appending order.
std::vector<Item> AllNodes(const MenuItem& parent) {
    std::vector<Item> nodes;
    for (int i = 0; i < parent.Count(); ++i) {
        nodes.push_back(parent.Item(i));
        const auto below = AllNodes(*parent.Item(i));
        nodes.insert(nodes.end(), below.begin(), below.end());
    }
    return nodes;
}

std::vector<std::string> Names(const MenuItem& parent) {
    std::vector<std::string> names;
    for (int i = 0; i < parent.Count(); ++i) names.push_back(parent.Item(i)->Name());
    return names;
}

std::vector<std::string> Captions(const MenuItem& parent) {
    std::vector<std::string> captions;
    for (int i = 0; i < parent.Count(); ++i) captions.push_back(parent.Item(i)->Text());
    return captions;
}

class MenuBar1Test : public ApplicationTest {
protected:
    void SetUp() override {
        ApplicationTest::SetUp();
        bar = App()->MenuBar();
        ASSERT_NE(bar, nullptr);
    }

    std::shared_ptr<fw::MenuBar> bar;
};

TEST_F(MenuBar1Test, FiveMenusInOrderWithTheirEntryCounts) {
    EXPECT_EQ(Captions(*bar), (std::vector<std::string>{"&File", "&Edit", "View", "Insert", "Format"}));
    std::vector<int> counts;
    for (int i = 0; i < bar->Count(); ++i) counts.push_back(bar->Item(i)->Count());
    EXPECT_EQ(counts, (std::vector<int>{8, 14, 2, 3, 4}));
    EXPECT_EQ(AllNodes(*bar).size(), 43u);

    // Only the two submenus of Format hold items below the menus.
    std::vector<std::string> submenus;
    for (const auto& node : AllNodes(*bar))
        if (node->Count() > 0 && bar->Child(node->Name()) == nullptr) submenus.push_back(node->Name());
    EXPECT_EQ(submenus, (std::vector<std::string>{"FormatChangeCase", "UntitledItem1"}));
    EXPECT_EQ(Captions(*bar->Lookup("FormatChangeCase")),
              (std::vector<std::string>{"UPPER CASE", "lower case", "esreveR Reverse", "Title Case"}));
    EXPECT_EQ(Captions(*bar->Lookup("UntitledItem1")), (std::vector<std::string>{"Left", "Center", "Right"}));

    // Edit puts Cut after Copy and Paste.
    const auto edit = Names(*bar->Child("EditMenu"));
    const auto at = [&edit](const char* name) { return std::find(edit.begin(), edit.end(), name) - edit.begin(); };
    EXPECT_EQ(at("EditUndo"), 0);
    EXPECT_LT(at("EditCopy"), at("EditPaste"));
    EXPECT_LT(at("EditPaste"), at("EditCut"));
    EXPECT_LT(at("EditCut"), at("EditClear"));
    EXPECT_EQ(edit.back(), "editreplace");
}

TEST_F(MenuBar1Test, OddSpellingsAndShortcutsStandExactlyAsWritten) {
    const std::pair<const char*, const char*> captions[]{
        {"ViewMaximize", "Mazimize/Restore"}, {"ChangeCasesreveRReverse", "esreveR Reverse"},
        {"Formattest", "Font Color..."},      {"FileOpen", "&Open..."},
    };
    for (const auto& [name, caption] : captions) {
        ASSERT_NE(bar->Lookup(name), nullptr) << name;
        EXPECT_EQ(bar->Lookup(name)->Text(), caption);
    }
    for (const char* name : {"newwindow", "editreplace", "Insertmenu", "formatmenu", "FileSaveas", "EditWriteletter",
                             "ChangeCaselowercase", "InsertDateandTime", "UntitledItem1"})
        EXPECT_NE(bar->Lookup(name), nullptr) << name;

    // Save and Save As share one shortcut; shortcuts with Shift alone stay so.
    const std::pair<const char*, const char*> shortcuts[]{
        {"FileSave", "Cmd+s"},         {"FileSaveas", "Cmd+s"},    {"FilePrint", "Cmd+P"},
        {"FilePageSetup", "Shift+P"},  {"ViewMinimize", "Cmd+m"},  {"ViewMaximize", "Shift+m"},
        {"EditWriteletter", "Cmd+Shift+l"},
    };
    for (const auto& [name, shortcut] : shortcuts) EXPECT_EQ(bar->Lookup(name)->KeyboardShortcut(), shortcut) << name;
    int shiftOnly = 0;
    for (const auto& node : AllNodes(*bar)) shiftOnly += node->KeyboardShortcut().value_or("").starts_with("Shift+");
    EXPECT_EQ(shiftOnly, 8);
}

TEST_F(MenuBar1Test, NamesAreDistinctAlsoIgnoringCaseOnlyFileQuitQuitsAndThreeItemsDoNotAutoEnable) {
    std::set<std::string> exact, folded, off;
    std::vector<std::string> quitItems;
    for (const auto& node : AllNodes(*bar)) {
        std::string name = node->Name();
        EXPECT_FALSE(name.empty()) << node->Text();
        exact.insert(name);
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        folded.insert(name);
        if (std::dynamic_pointer_cast<fw::QuitMenuItem>(node)) quitItems.push_back(node->Name());
        if (!node->AutoEnable()) off.insert(node->Name());
    }
    EXPECT_EQ(exact.size(), 43u);
    EXPECT_EQ(folded.size(), 43u);
    EXPECT_EQ(quitItems, (std::vector<std::string>{"FileQuit"}));
    EXPECT_EQ(off, (std::set<std::string>{"FilePageSetup", "EditFind", "editreplace"}));
}

TEST_F(MenuBar1Test, ShortcutsSetEmptyDifferFromShortcutsNeverSet) {
    // The five menus and Delete carry "", the four separators and the two submenu items nothing.
    std::set<std::string> setEmpty, notSet, expectedEmpty{"EditClear"}, expectedNotSet;
    for (int i = 0; i < bar->Count(); ++i) expectedEmpty.insert(bar->Item(i)->Name());
    for (const auto& node : AllNodes(*bar)) {
        if (!node->KeyboardShortcut()) notSet.insert(node->Name());
        else if (node->KeyboardShortcut()->empty()) setEmpty.insert(node->Name());
        if (node->IsSeparator() || (node->Count() > 0 && !expectedEmpty.contains(node->Name())))
            expectedNotSet.insert(node->Name());
    }
    EXPECT_EQ(setEmpty, expectedEmpty);
    EXPECT_EQ(expectedNotSet.size(), 6u);
    EXPECT_EQ(notSet, expectedNotSet);
}

TEST_F(MenuBar1Test, TheAccessorBuildsOneInstanceUntilItIsReleased) {
    const auto before = MenuBar1();
    EXPECT_EQ(MenuBar1(), before);
    EXPECT_EQ(before, bar);
    ReleaseMenuBar1();
    const auto after = MenuBar1();
    EXPECT_NE(after, before);
    EXPECT_EQ(AllNodes(*after).size(), 43u);
    // The old bar is untouched by the new build.
    EXPECT_EQ(AllNodes(*before).size(), 43u);
}

using Lookup = std::shared_ptr<MenuItem> (*)();

const std::pair<const char*, Lookup> kLookups[]{
    {"FormatLocked", FormatLocked},   {"editreplace", editreplace}, {"EditFind", EditFind},
    {"EditSelectAll", EditSelectAll}, {"EditClear", EditClear},     {"EditCut", EditCut},
    {"EditPaste", EditPaste},         {"EditCopy", EditCopy},       {"EditRedo", EditRedo},
    {"EditUndo", EditUndo},           {"FilePrint", FilePrint},     {"FilePageSetup", FilePageSetup},
    {"FileSave", FileSave},
};

TEST_F(MenuBar1Test, EachLookupReturnsTheInstalledBarsOwnItemAtEveryCall) {
    for (const auto& [name, lookup] : kLookups) {
        const auto found = lookup();
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(found->Name(), name);
        EXPECT_EQ(found, bar->Lookup(name)) << name;
    }

    const auto oldSave = FileSave();
    ReleaseMenuBar1();
    App()->MenuBar(MenuBar1());
    ASSERT_NE(FileSave(), nullptr);
    EXPECT_NE(FileSave(), oldSave);
    EXPECT_EQ(FileSave(), App()->MenuBar()->Lookup("FileSave"));

    // A bar without the items gives nothing rather than a stale item.
    App()->MenuBar(std::make_shared<fw::MenuBar>());
    for (const auto& [name, lookup] : kLookups) EXPECT_EQ(lookup(), nullptr) << name;
}

TEST_F(MenuBar1Test, TheShownBarShowsCaptionsWithTheirShortcuts) {
    fw::MakeWindow<fw::Window>()->Show();
    const std::pair<const char*, const char*> cases[]{
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
    for (const auto& [name, caption] : cases) {
        const auto shown = fw::testing::ShownMenuItem(name);
        ASSERT_TRUE(shown.present) << name;
        EXPECT_EQ(shown.caption, caption);
    }
}

}  // namespace
