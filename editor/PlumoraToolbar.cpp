#include "Plumora.h"
#include "ToolbarTables.h"

#include "framework/model/RealToInteger.h"
#include "framework/text/Strings.h"
#include "framework/ui/Dialogs.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/Graphics.h"
#include "resources/Pictures.h"

namespace {

constexpr fw::Color kPickerStart = fw::Color::FromRGB(0xFFFFFF);
constexpr const char* kPickerPrompt = "Select a Text Color";

// The swatch's inside, within its outline.
void FillSwatch(fw::Graphics& g) { g.FillRect(1, 1, g.Width() - 2, g.Height() - 2); }

}  // namespace

// Each step writes to the toolbar only what differs from the selection. The
// font follows the selection whatever its colour did: text of another font
// in the same colour must not leave the old font's name on the button.
void Plumora::EditField1_SelChange() {
    auto* me = EditField1();
    const std::int32_t size = me->SelTextSize();
    if (fw::Str(size) != sizemenu()->Caption()) {
        sizemenu()->Caption(fw::Str(size));
        sizemenu()->MenuValue(SetFontSizeMenu(size));
    }
    if (me->SelBold() != BoldButton()->Value()) BoldButton()->Value(me->SelBold());
    if (me->SelItalic() != italicbutton()->Value()) italicbutton()->Value(me->SelItalic());
    if (me->SelUnderline() != underlinebutton()->Value()) underlinebutton()->Value(me->SelUnderline());
    if (me->SelTextColor() != Colorbutton()->Graphics().ForeColor()) {
        auto& swatch = Colorbutton()->Graphics();
        swatch.ForeColor(me->SelTextColor());
        FillSwatch(swatch);
    }
    const std::string font = me->SelTextFont();
    if (!font.empty() && font != fontmenu()->Caption()) {
        fontmenu()->Caption(font);
        fontmenu()->MenuValue(SetFontMenu(font));
    }
}

void Plumora::sizemenu_Action() {
    sizemenu()->Caption(sizemenu()->List(sizemenu()->MenuValue()));
    EditField1()->SelTextSize(fw::RealToInt32(fw::Val(sizemenu()->Caption())));
}

void Plumora::sizemenu_Open() {
    for (const auto row : SizeMenuRows()) {
        if (row == kSeparatorRow) sizemenu()->AddSeparator();
        else sizemenu()->AddRow(std::string(row));
    }
    sizemenu()->Caption(fw::Str(EditField1()->SelTextSize()));
    EditField5()->Visible(false);
}

void Plumora::fontmenu_Open() {
    const int count = fw::FontCount();
    for (int i = 0; i < count; ++i) fontmenu()->AddRow(fw::Font(i));
    fontmenu()->Caption(EditField1()->SelTextFont());
}

void Plumora::fontmenu_Action() {
    fontmenu()->Caption(fontmenu()->List(fontmenu()->MenuValue()));
    EditField1()->SelTextFont(fontmenu()->Caption());
}

std::int32_t Plumora::SetFontSizeMenu(std::int32_t size) {
    const std::string wanted = fw::Str(size);
    for (int i = 0; i < sizemenu()->ListCount(); ++i)
        if (sizemenu()->List(i) == wanted) return i;
    return -1;
}

// The rows were made when the window was built; fonts installed since then
// count here but have no row.
std::int32_t Plumora::SetFontMenu(const std::string& font) {
    const int count = fw::FontCount();
    for (int i = 0; i < count && i < fontmenu()->ListCount(); ++i)
        if (fontmenu()->List(i) == font) return i;
    return 0;
}

void Plumora::Colorbutton_Paint(fw::Graphics& g) {
    g.ForeColor(fw::Color::FromRGB(0x000000));
    g.DrawRect(0, 0, g.Width() - 1, g.Height() - 1);
    g.ForeColor(EditField1()->SelTextColor());
    FillSwatch(g);
}

bool Plumora::Colorbutton_MouseDown(int, int) {
    fw::Color color = kPickerStart;
    if (!fw::SelectColor(color, kPickerPrompt)) return false;
    auto& swatch = Colorbutton()->Graphics();
    swatch.ForeColor(color);
    FillSwatch(swatch);
    EditField1()->SelTextColor(color);
    return false;
}

// The swatch is left as it is: it shows the new colour when it is next drawn.
bool Plumora::Formattest_Action() {
    fw::Color color = kPickerStart;
    if (fw::SelectColor(color, kPickerPrompt)) EditField1()->SelTextColor(color);
    return true;
}

// The picture tells only whether the button was pressed an odd or an even
// number of times; its pressed state follows the selection.
void Plumora::PressStyleButton(void (fw::EditField::*toggle)(), fw::BevelButton& button) {
    (EditField1()->*toggle)();
    button.Icon(button.Icon() == Picture2() ? bannerplumora51() : Picture2());
}

void Plumora::BoldButton_Action() { PressStyleButton(&fw::EditField::ToggleSelectionBold, *BoldButton()); }
void Plumora::italicbutton_Action() { PressStyleButton(&fw::EditField::ToggleSelectionItalic, *italicbutton()); }
void Plumora::underlinebutton_Action() {
    PressStyleButton(&fw::EditField::ToggleSelectionUnderline, *underlinebutton());
}

bool Plumora::cmnu_MouseDown(int, int) { return false; }

void Plumora::cmnu_Open() {
    for (const auto& row : BackgroundColors()) cmnu()->AddRow(std::string(row.name));
    cmnu()->MenuValue(0);
}

// The chosen colour takes effect when the pointer leaves the button, and
// every time it does.
void Plumora::cmnu_MouseExit() {
    const auto colors = BackgroundColors();
    const int row = cmnu()->MenuValue();
    if (row >= 0 && row < static_cast<int>(colors.size())) EditField1()->BackColor(colors[row].color);
}
