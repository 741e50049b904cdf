#include "tests/support/ApplicationTest.h"
#include "editor/Plumora.h"

#include "framework/EditField.h"
#include "framework/FolderItem.h"
#include "framework/RtfReader.h"
#include "framework/Runtime.h"
#include "framework/StyledText.h"
#include "framework/testing/ScriptedDialogs.h"
#include "framework/testing/TestDriver.h"
#include "shell/MenuLookups.h"
#include "shell/Startup.h"

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace drive = fw::testing;

// Root may write anywhere: the saves that must fail run as an ordinary user.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() {
        if (root_) ::setfsuid(65534);
    }
    ~AsOrdinaryUser() {
        if (root_) ::setfsuid(0);
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

private:
    bool root_ = ::geteuid() == 0;
};

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

std::string PlainTextOf(const fw::StyledText& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.paragraphs.size(); ++i) {
        if (i > 0) plain += '\r';
        for (const auto& run : text.paragraphs[i].runs) plain += run.text;
    }
    return plain;
}

// A window's state as a user sees it, to tell whether an action touched it.
struct Looks {
    std::string title;
    std::string text;
    std::shared_ptr<fw::FolderItem> document;
    bool changed = false;

    bool operator==(const Looks&) const = default;
};

void PrintTo(const Looks& looks, std::ostream* out) {
    *out << "title \"" << looks.title << "\", text \"" << looks.text << "\", document "
         << (looks.document ? looks.document->Path().string() : std::string("none")) << ", changed " << looks.changed;
}

Looks LooksOf(class Plumora& window) {
    return {window.Title(), window.EditField1()->Text(), window.Document, window.TextHasChanged};
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

class PlumoraSavingTest : public ApplicationTest {
protected:
    void SetUp() override {
        ApplicationTest::SetUp();
        ApplicationAddMenuHandlers();
        folder = fs::temp_directory_path() /
                 ("plumora-saving-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms(0755));
    }
    void TearDown() override {
        ApplicationTest::TearDown();
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(folder, ignored))
            if (entry.is_directory(ignored)) fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::permissions(folder, fs::perms::owner_all, ignored);
        fs::remove_all(folder, ignored);
    }

    static class Plumora* NewWindow() {
        auto* window = fw::MakeWindow<class Plumora>();
        drive::ProcessEvents();
        return window;
    }
    static class Plumora* Front() { return dynamic_cast<class Plumora*>(fw::WindowAt(0)); }
    static bool IsOpenWindow(const fw::Window* window) {
        for (int i = 0; i < fw::WindowCount(); ++i)
            if (fw::WindowAt(i) == window) return true;
        return false;
    }

    fs::path Write(const std::string& name, const std::string& content) {
        std::ofstream(folder / name, std::ios::binary) << content;
        return folder / name;
    }

    // The file's state, with its time set well into the past so that any
    // later write shows.
    static FileState Aged(const fs::path& path) {
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(48));
        return {ReadBytes(path), fs::last_write_time(path)};
    }
    static FileState StateOf(const fs::path& path) { return {ReadBytes(path), fs::last_write_time(path)}; }

    void AnswerSave(const fs::path& path) { dialogs->saveAnswers.push_back(std::make_shared<fw::FolderItem>(path)); }

    // Chooses the menu item with the document field focused, as a user who
    // clicked into the text and then into the menu does.
    static void Choose(class Plumora& window, const char* item) {
        drive::Focus(*window.EditField1());
        ASSERT_TRUE(drive::ChooseMenu(item)) << item << " could not be chosen";
    }

    // A window whose document was saved to name; its text is text.
    class Plumora* SavedWindow(const std::string& name, const std::string& text) {
        auto* window = NewWindow();
        drive::TypeText(*window->EditField1(), text);
        AnswerSave(folder / name);
        Choose(*window, "FileSave");
        EXPECT_FALSE(window->TextHasChanged);
        EXPECT_EQ(window->Title(), name);
        dialogs->calls.clear();
        return window;
    }

    // Opens the file through File > Open; the new window.
    class Plumora* Opened(const fs::path& path) {
        dialogs->openAnswers.push_back(std::make_shared<fw::FolderItem>(path));
        EXPECT_TRUE(drive::ChooseMenu("FileOpen"));
        dialogs->calls.clear();
        return Front();
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

    fs::path folder;
};

// ---- File > Save and File > Save As -----------------------------------------

TEST_F(PlumoraSavingTest, SaveInANewWindowAsksAndWritesTheStyledDocument) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "Hello bold world");
    field.SelStart(6);
    field.SelLength(4);
    field.SelBold(true);
    const auto path = folder / "letter.rtf";
    AnswerSave(path);
    Choose(*window, "FileSave");

    const auto asked = dialogs->CallsOf("save");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].filter, "text");
    EXPECT_EQ(asked[0].text, " Plumora");
    EXPECT_EQ(window->Title(), "letter.rtf");
    ASSERT_NE(window->Document, nullptr);
    EXPECT_EQ(window->Document->Path(), path);
    EXPECT_FALSE(window->TextHasChanged);
    drive::Focus(field);
    EXPECT_FALSE(drive::ShownMenuItem("FileSave").visible);
    EXPECT_TRUE(dialogs->CallsOf("msgbox").empty());

    const auto bytes = ReadBytes(path);
    ASSERT_TRUE(fw::LooksLikeRtf(bytes)) << bytes.substr(0, 40);
    const auto saved = fw::ReadRtf(bytes);
    EXPECT_EQ(PlainTextOf(saved), "Hello bold world");
    EXPECT_EQ(saved, field.GetStyledText());
    bool sawBold = false;
    for (const auto& paragraph : saved.paragraphs)
        for (const auto& run : paragraph.runs) {
            if (run.text == "bold") sawBold = run.style.bold;
            else EXPECT_FALSE(run.style.bold) << run.text;
        }
    EXPECT_TRUE(sawBold);
}

TEST_F(PlumoraSavingTest, SaveInASavedWindowWritesAgainWithoutAsking) {
    auto* window = SavedWindow("again.rtf", "first");
    drive::TypeText(*window->EditField1(), " second");
    Choose(*window, "FileSave");
    EXPECT_TRUE(dialogs->CallsOf("save").empty());
    EXPECT_FALSE(window->TextHasChanged);
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(folder / "again.rtf"))), window->EditField1()->Text());
    EXPECT_EQ(Entries(folder), std::set<std::string>{"again.rtf"});
}

TEST_F(PlumoraSavingTest, SaveInAnOpenedWindowWritesItsFileWithoutAsking) {
    const auto path = Write("opened.txt", "plain start");
    auto* window = Opened(path);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->Title(), "opened.txt");
    drive::Focus(*window->EditField1());
    window->EditField1()->SelStart(11);
    drive::TypeText(*window->EditField1(), " and more");
    Choose(*window, "FileSave");
    EXPECT_TRUE(dialogs->CallsOf("save").empty());
    EXPECT_FALSE(window->TextHasChanged);
    EXPECT_EQ(window->Title(), "opened.txt");
    // Saved as styled text, whatever the file held before.
    const auto bytes = ReadBytes(path);
    ASSERT_TRUE(fw::LooksLikeRtf(bytes));
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(bytes)), "plain start and more");
}

TEST_F(PlumoraSavingTest, CtrlSSavesAChangedDocumentToItsFileWithoutAsking) {
    auto* window = SavedWindow("keys.rtf", "typed");
    drive::TypeText(*window->EditField1(), " and saved by key");
    drive::PressKeys(*window, "Ctrl+S");
    EXPECT_TRUE(dialogs->CallsOf("save").empty());
    EXPECT_FALSE(window->TextHasChanged);
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(folder / "keys.rtf"))), "typed and saved by key");
}

TEST_F(PlumoraSavingTest, SaveAsAlwaysAsksProposingTheTitleAndMovesToTheNewFile) {
    auto* window = SavedWindow("old.rtf", "content");
    const auto old = Aged(folder / "old.rtf");
    drive::TypeText(*window->EditField1(), " changed");
    AnswerSave(folder / "new.rtf");
    Choose(*window, "FileSaveas");
    const auto asked = dialogs->CallsOf("save");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].filter, "text");
    EXPECT_EQ(asked[0].text, "old.rtf");
    EXPECT_EQ(window->Title(), "new.rtf");
    EXPECT_EQ(window->Document->Path(), folder / "new.rtf");
    EXPECT_FALSE(window->TextHasChanged);
    EXPECT_EQ(StateOf(folder / "old.rtf"), old) << "Save As touched the old file";
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(folder / "new.rtf"))), window->EditField1()->Text());

    // Save As in an unchanged window asks as well.
    dialogs->calls.clear();
    Choose(*window, "FileSaveas");
    EXPECT_EQ(dialogs->CallsOf("save").size(), 1u);
}

TEST_F(PlumoraSavingTest, SavingTheSameFileFromTwoWindowsKeepsTheLastSave) {
    auto* first = SavedWindow("shared.rtf", "from the first");
    auto* second = NewWindow();
    drive::TypeText(*second->EditField1(), "from the second");
    AnswerSave(folder / "shared.rtf");
    Choose(*second, "FileSave");
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(folder / "shared.rtf"))), "from the second");
    EXPECT_EQ(first->Title(), "shared.rtf");
    EXPECT_EQ(Entries(folder), std::set<std::string>{"shared.rtf"});
}

// ---- Cancelling the save dialog ----------------------------------------------

TEST_F(PlumoraSavingTest, CancelledSaveInANewWindowWritesAndChangesNothing) {
    for (const char* item : {"FileSave", "FileSaveas"}) {
        SCOPED_TRACE(item);
        auto* window = NewWindow();
        drive::TypeText(*window->EditField1(), "unsaved");
        const auto before = LooksOf(*window);
        dialogs->calls.clear();
        Choose(*window, item);
        EXPECT_EQ(dialogs->CallsOf("save").size(), 1u);
        EXPECT_EQ(LooksOf(*window), before);
        EXPECT_EQ(window->Title(), " Plumora");
        EXPECT_EQ(window->Document, nullptr);
        EXPECT_TRUE(Entries(folder).empty());
        EXPECT_TRUE(dialogs->CallsOf("msgbox").empty());
        drive::Focus(*window->EditField1());
        EXPECT_TRUE(drive::ShownMenuItem("FileSave").visible);
    }
}

TEST_F(PlumoraSavingTest, CancelledYesInANewWindowWritesAndChangesNothing) {
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "unsaved");
    drive::Click(*window->Canvas8());
    const auto before = LooksOf(*window);
    drive::Click(*window->Canvas5());
    EXPECT_EQ(dialogs->CallsOf("save").size(), 1u);
    EXPECT_EQ(LooksOf(*window), before);
    EXPECT_TRUE(Entries(folder).empty());
    EXPECT_TRUE(dialogs->CallsOf("msgbox").empty());
    EXPECT_TRUE(drive::IsShown(*window->Rectangle1()));
}

TEST_F(PlumoraSavingTest, CancelledSaveAsInAWindowWithADocumentWritesAndChangesNothing) {
    auto* window = SavedWindow("kept.rtf", "saved text");
    drive::TypeText(*window->EditField1(), " and unsaved text");
    const auto file = Aged(folder / "kept.rtf");
    const auto before = LooksOf(*window);
    Choose(*window, "FileSaveas");
    EXPECT_EQ(dialogs->CallsOf("save").size(), 1u);
    EXPECT_EQ(LooksOf(*window), before);
    EXPECT_TRUE(window->TextHasChanged);
    EXPECT_EQ(StateOf(folder / "kept.rtf"), file) << "the cancelled dialog wrote the file";
    EXPECT_EQ(Entries(folder), std::set<std::string>{"kept.rtf"});
}

TEST_F(PlumoraSavingTest, CancelledYesInAWindowWithADocumentWritesAndChangesNothing) {
    auto* window = SavedWindow("kept.rtf", "saved text");
    drive::TypeText(*window->EditField1(), " and unsaved text");
    const auto file = Aged(folder / "kept.rtf");
    drive::Click(*window->Canvas8());
    ASSERT_TRUE(drive::IsShown(*window->Rectangle1()));
    const auto before = LooksOf(*window);
    drive::Click(*window->Canvas5());
    ASSERT_EQ(dialogs->CallsOf("save").size(), 1u);
    EXPECT_EQ(dialogs->CallsOf("save")[0].text, "kept.rtf");
    EXPECT_EQ(LooksOf(*window), before);
    EXPECT_EQ(StateOf(folder / "kept.rtf"), file);
    EXPECT_TRUE(IsOpenWindow(window));
    EXPECT_TRUE(drive::IsShown(*window->Rectangle1()));
}

// ---- The close picture and the save-changes bar ------------------------------

TEST_F(PlumoraSavingTest, ClosePictureClosesAnEmptyWindowAtOnce) {
    auto* keep = NewWindow();
    auto* window = NewWindow();
    drive::Click(*window->Canvas8());
    EXPECT_FALSE(IsOpenWindow(window));
    EXPECT_EQ(fw::WindowCount(), 1);
    EXPECT_TRUE(IsOpenWindow(keep));
    EXPECT_TRUE(dialogs->calls.empty());
}

TEST_F(PlumoraSavingTest, ClosePictureClosesAWindowWhoseTextWasTypedAndDeleted) {
    NewWindow();
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "gone");
    for (int i = 0; i < 4; ++i) drive::PressKeys(*window, "Backspace");
    ASSERT_EQ(window->EditField1()->Text(), "");
    ASSERT_TRUE(window->TextHasChanged);
    drive::Click(*window->Canvas8());
    EXPECT_FALSE(IsOpenWindow(window));
    EXPECT_TRUE(dialogs->calls.empty()) << "closing an empty document asked or told something";
}

TEST_F(PlumoraSavingTest, ClosePictureOnAnEmptyWindowLeavesTheMenuBarAsItIs) {
    NewWindow();
    auto* window = NewWindow();
    window->MenuBarVisible(false);
    window->Canvas8()->RaiseMouseDown(4, 4);
    EXPECT_FALSE(window->IsOpen());
    EXPECT_FALSE(window->MenuBarVisible());
}

TEST_F(PlumoraSavingTest, ClosePictureWithTextShowsTheBarAndAllItsParts) {
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "text");
    for (auto* part : Bar(*window)) ASSERT_FALSE(drive::IsShown(*part)) << part->Name();
    drive::Click(*window->Canvas8());
    EXPECT_TRUE(IsOpenWindow(window));
    for (auto* part : Bar(*window)) EXPECT_TRUE(drive::IsShown(*part)) << part->Name();
    EXPECT_EQ(drive::ShownText(*window->StaticText1()), "Do you want to save the changes?");
    EXPECT_TRUE(dialogs->calls.empty());
    // Showing the bar disables nothing.
    EXPECT_TRUE(window->EditField1()->Enabled());
    drive::TypeText(*window->EditField1(), "!");
    EXPECT_EQ(window->EditField1()->Text(), "text!");
    // Again while shown: it stays shown.
    drive::Click(*window->Canvas8());
    EXPECT_TRUE(drive::IsShown(*window->Rectangle1()));
}

TEST_F(PlumoraSavingTest, ClosePictureShowsTheBarRightAfterASaveOrAnOpen) {
    auto* saved = SavedWindow("saved.rtf", "saved");
    drive::Click(*saved->Canvas8());
    EXPECT_TRUE(IsOpenWindow(saved));
    EXPECT_TRUE(drive::IsShown(*saved->Rectangle1()));

    auto* opened = Opened(Write("opened.txt", "opened"));
    ASSERT_NE(opened, nullptr);
    ASSERT_FALSE(opened->TextHasChanged);
    drive::Click(*opened->Canvas8());
    EXPECT_TRUE(IsOpenWindow(opened));
    EXPECT_TRUE(drive::IsShown(*opened->Rectangle1()));
}

TEST_F(PlumoraSavingTest, ClosePictureWithTheBarShownClosesOnceTheTextIsEmpty) {
    NewWindow();
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "x");
    drive::Click(*window->Canvas8());
    ASSERT_TRUE(drive::IsShown(*window->Rectangle1()));
    drive::PressKeys(*window, "Backspace");
    drive::Click(*window->Canvas8());
    EXPECT_FALSE(IsOpenWindow(window));
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
    EXPECT_EQ(asked[0].text, " Plumora");
    EXPECT_EQ(window->Title(), "yes.rtf");
    EXPECT_FALSE(window->TextHasChanged);
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(folder / "yes.rtf"))), "answer yes");
    EXPECT_TRUE(IsOpenWindow(window));
    EXPECT_TRUE(drive::IsShown(*window->Rectangle1()));

    // Yes asks again even now that the window has a file.
    dialogs->calls.clear();
    drive::Click(*window->Canvas5());
    ASSERT_EQ(dialogs->CallsOf("save").size(), 1u);
    EXPECT_EQ(dialogs->CallsOf("save")[0].text, "yes.rtf");
}

TEST_F(PlumoraSavingTest, NoClosesWithoutSaving) {
    NewWindow();
    auto* window = SavedWindow("untouched.rtf", "saved");
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

TEST_F(PlumoraSavingTest, CancelHidesTheBarAndEnablesTheToolbar) {
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "stay");
    drive::Click(*window->Canvas8());
    ASSERT_TRUE(drive::IsShown(*window->Rectangle1()));
    const std::vector<fw::RectControl*> eight = {window->EditField1(), window->cmnu(), window->Colorbutton(),
                                                 window->fontmenu(), window->sizemenu(), window->BoldButton(),
                                                 window->italicbutton(), window->underlinebutton()};
    for (auto* control : eight) control->Enabled(false);
    window->StaticText5()->Visible(false);

    drive::Click(*window->Canvas7());
    for (auto* part : Bar(*window)) EXPECT_FALSE(drive::IsShown(*part)) << part->Name();
    for (auto* control : eight) EXPECT_TRUE(control->Enabled()) << control->Name();
    EXPECT_TRUE(drive::IsShown(*window->StaticText5()));
    EXPECT_TRUE(IsOpenWindow(window));
    EXPECT_EQ(window->EditField1()->Text(), "stay");
    EXPECT_TRUE(dialogs->calls.empty());
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
    drive::RunInEventLoop(
        [finished] {
            if (!*finished) drive::StopEventLoop();
        },
        10000);
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

TEST_F(PlumoraSavingTest, AReadOnlyFolderIsToldAndLeavesFileWindowAndFolderAsTheyWere) {
    auto* window = SavedWindow("kept.rtf", "the saved words");
    const auto old = ReadBytes(folder / "kept.rtf");
    drive::TypeText(*window->EditField1(), " and new ones");
    const auto before = LooksOf(*window);
    fs::permissions(folder, fs::perms(0555));
    {
        AsOrdinaryUser user;
        Choose(*window, "FileSave");
    }
    const auto message = OnlyMessage();
    EXPECT_NE(message.find("kept.rtf"), std::string::npos) << message;
    EXPECT_NE(message.find("Permission denied"), std::string::npos) << message;
    EXPECT_EQ(LooksOf(*window), before);
    EXPECT_TRUE(window->TextHasChanged);
    EXPECT_EQ(ReadBytes(folder / "kept.rtf"), old);
    EXPECT_EQ(Entries(folder), std::set<std::string>{"kept.rtf"});
    drive::Focus(*window->EditField1());
    EXPECT_TRUE(drive::ShownMenuItem("FileSave").visible);
}

TEST_F(PlumoraSavingTest, ANewFileInAReadOnlyFolderIsToldAndTheWindowKeepsNoDocument) {
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "nowhere to go");
    fs::permissions(folder, fs::perms(0555));
    AnswerSave(folder / "new.rtf");
    {
        AsOrdinaryUser user;
        Choose(*window, "FileSave");
    }
    const auto message = OnlyMessage();
    EXPECT_NE(message.find("new.rtf"), std::string::npos) << message;
    EXPECT_NE(message.find("Permission denied"), std::string::npos) << message;
    EXPECT_EQ(window->Title(), " Plumora");
    EXPECT_EQ(window->Document, nullptr);
    EXPECT_TRUE(window->TextHasChanged);
    EXPECT_TRUE(Entries(folder).empty());
}

TEST_F(PlumoraSavingTest, AFailedSaveAsKeepsTheOldDocumentAndTitle) {
    auto* window = SavedWindow("home.rtf", "home");
    drive::TypeText(*window->EditField1(), " away");
    fs::create_directories(folder / "locked");
    fs::permissions(folder / "locked", fs::perms(0555));
    const auto before = LooksOf(*window);
    const auto file = Aged(folder / "home.rtf");
    AnswerSave(folder / "locked" / "away.rtf");
    {
        AsOrdinaryUser user;
        Choose(*window, "FileSaveas");
    }
    const auto message = OnlyMessage();
    EXPECT_NE(message.find("away.rtf"), std::string::npos) << message;
    EXPECT_EQ(LooksOf(*window), before);
    EXPECT_EQ(StateOf(folder / "home.rtf"), file);
    EXPECT_TRUE(Entries(folder / "locked").empty());
}

TEST_F(PlumoraSavingTest, ARemovedFolderIsToldAndTheWindowStaysAsItWas) {
    fs::create_directories(folder / "sub");
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "inside");
    AnswerSave(folder / "sub" / "doc.rtf");
    Choose(*window, "FileSave");
    ASSERT_FALSE(window->TextHasChanged);
    dialogs->calls.clear();
    fs::remove_all(folder / "sub");
    drive::TypeText(*window->EditField1(), " more");
    const auto before = LooksOf(*window);
    Choose(*window, "FileSave");
    const auto message = OnlyMessage();
    EXPECT_NE(message.find("doc.rtf"), std::string::npos) << message;
    EXPECT_NE(message.find("No such file or directory"), std::string::npos) << message;
    EXPECT_EQ(LooksOf(*window), before);
    EXPECT_TRUE(window->TextHasChanged);
    EXPECT_EQ(window->Title(), "doc.rtf");
    EXPECT_FALSE(fs::exists(folder / "sub"));
    EXPECT_TRUE(dialogs->CallsOf("save").empty());
}

TEST_F(PlumoraSavingTest, AFolderChosenAsTheFileIsToldAndLeftWhole) {
    fs::create_directories(folder / "Chapters");
    Write("Chapters/one.rtf", "{\\rtf1 one}");
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "not a folder");
    AnswerSave(folder / "Chapters");
    Choose(*window, "FileSave");
    const auto message = OnlyMessage();
    EXPECT_NE(message.find("Chapters"), std::string::npos) << message;
    EXPECT_NE(message.find("folder"), std::string::npos) << message;
    EXPECT_EQ(window->Title(), " Plumora");
    EXPECT_EQ(window->Document, nullptr);
    EXPECT_TRUE(window->TextHasChanged);
    ASSERT_TRUE(fs::is_directory(folder / "Chapters"));
    EXPECT_EQ(Entries(folder / "Chapters"), std::set<std::string>{"one.rtf"});
    EXPECT_EQ(ReadBytes(folder / "Chapters" / "one.rtf"), "{\\rtf1 one}");
    EXPECT_EQ(Entries(folder), std::set<std::string>{"Chapters"});
}

TEST_F(PlumoraSavingTest, AFileWithoutWritePermissionIsToldAndLeftWhole) {
    auto* window = SavedWindow("readonly.rtf", "protected words");
    drive::TypeText(*window->EditField1(), " and an attempt");
    fs::permissions(folder / "readonly.rtf", fs::perms(0444));
    // The folder itself is open to everyone: only the file is protected.
    fs::permissions(folder, fs::perms(0777));
    const auto file = Aged(folder / "readonly.rtf");
    const auto before = LooksOf(*window);
    {
        AsOrdinaryUser user;
        Choose(*window, "FileSave");
    }
    const auto message = OnlyMessage();
    EXPECT_NE(message.find("readonly.rtf"), std::string::npos) << message;
    EXPECT_NE(message.find("Permission denied"), std::string::npos) << message;
    EXPECT_EQ(LooksOf(*window), before);
    EXPECT_EQ(StateOf(folder / "readonly.rtf"), file) << "a file the user may not write was replaced";
    EXPECT_EQ(Entries(folder), std::set<std::string>{"readonly.rtf"});
}

TEST_F(PlumoraSavingTest, AfterAFailedSaveTheNextOneSucceeds) {
    auto* window = SavedWindow("retry.rtf", "one");
    drive::TypeText(*window->EditField1(), " two");
    fs::permissions(folder, fs::perms(0555));
    {
        AsOrdinaryUser user;
        Choose(*window, "FileSave");
    }
    ASSERT_TRUE(window->TextHasChanged);
    fs::permissions(folder, fs::perms(0755));
    dialogs->calls.clear();
    Choose(*window, "FileSave");
    EXPECT_TRUE(dialogs->calls.empty());
    EXPECT_FALSE(window->TextHasChanged);
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(folder / "retry.rtf"))), "one two");
}

// ---- How the file is replaced ---------------------------------------------------

TEST_F(PlumoraSavingTest, SavingLeavesNoTemporaryFileBehind) {
    auto* window = SavedWindow("clean.rtf", "one");
    for (const char* more : {" two", " three"}) {
        drive::TypeText(*window->EditField1(), more);
        Choose(*window, "FileSave");
    }
    EXPECT_EQ(Entries(folder), std::set<std::string>{"clean.rtf"});
}

TEST_F(PlumoraSavingTest, SavingKeepsThePermissionsOfTheFile) {
    auto* window = SavedWindow("private.rtf", "one");
    fs::permissions(folder / "private.rtf", fs::perms(0640));
    drive::TypeText(*window->EditField1(), " two");
    Choose(*window, "FileSave");
    struct stat info {};
    ASSERT_EQ(::stat((folder / "private.rtf").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(folder / "private.rtf"))), "one two");
}

TEST_F(PlumoraSavingTest, SavingThroughALinkReplacesTheFileItPointsToAndKeepsTheLink) {
    const auto real = Write("real.rtf", "old content");
    fs::create_symlink("real.rtf", folder / "link.rtf");
    auto* window = Opened(folder / "link.rtf");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Title(), "link.rtf");
    drive::TypeText(*window->EditField1(), "new ");
    Choose(*window, "FileSave");
    ASSERT_TRUE(fs::is_symlink(folder / "link.rtf"));
    EXPECT_EQ(fs::read_symlink(folder / "link.rtf"), fs::path("real.rtf"));
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(real))), window->EditField1()->Text());
    EXPECT_EQ(Entries(folder), (std::set<std::string>{"link.rtf", "real.rtf"}));
    EXPECT_TRUE(dialogs->CallsOf("msgbox").empty());
}

}  // namespace
