#include "tests/support/ApplicationTest.h"
#include "tests/support/Transcription.h"
#include "menubar/MenuBar1.h"

#include "menubar/MenuLookups.h"
#include "shell/App.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using fw::MenuItem;

// One entry of the bar as built, in the columns of tests/data/menu-bar.txt.
struct Entry {
    int level = 0;
    std::string name, caption;
    std::optional<std::string> shortcut;  // nothing: never set
    bool quitItem = false, autoEnable = false;

    bool operator==(const Entry&) const = default;
    friend void PrintTo(const Entry& e, std::ostream* out) {
        *out << e.level << ' ' << e.name << " \"" << e.caption << "\" "
             << (e.shortcut ? '"' + *e.shortcut + '"' : std::string("not set")) << (e.quitItem ? " Q" : " M")
             << (e.autoEnable ? " auto" : " manual");
    }
};

std::vector<Entry> Transcribed() {
    std::vector<Entry> entries;
    for (const auto& cells : TranscribedRows("menu-bar.txt")) {
        EXPECT_EQ(cells.size(), 6u);
        if (cells.size() != 6) continue;
        const std::optional<std::string> shortcut =
            cells[3] == "~" ? std::nullopt : std::optional<std::string>(cells[3] == "\"\"" ? "" : cells[3]);
        entries.push_back({std::stoi(cells[0]), cells[1], cells[2], shortcut, cells[4] == "Q", cells[5] == "1"});
    }
    return entries;
}

void Walk(const MenuItem& parent, int level, std::vector<Entry>& entries) {
    for (int i = 0; i < parent.Count(); ++i) {
        const auto item = parent.Item(i);
        entries.push_back({level, item->Name(), item->Text(), item->KeyboardShortcut(),
                           std::dynamic_pointer_cast<fw::QuitMenuItem>(item) != nullptr, item->AutoEnable()});
        Walk(*item, level + 1, entries);
    }
}

using MenuBar1Test = ApplicationTest;

TEST_F(MenuBar1Test, TheInstalledBarHoldsEveryEntryOfItsTableInOrder) {
    std::vector<Entry> built;
    Walk(*App()->MenuBar(), 0, built);
    ASSERT_EQ(Transcribed().size(), 43u);
    EXPECT_EQ(built, Transcribed());
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
