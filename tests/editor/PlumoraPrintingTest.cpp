#include "tests/support/ApplicationTest.h"
#include "tests/support/StyledTextSupport.h"

#include <cstdio>
#include <regex>

namespace {

namespace drive = fw::testing;
using Dialogs = drive::ScriptedDialogs;
using Block = Dialogs::Printed::Block;

// One paragraph per text, in DejaVu Sans of the size given.
fw::StyledText Paragraphs(const std::vector<std::pair<std::string, double>>& texts) {
    fw::StyledText document;
    for (const auto& [text, size] : texts)
        document.paragraphs.push_back({fw::Alignment::Default, {{text, fw::Style("DejaVu Sans", size)}}});
    return document;
}

void Letter(fw::PrinterSetup& s) { s.PaperWidth = 612, s.PaperHeight = 792, s.Margin = {18, 18, 18, 18}; }
void A4Across(fw::PrinterSetup& s) {
    s.PaperWidth = 595.28, s.PaperHeight = 841.89, s.Landscape = true, s.Margin = {10, 20, 30, 40};
}

class PlumoraPrintingTest : public ApplicationTest {
protected:
    // Prints to the target; the settings the print dialog was given ("" for none).
    std::string Print(class Plumora& window, std::optional<Dialogs::PrintAnswer> target = Dialogs::PrintAnswer{}) {
        dialogs->calls.clear();
        dialogs->printed.clear();
        dialogs->printAnswers.push_back(std::move(target));
        Choose(window, "FilePrint");
        const auto calls = dialogs->CallsOf("print");
        return calls.size() == 1 ? calls.front().text : "shown " + std::to_string(calls.size()) + " times";
    }
};

// Blocks at 36, 36: 492 by 600 without a page set-up, the printable area less
// 84 each way with one (Letter inside 18 pt is 576 by 756, A4 across inside
// 10, 20, 30, 40 is 802 by 535). Only a confirmed Page Setup is kept: neither
// a cancelled one nor the print dialog changes it, and a new window has none.
TEST_F(PlumoraPrintingTest, PrintsWithTheConfirmedPageSetup) {
    fw::PrinterSetup letter, a4;
    Letter(letter);
    A4Across(a4);
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "One line.");
    const struct {
        Dialogs::SetupChange confirmed, inPrintDialog;
        std::string given;
        Block block;
    } steps[] = {
        {{}, A4Across, "", {36, 36, 492, 600}},
        {Letter, A4Across, letter.SetupString(), {36, 36, 492, 672}},
        {{}, {}, letter.SetupString(), {36, 36, 492, 672}},
        {A4Across, {}, a4.SetupString(), {36, 36, 718, 451}},
    };
    for (const auto& step : steps) {
        dialogs->pageSetupAnswers.push_back(step.confirmed);
        Choose(*window, "FilePageSetup");
        EXPECT_EQ(Print(*window, Dialogs::PrintAnswer{"", step.inPrintDialog}), step.given);
        EXPECT_EQ(dialogs->printed.at(0).blocks, std::vector<Block>{step.block});
    }
    ASSERT_TRUE(drive::ChooseMenu("newwindow"));
    ASSERT_NE(Front(), window);
    EXPECT_EQ(Print(*Front()), "");
}

// A page change only between blocks; a line taller than the block gets a
// block of its own, clipped, and the print still ends.
TEST_F(PlumoraPrintingTest, OnePageForEachBlock) {
    const struct {
        fw::StyledText text;
        std::size_t blocks;
        int nextPages;
    } cases[] = {
        // clang-format off
        {{}, 0, 0}, {Paragraphs({{"Short", 12}}), 1, 0},
        {Paragraphs({{"A", 400}, {"B", 400}, {"C", 400}}), 3, 2}, {Paragraphs({{"A", 900}, {"B", 900}}), 2, 1},
        // clang-format on
    };
    for (const auto& c : cases) {
        auto* window = NewWindow();
        window->EditField1()->SetStyledText(c.text);
        Print(*window);
        EXPECT_EQ(dialogs->printed.at(0).blocks.size(), c.blocks);
        EXPECT_EQ(dialogs->printed.at(0).nextPages, c.nextPages);
    }
}

std::string Output(const std::string& command) {
    std::string text;
    FILE* pipe = ::popen(command.c_str(), "r");
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;) text += static_cast<char>(c);
    if (pipe) ::pclose(pipe);
    return text;
}

// A real PDF: three pages, the text in order, the bold 24 pt heading.
TEST_F(PlumoraPrintingTest, PrintsARealPdf) {
    std::vector<std::pair<std::string, double>> texts{{"Heading", 24}};
    for (int i = 1; i <= 105; ++i) texts.emplace_back("Line " + std::to_string(i) + " of the body.", 12);
    auto document = Paragraphs(texts);
    document.paragraphs.front().runs.front().style.bold = true;
    auto* window = NewWindow();
    window->EditField1()->SetStyledText(document);
    const auto pdf = (folder / "out.pdf").string();
    Print(*window, Dialogs::PrintAnswer{pdf, {}});

    EXPECT_NE(Output("pdfinfo " + pdf).find("Pages:           3\n"), std::string::npos);
    const auto text = Output("pdftotext " + pdf + " -");
    std::size_t at = text.find("Heading");
    for (int i = 1; i <= 105 && at != std::string::npos; ++i) at = text.find("Line " + std::to_string(i) + " ", at);
    EXPECT_NE(at, std::string::npos) << text;
    EXPECT_NE(Output("pdffonts " + pdf).find("DejaVuSans-Bold "), std::string::npos);
    std::smatch box;  // the heading's word box is about 24 pt high
    const auto boxes = Output("pdftotext -bbox -l 1 " + pdf + " -");
    ASSERT_TRUE(std::regex_search(boxes, box, std::regex(R"re(yMin="([\d.]+)" \S+ yMax="([\d.]+)">Heading<)re")));
    EXPECT_NEAR(std::stod(box[2]) - std::stod(box[1]), 28, 4);
}

// A print that cannot be carried out says where to and why.
TEST_F(PlumoraPrintingTest, AFailedPrintIsTold) {
    auto* window = NewWindow();
    drive::TypeText(*window->EditField1(), "Text");
    Print(*window, Dialogs::PrintAnswer{(folder / "gone/out.pdf").string(), {}});
    ASSERT_EQ(dialogs->CallsOf("msgbox").size(), 1u);
    EXPECT_EQ(dialogs->CallsOf("msgbox")[0].text,
              "The document could not be printed to the file \"" + (folder / "gone/out.pdf").string() +
                  "\": No such file or directory.");
}

}  // namespace
