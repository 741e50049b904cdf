#include "Plumora.h"

#include "framework/text/Strings.h"
#include "framework/ui/Date.h"
#include "framework/ui/Runtime.h"

#include <utility>

// None of these commands asks about the lock: it holds back only the user's
// own typing, pasting and deleting.

bool Plumora::newwindow_Action() {
    fw::MakeWindow<class Plumora>()->Show();
    return true;
}

void Plumora::OpenFromTemplate(const fw::EditField* templateField) {
    auto* window = fw::MakeWindow<class Plumora>();
    window->Show();
    auto* document = window->EditField1();
    if (document && templateField) document->Text(templateField->Text());
}

bool Plumora::EditMakeWebsite_Action() {
    OpenFromTemplate(EditField2());
    return true;
}

bool Plumora::EditWriteletter_Action() {
    OpenFromTemplate(EditField3());
    return true;
}

void Plumora::ChangeSelection(std::string (*change)(std::string_view)) {
    if (auto* document = EditField1()) document->SelText(change(document->SelText()));
}

bool Plumora::ChangeCaseUPPERCASE_Action() {
    ChangeSelection(fw::Uppercase);
    return true;
}

bool Plumora::ChangeCaselowercase_Action() {
    ChangeSelection(fw::Lowercase);
    return true;
}

bool Plumora::ChangeCaseTitleCase_Action() {
    ChangeSelection(fw::Titlecase);
    return true;
}

bool Plumora::ChangeCasesreveRReverse_Action() {
    if (auto* document = EditField1()) document->SelText(Reverse(document->SelText()));
    return true;
}

std::string Plumora::Reverse(const std::string& s) const {
    if (fw::Len(s) < 2) return s;
    auto characters = fw::Split(s, "");
    for (std::size_t i = 0, j = characters.size() - 1; i < j; ++i, --j) std::swap(characters[i], characters[j]);
    return fw::Join(characters, "");
}

bool Plumora::AlignTextLeft_Action() {
    if (auto* document = EditField1()) document->SelAlignment(1);
    return true;
}

bool Plumora::AlignTextCenter_Action() {
    if (auto* document = EditField1()) document->SelAlignment(2);
    return true;
}

bool Plumora::AlignTextRight_Action() {
    if (auto* document = EditField1()) document->SelAlignment(3);
    return true;
}

void Plumora::AppendStamp(const std::string& stamp) {
    if (auto* document = EditField1()) document->Text(document->Text() + " " + stamp);
}

bool Plumora::InsertDate_Action() {
    AppendStamp(fw::Date().LongDate());
    return true;
}

bool Plumora::InsertTime_Action() {
    AppendStamp(fw::Date().LongTime());
    return true;
}

// Both texts come from one moment.
bool Plumora::InsertDateandTime_Action() {
    const fw::Date now;
    AppendStamp(now.LongTime() + " " + now.LongDate());
    return true;
}
