#include "tests/support/ApplicationTest.h"

namespace {

using QuitGuardTest = ApplicationTest;

// Quit's question tells the windows apart: untitled ones are counted, the
// others named by their files, and a long list ends in a count.
TEST_F(QuitGuardTest, TheQuestionCountsTheUntitledDocumentsAndNamesTheOthers) {
    const struct {
        int untitled;
        std::vector<std::string> named;
        std::string asked;
    } cases[]{
        {1, {}, "An untitled document has"},
        {3, {}, "3 untitled documents have"},
        {0, {"big.txt"}, "big.txt has"},
        {0, {"big.txt", "notes.rtf"}, "big.txt and notes.rtf have"},
        {3, {"big.txt"}, "3 untitled documents and big.txt have"},
        {1, {"a.rtf", "b.txt"}, "An untitled document, a.rtf and b.txt have"},
        {2, {"a.rtf", "b.rtf", "c.rtf", "d.rtf", "e.rtf"}, "2 untitled documents, a.rtf, b.rtf, c.rtf and 2 more have"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked);
        fw::testing::ReleaseAllWindows();
        dialogs->calls.clear();
        NewWindow();  // unchanged: not asked about
        for (int i = 0; i < c.untitled; ++i) fw::testing::TypeText(*NewWindow()->EditField1(), "draft");
        // Opened last to first: the question names them from the front window back.
        for (auto name = c.named.rbegin(); name != c.named.rend(); ++name)
            TypeAtEnd(*Open(Write(*name, "{\\rtf1 text}"))->EditField1(), " more");
        EXPECT_TRUE(fw::testing::ChooseMenu("FileQuit"));
        const auto asked = dialogs->CallsOf("confirm");
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].text, c.asked + " unsaved changes. Quit anyway and lose them?");
    }
}

}  // namespace
