#include "FindWindow.h"

#include "editor/Plumora.h"
#include "framework/text/Strings.h"
#include "framework/ui/Runtime.h"

#include <memory>

void SetUpFindWindowClass() {
    fw::RuntimeSetUpClass(FindWindow::kClassName, [] { return std::make_unique<class FindWindow>(); });
}

class FindWindow* FindWindow() {
    SetUpFindWindowClass();
    return static_cast<class FindWindow*>(fw::SharedWindow(FindWindow::kClassName));
}

void FindWindow::CreateControls() { CreateControls0(); }

void FindWindow::TabPanel1_Change() {
    auto* find = EditField1();
    auto* search = SearchText();
    if (!find || !search) return;
    const int shown = TabPanel1()->Value();
    if (shown == 0 && !search->Text().empty()) find->Text(search->Text());
    else if (shown == 1 && !find->Text().empty()) search->Text(find->Text());
}

void FindWindow::EditField1_TextChange() { FindButton()->Enabled(fw::Len(EditField1()->Text()) > 0); }
void FindWindow::SearchText_TextChange() { ReplaceButton()->Enabled(fw::Len(SearchText()->Text()) > 0); }

void FindWindow::FindButton_Action() { SearchBehind(EditField1()->Text(), ""); }
void FindWindow::ReplaceButton_Action() {
    const std::string searchText = SearchText()->Text();
    SearchBehind(searchText, ReplaceText()->Text());
}

void FindWindow::SearchBehind(const std::string& searchText, const std::string& replacement) {
    // This window is in front, number 0; the one directly behind it is 1.
    if (auto* document = dynamic_cast<class Plumora*>(fw::WindowAt(1))) document->Find(searchText, replacement);
    Close();
}

void FindWindow::CancelButton_Action() { Close(); }
void FindWindow::CancelReplace_Action() { Close(); }

bool FindWindow::Canvas1_MouseDown(int, int) {
    Close();
    return false;
}
