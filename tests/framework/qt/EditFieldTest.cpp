#include "ScriptedWindow.h"

#include "framework/ui/EditField.h"
#include "framework/menus/MenuItem.h"
#include "framework/ui/Runtime.h"
#include "framework/text/StyledText.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using widgettests::ScriptedWindow;
namespace drive = fw::testing;

// A window with a styled multi-line field and a single-line field, whose
// TextChange and SelChange events are counted.
class EditFieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive::InstallScriptedDialogs();
        ScriptedWindow::Script script;
        script.layout = [](ScriptedWindow& w) {
            w.Width(400);
            w.Height(300);
            w.Visible(true);
        };
        script.createControls = [this](ScriptedWindow& w) {
            auto& multi = w.Add<fw::EditField>("EditField", "Multi", 10, 10, 300, 150);
            multi.Multiline(true);
            multi.Styled(true);
            auto& single = w.Add<fw::EditField>("EditField", "Single", 10, 180, 300, 24);
            single.Multiline(false);
            multi.InstallEventHandler("TextChange", fw::PlainHandler([this] {
                ++textChanges;
                textAtChange.push_back(field->Text());
            }));
            multi.InstallEventHandler("SelChange", fw::PlainHandler([this] { ++selChanges; }));
            single.InstallEventHandler("TextChange", fw::PlainHandler([this] { ++singleChanges; }));
        };
        window = ScriptedWindow::Make(script);
        field = window->Control<fw::EditField>("Multi");
        single = window->Control<fw::EditField>("Single");
        ASSERT_NE(field, nullptr);
        ASSERT_NE(single, nullptr);
        Reset();
    }
    void TearDown() override { drive::ReleaseAllWindows(); }

    void Reset() {
        textChanges = 0;
        selChanges = 0;
        singleChanges = 0;
        textAtChange.clear();
    }

    void Select(long start, long length) {
        field->SelStart(start);
        field->SelLength(length);
    }

    // One mark per character of the field: '*' where the flag is on.
    std::string Marks(bool (fw::EditField::*flag)() const) {
        field->SelectAll();
        std::string marks;
        for (long i = 0, n = field->SelLength(); i < n; ++i) {
            Select(i, 1);
            marks += (field->*flag)() ? '*' : '.';
        }
        return marks;
    }

    static void SetClipboard(const std::string& text) { QGuiApplication::clipboard()->setText(QString::fromStdString(text)); }
    static std::string Clipboard() { return QGuiApplication::clipboard()->text().toStdString(); }

    ScriptedWindow* window = nullptr;
    fw::EditField* field = nullptr;
    fw::EditField* single = nullptr;
    int textChanges = 0;
    int selChanges = 0;
    int singleChanges = 0;
    std::vector<std::string> textAtChange;
};

// ---- Text and line breaks --------------------------------------------------

TEST_F(EditFieldTest, LineBreaksReadAsCrWhateverWasWritten) {
    field->Text("one\r\ntwo\nthree\rfour");
    EXPECT_EQ(field->Text(), "one\rtwo\rthree\rfour");
    EXPECT_EQ(field->GetStyledText().paragraphs.size(), 4u);

    Select(0, 7);
    EXPECT_EQ(field->SelText(), "one\rtwo");
    field->SelText("a\nb\r\nc");
    EXPECT_EQ(field->Text(), "a\rb\rc\rthree\rfour");
}

// ---- TextChange ------------------------------------------------------------

// Whatever sets the text raises TextChange once, with the new text in place,
// before it returns; nothing arrives later from the event queue.
TEST_F(EditFieldTest, SettingTextRaisesTextChangeOnceBeforeReturning) {
    field->Text("hello");
    EXPECT_EQ(textAtChange, std::vector<std::string>{"hello"}) << "TextChange did not run before Text returned";
    field->Text("hello");  // nothing differs
    field->Text("help me\rnow");
    Select(5, 2);
    field->SelText("there\rfriend");
    field->SetStyledText({{{fw::Alignment::Default, {{"first ", {}}, {"bold", {"", 0, true, false, false, std::nullopt}}}},
                           {fw::Alignment::Center, {{"second", {}}}}}});
    field->Text("");
    drive::ProcessEvents();
    EXPECT_EQ(textAtChange, (std::vector<std::string>{"hello", "hello", "help me\rnow", "help there\rfriend\rnow",
                                                      "first bold\rsecond", ""}));
    EXPECT_EQ(textChanges, 6);
}

TEST_F(EditFieldTest, EachTypedKeyRaisesTextChangeOnce) {
    drive::TypeText(*field, "abc");
    EXPECT_EQ(textAtChange, (std::vector<std::string>{"a", "ab", "abc"}));
    drive::PressKeys(*window, "Left");
    EXPECT_EQ(textChanges, 3) << "moving the caret is no change of the text";
    drive::PressKeys(*window, "Backspace");
    EXPECT_EQ(field->Text(), "ac");
    EXPECT_EQ(textChanges, 4);

    Select(0, 2);
    drive::TypeText(*field, "J");  // over a selection
    EXPECT_EQ(textAtChange.back(), "J");
    EXPECT_EQ(textChanges, 5);
}

TEST_F(EditFieldTest, FormattingRaisesNoTextChange) {
    field->Text("style me please");
    Reset();
    Select(6, 2);
    field->SelBold(true);
    field->SelItalic(true);
    field->SelUnderline(true);
    field->SelTextColor(fw::Color::FromRGB(0xFF0000));
    field->SelTextSize(20);
    field->SelTextFont("DejaVu Serif");
    field->SelAlignment(3);
    field->ToggleSelectionBold();
    drive::ProcessEvents();
    EXPECT_EQ(textChanges, 0);
    EXPECT_EQ(field->Text(), "style me please");
    // The formatting did take.
    EXPECT_EQ(std::make_tuple(field->SelBold(), field->SelItalic(), field->SelUnderline(), field->SelTextColor().ToRGB(),
                              field->SelTextSize(), field->SelTextFont(), field->SelAlignment()),
              std::make_tuple(false, true, true, 0xFF0000u, 20.0, std::string("DejaVu Serif"), 3));
}

// ---- Setting Text keeps styles ---------------------------------------------

// Setting the text keeps the styles of the unchanged beginning and end; a
// new middle takes the style of the character before it.
TEST_F(EditFieldTest, SettingTextKeepsTheStylesOfTheUnchangedBeginningAndEnd) {
    field->Text("hello brave new world");
    Select(0, 5);
    field->SelBold(true);
    Select(16, 5);
    field->SelItalic(true);

    field->Text("hello great new world");
    EXPECT_EQ(Marks(&fw::EditField::SelBold), "*****................");
    EXPECT_EQ(Marks(&fw::EditField::SelItalic), "................*****");

    field->Text("hello, great new world");
    EXPECT_EQ(Marks(&fw::EditField::SelBold), "******................");
}

// ---- Selection -------------------------------------------------------------

TEST_F(EditFieldTest, SelectionAndChangesCountCodePoints) {
    // a, a face outside the basic plane, e with a combining acute, b.
    const std::string text = "a\xF0\x9F\x98\x80" "e\xCC\x81" "b";
    field->Text(text);
    field->SelStart(5);
    EXPECT_EQ(field->SelStart(), 5);
    Select(1, 1);
    EXPECT_EQ(field->SelText(), "\xF0\x9F\x98\x80");
    EXPECT_EQ(field->SelLength(), 1);
    Select(2, 2);
    EXPECT_EQ(field->SelText(), "e\xCC\x81");
    Select(0, 100);
    EXPECT_EQ(field->SelLength(), 5);
    EXPECT_EQ(field->SelText(), text);

    Select(2, 0);
    field->SelText("\xF0\x9F\x91\x8D");
    EXPECT_EQ(field->Text(), "a\xF0\x9F\x98\x80\xF0\x9F\x91\x8D" "e\xCC\x81" "b");
    EXPECT_EQ(field->SelStart(), 3);

    // Setting a text that differs in one half of a surrogate pair keeps the pair whole.
    field->Text("x\xF0\x9F\x98\x80y");
    field->Text("x\xF0\x9F\x98\x81y");  // differs only in the low half
    EXPECT_EQ(field->Text(), "x\xF0\x9F\x98\x81y");
    field->Text("\xF0\x9F\x98\x80");
    field->Text("\xF0\x9F\x99\x80");  // differs only in the high half
    EXPECT_EQ(field->Text(), "\xF0\x9F\x99\x80");
}

TEST_F(EditFieldTest, SelChangeIsRaisedWhenTheSelectionMoves) {
    field->Text("hello world");
    field->SelStart(0);
    Reset();
    field->SelStart(3);
    EXPECT_EQ(selChanges, 1);
    field->SelStart(3);
    EXPECT_EQ(selChanges, 1) << "the selection did not move";
    field->SelLength(4);
    EXPECT_EQ(selChanges, 2);
    drive::Focus(*field);
    drive::PressKeys(*window, "Right");
    EXPECT_EQ(selChanges, 3);
    EXPECT_EQ(textChanges, 0);
}

// ---- Mouse and context menu ------------------------------------------------

// MouseDown runs before the field moves the caret; returning true keeps the
// press from the field.
TEST_F(EditFieldTest, MouseDownRunsBeforeTheFieldAndMayKeepThePress) {
    single->Text("hello");
    single->SelStart(0);
    bool take = true;
    std::vector<long> caretDuringMouseDown;
    std::vector<int> position;
    single->InstallEventHandler("MouseDown", fw::MouseHandler([&](int x, int y) {
        caretDuringMouseDown.push_back(single->SelStart());
        position = {x, y};
        return take;
    }));
    drive::Click(*single, 250, 12);
    EXPECT_EQ(single->SelStart(), 0);
    take = false;
    drive::Click(*single, 250, 12);
    EXPECT_EQ(caretDuringMouseDown, (std::vector<long>{0, 0}));
    EXPECT_EQ(single->SelStart(), 5) << "the field did not take the press after MouseDown returned false";
    ASSERT_EQ(position.size(), 2u);
    EXPECT_GT(position[0], 200);
    EXPECT_LT(position[0], 300);
}

TEST_F(EditFieldTest, ContextMenuIsFilledByTheHandlerAndShown) {
    field->Text("words");
    std::vector<int> at;
    field->InstallEventHandler("ConstructContextualMenu", fw::ContextMenuHandler([&](fw::MenuItem& base, int x, int y) {
        at = {x, y};
        for (const auto& [text, name] : {std::pair{"Say Hello", "ContextHello"}, {"-", ""}, {"Other", "ContextOther"}}) {
            base.Append(std::make_shared<fw::MenuItem>(text));
            base.Item(base.Count() - 1)->Name(name);
        }
        return true;
    }));
    int hellos = 0, others = 0;
    window->AddMenuHandler("ContextHello", [&] { return ++hellos; });
    window->AddMenuHandler("ContextOther", [&] { return ++others; });

    EXPECT_TRUE(drive::ChooseContextMenuEntry(*field, "Say Hello"));
    EXPECT_FALSE(drive::ChooseContextMenuEntry(*field, "Missing"));
    EXPECT_EQ(std::make_pair(hellos, others), std::make_pair(1, 0));
    // The handler is told where the menu opens, in the field's own coordinates.
    ASSERT_EQ(at.size(), 2u);
    EXPECT_TRUE(at[0] >= 0 && at[0] < field->Width() && at[1] >= 0 && at[1] < field->Height()) << at[0] << ", " << at[1];

    // Without a handler no menu appears, not even the toolkit's own with its Undo.
    EXPECT_FALSE(drive::ChooseContextMenuEntry(*single, "Select All"));
    EXPECT_FALSE(drive::ChooseContextMenuEntry(*single, "&Select All"));
}

// ---- Keys ------------------------------------------------------------------

TEST_F(EditFieldTest, ToolkitUndoIsOff) {
    drive::TypeText(*field, "abc");
    drive::PressKeys(*window, "Ctrl+Z");
    EXPECT_EQ(field->Text(), "abc");
    field->Text("replaced");
    drive::PressKeys(*window, "Ctrl+Z");
    EXPECT_EQ(field->Text(), "replaced");
    field->SetStyledText({{{fw::Alignment::Default, {{"styled", {}}}}}});
    drive::TypeText(*field, "x");
    drive::PressKeys(*window, "Ctrl+Z");
    drive::PressKeys(*window, "Ctrl+Shift+Z");
    EXPECT_EQ(field->Text(), "styledx");
}

// Return breaks the line only in a multi-line field; Tab is typed only
// where the field accepts it, and otherwise moves the focus on.
TEST_F(EditFieldTest, ReturnAndTabAreTypedOnlyWhereTheFieldTakesThem) {
    drive::TypeText(*single, "ab");
    drive::PressKeys(*window, "Return");
    drive::PressKeys(*window, "Enter");
    EXPECT_EQ(single->Text(), "ab");
    EXPECT_EQ(singleChanges, 2);

    field->AcceptTabs(true);
    drive::TypeText(*field, "ab");
    drive::PressKeys(*window, "Return");
    drive::PressKeys(*window, "Tab");
    EXPECT_EQ(field->Text(), "ab\r\t");
    EXPECT_TRUE(drive::HasFocus(*field));

    field->AcceptTabs(false);
    drive::PressKeys(*window, "Tab");
    EXPECT_EQ(field->Text(), "ab\r\t");
    EXPECT_FALSE(drive::HasFocus(*field)) << "Tab did not move the focus on";
    EXPECT_TRUE(drive::HasFocus(*single));
}

TEST_F(EditFieldTest, PastingLineBreaksIntoASingleLineFieldKeepsOneLine) {
    for (const std::string pasted : {"one\r\ntwo", "one\ntwo", "one\rtwo"}) {
        single->Text("");
        SetClipboard(pasted);
        single->Paste();
        const std::string text = single->Text();
        EXPECT_TRUE(text.find('\r') == std::string::npos && text.find("one") == 0 && text.find("two") != std::string::npos)
            << "pasting \"" << pasted << "\" gave \"" << text << '"';
    }
    SetClipboard("one\r\ntwo\nthree");
    field->Text("");
    field->Paste();
    EXPECT_EQ(field->Text(), "one\rtwo\rthree");
}

TEST_F(EditFieldTest, DisabledOrReadOnlyFieldTakesNoTypingPasteCutOrClear) {
    field->Text("fixed");
    field->Enabled(false);
    Reset();
    drive::TypeText(*field, "xyz");
    EXPECT_EQ(field->Text(), "fixed");

    field->Enabled(true);
    field->ReadOnly(true);
    drive::TypeText(*field, "xyz");
    EXPECT_EQ(field->Text(), "fixed");
    SetClipboard("pasted");
    const std::vector<std::pair<const char*, std::function<void(fw::EditField&)>>> edits{
        {"paste", [](fw::EditField& f) { f.Paste(); }},
        {"clear", [](fw::EditField& f) { f.Clear(); }},
        {"cut", [](fw::EditField& f) { f.Cut(); }}};
    for (const auto& [name, edit] : edits) {
        Select(0, 2);
        edit(*field);
        EXPECT_EQ(field->Text(), "fixed") << name;
    }
    EXPECT_EQ(textChanges, 0);
    field->Copy();
    EXPECT_EQ(Clipboard(), "fi") << "copying from a read-only field is allowed";
}

// ---- Editing actions -------------------------------------------------------

TEST_F(EditFieldTest, CutCopyPasteClearAndSelectAll) {
    field->Text("hello world");
    Reset();
    Select(0, 5);
    EXPECT_TRUE(field->HasSelection() && field->CanCut());
    field->Copy();
    EXPECT_EQ(Clipboard(), "hello");

    field->SelStart(11);
    EXPECT_FALSE(field->HasSelection() || field->CanCut());
    EXPECT_TRUE(field->CanPaste());
    field->Paste();
    Select(5, 6);
    field->Cut();
    EXPECT_EQ(Clipboard(), " world");
    Select(0, 5);
    field->Clear();
    EXPECT_EQ(Clipboard(), " world") << "Clear is not Cut";
    field->SelectAll();
    EXPECT_EQ(field->SelLength(), 5);
    EXPECT_EQ(textAtChange, (std::vector<std::string>{"hello worldhello", "hellohello", "hello"}));

    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(field->CanPaste());
}

TEST_F(EditFieldTest, PastedTextTakesTheStyleAtTheInsertionPoint) {
    field->Text("ab");
    Select(0, 2);
    field->SelBold(true);
    field->SelStart(1);
    SetClipboard("XY");
    field->Paste();
    EXPECT_EQ(field->Text(), "aXYb");
    EXPECT_EQ(Marks(&fw::EditField::SelBold), "****");
}

// Words as runs of characters other than blanks and line breaks: enough to
// tell a whole-text count from a sum over paragraphs.
long CountAsciiWords(std::string_view text) {
    long words = 0;
    bool inWord = false;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\r' || c == '\t';
        words += !blank && !inWord;
        inWord = !blank;
    }
    return words;
}

// The field keeps each paragraph's text and measure between changes; whatever
// edits come, what it reads must be what it holds now.
TEST_F(EditFieldTest, KeptParagraphTextFollowsEveryKindOfEdit) {
    field->Text("alpha beta\rgamma\r\rdelta epsilon zeta");
    const auto check = [&](const std::string& expected, const char* after) {
        SCOPED_TRACE(after);
        EXPECT_EQ(field->Text(), expected);
        EXPECT_EQ(field->SumOverParagraphs(CountAsciiWords), CountAsciiWords(expected));
    };
    check("alpha beta\rgamma\r\rdelta epsilon zeta", "setting the text");

    field->SelStart(6);
    drive::TypeText(*field, "big ");
    check("alpha big beta\rgamma\r\rdelta epsilon zeta", "typing inside a paragraph");

    field->SelStart(16);
    drive::PressKeys(*window, "Return");
    check("alpha big beta\rg\ramma\r\rdelta epsilon zeta", "splitting a paragraph");

    Select(15, 3);
    field->SelText("x y");
    check("alpha big beta\rx ymma\r\rdelta epsilon zeta", "replacing across a paragraph break");

    field->SelStart(14);
    drive::PressKeys(*window, "Delete");
    check("alpha big betax ymma\r\rdelta epsilon zeta", "joining two paragraphs");

    field->Text("alpha big betax ymma\r\rdelta\repsilon zeta");
    check("alpha big betax ymma\r\rdelta\repsilon zeta", "setting a text that differs in its middle");

    field->SetStyledText({{{fw::Alignment::Default, {{"one two", {}}}},
                           {fw::Alignment::Default, {{"three", {"", 0, true, false, false, std::nullopt}}}}}});
    check("one two\rthree", "loading styled text");

    field->SelectAll();
    field->Clear();
    check("", "clearing everything");

    // A field whose measure changes takes the new one for every paragraph.
    field->Text("ab cd\refg");
    EXPECT_EQ(field->SumOverParagraphs(CountAsciiWords), 3);
    EXPECT_EQ(field->SumOverParagraphs([](std::string_view text) { return static_cast<long>(text.size()); }), 8);
    EXPECT_EQ(field->SumOverParagraphs(CountAsciiWords), 3);
}

}  // namespace
