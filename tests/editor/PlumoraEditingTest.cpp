#include "tests/support/ApplicationTest.h"
#include "editor/Plumora.h"

#include "framework/EditField.h"
#include "framework/FolderItem.h"
#include "framework/MenuItem.h"
#include "framework/Runtime.h"
#include "framework/StyledText.h"
#include "framework/testing/ScriptedDialogs.h"
#include "framework/testing/TestDriver.h"
#include "shell/MenuLookups.h"
#include "shell/Startup.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace drive = fw::testing;

// Document windows with the application's menu bar and commands in place; a
// fresh folder for the files a test writes.
class PlumoraEditingTest : public ApplicationTest {
protected:
    void SetUp() override {
        ApplicationTest::SetUp();
        ApplicationAddMenuHandlers();
        folder = fs::temp_directory_path() /
                 ("plumora-editing-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        ApplicationTest::TearDown();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    static class Plumora* NewWindow() {
        auto* window = fw::MakeWindow<class Plumora>();
        drive::ProcessEvents();
        return window;
    }

    static class Plumora* Front() { return dynamic_cast<class Plumora*>(fw::WindowAt(0)); }

    // Opens the file through File > Open; the new window it gives.
    class Plumora* OpenThroughTheMenu(const std::string& name, const std::string& content) {
        const auto path = folder / name;
        std::ofstream(path, std::ios::binary) << content;
        dialogs->openAnswers.push_back(std::make_shared<fw::FolderItem>(path));
        const int before = fw::WindowCount();
        EXPECT_TRUE(drive::ChooseMenu("FileOpen"));
        EXPECT_EQ(fw::WindowCount(), before + 1);
        return Front();
    }

    // Saves the window's document through File > Save, answering the dialog
    // with a file of the test's folder.
    void SaveAs(class Plumora& window, const std::string& name) {
        dialogs->saveAnswers.push_back(std::make_shared<fw::FolderItem>(folder / name));
        drive::Focus(*window.EditField1());
        ASSERT_TRUE(drive::ChooseMenu("FileSaveas"));
        ASSERT_FALSE(window.TextHasChanged);
    }

    static std::string Label(class Plumora& window) { return drive::ShownText(*window.StaticText5()); }

    static void Select(fw::EditField& field, long start, long length) {
        field.SelStart(start);
        field.SelLength(length);
    }

    static bool BoldAt(fw::EditField& field, long position) {
        Select(field, position, 1);
        return field.SelBold();
    }
    static bool ItalicAt(fw::EditField& field, long position) {
        Select(field, position, 1);
        return field.SelItalic();
    }

    // Types text with the caret at its end.
    static void TypeAtEnd(fw::EditField& field, const std::string& text) {
        drive::Focus(field);
        field.SelStart(static_cast<long>(field.Text().size()));
        drive::TypeText(field, text);
    }

    // Copies a piece of the field's text to the clipboard through Edit > Copy.
    static void CopyToClipboard(fw::EditField& field, long start, long length) {
        drive::Focus(field);
        Select(field, start, length);
        ASSERT_TRUE(drive::ChooseMenu("EditCopy"));
    }

    fs::path folder;
};

// ---- Typing, the dirty flag and the word count ------------------------------

TEST_F(PlumoraEditingTest, NewWindowIsUnchangedAndCountsNoWords) {
    auto* window = NewWindow();
    EXPECT_FALSE(window->TextHasChanged);
    EXPECT_EQ(Label(*window), "There are: 0 Words.");
}

TEST_F(PlumoraEditingTest, TypingMarksTheWindowChangedAndUpdatesTheCountAtEveryKey) {
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "Hello");
    EXPECT_TRUE(window->TextHasChanged);
    EXPECT_EQ(Label(*window), "There are: 1 Words.");

    drive::TypeText(*window->EditField1(), " brave  new world ");
    EXPECT_EQ(window->EditField1()->Text(), "Hello brave  new world ");
    EXPECT_EQ(Label(*window), "There are: 4 Words.");
}

TEST_F(PlumoraEditingTest, LineBreaksAndTabsSeparateWords) {
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "first");
    drive::PressKeys(*window, "Return");
    drive::TypeText(*window->EditField1(), "second\tthird");
    ASSERT_EQ(window->EditField1()->Text(), "first\rsecond\tthird");
    EXPECT_EQ(Label(*window), "There are: 3 Words.");
}

TEST_F(PlumoraEditingTest, DeletingEverythingCountsNothingButStaysChanged) {
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "ab c");
    for (int i = 0; i < 4; ++i) drive::PressKeys(*window, "Backspace");
    ASSERT_EQ(window->EditField1()->Text(), "");
    EXPECT_EQ(Label(*window), "There are: 0 Words.");
    EXPECT_TRUE(window->TextHasChanged);
}

TEST_F(PlumoraEditingTest, EachWindowKeepsItsOwnFlagAndCount) {
    auto* first = NewWindow();
    drive::TypeText(*first->EditField1(), "one two three");
    auto* second = NewWindow();
    drive::TypeText(*second->EditField1(), "solo");
    EXPECT_EQ(Label(*first), "There are: 3 Words.");
    EXPECT_EQ(Label(*second), "There are: 1 Words.");

    auto* third = NewWindow();
    EXPECT_FALSE(third->TextHasChanged);
    EXPECT_TRUE(first->TextHasChanged);
}

// ---- The Save item ----------------------------------------------------------

TEST_F(PlumoraEditingTest, SaveItemIsShownExactlyWhileTheDocumentHasUnsavedChanges) {
    auto* window = NewWindow();
    drive::Focus(*window->EditField1());
    auto save = drive::ShownMenuItem("FileSave");
    ASSERT_TRUE(save.present);
    EXPECT_FALSE(save.visible) << "shown before any change";
    EXPECT_TRUE(drive::ShownMenuItem("FileSaveas").visible);

    drive::TypeText(*window->EditField1(), "draft");
    save = drive::ShownMenuItem("FileSave");
    EXPECT_TRUE(save.visible);
    EXPECT_TRUE(save.enabled);

    dialogs->saveAnswers.push_back(std::make_shared<fw::FolderItem>(folder / "draft.rtf"));
    ASSERT_TRUE(drive::ChooseMenu("FileSave"));
    ASSERT_FALSE(window->TextHasChanged);
    drive::Focus(*window->EditField1());
    EXPECT_FALSE(drive::ShownMenuItem("FileSave").visible) << "still shown after the save";
    EXPECT_TRUE(drive::ShownMenuItem("FileSaveas").visible);

    drive::TypeText(*window->EditField1(), " more");
    EXPECT_TRUE(drive::ShownMenuItem("FileSave").visible);
}

TEST_F(PlumoraEditingTest, AnOpenedFileShowsNoSaveItemUntilItChanges) {
    auto* window = OpenThroughTheMenu("opened.txt", "loaded text");
    ASSERT_NE(window, nullptr);
    drive::Focus(*window->EditField1());
    EXPECT_FALSE(drive::ShownMenuItem("FileSave").visible);
    EXPECT_EQ(Label(*window), "There are: 2 Words.");
    drive::TypeText(*window->EditField1(), "!");
    EXPECT_TRUE(drive::ShownMenuItem("FileSave").visible);
}

// ---- The context menu -------------------------------------------------------

TEST_F(PlumoraEditingTest, ContextMenuHoldsTheBarsOwnEditingItemsInOrder) {
    auto* window = NewWindow();
    fw::MenuItem base;
    ASSERT_TRUE(window->EditField1()->RaiseContextualMenu(base, 12, 7));
    ASSERT_EQ(base.Count(), 6);
    EXPECT_EQ(base.Item(0), EditCut());
    EXPECT_EQ(base.Item(1), EditCopy());
    EXPECT_EQ(base.Item(2), EditPaste());
    EXPECT_EQ(base.Item(3), EditClear());
    EXPECT_TRUE(base.Item(4)->IsSeparator());
    EXPECT_EQ(base.Item(4)->Name(), "");
    EXPECT_EQ(base.Item(5), EditSelectAll());
    EXPECT_EQ(base.Item(0)->Text(), "Cu&t");
    EXPECT_EQ(base.Item(3)->Text(), "&Delete");
    // The items stay in the menu bar as well.
    EXPECT_TRUE(drive::ShownMenuItem("EditCut").present);
    EXPECT_TRUE(drive::ShownMenuItem("EditSelectAll").present);
}

TEST_F(PlumoraEditingTest, EachContextMenuIsBuiltAfresh) {
    auto* window = NewWindow();
    fw::MenuItem first, second;
    window->EditField1()->RaiseContextualMenu(first, 0, 0);
    window->EditField1()->RaiseContextualMenu(second, 0, 0);
    ASSERT_EQ(second.Count(), 6);
    EXPECT_NE(first.Item(4), second.Item(4)) << "the separator is a new item each time";
}

TEST_F(PlumoraEditingTest, ContextMenuSelectAllAndCutAreTheFieldsOwn) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "cut me");
    ASSERT_TRUE(drive::ChooseContextMenuEntry(field, "Select &All"));
    EXPECT_EQ(field.SelLength(), 6);
    // The press of a right click gives the field the focus back after the
    // first menu; the driver opens the menu without a press.
    drive::Focus(field);
    ASSERT_TRUE(drive::ChooseContextMenuEntry(field, "Cu&t"));
    EXPECT_EQ(field.Text(), "");
    EXPECT_EQ(Label(*window), "There are: 0 Words.");
}

TEST_F(PlumoraEditingTest, ContextMenuPasteTakesTheSnapshotBeforeTheFieldPastes) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "hello world");
    CopyToClipboard(field, 6, 5);
    field.SelStart(11);
    ASSERT_TRUE(drive::ChooseContextMenuEntry(field, "&Paste"));
    EXPECT_EQ(field.Text(), "hello worldworld");
    EXPECT_EQ(window->EditField4()->Text(), "hello world");
    EXPECT_EQ(Label(*window), "There are: 2 Words.");

    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    EXPECT_EQ(field.Text(), "hello world");
}

TEST_F(PlumoraEditingTest, ContextMenuDeleteTakesTheSnapshotBeforeTheFieldDeletes) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "keep drop keep");
    drive::Focus(field);
    Select(field, 4, 5);
    ASSERT_TRUE(drive::ChooseContextMenuEntry(field, "&Delete"));
    EXPECT_EQ(field.Text(), "keep keep");
    EXPECT_EQ(window->EditField4()->Text(), "keep drop keep");
    EXPECT_EQ(Label(*window), "There are: 2 Words.");
}

// ---- Undo and Redo ----------------------------------------------------------

TEST_F(PlumoraEditingTest, UndoIsOffInANewWindowAndOnAfterTyping) {
    auto* window = NewWindow();
    drive::Focus(*window->EditField1());
    EXPECT_FALSE(drive::ShownMenuItem("EditUndo").enabled);
    EXPECT_FALSE(drive::ShownMenuItem("EditRedo").enabled);
    drive::TypeText(*window->EditField1(), "x");
    EXPECT_TRUE(drive::ShownMenuItem("EditUndo").enabled);
    EXPECT_FALSE(drive::ShownMenuItem("EditRedo").enabled);
}

TEST_F(PlumoraEditingTest, UndoAfterClickAndTypingGivesTheTextOfTheClick) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "Hello");
    drive::Click(field);
    ASSERT_EQ(window->EditField4()->Text(), "Hello");
    TypeAtEnd(field, " world, and more");
    ASSERT_EQ(field.Text(), "Hello world, and more");

    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    EXPECT_EQ(field.Text(), "Hello");
    EXPECT_EQ(window->EditField5()->Text(), "Hello world, and more");
    EXPECT_FALSE(EditUndo()->AutoEnable());
    EXPECT_TRUE(EditRedo()->AutoEnable());
    EXPECT_FALSE(drive::ShownMenuItem("EditUndo").enabled);
    EXPECT_TRUE(drive::ShownMenuItem("EditRedo").enabled);
}

TEST_F(PlumoraEditingTest, RedoPutsTheTypedTextBackAndUndoAgainGivesTheClickedAtText) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "Hello");
    drive::Click(field);
    TypeAtEnd(field, " world");

    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    ASSERT_EQ(field.Text(), "Hello");
    ASSERT_TRUE(drive::ChooseMenu("EditRedo"));
    EXPECT_EQ(field.Text(), "Hello world");
    EXPECT_TRUE(EditUndo()->AutoEnable());
    EXPECT_FALSE(EditRedo()->AutoEnable());
    EXPECT_FALSE(drive::ShownMenuItem("EditRedo").enabled);

    // Redo took no snapshot: Undo goes back to the click once more.
    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    EXPECT_EQ(field.Text(), "Hello");
    ASSERT_TRUE(drive::ChooseMenu("EditRedo"));
    EXPECT_EQ(field.Text(), "Hello world");
}

TEST_F(PlumoraEditingTest, TypingAfterUndoIsLostByRedo) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "base");
    drive::Click(field);
    TypeAtEnd(field, " typed");
    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    ASSERT_EQ(field.Text(), "base");

    TypeAtEnd(field, " lost");
    ASSERT_EQ(field.Text(), "base lost");
    // Typing switches Undo on and leaves Redo as it was.
    EXPECT_TRUE(drive::ShownMenuItem("EditUndo").enabled);
    EXPECT_TRUE(drive::ShownMenuItem("EditRedo").enabled);
    ASSERT_TRUE(drive::ChooseMenu("EditRedo"));
    EXPECT_EQ(field.Text(), "base typed");
}

TEST_F(PlumoraEditingTest, UndoWithoutASnapshotEmptiesTheDocumentAndRedoBringsItBack) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    // Typing without a click into the field takes no snapshot.
    drive::TypeText(field, "never clicked");
    ASSERT_EQ(window->EditField4()->Text(), "");
    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    EXPECT_EQ(field.Text(), "");
    EXPECT_EQ(Label(*window), "There are: 0 Words.");
    ASSERT_TRUE(drive::ChooseMenu("EditRedo"));
    EXPECT_EQ(field.Text(), "never clicked");
    EXPECT_EQ(Label(*window), "There are: 2 Words.");
}

TEST_F(PlumoraEditingTest, UndoInAnOpenedFileEmptiesItAndMarksItChanged) {
    auto* window = OpenThroughTheMenu("loaded.txt", "loaded from disk");
    ASSERT_NE(window, nullptr);
    auto& field = *window->EditField1();
    ASSERT_FALSE(window->TextHasChanged);
    // Loading is a change of the text: it switches Undo on, but takes no snapshot.
    drive::Focus(field);
    EXPECT_TRUE(drive::ShownMenuItem("EditUndo").enabled);
    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    EXPECT_EQ(field.Text(), "");
    EXPECT_TRUE(window->TextHasChanged);
    EXPECT_EQ(Label(*window), "There are: 0 Words.");
    ASSERT_TRUE(drive::ChooseMenu("EditRedo"));
    EXPECT_EQ(field.Text(), "loaded from disk");
    EXPECT_EQ(Label(*window), "There are: 3 Words.");
}

TEST_F(PlumoraEditingTest, UndoAndRedoMarkTheWindowChangedAndRecountTheWords) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "one two");
    drive::Click(field);
    TypeAtEnd(field, " three four five");
    SaveAs(*window, "counted.rtf");
    ASSERT_FALSE(window->TextHasChanged);
    ASSERT_EQ(Label(*window), "There are: 5 Words.");

    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    EXPECT_TRUE(window->TextHasChanged);
    EXPECT_EQ(Label(*window), "There are: 2 Words.");
    drive::Focus(field);
    EXPECT_TRUE(drive::ShownMenuItem("FileSave").visible);

    SaveAs(*window, "counted.rtf");
    ASSERT_TRUE(drive::ChooseMenu("EditRedo"));
    EXPECT_TRUE(window->TextHasChanged);
    EXPECT_EQ(Label(*window), "There are: 5 Words.");
    drive::Focus(field);
    EXPECT_TRUE(drive::ShownMenuItem("FileSave").visible);
}

TEST_F(PlumoraEditingTest, StyledTextThatIsUndoneComesBackPlain) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "bold words");
    Select(field, 0, 10);
    field.SelBold(true);
    field.SelItalic(true);
    ASSERT_TRUE(BoldAt(field, 0));
    drive::Click(field);
    drive::Focus(field);
    Select(field, 0, 10);
    ASSERT_TRUE(drive::ChooseMenu("EditClear"));
    ASSERT_EQ(field.Text(), "");
    ASSERT_EQ(window->EditField4()->Text(), "bold words");

    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    ASSERT_EQ(field.Text(), "bold words");
    for (const auto& paragraph : field.GetStyledText().paragraphs)
        for (const auto& run : paragraph.runs) {
            EXPECT_FALSE(run.style.bold) << run.text;
            EXPECT_FALSE(run.style.italic) << run.text;
        }
}

TEST_F(PlumoraEditingTest, UndoAndRedoKeepTheStylesOfTheTextTheyDoNotTouch) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "Bold middle End");
    Select(field, 0, 4);
    field.SelBold(true);
    Select(field, 12, 3);
    field.SelItalic(true);
    drive::Click(field);
    ASSERT_EQ(window->EditField4()->Text(), "Bold middle End");
    drive::Focus(field);
    field.SelStart(11);
    drive::TypeText(field, " part");
    ASSERT_EQ(field.Text(), "Bold middle part End");

    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    ASSERT_EQ(field.Text(), "Bold middle End");
    for (long i = 0; i < 4; ++i) EXPECT_TRUE(BoldAt(field, i)) << "character " << i;
    for (long i = 4; i < 15; ++i) EXPECT_FALSE(BoldAt(field, i)) << "character " << i;
    for (long i = 12; i < 15; ++i) EXPECT_TRUE(ItalicAt(field, i)) << "character " << i;
    for (long i = 0; i < 12; ++i) EXPECT_FALSE(ItalicAt(field, i)) << "character " << i;

    ASSERT_TRUE(drive::ChooseMenu("EditRedo"));
    ASSERT_EQ(field.Text(), "Bold middle part End");
    for (long i = 0; i < 4; ++i) EXPECT_TRUE(BoldAt(field, i)) << "character " << i;
    for (long i = 4; i < 20; ++i) EXPECT_FALSE(BoldAt(field, i)) << "character " << i;
    for (long i = 17; i < 20; ++i) EXPECT_TRUE(ItalicAt(field, i)) << "character " << i;
    // The restored middle takes the style of the plain text before it.
    for (long i = 11; i < 16; ++i) EXPECT_FALSE(ItalicAt(field, i)) << "character " << i;
}

// Text outside the Basic Multilingual Plane is two UTF-16 units: a change in
// the second unit of a character must replace the whole character.
TEST_F(PlumoraEditingTest, UndoAndRedoRestoreCharactersBeyondTheBasicPlaneWhole) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    const std::string grin = "\xF0\x9F\x98\x80 \xE4\xBD\xA0\xE5\xA5\xBD \xF0\x9F\x98\x81";
    const std::string tears = "\xF0\x9F\x98\x80 \xE4\xBD\xA0\xE5\xA5\xBD \xF0\x9F\x98\x82";
    field.Text(grin);
    drive::Click(field);
    ASSERT_EQ(window->EditField4()->Text(), grin);
    field.Text(tears);
    ASSERT_EQ(field.Text(), tears);
    EXPECT_EQ(Label(*window), "There are: 3 Words.");

    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    EXPECT_EQ(field.Text(), grin);
    ASSERT_TRUE(drive::ChooseMenu("EditRedo"));
    EXPECT_EQ(field.Text(), tears);
    EXPECT_EQ(Label(*window), "There are: 3 Words.");
}

// ---- Paste and Delete from the menu bar and the keyboard --------------------

TEST_F(PlumoraEditingTest, MenuPasteTakesTheSnapshotBeforeTheFieldPastes) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "copy this");
    CopyToClipboard(field, 0, 4);
    field.SelStart(9);
    ASSERT_TRUE(drive::ChooseMenu("EditPaste"));
    EXPECT_EQ(field.Text(), "copy thiscopy");
    EXPECT_EQ(window->EditField4()->Text(), "copy this");
    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    EXPECT_EQ(field.Text(), "copy this");
    ASSERT_TRUE(drive::ChooseMenu("EditRedo"));
    EXPECT_EQ(field.Text(), "copy thiscopy");
}

TEST_F(PlumoraEditingTest, MenuDeleteTakesTheSnapshotBeforeTheFieldDeletes) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "alpha beta gamma");
    drive::Focus(field);
    Select(field, 5, 5);
    ASSERT_TRUE(drive::ChooseMenu("EditClear"));
    EXPECT_EQ(field.Text(), "alpha gamma");
    EXPECT_EQ(window->EditField4()->Text(), "alpha beta gamma");
    EXPECT_EQ(Label(*window), "There are: 2 Words.");
    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    EXPECT_EQ(field.Text(), "alpha beta gamma");
}

TEST_F(PlumoraEditingTest, CtrlVTakesTheSnapshotBeforeTheFieldPastes) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "key paste");
    CopyToClipboard(field, 4, 5);
    field.SelStart(0);
    drive::PressKeys(*window, "Ctrl+V");
    EXPECT_EQ(field.Text(), "pastekey paste");
    EXPECT_EQ(window->EditField4()->Text(), "key paste");
    EXPECT_EQ(Label(*window), "There are: 2 Words.");
}

TEST_F(PlumoraEditingTest, PasteIntoALockedFieldChangesNothing) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "locked");
    CopyToClipboard(field, 0, 6);
    field.SelStart(6);
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    drive::PressKeys(*window, "Ctrl+V");
    drive::TypeText(field, "typed");
    EXPECT_EQ(field.Text(), "locked");
}

// ---- Undo and Redo are shared by every window -------------------------------

TEST_F(PlumoraEditingTest, UndoAndRedoSwitchesAreSharedAcrossWindows) {
    auto* first = NewWindow();
    drive::TypeText(*first->EditField1(), "first text");
    ASSERT_TRUE(drive::ShownMenuItem("EditUndo").enabled);

    // A second window switches both off, for the first one as well.
    auto* second = NewWindow();
    drive::Focus(*first->EditField1());
    ASSERT_EQ(Front(), first);
    EXPECT_FALSE(drive::ShownMenuItem("EditUndo").enabled);
    EXPECT_FALSE(drive::ShownMenuItem("EditRedo").enabled);

    // Undo in the second window switches Redo on for the first one too.
    drive::TypeText(*second->EditField1(), "second");
    ASSERT_EQ(Front(), second);
    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    EXPECT_EQ(second->EditField1()->Text(), "");
    drive::Focus(*first->EditField1());
    ASSERT_EQ(Front(), first);
    EXPECT_FALSE(drive::ShownMenuItem("EditUndo").enabled);
    EXPECT_TRUE(drive::ShownMenuItem("EditRedo").enabled);

    // Redo in the first window works on its own snapshots: it had no Undo, so
    // its redo snapshot is empty.
    ASSERT_TRUE(drive::ChooseMenu("EditRedo"));
    EXPECT_EQ(first->EditField1()->Text(), "");
    EXPECT_EQ(second->EditField1()->Text(), "");
}

TEST_F(PlumoraEditingTest, SnapshotsBelongToTheirWindow) {
    auto* first = NewWindow();
    drive::TypeText(*first->EditField1(), "mine");
    drive::Click(*first->EditField1());
    auto* second = NewWindow();
    drive::TypeText(*second->EditField1(), "yours");
    drive::Click(*second->EditField1());
    TypeAtEnd(*second->EditField1(), " too");
    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    EXPECT_EQ(second->EditField1()->Text(), "yours");
    EXPECT_EQ(first->EditField1()->Text(), "mine");
    EXPECT_EQ(first->EditField4()->Text(), "mine");
    EXPECT_EQ(first->EditField5()->Text(), "");
}

// ---- Format > Locked --------------------------------------------------------

TEST_F(PlumoraEditingTest, LockedSetsTheMarkAndDisablesTheFieldAndAgainUndoesBoth) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "text");
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    EXPECT_TRUE(FormatLocked()->Checked());
    EXPECT_TRUE(drive::ShownMenuItem("FormatLocked").checked);
    EXPECT_FALSE(field.Enabled());
    drive::TypeText(field, " more");
    EXPECT_EQ(field.Text(), "text") << "a locked document took typing";

    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    EXPECT_FALSE(FormatLocked()->Checked());
    EXPECT_FALSE(drive::ShownMenuItem("FormatLocked").checked);
    EXPECT_TRUE(field.Enabled());
    TypeAtEnd(field, " more");
    EXPECT_EQ(field.Text(), "text more");
}

TEST_F(PlumoraEditingTest, LockedInAnotherWindowClearsTheMarkAndLeavesTheFirstLocked) {
    auto* first = NewWindow();
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    ASSERT_FALSE(first->EditField1()->Enabled());
    ASSERT_TRUE(FormatLocked()->Checked());

    auto* second = NewWindow();
    ASSERT_EQ(Front(), second);
    EXPECT_TRUE(drive::ShownMenuItem("FormatLocked").checked) << "the mark is one for all windows";
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    EXPECT_FALSE(FormatLocked()->Checked());
    EXPECT_TRUE(second->EditField1()->Enabled());
    EXPECT_FALSE(first->EditField1()->Enabled());
}

TEST_F(PlumoraEditingTest, SaveBarCancelUnlocksTheFieldButKeepsTheMark) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "guarded");
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    ASSERT_FALSE(field.Enabled());

    drive::Click(*window->Canvas8());
    ASSERT_TRUE(drive::IsShown(*window->Rectangle1()));
    drive::Click(*window->Canvas7());
    EXPECT_TRUE(field.Enabled());
    EXPECT_TRUE(FormatLocked()->Checked());
    TypeAtEnd(field, "!");
    EXPECT_EQ(field.Text(), "guarded!");

    // The next Locked reads the mark: it clears it and leaves the field enabled.
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    EXPECT_FALSE(FormatLocked()->Checked());
    EXPECT_TRUE(field.Enabled());
}

}  // namespace
