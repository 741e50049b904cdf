#include "ScriptedWindow.h"
#include "tests/support/StyledTextSupport.h"

#include "framework/qt/WindowFrame.h"
#include "framework/qt/testing/TestDriver.h"
#include "framework/ui/EditField.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <tuple>

namespace {

using fw::Color;
using widgettests::ScriptedWindow;

// Every character must have a style for the selection to have it; size and
// colour are the first character's; the font is named only when shared. An
// insertion point reads what typing there would give: the style before it.
// A toggle puts the style on all when any lacks it, else takes it from all.
TEST(EditFieldStylesTest, TheSelectionHasWhatEveryCharacterHasAndANewTextBeginsAtItsTop) {
    constexpr Color kRed = Color::FromRGB(0xC00000), kOwnColour = Color::FromRGB(0x101010);
    auto* window = ScriptedWindow::Make({.createControls = [&](ScriptedWindow& w) {
        auto& field = w.Add<fw::EditField>("EditField", "Field", 0, 0, 300, 100);
        field.Multiline(true), field.Styled(true), field.TextColor(kOwnColour);
    }});
    auto& field = *window->Control<fw::EditField>("Field");
    field.SetStyledText({{{fw::Alignment::Default,
                           {{"aa", fw::Style("DejaVu Serif", 10.5, "b")},
                            {"bb", fw::Style("DejaVu Serif", 12, "bi", kRed)},
                            {"cc", fw::Style("DejaVu Sans", 14, "u")}}}}});
    const auto styles = [&field](long start, long length) {
        field.SelStart(start), field.SelLength(length);
        return std::tuple(field.SelBold(), field.SelItalic(), field.SelUnderline(), field.SelTextFont(),
                          field.SelTextSize(), field.SelTextColor());
    };
    using S = std::tuple<bool, bool, bool, std::string, std::int32_t, Color>;
    const std::tuple<long, long, S> cases[]{
        {0, 4, S(true, false, false, "DejaVu Serif", 11, kOwnColour)},
        {2, 2, S(true, true, false, "DejaVu Serif", 12, kRed)},
        {1, 4, S(false, false, false, "", 11, kOwnColour)},
        {4, 2, S(false, false, true, "DejaVu Sans", 14, kOwnColour)},
        {4, 0, S(true, true, false, "DejaVu Serif", 12, kRed)},
    };
    for (const auto& [start, length, expected] : cases)
        EXPECT_EQ(styles(start, length), expected) << start << "+" << length;
    // Reading rounded the size, the text keeps its own.
    EXPECT_EQ(field.GetStyledText().paragraphs[0].runs[0].style.size, 10.5);

    // Each styling of text raises StyleChange once and TextChange never; the
    // style of text still to be typed changes no text and raises nothing.
    std::string raised;
    field.InstallEventHandler("StyleChange", fw::PlainHandler([&] { raised += 'S'; }));
    field.InstallEventHandler("TextChange", fw::PlainHandler([&] { raised += 'T'; }));
    styles(0, 6), field.ToggleSelectionBold();
    EXPECT_TRUE(std::get<0>(styles(0, 6)));
    field.ToggleSelectionBold();
    EXPECT_FALSE(std::get<0>(styles(0, 1))) << "a character that was bold before";
    field.SelAlignment(2);
    styles(3, 0), field.SelTextSize(20), field.SelItalic(true);
    EXPECT_EQ(raised, "SSS");

    // A new text is laid out from the top as far as it is shown, the rest while the program waits: the caret
    // stands at its start, so that neither the focus nor a typed key lays out the whole text at once.
    field.SetStyledText({std::vector<fw::StyledParagraph>(20000, {fw::Alignment::Default, {{"word word word", {}}}})});
    fw::testing::TypeText(field, "Z");
    EXPECT_EQ(field.Text().substr(0, 6), "Zword ");
    const auto& document = *static_cast<QTextEdit*>(fw::ViewOf(field))->document();
    EXPECT_EQ(document.lastBlock().layout()->lineCount(), 0) << "the whole text was laid out";
    fw::testing::ReleaseAllWindows();
}

}  // namespace
