#include "Plumora.h"
#include "PlumoraLayout.h"
#include "Templates.h"

#include "resources/Pictures.h"

#include <vector>

namespace {

using namespace startvalue;

// Each control's role stands above its row. Left of the content area lie the
// two templates and the undo and redo snapshots: fields that hold data and
// are never seen.
// clang-format off
const std::vector<fw::ControlDesign>& Table() {
    static const std::vector<fw::ControlDesign> controls{
        // the document
        {{"EditField1", "EditField", -1, 26, 674, 338, "LTRB", 4,
          {B("Border", false), B("Multiline", true), B("Styled", true), C("TextColor", 0x242424),
           C("BackColor", 0xB6B3FF), B("AcceptTabs", true)}},
         nullptr},
        // the web-page template, copied by Make Website
        {{"EditField2", "EditField", -91, 145, 69, 174, "", 5, {B("Visible", false), S("Text", kWebPageTemplate)}},
         nullptr},
        // the text-size menu
        {{"sizemenu", "BevelButton", 532, 364, 54, 21, "RB", 14, {I("HasMenu", 1), B("Bold", true)}}, Picture2},
        // the label before the font menu
        {{"StaticText4", "StaticText", 258, 364, 77, 20, "RB", 15,
          {S("Text", "Text Style:"), C("TextColor", 0xCECECE)}},
         nullptr},
        // the text-colour swatch
        {{"Colorbutton", "Canvas", 191, 366, 58, 17, "RB", 16, {}}, nullptr},
        // the label before the swatch
        {{"StaticText3", "StaticText", 113, 363, 83, 20, "RB", 17,
          {S("Text", "Text Color:"), C("TextColor", 0xCDCDCD)}},
         nullptr},
        // the underline toggle
        {{"underlinebutton", "BevelButton", 620, 364, 19, 21, "RB", 18,
          {S("Caption", "U"), I("Bevel", 2), I("ButtonType", 1), B("Underline", true)}},
         Picture2},
        // the italic toggle
        {{"italicbutton", "BevelButton", 602, 364, 19, 21, "RB", 19,
          {S("Caption", "I"), I("Bevel", 2), I("ButtonType", 1), B("Italic", true)}},
         Picture2},
        // the bold toggle
        {{"BoldButton", "BevelButton", 585, 364, 18, 21, "RB", 20,
          {S("Caption", "B"), I("Bevel", 2), I("ButtonType", 1), B("Bold", true)}},
         Picture2},
        // the font menu
        {{"fontmenu", "BevelButton", 332, 364, 201, 21, "RB", 21,
          {I("IconAlign", 5), I("Bevel", 4), I("HasMenu", 1), B("Bold", true)}},
         Picture2},
        // the document's background-colour menu
        {{"cmnu", "BevelButton", -1, 364, 80, 22, "LB", 26,
          {S("Caption", "Colors"), I("HasMenu", 2), I("MenuValue", 5), B("AcceptFocus", true)}},
         colorbutton2},
        // the undo snapshot
        {{"EditField4", "EditField", -71, 14, 49, 78, "", 31, {}}, nullptr},
        // the letter template, copied by Write Letter
        {{"EditField3", "EditField", -91, 104, 69, 174, "", 32, {B("Visible", false), S("Text", kLetterTemplate)}},
         nullptr},
        // the redo snapshot
        {{"EditField5", "EditField", -61, 77, 30, 22, "", 33, {}}, nullptr},
        // the word count
        {{"StaticText5", "StaticText", 155, 2, 508, 20, "TR", 34,
          {S("Text", "There are: 0 Words."), I("TextAlign", 2), C("TextColor", 0xCFCFCF)}},
         nullptr},
        // the full-screen picture (a canvas, whatever its name)
        {{"BevelButton2", "Canvas", 103, 3, 21, 21, "", 35, {}}, buttonfullscreen},
        // centre the window on the screen
        {{"Canvas4", "Canvas", 80, 3, 21, 21, "L", 36, {}}, buttoncen1},
        // maximize
        {{"Canvas2", "Canvas", 51, 3, 21, 21, "L", 37, {}}, buttonmax1},
        // minimize
        {{"Canvas3", "Canvas", 28, 3, 21, 21, "L", 38, {}}, buttonmin2},
        // close
        {{"Canvas8", "Canvas", 5, 3, 21, 21, "L", 39, {}}, buttonexit2},
        // the save-changes bar, container of the four rows after it
        {{"Rectangle1", "Rectangle", -1, -1, 673, 28, "LTR", std::nullopt,
          {B("Visible", false), C("FillColor", 0xFFF3C1), I("BorderWidth", 1), C("TopLeftColor", 0xFFE2A2),
           C("BottomRightColor", 0xFFF4B4)}},
         nullptr},
        // the bar's yes, no and cancel
        {{"Canvas5", "Canvas", 531, 3, 39, 21, "R", 4, {S("InitialParent", "Rectangle1")}}, buttonyes6},
        {{"Canvas6", "Canvas", 577, 3, 39, 21, "R", 5, {S("InitialParent", "Rectangle1")}}, buttonno4},
        {{"Canvas7", "Canvas", 623, 3, 39, 21, "R", 6, {S("InitialParent", "Rectangle1")}}, buttoncancel3},
        // the bar's question
        {{"StaticText1", "StaticText", 8, 3, 265, 20, "", 7,
          {S("Text", "Do you want to save the changes?"), C("TextColor", 0x000000), S("InitialParent", "Rectangle1")}},
         nullptr},
    };
    return controls;
}
// clang-format on

// clang-format off
const fw::EventBinding<class Plumora> kEventBindings[] = {
    {"EditField1", "EnableMenuItems", &Plumora::EditField1_EnableMenuItems},
    {"EditField1", "TextChange", &Plumora::EditField1_TextChange},
    {"EditField1", "StyleChange", &Plumora::EditField1_StyleChange},
    {"EditField1", "SelChange", &Plumora::EditField1_SelChange},
    {"EditField1", "ConstructContextualMenu", &Plumora::EditField1_ConstructContextualMenu},
    {"EditField1", "MouseDown", &Plumora::EditField1_MouseDown},
    {"sizemenu", "Action", &Plumora::sizemenu_Action},
    {"sizemenu", "Open", &Plumora::sizemenu_Open},
    {"Colorbutton", "Paint", &Plumora::Colorbutton_Paint},
    {"Colorbutton", "MouseDown", &Plumora::Colorbutton_MouseDown},
    {"underlinebutton", "Action", &Plumora::underlinebutton_Action},
    {"italicbutton", "Action", &Plumora::italicbutton_Action},
    {"BoldButton", "Action", &Plumora::BoldButton_Action},
    {"fontmenu", "Open", &Plumora::fontmenu_Open},
    {"fontmenu", "Action", &Plumora::fontmenu_Action},
    {"cmnu", "MouseDown", &Plumora::cmnu_MouseDown},
    {"cmnu", "Open", &Plumora::cmnu_Open},
    {"cmnu", "MouseExit", &Plumora::cmnu_MouseExit},
    {"BevelButton2", "MouseDown", &Plumora::BevelButton2_MouseDown},
    {"Canvas4", "MouseDown", &Plumora::Canvas4_MouseDown},
    {"Canvas2", "MouseDown", &Plumora::Canvas2_MouseDown},
    {"Canvas3", "MouseDown", &Plumora::Canvas3_MouseDown},
    {"Canvas8", "MouseDown", &Plumora::Canvas8_MouseDown},
    {"Canvas5", "MouseDown", &Plumora::Canvas5_MouseDown},
    {"Canvas6", "MouseDown", &Plumora::Canvas6_MouseDown},
    {"Canvas7", "MouseDown", &Plumora::Canvas7_MouseDown},
};
// clang-format on

}  // namespace

std::span<const fw::ControlDesign> PlumoraControls() { return Table(); }
std::span<const fw::EventBinding<class Plumora>> PlumoraEventBindings() { return kEventBindings; }

void Plumora::CreateControls0() { fw::BuildControls(*this, Table(), kEventBindings); }
