#include "tests/support/ApplicationTest.h"
#include "tests/support/Transcription.h"
#include "menubar/MenuBar1.h"

#include "menubar/MenuLookups.h"
#include "shell/App.h"

namespace {

using fw::MenuItem;

using Rows = std::vector<std::vector<std::string>>;

// Each item below the parent as a row of tests/data/menu-bar.txt: its level,
// name, caption, shortcut (~ when never set), Q for a quit item or M, and 1
// when it enables itself.
void Walk(const MenuItem& parent, int level, Rows& rows) {
    for (int i = 0; i < parent.Count(); ++i) {
        const auto item = parent.Item(i);
        const auto& shortcut = item->KeyboardShortcut();
        rows.push_back({std::to_string(level), item->Name(), item->Text(),
                        !shortcut               ? "~"
                            : shortcut->empty() ? "\"\""
                                                : *shortcut,
                        std::dynamic_pointer_cast<fw::QuitMenuItem>(item) ? "Q" : "M", item->AutoEnable() ? "1" : "0"});
        Walk(*item, level + 1, rows);
    }
}

using MenuBar1Test = ApplicationTest;

TEST_F(MenuBar1Test, TheInstalledBarHoldsEveryEntryOfItsTableInOrder) {
    Rows built;
    Walk(*App()->MenuBar(), 0, built);
    ASSERT_EQ(TranscribedRows("menu-bar.txt").size(), 43u);
    EXPECT_EQ(built, TranscribedRows("menu-bar.txt"));
}

TEST_F(MenuBar1Test, EachLookupFindsItsItemInTheBarInstalledAtTheTimeOfTheCall) {
    using Lookup = std::shared_ptr<MenuItem> (*)();
    const std::pair<const char*, Lookup> lookups[]{
        {"FormatLocked", FormatLocked}, {"editreplace", editreplace},     {"EditFind", EditFind},
        {"EditCut", EditCut},           {"EditSelectAll", EditSelectAll}, {"EditClear", EditClear},
        {"EditPaste", EditPaste},       {"EditCopy", EditCopy},           {"EditRedo", EditRedo},
        {"EditUndo", EditUndo},         {"FilePrint", FilePrint},         {"FilePageSetup", FilePageSetup},
        {"FileSave", FileSave},
    };
    for (const auto& [name, lookup] : lookups) {
        ASSERT_NE(lookup(), nullptr) << name;
        EXPECT_EQ(lookup(), App()->MenuBar()->Lookup(name)) << name;
    }
    // A bar without the items gives nothing rather than a stale item.
    App()->MenuBar(std::make_shared<fw::MenuBar>());
    for (const auto& [name, lookup] : lookups) EXPECT_EQ(lookup(), nullptr) << name;
}

}  // namespace
