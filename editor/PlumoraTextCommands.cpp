#include "Plumora.h"

#include "framework/text/Strings.h"
#include "framework/ui/Date.h"
#include "framework/ui/Runtime.h"

#include <utility>
#include <vector>

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
    if (auto* document = EditField1()) document->SelStyledText(ReverseRuns(document->SelStyledText()));
    return true;
}

std::string Plumora::Reverse(const std::string& s) const {
    if (fw::Len(s) < 2) return s;
    auto characters = fw::Split(s, "");
    for (std::size_t i = 0, j = characters.size() - 1; i < j; ++i, --j) std::swap(characters[i], characters[j]);
    return fw::Join(characters, "");
}

namespace {

// The runs with every character that begins in one run wholly in it: an
// accent in a format of its own would otherwise be torn from its letter when
// the runs change places. Such a character takes its first code point's format.
std::vector<fw::StyledRun> WholeCharacters(const std::vector<fw::StyledRun>& runs) {
    std::string text;
    for (const auto& run : runs) text += run.text;
    if (text.empty()) return {};
    std::vector<fw::StyledRun> whole;
    std::size_t at = 0, next = 0, runEnd = 0;  // runs[next - 1] ends at runEnd
    for (const auto& character : fw::Split(text, "")) {
        while (runEnd <= at) runEnd += runs[next++].text.size();
        const auto& style = runs[next - 1].style;
        if (whole.empty() || whole.back().style != style) whole.push_back({"", style});
        whole.back().text += character;
        at += character.size();
    }
    return whole;
}

}  // namespace

fw::StyledText Plumora::ReverseRuns(const fw::StyledText& text) const {
    fw::StyledText reversed;
    for (auto paragraph = text.paragraphs.rbegin(); paragraph != text.paragraphs.rend(); ++paragraph) {
        auto& runs = reversed.paragraphs.emplace_back().runs;
        const auto whole = WholeCharacters(paragraph->runs);
        for (auto run = whole.rbegin(); run != whole.rend(); ++run) runs.push_back({Reverse(run->text), run->style});
    }
    return reversed;
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
