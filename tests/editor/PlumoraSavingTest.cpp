#include "tests/support/ApplicationTest.h"
#include "editor/Plumora.h"

#include "framework/ui/EditField.h"
#include "framework/text/RtfReader.h"
#include "framework/text/StyledText.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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

    static std::vector<fw::RectControl*> Bar(class Plumora& window) {
        return {window.Rectangle1(), window.StaticText1(), window.Canvas5(), window.Canvas6(), window.Canvas7()};
    }
};

// ---- File > Save and File > Save As -----------------------------------------

TEST_F(PlumoraSavingTest, SaveInANewWindowAsksAndWritesTheStyledDocument) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "Hello bold world");
    field.SelStart(6);
    field.SelLength(4);
    field.SelBold(true);
    AnswerSave(folder / "letter.rtf");
    Choose(*window, "FileSave");

    const auto asked = dialogs->CallsOf("save");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].filter, "text");
    EXPECT_EQ(asked[0].text, (fw::DocumentsFolder()->Path() / "Plumora").string()) << "the title, trimmed";
    EXPECT_EQ(window->Title(), "letter.rtf");
    EXPECT_FALSE(window->TextHasChanged);

    const auto bytes = ReadBytes(folder / "letter.rtf");
    ASSERT_TRUE(fw::LooksLikeRtf(bytes)) << bytes.substr(0, 40);
    const auto saved = fw::ReadRtf(bytes);
    EXPECT_EQ(saved, field.GetStyledText());
    for (const auto& paragraph : saved.paragraphs)
        for (const auto& run : paragraph.runs) EXPECT_EQ(run.style.bold, run.text == "bold") << run.text;
}

TEST_F(PlumoraSavingTest, SaveInAWindowWithAFileWritesItAgainWithoutAsking) {
    struct Road {
        const char* file;
        bool opened;  // opened through File > Open rather than saved
        bool byKey;   // Ctrl+S rather than File > Save
    };
    for (const auto& road : {Road{"again.rtf", false, false}, Road{"opened.rtf", true, false}, Road{"keys.rtf", false, true}}) {
        SCOPED_TRACE(road.file);
        auto* window = road.opened ? Open(Write(road.file, "{\\rtf1\\ansi plain start}"))
                                   : SavedWindow(folder / road.file, "plain start");
        ASSERT_NE(window, nullptr);
        dialogs->calls.clear();
        TypeAtEnd(*window->EditField1(), " and more");
        if (road.byKey) drive::PressKeys(*window, "Ctrl+S");
        else Choose(*window, "FileSave");
        EXPECT_TRUE(dialogs->calls.empty());
        EXPECT_FALSE(window->TextHasChanged);
        EXPECT_EQ(window->Title(), road.file);
        ASSERT_TRUE(fw::LooksLikeRtf(ReadBytes(folder / road.file)));
        EXPECT_EQ(SavedText(folder / road.file), "plain start and more");
    }
    // Replacing the files left nothing else behind.
    EXPECT_EQ(Entries(folder), (std::set<std::string>{"again.rtf", "keys.rtf", "opened.rtf"}));
}

// A plain-text file is never written over in RTF: Save asks for a file,
// proposing the name with ".rtf" beside it.
TEST_F(PlumoraSavingTest, SaveOfAPlainTextDocumentAsksForAnRtfFileBesideIt) {
    const auto notes = Write("notes.txt", "plain start\n");
    auto* window = Open(notes);
    ASSERT_NE(window, nullptr);
    TypeAtEnd(*window->EditField1(), " and more");
    drive::PressKeys(*window, "Ctrl+S");
    ASSERT_EQ(dialogs->CallsOf("save").size(), 1u);
    EXPECT_EQ(dialogs->CallsOf("save")[0].text, (folder / "notes.rtf").string());
    EXPECT_EQ(ReadBytes(notes), "plain start\n") << "a cancelled dialog";
    EXPECT_TRUE(window->TextHasChanged);

    AnswerSave(folder / "notes.rtf");
    Choose(*window, "FileSave");
    EXPECT_EQ(ReadBytes(notes), "plain start\n");
    EXPECT_EQ(SavedText(folder / "notes.rtf"), "plain start and more");
    EXPECT_EQ(window->Title(), "notes.rtf");
}

// Justified paragraphs are shown justified, reported as 4 and written \\qj.
TEST_F(PlumoraSavingTest, AJustifiedParagraphStaysJustified) {
    auto* opened = Open(Write("justified.rtf", "{\\rtf1\\ansi\\qj Both margins\\par\\pard\\qc centred\\par}"));
    auto& field = *opened->EditField1();
    field.SelStart(0);
    EXPECT_EQ(field.SelAlignment(), 4);
    field.SelStart(14);
    EXPECT_EQ(field.SelAlignment(), 2);
    AnswerSave(folder / "out.rtf");
    Choose(*opened, "FileSaveas");
    const auto written = fw::ReadRtf(ReadBytes(folder / "out.rtf"));
    ASSERT_FALSE(written.paragraphs.empty());
    EXPECT_EQ(written.paragraphs[0].alignment, fw::Alignment::Justify);
    EXPECT_NE(ReadBytes(folder / "out.rtf").find("\\qj"), std::string::npos);
}

TEST_F(PlumoraSavingTest, SaveAsAlwaysAsksProposingTheTitleAndMovesToTheNewFile) {
    auto* window = SavedWindow(folder / "old.rtf", "content");
    const auto old = Aged(folder / "old.rtf");
    drive::TypeText(*window->EditField1(), " changed");
    AnswerSave(folder / "new.rtf");
    Choose(*window, "FileSaveas");
    const auto asked = dialogs->CallsOf("save");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].filter, "text");
    EXPECT_EQ(asked[0].text, (folder / "old.rtf").string());
    EXPECT_EQ(window->Title(), "new.rtf");
    EXPECT_EQ(window->Document->Path(), folder / "new.rtf");
    EXPECT_FALSE(window->TextHasChanged);
    EXPECT_EQ(StateOf(folder / "old.rtf"), old) << "Save As touched the old file";
    EXPECT_EQ(SavedText(folder / "new.rtf"), window->EditField1()->Text());

    // Save As in an unchanged window asks as well.
    dialogs->calls.clear();
    Choose(*window, "FileSaveas");
    EXPECT_EQ(dialogs->CallsOf("save").size(), 1u);
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

// ---- The close picture and the save-changes bar ------------------------------

TEST_F(PlumoraSavingTest, TheClosePictureClosesAWindowWithoutTextAndShowsTheBarOverAnyOther) {
    struct Case {
        const char* what;
        std::vector<const char*> steps;  // text typed, or the key pressed or the close picture clicked
        bool closes;
    };
    const Case cases[]{
        {"new", {}, true},
        {"typed and deleted", {"go", "Backspace", "Backspace"}, true},
        {"emptied while the bar is shown", {"x", "close", "Backspace"}, true},
        {"typed", {"text"}, false},
    };
    auto* stays = NewWindow();
    std::vector<std::tuple<const char*, class Plumora*, bool>> windows;
    for (const auto& c : cases) {
        auto* window = std::get<1>(windows.emplace_back(c.what, NewWindow(), c.closes));
        for (const std::string step : c.steps) {
            if (step == "close") drive::Click(*window->Canvas8());
            else if (step == "Backspace") drive::PressKeys(*window, step);
            else drive::TypeText(*window->EditField1(), step);
        }
    }
    // A document just saved or opened is unchanged, but has text.
    windows.emplace_back("just saved", SavedWindow(folder / "saved.rtf", "saved"), false);
    windows.emplace_back("just opened", Open(Write("opened.txt", "opened")), false);
    dialogs->calls.clear();
    for (const auto& [what, window, closes] : windows) {
        SCOPED_TRACE(what);
        drive::Click(*window->Canvas8());
        EXPECT_EQ(IsOpenWindow(window), !closes);
        if (closes) continue;
        for (auto* part : Bar(*window)) EXPECT_TRUE(drive::IsShown(*part)) << part->Name();
        // Again while shown: it stays shown.
        drive::Click(*window->Canvas8());
        EXPECT_TRUE(drive::IsShown(*window->Rectangle1()));
    }
    EXPECT_TRUE(dialogs->calls.empty());
    EXPECT_TRUE(IsOpenWindow(stays));
}

TEST_F(PlumoraSavingTest, TheBarAsksLeavesEditingOnAndCancelHidesItAndEnablesTheToolbar) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "stay");
    drive::Click(*window->Canvas8());
    EXPECT_EQ(drive::ShownText(*window->StaticText1()), "Do you want to save the changes?");
    // Showing the bar disables nothing.
    drive::TypeText(field, "!");
    EXPECT_EQ(field.Text(), "stay!");

    const std::vector<fw::RectControl*> eight = {&field, window->cmnu(), window->Colorbutton(), window->fontmenu(),
                                                 window->sizemenu(), window->BoldButton(), window->italicbutton(),
                                                 window->underlinebutton()};
    for (auto* control : eight) control->Enabled(false);
    window->StaticText5()->Visible(false);
    drive::Click(*window->Canvas7());
    for (auto* part : Bar(*window)) EXPECT_FALSE(drive::IsShown(*part)) << part->Name();
    for (auto* control : eight) EXPECT_TRUE(control->Enabled()) << control->Name();
    EXPECT_TRUE(drive::IsShown(*window->StaticText5()));
    EXPECT_TRUE(IsOpenWindow(window));
    EXPECT_EQ(field.Text(), "stay!");
    EXPECT_TRUE(dialogs->calls.empty());
}

TEST_F(PlumoraSavingTest, YesAsksWithTheTitleAndKeepsTheBarAndTheWindow) {
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "answer yes");
    drive::Click(*window->Canvas8());
    AnswerSave(folder / "yes.rtf");
    drive::Click(*window->Canvas5());
    const auto asked = dialogs->CallsOf("save");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].filter, "text");
    EXPECT_EQ(asked[0].text, (fw::DocumentsFolder()->Path() / "Plumora").string());
    EXPECT_EQ(window->Title(), "yes.rtf");
    EXPECT_FALSE(window->TextHasChanged);
    EXPECT_EQ(SavedText(folder / "yes.rtf"), "answer yes");
    EXPECT_TRUE(IsOpenWindow(window));
    EXPECT_TRUE(drive::IsShown(*window->Rectangle1()));

    // Yes asks again even now that the window has a file.
    dialogs->calls.clear();
    drive::Click(*window->Canvas5());
    ASSERT_EQ(dialogs->CallsOf("save").size(), 1u);
    EXPECT_EQ(dialogs->CallsOf("save")[0].text, (folder / "yes.rtf").string());
}

TEST_F(PlumoraSavingTest, NoClosesWithoutSaving) {
    NewWindow();
    auto* window = SavedWindow(folder / "untouched.rtf", "saved");
    drive::TypeText(*window->EditField1(), " but not this");
    const auto file = Aged(folder / "untouched.rtf");
    drive::Click(*window->Canvas8());
    drive::Click(*window->Canvas6());
    EXPECT_FALSE(IsOpenWindow(window));
    EXPECT_TRUE(dialogs->calls.empty());
    EXPECT_EQ(StateOf(folder / "untouched.rtf"), file);
}

TEST_F(PlumoraSavingTest, NoGivesAFullScreenWindowItsMenuBarBackBeforeClosing) {
    NewWindow();
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "full screen");
    window->FullScreen(true);
    window->MenuBarVisible(false);
    drive::Click(*window->Canvas8());
    // The handler runs as the press would run it; the window is released
    // only by the next round of events, so its state can still be read.
    window->Canvas6()->RaiseMouseDown(4, 4);
    EXPECT_TRUE(window->MenuBarVisible());
    EXPECT_FALSE(window->IsOpen());
}

// ---- The last window ----------------------------------------------------------

TEST_F(PlumoraSavingTest, ClosingTheLastWindowWhileRunningQuitsAndAnEarlierOneDoesNot) {
    auto* first = NewWindow();
    auto* second = NewWindow();
    drive::TypeText(*second->EditField1(), "to be dropped");
    auto stillRunning = std::make_shared<bool>(false);
    auto finished = std::make_shared<bool>(false);
    drive::RunInEventLoop([first] { drive::Click(*first->Canvas8()); }, 0);
    drive::RunInEventLoop(
        [second, stillRunning] {
            *stillRunning = true;
            drive::Click(*second->Canvas8());
            drive::Click(*second->Canvas6());
        },
        50);
    // The safety net, should the loop not end by itself.
    drive::RunInEventLoop([finished] { if (!*finished) drive::StopEventLoop(); }, 10000);
    const auto started = std::chrono::steady_clock::now();
    fw::RuntimeRun();
    *finished = true;
    EXPECT_TRUE(*stillRunning) << "the loop ended when the first of two windows closed";
    EXPECT_EQ(fw::WindowCount(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5))
        << "the loop ran on after the last window closed";
    EXPECT_EQ(drive::TakeEscapedException(), "");
}

// ---- Saves that fail ----------------------------------------------------------

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
        {"a new file in a read-only folder", nullptr, "FileSave", "new.rtf",
         [](const fs::path& dir) { fs::permissions(dir, fs::perms(0555)); }, "Permission denied"},
        {"Save As into a read-only folder", "home.rtf", "FileSaveas", "locked/away.rtf",
         [](const fs::path& dir) {
             fs::create_directories(dir / "locked");
             fs::permissions(dir / "locked", fs::perms(0555));
         },
         "Permission denied"},
        {"a file without write permission in an open folder", "readonly.rtf", "FileSave", nullptr,
         [](const fs::path& dir) { fs::permissions(dir / "readonly.rtf", fs::perms(0444)); }, "Permission denied"},
        {"a removed folder", "sub/doc.rtf", "FileSave", nullptr,
         [](const fs::path& dir) { fs::remove_all(dir / "sub"); }, "No such file or directory"},
        {"a folder chosen as the file", nullptr, "FileSave", "Chapters",
         [](const fs::path& dir) {
             fs::create_directories(dir / "Chapters");
             std::ofstream(dir / "Chapters" / "one.rtf") << "{\\rtf1 one}";
         },
         "folder"},
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

// ---- How the file is replaced ---------------------------------------------------

TEST_F(PlumoraSavingTest, SavingKeepsThePermissionsOfTheFile) {
    auto* window = SavedWindow(folder / "private.rtf", "one");
    fs::permissions(folder / "private.rtf", fs::perms(0640));
    drive::TypeText(*window->EditField1(), " two");
    Choose(*window, "FileSave");
    struct stat info {};
    ASSERT_EQ(::stat((folder / "private.rtf").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(SavedText(folder / "private.rtf"), "one two");
}

TEST_F(PlumoraSavingTest, SavingThroughALinkReplacesTheFileItPointsToAndKeepsTheLink) {
    const auto real = Write("real.rtf", "{\\rtf1 old content}");
    fs::create_symlink("real.rtf", folder / "link.rtf");
    auto* window = Open(folder / "link.rtf");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Title(), "link.rtf");
    drive::TypeText(*window->EditField1(), "new ");
    Choose(*window, "FileSave");
    ASSERT_TRUE(fs::is_symlink(folder / "link.rtf"));
    EXPECT_EQ(fs::read_symlink(folder / "link.rtf"), fs::path("real.rtf"));
    EXPECT_EQ(SavedText(real), window->EditField1()->Text());
    EXPECT_EQ(Entries(folder), (std::set<std::string>{"link.rtf", "real.rtf"}));
    EXPECT_TRUE(dialogs->CallsOf("msgbox").empty());
}

}  // namespace
