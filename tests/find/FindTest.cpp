#include "tests/support/ApplicationTest.h"
#include "find/FindWindow.h"

namespace {

namespace drive = fw::testing;

class FindTest : public ApplicationTest {
protected:
    static class FindWindow* Finder() {
        return dynamic_cast<class FindWindow*>(fw::GetImplicitWindow(FindWindow::kClassName));
    }

    static class Plumora* Document(const std::string& text) {
        auto* document = NewWindow();
        document->EditField1()->Text(text);
        document->EditField1()->SelStart(1);
        document->TextHasChanged = false;
        return document;
    }

    // Chooses the command from the document window's menu bar, the document in front.
    static class FindWindow* Choose(class Plumora& document, const char* command) {
        document.Show();
        EXPECT_TRUE(drive::ChooseMenu(command)) << command;
        return Finder();
    }

    // Finds, or with a replacement replaces, as a user does: the command, the texts, Return.
    static void Search(class Plumora& document, const std::string& text, std::optional<std::string> replacement = {}) {
        auto* finder = Choose(document, replacement ? "editreplace" : "EditFind");
        (replacement ? finder->SearchText() : finder->EditField1())->Text(text);
        if (replacement) finder->ReplaceText()->Text(*replacement);
        drive::PressKeys(*finder, "Return");
        EXPECT_EQ(Finder(), nullptr) << "the find window stays open";
    }

    std::vector<std::string> DialogCalls() const {
        std::vector<std::string> calls;
        for (const auto& call : dialogs->calls) calls.push_back(call.dialog + " " + call.text);
        return calls;
    }
};

// A text that does not occur beeps, then says so, with the text and the selection as they were.
TEST_F(FindTest, FindSelectsAndReplaceReplacesTheFirstOccurrenceIgnoringCase) {
    // clang-format off
    const struct {
        const char *text, *search;
        std::optional<std::string> replacement;
        int times;
        const char* after;
        std::pair<long, long> selection;  // start and length, after a find
    } cases[]{
        {"alpha beta gamma beta", "BETA", {}, 2, "alpha beta gamma beta", {6, 4}},
        {"Beta beta", "beta", {}, 1, "Beta beta", {0, 4}}, {"a beta", "beta", "betabeta", 2, "a betabetabeta", {}},
        {"I \xF0\x9F\x98\x80 cafe\xCC\x81!", "\xF0\x9F\x98\x80 CAFE\xCC\x81", {}, 1,
         "I \xF0\x9F\x98\x80 cafe\xCC\x81!", {2, 7}},
        {"alpha beta gamma beta", "beta", "delta", 2, "alpha delta gamma delta", {}},
        {"a beta c", "BETA", "", 1, "a  c", {}},
        // Not found.
        {"", "zzz", {}, 1, "", {0, 0}}, {"abc", "abcd", {}, 1, "abc", {1, 0}}, {"abc", "say \"hi\"", {}, 1, "abc", {1, 0}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + std::string(" / ") + c.search);
        dialogs->calls.clear();
        auto* document = Document(c.text);
        for (int i = 0; i < c.times; ++i) Search(*document, c.search, c.replacement);
        const auto& field = *document->EditField1();
        EXPECT_EQ(field.Text(), c.after);
        if (!c.replacement) {
            EXPECT_EQ(std::pair(field.SelStart(), field.SelLength()), c.selection);
        }
        EXPECT_EQ(document->TextHasChanged, c.replacement.has_value());
        const bool told = !c.replacement && c.selection.second == 0;
        const std::string message = "msgbox Plumora could not find: \"" + std::string(c.search) + "\".";
        EXPECT_EQ(DialogCalls(), told ? (std::vector<std::string>{"beep ", message}) : std::vector<std::string>());
    }
    // The lock stops the user's typing, not the routine.
    auto* locked = Document("x beta");
    locked->FormatLocked_Action();
    Search(*locked, "beta", "B");
    EXPECT_EQ(locked->EditField1()->Text(), "x B");
}

TEST_F(FindTest, EachSearchFieldEnablesItsButtonAndReplaceSwitchesTheTab) {
    auto* document = Document("");
    auto* finder = Choose(*document, "EditFind");
    ASSERT_NE(finder, nullptr);
    const auto on = [&](const char* name) { return finder->ControlByName(name)->Enabled() ? '1' : '0'; };
    const auto enabled = [&] { return std::string{on("FindButton"), on("ReplaceButton")}; };
    EXPECT_EQ(enabled(), "00");
    drive::TypeText(*finder->EditField1(), "b");
    EXPECT_EQ(enabled(), "10");
    drive::PressKeys(*finder, "Backspace");
    EXPECT_EQ(enabled(), "00");
    EXPECT_EQ(Choose(*document, "editreplace"), finder);
    EXPECT_EQ(finder->TabPanel1()->Value(), 1);
    drive::TypeText(*finder->ReplaceText(), "kept");
    EXPECT_EQ(enabled(), "00") << "the replacement changes no button";
    drive::TypeText(*finder->SearchText(), "abc");
    EXPECT_EQ(enabled(), "01");
    // Edit > Find... keeps the tab shown; the search text follows the tab
    // shown, and an empty field overwrites nothing.
    EXPECT_EQ(Choose(*document, "EditFind"), finder);
    EXPECT_EQ(finder->TabPanel1()->Value(), 1);
    finder->TabPanel1()->Value(0);
    EXPECT_EQ(finder->EditField1()->Text(), "abc");
    finder->EditField1()->Text("");
    finder->TabPanel1()->Value(1);
    EXPECT_EQ(finder->SearchText()->Text(), "abc");
}

// Escape on the Replace page, Cancel, the close picture, or Return with no document behind.
TEST_F(FindTest, EveryWayOfClosingLeavesNoWindowAndTheNextCommandOpensAFreshOne) {
    auto* document = Document("beta gamma");
    for (const std::string how : {"Escape", "CancelButton", "Canvas1", "Return"}) {
        SCOPED_TRACE(how);
        if (how == "Return") document->Close();
        auto* finder = how == "Return" ? FindWindow() : Choose(*document, "EditFind");
        EXPECT_EQ(finder->EditField1()->Text() + finder->ReplaceText()->Text(), "") << "not a fresh window";
        finder->EditField1()->Text("beta");
        finder->TabPanel1()->Value(how == "Escape" ? 1 : 0);
        if (how == "Escape" || how == "Return") drive::PressKeys(*finder, how);
        else drive::Click(*finder->ControlByName(how));
        EXPECT_EQ(Finder(), nullptr);
        EXPECT_EQ(fw::WindowCount(), how == "Return" ? 0 : 1);
    }
    EXPECT_TRUE(DialogCalls().empty());
}

}  // namespace
