#include "Plumora.h"

#include "framework/text/Strings.h"
#include "framework/ui/Dialogs.h"
#include "framework/ui/Runtime.h"
#include "framework/ui/TabPanel.h"

#include <string_view>

namespace {

// The find and replace window is built on top of the document window, so
// this side knows it only by its registered class name and its controls by
// their names.
constexpr std::string_view kFindWindowClass = "FindWindow.FindWindow";
constexpr int kReplaceTab = 1;

fw::TabPanel* FindTabs(fw::Window& finder) { return finder.Control<fw::TabPanel>("TabPanel1"); }

}  // namespace

bool Plumora::EditFind_Action() {
    // An open find window keeps the tab it shows; a new one shows "Find".
    if (auto* finder = fw::SharedWindow(kFindWindowClass)) finder->Show();
    return true;
}

bool Plumora::editreplace_Action() {
    if (auto* finder = fw::SharedWindow(kFindWindowClass)) {
        if (auto* tabs = FindTabs(*finder)) tabs->Value(kReplaceTab);
        finder->Show();
    }
    return true;
}

void Plumora::Find(const std::string& searchText, const std::string& replacement) {
    auto* field = EditField1();
    if (!field) return;
    const long position = fw::InStr(0, field->Text(), searchText);
    if (position == 0) {
        fw::Beep();
        fw::MsgBox("Plumora could not find: " + fw::Chr(34) + searchText + fw::Chr(34) + ".");
        return;
    }
    field->SelStart(position - 1);
    field->SelLength(fw::Len(searchText));
    // Only asked for, never made: the routine runs while the find window is open.
    auto* finder = fw::GetImplicitWindow(kFindWindowClass);
    auto* tabs = finder ? FindTabs(*finder) : nullptr;
    if (tabs && tabs->Value() == kReplaceTab) field->SelText(replacement);
}
