#include "tests/support/ApplicationTest.h"

#include "framework/ui/PrinterSetup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace drive = fw::testing;
using Dialogs = drive::ScriptedDialogs;
using Block = Dialogs::Printed::Block;

// The text of a command's output.
std::string Output(const std::string& command) {
    std::string text;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const auto n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
        ::pclose(pipe);
    }
    return text;
}

// One paragraph per text, each in the size given (0: the field's own).
fw::StyledText Paragraphs(const std::vector<std::pair<std::string, double>>& texts) {
    fw::StyledText document;
    for (const auto& [text, size] : texts) {
        fw::StyledRun run{text, {}};
        run.style.font = "DejaVu Sans";
        run.style.size = size;
        document.paragraphs.push_back({fw::Alignment::Default, {run}});
    }
    return document;
}

class PlumoraPrintingTest : public ApplicationTest {
protected:
    static void Choose(class Plumora& window, const char* item) {
        drive::Focus(*window.EditField1());
        ASSERT_TRUE(drive::ChooseMenu(item)) << item;
    }

    void ConfirmPageSetup(class Plumora& window, Dialogs::SetupChange change) {
        dialogs->pageSetupAnswers.push_back(std::move(change));
        Choose(window, "FilePageSetup");
    }

    // Prints to the recorder; the settings the print dialog was given and the blocks drawn.
    std::pair<std::string, std::vector<Block>> Print(class Plumora& window, Dialogs::SetupChange change = {}) {
        dialogs->calls.clear();
        dialogs->printed.clear();
        dialogs->printAnswers.push_back(Dialogs::PrintAnswer{"", std::move(change)});
        Choose(window, "FilePrint");
        const auto calls = dialogs->CallsOf("print");
        if (calls.size() != 1 || dialogs->printed.size() != 1) {
            ADD_FAILURE() << "the print dialog was not shown once";
            return {};
        }
        return {calls.front().text, dialogs->printed.front().blocks};
    }
};

void Letter(fw::PrinterSetup& setup) {
    setup.PaperWidth = 612, setup.PaperHeight = 792, setup.Landscape = false, setup.Margin = {18, 18, 18, 18};
}
void A4Across(fw::PrinterSetup& setup) {
    setup.PaperWidth = 595.28, setup.PaperHeight = 841.89, setup.Landscape = true, setup.Margin = {10, 20, 30, 40};
}

// Blocks sit at 36, 36: 492 by 600 without a page set-up, the printable
// area less 84 each way with one (Letter inside 18 pt margins is 576 by 756;
// A4 across inside 10, 20, 30, 40 is 802 by 535).
TEST_F(PlumoraPrintingTest, BlocksFollowTheConfirmedPageSetup) {
    const struct {
        const char* name;
        Dialogs::SetupChange setup;
        Block block;
    } cases[] = {
        {"none", {}, {36, 36, 492, 600}},
        {"Letter", Letter, {36, 36, 492, 672}},
        {"A4 across", A4Across, {36, 36, 718, 451}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* window = NewWindow();
        drive::TypeText(*window->EditField1(), "One short line.");
        if (c.setup) ConfirmPageSetup(*window, c.setup);
        const auto [given, blocks] = Print(*window);
        EXPECT_EQ(given.empty(), !c.setup);
        EXPECT_EQ(blocks, std::vector<Block>{c.block});
    }
}

// Only a confirmed Page Setup writes the window's settings: a cancelled one
// and the print dialog leave them, and a new window starts without any.
TEST_F(PlumoraPrintingTest, OnlyAConfirmedPageSetupIsKept) {
    auto* window = NewWindow();
    ConfirmPageSetup(*window, {});
    EXPECT_EQ(Print(*window, A4Across).first, "");
    EXPECT_EQ(Print(*window).first, "");

    ConfirmPageSetup(*window, Letter);
    const auto letter = Print(*window).first;
    fw::PrinterSetup expected;
    Letter(expected);
    EXPECT_EQ(letter, expected.SetupString());
    ConfirmPageSetup(*window, {});
    EXPECT_EQ(dialogs->CallsOf("pagesetup").back().text, letter);
    EXPECT_EQ(Print(*window, A4Across).first, letter);
    EXPECT_EQ(Print(*window).first, letter);

    ASSERT_TRUE(drive::ChooseMenu("newwindow"));
    auto* second = Front();
    ASSERT_NE(second, window);
    EXPECT_EQ(Print(*second).first, "");
    EXPECT_TRUE(dialogs->CallsOf("msgbox").empty());
}

// A page change only between blocks; a line taller than the block gets one of
// its own, clipped, and the print still ends.
TEST_F(PlumoraPrintingTest, OnePageForEachBlock) {
    const struct {
        const char* name;
        fw::StyledText text;
        std::size_t blocks;
        int nextPages;
    } cases[] = {
        {"empty", {}, 0, 0},
        {"one line", Paragraphs({{"Short", 12}}), 1, 0},
        {"three lines each most of a page", Paragraphs({{"A", 400}, {"B", 400}, {"C", 400}}), 3, 2},
        {"lines taller than the page", Paragraphs({{"A", 900}, {"B", 900}}), 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* window = NewWindow();
        window->EditField1()->SetStyledText(c.text);
        dialogs->printed.clear();
        dialogs->printAnswers.push_back(Dialogs::PrintAnswer{});
        Choose(*window, "FilePrint");
        ASSERT_EQ(dialogs->printed.size(), 1u);
        EXPECT_EQ(dialogs->printed.front().blocks.size(), c.blocks);
        EXPECT_EQ(dialogs->printed.front().nextPages, c.nextPages);
    }
}

// A real PDF: three pages, the text in order, the bold 24 pt heading and its font.
TEST_F(PlumoraPrintingTest, PrintsARealPdf) {
    std::vector<std::pair<std::string, double>> texts{{"Heading", 24}};
    for (int i = 1; i <= 105; ++i) texts.emplace_back("Line " + std::to_string(i) + " of the body.", 12);
    auto document = Paragraphs(texts);
    document.paragraphs.front().runs.front().style.bold = true;
    auto* window = NewWindow();
    window->EditField1()->SetStyledText(document);
    const auto pdf = (folder / "out.pdf").string();
    dialogs->printAnswers.push_back(Dialogs::PrintAnswer{pdf, {}});
    Choose(*window, "FilePrint");

    EXPECT_NE(Output("pdfinfo '" + pdf + "'").find("Pages:           3\n"), std::string::npos);
    const auto text = Output("pdftotext -layout '" + pdf + "' -");
    std::size_t at = text.find("Heading");
    ASSERT_NE(at, std::string::npos) << text;
    for (int i = 1; i <= 105; ++i) {
        at = text.find("Line " + std::to_string(i) + " of the body.", at);
        ASSERT_NE(at, std::string::npos) << "line " << i << " missing or out of order";
    }
    EXPECT_TRUE(std::regex_search(Output("pdffonts '" + pdf + "'"), std::regex("DejaVuSans-Bold")));
    // The heading's word box is about 24 pt high, the body's about 12.
    const auto boxes = Output("pdftotext -bbox -f 1 -l 1 '" + pdf + "' -");
    std::smatch heading;
    ASSERT_TRUE(std::regex_search(boxes, heading, std::regex(R"re(yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">Heading)re")));
    const double height = std::stod(heading[2]) - std::stod(heading[1]);
    EXPECT_GT(height, 24);
    EXPECT_LT(height, 36);
}

// A print that cannot be carried out says where to and why; a cancelled one says nothing.
TEST_F(PlumoraPrintingTest, AFailedPrintIsTold) {
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "Text");
    const auto before = LooksOf(*window);
    Choose(*window, "FilePrint");
    EXPECT_TRUE(dialogs->CallsOf("msgbox").empty());

    const auto pdf = (folder / "missing" / "out.pdf").string();
    dialogs->printAnswers.push_back(Dialogs::PrintAnswer{pdf, {}});
    Choose(*window, "FilePrint");
    const auto shown = dialogs->CallsOf("msgbox");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.front().text, "The document could not be printed to the file \"" + pdf + "\": No such file or directory.");
    EXPECT_EQ(LooksOf(*window), before);
}

}  // namespace
