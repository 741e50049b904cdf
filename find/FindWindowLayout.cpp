#include "FindWindow.h"
#include "FindWindowLayout.h"

#include "resources/Pictures.h"

#include <vector>

namespace {

using namespace startvalue;

const std::vector<fw::RecordEntry>& WindowStartValues() {
    // clang-format off
    static const std::vector<fw::RecordEntry> values{
        I("Placement", 0),     I("Width", 357),           I("Height", 164),
        I("MinWidth", 64),     I("MinHeight", 64),        I("MaxWidth", 32000),
        I("MaxHeight", 32000), I("Frame", 2),             B("Composite", false),
        B("HasBackColor", false), C("BackColor", 0x565656), S("Title", "Plumora: Find and Replace."),
        B("Visible", true),    B("FullScreen", false),    B("MenuBarVisible", false),
        B("CloseButton", false), B("Resizeable", false),  B("LiveResize", true),
        B("MaximizeButton", false), B("MinimizeButton", false), I("MacProcID", 0),
    };
    // clang-format on
    return values;
}

// Values of a control on tab page `page` of TabPanel1.
std::vector<fw::RecordEntry> OnPage(int page, std::initializer_list<fw::RecordEntry> own) {
    std::vector<fw::RecordEntry> values{I("TabPanelIndex", page), S("InitialParent", "TabPanel1")};
    values.insert(values.end(), own);
    return values;
}

// The two pages lay their label, search field and buttons at the same places.
const std::vector<fw::ControlDesign>& Table() {
    // clang-format off
    static const std::vector<fw::ControlDesign> controls{
        {{"TabPanel1", "TabPanel", 11, 24, 335, 126, "", 0,
          {S("TabDefinition", "Find\rReplace"), I("TextSize", 14), B("Bold", true)}}},
        {{"StaticText1", "StaticText", 19, 57, 100, 20, "", 0, OnPage(1, {S("Text", "Find What:")})}},
        {{"EditField1", "EditField", 109, 57, 216, 22, "", 1, OnPage(1, {})}},
        {{"FindButton", "PushButton", 231, 112, 95, 28, "", 2,
          OnPage(1, {S("Caption", "Find"), B("Default", true), B("Enabled", false)})}},
        {{"CancelButton", "PushButton", 116, 112, 95, 28, "", 3,
          OnPage(1, {S("Caption", "Cancel"), B("Cancel", true)})}},
        {{"StaticText2", "StaticText", 19, 57, 100, 20, "", 0, OnPage(2, {S("Text", "Find What:")})}},
        {{"SearchText", "EditField", 109, 57, 216, 22, "", 1, OnPage(2, {})}},
        {{"StaticText3", "StaticText", 19, 83, 100, 20, "", 2, OnPage(2, {S("Text", "Replace With:")})}},
        {{"ReplaceText", "EditField", 109, 83, 216, 22, "", 3, OnPage(2, {})}},
        {{"ReplaceButton", "PushButton", 231, 112, 95, 28, "", 4,
          OnPage(2, {S("Caption", "Replace"), B("Default", true), B("Enabled", false)})}},
        {{"CancelReplace", "PushButton", 116, 112, 95, 28, "", 5,
          OnPage(2, {S("Caption", "Cancel"), B("Cancel", true)})}},
        // the close picture
        {{"Canvas1", "Canvas", 4, 2, 21, 21, "L", 1, {}}, buttonexit2},
    };
    // clang-format on
    return controls;
}

// clang-format off
const fw::EventBinding<class FindWindow> kEventBindings[] = {
    {"TabPanel1", "Change", &FindWindow::TabPanel1_Change},
    {"EditField1", "TextChange", &FindWindow::EditField1_TextChange},
    {"FindButton", "Action", &FindWindow::FindButton_Action},
    {"CancelButton", "Action", &FindWindow::CancelButton_Action},
    {"SearchText", "TextChange", &FindWindow::SearchText_TextChange},
    {"ReplaceButton", "Action", &FindWindow::ReplaceButton_Action},
    {"CancelReplace", "Action", &FindWindow::CancelReplace_Action},
    {"Canvas1", "MouseDown", &FindWindow::Canvas1_MouseDown},
};
// clang-format on

}  // namespace

const std::string& FindWindowRecord() {
    static const std::string record = fw::EncodeRecord(WindowStartValues());
    return record;
}

std::span<const fw::ControlDesign> FindWindowControls() { return Table(); }
std::span<const fw::EventBinding<class FindWindow>> FindWindowEventBindings() { return kEventBindings; }

void FindWindow::Layout() { fw::ApplyWindowStartValues(*this, bannerplumora4, FindWindowRecord()); }

void FindWindow::CreateControls0() { fw::BuildControls(*this, Table(), kEventBindings); }
