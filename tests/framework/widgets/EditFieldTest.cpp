#include "ScriptedWindow.h"

#include "framework/EditField.h"
#include "framework/MenuItem.h"
#include "framework/Runtime.h"
#include "framework/StyledText.h"
#include "framework/testing/ScriptedDialogs.h"
#include "framework/testing/TestDriver.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

#include <gtest/gtest.h>

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

    // Whether the character at a code-point position is bold.
    bool BoldAt(long position) {
        field->SelStart(position);
        field->SelLength(1);
        return field->SelBold();
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

    field->SelStart(0);
    field->SelLength(7);
    EXPECT_EQ(field->SelText(), "one\rtwo");
    field->SelText("a\nb\r\nc");
    EXPECT_EQ(field->Text(), "a\rb\rc\rthree\rfour");
}

// ---- TextChange ------------------------------------------------------------

TEST_F(EditFieldTest, SettingTextRaisesTextChangeOnceBeforeReturning) {
    field->Text("hello");
    EXPECT_EQ(textChanges, 1);
    EXPECT_EQ(textAtChange, std::vector<std::string>{"hello"}) << "TextChange ran before the new text was in place";

    field->Text("hello");  // nothing differs
    EXPECT_EQ(textChanges, 2);
    field->Text("help me\rnow");
    EXPECT_EQ(textChanges, 3);
    field->Text("");
    EXPECT_EQ(textChanges, 4);
    EXPECT_EQ(textAtChange.back(), "");
    drive::ProcessEvents();
    EXPECT_EQ(textChanges, 4) << "a later TextChange arrived from the event queue";
}

TEST_F(EditFieldTest, EachTypedKeyRaisesTextChangeOnce) {
    drive::TypeText(*field, "abc");
    EXPECT_EQ(field->Text(), "abc");
    EXPECT_EQ(textChanges, 3);
    EXPECT_EQ(textAtChange, (std::vector<std::string>{"a", "ab", "abc"}));

    drive::PressKeys(*window, "Left");
    EXPECT_EQ(textChanges, 3) << "moving the caret is no change of the text";
    drive::PressKeys(*window, "Backspace");
    EXPECT_EQ(field->Text(), "ac");
    EXPECT_EQ(textChanges, 4);
}

TEST_F(EditFieldTest, TypingOverASelectionRaisesTextChangeOnce) {
    field->Text("hello world");
    Reset();
    drive::Focus(*field);
    field->SelStart(0);
    field->SelLength(5);
    drive::TypeText(*field, "J");
    EXPECT_EQ(field->Text(), "J world");
    EXPECT_EQ(textChanges, 1);
}

TEST_F(EditFieldTest, ReplacingTheSelectionRaisesTextChangeOnce) {
    field->Text("hello world");
    Reset();
    field->SelStart(6);
    field->SelLength(5);
    field->SelText("there\rfriend");
    EXPECT_EQ(field->Text(), "hello there\rfriend");
    EXPECT_EQ(textChanges, 1);
    EXPECT_EQ(textAtChange.back(), "hello there\rfriend");
}

TEST_F(EditFieldTest, SetStyledTextRaisesTextChangeOnce) {
    fw::StyledText text;
    fw::CharStyle bold;
    bold.bold = true;
    text.paragraphs.push_back({fw::Alignment::Default, {{"first ", {}}, {"bold", bold}}});
    text.paragraphs.push_back({fw::Alignment::Center, {{"second", {}}}});
    text.paragraphs.push_back({fw::Alignment::Default, {{"third", {}}}});
    field->SetStyledText(text);
    EXPECT_EQ(textChanges, 1);
    EXPECT_EQ(textAtChange.back(), "first bold\rsecond\rthird");
    EXPECT_TRUE(BoldAt(7));
}

TEST_F(EditFieldTest, FormattingRaisesNoTextChange) {
    field->Text("style me please");
    Reset();
    field->SelStart(6);
    field->SelLength(2);
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
    EXPECT_FALSE(field->SelBold());
    EXPECT_TRUE(field->SelItalic());
    EXPECT_TRUE(field->SelUnderline());
    EXPECT_EQ(field->SelTextColor(), fw::Color::FromRGB(0xFF0000));
    EXPECT_EQ(field->SelTextSize(), 20);
    EXPECT_EQ(field->SelTextFont(), "DejaVu Serif");
    EXPECT_EQ(field->SelAlignment(), 3);
}

// ---- Setting Text keeps styles ---------------------------------------------

TEST_F(EditFieldTest, SettingTextKeepsTheStylesOfTheUnchangedBeginningAndEnd) {
    field->Text("hello brave new world");
    field->SelStart(0);
    field->SelLength(5);
    field->SelBold(true);
    field->SelStart(16);
    field->SelLength(5);
    field->SelItalic(true);

    field->Text("hello great new world");
    EXPECT_EQ(field->Text(), "hello great new world");
    EXPECT_TRUE(BoldAt(0));
    EXPECT_TRUE(BoldAt(4));
    EXPECT_FALSE(BoldAt(6)) << "the new middle took a style other than the one before it";
    field->SelStart(16);
    field->SelLength(5);
    EXPECT_TRUE(field->SelItalic()) << "the unchanged end lost its style";
    field->SelStart(6);
    field->SelLength(1);
    EXPECT_FALSE(field->SelItalic());
}

TEST_F(EditFieldTest, NewMiddleTakesTheStyleOfTheCharacterBeforeIt) {
    field->Text("bold plain");
    field->SelStart(0);
    field->SelLength(4);
    field->SelBold(true);

    field->Text("boldest plain");
    EXPECT_EQ(field->Text(), "boldest plain");
    EXPECT_TRUE(BoldAt(4));
    EXPECT_TRUE(BoldAt(6));
    EXPECT_FALSE(BoldAt(7));
    EXPECT_FALSE(BoldAt(8));
}

// ---- Selection -------------------------------------------------------------

TEST_F(EditFieldTest, SelectionCountsCodePoints) {
    // a, a face outside the basic plane, e with a combining acute, b.
    const std::string text = "a\xF0\x9F\x98\x80" "e\xCC\x81" "b";
    field->Text(text);
    for (long position = 0; position <= 5; ++position) {
        field->SelStart(position);
        EXPECT_EQ(field->SelStart(), position);
        EXPECT_EQ(field->SelLength(), 0);
    }
    field->SelStart(1);
    field->SelLength(1);
    EXPECT_EQ(field->SelText(), "\xF0\x9F\x98\x80");
    EXPECT_EQ(field->SelLength(), 1);
    field->SelStart(2);
    field->SelLength(2);
    EXPECT_EQ(field->SelText(), "e\xCC\x81");
    field->SelStart(0);
    field->SelLength(100);
    EXPECT_EQ(field->SelLength(), 5);
    EXPECT_EQ(field->SelText(), text);

    field->SelStart(2);
    field->SelLength(0);
    field->SelText("\xF0\x9F\x91\x8D");
    EXPECT_EQ(field->Text(), "a\xF0\x9F\x98\x80\xF0\x9F\x91\x8D" "e\xCC\x81" "b");
    EXPECT_EQ(field->SelStart(), 3);
}

TEST_F(EditFieldTest, SettingTextBesideASurrogatePairKeepsItWhole) {
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

TEST_F(EditFieldTest, MouseDownRunsBeforeTheFieldMovesTheCaret) {
    single->Text("hello");
    single->SelStart(0);
    long caretDuringMouseDown = -1;
    std::vector<int> position;
    single->InstallEventHandler("MouseDown", fw::MouseHandler([&](int x, int y) {
        caretDuringMouseDown = single->SelStart();
        position = {x, y};
        return false;
    }));
    drive::Click(*single, 250, 12);
    EXPECT_EQ(caretDuringMouseDown, 0);
    EXPECT_EQ(single->SelStart(), 5) << "the field did not take the press after MouseDown returned false";
    ASSERT_EQ(position.size(), 2u);
    EXPECT_GT(position[0], 200);
    EXPECT_LT(position[0], 300);
}

TEST_F(EditFieldTest, MouseDownReturningTrueKeepsThePressFromTheField) {
    single->Text("hello");
    single->SelStart(0);
    int presses = 0;
    single->InstallEventHandler("MouseDown", fw::MouseHandler([&](int, int) {
        ++presses;
        return true;
    }));
    drive::Click(*single, 250, 12);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(single->SelStart(), 0);
}

TEST_F(EditFieldTest, ContextMenuIsFilledByTheHandlerAndShown) {
    field->Text("words");
    std::vector<int> at;
    field->InstallEventHandler("ConstructContextualMenu", fw::ContextMenuHandler([&](fw::MenuItem& base, int x, int y) {
        at = {x, y};
        auto hello = std::make_shared<fw::MenuItem>("Say Hello");
        hello->Name("ContextHello");
        base.Append(hello);
        base.Append(std::make_shared<fw::MenuItem>("-"));
        auto other = std::make_shared<fw::MenuItem>("Other");
        other->Name("ContextOther");
        base.Append(other);
        return true;
    }));
    int hellos = 0, others = 0;
    window->AddMenuHandler("ContextHello", [&] {
        ++hellos;
        return true;
    });
    window->AddMenuHandler("ContextOther", [&] {
        ++others;
        return true;
    });

    EXPECT_TRUE(drive::ChooseContextMenuEntry(*field, "Say Hello"));
    EXPECT_EQ(hellos, 1);
    EXPECT_EQ(others, 0);
    ASSERT_EQ(at.size(), 2u);
    EXPECT_GE(at[0], 0);
    EXPECT_LT(at[0], field->Width());
    EXPECT_GE(at[1], 0);
    EXPECT_LT(at[1], field->Height());
    EXPECT_FALSE(drive::ChooseContextMenuEntry(*field, "Missing"));
    EXPECT_EQ(hellos + others, 1);
}

TEST_F(EditFieldTest, WithoutAHandlerNoContextMenuAppears) {
    field->Text("words");
    // The toolkit's own menu (with its Undo and Paste) is not offered either.
    EXPECT_FALSE(drive::ChooseContextMenuEntry(*field, "Select All"));
    EXPECT_FALSE(drive::ChooseContextMenuEntry(*field, "&Select All"));
}

// ---- Keys ------------------------------------------------------------------

TEST_F(EditFieldTest, ToolkitUndoIsOff) {
    drive::TypeText(*field, "abc");
    drive::PressKeys(*window, "Ctrl+Z");
    EXPECT_EQ(field->Text(), "abc");
    field->Text("replaced");
    drive::PressKeys(*window, "Ctrl+Z");
    EXPECT_EQ(field->Text(), "replaced");
    fw::StyledText text;
    text.paragraphs.push_back({fw::Alignment::Default, {{"styled", {}}}});
    field->SetStyledText(text);
    drive::TypeText(*field, "x");
    drive::PressKeys(*window, "Ctrl+Z");
    drive::PressKeys(*window, "Ctrl+Shift+Z");
    EXPECT_EQ(field->Text(), "styledx");
}

TEST_F(EditFieldTest, ReturnBreaksTheLineOnlyInAMultiLineField) {
    drive::TypeText(*single, "ab");
    drive::PressKeys(*window, "Return");
    drive::PressKeys(*window, "Enter");
    EXPECT_EQ(single->Text(), "ab");
    EXPECT_EQ(singleChanges, 2);

    drive::TypeText(*field, "ab");
    drive::PressKeys(*window, "Return");
    drive::TypeText(*field, "c");
    EXPECT_EQ(field->Text(), "ab\rc");
}

TEST_F(EditFieldTest, PastingLineBreaksIntoASingleLineFieldKeepsOneLine) {
    for (const std::string pasted : {"one\r\ntwo", "one\ntwo", "one\rtwo"}) {
        single->Text("");
        SetClipboard(pasted);
        drive::Focus(*single);
        single->Paste();
        EXPECT_EQ(single->Text().find('\r'), std::string::npos) << "pasting made a second line of: " << single->Text();
        EXPECT_NE(single->Text().find("one"), std::string::npos);
        EXPECT_NE(single->Text().find("two"), std::string::npos);
    }
    SetClipboard("one\r\ntwo\nthree");
    field->Text("");
    field->Paste();
    EXPECT_EQ(field->Text(), "one\rtwo\rthree");
}

TEST_F(EditFieldTest, TabInsertsATabOnlyWhenTheFieldAcceptsTabs) {
    field->AcceptTabs(true);
    drive::TypeText(*field, "a");
    drive::PressKeys(*window, "Tab");
    EXPECT_EQ(field->Text(), "a\t");
    EXPECT_TRUE(drive::HasFocus(*field));

    field->AcceptTabs(false);
    drive::Focus(*field);
    drive::PressKeys(*window, "Tab");
    EXPECT_EQ(field->Text(), "a\t");
    EXPECT_FALSE(drive::HasFocus(*field)) << "Tab did not move the focus on";
    EXPECT_TRUE(drive::HasFocus(*single));
}

TEST_F(EditFieldTest, DisabledFieldTakesNoTyping) {
    field->Text("fixed");
    Reset();
    field->Enabled(false);
    drive::TypeText(*field, "xyz");
    EXPECT_EQ(field->Text(), "fixed");
    EXPECT_EQ(textChanges, 0);
}

TEST_F(EditFieldTest, ReadOnlyFieldTakesNoTypingPasteCutOrClear) {
    field->Text("fixed");
    field->ReadOnly(true);
    Reset();
    drive::TypeText(*field, "xyz");
    EXPECT_EQ(field->Text(), "fixed");

    SetClipboard("pasted");
    field->SelStart(0);
    field->SelLength(2);
    field->Paste();
    EXPECT_EQ(field->Text(), "fixed") << "Paste changed a read-only field";
    field->SelStart(0);
    field->SelLength(2);
    field->Clear();
    EXPECT_EQ(field->Text(), "fixed") << "Clear changed a read-only field";
    field->SelStart(0);
    field->SelLength(2);
    field->Cut();
    EXPECT_EQ(field->Text(), "fixed") << "Cut changed a read-only field";
    EXPECT_EQ(textChanges, 0);

    field->SelStart(0);
    field->SelLength(2);
    field->Copy();
    EXPECT_EQ(Clipboard(), "fi") << "copying from a read-only field is allowed";
}

// ---- Editing actions -------------------------------------------------------

TEST_F(EditFieldTest, CutCopyPasteClearAndSelectAll) {
    field->Text("hello world");
    Reset();
    field->SelStart(0);
    field->SelLength(5);
    EXPECT_TRUE(field->HasSelection());
    EXPECT_TRUE(field->CanCut());
    field->Copy();
    EXPECT_EQ(Clipboard(), "hello");
    EXPECT_EQ(textChanges, 0);

    field->SelStart(11);
    EXPECT_FALSE(field->HasSelection());
    EXPECT_FALSE(field->CanCut());
    EXPECT_TRUE(field->CanPaste());
    field->Paste();
    EXPECT_EQ(field->Text(), "hello worldhello");
    EXPECT_EQ(textChanges, 1);

    field->SelStart(5);
    field->SelLength(6);
    field->Cut();
    EXPECT_EQ(field->Text(), "hellohello");
    EXPECT_EQ(Clipboard(), " world");
    EXPECT_EQ(textChanges, 2);

    field->SelStart(0);
    field->SelLength(5);
    field->Clear();
    EXPECT_EQ(field->Text(), "hello");
    EXPECT_EQ(textChanges, 3);
    EXPECT_EQ(Clipboard(), " world") << "Clear is not Cut";

    field->SelectAll();
    EXPECT_EQ(field->SelStart(), 0);
    EXPECT_EQ(field->SelLength(), 5);
    EXPECT_EQ(textChanges, 3);

    SetClipboard("");
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(field->CanPaste());
}

TEST_F(EditFieldTest, PastedTextTakesTheStyleAtTheInsertionPoint) {
    field->Text("ab");
    field->SelStart(0);
    field->SelLength(2);
    field->SelBold(true);
    field->SelStart(1);
    SetClipboard("XY");
    field->Paste();
    EXPECT_EQ(field->Text(), "aXYb");
    EXPECT_TRUE(BoldAt(1));
    EXPECT_TRUE(BoldAt(2));
}

}  // namespace

namespace {

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

}  // namespace

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

    field->SelStart(15);
    field->SelLength(3);
    field->SelText("x y");
    check("alpha big beta\rx ymma\r\rdelta epsilon zeta", "replacing across a paragraph break");

    field->SelStart(14);
    drive::PressKeys(*window, "Delete");
    check("alpha big betax ymma\r\rdelta epsilon zeta", "joining two paragraphs");

    field->Text("alpha big betax ymma\r\rdelta\repsilon zeta");
    check("alpha big betax ymma\r\rdelta\repsilon zeta", "setting a text that differs in its middle");

    fw::StyledText styled;
    styled.paragraphs.push_back({fw::Alignment::Default, {{"one two", {}}}});
    fw::CharStyle bold;
    bold.bold = true;
    styled.paragraphs.push_back({fw::Alignment::Default, {{"three", bold}}});
    field->SetStyledText(styled);
    check("one two\rthree", "loading styled text");

    field->SelectAll();
    field->Clear();
    check("", "clearing everything");
}

// A field whose measure changes takes the new one for every paragraph.
TEST_F(EditFieldTest, SumOverParagraphsFollowsTheMeasureAskedFor) {
    field->Text("ab cd\refg");
    EXPECT_EQ(field->SumOverParagraphs(CountAsciiWords), 3);
    EXPECT_EQ(field->SumOverParagraphs([](std::string_view text) { return static_cast<long>(text.size()); }), 8);
    EXPECT_EQ(field->SumOverParagraphs(CountAsciiWords), 3);
}
