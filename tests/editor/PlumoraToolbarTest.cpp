#include "tests/support/ApplicationTest.h"
#include "tests/support/StyledTextSupport.h"

#include "framework/ui/Fonts.h"
#include "resources/Pictures.h"

#include <iterator>
#include <tuple>

namespace {

namespace drive = fw::testing;
using fw::Color;
using fw::Style;

constexpr Color kFieldText = Color::FromRGB(0x242424);

using PlumoraToolbarTest = ApplicationTest;

TEST_F(PlumoraToolbarTest, TheSwatchAndFontColorOpenThePickerOnWhiteAndColourTheSelection) {
    const Color picked = Color::FromRGB(0x00A000);
    // From the swatch or the menu, the colour picked, the swatch's drawing colour and the text's afterwards.
    // clang-format off
    const std::tuple<bool, std::optional<Color>, Color, Color> cases[]{
        {true, picked, picked, picked}, {true, std::nullopt, kFieldText, kFieldText},
        {false, picked, kFieldText, picked}, {false, std::nullopt, kFieldText, kFieldText}};
    // clang-format on
    for (const auto& [fromSwatch, answer, swatch, text] : cases) {
        SCOPED_TRACE(::testing::Message() << (fromSwatch ? "swatch " : "menu ") << answer.has_value());
        auto* window = NewWindow();
        auto& field = *window->EditField1();
        field.Text("colour me");
        field.SelectAll();
        dialogs->colorAnswers = {answer};
        dialogs->colorStarts.clear();
        if (fromSwatch) drive::Click(*window->Colorbutton());
        else ASSERT_TRUE(drive::ChooseMenu("Formattest"));
        EXPECT_EQ(dialogs->colorStarts, std::vector{Color::FromRGB(0xFFFFFF)});
        EXPECT_EQ(dialogs->calls.back().text, "Select a Text Color");
        EXPECT_EQ(window->Colorbutton()->Graphics().ForeColor(), swatch);
        EXPECT_EQ(field.SelTextColor(), text);
    }
}

TEST_F(PlumoraToolbarTest, AStyleButtonTogglesTheSelectionAndAlternatesItsPicture) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    auto& bold = *window->BoldButton();
    field.Text("plain bold");
    Select(field, 6, 4);
    field.SelBold(true);
    // Plain text becomes bold, bold text plain, and the picture alternates with each press.
    Select(field, 0, 5);
    drive::Click(bold);
    EXPECT_EQ(bold.Icon(), bannerplumora51());
    drive::Click(bold);
    EXPECT_EQ(bold.Icon(), Picture2());
    Select(field, 6, 4);
    drive::Click(bold);
    EXPECT_FALSE(field.SelBold());
    EXPECT_EQ(bold.Icon(), bannerplumora51());
}

// Formatting is a change to save, as typing is; the page's colour from
// "Colors" is no part of the document. No control of the toolbar or of the
// top strip keeps the keyboard: typing then replaces the selection, and the
// editing items serve the document.
TEST_F(PlumoraToolbarTest, FormattingIsUnsavedWorkAndNoControlKeepsTheKeyboardFromTheDocument) {
    // The control clicked, the row then chosen in its menu (with no control: the menu item chosen), and whether
    // the document then has unsaved changes.
    const std::tuple<const char*, const char*, bool> roads[]{
        // clang-format off
        {"BoldButton", nullptr, true}, {"italicbutton", nullptr, true}, {"underlinebutton", nullptr, true},
        {"sizemenu", "24", true}, {"fontmenu", "DejaVu Serif", true}, {"Colorbutton", nullptr, true},
        {nullptr, "Formattest", true}, {nullptr, "AlignTextCenter", true}, {nullptr, "AlignTextLeft", true},
        {"cmnu", "Gray", false}, {"Canvas4", nullptr, false}, {"Canvas2", nullptr, false},
        {"BevelButton2", nullptr, false},
        // clang-format on
    };
    for (const auto& [name, row, changed] : roads) {
        SCOPED_TRACE(name ? name : row);
        auto* window = NewWindow();
        auto& field = *window->EditField1();
        drive::TypeText(field, "one two");
        dialogs->saveAnswers.push_back(std::make_shared<fw::FolderItem>(folder / "saved.rtf"));
        drive::PressKeys(*window, "Ctrl+S");
        ASSERT_FALSE(window->TextHasChanged);
        Select(field, 4, 3);
        dialogs->colorAnswers = {Color::FromRGB(0xC00000)};
        auto* control = name ? window->ControlByName(name) : nullptr;
        if (!control) ASSERT_TRUE(drive::ChooseMenu(row));
        else if (row) ASSERT_TRUE(drive::ClickAndChoose(*control, row));
        else drive::Click(*control);
        EXPECT_EQ(drive::ShownMenuItem("FileSave").visible, changed);
        EXPECT_TRUE(drive::ShownMenuItem("EditSelectAll").enabled && drive::ShownMenuItem("EditCopy").enabled);
        drive::PressKeys(*window, "X");
        EXPECT_EQ(field.Text(), "one x");
    }
}

// Written out from the design, in row order.
const std::pair<const char*, std::uint32_t> kBackgrounds[]{
    {"Default", 0xB6B3FF}, {"Gray", 0xC8C8C8},  {"Pink", 0xFFB5FA},   {"Blue", 0x87B1FF},
    {"Orange", 0xFFD196},  {"Green", 0xC0FFB4}, {"Yellow", 0xF9FF97}, {"Dark Gray", 0x5F5F5F},
    {"White", 0xFFFFFF},   {"Red", 0xFFAFBD},   {"Black", 0x000000}};

TEST_F(PlumoraToolbarTest, ColorsAppliesTheChosenRowEachTimeThePointerLeavesIt) {
    auto* window = NewWindow();
    auto& colours = *window->cmnu();
    auto& field = *window->EditField1();
    for (const auto& [name, rgb] : kBackgrounds) {
        field.BackColor(Color::FromRGB(0x123456));
        drive::MoveMouse(colours, 10, 10);
        ASSERT_TRUE(drive::ClickAndChoose(colours, name));
        drive::MoveMouse(colours, 10, -100);
        EXPECT_EQ(field.BackColor(), Color::FromRGB(rgb)) << name;
    }
}

TEST_F(PlumoraToolbarTest, TheSizeMenuHoldsItsRowsAndChoosingOneSizesTheSelection) {
    std::ifstream fixture(PLUMORA_TEST_DATA "/toolbar/size-menu.txt");
    const std::vector<std::string> rows{std::istream_iterator<std::string>(fixture), {}};
    ASSERT_EQ(rows.size(), 114u);
    auto* window = NewWindow();
    auto& sizes = *window->sizemenu();
    const auto shown = drive::ShownPopupMenu(sizes);
    EXPECT_EQ(shown.entries, rows);
    EXPECT_EQ(shown.checked, 0);

    auto& field = *window->EditField1();
    field.Text("size me");
    const std::pair<int, int> chosen[]{{14, 12}, {5, 3}, {113, 210}, {0, 12}};
    for (const auto& [row, size] : chosen) {
        field.SelectAll();
        sizes.ChooseRow(row);
        EXPECT_EQ(sizes.Caption(), std::to_string(size));
        EXPECT_EQ(field.SelTextSize(), size);
    }
}

// Runs of the field's colour in Serif 12, Sans 24 and Sans 24 bold, then red
// Serif 24, then Sans 24 again.
TEST_F(PlumoraToolbarTest, TheToolbarFollowsTheSelectionWritingOnlyWhatDiffers) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    const auto red = Color::FromRGB(0xC00000);
    // clang-format off
    field.SetStyledText({{{fw::Alignment::Default,
        {{"serif ", Style("DejaVu Serif", 12)}, {"sans ", Style("DejaVu Sans", 24)},
         {"bold ", Style("DejaVu Sans", 24, "b")}, {"red ", Style("DejaVu Serif", 24, "", red)},
         {"end", Style("DejaVu Sans", 24)}}}}});
    // clang-format on
    auto &size = *window->sizemenu(), &font = *window->fontmenu();
    const auto shown = [&] { return std::tuple(size.Caption(), font.Caption(), window->BoldButton()->Value()); };
    const auto shownAt = [&](long at) { return field.SelStart(at), shown(); };

    EXPECT_EQ(shownAt(3), std::tuple("12", "DejaVu Serif", false));
    // Another font in the same colour: the font follows all the same.
    EXPECT_EQ(shownAt(8), std::tuple("24", "DejaVu Sans", false));
    EXPECT_EQ(size.MenuValue(), 26);
    // Bold alone differs: the size and font rows marked by hand stay marked.
    size.MenuValue(1);
    font.MenuValue(1);
    EXPECT_EQ(shownAt(13), std::tuple("24", "DejaVu Sans", true));
    EXPECT_EQ(std::pair(size.MenuValue(), font.MenuValue()), std::pair(1, 1));
    EXPECT_EQ(shownAt(18), std::tuple("24", "DejaVu Serif", false));
    EXPECT_EQ(window->Colorbutton()->Graphics().ForeColor(), red);
    // A selection of two fonts has no font name, which never blanks the caption.
    field.SelLength(4);
    EXPECT_EQ(field.SelTextFont(), "");
    EXPECT_EQ(shown(), std::tuple("24", "DejaVu Serif", false));
    // A size that no row holds is shown, and no row is marked.
    Select(field, 0, 5);
    field.SelTextSize(101);
    field.SelStart(2);
    EXPECT_EQ(std::pair(size.Caption(), size.MenuValue()), std::pair(std::string("101"), -1));
}

// Run with the machine's fonts hidden (see CMakeLists.txt).
TEST_F(PlumoraToolbarTest, DISABLED_WithoutFontsTheFontMenuHasNoRows) {
    ASSERT_EQ(fw::FontCount(), 0);
    auto* window = NewWindow();
    auto& font = *window->fontmenu();
    EXPECT_EQ(font.ListCount(), 0);
    font.Caption("shown");
    drive::Click(font);
    EXPECT_EQ(font.Caption(), "shown") << "a menu without rows acted";
    font.MenuValue(3);
    auto& field = *window->EditField1();
    field.Text("xy");
    field.SelectAll();
    field.SelTextFont("Nowhere");
    field.SelStart(1);
    EXPECT_EQ(std::pair(font.Caption(), font.MenuValue()), std::pair(std::string("Nowhere"), 0));
}

}  // namespace
