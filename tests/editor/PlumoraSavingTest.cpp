#include "tests/support/ApplicationTest.h"
#include "editor/Plumora.h"

#include "framework/ui/EditField.h"
#include "framework/text/RtfReader.h"
#include "framework/text/StyledText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace drive = fw::testing;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The text of the styled document in the file, paragraphs joined by CR.
std::string SavedText(const fs::path& path) {
    const auto text = fw::ReadRtf(ReadBytes(path));
    std::string plain;
    for (std::size_t i = 0; i < text.paragraphs.size(); ++i) {
        if (i > 0) plain += '\r';
        for (const auto& run : text.paragraphs[i].runs) plain += run.text;
    }
    return plain;
}

std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// A file's content and the time it was last written, to tell whether a save touched it.
struct FileState {
    std::string bytes;
    fs::file_time_type written;

    bool operator==(const FileState&) const = default;
};

void PrintTo(const FileState& state, std::ostream* out) {
    *out << state.bytes.size() << " bytes written at " << state.written.time_since_epoch().count();
}

FileState StateOf(const fs::path& path) { return {ReadBytes(path), fs::last_write_time(path)}; }

// The file's state, with its time set well into the past so that any later write shows.
FileState Aged(const fs::path& path) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(48));
    return StateOf(path);
}

// Every entry below the folder, with the state of each file as the reader gives it.
std::map<std::string, FileState> Tree(const fs::path& folder, FileState (*read)(const fs::path&) = StateOf) {
    std::map<std::string, FileState> tree;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        tree[fs::relative(entry.path(), folder).string()] = entry.is_regular_file() ? read(entry.path()) : FileState{};
    return tree;
}

class PlumoraSavingTest : public ApplicationTest {
protected:
    static bool IsOpenWindow(const fw::Window* window) {
        for (int i = 0; i < fw::WindowCount(); ++i)
            if (fw::WindowAt(i) == window) return true;
        return false;
    }

    void AnswerSave(const fs::path& path) { dialogs->saveAnswers.push_back(std::make_shared<fw::FolderItem>(path)); }

    // Chooses the menu item with the document field focused, as a user who
    // clicked into the text and then into the menu does.
    static void Choose(class Plumora& window, const char* item) {
        drive::Focus(*window.EditField1());
        ASSERT_TRUE(drive::ChooseMenu(item)) << item << " could not be chosen";
    }

    // A window whose document, the text, was saved to the file.
    class Plumora* SavedWindow(const fs::path& file, const std::string& text) {
        auto* window = NewWindow();
        drive::TypeText(*window->EditField1(), text);
        AnswerSave(file);
        Choose(*window, "FileSave");
        EXPECT_FALSE(window->TextHasChanged);
        EXPECT_EQ(window->Title(), file.filename().string());
        dialogs->calls.clear();
        return window;
    }

    // The one message shown since the last clear; fails when there was not exactly one.
    std::string OnlyMessage() const {
        const auto shown = dialogs->CallsOf("msgbox");
        EXPECT_EQ(shown.size(), 1u);
        return shown.empty() ? std::string() : shown.front().text;
    }

};

// Save asks once, proposing the title; then writes the same file again
// without asking, by menu or key; Save As always asks and moves to its file.
TEST_F(PlumoraSavingTest, SaveAsksOnceAndThenWritesItsFileAgainWhileSaveAsMovesToANewOne) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "Hello bold world");
    field.SelStart(6);
    field.SelLength(4);
    field.SelBold(true);
    AnswerSave(folder / "letter.rtf");
    Choose(*window, "FileSave");
    ASSERT_EQ(dialogs->CallsOf("save").size(), 1u);
    EXPECT_EQ(dialogs->CallsOf("save")[0].text, " Plumora");
    EXPECT_EQ(window->Title(), "letter.rtf");
    EXPECT_FALSE(window->TextHasChanged);
    EXPECT_EQ(fw::ReadRtf(ReadBytes(folder / "letter.rtf")), field.GetStyledText());

    TypeAtEnd(field, " again");
    drive::PressKeys(*window, "Ctrl+S");
    EXPECT_EQ(dialogs->CallsOf("save").size(), 1u);
    EXPECT_EQ(SavedText(folder / "letter.rtf"), "Hello bold world again");

    const auto old = Aged(folder / "letter.rtf");
    AnswerSave(folder / "copy.rtf");
    Choose(*window, "FileSaveas");
    ASSERT_EQ(dialogs->CallsOf("save").size(), 2u);
    EXPECT_EQ(dialogs->CallsOf("save")[1].text, "letter.rtf");
    EXPECT_EQ(window->Title(), "copy.rtf");
    EXPECT_EQ(StateOf(folder / "letter.rtf"), old) << "Save As touched the old file";
    EXPECT_EQ(SavedText(folder / "copy.rtf"), "Hello bold world again");
    EXPECT_EQ(Entries(folder), (std::set<std::string>{"copy.rtf", "letter.rtf"}));
}

TEST_F(PlumoraSavingTest, ACancelledSaveDialogWritesAndChangesNothing) {
    struct Road {
        const char* what;
        bool saved;        // the window has a file
        const char* item;  // none: the save-changes bar's Yes
    };
    const Road roads[]{{"new, Save", false, "FileSave"}, {"new, Save As", false, "FileSaveas"}, {"new, Yes", false, nullptr},
                       {"saved, Save As", true, "FileSaveas"}, {"saved, Yes", true, nullptr}};
    for (const auto& road : roads) {
        SCOPED_TRACE(road.what);
        auto* window = road.saved ? SavedWindow(folder / "kept.rtf", "saved text") : NewWindow();
        drive::TypeText(*window->EditField1(), " and unsaved text");
        const auto files = Tree(folder, Aged);
        if (!road.item) drive::Click(*window->Canvas8());
        const auto before = LooksOf(*window);
        dialogs->calls.clear();
        if (road.item) Choose(*window, road.item);
        else drive::Click(*window->Canvas5());
        EXPECT_EQ(dialogs->CallsOf("save").size(), 1u);
        EXPECT_EQ(dialogs->calls.size(), 1u) << "something was told";
        EXPECT_EQ(LooksOf(*window), before);
        EXPECT_EQ(Tree(folder), files);
        EXPECT_TRUE(IsOpenWindow(window));
        EXPECT_EQ(drive::IsShown(*window->Rectangle1()), !road.item);
        drive::Focus(*window->EditField1());
        EXPECT_TRUE(drive::ShownMenuItem("FileSave").visible);
    }
}

// Every failure is told, naming the file and the reason, and leaves the window
// (title, document, text, dirty flag) and every file and folder as they were.
TEST_F(PlumoraSavingTest, AFailedSaveIsToldAndLeavesTheWindowAndTheFilesAsTheyWere) {
    struct Failure {
        const char* what;
        const char* saved;   // the window's file, saved before; none: a new window
        const char* item;
        const char* answer;  // the file chosen in the save dialog
        void (*cause)(const fs::path& folder);
        const char* reason;
    };
    const Failure failures[]{
        {"a read-only folder", "kept.rtf", "FileSave", nullptr,
         [](const fs::path& dir) { fs::permissions(dir, fs::perms(0555)); }, "Permission denied"},
        {"a file without write permission in an open folder", "readonly.rtf", "FileSave", nullptr,
         [](const fs::path& dir) { fs::permissions(dir / "readonly.rtf", fs::perms(0444)); }, "Permission denied"},
    };
    for (std::size_t i = 0; i < std::size(failures); ++i) {
        const auto& failure = failures[i];
        SCOPED_TRACE(failure.what);
        const auto dir = folder / std::to_string(i);
        fs::create_directories(failure.saved ? (dir / failure.saved).parent_path() : dir);
        fs::permissions(dir, fs::perms::all);
        auto* window = failure.saved ? SavedWindow(dir / failure.saved, "the saved words") : NewWindow();
        failure.cause(dir);
        if (failure.answer) AnswerSave(dir / failure.answer);
        TypeAtEnd(*window->EditField1(), " and new ones");
        const auto before = LooksOf(*window);
        const auto files = Tree(dir, Aged);
        dialogs->calls.clear();
        {
            AsOrdinaryUser user;
            Choose(*window, failure.item);
        }
        const auto message = OnlyMessage();
        const auto name = fs::path(failure.answer ? failure.answer : failure.saved).filename().string();
        EXPECT_NE(message.find(name), std::string::npos) << message;
        EXPECT_NE(message.find(failure.reason), std::string::npos) << message;
        EXPECT_EQ(LooksOf(*window), before);
        EXPECT_EQ(Tree(dir), files);
        EXPECT_EQ(dialogs->CallsOf("save").size(), failure.answer ? 1u : 0u);
        drive::Focus(*window->EditField1());
        EXPECT_TRUE(drive::ShownMenuItem("FileSave").visible);
    }
}

}  // namespace
