#include "ScriptedWindow.h"
#include "tests/support/CharStyles.h"

#include "framework/text/StyledText.h"
#include "framework/qt/testing/TestDriver.h"
#include "framework/ui/EditField.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

using fw::Color;
using testsupport::Style;
using widgettests::ScriptedWindow;

constexpr Color kRed = Color::FromRGB(0xC00000);
constexpr Color kOwnColour = Color::FromRGB(0x101010);

// "aa" bold Serif 10.5, "bb" bold italic Serif 12 red, "cc" underlined Sans 14.
class EditFieldStylesTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = ScriptedWindow::Make({.createControls = [](ScriptedWindow& w) {
            auto& field = w.Add<fw::EditField>("EditField", "Field", 0, 0, 300, 100);
            field.Multiline(true), field.Styled(true), field.TextColor(kOwnColour);
        }});
        field = window->Control<fw::EditField>("Field");
        field->SetStyledText({{{fw::Alignment::Default,
                                {{"aa", Style("DejaVu Serif", 10.5, true, false, false, {})},
                                 {"bb", Style("DejaVu Serif", 12, true, true, false, kRed)},
                                 {"cc", Style("DejaVu Sans", 14, false, false, true, {})}}}}});
    }
    void TearDown() override { fw::testing::ReleaseAllWindows(); }

    auto Styles(long start, long length) {
        field->SelStart(start);
        field->SelLength(length);
        return std::tuple(field->SelBold(), field->SelItalic(), field->SelUnderline(), field->SelTextFont(),
                          field->SelTextSize(), field->SelTextColor());
    }

    ScriptedWindow* window = nullptr;
    fw::EditField* field = nullptr;
};

// Every character must have a style for the selection to have it; size and
// colour are the first character's; the font is named only when shared. An
// insertion point reads what typing there would give: the style before it.
TEST_F(EditFieldStylesTest, TheSelectionHasWhatEveryCharacterHasAndTheFirstOnesSizeAndColour) {
    using S = std::tuple<bool, bool, bool, std::string, std::int32_t, Color>;
    const std::tuple<long, long, S> cases[]{
        {0, 4, S(true, false, false, "DejaVu Serif", 11, kOwnColour)},
        {2, 2, S(true, true, false, "DejaVu Serif", 12, kRed)},
        {1, 4, S(false, false, false, "", 11, kOwnColour)},
        {4, 2, S(false, false, true, "DejaVu Sans", 14, kOwnColour)},
        {4, 0, S(true, true, false, "DejaVu Serif", 12, kRed)},
    };
    for (const auto& [start, length, styles] : cases) EXPECT_EQ(Styles(start, length), styles) << start << "+" << length;
    // Reading rounded the size, the text keeps its own.
    EXPECT_EQ(field->GetStyledText().paragraphs[0].runs[0].style.size, 10.5);
}

TEST_F(EditFieldStylesTest, ATogglePutsTheStyleOnAllWhenAnyLacksItElseTakesItFromAll) {
    Styles(0, 6), field->ToggleSelectionBold();
    EXPECT_EQ(std::get<0>(Styles(0, 6)), true);
    field->ToggleSelectionBold();
    EXPECT_EQ(std::get<0>(Styles(0, 1)), false) << "a character that was bold before";
}

}  // namespace
