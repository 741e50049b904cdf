#include "tests/support/ApplicationTest.h"

namespace {

namespace drive = fw::testing;

class PlumoraEditingTest : public ApplicationTest {
protected:
    static bool Enabled(const char* item) { return drive::ShownMenuItem(item).enabled; }

    // Copies a piece of the field's text to the clipboard through Edit > Copy.
    static void CopyToClipboard(fw::EditField& field, long start, long length) {
        drive::Focus(field);
        Select(field, start, length);
        ASSERT_TRUE(drive::ChooseMenu("EditCopy"));
    }
};

TEST_F(PlumoraEditingTest, PasteAndDeleteOfEveryRoadTakeTheSnapshotBeforeTheFieldChanges) {
    const struct {
        const char* how;  // the keys pressed, the menu item chosen or, with an "&", the context menu entry chosen
        const char* text;
        long copyStart, copyLength;  // copied to the clipboard first when the length is not 0
        long selStart, selLength;
        const char* after;
    } roads[]{
        // clang-format off
        {"&Paste", "hello world", 6, 5, 11, 0, "hello worldworld"},
        {"&Delete", "keep drop keep", 0, 0, 4, 5, "keep keep"}, {"EditPaste", "copy this", 0, 4, 9, 0, "copy thiscopy"},
        {"EditClear", "alpha beta gamma", 0, 0, 5, 5, "alpha gamma"},
        {"Ctrl+V", "key paste", 4, 5, 0, 0, "pastekey paste"}, {"Drop", "drop here", 0, 4, 9, 0, "drop heredrop"},
        {"Shift+Ins", "shift insert", 6, 6, 0, 0, "insertshift insert"},
        // clang-format on
    };
    for (const auto& road : roads) {
        SCOPED_TRACE(road.how);
        const std::string how = road.how;
        auto* window = NewWindow();
        auto& field = *window->EditField1();
        drive::TypeText(field, road.text);
        if (road.copyLength) CopyToClipboard(field, road.copyStart, road.copyLength);
        drive::Focus(field);
        Select(field, road.selStart, road.selLength);
        if (how == "Drop") drive::DropText(field, std::string(road.text).substr(road.copyStart, road.copyLength));
        else if (how.starts_with("Ctrl+") || how.starts_with("Shift+")) drive::PressKeys(*window, how);
        else ASSERT_TRUE(how[0] == '&' ? drive::ChooseContextMenuEntry(field, how) : drive::ChooseMenu(how));
        EXPECT_EQ(field.Text(), road.after);
        EXPECT_EQ(window->EditField4()->Text(), road.text);
        EXPECT_EQ(window->StaticText5()->Text(), "There are: 2 Words.");
        ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
        EXPECT_EQ(field.Text(), road.text);
        ASSERT_TRUE(drive::ChooseMenu("EditRedo"));
        EXPECT_EQ(field.Text(), road.after);
    }
}

// A click into the document takes the snapshot; Undo swaps it with the text,
// Redo puts the text of the Undo back and takes no snapshot. Neither typing
// without a click nor loading a file takes one: Undo then empties the document.
TEST_F(PlumoraEditingTest, UndoAndRedoSwapTheSnapshotOfTheClickWithTheText) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "Hello");
    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    EXPECT_EQ(field.Text(), "");
    ASSERT_TRUE(drive::ChooseMenu("EditRedo"));
    EXPECT_EQ(window->StaticText5()->Text(), "There are: 1 Words.");
    drive::Click(field);
    ASSERT_EQ(window->EditField4()->Text(), "Hello");
    TypeAtEnd(field, " world, and more");

    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));
    EXPECT_EQ(field.Text(), "Hello");
    EXPECT_EQ(window->EditField5()->Text(), "Hello world, and more");
    EXPECT_EQ(std::pair(Enabled("EditUndo"), Enabled("EditRedo")), std::pair(false, true));
    ASSERT_TRUE(drive::ChooseMenu("EditRedo"));
    EXPECT_EQ(field.Text(), "Hello world, and more");
    ASSERT_TRUE(drive::ChooseMenu("EditUndo"));

    // Typing after an Undo switches Undo on, leaves Redo on, and is lost by Redo.
    TypeAtEnd(field, " lost");
    EXPECT_EQ(std::pair(Enabled("EditUndo"), Enabled("EditRedo")), std::pair(true, true));
    ASSERT_TRUE(drive::ChooseMenu("EditRedo"));
    EXPECT_EQ(field.Text(), "Hello world, and more");

    // The snapshot fields lie outside the window: Tab never reaches them.
    drive::Focus(*window->cmnu());
    drive::PressKeys(*window, "Tab");
    EXPECT_TRUE(drive::HasFocus(field));
}

// Locked toggles the lock of the window in front, and the menu's mark shows
// that window's lock whichever window was locked last.
TEST_F(PlumoraEditingTest, LockedTogglesTheFrontWindowsLockAndTheMarkShowsIt) {
    auto* first = NewWindow();
    auto& field = *first->EditField1();
    drive::TypeText(field, "text");
    CopyToClipboard(field, 0, 4);
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    EXPECT_TRUE(drive::ShownMenuItem("FormatLocked").checked);
    drive::PressKeys(*first, "Ctrl+V");
    drive::TypeText(field, " more");
    EXPECT_EQ(field.Text(), "text") << "a locked document took a paste or typing";
    // Unlocked, the document has the keyboard again: typing replaces the selection.
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    EXPECT_TRUE(Enabled("EditSelectAll"));
    drive::PressKeys(*first, "X");
    EXPECT_EQ(field.Text(), "x");
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    auto* second = NewWindow();
    EXPECT_FALSE(drive::ShownMenuItem("FormatLocked").checked) << "the second window is not locked";
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    EXPECT_FALSE(second->EditField1()->Enabled()) << "Locked there locks the second window";
    first->Show();
    drive::Focus(*first->cmnu());  // where the desktop's activation of a locked window leaves the keyboard
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    EXPECT_TRUE(field.Enabled()) << "Locked in the first window unlocks it";
    EXPECT_FALSE(drive::ShownMenuItem("FormatLocked").checked);
    drive::PressKeys(*first, "Y");
    EXPECT_EQ(field.Text(), "xy");
}

TEST_F(PlumoraEditingTest, AltAndMetaKeysTypeNothingAndChangeNothing) {
    auto* window = NewWindow();
    drive::Focus(*window->EditField1());
    for (const char* keys : {"Alt+V", "Alt+I", "Alt+O", "Meta+V", "Alt+Shift+X", "Alt+Backspace"})
        drive::PressKeys(*window, keys);
    EXPECT_EQ(window->EditField1()->Text(), "");
    EXPECT_FALSE(window->TextHasChanged);
    drive::PressKeys(*window, "V");
    EXPECT_EQ(window->EditField1()->Text(), "v");
}

}  // namespace
